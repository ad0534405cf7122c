#include "printing/CodeEditPrintTypes.h"
#include <algorithm>

bool WrapText(const std::string& Line, const std::string& BreakChars, int MaxCol,
              TWrapPosList& List) {
  const int len = static_cast<int>(Line.size());
  if (len <= MaxCol) return true;
  TWrapPosList found;
  int previous = 0;
  int pending = 0;
  for (int i = 1; i <= len; ++i) {
    // The row up to i no longer fits: break at the last break character before it.
    if (i - previous > MaxCol && pending <= previous && found.empty()) return false;
    if (i - previous > MaxCol && pending > previous) {
      found.push_back(std::make_unique<TWrapPos>(TWrapPos{pending}));
      previous = pending;
      pending = 0;
      if (len - previous <= MaxCol) break;
    }
    if (BreakChars.find(Line[i - 1]) != std::string::npos) pending = i;
  }
  if (found.empty()) return false;
  for (auto& w : found) List.push_back(std::move(w));
  return true;
}

std::vector<std::string> SplitRows(const std::string& Line, const TWrapPosList& Breaks,
                                   int MaxCol) {
  MaxCol = std::max(MaxCol, 1);
  std::vector<std::string> rows;
  auto addCut = [&](const std::string& Row) {
    if (Row.empty()) rows.push_back(Row);
    for (size_t p = 0; p < Row.size(); p += MaxCol) rows.push_back(Row.substr(p, MaxCol));
  };
  size_t start = 0;
  for (const auto& b : Breaks) {
    size_t end = std::min<size_t>(std::max<int>(b->Index, 0), Line.size());
    if (end < start) continue;
    addCut(Line.substr(start, end - start));
    start = end;
  }
  if (start < Line.size() || rows.empty()) addCut(Line.substr(start));
  return rows;
}

std::string IntToRoman(int Value) {
  static const struct {
    int value;
    const char* text;
  } kNumerals[] = {{1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"},
                   {90, "XC"},  {50, "L"},   {40, "XL"}, {10, "X"},   {9, "IX"},
                   {5, "V"},    {4, "IV"},   {1, "I"}};
  std::string result;
  for (const auto& n : kNumerals)
    while (Value >= n.value) {
      result += n.text;
      Value -= n.value;
    }
  return result;
}

namespace {
HFONT MakeFont(const TFont& Font, int PixelsPerInch, TFontStyles Style) {
  LOGFONTA lf = {};
  lf.lfHeight = -MulDiv(Font.Size(), PixelsPerInch, 72);
  lf.lfWeight = Style.Contains(TFontStyle::fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = Style.Contains(TFontStyle::fsItalic);
  lf.lfUnderline = Style.Contains(TFontStyle::fsUnderline);
  lf.lfStrikeOut = Style.Contains(TFontStyle::fsStrikeOut);
  lf.lfCharSet = static_cast<BYTE>(Font.Charset());
  if (Font.FixedPitch()) lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  Font.Name().copy(lf.lfFaceName, LF_FACESIZE - 1);
  return CreateFontIndirectA(&lf);
}
}  // namespace

TDeviceFont::TDeviceFont(const TFont& Font, int PixelsPerInch)
    : handle_(MakeFont(Font, PixelsPerInch, Font.Style())) {}

TDeviceFont::TDeviceFont(const TFont& Font, int PixelsPerInch, TFontStyles Style)
    : handle_(MakeFont(Font, PixelsPerInch, Style)) {}

TDeviceFont::~TDeviceFont() {
  if (handle_) DeleteObject(handle_);
}
