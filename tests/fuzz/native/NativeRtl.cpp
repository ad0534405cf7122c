// Native stand-ins for the run-time pieces the fuzzed parsers use. Case mapping follows code
// page 1252 and comparison the byte order of the upper-cased text, which is all the parsers
// rely on; streams go to the C library.
#include <sys/stat.h>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include "foundation/fMain.h"
#include "rtl/Streams.h"
#include "rtl/SysUtils.h"

namespace {
unsigned char Upper1252(unsigned char C) {
  if ((C >= 'a' && C <= 'z') || (C >= 0xE0 && C <= 0xFE && C != 0xF7)) return C - 32;
  switch (C) {
    case 0x9A: return 0x8A;
    case 0x9C: return 0x8C;
    case 0x9E: return 0x8E;
    case 0xFF: return 0x9F;
    default: return C;
  }
}

unsigned char Lower1252(unsigned char C) {
  if ((C >= 'A' && C <= 'Z') || (C >= 0xC0 && C <= 0xDE && C != 0xD7)) return C + 32;
  switch (C) {
    case 0x8A: return 0x9A;
    case 0x8C: return 0x9C;
    case 0x8E: return 0x9E;
    case 0x9F: return 0xFF;
    default: return C;
  }
}

int Sign(int V) { return V < 0 ? -1 : (V > 0 ? 1 : 0); }
bool IsTrimmed(unsigned char C) { return C <= ' '; }
}  // namespace

char AnsiUpperChar(char C) { return static_cast<char>(Upper1252(static_cast<unsigned char>(C))); }
char AnsiLowerChar(char C) { return static_cast<char>(Lower1252(static_cast<unsigned char>(C))); }
std::string AnsiUpperCase(const std::string& S) {
  std::string r = S;
  for (char& c : r) c = AnsiUpperChar(c);
  return r;
}
std::string AnsiLowerCase(const std::string& S) {
  std::string r = S;
  for (char& c : r) c = AnsiLowerChar(c);
  return r;
}
int AnsiCompareStr(const std::string& S1, const std::string& S2) { return Sign(S1.compare(S2)); }
int AnsiCompareText(const std::string& S1, const std::string& S2) {
  return Sign(AnsiUpperCase(S1).compare(AnsiUpperCase(S2)));
}
bool AnsiSameText(const std::string& S1, const std::string& S2) { return AnsiCompareText(S1, S2) == 0; }
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
int CompareText(const std::string& S1, const std::string& S2) { return Sign(UpperCase(S1).compare(UpperCase(S2))); }
bool SameText(const std::string& S1, const std::string& S2) { return CompareText(S1, S2) == 0; }

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
std::string Trim(const std::string& S) { return TrimLeft(TrimRight(S)); }

std::string AnsiQuotedStr(const std::string& S, char Quote) {
  std::string r(1, Quote);
  for (char c : S) {
    r += c;
    if (c == Quote) r += c;
  }
  return r + Quote;
}

std::string IntToStr(int64_t Value) { return std::to_string(Value); }
bool TryStrToInt(const std::string& S, int& Value) {
  const std::string s = Trim(S);
  if (s.empty() || s.size() > 11) return false;
  size_t used = 0;
  try {
    long long v = std::stoll(s, &used, 10);
    if (used != s.size() || v < INT32_MIN || v > INT32_MAX) return false;
    Value = static_cast<int>(v);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}
int StrToIntDef(const std::string& S, int Default) {
  int v;
  return TryStrToInt(S, v) ? v : Default;
}

bool FileExists(const std::string& FileName) {
  struct stat st;
  return stat(FileName.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string ReplaceChar(const std::string& Text, char OldChar, char NewChar) {
  std::string r = Text;
  std::replace(r.begin(), r.end(), OldChar, NewChar);
  return r;
}

std::string ReplaceAll(const std::string& Text, const std::string& Find, const std::string& Replacement,
                       bool IgnoreCase) {
  if (Find.empty()) return Text;
  std::string haystack = Text, needle = Find;
  if (IgnoreCase) {
    haystack = LowerCase(haystack);
    needle = LowerCase(needle);
  }
  std::string r;
  size_t pos = 0;
  for (size_t hit = haystack.find(needle); hit != std::string::npos; hit = haystack.find(needle, pos)) {
    r.append(Text, pos, hit - pos);
    r += Replacement;
    pos = hit + needle.size();
  }
  r.append(Text, pos, std::string::npos);
  return r;
}

// --- streams ---

int64_t TStream::Size() {
  int64_t pos = Seek(0, TSeekOrigin::soCurrent);
  int64_t end = Seek(0, TSeekOrigin::soEnd);
  Seek(pos, TSeekOrigin::soBeginning);
  return end;
}
void TStream::ReadBuffer(void* Buffer, int32_t Count) {
  if (Count != 0 && Read(Buffer, Count) != Count) throw EStreamError("Stream read error");
}
void TStream::WriteBuffer(const void* Buffer, int32_t Count) {
  if (Count != 0 && Write(Buffer, Count) != Count) throw EStreamError("Stream write error");
}
std::string TStream::ReadAll() {
  std::string result;
  char chunk[65536];
  for (int32_t n; (n = Read(chunk, sizeof chunk)) > 0;) result.append(chunk, n);
  return result;
}

TFileStream::TFileStream(const std::string& FileName, uint32_t Mode) : fileName_(FileName) {
  handle_ = std::fopen(FileName.c_str(), Mode == fmCreate ? "w+b" : (Mode & 3) ? "r+b" : "rb");
  if (!handle_) throw EStreamError("Cannot open file \"" + FileName + "\"");
}
TFileStream::~TFileStream() { std::fclose(static_cast<FILE*>(handle_)); }
int32_t TFileStream::Read(void* Buffer, int32_t Count) {
  return Count <= 0 ? 0 : static_cast<int32_t>(std::fread(Buffer, 1, Count, static_cast<FILE*>(handle_)));
}
int32_t TFileStream::Write(const void* Buffer, int32_t Count) {
  return Count <= 0 ? 0 : static_cast<int32_t>(std::fwrite(Buffer, 1, Count, static_cast<FILE*>(handle_)));
}
int64_t TFileStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  int whence = Origin == TSeekOrigin::soBeginning ? SEEK_SET : Origin == TSeekOrigin::soCurrent ? SEEK_CUR : SEEK_END;
  if (std::fseek(static_cast<FILE*>(handle_), Offset, whence) != 0) return -1;
  return std::ftell(static_cast<FILE*>(handle_));
}
void TFileStream::SetSize(int64_t) { throw EStreamError("Stream write error"); }

int32_t TMemoryStream::Read(void* Buffer, int32_t Count) {
  if (Count <= 0 || pos_ >= static_cast<int64_t>(data_.size())) return 0;
  int32_t n = static_cast<int32_t>(std::min<int64_t>(Count, data_.size() - pos_));
  std::memcpy(Buffer, data_.data() + pos_, n);
  pos_ += n;
  return n;
}
int32_t TMemoryStream::Write(const void* Buffer, int32_t Count) {
  if (Count <= 0) return 0;
  if (pos_ + Count > static_cast<int64_t>(data_.size())) data_.resize(pos_ + Count);
  std::memcpy(data_.data() + pos_, Buffer, Count);
  pos_ += Count;
  return Count;
}
int64_t TMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  int64_t base = Origin == TSeekOrigin::soBeginning ? 0
               : Origin == TSeekOrigin::soCurrent   ? pos_
                                                    : static_cast<int64_t>(data_.size());
  pos_ = std::max<int64_t>(0, base + Offset);
  return pos_;
}
void TMemoryStream::SetSize(int64_t NewSize) {
  data_.resize(static_cast<size_t>(NewSize));
  pos_ = std::min(pos_, NewSize);
}
