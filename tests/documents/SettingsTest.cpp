#include <gtest/gtest.h>
#include <algorithm>
#include "documents/XmlDoc.h"
#include "documents/fHlpMain.h"
#include "documents/fLanguage.h"
#include "support/ModalAnswers.h"
#include "support/StoreMessages.h"
#include "support/TempFolder.h"

namespace {
// Every key below "Settings\", its form, its default as the file holds it (German locale) and,
// for a number a dialog's field edits, the range that field takes.
struct KeyRow {
  const char* path;
  char kind;  // B, I, F, S, L
  const char* value;
  // No range when max < min.
  int64_t min = 0;
  int64_t max = -1;
};

// The page setup's margin fields take eight characters and no sign; the font size fields
// take a positive number of at most four digits.
constexpr int64_t kMarginMax = 99999999, kFontSizeMax = 9999;

const KeyRow kDefaults[] = {
    {"Language", 'S', ""}, {"WindowState", 'I', "2"}, {"FormTop", 'I', "-1"}, {"FormLeft", 'I', "-1"},
    {"FormWidth", 'I', "750"}, {"FormHeight", 'I', "550"}, {"ViewDocSearch", 'B', "FALSE"},
    {"ViewLeftPanel", 'B', "FALSE"}, {"ViewLeftPanelWidth", 'I', "250"}, {"ViewToolBar", 'B', "TRUE"},
    {"ViewStatusBar", 'B', "TRUE"}, {"LastOpenedSnipFile", 'S', ""}, {"CustomColors", 'L', ""},
    {"OpenFast\\MaskMRU", 'L', "*.txt"}, {"OpenFast\\DirMRU", 'L', ""},
    {"OpenFast\\IncludeSubDirs", 'B', "FALSE"}, {"OpenFast\\SearchMRU", 'L', ""},
    {"OpenFast\\CaseSensitive", 'B', "FALSE"}, {"OpenFast\\WholeWords", 'B', "FALSE"},
    {"OpenFast\\UseRegExpr", 'B', "FALSE"}, {"OpenFast\\MultiLine", 'B', "FALSE"},
    {"OpenFast\\ReplaceMRU", 'L', ""}, {"OpenFast\\ReplaceEscape", 'B', "TRUE"},
    {"OpenFast\\ReplaceSelectedOnly", 'B', "FALSE"},
    {"General\\ShowSplashScreen", 'B', "TRUE"}, {"General\\DlgPageIndex", 'I', "0"},
    {"General\\SaveFileOnExec", 'B', "FALSE"}, {"General\\OpenBinWarn", 'B', "TRUE"},
    {"General\\OpenSizeWarn", 'B', "TRUE"}, {"General\\OpenSizeWarnMB", 'I', "10", 1, 30},
    {"General\\AutoReadOnly", 'B', "FALSE"}, {"General\\BackupEnabled", 'B', "FALSE"},
    {"General\\BackupAuto", 'B', "FALSE"}, {"General\\BackupOvr", 'B', "FALSE"},
    {"General\\BackupExt", 'S', "bak"}, {"General\\BackupReplaceExt", 'B', "FALSE"},
    {"General\\SearchFocusEditor", 'B', "TRUE"}, {"General\\SearchNotFoundMsg", 'B', "TRUE"},
    {"General\\SearchShowHits", 'B', "TRUE"}, {"General\\SearchContinue", 'B', "TRUE"},
    {"General\\SearchContinueQuery", 'B', "TRUE"}, {"General\\CloseWithESC", 'B', "FALSE"},
    {"General\\CloseMultiDocs", 'B', "FALSE"}, {"General\\NoFileMultiLoad", 'B', "FALSE"},
    {"General\\ShowSaveDlg", 'B', "TRUE"}, {"General\\ChangeNotify", 'B', "FALSE"},
    {"General\\ChangeNotifyAutoReload", 'B', "FALSE"}, {"General\\ChangeNotifyCursorAtEnd", 'B', "FALSE"},
    {"General\\OpenTrimTrailingSpaces", 'B', "FALSE"}, {"General\\SaveTrimTrailingSpaces", 'B', "FALSE"},
    {"General\\AddToRecentFiles", 'B', "TRUE"}, {"General\\ParamIgnoreNotExistingFiles", 'B', "FALSE"},
    {"General\\HideDocSearchOnStartup", 'B', "FALSE"}, {"General\\MinimizeLastDocClosed", 'B', "FALSE"},
    {"General\\SnippetsExpandStyle", 'I', "1"}, {"General\\OpenLastDocsAtStartup", 'B', "FALSE"},
    {"MRULists\\LastDocList", 'L', ""}, {"General\\LastDocFileName", 'S', ""},
    {"General\\AddLastDocsToOpened", 'B', "FALSE"}, {"General\\OpenLastDocsNoPos", 'B', "FALSE"},
    {"General\\SessionRestoreNoPos", 'B', "FALSE"}, {"General\\TitleShowFullPath", 'B', "FALSE"},
    {"General\\TitleShowChanged", 'B', "FALSE"},
    {"Editor\\WordWrap", 'B', "TRUE"}, {"Editor\\ShowSpecialChars", 'B', "FALSE"},
    {"Editor\\ShowGutter", 'B', "TRUE"}, {"Editor\\ShowLineNumbers", 'B', "TRUE"},
    {"Editor\\RightEdge", 'I', "80", 0, 999}, {"Editor\\UseAsciiFont", 'B', "FALSE"},
    {"Editor\\TabsToSpaces", 'B', "FALSE"}, {"Editor\\TabWidth", 'I', "2", 0, 99},
    {"Editor\\SmartTabs", 'B', "FALSE"}, {"Editor\\AutoIndent", 'B', "TRUE"},
    {"Editor\\TabIndent", 'B', "TRUE"}, {"Editor\\ScrollPastEOL", 'B', "FALSE"},
    {"Editor\\ScrollPastEOF", 'B', "FALSE"}, {"Editor\\ReplaceHtmlNamedChars", 'B', "FALSE"},
    {"Editor\\EnhanceHomeEndKey", 'B', "FALSE"}, {"Editor\\TrimTrailingSpaces", 'B', "FALSE"},
    {"Editor\\ActiveLineMark", 'B', "TRUE"}, {"Editor\\ActiveLineColor", 'I', "13172735"},
    {"Editor\\SelectBlockWithAlt", 'B', "FALSE"}, {"Editor\\BracketsHighlight", 'B', "FALSE"},
    {"Editor\\MaxTabCaptionLen", 'I', "30", 10, 999}, {"Editor\\OvrModeAsDef", 'B', "FALSE"},
    {"Editor\\TabMultiLine", 'B', "FALSE"}, {"Editor\\BackgroundColor", 'I', "16777215"},
    {"Editor\\ExtraLineSpacing", 'I', "0", 0, 30}, {"Editor\\SpCharReplace", 'I', "0"},
    {"Editor\\SpCharReplaceFile", 'S', ""}, {"Editor\\TabPosition", 'I', "0"},
    {"Editor\\AnsiFontName", 'S', "Courier New"}, {"Editor\\AnsiFontSize", 'I', "9", 1, kFontSizeMax},
    {"Editor\\AnsiFontCharset", 'I', "1"}, {"Editor\\AsciiFontName", 'S', "Terminal"},
    {"Editor\\AsciiFontSize", 'I', "14", 1, kFontSizeMax}, {"Editor\\BracketsAuto", 'B', "FALSE"},
    {"Editor\\BracketsAutoStart", 'S', "<[{(''\""}, {"Editor\\BracketsAutoClose", 'S', ">]})''\""},
    {"MRULists\\OpenMRUMaxItems", 'I', "20", 0, 30}, {"MRULists\\OpenMRU", 'L', ""},
    {"MRULists\\SearchMRU", 'L', ""}, {"MRULists\\ReplaceMRU", 'L', ""}, {"AppList", 'L', ""},
    {"Printer\\Highlight", 'B', "TRUE"}, {"Printer\\LineNumbers", 'B', "TRUE"},
    {"Printer\\LineNumbersInMargin", 'B', "TRUE"}, {"Printer\\Colors", 'B', "TRUE"},
    {"Printer\\Wrap", 'B', "TRUE"}, {"Printer\\Mirror", 'B', "FALSE"}, {"Printer\\MarginUnit", 'I', "1"},
    {"Printer\\MarginTop", 'F', "1,5", 0, kMarginMax},
    {"Printer\\MarginBottom", 'F', "1,5", 0, kMarginMax},
    {"Printer\\MarginLeft", 'F', "2", 0, kMarginMax},
    {"Printer\\MarginRight", 'F', "1,5", 0, kMarginMax},
    {"Printer\\MarginGutter", 'F', "0", 0, kMarginMax},
    {"Printer\\MarginHeader", 'F', "1,2", 0, kMarginMax},
    {"Printer\\MarginFooter", 'F', "1,2", 0, kMarginMax},
    {"Printer\\MarginInternal", 'F', "0,05", 0, kMarginMax},
    {"Printer\\MarginLeftIndent", 'F', "0", 0, kMarginMax},
    {"Printer\\MarginRightIndent", 'F', "0", 0, kMarginMax},
    {"Printer\\UseHeader", 'B', "TRUE"}, {"Printer\\HeaderLeftText", 'S', "Tarvoline"},
    {"Printer\\HeaderCenterText", 'S', "$FILENAME$"}, {"Printer\\HeaderRightText", 'S', "$DATE$, $TIME$"},
    {"Printer\\HeaderBorder", 'B', "FALSE"}, {"Printer\\HeaderLine", 'B', "TRUE"},
    {"Printer\\HeaderLineColor", 'I', "8421504"}, {"Printer\\HeaderMirror", 'B', "FALSE"},
    {"Printer\\HeaderBackColor", 'I', "16777215"}, {"Printer\\HeaderUseBackColor", 'B', "FALSE"},
    {"Printer\\UseFooter", 'B', "TRUE"}, {"Printer\\FooterLeftText", 'S', "$FULLPATH$"},
    {"Printer\\FooterCenterText", 'S', ""}, {"Printer\\FooterRightText", 'S', "Seite $PAGENUM$ von $PAGECOUNT$"},
    {"Printer\\FooterBorder", 'B', "FALSE"}, {"Printer\\FooterLine", 'B', "TRUE"},
    {"Printer\\FooterLineColor", 'I', "8421504"}, {"Printer\\FooterMirror", 'B', "FALSE"},
    {"Printer\\FooterBackColor", 'I', "16777215"}, {"Printer\\FooterUseBackColor", 'B', "FALSE"},
    {"SearchReplace\\AllFiles", 'B', "FALSE"}, {"SearchReplace\\ShowInTab", 'B', "FALSE"},
    {"SearchReplace\\MultiLine", 'B', "FALSE"}, {"SearchReplace\\CaseSensitive", 'B', "FALSE"},
    {"SearchReplace\\WholeWords", 'B', "FALSE"}, {"SearchReplace\\UseRegExpr", 'B', "FALSE"},
    {"SearchReplace\\FromTop", 'B', "FALSE"}, {"SearchReplace\\ReplaceEscape", 'B', "FALSE"},
};

// The font groups: name, size, charset, colour, bold.
struct FontRow {
  const char* group;
  const char* size;
  const char* color;
  const char* bold;
};
const FontRow kFontDefaults[] = {
    {"HeaderLeftFont", "9", "8421504", "TRUE"},   {"HeaderCenterFont", "10", "8388608", "TRUE"},
    {"HeaderRightFont", "9", "8421504", "FALSE"}, {"FooterLeftFont", "8", "0", "FALSE"},
    {"FooterCenterFont", "8", "0", "FALSE"},      {"FooterRightFont", "8", "0", "TRUE"},
};

std::vector<KeyRow> AllDefaults() {
  static std::vector<std::string> paths;  // keeps the font paths' texts alive
  std::vector<KeyRow> rows(std::begin(kDefaults), std::end(kDefaults));
  if (paths.empty())
    for (const FontRow& f : kFontDefaults)
      for (const char* key : {"Name", "Size", "Charset", "Color", "StyleBold", "StyleItalic",
                              "StyleUnderline", "StyleStrikeout"})
        paths.push_back(std::string("Printer\\") + f.group + "\\" + key);
  for (size_t i = 0; i < paths.size(); ++i) {
    const FontRow& f = kFontDefaults[i / 8];
    const char* values[] = {"Arial", f.size, "0", f.color, f.bold, "FALSE", "FALSE", "FALSE"};
    const char kinds[] = {'S', 'I', 'I', 'I', 'B', 'B', 'B', 'B'};
    const bool size = i % 8 == 1;
    rows.push_back({paths[i].c_str(), kinds[i % 8], values[i % 8], size ? 1 : 0, size ? kFontSizeMax : -1});
  }
  return rows;
}

// A value of the same form that differs from the default.
std::string OtherValue(const KeyRow& Row) {
  const std::string v = Row.value;
  switch (Row.kind) {
    case 'B': return v == "TRUE" ? "FALSE" : "TRUE";
    case 'I': return std::to_string(std::stoi(v) + 7);
    case 'F': return v == "0" ? "3,25" : v + "25";
    case 'L': return "zeile 1\r\n  zeile 2 \r\nzeile 3";
  }
  return v + " \xE4nders & <neu>";
}

class SettingsTest : public testing::Test {
protected:
  void SetUp() override {
    Settings = TSettings();
    Settings.SettingsFile = dir.File("Tarvoline.ini");
  }
  void TearDown() override { Settings = TSettings(); }
  testsupport::TempFolder dir;
};
}  // namespace

TEST_F(SettingsTest, WithoutAFileEveryKeyTakesItsDefault) {
  LoadSettings();
  ASSERT_TRUE(SaveSettings());
  TXmlDoc saved;
  ASSERT_TRUE(saved.LoadFromFile(Settings.SettingsFile));
  const auto rows = AllDefaults();
  EXPECT_EQ(rows.size(), 197u);  // every key but FileTypes
  for (const KeyRow& row : rows)
    EXPECT_EQ(saved.ReadString(std::string("Settings\\") + row.path, "<missing>"), row.value) << row.path;
  EXPECT_EQ(Settings.Printer.MarginTop, 1.5);
  EXPECT_EQ(Settings.Printer.MarginInternal, 0.05);
  EXPECT_EQ(Settings.OpenFast.MaskMRU.Text(), "*.txt\r\n");
  EXPECT_TRUE(Settings.SearchReplace.Forwards);
}

TEST_F(SettingsTest, TheTwentyDefaultFileTypes) {
  LoadSettings();
  const char* expected[] = {
      "Alle Dateien (*.*)|*.*||:URI:",
      "Textdateien (*.txt)|*.txt|txt|:URI:",
      "HTML-Dateien (*.html;*.htm;*.shtm;*.shtml)|*.html;*.htm;*.shtm;*.shtml|html|:WebMixed:",
      "PHP-Dateien (*.php;*.php3;*.phtml)|*.php;*.php3;*.phtml|php|:WebMixed:",
      "CSS-Dateien (*.css)|*.css|css|:CSS:",
      "JavaScript (*.js)|*.js|js|:JS:",
      "VBScript (*.vbs)|*.vbs|vbs|:VBS:",
      "Batch-Dateien (*.bat;*.cmd)|*.bat;*.cmd|bat|Batch & Command",
      "C / C++ Dateien (*.c;*.cpp;*.h;*.hpp)|*.c;*.cpp;*.h;*.hpp|cpp|C++",
      "C# Dateien (*.cs)|*.cs|cs|CS",
      "Delphi (*.pas;*.~pas;*.pp;*.dpr;*.dpk)|*.pas;*.~pas;*.pp;*.dpr;*.dpk|pas|Delphi",
      "Delphi Form (*.dfm;*.~dfm)|*.dfm;*.~dfm|dfm|Delphi und C++ Builder Form",
      "INI-Dateien (*.ini)|*.ini|ini|INI",
      "INI sonstige (*.dof;*.dsk;*.vbp)|*.dof;*.dsk;*.vbp||INI",
      "Perl (*.pl;*.pm;*.cgi)|*.pl;*.pm;*.cgi|pl|Perl",
      "Resource (*.rc)|*.rc|rc|Resource",
      "Rich Text Format (*.rtf)|*.rtf|rtf|RTF",
      "SQL-Dateien (*.sql)|*.sql|sql|SQL (MySQL)",
      "Visual Basic (*.bas;*.frm;*.cls)|*.bas;*.frm;*.cls|bas|Visual Basic",
      "XML-Dateien (*.xml;*.xsd;*.xsl;*.xslt;*.dtd;*.manifest)|*.xml;*.xsd;*.xsl;*.xslt;*.dtd;*.manifest|xml|XML",
  };
  ASSERT_EQ(Settings.FileTypes.Count(), 20);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(Settings.FileTypes[i], expected[i]);
}

TEST_F(SettingsTest, SaveThenLoadGivesBackEveryKey) {
  TXmlDoc file;
  const auto rows = AllDefaults();
  for (const KeyRow& row : rows) file.WriteString(std::string("Settings\\") + row.path, OtherValue(row));
  const KeyRow fileTypes = {"FileTypes", 'L', ""};
  file.WriteString("Settings\\FileTypes", OtherValue(fileTypes));
  ASSERT_TRUE(file.SaveToFile(Settings.SettingsFile, 2, true));
  LoadSettings();
  EXPECT_EQ(Settings.Printer.MarginTop, 1.525);
  EXPECT_EQ(Settings.Printer.MarginGutter, 3.25);
  EXPECT_EQ(Settings.Editor.TabWidth, 9);
  EXPECT_FALSE(Settings.Printer.UseHeader);
  EXPECT_FALSE(Settings.Printer.UseFooter);
  EXPECT_EQ(Settings.LastDocList.Count(), 3);
  EXPECT_EQ(Settings.Printer.FooterRightFont.Size, 15);
  EXPECT_FALSE(Settings.Printer.FooterRightFont.StyleBold);
  EXPECT_EQ(Settings.FileTypes.Text(), "zeile 1\r\n  zeile 2 \r\nzeile 3\r\n");

  ASSERT_TRUE(SaveSettings());
  Settings = TSettings();
  Settings.SettingsFile = dir.File("Tarvoline.ini");
  LoadSettings();
  ASSERT_TRUE(SaveSettings());
  TXmlDoc saved;
  ASSERT_TRUE(saved.LoadFromFile(Settings.SettingsFile));
  for (const KeyRow& row : rows)
    EXPECT_EQ(saved.ReadString(std::string("Settings\\") + row.path, "<missing>"), OtherValue(row)) << row.path;
  EXPECT_EQ(saved.ReadString("Settings\\FileTypes", ""), OtherValue(fileTypes));
}

TEST_F(SettingsTest, ListsLoseSurroundingBlankLines) {
  TXmlDoc file;
  file.WriteString("Settings\\MRULists\\OpenMRU", "\r\n  a.txt\r\nb.txt\r\n\r\n\r\n");
  ASSERT_TRUE(file.SaveToFile(Settings.SettingsFile, 2, true));
  LoadSettings();
  ASSERT_EQ(Settings.OpenMRU.Count(), 2);
  EXPECT_EQ(Settings.OpenMRU[0], "a.txt");
  EXPECT_EQ(Settings.OpenMRU[1], "b.txt");
}

TEST_F(SettingsTest, MarginsWithAnotherDecimalSeparatorTakeTheDefault) {
  TXmlDoc file;
  file.WriteString("Settings\\Printer\\MarginTop", "2.5");
  file.WriteString("Settings\\Printer\\MarginLeft", "2,75");
  file.WriteInteger("Settings\\Editor\\TabWidth", 4);
  ASSERT_TRUE(file.SaveToFile(Settings.SettingsFile, 2, true));
  LoadSettings();
  EXPECT_EQ(Settings.Printer.MarginTop, 1.5);
  EXPECT_EQ(Settings.Printer.MarginLeft, 2.75);
  EXPECT_EQ(Settings.Editor.TabWidth, 4);
}

TEST_F(SettingsTest, LanguageChosenBeforeLoadingAndForwardsAreKept) {
  TXmlDoc file;
  file.WriteString("Settings\\Language", "Deutsch (intern)");
  ASSERT_TRUE(file.SaveToFile(Settings.SettingsFile, 2, true));
  Settings.Language = "English";
  Settings.SearchReplace.Forwards = false;
  LoadSettings();
  EXPECT_EQ(Settings.Language, "English");
  EXPECT_TRUE(Settings.SearchReplace.Forwards);
  Settings.Language.clear();
  LoadSettings();
  EXPECT_EQ(Settings.Language, "Deutsch (intern)");
}

// A settings file another program holds while the program starts is no missing one: the user
// is told once, naming it, and closing does not write the defaults over it until it was read.
TEST_F(SettingsTest, AFileThatCannotBeReadIsSaidOnceAndNotWrittenOver) {
  LoadSettings();
  Settings.Editor.TabWidth = 7;
  ASSERT_TRUE(SaveSettings());
  const std::string stored = dir.Read("Tarvoline.ini");
  for (bool firstTime : {true, false}) {
    Settings.Editor.TabWidth = 3;
    testsupport::HeldFile held(Settings.SettingsFile);
    if (firstTime) testsupport::ExpectStoreUnreadable(Settings.SettingsFile);
    LoadSettings();
    held.Release();
    EXPECT_EQ(Settings.Editor.TabWidth, 2) << "the default";
    testsupport::ExpectStoreNotSaved(Settings.SettingsFile);
    EXPECT_FALSE(SaveSettings());
    EXPECT_EQ(dir.Read("Tarvoline.ini"), stored);
    EXPECT_EQ(testsupport::PendingAnswers(), 0u);
  }
  LoadSettings();
  EXPECT_EQ(Settings.Editor.TabWidth, 7);
  EXPECT_TRUE(SaveSettings());
}

TEST_F(SettingsTest, FileKeepsTheWritingOrder) {
  LoadSettings();
  ASSERT_TRUE(SaveSettings());
  const std::string text = dir.Read("Tarvoline.ini");
  auto at = [&](const char* tag) { return text.find(std::string("<") + tag); };
  EXPECT_LT(at("TitleShowChanged"), at("LastDocFileName"));
  EXPECT_LT(at("LastDocFileName"), at("MRULists"));
  EXPECT_LT(at("MRULists"), at("Editor"));
  EXPECT_EQ(text.find("<TabMultiLine>FALSE</TabMultiLine>\r\n    <TabPosition>"), text.find("<TabMultiLine>"));
  EXPECT_EQ(text.find("<?xml version=\"1.0\"?>\r\n<Settings>\r\n  <Language />\r\n"), 0u);
}

TEST_F(SettingsTest, AFailedSaveIsReportedWithTheFileName) {
  Settings.SettingsFile = dir.File("missing folder\\Tarvoline.ini");
  LoadSettings();
  testsupport::QueueAnswer({IDOK}, [&](const ModalQuestion& q) {
    EXPECT_NE(q.text.find(Settings.SettingsFile), std::string::npos) << q.text;
    EXPECT_EQ(q.flags, UINT(MB_OK | MB_ICONERROR));
  });
  EXPECT_FALSE(SaveSettings());
}

// The numbers the dialogs check: every key with a range, at the edges of its range and beyond
// them. A value outside the range, however it got into the file, must not reach the editor or
// the printer (a font size of 2147483647 blanks the text area and the print preview).
TEST_F(SettingsTest, NumbersOutsideTheDialogsRangesTakeTheirDefault) {
  std::vector<KeyRow> ranged;
  for (const KeyRow& row : AllDefaults())
    if (row.max >= row.min) ranged.push_back(row);
  ASSERT_EQ(ranged.size(), 24u);
  // Each column of values is one settings file: the value written, and whether it is kept.
  struct Column {
    const char* name;
    std::string (*value)(const KeyRow& Row);
    bool kept;
  };
  const Column columns[] = {
      {"low", [](const KeyRow& R) { return std::to_string(R.min); }, true},
      {"high", [](const KeyRow& R) { return std::to_string(R.max); }, true},
      {"one below", [](const KeyRow& R) { return std::to_string(R.min - 1); }, false},
      {"one above", [](const KeyRow& R) { return std::to_string(R.max + 1); }, false},
      {"half below", [](const KeyRow& R) { return FloatToStr(R.min - 0.5); }, false},
      {"half above", [](const KeyRow& R) { return FloatToStr(R.max + 0.5); }, false},
      {"largest", [](const KeyRow&) { return std::string("2147483647"); }, false},
      {"smallest", [](const KeyRow&) { return std::string("-2147483647"); }, false},
      {"huge", [](const KeyRow&) { return std::string("1E300"); }, false},
  };
  for (const Column& column : columns) {
    TXmlDoc file;
    for (const KeyRow& row : ranged)
      file.WriteString(std::string("Settings\\") + row.path, column.value(row));
    ASSERT_TRUE(file.SaveToFile(Settings.SettingsFile, 2, true));
    LoadSettings();
    ASSERT_TRUE(SaveSettings());
    TXmlDoc saved;
    ASSERT_TRUE(saved.LoadFromFile(Settings.SettingsFile));
    for (const KeyRow& row : ranged) {
      const std::string expected = column.kept ? column.value(row) : row.value;
      EXPECT_EQ(saved.ReadString(std::string("Settings\\") + row.path, "<missing>"), expected)
          << row.path << ", " << column.name;
    }
  }
  // No other number is held to a range.
  for (const TRangedSettingKey& key : RangedSettingKeys)
    EXPECT_TRUE(std::any_of(ranged.begin(), ranged.end(),
                            [&](const KeyRow& row) { return std::string(row.path) == key.Path; }))
        << key.Path;
}
