// A fresh folder under the temporary folder for one test, removed with everything in it.
#pragma once
#include <windows.h>
#include <string>
#include "rtl/Streams.h"
#include "rtl/SysUtils.h"

namespace testsupport {

class TempFolder {
public:
  TempFolder() : TempFolder(TempPath()) {}
  // Under Base (with its trailing backslash) instead of the temporary folder.
  explicit TempFolder(const std::string& Base) {
    static int counter = 0;
    // Process ids come again: a folder of this name may be an earlier process's leftover, so
    // only a folder made here is taken.
    do {
      path_ = Base + "tv_" + std::to_string(GetCurrentProcessId()) + "_" +
              std::to_string(++counter) + "\\";
    } while (!CreateDirectoryA(path_.c_str(), nullptr) && GetLastError() == ERROR_ALREADY_EXISTS);
  }
  ~TempFolder() { Remove(AnsiToWide(path_)); }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder with its trailing backslash.
  const std::string& Path() const { return path_; }
  std::string File(const std::string& Name) const { return path_ + Name; }

  void Write(const std::string& Name, const std::string& Data) const {
    TFileStream out(File(Name), fmCreate);
    out.WriteBuffer(Data.data(), static_cast<int32_t>(Data.size()));
  }
  // A file whose name the ANSI code page may not hold; its folder is made too.
  void Write(const std::wstring& Name, const std::string& Data) const {
    const std::wstring full = AnsiToWide(path_) + Name;
    CreateDirectoryW(full.substr(0, full.rfind(L'\\')).c_str(), nullptr);
    HANDLE file = CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, Data.data(), static_cast<DWORD>(Data.size()), &written, nullptr);
    CloseHandle(file);
  }
  std::string Read(const std::string& Name) const {
    TFileStream in(File(Name), fmOpenRead | fmShareDenyNone);
    return in.ReadAll();
  }

private:
  static std::string TempPath() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    return base;
  }
  // Wide: a name the ANSI code page cannot hold would come back as a look-alike and stay.
  static void Remove(const std::wstring& Folder) {
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((Folder + L"*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = fd.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring full = Folder + name;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) Remove(full + L"\\");
        else {
          SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
          DeleteFileW(full.c_str());
        }
      } while (FindNextFileW(h, &fd));
      FindClose(h);
    }
    RemoveDirectoryW(Folder.c_str());
  }

  std::string path_;
};

// A file held open, as a backup or sync tool may hold it: without sharing no other open of it
// succeeds until Release (or the end of this object); with FILE_SHARE_READ others may read it
// but not move it.
class HeldFile {
public:
  explicit HeldFile(const std::string& FileName, DWORD Share = 0)
      : handle_(CreateFileA(FileName.c_str(), GENERIC_READ, Share, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~HeldFile() { Release(); }
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;
  bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }
  void Release() {
    if (Held()) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

private:
  HANDLE handle_;
};

}  // namespace testsupport
