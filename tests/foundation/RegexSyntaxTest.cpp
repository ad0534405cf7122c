// Pattern syntax: literals and escapes, classes and ranges, quantifier forms, inline modifiers.
#include <gtest/gtest.h>
#include "foundation/Regex.h"
#include "foundation/RegexLocale.h"
#include "foundation/RegexLocaleWin32.h"
#include "RegexTestSupport.h"

using regextest::FirstMatch;
using regextest::MatchText;

namespace {
// The program installs the system's case mapping at start; so do the tests.
class RegexLocaleEnvironment : public testing::Environment {
  void SetUp() override { InstallWin32RegexLocale(); }
};
const auto* const regexLocale = testing::AddGlobalTestEnvironment(new RegexLocaleEnvironment);
}  // namespace

TEST(RegexLiterals, RunsOfOrdinaryCharactersMatchThemselves) {
  EXPECT_EQ(FirstMatch("bc", "abcd"), "2,2");
  EXPECT_EQ(FirstMatch("a]b}c", "xa]b}c"), "2,5");
  EXPECT_EQ(FirstMatch("abd", "abcd"), "none");
}

TEST(RegexLiterals, QuantifierAfterARunTakesOnlyItsLastCharacter) {
  EXPECT_EQ(MatchText("abc*", "abccc"), "abccc");
  EXPECT_EQ(MatchText("abc+d", "abd abcd"), "abcd");
}

TEST(RegexLiterals, BracesThatAreNoQuantifierAreLiteralText) {
  EXPECT_EQ(MatchText("a{", "xa{"), "a{");
  EXPECT_EQ(MatchText("a{x}", "a{x}"), "a{x}");
  EXPECT_EQ(MatchText("x{1,2,3}", "xx x{1,2,3}"), "x{1,2,3}");
  EXPECT_EQ(MatchText("a{,2}", "a{,2}"), "a{,2}");
  EXPECT_EQ(MatchText("a{2}", "aaa"), "aa");
  EXPECT_EQ(MatchText("a{2,}", "aaaa"), "aaaa");
  EXPECT_EQ(MatchText("a{1,3}", "aaaa"), "aaa");
}

TEST(RegexLiterals, CharacterEscapes) {
  EXPECT_EQ(MatchText("\\t\\n\\r\\f\\a\\e", "x\t\n\r\f\a\x1b"), "\t\n\r\f\a\x1b");
  EXPECT_EQ(MatchText("\\x41\\x{42}\\x{}", std::string("AB\0", 3)), std::string("AB\0", 3));
  EXPECT_EQ(MatchText("\\.\\*\\(", "a.*("), ".*(");
  EXPECT_EQ(MatchText("\\q", "q"), "q");
}

TEST(RegexLiterals, ZeroBytesInPatternAndSubjectAreOrdinary) {
  const std::string subject("ab\0cd", 5);
  EXPECT_EQ(FirstMatch("cd", subject), "4,2");
  EXPECT_EQ(FirstMatch(std::string("b\0c", 3), subject), "2,3");
  EXPECT_EQ(FirstMatch("b.c", subject), "2,3");
  EXPECT_EQ(FirstMatch("d$", subject), "5,1");
}

TEST(RegexLiterals, ShorthandClasses) {
  EXPECT_EQ(MatchText("\\d+", "ab123c"), "123");
  EXPECT_EQ(MatchText("\\D+", "12ab3"), "ab");
  EXPECT_EQ(MatchText("\\w+", "  foo_1 "), "foo_1");
  EXPECT_EQ(MatchText("\\W+", "ab, c"), ", ");
  EXPECT_EQ(MatchText("\\s+", "a \t\r\n\fb"), " \t\r\n\f");
  EXPECT_EQ(MatchText("\\S+", "  ab "), "ab");
}

TEST(RegexLiterals, WordCharactersCanBeChanged) {
  TRegex re;
  re.SetWordChars("ab");
  re.SetExpression("\\w+");
  ASSERT_TRUE(re.Exec("xxabcab"));
  EXPECT_EQ(re.GetMatch(0), "ab");
}

TEST(RegexClasses, MembersRangesAndNegation) {
  EXPECT_EQ(MatchText("[abc]+", "xxbcaz"), "bca");
  EXPECT_EQ(MatchText("[a-cx-z]+", "qqbzyq"), "bzy");
  EXPECT_EQ(MatchText("[^a-c]+", "abcdefa"), "def");
  EXPECT_EQ(MatchText("[^ab]", "ab\n"), "\n");
  EXPECT_EQ(MatchText("[a-fA-F0-9]+", "xx09afAFg"), "09afAF");
}

TEST(RegexClasses, ClosingBracketFirstAndDashLastAreMembers) {
  EXPECT_EQ(MatchText("[]a]+", "x]a]b"), "]a]");
  EXPECT_EQ(MatchText("[a-]+", "xa-ab"), "a-a");
  EXPECT_EQ(MatchText("[^]]+", "]]ab]"), "ab");
}

TEST(RegexClasses, RangeEndingInClassEscapeIsNoRange) {
  EXPECT_EQ(MatchText("[a-\\d]+", "xa-19b"), "a-19");
  EXPECT_EQ(FirstMatch("[a-\\d]", "b"), "none");
}

TEST(RegexClasses, EscapesInsideClasses) {
  EXPECT_EQ(MatchText("[\\d\\s]+", "ab1 2\tc"), "1 2\t");
  EXPECT_EQ(MatchText("[\\w]+", "..ab_9.."), "ab_9");
  EXPECT_EQ(MatchText("[\\]\\\\]+", "a]\\]b"), "]\\]");
  EXPECT_EQ(MatchText("[\\x41-\\x43]+", "xABCD"), "ABC");
  EXPECT_EQ(MatchText("[\\n\\r]+", "a\r\nb"), "\r\n");
}

TEST(RegexClasses, LargeAndTinySetsAgree) {
  EXPECT_EQ(MatchText("[abcd]+", "xdcbax"), "dcba");
  EXPECT_EQ(MatchText("[^abcd]+", "dcxyba"), "xy");
  EXPECT_EQ(MatchText("[aa]+", "baab"), "aa");
}

TEST(RegexClasses, CyrillicRangeExtensionWithModifierR) {
  const std::string smallYo = "\xb8", capitalYo = "\xa8";
  EXPECT_EQ(FirstMatch("[\xe0-\xff]", smallYo), "1,1");
  EXPECT_EQ(FirstMatch("[\xc0-\xdf]", capitalYo), "1,1");
  EXPECT_EQ(FirstMatch("[\xe0-\xdf]+", "x\xc0\xff\xa8\xb8"), "2,4");
  TRegex plain;
  plain.SetModifier(2, false);
  plain.SetExpression("[\xe0-\xff]");
  EXPECT_FALSE(plain.Exec(smallYo));
  plain.SetExpression("[\xe0-\xdf]");
  EXPECT_THROW(plain.Exec("a"), ERegex);
}

TEST(RegexClasses, CaseInsensitiveClassesHoldBothCases) {
  EXPECT_EQ(MatchText("(?i)[a-c]+", "xAbCd"), "AbC");
  EXPECT_EQ(MatchText("(?i)[^a]+", "aAbB"), "bB");
  EXPECT_EQ(MatchText("(?i)[\xe4]+", "x\xc4\xe4"), "\xc4\xe4");  // a-umlaut, both cases
}

TEST(RegexCaseMapping, ComesFromTheInstalledLocale) {
  SetRegexCaseMapping(nullptr, nullptr);  // ASCII only
  EXPECT_EQ(FirstMatch("(?i)\xe4", "\xc4"), "none");
  EXPECT_EQ(FirstMatch("(?i)a", "A"), "1,1");
  InstallWin32RegexLocale();
  EXPECT_EQ(FirstMatch("(?i)\xe4", "\xc4"), "1,1");
}

TEST(RegexInlineModifiers, ApplyFromTheirPlaceToTheEndOfTheGroup) {
  EXPECT_EQ(MatchText("(?i)abc", "xABC"), "ABC");
  EXPECT_EQ(FirstMatch("(a(?i)b)c", "aBc"), "1,3");
  EXPECT_EQ(FirstMatch("(a(?i)b)c", "aBC"), "none");
  EXPECT_EQ(FirstMatch("(?i)a(?-i)b", "Ab"), "1,2");
  EXPECT_EQ(FirstMatch("(?i)a(?-i)b", "AB"), "none");
}

TEST(RegexInlineModifiers, GreedinessDotAndMultiLine) {
  EXPECT_EQ(MatchText("(?-g)a+", "aaa"), "a");
  EXPECT_EQ(MatchText("(?-s)a.*", "ab\r\nc"), "ab");
  EXPECT_EQ(MatchText("a.*", "ab\r\nc"), "ab\r\nc");
  EXPECT_EQ(FirstMatch("(?-m)^b", "a\r\nb"), "none");
  EXPECT_EQ(FirstMatch("(?m)^b", "a\r\nb", CodeRegexDefaultModifiers), "4,1");
}

TEST(RegexInlineModifiers, ExtendedSyntaxSkipsBlanksAndComments) {
  EXPECT_EQ(MatchText("(?x) a b  # comment\r\n c", "abc"), "abc");
  EXPECT_EQ(MatchText("(?x)a\\ b", "a b"), "a b");
  EXPECT_EQ(MatchText("(?x)[ ]", "a b"), " ");
}

TEST(RegexInlineModifiers, CommentsAreIgnored) {
  EXPECT_EQ(MatchText("a(?#note)b", "ab"), "ab");
}

TEST(RegexModifiers, ParseModifiersSwitchesLettersOnAndOffAfterDash) {
  TRegexModifiers m = rmS;
  EXPECT_TRUE(TRegex::ParseModifiers("iX-s", m));
  EXPECT_EQ(m, TRegexModifiers(rmI | rmX));
  EXPECT_FALSE(TRegex::ParseModifiers("iq", m));
  EXPECT_EQ(m, TRegexModifiers(rmI | rmX));
}

TEST(RegexModifiers, InstancesDifferOnlyInMultiLine) {
  TRegex search, code(CodeRegexDefaultModifiers);
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(search.GetModifier(i), code.GetModifier(i)) << i;
  EXPECT_TRUE(search.GetModifier(5));
  EXPECT_FALSE(code.GetModifier(5));
  EXPECT_FALSE(search.GetModifier(1));
  EXPECT_FALSE(search.GetModifier(6));
}

TEST(RegexModifiers, ChangingAModifierRecompiles) {
  TRegex re;
  re.SetExpression("abc");
  EXPECT_FALSE(re.Exec("ABC"));
  re.SetModifier(1, true);
  EXPECT_TRUE(re.Exec("ABC"));
}
