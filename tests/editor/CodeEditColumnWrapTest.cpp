// Column blocks while lines wrap: every use of the block takes the same columns of each line.
#include <windows.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <utility>
#include "CodeEditTestFixture.h"
#include "WrappedEditFixture.h"
#include "support/ScreenCapture.h"

using namespace codeedittest;
using testsupport::TScreenCapture;

namespace {
constexpr TColor kPaper = 0x00FFFFFF;
constexpr TColor kInk = 0x00000000;
constexpr TColor kSelection = 0x0000A000;
constexpr TColor kSelectionInk = 0x00FFFFFF;

// 100 letters running through the alphabet: character 3 is 'c', 43 is 'q', 83 is 'e'.
std::string Letters(char First) {
  std::string s;
  for (int i = 0; i < 100; ++i) s += static_cast<char>(First + i % 26);
  return s;
}
const std::string kLower = Letters('a');
const std::string kUpper = Letters('A');

std::string Removed(std::string S, int Char, int Count) { return S.erase(Char - 1, Count); }
std::string Inserted(std::string S, int Char, const std::string& Part) {
  return S.insert(Char - 1, Part);
}

// Two lines of 100 letters in a window 40 columns wide: rows 1-3 hold line 1, rows 4-6 line 2.
// The block's ends stand in columns 3 and 5 of the continuation rows 2 and 5.
class ColumnWrapTest : public WrappedEditTest {
protected:
  void SetUp() override {
    ShowWrapped(kLower + "\r\n" + kUpper, CodeEditDefaultOptions, 40, [](TTestEdit& Edit) {
      Edit.SetColor(kPaper);
      Edit.Font().SetColor(kInk);
      Edit.SelectedColor().SetBackground(kSelection);
      Edit.SelectedColor().SetForeground(kSelectionInk);
    });
    ASSERT_EQ(edit_->DisplayRowCount(), 6);
    edit_->SetSelectionMode(TCodeSelectionMode::smColumn);
  }
  void SelectBlock() { Select(*edit_, {43, 1}, {45, 2}); }
  RECT Cell(int Column, int Row) const {
    int x = edit_->GutterWidth() + 2 + (Column - 1) * edit_->CharWidth();
    int y = (Row - 1) * edit_->LineHeight();
    return {x, y, x + edit_->CharWidth(), y + edit_->LineHeight()};
  }
  // Most of the cell shows the selection (the glyph's strokes cover the rest).
  bool PaintedSelected(const TScreenCapture& C, int Column, int Row) const {
    return C.Count(Cell(Column, Row), kSelection) * 2 > edit_->CharWidth() * edit_->LineHeight();
  }
};
}  // namespace

TEST_F(ColumnWrapTest, BlockTextIsTakenFromTheColumnsWithinEachLine) {
  SelectBlock();
  EXPECT_EQ(edit_->SelText(), "qr\r\nQR");
  // Ends in the same row column but different line columns still span a block.
  Select(*edit_, {43, 1}, {3, 2});
  EXPECT_TRUE(edit_->SelAvail());
  EXPECT_EQ(edit_->SelText(), kLower.substr(2, 40) + "\r\n" + kUpper.substr(2, 40));
}

TEST_F(ColumnWrapTest, DeletingTheBlockRemovesThoseColumnsAndUndoPutsThemBack) {
  SelectBlock();
  Cmd(*edit_, ecDeleteChar);
  EXPECT_EQ(Line(1), Removed(kLower, 43, 2));
  EXPECT_EQ(Line(2), Removed(kUpper, 43, 2));
  EXPECT_EQ(edit_->CaretXY(), (TBufferCoord{43, 1}));
  edit_->Undo();
  EXPECT_EQ(Line(1), kLower);
  EXPECT_EQ(Line(2), kUpper);
  edit_->Redo();
  EXPECT_EQ(Line(1), Removed(kLower, 43, 2));
  EXPECT_EQ(Line(2), Removed(kUpper, 43, 2));
}

TEST_F(ColumnWrapTest, ReplacingTheBlockTypesAtItsLeftColumn) {
  SelectBlock();
  edit_->SetSelText("12\r\n34");
  EXPECT_EQ(Line(1), Inserted(Removed(kLower, 43, 2), 43, "12"));
  EXPECT_EQ(Line(2), Inserted(Removed(kUpper, 43, 2), 43, "34"));
  edit_->Undo();
  EXPECT_EQ(Line(1), kLower);
  EXPECT_EQ(Line(2), kUpper);
}

TEST_F(ColumnWrapTest, CopiedBlockIsPastedAtTheCaretsColumnWithinTheLine) {
  TFakeClipboard clipboard;
  SelectBlock();
  edit_->CopyToClipboard();
  edit_->SetCaretXY({83, 1});  // column 3 of row 3
  edit_->PasteFromClipboard();
  EXPECT_EQ(Line(1), Inserted(kLower, 83, "qr"));
  EXPECT_EQ(Line(2), Inserted(kUpper, 83, "QR"));
  edit_->Undo();
  EXPECT_EQ(Line(1), kLower);
  EXPECT_EQ(Line(2), kUpper);
}

TEST_F(ColumnWrapTest, BlockCommandsWorkOnTheBlocksColumns) {
  SelectBlock();
  Cmd(*edit_, ecUpperCaseBlock);
  EXPECT_EQ(Line(1), kLower.substr(0, 42) + "QR" + kLower.substr(44));
  edit_->Undo();
  EXPECT_EQ(Line(1), kLower);
  SelectBlock();
  edit_->SetOptions(With(edit_->Options(), TCodeEditorOption::eoTabsToSpaces));
  edit_->SetTabWidth(2);
  Cmd(*edit_, ecBlockIndent);
  EXPECT_EQ(Line(1), Inserted(kLower, 43, "  "));
  EXPECT_EQ(Line(2), Inserted(kUpper, 43, "  "));
  EXPECT_EQ(edit_->SelText(), "qr\r\nQR");  // the block moved with its text
}

TEST_F(ColumnWrapTest, BlockIsPaintedOnTheContinuationRowsItWasMadeOn) {
  SelectBlock();
  TScreenCapture c(edit_->Handle());
  for (int row : {2, 5}) {
    EXPECT_TRUE(PaintedSelected(c, 3, row)) << row;
    EXPECT_TRUE(PaintedSelected(c, 4, row)) << row;
    EXPECT_FALSE(c.Contains(Cell(5, row), kSelection)) << row;
  }
  for (int row : {1, 3, 4, 6}) EXPECT_FALSE(c.Contains(Cell(3, row), kSelection)) << row;
}

TEST_F(ColumnWrapTest, PointsInTheSelectionAreTheCellsPaintedSelected) {
  SelectBlock();
  EXPECT_TRUE(edit_->IsPointInSelection({43, 1}));
  EXPECT_FALSE(edit_->IsPointInSelection({3, 1}));
  // A wider block runs over the end of the first rows and into the continuation rows.
  for (auto [from, to] : {std::pair<TBufferCoord, TBufferCoord>{{43, 1}, {45, 2}},
                          {{35, 1}, {45, 2}}}) {
    Select(*edit_, from, to);
    TScreenCapture c(edit_->Handle());
    for (int row = 1; row <= 6; ++row)
      for (int column = 1; column <= 40; ++column)
        EXPECT_EQ(edit_->IsPointInSelection(edit_->DisplayToBufferPos({column, row})),
                  PaintedSelected(c, column, row))
            << "from " << from.Char << ", cell " << column << "/" << row;
  }
}
