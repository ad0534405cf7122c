// Colours and fonts as the components describe them; system colours resolve at use.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>
#include "rtl/Classes.h"
#include "rtl/Set.h"

// $00BBGGRR, or a system colour: the high byte $FF and the COLOR_... index below.
using TColor = int32_t;
constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF;
constexpr TColor clSystemColor = static_cast<TColor>(0xFF000000);
constexpr TColor clScrollBar = clSystemColor | COLOR_SCROLLBAR;
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clBtnShadow = clSystemColor | COLOR_BTNSHADOW;
constexpr TColor clBtnHighlight = clSystemColor | COLOR_BTNHIGHLIGHT;
constexpr TColor clBtnText = clSystemColor | COLOR_BTNTEXT;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clHighlight = clSystemColor | COLOR_HIGHLIGHT;
constexpr TColor clHighlightText = clSystemColor | COLOR_HIGHLIGHTTEXT;
constexpr TColor clInfoBk = clSystemColor | COLOR_INFOBK;
constexpr TColor clInfoText = clSystemColor | COLOR_INFOTEXT;
constexpr TColor clGrayText = clSystemColor | COLOR_GRAYTEXT;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// The RGB value of a colour; system colours are looked up now.
COLORREF ColorToRGB(TColor Color);
// A top-down DIB section of Width x Height pixels at BitCount bits each; Pixels receives its
// bits. nullptr when it cannot be made.
HBITMAP CreateTopDownBitmap(int Width, int Height, WORD BitCount, void** Pixels);
// The size of a one-line Text drawn in the font the window uses (WM_GETFONT).
SIZE TextExtentIn(HWND Wnd, const std::string& Text);
// The width of the widest of Texts, each drawn on one line in that font.
int WidestTextIn(HWND Wnd, const std::vector<std::string>& Texts);
// The height of Text in that font, wrapped at word breaks to Width.
int WrappedTextHeight(HWND Wnd, const std::string& Text, int Width);
// A colour as the pixel of a 32-bit bitmap, 0x00RRGGBB.
constexpr DWORD PixelOf(COLORREF Colour) {
  return static_cast<DWORD>(GetRValue(Colour)) << 16 | GetGValue(Colour) << 8 | GetBValue(Colour);
}
// The light grey a disabled glyph shows for a 0x00RRGGBB pixel: darker stays darker, but every
// grey is lighter than any enabled glyph's ink.
DWORD DisabledGrey(DWORD Rgb);

enum class TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;

// A font description; Handle() makes (and caches) the GDI font for the screen.
class TFont : public TObject {
public:
  TFont() = default;
  TFont(const std::string& Name, int Size) : name_(Name), size_(Size) {}
  ~TFont() override;
  TFont(const TFont&) = delete;
  TFont& operator=(const TFont&) = delete;

  const std::string& Name() const { return name_; }
  void SetName(const std::string& Name);
  int Size() const { return size_; }  // points
  void SetSize(int Size);
  int Height() const;  // pixels on the screen, negative for the character height
  void SetHeight(int Height);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles Style);
  TColor Color() const { return color_; }
  void SetColor(TColor Color);
  int Charset() const { return charset_; }
  void SetCharset(int Charset);
  // Fixed asks the system for a font whose characters all have one width.
  bool FixedPitch() const { return fixedPitch_; }
  void SetFixedPitch(bool Value);
  // Copies every value and fires OnChange once.
  void Assign(const TFont& Source);
  HFONT Handle() const;

  TNotifyEvent OnChange;

private:
  void Changed();
  std::string name_ = "MS Sans Serif";
  int size_ = 8;
  TFontStyles style_;
  TColor color_ = clWindowText;
  int charset_ = DEFAULT_CHARSET;
  bool fixedPitch_ = false;
  mutable HFONT handle_ = nullptr;
};
