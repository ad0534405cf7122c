// Opening a plain text file and a web page of 10 MB and of 100 MB through OpenFile into a
// visible, painted tab of the main window, then Ctrl+End to the last page, timed against one
// plain ReadFile of the same file in the same process; the growth from 10 to 100 MB shows
// whether opening is linear, and the memory held after opening is compared with the file's
// size.
#include <windows.h>
#include <psapi.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"
#include "documents/fHlpMainFuncs.h"
#include "documents/fMain.h"
#include "documents/frameEdit.h"
#include "mainwindow/formMain.h"
#include "rtl/SysUtils.h"
#include "toolkit/Application.h"
#include "toolkit/PageControl.h"

#include "BenchMainWindow.h"
#include "BenchText.h"
#include "WebPageScan.h"

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

// Paints what is invalid now, without the idle work that waits in the message queue.
void PaintNow() { RedrawWindow(frmMain->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }

struct Timings {
  size_t bytes = 0;
  int lines = 0;
  double read = 0, open = 0, toEnd = 0, close = 0;
  double heldMegabytes = 0, peakMegabytes = 0;
};

Timings Measure(const std::string& Name) {
  Timings t;
  ReadWholeFile(Name);  // the file cache holds it for both alike
  t.read = SecondsOf([&] { t.bytes = ReadWholeFile(Name).size(); });
  const PROCESS_MEMORY_COUNTERS before = Memory();
  TTabSheet* sheet = nullptr;
  TPeakSampler sampler;
  t.open = SecondsOf([&] {
    sheet = OpenFile(Name, false, nullptr);
    PaintNow();
  });
  const double peak = sampler.StopAndGetBytes();
  const PROCESS_MEMORY_COUNTERS after = Memory();
  t.heldMegabytes = (double(after.PagefileUsage) - double(before.PagefileUsage)) / (1024.0 * 1024.0);
  t.peakMegabytes = (peak - double(before.PagefileUsage)) / (1024.0 * 1024.0);
  t.lines = sheet ? GetActiveEditor()->Lines().Count() : 0;
  t.toEnd = SecondsOf([] {
    GetActiveEditor()->CommandProcessor(ecEditorBottom, '\0', nullptr);
    PaintNow();
  });
  t.close = SecondsOf([] { CloseDocument(); });
  return t;
}

// Where opening spends its time: the steps of OpenFile one by one on an untitled document,
// in its order: the text goes in with word wrap off, then wrap, highlighter and settings.
// Opening that untitled document as the only one shows what every first open costs besides
// the text (the tab, the menus, the focus).
struct Stages {
  double emptyOpen = 0, load = 0, setText = 0, wrap = 0, highlighter = 0, applySettings = 0, paint = 0;
};

Stages MeasureStages(const std::string& Name) {
  Stages st;
  st.emptyOpen = SecondsOf([] {
    OpenFile("", false, nullptr);
    PaintNow();
  });
  TCodeEdit* editor = GetActiveEditor();
  Application().ProcessMessages();
  TLineBreakFormat lineBreak;
  TFileFormat fileFormat = 0;
  std::string text;
  st.load = SecondsOf([&] { LoadTextFile(Name, lineBreak, fileFormat, text); });
  editor->SetWordWrap(false);
  st.setText = SecondsOf([&] { editor->SetText(std::move(text)); });
  st.wrap = SecondsOf([&] { editor->SetWordWrap(true); });
  st.highlighter = SecondsOf(
      [&] { editor->SetHighlighter(GetFileTypeHighlighter(ExtractFileName(Name), *GetActiveFrame())); });
  st.applySettings = SecondsOf([&] { ApplySettings(editor); });
  st.paint = SecondsOf(PaintNow);
  GetActiveFrame()->DocInfo.Modified = false;
  CloseDocument();
  return st;
}

void PrintStages(const Stages& St, double Base) {
  std::printf("stages of opening 100 MB (x ReadFile):\n");
  std::printf("  empty first tab   %6.2f\n", St.emptyOpen / Base);
  std::printf("  LoadTextFile      %6.2f\n", St.load / Base);
  std::printf("  editor SetText    %6.2f\n", St.setText / Base);
  std::printf("  word wrap on      %6.2f\n", St.wrap / Base);
  std::printf("  highlighter set   %6.2f\n", St.highlighter / Base);
  std::printf("  ApplySettings     %6.2f\n", St.applySettings / Base);
  std::printf("  first paint       %6.2f\n", St.paint / Base);
}

template <class W>
bool MeasureFile(const std::string& Name, W Write) {
  Timings results[2];
  const bool written = MeasureGrowth(Name, results, [](const std::string& File, int Index) {
    const Timings t = Measure(File);
    if (Index == 1) PrintStages(MeasureStages(File), t.read);
    return t;
  }, Write);
  if (!written) return false;
  const Timings& small = results[0];
  const Timings& large = results[1];
  std::printf("file: %zu bytes, %d lines (and %zu bytes for the growth)\n", large.bytes, large.lines,
              small.bytes);
  PrintGrowth("ReadFile (baseline)", small.read, large.read, large.read, "ReadFile");
  PrintGrowth("OpenFile, tab painted", small.open, large.open, large.read, "ReadFile");
  PrintGrowth("Ctrl+End, last page painted", small.toEnd, large.toEnd, large.read, "ReadFile");
  PrintGrowth("CloseDocument", small.close, large.close, large.read, "ReadFile");
  const double fileMegabytes = large.bytes / (1024.0 * 1024.0);
  std::printf("memory held while open %8.0f MB  %5.2f x file size\n", large.heldMegabytes,
              large.heldMegabytes / fileMegabytes);
  std::printf("peak while opening     %8.0f MB  %5.2f x file size (sampled every 2 ms)\n\n",
              large.peakMegabytes, large.peakMegabytes / fileMegabytes);
  return true;
}

}  // namespace

int main() {
  const TBenchMainWindow window;
  Settings.General.OpenSizeWarn = false;
  const std::string folder = BenchFolder();
  std::printf("plain text (.txt)\n");
  if (!MeasureFile(folder + "tarvoline_bench_open.txt", WriteGeneratedFile)) return 1;
  std::printf("web page (.html)\n");
  if (!MeasureFile(folder + "tarvoline_bench_open.html", webbench::WriteMixedPageFile)) return 1;
  return 0;
}
