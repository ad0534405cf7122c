// The order of the top-level windows, front to back.
#pragma once
#include <windows.h>

namespace testsupport {

// True when Upper lies in front of Lower.
inline bool IsAbove(HWND Upper, HWND Lower) {
  for (HWND w = GetWindow(Upper, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
    if (w == Lower) return true;
  return false;
}

}  // namespace testsupport
