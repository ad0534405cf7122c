// Tab expansion, character scanning, attribute enumeration, gradients and built-in images.
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>
#include "editor/CodeEditHighlighter.h"
#include "editor/CodeEditMiscClasses.h"
#include "editor/CodeEditMiscProcs.h"
#include "editor/MemoryCanvas.h"
#include "editor/TestCommentHighlighter.h"

using namespace std::string_literals;

TEST(TabExpansion, FillsTabsUpToTheNextMultipleOfTheWidth) {
  bool hasTabs = false;
  EXPECT_EQ(GetTabExpanderProcEx(4)("a\tbc\td", 4, hasTabs), "a\t\t\tbc\t\td");
  EXPECT_TRUE(hasTabs);
  EXPECT_EQ(GetTabExpanderProc(3)("\tab\t", 3), "\t\t\tab\t");  // not a power of two
  EXPECT_EQ(GetTabExpanderProc(1)("a\tb", 1), "a b");
  EXPECT_EQ(GetTabExpanderProcEx(8)("no tabs", 8, hasTabs), "no tabs");
  EXPECT_FALSE(hasTabs);
}

TEST(TabExpansion, ExpandedLengthCountsTheSameColumns) {
  for (int width : {1, 2, 3, 4, 5, 8}) {
    for (const std::string& text : {"a\tbc\td"s, "\t\t"s, "abc"s, ""s, "abcdefgh\tx"s})
      EXPECT_EQ(ExpandedLength(text, width),
                static_cast<int>(GetTabExpanderProc(width)(text, width).size()))
          << "width " << width << " text " << text;
  }
}

// The tab search passes four bytes at a time: tabs at every offset of a step and at the last
// byte, in texts longer and shorter than a step.
TEST(TabExpansion, AllFormsAgreeWhereverTheTabsStand) {
  std::vector<std::string> texts = {""s, "\t"s, "abc"s, "abcdefghijklmnop"s};
  for (size_t at = 0; at < 13; ++at) {
    std::string text(13, 'x');
    text[at] = '\t';
    texts.push_back(text);
    texts.push_back(text + "\t\t" + text.substr(0, at));
  }
  std::string into = "stale";
  for (int width = 1; width <= 9; ++width) {
    for (const std::string& text : texts) {
      SCOPED_TRACE("width " + std::to_string(width) + " text " + testing::PrintToString(text));
      bool hasTabs = false, lengthSawTabs = false;
      const std::string expanded = GetTabExpanderProcEx(width)(text, width, hasTabs);
      EXPECT_EQ(hasTabs, text.find('\t') != std::string::npos);
      EXPECT_EQ(ExpandedLength(text, width, lengthSawTabs), static_cast<int>(expanded.size()));
      EXPECT_EQ(lengthSawTabs, hasTabs);  // also where a tab takes one column only
      ExpandTabsInto(text, width, into);
      EXPECT_EQ(into, expanded);
    }
  }
}

TEST(TabExpansion, CharIndexToColumnCountsTabsAndPositionsPastTheEnd) {
  EXPECT_EQ(CharIndexToColumn("a\tb", 1, 4), 1);
  EXPECT_EQ(CharIndexToColumn("a\tb", 2, 4), 2);  // the tab itself
  EXPECT_EQ(CharIndexToColumn("a\tb", 3, 4), 5);  // after the tab
  EXPECT_EQ(CharIndexToColumn("a\tb", 6, 4), 8);  // two past the end
  EXPECT_EQ(CharIndexToColumn("\t", 2, 1), 2);
}

// The reverse gives the character whose columns reach a column: a column inside a tab gives
// the tab; every position maps back to itself.
TEST(TabExpansion, ColumnToCharIndexIsTheReverseOfCharIndexToColumn) {
  EXPECT_EQ(ColumnToCharIndex("a\tb", 1, 4), 1);
  EXPECT_EQ(ColumnToCharIndex("a\tb", 3, 4), 2);  // inside the tab
  EXPECT_EQ(ColumnToCharIndex("a\tb", 4, 4), 2);
  EXPECT_EQ(ColumnToCharIndex("a\tb", 5, 4), 3);
  EXPECT_EQ(ColumnToCharIndex("a\tb", 8, 4), 6);  // two past the end
  EXPECT_EQ(ColumnToCharIndex("", 3, 4), 3);
  for (const char* line : {"", "abc", "\t\tx", "a\tbc\t\td", "\t"})
    for (int width : {1, 3, 4, 8})
      for (int i = 1; i <= static_cast<int>(std::strlen(line)) + 3; ++i)
        EXPECT_EQ(ColumnToCharIndex(line, CharIndexToColumn(line, i, width), width), i)
            << line << " width " << width << " position " << i;
}

namespace {
// A made-up double-byte code page: bytes 0x81..0x9F start a two-byte character.
bool FakeLeadByte(unsigned char B) { return B >= 0x81 && B <= 0x9F; }

TCodeCharSet256 SetOf(const std::string& Chars) {
  TCodeCharSet256 s;
  for (unsigned char c : Chars) s.set(c);
  return s;
}
}  // namespace

TEST(CharScanning, FindsSetMembersForwardAndBackward) {
  const std::string line = "ab,cd;ef";
  EXPECT_EQ(ScanForCharInSet(line, 1, SetOf(",;"), nullptr), 3);
  EXPECT_EQ(ScanForCharInSet(line, 4, SetOf(",;"), nullptr), 6);
  EXPECT_EQ(ScanForCharInSet(line, 7, SetOf(",;"), nullptr), 0);
  EXPECT_EQ(ReverseScanForCharInSet(line, 8, SetOf(",;"), nullptr), 6);
  EXPECT_EQ(ReverseScanForCharInSet(line, 5, SetOf(",;"), nullptr), 3);
  EXPECT_EQ(ReverseScanForCharInSet(line, 2, SetOf(",;"), nullptr), 0);
}

TEST(CharScanning, StepsOverDoubleByteCharacters) {
  // "\x81," is one double-byte character whose trail byte looks like a comma.
  const std::string line = "a\x81,b,c";
  EXPECT_EQ(ScanForCharInSet(line, 1, SetOf(","), FakeLeadByte), 5);
  EXPECT_EQ(ScanForCharInSet(line, 1, SetOf(","), nullptr), 3);
  EXPECT_EQ(ReverseScanForCharInSet(line, 4, SetOf(","), FakeLeadByte), 0);
  EXPECT_EQ(ReverseScanForCharInSet(line, 6, SetOf(","), FakeLeadByte), 5);
}

TEST(CharScanning, LeadBytesOnlyWithALeadByteTest) {
  const std::string line = "a\x81\x82" "b\x90\x41";
  EXPECT_EQ(ScanForLeadByte(line, 1, FakeLeadByte), 2);
  EXPECT_EQ(ScanForLeadByte(line, 3, FakeLeadByte), 5);  // 3 is the trail byte of 2
  EXPECT_EQ(ReverseScanForLeadByte(line, 4, FakeLeadByte), 2);
  EXPECT_EQ(ReverseScanForLeadByte(line, 6, FakeLeadByte), 5);
  EXPECT_EQ(ScanForLeadByte(line, 1, nullptr), 0);
  EXPECT_EQ(ReverseScanForLeadByte(line, 6, nullptr), 0);
  // Western code page 1252: no lead bytes at all.
  EXPECT_EQ(ScanForLeadByte(line, 1), 0);
}

TEST(CharScanning, FindLineEndStopsAtNulLfOrCr) {
  EXPECT_EQ(FindLineEnd("abc\r\ndef"), 3u);
  EXPECT_EQ(FindLineEnd("ab\ncd"), 2u);
  EXPECT_EQ(FindLineEnd(std::string("a\0b", 3)), 1u);
  EXPECT_EQ(FindLineEnd("abc"), 3u);
}

TEST(CharType3, ClassifiesByFlagsWithWidth) {
  EXPECT_EQ(ClassifyCharType3(C3_ALPHA | C3_HALFWIDTH), TCodeCharType3::ctAlphaHalf);
  EXPECT_EQ(ClassifyCharType3(C3_ALPHA | C3_FULLWIDTH), TCodeCharType3::ctAlphaFull);
  EXPECT_EQ(ClassifyCharType3(C3_KATAKANA | C3_ALPHA | C3_FULLWIDTH),
            TCodeCharType3::ctKatakanaFull);
  EXPECT_EQ(ClassifyCharType3(C3_HIRAGANA | C3_ALPHA | C3_FULLWIDTH), TCodeCharType3::ctHiragana);
  EXPECT_EQ(ClassifyCharType3(C3_IDEOGRAPH | C3_ALPHA), TCodeCharType3::ctIdeograph);
  EXPECT_EQ(ClassifyCharType3(C3_SYMBOL | C3_FULLWIDTH), TCodeCharType3::ctSymbolFull);
  EXPECT_EQ(ClassifyCharType3(C3_NONSPACING), TCodeCharType3::ctMark);
  EXPECT_EQ(ClassifyCharType3(0), TCodeCharType3::ctOther);
  EXPECT_EQ(ClassifyCharType3(CharType3Flags("A")), TCodeCharType3::ctAlphaHalf);
}

namespace {
// The test highlighter under another class name.
template <const char* ClassNameText>
class TNamedHighlighter : public TCodeTestHighlighter {
public:
  using TCodeTestHighlighter::TCodeTestHighlighter;
  static const TCodeHighlighterClass& StaticClass() {
    static const TCodeHighlighterClass info{ClassNameText, &TCodeTestHighlighter::StaticClass(),
                                            &TCodeTestHighlighter::GetLanguageName,
                                            &TCodeTestHighlighter::GetCapabilities};
    return info;
  }
  const TCodeHighlighterClass& ClassType() const override { return StaticClass(); }
};
constexpr char kXmlSample[] = "TXmlSampleHighlighter";
using TXmlSampleHighlighter = TNamedHighlighter<kXmlSample>;

// Collects the unique names; stops after Limit calls.
struct NameCollector {
  std::vector<std::string> names;
  size_t limit = 1000;
  TCodeHighlighterAttriProc Proc() {
    return [this](TCodeCustomHighlighter&, TCodeHighlighterAttributes&, const std::string& Name,
                  void* Params) {
      EXPECT_EQ(Params, this);
      names.push_back(Name);
      return names.size() < limit;
    };
  }
};

// A composite for the tests: the test highlighter whose Tag says it contains others.
std::vector<TCodeCustomHighlighter*> gContained;
TCodeCustomHighlighter* gComposite = nullptr;
bool TestContained(TCodeCustomHighlighter& H, std::vector<TCodeCustomHighlighter*>& Contained) {
  if (&H != gComposite) return false;
  Contained = gContained;
  return true;
}
}  // namespace

TEST(EnumHighlighterAttributes, NothingWithoutHighlighterOrCallback) {
  TCodeTestHighlighter h(nullptr);
  NameCollector c;
  EXPECT_FALSE(EnumHighlighterAttributes(nullptr, false, c.Proc(), &c));
  EXPECT_FALSE(EnumHighlighterAttributes(&h, false, nullptr, &c));
  EXPECT_TRUE(c.names.empty());
}

TEST(EnumHighlighterAttributes, NamesAreClassNameNumberAndAttributeName) {
  TCodeTestHighlighter h(nullptr);
  TXmlSampleHighlighter x(nullptr);
  NameCollector c;
  EXPECT_TRUE(EnumHighlighterAttributes(&h, false, c.Proc(), &c));
  EXPECT_TRUE(EnumHighlighterAttributes(&x, false, c.Proc(), &c));
  EXPECT_EQ(c.names, (std::vector<std::string>{
                         "test1.Comment", "test1.Identifier", "test1.Reserved Word",
                         "test1.Space", "test1.Symbol", "xmlsample1.Comment",
                         "xmlsample1.Identifier", "xmlsample1.Reserved Word",
                         "xmlsample1.Space", "xmlsample1.Symbol"}));
}

namespace {
constexpr char kUpperCasePrefix[] = "TCODEPlainHighlighter";
constexpr char kLowerCaseT[] = "tinyHighlighter";
constexpr char kHighlighterInside[] = "THighlighterTestbed";
}  // namespace

TEST(EnumHighlighterAttributes, NameDropsPrefixAndTrailingHighlighterOnly) {
  TNamedHighlighter<kUpperCasePrefix> upper(nullptr);
  TNamedHighlighter<kLowerCaseT> lowerT(nullptr);
  TNamedHighlighter<kHighlighterInside> inside(nullptr);
  NameCollector c;
  c.limit = 1;
  EnumHighlighterAttributes(&upper, false, c.Proc(), &c);
  EnumHighlighterAttributes(&lowerT, false, c.Proc(), &c);  // only a capital "T" is a prefix
  EnumHighlighterAttributes(&inside, false, c.Proc(), &c);
  EXPECT_EQ(c.names, (std::vector<std::string>{"plain1.Comment", "tiny1.Comment",
                                               "highlightertestbed1.Comment"}));
}

TEST(EnumHighlighterAttributes, StopsWhenTheCallbackSaysSo) {
  TCodeTestHighlighter h(nullptr);
  NameCollector c;
  c.limit = 2;
  EXPECT_FALSE(EnumHighlighterAttributes(&h, false, c.Proc(), &c));
  EXPECT_EQ(c.names.size(), 2u);
}

TEST(EnumHighlighterAttributes, EntersCompositesAndCountsPerClass) {
  TCodeTestHighlighter outer(nullptr), first(nullptr), second(nullptr);
  TXmlSampleHighlighter xml(nullptr);
  gComposite = &outer;
  gContained = {&first, &xml, nullptr, &second, &first};
  RegisterContainedHighlighters(TestContained);

  NameCollector all;
  EnumHighlighterAttributes(&outer, false, all.Proc(), &all);
  NameCollector once;
  EnumHighlighterAttributes(&outer, true, once.Proc(), &once);
  RegisterContainedHighlighters(nullptr);

  // The composite's own attributes are not listed; "first" appears twice unless skipped.
  ASSERT_EQ(all.names.size(), 20u);
  EXPECT_EQ(all.names[0], "test1.Comment");
  EXPECT_EQ(all.names[5], "xmlsample1.Comment");
  EXPECT_EQ(all.names[10], "test2.Comment");
  EXPECT_EQ(all.names[15], "test3.Comment");
  ASSERT_EQ(once.names.size(), 15u);
  EXPECT_EQ(once.names[10], "test2.Comment");
}

TEST(EnumHighlighterAttributes, CompositeInsideItselfIsNotEnteredAgain) {
  TCodeTestHighlighter outer(nullptr), member(nullptr);
  gComposite = &outer;
  gContained = {&outer, &member};
  RegisterContainedHighlighters(TestContained);
  NameCollector c;
  bool result = EnumHighlighterAttributes(&outer, false, c.Proc(), &c);
  RegisterContainedHighlighters(nullptr);

  EXPECT_TRUE(result);
  ASSERT_EQ(c.names.size(), 5u);
  EXPECT_EQ(c.names[0], "test1.Comment");
}

TEST(PaintGradient, BandsRunFromStartToEndColour) {
  TMemoryCanvas canvas(40, 10);
  canvas.Fill(RGB(1, 2, 3));
  RECT r = {0, 0, 40, 10};
  PaintGradient(canvas.DC(), clBlack, clWhite, true, r, 4);
  EXPECT_EQ(canvas.Pixel(0, 5), RGB(0, 0, 0));
  EXPECT_EQ(canvas.Pixel(10, 5), RGB(85, 85, 85));
  EXPECT_EQ(canvas.Pixel(20, 5), RGB(170, 170, 170));
  EXPECT_EQ(canvas.Pixel(39, 5), RGB(255, 255, 255));
}

TEST(PaintGradient, OneStepIsDrawnAsTwoVerticalBands) {
  TMemoryCanvas canvas(10, 40);
  RECT r = {0, 0, 10, 40};
  PaintGradient(canvas.DC(), clRed, clBlue, false, r, 1);
  EXPECT_EQ(canvas.Pixel(5, 19), RGB(255, 0, 0));
  EXPECT_EQ(canvas.Pixel(5, 20), RGB(0, 0, 255));
}

TEST(BuiltInImages, WrapGlyphIsDrawnTransparentlyInPureGreen) {
  TCodeGlyph glyph(GetModuleHandleA(nullptr), "CodeEditWrapped", 0x00FF00);
  ASSERT_GT(glyph.Width(), 0);
  TMemoryCanvas canvas(40, 40);
  canvas.Fill(RGB(255, 0, 0));
  glyph.Draw(canvas.DC(), 0, 0, 40);
  bool sawInk = false, sawGreen = false;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < glyph.Width(); ++x) {
      COLORREF p = canvas.Pixel(x, y);
      sawGreen |= p == RGB(0, 255, 0);
      sawInk |= p != RGB(255, 0, 0);
    }
  EXPECT_TRUE(sawInk);
  EXPECT_FALSE(sawGreen);
}

TEST(BuiltInImages, UserGlyphReplacesTheInternalOne) {
  TCodeGlyph glyph(GetModuleHandleA(nullptr), "CodeEditWrapped", 0x00FF00);
  int changes = 0;
  glyph.OnChange = [&](TObject*) { ++changes; };
  TBitmap user;
  HDC screen = GetDC(nullptr);
  user.SetHandle(CreateCompatibleBitmap(screen, 5, 30));
  ReleaseDC(nullptr, screen);
  glyph.SetGlyph(user);
  EXPECT_EQ(glyph.Width(), 5);
  EXPECT_EQ(glyph.Height(), 30);
  EXPECT_EQ(changes, 1);
}

TEST(BuiltInImages, BookmarkStripHasTenImagesCutOrCentredInTheLine) {
  TCodeInternalImage images(GetModuleHandleA(nullptr), "CodeEditInternalImages", 10);
  ASSERT_EQ(images.ImageWidth(), 12);
  ASSERT_EQ(images.ImageHeight(), 14);
  const COLORREF bg = RGB(0, 0, 255);
  TMemoryCanvas canvas(60, 40);

  canvas.Fill(bg);
  images.Draw(canvas.DC(), 3, 0, 0, 10);  // taller than the line: rows 2..11
  EXPECT_EQ(canvas.Pixel(1, 0), RGB(0, 0, 0));  // border at row 2 of the image
  EXPECT_FALSE(canvas.AnyPixelOtherThan(bg, 0, 10, 12, 40));

  canvas.Fill(bg);
  images.Draw(canvas.DC(), 3, 0, 0, 20);  // shorter: centred, 3 rows down
  EXPECT_FALSE(canvas.AnyPixelOtherThan(bg, 0, 0, 12, 3));
  EXPECT_EQ(canvas.Pixel(1, 4), RGB(0, 0, 0));
  EXPECT_FALSE(canvas.AnyPixelOtherThan(bg, 0, 17, 12, 40));
}

TEST(BuiltInImages, NumbersOutsideTheStripDrawNothing) {
  TCodeInternalImage images(GetModuleHandleA(nullptr), "CodeEditInternalImages", 10);
  TMemoryCanvas canvas(40, 20);
  canvas.Fill(RGB(0, 0, 255));
  images.Draw(canvas.DC(), 10, 0, 0, 20);
  images.Draw(canvas.DC(), -1, 0, 0, 20);
  EXPECT_FALSE(canvas.AnyPixelOtherThan(RGB(0, 0, 255), 0, 0, 40, 20));
}

TEST(BuiltInImages, UsersOfOneNameShareTheBitmapUntilTheLastIsGone) {
  auto first = std::make_unique<TCodeInternalImage>(GetModuleHandleA(nullptr),
                                                    "CodeEditInternalImages", 10);
  TCodeInternalImage second(GetModuleHandleA(nullptr), "codeeditinternalimages", 10);
  first.reset();
  TMemoryCanvas canvas(20, 20);
  canvas.Fill(RGB(0, 0, 255));
  second.Draw(canvas.DC(), 0, 0, 0, 14);
  EXPECT_EQ(canvas.Pixel(1, 1), RGB(0, 0, 0));
}
