#include "printing/CodeEditPrintMargins.h"
#include <cmath>
#include <string>

double TCodeEditPrintMargins::ToMM(double Value) const {
  switch (unitSystem_) {
    case TUnitSystem::usCM: return Value * 10;
    case TUnitSystem::usInch: return Value * 25.4;
    case TUnitSystem::muThousandthsOfInches: return Value * 25.4 / 1000;
    case TUnitSystem::usMM: break;
  }
  return Value;
}

double TCodeEditPrintMargins::FromMM(double Value) const {
  switch (unitSystem_) {
    case TUnitSystem::usCM: return Value / 10;
    case TUnitSystem::usInch: return Value / 25.4;
    case TUnitSystem::muThousandthsOfInches: return Value * 1000 / 25.4;
    case TUnitSystem::usMM: break;
  }
  return Value;
}

void TCodeEditPrintMargins::InitPage(HDC Canvas, int PageNumber, TCodeEditPrinterInfo& PrinterInfo,
                                     bool LineNumbers, bool LineNumbersInMargin,
                                     int MaxLineNumber) {
  const int width = PrinterInfo.PrintableWidth();
  const int height = PrinterInfo.PrintableHeight();
  if (mirrorMargins_ && PageNumber % 2 == 0) {
    PLeft = PrinterInfo.PixFromLeft(right_);
    PRight = width - PrinterInfo.PixFromRight(left_ + gutter_);
  } else {
    PLeft = PrinterInfo.PixFromLeft(left_ + gutter_);
    PRight = width - PrinterInfo.PixFromRight(right_);
  }
  if (LineNumbers && !LineNumbersInMargin) {
    std::string text = std::to_string(MaxLineNumber) + ": ";
    SIZE size = {};
    GetTextExtentPoint32A(Canvas, text.c_str(), static_cast<int>(text.size()), &size);
    PLeft += size.cx;
  }
  PTop = PrinterInfo.PixFromTop(top_);
  PBottom = height - PrinterInfo.PixFromBottom(bottom_);
  PHeader = PrinterInfo.PixFromTop(header_);
  PFooter = height - PrinterInfo.PixFromBottom(footer_);
  const float xmm = PrinterInfo.XPixPrMM();
  PHFInternalMargin = static_cast<int>(std::lround(PrinterInfo.YPixPrMM() * hfInternalMargin_));
  PGutter = static_cast<int>(std::lround(xmm * gutter_));
  PRightHFTextIndent = PRight - static_cast<int>(std::lround(xmm * rightHFTextIndent_));
  PLeftHFTextIndent = PLeft + static_cast<int>(std::lround(xmm * leftHFTextIndent_));
}
