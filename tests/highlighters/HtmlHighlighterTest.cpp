#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <utility>
#include <vector>
#include "highlighters/CodeHighlighterHtml.h"
#include "support/HighlighterContract.h"

namespace {

// Token kinds, short for the expected token lists.
constexpr int Amp = 0, Comment = 1, Ident = 2, Key = 3, Space = 5, Sym = 6, Text = 7,
              Unknown = 8, Value = 9;
using Tok = std::pair<std::string, int>;
using Toks = std::vector<Tok>;

constexpr auto rsAmpersand = static_cast<TCodeHighlighterRange>(THtmlRangeState::rsAmpersand);
constexpr auto rsComment = static_cast<TCodeHighlighterRange>(THtmlRangeState::rsComment);
constexpr auto rsParam = static_cast<TCodeHighlighterRange>(THtmlRangeState::rsParam);
constexpr auto rsText = static_cast<TCodeHighlighterRange>(THtmlRangeState::rsText);
constexpr auto rsDoubleQuoteValue =
    static_cast<TCodeHighlighterRange>(THtmlRangeState::rsDoubleQuoteValue);
constexpr auto rsQuoteValue = static_cast<TCodeHighlighterRange>(THtmlRangeState::rsQuoteValue);

class HtmlHighlighter : public ::testing::Test {
protected:
  // Tokens of Line scanned from Range; the end state goes to endRange.
  Toks Scan(const std::string& Line, TCodeHighlighterRange Range = rsText) {
    Toks result;
    for (const auto& t : testsupport::ScanLine(h, Line, Range, &endRange))
      result.emplace_back(t.Text, t.Kind);
    return result;
  }

  TCodeHTMLHighlighter h{nullptr};
  TCodeHighlighterRange endRange = -1;
};

// ---------------------------------------------------------------------------------------------
// Tags, attributes and values

TEST_F(HtmlHighlighter, SplitsATagIntoNameAttributeAndValue) {
  EXPECT_EQ(Scan("<p class=x>"), (Toks{{"<", Sym}, {"p", Key}, {" ", Space}, {"class", Ident},
                                       {"=", Sym}, {"x", Value}, {">", Sym}}));
  EXPECT_EQ(endRange, rsText);
}

TEST_F(HtmlHighlighter, KnowsTagNamesInEitherCaseWithAndWithoutSlash) {
  EXPECT_EQ(Scan("<td>"), (Toks{{"<", Sym}, {"td", Key}, {">", Sym}}));
  EXPECT_EQ(Scan("</TD>"), (Toks{{"<", Sym}, {"/TD", Key}, {">", Sym}}));
  EXPECT_EQ(Scan("<Legend>"), (Toks{{"<", Sym}, {"Legend", Key}, {">", Sym}}));
  EXPECT_EQ(Scan("</OBJECT>")[1], (Tok{"/OBJECT", Key}));
  EXPECT_EQ(Scan("<VAR>")[1], (Tok{"VAR", Key}));
  EXPECT_EQ(Scan("<!doctype html>"),
            (Toks{{"<", Sym}, {"!doctype", Key}, {" ", Space}, {"html", Ident}, {">", Sym}}));
  // The longest sums of the table: still inside the keyword table.
  EXPECT_EQ(Scan("</optgroup>")[1], (Tok{"/optgroup", Key}));
  EXPECT_EQ(Scan("</BlockQuote>")[1], (Tok{"/BlockQuote", Key}));
  EXPECT_EQ(Scan("<H6>")[1], (Tok{"H6", Key}));
}

TEST_F(HtmlHighlighter, MarksUnknownTagNamesByTheirHash) {
  EXPECT_EQ(Scan("<foo>"), (Toks{{"<", Sym}, {"foo", Unknown}, {">", Sym}}));
  EXPECT_EQ(Scan("</foo>")[1], (Tok{"/foo", Unknown}));
  // 11 times "z" sums to 286, beyond the table: an identifier.
  EXPECT_EQ(Scan("<zzzzzzzzzzz>")[1], (Tok{"zzzzzzzzzzz", Ident}));
}

TEST_F(HtmlHighlighter, EndsATagNameAfterItsDigits) {
  EXPECT_EQ(Scan("<h1x>"), (Toks{{"<", Sym}, {"h1", Key}, {"x", Ident}, {">", Sym}}));
}

TEST_F(HtmlHighlighter, GivesAnEmptyUnknownWordForANameOutsideTheHashCharacters) {
  EXPECT_EQ(Scan("<?xml version=\"1.0\"?>"),
            (Toks{{"<", Sym}, {"", Unknown}, {"?xml", Ident}, {" ", Space}, {"version", Ident},
                  {"=", Sym}, {"\"1.0\"", Value}, {"?", Ident}, {">", Sym}}));
}

TEST_F(HtmlHighlighter, TakesQuotedValuesWholeWithBlanksAndOtherQuotes) {
  EXPECT_EQ(Scan("<a href=\"x y\">"), (Toks{{"<", Sym}, {"a", Key}, {" ", Space}, {"href", Ident},
                                           {"=", Sym}, {"\"x y\"", Value}, {">", Sym}}));
  EXPECT_EQ(Scan("<a title='it \"is\"'>")[5], (Tok{"'it \"is\"'", Value}));
  EXPECT_EQ(endRange, rsText);
}

TEST_F(HtmlHighlighter, EndsAnUnquotedValueOnlyAtABlankOrTheTagEnd) {
  EXPECT_EQ(Scan("<img src=a\"b=c>"), (Toks{{"<", Sym}, {"img", Key}, {" ", Space}, {"src", Ident},
                                            {"=", Sym}, {"a\"b=c", Value}, {">", Sym}}));
  // Bytes above 127 are word characters, not blanks.
  EXPECT_EQ(Scan("<p title=\xE4\xA0x>")[5], (Tok{"\xE4\xA0x", Value}));
}

TEST_F(HtmlHighlighter, ContinuesAnOpenValueOnTheNextLines) {
  EXPECT_EQ(Scan("<input value=\"abc"), (Toks{{"<", Sym}, {"input", Key}, {" ", Space},
                                             {"value", Ident}, {"=", Sym}, {"\"abc", Value}}));
  EXPECT_EQ(endRange, rsDoubleQuoteValue);
  EXPECT_TRUE(Scan("", rsDoubleQuoteValue).empty());
  EXPECT_EQ(endRange, rsDoubleQuoteValue);
  EXPECT_EQ(Scan("de'f\" size=3>", rsDoubleQuoteValue),
            (Toks{{"de'f\"", Value}, {" ", Space}, {"size", Ident}, {"=", Sym}, {"3", Value},
                  {">", Sym}}));
  EXPECT_EQ(endRange, rsText);
  EXPECT_EQ(Scan("x\"y'", rsQuoteValue), (Toks{{"x\"y'", Value}}));
  EXPECT_EQ(endRange, rsParam);
}

TEST_F(HtmlHighlighter, TakesAttributeTextWithoutATagAsIdentifiers) {
  EXPECT_EQ(Scan("a=b>", rsParam), (Toks{{"a", Ident}, {"=", Sym}, {"b", Value}, {">", Sym}}));
  EXPECT_EQ(Scan("<a &amp;>")[3], (Tok{"&amp;", Ident}));
}

// ---------------------------------------------------------------------------------------------
// Blanks and text

TEST_F(HtmlHighlighter, StartsANewSpaceTokenAtATab) {
  EXPECT_EQ(Scan("<p  \t  class>"),
            (Toks{{"<", Sym}, {"p", Key}, {"  ", Space}, {"\t  ", Space}, {"class", Ident},
                  {">", Sym}}));
  EXPECT_EQ(Scan("\tab c"), (Toks{{"\t", Space}, {"ab c", Text}}));
}

TEST_F(HtmlHighlighter, TakesAZeroByteInsideTheLineAsABlank) {
  EXPECT_EQ(Scan(std::string("a\0b", 3)), (Toks{{"a", Text}, {std::string(1, '\0'), Space},
                                                  {"b", Text}}));
  EXPECT_EQ(Scan(std::string("<!--\0-->", 8)),
            (Toks{{"<!--", Comment}, {std::string(1, '\0'), Space}, {"-->", Comment}}));
  EXPECT_EQ(endRange, rsText);
}

TEST_F(HtmlHighlighter, TakesLineBreaksInsideTheTextAsBlanksOfTheirOwn) {
  EXPECT_EQ(Scan("a\r\nb\n\r<p"), (Toks{{"a", Text}, {"\r\n", Space}, {"b", Text}, {"\n", Space},
                                         {"\r", Space}, {"<", Sym}, {"p", Key}}));
  EXPECT_EQ(Scan("<!-- a\rb -->"),
            (Toks{{"<!--", Comment}, {" a", Comment}, {"\r", Space}, {"b -->", Comment}}));
  EXPECT_EQ(Scan("x\n'y", rsQuoteValue), (Toks{{"x", Value}, {"\n", Space}, {"'", Value},
                                               {"y", Ident}}));
}

TEST_F(HtmlHighlighter, KeepsTextWithSymbolsOutsideTagsTogether) {
  EXPECT_EQ(Scan("a > b = 'c' <b>"),
            (Toks{{"a > b = 'c' ", Text}, {"<", Sym}, {"b", Key}, {">", Sym}}));
}

// ---------------------------------------------------------------------------------------------
// Entities and character references

TEST_F(HtmlHighlighter, SplitsNamedEntitiesOutOfText) {
  EXPECT_EQ(Scan("a &amp; b"), (Toks{{"a ", Text}, {"&amp;", Amp}, {" b", Text}}));
  EXPECT_EQ(Scan("&Alpha;&alpha;"), (Toks{{"", Text}, {"&Alpha;", Amp}, {"", Text},
                                          {"&alpha;", Amp}}));
  EXPECT_EQ(endRange, rsText);
}

TEST_F(HtmlHighlighter, StartsALineWithAnEntityWithAnEmptyTextToken) {
  EXPECT_EQ(Scan("&lt;p"), (Toks{{"", Text}, {"&lt;", Amp}, {"p", Text}}));
}

TEST_F(HtmlHighlighter, LeavesUnknownAndWrongCaseEntitiesInTheText) {
  EXPECT_EQ(Scan("a &foo; b"), (Toks{{"a &foo; b", Text}}));
  EXPECT_EQ(Scan("&AMP; &amp"), (Toks{{"&AMP; &amp", Text}}));
}

TEST_F(HtmlHighlighter, SplitsCharacterReferencesOnlyWithTheirSemicolon) {
  EXPECT_EQ(Scan("x &#65;y"), (Toks{{"x ", Text}, {"&#65;", Amp}, {"y", Text}}));
  EXPECT_EQ(Scan("x &#x41;"), (Toks{{"x ", Text}, {"&#x41;", Amp}}));
  EXPECT_EQ(Scan("&#X4f;")[1], (Tok{"&#X4f;", Amp}));
  EXPECT_EQ(Scan("x &#65 y"), (Toks{{"x &#65", Text}, {" y", Text}}));
  EXPECT_EQ(Scan("x &#xZZ;"), (Toks{{"x &#x", Text}, {"ZZ;", Text}}));
}

TEST_F(HtmlHighlighter, TakesAnAmpersandRightAfterTheOpenerAsText) {
  EXPECT_EQ(Scan("<&x"), (Toks{{"<", Sym}, {"&", Text}, {"x", Text}}));
  EXPECT_EQ(endRange, rsText);
}

TEST_F(HtmlHighlighter, TakesAnAmpersandAsTextWhenAnEntityStateArrivesWithoutAnEntity) {
  // The entity state never ends a line; a caller that restores it anyway gets text.
  EXPECT_EQ(Scan("&x", rsAmpersand), (Toks{{"&", Text}, {"x", Text}}));
  EXPECT_EQ(endRange, rsText);
}

TEST_F(HtmlHighlighter, ForgetsTheEntityOfALineLeftBeforeIt) {
  // A caller that stops after the first token leaves the long entity pending.
  h.ResetRange();
  h.SetLine("x &Omicron;", 0);
  ASSERT_EQ(h.GetRange(), rsAmpersand);
  EXPECT_EQ(Scan("&x", rsAmpersand), (Toks{{"&", Text}, {"x", Text}}));
}

// ---------------------------------------------------------------------------------------------
// Comments

TEST_F(HtmlHighlighter, ClosesACommentWithTheDashesOfItsOpener) {
  EXPECT_EQ(Scan("<!-->x"), (Toks{{"<!--", Comment}, {">", Comment}, {"x", Text}}));
  EXPECT_EQ(endRange, rsText);
}

TEST_F(HtmlHighlighter, ContinuesACommentOverLines) {
  EXPECT_EQ(Scan("<p><!-- a"), (Toks{{"<", Sym}, {"p", Key}, {">", Sym}, {"<!--", Comment},
                                     {" a", Comment}}));
  EXPECT_EQ(endRange, rsComment);
  EXPECT_TRUE(Scan("", rsComment).empty());
  EXPECT_EQ(endRange, rsComment);
  EXPECT_EQ(Scan("<b> -- >", rsComment), (Toks{{"<b> -- >", Comment}}));
  EXPECT_EQ(endRange, rsComment);
  EXPECT_EQ(Scan("b --> <i>", rsComment),
            (Toks{{"b -->", Comment}, {" ", Text}, {"<", Sym}, {"i", Key}, {">", Sym}}));
  EXPECT_EQ(endRange, rsText);
}

TEST_F(HtmlHighlighter, NeedsBothDashesOnTheClosingLine) {
  EXPECT_EQ(Scan("->", rsComment), (Toks{{"->", Comment}}));
  EXPECT_EQ(endRange, rsComment);
}

// ---------------------------------------------------------------------------------------------
// Attributes, settings and the contract

TEST_F(HtmlHighlighter, GivesEachTokenKindItsAttribute) {
  EXPECT_EQ(testsupport::ScanLine(h, "&amp;", rsText)[1].Attribute, h.AndAttri());
  auto tag = testsupport::ScanLine(h, "<p a=b><foo>t<!---->", rsText);
  EXPECT_EQ(tag[0].Attribute, h.SymbolAttri());
  EXPECT_EQ(tag[1].Attribute, h.KeyAttri());
  EXPECT_EQ(tag[2].Attribute, h.SpaceAttri());
  EXPECT_EQ(tag[3].Attribute, h.IdentifierAttri());
  EXPECT_EQ(tag[5].Attribute, h.ValueAttri());
  EXPECT_EQ(tag[8].Attribute, h.UndefKeyAttri());
  EXPECT_EQ(tag[10].Attribute, h.TextAttri());
  EXPECT_EQ(tag[11].Attribute, h.CommentAttri());
  h.SetLine("", 0);
  EXPECT_EQ(h.GetTokenAttribute(), nullptr);
}

TEST_F(HtmlHighlighter, ServesTheCommonDefaultAttributesButNoString) {
  EXPECT_EQ(h.GetDefaultAttribute(0), h.CommentAttri());
  EXPECT_EQ(h.GetDefaultAttribute(1), h.IdentifierAttri());
  EXPECT_EQ(h.GetDefaultAttribute(2), h.KeyAttri());
  EXPECT_EQ(h.GetDefaultAttribute(3), nullptr);
  EXPECT_EQ(h.GetDefaultAttribute(4), h.SpaceAttri());
  EXPECT_EQ(h.GetDefaultAttribute(5), h.SymbolAttri());
  EXPECT_EQ(h.GetDefaultAttribute(6), nullptr);
}

TEST_F(HtmlHighlighter, StartsWithItsOwnColoursAsDefaults) {
  const TFontStyles bold{TFontStyle::fsBold};
  std::vector<std::string> names;
  for (int i = 0; i < h.GetAttributeCount(); ++i) names.push_back(h.GetAttribute(i)->Name());
  EXPECT_EQ(names, (std::vector<std::string>{"Comment", "Escape Ampersand", "Identifier",
                                             "Reserved Word", "Space", "Symbol", "Text",
                                             "Unknown Word", "Value"}));
  EXPECT_EQ(h.AndAttri()->Name(), "Escape Ampersand");
  EXPECT_EQ(h.AndAttri()->Foreground(), clLime);
  EXPECT_EQ(h.AndAttri()->Style(), bold);
  EXPECT_EQ(h.KeyAttri()->Name(), "Reserved Word");
  EXPECT_EQ(h.KeyAttri()->Foreground(), 0x00FF0080);
  EXPECT_EQ(h.UndefKeyAttri()->Name(), "Unknown Word");
  EXPECT_EQ(h.UndefKeyAttri()->Foreground(), clRed);
  EXPECT_EQ(h.ValueAttri()->Foreground(), 0x00FF8000);
  EXPECT_TRUE(h.ValueAttri()->Style().Empty());
  EXPECT_EQ(h.IdentifierAttri()->Style(), bold);
  EXPECT_EQ(h.SymbolAttri()->Style(), bold);
  EXPECT_EQ(h.CommentAttri()->Foreground(), clNone);
  EXPECT_TRUE(h.TextAttri()->Style().Empty());
  for (int i = 0; i < h.GetAttributeCount(); ++i) {
    EXPECT_FALSE(h.GetAttribute(i)->IsForegroundStored()) << h.GetAttribute(i)->Name();
    EXPECT_FALSE(h.GetAttribute(i)->IsStyleStored()) << h.GetAttribute(i)->Name();
  }
}

TEST_F(HtmlHighlighter, ReportsAttributeChangesToItsHooks) {
  struct Recorder {
    std::vector<TObject*> senders;
    void Changed(TObject* Sender) { senders.push_back(Sender); }
  } recorder;
  h.AddAttributeChangeHook(TCodeNotifyMethod(&recorder, &Recorder::Changed));
  h.ValueAttri()->SetForeground(clTeal);
  EXPECT_EQ(recorder.senders, std::vector<TObject*>{h.ValueAttri()});
}

TEST_F(HtmlHighlighter, DescribesItsLanguageAndFilter) {
  EXPECT_EQ(h.LanguageName(), "HTML");
  EXPECT_EQ(h.ClassName(), "TCodeHTMLHighlighter");
  EXPECT_EQ(h.DefaultFilter(), "HTML Documents (*.htm;*.html)|*.htm;*.html");
  EXPECT_FALSE(h.IsDefaultFilterStored());
  h.SetDefaultFilter("Web (*.htm)|*.htm");
  EXPECT_TRUE(h.IsDefaultFilterStored());
}

TEST_F(HtmlHighlighter, SamplesAValueOverTwoLinesAndAnUnknownTagAroundAnEntity) {
  std::vector<std::string> lines = testsupport::SplitLines(h.GetSampleText());
  ASSERT_EQ(lines.size(), 11u);
  std::vector<TCodeHighlighterRange> ends = testsupport::ScanEndRanges(h, lines);
  EXPECT_EQ(ends[0], rsText);  // the comment is closed on its line
  EXPECT_EQ(std::count(ends.begin(), ends.end(), rsQuoteValue), 1);
  Toks unknownTag;
  for (const std::string& line : lines)
    if (line.find("&copy;") != std::string::npos) unknownTag = Scan(line);
  EXPECT_NE(std::find(unknownTag.begin(), unknownTag.end(), Tok{"&copy;", Amp}), unknownTag.end());
  EXPECT_NE(std::find_if(unknownTag.begin(), unknownTag.end(),
                         [](const Tok& t) { return t.second == Unknown; }),
            unknownTag.end());
}

TEST_F(HtmlHighlighter, TakesLettersDigitsUnderscoreAndAccentedLettersAsWordCharacters) {
  TCodeCharSet chars = h.GetIdentifierChars();
  EXPECT_TRUE(chars['_'] && chars['0'] && chars['z'] && chars[138] && chars[192] && chars[255]);
  EXPECT_FALSE(chars['-'] || chars['&'] || chars[128] || chars[160] || chars[191]);
  EXPECT_EQ(chars.count(), 148u);
}

TEST_F(HtmlHighlighter, StartsAndResetsInText) {
  EXPECT_EQ(h.GetRange(), rsText);
  h.SetRange(rsComment);
  h.ResetRange();
  EXPECT_EQ(h.GetRange(), rsText);
}

TEST_F(HtmlHighlighter, MeetsTheHighlighterContractOnItsSample) {
  EXPECT_TRUE(testsupport::MeetsHighlighterContract(h, testsupport::SplitLines(h.GetSampleText())));
}

TEST_F(HtmlHighlighter, MeetsTheHighlighterContractAcrossStates) {
  EXPECT_TRUE(testsupport::MeetsHighlighterContract(
      h, {"<!DOCTYPE html>", "<p class=\"a", "", "b\" id='c", "d'>&copy; &#169; &#xA9 x <!-- c",
          "", "--> <?php ?> <a href=x&y>", "\t <", "p >", "&", "<br/>&lt;&gt;&amp", "<!--"}));
}

}  // namespace
