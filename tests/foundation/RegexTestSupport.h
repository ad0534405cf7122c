// Shared helpers of the regular-expression tests: a compiled search object in one call.
#pragma once
#include <string>
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

}  // namespace regextest
