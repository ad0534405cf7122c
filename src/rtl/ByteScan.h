// Finding the control bytes of a large text (line breaks, tabs, zero bytes) sixteen bytes at
// a time: loading a file passes over its text several times, and a byte loop would cost more
// than reading it.
#pragma once
#include <cstddef>

// The first byte from P on whose value is below 14, or End.
const char* FindByteBelow14(const char* P, const char* End);

// The line breaks of a text: each LF, and each CR not followed by an LF, is one. With
// StopAtZero the text ends at its first zero byte, and End says where.
struct TLineBreakCount {
  size_t Breaks;
  const char* End;
};
TLineBreakCount CountLineBreaks(const char* P, const char* End, bool StopAtZero);

// What one pass over a file's text finds; its zero bytes become blanks on the way.
struct TTextBytes {
  bool Binary = false;  // a byte 0x00..0x08
  bool CrCrLf = false;
  bool CrLf = false;
  bool Lf = false;
  bool Cr = false;
};

// Scans a text while it grows (a file while it is read), so that each piece is scanned while
// it is still in the processor's cache.
class TTextByteScanner {
public:
  // Scans the whole sixteen-byte steps of Data[0, Size) not scanned yet.
  void ScanAvailable(char* Data, size_t Size);
  // Scans what is left of the complete text and gives what was found.
  TTextBytes Finish(char* Data, size_t Size);

private:
  size_t scanned_ = 0;
  unsigned previousCr_ = 0;  // the CR bits of the last two bytes scanned
  TTextBytes found_;
};
