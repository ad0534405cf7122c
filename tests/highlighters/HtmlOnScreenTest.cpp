// The HTML highlighter's colours as the editor control paints them in a window.
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include "editor/CodeEdit.h"
#include "highlighters/CodeHighlighterHtml.h"
#include "support/ScreenCapture.h"

using testsupport::TScreenCapture;
using testsupport::TTopLevelWindow;

namespace {
constexpr TColor kTag = 0x00FF0000;        // blue
constexpr TColor kAttribute = 0x000000FF;  // red
constexpr TColor kValue = 0x00800080;      // purple
constexpr TColor kComment = 0x00008000;    // green

COLORREF Rgb(TColor C) { return ColorToRGB(C); }

class HtmlOnScreen : public ::testing::Test {
protected:
  void SetUp() override {
    html_.KeyAttri()->SetForeground(kTag);
    html_.IdentifierAttri()->SetForeground(kAttribute);
    html_.ValueAttri()->SetForeground(kValue);
    html_.CommentAttri()->SetForeground(kComment);
    edit_.SetBorderStyle(TBorderStyle::bsNone);
    edit_.SetColor(clWhite);
    edit_.SetHighlighter(&html_);
    edit_.SetText("<a href=\"x.htm\">link</a>\r\n<!-- note -->\r\n<p class=\"c\">");
    edit_.CreateWnd(window_.Handle(), 0, 0, 480, 200);
  }
  void TearDown() override { edit_.SetHighlighter(nullptr); }

  // One character cell of the text area.
  RECT Cell(int Column, int Row) const {
    int x = edit_.GutterWidth() + 2 + (Column - 1) * edit_.CharWidth();
    int y = (Row - 1) * edit_.LineHeight();
    return {x, y, x + edit_.CharWidth(), y + edit_.LineHeight()};
  }
  // The cells of columns From..To on a row.
  RECT Cells(int From, int To, int Row) const {
    RECT a = Cell(From, Row), b = Cell(To, Row);
    return {a.left, a.top, b.right, b.bottom};
  }

  TTopLevelWindow window_{480, 200};
  TCodeHTMLHighlighter html_{nullptr};
  TCodeEdit edit_{nullptr};
};
}  // namespace

TEST_F(HtmlOnScreen, TagsAttributesValuesAndCommentsShowTheirColours) {
  ASSERT_TRUE(edit_.HandleAllocated());
  TScreenCapture c(edit_.Handle());
  // <a href="x.htm">link</a>
  EXPECT_TRUE(c.Contains(Cell(2, 1), Rgb(kTag)));
  EXPECT_FALSE(c.Contains(Cell(2, 1), Rgb(kAttribute)));
  EXPECT_TRUE(c.Contains(Cells(4, 7, 1), Rgb(kAttribute)));
  EXPECT_FALSE(c.Contains(Cells(4, 7, 1), Rgb(kTag)));
  EXPECT_TRUE(c.Contains(Cells(9, 15, 1), Rgb(kValue)));
  EXPECT_FALSE(c.Contains(Cells(17, 20, 1), Rgb(kValue)));  // text between the tags
  EXPECT_TRUE(c.Contains(Cell(23, 1), Rgb(kTag)));
  // <!-- note -->
  EXPECT_TRUE(c.Contains(Cells(6, 9, 2), Rgb(kComment)));
  EXPECT_FALSE(c.Contains(Cells(1, 13, 2), Rgb(kTag)));
  // <p class="c">
  EXPECT_TRUE(c.Contains(Cell(2, 3), Rgb(kTag)));
  EXPECT_TRUE(c.Contains(Cells(4, 8, 3), Rgb(kAttribute)));
}

TEST_F(HtmlOnScreen, AChangedAttributeColourIsPaintedAtOnce) {
  html_.CommentAttri()->SetForeground(0x00808000);  // teal
  TScreenCapture c(edit_.Handle());
  EXPECT_TRUE(c.Contains(Cells(6, 9, 2), Rgb(0x00808000)));
  EXPECT_FALSE(c.Contains(Cells(1, 13, 2), Rgb(kComment)));
}
