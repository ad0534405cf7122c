#include <gtest/gtest.h>
#include <memory>
#include <set>
#include "app/fHlpMain.h"
#include "app/fLanguage.h"
#include "app/formMain.h"
#include "commands/fHlpHK.h"
#include "commands/fHotKeys.h"
#include "editor/CodeEdit.h"
#include "foundation/fMain.h"
#include "support/TempFolder.h"
#include "toolkit/Menus.h"

namespace {

// The built-in language and a program folder of its own, so no user's hot-key file is read.
class HotKeyDefaultsTest : public testing::Test {
protected:
  void SetUp() override {
    savedAppDir_ = Settings.AppDir;
    Settings.AppDir = dir.Path();
    LanguageTexts.Clear();
    InitHotKeys();
  }
  void TearDown() override {
    LanguageTexts.Clear();
    Settings.AppDir = savedAppDir_;
  }
  static int IndexOf(const std::string& Name) {
    for (size_t i = 0; i < HotKeyList.size(); ++i)
      if (HotKeyList[i].Name == Name) return static_cast<int>(i);
    return -1;
  }
  static std::string Path(std::initializer_list<std::string> Parts) {
    std::string r;
    for (const std::string& p : Parts) r += (r.empty() ? "" : "\x02") + p;
    return r;
  }
  static std::string Menu(const std::string& Name) {
    return StripAccelChars(MainDefaultCaption(Name));
  }

  testsupport::TempFolder dir;

private:
  std::string savedAppDir_;
};

TEST_F(HotKeyDefaultsTest, RegistersEveryHotKeyOnceInOrder) {
  ASSERT_EQ(HotKeyList.size(), static_cast<size_t>(HotKeyDefaultCount));
  std::set<std::string> names;
  for (const THotKeyRec& h : HotKeyList) EXPECT_TRUE(names.insert(h.Name).second) << h.Name;
  EXPECT_EQ(HotKeyList.front().Name, "frmMain_mnuFileNewDoc");
  EXPECT_EQ(HotKeyList.back().Name, "frmWindowList_pmnuWinInvertSel");
  int editor = 0;
  for (const THotKeyRec& h : HotKeyList) editor += h.Name.rfind("Edit_", 0) == 0 ? 1 : 0;
  EXPECT_EQ(editor, EditorHotKeyCount);
  InitHotKeys();
  EXPECT_EQ(HotKeyList.size(), static_cast<size_t>(HotKeyDefaultCount)) << "rebuilt, not added";
}

TEST_F(HotKeyDefaultsTest, SampleRowsAcrossAllGroups) {
  struct Row {
    int index;
    const char* name;
    const char* key;
  };
  const Row rows[] = {
      {0, "frmMain_mnuFileNewDoc", "C|78"},        {7, "frmMain_mnuFileSaveAs", "SC|85"},
      {24, "frmMain_mnuFileExit", "|"},            {37, "frmMain_mnuEditCopyMemoryBank0", "SA|48"},
      {56, "frmMain_mnuEditPasteMemoryBank9", "A|57"}, {62, "frmMain_mnuEditSearchNext", "|114"},
      {87, "frmMain_mnuEditBookmarkGoto9", "C|57"}, {93, "frmMain_mnuEditPrevCursorPos", "S|122"},
      {100, "frmMain_mnuInsertSpecialChars", "C|191"}, {111, "frmMain_mnuFormatANSIinANSII", "|"},
      {128, "frmMain_mnuFormatParIn", "CA|73"},    {150, "frmMain_mnuViewSyntaxHlURI", "|"},
      {166, "frmMain_mnuViewLeftPanelHide", "SC|226"}, {177, "frmMain_mnuHelpHelp", "|112"},
      {184, "frmMain_pmnuBottomHide", "|"},        {188, "frmMain_KeyDownChangeTabBack", "SC|9"},
      {195, "frmMain_frameEdit_PLUS", "C|107"},    {207, "frmMain_frameEdit_U", "SCA|85"},
      {208, "Edit_ecUp", "|38"},                   {241, "Edit_ecLineSelect", "SA|76"},
      {245, "Edit_ecDeleteLastCharAlt", "S|8"},    {262, "Edit_ecSetMarker0", "SC|48"},
      {281, "Edit_ecGotoMarker9", "C|57"},         {288, "frmWindowList_pmnuWinInvertSel", "C|73"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.index);
    ASSERT_LT(r.index, static_cast<int>(HotKeyList.size()));
    EXPECT_EQ(HotKeyList[r.index].Name, r.name);
    EXPECT_EQ(HotKeyList[r.index].Default, r.key);
    EXPECT_EQ(HotKeyList[r.index].Current, r.key);
  }
}

TEST_F(HotKeyDefaultsTest, CaptionPathsFollowTheGroups) {
  struct Row {
    const char* name;
    std::string path;
  };
  const std::string window = "Hauptfenster", mainMenu = "Hauptmen\xFC";
  const Row rows[] = {
      {"frmMain_mnuEditCopyMemoryBank3",
       Path({window, mainMenu, Menu("mnuEdit"), Menu("mnuEditCopyToMemoryBank"), "Ablage 3"})},
      {"frmMain_mnuFileNewDoc",
       Path({window, mainMenu, Menu("mnuFile"), Menu("mnuFileNew"), Menu("mnuFileNewDoc")})},
      {"frmMain_mnuFormatANSIinUTF8",
       Path({window, mainMenu, Menu("mnuFormat"), Menu("mnuFormatConvert"),
             Menu("mnuFormatANSItoUTF8")})},
      {"frmMain_mnuViewSyntaxHlCSS",
       Path({window, mainMenu, Menu("mnuView"), Menu("mnuViewSyntax"), Menu("mnuViewSyntaxCSS")})},
      {"frmMain_pmnuBottomHide",
       Path({window, "Kontextmen\xFC (Unterer Anzeigenbereich)", Menu("pmnuBottomHide")})},
      {"frmMain_KeyDownChangeTabBack", Path({window, "Datei-Register", "Nach links wechseln"})},
      {"frmMain_frameEdit_NBSP", Path({window, "Editor-Shortcuts", "&nbsp;|"})},
      {"Edit_ecUp", Path({"Editor", "Navigation", "Cursor hinauf"})},
      {"Edit_ecColumnSelect",
       Path({"Editor", Menu("mnuEditSelMode"), Menu("mnuEditSelModeColumn")})},
      {"Edit_ecToggleMode",
       Path({"Editor", Menu("mnuEdit"), "Einf\xFCgen/\xDC" "berschreiben"})},
      {"Edit_ecSetMarker7", Path({"Editor", Menu("mnuEditBookmarkSet"), "Lesezeichen 7"})},
      {"frmWindowList_pmnuWinClose",
       Path({"Fensterliste", window, "Kontextmen\xFC", "Schlie\xDF" "en"})},
  };
  for (const Row& r : rows) {
    int i = IndexOf(r.name);
    ASSERT_GE(i, 0) << r.name;
    EXPECT_EQ(HotKeyList[i].Caption, r.path) << r.name;
  }
}

TEST_F(HotKeyDefaultsTest, EveryMenuEntryHasAFullPathOfTexts) {
  for (const THotKeyRec& h : HotKeyList) {
    if (h.Name.rfind("frmMain_mnu", 0) != 0) continue;
    std::vector<std::string> parts;
    size_t start = 0, sep;
    while ((sep = h.Caption.find('\x02', start)) != std::string::npos) {
      parts.push_back(h.Caption.substr(start, sep - start));
      start = sep + 1;
    }
    parts.push_back(h.Caption.substr(start));
    EXPECT_TRUE(parts.size() == 4 || parts.size() == 5) << h.Name;
    for (const std::string& p : parts) EXPECT_FALSE(p.empty()) << h.Name << " has an empty part";
  }
}

TEST_F(HotKeyDefaultsTest, CaptionsFollowTheLanguage) {
  LanguageTexts.Add("HotKeys|MainWindow=Main window");
  LanguageTexts.Add("Main|mnuEditCopyMemoryBankItem=Bank %s1%");
  LanguageTexts.Add("HotKeys|EditorNavUp=Caret up");
  InitHotKeys();
  EXPECT_EQ(HotKeyList[IndexOf("frmMain_mnuEditCopyMemoryBank5")].Caption,
            Path({"Main window", "Hauptmen\xFC", Menu("mnuEdit"), Menu("mnuEditCopyToMemoryBank"),
                  "Bank 5"}));
  EXPECT_EQ(HotKeyList[IndexOf("Edit_ecUp")].Caption, Path({"Editor", "Navigation", "Caret up"}));
  EXPECT_EQ(HotKeyList[IndexOf("frmWindowList_pmnuWinSave")].Caption,
            Path({"Fensterliste", "Main window", "Kontextmen\xFC", "Speichern"}));
}

TEST_F(HotKeyDefaultsTest, TheUserFileIsLoadedAndUnsavedEditsAreDropped) {
  dir.Write("HotKeys.rud", "frmMain_mnuFileSave\x01" "A|83\r\nEdit_ecUp\x01|\r\n");
  InitHotKeys();
  EXPECT_EQ(GetHotKey("frmMain_mnuFileSave"), scAlt | 'S');
  EXPECT_EQ(GetHotKey("Edit_ecUp"), 0);
  EXPECT_EQ(GetHotKey("frmMain_mnuFileOpen"), scCtrl | 'O');
  HotKeyList[IndexOf("frmMain_mnuFileOpen")].Current = "|";
  InitHotKeys();
  EXPECT_EQ(GetHotKey("frmMain_mnuFileOpen"), scCtrl | 'O');
  EXPECT_EQ(GetHotKey("frmMain_mnuFileSave"), scAlt | 'S');
}

// An editor whose key handling can be driven without a window.
class TKeyEdit : public TCodeEdit {
public:
  using TCodeEdit::TCodeEdit;
  using TCustomCodeEdit::KeyDown;
};

TEST_F(HotKeyDefaultsTest, EditorReceivesExactlyTheEditorKeysInOrder) {
  TKeyEdit edit(nullptr);
  ApplyEditorHotKeys(&edit);
  TCodeEditKeyStrokes& keys = edit.Keystrokes();
  ASSERT_EQ(keys.Count(), EditorHotKeyCount);
  struct Row {
    int index;
    TCodeEditorCommand command;
    TShortCut shortCut;
  };
  const Row rows[] = {
      {0, ecUp, VK_UP},
      {16, ecMatchBracket, scShift | scCtrl | 'B'},
      {31, ecSelEditorBottom, scShift | scCtrl | VK_END},
      {32, ecNormalSelect, scShift | scAlt | 'N'},
      {36, ecDeleteLastChar, VK_BACK},
      {37, ecDeleteLastChar, scShift | VK_BACK},
      {53, ecToggleMode, VK_INSERT},
      {54, ecGotoMarker0, scCtrl | '0'},
      {64, ecSetMarker0, scShift | scCtrl | '0'},
      {73, ecSetMarker9, scShift | scCtrl | '9'},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.index);
    EXPECT_EQ(keys.Items(r.index)->Command(), r.command);
    EXPECT_EQ(keys.Items(r.index)->ShortCut(), r.shortCut);
  }
  ApplyEditorHotKeys(nullptr);
}

TEST_F(HotKeyDefaultsTest, RemappedEditorKeyRunsItsCommand) {
  HotKeyList[IndexOf("Edit_ecDeleteLine")].Current = "A|68";  // Alt+D
  HotKeyList[IndexOf("Edit_ecSelectAll")].Current = "|";
  TKeyEdit edit(nullptr);
  edit.SetText("one\r\ntwo\r\nthree");
  edit.SetCaretXY({1, 2});
  ApplyEditorHotKeys(&edit);
  ASSERT_EQ(edit.Keystrokes().Count(), EditorHotKeyCount) << "no key lost, none doubled";
  WORD key = 'Y';
  edit.KeyDown(key, {TShift::ssCtrl});  // the old key does nothing now
  EXPECT_EQ(edit.Lines().Count(), 3);
  key = 'D';
  edit.KeyDown(key, {TShift::ssAlt});
  ASSERT_EQ(edit.Lines().Count(), 2);
  EXPECT_EQ(edit.Lines()[1], "three");
  key = 'A';
  edit.KeyDown(key, {TShift::ssCtrl});
  EXPECT_FALSE(edit.SelAvail()) << "an unbound key selects nothing";
}

TEST_F(HotKeyDefaultsTest, AnEditorKeyTakenOrOutOfRangeLeavesOnlyItsRowWithoutAKey) {
  // From the user's file: ecDown repeats ecScrollUp's Ctrl+Up, ecLeft names no byte key, and
  // the very last row repeats the first.
  dir.Write(HotKeyFileName,
            "Edit_ecDown\x01" "C|38\r\n"
            "Edit_ecLeft\x01" "|300\r\n"
            "Edit_ecSetMarker9\x01" "|38\r\n");
  InitHotKeys();
  TKeyEdit edit(nullptr);
  edit.SetText("one\r\ntwo");
  ApplyEditorHotKeys(&edit);
  TCodeEditKeyStrokes& keys = edit.Keystrokes();
  ASSERT_EQ(keys.Count(), EditorHotKeyCount) << "every row is added";
  struct Row {
    int index;
    TCodeEditorCommand command;
    TShortCut shortCut;
  };
  const Row rows[] = {
      {0, ecUp, VK_UP},
      {1, ecScrollUp, scCtrl | VK_UP},
      {2, ecDown, scNone},  // taken by the row before it
      {3, ecScrollDown, scCtrl | VK_DOWN},
      {4, ecLeft, scNone},  // no key in a byte
      {5, ecWordLeft, scCtrl | VK_LEFT},
      {72, ecSetMarker8, scShift | scCtrl | '8'},
      {73, ecSetMarker9, scNone},  // taken by the first row
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.index);
    EXPECT_EQ(keys.Items(r.index)->Command(), r.command);
    EXPECT_EQ(keys.Items(r.index)->ShortCut(), r.shortCut);
  }
  // The keys after the conflict still work.
  edit.SetCaretXY({1, 1});
  WORD key = VK_END;
  edit.KeyDown(key, {});
  EXPECT_EQ(edit.CaretXY(), (TBufferCoord{4, 1}));
  key = VK_DOWN;
  edit.KeyDown(key, {});
  EXPECT_EQ(edit.CaretY(), 1) << "ecDown has no key now";

  // Once the conflict is gone the whole list is replaced again.
  HotKeyList[IndexOf("Edit_ecDown")].Current = "|40";
  ApplyEditorHotKeys(&edit);
  ASSERT_EQ(keys.Count(), EditorHotKeyCount);
  EXPECT_EQ(keys.Items(2)->ShortCut(), TShortCut(VK_DOWN));
}

// A real main window: the menu items get their keys by name.
class MenuHotKeysTest : public HotKeyDefaultsTest {
protected:
  void SetUp() override {
    HotKeyDefaultsTest::SetUp();
    main_ = std::make_unique<TfrmMain>(nullptr);
    frmMain = main_.get();
  }
  void TearDown() override {
    main_.reset();
    frmMain = nullptr;
    HotKeyDefaultsTest::TearDown();
  }
  // Menu items anywhere below Root holding Key.
  static int CountWithKey(const TComponent& Root, TShortCut Key) {
    int n = 0;
    for (int i = 0; i < Root.ComponentCount(); ++i) {
      auto* item = dynamic_cast<TMenuItem*>(Root.Components(i));
      if (item && item->ShortCut() == Key) ++n;
      n += CountWithKey(*Root.Components(i), Key);
    }
    return n;
  }
  static TShortCut ItemKey(const std::string& Name) {
    TMenuItem* item = frmMain->Find<TMenuItem>(Name);
    EXPECT_NE(item, nullptr) << Name;
    return item ? item->ShortCut() : scNone;
  }

private:
  std::unique_ptr<TfrmMain> main_;
};

TEST_F(MenuHotKeysTest, MenuItemsTakeTheCurrentKeys) {
  dir.Write("HotKeys.rud",
            "frmMain_mnuFileSave\x01" "A|83\r\n"
            "frmMain_mnuFileOpen\x01|\r\n"
            "frmMain_mnuEditCopy\x01" "SC|45\r\n"
            "frmMain_mnuFormatANSIinANSII\x01" "CA|65\r\n"
            "frmMain_mnuViewSyntaxHlCSS\x01" "CA|51\r\n"
            "frmMain_pmnuTabsCopyFileName\x01" "CA|78\r\n");
  InitHotKeys();
  EXPECT_EQ(ItemKey("mnuFileSave"), scAlt | 'S');
  EXPECT_EQ(ItemKey("mnuFileOpen"), scNone);
  EXPECT_EQ(ItemKey("mnuFileSaveAs"), scShift | scCtrl | 'U');
  EXPECT_EQ(ItemKey("mnuEditCopy"), scShift | scCtrl | VK_INSERT);
  EXPECT_EQ(ItemKey("pmnuSREditCopy"), scShift | scCtrl | VK_INSERT);
  EXPECT_EQ(ItemKey("pmnuSREditCut"), scCtrl | 'X');
  EXPECT_EQ(ItemKey("mnuFormatANSItoANSII"), scCtrl | scAlt | 'A');
  EXPECT_EQ(ItemKey("mnuViewSyntaxCSS"), scCtrl | scAlt | '3');
  EXPECT_EQ(ItemKey("pmnuTabsCopyFileName"), scCtrl | scAlt | 'N');
  EXPECT_EQ(ItemKey("mnuEditCopyMemoryBank2"), scShift | scAlt | '2');
  EXPECT_EQ(ItemKey("mnuEditBookmarkGoto0"), scCtrl | '0');
}

TEST_F(MenuHotKeysTest, EveryMenuHotKeyHasItsMenuItem) {
  int assigned = 0;
  for (THotKeyRec& h : HotKeyList) {
    if (h.Name.rfind("frmMain_mnu", 0) != 0 && h.Name.rfind("frmMain_pmnu", 0) != 0) continue;
    ++assigned;
    h.Current = "SCA|123";
  }
  EXPECT_EQ(assigned, 185);
  ApplyMenuHotKeys();
  EXPECT_EQ(CountWithKey(*frmMain, scShift | scCtrl | scAlt | VK_F12), 185 + 3);
}

}  // namespace
