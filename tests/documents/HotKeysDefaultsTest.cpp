#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>
#include "documents/fHlpHK.h"
#include "documents/fHlpMain.h"
#include "documents/fHotKeys.h"
#include "documents/fLanguage.h"
#include "editor/CodeEdit.h"
#include "foundation/fMain.h"
#include "mainwindow/formMain.h"
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

namespace {

// The defaults in registration order, keys written with their names ("C|N", "SA|Left"); a
// name alone has no key. "Name#" with "K#" stands for the ten rows of the digits 0 to 9.
const char* const DefaultRows[] = {
    // Datei
    "frmMain_mnuFileNewDoc C|N", "frmMain_mnuFileNewTemplates SC|N", "frmMain_mnuFileOpen C|O",
    "frmMain_mnuFileOpenFast SC|O", "frmMain_mnuFileReOpenHistory", "frmMain_mnuFileReload",
    "frmMain_mnuFileSave C|S", "frmMain_mnuFileSaveAs SC|U", "frmMain_mnuFileSaveAll SC|S",
    "frmMain_mnuFileLineBreakFormatWindows", "frmMain_mnuFileLineBreakFormatUNIX",
    "frmMain_mnuFileLineBreakFormatMacIntosh", "frmMain_mnuFileLineBreakFormatOriginal",
    "frmMain_mnuFileExport", "frmMain_mnuFileSessionOpen", "frmMain_mnuFileSessionSaveAs",
    "frmMain_mnuFileClose C|W", "frmMain_mnuFileCloseAllButCurrent", "frmMain_mnuFileCloseAll",
    "frmMain_mnuFilePrintSetup", "frmMain_mnuFilePrintPreview SC|P", "frmMain_mnuFilePrint C|P",
    "frmMain_mnuFilePrintUnFormatted", "frmMain_mnuFileProperties", "frmMain_mnuFileExit",
    // Bearbeiten
    "frmMain_mnuEditUndo C|Z", "frmMain_mnuEditRedo SC|Z", "frmMain_mnuEditCut C|X",
    "frmMain_mnuEditCutAndAttach SC|X", "frmMain_mnuEditCopy C|C",
    "frmMain_mnuEditCopyAndAttach SC|C", "frmMain_mnuEditPaste C|V",
    "frmMain_mnuEditPasteFromFile", "frmMain_mnuEditCopyToFile", "frmMain_mnuEditCopyFormatRTF",
    "frmMain_mnuEditCopyFormatHtmlDoc", "frmMain_mnuEditCopyFormatHtmlFrag",
    "frmMain_mnuEditCopyMemoryBank# SA|#", "frmMain_mnuEditPasteMemoryBank# A|#",
    "frmMain_mnuEditSelectAll C|A", "frmMain_mnuEditSelModeNormal SA|N",
    "frmMain_mnuEditSelModeLine SA|L", "frmMain_mnuEditSelModeColumn SA|C",
    // Suchen
    "frmMain_mnuEditSearch C|F", "frmMain_mnuEditSearchNext |F3", "frmMain_mnuEditSearchPrev S|F3",
    "frmMain_mnuEditDocSearch SC|F", "frmMain_mnuSearchIncremtalSearch CA|F",
    "frmMain_mnuEditGotoLine C|G", "frmMain_mnuEditGotoPos SC|G",
    "frmMain_mnuEditBookmarkSet# SC|#", "frmMain_mnuEditBookmarkGoto# C|#",
    "frmMain_mnuEditBookmarkGotoPrev SC|M", "frmMain_mnuEditBookmarkGotoNext C|M",
    "frmMain_mnuEditBookmarkRemoveAll", "frmMain_mnuSearchGotoMatchBrack",
    "frmMain_mnuEditNextCursorPos |F11", "frmMain_mnuEditPrevCursorPos S|F11",
    // Einfuegen
    "frmMain_mnuInsertDateAndTime", "frmMain_mnuInsertDate", "frmMain_mnuInsertTime",
    "frmMain_mnuInsertGUID", "frmMain_mnuInsertFilePath", "frmMain_mnuInsertConsoleOutput",
    "frmMain_mnuInsertSpecialChars C|#", "frmMain_mnuInsertClipboardLineBegin",
    "frmMain_mnuInsertClipboardLineEnd", "frmMain_mnuInsertContentTemplate SC|T",
    // Format
    "frmMain_mnuFormatSpecialCharsToHtmlCodes", "frmMain_mnuFormatSpecialCharsToHtmlUnicodes",
    "frmMain_mnuFormatHtmlCodesUnicodesToSpecialChars", "frmMain_mnuFormatHtmlToText",
    "frmMain_mnuFormatHtmlEncode", "frmMain_mnuFormatHtmlDecode",
    "frmMain_mnuFormatComprWhitespaces", "frmMain_mnuFormatANSIinANSII",
    "frmMain_mnuFormatASCIIinANSI", "frmMain_mnuFormatANSIinUTF8", "frmMain_mnuFormatUTF8inANSI",
    "frmMain_mnuFormatToURL", "frmMain_mnuFormatFromURL", "frmMain_mnuFormatToQP",
    "frmMain_mnuFormatFromQP", "frmMain_mnuFormatToBase64", "frmMain_mnuFormatFromBase64",
    "frmMain_mnuFormatROT13", "frmMain_mnuFormatTabsToSpaces", "frmMain_mnuFormatSpacesToTabs",
    "frmMain_mnuFormatTrimTrailingSpaces", "frmMain_mnuFormatToUpper", "frmMain_mnuFormatToLower",
    "frmMain_mnuFormatToUpperLowerSwap", "frmMain_mnuFormatParIn CA|I",
    "frmMain_mnuFormatParOut CA|U", "frmMain_mnuFormatSortAsc", "frmMain_mnuFormatSortDesc",
    "frmMain_mnuFormatMoveLineUp", "frmMain_mnuFormatMoveLineDown",
    "frmMain_mnuFormatDelEmptyLines", "frmMain_mnuFormatDelDuplicateLines",
    "frmMain_mnuFormatDelLinesStarts", "frmMain_mnuFormatDelLinesContains",
    "frmMain_mnuFormatDelLinesEnds", "frmMain_mnuFormatDelLinesNotStarts",
    "frmMain_mnuFormatDelLinesNotContains", "frmMain_mnuFormatDelLinesNotEnds",
    "frmMain_mnuFormatDelLinesMatch", "frmMain_mnuFormatDelLinesNotMatch",
    "frmMain_mnuFormatFillSelection", "frmMain_mnuFormatConnectLines",
    "frmMain_mnuFormatLineWrapRightEdge", "frmMain_mnuFormatLineWrapRightEdgeNChars",
    "frmMain_mnuFormatReplaceHtmlNamedChars",
    // Ansicht
    "frmMain_mnuViewSyntaxNone", "frmMain_mnuViewSyntaxHlURI", "frmMain_mnuViewSyntaxHlWebMixed",
    "frmMain_mnuViewSyntaxHlHTML", "frmMain_mnuViewSyntaxHlPHP", "frmMain_mnuViewSyntaxHlCSS",
    "frmMain_mnuViewSyntaxHlJS", "frmMain_mnuViewSyntaxHlVBS", "frmMain_mnuViewLineBreak CA|L",
    "frmMain_mnuViewSpecialChars CA|C", "frmMain_mnuViewReadOnly",
    "frmMain_mnuViewFontZoomIn SCA|9", "frmMain_mnuViewFontZoomOut SCA|8",
    "frmMain_mnuViewFontZoomNormal SCA|0", "frmMain_mnuViewUseAsciiFont C|D",
    "frmMain_mnuViewCharProp C|+", "frmMain_mnuViewDocSearchHide SC|+",
    "frmMain_mnuViewLeftPanelHide SC|<", "frmMain_mnuViewToolBar", "frmMain_mnuViewStatusBar",
    "frmMain_mnuViewStayOnTop C|T", "frmMain_mnuViewWindowList C|L",
    // Extras, Hilfe, context menus
    "frmMain_mnuExtrasExecute C|E", "frmMain_mnuExtrasDefApp", "frmMain_mnuExtrasOpenFolder",
    "frmMain_mnuExtrasPluginMgr", "frmMain_mnuExtrasHotKeySetup", "frmMain_mnuExtrasSettings",
    "frmMain_mnuHelpHelp |F1", "frmMain_mnuHelpWebsite", "frmMain_mnuHelpEMail",
    "frmMain_mnuHelpInfo", "frmMain_pmnuTabsCopyFullPath", "frmMain_pmnuTabsCopyFileName",
    "frmMain_pmnuTabsCopyFilePath", "frmMain_pmnuBottomHide",
    // Tab and insert keys
    "frmMain_KeyDownMoveTabLeft SA|Left", "frmMain_KeyDownMoveTabRight SA|Right",
    "frmMain_KeyDownChangeTabLeft A|Left", "frmMain_KeyDownChangeTabBack SC|Tab",
    "frmMain_KeyDownChangeTabRight A|Right", "frmMain_KeyDownChangeTab C|Tab",
    "frmMain_frameEdit_TEMPLATE SC|Space", "frmMain_frameEdit_BR S|Enter",
    "frmMain_frameEdit_BRCRLF C|Enter", "frmMain_frameEdit_P SC|Enter",
    "frmMain_frameEdit_PLUS C|Add", "frmMain_frameEdit_MUL C|Multiply",
    "frmMain_frameEdit_SUB C|Subtract", "frmMain_frameEdit_PLUSDATE SC|Add",
    "frmMain_frameEdit_MULDATE SC|Multiply", "frmMain_frameEdit_SUBDATE SC|Subtract",
    "frmMain_frameEdit_NBSP SCA|Space", "frmMain_frameEdit_AMP SCA|A",
    "frmMain_frameEdit_GT SCA|G", "frmMain_frameEdit_LT SCA|L", "frmMain_frameEdit_B SCA|B",
    "frmMain_frameEdit_I SCA|I", "frmMain_frameEdit_U SCA|U",
    // Editor, by groups
    "Edit_ecUp |Up", "Edit_ecScrollUp C|Up", "Edit_ecDown |Down", "Edit_ecScrollDown C|Down",
    "Edit_ecLeft |Left", "Edit_ecWordLeft C|Left", "Edit_ecRight |Right",
    "Edit_ecWordRight C|Right", "Edit_ecPageDown |PgDn", "Edit_ecPageBottom C|PgDn",
    "Edit_ecPageUp |PgUp", "Edit_ecPageTop C|PgUp", "Edit_ecLineStart |Home",
    "Edit_ecEditorTop C|Home", "Edit_ecLineEnd |End", "Edit_ecEditorBottom C|End",
    "Edit_ecMatchBracket SC|B", "Edit_ecSelectAll C|A", "Edit_ecSelUp S|Up",
    "Edit_ecSelDown S|Down", "Edit_ecSelLeft S|Left", "Edit_ecSelWordLeft SC|Left",
    "Edit_ecSelRight S|Right", "Edit_ecSelWordRight SC|Right", "Edit_ecSelPageDown S|PgDn",
    "Edit_ecSelPageBottom SC|PgDn", "Edit_ecSelPageUp S|PgUp", "Edit_ecSelPageTop SC|PgUp",
    "Edit_ecSelLineStart S|Home", "Edit_ecSelEditorTop SC|Home", "Edit_ecSelLineEnd S|End",
    "Edit_ecSelEditorBottom SC|End", "Edit_ecNormalSelect SA|N", "Edit_ecLineSelect SA|L",
    "Edit_ecColumnSelect SA|C", "Edit_ecDeleteChar |Del", "Edit_ecDeleteLastChar |BkSp",
    "Edit_ecDeleteLastCharAlt S|BkSp", "Edit_ecDeleteLastWord C|BkSp", "Edit_ecLineBreak |Enter",
    "Edit_ecTab |Tab", "Edit_ecShiftTab S|Tab", "Edit_ecBlockIndent SC|I",
    "Edit_ecBlockUnindent SC|U", "Edit_ecInsertLine C|N", "Edit_ecDeleteWord C|T",
    "Edit_ecDeleteLine C|Y", "Edit_ecDeleteEOL SC|Y", "Edit_ecUndo A|BkSp", "Edit_ecRedo SA|BkSp",
    "Edit_ecCopy C|Ins", "Edit_ecCut S|Del", "Edit_ecPaste S|Ins", "Edit_ecToggleMode |Ins",
    "Edit_ecSetMarker# SC|#", "Edit_ecGotoMarker# C|#",
    // Window list
    "frmWindowList_pmnuWinClose C|C", "frmWindowList_pmnuWinCloseAll SC|C",
    "frmWindowList_pmnuWinSave C|S", "frmWindowList_pmnuWinSaveAll SC|S",
    "frmWindowList_pmnuWinLockUnlock C|L", "frmWindowList_pmnuWinSelectAll C|A",
    "frmWindowList_pmnuWinInvertSel C|I",
};

// Virtual-key codes of the named keys on a German keyboard.
std::string KeyCode(const std::string& Key) {
  static const std::pair<const char*, int> named[] = {
      {"F1", 112}, {"F3", 114}, {"F11", 122}, {"Left", 37}, {"Up", 38}, {"Right", 39},
      {"Down", 40}, {"PgUp", 33}, {"PgDn", 34}, {"Home", 36}, {"End", 35}, {"Tab", 9},
      {"Enter", 13}, {"Space", 32}, {"BkSp", 8}, {"Del", 46}, {"Ins", 45}, {"#", 191},
      {"+", 187}, {"<", 226}, {"Add", 107}, {"Multiply", 106}, {"Subtract", 109}};
  for (const auto& [name, code] : named)
    if (Key == name) return std::to_string(code);
  return Key.empty() ? "" : std::to_string(static_cast<int>(Key[0]));  // letters and digits
}

// "name modifiers|code" rows, the digit ranges spelt out.
std::vector<std::pair<std::string, std::string>> ExpectedDefaults() {
  std::vector<std::pair<std::string, std::string>> rows;
  for (const std::string row : DefaultRows) {
    const size_t blank = row.find(' ');
    const std::string name = row.substr(0, blank);
    const std::string key = blank == std::string::npos ? "|" : row.substr(blank + 1);
    const size_t bar = key.find('|');
    const std::string modifiers = key.substr(0, bar), keyName = key.substr(bar + 1);
    if (name.back() != '#') {
      rows.push_back({name, modifiers + "|" + KeyCode(keyName)});
      continue;
    }
    for (char d = '0'; d <= '9'; ++d)
      rows.push_back({name.substr(0, name.size() - 1) + d, modifiers + "|" + KeyCode({d})});
  }
  return rows;
}

}  // namespace

TEST_F(HotKeyDefaultsTest, EveryDefaultKeyInRegistrationOrder) {
  const auto expected = ExpectedDefaults();
  ASSERT_EQ(expected.size(), static_cast<size_t>(HotKeyDefaultCount));
  ASSERT_EQ(HotKeyList.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(HotKeyList[i].Name, expected[i].first);
    EXPECT_EQ(HotKeyList[i].Default, expected[i].second) << expected[i].first;
    EXPECT_EQ(HotKeyList[i].Current, expected[i].second) << expected[i].first;
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

// Every key the program registers or writes must read back from its own file.
TEST_F(HotKeyDefaultsTest, EveryDefaultKeyReadsBackFromTheFile) {
  ASSERT_TRUE(SaveHotKeys(dir.File("HotKeys.rud")));
  for (THotKeyRec& h : HotKeyList) h.Current = "A|3";
  ASSERT_TRUE(LoadHotKeys(dir.File("HotKeys.rud")));
  for (const THotKeyRec& h : HotKeyList) EXPECT_EQ(h.Current, h.Default) << h.Name;
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
  // From the user's file: ecDown repeats ecScrollUp's Ctrl+Up and the very last row repeats
  // the first. ecLeft's key names no byte key (the file's reader passes such a row over, so it
  // is set in the table).
  dir.Write(HotKeyFileName,
            "Edit_ecDown\x01" "C|38\r\n"
            "Edit_ecSetMarker9\x01" "|38\r\n");
  InitHotKeys();
  HotKeyList[IndexOf("Edit_ecLeft")].Current = "|300";
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
