#include "printing/CodeEditPrint.h"
#include <algorithm>
#include "editor/CodeEditMiscProcs.h"
#include "toolkit/Printer.h"

TCodeEditPrint::TCodeEditPrint(TComponent* Owner) : TComponent(Owner) {
  font_.SetColor(clBlack);
  font_.OnChange = [this](TObject*) {
    pagesComputed_ = false;
    ClearFonts();
  };
}

TCodeEditPrint::~TCodeEditPrint() { font_.OnChange = nullptr; }

void TCodeEditPrint::SetCodeEdit(const TCustomCodeEdit& Edit) {
  SetHighlighter(Edit.Highlighter());
  font_.Assign(Edit.Font());
  SetTabWidth(Edit.TabWidth());
  SetLines(Edit.Lines());
  SetSelection(Edit.SelAvail(), Edit.BlockBegin(), Edit.BlockEnd(), Edit.ActiveSelectionMode());
}

void TCodeEditPrint::SetLines(const TStrings& Value) {
  rawLines_.Clear();
  lines_.clear();
  auto expand = GetTabExpanderProc(tabWidth_);
  for (int i = 0; i < Value.Count(); ++i) {
    const std::string raw = Value[i];
    rawLines_.Add(raw);
    std::string line = expand(raw, tabWidth_);
    std::replace(line.begin(), line.end(), '\t', ' ');
    lines_.push_back(std::move(line));
  }
  pagesComputed_ = false;
}

void TCodeEditPrint::SetHighlighter(TCodeCustomHighlighter* Value) {
  if (highlighter_ == Value) return;
  if (highlighter_) RemoveFreeNotification(highlighter_);
  highlighter_ = Value;
  if (highlighter_) FreeNotification(highlighter_);
  pagesComputed_ = false;
}

void TCodeEditPrint::Notification(TComponent* AComponent) {
  if (AComponent == highlighter_) {
    highlighter_ = nullptr;
    rawLines_.SetRangesScanned(0, nullptr);  // another highlighter may come at its address
    // The pages were laid out for the freed highlighter: painting must not reach it.
    pagesComputed_ = false;
    useHighlighter_ = false;
  }
}

void TCodeEditPrint::SetSelection(bool Available, TBufferCoord Begin, TBufferCoord End,
                                  TCodeSelectionMode Mode) {
  selAvail_ = Available;
  blockBegin_ = std::min(Begin, End);
  blockEnd_ = std::max(Begin, End);
  selMode_ = Mode;
  pagesComputed_ = false;
}

void TCodeEditPrint::ClearFonts() {
  for (auto& f : fonts_) f.reset();
}

HFONT TCodeEditPrint::StyledFont(TFontStyles Style) {
  auto& font = fonts_[Style.Bits() & 15];
  if (!font) font = std::make_unique<TDeviceFont>(font_, FontPixPrInch(), Style);
  return font->Handle();
}

void TCodeEditPrint::InitPrint() {
  // Fonts always follow the printer's resolution, also on a job device that reports another
  // one (a metafile), so the page looks the same wherever it is drawn.
  header_.SetPixPrInch(FontPixPrInch());
  footer_.SetPixPrInch(FontPixPrInch());
  ClearFonts();
  TSelectedObject selected(canvas_, StyledFont(TFontStyles{TFontStyle::fsBold, TFontStyle::fsItalic,
                                                           TFontStyle::fsUnderline,
                                                           TFontStyle::fsStrikeOut}));
  TEXTMETRICA tm = {};
  GetTextMetricsA(canvas_, &tm);
  charWidth_ = std::max<int>(tm.tmAveCharWidth, 1);
  lineHeight_ = std::max<int>(tm.tmHeight + tm.tmExternalLeading, 1);
  {
    TSelectedObject regular(canvas_, StyledFont(font_.Style()));
    margins_.InitPage(canvas_, 1, printerInfo_, lineNumbers_, lineNumbersInMargin_,
                      static_cast<int>(lines_.size()) - 1 + lineOffset_);
  }
  Paginate();
  header_.InitPrint(canvas_, pageCount_, title_, &margins_);
  footer_.InitPrint(canvas_, pageCount_, title_, &margins_);
  useHighlighter_ = highlight_ && highlighter_ && !lines_.empty();
}

int TCodeEditPrint::FirstPrintedLine() const {
  if (!selectedOnly_) return 0;
  return std::clamp(blockBegin_.Line - 1, 0, static_cast<int>(lines_.size()));
}

int TCodeEditPrint::LastPrintedLine() const {
  const int last = static_cast<int>(lines_.size()) - 1;
  return selectedOnly_ ? std::min(blockEnd_.Line - 1, last) : last;
}

TCodeEditPrint::TPrintedText TCodeEditPrint::PrintedText(int Line) const {
  const std::string& line = lines_[Line];
  if (!selectedOnly_ || selMode_ == TCodeSelectionMode::smLine) return {line, 0};
  // Editor positions count bytes of the line as typed; the printed copy has its tabs expanded.
  auto column = [&](const TBufferCoord& P) {
    if (P.Line < 1 || P.Line > rawLines_.Count()) return P.Char - 1;
    return CharIndexToColumn(rawLines_.Get(P.Line - 1), std::max(P.Char, 1), tabWidth_) - 1;
  };
  int start = 0, end = static_cast<int>(line.size());
  if (selMode_ == TCodeSelectionMode::smColumn) {
    start = column(blockBegin_);
    end = column(blockEnd_);
    if (start > end) std::swap(start, end);
  } else {
    if (Line == blockBegin_.Line - 1) start = column(blockBegin_);
    if (Line == blockEnd_.Line - 1) end = column(blockEnd_);
  }
  start = std::clamp(start, 0, static_cast<int>(line.size()));
  end = std::clamp(end, start, static_cast<int>(line.size()));
  return {line.substr(start, end - start), start};
}

std::vector<TCodeEditPrint::TRow> TCodeEditPrint::RowsOf(const std::string& Text) const {
  const int len = static_cast<int>(Text.size());
  if (!wrap_ || len <= maxCol_) return {{0, len}};
  TWrapPosList breaks;
  if (!WrapText(Text, "\t ,-", maxCol_, breaks)) WrapText(Text, ").;", maxCol_, breaks);
  std::vector<TRow> rows;
  int start = 0;
  for (const auto& piece : SplitRows(Text, breaks, maxCol_)) {
    rows.push_back({start, static_cast<int>(piece.size())});
    start += static_cast<int>(piece.size());
  }
  return rows;
}

void TCodeEditPrint::Paginate() {
  pages_.clear();
  maxWidth_ = margins_.PRight - margins_.PLeft;
  SIZE w = {};
  {
    TSelectedObject selected(canvas_, StyledFont(font_.Style()));
    GetTextExtentPoint32A(canvas_, "W", 1, &w);
  }
  const int wWidth = std::max<int>(w.cx, 1);
  // At least one column, however large the margins.
  maxCol_ = std::max((maxWidth_ - 1) / wWidth, 1);
  maxWidth_ = maxCol_ * wWidth;
  const int first = FirstPrintedLine();
  const int last = LastPrintedLine();
  pages_.push_back(first);
  yPos_ = margins_.PTop;
  bool pageHoldsLine = false;
  for (int i = first; i <= last; ++i) {
    const int rows = static_cast<int>(RowsOf(PrintedText(i).Text).size());
    // A page too short for one line still takes one, or the job would never end.
    if (yPos_ + lineHeight_ > margins_.PBottom && pageHoldsLine) {
      pages_.push_back(i);
      yPos_ = margins_.PTop;
    }
    yPos_ += rows * lineHeight_;
    pageHoldsLine = true;
  }
  pageCount_ = static_cast<int>(pages_.size());
}

void TCodeEditPrint::UpdatePages(HDC Canvas) {
  printerInfo_.UpdatePrinter();
  canvas_ = Canvas;
  InitPrint();
  pagesComputed_ = true;
}

int TCodeEditPrint::GetPageCount() {
  if (!pagesComputed_) {
    HDC screen = GetDC(nullptr);
    HDC previous = canvas_;
    UpdatePages(screen);
    canvas_ = previous;
    ReleaseDC(nullptr, screen);
  }
  return pageCount_;
}

void TCodeEditPrint::DoPrintStatus(TCodePrintStatus Status, int PageNumber, bool& Abort) {
  Abort = false;
  if (OnPrintStatus) OnPrintStatus(this, Status, PageNumber, Abort);
  if (Abort && printing_) Printer().Abort();
}

void TCodeEditPrint::DoPrintLine(int LineNumber, int PageNumber) {
  if (OnPrintLine) OnPrintLine(this, LineNumber, PageNumber);
}

void TCodeEditPrint::PrintToCanvas(HDC Canvas, int PageNumber) {
  abort_ = false;
  printing_ = false;
  if (!pagesComputed_) UpdatePages(Canvas);
  canvas_ = Canvas;
  PrintPage(PageNumber);
}

void TCodeEditPrint::PrintRange(int First, int Last) {
  if (selectedOnly_ && !selAvail_) return;
  printing_ = true;
  abort_ = false;
  TPrinter& printer = Printer();
  printer.SetTitle(docTitle_.empty() ? title_ : docTitle_);
  try {
    printer.BeginDoc();
    DoPrintStatus(TCodePrintStatus::psBegin, First, abort_);
    UpdatePages(printer.Handle());
    if (Last < 0 || Last > pageCount_) Last = pageCount_;
    First = std::max(First, 1);
    for (int copy = 1; copy <= copies_ && !abort_; ++copy)
      for (int page = First; page <= Last && !abort_; ++page) {
        PrintPage(page);
        if (!(page == Last && copy == copies_) && !abort_) printer.NewPage();
      }
    if (abort_) {
      if (printer.Printing()) printer.Abort();
    } else {
      DoPrintStatus(TCodePrintStatus::psEnd, Last, abort_);
      if (printer.Printing()) printer.EndDoc();
    }
  } catch (...) {
    // A failed job must not stay open on the printer nor leave this component printing.
    if (printer.Printing()) printer.Abort();
    printing_ = false;
    canvas_ = nullptr;
    throw;
  }
  printing_ = false;
  canvas_ = nullptr;
}
