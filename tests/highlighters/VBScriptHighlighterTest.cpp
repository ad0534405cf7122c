#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>
#include "highlighters/CodeHighlighterVBScript.h"
#include "rtl/SysUtils.h"
#include "TokenList.h"

using testsupport::ScanToks;
using testsupport::Tok;
using testsupport::Toks;

namespace {

constexpr int Comment = 0, Ident = 1, Key = 2, Num = 4, Space = 5, Str = 6, Sym = 7;

class VBScriptHighlighter : public ::testing::Test {
protected:
  Toks Scan(const std::string& Line) { return ScanToks(h, Line, 0, &endRange); }
  TCodeVBScriptHighlighter h{nullptr};
  TCodeHighlighterRange endRange = -1;
};

TEST_F(VBScriptHighlighter, SplitsAnAssignmentWithATrailingComment) {
  EXPECT_EQ(Scan("x = \"abc\" ' note"),
            (Toks{{"x", Ident}, {" ", Space}, {"=", Sym}, {" ", Space}, {"\"abc\"", Str},
                  {" ", Space}, {"' note", Comment}}));
}

TEST_F(VBScriptHighlighter, KnowsEveryReservedWordInAnyLetterCase) {
  ASSERT_EQ(TCodeVBScriptHighlighter::Keywords().size(), 84u);
  for (std::string word : TCodeVBScriptHighlighter::Keywords()) {
    EXPECT_EQ(Scan(word), (Toks{{word, Key}})) << word;
    EXPECT_EQ(Scan(UpperCase(word)), (Toks{{UpperCase(word), Key}})) << word;
    EXPECT_EQ(Scan(LowerCase(word) + "_"), (Toks{{LowerCase(word) + "_", Ident}})) << word;
  }
  EXPECT_EQ(Scan("REM x"), (Toks{{"REM", Key}, {" ", Space}, {"x", Ident}}));
  EXPECT_EQ(Scan("End_If2"), (Toks{{"End_If2", Ident}}));
  EXPECT_EQ(Scan("zzzzzz"), (Toks{{"zzzzzz", Ident}}));  // 156, beyond the table
}

TEST_F(VBScriptHighlighter, ReadsNumbersWithFractionAndExponent) {
  EXPECT_EQ(Scan("1.5e3"), (Toks{{"1.5e3", Num}}));
  EXPECT_EQ(Scan("12E+3"), (Toks{{"12E", Num}, {"+", Sym}, {"3", Num}}));
  EXPECT_EQ(Scan("7x"), (Toks{{"7", Num}, {"x", Ident}}));
}

TEST_F(VBScriptHighlighter, TakesStringsAndDateLiteralsWhole) {
  EXPECT_EQ(Scan("#1/1/2000#"), (Toks{{"#1/1/2000#", Str}}));
  EXPECT_EQ(Scan("\"a\"\"b\""), (Toks{{"\"a\"", Str}, {"\"b\"", Str}}));
  EXPECT_EQ(Scan("\"\"\"x\" y"), (Toks{{"\"\"\"x\"", Str}, {" ", Space}, {"y", Ident}}));
  EXPECT_EQ(Scan("\"\""), (Toks{{"\"\"", Str}}));
}

TEST_F(VBScriptHighlighter, RunsAnOpenStringToTheLineEndAndStartsTheNextLineFresh) {
  EXPECT_EQ(Scan("s = \"open"), (Toks{{"s", Ident}, {" ", Space}, {"=", Sym}, {" ", Space},
                                      {"\"open", Str}}));
  EXPECT_EQ(endRange, 0);
  EXPECT_EQ(Scan("#1/1"), (Toks{{"#1/1", Str}}));
  EXPECT_EQ(Scan("Dim"), (Toks{{"Dim", Key}}));
  EXPECT_EQ(Scan("x\""), (Toks{{"x", Ident}, {"\"", Str}}));
}

TEST_F(VBScriptHighlighter, JoinsComparisonPairs) {
  EXPECT_EQ(Scan("<><=<"), (Toks{{"<>", Sym}, {"<=", Sym}, {"<", Sym}}));
  EXPECT_EQ(Scan(">=>>"), (Toks{{">=", Sym}, {">", Sym}, {">", Sym}}));
  EXPECT_EQ(Scan("&()*+,-./:;=^{}"), (Toks{{"&", Sym}, {"(", Sym}, {")", Sym}, {"*", Sym},
                                           {"+", Sym}, {",", Sym}, {"-", Sym}, {".", Sym},
                                           {"/", Sym}, {":", Sym}, {";", Sym}, {"=", Sym},
                                           {"^", Sym}, {"{", Sym}, {"}", Sym}}));
}

TEST_F(VBScriptHighlighter, TakesOtherCharactersAsIdentifiersOneByOne) {
  EXPECT_EQ(Scan("!$\xE4"), (Toks{{"!", Ident}, {"$", Ident}, {"\xE4", Ident}}));
  h.SetLeadByteTest([](unsigned char B) { return B == 0x81; });
  EXPECT_EQ(Scan("\x81\x40x\x81"), (Toks{{"\x81\x40", Ident}, {"x", Ident}, {"\x81", Ident}}));
}

TEST_F(VBScriptHighlighter, SeparatesBlanksFromLineBreaksInsideTheLine) {
  EXPECT_EQ(Scan("a \t\r\nb\n"), (Toks{{"a", Ident}, {" \t", Space}, {"\r\n", Space},
                                        {"b", Ident}, {"\n", Space}}));
  EXPECT_EQ(Scan("'a\rb"), (Toks{{"'a", Comment}, {"\r", Space}, {"b", Ident}}));
}

TEST_F(VBScriptHighlighter, StartsWithItsOwnAttributesAndDefaults) {
  EXPECT_EQ(testsupport::AttributeNames(h),
            (std::vector<std::string>{"Comment", "Identifier", "Number", "Reserved Word",
                                      "Space", "String", "Symbol"}));
  EXPECT_EQ(h.CommentAttri()->Style(), TFontStyles{TFontStyle::fsItalic});
  EXPECT_EQ(h.KeyAttri()->Style(), TFontStyles{TFontStyle::fsBold});
  const TCodeHighlighterAttributes* roles[] = {h.CommentAttri(), h.IdentifierAttri(),
                                               h.KeyAttri(),     h.StringAttri(),
                                               h.SpaceAttri(),   h.SymbolAttri()};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(h.GetDefaultAttribute(i), roles[i]) << i;
  EXPECT_EQ(h.GetDefaultAttribute(6), nullptr);
  EXPECT_EQ(h.LanguageName(), "MS VBScript");
  EXPECT_EQ(h.DefaultFilter(), "VBScript Files (*.vbs)|*.vbs");
  EXPECT_TRUE(h.GetIdentifierChars()[0xE4]);
  EXPECT_EQ(h.GetIdentifierChars().count(), 148u);
  ApplyMainWindowColors(h);
  EXPECT_EQ(h.StringAttri()->Foreground(), clTeal);
  EXPECT_TRUE(h.KeyAttri()->Style().Empty());
}

TEST_F(VBScriptHighlighter, MeetsTheHighlighterContract) {
  std::vector<std::string> sample = testsupport::SplitLines(h.GetSampleText());
  EXPECT_TRUE(testsupport::MeetsHighlighterContract(h, sample));
  EXPECT_TRUE(std::any_of(sample.begin(), sample.end(),
                          [](const std::string& l) { return l.rfind("'", 0) == 0; }));
  EXPECT_TRUE(testsupport::MeetsHighlighterContract(
      h, {"Dim s : s = \"open", "", "x = #1/1/2000# ' c", "\t<> 1.5e3"}));
}

}  // namespace
