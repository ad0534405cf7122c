// Saving a document of 10 MB and of 100 MB with SaveDocument (as the File menu does: backup
// settings at their defaults, the safe replace through a temporary file), timed against one
// plain WriteFile of the same bytes in the same process; the growth from 10 to 100 MB shows
// whether saving is linear.
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"
#include "documents/frameEdit.h"
#include "mainwindow/formMain.h"
#include "toolkit/Application.h"
#include "toolkit/PageControl.h"
#include "toolkit/Timer.h"

#include "BenchMainWindow.h"
#include "BenchText.h"

namespace {

// The baseline: the same bytes in one WriteFile to a new file beside it.
void PlainWrite(const std::string& Name, const std::string& Data) {
  HANDLE file = CreateFileA(Name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD done = 0;
  WriteFile(file, Data.data(), static_cast<DWORD>(Data.size()), &done, nullptr);
  CloseHandle(file);
}

struct Timings {
  size_t bytes = 0;
  double write = 0, save = 0, text = 0;
  bool same = false;
};

// Each figure is the best of three runs: a single write to the disk varies a lot.
Timings Measure(const std::string& Name, const std::string& Copy) {
  constexpr int kRuns = 3;
  Timings t;
  t.write = t.save = t.text = 1e9;
  {
    const std::string data = ReadWholeFile(Name);
    t.bytes = data.size();
    PlainWrite(Copy, data);  // warm-up: the first write to a new name costs the same for both
    for (int run = 0; run < kRuns; ++run)
      t.write = std::min(t.write, SecondsOf([&] { PlainWrite(Copy, data); }));
  }
  DeleteFileA(Copy.c_str());
  OpenFile(Name, false, nullptr);
  t.same = true;
  for (int run = 0; run < kRuns; ++run) {
    t.text = std::min(t.text, SecondsOf([] { (void)GetActiveEditor()->Text(); }));
    SetFileFormat(ffAnsi);  // counts as a change, so the document is written
    t.save = std::min(t.save, SecondsOf([] { SaveDocument(-1); }));
    t.same = t.same && GetActiveFrame() && !GetActiveFrame()->DocInfo.Modified;
  }
  GetActiveFrame()->tmrChangeNotify->SetEnabled(false);
  CloseDocument();
  return t;
}

}  // namespace

int main() {
  const TBenchMainWindow window;
  Settings.General.OpenSizeWarn = false;
  const std::string folder = BenchFolder();

  const std::string name = folder + "tarvoline_bench_save.txt";
  const std::string copy = folder + "tarvoline_bench_save_plain.txt";
  Timings results[2];
  const bool written = MeasureGrowth(name, results, [&](const std::string& Name, int) {
    const std::string before = ReadWholeFile(Name);
    const Timings t = Measure(Name, copy);
    if (ReadWholeFile(Name) != before) std::printf("the saved file differs from the original\n");
    return t;
  });
  if (!written) return 1;
  const Timings& small = results[0];
  const Timings& large = results[1];
  std::printf("file: %zu bytes (and %zu bytes for the growth); saved: %s\n", large.bytes, small.bytes,
              large.same && small.same ? "yes" : "NO");
  PrintGrowth("WriteFile (baseline)", small.write, large.write, large.write, "WriteFile");
  PrintGrowth("SaveDocument", small.save, large.save, large.write, "WriteFile");
  PrintGrowth("  of it: the editor's text", small.text, large.text, large.write, "WriteFile");
  return 0;
}
