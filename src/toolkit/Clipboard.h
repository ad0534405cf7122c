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
