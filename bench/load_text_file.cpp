// Loading a text file of 10 MB and of 100 MB: LoadTextFile, filling the editor's line list
// (from a copy of the text, and from the text handed over) and finding the longest line,
// each timed against one plain ReadFile of the same file in the same process; the growth
// from 10 to 100 MB shows whether a stage is linear.
#include <windows.h>
#include <psapi.h>
#include <cstdio>
#include <string>
#include "app/fMain.h"
#include "editor/CodeEditTextBuffer.h"

#include "BenchText.h"

namespace {

double PeakMegabytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.PeakPagefileUsage / (1024.0 * 1024.0);
}

struct Timings {
  size_t bytes = 0;
  int lines = 0;
  double read = 0, load = 0, fill = 0, handOver = 0, longest = 0;
  double peakMegabytes = 0;
};

Timings Measure(const std::string& Name) {
  Timings t;
  ReadWholeFile(Name);  // the file cache holds it for every stage alike
  double start = NowSeconds();
  t.bytes = ReadWholeFile(Name).size();
  t.read = NowSeconds() - start;

  TLineBreakFormat lineBreak;
  TFileFormat fileFormat = 0;
  std::string text;
  start = NowSeconds();
  LoadTextFile(Name, lineBreak, fileFormat, text);
  t.load = NowSeconds() - start;

  {
    TCodeEditStringList copied;
    start = NowSeconds();
    copied.SetText(text);
    t.fill = NowSeconds() - start;
    t.peakMegabytes = PeakMegabytes();  // text, its copy and the lines: the highest point
  }

  TCodeEditStringList lines;
  start = NowSeconds();
  lines.SetText(std::move(text));
  t.handOver = NowSeconds() - start;

  start = NowSeconds();
  lines.GetLengthOfLongestLine();
  t.longest = NowSeconds() - start;
  t.lines = lines.Count();
  return t;
}

void PrintStage(const char* Stage, double Small, double Large, double Baseline) {
  std::printf("%-28s %8.1f ms  %5.2f x ReadFile   growth 10->100 MB: %5.1f (linear 10)\n", Stage,
              Large * 1000, Large / Baseline, Large / Small);
}

}  // namespace

int main() {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  const std::string name = std::string(folder) + "tarvoline_bench_load.txt";
  Timings results[2];
  const size_t sizes[2] = {10u * 1024 * 1024, 100u * 1024 * 1024};
  for (int i = 0; i < 2; ++i) {
    if (!WriteGeneratedFile(name, sizes[i])) {
      std::printf("cannot write %s\n", name.c_str());
      return 1;
    }
    results[i] = Measure(name);
    DeleteFileA(name.c_str());
  }
  const Timings& small = results[0];
  const Timings& large = results[1];
  std::printf("file: %zu bytes, %d lines (and %zu bytes for the growth)\n", large.bytes, large.lines,
              small.bytes);
  PrintStage("ReadFile (baseline)", small.read, large.read, large.read);
  PrintStage("LoadTextFile", small.load, large.load, large.read);
  PrintStage("fill TCodeEditStringList", small.fill, large.fill, large.read);
  PrintStage("fill, text handed over", small.handOver, large.handOver, large.read);
  PrintStage("longest line (first time)", small.longest, large.longest, large.read);
  std::printf("peak memory (pagefile usage) %8.0f MB  %5.2f x file size\n", large.peakMegabytes,
              large.peakMegabytes * 1024 * 1024 / double(large.bytes));
  return 0;
}
