#include <algorithm>
#include "editor/CodeEditLineStates.h"
#include "printing/CodeEditPrint.h"
#include "toolkit/Printer.h"

void TCodeEditPrint::PrintPage(int PageNumber) {
  DoPrintStatus(TCodePrintStatus::psNewPage, PageNumber, abort_);
  if (abort_) return;
  // A printer may give each page a device context of its own.
  if (printing_ && Printer().Handle()) canvas_ = Printer().Handle();
  margins_.InitPage(canvas_, PageNumber, printerInfo_, lineNumbers_, lineNumbersInMargin_,
                    static_cast<int>(lines_.size()) - 1 + lineOffset_);
  {
    HBRUSH brush = CreateSolidBrush(ColorToRGB(color_));
    RECT r = {margins_.PLeft, margins_.PTop, margins_.PRight, margins_.PBottom};
    FillRect(canvas_, &r, brush);
    DeleteObject(brush);
  }
  header_.Print(canvas_, PageNumber + pageOffset_);
  if (PageNumber >= 1 && PageNumber <= pageCount_ && !lines_.empty()) {
    yPos_ = margins_.PTop;
    const int first = pages_[PageNumber - 1];
    const int end = PageNumber < pageCount_ ? pages_[PageNumber] - 1 : LastPrintedLine();
    for (int i = first; i <= std::min(end, LastPrintedLine()); ++i) {
      lineNumber_ = i + 1;
      PrintLine(i);
      DoPrintLine(lineNumber_, PageNumber);
    }
  }
  footer_.Print(canvas_, PageNumber + pageOffset_);
}

void TCodeEditPrint::DrawRow(const std::string& Text, int Column, int Y, HFONT Font,
                             COLORREF Fore, COLORREF Back) {
  // Every character takes one character width; what passes the text width is dropped.
  const int fits = std::max(maxWidth_ / charWidth_ - Column, 0);
  const int count = std::min(static_cast<int>(Text.size()), fits);
  if (count <= 0) return;
  std::vector<INT> spacing(count, charWidth_);
  TSelectedObject selected(canvas_, Font);
  SetTextColor(canvas_, Fore);
  SetBkColor(canvas_, Back);
  ExtTextOutA(canvas_, margins_.PLeft + Column * charWidth_, Y, 0, nullptr, Text.data(), count,
              spacing.data());
}

void TCodeEditPrint::PrintLineNumber(int Line) {
  const std::string text = std::to_string(Line + 1 + lineOffset_) + ": ";
  TSelectedObject selected(canvas_, StyledFont(TFontStyles{}));
  SetTextColor(canvas_, RGB(0, 0, 0));
  SetBkColor(canvas_, ColorToRGB(color_));
  const UINT oldAlign = SetTextAlign(canvas_, TA_RIGHT | TA_TOP);
  TextOutA(canvas_, margins_.PLeft, yPos_, text.c_str(), static_cast<int>(text.size()));
  SetTextAlign(canvas_, oldAlign);
}

void TCodeEditPrint::PrintLine(int Line) {
  TSavedDC saved(canvas_);
  SetBkMode(canvas_, OPAQUE);
  SetTextAlign(canvas_, TA_LEFT | TA_TOP);
  if (lineNumbers_) PrintLineNumber(Line);
  const TPrintedText printed = PrintedText(Line);
  const std::vector<TRow> rows = RowsOf(printed.Text);
  if (useHighlighter_) {
    PrintHighlightedRows(Line, printed, rows);
  } else {
    const COLORREF fore = ColorToRGB(font_.Color());
    for (size_t r = 0; r < rows.size(); ++r)
      DrawRow(printed.Text.substr(rows[r].Start, rows[r].Length), 0,
              yPos_ + static_cast<int>(r) * lineHeight_, StyledFont(font_.Style()), fore,
              ColorToRGB(color_));
  }
  yPos_ += static_cast<int>(rows.size()) * lineHeight_;
}

void TCodeEditPrint::PrintHighlightedRows(int Line, const TPrintedText& Printed,
                                          const std::vector<TRow>& Rows) {
  StartHighlighterAtLine(*highlighter_, rawLines_, Line);
  highlighter_->SetLine(lines_[Line], Line);
  const int textStart = Printed.Column;
  const int textEnd = Printed.Column + static_cast<int>(Printed.Text.size());
  for (; !highlighter_->AtLineEnd(); highlighter_->NextToken()) {
    const std::string token = highlighter_->GetToken();
    const int tokenStart = highlighter_->GetTokenPos();
    const int from = std::max(tokenStart, textStart);
    const int to = std::min(tokenStart + static_cast<int>(token.size()), textEnd);
    if (from >= to) continue;
    const TCodeHighlighterAttributes* attr = highlighter_->GetTokenAttribute();
    TColor fore = font_.Color(), back = color_;
    if (attr && colors_) {
      if (attr->Foreground() != clNone) fore = attr->Foreground();
      if (attr->Background() != clNone) back = attr->Background();
    }
    HFONT font = StyledFont(attr ? attr->Style() : font_.Style());
    // The token's characters in order, continued on the next row at each wrap position.
    for (size_t r = 0; r < Rows.size(); ++r) {
      const int rowFrom = textStart + Rows[r].Start;
      const int rowTo = rowFrom + Rows[r].Length;
      const int a = std::max(from, rowFrom), b = std::min(to, rowTo);
      if (a >= b) continue;
      DrawRow(token.substr(a - tokenStart, b - a), a - rowFrom,
              yPos_ + static_cast<int>(r) * lineHeight_, font, ColorToRGB(fore), ColorToRGB(back));
    }
  }
}
