#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <memory>
#include <vector>
#include "documents/fHlpHK.h"
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"
#include "documents/fHlpMainFuncs.h"
#include "documents/fHotKeys.h"
#include "documents/fLanguage.h"
#include "documents/frameEdit.h"
#include "foundation/fMain.h"
#include "mainwindow/formMain.h"
#include "support/TempFolder.h"
#include "toolkit/Controls.h"
#include "toolkit/Cursor.h"
#include "toolkit/Menus.h"
#include "toolkit/PageControl.h"

namespace {

// Settings and command line are put back after each test.
class DocFunctionsTest : public testing::Test {
protected:
  void SetUp() override {
    saved_ = std::make_unique<TSettings>(Settings);
    savedCmdLine_ = CmdLineParams;
    Settings.SettingsFile = dir.File("missing.ini");
    LoadSettings();
    Settings.AppDir = dir.Path();
    Settings.General.AddToRecentFiles = false;
    LanguageTexts.Clear();
    InitHotKeys();
  }
  void TearDown() override {
    main_.reset();
    frmMain = nullptr;
    Settings = *saved_;
    CmdLineParams = savedCmdLine_;
    DocumentNumbers.clear();
    DocsOpen = false;
    AppListItemClick = nullptr;
    HighlighterItemClick = nullptr;
  }
  void MakeMainWindow() {
    main_ = std::make_unique<TfrmMain>(nullptr);
    frmMain = main_.get();
  }
  TfraEdit* OpenWith(const std::string& Text) {
    if (!frmMain) MakeMainWindow();
    dir.Write("doc.txt", Text);
    return GetSheetFrame(OpenFile(dir.File("doc.txt"), false, nullptr));
  }
  static TMenuItem* Item(const std::string& Name) { return frmMain->Find<TMenuItem>(Name); }

  testsupport::TempFolder dir;

private:
  std::unique_ptr<TSettings> saved_;
  std::string savedCmdLine_;
  std::unique_ptr<TfrmMain> main_;
};

TEST_F(DocFunctionsTest, EachEditorSettingDrivesItsOwnOption) {
  using O = TCodeEditorOption;
  using S = TEditorSettings;
  struct Link {
    bool S::*setting;
    std::vector<O> options;
  };
  const Link links[] = {
      {&S::ShowSpecialChars, {O::eoShowSpecialChars}}, {&S::TabsToSpaces, {O::eoTabsToSpaces}},
      {&S::SmartTabs, {O::eoSmartTabs}},               {&S::AutoIndent, {O::eoAutoIndent}},
      {&S::TabIndent, {O::eoTabIndent}},               {&S::ScrollPastEOL, {O::eoScrollPastEol}},
      {&S::ScrollPastEOF, {O::eoScrollPastEof}},
      {&S::TrimTrailingSpaces, {O::eoTrimTrailingSpaces}},
      {&S::SelectBlockWithAlt, {O::eoAltSetsColumnMode}},
      {&S::EnhanceHomeEndKey, {O::eoEnhanceHomeKey, O::eoEnhanceEndKey}}};
  TCodeEdit edit(nullptr);
  for (const Link& on : links) {
    for (const Link& l : links) Settings.Editor.*l.setting = &l == &on;
    ApplySettings(&edit);
    for (const Link& l : links)
      for (O o : l.options) EXPECT_EQ(edit.HasOption(o), &l == &on) << static_cast<int>(o);
    EXPECT_TRUE(edit.HasOption(O::eoGroupUndo)) << "options without a setting stay";
  }
  EXPECT_FALSE(HourglassShown());
}

TEST_F(DocFunctionsTest, ApplySettingsSetsLayoutFontAndKeys) {
  TEditorSettings& s = Settings.Editor;
  s.AnsiFontName = "Courier New";
  s.AnsiFontSize = 11;
  s.AnsiFontCharset = 0;
  s.AsciiFontName = "Terminal";
  s.AsciiFontSize = 9;
  s.ActiveLineColor = 0x00C0FFFF;
  TCodeEdit edit(nullptr);
  edit.Keystrokes().Clear();
  for (bool on : {true, false}) {
    SCOPED_TRACE(on);
    s.WordWrap = s.ShowGutter = s.ActiveLineMark = s.UseAsciiFont = on;
    s.ShowLineNumbers = !on;
    s.RightEdge = on ? 120 : 60;
    s.ExtraLineSpacing = on ? 3 : 0;
    s.TabWidth = on ? 8 : 2;
    ApplySettings(&edit);
    EXPECT_EQ(edit.WordWrap(), on);
    EXPECT_EQ(edit.Gutter().Visible(), on);
    EXPECT_EQ(edit.Gutter().ShowLineNumbers(), !on);
    EXPECT_EQ(edit.RightEdge(), on ? 120 : 60);
    EXPECT_EQ(edit.ExtraLineSpacing(), on ? 3 : 0);
    EXPECT_EQ(edit.TabWidth(), on ? 8 : 2);
    EXPECT_EQ(edit.ActiveLineColor(), on ? TColor(0x00C0FFFF) : clNone);
    for (const TFont* font : {&edit.Font(), &edit.Gutter().Font()}) {
      EXPECT_EQ(font->Name(), on ? "Terminal" : "Courier New");
      EXPECT_EQ(font->Size(), on ? 9 : 11);
      EXPECT_EQ(font->Charset(), on ? 255 : 0);
    }
    EXPECT_EQ(edit.Keystrokes().Count(), EditorHotKeyCount);
  }
}

TEST_F(DocFunctionsTest, ApplySettingsPlacesTheTabsAndThePagesFollow) {
  ASSERT_NE(OpenWith("x"), nullptr);
  TPageControl& pages = *frmMain->pcEdit;
  ASSERT_NE(pages.Handle(), nullptr);
  struct Row {
    int position;
    bool multiLine;
    bool bottom;
  };
  const Row rows[] = {{1, false, true}, {0, true, false}, {2, false, false}, {1, true, true}};
  for (const Row& r : rows) {
    Settings.Editor.TabPosition = r.position;
    Settings.Editor.TabMultiLine = r.multiLine;
    ApplySettings(nullptr);
    LONG_PTR style = GetWindowLongPtrA(pages.Handle(), GWL_STYLE);
    EXPECT_EQ((style & TCS_BOTTOM) != 0, r.bottom) << r.position;
    EXPECT_EQ((style & TCS_MULTILINE) != 0, r.multiLine) << r.position;
    const RECT tab = pages.TabRect(0);
    const TTabSheet& page = *pages.ActivePage();
    if (r.bottom)
      EXPECT_LE(page.Top() + page.Height(), tab.top) << "the page ends above the tabs";
    else
      EXPECT_GE(page.Top(), tab.bottom) << "the page starts below the tabs";
  }
}

TEST_F(DocFunctionsTest, ApplyEditorFontSwitchesFontsAndSpecialCharsOff) {
  TCodeEdit edit(nullptr);
  Settings.Editor.AsciiFontName = "Terminal";
  Settings.Editor.AsciiFontSize = 12;
  Settings.Editor.AnsiFontName = "Courier New";
  Settings.Editor.AnsiFontSize = 10;
  Settings.Editor.AnsiFontCharset = 0;
  ApplyEditorFont(true, &edit);  // no main window: fonts only
  EXPECT_EQ(edit.Font().Name(), "Terminal");
  EXPECT_EQ(edit.Gutter().Font().Size(), 12);

  MakeMainWindow();
  TMenuItem* special = Item("mnuViewSpecialChars");
  ASSERT_NE(special, nullptr);
  int clicks = 0;
  bool checkedAtClick = false;
  special->OnClick = [&](TObject*) {
    ++clicks;
    checkedAtClick = special->Checked();
  };
  ApplyEditorFont(false, &edit);
  EXPECT_EQ(edit.Font().Name(), "Courier New");
  EXPECT_EQ(edit.Font().Charset(), 0);
  EXPECT_EQ(clicks, 0);
  ApplyEditorFont(true, &edit);
  EXPECT_EQ(edit.Font().Charset(), 255);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(checkedAtClick) << "the command toggles from checked, so it switches off";
  ApplyEditorFont(true, nullptr);
  EXPECT_EQ(clicks, 1);
}

TEST_F(DocFunctionsTest, ParseCommandLineSwitchesIgnoresCase) {
  struct Row {
    const char* line;
    bool ml, lock, noSplash;
  };
  const Row rows[] = {
      {"", false, false, false},
      {"a.txt", false, false, false},
      {"a.txt\x01/ml", true, false, false},
      {"-Lock\x01" "a.txt", false, true, false},
      {"--NOSPLASH\x01/ML\x01/lock", true, true, true},
      {"/MLX\x01/LOCKED", false, false, false},
      {"ML\x01LOCK", false, false, false},
  };
  for (const Row& r : rows) {
    CmdLineParams = r.line;
    ParseCommandLineSwitches();
    EXPECT_EQ(Settings.ParamML, r.ml) << r.line;
    EXPECT_EQ(Settings.ParamLock, r.lock) << r.line;
    EXPECT_EQ(Settings.ParamNoSplash, r.noSplash) << r.line;
  }
}

TEST_F(DocFunctionsTest, PosSwitchPlacesTheCaretByOffset) {
  // "abc" CR LF "de": 7 characters.
  struct Row {
    const char* value;
    int offset;
  };
  const Row rows[] = {{"/POS:0", 0},  {"/POS:2", 2},    {"/pos=5", 5},   {"/POS:7", 7},
                      {"/POS:8", 7},  {"/POS:END", 7},  {"/POS:end", 7}, {"/POS:-1", 6},
                      {"/POS:-7", 0}, {"/POS:-8", 0},   {"/POS:x", 1},   {"/POS", 1}};
  TfraEdit* frame = OpenWith("abc\r\nde");
  ASSERT_NE(frame, nullptr);
  for (const Row& r : rows) {
    CmdLineParams = std::string("doc.txt\x01") + r.value;
    frame->seEdit->SetCaretXY({1, 1});
    ApplyCommandLineSwitches(frame);
    EXPECT_EQ(frame->seEdit->SelStart(), r.offset) << r.value;
  }
}

TEST_F(DocFunctionsTest, LnSwitchPlacesTheCaretAtALineEnd) {
  struct Row {
    const char* value;
    int line;
  };
  const Row rows[] = {{"/LN:1", 1},  {"/LN:2", 2},  {"/LN:3", 3},   {"/LN:4", 3},
                      {"/LN:END", 3}, {"/LN:0", 1}, {"/LN:-1", 2},  {"/LN:-2", 1},
                      {"/LN:-3", 1}, {"/LN:-9", 1}, {"/LN:abc", 1}};
  TfraEdit* frame = OpenWith("one\r\ntwo!\r\nthree");
  ASSERT_NE(frame, nullptr);
  const int lengths[] = {3, 4, 5};
  for (const Row& r : rows) {
    CmdLineParams = std::string("doc.txt\x01") + r.value;
    frame->seEdit->SetCaretXY({1, 1});
    ApplyCommandLineSwitches(frame);
    EXPECT_EQ(frame->seEdit->CaretY(), r.line) << r.value;
    EXPECT_EQ(frame->seEdit->CaretX(), lengths[r.line - 1] + 1) << r.value;
  }
}

TEST_F(DocFunctionsTest, SwitchesOnAnEmptyDocumentAndLock) {
  TfraEdit* frame = OpenWith("");
  ASSERT_NE(frame, nullptr);
  CmdLineParams = "doc.txt\x01/POS:5\x01/LN:END";
  ApplyCommandLineSwitches(frame);
  EXPECT_EQ(frame->seEdit->CaretY(), 1);
  EXPECT_EQ(frame->seEdit->CaretX(), 1);
  EXPECT_FALSE(frame->seEdit->ReadOnly());
  CmdLineParams = "doc.txt\x01/LOCK";
  ParseCommandLineSwitches();
  ApplyCommandLineSwitches(frame);
  EXPECT_TRUE(frame->seEdit->ReadOnly());
  ApplyCommandLineSwitches(nullptr);
}

TEST_F(DocFunctionsTest, GetSheetFrameFindsTheDocumentFrame) {
  TfraEdit* frame = OpenWith("x");
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(GetSheetFrame(frmMain->pcEdit->ActivePage()), frame);
  EXPECT_EQ(GetSheetFrame(nullptr), nullptr);
  TTabSheet* empty = frmMain->pcEdit->AddPage("tabEmpty");
  EXPECT_EQ(GetSheetFrame(empty), nullptr);
}

TEST_F(DocFunctionsTest, AppListMenuFollowsTheSettings) {
  MakeMainWindow();
  TMenuItem* apps = Item("mnuExtrasApps");
  ASSERT_NE(apps, nullptr);
  Settings.AppList.Clear();
  BuildAppListMenu();
  EXPECT_EQ(apps->Count(), 0);
  EXPECT_FALSE(apps->Enabled());

  struct Row {
    const char* entry;
    const char* caption;
    TShortCut key;
  };
  const Row rows[] = {
      {"Notes\x01%WINDIR%\\notepad.exe\x01%f\x01" "0\x01" "1", "Notes", scCtrl | VK_F1},
      {"Nine\x01x.exe\x01\x01" "0\x01" "9", "Nine", scCtrl | VK_F9},
      {"Ten\x01x.exe\x01\x01" "0\x01" "10", "Ten", scShift | scCtrl | VK_F1},
      {"Eighteen\x01x.exe\x01\x01" "0\x01" "18", "Eighteen", scShift | scCtrl | VK_F9},
      {"Nineteen\x01x.exe\x01\x01" "0\x01" "19", "Nineteen", scNone},
      {"Zero\x01x.exe\x01\x01" "0\x01" "0", "Zero", scNone},
      {"NoKey\x01x.exe", "NoKey", scNone},
  };
  for (const Row& r : rows) Settings.AppList.Add(r.entry);
  TObject* clicked = nullptr;
  AppListItemClick = [&](TObject* Sender) { clicked = Sender; };
  BuildAppListMenu();
  BuildAppListMenu();  // rebuilt, not added to
  ASSERT_EQ(apps->Count(), 7);
  EXPECT_TRUE(apps->Enabled());
  for (int i = 0; i < 7; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(apps->Items(i)->Caption(), rows[i].caption);
    EXPECT_EQ(apps->Items(i)->ShortCut(), rows[i].key);
    EXPECT_EQ(apps->Items(i)->Tag(), i);
    EXPECT_TRUE(apps->Items(i)->Visible());
  }
  apps->Items(2)->Click();
  EXPECT_EQ(clicked, apps->Items(2));
  Settings.AppList.Clear();
  BuildAppListMenu();
  EXPECT_EQ(apps->Count(), 0);
  EXPECT_FALSE(apps->Enabled());
}

TEST_F(DocFunctionsTest, HighlighterListFollowsTheRuleFiles) {
  MakeMainWindow();
  TMenuItem* syntax = Item("mnuViewSyntax");
  ASSERT_NE(syntax, nullptr);
  const int fixed = syntax->Count();
  ASSERT_EQ(fixed, 10);
  LoadHighlighterList();
  EXPECT_EQ(syntax->Count(), fixed) << "no folder: no items";

  CreateDirectoryA(dir.File("Highlighters").c_str(), nullptr);
  dir.Write("Highlighters\\Zeta.hgl", "");
  dir.Write("Highlighters\\alpha.hgl", "");
  dir.Write("Highlighters\\R&D.hgl", "");
  dir.Write("Highlighters\\notes.txt", "");
  TObject* clicked = nullptr;
  HighlighterItemClick = [&](TObject* Sender) { clicked = Sender; };
  LoadHighlighterList();
  LoadHighlighterList();
  ASSERT_EQ(syntax->Count(), fixed + 3);
  const char* const captions[] = {"alpha", "R&&D", "Zeta"};
  for (int i = 0; i < 3; ++i) {
    TMenuItem* item = syntax->Items(fixed + i);
    EXPECT_EQ(item->Caption(), captions[i]);
    EXPECT_EQ(item->Tag(), 10 + i);
    EXPECT_TRUE(item->RadioItem());
    EXPECT_EQ(item->ImageIndex(), -1);
  }
  EXPECT_EQ(StripAccelChars(syntax->Items(fixed + 1)->Caption()), "R&D");
  syntax->Items(fixed)->Click();
  EXPECT_EQ(clicked, syntax->Items(fixed));
  EXPECT_EQ(Item("mnuViewSyntaxNone")->Caption().empty(), false) << "fixed items stay";
}

TEST_F(DocFunctionsTest, CharacterPropertiesFollowTheCaretOnTheWindowsOwnPage) {
  TfraEdit* frame = OpenWith("A\xE4\r\nz");
  ASSERT_NE(frame, nullptr);
  MainForm()->TranslateForm();  // the captions, as at start
  Item("mnuViewCharProp")->Click();
  TTabSheet* page = frmMain->Find<TTabSheet>("tabCharProps");
  ASSERT_EQ(frmMain->pcBottom->ActivePage(), page);
  const char* const fields[] = {"Char", "Code", "Hex", "Octal", "Binary"};
  for (const char* side : {"A", "B"})
    for (const char* field : fields) {
      TEdit* edit = frmMain->Find<TEdit>(std::string("txt") + side + field);
      ASSERT_NE(edit, nullptr) << side << field;
      EXPECT_EQ(GetParent(edit->Handle()), page->Handle());
      TLabel* label = frmMain->Find<TLabel>(std::string("lbl") + side + field);
      ASSERT_NE(label, nullptr) << side << field;
      EXPECT_FALSE(label->Caption().empty());
    }
  auto text = [](const std::string& Name) { return frmMain->Find<TEdit>(Name)->Text(); };
  struct Row {
    int x, y;
    const char* after[5];
    const char* before[5];
  };
  const Row rows[] = {
      {2, 1, {"\xE4", "228", "E4", "344", "11100100"}, {"A", "65", "41", "101", "01000001"}},
      {1, 1, {"A", "65", "41", "101", "01000001"}, {"", "", "", "", ""}},
      {3, 1, {"\r", "13", "0D", "15", "00001101"}, {"\xE4", "228", "E4", "344", "11100100"}},
      {9, 1, {"\r", "13", "0D", "15", "00001101"}, {"\xE4", "228", "E4", "344", "11100100"}},
      {1, 2, {"z", "122", "7A", "172", "01111010"}, {"\n", "10", "0A", "12", "00001010"}},
      {2, 2, {"", "", "", "", ""}, {"z", "122", "7A", "172", "01111010"}},
  };
  for (const Row& r : rows) {
    frame->seEdit->SetCaretXY({r.x, r.y});  // the editor reports the move; nothing else runs
    for (int f = 0; f < 5; ++f) {
      EXPECT_EQ(text(std::string("txtA") + fields[f]), r.after[f]) << r.x << "," << r.y;
      EXPECT_EQ(text(std::string("txtB") + fields[f]), r.before[f]) << r.x << "," << r.y;
    }
  }
  SendMessageA(frame->seEdit->Handle(), WM_KEYDOWN, VK_LEFT, 1);
  EXPECT_EQ(text("txtAChar"), "z") << "a key that moves the caret refreshes the page";
  Item("mnuViewCharProp")->Click();
  EXPECT_FALSE(frmMain->pcBottom->Visible());
  frame->seEdit->SetCaretXY({1, 1});
  EXPECT_EQ(text("txtAChar"), "z") << "a hidden page is not refreshed";
}

}  // namespace
