// The main routine's pieces: the hand-over text, reading it back from the atom, the wait of
// a second start while the first is still loading, and the splash that covers the start.
#include <gtest/gtest.h>
#include <windows.h>
#include <atomic>
#include <string>
#include <thread>
#include <vector>
#include "foundation/fMain.h"
#include "mainwindow/MainBlock.h"
#include "mainwindow/formMain.h"
#include "mainwindow/formSplash.h"
#include "support/ModalAnswers.h"

namespace {

std::string CurrentFolder() {
  char dir[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, dir);
  std::string s = dir;
  if (!s.empty() && s.back() != '\\') s += '\\';
  return s;
}

// The atom as a second instance would add it; deleted at the end of the test.
class Atom {
public:
  explicit Atom(const std::string& Text) : atom_(GlobalAddAtomA(Text.c_str())) {}
  ~Atom() {
    if (atom_) GlobalDeleteAtom(atom_);
  }
  ATOM Get() const { return atom_; }

private:
  ATOM atom_;
};

}  // namespace

TEST(HandOverText, QuotesEveryArgumentAndMakesFilesFullPaths) {
  std::string here = CurrentFolder();
  struct Case {
    std::vector<std::string> args;
    std::string expected;
  } cases[] = {
      {{}, ""},
      {{"a.txt"}, "\"" + here + "a.txt\" "},
      {{"a.txt", "-LOCK"}, "\"" + here + "a.txt\" \"-LOCK\" "},
      {{"/ML", "C:\\x\\b.txt"}, "\"/ML\" \"C:\\x\\b.txt\" "},
      {{"sub\\..\\c.txt", "/POS:3"}, "\"" + here + "c.txt\" \"/POS:3\" "},
  };
  for (const Case& c : cases) EXPECT_EQ(BuildHandOverText(c.args), c.expected);
}

TEST(HandOverText, SplitsBackIntoTheSameArguments) {
  std::string text = BuildHandOverText({"C:\\a b\\x.txt", "/ML", "C:\\y.txt"});
  EXPECT_EQ(SplitCommandLine(text, false), "C:\\a b\\x.txt\x01/ML\x01" "C:\\y.txt");
}

TEST(HandOverText, LongListsGoInPiecesThatEachFitAnAtomWithEverySwitch) {
  auto path = [](char Letter, size_t Length) { return "C:\\" + std::string(Length, Letter); };
  using Pieces = std::vector<std::vector<std::string>>;
  // Each quoted path with its blank takes its length plus 3.
  std::string a = path('a', 123), b = path('b', 120), b2 = path('b', 121);
  EXPECT_EQ(SplitHandOver({a, b}), (Pieces{{a, b}})) << "exactly 255 characters";
  EXPECT_EQ(SplitHandOver({a, b2}), (Pieces{{a}, {b2}})) << "one over";
  EXPECT_EQ(SplitHandOver({}), (Pieces{{}}));
  EXPECT_EQ(SplitHandOver({"/ML"}), (Pieces{{"/ML"}}));
  EXPECT_EQ(SplitHandOver({a, path('x', 253), "/ML"}),
            (Pieces{{a, "/ML"}, {path('x', 253), "/ML"}}))
      << "too long for an atom: a piece of its own, cut when sent";
  const std::string text = BuildHandOverText({path('x', 253), "/ML"});
  const std::vector<std::string> parts = CutForAtoms(text);
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_EQ(parts[0].size(), 255u);
  EXPECT_EQ(parts[0] + parts[1], text);
  EXPECT_TRUE(CutForAtoms("").empty());

  std::vector<std::string> args{"/ML"};
  for (char c = 'a'; c < 'k'; ++c) args.push_back(path(c, 60));
  args.push_back("-LOCK");
  Pieces pieces = SplitHandOver(args);
  ASSERT_GT(pieces.size(), 1u);
  std::vector<std::string> files;
  for (const std::vector<std::string>& piece : pieces) {
    EXPECT_LE(BuildHandOverText(piece).size(), 255u);
    EXPECT_EQ(piece.front(), "/ML");
    EXPECT_EQ(piece.back(), "-LOCK");
    files.insert(files.end(), piece.begin() + 1, piece.end() - 1);
  }
  EXPECT_EQ(files, std::vector<std::string>(args.begin() + 1, args.end() - 1)) << "none lost";
}

TEST(HandOverText, TheReceiverReadsTheAtomWhateverLengthTheSenderClaimsAndDeletesIt) {
  std::string longest(255, 'x');
  for (const std::string& text : {std::string("\"C:\\a.txt\" "), longest}) {
    ATOM atom = GlobalAddAtomA(text.c_str());
    ASSERT_NE(atom, 0) << text.size();
    EXPECT_EQ(TakeHandOverText(atom), text);
    EXPECT_EQ(GlobalFindAtomA(text.c_str()), 0) << text.size();
  }
  // Too long for the atom table: the sender gets no atom, the window reads nothing.
  EXPECT_EQ(Atom(std::string(256, 'x')).Get(), 0);
  EXPECT_EQ(TakeHandOverText(0), "");
}

// A running window whose thread is busy (serves no messages) until released.
class BusyWindow {
public:
  BusyWindow() {
    thread_ = std::thread([this] { Run(); });
    while (!window_) Sleep(1);
  }
  ~BusyWindow() {
    if (thread_.joinable()) Received();
    CloseHandle(release_);
  }
  HWND Handle() const { return window_; }
  void Release() { SetEvent(release_); }
  // The text of the first hand-over the window has served; empty when none came.
  std::string Received() {
    Release();
    PostThreadMessageA(threadId_, WM_QUIT, 0, 0);  // ends the wait for one that never comes
    thread_.join();
    return received_;
  }

private:
  static LRESULT CALLBACK Proc(HWND Wnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (Msg != WM_OPENCOMMANDLINE) return DefWindowProcA(Wnd, Msg, wParam, lParam);
    auto* self = reinterpret_cast<BusyWindow*>(GetWindowLongPtrA(Wnd, GWLP_USERDATA));
    // A repeat of a message that was delivered late finds the atom gone.
    const std::string text = TakeHandOverText(lParam);
    if (text.empty()) return 0;
    self->received_ = text;
    PostQuitMessage(0);
    return 0;
  }
  void Run() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "BusyHandOverWindow";
    RegisterClassA(&wc);
    HWND wnd = CreateWindowExA(0, wc.lpszClassName, "Tarvoline", 0, 0, 0, 0, 0, HWND_MESSAGE,
                               nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    threadId_ = GetCurrentThreadId();
    window_ = wnd;
    WaitForSingleObject(release_, INFINITE);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    DestroyWindow(wnd);
  }

  HANDLE release_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::atomic<HWND> window_{nullptr};
  DWORD threadId_ = 0;
  std::string received_;
  std::thread thread_;
};

TEST(HandOverText, AHandOverThatTimesOutOnABusyWindowStillArrivesWhole) {
  const std::vector<std::string> args = {"C:\\busy\\a.txt", "/LOCK"};
  BusyWindow busy;
  int timeOuts = 0;
  // The window serves nothing until the first send has timed out.
  SendHandOver(busy.Handle(), args, 1000, [&] {
    ++timeOuts;
    busy.Release();
  });
  EXPECT_GE(timeOuts, 1);
  const std::string text = BuildHandOverText(args);
  EXPECT_EQ(busy.Received(), text);
  EXPECT_EQ(GlobalFindAtomA(text.c_str()), 0) << "the receiver deleted the atom";
}

TEST(LoadingMutex, ReleasingTwiceIsHarmless) {
  LoadingMutex = CreateMutexA(nullptr, TRUE, nullptr);
  ASSERT_NE(LoadingMutex, nullptr);
  ReleaseLoadingMutex();
  EXPECT_EQ(LoadingMutex, nullptr);
  ReleaseLoadingMutex();
  EXPECT_EQ(LoadingMutex, nullptr);
}

TEST(LoadingMutex, SecondStartWaitsUntilTheFirstHasLoaded) {
  ASSERT_EQ(FindWindowByCaption("Tarvoline", "Tarvoline - ", " - Tarvoline"), nullptr)
      << "another main window is open";
  LoadingMutex = CreateMutexA(nullptr, TRUE, LoadingMutexName);
  ASSERT_NE(LoadingMutex, nullptr);
  std::atomic<bool> done{false};
  bool handedOver = true;
  std::thread second([&] {
    handedOver = HandOverToRunningInstance({"a.txt"});
    done = true;
  });
  Sleep(400);
  EXPECT_FALSE(done) << "the second start did not wait for the first";
  ReleaseLoadingMutex();
  for (int i = 0; i < 50 && !done; ++i) Sleep(50);
  EXPECT_TRUE(done) << "the second start still waits after the first has loaded";
  second.join();
  EXPECT_FALSE(handedOver) << "no window was running to take the arguments";
}

TEST(StartSplash, AQuestionOfTheStartShowsWithoutIt) {
  int laterHooks = 0;
  {
    TfrmSplash splash(nullptr);
    splash.FormCreate();
    splash.ShowForStart();
    ASSERT_TRUE(IsWindowVisible(splash.Handle()));
    bool hidden = false;
    testsupport::QueueAnswer({IDOK}, [&](const ModalQuestion&) {
      hidden = !IsWindowVisible(splash.Handle());
    });
    MsgBox("Frage", "Titel", MB_OK);
    EXPECT_TRUE(hidden) << "the splash covers the question";
    // Once hidden the splash has let go of the hook: one set later stays when it goes.
    SetBeforeModal([&] { ++laterHooks; });
  }
  testsupport::QueueAnswer(IDOK);
  MsgBox("Frage", "Titel", MB_OK);
  EXPECT_EQ(laterHooks, 1);
}
