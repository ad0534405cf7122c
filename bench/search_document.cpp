// "Find next" through a 100 MB document in a tab of the main window until the wrap question
// (answered No), plain, ignoring case and by expression, timed against the same search engine
// stepping through the same text directly in the same run; and deleting lines and trailing
// white space on 1 M lines against 0.5 M lines, to show both stay linear.
#include <windows.h>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>
#include "commands/fHlpMainLines.h"
#include "documents/TrailingSpaces.h"
#include "commands/fHlpMainSearch.h"
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"
#include "documents/fMain.h"
#include "documents/frameEdit.h"
#include "editor/CodeEditScopes.h"
#include "mainwindow/formMain.h"
#include "toolkit/Application.h"
#include "toolkit/Dialogs.h"

#include "BenchClock.h"

namespace {

constexpr size_t TextSize = size_t(100) << 20;
constexpr int HitEveryLines = 10000;

// Lines of 0 to 160 characters, some with tabs, non-ASCII bytes and trailing blanks; every
// HitEveryLines-th line holds the word the searches look for. Stops at Size bytes or Lines
// lines, whichever comes first.
std::string MakeText(size_t Size, int Lines) {
  std::string text;
  text.reserve(Size + 256);
  uint32_t seed = 12345;
  for (int line = 0; line < Lines && text.size() < Size; ++line) {
    seed = seed * 1103515245u + 12345u;
    const size_t length = (seed >> 16) % 161;
    for (size_t i = 0; i < length; ++i) {
      char c = static_cast<char>('a' + (i * 7 + length) % 26);
      if (i % 37 == 5) c = '\t';
      if (i % 53 == 11) c = '\xE4';
      text += c;
    }
    if (line % HitEveryLines == 7) text += " Treffer";
    if (line % 3 == 0) text += "  \t";
    text += "\r\n";
  }
  return text;
}

bool wrapAsked = false;

// Answers every question: No to the wrap question, the prepared text to an input box.
std::string inputAnswer;
void InstallAnswers() {
  SetModalAnswerer([](const ModalQuestion& Q) -> std::optional<ModalAnswer> {
    ModalAnswer a;
    if (Q.kind == ModalKind::InputBox) {
      a.result = IDOK;
      a.value = inputAnswer;
    } else {
      wrapAsked = true;
      a.result = IDNO;
    }
    return a;
  });
}

struct SearchRun {
  int hits = 0;
  double seconds = 0;
  std::vector<TBufferCoord> begins, ends;
};

// The engine alone, started where "find next" starts after selecting each hit.
SearchRun Direct(const std::string& Text, bool Expression) {
  const TLocalSearchReplace& S = LocalSearchReplace;
  SearchRun run;
  run.seconds = SecondsOf([&] {
    int start = 1, len = 0;
    for (;;) {
      const int pos = Expression ? RegExprFind(Text, S.SearchText, S.CaseSensitive, len, start, false)
                                 : FindText(Text, S.SearchText, S.CaseSensitive, start, false);
      if (pos <= 0) break;
      ++run.hits;
      start = pos + 1;
    }
  });
  return run;
}

// The command as the user runs it on the active document.
SearchRun ThroughDocument(TCodeEdit& Editor, bool Expression) {
  SearchRun run;
  Editor.SetSelStart(0);
  wrapAsked = false;
  run.seconds = SecondsOf([&] {
    while (!wrapAsked) {
      if (Expression)
        SearchNextRegExpr(true);
      else
        SearchNext(true);
      if (!wrapAsked) {  // kept for replaying the selecting alone
        run.begins.push_back(Editor.BlockBegin());
        run.ends.push_back(Editor.BlockEnd());
      }
      if (!wrapAsked) ++run.hits;
    }
  });
  return run;
}

// The editor's share: centring the line and selecting each hit, as the command does.
double PlacementSeconds(TCodeEdit& Editor, const SearchRun& Run) {
  Editor.SetSelStart(0);
  return SecondsOf([&] {
    for (size_t i = 0; i < Run.begins.size(); ++i) {
      codeeditscopes::TPaintLock lock(Editor);
      Editor.GotoLineAndCenter(Run.begins[i].Line);
      Editor.SetCaretAndSelection(Run.ends[i], Run.begins[i], Run.ends[i]);
    }
  });
}

void CompareSearch(TCodeEdit& Editor, const std::string& Text, const char* Label,
                   const std::string& Pattern, bool CaseSensitive, bool Expression) {
  LocalSearchReplace = TLocalSearchReplace();
  LocalSearchReplace.SearchText = Pattern;
  LocalSearchReplace.CaseSensitive = CaseSensitive;
  LocalSearchReplace.UseRegExpr = Expression;
  const SearchRun direct = Direct(Text, Expression);
  const SearchRun document = ThroughDocument(Editor, Expression);
  const double placement = PlacementSeconds(Editor, document);
  std::printf("%-14s %4d hits (%4d in the document)  direct %8.1f ms  document %8.1f ms"
              "  ratio %5.2f x (goal 1.5); the editor's selecting alone %5.2f x\n",
              Label, direct.hits, document.hits, direct.seconds * 1000, document.seconds * 1000,
              document.seconds / direct.seconds, placement / direct.seconds);
}

TCodeEdit& NewDocument(const std::string& Text) {
  OpenFile("", false, nullptr);
  TCodeEdit& editor = *GetActiveEditor();
  editor.SetText(Text);
  return editor;
}

void CloseActive() {
  GetActiveFrame()->DocInfo.Modified = false;
  CloseDocument();
}

// One run of a line function on a new document of Lines lines.
double LineFunctionSeconds(int Lines, bool Remove, bool WordWrap) {
  TCodeEdit& editor = NewDocument(MakeText(size_t(-1), Lines));
  editor.SetWordWrap(WordWrap);
  inputAnswer = "treffer";
  const double seconds = SecondsOf([&] {
    if (Remove)
      RemoveLines(3, &editor);
    else
      TrimTrailingSpaces(&editor);
  });
  CloseActive();
  return seconds;
}

void CompareGrowth(const char* Label, bool Remove, bool WordWrap) {
  const double half = LineFunctionSeconds(500000, Remove, WordWrap);
  const double full = LineFunctionSeconds(1000000, Remove, WordWrap);
  std::printf("%-20s word wrap %-3s 0.5 M lines %8.1f ms  1 M lines %8.1f ms  growth %5.2f x"
              " (linear 2)\n",
              Label, WordWrap ? "on" : "off", half * 1000, full * 1000, full / half);
}

}  // namespace

// "search" or "lines" as the argument runs only that part.
int main(int argc, char** argv) {
  const std::string part = argc > 1 ? argv[1] : "";
  Application().Initialize();
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  Settings.SettingsFile = std::string(folder) + "tarvoline_bench_missing.ini";
  LoadSettings();
  Settings.General.AddToRecentFiles = false;
  Settings.General.SearchContinue = true;
  Settings.General.SearchContinueQuery = true;
  auto main = std::make_unique<TfrmMain>(nullptr);
  frmMain = main.get();
  Application().SetMainForm(main.get());
  main->Show();
  Application().ProcessMessages();
  InstallAnswers();

  if (part != "lines") {
    TCodeEdit& editor = NewDocument(MakeText(TextSize, 1 << 30));
    Application().ProcessMessages();
    const std::string text = editor.Text();
    std::printf("document: %zu bytes, %d lines\n", text.size(), editor.Lines().Count());
    std::printf("word wrap %s, as a new document starts\n", editor.WordWrap() ? "on" : "off");
    CompareSearch(editor, text, "plain", "Treffer", true, false);
    CompareSearch(editor, text, "ignoring case", "tREFFER", false, false);
    CompareSearch(editor, text, "expression", "T[a-z]+fer\\b", true, true);
    // Placing the caret costs the editor more with word wrap on.
    editor.SetWordWrap(!editor.WordWrap());
    std::printf("word wrap %s\n", editor.WordWrap() ? "on" : "off");
    CompareSearch(editor, text, "plain", "Treffer", true, false);
    CloseActive();
  }
  if (part != "search") {
    for (bool wordWrap : {false, true}) {
      CompareGrowth("RemoveLines", true, wordWrap);
      CompareGrowth("TrimTrailingSpaces", false, wordWrap);
    }
  }
  SetModalAnswerer(nullptr);
  main.reset();
  frmMain = nullptr;
  return 0;
}
