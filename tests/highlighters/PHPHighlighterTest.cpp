#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>
#include "highlighters/CodeHighlighterPHP.h"
#include "rtl/SysUtils.h"
#include "TokenList.h"

using testsupport::ScanToks;
using testsupport::Tok;
using testsupport::Toks;

namespace {

constexpr int Comment = 0, Ident = 1, Key = 2, Num = 4, Space = 5, Str = 6, Sym = 7, Unknown = 8,
              Var = 9;
constexpr TCodeHighlighterRange rsNormal = 0, rsSingle = 1, rsDouble = 2, rsComment = 3,
                                rsVariable = 4;

class PHPHighlighter : public ::testing::Test {
protected:
  Toks Scan(const std::string& Line, TCodeHighlighterRange Range = rsNormal) {
    return ScanToks(h, Line, Range, &endRange);
  }
  TCodePHPHighlighter h{nullptr};
  TCodeHighlighterRange endRange = -1;
};

// ---------------------------------------------------------------------------------------------
// Words, variables and numbers

TEST_F(PHPHighlighter, KnowsEveryReservedWordInAnyLetterCase) {
  ASSERT_EQ(TCodePHPHighlighter::Keywords().size(), 56u);
  for (std::string word : TCodePHPHighlighter::Keywords()) {
    EXPECT_EQ(Scan(word), (Toks{{word, Key}})) << word;
    EXPECT_EQ(Scan(UpperCase(word)), (Toks{{UpperCase(word), Key}})) << word;
  }
  EXPECT_EQ(Scan("Echo echos"), (Toks{{"Echo", Key}, {" ", Space}, {"echos", Ident}}));
  // 206, the largest sum of the list, still inside the table.
  EXPECT_EQ(Scan("HIGHLIGHT_STRING")[0], (Tok{"HIGHLIGHT_STRING", Key}));
}

TEST_F(PHPHighlighter, ReadsVariablesAndNumbers) {
  EXPECT_EQ(Scan("$a_1+$"), (Toks{{"$a_1", Var}, {"+", Sym}, {"$", Var}}));
  EXPECT_EQ(Scan("0x1F 12L"), (Toks{{"0x1F", Num}, {" ", Space}, {"12L", Num}}));
  EXPECT_EQ(Scan("1..2"), (Toks{{"1", Num}, {".", Sym}, {".", Sym}, {"2", Num}}));
  EXPECT_EQ(Scan("1-2.5e"), (Toks{{"1-2.5e", Num}}));
  EXPECT_EQ(Scan("9g"), (Toks{{"9", Num}, {"g", Ident}}));
}

TEST_F(PHPHighlighter, JoinsTheOperatorsItKnows) {
  const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
      {"<<=<<<=<", {"<<=", "<<", "<=", "<"}}, {"===>=", {"==", "=>", "="}},
      {">=>>>", {">=", ">>", ">"}},           {"&&&=&", {"&&", "&=", "&"}},
      {"|||=|", {"||", "|=", "|"}},           {"+++=+", {"++", "+=", "+"}},
      {"---=->-", {"--", "-=", "->", "-"}},
      {"!=!%=%*=*^=^", {"!=", "!", "%=", "%", "*=", "*", "^=", "^"}},
      {"/=/", {"/=", "/"}},
      {"(),.:;?@[]{}~",
       {"(", ")", ",", ".", ":", ";", "?", "@", "[", "]", "{", "}", "~"}},
  };
  for (const auto& [line, expected] : cases) {
    Toks tokens = Scan(line);
    std::vector<std::string> texts;
    for (const Tok& t : tokens) {
      texts.push_back(t.first);
      EXPECT_EQ(t.second, Sym) << line;
    }
    EXPECT_EQ(texts, expected) << line;
  }
}

TEST_F(PHPHighlighter, MarksOtherCharactersAsUnknown) {
  EXPECT_EQ(Scan("\\`\x7F\xE4"),
            (Toks{{"\\", Unknown}, {"`", Unknown}, {"\x7F", Unknown}, {"\xE4", Unknown}}));
  EXPECT_EQ(testsupport::ScanLine(h, "`", rsNormal)[0].Attribute, h.IdentifierAttri());
  h.SetLeadByteTest([](unsigned char B) { return B == 0x81; });
  EXPECT_EQ(Scan("\x81\x40\x81"), (Toks{{"\x81\x40", Unknown}, {"\x81", Unknown}}));
}

// ---------------------------------------------------------------------------------------------
// Strings and the variables inside them

TEST_F(PHPHighlighter, SplitsAVariableOutOfADoubleQuotedString) {
  EXPECT_EQ(Scan("\"a $b c\""), (Toks{{"\"a ", Str}, {"$b", Var}, {" c\"", Str}}));
  EXPECT_EQ(endRange, rsNormal);
  EXPECT_EQ(Scan("\"$a$b\""), (Toks{{"\"", Str}, {"$a", Var}, {"", Str}, {"$b", Var},
                                    {"\"", Str}}));
  EXPECT_EQ(Scan("\"a $ 1$\""), (Toks{{"\"a $ 1$\"", Str}}));
}

TEST_F(PHPHighlighter, KeepsAnEscapedDollarSignInTheString) {
  EXPECT_EQ(Scan("\"a \\$b c\""), (Toks{{"\"a \\$b c\"", Str}}));
  EXPECT_EQ(Scan("\"a \\\\$b\""), (Toks{{"\"a \\\\", Str}, {"$b", Var}, {"\"", Str}}));
  EXPECT_EQ(Scan("'a $b'"), (Toks{{"'a $b'", Str}}));
}

TEST_F(PHPHighlighter, TakesIndexesAndMembersIntoAVariableInsideAString) {
  EXPECT_EQ(Scan("\"$a[0]->b!\""), (Toks{{"\"", Str}, {"$a[0]->b", Var}, {"!\"", Str}}));
  EXPECT_EQ(Scan("\"$a['k x'] \""), (Toks{{"\"", Str}, {"$a['k x']", Var}, {" \"", Str}}));
  EXPECT_EQ(Scan("\"$a[[i]]x\""), (Toks{{"\"", Str}, {"$a[[i]]", Var}, {"x\"", Str}}));
  EXPECT_EQ(Scan("\"$a[$i] $b-> \""),
            (Toks{{"\"", Str}, {"$a", Var}, {"[", Str}, {"$i", Var}, {"] ", Str}, {"$b", Var},
                  {"-> \"", Str}}));
  EXPECT_EQ(Scan("\"$a['k]\""), (Toks{{"\"", Str}, {"$a", Var}, {"['k]\"", Str}}));
}

TEST_F(PHPHighlighter, TakesBracedVariablesToTheirMatchingBrace) {
  EXPECT_EQ(Scan("\"x {$a[1]} y\""), (Toks{{"\"x ", Str}, {"{$a[1]}", Var}, {" y\"", Str}}));
  EXPECT_EQ(Scan("\"${a{b}c} d\""), (Toks{{"\"", Str}, {"${a{b}c}", Var}, {" d\"", Str}}));
  EXPECT_EQ(Scan("\"{$a"), (Toks{{"\"", Str}, {"{$a", Var}}));
  EXPECT_EQ(endRange, rsDouble);
  // An escaped brace keeps the whole "{$" in the text.
  EXPECT_EQ(Scan("\"\\{$a}\""), (Toks{{"\"\\{$a}\"", Str}}));
}

TEST_F(PHPHighlighter, ClosesAStringOnlyAtAnUnescapedQuote) {
  EXPECT_EQ(Scan("'it\\'s' x"), (Toks{{"'it\\'s'", Str}, {" ", Space}, {"x", Ident}}));
  EXPECT_EQ(Scan("'a\\\\' x"), (Toks{{"'a\\\\'", Str}, {" ", Space}, {"x", Ident}}));
  // Backslashes are counted back to the line's second character only.
  EXPECT_EQ(Scan("\\\"", rsDouble), (Toks{{"\\\"", Str}}));
  EXPECT_EQ(endRange, rsNormal);
  EXPECT_EQ(Scan("x\\\"", rsDouble), (Toks{{"x\\\"", Str}}));
  EXPECT_EQ(endRange, rsDouble);
}

TEST_F(PHPHighlighter, ContinuesAnOpenStringOnTheNextLines) {
  EXPECT_EQ(Scan("$s = \"open"), (Toks{{"$s", Var}, {" ", Space}, {"=", Sym}, {" ", Space},
                                       {"\"open", Str}}));
  EXPECT_EQ(endRange, rsDouble);
  EXPECT_TRUE(Scan("", rsDouble).empty());
  EXPECT_EQ(endRange, rsDouble);
  EXPECT_EQ(Scan("$v\" x", rsDouble), (Toks{{"", Str}, {"$v", Var}, {"\"", Str}, {" ", Space},
                                            {"x", Ident}}));
  EXPECT_EQ(endRange, rsNormal);
  Scan("'a");
  EXPECT_EQ(endRange, rsSingle);
  EXPECT_EQ(Scan("b' c", rsSingle), (Toks{{"b'", Str}, {" ", Space}, {"c", Ident}}));
  EXPECT_EQ(Scan("a\rb'", rsSingle), (Toks{{"a", Str}, {"\r", Space}, {"b'", Str}}));
}

TEST_F(PHPHighlighter, ReadsAVariableStateRestoredAtTheLineEndAsNothing) {
  EXPECT_TRUE(Scan("", rsVariable).empty());
  EXPECT_EQ(endRange, rsDouble);
  EXPECT_EQ(Scan("$x\"", rsVariable), (Toks{{"$x", Var}, {"\"", Str}}));
}

// ---------------------------------------------------------------------------------------------
// Comments

TEST_F(PHPHighlighter, ReadsLineAndBlockComments) {
  EXPECT_EQ(Scan("a # b"), (Toks{{"a", Ident}, {" ", Space}, {"# b", Comment}}));
  EXPECT_EQ(Scan("// b"), (Toks{{"// b", Comment}}));
  EXPECT_EQ(Scan("/* a */$x"), (Toks{{"/* a */", Comment}, {"$x", Var}}));
  EXPECT_EQ(Scan("/*/ a"), (Toks{{"/*/ a", Comment}}));
  EXPECT_EQ(endRange, rsComment);
  EXPECT_TRUE(Scan("", rsComment).empty());
  EXPECT_EQ(Scan("b */ echo", rsComment),
            (Toks{{"b */", Comment}, {" ", Space}, {"echo", Key}}));
  EXPECT_EQ(endRange, rsNormal);
  EXPECT_EQ(Scan("*/", rsComment), (Toks{{"*/", Comment}}));
  EXPECT_EQ(Scan("a\nb", rsComment), (Toks{{"a", Comment}, {"\n", Space}, {"b", Comment}}));
}

// ---------------------------------------------------------------------------------------------
// Attributes, settings and the contract

TEST_F(PHPHighlighter, StartsWithItsOwnAttributesAndDefaults) {
  EXPECT_EQ(testsupport::AttributeNames(h),
            (std::vector<std::string>{"Comment", "Identifier", "Number", "Reserved Word",
                                      "Space", "String", "Symbol", "Variable"}));
  EXPECT_EQ(h.CommentAttri()->Style(), TFontStyles{TFontStyle::fsItalic});
  EXPECT_EQ(h.KeyAttri()->Style(), TFontStyles{TFontStyle::fsBold});
  const TCodeHighlighterAttributes* roles[] = {h.CommentAttri(), h.IdentifierAttri(),
                                               h.KeyAttri(),     h.StringAttri(),
                                               h.SpaceAttri(),   h.SymbolAttri()};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(h.GetDefaultAttribute(i), roles[i]) << i;
  EXPECT_EQ(h.GetDefaultAttribute(6), nullptr);
  EXPECT_EQ(h.LanguageName(), "PHP");
  EXPECT_TRUE(h.GetIdentifierChars()[0xE4]);
  EXPECT_FALSE(h.GetIdentifierChars()['$']);
  EXPECT_EQ(h.GetIdentifierChars().count(), 148u);
  EXPECT_EQ(h.DefaultFilter(), "PHP Files (*.php;*.php3;*.phtml;*.inc)|*.php;*.php3;*.phtml;*.inc");
  ApplyMainWindowColors(h);
  EXPECT_EQ(h.VariableAttri()->Foreground(), clMaroon);
  EXPECT_EQ(h.IdentifierAttri()->Foreground(), clNavy);
}

TEST_F(PHPHighlighter, SamplesAVariableInsideAString) {
  Toks all;
  TCodeHighlighterRange range = rsNormal;
  for (const std::string& line : testsupport::SplitLines(h.GetSampleText()))
    for (const auto& t : testsupport::ScanLine(h, line, range, &range))
      all.emplace_back(t.Text, t.Kind);
  auto var = std::find(all.begin(), all.end(), Tok{"$number", Var});
  ASSERT_NE(var, all.end());
  EXPECT_TRUE(std::adjacent_find(all.begin(), all.end(), [](const Tok& a, const Tok& b) {
                return a.second == Str && b.second == Var;
              }) != all.end());
}

TEST_F(PHPHighlighter, MeetsTheHighlighterContract) {
  EXPECT_TRUE(testsupport::MeetsHighlighterContract(h, testsupport::SplitLines(h.GetSampleText())));
  EXPECT_TRUE(testsupport::MeetsHighlighterContract(
      h, {"$a = \"x {$b['k']} $c->d", "", "more $e\"; /* c", "*/ 'single", "\\' still'",
          "# done", "\"\\\\\"", "\"${x"}));
}

}  // namespace
