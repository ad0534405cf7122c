// A list of equally sized images for tabs, tool buttons and menus.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>
#include "toolkit/Component.h"

class TImageList : public TComponent {
public:
  explicit TImageList(TComponent* Owner, int Width = 16, int Height = 16);
  ~TImageList() override;

  int Width() const { return width_; }
  int Height() const { return height_; }
  int Count() const;
  HIMAGELIST Handle() const { return handle_; }

  // Cuts the bitmap into images of Width pixels; pixels of the Transparent colour stay
  // transparent. The caller keeps the bitmap. The index of the first new image, -1 on failure.
  int AddStrip(HBITMAP Bitmap, COLORREF Transparent);
  int AddStripFromResource(HINSTANCE Module, const std::string& Name, COLORREF Transparent);
  // Uses the system's small-icon list (as the shell gives it for Path) instead of an own
  // list; the shared list is never destroyed here. False when the shell gives none.
  bool AttachSystemSmallIcons(const std::string& Path);
  bool Shared() const { return shared_; }
  // The index of the shell's small icon for a file in the system's small-icon list; -1 when
  // unknown.
  static int SystemSmallIconIndex(const std::string& FileName);
  void Draw(HDC DC, int X, int Y, int Index, bool Enabled = true) const;
  // The pixels of one image, row after row, opaque 0xFFRRGGBB or transparent 0; nullptr when
  // the list cannot tell them without drawing.
  const uint32_t* KeptPixels(int Index) const;
  // The same images in light greys that keep their shapes, as disabled buttons show them.
  std::unique_ptr<TImageList> GreyedCopy() const;

private:
  void Release();
  struct TStripPixels;
  static TStripPixels ReadStrip(HBITMAP Bitmap);
  void KeepStripPixels(const TStripPixels& Strip, COLORREF Transparent, int First);
  void DrawOnto(HDC DC, uint32_t* Pixels, int Count) const;

  int width_;
  int height_;
  HIMAGELIST handle_ = nullptr;
  bool shared_ = false;
  // The images added so far as opaque 0xFFRRGGBB or transparent 0 pixels, image after image:
  // a greyed copy is made from them without drawing every image. Dropped when images came in
  // by other means.
  std::vector<uint32_t> pixels_;
  bool pixelsKept_ = true;
};
