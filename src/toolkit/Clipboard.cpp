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

std::optional<std::string> ReadClipboardText(TClipboard& Clipboard) {
  if (const std::optional<std::string> bytes = Clipboard.GetData(CF_UNICODETEXT)) {
    std::wstring wide(bytes->size() / sizeof(wchar_t), L'\0');
    std::memcpy(wide.data(), bytes->data(), wide.size() * sizeof(wchar_t));
    return WideToAnsi(wide.substr(0, wide.find(L'\0')));
  }
  const std::optional<std::string> text = Clipboard.GetData(CF_TEXT);
  if (!text) return std::nullopt;
  return text->substr(0, text->find('\0'));
}

bool WriteClipboardText(TClipboard& Clipboard, const std::string& Text) {
  if (!Clipboard.SetData(CF_TEXT, Text + '\0')) return false;
  const std::wstring wide = AnsiToWide(Text) + L'\0';
  Clipboard.SetData(CF_UNICODETEXT, std::string(reinterpret_cast<const char*>(wide.data()),
                                                wide.size() * sizeof(wchar_t)));
  return true;
}
