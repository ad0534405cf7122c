// Editing speed of the editor control on a large text against a small one in the same run:
// typing 10,000 characters one by one into the middle of the text, and pasting 100,000 lines;
// then typing in a window (scroll bars and painting each keystroke), without and with word
// wrap. The ratio large/small per operation shows whether an edit depends on the text's size.
#include <windows.h>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include "editor/CodeEdit.h"

#include "BenchClipboard.h"
#include "BenchClock.h"

namespace {
constexpr int kTyped = 10000;
constexpr int kPastedLines = 100000;
// Typed in a window: runs short enough to stay inside the window's width, on several lines.
constexpr int kWindowRuns = 20;
constexpr int kWindowRunLength = 50;

std::string MakeText(int Lines) {
  std::string text;
  text.reserve(static_cast<size_t>(Lines) * 40);
  for (int i = 1; i <= Lines; ++i) {
    text += "line ";
    text += std::to_string(i);
    text += " of the text, with a few words";
    if (i < Lines) text += "\r\n";
  }
  return text;
}

struct TResult {
  double TypePerChar;  // seconds
  double Paste;        // seconds for the whole paste
  double UndoPaste;
};

TResult Measure(int Lines, TMemoryClipboard& Clipboard) {
  TCodeEdit edit(nullptr);
  edit.SetText(MakeText(Lines));
  edit.SetMaxScrollWidth(2 * kTyped);  // the typed run must not stop at the default width
  TResult r{};
  edit.SetCaretXY({10, Lines / 2});
  r.TypePerChar = SecondsOf([&] {
                    for (int i = 0; i < kTyped; ++i)
                      edit.CommandProcessor(ecChar, static_cast<char>('a' + i % 26), nullptr);
                  }) /
                  kTyped;
  Clipboard.Empty();
  Clipboard.SetData(CF_TEXT, MakeText(kPastedLines) + '\0');
  edit.SetCaretXY({1, Lines / 2});
  r.Paste = SecondsOf([&] { edit.CommandProcessor(ecPaste, '\0', nullptr); });
  if (edit.Lines().Count() != Lines + kPastedLines - 1) std::printf("paste went wrong\n");
  r.UndoPaste = SecondsOf([&] { edit.Undo(); });
  return r;
}
enum class TWindowCase { Plain, NoScrollPastEol, Wrapped, Painted, ScrollBarsOnly };

// A visible top-level window holding the editor. Typing is timed with the keystrokes' own
// work (scroll bars included); Painted also paints every keystroke before the next;
// ScrollBarsOnly times the scroll-bar update alone. Without eoScrollPastEol the horizontal bar
// follows the longest line.
double TypeInWindow(int Lines, TWindowCase Case) {
  HWND frame = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
  TCodeEdit edit(nullptr);
  if (Case == TWindowCase::NoScrollPastEol) {
    TCodeEditorOptions options = edit.Options();
    options.Exclude(TCodeEditorOption::eoScrollPastEol);
    edit.SetOptions(options);
  }
  edit.SetText(MakeText(Lines));
  edit.Gutter().SetShowLineNumbers(true);
  edit.CreateWnd(frame, 0, 0, 640, 480);
  edit.SetWordWrap(Case == TWindowCase::Wrapped);
  double total = 0;
  for (int run = 0; run < kWindowRuns; ++run) {
    edit.SetCaretXY({10, Lines / 2 + run});
    UpdateWindow(edit.Handle());
    total += SecondsOf([&] {
      for (int i = 0; i < kWindowRunLength; ++i) {
        if (Case == TWindowCase::ScrollBarsOnly) {
          edit.UpdateScrollBars();
          continue;
        }
        edit.CommandProcessor(ecChar, static_cast<char>('a' + i % 26), nullptr);
        if (Case == TWindowCase::Painted) UpdateWindow(edit.Handle());
      }
    });
  }
  double perChar = total / (kWindowRuns * kWindowRunLength);
  edit.DestroyWnd();
  DestroyWindow(frame);
  return perChar;
}
}  // namespace

int main() {
  TMemoryClipboard clipboard;
  SetClipboardOverride(&clipboard);
  TResult small = Measure(1000, clipboard);
  TResult large = Measure(1000000, clipboard);
  SetClipboardOverride(nullptr);
  std::printf("%-34s %14s %14s %8s\n", "operation", "1,000 lines", "1,000,000 lines", "ratio");
  std::printf("%-34s %11.2f us %11.2f us %8.2f\n", "typing, per character", small.TypePerChar * 1e6,
              large.TypePerChar * 1e6, large.TypePerChar / small.TypePerChar);
  std::printf("%-34s %11.1f ms %11.1f ms %8.2f\n", "paste of 100,000 lines", small.Paste * 1e3,
              large.Paste * 1e3, large.Paste / small.Paste);
  std::printf("%-34s %11.1f ms %11.1f ms %8.2f\n", "undo of that paste", small.UndoPaste * 1e3,
              large.UndoPaste * 1e3, large.UndoPaste / small.UndoPaste);
  const std::pair<TWindowCase, const char*> cases[] = {
      {TWindowCase::Plain, "in a window"},
      {TWindowCase::NoScrollPastEol, "in a window, no eoScrollPastEol"},
      {TWindowCase::Wrapped, "in a window, wrapped"},
      {TWindowCase::Painted, "in a window, painted"},
      {TWindowCase::ScrollBarsOnly, "scroll-bar update alone"}};
  for (const auto& [kind, name] : cases) {
    double small = TypeInWindow(1000, kind), large = TypeInWindow(1000000, kind);
    std::printf("%-34s %11.2f us %11.2f us %8.2f\n", name, small * 1e6, large * 1e6,
                large / small);
  }
  return 0;
}
