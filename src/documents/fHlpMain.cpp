#include "documents/fHlpMain.h"
#include <shlobj.h>
#include <algorithm>
#include <variant>
#include <vector>
#include "documents/StoreGuard.h"
#include "documents/XmlDoc.h"
#include "documents/XmlDocSystem.h"
#include "documents/fLanguage.h"
#include "foundation/fMain.h"
#include "rtl/SysUtils.h"
#include "toolkit/Dialogs.h"

TSettings Settings;
bool DocsOpen = false;
const char* const ConfigFileName = "Tarvoline.config";

namespace R = SettingRanges;
const std::vector<TRangedSettingKey> RangedSettingKeys = {
    {"General\\OpenSizeWarnMB", R::OpenSizeWarnMB},
    {"Editor\\RightEdge", R::RightEdge},
    {"Editor\\TabWidth", R::TabWidth},
    {"Editor\\MaxTabCaptionLen", R::MaxTabCaptionLen},
    {"Editor\\ExtraLineSpacing", R::ExtraLineSpacing},
    {"Editor\\AnsiFontSize", R::FontSize},
    {"Editor\\AsciiFontSize", R::FontSize},
    {"MRULists\\OpenMRUMaxItems", R::OpenMRUMaxItems},
    {"Printer\\MarginTop", R::Margin},
    {"Printer\\MarginBottom", R::Margin},
    {"Printer\\MarginLeft", R::Margin},
    {"Printer\\MarginRight", R::Margin},
    {"Printer\\MarginGutter", R::Margin},
    {"Printer\\MarginHeader", R::Margin},
    {"Printer\\MarginFooter", R::Margin},
    {"Printer\\MarginInternal", R::Margin},
    {"Printer\\MarginLeftIndent", R::Margin},
    {"Printer\\MarginRightIndent", R::Margin},
    {"Printer\\HeaderLeftFont\\Size", R::FontSize},
    {"Printer\\HeaderCenterFont\\Size", R::FontSize},
    {"Printer\\HeaderRightFont\\Size", R::FontSize},
    {"Printer\\FooterLeftFont\\Size", R::FontSize},
    {"Printer\\FooterCenterFont\\Size", R::FontSize},
    {"Printer\\FooterRightFont\\Size", R::FontSize},
};

namespace {
const char* const kSettingsRoot = "Settings\\";
// The program name alone: no publisher address is known to put beside it.
const char* const kHeaderLeftText = "Tarvoline";

// The field a key reads and writes; its type gives the value form in the file:
// B bool, I integer, F float, S string, L list.
using TFieldRef = std::variant<bool*, int32_t*, double*, std::string*, TStringList*>;
// A list's default is its text.
using TDefault = std::variant<bool, int32_t, double, std::string>;

struct TSettingKey {
  std::string Path;  // below "Settings"
  TFieldRef Field;
  TDefault Default;
  bool OnlyWhenEmpty = false;  // keeps a value set before loading
};

void AddFontKeys(std::vector<TSettingKey>& Keys, const std::string& Path, TFontDetail& Font,
                 const TFontDetail& Default) {
  Keys.push_back({Path + "\\Name", &Font.Name, Default.Name});
  Keys.push_back({Path + "\\Size", &Font.Size, Default.Size});
  Keys.push_back({Path + "\\Charset", &Font.Charset, Default.Charset});
  Keys.push_back({Path + "\\Color", &Font.Color, Default.Color});
  Keys.push_back({Path + "\\StyleBold", &Font.StyleBold, Default.StyleBold});
  Keys.push_back({Path + "\\StyleItalic", &Font.StyleItalic, false});
  Keys.push_back({Path + "\\StyleUnderline", &Font.StyleUnderline, false});
  Keys.push_back({Path + "\\StyleStrikeout", &Font.StyleStrikeout, false});
}

TFontDetail ArialFont(int32_t Size, int32_t Color, bool Bold) {
  TFontDetail f;
  f.Name = "Arial";
  f.Size = Size;
  f.Charset = 0;
  f.Color = Color;
  f.StyleBold = Bold;
  return f;
}

// Every key in the order LoadSettings reads them, with its field in S and its default.
std::vector<TSettingKey> SettingKeys(TSettings& S) {
  TGeneralSettings& G = S.General;
  TEditorSettings& E = S.Editor;
  TPrinterSettings& P = S.Printer;
  std::vector<TSettingKey> k = {
      {"Language", &S.Language, std::string(), true},
      {"WindowState", &S.WindowState, 2},
      {"FormTop", &S.FormTop, -1},
      {"FormLeft", &S.FormLeft, -1},
      {"FormWidth", &S.FormWidth, 750},
      {"FormHeight", &S.FormHeight, 550},
      {"ViewDocSearch", &S.ViewDocSearch, false},
      {"ViewLeftPanel", &S.ViewLeftPanel, false},
      {"ViewLeftPanelWidth", &S.ViewLeftPanelWidth, 250},
      {"ViewToolBar", &S.ViewToolBar, true},
      {"ViewStatusBar", &S.ViewStatusBar, true},
      {"LastOpenedSnipFile", &S.LastOpenedSnipFile, std::string()},
      {"CustomColors", &S.CustomColors, std::string()},

      {"OpenFast\\MaskMRU", &S.OpenFast.MaskMRU, std::string("*.txt")},
      {"OpenFast\\DirMRU", &S.OpenFast.DirMRU, std::string()},
      {"OpenFast\\IncludeSubDirs", &S.OpenFast.IncludeSubDirs, false},
      {"OpenFast\\SearchMRU", &S.OpenFast.SearchMRU, std::string()},
      {"OpenFast\\CaseSensitive", &S.OpenFast.CaseSensitive, false},
      {"OpenFast\\WholeWords", &S.OpenFast.WholeWords, false},
      {"OpenFast\\UseRegExpr", &S.OpenFast.UseRegExpr, false},
      {"OpenFast\\MultiLine", &S.OpenFast.MultiLine, false},
      {"OpenFast\\ReplaceMRU", &S.OpenFast.ReplaceMRU, std::string()},
      {"OpenFast\\ReplaceEscape", &S.OpenFast.ReplaceEscape, true},
      {"OpenFast\\ReplaceSelectedOnly", &S.OpenFast.ReplaceSelectedOnly, false},

      {"General\\ShowSplashScreen", &G.ShowSplashScreen, true},
      {"General\\DlgPageIndex", &G.DlgPageIndex, 0},
      {"General\\SaveFileOnExec", &G.SaveFileOnExec, false},
      {"General\\OpenBinWarn", &G.OpenBinWarn, true},
      {"General\\OpenSizeWarn", &G.OpenSizeWarn, true},
      {"General\\OpenSizeWarnMB", &G.OpenSizeWarnMB, 10},
      {"General\\AutoReadOnly", &G.AutoReadOnly, false},
      {"General\\BackupEnabled", &G.BackupEnabled, false},
      {"General\\BackupAuto", &G.BackupAuto, false},
      {"General\\BackupOvr", &G.BackupOvr, false},
      {"General\\BackupExt", &G.BackupExt, std::string("bak")},
      {"General\\BackupReplaceExt", &G.BackupReplaceExt, false},
      {"General\\SearchFocusEditor", &G.SearchFocusEditor, true},
      {"General\\SearchNotFoundMsg", &G.SearchNotFoundMsg, true},
      {"General\\SearchShowHits", &G.SearchShowHits, true},
      {"General\\SearchContinue", &G.SearchContinue, true},
      {"General\\SearchContinueQuery", &G.SearchContinueQuery, true},
      {"General\\CloseWithESC", &G.CloseWithESC, false},
      {"General\\CloseMultiDocs", &G.CloseMultiDocs, false},
      {"General\\NoFileMultiLoad", &G.NoFileMultiLoad, false},
      {"General\\ShowSaveDlg", &G.ShowSaveDlg, true},
      {"General\\ChangeNotify", &G.ChangeNotify, false},
      {"General\\ChangeNotifyAutoReload", &G.ChangeNotifyAutoReload, false},
      {"General\\ChangeNotifyCursorAtEnd", &G.ChangeNotifyCursorAtEnd, false},
      {"General\\OpenTrimTrailingSpaces", &G.OpenTrimTrailingSpaces, false},
      {"General\\SaveTrimTrailingSpaces", &G.SaveTrimTrailingSpaces, false},
      {"General\\AddToRecentFiles", &G.AddToRecentFiles, true},
      {"General\\ParamIgnoreNotExistingFiles", &G.ParamIgnoreNotExistingFiles, false},
      {"General\\HideDocSearchOnStartup", &G.HideDocSearchOnStartup, false},
      {"General\\MinimizeLastDocClosed", &G.MinimizeLastDocClosed, false},
      {"General\\SnippetsExpandStyle", &G.SnippetsExpandStyle, 1},
      {"General\\OpenLastDocsAtStartup", &G.OpenLastDocsAtStartup, false},
      {"MRULists\\LastDocList", &S.LastDocList, std::string()},
      {"General\\LastDocFileName", &S.LastDocFileName, std::string()},
      {"General\\AddLastDocsToOpened", &G.AddLastDocsToOpened, false},
      {"General\\OpenLastDocsNoPos", &G.OpenLastDocsNoPos, false},
      {"General\\SessionRestoreNoPos", &G.SessionRestoreNoPos, false},
      {"General\\TitleShowFullPath", &G.TitleShowFullPath, false},
      {"General\\TitleShowChanged", &G.TitleShowChanged, false},

      {"Editor\\WordWrap", &E.WordWrap, true},
      {"Editor\\ShowSpecialChars", &E.ShowSpecialChars, false},
      {"Editor\\ShowGutter", &E.ShowGutter, true},
      {"Editor\\ShowLineNumbers", &E.ShowLineNumbers, true},
      {"Editor\\RightEdge", &E.RightEdge, 80},
      {"Editor\\UseAsciiFont", &E.UseAsciiFont, false},
      {"Editor\\TabsToSpaces", &E.TabsToSpaces, false},
      {"Editor\\TabWidth", &E.TabWidth, 2},
      {"Editor\\SmartTabs", &E.SmartTabs, false},
      {"Editor\\AutoIndent", &E.AutoIndent, true},
      {"Editor\\TabIndent", &E.TabIndent, true},
      {"Editor\\ScrollPastEOL", &E.ScrollPastEOL, false},
      {"Editor\\ScrollPastEOF", &E.ScrollPastEOF, false},
      {"Editor\\ReplaceHtmlNamedChars", &E.ReplaceHtmlNamedChars, false},
      {"Editor\\EnhanceHomeEndKey", &E.EnhanceHomeEndKey, false},
      {"Editor\\TrimTrailingSpaces", &E.TrimTrailingSpaces, false},
      {"Editor\\ActiveLineMark", &E.ActiveLineMark, true},
      {"Editor\\ActiveLineColor", &E.ActiveLineColor, 13172735},
      {"Editor\\SelectBlockWithAlt", &E.SelectBlockWithAlt, false},
      {"Editor\\BracketsHighlight", &E.BracketsHighlight, false},
      {"Editor\\MaxTabCaptionLen", &E.MaxTabCaptionLen, 30},
      {"Editor\\OvrModeAsDef", &E.OvrModeAsDef, false},
      {"Editor\\TabMultiLine", &E.TabMultiLine, false},
      {"Editor\\BackgroundColor", &E.BackgroundColor, 16777215},
      {"Editor\\ExtraLineSpacing", &E.ExtraLineSpacing, 0},
      {"Editor\\SpCharReplace", &E.SpCharReplace, 0},
      {"Editor\\SpCharReplaceFile", &E.SpCharReplaceFile, std::string()},
      {"Editor\\TabPosition", &E.TabPosition, 0},
      {"Editor\\AnsiFontName", &E.AnsiFontName, std::string("Courier New")},
      {"Editor\\AnsiFontSize", &E.AnsiFontSize, 9},
      {"Editor\\AnsiFontCharset", &E.AnsiFontCharset, 1},
      {"Editor\\AsciiFontName", &E.AsciiFontName, std::string("Terminal")},
      {"Editor\\AsciiFontSize", &E.AsciiFontSize, 14},
      {"Editor\\BracketsAuto", &E.BracketsAuto, false},
      {"Editor\\BracketsAutoStart", &E.BracketsAutoStart, std::string("<[{(''\"")},
      {"Editor\\BracketsAutoClose", &E.BracketsAutoClose, std::string(">]})''\"")},

      {"FileTypes", &S.FileTypes, std::string()},

      {"MRULists\\OpenMRUMaxItems", &G.OpenMRUMaxItems, 20},
      {"MRULists\\OpenMRU", &S.OpenMRU, std::string()},
      {"MRULists\\SearchMRU", &S.SearchMRU, std::string()},
      {"MRULists\\ReplaceMRU", &S.ReplaceMRU, std::string()},
      {"AppList", &S.AppList, std::string()},

      {"Printer\\Highlight", &P.Highlight, true},
      {"Printer\\LineNumbers", &P.LineNumbers, true},
      {"Printer\\LineNumbersInMargin", &P.LineNumbersInMargin, true},
      {"Printer\\Colors", &P.Colors, true},
      {"Printer\\Wrap", &P.Wrap, true},
      {"Printer\\Mirror", &P.Mirror, false},
      {"Printer\\MarginUnit", &P.MarginUnit, 1},
      {"Printer\\MarginTop", &P.MarginTop, 1.5},
      {"Printer\\MarginBottom", &P.MarginBottom, 1.5},
      {"Printer\\MarginLeft", &P.MarginLeft, 2.0},
      {"Printer\\MarginRight", &P.MarginRight, 1.5},
      {"Printer\\MarginGutter", &P.MarginGutter, 0.0},
      {"Printer\\MarginHeader", &P.MarginHeader, 1.2},
      {"Printer\\MarginFooter", &P.MarginFooter, 1.2},
      {"Printer\\MarginInternal", &P.MarginInternal, 0.05},
      {"Printer\\MarginLeftIndent", &P.MarginLeftIndent, 0.0},
      {"Printer\\MarginRightIndent", &P.MarginRightIndent, 0.0},
      {"Printer\\UseHeader", &P.UseHeader, true},
      {"Printer\\HeaderLeftText", &P.HeaderLeftText, std::string(kHeaderLeftText)},
  };
  AddFontKeys(k, "Printer\\HeaderLeftFont", P.HeaderLeftFont, ArialFont(9, 8421504, true));
  k.push_back({"Printer\\HeaderCenterText", &P.HeaderCenterText, std::string("$FILENAME$")});
  AddFontKeys(k, "Printer\\HeaderCenterFont", P.HeaderCenterFont, ArialFont(10, 8388608, true));
  k.push_back({"Printer\\HeaderRightText", &P.HeaderRightText, std::string("$DATE$, $TIME$")});
  AddFontKeys(k, "Printer\\HeaderRightFont", P.HeaderRightFont, ArialFont(9, 8421504, false));
  k.insert(k.end(), {
      {"Printer\\HeaderBorder", &P.HeaderBorder, false},
      {"Printer\\HeaderLine", &P.HeaderLine, true},
      {"Printer\\HeaderLineColor", &P.HeaderLineColor, 8421504},
      {"Printer\\HeaderMirror", &P.HeaderMirror, false},
      {"Printer\\HeaderBackColor", &P.HeaderBackColor, 16777215},
      {"Printer\\HeaderUseBackColor", &P.HeaderUseBackColor, false},
      {"Printer\\UseFooter", &P.UseFooter, true},
      {"Printer\\FooterLeftText", &P.FooterLeftText, std::string("$FULLPATH$")},
  });
  AddFontKeys(k, "Printer\\FooterLeftFont", P.FooterLeftFont, ArialFont(8, 0, false));
  k.push_back({"Printer\\FooterCenterText", &P.FooterCenterText, std::string()});
  AddFontKeys(k, "Printer\\FooterCenterFont", P.FooterCenterFont, ArialFont(8, 0, false));
  k.push_back({"Printer\\FooterRightText", &P.FooterRightText,
               GetLangText("PreDef|FooterRightText", "Seite $PAGENUM$ von $PAGECOUNT$")});
  AddFontKeys(k, "Printer\\FooterRightFont", P.FooterRightFont, ArialFont(8, 0, true));
  k.insert(k.end(), {
      {"Printer\\FooterBorder", &P.FooterBorder, false},
      {"Printer\\FooterLine", &P.FooterLine, true},
      {"Printer\\FooterLineColor", &P.FooterLineColor, 8421504},
      {"Printer\\FooterMirror", &P.FooterMirror, false},
      {"Printer\\FooterBackColor", &P.FooterBackColor, 16777215},
      {"Printer\\FooterUseBackColor", &P.FooterUseBackColor, false},

      {"SearchReplace\\AllFiles", &S.SearchReplace.AllFiles, false},
      {"SearchReplace\\ShowInTab", &S.SearchReplace.ShowInTab, false},
      {"SearchReplace\\MultiLine", &S.SearchReplace.MultiLine, false},
      {"SearchReplace\\CaseSensitive", &S.SearchReplace.CaseSensitive, false},
      {"SearchReplace\\WholeWords", &S.SearchReplace.WholeWords, false},
      {"SearchReplace\\UseRegExpr", &S.SearchReplace.UseRegExpr, false},
      {"SearchReplace\\FromTop", &S.SearchReplace.FromTop, false},
      {"SearchReplace\\ReplaceEscape", &S.SearchReplace.ReplaceEscape, false},
  });
  return k;
}

void MoveKeyAfter(std::vector<TSettingKey>& Keys, const std::string& Path, const std::string& After) {
  auto byPath = [](const std::string& p) { return [&p](const TSettingKey& k) { return k.Path == p; }; };
  auto from = std::find_if(Keys.begin(), Keys.end(), byPath(Path));
  TSettingKey moved = *from;
  Keys.erase(from);
  auto to = std::find_if(Keys.begin(), Keys.end(), byPath(After));
  Keys.insert(to + 1, moved);
}

// The writing order: the reading order with three groups of keys placed as the file has them.
std::vector<TSettingKey> SettingKeysInWritingOrder(TSettings& S) {
  std::vector<TSettingKey> k = SettingKeys(S);
  MoveKeyAfter(k, "MRULists\\LastDocList", "General\\TitleShowChanged");
  MoveKeyAfter(k, "General\\LastDocFileName", "MRULists\\LastDocList");
  MoveKeyAfter(k, "Editor\\TabPosition", "Editor\\TabMultiLine");
  return k;
}

std::string ListText(const TStringList& List) { return Trim(List.Text()); }

// A number outside its key's range takes the default.
template <class T>
T WithinRange(const TSettingKey& Key, T Value, T Default) {
  for (const TRangedSettingKey& ranged : RangedSettingKeys)
    if (Key.Path == ranged.Path) return ranged.Range.Contains(Value) ? Value : Default;
  return Value;
}

void ReadKey(const TXmlDoc& Doc, const TSettingKey& Key) {
  const std::string path = kSettingsRoot + Key.Path;
  std::visit(
      [&](auto* field) {
        using T = std::remove_pointer_t<decltype(field)>;
        if constexpr (std::is_same_v<T, bool>) {
          *field = Doc.ReadBool(path, std::get<bool>(Key.Default));
        } else if constexpr (std::is_same_v<T, int32_t>) {
          const int32_t def = std::get<int32_t>(Key.Default);
          *field = WithinRange(Key, Doc.ReadInteger(path, def), def);
        } else if constexpr (std::is_same_v<T, double>) {
          const double def = std::get<double>(Key.Default);
          *field = WithinRange(Key, StrToFloatDef(Doc.ReadString(path, FloatToStr(def)), def), def);
        } else if constexpr (std::is_same_v<T, std::string>) {
          if (!(Key.OnlyWhenEmpty && !field->empty()))
            *field = Doc.ReadString(path, std::get<std::string>(Key.Default));
        } else {
          field->SetText(Trim(Doc.ReadString(path, std::get<std::string>(Key.Default))));
        }
      },
      Key.Field);
}

void WriteKey(TXmlDoc& Doc, const TSettingKey& Key) {
  const std::string path = kSettingsRoot + Key.Path;
  std::visit(
      [&](auto* field) {
        using T = std::remove_pointer_t<decltype(field)>;
        if constexpr (std::is_same_v<T, bool>) Doc.WriteBool(path, *field, true);
        else if constexpr (std::is_same_v<T, int32_t>) Doc.WriteInteger(path, *field);
        else if constexpr (std::is_same_v<T, double>) Doc.WriteString(path, FloatToStr(*field));
        else if constexpr (std::is_same_v<T, std::string>) Doc.WriteString(path, *field);
        else Doc.WriteString(path, ListText(*field));
      },
      Key.Field);
}

struct TFileTypeRow {
  const char* key;
  const char* name;
  const char* masks;
  const char* ext;
  const char* highlighter;
};

const TFileTypeRow kFileTypeRows[] = {
    {"FilterTypeAll", "Alle Dateien", "*.*", "", ":URI:"},
    {"FilterTypeTXT", "Textdateien", "*.txt", "txt", ":URI:"},
    {"FilterTypeHTML", "HTML-Dateien", "*.html;*.htm;*.shtm;*.shtml", "html", ":WebMixed:"},
    {"FilterTypePHP", "PHP-Dateien", "*.php;*.php3;*.phtml", "php", ":WebMixed:"},
    {"FilterTypeCSS", "CSS-Dateien", "*.css", "css", ":CSS:"},
    {"FilterTypeJS", "JavaScript", "*.js", "js", ":JS:"},
    {"FilterTypeVBS", "VBScript", "*.vbs", "vbs", ":VBS:"},
    {"FilterTypeBAT", "Batch-Dateien", "*.bat;*.cmd", "bat", "Batch & Command"},
    {"FilterTypeC++", "C / C++ Dateien", "*.c;*.cpp;*.h;*.hpp", "cpp", "C++"},
    {"FilterTypeC#", "C# Dateien", "*.cs", "cs", "CS"},
    {"FilterTypePAS", "Delphi", "*.pas;*.~pas;*.pp;*.dpr;*.dpk", "pas", "Delphi"},
    {"FilterTypeDelphi", "Delphi Form", "*.dfm;*.~dfm", "dfm", "Delphi und C++ Builder Form"},
    {"FilterTypeINI", "INI-Dateien", "*.ini", "ini", "INI"},
    {"FilterTypeINIMisc", "INI sonstige", "*.dof;*.dsk;*.vbp", "", "INI"},
    {"FilterTypePERL", "Perl", "*.pl;*.pm;*.cgi", "pl", "Perl"},
    {"FilterTypeRES", "Resource", "*.rc", "rc", "Resource"},
    {"FilterTypeRTF", "Rich Text Format", "*.rtf", "rtf", "RTF"},
    {"FilterTypeSQL", "SQL-Dateien", "*.sql", "sql", "SQL (MySQL)"},
    {"FilterTypeVB", "Visual Basic", "*.bas;*.frm;*.cls", "bas", "Visual Basic"},
    {"FilterTypeXML", "XML-Dateien", "*.xml;*.xsd;*.xsl;*.xslt;*.dtd;*.manifest", "xml", "XML"},
};
}  // namespace

TStringList DefaultFileTypes() {
  TStringList rows;
  for (const TFileTypeRow& r : kFileTypeRows) {
    const std::string name = GetLangText(std::string("PreDef|") + r.key, r.name);
    rows.Add(name + " (" + r.masks + ")|" + r.masks + "|" + r.ext + "|" + r.highlighter);
  }
  return rows;
}

void LoadSettings() {
  TXmlDoc doc("?xml");
  // A missing or unreadable file gives the defaults; an unreadable one is not written over.
  const TXmlLoad load = doc.LoadStore(Settings.SettingsFile, false);
  NoteStoreRead(Settings.SettingsFile, load == TXmlLoad::Unreadable);
  for (const TSettingKey& key : SettingKeys(Settings)) ReadKey(doc, key);
  if (Settings.FileTypes.Count() == 0) Settings.FileTypes.Assign(DefaultFileTypes());
  Settings.SearchReplace.Forwards = true;
}

namespace {
// Set when the user was told at start that the settings have nowhere to be saved in this run.
bool settingsUnsavable = false;
}  // namespace

bool SaveSettings() {
  if (settingsUnsavable) return false;  // said once at start; no error at exit
  if (!StoreMayBeWritten(Settings.SettingsFile)) return false;
  TXmlDoc doc("?xml");
  for (const TSettingKey& key : SettingKeysInWritingOrder(Settings)) WriteKey(doc, key);
  if (doc.SaveToFile(Settings.SettingsFile, 2, true)) return true;
  MsgBox(GetLangText("Main|MsgSettingsSaveErrText",
                     "Die Einstellungen konnten nicht in der Datei \"%s1%\" gespeichert werden.",
                     LangParams({Settings.SettingsFile})),
         GetLangText("Main|MsgSettingsSaveTitle", "Einstellungen speichern"), MB_OK | MB_ICONERROR);
  return false;
}

namespace {
const char* const PerUserFolder = "%APPDATA%\\Tarvoline";

// The folder the location file names. The per-user one comes from the shell, which names the
// profile by its short name where the code page lacks a character of it; the environment
// would give "?" there.
std::string ChosenSettingsFolder(const std::string& Chosen) {
  if (SameText(Chosen, "%PERSONAL%")) {
    const std::string appData = GetSpecialFolderPath(CSIDL_APPDATA);
    return appData.empty() ? std::string() : appData + "Tarvoline";
  }
  if (SameText(Chosen, "%GLOBAL%")) return Settings.AppDir;
  return ExpandEnvVars(Chosen, false);
}

std::string SettingsFolderUnusableText(const std::string& Folder, bool Unsavable) {
  if (Unsavable)
    return GetLangText("Main|MsgSettingsUnsavableText",
                       "Der Ordner \"%s1%\" f\xFCr die Einstellungen kann nicht verwendet "
                       "werden, und auch im Programmordner \"%s2%\" k\xF6nnen sie nicht "
                       "gespeichert werden.%w%\xC4nderungen an den Einstellungen werden deshalb "
                       "beim Beenden nicht gespeichert.",
                       LangParams({Folder, Settings.AppDir}));
  return GetLangText("Main|MsgSettingsFolderText",
                     "Der Ordner \"%s1%\" f\xFCr die Einstellungen kann nicht verwendet "
                     "werden.%w%Die Einstellungen werden stattdessen im Programmordner \"%s2%\" "
                     "gespeichert.",
                     LangParams({Folder, Settings.AppDir}));
}

// Said once, at start: where the settings go instead, or that they cannot be saved at all.
void TellSettingsFolderUnusable(const std::string& Folder, bool Unsavable) {
  MsgBox(SettingsFolderUnusableText(Folder, Unsavable),
         GetLangText("Main|MsgSettingsFolderTitle", "Einstellungsordner"), MB_OK | MB_ICONWARNING);
}
}  // namespace

void InitPaths(const std::string& ProgramDir) {
  Settings.AppDir = AddBackslash(ProgramDir);
  DocsOpen = false;
  TXmlDoc config("?xml");
  // Only the first start writes it, so it is never written over; the user is told when it
  // cannot be read, as the settings then come from the program folder.
  const std::string configFile = Settings.AppDir + ConfigFileName;
  NoteStoreRead(configFile, config.LoadStore(configFile, false) == TXmlLoad::Unreadable);
  const std::string chosen = config.ReadString("Settings\\Path", "");
  const std::string folder = ChosenSettingsFolder(chosen);
  // Without a usable folder the settings stay beside the program.
  const bool usable = !folder.empty() && ForceDirs(folder);
  Settings.SettingsDir = AddBackslash(usable ? folder : Settings.AppDir);
  Settings.SettingsFile = Settings.SettingsDir + "Tarvoline.ini";
  Settings.PluginsDir = Settings.AppDir + "Plugins\\";
  settingsUnsavable = false;
  LoadSettings();
  LoadLanguageFile(Settings.AppDir + "Language\\" + Settings.Language + ".lng");
  if (usable || chosen.empty()) return;
  // The program folder may not take them either (a protected one, a read-only file there).
  settingsUnsavable = !CanReplaceFile(Settings.SettingsFile);
  // A folder that expands to nothing is named as chosen.
  const std::string named =
      !folder.empty() ? folder : SameText(chosen, "%PERSONAL%") ? PerUserFolder : chosen;
  TellSettingsFolderUnusable(named, settingsUnsavable);
}
