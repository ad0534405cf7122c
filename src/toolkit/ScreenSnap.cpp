#include "toolkit/ScreenSnap.h"
#include <cstdlib>

namespace {
// The start of a span of Size pixels at Start, snapped to the span's ends Low and High.
LONG Snap(LONG Start, LONG Size, LONG Low, LONG High, int Distance) {
  if (std::abs(Start - Low) < Distance) return Low;
  if (std::abs(Start + Size - High) < Distance) return High - Size;
  return Start;
}
}  // namespace

POINT SnapToEdges(const RECT& Window, const RECT& WorkArea, int Distance) {
  return {Snap(Window.left, Window.right - Window.left, WorkArea.left, WorkArea.right, Distance),
          Snap(Window.top, Window.bottom - Window.top, WorkArea.top, WorkArea.bottom, Distance)};
}

void SnapWindowPos(HWND Wnd, WINDOWPOS& Pos) {
  if ((Pos.flags & SWP_NOMOVE) || IsZoomed(Wnd) || IsIconic(Wnd)) return;
  RECT window = {Pos.x, Pos.y, Pos.x + Pos.cx, Pos.y + Pos.cy};
  if (Pos.flags & SWP_NOSIZE) {
    RECT now = {};
    GetWindowRect(Wnd, &now);
    window.right = Pos.x + (now.right - now.left);
    window.bottom = Pos.y + (now.bottom - now.top);
  }
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoA(MonitorFromRect(&window, MONITOR_DEFAULTTONEAREST), &monitor)) return;
  const POINT snapped = SnapToEdges(window, monitor.rcWork);
  Pos.x = snapped.x;
  Pos.y = snapped.y;
}
