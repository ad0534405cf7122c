// Saving and closing documents in a real main window: what is written and when, Save As with
// its extension rule, failures that must keep the document, the close questions and the
// save dialog, and round trips of every file format.
#include <gtest/gtest.h>
#include <windows.h>
#include <functional>
#include <memory>
#include <string>
#include "documents/formDocSave.h"
#include "rtl/SysUtils.h"
#include "support/DocumentsTestFixture.h"
#include "toolkit/ListView.h"
#include "toolkit/Timer.h"
#include "toolkit/ToolBar.h"

namespace documentstest {
namespace {

using testsupport::AskedQuestions;
using testsupport::QueueAnswer;
using testsupport::QueueFormAnswer;

using SaveCloseTest = DocumentWindowTest;

ModalAnswer SaveAs(const std::string& FileName, int FilterIndex) {
  ModalAnswer answer;
  answer.result = IDOK;
  answer.value = FileName;
  answer.files = {FileName};
  answer.filterIndex = FilterIndex;
  return answer;
}

TEST_F(SaveCloseTest, UnmodifiedDocumentWritesNothing) {
  TfraEdit* frame = OpenWith("u.txt", "mine");
  folder.Write("u.txt", "changed outside");
  EXPECT_TRUE(SaveDocument(-1));
  EXPECT_EQ(folder.Read("u.txt"), "changed outside");
  EXPECT_TRUE(AskedQuestions().empty());
  // No such tab: nothing to save.
  EXPECT_TRUE(SaveDocument(5));
  EXPECT_TRUE(SaveDocument(-2));
  EXPECT_FALSE(frame->DocInfo.Modified);
}

TEST_F(SaveCloseTest, ModifiedDocumentIsWrittenAndMarkedSaved) {
  TfraEdit* frame = OpenWith("m.txt", "abc\n");
  Edit(*frame, "X");
  EXPECT_TRUE(frame->DocInfo.Modified);
  EXPECT_EQ(Pages().Pages(0)->ImageIndex(), 127);
  Settings.General.TitleShowChanged = true;
  UpdateCaption();
  EXPECT_EQ(frmMain->Caption(), "Tarvoline - *m.txt");
  EXPECT_TRUE(SaveDocument(-1));
  EXPECT_EQ(folder.Read("m.txt"), "Xabc\n");
  EXPECT_FALSE(frame->DocInfo.Modified);
  EXPECT_EQ(Pages().Pages(0)->ImageIndex(), 126);
  EXPECT_EQ(frmMain->Caption(), "Tarvoline - m.txt");
  // The watcher's notices about this write are ignored until the timer ends the period.
  EXPECT_TRUE(frame->DocInfo.IgnoreChangeNotify);
  EXPECT_TRUE(frame->tmrChangeNotify->Enabled());
  EXPECT_EQ(frame->tmrChangeNotify->Interval(), 3000u);
  frame->tmrChangeNotifyTimer(nullptr);
  EXPECT_FALSE(frame->DocInfo.IgnoreChangeNotify);
  EXPECT_FALSE(frame->tmrChangeNotify->Enabled());
}

TEST_F(SaveCloseTest, FailedWriteKeepsTheDocumentModifiedAndTheFileWhole) {
  TfraEdit* frame = OpenWith("f.txt", "original");
  Edit(*frame, "new ");
  struct Case {
    const char* how;
    std::function<void()> breakIt, mendIt;
  } cases[] = {
      {"read-only file",
       [&] { SetFileAttributesA(folder.File("f.txt").c_str(), FILE_ATTRIBUTE_READONLY); },
       [&] { SetFileAttributesA(folder.File("f.txt").c_str(), FILE_ATTRIBUTE_NORMAL); }},
      {"disk full after 3 bytes", [] { SetTextFileFaultsForTests(-1, 3); },
       [] { SetTextFileFaultsForTests(-1, -1); }},
  };
  for (const Case& c : cases) {
    c.breakIt();
    QueueAnswer(ModalAnswer{IDOK}, [&](const ModalQuestion& q) {
      EXPECT_EQ(q.caption, "Datei speichern") << c.how;
      EXPECT_EQ(q.text, "Die Datei \"" + folder.File("f.txt") +
                            "\" konnte nicht gespeichert werden.\r\nM\xF6glicherweise ist die "
                            "Datei schreibgesch\xFCtzt.") << c.how;
      EXPECT_EQ(q.flags, UINT(MB_ICONERROR | MB_OK)) << c.how;
    });
    EXPECT_FALSE(SaveDocument(-1)) << c.how;
    c.mendIt();
    EXPECT_TRUE(frame->DocInfo.Modified) << c.how;
    EXPECT_EQ(folder.Read("f.txt"), "original") << c.how;
    EXPECT_EQ(Pages().Pages(0)->ImageIndex(), 127) << c.how;
  }
  // Closing asks, the save fails again, and the document stays open.
  SetFileAttributesA(folder.File("f.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  QueueAnswer(IDYES);
  QueueAnswer(IDOK);
  EXPECT_FALSE(CloseAllDocuments(false));
  EXPECT_EQ(TabCount(), 1);
  EXPECT_TRUE(frame->DocInfo.Modified);
  SetFileAttributesA(folder.File("f.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(SaveCloseTest, FailedWriteToAVanishedFolderKeepsTheDocumentAndMakesNoFolder) {
  Settings.General.ChangeNotify = false;  // a watched folder could not be removed
  ASSERT_TRUE(CreateDirectoryA(folder.File("gone").c_str(), nullptr));
  TfraEdit* frame = OpenWith("gone\\g.txt", "old");
  ASSERT_NE(frame, nullptr);
  ASSERT_TRUE(DeleteFileA(folder.File("gone\\g.txt").c_str()));
  ASSERT_TRUE(RemoveDirectoryA(folder.File("gone").c_str()));
  Edit(*frame, "x");
  QueueAnswer(ModalAnswer{IDOK}, [&](const ModalQuestion& q) {
    EXPECT_EQ(q.flags, UINT(MB_ICONERROR | MB_OK));
    EXPECT_NE(q.text.find(folder.File("gone\\g.txt")), std::string::npos);
  });
  EXPECT_FALSE(SaveDocument(-1));
  EXPECT_TRUE(frame->DocInfo.Modified);
  EXPECT_EQ(GetFileAttributesA(folder.File("gone").c_str()), INVALID_FILE_ATTRIBUTES);
  // Closing with Yes meets the same failure: the document stays open and changed.
  QueueAnswer(IDYES);
  QueueAnswer(IDOK);
  EXPECT_FALSE(CloseAllDocuments(false));
  EXPECT_EQ(TabCount(), 1);
  EXPECT_TRUE(frame->DocInfo.Modified);
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);
}

TEST_F(SaveCloseTest, WriteHooksDecideWhoWrites) {
  TfraEdit* frame = OpenWith("w.txt", "text\n");
  Edit(*frame, "+");
  std::vector<int> answers;
  std::vector<std::string> calls;
  auto hook = [&](const std::string& Name) {
    return [&, Name](const std::wstring& File, std::wstring& Text, int32_t& LineBreak, int32_t& FileFormat) {
      calls.push_back(Name);
      EXPECT_EQ(File.substr(File.size() - 5), L"w.txt");
      if (Name == "throws") {
        EXPECT_EQ(Text, L"+text\r\n");
        EXPECT_EQ(LineBreak, lbfUnix);
        EXPECT_EQ(FileFormat, ffAnsi);
        throw Exception("failure inside the plug-in");
      }
      // What a plug-in changes is not what the built-in writer uses.
      Text = L"changed by the plug-in";
      LineBreak = lbfMacintosh;
      int answer = answers.front();
      answers.erase(answers.begin());
      return answer;
    };
  };
  FileWriteHooks = {hook("throws"), hook("first"), hook("second")};
  struct Case {
    std::vector<int> answers;
    std::vector<std::string> calls;
    const char* file;
  } cases[] = {
      {{-1, 0}, {"throws", "first", "second"}, "text\n"},  // the second saved it
      {{5}, {"throws", "first"}, "+text\n"},               // the built-in writer saves
      {{-1, -1}, {"throws", "first", "second"}, "+text\n"},
  };
  for (const Case& c : cases) {
    folder.Write("w.txt", "text\n");
    frame->DocInfo.Modified = true;
    answers = c.answers;
    calls.clear();
    EXPECT_TRUE(SaveDocument(-1));
    EXPECT_EQ(calls, c.calls);
    EXPECT_EQ(folder.Read("w.txt"), c.file);
    EXPECT_FALSE(frame->DocInfo.Modified);
  }
}

TEST_F(SaveCloseTest, UntitledDocumentGoesToSaveAs) {
  Open("");
  Edit(*GetActiveFrame(), "hello");
  QueueAnswer(SaveAs(folder.File("new.txt"), 2), [](const ModalQuestion& q) {
    EXPECT_EQ(q.kind, ModalKind::SaveDialog);
    EXPECT_EQ(q.caption, "Speichern von \"Unbenannt1\" unter");
    EXPECT_EQ(q.value, "");
    EXPECT_EQ(q.filter, GetOpenDialogFilter());
  });
  EXPECT_TRUE(SaveDocument(-1));
  TfraEdit* frame = GetActiveFrame();
  EXPECT_EQ(folder.Read("new.txt"), "hello");
  EXPECT_EQ(frame->DocInfo.FileName, folder.File("new.txt"));
  EXPECT_EQ(frame->DocInfo.Title, "new.txt");
  EXPECT_EQ(TabCaptions(), std::vector<std::string>{"new.txt"});
  EXPECT_FALSE(frame->DocInfo.Modified);
  EXPECT_EQ(Settings.OpenMRU[0], folder.File("new.txt"));
  // Cancelled: nothing saved.
  Edit(*frame, "!");
  QueueAnswer(IDCANCEL);
  EXPECT_FALSE(SaveDocumentAs(-1));
  EXPECT_TRUE(frame->DocInfo.Modified);
}

TEST_F(SaveCloseTest, SaveAsAppendsTheExtensionOfTheChosenType) {
  Open("");
  TfraEdit* frame = GetActiveFrame();
  struct Case {
    const char* name;
    int filterIndex;
    const char* saved;
  } cases[] = {
      {"plain", 2, "plain.txt"},
      {"code", 9, "code.cpp"},   // C/C++: never "code.css"
      {"sharp", 10, "sharp.cs"},
      {"any", 1, "any"},
      {"dotted.h", 9, "dotted.h"},
  };
  for (const Case& c : cases) {
    Edit(*frame, "x");
    QueueAnswer(SaveAs(folder.File(c.name), c.filterIndex));
    EXPECT_TRUE(SaveDocumentAs(-1)) << c.name;
    EXPECT_EQ(frame->DocInfo.FileName, folder.File(c.saved)) << c.name;
    EXPECT_EQ(GetFileAttributesA(folder.File(c.saved).c_str()) != INVALID_FILE_ATTRIBUTES, true);
  }
}

TEST_F(SaveCloseTest, SaveAsAsksBeforeOverwritingTheNameItCompleted) {
  folder.Write("taken.txt", "keep");
  TfraEdit* frame = OpenWith("src.cpp", "source");
  Edit(*frame, "x");
  QueueAnswer(SaveAs(folder.File("taken"), 2));
  QueueAnswer(ModalAnswer{IDNO}, [&](const ModalQuestion& q) {
    EXPECT_EQ(q.text, "Die Datei \"" + folder.File("taken.txt") +
                          "\" existiert bereits.\r\nSoll diese Datei \xFC" "berschrieben werden?");
  });
  QueueAnswer(SaveAs(folder.File("taken"), 2));  // No shows the dialog again
  QueueAnswer(IDCANCEL);
  EXPECT_FALSE(SaveDocumentAs(-1));
  EXPECT_EQ(folder.Read("taken.txt"), "keep");
  QueueAnswer(SaveAs(folder.File("taken"), 2));
  QueueAnswer(IDYES);
  EXPECT_TRUE(SaveDocumentAs(-1));
  EXPECT_EQ(folder.Read("taken.txt"), "xsource");
  EXPECT_EQ(folder.Read("src.cpp"), "source");
}

TEST_F(SaveCloseTest, SecondSaveAsksBeforeOverwritingTheFirstBackup) {
  Settings.General.BackupEnabled = true;
  Settings.General.BackupAuto = true;
  Settings.General.BackupOvr = false;
  TfraEdit* frame = OpenWith("b.txt", "v1");
  Edit(*frame, "2");
  EXPECT_TRUE(SaveDocument(-1));
  EXPECT_EQ(folder.Read("b.txt.bak"), "v1");
  Edit(*frame, "3");
  QueueAnswer(ModalAnswer{IDCANCEL}, [](const ModalQuestion& q) {
    EXPECT_EQ(q.caption, "Backupdatei \xFC" "berschreiben");
  });
  EXPECT_FALSE(SaveDocument(-1));  // the refused backup abandons the save
  EXPECT_EQ(folder.Read("b.txt"), "2v1");
  EXPECT_TRUE(frame->DocInfo.Modified);
  QueueAnswer(IDYES);
  EXPECT_TRUE(SaveDocument(-1));
  EXPECT_EQ(folder.Read("b.txt.bak"), "2v1");
  EXPECT_EQ(folder.Read("b.txt"), "23v1");
}

// ---- Closing ------------------------------------------------------------------------------

class CloseTest : public DocumentWindowTest {
protected:
  // Four documents; the first three modified.
  void OpenFour() {
    for (const char* name : {"one.txt", "two.txt", "three.txt", "four.txt"}) OpenWith(name, name);
    for (int i = 0; i < 3; ++i) Edit(*Frame(i), "*");
  }
  std::string Disk(const char* Name) const { return folder.Read(Name); }
};

TEST_F(CloseTest, DialogSavesTheSelectedAndDiscardsTheRest) {
  OpenFour();
  QueueFormAnswer([](TForm& Form) {
    auto& dialog = dynamic_cast<TfrmDocSave&>(Form);
    EXPECT_EQ(dialog.Caption(), "Dateien speichern");
    EXPECT_EQ(dialog.DocumentCount(), 3);
    // Sorted by title; every row selected; each row names its document.
    EXPECT_EQ(dialog.lvDocs->Items(0)->Caption(), "one.txt");
    EXPECT_EQ(dialog.lvDocs->Items(2)->Caption(), "two.txt");
    for (int row = 0; row < 3; ++row) {
      EXPECT_TRUE(dialog.DocumentSelected(row));
      EXPECT_EQ(dialog.lvDocs->Items(row)->SubItem(0), dialog.Document(row)->DocInfo.FileName);
    }
    dialog.lvDocs->Items(1)->SetSelected(false);  // three.txt
    return int(mrOk);
  });
  EXPECT_TRUE(CloseAllDocuments(false));
  EXPECT_EQ(TabCount(), 0);
  EXPECT_EQ(Disk("one.txt"), "*one.txt");
  EXPECT_EQ(Disk("two.txt"), "*two.txt");
  EXPECT_EQ(Disk("three.txt"), "three.txt");
  EXPECT_EQ(frmMain->Caption(), "Tarvoline");
  EXPECT_FALSE(DocsOpen);
  EXPECT_EQ(DocumentNumbers, (std::vector<int32_t>{-1, -1, -1, -1}));
}

TEST_F(CloseTest, DialogAnswersSaveAllNothingOrCancel) {
  struct Case {
    int answer;
    bool result;
    int tabsLeft;
    const char* one;
  } cases[] = {
      {mrYes, true, 0, "*one.txt"},
      {mrNo, true, 0, "one.txt"},
      {mrCancel, false, 3, "one.txt"},  // the unmodified fourth closes all the same
  };
  for (const Case& c : cases) {
    CloseAllDocuments(false);
    for (const char* name : {"one.txt", "two.txt", "three.txt", "four.txt"}) folder.Write(name, name);
    OpenFour();
    QueueFormAnswer([&](TForm&) { return c.answer; });
    EXPECT_EQ(CloseAllDocuments(false), c.result) << c.answer;
    EXPECT_EQ(TabCount(), c.tabsLeft) << c.answer;
    EXPECT_EQ(Disk("one.txt"), c.one) << c.answer;
    if (c.answer == mrCancel) {
      for (int i = 0; i < TabCount(); ++i) EXPECT_TRUE(Frame(i)->DocInfo.Modified);
      for (int i = 0; i < TabCount(); ++i) Frame(i)->DocInfo.Modified = false;
    }
  }
}

TEST_F(CloseTest, AFailedSaveInTheDialogClosesNothing) {
  OpenFour();
  SetFileAttributesA(folder.File("two.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  QueueFormAnswer([](TForm&) { return int(mrYes); });
  QueueAnswer(IDOK);  // the error box for two.txt
  EXPECT_FALSE(CloseAllDocuments(false));
  SetFileAttributesA(folder.File("two.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(TabCount(), 4);
  EXPECT_TRUE(Frame(1)->DocInfo.Modified);
  EXPECT_EQ(Disk("two.txt"), "two.txt");
  EXPECT_TRUE(Pages().Visible());
}

TEST_F(CloseTest, WithoutTheDialogEachDocumentIsAskedFromTheLastTab) {
  OpenFour();
  Edit(*Frame(3), "*");
  Settings.General.ShowSaveDlg = false;
  std::vector<std::string> asked;
  auto record = [&](const ModalQuestion& q) {
    asked.push_back(q.text.substr(11, q.text.find('"', 11) - 11));
  };
  QueueAnswer(ModalAnswer{IDYES}, record);  // four.txt saved
  QueueAnswer(ModalAnswer{IDNO}, record);   // three.txt discarded
  QueueAnswer(ModalAnswer{IDCANCEL}, record);
  EXPECT_FALSE(CloseAllDocuments(false));
  EXPECT_EQ(asked, (std::vector<std::string>{"four.txt", "three.txt", "two.txt"}));
  EXPECT_EQ(TabCount(), 2);
  EXPECT_EQ(Disk("four.txt"), "*four.txt");
  EXPECT_EQ(Disk("three.txt"), "three.txt");
}

TEST_F(CloseTest, OneModifiedDocumentGetsTheSingleQuestion) {
  OpenWith("a.txt", "a");
  OpenWith("b.txt", "b");
  Edit(*Frame(0), "*");
  QueueAnswer(ModalAnswer{IDYES}, [](const ModalQuestion& q) {
    EXPECT_EQ(q.text, "Die Datei \"a.txt\" wurde ge\xE4ndert.\r\nSoll die Datei gespeichert werden?");
    EXPECT_EQ(q.flags, UINT(MB_ICONQUESTION | MB_YESNOCANCEL));
  });
  EXPECT_TRUE(CloseAllDocuments(false));
  EXPECT_EQ(Disk("a.txt"), "*a");
  EXPECT_EQ(TabCount(), 0);
}

TEST_F(CloseTest, ButCurrentKeepsTheActiveDocument) {
  OpenFour();
  Pages().SetActivePageIndex(1);
  QueueFormAnswer([](TForm& Form) {
    EXPECT_EQ(dynamic_cast<TfrmDocSave&>(Form).DocumentCount(), 2);
    return int(mrNo);
  });
  EXPECT_TRUE(CloseAllDocuments(true));
  EXPECT_EQ(TabCaptions(), std::vector<std::string>{"two.txt"});
  EXPECT_TRUE(Frame(0)->DocInfo.Modified);
}

TEST_F(CloseTest, CloseDocumentAsksOnlyForChangedDocuments) {
  OpenWith("a.txt", "a");
  OpenWith("b.txt", "b");
  Pages().SetActivePageIndex(0);
  CloseDocument();
  EXPECT_EQ(TabCaptions(), std::vector<std::string>{"b.txt"});
  Edit(*Frame(0), "*");
  QueueAnswer(IDCANCEL);
  CloseDocument();
  EXPECT_EQ(TabCount(), 1);
  QueueAnswer(IDNO);
  CloseDocument();
  EXPECT_EQ(TabCount(), 0);
  EXPECT_EQ(Disk("b.txt"), "b");
  EXPECT_EQ(frmMain->Caption(), "Tarvoline");
  CloseDocument();  // nothing open: nothing happens
}

// Stands in for a file watcher: tells what the document looked like when it was stopped.
class TRecordingWatcher : public TObject {
public:
  explicit TRecordingWatcher(std::function<void()> OnStop) : onStop_(std::move(OnStop)) {}
  ~TRecordingWatcher() override { onStop_(); }

private:
  std::function<void()> onStop_;
};

TEST_F(CloseTest, ClosingStopsTheWatcherOfADocumentAlreadyMarkedAsClosing) {
  TfraEdit* frame = OpenWith("w.txt", "w");
  int stopped = 0;
  bool ignoring = false;
  frame->FileWatcher = std::make_unique<TRecordingWatcher>([&] {
    ++stopped;
    ignoring = frame->DocInfo.IgnoreChangeNotify;
  });
  CloseDocument();
  EXPECT_EQ(stopped, 1);
  EXPECT_TRUE(ignoring);
  EXPECT_EQ(TabCount(), 0);
}

// ---- Round trips --------------------------------------------------------------------------

// Each file is opened (formats found as they will be saved), saved unchanged (the same bytes,
// UTF-16 excepted: it is written as ANSI), edited at both ends, saved and reopened.
TEST_F(SaveCloseTest, EveryFormatRoundTrips) {
  const std::string utf16("\xFF\xFE" "a\0\n\0", 6);
  struct Case {
    const char* what;
    std::string bytes;
    bool ctrl;
    const char* text;
    TFileFormat format;
    TLineBreakFormat lineBreak;
    const char* savedAs;  // nullptr: the bytes read
  } cases[] = {
      {"ANSI CR LF", "a\xE4\r\nb\r\n", false, "a\xE4\r\nb\r\n", ffAnsi, lbfWindows, nullptr},
      {"ANSI LF", "a\xE4\nb", false, "a\xE4\r\nb", ffAnsi, lbfUnix, nullptr},
      {"ANSI CR", "a\rb\r\r", false, "a\r\nb\r\n\r\n", ffAnsi, lbfMacintosh, nullptr},
      {"ANSI CR CR LF", "a\r\r\nb\r\r\n", false, "a\r\nb\r\n", ffAnsi, lbfNetscape, nullptr},
      {"UTF-8 CR LF", "\xEF\xBB\xBF" "a\xC3\xA4\r\n\xE2\x82\xAC", true, "a\xE4\r\n\x80", ffUtf8,
       lbfWindows, nullptr},
      {"UTF-8 LF", "\xEF\xBB\xBF" "x\ny\n", true, "x\r\ny\r\n", ffUtf8, lbfUnix, nullptr},
      {"UTF-8 read as ANSI", "\xEF\xBB\xBF" "x\r\n", false, "\xEF\xBB\xBF" "x\r\n", ffAnsi,
       lbfWindows, nullptr},
      {"UTF-16", utf16, true, "a\r\n", ffAnsi, lbfUnix, "a\n"},
      {"one line", "single", false, "single", ffAnsi, lbfWindows, nullptr},
      {"empty", "", false, "", ffAnsi, lbfWindows, nullptr},
  };
  for (const Case& c : cases) {
    folder.Write("rt.txt", c.bytes);
    HoldCtrl(c.ctrl);
    TfraEdit* frame = Open(folder.File("rt.txt"));
    HoldCtrl(false);
    ASSERT_NE(frame, nullptr) << c.what;
    EXPECT_EQ(frame->seEdit->Text(), c.text) << c.what;
    EXPECT_EQ(frame->DocInfo.FileFormat, c.format) << c.what;
    EXPECT_EQ(frame->DocInfo.OrgFileFormat, c.format) << c.what;
    EXPECT_EQ(frame->DocInfo.LineBreakFormat, c.lineBreak) << c.what;
    EXPECT_EQ(frame->DocInfo.OrgLineBreakFormat, c.lineBreak) << c.what;
    SetFileFormat(frame->DocInfo.FileFormat);  // a choice of the same format counts as a change
    EXPECT_TRUE(SaveDocument(-1)) << c.what;
    EXPECT_EQ(folder.Read("rt.txt"), c.savedAs ? std::string(c.savedAs) : c.bytes) << c.what;
    frame->seEdit->SetCaretXY({1, 1});
    Edit(*frame, "<");
    frame->seEdit->CommandProcessor(ecEditorBottom, '\0', nullptr);
    Edit(*frame, ">");
    const std::string edited = frame->seEdit->Text();
    EXPECT_TRUE(SaveDocument(-1)) << c.what;
    HoldCtrl(c.ctrl);
    TfraEdit* again = Open(folder.File("rt.txt"));
    HoldCtrl(false);
    EXPECT_EQ(again->seEdit->Text(), edited) << c.what;
    EXPECT_EQ(again->DocInfo.FileFormat, c.format) << c.what;
    EXPECT_EQ(again->DocInfo.LineBreakFormat, c.lineBreak) << c.what;
  }
}

// Arrow and Omega of a UTF-8 file have no ANSI form: the open says so, naming the file, and a
// save that would write the "?" standing for them asks first; "no" writes nothing.
TEST_F(SaveCloseTest, CharactersTheCodePageLacksAreSaidAtOpeningAndAskedAboutAtSaving) {
  const std::string bytes = "\xEF\xBB\xBF" "a\xE2\x86\x92\xCE\xA9\r\n";
  folder.Write("greek.txt", bytes);
  folder.Write("greek2.txt", bytes);
  const std::string name = folder.File("greek.txt");
  QueueAnswer({IDOK}, [&](const ModalQuestion& q) {
    EXPECT_EQ(q.caption, "Datei \xF6" "ffnen");
    EXPECT_EQ(q.text, "Die Datei \"" + name + "\" enth\xE4lt Zeichen, die es in der Codepage des "
                      "Systems nicht gibt; sie werden als \"?\" angezeigt.\r\nBeim Speichern "
                      "w\xFCrde an ihrer Stelle \"?\" in die Datei geschrieben.");
    EXPECT_EQ(q.flags, UINT(MB_ICONWARNING | MB_OK));
  });
  HoldCtrl(true);
  TfraEdit* frame = Open(name);
  HoldCtrl(false);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->seEdit->Text(), "a??\r\n");
  Edit(*frame, "x");
  auto saveQuestion = [&](const ModalQuestion& q) {
    EXPECT_EQ(q.caption, "Datei speichern");
    EXPECT_EQ(q.text, "Die Datei \"" + name + "\" enthielt beim \xD6" "ffnen Zeichen, die es in "
                      "der Codepage des Systems nicht gibt. Beim Speichern wird an ihrer Stelle "
                      "\"?\" geschrieben.\r\nM\xF6" "chten Sie dennoch speichern?");
    EXPECT_EQ(q.flags, UINT(MB_ICONWARNING | MB_YESNO | MB_DEFBUTTON2));
  };
  QueueAnswer({IDNO}, saveQuestion);
  EXPECT_FALSE(SaveDocument(-1));
  EXPECT_EQ(folder.Read("greek.txt"), bytes);
  EXPECT_TRUE(frame->DocInfo.Modified);

  QueueAnswer({IDYES}, saveQuestion);
  EXPECT_TRUE(SaveDocument(-1));
  EXPECT_EQ(folder.Read("greek.txt"), "\xEF\xBB\xBF" "xa??\r\n");
  Edit(*frame, "y");
  EXPECT_TRUE(SaveDocument(-1)) << "the file holds the \"?\" now: no question";
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);

  // Save As asks before its dialog.
  QueueAnswer({IDOK});
  HoldCtrl(true);
  Open(folder.File("greek2.txt"));
  HoldCtrl(false);
  QueueAnswer({IDNO});
  EXPECT_FALSE(SaveDocumentAs(-1));
  EXPECT_EQ(AskedQuestions().back().caption, "Datei speichern");
  EXPECT_EQ(folder.Read("greek2.txt"), bytes);
}

// A chosen format counts as a change, shows on its tool button, is written, read back, and
// -1 goes back to what was read.
TEST_F(SaveCloseTest, ChosenFormatsAreWrittenAndReadBack) {
  const char* const text = "\xE4" "b\r\nc\r\n";
  auto* formatButton = frmMain->Find<TToolButton>("tbMainFileFileFormat");
  auto* breakButton = frmMain->Find<TToolButton>("tbMainFileLineBreakFormat");
  for (TFileFormat format : {ffAnsi, ffUtf8}) {
    for (TLineBreakFormat lineBreak : {lbfWindows, lbfUnix, lbfMacintosh, lbfNetscape}) {
      TfraEdit* frame = OpenWith("fmt.txt", text);
      SetFileFormat(-2);
      EXPECT_FALSE(frame->DocInfo.Modified);
      SetFileFormat(format);
      SetLineBreakFormat(lineBreak);
      EXPECT_TRUE(frame->DocInfo.Modified);
      EXPECT_EQ(Pages().ActivePage()->ImageIndex(), 127);
      EXPECT_EQ(formatButton->ImageIndex(), 148 + format);
      EXPECT_EQ(breakButton->ImageIndex(), 33 + lineBreak);
      EXPECT_TRUE(SaveDocument(-1));
      HoldCtrl(true);
      TfraEdit* again = Open(folder.File("fmt.txt"));
      HoldCtrl(false);
      EXPECT_EQ(again->seEdit->Text(), text) << format << lineBreak;
      EXPECT_EQ(again->DocInfo.FileFormat, format) << format << lineBreak;
      EXPECT_EQ(again->DocInfo.LineBreakFormat, lineBreak) << format << lineBreak;
      Pages().SetActivePage(dynamic_cast<TTabSheet*>(frame->Owner()));
      SetFileFormat(-1);
      SetLineBreakFormat(-1);
      EXPECT_EQ(frame->DocInfo.FileFormat, ffAnsi);
      EXPECT_EQ(frame->DocInfo.LineBreakFormat, lbfWindows);
      EXPECT_EQ(breakButton->ImageIndex(), 33);
    }
  }
}

}  // namespace
}  // namespace documentstest
