#include "toolkit/WinControl.h"
#include <algorithm>
#include <set>
#include <vector>
#include "rtl/SysUtils.h"
#include "toolkit/Application.h"
#include "toolkit/Cursor.h"
#include "toolkit/Menus.h"

namespace {
const char* const kSelfProp = "TarvolineControl";
const char* const kNotifyProp = "TarvolineNotifyTarget";
}

void TWinControl::SetNotifyTarget(HWND From, TWinControl* Target) {
  if (!From) return;
  if (Target)
    SetPropA(From, kNotifyProp, Target);
  else
    RemovePropA(From, kNotifyProp);
}

TWinControl::~TWinControl() {
  SetPopupMenu(nullptr);
  DestroyHandle();
}

void TWinControl::DestroyHandle() {
  if (handle_) DestroyWindow(handle_);
}

TWinControl* TWinControl::FromHandle(HWND Wnd) {
  return Wnd ? static_cast<TWinControl*>(GetPropA(Wnd, kSelfProp)) : nullptr;
}

void TWinControl::RegisterClassOnce(const char* ClassName, UINT Style, HCURSOR Cursor,
                                    HBRUSH Background) {
  static std::set<std::string> registered;
  if (!registered.insert(ClassName).second) return;
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.style = Style;
  wc.lpfnWndProc = ClassWndProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = Cursor ? Cursor : LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = Background;
  wc.hIcon = LoadIconA(wc.hInstance, "MAINICON");
  wc.lpszClassName = ClassName;
  RegisterClassExA(&wc);
}

void TWinControl::CreateHandle(const char* ClassName, DWORD Style, DWORD ExStyle, HWND Parent,
                               int X, int Y, int Width, int Height, HMENU Menu) {
  CreateWindowExA(ExStyle, ClassName, caption_.c_str(), Style, X, Y, Width, Height, Parent, Menu,
                  GetModuleHandleA(nullptr), this);
}

void TWinControl::CreateSystemControl(const char* ClassName, DWORD Style, DWORD ExStyle,
                                      HWND Parent, int X, int Y, int Width, int Height, bool Wide) {
  // An 8-bit window would already hold the look-alike of a pasted character the code page lacks.
  handle_ = Wide ? CreateWindowExW(ExStyle, AnsiToWide(ClassName).c_str(),
                                   AnsiToWide(caption_).c_str(), Style, X, Y, Width, Height,
                                   Parent, nullptr, GetModuleHandleA(nullptr), nullptr)
                 : CreateWindowExA(ExStyle, ClassName, caption_.c_str(), Style, X, Y, Width,
                                   Height, Parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!handle_) return;
  SetPropA(handle_, kSelfProp, this);
  systemUnicode_ = IsWindowUnicode(handle_) != FALSE;
  // Subclassed 8-bit, a wide window would turn 8-bit: typed characters would pass through the
  // system's conversion on their way in.
  wideSubclass_ = Wide;
  const auto subclass = reinterpret_cast<LONG_PTR>(SubclassWndProc);
  systemProc_ = reinterpret_cast<WNDPROC>(Wide ? SetWindowLongPtrW(handle_, GWLP_WNDPROC, subclass)
                                               : SetWindowLongPtrA(handle_, GWLP_WNDPROC, subclass));
  SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
}

LRESULT CALLBACK TWinControl::ClassWndProc(HWND Wnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  TWinControl* self = FromHandle(Wnd);
  if (!self && Msg == WM_NCCREATE) {
    self = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->handle_ = Wnd;
    SetPropA(Wnd, kSelfProp, self);
  }
  if (!self) return DefWindowProcA(Wnd, Msg, wParam, lParam);
  return self->Dispatch(Msg, wParam, lParam);
}

LRESULT CALLBACK TWinControl::SubclassWndProc(HWND Wnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  TWinControl* self = FromHandle(Wnd);
  return self ? self->Dispatch(Msg, wParam, lParam) : DefWindowProcA(Wnd, Msg, wParam, lParam);
}

LRESULT TWinControl::Dispatch(UINT Msg, WPARAM wParam, LPARAM lParam) {
  HWND wnd = handle_;
  LRESULT result = 0;
  TFontHandle replacedFont;
  if (Msg == WM_SETFONT && styledFont_) {
    HGDIOBJ base = wParam ? reinterpret_cast<HGDIOBJ>(wParam) : GetStockObject(DEFAULT_GUI_FONT);
    GetObjectA(base, sizeof baseFont_, &baseFont_);
    replacedFont = MakeStyledFont();
    wParam = reinterpret_cast<WPARAM>(styledFont_.get());
  }
  // An uncaught failure ends in the default error box and the program goes on.
  GuardEntry([&] {
    // Work in progress shows over every control, whatever cursor it would set itself.
    if (Msg == WM_SETCURSOR && HourglassShown() && LOWORD(lParam) == HTCLIENT) {
      SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
      result = TRUE;
      return;
    }
    if (Msg == WM_SIZE && wParam != SIZE_MINIMIZED) Realign();
    if (Msg == WM_RBUTTONUP) contextMenuShown_ = false;
    result = WndProc(Msg, wParam, lParam);
    // Controls that take the right button themselves never ask for WM_CONTEXTMENU.
    if (Msg == WM_RBUTTONUP && handle_ == wnd && popupMenu_ && !contextMenuShown_) {
      POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      ClientToScreen(wnd, &p);
      ShowContextMenu(MAKELPARAM(p.x, p.y));
    }
  });
  if (Msg == WM_NCDESTROY) {
    RemovePropA(wnd, kSelfProp);
    if (systemProc_) {
      const auto proc = reinterpret_cast<LONG_PTR>(systemProc_);
      wideSubclass_ ? SetWindowLongPtrW(wnd, GWLP_WNDPROC, proc)
                    : SetWindowLongPtrA(wnd, GWLP_WNDPROC, proc);
    }
    handle_ = nullptr;
    systemProc_ = nullptr;
    systemUnicode_ = false;
    wideSubclass_ = false;
    HandleDestroyed();
  }
  return result;
}

LRESULT TWinControl::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) {
  switch (Msg) {
    case WM_CONTEXTMENU:
      if (ShowContextMenu(lParam)) return 0;
      break;
    case WM_COMMAND:
      // Containers pass their children's notifications on to the child's object.
      if (lParam != 0)
        if (auto* c = dynamic_cast<TNotifiedControl*>(FromHandle(reinterpret_cast<HWND>(lParam))))
          return c->Command(HIWORD(wParam), LOWORD(wParam));
      break;
    case WM_CLOSE:
      // A multi-line edit in a dialog asks its parent to close on Escape: a page or panel
      // would destroy itself with its controls. The dialog takes it as its own Escape.
      if (GetWindowLongA(handle_, GWL_STYLE) & WS_CHILD) {
        TWinControl* root = FromHandle(GetAncestor(handle_, GA_ROOT));
        if (root && root->TakesChildClose()) PostMessageA(root->handle_, WM_CLOSE, 0, 0);
        return 0;
      }
      break;
    case WM_NOTIFY: {
      HWND from = reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
      TWinControl* sender = FromHandle(from);
      if (!sender) sender = static_cast<TWinControl*>(GetPropA(from, kNotifyProp));
      if (auto* c = dynamic_cast<TNotifiedControl*>(sender)) return c->Notify(reinterpret_cast<NMHDR*>(lParam));
      break;
    }
  }
  return DefaultHandler(Msg, wParam, lParam);
}

void TWinControl::SetFontStyle(TFontStyles Style) {
  if (!styledFont_) {
    HGDIOBJ current = handle_ ? reinterpret_cast<HGDIOBJ>(SendMessageA(handle_, WM_GETFONT, 0, 0)) : nullptr;
    GetObjectA(current ? current : GetStockObject(DEFAULT_GUI_FONT), sizeof baseFont_, &baseFont_);
  }
  fontStyle_ = Style;
  TFontHandle replaced = MakeStyledFont();
  if (handle_) WndProc(WM_SETFONT, reinterpret_cast<WPARAM>(styledFont_.get()), TRUE);
}

TWinControl::TFontHandle TWinControl::MakeStyledFont() {
  LOGFONTA font = baseFont_;
  if (fontStyle_.Contains(TFontStyle::fsBold)) font.lfWeight = FW_BOLD;
  if (fontStyle_.Contains(TFontStyle::fsItalic)) font.lfItalic = TRUE;
  if (fontStyle_.Contains(TFontStyle::fsUnderline)) font.lfUnderline = TRUE;
  if (fontStyle_.Contains(TFontStyle::fsStrikeOut)) font.lfStrikeOut = TRUE;
  TFontHandle replaced = std::move(styledFont_);
  styledFont_.reset(CreateFontIndirectA(&font));
  return replaced;
}

bool TWinControl::ShowContextMenu(LPARAM ScreenPoint) {
  contextMenuShown_ = true;
  if (!popupMenu_ || !handle_) return false;
  POINT p = {static_cast<short>(LOWORD(ScreenPoint)), static_cast<short>(HIWORD(ScreenPoint))};
  if (ScreenPoint == -1) {  // from the keyboard: at the control's corner
    p = {0, 0};
    ClientToScreen(handle_, &p);
  }
  popupMenu_->PopupFor(this, p.x, p.y);
  return true;
}

void TWinControl::SetPopupMenu(TPopupMenu* Menu) {
  if (popupMenu_ == Menu) return;
  if (popupMenu_) {
    auto& users = popupMenu_->users_;
    users.erase(std::remove(users.begin(), users.end(), this), users.end());
    if (popupMenu_->popupComponent_ == this) popupMenu_->popupComponent_ = nullptr;
  }
  popupMenu_ = Menu;
  if (Menu) Menu->users_.push_back(this);
}

TWinControl* TWinControl::Parent() const {
  return handle_ && (GetWindowLongA(handle_, GWL_STYLE) & WS_CHILD) ? FromHandle(GetParent(handle_))
                                                                    : nullptr;
}

namespace {
RECT BoundsInParent(HWND Wnd) {
  RECT r = {};
  if (!Wnd) return r;
  GetWindowRect(Wnd, &r);
  if (HWND parent = GetParent(Wnd); parent && (GetWindowLongA(Wnd, GWL_STYLE) & WS_CHILD))
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}
}  // namespace

int TWinControl::Left() const { return BoundsInParent(handle_).left; }
int TWinControl::Top() const { return BoundsInParent(handle_).top; }
int TWinControl::Width() const {
  RECT r = BoundsInParent(handle_);
  return r.right - r.left;
}
int TWinControl::Height() const {
  RECT r = BoundsInParent(handle_);
  return r.bottom - r.top;
}
void TWinControl::SetWidth(int Width) { SetBounds(Left(), Top(), Width, Height()); }
void TWinControl::SetHeight(int Height) { SetBounds(Left(), Top(), Width(), Height); }

void TWinControl::SetAlign(TAlign Align) {
  static unsigned nextOrder = 0;
  if (Align != alNone && align_ != Align) alignOrder_ = ++nextOrder;
  align_ = Align;
  AlignParent();
}

void TWinControl::AlignParent() {
  if (align_ == alNone) return;
  if (TWinControl* parent = Parent()) parent->Realign();
}

void TWinControl::Realign() {
  if (!handle_ || aligning_) return;
  std::vector<TWinControl*> children;
  for (HWND w = GetWindow(handle_, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    TWinControl* c = FromHandle(w);
    if (c && c->align_ != alNone && (GetWindowLongA(w, GWL_STYLE) & WS_VISIBLE)) children.push_back(c);
  }
  if (children.empty()) return;
  std::stable_sort(children.begin(), children.end(), [](const TWinControl* a, const TWinControl* b) {
    return a->align_ != b->align_ ? a->align_ < b->align_ : a->alignOrder_ < b->alignOrder_;
  });
  aligning_ = true;
  RECT area = ClientRect();
  // Edge children keep their size even when the container is too small for them, so that
  // growing it again brings the same layout back.
  for (TWinControl* c : children) {
    RECT r = BoundsInParent(c->handle_);
    int w = r.right - r.left, h = r.bottom - r.top;
    RECT to = area;
    switch (c->align_) {
      case alTop: to.bottom = area.top + h; area.top = to.bottom; break;
      case alBottom: to.top = area.bottom - h; area.bottom = to.top; break;
      case alLeft: to.right = area.left + w; area.left = to.right; break;
      case alRight: to.left = area.right - w; area.right = to.left; break;
      default: break;
    }
    to.right = std::max(to.right, to.left);
    to.bottom = std::max(to.bottom, to.top);
    if (!EqualRect(&to, &r)) MoveWindow(c->handle_, to.left, to.top, to.right - to.left, to.bottom - to.top, TRUE);
  }
  aligning_ = false;
}

LRESULT TWinControl::DefaultHandler(UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (systemProc_)
    return wideSubclass_ ? CallWindowProcW(systemProc_, handle_, Msg, wParam, lParam)
                         : CallWindowProcA(systemProc_, handle_, Msg, wParam, lParam);
  return DefWindowProcA(handle_, Msg, wParam, lParam);
}

LRESULT TWinControl::PerformNative(UINT Msg, WPARAM wParam, LPARAM lParam) const {
  if (!systemProc_) return SendMessageA(handle_, Msg, wParam, lParam);
  return systemUnicode_ ? CallWindowProcW(systemProc_, handle_, Msg, wParam, lParam)
                        : CallWindowProcA(systemProc_, handle_, Msg, wParam, lParam);
}

LRESULT TWinControl::PerformText(UINT Msg, WPARAM wParam, const std::string& Text) {
  if (!systemUnicode_) return PerformNative(Msg, wParam, reinterpret_cast<LPARAM>(Text.c_str()));
  const std::wstring wide = AnsiToWide(Text);
  return PerformNative(Msg, wParam, reinterpret_cast<LPARAM>(wide.c_str()));
}

namespace {
// Fills a buffer of Length characters and a terminating zero through Read; what it copied.
template <typename TText, typename TRead>
TText ReadInto(LRESULT Length, TRead Read) {
  TText text(static_cast<size_t>(Length) + 1, 0);
  const LRESULT copied = Read(reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? std::min(static_cast<size_t>(copied), static_cast<size_t>(Length)) : 0);
  return text;
}
}  // namespace

std::string TWinControl::PerformReadText(UINT Msg, WPARAM wParam, LRESULT Length,
                                         bool* Exact) const {
  if (Exact) *Exact = true;
  if (Length < 1) return {};
  auto read = [&](LPARAM Buffer) { return PerformNative(Msg, wParam, Buffer); };
  if (!systemUnicode_) return ReadInto<std::string>(Length, read);
  std::string text;
  const bool exact = WideToAnsiExact(ReadInto<std::wstring>(Length, read), text);
  if (Exact) *Exact = exact;
  return text;
}

std::string TWinControl::Caption() const {
  std::string caption;
  ExactCaption(caption);
  return caption;
}

bool TWinControl::ExactCaption(std::string& Caption) const {
  bool exact = true;
  if (!handle_) {
    Caption = caption_;
    return exact;
  }
  const LRESULT length = PerformNative(WM_GETTEXTLENGTH);
  Caption = PerformReadText(WM_GETTEXT, static_cast<WPARAM>(length) + 1, length, &exact);
  return exact;
}

void TWinControl::SetCaption(const std::string& Caption) {
  caption_ = Caption;
  if (handle_) PerformText(WM_SETTEXT, 0, Caption);
  CaptionChanged();
}

std::wstring TWinControl::WideCaption() const {
  if (!handle_ || !systemUnicode_) return AnsiToWide(Caption());
  const LRESULT length = PerformNative(WM_GETTEXTLENGTH);
  if (length < 1) return {};
  return ReadInto<std::wstring>(
      length, [&](LPARAM Buffer) { return PerformNative(WM_GETTEXT, length + 1, Buffer); });
}

void TWinControl::SetCaptionFrom(const TWinControl& Source, bool FirstLine) {
  std::wstring text = Source.WideCaption();
  if (FirstLine) text.resize(std::min(text.size(), text.find_first_of(L"\r\n")));
  SetWideCaption(text);
}

void TWinControl::SetWideCaption(const std::wstring& Caption) {
  caption_ = WideToAnsi(Caption);
  if (handle_ && systemUnicode_)
    PerformNative(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Caption.c_str()));
  else if (handle_)
    PerformText(WM_SETTEXT, 0, caption_);
  CaptionChanged();
}

// The control's own flag: a shown child of a hidden form still counts as visible.
bool TWinControl::Visible() const {
  return handle_ ? (GetWindowLongA(handle_, GWL_STYLE) & WS_VISIBLE) != 0 : visible_;
}

void TWinControl::SetVisible(bool Visible) {
  visible_ = Visible;
  if (handle_) ShowWindow(handle_, Visible ? SW_SHOW : SW_HIDE);
  AlignParent();
}

bool TWinControl::Enabled() const { return handle_ ? IsWindowEnabled(handle_) != 0 : enabled_; }

void TWinControl::SetEnabled(bool Enabled) {
  enabled_ = Enabled;
  if (handle_) EnableWindow(handle_, Enabled);
}

void TWinControl::SetBounds(int Left, int Top, int Width, int Height) {
  if (handle_) MoveWindow(handle_, Left, Top, Width, Height, TRUE);
  AlignParent();
}

RECT TWinControl::ClientRect() const {
  RECT r = {};
  if (handle_) GetClientRect(handle_, &r);
  return r;
}

void TWinControl::SetFocus() {
  if (handle_) ::SetFocus(handle_);
}

void TWinControl::Invalidate() {
  if (handle_) InvalidateRect(handle_, nullptr, FALSE);
}

LRESULT TWinControl::Perform(UINT Msg, WPARAM wParam, LPARAM lParam) {
  return handle_ ? SendMessageA(handle_, Msg, wParam, lParam) : 0;
}
