#include "toolkit/Bitmap.h"

TBitmap::~TBitmap() { SetHandle(nullptr); }

void TBitmap::SetHandle(HBITMAP Bitmap) {
  if (handle_ && handle_ != Bitmap) DeleteObject(handle_);
  handle_ = Bitmap;
  BITMAP info = {};
  if (handle_ && GetObjectA(handle_, sizeof info, &info)) {
    width_ = info.bmWidth;
    height_ = info.bmHeight;
  } else {
    width_ = height_ = 0;
  }
}

bool TBitmap::LoadFromResourceName(HINSTANCE Module, const std::string& Name) {
  SetHandle(static_cast<HBITMAP>(
      LoadImageA(Module, Name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  return !Empty();
}

void TBitmap::Assign(const TBitmap& Source) {
  if (&Source == this) return;
  SetHandle(Source.Empty() ? nullptr
                           : static_cast<HBITMAP>(CopyImage(Source.handle_, IMAGE_BITMAP, 0, 0,
                                                            LR_CREATEDIBSECTION)));
}
