#include <gtest/gtest.h>
#include <cstdint>
#include <string>
#include "highlighters/CodeHighlighterHashEntries.h"

namespace {

TEST(HashCharTable, MapsBothCasesOfALetterToItsPlaceInTheAlphabet) {
  TCodeHashCharTable table = MakeHashCharTable({{'_', 31}});
  EXPECT_EQ(table['A'], 1);
  EXPECT_EQ(table['a'], 1);
  EXPECT_EQ(table['Z'], 26);
  EXPECT_EQ(table['z'], 26);
  EXPECT_EQ(table['_'], 31);
  EXPECT_EQ(table['0'], 0);
  EXPECT_EQ(table['@'], 0);
  EXPECT_EQ(table['['], 0);
  EXPECT_EQ(table[0xE4], 0);  // a letter of the code page, not of the table
}

TEST(HashIdentifier, SumsTheRunOfIdentifierCharactersAndReportsItsLength) {
  TCodeHashCharTable table = MakeHashCharTable({{'_', 31}});
  TCodeIdentCharTable ident = MakeIdentCharTable();
  int length = -1;
  EXPECT_EQ(HashIdentifier(table, ident, "If_9(x)", length), 9 + 6 + 31);
  EXPECT_EQ(length, 4);
  EXPECT_EQ(HashIdentifier(table, ident, "\xE4x", length), 0);
  EXPECT_EQ(length, 0);
}

TEST(HashIdentifier, ClampsHugeSumsInsteadOfWrapping) {
  EXPECT_EQ(ClampHash(int64_t(1) << 40), INT32_MAX);
  EXPECT_EQ(ClampHash(250), 250);
}

TEST(KeyComp, ComparesThroughTheTableSoCaseDoesNotMatter) {
  TCodeHashCharTable table = MakeHashCharTable({});
  EXPECT_TRUE(KeyComp(table, "While", "wHILE(", 5));
  EXPECT_FALSE(KeyComp(table, "While", "whilst", 5));
  EXPECT_FALSE(KeyComp(table, "While", "while", 4));  // the length must match
}

// Four bytes at a time must not miss a byte in any lane, nor take a neighbour of it (bytes that
// differ from it in the high bit, or by one) for it, nor look past the end.
TEST(FindByte, FindsTheFirstOccurrenceFromEachStartLikeAPlainSearch) {
  for (unsigned char c : {'@', '<', '\x80', '\xC0', '\x01'}) {
    const std::string others = {static_cast<char>(c ^ 0x80), static_cast<char>(c + 1),
                              static_cast<char>(c - 1), '\0', 'a'};
    for (size_t length = 0; length <= 11; ++length)
      for (size_t at = 0; at <= length; ++at) {
        std::string text;
        for (size_t i = 0; i < length; ++i) text += others[i % others.size()];
        if (at < length) text[at] = static_cast<char>(c);
        for (size_t from = 0; from <= length; ++from) {
          const size_t plain = text.find(static_cast<char>(c), from);
          const int expected = plain == std::string::npos ? static_cast<int>(length)
                                                          : static_cast<int>(plain);
          ASSERT_EQ(FindByte(text, static_cast<int>(from), c), expected)
              << "byte " << int(c) << ", length " << length << ", at " << at << ", from " << from;
        }
      }
  }
}

TEST(HashEntryList, KeepsTheKeywordsOfOneHashInTheOrderAdded) {
  TCodeHashEntryList list(10);
  list.Add(3, "ab", 1);
  list.Add(3, "ba", 2);
  list.Add(5, "e", 3);
  ASSERT_EQ(list.Entries(3).size(), 2u);
  EXPECT_EQ(list.Entries(3)[0].Keyword, "ab");
  EXPECT_EQ(list.Entries(3)[1].Kind, 2);
  EXPECT_TRUE(list.Entries(4).empty());
  EXPECT_EQ(list.Size(), 10);
}

}  // namespace
