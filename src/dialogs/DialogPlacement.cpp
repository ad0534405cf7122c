// Sizing the program's dialogs.
#include "dialogs/DialogPlacement.h"

SIZE DialogWindowSize(int Width, int Height, DWORD Style, DWORD ExStyle) {
  RECT r = {0, 0, Width, Height};
  AdjustWindowRectEx(&r, Style, FALSE, ExStyle);
  return {r.right - r.left, r.bottom - r.top};
}
