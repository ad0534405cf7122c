// File, folder, shell and colour helpers of fMain.h.
#include "foundation/fMain.h"
#include <objbase.h>
#include <shlobj.h>
#include <shellapi.h>
#include <memory>
#include <vector>
#include "foundation/FolderEntries.h"
#include "rtl/HandleOwner.h"
#include "rtl/SysUtils.h"
#include "toolkit/ComScope.h"
#include "toolkit/FolderDialog.h"

namespace {
// Opens for reading while others may read, write and delete it.
HANDLE OpenShared(const std::string& FileName, DWORD Flags = FILE_ATTRIBUTE_NORMAL) {
  return CreateFileA(FileName.c_str(), GENERIC_READ,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                     OPEN_EXISTING, Flags, nullptr);
}

// Releases a COM interface on leaving.
template <typename T>
struct ComReleaser {
  void operator()(T* P) const { P->Release(); }
};
template <typename T>
using ComPtr = std::unique_ptr<T, ComReleaser<T>>;


// Minutes to subtract from UTC for local time: the bias now, daylight saving included.
LONG CurrentZoneBias() {
  TIME_ZONE_INFORMATION tzi = {};
  DWORD zone = GetTimeZoneInformation(&tzi);
  return tzi.Bias + (zone == TIME_ZONE_ID_DAYLIGHT ? tzi.DaylightBias : 0);
}

// Converts a file time to local date-time with the given bias; unchanged when it cannot.
void FileTimeToLocal(const FILETIME& Time, LONG Bias, TDateTime& Out) {
  SYSTEMTIME st;
  if (FileTimeToSystemTime(&Time, &st)) Out = SystemTimeToDateTime(st) - Bias / 1440.0;
}

// The owner SID inside the file's security descriptor (kept alive by Descriptor).
PSID ReadFileOwnerSid(const std::string& FileName, std::vector<char>& Descriptor) {
  Descriptor.assign(1024, 0);
  DWORD needed = 0;
  if (!GetFileSecurityA(FileName.c_str(), OWNER_SECURITY_INFORMATION, Descriptor.data(),
                        static_cast<DWORD>(Descriptor.size()), &needed)) {
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return nullptr;
    Descriptor.assign(needed, 0);
    if (!GetFileSecurityA(FileName.c_str(), OWNER_SECURITY_INFORMATION, Descriptor.data(),
                          static_cast<DWORD>(Descriptor.size()), &needed))
      return nullptr;
  }
  PSID owner = nullptr;
  BOOL defaulted = FALSE;
  if (!GetSecurityDescriptorOwner(Descriptor.data(), &owner, &defaulted)) return nullptr;
  return owner;
}

int HexDigitUpper(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  return -1;
}
}  // namespace

bool ReadFileInChunks(const std::string& FileName,
                      const std::function<void(const uint8_t* Data, size_t Size)>& Consume) {
  constexpr DWORD kChunk = 1 << 20;
  TFileHandle file(OpenShared(FileName, FILE_FLAG_SEQUENTIAL_SCAN));
  if (!file.Valid()) return false;
  std::vector<uint8_t> buffer(kChunk);
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.Get(), buffer.data(), kChunk, &got, nullptr)) return false;
    if (got == 0) return true;
    Consume(buffer.data(), got);
  }
}

bool ForceDirs(const std::string& Dir) {
  size_t pos = Dir.find('\\');
  while (pos != std::string::npos && pos + 1 < Dir.size() && Dir[pos + 1] != '\\') {
    size_t next = Dir.find('\\', pos + 1);
    std::string level = Dir.substr(0, next);
    if (!DirectoryExists(level)) CreateDirectoryA(level.c_str(), nullptr);
    pos = next;
  }
  return DirectoryExists(Dir);
}

std::string AddBackslash(const std::string& Path) {
  return (Path.empty() || Path.back() == '\\') ? Path : Path + '\\';
}

std::string ExpandEnvVars(const std::string& Text, bool WithBackslash) {
  if (Text.empty()) return {};
  const std::wstring text = AnsiToWide(Text);
  const DWORD needed = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
  std::wstring expanded(needed, L'\0');
  const DWORD length = needed ? ExpandEnvironmentStringsW(text.c_str(), expanded.data(), needed) : 0;
  std::string r = Text;
  if (length > 0 && length <= needed) r = WideToAnsi(expanded.substr(0, length - 1));
  r = Trim(r.c_str());
  return WithBackslash ? AddBackslash(r) : r;
}

int ListFiles(const std::string& Folder, const std::string& Mask, TStrings& List) {
  List.Clear();
  ForEachEntry(Folder, Mask, [&](const std::string& Name, bool IsDir) {
    if (!IsDir) List.Add(Folder + Name);
  });
  return List.Count();
}

void FindFilesRecursive(const std::string& Folder, const std::string& Mask, bool Recurse,
                        TStrings& List) {
  const std::string dir = AddBackslash(Folder);
  ForEachEntry(dir, Mask, [&](const std::string& Name, bool IsDir) {
    if (!IsDir) List.Add(dir + Name);
  });
  if (!Recurse) return;
  ForEachEntry(dir, "*", [&](const std::string& Name, bool IsDir) {
    if (IsDir) FindFilesRecursive(dir + Name, Mask, true, List);
  });
}

std::string BrowseForFolder(HWND Owner, const std::string& Title, bool NewStyle) {
  return ExecuteFolderDialog(Owner, Title, NewStyle);
}

std::string GetSpecialFolderPath(int Folder) {
  wchar_t path[MAX_PATH] = L"";
  if (FAILED(SHGetFolderPathW(nullptr, Folder, nullptr, SHGFP_TYPE_CURRENT, path)) || !path[0])
    return {};
  std::string name;
  WideToFileNameExact(path, name);
  return AddBackslash(name);
}

bool CreateShellLink(const std::string& LinkFileName, const std::string& Target,
                     const std::string& Arguments, const std::string& WorkingDir,
                     const std::string& Description, int ShowCmd, const std::string& IconFile,
                     int IconIndex) {
  TComScope com;
  IShellLinkA* rawLink = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&rawLink))))
    return false;
  ComPtr<IShellLinkA> link(rawLink);
  if (FAILED(link->SetPath(Target.c_str())) || FAILED(link->SetArguments(Arguments.c_str())) ||
      FAILED(link->SetWorkingDirectory(WorkingDir.c_str())) ||
      FAILED(link->SetDescription(Description.c_str())) || FAILED(link->SetShowCmd(ShowCmd)) ||
      FAILED(link->SetIconLocation(IconFile.c_str(), IconIndex)))
    return false;
  IPersistFile* rawFile = nullptr;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&rawFile))))
    return false;
  ComPtr<IPersistFile> file(rawFile);
  return SUCCEEDED(file->Save(AnsiToWide(LinkFileName).c_str(), TRUE));
}

int GetFileIconIndex(const std::string& FileName, bool Small) {
  SHFILEINFOA info = {};
  SHGetFileInfoA(FileName.c_str(), 0, &info, sizeof info,
                 SHGFI_SYSICONINDEX | (Small ? SHGFI_SMALLICON : SHGFI_LARGEICON));
  return info.iIcon;
}

int64_t GetFileSizeByName(const std::string& FileName) {
  TFileHandle file(OpenShared(FileName));
  LARGE_INTEGER size;
  if (!file.Valid() || !GetFileSizeEx(file.Get(), &size)) return 0;
  return size.QuadPart;
}

bool GetFileTimesLocal(const std::string& FileName, TDateTime& Created, TDateTime& Accessed,
                       TDateTime& Written) {
  TFileHandle file(OpenShared(FileName));
  FILETIME c, a, w;
  if (!file.Valid() || !GetFileTime(file.Get(), &c, &a, &w)) return false;
  const LONG bias = CurrentZoneBias();
  FileTimeToLocal(c, bias, Created);
  FileTimeToLocal(a, bias, Accessed);
  FileTimeToLocal(w, bias, Written);
  return true;
}

std::string GetFileOwner(const std::string& FileName) {
  std::vector<char> descriptor;
  PSID owner = ReadFileOwnerSid(FileName, descriptor);
  if (!owner) return {};
  wchar_t name[1024], domain[256];
  DWORD nameLen = 1024, domainLen = 256;
  SID_NAME_USE use;
  if (!LookupAccountSidW(nullptr, owner, name, &nameLen, domain, &domainLen, &use))
    return SidToStringText(owner);
  return WideToAnsi(domain) + "\\" + WideToAnsi(name);
}

std::string SidToStringText(PSID Sid) {
  using ConvertFn = BOOL(WINAPI*)(PSID, LPWSTR*);
  static const ConvertFn convert = [] {
    HMODULE advapi = IsWin2000OrLater() ? GetModuleHandleA("advapi32.dll") : nullptr;
    return advapi ? reinterpret_cast<ConvertFn>(
                        reinterpret_cast<void*>(GetProcAddress(advapi, "ConvertSidToStringSidW")))
                  : nullptr;
  }();
  LPWSTR text = nullptr;
  if (!convert || !Sid || !convert(Sid, &text)) return {};
  std::string r = WideToAnsi(text);
  LocalFree(text);
  return r;
}

uint8_t HexPairToByte(const std::string& Pair) {
  if (Pair.size() != 2) return 0;
  int high = HexDigitUpper(Pair[0]), low = HexDigitUpper(Pair[1]);
  return static_cast<uint8_t>((high < 0 ? 0 : high) * 16 + (low < 0 ? 0 : low));
}

std::string ByteToHexPair(uint8_t Value) { return IntToHex(Value, 2); }

bool HtmlColorToColor(const std::string& Text, TColor& Color) {
  Color = 0;
  if (Text.size() != 6) return false;
  for (char c : Text)
    if (HexDigitUpper(c) < 0) return false;
  Color = HexPairToByte(Text.substr(0, 2)) | (HexPairToByte(Text.substr(2, 2)) << 8) |
          (HexPairToByte(Text.substr(4, 2)) << 16);
  return true;
}

bool IsWebSafeColor(TColor Color) {
  COLORREF rgb = ColorToRGB(Color);
  for (int shift = 0; shift < 24; shift += 8)
    if (((rgb >> shift) & 255) % 0x33 != 0) return false;
  return true;
}
