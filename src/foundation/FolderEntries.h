// Listing a folder's entries.
#pragma once
#include <windows.h>
#include <string>
#include "rtl/HandleOwner.h"

// Calls Visit for every entry of Folder matching Mask, "." and ".." excluded.
template <typename Visitor>
void ForEachEntry(const std::string& Folder, const std::string& Mask, Visitor Visit) {
  WIN32_FIND_DATAA fd;
  TFindHandle find(FindFirstFileA((Folder + Mask).c_str(), &fd));
  if (!find.Valid()) return;
  do {
    std::string name = fd.cFileName;
    if (name != "." && name != "..") Visit(name, (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
  } while (FindNextFileA(find.Get(), &fd));
}
