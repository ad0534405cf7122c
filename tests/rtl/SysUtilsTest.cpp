#include <gtest/gtest.h>
#include <windows.h>
#include "rtl/SysUtils.h"
#include "support/BuiltProgram.h"
#include "support/TempFolder.h"

TEST(AnsiCase, MapsGermanLettersThroughTheLocale) {
  EXPECT_EQ(AnsiUpperCase("\xE4\xF6\xFC" "abc"), "\xC4\xD6\xDC" "ABC");
  EXPECT_EQ(AnsiLowerCase("\xC4Z"), "\xE4z");
  EXPECT_EQ(AnsiUpperChar('\xE9'), '\xC9');
  EXPECT_EQ(UpperCase("\xE4" "a"), "\xE4" "A");  // ASCII only
}

TEST(AnsiCase, ComparesWithAndWithoutCase) {
  EXPECT_EQ(AnsiCompareText("\xC4pfel", "\xE4PFEL"), 0);
  EXPECT_NE(AnsiCompareStr("\xC4pfel", "\xE4pfel"), 0);
  EXPECT_LT(AnsiCompareText("a", "B"), 0);
  EXPECT_TRUE(SameText("Abc", "aBC"));
  EXPECT_FALSE(SameText("Abc", "Abcd"));
  EXPECT_FALSE(SameText("Abcd", "Abc"));
  EXPECT_FALSE(SameText("\xE4", "\xC4")) << "ASCII only, as UpperCase";
  EXPECT_FALSE(SameText("a@", "A`")) << "only letters fold";
  EXPECT_TRUE(SameText("", ""));
}

TEST(Trimming, RemovesControlCharactersAndBlanksAtTheEnds) {
  EXPECT_EQ(Trim(" \t a b \r\n"), "a b");
  EXPECT_EQ(TrimLeft("  x "), "x ");
  EXPECT_EQ(TrimRight("  x \x01"), "  x");
  EXPECT_EQ(Trim("   "), "");
}

TEST(Integers, ParseDecimalHexSignsAndRejectJunk) {
  int v = 0;
  EXPECT_TRUE(TryStrToInt(" 42 ", v));
  EXPECT_EQ(v, 42);
  EXPECT_TRUE(TryStrToInt("-2147483648", v));
  EXPECT_EQ(v, INT32_MIN);
  EXPECT_TRUE(TryStrToInt("$FF", v));
  EXPECT_EQ(v, 255);
  EXPECT_TRUE(TryStrToInt("0x10", v));
  EXPECT_EQ(v, 16);
  EXPECT_FALSE(TryStrToInt("2147483648", v));
  EXPECT_FALSE(TryStrToInt("12a", v));
  EXPECT_FALSE(TryStrToInt("", v));
  EXPECT_FALSE(TryStrToInt("-", v));
  EXPECT_EQ(StrToIntDef("x", 7), 7);
  EXPECT_THROW(StrToInt("x"), EConvertError);
  EXPECT_EQ(IntToHex(255, 4), "00FF");
}

TEST(Floats, UseTheGermanDecimalComma) {
  EXPECT_EQ(DecimalSeparator(), ',');
  EXPECT_EQ(FloatToStr(1.5), "1,5");
  double d = 0;
  EXPECT_TRUE(TryStrToFloat("2,25", d));
  EXPECT_DOUBLE_EQ(d, 2.25);
  EXPECT_FALSE(TryStrToFloat("2.25", d));
  EXPECT_DOUBLE_EQ(StrToFloatDef("x", 3.5), 3.5);
}

TEST(FileNames, SplitIntoFolderNameAndExtension) {
  EXPECT_EQ(ExtractFilePath("C:\\a\\b.txt"), "C:\\a\\");
  EXPECT_EQ(ExtractFileName("C:\\a\\b.txt"), "b.txt");
  EXPECT_EQ(ExtractFileExt("C:\\a.d\\b"), "");
  EXPECT_EQ(ExtractFileExt("b.tar.gz"), ".gz");
  EXPECT_EQ(ChangeFileExt("C:\\a\\b.txt", ".bak"), "C:\\a\\b.bak");
  EXPECT_EQ(ChangeFileExt("C:\\a.d\\b", ".bak"), "C:\\a.d\\b.bak");
  EXPECT_EQ(IncludeTrailingBackslash("C:\\a"), "C:\\a\\");
  EXPECT_EQ(ExcludeTrailingBackslash("C:\\a\\"), "C:\\a");
}

TEST(WideToAnsiExact, TakesWhatTheCodePageHoldsAndMarksTheRestWithoutLookAlikes) {
  struct Case {
    const wchar_t* wide;
    const char* ansi;
    bool exact;
  } cases[] = {
      {L"\u00C4rger \u00FCber \u00DF.txt", "\xC4rger \xFC" "ber \xDF.txt", true},
      {L"Preis in \u20AC.txt", "Preis in \x80.txt", true},
      {L"", "", true},
      {L"\u03A9mega.txt", "?mega.txt", false},
      {L"\u03A3igma-neu.txt", "?igma-neu.txt", false},
      {L"\u0424\u0430\u0439\u043B.txt", "????.txt", false},
      {L"a\u00A0b\u2002c", "a\xA0" "b?c", false},  // an en space is no blank
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ansi);
    std::string ansi = "left over";
    EXPECT_EQ(WideToAnsiExact(c.wide, ansi), c.exact);
    EXPECT_EQ(ansi, c.ansi);
    EXPECT_EQ(WideToAnsi(c.wide), c.ansi) << "the plain conversion has no look-alikes either";
  }
}

// The OEM code page of a German Windows is 850; UTF-8 stands for a system whose ANSI code page
// is UTF-8, where only half of a surrogate pair has no exact form.
TEST(WideToCodePageExact, OemAndUtf8TakeNoLookAlikesNorHalfAPair) {
  struct Case {
    unsigned codePage;
    const wchar_t* wide;
    const char* text;
    bool exact;
  } cases[] = {
      {CP_OEMCP, L"\u00E4\u00F6\u00FC\u2554", "\x84\x94\x81\xC9", true},
      {CP_OEMCP, L"\u0160\u20AC", "??", false},  // not "S" and "E"
      {CP_UTF8, L"\u00E4\u2192\U0001F600", "\xC3\xA4\xE2\x86\x92\xF0\x9F\x98\x80", true},
      {CP_UTF8, L"a\xD800" L"b\xDC00", "a?b?", false},  // halves of a pair, each alone
      {CP_UTF8, L"\xDC00\xD800", "??", false},         // in the wrong order
      {CP_ACP, L"a\xD800" L"b", "a?b", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::string text = "left over";
    EXPECT_EQ(WideToCodePageExact(c.codePage, c.wide, text), c.exact);
    EXPECT_EQ(text, c.text);
  }
  EXPECT_EQ(WideToAnsi(L"\u03A9mega"), "?mega") << "the plain conversion takes no look-alike";
  EXPECT_EQ(AnsiToOem("\xE4\x8A"), "\x84?");
  EXPECT_EQ(OemToAnsi("\x84\xC9"), "\xE4?");
}

// A Windows set to "UTF-8 for worldwide language support"; the system itself stays at 1252.
TEST(WideToCodePageExact, AnAnsiCodePageOfUtf8WritesUtf8) {
  struct Utf8System {
    Utf8System() { SetAnsiCodePageForTests(CP_UTF8); }
    ~Utf8System() { SetAnsiCodePageForTests(0); }
  } utf8System;
  std::string text;
  EXPECT_TRUE(WideToAnsiExact(L"\u03A9\u2192", text));
  EXPECT_EQ(text, "\xCE\xA9\xE2\x86\x92");
  EXPECT_FALSE(WideToCodePageExact(CP_ACP, L"a\xD800", text));
  EXPECT_EQ(text, "a?");
}

TEST(FileNames, ExpandingInAFolderTheCodePageCannotHoldNamesNoLookAlike) {
  testsupport::TempFolder folder;
  folder.Write(std::wstring(L"\u03A9\\a.txt"), "");
  CreateDirectoryA(folder.File("O").c_str(), nullptr);
  wchar_t previous[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryW((AnsiToWide(folder.Path()) + L"\u03A9").c_str()));
  const std::string expanded = ExpandFileName("a.txt");
  SetCurrentDirectoryW(previous);
  EXPECT_EQ(expanded, folder.File("?\\a.txt"));
  EXPECT_EQ(ExpandFileName(folder.File("O\\..\\b.txt")), folder.File("b.txt"));
}

TEST(FileNames, SystemNamesTheCodePageCannotHoldTakeTheExactShortFormOrNone) {
  testsupport::TempFolder folder;
  CreateDirectoryA(folder.File("Omega").c_str(), nullptr);
  folder.Write(std::wstring(L"\u03A9mega\\a.txt"), "greek");
  const std::wstring greek = AnsiToWide(folder.Path()) + L"\u03A9mega\\";
  std::string name;
  EXPECT_TRUE(WideToFileNameExact(AnsiToWide(folder.File("caf\xE9.txt")), name));
  EXPECT_EQ(name, folder.File("caf\xE9.txt"));
  EXPECT_FALSE(WideToFileNameExact(greek + L"b.txt", name)) << "a missing file has no short form";
  EXPECT_EQ(name, folder.File("?mega\\b.txt"));
  ASSERT_TRUE(WideToFileNameExact(greek + L"a.txt", name));
  EXPECT_EQ(TFileStream(name, fmOpenRead).ReadAll(), "greek") << name;
  CreateDirectoryA(folder.File("a long name").c_str(), nullptr);
  EXPECT_EQ(ShortFileName(folder.File("a long name")).find(' '), std::string::npos);
  EXPECT_EQ(ShortFileName(folder.File("no such name")), folder.File("no such name"));
}

TEST(FileNames, TheProgramIsWhereTheBuildPutIt) {
  EXPECT_EQ(ProgramFile(), BuiltProgramPath());
  EXPECT_EQ(ProgramFolder(), BuiltProgramFolder());
}

TEST(LocaleTexts, TakeNoLookAlikes) {
  EXPECT_EQ(GetLocaleText(1031, LOCALE_SMONTHNAME3), "M\xE4rz");
  EXPECT_EQ(GetLocaleText(1032, LOCALE_SMONTHNAME1), "??????????");
  EXPECT_EQ(GetLocaleText(1031, 0xFFFF), "");
}

TEST(Floats, WriteExponentsWithoutPlusOrLeadingZerosAndReadThemBack) {
  EXPECT_EQ(FloatToStr(1e20), "1E20");
  EXPECT_EQ(FloatToStr(-1.5e-7), "-1,5E-7");
  EXPECT_EQ(FloatToStr(1e-100), "1E-100");
  double d = 0;
  EXPECT_TRUE(TryStrToFloat(FloatToStr(-1.5e-7), d));
  EXPECT_DOUBLE_EQ(d, -1.5e-7);
}

TEST(Floats, RejectHexadecimalNotation) {
  double d = 0;
  EXPECT_FALSE(TryStrToFloat("0x10", d));
  EXPECT_FALSE(TryStrToFloat("0X1p3", d));
}
