// The MD5 message digest of byte strings and whole files.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

using TMD5Digest = std::array<uint8_t, 16>;

// Incremental digest: Update any number of times, then Final once.
class TMD5Context {
public:
  TMD5Context();
  void Update(const void* Data, size_t Size);
  TMD5Digest Final();

private:
  void Transform(const uint8_t* Block);
  uint32_t state_[4];
  uint64_t length_ = 0;  // bytes digested so far
  uint8_t buffer_[64];
};

TMD5Digest MD5String(const std::string& Text);
// The digest of the file's whole content, read in chunks; none when it cannot be opened or read.
std::optional<TMD5Digest> MD5File(const std::string& FileName);
// 32 upper-case hexadecimal digits.
std::string MD5DigestToStr(const TMD5Digest& Digest);
