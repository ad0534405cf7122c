// The editor control with word wrap: rows of lines, positions, edits, width and caret.
#include <gtest/gtest.h>
#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>
#include "CodeEditTestFixture.h"
#include "editor/CodeEditLineStates.h"
#include "TestCommentHighlighter.h"
#include "WrappedEditFixture.h"
#include "support/ScreenCapture.h"

using namespace codeedittest;

namespace {
class WrapTest : public WrappedEditTest {
protected:
  void Show(const std::string& Text, int Columns = 40) {
    ShowWrapped(Text, CodeEditDefaultOptions, Columns);
  }
  // Rows of a text of letters only (no break characters): each line's length over 40, up.
  int ExpectedRows(int Width = 40) const {
    int rows = 0;
    for (int i = 0; i < edit_->Lines().Count(); ++i)
      rows += std::max(1, (static_cast<int>(edit_->Lines()[i].size()) + Width - 1) / Width);
    return rows;
  }
};

const std::string k100(100, 'x');
}  // namespace

TEST_F(WrapTest, LinesMapToRowsAndBack) {
  Show(k100 + "\r\n\r\nshort");
  EXPECT_TRUE(edit_->WordWrap());
  EXPECT_EQ(edit_->DisplayRowCount(), 5);
  EXPECT_EQ(edit_->BufferToDisplayPos({45, 1}), (TDisplayCoord{5, 2}));
  EXPECT_EQ(edit_->DisplayToBufferPos({5, 2}), (TBufferCoord{45, 1}));
  EXPECT_EQ(edit_->FirstRowOfLine(2), 4);
  EXPECT_EQ(edit_->FirstRowOfLine(3), 5);
  EXPECT_EQ(edit_->LineOfRow(3), 1);
  EXPECT_EQ(edit_->LineOfRow(5), 3);
  EXPECT_EQ(edit_->BufferToDisplayPos({3, 3}), (TDisplayCoord{3, 5}));
}

// Only an unwrapped line stops typing at the scroll width.
TEST_F(WrapTest, TypingPastTheScrollWidthGoesIn) {
  Show(std::string(1100, 'a'));
  ASSERT_FALSE(edit_->HasOption(TCodeEditorOption::eoAutoSizeMaxScrollWidth));
  ASSERT_EQ(edit_->MaxScrollWidth(), 1024);
  edit_->SetCaretXY({1101, 1});
  Cmd(*edit_, ecChar, 'x');
  EXPECT_EQ(edit_->Lines()[0].size(), 1101u);
  EXPECT_EQ(edit_->Lines()[0].back(), 'x');
  EXPECT_EQ(edit_->CaretXY(), (TBufferCoord{1102, 1}));
}

TEST_F(WrapTest, TabsCountTheirColumnsInRows) {
  Show("\t\t\t\t\tabc");  // 40 columns of tabs, then three letters on a second row
  EXPECT_EQ(edit_->DisplayRowCount(), 2);
  EXPECT_EQ(edit_->BufferToDisplayPos({6, 1}), (TDisplayCoord{1, 2}));
  EXPECT_EQ(edit_->DisplayToBufferPos({2, 2}), (TBufferCoord{7, 1}));
  edit_->SetTabWidth(2);
  EXPECT_EQ(edit_->DisplayRowCount(), 1);
  EXPECT_EQ(edit_->BufferToDisplayPos({6, 1}), (TDisplayCoord{11, 1}));
}

TEST_F(WrapTest, EditsKeepTheRowsInStepWithTheLines) {
  Show(k100 + "\r\nabc\r\n" + k100);
  ASSERT_EQ(edit_->DisplayRowCount(), ExpectedRows());
  edit_->SetCaretXY({101, 1});
  Type(*edit_, std::string(30, 'y'));  // line 1 grows to 130 columns: a fourth row
  EXPECT_EQ(edit_->DisplayRowCount(), ExpectedRows());
  EXPECT_EQ(edit_->FirstRowOfLine(2), 5);
  Cmd(*edit_, ecLineBreak);
  Type(*edit_, std::string(50, 'z'));
  EXPECT_EQ(edit_->DisplayRowCount(), ExpectedRows());
  Select(*edit_, {5, 1}, {2, 3});
  edit_->SetSelText(std::string());
  EXPECT_EQ(edit_->DisplayRowCount(), ExpectedRows());
  edit_->Undo();
  EXPECT_EQ(edit_->DisplayRowCount(), ExpectedRows());
  edit_->Lines().Clear();
  EXPECT_EQ(edit_->DisplayRowCount(), 0);
  edit_->SetText(k100);
  EXPECT_EQ(edit_->DisplayRowCount(), 3);
}

// A multi-line replacement brings its lines in as one run: rows, line states, the longest
// line and undo must come out as if the lines had been typed.
TEST_F(WrapTest, ReplacingWithManyLinesKeepsRowsStatesAndUndoInStep) {
  TCodeTestHighlighter highlighter(nullptr);
  const std::string text = k100 + "\r\nabc /* open\r\nshut */ x\r\n" + k100;
  Show(text);
  edit_->SetHighlighter(&highlighter);
  const std::string inserted = "one /* two\r\n" + k100 + "xx\r\n\r\nthree */ four\r\nlast";
  for (auto [from, to] : {std::pair<TBufferCoord, TBufferCoord>{{3, 2}, {3, 3}},
                          {{1, 1}, {101, 4}}, {{50, 1}, {50, 1}}, {{101, 4}, {101, 4}}}) {
    SCOPED_TRACE(std::to_string(from.Line) + ":" + std::to_string(from.Char));
    edit_->SetText(text);
    Select(*edit_, from, to);
    edit_->SetSelText(inserted);
    const std::string replaced = edit_->Text();
    EXPECT_EQ(edit_->DisplayRowCount(), ExpectedRows());
    size_t longest = 0;
    for (int i = 0; i < edit_->Lines().Count(); ++i)
      longest = std::max(longest, edit_->Lines()[i].size());
    EXPECT_EQ(edit_->Lines().GetLengthOfLongestLine(), static_cast<int>(longest));
    const int caretLine = from.Line + 4;
    EXPECT_EQ(edit_->CaretXY(), (TBufferCoord{5, caretLine}));
    // Each line's state as a fresh scan finds it.
    std::vector<TCodeHighlighterRange> fresh;
    highlighter.ResetRange();
    for (int i = 0; i < edit_->Lines().Count(); ++i) {
      highlighter.SetLine(edit_->Lines()[i], i);
      highlighter.SkipToLineEnd();
      fresh.push_back(highlighter.GetRange());
    }
    StartHighlighterAtLine(highlighter, edit_->Lines(), edit_->Lines().Count());
    for (int i = 0; i < edit_->Lines().Count(); ++i)
      EXPECT_EQ(edit_->Lines().GetRange(i), fresh[i]) << "line " << i + 1;
    edit_->Undo();
    EXPECT_EQ(edit_->Text(), text);
    EXPECT_EQ(edit_->DisplayRowCount(), ExpectedRows());
    edit_->Redo();
    EXPECT_EQ(edit_->Text(), replaced);
    EXPECT_EQ(edit_->DisplayRowCount(), ExpectedRows());
  }
  edit_->SetHighlighter(nullptr);
}

TEST_F(WrapTest, ANewWidthRewrapsAndANewHeightDoesNot) {
  Show(k100);
  EXPECT_EQ(edit_->DisplayRowCount(), 3);
  SetColumns(25);
  EXPECT_EQ(edit_->DisplayRowCount(), 4);
  SetColumns(25, 200);
  EXPECT_EQ(edit_->DisplayRowCount(), 4);
}

TEST_F(WrapTest, ClickBeyondAWrappedRowPutsTheCaretAtThatRowsEnd) {
  Show(k100 + "\r\nnext");
  edit_->SetInternalDisplayXY({45, 1});
  EXPECT_EQ(edit_->CaretXY(), (TBufferCoord{41, 1}));
  EXPECT_EQ(edit_->DisplayXY(), (TDisplayCoord{41, 1}));
  edit_->SetInternalDisplayXY({3, 2});
  EXPECT_EQ(edit_->DisplayXY(), (TDisplayCoord{3, 2}));
  edit_->SetInternalDisplayXY({41, 1});
  edit_->SetCaretXY(edit_->CaretXY());  // any caret move forgets the row end
  EXPECT_EQ(edit_->DisplayXY(), (TDisplayCoord{1, 2}));
  edit_->SetInternalDisplayXY({30, 3});  // the line's last row: beyond its text
  EXPECT_EQ(edit_->CaretXY(), (TBufferCoord{110, 1}));
  EXPECT_EQ(edit_->DisplayXY(), (TDisplayCoord{30, 3}));
}

TEST_F(WrapTest, ACaretMovedToAnotherLineFarRightStaysInsideTheWindow) {
  Show(k100 + "\r\nnext");
  edit_->SetCaretXY({1, 2});
  edit_->SetCaretXY({200, 1});  // beyond the line's end on its last row
  EXPECT_EQ(edit_->CaretXY(), (TBufferCoord{121, 1}));
  EXPECT_EQ(edit_->DisplayXY(), (TDisplayCoord{41, 3}));
}

TEST_F(WrapTest, SwitchingKeepsTheTopBufferLineAndLeftCharStaysOne) {
  std::string text = k100;
  for (int i = 2; i <= 60; ++i) text += "\r\nline " + std::to_string(i);
  Show(text);
  edit_->SetWordWrap(false);
  edit_->SetTopLine(10);
  edit_->SetLeftChar(5);
  EXPECT_EQ(edit_->LeftChar(), 5);
  edit_->SetWordWrap(true);
  EXPECT_EQ(edit_->TopLine(), 12);
  EXPECT_EQ(edit_->LeftChar(), 1);
  edit_->SetLeftChar(5);
  EXPECT_EQ(edit_->LeftChar(), 1);
  edit_->SetWordWrap(false);
  EXPECT_EQ(edit_->TopLine(), 10);
  EXPECT_EQ(edit_->DisplayRowCount(), 60);
  EXPECT_EQ(edit_->BufferToDisplayPos({45, 1}), (TDisplayCoord{45, 1}));
}

TEST_F(WrapTest, ColumnBlocksCountColumnsWithinTheLine) {
  Show(k100 + "\r\n" + k100);
  edit_->SetSelectionMode(TCodeSelectionMode::smColumn);
  // The ends stand in columns 3 and 5 of their rows; the block takes columns 43 and 44 of
  // each line, as the painting shows it.
  Select(*edit_, {43, 1}, {45, 2});
  EXPECT_EQ(edit_->SelText(), "xx\r\nxx");
}

TEST_F(WrapTest, TabPastTheLineEndWithTrimmedSpacesStaysOnTheCaretsLine) {
  Show(k100 + "\r\nab");  // line 2 stands on row 4
  edit_->SetOptions(With(WithOut(WithOut(edit_->Options(), TCodeEditorOption::eoTabsToSpaces),
                                 TCodeEditorOption::eoSmartTabs),
                         TCodeEditorOption::eoTrimTrailingSpaces));
  edit_->SetTabWidth(8);
  edit_->SetCaretXY({5, 2});
  Cmd(*edit_, ecTab);
  EXPECT_EQ(edit_->CaretXY(), (TBufferCoord{9, 2}));
  EXPECT_EQ(edit_->Lines()[1], "ab");
}
