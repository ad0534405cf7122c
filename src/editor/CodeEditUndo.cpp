// Undo and redo: replaying recorded changes and recording their reverse on the other list.
#include <algorithm>
#include "editor/CodeEdit.h"
#include "editor/CodeEditScopes.h"

namespace {
using SM = TCodeSelectionMode;
using codeeditscopes::TLinesUpdate;
using codeeditscopes::TRestore;

// A replay puts back exactly what was recorded: the caret may stand past a line end, and
// neither the text taken for the other list nor a written line loses its trailing blanks.
TCodeEditorOptions ReplayOptions(TCodeEditorOptions Options) {
  Options.Include(TCodeEditorOption::eoScrollPastEol);
  Options.Exclude(TCodeEditorOption::eoTrimTrailingSpaces);
  return Options;
}

bool IsEndMarker(TCodeUndoReason R) {
  return R == urCompletionEnd || R == urPasteEnd || R == urSpecial1End || R == urSpecial2End;
}
bool IsBeginMarker(TCodeUndoReason R) {
  return R == urCompletionBegin || R == urPasteBegin || R == urSpecial1Begin ||
         R == urSpecial2Begin;
}
// The begin marker of an end marker and the other way round (their numbers differ by one).
TCodeUndoReason Partner(TCodeUndoReason R) {
  return static_cast<TCodeUndoReason>(IsEndMarker(R) ? R - 1 : R + 1);
}

TBufferCoord EarlierOf(const TCodeEditUndoItem& Item) {
  TBufferCoord s = Item.Start(), e = Item.End();
  if (Item.SelectionMode() == uint8_t(SM::smColumn))
    return {std::min(s.Char, e.Char), std::min(s.Line, e.Line)};
  return std::min(s, e);
}

std::vector<std::string> Rows(const std::string& Text) {
  std::vector<std::string> rows;
  size_t start = 0;
  for (;;) {
    size_t p = Text.find("\r\n", start);
    rows.push_back(Text.substr(start, p == std::string::npos ? std::string::npos : p - start));
    if (p == std::string::npos) return rows;
    start = p + 2;
  }
}
}  // namespace

// Whether Next belongs to the step that began with change number Number and last replayed an
// item of reason Done. A group break ends the step whatever its number: it stays in the
// history for the next step, which moves it to the other list.
bool TCustomCodeEdit::ContinuesStep(const TCodeEditUndoItem& Next, int32_t Number,
                                    TCodeUndoReason Done) const {
  if (Next.Reason() == urGroupBreak) return false;
  return Next.ChangeNumber() == Number ||
         (HasOption(TCodeEditorOption::eoGroupUndo) && Next.Reason() == Done &&
          Done != urIndent && Done != urUnindent);
}

void TCustomCodeEdit::Undo() {
  if (ReadOnly()) return;
  if (undoList_->LastChangeReason() == urGroupBreak) redoList_->PushItem(undoList_->PopItem());
  TCodeUndoReason first = undoList_->LastChangeReason();
  if (!undoList_->CanUndo()) return;
  int32_t number = undoList_->PeekItem()->ChangeNumber();
  int32_t savedBlock = redoList_->BlockChangeNumber();
  redoList_->SetBlockChangeNumber(number);
  IncPaintLock();
  try {
    for (;;) {
      std::unique_ptr<TCodeEditUndoItem> item = undoList_->PopItem();
      TCodeUndoReason reason = item->Reason();
      UndoItem(*item);
      TCodeEditUndoItem* top = undoList_->PeekItem();
      if (!top) break;
      bool more = IsEndMarker(first) ? top->Reason() != Partner(first)
                                     : ContinuesStep(*top, number, reason);
      if (!more) break;
    }
    // The begin marker of a finished marker group goes too.
    if (IsEndMarker(first) && undoList_->LastChangeReason() == Partner(first))
      undoList_->PopItem();
  } catch (...) {
    redoList_->SetBlockChangeNumber(savedBlock);
    DecPaintLock();
    throw;
  }
  redoList_->SetBlockChangeNumber(savedBlock);
  KeepCaretWithinScrollWidth();
  SyncModifiedWithUndo();
  DecPaintLock();
}

void TCustomCodeEdit::Redo() {
  if (ReadOnly()) return;
  TCodeUndoReason first = redoList_->LastChangeReason();
  if (!redoList_->CanUndo()) return;
  int32_t number = redoList_->PeekItem()->ChangeNumber();
  int32_t savedBlock = undoList_->BlockChangeNumber();
  undoList_->SetBlockChangeNumber(number);
  undoList_->SetInsideRedo(true);
  IncPaintLock();
  try {
    for (;;) {
      std::unique_ptr<TCodeEditUndoItem> item = redoList_->PopItem();
      TCodeUndoReason reason = item->Reason();
      RedoItem(*item);
      undoList_->SetBlockChangeNumber(number);
      TCodeEditUndoItem* top = redoList_->PeekItem();
      if (!top) break;
      if (IsBeginMarker(first) && top->Reason() == Partner(first)) {
        RedoItem(*redoList_->PopItem());
        break;
      }
      bool more = IsBeginMarker(first) || ContinuesStep(*top, number, reason);
      if (!more) break;
    }
    if (redoList_->LastChangeReason() == urGroupBreak) undoList_->PushItem(redoList_->PopItem());
  } catch (...) {
    undoList_->SetBlockChangeNumber(savedBlock);
    undoList_->SetInsideRedo(false);
    DecPaintLock();
    throw;
  }
  undoList_->SetBlockChangeNumber(savedBlock);
  undoList_->SetInsideRedo(false);
  KeepCaretWithinScrollWidth();
  SyncModifiedWithUndo();
  DecPaintLock();
}

// Caret and selection records undo and redo alike: the state they hold comes back, and the
// state they replace goes onto the other list.
void TCustomCodeEdit::RestorePosition(const TCodeEditUndoItem& Item, TCodeEditUndoList& Reverse) {
  const uint8_t m = Item.SelectionMode();
  if (Item.Reason() == urCaret) {
    TBufferCoord caret = CaretXY();
    SetCaretXYEx(false, Item.Start());
    Reverse.AddChange(urCaret, caret, caret, std::string(), m);
  } else {
    TBufferCoord b = blockBegin_, e = blockEnd_;
    blockBegin_ = Item.Start();
    blockEnd_ = Item.End();
    Reverse.AddChange(urSelection, b, e, std::string(), m);
  }
}

void TCustomCodeEdit::UndoItem(const TCodeEditUndoItem& Item) {
  SM mode = static_cast<SM>(Item.SelectionMode());
  TRestore<TCodeEditorOptions> replay(options_, ReplayOptions(options_));
  TRestore<bool> exact(replaying_, true);
  TRestore<TCodeSelectionMode> itemMode(activeSelectionMode_, mode);
  TBufferCoord start = Item.Start(), end = Item.End();
  uint8_t m = Item.SelectionMode();
  switch (Item.Reason()) {
    case urInsert:
    case urPaste:
    case urDragDropInsert:
    case urWhiteSpaceAdd: {
      // The redo item spans the restored text, so that redo replaces exactly that.
      SetCaretXYEx(false, start);
      blockBegin_ = start;
      blockEnd_ = end;
      std::string removed = SelText();
      TBufferCoord inserted = SetSelTextPrimitive(mode, Item.Text(), false);
      TBufferCoord restoredEnd = mode == SM::smColumn ? end : inserted;
      SetCaretXYEx(false, start);
      redoList_->AddChange(Item.Reason(), start, restoredEnd, removed, m);
      break;
    }
    case urDeleteAfterCaret:
    case urDelete:
    case urSilentDelete:
    case urSilentDeleteAfterCaret:
    case urDeleteAll: {
      TBufferCoord p = EarlierOf(Item);
      bool forward = Item.Reason() == urDeleteAfterCaret || Item.Reason() == urSilentDeleteAfterCaret;
      if (forward && p.Line > lines_->Count()) lines_->Add(std::string());
      SetCaretXYEx(false, p);
      blockBegin_ = blockEnd_ = CaretXY();
      SetSelTextPrimitive(mode, Item.Text(), false);
      switch (Item.Reason()) {
        case urSilentDeleteAfterCaret: SetCaretXYEx(false, start); break;
        case urSilentDelete: SetCaretXYEx(false, end); break;
        case urDeleteAfterCaret:
          SetCaretXYEx(false, start);
          blockBegin_ = start;
          blockEnd_ = end;
          break;
        case urDeleteAll:
          SetCaretXYEx(false, {1, 1});
          blockBegin_ = start;
          blockEnd_ = {1, 1};
          break;
        default:
          SetCaretXYEx(false, end);
          blockBegin_ = start;
          blockEnd_ = end;
          break;
      }
      EnsureCursorPosVisible();
      redoList_->AddChange(Item.Reason(), start, end, std::string(), m);
      break;
    }
    case urLineBreak: {
      {
        TLinesUpdate update(*lines_);
        SetCaretXYEx(false, start);
        const int len = LineLength(start.Line);
        const std::string& moved = Item.Text();
        bool movedIndented = !moved.empty() && (moved[0] == ' ' || moved[0] == '\t');
        std::string joined;
        if (!moved.empty() && len < start.Char - 1 &&
            (!movedIndented || !HasOption(TCodeEditorOption::eoAutoIndent)))
          joined.assign(start.Char - 1 - len, ' ');
        joined += moved;
        lines_->ReplaceInLine(start.Line - 1, len, 0, joined);
        if (start.Line < lines_->Count()) lines_->Delete(start.Line);
      }
      SetCaretXYEx(false, start);
      NotifyLinesDeleted(start.Line + 1, 1);
      redoList_->AddChange(urLineBreak, start, end, std::string(), m);
      break;
    }
    case urIndent:
      SetCaretXYEx(false, end);
      blockBegin_ = start;
      blockEnd_ = end;
      redoList_->AddChange(urIndent, start, end, Item.Text(), m);
      break;
    case urUnindent: {
      int column = mode == SM::smColumn ? std::min(start.Char, end.Char) : 1;
      std::vector<std::string> rows = Rows(Item.Text());
      {
        TLinesUpdate update(*lines_);
        for (size_t i = 0; i < rows.size(); ++i) {
          int line = std::min(start.Line, end.Line) + static_cast<int>(i);
          if (rows[i].empty() || line > lines_->Count()) continue;
          int c = std::min(column, LineLength(line) + 1);
          lines_->ReplaceInLine(line - 1, c - 1, 0, rows[i]);
        }
      }
      SetCaretXYEx(false, end);
      blockBegin_ = start;
      blockEnd_ = end;
      redoList_->AddChange(urUnindent, start, end, Item.Text(), m);
      break;
    }
    case urCaret:
    case urSelection:
      RestorePosition(Item, *redoList_);
      break;
    default:
      break;
  }
}

void TCustomCodeEdit::RedoItem(const TCodeEditUndoItem& Item) {
  SM mode = static_cast<SM>(Item.SelectionMode());
  TRestore<TCodeEditorOptions> replay(options_, ReplayOptions(options_));
  TRestore<bool> exact(replaying_, true);
  TRestore<TCodeSelectionMode> itemMode(activeSelectionMode_, mode);
  TBufferCoord start = Item.Start(), end = Item.End();
  uint8_t m = Item.SelectionMode();
  switch (Item.Reason()) {
    case urInsert:
    case urPaste:
    case urDragDropInsert: {
      SetCaretXYEx(false, start);
      blockBegin_ = start;
      blockEnd_ = mode == SM::smColumn ? start : end;
      std::string replaced = SelText();
      TBufferCoord inserted = SetSelTextPrimitive(mode, Item.Text(), false);
      TBufferCoord after = mode == SM::smColumn ? end : inserted;
      SetCaretXYEx(false, after);
      if (Item.Reason() == urDragDropInsert) {
        blockBegin_ = start;
        blockEnd_ = after;
      }
      undoList_->AddChange(Item.Reason(), start, after, replaced, m);
      break;
    }
    case urDeleteAfterCaret:
    case urDelete:
    case urSilentDelete:
    case urSilentDeleteAfterCaret:
    case urDeleteAll: {
      SetCaretXYEx(false, start);
      blockBegin_ = start;
      blockEnd_ = end;
      undoList_->AddChange(Item.Reason(), start, end, SelText(), m);
      SetSelTextPrimitive(mode, Item.Text(), false);
      SetCaretXYEx(false, EarlierOf(Item));
      break;
    }
    case urLineBreak:
      SetCaretXYEx(false, start);
      blockBegin_ = blockEnd_ = start;
      ExecuteCommand(ecLineBreak, '\0', nullptr);
      break;
    case urIndent:
      undoList_->AddChange(urIndent, start, end, Item.Text(), m);
      SetCaretXYEx(false, end);
      blockBegin_ = start;
      blockEnd_ = end;
      break;
    case urUnindent: {
      undoList_->AddChange(urUnindent, start, end, Item.Text(), m);
      int column = mode == SM::smColumn ? std::min(start.Char, end.Char) : 1;
      std::vector<std::string> rows = Rows(Item.Text());
      {
        TLinesUpdate update(*lines_);
        for (size_t i = 0; i < rows.size(); ++i) {
          int line = std::min(start.Line, end.Line) + static_cast<int>(i);
          if (rows[i].empty() || line > lines_->Count()) continue;
          if (column - 1 > LineLength(line)) continue;
          lines_->ReplaceInLine(line - 1, column - 1, rows[i].size(), {});
        }
      }
      SetCaretXYEx(false, ClampToLineEnd(end));
      blockBegin_ = ClampToLineEnd(start);
      blockEnd_ = ClampToLineEnd(end);
      break;
    }
    case urCaret:
    case urSelection:
      RestorePosition(Item, *undoList_);
      break;
    case urWhiteSpaceAdd: {
      undoList_->AddChange(urWhiteSpaceAdd, start, end, std::string(), m);
      SetCaretXYEx(false, std::min(start, end));
      blockBegin_ = blockEnd_ = CaretXY();
      SetSelTextPrimitive(SM::smNormal, Item.Text(), false);
      break;
    }
    default:
      SetCaretXYEx(false, end);
      blockBegin_ = start;
      blockEnd_ = end;
      break;
  }
}
