// Searching 10 000 generated files (200 MB) for content: plain, ignoring case, whole word and
// regular expression, each against listing and reading the same files in the same run.
// Usage: bench_find_in_files [folder]; the files are made once and kept.
#include <windows.h>
#include <cstdio>
#include <string>
#include <vector>
#include "dialogs/formOpenFast.h"
#include "foundation/fMain.h"

#include "BenchClock.h"

namespace {
constexpr int kFiles = 10000;
constexpr size_t kFileSize = 20 * 1024;

// Words of pseudo-random letters and blanks; file 9999 ends with the word searched for.
std::string MakeContent(int Index) {
  std::string text(kFileSize, ' ');
  uint32_t x = 2463534242u + Index;
  for (char& c : text) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    c = (x % 7 == 0) ? ' ' : static_cast<char>('a' + x % 26);
  }
  if (Index == kFiles - 1) text.replace(text.size() - 8, 8, " Zebrax ");
  return text;
}

bool MakeFiles(const std::string& Folder) {
  ForceDirs(Folder);
  if (ListMatchingFiles(Folder, "*.txt", false).size() == kFiles) return true;
  for (int i = 0; i < kFiles; ++i) {
    const std::string content = MakeContent(i);
    HANDLE h = CreateFileA((Folder + "f" + std::to_string(10000 + i) + ".txt").c_str(), GENERIC_WRITE,
                           0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD n = 0;
    WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &n, nullptr);
    CloseHandle(h);
  }
  return true;
}

// Reads every listed file as the search does, testing each with Test; the number of hits.
template <typename Test>
int Run(const std::string& Folder, Test test) {
  int hits = 0;
  std::string content;
  for (const std::string& file : ListMatchingFiles(Folder, "*.txt", false))
    if (ReadFileBytes(file, content) && test(content)) ++hits;
  return hits;
}
}  // namespace

int main(int argc, char** argv) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = AddBackslash(argc > 1 ? argv[1] : std::string(temp) + "tv_bench_find");
  if (!MakeFiles(folder)) {
    std::printf("cannot write the files in %s\n", folder.c_str());
    return 1;
  }
  Run(folder, [](const std::string&) { return false; });  // warm the file cache
  int hits = 0;
  const double baseline = SecondsOf([&] { hits = Run(folder, [](const std::string&) { return false; }); });
  std::printf("list and read %d files: baseline 1.00\n", kFiles);
  struct Mode {
    const char* Name;
    const char* Text;
    TFindInFilesOptions Options;
  } modes[] = {{"plain", "Zebrax", {true, false, false}},
               {"ignoring case", "zebrax", {false, false, false}},
               {"whole word", "zebrax", {false, true, false}},
               {"regex", "Ze[a-z]+x", {true, false, true}}};
  for (const Mode& mode : modes) {
    TContentMatcher matcher(mode.Text, mode.Options);
    const double secs = SecondsOf([&] {
      hits = Run(folder, [&](const std::string& Content) { return matcher.FoundIn(Content); });
    });
    std::printf("%-14s %5.2f x listing and reading (%d hit%s)\n", mode.Name, secs / baseline, hits,
                hits == 1 ? "" : "s");
  }
  return 0;
}
