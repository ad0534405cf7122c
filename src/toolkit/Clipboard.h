// The system clipboard behind a narrow interface that tests can replace with an in-memory one.
#pragma once
#include <windows.h>
#include <optional>
#include <string>

class TClipboard {
public:
  virtual ~TClipboard() = default;
  // Opens the clipboard for the calling window (or none); false when another holds it.
  virtual bool Open(HWND Owner) = 0;
  virtual void Close() = 0;
  // Only while open.
  virtual bool Empty() = 0;
  // The whole data block of a format as stored (its size is the block's size); none when
  // the format is absent or its data cannot be locked.
  virtual std::optional<std::string> GetData(UINT Format) = 0;
  // Stores a copy of the bytes as the format's data; false when that failed.
  virtual bool SetData(UINT Format, const std::string& Bytes) = 0;
  // Whether the format is available; works without opening.
  virtual bool HasFormat(UINT Format) = 0;
};

// The clipboard in use: the system's, or the one a test put in place.
TClipboard& Clipboard();
// Replaces the clipboard for tests; nullptr gives the system clipboard back.
void SetClipboardOverride(TClipboard* Replacement);
// The number of a clipboard format registered by name (the same number in every process).
UINT RegisterClipboardFormatName(const std::string& Name);

// The text on the open clipboard up to its first zero; none when it holds no text. Taken from
// its wide text where there is one: the 8-bit text the system makes of another program's text
// holds look-alikes of characters the ANSI code page lacks, where this gives "?".
std::optional<std::string> ReadClipboardText(TClipboard& Clipboard);
// The text on the open clipboard up to its first zero as wide text, every character kept; its
// 8-bit text converted where it holds no wide text; none when it holds no text.
std::optional<std::wstring> ReadClipboardWideText(TClipboard& Clipboard);
// Stores Text on the open clipboard as 8-bit and as wide text, so that no conversion of the
// system's (by the keyboard's language) stands between it and the next paste. False when the
// 8-bit text could not be stored.
bool WriteClipboardText(TClipboard& Clipboard, const std::string& Text);
// As WriteClipboardText, for wide text: the wide form keeps every character, the 8-bit form
// holds the code page's stand-ins.
bool WriteClipboardWideText(TClipboard& Clipboard, const std::wstring& Text);
