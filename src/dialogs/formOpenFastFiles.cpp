// Listing, reading and matching files for the find-files dialog.
#include <windows.h>
#include <climits>
#include <new>
#include <stdexcept>
#include "dialogs/FolderIdentity.h"
#include "dialogs/formOpenFast.h"
#include "foundation/FastSearch.h"
#include "foundation/FolderEntries.h"
#include "foundation/Regex.h"
#include "foundation/fMain.h"
#include "rtl/HandleOwner.h"

namespace {

// Path holds the identities of the folders above, so a link back to one of them ends there.
void CollectFiles(const std::string& Folder, const std::string& Mask, bool Recurse,
                  std::vector<std::string>& Path, std::vector<std::string>& Files,
                  std::vector<std::string>* PassedOver) {
  const std::string dir = AddBackslash(Folder);
  const std::string identity = FolderIdentity(dir);
  for (const std::string& above : Path)
    if (above == identity) return;
  Path.push_back(identity);
  auto passOver = [&](bool Dirs) {
    return [&, Dirs](const std::string& Shown, DWORD Attributes) {
      if (PassedOver && ((Attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) == Dirs)
        PassedOver->push_back(dir + Shown);
    };
  };
  ForEachFolderEntry(dir, Mask, [&](const std::string& Name, DWORD Attributes) {
    if (!(Attributes & FILE_ATTRIBUTE_DIRECTORY)) Files.push_back(dir + Name);
  }, passOver(false));
  if (Recurse)
    ForEachFolderEntry(dir, "*", [&](const std::string& Name, DWORD Attributes) {
      if (Attributes & FILE_ATTRIBUTE_DIRECTORY)
        CollectFiles(dir + Name, Mask, true, Path, Files, PassedOver);
    }, passOver(true));
  Path.pop_back();
}

}  // namespace

std::vector<std::string> ListMatchingFiles(const std::string& Folder, const std::string& Mask,
                                           bool Recurse, std::vector<std::string>* PassedOver) {
  std::vector<std::string> files;
  std::vector<std::string> path;
  CollectFiles(Folder, Mask, Recurse, path, files, PassedOver);
  return files;
}

bool ReadFileBytes(const std::string& FileName, std::string& Content) {
  Content.clear();
  TFileHandle file(CreateFileA(FileName.c_str(), GENERIC_READ,
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

bool TContentMatcher::FoundIn(std::string_view Content) {
  if (regex_) return regex_->ExecView(Content);
  if (text_.empty() || text_.size() > Content.size()) return false;
  const int length = static_cast<int>(Content.size());
  const int patternLength = static_cast<int>(text_.size());
  return (caseSensitive_ ? FastPos(Content.data(), text_.data(), length, 1, patternLength)
                         : FastPosNoCase(Content.data(), text_.data(), length, 1, patternLength)) > 0;
}

std::string TContentMatcher::ReplaceIn(const std::string& Content, const std::string& Replacement) {
  if (regex_) return regex_->Replace(Content, Replacement, true);
  TFastReplaceFlags flags{TFastReplaceFlag::ReplaceAll};
  if (!caseSensitive_) flags.Include(TFastReplaceFlag::IgnoreCase);
  return FastReplace(Content, text_, Replacement, flags);
}
