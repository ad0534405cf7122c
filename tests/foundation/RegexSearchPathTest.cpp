// The ways a search finds its candidates and counts repetitions: jumps to a literal every
// match contains, scans to a refused character, the paired separator inside a repetition of
// ".", and searching a caller's text without copying it. Each case lists every match.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "foundation/Regex.h"

namespace {

// Every match as "pos,len" (1-based) joined by ";", from Offset on; "none" when there is none.
std::string AllMatches(TRegex& Re, int Offset = 1) {
  std::string out;
  for (bool found = Re.ExecPos(Offset); found; found = Re.ExecNext())
    out += (out.empty() ? "" : ";") + std::to_string(Re.GetMatchPos(0)) + "," +
           std::to_string(Re.GetMatchLen(0));
  return out.empty() ? "none" : out;
}

struct TSearchCase {
  std::string Pattern, Subject, Expected;
  int Offset = 1;
};

void ExpectAllMatches(const std::vector<TSearchCase>& Cases, TRegex& Re) {
  for (const TSearchCase& c : Cases) {
    SCOPED_TRACE("pattern '" + c.Pattern + "' in '" + c.Subject + "' from " +
                 std::to_string(c.Offset));
    Re.SetExpression(c.Pattern);
    Re.SetInputString(c.Subject);
    EXPECT_EQ(AllMatches(Re, c.Offset), c.Expected);
  }
}

}  // namespace

TEST(RegexSearchPaths, LiteralsAreFoundAtEveryPlaceUpToTheLastByte) {
  TRegex re;
  ExpectAllMatches(
      {
          {"abc", "xxabc", "3,3"},
          {"abc", "ab", "none"},
          {"abc", "abc", "1,3"},
          {"abc", "abcabc", "4,3", 2},
          {"abc", "abcab", "none", 2},
          {"aba", "abababa", "1,3;5,3"},
          {"aab", "aaab aab", "2,3;6,3"},
          {"abcb", "abcabcb", "4,4"},
          {"bb", "bbb", "1,2"},
          {"(?i)aB", "xAb ab AB", "2,2;5,2;8,2"},
          {"(?i)bB", "bB Bb", "1,2;4,2"},
          {"(?i)q", "xQq", "2,1;3,1"},
          {"q", "xQq", "3,1"},
          {"\\x00b", std::string("a\0b\0b", 5), "2,2;4,2"},
      },
      re);
}

TEST(RegexSearchPaths, JumpsToTheFirstLiteralWithoutMissingAnEarlierStart) {
  TRegex re;
  ExpectAllMatches(
      {
          {"\\w+\\s+street", "a street x Baker  street", "1,8;12,13"},
          {"[a-z]+ing", "singing ring", "1,7;9,4"},
          {"\\d+-\\d+", "1-2-3 45-6", "1,3;7,4"},
          {"a+b", "aaxaab", "4,3"},
          {"a*aab", "aaaab aab", "1,5;7,3"},
          {"x*abc", "abc", "1,3"},
          {"\\b\\w+@", "x a@b c@", "3,2;7,2"},
          {"[0-9]{2}:", "1:23:45:", "3,3;6,3"},
          {"(\\w+)@(\\w+)\\.com", "me@home.org us@web.com", "13,10"},
          {"(?i)\\w+HOLMES", "sherlockHolmes, mr holmes, XHOLMES", "1,14;28,7"},
          {"\\d+-x", "a-x 1-y 2-x", "9,3"},
          // the anchor's run begins before the offset: the search starts at the offset
          {"[a-z]+ing", "thinking", "3,6", 3},
          {"[a-z]+ing", "thinking", "none", 7},
          // a word character as the anchor is not looked for first; the result is the same
          {"[A-Z][a-z]+ [A-Z]", "Mr Holmes and Dr Watson", "1,4;15,4"},
      },
      re);
}

TEST(RegexSearchPaths, RepetitionsScanToTheirEndAndGiveBackOnlyWhereTheRestFits) {
  TRegex re;
  ExpectAllMatches(
      {
          {"\"[^\"]*\"", "say \"hi\" and \"\" end \"open", "5,4;14,2"},
          {"a[^x]*", "abc", "1,3"},
          {"a[^x]*", "abxab", "1,2;4,2"},
          {"[^x]{2,3}", "abcdx", "1,3"},
          {"[^x]*?y", "abyxy", "1,3;5,1"},
          {"(\\w+)@", "ab@c", "1,3"},
          {"a*b?", "aaa", "1,3;4,0"},
          {"(?-s)a.*?z", "a z az\r\naz", "1,3;5,2;9,2"},
          {"(?-s)a.*z", "azaz\r\naz", "1,4;7,2"},
          {"\\w+\\s+street", "Baker\r\nstreet", "1,13"},
          {"(?-g)\\d+5", "12345", "1,5"},
          // a failed try rules out the tries that start within its repetition's run
          {"ab*c", "abbbabbc", "5,4"},
          {"xa+y", "xaaxay", "4,3"},
          {"a[a-z]*z", "aaaa aaz", "6,3"},
          {"(a)(b*)c", "abab abbc", "6,4"},
          {"[a-z]*q", "abc q", "5,1"},
          {"(?i)Q\\w*?x", "qqq Qqx", "5,3"},
      },
      re);
}

TEST(RegexSearchPaths, DotInARepetitionStopsOnlyBeforeACompletePairedSeparator) {
  // CR alone is no line separator here: "." takes it unless LF follows
  TRegex re;
  re.SetLineSeparators("\n");
  ExpectAllMatches(
      {
          {"(?-s)a.*", "ab\rc\r\nd", "1,4"},
          {"(?-s)a.*", "ab\r", "1,3"},
          {"(?-s)a.*?d", "ab\rd\r\nad", "1,4;7,2"},
          {"(?-s)a.{2,}", "ab\r\n", "none"},
      },
      re);
}

TEST(RegexSubjectView, SearchesTheCallersTextAndCopiesItOnlyWhenAsked) {
  std::string text = "one two three";
  TRegex re;
  re.SetExpression("t\\w+");
  ASSERT_TRUE(re.ExecView(text));
  EXPECT_EQ(re.GetMatch(0), "two");
  ASSERT_TRUE(re.ExecNext());
  EXPECT_EQ(re.GetMatch(0), "three");
  EXPECT_EQ(re.Substitute("[$0]"), "[three]");
  // InputString answers with an own copy; from then on the caller's text is free
  EXPECT_EQ(re.InputString(), "one two three");
  text.assign("changed entirely");
  EXPECT_EQ(re.GetMatch(0), "three");
  EXPECT_EQ(AllMatches(re), "5,3;9,5");
  EXPECT_EQ(re.InputString(), "one two three");
}

TEST(RegexSubjectView, ViewsOfItsOwnCopyAndEmptyTextsAreSubjectsLikeAnyOther) {
  TRegex re;
  EXPECT_THROW(re.InputString(), ERegex);
  re.SetExpression("ab.");
  re.SetInputString("abc abd");
  re.SetInputView(std::string_view(re.InputString()).substr(4));
  EXPECT_EQ(re.InputString(), "abd");
  EXPECT_EQ(AllMatches(re), "1,3");
  re.SetInputView(re.InputString());
  EXPECT_EQ(re.InputString(), "abd");
  EXPECT_FALSE(re.ExecView(std::string_view()));
  EXPECT_EQ(re.InputString(), "");
  EXPECT_EQ(re.GetMatchPos(0), -1);
  // a copied subject replaces a viewed one
  ASSERT_TRUE(re.Exec("xabz"));
  EXPECT_EQ(re.InputString(), "xabz");
  EXPECT_TRUE(ExecRegex("b+c", "abbbc"));
  EXPECT_FALSE(ExecRegex("b+c", "abbb"));
}
