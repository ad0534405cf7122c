// The header and footer of printed pages: text items with fonts, alignments and macros on one
// or more lines, framed by a line, a box or a shading.
#pragma once
#include <windows.h>
#include <memory>
#include <string>
#include <vector>
#include "printing/CodeEditPrintMargins.h"
#include "rtl/Set.h"
#include "toolkit/Graphics.h"

enum TAlignment { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };
enum class TFrameType { ftLine, ftBox, ftShaded };
using TFrameTypes = TSet<TFrameType>;
enum class THeaderFooterType { hftHeader = 0, hftFooter = 1 };

// The text of an item on one page: the macros $PAGENUM$, $PAGECOUNT$, $TITLE$, $DATE$, $TIME$,
// $DATETIME$ and $TIMEDATE$ (any case) replaced; other text between dollar signs kept. A text
// of blanks only gives nothing.
std::string ExpandHeaderFooterMacros(const std::string& Text, int PageNumber, int PageCount,
                                     bool RomanNumbers, const std::string& Title,
                                     const std::string& DateText, const std::string& TimeText);

class THeaderFooterItem {
public:
  THeaderFooterItem(const std::string& Text, const TFont& Font, TAlignment Alignment,
                    int LineNumber, int Index);
  const std::string& Text() const { return text_; }
  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }
  int LineNumber() const { return lineNumber_; }
  void SetLineNumber(int Line) { lineNumber_ = Line; }
  TAlignment Alignment() const { return alignment_; }
  int Index() const { return index_; }

private:
  std::string text_;
  TFont font_;
  int lineNumber_;
  TAlignment alignment_;
  int index_;
};

class THeaderFooter {
public:
  explicit THeaderFooter(THeaderFooterType Type);
  virtual ~THeaderFooter() = default;
  THeaderFooter(const THeaderFooter&) = delete;
  THeaderFooter& operator=(const THeaderFooter&) = delete;

  // A new item with a copy of Font (DefaultFont when nullptr) on the 1-based line LineNumber;
  // returns its index.
  int Add(const std::string& Text, const TFont* Font, TAlignment Alignment, int LineNumber);
  void Clear();
  void Assign(const THeaderFooter& Source);
  // Orders the items by line (items of one line keep their order) and numbers the lines
  // 1, 2, 3 ... without gaps.
  void FixLines();
  // Prepares a job: date and time now, the page count, the title and the engine's margins,
  // whose pixel values (InitPage) must be set.
  void InitPrint(HDC Canvas, int PageCount, const std::string& Title,
                 TCodeEditPrintMargins* Margins);
  // Fonts are made for this resolution; 0 (the default) takes the canvas's own.
  void SetPixPrInch(int Value) { pixPrInch_ = Value; }
  // Draws the block on page PageNumber (as the macros show it).
  void Print(HDC Canvas, int PageNumber);

  THeaderFooterType Type() const { return type_; }
  TFrameTypes FrameTypes() const { return frameTypes_; }
  void SetFrameTypes(TFrameTypes V) { frameTypes_ = V; }
  TColor ShadedColor() const { return shadedColor_; }
  void SetShadedColor(TColor V) { shadedColor_ = V; }
  TColor LineColor() const { return lineColor_; }
  void SetLineColor(TColor V) { lineColor_ = V; }
  TFont& DefaultFont() { return defaultFont_; }
  bool RomanNumbers() const { return romanNumbers_; }
  void SetRomanNumbers(bool V) { romanNumbers_ = V; }
  bool MirrorPosition() const { return mirrorPosition_; }
  void SetMirrorPosition(bool V) { mirrorPosition_ = V; }
  int Count() const { return static_cast<int>(items_.size()); }
  const THeaderFooterItem& Items(int Index) const { return *items_[Index]; }
  int LineCount() const { return static_cast<int>(lineInfo_.size()); }
  // Height of the block in pixels after InitPrint; -1 without items.
  int FrameHeight() const { return frameHeight_; }

private:
  struct TLineInfo {
    int LineHeight = 0;
    int MaxBaseDist = 0;
  };
  int FontPixPrInch(HDC Canvas) const;
  void CalcHeight(HDC Canvas);
  void DrawFrame(HDC Canvas);
  int ItemX(HDC Canvas, const THeaderFooterItem& Item, const std::string& Text, int PageNumber);

  THeaderFooterType type_;
  TFrameTypes frameTypes_{TFrameType::ftLine};
  TColor shadedColor_ = clSilver;
  TColor lineColor_ = clBlack;
  std::vector<std::unique_ptr<THeaderFooterItem>> items_;
  TFont defaultFont_{"Arial", 10};
  std::string dateText_, timeText_;
  int pageCount_ = 0;
  std::string title_;
  TCodeEditPrintMargins* margins_ = nullptr;
  int frameHeight_ = -1;
  bool romanNumbers_ = false;
  std::vector<TLineInfo> lineInfo_;
  bool mirrorPosition_ = false;
  int pixPrInch_ = 0;
};

class THeader : public THeaderFooter {
public:
  THeader() : THeaderFooter(THeaderFooterType::hftHeader) {}
};

class TFooter : public THeaderFooter {
public:
  TFooter() : THeaderFooter(THeaderFooterType::hftFooter) {}
};
