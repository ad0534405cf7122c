// Text on the clipboard as other programs put it there: wide only.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include <cstring>
#include <string>

namespace testsupport {

inline void PutOnClipboard(HWND Owner, const std::wstring& Text) {
  ASSERT_TRUE(OpenClipboard(Owner));
  EmptyClipboard();
  const size_t bytes = (Text.size() + 1) * sizeof(wchar_t);
  HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, bytes);
  std::memcpy(GlobalLock(data), Text.c_str(), bytes);
  GlobalUnlock(data);
  SetClipboardData(CF_UNICODETEXT, data);
  CloseClipboard();
}

}  // namespace testsupport
