#include "foundation/Base64.h"
#include <array>
#include <cstdint>
#include <cstring>

namespace {
const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Each character's 6-bit value; -1 outside the alphabet ("=" included).
const std::array<int8_t, 256>& DecodeTable() {
  static const std::array<int8_t, 256> table = [] {
    std::array<int8_t, 256> t;
    t.fill(-1);
    for (int i = 0; i < 64; ++i) t[static_cast<unsigned char>(kAlphabet[i])] = static_cast<int8_t>(i);
    return t;
  }();
  return table;
}

// The two characters of every 12-bit value, so each 3-byte group takes two look-ups.
const std::array<std::array<char, 2>, 4096>& PairTable() {
  static const std::array<std::array<char, 2>, 4096> table = [] {
    std::array<std::array<char, 2>, 4096> t;
    for (int i = 0; i < 4096; ++i) t[i] = {kAlphabet[i >> 6], kAlphabet[i & 63]};
    return t;
  }();
  return table;
}

// Number of "=" at the end that count as padding; -1 when an "=" stands anywhere else.
int PaddingCount(const std::string& Text) {
  size_t firstPad = Text.find('=');
  if (firstPad == std::string::npos) return 0;
  size_t pads = Text.size() - firstPad;
  if (pads > 2 || Text.find_first_not_of('=', firstPad) != std::string::npos) return -1;
  return static_cast<int>(pads);
}
}  // namespace

std::string Base64Encode(const std::string& Data) {
  const auto* p = reinterpret_cast<const unsigned char*>(Data.data());
  size_t n = Data.size();
  std::string r((n + 2) / 3 * 4, '=');
  char* out = r.data();
  const auto& pairs = PairTable();
  size_t i = 0;
  for (; i + 3 <= n; i += 3, out += 4) {
    uint32_t v = (uint32_t(p[i]) << 16) | (uint32_t(p[i + 1]) << 8) | p[i + 2];
    std::memcpy(out, pairs[v >> 12].data(), 2);
    std::memcpy(out + 2, pairs[v & 4095].data(), 2);
  }
  if (n - i == 1) {
    out[0] = kAlphabet[p[i] >> 2];
    out[1] = kAlphabet[(p[i] & 3) << 4];
  } else if (n - i == 2) {
    out[0] = kAlphabet[p[i] >> 2];
    out[1] = kAlphabet[((p[i] & 3) << 4) | (p[i + 1] >> 4)];
    out[2] = kAlphabet[(p[i + 1] & 15) << 2];
  }
  return r;
}

std::string Base64Decode(const std::string& Text) {
  if (Text.size() % 4 != 0) return {};
  int pads = PaddingCount(Text);
  if (pads < 0) return {};
  const auto& table = DecodeTable();
  const size_t dataChars = Text.size() - pads;
  std::string r;
  r.reserve(Text.size() / 4 * 3);
  uint32_t bits = 0;
  int bitCount = 0;
  for (size_t i = 0; i < dataChars; ++i) {
    int v = table[static_cast<unsigned char>(Text[i])];
    if (v < 0) return {};
    bits = (bits << 6) | static_cast<uint32_t>(v);
    bitCount += 6;
    if (bitCount >= 8) {
      bitCount -= 8;
      r += static_cast<char>((bits >> bitCount) & 255);
    }
  }
  return r;
}
