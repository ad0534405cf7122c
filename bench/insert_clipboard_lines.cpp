// The clipboard put at the start of every line of a document of 100 000 and 1 000 000 lines,
// against copying the same whole text to the clipboard in the same run; the growth from the
// small to the large one shows whether it stays linear (about 10). One undo must bring the
// text back.
#include <windows.h>
#include <cstdio>
#include <string>
#include "commands/InsertCommands.h"
#include "editor/CodeEdit.h"

#include "BenchClipboard.h"
#include "BenchClock.h"

namespace {

std::string MakeText(int Lines) {
  std::string text;
  text.reserve(static_cast<size_t>(Lines) * 32);
  for (int line = 0; line < Lines; ++line) {
    text += "Zeile " + std::to_string(line) + " mit etwas Text \xE4\xF6\xFC";
    if (line + 1 < Lines) text += "\r\n";
  }
  return text;
}

struct TResult {
  double Insert = 0;
  double Copy = 0;
  bool OneUndoStep = false;
};

TResult Run(int Lines) {
  TMemoryClipboard clipboard;
  SetClipboardOverride(&clipboard);
  TCodeEdit editor(nullptr);
  editor.SetText(MakeText(Lines));
  editor.ClearHistory();
  const std::string before = editor.Text();
  TResult result;
  result.Copy = SecondsOf([&] {
    editor.SelectAll();
    editor.CopyToClipboard();
  });
  clipboard.Empty();
  clipboard.SetData(CF_TEXT, std::string("> ") + '\0');
  editor.SetSelLength(0);
  result.Insert = SecondsOf([&] { InsertClipboardAtLines(&editor, true); });
  editor.Undo();
  result.OneUndoStep = !editor.CanUndo() && editor.Text() == before;
  SetClipboardOverride(nullptr);
  return result;
}

}  // namespace

int main() {
  const TResult small = Run(100000);
  const TResult large = Run(1000000);
  std::printf("clipboard at line start, 1 000 000 lines: %.3f s, copying the text: %.3f s, "
              "ratio %.1f\n",
              large.Insert, large.Copy, large.Insert / large.Copy);
  std::printf("growth 100 000 -> 1 000 000 lines: %.1f (linear is about 10)\n",
              large.Insert / small.Insert);
  std::printf("one undo step restores the text: %s\n",
              small.OneUndoStep && large.OneUndoStep ? "yes" : "NO");
  return small.OneUndoStep && large.OneUndoStep ? 0 : 1;
}
