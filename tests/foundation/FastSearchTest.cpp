// Fast substring search and replace.
#include <gtest/gtest.h>
#include <cstring>
#include "foundation/FastSearch.h"
#include "rtl/Exception.h"
#include "rtl/SysUtils.h"

namespace {
int Pos(const std::string& Source, const std::string& Pattern, int Start) {
  return FastPos(Source.data(), Pattern.data(), static_cast<int>(Source.size()), Start,
                 static_cast<int>(Pattern.size()));
}
int Back(const std::string& Source, const std::string& Pattern, int Start) {
  return FastPosBack(Source.data(), Pattern.data(), static_cast<int>(Source.size()), Start,
                     static_cast<int>(Pattern.size()));
}

// A source, a pattern, the start position and the position the search must give (0: none).
struct SearchCase {
  std::string Source, Pattern;
  int Start, Expected;
};

using SearchFn = int (*)(const std::string&, const std::string&, int);

void ExpectFound(SearchFn Search, std::initializer_list<SearchCase> Cases) {
  for (const SearchCase& c : Cases) {
    SCOPED_TRACE("'" + c.Pattern + "' in '" + c.Source + "' from " + std::to_string(c.Start));
    EXPECT_EQ(Search(c.Source, c.Pattern, c.Start), c.Expected);
  }
}
}  // namespace

TEST(FastPos, FindsFirstOccurrenceFromTheStart) {
  ExpectFound(Pos, {
      {"abababa", "aba", 1, 1},
      {"abababa", "aba", 2, 3},
      {"abababa", "aba", 6, 0},
      {"xxxxabcabd", "abd", 1, 8},
      {"a", "a", 1, 1},
  });
}

TEST(FastPos, ShortSourcesAndEmptyPatternsGiveZero) {
  ExpectFound(Pos, {
      {"ab", "abc", 1, 0},
      {"abc", "", 1, 0},
      {"abcabc", "abc", 5, 0},
  });
}

TEST(FastPos, StartBelowOneIsRefusedInEveryBuild) {
  EXPECT_THROW(Pos("abc", "a", 0), ERangeError);
  EXPECT_THROW(FastPosNoCase("abc", "A", 3, -5, 1), ERangeError);
  EXPECT_THROW(FastFind("a", "abc", true, true, 0), ERangeError);
}

TEST(FastPos, ZeroBytesAreOrdinary) {
  const std::string source("a\0bc\0bd", 7);
  EXPECT_EQ(Pos(source, std::string("\0bd", 3), 1), 5);
  EXPECT_EQ(Pos(source, "bd", 1), 6);
}

TEST(FastPos, SkipTableLetsLaterOccurrencesWin) {
  TSkipTable table;
  MakeSkipTable("abca", 4, table);
  EXPECT_EQ(table[static_cast<unsigned char>('a')], 3u);
  EXPECT_EQ(table[static_cast<unsigned char>('b')], 2u);
  EXPECT_EQ(table[static_cast<unsigned char>('c')], 1u);
  EXPECT_EQ(table[static_cast<unsigned char>('z')], 4u);
  EXPECT_THROW(MakeSkipTable("", 0, table), Exception);
  EXPECT_THROW(MakeSkipTable("", -1, table), Exception);
}

TEST(FastPosNoCase, ComparesUpperCaseFormsOfTheLocale) {
  const std::string source = "x\xe4" "b";  // x a-umlaut b
  EXPECT_EQ(FastPosNoCase(source.data(), "\xc4" "B", 3, 1, 2), 2);
  EXPECT_EQ(FastPosNoCase("xxAbCabc", "ABC", 8, 1, 3), 3);
  EXPECT_EQ(FastPosNoCase("xxAbCabc", "ABC", 8, 4, 3), 6);
}

TEST(FastPosNoCase, SkipUsesTheUpperCaseOfTheSourceByte) {
  // With a skip by the raw byte, the lower-case 'b' under the window would jump past the match.
  EXPECT_EQ(FastPosNoCase("xaB", "AB", 3, 1, 2), 2);
  EXPECT_EQ(FastPosNoCase("xxxxbab", "BAB", 7, 1, 3), 5);
  EXPECT_EQ(FastPosNoCase("xyzzab", "ZAB", 6, 1, 3), 4);
  TSkipTable table;
  MakeSkipTableNoCase("ab", 2, table);
  EXPECT_EQ(table[static_cast<unsigned char>('A')], 1u);
  EXPECT_EQ(table[static_cast<unsigned char>('a')], 2u);
}

TEST(FastPosBack, FindsLastOccurrenceAtOrBeforeTheStart) {
  ExpectFound(Back, {
      {"abababa", "aba", 0, 5},
      {"abababa", "aba", 4, 3},
      {"abababa", "aba", 100, 5},
      {"abababa", "abc", 0, 0},
      {"ab", "abc", 0, 0},
      {"abc", "", 0, 0},
      {"abababa", "aba", -1, 0},  // nothing begins before position 1
  });
  EXPECT_EQ(FastPosBackNoCase("aBcabC", "ABC", 6, 0, 3), 4);
}

TEST(FastFind, DispatchesByDirectionAndCase) {
  EXPECT_EQ(FastFind("ab", "xabAB", true, true, 1), 2);
  EXPECT_EQ(FastFind("ab", "xabAB", false, false, 0), 4);
  EXPECT_EQ(FastFind("ab", "xabAB", true, false, 0), 2);
  EXPECT_EQ(FastFind("AB", "xabAB", false, true, 1), 2);
}

TEST(FastReplace, ReplacesFirstOrAll) {
  using F = TFastReplaceFlag;
  EXPECT_EQ(FastReplace("banana", "a", "xyz", {F::ReplaceAll}), "bxyznxyznxyz");
  EXPECT_EQ(FastReplace("banana", "a", "xyz", {}), "bxyznana");
  EXPECT_EQ(FastReplace("abAB", "AB", "c", {F::ReplaceAll, F::IgnoreCase}), "cc");
  EXPECT_EQ(FastReplace("xAbx", "ab", "--", {F::ReplaceAll, F::IgnoreCase}), "x--x");
  EXPECT_EQ(FastReplace("\xc4rger \xe4rger", "\xe4RGER", "Wut", {F::ReplaceAll, F::IgnoreCase}),
            "Wut Wut");  // the locale's umlaut in both cases
  EXPECT_EQ(FastReplace("aaaa", "aa", "b", {F::ReplaceAll}), "bb");
  EXPECT_EQ(FastReplace("abc", "", "x", {F::ReplaceAll}), "abc");
  EXPECT_EQ(FastReplace("", "a", "x", {F::ReplaceAll}), "");
  EXPECT_EQ(FastReplace("ab", "abc", "x", {F::ReplaceAll}), "ab");
}

TEST(FastReplace, ZeroByteDoesNotEndTheSource) {
  const std::string source("a\0a", 3);
  EXPECT_EQ(FastReplace(source, "a", "bb", {TFastReplaceFlag::ReplaceAll}),
            std::string("bb\0bb", 5));
}

TEST(FastReplace, SizesLongReplacementsOfLargeSourcesIn64Bits) {
  // 4 MB times 600 bytes overflows 32 bits; the first buffer is capped at ten times the source
  // and grows when the hits need more.
  std::string source(size_t(4) << 20, '.');
  for (size_t i = 0; i < source.size(); i += 1 << 20) source[i] = 'a';
  const std::string replacement(600, 'r');
  const std::string result = FastReplace(source, "a", replacement, {TFastReplaceFlag::ReplaceAll});
  EXPECT_EQ(result.size(), source.size() + 4 * (replacement.size() - 1));
  EXPECT_EQ(result.compare(0, 600, replacement), 0);
  const std::string dense(1000, 'a');
  EXPECT_EQ(FastReplace(dense, "a", replacement, {TFastReplaceFlag::ReplaceAll}).size(),
            dense.size() * replacement.size());
}
