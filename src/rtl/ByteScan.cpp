#include "rtl/ByteScan.h"
#include <emmintrin.h>
#include <cstring>

// Every processor that runs the program's Windows versions has SSE2.
#define SSE2 __attribute__((target("sse2")))

namespace {

SSE2 unsigned BytesEqual(__m128i Bytes, char Value) {
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(Bytes, _mm_set1_epi8(Value))));
}

// The breaks among the first Size bytes of a run whose CRs and LFs are the bits of Cr and
// Lf; NextIsLf tells whether the byte after them is an LF.
int BreaksOf(unsigned Cr, unsigned Lf, int Size, bool NextIsLf) {
  const unsigned inside = (1u << Size) - 1;
  const unsigned followedByLf = (Lf >> 1) | (NextIsLf ? 1u << (Size - 1) : 0u);
  return __builtin_popcount((Lf | (Cr & ~followedByLf)) & inside);
}

// Notes the bytes of the sixteen at P in Found and makes its zero bytes blanks. PreviousCr
// holds the CR bits of the two bytes before them, and gets those of the last two.
SSE2 void ScanSixteen(char* P, unsigned& PreviousCr, TTextBytes& Found) {
  __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(P));
  const __m128i highestBinary = _mm_set1_epi8(8);
  if (_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(bytes, highestBinary), bytes))) {
    Found.Binary = true;
    const __m128i zero = _mm_cmpeq_epi8(bytes, _mm_setzero_si128());
    bytes = _mm_or_si128(bytes, _mm_and_si128(zero, _mm_set1_epi8(' ')));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(P), bytes);
  }
  const unsigned cr = BytesEqual(bytes, '\r'), lf = BytesEqual(bytes, '\n');
  // Bit i + 2 stands for byte i; bits 0 and 1 for the two bytes before.
  const unsigned crs = (cr << 2) | PreviousCr, crLf = (lf << 2) & (crs << 1);
  Found.Cr |= cr != 0;
  Found.Lf |= lf != 0;
  Found.CrLf |= crLf != 0;
  Found.CrCrLf |= (crLf & (crs << 2)) != 0;
  PreviousCr = cr >> 14;
}

}  // namespace

SSE2 const char* FindByteBelow14(const char* P, const char* End) {
  const __m128i highestWanted = _mm_set1_epi8(13);
  for (; End - P >= 16; P += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(P));
    const __m128i low = _mm_cmpeq_epi8(_mm_min_epu8(bytes, highestWanted), bytes);
    if (const int mask = _mm_movemask_epi8(low)) return P + __builtin_ctz(static_cast<unsigned>(mask));
  }
  while (P < End && static_cast<unsigned char>(*P) >= 14) ++P;
  return P;
}

SSE2 TLineBreakCount CountLineBreaks(const char* P, const char* End, bool StopAtZero) {
  TLineBreakCount count{0, End};
  for (; End - P >= 16; P += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(P));
    const unsigned cr = BytesEqual(bytes, '\r'), lf = BytesEqual(bytes, '\n');
    const unsigned zero = StopAtZero ? BytesEqual(bytes, '\0') : 0;
    if (zero) {
      const int size = __builtin_ctz(zero);
      count.Breaks += BreaksOf(cr, lf, size, false);
      count.End = P + size;
      return count;
    }
    if (cr | lf) count.Breaks += BreaksOf(cr, lf, 16, End - P > 16 && P[16] == '\n');
  }
  for (; P < End; ++P) {
    if (*P == '\0' && StopAtZero) {
      count.End = P;
      break;
    }
    count.Breaks += *P == '\n' || (*P == '\r' && (P + 1 == End || P[1] != '\n'));
  }
  return count;
}

void TTextByteScanner::ScanAvailable(char* Data, size_t Size) {
  for (; Size - scanned_ >= 16; scanned_ += 16) ScanSixteen(Data + scanned_, previousCr_, found_);
}

TTextBytes TTextByteScanner::Finish(char* Data, size_t Size) {
  ScanAvailable(Data, Size);
  // The rest goes through the same step, padded with letters.
  char rest[16];
  std::memset(rest, 'a', sizeof rest);
  const size_t size = Size - scanned_;
  std::memcpy(rest, Data + scanned_, size);
  ScanSixteen(rest, previousCr_, found_);
  std::memcpy(Data + scanned_, rest, size);
  scanned_ = Size;
  return found_;
}
