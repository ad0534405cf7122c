// The main window's shared highlighters and each document's own: what a document gets when it
// opens, rule files from the program folder, and links opened with Ctrl+click.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include <vector>
#include "documents/fHlpMainFuncs.h"
#include "editor/CodeEdit.h"
#include "highlighters/CodeHighlighterCSS.h"
#include "highlighters/CodeHighlighterMulti.h"
#include "highlighters/CodeHighlighterPHP.h"
#include "highlighters/CodeHighlighterURI.h"
#include "highlighters/CodeURIOpener.h"
#include "highlighters/CodeUniversalHighlighter.h"
#include "rtl/SysUtils.h"
#include "support/DocumentsTestFixture.h"
#include "toolkit/Application.h"
#include "toolkit/Menus.h"
#include "toolkit/ShellStart.h"

namespace documentstest {
namespace {

using testsupport::AskedQuestions;
using testsupport::QueueAnswer;

TCodeHighlighterAttributes* AttributeNamed(const TCodeCustomHighlighter* H, const std::string& Name) {
  for (int i = 0; i < H->GetAttributeCount(); ++i)
    if (H->GetAttribute(i)->Name() == Name) return H->GetAttribute(i);
  return nullptr;
}

// The attribute the editor paints the character at a 1-based position with.
TCodeHighlighterAttributes* AttributeAt(const TfraEdit& Frame, int Char, int Line) {
  std::string token;
  TCodeHighlighterAttributes* attri = nullptr;
  return Frame.seEdit->GetHighlighterAttriAtRowCol({Char, Line}, token, attri) ? attri : nullptr;
}

using SharedHighlighterTest = DocumentWindowTest;

TEST_F(SharedHighlighterTest, TheWindowColoursEachSharedHighlighter) {
  const TFontStyles none{};
  struct Case {
    TCodeCustomHighlighter* highlighter;
    const char* attribute;
    TColor foreground;
    bool plain;  // no bold, italic or underline
  } cases[] = {
      {frmMain->HlURI, "Visited URI", clNavy, false},  // stays underlined like a link
      {frmMain->HlURI, "URI", TColor(0x00FF0000), false},
      {frmMain->HlHTML, "Escape Ampersand", clPurple, true},
      {frmMain->HlHTML, "Identifier", clNavy, true},
      {frmMain->HlHTML, "Reserved Word", clBlue, true},
      {frmMain->HlHTML, "Unknown Word", clRed, true},
      {frmMain->HlHTML, "Symbol", clGray, true},
      {frmMain->HlHTML, "Value", clTeal, true},
      {frmMain->HlHTML, "Comment", clGreen, true},
      {frmMain->HlCSS, "Undefined Property", clRed, true},
      {frmMain->HlCSS, "Property", clNavy, true},
      {frmMain->HlJS, "Event", TColor(0x00FF8000), true},
      {frmMain->HlJS, "Comment", clGreen, true},
      {frmMain->HlVBS, "Number", clPurple, true},
      {frmMain->HlPHP, "Variable", clMaroon, true},
      {frmMain->HlPHP, "Reserved Word", clBlue, true},
  };
  for (const Case& c : cases) {
    ASSERT_NE(c.highlighter, nullptr) << c.attribute;
    TCodeHighlighterAttributes* a = AttributeNamed(c.highlighter, c.attribute);
    ASSERT_NE(a, nullptr) << c.attribute;
    EXPECT_EQ(a->Foreground(), c.foreground) << c.highlighter->Name() << " " << c.attribute;
    if (c.plain) EXPECT_EQ(a->Style(), none) << c.highlighter->Name() << " " << c.attribute;
    else EXPECT_TRUE(a->Style().Contains(TFontStyle::fsUnderline)) << c.attribute;
  }
  EXPECT_NE(dynamic_cast<TCodeURIHighlighter*>(frmMain->HlURI), nullptr);
}

TEST_F(SharedHighlighterTest, TheWebPageSwitchesToEachLanguageBetweenRedMarkers) {
  auto* mixed = dynamic_cast<TCodeMultiHighlighter*>(frmMain->HlWebMixed);
  ASSERT_NE(mixed, nullptr);
  EXPECT_EQ(mixed->DefaultHighlighter(), frmMain->HlHTML);
  EXPECT_EQ(mixed->DefaultLanguageName(), "HTML");
  const std::vector<std::pair<std::string, TCodeCustomHighlighter*>> schemes = {
      {"PHP", frmMain->HlPHP}, {"CSS", frmMain->HlCSS}, {"JS", frmMain->HlJS},
      {"VBS", frmMain->HlVBS}};
  ASSERT_EQ(mixed->Schemes().Count(), 4);
  for (int i = 0; i < 4; ++i) {
    TScheme* s = mixed->Schemes().Items(i);
    EXPECT_EQ(s->SchemeName(), schemes[i].first);
    EXPECT_EQ(s->Highlighter(), schemes[i].second) << s->SchemeName();
    EXPECT_FALSE(s->CaseSensitive());
    EXPECT_EQ(s->MarkerAttri()->Foreground(), clRed);
    EXPECT_EQ(s->MarkerAttri()->Background(), clNone);
  }

  // As the editor shows a page: passages in their language, a style passage over lines.
  TfraEdit* page = OpenWith("page.html",
                            "<b>x</b> <?PHP echo $name; ?>\r\n"
                            "<STYLE type=\"text/css\">p {\r\n"
                            "color: red }</style><script language=\"JavaScript\">alert(1)"
                            "</script>\r\n");
  ASSERT_NE(page, nullptr);
  ASSERT_EQ(page->seEdit->Highlighter(), mixed);
  auto* php = dynamic_cast<TCodePHPHighlighter*>(frmMain->HlPHP);
  auto* css = dynamic_cast<TCodeCssHighlighter*>(frmMain->HlCSS);
  EXPECT_EQ(AttributeAt(*page, 2, 1), AttributeNamed(frmMain->HlHTML, "Reserved Word"));
  EXPECT_EQ(AttributeAt(*page, 11, 1), mixed->Schemes().Items(0)->MarkerAttri());  // <?PHP
  EXPECT_EQ(AttributeAt(*page, 22, 1), php->VariableAttri());                      // $name
  EXPECT_EQ(AttributeAt(*page, 3, 2), mixed->Schemes().Items(1)->MarkerAttri());   // <STYLE
  EXPECT_EQ(AttributeAt(*page, 2, 3), css->PropertyAttri()) << "the passage goes on";
  EXPECT_EQ(AttributeAt(*page, 14, 3), mixed->Schemes().Items(1)->MarkerAttri());  // </style>
  EXPECT_EQ(AttributeAt(*page, 52, 3), AttributeNamed(frmMain->HlJS, "Non-reserved Keyword"));
}

TEST_F(SharedHighlighterTest, OpeningPicksTheSharedInstanceOfTheFileType) {
  Settings.FileTypes.Insert(0, "Seite|*.htx|htx|:HTML:");
  Settings.FileTypes.Insert(0, "Skript|*.phx|phx|:PHP:");
  Settings.Editor.BackgroundColor = 0x00E0F0F0;
  struct Case {
    const char* name;
    TCodeCustomHighlighter* expected;
  } cases[] = {
      {"a.txt", frmMain->HlURI},      {"b.html", frmMain->HlWebMixed},
      {"c.php", frmMain->HlWebMixed}, {"d.css", frmMain->HlCSS},
      {"e.js", frmMain->HlJS},        {"f.vbs", frmMain->HlVBS},
      {"g.htx", frmMain->HlHTML},     {"h.phx", frmMain->HlPHP},
      {"noext", frmMain->HlURI},
      {"i.ini", frmMain->HlURI},  // its rule file is not in the program folder
  };
  for (const Case& c : cases) {
    TfraEdit* frame = OpenWith(c.name, "text");
    ASSERT_NE(frame, nullptr) << c.name;
    EXPECT_EQ(frame->seEdit->Highlighter(), c.expected) << c.name;
  }
  EXPECT_TRUE(AskedQuestions().empty());
  // Untitled documents are plain text with links, on the configured background.
  TfraEdit* untitled = Open("");
  EXPECT_EQ(untitled->seEdit->Highlighter(), frmMain->HlURI);
  EXPECT_EQ(untitled->seEdit->Color(), TColor(0x00E0F0F0));
}

// ---- Rule files ---------------------------------------------------------------------------

constexpr TColor kKeywordColour = 0x000000FF;

std::string RuleFile(const std::string& Words) {
  return "<UniversalHighlighter>\r\n"
         " <Range Name=\"Root\">\r\n"
         "  <CaseSensitive>False</CaseSensitive>\r\n"
         "  <KW Name=\"Keys\"><Attri><Fore>" + std::to_string(kKeywordColour) +
         "</Fore></Attri><W>" + Words + "</W></KW>\r\n"
         " </Range>\r\n"
         "</UniversalHighlighter>\r\n";
}

class RuleFileTypeTest : public DocumentWindowTest {
protected:
  void SetUp() override {
    DocumentWindowTest::SetUp();
    Settings.AppDir = program.Path();
    CreateDirectoryA(program.File("Highlighters").c_str(), nullptr);
    WriteRules("Demo", RuleFile("begin"));
    WriteRules("A & B", RuleFile("alpha"));
    WriteRules("Broken", "<UniversalHighlighter>\r\n <Range Name=\"Root\">\r\n <Bogus>\r\n");
    WriteRules("Gone", RuleFile("gone"));
    LoadHighlighterList();
    DeleteFileA(program.File("Highlighters\\Gone.hgl").c_str());
    for (const char* row : {"Demo|*.dem|dem|DEMO", "AB|*.ab|ab|A & B", "Kaputt|*.brk|brk|Broken",
                            "Weg|*.gon|gon|Gone", "Fremd|*.unl|unl|Unlisted"})
      Settings.FileTypes.Insert(0, row);
  }
  void WriteRules(const std::string& Name, const std::string& Text) {
    program.Write("Highlighters\\" + Name + ".hgl", Text);
  }
  TMenuItem* SyntaxItem(const std::string& Caption) const {
    TMenuItem* syntax = frmMain->Find<TMenuItem>("mnuViewSyntax");
    for (int i = 0; i < syntax->Count(); ++i)
      if (syntax->Items(i)->Caption() == Caption) return syntax->Items(i);
    return nullptr;
  }
  // Expects the message about the rule file and answers it.
  void ExpectRuleFileMessage(const std::string& Name) {
    ModalAnswer ok;
    ok.result = IDOK;
    QueueAnswer(ok, [Name, this](const ModalQuestion& q) {
      EXPECT_EQ(q.kind, ModalKind::MessageBox);
      EXPECT_TRUE(q.flags & MB_ICONERROR);
      // The identifier names the file, in whatever case the file type writes it.
      EXPECT_NE(AnsiLowerCase(q.text).find(AnsiLowerCase(program.File("Highlighters\\" + Name))),
                std::string::npos)
          << q.text;
      EXPECT_NE(q.text.find("nicht geladen"), std::string::npos) << q.text;
    });
  }

  testsupport::TempFolder program;
};

TEST_F(RuleFileTypeTest, ATypeNamingAListedRuleFileGetsTheDocumentsOwnHighlighter) {
  ASSERT_NE(SyntaxItem("Demo"), nullptr);
  ASSERT_NE(SyntaxItem("A && B"), nullptr);
  TfraEdit* first = OpenWith("one.dem", "x begin y");
  TfraEdit* second = OpenWith("two.dem", "BEGIN");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(first->seEdit->Highlighter(), first->HlUni.get());
  EXPECT_EQ(second->seEdit->Highlighter(), second->HlUni.get());
  EXPECT_NE(first->HlUni, second->HlUni);
  EXPECT_EQ(first->HlUni->Tag(), SyntaxItem("Demo")->Tag());
  ASSERT_NE(AttributeAt(*first, 3, 1), nullptr);
  EXPECT_EQ(AttributeAt(*first, 3, 1)->Foreground(), kKeywordColour);
  EXPECT_NE(AttributeAt(*first, 1, 1)->Foreground(), kKeywordColour);
  EXPECT_EQ(AttributeAt(*second, 1, 1)->Foreground(), kKeywordColour);

  // A caption with an ampersand names its rule file like any other.
  TfraEdit* ab = OpenWith("x.ab", "alpha");
  EXPECT_EQ(ab->seEdit->Highlighter(), ab->HlUni.get());
  EXPECT_EQ(ab->HlUni->Tag(), SyntaxItem("A && B")->Tag());
  EXPECT_EQ(AttributeAt(*ab, 1, 1)->Foreground(), kKeywordColour);
  EXPECT_TRUE(AskedQuestions().empty());

  // Closing a document frees its highlighter while the others keep theirs.
  Pages().SetActivePageIndex(0);
  CloseDocument();
  EXPECT_EQ(AttributeAt(*second, 1, 1)->Foreground(), kKeywordColour);
}

TEST_F(RuleFileTypeTest, MissingOrUnlistedRuleFilesGivePlainTextQuietly) {
  for (const char* name : {"a.gon", "b.unl"}) {
    TfraEdit* frame = OpenWith(name, "gone");
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->seEdit->Highlighter(), frmMain->HlURI) << name;
  }
  EXPECT_TRUE(AskedQuestions().empty());
}

TEST_F(RuleFileTypeTest, ABrokenRuleFileIsNamedAndTheDocumentOpensPlain) {
  Settings.Editor.BackgroundColor = 0x00E0F0F0;
  ExpectRuleFileMessage("Broken");
  TfraEdit* frame = OpenWith("x.brk", "some text\r\nhttp://a.de");
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(AskedQuestions().size(), 1u);
  EXPECT_EQ(frame->seEdit->Highlighter(), frmMain->HlURI);
  EXPECT_EQ(frame->seEdit->Color(), TColor(0x00E0F0F0));
  EXPECT_EQ(frame->seEdit->Text(), "some text\r\nhttp://a.de");
  EXPECT_EQ(frame->DocInfo.Title, "x.brk");
  EXPECT_FALSE(frame->DocInfo.Modified);
  EXPECT_EQ(frmMain->Caption(), "Tarvoline - x.brk");
  EXPECT_EQ(AttributeAt(*frame, 3, 2), static_cast<TCodeURIHighlighter*>(frmMain->HlURI)->URIAttri());
}

TEST_F(RuleFileTypeTest, ReloadingFollowsTheRuleFileBrokenAndMendedAgain) {
  TfraEdit* frame = OpenWith("r.dem", "begin");
  ASSERT_EQ(frame->seEdit->Highlighter(), frame->HlUni.get());
  WriteRules("Demo", "<UniversalHighlighter>\r\n<Range");  // cut inside a tag
  ExpectRuleFileMessage("Demo");
  ASSERT_EQ(OpenFile(folder.File("r.dem"), false, frame), frame->Owner());
  EXPECT_EQ(frame->seEdit->Highlighter(), frmMain->HlURI);
  EXPECT_EQ(AskedQuestions().size(), 1u);
  WriteRules("Demo", RuleFile("begin"));
  ASSERT_EQ(OpenFile(folder.File("r.dem"), false, frame), frame->Owner());
  EXPECT_EQ(frame->seEdit->Highlighter(), frame->HlUni.get());
  EXPECT_EQ(AttributeAt(*frame, 1, 1)->Foreground(), kKeywordColour);
  EXPECT_EQ(TabCount(), 1);
}

// ---- Links --------------------------------------------------------------------------------

class DocumentLinkTest : public DocumentWindowTest {
protected:
  void SetUp() override {
    DocumentWindowTest::SetUp();
    SetShellStartOverride([this](const std::string& Target) {
      started.push_back(Target);
      return true;
    });
    frmMain->Show();
    SetWindowPos(frmMain->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  }
  void TearDown() override {
    SetShellStartOverride(nullptr);
    DocumentWindowTest::TearDown();
  }
  TfraEdit* OpenShown(const std::string& Name, const std::string& Text) {
    TfraEdit* frame = OpenWith(Name, Text);
    SetForegroundWindow(frmMain->Handle());
    ::SetFocus(frame->seEdit->Handle());
    Application().ProcessMessages();
    return frame;
  }
  // Ctrl held over a character cell (1-based), pressed and released there.
  void CtrlClick(TCodeEdit& Edit, int Column, int Line) {
    POINT p = {Edit.GutterWidth() + 2 + (Column - 1) * Edit.CharWidth() + Edit.CharWidth() / 2,
               (Line - 1) * Edit.LineHeight() + Edit.LineHeight() / 2};
    HoldCtrl(true);
    POINT screen = p;
    ClientToScreen(Edit.Handle(), &screen);
    SetCursorPos(screen.x, screen.y);
    SendMessageA(Edit.Handle(), WM_KEYDOWN, VK_CONTROL, 1);
    SendMessageA(Edit.Handle(), WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(p.x, p.y));
    SendMessageA(Edit.Handle(), WM_LBUTTONUP, MK_CONTROL, MAKELPARAM(p.x, p.y));
    HoldCtrl(false);
    SendMessageA(Edit.Handle(), WM_KEYUP, VK_CONTROL, 1 | (1u << 31) | (1 << 30));
  }

  std::vector<std::string> started;
};

TEST_F(DocumentLinkTest, CtrlClickInATextDocumentOpensTheAddress) {
  TfraEdit* frame = OpenShown("links.txt", "see http://a.de/x, or\r\nwww.b.de and me@c.de\r\n");
  ASSERT_NE(frame, nullptr);
  ASSERT_NE(frame->CodeURIOpener, nullptr);
  EXPECT_EQ(frame->CodeURIOpener->Editor(), frame->seEdit);
  EXPECT_EQ(frame->CodeURIOpener->URIHighlighter(), frmMain->HlURI);
  CtrlClick(*frame->seEdit, 8, 1);
  CtrlClick(*frame->seEdit, 3, 2);
  CtrlClick(*frame->seEdit, 18, 2);
  CtrlClick(*frame->seEdit, 2, 1);  // "see" is no link
  EXPECT_EQ(started, (std::vector<std::string>{"http://a.de/x", "http://www.b.de", "mailto:me@c.de"}));
  EXPECT_TRUE(frame->CodeURIOpener->IsVisited("http://a.de/x"));
}

TEST_F(DocumentLinkTest, AddressesInOtherLanguagesAreNoLinks) {
  TfraEdit* frame = OpenShown("s.css", "a { background: url(http://a.de/x) }\r\n");
  ASSERT_EQ(frame->seEdit->Highlighter(), frmMain->HlCSS);
  CtrlClick(*frame->seEdit, 26, 1);
  EXPECT_TRUE(started.empty());
  // Each document has its own opener: a second text document opens its own links.
  TfraEdit* text = OpenShown("t.txt", "http://z.de");
  CtrlClick(*text->seEdit, 3, 1);
  EXPECT_EQ(started, std::vector<std::string>{"http://z.de"});
  EXPECT_FALSE(frame->CodeURIOpener->IsVisited("http://z.de"));
}

}  // namespace
}  // namespace documentstest
