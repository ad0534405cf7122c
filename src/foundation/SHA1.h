// The SHA-1 message digest of byte strings and whole files.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

using TSHA1Digest = std::array<uint8_t, 20>;

// Fastest uses the processor's SHA instructions where it has them (about three times the
// speed); Portable never does, so the two paths can be compared on such a processor.
enum class TSHA1Engine { Fastest, Portable };

// Incremental digest: Update any number of times, then Final once.
class TSHA1Context {
public:
  explicit TSHA1Context(TSHA1Engine Engine = TSHA1Engine::Fastest);
  void Update(const void* Data, size_t Size);
  TSHA1Digest Final();

private:
  void Transform(const uint8_t* Blocks, size_t Count);
  bool hardware_;
  uint32_t state_[5];
  uint64_t length_ = 0;  // bytes digested so far
  uint8_t buffer_[64];
};

TSHA1Digest SHA1String(const std::string& Text);
// The digest of the file's whole content, read in chunks; none when it cannot be opened or read.
std::optional<TSHA1Digest> SHA1File(const std::string& FileName);
// 40 upper-case hexadecimal digits.
std::string SHA1DigestToStr(const TSHA1Digest& Digest);
