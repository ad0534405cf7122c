// What reaches the main window from outside: a second start's arguments, files dropped from the
// shell, the end of the Windows session, and keys it previews before the focused control.
#include "documents/fHlpMainDocs.h"
#include "documents/fHlpMainFuncs.h"
#include "foundation/fMain.h"
#include "mainwindow/MainBlock.h"
#include "mainwindow/formMain.h"
#include "rtl/SysUtils.h"
#include "toolkit/Application.h"
#include "toolkit/DialogKeys.h"
#include "toolkit/Dialogs.h"
#include "toolkit/KeyState.h"
#include "toolkit/Timer.h"
#include "toolkit/WideNames.h"

namespace {

HHOOK keyPreviewHook = nullptr;

TShiftState CurrentShiftState() {
  TShiftState shift;
  if (IsShiftDown()) shift.Include(TShift::ssShift);
  if (IsCtrlDown()) shift.Include(TShift::ssCtrl);
  if (IsAltDown()) shift.Include(TShift::ssAlt);
  return shift;
}

// A field's own use of a key comes before the window's: Ctrl+Tab in a field of several lines
// types a tab rather than switching the document.
bool IsFieldKey(WORD Key) { return Key == VK_TAB && IsCtrlDown() && TypesTabWithCtrl(GetFocus()); }

void PreviewKeyDown(MSG& Msg) {
  const WORD key = static_cast<WORD>(Msg.wParam);
  const TShiftState shift = CurrentShiftState();
  if (IsFieldKey(key)) return;
  if (key == VK_F6 && shift == TShiftState{}) {
    if (MainForm()->FormKeyF6()) Msg.message = WM_NULL;
    return;
  }
  MainForm()->FormKeyDown(key, shift);
}

void PreviewKey(MSG& Msg) {
  if (Msg.message == WM_KEYDOWN || Msg.message == WM_SYSKEYDOWN) {
    PreviewKeyDown(Msg);
  } else if (Msg.message == WM_CHAR && Msg.wParam == VK_ESCAPE) {
    char key = static_cast<char>(Msg.wParam);
    MainForm()->FormKeyPress(key);
    if (key == 0) Msg.message = WM_NULL;
  }
}

// Keys reach the main window's handlers before the focused control, as long as no modal
// window of its own has the input. The system calls in here, so a failure must not leave.
LRESULT CALLBACK KeyPreviewProc(int Code, WPARAM wParam, LPARAM lParam) {
  auto* msg = reinterpret_cast<MSG*>(lParam);
  if (Code == HC_ACTION && wParam == PM_REMOVE && frmMain && frmMain->HandleAllocated() &&
      IsWindowEnabled(frmMain->Handle()) &&
      (msg->hwnd == frmMain->Handle() || IsChild(frmMain->Handle(), msg->hwnd)))
    GuardEntry([msg] { PreviewKey(*msg); });
  return CallNextHookEx(keyPreviewHook, Code, wParam, lParam);
}

}  // namespace

std::vector<std::string> TfrmMain::ParamParts(const std::string& Params) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start < Params.size()) {
    size_t end = Params.find('\x01', start);
    if (end == std::string::npos) end = Params.size();
    if (end > start) parts.push_back(Params.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

void TfrmMain::InstallKeyPreview() {
  if (!keyPreviewHook)
    keyPreviewHook = SetWindowsHookExA(WH_GETMESSAGE, KeyPreviewProc, nullptr, GetCurrentThreadId());
}

void TfrmMain::RemoveKeyPreview() {
  if (keyPreviewHook && frmMain == this) {
    UnhookWindowsHookEx(keyPreviewHook);
    keyPreviewHook = nullptr;
  }
}

void TfrmMain::WMOpenCommandLine(WPARAM wParam, LPARAM lParam) {
  std::string text = TakeHandOverText(lParam);
  // A repeat of a hand-over already taken finds its atom gone.
  if (lParam != 0 && text.empty()) return;
  // The pieces of one start are opened as one: one box for all the names it refuses.
  std::optional<std::string> whole = JoinHandOver(handOverPending_, wParam, text);
  if (whole) RunWhenNoModal([this, whole = *whole] { OpenHandedOver(whole); });
}

void TfrmMain::OpenHandedOver(const std::string& Text) {
  CmdLineParams = SplitCommandLine(Text, false);
  ParseCommandLineSwitches();
  TOpenNotices notices;
  TSetAsideArgs setAside;
  for (const std::string& part : ParamParts(CmdLineParams)) {
    if (setAside.Take(part) || !FileExists(part)) continue;
    if (IsIconic(Handle())) ShowWindow(Handle(), SW_RESTORE);
    if (TTabSheet* sheet = OpenFile(part, false, nullptr))
      ApplyCommandLineSwitches(GetSheetFrame(sheet));
  }
  setAside.Report();
}

void TfrmMain::WMDropFiles(HDROP Drop) {
  std::vector<std::string> refused;
  const std::vector<std::string> names = DroppedFileNames(Drop, refused);
  DragFinish(Drop);
  if (names.empty() && refused.empty()) return;
  RunWhenNoModal([this, names, refused] {
    if (!refused.empty()) ReportRefusedNames(refused);
    OpenDropped(names);
  });
}

void TfrmMain::OpenDropped(const std::vector<std::string>& Names) {
  TOpenNotices notices;
  for (const std::string& name : Names)
    if (FileExists(name)) OpenFile(name, false, nullptr);
  SetForegroundWindow(Handle());
}

LRESULT TfrmMain::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) {
  switch (Msg) {
    case WM_OPENCOMMANDLINE:
      WMOpenCommandLine(wParam, lParam);
      return 0;
    case WM_DROPFILES:
      TMainWindowParts::WndProc(Msg, wParam, lParam);
      WMDropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_QUERYENDSESSION:
      // Logging off ends the program without WM_CLOSE: ask about the documents now, unless
      // a question still open may be about a document the close would free.
      sessionEndAllowed_ = !MustPostpone() && FormCloseQuery();
      return sessionEndAllowed_ ? TRUE : FALSE;
    case WM_ENDSESSION:
      if (wParam && sessionEndAllowed_) FormClose();
      return 0;
    case WM_DESTROY:
      RemoveKeyPreview();
      break;
  }
  return TMainWindowParts::WndProc(Msg, wParam, lParam);
}
