// The window list on a real main window: rows sorted by title and tied to their tabs, the
// actions' enabled states, and each action on the documents its rows name.
#include <gtest/gtest.h>
#include <set>
#include <string>
#include "dialogs/formWindowList.h"
#include "documents/fHlpHK.h"
#include "support/EditTestWindow.h"
#include "support/ScreenCapture.h"
#include "toolkit/Application.h"
#include "toolkit/Controls.h"
#include "toolkit/KeyState.h"
#include "toolkit/ListView.h"
#include "toolkit/PageControl.h"

namespace {

using edittest::EditWindowTest;

class WindowListTest : public EditWindowTest {
protected:
  void SetUp() override {
    EditWindowTest::SetUp();
    Settings.AppDir = folder.Path();
    InitHotKeys();
    CloseDocument();  // the untitled document of the fixture
  }
  void TearDown() override {
    SetKeyStateOverride(nullptr);
    EditWindowTest::TearDown();
  }
  // Opens the four documents in tab order c, a, d, b: a modified, d locked.
  void OpenFour() {
    for (const char* name : {"c.txt", "a.txt", "d.txt", "b.txt"}) {
      folder.Write(name, name);
      OpenFile(folder.File(name));
    }
    Frame("a.txt")->DocInfo.Modified = true;
    Frame("d.txt")->seEdit->SetReadOnly(true);
  }
  static TfraEdit* Frame(const std::string& Title) {
    for (int i = 0; i < frmMain->pcEdit->PageCount(); ++i)
      if (GetFrame(i)->DocInfo.Title == Title) return GetFrame(i);
    return nullptr;
  }
  static std::vector<std::string> Titles(const TfrmWindowList& List) {
    std::vector<std::string> titles;
    for (int r = 0; r < List.lvWin->Count(); ++r) titles.push_back(List.lvWin->Items(r)->Caption());
    return titles;
  }
  static std::vector<std::string> OpenTitles() {
    std::vector<std::string> titles;
    for (int i = 0; i < frmMain->pcEdit->PageCount(); ++i)
      titles.push_back(GetFrame(i)->DocInfo.Title);
    return titles;
  }
  static void SelectRows(TfrmWindowList& List, std::initializer_list<const char*> Titles) {
    for (int r = 0; r < List.lvWin->Count(); ++r) List.lvWin->Items(r)->SetSelected(false);
    for (const char* title : Titles)
      for (int r = 0; r < List.lvWin->Count(); ++r)
        if (List.lvWin->Items(r)->Caption() == title) List.lvWin->Items(r)->SetSelected(true);
  }
  static void Key(TfrmWindowList& List, WORD Vk, bool Ctrl) {
    SetKeyStateOverride([Ctrl](int Key) { return Ctrl && Key == VK_CONTROL; });
    SendMessageA(List.lvWin->Handle(), WM_KEYDOWN, Vk, 0);
    SetKeyStateOverride(nullptr);
  }
};

const char* const Actions[] = {"pmnuWinClose",      "pmnuWinCloseAll",  "pmnuWinSave",
                               "pmnuWinSaveAll",    "pmnuWinLockUnlock", "pmnuWinSelectAll",
                               "pmnuWinInvertSel"};

}  // namespace

TEST_F(WindowListTest, RowsAreSortedByTitleAndCarryTheirTab) {
  OpenFour();
  frmMain->pcEdit->SetActivePageIndex(2);  // d.txt
  TfrmWindowList list(nullptr);
  ASSERT_EQ(Titles(list), (std::vector<std::string>{"a.txt", "b.txt", "c.txt", "d.txt"}));
  struct Row {
    const char* Modified;
    const char* Index;
  };
  const Row expected[] = {{"Ja", "1"}, {"Nein", "3"}, {"Nein", "0"}, {"Nein", "2"}};
  for (int r = 0; r < 4; ++r) {
    TListItem* row = list.lvWin->Items(r);
    EXPECT_EQ(row->SubItem(0), folder.File(row->Caption()));
    EXPECT_EQ(row->SubItem(1), expected[r].Modified) << row->Caption();
    EXPECT_EQ(row->SubItem(2), expected[r].Index) << row->Caption();
  }
  EXPECT_EQ(list.lvWin->SelCount(), 1);
  EXPECT_EQ(list.lvWin->Selected()->Caption(), "d.txt") << "the active document";

  // After the tabs are reordered a new list follows the new order.
  frmMain->pcEdit->MovePage(frmMain->pcEdit->Pages(0), 3);  // c.txt to the end
  TfrmWindowList moved(nullptr);
  EXPECT_EQ(moved.lvWin->Items(2)->SubItem(2), "3");
  SelectRows(moved, {"c.txt"});
  EXPECT_EQ(GetActiveFrame(), Frame("c.txt")) << "selecting a row activates its tab";
}

TEST_F(WindowListTest, RowsShowTheirTabsImagesAndTheFileNameColumnFillsTheList) {
  OpenFour();
  UpdateTabImage(Frame("a.txt"));
  UpdateTabImage(Frame("d.txt"));
  TfrmWindowList list(nullptr);
  list.FormShow();
  EXPECT_EQ(list.lvWin->SmallImages(), frmMain->ImgList);
  std::set<int> images;
  for (int r = 0; r < list.lvWin->Count(); ++r) {
    TListItem* row = list.lvWin->Items(r);
    const int tab = std::stoi(row->SubItem(2));
    EXPECT_EQ(row->ImageIndex(), frmMain->pcEdit->Pages(tab)->ImageIndex()) << row->Caption();
    images.insert(row->ImageIndex());
  }
  EXPECT_EQ(images.size(), 3u) << "plain, modified and locked documents look different";
  int columns = 0;
  for (int c = 0; c < list.lvWin->ColumnCount(); ++c) columns += list.lvWin->ColumnWidth(c);
  EXPECT_EQ(columns, list.lvWin->ClientRect().right);
  EXPECT_EQ(list.lvWin->ColumnWidth(0), 165);
}

TEST_F(WindowListTest, MovedTheWindowSnapsToTheScreenEdgesAndADraggedEdgeSnapsAlone) {
  TfrmWindowList list(nullptr);
  RECT work = {};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  RECT size = {};
  GetWindowRect(list.Handle(), &size);
  const int w = size.right - size.left, h = size.bottom - size.top;
  const RECT start = {work.left + 100, work.top + 100, work.left + 100 + w, work.top + 100 + h};
  struct Change {
    const char* what;
    RECT to;       // where the user's move or drag puts it, from start
    RECT snapped;  // where it is then
  } changes[] = {
      {"moved near the top left corner",
       {work.left + 9, work.top + 5, work.left + 9 + w, work.top + 5 + h},
       {work.left, work.top, work.left + w, work.top + h}},
      {"moved a little past the left edge",
       {work.left - 7, work.top + 40, work.left - 7 + w, work.top + 40 + h},
       {work.left, work.top + 40, work.left + w, work.top + 40 + h}},
      {"moved just out of reach",
       {work.left + 10, work.top + 10, work.left + 10 + w, work.top + 10 + h},
       {work.left + 10, work.top + 10, work.left + 10 + w, work.top + 10 + h}},
      {"moved near the bottom right corner",
       {work.right - w - 3, work.bottom - h + 9, work.right - 3, work.bottom + 9},
       {work.right - w, work.bottom - h, work.right, work.bottom}},
      {"left edge dragged near the screen's",
       {work.left + 6, start.top, start.right, start.bottom},
       {work.left, start.top, start.right, start.bottom}},
      {"top edge dragged near the screen's",
       {start.left, work.top + 4, start.right, start.bottom},
       {start.left, work.top, start.right, start.bottom}},
      {"right edge dragged near the screen's",
       {start.left, start.top, work.right - 5, start.bottom},
       {start.left, start.top, work.right, start.bottom}},
      {"bottom edge dragged past the screen's",
       {start.left, start.top, start.right, work.bottom + 8},
       {start.left, start.top, start.right, work.bottom}},
      {"top left corner dragged near the screen's",
       {work.left + 3, work.top - 2, start.right, start.bottom},
       {work.left, work.top, start.right, start.bottom}},
      {"left edge dragged out of reach",
       {work.left + 30, start.top, start.right, start.bottom},
       {work.left + 30, start.top, start.right, start.bottom}},
  };
  for (const Change& c : changes) {
    SCOPED_TRACE(c.what);
    SetWindowPos(list.Handle(), nullptr, start.left, start.top, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    // As the system applies a move or a drag of the frame.
    SetWindowPos(list.Handle(), nullptr, c.to.left, c.to.top, c.to.right - c.to.left,
                 c.to.bottom - c.to.top, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT now = {};
    GetWindowRect(list.Handle(), &now);
    EXPECT_TRUE(EqualRect(&now, &c.snapped))
        << now.left << "," << now.top << " " << now.right << "," << now.bottom;
  }
}

TEST_F(WindowListTest, ActionsFollowRowsAndSelection) {
  {
    TfrmWindowList empty(nullptr);
    EXPECT_EQ(empty.lvWin->Count(), 0);
    for (const char* name : Actions) {
      EXPECT_FALSE(empty.MenuItem(name)->Enabled()) << name;
      EXPECT_FALSE(empty.Button(name)->Enabled()) << name;
    }
  }
  OpenFour();
  TfrmWindowList list(nullptr);
  SelectRows(list, {});
  list.UpdateWindowListActions();
  for (const char* name : Actions) {
    const bool needsSelection = std::string(name) == "pmnuWinClose" ||
                                std::string(name) == "pmnuWinSave" ||
                                std::string(name) == "pmnuWinLockUnlock" ||
                                std::string(name) == "pmnuWinInvertSel";
    EXPECT_EQ(list.MenuItem(name)->Enabled(), !needsSelection) << name;
    EXPECT_EQ(list.Button(name)->Enabled(), !needsSelection) << name;
  }
  list.MenuItem("pmnuWinSelectAll")->Click();
  EXPECT_EQ(list.lvWin->SelCount(), 4);
  EXPECT_TRUE(list.MenuItem("pmnuWinClose")->Enabled());
  SelectRows(list, {"a.txt"});
  list.MenuItem("pmnuWinInvertSel")->Click();
  EXPECT_EQ(list.lvWin->SelCount(), 3);
  EXPECT_FALSE(list.lvWin->Items(0)->Selected());
}

TEST_F(WindowListTest, LockingTwoRowsSwapsTheirStates) {
  OpenFour();
  TfrmWindowList list(nullptr);
  SelectRows(list, {"c.txt", "d.txt"});
  list.MenuItem("pmnuWinLockUnlock")->Click();
  EXPECT_TRUE(Frame("c.txt")->seEdit->ReadOnly());
  EXPECT_FALSE(Frame("d.txt")->seEdit->ReadOnly());
  EXPECT_FALSE(Frame("a.txt")->seEdit->ReadOnly());
  EXPECT_EQ(list.lvWin->Count(), 4) << "refilled";
}

TEST_F(WindowListTest, ClosingRowsClosesExactlyTheirDocumentsAfterReordering) {
  OpenFour();
  frmMain->pcEdit->MovePage(frmMain->pcEdit->Pages(3), 0);  // b, c, a, d
  TfrmWindowList list(nullptr);
  // The first and the third tab.
  SelectRows(list, {"b.txt", "a.txt"});
  testsupport::QueueAnswer(IDNO);  // a.txt is modified: do not save, close
  list.MenuItem("pmnuWinClose")->Click();
  EXPECT_EQ(OpenTitles(), (std::vector<std::string>{"c.txt", "d.txt"}));
  EXPECT_EQ(Titles(list), (std::vector<std::string>{"c.txt", "d.txt"}));
  EXPECT_EQ(folder.Read("a.txt"), "a.txt") << "not saved";

  list.MenuItem("pmnuWinCloseAll")->Click();
  EXPECT_TRUE(OpenTitles().empty());
  EXPECT_FALSE(list.MenuItem("pmnuWinCloseAll")->Enabled());
}

TEST_F(WindowListTest, CancelledCloseKeepsThatDocumentOnly) {
  OpenFour();
  TfrmWindowList list(nullptr);
  SelectRows(list, {"a.txt", "b.txt"});
  testsupport::QueueAnswer(IDCANCEL);
  list.MenuItem("pmnuWinClose")->Click();
  EXPECT_EQ(OpenTitles(), (std::vector<std::string>{"c.txt", "a.txt", "d.txt"}));
}

TEST_F(WindowListTest, SaveStopsAtACancelledSaveAs) {
  folder.Write("x.txt", "x");
  OpenFile(folder.File("x.txt"));
  GetActiveEditor()->SetText("changed");
  GetActiveFrame()->DocInfo.Modified = true;
  OpenFile("");  // "Unbenannt..." sorts before "x.txt"
  GetActiveEditor()->SetText("new");
  GetActiveFrame()->DocInfo.Modified = true;
  TfrmWindowList list(nullptr);
  ASSERT_EQ(list.lvWin->Items(1)->Caption(), "x.txt");
  testsupport::QueueAnswer(ModalAnswer{IDCANCEL});  // the Save As dialog
  list.MenuItem("pmnuWinSaveAll")->Click();
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);
  EXPECT_EQ(folder.Read("x.txt"), "x") << "the later document is not saved";
  EXPECT_TRUE(Frame("x.txt")->DocInfo.Modified);

  SelectRows(list, {"x.txt"});
  list.MenuItem("pmnuWinSave")->Click();
  EXPECT_EQ(folder.Read("x.txt"), "changed");
  EXPECT_EQ(list.lvWin->Items(1)->SubItem(1), "Nein") << "refilled";
}

TEST_F(WindowListTest, KeysCloseActivateAndRunTheActions) {
  OpenFour();
  testsupport::QueueFormAnswer([this](TForm& Form) {
    auto& list = dynamic_cast<TfrmWindowList&>(Form);
    list.FormShow();
    EXPECT_EQ(list.MenuItem("pmnuWinLockUnlock")->ShortCut(), ShortCut('L', {TShift::ssCtrl}));
    SelectRows(list, {"a.txt"});
    Key(list, 'L', true);
    EXPECT_TRUE(Frame("a.txt")->seEdit->ReadOnly()) << "Ctrl+L locks";
    EXPECT_EQ(list.ModalResult(), mrNone);
    SelectRows(list, {"c.txt"});
    frmMain->pcEdit->SetActivePageIndex(3);
    Key(list, VK_RETURN, false);
    EXPECT_EQ(GetActiveFrame(), Frame("c.txt"));
    EXPECT_EQ(list.ModalResult(), mrCancel) << "Enter closes";
    list.SetModalResult(mrNone);
    Key(list, VK_ESCAPE, false);
    EXPECT_EQ(list.ModalResult(), mrCancel) << "Escape closes";
    return list.ModalResult();
  });
  Click("mnuViewWindowList");
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);
}

// A dragged edge moves the button; the window then paints in the order the system picks, and
// what shows must be the button whole, as it paints when asked alone.
TEST_F(WindowListTest, AfterTheWindowGrowsTheMovedButtonShowsWhole) {
  TfrmWindowList list(nullptr);
  SetWindowPos(list.Handle(), nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(list.Handle(), SW_SHOWNA);
  RedrawWindow(list.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  RECT r = {};
  GetWindowRect(list.Handle(), &r);
  SetWindowPos(list.Handle(), nullptr, 0, 0, r.right - r.left + 37, r.bottom - r.top + 23,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Application().ProcessMessages();
  const testsupport::TScreenCapture shown(list.btnClose->Handle(), false);
  const testsupport::TScreenCapture whole(list.btnClose->Handle());
  int differing = 0;
  for (int y = 0; y < whole.Height(); ++y)
    for (int x = 0; x < whole.Width(); ++x) differing += shown.At(x, y) != whole.At(x, y);
  EXPECT_EQ(differing, 0);
}
