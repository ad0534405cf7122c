// The File menu's commands as the user reaches them: through their menu items and buttons.
#include <gtest/gtest.h>
#include "editor/CodeEdit.h"
#include "support/DocumentsTestFixture.h"
#include "toolkit/Menus.h"
#include "toolkit/ToolBar.h"

namespace {

using documentstest::DocumentWindowTest;

class FileCommandsTest : public DocumentWindowTest {
protected:
  void Click(const std::string& Name) {
    if (auto* item = frmMain->Find<TMenuItem>(Name)) item->Click();
    else frmMain->Find<TToolButton>(Name)->Click();
  }
};

ModalAnswer Chosen(std::vector<std::string> Files, bool ReadOnly) {
  ModalAnswer a;
  a.result = IDOK;
  a.files = std::move(Files);
  a.value = a.files.empty() ? "" : a.files.front();
  a.readOnly = ReadOnly;
  return a;
}

}  // namespace

TEST_F(FileCommandsTest, OpenTakesEveryChosenFileWithTheReadOnlyBox) {
  folder.Write("a.txt", "a");
  folder.Write("b.txt", "b");
  for (const char* command : {"mnuFileOpen", "tbMainFileReOpen"}) {
    SCOPED_TRACE(command);
    CloseAllDocuments(false);
    testsupport::QueueAnswer(Chosen({folder.File("a.txt"), folder.File("b.txt")}, true),
                             [](const ModalQuestion& q) {
                               EXPECT_EQ(q.kind, ModalKind::OpenDialog);
                               EXPECT_EQ(q.caption, "Datei \xF6" "ffnen");
                               EXPECT_EQ(q.filter, GetOpenDialogFilter());
                             });
    Click(command);
    ASSERT_EQ(TabCount(), 2);
    EXPECT_TRUE(Frame(0)->seEdit->ReadOnly());
    EXPECT_TRUE(Frame(1)->seEdit->ReadOnly());
  }
  CloseAllDocuments(false);
  testsupport::QueueAnswer(IDCANCEL);
  Click("mnuFileOpen");
  EXPECT_EQ(TabCount(), 0) << "a cancelled dialog opens nothing";
}

TEST_F(FileCommandsTest, NewCloseAndCloseAllButCurrentWorkOnTheTabs) {
  Click("mnuFileNewDoc");
  Click("mnuFileNewDoc");
  Click("mnuFileNewDoc");
  EXPECT_EQ(TabCount(), 3);
  Pages().SetActivePageIndex(1);
  Click("pmnuTabsCloseAllButCurrent");
  ASSERT_EQ(TabCount(), 1);
  EXPECT_EQ(Pages().Pages(0)->Tag(), 2) << "the active document stays";
  Click("tbMainFileClose");
  EXPECT_EQ(TabCount(), 0);
  Click("mnuFileNewDoc");
  Click("mnuFileNewDoc");
  Click("mnuFileCloseAll");
  EXPECT_EQ(TabCount(), 0);
}

TEST_F(FileCommandsTest, SaveAllStopsAtTheFirstDocumentNotSaved) {
  folder.Write("c.txt", "c");
  TfraEdit* first = Open("");
  TfraEdit* second = Open("");
  TfraEdit* third = Open(folder.File("c.txt"));
  for (TfraEdit* frame : {first, second, third}) Edit(*frame, "x");
  testsupport::QueueAnswer(Chosen({folder.File("one.txt")}, false));
  testsupport::QueueAnswer(IDCANCEL);  // the second document's save dialog
  Click("mnuFileSaveAll");
  EXPECT_EQ(folder.Read("one.txt"), "x");
  EXPECT_EQ(folder.Read("c.txt"), "c") << "documents after the cancelled one stay unsaved";
  EXPECT_TRUE(third->DocInfo.Modified);
}

// A reload reads the byte-order mark whatever keys are held, so what is typed next is saved in
// the file's own encoding rather than mixed into it.
TEST_F(FileCommandsTest, ReloadKeepsAUtf8DocumentUtf8) {
  HoldCtrl(true);
  TfraEdit* frame = OpenWith("utf8.txt", "\xEF\xBB\xBF" "alt");
  HoldCtrl(false);
  ASSERT_NE(frame, nullptr);
  folder.Write("utf8.txt", "\xEF\xBB\xBF" "Gr\xC3\xBC\xC3\x9F" "e");
  Click("mnuFileReload");
  EXPECT_EQ(frame->seEdit->Text(), "Gr\xFC\xDF" "e");
  EXPECT_EQ(frame->DocInfo.FileFormat, ffUtf8);

  frame->seEdit->CommandProcessor(ecEditorBottom, 0, nullptr);
  Edit(*frame, "\xFC");
  Click("mnuFileSave");
  EXPECT_EQ(folder.Read("utf8.txt"), "\xEF\xBB\xBF" "Gr\xC3\xBC\xC3\x9F" "e\xC3\xBC");
}

TEST_F(FileCommandsTest, ReopenItemOfAVanishedFileLeavesTheList) {
  folder.Write("here.txt", "h");
  Settings.OpenMRU.Add(folder.File("gone.txt"));
  Settings.OpenMRU.Add(folder.File("here.txt"));
  TMenuItem item(nullptr);
  item.SetTag(1);
  MainForm()->mnuFileReOpenDocsClick(&item);
  EXPECT_EQ(TabCount(), 1);
  item.SetTag(5);
  MainForm()->mnuFileReOpenDocsClick(&item);
  EXPECT_EQ(TabCount(), 1) << "an index past the list does nothing";

  // Vanished since the menu was built (opening drops missing files from the list).
  Settings.OpenMRU.Insert(0, folder.File("gone.txt"));
  int before = Settings.OpenMRU.Count();
  item.SetTag(0);
  testsupport::QueueAnswer(IDOK);  // the opening's own message about the missing file
  MainForm()->mnuFileReOpenDocsClick(&item);
  EXPECT_EQ(Settings.OpenMRU.IndexOf(folder.File("gone.txt")), -1);
  EXPECT_EQ(Settings.OpenMRU.Count(), before - 1);
}
