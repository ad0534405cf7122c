#include <gtest/gtest.h>
#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>
#include "editor/CodeEditTextBuffer.h"
#include "editor/CodeEditWordWrap.h"

namespace {

std::bitset<256> DefaultIdentChars() {
  std::bitset<256> chars;
  for (int c = 33; c < 256; ++c) chars.set(c);
  return chars;
}

// Plays the control: a buffer, a width, word characters, and the buffer's line events
// passed to the plug-in as the control passes them.
class WrapHost : public ICodeWordWrapHost {
public:
  explicit WrapHost(int ACharsInWindow) : charsInWindow(ACharsInWindow) {
    lines.OnLinesInserted = [this](TObject*, int Index, int Count) {
      if (Told()) plugin->InsertLineRows(Index, Count);
    };
    lines.OnLinesDeleted = [this](TObject*, int Index, int Count) {
      if (Told()) plugin->DeleteLineRows(Index, Count);
    };
    lines.OnLinePut = [this](TObject*, int Index, int Count) {
      if (Told()) plugin->RewrapLines(Index, Count);
    };
    lines.OnCleared = [this](TObject*) {
      if (Told()) plugin->RebuildAll();
    };
  }
  TCodeEditStringList& Lines() const override { return lines; }
  int CharsInWindow() const override { return charsInWindow; }
  std::bitset<256> IdentChars() const override { return identChars; }

  TCodeWordWrapPlugin& Wrap() {
    plugin = std::make_unique<TCodeWordWrapPlugin>(this);
    return *plugin;
  }

  bool Told() const { return plugin && forwardEvents; }

  mutable TCodeEditStringList lines;
  bool forwardEvents = true;  // false: the test calls the notices itself
  int charsInWindow;
  std::bitset<256> identChars = DefaultIdentChars();
  std::unique_ptr<TCodeWordWrapPlugin> plugin;
};

std::vector<int> RowLengths(const TCodeWordWrapPlugin& Wrap) {
  std::vector<int> rows;
  for (int row = 1; row <= Wrap.RowCount(); ++row) rows.push_back(Wrap.RowLength(row));
  return rows;
}

// The rows of one line, through the conversions.
std::vector<int> RowsOfLine(const TCodeWordWrapPlugin& Wrap, int Line) {
  const int first = Wrap.BufferToDisplayPos({1, Line}).Row;
  const int next = Line < Wrap.LineCount() ? Wrap.BufferToDisplayPos({1, Line + 1}).Row
                                           : Wrap.RowCount() + 1;
  std::vector<int> rows;
  for (int row = first; row < next; ++row) rows.push_back(Wrap.RowLength(row));
  return rows;
}

std::string Letters(int Count, char C = 'a') { return std::string(Count, C); }

}  // namespace

// --- Where rows break -----------------------------------------------------------------

TEST(WordWrapRows, WordWithoutBreakIsCutAtTheWidth) {
  WrapHost host(40);
  host.lines.Add(Letters(100));
  host.lines.Add(Letters(80));  // ends at a row boundary: no empty row after it
  TCodeWordWrapPlugin& wrap = host.Wrap();
  EXPECT_EQ(RowsOfLine(wrap, 1), (std::vector<int>{40, 40, 20}));
  EXPECT_EQ(RowsOfLine(wrap, 2), (std::vector<int>{40, 40}));
}

// A line that fits is measured without being expanded: the limit must be the same, with
// tabs too, and for lines loaded with the whole text.
TEST(WordWrapRows, ALineOfExactlyTheWidthIsOneRowAndOneMoreColumnTwo) {
  struct Case {
    std::string line;
    std::vector<int> rows;
  };
  const Case cases[] = {
      {"", {0}},
      {Letters(39), {39}},
      {Letters(40), {40}},
      {Letters(41), {40, 1}},
      {"\t\t\t\t\t", {40}},       // five tabs at width 8
      {"\t\t\t\t\tx", {40, 1}},
      {Letters(33) + "\t", {40}},  // the tab fills columns 34 to 40
      {Letters(33) + "\tx", {40, 1}},
  };
  for (bool loaded : {false, true}) {
    WrapHost host(40);
    TCodeWordWrapPlugin& wrap = host.Wrap();
    std::string text;
    for (const Case& c : cases) {
      if (!loaded) host.lines.Add(c.line);
      text += c.line + "\r\n";
    }
    if (loaded) host.lines.SetText(text);
    ASSERT_EQ(wrap.LineCount(), static_cast<int>(std::size(cases)));
    for (size_t i = 0; i < std::size(cases); ++i)
      EXPECT_EQ(RowsOfLine(wrap, static_cast<int>(i) + 1), cases[i].rows)
          << "line " << i << (loaded ? " loaded" : " added");
  }
}

TEST(WordWrapRows, BreaksBehindABlankOnlyBeyondTheMinimumRowLength) {
  WrapHost host(40);
  TCodeWordWrapPlugin& wrap = host.Wrap();
  ASSERT_EQ(wrap.MinRowLength(), 27);
  struct Case {
    int blankColumn;
    int firstRow;
  };
  for (Case c : {Case{10, 40}, Case{28, 40}, Case{29, 29}, Case{30, 30}, Case{40, 40}}) {
    std::string line = Letters(60);
    line[c.blankColumn - 1] = ' ';
    host.lines.Put(0, line);
    EXPECT_EQ(wrap.RowLength(1), c.firstRow) << "blank in column " << c.blankColumn;
  }
}

TEST(WordWrapRows, BlanksAtABreakStayOnTheUpperRow) {
  WrapHost host(40);
  host.lines.Add(Letters(38) + "   " + Letters(10, 'b'));  // the break falls on a blank
  host.lines.Add(Letters(35) + "  " + Letters(20, 'b'));   // the break falls in a word
  TCodeWordWrapPlugin& wrap = host.Wrap();
  EXPECT_EQ(RowsOfLine(wrap, 1), (std::vector<int>{41, 10}));
  EXPECT_EQ(RowsOfLine(wrap, 2), (std::vector<int>{37, 20}));
}

TEST(WordWrapRows, BreakCharactersAreTheNonWordCharacters) {
  WrapHost host(20);
  host.lines.Add(Letters(16) + "-" + Letters(10, 'b'));
  TCodeWordWrapPlugin& wrap = host.Wrap();
  EXPECT_EQ(RowLengths(wrap), (std::vector<int>{20, 7}));
  host.identChars.reset('-');
  wrap.RebuildAll();
  EXPECT_EQ(RowLengths(wrap), (std::vector<int>{17, 10}));
}

TEST(WordWrapRows, EveryEmptyLineTakesOneRow) {
  WrapHost host(40);
  for (int i = 0; i < 3; ++i) host.lines.Add("");
  TCodeWordWrapPlugin& wrap = host.Wrap();
  EXPECT_EQ(RowLengths(wrap), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(wrap.BufferToDisplayPos({1, 3}), DisplayCoord(1, 3));
}

TEST(WordWrapRows, RowsHoldAtMost255Columns) {
  WrapHost host(300);
  host.lines.Add(Letters(600));
  TCodeWordWrapPlugin& wrap = host.Wrap();
  EXPECT_EQ(wrap.MaxRowLength(), 255);
  EXPECT_EQ(wrap.MinRowLength(), 155);
  EXPECT_EQ(RowLengths(wrap), (std::vector<int>{255, 255, 90}));
}

TEST(WordWrapRows, LongWhiteSpaceIsCutAt255Columns) {
  WrapHost host(40);
  host.lines.Add(Letters(39) + std::string(300, ' ') + "b");
  EXPECT_EQ(RowLengths(host.Wrap()), (std::vector<int>{255, 84, 1}));
}

TEST(WordWrapRows, RowsAreMeasuredWithTabsExpanded) {
  WrapHost host(20);
  host.lines.Add(Letters(18) + "\t" + Letters(10, 'b'));  // the tab spans columns 19..24
  TCodeWordWrapPlugin& wrap = host.Wrap();
  EXPECT_EQ(RowLengths(wrap), (std::vector<int>{24, 10}));
  EXPECT_EQ(wrap.BufferToDisplayPos({25, 1}), DisplayCoord(1, 2));
}

TEST(WordWrapRows, CutTabRunEndsAtTheLastTabStopInReach) {
  WrapHost host(40);
  host.lines.Add(Letters(39) + std::string(40, '\t'));  // tabs up to column 352
  EXPECT_EQ(RowLengths(host.Wrap()), (std::vector<int>{248, 104}));
}

TEST(WordWrapRows, TabWiderThanARowIsCut) {
  WrapHost host(10);
  host.lines.SetTabWidth(256);
  host.lines.Add("\tx");
  EXPECT_EQ(RowLengths(host.Wrap()), (std::vector<int>{255, 2}));
}

TEST(WordWrapRows, NoRoomHoldsNoRows) {
  WrapHost host(0);
  host.lines.Add("abc");
  TCodeWordWrapPlugin& wrap = host.Wrap();
  EXPECT_EQ(wrap.RowCount(), 0);
  EXPECT_EQ(wrap.LineCount(), 0);
  host.lines.Add("def");
  EXPECT_EQ(wrap.RowCount(), 0);
  EXPECT_EQ(wrap.BufferToDisplayPos({3, 2}), DisplayCoord(3, 2));
  EXPECT_EQ(wrap.DisplayToBufferPos({3, 2}), BufferCoord(3, 2));
}

TEST(WordWrapRows, NeedsAnOwner) {
  try {
    TCodeWordWrapPlugin wrap(nullptr);
    FAIL() << "made without an owner";
  } catch (const ECodeWordWrapError& e) {
    EXPECT_EQ(e.Message(), "TCodeWordWrapPlugin must be owned by TCustomCodeEdit");
  }
}

// --- Conversions ----------------------------------------------------------------------

TEST(WordWrapConversion, ColumnInASecondRowMapsBothWays) {
  WrapHost host(40);
  host.lines.Add(Letters(60));
  TCodeWordWrapPlugin& wrap = host.Wrap();
  EXPECT_EQ(wrap.BufferToDisplayPos({45, 1}), DisplayCoord(5, 2));
  EXPECT_EQ(wrap.DisplayToBufferPos({5, 2}), BufferCoord(45, 1));
  EXPECT_EQ(wrap.BufferToDisplayPos({40, 1}), DisplayCoord(40, 1));
  EXPECT_EQ(wrap.BufferToDisplayPos({41, 1}), DisplayCoord(1, 2));
}

TEST(WordWrapConversion, ColumnsBeyondTheTextAreLimitedPerRow) {
  WrapHost host(40);
  host.lines.Add(Letters(30) + " " + Letters(20, 'b'));  // rows 31 and 20
  host.lines.Add("x");
  TCodeWordWrapPlugin& wrap = host.Wrap();
  // Past a row that continues: the start of the next row.
  EXPECT_EQ(wrap.DisplayToBufferPos({39, 1}), BufferCoord(32, 1));
  // Past the line's last row: free up to one behind the widest row.
  EXPECT_EQ(wrap.DisplayToBufferPos({35, 2}), BufferCoord(66, 1));
  EXPECT_EQ(wrap.DisplayToBufferPos({99, 2}), BufferCoord(72, 1));
  // Past the end of the line the column stays on its last row.
  EXPECT_EQ(wrap.BufferToDisplayPos({60, 1}), DisplayCoord(29, 2));
}

TEST(WordWrapConversion, PositionsBelowTheLastLineCountOnFromTheLastRow) {
  WrapHost host(40);
  host.lines.Add(Letters(100));
  TCodeWordWrapPlugin& wrap = host.Wrap();
  EXPECT_EQ(wrap.BufferToDisplayPos({7, 3}), DisplayCoord(7, 5));
  EXPECT_EQ(wrap.DisplayToBufferPos({7, 5}), BufferCoord(7, 3));
  EXPECT_EQ(wrap.RowLength(4), 0);
  EXPECT_EQ(wrap.RowLength(0), 0);
}

namespace {

std::string RandomLine(std::mt19937& Random) {
  static const char pieces[] = "abcdefghij  \t-.,;xyzABC\xE4\xF6";
  const int length = std::uniform_int_distribution<int>(0, 700)(Random);
  const int alphabet = static_cast<int>(sizeof(pieces)) - 1;
  std::uniform_int_distribution<int> pick(0, alphabet - 1);
  // Long runs of one kind make long words and long white space.
  std::string line;
  while (static_cast<int>(line.size()) < length)
    line.append(std::uniform_int_distribution<int>(1, 12)(Random), pieces[pick(Random)]);
  return line;
}

void FillRandomly(TCodeEditStringList& Lines, std::mt19937& Random, int Count) {
  for (int i = 0; i < Count; ++i) Lines.Add(RandomLine(Random));
}

// Every position the control shows maps back to itself; so does every column of a row.
void ExpectConversionsRoundTrip(const TCodeWordWrapPlugin& Wrap, const TCodeEditStringList& Lines) {
  for (int line = 1; line <= Lines.Count(); ++line) {
    const int length = Lines.GetExpandedStringLength(line - 1);
    for (int column = 1; column <= length + 1; ++column) {
      const TDisplayCoord shown = Wrap.BufferToDisplayPos({column, line});
      ASSERT_GE(shown.Column, 1);
      ASSERT_LE(shown.Column, Wrap.RowLength(shown.Row) + 1);
      if (shown.Column > Wrap.MaxRowLength() + 1) continue;  // beyond the visible columns
      ASSERT_EQ(Wrap.DisplayToBufferPos(shown), BufferCoord(column, line))
          << "line " << line << " column " << column;
    }
  }
  for (int row = 1; row <= Wrap.RowCount(); ++row)
    for (int column = 1; column <= std::min(Wrap.RowLength(row), Wrap.MaxRowLength() + 1); ++column)
      ASSERT_EQ(Wrap.BufferToDisplayPos(Wrap.DisplayToBufferPos({column, row})),
                DisplayCoord(column, row));
}

void ExpectRowsWithinLimits(const TCodeWordWrapPlugin& Wrap, const TCodeEditStringList& Lines) {
  for (int line = 1; line <= Lines.Count(); ++line) {
    const std::vector<int> rows = RowsOfLine(Wrap, line);
    int total = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
      ASSERT_LE(rows[i], 255);
      ASSERT_TRUE(rows[i] > 0 || rows.size() == 1) << "empty row inside line " << line;
      total += rows[i];
    }
    ASSERT_EQ(total, Lines.GetExpandedStringLength(line - 1)) << "line " << line;
  }
}

}  // namespace

TEST(WordWrapConversion, RandomTextsAndWidthsRoundTrip) {
  std::mt19937 random(20261207);
  for (int round = 0; round < 12; ++round) {
    WrapHost host(std::uniform_int_distribution<int>(1, 300)(random));
    host.lines.SetTabWidth(std::uniform_int_distribution<int>(1, 12)(random));
    FillRandomly(host.lines, random, 40);
    TCodeWordWrapPlugin& wrap = host.Wrap();
    SCOPED_TRACE("chars in window " + std::to_string(host.charsInWindow));
    ExpectRowsWithinLimits(wrap, host.lines);
    ExpectConversionsRoundTrip(wrap, host.lines);
  }
}

// --- Following the buffer -------------------------------------------------------------

namespace {

// The rows kept up to date line by line equal those of a fresh rebuild.
void ExpectSameAsRebuilt(WrapHost& Host) {
  const std::vector<int> kept = RowLengths(*Host.plugin);
  std::vector<int> keptFirstRows;
  for (int line = 1; line <= Host.lines.Count(); ++line)
    keptFirstRows.push_back(Host.plugin->BufferToDisplayPos({1, line}).Row);
  ASSERT_EQ(Host.plugin->LineCount(), Host.lines.Count());

  TCodeWordWrapPlugin fresh(&Host);
  ASSERT_EQ(kept, RowLengths(fresh));
  for (int line = 1; line <= Host.lines.Count(); ++line)
    ASSERT_EQ(keptFirstRows[line - 1], fresh.BufferToDisplayPos({1, line}).Row);
}

}  // namespace

TEST(WordWrapUpdates, InsertedLinesOpenRowsAndShiftTheLinesBehind) {
  WrapHost host(40);
  host.lines.SetTextStr("a\r\nb\r\nc");
  TCodeWordWrapPlugin& wrap = host.Wrap();
  ASSERT_EQ(wrap.RowCount(), 3);
  host.lines.Insert(1, Letters(100));
  EXPECT_EQ(wrap.RowCount(), 6);
  EXPECT_EQ(wrap.BufferToDisplayPos({1, 3}), DisplayCoord(1, 5));
  EXPECT_EQ(wrap.DisplayToBufferPos({1, 6}), BufferCoord(1, 4));
  ExpectSameAsRebuilt(host);
}

TEST(WordWrapUpdates, NoticesReportTheChangeInRows) {
  WrapHost host(40);
  host.lines.SetTextStr("a\r\nb\r\nc");
  TCodeWordWrapPlugin& wrap = host.Wrap();
  host.forwardEvents = false;
  host.lines.Insert(1, Letters(100));
  EXPECT_EQ(wrap.InsertLineRows(1, 1), 3);
  host.lines.Put(1, "x");
  EXPECT_EQ(wrap.RewrapLines(1, 1), -2);
  host.lines.DeleteLines(0, 2);
  EXPECT_EQ(wrap.DeleteLineRows(0, 2), -2);
  EXPECT_EQ(wrap.RowCount(), 2);
}

TEST(WordWrapUpdates, DeletedLinesTakeTheirRowsAlong) {
  WrapHost host(40);
  host.lines.SetTextStr(Letters(100) + "\r\nb\r\n" + Letters(50) + "\r\nd");
  TCodeWordWrapPlugin& wrap = host.Wrap();
  ASSERT_EQ(wrap.RowCount(), 7);
  host.lines.DeleteLines(1, 2);
  EXPECT_EQ(wrap.RowCount(), 4);
  EXPECT_EQ(wrap.BufferToDisplayPos({1, 2}), DisplayCoord(1, 4));
  ExpectSameAsRebuilt(host);
}

TEST(WordWrapUpdates, RandomEditsKeepTheRowsOfARebuild) {
  std::mt19937 random(7);
  WrapHost host(33);
  FillRandomly(host.lines, random, 30);
  host.Wrap();
  for (int step = 0; step < 300; ++step) {
    const int count = host.lines.Count();
    switch (std::uniform_int_distribution<int>(0, 4)(random)) {
      case 4: {
        const std::string a = RandomLine(random), b = RandomLine(random);
        host.lines.InsertStrings(std::uniform_int_distribution<int>(0, count)(random), {a, b, ""});
        break;
      }
      case 0:
        host.lines.Insert(std::uniform_int_distribution<int>(0, count)(random), RandomLine(random));
        break;
      case 1:
        host.lines.InsertLines(std::uniform_int_distribution<int>(0, count)(random),
                               std::uniform_int_distribution<int>(1, 4)(random));
        break;
      case 2:
        if (count > 0)
          host.lines.DeleteLines(std::uniform_int_distribution<int>(0, count - 1)(random),
                                 std::uniform_int_distribution<int>(1, 5)(random));
        break;
      default:
        if (count > 0)
          host.lines.Put(std::uniform_int_distribution<int>(0, count - 1)(random),
                         RandomLine(random));
    }
    ASSERT_NO_FATAL_FAILURE(ExpectSameAsRebuilt(host)) << "step " << step;
  }
}

TEST(WordWrapUpdates, OnlyAChangedWidthRebuilds) {
  WrapHost host(40);
  host.lines.Add(Letters(100));
  TCodeWordWrapPlugin& wrap = host.Wrap();
  host.forwardEvents = false;
  host.lines.Put(0, Letters(10));  // not told: the rows show whether a rebuild ran
  wrap.WidthChanged();
  EXPECT_EQ(RowLengths(wrap), (std::vector<int>{40, 40, 20}));
  host.charsInWindow = 50;
  wrap.WidthChanged();
  EXPECT_EQ(RowLengths(wrap), (std::vector<int>{10}));
  EXPECT_EQ(wrap.MaxRowLength(), 50);
}

TEST(WordWrapUpdates, WidthBeyond255ColumnsStillMovesTheMinimumRowLength) {
  WrapHost host(300);
  host.lines.Add(Letters(400));
  TCodeWordWrapPlugin& wrap = host.Wrap();
  host.charsInWindow = 330;
  wrap.WidthChanged();
  EXPECT_EQ(wrap.MaxRowLength(), 255);
  EXPECT_EQ(wrap.MinRowLength(), 145);
}
