#include "toolkit/Application.h"
#include <commctrl.h>
#include <new>
#include <stdexcept>
#include "rtl/SysUtils.h"
#include "toolkit/Abort.h"
#include "toolkit/DialogKeys.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Form.h"
#include "toolkit/KeyState.h"
#include "toolkit/Menus.h"

TApplication& Application() {
  static TApplication app;
  return app;
}

void TApplication::Initialize() {
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
}

HWND TApplication::MainWindow() const { return mainForm_ ? mainForm_->Handle() : nullptr; }

// A key of the menu bar of the form the key was typed in runs its item instead.
bool TApplication::IsMenuShortCut(const MSG& Msg) {
  if (Msg.message != WM_KEYDOWN && Msg.message != WM_SYSKEYDOWN) return false;
  auto* form = dynamic_cast<TForm*>(TWinControl::FromHandle(GetAncestor(Msg.hwnd, GA_ROOT)));
  if (!form || !form->Menu()) return false;
  TShiftState shift;
  if (IsShiftDown()) shift.Include(TShift::ssShift);
  if (IsCtrlDown()) shift.Include(TShift::ssCtrl);
  if (IsAltDown()) shift.Include(TShift::ssAlt);
  return form->Menu()->IsShortCut(ShortCut(static_cast<uint16_t>(Msg.wParam), shift));
}

void TakeTypedCharExactly(MSG& Msg) {
  if ((Msg.message != WM_CHAR && Msg.message != WM_SYSCHAR) || !Msg.hwnd ||
      IsWindowUnicode(Msg.hwnd))
    return;
  std::string typed;
  if (!WideToAnsiExact(std::wstring(1, static_cast<wchar_t>(Msg.wParam)), typed)) Msg.wParam = '?';
}

bool TApplication::HandleMessage(MSG& Msg) {
  if (Msg.message == WM_QUIT) {
    terminated_ = true;
    return false;
  }
  TakeTypedCharExactly(Msg);
  // A menu shortcut runs its command here, outside any window procedure.
  GuardEntry([&] {
    if (IsMenuShortCut(Msg)) return;
    HWND active = GetActiveWindow();
    // IsDialogMessage dispatches what it takes: asked only for dialogs, or keys arrive twice.
    // Elsewhere only the navigation keys of a tab area are taken: the editor keeps its Tab.
    const bool taken = active && TForm::UsesDialogKeys(active)
                           ? TForm::HandleDialogMessage(active, Msg)
                           : HandleNavigationKey(TabAreaOf(Msg.hwnd), Msg, false);
    if (taken) return;
    TranslateMessage(&Msg);
    DispatchMessageW(&Msg);
  });
  return true;
}

void TApplication::Run() {
  if (mainForm_) GuardEntry([this] { mainForm_->Show(); });
  MSG msg;
  while (!terminated_ && GetMessageW(&msg, nullptr, 0, 0) > 0) HandleMessage(msg);
  terminated_ = true;
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (!HandleMessage(msg)) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
  }
}

bool TApplication::ProcessMessagesUntil(const std::function<bool()>& Done, DWORD TimeoutMs) {
  DWORD start = GetTickCount();
  while (!Done()) {
    if (GetTickCount() - start >= TimeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    ProcessMessages();
  }
  return true;
}

void TApplication::Terminate() {
  terminated_ = true;
  PostQuitMessage(0);
}

namespace {
// The library's texts for memory running out are English and say nothing to a person; a text
// grown beyond the largest size is the same shortage.
std::string ErrorText(const std::exception& E) {
  if (dynamic_cast<const std::bad_alloc*>(&E) || dynamic_cast<const std::length_error*>(&E))
    return "Nicht gen\xFCgend Arbeitsspeicher, um den Vorgang auszuf\xFChren.";
  return E.what();
}
}  // namespace

void TApplication::ShowException(const std::exception& E) {
  if (dynamic_cast<const EAbort*>(&E)) return;
  MsgBox(ErrorText(E), title_, MB_OK | MB_ICONERROR);
}
