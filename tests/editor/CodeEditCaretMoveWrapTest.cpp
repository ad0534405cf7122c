// Home, End, Left and Right with word wrap move within the caret's display row.
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include "CodeEditTestFixture.h"
#include "WrappedEditFixture.h"
#include "support/ScreenCapture.h"

using namespace codeedittest;

namespace {
using EO = TCodeEditorOption;

// 100 letters wrap into rows of 40, 40 and 20 columns in a 40-column window.
const std::string k100(100, 'x');
// A blank in column 36 breaks the first row behind it: a row of 36 columns, then 20.
const std::string kShortRow = std::string(35, 'a') + " " + std::string(20, 'b');

class CaretMoveWrapTest : public WrappedEditTest {
protected:
  void Show(const std::string& Text, TCodeEditorOptions Options = CodeEditDefaultOptions) {
    ShowWrapped(Text, Options);
    SetRows(400 / edit_->LineHeight());
  }
  void SetRows(int Rows) {
    SetColumns(40, Rows * edit_->LineHeight());
    ASSERT_EQ(edit_->LinesInWindow(), Rows);
  }
  // The caret's buffer position and where it is shown.
  ::testing::AssertionResult At(TBufferCoord Caret, TDisplayCoord Display) const {
    TBufferCoord c = edit_->CaretXY();
    TDisplayCoord d = edit_->DisplayXY();
    if (c == Caret && d == Display) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "caret (" << c.Char << ", " << c.Line << ") shown at (" << d.Column << ", "
           << d.Row << "), expected (" << Caret.Char << ", " << Caret.Line << ") at ("
           << Display.Column << ", " << Display.Row << ")";
  }
};
}  // namespace

TEST_F(CaretMoveWrapTest, HomeGoesToTheStartOfTheCaretsRow) {
  Show(k100);
  edit_->SetCaretXY({55, 1});
  Cmd(*edit_, ecLineStart);
  EXPECT_TRUE(At({41, 1}, {1, 2}));
  Cmd(*edit_, ecLineStart);
  EXPECT_TRUE(At({41, 1}, {1, 2}));

  edit_->SetCaretXY({95, 1});
  Cmd(*edit_, ecSelLineStart);
  EXPECT_TRUE(At({81, 1}, {1, 3}));
  EXPECT_EQ(edit_->BlockBegin(), (TBufferCoord{81, 1}));  // the selection's start and end
  EXPECT_EQ(edit_->BlockEnd(), (TBufferCoord{95, 1}));
  EXPECT_EQ(edit_->SelText(), std::string(14, 'x'));
}

TEST_F(CaretMoveWrapTest, HomeAtARowsEndGoesToTheStartOfThatRow) {
  Show(k100);
  edit_->SetInternalDisplayXY({41, 1});  // end of row 1, the same position as row 2's start
  Cmd(*edit_, ecLineStart);
  EXPECT_TRUE(At({1, 1}, {1, 1}));
}

TEST_F(CaretMoveWrapTest, EnhancedHomeTogglesOnTheFirstRowOnly) {
  Show("    " + std::string(96, 'y'), With(CodeEditDefaultOptions, EO::eoEnhanceHomeKey));
  edit_->SetCaretXY({20, 1});
  Cmd(*edit_, ecLineStart);
  EXPECT_TRUE(At({5, 1}, {5, 1}));
  Cmd(*edit_, ecLineStart);
  EXPECT_TRUE(At({1, 1}, {1, 1}));
  Cmd(*edit_, ecLineStart);
  EXPECT_TRUE(At({5, 1}, {5, 1}));

  // A continuation row has no indentation of its own: Home goes to its start.
  edit_->SetCaretXY({50, 1});
  Cmd(*edit_, ecSelLineStart);
  EXPECT_TRUE(At({41, 1}, {1, 2}));
  EXPECT_EQ(edit_->SelText(), std::string(9, 'y'));
}

TEST_F(CaretMoveWrapTest, EnhancedHomeTakesTheFirstRowsEndWhenTheTextStartsBelow) {
  // 50 blanks stay together on row 1, wider than the window; the text starts row 2.
  Show(std::string(50, ' ') + "text", With(CodeEditDefaultOptions, EO::eoEnhanceHomeKey));
  edit_->SetCaretXY({30, 1});  // left of the row's last window column
  Cmd(*edit_, ecLineStart);
  EXPECT_TRUE(At({1, 1}, {1, 1}));
  Cmd(*edit_, ecLineStart);
  EXPECT_TRUE(At({41, 1}, {41, 1}));
  Cmd(*edit_, ecLineStart);
  EXPECT_TRUE(At({1, 1}, {1, 1}));
}

TEST_F(CaretMoveWrapTest, EndStopsAtTheEndOfTheCaretsRow) {
  Show(k100 + "\r\nnext");
  edit_->SetCaretXY({5, 1});
  Cmd(*edit_, ecLineEnd);
  EXPECT_TRUE(At({41, 1}, {41, 1}));
  Cmd(*edit_, ecLineEnd);  // already at the row's end: stays
  EXPECT_TRUE(At({41, 1}, {41, 1}));

  edit_->SetCaretXY({45, 1});
  Cmd(*edit_, ecLineEnd);
  EXPECT_TRUE(At({81, 1}, {41, 2}));

  edit_->SetCaretXY({85, 1});  // the line's last row ends with the line
  Cmd(*edit_, ecLineEnd);
  EXPECT_TRUE(At({101, 1}, {21, 3}));
}

TEST_F(CaretMoveWrapTest, EndOfARowBrokenAtABlankStopsBehindTheBlank) {
  Show(kShortRow);
  edit_->SetCaretXY({3, 1});
  Cmd(*edit_, ecSelLineEnd);
  EXPECT_TRUE(At({37, 1}, {37, 1}));
  EXPECT_EQ(edit_->BlockBegin(), (TBufferCoord{3, 1}));
  EXPECT_EQ(edit_->BlockEnd(), (TBufferCoord{37, 1}));
  EXPECT_EQ(edit_->SelText(), std::string(33, 'a') + " ");
}

TEST_F(CaretMoveWrapTest, EnhancedEndSkipsTrailingBlanksOnTheLinesLastRowOnly) {
  Show(k100 + "   ");  // rows 40, 40 and 23 columns
  edit_->SetCaretXY({85, 1});
  Cmd(*edit_, ecLineEnd);
  EXPECT_TRUE(At({101, 1}, {21, 3}));
  Cmd(*edit_, ecLineEnd);
  EXPECT_TRUE(At({104, 1}, {24, 3}));

  edit_->SetCaretXY({5, 1});  // not the last row: the row's end
  Cmd(*edit_, ecLineEnd);
  EXPECT_TRUE(At({41, 1}, {41, 1}));
}

TEST_F(CaretMoveWrapTest, EndOnTheLastVisibleRowDoesNotScroll) {
  Show(k100);
  SetRows(1);
  edit_->SetCaretXY({5, 1});
  Cmd(*edit_, ecLineEnd);
  EXPECT_TRUE(At({41, 1}, {41, 1}));
  EXPECT_EQ(edit_->TopLine(), 1);
}

TEST_F(CaretMoveWrapTest, LeftFromAContinuationRowFirstStopsAtThePreviousRowsEnd) {
  Show(k100);
  edit_->SetCaretXY({41, 1});
  ASSERT_TRUE(At({41, 1}, {1, 2}));
  Cmd(*edit_, ecLeft);
  EXPECT_TRUE(At({41, 1}, {41, 1}));
  Cmd(*edit_, ecLeft);
  EXPECT_TRUE(At({40, 1}, {40, 1}));

  // Right from the row's end goes back to the start of the next row, then on.
  edit_->SetInternalDisplayXY({41, 1});
  Cmd(*edit_, ecRight);
  EXPECT_TRUE(At({41, 1}, {1, 2}));
  Cmd(*edit_, ecRight);
  EXPECT_TRUE(At({42, 1}, {2, 2}));
}

TEST_F(CaretMoveWrapTest, SelectingLeftOverARowBoundarySelectsFromTheSecondStep) {
  Show(kShortRow);
  edit_->SetCaretXY({37, 1});  // start of row 2
  Cmd(*edit_, ecSelLeft);
  EXPECT_TRUE(At({37, 1}, {37, 1}));
  EXPECT_FALSE(edit_->SelAvail());
  Cmd(*edit_, ecSelLeft);
  EXPECT_TRUE(At({36, 1}, {36, 1}));
  EXPECT_EQ(edit_->SelText(), " ");
  Cmd(*edit_, ecSelRight);
  Cmd(*edit_, ecSelRight);
  EXPECT_TRUE(At({38, 1}, {2, 2}));
  EXPECT_EQ(edit_->BlockBegin(), (TBufferCoord{37, 1}));
  EXPECT_EQ(edit_->SelText(), "b");
}

TEST_F(CaretMoveWrapTest, LeftIntoARowWiderThanTheWindowMovesOneCharacter) {
  // The end of a row of 50 blanks lies outside a 40-column window.
  Show(std::string(50, ' ') + "text");
  edit_->SetCaretXY({51, 1});
  ASSERT_TRUE(At({51, 1}, {1, 2}));
  Cmd(*edit_, ecLeft);
  EXPECT_EQ(edit_->CaretXY(), (TBufferCoord{50, 1}));
}

TEST_F(CaretMoveWrapTest, RightPastTheWindowsLastColumnGoesToTheNextRow) {
  Show(k100 + "\r\nnext");
  edit_->SetCaretXY({121, 1});  // beyond the text of the line's last row
  ASSERT_TRUE(At({121, 1}, {41, 3}));
  Cmd(*edit_, ecRight);
  EXPECT_TRUE(At({1, 2}, {1, 4}));

  edit_->SetCaretXY({121, 1});
  Cmd(*edit_, ecSelRight);
  EXPECT_TRUE(At({1, 2}, {1, 4}));
  EXPECT_EQ(edit_->BlockBegin(), (TBufferCoord{121, 1}));
  EXPECT_EQ(edit_->SelText(), "\r\n");

  // The last row of the text has no row below: the caret stays inside the window.
  edit_->SetCaretXY({41, 2});
  Cmd(*edit_, ecRight);
  EXPECT_TRUE(At({41, 2}, {41, 4}));
}

TEST_F(CaretMoveWrapTest, MovesOnAnEmptyTextStayAtTheStart) {
  Show("", WithOut(CodeEditDefaultOptions, EO::eoScrollPastEol));
  for (TCodeEditorCommand c : {ecLineEnd, ecRight, ecLineStart, ecLeft, ecSelLineEnd}) {
    Cmd(*edit_, c);
    EXPECT_TRUE(At({1, 1}, {1, 1})) << "command " << c;
  }
  EXPECT_FALSE(edit_->SelAvail());
}
