// Substitution templates and replacing all matches.
#include <gtest/gtest.h>
#include "foundation/Regex.h"

namespace {
std::string Expand(const std::string& Pattern, const std::string& Subject,
                   const std::string& Template) {
  TRegex re;
  re.SetExpression(Pattern);
  EXPECT_TRUE(re.Exec(Subject));
  return re.Substitute(Template);
}
}  // namespace

TEST(RegexSubstitute, GroupReferences) {
  EXPECT_EQ(Expand("(a)b", "ab", "$1-$0"), "a-ab");
  EXPECT_EQ(Expand("(a)b", "ab", "[$&]"), "[ab]");
  EXPECT_EQ(Expand("(a)b", "ab", "${1}1${&}"), "a1ab");
  EXPECT_EQ(Expand("(a)(b)", "ab", "$2$1"), "ba");
}

TEST(RegexSubstitute, DigitsAfterDollarAreReadAsOneNumber) {
  std::string pattern;
  for (int i = 0; i < 12; ++i) pattern += "(.)";
  EXPECT_EQ(Expand(pattern, "abcdefghijkl", "$12|$1x"), "l|ax");
  EXPECT_EQ(Expand("(a)", "a", "<$15>"), "<>");
  EXPECT_EQ(Expand("(a)", "a", "<$99999999999999999999>"), "<>");
}

TEST(RegexSubstitute, UnsetOrMissingGroupsGiveNothing) {
  EXPECT_EQ(Expand("(a)|(b)", "b", "[$1|$2]"), "[|b]");
  EXPECT_EQ(Expand("a", "a", "[$3]"), "[]");
}

TEST(RegexSubstitute, OtherTextIsCopied) {
  EXPECT_EQ(Expand("(a)", "a", "\\$1"), "$1");
  EXPECT_EQ(Expand("(a)", "a", "$x $"), "$x $");
  EXPECT_EQ(Expand("(a)", "a", "${1"), "${1");
  EXPECT_EQ(Expand("(a)", "a", "${x}"), "${x}");
  EXPECT_EQ(Expand("(a)", "a", "a\\\\b\\"), "a\\b\\");
  EXPECT_EQ(Expand("(a)", "a", "\\n"), "n");
  EXPECT_EQ(Expand("(a)", "a", ""), "");
}

TEST(RegexReplace, EveryMatchIsReplaced) {
  TRegex re;
  re.SetExpression("a");
  EXPECT_EQ(re.Replace("banana", "", false), "bnn");
  re.SetExpression("x*");
  EXPECT_EQ(re.Replace("ab", "-", false), "-a-b-");
  re.SetExpression("(\\w+)@(\\w+)");
  EXPECT_EQ(re.Replace("a@b, c@d", "$2@$1", true), "b@a, d@c");
  EXPECT_EQ(re.Replace("a@b", "$2@$1", false), "$2@$1");
  re.SetExpression("z");
  EXPECT_EQ(re.Replace("abc", "-", false), "abc");
}

TEST(RegexReplace, ReplaceRegexInOneCall) {
  EXPECT_EQ(ReplaceRegex("^(\\w)", "ab\r\ncd", "[$1]", true), "[a]b\r\n[c]d");
  EXPECT_EQ(ReplaceRegex("o", std::string("o\0o", 3), "0", false), std::string("0\0" "0", 3));
  EXPECT_THROW(ReplaceRegex("[", "a", "", false), ERegex);
}
