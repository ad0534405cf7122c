// The Edit menu's and the navigation commands on an editor without a window.
#include <gtest/gtest.h>
#include <array>
#include <string>
#include "commands/EditCommands.h"
#include "commands/fHlpMainLines.h"
#include "documents/fHlpMain.h"
#include "documents/fMain.h"
#include "editor/CodeEditTestFixture.h"
#include "highlighters/CodeHighlighterIni.h"
#include "printing/CodeExportHTML.h"
#include "printing/CodeExportRTF.h"
#include "support/ModalAnswers.h"
#include "support/TempFolder.h"
#include "toolkit/Abort.h"
#include "toolkit/Clipboard.h"

using codeedittest::MakeEdit;
using codeedittest::Select;
using codeedittest::TFakeClipboard;

namespace {

void PutClipboardText(TFakeClipboard& Board, const std::string& Text) {
  Board.Data.clear();
  Board.Data[CF_TEXT] = Text + '\0';
}

std::string WideBytes(const std::wstring& Text) {
  const std::wstring zeroEnded = Text + L'\0';
  return std::string(reinterpret_cast<const char*>(zeroEnded.data()),
                     zeroEnded.size() * sizeof(wchar_t));
}

ModalAnswer ChosenFile(const std::string& Name) {
  ModalAnswer answer;
  answer.result = IDOK;
  answer.value = Name;
  answer.files = {Name};
  return answer;
}

// The memory banks and settings are program-wide: each test gets them back as they were.
class EditCommandsTest : public testing::Test {
protected:
  void SetUp() override {
    banks_ = MemoryBanks;
    MemoryBanks.fill("");
    settings_ = Settings;
  }
  void TearDown() override {
    MemoryBanks = banks_;
    Settings = settings_;
  }

  TFakeClipboard board;
  testsupport::TempFolder folder;

private:
  std::array<std::string, 10> banks_;
  TSettings settings_;
};

}  // namespace

TEST_F(EditCommandsTest, AttachingExtendsTheClipboardTextAsPlainText) {
  auto edit = MakeEdit("a b");
  PutClipboardText(board, "start");
  board.Data[CodeEditClipboardFormat()] = "block";
  Select(*edit, {1, 1}, {2, 1});
  CopyAndAttach(edit.get());
  Select(*edit, {3, 1}, {4, 1});
  CopyAndAttach(edit.get());
  EXPECT_EQ(ClipboardText(), "startab");
  EXPECT_EQ(board.Data.count(CodeEditClipboardFormat()), 0u) << "only plain text stays";

  board.Data.clear();
  CopyAndAttach(edit.get());
  EXPECT_EQ(ClipboardText(), "b");
  edit->SetCaretXY({1, 1});
  CopyAndAttach(edit.get());
  EXPECT_EQ(ClipboardText(), "b") << "nothing selected: nothing attached";

  // Cutting deletes the selection as one undo step.
  Select(*edit, {1, 1}, {3, 1});
  CutAndAttach(edit.get());
  EXPECT_EQ(ClipboardText(), "ba ");
  EXPECT_EQ(edit->Text(), "b");
  edit->Undo();
  EXPECT_EQ(edit->Text(), "a b");
  EXPECT_FALSE(edit->CanUndo());
}

TEST_F(EditCommandsTest, AttachingKeepsEveryCharacterAnotherProgramGathered) {
  auto edit = MakeEdit("xxx yyy");
  board.Data.clear();
  board.Data[CF_UNICODETEXT] = WideBytes(L"\u03A9mega \u03B1\u03B2\u03B3 ");
  Select(*edit, {1, 1}, {4, 1});
  CopyAndAttach(edit.get());
  EXPECT_EQ(board.Data[CF_UNICODETEXT], WideBytes(L"\u03A9mega \u03B1\u03B2\u03B3 xxx"));
  Select(*edit, {4, 1}, {8, 1});
  CutAndAttach(edit.get());
  EXPECT_EQ(board.Data[CF_UNICODETEXT],
            WideBytes(L"\u03A9mega \u03B1\u03B2\u03B3 xxx yyy"));
  EXPECT_EQ(edit->Text(), "xxx");
}

TEST_F(EditCommandsTest, ACutThatCannotReachTheClipboardOrDocumentDeletesNothing) {
  auto edit = MakeEdit("abc");
  Select(*edit, {1, 1}, {3, 1});
  board.RefuseOpen = true;
  EXPECT_THROW(CutAndAttach(edit.get()), ECodeEditError);
  EXPECT_EQ(edit->Text(), "abc");
  board.RefuseOpen = false;
  board.RefuseStore = true;
  EXPECT_THROW(CutAndAttach(edit.get()), ECodeEditError);
  EXPECT_EQ(edit->Text(), "abc");
  board.RefuseStore = false;
  // Held by another program for a moment: the text gathered so far is neither read as empty
  // nor replaced by the selection.
  PutClipboardText(board, "gesammelt");
  board.BusyOpens = 1;
  EXPECT_THROW(CutAndAttach(edit.get()), ECodeEditError);
  EXPECT_EQ(edit->Text(), "abc");
  EXPECT_EQ(ClipboardText(), "gesammelt");
  edit->SetReadOnly(true);
  CutAndAttach(edit.get());
  EXPECT_EQ(edit->Text(), "abc");
  CutAndAttach(nullptr);
  CopyAndAttach(nullptr);
}

TEST_F(EditCommandsTest, MemoryBanksKeepTheSelectionAndPasteItAsOneUndoStep) {
  auto edit = MakeEdit("eins\r\nzwei");
  Select(*edit, {1, 1}, {3, 2});
  CopyToMemoryBank(edit.get(), 9);
  EXPECT_EQ(MemoryBanks[9], "eins\r\nzw");
  for (int bad : {-1, 10}) {
    CopyToMemoryBank(edit.get(), bad);
    PasteFromMemoryBank(edit.get(), bad);
  }
  EXPECT_EQ(edit->Text(), "eins\r\nzwei");

  edit->SetCaretXY({5, 2});
  PasteFromMemoryBank(edit.get(), 9);
  EXPECT_EQ(edit->Text(), "eins\r\nzweieins\r\nzw");
  edit->Undo();
  EXPECT_EQ(edit->Text(), "eins\r\nzwei");
  EXPECT_FALSE(edit->CanUndo());

  edit->SetReadOnly(true);
  PasteFromMemoryBank(edit.get(), 9);
  EXPECT_EQ(edit->Text(), "eins\r\nzwei");
}

TEST_F(EditCommandsTest, GotoLineClampsTheAnswer) {
  struct Row {
    const char* Answer;
    int Result;
    int Line;
  };
  const Row rows[] = {
      {"2", IDOK, 2}, {"0", IDOK, 1}, {"-5", IDOK, 1}, {"99", IDOK, 3},
      {"zwei", IDOK, 1}, {"", IDOK, 2}, {"3", IDCANCEL, 2},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.Answer);
    auto edit = MakeEdit("a\r\nb\r\nc");
    edit->SetCaretXY({2, 2});
    ModalAnswer answer;
    answer.result = r.Result;
    answer.value = r.Answer;
    testsupport::QueueAnswer(answer, [](const ModalQuestion& Q) {
      EXPECT_EQ(Q.kind, ModalKind::InputBox);
      EXPECT_EQ(Q.caption, "Gehe zu Zeile");
      EXPECT_EQ(Q.text, "Geben Sie eine Zeilennummer von 1 bis 3 an.");
      EXPECT_EQ(Q.value, "");
    });
    GotoLineQuery(edit.get());
    EXPECT_EQ(edit->CaretY(), r.Line);
  }
  // A single line asks nothing.
  auto edit = MakeEdit("one line");
  GotoLineQuery(edit.get());
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);
}

TEST_F(EditCommandsTest, GotoPositionCountsCharactersFromOne) {
  struct Row {
    const char* Answer;
    TBufferCoord Caret;
  };
  const Row rows[] = {
      {"1", {1, 1}}, {"3", {3, 1}}, {"5", {1, 2}}, {"6", {2, 2}},
      {"7", {3, 2}},  // length + 1: after the last character
      {"8", {3, 2}}, {"x", {1, 1}}, {"0", {1, 1}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.Answer);
    auto edit = MakeEdit("ab\r\ncd");
    Select(*edit, {1, 1}, {2, 1});
    testsupport::QueueAnswer(ModalAnswer{IDOK, r.Answer}, [](const ModalQuestion& Q) {
      EXPECT_EQ(Q.caption, "Gehe zu Position");
      EXPECT_EQ(Q.text, "Geben Sie eine Position von 1 bis 7 an.");
    });
    GotoPositionQuery(edit.get());
    EXPECT_EQ(edit->CaretXY(), r.Caret);
    EXPECT_FALSE(edit->SelAvail());
  }
  auto edit = MakeEdit("");
  GotoPositionQuery(edit.get());
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);
}

TEST_F(EditCommandsTest, BookmarksToggleMoveAndLeadOnWithoutWrapping) {
  auto edit = MakeEdit("l1\r\nl2\r\nl3\r\nl4\r\nl5");
  int x = 0, y = 0;
  edit->SetCaretXY({2, 2});
  ToggleBookmark(edit.get(), 1);
  ASSERT_TRUE(edit->GetBookMark(1, x, y));
  EXPECT_EQ(y, 2);
  ToggleBookmark(edit.get(), 1);
  EXPECT_FALSE(edit->GetBookMark(1, x, y)) << "twice at the same place removes it";
  ToggleBookmark(edit.get(), 1);
  edit->SetCaretXY({1, 4});
  ToggleBookmark(edit.get(), 1);
  ASSERT_TRUE(edit->GetBookMark(1, x, y));
  EXPECT_EQ(TBufferCoord({x, y}), TBufferCoord({1, 4})) << "elsewhere it moves";
  ToggleBookmark(edit.get(), 10);
  ToggleBookmark(edit.get(), -1);

  edit->SetCaretXY({3, 2});
  ToggleBookmark(edit.get(), 7);
  edit->SetCaretXY({1, 1});
  GotoNextBookmark(edit.get(), true);
  EXPECT_EQ(edit->CaretXY(), TBufferCoord({3, 2}));
  GotoNextBookmark(edit.get(), true);
  EXPECT_EQ(edit->CaretXY(), TBufferCoord({1, 4}));
  GotoNextBookmark(edit.get(), true);
  EXPECT_EQ(edit->CaretXY(), TBufferCoord({1, 4})) << "no wrapping around";
  GotoNextBookmark(edit.get(), false);
  EXPECT_EQ(edit->CaretXY(), TBufferCoord({3, 2}));
  GotoNextBookmark(edit.get(), false);
  EXPECT_EQ(edit->CaretXY(), TBufferCoord({3, 2}));

  GotoBookmark(edit.get(), 1);
  EXPECT_EQ(edit->CaretXY(), TBufferCoord({1, 4}));
  GotoBookmark(edit.get(), 5);  // not set
  EXPECT_EQ(edit->CaretXY(), TBufferCoord({1, 4}));
  RemoveAllBookmarks(edit.get());
  for (int i = 0; i < 10; ++i) EXPECT_FALSE(edit->GetBookMark(i, x, y));
}

TEST_F(EditCommandsTest, MatchingBracketMovesTheCaretOrKeepsItWithoutSelection) {
  auto edit = MakeEdit("f(a[1])\r\nx");
  edit->SetCaretXY({2, 1});
  JumpToMatchingBracket(edit.get());
  EXPECT_EQ(edit->CaretXY(), TBufferCoord({7, 1}));
  edit->SetCaretXY({1, 2});
  JumpToMatchingBracket(edit.get());
  EXPECT_EQ(edit->CaretXY(), TBufferCoord({1, 2}));
  Select(*edit, {1, 1}, {4, 1});
  JumpToMatchingBracket(edit.get());
  EXPECT_EQ(edit->CaretXY(), TBufferCoord({4, 1}));
  EXPECT_FALSE(edit->SelAvail());
}

TEST_F(EditCommandsTest, PasteFromFileAsksOnlyForControlBytesWithTheWarningOn) {
  folder.Write("plain.txt", "x\r\ny");
  folder.Write("bin.dat", std::string("b\x01" "c", 3));
  Settings.General.OpenBinWarn = true;
  auto edit = MakeEdit("12");
  edit->SetCaretXY({2, 1});
  testsupport::QueueAnswer(ChosenFile(folder.File("plain.txt")), [](const ModalQuestion& Q) {
    EXPECT_EQ(Q.kind, ModalKind::OpenDialog);
    EXPECT_EQ(Q.caption, "Einf\xFCgen aus Datei");
  });
  PasteFromFile(edit.get());
  EXPECT_EQ(edit->Text(), "1x\r\ny2");
  edit->Undo();
  EXPECT_EQ(edit->Text(), "12");
  // The file's own final break comes along, and no more; LF breaks become lines too.
  folder.Write("unix.txt", "x\ny\n");
  testsupport::QueueAnswer(ChosenFile(folder.File("unix.txt")));
  PasteFromFile(edit.get());
  EXPECT_EQ(edit->Text(), "1x\r\ny\r\n2");
  edit->Undo();

  testsupport::QueueAnswer(ChosenFile(folder.File("bin.dat")));
  testsupport::QueueAnswer(ModalAnswer{IDNO}, [this](const ModalQuestion& Q) {
    EXPECT_EQ(Q.caption, "Datei einf\xFCgen");
    EXPECT_NE(Q.text.find("\"" + folder.File("bin.dat") + "\" ist keine Textdatei"),
              std::string::npos);
    EXPECT_TRUE(Q.flags & MB_DEFBUTTON2);
  });
  PasteFromFile(edit.get());
  EXPECT_EQ(edit->Text(), "12");
  testsupport::QueueAnswer(ChosenFile(folder.File("bin.dat")));
  testsupport::QueueAnswer(IDYES);
  PasteFromFile(edit.get());
  EXPECT_EQ(edit->Text(), "1b\x01" "c2");

  Settings.General.OpenBinWarn = false;
  edit->SetText("");
  testsupport::QueueAnswer(ChosenFile(folder.File("bin.dat")));
  PasteFromFile(edit.get());
  EXPECT_EQ(edit->Text(), "b\x01" "c");

  // A file that cannot be read is reported; the text stays.
  testsupport::QueueAnswer(ChosenFile(folder.File("missing.txt")));
  testsupport::QueueAnswer(ModalAnswer{IDOK}, [](const ModalQuestion& Q) {
    EXPECT_TRUE(Q.flags & MB_ICONERROR);
  });
  PasteFromFile(edit.get());
  EXPECT_EQ(edit->Text(), "b\x01" "c");
  testsupport::QueueAnswer(IDCANCEL);
  PasteFromFile(edit.get());
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);
}

TEST_F(EditCommandsTest, FormattedCopiesPutTheirFormatOnTheClipboard) {
  TCodeIniHighlighter highlighter(nullptr);
  TCodeExporterRTF rtf(nullptr);
  TCodeExporterHTML html(nullptr);
  auto edit = MakeEdit("[sec]\r\nkey=value");
  EXPECT_THROW(CopyFormattedRTF(edit.get(), rtf), EAbort) << "no highlighter";
  edit->SetHighlighter(&highlighter);

  CopyFormattedRTF(edit.get(), rtf);
  const std::string rtfData = board.Data[RegisterClipboardFormatName("Rich Text Format")];
  EXPECT_EQ(rtfData.rfind("{\\rtf", 0), 0u);
  EXPECT_NE(rtfData.find("value"), std::string::npos) << "nothing selected: the whole text";
  EXPECT_EQ(rtfData.substr(rtfData.size() - 7), std::string("value}") + '\0')
      << "it ends where the text ends";
  // Enter at the end: the text ends in a line break, which the export keeps.
  auto endsInBreak = MakeEdit("key=value");
  endsInBreak->SetHighlighter(&highlighter);
  endsInBreak->SetCaretXY({10, 1});
  endsInBreak->CommandProcessor(ecLineBreak, '\0', nullptr);
  CopyFormattedRTF(endsInBreak.get(), rtf);
  const std::string withBreak = board.Data[RegisterClipboardFormatName("Rich Text Format")];
  EXPECT_EQ(withBreak.substr(withBreak.size() - 14), std::string("value\r\n\\par }") + '\0');

  Select(*edit, {1, 2}, {4, 2});
  CopyFormattedHTML(edit.get(), html, false);
  std::string text = ClipboardText();
  EXPECT_NE(text.find("<!DOCTYPE"), std::string::npos);
  EXPECT_NE(text.find("key"), std::string::npos);
  EXPECT_EQ(text.find("value"), std::string::npos) << "only the selection";

  CopyFormattedHTML(edit.get(), html, true);
  text = ClipboardText();
  EXPECT_EQ(text.find("<!DOCTYPE"), std::string::npos);
  EXPECT_EQ(text.rfind("<pre>", 0), 0u);
}
