// String, number and file-name helpers of the run-time library. Case mapping and
// comparison follow the system's ANSI code page and user locale.
#pragma once
#include <cstdint>
#include <string>
#include "rtl/Exception.h"

class EConvertError : public Exception {
public:
  using Exception::Exception;
};

// Raised when a value or structure is outside what an operation allows.
class ERangeError : public Exception {
public:
  using Exception::Exception;
};

// Locale-aware ANSI case mapping ("ä" <-> "Ä" in code page 1252).
std::string AnsiUpperCase(const std::string& S);
std::string AnsiLowerCase(const std::string& S);
char AnsiUpperChar(char C);
char AnsiLowerChar(char C);
// <0, 0, >0 by the user locale; Text ignores case.
int AnsiCompareStr(const std::string& S1, const std::string& S2);
int AnsiCompareText(const std::string& S1, const std::string& S2);
bool AnsiSameText(const std::string& S1, const std::string& S2);
// Between ANSI bytes and wide text in the system's ANSI code page, whole lengths (a 0 byte is
// converted like any other); what has no ANSI form becomes "?", never a look-alike.
std::wstring AnsiToWide(const std::string& S);
// The same from another code page (CP_OEMCP, CP_UTF8, ...); what is broken there becomes U+FFFD.
std::wstring CodePageToWide(unsigned CodePage, const std::string& S);
std::string WideToAnsi(const std::wstring& S);
// Wide text in the ANSI code page with no stand-ins: false when a character has no exact ANSI
// form (WideToAnsi would make Omega's capital letter an "O" and so name another file). Ansi
// then holds "?" in its place: no file name can have one, so it may be shown, never opened.
// Where the ANSI code page is UTF-8, an unpaired surrogate is such a character.
bool WideToAnsiExact(const std::wstring& S, std::string& Ansi);
// The same into another code page (CP_OEMCP for the DOS text of a console, CP_UTF8, ...).
bool WideToCodePageExact(unsigned CodePage, const std::wstring& S, std::string& Text);
// Makes WideToCodePageExact take CodePage for the system's ANSI code page (0: the system's own).
void SetAnsiCodePageForTests(unsigned CodePage);
// Between the ANSI and the OEM code page, whole lengths; a character the target lacks becomes
// "?" as in WideToAnsiExact.
std::string AnsiToOem(const std::string& S);
std::string OemToAnsi(const std::string& S);

// ASCII-only case mapping and comparison.
std::string UpperCase(const std::string& S);
std::string LowerCase(const std::string& S);
int CompareText(const std::string& S1, const std::string& S2);
bool SameText(const std::string& S1, const std::string& S2);

// Remove characters up to and including the blank from the ends.
std::string Trim(const std::string& S);
std::string TrimLeft(const std::string& S);
std::string TrimRight(const std::string& S);
// S in Quote characters, inner quotes doubled.
std::string AnsiQuotedStr(const std::string& S, char Quote);

// Integers: decimal with optional sign; "$" or "0x" for hexadecimal; blanks around allowed.
std::string IntToStr(int64_t Value);
std::string IntToHex(uint64_t Value, int Digits);
bool TryStrToInt(const std::string& S, int& Value);
bool TryStrToInt64(const std::string& S, int64_t& Value);
int StrToInt(const std::string& S);  // raises EConvertError
int StrToIntDef(const std::string& S, int Default);
int64_t StrToInt64Def(const std::string& S, int64_t Default);

// A locale's text (LOCALE_S...), "?" for what the code page lacks; empty when there is none.
std::string GetLocaleText(unsigned long Locale, unsigned long Type);

// Floating point with the user locale's decimal separator.
char DecimalSeparator();
std::string FloatToStr(double Value);
bool TryStrToFloat(const std::string& S, double& Value);
double StrToFloatDef(const std::string& S, double Default);

// File names with backslashes; ANSI file-system calls.
bool FileExists(const std::string& FileName);
bool DirectoryExists(const std::string& Dir);
std::string ExtractFilePath(const std::string& FileName);  // with the trailing backslash
std::string ExtractFileName(const std::string& FileName);
std::string ExtractFileExt(const std::string& FileName);   // with the dot
std::string ChangeFileExt(const std::string& FileName, const std::string& Ext);
std::string IncludeTrailingBackslash(const std::string& Dir);
std::string ExcludeTrailingBackslash(const std::string& Dir);
// The full name against the current folder (FileName itself when there is none); a character
// of the current folder the code page lacks shows as in WideToAnsiExact, so no file is named.
std::string ExpandFileName(const std::string& FileName);
// As ExpandFileName; false when the full name is not exact or cannot be made.
bool ExpandFileNameExact(const std::string& FileName, std::string& FullName);
// A file name the system handed in wide, in ANSI: exact, else its short (8.3) form where that
// is exact; false when neither is, FileName then as in WideToAnsiExact.
bool WideToFileNameExact(const std::wstring& Name, std::string& FileName);
// The short form of an existing file or folder where the system has an exact one, else FileName.
std::string ShortFileName(const std::string& FileName);
// The running program's file as in WideToFileNameExact: with "?" when it has no exact form,
// so nothing beside it is found rather than another folder's files.
std::string ProgramFile();
// The folder of the running program, with its trailing backslash.
std::string ProgramFolder();
