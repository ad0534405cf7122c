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
}

int TImageList::Count() const { return handle_ ? ImageList_GetImageCount(handle_) : 0; }

int TImageList::AddStrip(HBITMAP Bitmap, COLORREF Transparent) {
  if (!handle_ || !Bitmap) return -1;
  return ImageList_AddMasked(handle_, Bitmap, Transparent);
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
  const uint32_t key = (GetRValue(kGreyKey) << 16) | (GetGValue(kGreyKey) << 8) | GetBValue(kGreyKey);
  for (size_t i = 0; i < Count; ++i) {
    const uint32_t p = Pixels[i] & 0xFFFFFF;
    if (p != key) Pixels[i] = DisabledGrey(p);
  }
}
}  // namespace

std::unique_ptr<TImageList> TImageList::GreyedCopy() const {
  auto copy = std::make_unique<TImageList>(nullptr, width_, height_);
  const int count = Count();
  if (count == 0) return copy;
  void* bits = nullptr;
  HBITMAP strip = CreateTopDownBitmap(width_ * count, height_, 32, &bits);
  if (!strip) return copy;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, strip);
  HBRUSH key = CreateSolidBrush(kGreyKey);
  RECT all = {0, 0, width_ * count, height_};
  FillRect(dc, &all, key);
  DeleteObject(key);
  for (int i = 0; i < count; ++i) Draw(dc, i * width_, 0, i);
  GdiFlush();
  GreyPixels(static_cast<uint32_t*>(bits), static_cast<size_t>(width_) * count * height_);
  SelectObject(dc, old);
  copy->AddStrip(strip, kGreyKey);
  DeleteObject(strip);
  DeleteDC(dc);
  return copy;
}
