// The program-wide settings record, its settings file, and the folders the program works in.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "rtl/StringList.h"

// A font of the printed header or footer. Color is $00BBGGRR as a decimal integer in the file.
struct TFontDetail {
  std::string Name;
  int32_t Size = 0;
  int32_t Charset = 0;
  int32_t Color = 0;
  bool StyleBold = false;
  bool StyleItalic = false;
  bool StyleUnderline = false;
  bool StyleStrikeout = false;
};

// Key section "OpenFast": the find-files dialog.
struct TOpenFastSettings {
  TStringList MaskMRU;
  TStringList DirMRU;
  bool IncludeSubDirs = false;
  TStringList SearchMRU;
  bool CaseSensitive = false;
  bool WholeWords = false;
  bool UseRegExpr = false;
  bool MultiLine = false;
  bool ReplaceEscape = false;
  TStringList ReplaceMRU;
  bool ReplaceSelectedOnly = false;
};

struct TGeneralSettings {
  bool ShowSplashScreen = false;
  int32_t DlgPageIndex = 0;
  bool SaveFileOnExec = false;
  bool OpenBinWarn = false;
  bool OpenSizeWarn = false;
  int32_t OpenSizeWarnMB = 0;
  bool AutoReadOnly = false;
  bool BackupEnabled = false;
  bool BackupAuto = false;
  bool BackupOvr = false;
  std::string BackupExt;
  bool BackupReplaceExt = false;
  bool SearchFocusEditor = false;
  bool SearchNotFoundMsg = false;
  bool SearchShowHits = false;
  bool SearchContinue = false;
  bool SearchContinueQuery = false;
  bool CloseWithESC = false;
  bool CloseMultiDocs = false;
  bool NoFileMultiLoad = false;
  bool ShowSaveDlg = false;
  bool ChangeNotify = false;
  bool ChangeNotifyAutoReload = false;
  bool ChangeNotifyCursorAtEnd = false;
  bool OpenTrimTrailingSpaces = false;
  bool SaveTrimTrailingSpaces = false;
  bool AddToRecentFiles = false;
  bool ParamIgnoreNotExistingFiles = false;
  bool HideDocSearchOnStartup = false;
  bool MinimizeLastDocClosed = false;
  int32_t SnippetsExpandStyle = 0;
  bool OpenLastDocsAtStartup = false;
  bool AddLastDocsToOpened = false;
  bool OpenLastDocsNoPos = false;
  bool SessionRestoreNoPos = false;
  bool TitleShowFullPath = false;
  bool TitleShowChanged = false;
  int32_t OpenMRUMaxItems = 0;  // key in "MRULists"
};

struct TEditorSettings {
  bool WordWrap = false;
  bool ShowSpecialChars = false;
  bool ShowGutter = false;
  bool ShowLineNumbers = false;
  int32_t RightEdge = 0;
  bool UseAsciiFont = false;
  bool TabsToSpaces = false;
  int32_t TabWidth = 0;
  bool SmartTabs = false;
  bool AutoIndent = false;
  bool TabIndent = false;
  bool ScrollPastEOL = false;
  bool ScrollPastEOF = false;
  bool ReplaceHtmlNamedChars = false;
  bool EnhanceHomeEndKey = false;
  bool TrimTrailingSpaces = false;
  bool ActiveLineMark = false;
  int32_t ActiveLineColor = 0;
  bool SelectBlockWithAlt = false;
  bool BracketsHighlight = false;
  int32_t MaxTabCaptionLen = 0;
  bool OvrModeAsDef = false;
  bool TabMultiLine = false;
  int32_t BackgroundColor = 0;
  int32_t ExtraLineSpacing = 0;
  int32_t SpCharReplace = 0;
  std::string SpCharReplaceFile;
  int32_t TabPosition = 0;
  std::string AnsiFontName;
  int32_t AnsiFontSize = 0;
  int32_t AnsiFontCharset = 0;
  std::string AsciiFontName;
  int32_t AsciiFontSize = 0;
  bool BracketsAuto = false;
  std::string BracketsAutoStart;
  std::string BracketsAutoClose;
  // No key: typed characters become numeric instead of named entities (options dialog).
  bool ReplaceHtmlNamedCharsUnicode = false;
};

struct TPrinterSettings {
  bool Highlight = false;
  bool LineNumbers = false;
  bool LineNumbersInMargin = false;
  bool Colors = false;
  bool Wrap = false;
  bool Mirror = false;
  int32_t MarginUnit = 0;
  // In the unit chosen by MarginUnit.
  double MarginTop = 0;
  double MarginBottom = 0;
  double MarginLeft = 0;
  double MarginRight = 0;
  double MarginGutter = 0;
  double MarginHeader = 0;
  double MarginFooter = 0;
  double MarginInternal = 0;
  double MarginLeftIndent = 0;
  double MarginRightIndent = 0;
  bool UseHeader = false;
  std::string HeaderLeftText;
  TFontDetail HeaderLeftFont;
  std::string HeaderCenterText;
  TFontDetail HeaderCenterFont;
  std::string HeaderRightText;
  TFontDetail HeaderRightFont;
  bool HeaderBorder = false;
  bool HeaderLine = false;
  int32_t HeaderLineColor = 0;
  bool HeaderMirror = false;
  int32_t HeaderBackColor = 0;
  bool HeaderUseBackColor = false;
  bool UseFooter = false;
  std::string FooterLeftText;
  TFontDetail FooterLeftFont;
  std::string FooterCenterText;
  TFontDetail FooterCenterFont;
  std::string FooterRightText;
  TFontDetail FooterRightFont;
  bool FooterBorder = false;
  bool FooterLine = false;
  int32_t FooterLineColor = 0;
  bool FooterMirror = false;
  int32_t FooterBackColor = 0;
  bool FooterUseBackColor = false;
};

// The search panel's state (no keys for Forwards).
struct TSearchReplaceSettings {
  bool AllFiles = false;
  bool ShowInTab = false;
  bool MultiLine = false;
  bool CaseSensitive = false;
  bool WholeWords = false;
  bool UseRegExpr = false;
  bool FromTop = false;
  bool Forwards = true;
  bool ReplaceEscape = false;
};

struct TSettings {
  // Paths (no keys), each folder with its trailing backslash.
  std::string AppDir;
  std::string SettingsDir;
  std::string SettingsFile;
  std::string PluginsDir;
  // Window.
  int32_t WindowState = 0;
  int32_t FormTop = 0;
  int32_t FormLeft = 0;
  int32_t FormWidth = 0;
  int32_t FormHeight = 0;
  // Lists of text lines.
  TStringList FileTypes;
  TStringList OpenMRU;
  TStringList SearchMRU;
  TStringList ReplaceMRU;
  TStringList AppList;
  TOpenFastSettings OpenFast;
  TStringList LastDocList;
  std::string LastDocFileName;
  TGeneralSettings General;
  TEditorSettings Editor;
  TPrinterSettings Printer;
  // The command-line switches "ML", "LOCK", "NOSPLASH" (no keys).
  bool ParamML = false;
  bool ParamLock = false;
  bool ParamNoSplash = false;
  // View.
  bool ViewDocSearch = false;
  bool ViewLeftPanel = false;
  int32_t ViewLeftPanelWidth = 0;
  bool ViewToolBar = false;
  bool ViewStatusBar = false;
  TSearchReplaceSettings SearchReplace;
  TStringList CustomColors;  // the colour dialog's custom colours
  std::string LastOpenedSnipFile;
  // The language file's name without ".lng"; empty for the built-in German.
  std::string Language;
};

// The values the dialogs accept for a numeric setting. LoadSettings gives a value outside its
// range the key's default, so a settings file cannot bring what the dialogs refuse.
struct TSettingRange {
  int32_t Min;
  int32_t Max;
  bool Contains(double Value) const { return Value >= Min && Value <= Max; }
};
namespace SettingRanges {
constexpr TSettingRange OpenSizeWarnMB{1, 30};
constexpr TSettingRange OpenMRUMaxItems{0, 30};
constexpr TSettingRange RightEdge{0, 999};
constexpr TSettingRange TabWidth{0, 99};
constexpr TSettingRange ExtraLineSpacing{0, 30};
constexpr TSettingRange MaxTabCaptionLen{10, 999};
// Editor and printer fonts: a positive number of at most four digits.
constexpr TSettingRange FontSize{1, 9999};
// What the page setup's number fields of eight characters hold; they take no sign.
constexpr TSettingRange Margin{0, 99999999};
}  // namespace SettingRanges

// A numeric key below "Settings" and the range its value must lie in.
struct TRangedSettingKey {
  const char* Path;
  TSettingRange Range;
};
// Every key whose value LoadSettings checks against a range.
extern const std::vector<TRangedSettingKey> RangedSettingKeys;

extern TSettings Settings;
// True while at least one document is open.
extern bool DocsOpen;

// The name of the settings location file in the program folder.
extern const char* const ConfigFileName;

// Reads every key from Settings.SettingsFile with its default: a missing, empty or unreadable
// file gives the defaults, and so does a number outside its SettingRanges range. Language is
// read only while it is empty; Forwards becomes true. A file that is there but cannot be read
// is said and kept from being written (StoreGuard).
void LoadSettings();
// Writes every key to Settings.SettingsFile; a failure, or a file kept from being written, is
// reported in a message box and gives false.
bool SaveSettings();

// The 20 file-type rows used when the settings hold none.
TStringList DefaultFileTypes();

// Resolves the folders from the program folder's location file, creates the settings folder,
// loads the settings and the language file. The main window then fills its language menu
// (ListLanguages) and applies the settings.
void InitPaths(const std::string& ProgramDir);
