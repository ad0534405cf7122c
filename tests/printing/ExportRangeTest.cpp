#include <gtest/gtest.h>
#include <climits>
#include <cstring>
#include "ExportTestSupport.h"
#include "printing/CodeEditExport.h"
#include "toolkit/Abort.h"

using exporttest::Lines;
using exporttest::TCharHighlighter;
using exporttest::TFakeClipboard;

namespace {
std::string StyleText(TFontStyles Styles) {
  std::string s;
  if (Styles.Contains(TFontStyle::fsBold)) s += "b";
  if (Styles.Contains(TFontStyle::fsItalic)) s += "i";
  if (Styles.Contains(TFontStyle::fsUnderline)) s += "u";
  if (Styles.Contains(TFontStyle::fsStrikeOut)) s += "s";
  return s;
}

std::string Flags(bool Background, bool Foreground, TFontStyles Styles) {
  return std::string(Background ? "B" : "") + (Foreground ? "F" : "") + StyleText(Styles);
}

// Writes the hook calls into the output: "<first:...>", "<end:...>", "<start:...>", "<last>",
// "|" for a line end, and "[" "]" as header and footer.
class TRecordingExporter : public TCodeCustomExporter {
public:
  using TCodeCustomExporter::TCodeCustomExporter;
  using TCodeCustomExporter::SetReplacement;

protected:
  void WriteAttributeEnd(bool B, bool F, TFontStyles S) override {
    AppendText("<end:" + Flags(B, F, S) + ">");
  }
  void WriteAttributeStart(bool B, bool F, TFontStyles S) override {
    AppendText("<start:" + Flags(B, F, S) + ">");
  }
  void WriteAfterLastAttribute() override { AppendText("<last>"); }
  void WriteBeforeFirstAttribute(bool B, bool F, TFontStyles S) override {
    AppendText("<first:" + Flags(B, F, S) + ">");
  }
  void WriteNewLine() override { AppendText("|"); }
  std::string GetFooterText() override { return "]"; }
  std::string GetHeaderText() override { return "["; }
};

// The text of the tokens only: every character plain.
struct TextFixture {
  TCharHighlighter Highlighter;
  TRecordingExporter Exporter{nullptr};
  TextFixture() { Exporter.SetHighlighter(&Highlighter); }
  std::string Text() const {
    std::string s = Exporter.Output();
    for (const char* hook : {"<first:>", "<last>"})
      for (size_t at; (at = s.find(hook)) != std::string::npos;) s.erase(at, strlen(hook));
    return s;
  }
};

constexpr int kMax = INT_MAX;
// Line first, as people read positions.
constexpr TBufferCoord At(int Line, int Char) { return BufferCoord(Char, Line); }
}  // namespace

TEST(ExportRange, TakesTheCharactersFromStartUpToStop) {
  const TStringList lines = Lines({"abcdef", "ghij", "kl"});
  struct Case {
    TBufferCoord Start, Stop;
    const char* Text;
  } cases[] = {
      // Line breaks go between lines: the text ends where the range ends.
      {At(1, 1), At(kMax, kMax), "[abcdef|ghij|kl]"},
      {At(1, 1), At(2, 1), "[abcdef|]"},        // the stop line cut before its first character
      {At(1, 1), At(1, 2), "[a]"},              // the first character alone
      {At(2, 3), At(2, 4), "[i]"},
      {At(2, 3), At(3, 1), "[ij|]"},
      {At(1, 7), At(2, 2), "[|g]"},             // from the end of a line
      {At(3, 2), At(3, 3), "[l]"},              // the last character alone
      {At(3, 2), At(9, 9), "[l]"},              // stop beyond the text clamps to its end
      {At(3, -5), At(3, 2), "[k]"},             // start char clamps to 1
      {At(2, 99), At(3, 3), "[|kl]"},           // start char clamps to the end of its line
  };
  for (const Case& c : cases) {
    TextFixture f;
    f.Exporter.ExportRange(&lines, c.Start, c.Stop);
    EXPECT_EQ(f.Text(), c.Text) << c.Start.Line << "," << c.Start.Char;
  }
  // A text ending in a line break has an empty last line: the break is exported.
  const TStringList endsInBreak = Lines({"ab", ""}), onlyABreak = Lines({"", ""});
  for (const auto& [text, exported] : {std::pair{&endsInBreak, "[ab|]"}, {&onlyABreak, "[|]"}}) {
    TextFixture f;
    f.Exporter.ExportAll(text);
    EXPECT_EQ(f.Text(), exported);
  }
}

TEST(ExportRange, InvalidOrEmptyRangeAbortsSilentlyAndKeepsThePreviousOutput) {
  const TStringList lines = Lines({"abcdef", "ghij", "kl"});
  const TStringList none;
  struct Case {
    const TStrings* Lines;
    TBufferCoord Start, Stop;
    const char* What;
  } cases[] = {
      {nullptr, At(1, 1), At(kMax, kMax), "no lines"},
      {&none, At(1, 1), At(kMax, kMax), "an empty list"},
      {&lines, At(0, 1), At(3, 1), "start line 0"},
      {&lines, At(-1, 1), At(3, 1), "negative start line"},
      {&lines, At(4, 1), At(5, 1), "start beyond the last line"},
      {&lines, At(3, 1), At(2, 1), "start line after stop line"},
      {&lines, At(2, 3), At(2, 3), "empty range"},
      {&lines, At(2, 4), At(2, 2), "start after stop on one line"},
      {&lines, At(3, 3), At(3, kMax), "at the end of the last line"},
  };
  for (const Case& c : cases) {
    TextFixture f;
    f.Exporter.ExportRange(&lines, At(1, 1), At(1, 2));
    const std::string before = f.Exporter.Output();
    EXPECT_THROW(f.Exporter.ExportRange(c.Lines, c.Start, c.Stop), EAbort) << c.What;
    EXPECT_EQ(f.Exporter.Output(), before) << c.What;
  }
  TRecordingExporter noHighlighter(nullptr);
  EXPECT_THROW(noHighlighter.ExportAll(&lines), EAbort);
  EXPECT_EQ(noHighlighter.Output(), "");
}

TEST(ExportRange, ScansFromTheFirstLineStateWithZeroBasedLineNumbers) {
  const TStringList lines = Lines({"a", "b", "c", "d"});
  TextFixture f;
  f.Exporter.ExportRange(&lines, At(3, 1), At(4, 1));
  EXPECT_EQ(f.Highlighter.Resets, 1);
  // The lines above the range are scanned for the state they leave, but not written.
  EXPECT_EQ(f.Highlighter.LineNumbers, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(f.Text(), "[c|]");
}

TEST(ApplyTokenAttribute, WritesOnlyWhatChangesBetweenTokens) {
  TCharHighlighter h;
  h.Define('n', "Normal", clNone);
  h.Define('k', "Black", clBlack);  // the font colour given as RGB: no change
  h.Define('b', "Bold", clNone, {TFontStyle::fsBold});
  h.Define('i', "BoldItalic", clNone, {TFontStyle::fsBold, TFontStyle::fsItalic});
  h.Define('r', "Red", clRed);
  h.Define('u', "RedUnder", clRed, {TFontStyle::fsUnderline});
  h.Define('g', "GreenBack", clNone, {}, clGreen);
  struct Case {
    const char* Line;
    bool UseBackground;
    const char* Output;
  } cases[] = {
      {"nn", false, "[<first:>nn|<last>]"},
      {"nk", false, "[<first:>nk|<last>]"},
      {"bb", false, "[<first:b>bb|<last>]"},
      {"bn", false, "[<first:b>b<end:b><start:>n|<last>]"},
      {"bi", false, "[<first:b>b<end:><start:i>i|<last>]"},
      {"in", false, "[<first:bi>i<end:bi><start:>n|<last>]"},
      {"nr", false, "[<first:>n<end:F><start:F>r|<last>]"},
      {"ru", false, "[<first:F>r<end:><start:u>u|<last>]"},
      {"un", false, "[<first:Fu>u<end:Fu><start:F>n|<last>]"},
      {"ng", false, "[<first:>ng|<last>]"},  // backgrounds count only with UseBackground
      {"ng", true, "[<first:>n<end:B><start:B>g|<last>]"},
      {"gn", true, "[<first:B>g<end:B><start:B>n|<last>]"},
      {"x", false, "[<first:>x|<last>]"},     // a token without attribute: defaults
      {"bx", false, "[<first:b>b<end:b><start:>x|<last>]"},
      {"", false, "[|]"},                     // no token: no attribute hooks at all
  };
  for (const Case& c : cases) {
    TRecordingExporter e(nullptr);
    e.SetHighlighter(&h);
    TFont font;
    font.SetName("Courier New");
    font.SetSize(10);
    font.SetColor(clBlack);
    e.SetFont(&font);
    e.SetColor(clWhite);
    e.SetUseBackground(c.UseBackground);
    const TStringList lines = Lines({c.Line, ""});
    e.ExportAll(&lines);
    EXPECT_EQ(e.Output(), c.Output) << c.Line;
  }
}

TEST(ApplyTokenAttribute, ComparesSystemColoursByTheirRgbValue) {
  TCharHighlighter h;
  h.Define('w', "WindowText", clWindowText);
  h.Define('k', "RgbOfWindowText", static_cast<TColor>(ColorToRGB(clWindowText)));
  TRecordingExporter e(nullptr);
  e.SetHighlighter(&h);  // the font colour stays clWindowText
  const TStringList lines = Lines({"wk"});
  e.ExportAll(&lines);
  EXPECT_EQ(e.Output(), "[<first:>wk<last>]");
}

TEST(CustomExporter, DefaultsAndRestoredDefaults) {
  TRecordingExporter e(nullptr);
  EXPECT_EQ(e.Title(), "Untitled");
  e.SetTitle("a.txt");
  EXPECT_EQ(e.Title(), "a.txt");
  e.SetTitle("");
  EXPECT_EQ(e.Title(), "Untitled");
  EXPECT_EQ(e.Color(), clWindow);
  EXPECT_EQ(e.ClipboardFormat(), static_cast<UINT>(CF_TEXT));
  EXPECT_EQ(e.FormatName(), "");
  TFont other("Arial", 14);
  other.SetColor(clRed);
  e.SetFont(&other);
  EXPECT_EQ(e.Font().Name(), "Arial");
  e.SetFont(nullptr);
  EXPECT_EQ(e.Font().Name(), "Courier New");
  EXPECT_EQ(e.Font().Size(), 10);
  EXPECT_EQ(e.Font().Color(), clWindowText);
  EXPECT_TRUE(e.Font().Style().Empty());
}

TEST(CustomExporter, ChangingExportAsTextOrHighlighterEmptiesTheOutput) {
  TCharHighlighter h;
  const TStringList lines = Lines({"ab"});
  TRecordingExporter e(nullptr);
  e.SetHighlighter(&h);
  e.ExportAll(&lines);
  e.SetExportAsText(false);  // unchanged: kept
  EXPECT_NE(e.Output(), "");
  e.SetExportAsText(true);
  EXPECT_EQ(e.Output(), "");
  e.ExportAll(&lines);
  e.SetHighlighter(&h);
  EXPECT_EQ(e.Output(), "");
}

TEST(CustomExporter, UseBackgroundTakesASetWhiteSpaceBackground) {
  TCharHighlighter h;
  h.WhiteSpace = h.Define(' ', "Space", clNone);
  TRecordingExporter e(nullptr);
  e.SetColor(clWhite);
  e.SetHighlighter(&h);
  e.SetUseBackground(true);
  EXPECT_EQ(e.Color(), clWhite);  // clNone stands for the exporter's own colour
  h.WhiteSpace->SetBackground(clYellow);
  e.SetHighlighter(&h);
  EXPECT_EQ(e.Color(), clYellow);
}

TEST(CustomExporter, ForgetsAHighlighterThatIsFreed) {
  TRecordingExporter e(nullptr);
  {
    TCharHighlighter h;
    e.SetHighlighter(&h);
  }
  EXPECT_EQ(e.Highlighter(), nullptr);
  const TStringList lines = Lines({"a"});
  EXPECT_THROW(e.ExportAll(&lines), EAbort);
}

TEST(CustomExporter, SavesTheWholeOutputToAStream) {
  TCharHighlighter h;
  const TStringList lines = Lines({std::string("a\0b", 3), "c"});
  TRecordingExporter e(nullptr);
  e.SetHighlighter(&h);
  e.ExportAll(&lines);
  TMemoryStream stream;
  e.SaveToStream(stream);
  EXPECT_EQ(stream.DataString(), std::string("[<first:>a\0b|c<last>]", 21));
}

TEST(CopyToClipboard, RefusedClipboardIsAnErrorAndAFailedStoreASilentAbort) {
  TFakeClipboard clipboard;
  TCharHighlighter h;
  const TStringList lines = Lines({"ab"});
  TRecordingExporter e(nullptr);
  e.SetHighlighter(&h);
  e.ExportAll(&lines);
  clipboard.RefuseOpen = true;
  try {
    e.CopyToClipboard();
    ADD_FAILURE() << "no error";
  } catch (const EAbort&) {
    ADD_FAILURE() << "a clipboard held by another program must be reported";
  } catch (const Exception& ex) {
    EXPECT_STREQ(ex.what(), "Cannot open clipboard");
  }
  clipboard.RefuseOpen = false;
  clipboard.RefuseStore = true;
  EXPECT_THROW(e.CopyToClipboard(), EAbort);
}
