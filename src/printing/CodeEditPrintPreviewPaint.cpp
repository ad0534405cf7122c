#include <windowsx.h>
#include <algorithm>
#include <string>
#include "printing/CodeEditPrintPreview.h"
#include "printing/CodeEditPrintTypes.h"

namespace {
int MouseButton(UINT Msg) {
  switch (Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: return VK_LBUTTON;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: return VK_RBUTTON;
  }
  return VK_MBUTTON;
}

void FillColor(HDC DC, const RECT& R, COLORREF Color) {
  HBRUSH brush = CreateSolidBrush(Color);
  FillRect(DC, &R, brush);
  DeleteObject(brush);
}

void PaperWithFrame(HDC DC, const RECT& R, COLORREF Paper) {
  FillColor(DC, R, Paper);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
  {
    TSelectedObject p(DC, pen);
    TSelectedObject b(DC, GetStockObject(NULL_BRUSH));
    Rectangle(DC, R.left, R.top, R.right, R.bottom);
  }
  DeleteObject(pen);
}
}  // namespace

RECT TCodeEditPrintPreview::PaperRect() const {
  RECT r;
  r.left = virtualOffset_.x + scrollPos_.x;
  r.top = virtualOffset_.y + (scaleMode_ == TCodePreviewScale::pscWholePage ? 0 : scrollPos_.y);
  r.right = r.left + pageSize_.x;
  r.bottom = r.top + pageSize_.y;
  return r;
}

void TCodeEditPrintPreview::PaintPaper(HDC DC, const RECT& Paper) {
  const RECT client = ClientRect();
  {
    TSavedDC saved(DC);
    // The column and row just past the paper are background too, or old pixels stay there.
    ExcludeClipRect(DC, Paper.left, Paper.top, Paper.right, Paper.bottom);
    FillColor(DC, client, ColorToRGB(color_));
  }
  // A two-pixel drop shadow along the bottom and right edges.
  const COLORREF shadow = RGB(128, 128, 128);
  FillColor(DC, {Paper.right + 1, Paper.top + 2, Paper.right + 3, Paper.bottom + 3}, shadow);
  FillColor(DC, {Paper.left + 2, Paper.bottom + 1, Paper.right + 3, Paper.bottom + 3}, shadow);
  PaperWithFrame(DC, Paper, ColorToRGB(pageBGColor_));
}

void TCodeEditPrintPreview::Paint(HDC DC) {
  RECT clip;
  if (GetClipBox(DC, &clip) == NULLREGION) return;
  if (!print_) {
    FillColor(DC, ClientRect(), ColorToRGB(color_));
    PaperWithFrame(DC, {12, 12, 55, 42}, ColorToRGB(pageBGColor_));
    return;
  }
  const RECT paper = PaperRect();
  PaintPaper(DC, paper);
  auto& p = print_->PrinterInfo();
  TSavedDC saved(DC);
  SetMapMode(DC, MM_ANISOTROPIC);
  SetWindowExtEx(DC, p.PhysicalWidth(), p.PhysicalHeight(), nullptr);
  SetViewportExtEx(DC, pageSize_.x, pageSize_.y, nullptr);
  SetViewportOrgEx(DC, paper.left + MulDiv(p.LeftGutter(), pageSize_.x, p.PhysicalWidth()),
                   paper.top + MulDiv(p.TopGutter(), pageSize_.y, p.PhysicalHeight()), nullptr);
  IntersectClipRect(DC, 0, 0, p.PrintableWidth(), p.PrintableHeight());
  print_->PrintToCanvas(DC, pageNumber_);
}

void TCodeEditPrintPreview::HorzScroll(int Code, int Thumb) {
  if (scaleMode_ == TCodePreviewScale::pscWholePage) return;
  const POINT client = ClientSize();
  switch (Code) {
    case SB_LINELEFT: ScrollHorzFor(client.x / 10); break;
    case SB_LINERIGHT: ScrollHorzFor(-client.x / 10); break;
    case SB_PAGELEFT: ScrollHorzFor(client.x / 2); break;
    case SB_PAGERIGHT: ScrollHorzFor(-client.x / 2); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: ScrollHorzTo(-Thumb); break;
    case SB_LEFT: ScrollHorzTo(0); break;
    case SB_RIGHT: ScrollHorzTo(-virtualSize_.x); break;
  }
}

void TCodeEditPrintPreview::StepToPage(int Page) {
  pageNumber_ = Page;
  scrollPos_.y = -(pageNumber_ - 1);
  UpdateScrollbars();
  DoPreviewPage();
  Invalidate();
}

void TCodeEditPrintPreview::VertScroll(int Code, int Thumb) {
  if (scaleMode_ != TCodePreviewScale::pscWholePage) {
    const POINT client = ClientSize();
      switch (Code) {
      case SB_LINEUP: ScrollVertFor(client.y / 10); break;
      case SB_LINEDOWN: ScrollVertFor(-client.y / 10); break;
      case SB_PAGEUP: ScrollVertFor(client.y / 2); break;
      case SB_PAGEDOWN: ScrollVertFor(-client.y / 2); break;
      case SB_THUMBPOSITION:
      case SB_THUMBTRACK: ScrollVertTo(-Thumb); break;
      case SB_TOP: ScrollVertTo(0); break;
      case SB_BOTTOM: ScrollVertTo(-virtualSize_.y); break;
    }
    return;
  }
  if (!print_) return;
  const int count = std::max(print_->GetPageCount(), 1);
  switch (Code) {
    case SB_LINEUP:
    case SB_PAGEUP: StepToPage(std::max(pageNumber_ - 1, 1)); break;
    case SB_LINEDOWN:
    case SB_PAGEDOWN: StepToPage(std::min(pageNumber_ + 1, count)); break;
    case SB_TOP: StepToPage(1); break;
    case SB_BOTTOM: StepToPage(count); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
      StepToPage(std::clamp(Thumb, 1, count));
      if (showScrollHint_) ShowPageHint(pageNumber_);
      break;
    case SB_ENDSCROLL:
      if (ScrollHintWindow()) ShowWindow(ScrollHintWindow(), SW_HIDE);
      break;
  }
}

void TCodeEditPrintPreview::MouseWheel(int Delta) {
  wheelAccumulator_ += Delta;
  while (std::abs(wheelAccumulator_) >= WHEEL_DELTA) {
    const int step = wheelAccumulator_ > 0 ? WHEEL_DELTA : -WHEEL_DELTA;
    wheelAccumulator_ -= step;
    ScrollVertFor(step);
  }
}

LRESULT TCodeEditPrintPreview::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) {
  switch (Msg) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Handle(), &ps);
      Paint(dc);
      EndPaint(Handle(), &ps);
      return 0;
    }
    case WM_PRINTCLIENT: Paint(reinterpret_cast<HDC>(wParam)); return 0;
    case WM_HSCROLL: HorzScroll(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_VSCROLL: VertScroll(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_SIZE: {
      LRESULT r = TWinControl::WndProc(Msg, wParam, lParam);
      CalcPageSize();
      return r;
    }
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_KEYDOWN:
      if (OnKeyDown) OnKeyDown(this, static_cast<WORD>(wParam));
      return 0;
    case WM_MOUSEWHEEL: MouseWheel(GET_WHEEL_DELTA_WPARAM(wParam)); return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      SetFocus();
      if (OnMouseDown) OnMouseDown(this, MouseButton(Msg), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      if (OnMouseUp) OnMouseUp(this, MouseButton(Msg), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      if (Msg == WM_LBUTTONUP && OnClick) OnClick(this);
      return 0;
  }
  return TWinControl::WndProc(Msg, wParam, lParam);
}
