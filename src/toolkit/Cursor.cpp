#include "toolkit/Cursor.h"
#include <windows.h>

namespace {
int depth = 0;

// Makes the window under the mouse choose its cursor again.
void RefreshCursor() {
  POINT p;
  if (!GetCursorPos(&p)) return;
  HWND w = WindowFromPoint(p);
  if (!w || GetWindowThreadProcessId(w, nullptr) != GetCurrentThreadId()) return;
  LRESULT hit = SendMessageA(w, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
  SendMessageA(w, WM_SETCURSOR, reinterpret_cast<WPARAM>(w), MAKELPARAM(hit, WM_MOUSEMOVE));
}
}  // namespace

void BeginHourglass() {
  if (depth++ == 0) {
    SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
    RefreshCursor();
  }
}

void EndHourglass() {
  if (depth == 0) return;
  if (--depth == 0) {
    SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
    RefreshCursor();
  }
}

bool HourglassShown() { return depth > 0; }
