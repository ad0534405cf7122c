// Snapping a top-level window to the edges of its screen's work area while it is moved or
// sized.
#pragma once
#include <windows.h>

// Edges closer than this many pixels snap.
constexpr int SnapDistance = 10;

// The top-left corner for Window: each of its edges closer than Distance to the same edge of
// WorkArea (inside or outside it) is put on that edge; the left and top edges win over the
// right and bottom ones when the window is nearly as large as the work area.
POINT SnapToEdges(const RECT& Window, const RECT& WorkArea, int Distance = SnapDistance);

// The bounds for a window at Now that goes to Proposed. Moved whole (its size kept), it snaps
// as SnapToEdges says. Sized (an edge dragged), only the edges that move snap, each to the same
// edge of WorkArea: the others stay where they are.
RECT SnapBounds(const RECT& Now, const RECT& Proposed, const RECT& WorkArea,
                int Distance = SnapDistance);

// For WM_WINDOWPOSCHANGING: snaps the new place of a top-level window to the work area of
// the screen it goes to. A change of size only and a maximized window are left alone.
void SnapWindowPos(HWND Wnd, WINDOWPOS& Pos);
