// A bitmap owned by one object, loaded from a resource or taken over as a handle.
#pragma once
#include <windows.h>
#include <string>
#include "rtl/Classes.h"

class TBitmap : public TObject {
public:
  TBitmap() = default;
  ~TBitmap() override;
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  HBITMAP Handle() const { return handle_; }
  // Takes ownership of Bitmap (may be nullptr for an empty bitmap).
  void SetHandle(HBITMAP Bitmap);
  bool Empty() const { return handle_ == nullptr; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // False (and the bitmap empty) when the module has no such bitmap resource.
  bool LoadFromResourceName(HINSTANCE Module, const std::string& Name);
  // A copy of Source's picture; an empty Source empties this one.
  void Assign(const TBitmap& Source);

private:
  HBITMAP handle_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};
