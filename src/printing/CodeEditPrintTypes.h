// What the printing units share: line breaking for printing, Roman numerals, fonts made for a
// device's resolution and the selection of GDI objects into a device context.
#pragma once
#include <windows.h>
#include <memory>
#include <string>
#include <vector>
#include "toolkit/Graphics.h"

// One break of a line: the 1-based character index after which the line is broken.
struct TWrapPos {
  int Index = 0;
};
using TWrapPosList = std::vector<std::unique_ptr<TWrapPos>>;

// Breaks Line after characters of BreakChars so that no row is longer than MaxCol where a
// break character allows it. True when the line fits or at least one break was added; false
// (List unchanged) when it is too long and no break was found.
bool WrapText(const std::string& Line, const std::string& BreakChars, int MaxCol,
              TWrapPosList& List);

// The rows of Line broken after the given positions; a row still longer than MaxCol is cut
// into pieces of MaxCol, so no character is lost and none passes the column. MaxCol < 1 acts
// as 1.
std::vector<std::string> SplitRows(const std::string& Line, const TWrapPosList& Breaks, int MaxCol);

// The Roman numeral of Value; empty for 0 and negative values.
std::string IntToRoman(int Value);

// A GDI font for a font description at a device's resolution (pixels per inch), optionally
// with other styles; the point size is kept.
class TDeviceFont {
public:
  TDeviceFont(const TFont& Font, int PixelsPerInch);
  TDeviceFont(const TFont& Font, int PixelsPerInch, TFontStyles Style);
  ~TDeviceFont();
  TDeviceFont(const TDeviceFont&) = delete;
  TDeviceFont& operator=(const TDeviceFont&) = delete;
  HFONT Handle() const { return handle_; }

private:
  HFONT handle_;
};

// Selects a GDI object into a device context for the life of this object.
class TSelectedObject {
public:
  TSelectedObject(HDC DC, HGDIOBJ Object) : dc_(DC), old_(SelectObject(DC, Object)) {}
  ~TSelectedObject() { SelectObject(dc_, old_); }
  TSelectedObject(const TSelectedObject&) = delete;
  TSelectedObject& operator=(const TSelectedObject&) = delete;

private:
  HDC dc_;
  HGDIOBJ old_;
};

// Saves a device context's whole state (objects, colours, mapping, clip) and restores it.
class TSavedDC {
public:
  explicit TSavedDC(HDC DC) : dc_(DC), id_(SaveDC(DC)) {}
  ~TSavedDC() { RestoreDC(dc_, id_); }
  TSavedDC(const TSavedDC&) = delete;
  TSavedDC& operator=(const TSavedDC&) = delete;

private:
  HDC dc_;
  int id_;
};
