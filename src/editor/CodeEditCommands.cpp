// Command execution: the pipeline every editing action goes through, and each command.
#include <algorithm>
#include <climits>
#include "editor/CodeEdit.h"
#include "editor/CodeEditHighlighter.h"
#include "editor/CodeEditLineStates.h"
#include "editor/CodeEditScopes.h"
#include "rtl/SysUtils.h"

namespace {
using SM = TCodeSelectionMode;
using EO = TCodeEditorOption;

// The 148 word characters used without a highlighter.
const std::bitset<256>& DefaultWordChars() {
  static const std::bitset<256> set = [] {
    std::bitset<256> s;
    for (int c = '0'; c <= '9'; ++c) s.set(c);
    for (int c = 'A'; c <= 'Z'; ++c) s.set(c);
    for (int c = 'a'; c <= 'z'; ++c) s.set(c);
    s.set('_');
    for (int c = 192; c <= 255; ++c) s.set(c);
    for (int c : {131, 138, 140, 142, 154, 156, 158, 159, 161, 162, 163, 165, 167, 170, 181, 182,
                  185, 186, 188, 189, 190})
      s.set(c);
    return s;
  }();
  return set;
}

bool IsBlank(char C) { return C == ' ' || C == '\t'; }

// The Char of the first character that is neither tab nor blank (length + 1 when none).
int FirstNonBlankChar(std::string_view S) {
  int first = 1;
  while (first <= static_cast<int>(S.size()) && IsBlank(S[first - 1])) ++first;
  return first;
}

// The Char just behind the last character that is neither tab nor blank (1 when none).
int EndOfNonBlankText(std::string_view S) {
  return static_cast<int>(TCustomCodeEdit::TrailingBlanksStart(S)) + 1;
}

using codeeditscopes::TLinesUpdate;
using codeeditscopes::TPaintLock;
using codeeditscopes::TRestore;
using codeeditscopes::TUndoBlock;

// Leading blanks and tabs, counted as characters or as display columns.
int LeadingSpaceCount(std::string_view S, bool Expand, int TabWidth) {
  int count = 0;
  for (char c : S) {
    if (c == ' ')
      ++count;
    else if (c == '\t')
      count = Expand ? (count / TabWidth + 1) * TabWidth : count + 1;
    else
      break;
  }
  return count;
}

// Fills display columns From..To (exclusive): a tab to each tab stop reached, blanks after.
std::string TabsAndBlanks(int From, int To, int TabWidth) {
  std::string fill;
  int col = From;
  for (int stop = ((col - 1) / TabWidth + 1) * TabWidth + 1; stop <= To; stop += TabWidth) {
    fill += '\t';
    col = stop;
  }
  fill.append(To - col, ' ');
  return fill;
}

bool IsCaseCommand(TCodeEditorCommand C) {
  return (C >= ecUpperCase && C <= ecTitleCase) || (C >= ecUpperCaseBlock && C <= ecToggleCaseBlock);
}

std::string ConvertCase(TCodeEditorCommand Command, const std::string& S) {
  switch (Command) {
    case ecUpperCase:
    case ecUpperCaseBlock:
      return AnsiUpperCase(S);
    case ecLowerCase:
    case ecLowerCaseBlock:
      return AnsiLowerCase(S);
    case ecToggleCase:
    case ecToggleCaseBlock: {
      std::string r = S;
      for (char& c : r) c = AnsiUpperChar(c) == c ? AnsiLowerChar(c) : AnsiUpperChar(c);
      return r;
    }
    default:  // ecTitleCase
      return S.empty() ? S : AnsiUpperCase(S.substr(0, 1)) + AnsiLowerCase(S.substr(1));
  }
}
}  // namespace

// ---------------------------------------------------------------------------------------
// Pipeline

TCodeEditorCommand TCustomCodeEdit::TranslateKeyCode(WORD Code, TShiftState Shift, void*& Data) {
  Data = nullptr;
  return keystrokes_->TranslateKey(Code, Shift, pendingKey_);
}

void TCustomCodeEdit::CommandProcessor(TCodeEditorCommand Command, char AChar, void* Data) {
  DoOnProcessCommand(Command, AChar, Data);
  if (Command != ecNone) {
    NotifyHookedCommandHandlers(false, Command, AChar, Data);
    if (Command != ecNone && Command < ecUserFirst) ExecuteCommand(Command, AChar, Data);
    if (Command != ecNone) NotifyHookedCommandHandlers(true, Command, AChar, Data);
  }
  DoOnCommandProcessed(Command, AChar, Data);
}

void TCustomCodeEdit::ExecuteCommand(TCodeEditorCommand Command, char AChar, void* Data) {
  TPaintLock lock(*this);
  if (DoMoveCommand(Command, Data)) return;
  DoEditCommand(Command, AChar, Data);
}

// Caret moves, selections, scrolling and modes; false when Command is none of these.
bool TCustomCodeEdit::DoMoveCommand(TCodeEditorCommand Command, void* Data) {
  bool select = Command > ecSelection && Command <= ecSelGotoXY;
  TCodeEditorCommand move = select ? Command - ecSelection : Command;
  if (move >= ecLeft && move <= ecGotoXY) {
    switch (move) {
      case ecLeft: MoveCaretHorz(-1, select); break;
      case ecRight: MoveCaretHorz(1, select); break;
      case ecUp: MoveCaretVert(-1, select); UpdateWindowNow(); break;
      case ecDown: MoveCaretVert(1, select); UpdateWindowNow(); break;
      case ecWordLeft: MoveCaretAndSelection(PrevWordPos(), select); break;
      case ecWordRight: MoveCaretAndSelection(NextWordPos(), select); break;
      case ecLineStart: MoveCaretToLineStart(select); break;
      case ecLineEnd: MoveCaretToLineEnd(select); break;
      case ecPageUp:
      case ecPageDown: DoPageUpDown(move, select); break;
      case ecPageLeft: MoveCaretHorz(-charsInWindow_, select); break;
      case ecPageRight: MoveCaretHorz(charsInWindow_, select); break;
      case ecPageTop:
      case ecPageBottom: {
        int row = move == ecPageTop ? topLine_ : topLine_ + linesInWindow_ - 1;
        MoveCaretAndSelection(DisplayToBufferPos({DisplayX(), std::max(1, row)}),
                              select);
        UpdateWindowNow();
        break;
      }
      case ecEditorTop: MoveCaretAndSelection({1, 1}, select); UpdateWindowNow(); break;
      case ecEditorBottom: {
        TBufferCoord end{1, 0};
        if (lines_->Count() > 0) end = {LineLength(lines_->Count()) + 1, lines_->Count()};
        MoveCaretAndSelection(end, select);
        UpdateWindowNow();
        break;
      }
      default:  // ecGotoXY
        if (Data) MoveCaretAndSelection(*static_cast<TBufferCoord*>(Data), select);
        UpdateWindowNow();
        break;
    }
    return true;
  }
  switch (Command) {
    case ecSelWord: SetWordBlock(CaretXY()); return true;
    case ecSelectAll: SelectAll(); return true;
    case ecCopy: CopyToClipboard(); return true;
    case ecScrollUp: DoScrollUpDown(-1); return true;
    case ecScrollDown: DoScrollUpDown(1); return true;
    case ecScrollLeft: SetLeftChar(leftChar_ - 1); UpdateWindowNow(); return true;
    case ecScrollRight: SetLeftChar(leftChar_ + 1); UpdateWindowNow(); return true;
    case ecInsertMode: SetInsertMode(true); return true;
    case ecOverwriteMode: SetInsertMode(false); return true;
    case ecToggleMode: SetInsertMode(!insertMode_); return true;
    case ecNormalSelect: SetSelectionMode(SM::smNormal); return true;
    case ecLineSelect: SetSelectionMode(SM::smLine); return true;
    case ecColumnSelect: SetSelectionMode(SM::smColumn); return true;
    case ecMatchBracket: FindMatchingBracket(); return true;
    case ecContextHelp: DoContextHelp(); return true;
    case ecGotoMarker0: case ecGotoMarker1: case ecGotoMarker2: case ecGotoMarker3:
    case ecGotoMarker4: case ecGotoMarker5: case ecGotoMarker6: case ecGotoMarker7:
    case ecGotoMarker8: case ecGotoMarker9:
      DoGotoMarkerCommand(Command - ecGotoMarker0);
      return true;
    case ecSetMarker0: case ecSetMarker1: case ecSetMarker2: case ecSetMarker3:
    case ecSetMarker4: case ecSetMarker5: case ecSetMarker6: case ecSetMarker7:
    case ecSetMarker8: case ecSetMarker9:
      DoSetMarkerCommand(Command - ecSetMarker0, Data);
      return true;
    default: return false;
  }
}

void TCustomCodeEdit::DoEditCommand(TCodeEditorCommand Command, char AChar, void* Data) {
  if (ReadOnly()) return;
  switch (Command) {
    case ecDeleteLastChar: DoDeleteLastChar(); break;
    case ecDeleteChar: DoDeleteChar(); break;
    case ecDeleteWord:
    case ecDeleteEOL: DoDeleteToWordOrLineEnd(Command); break;
    case ecDeleteLastWord:
    case ecDeleteBOL: DoDeleteToWordOrLineStart(Command); break;
    case ecDeleteLine: DoDeleteLine(); break;
    case ecClearAll: ClearAll(); break;
    case ecLineBreak: DoLineBreak(true); break;
    case ecInsertLine: DoLineBreak(false); break;
    case ecChar: DoTypeChar(AChar); break;
    case ecImeStr: if (Data) DoImeStr(static_cast<const char*>(Data)); break;
    case ecUndo: Undo(); break;
    case ecRedo: Redo(); break;
    case ecCut: if (SelAvail()) CutToClipboard(); break;
    case ecPaste: PasteFromClipboard(); break;
    case ecBlockIndent: DoBlockIndent(); break;
    case ecBlockUnindent: DoBlockUnindent(); break;
    case ecTab: DoTabKey(); break;
    case ecShiftTab: DoShiftTabKey(); break;
    default:
      if (IsCaseCommand(Command)) DoCaseChange(Command);
      break;
  }
}

void TCustomCodeEdit::DoContextHelp() {
  if (OnContextHelp) OnContextHelp(this, WordAtCaret());
}

// ---------------------------------------------------------------------------------------
// Caret movers

void TCustomCodeEdit::MoveCaretAndSelection(const TBufferCoord& ptAfter, bool SelectionCommand) {
  if (HasOption(EO::eoGroupUndo) && undoList_->CanUndo()) undoList_->AddGroupBreak();
  TPaintLock lock(*this);
  MoveAnchorsForCaret(ptAfter, SelectionCommand);
  InternalSetCaretXY(ptAfter);
}

void TCustomCodeEdit::MoveAnchorsForCaret(const TBufferCoord& ptAfter, bool SelectionCommand) {
  if (SelectionCommand) {
    // A new selection starts at the caret, not at an anchor an internal caret move left behind.
    if (!SelAvail()) SetBlockBegin(CaretXY());
    SetBlockEnd(ptAfter);
  } else {
    SetBlockBegin(ptAfter);
  }
}

void TCustomCodeEdit::MoveCaretAndSelectionToDisplay(const TDisplayCoord& Target,
                                                     bool SelectionCommand) {
  if (HasOption(EO::eoGroupUndo) && undoList_->CanUndo()) undoList_->AddGroupBreak();
  TPaintLock lock(*this);
  TBufferCoord dst = DisplayToBufferPos(Target);
  MoveAnchorsForCaret(dst, SelectionCommand);
  // Scrolled only once the row is known: a row's end maps to the start of the next row,
  // which may lie below the window.
  SetCaretXYEx(false, dst);
  caretAtEndOfWrappedRow_ = IsEndOfWrappedRow(Target, CaretXY());
  stateFlags_.Include(TStateFlag::sfCaretChanged);
  UpdateLastCaretX();
  EnsureCursorPosVisible();
}

bool TCustomCodeEdit::CaretMovesByRows() const { return WordWrap() && charsInWindow_ > 0; }

void TCustomCodeEdit::MoveCaretHorz(int DX, bool SelectionCommand) {
  TBufferCoord dst = CaretXY();
  int len = LineLength(caretY_);
  bool wrapLines = !HasOption(EO::eoScrollPastEol);
  if (wrapLines && DX == -1 && dst.Char == 1 && dst.Line > 1) {
    dst = {LineLength(dst.Line - 1) + 1, dst.Line - 1};
  } else if (wrapLines && DX == 1 && dst.Char > len && dst.Line < lines_->Count()) {
    dst = {1, dst.Line + 1};
  } else {
    dst.Char = std::max(1, dst.Char + DX);
    if (DX > 0 && wrapLines) dst.Char = std::min(dst.Char, len + 1);
    if (IsDBCSSecondByte(dst.Line, dst.Char)) dst.Char += DX > 0 ? 1 : -1;
  }
  if (CaretMovesByRows() && MoveCaretHorzInRows(DX, dst, SelectionCommand)) return;
  MoveCaretAndSelection(dst, SelectionCommand);
}

bool TCustomCodeEdit::MoveCaretHorzInRows(int DX, const TBufferCoord& Dst, bool SelectionCommand) {
  TDisplayCoord caret = DisplayXY();
  if (DX > 0 && caretAtEndOfWrappedRow_) {
    // From a row's end a rightward move first only goes to the start of the next row.
    MoveCaretAndSelectionToDisplay({1, caret.Row + 1}, SelectionCommand);
    return true;
  }
  if (DX < 0 && caret.Column == 1 && caret.Row > FirstRowOfLine(caretY_)) {
    int previousRow = wordWrapPlugin_->RowLength(caret.Row - 1);
    // The end of a row wider than the window (trailing blanks) cannot show the caret.
    if (previousRow > charsInWindow_) return false;
    MoveCaretAndSelectionToDisplay({previousRow + 1, caret.Row - 1}, SelectionCommand);
    return true;
  }
  TDisplayCoord target = BufferToDisplayPos(Dst);
  if (DX <= 0 || target.Row != caret.Row || target.Column <= charsInWindow_ + 1) return false;
  // On the last row the caret stays: further right it would leave the window.
  if (caret.Row < DisplayRowCount())
    MoveCaretAndSelectionToDisplay({1, caret.Row + 1}, SelectionCommand);
  else
    MoveCaretAndSelectionToDisplay(caret, SelectionCommand);
  return true;
}

void TCustomCodeEdit::MoveCaretVert(int DY, bool SelectionCommand) {
  TDisplayCoord dst = DisplayXY();
  dst.Row = std::max(1, std::min(dst.Row + DY, std::max(1, DisplayRowCount())));
  if (HasOption(EO::eoKeepCaretX) || lastCaretXAdjusted_) dst.Column = lastCaretX_;
  TBufferCoord target = DisplayToBufferPos(dst);
  bool adjusted = false;
  if (IsDBCSSecondByte(target.Line, target.Char)) {
    --target.Char;
    adjusted = !HasOption(EO::eoKeepCaretX);
  }
  int savedLastCaretX = lastCaretX_;
  MoveCaretAndSelection(target, SelectionCommand);
  lastCaretX_ = savedLastCaretX;
  lastCaretXAdjusted_ = adjusted;
}

void TCustomCodeEdit::MoveCaretToLineStart(bool SelectionCommand) {
  if (CaretMovesByRows()) {
    MoveCaretToRowStart(SelectionCommand);
    return;
  }
  int target = 1;
  if (HasOption(EO::eoEnhanceHomeKey)) {
    int first = FirstNonBlankChar(CaretLineView());
    target = caretX_ > first || caretX_ == 1 ? first : 1;
  }
  MoveCaretAndSelection({target, caretY_}, SelectionCommand);
}

void TCustomCodeEdit::MoveCaretToRowStart(bool SelectionCommand) {
  TDisplayCoord caret = DisplayXY();
  int target = 1;
  if (HasOption(EO::eoEnhanceHomeKey) && caret.Row == FirstRowOfLine(caretY_)) {
    TDisplayCoord first = BufferToDisplayPos({FirstNonBlankChar(CaretLineView()), caretY_});
    int rowEnd = std::min(wordWrapPlugin_->RowLength(caret.Row), charsInWindow_) + 1;
    int firstColumn = first.Row == caret.Row ? std::min(first.Column, rowEnd) : rowEnd;
    target = caret.Column > firstColumn || caret.Column == 1 ? firstColumn : 1;
  }
  MoveCaretAndSelectionToDisplay({target, caret.Row}, SelectionCommand);
}

void TCustomCodeEdit::MoveCaretToLineEnd(bool SelectionCommand) {
  if (CaretMovesByRows()) {
    MoveCaretToRowEnd(SelectionCommand);
    return;
  }
  const std::string_view s = CaretLineView();
  int target = static_cast<int>(s.size()) + 1;
  if (HasOption(EO::eoEnhanceEndKey)) {
    int e = EndOfNonBlankText(s);
    if (caretX_ != e) target = e;
  }
  MoveCaretAndSelection({target, caretY_}, SelectionCommand);
}

void TCustomCodeEdit::MoveCaretToRowEnd(bool SelectionCommand) {
  TDisplayCoord caret = DisplayXY();
  const std::string_view s = CaretLineView();
  int lineEnd = static_cast<int>(s.size()) + 1;
  int target = lineEnd;
  if (HasOption(EO::eoEnhanceEndKey) && caret.Row == BufferToDisplayPos({lineEnd, caretY_}).Row) {
    int e = EndOfNonBlankText(s);
    if (caretX_ != e) target = e;
  }
  TDisplayCoord dst = BufferToDisplayPos({target, caretY_});
  int rowEnd = charsInWindow_ + 1;
  if (dst.Row > caret.Row || (dst.Row == caret.Row && dst.Column > rowEnd))
    dst = {rowEnd, caret.Row};
  MoveCaretAndSelectionToDisplay(dst, SelectionCommand);
}

void TCustomCodeEdit::DoPageUpDown(TCodeEditorCommand Command, bool Select) {
  int n = linesInWindow_;
  if (HasOption(EO::eoHalfPageScroll)) n /= 2;
  if (HasOption(EO::eoScrollByOneLess)) --n;
  if (Command == ecPageUp) n = -n;
  SetTopLine(topLine_ + n);
  MoveCaretVert(n, Select);
  UpdateWindowNow();
}

void TCustomCodeEdit::DoScrollUpDown(int Delta) {
  int row = DisplayY();
  if (row >= topLine_ && row < topLine_ + linesInWindow_) {
    SetTopLine(topLine_ + Delta);
    if (row < topLine_)
      MoveCaretVert(topLine_ - row, false);
    else if (row > topLine_ + linesInWindow_ - 1)
      MoveCaretVert(topLine_ + linesInWindow_ - 1 - row, false);
  }
  EnsureCursorPosVisible();
  UpdateWindowNow();
}

// ---------------------------------------------------------------------------------------
// Word positions

bool TCustomCodeEdit::IsWordChar(unsigned char C) const {
  if (!highlighter_) return DefaultWordChars().test(C);
  return highlighter_->GetIdentifierChars().test(C) && !highlighter_->WordBreakChars().test(C);
}

TBufferCoord TCustomCodeEdit::NextWordPosEx(const TBufferCoord& XY) const {
  if (XY.Line < 1 || XY.Line > lines_->Count()) return XY;
  const std::string_view s = lines_->View(XY.Line - 1);
  int len = static_cast<int>(s.size());
  if (XY.Char < len) {
    int i = XY.Char;  // 1-based
    if (IsWordChar(static_cast<unsigned char>(s[i - 1])))
      while (i <= len && IsWordChar(static_cast<unsigned char>(s[i - 1]))) ++i;
    while (i <= len && !IsWordChar(static_cast<unsigned char>(s[i - 1]))) ++i;
    return {i, XY.Line};
  }
  if (XY.Line < lines_->Count()) {
    const std::string_view next = lines_->View(XY.Line);
    int i = 1;
    while (i <= static_cast<int>(next.size()) && !IsWordChar(static_cast<unsigned char>(next[i - 1])))
      ++i;
    return {i <= static_cast<int>(next.size()) ? i : 1, XY.Line + 1};
  }
  return XY;
}

TBufferCoord TCustomCodeEdit::WordStartEx(const TBufferCoord& XY) const {
  if (XY.Line < 1 || XY.Line > lines_->Count()) return XY;
  const std::string_view s = lines_->View(XY.Line - 1);
  int c = std::min(XY.Char, static_cast<int>(s.size()) + 1);
  if (c > 1 && IsWordChar(static_cast<unsigned char>(s[c - 2])))
    while (c > 1 && IsWordChar(static_cast<unsigned char>(s[c - 2]))) --c;
  return {c, XY.Line};
}

TBufferCoord TCustomCodeEdit::WordEndEx(const TBufferCoord& XY) const {
  if (XY.Line < 1 || XY.Line > lines_->Count()) return XY;
  const std::string_view s = lines_->View(XY.Line - 1);
  int len = static_cast<int>(s.size());
  int c = std::max(1, XY.Char);
  while (c <= len && IsWordChar(static_cast<unsigned char>(s[c - 1]))) ++c;
  return {std::min(c, len + 1), XY.Line};
}

TBufferCoord TCustomCodeEdit::PrevWordPosEx(const TBufferCoord& XY) const {
  if (XY.Line < 1 || XY.Line > lines_->Count()) return XY;
  const std::string_view s = lines_->View(XY.Line - 1);
  int c = std::min(XY.Char, static_cast<int>(s.size()) + 1);
  if (c > 1) {
    int i = c - 1;  // 1-based index of the character before the caret
    while (i >= 1 && !IsWordChar(static_cast<unsigned char>(s[i - 1]))) --i;
    if (i >= 1) {
      while (i >= 1 && IsWordChar(static_cast<unsigned char>(s[i - 1]))) --i;
      return {i + 1, XY.Line};
    }
  }
  if (XY.Line > 1) return {LineLength(XY.Line - 1) + 1, XY.Line - 1};
  return {1, XY.Line};
}

TBufferCoord TCustomCodeEdit::NextWordPos() const { return NextWordPosEx(CaretXY()); }
TBufferCoord TCustomCodeEdit::WordStart() const { return WordStartEx(CaretXY()); }
TBufferCoord TCustomCodeEdit::WordEnd() const { return WordEndEx(CaretXY()); }
TBufferCoord TCustomCodeEdit::PrevWordPos() const { return PrevWordPosEx(CaretXY()); }

// ---------------------------------------------------------------------------------------
// Brackets

bool TCustomCodeEdit::GetHighlighterAttriAtRowColEx(const TBufferCoord& XY, std::string& Token,
                                                    int& TokenType, int& Start,
                                                    TCodeHighlighterAttributes*& Attri) const {
  Token.clear();
  Attri = nullptr;
  TokenType = 0;
  Start = 0;
  if (!highlighter_ || XY.Line < 1 || XY.Line > lines_->Count()) return false;
  const std::string_view s = lines_->View(XY.Line - 1);
  if (XY.Char < 1 || XY.Char > static_cast<int>(s.size())) return false;
  bool found = false;
  ForEachToken(XY.Line, XY.Char - 1, [&](const TLineToken& T) {
    if (XY.Char >= T.End) return true;
    found = XY.Char >= T.Start;
    if (found) {
      Token = s.substr(T.Start - 1, T.End - T.Start);
      Attri = T.Attri;
      TokenType = T.Kind;
      Start = T.Start;
    }
    return false;
  });
  return found;
}

// The tokens cover the line without gaps: each ends where the next starts, so no token's
// text is copied to learn its length.
void TCustomCodeEdit::ForEachToken(int Line, int From,
                                   const std::function<bool(const TLineToken&)>& Visit) const {
  const std::string_view line = lines_->View(Line - 1);
  StartHighlighterAtLine(*highlighter_, *lines_, Line - 1);
  const int resumed = highlighter_->ResumePointBefore(line, From);
  const std::string text(line.substr(resumed));
  highlighter_->SetLine(text, Line - 1);
  while (!highlighter_->AtLineEnd()) {
    TLineToken token;
    token.Start = resumed + highlighter_->GetTokenPos() + 1;
    token.Attri = highlighter_->GetTokenAttribute();
    token.Kind = highlighter_->GetTokenKind();
    highlighter_->NextToken();
    token.End = highlighter_->AtLineEnd() ? static_cast<int>(line.size()) + 1
                                          : resumed + highlighter_->GetTokenPos() + 1;
    if (!Visit(token)) return;
  }
}

std::vector<std::pair<int, int>> TCustomCodeEdit::StringAndCommentSpans(int Line) const {
  std::vector<std::pair<int, int>> spans;
  if (!highlighter_) return spans;
  TCodeHighlighterAttributes* const string = highlighter_->GetDefaultAttribute(3);
  TCodeHighlighterAttributes* const comment = highlighter_->GetDefaultAttribute(0);
  ForEachToken(Line, 0, [&](const TLineToken& T) {
    if (T.Attri && (T.Attri == string || T.Attri == comment)) spans.emplace_back(T.Start, T.End);
    return true;
  });
  return spans;
}

bool TCustomCodeEdit::GetHighlighterAttriAtRowCol(const TBufferCoord& XY, std::string& Token,
                                                  TCodeHighlighterAttributes*& Attri) const {
  int type = 0, start = 0;
  return GetHighlighterAttriAtRowColEx(XY, Token, type, start, Attri);
}

// Each line the search reaches is scanned by the highlighter once, not once per bracket on it.
TBufferCoord TCustomCodeEdit::GetMatchingBracketEx(const TBufferCoord& APoint) {
  static const std::string brackets = "()[]{}<>";
  if (APoint.Line < 1 || APoint.Line > lines_->Count()) return {0, 0};
  std::string_view s = lines_->View(APoint.Line - 1);
  if (APoint.Char < 1 || APoint.Char > static_cast<int>(s.size())) return {0, 0};
  size_t k = brackets.find(s[APoint.Char - 1]);
  if (k == std::string::npos) return {0, 0};
  char same = brackets[k], partner = brackets[k ^ 1];
  bool forward = (k % 2) == 0;
  int level = 1;
  int line = APoint.Line, ch = APoint.Char;
  std::vector<std::pair<int, int>> spans;  // of the line below
  int spansLine = 0;
  auto quoted = [&]() {
    if (!highlighter_) return false;
    if (spansLine != line) {
      spans = StringAndCommentSpans(line);
      spansLine = line;
    }
    auto after = std::upper_bound(spans.begin(), spans.end(), std::make_pair(ch, INT_MAX));
    return after != spans.begin() && ch < std::prev(after)->second;
  };
  for (;;) {
    ch += forward ? 1 : -1;
    while (ch < 1 || ch > static_cast<int>(s.size())) {
      line += forward ? 1 : -1;
      if (line < 1 || line > lines_->Count()) return {0, 0};
      s = lines_->View(line - 1);
      ch = forward ? 1 : static_cast<int>(s.size());
    }
    char c = s[ch - 1];
    if ((c != same && c != partner) || IsDBCSSecondByte(line, ch) || quoted()) continue;
    level += c == same ? 1 : -1;
    if (level == 0) return {ch, line};
  }
}

TBufferCoord TCustomCodeEdit::GetMatchingBracket() { return GetMatchingBracketEx(CaretXY()); }

void TCustomCodeEdit::FindMatchingBracket() { InternalSetCaretXY(GetMatchingBracket()); }

// ---------------------------------------------------------------------------------------
// Deleting

// Removes the selection as Backspace and Delete do: reason 3 for a selection made backwards.
void TCustomCodeEdit::DeleteSelectionRecorded(TCodeUndoReason Reason) {
  TUndoBlock block(*undoList_);
  RecordSelectionDeletion(Reason);
  SetSelTextPrimitive(activeSelectionMode_, std::string(), true);
}

// Where smart Backspace goes from Column: behind the indentation of the nearest line above
// that is indented less than Column - 1 (an empty line counts as indented 0), else column 1.
int TCustomCodeEdit::SmartTabDeleteTarget(int Column, bool Expand) const {
  for (int line = caretY_ - 1; line >= 1; --line) {
    int lead = LeadingSpaceCount(LineAt(line), Expand, tabWidth_);
    if (lead < Column - 1) return lead + 1;
  }
  return 1;
}

void TCustomCodeEdit::DoDeleteLastChar() {
  DoOnPaintTransient(TTransientType::ttBefore);
  if (SelAvail())
    DeleteSelectionRecorded(blockBegin_ >= blockEnd_ ? urDeleteAfterCaret : urDelete);
  else if (caretX_ > LineLength(caretY_) + 1)
    BackspacePastLineEnd();
  else if (caretX_ == 1)
    BackspaceJoinLines();
  else
    BackspaceInLine();
  EnsureCursorPosVisible();
  DoOnPaintTransient(TTransientType::ttAfter);
}

// Only the caret moves.
void TCustomCodeEdit::BackspacePastLineEnd() {
  int len = LineLength(caretY_);
  int target = caretX_ - 1;
  if (HasOption(EO::eoSmartTabDelete))
    target = len > 0 ? len + 1
                     : SmartTabDeleteTarget(caretX_, HasOption(EO::eoTrimTrailingSpaces));
  InternalSetCaretXY({target, caretY_});
}

// The caret line joins the end of the line above.
void TCustomCodeEdit::BackspaceJoinLines() {
  if (caretY_ <= 1) return;
  TBufferCoord caret = CaretXY();
  TUndoBlock block(*undoList_);
  TrimLineRecorded(caretY_);
  TBufferCoord joined{LineLength(caretY_ - 1) + 1, caretY_ - 1};
  {
    TLinesUpdate update(*lines_);
    lines_->ReplaceInLine(caretY_ - 2, std::string::npos, 0, lines_->View(caretY_ - 1));
    lines_->Delete(caretY_ - 1);
  }
  NotifyLinesDeleted(caret.Line, 1);
  undoList_->AddChange(urSilentDelete, joined, caret, "\r\n", uint8_t(SM::smNormal));
  InternalSetCaretXY(joined);
}

// One character goes, or behind the leading white space back to an indentation.
void TCustomCodeEdit::BackspaceInLine() {
  const std::string_view t = lines_->View(caretY_ - 1);
  TBufferCoord caret = CaretXY();
  int from;
  int lead = LeadingSpaceCount(t, false, tabWidth_);
  if (static_cast<unsigned char>(t[caretX_ - 2]) <= 32 && lead == caretX_ - 1) {
    // Indentation and tab stops are columns of the line, whichever row the caret is on.
    int column = CharToColumn(caret);
    int targetColumn = HasOption(EO::eoSmartTabDelete)
                           ? SmartTabDeleteTarget(column, true)
                           : ((column - 2) / tabWidth_) * tabWidth_ + 1;
    from = t[caretX_ - 2] == '\t' && !HasOption(EO::eoSmartTabDelete)
               ? caretX_ - 1
               : std::min(ColumnToChar(caretY_, targetColumn), caretX_ - 1);
  } else {
    from = caretX_ - (IsDBCSSecondByte(caretY_, caretX_ - 1) ? 2 : 1);
  }
  TUndoBlock block(*undoList_);
  undoList_->AddChange(urSilentDelete, {from, caretY_}, caret,
                       std::string(t.substr(from - 1, caretX_ - from)), uint8_t(SM::smNormal));
  lines_->ReplaceInLine(caretY_ - 1, from - 1, caretX_ - from, {});
  TrimLineRecorded(caretY_);
  // Blanks trimmed behind the caret leave it in its column, past the line end.
  TRestore<TCodeEditorOptions> pastEol(options_, options_ + TCodeEditorOptions{EO::eoScrollPastEol});
  InternalSetCaretXY({from, caretY_});
}

void TCustomCodeEdit::DoDeleteChar() {
  DoOnPaintTransient(TTransientType::ttBefore);
  if (SelAvail()) {
    DeleteSelectionRecorded(blockBegin_ >= blockEnd_ ? urDeleteAfterCaret : urDelete);
  } else {
    const std::string_view t = CaretLineView();
    int len = static_cast<int>(t.size());
    TBufferCoord caret = CaretXY();
    if (caretX_ <= len) {
      int count = IsDBCSLeadByte(static_cast<unsigned char>(t[caretX_ - 1])) ? 2 : 1;
      std::string removed(t.substr(caretX_ - 1, count));
      lines_->ReplaceInLine(caretY_ - 1, caretX_ - 1, count, {});
      undoList_->AddChange(urSilentDeleteAfterCaret, caret, {caretX_ + count, caretY_}, removed,
                           uint8_t(SM::smNormal));
    } else if (caretY_ < lines_->Count()) {
      TUndoBlock block(*undoList_);
      // Blanks that fill the gap up to the caret are recorded, so that undo takes them too.
      if (caretX_ > len + 1)
        undoList_->AddChange(urWhiteSpaceAdd, caret, {len + 1, caretY_}, std::string(),
                             uint8_t(SM::smNormal));
      std::string filler(caretX_ - 1 - len, ' ');
      {
        TLinesUpdate update(*lines_);
        lines_->ReplaceInLine(caretY_ - 1, len, 0, filler + std::string(lines_->View(caretY_)));
        lines_->Delete(caretY_);
      }
      NotifyLinesDeleted(caretY_ + 1, 1);
      undoList_->AddChange(urSilentDeleteAfterCaret, caret, {1, caretY_ + 1}, "\r\n",
                           uint8_t(SM::smNormal));
      InternalSetCaretXY(caret);
    }
  }
  DoOnPaintTransient(TTransientType::ttAfter);
}

// Removes From..To as a normal selection, recorded with Reason.
void TCustomCodeEdit::DeleteRangeRecorded(TBufferCoord From, TBufferCoord To,
                                          TCodeUndoReason Reason) {
  TUndoBlock block(*undoList_);
  undoList_->AddChange(Reason, From, To, SelTextOf(From, To, SM::smNormal), uint8_t(SM::smNormal));
  TLinesUpdate update(*lines_);
  DeleteNormal(From, To);
  if (HasOption(EO::eoScrollPastEol)) TrimLineRecorded(From.Line);
}

void TCustomCodeEdit::DoDeleteToWordOrLineEnd(TCodeEditorCommand Command) {
  std::string t = CaretLineText();
  int len = static_cast<int>(t.size());
  TBufferCoord caret = CaretXY();
  TBufferCoord end{len + 1, caretY_};
  if (Command == ecDeleteWord) {
    end = WordEnd();
    std::string s = t;
    if (end.Char < caretX_ || (end.Char == caretX_ && end.Line < lines_->Count())) {
      if (end.Char > len) {
        if (end.Line >= lines_->Count()) return;
        end = {1, end.Line + 1};
        s = LineAt(end.Line);
      } else if (s[end.Char - 1] != ' ') {
        ++end.Char;
      }
    }
    while (end.Char <= static_cast<int>(s.size()) && s[end.Char - 1] == ' ') ++end.Char;
  }
  // A caret beyond the line end deletes from the line end: no blanks are inserted or lost.
  TBufferCoord start = ClampToLineEnd(caret);
  if (end <= start) return;
  DeleteRangeRecorded(start, end, urSilentDeleteAfterCaret);
  InternalSetCaretXY(caret);
}

void TCustomCodeEdit::DoDeleteToWordOrLineStart(TCodeEditorCommand Command) {
  DoOnPaintTransient(TTransientType::ttBefore);
  TBufferCoord start = Command == ecDeleteLastWord ? PrevWordPos() : TBufferCoord{1, caretY_};
  TBufferCoord end = ClampToLineEnd(CaretXY());
  if (start < end) {
    DeleteRangeRecorded(start, end, urSilentDelete);
    InternalSetCaretXY(start);
  } else if (start != CaretXY()) {
    InternalSetCaretXY(start);
  }
  DoOnPaintTransient(TTransientType::ttAfter);
}

void TCustomCodeEdit::DoDeleteLine() {
  int count = lines_->Count();
  if (count == 0 || (caretY_ == count && CaretLineText().empty())) return;
  DoOnPaintTransient(TTransientType::ttBefore);
  if (SelAvail()) SetBlockBegin(CaretXY());
  int line = caretY_;
  std::string old = LineAt(line);
  if (line == count) {
    lines_->Put(line - 1, std::string());
    undoList_->AddChange(urSilentDeleteAfterCaret, {1, line},
                         {static_cast<int>(old.size()) + 1, line}, old, uint8_t(SM::smNormal));
  } else {
    lines_->Delete(line - 1);
    undoList_->AddChange(urSilentDeleteAfterCaret, {1, line}, {1, line + 1}, old + "\r\n",
                         uint8_t(SM::smNormal));
    NotifyLinesDeleted(line - 1, 1);
  }
  InternalSetCaretXY({1, line});
  DoOnPaintTransient(TTransientType::ttAfter);
}

// ---------------------------------------------------------------------------------------
// Line breaks and typing

// The marks hear of the new line's own number: for ecInsertLine, whose caret stays, that is
// not the caret's line.
void TCustomCodeEdit::DoLineBreak(bool MoveCaret) {
  TUndoBlock block(*undoList_);
  if (SelAvail()) DeleteSelectionRecorded(urDelete);
  TBufferCoord caret = CaretXY();
  int inserted = 0;
  {
    TLinesUpdate update(*lines_);
    EnsureFirstLine();
    TBufferCoord afterBreak = BreakCaretLine(inserted);
    // A caret that may stand past the line end while the new line has no text yet.
    TRestore<TCodeEditorOptions> pastEol(options_, options_ + TCodeEditorOptions{EO::eoScrollPastEol});
    InternalSetCaretXY(MoveCaret ? afterBreak : caret);
  }
  NotifyLinesInserted(inserted, 1);
  blockBegin_ = blockEnd_ = CaretXY();
  EnsureCursorPosVisible();
  UpdateLastCaretX();
}

// Breaks the caret line and records it; gives where Enter puts the caret, and in Inserted the
// number of the new line.
TBufferCoord TCustomCodeEdit::BreakCaretLine(int& Inserted) {
  TBufferCoord caret = CaretXY();
  const std::string_view t = CaretLineView();
  int len = static_cast<int>(t.size());
  int line = caretY_;
  std::string moved;  // what the break takes off the caret line
  TBufferCoord afterBreak;
  if (len > 0 && caretX_ > 1 && caretX_ <= len) {
    moved = t.substr(caretX_ - 1);
    std::string indent = MakeIndent(LeadingWhiteWidth(t.substr(0, caretX_ - 1), true), true);
    lines_->ReplaceInLine(line - 1, caretX_ - 1, std::string::npos, {});
    lines_->Insert(line, indent + moved);
    Inserted = line + 1;
    afterBreak = {static_cast<int>(indent.size()) + 1, line + 1};
  } else if (len > 0 && caretX_ == 1) {
    moved = t;
    lines_->Insert(line - 1, std::string());
    Inserted = line;
    afterBreak = {1, line + 1};
  } else if (len > 0) {
    std::string indent(t.substr(0, LeadingWhiteWidth(t, false)));
    lines_->Insert(line, indent);
    Inserted = line + 1;
    afterBreak = {static_cast<int>(indent.size()) + 1, line + 1};
  } else {
    lines_->Insert(line - 1, std::string());
    Inserted = line;
    afterBreak = {IndentColumnAbove(line), line + 1};
  }
  undoList_->AddChange(urLineBreak, caret, caret, moved, uint8_t(SM::smNormal));
  return afterBreak;
}

// With eoAutoIndent the column behind the indentation of the nearest non-empty line above
// Line; otherwise 1.
int TCustomCodeEdit::IndentColumnAbove(int Line) const {
  if (!HasOption(EO::eoAutoIndent)) return 1;
  for (int above = Line - 1; above >= 1; --above) {
    std::string s = LineAt(above);
    if (!s.empty()) return LeadingSpaceCount(s, true, tabWidth_) + 1;
  }
  return 1;
}

// Pads the caret line with blanks up to the caret; gives the number of characters added.
int TCustomCodeEdit::PadCaretLine() {
  int len = LineLength(caretY_);
  if (caretX_ <= len + 1) return 0;
  EnsureFirstLine();
  std::string filler = len == 0 ? MakeIndent(caretX_ - 1, true) : std::string(caretX_ - 1 - len, ' ');
  lines_->ReplaceInLine(caretY_ - 1, len, 0, filler);
  return static_cast<int>(filler.size());
}

// The same, recorded for undo, with the caret placed behind the padding.
int TCustomCodeEdit::PadCaretLineRecorded(int LineLen) {
  int filler = PadCaretLine();
  if (filler > 0) {
    TBufferCoord at{LineLen + 1 + filler, caretY_};
    undoList_->AddChange(urWhiteSpaceAdd, at, {LineLen + 1, caretY_}, std::string(),
                         uint8_t(SM::smNormal));
    TRestore<TCodeEditorOptions> pastEol(options_, options_ + TCodeEditorOptions{EO::eoScrollPastEol});
    SetCaretXYEx(false, at);
  }
  return filler;
}

void TCustomCodeEdit::InsertAtCaret(const std::string& S, bool Recorded) {
  TBufferCoord start = CaretXY();
  const std::string_view t = CaretLineView();
  const size_t at = std::min(t.size(), size_t(start.Char - 1));
  std::string removed;
  if (!insertMode_) removed = t.substr(at, std::min(S.size(), t.size() - at));
  lines_->ReplaceInLine(caretY_ - 1, at, removed.size(), S);
  TBufferCoord end{start.Char + static_cast<int>(S.size()), caretY_};
  if (Recorded) undoList_->AddChange(urInsert, start, end, removed, uint8_t(SM::smNormal));
  TRestore<TCodeEditorOptions> pastEol(options_, options_ + TCodeEditorOptions{EO::eoScrollPastEol});
  InternalSetCaretXY(end);
}

void TCustomCodeEdit::GrowLeftCharForCaret() {
  if (charsInWindow_ > 0 && caretX_ >= leftChar_ + charsInWindow_)
    SetLeftChar(leftChar_ + std::min(25, charsInWindow_ - 1));
}

void TCustomCodeEdit::DoTypeChar(char AChar) {
  unsigned char c = static_cast<unsigned char>(AChar);
  if (c < 32 || c == 127) return;
  if (SelAvail()) {
    SetSelText(std::string(1, AChar));
  } else {
    // Wrapped lines have no scroll width to stop at.
    if (insertMode_ && !WordWrap() && !HasOption(EO::eoAutoSizeMaxScrollWidth) &&
        caretX_ > maxScrollWidth_)
      return;
    TBufferCoord caret = CaretXY();
    int lineLen = LineLength(caretY_);
    TUndoBlock block(*undoList_);
    {
      TLinesUpdate update(*lines_);
      int filler = PadCaretLineRecorded(lineLen);
      if (filler == 0 && caret.Char > lineLen + 1) {
        SetCaretXYEx(false, {lineLen + 1, caretY_});
      }
      InsertAtCaret(std::string(1, AChar), true);
      TrimLineRecorded(caretY_);  // a typed blank stays only as the caret's place
    }
    blockBegin_ = blockEnd_ = CaretXY();
  }
  GrowLeftCharForCaret();
  DoOnPaintTransient(TTransientType::ttAfter);
}

void TCustomCodeEdit::DoImeStr(const char* S) {
  std::string text = S;
  if (text.empty()) return;
  if (SelAvail()) {
    SetSelText(text);
    RepaintGutter();
  } else {
    TUndoBlock block(*undoList_);
    int lineLen = LineLength(caretY_);
    {
      TLinesUpdate update(*lines_);
      PadCaretLineRecorded(lineLen);
      InsertAtCaret(text, true);
    }
    blockBegin_ = blockEnd_ = CaretXY();
  }
  GrowLeftCharForCaret();
}

// ---------------------------------------------------------------------------------------
// Tab and Shift+Tab

// The columns from Column over the rest of the word and the blanks after it, on the nearest
// line above that reaches Column; -1 when no line does.
int TCustomCodeEdit::SmartTabWidth(int Column) const {
  for (int line = caretY_ - 1; line >= 1; --line) {
    std::string s = lines_->GetExpandedString(line - 1);
    int len = static_cast<int>(s.size());
    if (len < Column) continue;
    int i = Column;
    while (i <= len && !IsBlank(s[i - 1])) ++i;
    while (i <= len && IsBlank(s[i - 1])) ++i;
    return i - Column;
  }
  return -1;
}

void TCustomCodeEdit::DoTabKey() {
  if (HasOption(EO::eoTabIndent) && SelAvail() &&
      (SelectionSpansLines() || SelectionCoversCaretLine())) {
    bool coversLine = !SelectionSpansLines();
    DoBlockIndent();
    if (coversLine) SetBlockBegin({1, BlockBegin().Line});
    return;
  }
  // Tab stops and the line above are measured in line columns, whichever row the caret is on.
  int width = HasOption(EO::eoSmartTabs) ? SmartTabWidth(CharToColumn(CaretXY())) : -1;
  bool smartLine = width >= 0;
  TUndoBlock block(*undoList_);
  if (SelAvail()) DeleteSelectionRecorded(urDelete);
  int column = CharToColumn(CaretXY());
  if (width < 0)
    width = HasOption(EO::eoTabsToSpaces) ? tabWidth_ - ((column - 1) % tabWidth_) : tabWidth_;
  std::string t = CaretLineText();
  int len = static_cast<int>(t.size());
  std::string insert;
  if (HasOption(EO::eoTabsToSpaces)) {
    insert.assign(width, ' ');
  } else if (HasOption(EO::eoTrimTrailingSpaces) && caretX_ > len) {
    int target = smartLine ? column + width : ((column - 1) / tabWidth_ + 1) * tabWidth_ + 1;
    TRestore<TCodeEditorOptions> pastEol(options_, options_ + TCodeEditorOptions{EO::eoScrollPastEol});
    InternalSetCaretXY({ColumnToChar(caretY_, target), caretY_});
    return;
  } else if (HasOption(EO::eoSmartTabs) && smartLine &&
             LeadingSpaceCount(t, false, tabWidth_) >= std::min(caretX_ - 1, len)) {
    insert = TabsAndBlanks(column, column + width, tabWidth_);
  } else {
    insert = "\t";
  }
  // Recorded in every selection mode: an unrecorded insertion could not be undone.
  TBufferCoord start = ClampToLineEnd(CaretXY());
  {
    TLinesUpdate update(*lines_);
    EnsureFirstLine();
    TBufferCoord end = InsertNormal(CaretXY(), insert, &start);
    undoList_->AddChange(urInsert, start, end, std::string(), uint8_t(SM::smNormal));
    TrimLineRecorded(caretY_);
    TRestore<TCodeEditorOptions> pastEol(options_, options_ + TCodeEditorOptions{EO::eoScrollPastEol});
    InternalSetCaretXY(end);
  }
  blockBegin_ = blockEnd_ = CaretXY();
  EnsureCursorPosVisible();
}

void TCustomCodeEdit::DoShiftTabKey() {
  if (HasOption(EO::eoTabIndent) && SelAvail() &&
      (SelectionSpansLines() || SelectionCoversCaretLine())) {
    DoBlockUnindent();
    return;
  }
  std::string t = CaretLineText();
  int len = static_cast<int>(t.size());
  int target = caretX_;
  bool smart = false;
  if (HasOption(EO::eoSmartTabs) && caretX_ > 1) {
    for (int line = caretY_ - 1; line >= 1; --line) {
      std::string s = LineAt(line);
      if (static_cast<int>(s.size()) < caretX_ - 1) continue;
      int i = caretX_ - 1;
      while (i > 0 && s[i - 1] == ' ') --i;
      while (i > 0 && s[i - 1] != ' ') --i;
      target = i + 1;
      smart = true;
      break;
    }
  }
  if (!smart && caretX_ > 1) {
    int stop = ((caretX_ - 2) / tabWidth_) * tabWidth_ + 1;
    if (caretX_ - 1 <= len && t[caretX_ - 2] == '\t') {
      target = caretX_ - 1;
    } else if (caretX_ > len + 1) {
      target = stop;
    } else {
      while (target > stop && t[target - 2] == ' ') --target;
    }
  }
  if (target == caretX_) return;
  TBufferCoord caret = CaretXY();
  int from = std::min(target, len + 1), to = std::min(caretX_, len + 1);
  if (to > from) {
    std::string removed = t.substr(from - 1, to - from);
    lines_->Put(caretY_ - 1, t.substr(0, from - 1) + t.substr(to - 1));
    undoList_->AddChange(urSilentDelete, {from, caretY_}, {to, caretY_}, removed,
                         uint8_t(SM::smNormal));
  }
  TRestore<TCodeEditorOptions> pastEol(options_, options_ + TCodeEditorOptions{EO::eoScrollPastEol});
  MoveCaretAndSelection({target, caret.Line}, false);
}

// ---------------------------------------------------------------------------------------
// Block indent and unindent

// The last line of a block: the one before its end when it ends in column 1.
int TCustomCodeEdit::BlockLastLine() const {
  TBufferCoord b = BlockBegin(), e = BlockEnd();
  return e.Char == 1 && e.Line > b.Line ? e.Line - 1 : e.Line;
}

void TCustomCodeEdit::DoBlockIndent() {
  if (!SelAvail()) return;
  TBufferCoord b = BlockBegin(), e = BlockEnd();
  TBufferCoord anchorBegin = blockBegin_, anchorEnd = blockEnd_;
  TCodeSelectionMode mode = activeSelectionMode_;
  int last = std::min(BlockLastLine(), lines_->Count());
  bool endsInColumn1 = e.Char == 1 && e.Line > b.Line;
  std::string unit = HasOption(EO::eoTabsToSpaces) ? std::string(tabWidth_, ' ') : "\t";
  int ulen = static_cast<int>(unit.size());
  int leftColumn = mode == SM::smColumn ? ColumnBlockSpan().first : 1;
  int startChar = mode == SM::smColumn ? ColumnToChar(b.Line, leftColumn) : 1;
  // A column block skips lines that end left of it.
  auto reached = [&](int Line) { return ColumnToChar(Line, leftColumn) - 1 <= LineLength(Line); };
  bool any = false;
  for (int line = b.Line; line <= last && !any; ++line) any = reached(line);
  // No line reached (an empty document, a block right of every line's end): an indent recorded
  // anyway would write its units on redo, and a moved caret would show one that did not happen.
  if (!any) return;
  TBufferCoord caret = CaretXY();
  {
    TUndoBlock block(*undoList_);
    TBufferCoord from{startChar, b.Line}, to{startChar + ulen, last};
    {
      TLinesUpdate update(*lines_);
      for (int line = b.Line; line <= last; ++line) {
        if (!reached(line)) continue;
        std::string s = LineAt(line);
        int c = ColumnToChar(line, leftColumn);
        lines_->Put(line - 1, s.substr(0, c - 1) + unit + s.substr(c - 1));
        // Each line's unit is recorded on its own in a column block, which skips lines.
        if (mode == SM::smColumn)
          undoList_->AddChange(urPaste, {c, line}, {c + ulen, line}, std::string(),
                               uint8_t(SM::smNormal));
      }
    }
    // The units as one column paste, then the marker that stops grouping.
    if (mode != SM::smColumn)
      undoList_->AddChange(urPaste, from, to, std::string(), uint8_t(SM::smColumn));
    undoList_->AddChange(urIndent, from, to, std::string(), uint8_t(SM::smColumn));
  }
  auto shifted = [&](TBufferCoord p) {
    if (p.Char > 1 && p.Line <= last && !(p == e && endsInColumn1)) p.Char += ulen;
    return p;
  };
  TBufferCoord newCaret = endsInColumn1 ? TBufferCoord{1, caret.Line}
                                        : TBufferCoord{caret.Char + (HasOption(EO::eoTabsToSpaces) ? tabWidth_ : 1), caret.Line};
  TRestore<TCodeEditorOptions> pastEol(options_, options_ + TCodeEditorOptions{EO::eoScrollPastEol});
  SetCaretXYEx(true, newCaret);
  blockBegin_ = shifted(anchorBegin);
  blockEnd_ = shifted(anchorEnd);
  activeSelectionMode_ = mode;
}

void TCustomCodeEdit::DoBlockUnindent() {
  TBufferCoord b = SelAvail() ? BlockBegin() : CaretXY();
  TBufferCoord anchorBegin = blockBegin_, anchorEnd = blockEnd_;
  TCodeSelectionMode mode = activeSelectionMode_;
  int last = SelAvail() ? std::min(BlockLastLine(), lines_->Count()) : caretY_;
  int leftColumn = mode == SM::smColumn ? ColumnBlockSpan().first : 1;
  std::vector<std::string> pieces;
  std::vector<int> columns;
  bool any = false;
  for (int line = b.Line; line <= last; ++line) {
    std::string s = LineAt(line);
    int c = ColumnToChar(line, leftColumn);
    int n = 0;
    if (c <= static_cast<int>(s.size())) {
      if (s[c - 1] == '\t') {
        n = 1;
      } else {
        while (n < tabWidth_ && c - 1 + n < static_cast<int>(s.size()) && s[c - 1 + n] == ' ') ++n;
        if (n < tabWidth_ && c - 1 + n < static_cast<int>(s.size()) && s[c - 1 + n] == '\t') ++n;
      }
    }
    pieces.push_back(s.substr(std::min<size_t>(c - 1, s.size()), n));
    columns.push_back(c);
    any = any || n > 0;
  }
  if (!any) return;
  std::string joined;
  {
    TLinesUpdate update(*lines_);
    for (size_t i = 0; i < pieces.size(); ++i) {
      int line = b.Line + static_cast<int>(i);
      if (i > 0) joined += "\r\n";
      joined += pieces[i];
      if (pieces[i].empty()) continue;
      std::string s = LineAt(line);
      s.erase(columns[i] - 1, pieces[i].size());
      lines_->Put(line - 1, s);
    }
  }
  if (mode != SM::smColumn) {
    undoList_->AddChange(urUnindent, {1, b.Line}, {1, last}, joined, uint8_t(mode));
  } else {
    // The block's left column is another character position on each line (tabs): one
    // record per line keeps the undo exact.
    TUndoBlock block(*undoList_);
    for (size_t i = 0; i < pieces.size(); ++i) {
      if (pieces[i].empty()) continue;
      TBufferCoord at{columns[i], b.Line + static_cast<int>(i)};
      undoList_->AddChange(urUnindent, at, at, pieces[i], uint8_t(mode));
    }
  }
  auto amountOf = [&](int line) {
    return line >= b.Line && line <= last ? static_cast<int>(pieces[line - b.Line].size()) : 0;
  };
  TRestore<TCodeEditorOptions> pastEol(options_, options_ + TCodeEditorOptions{EO::eoScrollPastEol});
  SetCaretXYEx(true, {std::max(1, caretX_ - amountOf(caretY_)), caretY_});
  if (mode != SM::smColumn) {
    auto shrink = [&](TBufferCoord p) {
      p.Char = std::max(1, p.Char - amountOf(p.Line));
      return p;
    };
    blockBegin_ = shrink(anchorBegin);
    blockEnd_ = shrink(anchorEnd);
  } else {
    blockBegin_ = anchorBegin;
    blockEnd_ = anchorEnd;
  }
  activeSelectionMode_ = mode;
}

// ---------------------------------------------------------------------------------------
// Case changes

void TCustomCodeEdit::DoCaseChange(TCodeEditorCommand Command) {
  bool wordCommand = Command >= ecUpperCase && Command <= ecTitleCase;
  TBufferCoord oldCaret = CaretXY();
  TBufferCoord oldBegin = blockBegin_, oldEnd = blockEnd_;
  bool hadSelection = SelAvail();
  if (wordCommand)
    SelectWordForCaseChange();
  else if (!hadSelection)
    SelectCharForCaseChange();
  if (SelAvail()) ReplaceSelectionCase(Command);
  if (wordCommand) {
    InternalSetCaretXY(oldCaret);
    SetBlockBegin(oldCaret);
  } else if (hadSelection) {
    blockBegin_ = oldBegin;
    blockEnd_ = oldEnd;
  } else {
    SetBlockBegin(CaretXY());
  }
}

// The word at the caret, else the one before it, else the one before that.
void TCustomCodeEdit::SelectWordForCaseChange() {
  SetBlockBegin(WordStart());
  SetBlockEnd(WordEnd());
  for (int attempt = 0; attempt < 2 && !SelAvail(); ++attempt) {
    InternalSetCaretXY(PrevWordPos());
    SetBlockBegin(WordStart());
    SetBlockEnd(WordEnd());
  }
}

// The character right of the caret; behind the line end the first of the next line.
void TCustomCodeEdit::SelectCharForCaseChange() {
  TBufferCoord from = CaretXY();
  if (from.Char > LineLength(from.Line) && from.Line < lines_->Count()) from = {1, from.Line + 1};
  SetBlockBegin(from);
  SetBlockEnd({from.Char + 1, from.Line});
}

// Replaces the selected characters by their converted form row by row; each changed row is
// recorded as a deletion of its old text and an insertion, so that undo restores the case.
void TCustomCodeEdit::ReplaceSelectionCase(TCodeEditorCommand Command) {
  struct TSegment {
    int Line, From, To;
  };
  TBufferCoord b = BlockBegin(), e = BlockEnd();
  auto [col1, col2] = ColumnBlockSpan();
  std::vector<TSegment> segments;
  std::string text;
  for (int line = b.Line; line <= std::min(e.Line, lines_->Count()); ++line) {
    int len = LineLength(line);
    int from = 1, to = len + 1;
    if (activeSelectionMode_ == SM::smColumn) {
      from = ColumnToChar(line, col1);
      to = ColumnToChar(line, col2);
    } else if (activeSelectionMode_ == SM::smNormal) {
      if (line == b.Line) from = b.Char;
      if (line == e.Line) to = e.Char;
    }
    from = std::min(from, len + 1);
    to = std::min(to, len + 1);
    if (to <= from) continue;
    segments.push_back({line, from, to});
    text += LineAt(line).substr(from - 1, to - from);
  }
  std::string converted = ConvertCase(Command, text);
  TUndoBlock block(*undoList_);
  uint8_t mode = uint8_t(activeSelectionMode_);
  undoList_->AddChange(urSelection, blockBegin_, blockEnd_, std::string(), mode);
  undoList_->AddChange(urCaret, CaretXY(), CaretXY(), std::string(), mode);
  {
    TLinesUpdate update(*lines_);
    size_t offset = 0;
    for (const TSegment& s : segments) {
      std::string line = LineAt(s.Line);
      size_t n = s.To - s.From;
      std::string old = line.substr(s.From - 1, n);
      std::string repl = converted.substr(offset, n);
      offset += n;
      if (repl == old) continue;
      line.replace(s.From - 1, n, repl);
      undoList_->AddChange(urDelete, {s.From, s.Line}, {s.To, s.Line}, old, uint8_t(SM::smNormal));
      undoList_->AddChange(urInsert, {s.From, s.Line}, {s.To, s.Line}, std::string(),
                           uint8_t(SM::smNormal));
      lines_->Put(s.Line - 1, line);
    }
  }
  InternalSetCaretXY(e);
}
