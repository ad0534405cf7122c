#include "documents/fMain.h"
#include <windows.h>
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>
#include <utility>
#include "rtl/ByteScan.h"
#include "rtl/Exception.h"
#include "rtl/SysUtils.h"

namespace {

int64_t readLimitForTests = -1;
int64_t writeLimitForTests = -1;

size_t Limited(size_t Size, int64_t Limit) {
  return Limit >= 0 ? std::min<size_t>(Size, static_cast<size_t>(Limit)) : Size;
}

// Owns one file handle.
class FileHandle {
public:
  explicit FileHandle(HANDLE Handle) : handle_(Handle) {}
  ~FileHandle() { if (Valid()) CloseHandle(handle_); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }

private:
  HANDLE handle_;
};

// --- reading -----------------------------------------------------------------------------

// Only the bytes actually read are kept: a read error ends the text where it happened.
// OnRead sees the text and the number of bytes read so far after each piece.
template <class F>
std::string ReadWholeFile(const std::string& FileName, F OnRead) {
  FileHandle file(CreateFileA(FileName.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) throw EStreamError("Cannot open file \"" + FileName + "\"");
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size)) return std::string();
  std::string text;
  text.reserve(static_cast<size_t>(size.QuadPart) + 2);  // room for the appended break
  text.resize(static_cast<size_t>(size.QuadPart));
  size_t allowed = Limited(text.size(), readLimitForTests);
  size_t total = 0;
  while (total < allowed) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(allowed - total, 1u << 20));
    DWORD done = 0;
    if (!ReadFile(file.Get(), text.data() + total, chunk, &done, nullptr) || done == 0) break;
    total += done;
    OnRead(text, total);
  }
  text.resize(total);
  return text;
}

// Whole lengths throughout, both ways: a 0x00 byte is converted like any other character.
std::wstring MultiByteToWide(UINT CodePage, const char* Data, size_t Size) {
  if (Size == 0) return std::wstring();
  int length = static_cast<int>(Size);
  int size = MultiByteToWideChar(CodePage, 0, Data, length, nullptr, 0);
  std::wstring result(size, L'\0');
  MultiByteToWideChar(CodePage, 0, Data, length, result.data(), size);
  return result;
}

// UTF-16 goes through the same ANSI conversion as UTF-8, so characters outside Latin-1
// (the euro sign among them) keep their ANSI form; a trailing odd byte is dropped.
std::wstring Utf16ToWide(const std::string& Text, size_t Offset, bool BigEndian) {
  size_t units = (Text.size() - Offset) / 2;
  std::wstring wide(units, L'\0');
  for (size_t i = 0; i < units; ++i) {
    unsigned char first = static_cast<unsigned char>(Text[Offset + 2 * i]);
    unsigned char second = static_cast<unsigned char>(Text[Offset + 2 * i + 1]);
    wide[i] = static_cast<wchar_t>(BigEndian ? (first << 8) | second : (second << 8) | first);
  }
  return wide;
}

bool StartsWith(const std::string& Text, const char* Mark) {
  return Text.compare(0, std::char_traits<char>::length(Mark), Mark) == 0;
}

// Leaves Text and FileFormat alone when the text has no mark. The file's bytes are freed
// before the ANSI text is made, so at most two forms are held at once. False when a character
// has no ANSI form (or was no character at all) and became "?".
bool DecodeByteOrderMark(std::string& Text, TFileFormat& FileFormat) {
  std::wstring wide;
  if (StartsWith(Text, "\xEF\xBB\xBF")) {
    FileFormat = ffUtf8;
    wide = MultiByteToWide(CP_UTF8, Text.data() + 3, Text.size() - 3);
  } else if (StartsWith(Text, "\xFF\xFE")) {
    FileFormat = ffUtf16LE;
    wide = Utf16ToWide(Text, 2, false);
  } else if (StartsWith(Text, "\xFE\xFF")) {
    FileFormat = ffUtf16BE;
    wide = Utf16ToWide(Text, 2, true);
  } else {
    return true;
  }
  std::string().swap(Text);
  // What has no ANSI form becomes "?", not a look-alike.
  return WideToAnsiExact(wide, Text);
}

// Every CR CR LF becomes CR LF, left to right without overlaps, in place.
void DropCrBeforeCrLf(std::string& Text) {
  size_t out = 0;
  for (size_t in = 0; in < Text.size();) {
    if (Text[in] == '\r' && in + 2 < Text.size() && Text[in + 1] == '\r' && Text[in + 2] == '\n') {
      Text[out++] = '\r';
      Text[out++] = '\n';
      in += 3;
    } else {
      Text[out++] = Text[in++];
    }
  }
  Text.resize(out);
}

// The first kind found in this order decides: CR CR LF, CR LF, LF, CR.
TLineBreakFormat DetectLineBreaks(std::string& Text, const TTextBytes& Scan) {
  if (Scan.CrCrLf) {
    Text += "\r\n";
    DropCrBeforeCrLf(Text);
    return lbfNetscape;
  }
  if (Scan.CrLf) {
    Text += "\r\n";
    return lbfWindows;
  }
  if (Scan.Lf) {
    Text += '\n';
    return lbfUnix;
  }
  if (Scan.Cr) {
    Text += '\r';
    return lbfMacintosh;
  }
  return -1;
}

// --- writing -----------------------------------------------------------------------------

std::string RemoveByte(const std::string& Text, char Byte) {
  std::string result;
  result.reserve(Text.size());
  std::copy_if(Text.begin(), Text.end(), std::back_inserter(result), [Byte](char c) { return c != Byte; });
  return result;
}

// Non-overlapping, left to right, in one pass.
std::string ReplaceAll(const std::string& Text, const std::string& From, const std::string& To) {
  std::string result;
  result.reserve(Text.size());
  size_t pos = 0;
  for (size_t hit; (hit = Text.find(From, pos)) != std::string::npos; pos = hit + From.size()) {
    result.append(Text, pos, hit - pos);
    result += To;
  }
  result.append(Text, pos, std::string::npos);
  return result;
}

std::string ConvertLineBreaks(const std::string& Text, TLineBreakFormat LineBreak) {
  switch (LineBreak) {
    case lbfUnix: return RemoveByte(Text, '\r');
    case lbfMacintosh: return RemoveByte(Text, '\n');
    case lbfNetscape: return ReplaceAll(Text, "\r\n", "\r\r\n");
    default: return Text;
  }
}

std::string AnsiToUtf8WithMark(const std::string& Text) {
  std::string utf8;
  WideToCodePageExact(CP_UTF8, MultiByteToWide(CP_ACP, Text.data(), Text.size()), utf8);
  return "\xEF\xBB\xBF" + utf8;
}

bool WriteAll(HANDLE File, const std::string& Data) {
  size_t allowed = Limited(Data.size(), writeLimitForTests);
  size_t total = 0;
  while (total < allowed) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(allowed - total, 1u << 30));
    DWORD done = 0;
    if (!WriteFile(File, Data.data() + total, chunk, &done, nullptr) || done == 0) return false;
    total += done;
  }
  return total == Data.size();
}

[[noreturn]] void CannotCreate(const std::string& FileName) {
  throw EStreamError("Cannot create file \"" + FileName + "\"");
}

// An empty name when no temporary file can be made in that folder.
std::string CreateTempFileBeside(const std::string& FullName) {
  size_t slash = FullName.find_last_of("\\/");
  if (slash == std::string::npos) return std::string();
  std::string folder = FullName.substr(0, slash + 1);
  char name[MAX_PATH];
  if (folder.size() >= MAX_PATH - 14 || GetTempFileNameA(folder.c_str(), "tvl", 0, name) == 0)
    return std::string();
  return name;
}

// Opens an existing file as the plain writer would, to fail early (read-only, in use by
// another program) with the error the caller reports, before anything is written. The
// read-only flag is tested by itself because an administrator's handle may ignore it.
void CheckWritable(const std::string& FullName, DWORD Attributes) {
  if (Attributes & FILE_ATTRIBUTE_READONLY) CannotCreate(FullName);
  FileHandle probe(CreateFileA(FullName.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!probe.Valid()) CannotCreate(FullName);
}

// Creates or truncates the file with the given attributes (an existing hidden or system
// file can only be replaced when they are named) and writes the data.
bool WriteFileDirectly(const std::string& FullName, DWORD Attributes, const std::string& Data,
                       bool DeleteOnFailure) {
  bool written;
  {
    FileHandle file(CreateFileA(FullName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                Attributes, nullptr));
    if (!file.Valid()) CannotCreate(FullName);
    written = WriteAll(file.Get(), Data);
  }
  if (!written && DeleteOnFailure) DeleteFileA(FullName.c_str());
  return written;
}

DWORD CreatableAttributes(DWORD Attributes) {
  DWORD kept = Attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                             FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
  return kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL;
}

bool ReplaceThroughTempFile(const std::string& FullName, const std::string& TempName,
                            DWORD Attributes, const std::string& Data) {
  bool written;
  {
    FileHandle temp(CreateFileA(TempName.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    written = temp.Valid() && WriteAll(temp.Get(), Data);
  }
  if (!written || !ReplaceFileA(FullName.c_str(), TempName.c_str(), nullptr,
                                REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
    DeleteFileA(TempName.c_str());
    return false;
  }
  SetFileAttributesA(FullName.c_str(), Attributes);
  return true;
}

bool WriteFileSafely(const std::string& FileName, const std::string& Data) {
  std::string fullName = ExpandFileName(FileName);
  DWORD attributes = GetFileAttributesA(fullName.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES)
    return WriteFileDirectly(fullName, FILE_ATTRIBUTE_NORMAL, Data, true);
  CheckWritable(fullName, attributes);
  std::string tempName = CreateTempFileBeside(fullName);
  if (tempName.empty())
    return WriteFileDirectly(fullName, CreatableAttributes(attributes), Data, false);
  return ReplaceThroughTempFile(fullName, tempName, attributes, Data);
}

}  // namespace

// The text is scanned piece by piece as it is read, while each piece is in the cache, unless
// a byte-order mark is to be decoded first (the scan makes zero bytes blanks, which would
// spoil UTF-16): then the decoded text is scanned.
bool LoadTextFile(const std::string& FileName, TLineBreakFormat& LineBreak, TFileFormat& FileFormat,
                  std::string& Text) {
  LineBreak = -1;
  TTextByteScanner scanner;
  const bool decoding = FileFormat < 0;
  std::string text = ReadWholeFile(FileName, [&](std::string& Read, size_t Size) {
    if (!decoding) scanner.ScanAvailable(Read.data(), Size);
  });
  const bool exact = !decoding || DecodeByteOrderMark(text, FileFormat);
  const TTextBytes scan = scanner.Finish(text.data(), text.size());
  if (FileFormat < 2 && scan.Binary) FileFormat = ffBinary;
  LineBreak = DetectLineBreaks(text, scan);
  Text = std::move(text);
  return exact;
}

bool SaveTextFile(const std::string& FileName, const std::string& Text, TLineBreakFormat LineBreak,
                  TFileFormat FileFormat) {
  std::string data = ConvertLineBreaks(Text, LineBreak);
  if (FileFormat == ffUtf8) data = AnsiToUtf8WithMark(data);
  return WriteFileSafely(FileName, data);
}

void SetTextFileFaultsForTests(int64_t ReadLimit, int64_t WriteLimit) {
  readLimitForTests = ReadLimit;
  writeLimitForTests = WriteLimit;
}
