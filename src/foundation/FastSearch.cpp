#include "foundation/FastSearch.h"
#include <algorithm>
#include "rtl/Exception.h"
#include "rtl/SysUtils.h"

namespace {

struct TUpperTable {
  unsigned char Bytes[256];
  TUpperTable() {
    std::string all(256, '\0');
    for (int b = 0; b < 256; ++b) all[b] = static_cast<char>(b);
    const std::string upper = AnsiUpperCase(all);
    for (int b = 0; b < 256; ++b) Bytes[b] = static_cast<unsigned char>(upper[b]);
  }
};

inline unsigned char Byte(const char* P, int I) { return static_cast<unsigned char>(P[I]); }

struct TExact {
  unsigned char operator()(unsigned char C) const { return C; }
};
struct TUpper {
  const unsigned char* Table = UpperCaseTable();
  unsigned char operator()(unsigned char C) const { return Table[C]; }
};

template <class TMap>
void FillSkipTable(const char* Pattern, int PatternLen, TSkipTable& Table, TMap Map) {
  if (PatternLen < 1) throw Exception("BufferLen is 0");
  for (uint32_t& entry : Table) entry = static_cast<uint32_t>(PatternLen);
  for (int i = 0; i < PatternLen - 1; ++i)
    Table[Map(Byte(Pattern, i))] = static_cast<uint32_t>(PatternLen - 1 - i);
}

// A start below 1 is a caller's fault; it stops the search in every build.
void CheckStartPos(int StartPos) {
  if (StartPos < 1) throw ERangeError("Fast search: start position " + std::to_string(StartPos) +
                                      " is below 1");
}

// Boyer-Moore-Horspool with a skip table already filled for Pattern through the same Map.
template <class TMap>
int ForwardWithTable(const char* Source, const char* Pattern, int SourceLen, int StartPos,
                     int PatternLen, const TSkipTable& Skip, TMap Map) {
  // 0-based index of the window's last byte; 64-bit so that no sum can wrap
  int64_t last = int64_t(StartPos) - 1 + PatternLen - 1;
  while (last < SourceLen) {
    int k = 0;
    while (k < PatternLen &&
           Map(Byte(Source, static_cast<int>(last - k))) == Map(Byte(Pattern, PatternLen - 1 - k)))
      ++k;
    if (k == PatternLen) return static_cast<int>(last - PatternLen + 2);
    last += Skip[Map(Byte(Source, static_cast<int>(last)))];
  }
  return 0;
}

template <class TMap>
int Forward(const char* Source, const char* Pattern, int SourceLen, int StartPos, int PatternLen,
            TMap Map) {
  CheckStartPos(StartPos);
  if (PatternLen < 1 || PatternLen > SourceLen) return 0;
  TSkipTable skip;
  FillSkipTable(Pattern, PatternLen, skip, Map);
  return ForwardWithTable(Source, Pattern, SourceLen, StartPos, PatternLen, skip, Map);
}

template <class TMap>
int Backward(const char* Source, const char* Pattern, int SourceLen, int StartPos,
             int PatternLen, TMap Map) {
  if (PatternLen < 1 || PatternLen > SourceLen) return 0;
  const int lastPossible = SourceLen - PatternLen + 1;
  if (StartPos == 0 || StartPos > lastPossible) StartPos = lastPossible;
  const unsigned char first = Map(Byte(Pattern, 0));
  for (int pos = StartPos; pos >= 1; --pos) {
    if (Map(Byte(Source, pos - 1)) != first) continue;
    int k = 1;
    while (k < PatternLen && Map(Byte(Source, pos - 1 + k)) == Map(Byte(Pattern, k))) ++k;
    if (k == PatternLen) return pos;
  }
  return 0;
}

}  // namespace

const unsigned char* UpperCaseTable() {
  static const TUpperTable table;
  return table.Bytes;
}

void MakeSkipTable(const char* Pattern, int PatternLen, TSkipTable& Table) {
  FillSkipTable(Pattern, PatternLen, Table, TExact());
}

void MakeSkipTableNoCase(const char* Pattern, int PatternLen, TSkipTable& Table) {
  FillSkipTable(Pattern, PatternLen, Table, TUpper());
}

int FastPos(const char* Source, const char* Pattern, int SourceLen, int StartPos, int PatternLen) {
  return Forward(Source, Pattern, SourceLen, StartPos, PatternLen, TExact());
}

int FastPosNoCase(const char* Source, const char* Pattern, int SourceLen, int StartPos,
                  int PatternLen) {
  return Forward(Source, Pattern, SourceLen, StartPos, PatternLen, TUpper());
}

int FastPosBack(const char* Source, const char* Pattern, int SourceLen, int StartPos,
                int PatternLen) {
  return Backward(Source, Pattern, SourceLen, StartPos, PatternLen, TExact());
}

int FastPosBackNoCase(const char* Source, const char* Pattern, int SourceLen, int StartPos,
                      int PatternLen) {
  return Backward(Source, Pattern, SourceLen, StartPos, PatternLen, TUpper());
}

int FastFind(const std::string& Pattern, const std::string& Source, bool CaseSensitive,
             bool Forward, int StartPos) {
  const int sourceLen = static_cast<int>(Source.size());
  const int patternLen = static_cast<int>(Pattern.size());
  if (Forward) {
    return CaseSensitive
               ? FastPos(Source.data(), Pattern.data(), sourceLen, StartPos, patternLen)
               : FastPosNoCase(Source.data(), Pattern.data(), sourceLen, StartPos, patternLen);
  }
  return CaseSensitive
             ? FastPosBack(Source.data(), Pattern.data(), sourceLen, StartPos, patternLen)
             : FastPosBackNoCase(Source.data(), Pattern.data(), sourceLen, StartPos, patternLen);
}

namespace {

// The first buffer: the source length, or room for every byte of the source being a hit when
// the replacement is longer, at most ten times the source. In 64 bits, as the product of two
// lengths may not fit in 32.
size_t InitialReplaceCapacity(size_t SourceLen, size_t FindLen, size_t ReplacementLen) {
  if (ReplacementLen <= FindLen) return SourceLen;
  const uint64_t scaled = uint64_t(SourceLen) * ReplacementLen / FindLen;
  return static_cast<size_t>(std::min(scaled, uint64_t(SourceLen) * 10));
}

// Occurrences of one pattern from left to right, with the skip table built once.
template <class TMap>
class TOccurrences {
public:
  TOccurrences(const std::string& Source, const std::string& Find, TMap Map)
      : source_(Source), find_(Find), map_(Map) {
    FillSkipTable(Find.data(), static_cast<int>(Find.size()), skip_, Map);
  }
  // 1-based position of the next occurrence at or after From, 0 when none.
  int Next(int From) const {
    return ForwardWithTable(source_.data(), find_.data(), static_cast<int>(source_.size()), From,
                            static_cast<int>(find_.size()), skip_, map_);
  }

private:
  const std::string& source_;
  const std::string& find_;
  TMap map_;
  TSkipTable skip_;
};

template <class TMap>
std::string ReplaceOccurrences(const std::string& Source, const std::string& Find,
                               const std::string& Replacement, bool All, TMap Map) {
  const TOccurrences<TMap> occurrences(Source, Find, Map);
  const int sourceLen = static_cast<int>(Source.size());
  const int findLen = static_cast<int>(Find.size());
  std::string result;
  result.reserve(InitialReplaceCapacity(Source.size(), Find.size(), Replacement.size()));
  int from = 1;  // 1-based start of the text not yet copied
  while (sourceLen - from + 1 >= findLen) {
    const int hit = occurrences.Next(from);
    if (hit == 0) break;
    const size_t needed = result.size() + size_t(hit - from) + Replacement.size();
    if (needed > result.capacity()) result.reserve(needed + needed / 2);
    result.append(Source, from - 1, hit - from);
    result += Replacement;
    from = hit + findLen;
    if (!All) break;
  }
  result.append(Source, from - 1, std::string::npos);
  result.shrink_to_fit();
  return result;
}

}  // namespace

std::string FastReplace(const std::string& Source, const std::string& Find,
                        const std::string& Replacement, TFastReplaceFlags Flags) {
  if (Source.empty() || Find.empty() || Find.size() > Source.size()) return Source;
  const bool all = Flags.Contains(TFastReplaceFlag::ReplaceAll);
  // Comparing upper-case forms byte by byte searches as upper-cased copies would, while the
  // text copied into the result stays as given.
  if (Flags.Contains(TFastReplaceFlag::IgnoreCase))
    return ReplaceOccurrences(Source, Find, Replacement, all, TUpper());
  return ReplaceOccurrences(Source, Find, Replacement, all, TExact());
}
