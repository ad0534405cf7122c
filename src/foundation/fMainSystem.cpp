// System helpers of fMain.h: registry, command line, windows, console, versions and time.
#include "foundation/fMain.h"
#include <shellapi.h>
#include <thread>
#include <utility>
#include <vector>
#include "rtl/SysUtils.h"

std::string CmdLineParams;

namespace {
const char kItemSeparator = '\1';

// Owns an open registry key.
class RegKey {
public:
  RegKey() = default;
  ~RegKey() {
    if (h_) RegCloseKey(h_);
  }
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  HKEY* Out() { return &h_; }
  HKEY Get() const { return h_; }

private:
  HKEY h_ = nullptr;
};

// "ROOT\key\path" -> root key and key path; root nullptr for an unknown root.
std::pair<HKEY, std::string> SplitRegPath(const std::string& Path) {
  size_t slash = Path.find('\\');
  std::string root = Path.substr(0, slash);
  std::string key = slash == std::string::npos ? std::string() : Path.substr(slash + 1);
  return {RegRootKey(root), key};
}

bool OpenRegKey(const std::string& Path, REGSAM Access, RegKey& Key) {
  auto [root, sub] = SplitRegPath(Path);
  return root && RegOpenKeyExA(root, sub.c_str(), 0, Access, Key.Out()) == ERROR_SUCCESS;
}

uint32_t ReverseBytes(uint32_t V) {
  return (V >> 24) | ((V >> 8) & 0xFF00u) | ((V << 8) & 0xFF0000u) | (V << 24);
}

// The registry data of a value written with the type letter; false for an unknown letter.
bool EncodeRegValue(const std::string& Value, const std::string& Letter, DWORD& Type,
                    std::string& Data) {
  std::string letter = UpperCase(Letter);
  if (letter == "S" || letter == "E") {
    Type = letter == "S" ? REG_SZ : REG_EXPAND_SZ;
    Data = Value + '\0';  // the shell expects the terminating zero in the data
  } else if (letter == "B") {
    Type = REG_BINARY;
    Data = Value;
  } else if (letter == "M") {
    Type = REG_MULTI_SZ;
    Data.clear();
    for (char c : Value)
      if (c != '\r') Data += c == '\n' ? '\0' : c;
    Data.append(2, '\0');
  } else if (letter == "D" || letter == "DB") {
    uint32_t n = static_cast<uint32_t>(StrToInt(Value));
    if (letter == "DB") n = ReverseBytes(n);
    Type = REG_DWORD;
    Data.assign(reinterpret_cast<const char*>(&n), 4);
  } else {
    return false;
  }
  return true;
}

std::string DecodeRegValue(DWORD Type, const std::string& Data, const std::string& Default) {
  switch (Type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
      return Data.substr(0, Data.find('\0'));
    case REG_MULTI_SZ: {
      std::string r;
      for (char c : Data) r += c == '\0' ? std::string("\r\n") : std::string(1, c);
      return r;
    }
    case REG_BINARY:
      return Data;
    case REG_DWORD:
    case REG_DWORD_BIG_ENDIAN: {
      if (Data.size() < 4) return Default;
      uint32_t n;
      Data.copy(reinterpret_cast<char*>(&n), 4);
      if (Type == REG_DWORD_BIG_ENDIAN) n = ReverseBytes(n);
      return IntToStr(static_cast<int32_t>(n));
    }
    default:
      return Default;
  }
}

// The items of CmdLineParams, in order.
std::vector<std::string> CmdLineItems() {
  std::vector<std::string> items;
  const std::string separator(1, kItemSeparator);
  int count = CountSubStr(CmdLineParams, separator) + 1;
  for (int i = 1; i <= count; ++i) items.push_back(GetToken(CmdLineParams, separator, i));
  return items;
}

// The part of an item after its switch character ("--" counting as "-"); false when the
// item is no switch.
bool SwitchBody(std::string Item, std::string& Body) {
  if (Item.compare(0, 2, "--") == 0) Item.erase(0, 1);
  if (Item.empty() || (Item[0] != '/' && Item[0] != '-')) return false;
  Body = Item.substr(1);
  return true;
}

bool SameSwitchName(const std::string& A, const std::string& B, bool CaseSensitive) {
  return CompareStringA(LOCALE_USER_DEFAULT, CaseSensitive ? 0 : NORM_IGNORECASE, A.c_str(),
                        static_cast<int>(A.size()), B.c_str(), static_cast<int>(B.size())) ==
         CSTR_EQUAL;
}

std::string WindowCaption(HWND Wnd) {
  wchar_t buf[1024];
  int n = GetWindowTextW(Wnd, buf, 1024);
  return WideToAnsi(std::wstring(buf, n > 0 ? n : 0));
}

// The first top-level window, in z-order, whose caption passes Test.
template <typename Predicate>
HWND FindTopLevelWindow(Predicate Test) {
  for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT))
    if (Test(WindowCaption(w))) return w;
  return nullptr;
}

bool StartsWithWordCommand(const std::string& Command) {
  std::string s = LowerCase(TrimLeft(Command));
  if (s.compare(0, 7, "command") != 0) return false;
  if (s.size() == 7) return true;
  unsigned char next = static_cast<unsigned char>(s[7]);
  return !((next >= 'a' && next <= 'z') || (next >= '0' && next <= '9') || next == '_');
}

// A new empty file in the temporary folder (its short form, so the command line needs no
// quotes); empty when none can be made. Each run has a file of its own: a command left
// running after its time-out, or a run of another instance, must not write into this one's.
std::string NewConsoleOutputFile() {
  std::string folder = TempFolder();
  if (folder.empty()) folder = "C:\\";
  folder = ShortFileName(folder);
  char name[MAX_PATH];
  if (folder.size() >= MAX_PATH - 14 || !GetTempFileNameA(folder.c_str(), "Tvo", 0, name))
    return {};
  return name;
}

// A command still running holds its output file open: the file goes once it has ended.
// Takes over Process.
void DeleteWhenEnded(HANDLE Process, const std::string& FileName) {
  std::thread([Process, FileName] {
    WaitForSingleObject(Process, INFINITE);
    CloseHandle(Process);
    DeleteFileA(FileName.c_str());
  }).detach();
}

// The file's bytes up to its first zero byte; empty when it cannot be read.
std::string ReadTextUpToZero(const std::string& FileName) {
  std::string text;
  ReadFileInChunks(FileName, [&](const uint8_t* Data, size_t Size) {
    text.append(reinterpret_cast<const char*>(Data), Size);
  });
  return text.substr(0, text.find('\0'));
}

// The system's version record; all zero when it cannot be read.
OSVERSIONINFOA OsVersion() {
  OSVERSIONINFOA v = {};
  v.dwOSVersionInfoSize = sizeof v;
  if (!GetVersionExA(&v)) v = {};
  return v;
}

// The local moment a transition rule (month, week 1-5 with 5 the last, weekday, time) falls on
// in Year; a week the month lacks becomes the week before.
TDateTime TransitionMoment(int Year, const SYSTEMTIME& Rule) {
  const int month = Rule.wMonth;
  TDateTime first = EncodeDate(Year, month, 1);
  int firstWeekday = DayOfWeek(first) - 1;  // 0 Sunday like the rule
  int day = 1 + (Rule.wDayOfWeek - firstWeekday + 7) % 7 + 7 * (Rule.wDay - 1);
  while (day > DaysInMonth(Year, month)) day -= 7;
  return EncodeDate(Year, month, day) + EncodeTime(Rule.wHour, Rule.wMinute, 0, 0);
}

struct LocaleCode {
  const char* code;
  LCID locale;
};
constexpr LocaleCode kLocaleCodes[] = {
    {"AM", 1033}, {"AT", 3079}, {"BF", 2067}, {"BR", 2057}, {"CZ", 1029}, {"DA", 1030},
    {"EA", 3081}, {"EC", 4105}, {"EI", 6153}, {"EZ", 5129}, {"FB", 2060}, {"FC", 3084},
    {"FI", 1035}, {"FR", 1036}, {"FS", 4108}, {"GE", 1031}, {"GR", 1032}, {"GS", 2055},
    {"HU", 1038}, {"IC", 1039}, {"IS", 2064}, {"IT", 1040}, {"NL", 1043}, {"NN", 2068},
    {"NO", 1044}, {"PB", 1046}, {"PL", 1045}, {"PT", 2070}, {"RU", 1049}, {"SK", 1051},
    {"SM", 2058}, {"SN", 3082}, {"SP", 1034}, {"SW", 1053}, {"TK", 1055}, {"XX", 0}};

LCID LocaleOfCode(const std::string& Code) {
  std::string code = UpperCase(Code);
  for (const LocaleCode& c : kLocaleCodes)
    if (code == c.code) return c.locale;
  return LOCALE_USER_DEFAULT;
}
}  // namespace

// ---- Registry ----

HKEY RegRootKey(const std::string& RootName) {
  struct Root {
    const char* shortName;
    const char* longName;
    HKEY key;
  };
  static const Root roots[] = {{"CR", "HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
                               {"CU", "HKEY_CURRENT_USER", HKEY_CURRENT_USER},
                               {"LM", "HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
                               {"US", "HKEY_USERS", HKEY_USERS},
                               {"PD", "HKEY_PERFORMANCE_DATA", HKEY_PERFORMANCE_DATA},
                               {"CC", "HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
                               {"DD", "HKEY_DYN_DATA", HKEY_DYN_DATA}};
  for (const Root& r : roots)
    if (SameText(RootName, r.shortName) || SameText(RootName, r.longName)) return r.key;
  return nullptr;
}

std::string RegReadValue(const std::string& Path, const std::string& ValueName,
                         const std::string& Default) {
  RegKey key;
  if (!OpenRegKey(Path, KEY_READ, key)) return Default;
  // Wide: the ANSI call hands a look-alike for what the code page lacks, as in a folder value.
  const std::wstring name = AnsiToWide(ValueName);
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return Default;
  std::string data(size, '\0');
  if (RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type,
                       reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
    return Default;
  data.resize(size);
  if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ)
    data = WideToAnsi(
        std::wstring(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t)));
  return DecodeRegValue(type, data, Default);
}

std::string RegWriteValue(const std::string& Path, const std::string& ValueName,
                          const std::string& Value, const std::string& TypeLetter) {
  DWORD type = 0;
  std::string data;
  if (!EncodeRegValue(Value, TypeLetter, type, data)) return "0";
  auto [root, sub] = SplitRegPath(Path);
  RegKey key;
  if (!root || RegCreateKeyExA(root, sub.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                               nullptr, key.Out(), nullptr) != ERROR_SUCCESS)
    return "0";
  LONG rc = RegSetValueExA(key.Get(), ValueName.c_str(), 0, type,
                           reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size()));
  return rc == ERROR_SUCCESS ? "1" : "0";
}

bool RegDeleteValuePath(const std::string& Path, const std::string& ValueName) {
  RegKey key;
  return OpenRegKey(Path, KEY_SET_VALUE, key) &&
         RegDeleteValueA(key.Get(), ValueName.c_str()) == ERROR_SUCCESS;
}

bool RegDeleteKeyPath(const std::string& Path) {
  size_t last = Path.rfind('\\');
  if (last == std::string::npos) return false;
  RegKey parent;
  return OpenRegKey(Path.substr(0, last), KEY_WRITE, parent) &&
         RegDeleteKeyA(parent.Get(), Path.substr(last + 1).c_str()) == ERROR_SUCCESS;
}

std::string GetFileVersionValue(const std::string& FileName, const std::string& Key) {
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeA(FileName.c_str(), &handle);
  if (size == 0) return {};
  std::vector<char> info(size);
  if (!GetFileVersionInfoA(FileName.c_str(), 0, size, info.data())) return {};
  WORD* translation = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(info.data(), "\\VarFileInfo\\Translation",
                      reinterpret_cast<void**>(&translation), &length) ||
      length < 4)
    return {};
  std::string query = "\\StringFileInfo\\" + IntToHex(translation[0], 4) +
                      IntToHex(translation[1], 4) + "\\" + Key;
  char* value = nullptr;
  if (!VerQueryValueA(info.data(), query.c_str(), reinterpret_cast<void**>(&value), &length) ||
      !value)
    return {};
  return Trim(std::string(value, length).c_str());
}

// ---- Command line ----

std::string SplitCommandLine(const std::string& CmdLine, bool DropFirst) {
  std::string rest = Trim(CmdLine) + ' ';
  std::vector<std::string> items;
  while (!rest.empty()) {
    std::string item;
    if (rest[0] == '"') {
      size_t close = rest.find("\" ", 1);
      if (close == std::string::npos) {
        rest.erase(0, 1);  // no closing quote: an empty item, then on after the quote
      } else {
        item = rest.substr(1, close - 1);
        rest.erase(0, close + 2);
      }
    } else {
      size_t blank = rest.find(' ');
      item = rest.substr(0, blank);
      rest.erase(0, blank + 1);
    }
    rest = TrimLeft(rest);
    items.push_back(item);
  }
  const size_t first = DropFirst ? 1 : 0;
  std::string r;
  for (size_t i = first; i < items.size(); ++i) {
    if (i > first) r += kItemSeparator;
    r += items[i];
  }
  return r;
}

bool HasCmdSwitch(const std::string& SwitchName, bool CaseSensitive) {
  if (Trim(CmdLineParams).empty()) return false;
  for (const std::string& item : CmdLineItems()) {
    std::string body;
    if (!SwitchBody(item, body)) continue;
    std::string name = body.substr(0, body.find_first_of(":=\""));
    if (SameSwitchName(name, SwitchName, CaseSensitive)) return true;
  }
  return false;
}

std::string GetCmdSwitchValue(const std::string& SwitchName, bool CaseSensitive) {
  if (Trim(CmdLineParams).empty()) return {};
  std::string value;
  for (const std::string& item : CmdLineItems()) {
    std::string body;
    if (!SwitchBody(item, body)) continue;
    size_t mark = body.find_first_of(":=");
    if (mark == std::string::npos) continue;
    if (SameSwitchName(body.substr(0, mark), SwitchName, CaseSensitive)) value = body.substr(mark + 1);
  }
  return value;
}

// ---- Windows and processes ----

HWND FindWindowByCaption(const std::string& Exact, const std::string& Prefix,
                         const std::string& Suffix) {
  HWND found = nullptr;
  if (!Prefix.empty())
    found = FindTopLevelWindow([&](const std::string& c) { return c.compare(0, Prefix.size(), Prefix) == 0; });
  if (!found && !Suffix.empty())
    found = FindTopLevelWindow([&](const std::string& c) {
      return c.size() >= Suffix.size() && c.compare(c.size() - Suffix.size(), Suffix.size(), Suffix) == 0;
    });
  if (!found && !Exact.empty())
    found = FindTopLevelWindow([&](const std::string& c) { return c == Exact; });
  return found;
}

std::string RunConsoleCommand(const std::string& Command, DWORD TimeoutMs, bool KeepOemText) {
  if (StartsWithWordCommand(Command)) return {};
  const std::string outFile = NewConsoleOutputFile();
  if (outFile.empty()) return {};
  const std::string params = "/C " + Command + " > " + outFile;
  SHELLEXECUTEINFOA sei = {};
  sei.cbSize = sizeof sei;
  sei.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  sei.lpVerb = "open";
  sei.lpFile = OsVersion().dwPlatformId == VER_PLATFORM_WIN32_NT ? "cmd" : "command";
  sei.lpParameters = params.c_str();
  sei.nShow = SW_HIDE;
  if (!ShellExecuteExA(&sei)) {
    DeleteFileA(outFile.c_str());
    return {};
  }
  const bool ended = !sei.hProcess || WaitForSingleObject(sei.hProcess, TimeoutMs) == WAIT_OBJECT_0;
  std::string text = ReadTextUpToZero(outFile);
  if (ended) {
    if (sei.hProcess) CloseHandle(sei.hProcess);
    DeleteFileA(outFile.c_str());
  } else {
    DeleteWhenEnded(sei.hProcess, outFile);
  }
  if (!KeepOemText) text = OemToAnsi(text);
  return text;
}

std::string TempFolder() {
  // Read twice: the first call tells the length, the variables may change in between.
  const DWORD needed = GetTempPathW(0, nullptr);
  if (needed == 0) return {};
  std::wstring folder(needed, L'\0');
  const DWORD length = GetTempPathW(needed, folder.data());
  if (length == 0 || length >= needed) return {};
  folder.resize(length);
  std::string name;
  WideToFileNameExact(folder, name);
  return name;
}

std::string GetCurrentUserName() {
  wchar_t buf[257];
  DWORD n = 257;
  return GetUserNameW(buf, &n) ? WideToAnsi(buf) : std::string();
}

std::string GetLocalComputerName() {
  wchar_t buf[MAX_COMPUTERNAME_LENGTH + 1];
  DWORD n = MAX_COMPUTERNAME_LENGTH + 1;
  return GetComputerNameW(buf, &n) ? WideToAnsi(std::wstring(buf, n)) : std::string();
}

bool IsWin2000OrLater() { return OsVersion().dwMajorVersion >= 5; }

bool IsWinXPOrLater() {
  const OSVERSIONINFOA v = OsVersion();
  return v.dwMajorVersion > 5 || (v.dwMajorVersion == 5 && v.dwMinorVersion >= 1);
}

bool IsAppThemedSafe() {
  if (!IsWinXPOrLater()) return false;
  HMODULE lib = LoadLibraryA("UxTheme.dll");
  if (!lib) return false;
  using IsAppThemedFn = BOOL(WINAPI*)();
  auto fn = reinterpret_cast<IsAppThemedFn>(reinterpret_cast<void*>(GetProcAddress(lib, "IsAppThemed")));
  bool themed = fn && fn();
  FreeLibrary(lib);
  return themed;
}

// ---- Dates and time zones ----

void ApplyLocalePrefix(std::string& Format, TFormatSettings& Settings) {
  LCID locale = LOCALE_USER_DEFAULT;
  if (Format.size() >= 3 && Format[2] == '$') {
    locale = LocaleOfCode(Format.substr(0, 2));
    Format.erase(0, 3);
  }
  Settings = GetLocaleFormatSettings(locale);
}

int GetTimeZoneBiasOf(const TIME_ZONE_INFORMATION& Zone, TDateTime Moment) {
  const int standard = -(Zone.Bias + Zone.StandardBias);
  if (Zone.StandardDate.wMonth == 0 || Zone.DaylightDate.wMonth == 0) return standard;
  int year, month, day;
  DecodeDate(Moment, year, month, day);
  TDateTime daylightStart = TransitionMoment(year, Zone.DaylightDate);
  TDateTime standardStart = TransitionMoment(year, Zone.StandardDate);
  // In the southern hemisphere daylight saving spans the turn of the year.
  bool daylight = daylightStart < standardStart
                      ? daylightStart <= Moment && Moment < standardStart
                      : daylightStart <= Moment || Moment < standardStart;
  return daylight ? -(Zone.Bias + Zone.DaylightBias) : standard;
}

int GetTimeZoneBias(TDateTime Moment) {
  TIME_ZONE_INFORMATION zone;
  if (GetTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID) return 0;
  return GetTimeZoneBiasOf(zone, Moment);
}

TDateTime NowUTC() {
  SYSTEMTIME st;
  GetSystemTime(&st);
  return SystemTimeToDateTime(st);
}

std::string FormatTimeZoneBias(int Minutes) {
  int m = Minutes < 0 ? -Minutes : Minutes;
  std::string hh = IntToStr(m / 60), nn = IntToStr(m % 60);
  if (hh.size() < 2) hh.insert(0, "0");
  if (nn.size() < 2) nn.insert(0, "0");
  return (Minutes < 0 ? "-" : "+") + hh + ":" + nn;
}
