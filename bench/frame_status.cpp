// Typing into a document of about 100 MB with the frame's events on (status bar, caption,
// tool buttons after every character) against the same typing with the events off, and the
// same pair on a small document. The ratio with/without shows what the status bar costs a
// keystroke; the status update alone is timed too.
#include <windows.h>
#include <cstdio>
#include <memory>
#include <string>
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"
#include "documents/fMain.h"
#include "documents/frameEdit.h"
#include "mainwindow/formMain.h"
#include "toolkit/Application.h"

#include "BenchClock.h"

namespace {

constexpr int kTyped = 200;

std::string MakeText(int Lines) {
  std::string text;
  text.reserve(static_cast<size_t>(Lines) * 82);
  for (int i = 1; i <= Lines; ++i) {
    text += "line ";
    text += std::to_string(i);
    text += " of the text, with a few more words to make it about eighty bytes long";
    if (i < Lines) text += "\r\n";
  }
  return text;
}

struct TResult {
  double withEvents = 0, without = 0, statusOnly = 0;  // seconds per keystroke
};

TResult Measure(int Lines) {
  TResult r;
  OpenFile("", false, nullptr);
  TfraEdit* frame = GetActiveFrame();
  TCodeEdit* edit = frame->seEdit;
  edit->SetText(MakeText(Lines));
  edit->SetCaretXY({10, Lines / 2});
  Application().ProcessMessages();
  auto type = [&] {
    for (int i = 0; i < kTyped; ++i) edit->CommandProcessor(ecChar, char('a' + i % 26), nullptr);
  };
  r.withEvents = SecondsOf(type) / kTyped;
  r.statusOnly = SecondsOf([&] {
                   for (int i = 0; i < kTyped; ++i)
                     frame->seEditStatusChange(edit, {TCodeStatusChange::scAll});
                 }) /
                 kTyped;
  const auto onChange = edit->OnChange;
  const auto onStatus = edit->OnStatusChange;
  edit->OnChange = nullptr;
  edit->OnStatusChange = nullptr;
  r.without = SecondsOf(type) / kTyped;
  edit->OnChange = onChange;
  edit->OnStatusChange = onStatus;
  frame->DocInfo.Modified = false;
  CloseDocument();
  return r;
}

}  // namespace

int main() {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  Settings.SettingsFile = std::string(folder) + "tarvoline_bench_missing.ini";
  LoadSettings();
  auto main = std::make_unique<TfrmMain>(nullptr);
  frmMain = main.get();
  Application().SetMainForm(main.get());
  main->Show();
  const int smallLines = 1000, largeLines = 1250000;  // about 80 KB and 100 MB
  const TResult small = Measure(smallLines);
  const TResult large = Measure(largeLines);
  std::printf("Typing %d characters, seconds per keystroke as ratios:\n", kTyped);
  std::printf("  %d lines:  with events / without = %.2f (status update alone / keystroke "
              "without events = %.2f)\n",
              smallLines, small.withEvents / small.without, small.statusOnly / small.without);
  std::printf("  %d lines: with events / without = %.2f (status update alone / keystroke "
              "without events = %.2f)\n",
              largeLines, large.withEvents / large.without, large.statusOnly / large.without);
  std::printf("  status update, large / small document = %.1f\n", large.statusOnly / small.statusOnly);
  std::printf("  absolute: status update on the large document %.2f ms, keystroke without "
              "events %.2f ms\n",
              large.statusOnly * 1000, large.without * 1000);
  main.reset();
  frmMain = nullptr;
  return 0;
}
