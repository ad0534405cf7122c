// "Alles ersetzen" of a common word through the search panel of the main window, in a document
// of 10 MB and of 100 MB, timed against the fast replace of the same text in the same run; the
// growth from 10 to 100 MB shows whether it stays linear, and one undo must bring the text back.
#include <windows.h>
#include <cstdio>
#include <string>
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"
#include "documents/frameEdit.h"
#include "editor/CodeEdit.h"
#include "foundation/FastSearch.h"
#include "mainwindow/formMain.h"
#include "toolkit/Application.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Controls.h"

#include "BenchClock.h"
#include "BenchMainWindow.h"

namespace {

// German-looking lines of about 80 bytes in which "der" (in any case) is the commonest word.
std::string MakeText(size_t Size) {
  static const char* const words[] = {"der", "Text", "und", "DER", "eine", "Zeile", "Der",
                                      "mit", "vielen", "der", "W\xF6rtern", "oder"};
  std::string text;
  text.reserve(Size + 128);
  uint32_t seed = 4711;
  size_t lineStart = 0;
  while (text.size() < Size) {
    seed = seed * 1103515245u + 12345u;
    text += words[(seed >> 16) % (sizeof words / sizeof *words)];
    if (text.size() - lineStart > 80) {
      text += "\r\n";
      lineStart = text.size();
    } else {
      text += ' ';
    }
  }
  return text;
}

struct Timings {
  double fast = 0, panel = 0, writeBack = 0;
  bool sameText = false, oneUndoStep = false;
};

Timings Measure(size_t Size) {
  const std::string text = MakeText(Size);
  Timings t;
  std::string expected;
  t.fast = SecondsOf([&] {
    expected = FastReplace(text, "der", "die",
                           TFastReplaceFlags{TFastReplaceFlag::ReplaceAll, TFastReplaceFlag::IgnoreCase});
  });
  OpenFile("");
  TCodeEdit& editor = *GetActiveFrame()->seEdit;
  editor.SetText(text);
  editor.ClearHistory();
  frmMain->cmbSearch->SetText("der");
  frmMain->cmbReplace->SetText("die");
  t.panel = SecondsOf([] { frmMain->Find<TButton>("btnReplaceAll")->Click(); });
  t.sameText = editor.Text() == expected;
  editor.Undo();
  t.oneUndoStep = editor.Text() == text && !editor.CanUndo();
  // The editor's share: the replaced text written over the whole text, nothing else.
  editor.SelectAll();
  t.writeBack = SecondsOf([&] { editor.SetSelText(expected); });
  GetActiveFrame()->DocInfo.Modified = false;
  CloseDocument();
  return t;
}

}  // namespace

int main() {
  const TBenchMainWindow window;

  const Timings small = Measure(size_t(10) << 20);
  const Timings large = Measure(size_t(100) << 20);
  std::printf("replaced as the fast replace does: %s; one undo step: %s\n",
              small.sameText && large.sameText ? "yes" : "NO",
              small.oneUndoStep && large.oneUndoStep ? "yes" : "NO");
  std::printf("%-28s %9.1f ms  %6.2f x FastReplace   growth 10->100 MB: %5.1f (linear 10)\n",
              "FastReplace (baseline)", large.fast * 1000, 1.0, large.fast / small.fast);
  std::printf("%-28s %9.1f ms  %6.2f x FastReplace   growth 10->100 MB: %5.1f (linear 10)\n",
              "Alles ersetzen (panel)", large.panel * 1000, large.panel / large.fast,
              large.panel / small.panel);
  std::printf("%-28s %9.1f ms  %6.2f x FastReplace   growth 10->100 MB: %5.1f (linear 10)\n",
              "  of it: editor's SetSelText", large.writeBack * 1000, large.writeBack / large.fast,
              large.writeBack / small.writeBack);
  return 0;
}
