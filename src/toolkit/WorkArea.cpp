#include "toolkit/WorkArea.h"
#include <algorithm>

namespace {
// The start of a span of Size pixels at Start, moved to lie between Low and High; the span
// is no longer than High - Low.
LONG FitSpan(LONG Start, LONG Size, LONG Low, LONG High) {
  return std::max(Low, std::min(Start, High - Size));
}
}  // namespace

RECT WorkAreaNear(const RECT& Bounds) {
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  if (GetMonitorInfoA(MonitorFromRect(&Bounds, MONITOR_DEFAULTTONEAREST), &monitor))
    return monitor.rcWork;
  RECT work = {};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

RECT FitToWorkArea(const RECT& Bounds, const RECT& WorkArea) {
  const LONG width = std::min(Bounds.right - Bounds.left, WorkArea.right - WorkArea.left);
  const LONG height = std::min(Bounds.bottom - Bounds.top, WorkArea.bottom - WorkArea.top);
  const LONG left = FitSpan(Bounds.left, width, WorkArea.left, WorkArea.right);
  const LONG top = FitSpan(Bounds.top, height, WorkArea.top, WorkArea.bottom);
  return {left, top, left + width, top + height};
}

void KeepOnScreen(HWND Wnd) {
  RECT bounds = {};
  if (!GetWindowRect(Wnd, &bounds)) return;
  const RECT fitted = FitToWorkArea(bounds, WorkAreaNear(bounds));
  if (EqualRect(&fitted, &bounds)) return;
  SetWindowPos(Wnd, nullptr, fitted.left, fitted.top, fitted.right - fitted.left,
               fitted.bottom - fitted.top, SWP_NOZORDER | SWP_NOACTIVATE);
}
