// Scans a 100 MB plain text with the URI highlighter the way the editor does (SetLine, walk the
// tokens, or skip to the line's end for the line states) and a 1 MB line of "a1a1...", where
// every character starts an e-mail test; each is compared with a plain byte loop over the same
// lines in the same run.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>
#include "highlighters/CodeHighlighterURI.h"
#include "support/WebPageText.h"

#include "BenchText.h"

namespace {

volatile uint32_t sink;

// Looks at every byte once, as a scanner at least must.
double ByteLoop(const std::vector<std::string>& Lines, int Rounds) {
  return BestSeconds(Rounds, [&] {
    uint32_t sum = 0;
    for (const std::string& line : Lines)
      for (unsigned char c : line) sum += (c == '@') + (c == ':');
    sink = sum;
  });
}

double Highlight(TCodeURIHighlighter& H, const std::vector<std::string>& Lines, int Rounds,
                 size_t& Tokens) {
  return BestSeconds(Rounds, [&] {
    uint32_t sum = 0;
    Tokens = 0;
    for (size_t i = 0; i < Lines.size(); ++i) {
      H.SetLine(Lines[i], static_cast<int>(i));
      for (; !H.AtLineEnd(); H.NextToken()) {
        sum += H.GetTokenKind() + H.GetTokenPos();
        ++Tokens;
      }
    }
    sink = sum;
  });
}

// The line states' scan, through the interface the editor holds.
double EndStates(TCodeCustomHighlighter& H, const std::vector<std::string>& Lines, int Rounds) {
  return BestSeconds(Rounds, [&] {
    uint32_t sum = 0;
    for (size_t i = 0; i < Lines.size(); ++i) {
      H.SetLine(Lines[i], static_cast<int>(i));
      H.SkipToLineEnd();
      sum += static_cast<uint32_t>(H.GetRange());
    }
    sink = sum;
  });
}

void Report(const char* Name, const std::vector<std::string>& Lines, int Rounds) {
  TCodeURIHighlighter highlighter(nullptr);
  const double megabytes = TotalBytes(Lines) / (1024.0 * 1024.0);
  size_t tokens = 0;
  double bytes = ByteLoop(Lines, Rounds);
  double scan = Highlight(highlighter, Lines, Rounds, tokens);
  double states = EndStates(highlighter, Lines, Rounds);
  std::printf("%s: %.1f MB in %zu lines, %zu tokens\n", Name, megabytes, Lines.size(), tokens);
  std::printf("  byte loop:       %9.1f MB/s\n", megabytes / bytes);
  std::printf("  URI highlighter: %9.1f MB/s (goal: 500)\n", megabytes / scan);
  std::printf("  ratio highlighter / byte loop: %.3f\n", bytes / scan);
  std::printf("  end states only: %9.1f MB/s, ratio to byte loop %.3f\n", megabytes / states,
              bytes / states);
}

}  // namespace

int main() {
  Report("100 MB text", testsupport::ProseWithLinks(100u * 1024 * 1024), 3);
  std::string a1;
  a1.reserve(1 << 20);
  while (a1.size() < (1u << 20)) a1 += "a1";
  Report("1 MB line of \"a1a1...\"", {a1}, 5);
  return 0;
}
