#include "printing/CodeEditPrintHeaderFooter.h"
#include <algorithm>
#include "printing/CodeEditPrintTypes.h"
#include "rtl/SysUtils.h"

namespace {
std::string UpperAscii(std::string S) {
  for (char& c : S)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return S;
}

std::string Number(int Value, bool Roman) { return Roman ? IntToRoman(Value) : std::to_string(Value); }

std::string NowText(bool Date) {
  wchar_t buf[128] = {};
  if (Date)
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, buf, 128);
  else
    GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, nullptr, nullptr, buf, 128);
  return WideToAnsi(buf);
}
}  // namespace

std::string ExpandHeaderFooterMacros(const std::string& Text, int PageNumber, int PageCount,
                                     bool RomanNumbers, const std::string& Title,
                                     const std::string& DateText, const std::string& TimeText) {
  if (Text.find_first_not_of(' ') == std::string::npos) return {};
  std::string result;
  size_t i = 0;
  while (i < Text.size()) {
    if (Text[i] != '$') {
      result += Text[i++];
      continue;
    }
    size_t close = Text.find('$', i + 1);
    if (close == std::string::npos) {
      result += Text.substr(i);
      break;
    }
    const std::string macro = UpperAscii(Text.substr(i, close - i + 1));
    std::string value;
    bool known = true;
    if (macro == "$PAGENUM$") value = Number(PageNumber, RomanNumbers);
    else if (macro == "$PAGECOUNT$") value = Number(PageCount, RomanNumbers);
    else if (macro == "$TITLE$") value = Title;
    else if (macro == "$DATE$") value = DateText;
    else if (macro == "$TIME$") value = TimeText;
    else if (macro == "$DATETIME$") value = DateText + " " + TimeText;
    else if (macro == "$TIMEDATE$") value = TimeText + " " + DateText;
    else known = false;
    if (known) {
      result += value;
      i = close + 1;
    } else {
      // The closing dollar may open a known macro.
      result += Text.substr(i, close - i);
      i = close;
    }
  }
  return result;
}

THeaderFooterItem::THeaderFooterItem(const std::string& Text, const TFont& Font,
                                     TAlignment Alignment, int LineNumber, int Index)
    : text_(Text), lineNumber_(LineNumber), alignment_(Alignment), index_(Index) {
  font_.Assign(Font);
}

THeaderFooter::THeaderFooter(THeaderFooterType Type) : type_(Type) {
  defaultFont_.SetColor(clBlack);
}

int THeaderFooter::Add(const std::string& Text, const TFont* Font, TAlignment Alignment,
                       int LineNumber) {
  const int index = Count();
  items_.push_back(std::make_unique<THeaderFooterItem>(Text, Font ? *Font : defaultFont_,
                                                       Alignment, LineNumber, index));
  return index;
}

void THeaderFooter::Clear() {
  items_.clear();
  lineInfo_.clear();
  frameHeight_ = -1;
}

void THeaderFooter::Assign(const THeaderFooter& Source) {
  if (&Source == this) return;
  Clear();
  type_ = Source.type_;
  frameTypes_ = Source.frameTypes_;
  shadedColor_ = Source.shadedColor_;
  lineColor_ = Source.lineColor_;
  for (const auto& item : Source.items_)
    Add(item->Text(), &item->Font(), item->Alignment(), item->LineNumber());
  defaultFont_.Assign(Source.defaultFont_);
  romanNumbers_ = Source.romanNumbers_;
  mirrorPosition_ = Source.mirrorPosition_;
}

void THeaderFooter::FixLines() {
  std::stable_sort(items_.begin(), items_.end(), [](const auto& a, const auto& b) {
    return a->LineNumber() < b->LineNumber();
  });
  lineInfo_.clear();
  int previous = 0;
  for (auto& item : items_) {
    if (lineInfo_.empty() || item->LineNumber() != previous) lineInfo_.emplace_back();
    previous = item->LineNumber();
    item->SetLineNumber(LineCount());
  }
}

int THeaderFooter::FontPixPrInch(HDC Canvas) const {
  return pixPrInch_ > 0 ? pixPrInch_ : GetDeviceCaps(Canvas, LOGPIXELSY);
}

void THeaderFooter::CalcHeight(HDC Canvas) {
  if (items_.empty()) {
    frameHeight_ = -1;
    return;
  }
  for (const auto& item : items_) {
    TDeviceFont font(item->Font(), FontPixPrInch(Canvas));
    TSelectedObject selected(Canvas, font.Handle());
    SIZE size = {};
    GetTextExtentPoint32A(Canvas, "W", 1, &size);
    TEXTMETRICA tm = {};
    GetTextMetricsA(Canvas, &tm);
    TLineInfo& line = lineInfo_[item->LineNumber() - 1];
    line.LineHeight = std::max<int>(line.LineHeight, size.cy);
    line.MaxBaseDist = std::max<int>(line.MaxBaseDist, tm.tmHeight - tm.tmDescent);
  }
  frameHeight_ = 2 * margins_->PHFInternalMargin;
  for (const auto& line : lineInfo_) frameHeight_ += line.LineHeight;
}

void THeaderFooter::InitPrint(HDC Canvas, int PageCount, const std::string& Title,
                              TCodeEditPrintMargins* Margins) {
  TSavedDC saved(Canvas);
  dateText_ = NowText(true);
  timeText_ = NowText(false);
  pageCount_ = PageCount;
  margins_ = Margins;
  title_ = Title;
  FixLines();
  CalcHeight(Canvas);
}

void THeaderFooter::DrawFrame(HDC Canvas) {
  const bool header = type_ == THeaderFooterType::hftHeader;
  const int top = header ? margins_->PHeader - frameHeight_ : margins_->PFooter;
  const int bottom = header ? margins_->PHeader : margins_->PFooter + frameHeight_;
  HPEN pen = CreatePen(frameTypes_.Contains(TFrameType::ftBox) ? PS_SOLID : PS_NULL, 1,
                       ColorToRGB(lineColor_));
  HBRUSH brush = frameTypes_.Contains(TFrameType::ftShaded)
                     ? CreateSolidBrush(ColorToRGB(shadedColor_))
                     : static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  {
    TSelectedObject selectedPen(Canvas, pen);
    TSelectedObject selectedBrush(Canvas, brush);
    if (frameTypes_.Contains(TFrameType::ftBox) || frameTypes_.Contains(TFrameType::ftShaded))
      Rectangle(Canvas, margins_->PLeft, top, margins_->PRight, bottom);
  }
  DeleteObject(pen);
  if (frameTypes_.Contains(TFrameType::ftShaded)) DeleteObject(brush);
  if (frameTypes_.Contains(TFrameType::ftLine)) {
    HPEN linePen = CreatePen(PS_SOLID, 1, ColorToRGB(lineColor_));
    {
      TSelectedObject selected(Canvas, linePen);
      const int y = header ? margins_->PHeader : margins_->PFooter;
      MoveToEx(Canvas, margins_->PLeft, y, nullptr);
      LineTo(Canvas, margins_->PRight, y);
    }
    DeleteObject(linePen);
  }
}

int THeaderFooter::ItemX(HDC Canvas, const THeaderFooterItem& Item, const std::string& Text,
                         int PageNumber) {
  TAlignment alignment = Item.Alignment();
  if (mirrorPosition_ && PageNumber % 2 == 0) {
    if (alignment == taLeftJustify) alignment = taRightJustify;
    else if (alignment == taRightJustify) alignment = taLeftJustify;
  }
  SIZE size = {};
  GetTextExtentPoint32A(Canvas, Text.c_str(), static_cast<int>(Text.size()), &size);
  switch (alignment) {
    case taLeftJustify: return margins_->PLeftHFTextIndent;
    case taRightJustify: return margins_->PRightHFTextIndent - size.cx;
    case taCenter: break;
  }
  return (margins_->PLeftHFTextIndent + margins_->PRightHFTextIndent - size.cx) / 2;
}

void THeaderFooter::Print(HDC Canvas, int PageNumber) {
  if (frameHeight_ <= 0 || !margins_) return;
  TSavedDC saved(Canvas);
  DrawFrame(Canvas);
  SetBkMode(Canvas, TRANSPARENT);
  int y = (type_ == THeaderFooterType::hftHeader ? margins_->PHeader - frameHeight_
                                                  : margins_->PFooter) +
          margins_->PHFInternalMargin;
  int line = 0;
  for (const auto& item : items_) {
    TDeviceFont font(item->Font(), FontPixPrInch(Canvas));
    TSelectedObject selected(Canvas, font.Handle());
    if (line != 0 && item->LineNumber() != line) y += lineInfo_[line - 1].LineHeight;
    line = item->LineNumber();
    const std::string text = ExpandHeaderFooterMacros(item->Text(), PageNumber, pageCount_,
                                                      romanNumbers_, title_, dateText_, timeText_);
    if (text.empty()) continue;
    const int x = ItemX(Canvas, *item, text, PageNumber);
    SetTextColor(Canvas, ColorToRGB(item->Font().Color()));
    const UINT oldAlign = SetTextAlign(Canvas, TA_BASELINE);
    TextOutA(Canvas, x, y + lineInfo_[line - 1].MaxBaseDist, text.c_str(),
             static_cast<int>(text.size()));
    SetTextAlign(Canvas, oldAlign);
  }
}
