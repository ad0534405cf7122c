// Caret, selection, the text primitives beneath them and the buffer notifications.
#include <algorithm>
#include <climits>
#include "editor/CodeEdit.h"
#include "editor/CodeEditHighlighter.h"
#include "editor/CodeEditLineStates.h"
#include "editor/CodeEditScopes.h"

namespace {
using SM = TCodeSelectionMode;
using EO = TCodeEditorOption;
using codeeditscopes::TLinesUpdate;
using codeeditscopes::TPaintLock;

// Splits at CR LF, lone CR and lone LF; an empty text is one empty piece. The pieces are
// views into Value.
std::vector<std::string_view> SplitLineViews(std::string_view Value) {
  std::vector<std::string_view> pieces;
  size_t start = 0;
  for (size_t i = 0; i < Value.size(); ++i) {
    // Most bytes are above CR: one test passes them.
    if (static_cast<unsigned char>(Value[i]) > '\r' || (Value[i] != '\r' && Value[i] != '\n'))
      continue;
    pieces.push_back(Value.substr(start, i - start));
    if (Value[i] == '\r' && i + 1 < Value.size() && Value[i + 1] == '\n') ++i;
    start = i + 1;
  }
  pieces.push_back(Value.substr(start));
  return pieces;
}

std::vector<std::string> SplitLines(const std::string& Value) {
  std::vector<std::string> pieces;
  for (std::string_view piece : SplitLineViews(Value)) pieces.emplace_back(piece);
  return pieces;
}
}  // namespace

// ---------------------------------------------------------------------------------------
// Line access

std::string TCustomCodeEdit::LineAt(int Line) const { return lines_->Get(Line - 1); }

int TCustomCodeEdit::LineLength(int Line) const {
  return Line >= 1 && Line <= lines_->Count() ? static_cast<int>(lines_->View(Line - 1).size()) : 0;
}

void TCustomCodeEdit::EnsureFirstLine() {
  if (lines_->Count() == 0) lines_->Add("");
}

std::string TCustomCodeEdit::LineText() const { return CaretLineText(); }

void TCustomCodeEdit::SetLineText(const std::string& Value) {
  if (caretY_ >= 1 && caretY_ <= std::max(1, lines_->Count())) lines_->Put(caretY_ - 1, Value);
}

std::string TCustomCodeEdit::CaretLineText() const { return std::string(CaretLineView()); }

std::string_view TCustomCodeEdit::CaretLineView() const { return lines_->View(caretY_ - 1); }

// Outside far-east code pages no byte is one, and no line is walked.
bool TCustomCodeEdit::IsDBCSSecondByte(int Line, int Char) const {
  const TCodeLeadByteTest isLead = SystemLeadByteTest();
  if (!isLead) return false;
  std::string_view s = lines_->View(Line - 1);
  if (Char < 2 || Char - 1 > static_cast<int>(s.size())) return false;
  int i = 0;
  while (i < Char - 2) i += isLead(static_cast<unsigned char>(s[i])) ? 2 : 1;
  return i == Char - 2 && isLead(static_cast<unsigned char>(s[i]));
}

// ---------------------------------------------------------------------------------------
// Display positions: tabs expanded; with word wrap the plug-in maps lines to rows.

// A line without tabs has a column for each character: the caret on a long line costs no
// walk over it.
int TCustomCodeEdit::ExpandedColumn(const TBufferCoord& P) const {
  if (!lines_->HasTabs(P.Line - 1)) return std::max(P.Char, 1);
  return CharIndexToColumn(lines_->View(P.Line - 1), P.Char, tabWidth_);
}

int TCustomCodeEdit::CharAtColumn(int Line, int Column) const {
  const std::string_view s = lines_->View(Line - 1);
  int result = lines_->HasTabs(Line - 1) ? ColumnToCharIndex(s, Column, tabWidth_)
                                         : (Column < 1 && !s.empty() ? 1 : Column);
  if (IsDBCSSecondByte(Line, result)) ++result;
  return result;
}

TDisplayCoord TCustomCodeEdit::BufferToDisplayPos(const TBufferCoord& P) const {
  TDisplayCoord result{ExpandedColumn(P), P.Line};
  if (wordWrapPlugin_ && result.Column >= 1 && result.Row >= 1)
    result = wordWrapPlugin_->BufferToDisplayPos({result.Column, result.Row});
  return result;
}

TBufferCoord TCustomCodeEdit::DisplayToBufferPos(const TDisplayCoord& P) const {
  TBufferCoord lineColumn{P.Column, P.Row};
  if (wordWrapPlugin_ && P.Column >= 1 && P.Row >= 1)
    lineColumn = wordWrapPlugin_->DisplayToBufferPos(P);
  return {CharAtColumn(lineColumn.Line, lineColumn.Char), lineColumn.Line};
}

int TCustomCodeEdit::DisplayRowCount() const {
  return wordWrapPlugin_ ? wordWrapPlugin_->RowCount() : lines_->Count();
}

int TCustomCodeEdit::ColumnToChar(int Line, int Column) const { return CharAtColumn(Line, Column); }
int TCustomCodeEdit::CharToColumn(const TBufferCoord& P) const { return ExpandedColumn(P); }

std::pair<int, int> TCustomCodeEdit::ColumnBlockSpan() const {
  int c1 = CharToColumn(blockBegin_), c2 = CharToColumn(blockEnd_);
  return {std::min(c1, c2), std::max(c1, c2)};
}

int TCustomCodeEdit::DisplayX() const { return DisplayXY().Column; }
int TCustomCodeEdit::DisplayY() const { return DisplayXY().Row; }
TDisplayCoord TCustomCodeEdit::DisplayXY() const {
  TDisplayCoord result = BufferToDisplayPos(CaretXY());
  // The flag is only meaningful for a caret at the start of a row.
  if (wordWrapPlugin_ && caretAtEndOfWrappedRow_ && result.Column == 1 && result.Row > 1) {
    --result.Row;
    result.Column = wordWrapPlugin_->RowLength(result.Row) + 1;
  }
  return result;
}

// ---------------------------------------------------------------------------------------
// Caret

void TCustomCodeEdit::SetCaretXYEx(bool EnsureVisible, TBufferCoord Value) {
  caretAtEndOfWrappedRow_ = false;
  if (HandleAllocated()) DoOnPaintTransient(TTransientType::ttBefore);
  int maxX = WordWrap() ? INT_MAX : maxScrollWidth_ + 1;
  if (Value.Line > lines_->Count()) Value.Line = lines_->Count();
  if (Value.Line >= 1) {
    if (!HasOption(EO::eoScrollPastEol)) maxX = LineLength(Value.Line) + 1;
  } else {
    Value.Line = 1;
    if (!HasOption(EO::eoScrollPastEol)) maxX = 1;
  }
  if (Value.Char > maxX && !replaying_ &&
      !(HasOption(EO::eoScrollPastEol) && HasOption(EO::eoAutoSizeMaxScrollWidth)))
    Value.Char = maxX;
  if (Value.Char < 1) Value.Char = 1;
  if (Value.Char != caretX_ || Value.Line != caretY_) {
    TPaintLock lock(*this);
    if (caretX_ != Value.Char) {
      caretX_ = Value.Char;
      StatusChanged({TCodeStatusChange::scCaretX});
    }
    if (caretY_ != Value.Line) {
      if (activeLineColor_ != clNone) {
        InvalidateLine(Value.Line);
        InvalidateLine(caretY_);
      }
      caretY_ = Value.Line;
      StatusChanged({TCodeStatusChange::scCaretY});
    }
    UpdateLastCaretX();
    if (EnsureVisible) EnsureCursorPosVisible();
    stateFlags_.Include(TStateFlag::sfCaretChanged);
    stateFlags_.Include(TStateFlag::sfScrollbarChanged);
  } else {
    UpdateLastCaretX();
  }
  if (HandleAllocated()) DoOnPaintTransient(TTransientType::ttAfter);
}

void TCustomCodeEdit::UpdateLastCaretX() {
  lastCaretXAdjusted_ = false;
  lastCaretX_ = DisplayX();
}

void TCustomCodeEdit::InternalSetCaretXY(const TBufferCoord& Value) { SetCaretXYEx(true, Value); }

void TCustomCodeEdit::SetCaretXY(const TBufferCoord& Value) {
  TPaintLock lock(*this);
  StatusChanged({TCodeStatusChange::scSelection});
  SetCaretXYEx(true, Value);
  if (SelAvail()) RepaintSelection();
  blockBegin_ = CaretXY();
  blockEnd_ = blockBegin_;
}

void TCustomCodeEdit::SetCaretX(int Value) { SetCaretXY({Value, caretY_}); }
void TCustomCodeEdit::SetCaretY(int Value) { SetCaretXY({caretX_, Value}); }

void TCustomCodeEdit::SetCaretAndSelection(const TBufferCoord& ptCaret,
                                           const TBufferCoord& ptBefore,
                                           const TBufferCoord& ptAfter) {
  TCodeSelectionMode mode = activeSelectionMode_;
  TPaintLock lock(*this);
  InternalSetCaretXY(ptCaret);
  SetBlockBegin(ptBefore);
  SetBlockEnd(ptAfter);
  activeSelectionMode_ = mode;
}

void TCustomCodeEdit::EnsureCursorPosVisible() { EnsureCursorPosVisibleEx(false); }

void TCustomCodeEdit::EnsureCursorPosVisibleEx(bool ForceToMiddle) {
  TPaintLock lock(*this);
  TDisplayCoord p = DisplayXY();
  if (p.Column < leftChar_)
    SetLeftChar(p.Column);
  else if (charsInWindow_ > 0 && p.Column >= leftChar_ + charsInWindow_)
    SetLeftChar(p.Column - charsInWindow_ + 1);
  int visibleRows = std::max(1, linesInWindow_);
  if (!ForceToMiddle) {
    if (p.Row < topLine_)
      SetTopLine(p.Row);
    else if (p.Row > topLine_ + visibleRows - 1)
      SetTopLine(p.Row - (visibleRows - 1));
  } else if (p.Row < topLine_ || p.Row > topLine_ + linesInWindow_ - 2) {
    // Re-centred also for the row just above the view, which is hidden too.
    SetTopLine(p.Row - (visibleRows - 1) + visibleRows / 2);
  }
}

void TCustomCodeEdit::GotoLineAndCenter(int ALine) {
  SetCaretXYEx(false, {1, ALine});
  if (SelAvail()) RepaintSelection();
  blockBegin_ = CaretXY();
  blockEnd_ = blockBegin_;
  EnsureCursorPosVisibleEx(true);
}

void TCustomCodeEdit::SetTopLine(int Value) {
  int rows = DisplayRowCount();
  int maxTop = HasOption(EO::eoScrollPastEof) ? rows : rows - linesInWindow_ + 1;
  Value = std::max(1, std::min(Value, std::max(1, maxTop)));
  if (Value == topLine_) return;
  int delta = topLine_ - Value;
  topLine_ = Value;
  if (HandleAllocated()) {
    if (std::abs(delta) < linesInWindow_ && lineHeight_ > 0)
      ScrollWindow(Handle(), 0, lineHeight_ * delta, nullptr, nullptr);
    else
      Repaint();
  }
  UpdateScrollBars();
  StatusChanged({TCodeStatusChange::scTopLine});
}

void TCustomCodeEdit::SetLeftChar(int Value) {
  int maxLeft;
  if (WordWrap())
    maxLeft = 1;
  else if (!HasOption(EO::eoScrollPastEol))
    maxLeft = std::max(1, lines_->GetLengthOfLongestLine() - charsInWindow_ + 1);
  else if (HasOption(EO::eoAutoSizeMaxScrollWidth))
    maxLeft = INT_MAX - 1;
  else
    maxLeft = std::max(1, maxScrollWidth_ - charsInWindow_ + 1);
  Value = std::max(1, std::min(Value, maxLeft));
  if (Value == leftChar_) return;
  int delta = leftChar_ - Value;
  leftChar_ = Value;
  textOffset_ = gutterWidth_ + 2 - (leftChar_ - 1) * charWidth_;
  if (HasOption(EO::eoScrollPastEol) && HasOption(EO::eoAutoSizeMaxScrollWidth) &&
      leftChar_ + charsInWindow_ > maxScrollWidth_)
    SetMaxScrollWidth(leftChar_ + charsInWindow_);
  if (HandleAllocated()) {
    if (std::abs(delta) < charsInWindow_ && charWidth_ > 0) {
      RECT text = ClientRect();
      text.left = gutterWidth_ + 2;
      ScrollWindow(Handle(), charWidth_ * delta, 0, &text, &text);
    } else {
      Repaint();
    }
  }
  UpdateScrollBars();
  StatusChanged({TCodeStatusChange::scLeftChar});
}

// ---------------------------------------------------------------------------------------
// Selection

TBufferCoord TCustomCodeEdit::BlockBegin() const { return std::min(blockBegin_, blockEnd_); }
TBufferCoord TCustomCodeEdit::BlockEnd() const { return std::max(blockBegin_, blockEnd_); }

bool TCustomCodeEdit::SelAvail() const {
  if (blockBegin_ == blockEnd_) return false;
  if (activeSelectionMode_ != SM::smColumn) return true;
  return CharToColumn(blockBegin_) != CharToColumn(blockEnd_);
}

bool TCustomCodeEdit::SelectionSpansLines() const {
  return blockBegin_.Line != blockEnd_.Line && activeSelectionMode_ != SM::smColumn;
}

bool TCustomCodeEdit::SelectionCoversCaretLine() const {
  TBufferCoord e = BlockEnd();
  return SelAvail() && BlockBegin().Char == 1 &&
         (e.Line > caretY_ || e.Char > LineLength(caretY_));
}

void TCustomCodeEdit::SetBlockBegin(TBufferCoord Value) {
  activeSelectionMode_ = selectionMode_;
  Value.Line = std::max(1, std::min(Value.Line, std::max(1, lines_->Count())));
  int maxChar = maxScrollWidth_ + 1;
  if (!HasOption(EO::eoScrollPastEol) && activeSelectionMode_ == SM::smNormal)
    maxChar = LineLength(Value.Line) + 1;
  Value.Char = std::max(1, std::min(Value.Char, maxChar));
  if (SelAvail()) RepaintSelection();
  blockBegin_ = Value;
  blockEnd_ = Value;
  StatusChanged({TCodeStatusChange::scSelection});
}

void TCustomCodeEdit::SetBlockEnd(TBufferCoord Value) {
  activeSelectionMode_ = selectionMode_;
  if (HasOption(EO::eoNoSelection)) Value = blockBegin_;
  Value.Line = std::max(1, std::min(Value.Line, std::max(1, lines_->Count())));
  int maxChar = maxScrollWidth_ + 1;
  if (!HasOption(EO::eoScrollPastEol) && activeSelectionMode_ == SM::smNormal)
    maxChar = LineLength(Value.Line) + 1;
  Value.Char = std::max(1, std::min(Value.Char, maxChar));
  if (IsDBCSSecondByte(Value.Line, Value.Char)) ++Value.Char;
  if (Value == blockEnd_) return;
  RepaintLines(std::min(Value.Line, blockEnd_.Line), std::max(Value.Line, blockEnd_.Line));
  if (activeSelectionMode_ == SM::smColumn) RepaintSelection();
  blockEnd_ = Value;
  StatusChanged({TCodeStatusChange::scSelection});
}

void TCustomCodeEdit::SetSelectionMode(TCodeSelectionMode Value) {
  if (selectionMode_ == Value) return;
  selectionMode_ = Value;
  SetActiveSelectionMode(Value);
}

void TCustomCodeEdit::SetActiveSelectionMode(TCodeSelectionMode Value) {
  if (activeSelectionMode_ == Value) return;
  if (SelAvail()) RepaintSelection();
  activeSelectionMode_ = Value;
  if (SelAvail()) RepaintSelection();
  StatusChanged({TCodeStatusChange::scSelection});
}

bool TCustomCodeEdit::IsPointInSelection(const TBufferCoord& Value) const {
  if (!SelAvail()) return false;
  TBufferCoord b = BlockBegin(), e = BlockEnd();
  if (Value.Line < b.Line || Value.Line > e.Line) return false;
  switch (activeSelectionMode_) {
    case SM::smLine:
      return true;
    case SM::smColumn: {
      auto [left, right] = ColumnBlockSpan();
      int c = CharToColumn(Value);
      return c >= left && c < right;
    }
    default:
      return (Value.Line > b.Line || Value.Char >= b.Char) &&
             (Value.Line < e.Line || Value.Char < e.Char);
  }
}

void TCustomCodeEdit::SelectAll() {
  TBufferCoord last{1, 1};
  if (lines_->Count() > 0) last = {LineLength(lines_->Count()) + 1, lines_->Count()};
  InternalSetCaretXY(last);
  SetBlockBegin({1, 1});
  SetBlockEnd(last);
  StatusChanged({TCodeStatusChange::scSelection});
}

TBufferCoord TCustomCodeEdit::ClampToLineEnd(TBufferCoord P) const {
  P.Char = std::min(P.Char, LineLength(P.Line) + 1);
  return P;
}

std::string TCustomCodeEdit::ColumnTextOf(TBufferCoord From, TBufferCoord To, bool Trim) const {
  int col1 = CharToColumn(From), col2 = CharToColumn(To);
  if (col1 > col2) std::swap(col1, col2);
  std::string result;
  for (int line = From.Line; line <= To.Line; ++line) {
    std::string s = LineAt(line);
    int c1 = ColumnToChar(line, col1), c2 = ColumnToChar(line, col2);
    std::string part;
    if (c1 <= static_cast<int>(s.size()))
      part = s.substr(c1 - 1, std::min<int>(c2 - c1, static_cast<int>(s.size()) - c1 + 1));
    if (Trim)
      part = StripTrailingBlanks(part);
    else {
      int width = CharToColumn({c1 + static_cast<int>(part.size()), line}) -
                  CharToColumn({c1, line});
      if (width < col2 - col1) part.append(col2 - col1 - width, ' ');
    }
    result += part;
    if (line < To.Line) result += "\r\n";
  }
  return result;
}

// Lines First..Last joined by CR LF, from byte Skip of the first line to byte Keep of the
// last; sized once, since a selection can hold the whole text.
std::string TCustomCodeEdit::JoinedLines(int First, size_t Skip, int Last, size_t Keep,
                                         bool BreakAfterLast) const {
  auto piece = [&](int Line) {
    std::string_view s = lines_->View(Line - 1);
    if (Line == Last) s = s.substr(0, std::min(Keep, s.size()));
    if (Line == First) s = s.substr(std::min(Skip, s.size()));
    return s;
  };
  size_t size = BreakAfterLast ? 2 : 0;
  for (int line = First; line <= Last; ++line) size += piece(line).size() + (line < Last ? 2 : 0);
  std::string result;
  result.reserve(size);
  for (int line = First; line <= Last; ++line) {
    result += piece(line);
    if (line < Last || BreakAfterLast) result += "\r\n";
  }
  return result;
}

std::string TCustomCodeEdit::SelTextOf(TBufferCoord From, TBufferCoord To,
                                       TCodeSelectionMode Mode) const {
  if (lines_->Count() == 0) return std::string();
  To.Line = std::min(To.Line, lines_->Count());
  switch (Mode) {
    case SM::smColumn:
      return ColumnTextOf(From, To, HasOption(EO::eoTrimTrailingSpaces));
    case SM::smLine:
      return JoinedLines(From.Line, 0, To.Line, INT_MAX, To.Line < lines_->Count());
    default: {
      From = ClampToLineEnd(From);
      To = ClampToLineEnd(To);
      if (From.Line == To.Line)
        return std::string(lines_->View(From.Line - 1).substr(From.Char - 1, To.Char - From.Char));
      return JoinedLines(From.Line, From.Char - 1, To.Line, To.Char - 1, false);
    }
  }
}

std::string TCustomCodeEdit::SelText() const {
  if (!SelAvail()) return std::string();
  return SelTextOf(BlockBegin(), BlockEnd(), activeSelectionMode_);
}

// ---------------------------------------------------------------------------------------
// Text primitives: they change the buffer and record nothing (column insertion excepted).

TBufferCoord TCustomCodeEdit::InsertNormal(TBufferCoord At, const std::string& Value,
                                           TBufferCoord* TextStart) {
  EnsureFirstLine();
  while (At.Line > lines_->Count()) lines_->Add("");
  const int len = LineLength(At.Line);
  const int at = std::min(At.Char - 1, len);
  if (TextStart) *TextStart = {at + 1, At.Line};
  std::vector<std::string_view> pieces = SplitLineViews(Value);
  const int n = static_cast<int>(pieces.size());
  // Blanks fill the gap up to a position past the line's end.
  std::string first(At.Char - 1 - at, ' ');
  first += pieces[0];
  if (n == 1) {
    lines_->ReplaceInLine(At.Line - 1, at, 0, first);
    return {at + static_cast<int>(first.size()) + 1, At.Line};
  }
  const int lastLength = static_cast<int>(pieces[n - 1].size());
  const std::string last =
      std::string(pieces[n - 1]) + std::string(lines_->View(At.Line - 1).substr(at));
  pieces[n - 1] = last;
  lines_->ReplaceInLine(At.Line - 1, at, std::string::npos, first);
  // The following lines come in one run with their texts, so that every listener (word
  // wrap, highlighter) deals with the run once instead of line by line.
  pieces.erase(pieces.begin());
  lines_->InsertStrings(At.Line, pieces);
  NotifyLinesInserted(At.Line + 1, n - 1);
  return {lastLength + 1, At.Line + n - 1};
}

// Each row goes in at the caret's column within its line; every row is recorded as its own
// insertion (with the blanks it needed), so undo removes exactly what came in.
void TCustomCodeEdit::InsertColumn(TBufferCoord At, const std::string& Value, bool AddToUndoList) {
  EnsureFirstLine();
  int column = CharToColumn(At);
  std::vector<std::string> pieces = SplitLines(Value);
  TBufferCoord caret = At;
  int appendFrom = lines_->Count() + 1;
  for (size_t i = 0; i < pieces.size(); ++i) {
    int line = At.Line + static_cast<int>(i);
    const std::string& piece = pieces[i];
    TBufferCoord start, end;
    if (line >= appendFrom) {
      int prevLen = LineLength(line - 1);
      std::string text = piece.empty() ? std::string() : std::string(column - 1, ' ') + piece;
      lines_->Add(text);
      start = {prevLen + 1, line - 1};
      end = {static_cast<int>(text.size()) + 1, line};
    } else {
      std::string s = LineAt(line);
      int expanded = lines_->GetExpandedStringLength(line - 1);
      int len = static_cast<int>(s.size());
      if (piece.empty()) {
        caret = {std::min(ColumnToChar(line, column), len + 1), line};
        continue;
      }
      if (expanded < column - 1) {
        std::string text = std::string(column - 1 - expanded, ' ') + piece;
        lines_->Put(line - 1, s + text);
        start = {len + 1, line};
        end = {len + 1 + static_cast<int>(text.size()), line};
      } else {
        int c = ColumnToChar(line, column);
        lines_->Put(line - 1, s.substr(0, c - 1) + piece + s.substr(c - 1));
        start = {c, line};
        end = {c + static_cast<int>(piece.size()), line};
      }
    }
    if (AddToUndoList && start != end)
      undoList_->AddChange(urPaste, start, end, std::string(), uint8_t(SM::smNormal));
    caret = end;
  }
  SetCaretXYEx(false, caret);
}

void TCustomCodeEdit::DeleteNormal(TBufferCoord From, TBufferCoord To) {
  From = ClampToLineEnd(From);
  To = ClampToLineEnd(To);
  if (From.Line == To.Line) {
    lines_->ReplaceInLine(From.Line - 1, From.Char - 1, To.Char - From.Char, {});
  } else {
    const std::string_view rest = lines_->View(To.Line - 1).substr(To.Char - 1);
    lines_->ReplaceInLine(From.Line - 1, From.Char - 1, std::string::npos, rest);
  }
  if (To.Line > From.Line) {
    lines_->DeleteLines(From.Line, To.Line - From.Line);
    // Marks of the joined lines end on the line that holds their text now.
    NotifyLinesDeleted(From.Line, To.Line - From.Line);
  }
}

void TCustomCodeEdit::DeleteColumn(TBufferCoord From, TBufferCoord To) {
  int col1 = CharToColumn(From), col2 = CharToColumn(To);
  if (col1 > col2) std::swap(col1, col2);
  for (int line = From.Line; line <= std::min(To.Line, lines_->Count()); ++line) {
    std::string s = LineAt(line);
    int c1 = ColumnToChar(line, col1), c2 = ColumnToChar(line, col2);
    if (c1 > static_cast<int>(s.size())) continue;
    lines_->Put(line - 1, s.substr(0, c1 - 1) + (c2 - 1 < static_cast<int>(s.size())
                                                      ? s.substr(c2 - 1)
                                                      : std::string()));
  }
}

void TCustomCodeEdit::DeleteLineBlock(int FirstLine, int LastLine) {
  LastLine = std::min(LastLine, lines_->Count());
  if (LastLine < FirstLine) return;
  if (LastLine == lines_->Count()) {
    lines_->Put(LastLine - 1, std::string());
    lines_->DeleteLines(FirstLine - 1, LastLine - FirstLine);
    NotifyLinesDeleted(FirstLine, LastLine - FirstLine);
  } else {
    lines_->DeleteLines(FirstLine - 1, LastLine - FirstLine + 1);
    NotifyLinesDeleted(FirstLine, LastLine - FirstLine + 1);
  }
}

TBufferCoord TCustomCodeEdit::SetSelTextPrimitive(TCodeSelectionMode PasteMode,
                                                  const std::string& Value, bool AddToUndoList,
                                                  TBufferCoord* TextStart) {
  TPaintLock lock(*this);
  TLinesUpdate update(*lines_);
  TBufferCoord at = CaretXY();
  if (SelAvail()) {
    TBufferCoord b = BlockBegin(), e = BlockEnd();
    switch (activeSelectionMode_) {
      case SM::smLine:
        DeleteLineBlock(b.Line, e.Line);
        b = {1, b.Line};
        break;
      case SM::smColumn: {
        int col1 = ColumnBlockSpan().first;
        DeleteColumn(b, e);
        b = {ColumnToChar(b.Line, col1), b.Line};
        break;
      }
      default:
        b = ClampToLineEnd(b);  // before the deletion changes the line
        DeleteNormal(b, e);
        // Replays restore exactly what was recorded: only a recorded deletion trims.
        if (AddToUndoList && Value.empty() && HasOption(EO::eoScrollPastEol))
          TrimLineRecorded(b.Line);
        break;
    }
    blockBegin_ = blockEnd_ = b;
    SetCaretXYEx(false, b);
    // Text replacing a normal or line selection goes where it began, even where the caret
    // stops short of that at the scroll width; after a column block, where the caret stands.
    at = activeSelectionMode_ == SM::smColumn ? CaretXY() : b;
  }
  TBufferCoord end = CaretXY();
  if (!Value.empty()) {
    switch (PasteMode) {
      case SM::smColumn:
        InsertColumn(at, Value, AddToUndoList);
        end = CaretXY();
        break;
      default:
        // The end is where the text ends: the caret may stop short of it too.
        end = InsertNormal(PasteMode == SM::smLine ? TBufferCoord{1, at.Line} : at, Value,
                           TextStart);
        SetCaretXYEx(false, end);
        break;
    }
  }
  if (caretY_ < 1) caretY_ = 1;
  return end;
}

void TCustomCodeEdit::DeleteSelection() {
  if (SelAvail()) SetSelText(std::string());
}

// ---------------------------------------------------------------------------------------
// Words

std::bitset<256> TCustomCodeEdit::IdentChars() const {
  if (highlighter_) return highlighter_->GetIdentifierChars();
  std::bitset<256> set;
  for (int c = 33; c <= 255; ++c) set.set(c);
  return set;
}

void TCustomCodeEdit::SetWordBlock(TBufferCoord Value) {
  int maxChar = HasOption(EO::eoScrollPastEol) && !WordWrap() ? maxScrollWidth_ + 1 : INT_MAX;
  Value.Line = std::max(1, std::min(Value.Line, std::max(1, lines_->Count())));
  Value.Char = std::max(1, std::min(Value.Char, maxChar));
  const std::string_view s = lines_->View(Value.Line - 1);
  int len = static_cast<int>(s.size());
  std::bitset<256> ident = IdentChars();
  // 0 ends a word (blanks, symbols); letters and digits: whether they are identifier
  // characters; other characters: their type.
  auto kind = [&](int i) -> int {
    unsigned char c = static_cast<unsigned char>(s[i]);
    WORD type = 0;
    if (!GetStringTypeExA(LOCALE_SYSTEM_DEFAULT, CT_CTYPE3, reinterpret_cast<LPCSTR>(&c), 1,
                          &type))
      throw ECodeEditError("GetStringTypeEx failed");
    if (c > 32 && IsCharAlphaNumericA(static_cast<CHAR>(c))) return ident.test(c) ? 1 : 2;
    if (c <= 32 || (type & C3_SYMBOL)) return 0;
    return 3 + type;
  };
  int i = std::min(Value.Char, len + 1) - 1;  // 0-based
  if ((i >= len || kind(i) == 0) && i > 0 && i - 1 < len && kind(i - 1) != 0) --i;
  int start = i, end = i;
  if (i < len && kind(i) != 0) {
    int k = kind(i);
    while (start > 0 && kind(start - 1) == k) --start;
    while (end < len && kind(end) == k) ++end;
  }
  TBufferCoord b{start + 1, Value.Line}, e{end + 1, Value.Line};
  TPaintLock lock(*this);
  SetBlockBegin(b);
  SetBlockEnd(e);
  InternalSetCaretXY(e);
  InvalidateLine(Value.Line);
  StatusChanged({TCodeStatusChange::scSelection});
}

std::string TCustomCodeEdit::WordAtCaret() {
  TBufferCoord b = blockBegin_, e = blockEnd_;
  TBufferCoord ws = WordStart(), we = WordEnd();
  std::string result;
  if (ws.Line == we.Line && we.Char > ws.Char)
    result = lines_->View(ws.Line - 1).substr(ws.Char - 1, we.Char - ws.Char);
  blockBegin_ = b;
  blockEnd_ = e;
  return result;
}

std::string TCustomCodeEdit::GetWordAtRowCol(const TBufferCoord& XY) const {
  if (XY.Line < 1 || XY.Line > lines_->Count()) return std::string();
  const std::string_view s = lines_->View(XY.Line - 1);
  int len = static_cast<int>(s.size());
  if (len == 0 || XY.Char < 1 || XY.Char > len) return std::string();
  auto word = [&](int i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    return highlighter_ ? IdentChars().test(c) : IsWordChar(c);
  };
  if (!word(XY.Char - 1)) return std::string();
  int start = XY.Char - 1, end = XY.Char - 1;
  while (end < len && word(end)) ++end;
  while (start > 0 && word(start - 1)) --start;
  return std::string(s.substr(start, end - start));
}

// ---------------------------------------------------------------------------------------
// Buffer notifications

void TCustomCodeEdit::LinesChanging() { stateFlags_.Include(TStateFlag::sfLinesChanging); }

void TCustomCodeEdit::LinesChanged() {
  stateFlags_.Exclude(TStateFlag::sfLinesChanging);
  TCodeSelectionMode mode = activeSelectionMode_;
  blockBegin_ = blockEnd_ = CaretXY();
  activeSelectionMode_ = mode;
  if (!HandleAllocated()) return;
  UpdateScrollBars();
  if (invalidRect_.right > invalidRect_.left) InvalidateRect(invalidRect_, false);
  invalidRect_ = {0, 0, 0, 0};
  if (gutter_->ShowLineNumbers() && gutter_->AutoSize())
    gutter_->AutoSizeDigitCount(lines_->Count());
  if (!HasOption(EO::eoScrollPastEof)) SetTopLine(topLine_);
  StartIdleScan();
}

void TCustomCodeEdit::ListCleared() {
  if (wordWrapPlugin_) wordWrapPlugin_->RebuildAll();
  undoList_->Clear();
  redoList_->Clear();
  invalidRect_ = {0, 0, 0, 0};
  Repaint();
  SetCaretXY({1, 1});
  SetTopLine(1);
  SetLeftChar(1);
  StatusChanged({TCodeStatusChange::scAll});
}

void TCustomCodeEdit::ListPut(int Index, int Count) {
  if (wordWrapPlugin_) RepaintMovedRows(Index, wordWrapPlugin_->RewrapLines(Index, Count));
  RepaintGutterLines(Index + 1, Index + 1);
  if (highlighter_) {
    int last = RescanChangedLines(*highlighter_, *lines_, Index, Count, 0);
    // The line states stored in a shared buffer may be another highlighter's.
    RepaintLines(Index + 1, sharedFrom_ ? INT_MAX : last + 1);
  } else {
    InvalidateLine(Index + 1);
  }
  GrowMaxScrollWidthTo(Index);
}

void TCustomCodeEdit::ListInserted(int Index, int Count) {
  if (wordWrapPlugin_) wordWrapPlugin_->InsertLineRows(Index, Count);
  if (highlighter_) RescanChangedLines(*highlighter_, *lines_, Index, Count, Count);
  // A line's first row is never above its number: lines added below the window (a load
  // reports each of its lines) repaint nothing.
  if (Index + 1 <= topLine_ + linesInWindow_) {
    RepaintLines(Index + 1, INT_MAX);
    RepaintGutterLines(Index + 1, INT_MAX);
  }
  if (HasOption(EO::eoAutoSizeMaxScrollWidth))
    for (int i = Index; i < Index + Count; ++i) GrowMaxScrollWidthTo(i);
}

void TCustomCodeEdit::ListDeleted(int Index, int Count) {
  if (wordWrapPlugin_) wordWrapPlugin_->DeleteLineRows(Index, Count);
  if (highlighter_) RescanChangedLines(*highlighter_, *lines_, Index, 0, -Count);
  RepaintLines(Index + 1, INT_MAX);
  RepaintGutterLines(Index + 1, INT_MAX);
}

// A replay may leave the caret past the scroll width; afterwards the caret keeps to it again.
void TCustomCodeEdit::KeepCaretWithinScrollWidth() {
  if (!replaying_ && caretX_ > maxScrollWidth_ + 1) SetCaretXYEx(false, CaretXY());
}

void TCustomCodeEdit::GrowMaxScrollWidthTo(int Index) {
  if (!HasOption(EO::eoAutoSizeMaxScrollWidth)) return;
  int len = lines_->GetExpandedStringLength(Index);
  if (len > maxScrollWidth_) SetMaxScrollWidth(len);
}

