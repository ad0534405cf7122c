#include "support/HighlighterContract.h"
#include <set>
#include <sstream>

namespace testsupport {

namespace {

// Tokens of the line SetLine has just started, checked for coverage; "" when sound.
std::string CollectTokens(TCodeCustomHighlighter& H, const std::string& Line,
                          std::vector<ScannedToken>& Tokens) {
  const size_t limit = 4 * Line.size() + 4;
  int expectedPos = 0;
  while (!H.AtLineEnd()) {
    if (Tokens.size() >= limit) return "the scanner does not reach the line end";
    ScannedToken t{H.GetToken(), H.GetTokenPos(), H.GetTokenKind(), H.GetTokenAttribute()};
    std::ostringstream where;
    where << "token " << Tokens.size() << " '" << t.Text << "' at " << t.Pos;
    if (t.Pos != expectedPos)
      return where.str() + ": expected to start at " + std::to_string(expectedPos);
    if (t.Pos + t.Text.size() > Line.size() || Line.compare(t.Pos, t.Text.size(), t.Text) != 0)
      return where.str() + ": not the line's text there";
    expectedPos += static_cast<int>(t.Text.size());
    Tokens.push_back(t);
    H.NextToken();
  }
  if (expectedPos != static_cast<int>(Line.size()))
    return "the tokens end at " + std::to_string(expectedPos) + " of " +
           std::to_string(Line.size());
  return "";
}

std::string Describe(const std::vector<ScannedToken>& Tokens) {
  std::ostringstream out;
  for (const ScannedToken& t : Tokens) out << "[" << t.Text << "|" << t.Kind << "]";
  return out.str();
}

// Each resume point the highlighter names in Line is a start of one of the line's Tokens, and
// the rest of the line from there, scanned from the line's start state Start, gives those
// tokens from there on and the end state End; "" when sound.
std::string CheckResumePoints(TCodeCustomHighlighter& H, const std::string& Line, int LineNumber,
                              const std::vector<ScannedToken>& Tokens, TCodeHighlighterRange Start,
                              TCodeHighlighterRange End) {
  int checked = 0;
  for (int pos = 0; pos <= static_cast<int>(Line.size()); ++pos) {
    const int from = H.ResumePointBefore(Line, pos);
    const std::string where =
        "resume point " + std::to_string(from) + " before " + std::to_string(pos);
    if (from < 0 || from > pos) return where + ": not at or before it";
    if (from == checked) continue;
    checked = from;
    size_t first = 0;
    while (first < Tokens.size() && Tokens[first].Pos < from) ++first;
    const bool tokenStart = first < Tokens.size() && Tokens[first].Pos == from;
    if (from < static_cast<int>(Line.size()) && !tokenStart)
      return where + ": no token starts there";
    H.SetRange(Start);
    const std::string rest = Line.substr(from);
    H.SetLine(rest, LineNumber);
    std::vector<ScannedToken> resumed;
    const std::string fault = CollectTokens(H, rest, resumed);
    if (!fault.empty()) return where + ": " + fault;
    for (ScannedToken& t : resumed) t.Pos += from;
    const std::vector<ScannedToken> expected(Tokens.begin() + first, Tokens.end());
    if (resumed != expected)
      return where + " gives " + Describe(resumed) + " instead of " + Describe(expected);
    if (H.GetRange() != End) return where + ": ends in another state";
  }
  return "";
}

}  // namespace

std::vector<ScannedToken> ScanLine(TCodeCustomHighlighter& Highlighter, const std::string& Line,
                                   TCodeHighlighterRange Range, TCodeHighlighterRange* EndRange,
                                   int LineNumber) {
  Highlighter.SetRange(Range);
  Highlighter.SetLine(Line, LineNumber);
  std::vector<ScannedToken> tokens;
  std::string fault = CollectTokens(Highlighter, Line, tokens);
  EXPECT_EQ(fault, "") << "line '" << Line << "'";
  if (EndRange) *EndRange = Highlighter.GetRange();
  return tokens;
}

std::vector<TCodeHighlighterRange> ScanEndRanges(TCodeCustomHighlighter& Highlighter,
                                                 const std::vector<std::string>& Lines) {
  std::vector<TCodeHighlighterRange> ranges;
  Highlighter.ResetRange();
  for (size_t i = 0; i < Lines.size(); ++i) {
    Highlighter.SetLine(Lines[i], static_cast<int>(i));
    std::vector<ScannedToken> tokens;
    CollectTokens(Highlighter, Lines[i], tokens);
    ranges.push_back(Highlighter.GetRange());
  }
  return ranges;
}

std::vector<std::string> SplitLines(const std::string& Text) {
  std::vector<std::string> lines;
  std::string line;
  for (size_t i = 0; i < Text.size(); ++i) {
    char c = Text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(line);
      line.clear();
      if (c == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n') ++i;
    } else {
      line += c;
    }
  }
  lines.push_back(line);
  return lines;
}

::testing::AssertionResult MeetsHighlighterContract(TCodeCustomHighlighter& Highlighter,
                                                    const std::vector<std::string>& Lines) {
  // The scan from the top, one line after the other as the editor's first scan does.
  std::vector<std::vector<ScannedToken>> tokens(Lines.size());
  std::vector<TCodeHighlighterRange> startRanges, endRanges;
  Highlighter.ResetRange();
  for (size_t i = 0; i < Lines.size(); ++i) {
    startRanges.push_back(Highlighter.GetRange());
    Highlighter.SetLine(Lines[i], static_cast<int>(i));
    std::string fault = CollectTokens(Highlighter, Lines[i], tokens[i]);
    if (!fault.empty())
      return ::testing::AssertionFailure() << "line " << i << " '" << Lines[i] << "': " << fault;
    endRanges.push_back(Highlighter.GetRange());
    if (endRanges.back() == -1)
      return ::testing::AssertionFailure() << "line " << i << " ends in state -1";
  }

  // An empty line ends at once in every state met.
  std::set<TCodeHighlighterRange> states(startRanges.begin(), startRanges.end());
  states.insert(endRanges.begin(), endRanges.end());
  for (TCodeHighlighterRange state : states) {
    Highlighter.SetRange(state);
    Highlighter.SetLine("", 0);
    if (!Highlighter.AtLineEnd())
      return ::testing::AssertionFailure() << "an empty line in state " << state
                                           << " is not at its end";
  }

  // Restarting each line from its stored state, last line first, so that nothing but the
  // range can carry over from the line scanned before.
  for (size_t i = Lines.size(); i-- > 0;) {
    Highlighter.SetRange(startRanges[i]);
    Highlighter.SetLine(Lines[i], static_cast<int>(i));
    std::vector<ScannedToken> again;
    std::string fault = CollectTokens(Highlighter, Lines[i], again);
    if (!fault.empty())
      return ::testing::AssertionFailure() << "line " << i << " restarted: " << fault;
    if (again != tokens[i])
      return ::testing::AssertionFailure()
             << "line " << i << " restarted gives " << Describe(again) << " instead of "
             << Describe(tokens[i]);
    if (Highlighter.GetRange() != endRanges[i])
      return ::testing::AssertionFailure() << "line " << i << " restarted ends in state "
                                           << Highlighter.GetRange() << " instead of "
                                           << endRanges[i];
    fault = CheckResumePoints(Highlighter, Lines[i], static_cast<int>(i), tokens[i],
                              startRanges[i], endRanges[i]);
    if (!fault.empty()) return ::testing::AssertionFailure() << "line " << i << ": " << fault;
  }

  // ResetRange leaves no trace of the state before it: from every state met and from one no
  // line ends in, the first line scans as it did from the top.
  if (Lines.empty()) return ::testing::AssertionSuccess();
  TCodeHighlighterRange foreign = 1;
  while (states.count(foreign)) ++foreign;
  states.insert(foreign);
  for (TCodeHighlighterRange state : states) {
    Highlighter.SetRange(state);
    Highlighter.ResetRange();
    if (Highlighter.GetRange() != startRanges[0])
      return ::testing::AssertionFailure() << "ResetRange from state " << state << " gives "
                                           << Highlighter.GetRange() << " instead of "
                                           << startRanges[0];
    Highlighter.SetLine(Lines[0], 0);
    std::vector<ScannedToken> again;
    CollectTokens(Highlighter, Lines[0], again);
    if (again != tokens[0] || Highlighter.GetRange() != endRanges[0])
      return ::testing::AssertionFailure()
             << "line 0 after ResetRange from state " << state << " gives " << Describe(again)
             << " ending in state " << Highlighter.GetRange() << " instead of "
             << Describe(tokens[0]) << " ending in state " << endRanges[0];
  }
  return ::testing::AssertionSuccess();
}

}  // namespace testsupport
