// Draws editor text in cells of equal width: shared fonts per style and the per-editor drawer.
#pragma once
#include <windows.h>
#include <array>
#include <memory>
#include <string>
#include <vector>
#include "rtl/Exception.h"
#include "toolkit/Graphics.h"

class EheFontStockException : public Exception {
public:
  using Exception::Exception;
};

class EheTextDrawerException : public Exception {
public:
  using Exception::Exception;
};

// One font of a style combination: handle (nullptr until created) and its measurements.
struct TheFontData {
  HFONT Handle = nullptr;
  int CharAdv = 0;
  int DBCharAdv = 0;  // INT_MAX: double-byte characters have no fixed width
  int CharHeight = 0;
};

// The fonts of one base font, shared by every stock that uses an equal font. Index the 16
// entries by style: bold 1, italic 2, underline 4, strike-out 8.
struct TheSharedFontsInfo {
  int RefCount = 0;
  int LockCount = 0;  // stocks holding the handles active; 0 deletes the handles
  std::unique_ptr<TFont> BaseFont;
  LOGFONTA BaseLF = {};  // lookup key: no italic/underline/strike-out, face zero-filled
  bool IsDBCSFont = false;
  bool IsTrueType = false;
  std::array<TheFontData, 16> FontsData;
};

// The process's one list of shared font records.
class TheFontsInfoManager {
public:
  TheFontsInfoManager() = default;
  ~TheFontsInfoManager();
  TheFontsInfoManager(const TheFontsInfoManager&) = delete;
  TheFontsInfoManager& operator=(const TheFontsInfoManager&) = delete;

  // The record of an equal font (or a new one), with one more reference.
  TheSharedFontsInfo* GetFontsInfo(const TFont& BaseFont);
  // Drops a reference; the last one frees the record. It must not be locked by the caller.
  void ReleaseFontsInfo(TheSharedFontsInfo* FontsInfo);
  void LockFontsInfo(TheSharedFontsInfo* FontsInfo);
  // The last unlock deletes the record's 16 font handles.
  void UnlockFontsInfo(TheSharedFontsInfo* FontsInfo);
  int Count() const { return static_cast<int>(infos_.size()); }

private:
  std::vector<std::unique_ptr<TheSharedFontsInfo>> infos_;
};

// The single manager, created on first use.
TheFontsInfoManager& GetFontsInfoManager();

// The fonts of one base font in its 16 styles, measured on the screen.
class TheFontStock {
public:
  TheFontStock() = default;
  ~TheFontStock();
  TheFontStock(const TheFontStock&) = delete;
  TheFontStock& operator=(const TheFontStock&) = delete;

  // nullptr raises EheFontStockException.
  void SetBaseFont(const TFont* Value);
  // Makes the font of Style current, creating and measuring it on first use.
  void SetStyle(TFontStyles Style);
  HFONT FontHandle() const { return crntFont_; }
  int CharAdvance() const { return crntData_ ? crntData_->CharAdv : 0; }
  int DBCharAdvance() const { return crntData_ ? crntData_->DBCharAdv : 0; }
  int CharHeight() const { return crntData_ ? crntData_->CharHeight : 0; }
  TheSharedFontsInfo* FontsInfo() const { return fontsInfo_; }
  // Lets the shared record delete its handles when no other stock holds them.
  void ReleaseFontHandles();

private:
  HDC AcquireDC();
  void ReleaseDC();
  void ReleaseFontsInfo();
  HFONT CreateStyledFont(int Style) const;
  void MeasureFont(TheFontData& Data);

  HDC dc_ = nullptr;
  int dcRefCount_ = 0;
  TheSharedFontsInfo* fontsInfo_ = nullptr;
  bool usingFontHandles_ = false;
  HFONT crntFont_ = nullptr;
  LOGFONTA baseLF_ = {};
  TheFontData* crntData_ = nullptr;
};

// Draws an editor's text: every character takes exactly one cell of CharWidth pixels.
class TheTextDrawer {
public:
  // CalcExtentBaseStyle is the style whose "M" gives the cell size (bold for the editor).
  TheTextDrawer(TFontStyles CalcExtentBaseStyle, const TFont* BaseFont);
  TheTextDrawer(const TheTextDrawer&) = delete;
  TheTextDrawer& operator=(const TheTextDrawer&) = delete;

  // Drawing passes nest for one context; another context while a pass is open is a fault.
  void BeginDrawing(HDC DC);
  void EndDrawing();
  // nullptr raises EheTextDrawerException.
  void SetBaseFont(const TFont* Value);
  void SetBaseStyle(TFontStyles Value);
  void SetStyle(TFontStyles Value);
  void SetForeColor(TColor Value);
  void SetBackColor(TColor Value);
  // Extra pixels per cell.
  void SetCharExtra(int Value);
  int CharExtra() const { return charExtra_; }
  int CharWidth() const { return charWidth_ + charExtra_; }
  int CharHeight() const { return charHeight_; }
  HFONT FontHandle() const { return crntFont_; }
  const TheFontStock& FontStock() const { return fontStock_; }

  void TextOut(int X, int Y, const char* Text, int Length);
  // Character i starts at X + i * CharWidth whatever its own width.
  void ExtTextOut(int X, int Y, UINT Options, const RECT* Rect, const char* Text, int Length);
  // Gives up this drawer's hold on the shared font handles (outside a drawing pass); the next
  // pass takes the current style's font again.
  void ReleaseTemporaryResources();

private:
  void MeasureCell();
  void ReleaseSpacing() { spacing_.clear(); }

  HDC dc_ = nullptr;
  int saveDC_ = 0;
  TheFontStock fontStock_;
  TFontStyles calcExtentBaseStyle_;
  int charWidth_ = 0;
  int charHeight_ = 0;
  HFONT crntFont_ = nullptr;  // nullptr after ReleaseTemporaryResources
  TFontStyles crntStyle_;
  TColor color_ = clWindowText;
  TColor bkColor_ = clWindow;
  int charExtra_ = 0;
  int drawingCount_ = 0;
  std::vector<int> spacing_;  // all entries CharWidth(); grows in steps of 64
};
