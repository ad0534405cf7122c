// The main window's glyph strip: simple 16x16 drawings made at start-up, one per image index.
#pragma once
#include <windows.h>

// Indexes other units rely on.
constexpr int GlyphSize = 16;
constexpr int GlyphCount = 160;
constexpr int GlyphTabDocument = 126;     // + 1 modified, + 2 read-only
constexpr int GlyphFileFormatBase = 148;  // + file format code
constexpr int GlyphLineBreakBase = 33;    // + line-break code
constexpr COLORREF GlyphTransparent = RGB(255, 0, 255);

// A 24-bit bitmap GlyphCount * GlyphSize wide and GlyphSize high; unused places hold only the
// transparent colour. The caller owns the bitmap.
HBITMAP CreateMainGlyphStrip();
