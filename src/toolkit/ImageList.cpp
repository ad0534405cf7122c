#include "toolkit/ImageList.h"
#include <shellapi.h>
#include <cstdint>
#include "toolkit/Graphics.h"

TImageList::TImageList(TComponent* Owner, int Width, int Height)
    : TComponent(Owner), width_(Width), height_(Height) {
  handle_ = ImageList_Create(Width, Height, ILC_COLOR24 | ILC_MASK, 0, 16);
}

TImageList::~TImageList() { Release(); }

void TImageList::Release() {
  if (handle_ && !shared_) ImageList_Destroy(handle_);
  handle_ = nullptr;
  shared_ = false;
  pixels_.clear();
  pixelsKept_ = false;
}

int TImageList::Count() const { return handle_ ? ImageList_GetImageCount(handle_) : 0; }

// A bitmap's pixels as 0x00RRGGBB, row after row; empty when they cannot be read.
struct TImageList::TStripPixels {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
};

TImageList::TStripPixels TImageList::ReadStrip(HBITMAP Bitmap) {
  TStripPixels strip;
  BITMAP size = {};
  if (!GetObjectA(Bitmap, sizeof size, &size) || size.bmWidth <= 0 || size.bmHeight <= 0)
    return strip;
  strip.pixels.resize(static_cast<size_t>(size.bmWidth) * size.bmHeight);
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof info.bmiHeader, size.bmWidth, -size.bmHeight, 1, 32, BI_RGB};
  HDC dc = GetDC(nullptr);
  const int rows = GetDIBits(dc, Bitmap, 0, size.bmHeight, strip.pixels.data(), &info,
                             DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  if (rows != size.bmHeight) return {};
  strip.width = size.bmWidth;
  strip.height = size.bmHeight;
  for (uint32_t& p : strip.pixels) p &= 0xFFFFFFu;
  return strip;
}

int TImageList::AddStrip(HBITMAP Bitmap, COLORREF Transparent) {
  if (!handle_ || !Bitmap) return -1;
  // Read before adding: adding turns the transparent pixels of the bitmap black.
  const TStripPixels strip = ReadStrip(Bitmap);
  const int first = ImageList_AddMasked(handle_, Bitmap, Transparent);
  if (first >= 0) KeepStripPixels(strip, Transparent, first);
  return first;
}

void TImageList::KeepStripPixels(const TStripPixels& Strip, COLORREF Transparent, int First) {
  const size_t imageSize = static_cast<size_t>(width_) * height_;
  // An empty list starts afresh, even after its images were removed through the handle.
  if (First == 0) {
    pixels_.clear();
    pixelsKept_ = true;
  }
  const int added = Count() - First;
  if (!pixelsKept_ || pixels_.size() != static_cast<size_t>(First) * imageSize || added <= 0 ||
      Strip.pixels.empty()) {
    pixels_.clear();
    pixelsKept_ = false;
    return;
  }
  const uint32_t key = PixelOf(Transparent);
  // Outside the strip an image is transparent, as the list shows it.
  for (int image = 0; image < added; ++image)
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) {
        const int sx = image * width_ + x;
        const uint32_t p = sx < Strip.width && y < Strip.height
                               ? Strip.pixels[static_cast<size_t>(y) * Strip.width + sx]
                               : key;
        pixels_.push_back(p == key ? 0 : 0xFF000000u | p);
      }
}

int TImageList::AddStripFromResource(HINSTANCE Module, const std::string& Name, COLORREF Transparent) {
  HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(Module, Name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!bitmap) return -1;
  int first = AddStrip(bitmap, Transparent);
  DeleteObject(bitmap);
  return first;
}

bool TImageList::AttachSystemSmallIcons(const std::string& Path) {
  SHFILEINFOA info = {};
  auto list = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoA(Path.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  if (info.hIcon) DestroyIcon(info.hIcon);
  if (!list) return false;
  Release();
  handle_ = list;
  shared_ = true;
  ImageList_GetIconSize(list, &width_, &height_);
  return true;
}

int TImageList::SystemSmallIconIndex(const std::string& FileName) {
  SHFILEINFOA info = {};
  if (!SHGetFileInfoA(FileName.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON))
    return -1;
  return info.iIcon;
}

void TImageList::Draw(HDC DC, int X, int Y, int Index, bool Enabled) const {
  if (!handle_ || Index < 0 || Index >= Count()) return;
  if (Enabled) {
    ImageList_Draw(handle_, Index, DC, X, Y, ILD_TRANSPARENT);
    return;
  }
  IMAGELISTDRAWPARAMS p = {};
  p.cbSize = sizeof p;
  p.himl = handle_;
  p.i = Index;
  p.hdcDst = DC;
  p.x = X;
  p.y = Y;
  p.fStyle = ILD_TRANSPARENT;
  p.fState = ILS_SATURATE;
  ImageList_DrawIndirect(&p);
}

namespace {
constexpr COLORREF kGreyKey = RGB(255, 0, 255);

void GreyPixels(uint32_t* Pixels, size_t Count) {
  const uint32_t key = PixelOf(kGreyKey);
  for (size_t i = 0; i < Count; ++i) {
    const uint32_t p = Pixels[i] & 0xFFFFFF;
    if (p != key) Pixels[i] = DisabledGrey(p);
  }
}
}  // namespace

const uint32_t* TImageList::KeptPixels(int Index) const {
  const size_t imageSize = static_cast<size_t>(width_) * height_;
  const int count = Count();
  if (!pixelsKept_ || Index < 0 || Index >= count ||
      pixels_.size() != static_cast<size_t>(count) * imageSize)
    return nullptr;
  return pixels_.data() + Index * imageSize;
}

// Every image side by side on the grey key, as the list draws it.
void TImageList::DrawOnto(HDC DC, uint32_t* Pixels, int Count) const {
  const uint32_t key = PixelOf(kGreyKey);
  if (KeptPixels(0)) {
    const int stripWidth = width_ * Count;
    for (int image = 0; image < Count; ++image) {
      const uint32_t* source = KeptPixels(image);
      for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
          const uint32_t p = source[y * width_ + x];
          Pixels[static_cast<size_t>(y) * stripWidth + image * width_ + x] = p ? p & 0xFFFFFFu : key;
        }
    }
    return;
  }
  HBRUSH brush = CreateSolidBrush(kGreyKey);
  RECT all = {0, 0, width_ * Count, height_};
  FillRect(DC, &all, brush);
  DeleteObject(brush);
  for (int i = 0; i < Count; ++i) Draw(DC, i * width_, 0, i);
  GdiFlush();
}

std::unique_ptr<TImageList> TImageList::GreyedCopy() const {
  auto copy = std::make_unique<TImageList>(nullptr, width_, height_);
  const int count = Count();
  if (count == 0) return copy;
  void* bits = nullptr;
  HBITMAP strip = CreateTopDownBitmap(width_ * count, height_, 32, &bits);
  if (!strip) return copy;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, strip);
  DrawOnto(dc, static_cast<uint32_t*>(bits), count);
  GreyPixels(static_cast<uint32_t*>(bits), static_cast<size_t>(width_) * count * height_);
  SelectObject(dc, old);
  copy->AddStrip(strip, kGreyKey);
  DeleteObject(strip);
  DeleteDC(dc);
  return copy;
}
