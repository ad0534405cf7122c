// File-type content rules: the lines of "FileTypeContents.dat" that choose a highlighter by
// the start of a document's text.
#pragma once
#include <string>
#include "rtl/StringList.h"

// The longest start of a text any rule tests.
inline constexpr int kMaxContentRuleChars = 10240;

struct TContentRule {
  int Chars = 1024;
  std::string Name;
  std::string Mode;     // upper case: "S" substring, "R" regular expression
  std::string Pattern;  // empty when the line has fewer than four separators
};

// A rule line: separator character, characters to test (1..10240, else 1024), result name,
// mode, pattern (the rest of the line). Missing fields stay empty; an empty line gives the
// default rule, which never matches.
TContentRule ParseContentRule(const std::string& Line);
// The result name of the last rule matching the start of Text, empty when none. Lines of
// blanks are skipped; a pattern that does not compile never matches.
std::string MatchContentRules(const TStrings& Rules, const std::string& Text);
