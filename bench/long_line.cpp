// A 100 MB file that is one line, opened into a painted tab of the main window with word wrap
// on: Ctrl+End, typing a character there and undoing it, then with the mouse pointer over the
// text pressing and releasing Ctrl (the link check under the pointer) and Ctrl+Z; each step
// painted and timed against one plain ReadFile of the same file in the same process (goal: at
// most 10 each), with the command and the paint apart. Painting the line's last rows and the
// link check need the highlighter's tokens from the last point before them where it can resume
// scanning: as plain text with blanks, as plain text without any (minified data with links,
// and bare base64) and as a script (whose highlighter scans from the line's start). The
// highlighter's scan of the whole line is shown beside the steps.
//
// Measured on an 8-core Linux machine under Wine, ratios to ReadFile (spread over 4 runs),
// before and after the link check kept its answer and lines without blanks got resume points:
//   plain text with blanks  every step                    0.02-2.6   ->  0.02-2.1
//   data without blanks     Ctrl+End, typing, undo        10.6-12.8  ->  0.4-2.1
//                           Ctrl over the text, again     12.4-13.0  ->  0.01-0.03
//                           Ctrl+Z over the text          23.7-28.3  ->  1.3-2.0
//   base64                  Ctrl+End, typing, undo        9.5-11.7   ->  1.5-3.6
//                           Ctrl over the text            10.6-11.5  ->  1.0-1.6
//                           the same again                10.7-11.7  ->  0.02-0.03
//                           Ctrl+Z over the text          21.4-22.8  ->  3.7-5.1
//   script (.js)            Ctrl over the text            18.4-22.3  ->  21.3-22.9
//                           the same again                19.2-22.7  ->  0.03-0.11
//                           other steps                   16.8-43.2  ->  18.5-42.9
// The script's ratios moved with the ReadFile baseline (52.8-62.4 ms), not its times.
#include <windows.h>
#include <cstdio>
#include <string>
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"
#include "documents/fMain.h"
#include "documents/frameEdit.h"
#include "editor/CodeEditHighlighter.h"
#include "mainwindow/formMain.h"
#include "rtl/SysUtils.h"
#include "toolkit/Application.h"
#include "toolkit/KeyState.h"

#include "BenchMainWindow.h"
#include "BenchText.h"

namespace {

constexpr size_t kFileSize = size_t(100) << 20;

// The pieces a line is made of, picked at random.
struct TPieces {
  const char* const* Pieces;
  size_t Count;
};
template <size_t N>
constexpr TPieces PiecesOf(const char* const (&Pieces)[N]) {
  return {Pieces, N};
}

// Minified-script-like text: words, operators and now and then a blank.
const char* const kScriptPieces[] = {"var ", "a", "=", "function(", "x", ")", "{", "return ",
                                     "b", ".", "c", "+", "1", ";", "}", ",", "\"s\"", " "};
// Minified data without a blank: records with links, addresses and base64 values.
const char* const kDataPieces[] = {"{\"id\":", "4711", ",", "\"href\":\"https://example.org/a/b?c=1\"",
                                   "\"mail\":\"someone@example.org\"", "\"blob\":\"",
                                   "QUJDREVGR0hJSktMTU5PUFFSU1RVVldY", "WVphYmNk+ZWZnaGlq/a2xtbm9w",
                                   "==", "\"", "}", "[", "]", ":"};
// Bare base64: letters and digits, now and then "+" or "/".
const char* const kBase64Pieces[] = {"QUJD", "REVG", "R0hJ", "SktM", "TU5P", "UFFS", "U1RV",
                                     "VldY", "WVph", "YmNk", "ZWZn", "aGlq", "a2xt", "bm9w",
                                     "cXJz", "dHV2", "d3h5", "ejAx", "MjM0", "NTY3", "ODkr",
                                     "L/9a"};

// Pieces picked at random without a line break, written in 1 MB chunks.
bool WriteOneLineFile(const std::string& Name, size_t Size, TPieces Pieces) {
  HANDLE file = CreateFileA(Name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  std::string chunk;
  size_t written = 0;
  uint32_t seed = 4711;
  bool ok = true;
  while (ok && written < Size) {
    chunk.clear();
    while (chunk.size() < (1u << 20) && written + chunk.size() < Size) {
      seed = seed * 1103515245u + 12345u;
      chunk += Pieces.Pieces[(seed >> 16) % Pieces.Count];
    }
    DWORD done = 0;
    ok = WriteFile(file, chunk.data(), static_cast<DWORD>(chunk.size()), &done, nullptr) &&
         done == chunk.size();
    written += chunk.size();
  }
  CloseHandle(file);
  return ok;
}

// Paints what is invalid now, without the idle work that waits in the message queue.
void PaintNow() { RedrawWindow(frmMain->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }

// A step's time: the command, and the paint that shows its result.
struct TStep {
  double command = 0, paint = 0;
  double Total() const { return command + paint; }
};

TStep Step(TCodeEditorCommand Command, char Char) {
  TStep step;
  step.command = SecondsOf([&] { GetActiveEditor()->CommandProcessor(Command, Char, nullptr); });
  step.paint = SecondsOf(PaintNow);
  return step;
}

// The mouse pointer over the middle of the editor's text, where a user reads.
void PointAtText(TCodeEdit& Editor) {
  const RECT client = Editor.ClientRect();
  POINT p = {(Editor.GutterWidth() + client.right) / 2, client.bottom / 2};
  ClientToScreen(Editor.Handle(), &p);
  SetCursorPos(p.x, p.y);
}

// Ctrl going down or up as the keyboard sends it to the editor.
void SendCtrl(TCodeEdit& Editor, bool Down) {
  SetKeyStateOverride([Down](int Key) { return Down && Key == VK_CONTROL; });
  SendMessageA(Editor.Handle(), Down ? WM_KEYDOWN : WM_KEYUP, VK_CONTROL, Down ? 1 : 0xC0000001);
}

// Ctrl pressed, then Command (unless it is ecNone) and its paint, then Ctrl released.
TStep CtrlStep(TCodeEdit& Editor, TCodeEditorCommand Command) {
  TStep step;
  step.command = SecondsOf([&] {
    SendCtrl(Editor, true);
    if (Command != ecNone) Editor.CommandProcessor(Command, '\0', nullptr);
  });
  step.paint = SecondsOf(PaintNow);
  step.command += SecondsOf([&] { SendCtrl(Editor, false); });
  return step;
}

void PrintStep(const char* Name, const TStep& Step, double Read, const char* Failure) {
  std::printf("%-22s %8.1f ms  %6.2f x ReadFile  (command %.2f, paint %.2f)%s\n", Name,
              Step.Total() * 1000, Step.Total() / Read, Step.command / Read, Step.paint / Read,
              Failure);
}

// SetLine and every token of the line, as a paint of its last rows needs them.
double HighlighterScan(TCodeCustomHighlighter& Highlighter, const std::string& Line) {
  return SecondsOf([&] {
    Highlighter.ResetRange();
    Highlighter.SetLine(Line, 0);
    while (!Highlighter.AtLineEnd()) Highlighter.NextToken();
  });
}

bool MeasureFile(const std::string& Name, TPieces Pieces) {
  if (!WriteOneLineFile(Name, kFileSize, Pieces)) {
    std::printf("cannot write %s\n", Name.c_str());
    return false;
  }
  const std::string& name = Name;
  ReadWholeFile(name);  // the file cache holds it for both alike
  size_t bytes = 0;
  const double read = SecondsOf([&] { bytes = ReadWholeFile(name).size(); });
  const double open = SecondsOf([&] {
    OpenFile(name, false, nullptr);
    PaintNow();
  });
  TCodeEdit* editor = GetActiveEditor();
  std::printf("%s: %zu bytes, %d line(s), word wrap %s, %d rows\n", ExtractFileName(name).c_str(),
              bytes, editor->Lines().Count(), editor->WordWrap() ? "on" : "off",
              editor->DisplayRowCount());
  const TStep toEnd = Step(ecEditorBottom, '\0');
  const TStep type = Step(ecChar, 'x');
  const bool typed = editor->Lines().View(0).size() == bytes + 1;
  const TStep undo = Step(ecUndo, '\0');
  const bool undone = editor->Lines().View(0).size() == bytes && !editor->Modified();
  PointAtText(*editor);
  // The link check only runs for the editor with the focus.
  const bool focused = GetFocus() == editor->Handle();
  const TStep ctrl = CtrlStep(*editor, ecNone);
  const TStep ctrlAgain = CtrlStep(*editor, ecNone);
  Step(ecChar, 'x');
  const TStep ctrlUndo = CtrlStep(*editor, ecUndo);
  const bool ctrlUndone = editor->Lines().View(0).size() == bytes;
  SetKeyStateOverride(nullptr);
  TCodeCustomHighlighter* highlighter = editor->Highlighter();
  std::printf("%-22s %8.1f ms\n", "ReadFile (baseline)", read * 1000);
  std::printf("%-22s %8.1f ms  %6.2f x ReadFile\n", "OpenFile, painted", open * 1000, open / read);
  PrintStep("Ctrl+End", toEnd, read, "");
  PrintStep("typing a character", type, read, typed ? "" : "  (the character did not arrive)");
  PrintStep("undo", undo, read, undone ? "" : "  (the text was not restored)");
  const char* unfocused = focused ? "" : "  (the editor had no focus: no link check)";
  PrintStep("Ctrl over the text", ctrl, read, unfocused);
  PrintStep("the same again", ctrlAgain, read, unfocused);
  PrintStep("Ctrl+Z over the text", ctrlUndo, read,
            !ctrlUndone ? "  (the text was not restored)" : unfocused);
  if (highlighter) {
    const double scan = HighlighterScan(*highlighter, std::string(editor->Lines().View(0)));
    std::printf("%-22s %8.1f ms  %6.2f x ReadFile  (%s, the line's tokens alone)\n",
                "highlighter scan", scan * 1000, scan / read, highlighter->ClassName().c_str());
  }
  GetActiveFrame()->DocInfo.Modified = false;
  CloseDocument();
  DeleteFileA(name.c_str());
  std::printf("\n");
  return true;
}

}  // namespace

int main() {
  const TBenchMainWindow window;
  Settings.General.OpenSizeWarn = false;
  const std::string name = BenchFolder() + "tarvoline_bench_long_line";
  return MeasureFile(name + ".txt", PiecesOf(kScriptPieces)) &&
                 MeasureFile(name + "_data.txt", PiecesOf(kDataPieces)) &&
                 MeasureFile(name + "_base64.txt", PiecesOf(kBase64Pieces)) &&
                 MeasureFile(name + ".js", PiecesOf(kScriptPieces))
             ? 0
             : 1;
}
