#include "editor/CodeEditWordWrap.h"
#include <algorithm>
#include <cassert>
#include "editor/CodeEditTextBuffer.h"

namespace {

// A row's length is stored in one byte.
constexpr int MaxRowColumns = 255;
constexpr size_t LineCapacityStep = 256;
constexpr size_t RowCapacityStep = 512;

// Grows by at least half the current capacity, so that adding lines one by one (loading a
// text) costs linear time in all.
template <class T>
void GrowFor(std::vector<T>& V, size_t Needed, size_t Step) {
  if (Needed <= V.capacity()) return;
  const size_t rounded = (Needed + Step - 1) / Step * Step;
  V.reserve(std::max(rounded, V.capacity() + V.capacity() / 2));
}

bool IsBlankOrTab(char C) { return C == ' ' || C == '\t'; }

// Whether Pos is the second byte of a double-byte character of a row starting at Start.
bool IsTrailByte(std::string_view S, int Start, int Pos, TCodeLeadByteTest IsLeadByte) {
  int q = Start;
  while (q < Pos) q += IsLeadByte(static_cast<unsigned char>(S[q])) ? 2 : 1;
  return q > Pos;
}

}  // namespace

TCodeWordWrapPlugin::TCodeWordWrapPlugin(ICodeWordWrapHost* AOwner) : owner_(AOwner) {
  if (!owner_) throw ECodeWordWrapError("TCodeWordWrapPlugin must be owned by TCustomCodeEdit");
  RebuildAll();
}

int TCodeWordWrapPlugin::RowCount() const {
  return lineOffsets_.empty() ? 0 : lineOffsets_.back();
}

int TCodeWordWrapPlugin::RowLength(int ARow) const {
  if (ARow < 1 || ARow > RowCount()) return 0;
  return rowLengths_[ARow - 1];
}

int TCodeWordWrapPlugin::LineIndexOfRow(int ARow) const {
  return static_cast<int>(std::lower_bound(lineOffsets_.begin(), lineOffsets_.end(), ARow) -
                          lineOffsets_.begin());
}

TDisplayCoord TCodeWordWrapPlugin::BufferToDisplayPos(const TBufferCoord& APos) const {
  assert(APos.Char >= 1 && APos.Line >= 1);
  if (APos.Line > LineCount())
    return {APos.Char, RowCount() + (APos.Line - LineCount())};
  const int lastRow = lineOffsets_[APos.Line - 1] - 1;
  int row = FirstRowIndex(APos.Line - 1);
  int column = APos.Char;
  while (row < lastRow && column > rowLengths_[row]) {
    column -= rowLengths_[row];
    ++row;
  }
  return {column, row + 1};
}

TBufferCoord TCodeWordWrapPlugin::DisplayToBufferPos(const TDisplayCoord& APos) const {
  assert(APos.Column >= 1 && APos.Row >= 1);
  if (APos.Row > RowCount())
    return {APos.Column, LineCount() + (APos.Row - RowCount())};
  const int line = LineIndexOfRow(APos.Row);
  const int row = APos.Row - 1;
  const bool lastRowOfLine = row == lineOffsets_[line] - 1;
  // Beyond the text of a row that is not its line's last the caret belongs to the next row.
  const int limit = lastRowOfLine ? maxRowLength_ + 1 : rowLengths_[row] + 1;
  int column = std::min(APos.Column, limit);
  for (int r = FirstRowIndex(line); r < row; ++r) column += rowLengths_[r];
  return {column, line + 1};
}

int TCodeWordWrapPlugin::InsertLineRows(int AIndex, int ACount) {
  if (maxRowLength_ == 0 || ACount < 1) return 0;
  assert(AIndex >= 0 && AIndex <= LineCount());
  return ReplaceLineRows(AIndex, 0, ACount);
}

int TCodeWordWrapPlugin::DeleteLineRows(int AIndex, int ACount) {
  if (ACount < 1 || AIndex >= LineCount()) return 0;
  assert(AIndex >= 0);
  return ReplaceLineRows(AIndex, std::min(ACount, LineCount() - AIndex), 0);
}

int TCodeWordWrapPlugin::RewrapLines(int AIndex, int ACount) {
  if (ACount < 1 || AIndex >= LineCount()) return 0;
  assert(AIndex >= 0);
  const int count = std::min(ACount, LineCount() - AIndex);
  return ReplaceLineRows(AIndex, count, count);
}

void TCodeWordWrapPlugin::RebuildAll() {
  charsInWindow_ = std::max(owner_->CharsInWindow(), 0);
  maxRowLength_ = std::min(charsInWindow_, MaxRowColumns);
  minRowLength_ = std::max(maxRowLength_ - charsInWindow_ / 3, 1);
  breakChars_ = ~owner_->IdentChars();
  isLeadByte_ = SystemLeadByteTest();
  lineOffsets_.clear();
  rowLengths_.clear();
  if (maxRowLength_ > 0) ReplaceLineRows(0, 0, owner_->Lines().Count());
}

void TCodeWordWrapPlugin::WidthChanged() {
  // The minimum row length follows chars in window also beyond the 255-column limit.
  if (owner_->CharsInWindow() != charsInWindow_) RebuildAll();
}

int TCodeWordWrapPlugin::ReplaceLineRows(int AIndex, int AOldCount, int ANewCount) {
  // Lines come one at a time while a text loads or is typed: their rows are gathered in
  // storage kept from call to call, given back when a large run made it large.
  struct TScratch {
    std::vector<uint8_t>& rows;
    std::vector<int32_t>& rowsPerLine;
    ~TScratch() {
      if (rows.capacity() > 4096) std::vector<uint8_t>().swap(rows);
      if (rowsPerLine.capacity() > 4096) std::vector<int32_t>().swap(rowsPerLine);
    }
  } scratch{newRows_, newRowsPerLine_};
  std::vector<uint8_t>& rows = newRows_;
  std::vector<int32_t>& rowsPerLine = newRowsPerLine_;
  rows.clear();
  rowsPerLine.resize(ANewCount);
  for (int i = 0; i < ANewCount; ++i) rowsPerLine[i] = WrapLine(AIndex + i, rows);

  const int firstRow = FirstRowIndex(AIndex);
  const int oldEndRow = AOldCount == 0 ? firstRow : lineOffsets_[AIndex + AOldCount - 1];
  const int oldRows = oldEndRow - firstRow;
  const int newRows = static_cast<int>(rows.size());
  const int delta = newRows - oldRows;

  // Rows: resize the old range in place, then copy the new rows over it.
  if (delta > 0) {
    GrowFor(rowLengths_, rowLengths_.size() + delta, RowCapacityStep);
    rowLengths_.insert(rowLengths_.begin() + firstRow + oldRows, delta, 0);
  } else if (delta < 0) {
    rowLengths_.erase(rowLengths_.begin() + firstRow + newRows,
                      rowLengths_.begin() + firstRow + oldRows);
  }
  std::copy(rows.begin(), rows.end(), rowLengths_.begin() + firstRow);

  // Line offsets: the same for the entries, then running totals and the shift behind.
  if (ANewCount > AOldCount) {
    GrowFor(lineOffsets_, lineOffsets_.size() + (ANewCount - AOldCount), LineCapacityStep);
    lineOffsets_.insert(lineOffsets_.begin() + AIndex + AOldCount, ANewCount - AOldCount, 0);
  } else if (ANewCount < AOldCount) {
    lineOffsets_.erase(lineOffsets_.begin() + AIndex + ANewCount,
                       lineOffsets_.begin() + AIndex + AOldCount);
  }
  int32_t total = firstRow;
  for (int i = 0; i < ANewCount; ++i) lineOffsets_[AIndex + i] = total += rowsPerLine[i];
  if (delta != 0)
    for (size_t i = AIndex + ANewCount; i < lineOffsets_.size(); ++i) lineOffsets_[i] += delta;
  return delta;
}

int TCodeWordWrapPlugin::WrapLine(int AIndex, std::vector<uint8_t>& Rows) const {
  // A line that fits is one row: its cached length does, without expanding its text.
  const int length = owner_->Lines().GetExpandedStringLength(AIndex);
  if (length <= maxRowLength_) {
    Rows.push_back(static_cast<uint8_t>(length));
    return 1;
  }
  const std::string_view s = owner_->Lines().ExpandedView(AIndex, expanded_);
  const int end = static_cast<int>(s.size());
  int start = 0;
  int count = 0;
  while (start + maxRowLength_ < end) {
    const int p = NextRowEnd(s, start);
    Rows.push_back(static_cast<uint8_t>(p - start));
    ++count;
    start = p;
  }
  // The rest is the last row; an empty line still has one, a full last row gets no empty one.
  if (end > start || count == 0) {
    Rows.push_back(static_cast<uint8_t>(end - start));
    ++count;
  }
  return count;
}

int TCodeWordWrapPlugin::NextRowEnd(std::string_view S, int Start) const {
  const int end = static_cast<int>(S.size());
  int p = Start + maxRowLength_;
  if (IsBlankOrTab(S[p])) {
    // White space stays at the end of the upper row.
    while (p < end && IsBlankOrTab(S[p])) ++p;
  } else {
    for (int q = p - 1; q - Start > minRowLength_; --q) {
      if (breakChars_[static_cast<unsigned char>(S[q])]) {
        p = q + 1;
        break;
      }
    }
  }
  if (p - Start > MaxRowColumns) {
    p = Start + MaxRowColumns;
    // Keep a tab's columns together, back to the last tab stop in reach. With no tab stop
    // inside the row (a tab wider than a row) the tab is cut: every row needs a column.
    const int tabWidth = std::max(owner_->Lines().TabWidth(), 1);
    int floor = Start + MaxRowColumns - MaxRowColumns % tabWidth;
    if (floor == Start) floor = Start + MaxRowColumns;
    while (p > floor && S[p] == '\t' && S[p - 1] == '\t') --p;
  }
  if (isLeadByte_ && IsTrailByte(S, Start, p, isLeadByte_)) p += p - 1 > Start ? -1 : 1;
  return p;
}
