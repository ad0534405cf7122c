// Backspace and Tab on a wrapped line measure the line's columns, not the caret's row column.
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include "CodeEditTestFixture.h"
#include "WrappedEditFixture.h"
#include "support/ScreenCapture.h"

using namespace codeedittest;

namespace {
using EO = TCodeEditorOption;

// 50 blanks stay together on the first row of a 40-column window; what follows them starts
// the continuation row, so a caret behind them stands in row column 1 but line column 51.
const std::string kBlanks(50, ' ');

class CaretWrapTest : public WrappedEditTest {
protected:
  void Show(const std::string& Text, TCodeEditorOptions Options) { ShowWrapped(Text, Options); }
  // Puts the caret at Char of Line and checks that it stands on the row behind the 50 blanks.
  void CaretOnContinuationRow(int Char, int Line) {
    edit_->SetCaretXY({Char, Line});
    ASSERT_EQ(edit_->DisplayX(), Char - 50);
    ASSERT_GT(edit_->DisplayY(), edit_->FirstRowOfLine(Line));
  }
};
}  // namespace

TEST_F(CaretWrapTest, BackspaceBehindWrappedIndentGoesBackToTheLinesTabStop) {
  Show(kBlanks + "text", WithOut(CodeEditDefaultOptions, EO::eoSmartTabDelete));
  CaretOnContinuationRow(51, 1);
  Cmd(*edit_, ecDeleteLastChar);
  EXPECT_EQ(Line(1), std::string(48, ' ') + "text");  // tab stop at column 49
  EXPECT_EQ(edit_->CaretXY(), (TBufferCoord{49, 1}));
}

TEST_F(CaretWrapTest, SmartBackspaceBehindWrappedIndentGoesBackToTheIndentAbove) {
  Show(std::string(48, ' ') + "abc\r\n" + kBlanks + "text", CodeEditDefaultOptions);
  CaretOnContinuationRow(51, 2);
  Cmd(*edit_, ecDeleteLastChar);
  EXPECT_EQ(Line(2), std::string(48, ' ') + "text");
  EXPECT_EQ(edit_->CaretXY(), (TBufferCoord{49, 2}));
  Cmd(*edit_, ecUndo);
  EXPECT_EQ(Line(2), kBlanks + "text");
}

TEST_F(CaretWrapTest, TabOnContinuationRowFillsUpToTheLinesTabStop) {
  Show(kBlanks + "x", CodeEditDefaultOptions);  // blanks for tabs, no line above
  CaretOnContinuationRow(51, 1);
  Cmd(*edit_, ecTab);
  EXPECT_EQ(Line(1), std::string(56, ' ') + "x");  // next tab stop at column 57
  EXPECT_EQ(edit_->CaretXY(), (TBufferCoord{57, 1}));
}

TEST_F(CaretWrapTest, SmartTabOnContinuationRowMeasuresTheLineAboveAtTheLinesColumn) {
  Show(kBlanks + "foo   bar\r\n" + kBlanks + "x", CodeEditDefaultOptions);
  CaretOnContinuationRow(51, 2);
  Cmd(*edit_, ecTab);
  EXPECT_EQ(Line(2), std::string(56, ' ') + "x");  // under bar: foo and its three blanks
  EXPECT_EQ(edit_->CaretXY(), (TBufferCoord{57, 2}));

  // With tabs the gap gets one tab, as line column 57 is the next tab stop.
  Show(kBlanks + "foo   bar\r\n" + kBlanks + "x",
       WithOut(CodeEditDefaultOptions, EO::eoTabsToSpaces));
  CaretOnContinuationRow(51, 2);
  Cmd(*edit_, ecTab);
  EXPECT_EQ(Line(2), kBlanks + "\tx");
  EXPECT_EQ(edit_->CaretXY(), (TBufferCoord{52, 2}));
}

TEST_F(CaretWrapTest, TabPastTheWrappedLineEndOnlyMovesToTheLinesTabStop) {
  TCodeEditorOptions options = With(WithOut(CodeEditDefaultOptions, EO::eoTabsToSpaces),
                                    EO::eoTrimTrailingSpaces);
  Show(kBlanks + "abc", options);
  CaretOnContinuationRow(55, 1);  // two columns past the end of abc
  Cmd(*edit_, ecTab);
  EXPECT_EQ(Line(1), kBlanks + "abc");
  EXPECT_EQ(edit_->CaretXY(), (TBufferCoord{57, 1}));
}
