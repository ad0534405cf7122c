// Listing, reading and matching files for the find-files dialog.
#include <windows.h>
#include <climits>
#include <new>
#include <stdexcept>
#include "dialogs/formOpenFast.h"
#include "foundation/FastSearch.h"
#include "foundation/Regex.h"
#include "foundation/fMain.h"

namespace {

class FindHandle {
public:
  explicit FindHandle(HANDLE Handle) : handle_(Handle) {}
  ~FindHandle() { if (Valid()) FindClose(handle_); }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }

private:
  HANDLE handle_;
};

class FileHandle {
public:
  explicit FileHandle(HANDLE Handle) : handle_(Handle) {}
  ~FileHandle() { if (Valid()) CloseHandle(handle_); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }

private:
  HANDLE handle_;
};

// A folder's identity on its volume, so a link back to a folder above is recognised.
struct FolderId {
  DWORD Volume = 0, High = 0, Low = 0;
  bool operator==(const FolderId&) const = default;
};

bool GetFolderId(const std::string& Folder, FolderId& Id) {
  FileHandle dir(CreateFileA(Folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  if (!dir.Valid() || !GetFileInformationByHandle(dir.Get(), &info)) return false;
  Id = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
  return true;
}

template <typename Visit>
void ForEachEntry(const std::string& Dir, const std::string& Pattern, Visit visit) {
  WIN32_FIND_DATAA data;
  FindHandle find(FindFirstFileA((Dir + Pattern).c_str(), &data));
  if (!find.Valid()) return;
  do {
    std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    visit(name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
  } while (FindNextFileA(find.Get(), &data));
}

void Walk(const std::string& Folder, const std::string& Mask, bool Recurse,
          std::vector<FolderId>& Path, std::vector<std::string>& Files) {
  const std::string dir = AddBackslash(Folder);
  FolderId id;
  if (GetFolderId(dir, id)) {
    for (const FolderId& above : Path)
      if (above == id) return;
    Path.push_back(id);
  } else {
    Path.push_back({});
  }
  ForEachEntry(dir, Mask, [&](const std::string& Name, bool IsDir) {
    if (!IsDir) Files.push_back(dir + Name);
  });
  if (Recurse)
    ForEachEntry(dir, "*", [&](const std::string& Name, bool IsDir) {
      if (IsDir) Walk(dir + Name, Mask, true, Path, Files);
    });
  Path.pop_back();
}

}  // namespace

std::vector<std::string> ListMatchingFiles(const std::string& Folder, const std::string& Mask,
                                           bool Recurse) {
  std::vector<std::string> files;
  std::vector<FolderId> path;
  Walk(Folder, Mask, Recurse, path, files);
  return files;
}

bool ReadFileBytes(const std::string& FileName, std::string& Content) {
  Content.clear();
  FileHandle file(CreateFileA(FileName.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!file.Valid() || !GetFileSizeEx(file.Get(), &size)) return false;
  // The searches count positions in int.
  if (size.QuadPart >= INT_MAX) return false;
  try {
    Content.resize(static_cast<size_t>(size.QuadPart));
  } catch (const std::bad_alloc&) {
    return false;
  } catch (const std::length_error&) {
    return false;
  }
  size_t total = 0;
  while (total < Content.size()) {
    DWORD done = 0;
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(Content.size() - total, 1u << 24));
    if (!ReadFile(file.Get(), Content.data() + total, chunk, &done, nullptr) || done == 0) {
      Content.clear();
      return false;
    }
    total += done;
  }
  return true;
}

TContentMatcher::TContentMatcher(const std::string& SearchText, const TFindInFilesOptions& Options)
    : text_(SearchText), caseSensitive_(Options.CaseSensitive) {
  if (!Options.WholeWords && !Options.UseRegExpr) return;
  regex_ = std::make_unique<TRegex>();
  regex_->SetExpression(Options.WholeWords ? "\\b" + SearchText + "\\b" : SearchText);
  regex_->SetModifier(1, !Options.CaseSensitive);
  regex_->Compile();
}

TContentMatcher::~TContentMatcher() = default;

bool TContentMatcher::Contains(std::string_view Content) {
  if (regex_) return regex_->ExecView(Content);
  if (text_.empty() || text_.size() > Content.size()) return false;
  const int length = static_cast<int>(Content.size());
  const int patternLength = static_cast<int>(text_.size());
  return (caseSensitive_ ? FastPos(Content.data(), text_.data(), length, 1, patternLength)
                         : FastPosNoCase(Content.data(), text_.data(), length, 1, patternLength)) > 0;
}

std::string TContentMatcher::Replace(const std::string& Content, const std::string& Replacement) {
  if (regex_) return regex_->Replace(Content, Replacement, true);
  TFastReplaceFlags flags{TFastReplaceFlag::ReplaceAll};
  if (!caseSensitive_) flags.Include(TFastReplaceFlag::IgnoreCase);
  return FastReplace(Content, text_, Replacement, flags);
}
