// Scans a generated multi-megabyte web page with the mixed highlighter set up as the main
// window's (HTML with PHP, style, JavaScript and VBScript passages) the way the editor does
// (restore the line's start state, SetLine, walk the tokens, keep the end state) and compares
// its speed with a plain byte loop and with the HTML highlighter alone over the same lines.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>
#include "highlighters/CodeHighlighterCSS.h"
#include "highlighters/CodeHighlighterHtml.h"
#include "highlighters/CodeHighlighterJScript.h"
#include "highlighters/CodeHighlighterMulti.h"
#include "highlighters/CodeHighlighterPHP.h"
#include "highlighters/CodeHighlighterVBScript.h"

namespace {

// A page with every kind of passage: open over lines, opened and closed on one line, markers
// at the first column and at the line end.
std::vector<std::string> MakeLines(size_t TargetBytes) {
  const char* pattern[] = {
      "<!DOCTYPE html>",
      "<html lang=\"de\"><head><title>Bench &amp; more</title>",
      "<style type=\"text/css\">",
      "  body { font-family: Arial, \"Helvetica\", sans-serif; font-size: 12pt; }",
      "  h1, p.note { color: #FF0000; margin-top: 2.5em } /* a comment",
      "     over two lines */ td { padding: 2px 4px; border: 1px solid #ccc }",
      "</style>",
      "<script type=\"text/javascript\">",
      "  function init(n) { var s = 'text \\' quoted'; for (var i = 0; i < n; i++) s += i; }",
      "  /* block comment */ window.onLoad = init; document.write(\"<b>\" + Math.max(1, 2));",
      "</script>",
      "<script language=\"VBScript\">",
      "  Dim x : x = \"value\" ' comment",
      "  If x <> #1/1/2000# Then MsgBox x End If",
      "</script></head>",
      "<body bgcolor=\"#FFFFFF\" onload='init(3)'>",
      "<?php",
      "  $items = array(1, 2, 3); /* list */",
      "  foreach ($items as $i) { echo \"item {$i} of $items[0]->count\\n\"; }",
      "?>",
      "  <p>Plain text with &copy; 2026 and <?php echo $title; ?> inside a paragraph, "
      "and a few words more to make the line as long as prose usually is.</p>",
      "\t<table border=1><tr><td>Cell</td><td align=right>12,50 &euro;</td></tr></table>",
      "<!-- a comment -->",
      "</body></html>",
      "",
  };
  std::vector<std::string> lines;
  size_t bytes = 0;
  while (bytes < TargetBytes)
    for (const char* line : pattern) {
      lines.emplace_back(line);
      bytes += lines.back().size() + 2;
    }
  return lines;
}

size_t TotalBytes(const std::vector<std::string>& Lines) {
  size_t n = 0;
  for (const auto& line : Lines) n += line.size() + 2;
  return n;
}

template <class F>
double BestSeconds(int Rounds, F&& Run) {
  double best = 1e9;
  for (int i = 0; i < Rounds; ++i) {
    auto start = std::chrono::steady_clock::now();
    Run();
    std::chrono::duration<double> d = std::chrono::steady_clock::now() - start;
    best = std::min(best, d.count());
  }
  return best;
}

volatile uint32_t sink;

// One pass as the editor's scan and paint make it; returns the token count.
size_t ScanAll(TCodeCustomHighlighter& Highlighter, const std::vector<std::string>& Lines) {
  uint32_t sum = 0;
  size_t tokens = 0;
  Highlighter.ResetRange();
  TCodeHighlighterRange range = Highlighter.GetRange();
  for (size_t i = 0; i < Lines.size(); ++i) {
    Highlighter.SetRange(range);
    Highlighter.SetLine(Lines[i], static_cast<int>(i));
    while (!Highlighter.AtLineEnd()) {
      sum += Highlighter.GetTokenKind() + Highlighter.GetTokenPos();
      sum += Highlighter.GetTokenAttribute() != nullptr;
      ++tokens;
      Highlighter.NextToken();
    }
    range = Highlighter.GetRange();
  }
  sink = sum;
  return tokens;
}

}  // namespace

int main() {
  const std::vector<std::string> lines = MakeLines(4 * 1024 * 1024);
  const double megabytes = TotalBytes(lines) / (1024.0 * 1024.0);
  const int rounds = 3;

  double byteLoop = BestSeconds(rounds, [&] {
    uint32_t sum = 0;
    for (const std::string& line : lines)
      for (unsigned char c : line) sum += (c == '<') + (c == '&');
    sink = sum;
  });

  TCodeHTMLHighlighter html(nullptr), htmlAlone(nullptr);
  TCodePHPHighlighter php(nullptr);
  TCodeCssHighlighter css(nullptr);
  TCodeJScriptHighlighter js(nullptr);
  TCodeVBScriptHighlighter vbs(nullptr);
  TCodeMultiHighlighter multi(nullptr);
  ConfigureWebMixed(multi, &html, &php, &css, &js, &vbs);

  size_t htmlTokens = 0, mixedTokens = 0;
  double htmlScan = BestSeconds(rounds, [&] { htmlTokens = ScanAll(htmlAlone, lines); });
  double mixedScan = BestSeconds(rounds, [&] { mixedTokens = ScanAll(multi, lines); });

  std::printf("text: %.1f MB in %zu lines; %zu HTML tokens, %zu mixed tokens\n", megabytes,
              lines.size(), htmlTokens, mixedTokens);
  std::printf("byte loop:          %8.1f MB/s\n", megabytes / byteLoop);
  std::printf("HTML highlighter:   %8.1f MB/s\n", megabytes / htmlScan);
  std::printf("mixed highlighter:  %8.1f MB/s\n", megabytes / mixedScan);
  std::printf("ratio mixed / byte loop: %.4f\n", byteLoop / mixedScan);
  std::printf("ratio mixed / HTML alone: %.3f\n", htmlScan / mixedScan);
  return 0;
}
