// A 32-bit bitmap in a memory context for drawing tests: fill it, draw, read pixels back.
#pragma once
#include <windows.h>

class TMemoryCanvas {
public:
  TMemoryCanvas(int Width, int Height) : width_(Width), height_(Height) {
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = Width;
    bi.bmiHeader.biHeight = -Height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    bitmap_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
  }
  ~TMemoryCanvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  TMemoryCanvas(const TMemoryCanvas&) = delete;
  TMemoryCanvas& operator=(const TMemoryCanvas&) = delete;

  HDC DC() const { return dc_; }
  void Fill(COLORREF Color) {
    RECT r = {0, 0, width_, height_};
    HBRUSH b = CreateSolidBrush(Color);
    FillRect(dc_, &r, b);
    DeleteObject(b);
  }
  COLORREF Pixel(int X, int Y) const { return GetPixel(dc_, X, Y); }
  // True when some pixel of the columns [Left, Right) and rows [Top, Bottom) differs from Color.
  bool AnyPixelOtherThan(COLORREF Color, int Left, int Top, int Right, int Bottom) const {
    for (int y = Top; y < Bottom; ++y)
      for (int x = Left; x < Right; ++x)
        if (Pixel(x, y) != Color) return true;
    return false;
  }

private:
  int width_, height_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};
