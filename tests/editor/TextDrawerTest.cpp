// The text drawer: shared fonts, fixed cells on a real device context, drawing passes.
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include "editor/CodeTextDrawer.h"
#include "editor/MemoryCanvas.h"

namespace {
const COLORREF kWhite = RGB(255, 255, 255);

bool HandleIsValid(HFONT Font) {
  LOGFONTA lf;
  return Font && GetObjectA(Font, sizeof lf, &lf) != 0;
}

// "M" in every even cell and a blank in every odd one.
std::string AlternatingText(int Length) {
  std::string s;
  for (int i = 0; i < Length; ++i) s += i % 2 ? ' ' : 'M';
  return s;
}

struct DrawerFixture : testing::Test {
  TFont font{"Courier New", 10};
  TheTextDrawer drawer{{TFontStyle::fsBold}, &font};
  TMemoryCanvas canvas{2000, 40};

  void Draw(const std::string& Text) {
    canvas.Fill(kWhite);
    drawer.BeginDrawing(canvas.DC());
    drawer.SetForeColor(clBlack);
    drawer.SetBackColor(clWhite);
    drawer.ExtTextOut(0, 0, 0, nullptr, Text.data(), static_cast<int>(Text.size()));
    drawer.EndDrawing();
  }
  // Fails on the first cell whose ink does not match its character.
  void ExpectInkOnlyInCellsOfM(const std::string& Text) {
    int w = drawer.CharWidth(), h = drawer.CharHeight();
    for (size_t i = 0; i < Text.size(); ++i) {
      bool ink = canvas.AnyPixelOtherThan(kWhite, int(i) * w, 0, int(i + 1) * w, h);
      ASSERT_EQ(ink, Text[i] == 'M') << "cell " << i << " of width " << w;
    }
  }
};
}  // namespace

TEST(TextDrawerFonts, EqualFontsShareOneRecord) {
  int before = GetFontsInfoManager().Count();
  TFont a("Courier New", 11), b("Courier New", 11);
  auto first = std::make_unique<TheTextDrawer>(TFontStyles{TFontStyle::fsBold}, &a);
  TheTextDrawer second({TFontStyle::fsBold}, &b);
  EXPECT_EQ(first->FontStock().FontsInfo(), second.FontStock().FontsInfo());
  EXPECT_EQ(GetFontsInfoManager().Count(), before + 1);
  EXPECT_EQ(first->FontHandle(), second.FontHandle());

  first.reset();
  EXPECT_TRUE(HandleIsValid(second.FontHandle()));
  EXPECT_EQ(GetFontsInfoManager().Count(), before + 1);
}

TEST(TextDrawerFonts, LastUserGoneFreesTheRecord) {
  int before = GetFontsInfoManager().Count();
  {
    TFont f("Courier New", 13);
    TheTextDrawer drawer({}, &f);
    EXPECT_EQ(GetFontsInfoManager().Count(), before + 1);
  }
  EXPECT_EQ(GetFontsInfoManager().Count(), before);
}

TEST(TextDrawerFonts, ReleasingOneDrawersHandlesKeepsThoseAnotherHolds) {
  TFont f("Courier New", 12);
  TheTextDrawer a({}, &f), b({}, &f);
  HFONT shared = b.FontHandle();
  a.ReleaseTemporaryResources();
  EXPECT_TRUE(HandleIsValid(shared));
  b.ReleaseTemporaryResources();
  EXPECT_FALSE(HandleIsValid(shared));  // the last holder let go
  b.SetStyle({});  // takes the handles again
  EXPECT_TRUE(HandleIsValid(b.FontHandle()));
}

TEST(TextDrawerFonts, DrawingAfterReleasingHandlesTakesTheFontAgain) {
  TFont f("Courier New", 14);
  TheTextDrawer drawer({}, &f);
  drawer.SetStyle({TFontStyle::fsItalic});
  drawer.ReleaseTemporaryResources();  // the last holder: the handles are deleted
  TMemoryCanvas canvas(10, 10);
  drawer.BeginDrawing(canvas.DC());
  LOGFONTA lf = {};
  ASSERT_TRUE(GetObjectA(GetCurrentObject(canvas.DC(), OBJ_FONT), sizeof lf, &lf));
  drawer.EndDrawing();
  EXPECT_STREQ(lf.lfFaceName, "Courier New");
  EXPECT_TRUE(lf.lfItalic);
}

TEST(TextDrawerFonts, StylesGetTheirOwnFonts) {
  TFont f("Courier New", 10);
  TheTextDrawer drawer({}, &f);
  HFONT plain = drawer.FontHandle();
  drawer.SetStyle({TFontStyle::fsItalic, TFontStyle::fsUnderline});
  LOGFONTA lf = {};
  GetObjectA(drawer.FontHandle(), sizeof lf, &lf);
  EXPECT_NE(drawer.FontHandle(), plain);
  EXPECT_TRUE(lf.lfItalic);
  EXPECT_TRUE(lf.lfUnderline);
  EXPECT_EQ(lf.lfWeight, FW_NORMAL);
}

TEST(TextDrawerFonts, MissingFontIsRefused) {
  TFont f("Courier New", 10);
  TheTextDrawer drawer({}, &f);
  try {
    drawer.SetBaseFont(nullptr);
    FAIL() << "no exception";
  } catch (const EheTextDrawerException& e) {
    EXPECT_STREQ(e.what(), "SetBaseFont: 'Value' must be specified.");
  }
  TheFontStock stock;
  EXPECT_THROW(stock.SetBaseFont(nullptr), EheFontStockException);
}

TEST_F(DrawerFixture, CellIsTheAdvanceOfMPlusExtraSpacing) {
  ASSERT_GT(drawer.CharWidth(), 0);
  ASSERT_GT(drawer.CharHeight(), 0);
  int cell = drawer.CharWidth();
  drawer.SetCharExtra(3);
  EXPECT_EQ(drawer.CharWidth(), cell + 3);
}

TEST_F(DrawerFixture, EveryCharacterOfALongTextGetsItsOwnCell) {
  drawer.SetCharExtra(5);  // cells wider than the glyphs' own advance
  std::string text = AlternatingText(100);  // longer than one step of the spacing array
  Draw(text);
  ExpectInkOnlyInCellsOfM(text);
}

TEST_F(DrawerFixture, ChangedExtraSpacingIsUsedByTheNextDrawing) {
  std::string text = AlternatingText(20);
  Draw(text);
  drawer.SetCharExtra(7);
  Draw(text);
  ExpectInkOnlyInCellsOfM(text);
  drawer.SetCharExtra(0);
  Draw(text);
  ExpectInkOnlyInCellsOfM(text);
}

TEST_F(DrawerFixture, ChangedFontIsUsedByTheNextDrawing) {
  std::string text = AlternatingText(20);
  drawer.SetCharExtra(2);
  Draw(text);
  TFont bigger("Courier New", 16);
  drawer.SetBaseFont(&bigger);
  Draw(text);
  ExpectInkOnlyInCellsOfM(text);
}

TEST_F(DrawerFixture, DrawingPassesNestAndRestoreTheContext) {
  HDC dc = canvas.DC();
  SetTextColor(dc, RGB(1, 2, 3));
  drawer.SetForeColor(clRed);
  drawer.BeginDrawing(dc);
  EXPECT_EQ(GetTextColor(dc), RGB(255, 0, 0));
  drawer.BeginDrawing(dc);
  drawer.SetForeColor(clBlue);  // applied at once during a pass
  EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 255));
  drawer.EndDrawing();
  EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 255));
  drawer.EndDrawing();
  EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
}

TEST_F(DrawerFixture, OpaqueDrawingFillsTheRectangleInTheBackColour) {
  canvas.Fill(kWhite);
  RECT r = {0, 0, 10 * drawer.CharWidth(), drawer.CharHeight()};
  drawer.BeginDrawing(canvas.DC());
  drawer.SetBackColor(clLime);
  drawer.ExtTextOut(0, 0, ETO_OPAQUE, &r, "  ", 2);
  drawer.EndDrawing();
  EXPECT_EQ(canvas.Pixel(r.right - 1, 1), RGB(0, 255, 0));
  EXPECT_EQ(canvas.Pixel(r.right, 1), kWhite);
}
