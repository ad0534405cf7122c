// The margins of a printed page in a choice of units, mirrored for bound documents, and
// their pixel positions on one page.
#pragma once
#include <windows.h>
#include "printing/CodeEditPrinterInfo.h"

enum class TUnitSystem { usMM, usCM, usInch, muThousandthsOfInches };

class TCodeEditPrintMargins {
public:
  // Lengths are read and written in UnitSystem and kept in millimetres.
  double Left() const { return FromMM(left_); }
  void SetLeft(double V) { left_ = ToMM(V); }
  double Right() const { return FromMM(right_); }
  void SetRight(double V) { right_ = ToMM(V); }
  double Top() const { return FromMM(top_); }
  void SetTop(double V) { top_ = ToMM(V); }
  double Bottom() const { return FromMM(bottom_); }
  void SetBottom(double V) { bottom_ = ToMM(V); }
  double Header() const { return FromMM(header_); }
  void SetHeader(double V) { header_ = ToMM(V); }
  double Footer() const { return FromMM(footer_); }
  void SetFooter(double V) { footer_ = ToMM(V); }
  double LeftHFTextIndent() const { return FromMM(leftHFTextIndent_); }
  void SetLeftHFTextIndent(double V) { leftHFTextIndent_ = ToMM(V); }
  double RightHFTextIndent() const { return FromMM(rightHFTextIndent_); }
  void SetRightHFTextIndent(double V) { rightHFTextIndent_ = ToMM(V); }
  double HFInternalMargin() const { return FromMM(hfInternalMargin_); }
  void SetHFInternalMargin(double V) { hfInternalMargin_ = ToMM(V); }
  double Gutter() const { return FromMM(gutter_); }
  void SetGutter(double V) { gutter_ = ToMM(V); }
  bool MirrorMargins() const { return mirrorMargins_; }
  void SetMirrorMargins(bool V) { mirrorMargins_ = V; }
  TUnitSystem UnitSystem() const { return unitSystem_; }
  void SetUnitSystem(TUnitSystem V) { unitSystem_ = V; }

  void Assign(const TCodeEditPrintMargins& Source) { *this = Source; }

  // Computes the pixel positions of page PageNumber (1-based) on Canvas, whose selected font
  // measures the line numbers; LineNumbers outside the margin widen the left margin by the
  // width of MaxLineNumber followed by ": ".
  void InitPage(HDC Canvas, int PageNumber, TCodeEditPrinterInfo& PrinterInfo, bool LineNumbers,
                bool LineNumbersInMargin, int MaxLineNumber);

  // Pixels of the page last set up by InitPage.
  int PLeft = 0, PRight = 0, PTop = 0, PBottom = 0, PHeader = 0, PFooter = 0;
  int PLeftHFTextIndent = 0, PRightHFTextIndent = 0, PHFInternalMargin = 0, PGutter = 0;

private:
  double ToMM(double Value) const;
  double FromMM(double Value) const;

  double left_ = 25, right_ = 15, top_ = 25, bottom_ = 25, header_ = 15, footer_ = 15;
  double leftHFTextIndent_ = 2, rightHFTextIndent_ = 2, hfInternalMargin_ = 0.5, gutter_ = 0;
  bool mirrorMargins_ = false;
  TUnitSystem unitSystem_ = TUnitSystem::usMM;
};
