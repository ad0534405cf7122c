#include <gtest/gtest.h>
#include <cstdio>
#include "ExportTestSupport.h"
#include "highlighters/CodeHighlighterHtml.h"
#include "printing/CodeExportHTML.h"

using exporttest::Lines;
using exporttest::TCharHighlighter;
using exporttest::TFakeClipboard;

namespace {
void UseFixedColours(TCodeCustomExporter& Exporter) {
  TFont font("Courier New", 10);
  font.SetColor(clBlack);
  Exporter.SetFont(&font);
  Exporter.SetColor(clWhite);
}

const std::string kDocumentHeader =
    "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n"
    "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
    "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\r\n"
    "<html xmlns=\"http://www.w3.org/1999/xhtml\">\r\n"
    "<head>\r\n"
    "<title>Untitled</title>\r\n"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\" />\r\n"
    "<meta name=\"generator\" content=\"CodeEdit HTML exporter\" />\r\n"
    "<style type=\"text/css\">\r\n"
    "<!--\r\n"
    "body { color: #000000; background-color: #FFFFFF; }\r\n"
    ".html1-comment { }\r\n"
    ".html1-escapeampersand { color: #00FF00; font-weight: bold; }\r\n"
    ".html1-identifier { font-weight: bold; }\r\n"
    ".html1-reservedword { color: #8000FF; font-weight: bold; }\r\n"
    ".html1-space { }\r\n"
    ".html1-symbol { font-weight: bold; }\r\n"
    ".html1-text { }\r\n"
    ".html1-unknownword { color: #FF0000; font-weight: bold; }\r\n"
    ".html1-value { color: #0080FF; }\r\n"
    "-->\r\n"
    "</style>\r\n"
    "</head>\r\n"
    "<body>\r\n";

const std::vector<std::string> kSample = {"<b>{\\}</b> x", "&amp; \xE9\xFF\x01"};
const std::string kSampleBody =
    "<span class=\"html1-symbol\">&lt;</span><span class=\"html1-reservedword\">b</span>"
    "<span class=\"html1-symbol\">&gt;</span><span class=\"html1-text\">{\\}</span>"
    "<span class=\"html1-symbol\">&lt;</span><span class=\"html1-reservedword\">/b</span>"
    "<span class=\"html1-symbol\">&gt;</span><span class=\"html1-text\"> x\r\n"
    "</span><span class=\"html1-escapeampersand\">&amp;amp;</span>"
    "<span class=\"html1-text\"> &eacute;&yuml;&#65533;</span>";

struct HtmlFixture {
  TCodeHTMLHighlighter Highlighter{nullptr};
  TCodeExporterHTML Exporter{nullptr};
  HtmlFixture() {
    UseFixedColours(Exporter);
    Exporter.SetHighlighter(&Highlighter);
  }
  std::string Export(const std::vector<std::string>& Text) {
    const TStringList lines = Lines(Text);
    Exporter.ExportAll(&lines);
    return Exporter.Output();
  }
};

// The text between the spans' tags of a document-form export of one line.
std::string PlainBody(TCodeExporterHTML& Exporter, const std::string& Line) {
  TCharHighlighter plain;
  Exporter.SetHighlighter(&plain);
  Exporter.SetExportAsText(true);
  Exporter.SetCreateHTMLFragment(true);
  const TStringList lines = Lines({Line});
  Exporter.ExportAll(&lines);
  const std::string& out = Exporter.Output();
  const std::string open = "<span>", close = "</span>";
  size_t start = out.find(open) + open.size();
  return out.substr(start, out.find(close, start) - start);
}
}  // namespace

TEST(ExportHTML, DocumentFormAroundTheHighlightedText) {
  HtmlFixture f;
  f.Exporter.SetExportAsText(true);
  EXPECT_EQ(f.Export(kSample), kDocumentHeader +
                                   "<pre>\r\n<code><span style=\"font: 10pt Courier New;\">" +
                                   kSampleBody +
                                   "</span>\r\n</code></pre>\r\n</body>\r\n</html>");
}

TEST(ExportHTML, FragmentFormLeavesOutTheDocument) {
  HtmlFixture f;
  f.Exporter.SetExportAsText(true);
  f.Exporter.SetCreateHTMLFragment(true);
  EXPECT_EQ(f.Export(kSample), "<pre>\r\n<code><span style=\"font: 10pt Courier New;\">" +
                                   kSampleBody + "</span>\r\n</code></pre>\r\n");
}

// Line breaks go between lines: the text ends where the document ends, also after a break.
TEST(ExportHTML, TextEndsWhereTheDocumentEnds) {
  const std::pair<std::vector<std::string>, const char*> cases[] = {
      {{"a"}, "<span>a</span>"},
      {{"a", "b"}, "<span>a\r\nb</span>"},
      {{"a", ""}, "<span>a\r\n</span>"},
      {{"", ""}, "\r\n"},
  };
  for (const auto& [text, body] : cases) {
    TCharHighlighter plain;
    TCodeExporterHTML html(nullptr);
    html.SetHighlighter(&plain);
    html.SetExportAsText(true);
    html.SetCreateHTMLFragment(true);
    const TStringList lines = Lines(text);
    html.ExportAll(&lines);
    EXPECT_EQ(html.Output(), "<pre>\r\n<code><span style=\"font: 10pt Courier New;\">" +
                                 std::string(body) + "</span>\r\n</code></pre>\r\n")
        << body;
  }
}

// The four offsets are read back from the data placed on the clipboard and the data is cut
// at them.
TEST(ExportHTML, ClipboardFormOffsetsPointAtTheBytesPlaced) {
  TFakeClipboard clipboard;
  HtmlFixture f;
  f.Exporter.SetTitle("R&D \xC4nderungen");
  f.Export(kSample);
  f.Exporter.CopyToClipboard();
  const UINT format = RegisterClipboardFormatName("HTML Format");
  ASSERT_EQ(f.Exporter.ClipboardFormat(), format);
  EXPECT_EQ(f.Exporter.FormatName(), "HTML");
  EXPECT_EQ(f.Exporter.DefaultFilter(), "HTML Documents (*.htm;*.html)|*.htm;*.html");
  ASSERT_EQ(clipboard.Data.count(format), 1u);
  const std::string data = clipboard.Data[format];

  unsigned startHTML = 0, endHTML = 0, startFragment = 0, endFragment = 0;
  char digits[4][11] = {};
  ASSERT_EQ(std::sscanf(data.c_str(),
                        "Version:0.9\r\nStartHTML:%10[0-9]\r\nEndHTML:%10[0-9]\r\n"
                        "StartFragment:%10[0-9]\r\nEndFragment:%10[0-9]\r\n",
                        digits[0], digits[1], digits[2], digits[3]),
            4);
  for (const char* d : digits) EXPECT_EQ(std::string(d).size(), 10u) << d;
  startHTML = std::stoul(digits[0]);
  endHTML = std::stoul(digits[1]);
  startFragment = std::stoul(digits[2]);
  endFragment = std::stoul(digits[3]);

  EXPECT_EQ(startHTML, 105u);
  EXPECT_EQ(data.find("<?xml"), startHTML);
  EXPECT_EQ(data.substr(startFragment, endFragment - startFragment),
            "<!--StartFragment--><pre><code>" + kSampleBody + "</code></pre><!--EndFragment-->");
  EXPECT_EQ(data.substr(endFragment), std::string("</body>\r\n</html>") + '\0');
  EXPECT_EQ(endHTML + 1, data.size());
  EXPECT_EQ(data.substr(startHTML, startFragment - startHTML).find("<title>R&amp;D &Auml;nderungen"),
            kDocumentHeader.find("<title>"));
}

TEST(ExportHTML, NamedEntitiesAreExactlyTheNinetyNineOfTheTable) {
  const std::pair<int, const char*> table[] = {
      {34, "quot"},     {38, "amp"},     {60, "lt"},       {62, "gt"},       {128, "euro"},
      {153, "trade"},   {161, "iexcl"},  {162, "cent"},    {163, "pound"},   {164, "curren"},
      {165, "yen"},     {166, "brvbar"}, {167, "sect"},    {168, "uml"},     {169, "copy"},
      {170, "ordf"},    {171, "laquo"},  {173, "shy"},     {174, "reg"},     {175, "macr"},
      {176, "deg"},     {177, "plusmn"}, {178, "sup2"},    {179, "sup3"},    {180, "acute"},
      {181, "micro"},   {183, "middot"}, {184, "cedil"},   {185, "sup1"},    {186, "ordm"},
      {187, "raquo"},   {188, "frac14"}, {189, "frac12"},  {190, "frac34"},  {191, "iquest"},
      {192, "Agrave"},  {193, "Aacute"}, {194, "Acirc"},   {195, "Atilde"},  {196, "Auml"},
      {197, "Aring"},   {198, "AElig"},  {199, "Ccedil"},  {200, "Egrave"},  {201, "Eacute"},
      {202, "Ecirc"},   {203, "Euml"},   {204, "Igrave"},  {205, "Iacute"},  {206, "Icirc"},
      {207, "Iuml"},    {208, "ETH"},    {209, "Ntilde"},  {210, "Ograve"},  {211, "Oacute"},
      {212, "Ocirc"},   {213, "Otilde"}, {214, "Ouml"},    {215, "times"},   {216, "Oslash"},
      {217, "Ugrave"},  {218, "Uacute"}, {219, "Ucirc"},   {220, "Uuml"},    {221, "Yacute"},
      {222, "THORN"},   {223, "szlig"},  {224, "agrave"},  {225, "aacute"},  {226, "acirc"},
      {227, "atilde"},  {228, "auml"},   {229, "aring"},   {230, "aelig"},   {231, "ccedil"},
      {232, "egrave"},  {233, "eacute"}, {234, "ecirc"},   {235, "euml"},    {236, "igrave"},
      {237, "iacute"},  {238, "icirc"},  {239, "iuml"},    {240, "eth"},     {241, "ntilde"},
      {242, "ograve"},  {243, "oacute"}, {244, "ocirc"},   {245, "otilde"},  {246, "ouml"},
      {247, "divide"},  {248, "oslash"}, {249, "ugrave"},  {250, "uacute"},  {251, "ucirc"},
      {252, "uuml"},    {253, "yacute"}, {254, "thorn"},   {255, "yuml"}};
  ASSERT_EQ(std::size(table), 99u);
  std::map<int, std::string> expected;
  for (const auto& [code, name] : table) expected[code] = std::string("&") + name + ";";
  TCodeExporterHTML html(nullptr);
  for (int c = 0; c < 256; ++c) {
    const std::string want = expected.count(c) ? expected[c] : std::string();
    EXPECT_EQ(TCodeExporterHTML::EntityName(static_cast<unsigned char>(c)), want) << c;
    if (!want.empty()) {
      EXPECT_EQ(PlainBody(html, std::string(1, static_cast<char>(c))), want) << c;
    }
  }
  EXPECT_EQ(PlainBody(html, "a<b & \"c\""), "a&lt;b &amp; &quot;c&quot;");
}

TEST(ExportHTML, BytesWithoutEntityThatXmlCannotCarryRawAreReferenced) {
  struct Case {
    std::string Text;
    const char* Written;
  } cases[] = {
      {std::string(1, '\0'), "&#65533;"}, {"\x01", "&#65533;"},  {"\x1F", "&#65533;"},
      {"\t", "\t"},                       {"\x7F", "&#127;"},    {"\x81", "&#129;"},
      {"\x82", "&#8218;"},                {"\x9F", "&#376;"},    {"\xA0", "&#160;"},
      {"\xAC", "&#172;"},                 {"\xB6", "&#182;"},    {"'", "'"},
  };
  TCodeExporterHTML html(nullptr);
  for (const Case& c : cases)
    EXPECT_EQ(PlainBody(html, c.Text), c.Written)
        << static_cast<int>(static_cast<unsigned char>(c.Text[0]));
}

// Whatever the bytes, every form is 7-bit text in which "&" only starts a reference.
TEST(ExportHTML, EveryByteGivesSevenBitOutputInEveryForm) {
  std::string all;
  for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
  for (int form = 0; form < 3; ++form) {
    HtmlFixture f;
    f.Exporter.SetExportAsText(form > 0);
    f.Exporter.SetCreateHTMLFragment(form == 2);
    const std::string out = f.Export({all, "<p title=\"" + all + "\">"});
    for (size_t i = 0; i < out.size(); ++i) {
      unsigned char c = static_cast<unsigned char>(out[i]);
      ASSERT_TRUE((c >= 32 && c < 127) || c == '\t' || c == '\r' || c == '\n')
          << "form " << form << ": byte " << int(c) << " at " << i;
      if (c != '&') continue;
      size_t end = out.find(';', i);
      ASSERT_NE(end, std::string::npos);
      for (size_t j = i + 1; j < end; ++j)
        ASSERT_TRUE(isalnum(static_cast<unsigned char>(out[j])) || (j == i + 1 && out[j] == '#'))
            << "form " << form << " at " << i;
    }
  }
}

TEST(ExportHTML, ClassNamesFromUniqueAttributeNames) {
  const std::pair<const char*, const char*> cases[] = {
      {"Reserved_Word", "reserved-word"},
      {"html1.Reserved Word", "html1-reservedword"},
      {"css2.Non-reserved Keyword", "css2-non-reservedkeyword"},
      {"x1._Odd", "x1-odd"},  // no "--" inside the style sheet's comment
      {"\xC4rger*&Fehler", "rgerfehler"},
      {"", ""},
  };
  for (const auto& [name, cls] : cases) EXPECT_EQ(HTMLClassName(name), cls) << name;
}

TEST(ExportHTML, StyleRulesFollowTheAttributes) {
  TCharHighlighter h;
  h.Define('a', "All", clNavy,
           {TFontStyle::fsBold, TFontStyle::fsItalic, TFontStyle::fsUnderline,
            TFontStyle::fsStrikeOut});
  h.Define('y', "Yellow_Back", clNone, {}, clYellow);
  for (bool useBackground : {false, true}) {
    TCodeExporterHTML html(nullptr);
    UseFixedColours(html);
    html.SetHighlighter(&h);
    html.SetUseBackground(useBackground);
    const TStringList lines = Lines({"ayx"});
    html.ExportAll(&lines);
    const std::string& out = html.Output();
    EXPECT_NE(out.find("\r\n.char1-all { color: #000080; font-weight: bold; font-style: italic; "
                       "text-decoration: underline line-through; }\r\n"
                       ".char1-yellow-back { " +
                       std::string(useBackground ? "background-color: #FFFF00; " : "") +
                       "}\r\n-->"),
              std::string::npos)
        << useBackground;
    // A token without attribute has a span without class; without the background in use it
    // looks the same as the one before and shares its span.
    EXPECT_NE(out.find("<span class=\"char1-all\">a</span><span class=\"char1-yellow-back\">y" +
                       std::string(useBackground ? "</span><span>x" : "x") + "</span>"),
              std::string::npos)
        << useBackground;
  }
}

// Underline and strike-out share one declaration: a second one would replace the first.
TEST(ExportHTML, StyleRuleOfEveryCombinationOfTheFourFontStyles) {
  const std::pair<TFontStyle, const char*> styles[] = {
      {TFontStyle::fsBold, "font-weight: bold; "},
      {TFontStyle::fsItalic, "font-style: italic; "},
      {TFontStyle::fsUnderline, "underline"},
      {TFontStyle::fsStrikeOut, "line-through"}};
  TCharHighlighter h;
  std::string text;
  for (int bits = 0; bits < 16; ++bits) {
    TFontStyles style;
    for (int i = 0; i < 4; ++i)
      if (bits & (1 << i)) style.Include(styles[i].first);
    text += static_cast<char>('a' + bits);
    h.Define(text.back(), "S" + std::to_string(bits), clNone, style);
  }
  TCodeExporterHTML html(nullptr);
  html.SetHighlighter(&h);
  const TStringList lines = Lines({text});
  html.ExportAll(&lines);
  for (int bits = 0; bits < 16; ++bits) {
    std::string rule = ".char1-s" + std::to_string(bits) + " { ";
    if (bits & 1) rule += styles[0].second;
    if (bits & 2) rule += styles[1].second;
    if (bits & 12) {
      rule += "text-decoration:";
      if (bits & 4) rule += std::string(" ") + styles[2].second;
      if (bits & 8) rule += std::string(" ") + styles[3].second;
      rule += "; ";
    }
    EXPECT_NE(html.Output().find("\r\n" + rule + "}\r\n"), std::string::npos) << rule;
  }
}

TEST(ExportHTML, SystemColoursAreWrittenAsTheirRgbValue) {
  COLORREF window = ColorToRGB(clWindow), text = ColorToRGB(clWindowText);
  char expected[80];
  std::snprintf(expected, sizeof expected, "body { color: #%02X%02X%02X; background-color: #%02X%02X%02X; }",
                GetRValue(text), GetGValue(text), GetBValue(text), GetRValue(window),
                GetGValue(window), GetBValue(window));
  TCodeHTMLHighlighter h(nullptr);
  TCodeExporterHTML html(nullptr);
  html.SetHighlighter(&h);
  const TStringList lines = Lines({"x"});
  html.ExportAll(&lines);
  EXPECT_NE(html.Output().find(expected), std::string::npos);
  EXPECT_EQ(HTMLColor(clRed), "#FF0000");
  EXPECT_EQ(HTMLColor(0x123456), "#563412");
}
