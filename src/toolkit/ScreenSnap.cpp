#include "toolkit/ScreenSnap.h"
#include <cstdlib>
#include "toolkit/WorkArea.h"

namespace {
// The start of a span of Size pixels at Start, snapped to the span's ends Low and High.
LONG Snap(LONG Start, LONG Size, LONG Low, LONG High, int Distance) {
  if (std::abs(Start - Low) < Distance) return Low;
  if (std::abs(Start + Size - High) < Distance) return High - Size;
  return Start;
}

// An edge that moves from Now to Proposed, snapped to the work area's edge Target.
LONG SnapEdge(LONG Now, LONG Proposed, LONG Target, int Distance) {
  return Proposed != Now && std::abs(Proposed - Target) < Distance ? Target : Proposed;
}
}  // namespace

POINT SnapToEdges(const RECT& Window, const RECT& WorkArea, int Distance) {
  return {Snap(Window.left, Window.right - Window.left, WorkArea.left, WorkArea.right, Distance),
          Snap(Window.top, Window.bottom - Window.top, WorkArea.top, WorkArea.bottom, Distance)};
}

RECT SnapBounds(const RECT& Now, const RECT& Proposed, const RECT& WorkArea, int Distance) {
  const bool sized = Proposed.right - Proposed.left != Now.right - Now.left ||
                     Proposed.bottom - Proposed.top != Now.bottom - Now.top;
  if (!sized) {
    const POINT corner = SnapToEdges(Proposed, WorkArea, Distance);
    return {corner.x, corner.y, corner.x + (Proposed.right - Proposed.left),
            corner.y + (Proposed.bottom - Proposed.top)};
  }
  return {SnapEdge(Now.left, Proposed.left, WorkArea.left, Distance),
          SnapEdge(Now.top, Proposed.top, WorkArea.top, Distance),
          SnapEdge(Now.right, Proposed.right, WorkArea.right, Distance),
          SnapEdge(Now.bottom, Proposed.bottom, WorkArea.bottom, Distance)};
}

void SnapWindowPos(HWND Wnd, WINDOWPOS& Pos) {
  if ((Pos.flags & SWP_NOMOVE) || IsZoomed(Wnd) || IsIconic(Wnd)) return;
  RECT now = {};
  GetWindowRect(Wnd, &now);
  RECT proposed = {Pos.x, Pos.y, Pos.x + Pos.cx, Pos.y + Pos.cy};
  if (Pos.flags & SWP_NOSIZE) {
    proposed.right = Pos.x + (now.right - now.left);
    proposed.bottom = Pos.y + (now.bottom - now.top);
  }
  const RECT snapped = SnapBounds(now, proposed, WorkAreaNear(proposed));
  Pos.x = snapped.left;
  Pos.y = snapped.top;
  if (!(Pos.flags & SWP_NOSIZE)) {
    Pos.cx = snapped.right - snapped.left;
    Pos.cy = snapped.bottom - snapped.top;
  }
}
