// Reads text files into the program's own form (ANSI code page, CR LF) and writes them back
// in a chosen encoding and line-break format.
#pragma once
#include <cstdint>
#include <string>

// Encoding of a file. -1: as a reader argument "detect from the byte-order mark", as a menu
// choice "back to the format read"; -2: menu only, refresh. 2..7 name nothing; the numbers
// are fixed (tool-bar images are chosen by them).
using TFileFormat = int32_t;
constexpr TFileFormat ffAnsi = 0;
constexpr TFileFormat ffUtf8 = 1;      // EF BB BF in front
constexpr TFileFormat ffUtf16LE = 8;   // read only; saved as ANSI
constexpr TFileFormat ffUtf16BE = 9;   // read only; saved as ANSI
constexpr TFileFormat ffBinary = 10;   // holds a byte 0x00..0x08; saved as ANSI

// Bytes between lines. -1: none found (reader) or back to the format read (menu); -2: refresh.
using TLineBreakFormat = int32_t;
constexpr TLineBreakFormat lbfWindows = 0;    // CR LF
constexpr TLineBreakFormat lbfUnix = 1;       // LF
constexpr TLineBreakFormat lbfMacintosh = 2;  // CR
constexpr TLineBreakFormat lbfNetscape = 3;   // CR CR LF

// Reads the whole file, sharing it with everybody. A negative FileFormat asks for detection
// from a byte-order mark (UTF-8 and UTF-16 are converted to ANSI); 0 or more keeps the bytes.
// On return FileFormat holds what was found (ffBinary for a byte 0x00..0x08 unless UTF-16),
// LineBreak the first of CR CR LF, CR LF, LF, CR found (or -1), and Text the text with NUL
// bytes as blanks, CR CR LF turned into CR LF, and one extra break of the found kind at the
// end. False when a decoded character has no ANSI form and became "?". Raises EStreamError
// when the file cannot be opened; nothing but LineBreak changes then.
bool LoadTextFile(const std::string& FileName, TLineBreakFormat& LineBreak, TFileFormat& FileFormat,
                  std::string& Text);

// Writes Text (ANSI, CR LF) with the given breaks, as UTF-8 with a mark for ffUtf8 and as the
// bytes themselves otherwise. The new bytes go to a temporary file beside the target that
// then replaces it, keeping the target's attributes; so a failure leaves the old file whole.
// Returns false when writing fails; raises EStreamError when the file cannot be created or
// written to at all (read-only, in use).
bool SaveTextFile(const std::string& FileName, const std::string& Text, TLineBreakFormat LineBreak,
                  TFileFormat FileFormat);

// Test seam: reads and writes of LoadTextFile and SaveTextFile fail after the given numbers
// of bytes, as on a damaged medium or a full disk; a negative value means no limit.
void SetTextFileFaultsForTests(int64_t ReadLimit, int64_t WriteLimit);
