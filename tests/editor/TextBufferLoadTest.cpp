// Loading a whole text into the line list at once: the same lines, lengths and events as
// adding the lines one by one, also at word boundaries of the scan and with handlers that
// change the list while it fills.
#include <gtest/gtest.h>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>
#include "editor/CodeEditTextBuffer.h"

namespace {

using Strings = std::vector<std::string>;

Strings LinesOf(const TCodeEditStringList& List) {
  Strings lines;
  for (int i = 0; i < List.Count(); ++i) lines.push_back(List[i]);
  return lines;
}

// The lines as the generic text setter makes them: CR, LF or CR LF end a line, a zero byte
// (when it ends the text) or the end ends the last one.
Strings SplitModel(const std::string& Text, bool ZeroEnds) {
  Strings lines;
  size_t i = 0;
  while (i < Text.size() && !(ZeroEnds && Text[i] == '\0')) {
    size_t start = i;
    while (i < Text.size() && Text[i] != '\r' && Text[i] != '\n' && !(ZeroEnds && Text[i] == '\0')) ++i;
    lines.push_back(Text.substr(start, i - start));
    if (i < Text.size() && Text[i] == '\r') ++i;
    if (i < Text.size() && Text[i] == '\n') ++i;
  }
  return lines;
}

Strings Loaded(const std::string& Text, int Way) {
  TCodeEditStringList list;
  if (Way == 0) list.SetText(Text);
  if (Way == 1) list.SetText(std::string(Text));
  if (Way == 2) {
    TMemoryStream stream(Text);
    list.SetTrailingLineBreak(true);  // no extra empty line: the same lines as the setter
    list.LoadFromStream(stream);
  }
  return LinesOf(list);
}

TEST(TextBufferLoad, SplitsAtBreaksAndAZeroByteEndsTheSetText) {
  struct Case {
    std::string text;
    Strings lines;  // by the text setter (copied or handed over)
  };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"\r\n", {""}},
      {"a\r\n", {"a"}},
      {"a\n\rb", {"a", "", "b"}},
      {"a\r\r\nb", {"a", "", "b"}},
      {std::string("\0a", 2), {}},
      {std::string("\r\0a", 3), {""}},
      {std::string("a\r\n\0b", 5), {"a"}},
      {std::string("ab\0c\r\nd", 7), {"ab"}},
      {"0123456\r\n89abcdef\rx\ty\n", {"0123456", "89abcdef", "x\ty"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text));
    EXPECT_EQ(Loaded(c.text, 0), c.lines);
    EXPECT_EQ(Loaded(c.text, 1), c.lines);
    EXPECT_EQ(Loaded(c.text, 2), SplitModel(c.text, false));  // a zero byte is a character there
  }
  EXPECT_EQ(Loaded(std::string("a\0b\r\nc", 6), 2), (Strings{std::string("a\0b", 3), "c"}));
}

// Texts of breaks, tabs, zero bytes and letters at every offset of the sixteen-byte steps.
TEST(TextBufferLoad, RandomTextsGiveTheLinesLengthsAndLongestLineOfAddingEachLine) {
  const char alphabet[] = {'a', 'b', '\t', '\r', '\n', '\0', ' ', '\xE4', 'x', 'y', 'z', 'w'};
  uint32_t seed = 7;
  for (int round = 0; round < 300; ++round) {
    std::string text;
    seed = seed * 1103515245u + 12345u;
    const size_t length = (seed >> 16) % 60;
    for (size_t i = 0; i < length; ++i) {
      seed = seed * 1103515245u + 12345u;
      text += alphabet[(seed >> 16) % sizeof alphabet];
    }
    SCOPED_TRACE(testing::PrintToString(text));
    for (int way = 0; way < 3; ++way)
      EXPECT_EQ(Loaded(text, way), SplitModel(text, way != 2)) << "way " << way;

    const int tabWidth = 1 + round % 9;
    TCodeEditStringList loaded, added;
    loaded.SetTabWidth(tabWidth);
    added.SetTabWidth(tabWidth);
    loaded.SetText(text);
    for (const std::string& line : SplitModel(text, true)) added.Add(line);
    ASSERT_EQ(loaded.Count(), added.Count());
    std::string into = "stale";
    for (int i = 0; i < loaded.Count(); ++i) {
      EXPECT_EQ(loaded.GetExpandedStringLength(i), added.GetExpandedStringLength(i)) << i;
      EXPECT_EQ(loaded.GetExpandedString(i), added.GetExpandedString(i)) << i;
      EXPECT_EQ(loaded.ExpandedView(i, into), added.GetExpandedString(i)) << i;
    }
    EXPECT_EQ(loaded.GetLengthOfLongestLine(), added.GetLengthOfLongestLine());
    loaded.SetTabWidth(tabWidth % 4 + 2);  // lengths measured while loading are forgotten
    added.SetTabWidth(tabWidth % 4 + 2);
    EXPECT_EQ(loaded.GetLengthOfLongestLine(), added.GetLengthOfLongestLine());
  }
}

TEST(TextBufferLoad, HandedOverTextFiresTheEventsOfTheCopiedOne) {
  std::vector<std::string> events[2];
  for (int way = 0; way < 2; ++way) {
    TCodeEditStringList list;
    list.Add("old");
    auto& log = events[way];
    list.OnChanging = [&log](TObject*) { log.push_back("changing"); };
    list.OnChange = [&log](TObject*) { log.push_back("change"); };
    list.OnCleared = [&log](TObject*) { log.push_back("cleared"); };
    list.OnLinesInserted = [&log, &list](TObject*, int Index, int Count) {
      // Each line is in, and readable, when its event fires.
      log.push_back(std::to_string(Index) + "+" + std::to_string(Count) + " of " +
                    std::to_string(list.Count()) + " " + list[Index]);
    };
    std::string text = "one\r\ntwo\r\n";
    if (way == 0) list.SetText(text);
    if (way == 1) list.SetText(std::move(text));
  }
  EXPECT_EQ(events[0], (std::vector<std::string>{"changing", "cleared", "0+1 of 1 one",
                                                 "1+1 of 2 two", "change"}));
  EXPECT_EQ(events[1], events[0]);
}

// Lines of a load share its text: changing, moving and deleting some must leave the others
// whole, and the written text must be what the lines say.
TEST(TextBufferLoad, EditedLoadedLinesAndTheUntouchedOnesStayWhole) {
  TCodeEditStringList list;
  list.SetText("alpha\r\nbeta\r\ngamma\r\ndelta\r\nepsilon");
  list.Put(1, "BETA");
  list.Exchange(0, 4);
  list.Delete(2);
  list.Insert(1, "new");
  list.DeleteLines(3, 1);
  EXPECT_EQ(LinesOf(list), (Strings{"epsilon", "new", "BETA", "alpha"}));
  for (int i = 0; i < list.Count(); ++i) list.Put(i, list[i] + "!");  // no line uses the text now
  EXPECT_EQ(list.Text(), "epsilon!\r\nnew!\r\nBETA!\r\nalpha!");
  list.SetText("x\r\ny");
  EXPECT_EQ(LinesOf(list), (Strings{"x", "y"}));
}

// A long inserted run keeps its texts together as a load does; a run inserted while loaded
// lines are still in use, and the edits after either, must lose or mix up nothing.
TEST(TextBufferLoad, LongInsertedRunsStayWholeThroughEditsAndTheNextLoad) {
  for (bool loadedBefore : {false, true}) {
    SCOPED_TRACE(loadedBefore ? "after a load" : "into an empty list");
    TCodeEditStringList list;
    Strings model;
    if (loadedBefore) {
      list.SetText("first\r\nlast");
      model = {"first", "last"};
    }
    std::vector<std::string> texts;
    for (int i = 0; i < 3000; ++i) texts.push_back(i % 7 == 0 ? "" : "line " + std::to_string(i));
    const std::vector<std::string_view> views(texts.begin(), texts.end());
    list.InsertStrings(static_cast<int>(model.size()) / 2, views);
    model.insert(model.begin() + static_cast<int>(model.size()) / 2, texts.begin(), texts.end());
    texts.clear();  // the list holds its own copy
    ASSERT_EQ(LinesOf(list), model);
    list.Put(5, "changed");
    model[5] = "changed";
    list.Exchange(1, 2999);
    std::swap(model[1], model[2999]);
    list.DeleteLines(100, 2000);
    model.erase(model.begin() + 100, model.begin() + 2100);
    EXPECT_EQ(LinesOf(list), model);
    for (int i = 0; i < list.Count(); ++i) list.Put(i, list[i] + "!");  // every line lets go
    for (std::string& line : model) line += "!";
    EXPECT_EQ(LinesOf(list), model);
    list.SetText("x\r\ny");
    EXPECT_EQ(LinesOf(list), (Strings{"x", "y"}));
  }
}

TEST(TextBufferLoad, HandlersThatChangeTheListWhileItFillsLoseNoLine) {
  const std::string text = "l0\r\nl1\r\nl2\r\nl3\r\nl4\r\nl5\r\nl6\r\nl7\r\nl8\r\nl9";
  {  // each line is replaced as it arrives: the text must outlive the first replacements
    TCodeEditStringList list;
    list.OnLinesInserted = [&list](TObject*, int Index, int) { list.Put(Index, list[Index] + "*"); };
    list.SetText(text);
    ASSERT_EQ(list.Count(), 10);
    EXPECT_EQ(list[0], "l0*");
    EXPECT_EQ(list[9], "l9*");
  }
  {  // lines added meanwhile need room beyond what the load counted
    TCodeEditStringList list;
    int added = 0;
    list.OnLinesInserted = [&](TObject*, int, int) {
      if (added < 20) list.Insert(0, "in" + std::to_string(added++));
    };
    list.SetText(text);
    ASSERT_EQ(list.Count(), 30);
    EXPECT_EQ(list[29], "l9");
  }
  {  // a handler that clears the list ends the load
    TCodeEditStringList list;
    list.OnLinesInserted = [&list](TObject*, int Index, int) {
      if (Index == 2) list.Clear();
    };
    list.SetText(text);
    EXPECT_EQ(list.Count(), 0);
    list.OnLinesInserted = nullptr;
    list.SetText("again");
    EXPECT_EQ(LinesOf(list), Strings{"again"});
  }
  {  // a handler that empties the list and loads another text ends the first load
    TCodeEditStringList list;
    bool loaded = false;
    list.OnLinesInserted = [&](TObject*, int Index, int) {
      if (Index != 1 || loaded) return;
      loaded = true;
      list.DeleteLines(0, list.Count());
      list.SetText("other\r\ntext");
    };
    list.SetText(text);
    list.OnLinesInserted = nullptr;
    EXPECT_EQ(LinesOf(list), (Strings{"other", "text"}));
  }
  {  // a failing handler: the lines already in stay readable after their neighbours change
    TCodeEditStringList list;
    list.OnLinesInserted = [](TObject*, int Index, int) {
      if (Index == 2) throw std::runtime_error("refused");
    };
    EXPECT_THROW(list.SetText(text), std::runtime_error);
    list.OnLinesInserted = nullptr;
    ASSERT_EQ(list.Count(), 3);
    list.Put(0, "first");
    list.Put(1, "second");
    EXPECT_EQ(LinesOf(list), (Strings{"first", "second", "l2"}));
  }
}

}  // namespace
