#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>
#include "editor/CodeEdit.h"
#include "highlighters/CodeUniversalHighlighter.h"
#include "support/HighlighterContract.h"
#include "UniRules.h"

using namespace unirules;

namespace {

// Foreground colours that name what a token is.
constexpr TColor Plain = 1, Key = 2, Key2 = 3, Comment = 4, Line = 5, Str = 6, Block = 7,
                 Inner = 8, Paren = 9, Number = 10, Tag = 11, Word = 12;
using Tok = std::pair<std::string, TColor>;
using Toks = std::vector<Tok>;

// Root: case-insensitive keywords; ranges for comments, line comments, strings and blocks with
// nested parentheses.
std::string LanguageRules() {
  return "<Def><Fore>1</Fore></Def><Num><Fore>10</Fore></Num>\r\n" +
         Keywords("Keys", Key, "begin end Be b") + Keywords("More", Key2, "end") +
         SubRange("Comment", "/*", "*/", Comment) +
         SubRange("Line", "//", "", Line, "<CloseOnEol>True</CloseOnEol>") +
         SubRange("String", "&qt;", "&qt;", Str, "<CaseSensitive>True</CaseSensitive>") +
         SubRange("Block", "{", "}", Block,
                  "<CaseSensitive>TRUE</CaseSensitive>" + Keywords("Inner", Inner, "inner }") +
                      SubRange("Paren", "(", ")", Paren, "<CaseSensitive>True</CaseSensitive>")) +
         SubRange("Tag", "&lt;!--", "--&gt;", Tag) +
         SubRange("Word", "@", "", Word, "<CloseOnTerm>True</CloseOnTerm>");
}

class UniversalHighlighter : public ::testing::Test {
protected:
  void SetUp() override { Load(h, RuleFile(LanguageRules())); }

  // Tokens of Line from the current range, as text and foreground colour.
  Toks Scan(const std::string& Text) {
    h.SetLine(Text, 0);
    Toks result;
    while (!h.AtLineEnd()) {
      TCodeHighlighterAttributes* a = h.GetTokenAttribute();
      result.emplace_back(h.GetToken(), a ? a->Foreground() : -1);
      h.NextToken();
    }
    return result;
  }
  std::string RangeName() { return h.CurrentRange().Name(); }

  TCodeUniversalHighlighter h{nullptr};
};

TEST_F(UniversalHighlighter, KeywordsNeedADelimiterAfterThem) {
  EXPECT_EQ(Scan("begin;"), (Toks{{"begin", Key}, {";", Plain}}));
  EXPECT_EQ(Scan("beginning x"), (Toks{{"beginning", Plain}, {" ", Plain}, {"x", Plain}}));
  EXPECT_EQ(Scan("beg;"), (Toks{{"beg", Plain}, {";", Plain}}));
  EXPECT_EQ(Scan("begin"), (Toks{{"begin", Key}}));
}

TEST_F(UniversalHighlighter, CaseRuleOfTheRangeDecides) {
  EXPECT_EQ(Scan("BEGIN Begin"), (Toks{{"BEGIN", Key}, {" ", Plain}, {"Begin", Key}}));
  // A later group wins a word both contain.
  EXPECT_EQ(Scan("END")[0], (Tok{"END", Key2}));
  // In the case-sensitive block only the spelling as written matches; "}" is a keyword there
  // and still closes the block.
  h.ResetRange();
  Scan("{");
  EXPECT_EQ(Scan("inner INNER}"), (Toks{{"inner", Inner}, {" ", Block}, {"INNER", Block},
                                         {"}", Inner}}));
  EXPECT_EQ(RangeName(), "Root");
  // A line starting in the case-insensitive root is upper-cased as a whole.
  EXPECT_EQ(Scan("{inner"), (Toks{{"{", Block}, {"inner", Block}}));
}

TEST_F(UniversalHighlighter, TheLineFollowsTheCaseOfTheRangeItStartsIn) {
  h.ResetRange();
  Scan("{");
  EXPECT_EQ(RangeName(), "Block");
  // Started in the case-sensitive block the line is not folded: the root's folded keywords
  // then match only when written in capitals.
  EXPECT_EQ(Scan("} BEGIN begin"), (Toks{{"}", Inner}, {" ", Plain}, {"BEGIN", Key},
                                          {" ", Plain}, {"begin", Plain}}));
}

TEST_F(UniversalHighlighter, OneCharacterSymbolsAreKeptBesideLongerOnes) {
  // "Be" sorts before "b"; both fold to "B".
  EXPECT_EQ(Scan("b be x")[0], (Tok{"b", Key}));
  EXPECT_EQ(Scan("b be x")[2], (Tok{"be", Key}));
  EXPECT_EQ(Scan("bx")[0], (Tok{"bx", Plain}));
}

TEST_F(UniversalHighlighter, NumbersStandAlone) {
  EXPECT_EQ(Scan("123 45"), (Toks{{"123", Number}, {" ", Plain}, {"45", Number}}));
  EXPECT_EQ(Scan("123abc;"), (Toks{{"123abc", Plain}, {";", Plain}}));
  EXPECT_EQ(Scan("x1"), (Toks{{"x1", Plain}}));
}

TEST_F(UniversalHighlighter, RangesContinueOnTheNextLineUntilClosed) {
  h.ResetRange();
  EXPECT_EQ(Scan("a /* b"), (Toks{{"a", Plain}, {" ", Plain}, {"/*", Comment}, {" ", Comment},
                                  {"b", Comment}}));
  EXPECT_EQ(RangeName(), "Comment");
  EXPECT_EQ(Scan("begin"), (Toks{{"begin", Comment}}));
  // Closed at the line's first column.
  EXPECT_EQ(Scan("*/begin"), (Toks{{"*/", Comment}, {"begin", Key}}));
  EXPECT_EQ(RangeName(), "Root");
  // A symbol ending in a delimiter needs none after it.
  EXPECT_EQ(Scan("/*x*/"), (Toks{{"/*", Comment}, {"x", Comment}, {"*/", Comment}}));
  EXPECT_EQ(Scan("<!--a-->")[0], (Tok{"<!--", Tag}));
}

TEST_F(UniversalHighlighter, RangesClosingAtTheLineEndOrAtADelimiter) {
  h.ResetRange();
  EXPECT_EQ(Scan("x // begin"), (Toks{{"x", Plain}, {" ", Plain}, {"//", Line}, {" ", Line},
                                      {"begin", Line}}));
  EXPECT_EQ(RangeName(), "Root");
  EXPECT_EQ(Scan("@name begin"), (Toks{{"@", Word}, {"name", Word}, {" ", Plain},
                                       {"begin", Key}}));
  EXPECT_EQ(RangeName(), "Root");
  // An empty line ends at once, and still ends a range that closes at the line end.
  Scan("//");
  EXPECT_EQ(RangeName(), "Root");
  Scan("@");
  EXPECT_EQ(RangeName(), "Root");
  Scan("/*");
  h.SetLine("", 1);
  EXPECT_TRUE(h.AtLineEnd());
  EXPECT_EQ(RangeName(), "Comment");
}

TEST_F(UniversalHighlighter, NestedRangesReturnToTheirOwners) {
  h.ResetRange();
  EXPECT_EQ(Scan("{ ( inner"), (Toks{{"{", Block}, {" ", Block}, {"(", Paren}, {" ", Paren},
                                     {"inner", Paren}}));
  EXPECT_EQ(RangeName(), "Paren");
  EXPECT_EQ(Scan(") inner"), (Toks{{")", Paren}, {" ", Block}, {"inner", Inner}}));
  EXPECT_EQ(RangeName(), "Block");
  // A keyword spelled like the closing symbol still closes the range.
  EXPECT_EQ(Scan("}")[0].first, "}");
  EXPECT_EQ(RangeName(), "Root");
}

TEST_F(UniversalHighlighter, StringsAndEscapedSymbols) {
  h.ResetRange();
  EXPECT_EQ(Scan("\"begin\" end"), (Toks{{"\"", Str}, {"begin", Str}, {"\"", Str}, {" ", Plain},
                                          {"end", Key2}}));
}

TEST_F(UniversalHighlighter, MeetsTheContract) {
  std::vector<std::string> lines = {"begin /* a", "b */ end", "{ (", ")", "}", "// x", "",
                                    "@w", "\"s", "t\"", std::string("a\0b", 3), "123"};
  EXPECT_TRUE(testsupport::MeetsHighlighterContract(h, lines));
}

TEST_F(UniversalHighlighter, TheLineStateIsAnIndexIntoTheRangeTable) {
  // Root first, then every range before the ranges inside it.
  const std::vector<std::pair<std::string, TCodeHighlighterRange>> table = {
      {"Root", 0}, {"Comment", 1}, {"Line", 2}, {"String", 3}, {"Block", 4}, {"Paren", 5},
      {"Tag", 6}, {"Word", 7}};
  h.ResetRange();
  EXPECT_EQ(h.GetRange(), 0);
  Scan("/*");
  EXPECT_EQ(h.GetRange(), 1);
  h.ResetRange();
  Scan("{ (");
  EXPECT_EQ(h.GetRange(), 5);
  for (const auto& [name, index] : table) {
    h.SetRange(index);
    EXPECT_EQ(RangeName(), name) << index;
    EXPECT_EQ(h.GetRange(), index) << name;
  }
  // Anything else, a pointer-sized value too, is the root.
  for (TCodeHighlighterRange unknown :
       {TCodeHighlighterRange(-1), TCodeHighlighterRange(8), TCodeHighlighterRange(1) << 30,
        reinterpret_cast<TCodeHighlighterRange>(&h.Root())}) {
    h.SetRange(5);
    h.SetRange(unknown);
    EXPECT_EQ(RangeName(), "Root") << unknown;
    EXPECT_EQ(h.GetRange(), 0);
  }
}

TEST_F(UniversalHighlighter, AStateKeptFromOldRulesStaysAValidIndex) {
  h.ResetRange();
  Scan("{ (");
  TCodeHighlighterRange old = h.GetRange();
  Load(h, RuleFile(SubRange("Only", "/*", "*/", Comment)));
  EXPECT_EQ(h.GetRange(), 0) << "loading starts at the root";
  h.SetRange(old);
  EXPECT_EQ(RangeName(), "Root");
  EXPECT_EQ(Scan("/* x")[0], (Tok{"/*", Comment}));
  EXPECT_EQ(h.GetRange(), 1);
}

TEST_F(UniversalHighlighter, PreparingAgainKeepsEveryClosingSymbol) {
  // A sub-range prepared on its own before the root must not lose the closing symbol the root
  // puts into its list when it prepares the whole tree.
  Load(h, RuleFile(SubRange("Comment", "/*", "*/", Comment,
                            SubRange("Inner", "(", ")", Inner))));
  h.Root().Ranges(0)->Prepare(&h.Root());
  h.Root().Ranges(0)->Ranges(0)->Prepare(h.Root().Ranges(0));
  h.ResetRange();
  EXPECT_EQ(Scan("/* ( ) */ x"), (Toks{{"/*", Comment}, {" ", Comment}, {"(", Inner}, {" ", Inner},
                                       {")", Inner}, {" ", Comment}, {"*/", Comment},
                                       {" ", clNone}, {"x", clNone}}));
  EXPECT_EQ(RangeName(), "Root");
  // Preparing the prepared tree once more changes nothing.
  h.Root().Prepare(&h.Root());
  h.ResetRange();
  EXPECT_EQ(Scan("/* x */")[4], (Tok{"*/", Comment}));
  EXPECT_EQ(RangeName(), "Root");
}

TEST_F(UniversalHighlighter, ClassOperationsAndDefaults) {
  EXPECT_EQ(h.LanguageName(), "UniLenguage");
  h.ResetRange();
  for (int i = 0; i <= 4; ++i) EXPECT_EQ(h.GetDefaultAttribute(i), &h.Root().DefaultAttri());
  EXPECT_EQ(h.GetDefaultAttribute(5), nullptr);
  EXPECT_EQ(h.Root().DefaultAttri().Name(), "Default Packages");
  EXPECT_EQ(h.Root().NumberAttri().Name(), "Number");
  Scan("x");
  EXPECT_EQ(h.GetTokenKind(), 1);
  TCodeCharSet ident = h.GetIdentifierChars();
  EXPECT_TRUE(ident.test('a') && ident.test('_') && ident.test(0xE4));
  EXPECT_FALSE(ident.test(';') || ident.test(' ') || ident.test(0xA2) || ident.test(31));
  EXPECT_TRUE(h.IsKeyword("BEGIN"));
  EXPECT_FALSE(h.IsKeyword("inner"));
  EXPECT_FALSE(RegisterHighlighterClass(TCodeUniversalHighlighter::StaticClass()));
}

TEST(UniversalHighlighterRange, ConstructedDefaults) {
  TCodeRange r;
  EXPECT_FALSE(r.CaseSensitive());
  EXPECT_EQ(r.PrepareText("aB"), "aB") << "a new range keeps the case";
  r.SetCaseSensitive(false);
  EXPECT_EQ(r.PrepareText("aB\xE4"), "AB\xC4");
  EXPECT_FALSE(r.CloseOnTerm() || r.CloseOnEol());
  for (int c = 0; c < 256; ++c) {
    bool printable = c >= 33 && c <= 126;
    bool word = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                c == '_';
    EXPECT_EQ(r.TermSymbols().test(c), printable && !word) << c;
  }
}

TEST(UniversalHighlighterEmpty, ScansPlainWordsWithoutRules) {
  TCodeUniversalHighlighter h(nullptr);
  EXPECT_TRUE(testsupport::MeetsHighlighterContract(h, {"a b;c", "", "12"}));
  auto tokens = testsupport::ScanLine(h, "ab, 12", h.GetRange());
  ASSERT_EQ(tokens.size(), 4u);
  EXPECT_EQ(tokens[3].Attribute, &h.Root().NumberAttri());
}

}  // namespace

namespace {

// The user's path: an editor shows a file, then a rule file is loaded into its highlighter.
TEST(UniversalHighlighterInEditor, LoadingRulesRescansTheEditorsText) {
  TCodeUniversalHighlighter h(nullptr);
  TCodeEdit edit(nullptr);
  edit.SetHighlighter(&h);
  edit.SetText("x /* a\r\nbegin */ begin");
  Load(h, RuleFile(Keywords("Keys", 2, "begin") + SubRange("Comment", "/*", "*/", 4)));
  std::string token;
  TCodeHighlighterAttributes* attr = nullptr;
  ASSERT_TRUE(edit.GetHighlighterAttriAtRowCol({2, 2}, token, attr));
  EXPECT_EQ(token, "begin");
  EXPECT_EQ(attr->Foreground(), 4) << "the comment opened on line 1 goes on";
  ASSERT_TRUE(edit.GetHighlighterAttriAtRowCol({12, 2}, token, attr));
  EXPECT_EQ(attr->Foreground(), 2);
  edit.SetHighlighter(nullptr);
}

}  // namespace

namespace {

// One rule file that uses every option a range has: colours and styles, own delimiters, a
// keyword group, open and close symbols with and without AnyTerm, CloseOnTerm, CloseOnEol,
// both case rules, numbers and a nested range.
std::string EveryOptionRules() {
  return "<Def><Back>16777215</Back><Fore>1</Fore></Def><Num><Fore>10</Fore></Num>\r\n"
         "<DelimiterChars>;()</DelimiterChars><CaseSensitive>True</CaseSensitive>\r\n"
         "<KW Name=\"Keys\"><Attri><Fore>2</Fore><Style>B</Style></Attri><W>a-b</W><W>If</W></KW>\r\n"
         "<Range Name=\"Var\"><Def><Fore>3</Fore></Def><OpenSymbol>$</OpenSymbol>"
         "<AnyTerm>True</AnyTerm><CloseOnTerm>True</CloseOnTerm></Range>\r\n"
         "<Range Name=\"Word\"><Def><Fore>4</Fore></Def><OpenSymbol>@@</OpenSymbol>"
         "<AnyTerm>False</AnyTerm><CloseOnTerm>True</CloseOnTerm></Range>\r\n"
         "<Range Name=\"Line\"><Def><Fore>5</Fore></Def><Num><Fore>11</Fore></Num>"
         "<OpenSymbol>##</OpenSymbol><AnyTerm>True</AnyTerm><CloseOnEol>True</CloseOnEol>"
         "<CaseSensitive>False</CaseSensitive>\r\n"
         " <KW Name=\"Inner\"><Attri><Fore>6</Fore></Attri><W>end</W></KW>\r\n"
         " <Range Name=\"Paren\"><Def><Fore>7</Fore></Def><OpenSymbol>(</OpenSymbol>"
         "<CloseSymbol>)</CloseSymbol></Range>\r\n"
         "</Range>\r\n"
         "<Range Name=\"Block\"><Def><Fore>8</Fore></Def><OpenSymbol>{</OpenSymbol>"
         "<CloseSymbol>}</CloseSymbol><CaseSensitive>True</CaseSensitive></Range>";
}

class UniversalEveryOption : public ::testing::Test {
protected:
  void SetUp() override {
    Load(h, RuleFile(EveryOptionRules()));
    h.ResetRange();
  }
  // Scans on from the range the previous line ended in.
  Toks Scan(const std::string& Text) {
    h.SetLine(Text, 0);
    Toks result;
    for (; !h.AtLineEnd(); h.NextToken())
      result.emplace_back(h.GetToken(), h.GetTokenAttribute()->Foreground());
    return result;
  }
  TCodeUniversalHighlighter h{nullptr};
};

TEST_F(UniversalEveryOption, OwnDelimitersAndTheCaseRuleShapeKeywords) {
  // "-" is no delimiter here, so "a-b" is one word.
  EXPECT_EQ(Scan("a-b;a-bc If;if"), (Toks{{"a-b", 2}, {";", 1}, {"a-bc", 1}, {" ", 1}, {"If", 2},
                                          {";", 1}, {"if", 1}}));
  EXPECT_EQ(Scan("12;12x"), (Toks{{"12", 10}, {";", 1}, {"12x", 1}}));
  EXPECT_EQ(h.Root().SymbolGroups(0)->Attribs()->IntegerStyle(), 1);
  EXPECT_EQ(h.Root().DefaultAttri().Background(), 16777215);
}

TEST_F(UniversalEveryOption, AnyTermAndCloseOnTerm) {
  // AnyTerm: "$" opens whatever follows; CloseOnTerm ends the range at its first delimiter.
  EXPECT_EQ(Scan("$name;x"), (Toks{{"$", 3}, {"name", 3}, {";", 1}, {"x", 1}}));
  EXPECT_EQ(h.GetRange(), 0);
  // Without AnyTerm the opener needs a delimiter after it.
  EXPECT_EQ(Scan("@@ x @@x"), (Toks{{"@@", 4}, {" ", 1}, {"x", 1}, {" ", 1}, {"@@x", 1}}));
}

TEST_F(UniversalEveryOption, CloseOnEolNestingAndCaseOfTheInnerRange) {
  EXPECT_EQ(Scan("##END 12 (x) end"),
            (Toks{{"##", 5}, {"END", 6}, {" ", 5}, {"12", 11}, {" ", 5}, {"(", 7}, {"x", 7},
                  {")", 7}, {" ", 5}, {"end", 5}}))
      << "the line started in the case-sensitive root is not folded";
  EXPECT_EQ(h.GetRange(), 0) << "closed at the line end";
  EXPECT_EQ(Scan("## ("), (Toks{{"##", 5}, {" ", 5}, {"(", 7}}));
  EXPECT_EQ(h.CurrentRange().Name(), "Paren") << "only the range itself closes at the line end";
  EXPECT_EQ(Scan("end)"), (Toks{{"end", 7}, {")", 7}}));
  EXPECT_EQ(h.GetRange(), 0) << "back in the line range, which closes at this line's end";
}

TEST_F(UniversalEveryOption, ARangeGoesOnOverLinesUntilItsCloseSymbol) {
  EXPECT_EQ(Scan("{ a"), (Toks{{"{", 8}, {" ", 8}, {"a", 8}}));
  EXPECT_EQ(h.GetRange(), 5);
  EXPECT_EQ(Scan("If"), (Toks{{"If", 8}}));
  EXPECT_EQ(Scan("b } If"), (Toks{{"b", 8}, {" ", 8}, {"}", 8}, {" ", 1}, {"If", 2}}));
  EXPECT_EQ(h.GetRange(), 0);
  EXPECT_TRUE(testsupport::MeetsHighlighterContract(
      h, {"{ a", "", "b }", "## (", "x", ")", "$v", "@@ @@", "a-b If"}));
}

}  // namespace
