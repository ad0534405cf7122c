// Keeping top-level windows on the work area of a screen (the screen without the task bar).
#pragma once
#include <windows.h>

// The work area of the monitor nearest to Bounds, in screen coordinates.
RECT WorkAreaNear(const RECT& Bounds);

// Bounds moved, and made smaller where they are larger, so that they lie wholly inside
// WorkArea and the whole caption bar shows; bounds already inside come back unchanged.
RECT FitToWorkArea(const RECT& Bounds, const RECT& WorkArea);

// Fits a top-level window to the work area of the nearest monitor: a stored or computed place
// may lie on a screen that is gone or smaller now.
void KeepOnScreen(HWND Wnd);
