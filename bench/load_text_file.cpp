// Loading a 100 MB text file: LoadTextFile and filling the editor's line list, each timed
// against one plain ReadFile of the same file in the same process.
#include <windows.h>
#include <psapi.h>
#include <cstdio>
#include <string>
#include "app/fMain.h"
#include "editor/CodeEditTextBuffer.h"

namespace {

constexpr size_t kFileSize = 100u * 1024 * 1024;

double Seconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return double(now.QuadPart) / double(frequency.QuadPart);
}

// Lines of 0 to 160 characters, some with tabs and non-ASCII bytes, CR LF between them;
// written in pieces so that making the file adds little to the peak memory.
bool WriteGeneratedFile(const std::string& Name) {
  HANDLE file = CreateFileA(Name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  std::string piece;
  size_t written = 0;
  uint32_t seed = 12345;
  bool ok = true;
  while (ok && written < kFileSize) {
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

// The baseline: one ReadFile of the whole file into one buffer.
size_t PlainRead(const std::string& Name) {
  HANDLE file = CreateFileA(Name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  LARGE_INTEGER size;
  GetFileSizeEx(file, &size);
  std::string buffer(static_cast<size_t>(size.QuadPart), '\0');
  DWORD done = 0;
  ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &done, nullptr);
  CloseHandle(file);
  return done;
}

double PeakMegabytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.PeakPagefileUsage / (1024.0 * 1024.0);
}

}  // namespace

int main() {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  const std::string name = std::string(folder) + "tarvoline_bench_load.txt";
  if (!WriteGeneratedFile(name)) {
    std::printf("cannot write %s\n", name.c_str());
    return 1;
  }

  PlainRead(name);  // the file cache holds it for every stage alike
  double start = Seconds();
  size_t bytes = PlainRead(name);
  double baseline = Seconds() - start;

  TLineBreakFormat lineBreak;
  TFileFormat fileFormat = 0;
  std::string text;
  start = Seconds();
  LoadTextFile(name, lineBreak, fileFormat, text);
  double load = Seconds() - start;

  TCodeEditStringList lines;
  start = Seconds();
  lines.SetText(text);
  double fill = Seconds() - start;
  text = std::string();

  start = Seconds();
  int longest = lines.GetLengthOfLongestLine();
  double longestTime = Seconds() - start;

  DeleteFileA(name.c_str());
  std::printf("file: %zu bytes, %d lines, line break %d, longest line %d columns\n", bytes,
              lines.Count(), int(lineBreak), longest);
  std::printf("ReadFile (baseline)          %8.1f ms  1.00\n", baseline * 1000);
  std::printf("LoadTextFile                 %8.1f ms  %5.2f x ReadFile\n", load * 1000, load / baseline);
  std::printf("fill TCodeEditStringList     %8.1f ms  %5.2f x ReadFile\n", fill * 1000, fill / baseline);
  std::printf("longest line (first time)    %8.1f ms  %5.2f x ReadFile\n", longestTime * 1000,
              longestTime / baseline);
  std::printf("peak memory (pagefile usage) %8.0f MB  %5.2f x file size\n", PeakMegabytes(),
              PeakMegabytes() * 1024 * 1024 / double(bytes));
  return 0;
}
