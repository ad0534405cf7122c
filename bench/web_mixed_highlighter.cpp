// Scans generated multi-megabyte texts with each web highlighter (HTML, CSS, JavaScript,
// VBScript, PHP on their own languages) and with the mixed highlighter set up as the main
// window's on a page of all of them, the way the editor scans, and compares each with a plain
// byte loop over the same lines; the mixed page also for its line end states alone, as the
// line states scan it (jumping to the end, idle time). Then scans one line full of passages at
// 5 and 10 MB: twice the line should take about twice the time.
#include <cstdio>
#include <string>
#include <vector>
#include "WebPageScan.h"
#include "highlighters/CodeHighlighterCSS.h"
#include "highlighters/CodeHighlighterHtml.h"
#include "highlighters/CodeHighlighterJScript.h"
#include "highlighters/CodeHighlighterMulti.h"
#include "highlighters/CodeHighlighterPHP.h"
#include "highlighters/CodeHighlighterVBScript.h"

using namespace testsupport;
using namespace webbench;

namespace {

constexpr size_t kTextBytes = 4 * 1024 * 1024;
constexpr int kRounds = 10;  // best of: a loaded machine needs several

void Report(const char* Name, TCodeCustomHighlighter& Highlighter,
            const std::vector<std::string>& Lines, double GoalMBs) {
  const double megabytes = TotalBytes(Lines) / (1024.0 * 1024.0);
  const double byteLoop = ByteLoopSeconds(kRounds, Lines);
  size_t tokens = 0;
  const double scan = BestSeconds(kRounds, [&] { tokens = ScanAll(Highlighter, Lines); });
  std::printf("%-12s %5.1f MB, %8zu tokens: %7.1f MB/s (goal %3.0f), byte loop %7.1f MB/s, "
              "ratio to byte loop %.4f\n",
              Name, megabytes, tokens, megabytes / scan, GoalMBs, megabytes / byteLoop,
              byteLoop / scan);
}

void ReportStates(const char* Name, TCodeCustomHighlighter& Highlighter,
                  const std::vector<std::string>& Lines, double GoalMBs) {
  const double megabytes = TotalBytes(Lines) / (1024.0 * 1024.0);
  const double byteLoop = ByteLoopSeconds(kRounds, Lines);
  const double scan = BestSeconds(kRounds, [&] { ScanStates(Highlighter, Lines); });
  std::printf("%-12s %5.1f MB,   end states only: %7.1f MB/s (goal %3.0f), byte loop %7.1f MB/s, "
              "ratio to byte loop %.4f\n",
              Name, megabytes, megabytes / scan, GoalMBs, megabytes / byteLoop, byteLoop / scan);
}

}  // namespace

int main() {
  TCodeHTMLHighlighter html(nullptr), htmlAlone(nullptr);
  TCodePHPHighlighter php(nullptr);
  TCodeCssHighlighter css(nullptr);
  TCodeJScriptHighlighter js(nullptr);
  TCodeVBScriptHighlighter vbs(nullptr);
  TCodeMultiHighlighter multi(nullptr);
  ConfigureWebMixed(multi, &html, &php, &css, &js, &vbs);

  Report("HTML", htmlAlone, HtmlText(kTextBytes), 50);
  Report("CSS", css, CssText(kTextBytes), 50);
  Report("JScript", js, JScriptText(kTextBytes), 50);
  Report("VBScript", vbs, VBScriptText(kTextBytes), 50);
  Report("PHP", php, PHPText(kTextBytes), 50);
  Report("mixed", multi, MixedPage(kTextBytes), 100);
  ReportStates("mixed", multi, MixedPage(kTextBytes), 100);

  // One line full of passages: the marker search must not start over for every marker.
  double seconds[2] = {};
  const size_t sizes[2] = {5u << 20, 10u << 20};
  for (int i = 0; i < 2; ++i) {
    const std::vector<std::string> line = {PassagesLine(sizes[i])};
    size_t tokens = 0;
    seconds[i] = BestSeconds(kRounds, [&] { tokens = ScanAll(multi, line); });
    std::printf("one line of %2zu MB, %8zu tokens: %7.3f s, %7.1f MB/s\n", sizes[i] >> 20,
                tokens, seconds[i], (sizes[i] >> 20) / seconds[i]);
  }
  std::printf("ratio 10 MB line / 5 MB line: %.2f (linear: about 2)\n", seconds[1] / seconds[0]);
  return 0;
}
