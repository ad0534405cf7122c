#include <gtest/gtest.h>
#include "commands/fHlpMainLines.h"
#include "editor/CodeEditTestFixture.h"
#include "support/ModalAnswers.h"

using codeedittest::MakeEdit;

namespace {

void AnswerInput(const std::string& Value, const std::string& ExpectedPrompt = "") {
  ModalAnswer answer;
  answer.result = IDOK;
  answer.value = Value;
  testsupport::QueueAnswer(answer, [ExpectedPrompt](const ModalQuestion& Q) {
    EXPECT_EQ(Q.kind, ModalKind::InputBox);
    EXPECT_EQ(Q.caption, "Zeilen l\xF6schen");
    EXPECT_EQ(Q.value, "");
    if (!ExpectedPrompt.empty()) {
      EXPECT_EQ(Q.text, ExpectedPrompt);
    }
  });
}

void ExpectUndoRedoRoundTrip(TCustomCodeEdit& Edit, const std::string& Before,
                             const std::string& After) {
  Edit.Undo();
  EXPECT_EQ(Edit.Text(), Before);
  EXPECT_FALSE(Edit.CanUndo()) << "more than one undo step";
  Edit.Redo();
  EXPECT_EQ(Edit.Text(), After);
  Edit.Undo();
  EXPECT_EQ(Edit.Text(), Before);
}

}  // namespace

// --- Deleting lines --------------------------------------------------------------------------

TEST(RemoveMatchingLines, EachModeKeepsTheLinesNotMeetingItsCondition) {
  struct Row {
    int Mode;
    const char* Text;
    const char* Pattern;
    const char* Expected;
  };
  const Row rows[] = {
      {0, "a1\r\nbb\r\nc2\r\n", "[0-9]", "bb\r\n"},
      {0, "Abc\r\nabc\r\n", "^a", "Abc\r\n"},  // expressions keep case
      {1, "a1\r\nbb\r\nc2\r\n", "[0-9]", "a1\r\nc2\r\n"},
      {2, "Test eins\r\nein test\r\ntest\r\n", "TEST", "ein test\r\n"},
      {3, "ein WORT\r\nnichts\r\nwortlos\r\n", "wort", "nichts\r\n"},
      {3, "\xC4RGER\r\nruhig\r\n", "\xE4rger", "ruhig\r\n"},  // locale-aware case
      {4, "eins.txt\r\nzwei.TXT\r\ndrei.doc\r\n", ".txt", "drei.doc\r\n"},
      {5, "#a\r\nb\r\n#c\r\n", "#", "#a\r\n#c\r\n"},
      {6, "ja 1\r\nnein\r\nja 2\r\n", "JA", "ja 1\r\nja 2\r\n"},
      {7, "a;\r\nb\r\nc;\r\n", ";", "a;\r\nc;\r\n"},
      // Without a final break the result has none, and the new last line loses its blanks.
      {3, "keep  \r\nx drop\r\nkeep2 \r\ndrop", "drop", "keep  \r\nkeep2"},
      {3, "a\r\n\r\nb", "b", "a"},
      {3, "drop\r\nkeep", "drop", "keep"},
      {3, "only drop", "drop", ""},
      {3, "", "x", ""},
      {6, "", "x", ""},
      {3, "\r\n", "x", "\r\n"},  // an empty last line is a final break
      {0, "a\r\nb", "(", "a\r\nb"},  // a failing expression deletes nothing
      {8, "a\r\nb", "a", "a\r\nb"},
      {-1, "a\r\nb", "a", "a\r\nb"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::to_string(r.Mode) + ": " + r.Text);
    EXPECT_EQ(RemoveMatchingLines(r.Text, r.Mode, r.Pattern), r.Expected);
  }
}

TEST(RemoveMatchingLines, KeepsZeroBytesInTheLines) {
  const std::string text("a\0b\r\ndrop\r\nc", 12);
  EXPECT_EQ(RemoveMatchingLines(text, 3, "drop"), std::string("a\0b\r\nc", 6));
}

TEST(RemoveLines, DeletesAsOneUndoStep) {
  auto edit = MakeEdit("eins\r\nzwei ZWEI\r\ndrei\r\nzwei");
  AnswerInput("zwei", "Zeilen l\xF6schen, die den folgenden Text enthalten:");
  RemoveLines(3, edit.get());
  EXPECT_EQ(edit->Text(), "eins\r\ndrei");
  ExpectUndoRedoRoundTrip(*edit, "eins\r\nzwei ZWEI\r\ndrei\r\nzwei", "eins\r\ndrei");

  AnswerInput("^[a-z]+$", "Zeilen l\xF6schen, die nicht dem folgenden regul\xE4ren Ausdruck "
                          "entsprechen:");
  RemoveLines(1, edit.get());
  EXPECT_EQ(edit->Text(), "eins\r\ndrei\r\nzwei");
}

TEST(RemoveLines, AnInvalidExpressionLeavesTheTextAndClosesTheUndoBlock) {
  auto edit = MakeEdit("a(\r\nb");
  AnswerInput("a(");
  RemoveLines(0, edit.get());
  EXPECT_EQ(edit->Text(), "a(\r\nb");
  // The block is closed: a later edit is an undo step of its own.
  edit->SetSelStart(4);
  edit->SetSelLength(1);
  edit->SetSelText("");
  edit->Undo();
  EXPECT_EQ(edit->Text(), "a(\r\nb");
  EXPECT_TRUE(edit->CanUndo());
}

TEST(RemoveLines, CancelAnEmptyAnswerAnOtherModeOrNoEditorChangeNothing) {
  auto edit = MakeEdit("a\r\nb");
  testsupport::QueueAnswer(IDCANCEL);
  RemoveLines(2, edit.get());
  AnswerInput("");
  RemoveLines(2, edit.get());
  RemoveLines(8, edit.get());
  RemoveLines(3, nullptr);
  EXPECT_EQ(edit->Text(), "a\r\nb");
  EXPECT_FALSE(edit->CanUndo());
  EXPECT_EQ(testsupport::AskedQuestions().size(), 2u);
}

TEST(RemoveLines, WorksOnAnEmptyDocument) {
  auto edit = MakeEdit("");
  AnswerInput("x");
  RemoveLines(6, edit.get());
  EXPECT_EQ(edit->Text(), "");
}

// --- Trailing white space --------------------------------------------------------------------

TEST(TrimTrailingSpaces, TrimsEveryLineAsOneUndoStep) {
  const std::string before = "a \t\r\n   \r\nb\x01\r\nc\r\n  d  ";
  const std::string after = "a\r\n\r\nb\r\nc\r\n  d";
  // Room in the undo list for a step per line, and too little of it.
  for (int maxUndo : {1024, 4}) {
    SCOPED_TRACE(maxUndo);
    auto edit = MakeEdit(before);
    edit->SetMaxUndo(maxUndo);
    edit->SetCaretXY({4, 1});
    TrimTrailingSpaces(edit.get());
    EXPECT_EQ(edit->Text(), after);
    EXPECT_EQ(edit->CaretXY(), (TBufferCoord{2, 1}));
    ExpectUndoRedoRoundTrip(*edit, before, after);
  }
}

TEST(TrimTrailingSpaces, KeepsBookmarksAndLeavesCleanTextUntouched) {
  auto edit = MakeEdit("a  \r\nb  \r\nc");
  edit->SetBookMark(1, 1, 2);
  TrimTrailingSpaces(edit.get());
  int x = 0, y = 0;
  ASSERT_TRUE(edit->GetBookMark(1, x, y));
  EXPECT_EQ(y, 2);

  auto clean = MakeEdit("a\r\nb");
  TrimTrailingSpaces(clean.get());
  EXPECT_FALSE(clean->CanUndo());
  TrimTrailingSpaces(nullptr);
}

// --- Memory-bank captions --------------------------------------------------------------------

TEST(BuildMemoryBankMenu, ShowsTheBankTextSafelyAndShortened) {
  MemoryBanks.fill("");
  EXPECT_EQ(BuildMemoryBankMenu(3), "Ablage &3");
  MemoryBanks[0] = "A&B\r\nC";
  EXPECT_EQ(BuildMemoryBankMenu(0), "Ablage &0 (A&&B C)");

  const std::string eighty(80, 'x');
  MemoryBanks[9] = eighty;
  EXPECT_EQ(BuildMemoryBankMenu(9), "Ablage &9 (" + eighty + ")");

  // 81 characters: the text twice, joined by a blank, then cut in the middle.
  std::string long81;
  for (int i = 0; i < 81; ++i) long81 += char('a' + i % 26);
  MemoryBanks[1] = long81;
  EXPECT_EQ(BuildMemoryBankMenu(1),
            "Ablage &1 (" + long81.substr(0, 37) + " ... " + long81.substr(81 - 37) + ")");

  // Longer: the first and last hundred characters, trimmed where they meet.
  MemoryBanks[2] = "  " + std::string(150, 'h') + std::string(150, 't') + "&  ";
  EXPECT_EQ(BuildMemoryBankMenu(2),
            "Ablage &2 (" + std::string(37, 'h') + " ... " + std::string(36, 't') + "&&)");
  EXPECT_EQ(BuildMemoryBankMenu(10), "Ablage &10");
  MemoryBanks.fill("");
}

// --- Cursor-position markers -----------------------------------------------------------------

TEST(CursorPosMarkers, SelectTheNextOrPreviousMarkerAndWrap) {
  enum Dir { Next, Prev };
  struct Row {
    const char* Name;
    const char* Text;
    Dir How;
    int SelStart, SelLength;
    int ExpectedStart, ExpectedLength;
  };
  const Row rows[] = {
      {"next from the start", "$|$ a $|$", Next, 0, 0, 0, 3},
      {"a selected marker is skipped", "$|$ a $|$", Next, 0, 3, 6, 3},
      {"next wraps", "$|$ a $|$", Next, 6, 3, 0, 3},
      {"next on a later line", "x\r\ny $|$", Next, 0, 0, 5, 3},
      {"previous", "$|$ a $|$", Prev, 6, 3, 0, 3},
      {"previous from the start looks from the end", "$|$ a $|$", Prev, 0, 0, 6, 3},
      {"previous wraps", "a $|$ b", Prev, 2, 3, 2, 3},
      {"none", "a $| $", Next, 1, 0, 1, 0},
      {"none backwards", "a $| $", Prev, 1, 0, 1, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.Name);
    auto edit = MakeEdit(r.Text);
    edit->SetSelStart(r.SelStart);
    edit->SetSelLength(r.SelLength);
    if (r.How == Next)
      NextCursorPosInEditor(*edit);
    else
      PrevCursorPosInEditor(*edit);
    EXPECT_EQ(edit->SelStart(), r.ExpectedStart);
    EXPECT_EQ(edit->SelLength(), r.ExpectedLength);
  }
}

// --- Matching brackets -----------------------------------------------------------------------

TEST(GotoMatchingBracket, FindsThePartnerOfTheBracketAtOrBeforeTheCaret) {
  struct Row {
    const char* Name;
    const char* Text;
    TBufferCoord Caret;
    TBufferCoord Expected;
  };
  const Row rows[] = {
      {"at the caret, nested", "f(a(b)c)", {2, 1}, {8, 1}},
      {"inner pair", "f(a(b)c)", {4, 1}, {6, 1}},
      {"closing at the caret", "f(a(b)c)", {8, 1}, {2, 1}},
      {"just after a closing one", "f(a)", {5, 1}, {2, 1}},
      {"column 1 and the last character", "[x]", {1, 1}, {3, 1}},
      {"the last character back to column 1", "{\r\n  x\r\n}", {1, 3}, {1, 1}},
      {"after the last character", "{\r\n  x\r\n}", {2, 3}, {1, 1}},
      {"angle brackets", "<a<b>>", {1, 1}, {6, 1}},
      {"the one at the caret wins", "()()", {3, 1}, {4, 1}},
      {"no bracket", "abc", {2, 1}, {0, 0}},
      {"unmatched", "((a)", {1, 1}, {0, 0}},
      {"empty text", "", {1, 1}, {0, 0}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.Name);
    auto edit = MakeEdit(r.Text);
    edit->SetCaretXY(r.Caret);
    EXPECT_EQ(GotoMatchingBracket(edit.get()), r.Expected);
  }
}

TEST(GotoMatchingBracket, NothingWithASelectionOrWithoutAnEditor) {
  auto edit = MakeEdit("(a)");
  edit->SetSelStart(0);
  edit->SetSelLength(1);
  EXPECT_EQ(GotoMatchingBracket(edit.get()), (TBufferCoord{0, 0}));
  EXPECT_EQ(GotoMatchingBracket(nullptr), (TBufferCoord{0, 0}));
}

TEST(GotoMatchingBracket, AMatchScrolledOutOfViewIsStillFound) {
  auto edit = MakeEdit("(" + std::string(300, 'x') + ")");
  edit->SetCaretXY({302, 1});
  edit->SetLeftChar(250);
  EXPECT_EQ(GotoMatchingBracket(edit.get()), (TBufferCoord{1, 1}));
}

// --- E-mail addresses ------------------------------------------------------------------------

TEST(IsValidEmail, AcceptsOnlyAWholeLowerCaseAddress) {
  const std::pair<const char*, bool> rows[] = {
      {"max.muster@example.com", true},
      {"a_b-c@sub.example.de", true},
      {"x@y.museum", true},
      {"Max@example.com", false},
      {"max@example.Com", false},
      {"max@example.toolong", false},  // seven letters
      {"max@example", false},
      {"max.@example.com", false},
      {"@example.com", false},
      {"", false},
      {"max@example.com\r\nnoch etwas", false},
      {"davor\r\nmax@example.com", false},
  };
  for (const auto& [text, valid] : rows) EXPECT_EQ(IsValidEmail(text), valid) << text;
}
