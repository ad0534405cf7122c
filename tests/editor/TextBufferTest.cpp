#include <gtest/gtest.h>
#include <functional>
#include <utility>
#include <string>
#include <vector>
#include "editor/CodeEditTextBuffer.h"
#include "support/TempFolder.h"

namespace {

// Records every event of a list as one short text, in firing order.
class EventLog {
public:
  explicit EventLog(TCodeEditStringList& List) {
    List.OnChanging = [this](TObject*) { events.push_back("changing"); };
    List.OnChange = [this](TObject*) { events.push_back("change"); };
    List.OnCleared = [this](TObject*) { events.push_back("cleared"); };
    List.OnLinesInserted = Lines("inserted");
    List.OnLinesDeleted = Lines("deleted");
    List.OnLinePut = Lines("put");
  }
  std::vector<std::string> events;

private:
  TCodeEditStringListChangeEvent Lines(const std::string& Name) {
    return [this, Name](TObject*, int Index, int Count) {
      events.push_back(Name + " " + std::to_string(Index) + " " + std::to_string(Count));
    };
  }
};

using Events = std::vector<std::string>;

void Fill(TCodeEditStringList& List, int Number) {
  for (int i = 0; i < Number; ++i) List.Add("line" + std::to_string(i));
}

std::string Lines(const TCodeEditStringList& List) {
  std::string result;
  for (int i = 0; i < List.Count(); ++i) result += "[" + List[i] + "]";
  return result;
}

std::string ReadStream(TCodeEditStringList& List, const std::string& Data) {
  TMemoryStream stream(Data);
  List.LoadFromStream(stream);
  return Lines(List);
}

std::string WriteStream(const TCodeEditStringList& List) {
  TMemoryStream stream;
  List.SaveToStream(stream);
  return stream.DataString();
}

// --- events ------------------------------------------------------------------------------

TEST(TextBufferEvents, AddAndInsertFireLinesInsertedInsideOneUpdate) {
  TCodeEditStringList list;
  EventLog log(list);
  EXPECT_EQ(list.Add("a"), 0);
  list.Insert(0, "b");
  list.Insert(2, "c");
  EXPECT_EQ(log.events, (Events{"changing", "inserted 0 1", "change", "changing", "inserted 0 1",
                                "change", "changing", "inserted 2 1", "change"}));
  EXPECT_EQ(Lines(list), "[b][a][c]");
}

TEST(TextBufferEvents, PutFiresLinePutButAtCountActsAsAdd) {
  TCodeEditStringList list;
  EventLog log(list);
  list.Put(0, "first");  // the empty list
  list.Put(1, "second");
  list.Put(0, "changed");
  EXPECT_EQ(log.events, (Events{"changing", "inserted 0 1", "change", "changing", "inserted 1 1",
                                "change", "changing", "put 0 1", "change"}));
  EXPECT_EQ(Lines(list), "[changed][second]");
}

TEST(TextBufferEvents, PutKeepsRangeAndObjectButForgetsLength) {
  TCodeEditStringList list;
  TObject object;
  list.Add("\tx");
  list.SetRange(0, 42);
  list.PutObject(0, &object);
  EXPECT_EQ(list.GetExpandedStringLength(0), 9);
  list.Put(0, "yy");
  EXPECT_EQ(list.GetRange(0), 42);
  EXPECT_EQ(list.Objects(0), &object);
  EXPECT_EQ(list.GetExpandedStringLength(0), 2);
}

TEST(TextBufferEvents, DeleteAndDeleteLinesFireLinesDeletedWithTheNumberDeleted) {
  TCodeEditStringList list;
  Fill(list, 6);
  EventLog log(list);
  list.Delete(1);
  list.DeleteLines(1, 2);
  list.DeleteLines(2, 10);  // only one line follows
  EXPECT_EQ(log.events, (Events{"changing", "deleted 1 1", "change", "changing", "deleted 1 2",
                                "change", "changing", "deleted 2 1", "change"}));
  EXPECT_EQ(Lines(list), "[line0][line4]");
}

TEST(TextBufferEvents, InsertLinesAddsEmptyNewLinesWithOneEvent) {
  TCodeEditStringList list;
  Fill(list, 2);
  list.SetRange(1, 7);
  EventLog log(list);
  list.InsertLines(1, 3);
  EXPECT_EQ(log.events, (Events{"changing", "inserted 1 3", "change"}));
  EXPECT_EQ(Lines(list), "[line0][][][][line1]");
  EXPECT_EQ(list.GetRange(2), -1);
  EXPECT_EQ(list.GetRange(4), 7);
}

TEST(TextBufferEvents, NonPositiveRunsDoNothing) {
  TCodeEditStringList list;
  Fill(list, 2);
  EventLog log(list);
  list.InsertLines(0, 0);
  list.DeleteLines(0, -1);
  EXPECT_TRUE(log.events.empty());
  EXPECT_EQ(list.Count(), 2);
}

TEST(TextBufferEvents, ClearFiresClearedOnlyWhenThereWereLines) {
  TCodeEditStringList list;
  EventLog log(list);
  list.Clear();
  EXPECT_TRUE(log.events.empty());
  Fill(list, 3);
  log.events.clear();
  list.Clear();
  EXPECT_EQ(log.events, (Events{"changing", "cleared", "change"}));
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Capacity(), 0);
}

TEST(TextBufferEvents, ExchangeAndPutObjectFireNoLineEvent) {
  TCodeEditStringList list;
  Fill(list, 2);
  TObject object;
  EventLog log(list);
  list.Exchange(0, 1);
  list.PutObject(0, &object);
  EXPECT_EQ(log.events, (Events{"changing", "change", "changing", "change"}));
  EXPECT_EQ(Lines(list), "[line1][line0]");
}

TEST(TextBufferEvents, AddStringsFiresOneEventForTheRun) {
  TCodeEditStringList list;
  Fill(list, 1);
  TStringList other;
  TObject object;
  other.Add("x");
  other.AddObject("y", &object);
  EventLog log(list);
  list.AddStrings(other);
  EXPECT_EQ(log.events, (Events{"changing", "inserted 1 2", "change"}));
  EXPECT_EQ(list.Objects(2), &object);
}

TEST(TextBufferEvents, NestedUpdatesFireOneChangingChangePair) {
  TCodeEditStringList list;
  EventLog log(list);
  list.BeginUpdate();
  list.Add("a");
  list.Add("b");
  list.EndUpdate();
  EXPECT_EQ(log.events, (Events{"changing", "inserted 0 1", "inserted 1 1", "change"}));
}

TEST(TextBufferEvents, SettingTextClearsAndAddsInOneUpdate) {
  TCodeEditStringList list;
  Fill(list, 1);
  EventLog log(list);
  list.SetText("a\r\nb");
  EXPECT_EQ(log.events, (Events{"changing", "cleared", "inserted 0 1", "inserted 1 1", "change"}));
}

TEST(TextBufferEvents, DestroyingTheListFiresNothing) {
  Events events;
  {
    TCodeEditStringList list;
    Fill(list, 2);
    list.OnChanging = [&](TObject*) { events.push_back("changing"); };
    list.OnChange = [&](TObject*) { events.push_back("change"); };
    list.OnCleared = [&](TObject*) { events.push_back("cleared"); };
    list.OnLinesDeleted = [&](TObject*, int, int) { events.push_back("deleted"); };
  }
  EXPECT_TRUE(events.empty());
}

// --- indexes and capacity ----------------------------------------------------------------

TEST(TextBufferIndexes, BadIndexesRaiseWithTheIndex) {
  TCodeEditStringList list;
  Fill(list, 2);
  try {
    list.Delete(2);
    FAIL() << "no exception";
  } catch (const ECodeEditStringList& e) {
    EXPECT_STREQ(e.what(), "Invalid stringlist index 2");
  }
  EXPECT_THROW(list.Put(3, "x"), ECodeEditStringList);
  EXPECT_THROW(list.Put(-1, "x"), ECodeEditStringList);
  EXPECT_THROW(list.PutObject(2, nullptr), ECodeEditStringList);
  EXPECT_THROW(list.SetRange(2, 0), ECodeEditStringList);
  EXPECT_THROW(list.Insert(3, "x"), ECodeEditStringList);
  EXPECT_THROW(list.Exchange(0, 2), ECodeEditStringList);
  EXPECT_THROW(list.InsertLines(3, 1), ECodeEditStringList);
  EXPECT_THROW(list.DeleteLines(-1, 1), ECodeEditStringList);
  EXPECT_EQ(Lines(list), "[line0][line1]");
}

TEST(TextBufferIndexes, EndPositionsAreAcceptedWhereTheyMeanAppending) {
  TCodeEditStringList list;
  Fill(list, 2);
  list.Insert(2, "end");
  list.InsertLines(3, 1);
  list.DeleteLines(4, 1);
  EXPECT_EQ(Lines(list), "[line0][line1][end][]");
}

TEST(TextBufferIndexes, ReadsOutOfRangeGiveEmptyResults) {
  TCodeEditStringList list;
  Fill(list, 1);
  EXPECT_EQ(list.Get(1), "");
  EXPECT_EQ(list.Get(-1), "");
  EXPECT_EQ(list.GetObject(5), nullptr);
  EXPECT_EQ(list.GetRange(1), 0);
  EXPECT_EQ(list.GetExpandedString(1), "");
  EXPECT_EQ(list.GetExpandedStringLength(-1), 0);
}

TEST(TextBufferCapacity, GrowsBySixteenThenByAQuarter) {
  TCodeEditStringList list;
  list.Add("x");
  EXPECT_EQ(list.Capacity(), 16);
  Fill(list, 63);
  EXPECT_EQ(list.Capacity(), 64);
  list.Add("x");  // 64 is not above 64
  EXPECT_EQ(list.Capacity(), 80);
  Fill(list, 15);
  list.Add("x");
  EXPECT_EQ(list.Capacity(), 100);
}

TEST(TextBufferCapacity, RunsGrowOnceToWhatTheyNeed) {
  TCodeEditStringList list;
  TStringList other;
  for (int i = 0; i < 20; ++i) other.Add("x");
  list.AddStrings(other);
  EXPECT_EQ(list.Capacity(), 32);
  list.InsertLines(0, 5);
  EXPECT_EQ(list.Capacity(), 32);  // fits: no reallocation
  list.InsertLines(0, 100);
  EXPECT_EQ(list.Capacity(), 125);
}

TEST(TextBufferCapacity, SingleInsertedLinesGrowByAQuarter) {
  TCodeEditStringList list;
  list.InsertLines(0, 1000);
  list.InsertLines(500, 1);
  EXPECT_EQ(list.Capacity(), 1250);  // not 1001: each Enter must not reallocate everything
  EXPECT_EQ(list.Count(), 1001);
}

TEST(TextBufferCapacity, CannotShrinkBelowTheCount) {
  TCodeEditStringList list;
  Fill(list, 3);
  try {
    list.SetCapacity(2);
    FAIL() << "no exception";
  } catch (const ECodeEditStringList& e) {
    EXPECT_STREQ(e.what(), "Stringlist capacity cannot be smaller than count");
  }
  list.SetCapacity(3);
  EXPECT_EQ(Lines(list), "[line0][line1][line2]");
}

// --- reading and writing -----------------------------------------------------------------

TEST(TextBufferStreams, ReadsLinesAndTheLineBreakFormat) {
  struct Case { std::string data; int lines; TCodeTextLineBreaks breaks; };
  const Case cases[] = {{"a", 1, tlbCrLf},     {"a\r\n", 2, tlbCrLf}, {"a\nb", 2, tlbLf},
                        {"a\rb", 2, tlbCr},     {"", 0, tlbCrLf},      {"a\nb\r\nc", 3, tlbCrLf}};
  for (const Case& c : cases) {
    TCodeEditStringList list;
    list.SetLineBreaks(tlbCr);
    ReadStream(list, c.data);
    EXPECT_EQ(list.Count(), c.lines) << c.data;
    EXPECT_EQ(list.LineBreaks(), c.breaks) << c.data;
  }
}

TEST(TextBufferStreams, LfThenCrIsTwoBreaks) {
  TCodeEditStringList list;
  EXPECT_EQ(ReadStream(list, "a\n\rb"), "[a][][b]");
}

TEST(TextBufferStreams, FinalBreakGivesAnEmptyLineUnlessTrailingBreaksAreOn) {
  TCodeEditStringList list;
  EXPECT_EQ(ReadStream(list, "a\r\nb\r\n"), "[a][b][]");
  list.SetTrailingLineBreak(true);
  EXPECT_EQ(ReadStream(list, "a\r\nb\r\n"), "[a][b]");
}

TEST(TextBufferStreams, ReadingThenWritingKeepsTheBytes) {
  for (std::string data : {"a\r\nb\r\n", "a\nb", "a\rb\r", "\n\n", "one", ""}) {
    TCodeEditStringList list;
    ReadStream(list, data);
    EXPECT_EQ(WriteStream(list), data);
  }
}

TEST(TextBufferStreams, TrailingBreakWritesABreakAfterTheLastLine) {
  TCodeEditStringList list;
  list.SetTrailingLineBreak(true);
  list.SetLineBreaks(tlbLf);
  list.Add("a");
  list.Add("b");
  EXPECT_EQ(WriteStream(list), "a\nb\n");
}

TEST(TextBufferStreams, FileWriterWritesTheSameBytesAsTheStream) {
  testsupport::TempFolder folder;
  const std::string nearlyBufferSized(16383, 'n');  // with its break one byte past the buffer
  const std::string longer(40000, 'l');
  for (TCodeTextLineBreaks breaks : {tlbCrLf, tlbLf, tlbCr}) {
    for (bool trailing : {false, true}) {
      TCodeEditStringList list;
      list.SetLineBreaks(breaks);
      list.SetTrailingLineBreak(trailing);
      list.Add("short");
      list.Add(nearlyBufferSized);
      list.Add(longer);
      list.Add("last");
      list.SaveToFile(folder.File("out.txt"));
      EXPECT_EQ(folder.Read("out.txt"), WriteStream(list)) << int(breaks) << trailing;
    }
  }
}

TEST(TextBufferStreams, LoadFromFileReadsTheFile) {
  testsupport::TempFolder folder;
  folder.Write("in.txt", "x\ry");
  TCodeEditStringList list;
  list.LoadFromFile(folder.File("in.txt"));
  EXPECT_EQ(Lines(list), "[x][y]");
  EXPECT_EQ(list.LineBreaks(), tlbCr);
  EXPECT_THROW(list.LoadFromFile(folder.File("missing.txt")), EStreamError);
}

TEST(TextBufferText, TextHasNoFinalBreakAndItsSetterAddsNoEmptyLine) {
  TCodeEditStringList list;
  list.Add("a");
  list.Add("b");
  EXPECT_EQ(list.Text(), "a\r\nb");
  list.SetText("a\r\n");
  EXPECT_EQ(Lines(list), "[a]");
  EXPECT_EQ(ReadStream(list, "a\r\n"), "[a][]");
  list.SetText(std::string("x\0y", 3));  // a zero byte ends the text
  EXPECT_EQ(Lines(list), "[x]");
}

// --- tab expansion and the longest line --------------------------------------------------

TEST(TextBufferTabs, ExpandedLengthFollowsTheTabWidth) {
  TCodeEditStringList list;
  list.Add("x\ty");
  EXPECT_EQ(list.GetExpandedStringLength(0), 9);
  list.SetTabWidth(4);
  EXPECT_EQ(list.GetExpandedStringLength(0), 5);
  EXPECT_EQ(list.GetExpandedString(0), "x\t\t\ty");
  list.SetTabWidth(1);
  EXPECT_EQ(list.GetExpandedStringLength(0), 3);
  EXPECT_EQ(list.GetExpandedString(0), "x y");
  list.SetTabWidth(3);  // not a power of two
  EXPECT_EQ(list.GetExpandedString(0), "x\t\ty");
  EXPECT_EQ(list.GetExpandedStringLength(0), 4);
}

TEST(TextBufferTabs, ExpandedStringAskedFirstGivesTheSameLength) {
  TCodeEditStringList list;
  list.Add("ab\tc\t");
  list.Add("plain");
  EXPECT_EQ(list.GetExpandedString(0), "ab\t\t\t\t\t\tc\t\t\t\t\t\t\t");
  EXPECT_EQ(list.GetExpandedStringLength(0), 16);
  EXPECT_EQ(list.GetExpandedString(1), "plain");
  EXPECT_EQ(list.GetExpandedStringLength(1), 5);
}

TEST(TextBufferLongestLine, FollowsExchangedLinesAndChanges) {
  TCodeEditStringList list;
  EXPECT_EQ(list.GetLengthOfLongestLine(), 0);
  list.Add("ab");
  list.Add("abcd");
  list.Add("a\tb");  // 9 at tab width 8
  list.Add("x\ty");
  EXPECT_EQ(list.GetLengthOfLongestLine(), 9);
  list.Exchange(2, 0);  // the cached index follows the line
  list.Put(3, "z");
  EXPECT_EQ(list.GetLengthOfLongestLine(), 9);
  list.Delete(0);
  EXPECT_EQ(list.GetLengthOfLongestLine(), 4);
}

TEST(TextBufferLongestLine, IsRecomputedAfterChanges) {
  TCodeEditStringList list;
  list.Add("a\tb");
  list.Add("abcdef");
  EXPECT_EQ(list.GetLengthOfLongestLine(), 9);
  list.SetTabWidth(2);
  EXPECT_EQ(list.GetLengthOfLongestLine(), 6);
  list.Put(1, "a");
  EXPECT_EQ(list.GetLengthOfLongestLine(), 3);
  list.InsertLines(0, 1);
  list.Put(0, "0123456789");
  EXPECT_EQ(list.GetLengthOfLongestLine(), 10);
  list.DeleteLines(0, 1);
  EXPECT_EQ(list.GetLengthOfLongestLine(), 3);
  list.Clear();
  EXPECT_EQ(list.GetLengthOfLongestLine(), 0);
}

}  // namespace

// A kept copy of the text is current exactly while the stamp it was taken with stays.
TEST(CodeEditStringList, EveryChangeMovesTheChangeStampAndReadingDoesNot) {
  const std::vector<std::pair<const char*, std::function<void(TCodeEditStringList&)>>> changes = {
      {"Put", [](TCodeEditStringList& L) { L.Put(1, "x"); }},
      {"Add", [](TCodeEditStringList& L) { L.Add("x"); }},
      {"Insert", [](TCodeEditStringList& L) { L.Insert(0, "x"); }},
      {"Delete", [](TCodeEditStringList& L) { L.Delete(2); }},
      {"DeleteLines", [](TCodeEditStringList& L) { L.DeleteLines(0, 2); }},
      {"InsertLines", [](TCodeEditStringList& L) { L.InsertLines(3, 1); }},
      {"Exchange", [](TCodeEditStringList& L) { L.Exchange(0, 2); }},
      {"Clear", [](TCodeEditStringList& L) { L.Clear(); }},
      {"SetText", [](TCodeEditStringList& L) { L.SetText(std::string("a\r\nb\r\nc")); }},
  };
  for (const auto& [name, change] : changes) {
    TCodeEditStringList list;
    list.SetText(std::string("a\r\nb\r\nc"));
    const uint64_t before = list.ChangeStamp();
    (void)list.Text();
    (void)list.GetExpandedString(1);
    (void)list.GetLengthOfLongestLine();
    list.SetRange(0, 5);  // highlighter state is not text
    EXPECT_EQ(list.ChangeStamp(), before) << name;
    change(list);
    EXPECT_NE(list.ChangeStamp(), before) << name;
  }
  TCodeEditStringList other;
  other.Add("x");
  TCodeEditStringList list;
  list.Add("x");
  EXPECT_NE(other.ChangeStamp(), list.ChangeStamp()) << "two lists never share a stamp";
  // A handler that takes the text while a load is under way does not hold a current copy.
  uint64_t seenInHandler = 0;
  list.OnLinesInserted = [&](TObject*, int, int) { seenInHandler = list.ChangeStamp(); };
  list.SetText(std::string("1\r\n2\r\n3"));
  EXPECT_NE(seenInHandler, list.ChangeStamp());
}
