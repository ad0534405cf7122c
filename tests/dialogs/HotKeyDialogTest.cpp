// The hot-key dialog on a real main window: key capture from key messages, the conflict
// question, the buttons, and OK and Cancel through the Extras command.
#include <gtest/gtest.h>
#include <algorithm>
#include <set>
#include <string>
#include <vector>
#include "dialogs/formHotKeys.h"
#include "documents/fHlpHK.h"
#include "documents/fHotKeys.h"
#include "rtl/SysUtils.h"
#include "support/EditTestWindow.h"
#include "support/StoreMessages.h"
#include "support/WhenShown.h"
#include "toolkit/Application.h"
#include "toolkit/Controls.h"
#include "toolkit/HintWindow.h"
#include "toolkit/KeyCaptureEdit.h"
#include "toolkit/KeyState.h"
#include "toolkit/ListView.h"
#include "toolkit/ToolBar.h"
#include "toolkit/TreeView.h"

namespace {

using edittest::EditWindowTest;

int IndexOf(const std::string& Name) {
  for (size_t i = 0; i < HotKeyList.size(); ++i)
    if (HotKeyList[i].Name == Name) return static_cast<int>(i);
  ADD_FAILURE() << "no hot key " << Name;
  return -1;
}

// A key as the keyboard sends it to the focused control, handled by the dialog's loop.
void press(WORD Key, bool Ctrl = false) {
  SetKeyStateOverride([Ctrl](int Vk) { return Ctrl && Vk == VK_CONTROL; });
  PostMessageA(GetFocus(), WM_KEYDOWN, Key, 1 | (MapVirtualKeyA(Key, 0) << 16));
  Application().ProcessMessages();
  SetKeyStateOverride(nullptr);
}

class HotKeyDialogTest : public EditWindowTest {
protected:
  void SetUp() override {
    EditWindowTest::SetUp();
    Settings.AppDir = folder.Path();
    InitHotKeys();
  }
  void TearDown() override {
    SetKeyStateOverride(nullptr);
    EditWindowTest::TearDown();
    InitHotKeys();
  }

  // Shows the group of the entry in the tree and selects the entry's row.
  static void SelectEntry(TfrmHotKeys& Dialog, const std::string& Name) {
    const int index = IndexOf(Name);
    ASSERT_GE(index, 0);
    std::string path = HotKeyList[index].Caption;
    path.erase(path.rfind(HotKeyCaptionSeparator));
    TTreeNode* node = nullptr;
    for (int i = 0; i < Dialog.tvPath->Count() && !node; ++i)
      node = Find(Dialog.tvPath->Items(i), path);
    ASSERT_NE(node, nullptr) << "no group for " << Name;
    Dialog.tvPath->SetSelected(node);
    for (int r = 0; r < Dialog.lvItems->Count(); ++r)
      if (Dialog.lvItems->Items(r)->SubItem(1) == std::to_string(index))
        Dialog.lvItems->Items(r)->SetSelected(true);
    ASSERT_EQ(Dialog.SelectedIndex(), index) << Name;
  }
  static TTreeNode* Find(TTreeNode* Node, const std::string& Path) {
    if (TfrmHotKeys::GetNodePath(Node) == Path) return Node;
    for (int i = 0; i < Node->Count(); ++i)
      if (TTreeNode* found = Find(Node->Item(i), Path)) return found;
    return nullptr;
  }
  // A key pressed and released in the capture field with the modifiers held meanwhile.
  static void Press(TfrmHotKeys& Dialog, WORD Key, std::set<int> Held, bool ReleaseModifiers) {
    SetKeyStateOverride([Held](int Vk) { return Held.count(Vk) > 0; });
    const bool alt = Held.count(VK_MENU) > 0;
    HWND field = Dialog.txtHotKeyGen->Handle();
    SendMessageA(field, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, Key, 0);
    if (!alt) SendMessageA(field, WM_CHAR, Key, 0);
    if (ReleaseModifiers) SetKeyStateOverride([](int) { return false; });
    SendMessageA(field, alt ? WM_SYSKEYUP : WM_KEYUP, Key, 0);
  }
  static void AnswerConflict(int Result, const std::string& Other) {
    testsupport::QueueAnswer(ModalAnswer{Result}, [Other](const ModalQuestion& q) {
      EXPECT_EQ(q.caption, "Shortcut bereits belegt");
      EXPECT_NE(q.text.find(Other), std::string::npos) << q.text;
      EXPECT_TRUE(q.flags & MB_DEFBUTTON2) << "No is the default";
    });
  }
};

}  // namespace

TEST_F(HotKeyDialogTest, KeyMessagesCaptureOnlyAllowedKeys) {
  TfrmHotKeys dialog(nullptr);
  dialog.FormShow();
  SelectEntry(dialog, "frmMain_mnuFileSave");
  EXPECT_EQ(SendMessageA(dialog.txtHotKeyGen->Handle(), WM_GETDLGCODE, VK_TAB, 0) &
                DLGC_WANTALLKEYS,
            DLGC_WANTALLKEYS)
      << "Tab, Enter and Escape reach the field, not the dialog";
  struct Row {
    const char* What;
    WORD Key;
    std::set<int> Held;
    const char* Captured;
    const char* Text;
  };
  const Row rows[] = {
      {"Ctrl alone", VK_CONTROL, {VK_CONTROL}, "", ""},
      {"Shift+A", 'A', {VK_SHIFT}, "", ""},
      {"A alone", 'A', {}, "", ""},
      {"Ctrl+Shift+A", 'A', {VK_SHIFT, VK_CONTROL}, "SC|65", "Shift + Ctrl + A"},
      {"F5 alone", VK_F5, {}, "|116", "F5"},
      {"Shift+F5", VK_F5, {VK_SHIFT}, "S|116", "Shift + F5"},
      {"Alt+X", 'X', {VK_MENU}, "A|88", "Alt + X"},
      {"Enter", VK_RETURN, {}, "|13", "Enter"},
      {"Tab", VK_TAB, {}, "|9", "Tab"},
      {"Pause", VK_PAUSE, {}, "", ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.What);
    Press(dialog, r.Key, r.Held, r.Key == VK_CONTROL);
    EXPECT_EQ(dialog.CapturedKey(), r.Captured);
    EXPECT_EQ(dialog.txtHotKeyGen->Text(), r.Text);
    EXPECT_EQ(dialog.btnHotKeyAssign->Enabled(), *r.Captured != '\0');
    EXPECT_EQ(dialog.ModalResult(), mrNone) << "the dialog stays open";
  }
  // Holding Ctrl shows it until released; the release leaves nothing.
  SetKeyStateOverride([](int Vk) { return Vk == VK_CONTROL; });
  SendMessageA(dialog.txtHotKeyGen->Handle(), WM_KEYDOWN, VK_CONTROL, 0);
  EXPECT_EQ(dialog.txtHotKeyGen->Text(), "Ctrl + ");
  SendMessageA(dialog.txtHotKeyGen->Handle(), WM_KEYUP, VK_CONTROL, 0);
  EXPECT_EQ(dialog.txtHotKeyGen->Text(), "");
  EXPECT_FALSE(dialog.btnHotKeyAssign->Enabled());
}

TEST_F(HotKeyDialogTest, TreeListsGroupsAndEachEntryShowsItsOwnDefault) {
  TfrmHotKeys dialog(nullptr);
  dialog.FormShow();
  ASSERT_GT(dialog.tvPath->Count(), 0);
  EXPECT_EQ(dialog.tvPath->Selected(), dialog.tvPath->Items(0));
  EXPECT_FALSE(dialog.btnHotKeyRemove->Enabled()) << "no entry selected yet";
  // Two tab-change entries share the caption "Nach links wechseln" but not their keys.
  SelectEntry(dialog, "frmMain_KeyDownChangeTabBack");
  EXPECT_EQ(dialog.txtHotKeyDef->Text(), HotKeyToText("SC|9"));
  SelectEntry(dialog, "frmMain_KeyDownChangeTabLeft");
  EXPECT_EQ(dialog.txtHotKeyDef->Text(), HotKeyToText("A|37"));
  EXPECT_EQ(dialog.txtHotKeyAct->Text(), HotKeyToText("A|37"));
  // A group lists only the entries directly in it.
  for (int r = 0; r < dialog.lvItems->Count(); ++r)
    EXPECT_EQ(dialog.lvItems->Items(r)->Caption().find(HotKeyCaptionSeparator),
              std::string::npos);
}

TEST_F(HotKeyDialogTest, RowsShowTheirImagesTheEntryColumnFillsTheListAndTheKeyIsBold) {
  TfrmHotKeys dialog(nullptr);
  dialog.FormShow();
  SelectEntry(dialog, "frmMain_mnuFileSave");
  TListView& list = *dialog.lvItems;
  ASSERT_GE(list.Count(), 3);
  EXPECT_EQ(list.SmallImages(), frmMain->ImgList);
  auto images = [&list] {
    std::vector<int> shown;
    for (int r = 0; r < list.Count(); ++r) shown.push_back(list.Items(r)->ImageIndex());
    return shown;
  };
  // As the user moves the selection, each row shows the selected image only while selected.
  for (int pick : {2, 0, list.Count() - 1}) {
    list.Items(pick)->SetSelected(true);
    std::vector<int> expected(list.Count(), 122);
    expected[pick] = 124;
    EXPECT_EQ(images(), expected) << "row " << pick;
  }
  // The entry column takes the width that the key and index columns leave.
  EXPECT_EQ(list.ColumnWidth(0) + list.ColumnWidth(1) + list.ColumnWidth(2), list.ClientRect().right);
  EXPECT_EQ(list.ColumnWidth(1), 150);

  auto weight = [](const TWinControl& Field) {
    LOGFONTA font = {};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(Field.Handle(), WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfWeight;
  };
  EXPECT_EQ(weight(*dialog.txtHotKeyAct), FW_BOLD);
  EXPECT_LT(weight(*dialog.txtHotKeyDef), FW_BOLD);
}

TEST_F(HotKeyDialogTest, ConflictsAreAskedOnlyInsideTheSameRootGroup) {
  TfrmHotKeys dialog(nullptr);
  dialog.FormShow();
  const int open = IndexOf("frmMain_mnuFileOpen");
  const int save = IndexOf("frmMain_mnuFileSave");
  const std::string openKey = HotKeyList[open].Current;
  const std::string saveKey = HotKeyList[save].Current;
  ASSERT_EQ(openKey, "C|79");

  SelectEntry(dialog, "frmMain_mnuFileSave");
  Press(dialog, 'O', {VK_CONTROL}, false);
  AnswerConflict(IDNO, "Datei");
  dialog.btnHotKeyAssign->Click();
  EXPECT_EQ(HotKeyList[save].Current, saveKey) << "No keeps the old key";

  Press(dialog, 'O', {VK_CONTROL}, false);
  AnswerConflict(IDYES, "Datei");
  dialog.btnHotKeyAssign->Click();
  EXPECT_EQ(HotKeyList[save].Current, "C|79");
  EXPECT_EQ(HotKeyList[open].Current, "C|79") << "the other entry keeps its key";
  EXPECT_EQ(dialog.txtHotKeyAct->Text(), HotKeyToText("C|79"));
  EXPECT_EQ(dialog.CapturedKey(), "") << "assigning clears the capture";

  // An editor command may use a key of the main menu without a question.
  for (const THotKeyRec& e : HotKeyList) {
    if (e.Name.rfind("Edit_", 0) == 0) {
      ASSERT_NE(e.Current, "C|79") << e.Name;
    }
  }
  SelectEntry(dialog, "Edit_ecUp");
  Press(dialog, 'O', {VK_CONTROL}, false);
  dialog.btnHotKeyAssign->Click();
  EXPECT_EQ(HotKeyList[IndexOf("Edit_ecUp")].Current, "C|79");
  EXPECT_EQ(testsupport::AskedQuestions().size(), 2u);
}

TEST_F(HotKeyDialogTest, DefaultAndRemoveButtons) {
  TfrmHotKeys dialog(nullptr);
  dialog.FormShow();
  const int open = IndexOf("frmMain_mnuFileOpen");
  SelectEntry(dialog, "frmMain_mnuFileOpen");
  dialog.btnHotKeyRemove->Click();
  EXPECT_EQ(HotKeyList[open].Current, "");
  EXPECT_EQ(dialog.txtHotKeyAct->Text(), "(keiner)");
  dialog.btnHotKeySetDefault->Click();
  EXPECT_EQ(HotKeyList[open].Current, "C|79") << "its own key back, no question";

  // An entry without a default gets "no key" unasked.
  auto none = std::find_if(HotKeyList.begin(), HotKeyList.end(), [](const THotKeyRec& e) {
    return e.Default == "|" && e.Name.rfind("frmMain_mnu", 0) == 0;
  });
  ASSERT_NE(none, HotKeyList.end());
  const std::string name = none->Name;
  SelectEntry(dialog, name);
  none->Current = "C|79";
  dialog.btnHotKeySetDefault->Click();
  EXPECT_EQ(HotKeyList[IndexOf(name)].Current, "|");
  EXPECT_EQ(dialog.txtHotKeyDef->Text(), "(keiner)");
}

TEST_F(HotKeyDialogTest, OkAppliesToMenuAndEveryEditorAndSurvivesTheNextStart) {
  OpenFile("");
  TCodeEdit* second = GetActiveEditor();
  ASSERT_NE(second, edit);
  for (const THotKeyRec& e : HotKeyList) ASSERT_NE(e.Current, "SC|65") << e.Name;
  testsupport::QueueFormAnswer([](TForm& Form) {
    auto& dialog = dynamic_cast<TfrmHotKeys&>(Form);
    dialog.FormShow();
    SelectEntry(dialog, "frmMain_mnuFileSave");
    Press(dialog, 'A', {VK_SHIFT, VK_CONTROL}, false);
    dialog.btnHotKeyAssign->Click();
    SelectEntry(dialog, "Edit_ecUp");
    Press(dialog, 'A', {VK_SHIFT, VK_CONTROL}, false);
    dialog.btnHotKeyAssign->Click();
    SelectEntry(dialog, "frmMain_mnuFileOpen");
    dialog.btnHotKeyRemove->Click();
    dialog.btnOk->Click();
    return dialog.ModalResult();
  });
  Click("mnuExtrasHotKeySetup");
  const TShortCut shiftCtrlA = ShortCut('A', {TShift::ssShift, TShift::ssCtrl});
  EXPECT_EQ(Item("mnuFileSave")->ShortCut(), shiftCtrlA);
  EXPECT_EQ(Item("mnuFileOpen")->ShortCut(), 0);
  for (TCodeEdit* editor : {edit, second}) {
    void* data = nullptr;
    EXPECT_EQ(editor->TranslateKeyCode('A', {TShift::ssShift, TShift::ssCtrl}, data), ecUp);
  }
  const std::string saved = folder.Read("HotKeys.rud");
  EXPECT_NE(saved.find("frmMain_mnuFileOpen\x01\r\n"), std::string::npos) << "an empty key";
  EXPECT_NE(saved.find("frmMain_mnuFileSave\x01SC|65\r\n"), std::string::npos);

  InitHotKeys();  // as at the next start
  EXPECT_EQ(GetHotKey("frmMain_mnuFileSave"), shiftCtrlA);
  EXPECT_EQ(GetHotKey("Edit_ecUp"), shiftCtrlA);
  EXPECT_EQ(GetHotKey("frmMain_mnuFileOpen"), 0);
}

TEST_F(HotKeyDialogTest, CancelRestoresTheSavedKeys) {
  const TShortCut before = Item("mnuFileSave")->ShortCut();
  testsupport::QueueFormAnswer([](TForm& Form) {
    auto& dialog = dynamic_cast<TfrmHotKeys&>(Form);
    dialog.FormShow();
    SelectEntry(dialog, "frmMain_mnuFileSave");
    dialog.btnHotKeyRemove->Click();
    return static_cast<int>(mrCancel);
  });
  Click("mnuExtrasHotKeySetup");
  EXPECT_EQ(HotKeyList[IndexOf("frmMain_mnuFileSave")].Current,
            HotKeyList[IndexOf("frmMain_mnuFileSave")].Default);
  EXPECT_EQ(Item("mnuFileSave")->ShortCut(), before);
  EXPECT_FALSE(FileExists(folder.File("HotKeys.rud")));
}

TEST_F(HotKeyDialogTest, UnwritableHotKeyFileIsReportedAndTheKeysStillApply) {
  CreateDirectoryA(folder.File("HotKeys.rud").c_str(), nullptr);  // a folder in its place
  testsupport::QueueFormAnswer([](TForm& Form) {
    auto& dialog = dynamic_cast<TfrmHotKeys&>(Form);
    dialog.FormShow();
    SelectEntry(dialog, "frmMain_mnuFileOpen");
    dialog.btnHotKeyRemove->Click();
    testsupport::QueueAnswer(ModalAnswer{IDOK}, [](const ModalQuestion& q) {
      EXPECT_EQ(q.caption, "Datei speichern");
      EXPECT_NE(q.text.find("HotKeys.rud"), std::string::npos);
    });
    dialog.btnOk->Click();
    return dialog.ModalResult();
  });
  Click("mnuExtrasHotKeySetup");
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);
  EXPECT_EQ(Item("mnuFileOpen")->ShortCut(), 0);
  RemoveDirectoryA(folder.File("HotKeys.rud").c_str());
}

// A hot-key file another program holds while the dialog reads it leaves the defaults in the
// dialog: OK applies them but does not write them over the user's keys, and says so.
TEST_F(HotKeyDialogTest, OkAfterAHotKeyFileThatCouldNotBeReadLeavesItAsItWas) {
  const std::string file = folder.File("HotKeys.rud");
  folder.Write("HotKeys.rud", "frmMain_mnuFileOpen\x01SC|65\r\n");
  testsupport::HeldFile held(file);
  testsupport::ExpectStoreUnreadable(file);
  testsupport::QueueFormAnswer([&](TForm& Form) {
    auto& dialog = dynamic_cast<TfrmHotKeys&>(Form);
    dialog.FormShow();
    EXPECT_EQ(HotKeyList[IndexOf("frmMain_mnuFileOpen")].Current, "C|79") << "the default";
    held.Release();
    testsupport::ExpectStoreNotSaved(file);
    dialog.btnOk->Click();
    return dialog.ModalResult();
  });
  Click("mnuExtrasHotKeySetup");
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);
  EXPECT_EQ(folder.Read("HotKeys.rud"), "frmMain_mnuFileOpen\x01SC|65\r\n");
  InitHotKeys();  // read now, the user's key is back
  EXPECT_EQ(GetHotKey("frmMain_mnuFileOpen"), ShortCut('A', {TShift::ssShift, TShift::ssCtrl}));
}

namespace {
TfrmHotKeys* loopDialog = nullptr;
void CALLBACK EndLoop(HWND, UINT, UINT_PTR Id, DWORD) {
  KillTimer(nullptr, Id);
  if (loopDialog && loopDialog->ModalResult() == mrNone) loopDialog->SetModalResult(mrAbort);
}
}  // namespace

// Keys queued for the dialog pass its own loop: Enter, Escape and Alt reach the field instead
// of pressing Ok, cancelling or opening the system menu.
TEST_F(HotKeyDialogTest, DialogKeysReachTheFieldInTheModalLoop) {
  TfrmHotKeys dialog(nullptr);
  dialog.FormShow();
  SelectEntry(dialog, "frmMain_mnuFileSave");
  struct Row {
    WORD Key;
    bool Alt;
    const char* Captured;
  };
  const Row rows[] = {{VK_RETURN, false, "|13"}, {VK_ESCAPE, false, "|27"},
                      {'X', true, "A|88"},       {VK_F10, false, "|121"}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.Captured);
    SetKeyStateOverride([&r](int Vk) { return r.Alt && Vk == VK_MENU; });
    dialog.txtHotKeyGen->SetFocus();
    const UINT down = r.Alt || r.Key == VK_F10 ? WM_SYSKEYDOWN : WM_KEYDOWN;
    PostMessageA(dialog.txtHotKeyGen->Handle(), down, r.Key, r.Alt ? 0x20000000 : 0);
    loopDialog = &dialog;
    SetTimer(nullptr, 0, 300, EndLoop);
    EXPECT_EQ(dialog.RunModalLoop(), mrAbort) << "the dialog stays open";
    loopDialog = nullptr;
    EXPECT_EQ(dialog.CapturedKey(), r.Captured);
  }
}

// Tab is recorded as any key, but once a key is recorded it leaves the field, keeping the key
// for Assign, which the keyboard then presses in the tool bar.
TEST_F(HotKeyDialogTest, OnceAKeyIsCapturedTabLeavesTheFieldAndTheKeyboardAssignsIt) {
  TfrmHotKeys dialog(nullptr);
  std::vector<std::string> captured;  // after Tab, Ctrl+K and Tab
  HWND afterCapture = nullptr;
  testsupport::TWhenShown shown([&](HWND Wnd) { return Wnd == dialog.Handle(); }, [&](HWND) {
    SelectEntry(dialog, "frmMain_mnuFileSave");
    dialog.txtHotKeyGen->SetFocus();
    for (WORD key : {WORD(VK_TAB), WORD('K'), WORD(VK_TAB)}) {
      press(key, key == 'K');
      captured.push_back(dialog.CapturedKey());
    }
    afterCapture = GetFocus();
    for (int i = 0; i < 8 && GetFocus() != dialog.tbHotKey->Handle(); ++i) press(VK_TAB);
    for (int i = 0; i < 3 && dialog.tbHotKey->HotButton() != dialog.btnHotKeyAssign; ++i)
      press(VK_RIGHT);
    press(VK_RETURN);
    dialog.SetModalResult(mrAbort);
  });
  dialog.RunModalLoop();
  ASSERT_TRUE(shown.Done());
  EXPECT_EQ(captured, (std::vector<std::string>{"|9", "C|75", "C|75"}));
  EXPECT_NE(afterCapture, dialog.txtHotKeyGen->Handle()) << "Tab after Ctrl+K is recorded";
  EXPECT_EQ(HotKeyList[IndexOf("frmMain_mnuFileSave")].Current, "C|75");
}

// The tool buttons show only a picture: the one the keyboard chooses says its name at once, and
// none shows once the keyboard leaves the bar.
TEST_F(HotKeyDialogTest, TheToolButtonTheKeyboardChoosesSaysItsName) {
  TfrmHotKeys dialog(nullptr);
  std::vector<std::string> tips;
  testsupport::TWhenShown shown([&](HWND Wnd) { return Wnd == dialog.Handle(); }, [&](HWND) {
    SelectEntry(dialog, "frmMain_mnuFileSave");
    dialog.txtHotKeyGen->SetFocus();
    press('K', true);  // with a key captured, every button can be pressed
    for (int i = 0; i < 8 && GetFocus() != dialog.tbHotKey->Handle(); ++i) press(VK_TAB);
    tips.push_back(dialog.hints->ShownTip());
    for (int i = 0; i < 3; ++i) {
      press(VK_RIGHT);
      tips.push_back(dialog.hints->ShownTip());
    }
    press(VK_TAB);
    tips.push_back(dialog.hints->ShownTip());
    dialog.SetModalResult(mrAbort);
  });
  dialog.RunModalLoop();
  ASSERT_TRUE(shown.Done());
  EXPECT_EQ(tips, (std::vector<std::string>{"Shortcut entfernen", "Standard Shortcut zuweisen",
                                            "Shortcut zuweisen", "Shortcut entfernen", ""}));
}
