#include "toolkit/Clipboard.h"
#include <cstring>
#include "rtl/SysUtils.h"

namespace {
class TSystemClipboard : public TClipboard {
public:
  bool Open(HWND Owner) override { return OpenClipboard(Owner) != 0; }
  void Close() override { CloseClipboard(); }
  bool Empty() override { return EmptyClipboard() != 0; }

  std::optional<std::string> GetData(UINT Format) override {
    HANDLE mem = GetClipboardData(Format);
    if (!mem) return std::nullopt;
    const void* p = GlobalLock(mem);
    if (!p) return std::nullopt;
    std::string bytes(static_cast<const char*>(p), GlobalSize(mem));
    GlobalUnlock(mem);
    return bytes;
  }

  bool SetData(UINT Format, const std::string& Bytes) override {
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, Bytes.size() ? Bytes.size() : 1);
    if (!mem) return false;
    void* p = GlobalLock(mem);
    if (!p) {
      GlobalFree(mem);
      return false;
    }
    if (!Bytes.empty()) std::memcpy(p, Bytes.data(), Bytes.size());
    GlobalUnlock(mem);
    if (SetClipboardData(Format, mem)) return true;
    GlobalFree(mem);
    return false;
  }

  bool HasFormat(UINT Format) override { return IsClipboardFormatAvailable(Format) != 0; }
};

TClipboard*& Override() {
  static TClipboard* replacement = nullptr;
  return replacement;
}
}  // namespace

TClipboard& Clipboard() {
  static TSystemClipboard system;
  return Override() ? *Override() : system;
}

void SetClipboardOverride(TClipboard* Replacement) { Override() = Replacement; }

UINT RegisterClipboardFormatName(const std::string& Name) {
  return RegisterClipboardFormatA(Name.c_str());
}

namespace {
std::optional<std::wstring> ReadWideFormat(TClipboard& Clipboard) {
  const std::optional<std::string> bytes = Clipboard.GetData(CF_UNICODETEXT);
  if (!bytes) return std::nullopt;
  std::wstring wide(bytes->size() / sizeof(wchar_t), L'\0');
  std::memcpy(wide.data(), bytes->data(), wide.size() * sizeof(wchar_t));
  return wide.substr(0, wide.find(L'\0'));
}

std::optional<std::string> ReadAnsiFormat(TClipboard& Clipboard) {
  const std::optional<std::string> text = Clipboard.GetData(CF_TEXT);
  if (!text) return std::nullopt;
  return text->substr(0, text->find('\0'));
}

// Both forms of one text; false when the 8-bit one could not be stored.
bool WriteBothFormats(TClipboard& Clipboard, const std::string& Ansi, const std::wstring& Wide) {
  if (!Clipboard.SetData(CF_TEXT, Ansi + '\0')) return false;
  const std::wstring zeroEnded = Wide + L'\0';
  Clipboard.SetData(CF_UNICODETEXT, std::string(reinterpret_cast<const char*>(zeroEnded.data()),
                                                zeroEnded.size() * sizeof(wchar_t)));
  return true;
}
}  // namespace

std::optional<std::string> ReadClipboardText(TClipboard& Clipboard) {
  if (const std::optional<std::wstring> wide = ReadWideFormat(Clipboard)) return WideToAnsi(*wide);
  return ReadAnsiFormat(Clipboard);
}

std::optional<std::wstring> ReadClipboardWideText(TClipboard& Clipboard) {
  if (std::optional<std::wstring> wide = ReadWideFormat(Clipboard)) return wide;
  const std::optional<std::string> text = ReadAnsiFormat(Clipboard);
  if (!text) return std::nullopt;
  return AnsiToWide(*text);
}

bool WriteClipboardText(TClipboard& Clipboard, const std::string& Text) {
  return WriteBothFormats(Clipboard, Text, AnsiToWide(Text));
}

bool WriteClipboardWideText(TClipboard& Clipboard, const std::wstring& Text) {
  return WriteBothFormats(Clipboard, WideToAnsi(Text), Text);
}
