// Menu glyphs: which items show which image, their background and grey, and no GDI leak.
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>
#include "toolkit/Form.h"
#include "toolkit/ImageList.h"
#include "toolkit/Menus.h"
#include "support/LayoutCheck.h"

namespace {
constexpr COLORREF kMagenta = RGB(255, 0, 255);
// Pixels as a 32-bit DIB stores them: 0xAARRGGBB.
constexpr DWORD kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF;

// Three 16x16 images: red, green and blue squares inside a transparent magenta frame, the
// order turned by First places; added through the list or put in through its handle.
void FillImages(TImageList& List, int First = 0, bool ThroughHandle = false) {
  BITMAPINFO bi = {{sizeof(BITMAPINFOHEADER), 48, -16, 1, 32, BI_RGB}};
  DWORD* bits = nullptr;
  HBITMAP strip = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
  ASSERT_TRUE(strip);
  const DWORD colours[] = {0xFF0000, 0x00FF00, 0x0000FF};
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 48; ++x) {
      bool frame = x % 16 < 2 || x % 16 >= 14 || y < 2 || y >= 14;
      bits[y * 48 + x] = frame ? 0xFF00FF : colours[(x / 16 + First) % 3];
    }
  ASSERT_EQ(ThroughHandle ? ImageList_AddMasked(List.Handle(), strip, kMagenta)
                          : List.AddStrip(strip, kMagenta),
            0);
  DeleteObject(strip);
}

HBITMAP NativeGlyph(HMENU Menu, int Pos) {
  MENUITEMINFOA mii = {};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_BITMAP;
  GetMenuItemInfoA(Menu, Pos, TRUE, &mii);
  return mii.hbmpItem;
}

// 0 when the item shows no glyph.
DWORD GlyphPixel(HMENU Menu, int Pos, int X, int Y) {
  HBITMAP glyph = NativeGlyph(Menu, Pos);
  if (!glyph) return 0;
  BITMAP bm = {};
  GetObjectA(glyph, sizeof bm, &bm);
  if (!bm.bmBits || bm.bmBitsPixel != 32 || X >= bm.bmWidth || Y >= bm.bmHeight) return 0;
  return static_cast<const DWORD*>(bm.bmBits)[Y * bm.bmWidth + X];
}

DWORD Centre(HMENU Menu, int Pos) { return GlyphPixel(Menu, Pos, 8, 8); }

DWORD MenuColour() {
  COLORREF c = GetSysColor(COLOR_MENU);
  return 0xFF000000u | GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
}

struct GlyphWindow {
  TForm form{nullptr, {"Bilder", 400, 300}};
  TImageList* images = form.Make<TImageList>("ImgList");
  TMainMenu* menu = form.Make<TMainMenu>("mnuMain");
  TMenuItem* file = Item("mnuFile", "&Datei", menu->Items(), -1);
  TMenuItem* open = Item("mnuFileOpen", "Ö&ffnen...", file, 0);
  TMenuItem* line = Item("N1", "-", file, 1);
  TMenuItem* save = Item("mnuFileSave", "&Speichern", file, 2);

  explicit GlyphWindow(bool ThroughHandle = false) {
    FillImages(*images, 0, ThroughHandle);
    menu->SetImages(images);
    form.SetMenu(menu);
  }
  TMenuItem* Item(const std::string& Name, const std::string& Caption, TMenuItem* Parent, int Image) {
    auto* item = form.Make<TMenuItem>(Name);
    item->SetCaption(Caption);
    item->SetImageIndex(Image);
    Parent->Add(item);
    return item;
  }
};

// Run inside the loop of the menu opened next, then closes it.
std::function<void()> whileOpen;

void CALLBACK RunWhileOpen(HWND, UINT, UINT_PTR Id, DWORD) {
  KillTimer(nullptr, Id);
  whileOpen();
  EndMenu();
}

int GdiObjects() { return static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)); }
}  // namespace

TEST(MenuImages, ItemShowsItsImageWithTransparentFrameAndFollowsItsChanges) {
  GlyphWindow w;
  HMENU sub = w.file->Handle();
  EXPECT_EQ(Centre(sub, 0), kRed);
  EXPECT_EQ(GlyphPixel(sub, 0, 0, 0), MenuColour()) << "the frame's colour is the menu's";
  EXPECT_EQ(GlyphPixel(sub, 0, 15, 15), MenuColour());
  EXPECT_EQ(GlyphPixel(sub, 0, 17, 8), MenuColour()) << "margin before the caption";
  EXPECT_EQ(Centre(sub, 2), kBlue);
  EXPECT_EQ(NativeGlyph(sub, 1), nullptr) << "separator";
  EXPECT_EQ(NativeGlyph(w.menu->Handle(), 0), nullptr) << "bar item without an image";

  struct Case { int image; DWORD centre; };
  for (Case c : {Case{1, kGreen}, Case{-1, 0}, Case{2, kBlue}, Case{3, 0}, Case{0, kRed}}) {
    w.open->SetImageIndex(c.image);
    EXPECT_EQ(Centre(sub, 0), c.centre) << "image " << c.image;
  }
  ASSERT_EQ(GetMenuItemCount(sub), 3);
}

TEST(MenuImages, DisabledItemIsGreyAndCheckMarksAndShortCutsStay) {
  GlyphWindow w;
  HMENU sub = w.file->Handle();
  w.save->SetShortCut(ShortCut('S', TShiftState{TShift::ssCtrl}));
  w.save->SetChecked(true);
  w.save->SetEnabled(false);
  DWORD grey = Centre(sub, 2);
  BYTE r = grey >> 16 & 0xFF, g = grey >> 8 & 0xFF, b = grey & 0xFF;
  EXPECT_EQ(grey >> 24, 0xFFu);
  EXPECT_TRUE(r == g && g == b && r >= 128) << std::hex << grey;
  EXPECT_EQ(GlyphPixel(sub, 2, 0, 0), MenuColour());

  MENUITEMINFOA mii = {};
  char text[64] = {};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_STATE | MIIM_STRING;
  mii.dwTypeData = text;
  mii.cch = sizeof text;
  ASSERT_TRUE(GetMenuItemInfoA(sub, 2, TRUE, &mii));
  EXPECT_EQ(mii.fState & (MFS_CHECKED | MFS_GRAYED), static_cast<UINT>(MFS_CHECKED | MFS_GRAYED));
  EXPECT_EQ(std::string(text), "&Speichern\t" + ShortCutToText(w.save->ShortCut()));

  w.save->SetEnabled(true);
  EXPECT_EQ(Centre(sub, 2), kBlue);
  EXPECT_TRUE(w.menu->IsShortCut(w.save->ShortCut()));
}

// Every pixel of the glyph the native item shows.
std::vector<DWORD> GlyphPixels(HMENU Menu, int Pos) {
  std::vector<DWORD> pixels;
  BITMAP bm = {};
  if (HBITMAP glyph = NativeGlyph(Menu, Pos); glyph && GetObjectA(glyph, sizeof bm, &bm) && bm.bmBits)
    pixels.assign(static_cast<const DWORD*>(bm.bmBits),
                  static_cast<const DWORD*>(bm.bmBits) + bm.bmWidth * bm.bmHeight);
  return pixels;
}

TEST(MenuImages, GlyphsAreTheSameHoweverTheImagesCameIn) {
  GlyphWindow added, throughHandle(true);
  for (bool enabled : {true, false, true}) {
    for (GlyphWindow* w : {&added, &throughHandle}) {
      w->open->SetEnabled(enabled);
      w->save->SetEnabled(!enabled);
    }
    for (int pos : {0, 2}) {
      const std::vector<DWORD> expected = GlyphPixels(throughHandle.file->Handle(), pos);
      ASSERT_EQ(expected.size(), 18u * 16) << pos;
      EXPECT_EQ(GlyphPixels(added.file->Handle(), pos), expected) << pos << " enabled " << enabled;
    }
  }
}

TEST(MenuImages, ListSetLaterOrFreedFirstIsFollowedInNestedPopupItems) {
  TForm form{nullptr, {"Bilder", 400, 300}};
  auto images = std::make_unique<TImageList>(nullptr);
  FillImages(*images);
  TPopupMenu popup(nullptr);
  TMenuItem* more = popup.Items()->Add(std::make_unique<TMenuItem>(nullptr));
  more->SetCaption("Mehr");
  TMenuItem* deep = more->Add(std::make_unique<TMenuItem>(nullptr));
  deep->SetCaption("Tief");
  deep->SetImageIndex(1);
  EXPECT_EQ(Centre(more->Handle(), 0), 0u) << "no list yet";

  popup.SetImages(images.get());
  EXPECT_EQ(Centre(more->Handle(), 0), kGreen);
  popup.SetImages(nullptr);
  EXPECT_EQ(Centre(more->Handle(), 0), 0u);
  popup.SetImages(images.get());
  images.reset();
  EXPECT_EQ(popup.Images(), nullptr);
  EXPECT_EQ(Centre(more->Handle(), 0), 0u);
  deep->SetImageIndex(2);  // must not reach the freed list
  EXPECT_EQ(Centre(more->Handle(), 0), 0u);
}

TEST(MenuImages, RebuildingARunTimeListFreesEveryGlyph) {
  GlyphWindow w;
  TMenuItem* reopen = w.Item("mnuFileReopen", "&Zuletzt geöffnet", w.file, -1);
  std::set<HBITMAP> seen;
  auto rebuild = [&] {
    reopen->Clear();
    for (int i = 0; i < 20; ++i) {
      TMenuItem* item = reopen->Add(std::make_unique<TMenuItem>(nullptr));
      item->SetCaption("&" + std::to_string(i) + " datei" + std::to_string(i) + ".txt");
      item->SetImageIndex(i % 3);
      if (i % 4 == 0) item->SetEnabled(false);
    }
    for (int i = 0; i < 20; ++i) seen.insert(NativeGlyph(reopen->Handle(), i));
  };
  rebuild();
  const int before = GdiObjects();
  for (int round = 0; round < 200; ++round) rebuild();
  EXPECT_EQ(seen.count(nullptr), 0u);
  EXPECT_EQ(Centre(reopen->Handle(), 1), kGreen);
  EXPECT_LE(GdiObjects(), before + 2);  // Wine reports 0 here; the handle counts below hold there
  size_t alive = 0;
  for (HBITMAP glyph : seen) alive += GetObjectType(glyph) == OBJ_BITMAP;
  EXPECT_EQ(alive, 20u) << "only the current items' glyphs live";
  reopen->Clear();
  for (HBITMAP glyph : seen) EXPECT_EQ(GetObjectType(glyph), 0u) << "glyph still alive";
}

TEST(MenuImages, SubMenuImagesAndBitmapsStandInForTheMenusImages) {
  GlyphWindow w;
  // A second list whose images are the first one's in another order: blue, red, green.
  TImageList* other = w.form.Make<TImageList>("ImgListOther");
  FillImages(*other, 2);
  TMenuItem* recent = w.Item("mnuFileRecent", "&Zuletzt", w.file, -1);
  TMenuItem* first = w.Item("", "a.txt", recent, 0);
  TMenuItem* nested = w.Item("", "Mehr", recent, -1);
  TMenuItem* deep = w.Item("", "b.txt", nested, 0);
  EXPECT_EQ(Centre(recent->Handle(), 0), kRed) << "the menu's images";

  recent->SetSubMenuImages(other);
  EXPECT_EQ(Centre(recent->Handle(), 0), kBlue);
  EXPECT_EQ(Centre(nested->Handle(), 0), kBlue) << "deeper items too";
  EXPECT_EQ(Centre(w.file->Handle(), 0), kRed) << "not the item's own siblings";
  nested->SetSubMenuImages(w.images);
  EXPECT_EQ(Centre(nested->Handle(), 0), kRed) << "the nearest list counts";

  // A bitmap shows where the image list has no image, and is the item's own copy.
  TBitmap bitmap;
  bitmap.SetHandle(CreateBitmap(16, 16, 1, 32, nullptr));
  first->SetBitmap(bitmap);
  EXPECT_EQ(Centre(recent->Handle(), 0), kBlue) << "an image of the list comes first";
  first->SetImageIndex(-1);
  HBITMAP shown = NativeGlyph(recent->Handle(), 0);
  EXPECT_EQ(shown, first->Bitmap().Handle());
  EXPECT_NE(shown, bitmap.Handle());
  ASSERT_NE(shown, nullptr);

  w.form.RemoveComponent(other);
  EXPECT_EQ(recent->SubMenuImages(), nullptr);
  EXPECT_EQ(Centre(nested->Handle(), 0), kRed);
  deep->SetImageIndex(1);
  EXPECT_EQ(Centre(nested->Handle(), 0), kGreen);
}

// The toolkit's own window shows pop-up menus, so it answers for the space of the missing glyphs.
TEST(MenuImages, APopupMenuLinesUpTheShortCutsOfItemsWithAndWithoutImages) {
  TImageList images(nullptr);
  FillImages(images);
  TPopupMenu popup(nullptr);
  popup.SetImages(&images);
  for (const char* caption : {"&Zeilenumbruch", "Unterer Anzeigenbereich sichtbar"}) {
    TMenuItem* item = popup.Items()->Add(std::make_unique<TMenuItem>(nullptr));
    item->SetCaption(caption);
    item->SetShortCut(ShortCut('L', TShiftState{TShift::ssCtrl}));
    item->SetImageIndex(popup.Items()->Count() == 1 ? 0 : -1);
  }
  std::vector<std::string> faults = {"the menu did not open"};
  whileOpen = [&] { faults = testsupport::OpenMenuFaults(popup.Items()->Handle()); };
  popup.OnPopup = [](TObject*) { SetTimer(nullptr, 0, USER_TIMER_MINIMUM, RunWhileOpen); };
  popup.Popup(0, 0);
  for (const std::string& fault : faults) ADD_FAILURE() << fault;
}
