#include <gtest/gtest.h>
#include "rtl/Exception.h"
#include "rtl/StringList.h"

namespace {
std::vector<std::string> Lines(const TStrings& s) {
  std::vector<std::string> v;
  for (int i = 0; i < s.Count(); ++i) v.push_back(s[i]);
  return v;
}
using V = std::vector<std::string>;
}  // namespace

TEST(StringListText, SplitsAtCrLfLfAndCrAlike) {
  TStringList l;
  l.SetText("a\r\nb\nc\rd");
  EXPECT_EQ(Lines(l), (V{"a", "b", "c", "d"}));
}

TEST(StringListText, LfCrIsTwoBreaksAndAFinalBreakAddsNoLine) {
  TStringList l;
  l.SetText("a\n\rb\r\n");
  EXPECT_EQ(Lines(l), (V{"a", "", "b"}));
}

TEST(StringListText, ZeroByteEndsTheText) {
  TStringList l;
  l.SetText(std::string("a\r\nb\0c\r\nd", 9));
  EXPECT_EQ(Lines(l), (V{"a", "b"}));
}

TEST(StringListText, JoinsWithCrLfAfterEveryLineIncludingTheLast) {
  TStringList l;
  EXPECT_EQ(l.Text(), "");
  l.Add("a");
  l.Add("");
  EXPECT_EQ(l.Text(), "a\r\n\r\n");
}

TEST(StringListText, EmptyTextGivesAnEmptyListAndLoneBreakOneEmptyLine) {
  TStringList l;
  l.SetText("");
  EXPECT_EQ(l.Count(), 0);
  l.SetText("\r\n");
  EXPECT_EQ(Lines(l), (V{""}));
}

TEST(StringListEdit, InsertDeleteAndBoundsErrors) {
  TStringList l;
  l.Add("b");
  l.Insert(0, "a");
  l.Insert(2, "c");
  EXPECT_EQ(Lines(l), (V{"a", "b", "c"}));
  l.Delete(1);
  EXPECT_EQ(Lines(l), (V{"a", "c"}));
  EXPECT_THROW(l.Delete(2), EStringListError);
  EXPECT_THROW(l.Insert(3, "x"), EStringListError);
  EXPECT_THROW(l.Get(-1), EStringListError);
}

TEST(StringListEdit, ChangeEventsFireOncePerUpdateBracket) {
  TStringList l;
  int changing = 0, changed = 0;
  l.OnChanging = [&](TObject*) { ++changing; };
  l.OnChange = [&](TObject*) { ++changed; };
  l.Add("a");
  EXPECT_EQ(changed, 1);
  l.BeginUpdate();
  l.Add("b");
  l.Add("c");
  l.Delete(0);
  EXPECT_EQ(changed, 1);
  l.EndUpdate();
  EXPECT_EQ(changing, 2);
  EXPECT_EQ(changed, 2);
}

TEST(StringListSearch, IndexOfIgnoresCaseUnlessCaseSensitive) {
  TStringList l;
  l.SetText("\xC4pfel\r\nBirnen");
  EXPECT_EQ(l.IndexOf("\xE4pfel"), 0);
  EXPECT_EQ(l.IndexOf("BIRNEN"), 1);
  EXPECT_EQ(l.IndexOf("Kirschen"), -1);
  l.SetCaseSensitive(true);
  EXPECT_EQ(l.IndexOf("\xE4pfel"), -1);
  EXPECT_EQ(l.IndexOf("\xC4pfel"), 0);
}

TEST(StringListSorted, KeepsOrderAndHandlesDuplicatesAsSet) {
  TStringList l;
  l.SetSorted(true);
  l.Add("m");
  l.Add("B");
  l.Add("a");
  l.Add("b");  // ignored: equal to "B" without regard to case
  EXPECT_EQ(Lines(l), (V{"a", "B", "m"}));
  EXPECT_THROW(l.Insert(0, "x"), EStringListError);
  l.SetDuplicates(TDuplicates::dupError);
  EXPECT_THROW(l.Add("M"), EStringListError);
  l.SetDuplicates(TDuplicates::dupAccept);
  l.Add("M");
  EXPECT_EQ(l.Count(), 4);
  int index;
  EXPECT_TRUE(l.Find("b", index));
  EXPECT_EQ(index, 1);
  EXPECT_FALSE(l.Find("c", index));
  EXPECT_EQ(index, 2);
}

TEST(StringListNames, ValuesReadSetAndDelete) {
  TStringList l;
  l.SetText("Name=Wert\r\nleer=\r\nohne Gleich\r\na=b=c");
  EXPECT_EQ(l.Names(0), "Name");
  EXPECT_EQ(l.Names(2), "");
  EXPECT_EQ(l.Values("NAME"), "Wert");
  EXPECT_EQ(l.Values("a"), "b=c");
  EXPECT_EQ(l.Values("fehlt"), "");
  l.SetValues("neu", "1");
  EXPECT_EQ(l[4], "neu=1");
  l.SetValues("Name", "");
  EXPECT_EQ(l.IndexOfName("Name"), -1);
  EXPECT_EQ(l.Count(), 4);
}

TEST(StringListCommaText, QuotesItemsThatNeedItAndReadsThemBack) {
  TStringList l;
  l.Add("plain");
  l.Add("with blank");
  l.Add("say \"hi\"");
  l.Add("a,b");
  l.Add("");
  EXPECT_EQ(l.CommaText(), "plain,\"with blank\",\"say \"\"hi\"\"\",\"a,b\",");
  TStringList back;
  back.SetCommaText(l.CommaText());
  EXPECT_EQ(Lines(back), Lines(l));
}

TEST(StringListCommaText, SingleEmptyItemAndUnquotedBlanksSplit) {
  TStringList l;
  l.Add("");
  EXPECT_EQ(l.CommaText(), "\"\"");
  TStringList p;
  p.SetCommaText("a b, c");
  EXPECT_EQ(Lines(p), (V{"a", "b", "c"}));
}

TEST(StringListObjects, TravelWithTheirLines) {
  TStringList l;
  TObject one, two;
  l.AddObject("one", &one);
  l.AddObject("two", &two);
  l.Exchange(0, 1);
  EXPECT_EQ(l.Objects(0), &two);
  EXPECT_EQ(l.IndexOfObject(&one), 1);
  l.Move(0, 1);
  EXPECT_EQ(l[1], "two");
  EXPECT_EQ(l.Objects(1), &two);
}

TEST(StringListObjects, SortedListIgnoringADuplicateKeepsTheObjectItHas) {
  TStringList l;
  l.SetSorted(true);
  TObject first, second;
  EXPECT_EQ(l.AddObject("b", &first), 0);
  EXPECT_EQ(l.AddObject("B", &second), 0);
  EXPECT_EQ(l.Count(), 1);
  EXPECT_EQ(l.Objects(0), &first);
  EXPECT_EQ(l.AddObject("a", &second), 0);
  EXPECT_EQ(l.Objects(0), &second);
}
