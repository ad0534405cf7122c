// Printing test helpers: pages recorded as metafiles and read back as text runs and shapes,
// and a printer whose pages are such recordings.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "toolkit/Printer.h"

namespace printtest {

struct TTextRun {
  int X = 0, Y = 0;
  std::string Text;
  std::vector<int> Dx;
  COLORREF Color = 0;
  COLORREF Back = 0;
};

struct TShape {
  enum TKind { Rectangle, LineTo } Kind;
  RECT Rect;  // a line: from (left, top) to (right, bottom)
};

struct TPageRecord {
  std::vector<TTextRun> Texts;
  std::vector<TShape> Shapes;
  // All text runs joined top to bottom, left to right, rows separated by '\n'.
  std::string Rows() const;
  // The text of each row (runs of one height joined), top to bottom.
  std::vector<std::string> RowTexts() const;
  std::vector<int> RowYs() const;
  bool Contains(const std::string& S) const;
};

// Reads a finished metafile.
TPageRecord ReadMetafile(HENHMETAFILE Metafile);

// A metafile device context; Finish closes it and reads what was drawn.
class TEmfCanvas {
public:
  TEmfCanvas();
  ~TEmfCanvas();
  HDC DC() const { return dc_; }
  TPageRecord Finish();

private:
  HDC dc_;
};

// No installed printer (so the metrics are the A4 fallback); each page of a job is a metafile.
class TFakePrinter : public TPrinter {
public:
  TFakePrinter() { SetPrinterOverride(this); }
  ~TFakePrinter() override;
  int PrinterCount() const override { return 0; }
  HDC Handle() override { return page_; }
  void BeginDoc() override;
  void NewPage() override;
  void EndDoc() override;
  void Abort() override;

  std::vector<TPageRecord> Pages;
  std::vector<std::string> Calls;
  std::vector<std::string> Titles;
  // NewPage raises EPrinter when this many pages are finished (0: never).
  int FailAfterPages = 0;

private:
  void FinishPage();
  HDC page_ = nullptr;
};

}  // namespace printtest
