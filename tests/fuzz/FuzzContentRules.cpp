// Input: the lines of a content-rule file, then a NUL byte and the start of a document.
#include <string>
#include "FuzzTargets.h"
#include "documents/ContentRules.h"
#include "rtl/SysUtils.h"

namespace {
// Each regular-expression rule may spend the engine's whole step budget on a long text: a
// few rules keep one input well inside the fuzzer's time limit.
constexpr int kMaxRules = 6;

bool SameRule(const TContentRule& A, const TContentRule& B) {
  return A.Chars == B.Chars && A.Name == B.Name && A.Mode == B.Mode && A.Pattern == B.Pattern;
}

// A rule written back in the file's own layout must read back the same, unless a field now
// holds the separator (a digit separator, or one of the upper-cased mode's letters).
std::string CheckRule(const std::string& Line) {
  const TContentRule rule = ParseContentRule(Line);
  if (rule.Chars < 1 || rule.Chars > kMaxContentRuleChars) return "a rule tests an impossible length";
  if (rule.Mode != UpperCase(Trim(rule.Mode))) return "a rule's mode is not trimmed and upper case";
  if (Line.empty()) return rule.Name.empty() && rule.Pattern.empty() ? "" : "an empty line gave a rule";
  const char sep = Line[0];
  const std::string chars = IntToStr(rule.Chars);
  if ((chars + rule.Name + rule.Mode).find(sep) != std::string::npos) return {};
  const std::string s(1, sep);
  if (!SameRule(ParseContentRule(s + chars + s + rule.Name + s + rule.Mode + s + rule.Pattern), rule))
    return "a rule written back reads differently";
  return {};
}
}  // namespace

std::string FuzzContentRules(const std::string& Data) {
  const auto f = FuzzFields(Data, '\0', 2);
  TStringList lines;
  lines.SetText(f[0]);
  TStringList rules;
  for (int i = 0; i < lines.Count() && i < kMaxRules; ++i) {
    if (std::string fault = CheckRule(lines[i]); !fault.empty()) return fault;
    rules.Add(lines[i]);
  }
  const std::string name = MatchContentRules(rules, f[1]);
  if (name.empty()) return {};
  for (int i = 0; i < rules.Count(); ++i) {
    const std::string line = rules[i];
    const size_t first = line.find_first_not_of(' ');
    if (first != std::string::npos && ParseContentRule(line.substr(first)).Name == name) return {};
  }
  return "the chosen name is no rule's";
}
