// The control's side of word wrap: switching it, rows of lines, and the caret on wrapped rows.
#include <algorithm>
#include <climits>
#include "editor/CodeEdit.h"

void TCustomCodeEdit::SetWordWrap(bool Value) {
  if (Value == WordWrap()) return;
  Repaint();
  TDisplayCoord caret = DisplayXY();
  bool caretWasVisible = HandleAllocated() && caret.Row >= topLine_ &&
                         caret.Row < topLine_ + std::max(1, linesInWindow_);
  int oldTopLine = LineOfRow(topLine_);
  if (Value) {
    wordWrapPlugin_ = std::make_unique<TCodeWordWrapPlugin>(this);
    SetLeftChar(1);
  } else {
    wordWrapPlugin_.reset();
    caretAtEndOfWrappedRow_ = false;
  }
  SetTopLine(FirstRowOfLine(oldTopLine));
  UpdateScrollBars();
  if (HasOption(TCodeEditorOption::eoScrollPastEol)) {
    TBufferCoord b = blockBegin_, e = blockEnd_;
    TCodeSelectionMode mode = activeSelectionMode_;
    IncPaintLock();
    try {
      SetCaretXYEx(false, CaretXY());
      SetBlockBegin(b);
      SetBlockEnd(e);
      activeSelectionMode_ = mode;
    } catch (...) {
      DecPaintLock();
      throw;
    }
    DecPaintLock();
  }
  if (caretWasVisible) EnsureCursorPosVisible();
}

int TCustomCodeEdit::FirstRowOfLine(int Line) const {
  if (!wordWrapPlugin_ || Line < 1) return Line;
  return wordWrapPlugin_->BufferToDisplayPos({1, Line}).Row;
}

int TCustomCodeEdit::LineOfRow(int Row) const {
  if (!wordWrapPlugin_ || Row < 1) return Row;
  return wordWrapPlugin_->DisplayToBufferPos({1, Row}).Line;
}

void TCustomCodeEdit::SetInternalDisplayXY(const TDisplayCoord& APos) {
  IncPaintLock();
  try {
    InternalSetCaretXY(DisplayToBufferPos(APos));
    // A position beyond a wrapped row's text maps to the start of the next row; the flag
    // keeps the caret at the end of the clicked row instead.
    caretAtEndOfWrappedRow_ = IsEndOfWrappedRow(APos, CaretXY());
  } catch (...) {
    DecPaintLock();
    throw;
  }
  DecPaintLock();
  UpdateLastCaretX();
}

bool TCustomCodeEdit::IsEndOfWrappedRow(const TDisplayCoord& Pos,
                                        const TBufferCoord& Buffer) const {
  return wordWrapPlugin_ && Pos.Row <= wordWrapPlugin_->RowCount() &&
         Pos.Column > wordWrapPlugin_->RowLength(Pos.Row) &&
         BufferToDisplayPos(Buffer).Row != Pos.Row;
}

// A caret moved beyond the window's width on a wrapped row is brought back to the row's end.
void TCustomCodeEdit::KeepWrappedCaretInRow() {
  if (!statusChanges_.Contains(TCodeStatusChange::scCaretX) &&
      !statusChanges_.Contains(TCodeStatusChange::scCaretY))
    return;
  if (charsInWindow_ < 1 || DisplayX() <= charsInWindow_ + 1) return;
  if (caretAtEndOfWrappedRow_) {
    caretAtEndOfWrappedRow_ = false;
  } else if (statusChanges_.Contains(TCodeStatusChange::scCaretY)) {
    TDisplayCoord p = DisplayXY();
    p.Column = charsInWindow_ + 1;
    caretX_ = DisplayToBufferPos(p).Char;
    statusChanges_ += TCodeStatusChanges{TCodeStatusChange::scCaretX};
    UpdateLastCaretX();
  }
  stateFlags_.Include(TStateFlag::sfCaretChanged);
}

void TCustomCodeEdit::RepaintMovedRows(int Index, int RowDelta) {
  if (RowDelta == 0) return;
  RepaintLines(Index + 1, INT_MAX);
  RepaintGutterLines(Index + 1, INT_MAX);
}
