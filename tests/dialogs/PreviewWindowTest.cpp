#include <gtest/gtest.h>
#include "dialogs/formPgSetup.h"
#include "dialogs/formPreview.h"
#include "editor/CodeEdit.h"
#include "printing/CodeEditPrint.h"
#include "printing/CodeEditPrintPreview.h"
#include "printing/PrintTestSupport.h"
#include "support/ModalAnswers.h"
#include "support/WhenShown.h"
#include "toolkit/Application.h"
#include "toolkit/Menus.h"
#include "toolkit/StatusBar.h"
#include "toolkit/ToolBar.h"

namespace {
class PreviewWindowTest : public ::testing::Test {
protected:
  PreviewWindowTest() {
    Settings = TSettings();
    std::string text;
    for (int i = 1; i <= 150; ++i) text += "Zeile " + std::to_string(i) + "\r\n";
    edit.SetText(text);
    form = std::make_unique<TfrmPreview>(
        nullptr, print,
        [this] {
          ++refreshes;
          return TPrintDocument{&edit, "Brief.txt", "C:\\Brief.txt"};
        },
        [this](TObject*) { ++printed; });
    form->RefreshPreview();
    form->FormShow();
  }
  ~PreviewWindowTest() override { Settings = TSettings(); }
  std::string Status() { return form->sbPreview->PanelText(0); }  // centred by a tab

  printtest::TFakePrinter printer;
  TCodeEdit edit{nullptr};
  TCodeEditPrint print;
  std::unique_ptr<TfrmPreview> form;
  int refreshes = 0;
  int printed = 0;
};
}  // namespace

TEST_F(PreviewWindowTest, OpensOnTheWholeFirstPage) {
  TCodeEditPrintPreview& p = *form->sepPreview;
  EXPECT_EQ(p.ScaleMode(), TCodePreviewScale::pscWholePage);
  EXPECT_EQ(p.PageNumber(), 1);
  const int count = p.GetPageCount();
  ASSERT_GT(count, 1);
  EXPECT_EQ(Status(), "\tSeite 1 von " + std::to_string(count));
  EXPECT_EQ(form->sbPreview->PanelText(1), "C:\\Brief.txt");
  EXPECT_EQ(print.DocTitle(), "Brief.txt");
  form->tbPrint->Click();
  EXPECT_EQ(printed, 1);
}

TEST_F(PreviewWindowTest, PageKeysStopAtTheEnds) {
  const std::string count = std::to_string(form->sepPreview->GetPageCount());
  form->FormKeyDown(VK_NEXT);
  EXPECT_EQ(Status(), "\tSeite 2 von " + count);
  form->FormKeyDown(VK_END);
  form->FormKeyDown(VK_NEXT);
  EXPECT_EQ(Status(), "\tSeite " + count + " von " + count);
  form->FormKeyDown(VK_HOME);
  form->FormKeyDown(VK_PRIOR);
  EXPECT_EQ(Status(), "\tSeite 1 von " + count);
  form->sepPreview->Perform(WM_KEYDOWN, VK_NEXT);  // keys reach the form from the preview
  EXPECT_EQ(form->sepPreview->PageNumber(), 2);
  form->FormKeyDown(VK_ESCAPE);
  EXPECT_EQ(form->ModalResult(), mrCancel);
}

TEST_F(PreviewWindowTest, MouseClicksZoomInAndOutWithinLimits) {
  TCodeEditPrintPreview& p = *form->sepPreview;
  form->sepPreviewMouseDown(VK_LBUTTON);
  EXPECT_EQ(p.ScaleMode(), TCodePreviewScale::pscUserScaled);
  EXPECT_EQ(p.ScalePercent(), 100);
  std::vector<int> seen;
  for (int i = 0; i < 10; ++i) {
    form->sepPreviewMouseDown(VK_LBUTTON);
    seen.push_back(p.ScalePercent());
  }
  EXPECT_EQ(seen, (std::vector<int>{125, 150, 175, 200, 225, 250, 275, 300, 300, 300}));
  seen.clear();
  for (int i = 0; i < 13; ++i) {
    form->sepPreviewMouseDown(VK_RBUTTON);
    seen.push_back(p.ScalePercent());
  }
  EXPECT_EQ(seen.back(), 25);
  EXPECT_EQ(seen[9], 50);
  form->tbScaleClick();
  EXPECT_EQ(p.ScaleMode(), TCodePreviewScale::pscWholePage);
  form->sepPreviewMouseDown(VK_RBUTTON);  // out from a fitting mode: below its percentage
  EXPECT_EQ(p.ScaleMode(), TCodePreviewScale::pscUserScaled);
}

TEST_F(PreviewWindowTest, ScaleMenuSetsAndShowsTheScale) {
  TCodeEditPrintPreview& p = *form->sepPreview;
  ASSERT_EQ(form->pmnuScalePercent.size(), 12u);
  EXPECT_EQ(form->pmnuScalePercent.back()->Caption(), "300%");
  form->pmnuScaleItemClick(*form->pmnuScalePercent[2]);
  EXPECT_EQ(p.ScalePercent(), 75);
  form->pmnuScalePopup();
  EXPECT_TRUE(form->pmnuScalePercent[2]->Checked());
  EXPECT_FALSE(form->pmnuScaleWhole->Checked());
  form->pmnuScaleItemClick(*form->pmnuScaleWidth);
  EXPECT_EQ(p.ScaleMode(), TCodePreviewScale::pscPageWidth);
  form->pmnuScalePopup();
  EXPECT_TRUE(form->pmnuScaleWidth->Checked());
  form->pmnuScaleItemClick(*form->pmnuScaleWhole);
  EXPECT_EQ(p.ScaleMode(), TCodePreviewScale::pscWholePage);
}

TEST_F(PreviewWindowTest, CancelledPageSetupStillRefreshes) {
  const int before = refreshes;
  testsupport::QueueFormAnswer([](TForm& Setup) {
    EXPECT_EQ(Setup.Caption(), "Seite einrichten");
    return static_cast<int>(mrCancel);
  });
  form->tbPgSetupClick();
  EXPECT_EQ(refreshes, before + 1);
}

TEST_F(PreviewWindowTest, PageSetupAppliedFromThePreviewRepaginates) {
  const int pagesBefore = form->sepPreview->GetPageCount();
  testsupport::QueueFormAnswer([this](TForm& Setup) {
    auto& setup = static_cast<TfrmPgSetup&>(Setup);
    static_cast<TEdit*>(setup.FindComponent("txtTop"))->SetText("150");  // millimetres
    const int before = refreshes;
    setup.btnPreviewClick();  // "Übernehmen" refreshes this preview at once
    EXPECT_EQ(refreshes, before + 1);
    return static_cast<int>(mrCancel);
  });
  form->tbPgSetupClick();
  EXPECT_DOUBLE_EQ(Settings.Printer.MarginTop, 150);
  EXPECT_GT(form->sepPreview->GetPageCount(), pagesBefore);
}

// The page setup opened from the running preview belongs to the preview, not the main window:
// the preview is disabled meanwhile and in front again afterwards, still modal.
TEST_F(PreviewWindowTest, PageSetupOpenedFromThePreviewIsOwnedByItAndDisablesIt) {
  TForm main(nullptr, {"Tarvoline", 600, 400});
  Application().SetMainForm(&main);
  ShowWindow(main.Handle(), SW_SHOW);
  HWND owner = nullptr, activeAfter = nullptr;
  bool previewEnabled = true, mainEnabled = true;
  testsupport::QueueFormAnswer([&](TForm& Setup) {
    testsupport::TWhenShown cancel([&](HWND W) { return W == Setup.Handle(); }, [&](HWND W) {
      owner = GetWindow(W, GW_OWNER);
      previewEnabled = IsWindowEnabled(form->Handle());
      mainEnabled = IsWindowEnabled(main.Handle());
      Setup.SetModalResult(mrCancel);
    });
    return Setup.RunModalLoop();
  });
  testsupport::TWhenShown inPreview([&](HWND W) { return W == form->Handle(); }, [&](HWND) {
    form->tbPgSetup->Click();
    activeAfter = GetActiveWindow();
    form->SetModalResult(mrCancel);
  });
  form->RunModalLoop();
  Application().SetMainForm(nullptr);
  EXPECT_EQ(owner, form->Handle());
  EXPECT_FALSE(previewEnabled);
  EXPECT_FALSE(mainEnabled);
  EXPECT_EQ(activeAfter, form->Handle());
  EXPECT_TRUE(IsWindowEnabled(main.Handle()));
}
