// Pattern syntax: literals and escapes, classes and ranges, quantifier forms, inline modifiers.
#include <gtest/gtest.h>
#include "foundation/Regex.h"
#include "foundation/RegexLocale.h"
#include "foundation/RegexLocaleWin32.h"
#include "RegexTestSupport.h"

using regextest::FirstMatch;
using regextest::MatchText;
using regextest::ExpectFirstMatches;
using regextest::ExpectMatchTexts;

namespace {
// The program installs the system's case mapping at start; so do the tests.
class RegexLocaleEnvironment : public testing::Environment {
  void SetUp() override { InstallWin32RegexLocale(); }
};
const auto* const regexLocale = testing::AddGlobalTestEnvironment(new RegexLocaleEnvironment);
}  // namespace

TEST(RegexLiterals, RunsOfOrdinaryCharactersMatchThemselves) {
  ExpectFirstMatches({
      {"bc", "abcd", "2,2"},
      {"a]b}c", "xa]b}c", "2,5"},
      {"abd", "abcd", "none"},
  });
}

TEST(RegexLiterals, QuantifierAfterARunTakesOnlyItsLastCharacter) {
  EXPECT_EQ(MatchText("abc*", "abccc"), "abccc");
  EXPECT_EQ(MatchText("abc+d", "abd abcd"), "abcd");
}

TEST(RegexLiterals, BracesThatAreNoQuantifierAreLiteralText) {
  ExpectMatchTexts({
      {"a{", "xa{", "a{"},
      {"a{x}", "a{x}", "a{x}"},
      {"x{1,2,3}", "xx x{1,2,3}", "x{1,2,3}"},
      {"a{,2}", "a{,2}", "a{,2}"},
      {"a{2}", "aaa", "aa"},
      {"a{2,}", "aaaa", "aaaa"},
      {"a{1,3}", "aaaa", "aaa"},
  });
}

TEST(RegexLiterals, CharacterEscapes) {
  ExpectMatchTexts({
      {"\\t\\n\\r\\f\\a\\e", "x\t\n\r\f\a\x1b", "\t\n\r\f\a\x1b"},
      {"\\x41\\x{42}\\x{}", std::string("AB\0", 3), std::string("AB\0", 3)},
      {"\\.\\*\\(", "a.*(", ".*("},
      {"\\q", "q", "q"},
  });
}

TEST(RegexLiterals, ZeroBytesInPatternAndSubjectAreOrdinary) {
  const std::string subject("ab\0cd", 5);
  ExpectFirstMatches({
      {"cd", subject, "4,2"},
      {std::string("b\0c", 3), subject, "2,3"},
      {"b.c", subject, "2,3"},
      {"d$", subject, "5,1"},
  });
}

TEST(RegexLiterals, ShorthandClasses) {
  ExpectMatchTexts({
      {"\\d+", "ab123c", "123"},
      {"\\D+", "12ab3", "ab"},
      {"\\w+", "  foo_1 ", "foo_1"},
      {"\\W+", "ab, c", ", "},
      {"\\s+", "a \t\r\n\fb", " \t\r\n\f"},
      {"\\S+", "  ab ", "ab"},
  });
}

TEST(RegexLiterals, WordCharactersCanBeChanged) {
  TRegex re;
  re.SetWordChars("ab");
  re.SetExpression("\\w+");
  ASSERT_TRUE(re.Exec("xxabcab"));
  EXPECT_EQ(re.GetMatch(0), "ab");
}

TEST(RegexClasses, MembersRangesAndNegation) {
  ExpectMatchTexts({
      {"[abc]+", "xxbcaz", "bca"},
      {"[a-cx-z]+", "qqbzyq", "bzy"},
      {"[^a-c]+", "abcdefa", "def"},
      {"[^ab]", "ab\n", "\n"},
      {"[a-fA-F0-9]+", "xx09afAFg", "09afAF"},
  });
}

TEST(RegexClasses, ClosingBracketFirstAndDashLastAreMembers) {
  ExpectMatchTexts({
      {"[]a]+", "x]a]b", "]a]"},
      {"[a-]+", "xa-ab", "a-a"},
      {"[^]]+", "]]ab]", "ab"},
  });
}

TEST(RegexClasses, RangeEndingInClassEscapeIsNoRange) {
  EXPECT_EQ(MatchText("[a-\\d]+", "xa-19b"), "a-19");
  EXPECT_EQ(FirstMatch("[a-\\d]", "b"), "none");
}

TEST(RegexClasses, EscapesInsideClasses) {
  ExpectMatchTexts({
      {"[\\d\\s]+", "ab1 2\tc", "1 2\t"},
      {"[\\w]+", "..ab_9..", "ab_9"},
      {"[\\]\\\\]+", "a]\\]b", "]\\]"},
      {"[\\x41-\\x43]+", "xABCD", "ABC"},
      {"[\\n\\r]+", "a\r\nb", "\r\n"},
  });
}

TEST(RegexClasses, LargeAndTinySetsAgree) {
  ExpectMatchTexts({
      {"[abcd]+", "xdcbax", "dcba"},
      {"[^abcd]+", "dcxyba", "xy"},
      {"[aa]+", "baab", "aa"},
  });
}

TEST(RegexClasses, CyrillicRangeExtensionWithModifierR) {
  const std::string smallYo = "\xb8", capitalYo = "\xa8";
  ExpectFirstMatches({
      {"[\xe0-\xff]", smallYo, "1,1"},
      {"[\xc0-\xdf]", capitalYo, "1,1"},
      {"[\xe0-\xdf]+", "x\xc0\xff\xa8\xb8", "2,4"},
  });
  TRegex plain;
  plain.SetModifier(2, false);
  plain.SetExpression("[\xe0-\xff]");
  EXPECT_FALSE(plain.Exec(smallYo));
  plain.SetExpression("[\xe0-\xdf]");
  EXPECT_THROW(plain.Exec("a"), ERegex);
}

TEST(RegexClasses, CaseInsensitiveClassesHoldBothCases) {
  ExpectMatchTexts({
      {"(?i)[a-c]+", "xAbCd", "AbC"},
      {"(?i)[^a]+", "aAbB", "bB"},
      {"(?i)[\xe4]+", "x\xc4\xe4", "\xc4\xe4"},  // a-umlaut, both cases
  });
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
  ExpectFirstMatches({
      {"(a(?i)b)c", "aBc", "1,3"},
      {"(a(?i)b)c", "aBC", "none"},
      {"(?i)a(?-i)b", "Ab", "1,2"},
      {"(?i)a(?-i)b", "AB", "none"},
  });
}

TEST(RegexInlineModifiers, GreedinessDotAndMultiLine) {
  ExpectMatchTexts({
      {"(?-g)a+", "aaa", "a"},
      {"(?-s)a.*", "ab\r\nc", "ab"},
      {"a.*", "ab\r\nc", "ab\r\nc"},
  });
  EXPECT_EQ(FirstMatch("(?-m)^b", "a\r\nb"), "none");
  EXPECT_EQ(FirstMatch("(?m)^b", "a\r\nb", CodeRegexDefaultModifiers), "4,1");
}

TEST(RegexInlineModifiers, ExtendedSyntaxSkipsBlanksAndComments) {
  ExpectMatchTexts({
      {"(?x) a b  # comment\r\n c", "abc", "abc"},
      {"(?x)a\\ b", "a b", "a b"},
      {"(?x)[ ]", "a b", " "},
  });
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
