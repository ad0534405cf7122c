#include "toolkit/MessageHook.h"
#include <algorithm>
#include <commctrl.h>
#include "rtl/SysUtils.h"
#include "toolkit/Application.h"
#include "toolkit/KeyState.h"

TMessageHook::TMessageHook(TComponent* Owner, HWND Wnd, THandler Handler)
    : TComponent(Owner), wnd_(Wnd), handler_(std::move(Handler)) {
  // Each hook has an id of its own: a second hook with the same id would replace the first.
  if (wnd_ && !SetWindowSubclass(wnd_, &TMessageHook::Proc, Id(), reinterpret_cast<DWORD_PTR>(this)))
    wnd_ = nullptr;
}

TMessageHook::~TMessageHook() {
  if (wnd_) RemoveWindowSubclass(wnd_, &TMessageHook::Proc, Id());
}

LRESULT CALLBACK TMessageHook::Proc(HWND Wnd, UINT Msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR Self) {
  auto* self = reinterpret_cast<TMessageHook*>(Self);
  if (Msg == WM_NCDESTROY) {
    RemoveWindowSubclass(Wnd, &TMessageHook::Proc, self->Id());
    self->wnd_ = nullptr;
    return DefSubclassProc(Wnd, Msg, wParam, lParam);
  }
  LRESULT result = 0;
  bool handled = false;
  // A hook runs inside the control's window procedure: its failure is shown like theirs.
  GuardEntry([&] { handled = self->handler_ && self->handler_(Msg, wParam, lParam, result); });
  if (handled) return result;
  return DefSubclassProc(Wnd, Msg, wParam, lParam);
}

TShiftState KeyboardShiftState() {
  TShiftState shift;
  if (IsShiftDown()) shift.Include(TShift::ssShift);
  if (IsCtrlDown()) shift.Include(TShift::ssCtrl);
  if (IsAltDown()) shift.Include(TShift::ssAlt);
  return shift;
}

namespace {
// The character of a WM_CHAR in the ANSI code page; "?" for one it lacks.
char AnsiKey(HWND Wnd, WPARAM Char) {
  if (!IsWindowUnicode(Wnd)) return static_cast<char>(Char);
  std::string key;
  WideToAnsiExact(std::wstring(1, static_cast<wchar_t>(Char)), key);
  return key.size() == 1 ? key[0] : '?';
}
}  // namespace

TMessageHook* HookKeys(TComponent* Owner, HWND Wnd, TControlKeyDown OnKeyDown,
                       TControlKeyPress OnKeyPress) {
  auto handler = [Wnd, OnKeyDown = std::move(OnKeyDown), OnKeyPress = std::move(OnKeyPress)](
                     UINT Msg, WPARAM wParam, LPARAM, LRESULT& Result) {
    Result = 0;
    if (Msg == WM_KEYDOWN && OnKeyDown) {
      WORD key = static_cast<WORD>(wParam);
      OnKeyDown(key, KeyboardShiftState());
      return key == 0;
    }
    if (Msg == WM_CHAR && OnKeyPress) {
      char key = AnsiKey(Wnd, wParam);
      OnKeyPress(key);
      return key == 0;
    }
    return false;
  };
  return Owner->Make<TMessageHook>("", Wnd, std::move(handler));
}

TMessageHook* TakeDialogKeys(TComponent* Owner, HWND Wnd, std::vector<WORD> Keys) {
  auto handler = [Wnd, Keys = std::move(Keys)](UINT Msg, WPARAM wParam, LPARAM lParam,
                                               LRESULT& Result) {
    // The dialog asks with the key message it is about to handle itself.
    const auto* key = reinterpret_cast<const MSG*>(lParam);
    if (Msg != WM_GETDLGCODE || !key || key->message != WM_KEYDOWN ||
        std::find(Keys.begin(), Keys.end(), key->wParam) == Keys.end())
      return false;
    Result = DefSubclassProc(Wnd, Msg, wParam, lParam) | DLGC_WANTMESSAGE;
    return true;
  };
  return Owner->Make<TMessageHook>("", Wnd, std::move(handler));
}

TEditBackground::TEditBackground(TComponent* Owner, HWND Edit)
    : TMessageHook(Owner, Edit ? GetParent(Edit) : nullptr,
                   [this](UINT Msg, WPARAM wParam, LPARAM lParam, LRESULT& Result) {
                     if (Msg != WM_CTLCOLOREDIT || reinterpret_cast<HWND>(lParam) != edit_ ||
                         !brush_)
                       return false;
                     SetBkColor(reinterpret_cast<HDC>(wParam), color_);
                     Result = reinterpret_cast<LRESULT>(brush_);
                     return true;
                   }),
      edit_(Edit) {}

TEditBackground::~TEditBackground() {
  if (brush_) DeleteObject(brush_);
}

void TEditBackground::SetColor(COLORREF Color) {
  if (Color == color_) return;
  if (brush_) DeleteObject(brush_);
  brush_ = Color == CLR_INVALID ? nullptr : CreateSolidBrush(Color);
  color_ = Color;
  if (edit_) InvalidateRect(edit_, nullptr, TRUE);
}
