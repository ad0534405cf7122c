// Maps buffer lines to display rows while the editor wraps its lines at the window width.
#pragma once
#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>
#include "editor/CodeEditMiscProcs.h"
#include "editor/CodeEditTypes.h"
#include "rtl/Exception.h"

class TCodeEditStringList;

// Raised when a word-wrap plug-in is made without a control to serve.
class ECodeWordWrapError : public Exception {
public:
  using Exception::Exception;
};

// What the word-wrap plug-in reads from the control it serves. TCustomCodeEdit's members of
// the same names implement it; the lines' own tab width expands the tabs.
class ICodeWordWrapHost {
public:
  virtual TCodeEditStringList& Lines() const = 0;
  virtual int CharsInWindow() const = 0;
  virtual std::bitset<256> IdentChars() const = 0;

protected:
  ~ICodeWordWrapHost() = default;
};

// The control's view of the line-to-row mapping while WordWrap is on. Lines, rows and
// columns are 1-based and a position below 1 is a programming error; a buffer position's
// Char is its display column with tabs expanded. AIndex of the line notices is the buffer's
// 0-based line index, as its change events report it, and the lines are already changed.
class ICodeEditBufferPlugin {
public:
  virtual ~ICodeEditBufferPlugin() = default;
  virtual TDisplayCoord BufferToDisplayPos(const TBufferCoord& APos) const = 0;
  virtual TBufferCoord DisplayToBufferPos(const TDisplayCoord& APos) const = 0;
  virtual int RowCount() const = 0;
  // 0 outside 1..RowCount.
  virtual int RowLength(int ARow) const = 0;
  // Each returns the change in the number of rows (negative for removed rows).
  virtual int InsertLineRows(int AIndex, int ACount) = 0;
  virtual int DeleteLineRows(int AIndex, int ACount) = 0;
  virtual int RewrapLines(int AIndex, int ACount) = 0;
  // Takes the width and the word characters from the control anew.
  virtual void RebuildAll() = 0;
  // Rebuilds only when the control's chars in window changed since the last rebuild.
  virtual void WidthChanged() = 0;
};

// Rows are measured in display columns (tabs expanded); a row holds at most 255 of them.
class TCodeWordWrapPlugin : public ICodeEditBufferPlugin {
public:
  // Raises ECodeWordWrapError without an owner; rebuilds all rows.
  explicit TCodeWordWrapPlugin(ICodeWordWrapHost* AOwner);

  TDisplayCoord BufferToDisplayPos(const TBufferCoord& APos) const override;
  TBufferCoord DisplayToBufferPos(const TDisplayCoord& APos) const override;
  int RowCount() const override;
  int RowLength(int ARow) const override;
  int InsertLineRows(int AIndex, int ACount) override;
  int DeleteLineRows(int AIndex, int ACount) override;
  int RewrapLines(int AIndex, int ACount) override;
  void RebuildAll() override;
  void WidthChanged() override;

  int LineCount() const { return static_cast<int>(lineOffsets_.size()); }
  int MaxRowLength() const { return maxRowLength_; }
  int MinRowLength() const { return minRowLength_; }

private:
  // Appends the row lengths of buffer line AIndex (0-based) to Rows; returns how many.
  int WrapLine(int AIndex, std::vector<uint8_t>& Rows) const;
  // Where the row starting at Start (0-based) of the expanded line S ends; S continues
  // beyond the maximum row length.
  int NextRowEnd(std::string_view S, int Start) const;
  // Replaces the rows of the covered lines [AIndex, AIndex + AOldCount) by those of the
  // buffer lines [AIndex, AIndex + ANewCount); returns the change in rows.
  int ReplaceLineRows(int AIndex, int AOldCount, int ANewCount);
  // First row (0-based) of covered line AIndex (0-based).
  int FirstRowIndex(int AIndex) const { return AIndex == 0 ? 0 : lineOffsets_[AIndex - 1]; }
  // The covered line (0-based) holding row ARow (1-based, within the row count).
  int LineIndexOfRow(int ARow) const;

  ICodeWordWrapHost* owner_;
  std::vector<int32_t> lineOffsets_;  // running totals of rows per line
  std::vector<uint8_t> rowLengths_;   // display columns per row
  int charsInWindow_ = 0;             // the owner's at the last rebuild
  int maxRowLength_ = 0;
  int minRowLength_ = 0;
  std::bitset<256> breakChars_;
  TCodeLeadByteTest isLeadByte_ = nullptr;
  mutable std::string expanded_;  // a line with tabs being wrapped; its storage serves every line
  std::vector<uint8_t> newRows_;          // rows of the lines being replaced
  std::vector<int32_t> newRowsPerLine_;   // and how many each line has
};
