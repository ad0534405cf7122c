// What the editor control paints on the screen: gutter, selection, right edge, wrapped rows.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>
#include "CodeEditTestFixture.h"
#include "TestCommentHighlighter.h"
#include "support/ScreenCapture.h"

using namespace codeedittest;
using testsupport::TScreenCapture;
using testsupport::TTopLevelWindow;

namespace {
constexpr TColor kPaper = 0x00FFFFFF;
constexpr TColor kInk = 0x00000000;
constexpr TColor kGutter = 0x00F0DCC8;
constexpr TColor kNumberInk = 0x00000080;
constexpr TColor kSelection = 0x0000A000;
constexpr TColor kSelectionInk = 0x00FFFFFF;

// An editor filling a visible top-level window, in colours no system colour uses.
class PaintTest : public ::testing::Test {
protected:
  void Show(const std::string& Text, int Width = 480, int Height = 240) {
    window_ = std::make_unique<TTopLevelWindow>(Width, Height);
    edit_ = MakeEdit(Text);
    edit_->SetBorderStyle(TBorderStyle::bsNone);
    edit_->SetScrollBars(TScrollStyle::ssNone);
    edit_->SetColor(kPaper);
    edit_->Font().SetColor(kInk);
    edit_->Gutter().SetColor(kGutter);
    edit_->Gutter().Font().SetColor(kNumberInk);
    edit_->Gutter().SetBorderStyle(TCodeGutterBorderStyle::gbsNone);
    edit_->SelectedColor().SetBackground(kSelection);
    edit_->SelectedColor().SetForeground(kSelectionInk);
    edit_->CreateWnd(window_->Handle(), 0, 0, Width, Height);
    ASSERT_TRUE(edit_->HandleAllocated());
  }
  TScreenCapture Capture() const { return TScreenCapture(edit_->Handle()); }
  // The pixels of one character cell of the text area (display column and row on screen).
  RECT Cell(int Column, int Row) const {
    int x = edit_->GutterWidth() + 2 + (Column - 1) * edit_->CharWidth();
    int y = (Row - 1) * edit_->LineHeight();
    return {x, y, x + edit_->CharWidth(), y + edit_->LineHeight()};
  }
  RECT GutterRow(int Row) const {
    return {0, (Row - 1) * edit_->LineHeight(), edit_->GutterWidth() - 2,
            Row * edit_->LineHeight()};
  }
  int CellArea() const { return edit_->CharWidth() * edit_->LineHeight(); }
  // Most of the cell shows the colour (glyph strokes may cover the rest).
  bool Mostly(const TScreenCapture& C, const RECT& R, TColor Color) const {
    return C.Count(R, Color) * 2 > CellArea();
  }

  std::unique_ptr<TTopLevelWindow> window_;
  std::unique_ptr<TTestEdit> edit_;
};

std::string LongLine(int Words) {
  std::string s;
  for (int i = 0; i < Words; ++i) s += "word ";
  return s + "end";
}
}  // namespace

TEST_F(PaintTest, GutterShowsItsColourAndLineNumberInkOnTextLinesOnly) {
  Show("one\r\ntwo\r\nthree");
  edit_->Gutter().SetShowLineNumbers(true);
  TScreenCapture c = Capture();
  for (int row = 1; row <= 3; ++row) {
    EXPECT_TRUE(c.Contains(GutterRow(row), kGutter)) << row;
    EXPECT_TRUE(c.Contains(GutterRow(row), kNumberInk)) << row;
  }
  EXPECT_TRUE(c.Filled(GutterRow(5), kGutter));
  EXPECT_TRUE(c.Contains(Cell(1, 1), kInk));
  EXPECT_TRUE(c.Filled(Cell(10, 1), kPaper));
}

TEST_F(PaintTest, GradientGutterKeepsLineNumbersOverTheGradient) {
  Show("one\r\ntwo");
  edit_->Gutter().SetShowLineNumbers(true);
  edit_->Gutter().SetGradient(true);
  edit_->Gutter().SetGradientStartColor(0x000000FF);
  edit_->Gutter().SetGradientEndColor(0x00FF0000);
  TScreenCapture c = Capture();
  EXPECT_EQ(c.At(0, 2), RGB(255, 0, 0));  // the first band is the start colour
  EXPECT_TRUE(c.Contains(GutterRow(1), kNumberInk));
  EXPECT_FALSE(c.Contains(GutterRow(1), kGutter));
}

TEST_F(PaintTest, NormalSelectionRunsFromStartColumnToEndColumn) {
  Show("abcdefgh\r\nabcdefgh\r\nabcdefgh");
  Select(*edit_, {3, 1}, {5, 2});
  TScreenCapture c = Capture();
  EXPECT_FALSE(c.Contains(Cell(2, 1), kSelection));
  EXPECT_TRUE(Mostly(c, Cell(3, 1), kSelection));
  EXPECT_TRUE(c.Contains(Cell(3, 1), kSelectionInk));
  EXPECT_TRUE(c.Filled(Cell(20, 1), kSelection));  // beyond the first line's text
  EXPECT_TRUE(Mostly(c, Cell(4, 2), kSelection));
  EXPECT_FALSE(c.Contains(Cell(5, 2), kSelection));
  EXPECT_FALSE(c.Contains(Cell(20, 2), kSelection));
  EXPECT_FALSE(c.Contains(Cell(1, 3), kSelection));
}

TEST_F(PaintTest, LineSelectionCoversTheWholeWidthOfItsLines) {
  Show("ab\r\nabcdefgh\r\nabc");
  edit_->SetSelectionMode(TCodeSelectionMode::smLine);
  Select(*edit_, {2, 1}, {2, 2});
  TScreenCapture c = Capture();
  EXPECT_TRUE(Mostly(c, Cell(1, 1), kSelection));
  EXPECT_TRUE(c.Filled(Cell(30, 1), kSelection));
  EXPECT_TRUE(c.Filled(Cell(30, 2), kSelection));
  EXPECT_FALSE(c.Contains(Cell(1, 3), kSelection));
  EXPECT_FALSE(c.Contains(Cell(30, 3), kSelection));
}

TEST_F(PaintTest, ColumnSelectionHighlightsTheSameColumnsOnLinesOfAnyLength) {
  Show("ab\r\nabcdefgh\r\nabcd\r\nabcdefgh");
  edit_->SetSelectionMode(TCodeSelectionMode::smColumn);
  Select(*edit_, {2, 1}, {6, 3});
  TScreenCapture c = Capture();
  for (int row = 1; row <= 3; ++row) {
    EXPECT_FALSE(c.Contains(Cell(1, row), kSelection)) << row;
    EXPECT_TRUE(Mostly(c, Cell(2, row), kSelection)) << row;
    EXPECT_TRUE(Mostly(c, Cell(5, row), kSelection)) << row;
    EXPECT_FALSE(c.Contains(Cell(6, row), kSelection)) << row;
  }
  EXPECT_TRUE(c.Filled(Cell(4, 1), kSelection));  // past the end of "ab"
  EXPECT_FALSE(c.Contains(Cell(3, 4), kSelection));
}

TEST_F(PaintTest, HiddenSelectionIsNotPaintedWithoutFocus) {
  Show("abcdefgh");
  Select(*edit_, {1, 1}, {5, 1});
  edit_->SetHideSelection(true);
  SetFocus(nullptr);
  EXPECT_FALSE(Capture().Contains(Cell(2, 1), kSelection));
}

TEST_F(PaintTest, RightEdgeLineRunsThroughTextRowsAndBelowThem) {
  Show("a line of text that reaches past the edge\r\nshort");
  edit_->SetRightEdge(10);
  edit_->SetRightEdgeColor(0x000000FF);
  TScreenCapture c = Capture();
  int x = edit_->GutterWidth() + 2 + 10 * edit_->CharWidth();
  COLORREF red = RGB(255, 0, 0);
  EXPECT_EQ(c.At(x, edit_->LineHeight() / 2), red);
  EXPECT_EQ(c.At(x, edit_->LineHeight() * 3 / 2), red);
  EXPECT_EQ(c.At(x, edit_->LineHeight() * 5), red);
  EXPECT_NE(c.At(x - 1, edit_->LineHeight() * 5), red);
  edit_->SetRightEdge(0);
  EXPECT_FALSE(Capture().Contains({x, 0, x + 1, c.Height()}, red));
}

TEST_F(PaintTest, SpecialLineAndActiveLineColoursFillTheirRows) {
  Show("first\r\nsecond\r\nthird");
  edit_->SetActiveLineColor(0x00C0FFFF);
  edit_->OnSpecialLineColors = [](TObject*, int Line, bool& Special, TColor& FG, TColor& BG) {
    Special = Line == 3;
    if (Special) {
      FG = 0x00FFFFFF;
      BG = 0x00800000;
    }
  };
  edit_->SetCaretXY({1, 2});
  TScreenCapture c = Capture();
  EXPECT_TRUE(c.Filled(Cell(20, 2), RGB(255, 255, 192)));
  EXPECT_TRUE(c.Filled(Cell(20, 3), RGB(0, 0, 128)));
  EXPECT_TRUE(Mostly(c, Cell(1, 3), RGB(0, 0, 128)));
  EXPECT_TRUE(c.Filled(Cell(20, 1), RGB(255, 255, 255)));
}

TEST_F(PaintTest, SpecialCharactersShowTabAndLineEndGlyphs) {
  Show("\tx\r\n");
  edit_->SetTabWidth(4);
  edit_->SetOptions(With(edit_->Options(), TCodeEditorOption::eoShowSpecialChars));
  TScreenCapture c = Capture();
  // A tab over columns 1..4 shows its glyph in column 2; the line end shows after "x".
  EXPECT_FALSE(c.Contains(Cell(1, 1), kInk));
  EXPECT_TRUE(c.Contains(Cell(2, 1), kInk));
  EXPECT_FALSE(c.Contains(Cell(3, 1), kInk));
  EXPECT_TRUE(c.Contains(Cell(6, 1), kInk));
  edit_->SetOptions(WithOut(edit_->Options(), TCodeEditorOption::eoShowSpecialChars));
  TScreenCapture plain = Capture();
  EXPECT_FALSE(plain.Contains(Cell(2, 1), kInk));
  EXPECT_FALSE(plain.Contains(Cell(6, 1), kInk));
}

TEST_F(PaintTest, BookmarkDrawsFirstAndASecondMarkStandsXoffsetToItsRight) {
  Show("one\r\ntwo");
  edit_->Gutter().SetWidth(40);
  // Two 12-pixel images: red, then blue.
  HIMAGELIST images = ImageList_Create(12, 12, ILC_COLOR24, 2, 0);
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP strip = CreateCompatibleBitmap(screen, 24, 12);
  HGDIOBJ old = SelectObject(mem, strip);
  RECT red = {0, 0, 12, 12}, blue = {12, 0, 24, 12};
  FillRect(mem, &red, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  HBRUSH redBrush = CreateSolidBrush(RGB(255, 0, 0)), blueBrush = CreateSolidBrush(RGB(0, 0, 255));
  FillRect(mem, &red, redBrush);
  FillRect(mem, &blue, blueBrush);
  SelectObject(mem, old);
  ImageList_Add(images, strip, nullptr);
  DeleteObject(redBrush);
  DeleteObject(blueBrush);
  DeleteObject(strip);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  edit_->BookMarkOptions().SetBookmarkImages(images);
  for (int slot : {-1, 0}) {  // the plain mark comes first in the list
    auto mark = std::make_unique<TCodeEditMark>(edit_.get());
    mark->SetLine(1);
    mark->SetImage(slot < 0 ? 1 : 0);
    mark->SetBookmarkSlot(slot);
    mark->SetVisible(true);
    edit_->Marks().Add(std::move(mark));
  }
  TScreenCapture c = Capture();
  const int left = edit_->BookMarkOptions().LeftMargin();
  EXPECT_EQ(c.At(left + 6, 6), RGB(255, 0, 0));
  EXPECT_EQ(c.At(left + 12 + 6, 6), RGB(0, 0, 255));
  edit_->BookMarkOptions().SetDrawBookmarksFirst(false);
  TScreenCapture swapped = Capture();
  EXPECT_EQ(swapped.At(left + 6, 6), RGB(0, 0, 255));
  EXPECT_EQ(swapped.At(left + 12 + 6, 6), RGB(255, 0, 0));
  edit_->BookMarkOptions().SetBookmarkImages(nullptr);
  ImageList_Destroy(images);
}

TEST_F(PaintTest, WrappedLineIsPaintedOverSeveralRowsWithTheWrapGlyph) {
  Show(LongLine(30) + "\r\nnext", 300, 240);
  edit_->SetWordWrap(true);
  ASSERT_GE(edit_->DisplayRowCount(), 4);
  const int lastRowOfLine1 = edit_->DisplayRowCount() - 1;
  TScreenCapture c = Capture();
  for (int row = 1; row <= lastRowOfLine1; ++row)
    EXPECT_TRUE(c.Contains(Cell(1, row), kInk)) << row;
  EXPECT_TRUE(c.Filled(GutterRow(1), kGutter));
  for (int row = 2; row <= lastRowOfLine1; ++row)
    EXPECT_FALSE(c.Filled(GutterRow(row), kGutter)) << row;  // the glyph
  EXPECT_TRUE(c.Filled(GutterRow(lastRowOfLine1 + 1), kGutter));  // "next" starts a line
  EXPECT_TRUE(c.Contains(Cell(1, lastRowOfLine1 + 1), kInk));
  edit_->SetWordWrap(false);
  TScreenCapture unwrapped = Capture();
  EXPECT_TRUE(unwrapped.Filled(GutterRow(2), kGutter));
  EXPECT_TRUE(unwrapped.Contains(Cell(1, 2), kInk));  // "next" on the second row
  EXPECT_FALSE(unwrapped.Contains(Cell(1, 3), kInk));
}

// The highlighter scans the line once for all its rows: a comment running over two row
// breaks keeps its colour on every row, and the text after it has its own again.
TEST_F(PaintTest, AWrappedLineKeepsItsTokenColoursAcrossRows) {
  TCodeTestHighlighter highlighter(nullptr);
  Show("", 300, 240);
  const int columns = edit_->CharsInWindow();
  edit_->SetText("x /*" + std::string(2 * columns, 'c') + "*/ y");
  edit_->SetHighlighter(&highlighter);
  edit_->SetWordWrap(true);
  ASSERT_EQ(edit_->DisplayRowCount(), 3);
  const COLORREF green = RGB(0, 128, 0);
  TScreenCapture c = Capture();
  EXPECT_FALSE(c.Contains(Cell(1, 1), green));  // x
  EXPECT_TRUE(c.Contains(Cell(3, 1), green));   // the comment's start
  EXPECT_TRUE(c.Contains(Cell(1, 2), green));
  EXPECT_TRUE(c.Contains(Cell(columns, 2), green));
  EXPECT_TRUE(c.Contains(Cell(6, 3), green));   // its end: */
  EXPECT_TRUE(c.Contains(Cell(8, 3), kInk));    // y
  EXPECT_FALSE(c.Contains(Cell(8, 3), green));
  edit_->SetHighlighter(nullptr);
}

namespace {
class TRecordingPlugin : public TCodeEditPlugin {
public:
  void AfterPaint(HDC, const RECT&, int FirstLine, int LastLine) override {
    ++Paints;
    First = FirstLine;
    Last = LastLine;
  }
  void LinesInserted(int, int) override {}
  void LinesDeleted(int, int) override {}
  int Paints = 0, First = 0, Last = 0;
};
}  // namespace

TEST_F(PaintTest, EachPaintTellsPluginsEventsAndTheGutterOfWrappedLines) {
  Show(LongLine(30) + "\r\nnext\r\nlast", 300, 240);
  edit_->SetWordWrap(true);
  TRecordingPlugin plugin;
  edit_->AddPlugin(&plugin);
  int paints = 0, transients = 0;
  std::vector<std::pair<int, int>> gutterLines;  // line, y
  edit_->OnPaint = [&](TObject*, HDC) { ++paints; };
  edit_->OnPaintTransient = [&](TObject*, HDC, TTransientType T) {
    if (T == TTransientType::ttAfter) ++transients;
  };
  edit_->OnGutterPaint = [&](TObject*, int Line, int, int Y) { gutterLines.push_back({Line, Y}); };
  Capture();
  EXPECT_GE(paints, 1);
  EXPECT_GE(transients, 1);
  EXPECT_GE(plugin.Paints, 1);
  EXPECT_EQ(plugin.First, 1);
  EXPECT_EQ(plugin.Last, edit_->DisplayRowCount());
  ASSERT_GE(gutterLines.size(), 3u);
  const int lh = edit_->LineHeight();
  auto seen = [&](int Line, int Y) {
    return std::find(gutterLines.begin(), gutterLines.end(), std::make_pair(Line, Y)) !=
           gutterLines.end();
  };
  EXPECT_TRUE(seen(1, 0));
  EXPECT_TRUE(seen(2, (edit_->FirstRowOfLine(2) - 1) * lh));
  EXPECT_TRUE(seen(3, (edit_->FirstRowOfLine(3) - 1) * lh));
  edit_->RemovePlugin(&plugin);
}

TEST_F(PaintTest, SpecialLineKeepsTokenForegroundOnlyWhenAsked) {
  TCodeTestHighlighter highlighter(nullptr);
  highlighter.KeyAttri()->SetForeground(0x00FF0000);   // blue
  highlighter.KeyAttri()->SetBackground(0x0000FFFF);   // yellow, replaced by the line's
  Show("begin x");
  edit_->SetHighlighter(&highlighter);
  const COLORREF blue = RGB(0, 0, 255), red = RGB(255, 0, 0), aqua = RGB(0, 255, 255);
  EXPECT_TRUE(Capture().Contains(Cell(1, 1), blue));
  edit_->OnSpecialLineColors = [](TObject*, int, bool& Special, TColor& FG, TColor& BG) {
    Special = true;
    FG = 0x000000FF;
    BG = 0x00FFFF00;
  };
  TScreenCapture special = Capture();
  EXPECT_TRUE(special.Contains(Cell(1, 1), red));
  EXPECT_FALSE(special.Contains(Cell(1, 1), blue));
  EXPECT_TRUE(Mostly(special, Cell(1, 1), aqua));
  edit_->SetOptions(With(edit_->Options(), TCodeEditorOption::eoSpecialLineDefaultFg));
  TScreenCapture kept = Capture();
  EXPECT_TRUE(kept.Contains(Cell(1, 1), blue));
  EXPECT_TRUE(Mostly(kept, Cell(1, 1), aqua));
  edit_->SetHighlighter(nullptr);
}

// Lines added below the window repaint nothing (a load adds a million); a line added in
// view, down to the last full row, repaints from its row on.
TEST_F(PaintTest, InsertedLinesRepaintOnlyWhenTheyCanBeSeen) {
  std::string text;
  for (int i = 1; i <= 40; ++i) text += "line " + std::to_string(i) + "\r\n";
  Show(text);
  const int visible = edit_->LinesInWindow();
  ASSERT_LT(visible, 30);
  struct Case {
    int before;  // 0-based index the new line takes
    bool repaints;
  };
  for (Case c : {Case{39, false}, Case{visible + 1, false}, Case{visible - 1, true},
                 Case{0, true}}) {
    ValidateRect(edit_->Handle(), nullptr);
    edit_->Lines().Insert(c.before, "new");
    RECT update{};
    EXPECT_EQ(GetUpdateRect(edit_->Handle(), &update, FALSE) != FALSE, c.repaints) << c.before;
    if (c.repaints) {
      EXPECT_LE(update.top, c.before * edit_->LineHeight()) << c.before;
    }
  }
}
