#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include "FuzzTargets.h"

namespace {
namespace fs = std::filesystem;

std::string FileData(const fs::path& File) {
  std::ifstream in(File, std::ios::binary);
  std::ostringstream data;
  data << in.rdbuf();
  return data.str();
}

// Every file of a target's folder, run through the target; the count of files replayed.
int Replay(const TFuzzTarget& Target, const std::string& Folder) {
  const fs::path dir = fs::path(FUZZ_DATA_DIR) / Folder / Target.Name;
  int count = 0;
  if (!fs::is_directory(dir)) return 0;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (!entry.is_regular_file() || entry.path().filename().string()[0] == '.') continue;
    EXPECT_EQ(Target.Run(FileData(entry.path())), "") << entry.path().string();
    ++count;
  }
  return count;
}
}  // namespace

TEST(FuzzReplay, SavedFindingsStayFixed) {
  for (const TFuzzTarget& target : FuzzTargetList) Replay(target, "regressions");
}

TEST(FuzzReplay, EverySeedPassesItsTargetsChecks) {
  for (const TFuzzTarget& target : FuzzTargetList)
    EXPECT_GT(Replay(target, "corpus"), 0) << "no seeds for " << target.Name;
}

TEST(FuzzFields, CutsAtTheFirstSeparatorsAndKeepsTheRest) {
  EXPECT_EQ(FuzzFields("a,b,c,d", ',', 3), (std::vector<std::string>{"a", "b", "c,d"}));
  EXPECT_EQ(FuzzFields("a", ',', 3), (std::vector<std::string>{"a", "", ""}));
  EXPECT_EQ(FuzzFields(",", ',', 2), (std::vector<std::string>{"", ""}));
  EXPECT_EQ(FuzzFields("", ',', 1), (std::vector<std::string>{""}));
}
