#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>
#include <winioctl.h>
#include "foundation/fMain.h"
#include "rtl/SysUtils.h"
#include "support/ModalAnswers.h"
#include "support/TempFolder.h"

namespace {
// Writes Content to a file of Dir and returns its full name.
std::string Written(const testsupport::TempFolder& Dir, const std::string& Name,
                    const std::string& Content) {
  Dir.Write(Name, Content);
  return Dir.File(Name);
}

std::vector<std::string> Lines(const TStrings& List) {
  std::vector<std::string> v;
  for (int i = 0; i < List.Count(); ++i) v.push_back(List[i]);
  return v;
}

// The target and arguments stored in a shell link file.
bool ReadShellLink(const std::string& LinkFile, std::string& Target, std::string& Arguments) {
  CoInitialize(nullptr);
  IShellLinkA* link = nullptr;
  bool ok = false;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link)))) {
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      std::wstring wide(LinkFile.begin(), LinkFile.end());
      char buf[MAX_PATH] = "";
      if (SUCCEEDED(file->Load(wide.c_str(), STGM_READ)) &&
          SUCCEEDED(link->GetPath(buf, MAX_PATH, nullptr, 0))) {
        Target = buf;
        link->GetArguments(buf, MAX_PATH);
        Arguments = buf;
        ok = true;
      }
      file->Release();
    }
    link->Release();
  }
  CoUninitialize();
  return ok;
}
}  // namespace

TEST(ForceDirs, CreatesEveryLevel) {
  testsupport::TempFolder dir;
  std::string deep = dir.Path() + "a\\b\\c";
  EXPECT_TRUE(ForceDirs(deep));
  EXPECT_TRUE(DirectoryExists(dir.Path() + "a"));
  EXPECT_TRUE(DirectoryExists(deep));
  EXPECT_TRUE(ForceDirs(deep + "\\"));
}

TEST(ForceDirs, FailsWhenALevelCannotBeMade) {
  testsupport::TempFolder dir;
  std::string file = Written(dir, "blocker", "x");
  EXPECT_FALSE(ForceDirs(file + "\\sub"));
}

TEST(Paths, AddBackslashAndExpandEnvVars) {
  EXPECT_EQ(AddBackslash(""), "");
  EXPECT_EQ(AddBackslash("C:\\a"), "C:\\a\\");
  EXPECT_EQ(AddBackslash("C:\\a\\"), "C:\\a\\");
  char temp[MAX_PATH];
  GetEnvironmentVariableA("TEMP", temp, MAX_PATH);
  EXPECT_EQ(ExpandEnvVars("%TEMP%", true), AddBackslash(temp));
  EXPECT_EQ(ExpandEnvVars("  %TEMP%\\x  ", false), std::string(temp) + "\\x");
  EXPECT_EQ(ExpandEnvVars("", true), "");
  SetEnvironmentVariableW(L"TV_GREEK", L"C:\\\u03A9mega");
  EXPECT_EQ(ExpandEnvVars("%TV_GREEK%\\a.txt", false), "C:\\?mega\\a.txt") << "no look-alike";
  SetEnvironmentVariableW(L"TV_GREEK", nullptr);
}

TEST(ListFiles, ListsMatchingFilesButNoFolders) {
  testsupport::TempFolder dir;
  Written(dir, "one.txt", "1");
  Written(dir, "two.txt", "2");
  Written(dir, "three.log", "3");
  CreateDirectoryA((dir.Path() + "sub.txt").c_str(), nullptr);
  dir.Write(std::wstring(L"\u03A9mega.txt"), "not listed, nor as a look-alike");
  TStringList list;
  list.Add("old entry");
  list.SetSorted(true);
  EXPECT_EQ(ListFiles(dir.Path(), "*.txt", list), 2);
  EXPECT_EQ(Lines(list), (std::vector<std::string>{dir.Path() + "one.txt", dir.Path() + "two.txt"}));
}

TEST(FindFilesRecursive, FilesOfAFolderComeBeforeItsSubfolders) {
  testsupport::TempFolder dir;
  ForceDirs(dir.Path() + "sub\\deeper");
  Written(dir, "sub\\b.txt", "b");
  Written(dir, "sub\\deeper\\c.txt", "c");
  Written(dir, "z.txt", "z");
  Written(dir, "skip.log", "s");
  TStringList list;
  std::string folder = dir.Path().substr(0, dir.Path().size() - 1);  // no trailing backslash
  FindFilesRecursive(folder, "*.txt", true, list);
  EXPECT_EQ(Lines(list), (std::vector<std::string>{dir.Path() + "z.txt", dir.Path() + "sub\\b.txt",
                                                   dir.Path() + "sub\\deeper\\c.txt"}));
  list.Clear();
  FindFilesRecursive(folder, "*.txt", false, list);
  EXPECT_EQ(Lines(list), (std::vector<std::string>{dir.Path() + "z.txt"}));
}

TEST(BrowseForFolder, AsksThroughTheModalSeam) {
  ModalAnswer chosen;
  chosen.result = IDOK;
  chosen.value = "C:\\chosen";
  testsupport::QueueAnswer(chosen, [](const ModalQuestion& q) {
    EXPECT_EQ(q.kind, ModalKind::FolderDialog);
    EXPECT_EQ(q.text, "Pick one");
  });
  EXPECT_EQ(BrowseForFolder(nullptr, "Pick one", true), "C:\\chosen");
  testsupport::QueueAnswer(IDCANCEL);
  EXPECT_EQ(BrowseForFolder(nullptr, "Pick one", false), "");
}

TEST(GetSpecialFolderPath, EndsWithABackslash) {
  std::string appData = GetSpecialFolderPath(CSIDL_APPDATA);
  ASSERT_FALSE(appData.empty());
  EXPECT_EQ(appData.back(), '\\');
  EXPECT_TRUE(DirectoryExists(appData));
  EXPECT_EQ(GetSpecialFolderPath(0x7F), "");
}

TEST(CreateShellLink, WritesALinkTheShellCanRead) {
  testsupport::TempFolder dir;
  std::string target = Written(dir, "target.txt", "t");
  std::string link = dir.Path() + "Target.lnk";
  ASSERT_TRUE(CreateShellLink(link, target, "/x \"y\"", dir.Path(), "A link", SW_SHOWNORMAL,
                              target, 0));
  std::string storedTarget, storedArgs;
  ASSERT_TRUE(ReadShellLink(link, storedTarget, storedArgs));
  EXPECT_TRUE(SameText(storedTarget, target)) << storedTarget;
  EXPECT_EQ(storedArgs, "/x \"y\"");
}

TEST(CreateShellLink, FailsForAnUnwritableLocation) {
  testsupport::TempFolder dir;
  EXPECT_FALSE(CreateShellLink(dir.Path() + "no\\such\\folder\\x.lnk", "C:\\x.exe", "", "", "",
                               SW_SHOWNORMAL, "", 0));
}

TEST(GetFileIconIndex, GivesAnIndexInTheSystemImageList) {
  testsupport::TempFolder dir;
  std::string file = Written(dir, "a.txt", "x");
  EXPECT_GE(GetFileIconIndex(file, true), 0);
  EXPECT_GE(GetFileIconIndex(file, false), 0);
}

TEST(GetFileSizeByName, CountsBytesAndIsZeroForMissingFiles) {
  testsupport::TempFolder dir;
  EXPECT_EQ(GetFileSizeByName(Written(dir, "five", "12345")), 5);
  EXPECT_EQ(GetFileSizeByName(dir.Path() + "missing"), 0);
}

TEST(GetFileSizeByName, SizesAbove4GBAreExact) {
  testsupport::TempFolder dir;
  std::string file = dir.Path() + "sparse.bin";
  HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD returned;
  DeviceIoControl(h, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
  LARGE_INTEGER size;
  size.QuadPart = 5LL * 1024 * 1024 * 1024 + 3;
  ASSERT_TRUE(SetFilePointerEx(h, size, nullptr, FILE_BEGIN));
  ASSERT_TRUE(SetEndOfFile(h));
  CloseHandle(h);
  EXPECT_EQ(GetFileSizeByName(file), size.QuadPart);
}

TEST(GetFileTimesLocal, GivesTheWriteTimeInLocalTime) {
  testsupport::TempFolder dir;
  std::string file = Written(dir, "t.txt", "x");
  HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  SYSTEMTIME utc = {2024, 6, 0, 15, 12, 30, 0, 0};
  FILETIME ft;
  SystemTimeToFileTime(&utc, &ft);
  SetFileTime(h, &ft, &ft, &ft);
  CloseHandle(h);

  TIME_ZONE_INFORMATION tzi;
  DWORD zone = GetTimeZoneInformation(&tzi);
  LONG bias = tzi.Bias + (zone == TIME_ZONE_ID_DAYLIGHT ? tzi.DaylightBias : 0);
  TDateTime created = 0, accessed = 0, written = 0;
  ASSERT_TRUE(GetFileTimesLocal(file, created, accessed, written));
  TDateTime expected = EncodeDate(2024, 6, 15) + EncodeTime(12, 30, 0, 0) - bias / 1440.0;
  EXPECT_NEAR(written, expected, 1.0 / 86400);
  EXPECT_NEAR(created, expected, 1.0 / 86400);
  EXPECT_FALSE(GetFileTimesLocal(dir.Path() + "missing", created, accessed, written));
}

TEST(GetFileOwner, NamesTheOwningAccount) {
  testsupport::TempFolder dir;
  std::string owner = GetFileOwner(Written(dir, "o.txt", "x"));
  ASSERT_FALSE(owner.empty());
  // A file we create belongs to us: "DOMAIN\user".
  size_t slash = owner.find('\\');
  ASSERT_NE(slash, std::string::npos) << owner;
  EXPECT_GT(slash, 0u) << owner;
  EXPECT_TRUE(SameText(owner.substr(slash + 1), GetCurrentUserName())) << owner;
  EXPECT_EQ(GetFileOwner(dir.Path() + "missing"), "");
}

TEST(SidToStringText, WritesTheStandardForm) {
  PSID everyone = nullptr;
  SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
  ASSERT_TRUE(AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone));
  EXPECT_EQ(SidToStringText(everyone), "S-1-1-0");
  FreeSid(everyone);
  EXPECT_EQ(SidToStringText(nullptr), "");
}

TEST(ColorCodes, HexPairsAndHtmlColors) {
  EXPECT_EQ(HexPairToByte("FF"), 255);
  EXPECT_EQ(HexPairToByte("0A"), 10);
  EXPECT_EQ(HexPairToByte("0a"), 0);
  EXPECT_EQ(HexPairToByte("ABC"), 0);
  EXPECT_EQ(ByteToHexPair(171), "AB");
  TColor color = -1;
  EXPECT_TRUE(HtmlColorToColor("FF0000", color));
  EXPECT_EQ(color, 255);
  EXPECT_TRUE(HtmlColorToColor("0000FF", color));
  EXPECT_EQ(color, 0xFF0000);
  EXPECT_FALSE(HtmlColorToColor("ff0000", color));
  EXPECT_EQ(color, 0);
  EXPECT_FALSE(HtmlColorToColor("FF00", color));
}

TEST(ColorCodes, WebSafeColorsUseMultiplesOf33) {
  EXPECT_TRUE(IsWebSafeColor(0x3366CC));
  EXPECT_FALSE(IsWebSafeColor(0x3366CD));
  EXPECT_TRUE(IsWebSafeColor(clBlack));
  EXPECT_EQ(IsWebSafeColor(clWindow), IsWebSafeColor(static_cast<TColor>(ColorToRGB(clWindow))));
}
