// Finds what a person would see cut off in a window: captions wider than their control
// (measured with the control's own font), controls reaching outside their parent or covering
// each other; and in an open menu, shortcuts run into their captions.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>
#include "support/ScreenCapture.h"
#include "support/WindowText.h"

namespace testsupport {

namespace layoutcheck {

inline std::string ClassOf(HWND Wnd) {
  char name[64] = {};
  GetClassNameA(Wnd, name, sizeof name);
  return name;
}

inline std::string NameOf(HWND Wnd) {
  return ClassOf(Wnd) + " \"" + WindowText(Wnd) + "\"";
}

// The rectangle Text needs in Wnd's font, wrapped at Width when Wrap.
inline RECT TextRect(HWND Wnd, const std::string& Text, int Width, UINT Format) {
  RECT r = {0, 0, Width, 0};
  HDC dc = GetDC(Wnd);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(Wnd, WM_GETFONT, 0, 0)));
  DrawTextA(dc, Text.c_str(), static_cast<int>(Text.size()), &r, Format | DT_CALCRECT);
  SelectObject(dc, old);
  ReleaseDC(Wnd, dc);
  return r;
}

// Room a button's caption leaves beside its text: the check mark of a check box or radio
// button with its gap, the frame and focus margin of a push button.
inline int ButtonChrome(HWND Wnd) {
  switch (GetWindowLongA(Wnd, GWL_STYLE) & BS_TYPEMASK) {
    case BS_CHECKBOX: case BS_AUTOCHECKBOX: case BS_3STATE: case BS_AUTO3STATE:
    case BS_RADIOBUTTON: case BS_AUTORADIOBUTTON:
      return GetSystemMetrics(SM_CXMENUCHECK) + 4;
    case BS_GROUPBOX:
      return 16;
    default:
      return 2 * GetSystemMetrics(SM_CXEDGE) + 4;
  }
}

inline void CheckCaption(HWND Wnd, std::vector<std::string>& Faults) {
  const std::string cls = ClassOf(Wnd);
  const std::string text = WindowText(Wnd);
  RECT client = {};
  GetClientRect(Wnd, &client);
  if (cls == "Button" || cls == "BUTTON") {
    if (text.empty()) return;
    const LONG style = GetWindowLongA(Wnd, GWL_STYLE);
    const UINT wrap = (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
    RECT need = TextRect(Wnd, text, client.right - ButtonChrome(Wnd), wrap);
    if (need.right + ButtonChrome(Wnd) > client.right || need.bottom > client.bottom)
      Faults.push_back(NameOf(Wnd) + " needs " + std::to_string(need.right + ButtonChrome(Wnd)) +
                       " x " + std::to_string(need.bottom) + ", has " +
                       std::to_string(client.right) + " x " + std::to_string(client.bottom));
  } else if (cls == "Static" || cls == "STATIC") {
    const LONG style = GetWindowLongA(Wnd, GWL_STYLE);
    const LONG kind = style & SS_TYPEMASK;
    if (text.empty() || (kind != SS_LEFT && kind != SS_CENTER && kind != SS_RIGHT &&
                         kind != SS_LEFTNOWORDWRAP))
      return;
    const UINT format = (kind == SS_LEFTNOWORDWRAP ? DT_SINGLELINE : DT_WORDBREAK) |
                        ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
    RECT need = TextRect(Wnd, text, client.right, format);
    if (need.right > client.right || need.bottom > client.bottom)
      Faults.push_back(NameOf(Wnd) + " needs " + std::to_string(need.right) + " x " +
                       std::to_string(need.bottom) + ", has " + std::to_string(client.right) +
                       " x " + std::to_string(client.bottom));
  } else if (cls == "Edit" || cls == "EDIT") {
    if (text.empty() || (GetWindowLongA(Wnd, GWL_STYLE) & ES_MULTILINE)) return;
    const DWORD margins = static_cast<DWORD>(SendMessageA(Wnd, EM_GETMARGINS, 0, 0));
    const int room = client.right - LOWORD(margins) - HIWORD(margins);
    RECT need = TextRect(Wnd, text, room, DT_SINGLELINE | DT_NOPREFIX);
    if (need.right > room)
      Faults.push_back(NameOf(Wnd) + " needs " + std::to_string(need.right) + ", shows " +
                       std::to_string(room));
  } else if (cls == STATUSCLASSNAMEA) {
    const int parts = static_cast<int>(SendMessageA(Wnd, SB_GETPARTS, 0, 0));
    for (int i = 0; i < parts; ++i) {
      std::string part(LOWORD(SendMessageA(Wnd, SB_GETTEXTLENGTHA, i, 0)) + 1, '\0');
      SendMessageA(Wnd, SB_GETTEXTA, i, reinterpret_cast<LPARAM>(part.data()));
      part.resize(part.size() - 1);
      RECT r = {};
      SendMessageA(Wnd, SB_GETRECT, i, reinterpret_cast<LPARAM>(&r));
      RECT need = TextRect(Wnd, part, 0, DT_SINGLELINE | DT_NOPREFIX);
      if (!part.empty() && need.right > r.right - r.left - 2 * GetSystemMetrics(SM_CXEDGE))
        Faults.push_back("status panel " + std::to_string(i) + " \"" + part + "\" needs " +
                         std::to_string(need.right) + ", has " + std::to_string(r.right - r.left));
    }
  }
}

inline void CheckInsideParent(HWND Wnd, std::vector<std::string>& Faults) {
  HWND parent = GetParent(Wnd);
  RECT area = {}, own = {};
  GetClientRect(parent, &area);
  GetWindowRect(Wnd, &own);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&own), 2);
  if (own.left < area.left || own.top < area.top || own.right > area.right ||
      own.bottom > area.bottom)
    Faults.push_back(NameOf(Wnd) + " at " + std::to_string(own.left) + "," +
                     std::to_string(own.top) + "-" + std::to_string(own.right) + "," +
                     std::to_string(own.bottom) + " outside its parent's " +
                     std::to_string(area.right) + " x " + std::to_string(area.bottom));
}

inline std::string RectText(const RECT& R) {
  return std::to_string(R.left) + "," + std::to_string(R.top) + "-" + std::to_string(R.right) +
         "," + std::to_string(R.bottom);
}

// A group box, or a window drawn behind its siblings (transparent), that only frames them.
inline bool IsFrame(HWND Wnd) {
  const std::string cls = ClassOf(Wnd);
  const bool groupBox = (cls == "Button" || cls == "BUTTON") &&
                        (GetWindowLongA(Wnd, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
  return groupBox || (GetWindowLongA(Wnd, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
}

// Sibling controls that may cover each other: a frame and what lies within it, below its
// caption; an up-down control and the field it belongs to, whose edge it takes.
inline bool MayOverlap(HWND A, const RECT& RectA, HWND B, const RECT& RectB) {
  if (ClassOf(A) == UPDOWN_CLASSA && reinterpret_cast<HWND>(SendMessageA(A, UDM_GETBUDDY, 0, 0)) == B)
    return true;
  if (!IsFrame(A)) return false;
  const int caption = TextRect(A, WindowText(A), 0, DT_SINGLELINE).bottom;
  return RectB.left >= RectA.left && RectB.right <= RectA.right &&
         RectB.top >= RectA.top + caption && RectB.bottom <= RectA.bottom;
}

// No two visible controls of the parent cover each other, but where they may.
inline void CheckOverlaps(HWND Parent, std::vector<std::string>& Faults) {
  std::vector<std::pair<HWND, RECT>> shown;
  for (HWND w = GetWindow(Parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    RECT r = {};
    if (!IsWindowVisible(w) || !GetWindowRect(w, &r) || IsRectEmpty(&r)) continue;
    MapWindowPoints(nullptr, Parent, reinterpret_cast<POINT*>(&r), 2);
    shown.emplace_back(w, r);
  }
  for (size_t i = 0; i < shown.size(); ++i)
    for (size_t j = i + 1; j < shown.size(); ++j) {
      const auto& [a, ra] = shown[i];
      const auto& [b, rb] = shown[j];
      RECT common = {};
      if (IntersectRect(&common, &ra, &rb) && !MayOverlap(a, ra, b, rb) && !MayOverlap(b, rb, a, ra))
        Faults.push_back(NameOf(a) + " at " + RectText(ra) + " and " + NameOf(b) + " at " +
                         RectText(rb) + " overlap");
    }
}

inline BOOL CALLBACK CheckChild(HWND Wnd, LPARAM Faults) {
  // Only what shows: a control on a hidden page is checked when its page is shown.
  if (!IsWindowVisible(Wnd)) return TRUE;
  auto& faults = *reinterpret_cast<std::vector<std::string>*>(Faults);
  CheckInsideParent(Wnd, faults);
  CheckCaption(Wnd, faults);
  CheckOverlaps(Wnd, faults);
  return TRUE;
}

// The font menus draw their items in, bold for a default item.
inline HFONT CreateMenuFont(bool Bold) {
  NONCLIENTMETRICSA metrics = {};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  if (Bold) metrics.lfMenuFont.lfWeight = FW_BOLD;
  return CreateFontIndirectA(&metrics.lfMenuFont);
}

// The narrowest gap a native menu leaves between a caption and its shortcut, in pixels.
constexpr int kMenuGap = 2;

// How many pixel columns the text's ink spans in the font.
inline int InkWidth(const std::string& Text, HFONT Font) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ oldFont = SelectObject(dc, Font);
  SIZE extent = {};
  GetTextExtentPoint32A(dc, Text.c_str(), static_cast<int>(Text.size()), &extent);
  const int w = extent.cx + 8, h = extent.cy;
  BITMAPINFO bi = {{sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB}};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  PatBlt(dc, 0, 0, w, h, WHITENESS);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_MENUTEXT));
  TextOutA(dc, 4, 0, Text.c_str(), static_cast<int>(Text.size()));
  GdiFlush();
  int first = w, last = -1;
  const auto* pixels = static_cast<const uint32_t*>(bits);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if ((pixels[y * w + x] & 0xFFFFFF) != 0xFFFFFF) {
        first = std::min(first, x);
        last = std::max(last, x);
      }
  SelectObject(dc, oldBitmap);
  DeleteObject(bitmap);
  SelectObject(dc, oldFont);
  DeleteDC(dc);
  return last < first ? 0 : last - first + 1;
}

// Whether a column of the item's row shows anything but the row's background.
inline bool InkAt(const TScreenCapture& Shown, const RECT& Row, int X, COLORREF Background) {
  for (int y = Row.top; y < Row.bottom; ++y)
    if (Shown.At(X, y) != Background) return true;
  return false;
}

// The item's shortcut, drawn last at the right of its row, must stand clear of its caption.
inline void CheckMenuItemGap(const TScreenCapture& Shown, const RECT& Row, const std::string& Text,
                             bool Grey, bool Bold, std::vector<std::string>& Faults) {
  const size_t tab = Text.find('\t');
  HFONT font = CreateMenuFont(Bold);
  const int ink = InkWidth(Text.substr(tab + 1), font);
  DeleteObject(font);
  const COLORREF background = Shown.At(Row.right - 2, (Row.top + Row.bottom) / 2);
  int right = Row.right - 1;
  while (right > Row.left && !InkAt(Shown, Row, right, background)) --right;
  int x = right - ink;
  // A grey text's light shadow lies one pixel to the right of it.
  if (Grey && InkAt(Shown, Row, x, background)) --x;
  int gap = 0;
  for (; x >= Row.left && !InkAt(Shown, Row, x, background); --x) ++gap;
  if (gap < kMenuGap)
    Faults.push_back("menu item \"" + Text.substr(0, tab) + "\": its shortcut \"" +
                     Text.substr(tab + 1) + "\" lies " + std::to_string(gap) +
                     " pixels from its caption");
}

}  // namespace layoutcheck

// Every visible control of the window, at any depth: its caption fits, it lies inside its
// parent's client area and covers none of its siblings. Each fault names the control.
inline std::vector<std::string> LayoutFaults(HWND Window) {
  std::vector<std::string> faults;
  layoutcheck::CheckOverlaps(Window, faults);
  EnumChildWindows(Window, layoutcheck::CheckChild, reinterpret_cast<LPARAM>(&faults));
  return faults;
}

// Every item of the open menu as it shows: its shortcut stands clear of its caption. Called
// while the menu shows, from inside its menu loop.
inline std::vector<std::string> OpenMenuFaults(HMENU Menu) {
  std::vector<std::string> faults;
  RECT first = {};
  if (!GetMenuItemRect(nullptr, Menu, 0, &first)) return {"the menu does not show"};
  HWND window = WindowFromPoint({(first.left + first.right) / 2, (first.top + first.bottom) / 2});
  const TScreenCapture shown(window);
  for (int i = 0; i < GetMenuItemCount(Menu); ++i) {
    char text[256] = {};
    MENUITEMINFOA mii = {};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
    mii.dwTypeData = text;
    mii.cch = sizeof text;
    RECT row = {};
    if (!GetMenuItemInfoA(Menu, i, TRUE, &mii) || !std::strchr(text, '\t') || mii.hSubMenu ||
        !GetMenuItemRect(nullptr, Menu, i, &row))
      continue;
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&row), 2);
    if (row.top < 0 || row.bottom > shown.Height()) continue;  // scrolled out of a long menu
    layoutcheck::CheckMenuItemGap(shown, row, text, mii.fState & MFS_GRAYED,
                                  mii.fState & MFS_DEFAULT, faults);
  }
  return faults;
}

}  // namespace testsupport
