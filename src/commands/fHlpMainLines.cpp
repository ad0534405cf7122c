#include "commands/fHlpMainLines.h"
#include <algorithm>
#include <vector>
#include "commands/fHlpMainSearch.h"
#include "documents/fHlpMainDocs.h"
#include "documents/fHlpMainFuncs.h"
#include "documents/fLanguage.h"
#include "editor/CodeEdit.h"
#include "editor/CodeEditScopes.h"
#include "foundation/Regex.h"
#include "foundation/fMain.h"
#include "rtl/SysUtils.h"
#include "toolkit/Dialogs.h"

std::array<std::string, 10> MemoryBanks;

const char* const CursorPosMarker = "$|$";

namespace {

constexpr int RemoveLinesModeCount = 8;
constexpr int BankCaptionLimit = 80;
constexpr size_t BankEndsLength = 100;

struct TRemoveLinesPrompt {
  const char* Key;
  const char* Default;
};
const TRemoveLinesPrompt RemoveLinesPrompts[RemoveLinesModeCount] = {
    {"Main|InpRemoveLinesMatchRegExp",
     "Zeilen l\xF6schen, die dem folgenden regul\xE4ren Ausdruck entsprechen:"},
    {"Main|InpRemoveLinesNotMatchRegExp",
     "Zeilen l\xF6schen, die nicht dem folgenden regul\xE4ren Ausdruck entsprechen:"},
    {"Main|InpRemoveLinesStartText", "Zeilen l\xF6schen, die mit dem folgenden Text beginnen:"},
    {"Main|InpRemoveLinesContainText", "Zeilen l\xF6schen, die den folgenden Text enthalten:"},
    {"Main|InpRemoveLinesEndText", "Zeilen l\xF6schen, die mit dem folgenden Text enden:"},
    {"Main|InpRemoveLinesNotStartText",
     "Zeilen l\xF6schen, die nicht mit dem folgenden Text beginnen:"},
    {"Main|InpRemoveLinesNotContainText",
     "Zeilen l\xF6schen, die nicht den folgenden Text enthalten:"},
    {"Main|InpRemoveLinesNotEndText",
     "Zeilen l\xF6schen, die nicht mit dem folgenden Text enden:"},
};

// The editor's lines are joined by CR LF alone; splitting there keeps every other byte,
// zero bytes included.
std::vector<std::string> SplitLines(const std::string& Text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < Text.size()) {
    size_t brk = Text.find("\r\n", start);
    if (brk == std::string::npos) brk = Text.size();
    lines.push_back(Text.substr(start, brk - start));
    start = brk + 2;
  }
  return lines;
}

bool EndsWith(const std::string& S, const std::string& Tail) {
  return S.size() >= Tail.size() && S.compare(S.size() - Tail.size(), Tail.size(), Tail) == 0;
}

// Whether a line meets a text mode's condition (2 to 7); both sides are upper case already.
bool MeetsTextCondition(int Mode, const std::string& Line, const std::string& Text) {
  switch (Mode) {
    case 2: return Line.compare(0, Text.size(), Text) == 0;
    case 3: return Line.find(Text) != std::string::npos;
    case 4: return EndsWith(Line, Text);
    case 5: return Line.compare(0, Text.size(), Text) != 0;
    case 6: return Line.find(Text) == std::string::npos;
    default: return !EndsWith(Line, Text);
  }
}

// Keeps the lines that do not meet the condition; an expression that fails raises ERegex.
std::vector<std::string> KeepLines(const std::vector<std::string>& Lines, int Mode,
                                   const std::string& Pattern) {
  std::vector<std::string> kept;
  kept.reserve(Lines.size());
  if (Mode <= 1) {
    TRegex regex;
    regex.SetExpression(Pattern);
    for (const std::string& line : Lines)
      if (regex.Exec(line) == (Mode == 1)) kept.push_back(line);
    return kept;
  }
  const std::string text = AnsiUpperCase(Pattern);
  for (const std::string& line : Lines)
    if (!MeetsTextCondition(Mode, AnsiUpperCase(line), text)) kept.push_back(line);
  return kept;
}

// The character at the caret (Offset 0) or just before it (Offset -1); 0 for none.
char CharNearCaret(const TCustomCodeEdit& Editor, int Offset) {
  const int line = Editor.CaretY(), col = Editor.CaretX() + Offset;
  if (line < 1 || line > Editor.Lines().Count() || col < 1) return 0;
  const std::string s = Editor.Lines()[line - 1];
  return col <= static_cast<int>(s.size()) ? s[col - 1] : 0;
}

bool IsBracket(char C) { return C != 0 && std::string("()[]{}<>").find(C) != std::string::npos; }

void SelectMarker(TCustomCodeEdit& Editor, int Pos) {
  Editor.GotoLineAndCenter(Editor.CharIndexToRowCol(Pos - 1).Line);
  Editor.SetSelStart(Pos - 1);
  Editor.SetSelLength(3);
}

// One marker search; a second pass from the other end when the text holds one elsewhere.
void FindMarker(TCustomCodeEdit& Editor, bool Forward) {
  for (int pass = 0; pass < 2; ++pass) {
    const std::string text = Editor.Text();
    const int selStart = Editor.SelStart();
    const int start = Forward ? selStart + 1 + (Editor.SelLength() == 3 ? 1 : 0) : selStart;
    const int pos = FindText(text, CursorPosMarker, true, start, !Forward);
    if (pos > 0) {
      SelectMarker(Editor, pos);
      return;
    }
    if (pass > 0 || FindText(text, CursorPosMarker, true, 1, false) == 0) return;
    Editor.SetSelStart(Forward ? 0 : static_cast<int>(text.size()));
  }
}

}  // namespace

std::string RemoveMatchingLines(const std::string& Text, int Mode, const std::string& Pattern) {
  if (Mode < 0 || Mode >= RemoveLinesModeCount) return Text;
  std::string result;
  for (const std::string& line : KeepLines(SplitLines(Text), Mode, Pattern)) {
    result += line;
    result += "\r\n";
  }
  if (!EndsWith(Text, "\r\n")) result = TrimRight(result);
  return result;
}

void RemoveLines(int Mode, TCustomCodeEdit* Editor) {
  if (!CanWriteDocument(Editor) || Mode < 0 || Mode >= RemoveLinesModeCount) return;
  std::string pattern;
  const TRemoveLinesPrompt& prompt = RemoveLinesPrompts[Mode];
  if (!InputQuery(GetLangText("Main|InpRemoveLinesTitle", "Zeilen l\xF6schen"),
                  GetLangText(prompt.Key, prompt.Default), pattern, TInputKind::SearchText) ||
      pattern.empty())
    return;
  // The result is complete before the document is touched, so a failing expression leaves it
  // as it was.
  std::string result;
  try {
    result = RemoveMatchingLines(Editor->Text(), Mode, pattern);
  } catch (const ERegex& E) {
    ReportRegexError(E);
    return;
  }
  codeeditscopes::TUndoBlock block(Editor->UndoList());
  Editor->SelectAll();
  Editor->SetSelText(result);
  Editor->Repaint();
  Editor->EnsureCursorPosVisible();
}

std::string BuildMemoryBankMenu(int Index) {
  const std::string caption =
      GetLangText("Main|mnuEditCopyMemoryBankItem", "Ablage &%s1%", LangParams({IntToStr(Index)}));
  if (Index < 0 || Index >= static_cast<int>(MemoryBanks.size())) return caption;
  const std::string& bank = MemoryBanks[Index];
  if (bank.empty()) return caption;
  if (bank.size() <= BankCaptionLimit) return caption + " (" + EscapeCaption(bank) + ")";
  const std::string head = bank.substr(0, BankEndsLength);
  const std::string tail = bank.substr(bank.size() - std::min(bank.size(), BankEndsLength));
  const std::string shown = ShortenMiddle(Trim(head + " " + tail), " ... ", BankCaptionLimit);
  return caption + " (" + EscapeCaption(shown) + ")";
}

void NextCursorPosInEditor(TCustomCodeEdit& Editor) { FindMarker(Editor, true); }
void PrevCursorPosInEditor(TCustomCodeEdit& Editor) { FindMarker(Editor, false); }

void NextCursorPos() {
  if (TCodeEdit* editor = GetActiveEditor()) NextCursorPosInEditor(*editor);
}

void PrevCursorPos() {
  if (TCodeEdit* editor = GetActiveEditor()) PrevCursorPosInEditor(*editor);
}

TBufferCoord GotoMatchingBracket(TCustomCodeEdit* Editor) {
  if (!Editor || Editor->SelAvail()) return {0, 0};
  TBufferCoord at = Editor->CaretXY();
  if (!IsBracket(CharNearCaret(*Editor, 0))) {
    if (!IsBracket(CharNearCaret(*Editor, -1))) return {0, 0};
    --at.Char;
  }
  // A match scrolled out of view is still the match: the caller scrolls to it.
  const TBufferCoord match = Editor->GetMatchingBracketEx(at);
  if (match.Char < 1 || match.Line < 1) return {0, 0};
  return match;
}

POINT BufferPosToPixels(TCustomCodeEdit& Editor, const TBufferCoord& Pos) {
  return Editor.RowColumnToPixels(Editor.BufferToDisplayPos(Pos));
}

bool IsValidEmail(const std::string& Text) {
  TRegex regex;
  regex.SetExpression(
      "^[_a-z0-9-]+(\\.[_a-z0-9-]+)*@[a-z0-9-]+(\\.[a-z0-9-]+)*(\\.[a-z]{2,6})$");
  // "^" and "$" also match at line breaks: the match must span the whole text.
  return regex.Exec(Text) && regex.GetMatchPos(0) == 1 &&
         regex.GetMatchLen(0) == static_cast<int>(Text.size());
}
