// The reopen history: gone files leave the history itself, chosen rows are opened.
#include <gtest/gtest.h>
#include "PluginTestFixture.h"
#include "dialogs/formOpenHist.h"
#include "toolkit/Controls.h"
#include "toolkit/ListView.h"

namespace {

using plugintest::PluginWindowTest;
using Lines = std::vector<std::string>;

class OpenHistTest : public PluginWindowTest {
protected:
  static Lines History() {
    Lines lines;
    for (int i = 0; i < Settings.OpenMRU.Count(); ++i) lines.push_back(Settings.OpenMRU[i]);
    return lines;
  }
  void Click() { frmMain->Find<TMenuItem>("mnuFileReOpenHistory")->Click(); }
};

}  // namespace

TEST_F(OpenHistTest, OpeningDropsMissingFilesFromTheHistoryEvenWhenCancelled) {
  folder.Write("a.txt", "a");
  folder.Write("c.txt", "c");
  for (const char* name : {"gone1.txt", "a.txt", "gone2.txt", "c.txt", "gone3.txt"})
    Settings.OpenMRU.Add(folder.File(name));
  testsupport::QueueFormAnswer([this](TForm& Form) {
    auto& dialog = dynamic_cast<TfrmOpenHist&>(Form);
    EXPECT_EQ(dialog.Caption(), "Dateien neu \xF6" "ffnen");
    EXPECT_EQ(dialog.lvHist->Count(), 2);
    EXPECT_EQ(dialog.lvHist->Items(0)->Caption(), "a.txt");
    EXPECT_EQ(dialog.lvHist->Items(1)->SubItem(0), folder.File("c.txt"));
    EXPECT_EQ(dialog.lvHist->Items(1)->ImageIndex(), 126);
    EXPECT_FALSE(dialog.btnOpen->Enabled());
    return static_cast<int>(mrCancel);
  });
  Click();
  EXPECT_EQ(History(), (Lines{folder.File("a.txt"), folder.File("c.txt")}));
  EXPECT_EQ(TabCount(), 0);
}

TEST_F(OpenHistTest, TheSelectedRowsAreOpenedAfterOpen) {
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
    folder.Write(name, name);
    Settings.OpenMRU.Add(folder.File(name));
  }
  testsupport::QueueFormAnswer([](TForm& Form) {
    auto& dialog = dynamic_cast<TfrmOpenHist&>(Form);
    dialog.lvHist->Items(0)->SetSelected(true);
    dialog.lvHist->Items(2)->SetSelected(true);
    EXPECT_TRUE(dialog.btnOpen->Enabled());
    dialog.lvHist->Items(0)->SetSelected(false);
    dialog.lvHist->Items(2)->SetSelected(false);
    EXPECT_FALSE(dialog.btnOpen->Enabled()) << "only while a row is selected";
    dialog.lvHist->Items(0)->SetSelected(true);
    dialog.lvHist->Items(2)->SetSelected(true);
    dialog.lvHistDblClick(dialog.lvHist);
    return dialog.ModalResult();
  });
  Click();
  ASSERT_EQ(TabCount(), 2);
  Lines opened = {GetFrame(0)->DocInfo.Title, GetFrame(1)->DocInfo.Title};
  std::sort(opened.begin(), opened.end());
  EXPECT_EQ(opened, (Lines{"a.txt", "c.txt"}));
}

TEST_F(OpenHistTest, ButtonsAndListKeepTheirDistancesWhenResized) {
  TfrmOpenHist dialog(nullptr);
  EXPECT_EQ(dialog.lvHist->Count(), 0);
  EXPECT_FALSE(dialog.btnOpen->Enabled());
  for (int width : {400, 700}) {
    SCOPED_TRACE(width);
    dialog.SetBounds(0, 0, width, 300);
    dialog.FormResize();
    RECT client = dialog.ClientRect();
    RECT cancel, open, list;
    GetWindowRect(dialog.btnCancel->Handle(), &cancel);
    GetWindowRect(dialog.btnOpen->Handle(), &open);
    GetWindowRect(dialog.lvHist->Handle(), &list);
    POINT origin = {0, 0};
    ClientToScreen(dialog.Handle(), &origin);
    EXPECT_EQ(client.right - (cancel.right - origin.x), 9);
    EXPECT_EQ(client.bottom - (cancel.bottom - origin.y), 9);
    EXPECT_EQ(cancel.left - open.right, 6);
    EXPECT_EQ(open.top, cancel.top);
    EXPECT_EQ(list.left - origin.x, 9);
    EXPECT_EQ(client.right - (list.right - origin.x), 9);
    EXPECT_EQ(cancel.top - list.bottom, 9);
  }
}
