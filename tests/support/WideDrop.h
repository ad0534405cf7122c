// Files dropped from the shell as it hands them over in wide characters, for the drop tests.
#pragma once
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <cstring>
#include <string>
#include <vector>

namespace testsupport {

// A drop of these names at Point; the window it is sent to frees it.
inline HDROP MakeWideDrop(const std::vector<std::wstring>& Names, POINT Point = {}) {
  size_t size = sizeof(DROPFILES) + sizeof(wchar_t);
  for (const std::wstring& n : Names) size += (n.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GHND, size);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->pt = Point;
  drop->fWide = TRUE;
  auto* p = reinterpret_cast<wchar_t*>(reinterpret_cast<char*>(drop) + sizeof(DROPFILES));
  for (const std::wstring& n : Names) {
    std::memcpy(p, n.c_str(), (n.size() + 1) * sizeof(wchar_t));
    p += n.size() + 1;
  }
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

}  // namespace testsupport
