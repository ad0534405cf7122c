#include <gtest/gtest.h>
#include <algorithm>
#include <utility>
#include <string>
#include <vector>
#include "highlighters/CodeHighlighterCSS.h"
#include "highlighters/CodeHighlighterHtml.h"
#include "highlighters/CodeHighlighterJScript.h"
#include "highlighters/CodeHighlighterMulti.h"
#include "highlighters/CodeHighlighterPHP.h"
#include "highlighters/CodeHighlighterVBScript.h"
#include "support/HighlighterContract.h"

namespace {

// Bytes from 0x81 up start a double-byte character, as in a far-east code page.
bool FarEastLeadByte(unsigned char Byte) { return Byte >= 0x81; }

struct WebHighlighters {
  WebHighlighters() {
    for (TCodeHashHighlighter* h : Members()) h->SetLeadByteTest(&FarEastLeadByte);
    ConfigureWebMixed(multi, &html, &php, &css, &js, &vbs);
  }
  std::vector<TCodeHashHighlighter*> Members() { return {&html, &php, &css, &js, &vbs}; }
  std::vector<TCodeCustomHighlighter*> All() { return {&html, &php, &css, &js, &vbs, &multi}; }

  TCodeHTMLHighlighter html{nullptr};
  TCodePHPHighlighter php{nullptr};
  TCodeCssHighlighter css{nullptr};
  TCodeJScriptHighlighter js{nullptr};
  TCodeVBScriptHighlighter vbs{nullptr};
  TCodeMultiHighlighter multi{nullptr};
};

// Line beginnings that leave a construct open at the line's last byte: strings, comments,
// values, variables in strings, indexes, braces, markers and tags.
const char* const kOpenConstructs[] = {
    "", "x", "\"", "'", "\"a\\", "/", "/*", "/* a *", "//", "#", "#1/1", "<", "</", "<a ",
    "<a href=", "<a href=\"", "<!", "<!--", "<!-- -", "&", "&amp", "&#", "$", "$a[", "$a['k",
    "$a['k'", "$a->", "\"$", "\"{$", "\"{$a", "\"${a", "\"$a[0", "\"$a->", "\"\\{$a", "{",
    "p {", "p { a:", "p { a: 1.", "0x", "1..", ".", "<?", "<?php", "<?php \"{$a", "<style>",
    "<style>p { /*", "<script language=JavaScript>'", "<script language=VBScript>\"", "?",
    "<?php $a['k",
};

// Every state a scan of the constructs above reaches, plus the start state.
std::vector<TCodeHighlighterRange> ReachedStates(TCodeCustomHighlighter& H) {
  std::vector<TCodeHighlighterRange> states;
  H.ResetRange();
  states.push_back(H.GetRange());
  for (const char* line : kOpenConstructs) {
    TCodeHighlighterRange end = 0;
    testsupport::ScanLine(H, line, states.front(), &end);
    if (std::find(states.begin(), states.end(), end) == states.end()) states.push_back(end);
  }
  return states;
}

}  // namespace

TEST(WebScanners, KeepTheirTokensInsideLinesEndingInAnyByteOrOpenConstruct) {
  WebHighlighters hl;
  for (TCodeCustomHighlighter* h : hl.All()) {
    h->ResetRange();
    const TCodeHighlighterRange start = h->GetRange();
    // Each construct opened on the line, then each state it leaves carried to the next line.
    std::vector<std::pair<std::string, TCodeHighlighterRange>> beginnings;
    for (const char* construct : kOpenConstructs) beginnings.emplace_back(construct, start);
    for (TCodeHighlighterRange state : ReachedStates(*h)) beginnings.emplace_back("", state);
    for (const auto& [construct, state] : beginnings) {
      for (int byte = 0; byte < 256; ++byte) {
        const std::string line = construct + std::string(1, static_cast<char>(byte));
        // ScanLine fails the test for a token outside the line, a gap or an endless scan.
        testsupport::ScanLine(*h, line, state);
        testsupport::ScanLine(*h, line + "\x81", state);
        if (::testing::Test::HasFailure())
          FAIL() << h->ClassName() << " from state " << state << " on '" << construct
                 << "' + byte " << byte;
      }
    }
  }
}

TEST(WebScanners, SurviveAnyStateValue) {
  WebHighlighters hl;
  const std::vector<std::string> lines = {"<p class=\"a\">x &amp; y</p>", "p { color: red }",
                                          "<?php $a = \"{$b}\"; ?>", "var s = '/*'; // c",
                                          "Dim x ' c", "*/ -->", "", "\x81"};
  unsigned seed = 777;
  auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return seed;
  };
  for (TCodeCustomHighlighter* h : hl.All()) {
    for (int round = 0; round < 3000; ++round) {
      // Small values, values with a scheme number, and any bit pattern at all.
      const uint32_t raw = next();
      const TCodeHighlighterRange value = round % 3 == 0   ? static_cast<int>(raw % 64)
                                          : round % 3 == 1 ? static_cast<int>(raw % 4096)
                                                           : static_cast<TCodeHighlighterRange>(
                                                                 static_cast<int32_t>(raw));
      const std::string& line = lines[round % lines.size()];
      TCodeHighlighterRange end = 0;
      testsupport::ScanLine(*h, line, value, &end);
      if (::testing::Test::HasFailure()) FAIL() << h->ClassName() << " from state " << value;
      // The state a scan ends in is one the highlighter can restart from.
      testsupport::ScanLine(*h, line, end);
      if (::testing::Test::HasFailure()) FAIL() << h->ClassName() << " from end state " << end;
    }
  }
}

TEST(WebScanners, MeetTheHighlighterContractOverAWholePage) {
  // Each language's highlighter sees the whole page, as it does when a page is opened with
  // the wrong language chosen.
  const std::vector<std::string> page = {
      "<?xml version=\"1.0\"?>", "<a href=\"<?php echo $u", "?>\">x</a>",
      "<style> p { /* one", "two", "three */ color: red; } <?php $x ?> q {",
      "margin: 0 }</style><script>var x</script>",
      "<script type=\"text/javascript\">if (a) /* c", "*/ b('\\'');</script>",
      "<script language=\"VBScript\">Dim s : s = \"a\"", "</script>", "<?php", "/* c",
      "d */ $a = \"{$b['k']} \\{$c $d->e", "f\"; ?>", "<!-- open", "-->", "\x81\x40 \xE4"};
  WebHighlighters hl;
  for (TCodeCustomHighlighter* h : hl.All())
    EXPECT_TRUE(testsupport::MeetsHighlighterContract(*h, page)) << h->ClassName();
}
