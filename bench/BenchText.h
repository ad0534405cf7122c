// Generated test texts and files for the benchmarks, and the best-of-N timing loop.
#pragma once
#include <windows.h>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "BenchClock.h"

// Writes a file of about Size bytes: lines of 0 to 160 characters (82 bytes on average, so
// 100 MB hold about 1.28 million lines), some with tabs and non-ASCII bytes, CR LF between
// them. Written in 1 MB pieces so that making the file adds little to the peak memory; the
// same Size always gives the same bytes.
inline bool WriteGeneratedFile(const std::string& Name, size_t Size) {
  HANDLE file = CreateFileA(Name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  std::string piece;
  size_t written = 0;
  uint32_t seed = 12345;
  bool ok = true;
  while (ok && written < Size) {
    piece.clear();
    while (piece.size() < (1u << 20)) {
      seed = seed * 1103515245u + 12345u;
      size_t length = (seed >> 16) % 161;
      for (size_t i = 0; i < length; ++i) {
        char c = static_cast<char>('a' + (i * 7 + length) % 26);
        if (i % 37 == 5) c = '\t';
        if (i % 53 == 11) c = '\xE4';
        piece += c;
      }
      piece += "\r\n";
    }
    DWORD done = 0;
    ok = WriteFile(file, piece.data(), static_cast<DWORD>(piece.size()), &done, nullptr) && done == piece.size();
    written += piece.size();
  }
  CloseHandle(file);
  return ok;
}

// The two sizes the file benches compare: from the first to the second a linear step grows
// about tenfold.
constexpr size_t kGrowthSizes[2] = {10u * 1024 * 1024, 100u * 1024 * 1024};

// Writes a file with Write (Name, Size) at each of kGrowthSizes under Name, stores
// Measure(Name, index) and deletes the file again; false, after saying so, when the file
// cannot be written.
template <class Result, class F, class W = bool (*)(const std::string&, size_t)>
bool MeasureGrowth(const std::string& Name, Result (&Results)[2], F Measure,
                   W Write = WriteGeneratedFile) {
  for (int i = 0; i < 2; ++i) {
    if (!Write(Name, kGrowthSizes[i])) {
      std::printf("cannot write %s\n", Name.c_str());
      return false;
    }
    Results[i] = Measure(Name, i);
    DeleteFileA(Name.c_str());
  }
  return true;
}

// One step's time at the larger size, as a ratio to the baseline of the same run, and its
// growth from the smaller size.
inline void PrintGrowth(const char* Step, double Small, double Large, double Baseline,
                        const char* BaselineName) {
  std::printf("%-28s %9.1f ms  %6.2f x %s   growth 10->100 MB: %5.1f (linear 10)\n", Step,
              Large * 1000, Large / Baseline, BaselineName, Large / Small);
}

// One ReadFile of the whole file into one buffer: the baseline the loading benches compare
// with. A missing file gives an empty text.
inline std::string ReadWholeFile(const std::string& Name) {
  HANDLE file = CreateFileA(Name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  LARGE_INTEGER size;
  GetFileSizeEx(file, &size);
  std::string buffer(static_cast<size_t>(size.QuadPart), '\0');
  DWORD done = 0;
  ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &done, nullptr);
  CloseHandle(file);
  buffer.resize(done);
  return buffer;
}

// The size of Lines as a file with CR LF after every line.
inline size_t TotalBytes(const std::vector<std::string>& Lines) {
  size_t n = 0;
  for (const auto& line : Lines) n += line.size() + 2;
  return n;
}

// The shortest of Rounds runs: the others include the machine's other work.
inline double BestSeconds(int Rounds, const std::function<void()>& Work) {
  double best = 1e9;
  for (int i = 0; i < Rounds; ++i) best = std::min(best, SecondsOf(Work));
  return best;
}
