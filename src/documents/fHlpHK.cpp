#include "documents/fHlpHK.h"
#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <string>
#include <utility>
#include "documents/MainWindowParts.h"
#include "documents/StoreGuard.h"
#include "documents/fHlpMain.h"
#include "documents/fHotKeys.h"
#include "documents/fLanguage.h"
#include "documents/formMainTable.h"
#include "editor/CodeEdit.h"
#include "toolkit/Menus.h"

namespace {

std::string Lang(const char* Key, const char* Default) { return GetLangText(Key, Default); }

std::string MenuText(const std::string& Component) {
  return GetLangText("Main|" + Component, MainDefaultCaption(Component));
}

// Hot keys whose menu item has another name: the names are part of the user's hot-key file.
const std::pair<const char*, const char*> RenamedMenuItems[] = {
    {"mnuFormatANSIinANSII", "mnuFormatANSItoANSII"},
    {"mnuFormatASCIIinANSI", "mnuFormatASCIItoANSI"},
    {"mnuFormatANSIinUTF8", "mnuFormatANSItoUTF8"},
    {"mnuFormatUTF8inANSI", "mnuFormatUTF8toANSI"},
    {"mnuViewSyntaxHlURI", "mnuViewSyntaxURI"},
    {"mnuViewSyntaxHlWebMixed", "mnuViewSyntaxWebMixed"},
    {"mnuViewSyntaxHlHTML", "mnuViewSyntaxHTML"},
    {"mnuViewSyntaxHlPHP", "mnuViewSyntaxPHP"},
    {"mnuViewSyntaxHlCSS", "mnuViewSyntaxCSS"},
    {"mnuViewSyntaxHlJS", "mnuViewSyntaxJS"},
    {"mnuViewSyntaxHlVBS", "mnuViewSyntaxVBS"},
};

std::string MenuItemName(const std::string& HotKeyComponent) {
  for (const auto& [hotKey, item] : RenamedMenuItems)
    if (HotKeyComponent == hotKey) return item;
  return HotKeyComponent;
}

// A group of the caption tree; its entries are registered under its path.
class THotKeyGroup {
public:
  explicit THotKeyGroup(std::string Path) : path_(std::move(Path)) {}
  THotKeyGroup Sub(const std::string& Text) const {
    return THotKeyGroup(path_ + HotKeyCaptionSeparator + Text);
  }
  THotKeyGroup SubMenu(const std::string& Component) const { return Sub(MenuText(Component)); }
  void Add(const std::string& Name, const std::string& Text, const std::string& Key = "|") const {
    AddHotKey(Name, path_ + HotKeyCaptionSeparator + Text, Key);
  }
  // A main-window menu item, named after its component.
  void Menu(const std::string& Component, const std::string& Key = "|") const {
    Add("frmMain_" + Component, MenuText(MenuItemName(Component)), Key);
  }
  void Menus(const std::string& Prefix, std::initializer_list<const char*> Parts) const {
    for (const char* part : Parts) Menu(Prefix + part);
  }
  // Ten entries Name0..Name9 with the digit as text parameter and key.
  void Numbered(const std::string& Name, const char* TextKey, const char* TextDefault,
                const std::string& Modifiers) const {
    for (char d = '0'; d <= '9'; ++d) {
      const std::string digit(1, d);
      Add(Name + digit, GetLangText(TextKey, TextDefault, LangParams({digit})),
          Modifiers + "|" + digit);
    }
  }

private:
  std::string path_;
};

void RegisterFileMenu(const THotKeyGroup& Main) {
  THotKeyGroup file = Main.SubMenu("mnuFile");
  THotKeyGroup fileNew = file.SubMenu("mnuFileNew");
  fileNew.Menu("mnuFileNewDoc", "C|N");
  fileNew.Menu("mnuFileNewTemplates", "SC|N");
  file.Menu("mnuFileOpen", "C|O");
  file.Menu("mnuFileOpenFast", "SC|O");
  file.Menu("mnuFileReOpenHistory");
  file.Menu("mnuFileReload");
  file.Menu("mnuFileSave", "C|S");
  file.Menu("mnuFileSaveAs", "SC|U");
  file.Menu("mnuFileSaveAll", "SC|S");
  file.SubMenu("mnuFileLineBreakFormat")
      .Menus("mnuFileLineBreakFormat", {"Windows", "UNIX", "MacIntosh", "Original"});
  file.Menus("mnuFile", {"Export", "SessionOpen", "SessionSaveAs"});
  file.Menu("mnuFileClose", "C|W");
  file.Menus("mnuFile", {"CloseAllButCurrent", "CloseAll", "PrintSetup"});
  file.Menu("mnuFilePrintPreview", "SC|P");
  file.Menu("mnuFilePrint", "C|P");
  file.Menus("mnuFile", {"PrintUnFormatted", "Properties", "Exit"});
}

void RegisterEditMenu(const THotKeyGroup& Main) {
  THotKeyGroup edit = Main.SubMenu("mnuEdit");
  edit.Menu("mnuEditUndo", "C|Z");
  edit.Menu("mnuEditRedo", "SC|Z");
  edit.Menu("mnuEditCut", "C|X");
  edit.Menu("mnuEditCutAndAttach", "SC|X");
  edit.Menu("mnuEditCopy", "C|C");
  edit.Menu("mnuEditCopyAndAttach", "SC|C");
  edit.Menu("mnuEditPaste", "C|V");
  edit.Menus("mnuEdit", {"PasteFromFile", "CopyToFile"});
  edit.SubMenu("mnuEditCopyFormat").Menus("mnuEditCopyFormat", {"RTF", "HtmlDoc", "HtmlFrag"});
  edit.SubMenu("mnuEditCopyToMemoryBank")
      .Numbered("frmMain_mnuEditCopyMemoryBank", "Main|mnuEditCopyMemoryBankItem", "Ablage %s1%",
                "SA");
  edit.SubMenu("mnuEditPasteFromMemoryBank")
      .Numbered("frmMain_mnuEditPasteMemoryBank", "Main|mnuEditPasteMemoryBankItem",
                "Ablage %s1%", "A");
  edit.Menu("mnuEditSelectAll", "C|A");
  THotKeyGroup selMode = edit.SubMenu("mnuEditSelMode");
  selMode.Menu("mnuEditSelModeNormal", "SA|N");
  selMode.Menu("mnuEditSelModeLine", "SA|L");
  selMode.Menu("mnuEditSelModeColumn", "SA|C");
}

void RegisterSearchMenu(const THotKeyGroup& Main) {
  THotKeyGroup search = Main.SubMenu("mnuSearch");
  search.Menu("mnuEditSearch", "C|F");
  search.Menu("mnuEditSearchNext", "|F3");
  search.Menu("mnuEditSearchPrev", "S|F3");
  search.Menu("mnuEditDocSearch", "SC|F");
  search.Menu("mnuSearchIncremtalSearch", "CA|F");
  search.Menu("mnuEditGotoLine", "C|G");
  search.Menu("mnuEditGotoPos", "SC|G");
  search.SubMenu("mnuEditBookmarkSet")
      .Numbered("frmMain_mnuEditBookmarkSet", "Main|mnuEditBookmarkSetItem", "Lesezeichen %s1%",
                "SC");
  THotKeyGroup gotoMark = search.SubMenu("mnuEditBookmarkGoto");
  gotoMark.Numbered("frmMain_mnuEditBookmarkGoto", "Main|mnuEditBookmarkGotoItem",
                    "Lesezeichen %s1%", "C");
  gotoMark.Menu("mnuEditBookmarkGotoPrev", "SC|M");
  gotoMark.Menu("mnuEditBookmarkGotoNext", "C|M");
  search.Menu("mnuEditBookmarkRemoveAll");
  search.Menu("mnuSearchGotoMatchBrack");
  search.Menu("mnuEditNextCursorPos", "|F11");
  search.Menu("mnuEditPrevCursorPos", "S|F11");
}

void RegisterInsertMenu(const THotKeyGroup& Main) {
  THotKeyGroup insert = Main.SubMenu("mnuInsert");
  insert.SubMenu("mnuInsertDateTime").Menus("mnuInsert", {"DateAndTime", "Date", "Time"});
  insert.Menus("mnuInsert", {"GUID", "FilePath", "ConsoleOutput"});
  insert.Menu("mnuInsertSpecialChars", "C|#");
  insert.SubMenu("mnuInsertClipboard")
      .Menus("mnuInsertClipboard", {"LineBegin", "LineEnd"});
  insert.SubMenu("mnuInsertContentTemplates").Menu("mnuInsertContentTemplate", "SC|T");
}

void RegisterFormatMenu(const THotKeyGroup& Main) {
  THotKeyGroup format = Main.SubMenu("mnuFormat");
  format.SubMenu("mnuFormatConvert")
      .Menus("mnuFormat",
             {"SpecialCharsToHtmlCodes", "SpecialCharsToHtmlUnicodes",
              "HtmlCodesUnicodesToSpecialChars", "HtmlToText", "HtmlEncode", "HtmlDecode",
              "ComprWhitespaces", "ANSIinANSII", "ASCIIinANSI", "ANSIinUTF8", "UTF8inANSI", "ToURL",
              "FromURL", "ToQP", "FromQP", "ToBase64", "FromBase64", "ROT13", "TabsToSpaces",
              "SpacesToTabs", "TrimTrailingSpaces", "ToUpper", "ToLower", "ToUpperLowerSwap"});
  format.Menu("mnuFormatParIn", "CA|I");
  format.Menu("mnuFormatParOut", "CA|U");
  format.Menus("mnuFormat", {"SortAsc", "SortDesc", "MoveLineUp", "MoveLineDown"});
  format.SubMenu("mnuFormatDelLines")
      .Menus("mnuFormatDel", {"EmptyLines", "DuplicateLines", "LinesStarts", "LinesContains",
                              "LinesEnds", "LinesNotStarts", "LinesNotContains", "LinesNotEnds",
                              "LinesMatch", "LinesNotMatch"});
  format.Menus("mnuFormat", {"FillSelection", "ConnectLines"});
  format.SubMenu("mnuFormatLineWrap")
      .Menus("mnuFormatLineWrap", {"RightEdge", "RightEdgeNChars"});
  format.Menu("mnuFormatReplaceHtmlNamedChars");
}

void RegisterViewMenu(const THotKeyGroup& Main) {
  THotKeyGroup view = Main.SubMenu("mnuView");
  view.SubMenu("mnuViewSyntax")
      .Menus("mnuViewSyntax", {"None", "HlURI", "HlWebMixed", "HlHTML", "HlPHP", "HlCSS", "HlJS",
                               "HlVBS"});
  view.Menu("mnuViewLineBreak", "CA|L");
  view.Menu("mnuViewSpecialChars", "CA|C");
  view.Menu("mnuViewReadOnly");
  THotKeyGroup font = view.SubMenu("mnuViewFont");
  font.Menu("mnuViewFontZoomIn", "SCA|9");
  font.Menu("mnuViewFontZoomOut", "SCA|8");
  font.Menu("mnuViewFontZoomNormal", "SCA|0");
  view.Menu("mnuViewUseAsciiFont", "C|D");
  view.Menu("mnuViewCharProp", "C|+");
  view.Menu("mnuViewDocSearchHide", "SC|+");
  view.Menu("mnuViewLeftPanelHide", "SC|<");
  view.Menus("mnuView", {"ToolBar", "StatusBar"});
  view.Menu("mnuViewStayOnTop", "C|T");
  view.Menu("mnuViewWindowList", "C|L");
}

void RegisterExtrasAndHelpMenus(const THotKeyGroup& Main) {
  THotKeyGroup extras = Main.SubMenu("mnuExtras");
  extras.Menu("mnuExtrasExecute", "C|E");
  extras.Menus("mnuExtras", {"DefApp", "OpenFolder", "PluginMgr", "HotKeySetup", "Settings"});
  THotKeyGroup help = Main.SubMenu("mnuHelp");
  help.Menu("mnuHelpHelp", "|F1");
  help.Menus("mnuHelp", {"Website", "EMail", "Info"});
}

void RegisterMainWindowKeys(const THotKeyGroup& Window) {
  Window.Sub(Lang("HotKeys|PopUpFileTab", "Kontextmen\xFC (Datei-Register)"))
      .Menus("pmnuTabs", {"CopyFullPath", "CopyFileName", "CopyFilePath"});
  Window.Sub(Lang("HotKeys|PopUpBottom", "Kontextmen\xFC (Unterer Anzeigenbereich)"))
      .Menu("pmnuBottomHide");

  THotKeyGroup tabs = Window.Sub(Lang("HotKeys|FileTab", "Datei-Register"));
  tabs.Add("frmMain_KeyDownMoveTabLeft", Lang("HotKeys|FileTabMoveLeft", "Nach links verschieben"),
           "SA|Left");
  tabs.Add("frmMain_KeyDownMoveTabRight",
           Lang("HotKeys|FileTabMoveRight", "Nach rechts verschieben"), "SA|Right");
  tabs.Add("frmMain_KeyDownChangeTabLeft", Lang("HotKeys|FileTabChangeLeft", "Nach links wechseln"),
           "A|Left");
  tabs.Add("frmMain_KeyDownChangeTabBack", Lang("HotKeys|FileTabChangeBack", "Nach links wechseln"),
           "SC|Tab");
  tabs.Add("frmMain_KeyDownChangeTabRight",
           Lang("HotKeys|FileTabChangeRight", "Nach rechts wechseln"), "A|Right");
  tabs.Add("frmMain_KeyDownChangeTab", Lang("HotKeys|FileTabChangeTab", "Nach rechts wechseln"),
           "C|Tab");

  struct TInsertKey {
    const char* Name;
    const char* TextKey;
    const char* Text;
    const char* Key;
  };
  static const TInsertKey insertKeys[] = {
      {"TEMPLATE", "HotKeys|EditorHotkeysInsertTemplate", "Textvorlage einf\xFCgen", "SC|Space"},
      {"BR", "HotKeys|EditorHotkeysBR", "<br>|", "S|Enter"},
      {"BRCRLF", "HotKeys|EditorHotkeysBRcrlf", "<br>[CR+LF]|", "C|Enter"},
      {"P", "HotKeys|EditorHotkeysP", "<p>|</p>", "SC|Enter"},
      {"PLUS", "HotKeys|EditorHotkeysNew", "[+] |", "C|Add (NumPad)"},
      {"MUL", "HotKeys|EditorHotkeysChanged", "[*] |", "C|Multiply (NumPad)"},
      {"SUB", "HotKeys|EditorHotkeysRemoved", "[-] |", "C|Subtract (NumPad)"},
      {"PLUSDATE", "HotKeys|EditorHotkeysNewDate", "[+] yyy-mm-dd: |", "SC|Add (NumPad)"},
      {"MULDATE", "HotKeys|EditorHotkeysChangedDate", "[*] yyy-mm-dd: |", "SC|Multiply (NumPad)"},
      {"SUBDATE", "HotKeys|EditorHotkeysRemovedDate", "[-] yyy-mm-dd: |", "SC|Subtract (NumPad)"},
      {"NBSP", "HotKeys|EditorHotkeysNBSP", "&&nbsp;|", "SCA|Space"},
      {"AMP", "HotKeys|EditorHotkeysAMP", "&&amp;|", "SCA|A"},
      {"GT", "HotKeys|EditorHotkeysGT", "&&gt;|", "SCA|G"},
      {"LT", "HotKeys|EditorHotkeysLT", "&&lt;|", "SCA|L"},
      {"B", "HotKeys|EditorHotkeysB", "<b>|</b>", "SCA|B"},
      {"I", "HotKeys|EditorHotkeysI", "<i>|</i>", "SCA|I"},
      {"U", "HotKeys|EditorHotkeysU", "<u>|</u>", "SCA|U"},
  };
  THotKeyGroup insert = Window.Sub(Lang("HotKeys|EditorHotkeys", "Editor-Shortcuts"));
  for (const TInsertKey& k : insertKeys)
    insert.Add(std::string("frmMain_frameEdit_") + k.Name, Lang(k.TextKey, k.Text), k.Key);
}

// One editor hot key in the order its keystroke is added.
struct TEditorHotKey {
  const char* Command;  // the name is "Edit_" + this
  TCodeEditorCommand Number;
  const char* Default;
};

const TEditorHotKey EditorHotKeys[] = {
    {"ecUp", ecUp, "|Up"}, {"ecScrollUp", ecScrollUp, "C|Up"}, {"ecDown", ecDown, "|Down"},
    {"ecScrollDown", ecScrollDown, "C|Down"}, {"ecLeft", ecLeft, "|Left"},
    {"ecWordLeft", ecWordLeft, "C|Left"}, {"ecRight", ecRight, "|Right"},
    {"ecWordRight", ecWordRight, "C|Right"}, {"ecPageDown", ecPageDown, "|PgDn"},
    {"ecPageBottom", ecPageBottom, "C|PgDn"}, {"ecPageUp", ecPageUp, "|PgUp"},
    {"ecPageTop", ecPageTop, "C|PgUp"}, {"ecLineStart", ecLineStart, "|Home"},
    {"ecEditorTop", ecEditorTop, "C|Home"}, {"ecLineEnd", ecLineEnd, "|End"},
    {"ecEditorBottom", ecEditorBottom, "C|End"}, {"ecMatchBracket", ecMatchBracket, "SC|B"},
    {"ecSelectAll", ecSelectAll, "C|A"}, {"ecSelUp", ecSelUp, "S|Up"},
    {"ecSelDown", ecSelDown, "S|Down"}, {"ecSelLeft", ecSelLeft, "S|Left"},
    {"ecSelWordLeft", ecSelWordLeft, "SC|Left"}, {"ecSelRight", ecSelRight, "S|Right"},
    {"ecSelWordRight", ecSelWordRight, "SC|Right"}, {"ecSelPageDown", ecSelPageDown, "S|PgDn"},
    {"ecSelPageBottom", ecSelPageBottom, "SC|PgDn"}, {"ecSelPageUp", ecSelPageUp, "S|PgUp"},
    {"ecSelPageTop", ecSelPageTop, "SC|PgUp"}, {"ecSelLineStart", ecSelLineStart, "S|Home"},
    {"ecSelEditorTop", ecSelEditorTop, "SC|Home"}, {"ecSelLineEnd", ecSelLineEnd, "S|End"},
    {"ecSelEditorBottom", ecSelEditorBottom, "SC|End"},
    {"ecNormalSelect", ecNormalSelect, "SA|N"}, {"ecColumnSelect", ecColumnSelect, "SA|C"},
    {"ecLineSelect", ecLineSelect, "SA|L"}, {"ecDeleteChar", ecDeleteChar, "|Del"},
    {"ecDeleteLastChar", ecDeleteLastChar, "|BkSp"},
    {"ecDeleteLastCharAlt", ecDeleteLastChar, "S|BkSp"},
    {"ecDeleteLastWord", ecDeleteLastWord, "C|BkSp"}, {"ecLineBreak", ecLineBreak, "|Enter"},
    {"ecTab", ecTab, "|Tab"}, {"ecShiftTab", ecShiftTab, "S|Tab"},
    {"ecBlockIndent", ecBlockIndent, "SC|I"}, {"ecBlockUnindent", ecBlockUnindent, "SC|U"},
    {"ecInsertLine", ecInsertLine, "C|N"}, {"ecDeleteWord", ecDeleteWord, "C|T"},
    {"ecDeleteLine", ecDeleteLine, "C|Y"}, {"ecDeleteEOL", ecDeleteEOL, "SC|Y"},
    {"ecUndo", ecUndo, "A|BkSp"}, {"ecRedo", ecRedo, "SA|BkSp"}, {"ecCopy", ecCopy, "C|Ins"},
    {"ecCut", ecCut, "S|Del"}, {"ecPaste", ecPaste, "S|Ins"},
    {"ecToggleMode", ecToggleMode, "|Ins"},
    {"ecGotoMarker0", ecGotoMarker0, "C|0"}, {"ecGotoMarker1", ecGotoMarker1, "C|1"},
    {"ecGotoMarker2", ecGotoMarker2, "C|2"}, {"ecGotoMarker3", ecGotoMarker3, "C|3"},
    {"ecGotoMarker4", ecGotoMarker4, "C|4"}, {"ecGotoMarker5", ecGotoMarker5, "C|5"},
    {"ecGotoMarker6", ecGotoMarker6, "C|6"}, {"ecGotoMarker7", ecGotoMarker7, "C|7"},
    {"ecGotoMarker8", ecGotoMarker8, "C|8"}, {"ecGotoMarker9", ecGotoMarker9, "C|9"},
    {"ecSetMarker0", ecSetMarker0, "SC|0"}, {"ecSetMarker1", ecSetMarker1, "SC|1"},
    {"ecSetMarker2", ecSetMarker2, "SC|2"}, {"ecSetMarker3", ecSetMarker3, "SC|3"},
    {"ecSetMarker4", ecSetMarker4, "SC|4"}, {"ecSetMarker5", ecSetMarker5, "SC|5"},
    {"ecSetMarker6", ecSetMarker6, "SC|6"}, {"ecSetMarker7", ecSetMarker7, "SC|7"},
    {"ecSetMarker8", ecSetMarker8, "SC|8"}, {"ecSetMarker9", ecSetMarker9, "SC|9"},
};
static_assert(std::size(EditorHotKeys) == EditorHotKeyCount);

const TEditorHotKey& EditorHotKey(const std::string& Command) {
  for (const TEditorHotKey& k : EditorHotKeys)
    if (Command == k.Command) return k;
  throw Exception("No editor hot key " + Command);
}

struct TEditorText {
  const char* Command;
  const char* TextKey;
  const char* Text;
};

void AddEditorGroup(const THotKeyGroup& Group, std::initializer_list<TEditorText> Items) {
  for (const TEditorText& i : Items)
    Group.Add(std::string("Edit_") + i.Command, Lang(i.TextKey, i.Text),
              EditorHotKey(i.Command).Default);
}

void AddEditorMenuGroup(const THotKeyGroup& Group,
                        std::initializer_list<std::pair<const char*, const char*>> Items) {
  for (const auto& [command, component] : Items)
    Group.Add(std::string("Edit_") + command, MenuText(component), EditorHotKey(command).Default);
}

void AddEditorBookmarks(const THotKeyGroup& Group, const char* Command, const char* TextKey) {
  for (char d = '0'; d <= '9'; ++d) {
    const std::string digit(1, d), command = Command + digit;
    Group.Add("Edit_" + command, GetLangText(TextKey, "Lesezeichen &%s1%", LangParams({digit})),
              EditorHotKey(command).Default);
  }
}

void RegisterEditorKeys(const THotKeyGroup& Editor) {
  AddEditorGroup(
      Editor.Sub(Lang("HotKeys|EditorNavigation", "Navigation")),
      {{"ecUp", "HotKeys|EditorNavUp", "Cursor hinauf"},
       {"ecScrollUp", "HotKeys|EditorNavScrUp", "Hinaufscrollen"},
       {"ecDown", "HotKeys|EditorNavDown", "Cursor runter"},
       {"ecScrollDown", "HotKeys|EditorNavScrDown", "Hinunterscrollen"},
       {"ecLeft", "HotKeys|EditorNavLeft", "Cursor links"},
       {"ecWordLeft", "HotKeys|EditorNavWordLeft", "Wort links"},
       {"ecRight", "HotKeys|EditorNavRight", "Cursor rechts"},
       {"ecWordRight", "HotKeys|EditorNavWordRight", "Wort rechts"},
       {"ecPageDown", "HotKeys|EditorNavPgDown", "Seite hinunter"},
       {"ecPageBottom", "HotKeys|EditorNavPgEnd", "Seitenende"},
       {"ecPageUp", "HotKeys|EditorNavPgUp", "Seite hinauf"},
       {"ecPageTop", "HotKeys|EditorNavPgTop", "Seitenanfang"},
       {"ecLineStart", "HotKeys|EditorNavLnStart", "Zeilenanfang"},
       {"ecEditorTop", "HotKeys|EditorNavDocTop", "Dokumentanfang"},
       {"ecLineEnd", "HotKeys|EditorNavLnEnd", "Zeilenende"},
       {"ecEditorBottom", "HotKeys|EditorNavDocEnd", "Dokumentende"},
       {"ecMatchBracket", "HotKeys|EditorNavMatchBracket",
        "Zur zusammengeh\xF6rige Klammer springen"}});
  AddEditorGroup(Editor.Sub(Lang("HotKeys|EditorSel", "Auswahl")),
                 {{"ecSelectAll", "HotKeys|EditorSelAll", "Alles markieren"},
                  {"ecSelUp", "HotKeys|EditorSelUp", "Hinauf"},
                  {"ecSelDown", "HotKeys|EditorSelDown", "Auswahl herunter"},
                  {"ecSelLeft", "HotKeys|EditorSelLeft", "Auswahl links"},
                  {"ecSelWordLeft", "HotKeys|EditorSelWordLeft", "Wort links"},
                  {"ecSelRight", "HotKeys|EditorSelRight", "Auswahl rechts"},
                  {"ecSelWordRight", "HotKeys|EditorSelWordRight", "Wort rechts"},
                  {"ecSelPageDown", "HotKeys|EditorSelPgDown", "Seite hinunter"},
                  {"ecSelPageBottom", "HotKeys|EditorSelPgEnd", "Seitenende"},
                  {"ecSelPageUp", "HotKeys|EditorSelPgUp", "Seite hinauf"},
                  {"ecSelPageTop", "HotKeys|EditorSelPgTop", "Seitenanfang"},
                  {"ecSelLineStart", "HotKeys|EditorSelLnStart", "Zeilenanfang"},
                  {"ecSelEditorTop", "HotKeys|EditorSelDocTop", "Dokumentanfang"},
                  {"ecSelLineEnd", "HotKeys|EditorSelLnEnd", "Zeilenende"},
                  {"ecSelEditorBottom", "HotKeys|EditorSelDocEnd", "Dokumentende"}});
  AddEditorMenuGroup(Editor.Sub(MenuText("mnuEditSelMode")),
                     {{"ecNormalSelect", "mnuEditSelModeNormal"},
                      {"ecLineSelect", "mnuEditSelModeLine"},
                      {"ecColumnSelect", "mnuEditSelModeColumn"}});
  AddEditorGroup(
      Editor.Sub(Lang("HotKeys|EditorFmt", "Formatierung")),
      {{"ecDeleteChar", "HotKeys|EditorFmtDelChar", "Zeichen rechts l\xF6schen"},
       {"ecDeleteLastChar", "HotKeys|EditorFmtDelLastChar", "Zeichen links l\xF6schen"},
       {"ecDeleteLastCharAlt", "HotKeys|EditorFmtDelLastCharAlt",
        "Zeichen links l\xF6schen (alternativ)"},
       {"ecDeleteLastWord", "HotKeys|EditorFmtDelLastWord", "Wort links l\xF6schen"},
       {"ecLineBreak", "HotKeys|EditorFmtLnBrk", "Zeilenumbruch"},
       {"ecTab", "HotKeys|EditorFmtTab", "Tabulator"},
       {"ecShiftTab", "HotKeys|EditorFmtTabBack", "Tabulator zur\xFC" "ck"},
       {"ecBlockIndent", "HotKeys|EditorFmtBlockIn", "Block einr\xFC" "cken"},
       {"ecBlockUnindent", "HotKeys|EditorFmtBlockOut", "Block ausr\xFC" "cken"},
       {"ecInsertLine", "HotKeys|EditorFmtInsLn", "Zeile einf\xFCgen"},
       {"ecDeleteWord", "HotKeys|EditorFmtDelWord", "Wort l\xF6schen"},
       {"ecDeleteLine", "HotKeys|EditorFmtDelLn", "Zeile l\xF6schen"},
       {"ecDeleteEOL", "HotKeys|EditorFmtDelEOL", "Bis Zeilenende l\xF6schen"}});
  THotKeyGroup edit = Editor.Sub(MenuText("mnuEdit"));
  AddEditorMenuGroup(edit, {{"ecUndo", "mnuEditUndo"},
                            {"ecRedo", "mnuEditRedo"},
                            {"ecCopy", "mnuEditCopy"},
                            {"ecCut", "mnuEditCut"},
                            {"ecPaste", "mnuEditPaste"}});
  AddEditorGroup(edit, {{"ecToggleMode", "HotKeys|EditorInsOvr",
                         "Einf\xFCgen/\xDC" "berschreiben"}});
  AddEditorBookmarks(Editor.Sub(MenuText("mnuEditBookmarkSet")), "ecSetMarker",
                     "Main|mnuEditBookmarkSetItem");
  AddEditorBookmarks(Editor.Sub(MenuText("mnuEditBookmarkGoto")), "ecGotoMarker",
                     "Main|mnuEditBookmarkGotoItem");
}

void RegisterWindowListKeys(const THotKeyGroup& Context) {
  struct TWindowListKey {
    const char* Component;
    const char* Text;
    const char* Key;
  };
  static const TWindowListKey keys[] = {
      {"pmnuWinClose", "S&chlie\xDF" "en", "C|C"},
      {"pmnuWinCloseAll", "A&lle schlie\xDF" "en", "SC|C"},
      {"pmnuWinSave", "&Speichern", "C|S"},
      {"pmnuWinSaveAll", "Alle s&peichern", "SC|S"},
      {"pmnuWinLockUnlock", "&Eingabe sperren / entsperren", "C|L"},
      {"pmnuWinSelectAll", "&Alle ausw\xE4hlen", "C|A"},
      {"pmnuWinInvertSel", "Auswahl &umkehren", "C|I"},
  };
  for (const TWindowListKey& k : keys)
    Context.Add(std::string("frmWindowList_") + k.Component,
                GetLangText(std::string("WindowList|") + k.Component, k.Text), k.Key);
}

}  // namespace

namespace {
// Both tables from the defaults, in the current language.
void RegisterHotKeys() {
  InitKeyNames();
  const std::string mainWindow = Lang("HotKeys|MainWindow", "Hauptfenster");
  const THotKeyGroup window(mainWindow);
  const THotKeyGroup mainMenu = window.Sub(Lang("HotKeys|MainMenu", "Hauptmen\xFC"));
  RegisterFileMenu(mainMenu);
  RegisterEditMenu(mainMenu);
  RegisterSearchMenu(mainMenu);
  RegisterInsertMenu(mainMenu);
  RegisterFormatMenu(mainMenu);
  RegisterViewMenu(mainMenu);
  RegisterExtrasAndHelpMenus(mainMenu);
  RegisterMainWindowKeys(window);
  RegisterEditorKeys(THotKeyGroup(Lang("HotKeys|Editor", "Editor")));
  RegisterWindowListKeys(THotKeyGroup(Lang("HotKeys|WindowList", "Fensterliste"))
                             .Sub(mainWindow)
                             .Sub(Lang("HotKeys|WindowListContext", "Kontextmen\xFC")));
}

// The keys Held gives the hot keys of those names.
void KeepKeys(const std::vector<THotKeyRec>& Held) {
  for (THotKeyRec& h : HotKeyList) {
    auto held = std::find_if(Held.begin(), Held.end(),
                             [&](const THotKeyRec& k) { return k.Name == h.Name; });
    if (held != Held.end()) h.Current = held->Current;
  }
}
}  // namespace

void InitHotKeys() { ReloadHotKeys({}); }  // none held yet: an unreadable file leaves the defaults

void ReloadHotKeys(std::vector<THotKeyRec> Held) {  // a copy: the tables are rebuilt
  RegisterHotKeys();
  const std::string fileName = Settings.AppDir + HotKeyFileName;
  const bool read = LoadHotKeys(fileName);
  NoteStoreRead(fileName, !read);
  if (!read) KeepKeys(Held);
  ApplyMenuHotKeys();
}

void ApplyMenuHotKeys() {
  if (!frmMain) return;
  auto assign = [](const std::string& Item, const std::string& HotKey) {
    if (TMenuItem* item = frmMain->Find<TMenuItem>(Item)) item->SetShortCut(GetHotKey(HotKey));
  };
  const std::string prefix = "frmMain_";
  for (const THotKeyRec& h : HotKeyList) {
    if (h.Name.rfind(prefix + "mnu", 0) != 0 && h.Name.rfind(prefix + "pmnu", 0) != 0) continue;
    assign(MenuItemName(h.Name.substr(prefix.size())), h.Name);
  }
  // The search panel's edit menu repeats the main menu's clipboard keys.
  assign("pmnuSREditCut", "frmMain_mnuEditCut");
  assign("pmnuSREditCopy", "frmMain_mnuEditCopy");
  assign("pmnuSREditPaste", "frmMain_mnuEditPaste");
}

void ApplyEditorHotKeys(TCustomCodeEdit* Editor) {
  if (!Editor) return;
  TCodeEditKeyStrokes& keys = Editor->Keystrokes();
  keys.Clear();
  for (const TEditorHotKey& k : EditorHotKeys) {
    TShortCut shortCut = GetHotKey(std::string("Edit_") + k.Command);
    // A key another row already holds would be refused by the editor: this row goes without
    // a key, and the rows after it still get theirs.
    if (shortCut != scNone && keys.FindShortcutPair(shortCut, scNone) >= 0) shortCut = scNone;
    uint16_t key = 0;
    TShiftState shift;
    ShortCutToKey(shortCut, key, shift);
    keys.AddKey(k.Number, key, shift);
  }
}
