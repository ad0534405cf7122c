// Long subjects: backtracking lives on the heap, so loops over millions of characters
// complete (or report ERegex) instead of overflowing the native stack. Runaway patterns stop
// with an error instead of freezing the program.
#include <gtest/gtest.h>
#include <chrono>
#include <vector>
#include "foundation/Regex.h"

namespace {

std::string Repeat(const std::string& Unit, size_t Size) {
  std::string s;
  s.reserve(Size + Unit.size());
  while (s.size() < Size) s += Unit;
  return s;
}

constexpr size_t TwentyMB = size_t(20) << 20;

// The whole subject matches, or the engine refuses with its backtracking-limit error.
void ExpectWholeMatchOrLimit(const std::string& Pattern, const std::string& Subject) {
  TRegex re;
  re.SetExpression(Pattern);
  try {
    ASSERT_TRUE(re.Exec(Subject)) << Pattern;
    EXPECT_EQ(re.GetMatchPos(0), 1) << Pattern;
    EXPECT_EQ(static_cast<size_t>(re.GetMatchLen(0)), Subject.size()) << Pattern;
  } catch (const ERegex& e) {
    EXPECT_EQ(e.ErrorCode(), RegexBacktrackLimitError) << Pattern;
  }
}

}  // namespace

TEST(RegexLongSubjects, GroupLoopsOverTwentyMegabytes) {
  ExpectWholeMatchOrLimit("(ab)*", Repeat("ab", TwentyMB));
  ExpectWholeMatchOrLimit("(a|b)+", Repeat("ab", TwentyMB));
  ExpectWholeMatchOrLimit("(\\r\\n|.)*", Repeat("abc\r\n", TwentyMB));
}

TEST(RegexLongSubjects, CountedLoopsAndBackReferencesOverMegabytes) {
  ExpectWholeMatchOrLimit("(ab){0,}?$", Repeat("ab", size_t(4) << 20));
  ExpectWholeMatchOrLimit("(a)(\\1)*", std::string(size_t(4) << 20, 'a'));
}

TEST(RegexLongSubjects, SimpleRepetitionsNeedNoBacktrackingMemory) {
  const std::string subject = Repeat("word ", TwentyMB) + "end";
  TRegex re;
  re.SetExpression(".*end");
  ASSERT_TRUE(re.Exec(subject));
  EXPECT_EQ(static_cast<size_t>(re.GetMatchLen(0)), subject.size());
  re.SetExpression("[a-z ]*?end");
  ASSERT_TRUE(re.Exec(subject));
  EXPECT_EQ(static_cast<size_t>(re.GetMatchLen(0)), subject.size());
}

TEST(RegexLongSubjects, SearchWithoutMatchIsLinear) {
  const std::string subject = Repeat("abcdefgh ", TwentyMB);
  const auto started = std::chrono::steady_clock::now();
  for (const char* pattern : {"xyz", "\\bq\\w+", "(foo|bar)+baz", "[0-9]+", "a*q"}) {
    TRegex re;
    re.SetExpression(pattern);
    EXPECT_FALSE(re.Exec(subject)) << pattern;
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  EXPECT_LT(seconds, 20.0);
}

TEST(RegexLongSubjects, BacktrackingBeyondItsMemoryLimitRaisesAndTheObjectRecovers) {
  TRegex re;
  re.SetExpression("(a|b)+");
  try {
    re.Exec(Repeat("ab", size_t(48) << 20));  // a choice and two group records per character
    ADD_FAILURE() << "expected the backtracking limit";
  } catch (const ERegex& e) {
    EXPECT_EQ(e.ErrorCode(), RegexBacktrackLimitError);
    EXPECT_EQ(e.CompilerErrorPos(), 0);
    EXPECT_EQ(e.Message(), "TRegex(exec): Backtrack Stack Exceeded");
  }
  ASSERT_TRUE(re.Exec("xaby"));
  EXPECT_EQ(re.GetMatch(0), "ab");
}

namespace {

struct TRunaway {
  std::string Pattern, Subject;
};

// Exponential or quadratic backtracking that took from seconds to hours without a limit.
std::vector<TRunaway> Runaways() {
  std::string nested = "a";
  for (int i = 0; i < 10; ++i) nested = "(" + nested + "){1,2}";
  return {
      {"(.(|||))*b", "b" + std::string(14, 'x')},
      {"(a+)+b", std::string(31, 'a') + "c b"},
      {nested + "b", std::string(19, 'a') + "c b"},
      {"(.)*z|q", std::string(20000, 'a')},
      {"(.)*z|q", std::string(size_t(1) << 20, 'a')},
      {"(\\w+\\s?)+;", ";" + Repeat("word ", 500)},
  };
}

}  // namespace

TEST(RegexRunaways, StopWithTheStepLimitErrorAndTheObjectRecovers) {
  for (const TRunaway& c : Runaways()) {
    SCOPED_TRACE(c.Pattern + " on " + std::to_string(c.Subject.size()) + " characters");
    TRegex re;
    re.SetExpression(c.Pattern);
    try {
      re.Exec(c.Subject);
      ADD_FAILURE() << "expected the step limit";
    } catch (const ERegex& e) {
      EXPECT_EQ(e.ErrorCode(), RegexStepLimitError);
      EXPECT_EQ(e.CompilerErrorPos(), 0);
      EXPECT_EQ(e.Message(), "TRegex(exec): Backtrack Step Limit Exceeded");
      EXPECT_EQ(re.LastError(), RegexStepLimitError);
    }
    // no match registers survive the failed search; the next search runs normally
    EXPECT_EQ(re.GetMatchPos(0), -1);
    EXPECT_EQ(re.InputString(), c.Subject);
    re.SetExpression("[a-z]");
    ASSERT_TRUE(re.ExecPos(1));
    EXPECT_EQ(re.GetMatchPos(0), c.Subject[0] == ';' ? 2 : 1);
  }
}

TEST(RegexRunaways, TheLimitIsPerSearchAndGrowsWithTheTextSearched) {
  // The same runaway with a match close to its start: the search ends before the budget.
  TRegex re;
  re.SetExpression("(a+)+b");
  ASSERT_TRUE(re.Exec(std::string(31, 'a') + "b"));
  EXPECT_EQ(re.GetMatchLen(0), 32);
  // Each search of a replace-all gets its own budget: many small quadratic searches finish.
  std::string lines;
  for (int i = 0; i < 2000; ++i) lines += std::string(200, 'a') + "q\r\n";
  EXPECT_EQ(ReplaceRegex("(?-s)(.)*z|q", lines, "", false).size(), size_t(2000 * 202));
  // A group loop over a whole 20 MB subject takes a few steps per character, far below.
  re.SetExpression("(\\r\\n|[^\\r\\n])*");
  const std::string text = Repeat("abc def\r\n", TwentyMB);
  ASSERT_TRUE(re.Exec(text));
  EXPECT_EQ(static_cast<size_t>(re.GetMatchLen(0)), text.size());
}
