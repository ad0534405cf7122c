// The real files of ../shared/corpus beside the source tree, as the tests under Wine see them.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

namespace testsupport {

// The corpus folder with its trailing backslash, "" when there is none. A clone has shared/
// beside it; a worktree of the developers' folder sits one level deeper.
inline std::string CorpusFolder() {
  std::string source = __FILE__;  // <root>/tests/support/Corpus.h
  for (char& c : source)
    if (c == '/') c = '\\';
  if (!source.empty() && source[0] == '\\') source = "Z:" + source;
  std::string root = source.substr(0, source.rfind("\\tests\\support\\"));
  for (const char* up : {"\\..\\shared\\corpus\\", "\\..\\..\\shared\\corpus\\"}) {
    const std::string folder = root + up;
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    // A build with a cache base folder names the source relative to the build folder: the
    // program under test starts elsewhere and needs the full path.
    char full[MAX_PATH];
    const DWORD length = GetFullPathNameA(folder.c_str(), MAX_PATH, full, nullptr);
    return length > 0 && length < MAX_PATH ? std::string(full, length) : folder;
  }
  return std::string();
}

// The names of the corpus files, in the order the folder lists them.
inline std::vector<std::string> CorpusFileNames() {
  std::vector<std::string> names;
  const std::string folder = CorpusFolder();
  if (folder.empty()) return names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

}  // namespace testsupport
