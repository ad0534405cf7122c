#include "toolkit/GroupBox.h"

TGroupBox::TGroupBox(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H)
    : TWinControl(Owner) {
  CreateSystemControl("BUTTON", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0,
                      Parent ? Parent->Handle() : nullptr, X, Y, W, H);
}

// Every paint fills the inside, also one asked for without erasing; the system then draws the
// frame and caption into the same DC.
LRESULT TGroupBox::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) {
  switch (Msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Handle(), &ps);
      EraseAroundSiblings(dc);
      DefaultHandler(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
      EndPaint(Handle(), &ps);
      return 0;
    }
  }
  return TWinControl::WndProc(Msg, wParam, lParam);
}

// The framed controls are siblings, above or below the box in the z-order: their areas are
// left to them, whatever the order.
void TGroupBox::EraseAroundSiblings(HDC Dc) {
  HWND parent = GetParent(Handle());
  const int saved = SaveDC(Dc);
  for (HWND w = GetWindow(Handle(), GW_HWNDFIRST); w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (w == Handle() || !IsWindowVisible(w)) continue;
    RECT r = {};
    GetWindowRect(w, &r);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&r), 2);
    ExcludeClipRect(Dc, r.left, r.top, r.right, r.bottom);
  }
  auto brush = reinterpret_cast<HBRUSH>(
      SendMessageA(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(Dc),
                   reinterpret_cast<LPARAM>(Handle())));
  if (!brush) brush = GetSysColorBrush(COLOR_BTNFACE);
  RECT client = ClientRect();
  FillRect(Dc, &client, brush);
  RestoreDC(Dc, saved);
}
