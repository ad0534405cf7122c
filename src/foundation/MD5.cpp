#include "foundation/MD5.h"
#include <algorithm>
#include <cstring>
#include "foundation/fMain.h"

namespace {
inline uint32_t Rotl(uint32_t X, int N) { return (X << N) | (X >> (32 - N)); }

inline uint32_t Load32(const uint8_t* P) {
  uint32_t v;
  std::memcpy(&v, P, 4);  // the target is little-endian, like the algorithm
  return v;
}

#define MD5_STEP(f, a, b, c, d, x, t, s) a = b + Rotl(a + f(b, c, d) + x + t, s)
inline uint32_t F(uint32_t X, uint32_t Y, uint32_t Z) { return Z ^ (X & (Y ^ Z)); }
inline uint32_t G(uint32_t X, uint32_t Y, uint32_t Z) { return Y ^ (Z & (X ^ Y)); }
inline uint32_t H(uint32_t X, uint32_t Y, uint32_t Z) { return X ^ Y ^ Z; }
inline uint32_t I(uint32_t X, uint32_t Y, uint32_t Z) { return Y ^ (X | ~Z); }
}  // namespace

TMD5Context::TMD5Context() : state_{0x67452301u, 0xEFCDAB89u, 0x98BADCFEu, 0x10325476u} {}

void TMD5Context::Transform(const uint8_t* Block) {
  uint32_t x[16];
  for (int i = 0; i < 16; ++i) x[i] = Load32(Block + 4 * i);
  uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];

  MD5_STEP(F, a, b, c, d, x[0], 0xd76aa478, 7);   MD5_STEP(F, d, a, b, c, x[1], 0xe8c7b756, 12);
  MD5_STEP(F, c, d, a, b, x[2], 0x242070db, 17);  MD5_STEP(F, b, c, d, a, x[3], 0xc1bdceee, 22);
  MD5_STEP(F, a, b, c, d, x[4], 0xf57c0faf, 7);   MD5_STEP(F, d, a, b, c, x[5], 0x4787c62a, 12);
  MD5_STEP(F, c, d, a, b, x[6], 0xa8304613, 17);  MD5_STEP(F, b, c, d, a, x[7], 0xfd469501, 22);
  MD5_STEP(F, a, b, c, d, x[8], 0x698098d8, 7);   MD5_STEP(F, d, a, b, c, x[9], 0x8b44f7af, 12);
  MD5_STEP(F, c, d, a, b, x[10], 0xffff5bb1, 17); MD5_STEP(F, b, c, d, a, x[11], 0x895cd7be, 22);
  MD5_STEP(F, a, b, c, d, x[12], 0x6b901122, 7);  MD5_STEP(F, d, a, b, c, x[13], 0xfd987193, 12);
  MD5_STEP(F, c, d, a, b, x[14], 0xa679438e, 17); MD5_STEP(F, b, c, d, a, x[15], 0x49b40821, 22);

  MD5_STEP(G, a, b, c, d, x[1], 0xf61e2562, 5);   MD5_STEP(G, d, a, b, c, x[6], 0xc040b340, 9);
  MD5_STEP(G, c, d, a, b, x[11], 0x265e5a51, 14); MD5_STEP(G, b, c, d, a, x[0], 0xe9b6c7aa, 20);
  MD5_STEP(G, a, b, c, d, x[5], 0xd62f105d, 5);   MD5_STEP(G, d, a, b, c, x[10], 0x02441453, 9);
  MD5_STEP(G, c, d, a, b, x[15], 0xd8a1e681, 14); MD5_STEP(G, b, c, d, a, x[4], 0xe7d3fbc8, 20);
  MD5_STEP(G, a, b, c, d, x[9], 0x21e1cde6, 5);   MD5_STEP(G, d, a, b, c, x[14], 0xc33707d6, 9);
  MD5_STEP(G, c, d, a, b, x[3], 0xf4d50d87, 14);  MD5_STEP(G, b, c, d, a, x[8], 0x455a14ed, 20);
  MD5_STEP(G, a, b, c, d, x[13], 0xa9e3e905, 5);  MD5_STEP(G, d, a, b, c, x[2], 0xfcefa3f8, 9);
  MD5_STEP(G, c, d, a, b, x[7], 0x676f02d9, 14);  MD5_STEP(G, b, c, d, a, x[12], 0x8d2a4c8a, 20);

  MD5_STEP(H, a, b, c, d, x[5], 0xfffa3942, 4);   MD5_STEP(H, d, a, b, c, x[8], 0x8771f681, 11);
  MD5_STEP(H, c, d, a, b, x[11], 0x6d9d6122, 16); MD5_STEP(H, b, c, d, a, x[14], 0xfde5380c, 23);
  MD5_STEP(H, a, b, c, d, x[1], 0xa4beea44, 4);   MD5_STEP(H, d, a, b, c, x[4], 0x4bdecfa9, 11);
  MD5_STEP(H, c, d, a, b, x[7], 0xf6bb4b60, 16);  MD5_STEP(H, b, c, d, a, x[10], 0xbebfbc70, 23);
  MD5_STEP(H, a, b, c, d, x[13], 0x289b7ec6, 4);  MD5_STEP(H, d, a, b, c, x[0], 0xeaa127fa, 11);
  MD5_STEP(H, c, d, a, b, x[3], 0xd4ef3085, 16);  MD5_STEP(H, b, c, d, a, x[6], 0x04881d05, 23);
  MD5_STEP(H, a, b, c, d, x[9], 0xd9d4d039, 4);   MD5_STEP(H, d, a, b, c, x[12], 0xe6db99e5, 11);
  MD5_STEP(H, c, d, a, b, x[15], 0x1fa27cf8, 16); MD5_STEP(H, b, c, d, a, x[2], 0xc4ac5665, 23);

  MD5_STEP(I, a, b, c, d, x[0], 0xf4292244, 6);   MD5_STEP(I, d, a, b, c, x[7], 0x432aff97, 10);
  MD5_STEP(I, c, d, a, b, x[14], 0xab9423a7, 15); MD5_STEP(I, b, c, d, a, x[5], 0xfc93a039, 21);
  MD5_STEP(I, a, b, c, d, x[12], 0x655b59c3, 6);  MD5_STEP(I, d, a, b, c, x[3], 0x8f0ccc92, 10);
  MD5_STEP(I, c, d, a, b, x[10], 0xffeff47d, 15); MD5_STEP(I, b, c, d, a, x[1], 0x85845dd1, 21);
  MD5_STEP(I, a, b, c, d, x[8], 0x6fa87e4f, 6);   MD5_STEP(I, d, a, b, c, x[15], 0xfe2ce6e0, 10);
  MD5_STEP(I, c, d, a, b, x[6], 0xa3014314, 15);  MD5_STEP(I, b, c, d, a, x[13], 0x4e0811a1, 21);
  MD5_STEP(I, a, b, c, d, x[4], 0xf7537e82, 6);   MD5_STEP(I, d, a, b, c, x[11], 0xbd3af235, 10);
  MD5_STEP(I, c, d, a, b, x[2], 0x2ad7d2bb, 15);  MD5_STEP(I, b, c, d, a, x[9], 0xeb86d391, 21);

  state_[0] += a;
  state_[1] += b;
  state_[2] += c;
  state_[3] += d;
}
#undef MD5_STEP

void TMD5Context::Update(const void* Data, size_t Size) {
  const uint8_t* p = static_cast<const uint8_t*>(Data);
  size_t used = static_cast<size_t>(length_ % 64);
  length_ += Size;
  if (used > 0) {
    size_t take = std::min(Size, 64 - used);
    std::memcpy(buffer_ + used, p, take);
    p += take;
    Size -= take;
    if (used + take < 64) return;
    Transform(buffer_);
  }
  for (; Size >= 64; Size -= 64, p += 64) Transform(p);
  std::memcpy(buffer_, p, Size);
}

TMD5Digest TMD5Context::Final() {
  uint64_t bits = length_ * 8;
  uint8_t pad[72] = {0x80};
  size_t used = static_cast<size_t>(length_ % 64);
  Update(pad, used < 56 ? 56 - used : 120 - used);
  uint8_t lengthBytes[8];
  for (int i = 0; i < 8; ++i) lengthBytes[i] = static_cast<uint8_t>(bits >> (8 * i));
  Update(lengthBytes, 8);
  TMD5Digest digest;
  for (int i = 0; i < 16; ++i) digest[i] = static_cast<uint8_t>(state_[i / 4] >> (8 * (i % 4)));
  return digest;
}

TMD5Digest MD5String(const std::string& Text) {
  TMD5Context context;
  context.Update(Text.data(), Text.size());
  return context.Final();
}

std::optional<TMD5Digest> MD5File(const std::string& FileName) {
  TMD5Context context;
  if (!ReadFileInChunks(FileName, [&](const uint8_t* Data, size_t Size) { context.Update(Data, Size); }))
    return std::nullopt;
  return context.Final();
}

std::string MD5DigestToStr(const TMD5Digest& Digest) {
  return StrToHex(std::string(Digest.begin(), Digest.end()));
}
