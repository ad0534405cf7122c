// A work session saved by the running program and opened by a new start: the same documents,
// the same active one and the same caret.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <memory>
#include <string>
#include "RunningProgram.h"
#include "documents/fHlpMain.h"
#include "mainwindow/formMain.h"
#include "toolkit/Menus.h"

namespace {

// The command id the program's menu item has. Another process's menus cannot be read here, but
// ids are handed out in the order the items are made, and the main window makes its menus
// first: a window made the same way in this process, before any other menu, has the same ids.
UINT MenuCommand(const std::string& Name) {
  static std::unique_ptr<TfrmMain> probe = std::make_unique<TfrmMain>(nullptr);
  TMenuItem* item = probe->Find<TMenuItem>(Name);
  return item ? item->Command() : 0;
}

// Answers the program's file dialog with a file name.
bool ChooseFile(RunningProgram& P, const std::wstring& Name) {
  HWND dialog = WaitFor([&] { return FindDialogOf(P.ThreadId()); }, 10000);
  if (!dialog) return false;
  for (int id : {0x47C, 0x480}) SetDlgItemTextW(dialog, id, Name.c_str());
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  return WaitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 10000);
}

bool ChooseFile(RunningProgram& P, const std::string& Name) {
  return ChooseFile(P, AnsiToWide(Name));
}

BOOL CALLBACK CollectOkButton(HWND Wnd, LPARAM Found) {
  if (ClassOf(Wnd) != "Button" || WindowText(Wnd) != "Ok") return TRUE;
  *reinterpret_cast<HWND*>(Found) = Wnd;
  return FALSE;
}

// Presses Ok in the program's window of that caption, once it shows.
bool PressOk(const std::string& Caption) {
  HWND window = WaitFor([&]() -> HWND {
    HWND found = FindWindowA(nullptr, Caption.c_str());
    return found && IsWindowVisible(found) ? found : nullptr;
  }, 10000);
  HWND ok = nullptr;
  if (window) EnumChildWindows(window, CollectOkButton, reinterpret_cast<LPARAM>(&ok));
  if (!ok) return false;
  PostMessageA(ok, BM_CLICK, 0, 0);
  return WaitFor([&] { return !IsWindow(window); }, 10000);
}

// Sessions are saved and opened with the splash screen off and no documents of an earlier run.
class SessionProgramTest : public ProgramTest {
protected:
  void WriteSettings(bool ReopenLast) {
    ProgramTest::WriteSettings([&] {
      Settings.General.ShowSplashScreen = false;
      Settings.General.OpenLastDocsAtStartup = ReopenLast;
      Settings.LastDocList.Clear();
    });
  }
};

}  // namespace

TEST_F(SessionProgramTest, ASavedSessionOpensInANewStartWithItsTabsActiveTabAndCaret) {
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) files.Write(name, "zeile eins\r\nzwei\r\n");
  const std::string session = files.File("arbeit.tvs");
  WriteSettings(false);
  {
    RunningProgram first("a.txt b.txt c.txt", files.Path());
    HWND wnd = first.WaitForMainWindow();
    ASSERT_NE(wnd, nullptr);
    ASSERT_TRUE(WaitFor([&] { return WindowText(wnd) == "Tarvoline - c.txt"; }, 10000))
        << WindowText(wnd);
    // Keys go where a person's would: to the shown document's editor once it has the focus.
    HWND editor = WaitFor([&]() -> HWND {
      HWND focus = FocusOf(first.ThreadId());
      return focus && IsWindowVisible(focus) && ClassOf(focus) == "TCodeEdit" ? focus : nullptr;
    }, 5000);
    ASSERT_NE(editor, nullptr);
    // Sent, not posted: the caret has moved when the session is saved, however busy the machine.
    for (int i = 0; i < 3; ++i) SendMessageA(editor, WM_KEYDOWN, VK_RIGHT, 1);
    UINT save = MenuCommand("mnuFileSessionSaveAs");
    ASSERT_NE(save, 0u) << "no menu item to save a session";
    PostMessageA(wnd, WM_COMMAND, save, 0);
    ASSERT_TRUE(ChooseFile(first, session));
    ASSERT_TRUE(WaitFor([&] { return GetFileAttributesA(session.c_str()) != INVALID_FILE_ATTRIBUTES; },
                      10000));
    PostMessageA(wnd, WM_CLOSE, 0, 0);
    ASSERT_TRUE(first.WaitForExit(20000).has_value());
  }

  WriteSettings(true);  // the next close records every document's caret
  RunningProgram second("", files.Path());
  HWND wnd = second.WaitForMainWindow();
  ASSERT_NE(wnd, nullptr);
  UINT open = MenuCommand("mnuFileSessionOpen");
  ASSERT_NE(open, 0u);
  PostMessageA(wnd, WM_COMMAND, open, 0);
  ASSERT_TRUE(ChooseFile(second, session));
  EXPECT_TRUE(WaitFor([&] { return WindowText(wnd) == "Tarvoline - c.txt"; }, 10000))
      << "the active document comes back: " << WindowText(wnd);
  PostMessageA(wnd, WM_CLOSE, 0, 0);
  ASSERT_TRUE(second.WaitForExit(20000).has_value());

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

TEST_F(SessionProgramTest, TheFileDialogsRefuseANameTheCodePageCannotHoldAndTouchNoLookAlike) {
  files.Write("Omega.txt", "omega-lateinisch");
  files.Write(std::wstring(L"\u03A9mega.txt"), "OMEGA-GRIECHISCH");
  files.Write("Sigma-neu.txt", "sigma");
  const std::wstring folder = AnsiToWide(files.Path());
  WriteSettings(false);
  RunningProgram program("", files.Path());
  HWND wnd = program.WaitForMainWindow();
  ASSERT_NE(wnd, nullptr);
  PostMessageA(wnd, WM_COMMAND, MenuCommand("mnuFileOpen"), 0);
  ASSERT_TRUE(ChooseFile(program, folder + L"\u03A9mega.txt"));
  EXPECT_NE(AnswerMessage(program.ThreadId()).find(files.File("?mega.txt")), std::string::npos);
  PostMessageA(wnd, WM_COMMAND, MenuCommand("mnuFileSaveAs"), 0);
  ASSERT_TRUE(ChooseFile(program, folder + L"\u03A3igma-neu.txt"));
  EXPECT_NE(AnswerMessage(program.ThreadId()).find(files.File("?igma-neu.txt")), std::string::npos);
  EXPECT_EQ(WindowText(wnd), "Tarvoline - Unbenannt1");
  PostMessageA(wnd, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(20000), std::optional<DWORD>(0));
  EXPECT_EQ(files.Read("Omega.txt"), "omega-lateinisch");
  EXPECT_EQ(files.Read("Sigma-neu.txt"), "sigma");
}

// A backup or sync tool holds the template store open while the program starts: the program
// says so, and Einstellungen > OK after the tool let go leaves the store as it was.
TEST_F(SessionProgramTest, ATemplateStoreHeldDuringTheStartIsNotWrittenOverByOptionsOk) {
  const std::string store = settings.File("Templates.dat");
  const std::string templates = "<?xml version=\"1.0\"?>\r\n<Templates>\r\n<brief MenuText=\"Brief\">\r\n"
                                "<Before>Sehr geehrte</Before>\r\n</brief>\r\n</Templates>\r\n";
  settings.Write("Templates.dat", templates);
  WriteSettings(false);
  testsupport::HeldFile held(store);
  RunningProgram program("", files.Path());
  ASSERT_TRUE(program.Started());
  const std::string unreadable = AnswerMessage(program.ThreadId());
  EXPECT_EQ(unreadable.find("Die Datei \"" + store + "\" ist vorhanden, konnte aber nicht gelesen werden"), 0u)
      << unreadable;
  HWND wnd = program.WaitForMainWindow();
  ASSERT_NE(wnd, nullptr);
  held.Release();
  PostMessageA(wnd, WM_COMMAND, MenuCommand("mnuExtrasSettings"), 0);
  ASSERT_TRUE(PressOk("Einstellungen"));
  const std::string notSaved = AnswerMessage(program.ThreadId());
  EXPECT_EQ(notSaved.find("Die Datei \"" + store + "\" wurde nicht gespeichert"), 0u) << notSaved;
  PostMessageA(wnd, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(20000), std::optional<DWORD>(0));
  EXPECT_EQ(settings.Read("Templates.dat"), templates);
}

TEST_F(SessionProgramTest, ATemplateStoreWithAZeroByteKeepsTheTextAfterItThroughOptionsOk) {
  const std::string store = settings.File("Templates.dat");
  const std::string templates = "<?xml version=\"1.0\"?>\r\n<Templates>\r\n<brief>\r\n<Before>Hal" +
                                std::string(1, '\0') + "lo </Before>\r\n</brief>\r\n</Templates>\r\n";
  settings.Write("Templates.dat", templates);
  WriteSettings(false);
  RunningProgram program("", files.Path());
  ASSERT_TRUE(program.Started());
  EXPECT_EQ(AnswerMessage(program.ThreadId()),
            "Die Textvorlagen in \"" + store + "\" konnten nicht gelesen werden, weil die Datei "
            "besch\xE4" "digt oder von Hand ge\xE4ndert ist.\r\nSie wurde unver\xE4ndert als \"" +
            store + ".bak\" gesichert; die Textvorlagen beginnen leer.");
  HWND wnd = program.WaitForMainWindow();
  ASSERT_NE(wnd, nullptr);
  PostMessageA(wnd, WM_COMMAND, MenuCommand("mnuExtrasSettings"), 0);
  ASSERT_TRUE(PressOk("Einstellungen"));
  PostMessageA(wnd, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(20000), std::optional<DWORD>(0));
  EXPECT_EQ(settings.Read("Templates.dat.bak"), templates);
}
