// Sizing and placing the program's dialogs.
#include "dialogs/DialogPlacement.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"

SIZE DialogWindowSize(int Width, int Height, DWORD Style, DWORD ExStyle) {
  RECT r = {0, 0, Width, Height};
  AdjustWindowRectEx(&r, Style, FALSE, ExStyle);
  return {r.right - r.left, r.bottom - r.top};
}

void CenterOnMainWindow(TForm& Form) {
  RECT area, own;
  HWND main = Application().MainWindow();
  if (!main || !GetWindowRect(main, &area)) SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  GetWindowRect(Form.Handle(), &own);
  int w = own.right - own.left, h = own.bottom - own.top;
  Form.SetBounds(area.left + (area.right - area.left - w) / 2,
                 area.top + (area.bottom - area.top - h) / 2, w, h);
}
