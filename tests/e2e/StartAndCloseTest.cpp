// Starts the built program itself and drives it with window messages: one instance per
// session, a window stored off the screen, the hand-over of a second start, a file name the
// code page cannot hold, closing with a changed document, and the documents of the last run.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>
#include "RunningProgram.h"
#include "documents/fHlpMain.h"

namespace {

BOOL CALLBACK CollectTabControl(HWND Wnd, LPARAM Found) {
  char cls[64] = {};
  GetClassNameA(Wnd, cls, sizeof cls);
  if (lstrcmpiA(cls, WC_TABCONTROLA) == 0 && IsWindowVisible(Wnd)) {
    *reinterpret_cast<HWND*>(Found) = Wnd;
    return FALSE;
  }
  return TRUE;
}

// The number of document tabs, asked of the tab control itself.
int TabCount(HWND Main) {
  HWND tabs = nullptr;
  EnumChildWindows(Main, CollectTabControl, reinterpret_cast<LPARAM>(&tabs));
  return tabs ? static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0)) : -1;
}

bool WaitForTabCount(HWND Main, int Count, DWORD TimeoutMs) {
  return WaitFor([&] { return TabCount(Main) == Count; }, TimeoutMs);
}

// The splash is the program's one window without a caption.
BOOL CALLBACK CollectSplash(HWND Wnd, LPARAM Found) {
  if (ClassOf(Wnd) == "TarvolineForm" && IsWindowVisible(Wnd) && WindowText(Wnd).empty()) {
    *reinterpret_cast<HWND*>(Found) = Wnd;
    return FALSE;
  }
  return TRUE;
}

HWND ShownSplashOf(DWORD ThreadId) {
  HWND found = nullptr;
  EnumThreadWindows(ThreadId, CollectSplash, reinterpret_cast<LPARAM>(&found));
  return found;
}

}  // namespace

TEST_F(ProgramTest, StartsShowsItsWindowAndEndsCleanlyOnClose) {
  RunningProgram program("", "");
  ASSERT_TRUE(program.Started()) << "cannot start " << BuiltProgramPath();
  HWND wnd = program.WaitForMainWindow();
  ASSERT_NE(wnd, nullptr) << "no visible window captioned Tarvoline";
  EXPECT_TRUE(WaitForTabCount(wnd, 1, 5000)) << "an untitled document is open";
  EXPECT_EQ(WindowText(wnd), "Tarvoline - Unbenannt1");
  PostMessageA(wnd, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(20000), std::optional<DWORD>(0));
  EXPECT_NE(GetFileAttributesA(Settings.SettingsFile.c_str()), INVALID_FILE_ATTRIBUTES)
      << "closing writes the settings";
}

TEST_F(ProgramTest, AWindowStoredOffTheScreenOpensOnIt) {
  RECT work = {};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  constexpr int32_t Max = INT32_MAX, Min = INT32_MIN;
  struct Case {
    const char* stored;
    int32_t left, top, width, height;
    RECT shown;
  } cases[] = {
      {"where a second monitor was", 3000, 20, 640, 480,
       {work.right - 640, 20, work.right, 500}},
      {"damaged", Max, Min, Max, Max, work},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    WriteSettings([&] {
      Settings.FormLeft = c.left;
      Settings.FormTop = c.top;
      Settings.FormWidth = c.width;
      Settings.FormHeight = c.height;
    });
    RunningProgram program("", "");
    HWND wnd = program.WaitForMainWindow();
    ASSERT_NE(wnd, nullptr);
    RECT shown = {};
    GetWindowRect(wnd, &shown);
    EXPECT_TRUE(EqualRect(&shown, &c.shown))
        << shown.left << "," << shown.top << " " << shown.right << "," << shown.bottom;
    PostMessageA(wnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(20000), std::optional<DWORD>(0));
  }
}

TEST_F(ProgramTest, SecondStartHandsItsFilesToTheRunningWindowAndEnds) {
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) files.Write(name, name);
  RunningProgram first("a.txt b.txt", files.Path());
  ASSERT_TRUE(first.Started());
  HWND wnd = first.WaitForMainWindow();
  ASSERT_NE(wnd, nullptr);
  ASSERT_TRUE(WaitForTabCount(wnd, 2, 10000)) << TabCount(wnd);

  // Relative names of the second start mean its own folder, not the first one's.
  RunningProgram second("sub\\..\\c.txt /ML", files.Path());
  ASSERT_TRUE(second.Started());
  EXPECT_EQ(second.WaitForExit(20000), std::optional<DWORD>(0));
  EXPECT_TRUE(WaitForTabCount(wnd, 3, 5000)) << TabCount(wnd);
  EXPECT_EQ(FindMainWindow(second.ProcessId()), nullptr) << "a second start shows no window";
  PostMessageA(wnd, WM_CLOSE, 0, 0);
  EXPECT_EQ(first.WaitForExit(20000), std::optional<DWORD>(0));
}

TEST_F(ProgramTest, SecondStartDuringStartUpWaitsThenHandsOver) {
  for (const char* name : {"a.txt", "c.txt"}) files.Write(name, name);
  RunningProgram first("a.txt", files.Path());
  ASSERT_TRUE(first.Started());
  // The second starts as soon as the first has claimed the session, long before its window.
  HANDLE claimed = WaitFor([] { return OpenMutexA(SYNCHRONIZE, FALSE, "Orvask_Tarvoline_Mutex"); },
                           20000);
  ASSERT_NE(claimed, nullptr);
  CloseHandle(claimed);
  RunningProgram second("c.txt", files.Path());
  ASSERT_TRUE(second.Started());
  EXPECT_EQ(second.WaitForExit(30000), std::optional<DWORD>(0));
  HWND wnd = first.WaitForMainWindow();
  ASSERT_NE(wnd, nullptr);
  EXPECT_TRUE(WaitForTabCount(wnd, 2, 5000)) << "the waiting start's file is missing";
  PostMessageA(wnd, WM_CLOSE, 0, 0);
  EXPECT_EQ(first.WaitForExit(20000), std::optional<DWORD>(0));
}

TEST_F(ProgramTest, ANameTheCodePageCannotHoldIsRefusedByNameAndItsLookAlikeIsLeftAlone) {
  files.Write("Omega.txt", "omega-lateinisch");
  files.Write(std::wstring(L"\u03A9mega.txt"), "OMEGA-GRIECHISCH");
  RunningProgram first(L"\u03A9mega.txt", files.Path());
  ASSERT_TRUE(first.Started());
  ASSERT_NE(WaitFor([&] { return FindDialogOf(first.ThreadId()); }, 10000), nullptr);
  EXPECT_EQ(ShownSplashOf(first.ThreadId()), nullptr) << "the splash still covers the message";
  EXPECT_NE(AnswerMessage(first.ThreadId()).find("?mega.txt"), std::string::npos);
  HWND wnd = first.WaitForMainWindow();
  ASSERT_NE(wnd, nullptr);
  EXPECT_TRUE(WaitForTabCount(wnd, 1, 5000));
  EXPECT_EQ(WindowText(wnd), "Tarvoline - Unbenannt1");

  // The second start waits until the running window has taken its names.
  RunningProgram second(L"\u03A9mega.txt", files.Path());
  EXPECT_NE(AnswerMessage(first.ThreadId()).find(files.File("?mega.txt")), std::string::npos) << "handed over";
  EXPECT_EQ(second.WaitForExit(20000), std::optional<DWORD>(0));
  EXPECT_EQ(TabCount(wnd), 1);
  EXPECT_EQ(WindowText(wnd), "Tarvoline - Unbenannt1");
  PostMessageA(wnd, WM_CLOSE, 0, 0);
  EXPECT_EQ(first.WaitForExit(20000), std::optional<DWORD>(0));
  EXPECT_EQ(files.Read("Omega.txt"), "omega-lateinisch");
}

TEST_F(ProgramTest, ClosingAChangedDocumentAsksAndTheNextStartReopensItWithItsCaret) {
  files.Write("a.txt", "hello world\r\n");
  WriteSettings([] {
    Settings.General.OpenLastDocsAtStartup = true;
    Settings.General.ShowSplashScreen = false;
  });
  {
    RunningProgram program("a.txt", files.Path());
    HWND wnd = program.WaitForMainWindow();
    ASSERT_NE(wnd, nullptr);
    ASSERT_TRUE(WaitFor([&] { return WindowText(wnd) == "Tarvoline - a.txt"; }, 10000));
    // Typing goes to the document: the window gives its editor the focus.
    HWND editor = WaitFor(
        [&]() -> HWND {
          HWND focus = FocusOf(program.ThreadId());
          return focus && focus != wnd ? focus : nullptr;
        },
        5000);
    ASSERT_NE(editor, nullptr) << "the document's editor has no focus";
    for (char c : std::string("xyz")) PostMessageA(editor, WM_CHAR, c, 1);
    Sleep(300);
    PostMessageA(wnd, WM_CLOSE, 0, 0);
    HWND question = WaitFor([&] { return FindDialogOf(program.ThreadId()); }, 10000);
    ASSERT_NE(question, nullptr) << "closing a changed document did not ask";
    PostMessageA(question, WM_COMMAND, IDNO, 0);  // discard the change
    EXPECT_EQ(program.WaitForExit(20000), std::optional<DWORD>(0));
  }
  EXPECT_EQ(files.Read("a.txt"), "hello world\r\n") << "the discarded change was saved";
  LoadSettings();
  ASSERT_EQ(Settings.LastDocList.Count(), 1);
  const std::string remembered = Settings.LastDocList[0];
  EXPECT_EQ(remembered.substr(0, remembered.find('\t')), files.File("a.txt"));
  EXPECT_EQ(remembered.substr(remembered.find('\t') + 1, 1), "3") << remembered;

  RunningProgram again("", files.Path());
  HWND wnd = again.WaitForMainWindow();
  ASSERT_NE(wnd, nullptr);
  EXPECT_TRUE(WaitForTabCount(wnd, 1, 5000));
  EXPECT_EQ(WindowText(wnd), "Tarvoline - a.txt");
  PostMessageA(wnd, WM_CLOSE, 0, 0);
  EXPECT_EQ(again.WaitForExit(20000), std::optional<DWORD>(0));
  LoadSettings();
  ASSERT_EQ(Settings.LastDocList.Count(), 1);
  EXPECT_EQ(Settings.LastDocList[0], remembered) << "the caret came back where it was";
}
