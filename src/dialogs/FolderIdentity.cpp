// Telling folders apart by what they are, not by the path that reached them.
#include "dialogs/FolderIdentity.h"
#include <windows.h>
#include "rtl/SysUtils.h"

std::string FolderIdentity(const std::string& Folder) {
  HANDLE h = CreateFileA(Folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return AnsiLowerCase(Folder);
  BY_HANDLE_FILE_INFORMATION info = {};
  const bool known = GetFileInformationByHandle(h, &info);
  CloseHandle(h);
  if (!known) return AnsiLowerCase(Folder);
  return std::to_string(info.dwVolumeSerialNumber) + ":" + std::to_string(info.nFileIndexHigh) +
         ":" + std::to_string(info.nFileIndexLow);
}
