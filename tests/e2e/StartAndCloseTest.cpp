// Starts the built program itself and drives it with window messages.
#include <gtest/gtest.h>
#include <windows.h>
#include <optional>
#include <string>

namespace {
// The Unix path of the build, as Wine's Z: drive sees it.
std::string ProgramPath() {
  std::string p = TARVOLINE_EXE;
  if (!p.empty() && p[0] == '/') p = "Z:" + p;
  for (char& c : p) if (c == '/') c = '\\';
  return p;
}

// The visible top-level window of that process with that caption; another program's
// window of the same caption does not count.
HWND FindProgramWindow(DWORD ProcessId, const char* Caption) {
  for (HWND w = FindWindowExA(nullptr, nullptr, nullptr, Caption); w;
       w = FindWindowExA(nullptr, w, nullptr, Caption)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == ProcessId && IsWindowVisible(w)) return w;
  }
  return nullptr;
}

// The window exists before it is shown: wait for both.
HWND WaitForVisibleWindow(DWORD ProcessId, const char* Caption, DWORD TimeoutMs) {
  for (DWORD waited = 0; waited < TimeoutMs; waited += 50) {
    if (HWND w = FindProgramWindow(ProcessId, Caption)) return w;
    Sleep(50);
  }
  return nullptr;
}
}  // namespace

// A started program that is ended whatever the test's outcome.
class RunningProgram {
public:
  explicit RunningProgram(std::string CommandLine) {
    STARTUPINFOA si = {sizeof si};
    started_ = CreateProcessA(nullptr, CommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &si, &pi_);
  }
  ~RunningProgram() {
    if (!started_) return;
    if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi_.hProcess, 1);
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
  }
  bool Started() const { return started_; }
  DWORD ProcessId() const { return pi_.dwProcessId; }
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

TEST(Program, StartsShowsItsWindowAndEndsCleanlyOnClose) {
  RunningProgram program("\"" + ProgramPath() + "\"");
  ASSERT_TRUE(program.Started()) << "cannot start " << ProgramPath();
  HWND wnd = WaitForVisibleWindow(program.ProcessId(), "Tarvoline", 20000);
  ASSERT_NE(wnd, nullptr) << "no visible window captioned Tarvoline";
  PostMessageA(wnd, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(20000), std::optional<DWORD>(0));
}
