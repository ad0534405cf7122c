#include "documents/TrailingSpaces.h"
#include <algorithm>
#include <vector>
#include "documents/fHlpMainFuncs.h"
#include "editor/CodeEdit.h"
#include "editor/CodeEditScopes.h"
#include "rtl/SysUtils.h"

namespace {

// A position no further right than the end of its line, after that line got shorter.
TBufferCoord ClampToLine(const TCustomCodeEdit& Editor, TBufferCoord P) {
  if (P.Line >= 1 && P.Line <= Editor.Lines().Count())
    P.Char = std::min(P.Char, static_cast<int>(Editor.Lines()[P.Line - 1].size()) + 1);
  return P;
}

int LineLength(const TCustomCodeEdit& Editor, int Line) {
  return static_cast<int>(Editor.Lines()[Line - 1].size());
}

// Replaces the text between two positions, recorded for undo.
void ReplaceRange(TCustomCodeEdit& Editor, TBufferCoord From, TBufferCoord To,
                  const std::string& Text) {
  Editor.SetCaretAndSelection(To, From, To);
  Editor.SetSelText(Text);
}

void TrimLineTail(TCustomCodeEdit& Editor, int Line) {
  const int kept = static_cast<int>(TrimRight(Editor.Lines()[Line - 1]).size());
  ReplaceRange(Editor, {kept + 1, Line}, {LineLength(Editor, Line) + 1, Line}, "");
}

void TrimLineSpan(TCustomCodeEdit& Editor, int First, int Last) {
  std::string text;
  for (int line = First; line <= Last; ++line) {
    if (line > First) text += "\r\n";
    text += TrimRight(Editor.Lines()[line - 1]);
  }
  ReplaceRange(Editor, {1, First}, {LineLength(Editor, Last) + 1, Last}, text);
}

}  // namespace

void TrimTrailingSpaces(TCustomCodeEdit* Editor) {
  if (!CanWriteDocument(Editor)) return;
  std::vector<int> changed;
  for (int i = 0; i < Editor->Lines().Count(); ++i)
    if (TrimRight(Editor->Lines()[i]).size() != Editor->Lines()[i].size()) changed.push_back(i + 1);
  if (changed.empty()) return;
  const TBufferCoord caret = Editor->CaretXY();
  const TBufferCoord blockBegin = Editor->BlockBegin(), blockEnd = Editor->BlockEnd();
  codeeditscopes::TPaintLock lock(*Editor);
  {
    codeeditscopes::TUndoBlock block(Editor->UndoList());
    // Each tail goes by itself, so that marks stay on their lines, while the undo list can
    // hold every one of them; beyond that, one replacement keeps the step whole for undo.
    if (static_cast<int64_t>(changed.size()) * 2 <= Editor->MaxUndo()) {
      for (int line : changed) TrimLineTail(*Editor, line);
    } else {
      TrimLineSpan(*Editor, changed.front(), changed.back());
    }
  }
  Editor->SetCaretAndSelection(ClampToLine(*Editor, caret), ClampToLine(*Editor, blockBegin),
                               ClampToLine(*Editor, blockEnd));
}
