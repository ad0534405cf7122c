// Tool buttons and the report-style list, driven as the user would.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <memory>
#include <string>
#include <vector>
#include "support/ProgramControls.h"
#include "support/WideClipboard.h"
#include "toolkit/Application.h"
#include "toolkit/Controls.h"
#include "toolkit/EditListView.h"
#include "toolkit/Form.h"
#include "toolkit/ImageList.h"
#include "toolkit/ListView.h"
#include "toolkit/Menus.h"
#include "toolkit/ToolBar.h"

namespace {
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR Id, DWORD) {
  KillTimer(nullptr, Id);
  EndMenu();
}

void ClickButton(const TToolBar& Bar, const TToolButton& Button) {
  RECT r = {};
  SendMessageA(Bar.Handle(), TB_GETRECT, Button.Command(), reinterpret_cast<LPARAM>(&r));
  LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  SendMessageA(Bar.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(Bar.Handle(), WM_LBUTTONUP, 0, at);
}

struct Bar {
  TForm form{nullptr, {"Werkzeuge", 400, 200}};
  TImageList* images = form.Make<TImageList>("ImgList");
  TToolBar* bar = form.Make<TToolBar>("tbMain", &form);
  TToolButton* save = form.Make<TToolButton>("tbMainFileSave", bar);
  TToolButton* sep = form.Make<TToolButton>("tbSep1", bar, TToolButtonStyle::tbsSeparator);
  TToolButton* wrap = form.Make<TToolButton>("tbMainViewLineBreak", bar, TToolButtonStyle::tbsCheck);
  TToolButton* open = form.Make<TToolButton>("tbMainFileReOpen", bar, TToolButtonStyle::tbsDropDown);
  Bar() {
    bar->SetImages(images);
    form.Show();
  }
};
}  // namespace

TEST(ToolBar, ClicksReachOnClickAndStateRoundTrips) {
  Bar b;
  std::vector<std::string> log;
  for (TToolButton* t : {b.save, b.wrap, b.open})
    t->OnClick = [&](TObject* s) { log.push_back(static_cast<TToolButton*>(s)->Name()); };
  EXPECT_EQ(SendMessageA(b.bar->Handle(), TB_BUTTONCOUNT, 0, 0), 4);
  EXPECT_EQ(b.bar->Buttons(2), b.wrap);
  ClickButton(*b.bar, *b.save);
  ClickButton(*b.bar, *b.wrap);  // a check button toggles
  EXPECT_TRUE(b.wrap->Down());
  ClickButton(*b.bar, *b.wrap);
  EXPECT_FALSE(b.wrap->Down());
  b.save->SetEnabled(false);
  ClickButton(*b.bar, *b.save);  // disabled: no click
  EXPECT_EQ(log, (std::vector<std::string>{"tbMainFileSave", "tbMainViewLineBreak", "tbMainViewLineBreak"}));
  EXPECT_FALSE(SendMessageA(b.bar->Handle(), TB_ISBUTTONENABLED, b.save->Command(), 0));
  b.wrap->SetDown(true);
  EXPECT_TRUE(SendMessageA(b.bar->Handle(), TB_ISBUTTONCHECKED, b.wrap->Command(), 0));
  b.save->SetVisible(false);
  EXPECT_TRUE(SendMessageA(b.bar->Handle(), TB_ISBUTTONHIDDEN, b.save->Command(), 0));
  b.save->SetImageIndex(7);
  TBBUTTONINFOA info = {sizeof info, TBIF_IMAGE};
  SendMessageA(b.bar->Handle(), TB_GETBUTTONINFOA, b.save->Command(), reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.iImage, 7);
  b.form.RemoveComponent(b.sep);  // a freed button leaves the bar
  EXPECT_EQ(b.bar->ButtonCount(), 3);
  EXPECT_EQ(SendMessageA(b.bar->Handle(), TB_BUTTONCOUNT, 0, 0), 3);
  // Setting what a click already set, or what is set, changes nothing; the other way still does.
  b.wrap->SetDown(false);
  ClickButton(*b.bar, *b.wrap);
  b.wrap->SetDown(true);
  EXPECT_TRUE(SendMessageA(b.bar->Handle(), TB_ISBUTTONCHECKED, b.wrap->Command(), 0));
  b.wrap->SetDown(false);
  EXPECT_FALSE(SendMessageA(b.bar->Handle(), TB_ISBUTTONCHECKED, b.wrap->Command(), 0));
  b.save->SetEnabled(true);
  b.save->SetEnabled(true);
  EXPECT_TRUE(SendMessageA(b.bar->Handle(), TB_ISBUTTONENABLED, b.save->Command(), 0));
}

TEST(ToolBar, HintsAnswerTheTooltipAndTheArrowShowsTheDropDownMenu) {
  Bar b;
  b.open->SetHint("Öffnen");
  NMTTDISPINFOA tip = {};
  tip.hdr.hwndFrom = reinterpret_cast<HWND>(SendMessageA(b.bar->Handle(), TB_GETTOOLTIPS, 0, 0));
  ASSERT_NE(tip.hdr.hwndFrom, nullptr);
  tip.hdr.idFrom = b.open->Command();
  tip.hdr.code = TTN_GETDISPINFOA;
  SendMessageA(b.form.Handle(), WM_NOTIFY, tip.hdr.idFrom, reinterpret_cast<LPARAM>(&tip));
  ASSERT_NE(tip.lpszText, nullptr);
  EXPECT_STREQ(tip.lpszText, "Öffnen");

  auto* menu = b.form.Make<TPopupMenu>("pmnuToolbarOpen");
  auto* item = b.form.Make<TMenuItem>("pmnuFile1");
  item->SetCaption("Brief.txt");
  menu->Items()->Add(item);
  int popups = 0;
  menu->OnPopup = [&](TObject*) {
    ++popups;
    SetTimer(nullptr, 0, 30, CloseMenu);
  };
  b.open->SetDropdownMenu(menu);
  NMTOOLBARA drop = {};
  drop.hdr = {b.bar->Handle(), 0, UINT(TBN_DROPDOWN)};
  drop.iItem = b.open->Command();
  EXPECT_EQ(SendMessageA(b.form.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&drop)), TBDDRET_DEFAULT);
  EXPECT_EQ(popups, 1);
  drop.iItem = b.save->Command();  // no menu there
  EXPECT_EQ(SendMessageA(b.form.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&drop)), TBDDRET_NODEFAULT);
}

// What the dialogs' bars do not show: a check button, and buttons that stop being usable.
TEST(ToolBar, TheKeyboardTogglesACheckButtonAndLeavesButtonsThatCannotBePressed) {
  Bar b;
  auto key = [&b](WORD Key) { SendMessageA(b.bar->Handle(), WM_KEYDOWN, Key, 0); };
  auto tabStop = [&b] { return (GetWindowLongA(b.bar->Handle(), GWL_STYLE) & WS_TABSTOP) != 0; };
  b.save->SetVisible(false);
  SetFocus(b.bar->Handle());
  EXPECT_EQ(b.bar->HotButton(), b.wrap) << "past the hidden button and the separator";
  key(VK_SPACE);
  EXPECT_TRUE(b.wrap->Down());
  b.wrap->SetEnabled(false);
  EXPECT_EQ(b.bar->HotButton(), b.open);
  b.open->SetEnabled(false);
  EXPECT_EQ(b.bar->HotButton(), nullptr);
  EXPECT_FALSE(tabStop()) << "nothing to press";
  b.save->SetVisible(true);
  EXPECT_TRUE(tabStop());
  EXPECT_EQ(b.bar->HotButton(), b.save);
}

namespace {
struct List {
  TForm form{nullptr, {"Dateien speichern", 400, 300}};
  TListView* lv = form.Make<TListView>("lvDocs", &form, 10, 10, 360, 200);
  int data[3] = {2, 0, 1};
  List() {
    lv->AddColumn("Titel", 150);
    lv->AddColumn("Dateiname", 200);
    lv->SetCheckBoxes(true);
    lv->SetMultiSelect(true);
    lv->SetRowSelect(true);
    lv->SetSorted(true);
    lv->SetReadOnly(true);
    lv->SetHideSelection(false);
    const char* names[3] = {"c.txt", "A.txt", "b.txt"};
    for (int i = 0; i < 3; ++i) {
      TListItem* row = lv->AddItem(names[i]);
      row->AddSubItem(std::string("C:\\Daten\\") + names[i]);
      row->SetData(&data[i]);
    }
    form.Show();
  }
  std::vector<std::string> Captions() const {
    std::vector<std::string> r;
    for (int i = 0; i < lv->Count(); ++i) {
      char text[64] = {};
      LVITEMA item = {};
      item.pszText = text;
      item.cchTextMax = sizeof text;
      SendMessageA(lv->Handle(), LVM_GETITEMTEXTA, i, reinterpret_cast<LPARAM>(&item));
      EXPECT_EQ(text, lv->Items(i)->Caption());
      r.push_back(text);
    }
    return r;
  }
  // As a click on the row's check box or a Ctrl+click would change it.
  void UserSetsState(int Row, UINT Mask, UINT State) {
    LVITEMA item = {};
    item.stateMask = Mask;
    item.state = State;
    SendMessageA(lv->Handle(), LVM_SETITEMSTATE, Row, reinterpret_cast<LPARAM>(&item));
  }
};
using Names = std::vector<std::string>;
}  // namespace

TEST(ListView, SortedRowsKeepTheirTextsAndData) {
  List l;
  EXPECT_EQ(l.Captions(), (Names{"A.txt", "b.txt", "c.txt"}));
  for (int i = 0; i < 3; ++i) {
    TListItem* row = l.lv->Items(i);
    EXPECT_EQ(*static_cast<int*>(row->Data()), i);
    EXPECT_EQ(row->Index(), i);
    char text[64] = {};
    LVITEMA item = {};
    item.iSubItem = 1;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(l.lv->Handle(), LVM_GETITEMTEXTA, i, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(text, "C:\\Daten\\" + row->Caption());
    EXPECT_EQ(row->SubItem(0), text);
  }
  EXPECT_EQ(l.lv->Items(-1), nullptr);
  EXPECT_EQ(l.lv->Items(3), nullptr);
  EXPECT_EQ(l.lv->Items(0)->SubItem(1), "");
  EXPECT_EQ(l.lv->ColumnCount(), 2);
  EXPECT_EQ(l.lv->ColumnCaption(1), "Dateiname");
  l.lv->SetColumnCaption(1, "Pfad");
  EXPECT_EQ(l.lv->ColumnCaption(1), "Pfad");

  // A renamed row moves to its place with its marks.
  TListItem* c = l.lv->Items(2);
  c->SetChecked(true);
  c->SetSelected(true);
  c->SetCaption("a0.txt");
  EXPECT_EQ(l.Captions(), (Names{"A.txt", "a0.txt", "b.txt"}));
  EXPECT_TRUE(c->Checked());
  EXPECT_TRUE(c->Selected());
  EXPECT_EQ(c->SubItem(0), "C:\\Daten\\c.txt");
  l.lv->Delete(5);  // out of range: nothing
  l.lv->Delete(0);
  EXPECT_EQ(l.Captions(), (Names{"a0.txt", "b.txt"}));
  l.lv->Clear();
  EXPECT_EQ(l.lv->Count(), 0);
  EXPECT_EQ(l.lv->Selected(), nullptr);
}

TEST(ListView, UsersChecksAndSelectionsReadBack) {
  List l;
  std::vector<std::string> log;
  l.lv->OnSelectItem = [&](TObject*, TListItem* Row, bool Selected) {
    log.push_back(Row->Caption() + (Selected ? " +" : " -"));
  };
  l.lv->SelectAll();
  EXPECT_EQ(l.lv->SelCount(), 3);
  l.UserSetsState(1, LVIS_SELECTED, 0);
  l.UserSetsState(2, LVIS_STATEIMAGEMASK, INDEXTOSTATEIMAGEMASK(2));
  std::vector<bool> selected, checked;
  for (int i = 0; i < 3; ++i) {
    selected.push_back(l.lv->Items(i)->Selected());
    checked.push_back(l.lv->Items(i)->Checked());
  }
  EXPECT_EQ(selected, (std::vector<bool>{true, false, true}));
  EXPECT_EQ(checked, (std::vector<bool>{false, false, true}));
  EXPECT_EQ(l.lv->Selected(), l.lv->Items(0));
  EXPECT_EQ(l.lv->SelCount(), 2);
  EXPECT_EQ(log, (Names{"A.txt +", "b.txt +", "c.txt +", "b.txt -"}));

  // One row at a time once multiple selection is off.
  l.lv->SetMultiSelect(false);
  l.UserSetsState(1, LVIS_SELECTED, 0);
  l.lv->SelectAll();
  l.lv->Items(0)->SetSelected(false);
  l.lv->Items(1)->SetSelected(true);
  EXPECT_LE(l.lv->SelCount(), 1);
}

TEST(ListView, DoubleClickAndColumnClickReachTheirEvents) {
  List l;
  int dbl = 0, column = -1;
  l.lv->OnDblClick = [&](TObject*) { ++dbl; };
  l.lv->OnColumnClick = [&](TObject*, int Column) { column = Column; };
  NMHDR hdr = {l.lv->Handle(), 0, UINT(NM_DBLCLK)};
  SendMessageA(l.form.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&hdr));
  NMLISTVIEW nm = {};
  nm.hdr = {l.lv->Handle(), 0, UINT(LVN_COLUMNCLICK)};
  nm.iItem = -1;
  nm.iSubItem = 1;
  SendMessageA(l.form.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
  EXPECT_EQ(dbl, 1);
  EXPECT_EQ(column, 1);
}

TEST(ListView, SortingLaterOrdersExistingRowsStablyWithoutSelectionEvents) {
  TForm form(nullptr, {"Liste", 300, 200});
  auto* lv = form.Make<TListView>("lv", &form, 0, 0, 280, 150);
  lv->SetMultiSelect(true);
  lv->AddColumn("Titel", 100);
  for (const char* name : {"d", "b", "c", "a", "B", "e"}) lv->AddItem(name);
  lv->Items(1)->SetSelected(true);
  int events = 0;
  lv->OnSelectItem = [&](TObject*, TListItem*, bool) { ++events; };
  lv->SetSorted(true);
  std::vector<std::string> order;
  for (int i = 0; i < lv->Count(); ++i) order.push_back(lv->Items(i)->Caption());
  EXPECT_EQ(order, (Names{"a", "b", "B", "c", "d", "e"}));
  EXPECT_EQ(lv->Selected()->Caption(), "b");
  EXPECT_EQ(lv->SelCount(), 1);
  EXPECT_EQ(events, 0);
}

TEST(ListView, RowImagesComeFromTheSharedSmallImagesAndMoveWithTheirRows) {
  List l;
  auto images = std::make_unique<TImageList>(nullptr);
  ASSERT_TRUE(images->Handle());
  l.lv->SetSmallImages(images.get());
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(l.lv->Handle(), LVM_GETIMAGELIST, LVSIL_SMALL, 0)),
            images->Handle());
  TListItem* c = l.lv->Items(2);
  c->SetImageIndex(4);
  EXPECT_EQ(l.lv->Items(0)->ImageIndex(), -1) << "a row without an image shows none";
  c->SetCaption("0.txt");  // moves to the top of the sorted rows
  ASSERT_EQ(c->Index(), 0);
  EXPECT_EQ(c->ImageIndex(), 4);
  EXPECT_EQ(l.lv->Items(1)->ImageIndex(), -1);
  c->SetImageIndex(-1);
  EXPECT_EQ(c->ImageIndex(), -1);

  // The list view leaves the list alone when it goes, and forgets a list freed first.
  {
    TForm other(nullptr, {"Zweite", 200, 100});
    auto* lv = other.Make<TListView>("lv", &other, 0, 0, 100, 50);
    lv->SetSmallImages(images.get());
  }
  EXPECT_EQ(ImageList_GetImageCount(images->Handle()), 0) << "the handle is still valid";
  images.reset();
  EXPECT_EQ(l.lv->SmallImages(), nullptr);
  EXPECT_EQ(SendMessageA(l.lv->Handle(), LVM_GETIMAGELIST, LVSIL_SMALL, 0), 0);
}

TEST(ListView, AutoSizeColumnsShareWhatTheOtherColumnsLeaveOfTheClientWidth) {
  struct Case {
    std::vector<bool> autoSize;
    int rows;  // enough rows bring a vertical scroll bar, which narrows the client area
  };
  for (const Case& c : {Case{{false, true, false}, 0}, Case{{true, false, true}, 0},
                        Case{{false, true, false}, 40}}) {
    TForm form(nullptr, {"Spalten", 400, 300});
    auto* lv = form.Make<TListView>("lv", &form, 0, 0, 301, 150);
    for (size_t i = 0; i < c.autoSize.size(); ++i) lv->AddColumn("S" + std::to_string(i), 50, c.autoSize[i]);
    for (int i = 0; i < c.rows; ++i) lv->AddItem("Zeile " + std::to_string(i));
    // The re-lay step the forms take after filling the list.
    lv->SetWidth(lv->Width() - 1);
    lv->SetWidth(lv->Width() + 1);
    const int client = lv->ClientRect().right;
    int total = 0;
    std::vector<int> autoWidths;
    for (int i = 0; i < lv->ColumnCount(); ++i) {
      total += lv->ColumnWidth(i);
      if (c.autoSize[i]) autoWidths.push_back(lv->ColumnWidth(i));
      else EXPECT_EQ(lv->ColumnWidth(i), 50) << i;
    }
    EXPECT_EQ(total, client) << c.rows << " rows";
    EXPECT_LE(autoWidths.front() - autoWidths.back(), 1) << "shared evenly";
    lv->SetWidth(lv->Width() + 40);  // any resize lays them out again
    total = 0;
    for (int i = 0; i < lv->ColumnCount(); ++i) total += lv->ColumnWidth(i);
    EXPECT_EQ(total, lv->ClientRect().right);
  }
}

// Typed or pasted in place, a character the code page lacks is read as "?", never as its look-alike, in a
// list that checks each edit and in a plain one.
TEST(ListView, ACaptionTypedInPlaceKeepsWhatTheCodePageHoldsAndQuestionMarksTheRest) {
  testsupport::TProgramControls controls;
  ASSERT_TRUE(controls.Active());
  TForm form(nullptr, {"Umbenennen", 400, 200});
  auto* checked = form.Make<TEditListView>("checked", &form, 0, 0, 190, 150);
  auto* plain = form.Make<TListView>("plain", &form, 200, 0, 190, 150);
  plain->SetReadOnly(false);
  std::string edited = "<not edited>";
  checked->OnEdited = [&](TListItem*, std::string& Text) {
    edited = Text;
    return true;
  };
  form.Show();
  for (TListView* lv : {static_cast<TListView*>(checked), plain}) {
    SCOPED_TRACE(lv->Name());
    lv->AddColumn("Name", 150);
    lv->AddItem("alt");
    if (lv == checked) checked->EditCaption(checked->Items(0));
    else SendMessageW(lv->Handle(), LVM_EDITLABELW, 0, 0);  // as a click on the selected row
    const HWND edit = reinterpret_cast<HWND>(SendMessageA(lv->Handle(), LVM_GETEDITCONTROL, 0, 0));
    ASSERT_TRUE(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    for (wchar_t c : std::wstring(L"\u03A9 \u00E4")) PostMessageW(edit, WM_CHAR, c, 1);
    Application().ProcessMessages();
    testsupport::PutOnClipboard(edit, L"\u20AC\u03A9");
    SendMessageW(edit, WM_PASTE, 0, 0);
    SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(lv->Items(0)->Caption(), "? \xE4\x80?");
    wchar_t shown[32] = {};
    LVITEMW item = {};
    item.pszText = shown;
    item.cchTextMax = 32;
    SendMessageW(lv->Handle(), LVM_GETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(std::wstring(shown), L"? \u00E4\u20AC?");
  }
  EXPECT_EQ(edited, "? \xE4\x80?");
}

// A list entered by Tab shows at once where the keyboard is: on the selected row, else on the
// first, which it marks without selecting; the arrows go on from there. F2 opens the selected
// row of a list that edits in place, as in every Windows list.
TEST(ListView, TabShowsTheKeyboardRowAndF2RenamesTheSelectedRow) {
  struct Case {
    int selected;  // before the Tab; -1 for none
    int marked;
    int afterDown;
  } cases[] = {{-1, 0, 1}, {1, 1, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.selected);
    TForm form(nullptr, {"Liste", 300, 220, WS_OVERLAPPEDWINDOW, 0, true});
    auto* button = form.Make<TButton>("btn", &form, 0, 0, 80, 24);
    auto* lv = form.Make<TEditListView>("lv", &form, 0, 30, 280, 150);
    lv->AddColumn("Name", 200);
    for (const char* row : {"a", "b", "c", "d"}) lv->AddItem(row);
    if (c.selected >= 0) lv->Items(c.selected)->SetSelected(true);
    int selections = 0;
    lv->OnSelectItem = [&](TObject*, TListItem*, bool) { ++selections; };
    form.Show();
    SetForegroundWindow(form.Handle());
    auto press = [](WORD Key) {
      PostMessageW(GetFocus(), WM_KEYDOWN, Key, 1 | (MapVirtualKeyW(Key, 0) << 16));
      Application().ProcessMessages();
    };
    auto editing = [lv] { return SendMessageW(lv->Handle(), LVM_GETEDITCONTROL, 0, 0) != 0; };
    button->SetFocus();
    press(VK_TAB);
    ASSERT_EQ(GetFocus(), lv->Handle());
    EXPECT_EQ(SendMessageW(lv->Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), c.marked);
    EXPECT_EQ(lv->SelCount(), c.selected >= 0 ? 1 : 0);
    EXPECT_EQ(selections, 0);
    press(VK_F2);
    EXPECT_EQ(editing(), c.selected >= 0) << "F2 renames only a selected row";
    if (editing()) press(VK_ESCAPE);
    press(VK_DOWN);
    ASSERT_NE(lv->Selected(), nullptr);
    EXPECT_EQ(lv->Selected()->Index(), c.afterDown);
    press(VK_F2);
    EXPECT_TRUE(editing());
    if (editing()) press(VK_ESCAPE);
  }
}
