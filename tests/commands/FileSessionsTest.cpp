// Sessions on a real main window: what the program opens again by itself is read as the user
// had it, whatever keys are held then.
#include <gtest/gtest.h>
#include "commands/FileSessions.h"
#include "editor/CodeEdit.h"
#include "support/DocumentsTestFixture.h"
#include "toolkit/Menus.h"

namespace {

class FileSessionsTest : public documentstest::DocumentWindowTest {
protected:
  static void Click(const std::string& Name) { frmMain->Find<TMenuItem>(Name)->Click(); }
  static ModalAnswer Chosen(const std::string& Name) {
    ModalAnswer a;
    a.result = IDOK;
    a.value = Name;
    a.files = {Name};
    a.filterIndex = 1;
    return a;
  }
};

const std::string Utf8Text = "UTF-8 Datei: Gr\xC3\xBC\xC3\x9F" "e";

}  // namespace

// Opened as UTF-8 with Ctrl held, saved in a session and opened again from it without Ctrl: it
// is still UTF-8, and a typed "ü" goes into the file as UTF-8. A file without a mark stays ANSI.
TEST_F(FileSessionsTest, ASessionBringsAUtf8DocumentBackAsUtf8) {
  folder.Write("utf8.txt", "\xEF\xBB\xBF" + Utf8Text);
  folder.Write("ansi.txt", "Gr\xFC\xDF" "e");
  HoldCtrl(true);
  Open(folder.File("utf8.txt"));
  HoldCtrl(false);
  Open(folder.File("ansi.txt"));
  testsupport::QueueAnswer(Chosen(folder.File("s.tvs")));
  Click("mnuFileSessionSaveAs");
  testsupport::QueueAnswer(Chosen(folder.File("s.tvs")));
  Click("mnuFileSessionOpen");

  ASSERT_EQ(TabCount(), 2);
  TfraEdit& utf8 = *Frame(0);
  EXPECT_EQ(utf8.seEdit->Text(), "UTF-8 Datei: Gr\xFC\xDF" "e");
  EXPECT_EQ(utf8.DocInfo.FileFormat, ffUtf8);
  EXPECT_EQ(Frame(1)->seEdit->Text(), "Gr\xFC\xDF" "e");
  EXPECT_EQ(Frame(1)->DocInfo.FileFormat, ffAnsi);
  Pages().SetActivePageIndex(0);
  utf8.seEdit->CommandProcessor(ecEditorBottom, '\0', nullptr);
  Edit(utf8, "\xFC");
  Click("mnuFileSave");
  EXPECT_EQ(folder.Read("utf8.txt"), "\xEF\xBB\xBF" + Utf8Text + "\xC3\xBC");
}
