#include "toolkit/Graphics.h"
#include <algorithm>

COLORREF ColorToRGB(TColor Color) {
  if ((Color & clSystemColor) == clSystemColor) return GetSysColor(Color & 0xFF);
  return static_cast<COLORREF>(Color) & 0xFFFFFF;
}

namespace {
int ScreenPixelsPerInch() {
  HDC dc = GetDC(nullptr);
  int ppi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return ppi;
}
}  // namespace

TFont::~TFont() {
  if (handle_) DeleteObject(handle_);
}

void TFont::Changed() {
  if (handle_) {
    DeleteObject(handle_);
    handle_ = nullptr;
  }
  if (OnChange) OnChange(this);
}

void TFont::SetName(const std::string& Name) {
  if (Name != name_) { name_ = Name; Changed(); }
}

void TFont::SetSize(int Size) {
  if (Size != size_) { size_ = Size; Changed(); }
}

int TFont::Height() const { return -MulDiv(size_, ScreenPixelsPerInch(), 72); }

void TFont::SetHeight(int Height) { SetSize(-MulDiv(Height, 72, ScreenPixelsPerInch())); }

void TFont::SetStyle(TFontStyles Style) {
  if (!(Style == style_)) { style_ = Style; Changed(); }
}

void TFont::SetColor(TColor Color) {
  if (Color != color_) { color_ = Color; Changed(); }
}

void TFont::SetCharset(int Charset) {
  if (Charset != charset_) { charset_ = Charset; Changed(); }
}

void TFont::SetFixedPitch(bool Value) {
  if (Value != fixedPitch_) { fixedPitch_ = Value; Changed(); }
}

void TFont::Assign(const TFont& Source) {
  if (&Source == this) return;
  name_ = Source.name_;
  size_ = Source.size_;
  style_ = Source.style_;
  color_ = Source.color_;
  charset_ = Source.charset_;
  fixedPitch_ = Source.fixedPitch_;
  Changed();
}

HFONT TFont::Handle() const {
  if (!handle_) {
    LOGFONTA lf = {};
    lf.lfHeight = Height();
    lf.lfWeight = style_.Contains(TFontStyle::fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = style_.Contains(TFontStyle::fsItalic);
    lf.lfUnderline = style_.Contains(TFontStyle::fsUnderline);
    lf.lfStrikeOut = style_.Contains(TFontStyle::fsStrikeOut);
    lf.lfCharSet = static_cast<BYTE>(charset_);
    if (fixedPitch_) lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    lf.lfQuality = DEFAULT_QUALITY;
    name_.copy(lf.lfFaceName, LF_FACESIZE - 1);
    handle_ = CreateFontIndirectA(&lf);
  }
  return handle_;
}

namespace {
// The window's device context with the window's font chosen, for measuring text.
class TMeasureDC {
public:
  explicit TMeasureDC(HWND Wnd)
      : wnd_(Wnd), dc_(GetDC(Wnd)),
        old_(SelectObject(dc_, reinterpret_cast<HGDIOBJ>(SendMessageA(Wnd, WM_GETFONT, 0, 0)))) {}
  ~TMeasureDC() {
    SelectObject(dc_, old_);
    ReleaseDC(wnd_, dc_);
  }
  TMeasureDC(const TMeasureDC&) = delete;
  TMeasureDC& operator=(const TMeasureDC&) = delete;
  SIZE Extent(const std::string& Text) const {
    SIZE size = {};
    GetTextExtentPoint32A(dc_, Text.c_str(), static_cast<int>(Text.size()), &size);
    return size;
  }
  HDC Handle() const { return dc_; }

private:
  HWND wnd_;
  HDC dc_;
  HGDIOBJ old_;
};
}  // namespace

SIZE TextExtentIn(HWND Wnd, const std::string& Text) { return TMeasureDC(Wnd).Extent(Text); }

int WidestTextIn(HWND Wnd, const std::vector<std::string>& Texts) {
  const TMeasureDC dc(Wnd);
  int widest = 0;
  for (const std::string& text : Texts)
    widest = std::max(widest, static_cast<int>(dc.Extent(text).cx));
  return widest;
}

int WrappedTextHeight(HWND Wnd, const std::string& Text, int Width) {
  RECT r = {0, 0, Width, 0};
  DrawTextA(TMeasureDC(Wnd).Handle(), Text.c_str(), static_cast<int>(Text.size()), &r,
            DT_CALCRECT | DT_WORDBREAK);
  return r.bottom - r.top;
}

DWORD DisabledGrey(DWORD Rgb) {
  const DWORD lum = ((Rgb >> 16 & 0xFF) * 30 + (Rgb >> 8 & 0xFF) * 59 + (Rgb & 0xFF) * 11) / 100;
  const DWORD grey = 128 + lum / 2;
  return grey << 16 | grey << 8 | grey;
}

HBITMAP CreateTopDownBitmap(int Width, int Height, WORD BitCount, void** Pixels) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = Width;
  info.bmiHeader.biHeight = -Height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = BitCount;
  info.bmiHeader.biCompression = BI_RGB;
  return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, Pixels, nullptr, 0);
}
