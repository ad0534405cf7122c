// The built program with a plug-in beside it: started, its plug-in's item clicked through
// window messages, closed; the plug-in is told of each step and finalised before it is freed.
#include <gtest/gtest.h>
#include <windows.h>
#include <optional>
#include <sstream>
#include <string>
#include "PluginTestFixture.h"
#include "dialogs/fPlgMgr.h"
#include "documents/XmlDoc.h"
#include "documents/fHlpMain.h"
#include "support/BuiltProgram.h"
#include "support/TempFolder.h"

namespace {

using Lines = std::vector<std::string>;

HWND MainWindowOf(DWORD ProcessId) {
  for (HWND w = GetTopWindow(nullptr); w; w = GetNextWindow(w, GW_HWNDNEXT)) {
    DWORD owner = 0;
    char text[64] = {};
    GetWindowThreadProcessId(w, &owner);
    GetWindowTextA(w, text, sizeof text);
    if (owner == ProcessId && IsWindowVisible(w) && GetMenu(w) &&
        std::string(text).rfind("Tarvoline", 0) == 0)
      return w;
  }
  return nullptr;
}

// The plug-in's own message box, shown and named after the plug-in.
HWND PluginBoxOf(DWORD ProcessId) {
  for (HWND w = GetTopWindow(nullptr); w; w = GetNextWindow(w, GW_HWNDNEXT)) {
    DWORD owner = 0;
    char text[64] = {}, kind[64] = {};
    GetWindowThreadProcessId(w, &owner);
    GetWindowTextA(w, text, sizeof text);
    GetClassNameA(w, kind, sizeof kind);
    if (owner == ProcessId && IsWindowVisible(w) && std::string(kind) == "#32770" &&
        std::string(text) == "full")
      return w;
  }
  return nullptr;
}

// The shown windows of the process that lie above Wnd.
int ShownAbove(HWND Wnd, DWORD ProcessId) {
  int above = 0;
  for (HWND w = GetWindow(Wnd, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    above += owner == ProcessId && IsWindowVisible(w);
  }
  return above;
}

template <class Probe>
auto WaitFor(Probe P, DWORD TimeoutMs) -> decltype(P()) {
  for (DWORD waited = 0;; waited += 50) {
    if (auto result = P()) return result;
    if (waited >= TimeoutMs) return {};
    Sleep(50);
  }
}

// The program folder's plug-ins and settings location for one run, put back afterwards.
class ProgramWithPlugin : public ::testing::Test {
protected:
  void SetUp() override {
    config_ = BuiltProgramFolder() + ConfigFileName;
    hadConfig_ = GetFileAttributesA(config_.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (hadConfig_) CopyFileA(config_.c_str(), (config_ + ".saved").c_str(), FALSE);
    TXmlDoc doc("?xml");
    doc.WriteString("Settings\\Path", settings.Path());
    ASSERT_TRUE(doc.SaveToFile(config_, 2, true));
    plugins_ = BuiltProgramFolder() + "Plugins\\";
    ASSERT_EQ(GetFileAttributesA(plugins_.c_str()), INVALID_FILE_ATTRIBUTES)
        << "the program folder has plug-ins of its own";
    CreateDirectoryA(plugins_.c_str(), nullptr);
    CopyFileA((plugintest::BuiltPluginsFolder() + "full.plg").c_str(), (plugins_ + "full.plg").c_str(), FALSE);
    HANDLE list = CreateFileA((plugins_ + "AllowedPlugins.ini").c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(list, "full.plg\r\n", 10, &written, nullptr);
    CloseHandle(list);
    SetEnvironmentVariableA("TVP_TEST_LOG", settings.File("calls.log").c_str());
    SetEnvironmentVariableA("TVP_LOG_IDS", "1");
  }
  void TearDown() override {
    if (pi_.hProcess) {
      if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi_.hProcess, 1);
      CloseHandle(pi_.hThread);
      CloseHandle(pi_.hProcess);
    }
    SetEnvironmentVariableA("TVP_TEST_LOG", nullptr);
    SetEnvironmentVariableA("TVP_LOG_IDS", nullptr);
    DeleteFileA((plugins_ + "full.plg").c_str());
    DeleteFileA((plugins_ + "AllowedPlugins.ini").c_str());
    RemoveDirectoryA(plugins_.c_str());
    if (hadConfig_) MoveFileExA((config_ + ".saved").c_str(), config_.c_str(), MOVEFILE_REPLACE_EXISTING);
    else DeleteFileA(config_.c_str());
  }
  Lines Calls() const {
    Lines lines;
    if (GetFileAttributesA(settings.File("calls.log").c_str()) == INVALID_FILE_ATTRIBUTES) return lines;
    std::istringstream in(settings.Read("calls.log"));
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
    }
    return lines;
  }

  // Starts the built program; it is ended at the latest when the test is.
  bool Start() {
    std::string commandLine = "\"" + BuiltProgramPath() + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    return CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &si, &pi_);
  }
  // Its exit code once it has ended within the time, else nullopt.
  std::optional<DWORD> ExitCode(DWORD TimeoutMs) const {
    if (WaitForSingleObject(pi_.hProcess, TimeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 1;
    GetExitCodeProcess(pi_.hProcess, &code);
    return code;
  }

  testsupport::TempFolder settings;
  PROCESS_INFORMATION pi_ = {};

private:
  std::string config_;
  std::string plugins_;
  bool hadConfig_ = false;
};

}  // namespace

TEST_F(ProgramWithPlugin, ItsItemIsClickedByMessageAndItIsFinalizedBeforeDetaching) {
  ASSERT_TRUE(Start());
  ASSERT_TRUE(WaitFor([&] { return Calls().size() >= 10 && Calls().back() == "full AppStarted"; }, 30000))
      << "told once the window is shown";
  HWND main = WaitFor([&] { return MainWindowOf(pi_.dwProcessId); }, 10000);
  ASSERT_NE(main, nullptr);
  // The plug-in found its item's command id through the menu handle it was given.
  Lines calls = Calls();
  ASSERT_GE(calls.size(), 9u);
  ASSERT_EQ(calls[8].rfind("full ItemId=", 0), 0u) << calls[8];
  const UINT item = static_cast<UINT>(std::stoul(calls[8].substr(12)));
  ASSERT_NE(item, 0u);
  PostMessageA(main, WM_COMMAND, MAKEWPARAM(item, 0), 0);
  ASSERT_TRUE(WaitFor([&] { return Calls().back() == "full MenuClicked(-1,-1,1,1)"; }, 10000));
  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(ExitCode(20000), std::optional<DWORD>(0));
  EXPECT_EQ(Calls(), (Lines{"full attach", "full Initialize", "full GetInfo(1,empty)",
                            "full GetInfo(2,empty)", "full GetInfo(3,empty)", "full GetInfo(4,empty)",
                            "full GetMenuItemHandlers", "full MenuChanged(-1,0,1,1)",
                            calls[8], "full AppStarted", "full MenuItem(-1)", "full MenuClicked(-1,-1,1,1)",
                            "full Finalize", "full detach"}));
}

// A plug-in may show a box of its own while it is loaded at the start, past the program's
// modal questions: no window of the start, the splash included, covers it.
TEST_F(ProgramWithPlugin, ABoxOfItsOwnWhileLoadingIsNotCovered) {
  SetEnvironmentVariableA("TVP_INIT_BOX", "1");
  const bool started = Start();
  SetEnvironmentVariableA("TVP_INIT_BOX", nullptr);
  ASSERT_TRUE(started);
  HWND box = WaitFor([&] { return PluginBoxOf(pi_.dwProcessId); }, 30000);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(ShownAbove(box, pi_.dwProcessId), 0) << "a window of the program covers the box";
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  HWND main = WaitFor([&] { return MainWindowOf(pi_.dwProcessId); }, 20000);
  ASSERT_NE(main, nullptr) << "the start goes on after the box";
  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(ExitCode(20000), std::optional<DWORD>(0));
}
