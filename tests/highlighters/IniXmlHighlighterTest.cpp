#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>
#include "highlighters/CodeHighlighterIni.h"
#include "highlighters/CodeHighlighterXML.h"
#include "support/HighlighterContract.h"

namespace {

using Tok = std::pair<std::string, int>;
using Toks = std::vector<Tok>;

Toks Scan(TCodeCustomHighlighter& H, const std::string& Line, TCodeHighlighterRange Range,
          TCodeHighlighterRange* End = nullptr) {
  Toks result;
  for (const auto& t : testsupport::ScanLine(H, Line, Range, End)) result.emplace_back(t.Text, t.Kind);
  return result;
}

// ---------------------------------------------------------------------------------------------
// INI

constexpr int IComment = 0, IText = 1, ISection = 2, IKey = 3, INumber = 5, ISpace = 6,
              IString = 7, ISymbol = 8;

TEST(IniHighlighter, SectionsKeysAndValues) {
  TCodeIniHighlighter h(nullptr);
  EXPECT_EQ(Scan(h, "[Section] x", 0), (Toks{{"[Section]", ISection}, {" ", ISpace}, {"x", IText}}));
  EXPECT_EQ(Scan(h, "[open", 0), (Toks{{"[open", ISection}}));
  EXPECT_EQ(Scan(h, "Key=value", 0), (Toks{{"Key", IKey}, {"=", ISymbol}, {"value", IText}}));
  EXPECT_EQ(Scan(h, "Key only", 0), (Toks{{"Key only", IKey}}));
  EXPECT_EQ(Scan(h, "1st=2", 0), (Toks{{"1st", IKey}, {"=", ISymbol}, {"2", INumber}}));
  EXPECT_EQ(Scan(h, "=[a]", 0), (Toks{{"=", ISymbol}, {"[", IText}, {"a", IText}, {"]", IText}}));
}

TEST(IniHighlighter, CommentsOnlyAtTheLineStart) {
  TCodeIniHighlighter h(nullptr);
  EXPECT_EQ(Scan(h, "; note = 1", 0), (Toks{{"; note = 1", IComment}}));
  EXPECT_EQ(Scan(h, "k=a;b", 0), (Toks{{"k", IKey}, {"=", ISymbol}, {"a", IText}, {";", IText},
                                       {"b", IText}}));
}

TEST(IniHighlighter, NumbersAndStrings) {
  TCodeIniHighlighter h(nullptr);
  EXPECT_EQ(Scan(h, "k=1.5e3 12ab", 0), (Toks{{"k", IKey}, {"=", ISymbol}, {"1.5e3", INumber},
                                              {" ", ISpace}, {"12ab", IText}}));
  EXPECT_EQ(Scan(h, "k=\"a b\"x", 0), (Toks{{"k", IKey}, {"=", ISymbol}, {"\"a b\"", IString},
                                            {"x", IText}}));
  EXPECT_EQ(Scan(h, "k='open", 0), (Toks{{"k", IKey}, {"=", ISymbol}, {"'open", IString}}));
  EXPECT_EQ(Scan(h, "k=\"\"\"q\"", 0), (Toks{{"k", IKey}, {"=", ISymbol}, {"\"\"\"q\"", IString}}));
  EXPECT_EQ(Scan(h, "k=\"\"", 0), (Toks{{"k", IKey}, {"=", ISymbol}, {"\"\"", IString}}));
}

TEST(IniHighlighter, AttributesAndClassOperations) {
  TCodeIniHighlighter h(nullptr);
  EXPECT_EQ(h.CommentAttri()->Name(), "Comment");
  EXPECT_EQ(h.CommentAttri()->Foreground(), clGreen);
  EXPECT_EQ(h.CommentAttri()->IntegerStyle(), 2);
  EXPECT_EQ(h.SectionAttri()->IntegerStyle(), 1);
  EXPECT_EQ(h.GetAttributeCount(), 8);
  const std::pair<int, TCodeHighlighterAttributes*> defaults[] = {
      {0, h.CommentAttri()}, {1, nullptr}, {2, h.KeyAttri()}, {3, h.StringAttri()},
      {4, h.SpaceAttri()}, {5, h.SymbolAttri()}, {6, nullptr}};
  for (auto [index, attr] : defaults) EXPECT_EQ(h.GetDefaultAttribute(index), attr) << index;
  EXPECT_EQ(h.LanguageName(), "INI");
  EXPECT_EQ(h.DefaultFilter(), "INI Files (*.ini)|*.ini");
  EXPECT_EQ(testsupport::ScanLine(h, std::string("k=\0", 3), 0)[2].Attribute, h.TextAttri());
  EXPECT_TRUE(testsupport::MeetsHighlighterContract(h, testsupport::SplitLines(h.GetSampleText())));
  EXPECT_TRUE(testsupport::MeetsHighlighterContract(h, {"", "[", ";", "\"", "9", std::string("\0", 1)}));
  EXPECT_FALSE(RegisterHighlighterClass(TCodeIniHighlighter::StaticClass()));
}

// ---------------------------------------------------------------------------------------------
// XML

constexpr int XApos = 0, XAttr = 2, XCData = 3, XComment = 4, XElem = 5, XEntity = 6, XEqual = 7,
              XPI = 9, XValue = 10, XValueEntity = 11, XSpace = 12, XSym = 13, XText = 14,
              XNsAposValue = 15, XNsAttr = 17, XNsEqual = 18, XNsValue = 19, XDoc = 21;
constexpr TCodeHighlighterRange rsAposValue = 0, rsComment = 4, rsText = 11, rsDocTypeBrackets = 18,
                                rsAttribute = 2, rsCDATA = 3;

TEST(XmlHighlighter, TagsAttributesAndValues) {
  TCodeXMLHighlighter h(nullptr);
  TCodeHighlighterRange end = -1;
  EXPECT_EQ(Scan(h, "<a b=\"x &amp; y\">", rsText, &end),
            (Toks{{"<", XSym}, {"a", XElem}, {" ", XSpace}, {"b", XAttr}, {"=\"", XEqual},
                  {"x ", XValue}, {"&amp;", XValueEntity}, {" ", XSpace}, {"y", XValue},
                  {"\"", XSym}, {">", XSym}}));
  EXPECT_EQ(end, rsText);
  EXPECT_EQ(Scan(h, "</a><br/>", rsText),
            (Toks{{"</", XSym}, {"a", XElem}, {">", XSym}, {"<", XSym}, {"br", XElem},
                  {"/", XSym}, {">", XSym}}));
  EXPECT_EQ(Scan(h, "<a c='v'>", rsText),
            (Toks{{"<", XSym}, {"a", XElem}, {" ", XSpace}, {"c", XAttr}, {"='", XEqual},
                  {"v", XApos}, {"'", XSym}, {">", XSym}}));
}

TEST(XmlHighlighter, NamespaceAttributesTakeTheirOwnKinds) {
  TCodeXMLHighlighter h(nullptr);
  EXPECT_EQ(Scan(h, "<p xmlns:p=\"u\" xmlns:q='v'>", rsText),
            (Toks{{"<", XSym}, {"p", XElem}, {" ", XSpace}, {"xmlns:p", XNsAttr}, {"=\"", XNsEqual},
                  {"u", XNsValue}, {"\"", XSym}, {" ", XSpace}, {"xmlns:q", XNsAttr},
                  {"='", XNsEqual}, {"v", XNsAposValue}, {"'", XSym}, {">", XSym}}));
  auto tokens = testsupport::ScanLine(h, "<p xmlns=\"u\">", rsText);
  EXPECT_EQ(tokens[3].Attribute, h.NamespaceAttributeAttri());
  EXPECT_EQ(tokens[5].Attribute, h.NamespaceAttributeValueAttri());
}

TEST(XmlHighlighter, TextEntitiesAndValuesAcrossLines) {
  TCodeXMLHighlighter h(nullptr);
  TCodeHighlighterRange end = -1;
  EXPECT_EQ(Scan(h, "a &lt; b&c", rsText, &end),
            (Toks{{"a ", XText}, {"&lt;", XEntity}, {" b", XText}, {"&c", XEntity}}));
  EXPECT_EQ(end, rsText);
  EXPECT_EQ(Scan(h, "<a b='one", rsText, &end).back(), (Tok{"one", XApos}));
  EXPECT_EQ(end, rsAposValue);
  EXPECT_EQ(Scan(h, "two' c", rsAposValue, &end),
            (Toks{{"two", XApos}, {"'", XSym}, {" ", XSpace}, {"c", XAttr}}));
  EXPECT_EQ(end, 7);
}

TEST(XmlHighlighter, CommentsContinueUntilTheirEnd) {
  TCodeXMLHighlighter h(nullptr);
  TCodeHighlighterRange end = -1;
  EXPECT_EQ(Scan(h, "<!-- a", rsText, &end), (Toks{{"<!--", XSym}, {" a", XComment}}));
  EXPECT_EQ(end, rsComment);
  EXPECT_EQ(Scan(h, "b --> c", rsComment, &end),
            (Toks{{"b ", XComment}, {"-->", XSym}, {" c", XText}}));
  EXPECT_EQ(end, rsText);
  EXPECT_EQ(Scan(h, "-->", rsComment, &end), (Toks{{"-->", XSym}}));
}

TEST(XmlHighlighter, InstructionsCDataAndDocType) {
  TCodeXMLHighlighter h(nullptr);
  TCodeHighlighterRange end = -1;
  EXPECT_EQ(Scan(h, "<?xml v=\"1\"?>x", rsText, &end),
            (Toks{{"<?", XPI}, {"xml v=\"1\"?>", XPI}, {"x", XText}}));
  EXPECT_EQ(Scan(h, "<![CDATA[a<b", rsText, &end), (Toks{{"<![CDATA", XCData}, {"[a<b", XCData}}));
  EXPECT_EQ(end, rsCDATA);
  EXPECT_EQ(Scan(h, "c]]>d", rsCDATA, &end), (Toks{{"c]]>", XCData}, {"d", XText}}));
  EXPECT_EQ(Scan(h, "<!DOCTYPE n [<!ENTITY e \"[x]\">] >", rsText, &end),
            (Toks{{"<!DOCTYP", XDoc}, {"E n [<!ENTITY e \"[x]\">]", XDoc}, {" >", XDoc}}));
  EXPECT_EQ(end, rsText);
  EXPECT_EQ(Scan(h, "<!DOCTYPE n [", rsText, &end).back().second, XDoc);
  EXPECT_EQ(end, rsDocTypeBrackets);
  EXPECT_EQ(Scan(h, " x ]>", rsDocTypeBrackets, &end), (Toks{{" x ]", XDoc}, {">", XDoc}}));
  EXPECT_EQ(end, rsText);
  EXPECT_EQ(Scan(h, "<!ELEMENT>", rsText),
            (Toks{{"<!", XSym}, {"ELEMENT", XElem}, {">", XSym}}));
}

TEST(XmlHighlighter, AttributesAndClassOperations) {
  TCodeXMLHighlighter h(nullptr);
  EXPECT_EQ(h.GetAttributeCount(), 13);
  EXPECT_EQ(h.ElementAttri()->Name(), "Element Name");
  EXPECT_EQ(h.ElementAttri()->Foreground(), 0x00000080);
  EXPECT_EQ(h.CommentAttri()->IntegerStyle(), 3);
  EXPECT_EQ(h.CommentAttri()->Background(), 0x00C0C0C0);
  EXPECT_EQ(h.SpaceAttri()->Name(), "Whitespace");
  EXPECT_EQ(h.TextAttri()->Foreground(), 0x00000000);
  const std::pair<int, TCodeHighlighterAttributes*> defaults[] = {
      {0, h.CommentAttri()}, {1, h.AttributeAttri()}, {2, h.ElementAttri()}, {3, nullptr},
      {4, h.SpaceAttri()}, {5, h.SymbolAttri()}, {6, nullptr}};
  for (auto [index, attr] : defaults) EXPECT_EQ(h.GetDefaultAttribute(index), attr) << index;
  EXPECT_EQ(h.LanguageName(), "XML");
  EXPECT_EQ(h.DefaultFilter(),
            "XML Files (*.xml;*.xsd;*.xsl;*.xslt;*.dtd)|*.xml;*.xsd;*.xsl;*.xslt;*.dtd");
  EXPECT_TRUE(h.GetIdentifierChars().test('-'));
  EXPECT_FALSE(h.GetIdentifierChars().test(':'));
  h.SetRange(99);
  EXPECT_EQ(h.GetRange(), rsText);
  h.SetRange(rsAttribute);
  h.ResetRange();
  EXPECT_EQ(h.GetRange(), rsText);
  EXPECT_FALSE(RegisterHighlighterClass(TCodeXMLHighlighter::StaticClass()));
}

TEST(XmlHighlighter, AnEmptyNameOrValueGivesNoEmptyToken) {
  TCodeXMLHighlighter h(nullptr);
  const std::vector<std::pair<std::string, Toks>> cases = {
      {"<a b=\"\">", {{"<", XSym}, {"a", XElem}, {" ", XSpace}, {"b", XAttr}, {"=\"", XEqual},
                       {"\"", XSym}, {">", XSym}}},
      {"<a b=''/>", {{"<", XSym}, {"a", XElem}, {" ", XSpace}, {"b", XAttr}, {"='", XEqual},
                     {"'", XSym}, {"/", XSym}, {">", XSym}}},
      {"<a b=\"&amp;\">", {{"<", XSym}, {"a", XElem}, {" ", XSpace}, {"b", XAttr},
                            {"=\"", XEqual}, {"&amp;", XValueEntity}, {"\"", XSym}, {">", XSym}}},
      {"<=x>", {{"<", XSym}, {"=x>", XEqual}}},
      {"<\"a\">", {{"<", XSym}, {"\"", XSym}, {"a", XAttr}, {"\"", XEqual}, {">", XSym}}},
      {"&lt;x", {{"&lt;", XEntity}, {"x", XText}}},
      {"&", {{"&", XEntity}}},
      {"a&;", {{"a", XText}, {"&;", XEntity}}},
  };
  for (const auto& [line, tokens] : cases) EXPECT_EQ(Scan(h, line, rsText), tokens) << line;
  // Any byte in any state: every token has a byte, and no token reaches past the line.
  std::string everyByte;
  for (int c = 1; c < 256; ++c) everyByte += static_cast<char>(c);
  for (TCodeHighlighterRange state = 0; state <= 18; ++state)
    for (const std::string& line : {everyByte, std::string("\"'&;/<>=x\t\t"), std::string("&"),
                                     std::string("<!"), std::string(";")})
      for (const auto& t : testsupport::ScanLine(h, line, state))
        EXPECT_FALSE(t.Text.empty()) << "state " << state << " at " << t.Pos;
}

TEST(XmlHighlighter, ATabIsWhiteSpaceEverywhere) {
  TCodeXMLHighlighter h(nullptr);
  EXPECT_EQ(Scan(h, "a\tb", rsText), (Toks{{"a", XText}, {"\t", XSpace}, {"b", XText}}));
  EXPECT_EQ(Scan(h, "<a\tb='1'>", rsText),
            (Toks{{"<", XSym}, {"a", XElem}, {"\t", XSpace}, {"b", XAttr}, {"='", XEqual},
                  {"1", XApos}, {"'", XSym}, {">", XSym}}));
  // A tab begins a new white-space token.
  EXPECT_EQ(Scan(h, " \t\t", rsAttribute), (Toks{{" ", XSpace}, {"\t", XSpace}, {"\t", XSpace}}));
}

TEST(XmlHighlighter, MeetsTheContract) {
  TCodeXMLHighlighter h(nullptr);
  EXPECT_TRUE(testsupport::MeetsHighlighterContract(h, testsupport::SplitLines(h.GetSampleText())));
  EXPECT_TRUE(testsupport::MeetsHighlighterContract(
      h, {"<a b=\"1", "2\" c='&x", "' d=>", "<!-- x", "", "-->", "<!DOCTYPE [", "", "]>", "<?pi",
          "?>", "<![CDATA[", "]]>", std::string("<a\0b>\0", 6), "<=", "\t\t x", "&"}));
}

}  // namespace
