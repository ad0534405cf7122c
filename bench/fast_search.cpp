// Plain substring search and replace over a generated 50 MB text: forward and backward, with
// and without case, and replace-all with shorter, equal and longer replacements.
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include "foundation/FastSearch.h"

namespace {

constexpr size_t TextSize = size_t(50) << 20;

std::string MakeText(size_t Size) {
  static const char* const Words[] = {"the", "of", "and", "to", "in", "was", "that", "with",
                                      "Sherlock", "Holmes", "Watson", "street", "morning",
                                      "\xe4rger", "Stra\xdf" "e", "1887", "evening", "zebra"};
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> pick(0, sizeof Words / sizeof Words[0] - 1);
  std::string text;
  text.reserve(Size + 32);
  while (text.size() < Size) {
    text += Words[pick(rng)];
    text += rng() % 12 == 0 ? "\r\n" : " ";
  }
  text.resize(Size);
  return text;
}

double Seconds(std::chrono::steady_clock::time_point Since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - Since).count();
}

// Every occurrence from the start on, or from the end backward.
void Search(const std::string& Text, const std::string& Pattern, bool CaseSensitive, bool Forward) {
  const auto start = std::chrono::steady_clock::now();
  long hits = 0;
  if (Forward) {
    for (int pos = FastFind(Pattern, Text, CaseSensitive, true, 1); pos > 0;
         pos = FastFind(Pattern, Text, CaseSensitive, true, pos + 1))
      ++hits;
  } else {
    // a start of 0 would mean the end again
    for (int pos = FastFind(Pattern, Text, CaseSensitive, false, 0); pos > 0;
         pos = pos > 1 ? FastFind(Pattern, Text, CaseSensitive, false, pos - 1) : 0)
      ++hits;
  }
  const double seconds = Seconds(start);
  std::printf("%-8s %-6s %-12s %10.1f MB/s %9ld hits\n", Forward ? "forward" : "backward",
              CaseSensitive ? "case" : "nocase", Pattern.c_str(), 50.0 / seconds, hits);
}

void Replace(const std::string& Text, const std::string& Find, const std::string& Replacement,
             TFastReplaceFlags Flags) {
  const auto start = std::chrono::steady_clock::now();
  const std::string result = FastReplace(Text, Find, Replacement, Flags);
  const double seconds = Seconds(start);
  std::printf("replace  %-6s %-12s by %-10s %10.1f MB/s %9.1f MB result\n",
              Flags.Contains(TFastReplaceFlag::IgnoreCase) ? "nocase" : "case", Find.c_str(),
              Replacement.c_str(), 50.0 / seconds, result.size() / 1048576.0);
}

}  // namespace

int main() {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  const std::string text = MakeText(TextSize);
  Search(text, "Sherlock", true, true);
  Search(text, "zebra street", true, true);
  Search(text, "SHERLOCK", false, true);
  Search(text, "\xc4RGER", false, true);
  Search(text, "Sherlock", true, false);
  Search(text, "SHERLOCK", false, false);
  using F = TFastReplaceFlag;
  Replace(text, "the", "a", {F::ReplaceAll});
  Replace(text, "Watson", "Lestrade", {F::ReplaceAll});
  Replace(text, "e", "E", {F::ReplaceAll});
  Replace(text, "STREET", "road", {F::ReplaceAll, F::IgnoreCase});
  Replace(text, " ", "&nbsp;", {F::ReplaceAll});
  return 0;
}
