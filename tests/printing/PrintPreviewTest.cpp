#include <gtest/gtest.h>
#include "PrintTestSupport.h"
#include "editor/MemoryCanvas.h"
#include "printing/CodeEditPrintPreview.h"
#include "toolkit/Form.h"

using namespace printtest;

class PrintPreviewTest : public ::testing::Test {
protected:
  PrintPreviewTest() {
    host = std::make_unique<TForm>(nullptr, TForm::CreateArgs{"Preview", 100, 100, WS_POPUP});
    preview = host->Make<TCodeEditPrintPreview>("sepPreview", host.get());
    TStringList lines;
    for (int i = 1; i <= 300; ++i) lines.Add("line " + std::to_string(i));
    print.SetLines(lines);
    host->Show();
  }
  // Resizes the host so that the preview's client area is about Width x Height.
  void Resize(int Width, int Height) {
    SetWindowPos(host->Handle(), nullptr, 0, 0, Width, Height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  void Attach() {
    preview->SetCodeEditPrint(&print);
    preview->UpdatePreview();
  }
  std::unique_ptr<TMemoryCanvas> Snapshot() {
    RECT r = preview->ClientRect();
    auto canvas = std::make_unique<TMemoryCanvas>(r.right, r.bottom);
    canvas->Fill(RGB(1, 2, 3));  // every pixel must be painted
    preview->Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas->DC()), PRF_CLIENT);
    return canvas;
  }
  RECT Paper() const {
    RECT r;
    r.left = preview->VirtualOffset().x + preview->ScrollPosition().x;
    r.top = preview->VirtualOffset().y +
            (preview->ScaleMode() == TCodePreviewScale::pscWholePage ? 0 : preview->ScrollPosition().y);
    r.right = r.left + preview->PageSize().x;
    r.bottom = r.top + preview->PageSize().y;
    return r;
  }
  TFakePrinter printer;
  TCodeEditPrint print;
  std::unique_ptr<TForm> host;
  TCodeEditPrintPreview* preview;
};

TEST_F(PrintPreviewTest, WithoutAPrintJobOnlyASmallBlankPaper) {
  Resize(300, 200);
  auto c = Snapshot();
  const COLORREF background = GetSysColor(COLOR_APPWORKSPACE);
  EXPECT_EQ(c->Pixel(100, 100), background);
  EXPECT_EQ(c->Pixel(12, 12), RGB(0, 0, 0));
  EXPECT_EQ(c->Pixel(30, 30), RGB(255, 255, 255));
  EXPECT_EQ(c->Pixel(56, 30), background);
  SCROLLINFO si = {sizeof si, SIF_ALL};
  GetScrollInfo(preview->Handle(), SB_VERT, &si);
  EXPECT_GE(static_cast<int>(si.nPage), si.nMax - si.nMin + 1);  // one page shows it all
  EXPECT_EQ(si.nPos, 0);
}

TEST_F(PrintPreviewTest, WholePageIsLimitedByTheTighterSide) {
  Resize(900, 400);
  Attach();
  preview->SetScaleMode(TCodePreviewScale::pscWholePage);
  RECT client = preview->ClientRect();
  EXPECT_EQ(preview->PageSize().y, client.bottom - 26);
  EXPECT_EQ(preview->PageSize().x, MulDiv(client.bottom - 26, 2481, 3507));
  EXPECT_GT(preview->VirtualOffset().x, 12);  // centred in the wide client
  Resize(300, 900);
  client = preview->ClientRect();
  EXPECT_EQ(preview->PageSize().x, client.right - 26);
  EXPECT_EQ(preview->PageSize().y, MulDiv(client.right - 26, 3507, 2481));
}

TEST_F(PrintPreviewTest, PaperShadowAndBackgroundAtEachScale) {
  Resize(700, 500);
  Attach();
  const COLORREF background = GetSysColor(COLOR_APPWORKSPACE);
  struct Case {
    TCodePreviewScale mode;
    int percent;
  } cases[] = {{TCodePreviewScale::pscWholePage, 0},
               {TCodePreviewScale::pscPageWidth, 0},
               {TCodePreviewScale::pscUserScaled, 50}};
  for (const auto& s : cases) {
    if (s.percent) preview->SetScalePercent(s.percent);
    else preview->SetScaleMode(s.mode);
    const RECT p = Paper();
    auto c = Snapshot();
    const int midY = std::min<int>(p.top + 20, preview->ClientRect().bottom - 2);
    EXPECT_EQ(c->Pixel(p.left - 1, midY), background) << static_cast<int>(s.mode);
    EXPECT_EQ(c->Pixel(p.left, midY), RGB(0, 0, 0));
    EXPECT_EQ(c->Pixel(p.left + 1, midY), RGB(255, 255, 255));
    EXPECT_EQ(c->Pixel(p.right - 1, midY), RGB(0, 0, 0));
    EXPECT_EQ(c->Pixel(p.right, midY), background);
    EXPECT_EQ(c->Pixel(p.right + 1, midY), RGB(128, 128, 128));
    EXPECT_EQ(c->Pixel(p.right + 2, midY), RGB(128, 128, 128));
    EXPECT_EQ(c->Pixel(p.right + 3, midY), background);
    EXPECT_EQ(c->Pixel(p.right + 1, p.top), background);  // the shadow starts 2 pixels down
    if (p.bottom + 3 < preview->ClientRect().bottom) {
      EXPECT_EQ(c->Pixel(p.left + 20, p.bottom), background);
      EXPECT_EQ(c->Pixel(p.left + 20, p.bottom + 1), RGB(128, 128, 128));
      EXPECT_EQ(c->Pixel(p.left + 20, p.bottom + 3), background);
    }
  }
}

TEST_F(PrintPreviewTest, UserScaleFollowsTheScreenResolution) {
  Resize(500, 400);
  Attach();
  preview->SetScalePercent(200);
  HDC screen = GetDC(nullptr);
  const int ppi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(preview->PageSize().x, MulDiv(MulDiv(2481, ppi, 300), 200, 100));
  EXPECT_EQ(preview->VirtualSize().x, preview->PageSize().x + 26);
}

TEST_F(PrintPreviewTest, PageStepsStopAtBothEnds) {
  Resize(500, 400);
  Attach();
  std::vector<int> shown;
  preview->OnPreviewPage = [&](TObject*, int Page) { shown.push_back(Page); };
  const int count = preview->GetPageCount();
  ASSERT_GT(count, 2);
  preview->PreviousPage();
  EXPECT_EQ(preview->PageNumber(), 1);
  preview->LastPage();
  preview->NextPage();
  EXPECT_EQ(preview->PageNumber(), count);
  preview->FirstPage();
  preview->NextPage();
  EXPECT_EQ(shown, (std::vector<int>{1, count, count, 1, 2}));
}

TEST_F(PrintPreviewTest, WholePageScrollBarStepsPagesAndShowsTheHint) {
  Resize(500, 400);
  Attach();
  preview->SetScaleMode(TCodePreviewScale::pscWholePage);
  const int count = preview->GetPageCount();
  preview->Perform(WM_VSCROLL, SB_LINEDOWN);
  EXPECT_EQ(preview->PageNumber(), 2);
  preview->Perform(WM_VSCROLL, SB_BOTTOM);
  EXPECT_EQ(preview->PageNumber(), count);
  preview->Perform(WM_VSCROLL, SB_PAGEDOWN);
  EXPECT_EQ(preview->PageNumber(), count);
  preview->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 3));
  EXPECT_EQ(preview->PageNumber(), 3);
  HWND hint = TCodeEditPrintPreview::ScrollHintWindow();
  ASSERT_NE(hint, nullptr);
  char text[32] = {};
  GetWindowTextA(hint, text, sizeof text);
  EXPECT_STREQ(text, "Page: 3");
  EXPECT_TRUE(IsWindowVisible(hint));
  preview->Perform(WM_VSCROLL, SB_ENDSCROLL);
  EXPECT_FALSE(IsWindowVisible(hint));
  SCROLLINFO si = {sizeof si, SIF_ALL};
  GetScrollInfo(preview->Handle(), SB_VERT, &si);
  EXPECT_EQ(si.nPos, 3);
  EXPECT_EQ(si.nMax, count);
}

TEST_F(PrintPreviewTest, APageThatFitsNeverScrolls) {
  Resize(800, 700);
  Attach();
  preview->SetScalePercent(25);
  preview->ScrollHorzTo(-100);
  preview->ScrollVertFor(-100);
  EXPECT_EQ(preview->ScrollPosition().x, 0);
  EXPECT_EQ(preview->ScrollPosition().y, 0);
  preview->SetScaleMode(TCodePreviewScale::pscWholePage);
  preview->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA * 3));
  EXPECT_EQ(preview->ScrollPosition().y, 0);
}

TEST_F(PrintPreviewTest, ThreeSmallWheelNotchesScrollOnce) {
  Resize(500, 400);
  Attach();
  preview->SetScalePercent(100);
  preview->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-40)));
  preview->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-40)));
  EXPECT_EQ(preview->ScrollPosition().y, 0);
  preview->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-40)));
  EXPECT_EQ(preview->ScrollPosition().y, -120);
  preview->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA));
  EXPECT_EQ(preview->ScrollPosition().y, 0);
  // Scrolling stops at the end of the page.
  preview->Perform(WM_VSCROLL, SB_BOTTOM);
  const int bottom = preview->ClientRect().bottom - preview->VirtualSize().y;
  EXPECT_EQ(preview->ScrollPosition().y, bottom);
  preview->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)));
  EXPECT_EQ(preview->ScrollPosition().y, bottom);
}

TEST_F(PrintPreviewTest, SettingTheSamePercentStillSwitchesToUserScale) {
  Resize(500, 400);
  Attach();
  preview->SetScaleMode(TCodePreviewScale::pscPageWidth);
  int changes = 0;
  preview->OnScaleChange = [&](TObject*) { ++changes; };
  preview->SetScalePercent(preview->ScalePercent());
  EXPECT_EQ(preview->ScaleMode(), TCodePreviewScale::pscUserScaled);
  EXPECT_GE(changes, 1);
}

TEST_F(PrintPreviewTest, UpdatePreviewKeepsTheScaleAndClampsThePage) {
  Resize(500, 400);
  Attach();
  preview->SetScalePercent(75);
  preview->LastPage();
  TStringList shorter;
  shorter.Add("only line");
  print.SetLines(shorter);
  int shownPage = 0;
  preview->OnPreviewPage = [&](TObject*, int Page) { shownPage = Page; };
  preview->UpdatePreview();
  EXPECT_EQ(preview->PageNumber(), 1);
  EXPECT_EQ(shownPage, 1);
  EXPECT_EQ(preview->ScalePercent(), 75);
  EXPECT_EQ(preview->ScaleMode(), TCodePreviewScale::pscUserScaled);
}

TEST_F(PrintPreviewTest, DestroyedPrintJobIsDropped) {
  Resize(300, 200);
  {
    TCodeEditPrint temporary;
    preview->SetCodeEditPrint(&temporary);
  }
  EXPECT_EQ(preview->CodeEditPrint(), nullptr);
  Snapshot();  // paints without the job
}
