// Text positions of the editor: buffer coordinates (bytes of a line) and display coordinates
// (columns after tab expansion and word wrap), both 1-based.
#pragma once
#include <cstdint>

struct TBufferCoord {
  int32_t Char = 0;
  int32_t Line = 0;
  constexpr bool operator==(const TBufferCoord&) const = default;
  // Line first, then Char.
  constexpr bool operator<(const TBufferCoord& o) const {
    return Line < o.Line || (Line == o.Line && Char < o.Char);
  }
  constexpr bool operator>(const TBufferCoord& o) const { return o < *this; }
  constexpr bool operator<=(const TBufferCoord& o) const { return !(o < *this); }
  constexpr bool operator>=(const TBufferCoord& o) const { return !(*this < o); }
};

struct TDisplayCoord {
  int32_t Column = 0;
  int32_t Row = 0;
  constexpr bool operator==(const TDisplayCoord&) const = default;
};

constexpr TBufferCoord BufferCoord(int32_t AChar, int32_t ALine) { return {AChar, ALine}; }
constexpr TDisplayCoord DisplayCoord(int32_t AColumn, int32_t ARow) { return {AColumn, ARow}; }
