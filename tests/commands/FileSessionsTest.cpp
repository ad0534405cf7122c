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
  // A session of these files, to be chosen in the next file dialog.
  void ChooseSessionOf(const std::vector<std::string>& Names) {
    std::string list;
    for (const std::string& name : Names) list += folder.File(name) + "\r\n";
    folder.Write("s.tvs", "<?xml version=\"1.0\"?><Session><LastDocList>" + list +
                              "</LastDocList></Session>");
    testsupport::QueueAnswer(Chosen(folder.File("s.tvs")));
  }
  static ModalAnswer Chosen(const std::string& Name) {
    ModalAnswer a;
    a.result = IDOK;
    a.value = Name;
    a.files = {Name};
    a.filterIndex = 1;
    return a;
  }
};

// UTF-8 with a byte-order mark, holding "→" and "Ω", which the code page lacks.
const std::string StandInBytes = "\xEF\xBB\xBF" "a\xE2\x86\x92\xCE\xA9";

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

// A session of several files with characters the code page lacks says so in one box at its
// end, naming them; the question about a binary file among them is asked as that file opens.
// With one such file the box is the one a single open gives.
TEST_F(FileSessionsTest, ASessionSaysInOneBoxWhichOfItsFilesLackCharacters) {
  for (const char* name : {"g1.txt", "g2.txt", "g3.txt"}) folder.Write(name, StandInBytes);
  folder.Write("plain.txt", "plain");
  folder.Write("bin.dat", "x\x01y");
  const std::string caption = "Datei \xF6" "ffnen";
  ChooseSessionOf({"g1.txt", "bin.dat", "g3.txt", "plain.txt", "g2.txt"});
  testsupport::QueueAnswer(ModalAnswer{IDYES}, [&](const ModalQuestion& q) {
    EXPECT_EQ(q.caption, caption);
    EXPECT_EQ(q.text, "Die Datei \"" + folder.File("bin.dat") + "\" ist keine Textdatei\r\nund "
                      "kann m\xF6glicherweise nicht richtig angezeigt oder gespeichert werden."
                      "\r\n\r\nM\xF6" "chten Sie diese Datei dennoch \xF6" "ffnen?");
  });
  testsupport::QueueAnswer(ModalAnswer{IDOK}, [&](const ModalQuestion& q) {
    EXPECT_EQ(q.caption, caption);
    EXPECT_EQ(q.text, "Diese Dateien enthalten Zeichen, die es in der Codepage des Systems nicht "
                      "gibt; sie werden als \"?\" angezeigt.\r\nBeim Speichern w\xFCrde an ihrer "
                      "Stelle \"?\" in die Datei geschrieben:\r\n" +
                          folder.File("g1.txt") + "\r\n" + folder.File("g3.txt") + "\r\n" +
                          folder.File("g2.txt"));
    EXPECT_EQ(q.flags, UINT(MB_ICONWARNING | MB_OK));
  });
  Click("mnuFileSessionOpen");
  EXPECT_EQ(TabCount(), 5);
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);

  ChooseSessionOf({"plain.txt", "g2.txt"});
  testsupport::QueueAnswer(ModalAnswer{IDOK}, [&](const ModalQuestion& q) {
    EXPECT_EQ(q.caption, caption);
    EXPECT_EQ(q.text, "Die Datei \"" + folder.File("g2.txt") + "\" enth\xE4lt Zeichen, die es in "
                      "der Codepage des Systems nicht gibt; sie werden als \"?\" angezeigt.\r\n"
                      "Beim Speichern w\xFCrde an ihrer Stelle \"?\" in die Datei geschrieben.");
  });
  Click("mnuFileSessionOpen");
  EXPECT_EQ(TabCount(), 2);
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);
}
