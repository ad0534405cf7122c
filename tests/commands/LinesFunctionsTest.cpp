#include <gtest/gtest.h>
#include "commands/fHlpMainLines.h"
#include "documents/TrailingSpaces.h"
#include "documents/fHlpMainFuncs.h"
#include "editor/CodeEditTestFixture.h"
#include "foundation/Regex.h"
#include "support/ModalAnswers.h"
#include "support/RunawayReport.h"

using codeedittest::ExpectUndoRedoRoundTrip;
using codeedittest::MakeEdit;

namespace {

void AnswerInput(const std::string& Value, const std::string& ExpectedPrompt = "") {
  ModalAnswer answer;
  answer.result = IDOK;
  answer.value = Value;
  testsupport::QueueAnswer(answer, [ExpectedPrompt](const ModalQuestion& Q) {
    EXPECT_EQ(Q.kind, ModalKind::InputBox);
    EXPECT_EQ(Q.caption, "Zeilen l\xF6schen");
    EXPECT_EQ(Q.input, TInputKind::SearchText) << "a text the code page lacks is refused";
    EXPECT_EQ(Q.value, "");
    if (!ExpectedPrompt.empty()) {
      EXPECT_EQ(Q.text, ExpectedPrompt);
    }
  });
}

// The message the expression engine gives for Pattern.
std::string RegexErrorText(const std::string& Pattern) {
  try {
    TRegex regex;
    regex.SetExpression(Pattern);
    regex.Compile();
  } catch (const ERegex& E) {
    return E.what();
  }
  ADD_FAILURE() << Pattern << " is valid";
  return "";
}

}  // namespace

TEST(RemoveMatchingLines, EachModeKeepsTheLinesNotMeetingItsCondition) {
  struct Row {
    int Mode;
    const char* Text;
    const char* Pattern;
    const char* Expected;
  };
  const Row rows[] = {
      {0, "a1\r\nA\r\na2\r\n", "^a", "A\r\n"},  // expressions keep case
      {1, "a1\r\nbb\r\nc2\r\n", "[0-9]", "a1\r\nc2\r\n"},
      {2, "Test eins\r\nein test\r\n", "TEST", "ein test\r\n"},
      {3, "ein WORT\r\nnichts\r\n\xC4RGER\r\n", "wort", "nichts\r\n\xC4RGER\r\n"},
      {3, "\xC4RGER\r\nruhig\r\n", "\xE4rger", "ruhig\r\n"},  // locale-aware case
      {4, "eins.txt\r\nzwei.TXT\r\ndrei.doc\r\n", ".txt", "drei.doc\r\n"},
      {5, "#a\r\nb\r\n#c\r\n", "#", "#a\r\n#c\r\n"},
      {6, "ja 1\r\nnein\r\n", "JA", "ja 1\r\n"},
      {7, "a;\r\nb\r\n", ";", "a;\r\n"},
      // Without a final break the result has none, and the new last line loses its blanks.
      {3, "keep  \r\nx drop\r\nkeep2 \r\ndrop", "drop", "keep  \r\nkeep2"},
      {3, "only drop", "drop", ""},
      {3, "", "x", ""},
      {3, "\r\n", "x", "\r\n"},       // an empty last line is a final break
      {8, "a\r\nb", "a", "a\r\nb"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::to_string(r.Mode) + ": " + r.Text);
    EXPECT_EQ(RemoveMatchingLines(r.Text, r.Mode, r.Pattern), r.Expected);
  }
  const std::string withZero("a\0b\r\ndrop\r\nc", 12);
  EXPECT_EQ(RemoveMatchingLines(withZero, 3, "drop"), std::string("a\0b\r\nc", 6));
  // A failing expression gives no partial result.
  EXPECT_THROW(RemoveMatchingLines("a\r\nb", 0, "("), ERegex);
  EXPECT_THROW(RemoveMatchingLines("a\r\nb", 1, "a{2,1}"), ERegex);
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

TEST(RemoveLines, AnInvalidExpressionIsReportedAndChangesNothing) {
  // Trailing blanks and no final break: a replaced text would lose them.
  const std::string before = "a(  \r\nb  ";
  auto edit = MakeEdit(before);
  edit->SetSelStart(2);
  edit->SetSelLength(3);
  AnswerInput("a(");
  testsupport::QueueAnswer({IDOK}, [](const ModalQuestion& Q) {
    EXPECT_EQ(Q.kind, ModalKind::MessageBox);
    EXPECT_EQ(Q.text, RegexErrorText("a("));
    EXPECT_EQ(Q.flags, UINT(MB_OK | MB_ICONERROR));
  });
  RemoveLines(0, edit.get());
  EXPECT_EQ(testsupport::PendingAnswers(), 0u) << "the error was not reported";
  EXPECT_EQ(edit->Text(), before);
  EXPECT_EQ(edit->SelStart(), 2);
  EXPECT_EQ(edit->SelLength(), 3);
  EXPECT_FALSE(edit->CanUndo());
  EXPECT_FALSE(edit->Modified());
}

TEST(RemoveLines, ARunawayExpressionIsReportedAndChangesNothing) {
  const std::string before = testsupport::RunawayText() + "\r\nb";
  auto edit = MakeEdit(before);
  AnswerInput(testsupport::RunawayPattern);
  testsupport::ExpectRunawayReport();
  RemoveLines(1, edit.get());
  EXPECT_EQ(testsupport::PendingAnswers(), 0u) << "the error was not reported";
  EXPECT_EQ(edit->Text(), before);
  EXPECT_FALSE(edit->CanUndo());
}

TEST(RemoveLines, AReadOnlyDocumentIsNeitherAskedForNorChanged) {
  const std::string before = "drop  \r\nkeep  ";
  auto edit = MakeEdit(before);
  edit->SetReadOnly(true);
  RemoveLines(3, edit.get());  // no answer queued: a question would fail the test
  TrimTrailingSpaces(edit.get());
  EXPECT_EQ(edit->Text(), before);
  EXPECT_TRUE(testsupport::AskedQuestions().empty());
  EXPECT_FALSE(CanWriteDocument(edit.get()));
  EXPECT_FALSE(CanWriteDocument(nullptr));
  // Writable again, both work.
  edit->SetReadOnly(false);
  EXPECT_TRUE(CanWriteDocument(edit.get()));
  AnswerInput("DROP");
  RemoveLines(3, edit.get());
  TrimTrailingSpaces(edit.get());
  EXPECT_EQ(edit->Text(), "keep");
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

  auto empty = MakeEdit("");
  AnswerInput("x");
  RemoveLines(6, empty.get());
  EXPECT_EQ(empty->Text(), "");
}

TEST(BuildMemoryBankMenu, ShowsTheBankTextSafelyAndShortened) {
  std::string long81;
  for (int i = 0; i < 81; ++i) long81 += char('a' + i % 26);
  MemoryBanks = {"A&B\r\nC", long81, "  " + std::string(150, 'h') + std::string(150, 't') + "&  ",
                 "", "", "", "", "", "", std::string(80, 'x')};
  EXPECT_EQ(BuildMemoryBankMenu(3), "Ablage &3");
  EXPECT_EQ(BuildMemoryBankMenu(0), "Ablage &0 (A&&B C)");
  EXPECT_EQ(BuildMemoryBankMenu(9), "Ablage &9 (" + std::string(80, 'x') + ")");
  // 81 characters: the text twice, joined by a blank, then cut in the middle.
  EXPECT_EQ(BuildMemoryBankMenu(1),
            "Ablage &1 (" + long81.substr(0, 37) + " ... " + long81.substr(81 - 37) + ")");
  // Longer: the first and last hundred characters, trimmed where they meet.
  EXPECT_EQ(BuildMemoryBankMenu(2),
            "Ablage &2 (" + std::string(37, 'h') + " ... " + std::string(36, 't') + "&&)");
  EXPECT_EQ(BuildMemoryBankMenu(10), "Ablage &10");
  MemoryBanks.fill("");
}

TEST(CursorPosMarkers, SelectTheNextOrPreviousMarkerAndWrap) {
  struct Row {
    bool Next;
    const char* Text;
    int SelStart, SelLength, ExpectedStart, ExpectedLength;
  };
  const Row rows[] = {
      {true, "$|$ a $|$", 0, 0, 0, 3},  {true, "$|$ a $|$", 0, 3, 6, 3},  // a selected one skipped
      {true, "$|$ a $|$", 6, 3, 0, 3},  {true, "x\r\ny $|$", 0, 0, 5, 3},
      {false, "$|$ a $|$", 6, 3, 0, 3}, {false, "$|$ a $|$", 0, 0, 6, 3},  // from the end
      {false, "a $|$ b", 2, 3, 2, 3},   {true, "a $| $", 1, 0, 1, 0},
      {false, "a $| $", 1, 0, 1, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.Text) + " from " + std::to_string(r.SelStart));
    auto edit = MakeEdit(r.Text);
    edit->SetSelStart(r.SelStart);
    edit->SetSelLength(r.SelLength);
    r.Next ? NextCursorPosInEditor(*edit) : PrevCursorPosInEditor(*edit);
    EXPECT_EQ(edit->SelStart(), r.ExpectedStart);
    EXPECT_EQ(edit->SelLength(), r.ExpectedLength);
  }
}

TEST(GotoMatchingBracket, FindsThePartnerOfTheBracketAtOrBeforeTheCaret) {
  struct Row {
    const char* Text;
    TBufferCoord Caret;
    TBufferCoord Expected;
  };
  const Row rows[] = {
      {"f(a(b)c)", {2, 1}, {8, 1}},  // nested
      {"f(a(b)c)", {8, 1}, {2, 1}},
      {"f(a)", {5, 1}, {2, 1}},      // just after a closing one
      {"[x]", {1, 1}, {3, 1}},       // column 1 and the last character
      {"{\r\n  x\r\n}", {1, 3}, {1, 1}},
      {"<a<b>>", {1, 1}, {6, 1}},
      {"()()", {3, 1}, {4, 1}},      // the one at the caret wins
      {"abc", {2, 1}, {0, 0}},
      {"((a)", {1, 1}, {0, 0}},
      {"", {1, 1}, {0, 0}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.Text);
    auto edit = MakeEdit(r.Text);
    edit->SetCaretXY(r.Caret);
    EXPECT_EQ(GotoMatchingBracket(edit.get()), r.Expected);
  }
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

TEST(IsValidEmail, AcceptsOnlyAWholeLowerCaseAddress) {
  const std::pair<const char*, bool> rows[] = {
      {"max.muster@example.com", true},
      {"a_b-c@sub.example.museum", true},
      {"Max@example.com", false},
      {"max@example.toolong", false},  // seven letters
      {"max.@example.com", false},
      {"", false},
      {"max@example.com\r\nnoch etwas", false},
      {"davor\r\nmax@example.com", false},
  };
  for (const auto& [text, valid] : rows) EXPECT_EQ(IsValidEmail(text), valid) << text;
}
