// A window's caption as the tests read it.
#pragma once
#include <windows.h>
#include <string>

namespace testsupport {

// Wnd's whole caption, however long.
inline std::string WindowText(HWND Wnd) {
  std::string text(GetWindowTextLengthA(Wnd) + 1, '\0');
  text.resize(GetWindowTextA(Wnd, text.data(), static_cast<int>(text.size())));
  return text;
}

}  // namespace testsupport
