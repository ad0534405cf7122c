// Sharing the text buffer and undo lists of another editor.
#include <algorithm>
#include "editor/CodeEdit.h"

TCustomCodeEdit::TBufferHandlers TCustomCodeEdit::BufferHandlers() const {
  return {lines_->OnChange,       lines_->OnChanging,      lines_->OnCleared,
          undoList_->OnItemAdded, redoList_->OnItemAdded,  lines_->OnLinesDeleted,
          lines_->OnLinesInserted, lines_->OnLinePut};
}

void TCustomCodeEdit::SetBufferHandlers(const TBufferHandlers& Handlers) {
  lines_->OnChange = Handlers.Change;
  lines_->OnChanging = Handlers.Changing;
  lines_->OnCleared = Handlers.Cleared;
  lines_->OnLinesDeleted = Handlers.Deleted;
  lines_->OnLinesInserted = Handlers.Inserted;
  lines_->OnLinePut = Handlers.Put;
  undoList_->OnItemAdded = Handlers.UndoAdded;
  redoList_->OnItemAdded = Handlers.RedoAdded;
}

TCustomCodeEdit::TBufferHandlers TCustomCodeEdit::OwnHandlers() {
  TBufferHandlers h;
  h.Change = [this](TObject*) { LinesChanged(); };
  h.Changing = [this](TObject*) { LinesChanging(); };
  h.Cleared = [this](TObject*) { ListCleared(); };
  h.UndoAdded = [this](TObject*) { UndoListItemAdded(*undoList_); };
  h.RedoAdded = [this](TObject*) { UndoListItemAdded(*redoList_); };
  h.Deleted = [this](TObject*, int Index, int Count) { ListDeleted(Index, Count); };
  h.Inserted = [this](TObject*, int Index, int Count) { ListInserted(Index, Count); };
  h.Put = [this](TObject*, int Index, int Count) { ListPut(Index, Count); };
  return h;
}

void TCustomCodeEdit::SetLinesPointer(TCustomCodeEdit& Other) {
  if (&Other == this) return;
  RemoveLinesPointer();
  savedHandlers_ = Other.BufferHandlers();
  lines_ = Other.lines_;
  undoList_ = Other.undoList_;
  redoList_ = Other.redoList_;
  SetBufferHandlers(OwnHandlers());
  sharedFrom_ = &Other;
  Other.sharingEditors_.push_back(this);
  if (wordWrapPlugin_) wordWrapPlugin_->RebuildAll();  // rows of the other text
  SetCaretXY({1, 1});
  SetTopLine(1);
  Repaint();
  UpdateScrollBars();
}

void TCustomCodeEdit::RemoveLinesPointer() {
  if (!sharingEditors_.empty() && !destroying_)
    throw Exception("RemoveLinesPointer while another editor shares this text");
  if (!sharedFrom_) return;
  SetBufferHandlers(savedHandlers_);
  auto& sharing = sharedFrom_->sharingEditors_;
  sharing.erase(std::remove(sharing.begin(), sharing.end(), this), sharing.end());
  sharedFrom_ = nullptr;
  savedHandlers_ = {};
  lines_ = ownLines_.get();
  undoList_ = ownUndoList_.get();
  redoList_ = ownRedoList_.get();
  if (destroying_) return;
  if (wordWrapPlugin_) wordWrapPlugin_->RebuildAll();  // rows of the own text again
  Repaint();
  if (HasOption(TCodeEditorOption::eoAutoSizeMaxScrollWidth))
    SetMaxScrollWidth(std::max(maxScrollWidth_, lines_->GetLengthOfLongestLine()));
  SetCaretXY(CaretXY());
  UpdateScrollBars();
}

void TCustomCodeEdit::ReleaseSharingEditors() {
  while (!sharingEditors_.empty()) {
    TCustomCodeEdit* sharer = sharingEditors_.back();
    sharer->ReleaseSharingEditors();
    sharer->RemoveLinesPointer();
  }
}
