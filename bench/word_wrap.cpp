// Word wrap over a 1-million-line text: the full rebuild, loading line by line with the
// plug-in attached, and block inserts and deletes, each timed against filling the same
// line list without word wrap in the same process; the load is also timed at a quarter of
// the size, so linear growth shows as a ratio near 4. Single-line edits in the middle are
// timed with and without the plug-in.
#include <windows.h>
#include <cstdio>
#include <memory>
#include <string>
#include "editor/CodeEditTextBuffer.h"
#include "editor/CodeEditWordWrap.h"

#include "BenchClock.h"

namespace {

class Host : public ICodeWordWrapHost {
public:
  Host() {
    for (int c = 33; c < 256; ++c) identChars_.set(c);
    lines.OnLinesInserted = [this](TObject*, int Index, int Count) {
      if (plugin) plugin->InsertLineRows(Index, Count);
    };
    lines.OnLinesDeleted = [this](TObject*, int Index, int Count) {
      if (plugin) plugin->DeleteLineRows(Index, Count);
    };
  }
  TCodeEditStringList& Lines() const override { return lines; }
  int CharsInWindow() const override { return 80; }
  std::bitset<256> IdentChars() const override { return identChars_; }

  mutable TCodeEditStringList lines;
  std::unique_ptr<TCodeWordWrapPlugin> plugin;

private:
  std::bitset<256> identChars_;
};

// Lines of 0 to 200 characters: words of 1 to 12 letters, some tabs.
std::string MakeLine(uint32_t& Seed) {
  Seed = Seed * 1103515245u + 12345u;
  const size_t length = (Seed >> 16) % 201;
  std::string line;
  while (line.size() < length) {
    Seed = Seed * 1103515245u + 12345u;
    line.append(1 + (Seed >> 16) % 12, 'a' + (Seed >> 20) % 26);
    line += (Seed >> 24) % 9 == 0 ? '\t' : ' ';
  }
  return line;
}

double Fill(Host& H, int Count) {
  uint32_t seed = 1;
  const double start = NowSeconds();
  H.lines.BeginUpdate();
  for (int i = 0; i < Count; ++i) H.lines.Add(MakeLine(seed));
  H.lines.EndUpdate();
  return NowSeconds() - start;
}

double LoadWithWrap(int Count) {
  Host host;
  host.plugin = std::make_unique<TCodeWordWrapPlugin>(&host);
  return Fill(host, Count);
}

double SingleLineEdits(Host& H) {
  const int middle = H.lines.Count() / 2;
  const double start = NowSeconds();
  for (int i = 0; i < 1000; ++i) H.lines.Insert(middle, "one line");
  for (int i = 0; i < 1000; ++i) H.lines.Delete(middle);
  return NowSeconds() - start;
}

}  // namespace

int main() {
  constexpr int kLines = 1000000;
  Host host;
  const double baseline = Fill(host, kLines);
  std::printf("baseline: filling %d lines without word wrap: %.3f s\n", kLines, baseline);

  double start = NowSeconds();
  host.plugin = std::make_unique<TCodeWordWrapPlugin>(&host);
  const double rebuild = NowSeconds() - start;
  std::printf("rebuild of all rows (%d rows): %.3f s = %.2f x baseline\n",
              host.plugin->RowCount(), rebuild, rebuild / baseline);

  const double quarterLoad = LoadWithWrap(kLines / 4);
  const double load = LoadWithWrap(kLines);
  std::printf("loading line by line with word wrap: %.3f s = %.2f x baseline; "
              "1/4 of the lines: %.3f s, ratio %.2f (linear: ~4)\n",
              load, load / baseline, quarterLoad, load / quarterLoad);

  start = NowSeconds();
  host.lines.InsertLines(kLines / 2, 100000);
  const double blockInsert = NowSeconds() - start;
  start = NowSeconds();
  host.lines.DeleteLines(kLines / 2, 100000);
  const double blockDelete = NowSeconds() - start;
  std::printf("100000 lines inserted / deleted in the middle at once: %.3f s / %.3f s "
              "= %.3f / %.3f x baseline\n",
              blockInsert, blockDelete, blockInsert / baseline, blockDelete / baseline);

  const double withWrap = SingleLineEdits(host);
  host.plugin.reset();
  const double withoutWrap = SingleLineEdits(host);
  std::printf("1000 single lines inserted and deleted in the middle: %.3f ms each, "
              "%.3f ms without word wrap (ratio %.2f)\n",
              withWrap * 1000 / 2000, withoutWrap * 1000 / 2000, withWrap / withoutWrap);
  return 0;
}
