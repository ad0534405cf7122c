// The Plugins menu: items and sub-items from the plug-ins' captions, what a click tells the
// plug-in, visibility by document state, and faults inside a plug-in's menu call.
#include <gtest/gtest.h>
#include "PluginTestFixture.h"
#include "toolkit/StatusBar.h"

namespace {

using plugintest::ExpectFaultReport;
using plugintest::PluginWindowTest;
using Lines = std::vector<std::string>;

class PluginMenuTest : public PluginWindowTest {};

}  // namespace

TEST_F(PluginMenuTest, SubMenuCaptionsGiveItemsTaggedByPositionAndClicksNameThem) {
  Install("full", "full.plg");
  Allow("full.plg");
  SetPluginVariable("TVP_SUBMENU_full", "A|B");
  LoadPlugins();
  ASSERT_TRUE(PluginsMenu()->Visible());
  ASSERT_EQ(PluginsMenu()->Count(), 1);
  TMenuItem* top = PluginsMenu()->Items(0);
  EXPECT_EQ(top->Caption(), "full-Item");
  EXPECT_EQ(top->Tag(), 0);
  ASSERT_EQ(top->Count(), 2);
  EXPECT_EQ(top->Items(0)->Caption(), "A");
  EXPECT_EQ(top->Items(1)->Caption(), "B");
  EXPECT_EQ(top->Items(0)->Tag(), 0);
  EXPECT_EQ(top->Items(1)->Tag(), 1);
  EXPECT_FALSE(top->OnClick) << "an item with sub-items has no click handler of its own";
  Lines calls = CallsOf("full");
  EXPECT_EQ(Lines(calls.end() - 3, calls.end()),
            (Lines{"MenuChanged(-1,0,1,1)", "MenuChanged(0,0,1,1)", "MenuChanged(1,0,1,1)"}));

  ClearCalls();
  frmMain->StatusBar->SetPanelText(3, "vorher");
  top->Items(1)->Click();
  EXPECT_EQ(CallsOf("full"), (Lines{"MenuItem(1)", "MenuClicked(1,1,1,1)"}));
  EXPECT_EQ(frmMain->StatusBar->PanelText(3), "vorher") << "the former status text returns";

  ClearCalls();
  top->Click();  // opening the item with sub-items calls nothing
  EXPECT_TRUE(CallsOf("full").empty());
}

TEST_F(PluginMenuTest, CaptionsSplitAtEveryLineBreakAndATopItemClicksWithMinusOne) {
  Install("full", "a.plg");
  Install("full", "b.plg");
  Allow("a.plg\r\nb.plg");
  SetPluginVariable("TVP_SUBMENU_a", "X|");
  SetPluginVariable("TVP_SUBMENU_b", "-");
  LoadPlugins();
  ASSERT_EQ(PluginsMenu()->Count(), 2);
  TMenuItem* a = PluginsMenu()->Items(0);
  ASSERT_EQ(a->Count(), 2) << "a trailing line break gives a last, empty caption";
  EXPECT_EQ(a->Items(1)->Caption(), "");
  TMenuItem* b = PluginsMenu()->Items(1);
  EXPECT_EQ(b->Tag(), 1);
  EXPECT_EQ(b->Count(), 0) << "empty sub-menu captions give a plain item";
  ClearCalls();
  b->Click();
  EXPECT_EQ(CallsOf("b"), (Lines{"MenuItem(-1)", "MenuClicked(-1,-1,1,1)"}));
  EXPECT_TRUE(CallsOf("a").empty());
}

TEST_F(PluginMenuTest, ItemsShowByTheirPluginsFlagsAndTheMenuOnlyWithItems) {
  Install("full", "both.plg");
  Install("full", "docs.plg");
  Install("full", "nodocs.plg");
  Install("plain", "plain.plg");
  Install("hooks", "hooks.plg");
  Allow("both.plg\r\ndocs.plg\r\nnodocs.plg\r\nplain.plg\r\nhooks.plg");
  SetPluginVariable("TVP_HANDLERS_both", "3");
  SetPluginVariable("TVP_HANDLERS_docs", "1");
  SetPluginVariable("TVP_HANDLERS_nodocs", "2");
  LoadPlugins();
  ASSERT_EQ(PluginsMenu()->Count(), 4) << "the plug-in without a menu entry point has no item";
  struct Row {
    bool DocsOpen;
    Lines Shown;
  };
  for (const Row& row : {Row{true, {"both-Item", "docs-Item"}}, Row{false, {"both-Item", "nodocs-Item"}}}) {
    SCOPED_TRACE(row.DocsOpen);
    DocsOpen = row.DocsOpen;
    frmMain->Find<TMenuItem>("mnuPlugins")->Click();
    Lines shown;
    for (int i = 0; i < PluginsMenu()->Count(); ++i)
      if (PluginsMenu()->Items(i)->Visible()) shown.push_back(PluginsMenu()->Items(i)->Caption());
    EXPECT_EQ(shown, row.Shown);
  }
  FreePlugins();

  Allow("hooks.plg");
  LoadPlugins();
  EXPECT_FALSE(PluginsMenu()->Visible()) << "no plug-in with a menu item: no Plugins menu";
}

TEST_F(PluginMenuTest, AFaultInAMenuCallIsReportedOnceAndTheProgramGoesOn) {
  Install("faulting", "faulting.plg");
  Allow("faulting.plg");
  LoadPlugins();
  ASSERT_EQ(PluginsMenu()->Count(), 1);
  frmMain->StatusBar->SetPanelText(3, "vorher");
  ExpectFaultReport("faulting.plg", "TVP_MenuItem");
  PluginsMenu()->Items(0)->Click();
  PluginsMenu()->Items(0)->Click();  // reported once only
  EXPECT_EQ(CallsOf("faulting").back(), "MenuItem(-1)");
  EXPECT_EQ(frmMain->StatusBar->PanelText(3), "vorher");
  EXPECT_EQ(frmMain->Find<TMenuItem>("mnuFileNewDoc")->Enabled(), true);
}

TEST_F(PluginMenuTest, ClicksOfItemsOutsideThePluginsMenuOrWithForeignTagsDoNothing) {
  Install("full", "full.plg");
  Allow("full.plg");
  LoadPlugins();
  ClearCalls();
  PluginsMenuItemClicked(frmMain->Find<TMenuItem>("mnuFileNewDoc"));
  PluginsMenuItemClicked(nullptr);
  PluginsMenu()->Items(0)->SetTag(7);
  PluginsMenu()->Items(0)->Click();
  PluginsMenu()->Items(0)->SetTag(-1);
  PluginsMenu()->Items(0)->Click();
  EXPECT_TRUE(CallsOf("full").empty());
}
