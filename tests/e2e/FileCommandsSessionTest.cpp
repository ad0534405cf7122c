// A work session saved by the running program and opened by a new start: the same documents,
// the same active one and the same caret.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include "app/XmlDoc.h"
#include "app/fHlpMain.h"
#include "app/formMain.h"
#include "toolkit/Menus.h"
#include "support/TempFolder.h"

namespace {

std::string ExePath() {
  std::string p = TARVOLINE_EXE;
  if (!p.empty() && p[0] == '/') p = "Z:" + p;
  for (char& c : p) if (c == '/') c = '\\';
  return p;
}

std::string Text(HWND Wnd) {
  char text[512] = {};
  GetWindowTextA(Wnd, text, sizeof text);
  return text;
}

template <class Probe>
auto Await(Probe P, DWORD TimeoutMs) -> decltype(P()) {
  for (DWORD waited = 0;; waited += 50) {
    if (auto result = P()) return result;
    if (waited >= TimeoutMs) return {};
    Sleep(50);
  }
}

BOOL CALLBACK CollectDialog(HWND Wnd, LPARAM Found) {
  char cls[16] = {};
  GetClassNameA(Wnd, cls, sizeof cls);
  if (lstrcmpA(cls, "#32770") != 0 || !IsWindowVisible(Wnd)) return TRUE;
  *reinterpret_cast<HWND*>(Found) = Wnd;
  return FALSE;
}

struct Program {
  explicit Program(const std::string& Args, const std::string& Folder) {
    std::string line = "\"" + ExePath() + "\" " + Args;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             Folder.c_str(), &si, &pi);
  }
  ~Program() {
    if (!started) return;
    if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  HWND Window() {
    return Await(
        [&]() -> HWND {
          for (HWND w = GetTopWindow(nullptr); w; w = GetNextWindow(w, GW_HWNDNEXT)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == pi.dwProcessId && IsWindowVisible(w) && Text(w).rfind("Tarvoline", 0) == 0)
              return w;
          }
          return nullptr;
        },
        30000);
  }
  bool Ended() { return WaitForSingleObject(pi.hProcess, 20000) == WAIT_OBJECT_0; }
  HWND Dialog() {
    return Await(
        [&]() -> HWND {
          HWND found = nullptr;
          EnumThreadWindows(pi.dwThreadId, CollectDialog, reinterpret_cast<LPARAM>(&found));
          return found;
        },
        10000);
  }
  HWND Focus() {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(pi.dwThreadId, &info) ? info.hwndFocus : nullptr;
  }

  bool started = false;
  PROCESS_INFORMATION pi = {};
};

// The command id the program's menu item has. Another process's menus cannot be read here, but
// ids are handed out in the order the items are made, and the main window makes its menus
// first: a window made the same way in this process, before any other menu, has the same ids.
UINT MenuCommand(const std::string& Name) {
  static std::unique_ptr<TfrmMain> probe = std::make_unique<TfrmMain>(nullptr);
  TMenuItem* item = probe->Find<TMenuItem>(Name);
  return item ? item->Command() : 0;
}

// Answers the program's file dialog with a file name.
bool ChooseFile(Program& P, const std::string& Name) {
  HWND dialog = P.Dialog();
  if (!dialog) return false;
  for (int id : {0x47C, 0x480}) SetDlgItemTextA(dialog, id, Name.c_str());
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  return Await([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 10000);
}

class SessionProgramTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::string exe = ExePath();
    config_ = exe.substr(0, exe.rfind('\\') + 1) + ConfigFileName;
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
  void WriteSettings(bool ReopenLast) {
    LoadSettings();
    Settings.General.ShowSplashScreen = false;
    Settings.General.OpenLastDocsAtStartup = ReopenLast;
    Settings.LastDocList.Clear();
    ASSERT_TRUE(SaveSettings());
  }

  testsupport::TempFolder settings;
  testsupport::TempFolder files;

private:
  std::string config_;
  bool hadConfig_ = false;
};

}  // namespace

TEST_F(SessionProgramTest, ASavedSessionOpensInANewStartWithItsTabsActiveTabAndCaret) {
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) files.Write(name, "zeile eins\r\nzwei\r\n");
  const std::string session = files.File("arbeit.tvs");
  WriteSettings(false);
  {
    Program first("a.txt b.txt c.txt", files.Path());
    HWND wnd = first.Window();
    ASSERT_NE(wnd, nullptr);
    ASSERT_TRUE(Await([&] { return Text(wnd) == "Tarvoline - c.txt"; }, 10000)) << Text(wnd);
    HWND editor = Await([&]() -> HWND {
      HWND focus = first.Focus();
      return focus && focus != wnd ? focus : nullptr;
    }, 5000);
    ASSERT_NE(editor, nullptr);
    for (int i = 0; i < 3; ++i) PostMessageA(editor, WM_KEYDOWN, VK_RIGHT, 1);
    Sleep(300);
    UINT save = MenuCommand("mnuFileSessionSaveAs");
    ASSERT_NE(save, 0u) << "no menu item to save a session";
    PostMessageA(wnd, WM_COMMAND, save, 0);
    ASSERT_TRUE(ChooseFile(first, session));
    ASSERT_TRUE(Await([&] { return GetFileAttributesA(session.c_str()) != INVALID_FILE_ATTRIBUTES; },
                      10000));
    PostMessageA(wnd, WM_CLOSE, 0, 0);
    ASSERT_TRUE(first.Ended());
  }

  WriteSettings(true);  // the next close records every document's caret
  Program second("", files.Path());
  HWND wnd = second.Window();
  ASSERT_NE(wnd, nullptr);
  UINT open = MenuCommand("mnuFileSessionOpen");
  ASSERT_NE(open, 0u);
  PostMessageA(wnd, WM_COMMAND, open, 0);
  ASSERT_TRUE(ChooseFile(second, session));
  EXPECT_TRUE(Await([&] { return Text(wnd) == "Tarvoline - c.txt"; }, 10000))
      << "the active document comes back: " << Text(wnd);
  PostMessageA(wnd, WM_CLOSE, 0, 0);
  ASSERT_TRUE(second.Ended());

  LoadSettings();
  std::vector<std::string> names;
  std::string caretOfC;
  for (int i = 0; i < Settings.LastDocList.Count(); ++i) {
    const std::string line = Settings.LastDocList[i];
    names.push_back(line.substr(0, line.find('\t')));
    if (names.back() == files.File("c.txt")) caretOfC = line.substr(line.find('\t') + 1);
  }
  EXPECT_EQ(names, (std::vector<std::string>{files.File("a.txt"), files.File("b.txt"),
                                            files.File("c.txt")}));
  EXPECT_EQ(caretOfC.substr(0, 2), "3\t") << caretOfC;
  EXPECT_EQ(Settings.LastDocFileName, files.File("c.txt"));
}
