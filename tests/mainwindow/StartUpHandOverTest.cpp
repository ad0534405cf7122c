// A running main window taking a second start's arguments and dropped files, also while a
// modal question is open, which then stays in front.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <atomic>
#include <functional>
#include <thread>
#include "foundation/fMain.h"
#include "mainwindow/MainBlock.h"
#include "rtl/SysUtils.h"
#include "support/DocumentsTestFixture.h"
#include "support/WideDrop.h"
#include "support/WhenShown.h"
#include "support/WindowText.h"
#include "support/WindowOrder.h"
#include "toolkit/Application.h"

namespace {

using documentstest::DocumentWindowTest;

class HandOverTest : public DocumentWindowTest {
protected:
  void TearDown() override {
    CmdLineParams.clear();
    Settings.ParamML = false;
    DocumentWindowTest::TearDown();
  }
  // Sends a hand-over as a second instance does; the window takes the atom.
  void HandOver(const std::vector<std::string>& Args) {
    std::string text = BuildHandOverText(Args);
    ATOM atom = GlobalAddAtomA(text.c_str());
    SendMessageA(frmMain->Handle(), WM_OPENCOMMANDLINE, text.size(), atom);
  }
  void Pump(DWORD Ms) {
    Application().ProcessMessagesUntil([] { return false; }, Ms);
  }
  std::vector<std::string> TabFiles() const {
    std::vector<std::string> files;
    for (int i = 0; i < TabCount(); ++i) files.push_back(Frame(i)->DocInfo.FileName);
    return files;
  }
  // A second start as another process makes it, waiting here until its sends are taken.
  static void SecondStartWith(const std::vector<std::string>& Args) {
    std::atomic<bool> done{false};
    std::thread second([&] {
      HandOverToRunningInstance(Args);
      done = true;
    });
    Application().ProcessMessagesUntil([&] { return done.load(); }, 10000);
    second.join();
  }
  // 25 names as the wide command line gives those the code page cannot hold.
  std::vector<std::string> RefusedNames() const {
    std::vector<std::string> names;
    for (int i = 1; i <= 25; ++i)
      names.push_back(folder.File("\xC4rger?" + std::to_string(i) + ".txt"));
    return names;
  }
  // The one box that refuses them: the first 20 by name, the rest counted.
  void ExpectOneRefusalOf(const std::vector<std::string>& Names) {
    std::string listed;
    for (size_t i = 0; i < 20; ++i) listed += "\r\n" + Names[i];
    testsupport::QueueAnswer(ModalAnswer{IDOK}, [=](const ModalQuestion& q) {
      EXPECT_EQ(q.caption, "Ungeeigneter Name");
      EXPECT_EQ(q.text, "Diese Namen enthalten Zeichen, die der Zeichensatz des Systems nicht "
                        "kennt (hier als \"?\" gezeigt). Tarvoline \xF6" "ffnet, durchsucht, "
                        "startet oder speichert unter ihnen nichts:" + listed +
                            "\r\n\x85 und 5 weitere");
      EXPECT_EQ(q.flags, UINT(MB_ICONERROR | MB_OK));
    });
  }
};

// A drop of these names as the shell hands it to the window.
HDROP MakeDrop(const std::vector<std::string>& Names) {
  size_t size = sizeof(DROPFILES) + 1;
  for (const std::string& n : Names) size += n.size() + 1;
  HGLOBAL memory = GlobalAlloc(GHND, size);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  char* p = reinterpret_cast<char*>(drop) + sizeof(DROPFILES);
  for (const std::string& n : Names) {
    memcpy(p, n.c_str(), n.size() + 1);
    p += n.size() + 1;
  }
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

// A shown main window, as a second start finds it.
class HandOverToShownWindowTest : public HandOverTest {
protected:
  void SetUp() override {
    HandOverTest::SetUp();
    Application().SetMainForm(frmMain);
    ShowWindow(frmMain->Handle(), SW_SHOW);
    SetForegroundWindow(frmMain->Handle());
  }
  void TearDown() override {
    Application().SetMainForm(nullptr);
    HandOverTest::TearDown();
  }
  // A second start as another process makes it, waiting here until its send is taken.
  void SecondStart() {
    std::atomic<bool> done{false};
    std::thread second([&] {
      HandOverToRunningInstance({});
      done = true;
    });
    Application().ProcessMessagesUntil([&] { return done.load(); }, 10000);
    second.join();
  }
};

}  // namespace

TEST_F(HandOverToShownWindowTest, AQuestionOpenInTheRunningWindowStaysInFrontOfIt) {
  struct Case {
    const char* question;  // its caption
    int answer;
    std::function<void()> open;
  } cases[] = {
      {"Datei speichern", IDCANCEL,
       [this] {
         Edit(*Open(""), "x");
         CloseDocument();
       }},
      {"Dateien speichern", IDCANCEL,
       [this] {
         Edit(*Open(""), "x");
         Edit(*Open(""), "y");
         MainForm()->FormCloseQuery();
       }},
      {"Datei wurde ge\xE4ndert", IDNO,
       [this] {
         Settings.General.ChangeNotify = false;  // the notice is given by hand
         TfraEdit* doc = OpenWith("doc.txt", "alt\r\n");
         Settings.General.ChangeNotify = true;
         folder.Write("doc.txt", "neu\r\n");
         frmMain->FileChangeNotify(doc->Tag());
       }},
  };
  for (const Case& c : cases) {
    for (bool minimised : {false, true}) {
      SCOPED_TRACE(std::string(c.question) + (minimised ? ", window minimised" : ""));
      bool checked = false;
      testsupport::QueueRealDialog();
      testsupport::TWhenShown whenAsked(
          [&](HWND W) { return testsupport::WindowText(W) == c.question; },
          [&](HWND Question) {
            if (minimised) ShowWindow(frmMain->Handle(), SW_MINIMIZE);
            SecondStart();
            EXPECT_FALSE(IsIconic(frmMain->Handle()));
            EXPECT_TRUE(IsWindowVisible(Question));
            EXPECT_TRUE(testsupport::IsAbove(Question, frmMain->Handle()));
            EXPECT_EQ(GetForegroundWindow(), Question) << "keys and clicks reach the question";
            checked = true;
            PostMessageA(Question, WM_COMMAND, c.answer, 0);
          });
      c.open();
      EXPECT_TRUE(checked);
      Settings.General.ChangeNotify = false;
      for (int i = 0; i < TabCount(); ++i) Frame(i)->DocInfo.Modified = false;
      CloseAllDocuments(false);
    }
  }
}

TEST_F(HandOverTest, OpensExistingFilesAndSkipsTheRestWithoutAsking) {
  folder.Write("a.txt", "a");
  folder.Write("b.txt", "b");
  HandOver({folder.File("a.txt"), folder.File("missing.txt"), "/LOCK", folder.File("b.txt")});
  EXPECT_EQ(TabFiles(), (std::vector<std::string>{folder.File("a.txt"), folder.File("b.txt")}));
  EXPECT_TRUE(testsupport::AskedQuestions().empty());
}

TEST_F(HandOverTest, NamesTheCodePageCannotHoldAreRefusedByNameAndNoLookAlikeOpens) {
  folder.Write("Omega.txt", "omega-lateinisch");
  folder.Write(std::wstring(L"\u03A9mega.txt"), "OMEGA-GRIECHISCH");
  for (int refusals = 0; refusals < 2; ++refusals)
    testsupport::QueueAnswer(ModalAnswer{IDOK}, [&](const ModalQuestion& q) {
      EXPECT_NE(q.text.find("\r\n" + folder.File("?mega.txt")), std::string::npos) << q.text;
    });
  HandOver({folder.File("?mega.txt")});  // as a second start passes on what it could not hold
  SendMessageA(frmMain->Handle(), WM_DROPFILES,
               reinterpret_cast<WPARAM>(testsupport::MakeWideDrop(
                   {AnsiToWide(folder.Path()) + L"\u03A9mega.txt"})), 0);
  EXPECT_TRUE(TabFiles().empty());
  EXPECT_EQ(testsupport::PendingAnswers(), 0u) << "both were refused by name";
}

TEST_F(HandOverTest, SwitchesOfTheHandOverReplaceThoseOfTheRunningInstance) {
  folder.Write("a.txt", "a");
  Settings.General.NoFileMultiLoad = true;
  Open(folder.File("a.txt"));
  HandOver({folder.File("a.txt")});
  EXPECT_EQ(TabCount(), 1) << "without ML an open file is only activated";
  HandOver({"/ML", folder.File("a.txt")});
  EXPECT_TRUE(Settings.ParamML);
  EXPECT_EQ(TabCount(), 2) << "with ML it opens a second time";
  HandOver({});
  EXPECT_FALSE(Settings.ParamML);
  EXPECT_EQ(TabCount(), 2);
}

TEST_F(HandOverTest, WaitsWhileAModalQuestionIsOpenThenOpensInOrder) {
  folder.Write("a.txt", "a");
  folder.Write("b.txt", "b");
  folder.Write("c.txt", "c");
  EnableWindow(frmMain->Handle(), FALSE);  // as a message box owned by the window does
  HandOver({folder.File("a.txt")});
  SendMessageA(frmMain->Handle(), WM_DROPFILES,
               reinterpret_cast<WPARAM>(MakeDrop({folder.File("b.txt")})), 0);
  bool ran = false;
  frmMain->RunWhenNoModal([&] { ran = true; });
  HandOver({folder.File("c.txt")});
  Pump(300);
  EXPECT_EQ(TabCount(), 0);
  EXPECT_FALSE(ran);
  EnableWindow(frmMain->Handle(), TRUE);
  Pump(500);
  EXPECT_TRUE(ran);
  EXPECT_EQ(TabFiles(), (std::vector<std::string>{folder.File("a.txt"), folder.File("b.txt"),
                                                   folder.File("c.txt")}));
}

TEST_F(HandOverTest, PostponedWorkThatFailsIsShownAndTheRestStillRuns) {
  folder.Write("a.txt", "a");
  EnableWindow(frmMain->Handle(), FALSE);  // as a message box owned by the window does
  frmMain->RunWhenNoModal([] { throw Exception("Übergabe gescheitert"); });
  HandOver({folder.File("a.txt")});
  testsupport::QueueAnswer(ModalAnswer{IDOK}, [](const ModalQuestion& q) {
    EXPECT_EQ(q.text, "Übergabe gescheitert");
    EXPECT_TRUE(q.flags & MB_ICONERROR);
  });
  EnableWindow(frmMain->Handle(), TRUE);
  Application().ProcessMessagesUntil([&] { return TabCount() == 1; }, 5000);
  EXPECT_EQ(testsupport::PendingAnswers(), 0u) << "the error box was shown";
  EXPECT_EQ(TabFiles(), std::vector<std::string>{folder.File("a.txt")});
}

TEST_F(HandOverTest, DroppedFolderIsSkippedAndTheFilesOpen) {
  folder.Write("a.txt", "a");
  CreateDirectoryA(folder.File("sub").c_str(), nullptr);
  SendMessageA(frmMain->Handle(), WM_DROPFILES,
               reinterpret_cast<WPARAM>(MakeDrop({folder.File("sub"), folder.File("a.txt")})), 0);
  EXPECT_EQ(TabFiles(), std::vector<std::string>{folder.File("a.txt")});
  RemoveDirectoryA(folder.File("sub").c_str());
}

TEST_F(HandOverTest, SecondStartFindsThisWindowAndHandsOverRelativeNames) {
  folder.Write("rel.txt", "r");
  char previous[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, previous);
  SetCurrentDirectoryA(folder.Path().c_str());
  std::atomic<bool> done{false};
  bool found = false;
  std::thread second([&] {
    found = HandOverToRunningInstance({"rel.txt"});
    done = true;
  });
  // The send waits for this thread to take the message.
  Application().ProcessMessagesUntil([&] { return done.load(); }, 10000);
  second.join();
  SetCurrentDirectoryA(previous);
  EXPECT_TRUE(found);
  EXPECT_EQ(TabFiles(), std::vector<std::string>{folder.File("rel.txt")});
}

TEST_F(HandOverTest, SecondStartWithMoreNamesThanOneAtomHoldsOpensThemAll) {
  std::vector<std::string> names;
  for (char c = 'a'; c < 'h'; ++c) {
    names.push_back(folder.File(std::string(60, c) + ".txt"));
    folder.Write(std::string(60, c) + ".txt", std::string(1, c));
  }
  std::vector<std::string> args = names;
  args.push_back("/ML");
  SecondStartWith(args);
  ASSERT_GT(BuildHandOverText(args).size(), 255u);
  EXPECT_EQ(TabFiles(), names);
  EXPECT_TRUE(Settings.ParamML) << "every piece carries the switches";
}

TEST_F(HandOverTest, ManyRefusedNamesGiveOneBoxAtAFirstStartAndAtASecondStart) {
  folder.Write("a.txt", "a");
  std::vector<std::string> args = RefusedNames();
  args.push_back(folder.File("a.txt"));
  args.push_back("/ML");

  ExpectOneRefusalOf(RefusedNames());
  CmdLineParams.clear();
  for (const std::string& arg : args) CmdLineParams += (CmdLineParams.empty() ? "" : "\x01") + arg;
  MainForm()->FormShow();
  EXPECT_EQ(TabFiles(), std::vector<std::string>{folder.File("a.txt")});

  ASSERT_GT(SplitHandOver(args).size(), 3u);
  ExpectOneRefusalOf(RefusedNames());
  SecondStartWith(args);
  EXPECT_EQ(TabFiles(), (std::vector<std::string>{folder.File("a.txt"), folder.File("a.txt")}));
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);
}

// Files holding characters the code page lacks, handed over by one second start, are named in
// one box once they are all open.
TEST_F(HandOverTest, FilesOfOneSecondStartThatLackCharactersAreNamedInOneBox) {
  const std::vector<std::string> names = {folder.File("g1.txt"), folder.File("g2.txt")};
  for (const std::string& name : names) folder.Write(ExtractFileName(name), "\xEF\xBB\xBF\xCE\xA9");
  testsupport::QueueAnswer(ModalAnswer{IDOK}, [&](const ModalQuestion& q) {
    EXPECT_EQ(q.caption, "Datei \xF6" "ffnen");
    EXPECT_EQ(q.text, "Diese Dateien enthalten Zeichen, die es in der Codepage des Systems nicht "
                      "gibt; sie werden als \"?\" angezeigt.\r\nBeim Speichern w\xFCrde an ihrer "
                      "Stelle \"?\" in die Datei geschrieben:\r\n" + names[0] + "\r\n" + names[1]);
  });
  HoldCtrl(true);  // the byte-order mark is read
  SecondStartWith(names);
  HoldCtrl(false);
  EXPECT_EQ(TabFiles(), names);
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);
}

// Longer than an atom holds, and than the program can open: it arrives whole, and is refused
// by name.
TEST_F(HandOverTest, ASecondStartRefusesANameLongerThanTheProgramCanOpenAndSaysSo) {
  const std::wstring sub = L"\\\\?\\" + AnsiToWide(folder.Path()) + std::wstring(120, L'd');
  ASSERT_TRUE(CreateDirectoryW(sub.c_str(), nullptr));
  const std::wstring name = sub + L"\\" + std::wstring(281 - sub.size() - 5, L'n') + L".txt";
  ASSERT_EQ(name.size(), 281u);
  HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);

  testsupport::QueueAnswer(ModalAnswer{IDOK}, [&](const ModalQuestion& q) {
    EXPECT_EQ(q.caption, "Name zu lang");
    EXPECT_EQ(q.text, "Diese Namen sind l\xE4nger als die 259 Zeichen, die Tarvoline f\xFCr "
                      "einen Dateinamen lesen kann; sie werden nicht ge\xF6" "ffnet:\r\n" +
                          WideToAnsi(name));
    EXPECT_EQ(q.flags, UINT(MB_ICONERROR | MB_OK));
  });
  SecondStartWith({WideToAnsi(name), "/ML"});
  EXPECT_EQ(TabCount(), 0);
  EXPECT_TRUE(Settings.ParamML);
  DeleteFileW(name.c_str());
  RemoveDirectoryW(sub.c_str());
}

// Names refused for both reasons give one box at a first and at a second start: the refused
// ones under their text, then the long ones under theirs.
TEST_F(HandOverTest, NamesRefusedAndNamesTooLongGiveOneBoxPerStart) {
  const std::string refused = folder.File("\xC4rger?.txt");
  const std::string tooLong = "\\\\?\\" + folder.Path() + std::string(280, 'n') + ".txt";
  const std::vector<std::string> args = {tooLong, refused, "/ML"};
  for (bool first : {true, false}) {
    SCOPED_TRACE(first ? "first start" : "second start");
    testsupport::QueueAnswer(ModalAnswer{IDOK}, [&](const ModalQuestion& q) {
      EXPECT_EQ(q.caption, "Ungeeigneter Name");
      EXPECT_EQ(q.text, "Diese Namen enthalten Zeichen, die der Zeichensatz des Systems nicht "
                        "kennt (hier als \"?\" gezeigt). Tarvoline \xF6" "ffnet, durchsucht, "
                        "startet oder speichert unter ihnen nichts:\r\n" + refused +
                            "\r\n\r\nDiese Namen sind l\xE4nger als die 259 Zeichen, die Tarvoline "
                            "f\xFCr einen Dateinamen lesen kann; sie werden nicht ge\xF6" "ffnet:\r\n" +
                            tooLong);
      EXPECT_EQ(q.flags, UINT(MB_ICONERROR | MB_OK));
    });
    if (first) {
      CmdLineParams = tooLong + "\x01" + refused + "\x01/ML";
      MainForm()->FormShow();
    } else {
      SecondStartWith(args);
    }
    EXPECT_EQ(testsupport::PendingAnswers(), 0u);
    EXPECT_EQ(TabCount(), 1) << "only the first start's new document";
  }
}
