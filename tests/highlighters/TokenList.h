// Token lists for golden highlighter tests: (text, kind) pairs of one scanned line.
#pragma once
#include <string>
#include <utility>
#include <vector>
#include "support/HighlighterContract.h"

namespace testsupport {

using Tok = std::pair<std::string, int>;
using Toks = std::vector<Tok>;

// The tokens of Line scanned from Range; the end state goes to EndRange when given.
inline Toks ScanToks(TCodeCustomHighlighter& H, const std::string& Line,
                     TCodeHighlighterRange Range, TCodeHighlighterRange* EndRange = nullptr) {
  Toks result;
  for (const auto& t : ScanLine(H, Line, Range, EndRange)) result.emplace_back(t.Text, t.Kind);
  return result;
}

// The attribute names in the highlighter's order.
inline std::vector<std::string> AttributeNames(const TCodeCustomHighlighter& H) {
  std::vector<std::string> names;
  for (int i = 0; i < H.GetAttributeCount(); ++i) names.push_back(H.GetAttribute(i)->Name());
  return names;
}

}  // namespace testsupport
