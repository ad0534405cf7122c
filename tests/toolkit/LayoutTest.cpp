// Aligned children in containers, the splitter, the status bar and image lists.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>
#include "support/ScreenCapture.h"
#include "toolkit/Controls.h"
#include "toolkit/Form.h"
#include "toolkit/Graphics.h"
#include "toolkit/GroupBox.h"
#include "toolkit/ImageList.h"
#include "toolkit/Panels.h"
#include "toolkit/StatusBar.h"
#include "toolkit/ToolBar.h"

namespace {
// The main window's shape: bars at top and bottom, a bottom panel under its splitter, a left
// panel beside its splitter, the editing area in between.
struct Layout {
  TForm form{nullptr, {"Layout", 600, 400}};
  TPanel* toolBar = Panel("tb", alTop, 0, 30);
  TStatusBar* status = form.Make<TStatusBar>("StatusBar", &form);
  TPanel* bottom = Panel("pcBottom", alBottom, 0, 100);
  TSplitter* splitterBottom = form.Make<TSplitter>("splitterBottom", &form, alBottom);
  TPanel* left = Panel("pnlLeft", alLeft, 150, 0);
  TSplitter* splitterLeft = form.Make<TSplitter>("splitterLeft", &form, alLeft);
  TPanel* client = Panel("pcEdit", alClient, 0, 0);

  TPanel* Panel(const std::string& Name, TAlign Align, int W, int H) {
    auto* p = form.Make<TPanel>(Name, &form);
    p->SetBounds(0, 0, W ? W : 10, H ? H : 10);
    p->SetAlign(Align);
    return p;
  }
  void ResizeClientTo(int W, int H) {
    RECT r = {0, 0, W, H};
    AdjustWindowRectEx(&r, GetWindowLongA(form.Handle(), GWL_STYLE), FALSE, 0);
    SetWindowPos(form.Handle(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
  }
};

RECT Bounds(const TWinControl* C) { return {C->Left(), C->Top(), C->Left() + C->Width(), C->Top() + C->Height()}; }

void ExpectBounds(const TWinControl* C, RECT Want) {
  RECT got = Bounds(C);
  EXPECT_TRUE(EqualRect(&got, &Want)) << C->Name() << ": " << got.left << "," << got.top << "," << got.right
                                      << "," << got.bottom << " want " << Want.left << "," << Want.top << ","
                                      << Want.right << "," << Want.bottom;
}
}  // namespace

TEST(Align, ContainersLayOutTopBottomLeftAndClientChildrenOnEveryResize) {
  Layout l;
  int sb = l.status->Height();
  ASSERT_GT(sb, 10);
  for (SIZE size : {SIZE{600, 400}, SIZE{800, 500}, SIZE{400, 300}}) {
    l.ResizeClientTo(size.cx, size.cy);
    int w = size.cx, h = size.cy;
    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
    ExpectBounds(l.toolBar, {0, 0, w, 30});
    ExpectBounds(l.status, {0, h - sb, w, h});
    ExpectBounds(l.bottom, {0, h - sb - 100, w, h - sb});
    ExpectBounds(l.splitterBottom, {0, h - sb - 104, w, h - sb - 100});
    ExpectBounds(l.left, {0, 30, 150, h - sb - 104});
    ExpectBounds(l.splitterLeft, {150, 30, 154, h - sb - 104});
    ExpectBounds(l.client, {154, 30, w, h - sb - 104});
  }
  // Hidden children give their room to the client; shown again they take it back. Their
  // own setting counts, not whether the form is on screen yet.
  ASSERT_FALSE(IsWindowVisible(l.form.Handle()));
  EXPECT_TRUE(l.bottom->Visible());
  l.bottom->SetVisible(false);
  EXPECT_FALSE(l.bottom->Visible());
  l.splitterBottom->SetVisible(false);
  ExpectBounds(l.client, {154, 30, 400, 300 - sb});
  l.bottom->SetVisible(true);
  l.splitterBottom->SetVisible(true);
  ExpectBounds(l.splitterBottom, {0, 300 - sb - 104, 400, 300 - sb - 100});
  // A new height of an aligned child is kept and the others make room.
  l.bottom->SetHeight(150);
  ExpectBounds(l.bottom, {0, 300 - sb - 150, 400, 300 - sb});
  ExpectBounds(l.client, {154, 30, 400, 300 - sb - 154});
  // Too small a container, or a minimised window, costs no child its size: growing again
  // brings the same layout back.
  l.ResizeClientTo(100, 60);
  EXPECT_GE(l.client->Width(), 0);
  EXPECT_GE(l.client->Height(), 0);
  l.form.Show();
  ShowWindow(l.form.Handle(), SW_MINIMIZE);
  ShowWindow(l.form.Handle(), SW_RESTORE);
  l.ResizeClientTo(400, 300);
  ExpectBounds(l.toolBar, {0, 0, 400, 30});
  ExpectBounds(l.bottom, {0, 300 - sb - 150, 400, 300 - sb});
  ExpectBounds(l.client, {154, 30, 400, 300 - sb - 154});
}

TEST(Align, EdgeChildrenLaidOutWithoutRoomKeepTheirSizeForLater) {
  for (SIZE empty : {SIZE{0, 0}, SIZE{300, 0}, SIZE{0, 200}}) {
    SCOPED_TRACE(std::to_string(empty.cx) + "x" + std::to_string(empty.cy));
    TForm form{nullptr, {"Layout", 400, 300}};
    auto* page = form.Make<TPanel>("page", &form);
    page->SetBounds(0, 0, empty.cx, empty.cy);
    auto* bar = form.Make<TToolBar>("bar", page);
    const int barHeight = bar->Height();
    ASSERT_GT(barHeight, 0);
    auto* top = form.Make<TPanel>("top", page);
    top->SetBounds(0, 0, 10, 30);
    top->SetAlign(alTop);
    auto* left = form.Make<TPanel>("left", page);
    left->SetBounds(0, 0, 40, 10);
    left->SetAlign(alLeft);
    page->Realign();
    page->SetBounds(0, 0, 300, 200);
    ExpectBounds(bar, {0, 0, 300, barHeight});
    ExpectBounds(top, {0, barHeight, 300, barHeight + 30});
    ExpectBounds(left, {0, barHeight + 30, 40, 200});
  }
}

TEST(Splitter, DragResizesItsNeighbourWithinTheMinimumSizes) {
  Layout l;
  l.ResizeClientTo(600, 400);
  int moved = 0;
  l.splitterLeft->OnMoved = [&](TObject*) { ++moved; };
  EXPECT_EQ(l.splitterLeft->ResizedControl(), l.left);
  EXPECT_EQ(l.splitterBottom->ResizedControl(), l.bottom);
  HWND s = l.splitterLeft->Handle();
  auto drag = [&](int Dx) {
    SendMessageA(s, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 10));
    SendMessageA(s, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(2 + Dx, 10));
    SendMessageA(s, WM_LBUTTONUP, 0, MAKELPARAM(2 + Dx, 10));
  };
  drag(50);
  EXPECT_EQ(l.left->Width(), 200);
  EXPECT_EQ(l.client->Left(), 204);
  drag(-500);
  EXPECT_EQ(l.left->Width(), l.splitterLeft->MinSize());
  drag(1000);  // the client keeps its minimum too
  EXPECT_EQ(l.client->Width(), l.splitterLeft->MinSize());
  EXPECT_EQ(moved, 3);

  // Upwards grows the bottom panel.
  HWND b = l.splitterBottom->Handle();
  SendMessageA(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 2));
  SendMessageA(b, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 2 - 40));
  SendMessageA(b, WM_LBUTTONUP, 0, MAKELPARAM(10, 2 - 40));
  EXPECT_EQ(l.bottom->Height(), 140);
  l.left->SetVisible(false);  // nothing adjacent: a drag changes nothing
  EXPECT_EQ(l.splitterLeft->ResizedControl(), nullptr);
  RECT before = Bounds(l.client);
  drag(30);
  ExpectBounds(l.client, before);
}

TEST(StatusBar, PanelTextsReadBackAndPanelsThatDoNotExistAreIgnored) {
  TForm form(nullptr, {"Status", 500, 200});
  auto* bar = form.Make<TStatusBar>("StatusBar", &form);
  for (int width : {120, 80, 80, -1}) bar->AddPanel(width);
  const std::vector<std::string> texts = {"Zeile: 1", "Einfg", "", "C:\\Daten\\Brief.txt"};
  for (int i = 0; i < 4; ++i) bar->SetPanelText(i, texts[i]);
  bar->SetPanelText(4, "zu weit");
  bar->SetPanelText(-1, "davor");
  bar->Update();
  ASSERT_EQ(SendMessageA(bar->Handle(), SB_GETPARTS, 0, 0), 4);
  for (int i = 0; i < 4; ++i) {
    char text[128] = {};
    SendMessageA(bar->Handle(), SB_GETTEXTA, i, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(text, texts[i]);
    EXPECT_EQ(bar->PanelText(i), texts[i]);
  }
  EXPECT_EQ(bar->PanelText(4), "");
  EXPECT_EQ(bar->PanelText(-1), "");
  int edges[4] = {};
  bar->SetPanelWidth(0, 200);  // the others move along, their texts stay
  SendMessageA(bar->Handle(), SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges));
  EXPECT_EQ(edges[0], 200);
  EXPECT_EQ(edges[1], 280);
  EXPECT_EQ(edges[3], -1);
  EXPECT_EQ(bar->PanelText(3), texts[3]);
}

TEST(StatusBar, APanelGrowsToShowALongerTextWholeAndKeepsItsWidthAfterwards) {
  TForm form(nullptr, {"Status", 500, 200});
  auto* bar = form.Make<TStatusBar>("StatusBar", &form);
  bar->AddPanel(40);
  bar->AddPanel(-1);
  const std::string text = "Ze 1457875, Sp 1, Pos 12345678 (Mark 0)";
  bar->SetPanelText(0, text);
  const int grown = bar->PanelWidth(0);
  EXPECT_GT(grown, TextExtentIn(bar->Handle(), text).cx);
  bar->SetPanelText(0, "x");
  EXPECT_EQ(bar->PanelWidth(0), grown);
  EXPECT_EQ(bar->PanelWidth(1), -1);
}

// What lay under a group box (another page's controls) never shows through it, also in a
// parent that paints nothing behind its children.
TEST(GroupBox, PaintsItsWholeInsideAroundTheControlsItFrames) {
  TForm form(nullptr, {"Gruppe", 300, 200, WS_POPUP | WS_CLIPCHILDREN});
  ShowWindow(form.Handle(), SW_SHOWNA);
  UpdateWindow(form.Handle());
  auto* box = form.Make<TGroupBox>("grp", &form, 10, 10, 200, 120);
  auto* check = form.Make<TCheckBox>("chk", &form, 30, 40, 120, 17);
  check->SetCaption("Option");
  ShowWindow(box->Handle(), SW_HIDE);
  HDC dc = GetDC(form.Handle());
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  RECT stale = {10, 10, 210, 130};
  FillRect(dc, &stale, red);
  DeleteObject(red);
  ReleaseDC(form.Handle(), dc);
  ShowWindow(box->Handle(), SW_SHOW);
  testsupport::TScreenCapture c(form.Handle());
  EXPECT_EQ(c.Count({12, 20, 208, 128}, RGB(255, 0, 0)), 0);
  EXPECT_EQ(c.At(100, 100), GetSysColor(COLOR_BTNFACE));
  EXPECT_GT(c.Count({30, 40, 150, 57}, GetSysColor(COLOR_WINDOW)), 0) << "the check box shows";
}

namespace {
// A strip of 16 pixels high images for the screen, the areas filled one after another.
HBITMAP PaintedStrip(int Width, std::initializer_list<std::pair<RECT, COLORREF>> Areas) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP strip = CreateCompatibleBitmap(screen, Width, 16);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, strip);
  for (const auto& [r, color] : Areas) {
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  return strip;
}
}  // namespace

TEST(ImageList, AGreyedCopyKeepsTheShapesOfItsImagesInGreys) {
  TImageList images(nullptr, 16, 16);
  HBITMAP strip = PaintedStrip(32, {{{0, 0, 32, 16}, RGB(255, 0, 255)},
                                    {{0, 2, 16, 14}, RGB(220, 235, 255)},
                                    {{4, 4, 12, 12}, RGB(0, 0, 255)},
                                    {{16, 0, 32, 16}, RGB(0, 128, 0)}});
  images.AddStrip(strip, RGB(255, 0, 255));
  DeleteObject(strip);

  std::unique_ptr<TImageList> grey = images.GreyedCopy();
  ASSERT_EQ(grey->Count(), 2);
  BITMAPINFO bi = {};
  bi.bmiHeader = {sizeof bi.bmiHeader, 16, -16, 1, 32, BI_RGB};
  void* bits = nullptr;
  HDC canvas = CreateCompatibleDC(nullptr);
  HBITMAP target = CreateDIBSection(canvas, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(canvas, target);
  RECT all = {0, 0, 16, 16};
  FillRect(canvas, &all, GetSysColorBrush(COLOR_BTNFACE));
  grey->Draw(canvas, 0, 0, 0);
  GdiFlush();
  auto at = [bits](int X, int Y) {
    const uint32_t p = static_cast<const uint32_t*>(bits)[Y * 16 + X];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  };
  const COLORREF fill = at(2, 3), ink = at(8, 8), background = at(8, 0);
  SelectObject(canvas, old);
  DeleteObject(target);
  DeleteDC(canvas);
  for (COLORREF pixel : {fill, ink})
    EXPECT_TRUE(GetRValue(pixel) == GetGValue(pixel) && GetGValue(pixel) == GetBValue(pixel)) << pixel;
  EXPECT_NE(fill, ink) << "the glyph's inside stays apart from its fill";
  EXPECT_EQ(background, GetSysColor(COLOR_BTNFACE)) << "transparent parts stay transparent";
}

namespace {
// Three images on the transparent magenta: a framed square, a plain one, a single dot.
HBITMAP ThreeImageStrip() {
  return PaintedStrip(48, {{{0, 0, 48, 16}, RGB(255, 0, 255)},
                           {{1, 1, 15, 15}, RGB(200, 40, 40)},
                           {{4, 4, 12, 12}, RGB(250, 250, 210)},
                           {{18, 2, 30, 14}, RGB(0, 90, 0)},
                           {{40, 8, 41, 9}, RGB(0, 0, 0)}});
}

// The pixels of every image of the list drawn side by side on one background.
std::vector<uint32_t> DrawnImages(const TImageList& Images) {
  const int width = 16 * Images.Count();
  void* bits = nullptr;
  HBITMAP target = CreateTopDownBitmap(width, 16, 32, &bits);
  HDC canvas = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(canvas, target);
  RECT all = {0, 0, width, 16};
  FillRect(canvas, &all, GetSysColorBrush(COLOR_BTNFACE));
  for (int i = 0; i < Images.Count(); ++i) Images.Draw(canvas, 16 * i, 0, i);
  GdiFlush();
  std::vector<uint32_t> pixels(static_cast<const uint32_t*>(bits),
                               static_cast<const uint32_t*>(bits) + width * 16);
  SelectObject(canvas, old);
  DeleteObject(target);
  DeleteDC(canvas);
  return pixels;
}
}  // namespace

// Images added through the list and images put in through its handle are greyed alike.
TEST(ImageList, AGreyedCopyIsTheSameHoweverTheImagesCameIn) {
  auto fill = [](TImageList& Images, bool ThroughHandle, bool EarlierImage) {
    if (EarlierImage) {
      HBITMAP earlier = CreateBitmap(16, 16, 1, 32, nullptr);
      Images.AddStrip(earlier, RGB(255, 0, 255));
      DeleteObject(earlier);
      ImageList_RemoveAll(Images.Handle());
    }
    HBITMAP strip = ThreeImageStrip();
    if (ThroughHandle) ImageList_AddMasked(Images.Handle(), strip, RGB(255, 0, 255));
    else Images.AddStrip(strip, RGB(255, 0, 255));
    DeleteObject(strip);
  };
  TImageList reference(nullptr, 16, 16);
  fill(reference, true, false);
  const std::vector<uint32_t> expected = DrawnImages(*reference.GreyedCopy());
  ASSERT_EQ(expected.size(), 3u * 16 * 16);
  EXPECT_NE(std::count(expected.begin(), expected.end(), expected[0]), 3 * 16 * 16)
      << "the images show";
  for (const auto& [throughHandle, earlierImage] :
       {std::pair{false, false}, std::pair{false, true}, std::pair{true, true}}) {
    TImageList images(nullptr, 16, 16);
    fill(images, throughHandle, earlierImage);
    EXPECT_EQ(DrawnImages(*images.GreyedCopy()), expected)
        << "through the handle " << throughHandle << ", after an earlier image " << earlierImage;
  }
}

TEST(ImageList, StripsAreCutIntoImagesAndTheSystemListIsOnlyBorrowed) {
  TImageList images(nullptr, 16, 16);
  HDC screen = GetDC(nullptr);
  HBITMAP strip = CreateCompatibleBitmap(screen, 48, 16);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(images.AddStrip(strip, RGB(255, 0, 255)), 0);
  EXPECT_EQ(images.AddStrip(strip, RGB(255, 0, 255)), 3);
  EXPECT_EQ(images.Count(), 6);
  DeleteObject(strip);
  EXPECT_EQ(images.AddStrip(nullptr, 0), -1);
  EXPECT_EQ(images.AddStripFromResource(GetModuleHandleA(nullptr), "NO_SUCH_BITMAP", 0), -1);
  EXPECT_EQ(images.Count(), 6);

  HIMAGELIST system = nullptr;
  {
    TImageList icons(nullptr);
    ASSERT_TRUE(icons.AttachSystemSmallIcons("C:\\"));
    EXPECT_TRUE(icons.Shared());
    system = icons.Handle();
    EXPECT_GT(icons.Count(), 0);
  }
  EXPECT_GT(ImageList_GetImageCount(system), 0);  // still alive after its user went
}
