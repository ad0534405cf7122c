// Scans a generated multi-megabyte HTML text with the HTML highlighter the way the editor does
// (restore the line's start state, SetLine, walk the tokens, keep the end state) and compares
// its speed with a plain byte loop over the same lines.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>
#include "highlighters/CodeHighlighterHtml.h"

#include "WebPageScan.h"

namespace {

// Lines of typical markup: tags with attributes and quoted values, entities, comments over
// several lines, plain text.
std::vector<std::string> MakeLines(size_t TargetBytes) {
  const std::vector<const char*> pattern = {
      "<!DOCTYPE html>",
      "<html lang=\"de\">",
      "<head><title>Bench &amp; more</title>",
      "  <meta name=\"description\" content=\"A page of text, tables and forms\">",
      "</head>",
      "<body bgcolor=\"#FFFFFF\" onload='init()'>",
      "<!-- navigation",
      "     spans several lines -->",
      "  <div class=\"nav\" id=main><a href=\"index.html\">Start</a> &middot; "
      "<a href=\"list.html?x=1&amp;y=2\">List</a></div>",
      "  <p>Plain text with &copy; 2026, &#169; and &#xA9; references, &lt;tags&gt; quoted, "
      "and a few words more to make the line as long as prose usually is.</p>",
      "\t<table border=1 cellpadding=\"2\"><tr><td>Cell</td><td align=right>12,50 &euro;</td>"
      "</tr></table>",
      "  <form action=\"send.php\" method=post><input type=\"text\" name=\"q\" value='a",
      "  b'><custom-tag data-x=\"1\">unknown</custom-tag></form>",
      "",
      "</body>",
      "</html>",
  };
  return testsupport::RepeatLines(pattern, TargetBytes);
}

}  // namespace

int main() {
  const std::vector<std::string> lines = MakeLines(8 * 1024 * 1024);
  const double megabytes = TotalBytes(lines) / (1024.0 * 1024.0);
  const int rounds = 5;

  const double byteLoop = webbench::ByteLoopSeconds(rounds, lines);

  TCodeHTMLHighlighter highlighter(nullptr);
  std::vector<TCodeHighlighterRange> endStates(lines.size());
  size_t tokens = 0;
  double scan = BestSeconds(rounds, [&] {
    uint32_t sum = 0;
    tokens = 0;
    highlighter.ResetRange();
    TCodeHighlighterRange range = highlighter.GetRange();
    for (size_t i = 0; i < lines.size(); ++i) {
      highlighter.SetRange(range);
      highlighter.SetLine(lines[i], static_cast<int>(i));
      while (!highlighter.AtLineEnd()) {
        sum += highlighter.GetTokenKind() + highlighter.GetTokenPos();
        sum += highlighter.GetTokenAttribute() != nullptr;
        ++tokens;
        highlighter.NextToken();
      }
      range = highlighter.GetRange();
      endStates[i] = range;
    }
    webbench::sink = sum;
  });

  std::printf("text: %.1f MB in %zu lines, %zu tokens\n", megabytes, lines.size(), tokens);
  std::printf("byte loop:        %8.1f MB/s\n", megabytes / byteLoop);
  std::printf("HTML highlighter: %8.1f MB/s\n", megabytes / scan);
  std::printf("ratio highlighter / byte loop: %.3f\n", byteLoop / scan);
  return 0;
}
