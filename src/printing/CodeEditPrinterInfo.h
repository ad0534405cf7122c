// The page metrics of the current printer, with a fixed A4 page when there is none.
#pragma once

class TCodeEditPrinterInfo {
public:
  // Reads the metrics now. A printer whose device context cannot be made, or that reports
  // no size or resolution, is treated like no printer: A4 at 300 dots per inch.
  void UpdatePrinter();

  // In printer pixels; each reads the metrics first when they have not been read.
  int PhysicalWidth();
  int PhysicalHeight();
  int PrintableWidth();
  int PrintableHeight();
  int LeftGutter();
  int RightGutter();
  int TopGutter();
  int BottomGutter();
  int XPixPrInch();
  int YPixPrInch();
  float XPixPrMM();
  float YPixPrMM();

  // Millimetres from a paper edge to pixels from the printable area's edge.
  int PixFromLeft(double MM);
  int PixFromRight(double MM);
  int PixFromTop(double MM);
  int PixFromBottom(double MM);

private:
  void Ensure() {
    if (!read_) UpdatePrinter();
  }
  void FillDefault();

  int physicalWidth_ = 0, physicalHeight_ = 0;
  int printableWidth_ = 0, printableHeight_ = 0;
  int leftGutter_ = 0, rightGutter_ = 0, topGutter_ = 0, bottomGutter_ = 0;
  int xPixPrInch_ = 0, yPixPrInch_ = 0;
  float xPixPrMM_ = 0, yPixPrMM_ = 0;
  bool read_ = false;
};
