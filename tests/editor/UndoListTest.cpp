#include <gtest/gtest.h>
#include <functional>
#include <limits>
#include <string>
#include <memory>
#include "editor/CodeEditTextBuffer.h"

namespace {

void Change(TCodeEditUndoList& List, TCodeUndoReason Reason = urInsert, const std::string& Text = "") {
  List.AddChange(Reason, BufferCoord(1, 1), BufferCoord(2, 1), Text, 0);
}

int32_t TopNumber(const TCodeEditUndoList& List) { return List.PeekItem()->ChangeNumber(); }

// The items from the bottom: change numbers, a group break as "|" before its number.
std::string Shape(const TCodeEditUndoList& List) {
  TCodeEditUndoList copy;
  copy.Assign(List);
  std::string shape;
  while (std::unique_ptr<TCodeEditUndoItem> item = copy.PopItem())
    shape = (item->Reason() == urGroupBreak ? "|" : "") + std::to_string(item->ChangeNumber()) +
            (shape.empty() ? "" : " ") + shape;
  return shape;
}

// Undoes the top step the way the editor does when its items share one number.
void UndoStep(TCodeEditUndoList& List) {
  int32_t number = TopNumber(List);
  while (List.CanUndo() && TopNumber(List) == number) List.PopItem();
}

struct ItemAddedCounter {
  explicit ItemAddedCounter(TCodeEditUndoList& List) {
    List.OnItemAdded = [this](TObject*) { ++count; };
  }
  int count = 0;
};

// --- recording ---------------------------------------------------------------------------

TEST(UndoListRecording, ItemKeepsWhatWasRecorded) {
  TCodeEditUndoList list;
  list.AddChange(urDelete, BufferCoord(3, 2), BufferCoord(5, 4), "gone", 2);
  TCodeEditUndoItem* item = list.PeekItem();
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->Reason(), urDelete);
  EXPECT_EQ(item->Start(), BufferCoord(3, 2));
  EXPECT_EQ(item->End(), BufferCoord(5, 4));
  EXPECT_EQ(item->Text(), "gone");
  EXPECT_EQ(item->SelectionMode(), 2);
  EXPECT_EQ(item->ChangeNumber(), 1);
  EXPECT_EQ(list.LastChangeReason(), urDelete);
  Change(list);
  EXPECT_EQ(TopNumber(list), 2);
}

TEST(UndoListRecording, PopHandsTheTopToTheCaller) {
  TCodeEditUndoList list;
  EXPECT_EQ(list.PeekItem(), nullptr);
  EXPECT_EQ(list.PopItem(), nullptr);
  EXPECT_EQ(list.LastChangeReason(), urNothing);
  Change(list, urInsert);
  Change(list, urPaste);
  std::unique_ptr<TCodeEditUndoItem> top = list.PopItem();
  EXPECT_EQ(top->Reason(), urPaste);
  EXPECT_EQ(list.ItemCount(), 1);
  EXPECT_TRUE(list.CanUndo());
}

TEST(UndoListRecording, NothingIsRecordedWhileLocked) {
  TCodeEditUndoList list;
  list.Lock();
  list.Lock();
  Change(list);
  list.Unlock();
  Change(list);
  list.Unlock();
  list.Unlock();  // below 0 is ignored
  Change(list);
  EXPECT_EQ(list.ItemCount(), 1);
  EXPECT_EQ(TopNumber(list), 1);
}

TEST(UndoListRecording, ChangeNumbersWrapPastZeroToOne) {
  struct WrappingList : TCodeEditUndoList {
    WrappingList() { SetNextChangeNumber(std::numeric_limits<int32_t>::max()); }
  } list;
  Change(list);
  EXPECT_EQ(TopNumber(list), std::numeric_limits<int32_t>::max());
  Change(list);
  EXPECT_EQ(TopNumber(list), 1);
}

// --- blocks ------------------------------------------------------------------------------

TEST(UndoListBlocks, ItemsOfABlockShareOneNumberAndFireOnce) {
  TCodeEditUndoList list;
  Change(list);
  ItemAddedCounter added(list);
  list.BeginBlock();
  Change(list);
  list.BeginBlock();  // nested
  Change(list);
  list.EndBlock();
  Change(list);
  list.EndBlock();
  EXPECT_EQ(Shape(list), "1 |1 2 2 2 |2");
  EXPECT_EQ(added.count, 3 + 1);  // each item, then the closing of the outer block
  EXPECT_EQ(list.BlockCount(), 0);
  EXPECT_EQ(list.BlockChangeNumber(), 0);
  Change(list);
  EXPECT_EQ(TopNumber(list), 3);
}

// Group breaks ("|" with the number they carry) keep a block of several changes, or one
// opened as a step of its own, apart from its neighbours; a break stands for the state below.
TEST(UndoListBlocks, ClosingFencesBlocksOfSeveralChangesOrOwnSteps) {
  struct Case {
    const char* name;
    std::function<void(TCodeEditUndoList&)> record;
    const char* shape;
  };
  auto block = [](TCodeEditUndoList& L, int Changes, bool OwnStep = false) {
    L.BeginBlock(OwnStep);
    for (int i = 0; i < Changes; ++i) Change(L);
    L.EndBlock();
  };
  const Case cases[] = {
      {"one change", [&](auto& L) { Change(L); block(L, 1); Change(L); }, "1 2 3"},
      {"several changes", [&](auto& L) { Change(L); block(L, 2); Change(L); }, "1 |1 2 2 |2 3"},
      {"first in the list", [&](auto& L) { block(L, 2); }, "1 1 |1"},
      {"one change, own step", [&](auto& L) { Change(L); block(L, 1, true); }, "1 |1 2 |2"},
      {"own step, nothing recorded", [&](auto& L) { Change(L); block(L, 0, true); }, "1"},
      {"own step ends with the block", [&](auto& L) { block(L, 1, true); block(L, 1); },
       "1 |1 2"},
      {"two blocks share a break", [&](auto& L) { block(L, 2); block(L, 3); },
       "1 1 |1 2 2 2 |2"},
      {"after a save break", [&](auto& L) { Change(L); L.AddGroupBreak(); block(L, 2); },
       "1 |2 3 3 |3"},
      {"while a redo replays", [&](auto& L) {
         L.SetInsideRedo(true);
         L.SetBlockChangeNumber(9);
         Change(L);
         block(L, 2);  // joins the number of the step being redone
         L.SetInsideRedo(false);
       }, "9 9 9"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TCodeEditUndoList list;
    c.record(list);
    EXPECT_EQ(Shape(list), c.shape);
  }
}

TEST(UndoListBlocks, EmptyBlockFiresNothingButUsesANumber) {
  TCodeEditUndoList list;
  Change(list);
  ItemAddedCounter added(list);
  list.BeginBlock();
  list.EndBlock();
  list.EndBlock();  // without a block: nothing
  EXPECT_EQ(added.count, 0);
  Change(list);
  EXPECT_EQ(TopNumber(list), 3);
}

TEST(UndoListBlocks, BlockNumberSetFromOutsideNumbersEveryItem) {
  TCodeEditUndoList redo;
  redo.SetBlockChangeNumber(17);
  Change(redo);
  Change(redo);
  redo.SetBlockChangeNumber(0);
  EXPECT_EQ(redo.ItemCount(), 2);
  EXPECT_EQ(TopNumber(redo), 17);
  Change(redo);
  EXPECT_EQ(TopNumber(redo), 1);
}

// --- group breaks ------------------------------------------------------------------------

TEST(UndoListGroupBreaks, OneBreakOnTopAndNoItemAddedEvent) {
  TCodeEditUndoList list;
  ItemAddedCounter added(list);
  Change(list);
  list.AddGroupBreak();
  list.AddGroupBreak();
  EXPECT_EQ(list.ItemCount(), 2);
  EXPECT_EQ(list.LastChangeReason(), urGroupBreak);
  EXPECT_EQ(added.count, 1);
}

TEST(UndoListGroupBreaks, PushedItemKeepsItsNumber) {
  TCodeEditUndoList undo, redo;
  ItemAddedCounter added(redo);
  Change(undo);
  undo.AddGroupBreak();
  std::unique_ptr<TCodeEditUndoItem> groupBreak = undo.PopItem();
  int32_t number = groupBreak->ChangeNumber();
  redo.PushItem(std::move(groupBreak));
  EXPECT_EQ(redo.LastChangeReason(), urGroupBreak);
  EXPECT_EQ(TopNumber(redo), number);
  EXPECT_EQ(added.count, 0);
}

// --- the maximum -------------------------------------------------------------------------

TEST(UndoListMaximum, OldestItemsAreDroppedBeyondTheMaximum) {
  TCodeEditUndoList list;
  for (int i = 0; i < 1024; ++i) Change(list);
  EXPECT_FALSE(list.FullUndoImpossible());
  Change(list, urDelete);
  EXPECT_EQ(list.ItemCount(), 1024);
  EXPECT_TRUE(list.FullUndoImpossible());
  EXPECT_EQ(list.LastChangeReason(), urDelete);
  list.Clear();
  EXPECT_FALSE(list.FullUndoImpossible());
  EXPECT_FALSE(list.CanUndo());
}

TEST(UndoListMaximum, LoweringTheMaximumTrimsAtOnce) {
  TCodeEditUndoList list;
  for (int i = 0; i < 5; ++i) Change(list);
  list.SetMaxUndoActions(2);
  EXPECT_EQ(list.ItemCount(), 2);
  EXPECT_EQ(TopNumber(list), 5);
  EXPECT_TRUE(list.FullUndoImpossible());
  list.SetMaxUndoActions(-3);
  EXPECT_EQ(list.MaxUndoActions(), 0);
  EXPECT_EQ(list.ItemCount(), 0);
}

// --- the unmodified mark -----------------------------------------------------------------

TEST(UndoListUnmodifiedMark, EmptyNewListIsUnmodified) {
  TCodeEditUndoList list;
  EXPECT_TRUE(list.IsTopMarkedAsUnmodified());
  list.SetUnmodifiedMark(true);
  Change(list);
  EXPECT_FALSE(list.IsTopMarkedAsUnmodified());
  UndoStep(list);
  EXPECT_TRUE(list.IsTopMarkedAsUnmodified());
}

TEST(UndoListUnmodifiedMark, MarkFollowsTheSavedChange) {
  TCodeEditUndoList list;
  Change(list);
  Change(list);
  list.SetUnmodifiedMark(true);
  Change(list);
  EXPECT_FALSE(list.IsTopMarkedAsUnmodified());
  UndoStep(list);
  EXPECT_TRUE(list.IsTopMarkedAsUnmodified());
  UndoStep(list);
  EXPECT_FALSE(list.IsTopMarkedAsUnmodified());
}

TEST(UndoListUnmodifiedMark, ClearingTheMarkMakesTheStateUnreachable) {
  TCodeEditUndoList list;
  list.SetUnmodifiedMark(false);  // the empty list was the marked state
  EXPECT_FALSE(list.IsTopMarkedAsUnmodified());
  Change(list);
  list.SetUnmodifiedMark(true);
  Change(list);
  list.SetUnmodifiedMark(false);  // the top is not marked: the mark stays
  UndoStep(list);
  EXPECT_TRUE(list.IsTopMarkedAsUnmodified());
  list.SetUnmodifiedMark(false);
  EXPECT_FALSE(list.IsTopMarkedAsUnmodified());
}

TEST(UndoListUnmodifiedMark, UndoingAllAfterDroppedChangesStaysModified) {
  TCodeEditUndoList list;
  for (int i = 0; i < 1025; ++i) Change(list);
  while (list.CanUndo()) UndoStep(list);
  EXPECT_FALSE(list.IsTopMarkedAsUnmodified());
}

TEST(UndoListUnmodifiedMark, SavingWithDroppedChangesMarksTheEmptyList) {
  TCodeEditUndoList list;
  list.SetMaxUndoActions(2);
  for (int i = 0; i < 3; ++i) Change(list);
  while (list.CanUndo()) UndoStep(list);
  list.SetUnmodifiedMark(true);
  EXPECT_TRUE(list.IsTopMarkedAsUnmodified());
  Change(list);
  EXPECT_FALSE(list.IsTopMarkedAsUnmodified());
  UndoStep(list);
  EXPECT_TRUE(list.IsTopMarkedAsUnmodified());
}

TEST(UndoListUnmodifiedMark, UndoingTheRestOfAPartlyDroppedStepStaysModified) {
  TCodeEditUndoList list;
  list.SetMaxUndoActions(2);
  list.BeginBlock();
  for (int i = 0; i < 3; ++i) Change(list);
  list.EndBlock();
  list.SetUnmodifiedMark(true);
  UndoStep(list);  // takes back two of the block's three changes
  EXPECT_FALSE(list.CanUndo());
  EXPECT_FALSE(list.IsTopMarkedAsUnmodified());
  list.SetUnmodifiedMark(true);  // saved in that state
  EXPECT_TRUE(list.IsTopMarkedAsUnmodified());
  Change(list);
  UndoStep(list);
  EXPECT_TRUE(list.IsTopMarkedAsUnmodified());
}

TEST(UndoListUnmodifiedMark, ClearStartsAfreshWithoutDroppedChanges) {
  TCodeEditUndoList list;
  list.SetMaxUndoActions(1);
  Change(list);
  Change(list);
  list.Clear();
  EXPECT_TRUE(list.IsTopMarkedAsUnmodified());
}

// --- copying -----------------------------------------------------------------------------

TEST(UndoListAssign, CopiesItemsAndCountersButNotTheMark) {
  TCodeEditUndoList source, target;
  source.SetMaxUndoActions(3);
  for (int i = 0; i < 4; ++i) Change(source, urPaste, "t" + std::to_string(i));
  source.BeginBlock();
  source.Lock();
  source.SetInsideRedo(true);
  Change(target);
  target.SetUnmodifiedMark(true);
  target.Assign(source);
  EXPECT_EQ(target.ItemCount(), 3);
  EXPECT_EQ(target.PeekItem()->Text(), "t3");
  EXPECT_NE(target.PeekItem(), source.PeekItem());
  EXPECT_EQ(target.MaxUndoActions(), 3);
  EXPECT_TRUE(target.FullUndoImpossible());
  EXPECT_EQ(target.BlockCount(), 1);
  EXPECT_EQ(target.BlockChangeNumber(), 5);
  EXPECT_TRUE(target.InsideRedo());
  Change(target);  // the lock came along
  EXPECT_EQ(target.ItemCount(), 3);
  EXPECT_FALSE(target.IsTopMarkedAsUnmodified());  // the mark stays 1
  target.Unlock();
  target.EndBlock();
  Change(target);
  EXPECT_EQ(TopNumber(target), 6);
}

}  // namespace
