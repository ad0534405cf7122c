// Throughput of the file checksums and of Base64 on a 256 MB file, against plain reading of
// the same file in the same run. Usage: bench_checksums [file]; the file is made when it is
// missing or has another size, and kept so other tools can hash the same bytes.
#include <windows.h>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>
#include "foundation/fMain.h"

#include "BenchClock.h"

namespace {
constexpr int64_t kFileSize = 256LL * 1024 * 1024;

// Pseudo-random bytes, written in 1 MB pieces.
bool MakeFile(const std::string& FileName) {
  HANDLE h = CreateFileA(FileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  std::vector<uint32_t> block(256 * 1024);
  uint32_t x = 2463534242u;
  bool ok = true;
  for (int64_t written = 0; ok && written < kFileSize; written += block.size() * 4) {
    for (uint32_t& v : block) {
      x ^= x << 13;
      x ^= x >> 17;
      x ^= x << 5;
      v = x;
    }
    DWORD n = 0;
    ok = WriteFile(h, block.data(), static_cast<DWORD>(block.size() * 4), &n, nullptr) &&
         n == block.size() * 4;
  }
  CloseHandle(h);
  return ok;
}

// Base64 of the whole file in pieces of a multiple of 3 bytes, so the pieces join seamlessly.
size_t Base64OfFile(const std::string& FileName) {
  size_t encoded = 0;
  std::string piece;
  ReadFileInChunks(FileName, [&](const uint8_t* Data, size_t Size) {
    size_t carried = piece.size();
    size_t whole = (carried + Size) / 3 * 3;
    piece.append(reinterpret_cast<const char*>(Data), whole - carried);
    encoded += Base64Encode(piece).size();
    piece.assign(reinterpret_cast<const char*>(Data) + (whole - carried), Size - (whole - carried));
  });
  return encoded + Base64Encode(piece).size();
}

void Report(const char* Name, double Secs, double BaselineSecs, const std::string& Result) {
  double mb = kFileSize / (1024.0 * 1024.0);
  std::printf("%-8s %8.1f MB/s  %5.2f x plain read  %s\n", Name, mb / Secs, BaselineSecs / Secs,
              Result.c_str());
}
}  // namespace

int main(int argc, char** argv) {
  std::string file = argc > 1 ? argv[1] : ExpandEnvVars("%TEMP%", true) + "tarvoline_checksums.bin";
  if (GetFileSizeByName(file) != kFileSize && !MakeFile(file)) {
    std::printf("cannot write %s\n", file.c_str());
    return 1;
  }
  std::printf("file %s, %lld bytes\n", file.c_str(), static_cast<long long>(kFileSize));
  ReadFileInChunks(file, [](const uint8_t*, size_t) {});  // warm the cache

  double read = SecondsOf([&] { ReadFileInChunks(file, [](const uint8_t*, size_t) {}); });
  Report("read", read, read, "");
  std::string md5, sha1, crc;
  size_t b64 = 0;
  double tMd5 = SecondsOf([&] { md5 = MD5DigestToStr(MD5File(file).value()); });
  Report("MD5", tMd5, read, md5);
  double tSha1 = SecondsOf([&] { sha1 = SHA1DigestToStr(SHA1File(file).value()); });
  Report("SHA1", tSha1, read, sha1);
  std::string sha1Portable;
  double tSha1Portable = SecondsOf([&] {
    TSHA1Context context(TSHA1Engine::Portable);
    ReadFileInChunks(file, [&](const uint8_t* Data, size_t Size) { context.Update(Data, Size); });
    sha1Portable = SHA1DigestToStr(context.Final());
  });
  Report("SHA1 sw", tSha1Portable, read, sha1Portable);
  double tCrc = SecondsOf([&] { crc = CRC32File(file); });
  Report("CRC-32", tCrc, read, crc);
  double tB64 = SecondsOf([&] { b64 = Base64OfFile(file); });
  Report("Base64", tB64, read, std::to_string(b64) + " characters");
  return 0;
}
