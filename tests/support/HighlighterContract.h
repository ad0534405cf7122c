// Checks what the editor relies on from every highlighter, and scans lines into token lists for
// golden tests. Uses only the highlighter's virtual operations.
#pragma once
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include "editor/CodeEditHighlighter.h"

namespace testsupport {

struct ScannedToken {
  std::string Text;
  int Pos;
  int Kind;
  const TCodeHighlighterAttributes* Attribute;
  bool operator==(const ScannedToken&) const = default;
};

// Tokens of Line scanned from Range (its end state in EndRange when given). Fails the test and
// stops after 4 * length + 4 tokens, so a scanner that does not advance cannot hang it.
std::vector<ScannedToken> ScanLine(TCodeCustomHighlighter& Highlighter, const std::string& Line,
                                   TCodeHighlighterRange Range,
                                   TCodeHighlighterRange* EndRange = nullptr, int LineNumber = 0);

// The end state of every line, scanning from ResetRange with one SetLine after the other.
std::vector<TCodeHighlighterRange> ScanEndRanges(TCodeCustomHighlighter& Highlighter,
                                                 const std::vector<std::string>& Lines);

// Splits at CR LF, LF and CR.
std::vector<std::string> SplitLines(const std::string& Text);

// The contract over Lines: tokens cover each line in order without gaps; an empty line is at
// its end at once in every state the text reaches; no state is -1; restarting any line from
// its stored start state gives the tokens and end state of the scan from the top, and so does
// restarting its rest from any resume point the highlighter names; ResetRange from any state,
// also one the text never reaches, gives the first line's scan again.
::testing::AssertionResult MeetsHighlighterContract(TCodeCustomHighlighter& Highlighter,
                                                    const std::vector<std::string>& Lines);

}  // namespace testsupport
