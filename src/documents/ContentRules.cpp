#include "documents/ContentRules.h"
#include "foundation/Regex.h"
#include "rtl/SysUtils.h"

TContentRule ParseContentRule(const std::string& Line) {
  TContentRule rule;
  if (Line.empty()) return rule;
  const std::string sep(1, Line[0]);
  const std::string rest = Line.substr(1);
  size_t pos = 0;
  std::string fields[3];
  for (std::string& field : fields) {
    size_t end = rest.find(sep, pos);
    if (end == std::string::npos) return rule;
    field = rest.substr(pos, end - pos);
    pos = end + 1;
  }
  int chars = StrToIntDef(Trim(fields[0]), 0);
  rule.Chars = chars >= 1 && chars <= kMaxContentRuleChars ? chars : TContentRule().Chars;
  rule.Name = fields[1];
  rule.Mode = UpperCase(Trim(fields[2]));
  rule.Pattern = rest.substr(pos);
  return rule;
}

namespace {

bool RuleMatches(const TContentRule& Rule, const std::string& Text) {
  if (Rule.Pattern.empty()) return false;
  const std::string head = Trim(Text.substr(0, static_cast<size_t>(Rule.Chars)));
  if (Rule.Mode == "S") return head.find(Rule.Pattern) != std::string::npos;
  if (Rule.Mode != "R") return false;
  try {
    return ExecRegex(Rule.Pattern, head);
  } catch (const ERegex&) {
    return false;  // a broken pattern in the rule file is not the user's current concern
  }
}

}  // namespace

std::string MatchContentRules(const TStrings& Rules, const std::string& Text) {
  std::string name;
  for (int i = 0; i < Rules.Count(); ++i) {
    // Only blanks are skipped: a tab may be the line's separator.
    const std::string line = Rules[i];
    const size_t first = line.find_first_not_of(' ');
    if (first == std::string::npos) continue;
    const TContentRule rule = ParseContentRule(line.substr(first));
    if (RuleMatches(rule, Text)) name = rule.Name;
  }
  return name;
}
