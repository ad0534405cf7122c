// The Format menu's line operations: splitting, trailing blanks, sorting, empty and duplicate
// lines, filling, joining, and moving lines in an editor.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "commands/LineOperations.h"
#include "editor/CodeEditTestFixture.h"

using codeedittest::MakeEdit;
using codeedittest::Select;
using codeedittest::Type;

namespace {

struct TRow {
  const char* Input;
  const char* Expected;
};

void ExpectRows(std::string (*Convert)(const std::string&), std::initializer_list<TRow> Rows) {
  for (const TRow& r : Rows) EXPECT_EQ(Convert(r.Input), r.Expected) << r.Input;
}

std::string SortAsc(const std::string& T) { return SortTextLines(T, false); }
std::string SortDesc(const std::string& T) { return SortTextLines(T, true); }

}  // namespace

TEST(SplitTextLines, EveryKindOfBreakAndAFinalOne) {
  using V = std::vector<std::string>;
  EXPECT_EQ(SplitTextLines(""), V{});
  EXPECT_EQ(SplitTextLines("a"), V{"a"});
  EXPECT_EQ(SplitTextLines("a\r\n"), V{"a"});
  EXPECT_EQ(SplitTextLines("a\r\nb\nc\rd"), (V{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitTextLines("\r\n\r\n"), (V{"", ""}));
  EXPECT_EQ(SplitTextLines("a\n\rb"), (V{"a", "", "b"}));  // LF CR is two breaks
  EXPECT_EQ(SplitTextLines(std::string("a\0b", 3)), V{std::string("a\0b", 3)});
}

TEST(LineOperations, TrailingBlanksGoAndEveryLineEndsWithABreak) {
  ExpectRows(TrimLineEnds, {
      {"a  \r\nb\t", "a\r\nb\r\n"},
      {"a \nb \rc", "a\r\nb\r\nc\r\n"},
      {"  \r\n", "\r\n"},
      {"x\x01", "x\r\n"},
      {"\xE4\xA0", "\xE4\xA0\r\n"},  // a byte above 127 is no blank
      {"", ""},
  });
}

TEST(LineOperations, SortingIgnoresCaseAndKeepsTheFinalBreakAsItWas) {
  ExpectRows(SortAsc, {
      {"b\r\nA\r\nc", "A\r\nb\r\nc"},
      {"b\r\nA\r\nc\r\n", "A\r\nb\r\nc\r\n"},
      {"b\r\n\r\na", "\r\na\r\nb"},
      {"\xF6l\r\nzug\r\nap", "ap\r\n\xF6l\r\nzug"},  // locale order: o-umlaut before z
      {"one", "one"},
      {"", ""},
  });
  ExpectRows(SortDesc, {
      {"b\r\nA\r\nc", "c\r\nb\r\nA"},
      {"a\r\nB\r\n", "B\r\na\r\n"},
  });
  EXPECT_LT(SortDescCompare("b", "a"), 0);
  EXPECT_EQ(SortDescCompare("A", "a"), 0);
}

TEST(LineOperations, EmptyAndDuplicateLinesAreRemoved) {
  ExpectRows(DeleteEmptyTextLines, {
      {"a\r\n  \r\n\t\r\nb\r\n", "a\r\nb"},
      {"\r\n\r\na", "a"},
      {"a  \r\n\r\n", "a"},  // the end of the result loses its blanks
      {" \r\n", ""},
      {"", ""},
  });
  ExpectRows(DeleteDuplicateTextLines, {
      {"Abc\r\nabc\r\nx", "Abc\r\nx"},
      {"x\r\nABC\r\nx\r\nabc\r\n", "x\r\nABC\r\n"},
      {"a \r\nb\r\na ", "a \r\nb"},
      {"\xC4rger\r\n\xE4RGER", "\xC4rger"},  // case folded by the locale
      {"\r\n\r\n", "\r\n"},
      {"", ""},
  });
}

TEST(LineOperations, FillingRepeatsThePatternToTheLength) {
  EXPECT_EQ(FillText(5, "xy"), "xyxyx");
  EXPECT_EQ(FillText(4, "xy"), "xyxy");
  EXPECT_EQ(FillText(1, "abc"), "a");
  EXPECT_EQ(FillText(0, "abc"), "");
  EXPECT_EQ(FillText(3, ""), "");
}

TEST(LineOperations, JoiningTrimsEachLine) {
  ExpectRows(JoinTextLines, {
      {" a \r\nb", "a b"},
      {"a\r\nb\r\n", "a b"},    // the final break is consumed
      {"a\r\n\r\nb", "a  b"},   // an empty line leaves two blanks
      {"only", "only"},
      {"", ""},
  });
}

namespace {

struct TMoveRow {
  const char* Name;
  bool Up;
  TBufferCoord From, To;
  const char* Expected;
  TBufferCoord NewFrom, NewTo;
};

}  // namespace

TEST(MoveLines, TheBlockPassesItsNeighbourAsOneUndoStep) {
  const std::string text = "1\r\n22\r\n333\r\n4444";
  const TMoveRow rows[] = {
      {"caret line up", true, {2, 2}, {2, 2}, "22\r\n1\r\n333\r\n4444", {2, 1}, {2, 1}},
      {"block down", false, {1, 2}, {2, 3}, "1\r\n4444\r\n22\r\n333", {1, 3}, {2, 4}},
      {"last line up", true, {3, 4}, {3, 4}, "1\r\n22\r\n4444\r\n333", {3, 3}, {3, 3}},
      {"first line down", false, {1, 1}, {1, 1}, "22\r\n1\r\n333\r\n4444", {1, 2}, {1, 2}},
  };
  for (const TMoveRow& r : rows) {
    SCOPED_TRACE(r.Name);
    auto edit = MakeEdit(text);
    Select(*edit, r.From, r.To);
    ASSERT_TRUE(MoveLines(*edit, r.Up));
    EXPECT_EQ(edit->Text(), r.Expected);
    EXPECT_EQ(edit->BlockBegin(), r.NewFrom);
    EXPECT_EQ(edit->BlockEnd(), r.NewTo);
    EXPECT_EQ(edit->CaretXY(), r.NewTo);
    edit->Undo();
    EXPECT_EQ(edit->Text(), text);
    EXPECT_FALSE(edit->CanUndo());
    edit->Redo();
    EXPECT_EQ(edit->Text(), r.Expected);
  }
}

TEST(MoveLines, NothingPastTheEndsAndEarlierUndoStepsStillFit) {
  auto edit = MakeEdit("a\r\nb");
  Select(*edit, {1, 1}, {2, 2});
  EXPECT_FALSE(MoveLines(*edit, true));
  EXPECT_FALSE(MoveLines(*edit, false));
  EXPECT_EQ(edit->Text(), "a\r\nb");

  // Typing, moving, undoing both: each undo lands on the line it belongs to.
  edit = MakeEdit("a\r\nb\r\nc");
  edit->SetCaretXY({2, 3});
  Type(*edit, "X");
  edit->SetCaretXY({1, 3});
  ASSERT_TRUE(MoveLines(*edit, true));
  EXPECT_EQ(edit->Text(), "a\r\ncX\r\nb");
  edit->Undo();
  EXPECT_EQ(edit->Text(), "a\r\nb\r\ncX");
  edit->Undo();
  EXPECT_EQ(edit->Text(), "a\r\nb\r\nc");

  // A column selection moves whole lines too.
  edit = MakeEdit("ab\r\ncd\r\nef");
  edit->SetSelectionMode(TCodeSelectionMode::smColumn);
  Select(*edit, {2, 2}, {3, 3});
  ASSERT_TRUE(MoveLines(*edit, true));
  EXPECT_EQ(edit->Text(), "cd\r\nef\r\nab");
  EXPECT_EQ(edit->SelectionMode(), TCodeSelectionMode::smColumn);
}
