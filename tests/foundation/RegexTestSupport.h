// Shared helpers of the regular-expression tests: a compiled search object in one call, and
// tables of such searches checked case by case.
#pragma once
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "foundation/Regex.h"

namespace regextest {

// First match of Pattern in Subject as "pos,len" (1-based), or "none".
inline std::string FirstMatch(const std::string& Pattern, const std::string& Subject,
                              TRegexModifiers Modifiers = RegexDefaultModifiers, int Index = 0) {
  TRegex re(Modifiers);
  re.SetExpression(Pattern);
  if (!re.Exec(Subject)) return "none";
  return std::to_string(re.GetMatchPos(Index)) + "," + std::to_string(re.GetMatchLen(Index));
}

// The text of subexpression Index of the first match, or "none".
inline std::string MatchText(const std::string& Pattern, const std::string& Subject,
                             int Index = 0, TRegexModifiers Modifiers = RegexDefaultModifiers) {
  TRegex re(Modifiers);
  re.SetExpression(Pattern);
  if (!re.Exec(Subject)) return "none";
  return re.GetMatch(Index);
}

// One pattern searched in one subject, and what the search must give.
struct MatchCase {
  std::string Pattern, Subject, Expected;
};

// Every case's FirstMatch must be its Expected "pos,len" (or "none").
inline void ExpectFirstMatches(const std::vector<MatchCase>& Cases,
                               TRegexModifiers Modifiers = RegexDefaultModifiers) {
  for (const MatchCase& c : Cases) {
    SCOPED_TRACE("pattern '" + c.Pattern + "' in '" + c.Subject + "'");
    EXPECT_EQ(FirstMatch(c.Pattern, c.Subject, Modifiers), c.Expected);
  }
}

// Every case's whole-match text must be its Expected text (or "none").
inline void ExpectMatchTexts(const std::vector<MatchCase>& Cases) {
  for (const MatchCase& c : Cases) {
    SCOPED_TRACE("pattern '" + c.Pattern + "' in '" + c.Subject + "'");
    EXPECT_EQ(MatchText(c.Pattern, c.Subject), c.Expected);
  }
}

}  // namespace regextest
