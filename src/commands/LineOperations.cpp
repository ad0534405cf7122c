#include "commands/LineOperations.h"
#include <algorithm>
#include <numeric>
#include "editor/CodeEdit.h"
#include "editor/CodeEditScopes.h"
#include "rtl/SysUtils.h"

namespace {

bool EndsWithBreak(const std::string& Text) {
  return !Text.empty() && (Text.back() == '\n' || Text.back() == '\r');
}

std::string JoinWithBreaks(const std::vector<std::string>& Lines) {
  size_t size = 0;
  for (const std::string& line : Lines) size += line.size() + 2;
  std::string out;
  out.reserve(size);
  for (const std::string& line : Lines) {
    out += line;
    out += "\r\n";
  }
  return out;
}

std::string DropFinalBreak(std::string Text) {
  if (Text.size() >= 2) Text.resize(Text.size() - 2);
  return Text;
}

std::string LineRange(const TCustomCodeEdit& Editor, int First, int Last) {
  std::string text;
  for (int line = First; line <= Last; ++line) {
    if (line > First) text += "\r\n";
    text += Editor.Lines()[line - 1];
  }
  return text;
}

TBufferCoord Shifted(TBufferCoord P, int Delta) { return {P.Char, P.Line + Delta}; }

}  // namespace

std::vector<std::string> SplitTextLines(const std::string& Text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < Text.size()) {
    const size_t brk = Text.find_first_of("\r\n", start);
    if (brk == std::string::npos) {
      lines.push_back(Text.substr(start));
      break;
    }
    lines.push_back(Text.substr(start, brk - start));
    const bool crLf = Text[brk] == '\r' && brk + 1 < Text.size() && Text[brk + 1] == '\n';
    start = brk + (crLf ? 2 : 1);
  }
  return lines;
}

std::string TrimLineEnds(const std::string& Text) {
  std::vector<std::string> lines = SplitTextLines(Text);
  for (std::string& line : lines) line = TrimRight(line);
  return JoinWithBreaks(lines);
}

int SortDescCompare(const std::string& A, const std::string& B) { return -AnsiCompareText(A, B); }

std::string SortTextLines(const std::string& Text, bool Descending) {
  std::vector<std::string> lines = SplitTextLines(Text);
  if (Descending)
    std::sort(lines.begin(), lines.end(),
              [](const std::string& A, const std::string& B) { return SortDescCompare(A, B) < 0; });
  else
    std::sort(lines.begin(), lines.end(),
              [](const std::string& A, const std::string& B) { return AnsiCompareText(A, B) < 0; });
  const std::string joined = JoinWithBreaks(lines);
  return EndsWithBreak(Text) ? joined : DropFinalBreak(joined);
}

std::string DeleteEmptyTextLines(const std::string& Text) {
  std::vector<std::string> lines = SplitTextLines(Text);
  lines.erase(std::remove_if(lines.begin(), lines.end(),
                             [](const std::string& L) { return Trim(L).empty(); }),
              lines.end());
  return TrimRight(JoinWithBreaks(lines));
}

std::string DeleteDuplicateTextLines(const std::string& Text) {
  const std::vector<std::string> lines = SplitTextLines(Text);
  // Sorting the line numbers groups equal lines with their first occurrence in front, so
  // the test stays n log n instead of comparing each line with every kept one.
  std::vector<size_t> order(lines.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), [&lines](size_t A, size_t B) {
    return AnsiCompareText(lines[A], lines[B]) < 0;
  });
  std::vector<bool> keep(lines.size(), false);
  for (size_t i = 0; i < order.size(); ++i)
    if (i == 0 || AnsiCompareText(lines[order[i - 1]], lines[order[i]]) != 0)
      keep[order[i]] = true;
  std::vector<std::string> kept;
  kept.reserve(lines.size());
  for (size_t i = 0; i < lines.size(); ++i)
    if (keep[i]) kept.push_back(lines[i]);
  const std::string joined = JoinWithBreaks(kept);
  const bool endsWithCrLf = Text.size() >= 2 && Text.compare(Text.size() - 2, 2, "\r\n") == 0;
  return endsWithCrLf ? joined : TrimRight(joined);
}

std::string FillText(size_t Length, const std::string& Pattern) {
  if (Pattern.empty()) return {};
  std::string out;
  out.reserve(Length + Pattern.size());
  while (out.size() < Length) out += Pattern;
  out.resize(Length);
  return out;
}

std::string JoinTextLines(const std::string& Text) {
  std::string out;
  bool first = true;
  for (const std::string& line : SplitTextLines(Text)) {
    if (!first) out += ' ';
    out += Trim(line);
    first = false;
  }
  return out;
}

bool MoveLines(TCustomCodeEdit& Editor, bool Up) {
  const TBufferCoord blockBegin = Editor.BlockBegin(), blockEnd = Editor.BlockEnd();
  const TBufferCoord caret = Editor.CaretXY();
  const int first = blockBegin.Line, last = blockEnd.Line;
  const int count = Editor.Lines().Count();
  if (Up ? first < 2 : last >= count) return false;
  // One replacement of the block and its neighbour, recorded for undo, so that later undo
  // steps still find their lines where they were.
  const int from = Up ? first - 1 : first, to = Up ? last : last + 1;
  const std::string block = LineRange(Editor, first, last);
  const std::string neighbour = Editor.Lines()[(Up ? first - 1 : last + 1) - 1];
  const std::string moved = Up ? block + "\r\n" + neighbour : neighbour + "\r\n" + block;
  const int delta = Up ? -1 : 1;
  {
    codeeditscopes::TUndoBlock undo(Editor.UndoList());
    // Whole lines move, whatever shape the selection has.
    const TCodeSelectionMode mode = Editor.ActiveSelectionMode();
    Editor.SetActiveSelectionMode(TCodeSelectionMode::smNormal);
    const int toLength = static_cast<int>(Editor.Lines()[to - 1].size());
    Editor.SetCaretAndSelection({toLength + 1, to}, {1, from}, {toLength + 1, to});
    Editor.SetSelText(moved);
    Editor.SetActiveSelectionMode(mode);
    Editor.SetCaretAndSelection(Shifted(caret, delta), Shifted(blockBegin, delta),
                                Shifted(blockEnd, delta));
  }
  Editor.Repaint();
  Editor.EnsureCursorPosVisible();
  return true;
}
