// Menu bar and pop-up menus: clicks by command id, opening handlers, dynamic items, keys.
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/KeyState.h"
#include "toolkit/Menus.h"
#include "toolkit/Panels.h"

namespace {
struct MenuWindow {
  TForm form{nullptr, {"Menü", 400, 300}};
  TMainMenu* menu = form.Make<TMainMenu>("mnuMain");
  TMenuItem* file = Item("mnuFile", "&Datei", menu->Items());
  TMenuItem* save = Item("mnuFileSave", "&Speichern", file);
  TMenuItem* close = Item("mnuFileClose", "S&chließen", file);

  MenuWindow() { form.SetMenu(menu); }
  TMenuItem* Item(const std::string& Name, const std::string& Caption, TMenuItem* Parent) {
    auto* item = form.Make<TMenuItem>(Name);
    item->SetCaption(Caption);
    Parent->Add(item);
    return item;
  }
};

std::string NativeText(HMENU Menu, int Pos) {
  char text[128] = {};
  GetMenuStringA(Menu, Pos, text, sizeof text, MF_BYPOSITION);
  return text;
}

UINT NativeState(HMENU Menu, int Pos) {
  MENUITEMINFOA mii = {};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_STATE;
  GetMenuItemInfoA(Menu, Pos, TRUE, &mii);
  return mii.fState;
}

// Picks the first item of the open pop-up menu with the keyboard.
void CALLBACK ChooseFirstItem(HWND, UINT, UINT_PTR Id, DWORD) {
  KillTimer(nullptr, Id);
  HWND menu = FindWindowA("#32768", nullptr);
  PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
}

// Closes whatever menu is open once its loop runs.
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR Id, DWORD) {
  KillTimer(nullptr, Id);
  EndMenu();
}
}  // namespace

TEST(Menus, CommandIdReachesOnClickAndOpeningASubmenuClicksItsItem) {
  MenuWindow w;
  std::vector<std::string> log;
  w.file->OnClick = [&](TObject*) { log.push_back("file"); };
  w.save->OnClick = [&](TObject* Sender) { log.push_back(static_cast<TMenuItem*>(Sender)->Name()); };
  ASSERT_EQ(GetMenu(w.form.Handle()), w.menu->Handle());
  SendMessageA(w.form.Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(w.file->Handle()), 0);
  SendMessageA(w.form.Handle(), WM_COMMAND, MAKEWPARAM(w.save->Command(), 0), 0);
  EXPECT_EQ(log, (std::vector<std::string>{"file", "mnuFileSave"}));
  EXPECT_EQ(w.form.FindComponent("mnufilesave"), w.save);
  EXPECT_EQ(w.save->Parent(), w.file);
  EXPECT_EQ(w.close->MenuIndex(), 1);
}

TEST(Menus, NativeMenuFollowsCaptionShortCutStateAndVisibility) {
  MenuWindow w;
  w.save->SetShortCut(ShortCut('S', TShiftState{TShift::ssCtrl}));
  w.close->SetEnabled(false);
  HMENU sub = w.file->Handle();
  ASSERT_EQ(GetMenuItemCount(sub), 2);
  EXPECT_EQ(NativeText(sub, 0), "&Speichern\t" + ShortCutToText(w.save->ShortCut()));
  EXPECT_TRUE(NativeState(sub, 1) & MFS_GRAYED);
  EXPECT_EQ(GetSubMenu(w.menu->Handle(), 0), sub);
  w.save->SetVisible(false);
  ASSERT_EQ(GetMenuItemCount(sub), 1);
  EXPECT_EQ(NativeText(sub, 0), "S&chließen");
  w.save->SetEnabled(false);  // while hidden: shown again, it comes back grey
  w.close->SetEnabled(true);
  EXPECT_FALSE(NativeState(sub, 0) & MFS_GRAYED);
  w.save->SetVisible(true);
  EXPECT_TRUE(NativeState(sub, 0) & MFS_GRAYED);
  EXPECT_EQ(NativeText(sub, 1), "S&chließen");
  w.save->SetEnabled(true);
  w.save->SetCaption("-");
  EXPECT_EQ(GetMenuItemCount(sub), 2);
  MENUITEMINFOA mii = {sizeof mii, MIIM_FTYPE};
  GetMenuItemInfoA(sub, 0, TRUE, &mii);
  EXPECT_TRUE(mii.fType & MFT_SEPARATOR);
}

TEST(Menus, RadioItemsOfOneGroupAreCheckedOneAtATime) {
  MenuWindow w;
  TMenuItem* formats[3];
  for (int i = 0; i < 3; ++i) {
    formats[i] = w.Item("mnuFormat" + std::to_string(i), "F" + std::to_string(i), w.file);
    formats[i]->SetRadioItem(true);
    formats[i]->SetGroupIndex(i < 2 ? 1 : 2);
  }
  formats[0]->SetChecked(true);
  formats[2]->SetChecked(true);
  formats[1]->SetChecked(true);
  EXPECT_FALSE(formats[0]->Checked());
  EXPECT_TRUE(formats[1]->Checked());
  EXPECT_TRUE(formats[2]->Checked());  // another group
  EXPECT_FALSE(NativeState(w.file->Handle(), 2) & MFS_CHECKED);
  EXPECT_TRUE(NativeState(w.file->Handle(), 3) & MFS_CHECKED);
  w.save->SetChecked(true);  // not a radio item: the group is left alone
  EXPECT_TRUE(formats[1]->Checked());
}

TEST(Menus, DynamicItemsAreAddedAndFreedAfterTheFixedOnes) {
  MenuWindow w;
  std::vector<UINT> ids;
  for (int round = 0; round < 2; ++round) {
    while (w.file->Count() > 2) w.file->Delete(w.file->Count() - 1);
    ids.clear();
    for (int i = 0; i < 3; ++i) {
      auto item = std::make_unique<TMenuItem>(nullptr);
      item->SetCaption("C:\\Datei" + std::to_string(i) + ".txt");
      item->SetTag(i);
      ids.push_back(w.file->Add(std::move(item))->Command());
    }
    ASSERT_EQ(w.file->Count(), 5);
    EXPECT_EQ(GetMenuItemCount(w.file->Handle()), 5);
  }
  int clicked = -1;
  TMenuItem* last = w.file->Items(4);
  last->OnClick = [&](TObject* Sender) { clicked = static_cast<TMenuItem*>(Sender)->Tag(); };
  SendMessageA(w.form.Handle(), WM_COMMAND, MAKEWPARAM(ids[2], 0), 0);
  EXPECT_EQ(clicked, 2);
  w.file->Delete(1);  // an item of the form: freed through its owner
  EXPECT_EQ(w.form.FindComponent("mnuFileClose"), nullptr);
  w.file->Delete(7);   // out of range: nothing
  w.file->Clear();
  EXPECT_EQ(w.file->Count(), 0);
  EXPECT_EQ(TMenuItem::FindByCommand(ids[0]), nullptr);
  EXPECT_EQ(GetSubMenu(w.menu->Handle(), 0), nullptr);  // a plain item again
}

TEST(Menus, CommandIdsAreReusedSoTheyNeverRunOut) {
  for (int i = 0; i < 0x10000; ++i) {
    TMenuItem item(nullptr);
    ASSERT_NE(item.Command(), 0u) << i;
    ASSERT_GE(item.Command(), 0x100u);
  }
}

TEST(Menus, ShortCutRunsTheOpeningHandlersFirstAndNotADisabledItem) {
  MenuWindow w;
  TShortCut ctrlS = ShortCut('S', TShiftState{TShift::ssCtrl});
  w.save->SetShortCut(ctrlS);
  bool modified = true;
  std::vector<std::string> log;
  w.file->OnClick = [&](TObject*) {
    log.push_back("file");
    w.save->SetEnabled(modified);
  };
  w.save->OnClick = [&](TObject*) { log.push_back("save"); };
  EXPECT_TRUE(w.menu->IsShortCut(ctrlS));
  modified = false;
  EXPECT_FALSE(w.menu->IsShortCut(ctrlS));
  EXPECT_FALSE(w.menu->IsShortCut(ShortCut('S', {})));
  EXPECT_EQ(log, (std::vector<std::string>{"file", "save", "file"}));

  // Typed into the window: the message loop hands the key to the menu bar.
  modified = true;
  log.clear();
  SetKeyStateOverride([](int vk) { return vk == VK_CONTROL; });
  PostMessageA(w.form.Handle(), WM_KEYDOWN, 'S', 0);
  Application().ProcessMessages();
  SetKeyStateOverride(nullptr);
  EXPECT_EQ(log, (std::vector<std::string>{"file", "save"}));
}

TEST(PopupMenu, RightClickOnAControlOpensItsMenuOnce) {
  TForm form(nullptr, {"Kontext", 300, 200});
  auto* panel = form.Make<TPanel>("pnl", &form);
  auto* popup = form.Make<TPopupMenu>("pmnuTabs");
  auto* item = form.Make<TMenuItem>("pmnuTabsClose");
  item->SetCaption("Schließen");
  popup->Items()->Add(item);
  panel->SetPopupMenu(popup);
  form.Show();
  int popups = 0;
  popup->OnPopup = [&](TObject*) {
    ++popups;
    SetTimer(nullptr, 0, 30, CloseMenu);
  };
  SendMessageA(panel->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(popups, 1);
  EXPECT_EQ(popup->PopupComponent(), panel);
  SendMessageA(panel->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(panel->Handle()), -1);
  EXPECT_EQ(popups, 2);
}

TEST(PopupMenu, ChosenItemIsClickedAfterTheMenuClosed) {
  TPopupMenu popup(nullptr);
  auto* item = popup.Items()->Add(std::make_unique<TMenuItem>(nullptr));
  item->SetCaption("Kopieren");
  bool menuOpenAtClick = true;
  item->OnClick = [&](TObject*) { menuOpenAtClick = FindWindowA("#32768", nullptr) && IsWindowVisible(FindWindowA("#32768", nullptr)); };
  popup.OnPopup = [&](TObject*) { SetTimer(nullptr, 0, 30, ChooseFirstItem); };
  popup.Popup(50, 50);
  EXPECT_FALSE(menuOpenAtClick);
  EXPECT_EQ(popup.PopupComponent(), nullptr);
}

TEST(PopupMenu, AControlForgetsAMenuFreedBeforeIt) {
  TForm form(nullptr, {"Kontext", 300, 200});
  auto* panel = form.Make<TPanel>("pnl", &form);
  auto popup = std::make_unique<TPopupMenu>(nullptr);
  panel->SetPopupMenu(popup.get());
  popup.reset();
  EXPECT_EQ(panel->PopupMenu(), nullptr);
  SendMessageA(panel->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(5, 5));  // no crash, no menu
}

TEST(Menus, DefaultBreakAndAutoCheckReachTheNativeItem) {
  MenuWindow w;
  HMENU sub = w.file->Handle();
  auto type = [&](int Pos) {
    MENUITEMINFOA mii = {sizeof mii, MIIM_FTYPE};
    GetMenuItemInfoA(sub, Pos, TRUE, &mii);
    return mii.fType & (MFT_MENUBREAK | MFT_MENUBARBREAK);
  };
  w.save->SetDefault(true);
  EXPECT_TRUE(NativeState(sub, 0) & MFS_DEFAULT);
  EXPECT_FALSE(NativeState(sub, 1) & MFS_DEFAULT);
  w.save->SetDefault(false);
  EXPECT_FALSE(NativeState(sub, 0) & MFS_DEFAULT);
  for (auto [value, native] : {std::pair{TMenuBreak::mbBreak, UINT(MFT_MENUBREAK)},
                               std::pair{TMenuBreak::mbBarBreak, UINT(MFT_MENUBARBREAK)},
                               std::pair{TMenuBreak::mbNone, 0u}}) {
    w.close->SetBreak(value);
    EXPECT_EQ(type(1), native);
    EXPECT_EQ(type(0), 0u);
  }
  // A click toggles the mark before the handler sees it, by command and by key alike.
  std::vector<bool> seen;
  w.close->SetAutoCheck(true);
  w.close->SetShortCut(ShortCut('W', TShiftState{TShift::ssCtrl}));
  w.close->OnClick = [&](TObject*) { seen.push_back(w.close->Checked()); };
  SendMessageA(w.form.Handle(), WM_COMMAND, MAKEWPARAM(w.close->Command(), 0), 0);
  w.menu->IsShortCut(w.close->ShortCut());
  EXPECT_EQ(seen, (std::vector<bool>{true, false}));
  EXPECT_FALSE(NativeState(sub, 1) & MFS_CHECKED);
  w.save->Click();
  EXPECT_FALSE(w.save->Checked()) << "only where asked for";
}

TEST(Menus, AutomaticHotKeysAndLineReductionShapeTheSubItemsShown) {
  using Texts = std::vector<std::string>;
  struct Case {
    TMenuAutoFlag fileHotkeys, fileLines, rootHotkeys;
    Texts shown;
  };
  const Texts captions = {"-", "Drucken", "&Datei", "-", "-", "Dateien", "Beenden", "&&Info", "42", "-"};
  const Texts asGiven = {"-", "Drucken", "&Datei", "-", "-", "Dateien", "Beenden", "&&Info", "42", "-"};
  for (const Case& c : {
           Case{TMenuAutoFlag::maParent, TMenuAutoFlag::maParent, TMenuAutoFlag::maParent, asGiven},
           Case{TMenuAutoFlag::maAutomatic, TMenuAutoFlag::maManual, TMenuAutoFlag::maParent,
                {"-", "D&rucken", "&Datei", "-", "-", "D&ateien", "&Beenden", "&&&Info", "&42", "-"}},
           Case{TMenuAutoFlag::maManual, TMenuAutoFlag::maAutomatic, TMenuAutoFlag::maParent,
                {"Drucken", "&Datei", "-", "Dateien", "Beenden", "&&Info", "42"}},
           // The file menu follows its parent, the bar.
           Case{TMenuAutoFlag::maParent, TMenuAutoFlag::maParent, TMenuAutoFlag::maAutomatic,
                {"-", "D&rucken", "&Datei", "-", "-", "D&ateien", "&Beenden", "&&&Info", "&42", "-"}},
       }) {
    MenuWindow w;
    w.file->Clear();
    for (const std::string& caption : captions) w.Item("", caption, w.file);
    w.file->SetAutoHotkeys(c.fileHotkeys);
    w.file->SetAutoLineReduction(c.fileLines);
    w.menu->Items()->SetAutoHotkeys(c.rootHotkeys);
    Texts shown;
    for (int i = 0; i < GetMenuItemCount(w.file->Handle()); ++i) {
      MENUITEMINFOA mii = {sizeof mii, MIIM_FTYPE};
      GetMenuItemInfoA(w.file->Handle(), i, TRUE, &mii);
      shown.push_back(mii.fType & MFT_SEPARATOR ? "-" : NativeText(w.file->Handle(), i));
    }
    EXPECT_EQ(shown, c.shown);
    EXPECT_EQ(w.file->Items(1)->Caption(), "Drucken") << "the caption itself stays";
  }
  // A hidden item between two lines leaves one line.
  MenuWindow w;
  w.file->SetAutoLineReduction(TMenuAutoFlag::maAutomatic);
  w.Item("", "-", w.file);
  w.Item("", "Versteckt", w.file)->SetVisible(false);
  w.Item("", "-", w.file);
  w.Item("", "Ende", w.file);
  EXPECT_EQ(GetMenuItemCount(w.file->Handle()), 4);
}

// Changes reach the native menu one entry at a time: after each, it must show what a menu
// built at once from the same items shows.
TEST(Menus, AMenuChangedStepByStepShowsWhatOneBuiltAtOnceShows) {
  auto snapshot = [](HMENU Menu) {
    std::vector<std::string> entries;
    for (int i = 0; i < GetMenuItemCount(Menu); ++i) {
      MENUITEMINFOA mii = {sizeof mii, MIIM_FTYPE | MIIM_STATE};
      GetMenuItemInfoA(Menu, i, TRUE, &mii);
      entries.push_back(std::to_string(mii.fType) + "/" + std::to_string(mii.fState) + "/" +
                        NativeText(Menu, i));
    }
    return entries;
  };
  auto builtAtOnce = [&](const TMenuItem& Model) {
    MenuWindow fresh;
    fresh.file->Clear();
    for (int i = 0; i < Model.Count(); ++i) {
      const TMenuItem& from = *Model.Items(i);
      auto* item = fresh.form.Make<TMenuItem>("");
      item->SetCaption(from.Caption());
      item->SetShortCut(from.ShortCut());
      item->SetVisible(from.Visible());
      item->SetEnabled(from.Enabled());
      item->SetRadioItem(from.RadioItem());
      item->SetChecked(from.Checked());
      fresh.file->Add(item);
    }
    return snapshot(fresh.file->Handle());
  };
  MenuWindow w;
  w.file->Clear();
  for (const char* caption : {"&Neu", "Ö&ffnen", "-", "&Speichern", "&Drucken", "&Beenden"})
    w.Item("", caption, w.file);
  const std::vector<std::function<void()>> steps = {
      [&] { w.file->Items(1)->SetCaption("Öffnen &..."); },
      [&] { w.file->Items(3)->SetVisible(false); },
      [&] { w.file->Items(4)->SetShortCut(ShortCut('P', TShiftState{TShift::ssCtrl})); },
      [&] { w.file->Insert(1, w.form.Make<TMenuItem>("")); },
      [&] { w.file->Items(1)->SetCaption("&Zuletzt"); },
      [&] { w.file->Items(0)->SetEnabled(false); },
      [&] { w.file->Items(2)->SetCaption("Ö&ffnen"); },
      [&] { w.file->Delete(3); },
      [&] { w.file->Items(2)->SetVisible(true); },
      [&] { w.file->Items(4)->SetRadioItem(true); },
      [&] { w.file->Items(4)->SetChecked(true); },
      [&] { w.file->Items(0)->SetVisible(false); },
      [&] { w.file->Items(0)->SetVisible(true); },
  };
  for (size_t step = 0; step < steps.size(); ++step) {
    steps[step]();
    EXPECT_EQ(snapshot(w.file->Handle()), builtAtOnce(*w.file)) << "after step " << step;
  }
}

// The bar is drawn again with the next paint after an item's state changed, not at once.
TEST(Menus, TheBarShowsAChangedStateAfterTheNextPaint) {
  MenuWindow w;
  TMenuItem* edit = w.Item("mnuEdit", "&Bearbeiten", w.menu->Items());
  w.Item("mnuEditCopy", "&Kopieren", edit);
  ShowWindow(w.form.Handle(), SW_SHOWNOACTIVATE);
  UpdateWindow(w.form.Handle());
  // The pixels of the bar item as the window shows them, without painting anything first.
  auto shown = [&] {
    RECT item = {}, window = {};
    GetMenuItemRect(w.form.Handle(), w.menu->Handle(), 1, &item);
    GetWindowRect(w.form.Handle(), &window);
    OffsetRect(&item, -window.left, -window.top);
    std::vector<COLORREF> pixels;
    HDC dc = GetWindowDC(w.form.Handle());
    for (int y = item.top; y < item.bottom; ++y)
      for (int x = item.left; x < item.right; ++x) pixels.push_back(GetPixel(dc, x, y));
    ReleaseDC(w.form.Handle(), dc);
    return pixels;
  };
  const std::vector<COLORREF> enabled = shown();
  ASSERT_FALSE(enabled.empty());
  edit->SetEnabled(false);
  UpdateWindow(w.form.Handle());
  EXPECT_NE(shown(), enabled);
  edit->SetEnabled(true);
  UpdateWindow(w.form.Handle());
  EXPECT_EQ(shown(), enabled);
}
