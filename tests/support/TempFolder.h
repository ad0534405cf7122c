// A fresh folder under the temporary folder for one test, removed with everything in it.
#pragma once
#include <windows.h>
#include <string>
#include "rtl/Streams.h"

namespace testsupport {

class TempFolder {
public:
  TempFolder() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    static int counter = 0;
    // Process ids come again: a folder of this name may be an earlier process's leftover, so
    // only a folder made here is taken.
    do {
      path_ = std::string(base) + "tv_" + std::to_string(GetCurrentProcessId()) + "_" +
              std::to_string(++counter) + "\\";
    } while (!CreateDirectoryA(path_.c_str(), nullptr) && GetLastError() == ERROR_ALREADY_EXISTS);
  }
  ~TempFolder() { Remove(path_); }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder with its trailing backslash.
  const std::string& Path() const { return path_; }
  std::string File(const std::string& Name) const { return path_ + Name; }

  void Write(const std::string& Name, const std::string& Data) const {
    TFileStream out(File(Name), fmCreate);
    out.WriteBuffer(Data.data(), static_cast<int32_t>(Data.size()));
  }
  std::string Read(const std::string& Name) const {
    TFileStream in(File(Name), fmOpenRead | fmShareDenyNone);
    return in.ReadAll();
  }

private:
  static void Remove(const std::string& Folder) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((Folder + "*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        std::string name = fd.cFileName;
        if (name == "." || name == "..") continue;
        std::string full = Folder + name;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) Remove(full + "\\");
        else {
          SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
          DeleteFileA(full.c_str());
        }
      } while (FindNextFileA(h, &fd));
      FindClose(h);
    }
    RemoveDirectoryA(Folder.c_str());
  }

  std::string path_;
};

}  // namespace testsupport
