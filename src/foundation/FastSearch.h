// Substring search and replace-all over large 8-bit texts: Boyer-Moore-Horspool forward,
// byte comparison backward, case-insensitive through the locale's upper-case table.
#pragma once
#include <cstdint>
#include <string>
#include "rtl/Set.h"

// Entry b is the system locale's upper-case form of byte b; built on first use.
const unsigned char* UpperCaseTable();

using TSkipTable = uint32_t[256];
// Fills Table for Pattern; a PatternLen below 1 raises Exception("BufferLen is 0").
void MakeSkipTable(const char* Pattern, int PatternLen, TSkipTable& Table);
// The same indexed by the upper-case form of each pattern byte.
void MakeSkipTableNoCase(const char* Pattern, int PatternLen, TSkipTable& Table);

// 1-based position of the first occurrence at or after StartPos, 0 when none or when
// PatternLen is below 1 or above SourceLen. Zero bytes are ordinary bytes. A StartPos below 1
// is a caller error: ERangeError.
int FastPos(const char* Source, const char* Pattern, int SourceLen, int StartPos, int PatternLen);
int FastPosNoCase(const char* Source, const char* Pattern, int SourceLen, int StartPos,
                  int PatternLen);
// 1-based position of the last occurrence beginning at or before StartPos; a StartPos of 0,
// or one where the pattern would not fit, means the last possible position; a negative one
// finds nothing.
int FastPosBack(const char* Source, const char* Pattern, int SourceLen, int StartPos,
                int PatternLen);
int FastPosBackNoCase(const char* Source, const char* Pattern, int SourceLen, int StartPos,
                      int PatternLen);

// One of the four searches above over the strings' lengths.
int FastFind(const std::string& Pattern, const std::string& Source, bool CaseSensitive,
             bool Forward, int StartPos);

enum class TFastReplaceFlag { ReplaceAll, IgnoreCase };
using TFastReplaceFlags = TSet<TFastReplaceFlag>;

// Source with the first (or, with ReplaceAll, every) occurrence of Find replaced; the text
// around the occurrences keeps its case.
std::string FastReplace(const std::string& Source, const std::string& Find,
                        const std::string& Replacement, TFastReplaceFlags Flags);
