// Loading a text file of 10 MB and of 100 MB: LoadTextFile, filling the editor's line list
// (from a copy of the text, and from the text handed over) and finding the longest line,
// each timed against one plain ReadFile of the same file in the same process; the growth
// from 10 to 100 MB shows whether a stage is linear.
#include <windows.h>
#include <psapi.h>
#include <cstdio>
#include <string>
#include "documents/fMain.h"
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

}  // namespace

int main() {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  const std::string name = std::string(folder) + "tarvoline_bench_load.txt";
  Timings results[2];
  if (!MeasureGrowth(name, results, [](const std::string& Name, int) { return Measure(Name); }))
    return 1;
  const Timings& small = results[0];
  const Timings& large = results[1];
  std::printf("file: %zu bytes, %d lines (and %zu bytes for the growth)\n", large.bytes, large.lines,
              small.bytes);
  PrintGrowth("ReadFile (baseline)", small.read, large.read, large.read, "ReadFile");
  PrintGrowth("LoadTextFile", small.load, large.load, large.read, "ReadFile");
  PrintGrowth("fill TCodeEditStringList", small.fill, large.fill, large.read, "ReadFile");
  PrintGrowth("fill, text handed over", small.handOver, large.handOver, large.read, "ReadFile");
  PrintGrowth("longest line (first time)", small.longest, large.longest, large.read, "ReadFile");
  std::printf("peak memory (pagefile usage) %8.0f MB  %5.2f x file size\n", large.peakMegabytes,
              large.peakMegabytes * 1024 * 1024 / double(large.bytes));
  return 0;
}
