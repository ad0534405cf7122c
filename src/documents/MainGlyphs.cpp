// Draws the glyph strip with GDI: a few shapes (page, folder, disk, ...) plus short labels, so
// the program carries no image files of its own.
#include "documents/MainGlyphs.h"
#include <memory>
#include <string>
#include <type_traits>
#include "toolkit/Graphics.h"

namespace {

struct GdiDeleter {
  void operator()(HGDIOBJ Object) const { DeleteObject(Object); }
};
using GdiObject = std::unique_ptr<std::remove_pointer_t<HGDIOBJ>, GdiDeleter>;
struct DcDeleter {
  void operator()(HDC Dc) const { DeleteDC(Dc); }
};
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;

constexpr COLORREF Ink = RGB(40, 40, 40);
constexpr COLORREF Paper = RGB(255, 255, 255);
constexpr COLORREF Blue = RGB(40, 90, 200);
constexpr COLORREF Green = RGB(30, 150, 50);
constexpr COLORREF Red = RGB(210, 30, 30);
constexpr COLORREF Yellow = RGB(240, 200, 60);
constexpr COLORREF Grey = RGB(150, 150, 150);

// Draws one glyph whose top-left corner is at X.
class Painter {
public:
  Painter(HDC Dc, int X) : dc_(Dc), x_(X) {}

  void Box(int L, int T, int R, int B, COLORREF Fill, COLORREF Line = Ink) {
    GdiObject brush(CreateSolidBrush(Fill));
    GdiObject pen(CreatePen(PS_SOLID, 1, Line));
    HGDIOBJ oldBrush = SelectObject(dc_, brush.get());
    HGDIOBJ oldPen = SelectObject(dc_, pen.get());
    Rectangle(dc_, x_ + L, T, x_ + R, B);
    SelectObject(dc_, oldBrush);
    SelectObject(dc_, oldPen);
  }
  void Round(int L, int T, int R, int B, COLORREF Fill, COLORREF Line = Ink) {
    GdiObject brush(CreateSolidBrush(Fill));
    GdiObject pen(CreatePen(PS_SOLID, 1, Line));
    HGDIOBJ oldBrush = SelectObject(dc_, brush.get());
    HGDIOBJ oldPen = SelectObject(dc_, pen.get());
    Ellipse(dc_, x_ + L, T, x_ + R, B);
    SelectObject(dc_, oldBrush);
    SelectObject(dc_, oldPen);
  }
  void Line(int X1, int Y1, int X2, int Y2, COLORREF Color, int Width = 1) {
    GdiObject pen(CreatePen(PS_SOLID, Width, Color));
    HGDIOBJ oldPen = SelectObject(dc_, pen.get());
    MoveToEx(dc_, x_ + X1, Y1, nullptr);
    LineTo(dc_, x_ + X2, Y2);
    SelectObject(dc_, oldPen);
  }
  void Text(const std::string& Label, COLORREF Color, int L = 0, int T = 0, int R = 16,
            int B = 16, int Height = 9) {
    GdiObject font(CreateFontA(-Height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                               DEFAULT_PITCH, "Tahoma"));
    HGDIOBJ oldFont = SelectObject(dc_, font.get());
    SetBkMode(dc_, TRANSPARENT);
    SetTextColor(dc_, Color);
    RECT r = {x_ + L, T, x_ + R, B};
    DrawTextA(dc_, Label.c_str(), static_cast<int>(Label.size()), &r,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc_, oldFont);
  }

  // Composite shapes.
  void Page(int Dx = 0, int Dy = 0) {
    Box(2 + Dx, 1 + Dy, 13 + Dx, 16 + Dy, Paper);
    for (int y = 5; y <= 11; y += 3) Line(4 + Dx, y + Dy, 11 + Dx, y + Dy, Grey);
  }
  void Folder(bool Open) {
    Box(1, 4, 7, 6, Yellow);
    Box(1, 5, 15, 14, Yellow);
    if (Open) Box(3, 8, 16, 14, RGB(250, 225, 120));
  }
  void Disk(int Dx = 0, int Dy = 0) {
    Box(1 + Dx, 1 + Dy, 14 + Dx, 14 + Dy, Blue);
    Box(4 + Dx, 1 + Dy, 11 + Dx, 6 + Dy, Paper);
    Box(4 + Dx, 9 + Dy, 11 + Dx, 14 + Dy, Grey);
  }
  void Cross(int L, int T, int Size, COLORREF Color) {
    Line(L, T, L + Size, T + Size, Color, 2);
    Line(L + Size, T, L, T + Size, Color, 2);
  }
  void Magnifier(int L, int T) {
    Round(L, T, L + 9, T + 9, RGB(200, 230, 255));
    Line(L + 7, T + 7, L + 11, T + 11, Ink, 2);
  }
  void Lock(int L, int T) {
    Round(L + 1, T, L + 7, T + 6, GlyphTransparent, Ink);
    Box(L, T + 3, L + 8, T + 9, Yellow);
  }
  void Arrow(bool Right, COLORREF Color) {
    Line(3, 8, 13, 8, Color, 2);
    if (Right) {
      Line(13, 8, 9, 4, Color, 2);
      Line(13, 8, 9, 12, Color, 2);
    } else {
      Line(3, 8, 7, 4, Color, 2);
      Line(3, 8, 7, 12, Color, 2);
    }
  }
  void Tick(COLORREF Color) {
    Line(2, 8, 6, 12, Color, 2);
    Line(6, 12, 14, 3, Color, 2);
  }
  void Labelled(const std::string& Label, COLORREF Fill, COLORREF Color) {
    Box(0, 2, 16, 14, Fill);
    Text(Label, Color);
  }

private:
  HDC dc_;
  int x_;
};

void DrawGlyph(Painter& p, int Index) {
  switch (Index) {
    case 0: p.Page(); p.Text("+", Green, 6, 6, 16, 16, 12); break;            // new
    case 1: p.Folder(true); break;                                           // open
    case 2: p.Disk(); break;                                                 // save
    case 3: p.Disk(); p.Text("...", Red, 0, 6, 16, 16); break;               // save as
    case 4: p.Disk(2, 2); p.Disk(0, 0); break;                               // save all
    case 5: p.Page(); p.Cross(6, 6, 8, Red); break;                          // close
    case 6: p.Page(2, 0); p.Page(0, 0); p.Cross(6, 6, 8, Red); break;        // close all
    case 7: p.Page(); p.Magnifier(5, 5); break;                              // preview
    case 8:                                                                  // print
      p.Box(4, 1, 12, 7, Paper);
      p.Box(1, 6, 15, 12, Grey);
      p.Box(4, 10, 12, 15, Paper);
      break;
    case 9: p.Arrow(false, Blue); break;                                     // undo
    case 10: p.Arrow(true, Blue); break;                                     // redo
    case 11:                                                                 // cut
      p.Line(4, 1, 10, 10, Ink, 1);
      p.Line(11, 1, 5, 10, Ink, 1);
      p.Round(1, 9, 7, 15, Paper, Red);
      p.Round(9, 9, 15, 15, Paper, Red);
      break;
    case 12: p.Box(1, 1, 10, 12, Paper); p.Box(5, 4, 15, 16, Paper); break;  // copy
    case 13: p.Box(2, 2, 14, 16, RGB(200, 160, 100)); p.Box(4, 5, 12, 15, Paper); break;
    case 14: p.Magnifier(1, 1); break;                                       // search
    case 15: p.Page(); p.Arrow(true, Green); break;                          // go to line
    case 16: p.Labelled("&;", Paper, Blue); break;                           // html chars
    case 17:                                                                 // word wrap
      p.Line(1, 3, 14, 3, Ink);
      p.Line(1, 7, 12, 7, Ink);
      p.Line(12, 7, 12, 12, Blue, 2);
      p.Line(12, 12, 4, 12, Blue, 2);
      break;
    case 18: p.Text("</>", Blue, 0, 0, 16, 16, 9); break;                    // syntax
    case 19:                                                                 // on top
      p.Round(4, 1, 12, 9, Red);
      p.Line(8, 9, 8, 15, Ink, 2);
      break;
    case 20: p.Page(); p.Text("R", Green, 2, 4, 14, 16); break;               // reload
    case 21: p.Page(); p.Arrow(true, Red); break;                            // export
    case 24: p.Box(1, 1, 15, 15, RGB(200, 220, 255), Blue); break;           // select all
    case 25: p.Labelled("N", Paper, Ink); break;                             // selection modes
    case 26: p.Labelled("Z", Paper, Ink); break;
    case 27: p.Labelled("S", Paper, Ink); break;
    case 33: p.Labelled("W", RGB(220, 235, 255), Blue); break;               // line breaks
    case 34: p.Labelled("U", RGB(220, 255, 220), Green); break;
    case 35: p.Labelled("M", RGB(255, 235, 210), Red); break;
    case 36: p.Labelled("N", RGB(240, 240, 240), Ink); break;
    case 89: p.Box(1, 1, 15, 15, Paper, Blue); p.Box(4, 4, 12, 12, Blue); break;  // invert
    case 102: p.Page(); p.Text("*", Red, 4, 4, 14, 16, 12); break;           // template
    case 103: p.Folder(false); break;
    case 104: p.Folder(true); break;
    case 120: p.Folder(false); break;                                        // key tree
    case 121: p.Folder(false); break;
    case 122: p.Labelled("K", Paper, Ink); break;
    case 123: p.Folder(true); break;
    case 124: p.Labelled("K", Blue, Paper); break;
    case 126: p.Page(); break;                                               // tab images
    case 127: p.Page(); p.Round(8, 8, 15, 15, Red); break;
    case 128: p.Page(); p.Lock(7, 6); break;
    case 129: p.Page(); p.Lock(7, 6); p.Round(0, 0, 6, 6, Red); break;
    case 130: p.Cross(3, 3, 10, Red); break;                                 // key buttons
    case 131: p.Text("D", Blue, 0, 0, 16, 16, 12); break;
    case 132: p.Tick(Green); break;
    case 148: p.Labelled("A", Paper, Ink); break;                            // file formats
    case 149: p.Labelled("U8", Paper, Blue); break;
    case 153: p.Lock(4, 3); break;                                           // read-only
    case 156: p.Labelled("LE", Paper, Green); break;
    case 157: p.Labelled("BE", Paper, Green); break;
    case 158: p.Labelled("01", Paper, Red); break;
    default: break;
  }
}

}  // namespace

HBITMAP CreateMainGlyphStrip() {
  void* bits = nullptr;
  HBITMAP strip = CreateTopDownBitmap(GlyphCount * GlyphSize, GlyphSize, 24, &bits);
  if (!strip) return nullptr;
  MemoryDc dc(CreateCompatibleDC(nullptr));
  HGDIOBJ old = SelectObject(dc.get(), strip);
  RECT all = {0, 0, GlyphCount * GlyphSize, GlyphSize};
  GdiObject background(CreateSolidBrush(GlyphTransparent));
  FillRect(dc.get(), &all, static_cast<HBRUSH>(background.get()));
  for (int i = 0; i < GlyphCount; ++i) {
    Painter p(dc.get(), i * GlyphSize);
    DrawGlyph(p, i);
  }
  SelectObject(dc.get(), old);
  return strip;
}
