#include "toolkit/WinControl.h"
#include <set>
#include "toolkit/Application.h"

namespace {
const char* const kSelfProp = "TarvolineControl";
}

TWinControl::~TWinControl() { DestroyHandle(); }

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
                                      HWND Parent, int X, int Y, int Width, int Height) {
  handle_ = CreateWindowExA(ExStyle, ClassName, caption_.c_str(), Style, X, Y, Width, Height,
                            Parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!handle_) return;
  SetPropA(handle_, kSelfProp, this);
  systemProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassWndProc)));
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
  try {
    result = WndProc(Msg, wParam, lParam);
  } catch (const std::exception& e) {
    // An uncaught failure ends in the default error box and the program goes on.
    Application().ShowException(e);
  }
  if (Msg == WM_NCDESTROY) {
    RemovePropA(wnd, kSelfProp);
    if (systemProc_) SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(systemProc_));
    handle_ = nullptr;
    systemProc_ = nullptr;
    HandleDestroyed();
  }
  return result;
}

LRESULT TWinControl::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) {
  return DefaultHandler(Msg, wParam, lParam);
}

LRESULT TWinControl::DefaultHandler(UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (systemProc_) return CallWindowProcA(systemProc_, handle_, Msg, wParam, lParam);
  return DefWindowProcA(handle_, Msg, wParam, lParam);
}

std::string TWinControl::Caption() const {
  if (!handle_) return caption_;
  int n = GetWindowTextLengthA(handle_);
  std::string s(n + 1, '\0');
  n = GetWindowTextA(handle_, s.data(), n + 1);
  s.resize(n);
  return s;
}

void TWinControl::SetCaption(const std::string& Caption) {
  caption_ = Caption;
  if (handle_) SetWindowTextA(handle_, Caption.c_str());
}

bool TWinControl::Visible() const { return handle_ ? IsWindowVisible(handle_) != 0 : visible_; }

void TWinControl::SetVisible(bool Visible) {
  visible_ = Visible;
  if (handle_) ShowWindow(handle_, Visible ? SW_SHOW : SW_HIDE);
}

bool TWinControl::Enabled() const { return handle_ ? IsWindowEnabled(handle_) != 0 : enabled_; }

void TWinControl::SetEnabled(bool Enabled) {
  enabled_ = Enabled;
  if (handle_) EnableWindow(handle_, Enabled);
}

void TWinControl::SetBounds(int Left, int Top, int Width, int Height) {
  if (handle_) MoveWindow(handle_, Left, Top, Width, Height, TRUE);
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
