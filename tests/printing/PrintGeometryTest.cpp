#include <gtest/gtest.h>
#include <cmath>
#include "PrintTestSupport.h"
#include "printing/CodeEditPrintMargins.h"
#include "printing/CodeEditPrintTypes.h"
#include "printing/CodeEditPrinterInfo.h"

using namespace printtest;

TEST(PrinterInfo, NoPrinterGivesA4At300Dpi) {
  TFakePrinter printer;
  TCodeEditPrinterInfo info;
  EXPECT_EQ(info.PhysicalWidth(), 2481);
  EXPECT_EQ(info.PhysicalHeight(), 3507);
  EXPECT_EQ(info.PrintableWidth(), 2358);
  EXPECT_EQ(info.PrintableHeight(), 3407);
  EXPECT_EQ(info.RightGutter(), 58);
  EXPECT_EQ(info.BottomGutter(), 50);
  EXPECT_EQ(info.PixFromLeft(25), std::lround(25 * 300 / 25.4 - 65));
  EXPECT_EQ(info.PixFromRight(0), -58);
  EXPECT_EQ(info.PixFromTop(25.4), 250);
}

// A device that reports no page (a display context standing in for a broken driver).
class TZeroSizePrinter : public TPrinter {
public:
  TZeroSizePrinter() : dc_(CreateCompatibleDC(nullptr)) { SetPrinterOverride(this); }
  ~TZeroSizePrinter() override {
    SetPrinterOverride(nullptr);
    DeleteDC(dc_);
  }
  int PrinterCount() const override { return 1; }
  HDC Handle() override { return dc_; }

private:
  HDC dc_;
};

TEST(PrinterInfo, PrinterWithoutPageSizeFallsBackToA4) {
  TZeroSizePrinter printer;
  TCodeEditPrinterInfo info;
  EXPECT_EQ(info.PhysicalWidth(), 2481);
  EXPECT_EQ(info.XPixPrInch(), 300);
  EXPECT_FLOAT_EQ(info.YPixPrMM(), static_cast<float>(300 / 25.4));
}

TEST(PrintMargins, UnitsConvertBothWays) {
  struct Case {
    TUnitSystem unit;
    double written, mm;
  } cases[] = {{TUnitSystem::usMM, 25, 25},
               {TUnitSystem::usCM, 2.5, 25},
               {TUnitSystem::usInch, 1, 25.4},
               {TUnitSystem::muThousandthsOfInches, 1000, 25.4}};
  for (const auto& c : cases) {
    TCodeEditPrintMargins m;
    m.SetUnitSystem(c.unit);
    m.SetLeft(c.written);
    m.SetGutter(c.written);
    EXPECT_DOUBLE_EQ(m.Left(), c.written);
    m.SetUnitSystem(TUnitSystem::usMM);
    EXPECT_NEAR(m.Left(), c.mm, 1e-9);
    EXPECT_NEAR(m.Gutter(), c.mm, 1e-9);
  }
}

TEST(PrintMargins, DefaultsAndAssignCopyEverything) {
  TCodeEditPrintMargins a;
  EXPECT_DOUBLE_EQ(a.Right(), 15);
  EXPECT_DOUBLE_EQ(a.HFInternalMargin(), 0.5);
  a.SetUnitSystem(TUnitSystem::usCM);
  a.SetFooter(3);
  a.SetMirrorMargins(true);
  TCodeEditPrintMargins b;
  b.Assign(a);
  EXPECT_EQ(b.UnitSystem(), TUnitSystem::usCM);
  EXPECT_DOUBLE_EQ(b.Footer(), 3);
  EXPECT_TRUE(b.MirrorMargins());
}

class InitPageTest : public ::testing::Test {
protected:
  TFakePrinter printer;
  TCodeEditPrinterInfo info;
  HDC dc = CreateCompatibleDC(nullptr);
  ~InitPageTest() override { DeleteDC(dc); }
};

TEST_F(InitPageTest, MirroringMovesTheGutterToTheRightOnEvenPages) {
  TCodeEditPrintMargins m;
  m.SetGutter(10);
  m.SetMirrorMargins(true);
  m.InitPage(dc, 1, info, false, false, 0);
  EXPECT_EQ(m.PLeft, info.PixFromLeft(35));
  EXPECT_EQ(m.PRight, 2358 - info.PixFromRight(15));
  EXPECT_EQ(m.PGutter, std::lround(10 * 300 / 25.4));
  m.InitPage(dc, 2, info, false, false, 0);
  EXPECT_EQ(m.PLeft, info.PixFromLeft(15));
  EXPECT_EQ(m.PRight, 2358 - info.PixFromRight(35));
  m.SetMirrorMargins(false);
  m.InitPage(dc, 2, info, false, false, 0);
  EXPECT_EQ(m.PLeft, info.PixFromLeft(35));
}

TEST_F(InitPageTest, VerticalPositionsAndTextIndents) {
  TCodeEditPrintMargins m;
  m.InitPage(dc, 1, info, false, false, 0);
  EXPECT_EQ(m.PTop, info.PixFromTop(25));
  EXPECT_EQ(m.PBottom, 3407 - info.PixFromBottom(25));
  EXPECT_EQ(m.PHeader, info.PixFromTop(15));
  EXPECT_EQ(m.PFooter, 3407 - info.PixFromBottom(15));
  EXPECT_EQ(m.PHFInternalMargin, 6);
  EXPECT_EQ(m.PLeftHFTextIndent, m.PLeft + 24);
  EXPECT_EQ(m.PRightHFTextIndent, m.PRight - 24);
}

TEST_F(InitPageTest, LineNumbersOutsideTheMarginTakeRoomFromTheText) {
  TCodeEditPrintMargins m;
  m.InitPage(dc, 1, info, false, false, 1234);
  const int plain = m.PLeft;
  m.InitPage(dc, 1, info, true, true, 1234);
  EXPECT_EQ(m.PLeft, plain);
  m.InitPage(dc, 1, info, true, false, 1234);
  SIZE size = {};
  GetTextExtentPoint32A(dc, "1234: ", 6, &size);
  EXPECT_EQ(m.PLeft, plain + size.cx);
  EXPECT_GT(size.cx, 0);
}

TEST(IntToRoman, Numerals) {
  struct Case {
    int value;
    const char* text;
  } cases[] = {{1994, "MCMXCIV"}, {4, "IV"},  {1, "I"},   {9, "IX"},
               {40, "XL"},        {3999, "MMMCMXCIX"}, {2000, "MM"}, {0, ""}, {-7, ""}};
  for (const auto& c : cases) EXPECT_EQ(IntToRoman(c.value), c.text) << c.value;
}

namespace {
std::vector<int> Breaks(const TWrapPosList& List) {
  std::vector<int> r;
  for (const auto& w : List) r.push_back(w->Index);
  return r;
}
}  // namespace

TEST(WrapText, BreaksAfterTheLastBreakCharacterThatFits) {
  struct Case {
    std::string line;
    int maxCol;
    bool ok;
    std::vector<int> breaks;
  } cases[] = {
      {std::string(100, 'x'), 80, false, {}},
      {std::string(80, 'x'), 80, true, {}},
      {"aaa bbb ccc", 11, true, {}},
      {"aaa bbb ccc", 8, true, {8}},
      {"aaa bbb ccc", 6, true, {4, 8}},
      {"aaa bbb ccc ddd", 8, true, {8}},
      {"aa bb cc dd ee", 5, true, {3, 6, 9}},
      {"aaaaaaaaaa bb", 5, false, {}},  // too wide before the first break
  };
  for (const auto& c : cases) {
    TWrapPosList list;
    EXPECT_EQ(WrapText(c.line, " ", c.maxCol, list), c.ok) << c.line;
    EXPECT_EQ(Breaks(list), c.breaks) << c.line;
  }
}

TEST(WrapText, RowsKeepEveryCharacterAndStayWithinTheColumn) {
  const std::string lines[] = {"", "a", std::string(23, 'q'), "ab, cd-ef gh,ijklmnopqrstu vw",
                               "x aaaaaaaaaaaaaaaaaaaaaa y, zz"};
  for (int maxCol : {0, 1, 4, 7, 40}) {
    for (const auto& line : lines) {
      TWrapPosList list;
      WrapText(line, " ,-", maxCol, list);
      auto rows = SplitRows(line, list, maxCol);
      std::string joined;
      for (const auto& r : rows) {
        EXPECT_LE(static_cast<int>(r.size()), std::max(maxCol, 1)) << line;
        joined += r;
      }
      EXPECT_EQ(joined, line);
      EXPECT_FALSE(rows.empty());
    }
  }
}
