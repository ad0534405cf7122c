// Every Format-menu conversion on documents of 100 000 and 1 000 000 lines: the growth from
// the small to the large one shows whether each stays linear (about 10), and one undo must
// bring the large text back. Sorting 1 000 000 lines is also timed against std::sort of the
// same lines with the same locale comparison in the same run.
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>
#include "commands/FormatCommands.h"
#include "commands/LineOperations.h"
#include "commands/TextConversions.h"
#include "documents/fHlpMainFuncs.h"
#include "editor/CodeEdit.h"
#include "foundation/fMain.h"
#include "rtl/SysUtils.h"

#include "BenchClock.h"

namespace {

// Lines of about 30 bytes with umlauts, tabs, markup, blanks at the ends and repeats.
std::string MakeText(int Lines) {
  static const char* const words[] = {"der", "Text", "\xE4rger", "<b>", "&amp;", "Zeile",
                                      "\t", "  ", "gro\xDF", "</b>", "ende", "\xFC" "ber"};
  std::string text;
  text.reserve(static_cast<size_t>(Lines) * 34);
  uint32_t seed = 4711;
  for (int line = 0; line < Lines; ++line) {
    for (int w = 0; w < 5; ++w) {
      seed = seed * 1103515245u + 12345u;
      text += words[(seed >> 16) % (sizeof words / sizeof *words)];
      text += ' ';
    }
    if (line + 1 < Lines) text += "\r\n";
  }
  return text;
}

// A document's editor: lines as long as they come, as the program's frames have them.
void UseDocumentOptions(TCodeEdit& Editor) {
  TCodeEditorOptions options = Editor.Options();
  options.Include(TCodeEditorOption::eoAutoSizeMaxScrollWidth);
  Editor.SetOptions(options);
}

struct TCase {
  const char* Name;
  TTextConversion Convert;
  TConvertScope Scope;
  // Makes the case's input from the sample (decoders get encoded text).
  std::function<std::string(const std::string&)> Prepare;
};

struct TRun {
  double Seconds = 0;
  bool OneUndoStep = false;
};

TRun Run(const TCase& Case, const std::string& Sample) {
  const std::string input = Case.Prepare ? Case.Prepare(Sample) : Sample;
  TCodeEdit editor(nullptr);
  UseDocumentOptions(editor);
  editor.SetText(input);
  editor.ClearHistory();
  const std::string before = editor.Text();
  if (Case.Scope == TConvertScope::SelectionOnly) editor.SelectAll();
  TRun run;
  run.Seconds = SecondsOf([&] { ConvertEditorText(&editor, Case.Convert, Case.Scope); });
  editor.Undo();
  run.OneUndoStep = !editor.CanUndo() && editor.Text() == before;
  return run;
}

}  // namespace

int main() {
  SpecialCharsTable.fill({});
  SetSpecialChar(228, "\xE4", "auml", "");
  SetSpecialChar(252, "\xFC", "uuml", "");
  SetSpecialChar(223, "\xDF", "szlig", "");
  auto named = [](const std::string& T) { return SpecialCharsToEntities(T, false); };
  const TCase cases[] = {
      {"upper case", AnsiUpperCase, TConvertScope::SelectionElseAll, nullptr},
      {"lower case", AnsiLowerCase, TConvertScope::SelectionElseAll, nullptr},
      {"swap case", InvertCase, TConvertScope::SelectionElseAll, nullptr},
      {"to named entities", named, TConvertScope::SelectionElseAll, nullptr},
      {"to numeric entities", [](const std::string& T) { return SpecialCharsToEntities(T, true); },
       TConvertScope::SelectionElseAll, nullptr},
      {"entities to characters", ConvertHtmlChars, TConvertScope::SelectionElseAll, named},
      {"remove tags", HtmlToText, TConvertScope::SelectionElseAll, nullptr},
      {"HTML encode", HtmlEncode, TConvertScope::SelectionElseAll, nullptr},
      {"HTML decode", HtmlDecode, TConvertScope::SelectionElseAll, HtmlEncode},
      {"compress white space", CompressWhitespaces, TConvertScope::SelectionElseAll, nullptr},
      {"ANSI to OEM", ConvertAnsiToOem, TConvertScope::SelectionElseAll, nullptr},
      {"OEM to ANSI", ConvertOemToAnsi, TConvertScope::SelectionElseAll, ConvertAnsiToOem},
      {"ANSI to UTF-8", AnsiToUtf8, TConvertScope::SelectionElseAll, nullptr},
      {"UTF-8 to ANSI", Utf8ToAnsi, TConvertScope::SelectionElseAll, AnsiToUtf8},
      {"URL encode", [](const std::string& T) { return URLEncode(T, ""); },
       TConvertScope::SelectionElseAll, nullptr},
      {"URL decode", URLDecode, TConvertScope::SelectionElseAll,
       [](const std::string& T) { return URLEncode(T, ""); }},
      {"QP encode", [](const std::string& T) { return QPEncode(T, false); },
       TConvertScope::SelectionElseAll, nullptr},
      {"QP decode", QPDecode, TConvertScope::SelectionElseAll,
       [](const std::string& T) { return QPEncode(T, false); }},
      {"Base64 encode", Base64Encode, TConvertScope::SelectionElseAll, nullptr},
      {"Base64 decode", Base64ToText, TConvertScope::SelectionElseAll, Base64Encode},
      {"ROT13", Rot13, TConvertScope::SelectionElseAll, nullptr},
      {"tabs to spaces", [](const std::string& T) { return TabsToSpaces(T, 4); },
       TConvertScope::SelectionElseAll, nullptr},
      {"spaces to tabs", [](const std::string& T) { return SpacesToTabs(T, 2); },
       TConvertScope::SelectionElseAll, nullptr},
      {"trailing blanks", TrimLineEnds, TConvertScope::SelectionElseAll, nullptr},
      {"wrap at 12", [](const std::string& T) { return WrapTextLines(T, 12); },
       TConvertScope::SelectionElseAll, nullptr},
      {"sort ascending", [](const std::string& T) { return SortTextLines(T, false); },
       TConvertScope::SelectionElseAll, nullptr},
      {"sort descending", [](const std::string& T) { return SortTextLines(T, true); },
       TConvertScope::SelectionElseAll, nullptr},
      {"delete empty lines", DeleteEmptyTextLines, TConvertScope::WholeText, nullptr},
      {"delete duplicate lines", DeleteDuplicateTextLines, TConvertScope::WholeText, nullptr},
      {"join lines", JoinTextLines, TConvertScope::SelectionOnly, nullptr},
      {"fill", [](const std::string& T) { return FillText(T.size(), "xy"); },
       TConvertScope::SelectionOnly, nullptr},
      {"move lines", nullptr, TConvertScope::SelectionElseAll, nullptr},
  };
  const std::string small = MakeText(100000), large = MakeText(1000000);
  std::printf("%-24s %10s %10s %8s %s\n", "conversion", "100k s", "1M s", "growth",
              "1M one undo step");
  bool allOne = true;
  for (const TCase& c : cases) {
    TRun a, b;
    if (!c.Convert) {  // moving the whole text but its last line down past that line
      auto move = [](const std::string& Text) {
        TCodeEdit editor(nullptr);
        UseDocumentOptions(editor);
        editor.SetText(Text);
        editor.ClearHistory();
        editor.SetCaretAndSelection({1, editor.Lines().Count() - 1}, {1, 1},
                                    {1, editor.Lines().Count() - 1});
        TRun run;
        run.Seconds = SecondsOf([&] { MoveLines(editor, false); });
        editor.Undo();
        run.OneUndoStep = !editor.CanUndo() && editor.Text() == Text;
        return run;
      };
      a = move(small);
      b = move(large);
    } else {
      a = Run(c, small);
      b = Run(c, large);
    }
    allOne = allOne && b.OneUndoStep;
    std::printf("%-24s %10.3f %10.3f %8.1f %s\n", c.Name, a.Seconds, b.Seconds,
                b.Seconds / std::max(a.Seconds, 1e-6), b.OneUndoStep ? "yes" : "NO");
  }

  // Sorting against std::sort of the same lines with the same comparison.
  std::vector<std::string> lines = SplitTextLines(large);
  const double baseline = SecondsOf([&] {
    std::sort(lines.begin(), lines.end(),
              [](const std::string& A, const std::string& B) { return AnsiCompareText(A, B) < 0; });
  });
  std::string sorted;
  const double ours = SecondsOf([&] { sorted = SortTextLines(large, false); });
  std::printf("sorting 1M lines: %.3f s, std::sort of the same lines %.3f s, ratio %.2f\n", ours,
              baseline, ours / std::max(baseline, 1e-6));
  return allOne ? 0 : 1;
}
