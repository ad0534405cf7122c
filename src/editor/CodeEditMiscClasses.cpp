#include "editor/CodeEditMiscClasses.h"
#include <algorithm>
#include <map>
#include "rtl/SysUtils.h"

// --- TCodeSelectedColor ---

void TCodeSelectedColor::SetBackground(TColor Value) { SetAndNotify(background_, Value); }
void TCodeSelectedColor::SetForeground(TColor Value) { SetAndNotify(foreground_, Value); }

void TCodeSelectedColor::Assign(const TCodeSelectedColor& Source) {
  background_ = Source.background_;
  foreground_ = Source.foreground_;
  Changed();
}

// --- TCodeGutter ---

TCodeGutter::TCodeGutter() {
  font_.OnChange = [this](TObject*) { Changed(); };
}

void TCodeGutter::SetAutoSize(bool Value) { SetAndNotify(autoSize_, Value); }
void TCodeGutter::SetBorderStyle(TCodeGutterBorderStyle Value) {
  SetAndNotify(borderStyle_, Value);
}
void TCodeGutter::SetColor(TColor Value) { SetAndNotify(color_, Value); }
void TCodeGutter::SetBorderColor(TColor Value) { SetAndNotify(borderColor_, Value); }
void TCodeGutter::SetCursor(HCURSOR Value) { SetAndNotify(cursor_, Value); }
void TCodeGutter::SetFont(const TFont& Value) { font_.Assign(Value); }
void TCodeGutter::SetLeadingZeros(bool Value) { SetAndNotify(leadingZeros_, Value); }
void TCodeGutter::SetLeftOffset(int Value) { SetAndNotify(leftOffset_, Value); }
void TCodeGutter::SetRightOffset(int Value) { SetAndNotify(rightOffset_, Value); }
void TCodeGutter::SetShowLineNumbers(bool Value) { SetAndNotify(showLineNumbers_, Value); }
void TCodeGutter::SetUseFontStyle(bool Value) { SetAndNotify(useFontStyle_, Value); }
void TCodeGutter::SetVisible(bool Value) { SetAndNotify(visible_, Value); }
void TCodeGutter::SetWidth(int Value) { SetAndNotify(width_, Value); }
void TCodeGutter::SetZeroStart(bool Value) { SetAndNotify(zeroStart_, Value); }
void TCodeGutter::SetLineNumberStart(int Value) { SetAndNotify(lineNumberStart_, Value); }
void TCodeGutter::SetGradient(bool Value) { SetAndNotify(gradient_, Value); }
void TCodeGutter::SetGradientStartColor(TColor Value) {
  SetAndNotify(gradientStartColor_, Value);
}
void TCodeGutter::SetGradientEndColor(TColor Value) { SetAndNotify(gradientEndColor_, Value); }
void TCodeGutter::SetGradientSteps(int Value) { SetAndNotify(gradientSteps_, Value); }

void TCodeGutter::SetDigitCount(int Value) {
  if (Value == digitCount_) return;
  digitCount_ = Value;
  digitsInUse_ = Value;
  Changed();
}

void TCodeGutter::Assign(const TCodeGutter& Source) {
  if (&Source == this) return;
  auto notify = std::move(OnChange);  // one notification for the whole copy
  autoSize_ = Source.autoSize_;
  borderStyle_ = Source.borderStyle_;
  color_ = Source.color_;
  borderColor_ = Source.borderColor_;
  cursor_ = Source.cursor_;
  digitCount_ = Source.digitCount_;
  digitsInUse_ = Source.digitsInUse_;
  font_.Assign(Source.font_);
  leadingZeros_ = Source.leadingZeros_;
  leftOffset_ = Source.leftOffset_;
  rightOffset_ = Source.rightOffset_;
  showLineNumbers_ = Source.showLineNumbers_;
  useFontStyle_ = Source.useFontStyle_;
  visible_ = Source.visible_;
  width_ = Source.width_;
  zeroStart_ = Source.zeroStart_;
  lineNumberStart_ = Source.lineNumberStart_;
  gradient_ = Source.gradient_;
  gradientStartColor_ = Source.gradientStartColor_;
  gradientEndColor_ = Source.gradientEndColor_;
  gradientSteps_ = Source.gradientSteps_;
  OnChange = std::move(notify);
  Changed();
}

namespace {
int DecimalLength(int Value) { return static_cast<int>(std::to_string(Value).size()); }
}  // namespace

void TCodeGutter::AutoSizeDigitCount(int LineCount) {
  if (!(visible_ && autoSize_ && showLineNumbers_)) {
    digitsInUse_ = digitCount_;
    return;
  }
  int highest = LineCount;
  if (zeroStart_)
    highest = LineCount - 1;
  else if (lineNumberStart_ > 1)
    highest = LineCount + lineNumberStart_ - 1;
  int digits = std::max(DecimalLength(highest), digitCount_);
  if (digits != digitsInUse_) {
    digitsInUse_ = digits;
    Changed();
  }
}

std::string TCodeGutter::FormatLineNumber(int Line) const {
  int number = Line;
  if (zeroStart_)
    number = Line - 1;
  else if (lineNumberStart_ > 1)
    number = Line + lineNumberStart_ - 1;
  std::string text = std::to_string(number);
  if (static_cast<int>(text.size()) < digitsInUse_)
    text.insert(0, digitsInUse_ - text.size(), ' ');
  if (leadingZeros_)
    for (size_t i = 0; i + 1 < text.size() && text[i] == ' '; ++i) text[i] = '0';
  return text;
}

int TCodeGutter::RealGutterWidth(int CharWidth) const {
  if (!visible_) return 0;
  if (showLineNumbers_) return leftOffset_ + rightOffset_ + digitsInUse_ * CharWidth + 2;
  return width_;
}

// --- TCodeBookMarkOpt ---

void TCodeBookMarkOpt::SetBookmarkImages(HIMAGELIST Value) { SetAndNotify(bookmarkImages_, Value); }
void TCodeBookMarkOpt::SetDrawBookmarksFirst(bool Value) {
  SetAndNotify(drawBookmarksFirst_, Value);
}
void TCodeBookMarkOpt::SetEnableKeys(bool Value) { SetAndNotify(enableKeys_, Value); }
void TCodeBookMarkOpt::SetGlyphsVisible(bool Value) { SetAndNotify(glyphsVisible_, Value); }
void TCodeBookMarkOpt::SetLeftMargin(int Value) { SetAndNotify(leftMargin_, Value); }
void TCodeBookMarkOpt::SetXoffset(int Value) { SetAndNotify(xoffset_, Value); }

void TCodeBookMarkOpt::Assign(const TCodeBookMarkOpt& Source) {
  bookmarkImages_ = Source.bookmarkImages_;
  drawBookmarksFirst_ = Source.drawBookmarksFirst_;
  enableKeys_ = Source.enableKeys_;
  glyphsVisible_ = Source.glyphsVisible_;
  leftMargin_ = Source.leftMargin_;
  xoffset_ = Source.xoffset_;
  Changed();
}

// --- drawing a slice of a bitmap centred in a line ---

namespace {
// The rows of a Height-high picture shown in a line: all of them centred, or the middle
// LineHeight ones.
struct TLineSlice {
  int SourceY, DestY, Height;
};
TLineSlice SliceForLine(int Height, int Y, int LineHeight) {
  if (Height > LineHeight) return {(Height - LineHeight) / 2, Y, LineHeight};
  return {0, Y + (LineHeight - Height) / 2, Height};
}

void DrawBitmapPart(HDC DC, HBITMAP Bitmap, int SourceX, int Width, int BitmapHeight, int X,
                    int Y, int LineHeight, TColor MaskColor) {
  TLineSlice s = SliceForLine(BitmapHeight, Y, LineHeight);
  HDC mem = CreateCompatibleDC(DC);
  HGDIOBJ old = SelectObject(mem, Bitmap);
  if (MaskColor == clNone)
    BitBlt(DC, X, s.DestY, Width, s.Height, mem, SourceX, s.SourceY, SRCCOPY);
  else
    TransparentBlt(DC, X, s.DestY, Width, s.Height, mem, SourceX, s.SourceY, Width, s.Height,
                   ColorToRGB(MaskColor));
  SelectObject(mem, old);
  DeleteDC(mem);
}
}  // namespace

// --- TCodeGlyph ---

TCodeGlyph::TCodeGlyph(HINSTANCE Module, const std::string& ResourceName, TColor InternalMaskColor)
    : internalMaskColor_(InternalMaskColor) {
  if (!ResourceName.empty()) internalGlyph_.LoadFromResourceName(Module, ResourceName);
}

void TCodeGlyph::SetGlyph(const TBitmap& Value) {
  glyph_.Assign(Value);
  Changed();
}

void TCodeGlyph::SetMaskColor(TColor Value) { SetAndNotify(maskColor_, Value); }
void TCodeGlyph::SetVisible(bool Value) { SetAndNotify(visible_, Value); }

int TCodeGlyph::Width() const { return Shown().Width(); }
int TCodeGlyph::Height() const { return Shown().Height(); }

TColor TCodeGlyph::ShownMaskColor() const {
  return glyph_.Empty() ? internalMaskColor_ : maskColor_;
}

void TCodeGlyph::Assign(const TCodeGlyph& Source) {
  if (&Source == this) return;
  glyph_.Assign(Source.glyph_);
  maskColor_ = Source.maskColor_;
  visible_ = Source.visible_;
  Changed();
}

void TCodeGlyph::Draw(HDC DC, int X, int Y, int LineHeight) const {
  const TBitmap& b = Shown();
  if (b.Empty()) return;
  DrawBitmapPart(DC, b.Handle(), 0, b.Width(), b.Height(), X, Y, LineHeight, ShownMaskColor());
}

// --- TCodeInternalImage ---

namespace {
struct TSharedBitmap {
  HBITMAP Bitmap;
  int RefCount;
};
// Keyed by the upper-cased resource name; the map is freed when its last entry goes.
std::unique_ptr<std::map<std::string, TSharedBitmap>>& SharedBitmaps() {
  static std::unique_ptr<std::map<std::string, TSharedBitmap>> list;
  return list;
}

HBITMAP AcquireBitmap(HINSTANCE Module, const std::string& Key, const std::string& Name) {
  auto& list = SharedBitmaps();
  if (!list) list = std::make_unique<std::map<std::string, TSharedBitmap>>();
  auto it = list->find(Key);
  if (it == list->end()) {
    auto bitmap = static_cast<HBITMAP>(
        LoadImageA(Module, Name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    it = list->emplace(Key, TSharedBitmap{bitmap, 0}).first;
  }
  ++it->second.RefCount;
  return it->second.Bitmap;
}

void ReleaseBitmap(const std::string& Key) {
  auto& list = SharedBitmaps();
  auto it = list->find(Key);
  if (--it->second.RefCount > 0) return;
  if (it->second.Bitmap) DeleteObject(it->second.Bitmap);
  list->erase(it);
  if (list->empty()) list.reset();
}

SIZE BitmapSize(HBITMAP Bitmap) {
  BITMAP info = {};
  if (!Bitmap || !GetObjectA(Bitmap, sizeof info, &info)) return {0, 0};
  return {info.bmWidth, info.bmHeight};
}
}  // namespace

TCodeInternalImage::TCodeInternalImage(HINSTANCE Module, const std::string& ResourceName, int Count)
    : name_(AnsiUpperCase(ResourceName)),
      bitmap_(AcquireBitmap(Module, name_, ResourceName)),
      count_(Count),
      width_(Count > 0 ? (BitmapSize(bitmap_).cx + Count / 2) / Count : 0) {}

TCodeInternalImage::~TCodeInternalImage() { ReleaseBitmap(name_); }

int TCodeInternalImage::ImageHeight() const { return BitmapSize(bitmap_).cy; }

void TCodeInternalImage::Draw(HDC DC, int Number, int X, int Y, int LineHeight) const {
  if (!bitmap_ || Number < 0 || Number >= count_) return;
  DrawBitmapPart(DC, bitmap_, Number * width_, width_, ImageHeight(), X, Y, LineHeight, clNone);
}
