// Input: one byte of modifier bits (i r s g m x, then "use substitution"), then the pattern,
// the subject, the substitution template, a modifier text and line separators, each field
// ended by a NUL byte.
#include <string>
#include "FuzzTargets.h"
#include "foundation/Regex.h"

namespace {
// Long subjects reach the matcher's buffers and bounded searches. A search may spend the
// engine's whole step budget (under the sanitizers near two seconds), so a long subject gets
// one; every match and the replacements run on a short start, which keeps even exponential
// backtracking small.
constexpr size_t kMaxSubject = 1024;
constexpr size_t kShortSubject = 12;

std::string CheckRegisters(const TRegex& Re, const std::string& Subject) {
  for (int i = -1; i <= RegexSubExpCount; ++i) {
    const int pos = Re.GetMatchPos(i), len = Re.GetMatchLen(i);
    if (pos == -1 && len == -1 && Re.GetMatch(i).empty()) continue;
    if (i < 0 || i >= RegexSubExpCount) return "a register outside 0 to 14 holds a match";
    if (pos < 1 || len < 0 || static_cast<size_t>(pos - 1 + len) > Subject.size())
      return "register " + std::to_string(i) + " lies outside the subject";
    if (Re.GetMatch(i) != Subject.substr(pos - 1, len))
      return "register " + std::to_string(i) + " does not give the subject's text";
  }
  if (Re.GetMatchPos(0) < 1) return "a match without a position";
  return {};
}

// Every match starts at or after the end of the one before, one further after an empty one.
std::string CheckMatches(TRegex& Re, const std::string& Subject, size_t MaxSearches) {
  if (!Re.Exec(Subject)) return {};
  for (size_t n = 0; n + 1 < MaxSearches; ++n) {
    if (std::string fault = CheckRegisters(Re, Subject); !fault.empty()) return fault;
    if (n > Subject.size() + 1) return "more matches than the subject has positions";
    const int pos = Re.GetMatchPos(0), len = Re.GetMatchLen(0);
    if (!Re.ExecNext()) return {};
    if (Re.GetMatchPos(0) < pos + len + (len == 0 ? 1 : 0)) return "a further match does not move on";
  }
  return {};
}

std::string Run(const std::string& Data) {
  const unsigned flags = static_cast<unsigned char>(Data[0]);
  const auto f = FuzzFields(Data.substr(1), '\0', 5);
  const std::string& pattern = f[0];
  const std::string subject = f[1].substr(0, kMaxSubject);
  const std::string start = subject.substr(0, kShortSubject);
  TRegex re;
  for (int m = 1; m <= 6; ++m) re.SetModifier(m, (flags >> (m - 1)) & 1);
  TRegexModifiers parsed = RegexDefaultModifiers;
  TRegex::ParseModifiers(f[3], parsed);
  if (!f[4].empty()) re.SetLineSeparators(f[4]);
  re.SetExpression(pattern);
  re.Compile();
  if (std::string fault = CheckMatches(re, subject, 1); !fault.empty()) return fault;
  if (std::string fault = CheckMatches(re, start, start.size() + 4); !fault.empty()) return fault;
  if (re.Exec(start)) re.Substitute(f[2]);
  if (re.Replace(start, "", false).size() > start.size()) return "removing matches made the text longer";
  re.Replace(start, f[2], flags & 64);
  return {};
}
}  // namespace

std::string FuzzRegex(const std::string& Data) {
  if (Data.empty()) return {};
  try {
    return Run(Data);
  } catch (const ERegex&) {
    return {};  // compile errors and exhausted search limits are the engine's answers
  }
}
