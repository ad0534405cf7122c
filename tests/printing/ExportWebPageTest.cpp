// Exports of real highlighters: ranges that start inside comments and passages, the mixed
// page's own attributes, and what other programs read back from the output.
#include <gtest/gtest.h>
#include <windows.h>
#include <richedit.h>
#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>
#include "ExportTestSupport.h"
#include "highlighters/CodeHighlighterCSS.h"
#include "highlighters/CodeHighlighterHtml.h"
#include "highlighters/CodeHighlighterJScript.h"
#include "highlighters/CodeHighlighterMulti.h"
#include "highlighters/CodeHighlighterPHP.h"
#include "highlighters/CodeHighlighterVBScript.h"
#include "printing/CodeExportHTML.h"
#include "printing/CodeExportRTF.h"
#include "support/HtmlExportText.h"
#include "support/TempFolder.h"

using exporttest::Lines;
using exporttest::TCharHighlighter;

namespace {

constexpr TBufferCoord At(int Line, int Char) { return BufferCoord(Char, Line); }

// The main window's mixed highlighter with its members in their main window colours.
struct WebPage {
  WebPage() {
    ApplyMainWindowColors(css);
    ApplyMainWindowColors(js);
    ApplyMainWindowColors(php);
    ConfigureWebMixed(multi, &html, &php, &css, &js, &vbs);
  }
  TCodeHTMLHighlighter html{nullptr};
  TCodePHPHighlighter php{nullptr};
  TCodeCssHighlighter css{nullptr};
  TCodeJScriptHighlighter js{nullptr};
  TCodeVBScriptHighlighter vbs{nullptr};
  TCodeMultiHighlighter multi{nullptr};
};

const std::vector<std::string> kPage = {
    "<p>Hello</p><?php echo $a; ?>",
    "<style>p { /* note",
    "still note */ color: red }</style>",
    "<script type=\"text/javascript\">var s = 'x'; /* c",
    "comment */ f();</script>",
};

// The HTML fragment form of a range: its spans, without the document around them.
std::string ExportSpans(TCodeCustomHighlighter& Highlighter, const std::vector<std::string>& Text,
                        TBufferCoord Start, TBufferCoord Stop) {
  TCodeExporterHTML html(nullptr);
  html.SetHighlighter(&Highlighter);
  html.SetExportAsText(true);
  html.SetCreateHTMLFragment(true);
  const TStringList lines = Lines(Text);
  html.ExportRange(&lines, Start, Stop);
  const std::string& out = html.Output();
  const std::string open = "pt Courier New;\">", close = "</span>\r\n</code></pre>";
  const size_t from = out.find(open) + open.size();
  return out.substr(from, out.rfind(close) - from);
}

// The rule of a class in a document's style sheet, "" when there is none.
std::string RuleOf(const std::string& Document, const std::string& Class) {
  const size_t at = Document.find("\r\n." + Class + " { ");
  if (at == std::string::npos) return "";
  return Document.substr(at + 2, Document.find("\r\n", at + 2) - at - 2);
}

// A highlighter whose tokens "1" to "4" carry attributes its own list does not hold: three of
// one name and one whose name gives no class name.
class TGroupHighlighter : public TCharHighlighter {
public:
  TGroupHighlighter() {
    const std::pair<const char*, TColor> groups[] = {
        {"unknown", clRed}, {"unknown", clGreen}, {"unknown", clBlue}, {"\xC4", clOlive}};
    for (const auto& [name, color] : groups) {
      groups_.push_back(std::make_unique<TCodeHighlighterAttributes>(name));
      groups_.back()->SetForeground(color);
    }
  }
  TCodeHighlighterAttributes* GetTokenAttribute() const override {
    const std::string token = GetToken();
    if (token >= "1" && token <= "4") return groups_[token[0] - '1'].get();
    return TCharHighlighter::GetTokenAttribute();
  }

private:
  std::vector<std::unique_ptr<TCodeHighlighterAttributes>> groups_;
};

}  // namespace

TEST(ExportOfARange, StartsInTheColoursTheTextBeforeItLeaves) {
  WebPage page;
  struct Case {
    TBufferCoord Start, Stop;
    const char* Spans;
  } cases[] = {
      // Inside a comment opened on a line above.
      {At(5, 1), At(5, 11), "<span class=\"jscript1-comment\">comment */</span>"},
      // Inside a comment opened before the range on its own line.
      {At(4, 48), At(4, 49), "<span class=\"jscript1-comment\">c</span>"},
      // Inside a passage whose marker stands before the range.
      {At(1, 19), At(1, 23), "<span class=\"php1-reservedword\">echo</span>"},
      // In the middle of a token: the rest of it.
      {At(1, 21), At(1, 23), "<span class=\"php1-reservedword\">ho</span>"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ExportSpans(page.multi, kPage, c.Start, c.Stop), c.Spans)
        << c.Start.Line << "," << c.Start.Char;
}

TEST(ExportOfARange, StartingInAStyleCommentIsInTheStyleSheetColours) {
  WebPage page;
  TCodeExporterRTF rtf(nullptr);
  rtf.SetHighlighter(&page.multi);
  const TStringList lines = Lines(kPage);
  rtf.ExportRange(&lines, At(2, 15), At(3, 20));
  // The comment's green first, then the property's navy.
  EXPECT_NE(rtf.Output().find("{\\colortbl\\red0\\green128\\blue0;"), std::string::npos)
      << rtf.Output();
  EXPECT_NE(rtf.Output().find("\\cf0 note\r\n\\par still note */"), std::string::npos)
      << rtf.Output();
  EXPECT_EQ(ExportSpans(page.multi, kPage, At(2, 15), At(3, 20)),
            "<span class=\"css1-comment\">note\r\nstill note */</span>"
            "<span class=\"css1-space\"> </span><span class=\"css1-property\">color</span>");
}

TEST(ExportHTMLClasses, EveryAttributeOfAMixedPageHasItsOwnClassAndRule) {
  WebPage page;
  TCodeExporterHTML html(nullptr);
  html.SetHighlighter(&page.multi);
  html.SetExportAsText(true);
  const TStringList lines = Lines(kPage);
  html.ExportAll(&lines);
  const std::string& out = html.Output();
  // The markers are only in the mixed highlighter's own list, all named "Marker".
  for (const char* cls : {"marker", "marker-2", "marker-3", "marker-4"})
    EXPECT_EQ(RuleOf(out, cls), "." + std::string(cls) + " { color: #FF0000; }") << cls;
  EXPECT_NE(out.find("<span class=\"marker\">&lt;?php</span>"), std::string::npos);
  EXPECT_NE(out.find("<span class=\"marker-2\">&lt;/style&gt;\r\n&lt;script"), std::string::npos);
  EXPECT_NE(out.find("<span class=\"marker-3\">&lt;/script&gt;</span>"), std::string::npos);
  // Each language in its own colours.
  EXPECT_EQ(RuleOf(out, "css1-property"), ".css1-property { color: #000080; }");
  EXPECT_EQ(RuleOf(out, "jscript1-comment"), ".jscript1-comment { color: #008000; }");
  EXPECT_EQ(RuleOf(out, "php1-variable"), ".php1-variable { color: #800000; }");
  EXPECT_NE(out.find("<span class=\"php1-variable\">$a</span>"), std::string::npos);
  EXPECT_NE(out.find("<span class=\"css1-property\">color</span>"), std::string::npos);
  EXPECT_NE(out.find("<span class=\"html1-reservedword\">p</span>"), std::string::npos);
}

TEST(ExportHTMLClasses, AttributesNoListHoldsGetAClassAndRuleEach) {
  TGroupHighlighter h;
  h.Define('u', "unknown", clNavy);  // a listed one of the same name
  TCodeExporterHTML html(nullptr);
  html.SetHighlighter(&h);
  html.SetExportAsText(true);
  const TStringList lines = Lines({"u123u214"});
  html.ExportAll(&lines);
  const std::string& out = html.Output();
  EXPECT_NE(out.find("<span class=\"char1-unknown\">u</span><span class=\"unknown\">1</span>"
                     "<span class=\"unknown-2\">2</span><span class=\"unknown-3\">3</span>"
                     "<span class=\"char1-unknown\">u</span><span class=\"unknown-2\">2</span>"
                     "<span class=\"unknown\">1"),
            std::string::npos)
      << out;
  EXPECT_EQ(RuleOf(out, "char1-unknown"), ".char1-unknown { color: #000080; }");
  EXPECT_EQ(RuleOf(out, "unknown"), ".unknown { color: #FF0000; }");
  EXPECT_EQ(RuleOf(out, "unknown-2"), ".unknown-2 { color: #008000; }");
  EXPECT_EQ(RuleOf(out, "unknown-3"), ".unknown-3 { color: #0000FF; }");
  EXPECT_EQ(RuleOf(out, "attribute"), ".attribute { color: #808000; }");
  EXPECT_NE(out.find("<span class=\"attribute\">4"), std::string::npos);
}

TEST(ExportRoundTrip, HtmlDocumentSavedToAFileGivesBackTheText) {
  std::string every;
  for (int c = 32; c < 256; ++c) every += static_cast<char>(c);
  const std::vector<std::string> text = {
      "<p title=\"a & b\">x</p><?php echo \"<b>\"; ?>", every, "\t<style>p { x: '&amp;' }",
      "", "</style>\xE4\xF6\xFC\xDF \x80 \x84\x93\x96\x85 \xAC\xB6"};
  for (bool fragment : {false, true}) {
    WebPage page;
    TCodeExporterHTML html(nullptr);
    html.SetHighlighter(&page.multi);
    html.SetExportAsText(true);
    html.SetCreateHTMLFragment(fragment);
    const TStringList lines = Lines(text);
    html.ExportAll(&lines);
    testsupport::TempFolder folder;
    {
      TFileStream file(folder.File("page.html"), fmCreate);
      html.SaveToStream(file);
    }
    const std::string saved = folder.Read("page.html");
    for (unsigned char c : saved) ASSERT_LT(c, 128) << fragment;
    std::string joined;
    for (size_t i = 0; i < text.size(); ++i) joined += (i > 0 ? "\r\n" : "") + text[i];
    EXPECT_EQ(testsupport::PreText(saved), joined) << fragment;
  }
}

namespace {

// A rich-edit control of the system, loaded for the test only.
class RichEdit {
public:
  RichEdit() {
    library_ = LoadLibraryA("riched20.dll");
    if (library_)
      window_ = CreateWindowExA(0, RICHEDIT_CLASSA, "", WS_POPUP | ES_MULTILINE, 0, 0, 400, 300,
                                nullptr, nullptr, nullptr, nullptr);
  }
  ~RichEdit() {
    if (window_) DestroyWindow(window_);
    if (library_) FreeLibrary(library_);
  }
  bool Ready() const { return window_ != nullptr; }

  // Streams Rtf in; false when the control took nothing.
  bool Load(const std::string& Rtf) {
    Source source{&Rtf, 0};
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    stream.pfnCallback = &Read;
    SendMessageA(window_, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    return stream.dwError == 0 && source.Pos == Rtf.size();
  }
  std::string Text() {
    std::string buffer(1 << 16, '\0');
    GETTEXTEX get{};
    get.cb = static_cast<DWORD>(buffer.size());
    get.flags = GT_USECRLF;
    get.codepage = CP_ACP;
    const LRESULT n = SendMessageA(window_, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                                   reinterpret_cast<LPARAM>(buffer.data()));
    buffer.resize(static_cast<size_t>(n));
    return buffer;
  }
  // Colour and boldness of the character at Pos (0-based, a line break counting one).
  COLORREF ColorAt(int Pos, bool* Bold = nullptr) {
    SendMessageA(window_, EM_SETSEL, Pos, Pos + 1);
    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_COLOR | CFM_BOLD;
    SendMessageA(window_, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    if (Bold) *Bold = (format.dwEffects & CFE_BOLD) != 0;
    return format.crTextColor;
  }

private:
  struct Source {
    const std::string* Data;
    size_t Pos;
  };
  static DWORD CALLBACK Read(DWORD_PTR Cookie, LPBYTE Buffer, LONG Count, LONG* Done) {
    auto* s = reinterpret_cast<Source*>(Cookie);
    const size_t n = std::min<size_t>(Count, s->Data->size() - s->Pos);
    std::copy_n(s->Data->data() + s->Pos, n, Buffer);
    s->Pos += n;
    *Done = static_cast<LONG>(n);
    return 0;
  }

  HMODULE library_ = nullptr;
  HWND window_ = nullptr;
};

}  // namespace

TEST(ExportRoundTrip, RtfStreamedIntoARichEditGivesBackTheTextAndColours) {
  RichEdit edit;
  ASSERT_TRUE(edit.Ready()) << "no rich-edit control";
  WebPage page;
  TCodeExporterRTF rtf(nullptr);
  rtf.SetHighlighter(&page.multi);
  const std::vector<std::string> text = {"<b>{x}</b> \\ <?php $v = 1; ?>",
                                         "<style>p { color: red }</style> \xE4\xDF\x80"};
  const TStringList lines = Lines(text);
  rtf.ExportAll(&lines);
  ASSERT_TRUE(edit.Load(rtf.Output())) << rtf.Output();
  std::string got = edit.Text();
  // The final paragraph mark may or may not be given back as a line break.
  const std::string joined = text[0] + "\r\n" + text[1];
  if (got.size() > joined.size()) {
    EXPECT_EQ(got.substr(joined.size()), "\r\n");
  }
  EXPECT_EQ(got.substr(0, joined.size()), joined);
  bool bold = false;
  edit.ColorAt(1, &bold);  // b
  EXPECT_TRUE(bold);
  EXPECT_EQ(edit.ColorAt(13), RGB(255, 0, 0));  // the PHP marker
  EXPECT_EQ(edit.ColorAt(19), RGB(128, 0, 0));  // $v
  const int line2 = static_cast<int>(text[0].size()) + 1;
  EXPECT_EQ(edit.ColorAt(line2 + 11), RGB(0, 0, 128));  // color
  EXPECT_EQ(edit.ColorAt(line2 + 18), RGB(0, 128, 128));  // red
}
