// The main routine's steps; Tarvoline.cpp only collects the arguments.
#include "mainwindow/MainBlock.h"
#include <string_view>
#include <utility>
#include "dialogs/formInstall.h"
#include "documents/fHlpMain.h"
#include "documents/fLanguage.h"
#include "foundation/fMain.h"
#include "mainwindow/formMain.h"
#include "rtl/SysUtils.h"
#include "toolkit/Application.h"
#include "toolkit/Dialogs.h"

const char* const InstanceMutexName = "Orvask_Tarvoline_Mutex";
const char* const LoadingMutexName = "Orvask_Tarvoline_LoadingMutex";
HANDLE LoadingMutex = nullptr;

namespace {

// The longest name the global atom table keeps, plus its terminating zero.
constexpr int AtomNameCapacity = 256;
constexpr size_t LongestAtomName = AtomNameCapacity - 1;
constexpr DWORD HandOverTimeoutMs = 60000;
// A timed-out message is dropped by some systems and delivered late by others: it is sent
// again, and the receiver ignores a repeat whose atom it already took.
constexpr int HandOverAttempts = 5;

// Waits while the first instance is still starting: it owns the loading mutex until then.
void WaitForFirstInstance() {
  for (;;) {
    SetLastError(0);
    HANDLE probe = CreateMutexA(nullptr, FALSE, LoadingMutexName);
    bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
    if (probe) CloseHandle(probe);
    if (!existed) return;
    Sleep(100);
  }
}

// The running window to the front, or the question it has open: a window disabled by its
// modal window must neither cover it nor take the keys and clicks it waits for.
void BringToFront(HWND Running) {
  if (IsWindowEnabled(Running)) {
    SetForegroundWindow(Running);
    if (!IsZoomed(Running)) ShowWindow(Running, SW_RESTORE);
    return;
  }
  HWND question = GetLastActivePopup(Running);
  if (IsIconic(Running)) ShowWindow(Running, SW_RESTORE);
  // Restoring may raise the window over what it owns.
  BringWindowToTop(question);
  SetForegroundWindow(question);
}

// One message of a hand-over; a send that times out is sent again while the window exists.
void SendHandOverPart(HWND Running, const std::string& Text, WPARAM More, DWORD TimeoutMs,
                      const std::function<void()>& OnTimedOut) {
  ATOM atom = GlobalAddAtomA(Text.c_str());
  for (int attempt = 0; attempt < HandOverAttempts; ++attempt) {
    DWORD_PTR ignored = 0;
    SetLastError(0);
    // A window that hangs must not keep this process alive for ever.
    if (SendMessageTimeoutA(Running, WM_OPENCOMMANDLINE, Text.size() | More, atom, SMTO_NORMAL,
                            TimeoutMs, &ignored))
      return;
    if (GetLastError() != ERROR_TIMEOUT || !IsWindow(Running)) {
      if (atom) GlobalDeleteAtom(atom);  // never delivered
      return;
    }
    if (OnTimedOut) OnTimedOut();
  }
}

}  // namespace

bool IsSwitchArg(const std::string& Arg) {
  return !Arg.empty() && (Arg[0] == '/' || Arg[0] == '-');
}

bool IsRefusedFileArg(const std::string& Arg) {
  constexpr std::string_view longPathPrefix = "\\\\?\\";
  const size_t name = Arg.rfind(longPathPrefix, 0) == 0 ? longPathPrefix.size() : 0;
  return !IsSwitchArg(Arg) && Arg.find('?', name) != std::string::npos;
}

bool TSetAsideArgs::Take(const std::string& Arg) {
  if (IsRefusedFileArg(Arg)) {
    refused_.push_back(Arg);
    return true;
  }
  if (IsSwitchArg(Arg) || Arg.size() < MAX_PATH) return false;
  tooLong_.push_back(Arg);
  return true;
}

void TSetAsideArgs::Report() const {
  const std::string tooLong =
      tooLong_.empty() ? ""
                       : GetLangText("Main|MsgNameTooLongText",
                                     "Diese Namen sind l\xE4nger als die %s1% Zeichen, die Tarvoline f\xFCr "
                                     "einen Dateinamen lesen kann; sie werden nicht ge\xF6" "ffnet:",
                                     LangParams({std::to_string(MAX_PATH - 1)})) +
                             NameLines(tooLong_);
  if (!refused_.empty())
    ReportRefusedNames(refused_, tooLong);
  else if (!tooLong.empty())
    MsgBox(tooLong, GetLangText("Main|MsgNameTooLongTitle", "Name zu lang"), MB_ICONERROR | MB_OK);
}

void ReleaseLoadingMutex() {
  if (!LoadingMutex) return;
  ReleaseMutex(LoadingMutex);
  CloseHandle(LoadingMutex);
  LoadingMutex = nullptr;
}

std::string BuildHandOverText(const std::vector<std::string>& Args) {
  std::string text;
  for (const std::string& arg : Args)
    text += "\"" + (IsSwitchArg(arg) || arg.empty() ? arg : ExpandFileName(arg)) + "\" ";
  return text;
}

std::vector<std::vector<std::string>> SplitHandOver(const std::vector<std::string>& Args) {
  size_t fileCount = 0;
  for (const std::string& arg : Args)
    if (!IsSwitchArg(arg)) ++fileCount;
  // The switches in order with the files numbered From to To - 1, in their places.
  auto piece = [&](size_t From, size_t To) {
    std::vector<std::string> args;
    size_t file = 0;
    for (const std::string& arg : Args) {
      if (IsSwitchArg(arg)) {
        args.push_back(arg);
        continue;
      }
      if (file >= From && file < To) args.push_back(arg);
      ++file;
    }
    return args;
  };
  std::vector<std::vector<std::string>> pieces;
  size_t from = 0;
  while (from < fileCount) {
    size_t to = from + 1;  // a path too long for one atom goes alone
    while (to < fileCount && BuildHandOverText(piece(from, to + 1)).size() <= LongestAtomName)
      ++to;
    pieces.push_back(piece(from, to));
    from = to;
  }
  if (pieces.empty()) pieces.push_back(piece(0, 0));
  return pieces;
}

std::vector<std::string> CutForAtoms(const std::string& Text) {
  std::vector<std::string> parts;
  const char* const end = Text.c_str() + Text.size();
  const char* start = Text.c_str();
  while (start < end) {
    // Character by character: a double-byte character stays whole.
    const char* cut = start;
    for (const char* next = CharNextA(cut);
         cut < end && static_cast<size_t>(next - start) <= LongestAtomName; next = CharNextA(cut))
      cut = next;
    parts.emplace_back(start, cut);
    start = cut;
  }
  return parts;
}

std::optional<std::string> JoinHandOver(std::string& Pending, WPARAM wParam,
                                        const std::string& Text) {
  Pending += Text;
  if (wParam & HandOverMoreFollows) return std::nullopt;
  return std::exchange(Pending, std::string());
}

std::string TakeHandOverText(LPARAM Atom) {
  char buffer[AtomNameCapacity] = {};
  UINT length = GlobalGetAtomNameA(static_cast<ATOM>(Atom), buffer, AtomNameCapacity);
  if (length > 0) GlobalDeleteAtom(static_cast<ATOM>(Atom));
  return std::string(buffer, length);
}

void SendHandOver(HWND Running, const std::vector<std::string>& Args, DWORD TimeoutMs,
                  const std::function<void()>& OnTimedOut) {
  std::vector<std::string> parts;
  for (const std::vector<std::string>& piece : SplitHandOver(Args)) {
    std::vector<std::string> cut = CutForAtoms(BuildHandOverText(piece));
    parts.insert(parts.end(), cut.begin(), cut.end());
  }
  if (parts.empty()) parts.emplace_back();  // no arguments: the switches are reset all the same
  for (size_t i = 0; i < parts.size(); ++i) {
    const WPARAM more = i + 1 < parts.size() ? HandOverMoreFollows : 0;
    SendHandOverPart(Running, parts[i], more, TimeoutMs, OnTimedOut);
  }
}

bool HandOverToRunningInstance(const std::vector<std::string>& Args) {
  WaitForFirstInstance();
  HWND running = FindWindowByCaption("Tarvoline", "Tarvoline - ", " - Tarvoline");
  if (!running) return false;
  BringToFront(running);
  SendHandOver(running, Args, HandOverTimeoutMs);
  return true;
}

int RunMainBlock(const std::vector<std::string>& Args) {
  // The loading mutex comes first: a second start that sees the instance mutex then always
  // finds the loading one too, and never looks for a window that is not there yet.
  HANDLE loading = CreateMutexA(nullptr, TRUE, LoadingMutexName);
  SetLastError(0);
  // Never closed: the system removes it with the process.
  HANDLE instance = CreateMutexA(nullptr, TRUE, InstanceMutexName);
  if (instance && GetLastError() == ERROR_ALREADY_EXISTS) {
    if (loading) CloseHandle(loading);
    HandOverToRunningInstance(Args);
    return 0;
  }

  LoadingMutex = loading;
  Application().Initialize();
  if (!CreateConfigFile(ProgramFolder())) {
    ReleaseLoadingMutex();
    return 0;
  }
  Application().SetTitle("Tarvoline");
  TfrmMain mainForm(nullptr);
  frmMain = &mainForm;
  GuardEntry([&] { mainForm.FormCreate(); });
  Application().SetMainForm(&mainForm);
  Application().Run();
  Application().SetMainForm(nullptr);
  ReleaseLoadingMutex();
  frmMain = nullptr;
  return 0;
}
