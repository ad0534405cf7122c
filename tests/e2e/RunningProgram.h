// Starts the built program as its own process and finds its windows, for the end-to-end tests.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <optional>
#include <string>
#include "documents/XmlDoc.h"
#include "documents/fHlpMain.h"
#include "rtl/SysUtils.h"
#include "support/BuiltProgram.h"
#include "support/WindowText.h"
#include "support/TempFolder.h"

using testsupport::WindowText;

inline std::string ClassOf(HWND Wnd) {
  char name[64] = {};
  GetClassNameA(Wnd, name, sizeof name);
  return name;
}

// The visible main window of that process: its caption begins with "Tarvoline".
inline HWND FindMainWindow(DWORD ProcessId) {
  for (HWND w = GetTopWindow(nullptr); w; w = GetNextWindow(w, GW_HWNDNEXT)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == ProcessId && IsWindowVisible(w) && WindowText(w).rfind("Tarvoline", 0) == 0)
      return w;
  }
  return nullptr;
}

// Asks P every 50 ms until it gives a true value or the time is up (then an empty one).
template <class Probe>
auto WaitFor(Probe P, DWORD TimeoutMs) -> decltype(P()) {
  for (DWORD waited = 0;; waited += 50) {
    if (auto result = P()) return result;
    if (waited >= TimeoutMs) return {};
    Sleep(50);
  }
}

inline BOOL CALLBACK CollectDialog(HWND Wnd, LPARAM Found) {
  char cls[16] = {};
  GetClassNameA(Wnd, cls, sizeof cls);
  if (lstrcmpA(cls, "#32770") == 0 && IsWindowVisible(Wnd)) {
    *reinterpret_cast<HWND*>(Found) = Wnd;
    return FALSE;
  }
  return TRUE;
}

// The visible message box or dialog of another process's thread.
inline HWND FindDialogOf(DWORD ThreadId) {
  HWND found = nullptr;
  EnumThreadWindows(ThreadId, CollectDialog, reinterpret_cast<LPARAM>(&found));
  return found;
}

inline BOOL CALLBACK CollectStaticText(HWND Wnd, LPARAM Text) {
  if (ClassOf(Wnd) == "Static") *reinterpret_cast<std::string*>(Text) += WindowText(Wnd);
  return TRUE;
}

// The texts a message box of another process shows.
inline std::string DialogText(HWND Dialog) {
  std::string text;
  EnumChildWindows(Dialog, CollectStaticText, reinterpret_cast<LPARAM>(&text));
  return text;
}

// The text of the message box the program shows next, which is then answered with OK.
inline std::string AnswerMessage(DWORD ThreadId) {
  HWND box = WaitFor([&] { return FindDialogOf(ThreadId); }, 10000);
  if (!box) return "(no message)";
  const std::string text = DialogText(box);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  WaitFor([&] { return !IsWindow(box); }, 10000);
  return text;
}

// The window with the keyboard focus in the program's user-interface thread.
inline HWND FocusOf(DWORD ThreadId) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(ThreadId, &info) ? info.hwndFocus : nullptr;
}

// A started program that is ended whatever the test's outcome.
class RunningProgram {
public:
  RunningProgram(const std::string& Args, const std::string& Folder)
      : RunningProgram(AnsiToWide(Args), Folder) {}
  // Wide, as the shell starts it with names the ANSI code page may not hold.
  RunningProgram(const std::wstring& Args, const std::string& Folder) {
    std::wstring commandLine =
        L"\"" + AnsiToWide(BuiltProgramPath()) + L"\"" + (Args.empty() ? L"" : L" " + Args);
    const std::wstring folder = AnsiToWide(Folder);
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    started_ = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              folder.empty() ? nullptr : folder.c_str(), &si, &pi_);
  }
  ~RunningProgram() {
    if (!started_) return;
    if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi_.hProcess, 1);
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
  }
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;
  bool Started() const { return started_; }
  DWORD ProcessId() const { return pi_.dwProcessId; }
  DWORD ThreadId() const { return pi_.dwThreadId; }
  HWND WaitForMainWindow(DWORD TimeoutMs = 30000) {
    return WaitFor([&] { return FindMainWindow(pi_.dwProcessId); }, TimeoutMs);
  }
  // The exit code once it ended within the time, else nothing.
  std::optional<DWORD> WaitForExit(DWORD TimeoutMs) {
    if (WaitForSingleObject(pi_.hProcess, TimeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(pi_.hProcess, &code);
    return code;
  }

private:
  bool started_ = false;
  PROCESS_INFORMATION pi_ = {};
};

// Each test gets its own settings folder, named in the location file beside the program (so
// no first-run dialog asks); the file is put back as it was afterwards.
class ProgramTest : public ::testing::Test {
protected:
  void SetUp() override {
    config_ = BuiltProgramFolder() + ConfigFileName;
    hadConfig_ = GetFileAttributesA(config_.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (hadConfig_) CopyFileA(config_.c_str(), (config_ + ".saved").c_str(), FALSE);
    TXmlDoc doc("?xml");
    doc.WriteString("Settings\\Path", settings.Path());
    ASSERT_TRUE(doc.SaveToFile(config_, 2, true));
    Settings.SettingsFile = settings.File("Tarvoline.ini");
  }
  void TearDown() override {
    if (hadConfig_) MoveFileExA((config_ + ".saved").c_str(), config_.c_str(), MOVEFILE_REPLACE_EXISTING);
    else DeleteFileA(config_.c_str());
  }
  // Writes the settings the next start reads, from the defaults plus Change.
  template <class F>
  void WriteSettings(F Change) {
    LoadSettings();
    Change();
    ASSERT_TRUE(SaveSettings());
  }

  testsupport::TempFolder settings;
  testsupport::TempFolder files;

private:
  std::string config_;
  bool hadConfig_ = false;
};
