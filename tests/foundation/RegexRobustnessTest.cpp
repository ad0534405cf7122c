// Long subjects: backtracking lives on the heap, so loops over millions of characters
// complete (or report ERegex) instead of overflowing the native stack.
#include <gtest/gtest.h>
#include <chrono>
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
