#include <gtest/gtest.h>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>
#include "editor/CodeEditMiscProcs.h"
#include "foundation/Regex.h"
#include "foundation/RegexLocale.h"
#include "highlighters/CodeHighlighterCSS.h"
#include "highlighters/CodeHighlighterHtml.h"
#include "highlighters/CodeHighlighterJScript.h"
#include "highlighters/CodeHighlighterMulti.h"
#include "highlighters/CodeHighlighterPHP.h"
#include "highlighters/CodeHighlighterVBScript.h"
#include "rtl/Registry.h"
#include "support/RunawayMarkerLines.h"
#include "TokenList.h"

using testsupport::ScanToks;
using testsupport::Tok;
using testsupport::Toks;

namespace {

constexpr int Marker = 0;
constexpr int PHP = 0, CSS = 1, JS = 2, VBS = 3;  // scheme indexes
constexpr TCodeHighlighterRange HtmlText = 4;

// The standard packing: scheme number in bits 0-2, the scheme's range in bits 3-6, the
// default highlighter's range above.
TCodeHighlighterRange Packed(TCodeHighlighterRange Html, int Scheme = -1,
                             TCodeHighlighterRange Inner = 0) {
  if (Scheme < 0) return Html * 8;
  return (Html * 16 + Inner) * 8 + Scheme + 1;
}

class WebMixed : public ::testing::Test {
protected:
  WebMixed() { ConfigureWebMixed(multi, &html, &php, &css, &js, &vbs); }

  Toks Scan(const std::string& Line, TCodeHighlighterRange Range = Packed(HtmlText)) {
    return ScanToks(multi, Line, Range, &endRange);
  }
  TScheme& Scheme(int Index) { return *multi.Schemes().Items(Index); }

  TCodeHTMLHighlighter html{nullptr};
  TCodePHPHighlighter php{nullptr};
  TCodeCssHighlighter css{nullptr};
  TCodeJScriptHighlighter js{nullptr};
  TCodeVBScriptHighlighter vbs{nullptr};
  TCodeMultiHighlighter multi{nullptr};
  TCodeHighlighterRange endRange = -1;
};

// ---------------------------------------------------------------------------------------------
// Switching at markers

TEST_F(WebMixed, SwitchesIntoPhpAtItsMarkersAndBack) {
  EXPECT_EQ(Scan("a <?php echo 1; ?> b"),
            (Toks{{"a ", 7}, {"<?php", Marker}, {" ", 5}, {"echo", 2}, {" ", 5}, {"1", 4},
                  {";", 7}, {" ", 5}, {"?>", Marker}, {" b", 7}}));
  EXPECT_EQ(endRange, Packed(HtmlText));
  auto tokens = testsupport::ScanLine(multi, "a <?php echo 1; ?> b", Packed(HtmlText));
  EXPECT_EQ(tokens[0].Attribute, html.TextAttri());
  EXPECT_EQ(tokens[1].Attribute, Scheme(PHP).MarkerAttri());
  EXPECT_EQ(tokens[3].Attribute, php.KeyAttri());
  EXPECT_EQ(tokens[8].Attribute, Scheme(PHP).MarkerAttri());
  EXPECT_EQ(tokens[8].Pos, 16);
}

TEST_F(WebMixed, ContinuesAnOpenStylePassageOnTheNextLines) {
  EXPECT_EQ(Scan("x <STYLE type=\"text/css\">"),
            (Toks{{"x ", 7}, {"<STYLE type=\"text/css\">", Marker}}));
  EXPECT_EQ(endRange, Packed(HtmlText, CSS, 3));
  EXPECT_EQ(Scan("p { color: red }", endRange),
            (Toks{{"p ", 2}, {"{", 6}, {" ", 4}, {"color", 1}, {":", 6}, {" ", 4}, {"red ", 9},
                  {"}", 6}}));
  EXPECT_EQ(endRange, Packed(HtmlText, CSS, 3));
  EXPECT_EQ(Scan("h1 {", endRange), (Toks{{"h1 ", 2}, {"{", 6}}));
  EXPECT_EQ(endRange, Packed(HtmlText, CSS, 2));
  EXPECT_EQ(Scan("}</style><b>", endRange),
            (Toks{{"}", 6}, {"</style>", Marker}, {"<", 6}, {"b", 3}, {">", 6}}));
  EXPECT_EQ(endRange, Packed(HtmlText));
}

TEST_F(WebMixed, OpensTheFirstSchemeInOrderNotTheFirstMarkerInTheLine) {
  EXPECT_EQ(Scan("<style> <?php x ?>"),
            (Toks{{"<", 6}, {"style", 3}, {">", 6}, {" ", 7}, {"<?php", Marker}, {" ", 5},
                  {"x", 1}, {" ", 5}, {"?>", Marker}}));
}

TEST_F(WebMixed, TellsJavaScriptFromVBScriptByTheScriptTag) {
  auto js1 = testsupport::ScanLine(multi, "<script language=\"JavaScript\">var x</script>",
                                   Packed(HtmlText));
  ASSERT_EQ(js1.size(), 5u);
  EXPECT_EQ(js1[0].Attribute, Scheme(JS).MarkerAttri());
  EXPECT_EQ(js1[1].Text, "var");
  EXPECT_EQ(js1[1].Attribute, js.KeyAttri());
  EXPECT_EQ(js1[4].Text, "</script>");
  auto vbs1 = testsupport::ScanLine(multi, "<SCRIPT LANGUAGE=VBScript>Dim x</SCRIPT>",
                                    Packed(HtmlText));
  ASSERT_EQ(vbs1.size(), 5u);
  EXPECT_EQ(vbs1[0].Attribute, Scheme(VBS).MarkerAttri());
  EXPECT_EQ(vbs1[1].Attribute, vbs.KeyAttri());
  // A script without a language stays HTML.
  EXPECT_EQ(Scan("<script>x"), (Toks{{"<", 6}, {"script", 3}, {">", 6}, {"x", 7}}));
}

TEST_F(WebMixed, TakesMarkersAtTheFirstColumnAndAtTheLineEnd) {
  EXPECT_EQ(Scan("<?php"), (Toks{{"<?php", Marker}}));
  EXPECT_EQ(endRange, Packed(HtmlText, PHP, 0));
  EXPECT_EQ(Scan("$a ?>", endRange), (Toks{{"$a", 9}, {" ", 5}, {"?>", Marker}}));
  EXPECT_EQ(endRange, Packed(HtmlText));
  EXPECT_EQ(Scan("?>", Packed(HtmlText, PHP, 0)), (Toks{{"?>", Marker}}));
  EXPECT_EQ(Scan("<? x"), (Toks{{"<? ", Marker}, {"x", 1}}));
  EXPECT_EQ(Scan("<?php?>"), (Toks{{"<?php", Marker}, {"?>", Marker}}));
  EXPECT_EQ(endRange, Packed(HtmlText));
}

TEST_F(WebMixed, KeepsTheHtmlStateAcrossAPassage) {
  // A tag left waiting for a value before the passage takes the next word as the value.
  EXPECT_EQ(Scan("<a href=<?php x ?> id=1>"),
            (Toks{{"<", 6}, {"a", 3}, {" ", 5}, {"href", 2}, {"=", 6}, {"<?php", Marker},
                  {" ", 5}, {"x", 1}, {" ", 5}, {"?>", Marker}, {" ", 5}, {"id=1", 9},
                  {">", 6}}));
}

TEST_F(WebMixed, RestartsALineFromItsStoredStateWhateverWasScannedBefore) {
  multi.ResetRange();
  Scan("<?php /* open");
  const TCodeHighlighterRange stored = endRange;
  EXPECT_EQ(stored, Packed(HtmlText, PHP, 3));
  Scan("<style> p {");
  Scan("<!-- c");
  EXPECT_EQ(Scan("end */ ?>", stored), (Toks{{"end */", 0}, {" ", 5}, {"?>", Marker}}));
  EXPECT_EQ(endRange, Packed(HtmlText));
  // A state naming a scheme that does not exist is read as the default highlighter's.
  EXPECT_EQ(Scan("<p>", HtmlText * 8 + 7), (Toks{{"<", 6}, {"p", 3}, {">", 6}}));
}

TEST_F(WebMixed, MeetsTheHighlighterContractOverPagesOfEveryPassage) {
  EXPECT_TRUE(testsupport::MeetsHighlighterContract(
      multi, {"<?xml version=\"1.0\"?>", "<a href=\"<?php echo $u", "?>\">x</a>",
              "<style> p { /* one", "two", "three */ color: red; } <?php $x ?> q {",
              "margin: 0 }</style><script>var x</script>",
              "<script type=\"text/javascript\">if (a) /* c", "*/ b();</script>",
              "<script language=\"VBScript\">Dim s : s = \"a\"", "</script>", "<?php",
              "/* c", "d */ $a = \"{$b['k']}\";", "?>"}));
}

TEST_F(WebMixed, MeetsTheHighlighterContractOverAPage) {
  EXPECT_TRUE(testsupport::MeetsHighlighterContract(
      multi, {"<html><?php $a = \"x", "y $b\"; /* c", "*/ ?><style type=\"text/css\">",
              "p { /* note", "*/ color: red; /* more", "*/", "}",
              "</style><script type=\"text/javascript\">",
              "/* a", "*/ var s = 'x';", "</script><script language=vbscript>", "Dim x",
              "</script>", "<!-- end", "-->", "", "<?", "?>", "<p class=\"a", "b\">"}));
}

// ---------------------------------------------------------------------------------------------
// Schemes, markers and members

TEST_F(WebMixed, DropsAMarkerItsHandlerClearsOrShrinksToNothing) {
  Scheme(PHP).OnCheckStartMarker = [](TObject*, int&, int&, std::string& Text, int) {
    Text.clear();
  };
  multi.SetLine("a <?php b", 0);
  EXPECT_TRUE(multi.Markers().empty());
  Scheme(PHP).OnCheckStartMarker = [](TObject*, int&, int& Len, std::string&, int) { Len = 0; };
  multi.SetLine("a <?php b", 0);
  EXPECT_TRUE(multi.Markers().empty());
}

TEST_F(WebMixed, LetsAMarkerHandlerMoveAMarker) {
  struct Seen {
    TObject* Sender;
    int Pos, Len;
    std::string Text;
    int Line;
  };
  std::vector<Seen> seen;
  Scheme(PHP).OnCheckStartMarker = [&](TObject* Sender, int& Pos, int& Len, std::string& Text,
                                       int Line) {
    seen.push_back({Sender, Pos, Len, Text, Line});
    ++Pos, --Len, Text = "?php";
  };
  EXPECT_EQ(ScanToks(multi, "a <?php b", Packed(HtmlText), nullptr),
            (Toks{{"a ", 7}, {"<", 6}, {"?php", Marker}, {" ", 5}, {"b", 1}}));
  testsupport::ScanLine(multi, "<?php", Packed(HtmlText), nullptr, 42);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].Sender, &Scheme(PHP));
  EXPECT_EQ(seen[0].Pos, 3);
  EXPECT_EQ(seen[0].Len, 5);
  EXPECT_EQ(seen[0].Text, "<?php");
  EXPECT_EQ(seen[1].Pos, 1);
  EXPECT_EQ(seen[1].Line, 42);
}

TEST_F(WebMixed, NeverOpensASchemeWithoutAnEnabledHighlighterOrExpressions) {
  php.SetEnabled(false);
  EXPECT_EQ(Scan("<?php x ?>")[1], (Tok{"", 8}));  // HTML reads the "?" name
  php.SetEnabled(true);
  Scheme(PHP).SetEndExpr("");
  EXPECT_EQ(Scan("<?php x ?>")[0], (Tok{"<", 6}));
  Scheme(CSS).SetHighlighter(nullptr);
  EXPECT_EQ(Scan("<style>")[0], (Tok{"<", 6}));
}

TEST_F(WebMixed, StopsAtAnExpressionThatMatchesNothing) {
  // Empty matches at the start could be found again and again.
  Scheme(PHP).SetStartExpr("x*");
  Scheme(PHP).SetEndExpr("y*");
  EXPECT_EQ(Scan("ab"), (Toks{{"ab", 7}}));
  EXPECT_EQ(Scan("xxab"), (Toks{{"xx", Marker}, {"ab", 1}}));
}

TEST_F(WebMixed, EndsTheMarkerSearchAtAnEmptyMatchAnywhereInTheLine) {
  // An empty start marker inside the line must not open a passage that no marker shows.
  Scheme(PHP).SetStartExpr("\\b");
  EXPECT_EQ(Scan(" a ?> b"), (Toks{{" a ?> b", 7}}));
  EXPECT_TRUE(multi.Markers().empty());
  EXPECT_EQ(endRange, Packed(HtmlText));
}

TEST_F(WebMixed, FindsTheMarkersOfTheSchemeOrderOnEveryLine) {
  // The markers as the schemes' order defines them: search what is left of the line after
  // each marker, the first scheme matching anywhere in it opening.
  struct TRef {
    int Scheme, Pos, Len;
    bool Open;
    bool operator==(const TRef&) const = default;
  };
  auto reference = [&](const std::string& Line, int Current) {
    std::vector<TRef> markers;
    std::string rest = Line;
    int offset = 0;
    while (!rest.empty()) {
      int found = -1, pos = 0, len = 0;
      for (int i = 0; i < multi.Schemes().Count() && found < 0; ++i) {
        if (Current >= 0 && i != Current) continue;
        TRegex regex;
        regex.SetModifier(1, true);
        regex.SetExpression(Current >= 0 ? Scheme(i).EndExpr() : Scheme(i).StartExpr());
        if (regex.Exec(rest)) found = i, pos = regex.GetMatchPos(0), len = regex.GetMatchLen(0);
      }
      if (found < 0 || len < 1) break;
      markers.push_back({found, pos + offset, len, Current < 0});
      rest.erase(0, pos - 1 + len);
      offset += pos - 1 + len;
      Current = Current < 0 ? found : -1;
    }
    return markers;
  };
  // The main window's expressions, then expressions of every shape the search looks at before
  // it skips to a marker's first character: alternatives, classes, optional or repeated first
  // atoms, escapes, groups and letters of either case.
  const std::vector<std::pair<const char*, const char*>> expressionSets[] = {
      {},
      {{"a|<b", "\\?>"}, {"[<?]x", "x?<"}, {"B+c", "(<)y"}, {"\\.z", "q*\\?"}},
      {{"<[|]b", "</s>"}, {"<(a|b)", "\\?>"}, {"<+Y", ">"}, {"\\<z", "[]>]"}}};
  const char* pieces[] = {"<?php", "?>", "<style>", "</style>", "<STYLE type=x>", "</Style>",
                          "<script language=JavaScript>", "<script language=VBScript>",
                          "</script>", "<?", "<?=", " x ", "a", "<", ">", "\"", "/*", "<B",
                          "bBC", ".Z", "?X", "<Y", "q?"};
  unsigned seed = 12345;
  auto next = [&seed](unsigned Limit) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) % Limit;
  };
  for (const auto& expressions : expressionSets) {
    for (size_t i = 0; i < expressions.size(); ++i) {
      Scheme(static_cast<int>(i)).SetStartExpr(expressions[i].first);
      Scheme(static_cast<int>(i)).SetEndExpr(expressions[i].second);
    }
    for (int round = 0; round < 400; ++round) {
      std::string line;
      for (unsigned n = 1 + next(14); n > 0; --n) line += pieces[next(std::size(pieces))];
      const int current = static_cast<int>(next(5)) - 1;
      multi.SetRange(Packed(HtmlText, current));
      multi.SetLine(line, 0);
      std::vector<TRef> found;
      for (const TMarker& m : multi.Markers())
        found.push_back({m.fScheme, m.fStartPos, m.fMarkerLen, m.fIsOpenSymbol});
      ASSERT_EQ(found, reference(line, current)) << "'" << line << "' from scheme " << current;
    }
  }
}

TEST_F(WebMixed, TakesAMarkerSearchThatRunsOutOfStepsForNoMarker) {
  // No "script" follows a "j" here: the start marker is truly absent.
  for (const std::string& line :
       {testsupport::JsonScriptLine(), testsupport::EveryTwentyJScriptLine()}) {
    TCodeHighlighterRange htmlEnd = 0;
    const Toks htmlTokens = ScanToks(html, line, HtmlText, &htmlEnd);
    EXPECT_EQ(Scan(line), htmlTokens) << line.substr(0, 40);
    EXPECT_EQ(endRange, Packed(htmlEnd));
  }
  for (const std::string& line : testsupport::RunawayMarkerLines()) {
    // Markers found before the failed search stay.
    const Toks withPhp = Scan("<?php x ?>" + line);
    ASSERT_GE(withPhp.size(), 5u);
    EXPECT_EQ(withPhp[0], (Tok{"<?php", Marker}));
    EXPECT_EQ(withPhp[4], (Tok{"?>", Marker}));
  }
  // An end marker search that runs away leaves the line in its passage.
  Scheme(PHP).SetEndExpr("(a+)+#!");
  const std::string line = "#! " + std::string(40, 'a') + "#";
  TCodeHighlighterRange phpEnd = 0;
  const Toks phpTokens = ScanToks(php, line, 0, &phpEnd);
  EXPECT_EQ(Scan(line, Packed(HtmlText, PHP, 0)), phpTokens);
  EXPECT_EQ(endRange, Packed(HtmlText, PHP, phpEnd));
}

TEST_F(WebMixed, GivesAnEntityAtTheLineStartTheColoursOfTheHtmlHighlighter) {
  struct Case {
    const char* Line;
    const char* HtmlPart;  // the line up to its first marker
    const char* Entity;
  } cases[] = {{"&amp; x", "&amp; x", "&amp;"},
               {"&lt;b&gt;", "&lt;b&gt;", "&lt;"},
               {"&amp;<?php ?>", "&amp;", "&amp;"},
               {"&#65;x", "&#65;x", "&#65;"}};
  for (const Case& c : cases) {
    const Toks expected = ScanToks(html, c.HtmlPart, HtmlText);
    ASSERT_GE(expected.size(), 2u);
    EXPECT_EQ(expected[1], (Tok{c.Entity, 0})) << c.Line;
    const Toks tokens = Scan(c.Line);
    ASSERT_GE(tokens.size(), expected.size()) << c.Line;
    EXPECT_EQ(Toks(tokens.begin(), tokens.begin() + expected.size()), expected) << c.Line;
  }
}

TEST_F(WebMixed, ReturnsFromACommentOverLinesIntoTheBracesOfAStylePassage) {
  EXPECT_EQ(Scan("<style>p { /* note"),
            (Toks{{"<style>", Marker}, {"p ", 2}, {"{", 6}, {" ", 4}, {"/* note", 0}}));
  const TCodeHighlighterRange inComment = endRange;
  EXPECT_EQ(Scan("more", inComment), (Toks{{"more", 0}}));
  EXPECT_EQ(endRange, inComment);
  EXPECT_EQ(Scan("*/ color: red }</style>", inComment),
            (Toks{{"*/", 0}, {" ", 4}, {"color", 1}, {":", 6}, {" ", 4}, {"red ", 9},
                  {"}", 6}, {"</style>", Marker}}));
  EXPECT_EQ(endRange, Packed(HtmlText));
  // A comment outside braces returns outside them.
  Scan("<style>/* a");
  EXPECT_EQ(Scan("*/ p {", endRange), (Toks{{"*/", 0}, {" p ", 2}, {"{", 6}}));
}

TEST_F(WebMixed, ReadsAStateNamingNoUsableSchemeAsTheDefaultHighlighters) {
  // Stale states: schemes that do not exist, and one whose highlighter was switched off.
  for (TCodeHighlighterRange state : {HtmlText * 8 + 5, HtmlText * 8 + 6, HtmlText * 8 + 7}) {
    EXPECT_EQ(Scan("<p>", state), (Toks{{"<", 6}, {"p", 3}, {">", 6}})) << state;
    EXPECT_EQ(endRange, Packed(HtmlText)) << state;
  }
  css.SetEnabled(false);
  EXPECT_EQ(Scan("p {", Packed(HtmlText, CSS, 2)), (Toks{{"p {", 7}}));
  EXPECT_EQ(endRange, Packed(HtmlText));
}

TEST_F(WebMixed, RefusesItselfAsAMember) {
  try {
    multi.SetDefaultHighlighter(&multi);
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "A CodeMultiHighlighter cannot be its own DefaultHighlighter.");
  }
  EXPECT_EQ(multi.DefaultHighlighter(), &html);
  EXPECT_THROW(Scheme(PHP).SetHighlighter(&multi), Exception);
  EXPECT_EQ(Scheme(PHP).Highlighter(), &php);
}

TEST_F(WebMixed, RefusesAnInvalidExpressionAndKeepsTheOldOne) {
  struct Case {
    const char* Expr;
    const char* Message;  // the engine's, without its prefix
  } cases[] = {
      {"<style(", "ParseReg Unmatched ()"},
      {"a**", "Nested *?+"},
      {"[z-a]", "Invalid [] Range"},
  };
  for (const Case& c : cases) {
    try {
      Scheme(CSS).SetStartExpr(c.Expr);
      ADD_FAILURE() << c.Expr << ": no exception";
    } catch (const ERegex& e) {
      EXPECT_EQ(std::string(e.what()), "\"" + std::string(c.Expr) +
                                           "\" is not a valid Regular Expression.\rError (pos " +
                                           std::to_string(e.CompilerErrorPos()) + "): " +
                                           c.Message);
      EXPECT_LT(e.ErrorCode(), 1000);
    }
    EXPECT_EQ(Scheme(CSS).StartExpr(), "<style[^<]*>");
  }
}

TEST_F(WebMixed, NotifiesOnlyForChangedExpressionsBeyondLetterCase) {
  int changes = 0;
  struct Counter {
    int* n;
    void Changed(TObject*) { ++*n; }
  } counter{&changes};
  multi.AddAttributeChangeHook(TCodeNotifyMethod(&counter, &Counter::Changed));
  Scheme(CSS).SetEndExpr("</STYLE>");
  EXPECT_EQ(changes, 0);
  Scheme(CSS).SetEndExpr("</style >");
  EXPECT_EQ(changes, 1);
  Scheme(CSS).MarkerAttri()->SetForeground(clBlue);
  EXPECT_EQ(changes, 2);
  css.CommentAttri()->SetForeground(clOlive);
  EXPECT_EQ(changes, 3);
  multi.RemoveAttributeChangeHook(TCodeNotifyMethod(&counter, &Counter::Changed));
}

TEST_F(WebMixed, ForgetsAMemberThatIsDestroyed) {
  auto temporary = std::make_unique<TCodeJScriptHighlighter>(nullptr);
  Scheme(JS).SetHighlighter(temporary.get());
  auto other = std::make_unique<TCodeHTMLHighlighter>(nullptr);
  multi.SetDefaultHighlighter(other.get());
  temporary.reset();
  other.reset();
  EXPECT_EQ(Scheme(JS).Highlighter(), nullptr);
  EXPECT_EQ(multi.DefaultHighlighter(), nullptr);
  EXPECT_EQ(Scan("<script language=javascript>x"), (Toks{{"<script language=javascript>x", 0}}));
}

TEST_F(WebMixed, ListsMarkerAttributesThenTheDefaultThenEachSchemesAttributes) {
  const int count = 4 + html.GetAttributeCount() + php.GetAttributeCount() +
                    css.GetAttributeCount() + js.GetAttributeCount() + vbs.GetAttributeCount();
  ASSERT_EQ(multi.GetAttributeCount(), count);
  EXPECT_EQ(multi.GetAttribute(0), Scheme(PHP).MarkerAttri());
  EXPECT_EQ(multi.GetAttribute(3), Scheme(VBS).MarkerAttri());
  EXPECT_EQ(multi.GetAttribute(4), html.GetAttribute(0));
  EXPECT_EQ(multi.GetAttribute(4 + html.GetAttributeCount()), php.GetAttribute(0));
  EXPECT_EQ(multi.GetAttribute(count - 1), vbs.GetAttribute(vbs.GetAttributeCount() - 1));
  EXPECT_EQ(multi.GetAttribute(count), nullptr);
  EXPECT_EQ(multi.GetAttribute(-1), nullptr);
  Scheme(CSS).SetHighlighter(nullptr);
  EXPECT_EQ(multi.GetAttributeCount(), count - css.GetAttributeCount());
}

TEST_F(WebMixed, AnswersDefaultAttributesFromTheActiveMember) {
  Scan("x");
  EXPECT_EQ(multi.GetDefaultAttribute(0), html.CommentAttri());
  Scan("<?php");
  EXPECT_EQ(multi.GetDefaultAttribute(0), php.CommentAttri());
  EXPECT_EQ(multi.GetIdentifierChars(), php.GetIdentifierChars());
}

TEST_F(WebMixed, EnumeratesTheAttributesOfEveryMember) {
  std::vector<std::string> names;
  EnumHighlighterAttributes(
      &multi, true,
      [&](TCodeCustomHighlighter&, TCodeHighlighterAttributes&, const std::string& Name, void*) {
        names.push_back(Name);
        return true;
      },
      nullptr);
  ASSERT_FALSE(names.empty());
  EXPECT_EQ(names.front(), "html1.Comment");
  for (const char* name : {"php1.Variable", "css1.Property", "jscript1.Event", "vbscript1.Symbol"})
    EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
}

TEST_F(WebMixed, IsSetUpAsTheMainWindowsMixedHighlighter) {
  EXPECT_EQ(multi.DefaultLanguageName(), "HTML");
  EXPECT_EQ(multi.LanguageName(), "General Multi-Highlighter");
  ASSERT_EQ(multi.Schemes().Count(), 4);
  const char* names[] = {"PHP", "CSS", "JS", "VBS"};
  const TCodeCustomHighlighter* members[] = {&php, &css, &js, &vbs};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(Scheme(i).SchemeName(), names[i]);
    EXPECT_EQ(Scheme(i).Highlighter(), members[i]);
    EXPECT_FALSE(Scheme(i).CaseSensitive());
    EXPECT_EQ(Scheme(i).MarkerAttri()->Name(), "Marker");
    EXPECT_EQ(Scheme(i).MarkerAttri()->Background(), clNone);
    EXPECT_EQ(Scheme(i).MarkerAttri()->Foreground(), clRed);
    EXPECT_TRUE(Scheme(i).MarkerAttri()->Style().Empty());
  }
  EXPECT_EQ(Scheme(PHP).StartExpr(), "<\\?(php|\\W)");
  EXPECT_EQ(Scheme(JS).StartExpr(), "<script\\b[^<]*J[^<]*Script[^<]*>");
  EXPECT_EQ(Scheme(VBS).EndExpr(), "</script>");
  TSchemes fresh(nullptr);
  TScheme& plain = *fresh.Add();
  EXPECT_TRUE(plain.CaseSensitive());
  EXPECT_EQ(plain.MarkerAttri()->Background(), clYellow);
  EXPECT_EQ(plain.MarkerAttri()->Style(), TFontStyles{TFontStyle::fsBold});
}

// ---------------------------------------------------------------------------------------------
// Without a default highlighter, nested and custom states, storage

TEST(MultiHighlighter, TakesTheWholeLineAsOneTokenWithoutADefaultHighlighter) {
  TCodeMultiHighlighter multi(nullptr);
  auto tokens = testsupport::ScanLine(multi, "a <b> c", 0);
  ASSERT_EQ(tokens.size(), 1u);
  EXPECT_EQ(tokens[0].Text, "a <b> c");
  EXPECT_EQ(tokens[0].Attribute, nullptr);
  EXPECT_TRUE(testsupport::ScanLine(multi, "", 0).empty());
  EXPECT_EQ(multi.GetDefaultAttribute(0), nullptr);
}

// A marker expression keeps the case mapping it was compiled with; where a marker can begin
// follows the same one, so that a mapping installed later does not hide a match.
TEST(MultiHighlighter, LooksForMarkersWithTheCaseMappingOfTheirCompiledExpression) {
  TCodeHTMLHighlighter html(nullptr);
  TCodeCssHighlighter css(nullptr);
  TCodeMultiHighlighter multi(nullptr);
  multi.SetDefaultHighlighter(&html);
  TScheme* scheme = multi.Schemes().Add();
  scheme->SetCaseSensitive(false);
  scheme->SetStartExpr("Qz");
  scheme->SetEndExpr("Zq");
  scheme->SetHighlighter(&css);
  auto markers = [&](const std::string& Line) {
    std::vector<std::string> found;
    for (const auto& t : testsupport::ScanLine(multi, Line, Packed(HtmlText)))
      if (t.Attribute == scheme->MarkerAttri()) found.push_back(t.Text);
    return found;
  };
  ASSERT_EQ(markers("a qz b"), std::vector<std::string>{"qz"});
  struct TAsciiAgain {
    ~TAsciiAgain() { SetRegexCaseMapping(nullptr, nullptr); }
  } restore;
  auto same = [](unsigned char C) { return C; };
  SetRegexCaseMapping(same, same);  // no character has another case
  EXPECT_EQ(markers("a qz b"), std::vector<std::string>{"qz"});
  EXPECT_EQ(markers("a QZ b"), std::vector<std::string>{"QZ"});
}

TEST(MultiHighlighter, NestsAMultiHighlighterAsAScheme) {
  TCodeHTMLHighlighter html(nullptr);
  TCodePHPHighlighter php(nullptr);
  TCodeCssHighlighter css(nullptr);
  TCodeMultiHighlighter inner(nullptr), outer(nullptr);
  inner.SetDefaultHighlighter(&php);
  TScheme* style = inner.Schemes().Add();
  style->SetStartExpr("\\[css\\]");
  style->SetEndExpr("\\[/css\\]");
  style->SetHighlighter(&css);
  outer.SetDefaultHighlighter(&html);
  TScheme* code = outer.Schemes().Add();
  code->SetStartExpr("<\\?");
  code->SetEndExpr("\\?>");
  code->SetHighlighter(&inner);
  EXPECT_EQ(testsupport::ScanToks(outer, "<? $a [css] p {", outer.GetRange()),
            (Toks{{"<?", 0}, {" ", 5}, {"$a", 9}, {" ", 5}, {"[css]", 0}, {" p ", 2},
                  {"{", 6}}));
  EXPECT_TRUE(testsupport::MeetsHighlighterContract(
      outer, {"<p><? $a [css] p {", "color: red", "} [/css] $b", "?> <b>", "", "<? /* x", "*/?>"}));
}

TEST(MultiHighlighter, LeavesItsMembersQuietlyWhenDestroyed) {
  TCodeHTMLHighlighter html(nullptr);
  TCodeCssHighlighter css(nullptr);
  int changes = 0;
  struct Counter {
    int* n;
    void Changed(TObject*) { ++*n; }
  } counter{&changes};
  {
    TCodeMultiHighlighter multi(nullptr);
    multi.SetDefaultHighlighter(&html);
    multi.Schemes().Add()->SetHighlighter(&css);
    multi.AddAttributeChangeHook(TCodeNotifyMethod(&counter, &Counter::Changed));
  }
  EXPECT_EQ(changes, 0);
  // No hook of the destroyed highlighter is left behind in its members.
  css.CommentAttri()->SetForeground(clOlive);
  html.CommentAttri()->SetForeground(clOlive);
  EXPECT_EQ(changes, 0);
}

TEST(MultiHighlighter, AsksACustomRangeHandlerForTheState) {
  TCodeHTMLHighlighter html(nullptr);
  TCodeMultiHighlighter multi(nullptr);
  multi.SetDefaultHighlighter(&html);
  std::vector<TRangeOperation> calls;
  multi.SetOnCustomRange([&](TCodeMultiHighlighter* Sender, TRangeOperation Op,
                             TCodeHighlighterRange& Range) {
    calls.push_back(Op);
    if (Op == TRangeOperation::roGet) Range = Sender->DefaultHighlighter()->GetRange() + 100;
    else Sender->DefaultHighlighter()->SetRange(Range - 100);
  });
  multi.SetRange(101);
  EXPECT_EQ(html.GetRange(), 1);
  EXPECT_EQ(multi.GetRange(), 101);
  EXPECT_EQ(calls, (std::vector<TRangeOperation>{TRangeOperation::roSet, TRangeOperation::roGet}));
}

TEST_F(WebMixed, StoresAndLoadsItsMembersAndMarkersInTheRegistry) {
  const std::string key = "Software\\TarvolineTests\\WebMixed";
  TRegistry(HKEY_CURRENT_USER).DeleteKey(key);
  ASSERT_TRUE(multi.SaveToRegistry(HKEY_CURRENT_USER, key));
  TRegistry reg(HKEY_CURRENT_USER);
  EXPECT_TRUE(reg.KeyExists(key + "\\DefaultHighlighter\\Text"));
  EXPECT_TRUE(reg.KeyExists(key + "\\CSS\\Marker"));
  EXPECT_TRUE(reg.KeyExists(key + "\\CSS\\Property"));
  Scheme(CSS).MarkerAttri()->SetForeground(clLime);
  css.PropertyAttri()->SetForeground(clLime);
  html.TextAttri()->SetForeground(clLime);
  EXPECT_TRUE(multi.LoadFromRegistry(HKEY_CURRENT_USER, key));
  EXPECT_EQ(Scheme(CSS).MarkerAttri()->Foreground(), clRed);
  EXPECT_EQ(css.PropertyAttri()->Foreground(), clNone);
  EXPECT_EQ(html.TextAttri()->Foreground(), clNone);
  // A scheme without a name has no key of its own.
  multi.Schemes().Add()->SetHighlighter(&js);
  EXPECT_FALSE(multi.SaveToRegistry(HKEY_CURRENT_USER, key));
  TRegistry(HKEY_CURRENT_USER).DeleteKey("Software\\TarvolineTests");
}

}  // namespace
