#include "documents/XmlDocSystem.h"
#include <windows.h>
#include "documents/XmlDoc.h"

namespace {
// An existing file is only replaced where it could be overwritten (not read-only, not locked).
bool CanOverwrite(const std::string& FileName) {
  DWORD attributes = GetFileAttributesA(FileName.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;
  if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) return false;
  HANDLE h = CreateFileA(FileName.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

// Makes a new empty file beside FileName and gives its name in Temp; false where the folder
// takes none.
bool MakeFileBeside(const std::string& FileName, char (&Temp)[MAX_PATH]) {
  const std::string folder = ExtractFilePath(ExpandFileName(FileName));
  return GetTempFileNameA(folder.empty() ? "." : folder.c_str(), "tvx", 0, Temp) != 0;
}

// Writes to a new file beside the target and then puts it in the target's place.
bool ReplaceFile(const std::string& FileName, const std::string& Data) {
  char temp[MAX_PATH];
  if (!CanOverwrite(FileName) || !MakeFileBeside(FileName, temp)) return false;
  bool written = false;
  try {
    TFileStream out(temp, fmCreate);
    written = out.Write(Data.data(), static_cast<int32_t>(Data.size())) == static_cast<int32_t>(Data.size());
  } catch (const EStreamError&) {
    written = false;
  }
  if (written && MoveFileExA(temp, FileName.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  DeleteFileA(temp);
  return false;
}
}  // namespace

bool CanReplaceFile(const std::string& FileName) {
  char temp[MAX_PATH];
  if (!CanOverwrite(FileName) || !MakeFileBeside(FileName, temp)) return false;
  DeleteFileA(temp);
  return true;
}

// Every ANSI character has its UTF-8 form.
std::string XmlAnsiToUtf8(const std::string& Text) {
  std::string utf8;
  WideToCodePageExact(CP_UTF8, AnsiToWide(Text), utf8);
  return utf8;
}

// Broken UTF-8 reads as U+FFFD, which the ANSI code page lacks as well.
std::string XmlUtf8ToAnsi(const std::string& Text) {
  std::string ansi;
  WideToAnsiExact(CodePageToWide(CP_UTF8, Text), ansi);
  return ansi;
}

TXmlLoad TXmlDoc::ReadFileData(const std::string& FileName, std::string& Data) {
  if (!FileExists(FileName)) return TXmlLoad::Nothing;
  try {
    TFileStream in(FileName, fmOpenRead | fmShareDenyWrite);
    Data = in.ReadAll();
    // A read that failed on the way gives less than the whole file.
    return static_cast<int64_t>(Data.size()) == in.Size() ? TXmlLoad::Loaded : TXmlLoad::Unreadable;
  } catch (const EStreamError&) {
    return TXmlLoad::Unreadable;
  }
}

bool TXmlDoc::ReadData(std::string Data) {
  if (Data.empty()) return false;
  TXmlReader reader(std::move(Data));
  return root_->ReadFromStream(reader, "") > 0;
}

bool TXmlDoc::LoadFromFile(const std::string& FileName) {
  return LoadStore(FileName, false) == TXmlLoad::Loaded;
}

TXmlLoad TXmlDoc::LoadStore(const std::string& FileName, bool WellFormedOnly) {
  std::string data;
  const TXmlLoad read = ReadFileData(FileName, data);
  if (read != TXmlLoad::Loaded) return read;
  if (WellFormedOnly && !data.empty() && !IsWellFormedXml(data)) return TXmlLoad::Damaged;
  return ReadData(std::move(data)) ? TXmlLoad::Loaded : TXmlLoad::Nothing;
}

bool TXmlDoc::SaveToFile(const std::string& FileName, int IndentSize, bool LineBreaks) {
  TMemoryStream buffer;
  if (!SaveToStream(buffer, IndentSize, LineBreaks)) return false;
  return ReplaceFile(FileName, buffer.DataString());
}
