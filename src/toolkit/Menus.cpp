#include "toolkit/Menus.h"
#include <algorithm>
#include <map>
#include "toolkit/Form.h"
#include "toolkit/Graphics.h"
#include "toolkit/ImageList.h"

namespace {
// WM_COMMAND carries 16 bits; ids below 0x100 stay free for IDOK, IDCANCEL and the like.
constexpr UINT kFirstCommand = 0x100, kLastCommand = 0xEFFF;

std::map<UINT, TMenuItem*>& Commands() {
  static std::map<UINT, TMenuItem*> commands;
  return commands;
}

std::map<HMENU, TMenuItem*>& Submenus() {
  static std::map<HMENU, TMenuItem*> submenus;
  return submenus;
}

// Items come and go with every reopen-list refresh, so ids are reused.
UINT AllocateCommand(TMenuItem* Item) {
  static UINT next = kFirstCommand;
  auto& commands = Commands();
  for (UINT tries = 0; tries <= kLastCommand - kFirstCommand; ++tries) {
    UINT id = next;
    next = next == kLastCommand ? kFirstCommand : next + 1;
    if (commands.emplace(id, Item).second) return id;
  }
  return 0;  // every id taken: the item works by code and shortcut, not by click
}

void RemoveAllNative(HMENU Menu) {
  // RemoveMenu, not DeleteMenu: submenus belong to their own items.
  while (GetMenuItemCount(Menu) > 0) RemoveMenu(Menu, 0, MF_BYPOSITION);
}

// The caption's hot key (after "&", not the literal "&&"); 0 for none.
char HotKeyOf(const std::string& Caption) {
  for (size_t i = 0; i + 1 < Caption.size(); ++i) {
    if (Caption[i] != '&') continue;
    if (Caption[i + 1] != '&') return Caption[i + 1];
    ++i;
  }
  return 0;
}

// Hot keys are letters and digits, the same key in either case.
char HotKeyChar(char C) {
  if (C >= 'a' && C <= 'z') return static_cast<char>(C - 'a' + 'A');
  return (C >= 'A' && C <= 'Z') || (C >= '0' && C <= '9') ? C : 0;
}

// Gives each caption without a hot key the first of its letters and digits that no other
// caption uses as its key; a caption with none free stays without.
std::vector<std::string> WithAutomaticHotKeys(std::vector<std::string> Captions) {
  std::string used;
  for (const std::string& caption : Captions)
    if (const char key = HotKeyChar(HotKeyOf(caption))) used += key;
  for (std::string& caption : Captions) {
    if (caption == "-" || HotKeyOf(caption)) continue;
    for (size_t i = 0; i < caption.size(); ++i) {
      const char key = HotKeyChar(caption[i]);
      if (!key || used.find(key) != std::string::npos) continue;
      caption.insert(i, "&");
      used += key;
      break;
    }
  }
  return Captions;
}

UINT BreakType(TMenuBreak Break) {
  switch (Break) {
    case TMenuBreak::mbBreak: return MFT_MENUBREAK;
    case TMenuBreak::mbBarBreak: return MFT_MENUBARBREAK;
    default: return 0;
  }
}

// The pixel value of a 32-bit bitmap for a system colour, opaque.
DWORD OpaquePixel(COLORREF Colour) { return 0xFF000000u | PixelOf(Colour); }

// A 32-bit bitmap of one image, its transparent pixels in the menu's colour: menus that copy
// the bitmap without blending (classic menus, Wine) would show them black otherwise. A small
// margin on the right keeps the caption off the glyph. Disabled glyphs are a light grey.
HBITMAP MakeGlyph(const TImageList& List, int Index, bool Enabled) {
  constexpr int kMargin = 2;
  const int w = List.Width() + kMargin, h = List.Height();
  const DWORD background = OpaquePixel(GetSysColor(COLOR_MENU));
  if (const uint32_t* image = List.KeptPixels(Index)) {
    DWORD* pixels = nullptr;
    HBITMAP glyph = CreateTopDownBitmap(w, h, 32, reinterpret_cast<void**>(&pixels));
    if (!glyph) return nullptr;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const uint32_t p = x < List.Width() ? image[y * List.Width() + x] : 0;
        const DWORD rgb = p & 0x00FFFFFFu;
        pixels[y * w + x] = !p ? background : 0xFF000000u | (Enabled ? rgb : DisabledGrey(rgb));
      }
    return glyph;
  }
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return nullptr;
  // Drawn on black and on white: a pixel that differs is one the image leaves transparent.
  DWORD* onBlack = nullptr;
  DWORD* onWhite = nullptr;
  HBITMAP black = CreateTopDownBitmap(w, h, 32, reinterpret_cast<void**>(&onBlack));
  HBITMAP white = CreateTopDownBitmap(w, h, 32, reinterpret_cast<void**>(&onWhite));
  if (black && white) {
    const size_t pixels = static_cast<size_t>(w) * h;
    std::fill(onBlack, onBlack + pixels, 0x00000000u);
    std::fill(onWhite, onWhite + pixels, 0x00FFFFFFu);
    HGDIOBJ old = SelectObject(dc, black);
    List.Draw(dc, 0, 0, Index);
    SelectObject(dc, white);
    List.Draw(dc, 0, 0, Index);
    SelectObject(dc, old);
    GdiFlush();
    for (size_t i = 0; i < pixels; ++i) {
      DWORD rgb = onBlack[i] & 0x00FFFFFFu;
      if (rgb != (onWhite[i] & 0x00FFFFFFu)) {
        onBlack[i] = background;
        continue;
      }
      if (!Enabled) rgb = DisabledGrey(rgb);
      onBlack[i] = 0xFF000000u | rgb;
    }
  }
  if (white) DeleteObject(white);
  DeleteDC(dc);
  if (black && !white) {
    DeleteObject(black);
    return nullptr;
  }
  return black;
}

SIZE BitmapSize(HBITMAP Bitmap) {
  BITMAP bm = {};
  if (!Bitmap || Bitmap == HBMMENU_CALLBACK || !GetObjectA(Bitmap, sizeof bm, &bm)) return {};
  return {bm.bmWidth, bm.bmHeight};
}

// The window that shows popup menus that have no form to report to.
class TMenuHost : public TWinControl {
public:
  TMenuHost() : TWinControl(nullptr) {
    RegisterClassOnce("TarvolineMenuHost", 0, nullptr, nullptr);
    CreateHandle("TarvolineMenuHost", WS_POPUP, WS_EX_TOOLWINDOW, nullptr, 0, 0, 0, 0);
  }

protected:
  LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override {
    if (Msg == WM_INITMENUPOPUP) {
      if (TMenuItem* item = TMenuItem::FindBySubmenu(reinterpret_cast<HMENU>(wParam))) item->Click();
      return 0;
    }
    if (Msg == WM_MEASUREITEM && TMenuItem::MeasureGlyphSpace(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)))
      return TRUE;
    return TWinControl::WndProc(Msg, wParam, lParam);
  }
};

HWND MenuHost() {
  static TMenuHost host;
  return host.Handle();
}
}  // namespace

TMenuItem::TMenuItem(TComponent* Owner) : TComponent(Owner) { command_ = AllocateCommand(this); }

TMenuItem::TMenuItem(TComponent* Owner, HMENU RootMenu) : TComponent(Owner), submenu_(RootMenu), isBar_(true) {
  Submenus()[submenu_] = this;
}

TMenuItem::~TMenuItem() {
  if (parent_) parent_->Detach(this);
  for (TMenuItem* child : items_) child->parent_ = nullptr;
  items_.clear();
  ownedItems_.clear();
  if (command_) Commands().erase(command_);
  if (submenu_) {
    Submenus().erase(submenu_);
    RemoveAllNative(submenu_);
    DestroyMenu(submenu_);
  }
}

TMenuItem* TMenuItem::FindByCommand(UINT Command) {
  auto it = Commands().find(Command);
  return it == Commands().end() ? nullptr : it->second;
}

TMenuItem* TMenuItem::FindBySubmenu(HMENU Menu) {
  auto it = Submenus().find(Menu);
  return it == Submenus().end() ? nullptr : it->second;
}

bool TMenuItem::MeasureGlyphSpace(MEASUREITEMSTRUCT& Measure) {
  if (Measure.CtlType != ODT_MENU) return false;
  const TMenuItem* item = FindByCommand(Measure.itemID);
  if (!item || !item->parent_) return false;
  Measure.itemWidth = item->parent_->glyphSpace_.cx;
  Measure.itemHeight = item->parent_->glyphSpace_.cy;
  return true;
}

void TMenuItem::SetCaption(const std::string& Caption) {
  if (caption_ == Caption) return;
  caption_ = Caption;
  Changed();
}

void TMenuItem::SetChecked(bool Checked) {
  if (Checked && radioItem_ && parent_)
    for (TMenuItem* sibling : parent_->items_)
      if (sibling != this && sibling->radioItem_ && sibling->groupIndex_ == groupIndex_ && sibling->checked_) {
        sibling->checked_ = false;
        sibling->StateChanged();
      }
  if (checked_ == Checked) return;
  checked_ = Checked;
  StateChanged();
}

void TMenuItem::SetRadioItem(bool RadioItem) {
  radioItem_ = RadioItem;
  Changed();
}

void TMenuItem::SetEnabled(bool Enabled) {
  if (enabled_ == Enabled) return;
  enabled_ = Enabled;
  StateChanged();
}

void TMenuItem::SetVisible(bool Visible) {
  if (visible_ == Visible) return;
  visible_ = Visible;
  Changed();
}

void TMenuItem::SetShortCut(TShortCut ShortCut) {
  if (shortCut_ == ShortCut) return;
  shortCut_ = ShortCut;
  Changed();
}

void TMenuItem::SetImageIndex(int ImageIndex) {
  if (imageIndex_ == ImageIndex) return;
  imageIndex_ = ImageIndex;
  Changed();
}

void TMenuItem::SetBitmap(const TBitmap& Source) {
  bitmap_.Assign(Source);
  Changed();
}

void TMenuItem::SetSubMenuImages(TImageList* Images) {
  if (subMenuImages_ == Images) return;
  if (subMenuImages_) RemoveFreeNotification(subMenuImages_);
  subMenuImages_ = Images;
  if (subMenuImages_) FreeNotification(subMenuImages_);
  RebuildTree();
}

void TMenuItem::Notification(TComponent* AComponent) {
  if (AComponent == subMenuImages_) SetSubMenuImages(nullptr);
}

void TMenuItem::SetDefault(bool Default) {
  if (default_ == Default) return;
  default_ = Default;
  StateChanged();
}

void TMenuItem::SetBreak(TMenuBreak Break) {
  if (break_ == Break) return;
  break_ = Break;
  Changed();
}

void TMenuItem::SetAutoHotkeys(TMenuAutoFlag Value) {
  autoHotkeys_ = Value;
  RebuildTree();
}

void TMenuItem::SetAutoLineReduction(TMenuAutoFlag Value) {
  autoLineReduction_ = Value;
  RebuildTree();
}

bool TMenuItem::Automatic(TMenuAutoFlag TMenuItem::*Setting) const {
  for (const TMenuItem* item = this; item; item = item->parent_)
    if (item->*Setting != TMenuAutoFlag::maParent) return item->*Setting == TMenuAutoFlag::maAutomatic;
  return false;
}

std::vector<TMenuItem*> TMenuItem::ShownItems() const {
  std::vector<TMenuItem*> shown;
  const bool reduceLines = Automatic(&TMenuItem::autoLineReduction_);
  for (TMenuItem* item : items_) {
    if (!item->visible_) continue;
    if (reduceLines && item->IsLine() && (shown.empty() || shown.back()->IsLine())) continue;
    shown.push_back(item);
  }
  if (reduceLines && !shown.empty() && shown.back()->IsLine()) shown.pop_back();
  return shown;
}

TImageList* TMenuItem::MenuImages() const {
  for (const TMenuItem* p = parent_; p; p = p->parent_)
    if (p->subMenuImages_) return p->subMenuImages_;
  const TMenuItem* root = this;
  while (root->parent_) root = root->parent_;
  return root->rootImages_ ? *root->rootImages_ : nullptr;
}

// Made once per image and state; the native item only borrows it.
HBITMAP TMenuItem::Glyph() {
  TImageList* list = MenuImages();
  if (!list || !list->Handle() || imageIndex_ < 0 || imageIndex_ >= list->Count()) {
    glyph_.reset();
    glyphList_ = nullptr;
    return nullptr;
  }
  if (!glyph_ || glyphList_ != list->Handle() || glyphIndex_ != imageIndex_ || glyphEnabled_ != enabled_) {
    glyph_.reset(MakeGlyph(*list, imageIndex_, enabled_));
    glyphList_ = list->Handle();
    glyphIndex_ = imageIndex_;
    glyphEnabled_ = enabled_;
  }
  return glyph_.get();
}

void TMenuItem::RebuildTree() {
  RebuildNative();
  for (TMenuItem* item : items_)
    if (!item->items_.empty()) item->RebuildTree();
}

void TMenuItem::Click() {
  if (autoCheck_) SetChecked(!checked_);
  if (OnClick) OnClick(this);
}

void TMenuItem::Add(TMenuItem* Item) { InsertItem(Count(), Item); }
void TMenuItem::Insert(int Index, TMenuItem* Item) { InsertItem(Index, Item); }

TMenuItem* TMenuItem::Add(std::unique_ptr<TMenuItem> Item) { return Insert(Count(), std::move(Item)); }

TMenuItem* TMenuItem::Insert(int Index, std::unique_ptr<TMenuItem> Item) {
  TMenuItem* raw = Item.get();
  if (!raw) return nullptr;
  ownedItems_.push_back(std::move(Item));
  InsertItem(Index, raw);
  return raw;
}

void TMenuItem::InsertItem(int Index, TMenuItem* Item) {
  if (!Item || Item == this) return;
  if (Item->parent_) Item->parent_->Detach(Item);
  Index = std::clamp(Index, 0, Count());
  bool wasEmpty = items_.empty();
  items_.insert(items_.begin() + Index, Item);
  Item->parent_ = this;
  if (!submenu_) {
    submenu_ = CreatePopupMenu();
    Submenus()[submenu_] = this;
  }
  RebuildNative();
  if (wasEmpty) Changed();  // the parent links the submenu now
}

void TMenuItem::Detach(TMenuItem* Item) {
  items_.erase(std::remove(items_.begin(), items_.end(), Item), items_.end());
  Item->parent_ = nullptr;
  RebuildNative();
  if (items_.empty()) Changed();  // no longer a submenu
}

void TMenuItem::Delete(int Index) {
  if (Index < 0 || Index >= Count()) return;
  TMenuItem* item = items_[Index];
  Detach(item);
  auto owned = std::find_if(ownedItems_.begin(), ownedItems_.end(),
                            [&](const auto& p) { return p.get() == item; });
  if (owned != ownedItems_.end()) {
    std::unique_ptr<TMenuItem> doomed = std::move(*owned);
    ownedItems_.erase(owned);
  } else if (item->Owner()) {
    item->Owner()->RemoveComponent(item);
  }
}

void TMenuItem::Clear() {
  while (Count() > 0) Delete(Count() - 1);
}

int TMenuItem::IndexOf(const TMenuItem* Item) const {
  auto it = std::find(items_.begin(), items_.end(), Item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

TMenuItem* TMenuItem::FindShortCut(TShortCut ShortCut) {
  if (ShortCut == scNone) return nullptr;
  for (TMenuItem* item : items_) {
    if (!item->visible_) continue;
    if (item->shortCut_ == ShortCut) return item;
    if (TMenuItem* found = item->FindShortCut(ShortCut)) return found;
  }
  return nullptr;
}

void TMenuItem::Changed() {
  if (parent_) parent_->RebuildNative();
}

// Switching the document commands would otherwise rebuild their whole menu once per item.
void TMenuItem::StateChanged() {
  if (!parent_ || !parent_->submenu_) return;
  auto& native = parent_->native_;
  const auto at = std::find_if(native.begin(), native.end(),
                               [this](const TNativeEntry& Entry) { return Entry.id == command_; });
  if (at == native.end()) return;  // not in the native menu: the next rebuild takes the state
  MENUITEMINFOA mii = {};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_STATE | MIIM_BITMAP;
  mii.fState = at->state = NativeState();
  mii.hbmpItem = at->bitmap = ShownBitmap();
  SetMenuItemInfoA(parent_->submenu_, static_cast<UINT>(at - native.begin()), TRUE, &mii);
  // The bar keeps its size: marking it for the next paint lets a run of changes draw it once,
  // where drawing it now would recalculate the whole window frame for each.
  if (parent_->isBar_ && parent_->barWindow_ && *parent_->barWindow_)
    RedrawWindow(*parent_->barWindow_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

UINT TMenuItem::NativeState() const {
  return (checked_ ? MFS_CHECKED : 0) | (enabled_ ? 0 : MFS_GRAYED) | (default_ ? MFS_DEFAULT : 0);
}

HBITMAP TMenuItem::NativeBitmap() {
  if (IsLine()) return nullptr;
  HBITMAP glyph = Glyph();
  return glyph ? glyph : bitmap_.Handle();
}

// Native menus (Wine's at least) leave room for the glyph column only in the items that have
// a bitmap, yet draw every caption after it, so the captions of the others ran into their
// shortcuts. An empty space as wide as the glyphs, measured through WM_MEASUREITEM and drawn
// as nothing, gives them that room too.
HBITMAP TMenuItem::ShownBitmap() {
  if (HBITMAP own = NativeBitmap()) return own;
  const bool glyphColumn = parent_ && !parent_->isBar_ && parent_->glyphSpace_.cx > 0;
  return glyphColumn && !IsLine() ? HBMMENU_CALLBACK : nullptr;
}

std::string TMenuItem::DisplayText(const std::string& Caption) const {
  if (shortCut_ == scNone) return Caption;
  return Caption + "\t" + ShortCutToText(shortCut_);
}

std::vector<TMenuItem::TNativeEntry> TMenuItem::WantedNative() {
  const std::vector<TMenuItem*> shown = ShownItems();
  std::vector<std::string> captions;
  for (const TMenuItem* item : shown) captions.push_back(item->caption_);
  if (Automatic(&TMenuItem::autoHotkeys_)) captions = WithAutomaticHotKeys(std::move(captions));
  glyphSpace_ = {};
  for (TMenuItem* item : shown) {
    const SIZE size = BitmapSize(item->NativeBitmap());
    glyphSpace_ = {std::max(glyphSpace_.cx, size.cx), std::max(glyphSpace_.cy, size.cy)};
  }
  std::vector<TNativeEntry> wanted;
  for (size_t pos = 0; pos < shown.size(); ++pos) {
    TMenuItem* item = shown[pos];
    TNativeEntry& entry = wanted.emplace_back();
    entry.type = (item->IsLine() ? MFT_SEPARATOR
                                 : MFT_STRING | (item->radioItem_ ? MFT_RADIOCHECK : 0)) |
                 BreakType(item->break_);
    entry.state = item->NativeState();
    entry.id = item->command_;
    entry.submenu = item->items_.empty() ? nullptr : item->submenu_;
    entry.bitmap = item->ShownBitmap();
    entry.text = item->DisplayText(captions[pos]);
  }
  return wanted;
}

void TMenuItem::RebuildNative() {
  if (!submenu_) return;
  std::vector<TNativeEntry> wanted = WantedNative();
  // Only the stretch between the entries that stay at the front and at the back changes.
  const size_t common = std::min(native_.size(), wanted.size());
  size_t front = 0;
  while (front < common && native_[front] == wanted[front]) ++front;
  size_t back = 0;
  while (back < common - front &&
         native_[native_.size() - 1 - back] == wanted[wanted.size() - 1 - back])
    ++back;
  if (front == native_.size() && front == wanted.size()) return;
  // RemoveMenu, not DeleteMenu: submenus belong to their own items.
  for (size_t pos = native_.size() - back; pos-- > front;)
    RemoveMenu(submenu_, static_cast<UINT>(pos), MF_BYPOSITION);
  for (size_t pos = front; pos < wanted.size() - back; ++pos) {
    TNativeEntry& entry = wanted[pos];
    MENUITEMINFOA mii = {};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU | MIIM_BITMAP;
    mii.fType = entry.type;
    mii.fState = entry.state;
    mii.wID = entry.id;
    mii.hSubMenu = entry.submenu;
    mii.dwTypeData = entry.text.data();
    mii.hbmpItem = entry.bitmap;
    InsertMenuItemA(submenu_, static_cast<UINT>(pos), TRUE, &mii);
  }
  native_ = std::move(wanted);
  if (isBar_ && barWindow_ && *barWindow_) DrawMenuBar(*barWindow_);
}

TMainMenu::TMainMenu(TComponent* Owner) : TComponent(Owner), root_(nullptr, CreateMenu()) {
  root_.barWindow_ = &window_;
  root_.rootImages_ = &images_;
}

void TMainMenu::SetImages(TImageList* Images) {
  if (images_ == Images) return;
  if (images_) RemoveFreeNotification(images_);
  images_ = Images;
  if (images_) FreeNotification(images_);
  root_.RebuildTree();
}

void TMainMenu::Notification(TComponent* AComponent) {
  if (AComponent == images_) SetImages(nullptr);
}

TMainMenu::~TMainMenu() {
  if (auto* form = dynamic_cast<TForm*>(TWinControl::FromHandle(window_))) form->SetMenu(nullptr);
}

bool TMainMenu::IsShortCut(TShortCut ShortCut) {
  TMenuItem* item = root_.FindShortCut(ShortCut);
  if (!item) return false;
  std::vector<TMenuItem*> chain;
  for (TMenuItem* p = item->Parent(); p && p != &root_; p = p->Parent()) chain.insert(chain.begin(), p);
  // As if the menus opened: each parent may enable its items first.
  for (TMenuItem* parent : chain) {
    if (!parent->Enabled() || !parent->Visible()) return false;
    parent->Click();
  }
  if (!item->Enabled() || !item->Visible()) return false;
  item->Click();
  return true;
}

TPopupMenu::TPopupMenu(TComponent* Owner) : TComponent(Owner), root_(nullptr) { root_.rootImages_ = &images_; }

void TPopupMenu::SetImages(TImageList* Images) {
  if (images_ == Images) return;
  if (images_) RemoveFreeNotification(images_);
  images_ = Images;
  if (images_) FreeNotification(images_);
  root_.RebuildTree();
}

void TPopupMenu::Notification(TComponent* AComponent) {
  if (AComponent == images_) SetImages(nullptr);
}

TPopupMenu::~TPopupMenu() {
  for (TWinControl* user : users_) user->popupMenu_ = nullptr;
}

void TPopupMenu::PopupFor(TWinControl* Control, int X, int Y) {
  popupComponent_ = Control;
  Popup(X, Y);
}

void TPopupMenu::Popup(int X, int Y) {
  if (OnPopup) OnPopup(this);
  if (!root_.Handle() || GetMenuItemCount(root_.Handle()) == 0) return;
  UINT command = TrackPopupMenu(root_.Handle(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN,
                                X, Y, 0, MenuHost(), nullptr);
  // Clicked after the menu closed, so the handler may show dialogs or free the menu.
  if (command)
    if (TMenuItem* item = TMenuItem::FindByCommand(command)) item->Click();
}
