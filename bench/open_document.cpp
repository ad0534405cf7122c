// Opening a text file of 10 MB and of 100 MB through OpenFile into a visible tab of the main
// window, timed against one plain ReadFile of the same file in the same process; the growth
// from 10 to 100 MB shows whether opening is linear, and the memory held after opening is
// compared with the file's size.
#include <windows.h>
#include <psapi.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include "app/fHlpMain.h"
#include "app/fHlpMainDocs.h"
#include "app/fMain.h"
#include "app/formMain.h"
#include "app/frameEdit.h"
#include "commands/fHlpMainFuncs.h"
#include "toolkit/Application.h"
#include "toolkit/PageControl.h"

#include "BenchMainWindow.h"
#include "BenchText.h"

namespace {

PROCESS_MEMORY_COUNTERS Memory() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters;
}

// Wine's peak counter follows the current use, so the peak is sampled while OpenFile runs.
class TPeakSampler {
public:
  TPeakSampler() : thread_(CreateThread(nullptr, 0, Run, this, 0, nullptr)) {}
  ~TPeakSampler() { Stop(); }
  double StopAndGetBytes() {
    Stop();
    return double(peak_);
  }

private:
  void Stop() {
    if (!thread_) return;
    InterlockedExchange(&stop_, 1);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
  }
  static DWORD WINAPI Run(void* Self) {
    auto* self = static_cast<TPeakSampler*>(Self);
    while (!InterlockedCompareExchange(&self->stop_, 0, 0)) {
      self->peak_ = std::max<size_t>(self->peak_, Memory().PagefileUsage);
      Sleep(2);
    }
    return 0;
  }
  volatile LONG stop_ = 0;
  size_t peak_ = 0;
  HANDLE thread_;
};

struct Timings {
  size_t bytes = 0;
  int lines = 0;
  double read = 0, open = 0, close = 0;
  double heldMegabytes = 0, peakMegabytes = 0;
};

Timings Measure(const std::string& Name) {
  Timings t;
  ReadWholeFile(Name);  // the file cache holds it for both alike
  t.read = SecondsOf([&] { t.bytes = ReadWholeFile(Name).size(); });
  const PROCESS_MEMORY_COUNTERS before = Memory();
  TTabSheet* sheet = nullptr;
  TPeakSampler sampler;
  t.open = SecondsOf([&] { sheet = OpenFile(Name, false, nullptr); });
  Application().ProcessMessages();  // painted once
  const double peak = sampler.StopAndGetBytes();
  const PROCESS_MEMORY_COUNTERS after = Memory();
  t.heldMegabytes = (double(after.PagefileUsage) - double(before.PagefileUsage)) / (1024.0 * 1024.0);
  t.peakMegabytes = (peak - double(before.PagefileUsage)) / (1024.0 * 1024.0);
  t.lines = sheet ? GetActiveEditor()->Lines().Count() : 0;
  t.close = SecondsOf([] { CloseDocument(); });
  return t;
}

// Where opening spends its time: the steps of OpenFile one by one on an untitled document,
// with the editor's word wrap as the frame starts (on) and off.
struct Stages {
  double load = 0, setText = 0, applySettings = 0, paint = 0;
};

Stages MeasureStages(const std::string& Name, bool WordWrap) {
  Stages st;
  OpenFile("", false, nullptr);
  TCodeEdit* editor = GetActiveEditor();
  editor->SetWordWrap(WordWrap);
  Application().ProcessMessages();
  TLineBreakFormat lineBreak;
  TFileFormat fileFormat = 0;
  std::string text;
  st.load = SecondsOf([&] { LoadTextFile(Name, lineBreak, fileFormat, text); });
  st.setText = SecondsOf([&] { editor->SetText(text); });
  text = std::string();
  st.applySettings = SecondsOf([&] { ApplySettings(editor); });
  st.paint = SecondsOf([] { Application().ProcessMessages(); });
  GetActiveFrame()->DocInfo.Modified = false;
  CloseDocument();
  return st;
}

}  // namespace

int main() {
  const TBenchMainWindow window;
  Settings.General.OpenSizeWarn = false;
  const std::string folder = BenchFolder();

  const std::string name = folder + "tarvoline_bench_open.txt";
  Timings results[2];
  const bool written = MeasureGrowth(name, results, [](const std::string& Name, int Index) {
    const Timings t = Measure(Name);
    if (Index == 1) {
      const Stages wrapped = MeasureStages(Name, true);
      const Stages unwrapped = MeasureStages(Name, false);
      const double base = t.read;
      std::printf("stages of opening 100 MB (x ReadFile), word wrap on / off:\n");
      std::printf("  LoadTextFile      %6.2f / %6.2f\n", wrapped.load / base, unwrapped.load / base);
      std::printf("  editor SetText    %6.2f / %6.2f\n", wrapped.setText / base, unwrapped.setText / base);
      std::printf("  ApplySettings     %6.2f / %6.2f\n", wrapped.applySettings / base,
                  unwrapped.applySettings / base);
      std::printf("  first paint       %6.2f / %6.2f\n", wrapped.paint / base, unwrapped.paint / base);
    }
    return t;
  });
  if (!written) return 1;
  const Timings& small = results[0];
  const Timings& large = results[1];
  std::printf("file: %zu bytes, %d lines (and %zu bytes for the growth)\n", large.bytes, large.lines,
              small.bytes);
  PrintGrowth("ReadFile (baseline)", small.read, large.read, large.read, "ReadFile");
  PrintGrowth("OpenFile, visible tab", small.open, large.open, large.read, "ReadFile");
  PrintGrowth("CloseDocument", small.close, large.close, large.read, "ReadFile");
  const double fileMegabytes = large.bytes / (1024.0 * 1024.0);
  std::printf("memory held while open %8.0f MB  %5.2f x file size\n", large.heldMegabytes,
              large.heldMegabytes / fileMegabytes);
  std::printf("peak while opening     %8.0f MB  %5.2f x file size (sampled every 2 ms)\n",
              large.peakMegabytes, large.peakMegabytes / fileMegabytes);
  return 0;
}
