// Insert menu commands on a real main window: generated text, console output and the
// clipboard at the start or end of lines, each as one undo step.
#include <gtest/gtest.h>
#include "commands/InsertCommands.h"
#include "rtl/DateTimeFormat.h"
#include "support/DocumentsTestFixture.h"
#include "toolkit/Clipboard.h"
#include "toolkit/Menus.h"

namespace {

ModalAnswer Typed(const std::string& Text) {
  ModalAnswer a;
  a.result = IDOK;
  a.value = Text;
  return a;
}

class InsertCommandsTest : public documentstest::DocumentWindowTest {
protected:
  void SetUp() override {
    DocumentWindowTest::SetUp();
    frame = Open("");
    edit = frame->seEdit;
  }
  void TearDown() override {
    SetClockOverride(nullptr);
    DocumentWindowTest::TearDown();
  }
  static void Click(const std::string& Name) { frmMain->Find<TMenuItem>(Name)->Click(); }
  static void SetClipboardText(const std::string& Text) {
    ASSERT_TRUE(Clipboard().Open(nullptr));
    Clipboard().Empty();
    if (!Text.empty()) Clipboard().SetData(CF_TEXT, Text + '\0');
    Clipboard().Close();
  }
  // Selects from (Char1, Line1) to (Char2, Line2), 1-based.
  void Select(int Char1, int Line1, int Char2, int Line2) {
    edit->SetBlockBegin({Char1, Line1});
    edit->SetBlockEnd({Char2, Line2});
  }

  TfraEdit* frame = nullptr;
  TCodeEdit* edit = nullptr;
};

}  // namespace

TEST_F(InsertCommandsTest, DateTimeGuidAndPathGoInAtTheCaretAsOneStepEach) {
  SetClockOverride([] {
    TClockReading r;
    r.Local = EncodeDate(2025, 1, 2) + EncodeTime(3, 4, 5, 0);
    r.Utc = r.Local;
    return r;
  });
  const TFormatSettings locale = GetLocaleFormatSettings(LOCALE_USER_DEFAULT);
  const TDateTime moment = EncodeDate(2025, 1, 2) + EncodeTime(3, 4, 5, 0);
  const std::string date = FormatDateTime(locale.ShortDateFormat, moment, locale);
  const std::string time = FormatDateTime(locale.LongTimeFormat, moment, locale);
  Click("mnuInsertDate");
  EXPECT_EQ(edit->Text(), date);
  edit->Undo();
  EXPECT_EQ(edit->Text(), "");
  Click("mnuInsertDate");
  Click("mnuInsertTime");
  EXPECT_EQ(edit->Text(), date + time);
  Click("mnuInsertDateAndTime");
  EXPECT_EQ(edit->Text(), date + time + date + " " + time);

  edit->SetText("");
  Click("mnuInsertGUID");
  const std::string guid = edit->Text();
  ASSERT_EQ(guid.size(), 38u);
  EXPECT_EQ(guid.front(), '{');
  EXPECT_EQ(guid.back(), '}');
  for (size_t i : {9u, 14u, 19u, 24u}) EXPECT_EQ(guid[i], '-') << i;
  EXPECT_EQ(guid.find_first_not_of("{}-0123456789ABCDEF"), std::string::npos) << guid;
  Click("mnuInsertGUID");
  EXPECT_NE(edit->Text().substr(38), guid) << "each GUID is new";

  Click("mnuInsert");
  EXPECT_FALSE(frmMain->Find<TMenuItem>("mnuInsertFilePath")->Enabled()) << "untitled";
  EXPECT_TRUE(frmMain->Find<TMenuItem>("mnuInsertSpecialChars")->Enabled());
  TfraEdit* named = OpenWith("p.txt", "");
  Click("mnuInsert");
  EXPECT_TRUE(frmMain->Find<TMenuItem>("mnuInsertFilePath")->Enabled());
  Click("mnuInsertFilePath");
  EXPECT_EQ(named->seEdit->Text(), folder.File("p.txt"));
}

TEST_F(InsertCommandsTest, ConsoleOutputIsConvertedAndInserted) {
  testsupport::QueueAnswer(Typed("echo \xE4\xF6\xFC"), [](const ModalQuestion& q) {
    EXPECT_EQ(q.kind, ModalKind::InputBox);
    EXPECT_EQ(q.caption, "Konsolenausgabe einf\xFCgen");
    EXPECT_EQ(q.input, TInputKind::Name) << "a program the code page cannot name is refused";
    EXPECT_EQ(q.value, "");
  });
  Click("mnuInsertConsoleOutput");
  // The command interpreter echoes the blank before its output redirection.
  EXPECT_EQ(edit->Text(), "\xE4\xF6\xFC \r\n");
  edit->Undo();
  EXPECT_EQ(edit->Text(), "");

  testsupport::QueueAnswer(Typed(""));
  Click("mnuInsertConsoleOutput");
  testsupport::QueueAnswer(IDCANCEL);
  Click("mnuInsertConsoleOutput");
  EXPECT_EQ(edit->Text(), "");
  EXPECT_FALSE(edit->CanUndo());
}

TEST_F(InsertCommandsTest, ClipboardGoesToEveryWholeLineOfTheSelection) {
  SetClipboardText(">");
  edit->SetText("a\r\nbb\r\ncc\r\nd");
  Select(2, 2, 2, 3);  // parts of lines 2 and 3
  Click("mnuInsertClipboardLineBegin");
  EXPECT_EQ(edit->Text(), "a\r\n>bb\r\n>cc\r\nd");
  edit->Undo();
  EXPECT_EQ(edit->Text(), "a\r\nbb\r\ncc\r\nd");
  edit->Redo();
  EXPECT_EQ(edit->Text(), "a\r\n>bb\r\n>cc\r\nd");

  SetClipboardText(";;");
  edit->SetText("x\r\n\r\nz");
  Click("mnuInsertClipboardLineEnd");  // no selection: every line
  EXPECT_EQ(edit->Text(), "x;;\r\n;;\r\nz;;");
  edit->Undo();
  EXPECT_EQ(edit->Text(), "x\r\n\r\nz");

  Select(1, 3, 2, 3);  // first column and last character of the last line
  Click("mnuInsertClipboardLineBegin");
  EXPECT_EQ(edit->Text(), "x\r\n\r\n;;z");
}

TEST_F(InsertCommandsTest, AFailureWhileInsertingAtLinesLeavesNoUndoBlockOpen) {
  SetClipboardText(">");
  edit->SetText("a\r\nb");
  Select(1, 1, 1, 2);  // the failure comes inside the command's undo block
  const TStatusChangeEvent saved = edit->OnStatusChange;
  edit->OnStatusChange = [](TObject*, TCodeStatusChanges) { throw Exception("Anzeige gescheitert"); };
  EXPECT_THROW(InsertClipboardAtLines(edit, true), Exception);
  edit->OnStatusChange = saved;
  EXPECT_EQ(edit->UndoList().BlockCount(), 0);
}

TEST_F(InsertCommandsTest, ClipboardAtLinesDoesNothingWithoutTextOrForALockedDocument) {
  edit->SetText("a\r\nb");
  SetClipboardText("");
  Click("mnuInsertClipboardLineBegin");
  EXPECT_EQ(edit->Text(), "a\r\nb");
  SetClipboardText("#");
  edit->SetReadOnly(true);
  Click("mnuInsertClipboardLineEnd");
  Click("mnuInsertClipboardLineBegin");
  EXPECT_EQ(edit->Text(), "a\r\nb");
  EXPECT_FALSE(edit->CanUndo());
  InsertClipboardAtLines(nullptr, true);  // no document
}
