// The special-character table, its file and the decoding of HTML entities.
#include <cstdint>
#include "documents/fHlpMain.h"
#include "documents/fHlpMainFuncs.h"
#include "documents/fLanguage.h"
#include "foundation/fMain.h"
#include "rtl/SysUtils.h"

std::array<TSpecialCharRec, 256> SpecialCharsTable;

namespace {

const char* const DefaultSpecialCharsFile = "SpecialChars.lst";

std::string SpecialCharsFileName() {
  std::string name;
  if (Settings.Editor.SpCharReplace != 0) {
    name = Settings.Editor.SpCharReplaceFile;
  } else {
    // Only the language text's doubled backslashes are reduced: a program folder on a network
    // share begins with two.
    const std::string text =
        Trim(GetLangText("LangSpecFiles|SpecialCharsTable", DefaultSpecialCharsFile));
    name = Settings.AppDir + ReplaceAll(text, "\\\\", "\\", false);
  }
  if (name.empty() || !FileExists(name)) name = Settings.AppDir + DefaultSpecialCharsFile;
  return name;
}

void AddSpecialCharLine(const std::string& RawLine) {
  const std::string line = Trim(RawLine);
  int code = 0;
  if (!TryStrToInt(GetToken(line, "\t", 1), code) || code < 0 || code > 255) return;
  SetSpecialChar(code, GetToken(line, "\t", 2), GetToken(line, "\t", 3), GetToken(line, "\t", 4));
}

bool IsDecimal(const std::string& Text) {
  if (Text.empty() || Text.size() > 9) return false;
  for (char c : Text)
    if (c < '0' || c > '9') return false;
  return true;
}

}  // namespace

void SetSpecialChar(int Code, const std::string& Char, const std::string& Name,
                    const std::string& Number) {
  if (Code < 0 || Code > 255) return;
  TSpecialCharRec& r = SpecialCharsTable[Code];
  r.Char = Char;
  r.Name = Name.empty() ? std::string() : "&" + Name + ";";
  r.Number = "&#" + (Number.empty() ? std::to_string(Code) : Number) + ";";
}

void LoadSpecialChars() {
  SpecialCharsTable.fill({});
  const std::string fileName = SpecialCharsFileName();
  if (!FileExists(fileName)) return;
  // Lines are taken as they arrive, so a read error keeps what came before it.
  std::string pending;
  ReadFileInChunks(fileName, [&](const uint8_t* Data, size_t Size) {
    pending.append(reinterpret_cast<const char*>(Data), Size);
    size_t start = 0, end;
    while ((end = pending.find_first_of("\r\n", start)) != std::string::npos) {
      AddSpecialCharLine(pending.substr(start, end - start));
      start = end + 1;
    }
    pending.erase(0, start);
  });
  if (!pending.empty()) AddSpecialCharLine(pending);
}

int DecodeEntity(const std::string& Entity) {
  const bool numeric = !Entity.empty() && Entity[0] == '#';
  if (numeric && IsDecimal(Entity.substr(1))) {
    int code = std::stoi(Entity.substr(1));
    if (code <= 127) return code;
  }
  const std::string full = "&" + Entity + ";";
  int found = 0;
  for (int code = 128; code <= 255; ++code) {
    const TSpecialCharRec& r = SpecialCharsTable[code];
    if ((numeric ? r.Number : r.Name) == full) found = code;
  }
  return found;
}

std::string ConvertHtmlChars(const std::string& Text) {
  std::string out;
  out.reserve(Text.size());
  size_t i = 0;
  while (i < Text.size()) {
    if (Text[i] == '&') {
      const std::string next = Text.substr(i + 1, 10);
      const size_t semicolon = next.find(';');
      const int code = semicolon == std::string::npos ? 0 : DecodeEntity(next.substr(0, semicolon));
      if (code != 0) {
        out += static_cast<char>(code);
        i += semicolon + 2;
        continue;
      }
    }
    out += Text[i++];
  }
  return out;
}
