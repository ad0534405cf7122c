#include "commands/TextConversions.h"
#include <windows.h>
#include <climits>
#include "documents/fHlpMainFuncs.h"
#include "foundation/fMain.h"
#include "rtl/SysUtils.h"

namespace {

std::wstring ToWide(const std::string& Text, UINT CodePage, DWORD Flags, bool& Valid) {
  Valid = true;
  if (Text.empty() || Text.size() > INT_MAX) {
    Valid = Text.empty();
    return {};
  }
  const int size = static_cast<int>(Text.size());
  const int length = MultiByteToWideChar(CodePage, Flags, Text.data(), size, nullptr, 0);
  if (length <= 0) {
    Valid = false;
    return {};
  }
  std::wstring wide(length, L'\0');
  MultiByteToWideChar(CodePage, Flags, Text.data(), size, wide.data(), length);
  return wide;
}

std::string FromWide(const std::wstring& Wide, UINT CodePage) {
  if (Wide.empty()) return {};
  const int size = static_cast<int>(Wide.size());
  const int length =
      WideCharToMultiByte(CodePage, 0, Wide.data(), size, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string text(length, '\0');
  WideCharToMultiByte(CodePage, 0, Wide.data(), size, text.data(), length, nullptr, nullptr);
  return text;
}

std::string ReplaceEvery(const std::string& Text, char Find, const std::string& Replacement) {
  std::string out;
  out.reserve(Text.size());
  for (char c : Text) {
    if (c == Find)
      out += Replacement;
    else
      out += c;
  }
  return out;
}

}  // namespace

std::string SpecialCharsToEntities(const std::string& Text, bool Numeric) {
  std::string out;
  out.reserve(Text.size());
  for (char c : Text) {
    const unsigned char code = static_cast<unsigned char>(c);
    const std::string& entity =
        Numeric ? SpecialCharsTable[code].Number : SpecialCharsTable[code].Name;
    // A character without an entity is kept: dropping it would lose text silently.
    if (code > 127 && !entity.empty())
      out += entity;
    else
      out += c;
  }
  return out;
}

std::string HtmlToText(const std::string& Text) {
  std::string out;
  out.reserve(Text.size());
  bool inTag = false;
  for (char c : Text) {
    if (c == '<')
      inTag = true;
    else if (c == '>')
      inTag = false;
    else if (!inTag)
      out += c;
  }
  // The table holds no entities below 128, so the markup entities are decoded after it;
  // in this order "&amp;lt;" keeps its one level of escaping.
  return HtmlDecode(ConvertHtmlChars(out));
}

std::string HtmlEncode(const std::string& Text) {
  std::string out;
  out.reserve(Text.size());
  for (char c : Text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '"': out += "&quot;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string HtmlDecode(const std::string& Text) {
  std::string out = ReplaceAll(Text, "&lt;", "<", true);
  out = ReplaceAll(out, "&gt;", ">", true);
  out = ReplaceAll(out, "&amp;", "&", true);
  return ReplaceAll(out, "&quot;", "\"", true);
}

std::string CompressWhitespaces(const std::string& Text) { return CompressWhitespace(Trim(Text)); }

std::string ConvertAnsiToOem(const std::string& Text) {
  std::string out = Text;
  if (!out.empty()) CharToOemBuffA(Text.data(), out.data(), static_cast<DWORD>(out.size()));
  return out;
}

std::string ConvertOemToAnsi(const std::string& Text) {
  std::string out = Text;
  if (!out.empty()) OemToCharBuffA(Text.data(), out.data(), static_cast<DWORD>(out.size()));
  return out;
}

std::string AnsiToUtf8(const std::string& Text) {
  bool valid;
  return FromWide(ToWide(Text, CP_ACP, 0, valid), CP_UTF8);
}

std::optional<std::string> Utf8ToAnsi(const std::string& Text) {
  bool valid;
  const std::wstring wide = ToWide(Text, CP_UTF8, MB_ERR_INVALID_CHARS, valid);
  if (!valid) return std::nullopt;
  return WideToAnsi(wide);
}

std::string Base64ToText(const std::string& Text) { return Base64Decode(CleanBase64(Text)); }

std::string TabsToSpaces(const std::string& Text, int TabWidth) {
  if (TabWidth < 1) return Text;
  return ReplaceEvery(Text, '\t', std::string(TabWidth, ' '));
}

std::string SpacesToTabs(const std::string& Text, int TabWidth) {
  if (TabWidth < 1) return Text;
  return ReplaceAll(Text, std::string(TabWidth, ' '), "\t", false);
}
