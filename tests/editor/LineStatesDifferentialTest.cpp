// Line states and the token under a place, found on demand, against a fresh full scan:
// generated pages, prose and data without blanks, real files of the corpus when there is one,
// seeded random edits, scrolling with painting, token look-ups and idle time in between.
#include <windows.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>
#include "CodeEditTestFixture.h"
#include "editor/CodeEditLineStates.h"
#include "highlighters/CodeHighlighterCSS.h"
#include "highlighters/CodeHighlighterHtml.h"
#include "highlighters/CodeHighlighterJScript.h"
#include "highlighters/CodeHighlighterMulti.h"
#include "highlighters/CodeHighlighterPHP.h"
#include "highlighters/CodeHighlighterURI.h"
#include "highlighters/CodeHighlighterVBScript.h"
#include "rtl/StringList.h"
#include "support/Corpus.h"
#include "support/ScreenCapture.h"
#include "support/WebPageText.h"
#include "toolkit/Application.h"

using namespace codeedittest;
using testsupport::TTopLevelWindow;

namespace {

using testsupport::CorpusFile;

// A named text for one run.
using TNamedText = std::pair<std::string, std::string>;

std::string Joined(const std::vector<std::string>& Lines) {
  std::string text;
  for (const std::string& line : Lines) text += line + "\r\n";
  return text;
}

// A page whose style, script and PHP blocks each span many lines.
std::string BlocksPage() {
  using namespace testsupport;
  const size_t block = 6 * 1024;
  return Joined(HtmlText(block)) + "<style type=\"text/css\">\r\n" + Joined(CssText(block)) +
         "</style>\r\n<script type=\"text/javascript\">\r\n" + Joined(JScriptText(block)) +
         "</script>\r\n<?php\r\n" + Joined(PHPText(block)) +
         "?>\r\n<script language=\"VBScript\">\r\n" + Joined(VBScriptText(block)) +
         "</script>\r\n" + Joined(HtmlText(block));
}

// Web pages the tests write themselves.
std::vector<TNamedText> GeneratedPages() {
  using testsupport::PassagesLine;
  return {{"mixed page", Joined(testsupport::MixedPage(48 * 1024))},
          {"page of blocks", BlocksPage()},
          {"lines of passages",
           Joined({PassagesLine(12 * 1024), "<p>between</p>", PassagesLine(3 * 1024)})}};
}

std::string GeneratedProse() { return Joined(testsupport::ProseWithLinks(40 * 1024)); }

// Long lines without a blank: minified data and base64 with links inside, and base64 that a
// link swallows whole.
std::string GeneratedDataWithoutBlanks() {
  const char* const pieces[] = {"{\"id\":", "4711", ",", "\"href\":\"https://example.org/a?b=1\"",
                                "\"mail\":\"someone@example.org\"", "\"blob\":\"", "QUJDREVG",
                                "R0hJ+SktM", "TU5P/UFFS", "==", "\"", "}", "[", "]", ":",
                                "www.example.org", "data:text/plain;base64,", "QUJD"};
  std::mt19937 random(11);
  std::vector<std::string> lines;
  for (int i = 0; i < 12; ++i) {
    std::string line;
    while (line.size() < 2000 + 600u * i) line += pieces[random() % std::size(pieces)];
    lines.push_back(line);
  }
  std::string base64;
  while (base64.size() < 8000) base64 += "QUJDREVGR0hJ+SktMTU5PUFFS/U1RVVldYWVph";
  lines.push_back(base64);
  lines.push_back("http://" + base64);
  return Joined(lines);
}

std::vector<TNamedText> CorpusFiles(std::initializer_list<const char*> Names) {
  std::vector<TNamedText> files;
  for (const char* name : Names) files.emplace_back(name, CorpusFile(name));
  return files;
}

// What a scan from the first line gives for one line: its tokens and its end state.
struct TLineScan {
  std::vector<std::tuple<int, int, TCodeHighlighterAttributes*>> Tokens;  // pos, kind, attribute
  TCodeHighlighterRange End = 0;
  bool operator==(const TLineScan&) const = default;
};

// Reads the tokens of Text from the highlighter's current state, leaving it at the line's end.
TLineScan ScanTokens(TCodeCustomHighlighter& H, const std::string& Text, int Index) {
  TLineScan scan;
  for (H.SetLine(Text, Index); !H.AtLineEnd(); H.NextToken())
    scan.Tokens.emplace_back(H.GetTokenPos(), H.GetTokenKind(), H.GetTokenAttribute());
  scan.End = H.GetRange();
  return scan;
}

std::vector<TLineScan> FullScan(TCodeCustomHighlighter& H, const TStrings& Lines) {
  std::vector<TLineScan> scans;
  H.ResetRange();
  for (int i = 0; i < Lines.Count(); ++i) scans.push_back(ScanTokens(H, Lines[i], i));
  return scans;
}

// The web-page highlighter as the main window sets it up, and the plain-text one.
struct THighlighters {
  THighlighters() { ConfigureWebMixed(Web, &Html, &Php, &Css, &Js, &Vbs); }
  TCodeHTMLHighlighter Html{nullptr};
  TCodePHPHighlighter Php{nullptr};
  TCodeCssHighlighter Css{nullptr};
  TCodeJScriptHighlighter Js{nullptr};
  TCodeVBScriptHighlighter Vbs{nullptr};
  TCodeMultiHighlighter Web{nullptr};
  TCodeURIHighlighter Uri{nullptr};
};

// Pieces that open and close passages, comments and strings, and break lines.
const char* const kPieces[] = {"/*", "*/", "<?php ", "?>", "<style>", "</style>", "\"", "'",
                               "<script type=\"text/javascript\">", "</script>", "<!--",
                               "-->", "\r\n", "x\r\n/* a\r\nb */\r\n", "http://a.example/b "};

class LineStatesDifferential : public ::testing::Test {
protected:
  void Open(const std::string& Text, TCodeCustomHighlighter& H) {
    highlighter_ = &H;
    edit_ = MakeEdit(Text);
    edit_->SetHighlighter(&H);
    edit_->CreateWnd(window_.Handle(), 0, 0, 480, 300);
    ASSERT_TRUE(edit_->HandleAllocated());
  }
  void TearDown() override {
    if (edit_) edit_->SetHighlighter(nullptr);
  }

  TBufferCoord RandomPlace() {
    const int line = Pick(edit_->Lines().Count()) + 1;
    const int length = static_cast<int>(edit_->Lines()[line - 1].size());
    return {Pick(length + 1) + 1, line};
  }
  int Pick(int Below) { return Below <= 0 ? 0 : static_cast<int>(random_() % Below); }

  void RandomStep() {
    switch (Pick(6)) {
      case 0:  // type a piece
        edit_->SetCaretXY(RandomPlace());
        edit_->SetSelText(kPieces[Pick(std::size(kPieces))]);
        break;
      case 1: {  // delete a stretch, up to many lines
        TBufferCoord from = RandomPlace();
        TBufferCoord to = {1, std::min(from.Line + Pick(3) * Pick(400), edit_->Lines().Count())};
        Select(*edit_, from, std::max(from, to));
        edit_->SetSelText("");
        break;
      }
      case 2: {  // paste a block longer than an edit rescans at once
        std::string block;
        for (int i = 0; i < 1500; ++i) block += i % 500 == 0 ? "/* block\r\n" : "line */ \"x\r\n";
        edit_->SetCaretXY(RandomPlace());
        edit_->SetSelText(block);
        break;
      }
      case 3:  // scroll and paint
        edit_->SetTopLine(Pick(edit_->Lines().Count()) + 1);
        UpdateWindow(edit_->Handle());
        break;
      case 4: {  // the token under a place
        std::string token;
        TCodeHighlighterAttributes* attr = nullptr;
        edit_->GetHighlighterAttriAtRowCol(RandomPlace(), token, attr);
        break;
      }
      default:  // a little idle time
        Application().ProcessMessages();
        break;
    }
  }

  // Line Index's tokens and end state as the editor gets them, through its line states.
  TLineScan OnDemand(int Index) {
    StartHighlighterAtLine(*highlighter_, edit_->Lines(), Index);
    return ScanTokens(*highlighter_, edit_->Lines()[Index], Index);
  }

  // Reports the first line that differs; false then.
  bool LinesMatch(const std::vector<TLineScan>& Full, int From, int To, const std::string& When) {
    for (int i = From; i < To; ++i)
      if (!(OnDemand(i) == Full[i])) {
        ADD_FAILURE() << When << ": line " << i + 1 << " differs from a full scan";
        return false;
      }
    return true;
  }

  // The token the editor finds under places of line Index (from a point where the highlighter
  // can resume scanning) is the one the full scan has there.
  bool TokensUnderMatch(const TLineScan& Full, int Index, const std::string& When) {
    const int length = static_cast<int>(edit_->Lines()[Index].size());
    for (int i = 0; i < 8 && length > 0; ++i) {
      const int place = Pick(length);
      std::string token;
      int kind = 0, start = 0;
      TCodeHighlighterAttributes* attr = nullptr;
      edit_->GetHighlighterAttriAtRowColEx({place + 1, Index + 1}, token, kind, start, attr);
      auto held = std::upper_bound(Full.Tokens.begin(), Full.Tokens.end(), place,
                                   [](int P, const auto& T) { return P < std::get<0>(T); });
      if (held == Full.Tokens.begin() ||
          std::make_tuple(start - 1, kind, attr) != *std::prev(held)) {
        ADD_FAILURE() << When << ": the token under line " << Index + 1 << ", column "
                      << place + 1 << " differs from a full scan";
        return false;
      }
    }
    return true;
  }

  void RunEdits(const std::string& Name, unsigned Seed, int Steps) {
    random_.seed(Seed);
    for (int step = 0; step < Steps; ++step) {
      RandomStep();
      // One line checked without asking for the states below it.
      TStringList copy;
      copy.Assign(edit_->Lines());
      const std::vector<TLineScan> full = FullScan(*highlighter_, copy);
      const std::string when = Name + ", seed " + std::to_string(Seed) + ", step " +
                               std::to_string(step);
      const int count = static_cast<int>(full.size());
      const int line = Pick(count);
      if (count > 0 && !LinesMatch(full, line, line + 1, when)) return;
      if (count > 0 && !TokensUnderMatch(full[line], line, when)) return;
      if (step % 10 == 9 && !LinesMatch(full, 0, count, when)) return;
    }
  }

  // Each text opened with H and edited at random, seeded by its size.
  void RunEditsOver(const std::vector<TNamedText>& Texts, TCodeCustomHighlighter& H) {
    for (const auto& [name, text] : Texts) {
      ASSERT_FALSE(text.empty()) << name;
      Open(text, H);
      RunEdits(name, static_cast<unsigned>(text.size()), 30);
      edit_->SetHighlighter(nullptr);
    }
  }

  TTopLevelWindow window_{480, 300};
  std::unique_ptr<TTestEdit> edit_;
  TCodeCustomHighlighter* highlighter_ = nullptr;
  std::mt19937 random_;
};

// A line skipped to its end, from its first token or after some were read, leaves the state and
// the token position a walk through every token leaves: the line states rest on it.
using TPick = TCodeCustomHighlighter& (*)(THighlighters&);
struct TSkipCase {
  std::string Name;
  std::string Text;
  TPick Pick;
};
TCodeCustomHighlighter& WebPick(THighlighters& H) { return H.Web; }
TCodeCustomHighlighter& UriPick(THighlighters& H) { return H.Uri; }

void ExpectSkipEndsWhereTheWalkEnds(const std::vector<TSkipCase>& Cases) {
  for (const auto& [name, text, pick] : Cases) {
    TStringList lines;
    lines.SetText(text);
    ASSERT_GT(lines.Count(), 1) << name;
    THighlighters walking, skipping;
    TCodeCustomHighlighter& walk = pick(walking);
    TCodeCustomHighlighter& skip = pick(skipping);
    walk.ResetRange();
    skip.ResetRange();
    for (int i = 0; i < lines.Count(); ++i) {
      ScanTokens(walk, lines[i], i);
      skip.SetLine(lines[i], i);
      for (int read = i % 4; read > 0 && !skip.AtLineEnd(); --read) skip.NextToken();
      skip.SkipToLineEnd();
      ASSERT_TRUE(skip.AtLineEnd()) << name << ", line " << i + 1;
      ASSERT_EQ(skip.GetRange(), walk.GetRange()) << name << ", line " << i + 1;
      ASSERT_EQ(skip.GetTokenPos(), walk.GetTokenPos()) << name << ", line " << i + 1;
    }
  }
}

}  // namespace

TEST_F(LineStatesDifferential, GeneratedPagesUnderRandomEditsMatchAFullScan) {
  THighlighters h;
  RunEditsOver(GeneratedPages(), h.Web);
}

TEST_F(LineStatesDifferential, CorpusWebFilesUnderRandomEditsMatchAFullScan) {
  SKIP_WITHOUT_CORPUS();
  THighlighters h;
  RunEditsOver(CorpusFiles({"underscore-docs.html", "python-policy.html", "index.php",
                            "check_environment.php", "gitweb.css", "jquery.min.js"}),
               h.Web);
}

TEST_F(LineStatesDifferential, GeneratedProseAndDataWithLinksUnderRandomEditsMatchAFullScan) {
  THighlighters h;
  RunEditsOver({{"prose with links", GeneratedProse()},
                {"data without blanks", GeneratedDataWithoutBlanks()}},
               h.Uri);
}

TEST_F(LineStatesDifferential, CorpusPlainTextUnderRandomEditsMatchesAFullScan) {
  SKIP_WITHOUT_CORPUS();
  THighlighters h;
  const std::string text = CorpusFile("help.de.cp1252.txt");
  RunEditsOver({{"help.de.cp1252.txt three times", text + text + text}}, h.Uri);
}

// Nothing is scanned at load; idle time then scans every line, a slice at a time.
TEST_F(LineStatesDifferential, IdleTimeScansToTheLastLineAfterALoad) {
  THighlighters h;
  const std::string text = Joined(testsupport::MixedPage(160 * 1024));
  Open("", h.Web);
  edit_->SetText(text);
  const TCodeEditStringList& lines = edit_->Lines();
  EXPECT_LT(lines.RangesScanned(&h.Web), lines.Count());
  ASSERT_TRUE(Application().ProcessMessagesUntil(
      [&] { return lines.RangesScanned(&h.Web) == lines.Count(); }, 20000));
  TStringList copy;
  copy.Assign(lines);
  const std::vector<TLineScan> full = FullScan(h.Web, copy);
  for (int i = 0; i < lines.Count(); ++i) EXPECT_EQ(lines.GetRange(i), full[i].End) << i;
}

TEST(LineEndSkip, EndsWhereTheTokenWalkEndsInGeneratedTexts) {
  std::mt19937 random(5);
  std::string pieces;
  for (int i = 0; i < 4000; ++i) pieces += kPieces[random() % std::size(kPieces)];
  std::vector<TSkipCase> cases = {
      {"random pieces", pieces, WebPick},
      {"random pieces", pieces, UriPick},
      {"prose with links", GeneratedProse(), UriPick},
      {"style text", Joined(testsupport::CssText(16 * 1024)),
       [](THighlighters& h) -> TCodeCustomHighlighter& { return h.Css; }},
      {"script text", Joined(testsupport::JScriptText(16 * 1024)),
       [](THighlighters& h) -> TCodeCustomHighlighter& { return h.Js; }},
      {"markup text", Joined(testsupport::HtmlText(16 * 1024)),
       [](THighlighters& h) -> TCodeCustomHighlighter& { return h.Html; }},
  };
  for (const auto& [name, text] : GeneratedPages()) cases.push_back({name, text, WebPick});
  ExpectSkipEndsWhereTheWalkEnds(cases);
}

TEST(LineEndSkip, EndsWhereTheTokenWalkEndsInCorpusFiles) {
  SKIP_WITHOUT_CORPUS();
  std::vector<TSkipCase> cases = {
      {"gitweb.css", CorpusFile("gitweb.css"),
       [](THighlighters& h) -> TCodeCustomHighlighter& { return h.Css; }},
      {"jquery.js", CorpusFile("jquery.js"),
       [](THighlighters& h) -> TCodeCustomHighlighter& { return h.Js; }},
      {"zlib.html", CorpusFile("zlib.html"),
       [](THighlighters& h) -> TCodeCustomHighlighter& { return h.Html; }},
      {"help.de.cp1252.txt", CorpusFile("help.de.cp1252.txt"), UriPick},
  };
  for (const char* name : {"underscore-docs.html", "python-policy.html", "zlib.html", "index.php",
                           "check_environment.php", "gitweb.js"})
    cases.push_back({name, CorpusFile(name), WebPick});
  ExpectSkipEndsWhereTheWalkEnds(cases);
}
