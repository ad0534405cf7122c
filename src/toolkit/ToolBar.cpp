#include "toolkit/ToolBar.h"
#include <commctrl.h>
#include <algorithm>
#include "toolkit/DialogKeys.h"
#include "toolkit/ImageList.h"
#include "toolkit/Menus.h"

TToolButton::TToolButton(TComponent* Owner, TToolBar* ToolBar, TToolButtonStyle Style)
    : TComponent(Owner), toolBar_(ToolBar), style_(Style), command_(ToolBar ? ToolBar->nextCommand_++ : 0) {
  if (toolBar_) toolBar_->AddButton(this);
}

TToolButton::~TToolButton() {
  if (toolBar_) toolBar_->RemoveButton(this);
}

// Each setter leaves the bar alone when nothing changes: the document's buttons are set again
// on every caret move.
void TToolButton::SetImageIndex(int ImageIndex) {
  if (imageIndex_ == ImageIndex) return;
  imageIndex_ = ImageIndex;
  if (toolBar_) toolBar_->UpdateButton(this);
}

bool TToolButton::Down() const {
  if (toolBar_ && toolBar_->Handle()) return toolBar_->Perform(TB_ISBUTTONCHECKED, command_) != 0;
  return down_;
}

void TToolButton::SetDown(bool Down) {
  if (down_ == Down) return;
  down_ = Down;
  if (toolBar_) toolBar_->UpdateButton(this);
}

void TToolButton::SetEnabled(bool Enabled) {
  if (enabled_ == Enabled) return;
  enabled_ = Enabled;
  if (toolBar_) toolBar_->UpdateButton(this);
}

void TToolButton::SetVisible(bool Visible) {
  visible_ = Visible;
  if (toolBar_) toolBar_->UpdateButton(this);
}

void TToolButton::Click() {
  if (OnClick) OnClick(this);
}

namespace {
BYTE NativeStyle(TToolButtonStyle Style) {
  switch (Style) {
    case TToolButtonStyle::tbsCheck: return BTNS_CHECK;
    case TToolButtonStyle::tbsSeparator: return BTNS_SEP;
    case TToolButtonStyle::tbsDropDown: return BTNS_DROPDOWN;
    default: return BTNS_BUTTON;
  }
}

BYTE NativeState(bool Enabled, bool Down, bool Visible) {
  return static_cast<BYTE>((Enabled ? TBSTATE_ENABLED : 0) | (Down ? TBSTATE_CHECKED : 0) |
                           (Visible ? 0 : TBSTATE_HIDDEN));
}
}  // namespace

// Tab reaches the controls placed on the bar (a field, a button) as it reaches any other.
TToolBar::TToolBar(TComponent* Owner, TWinControl* Parent) : TWinControl(Owner) {
  CreateSystemControl(TOOLBARCLASSNAMEA,
                      WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS |
                          CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER,
                      WS_EX_CONTROLPARENT, Parent ? Parent->Handle() : nullptr, 0, 0, 100, 26);
  Perform(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
  Perform(TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
  // The tooltip asks the toolbar's parent for texts; the hints live here.
  SetNotifyTarget(reinterpret_cast<HWND>(Perform(TB_GETTOOLTIPS)), this);
  AutoSize();
  SetAlign(alTop);
}

TToolBar::~TToolBar() {
  SetNotifyTarget(reinterpret_cast<HWND>(Perform(TB_GETTOOLTIPS)), nullptr);
  for (TToolButton* b : buttons_) b->toolBar_ = nullptr;
  buttons_.clear();
  hot_ = nullptr;
}

void TToolBar::SetImages(TImageList* Images) {
  images_ = Images;
  disabledImages_ = Images ? Images->GreyedCopy() : nullptr;
  Perform(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(Images ? Images->Handle() : nullptr));
  Perform(TB_SETDISABLEDIMAGELIST, 0,
          reinterpret_cast<LPARAM>(disabledImages_ ? disabledImages_->Handle() : nullptr));
  AutoSize();
}

void TToolBar::AddButton(TToolButton* Button) {
  buttons_.push_back(Button);
  TBBUTTON b = {};
  b.iBitmap = Button->style_ == TToolButtonStyle::tbsSeparator ? 6 : Button->imageIndex_;
  b.idCommand = Button->command_;
  b.fsState = NativeState(Button->enabled_, Button->down_, Button->visible_);
  b.fsStyle = NativeStyle(Button->style_);
  b.iString = -1;
  Perform(TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&b));
  UsableChanged();
}

void TToolBar::RemoveButton(TToolButton* Button) {
  buttons_.erase(std::remove(buttons_.begin(), buttons_.end(), Button), buttons_.end());
  if (hot_ == Button) hot_ = nullptr;
  LRESULT index = Perform(TB_COMMANDTOINDEX, Button->command_);
  if (index >= 0) Perform(TB_DELETEBUTTON, index);
  Button->toolBar_ = nullptr;
  UsableChanged();
}

void TToolBar::UpdateButton(const TToolButton* Button) {
  TBBUTTONINFOA info = {};
  info.cbSize = sizeof info;
  info.dwMask = TBIF_STATE | (Button->style_ == TToolButtonStyle::tbsSeparator ? 0 : TBIF_IMAGE);
  info.iImage = Button->imageIndex_;
  info.fsState = NativeState(Button->enabled_, Button->down_, Button->visible_);
  Perform(TB_SETBUTTONINFOA, Button->command_, reinterpret_cast<LPARAM>(&info));
  UsableChanged();
}

TToolButton* TToolBar::ButtonByCommand(int Command) const {
  for (TToolButton* b : buttons_)
    if (b->command_ == Command) return b;
  return nullptr;
}

void TToolBar::AutoSize() {
  int height = HIWORD(Perform(TB_GETBUTTONSIZE)) + 4;
  if (height != Height()) SetHeight(height);
}

LRESULT TToolBar::Command(WORD Code, WORD Id) {
  TToolButton* b = ButtonByCommand(Id);
  if (Code != BN_CLICKED || !b) return 0;
  if (b->style_ == TToolButtonStyle::tbsCheck) b->down_ = b->Down();  // the bar toggled it
  b->Click();
  return 0;
}

LRESULT TToolBar::Notify(NMHDR* Header) {
  switch (Header->code) {
    case TTN_GETDISPINFOA: {
      auto* info = reinterpret_cast<NMTTDISPINFOA*>(Header);
      if (TToolButton* b = ButtonByCommand(static_cast<int>(Header->idFrom)))
        info->lpszText = const_cast<char*>(b->hint_.c_str());
      return 0;
    }
    case TBN_DROPDOWN: {
      auto* nm = reinterpret_cast<NMTOOLBARA*>(Header);
      TToolButton* b = ButtonByCommand(nm->iItem);
      if (!b || !b->dropdownMenu_) return TBDDRET_NODEFAULT;
      ShowDropdown(*b);
      return TBDDRET_DEFAULT;
    }
  }
  return 0;
}

void TToolBar::ShowDropdown(const TToolButton& Button) {
  RECT r = {};
  Perform(TB_GETRECT, Button.command_, reinterpret_cast<LPARAM>(&r));
  MapWindowPoints(Handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
  Button.dropdownMenu_->Popup(r.left, r.bottom);
}

// The keyboard ----------------------------------------------------------------------------

bool TToolButton::Usable() const {
  return style_ != TToolButtonStyle::tbsSeparator && visible_ && enabled_;
}

// A bar without a usable button is no tab stop, and the keyboard never rests on a button that
// can no longer be pressed.
void TToolBar::UsableChanged() {
  if (!Handle()) return;
  const bool usable = std::any_of(buttons_.begin(), buttons_.end(),
                                  [](const TToolButton* b) { return b->Usable(); });
  const LONG style = GetWindowLongA(Handle(), GWL_STYLE);
  const LONG wanted = usable ? style | WS_TABSTOP : style & ~WS_TABSTOP;
  if (wanted != style) SetWindowLongA(Handle(), GWL_STYLE, wanted);
  if (GetFocus() == Handle() && !(hot_ && hot_->Usable())) MoveHot(1);
}

// Raised as the mouse raises a button, while the bar has the focus.
void TToolBar::ShowHot() {
  const auto at = std::find(buttons_.begin(), buttons_.end(), hot_);
  const bool shown = GetFocus() == Handle() && at != buttons_.end();
  Perform(TB_SETHOTITEM, shown ? at - buttons_.begin() : -1);
}

// The next usable button from the chosen one on, round the bar (from either end without one).
void TToolBar::MoveHot(int Step) {
  const int count = ButtonCount();
  const auto chosen = std::find(buttons_.begin(), buttons_.end(), hot_);
  const int at = chosen != buttons_.end() ? static_cast<int>(chosen - buttons_.begin())
                                          : (Step > 0 ? -1 : count);
  hot_ = nullptr;
  for (int i = 1; i <= count && !hot_; ++i) {
    TToolButton* button = buttons_[((at + Step * i) % count + count) % count];
    if (button->Usable()) hot_ = button;
  }
  ShowHot();
}

// As a click does: a check button changes its state first.
void TToolBar::Press(TToolButton& Button) {
  if (Button.style_ == TToolButtonStyle::tbsCheck) Button.SetDown(!Button.Down());
  Button.Click();
}

bool TToolBar::HandleKey(WORD Key) {
  TToolButton* hot = hot_ && hot_->Usable() ? hot_ : nullptr;
  switch (Key) {
    case VK_LEFT:
    case VK_RIGHT:
      MoveHot(Key == VK_LEFT ? -1 : 1);
      return true;
    case VK_SPACE:
    case VK_RETURN:
      if (hot) Press(*hot);
      return true;
    case VK_DOWN:
      if (hot && hot->dropdownMenu_) ShowDropdown(*hot);
      return true;
    case VK_UP:
      return true;
  }
  return false;
}

LRESULT TToolBar::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) {
  switch (Msg) {
    case WM_GETDLGCODE: {
      // Enter presses the chosen button, not the dialog's default one.
      return TWinControl::WndProc(Msg, wParam, lParam) | DLGC_WANTARROWS |
             (AsksAboutKeyDown(lParam, VK_RETURN) ? DLGC_WANTMESSAGE : 0);
    }
    case WM_KEYDOWN:
      if (HandleKey(static_cast<WORD>(wParam))) return 0;
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      // The chosen button shows only while the bar has the focus; back from the dialog a
      // button opened, the keyboard is where it was.
      const LRESULT result = TWinControl::WndProc(Msg, wParam, lParam);
      if (Msg == WM_SETFOCUS && !(hot_ && hot_->Usable())) MoveHot(1);
      else ShowHot();
      return result;
    }
  }
  return TWinControl::WndProc(Msg, wParam, lParam);
}
