// Matching: anchors and line breaks, groups and back-references, repetition, the search
// loop (ExecPos, ExecNext) and the case-insensitive start optimisations.
#include <gtest/gtest.h>
#include "foundation/Regex.h"
#include "RegexTestSupport.h"

using regextest::FirstMatch;
using regextest::MatchText;
using regextest::ExpectFirstMatches;
using regextest::ExpectMatchTexts;

TEST(RegexAnchors, SearchInstanceMatchesAtLineBreaks) {
  const std::string subject = "a\r\nb";
  ExpectFirstMatches({
      {"^b", subject, "4,1"},
      {"a$", subject, "1,1"},
      {"^a", subject, "1,1"},
      {"b$", subject, "4,1"},
  });
}

TEST(RegexAnchors, CodeInstanceMatchesOnlyAtTheEndsOfTheSubject) {
  const std::string subject = "a\r\nb";
  ExpectFirstMatches({
      {"^b", subject, "none"},
      {"a$", subject, "none"},
      {"^a", subject, "1,1"},
      {"b$", subject, "4,1"},
  }, CodeRegexDefaultModifiers);
}

TEST(RegexAnchors, NoLineBoundaryInsideCrLf) {
  // "$" before the CR of a pair and "^" after its LF, never between the two.
  ExpectFirstMatches({
      {"$\\n", "a\r\nb", "none"},
      {"\\r^", "a\r\nb", "none"},
      {"$\\r\\n^", "a\r\nb", "2,2"},
  });
  // Lone separators are line breaks of their own.
  ExpectFirstMatches({
      {"^b", "a\nb", "3,1"},
      {"^b", "a\rb", "3,1"},
      {"a$", "a\n\rb", "1,1"},
      {"^$", "a\n\rb", "3,0"},
  });
}

TEST(RegexAnchors, InputAnchorsIgnoreMultiLine) {
  ExpectFirstMatches({
      {"\\Ab", "a\r\nb", "none"},
      {"a\\Z", "a\r\nb", "none"},
      {"b\\Z", "a\r\nb", "4,1"},
  });
}

TEST(RegexAnchors, LineStartIsTheSubjectStartNotTheOffset) {
  TRegex re;
  re.SetExpression("^b");
  re.SetInputString("abc");
  EXPECT_FALSE(re.ExecPos(2));
}

TEST(RegexAnchors, DotWithoutSKeepsToTheLine) {
  TRegex re;
  re.SetModifier(3, false);
  re.SetExpression("a.+");
  ASSERT_TRUE(re.Exec("ab\r\nc"));
  EXPECT_EQ(re.GetMatch(0), "ab");
  ASSERT_TRUE(re.Exec("ab\rc"));
  EXPECT_EQ(re.GetMatch(0), "ab");
}

TEST(RegexAnchors, WordBoundaries) {
  ExpectFirstMatches({
      {"\\bfoo\\b", "a foo.", "3,3"},
      {"\\bfoo\\b", "afoo", "none"},
      {"\\Boo", "foo", "2,2"},
      {"\\b", "", "none"},
      {"o\\b", "foo", "3,1"},
  });
}

TEST(RegexAnchors, PairedSeparatorCanBeRemoved) {
  TRegex re;
  re.SetLinePairedSeparator("");
  re.SetExpression("^\\n");
  ASSERT_TRUE(re.Exec("a\r\nb"));  // CR alone now ends a line
  EXPECT_EQ(re.GetMatchPos(0), 3);
}

TEST(RegexAnchors, PairedSeparatorAloneMakesLineBreaks) {
  TRegex re;
  re.SetLineSeparators("");
  re.SetExpression("^b");
  ASSERT_TRUE(re.Exec("a\r\nb"));
  EXPECT_EQ(re.GetMatchPos(0), 4);
  EXPECT_FALSE(re.Exec("a\nb"));  // a lone LF is no separator now
  re.SetExpression("a$");
  EXPECT_TRUE(re.Exec("a\r\nb"));
  EXPECT_FALSE(re.Exec("a\rb"));
}

TEST(RegexGroups, PositionsOfNestedGroups) {
  TRegex re;
  re.SetExpression("((a)(b(c)))d");
  ASSERT_TRUE(re.Exec("xabcd"));
  EXPECT_EQ(re.GetMatch(1), "abc");
  EXPECT_EQ(re.GetMatch(2), "a");
  EXPECT_EQ(re.GetMatch(3), "bc");
  EXPECT_EQ(re.GetMatchPos(4), 4);
  EXPECT_EQ(re.GetMatchLen(4), 1);
}

TEST(RegexGroups, UnmatchedGroupIsUnset) {
  TRegex re;
  re.SetExpression("(a)|b");
  ASSERT_TRUE(re.Exec("b"));
  EXPECT_EQ(re.GetMatchPos(1), -1);
  EXPECT_EQ(re.GetMatchLen(1), -1);
  EXPECT_EQ(re.GetMatch(1), "");
  EXPECT_EQ(re.GetMatchPos(15), -1);
  EXPECT_EQ(re.GetMatchPos(-1), -1);
}

TEST(RegexGroups, FourteenGroupsAreAllowed) {
  std::string pattern;
  for (int i = 0; i < 14; ++i) pattern += "(.)";
  TRegex re;
  re.SetExpression(pattern);
  ASSERT_TRUE(re.Exec("abcdefghijklmn"));
  EXPECT_EQ(re.GetMatch(14), "n");
}

TEST(RegexGroups, FailedAlternativeRestoresGroups) {
  TRegex re;
  re.SetExpression("(a)(x)|(a)b");
  ASSERT_TRUE(re.Exec("ab"));
  EXPECT_EQ(re.GetMatchPos(1), -1);
  EXPECT_EQ(re.GetMatchPos(2), -1);
  EXPECT_EQ(re.GetMatch(3), "a");
}

TEST(RegexGroups, GroupInLoopKeepsTheLastPass) {
  EXPECT_EQ(MatchText("(a|b)+", "abba", 1), "a");
  EXPECT_EQ(MatchText("(\\d)*x", "123x", 1), "3");
}

TEST(RegexBackReferences, RepeatTheGroupsText) {
  EXPECT_EQ(MatchText("(a+)b\\1", "aaabaa"), "aabaa");
  EXPECT_EQ(FirstMatch("(ab)\\1", "abAB"), "none");
  EXPECT_EQ(MatchText("(?i)(ab)\\1", "abAB"), "abAB");
  EXPECT_EQ(FirstMatch("(a)|\\1", "b"), "none");  // an unset group matches nothing
}

TEST(RegexBackReferences, LoopsOverEmptyBackReferencesStop) {
  ExpectFirstMatches({
      {"()(\\1)*b", "b", "1,1"},
      {"(a*)(\\1)+b", "b", "1,1"},
      {"(a*)(\\1){2,}b", "b", "1,1"},
      {"(a*)(\\1)*?b", "xb", "2,1"},
  });
  EXPECT_EQ(MatchText("(a)(x|\\1)*", "aaaxa"), "aaaxa");
}

TEST(RegexRepetition, GreedyTakesMostLazyTakesLeast) {
  ExpectMatchTexts({
      {"a.*b", "aXbXb", "aXbXb"},
      {"a.*?b", "aXbXb", "aXb"},
      {"a+?", "aaa", "a"},
      {"a??b", "ab", "ab"},
      {"a{2,3}?", "aaaa", "aa"},
      {"a{2,3}", "aaaa", "aaa"},
      {"a?b", "aab", "ab"},
  });
}

TEST(RegexRepetition, ComplexOperands) {
  ExpectMatchTexts({
      {"(ab)*c", "ababc", "ababc"},
      {"(ab)+?", "abab", "ab"},
      {"(ab)*?c", "ababc", "ababc"},
      {"(ab){2}", "abababab", "abab"},
      {"(ab){2,}", "ababab", "ababab"},
      {"(ab){1,2}?", "abab", "ab"},
      {"(a|bc)?d", "bcd", "bcd"},
      {"(a|bc)??d", "ad", "ad"},
      {"((ab){2}c){2}", "ababcababc", "ababcababc"},
  });
}

TEST(RegexRepetition, ModifierGOffMakesEveryQuantifierLazy) {
  TRegex re;
  re.SetModifier(4, false);
  re.SetExpression("a.*b");
  ASSERT_TRUE(re.Exec("aXbXb"));
  EXPECT_EQ(re.GetMatch(0), "aXb");
}

TEST(RegexRepetition, BacktrackingIntoRepetitionsFindsTheMatch) {
  ExpectMatchTexts({
      {"a*ab", "aaab", "aaab"},
      {"\\d+5", "12345", "12345"},
      {"(a|ab)(c|bcd)(d*)", "abcd", "abcd"},
      {"x*", "ab", ""},
  });
}

TEST(RegexCaseInsensitive, StartOptimisationsIgnoreCase) {
  TRegexModifiers ci = RegexDefaultModifiers | rmI;
  ExpectFirstMatches({
      {"a*B", "aab", "1,3"},
      {"Abc", "xaBC", "2,3"},
      {"x*ABC", "zzabc", "3,3"},
      {"[b]c+D", "BCd", "1,3"},
      {"\xe4\x62", "\xc4\x42", "1,2"},  // the locale's umlaut
  }, ci);
}

TEST(RegexSearch, ExecNextAdvancesPastEmptyMatches) {
  TRegex re;
  re.SetExpression("x*");
  ASSERT_TRUE(re.Exec("ab"));
  std::string positions = std::to_string(re.GetMatchPos(0));
  while (re.ExecNext()) positions += " " + std::to_string(re.GetMatchPos(0));
  EXPECT_EQ(positions, "1 2 3");
}

TEST(RegexSearch, ExecNextContinuesAfterTheMatch) {
  TRegex re;
  re.SetExpression("a+");
  ASSERT_TRUE(re.Exec("aabaaab"));
  EXPECT_EQ(re.GetMatchLen(0), 2);
  ASSERT_TRUE(re.ExecNext());
  EXPECT_EQ(re.GetMatchPos(0), 4);
  EXPECT_FALSE(re.ExecNext());
}

TEST(RegexSearch, ExecPosBounds) {
  TRegex re;
  re.SetExpression("x*");
  re.SetInputString("ab");
  EXPECT_TRUE(re.ExecPos(3));
  EXPECT_EQ(re.GetMatchPos(0), 3);
  EXPECT_FALSE(re.ExecPos(4));
  EXPECT_THROW(re.ExecPos(0), ERegex);
}

TEST(RegexSearch, FailedSearchClearsTheMatch) {
  TRegex re;
  re.SetExpression("b");
  ASSERT_TRUE(re.Exec("ab"));
  EXPECT_FALSE(re.Exec("cc"));
  EXPECT_EQ(re.GetMatchPos(0), -1);
}

TEST(RegexSearch, RequiredLiteralFromTheOffsetOn) {
  TRegex re;
  re.SetExpression("a*bc");
  re.SetInputString("bc aa");
  EXPECT_FALSE(re.ExecPos(2));
  EXPECT_TRUE(re.ExecPos(1));
}

TEST(RegexSearch, TriesAfterAFailedRunOfTheLeadingRepetitionStillFindMatches) {
  EXPECT_EQ(FirstMatch("a+b", "aaac aab"), "6,3");
  EXPECT_EQ(FirstMatch("[a-z]+ing\\b", "singer xinging"), "8,7");
  EXPECT_EQ(FirstMatch("(\\w+)@x", "ab cd@y ef@x", RegexDefaultModifiers, 1), "9,2");
  EXPECT_EQ(FirstMatch("a*?b", "aac ab"), "5,2");
  // with a back-reference a shorter run can match where the longer one failed
  EXPECT_EQ(FirstMatch("(a+)b\\1", "aaaba"), "3,3");
}

TEST(RegexSearch, ExecRegexInOneCall) {
  EXPECT_TRUE(ExecRegex("b+", "abbc"));
  EXPECT_FALSE(ExecRegex("d", "abc"));
  EXPECT_THROW(ExecRegex("(", "abc"), ERegex);
}

TEST(RegexSearch, ExpressionChangeDiscardsTheProgram) {
  TRegex re;
  re.SetExpression("a");
  EXPECT_TRUE(re.Exec("a"));
  re.SetExpression("b");
  EXPECT_FALSE(re.Exec("a"));
}
