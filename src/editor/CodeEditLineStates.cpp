#include "editor/CodeEditLineStates.h"
#include <algorithm>
#include <string>

namespace {

// An edit scans this many lines at most; the rest waits for painting or idle time.
constexpr int kEagerRescanLines = 1000;

void StartAtStoredState(TCodeCustomHighlighter& H, const TCodeEditStringList& Lines, int Index) {
  if (Index == 0)
    H.ResetRange();
  else
    H.SetRange(Lines.GetRange(Index - 1));
}

// Scans one line from the highlighter's current state, which is then the line's end state.
// Scratch keeps its storage from line to line.
void ScanLine(TCodeCustomHighlighter& H, std::string& Scratch, std::string_view Text, int Index) {
  Scratch.assign(Text);
  H.SetLine(Scratch, Index);
  H.SkipToLineEnd();
}

void ScanStatesBefore(TCodeCustomHighlighter& H, const TCodeEditStringList& Lines, int Index) {
  const int scanned = Lines.RangesScanned(&H);
  if (scanned >= Index) return;
  StartAtStoredState(H, Lines, scanned);
  std::string scratch;
  for (int i = scanned; i < Index; ++i) {
    ScanLine(H, scratch, Lines.View(i), i);
    Lines.SetRange(i, H.GetRange());
  }
  Lines.SetRangesScanned(Index, &H);
}

// The scanned count after the shift of lines at Index; lines from Index on then still need
// a look.
int ShiftedScanned(int Scanned, int Index, int Shift) {
  if (Index >= Scanned) return Scanned;
  if (Shift >= 0) return Scanned + Shift;
  return Index - Shift >= Scanned ? Index : Scanned + Shift;
}

}  // namespace

void StartHighlighterAtLine(TCodeCustomHighlighter& Highlighter, const TStrings& Lines,
                            int Index) {
  Index = std::clamp(Index, 0, Lines.Count());
  if (const auto* buffer = dynamic_cast<const TCodeEditStringList*>(&Lines)) {
    ScanStatesBefore(Highlighter, *buffer, Index);
    StartAtStoredState(Highlighter, *buffer, Index);
    return;
  }
  Highlighter.ResetRange();
  std::string scratch;
  for (int i = 0; i < Index; ++i) ScanLine(Highlighter, scratch, Lines.Get(i), i);
}

bool ScanMoreLineStates(TCodeCustomHighlighter& Highlighter, const TCodeEditStringList& Lines,
                        int MaxLines) {
  const int scanned = Lines.RangesScanned(&Highlighter);
  const int target = Lines.Count() - scanned <= MaxLines ? Lines.Count() : scanned + MaxLines;
  ScanStatesBefore(Highlighter, Lines, target);
  return target == Lines.Count();
}

int RescanChangedLines(TCodeCustomHighlighter& Highlighter, const TCodeEditStringList& Lines,
                       int Index, int Changed, int Shift) {
  const int scanned = ShiftedScanned(Lines.RangesScanned(&Highlighter), Index, Shift);
  // A failing scan below leaves only what is certainly right.
  Lines.SetRangesScanned(std::min(scanned, Index), &Highlighter);
  if (Index >= scanned) return Index + Changed - 1;
  StartAtStoredState(Highlighter, Lines, Index);
  const int stop = scanned - Index <= kEagerRescanLines ? scanned : Index + kEagerRescanLines;
  const int lastChanged = Index + Changed - 1;
  std::string scratch;
  int i = Index;
  for (; i < stop; ++i) {
    ScanLine(Highlighter, scratch, Lines.View(i), i);
    const intptr_t range = Highlighter.GetRange();
    if (i >= lastChanged && Lines.GetRange(i) == range) {
      Lines.SetRangesScanned(scanned, &Highlighter);
      return i;
    }
    Lines.SetRange(i, range);
  }
  Lines.SetRangesScanned(i, &Highlighter);
  return Lines.Count() - 1;
}
