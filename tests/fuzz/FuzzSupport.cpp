#include <cstdio>
#include <filesystem>
#include <random>
#include "FuzzTargets.h"

std::string FuzzTempFile(const std::string& Name) {
  static const std::string prefix = "tarvoline_fuzz_" + std::to_string(std::random_device()()) + "_";
  return (std::filesystem::temp_directory_path() / (prefix + Name)).string();
}

bool FuzzWriteFile(const std::string& File, const std::string& Data) {
  FILE* f = std::fopen(File.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(Data.data(), 1, Data.size(), f) == Data.size();
  return std::fclose(f) == 0 && ok;
}

std::vector<std::string> FuzzFields(const std::string& Data, char Separator, size_t Count) {
  std::vector<std::string> fields(Count);
  size_t start = 0;
  for (size_t i = 0; i < Count && start <= Data.size(); ++i) {
    size_t end = i + 1 == Count ? std::string::npos : Data.find(Separator, start);
    if (end == std::string::npos) end = Data.size();
    fields[i] = Data.substr(start, end - start);
    start = end + 1;
  }
  return fields;
}
