// Starts the built program itself and drives it with window messages.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>

namespace {
// The Unix path of the build, as Wine's Z: drive sees it.
std::string ProgramPath() {
  std::string p = TARVOLINE_EXE;
  if (!p.empty() && p[0] == '/') p = "Z:" + p;
  for (char& c : p) if (c == '/') c = '\\';
  return p;
}

HWND WaitForWindow(const char* Caption, DWORD TimeoutMs) {
  for (DWORD waited = 0; waited < TimeoutMs; waited += 50) {
    if (HWND w = FindWindowA(nullptr, Caption)) return w;
    Sleep(50);
  }
  return nullptr;
}
}  // namespace

TEST(Program, StartsShowsItsWindowAndEndsCleanlyOnClose) {
  STARTUPINFOA si = {sizeof si};
  PROCESS_INFORMATION pi = {};
  std::string cmd = "\"" + ProgramPath() + "\"";
  ASSERT_TRUE(CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
      << "cannot start " << cmd;
  HWND wnd = WaitForWindow("Tarvoline", 20000);
  ASSERT_NE(wnd, nullptr) << "no window captioned Tarvoline";
  EXPECT_TRUE(IsWindowVisible(wnd));
  PostMessageA(wnd, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(pi.hProcess, 20000), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeProcess(pi.hProcess, &code);
  EXPECT_EQ(code, 0u);
  if (code == STILL_ACTIVE) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
}
