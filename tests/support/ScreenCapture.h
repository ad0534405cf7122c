// On-screen tests of painted controls: a visible top-level window to host them and a copy of
// what a window shows, read pixel by pixel.
#pragma once
#include <windows.h>
#include <cstdint>
#include <vector>

namespace testsupport {

// A top-level window without frame, visible and in front unless Hidden (then controls get
// its size, and nothing is painted); controls become its children.
class TTopLevelWindow {
public:
  TTopLevelWindow(int Width, int Height, bool Hidden = false)
      : wnd_(CreateWindowExA(Hidden ? 0 : WS_EX_TOPMOST, "STATIC", "",
                             WS_POPUP | (Hidden ? 0 : WS_VISIBLE), 0, 0, Width, Height, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr)) {}
  ~TTopLevelWindow() { DestroyWindow(wnd_); }
  TTopLevelWindow(const TTopLevelWindow&) = delete;
  TTopLevelWindow& operator=(const TTopLevelWindow&) = delete;
  HWND Handle() const { return wnd_; }

private:
  HWND wnd_;
};

// The client area of a window as painted: pixels as COLORREF values.
class TScreenCapture {
public:
  // Repaints the window now, then copies its client area; or copies it as it shows, painted
  // or not, when not RepaintFirst.
  explicit TScreenCapture(HWND Wnd, bool RepaintFirst = true) {
    if (RepaintFirst) RedrawWindow(Wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    RECT r = {};
    GetClientRect(Wnd, &r);
    width_ = r.right;
    height_ = r.bottom;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width_;
    bi.bmiHeader.biHeight = -height_;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    HDC wdc = GetDC(Wnd);
    HDC mem = CreateCompatibleDC(wdc);
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(wdc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, width_, height_, wdc, 0, 0, SRCCOPY);
    GdiFlush();
    const uint32_t* p = static_cast<const uint32_t*>(bits);
    pixels_.resize(static_cast<size_t>(width_) * height_);
    for (size_t i = 0; i < pixels_.size(); ++i)  // DIB order is 0x00RRGGBB
      pixels_[i] = RGB((p[i] >> 16) & 0xFF, (p[i] >> 8) & 0xFF, p[i] & 0xFF);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(Wnd, wdc);
  }

  int Width() const { return width_; }
  int Height() const { return height_; }
  COLORREF At(int X, int Y) const {
    if (X < 0 || Y < 0 || X >= width_ || Y >= height_) return CLR_INVALID;
    return pixels_[static_cast<size_t>(Y) * width_ + X];
  }
  // How many pixels of the rectangle have the colour.
  int Count(const RECT& R, COLORREF Color) const {
    int n = 0;
    for (int y = R.top; y < R.bottom; ++y)
      for (int x = R.left; x < R.right; ++x)
        if (At(x, y) == Color) ++n;
    return n;
  }
  bool Contains(const RECT& R, COLORREF Color) const { return Count(R, Color) > 0; }
  // Whether every pixel of the rectangle has the colour.
  bool Filled(const RECT& R, COLORREF Color) const {
    return Count(R, Color) == (R.right - R.left) * (R.bottom - R.top);
  }

private:
  int width_ = 0;
  int height_ = 0;
  std::vector<COLORREF> pixels_;
};

}  // namespace testsupport
