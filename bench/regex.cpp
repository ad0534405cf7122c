// Regular-expression engine against the standard library's ECMAScript engine on the same
// patterns: all matches over a generated 50 MB text (the reference on a smaller text, both
// scaled to time per MB), plus a 5 MB run of ours to show how its time grows with the size.
#include <windows.h>
#include <chrono>
#include <cstdio>
#include <random>
#include <regex>
#include <string>
#include "foundation/Regex.h"
#include "foundation/RegexLocaleWin32.h"

namespace {

constexpr size_t BigSize = size_t(50) << 20;
constexpr size_t SmallSize = size_t(5) << 20;
constexpr size_t ReferenceSize = size_t(2) << 20;

struct TCase {
  const char* Ours;       // our syntax, search instance defaults
  const char* Reference;  // the same in ECMAScript
  bool IgnoreCase;
};

const TCase Cases[] = {
    {"Sherlock", "Sherlock", false},
    {"holmes", "holmes", true},
    {"\\bthe\\b", "\\bthe\\b", false},
    {"[a-z]+ing\\b", "[a-z]+ing\\b", false},
    {"\\d+-\\d+", "\\d+-\\d+", false},
    {"Sherlock|Holmes|Watson", "Sherlock|Holmes|Watson", false},
    {"(\\w+)@(\\w+)\\.com", "(\\w+)@(\\w+)\\.com", false},
    {"[A-Z][a-z]+ [A-Z][a-z]+", "[A-Z][a-z]+ [A-Z][a-z]+", false},
    {"\\r\\n\\s*\\r\\n", "\\r\\n\\s*\\r\\n", false},
    {"\"[^\"]*\"", "\"[^\"]*\"", false},
    {"(?-s)a.*?z", "a.*?z", false},
    {"\\w+\\s+street", "\\w+\\s+street", false},
    {"(Mr|Mrs)\\. [A-Z]\\w*", "(Mr|Mrs)\\. [A-Z]\\w*", false},
    {"q[^u]", "q[^u]", false},
};

std::string MakeText(size_t Size) {
  static const char* const Words[] = {
      "the", "of", "and", "a", "to", "in", "was", "he", "that", "it", "his", "her", "you",
      "as", "had", "with", "for", "she", "not", "at", "but", "be", "my", "on", "have", "him",
      "is", "said", "me", "which", "by", "so", "this", "all", "from", "they", "no", "were",
      "if", "would", "or", "when", "what", "there", "been", "one", "could", "very", "an",
      "who", "them", "Mr.", "Mrs.", "we", "now", "more", "out", "do", "are", "up", "their",
      "your", "will", "little", "than", "then", "some", "into", "any", "well", "much",
      "about", "time", "know", "should", "man", "did", "like", "upon", "such", "never",
      "only", "good", "how", "before", "other", "see", "must", "am", "own", "come", "down",
      "say", "after", "think", "made", "might", "being", "Sherlock", "Holmes", "Watson",
      "Baker", "Street", "street", "morning", "evening", "walking", "thinking", "nothing",
      "\"quite", "so\"", "Iraq", "12-34", "1887", "jane@mail.com", "zebra"};
  std::mt19937 rng(42);
  std::uniform_int_distribution<int> pick(0, sizeof Words / sizeof Words[0] - 1);
  std::uniform_int_distribution<int> lineLength(4, 16);
  std::string text;
  text.reserve(Size + 200);
  while (text.size() < Size) {
    const int words = lineLength(rng);
    for (int i = 0; i < words; ++i) {
      if (i) text += ' ';
      text += Words[pick(rng)];
    }
    text += rng() % 7 == 0 ? "\r\n\r\n" : "\r\n";
  }
  text.resize(Size);
  return text;
}

double Seconds(std::chrono::steady_clock::time_point Since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - Since).count();
}

struct TRun {
  double Seconds = 0;
  long Matches = 0;
};

TRun RunOurs(const TCase& Case, const std::string& Text) {
  TRegex re;
  re.SetModifier(1, Case.IgnoreCase);
  re.SetExpression(Case.Ours);
  TRun run;
  const auto start = std::chrono::steady_clock::now();
  for (bool found = re.Exec(Text); found; found = re.ExecNext()) ++run.Matches;
  run.Seconds = Seconds(start);
  return run;
}

struct TReferenceJob {
  const TCase* Case;
  const std::string* Text;
  TRun Result;
};

// The reference recurses per character; it runs on a thread with a large stack.
DWORD WINAPI ReferenceThread(LPVOID Parameter) {
  auto* job = static_cast<TReferenceJob*>(Parameter);
  auto flags = std::regex::ECMAScript;
  if (job->Case->IgnoreCase) flags |= std::regex::icase;
  const std::regex re(job->Case->Reference, flags);
  const auto start = std::chrono::steady_clock::now();
  for (auto it = std::sregex_iterator(job->Text->begin(), job->Text->end(), re);
       it != std::sregex_iterator(); ++it)
    ++job->Result.Matches;
  job->Result.Seconds = Seconds(start);
  return 0;
}

TRun RunReference(const TCase& Case, const std::string& Text) {
  TReferenceJob job{&Case, &Text, {}};
  HANDLE thread = CreateThread(nullptr, 512u << 20, ReferenceThread, &job,
                               STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  return job.Result;
}

}  // namespace

int main() {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  InstallWin32RegexLocale();
  const std::string big = MakeText(BigSize);
  const std::string small = big.substr(0, SmallSize);
  const std::string reference = big.substr(0, ReferenceSize);
  std::printf("%-28s %10s %10s %10s %8s %8s\n", "pattern", "ours MB/s", "std MB/s", "ratio",
              "growth", "matches");
  for (const TCase& c : Cases) {
    const TRun ours = RunOurs(c, big);
    const TRun ours5 = RunOurs(c, small);
    const TRun ours2 = RunOurs(c, reference);
    const TRun std2 = RunReference(c, reference);
    const double oursRate = 50.0 / ours.Seconds;
    const double stdRate = 2.0 / std2.Seconds;
    // time per MB on 50 MB over time per MB on 5 MB: about 1 when the search is linear
    const double growth = (ours.Seconds / 50.0) / (ours5.Seconds / 5.0);
    std::printf("%-28s %10.1f %10.1f %9.2fx %8.2f %8ld%s\n", c.Ours, oursRate, stdRate,
                oursRate / stdRate, growth, ours.Matches,
                ours2.Matches == std2.Matches ? "" : "  (match counts differ on 2 MB)");
  }
  std::printf("ratio: our throughput over the standard library's (higher is faster)\n");
  return 0;
}
