// The View menu on a real main window: toggles and their check marks, zoom bounds, staying
// on top, the highlighter switch with rule files, and the language switch.
#include <gtest/gtest.h>
#include "commands/TemplateVariables.h"
#include "commands/ViewCommands.h"
#include "documents/fHlpMainFuncs.h"
#include "documents/fLanguage.h"
#include "highlighters/CodeUniversalHighlighter.h"
#include "rtl/SysUtils.h"
#include "support/EditTestWindow.h"
#include "toolkit/PageControl.h"
#include "toolkit/StatusBar.h"

namespace {

using edittest::EditWindowTest;

class ViewCommandsTest : public EditWindowTest {
protected:
  void SetUp() override {
    EditWindowTest::SetUp();
    Settings.AppDir = folder.Path();
  }
  void TearDown() override {
    LoadLanguageFile(folder.File("none.lng"));  // the built-in texts again
    EditWindowTest::TearDown();
  }
  static bool Checked(const std::string& Name) { return Item(Name)->Checked(); }
  static TToolButton* Button(const std::string& Name) { return frmMain->Find<TToolButton>(Name); }
  // The captions of the syntax menu's checked items, after opening it.
  static std::vector<std::string> CheckedSyntaxItems() {
    Click("mnuViewSyntax");
    TMenuItem* syntax = Item("mnuViewSyntax");
    std::vector<std::string> checked;
    for (int i = 0; i < syntax->Count(); ++i)
      if (syntax->Items(i)->Checked()) checked.push_back(syntax->Items(i)->Caption());
    return checked;
  }
};

std::string RuleFile(const std::string& Word) {
  return "<UniversalHighlighter>\r\n <Range Name=\"Root\">\r\n"
         "  <KW Name=\"Keys\"><Attri><Fore>255</Fore></Attri><W>" + Word + "</W></KW>\r\n"
         " </Range>\r\n</UniversalHighlighter>\r\n";
}

// The colour the highlighter gives Word scanned as a whole line (-1 without an attribute).
int ColourOf(TCodeCustomHighlighter& Highlighter, const std::string& Word) {
  Highlighter.ResetRange();
  Highlighter.SetLine(Word, 0);
  TCodeHighlighterAttributes* attribute = Highlighter.GetTokenAttribute();
  return attribute ? attribute->Foreground() : -1;
}

}  // namespace

TEST_F(ViewCommandsTest, TogglesFollowTheEditorAndOpeningTheMenuShowsThem) {
  struct Row {
    const char* Item;
    std::function<bool()> State;
  };
  const Row rows[] = {
      {"mnuViewLineBreak", [this] { return edit->WordWrap(); }},
      {"mnuViewSpecialChars",
       [this] { return edit->Options().Contains(TCodeEditorOption::eoShowSpecialChars); }},
      {"mnuViewReadOnly", [this] { return edit->ReadOnly(); }},
      {"mnuViewToolBar", [] { return frmMain->tbMain->Visible(); }},
      {"mnuViewStatusBar", [] { return frmMain->StatusBar->Visible(); }},
      {"mnuViewDocSearchHide", [] { return frmMain->pcBottom->Visible(); }},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.Item);
    const bool before = r.State();
    Click("mnuView");
    Click(r.Item);
    EXPECT_EQ(r.State(), !before);
    Click("mnuView");
    EXPECT_EQ(Checked(r.Item), !before);
    Click(r.Item);
    EXPECT_EQ(r.State(), before) << "a second click turns it back";
  }
  // The tool button and the item share one state.
  const bool wrapped = edit->WordWrap();
  Click("mnuViewLineBreak");
  EXPECT_EQ(edit->WordWrap(), !wrapped);
  EXPECT_EQ(Button("tbMainViewLineBreak")->Down(), !wrapped);
  Button("tbMainViewLineBreak")->Click();
  EXPECT_EQ(edit->WordWrap(), wrapped);
  EXPECT_EQ(Checked("mnuViewLineBreak"), wrapped);
  EXPECT_EQ(Button("tbMainViewLineBreak")->Down(), wrapped);
}

TEST_F(ViewCommandsTest, OemFontSwitchesSpecialCharactersOff) {
  Click("mnuViewSpecialChars");
  ASSERT_TRUE(edit->Options().Contains(TCodeEditorOption::eoShowSpecialChars));
  Click("mnuView");
  Click("mnuViewUseAsciiFont");
  EXPECT_EQ(edit->Font().Charset(), OEM_CHARSET);
  EXPECT_FALSE(edit->Options().Contains(TCodeEditorOption::eoShowSpecialChars));
  Click("mnuView");
  EXPECT_TRUE(Checked("mnuViewUseAsciiFont"));
  EXPECT_FALSE(Item("mnuViewSpecialChars")->Enabled());
  EXPECT_FALSE(Checked("mnuViewSpecialChars"));
  Click("mnuViewUseAsciiFont");
  EXPECT_NE(edit->Font().Charset(), OEM_CHARSET);
  Click("mnuView");
  EXPECT_TRUE(Item("mnuViewSpecialChars")->Enabled());
}

TEST_F(ViewCommandsTest, ZoomStopsAt48And4AndNormalTakesTheSettings) {
  Settings.Editor.AnsiFontSize = 11;
  struct Row {
    int From;
    const char* Item;
    int To;
  };
  const Row rows[] = {
      {47, "mnuViewFontZoomIn", 48},  {48, "mnuViewFontZoomIn", 48},
      {5, "mnuViewFontZoomOut", 4},   {4, "mnuViewFontZoomOut", 4},
      {3, "mnuViewFontZoomOut", 3},   {30, "mnuViewFontZoomNormal", 11},
  };
  for (const Row& r : rows) {
    edit->Font().SetSize(r.From);
    Click(r.Item);
    EXPECT_EQ(edit->Font().Size(), r.To) << r.Item << " from " << r.From;
    EXPECT_EQ(edit->Gutter().Font().Size(), r.To) << "the gutter follows";
  }
  Settings.Editor.AsciiFontSize = 9;
  ApplyEditorFont(true, edit);
  edit->Font().SetSize(20);
  Click("mnuViewFontZoomNormal");
  EXPECT_EQ(edit->Font().Size(), 9) << "the OEM font has its own size";
}

// Under Wine without a window manager a captioned window never reports WS_EX_TOPMOST, so the
// style is not looked at here; the check mark, the button and the window's place are.
TEST_F(ViewCommandsTest, StayOnTopKeepsMenuButtonAndPlaceInStep) {
  RECT before = {};
  GetWindowRect(frmMain->Handle(), &before);
  Click("mnuViewStayOnTop");
  EXPECT_TRUE(Checked("mnuViewStayOnTop"));
  EXPECT_TRUE(Button("tbMainViewStayOnTop")->Down());
  Button("tbMainViewStayOnTop")->Click();
  EXPECT_FALSE(Checked("mnuViewStayOnTop"));
  EXPECT_FALSE(Button("tbMainViewStayOnTop")->Down());
  Click("mnuViewStayOnTop");
  EXPECT_TRUE(Checked("mnuViewStayOnTop"));
  RECT after = {};
  GetWindowRect(frmMain->Handle(), &after);
  EXPECT_TRUE(EqualRect(&before, &after));
}

TEST_F(ViewCommandsTest, CharacterPropertiesPageOpensAndCloses) {
  Click("mnuViewCharProp");
  EXPECT_TRUE(frmMain->pcBottom->Visible());
  EXPECT_EQ(frmMain->pcBottom->ActivePage(), frmMain->Find<TTabSheet>("tabCharProps"));
  EXPECT_TRUE(Settings.ViewDocSearch);
  Click("mnuViewCharProp");
  EXPECT_FALSE(frmMain->pcBottom->Visible());
  EXPECT_FALSE(Settings.ViewDocSearch);
}

TEST_F(ViewCommandsTest, HighlighterSwitchAndItsCheckMark) {
  struct Row {
    const char* Item;
    TCodeCustomHighlighter* Highlighter;
  };
  const Row rows[] = {
      {"mnuViewSyntaxNone", nullptr},           {"mnuViewSyntaxHTML", frmMain->HlHTML},
      {"mnuViewSyntaxWebMixed", frmMain->HlWebMixed}, {"mnuViewSyntaxPHP", frmMain->HlPHP},
      {"mnuViewSyntaxCSS", frmMain->HlCSS},     {"mnuViewSyntaxJS", frmMain->HlJS},
      {"mnuViewSyntaxVBS", frmMain->HlVBS},     {"mnuViewSyntaxURI", frmMain->HlURI},
  };
  for (const Row& r : rows) {
    Click(r.Item);
    EXPECT_EQ(edit->Highlighter(), r.Highlighter) << r.Item;
    EXPECT_EQ(CheckedSyntaxItems(), std::vector<std::string>{Item(r.Item)->Caption()})
        << "only the editor's own highlighter is checked";
  }
  Click("mnuViewSyntaxNone");
  Button("tbMainViewSyntax")->Click();
  EXPECT_EQ(edit->Highlighter(), frmMain->HlURI);
  EXPECT_EQ(CheckedSyntaxItems(), std::vector<std::string>{"&URI-Hervorhebung"});

  CreateDirectoryA(folder.File("Highlighters").c_str(), nullptr);
  folder.Write("Highlighters\\Demo.hgl", RuleFile("begin"));
  folder.Write("Highlighters\\Gone.hgl", RuleFile("gone"));
  Click("mnuViewSyntax");
  TMenuItem* syntax = Item("mnuViewSyntax");
  ASSERT_EQ(syntax->Count(), 12);
  DeleteFileA(folder.File("Highlighters\\Gone.hgl").c_str());
  syntax->Items(11)->Click();  // its file is gone: nothing changes
  EXPECT_EQ(edit->Highlighter(), frmMain->HlURI);
  syntax->Items(10)->Click();
  EXPECT_EQ(edit->Highlighter(), frame->HlUni.get());
  EXPECT_EQ(frame->HlUni->Tag(), 10);
  EXPECT_EQ(CheckedSyntaxItems(), std::vector<std::string>{"Demo"});
  DeleteFileA(folder.File("Highlighters\\Demo.hgl").c_str());
  RemoveDirectoryA(folder.File("Highlighters").c_str());
}

TEST_F(ViewCommandsTest, BrokenRuleFileIsReportedAndChangesNothing) {
  CreateDirectoryA(folder.File("Highlighters").c_str(), nullptr);
  folder.Write("Highlighters\\Broken.hgl", "<UniversalHighlighter>\r\n<Range");
  Click("mnuViewSyntax");
  testsupport::QueueAnswer(ModalAnswer{IDOK}, [](const ModalQuestion& q) {
    EXPECT_NE(q.text.find("Broken.hgl"), std::string::npos) << q.text;
  });
  Item("mnuViewSyntax")->Items(10)->Click();
  EXPECT_EQ(edit->Highlighter(), frmMain->HlURI);
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);
  DeleteFileA(folder.File("Highlighters\\Broken.hgl").c_str());
  RemoveDirectoryA(folder.File("Highlighters").c_str());
}

TEST_F(ViewCommandsTest, LanguageFileRenamesMenusAndTheInternalOneRestoresThem) {
  CreateDirectoryA(folder.File("Language").c_str(), nullptr);
  folder.Write("Language\\English.lng", "Main|mnuView=&View\r\nMain|mnuViewWindowList=&Window list...\r\n");
  TMenuItem english(nullptr);
  english.SetCaption("English");
  MainForm()->mnuLanguageItemClick(&english);
  EXPECT_EQ(Item("mnuView")->Caption(), "&View");
  EXPECT_EQ(Item("mnuViewWindowList")->Caption(), "&Window list...");
  EXPECT_EQ(Settings.Language, "English");
  TMenuItem internal(nullptr);
  internal.SetCaption(InternalLanguageName);
  MainForm()->mnuLanguageItemClick(&internal);
  EXPECT_EQ(Item("mnuView")->Caption(), "&Ansicht");
  EXPECT_EQ(Item("mnuViewWindowList")->Caption(), "&Fensterliste...");
  DeleteFileA(folder.File("Language\\English.lng").c_str());
  RemoveDirectoryA(folder.File("Language").c_str());
}

TEST_F(ViewCommandsTest, SyntaxPlaceholderPicksARuleFileByItsMenuCaption) {
  CreateDirectoryA(folder.File("Highlighters").c_str(), nullptr);
  folder.Write("Highlighters\\Demo.hgl", RuleFile("begin"));
  folder.Write("Highlighters\\R&D.hgl", RuleFile("lab"));
  Click("mnuViewSyntax");  // the rule-file items: Demo (tag 10), R&&D (tag 11)
  TCodeUniversalHighlighter& rules = *frame->HlUni;
  struct Case {
    const char* Token;
    int Tag;            // of the item the editor's rule highlighter took; -1: unchanged
    const char* Word;   // a keyword of the loaded file
  };
  const Case cases[] = {
      {"%SYNTAX:R&D%", 11, "lab"},      // the caption without its accelerator ampersand
      {"%SYNTAX:demo%", 10, "begin"},   // compared in lower case
      {"%SYNTAX:R&&D%", -1, "begin"},   // the caption as stored is no name
      {"%SYNTAX:Demo.hgl%", -1, "begin"},
      {"%SYNTAX:Zeta%", -1, "begin"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Token);
    edit->SetHighlighter(frmMain->HlHTML);
    const int tagBefore = rules.Tag();
    EXPECT_EQ(ExpandVariables(std::string("<") + c.Token + ">", frame), "<>");
    if (c.Tag < 0) {
      EXPECT_EQ(edit->Highlighter(), frmMain->HlHTML);
      EXPECT_EQ(rules.Tag(), tagBefore);
    } else {
      EXPECT_EQ(edit->Highlighter(), &rules);
      EXPECT_EQ(rules.Tag(), c.Tag);
      const std::string caption = Item("mnuViewSyntax")->Items(c.Tag)->Caption();
      EXPECT_EQ(CheckedSyntaxItems(), std::vector<std::string>{caption}) << "the menu agrees";
    }
    EXPECT_EQ(ColourOf(rules, c.Word), 255) << "the rule file's own keyword";
  }

  // A listed entry whose file is gone is passed over; the editor keeps what it had.
  DeleteFileA(folder.File("Highlighters\\R&D.hgl").c_str());
  edit->SetHighlighter(frmMain->HlHTML);
  EXPECT_EQ(ExpandVariables("%SYNTAX:r&d%", frame), "");
  EXPECT_EQ(edit->Highlighter(), frmMain->HlHTML);
  EXPECT_EQ(rules.Tag(), 10);
  DeleteFileA(folder.File("Highlighters\\Demo.hgl").c_str());
  RemoveDirectoryA(folder.File("Highlighters").c_str());
}
