// The line list keeps its longest line across edits: the length it reports always equals that
// of a fresh walk over all lines, and so does every line's own length.
#include <gtest/gtest.h>
#include <algorithm>
#include <random>
#include <string>
#include "editor/CodeEditMiscProcs.h"
#include "editor/CodeEditTextBuffer.h"

namespace {
int WalkedLongest(const TCodeEditStringList& List) {
  int longest = 0;
  for (int i = 0; i < List.Count(); ++i)
    longest = std::max(longest, ExpandedLength(List.Get(i), List.TabWidth()));
  return longest;
}

std::string RandomLine(std::mt19937& Random) {
  std::string s(Random() % 30, 'a');
  for (char& c : s)
    if (Random() % 6 == 0) c = '\t';
  return s;
}
}  // namespace

TEST(TextBufferLongestLineKept, FollowsEveryKindOfEditLikeAFreshWalk) {
  std::mt19937 random(20261207);
  TCodeEditStringList list;
  for (int i = 0; i < 40; ++i) list.Add(RandomLine(random));
  for (int step = 0; step < 4000; ++step) {
    // Asking every few steps leaves runs of edits while the longest line is unknown, too.
    if (step % 3 == 0) {
      ASSERT_EQ(list.GetLengthOfLongestLine(), WalkedLongest(list)) << step;
      for (int i = 0; i < list.Count(); ++i)
        ASSERT_EQ(list.GetExpandedStringLength(i), ExpandedLength(list.Get(i), list.TabWidth()))
            << step << " line " << i;
    }
    const int count = list.Count();
    const int index = count > 0 ? static_cast<int>(random() % count) : 0;
    switch (random() % 10) {
      case 0:
      case 1:
        if (count > 0) list.Put(index, RandomLine(random));
        break;
      case 2:
        list.Insert(index, RandomLine(random));
        break;
      case 3:
        list.InsertLines(index, 1 + random() % 3);
        break;
      case 4:
        if (count > 0) list.Delete(index);
        break;
      case 5:
        list.DeleteLines(index, 1 + random() % 4);
        break;
      case 6:
        if (count > 1) list.Exchange(index, static_cast<int>(random() % count));
        break;
      case 7: {
        const std::string a = RandomLine(random), b = RandomLine(random);
        list.InsertStrings(index, {a, b});
        break;
      }
      case 8:
        // A piece of a line replaced: its known length is kept or measured anew.
        if (count > 0) list.ReplaceInLine(index, random() % 12, random() % 4, RandomLine(random).substr(0, 3));
        break;
      default:
        if (step % 50 == 0) list.SetTabWidth(2 + random() % 7);
        else if (count > 0) list.Put(index, list.Get(index) + "bb");
        break;
    }
  }
  EXPECT_EQ(list.GetLengthOfLongestLine(), WalkedLongest(list));
}

TEST(TextBufferLongestLineKept, ShrinkingTheLongestLineFindsTheNextOne) {
  TCodeEditStringList list;
  list.Add("12345");
  list.Add("1234567890");
  list.Add("1234567");
  ASSERT_EQ(list.GetLengthOfLongestLine(), 10);
  list.Put(1, "123456789012");  // grows: still the longest
  EXPECT_EQ(list.GetLengthOfLongestLine(), 12);
  list.Put(1, "1");
  EXPECT_EQ(list.GetLengthOfLongestLine(), 7);
  list.Insert(0, "");  // moves the longest line down
  list.Put(3, "12");
  EXPECT_EQ(list.GetLengthOfLongestLine(), 5);
  list.DeleteLines(0, 2);  // deletes the longest line
  EXPECT_EQ(list.GetLengthOfLongestLine(), 2);
}
