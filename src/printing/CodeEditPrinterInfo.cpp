#include "printing/CodeEditPrinterInfo.h"
#include <windows.h>
#include <cmath>
#include "toolkit/Printer.h"

void TCodeEditPrinterInfo::FillDefault() {
  physicalWidth_ = 2481;
  physicalHeight_ = 3507;
  printableWidth_ = 2358;
  printableHeight_ = 3407;
  leftGutter_ = 65;
  rightGutter_ = 58;
  topGutter_ = 50;
  bottomGutter_ = 50;
  xPixPrInch_ = 300;
  yPixPrInch_ = 300;
}

void TCodeEditPrinterInfo::UpdatePrinter() {
  read_ = true;
  HDC dc = Printer().PrinterCount() > 0 ? Printer().Handle() : nullptr;
  bool valid = false;
  if (dc) {
    physicalWidth_ = GetDeviceCaps(dc, PHYSICALWIDTH);
    physicalHeight_ = GetDeviceCaps(dc, PHYSICALHEIGHT);
    printableWidth_ = GetDeviceCaps(dc, HORZRES);
    printableHeight_ = GetDeviceCaps(dc, VERTRES);
    leftGutter_ = GetDeviceCaps(dc, PHYSICALOFFSETX);
    topGutter_ = GetDeviceCaps(dc, PHYSICALOFFSETY);
    rightGutter_ = physicalWidth_ - printableWidth_ - leftGutter_;
    bottomGutter_ = physicalHeight_ - printableHeight_ - topGutter_;
    xPixPrInch_ = GetDeviceCaps(dc, LOGPIXELSX);
    yPixPrInch_ = GetDeviceCaps(dc, LOGPIXELSY);
    // A broken driver must not give a page of no size or divisions by zero later.
    valid = physicalWidth_ > 0 && physicalHeight_ > 0 && printableWidth_ > 0 &&
            printableHeight_ > 0 && xPixPrInch_ > 0 && yPixPrInch_ > 0;
  }
  if (!valid) FillDefault();
  xPixPrMM_ = static_cast<float>(xPixPrInch_ / 25.4);
  yPixPrMM_ = static_cast<float>(yPixPrInch_ / 25.4);
}

int TCodeEditPrinterInfo::PhysicalWidth() { Ensure(); return physicalWidth_; }
int TCodeEditPrinterInfo::PhysicalHeight() { Ensure(); return physicalHeight_; }
int TCodeEditPrinterInfo::PrintableWidth() { Ensure(); return printableWidth_; }
int TCodeEditPrinterInfo::PrintableHeight() { Ensure(); return printableHeight_; }
int TCodeEditPrinterInfo::LeftGutter() { Ensure(); return leftGutter_; }
int TCodeEditPrinterInfo::RightGutter() { Ensure(); return rightGutter_; }
int TCodeEditPrinterInfo::TopGutter() { Ensure(); return topGutter_; }
int TCodeEditPrinterInfo::BottomGutter() { Ensure(); return bottomGutter_; }
int TCodeEditPrinterInfo::XPixPrInch() { Ensure(); return xPixPrInch_; }
int TCodeEditPrinterInfo::YPixPrInch() { Ensure(); return yPixPrInch_; }
float TCodeEditPrinterInfo::XPixPrMM() { Ensure(); return xPixPrMM_; }
float TCodeEditPrinterInfo::YPixPrMM() { Ensure(); return yPixPrMM_; }

int TCodeEditPrinterInfo::PixFromLeft(double MM) {
  return static_cast<int>(std::lround(MM * XPixPrMM() - leftGutter_));
}
int TCodeEditPrinterInfo::PixFromRight(double MM) {
  return static_cast<int>(std::lround(MM * XPixPrMM() - rightGutter_));
}
int TCodeEditPrinterInfo::PixFromTop(double MM) {
  return static_cast<int>(std::lround(MM * YPixPrMM() - topGutter_));
}
int TCodeEditPrinterInfo::PixFromBottom(double MM) {
  return static_cast<int>(std::lround(MM * YPixPrMM() - bottomGutter_));
}
