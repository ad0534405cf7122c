// Selecting search hits in the editor control: centring the hit's line and selecting it, as
// "find next" does, 1,000 times through a text of 1,000 and of 1,000,000 lines, without and
// with word wrap, and by character index; the ratio large/small shows whether a move depends
// on the text's size.
#include <windows.h>
#include <cstdio>
#include <string>
#include "editor/CodeEdit.h"

#include "BenchClock.h"

namespace {
constexpr int kMoves = 1000;

std::string MakeText(int Lines) {
  std::string text;
  text.reserve(static_cast<size_t>(Lines) * 90);
  for (int i = 1; i <= Lines; ++i) {
    text += "line ";
    text += std::to_string(i);
    text += " of the text, with a few words and a hit\tafter a tab, long enough to wrap once";
    if (i < Lines) text += "\r\n";
  }
  return text;
}

enum class TStep { Both, ByIndex, CentreOnly, ScrollBarsOnly };

// Seconds per move.
double SelectHits(int Lines, bool WordWrap, TStep Step = TStep::Both) {
  HWND frame = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
  TCodeEdit edit(nullptr);
  edit.SetText(MakeText(Lines));
  edit.CreateWnd(frame, 0, 0, 640, 480);
  edit.SetWordWrap(WordWrap);
  const double seconds = SecondsOf([&] {
    for (int i = 0; i < kMoves; ++i) {
      const int line = 1 + static_cast<int>((static_cast<int64_t>(i) * 7919) % Lines);
      if (Step == TStep::ScrollBarsOnly) {
        edit.UpdateScrollBars();
        continue;
      }
      if (Step == TStep::ByIndex) {
        // As the cursor-marker search selects: by character index.
        const int index = edit.RowColToCharIndex({43, line});
        edit.GotoLineAndCenter(edit.CharIndexToRowCol(index).Line);
        edit.SetSelStart(index);
        edit.SetSelLength(3);
        continue;
      }
      edit.GotoLineAndCenter(line);
      if (Step == TStep::Both) edit.SetCaretAndSelection({46, line}, {43, line}, {46, line});
    }
  });
  edit.DestroyWnd();
  DestroyWindow(frame);
  return seconds / kMoves;
}
}  // namespace

int main() {
  std::printf("%-28s %14s %16s %8s\n", "select a hit, per move", "1,000 lines", "1,000,000 lines",
              "ratio");
  for (bool wrap : {false, true}) {
    const double small = SelectHits(1000, wrap), large = SelectHits(1000000, wrap);
    std::printf("%-28s %11.2f us %13.2f us %8.2f\n", wrap ? "word wrap on" : "word wrap off",
                small * 1e6, large * 1e6, large / small);
  }
  const double smallByIndex = SelectHits(1000, true, TStep::ByIndex);
  const double largeByIndex = SelectHits(1000000, true, TStep::ByIndex);
  std::printf("%-28s %11.2f us %13.2f us %8.2f\n", "by character index, wrapped",
              smallByIndex * 1e6, largeByIndex * 1e6, largeByIndex / smallByIndex);
  for (int lines : {1000, 1000000}) {
    const double centre = SelectHits(lines, false, TStep::CentreOnly);
    const double bars = SelectHits(lines, false, TStep::ScrollBarsOnly);
    std::printf("of a move on %d lines, no word wrap: centring %.2f us, scroll-bar update "
                "alone %.2f us\n", lines, centre * 1e6, bars * 1e6);
  }
  return 0;
}
