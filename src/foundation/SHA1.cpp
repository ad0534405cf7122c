#include "foundation/SHA1.h"
#include <cpuid.h>
#include <immintrin.h>
#include <algorithm>
#include <cstring>
#include "foundation/fMain.h"

namespace {
inline uint32_t Rotl(uint32_t X, int N) { return (X << N) | (X >> (32 - N)); }

inline uint32_t LoadBE32(const uint8_t* P) {
  return (uint32_t(P[0]) << 24) | (uint32_t(P[1]) << 16) | (uint32_t(P[2]) << 8) | P[3];
}

// One block: the 80-word schedule is kept as a rolling window of 16 words.
void TransformBlock(uint32_t* State, const uint8_t* Block) {
  uint32_t w[16];
  for (int i = 0; i < 16; ++i) w[i] = LoadBE32(Block + 4 * i);
  uint32_t a = State[0], b = State[1], c = State[2], d = State[3], e = State[4];
  auto next = [&w](int t) {
    uint32_t v = Rotl(w[(t + 13) & 15] ^ w[(t + 8) & 15] ^ w[(t + 2) & 15] ^ w[t & 15], 1);
    w[t & 15] = v;
    return v;
  };
  auto round = [&](uint32_t f, uint32_t k, uint32_t word) {
    uint32_t t = Rotl(a, 5) + f + e + k + word;
    e = d;
    d = c;
    c = Rotl(b, 30);
    b = a;
    a = t;
  };
  for (int t = 0; t < 16; ++t) round(d ^ (b & (c ^ d)), 0x5A827999u, w[t]);
  for (int t = 16; t < 20; ++t) round(d ^ (b & (c ^ d)), 0x5A827999u, next(t));
  for (int t = 20; t < 40; ++t) round(b ^ c ^ d, 0x6ED9EBA1u, next(t));
  for (int t = 40; t < 60; ++t) round((b & c) | (d & (b | c)), 0x8F1BBCDCu, next(t));
  for (int t = 60; t < 80; ++t) round(b ^ c ^ d, 0xCA62C1D6u, next(t));
  State[0] += a;
  State[1] += b;
  State[2] += c;
  State[3] += d;
  State[4] += e;
}

// The same blocks with the processor's SHA instructions: four rounds per instruction.
__attribute__((target("sha,ssse3,sse4.1"))) void TransformBlocksSha(uint32_t* State,
                                                                   const uint8_t* Blocks,
                                                                   size_t Count) {
  const __m128i byteSwap = _mm_set_epi64x(0x0001020304050607LL, 0x08090A0B0C0D0E0FLL);
  __m128i abcd = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(State)), 0x1B);
  __m128i e0 = _mm_set_epi32(static_cast<int>(State[4]), 0, 0, 0);
  for (; Count > 0; --Count, Blocks += 64) {
    const __m128i abcdSaved = abcd, eSaved = e0;
    __m128i w[4];
    for (int i = 0; i < 4; ++i)
      w[i] = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(Blocks + 16 * i)), byteSwap);
    __m128i e = _mm_add_epi32(e0, w[0]);
    __m128i previous = abcd;
    abcd = _mm_sha1rnds4_epu32(abcd, e, 0);
#pragma GCC unroll 19
    for (int group = 1; group < 20; ++group) {
      if (group >= 4) {
        __m128i& next = w[group % 4];  // holds the words of four groups back
        next = _mm_sha1msg1_epu32(next, w[(group + 1) % 4]);
        next = _mm_sha1msg2_epu32(_mm_xor_si128(next, w[(group + 2) % 4]), w[(group + 3) % 4]);
      }
      e = _mm_sha1nexte_epu32(previous, w[group % 4]);
      previous = abcd;
      switch (group / 5) {
        case 0: abcd = _mm_sha1rnds4_epu32(abcd, e, 0); break;
        case 1: abcd = _mm_sha1rnds4_epu32(abcd, e, 1); break;
        case 2: abcd = _mm_sha1rnds4_epu32(abcd, e, 2); break;
        default: abcd = _mm_sha1rnds4_epu32(abcd, e, 3); break;
      }
    }
    e0 = _mm_sha1nexte_epu32(previous, eSaved);
    abcd = _mm_add_epi32(abcd, abcdSaved);
  }
  _mm_storeu_si128(reinterpret_cast<__m128i*>(State), _mm_shuffle_epi32(abcd, 0x1B));
  State[4] = static_cast<uint32_t>(_mm_extract_epi32(e0, 3));
}

bool ProcessorHasSha() {
  static const bool has = [] {
    unsigned a, b, c, d;
    if (!__get_cpuid_count(7, 0, &a, &b, &c, &d) || !(b & bit_SHA)) return false;
    return __get_cpuid(1, &a, &b, &c, &d) && (c & bit_SSE4_1) && (c & bit_SSSE3);
  }();
  return has;
}
}  // namespace

TSHA1Context::TSHA1Context(TSHA1Engine Engine)
    : hardware_(Engine == TSHA1Engine::Fastest && ProcessorHasSha()),
      state_{0x67452301u, 0xEFCDAB89u, 0x98BADCFEu, 0x10325476u, 0xC3D2E1F0u} {}

void TSHA1Context::Transform(const uint8_t* Blocks, size_t Count) {
  if (hardware_) {
    TransformBlocksSha(state_, Blocks, Count);
    return;
  }
  for (size_t i = 0; i < Count; ++i) TransformBlock(state_, Blocks + 64 * i);
}

void TSHA1Context::Update(const void* Data, size_t Size) {
  const uint8_t* p = static_cast<const uint8_t*>(Data);
  size_t used = static_cast<size_t>(length_ % 64);
  length_ += Size;
  if (used > 0) {
    size_t take = std::min(Size, 64 - used);
    std::memcpy(buffer_ + used, p, take);
    p += take;
    Size -= take;
    if (used + take < 64) return;
    Transform(buffer_, 1);
  }
  Transform(p, Size / 64);
  p += Size / 64 * 64;
  std::memcpy(buffer_, p, Size % 64);
}

TSHA1Digest TSHA1Context::Final() {
  uint64_t bits = length_ * 8;
  uint8_t pad[72] = {0x80};
  size_t used = static_cast<size_t>(length_ % 64);
  Update(pad, used < 56 ? 56 - used : 120 - used);
  uint8_t lengthBytes[8];
  for (int i = 0; i < 8; ++i) lengthBytes[i] = static_cast<uint8_t>(bits >> (56 - 8 * i));
  Update(lengthBytes, 8);
  TSHA1Digest digest;
  for (int i = 0; i < 20; ++i) digest[i] = static_cast<uint8_t>(state_[i / 4] >> (24 - 8 * (i % 4)));
  return digest;
}

TSHA1Digest SHA1String(const std::string& Text) {
  TSHA1Context context;
  context.Update(Text.data(), Text.size());
  return context.Final();
}

std::optional<TSHA1Digest> SHA1File(const std::string& FileName) {
  TSHA1Context context;
  if (!ReadFileInChunks(FileName, [&](const uint8_t* Data, size_t Size) { context.Update(Data, Size); }))
    return std::nullopt;
  return context.Final();
}

std::string SHA1DigestToStr(const TSHA1Digest& Digest) {
  return StrToHex(std::string(Digest.begin(), Digest.end()));
}
