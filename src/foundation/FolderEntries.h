// Listing a folder's entries.
#pragma once
#include <windows.h>
#include <string>
#include "rtl/HandleOwner.h"
#include "rtl/SysUtils.h"

// Calls Visit(Name, Attributes) for every entry of Folder matching Mask, "." and ".." excluded.
// An entry whose name the ANSI code page cannot hold exactly goes to Refused(Shown, Attributes)
// instead, as WideToAnsiExact shows it: the system's look-alike name would be another file.
template <typename Visitor, typename RefusedVisitor>
void ForEachFolderEntry(const std::string& Folder, const std::string& Mask, Visitor Visit,
                        RefusedVisitor Refused) {
  WIN32_FIND_DATAW fd;
  TFindHandle find(FindFirstFileW(AnsiToWide(Folder + Mask).c_str(), &fd));
  if (!find.Valid()) return;
  do {
    const std::wstring wide = fd.cFileName;
    if (wide == L"." || wide == L"..") continue;
    std::string name;
    if (WideToAnsiExact(wide, name))
      Visit(name, fd.dwFileAttributes);
    else
      Refused(name, fd.dwFileAttributes);
  } while (FindNextFileW(find.Get(), &fd));
}

// Calls Visit(Name, IsDir) for every entry as ForEachFolderEntry does; entries it would refuse
// are left out.
template <typename Visitor>
void ForEachEntry(const std::string& Folder, const std::string& Mask, Visitor Visit) {
  ForEachFolderEntry(
      Folder, Mask,
      [&](const std::string& Name, DWORD Attributes) {
        Visit(Name, (Attributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
      },
      [](const std::string&, DWORD) {});
}
