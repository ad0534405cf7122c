// Modified state, change and status notifications, the paint lock, repainting, the caret and
// scroll bars on the window, and the small operations on positions and indentation.
#include <windows.h>
#include <imm.h>
#include <algorithm>
#include <climits>
#include "editor/CodeEdit.h"
#include "editor/CodeEditScopes.h"

namespace {
using EO = TCodeEditorOption;
using SC = TCodeStatusChange;
}  // namespace

// ---------------------------------------------------------------------------------------
// Modified state and notifications

void TCustomCodeEdit::SetModified(bool Value) {
  if (Value == modified_) return;
  modified_ = Value;
  if (HasOption(EO::eoGroupUndo) && !Value && undoList_->CanUndo()) undoList_->AddGroupBreak();
  undoList_->SetUnmodifiedMark(!Value);
  StatusChanged({SC::scModified});
}

void TCustomCodeEdit::SyncModifiedWithUndo() {
  bool value = !undoList_->IsTopMarkedAsUnmodified();
  if (value == modified_) return;
  modified_ = value;
  StatusChanged({SC::scModified});
}

void TCustomCodeEdit::UndoListItemAdded(TCodeEditUndoList& Sender) {
  SyncModifiedWithUndo();
  if (&Sender == undoList_ && !undoList_->InsideRedo()) {
    TCodeEditUndoItem* top = undoList_->PeekItem();
    if (top && top->Reason() != urGroupBreak) redoList_->Clear();
  }
  if (Sender.BlockCount() == 0) DoChange();
}

void TCustomCodeEdit::StatusChanged(TCodeStatusChanges AChanges) {
  statusChanges_ += AChanges;
  if (paintLock_ == 0) DoOnStatusChange(statusChanges_);
}

void TCustomCodeEdit::IncPaintLock() { ++paintLock_; }

void TCustomCodeEdit::DecPaintLock() {
  if (paintLock_ <= 0) throw Exception("DecPaintLock without IncPaintLock");
  --paintLock_;
  if (paintLock_ > 0) return;
  if (HandleAllocated()) {
    if (stateFlags_.Contains(TStateFlag::sfScrollbarChanged)) UpdateScrollBars();
    if (wordWrapPlugin_) KeepWrappedCaretInRow();
    if (stateFlags_.Contains(TStateFlag::sfCaretChanged)) UpdateCaret();
  }
  if (!statusChanges_.Empty()) DoOnStatusChange(statusChanges_);
}

// ---------------------------------------------------------------------------------------
// Hooked command handlers and plug-ins

void TCustomCodeEdit::RegisterCommandHandler(THookedCommandEvent Handler, void* HandlerData) {
  hookedCommandHandlers_.push_back({std::move(Handler), HandlerData});
}

void TCustomCodeEdit::UnregisterCommandHandler(void* HandlerData) {
  auto& h = hookedCommandHandlers_;
  h.erase(std::remove_if(h.begin(), h.end(),
                         [&](const THookedCommandEntry& e) { return e.Data == HandlerData; }),
          h.end());
}

void TCustomCodeEdit::NotifyHookedCommandHandlers(bool AfterCommand, TCodeEditorCommand& Command,
                                                  char& AChar, void* Data) {
  bool handled = false;
  // A handler may register or remove handlers: walk a copy.
  std::vector<THookedCommandEntry> entries = hookedCommandHandlers_;
  for (auto& e : entries) e.Event(this, AfterCommand, handled, Command, AChar, Data, e.Data);
  if (handled) Command = ecNone;
}

void TCustomCodeEdit::AddPlugin(TCodeEditPlugin* Plugin) { plugins_.push_back(Plugin); }

void TCustomCodeEdit::RemovePlugin(TCodeEditPlugin* Plugin) {
  plugins_.erase(std::remove(plugins_.begin(), plugins_.end(), Plugin), plugins_.end());
}

void TCustomCodeEdit::NotifyPluginsAfterPaint(HDC ACanvas, const RECT& AClip, int FirstLine,
                                              int LastLine) {
  for (TCodeEditPlugin* p : plugins_) p->AfterPaint(ACanvas, AClip, FirstLine, LastLine);
}

void TCustomCodeEdit::NotifyLinesInserted(int FirstLine, int Count) {
  marks_->LinesInserted(FirstLine, Count);
  for (TCodeEditPlugin* p : plugins_) p->LinesInserted(FirstLine, Count);
}

void TCustomCodeEdit::NotifyLinesDeleted(int FirstLine, int Count) {
  marks_->LinesDeleted(FirstLine, Count);
  for (TCodeEditPlugin* p : plugins_) p->LinesDeleted(FirstLine, Count);
}

// ---------------------------------------------------------------------------------------
// History

// The program's compound commands stay steps of their own even when they change one thing.
void TCustomCodeEdit::OpenUndoBlock() { undoList_->BeginBlock(true); }
void TCustomCodeEdit::CloseUndoBlock() { undoList_->EndBlock(); }

void TCustomCodeEdit::ClearHistory() {
  undoList_->Clear();
  redoList_->Clear();
}

void TCustomCodeEdit::SuspendHistory() {
  undoList_->Lock();
  redoList_->Lock();
}

void TCustomCodeEdit::ResumeHistory() {
  undoList_->Unlock();
  redoList_->Unlock();
}

bool TCustomCodeEdit::CanUndo() const { return !ReadOnly() && undoList_->CanUndo(); }
bool TCustomCodeEdit::CanRedo() const { return !ReadOnly() && redoList_->CanUndo(); }
int TCustomCodeEdit::MaxUndo() const { return undoList_->MaxUndoActions(); }

void TCustomCodeEdit::SetMaxUndo(int Value) {
  if (Value < 0) return;
  undoList_->SetMaxUndoActions(Value);
  redoList_->SetMaxUndoActions(Value);
}

void TCustomCodeEdit::ClearAll() {
  lines_->Clear();
  marks_->Clear();
  ClearHistory();
  SetModified(false);
}

// ---------------------------------------------------------------------------------------
// Character indexes

const std::vector<int64_t>& TCustomCodeEdit::LineStarts() const {
  if (lineStartsOf_ == lines_ && lineStartsStamp_ == lines_->ChangeStamp()) return lineStarts_;
  const int count = lines_->Count();
  lineStarts_.resize(static_cast<size_t>(count) + 1);
  int64_t start = 0;
  for (int i = 0; i < count; ++i) {
    lineStarts_[i] = start;
    start += static_cast<int64_t>(lines_->View(i).size()) + 2;
  }
  lineStarts_[count] = start;
  lineStartsOf_ = lines_;
  lineStartsStamp_ = lines_->ChangeStamp();
  return lineStarts_;
}

TBufferCoord TCustomCodeEdit::CharIndexToRowCol(int Index) const {
  const std::vector<int64_t>& starts = LineStarts();
  // The first line that starts beyond Index follows the line holding it.
  const auto next = std::upper_bound(starts.begin() + 1, starts.end(), static_cast<int64_t>(Index));
  if (next == starts.end()) return {1, lines_->Count() + 1};
  const int line = static_cast<int>(next - starts.begin()) - 1;
  return {static_cast<int>(Index - starts[line]) + 1, line + 1};
}

int TCustomCodeEdit::RowColToCharIndex(TBufferCoord RowCol) const {
  const int last = std::min(RowCol.Line, lines_->Count());
  const int64_t start = last >= 1 ? LineStarts()[last - 1] : 0;
  return static_cast<int>(start + RowCol.Char - 1);
}

int TCustomCodeEdit::SelStart() const {
  return RowColToCharIndex(SelAvail() ? BlockBegin() : CaretXY());
}

int TCustomCodeEdit::SelEnd() const {
  return RowColToCharIndex(SelAvail() ? BlockEnd() : CaretXY());
}

int TCustomCodeEdit::SelLength() const {
  return SelAvail() ? RowColToCharIndex(BlockEnd()) - RowColToCharIndex(BlockBegin()) : 0;
}

void TCustomCodeEdit::SetSelStart(int Value) {
  SetCaretXY(CharIndexToRowCol(Value));
}

void TCustomCodeEdit::SetSelEnd(int Value) { SetBlockEnd(CharIndexToRowCol(Value)); }

void TCustomCodeEdit::SetSelLength(int Value) {
  int start = SelStart();
  TBufferCoord oldStart = CharIndexToRowCol(start);
  int64_t target = static_cast<int64_t>(start) + Value;
  // An index outside the int range (either way) selects forward to the end of the text.
  bool outside = target < 0 || target > INT_MAX;
  TBufferCoord p = outside ? TBufferCoord{LineLength(lines_->Count()) + 1,
                                          std::max(1, lines_->Count())}
                           : CharIndexToRowCol(static_cast<int>(target));
  bool forward = Value >= 0 || outside;
  codeeditscopes::TPaintLock lock(*this);
  InternalSetCaretXY(p);
  SetBlockBegin(forward ? oldStart : p);
  SetBlockEnd(forward ? p : oldStart);
}

// The inserted text is recorded as a stream (normal mode) also after a line selection: a
// line-mode record would take whole lines, including text the insertion did not bring.
void TCustomCodeEdit::SetSelText(const std::string& Value) {
  codeeditscopes::TUndoBlock block(*undoList_);
  if (SelAvail())
    RecordSelectionDeletion(urDelete);
  else
    activeSelectionMode_ = selectionMode_;
  TCodeSelectionMode mode = activeSelectionMode_;
  TBufferCoord b = BlockBegin(), e = BlockEnd();
  blockBegin_ = b;
  blockEnd_ = e;
  TBufferCoord start;
  TBufferCoord end = SetSelTextPrimitive(mode, Value, true, &start);
  if (!Value.empty() && mode != TCodeSelectionMode::smColumn)
    undoList_->AddChange(urInsert, start, end, std::string(),
                         uint8_t(TCodeSelectionMode::smNormal));
}

// Records the removal of the selection. A column block is recorded row by row, so that undo
// puts back exactly the characters each row lost and no blanks on rows that were short.
void TCustomCodeEdit::RecordSelectionDeletion(TCodeUndoReason Reason) {
  TBufferCoord b = BlockBegin(), e = BlockEnd();
  if (activeSelectionMode_ == TCodeSelectionMode::smColumn) {
    auto [col1, col2] = ColumnBlockSpan();
    for (int line = b.Line; line <= std::min(e.Line, lines_->Count()); ++line) {
      int len = LineLength(line);
      int c1 = std::min(ColumnToChar(line, col1), len + 1);
      int c2 = std::min(ColumnToChar(line, col2), len + 1);
      if (c2 > c1)
        undoList_->AddChange(Reason, {c1, line}, {c2, line},
                             LineAt(line).substr(c1 - 1, c2 - c1), uint8_t(TCodeSelectionMode::smNormal));
    }
    return;
  }
  if (activeSelectionMode_ == TCodeSelectionMode::smNormal) {
    b = ClampToLineEnd(b);
    e = ClampToLineEnd(e);
  }
  undoList_->AddChange(Reason, b, e, SelText(), uint8_t(activeSelectionMode_));
}

// ---------------------------------------------------------------------------------------
// Indentation

int TCustomCodeEdit::LeadingWhiteWidth(std::string_view Line, bool ExpandTabs) const {
  if (!HasOption(EO::eoAutoIndent)) return 0;
  int width = 0;
  for (char c : Line) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u < 1 || u > 32) break;
    width += (ExpandTabs && c == '\t') ? tabWidth_ : 1;
  }
  return width;
}

std::string TCustomCodeEdit::MakeIndent(int Count, bool WantTabs) const {
  if (Count <= 0) return std::string();
  if (WantTabs && !HasOption(EO::eoTabsToSpaces) && Count >= tabWidth_)
    return std::string(Count / tabWidth_, '\t') + std::string(Count % tabWidth_, ' ');
  return std::string(Count, ' ');
}

size_t TCustomCodeEdit::TrailingBlanksStart(std::string_view S) {
  size_t n = S.size();
  while (n > 0 && (S[n - 1] == ' ' || S[n - 1] == '\t')) --n;
  return n;
}

std::string TCustomCodeEdit::StripTrailingBlanks(const std::string& S) {
  return S.substr(0, TrailingBlanksStart(S));
}

// Only the blanks at the line's end are looked at and copied: typing calls this on every
// character.
void TCustomCodeEdit::TrimLineRecorded(int Line) {
  if (!HasOption(EO::eoTrimTrailingSpaces) || Line < 1 || Line > lines_->Count()) return;
  const std::string_view s = lines_->View(Line - 1);
  const size_t kept = TrailingBlanksStart(s);
  if (kept == s.size()) return;
  const TBufferCoord end{static_cast<int>(s.size()) + 1, Line};
  std::string blanks(s.substr(kept));
  lines_->ReplaceInLine(Line - 1, kept, blanks.size(), {});
  undoList_->AddChange(urSilentDelete, {static_cast<int>(kept) + 1, Line}, end, std::move(blanks),
                       uint8_t(TCodeSelectionMode::smNormal));
}

// ---------------------------------------------------------------------------------------
// Pixel geometry

TDisplayCoord TCustomCodeEdit::PixelsToRowColumn(int X, int Y) const {
  int cw = std::max(1, charWidth_), lh = std::max(1, lineHeight_);
  return {std::max(1, leftChar_ + (X - gutterWidth_ - 2) / cw), std::max(1, topLine_ + Y / lh)};
}

TDisplayCoord TCustomCodeEdit::PixelsToNearestDisplayPos(int X, int Y) const {
  int cw = std::max(1, charWidth_), lh = std::max(1, lineHeight_);
  int column = std::max(1, leftChar_ + (X - gutterWidth_ - 2 + cw / 2) / cw);
  Y = std::min(Y, std::max(0, linesInWindow_ - 1) * lh);
  return {column, std::max(1, topLine_ + Y / lh)};
}

POINT TCustomCodeEdit::RowColumnToPixels(const TDisplayCoord& P) const {
  return {(P.Column - 1) * charWidth_ + textOffset_, (P.Row - topLine_) * lineHeight_};
}

// ---------------------------------------------------------------------------------------
// Repainting: nothing without a window; areas collect while the buffer changes.

void TCustomCodeEdit::InvalidateRect(const RECT& ARect, bool Erase) {
  if (HandleAllocated()) ::InvalidateRect(Handle(), &ARect, Erase);
}

void TCustomCodeEdit::Repaint() {
  if (HandleAllocated()) ::InvalidateRect(Handle(), nullptr, FALSE);
}

void TCustomCodeEdit::InvalidateLine(int Line) { RepaintLines(Line, Line); }

void TCustomCodeEdit::RepaintLines(int FirstLine, int LastLine) {
  if (HandleAllocated()) RepaintRowsOf(false, FirstLine, LastLine);
}

void TCustomCodeEdit::RepaintGutter() { RepaintGutterLines(-1, -1); }

void TCustomCodeEdit::RepaintGutterLines(int FirstLine, int LastLine) {
  if (HandleAllocated()) RepaintRowsOf(true, FirstLine, LastLine);
}

// The visible rows of the lines within the gutter or the text area (all of it for -1, -1);
// collected while the buffer changes. Lines out of view cost no window call: a load reports
// each of its lines.
void TCustomCodeEdit::RepaintRowsOf(bool Gutter, int FirstLine, int LastLine) {
  if (lineHeight_ == 0) return;
  int top = 0, bottom = 0;
  const bool all = FirstLine == -1 && LastLine == -1;
  if (!all) {
    // With word wrap: from the first row of the first line to the last row of the last.
    int first = std::max(FirstRowOfLine(std::max(FirstLine, 1)), topLine_);
    int last = WordWrap() && LastLine < INT_MAX ? FirstRowOfLine(LastLine + 1) - 1 : LastLine;
    last = std::min(last, topLine_ + linesInWindow_);
    if (last < first) return;
    top = (first - topLine_) * lineHeight_;
    bottom = (last - topLine_ + 1) * lineHeight_;
  }
  RECT strip = ClientRect();
  if (Gutter)
    strip.right = gutterWidth_;
  else
    strip.left = gutterWidth_;
  if (!all) {
    strip.top = top;
    strip.bottom = bottom;
  }
  if (stateFlags_.Contains(TStateFlag::sfLinesChanging))
    UnionRect(&invalidRect_, &invalidRect_, &strip);
  else
    InvalidateRect(strip, false);
}

void TCustomCodeEdit::RepaintSelection() {
  if (SelAvail()) RepaintLines(BlockBegin().Line, BlockEnd().Line);
}

// ---------------------------------------------------------------------------------------
// Caret and scroll bars on the window

void TCustomCodeEdit::CreateCaretShape() {
  if (!HandleAllocated() || (GetFocus() != Handle() && !keepCaret_)) return;
  TCodeEditCaretType shape = insertMode_ ? insertCaret_ : overwriteCaret_;
  int w = charWidth_, h = std::max(1, lineHeight_ - 2);
  switch (shape) {
    case TCodeEditCaretType::ctVerticalLine: w = 2; break;
    case TCodeEditCaretType::ctHorizontalLine: h = 2; break;
    case TCodeEditCaretType::ctHalfBlock: h = std::max(1, (lineHeight_ - 2) / 2); break;
    case TCodeEditCaretType::ctBlock: break;
  }
  stateFlags_.Exclude(TStateFlag::sfCaretVisible);
  ::CreateCaret(Handle(), nullptr, w, h);
  UpdateCaret();
}

void TCustomCodeEdit::HideCaret() {
  if (!HandleAllocated() || !stateFlags_.Contains(TStateFlag::sfCaretVisible)) return;
  ::HideCaret(Handle());
  stateFlags_.Exclude(TStateFlag::sfCaretVisible);
}

void TCustomCodeEdit::UpdateCaret() {
  stateFlags_.Exclude(TStateFlag::sfCaretChanged);
  if (paintLock_ != 0 || !HandleAllocated() || (GetFocus() != Handle() && !keepCaret_)) return;
  TDisplayCoord caret = DisplayXY();
  if (WordWrap()) caret.Column = std::min(caret.Column, charsInWindow_ + 1);
  POINT p = RowColumnToPixels(caret);
  TCodeEditCaretType shape = insertMode_ ? insertCaret_ : overwriteCaret_;
  switch (shape) {
    case TCodeEditCaretType::ctVerticalLine: p.x -= 1; break;
    case TCodeEditCaretType::ctHorizontalLine: p.y += lineHeight_ - 2; break;
    case TCodeEditCaretType::ctHalfBlock: p.y += (lineHeight_ - 2) / 2; break;
    case TCodeEditCaretType::ctBlock: break;
  }
  p.y += 1;
  RECT r = ClientRect();
  if (p.x >= gutterWidth_ && p.x < r.right && p.y >= 0 && p.y < r.bottom) {
    SetCaretPos(p.x, p.y);
    // The input method composes its text where the caret is.
    if (HIMC imc = ImmGetContext(Handle())) {
      COMPOSITIONFORM form = {};
      form.dwStyle = CFS_POINT;
      form.ptCurrentPos = p;
      ImmSetCompositionWindow(imc, &form);
      ImmReleaseContext(Handle(), imc);
    }
    if (!HasOption(EO::eoNoCaret) && !stateFlags_.Contains(TStateFlag::sfCaretVisible)) {
      ::ShowCaret(Handle());
      stateFlags_.Include(TStateFlag::sfCaretVisible);
    }
  } else {
    HideCaret();
  }
}

void TCustomCodeEdit::UpdateWindowNow() {
  if (HandleAllocated()) UpdateWindow(Handle());
}

namespace {
// Whether the bar already shows Wanted, after the system's clamping of page and position.
bool BarShows(HWND Wnd, int Bar, const SCROLLINFO& Wanted) {
  SCROLLINFO current = {};
  current.cbSize = sizeof current;
  current.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  if (!GetScrollInfo(Wnd, Bar, &current)) return false;
  int64_t span = static_cast<int64_t>(Wanted.nMax) - Wanted.nMin + 1;
  int64_t page = std::min<int64_t>(Wanted.nPage, std::max<int64_t>(span, 0));
  int64_t lastPos = Wanted.nMax - std::max<int64_t>(page - 1, 0);
  int64_t pos = std::max<int64_t>(Wanted.nMin, std::min<int64_t>(Wanted.nPos, lastPos));
  return current.nMin == Wanted.nMin && current.nMax == Wanted.nMax &&
         static_cast<int64_t>(current.nPage) == page && current.nPos == pos;
}

// Marks the bar's part of the window frame for repainting.
void InvalidateBar(HWND Wnd, int Bar) {
  RECT client;
  GetClientRect(Wnd, &client);
  RECT bar = client;
  if (Bar == SB_VERT) {
    bar.left = client.right;
    bar.right = client.right + GetSystemMetrics(SM_CXVSCROLL);
  } else {
    bar.top = client.bottom;
    bar.bottom = client.bottom + GetSystemMetrics(SM_CYHSCROLL);
  }
  RedrawWindow(Wnd, &bar, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_NOCHILDREN);
}

// Sets one bar; ranges beyond 32767 are scaled.
void SetBar(HWND Wnd, int Bar, int Max, int Page, int Pos, TCodeEditorOptions Options) {
  bool scaled = Max > 32767;
  SCROLLINFO si = {};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  if (!Options.Contains(EO::eoHideShowScrollbars)) si.fMask |= SIF_DISABLENOSCROLL;
  si.nMin = 1;
  si.nMax = Max;
  si.nPage = Page;
  si.nPos = Pos;
  if (scaled) {
    si.nMin = 0;
    si.nMax = 32767;
    si.nPage = static_cast<UINT>(static_cast<int64_t>(Page) * 32767 / Max);
    si.nPos = static_cast<int>(static_cast<int64_t>(Pos) * 32767 / Max);
  }
  if (Options.Contains(EO::eoHideShowScrollbars) && !scaled)
    ShowScrollBar(Wnd, Bar, Max > Page);
  else
    ShowScrollBar(Wnd, Bar, TRUE);
  // Every edit and every move of the view comes here. Drawing the bar at once takes
  // milliseconds; its frame area is marked for the next paint instead.
  if (!BarShows(Wnd, Bar, si)) {
    SetScrollInfo(Wnd, Bar, &si, FALSE);
    InvalidateBar(Wnd, Bar);
  }
  if (!Options.Contains(EO::eoDisableScrollArrows) && Max > Page) {
    EnableScrollBar(Wnd, Bar, ESB_ENABLE_BOTH);
  } else if (Pos <= 1 && Max <= Page) {
    EnableScrollBar(Wnd, Bar, ESB_DISABLE_BOTH);
  } else {
    UINT flags = ESB_ENABLE_BOTH;
    if (Pos <= 1) flags = ESB_DISABLE_LTUP;
    else if (Pos + Page > Max) flags = ESB_DISABLE_RTDN;
    EnableScrollBar(Wnd, Bar, flags);
  }
}
}  // namespace

void TCustomCodeEdit::UpdateScrollBars() {
  if (!HandleAllocated()) return;
  if (paintLock_ != 0) {
    stateFlags_.Include(TStateFlag::sfScrollbarChanged);
    return;
  }
  stateFlags_.Exclude(TStateFlag::sfScrollbarChanged);
  if (scrollBars_ == TScrollStyle::ssNone) {
    ShowScrollBar(Handle(), SB_BOTH, FALSE);
    return;
  }
  if ((scrollBars_ == TScrollStyle::ssHorizontal || scrollBars_ == TScrollStyle::ssBoth) &&
      !WordWrap()) {
    SetBar(Handle(), SB_HORZ, HorzScrollMax(), charsInWindow_, leftChar_, options_);
  } else {
    ShowScrollBar(Handle(), SB_HORZ, FALSE);
  }
  if (scrollBars_ == TScrollStyle::ssVertical || scrollBars_ == TScrollStyle::ssBoth) {
    SetBar(Handle(), SB_VERT, VertScrollMax(), linesInWindow_, topLine_, options_);
  } else {
    ShowScrollBar(Handle(), SB_VERT, FALSE);
  }
}
