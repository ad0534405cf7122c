#include <gtest/gtest.h>
#include <random>
#include <string>
#include <tuple>
#include <vector>
#include "highlighters/CodeUniversalHighlighter.h"
#include "rtl/SysUtils.h"
#include "support/HighlighterContract.h"
#include "support/TempFolder.h"
#include "UniRules.h"

using namespace unirules;

namespace {

// Every part of the format, with values that need escaping.
std::string FullRules() {
  return "<UniversalHighlighter>\r\n"
         " <ImportantInfo>\r\n  ****** read me ******\r\n </ImportantInfo>\r\n"
         " <Unknown Foo=\"bar\">\r\n"
         " <Info>\r\n"
         "  <General><Name>Mini &amp; &lt;Lang&gt;</Name><FileTypeName>Mini &qt;files&qt;"
         "</FileTypeName><Layout>Std</Layout></General>\r\n"
         "  <Author><Name>A. Author</Name><Email>a@b.de</Email><Web>www.b.de</Web>"
         "<Copyright>(c) A</Copyright><Company>Co</Company><Remark>none</Remark></Author>\r\n"
         "  <Version><Version>3</Version><Revision>14</Revision><Date>45000</Date>"
         "<Type>Beta</Type></Version>\r\n"
         "  <History><H>first &amp;lt; second</H><H>two</H></History>\r\n"
         "  <Sample><S>begin /* x */ end</S><S>&lt;tag&gt;</S></Sample>\r\n"
         " </Info>\r\n"
         " <Range Name=\"Main &amp; root\">\r\n"
         "  <Def><Back>16777215</Back><Fore>255</Fore><Style>UB</Style></Def>\r\n"
         "  <Num><Back>-16777201</Back><Fore>32768</Fore><Style>S</Style></Num>\r\n"
         "  <OpenSymbol></OpenSymbol><CloseSymbol></CloseSymbol>\r\n"
         "  <DelimiterChars>;,.&lt;&gt;&amp;&qt;()[]{}/*</DelimiterChars>\r\n"
         "  <AnyTerm>True</AnyTerm><CloseOnTerm>False</CloseOnTerm><CloseOnEol>False"
         "</CloseOnEol><CaseSensitive>False</CaseSensitive>\r\n"
         "  <KW Name=\"Reserved &lt;words&gt;\"><Attri><Back>0</Back><Fore>128</Fore>"
         "<Style>BI</Style></Attri><W>begin</W><W>end</W><W>&lt;&gt;</W></KW>\r\n"
         "  <Range Name=\"Comment\"><Def><Fore>8421504</Fore><Style>I</Style></Def>"
         "<OpenSymbol>/*</OpenSymbol><CloseSymbol>*/</CloseSymbol><AnyTerm>false</AnyTerm>"
         "<CaseSensitive>True</CaseSensitive>\r\n"
         "   <Range Name=\"Todo\"><OpenSymbol>TODO</OpenSymbol><CloseOnTerm>True</CloseOnTerm>"
         "</Range>\r\n"
         "  </Range>\r\n"
         " </Range>\r\n"
         " <copyright>whatever</copyright>\r\n"
         "</UniversalHighlighter>\r\n";
}

const std::vector<std::string> kProbeLines = {"begin /* TODO x */ end;", "<> 12 a12 (x)",
                                              "/* open", "still TODO; */ begin", ""};

// What a scan shows: text, colours and style of every token, and the end range's name.
std::vector<std::tuple<std::string, TColor, TColor, int>> Appearance(TCodeUniversalHighlighter& H) {
  std::vector<std::tuple<std::string, TColor, TColor, int>> result;
  H.ResetRange();
  for (const std::string& line : kProbeLines) {
    H.SetLine(line, 0);
    for (; !H.AtLineEnd(); H.NextToken()) {
      const TCodeHighlighterAttributes* a = H.GetTokenAttribute();
      result.emplace_back(H.GetToken(), a->Foreground(), a->Background(), a->IntegerStyle());
    }
    result.emplace_back(H.CurrentRange().Name(), 0, 0, 0);
  }
  return result;
}

std::string LoadError(const std::string& Text) {
  TCodeUniversalHighlighter h(nullptr);
  try {
    Load(h, Text);
  } catch (const ECodeRuleFileError& e) {
    return e.Message();
  }
  return "(loaded)";
}

TEST(RuleFile, ReadsEveryPart) {
  TCodeUniversalHighlighter h(nullptr);
  Load(h, FullRules());
  const TCodeUniInfo& info = h.Info();
  EXPECT_EQ(info.General.Name, "Mini & <Lang>");
  EXPECT_EQ(info.General.FileTypeName, "Mini \"files\"");
  EXPECT_EQ(info.Author.Web, "www.b.de");
  EXPECT_EQ(info.Author.Copyright, "(c) A");
  EXPECT_EQ(info.Version.Version, 3);
  EXPECT_EQ(info.Version.Revision, 14);
  EXPECT_EQ(info.Version.Date, 45000);
  EXPECT_EQ(info.Version.VersionType, 1);
  EXPECT_EQ(h.History().Count(), 2);
  EXPECT_EQ(h.History()[0], "first &lt; second");
  EXPECT_EQ(h.GetSampleText(), "begin /* x */ end\r\n<tag>\r\n");

  TCodeRange& root = h.Root();
  EXPECT_EQ(root.Name(), "Main & root");
  EXPECT_EQ(root.DefaultAttri().Background(), 16777215);
  EXPECT_EQ(root.DefaultAttri().Foreground(), 255);
  EXPECT_EQ(root.DefaultAttri().IntegerStyle(), 1 + 4);
  EXPECT_EQ(root.NumberAttri().Background(), -16777201);
  EXPECT_EQ(root.NumberAttri().IntegerStyle(), 8);
  EXPECT_EQ(root.TermSymbols(), CodeCharSet(";,.<>&\"()[]{}/*"));
  EXPECT_EQ(root.OpenSymbol().BrakeType, TSymbolBreakType::btAny);
  ASSERT_EQ(root.SymbolGroupCount(), 1);
  EXPECT_EQ(root.SymbolGroups(0)->Name(), "Reserved <words>");
  EXPECT_EQ(root.SymbolGroups(0)->Attribs()->Name(), "unknown");
  EXPECT_EQ(root.SymbolGroups(0)->KeywordsList().CommaText(), "begin,end,<>");
  ASSERT_EQ(root.RangeCount(), 1);
  TCodeRange& comment = *root.Ranges(0);
  EXPECT_EQ(comment.Name(), "Comment");
  EXPECT_EQ(comment.OpenSymbol().BrakeType, TSymbolBreakType::btTerm);
  EXPECT_TRUE(comment.CaseSensitive());
  ASSERT_EQ(comment.RangeCount(), 1);
  EXPECT_TRUE(comment.Ranges(0)->CloseOnTerm());
  EXPECT_FALSE(comment.Ranges(0)->CaseSensitive());
}

TEST(RuleFile, ValuesAreReadLeniently) {
  auto read = [](const std::string& RootContent) {
    auto h = std::make_unique<TCodeUniversalHighlighter>(nullptr);
    Load(*h, RuleFile(RootContent));
    return h;
  };
  EXPECT_TRUE(read("<CaseSensitive>TRUE</CaseSensitive>")->Root().CaseSensitive());
  EXPECT_FALSE(read("<CaseSensitive>yes</CaseSensitive>")->Root().CaseSensitive());
  EXPECT_EQ(read("<Def><Back>abc</Back></Def>")->Root().DefaultAttri().Background(), 0);
  EXPECT_EQ(read("<Def><Style>xbBqu S</Style></Def>")->Root().DefaultAttri().IntegerStyle(), 1 + 8);
  EXPECT_EQ(read("<Def><Style></Style></Def>")->Root().DefaultAttri().IntegerStyle(), 0);
  EXPECT_EQ(read("<DelimiterChars></DelimiterChars>")->Root().TermSymbols().count(), 0u);
  // Unknown escapes stay as written.
  EXPECT_EQ(read("<OpenSymbol>&x; &amp;lt;</OpenSymbol>")->Root().OpenSymbol().Name, "&x; &lt;");
  // Blanks inside tags.
  EXPECT_TRUE(read("<  CaseSensitive >True< /CaseSensitive >")->Root().CaseSensitive());
}

TEST(RuleFile, VersionTypes) {
  for (auto [text, type] : std::vector<std::pair<std::string, int>>{
           {"Beta", 1}, {"Release", 2}, {"Internal Test", 0}, {"beta", 0}, {"", 0}}) {
    TCodeUniversalHighlighter h(nullptr);
    Load(h, "<UniversalHighlighter><Info><Version><Type>" + text +
                "</Type></Version></Info></UniversalHighlighter>");
    EXPECT_EQ(h.Info().Version.VersionType, type) << text;
  }
}

TEST(RuleFile, SaveThenLoadGivesTheSameHighlighter) {
  TCodeUniversalHighlighter first(nullptr), second(nullptr);
  Load(first, FullRules());
  std::string saved = Save(first);
  Load(second, saved);
  EXPECT_EQ(Save(second), saved);
  EXPECT_EQ(Appearance(second), Appearance(first));
  EXPECT_EQ(second.Info().General.Name, "Mini & <Lang>");
  EXPECT_EQ(second.GetSampleText(), first.GetSampleText());
  EXPECT_EQ(second.History().Text(), first.History().Text());
  EXPECT_EQ(second.Root().Ranges(0)->Ranges(0)->Name(), "Todo");
}

TEST(RuleFile, SavedAfterScanningTheSameAsBefore) {
  // Preparing adds the fixed delimiters; they are not written.
  TCodeUniversalHighlighter h(nullptr);
  Load(h, FullRules());
  std::string before = Save(h);
  Appearance(h);
  EXPECT_EQ(Save(h), before);
}

TEST(RuleFile, WritesTheDocumentLayout) {
  TCodeUniversalHighlighter h(nullptr);
  Load(h, FullRules());
  std::vector<std::string> lines;
  std::string saved = Save(h);
  EXPECT_EQ(saved.find('\r'), std::string::npos) << "lines end in LF only";
  size_t start = 0;
  for (size_t lf; (lf = saved.find('\n', start)) != std::string::npos; start = lf + 1)
    lines.push_back(saved.substr(start, lf - start));
  auto has = [&](const std::string& Line) {
    return std::find(lines.begin(), lines.end(), Line) != lines.end();
  };
  EXPECT_EQ(lines.front(), "<UniversalHighlighter>");
  EXPECT_EQ(lines.back(), "</UniversalHighlighter>");
  EXPECT_EQ(lines[1], " <ImportantInfo>");
  EXPECT_EQ(lines[2], "  ******* Please read carefully *************************");
  EXPECT_EQ(lines[3], "  * Please, make any changes in this file very carefuly!*");
  EXPECT_EQ(lines[4], "  * It is much more convinient to use native designer!  *");
  EXPECT_EQ(lines[5], "  *******************************************************");
  EXPECT_TRUE(has(" <Info>"));
  EXPECT_TRUE(has("   <Name>Mini &amp; &lt;Lang&gt;</Name>"));
  EXPECT_TRUE(has("   <FileTypeName>Mini &qt;files&qt;</FileTypeName>"));
  EXPECT_TRUE(has("   <Type>Beta</Type>"));
  EXPECT_TRUE(has("   <H>first &amp;lt; second</H>"));
  EXPECT_TRUE(has(" <Range Name=\"Main &amp; root\">"));
  EXPECT_TRUE(has("   <Style>BU</Style>"));
  EXPECT_TRUE(has("   <Back>-16777201</Back>"));
  EXPECT_TRUE(has("  <DelimiterChars>&qt;&amp;()*,./;&lt;&gt;[]{}</DelimiterChars>"));
  EXPECT_TRUE(has("  <AnyTerm>True</AnyTerm>"));
  EXPECT_TRUE(has("  <KW Name=\"Reserved &lt;words&gt;\">"));
  EXPECT_TRUE(has("    <Style>BI</Style>"));
  EXPECT_TRUE(has("   <W>&lt;&gt;</W>"));
  EXPECT_TRUE(has("  <Range Name=\"Comment\">"));
  EXPECT_TRUE(has("   <CaseSensitive>True</CaseSensitive>"));
  EXPECT_TRUE(has("   <Range Name=\"Todo\">"));
  EXPECT_TRUE(has("    <CloseOnTerm>True</CloseOnTerm>"));
  EXPECT_TRUE(saved.find(" <CopyRight>") != std::string::npos);
}

TEST(RuleFile, DatesWithATimeAndUnsetBreakTypesSurviveARoundTrip) {
  TCodeUniversalHighlighter h(nullptr), again(nullptr);
  Load(h, RuleFile(SubRange("C", "/*", "*/", 4) + SubRange("W", "@@", "", 5)));
  h.Info().Version.Date = 45000.75;
  // "/*" ends in a delimiter: it needs none after it, also after saving and loading.
  Load(again, Save(h));
  EXPECT_DOUBLE_EQ(again.Info().Version.Date, 45000.75);
  EXPECT_EQ(again.Root().Ranges(0)->OpenSymbol().BrakeType, TSymbolBreakType::btAny);
  again.SetLine("/*x", 0);
  EXPECT_EQ(again.GetToken(), "/*");
  EXPECT_EQ(again.GetTokenAttribute()->Foreground(), 4);
}

TEST(RuleFile, TopLevelSkipsUnknownTagsAndOtherElements) {
  TCodeUniversalHighlighter h(nullptr);
  Load(h, "<UniversalHighlighter><ImportantInfo>x</ImportantInfo><Foo a=\"b\"><Range Name=\"R\">"
          "</Range><Web><CopyRight>c</CopyRight></UniversalHighlighter>trailing <junk");
  EXPECT_EQ(h.Root().Name(), "R");
  // A known element at the top level is passed over, but its closing tag ends the top level.
  EXPECT_EQ(LoadError("<UniversalHighlighter><Name>x</Name></UniversalHighlighter>"),
            "Closing tag: /UniversalHighlighter was not found. Line 0");
}

TEST(RuleFile, ErrorsNameTheLineWithCrLfAndWithLf) {
  // "~" stands for the line end; every case must fail alike with either.
  const std::string head = "<UniversalHighlighter>~ <Range Name=\"R\">~";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", "Highlighter header tag (\"<UniversalHighlighter>\") was not found."},
      {"plain text~", "Highlighter header tag (\"<UniversalHighlighter>\") was not found."},
      {"~<Range>", "Highlighter header tag (\"<UniversalHighlighter>\") was not found."},
      {"</UniversalHighlighter>", "Highlighter header tag (\"<UniversalHighlighter>\") was not found."},
      {"<UniversalHighlighter>~<Range Name=\"R\"~>", "Unexpected end of line. Line 1"},
      {"<UniversalHighlighter>~<Range Name=\"a~b\">", "Unexpected end of line. Line 1"},
      {"<UniversalHighlighter>~~<Range", "Unexpected end of line. Line 2"},
      {"<Universal~Highlighter>", "Unexpected end of line. Line 0"},
      {head + "<OpenSymbol>abc~</OpenSymbol>", "Unexpected end of line. Line 2"},
      {head + "<OpenSymbol>abc", "Unexpected end of line. Line 2"},
      {head + "~<Colour>1</Colour>", "Tag \"Colour\" is unknown (line 3)"},
      {head + "<OpenSymbol>a</CloseSymbol>", "Close tag: /OpenSymbol is not found. Line 2"},
      {head + "<OpenSymbol>a<W>", "Close tag: /OpenSymbol is not found. Line 2"},
      {head + "<CloseOnEol>True</CloseOnEol>~~<General>", "Unexpected tag: General line 4"},
      {head + "<W>x</W>", "Unexpected tag: W line 2"},
      {head + "</Info>", "Unexpected tag: /Info line 2"},
      {head + "<KW Name=\"k\">~<Back>1</Back>", "Unexpected tag: Back line 3"},
      {head + "<Def><W>", "Unexpected tag: W line 2"},
      {"<UniversalHighlighter>~<Info>~<Sample><H>x</H>", "Unexpected tag: H line 2"},
      {"<UniversalHighlighter>~<Info>~<Version><Name>", "Unexpected tag: Name line 2"},
      {"<UniversalHighlighter>~</Range>", "Closing tag: /UniversalHighlighter was not found. Line 1"},
      {"<UniversalHighlighter>~<Range Name=\"R", "Closing tag: /UniversalHighlighter was not found. Line 1"},
      {head, "Unexpected end of file: tag Range is not closed. Line 2"},
      {head + "<Range Name=\"S\">~</Range>~~", "Unexpected end of file: tag Range is not closed. Line 5"},
      {"<UniversalHighlighter>~", "Unexpected end of file: tag UniversalHighlighter is not closed. Line 1"},
  };
  for (const char* eol : {"\r\n", "\n", "\r"})
    for (const auto& [text, message] : cases) {
      std::string withEol = text;
      for (size_t at; (at = withEol.find('~')) != std::string::npos;) withEol.replace(at, 1, eol);
      EXPECT_EQ(LoadError(withEol), message) << text << " with " << (eol[1] ? "CR LF" : eol[0] == '\n' ? "LF" : "CR");
    }
}

TEST(RuleFile, EscapedCharactersSurviveEveryPlaceOfARoundTrip) {
  const std::vector<std::string> values = {"<", ">", "&", "\"", "a<b>&\"c", "&amp;", "&lt;&qt;",
                                           "&gt", "&", "<<>>", " \"&\" "};
  for (const std::string& v : values) {
    TCodeUniversalHighlighter h(nullptr), back(nullptr);
    h.Root().SetName(v);
    h.Info().General.Name = v;
    h.Info().General.FileTypeName = v;
    h.Info().Author.Remark = v;
    h.History().Add(v);
    h.Sample().Add(v);
    h.Root().SetTermSymbols(CodeCharSet(v));
    TCodeSymbolGroup* group = h.Root().AddSymbolGroup(v);
    group->KeywordsList().Add(v);
    TCodeRange* sub = h.Root().AddRange(v);
    sub->OpenSymbol().Name = v;
    sub->CloseSymbol().Name = v;
    const std::string saved = Save(h);
    Load(back, saved);
    EXPECT_EQ(back.Root().Name(), v);
    EXPECT_EQ(back.Info().General.Name, v);
    EXPECT_EQ(back.Info().General.FileTypeName, v);
    EXPECT_EQ(back.Info().Author.Remark, v);
    EXPECT_EQ(back.History()[0], v);
    EXPECT_EQ(back.Sample()[0], v);
    EXPECT_EQ(back.Root().TermSymbols(), CodeCharSet(v) & ~CodeCharSet(" ")) << v;
    ASSERT_EQ(back.Root().SymbolGroupCount(), 1);
    EXPECT_EQ(back.Root().SymbolGroups(0)->Name(), v);
    EXPECT_EQ(back.Root().SymbolGroups(0)->KeywordsList()[0], v);
    ASSERT_EQ(back.Root().RangeCount(), 1);
    EXPECT_EQ(back.Root().Ranges(0)->Name(), v);
    EXPECT_EQ(back.Root().Ranges(0)->OpenSymbol().Name, v);
    EXPECT_EQ(back.Root().Ranges(0)->CloseSymbol().Name, v);
    EXPECT_EQ(Save(back), saved) << v;
  }
}

TEST(RuleFile, DeepNestingIsRefused) {
  std::string deep = "<UniversalHighlighter><Range Name=\"R\">";
  for (int i = 0; i < 100; ++i) deep += "<Range Name=\"n\">";
  EXPECT_EQ(LoadError(deep), "Ranges are nested more than 100 deep. Line 0");
  // A hundred thousand, each on its line and properly closed: refused, no stack overflow.
  std::string huge = "<UniversalHighlighter>\n<Range Name=\"R\">\n";
  for (int i = 0; i < 100000; ++i) huge += "<Range Name=\"n\"><OpenSymbol>(</OpenSymbol>\n";
  for (int i = 0; i < 100000; ++i) huge += "</Range>\n";
  huge += "</Range>\n</UniversalHighlighter>\n";
  TCodeUniversalHighlighter h(nullptr);
  try {
    Load(h, huge);
    ADD_FAILURE() << "loaded";
  } catch (const ECodeRuleFileError& e) {
    EXPECT_EQ(e.Message(), "Ranges are nested more than 100 deep. Line 101");
  }
  // What was read before the refusal scans.
  EXPECT_TRUE(testsupport::MeetsHighlighterContract(h, {"((((", "x(", ""}));
  std::string fine = "<UniversalHighlighter><Range Name=\"R\">";
  for (int i = 0; i < 99; ++i) fine += "<Range>";
  for (int i = 0; i < 100; ++i) fine += "</Range>";
  EXPECT_EQ(LoadError(fine + "</UniversalHighlighter>"), "(loaded)");
}

TEST(RuleFile, AFailedLoadKeepsWhatWasReadAndTellsTheEditors) {
  TCodeUniversalHighlighter h(nullptr);
  int changes = 0;
  struct THook : TObject {
    int* Count;
    void Changed(TObject* Sender) { *Count += dynamic_cast<TCodeCustomHighlighter*>(Sender) ? 1 : 100; }
  } hook;
  hook.Count = &changes;
  h.AddAttributeChangeHook(CodeNotifyMethod(&hook, &THook::Changed));
  Load(h, RuleFile(Keywords("K", 2, "begin")));
  EXPECT_EQ(changes, 1);
  EXPECT_THROW(Load(h, "<UniversalHighlighter><Range Name=\"R\">" + Keywords("K", 3, "end") +
                           "<Bad>"),
               ECodeRuleFileError);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(h.Root().Name(), "R");
  auto tokens = testsupport::ScanLine(h, "end begin", h.GetRange());
  EXPECT_EQ(tokens[0].Attribute->Foreground(), 3);
  EXPECT_EQ(tokens[2].Attribute, &h.Root().DefaultAttri()) << "the old rules are gone";
  // A stream that cannot be read: the error goes on to the caller, the editors rescan.
  struct TUnreadable : TMemoryStream {
    int32_t Read(void*, int32_t) override { throw EStreamError("Stream read error"); }
  } unreadable;
  EXPECT_THROW(h.LoadFromStream(unreadable), EStreamError);
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(h.Root().SymbolGroupCount(), 0);
  EXPECT_EQ(h.GetRange(), 0);
  // Files that cannot be opened change no rules, and are load attempts all the same.
  Load(h, RuleFile(Keywords("K", 2, "begin")));
  EXPECT_THROW(h.LoadFromFile(""), ECodeRuleFileError);
  EXPECT_THROW(h.LoadFromFile("Z:\\no\\such\\folder\\rules.hgl"), EStreamError);
  EXPECT_EQ(changes, 6);
  EXPECT_EQ(h.Root().SymbolGroupCount(), 1);
  h.RemoveAttributeChangeHook(CodeNotifyMethod(&hook, &THook::Changed));
}

TEST(RuleFile, ALoadReplacesEverythingOfTheOldLanguage) {
  TCodeUniversalHighlighter h(nullptr);
  Load(h, FullRules());
  Load(h, "<UniversalHighlighter><Info><Sample><S>x</S></Sample></Info></UniversalHighlighter>");
  EXPECT_EQ(h.GetSampleText(), "x\r\n");
  EXPECT_EQ(h.History().Count(), 0);
  EXPECT_EQ(h.Info().General.Name, "");
  EXPECT_EQ(h.Root().RangeCount(), 0);
  EXPECT_EQ(h.Root().DefaultAttri().Foreground(), clNone);
  EXPECT_EQ(h.Root().Name(), "Root");
}

TEST(RuleFile, TruncatedAndDamagedFilesFailCleanly) {
  TCodeUniversalHighlighter source(nullptr);
  Load(source, FullRules());
  const std::string saved = Save(source);
  auto survives = [](const std::string& Text) {
    TCodeUniversalHighlighter h(nullptr);
    try {
      Load(h, Text);
    } catch (const ECodeRuleFileError&) {
    }
    return testsupport::MeetsHighlighterContract(h, kProbeLines);
  };
  // Every cut before the last ">" is refused; only the final line end may go missing.
  const size_t complete = saved.rfind('>') + 1;
  for (size_t n = 0; n <= saved.size(); ++n) {
    ASSERT_TRUE(survives(saved.substr(0, n))) << n;
    EXPECT_EQ(LoadError(saved.substr(0, n)) == "(loaded)", n >= complete) << n;
  }
  std::mt19937 random(7);
  const std::string specials = "<>/\"&\r\n \0x";
  for (int round = 0; round < 400; ++round) {
    std::string damaged = saved;
    for (int i = 0; i < 5; ++i)
      damaged[random() % damaged.size()] = specials[random() % specials.size()];
    ASSERT_TRUE(survives(damaged)) << round;
  }
  std::string garbage(3000, '\0');
  for (char& c : garbage) c = static_cast<char>(random());
  EXPECT_TRUE(survives("<UniversalHighlighter>" + garbage));
}

TEST(RuleFile, ManyGroupsReadInLinearTime) {
  // Written files end their lines in LF only: no parameter may make the reader search on.
  std::string rules = "<UniversalHighlighter>\n<Range Name=\"R\">\n";
  for (int i = 0; i < 40000; ++i) rules += "<KW Name=\"g\"><W>w" + std::to_string(i) + "</W></KW>\n";
  TCodeUniversalHighlighter h(nullptr);
  Load(h, rules + "</Range>\n</UniversalHighlighter>\n");
  EXPECT_EQ(h.Root().SymbolGroupCount(), 40000);
  auto tokens = testsupport::ScanLine(h, "w39999 w4", h.GetRange());
  EXPECT_EQ(tokens[0].Attribute, h.Root().SymbolGroups(39999)->Attribs());
}

TEST(RuleFile, AHugeKeywordIsNoProblem) {
  TCodeUniversalHighlighter h(nullptr);
  std::string word(1000000, 'k');
  Load(h, RuleFile("<KW Name=\"k\"><W>" + word + "</W></KW>"));
  auto tokens = testsupport::ScanLine(h, word + " x", h.GetRange());
  ASSERT_EQ(tokens.size(), 3u);
  EXPECT_EQ(tokens[0].Attribute, h.Root().SymbolGroups(0)->Attribs());
}

TEST(RuleFile, LoadsFromAFileAndThroughTheSyntaxProperty) {
  testsupport::TempFolder folder;
  folder.Write("mini.hgl", FullRules());
  TCodeUniversalHighlighter h(nullptr);
  h.LoadFromFile(folder.File("mini.hgl"));
  EXPECT_EQ(h.Root().Name(), "Main & root");
  EXPECT_TRUE(h.IsSyntaxStored());
  try {
    h.LoadFromFile("");
    ADD_FAILURE() << "an empty name loads nothing";
  } catch (const ECodeRuleFileError& e) {
    EXPECT_EQ(e.Message(), "FileName is empty");
  }
  EXPECT_THROW(h.LoadFromFile(folder.File("missing.hgl")), EStreamError);

  TCodeUniversalHighlighter copy(nullptr);
  EXPECT_FALSE(copy.IsSyntaxStored());
  copy.SetSyntax(h.Syntax());
  EXPECT_EQ(copy.Syntax(), h.Syntax());
}

}  // namespace
