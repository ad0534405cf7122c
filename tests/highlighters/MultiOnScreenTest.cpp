// A style passage inside a page as the editor control paints it through the mixed highlighter.
#include <gtest/gtest.h>
#include "editor/CodeEdit.h"
#include "highlighters/CodeHighlighterCSS.h"
#include "highlighters/CodeHighlighterHtml.h"
#include "highlighters/CodeHighlighterJScript.h"
#include "highlighters/CodeHighlighterMulti.h"
#include "highlighters/CodeHighlighterPHP.h"
#include "highlighters/CodeHighlighterVBScript.h"
#include "support/ScreenCapture.h"

using testsupport::TScreenCapture;
using testsupport::TTopLevelWindow;

namespace {
constexpr TColor kProperty = 0x00FF0000;  // blue
constexpr TColor kSelector = 0x00008000;  // green
constexpr TColor kMarker = 0x000000FF;    // red, as the main window marks passages
constexpr TColor kTag = 0x00800080;       // purple

COLORREF Rgb(TColor C) { return ColorToRGB(C); }

class WebMixedOnScreen : public ::testing::Test {
protected:
  void SetUp() override {
    ConfigureWebMixed(multi_, &html_, &php_, &css_, &js_, &vbs_);
    css_.PropertyAttri()->SetForeground(kProperty);
    css_.KeyAttri()->SetForeground(kSelector);
    html_.KeyAttri()->SetForeground(kTag);
    edit_.SetBorderStyle(TBorderStyle::bsNone);
    edit_.SetColor(clWhite);
    edit_.SetHighlighter(&multi_);
    edit_.SetText("<style>\r\np { color: red }\r\n</style><b>x</b>");
    edit_.CreateWnd(window_.Handle(), 0, 0, 480, 200);
  }
  void TearDown() override { edit_.SetHighlighter(nullptr); }

  RECT Cells(int From, int To, int Row) const {
    int x = edit_.GutterWidth() + 2;
    int w = edit_.CharWidth(), h = edit_.LineHeight();
    return {x + (From - 1) * w, (Row - 1) * h, x + To * w, Row * h};
  }

  TTopLevelWindow window_{480, 200};
  TCodeHTMLHighlighter html_{nullptr};
  TCodePHPHighlighter php_{nullptr};
  TCodeCssHighlighter css_{nullptr};
  TCodeJScriptHighlighter js_{nullptr};
  TCodeVBScriptHighlighter vbs_{nullptr};
  TCodeMultiHighlighter multi_{nullptr};
  TCodeEdit edit_{nullptr};
};
}  // namespace

TEST_F(WebMixedOnScreen, PaintsTheStylePassageInItsOwnColoursBetweenRedMarkers) {
  ASSERT_TRUE(edit_.HandleAllocated());
  TScreenCapture c(edit_.Handle());
  EXPECT_TRUE(c.Contains(Cells(1, 7, 1), Rgb(kMarker)));     // <style>
  EXPECT_TRUE(c.Contains(Cells(1, 1, 2), Rgb(kSelector)));   // p
  EXPECT_TRUE(c.Contains(Cells(5, 9, 2), Rgb(kProperty)));   // color
  EXPECT_FALSE(c.Contains(Cells(5, 9, 2), Rgb(kMarker)));
  EXPECT_TRUE(c.Contains(Cells(1, 8, 3), Rgb(kMarker)));     // </style>
  EXPECT_TRUE(c.Contains(Cells(10, 10, 3), Rgb(kTag)));      // b
  EXPECT_FALSE(c.Contains(Cells(10, 10, 3), Rgb(kProperty)));
}

TEST_F(WebMixedOnScreen, RepaintsWhenAContainedHighlightersColourChanges) {
  css_.PropertyAttri()->SetForeground(0x00808000);  // teal
  TScreenCapture c(edit_.Handle());
  EXPECT_TRUE(c.Contains(Cells(5, 9, 2), Rgb(0x00808000)));
  EXPECT_FALSE(c.Contains(Cells(5, 9, 2), Rgb(kProperty)));
}
