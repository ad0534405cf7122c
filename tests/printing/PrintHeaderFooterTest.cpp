#include <gtest/gtest.h>
#include "PrintTestSupport.h"
#include "printing/CodeEditPrintHeaderFooter.h"

using namespace printtest;

TEST(HeaderFooterMacros, Expansion) {
  struct Case {
    std::string text;
    bool roman;
    std::string expected;
  } cases[] = {
      {"Page $PAGENUM$ of $PAGECOUNT$", false, "Page 3 of 12"},
      {"Page $PAGENUM$ of $PAGECOUNT$", true, "Page III of XII"},
      {"$pagenum$", false, "3"},
      {"$UNKNOWN$ $PAGENUM$", false, "$UNKNOWN$ 3"},
      {"$$PAGENUM$", false, "$3"},
      {"5$ off", false, "5$ off"},
      {"$Title$: $DATETIME$ / $TIMEDATE$", false, "Doc: D T / T D"},
      {"$DATE$$TIME$", false, "DT"},
      {"   ", false, ""},
      {"", false, ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ExpandHeaderFooterMacros(c.text, 3, 12, c.roman, "Doc", "D", "T"), c.expected)
        << c.text;
}

TEST(HeaderFooter, FixLinesCloseGapsAndKeepTheOrderWithinALine) {
  THeader h;
  h.Add("a", nullptr, taLeftJustify, 3);
  h.Add("b", nullptr, taLeftJustify, 1);
  h.Add("c", nullptr, taRightJustify, 3);
  h.Add("d", nullptr, taCenter, 7);
  h.FixLines();
  ASSERT_EQ(h.LineCount(), 3);
  std::string order;
  for (int i = 0; i < h.Count(); ++i)
    order += h.Items(i).Text() + std::to_string(h.Items(i).LineNumber());
  EXPECT_EQ(order, "b1a2c2d3");
}

TEST(HeaderFooter, AssignCopiesItemsFontsAndFlags) {
  TFooter a;
  TFont font("Courier New", 14);
  a.Add("x", &font, taCenter, 2);
  a.Add("y", nullptr, taLeftJustify, 1);
  a.SetFrameTypes({TFrameType::ftBox});
  a.SetRomanNumbers(true);
  a.SetMirrorPosition(true);
  a.SetLineColor(clRed);
  THeader b;
  b.Add("old", nullptr, taLeftJustify, 1);
  b.Assign(a);
  ASSERT_EQ(b.Count(), 2);
  EXPECT_EQ(b.Type(), THeaderFooterType::hftFooter);
  EXPECT_EQ(b.Items(0).Font().Name(), "Courier New");
  EXPECT_EQ(b.Items(1).Font().Name(), "Arial");
  EXPECT_EQ(b.Items(0).Alignment(), taCenter);
  EXPECT_TRUE(b.RomanNumbers());
  EXPECT_TRUE(b.MirrorPosition());
  EXPECT_EQ(b.LineColor(), clRed);
  EXPECT_TRUE(b.FrameTypes() == TFrameTypes{TFrameType::ftBox});
}

class HeaderFooterPrintTest : public ::testing::Test {
protected:
  HeaderFooterPrintTest() {
    HDC dc = CreateCompatibleDC(nullptr);
    margins.InitPage(dc, 1, info, false, false, 0);
    DeleteDC(dc);
  }
  TPageRecord PrintPage(THeaderFooter& HF, int Page) {
    TEmfCanvas canvas;
    HF.SetPixPrInch(300);
    HF.InitPrint(canvas.DC(), 12, "Doc", &margins);
    HF.Print(canvas.DC(), Page);
    return canvas.Finish();
  }
  TFakePrinter printer;
  TCodeEditPrinterInfo info;
  TCodeEditPrintMargins margins;
};

TEST_F(HeaderFooterPrintTest, ItemsOnLinesOneThreeThreePrintOnTwoSharedBaselines) {
  THeader h;
  TFont big("Arial", 20);
  h.Add("first", nullptr, taLeftJustify, 1);
  h.Add("left", nullptr, taLeftJustify, 3);
  h.Add("right", &big, taRightJustify, 3);
  auto page = PrintPage(h, 1);
  EXPECT_EQ(page.Rows(), "first\nleft|right");
  ASSERT_EQ(page.Texts.size(), 3u);
  EXPECT_LT(page.Texts[0].Y, page.Texts[1].Y);
  EXPECT_GT(h.FrameHeight(), 2 * margins.PHFInternalMargin);
  EXPECT_LE(page.Texts[0].Y, margins.PHeader);
  EXPECT_GE(page.Texts[0].Y, margins.PHeader - h.FrameHeight());
}

TEST_F(HeaderFooterPrintTest, PageMacrosOnThePrintedPage) {
  TFooter f;
  f.Add("Page $PAGENUM$ of $PAGECOUNT$", nullptr, taCenter, 1);
  f.SetRomanNumbers(true);
  EXPECT_EQ(PrintPage(f, 3).Rows(), "Page III of XII");
}

TEST_F(HeaderFooterPrintTest, FramesOfTheFooter) {
  TFooter f;
  f.Add("text", nullptr, taLeftJustify, 1);
  f.SetFrameTypes({TFrameType::ftBox, TFrameType::ftShaded});
  auto boxed = PrintPage(f, 1);
  ASSERT_EQ(boxed.Shapes.size(), 1u);
  EXPECT_EQ(boxed.Shapes[0].Kind, TShape::Rectangle);
  EXPECT_EQ(boxed.Shapes[0].Rect.top, margins.PFooter);
  EXPECT_NEAR(boxed.Shapes[0].Rect.bottom, margins.PFooter + f.FrameHeight(), 1);  // stored inclusive
  EXPECT_EQ(boxed.Shapes[0].Rect.left, margins.PLeft);
  f.SetFrameTypes({TFrameType::ftLine});
  auto lined = PrintPage(f, 1);
  ASSERT_EQ(lined.Shapes.size(), 1u);
  EXPECT_EQ(lined.Shapes[0].Kind, TShape::LineTo);
  EXPECT_EQ(lined.Shapes[0].Rect.top, margins.PFooter);
  EXPECT_EQ(lined.Shapes[0].Rect.right, margins.PRight);
  EXPECT_GT(lined.Texts[0].Y, margins.PFooter);
}

TEST_F(HeaderFooterPrintTest, HeaderLineIsBelowTheText) {
  THeader h;
  h.Add("text", nullptr, taLeftJustify, 1);
  auto page = PrintPage(h, 1);
  ASSERT_EQ(page.Shapes.size(), 1u);
  EXPECT_EQ(page.Shapes[0].Rect.top, margins.PHeader);
  EXPECT_LT(page.Texts[0].Y, margins.PHeader);
}

TEST_F(HeaderFooterPrintTest, MirrorPositionSwapsSidesOnEvenPages) {
  THeader h;
  h.Add("left", nullptr, taLeftJustify, 1);
  h.SetMirrorPosition(true);
  EXPECT_EQ(PrintPage(h, 1).Texts.at(0).X, margins.PLeftHFTextIndent);
  const int x = PrintPage(h, 2).Texts.at(0).X;
  EXPECT_GT(x, (margins.PLeft + margins.PRight) / 2);
  EXPECT_LT(x, margins.PRightHFTextIndent);
}

TEST_F(HeaderFooterPrintTest, WithoutItemsNothingIsDrawn) {
  THeader h;
  auto page = PrintPage(h, 1);
  EXPECT_EQ(h.FrameHeight(), -1);
  EXPECT_TRUE(page.Texts.empty());
  EXPECT_TRUE(page.Shapes.empty());
}
