#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>
#include "highlighters/CodeHighlighterCSS.h"
#include "rtl/SysUtils.h"
#include "TokenList.h"

using testsupport::ScanToks;
using testsupport::Tok;
using testsupport::Toks;

namespace {

constexpr int Comment = 0, Prop = 1, Sel = 2, Space = 4, Str = 5, Sym = 6, Undef = 8, Value = 9,
              Color = 10, Num = 11;
constexpr TCodeHighlighterRange rsComment = 0, rsProperty = 2, rsSelector = 3, rsAfterSemi = 4,
                                rsValue = 5;
// A comment that returns into the braces.
constexpr TCodeHighlighterRange rsCommentInBraces = 8 + rsProperty;

class CssHighlighter : public ::testing::Test {
protected:
  Toks Scan(const std::string& Line, TCodeHighlighterRange Range = rsSelector) {
    return ScanToks(h, Line, Range, &endRange);
  }
  TCodeCssHighlighter h{nullptr};
  TCodeHighlighterRange endRange = -1;
};

std::vector<std::string> Properties() {
  std::vector<std::string> words;
  std::string text = TCodeCssHighlighter::KeywordText(), word;
  for (char c : text + ",") {
    if (c == ',' || c == ' ') {
      if (!word.empty()) words.push_back(word);
      word.clear();
    } else {
      word += c;
    }
  }
  return words;
}

// ---------------------------------------------------------------------------------------------
// Selectors, properties and values

TEST_F(CssHighlighter, SplitsARuleIntoSelectorPropertiesAndValues) {
  EXPECT_EQ(Scan("h1, p.note { color: #FF0000; margin-top: 2.5em }"),
            (Toks{{"h1, p.note ", Sel}, {"{", Sym}, {" ", Space}, {"color", Prop}, {":", Sym},
                  {" ", Space}, {"#FF0000", Color}, {";", Sym}, {" ", Space},
                  {"margin-top", Prop}, {":", Sym}, {" ", Space}, {"2.5", Num}, {"em ", Value},
                  {"}", Sym}}));
  EXPECT_EQ(endRange, rsSelector);
}

TEST_F(CssHighlighter, TracksTheRangeThroughBracesAndSeparators) {
  Scan("a {");
  EXPECT_EQ(endRange, rsProperty);
  Scan("x;", rsProperty);
  EXPECT_EQ(endRange, rsAfterSemi);
  Scan("x:", rsAfterSemi);
  EXPECT_EQ(endRange, rsValue);
  Scan("1,", rsProperty);
  EXPECT_EQ(endRange, rsValue);
  Scan("red", rsValue);
  EXPECT_EQ(endRange, rsProperty);
}

TEST_F(CssHighlighter, KnowsEveryPropertyInAnyCaseAndNothingElse) {
  std::vector<std::string> words = Properties();
  ASSERT_EQ(words.size(), 122u);
  for (const std::string& word : words) {
    EXPECT_EQ(Scan(word + ":", rsProperty)[0], (Tok{word, Prop}));
    EXPECT_EQ(Scan(UpperCase(word), rsAfterSemi)[0], (Tok{UpperCase(word), Prop}));
  }
  EXPECT_EQ(Scan("colour: red", rsProperty),
            (Toks{{"colour", Undef}, {":", Sym}, {" ", Space}, {"red", Value}}));
  EXPECT_EQ(Scan("borde;", rsProperty)[0], (Tok{"borde", Undef}));
  EXPECT_EQ(Scan("border-", rsProperty)[0], (Tok{"border-", Undef}));
  EXPECT_EQ(Scan("z-index2", rsProperty)[0], (Tok{"z-index2", Undef}));
}

TEST_F(CssHighlighter, RunsAPropertyWordOnToABlankColonSemicolonQuoteOrBrace) {
  // The lookup sees only letters and dashes; the token runs on.
  EXPECT_EQ(Scan("color_x/y=1}", rsProperty), (Toks{{"color_x/y=1", Prop}, {"}", Sym}}));
  EXPECT_EQ(Scan("color\"a\"", rsProperty), (Toks{{"color", Prop}, {"\"a\"", Str}}));
  EXPECT_EQ(Scan("*zoom:1", rsProperty)[0], (Tok{"*zoom", Undef}));
}

TEST_F(CssHighlighter, RunsAValueOnToACommaSemicolonOrBraceWithBlanks) {
  EXPECT_EQ(Scan("Arial Black, serif; x", rsValue),
            (Toks{{"Arial Black", Value}, {",", Sym}, {" ", Space}, {"serif", Value}, {";", Sym},
                  {" ", Space}, {"x", Undef}}));
  EXPECT_EQ(Scan("bold !important", rsValue), (Toks{{"bold !important", Value}}));
  EXPECT_EQ(endRange, rsProperty);
}

TEST_F(CssHighlighter, TakesSelectorTextUpToABraceSlashOrControlCharacter) {
  EXPECT_EQ(Scan("a/b {"), (Toks{{"a", Sel}, {"/", Sym}, {"b ", Sel}, {"{", Sym}}));
  EXPECT_EQ(Scan("a\tb"), (Toks{{"a", Sel}, {"\t", Space}, {"b", Sel}}));
  EXPECT_EQ(Scan(" #id:hover, \"q\""), (Toks{{" #id:hover, \"q\"", Sel}}));
}

// ---------------------------------------------------------------------------------------------
// Numbers, colours, strings and blanks

TEST_F(CssHighlighter, ReadsNumbersAndColours) {
  EXPECT_EQ(Scan("12.5px", rsValue), (Toks{{"12.5", Num}, {"px", Value}}));
  EXPECT_EQ(Scan(".5;", rsValue), (Toks{{".5", Num}, {";", Sym}}));
  EXPECT_EQ(Scan("1..2", rsValue), (Toks{{"1", Num}, {"..2", Num}}));
  EXPECT_EQ(Scan("#aBc9 #xyz", rsValue),
            (Toks{{"#aBc9", Color}, {" ", Space}, {"#", Color}, {"xyz", Value}}));
}

TEST_F(CssHighlighter, TakesDoubleQuotedStringsWholeAndToTheLineEndWhenOpen) {
  EXPECT_EQ(Scan("\"a;b}\" x", rsValue),
            (Toks{{"\"a;b}\"", Str}, {" ", Space}, {"x", Value}}));
  EXPECT_EQ(Scan("\"open", rsValue), (Toks{{"\"open", Str}}));
  EXPECT_EQ(endRange, rsValue);
}

TEST_F(CssHighlighter, StartsANewSpaceTokenAtATabAndTakesAZeroByteAsABlank) {
  EXPECT_EQ(Scan("{  \t x", rsProperty), (Toks{{"{", Sym}, {"  ", Space}, {"\t ", Space},
                                               {"x", Undef}}));
  EXPECT_EQ(Scan(std::string("{\0}", 3)),
            (Toks{{"{", Sym}, {std::string(1, '\0'), Space}, {"}", Sym}}));
}

// ---------------------------------------------------------------------------------------------
// Comments

TEST_F(CssHighlighter, ClosesACommentOnItsLineAndReturnsToTheRangeBefore) {
  EXPECT_EQ(Scan("/* a */ p {"), (Toks{{"/* a */", Comment}, {" p ", Sel}, {"{", Sym}}));
  EXPECT_EQ(Scan("x: /**/1", rsProperty),
            (Toks{{"x", Undef}, {":", Sym}, {" ", Space}, {"/**/", Comment}, {"1", Num}}));
  EXPECT_EQ(Scan("/*/ x"), (Toks{{"/*/ x", Comment}}));
  EXPECT_EQ(endRange & 0xFF, rsComment);
}

TEST_F(CssHighlighter, ContinuesACommentOpenedInBracesAndReturnsIntoThem) {
  EXPECT_EQ(Scan("p { /* a"), (Toks{{"p ", Sel}, {"{", Sym}, {" ", Space}, {"/* a", Comment}}));
  EXPECT_EQ(endRange, rsCommentInBraces);
  EXPECT_TRUE(Scan("", rsCommentInBraces).empty());
  EXPECT_EQ(endRange, rsCommentInBraces);
  EXPECT_EQ(Scan("b { c", rsCommentInBraces), (Toks{{"b { c", Comment}}));
  EXPECT_EQ(Scan("*/color: red", rsCommentInBraces),
            (Toks{{"*/", Comment}, {"color", Prop}, {":", Sym}, {" ", Space}, {"red", Value}}));
  EXPECT_EQ(Scan("/*", rsSelector), (Toks{{"/*", Comment}}));
  EXPECT_EQ(endRange, rsComment);
}

TEST_F(CssHighlighter, KeepsEveryCommentStateWithinFourBitsAndReturnsFromIt) {
  // The mixed highlighter keeps four bits of a passage's state: each comment state must be
  // told apart within them and must return where its comment was opened.
  struct Case {
    const char* Before;  // scanned from outside braces, ends in the range to return to
    TCodeHighlighterRange Back;
    int KindAfter;  // of "x" after "*/"
  } cases[] = {
      {"p", rsSelector, Sel}, {"p {", rsProperty, Undef}, {"p { a;", rsAfterSemi, Undef},
      {"p { a:", rsValue, Value},
  };
  std::vector<TCodeHighlighterRange> states;
  for (const Case& c : cases) {
    Scan(c.Before);
    ASSERT_EQ(endRange, c.Back) << c.Before;
    Scan(std::string(c.Before) + " /* open", rsSelector);
    const TCodeHighlighterRange inComment = endRange;
    EXPECT_GE(inComment, 0) << c.Before;
    EXPECT_LE(inComment, 15) << c.Before;
    states.push_back(inComment);
    const Toks after = Scan("still */x", inComment);
    ASSERT_EQ(after.size(), 2u) << c.Before;
    EXPECT_EQ(after[0], (Tok{"still */", Comment})) << c.Before;
    EXPECT_EQ(after[1].second, c.KindAfter) << c.Before;
  }
  std::sort(states.begin(), states.end());
  EXPECT_EQ(std::unique(states.begin(), states.end()), states.end());
}

TEST_F(CssHighlighter, StartsOutsideBracesFromAStateItNeverGives) {
  for (TCodeHighlighterRange value : {1, 6, 7, 8, 9, 11, 14, 15, 16, 0x200, 0x203, -1, -7}) {
    EXPECT_EQ(Scan("a {", value), (Toks{{"a ", Sel}, {"{", Sym}})) << value;
    EXPECT_EQ(endRange, rsProperty) << value;
  }
  EXPECT_EQ(Scan("*/ p", rsComment), (Toks{{"*/", Comment}, {" p", Sel}}));
  EXPECT_EQ(endRange, rsSelector);
}

TEST_F(CssHighlighter, TakesALineBreakInsideACommentAsABlankOfItsOwn) {
  EXPECT_EQ(Scan("a\r\nb */", rsCommentInBraces),
            (Toks{{"a", Comment}, {"\r\n", Space}, {"b */", Comment}}));
  EXPECT_EQ(endRange, rsProperty);
}

// ---------------------------------------------------------------------------------------------
// The keyword list

TEST(CssKeywordList, KeepsEachChainOrderedByLength) {
  TCodeHashEntryList list;
  list.AddByLength(7, "abc", 1);
  list.AddByLength(7, "a", 2);
  list.AddByLength(7, "xy", 3);
  list.AddByLength(7, "zz", 4);
  ASSERT_EQ(list.Size(), 8);
  std::vector<std::string> chain;
  for (const auto& e : list.Entries(7)) chain.push_back(e.Keyword);
  EXPECT_EQ(chain, (std::vector<std::string>{"a", "xy", "zz", "abc"}));
  EXPECT_TRUE(list.Entries(8).empty());
  EXPECT_TRUE(list.Entries(-1).empty());
  list.Clear();
  EXPECT_EQ(list.Size(), 0);
}

TEST(CssKeywordList, RefusesAKeywordTwiceWithoutRegardToCase) {
  TCodeHashEntryList list;
  try {
    TCodeCssHighlighter::AddKeywords(list, "color, font,Color", 1);
    FAIL() << "no exception";
  } catch (const ECodeHashEntryError& e) {
    EXPECT_STREQ(e.what(), "Keyword \"Color\" already in list");
  }
  TCodeHashEntryList fresh;
  TCodeCssHighlighter::AddKeywords(fresh, TCodeCssHighlighter::KeywordText(), 1);
  int count = 0;
  for (int i = 0; i < fresh.Size(); ++i) count += static_cast<int>(fresh.Entries(i).size());
  EXPECT_EQ(count, 122);
}

TEST(CssKeywordList, HashesLettersAndDashesThenTheDigitsAfterThem) {
  int length = 0;
  EXPECT_EQ(TCodeCssHighlighter::Hash("a-B12x", length), 1 + 2 + 1 + 2);
  EXPECT_EQ(length, 5);
  EXPECT_EQ(TCodeCssHighlighter::Hash("_a", length), 0);
  EXPECT_EQ(length, 0);
}

// ---------------------------------------------------------------------------------------------
// Attributes, settings and the contract

TEST_F(CssHighlighter, StartsWithItsOwnAttributesAndDefaults) {
  const TFontStyles bold{TFontStyle::fsBold};
  EXPECT_EQ(testsupport::AttributeNames(h),
            (std::vector<std::string>{"Color Value", "Comment", "Number", "Property",
                                      "Reserved Word", "Space", "String", "Symbol", "Text",
                                      "Undefined Property", "Value"}));
  EXPECT_EQ(h.PropertyAttri()->Style(), bold);
  EXPECT_EQ(h.PropertyAttri()->Foreground(), clNone);
  EXPECT_EQ(h.KeyAttri()->Foreground(), 0x00FF0080);
  EXPECT_EQ(h.KeyAttri()->Style(), bold);
  EXPECT_EQ(h.UndefPropertyAttri()->Foreground(), 0x00FF0080);
  EXPECT_EQ(h.UndefPropertyAttri()->Style(), bold);
  EXPECT_EQ(h.ValueAttri()->Foreground(), 0x00FF8000);
  EXPECT_TRUE(h.ValueAttri()->Style().Empty());
  EXPECT_TRUE(h.SymbolAttri()->Style().Empty());
  EXPECT_EQ(h.GetDefaultAttribute(0), h.CommentAttri());
  EXPECT_EQ(h.GetDefaultAttribute(1), nullptr);
  EXPECT_EQ(h.GetDefaultAttribute(2), h.KeyAttri());
  EXPECT_EQ(h.GetDefaultAttribute(3), h.StringAttri());
  EXPECT_EQ(h.GetDefaultAttribute(4), h.SpaceAttri());
  EXPECT_EQ(h.GetDefaultAttribute(5), nullptr);
}

TEST_F(CssHighlighter, GivesEachTokenKindItsAttribute) {
  auto t = testsupport::ScanLine(h, "/**/ a{b:#1 2 c;x:\"s\"}", rsSelector);
  std::vector<const TCodeHighlighterAttributes*> attrs;
  for (const auto& token : t) attrs.push_back(token.Attribute);
  EXPECT_EQ(attrs, (std::vector<const TCodeHighlighterAttributes*>{
                       h.CommentAttri(), h.KeyAttri(), h.SymbolAttri(), h.UndefPropertyAttri(),
                       h.SymbolAttri(), h.ColorAttri(), h.SpaceAttri(), h.NumberAttri(),
                       h.SpaceAttri(), h.ValueAttri(), h.SymbolAttri(), h.UndefPropertyAttri(),
                       h.SymbolAttri(), h.StringAttri(), h.SymbolAttri()}));
  EXPECT_EQ(testsupport::ScanLine(h, "top", rsProperty)[0].Attribute, h.PropertyAttri());
}

TEST_F(CssHighlighter, DescribesItsLanguageFilterAndWordCharacters) {
  EXPECT_EQ(h.LanguageName(), "Cascading Style Sheet");
  EXPECT_EQ(h.DefaultFilter(), "Cascading Stylesheets (*.css)|*.css");
  EXPECT_FALSE(h.IsDefaultFilterStored());
  TCodeCharSet chars = h.GetIdentifierChars();
  EXPECT_TRUE(chars['-'] && chars['_'] && chars['0'] && chars['Z'] && chars['z']);
  EXPECT_EQ(chars.count(), 64u);
  EXPECT_EQ(h.GetRange(), rsSelector);
}

TEST_F(CssHighlighter, TakesTheMainWindowColoursAsChangesToStore) {
  ApplyMainWindowColors(h);
  EXPECT_EQ(h.KeyAttri()->Foreground(), clBlue);
  EXPECT_TRUE(h.KeyAttri()->Style().Empty());
  EXPECT_EQ(h.UndefPropertyAttri()->Foreground(), clRed);
  EXPECT_EQ(h.NumberAttri()->Foreground(), clTeal);
  EXPECT_TRUE(h.UndefPropertyAttri()->IsForegroundStored());
  EXPECT_FALSE(h.SpaceAttri()->IsForegroundStored());
}

TEST_F(CssHighlighter, SamplesACommentABodyRuleAndAMadeUpProperty) {
  std::vector<std::string> lines = testsupport::SplitLines(h.GetSampleText());
  std::vector<int> kinds;
  TCodeHighlighterRange range = rsSelector;
  for (const std::string& line : lines)
    for (const auto& t : testsupport::ScanLine(h, line, range, &range)) kinds.push_back(t.Kind);
  for (int kind : {Comment, Prop, Sel, Str, Undef, Value, Color, Num})
    EXPECT_NE(std::find(kinds.begin(), kinds.end(), kind), kinds.end()) << kind;
}

TEST_F(CssHighlighter, MeetsTheHighlighterContract) {
  EXPECT_TRUE(testsupport::MeetsHighlighterContract(h, testsupport::SplitLines(h.GetSampleText())));
  EXPECT_TRUE(testsupport::MeetsHighlighterContract(
      h, {"/* head", "", "*/ body, td {", "  font: 12px \"Open", "  /* note", "  */ color: #fff;",
          "}", "a:hover { x", "/*", "*/}", "\t", "h1{margin:0}/* c */"}));
}

}  // namespace
