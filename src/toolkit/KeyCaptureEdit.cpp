#include "toolkit/KeyCaptureEdit.h"
#include "toolkit/DialogKeys.h"
#include "toolkit/KeyState.h"
#include "toolkit/MessageHook.h"

TKeyCaptureEdit::TKeyCaptureEdit(TComponent* Owner, TWinControl* Parent, int X, int Y, int W,
                                 int H)
    : TEdit(Owner, Parent, X, Y, W, H, ES_READONLY) {
  hook_ = Make<TMessageHook>(
      "", Handle(), [this](UINT Msg, WPARAM wParam, LPARAM lParam, LRESULT& Result) {
        return HandleMessage(Msg, wParam, lParam, Result);
      });
}

bool TKeyCaptureEdit::MovesOn(LPARAM DlgCodeMessage) const {
  return tabMovesOn_ && AsksAboutKeyDown(DlgCodeMessage, VK_TAB) && !IsShiftDown() &&
         !IsCtrlDown() && !IsAltDown();
}

bool TKeyCaptureEdit::HandleMessage(UINT Msg, WPARAM wParam, LPARAM lParam, LRESULT& Result) {
  Result = 0;
  switch (Msg) {
    case WM_GETDLGCODE:
      // The dialog must not take Tab, Enter or Escape away from the field, but for the Tab
      // that moves on.
      Result = DLGC_WANTCHARS | DLGC_WANTARROWS;
      if (!MovesOn(lParam))
        Result |= DLGC_WANTALLKEYS | DLGC_WANTTAB;
      return true;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (OnKeyDown) OnKeyDown(this, static_cast<WORD>(wParam), KeyboardShiftState());
      return true;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (OnKeyUp) OnKeyUp(this, static_cast<WORD>(wParam), KeyboardShiftState());
      return true;
    case WM_CHAR:
    case WM_SYSCHAR:
    case WM_DEADCHAR:
    case WM_SYSDEADCHAR:
      return true;
    default:
      return false;
  }
}
