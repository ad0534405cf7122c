#include <gtest/gtest.h>
#include "PrintTestSupport.h"
#include "editor/CodeEdit.h"
#include "editor/TestCommentHighlighter.h"
#include "printing/CodeEditPrint.h"

using namespace printtest;

namespace {
std::string Numbered(int Count) {
  std::string s;
  for (int i = 1; i <= Count; ++i) s += "line " + std::to_string(i) + "\r\n";
  return s;
}
}  // namespace

class PrintEngineTest : public ::testing::Test {
protected:
  void SetText(const std::string& Text) {
    TStringList lines;
    lines.SetText(Text);
    print.SetLines(lines);
  }
  TPageRecord Render(int Page) {
    TEmfCanvas canvas;
    print.UpdatePages(canvas.DC());
    print.PrintToCanvas(canvas.DC(), Page);
    return canvas.Finish();
  }
  // Every row of every page, in order.
  std::vector<std::string> AllRows() {
    std::vector<std::string> rows;
    const int pages = print.GetPageCount();
    for (int p = 1; p <= pages; ++p)
      for (auto& r : Render(p).RowTexts()) rows.push_back(r);
    return rows;
  }
  TFakePrinter printer;
  TCodeEditPrint print;
};

TEST_F(PrintEngineTest, PagesBreakAtTheFirstLineThatWouldPassTheBottom) {
  SetText(Numbered(3));
  EXPECT_EQ(print.GetPageCount(), 1);
  SetText(Numbered(200));
  const int pages = print.GetPageCount();
  ASSERT_GT(pages, 2);
  auto first = Render(1);
  auto ys = first.RowYs();
  const int lineHeight = ys[1] - ys[0];
  const int perPage = static_cast<int>(ys.size());
  const auto& m = print.Margins();
  EXPECT_EQ(ys[0], m.PTop);
  EXPECT_LE(m.PTop + perPage * lineHeight, m.PBottom);
  EXPECT_GT(m.PTop + (perPage + 1) * lineHeight, m.PBottom);
  EXPECT_EQ(Render(2).RowTexts().at(0), "line " + std::to_string(perPage + 1));
  // Every line once, in order, across the pages.
  auto rows = AllRows();
  ASSERT_EQ(rows.size(), 200u);
  for (int i = 0; i < 200; ++i) EXPECT_EQ(rows[i], "line " + std::to_string(i + 1));
  EXPECT_EQ(pages, (200 + perPage - 1) / perPage);
  EXPECT_TRUE(printer.Calls.empty());  // previews never touch the printer
}

TEST_F(PrintEngineTest, ABottomMarginWithRoomForExactlyNLinesPrintsNLines) {
  SetText(Numbered(2));
  const auto ys = Render(1).RowYs();
  ASSERT_EQ(ys.size(), 2u);
  const int lineHeight = ys[1] - ys[0];
  const int n = 5;
  const int target = print.Margins().PTop + n * lineHeight;
  // The bottom margin, in hundredths of a millimetre, whose text area ends right at target:
  // the smallest margin that does not reach below it.
  auto bottomAt = [&](int Hundredths) {
    print.Margins().SetBottom(Hundredths / 100.0);
    TEmfCanvas canvas;
    print.UpdatePages(canvas.DC());
    return print.Margins().PBottom;
  };
  int low = 0, high = 29700;
  while (low < high) {
    const int mid = (low + high) / 2;
    if (bottomAt(mid) > target) low = mid + 1;
    else high = mid;
  }
  ASSERT_EQ(bottomAt(low), target) << "a margin that ends the text area after " << n << " lines";
  SetText(Numbered(n));
  EXPECT_EQ(print.GetPageCount(), 1);
  EXPECT_EQ(Render(1).RowTexts().size(), static_cast<size_t>(n));
  SetText(Numbered(n + 1));
  EXPECT_EQ(print.GetPageCount(), 2);
  EXPECT_EQ(Render(1).RowTexts().size(), static_cast<size_t>(n));
  EXPECT_EQ(Render(2).RowTexts(), std::vector<std::string>{"line " + std::to_string(n + 1)});
}

TEST_F(PrintEngineTest, AnEmptyTextIsOneEmptyPage) {
  SetText("");
  EXPECT_EQ(print.GetPageCount(), 1);
  EXPECT_TRUE(Render(1).Texts.empty());
  EXPECT_TRUE(Render(5).Texts.empty());  // a page that does not exist draws no text
}

TEST_F(PrintEngineTest, WrappingKeepsEveryCharacterAndNumbersTheLineOnce) {
  const std::string longLine = "alpha beta, gamma-delta " + std::string(300, 'x') + " (a.b;c) " +
                               std::string(150, 'y') + ".z";
  SetText("short\r\n" + longLine + "\r\nend");
  print.SetLineNumbers(true);
  print.SetLineOffset(100);
  auto page = Render(1);
  std::vector<std::string> numbers, rows;
  for (const auto& t : page.Texts)
    (t.Text.find(": ") != std::string::npos ? numbers : rows).push_back(t.Text);
  EXPECT_EQ(numbers, (std::vector<std::string>{"101: ", "102: ", "103: "}));
  ASSERT_GT(rows.size(), 4u);
  std::string joined;
  for (size_t i = 1; i + 1 < rows.size(); ++i) joined += rows[i];
  EXPECT_EQ(joined, longLine);
  EXPECT_EQ(rows.back(), "end");
  for (const auto& t : page.Texts) {
    if (t.Text.find(": ") != std::string::npos) {
      EXPECT_EQ(t.X, print.Margins().PLeft);  // right-aligned at the text's left edge
      continue;
    }
    EXPECT_EQ(t.X, print.Margins().PLeft);
    ASSERT_EQ(t.Dx.size(), t.Text.size());
    int width = 0;
    for (int d : t.Dx) width += d;
    EXPECT_LE(width, print.Margins().PRight - print.Margins().PLeft);
  }
}

TEST_F(PrintEngineTest, WithoutWrapALongLineIsCutAtTheTextWidth) {
  SetText(std::string(1000, 'x'));
  print.SetWrap(false);
  auto page = Render(1);
  ASSERT_EQ(page.Texts.size(), 1u);
  EXPECT_LT(page.Texts[0].Text.size(), 1000u);
  EXPECT_GT(page.Texts[0].Text.size(), 20u);
}

TEST_F(PrintEngineTest, TabsPrintAsBlanksToTheNextTabStop) {
  print.SetTabWidth(4);
  SetText("a\tb\r\n\tc\r\nabcd\te");
  EXPECT_EQ(Render(1).RowTexts(), (std::vector<std::string>{"a   b", "    c", "abcd    e"}));
}

TEST_F(PrintEngineTest, AbsurdMarginsStillPrintEveryCharacterAndEnd) {
  SetText("abc\r\nde\r\nf");
  print.Margins().SetLeft(150);
  print.Margins().SetRight(150);
  print.Margins().SetTop(200);
  print.Margins().SetBottom(200);
  EXPECT_EQ(print.GetPageCount(), 3);
  std::string all;
  for (auto& r : AllRows()) {
    EXPECT_EQ(r.size(), 1u);
    all += r;
  }
  EXPECT_EQ(all, "abcdef");
}

TEST_F(PrintEngineTest, MirroredMarginsMoveTheTextOnEvenPages) {
  SetText(Numbered(200));
  print.Margins().SetGutter(20);
  print.Margins().SetMirrorMargins(true);
  const int odd = Render(1).Texts.at(0).X;
  const int even = Render(2).Texts.at(0).X;
  EXPECT_EQ(odd, print.PrinterInfo().PixFromLeft(45));
  EXPECT_EQ(even, print.PrinterInfo().PixFromLeft(15));
}

TEST_F(PrintEngineTest, PageOffsetShiftsThePageNumberButNotTheCount) {
  SetText("x");
  print.Footer().Add("$PAGENUM$/$PAGECOUNT$", nullptr, taCenter, 1);
  print.SetPageOffset(10);
  EXPECT_TRUE(Render(1).Contains("11/1"));
}

TEST_F(PrintEngineTest, ColoursComeFromTheHighlighterOnlyWithColors) {
  TCodeTestHighlighter hl(nullptr);
  hl.KeyAttri()->SetForeground(clRed);
  hl.CommentAttri()->SetForeground(clGreen);
  hl.CommentAttri()->SetBackground(clYellow);
  print.SetHighlighter(&hl);
  SetText("begin /* open\r\nstill */ end");
  auto colourOf = [](const TPageRecord& Page, const std::string& Text) {
    for (const auto& t : Page.Texts)
      if (t.Text == Text) return std::make_pair(t.Color, t.Back);
    return std::make_pair(COLORREF(-1), COLORREF(-1));
  };
  print.SetColors(true);
  auto coloured = Render(1);
  EXPECT_EQ(coloured.RowTexts(), (std::vector<std::string>{"begin /* open", "still */ end"}));
  EXPECT_EQ(colourOf(coloured, "begin").first, RGB(255, 0, 0));
  // The comment opened on line 1 still colours line 2: states carry over.
  EXPECT_EQ(colourOf(coloured, "still */"), std::make_pair(RGB(0, 128, 0), RGB(255, 255, 0)));
  print.SetColors(false);
  auto plain = Render(1);
  EXPECT_EQ(colourOf(plain, "begin"), std::make_pair(RGB(0, 0, 0), RGB(255, 255, 255)));
  print.SetHighlighter(nullptr);
}

TEST_F(PrintEngineTest, HighlightedTokensContinueAcrossWrapPositions) {
  TCodeTestHighlighter hl(nullptr);
  print.SetHighlighter(&hl);
  const std::string line = "begin " + std::string(250, 'q') + " /* " + std::string(120, 'c') + " */";
  SetText(line);
  std::string joined;
  for (auto& r : Render(1).RowTexts()) joined += r;
  EXPECT_EQ(joined, line);
  print.SetHighlighter(nullptr);
}

TEST_F(PrintEngineTest, ARemovedHighlighterIsForgotten) {
  SetText("begin");
  {
    TCodeTestHighlighter hl(nullptr);
    print.SetHighlighter(&hl);
  }
  EXPECT_EQ(print.Highlighter(), nullptr);
  EXPECT_EQ(Render(1).RowTexts(), std::vector<std::string>{"begin"});

  // Freed after the pages were laid out with it: the next page printed must not reach it.
  {
    TCodeTestHighlighter hl(nullptr);
    print.SetHighlighter(&hl);
    TEmfCanvas canvas;
    print.UpdatePages(canvas.DC());
  }
  TEmfCanvas canvas;
  print.PrintToCanvas(canvas.DC(), 1);
  EXPECT_EQ(canvas.Finish().RowTexts(), std::vector<std::string>{"begin"});
}

namespace {
struct SelectionCase {
  const char* name;
  TCodeSelectionMode mode;
  TBufferCoord begin, end;
  std::vector<std::string> rows;
};
}  // namespace

TEST_F(PrintEngineTest, SelectedOnlyPrintsExactlyTheSelectionThroughTabs) {
  // Columns after expansion with tab width 4: "\tab" = "    ab".
  const std::string text = "x\tone two\r\n\tab cd\r\nlast\tline\r\nnot printed";
  const SelectionCase cases[] = {
      {"normal", TCodeSelectionMode::smNormal, {3, 1}, {3, 3}, {"one two", "    ab cd", "la"}},
      {"normal in one line", TCodeSelectionMode::smNormal, {3, 1}, {6, 1}, {"one"}},
      {"column", TCodeSelectionMode::smColumn, {3, 1}, {4, 2}, {"on", "ab"}},
      {"column reversed", TCodeSelectionMode::smColumn, {6, 2}, {3, 3}, {"  ab c", "st    "}},
      {"line", TCodeSelectionMode::smLine, {2, 2}, {1, 3}, {"    ab cd", "last    line"}},
  };
  for (const auto& c : cases) {
    TCodeEdit edit(nullptr);
    edit.SetTabWidth(4);
    edit.SetText(text);
    print.SetCodeEdit(edit);
    print.SetSelection(true, c.begin, c.end, c.mode);
    print.SetSelectedOnly(true);
    EXPECT_EQ(print.GetPageCount(), 1) << c.name;
    EXPECT_EQ(Render(1).RowTexts(), c.rows) << c.name;
  }
}

TEST_F(PrintEngineTest, SetCodeEditTakesTheEditorsSelection) {
  TCodeEdit edit(nullptr);
  edit.SetText("abc\r\ndef");
  edit.SetBlockBegin({2, 1});
  edit.SetBlockEnd({2, 2});
  print.SetCodeEdit(edit);
  print.SetSelectedOnly(true);
  EXPECT_EQ(Render(1).RowTexts(), (std::vector<std::string>{"bc", "d"}));
}

TEST_F(PrintEngineTest, TwoCopiesOfPagesOneToThree) {
  SetText(Numbered(300));
  print.SetCopies(2);
  print.SetTitle("file");
  print.SetDocTitle("Document");
  std::vector<std::string> status;
  print.OnPrintStatus = [&](TObject*, TCodePrintStatus S, int Page, bool&) {
    status.push_back(std::to_string(static_cast<int>(S)) + ":" + std::to_string(Page));
  };
  print.PrintRange(1, 3);
  ASSERT_EQ(printer.Pages.size(), 6u);
  EXPECT_EQ(printer.Calls, (std::vector<std::string>{"BeginDoc", "NewPage", "NewPage", "NewPage",
                                                     "NewPage", "NewPage", "EndDoc"}));
  EXPECT_EQ(printer.Titles, std::vector<std::string>{"Document"});
  EXPECT_EQ(printer.Pages[0].RowTexts().at(0), "line 1");
  EXPECT_NE(printer.Pages[1].RowTexts(), printer.Pages[0].RowTexts());
  EXPECT_FALSE(printer.Pages[2].RowTexts().empty());
  EXPECT_EQ(printer.Pages[3].RowTexts(), printer.Pages[0].RowTexts());
  EXPECT_EQ(printer.Pages[5].RowTexts(), printer.Pages[2].RowTexts());
  EXPECT_EQ(status, (std::vector<std::string>{"0:1", "1:1", "1:2", "1:3", "1:1", "1:2", "1:3",
                                              "2:3"}));
  EXPECT_FALSE(printer.Printing());
}

TEST_F(PrintEngineTest, AbortFromTheStatusEventDropsTheJob) {
  SetText(Numbered(300));
  print.OnPrintStatus = [](TObject*, TCodePrintStatus S, int Page, bool& Abort) {
    Abort = S == TCodePrintStatus::psNewPage && Page == 2;
  };
  std::vector<int> linesPrinted;
  print.OnPrintLine = [&](TObject*, int Line, int) { linesPrinted.push_back(Line); };
  print.Print();
  EXPECT_EQ(printer.Calls, (std::vector<std::string>{"BeginDoc", "NewPage", "Abort"}));
  EXPECT_TRUE(printer.Aborted());
  EXPECT_FALSE(printer.Printing());
  ASSERT_FALSE(linesPrinted.empty());
  EXPECT_EQ(linesPrinted.front(), 1);
}

TEST_F(PrintEngineTest, APrinterErrorAbortsTheJobAndTheNextJobPrints) {
  SetText(Numbered(300));
  printer.FailAfterPages = 1;
  EXPECT_THROW(print.Print(), EPrinter);
  EXPECT_EQ(printer.Calls.back(), "Abort");
  EXPECT_FALSE(printer.Printing());
  printer.FailAfterPages = 0;
  printer.Calls.clear();
  printer.Pages.clear();
  print.SetTitle("again");
  print.PrintRange(2, 2);
  EXPECT_EQ(printer.Calls, (std::vector<std::string>{"BeginDoc", "EndDoc"}));
  ASSERT_EQ(printer.Pages.size(), 1u);
  EXPECT_NE(printer.Pages[0].RowTexts().at(0), "line 1");
  EXPECT_EQ(printer.Titles.back(), "again");
}

TEST_F(PrintEngineTest, SelectedOnlyWithoutSelectionPrintsNothing) {
  SetText("abc");
  print.SetSelectedOnly(true);
  bool fired = false;
  print.OnPrintStatus = [&](TObject*, TCodePrintStatus, int, bool&) { fired = true; };
  print.Print();
  EXPECT_TRUE(printer.Calls.empty());
  EXPECT_FALSE(fired);
}
