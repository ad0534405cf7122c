// Where configure found the corpus (TARVOLINE_CORPUS_DIR, "" for none) and where it looked
// (TARVOLINE_CORPUS_LOOKED) come in as definitions of this file alone.
#include "support/Corpus.h"
#include <windows.h>
#include "rtl/Streams.h"

namespace testsupport {

std::string CorpusFolder() {
  std::string folder = TARVOLINE_CORPUS_DIR;
  if (folder.empty()) return folder;
  for (char& c : folder)
    if (c == '/') c = '\\';
  if (folder.back() != '\\') folder += '\\';
  const DWORD attributes = GetFileAttributesA(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
    return std::string();
  return folder;
}

std::vector<std::string> CorpusFileNames() {
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

std::string CorpusFile(const std::string& Name) {
  TFileStream in(CorpusFolder() + Name, fmOpenRead | fmShareDenyNone);
  return in.ReadAll();
}

std::string NoCorpusNote() {
  const std::string found = TARVOLINE_CORPUS_DIR;
  const std::string looked = found.empty() ? TARVOLINE_CORPUS_LOOKED : found;
  return "no corpus in " + looked +
         "; point TARVOLINE_CORPUS_DIR (environment or CMake cache variable) at one and "
         "configure again";
}

}  // namespace testsupport
