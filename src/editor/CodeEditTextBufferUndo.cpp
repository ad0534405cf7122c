#include <cstdint>
#include <limits>
#include <utility>
#include "editor/CodeEditTextBuffer.h"

TCodeEditUndoItem::TCodeEditUndoItem(TCodeUndoReason Reason, uint8_t SelectionMode,
                                     TBufferCoord Start, TBufferCoord End, std::string Text,
                                     int32_t ChangeNumber)
    : reason_(Reason), selectionMode_(SelectionMode), start_(Start), end_(End),
      text_(std::move(Text)), changeNumber_(ChangeNumber) {}

TCodeEditUndoList::TCodeEditUndoList() = default;

TCodeEditUndoList::~TCodeEditUndoList() = default;

// Change numbers stay positive: after the largest value comes 1, so a number never meets 0
// ("no block") or -1 ("unmodified state unreachable").
void TCodeEditUndoList::AdvanceChangeNumber() {
  nextChangeNumber_ =
      nextChangeNumber_ == std::numeric_limits<int32_t>::max() ? 1 : nextChangeNumber_ + 1;
}

void TCodeEditUndoList::AddChange(TCodeUndoReason Reason, TBufferCoord Start, TBufferCoord End,
                                  std::string Text, uint8_t SelectionMode) {
  if (lockCount_ > 0) return;
  int32_t number = blockChangeNumber_;
  if (number == 0) {
    number = nextChangeNumber_;
    AdvanceChangeNumber();
  }
  PushItem(std::make_unique<TCodeEditUndoItem>(Reason, SelectionMode, Start, End, std::move(Text),
                                               number));
}

void TCodeEditUndoList::AddGroupBreak() {
  if (LastChangeReason() != urGroupBreak) AddChange(urGroupBreak, {}, {}, std::string(), 0);
}

std::unique_ptr<TCodeEditUndoItem> TCodeEditUndoList::MakeGroupBreak(int32_t ChangeNumber) {
  return std::make_unique<TCodeEditUndoItem>(urGroupBreak, 0, TBufferCoord{}, TBufferCoord{},
                                             std::string(), ChangeNumber);
}

// Grouping of like changes takes back a neighbour's single change together with a block's
// change of the same kind, which tears a block of several changes apart (a text that never
// existed). Group breaks below and above such a block keep it one step of its own. Each
// break carries the number of the step below it, so that it stands for the same state and
// the unmodified mark keeps matching. A redo brings back the breaks recorded with the items,
// so it fences nothing itself.
void TCodeEditUndoList::FenceClosedBlock(int32_t Closed) {
  if (insideRedo_) return;
  size_t first = items_.size();
  while (first > 0 && items_[first - 1]->ChangeNumber() == Closed) --first;
  if (items_.size() - first < 2 && !ownStep_) return;
  if (first > 0 && items_[first - 1]->Reason() != urGroupBreak)
    items_.insert(items_.begin() + first, MakeGroupBreak(items_[first - 1]->ChangeNumber()));
  items_.push_back(MakeGroupBreak(Closed));
  TrimToMaximum();
}

void TCodeEditUndoList::PushItem(std::unique_ptr<TCodeEditUndoItem> Item) {
  bool groupBreak = Item->Reason() == urGroupBreak;
  items_.push_back(std::move(Item));
  TrimToMaximum();
  if (!groupBreak) FireItemAdded();
}

// Stands for the state before a step whose oldest items were dropped: undoing the rest of
// that step gives a text that never existed, so no earlier mark may match it. Change
// numbers are positive and the mark's "unreachable" is -1, so this meets neither.
constexpr int32_t kStateOfPartlyDroppedStep = std::numeric_limits<int32_t>::min();

void TCodeEditUndoList::TrimToMaximum() {
  if (static_cast<int>(items_.size()) <= maxUndoActions_) return;
  fullUndoImpossible_ = true;
  while (static_cast<int>(items_.size()) > maxUndoActions_) {
    newestDroppedNumber_ = items_.front()->ChangeNumber();
    items_.pop_front();
  }
  if (!items_.empty() && items_.front()->ChangeNumber() == newestDroppedNumber_)
    newestDroppedNumber_ = kStateOfPartlyDroppedStep;
}

void TCodeEditUndoList::FireItemAdded() {
  if (OnItemAdded) OnItemAdded(this);
}

// A block opened while a redo replays a step (a redone line break runs its command) joins
// the number the redo gives that step, so that the step stays one after the redo.
void TCodeEditUndoList::BeginBlock(bool OwnStep) {
  ++blockCount_;
  ownStep_ = ownStep_ || OwnStep;
  if (insideRedo_ && blockChangeNumber_ != 0) return;
  blockChangeNumber_ = nextChangeNumber_;
}

void TCodeEditUndoList::EndBlock() {
  if (blockCount_ == 0) return;
  if (--blockCount_ > 0) return;
  int32_t closed = blockChangeNumber_;
  blockChangeNumber_ = 0;
  AdvanceChangeNumber();
  if (!items_.empty() && items_.back()->ChangeNumber() == closed) {
    FireItemAdded();
    FenceClosedBlock(closed);
  }
  ownStep_ = false;
}

void TCodeEditUndoList::Clear() {
  items_.clear();
  fullUndoImpossible_ = false;
  newestDroppedNumber_ = 0;
}

TCodeEditUndoItem* TCodeEditUndoList::PeekItem() const {
  return items_.empty() ? nullptr : items_.back().get();
}

std::unique_ptr<TCodeEditUndoItem> TCodeEditUndoList::PopItem() {
  if (items_.empty()) return nullptr;
  std::unique_ptr<TCodeEditUndoItem> item = std::move(items_.back());
  items_.pop_back();
  return item;
}

TCodeUndoReason TCodeEditUndoList::LastChangeReason() const {
  return items_.empty() ? urNothing : items_.back()->Reason();
}

void TCodeEditUndoList::Unlock() {
  if (lockCount_ > 0) --lockCount_;
}

void TCodeEditUndoList::Assign(const TCodeEditUndoList& Source) {
  if (&Source == this) return;
  std::deque<std::unique_ptr<TCodeEditUndoItem>> copies;
  for (const auto& item : Source.items_) copies.push_back(std::make_unique<TCodeEditUndoItem>(*item));
  items_ = std::move(copies);
  blockChangeNumber_ = Source.blockChangeNumber_;
  blockCount_ = Source.blockCount_;
  fullUndoImpossible_ = Source.fullUndoImpossible_;
  newestDroppedNumber_ = Source.newestDroppedNumber_;
  lockCount_ = Source.lockCount_;
  maxUndoActions_ = Source.maxUndoActions_;
  nextChangeNumber_ = Source.nextChangeNumber_;
  insideRedo_ = Source.insideRedo_;
  ownStep_ = Source.ownStep_;
}

void TCodeEditUndoList::SetMaxUndoActions(int Value) {
  if (Value < 0) Value = 0;
  if (Value == maxUndoActions_) return;
  maxUndoActions_ = Value;
  TrimToMaximum();
}

// An empty list stands for the text as it was before its oldest kept change, which is the
// state after the newest dropped step (or the start, when nothing was dropped).
int32_t TCodeEditUndoList::TopChangeNumber() const {
  return items_.empty() ? newestDroppedNumber_ : items_.back()->ChangeNumber();
}

void TCodeEditUndoList::SetUnmodifiedMark(bool Value) {
  if (Value)
    unmodifiedMark_ = TopChangeNumber();
  else if (unmodifiedMark_ == TopChangeNumber())
    unmodifiedMark_ = -1;
}

bool TCodeEditUndoList::IsTopMarkedAsUnmodified() const { return unmodifiedMark_ == TopChangeNumber(); }
