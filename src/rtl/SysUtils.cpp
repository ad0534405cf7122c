#include "rtl/SysUtils.h"
#include <windows.h>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {
std::string MapCase(const std::string& S, bool upper) {
  std::string r = S;
  if (!r.empty()) {
    if (upper) CharUpperBuffA(r.data(), static_cast<DWORD>(r.size()));
    else CharLowerBuffA(r.data(), static_cast<DWORD>(r.size()));
  }
  return r;
}

int Compare(const std::string& a, const std::string& b, DWORD flags) {
  int r = CompareStringA(LOCALE_USER_DEFAULT, flags, a.data(), static_cast<int>(a.size()),
                         b.data(), static_cast<int>(b.size()));
  return r - CSTR_EQUAL;
}

bool IsTrimmed(unsigned char c) { return c <= ' '; }

bool ParseInt(const std::string& S, int64_t& Value, int64_t lo, int64_t hi) {
  std::string s = Trim(S);
  if (s.empty()) return false;
  size_t i = 0;
  bool negative = false;
  if (s[i] == '+' || s[i] == '-') negative = s[i++] == '-';
  int base = 10;
  if (i < s.size() && s[i] == '$') { base = 16; ++i; }
  else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) { base = 16; i += 2; }
  if (i >= s.size()) return false;
  uint64_t magnitude = 0;
  for (; i < s.size(); ++i) {
    int d;
    unsigned char c = s[i];
    if (c >= '0' && c <= '9') d = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return false;
    if (magnitude > (UINT64_MAX - d) / base) return false;
    magnitude = magnitude * base + d;
  }
  if (base == 16 && !negative && hi == INT32_MAX && magnitude <= UINT32_MAX) {
    Value = static_cast<int32_t>(static_cast<uint32_t>(magnitude));  // "$FFFFFFFF" is -1
    return true;
  }
  if (negative) {
    if (magnitude > static_cast<uint64_t>(-(lo + 1)) + 1) return false;
    Value = -static_cast<int64_t>(magnitude - 1) - 1;
  } else {
    if (magnitude > static_cast<uint64_t>(hi)) return false;
    Value = static_cast<int64_t>(magnitude);
  }
  return true;
}
}  // namespace

std::string AnsiUpperCase(const std::string& S) { return MapCase(S, true); }
std::string AnsiLowerCase(const std::string& S) { return MapCase(S, false); }
char AnsiUpperChar(char C) { char b[1] = {C}; CharUpperBuffA(b, 1); return b[0]; }
char AnsiLowerChar(char C) { char b[1] = {C}; CharLowerBuffA(b, 1); return b[0]; }
int AnsiCompareStr(const std::string& S1, const std::string& S2) { return Compare(S1, S2, 0); }
int AnsiCompareText(const std::string& S1, const std::string& S2) { return Compare(S1, S2, NORM_IGNORECASE); }
bool AnsiSameText(const std::string& S1, const std::string& S2) { return AnsiCompareText(S1, S2) == 0; }

std::wstring CodePageToWide(unsigned CodePage, const std::string& S) {
  if (S.empty()) return std::wstring();
  const int size = static_cast<int>(S.size());
  const int length = MultiByteToWideChar(CodePage, 0, S.data(), size, nullptr, 0);
  std::wstring wide(length, L'\0');
  MultiByteToWideChar(CodePage, 0, S.data(), size, wide.data(), length);
  return wide;
}

std::wstring AnsiToWide(const std::string& S) { return CodePageToWide(CP_ACP, S); }

std::string WideToAnsi(const std::wstring& S) {
  std::string text;
  WideToAnsiExact(S, text);
  return text;
}

bool WideToAnsiExact(const std::wstring& S, std::string& Ansi) {
  return WideToCodePageExact(CP_ACP, S, Ansi);
}

namespace {
UINT AnsiCodePageForTests = 0;

UINT ResolvedCodePage(UINT CodePage) {
  if (CodePage == CP_ACP) return AnsiCodePageForTests ? AnsiCodePageForTests : GetACP();
  if (CodePage == CP_OEMCP) return GetOEMCP();
  return CodePage;
}

bool IsHighSurrogate(wchar_t C) { return C >= 0xD800 && C <= 0xDBFF; }
bool IsLowSurrogate(wchar_t C) { return C >= 0xDC00 && C <= 0xDFFF; }

// The text with "?" for each half of a surrogate pair that stands alone.
std::wstring MarkUnpairedSurrogates(std::wstring S) {
  for (size_t i = 0; i < S.size(); ++i) {
    if (IsHighSurrogate(S[i]) && i + 1 < S.size() && IsLowSurrogate(S[i + 1])) ++i;
    else if (IsHighSurrogate(S[i]) || IsLowSurrogate(S[i])) S[i] = L'?';
  }
  return S;
}

// Whole lengths: a 0 character is converted like any other. UsedDefault, when given, tells
// whether a character became the stand-in "?" (UTF-8 takes no stand-in).
int ConvertWide(UINT CodePage, DWORD Flags, const std::wstring& S, std::string& Text,
                BOOL* UsedDefault = nullptr) {
  const char* standIn = UsedDefault ? "?" : nullptr;
  const int size = static_cast<int>(S.size());
  const int length = WideCharToMultiByte(CodePage, Flags, S.data(), size, nullptr, 0, standIn, nullptr);
  if (length <= 0) return 0;
  Text.assign(length, '\0');
  return WideCharToMultiByte(CodePage, Flags, S.data(), size, Text.data(), length, standIn, UsedDefault);
}

// UTF-8 holds every character, but not half of a surrogate pair: the system would write
// U+FFFD for it without a word. The system takes the flag that says so only with CP_UTF8
// itself, not with CP_ACP standing for it.
bool WideToUtf8Exact(const std::wstring& S, std::string& Text) {
  if (ConvertWide(CP_UTF8, WC_ERR_INVALID_CHARS, S, Text) > 0) return true;
  ConvertWide(CP_UTF8, 0, MarkUnpairedSurrogates(S), Text);
  return false;
}
}  // namespace

void SetAnsiCodePageForTests(unsigned CodePage) { AnsiCodePageForTests = CodePage; }

bool WideToCodePageExact(unsigned CodePage, const std::wstring& S, std::string& Text) {
  Text.clear();
  if (S.empty()) return true;
  if (ResolvedCodePage(CodePage) == CP_UTF8) return WideToUtf8Exact(S, Text);
  BOOL usedDefault = FALSE;
  return ConvertWide(CodePage, WC_NO_BEST_FIT_CHARS, S, Text, &usedDefault) > 0 && !usedDefault;
}

std::string AnsiToOem(const std::string& S) {
  std::string text;
  WideToCodePageExact(CP_OEMCP, AnsiToWide(S), text);
  return text;
}

std::string OemToAnsi(const std::string& S) {
  std::string text;
  WideToAnsiExact(CodePageToWide(CP_OEMCP, S), text);
  return text;
}

std::string UpperCase(const std::string& S) {
  std::string r = S;
  for (char& c : r) if (c >= 'a' && c <= 'z') c -= 32;
  return r;
}

std::string LowerCase(const std::string& S) {
  std::string r = S;
  for (char& c : r) if (c >= 'A' && c <= 'Z') c += 32;
  return r;
}

int CompareText(const std::string& S1, const std::string& S2) {
  std::string a = UpperCase(S1), b = UpperCase(S2);
  return a < b ? -1 : (a == b ? 0 : 1);
}

// Called for every name lookup of the windows' components: no copies.
bool SameText(const std::string& S1, const std::string& S2) {
  if (S1.size() != S2.size()) return false;
  auto upper = [](char C) { return C >= 'a' && C <= 'z' ? static_cast<char>(C - 32) : C; };
  for (size_t i = 0; i < S1.size(); ++i)
    if (upper(S1[i]) != upper(S2[i])) return false;
  return true;
}

std::string Trim(const std::string& S) { return TrimLeft(TrimRight(S)); }

std::string TrimLeft(const std::string& S) {
  size_t i = 0;
  while (i < S.size() && IsTrimmed(S[i])) ++i;
  return S.substr(i);
}

std::string TrimRight(const std::string& S) {
  size_t n = S.size();
  while (n > 0 && IsTrimmed(S[n - 1])) --n;
  return S.substr(0, n);
}

std::string AnsiQuotedStr(const std::string& S, char Quote) {
  std::string r(1, Quote);
  for (char c : S) {
    r += c;
    if (c == Quote) r += c;
  }
  r += Quote;
  return r;
}

std::string IntToStr(int64_t Value) { return std::to_string(Value); }

std::string IntToHex(uint64_t Value, int Digits) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%0*llX", Digits, static_cast<unsigned long long>(Value));
  return buf;
}

bool TryStrToInt(const std::string& S, int& Value) {
  int64_t v;
  if (!ParseInt(S, v, INT32_MIN, INT32_MAX)) return false;
  Value = static_cast<int>(v);
  return true;
}

bool TryStrToInt64(const std::string& S, int64_t& Value) {
  return ParseInt(S, Value, INT64_MIN, INT64_MAX);
}

int StrToInt(const std::string& S) {
  int v;
  if (!TryStrToInt(S, v)) throw EConvertError("'" + S + "' is not a valid integer value");
  return v;
}

int StrToIntDef(const std::string& S, int Default) {
  int v;
  return TryStrToInt(S, v) ? v : Default;
}

int64_t StrToInt64Def(const std::string& S, int64_t Default) {
  int64_t v;
  return TryStrToInt64(S, v) ? v : Default;
}

std::string GetLocaleText(unsigned long Locale, unsigned long Type) {
  const int needed = GetLocaleInfoW(Locale, Type, nullptr, 0);
  if (needed <= 1) return {};
  std::wstring text(needed, L'\0');
  const int length = GetLocaleInfoW(Locale, Type, text.data(), needed);
  if (length <= 1) return {};
  text.resize(length - 1);
  return WideToAnsi(text);
}

char DecimalSeparator() {
  const std::string separator = GetLocaleText(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL);
  return separator.empty() ? '.' : separator[0];
}

namespace {
// "1e+20" -> "1E20", "1e-05" -> "1E-5": the exponent as settings files have always held it.
std::string PlainExponent(const std::string& S) {
  size_t e = S.find('e');
  if (e == std::string::npos) return S;
  size_t digits = e + 1;
  std::string sign = S[digits] == '-' ? "-" : "";
  if (S[digits] == '+' || S[digits] == '-') ++digits;
  while (digits + 1 < S.size() && S[digits] == '0') ++digits;
  return S.substr(0, e) + "E" + sign + S.substr(digits);
}
}  // namespace

std::string FloatToStr(double Value) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", Value);
  std::string r = PlainExponent(buf);
  char sep = DecimalSeparator();
  for (char& c : r) if (c == '.') c = sep;
  return r;
}

bool TryStrToFloat(const std::string& S, double& Value) {
  std::string s = Trim(S);
  if (s.empty()) return false;
  char sep = DecimalSeparator();
  for (char& c : s) {
    if (c == sep) c = '.';
    else if (c == '.') return false;  // only the locale's separator is accepted
    else if (c == 'x' || c == 'X') return false;  // no hexadecimal floating point
  }
  char* end = nullptr;
  errno = 0;
  double v = std::strtod(s.c_str(), &end);
  if (end != s.c_str() + s.size() || errno == ERANGE || !std::isfinite(v)) return false;
  Value = v;
  return true;
}

double StrToFloatDef(const std::string& S, double Default) {
  double v;
  return TryStrToFloat(S, v) ? v : Default;
}

bool FileExists(const std::string& FileName) {
  DWORD a = GetFileAttributesA(FileName.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& Dir) {
  DWORD a = GetFileAttributesA(Dir.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {
size_t LastDelimiter(const std::string& S, const char* delims) {
  return S.find_last_of(delims);
}
}  // namespace

std::string ExtractFilePath(const std::string& FileName) {
  size_t p = LastDelimiter(FileName, "\\:/");
  return p == std::string::npos ? std::string() : FileName.substr(0, p + 1);
}

std::string ExtractFileName(const std::string& FileName) {
  size_t p = LastDelimiter(FileName, "\\:/");
  return p == std::string::npos ? FileName : FileName.substr(p + 1);
}

std::string ExtractFileExt(const std::string& FileName) {
  size_t p = LastDelimiter(FileName, ".\\:/");
  return (p == std::string::npos || FileName[p] != '.') ? std::string() : FileName.substr(p);
}

std::string ChangeFileExt(const std::string& FileName, const std::string& Ext) {
  size_t p = LastDelimiter(FileName, ".\\:/");
  if (p == std::string::npos || FileName[p] != '.') return FileName + Ext;
  return FileName.substr(0, p) + Ext;
}

std::string IncludeTrailingBackslash(const std::string& Dir) {
  return (!Dir.empty() && Dir.back() == '\\') ? Dir : Dir + "\\";
}

std::string ExcludeTrailingBackslash(const std::string& Dir) {
  return (!Dir.empty() && Dir.back() == '\\') ? Dir.substr(0, Dir.size() - 1) : Dir;
}

bool ExpandFileNameExact(const std::string& FileName, std::string& FullName) {
  FullName = FileName;
  // Wide: the ANSI call gives the system's look-alike of a current folder the code page
  // cannot hold, which may well be another existing folder.
  const std::wstring name = AnsiToWide(FileName);
  const DWORD needed = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return false;
  std::wstring full(needed, L'\0');
  const DWORD length = GetFullPathNameW(name.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) return false;
  full.resize(length);
  return WideToAnsiExact(full, FullName);
}

std::string ExpandFileName(const std::string& FileName) {
  std::string full;
  ExpandFileNameExact(FileName, full);
  return full;
}

namespace {
// Empty when the file does not exist or has no short form.
std::wstring ShortPathName(const std::wstring& Name) {
  const DWORD needed = GetShortPathNameW(Name.c_str(), nullptr, 0);
  if (needed == 0) return {};
  std::wstring shortName(needed, L'\0');
  const DWORD length = GetShortPathNameW(Name.c_str(), shortName.data(), needed);
  if (length == 0 || length >= needed) return {};
  shortName.resize(length);
  return shortName;
}

std::wstring ModuleFileName() {
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    // A name cut to the buffer comes back as long as the buffer.
    if (length < name.size()) return name.substr(0, length);
    name.resize(name.size() * 2);
  }
}

// False when Name has no short form or that form is not exact either.
bool ExactShortName(const std::wstring& Name, std::string& ShortName) {
  const std::wstring shortWide = ShortPathName(Name);
  return !shortWide.empty() && WideToAnsiExact(shortWide, ShortName);
}
}  // namespace

bool WideToFileNameExact(const std::wstring& Name, std::string& FileName) {
  if (WideToAnsiExact(Name, FileName)) return true;
  std::string shortName;
  if (!ExactShortName(Name, shortName)) return false;
  FileName = shortName;
  return true;
}

std::string ShortFileName(const std::string& FileName) {
  std::string shortName;
  return ExactShortName(AnsiToWide(FileName), shortName) ? shortName : FileName;
}

std::string ProgramFile() {
  std::string file;
  WideToFileNameExact(ModuleFileName(), file);
  return file;
}

std::string ProgramFolder() { return ExtractFilePath(ProgramFile()); }
