#include <gtest/gtest.h>
#include <chrono>
#include <future>
#include <vector>
#include "foundation/fMain.h"
#include "rtl/SysUtils.h"
#include "support/TempFolder.h"

namespace {
// Writes Content to a file of Dir and returns its full name.
std::string Written(const testsupport::TempFolder& Dir, const std::string& Name,
                    const std::string& Content) {
  Dir.Write(Name, Content);
  return Dir.File(Name);
}

const char kTestKey[] = "CU\\Software\\TarvolineTest";

// Raw registry data of a value below HKEY_CURRENT_USER\Software\TarvolineTest.
bool RawValue(const std::string& Name, DWORD& Type, std::string& Data) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\TarvolineTest", 0, KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  char buf[256];
  DWORD size = sizeof buf;
  bool ok = RegQueryValueExA(key, Name.c_str(), nullptr, &Type, reinterpret_cast<BYTE*>(buf), &size) ==
            ERROR_SUCCESS;
  RegCloseKey(key);
  Data.assign(buf, ok ? size : 0);
  return ok;
}

class Registry : public ::testing::Test {
protected:
  void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\TarvolineTest"); }

  // Writes Value as Kind under Name, then checks the raw type and bytes the registry holds.
  static void ExpectStored(const std::string& Name, const std::string& Value,
                           const std::string& Kind, DWORD Type, const std::string& Bytes) {
    ASSERT_EQ(RegWriteValue(kTestKey, Name, Value, Kind), "1");
    DWORD type;
    std::string data;
    ASSERT_TRUE(RawValue(Name, type, data));
    EXPECT_EQ(type, Type);
    EXPECT_EQ(data, Bytes);
  }
};

// Sets CmdLineParams for one test.
class CommandLine : public ::testing::Test {
protected:
  void SetParams(std::initializer_list<const char*> Items) {
    CmdLineParams.clear();
    for (const char* item : Items) {
      if (!CmdLineParams.empty()) CmdLineParams += '\1';
      CmdLineParams += item;
    }
  }
  void TearDown() override { CmdLineParams.clear(); }
};

// A top-level window with a caption, destroyed with the object.
class CaptionWindow {
public:
  explicit CaptionWindow(const std::string& Caption)
      : wnd_(CreateWindowExA(0, "STATIC", Caption.c_str(), WS_POPUP, 0, 0, 10, 10, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr)) {}
  ~CaptionWindow() { DestroyWindow(wnd_); }
  HWND Handle() const { return wnd_; }

private:
  HWND wnd_;
};

// A zone rule: month, week (5 = last), weekday (0 Sunday), hour.
SYSTEMTIME Rule(WORD Month, WORD Week, WORD Weekday, WORD Hour) {
  SYSTEMTIME st = {};
  st.wMonth = Month;
  st.wDay = Week;
  st.wDayOfWeek = Weekday;
  st.wHour = Hour;
  return st;
}

TIME_ZONE_INFORMATION Zone(LONG Bias, SYSTEMTIME StandardStart, SYSTEMTIME DaylightStart) {
  TIME_ZONE_INFORMATION z = {};
  z.Bias = Bias;
  z.StandardDate = StandardStart;
  z.DaylightDate = DaylightStart;
  z.DaylightBias = -60;
  return z;
}

TDateTime At(int Year, int Month, int Day, int Hour) {
  return EncodeDate(Year, Month, Day) + EncodeTime(Hour, 0, 0, 0);
}

// A local time (year, month, day, hour) and the bias a zone must have then.
struct BiasAt {
  int Year, Month, Day, Hour, Bias;
};

void ExpectBiases(const TIME_ZONE_INFORMATION& Zone, std::initializer_list<BiasAt> Cases) {
  for (const BiasAt& c : Cases) {
    SCOPED_TRACE(std::to_string(c.Year) + "-" + std::to_string(c.Month) + "-" +
                 std::to_string(c.Day) + " " + std::to_string(c.Hour) + ":00");
    EXPECT_EQ(GetTimeZoneBiasOf(Zone, At(c.Year, c.Month, c.Day, c.Hour)), c.Bias);
  }
}
}  // namespace

TEST_F(Registry, UnknownRootDoesNothing) {
  EXPECT_EQ(RegRootKey("XY"), nullptr);
  EXPECT_EQ(RegRootKey("hkey_current_user"), HKEY_CURRENT_USER);
  EXPECT_EQ(RegRootKey("lm"), HKEY_LOCAL_MACHINE);
  EXPECT_EQ(RegReadValue("XY\\Software", "x", "dflt"), "dflt");
  EXPECT_EQ(RegWriteValue("XY\\Software\\TarvolineTest", "x", "1", "S"), "0");
}

TEST_F(Registry, StringsAreStoredWithTheirZeroAndReadWithout) {
  ASSERT_NO_FATAL_FAILURE(
      ExpectStored("Name", "Tarvoline", "S", REG_SZ, std::string("Tarvoline", 10)));
  EXPECT_EQ(RegReadValue(kTestKey, "Name", ""), "Tarvoline");

  ASSERT_EQ(RegWriteValue(kTestKey, "Exp", "%TEMP%\\x", "e"), "1");
  DWORD type;
  std::string data;
  ASSERT_TRUE(RawValue("Exp", type, data));
  EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
  EXPECT_EQ(RegReadValue(kTestKey, "Exp", ""), "%TEMP%\\x");

  HKEY key;
  ASSERT_EQ(RegCreateKeyW(HKEY_CURRENT_USER, L"Software\\TarvolineTest", &key), ERROR_SUCCESS);
  const wchar_t greek[] = L"C:\\\u03A9mega";
  RegSetValueExW(key, L"Greek", 0, REG_SZ, reinterpret_cast<const BYTE*>(greek), sizeof greek);
  RegCloseKey(key);
  EXPECT_EQ(RegReadValue(kTestKey, "Greek", ""), "C:\\?mega") << "no look-alike";
}

TEST_F(Registry, MultiStringsBecomeZeroSeparated) {
  ASSERT_NO_FATAL_FAILURE(
      ExpectStored("Multi", "a\r\nb", "M", REG_MULTI_SZ, std::string("a\0b\0\0", 5)));
  EXPECT_EQ(RegReadValue(kTestKey, "Multi", ""), "a\r\nb\r\n\r\n");
}

TEST_F(Registry, NumbersAndBinaryData) {
  ASSERT_NO_FATAL_FAILURE(
      ExpectStored("Num", "258", "D", REG_DWORD, std::string("\x02\x01\x00\x00", 4)));
  EXPECT_EQ(RegReadValue(kTestKey, "Num", ""), "258");

  // Read back signed, so every number the writer accepts comes back unchanged.
  ASSERT_EQ(RegWriteValue(kTestKey, "Neg", "-2", "D"), "1");
  EXPECT_EQ(RegReadValue(kTestKey, "Neg", ""), "-2");

  ASSERT_NO_FATAL_FAILURE(
      ExpectStored("Big", "258", "db", REG_DWORD, std::string("\x00\x00\x01\x02", 4)));

  ASSERT_EQ(RegWriteValue(kTestKey, "Bin", std::string("\0\x01\xFF", 3), "B"), "1");
  EXPECT_EQ(RegReadValue(kTestKey, "Bin", ""), std::string("\0\x01\xFF", 3));
}

TEST_F(Registry, BigEndianNumbersAreRead) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, "Software\\TarvolineTest", &key), ERROR_SUCCESS);
  const BYTE bigEndian[4] = {0, 0, 1, 2};
  RegSetValueExA(key, "BE", 0, REG_DWORD_BIG_ENDIAN, bigEndian, 4);
  RegCloseKey(key);
  EXPECT_EQ(RegReadValue(kTestKey, "BE", ""), "258");
}

TEST_F(Registry, BadNumberRaisesAndUnknownTypeWritesNothing) {
  EXPECT_THROW(RegWriteValue(kTestKey, "Num", "12a", "D"), EConvertError);
  EXPECT_EQ(RegWriteValue(kTestKey, "Other", "x", "Q"), "0");
  EXPECT_EQ(RegReadValue(kTestKey, "Other", "none"), "none");
}

TEST_F(Registry, MissingValuesAndOtherTypesGiveTheDefault) {
  EXPECT_EQ(RegReadValue(kTestKey, "Nothing", "dflt"), "dflt");
  ASSERT_EQ(RegWriteValue(kTestKey, "Here", "x", "S"), "1");
  EXPECT_EQ(RegReadValue(kTestKey, "Nothing", "dflt"), "dflt");
  HKEY key;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\TarvolineTest", 0, KEY_SET_VALUE, &key),
            ERROR_SUCCESS);
  const BYTE wide[8] = {1, 0, 0, 0, 0, 0, 0, 0};
  RegSetValueExA(key, "Wide", 0, REG_QWORD, wide, 8);
  RegCloseKey(key);
  EXPECT_EQ(RegReadValue(kTestKey, "Wide", "dflt"), "dflt");
}

TEST_F(Registry, DeletesValuesAndKeys) {
  std::string sub = std::string(kTestKey) + "\\Sub";
  ASSERT_EQ(RegWriteValue(sub, "V", "x", "S"), "1");
  EXPECT_TRUE(RegDeleteValuePath(sub, "V"));
  EXPECT_FALSE(RegDeleteValuePath(sub, "V"));
  EXPECT_EQ(RegReadValue(sub, "V", "gone"), "gone");
  EXPECT_TRUE(RegDeleteKeyPath(sub));
  EXPECT_FALSE(RegDeleteKeyPath(sub));
  EXPECT_FALSE(RegDeleteKeyPath("CU"));
}

TEST(FileVersion, ReadsStringsOfASystemLibrary) {
  char system[MAX_PATH];
  GetSystemDirectoryA(system, MAX_PATH);
  std::string kernel = std::string(system) + "\\kernel32.dll";
  EXPECT_FALSE(GetFileVersionValue(kernel, "FileVersion").empty());
  EXPECT_EQ(GetFileVersionValue(kernel, "NoSuchKey"), "");
  EXPECT_EQ(GetFileVersionValue("C:\\no\\such.dll", "FileVersion"), "");
}

TEST(SplitCommandLine, SeparatesQuotedAndPlainItems) {
  EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\T.exe\" /NOSPLASH \"C:\\my file.txt\"", true),
            "/NOSPLASH\1C:\\my file.txt");
  EXPECT_EQ(SplitCommandLine("  prog   a  b ", false), "prog\1a\1b");
  EXPECT_EQ(SplitCommandLine("prog", true), "");
}

TEST(SplitCommandLine, UnclosedQuoteGivesAnEmptyItem) {
  EXPECT_EQ(SplitCommandLine("prog \"abc", true), "\1abc");
}

TEST_F(CommandLine, FindsSwitchesByName) {
  SetParams({"/NOSPLASH", "--pos:10", "file.txt", "/open\"a b\""});
  EXPECT_TRUE(HasCmdSwitch("POS", false));
  EXPECT_TRUE(HasCmdSwitch("nosplash", false));
  EXPECT_TRUE(HasCmdSwitch("pos", true));
  EXPECT_FALSE(HasCmdSwitch("POS", true));
  EXPECT_FALSE(HasCmdSwitch("file.txt", false));
  EXPECT_EQ(GetCmdSwitchValue("POS", false), "10");
  EXPECT_EQ(GetCmdSwitchValue("NOSPLASH", false), "");
  EXPECT_TRUE(HasCmdSwitch("open", false));
  EXPECT_EQ(GetCmdSwitchValue("open", false), "");
}

TEST_F(CommandLine, LastValueWinsAndQuotesStay) {
  SetParams({"-x=1", "/X:\"a b\""});
  EXPECT_EQ(GetCmdSwitchValue("x", false), "\"a b\"");
  EXPECT_EQ(GetCmdSwitchValue("x", true), "1");
  SetParams({});
  EXPECT_FALSE(HasCmdSwitch("x", false));
  EXPECT_EQ(GetCmdSwitchValue("x", false), "");
}

TEST(FindWindowByCaption, PrefersPrefixThenSuffixThenExact) {
  CaptionWindow exact("TvFindTest");
  CaptionWindow suffixed("doc - TvFindTest");
  CaptionWindow prefixed("TvFindTest - doc");
  EXPECT_EQ(FindWindowByCaption("TvFindTest", "TvFindTest - ", " - TvFindTest"), prefixed.Handle());
  EXPECT_EQ(FindWindowByCaption("TvFindTest", "", " - TvFindTest"), suffixed.Handle());
  EXPECT_EQ(FindWindowByCaption("TvFindTest", "", ""), exact.Handle());
  EXPECT_EQ(FindWindowByCaption("tvfindtest", "", ""), nullptr);
  EXPECT_EQ(FindWindowByCaption("", "", ""), nullptr);
}

namespace {

// Console commands with a temporary folder of their own (TMP), so that a test sees every file
// the runner leaves there and no other program's run can touch its files.
class RunConsoleCommandTest : public ::testing::Test {
protected:
  void SetUp() override {
    char previous[MAX_PATH] = {};
    hadTmp_ = GetEnvironmentVariableA("TMP", previous, MAX_PATH) > 0;
    previousTmp_ = previous;
    SetEnvironmentVariableA("TMP", temp.Path().c_str());
  }
  void TearDown() override {
    SetEnvironmentVariableA("TMP", hadTmp_ ? previousTmp_.c_str() : nullptr);
  }

  // The contents of the files the runner left in its temporary folder.
  std::vector<std::string> LeftInTemp() const {
    std::vector<std::string> contents;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA(temp.File("*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return contents;
    do {
      if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        contents.push_back(temp.Read(fd.cFileName));
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    return contents;
  }
  // A batch file that waits until the file named by its argument exists.
  std::string WaitBatch() const {
    return Written(dir, "wait.bat", "@echo off\r\n:wait\r\nif not exist \"%1\" goto wait\r\n");
  }

  testsupport::TempFolder temp;  // stands in for the system's temporary folder
  testsupport::TempFolder dir;   // the commands' own files

private:
  bool hadTmp_ = false;
  std::string previousTmp_;
};

}  // namespace

TEST_F(RunConsoleCommandTest, CapturesTheOutputAndRemovesTheFile) {
  std::string out = RunConsoleCommand("echo Tarvoline says hi", 20000, false);
  EXPECT_NE(out.find("Tarvoline says hi"), std::string::npos) << out;
  EXPECT_TRUE(LeftInTemp().empty());
}

TEST_F(RunConsoleCommandTest, ConvertsOemTextUnlessKept) {
  // a-umlaut and a frame corner in the OEM code page 850/437: the corner has no ANSI form
  Written(dir, "oem.txt", "\x84\xC9");
  std::string command = "type " + dir.Path() + "oem.txt";
  EXPECT_EQ(RunConsoleCommand(command, 20000, true), "\x84\xC9");
  EXPECT_EQ(RunConsoleCommand(command, 20000, false), "\xE4?") << "no look-alike";
}

TEST_F(RunConsoleCommandTest, ReturnsAtTheTimeOutAndRemovesTheFileOnceTheCommandHasEnded) {
  // The command ends only once the test lets it, and then leaves a mark of its own.
  const std::string go = dir.File("go.flag"), finished = dir.File("finished.flag");
  const std::string finish = Written(dir, "finish.bat", "@echo finished>" + finished + "\r\n");
  auto run = std::async(std::launch::async, [&] {
    return RunConsoleCommand("call " + WaitBatch() + " " + go + " & call " + finish, 100, false);
  });
  const bool returned = run.wait_for(std::chrono::seconds(60)) == std::future_status::ready;
  Written(dir, "go.flag", "");
  ASSERT_TRUE(returned) << "the runner waits for the command beyond its time-out";
  EXPECT_EQ(run.get(), "");
  for (int i = 0; i < 600 && !(FileExists(finished) && LeftInTemp().empty()); ++i) Sleep(100);
  EXPECT_TRUE(FileExists(finished)) << "the command went on";
  EXPECT_TRUE(LeftInTemp().empty()) << "the output file stays after the command has ended";
}

TEST_F(RunConsoleCommandTest, ACommandStillRunningAfterItsTimeOutLeavesTheNextOutputAlone) {
  // The first command holds its output open until the second has run to its end.
  const std::string started = dir.File("started.flag"), done = dir.File("done.flag");
  const std::string first = Written(
      dir, "first.bat",
      "@echo eins\r\n@echo.>" + started + "\r\n@call " + WaitBatch() + " " + done + "\r\n");
  RunConsoleCommand(first, 100, true);
  for (int i = 0; i < 600 && !FileExists(started); ++i) Sleep(100);
  const bool firstRuns = FileExists(started);
  const std::string second = firstRuns ? RunConsoleCommand("echo zwei", 60000, true) : "";
  Written(dir, "done.flag", "");  // the first command ends
  ASSERT_TRUE(firstRuns);
  EXPECT_EQ(second, "zwei \r\n");
}

TEST_F(RunConsoleCommandTest, RefusesOnlyTheOldInterpreter) {
  // Both would answer if they ran; only the one named exactly like the old interpreter may not.
  Written(dir, "command.bat", "@echo old\r\n");
  Written(dir, "commandly.bat", "@echo new\r\n");
  char previous[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryA(dir.Path().c_str()));
  std::string refused = RunConsoleCommand("  Command /c echo x", 20000, false);
  std::string ran = RunConsoleCommand("commandly", 20000, false);
  std::string withExtension = RunConsoleCommand("command.bat", 20000, false);
  SetCurrentDirectoryA(previous);
  EXPECT_EQ(refused, "");
  EXPECT_EQ(ran, "new\r\n");
  EXPECT_EQ(withExtension, "");  // "command.com" is the old interpreter too
}

TEST_F(RunConsoleCommandTest, ATemporaryFolderTheCodePageCannotHoldIsNeverTakenForItsLookAlike) {
  const std::string lookAlike = temp.File("Omega");
  CreateDirectoryA(lookAlike.c_str(), nullptr);
  const std::wstring greek = AnsiToWide(temp.Path()) + L"\u03A9mega";
  SetEnvironmentVariableW(L"TMP", greek.c_str());
  EXPECT_EQ(TempFolder(), temp.File("?mega\\")) << "a missing folder has no short form";
  EXPECT_EQ(RunConsoleCommand("echo hi", 20000, false), "");
  ASSERT_TRUE(CreateDirectoryW(greek.c_str(), nullptr));
  const std::string shortForm = TempFolder();
  ASSERT_TRUE(CreateDirectoryA((shortForm + "mark").c_str(), nullptr)) << shortForm;
  EXPECT_TRUE(RemoveDirectoryW((greek + L"\\mark").c_str())) << "the short form names the folder";
  EXPECT_NE(RunConsoleCommand("echo hi", 20000, false).find("hi"), std::string::npos);
  EXPECT_TRUE(RemoveDirectoryA(lookAlike.c_str())) << "the look-alike got a file";
}

TEST(SystemNames, UserAndComputerAreKnown) {
  EXPECT_FALSE(GetCurrentUserName().empty());
  EXPECT_FALSE(GetLocalComputerName().empty());
  EXPECT_TRUE(IsWin2000OrLater());
  EXPECT_TRUE(IsWinXPOrLater());
}

TEST(IsAppThemedSafe, AnswersLikeTheThemeLibrary) {
  HMODULE lib = LoadLibraryA("UxTheme.dll");
  ASSERT_NE(lib, nullptr);
  auto isAppThemed = reinterpret_cast<BOOL(WINAPI*)()>(
      reinterpret_cast<void*>(GetProcAddress(lib, "IsAppThemed")));
  ASSERT_NE(isAppThemed, nullptr);
  EXPECT_EQ(IsAppThemedSafe(), isAppThemed() != FALSE);
  FreeLibrary(lib);
}

TEST(ApplyLocalePrefix, SelectsTheCodedLocale) {
  std::string format = "GE$dddd, d. mmmm yyyy";
  TFormatSettings settings;
  ApplyLocalePrefix(format, settings);
  EXPECT_EQ(format, "dddd, d. mmmm yyyy");
  EXPECT_EQ(settings.LongMonthNames[3], "M\xE4rz");
  EXPECT_EQ(settings.LongDayNames[1], "Sonntag");

  format = "am$mmmm";
  ApplyLocalePrefix(format, settings);
  EXPECT_EQ(format, "mmmm");
  EXPECT_EQ(settings.LongMonthNames[3], "March");

  format = "CZ$mmmm";
  ApplyLocalePrefix(format, settings);
  EXPECT_EQ(settings.LongMonthNames[3], "b?ezen") << "neither a look-alike nor another code page";
}

TEST(ApplyLocalePrefix, WithoutPrefixKeepsTheFormatAndUsesTheUserLocale) {
  std::string format = "dd.mm.yyyy";
  TFormatSettings settings;
  ApplyLocalePrefix(format, settings);
  EXPECT_EQ(format, "dd.mm.yyyy");
  EXPECT_EQ(settings.LongMonthNames[1], GetLocaleFormatSettings(LOCALE_USER_DEFAULT).LongMonthNames[1]);
  format = "AM$yyyy";
  ApplyLocalePrefix(format, settings);
  format = "ZZ$yyyy";  // an unknown code selects the user's locale too
  ApplyLocalePrefix(format, settings);
  EXPECT_EQ(format, "yyyy");
  EXPECT_EQ(settings.LongMonthNames[3], GetLocaleFormatSettings(LOCALE_USER_DEFAULT).LongMonthNames[3]);
}

TEST(TimeZone, FormatsTheBias) {
  EXPECT_EQ(FormatTimeZoneBias(0), "+00:00");
  EXPECT_EQ(FormatTimeZoneBias(60), "+01:00");
  EXPECT_EQ(FormatTimeZoneBias(-330), "-05:30");
  EXPECT_EQ(FormatTimeZoneBias(765), "+12:45");
}

TEST(TimeZone, NorthernDaylightSavingInSummer) {
  // Central Europe: daylight from the last Sunday of March, standard from the last of October.
  TIME_ZONE_INFORMATION cet = Zone(-60, Rule(10, 5, 0, 3), Rule(3, 5, 0, 2));
  ExpectBiases(cet, {
      {2026, 1, 15, 12, 60},
      {2026, 7, 15, 12, 120},
      {2026, 3, 29, 1, 60},  // before the switch that day
      {2026, 3, 29, 3, 120},
      {2026, 12, 20, 12, 60},
  });
}

TEST(TimeZone, SouthernDaylightSavingAcrossTheNewYear) {
  // Eastern Australia: standard from the first Sunday of April, daylight from the first of October.
  TIME_ZONE_INFORMATION aest = Zone(-600, Rule(4, 1, 0, 3), Rule(10, 1, 0, 2));
  ExpectBiases(aest, {
      {2026, 1, 15, 12, 660},
      {2026, 7, 15, 12, 600},
      {2026, 12, 15, 12, 660},
  });
}

TEST(TimeZone, MissingWeekFallsBackAndNoRuleMeansStandard) {
  // Week 5 of February 2026 does not exist (four Sundays): the last Sunday, the 22nd, is taken.
  TIME_ZONE_INFORMATION z = Zone(0, Rule(11, 1, 0, 0), Rule(2, 5, 0, 0));
  ExpectBiases(z, {{2026, 2, 21, 12, 0}, {2026, 2, 23, 12, 60}});
  TIME_ZONE_INFORMATION none = Zone(-330, SYSTEMTIME{}, SYSTEMTIME{});
  EXPECT_EQ(GetTimeZoneBiasOf(none, At(2026, 7, 1, 0)), 330);
}

TEST(TimeZone, NowUtcFollowsTheSystemClock) {
  SYSTEMTIME st;
  GetSystemTime(&st);
  EXPECT_NEAR(NowUTC(), SystemTimeToDateTime(st), 5.0 / 86400);
}
