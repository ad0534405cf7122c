// Exports a generated multi-megabyte web page as HTML (document and clipboard forms) and as
// RTF through the mixed highlighter set up as the main window's, beside the same highlighter's
// scan alone; then the same exports of a page twice as long, which should take about twice
// the time.
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
#include "printing/CodeExportHTML.h"
#include "printing/CodeExportRTF.h"
#include "rtl/StringList.h"

using namespace testsupport;
using namespace webbench;

namespace {

constexpr int kRounds = 3;

struct Timings {
  double Scan, HtmlDocument, HtmlClipboard, Rtf;
  size_t HtmlBytes, RtfBytes;
};

Timings Measure(TCodeMultiHighlighter& Multi, const std::vector<std::string>& Page) {
  TStringList lines;
  for (const std::string& line : Page) lines.Add(line);
  Timings t{};
  t.Scan = BestSeconds(kRounds, [&] { ScanAll(Multi, Page); });
  TCodeExporterHTML html(nullptr);
  html.SetHighlighter(&Multi);
  html.SetExportAsText(true);
  t.HtmlDocument = BestSeconds(kRounds, [&] { html.ExportAll(&lines); });
  t.HtmlBytes = html.Output().size();
  html.SetExportAsText(false);
  t.HtmlClipboard = BestSeconds(kRounds, [&] { html.ExportAll(&lines); });
  TCodeExporterRTF rtf(nullptr);
  rtf.SetHighlighter(&Multi);
  t.Rtf = BestSeconds(kRounds, [&] { rtf.ExportAll(&lines); });
  t.RtfBytes = rtf.Output().size();
  return t;
}

}  // namespace

int main() {
  TCodeHTMLHighlighter html(nullptr);
  TCodePHPHighlighter php(nullptr);
  TCodeCssHighlighter css(nullptr);
  TCodeJScriptHighlighter js(nullptr);
  TCodeVBScriptHighlighter vbs(nullptr);
  TCodeMultiHighlighter multi(nullptr);
  ConfigureWebMixed(multi, &html, &php, &css, &js, &vbs);

  const size_t sizes[2] = {4u << 20, 8u << 20};
  Timings t[2];
  for (int i = 0; i < 2; ++i) {
    const std::vector<std::string> page = MixedPage(sizes[i]);
    const double megabytes = TotalBytes(page) / (1024.0 * 1024.0);
    t[i] = Measure(multi, page);
    std::printf("page of %.1f MB: scan %.3f s; HTML document %.3f s (%.1f MB out), HTML "
                "clipboard %.3f s, RTF %.3f s (%.1f MB out)\n",
                megabytes, t[i].Scan, t[i].HtmlDocument, t[i].HtmlBytes / 1048576.0,
                t[i].HtmlClipboard, t[i].Rtf, t[i].RtfBytes / 1048576.0);
    std::printf("  ratio to the scan alone (goal within 3): HTML document %.2f, HTML clipboard "
                "%.2f, RTF %.2f\n",
                t[i].HtmlDocument / t[i].Scan, t[i].HtmlClipboard / t[i].Scan,
                t[i].Rtf / t[i].Scan);
  }
  std::printf("twice the page (about 2): scan %.2f, HTML document %.2f, HTML clipboard %.2f, "
              "RTF %.2f\n",
              t[1].Scan / t[0].Scan, t[1].HtmlDocument / t[0].HtmlDocument,
              t[1].HtmlClipboard / t[0].HtmlClipboard, t[1].Rtf / t[0].Rtf);
  return 0;
}
