// Tab pages made at run time: order, activation, removal, user clicks and dragging.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <string>
#include <vector>
#include "toolkit/Application.h"
#include "toolkit/Controls.h"
#include "toolkit/Form.h"
#include "toolkit/Frame.h"
#include "toolkit/PageControl.h"
#include "toolkit/Panels.h"
#include "toolkit/ToolBar.h"

namespace {
struct Pages {
  TForm form{nullptr, {"Seiten", 500, 300}};
  TPageControl* pc = form.Make<TPageControl>("pcEdit", &form);
  std::vector<std::string> log;

  Pages() {
    pc->SetBounds(0, 0, 480, 250);
    form.Show();
  }
  TTabSheet* Add(int Number, int Index = -1) {
    TTabSheet* sheet = pc->AddPage("tabEdit" + std::to_string(Number), Index);
    sheet->SetCaption("Datei" + std::to_string(Number));
    sheet->SetTag(Number);
    sheet->OnShow = [this](TObject* s) { log.push_back("show " + std::to_string(static_cast<TTabSheet*>(s)->Tag())); };
    return sheet;
  }
  // Page tags in tab order, checked against the tab strip's own texts.
  std::vector<int> Order() const {
    std::vector<int> tags;
    EXPECT_EQ(SendMessageA(pc->Handle(), TCM_GETITEMCOUNT, 0, 0), pc->PageCount());
    for (int i = 0; i < pc->PageCount(); ++i) {
      char text[64] = {};
      TCITEMA item = {};
      item.mask = TCIF_TEXT;
      item.pszText = text;
      item.cchTextMax = sizeof text;
      SendMessageA(pc->Handle(), TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
      EXPECT_EQ(text, pc->Pages(i)->Caption());
      tags.push_back(pc->Pages(i)->Tag());
    }
    EXPECT_EQ(SendMessageA(pc->Handle(), TCM_GETCURSEL, 0, 0), pc->ActivePageIndex());
    return tags;
  }
  POINT TabCentre(int Index) const {
    RECT r = pc->TabRect(Index);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
};

using Tags = std::vector<int>;
}  // namespace

TEST(PageControl, AddsInsertsAndReordersPagesKeepingTheActiveOne) {
  Pages p;
  TTabSheet* one = p.Add(1);
  p.Add(2);
  EXPECT_EQ(p.pc->ActivePage(), one);  // the first page became active by itself
  TTabSheet* three = p.Add(3, 0);
  EXPECT_EQ(p.Order(), (Tags{3, 1, 2}));
  EXPECT_EQ(p.pc->FindComponent("tabedit3"), three);
  p.pc->SetActivePage(three);
  EXPECT_EQ(p.log, (std::vector<std::string>{"show 3"}));
  p.pc->SetActivePage(three);  // already active: no second show
  EXPECT_EQ(p.log.size(), 1u);
  three->SetPageIndex(2);
  EXPECT_EQ(p.Order(), (Tags{1, 2, 3}));
  EXPECT_EQ(three->PageIndex(), 2);
  EXPECT_EQ(p.pc->ActivePage(), three);
  three->SetPageIndex(3);  // past the end: nothing
  three->SetPageIndex(-1);
  EXPECT_EQ(p.Order(), (Tags{1, 2, 3}));
  EXPECT_EQ(p.pc->Pages(3), nullptr);
  EXPECT_EQ(p.pc->Pages(-1), nullptr);
  three->SetCaption("Umbenannt");
  p.Order();  // the tab shows the new caption
}

TEST(PageControl, RemovingTheActivePageActivatesTheNextOrTheFirst) {
  Pages p;
  for (int n = 1; n <= 4; ++n) p.Add(n);
  p.pc->SetActivePageIndex(1);
  p.log.clear();
  p.pc->RemovePage(p.pc->ActivePage());  // the middle: its right neighbour follows
  EXPECT_EQ(p.Order(), (Tags{1, 3, 4}));
  EXPECT_EQ(p.pc->ActivePage()->Tag(), 3);
  p.pc->SetActivePageIndex(2);
  p.pc->RemovePage(p.pc->ActivePage());  // the last: the first follows
  EXPECT_EQ(p.pc->ActivePage()->Tag(), 1);
  EXPECT_EQ(p.log, (std::vector<std::string>{"show 3", "show 4", "show 1"}));
  p.pc->RemovePage(p.pc->Pages(1));  // not active: the active stays
  EXPECT_EQ(p.pc->ActivePage()->Tag(), 1);
  EXPECT_EQ(p.pc->FindComponent("tabEdit3"), nullptr);
  p.pc->RemovePage(p.pc->Pages(0));
  EXPECT_EQ(p.pc->PageCount(), 0);
  EXPECT_EQ(p.pc->ActivePage(), nullptr);
  EXPECT_EQ(p.pc->ActivePageIndex(), -1);
  EXPECT_EQ(p.Order(), Tags{});
}

TEST(PageControl, FrameOnAPageFillsItAndFollowsResizes) {
  Pages p;
  TTabSheet* sheet = p.Add(1);
  auto* frame = sheet->Make<TFrame>("fraEdit", sheet);
  frame->SetAlign(alClient);
  auto fills = [&] {
    RECT page = sheet->ClientRect();
    EXPECT_GT(page.right, 100);
    EXPECT_EQ(frame->Left(), 0);
    EXPECT_EQ(frame->Top(), 0);
    EXPECT_EQ(frame->Width(), page.right);
    EXPECT_EQ(frame->Height(), page.bottom);
  };
  fills();
  p.pc->SetBounds(0, 0, 300, 200);
  fills();
  EXPECT_EQ(sheet->FindComponent("fraEdit"), frame);
  EXPECT_EQ(frame->Parent(), sheet);
  p.pc->RemovePage(sheet);  // frees the frame with it
  EXPECT_EQ(p.pc->PageCount(), 0);
}

TEST(PageControl, UserClickShowsThePageThenFiresOnChangeAndMouseEvents) {
  Pages p;
  for (int n = 1; n <= 3; ++n) p.Add(n);
  std::vector<std::string>& log = p.log;
  p.pc->OnChange = [&](TObject*) { log.push_back("change " + std::to_string(p.pc->ActivePageIndex())); };
  p.pc->OnMouseDown = [&](TObject*, int Button, TShiftState, int X, int Y) {
    log.push_back("down " + std::to_string(Button) + " at tab " + std::to_string(p.pc->IndexOfTabAt(X, Y)));
  };
  p.pc->OnMouseUp = [&](TObject*, int Button, TShiftState Shift, int, int) {
    log.push_back("up " + std::to_string(Button) + (Shift.Contains(TShift::ssCtrl) ? " ctrl" : ""));
  };
  POINT c = p.TabCentre(2);
  SendMessageA(p.pc->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(c.x, c.y));
  SendMessageA(p.pc->Handle(), WM_LBUTTONUP, MK_CONTROL, MAKELPARAM(c.x, c.y));
  SendMessageA(p.pc->Handle(), WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(c.x, c.y));
  EXPECT_EQ(log, (std::vector<std::string>{"show 3", "change 2", "down 1 at tab 2", "up 1 ctrl", "down 4 at tab 2"}));
  RECT page = p.pc->ClientRect();
  EXPECT_EQ(p.pc->IndexOfTabAt(page.right / 2, page.bottom - 5), -1);
  EXPECT_EQ(p.pc->IndexOfTabAt(-5, -5), -1);
}

TEST(PageControl, DraggedTabDropsOnTheStripAndAShortPressStaysAClick) {
  Pages p;
  for (int n = 1; n <= 3; ++n) p.Add(n);
  int ups = 0;
  p.pc->OnMouseDown = [&](TObject*, int Button, TShiftState, int, int) {
    if (Button == VK_LBUTTON) p.pc->BeginDrag();
  };
  p.pc->OnMouseUp = [&](TObject*, int, TShiftState, int, int) { ++ups; };
  p.pc->OnDragOver = [&](TObject*, TObject* Source, int, int, bool& Accept) { Accept = Source == p.pc; };
  p.pc->OnDragDrop = [&](TObject*, TObject*, int X, int Y) {
    int to = p.pc->IndexOfTabAt(X, Y);
    if (to >= 0) p.pc->ActivePage()->SetPageIndex(to);
  };
  auto send = [&](UINT Msg, POINT At) { SendMessageA(p.pc->Handle(), Msg, 0, MAKELPARAM(At.x, At.y)); };
  POINT from = p.TabCentre(0), to = p.TabCentre(2);
  POINT screen = from;
  ClientToScreen(p.pc->Handle(), &screen);
  SetCursorPos(screen.x, screen.y);

  send(WM_LBUTTONDOWN, from);
  send(WM_LBUTTONUP, from);  // never moved: a click
  EXPECT_EQ(ups, 1);
  EXPECT_FALSE(p.pc->Dragging());

  send(WM_LBUTTONDOWN, from);
  EXPECT_TRUE(p.pc->Dragging());
  send(WM_MOUSEMOVE, to);
  send(WM_LBUTTONUP, to);
  EXPECT_EQ(ups, 1);  // the release ended the drag
  EXPECT_EQ(p.Order(), (Tags{2, 3, 1}));
  EXPECT_EQ(p.pc->ActivePage()->Tag(), 1);

  send(WM_LBUTTONDOWN, p.TabCentre(2));
  send(WM_RBUTTONDOWN, p.TabCentre(2));  // another button ends the drag
  EXPECT_FALSE(p.pc->Dragging());
}

TEST(PageControl, ControlsNestedInPagesAndPanelsHearTheirNotifications) {
  Pages p;
  TTabSheet* sheet = p.Add(1);
  auto* panel = p.form.Make<TPanel>("pnlSearch", sheet);
  panel->SetAlign(alClient);
  auto* button = p.form.Make<TButton>("btnSearch", panel, 5, 5, 80, 24);
  auto* edit = p.form.Make<TEdit>("txtSearch", panel, 5, 40, 120, 22);
  int clicks = 0, changes = 0;
  button->OnClick = [&](TObject*) { ++clicks; };
  edit->OnChange = [&](TObject*) { ++changes; };
  SendMessageA(button->Handle(), BM_CLICK, 0, 0);
  edit->SetText("Suchtext");
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(changes, 1);
}

// The pages behind the first have no size until they are shown.
TEST(PageControl, AToolBarOnAPageShownLaterKeepsItsHeight) {
  TForm form{nullptr, {"Dialog", 500, 300}};
  TPageControl* pc = form.Make<TPageControl>("pc", &form);
  pc->SetAlign(alClient);
  pc->AddPage("one");
  TTabSheet* second = pc->AddPage("two");
  auto* bar = form.Make<TToolBar>("bar", second);
  const int barHeight = bar->Height();
  form.Make<TPanel>("list", second)->SetAlign(alClient);
  form.Show();
  Application().ProcessMessages();
  pc->SetActivePage(second);
  Application().ProcessMessages();
  EXPECT_EQ(bar->Height(), barHeight);
  EXPECT_EQ(bar->Width(), second->Width());
}
