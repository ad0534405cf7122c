#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "highlighters/CodeHighlighterJScript.h"
#include "TokenList.h"

using testsupport::ScanToks;
using testsupport::Tok;
using testsupport::Toks;

namespace {

constexpr int Comment = 0, Ident = 1, Key = 2, Num = 4, Space = 5, Str = 6, Sym = 7, Unknown = 8,
              NonRes = 9, Event = 10;
constexpr TCodeHighlighterRange rsNormal = 0, rsBlockComment = 1;

class JScriptHighlighter : public ::testing::Test {
protected:
  Toks Scan(const std::string& Line, TCodeHighlighterRange Range = rsNormal) {
    return ScanToks(h, Line, Range, &endRange);
  }
  TCodeJScriptHighlighter h{nullptr};
  TCodeHighlighterRange endRange = -1;
};

// ---------------------------------------------------------------------------------------------
// Words

TEST_F(JScriptHighlighter, KnowsEveryKeywordOfEachKindSpelledExactly) {
  struct {
    const std::vector<const char*>& Words;
    size_t Count;
    int Kind;
  } lists[] = {{TCodeJScriptHighlighter::ReservedWords(), 63, Key},
               {TCodeJScriptHighlighter::NonReservedKeywords(), 316, NonRes},
               {TCodeJScriptHighlighter::Events(), 20, Event}};
  for (const auto& list : lists) {
    EXPECT_EQ(list.Words.size(), list.Count);
    for (const char* word : list.Words) EXPECT_EQ(Scan(word), (Toks{{word, list.Kind}})) << word;
  }
}

TEST_F(JScriptHighlighter, TellsKeywordsApartByLetterCase) {
  EXPECT_EQ(Scan("Math math If if"), (Toks{{"Math", NonRes}, {" ", Space}, {"math", Ident},
                                          {" ", Space}, {"If", Ident}, {" ", Space},
                                          {"if", Key}}));
  EXPECT_EQ(Scan("Boolean boolean")[0], (Tok{"Boolean", NonRes}));
  EXPECT_EQ(Scan("Boolean boolean")[2], (Tok{"boolean", Key}));
  EXPECT_EQ(Scan("Float float NULL")[2], (Tok{"float", Key}));
  EXPECT_EQ(Scan("NULL")[0], (Tok{"NULL", Ident}));
  EXPECT_EQ(Scan("onclick onClick")[2], (Tok{"onClick", Event}));
  EXPECT_EQ(Scan("onclick")[0], (Tok{"onclick", Ident}));
}

TEST_F(JScriptHighlighter, KeepsTheLongestHashesInsideTheKeywordTable) {
  // 252, the largest sum of the lists, and a word beyond the table.
  EXPECT_EQ(Scan("POSITIVE_INFINITY")[0], (Tok{"POSITIVE_INFINITY", NonRes}));
  EXPECT_EQ(Scan("zzzzzzzzzz")[0], (Tok{"zzzzzzzzzz", Ident}));
  EXPECT_EQ(Scan("if2 _if window_")[0], (Tok{"if2", Ident}));
  EXPECT_EQ(Scan("if2 _if window_")[2], (Tok{"_if", Ident}));
}

// ---------------------------------------------------------------------------------------------
// Numbers and symbols

TEST_F(JScriptHighlighter, ReadsDecimalAndHexadecimalNumbers) {
  EXPECT_EQ(Scan("0x1F;"), (Toks{{"0x1F", Num}, {";", Sym}}));
  EXPECT_EQ(Scan("0XaB"), (Toks{{"0XaB", Num}}));
  EXPECT_EQ(Scan("1e5"), (Toks{{"1", Num}, {"e5", Ident}}));
  EXPECT_EQ(Scan("1.5"), (Toks{{"1.5", Num}}));
  EXPECT_EQ(Scan("1..2"), (Toks{{"1", Num}, {".", Sym}, {".", Sym}, {"2", Num}}));
  EXPECT_EQ(Scan("0xG"), (Toks{{"0", Num}, {"xG", Ident}}));
  EXPECT_EQ(Scan("10x1"), (Toks{{"10", Num}, {"x1", Ident}}));
  EXPECT_EQ(Scan("0x1x2"), (Toks{{"0x1", Num}, {"x2", Ident}}));
}

TEST_F(JScriptHighlighter, JoinsTheOperatorPairsItKnows) {
  const std::vector<std::pair<std::string, Toks>> cases = {
      {"&&&", {{"&&", Sym}, {"&", Sym}}},   {"&=", {{"&=", Sym}}},
      {"+++", {{"++", Sym}, {"+", Sym}}},   {"+=", {{"+=", Sym}}},
      {"-->", {{"--", Sym}, {">", Sym}}},   {"-=->", {{"-=", Sym}, {"->", Sym}}},
      {"|||=", {{"||", Sym}, {"|=", Sym}}}, {"%=*=*", {{"%=", Sym}, {"*=", Sym}, {"*", Sym}}},
      {"....", {{"...", Sym}, {".", Sym}}}, {"==", {{"=", Sym}, {"=", Sym}}},
      {"/=/", {{"/=", Sym}, {"/", Sym}}},   {"!(),:;<>?[]{}~", {}},
  };
  for (const auto& [line, expected] : cases) {
    Toks tokens = Scan(line);
    if (expected.empty()) {
      EXPECT_EQ(tokens.size(), line.size()) << line;
      for (const Tok& t : tokens) EXPECT_EQ(t.second, Sym) << line;
    } else {
      EXPECT_EQ(tokens, expected) << line;
    }
  }
}

TEST_F(JScriptHighlighter, MarksOtherCharactersAsUnknownWithTheIdentifierColours) {
  EXPECT_EQ(Scan("#$@\\^`\x7F\xE4"), (Toks{{"#", Unknown}, {"$", Unknown}, {"@", Unknown},
                                          {"\\", Unknown}, {"^", Unknown}, {"`", Unknown},
                                          {"\x7F", Unknown}, {"\xE4", Unknown}}));
  EXPECT_EQ(testsupport::ScanLine(h, "@", rsNormal)[0].Attribute, h.IdentifierAttri());
}

TEST_F(JScriptHighlighter, StepsOverADoubleByteCharacterButNotPastTheLineEnd) {
  h.SetLeadByteTest([](unsigned char B) { return B == 0x81; });
  EXPECT_EQ(Scan("\x81\x40x"), (Toks{{"\x81\x40", Unknown}, {"x", Ident}}));
  EXPECT_EQ(Scan("a\x81"), (Toks{{"a", Ident}, {"\x81", Unknown}}));
}

// ---------------------------------------------------------------------------------------------
// Strings and comments

TEST_F(JScriptHighlighter, EndsAStringAtItsQuoteUnlessABackslashStandsBefore) {
  EXPECT_EQ(Scan("\"a\\\"b\" + c"),
            (Toks{{"\"a\\\"b\"", Str}, {" ", Space}, {"+", Sym}, {" ", Space}, {"c", Ident}}));
  EXPECT_EQ(Scan("'it\"s' x"), (Toks{{"'it\"s'", Str}, {" ", Space}, {"x", Ident}}));
  EXPECT_EQ(Scan("\"\"x"), (Toks{{"\"\"", Str}, {"x", Ident}}));
  EXPECT_EQ(Scan("'''a'"), (Toks{{"'''a'", Str}}));
  EXPECT_EQ(Scan("'open"), (Toks{{"'open", Str}}));
  EXPECT_EQ(endRange, rsNormal);
  EXPECT_EQ(Scan("x\""), (Toks{{"x", Ident}, {"\"", Str}}));
}

TEST_F(JScriptHighlighter, ReadsLineComments) {
  EXPECT_EQ(Scan("a // b /* c"), (Toks{{"a", Ident}, {" ", Space}, {"// b /* c", Comment}}));
  EXPECT_EQ(endRange, rsNormal);
}

TEST_F(JScriptHighlighter, ContinuesABlockCommentOverLines) {
  EXPECT_EQ(Scan("x /* a"), (Toks{{"x", Ident}, {" ", Space}, {"/* a", Comment}}));
  EXPECT_EQ(endRange, rsBlockComment);
  EXPECT_TRUE(Scan("", rsBlockComment).empty());
  EXPECT_EQ(endRange, rsBlockComment);
  EXPECT_EQ(Scan("b */ if", rsBlockComment),
            (Toks{{"b */", Comment}, {" ", Space}, {"if", Key}}));
  EXPECT_EQ(endRange, rsNormal);
  EXPECT_EQ(Scan("*/x", rsBlockComment), (Toks{{"*/", Comment}, {"x", Ident}}));
  EXPECT_EQ(Scan("/*/ x"), (Toks{{"/*/ x", Comment}}));
  EXPECT_EQ(endRange, rsBlockComment);
  EXPECT_EQ(Scan("/**/1"), (Toks{{"/**/", Comment}, {"1", Num}}));
}

TEST_F(JScriptHighlighter, TakesALineBreakInsideABlockCommentAsABlankOfItsOwn) {
  EXPECT_EQ(Scan("a\rb */", rsBlockComment), (Toks{{"a", Comment}, {"\r", Space},
                                                   {"b */", Comment}}));
  EXPECT_EQ(Scan(std::string("\0*/", 3), rsBlockComment),
            (Toks{{std::string(1, '\0'), Space}, {"*/", Comment}}));
}

// ---------------------------------------------------------------------------------------------
// Attributes, settings and the contract

TEST_F(JScriptHighlighter, StartsWithItsOwnAttributesAndDefaults) {
  EXPECT_EQ(testsupport::AttributeNames(h),
            (std::vector<std::string>{"Comment", "Event", "Identifier", "Non-reserved Keyword",
                                      "Number", "Reserved Word", "Space", "String", "Symbol"}));
  EXPECT_EQ(h.CommentAttri()->Style(), TFontStyles{TFontStyle::fsItalic});
  EXPECT_EQ(h.KeyAttri()->Style(), TFontStyles{TFontStyle::fsBold});
  EXPECT_TRUE(h.IdentifierAttri()->Style().Empty());
  EXPECT_EQ(h.EventAttri()->Foreground(), clNone);
  const TCodeHighlighterAttributes* roles[] = {h.CommentAttri(), h.IdentifierAttri(),
                                               h.KeyAttri(),     h.StringAttri(),
                                               h.SpaceAttri(),   h.SymbolAttri()};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(h.GetDefaultAttribute(i), roles[i]) << i;
  EXPECT_EQ(h.GetDefaultAttribute(6), nullptr);
  EXPECT_EQ(h.GetDefaultAttribute(-1), nullptr);
}

TEST_F(JScriptHighlighter, DescribesItsLanguageAndFilter) {
  EXPECT_EQ(h.LanguageName(), "JavaScript");
  EXPECT_EQ(h.DefaultFilter(), "Javascript Files (*.js)|*.js");
  EXPECT_FALSE(h.IsDefaultFilterStored());
  TCodeCharSet chars = h.GetIdentifierChars();
  EXPECT_TRUE(chars['_'] && chars['0'] && chars['z'] && chars[138] && chars[192] && chars[255]);
  EXPECT_FALSE(chars['$'] || chars['-'] || chars[128] || chars[191]);
  EXPECT_EQ(chars.count(), 148u);
}

TEST_F(JScriptHighlighter, TakesTheMainWindowColours) {
  ApplyMainWindowColors(h);
  EXPECT_EQ(h.CommentAttri()->Foreground(), clGreen);
  EXPECT_TRUE(h.CommentAttri()->Style().Empty());
  EXPECT_EQ(h.EventAttri()->Foreground(), 0x00FF8000);
  EXPECT_EQ(h.NonReservedKeyAttri()->Foreground(), clNavy);
  EXPECT_EQ(h.NumberAttri()->Foreground(), clPurple);
}

TEST_F(JScriptHighlighter, SamplesAnIllegalCharacterAndAnEvent) {
  std::vector<int> kinds;
  TCodeHighlighterRange range = rsNormal;
  for (const std::string& line : testsupport::SplitLines(h.GetSampleText()))
    for (const auto& t : testsupport::ScanLine(h, line, range, &range)) kinds.push_back(t.Kind);
  for (int kind : {Comment, Ident, Key, Num, Str, Sym, Unknown, NonRes, Event})
    EXPECT_NE(std::find(kinds.begin(), kinds.end(), kind), kinds.end()) << kind;
}

TEST_F(JScriptHighlighter, MeetsTheHighlighterContract) {
  EXPECT_TRUE(testsupport::MeetsHighlighterContract(h, testsupport::SplitLines(h.GetSampleText())));
  EXPECT_TRUE(testsupport::MeetsHighlighterContract(
      h, {"/* a", "", "b */ var s = 'x\\'y';", "x = 0x1F + 1..2 /*", "*/ // done", "\"open",
          "@\t$", "/*/"}));
}

}  // namespace
