// Bookmarks 0..9: placing, clearing, finding and jumping to them, and their two commands.
// A bookmark's slot is stored in the mark itself, so a slot can never refer to a mark the
// list has already freed, whoever removed it.
#include <algorithm>
#include <memory>
#include "editor/CodeEdit.h"

namespace {
constexpr int kBookmarkCount = 10;

bool IsBookmarkNumber(int BookMark) { return BookMark >= 0 && BookMark < kBookmarkCount; }
}  // namespace

TCodeEditMark* TCustomCodeEdit::BookmarkSlot(int BookMark) const {
  if (!IsBookmarkNumber(BookMark)) return nullptr;
  for (int i = 0; i < marks_->Count(); ++i)
    if (marks_->Items(i)->BookmarkSlot() == BookMark) return marks_->Items(i);
  return nullptr;
}

void TCustomCodeEdit::SetBookMark(int BookMark, int X, int Y) {
  if (!IsBookmarkNumber(BookMark) || Y < 1 || Y > std::max(1, lines_->Count())) return;
  auto mark = std::make_unique<TCodeEditMark>(this);
  mark->SetLine(Y);
  mark->SetChar(X);
  mark->SetImage(BookMark);
  mark->SetBookmarkSlot(BookMark);
  mark->SetBuiltInGlyph(bookMarkOptions_->BookmarkImages() == nullptr);
  mark->SetVisible(true);
  TCodeEditMark* placed = mark.get();
  DoOnPlaceMark(placed);
  if (placed != mark.get()) return;
  ClearBookMark(BookMark);
  marks_->Add(std::move(mark));
}

void TCustomCodeEdit::ClearBookMark(int BookMark) {
  TCodeEditMark* mark = BookmarkSlot(BookMark);
  if (!mark) return;
  TCodeEditMark* cleared = mark;
  DoOnClearBookmark(cleared);
  marks_->Remove(mark);  // the returned owner frees it here
}

void TCustomCodeEdit::GotoBookMark(int BookMark) {
  TCodeEditMark* mark = BookmarkSlot(BookMark);
  if (!mark || mark->Line() < 1 || mark->Line() > lines_->Count()) return;
  SetCaretXYEx(false, {mark->Char(), mark->Line()});
  EnsureCursorPosVisibleEx(true);
  if (SelAvail()) RepaintSelection();
  blockBegin_ = blockEnd_ = CaretXY();
}

bool TCustomCodeEdit::GetBookMark(int BookMark, int& X, int& Y) const {
  const TCodeEditMark* mark = BookmarkSlot(BookMark);
  if (!mark) return false;
  X = mark->Char();
  Y = mark->Line();
  return true;
}

void TCustomCodeEdit::DoGotoMarkerCommand(int BookMark) {
  if (bookMarkOptions_->EnableKeys()) GotoBookMark(BookMark);
}

// Toggles on the bookmark's own line: set again only when it stood on another line.
void TCustomCodeEdit::DoSetMarkerCommand(int BookMark, void* Data) {
  if (!bookMarkOptions_->EnableKeys()) return;
  TBufferCoord at = Data ? *static_cast<const TBufferCoord*>(Data) : CaretXY();
  if (TCodeEditMark* old = BookmarkSlot(BookMark)) {
    bool otherLine = old->Line() != at.Line;
    ClearBookMark(BookMark);
    if (otherLine) SetBookMark(BookMark, at.Char, at.Line);
  } else {
    SetBookMark(BookMark, at.Char, at.Line);
  }
}
