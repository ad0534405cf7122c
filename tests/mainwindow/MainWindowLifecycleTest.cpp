// Showing the main window (last documents, command-line files, the missing-file question) and
// closing it (the close query, the save list in front of it, the settings, the end of the Windows
// session).
#include <gtest/gtest.h>
#include <utility>
#include "commands/Templates.h"
#include "commands/clsSnippets.h"
#include "documents/XmlDoc.h"
#include "documents/fLanguage.h"
#include "editor/CodeEdit.h"
#include "foundation/fMain.h"
#include "mainwindow/MainBlock.h"
#include "rtl/SysUtils.h"
#include "support/DocumentsTestFixture.h"
#include "support/WhenShown.h"
#include "support/WindowOrder.h"
#include "toolkit/Application.h"

namespace {

using documentstest::DocumentWindowTest;

ModalAnswer Answer(int Result) {
  ModalAnswer a;
  a.result = Result;
  return a;
}

class MainWindowLifecycleTest : public DocumentWindowTest {
protected:
  void SetUp() override {
    DocumentWindowTest::SetUp();
    Settings.SettingsFile = folder.File("Tarvoline.ini");
    Settings.FormTop = 10;
    Settings.FormLeft = 20;
    Settings.FormWidth = 640;
    Settings.FormHeight = 480;
  }
  void TearDown() override {
    CmdLineParams.clear();
    ReleaseLoadingMutex();
    DocumentWindowTest::TearDown();
  }
  // Shows the window with these command-line arguments.
  void ShowWith(const std::vector<std::string>& Args) {
    CmdLineParams.clear();
    for (size_t i = 0; i < Args.size(); ++i) CmdLineParams += (i ? "\x01" : "") + Args[i];
    MainForm()->FormShow();
  }
  std::vector<std::string> TabFiles() const {
    std::vector<std::string> files;
    for (int i = 0; i < TabCount(); ++i) files.push_back(Frame(i)->DocInfo.FileName);
    return files;
  }
};

bool Contains(const RECT& Outer, const RECT& Inner) {
  return Inner.left >= Outer.left && Inner.top >= Outer.top && Inner.right <= Outer.right &&
         Inner.bottom <= Outer.bottom;
}

}  // namespace

TEST_F(MainWindowLifecycleTest, TheSaveListAtCloseOpensInFrontOfTheWindowAndOnScreen) {
  Application().SetMainForm(frmMain);
  Edit(*Open(""), "x");
  Edit(*Open(""), "y");
  RECT work = {};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const std::pair<const char*, int> states[] = {{"normal", SW_SHOWNORMAL},
                                                {"minimised", SW_MINIMIZE}};
  for (const auto& [state, show] : states) {
    SCOPED_TRACE(state);
    ShowWindow(frmMain->Handle(), show);
    bool checked = false;
    testsupport::QueueRealDialog();
    testsupport::TWhenShown whenAsked(
        [](HWND W) { return W != frmMain->Handle(); },
        [&](HWND List) {
          RECT list = {};
          GetWindowRect(List, &list);
          EXPECT_FALSE(IsIconic(frmMain->Handle())) << "the list shows over the window it lists";
          EXPECT_TRUE(testsupport::IsAbove(List, frmMain->Handle()));
          EXPECT_EQ(GetForegroundWindow(), List);
          EXPECT_TRUE(Contains(work, list));
          checked = true;
          PostMessageA(List, WM_COMMAND, IDCANCEL, 0);
        });
    EXPECT_FALSE(MainForm()->FormCloseQuery());
    EXPECT_TRUE(checked);
  }
  for (int i = 0; i < TabCount(); ++i) Frame(i)->DocInfo.Modified = false;
  Application().SetMainForm(nullptr);
}

TEST_F(MainWindowLifecycleTest, MissingFileQuestionCreatesSkipsOrStops) {
  folder.Write("there.txt", "x");
  const std::string there = folder.File("there.txt");
  struct Case {
    int answer;
    std::vector<std::string> tabs;  // the files open afterwards ("" an untitled document)
    bool created;
  } cases[] = {
      {IDYES, {folder.File("new.txt"), there}, true},
      {IDNO, {there}, false},
      {IDCANCEL, {}, false},  // stops before "there.txt": an untitled document instead
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    CloseAllDocuments(false);
    DeleteFileA(folder.File("new.txt").c_str());
    testsupport::QueueAnswer(Answer(c.answer), [&](const ModalQuestion& q) {
      EXPECT_EQ(q.caption, "Datei nicht gefunden");
      EXPECT_EQ(q.text, "Die Datei \"" + folder.File("new.txt") +
                            "\" wurde nicht gefunden.\r\n\r\nSoll diese Datei jetzt erstellt werden?");
      EXPECT_EQ(q.flags, UINT(MB_ICONQUESTION | MB_YESNOCANCEL | MB_DEFBUTTON2));
    });
    ShowWith({folder.File("new.txt"), "-LOCK", there});
    std::vector<std::string> expected = c.tabs.empty() ? std::vector<std::string>{""} : c.tabs;
    EXPECT_EQ(TabFiles(), expected);
    EXPECT_EQ(FileExists(folder.File("new.txt")), c.created);
  }
}

TEST_F(MainWindowLifecycleTest, FileThatCannotBeCreatedIsReportedAndTheNextOneOpens) {
  folder.Write("b.txt", "b");
  const std::string unreachable = folder.File("no\\such\\folder\\a.txt");
  testsupport::QueueAnswer(IDYES);
  testsupport::QueueAnswer(Answer(IDOK), [&](const ModalQuestion& q) {
    EXPECT_EQ(q.caption, "Datei erstellen");
    EXPECT_EQ(q.text, "Die Datei \"" + unreachable + "\" konnte nicht erstellt werden.");
  });
  ShowWith({unreachable, folder.File("b.txt")});
  EXPECT_EQ(TabFiles(), std::vector<std::string>{folder.File("b.txt")});
}

TEST_F(MainWindowLifecycleTest, AFolderOnTheCommandLineIsNamedAsOneAndNothingIsOpenedOrMade) {
  folder.Write("b.txt", "b");
  CreateDirectoryA(folder.File("sub").c_str(), nullptr);
  const std::string sub = folder.File("sub");
  testsupport::QueueAnswer(Answer(IDOK), [&](const ModalQuestion& q) {
    EXPECT_EQ(q.caption, "Ordner angegeben");
    EXPECT_EQ(q.text, "\"" + sub + "\" ist ein Ordner und keine Datei; er wird nicht ge\xF6" "ffnet.");
  });
  ShowWith({sub, folder.File("b.txt")});
  EXPECT_EQ(TabFiles(), std::vector<std::string>{folder.File("b.txt")});
  EXPECT_TRUE(DirectoryExists(sub));
}

TEST_F(MainWindowLifecycleTest, ANameTheCodePageCouldNotHoldIsRefusedByNameAndTheNextOneOpens) {
  folder.Write("b.txt", "b");
  const std::string refused = folder.File("?mega.txt");  // as the wide command line gives it
  testsupport::QueueAnswer(Answer(IDOK), [&](const ModalQuestion& q) {
    EXPECT_EQ(q.caption, "Ungeeigneter Name");
    EXPECT_NE(q.text.find("\r\n" + refused), std::string::npos) << q.text;
  });
  ShowWith({refused, folder.File("b.txt")});
  EXPECT_EQ(TabFiles(), std::vector<std::string>{folder.File("b.txt")});
}

TEST_F(MainWindowLifecycleTest, ALongPathPrefixIsNoRefusedCharacterButAQuestionMarkBehindItIs) {
  folder.Write("c.txt", "c");
  const std::string prefixed = "\\\\?\\" + folder.File("c.txt");
  const std::string refused = "\\\\?\\" + folder.File("?mega.txt");
  testsupport::QueueAnswer(Answer(IDOK), [&](const ModalQuestion& q) {
    EXPECT_EQ(q.caption, "Ungeeigneter Name");
    EXPECT_EQ(q.text.substr(q.text.find("\r\n")), "\r\n" + refused);
  });
  ShowWith({prefixed, refused});
  ASSERT_EQ(TabCount(), 1);
  EXPECT_EQ(Frame(0)->seEdit->Text(), "c");
  EXPECT_FALSE(IsRefusedFileArg("\\\\?\\UNC\\server\\share\\a.txt"));
  EXPECT_TRUE(IsRefusedFileArg("C:\\?\\a.txt"));
}

TEST_F(MainWindowLifecycleTest, IgnoredMissingFilesAndSwitchesAskNothing) {
  Settings.General.ParamIgnoreNotExistingFiles = true;
  ShowWith({folder.File("gone.txt"), "/ML", "-NOSPLASH"});
  EXPECT_EQ(TabFiles(), std::vector<std::string>{""}) << "an untitled document instead";
  EXPECT_TRUE(testsupport::AskedQuestions().empty());
  EXPECT_TRUE(DocsOpen);
}

TEST_F(MainWindowLifecycleTest, LastDocumentsReopenWithTheirPlacesAndTheActiveOne) {
  folder.Write("a.txt", "alpha\r\nbeta\r\ngamma\r\n");
  folder.Write("b.txt", "one\r\ntwo\r\n");
  Settings.General.OpenLastDocsAtStartup = true;
  Settings.LastDocList.Add(folder.File("a.txt") + "\t7\t4\t2");
  Settings.LastDocList.Add(folder.File("gone.txt") + "\t1\t0\t1");
  Settings.LastDocList.Add(" " + folder.File("b.txt") + " \tx\t\t");
  Settings.LastDocFileName = UpperCase(folder.File("a.txt"));
  ShowWith({});
  ASSERT_EQ(TabFiles(), (std::vector<std::string>{folder.File("a.txt"), folder.File("b.txt")}));
  EXPECT_EQ(Pages().ActivePageIndex(), 0) << "the last active document, case ignored";
  TCodeEdit* a = Frame(0)->seEdit;
  EXPECT_EQ(a->SelStart(), 7);
  EXPECT_EQ(a->SelLength(), 4);
  TCodeEdit* b = Frame(1)->seEdit;
  EXPECT_EQ(b->SelStart(), 1) << "fields that are no numbers take the defaults";
  EXPECT_EQ(b->SelLength(), 0);
}

TEST_F(MainWindowLifecycleTest, LastDocumentsJoinCommandLineFilesOnlyWhenConfigured) {
  folder.Write("last.txt", "l");
  folder.Write("arg.txt", "a");
  Settings.General.OpenLastDocsAtStartup = true;
  Settings.LastDocList.Add(folder.File("last.txt") + "\t1\t0\t1");
  for (bool add : {false, true}) {
    CloseAllDocuments(false);
    Settings.General.AddLastDocsToOpened = add;
    ShowWith({folder.File("arg.txt")});
    std::vector<std::string> expected;
    if (add) expected.push_back(folder.File("last.txt"));
    expected.push_back(folder.File("arg.txt"));
    EXPECT_EQ(TabFiles(), expected) << add;
  }
}

// The program opens the last documents by itself: each is read with its byte-order mark, as the
// user had it. A file the user names keeps the Ctrl rule.
TEST_F(MainWindowLifecycleTest, LastDocumentsAreReadWithTheirByteOrderMark) {
  folder.Write("last.txt", "\xEF\xBB\xBF" "Gr\xC3\xBC\xC3\x9F" "e");
  folder.Write("arg.txt", "\xEF\xBB\xBF" "Gr\xC3\xBC\xC3\x9F" "e");
  Settings.General.OpenLastDocsAtStartup = true;
  Settings.General.AddLastDocsToOpened = true;
  Settings.LastDocList.Add(folder.File("last.txt") + "\t1\t0\t1");
  ShowWith({folder.File("arg.txt")});
  ASSERT_EQ(TabFiles(), (std::vector<std::string>{folder.File("last.txt"), folder.File("arg.txt")}));
  EXPECT_EQ(Frame(0)->seEdit->Text(), "Gr\xFC\xDF" "e");
  EXPECT_EQ(Frame(0)->DocInfo.FileFormat, ffUtf8);
  EXPECT_EQ(Frame(1)->seEdit->Text(), "\xEF\xBB\xBF" "Gr\xC3\xBC\xC3\x9F" "e");
  EXPECT_EQ(Frame(1)->DocInfo.FileFormat, ffAnsi);
}

TEST_F(MainWindowLifecycleTest, AFailureWhileShowingIsShownAndTheOtherFilesStillOpen) {
  folder.Write("there.txt", "x");
  LoadingMutex = CreateMutexA(nullptr, TRUE, nullptr);
  testsupport::QueueAnswer(Answer(IDYES), [](const ModalQuestion&) {
    throw std::runtime_error("failure while showing");
  });
  testsupport::QueueAnswer(Answer(IDOK), [](const ModalQuestion& q) {
    EXPECT_EQ(q.text, "failure while showing");
    EXPECT_TRUE(q.flags & MB_ICONERROR);
  });
  ShowWith({folder.File("missing.txt"), folder.File("there.txt")});
  EXPECT_EQ(testsupport::PendingAnswers(), 0u) << "the error box was shown";
  EXPECT_EQ(TabFiles(), std::vector<std::string>{folder.File("there.txt")});
  EXPECT_EQ(LoadingMutex, nullptr) << "second starts may hand over";
}

TEST_F(MainWindowLifecycleTest, TemplatesOfADestroyedWindowDoNotReachTheNextOne) {
  MainForm()->FormCreate();
  ASSERT_NE(TemplatesDoc, nullptr);
  TemplatesDoc->WriteString("Templates\\sig\\Before", "old window");
  MainForm()->FormDestroy();
  EXPECT_EQ(TemplatesDoc, nullptr);
  EXPECT_EQ(Snips, nullptr);
  EXPECT_EQ(SnipDoc, nullptr);

  LoadTemplatesDoc(folder.File("Templates.dat"));  // no such file: an empty store
  EXPECT_EQ(TemplatesDoc->ReadString("Templates\\sig\\Before", "none"), "none");
  TemplatesDoc.reset();
}

TEST_F(MainWindowLifecycleTest, CloseQueryAsksForSeveralDocumentsWhenConfigured) {
  Open("");
  Open("");
  Settings.General.CloseMultiDocs = true;
  testsupport::QueueAnswer(Answer(IDNO), [](const ModalQuestion& q) {
    EXPECT_EQ(q.caption, "Tarvoline schlie\xDF" "en");
    EXPECT_EQ(q.text, "Es sind 2 Dokumente ge\xF6" "ffnet.\r\nSoll Tarvoline und alle Dokumente "
                      "geschlossen werden?");
  });
  EXPECT_FALSE(MainForm()->FormCloseQuery());
  EXPECT_EQ(TabCount(), 2);
  testsupport::QueueAnswer(IDYES);
  EXPECT_TRUE(MainForm()->FormCloseQuery());
  EXPECT_EQ(TabCount(), 0);
}

TEST_F(MainWindowLifecycleTest, CloseQueryRemembersTheOpenDocumentsFirst) {
  folder.Write("a.txt", "abc");
  Open(folder.File("a.txt"));
  Settings.General.OpenLastDocsAtStartup = true;
  EXPECT_TRUE(MainForm()->FormCloseQuery());
  ASSERT_EQ(Settings.LastDocList.Count(), 1);
  EXPECT_EQ(Settings.LastDocList[0].substr(0, folder.File("a.txt").size()), folder.File("a.txt"));
  EXPECT_EQ(Settings.LastDocFileName, folder.File("a.txt"));
}

TEST_F(MainWindowLifecycleTest, ClosingStoresPlaceOnlyInTheNormalStateAndWritesSettings) {
  ShowWindow(frmMain->Handle(), SW_SHOWNORMAL);
  frmMain->SetBounds(30, 40, 500, 400);
  MainForm()->FormClose();
  EXPECT_EQ(Settings.WindowState, 0);
  EXPECT_EQ(Settings.FormLeft, 30);
  EXPECT_EQ(Settings.FormTop, 40);
  EXPECT_EQ(Settings.FormWidth, 500);
  EXPECT_EQ(Settings.FormHeight, 400);
  EXPECT_TRUE(FileExists(Settings.SettingsFile));

  ShowWindow(frmMain->Handle(), SW_MAXIMIZE);
  MainForm()->FormClose();
  EXPECT_EQ(Settings.WindowState, 1);
  EXPECT_EQ(Settings.FormLeft, 30) << "the normal place survives a maximised close";
  EXPECT_EQ(Settings.FormWidth, 500);
  ShowWindow(frmMain->Handle(), SW_HIDE);

  // What was written reads back.
  Settings.WindowState = 0;
  Settings.FormLeft = 0;
  LoadSettings();
  EXPECT_EQ(Settings.WindowState, 1);
  EXPECT_EQ(Settings.FormLeft, 30);
}

TEST_F(MainWindowLifecycleTest, EndOfSessionIsRefusedWhileAQuestionIsOpen) {
  Settings.General.ChangeNotify = false;  // the notice is given by hand
  TfraEdit* doc = OpenWith("doc.txt", "alt\r\n");
  Settings.General.ChangeNotify = true;
  folder.Write("doc.txt", "neu\r\n");
  LRESULT ended = -1;
  testsupport::QueueAnswer(Answer(IDYES), [&](const ModalQuestion&) {
    // The session ends while the reload question is open, which disables the window.
    EnableWindow(frmMain->Handle(), FALSE);
    ended = SendMessageA(frmMain->Handle(), WM_QUERYENDSESSION, 0, 0);
    SendMessageA(frmMain->Handle(), WM_ENDSESSION, ended, 0);
    EnableWindow(frmMain->Handle(), TRUE);
  });
  frmMain->FileChangeNotify(doc->Tag());
  EXPECT_EQ(ended, FALSE);
  ASSERT_EQ(TabCount(), 1);
  EXPECT_EQ(doc->seEdit->Text(), "neu\r\n") << "the reload reached the document still open";
  EXPECT_FALSE(FileExists(Settings.SettingsFile)) << "nothing closed";

  EXPECT_EQ(SendMessageA(frmMain->Handle(), WM_QUERYENDSESSION, 0, 0), TRUE) << "asked again";
  EXPECT_EQ(TabCount(), 0);
}

TEST_F(MainWindowLifecycleTest, EndOfSessionAsksAboutChangesAndSavesSettings) {
  TfraEdit* doc = Open("");
  Edit(*doc, "changed");
  testsupport::QueueAnswer(IDCANCEL);
  EXPECT_EQ(SendMessageA(frmMain->Handle(), WM_QUERYENDSESSION, 0, 0), FALSE);
  EXPECT_EQ(TabCount(), 1) << "a refused end keeps the document";
  SendMessageA(frmMain->Handle(), WM_ENDSESSION, TRUE, 0);
  EXPECT_FALSE(FileExists(Settings.SettingsFile)) << "nothing written for a refused end";

  testsupport::QueueAnswer(IDNO);
  EXPECT_EQ(SendMessageA(frmMain->Handle(), WM_QUERYENDSESSION, 0, 0), TRUE);
  EXPECT_EQ(TabCount(), 0);
  SendMessageA(frmMain->Handle(), WM_ENDSESSION, TRUE, 0);
  EXPECT_TRUE(FileExists(Settings.SettingsFile));
}
