#include <gtest/gtest.h>
#include "foundation/fMain.h"
#include "rtl/SysUtils.h"
#include "CaseTable.h"

using casetable::ExpectEach;

namespace {
// A text, its separator, a 1-based field index and the field GetToken must give.
struct TokenCase {
  std::string Text, Separator;
  int Index;
  std::string Expected;
};

void ExpectTokens(std::initializer_list<TokenCase> Cases) {
  for (const TokenCase& c : Cases) {
    SCOPED_TRACE("field " + std::to_string(c.Index) + " of '" + c.Text + "' by '" + c.Separator +
                 "'");
    EXPECT_EQ(GetToken(c.Text, c.Separator, c.Index), c.Expected);
  }
}
}  // namespace

TEST(GetToken, TakesTheNthFieldCountingEmptyOnes) {
  ExpectTokens({
      {"a;b", ";", 1, "a"},
      {"a;b", ";", 2, "b"},
      {"a,,b", ",", 2, ""},
      {"a,,b", ",", 3, "b"},
      {"a<>b<>c", "<>", 3, "c"},
  });
}

TEST(GetToken, GivesEmptyOutsideTheFields) {
  ExpectTokens({
      {"a;b", ";", 3, ""},
      {"a;b", ";", 0, ""},
      {"a;b", "", 1, ""},
      {"", ";", 1, ""},
  });
  EXPECT_EQ(XmlGetToken("x\\y", "\\", 2), "y");
}

TEST(CountSubStr, CountsOverlappingOccurrences) {
  EXPECT_EQ(CountSubStr("aaaa", "aa"), 3);
  EXPECT_EQ(CountSubStr("abcabc", "bc"), 2);
  EXPECT_EQ(CountSubStr("abc", "abcd"), 0);
  EXPECT_EQ(CountSubStr("abc", ""), 0);
  EXPECT_EQ(CountSubStr("", "a"), 0);
}

TEST(CountSubStr, StopsAt65535) {
  EXPECT_EQ(CountSubStr(std::string(70000, 'x'), "x"), 65535);
}

TEST(CountWords, CountsRunsAboveTheBlank) {
  ExpectEach<int>(CountWords, {
      {"a b", 2},
      {"a", 1},
      {"   \t\r\n", 0},
      {" \xE4rger\tund\r\nmehr ", 3},
  });
}

TEST(ReplaceAll, NeverSearchesInsertedText) {
  EXPECT_EQ(ReplaceAll("aaa", "a", "aa", false), "aaaaaa");
  EXPECT_EQ(ReplaceAll("abcabc", "bc", "", false), "aa");
  EXPECT_EQ(ReplaceAll("abc", "", "x", false), "abc");
}

TEST(ReplaceAll, IgnoresCaseOfAsciiLettersOnly) {
  EXPECT_EQ(ReplaceAll("Foo fOO foo", "FOO", "x", true), "x x x");
  EXPECT_EQ(ReplaceAll("Foo", "foo", "x", false), "Foo");
  EXPECT_EQ(ReplaceAll("\xC4pfel \xE4pfel", "\xE4pfel", "x", true), "\xC4pfel x");
}

TEST(CharacterSets, FilterTestAndLocate) {
  EXPECT_TRUE(ContainsOnly("0110", "01"));
  EXPECT_FALSE(ContainsOnly("012", "01"));
  EXPECT_TRUE(ContainsOnly("", "01"));
  EXPECT_EQ(FilterChars("a1b2c3", "0123456789"), "123");
  EXPECT_EQ(FirstCharOf(",;", "ab;c,d"), 3);
  EXPECT_EQ(FirstCharOf(",;", "abc"), 0);
  EXPECT_EQ(ReplaceChar("a-b-c", '-', '+'), "a+b+c");
}

TEST(StrCopyFrom, TakesTheRestFromAOneBasedIndex) {
  EXPECT_EQ(StrCopyFrom("abcdef", 3), "cdef");
  EXPECT_EQ(StrCopyFrom("abc", 4), "");
  EXPECT_EQ(StrCopyFrom("abc", 1), "abc");
}

TEST(FirstLine, EndsAtTheFirstLineBreak) {
  ExpectEach(FirstLine, {
      {"one\r\ntwo", "one"},
      {"one\rtwo", "one"},
      {"one\ntwo", "one"},
      {"single", "single"},
  });
}

TEST(InvertCase, SwapsAsciiAndLatin1Letters) {
  EXPECT_EQ(InvertCase("aBc1"), "AbC1");
  EXPECT_EQ(InvertCase("\xC4\xE4\xDE\xFE"), "\xE4\xC4\xFE\xDE");
  // Multiplication and division signs, sharp s and y with diaeresis stay.
  EXPECT_EQ(InvertCase("\xD7\xF7\xDF\xFF"), "\xD7\xF7\xDF\xFF");
}

TEST(CompressWhitespace, MakesEachRunOneBlank) {
  EXPECT_EQ(CompressWhitespace("a \t\r\n b\x0B\x0C" "c"), "a b c");
  EXPECT_EQ(CompressWhitespace("  a  "), " a ");
}

TEST(Captions, StripAndEscapeAcceleratorMarks) {
  EXPECT_EQ(StripAccelChars("Save &As && Close"), "Save As & Close");
  EXPECT_EQ(StripAccelChars("a\x03" "b"), "a&b");
  EXPECT_EQ(EscapeCaption("R&D\r\nteam"), "R&&D team");
}

TEST(ShortenMiddle, KeepsBothEndsAroundTheFiller) {
  std::string text = "abcdefghijklmnopqrst";
  EXPECT_EQ(ShortenMiddle(text, "...", 10), "abc...rst");
  EXPECT_EQ(ShortenMiddle(text, "...", 20), text);
  EXPECT_EQ(ShortenMiddle(text, "...", 0), text);
}

TEST(ShortenMiddle, FillerLongerThanTheMaximumKeepsNoText) {
  EXPECT_EQ(ShortenMiddle("abcdefghij", "......", 2), "......");
  EXPECT_EQ(ShortenMiddle("abcdefghij", "...", 1), "...");
}

TEST(UnescapeText, ExpandsTheEscapes) {
  ExpectEach(UnescapeText, {
      {"a\\wb", "a\r\nb"},
      {"\\t\\n\\r\\\\", "\t\n\r\\"},
      {"\\c065", "A"},
      {"\\x41\\x6a", "Aj"},
      {"\\q", "q"},
      {"end\\", "end\\"},
  });
}

TEST(UnescapeText, OutOfRangeCodeIsReadAsText) {
  EXPECT_EQ(UnescapeText("\\c300x"), "c300x");
  EXPECT_EQ(UnescapeText("\\c-01x"), "c-01x");
}

TEST(UnescapeText, EscapesNearTheEndTakeWhatRemains) {
  ExpectEach(UnescapeText, {
      {"\\c65", "A"},
      {"a\\x4", "a"},
      {"a\\x", "a"},
  });
}

TEST(UnescapeText, MalformedCodeRaisesTheConversionError) {
  EXPECT_THROW(UnescapeText("\\cABC"), EConvertError);
  EXPECT_THROW(UnescapeText("\\c"), EConvertError);
}

TEST(WrapTextLines, BreaksAtTheLastBlankWithinTheWidth) {
  EXPECT_EQ(WrapTextLines("aaaa bbbb cccc", 10), "aaaa bbbb\r\ncccc\r\n");
  EXPECT_EQ(WrapTextLines("aaaa bbbb cccc", 9), "aaaa\r\nbbbb cccc\r\n");
  EXPECT_EQ(WrapTextLines("aa\tbb", 4), "aa\r\nbb\r\n");
}

TEST(WrapTextLines, CutsWordsLongerThanTheWidth) {
  EXPECT_EQ(WrapTextLines(std::string(25, 'x'), 10),
            std::string(10, 'x') + "\r\n" + std::string(10, 'x') + "\r\n" + std::string(5, 'x') + "\r\n");
}

TEST(WrapTextLines, KeepsShortLinesAndEndsEachWithCrLf) {
  EXPECT_EQ(WrapTextLines("one\ntwo\rthree", 10), "one\r\ntwo\r\nthree\r\n");
  EXPECT_EQ(WrapTextLines("long text here", 2), "long text here");
}

TEST(NumberText, OctalAndBinary) {
  EXPECT_EQ(IntToOct(8), "10");
  EXPECT_EQ(IntToOct(511), "777");
  EXPECT_EQ(IntToOct(0), "");
  EXPECT_EQ(IntToOct(-8), "");
  EXPECT_EQ(StrToBin("A"), "01000001");
  EXPECT_EQ(StrToBin("\xFF"), "11111111");
}
