#include <gtest/gtest.h>
#include <memory>
#include <utility>
#include <vector>
#include "editor/CodeEditMarks.h"

namespace {

// Plays the control: owns the list and records the gutter lines it is asked to repaint.
class MarkHost : public ICodeEditMarkHost {
public:
  MarkHost() {
    marks.OnChange = [this](TObject* Sender) {
      EXPECT_EQ(Sender, &marks);
      ++listChanges;
    };
  }
  TCodeEditMarkList& Marks() const override { return marks; }
  void RepaintGutterLines(int FirstLine, int LastLine) override {
    EXPECT_EQ(FirstLine, LastLine);
    repainted.push_back(FirstLine);
  }

  TCodeEditMark* AddMark(int Line, bool Visible = false) {
    auto mark = std::make_unique<TCodeEditMark>(this);
    mark->SetLine(Line);
    mark->SetVisible(Visible);
    repainted.clear();
    return marks.Add(std::move(mark));
  }

  mutable TCodeEditMarkList marks;
  int listChanges = 0;
  std::vector<int> repainted;
};

// Counts its own destruction, to see who frees a mark.
class CountedMark : public TCodeEditMark {
public:
  CountedMark(ICodeEditMarkHost* Owner, int& Freed) : TCodeEditMark(Owner), freed_(Freed) {}
  ~CountedMark() override { ++freed_; }

private:
  int& freed_;
};

std::vector<int> LinesOf(const TCodeEditMarkList& Marks) {
  std::vector<int> lines;
  for (int i = 0; i < Marks.Count(); ++i) lines.push_back(Marks.Items(i)->Line());
  return lines;
}

}  // namespace

// --- The mark -------------------------------------------------------------------------

TEST(CodeEditMark, ForgetsItsOwnerOnceOutOfTheOwnersList) {
  MarkHost host;
  TCodeEditMark* mark = host.AddMark(3);
  EXPECT_EQ(mark->GetEdit(), &host);
  std::unique_ptr<TCodeEditMark> taken = host.marks.Remove(mark);
  EXPECT_EQ(mark->GetEdit(), nullptr);
  host.marks.Add(std::move(taken));
  EXPECT_EQ(mark->GetEdit(), nullptr) << "a forgotten owner stays forgotten";
}

TEST(CodeEditMark, VisibleMarkRepaintsTheGutterLinesItLeavesAndEnters) {
  MarkHost host;
  TCodeEditMark* mark = host.AddMark(4, true);
  mark->SetLine(9);
  EXPECT_EQ(host.repainted, (std::vector<int>{4, 9}));
  EXPECT_EQ(mark->Line(), 9);
  host.repainted.clear();
  mark->SetImage(2);
  mark->SetImage(2);
  mark->SetBuiltInGlyph(true);
  EXPECT_EQ(host.repainted, (std::vector<int>{9, 9})) << "only changes repaint";
  host.repainted.clear();
  mark->SetChar(5);
  EXPECT_TRUE(host.repainted.empty());
  EXPECT_EQ(mark->Char(), 5);
}

TEST(CodeEditMark, HiddenMarkRepaintsOnlyWhenShownOrHidden) {
  MarkHost host;
  TCodeEditMark* mark = host.AddMark(0);
  mark->SetLine(6);
  mark->SetImage(1);
  mark->SetBuiltInGlyph(true);
  EXPECT_TRUE(host.repainted.empty());
  mark->SetVisible(true);
  mark->SetVisible(false);
  EXPECT_EQ(host.repainted, (std::vector<int>{6, 6}));
}

// --- The list -------------------------------------------------------------------------

TEST(CodeEditMarkList, OwnsItsMarksUntilTheyAreTakenOut) {
  int freed = 0;
  MarkHost host;
  TCodeEditMark* kept = host.marks.Add(std::make_unique<CountedMark>(&host, freed));
  TCodeEditMark* taken = host.marks.Add(std::make_unique<CountedMark>(&host, freed));
  TCodeEditMark* deleted = host.marks.Add(std::make_unique<CountedMark>(&host, freed));
  host.marks.Delete(host.marks.IndexOf(deleted));
  EXPECT_EQ(freed, 1);
  std::unique_ptr<TCodeEditMark> out = host.marks.Remove(taken);
  EXPECT_EQ(out.get(), taken);
  EXPECT_EQ(freed, 1) << "Remove hands the mark back unfreed";
  EXPECT_EQ(host.marks.Remove(taken), nullptr);
  EXPECT_EQ(host.marks.Count(), 1);
  EXPECT_EQ(host.marks.Items(0), kept);
  out.reset();
  host.marks.Clear();
  EXPECT_EQ(freed, 3);
  EXPECT_EQ(host.marks.Count(), 0);
}

TEST(CodeEditMarkList, DestructionFreesTheMarksSilently) {
  int freed = 0;
  int changes = 0;
  {
    MarkHost host;
    TCodeEditMarkList list;
    list.Add(std::make_unique<CountedMark>(&host, freed));
    list.Add(std::make_unique<CountedMark>(&host, freed));
    list.OnChange = [&changes](TObject*) { ++changes; };
  }
  EXPECT_EQ(freed, 2);
  EXPECT_EQ(changes, 0);
}

TEST(CodeEditMarkList, EveryChangeIsReported) {
  MarkHost host;
  TCodeEditMark* first = host.AddMark(1);
  host.AddMark(2);
  EXPECT_EQ(host.listChanges, 2);
  std::unique_ptr<TCodeEditMark> out = host.marks.Remove(first);
  host.marks.Delete(0);
  EXPECT_EQ(host.listChanges, 4);
  host.marks.Clear();  // nothing left to clear
  EXPECT_EQ(host.listChanges, 4);
  host.marks.Remove(first);  // not in the list
  EXPECT_EQ(host.listChanges, 4);
  host.AddMark(3);
  host.marks.Clear();
  EXPECT_EQ(host.listChanges, 6);
}

TEST(CodeEditMarkList, MarksOfALineComeInListOrderAtMostSixteen) {
  MarkHost host;
  std::vector<TCodeEditMark*> onLine5;
  for (int i = 0; i < 20; ++i) {
    host.AddMark(7);
    onLine5.push_back(host.AddMark(5));
  }
  const TCodeEditMarks marks = host.marks.MarksOfLine(5);
  for (size_t i = 0; i < marks.size(); ++i) EXPECT_EQ(marks[i], onLine5[i]) << i;

  const TCodeEditMarks none = host.marks.MarksOfLine(6);
  for (TCodeEditMark* mark : none) EXPECT_EQ(mark, nullptr);
  host.AddMark(6);
  const TCodeEditMarks one = host.marks.MarksOfLine(6);
  EXPECT_NE(one[0], nullptr);
  EXPECT_EQ(one[1], nullptr);
}

// --- Following the lines --------------------------------------------------------------

TEST(CodeEditMarkList, InsertedLinesPushTheMarksFromTheirFirstLineDown) {
  MarkHost host;
  for (int line : {1, 4, 5, 9}) host.AddMark(line);
  host.marks.LinesInserted(5, 3);
  EXPECT_EQ(LinesOf(host.marks), (std::vector<int>{1, 4, 8, 12}));
}

TEST(CodeEditMarkList, DeletedLinesPullTheMarksBehindUpAndGatherThoseOnThem) {
  MarkHost host;
  // Lines 5..7 deleted.
  for (int line : {3, 4, 5, 6, 7, 8, 10}) host.AddMark(line);
  host.marks.LinesDeleted(5, 3);
  EXPECT_EQ(LinesOf(host.marks), (std::vector<int>{3, 4, 5, 5, 5, 5, 7}));
}

TEST(CodeEditMarkList, DeletingTheFirstLineKeepsItsMarksOnLineOne) {
  MarkHost host;
  for (int line : {1, 2, 3}) host.AddMark(line);
  host.marks.LinesDeleted(0, 1);
  EXPECT_EQ(LinesOf(host.marks), (std::vector<int>{1, 1, 2}));
  host.marks.LinesDeleted(0, 2);
  EXPECT_EQ(LinesOf(host.marks), (std::vector<int>{1, 1, 1}));
}

TEST(CodeEditMarkList, MovedVisibleMarksRepaintTheirGutterLines) {
  MarkHost host;
  host.AddMark(2, true);
  host.AddMark(8);
  host.repainted.clear();
  host.marks.LinesInserted(1, 2);
  EXPECT_EQ(host.repainted, (std::vector<int>{2, 4}));
}
