#include "printing/CodeEditPrintPreview.h"
#include <algorithm>
#include <cstdlib>
#include <string>

namespace {
const char* const kPreviewClass = "TarvolinePrintPreview";
const char* const kHintClass = "TarvolinePreviewHint";
const char* const kScrollHintText = "Page: %d";
constexpr int kMargin = 26;  // room around the page: 12 before, 14 after with the shadow

LRESULT CALLBACK HintWndProc(HWND Wnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (Msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Wnd, &ps);
    RECT r;
    GetClientRect(Wnd, &r);
    HBRUSH brush = CreateSolidBrush(GetSysColor(COLOR_INFOBK));
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    char text[64] = {};
    GetWindowTextA(Wnd, text, sizeof text);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    DrawTextA(dc, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, old);
    EndPaint(Wnd, &ps);
    return 0;
  }
  return DefWindowProcA(Wnd, Msg, wParam, lParam);
}

// One hint window for the whole program, hidden between uses.
HWND& HintWindow() {
  static HWND hint = nullptr;
  return hint;
}

HWND EnsureHintWindow() {
  if (HintWindow() && IsWindow(HintWindow())) return HintWindow();
  WNDCLASSA wc = {};
  wc.lpfnWndProc = HintWndProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = kHintClass;
  RegisterClassA(&wc);  // fails harmlessly when already registered
  HintWindow() = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kHintClass,
                                 "", WS_POPUP | WS_BORDER, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
  return HintWindow();
}

int ScreenPixelsPerInchX() {
  HDC dc = GetDC(nullptr);
  int ppi = GetDeviceCaps(dc, LOGPIXELSX);
  ReleaseDC(nullptr, dc);
  return ppi;
}

int ScreenPixelsPerInchY() {
  HDC dc = GetDC(nullptr);
  int ppi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return ppi;
}
}  // namespace

TCodeEditPrintPreview::TCodeEditPrintPreview(TComponent* Owner, TWinControl* Parent)
    : TWinControl(Owner) {
  RegisterClassOnce(kPreviewClass, CS_HREDRAW | CS_VREDRAW, nullptr, nullptr);
  CreateHandle(kPreviewClass, WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | WS_CLIPCHILDREN,
               WS_EX_CLIENTEDGE, Parent ? Parent->Handle() : nullptr, 0, 0, 200, 120);
  SetAlign(alClient);
  UpdateScrollbars();  // one page until a print job is shown
}

TCodeEditPrintPreview::~TCodeEditPrintPreview() { SetCodeEditPrint(nullptr); }

HWND TCodeEditPrintPreview::ScrollHintWindow() { return HintWindow(); }

void TCodeEditPrintPreview::Notification(TComponent* AComponent) {
  if (AComponent == print_) {
    print_ = nullptr;
    Invalidate();
  }
}

void TCodeEditPrintPreview::SetBorderStyle(TBorderStyle Value) {
  if (Value == borderStyle_) return;
  borderStyle_ = Value;
  if (!Handle()) return;
  LONG_PTR ex = GetWindowLongPtrA(Handle(), GWL_EXSTYLE);
  ex = Value == TBorderStyle::bsSingle ? (ex | WS_EX_CLIENTEDGE) : (ex & ~WS_EX_CLIENTEDGE);
  SetWindowLongPtrA(Handle(), GWL_EXSTYLE, ex);
  SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TCodeEditPrintPreview::SetColor(TColor Value) {
  if (Value == color_) return;
  color_ = Value;
  Invalidate();
}

void TCodeEditPrintPreview::SetPageBGColor(TColor Value) {
  if (Value == pageBGColor_) return;
  pageBGColor_ = Value;
  Invalidate();
}

void TCodeEditPrintPreview::SetCodeEditPrint(TCodeEditPrint* Value) {
  if (Value == print_) return;
  if (print_) RemoveFreeNotification(print_);
  print_ = Value;
  if (print_) FreeNotification(print_);
}

POINT TCodeEditPrintPreview::ClientSize() const {
  RECT r = ClientRect();
  return {r.right - r.left, r.bottom - r.top};
}

int TCodeEditPrintPreview::PageHeightFromWidth(int Width) {
  if (!print_) return MulDiv(Width, 141, 100);
  auto& p = print_->PrinterInfo();
  return MulDiv(Width, p.PhysicalHeight(), p.PhysicalWidth());
}

int TCodeEditPrintPreview::PageWidthFromHeight(int Height) {
  if (!print_) return MulDiv(Height, 100, 141);
  auto& p = print_->PrinterInfo();
  return MulDiv(Height, p.PhysicalWidth(), p.PhysicalHeight());
}

int TCodeEditPrintPreview::PageWidth100() {
  if (!print_) return 0;
  auto& p = print_->PrinterInfo();
  return MulDiv(p.PhysicalWidth(), ScreenPixelsPerInchX(), p.XPixPrInch());
}

int TCodeEditPrintPreview::PageHeight100() {
  if (!print_) return 0;
  auto& p = print_->PrinterInfo();
  return MulDiv(p.PhysicalHeight(), ScreenPixelsPerInchY(), p.YPixPrInch());
}

void TCodeEditPrintPreview::CalcPageSize() {
  if (!Handle() || !print_) return;
  // Showing a scroll bar narrows the client; a second pass measures the final size.
  for (int pass = 0; pass < 2; ++pass) {
    const POINT client = ClientSize();
    switch (scaleMode_) {
      case TCodePreviewScale::pscWholePage: {
        pageSize_ = {client.x - kMargin, client.y - kMargin};
        const int w = PageWidthFromHeight(pageSize_.y);
        if (w >= pageSize_.x) pageSize_.y = PageHeightFromWidth(pageSize_.x);
        else pageSize_.x = w;
        break;
      }
      case TCodePreviewScale::pscPageWidth:
        pageSize_.x = client.x - kMargin;
        pageSize_.y = PageHeightFromWidth(pageSize_.x);
        break;
      case TCodePreviewScale::pscUserScaled:
        pageSize_.x = MulDiv(PageWidth100(), scalePercent_, 100);
        pageSize_.y = MulDiv(PageHeight100(), scalePercent_, 100);
        break;
    }
    virtualSize_ = {pageSize_.x + kMargin, pageSize_.y + kMargin};
    virtualOffset_ = {12, 12};
    if (client.x > virtualSize_.x) virtualOffset_.x += (client.x - virtualSize_.x) / 2;
    if (client.y > virtualSize_.y) virtualOffset_.y += (client.y - virtualSize_.y) / 2;
    scrollPos_ = {0, 0};
    UpdateScrollbars();
    const POINT after = ClientSize();
    if (after.x == client.x && after.y == client.y) break;
  }
}

void TCodeEditPrintPreview::UpdateScrollbars() {
  if (!Handle()) return;
  const POINT client = ClientSize();
  SCROLLINFO si = {};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
  switch (scaleMode_) {
    case TCodePreviewScale::pscWholePage:
      ShowScrollBar(Handle(), SB_HORZ, FALSE);
      si.nMin = 1;
      si.nMax = print_ ? std::max(GetPageCount(), 1) : 1;
      si.nPage = 1;
      si.nPos = print_ ? pageNumber_ : 1;
      si.nTrackPos = si.nPos;
      SetScrollInfo(Handle(), SB_VERT, &si, TRUE);
      break;
    case TCodePreviewScale::pscPageWidth:
      ShowScrollBar(Handle(), SB_HORZ, FALSE);
      si.nMax = virtualSize_.y;
      si.nPage = client.y;
      si.nPos = -scrollPos_.y;
      si.nTrackPos = si.nPos;
      SetScrollInfo(Handle(), SB_VERT, &si, TRUE);
      break;
    case TCodePreviewScale::pscUserScaled:
      ShowScrollBar(Handle(), SB_BOTH, TRUE);
      si.nMax = virtualSize_.x;
      si.nPage = client.x;
      si.nPos = -scrollPos_.x;
      si.nTrackPos = si.nPos;
      SetScrollInfo(Handle(), SB_HORZ, &si, TRUE);
      si.nMax = virtualSize_.y;
      si.nPage = client.y;
      si.nPos = -scrollPos_.y;
      si.nTrackPos = si.nPos;
      SetScrollInfo(Handle(), SB_VERT, &si, TRUE);
      break;
  }
}

void TCodeEditPrintPreview::ScrollHorzTo(int X) {
  const POINT client = ClientSize();
  X = std::max<int>(X, client.x - virtualSize_.x);
  X = std::min<int>(X, 0);  // a page narrower than the client stays put
  if (X == scrollPos_.x) return;
  const int d = X - scrollPos_.x;
  scrollPos_.x = X;
  UpdateScrollbars();
  if (std::abs(d) <= client.x / 2) {
    ScrollWindowEx(Handle(), d, 0, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
    UpdateWindow(Handle());
  } else {
    Invalidate();
  }
}

void TCodeEditPrintPreview::ScrollVertTo(int Y) {
  const POINT client = ClientSize();
  Y = std::max<int>(Y, client.y - virtualSize_.y);
  Y = std::min<int>(Y, 0);
  if (Y == scrollPos_.y) return;
  const int d = Y - scrollPos_.y;
  scrollPos_.y = Y;
  UpdateScrollbars();
  if (std::abs(d) <= client.y / 2) {
    ScrollWindowEx(Handle(), 0, d, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
    UpdateWindow(Handle());
  } else {
    Invalidate();
  }
}

void TCodeEditPrintPreview::SetScaleMode(TCodePreviewScale Value) {
  if (Value == scaleMode_) return;
  scaleMode_ = Value;
  scrollPos_ = {0, 0};
  CalcPageSize();
  if (OnScaleChange) OnScaleChange(this);
  Invalidate();
}

void TCodeEditPrintPreview::SetScalePercent(int Value) {
  Value = std::max(Value, 1);  // a page of no size cannot be shown or scrolled
  if (Value != scalePercent_) {
    scaleMode_ = TCodePreviewScale::pscUserScaled;
    scrollPos_ = {0, 0};
    scalePercent_ = Value;
    CalcPageSize();
    Invalidate();
  } else {
    SetScaleMode(TCodePreviewScale::pscUserScaled);
  }
  if (OnScaleChange) OnScaleChange(this);
}

void TCodeEditPrintPreview::ShowPageHint(int Page) {
  HWND hint = EnsureHintWindow();
  std::string text = kScrollHintText;
  text.replace(text.find("%d"), 2, std::to_string(Page));
  SetWindowTextA(hint, text.c_str());
  HDC dc = GetDC(hint);
  HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  RECT r = {0, 0, 200, 0};
  DrawTextA(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
  SelectObject(dc, old);
  ReleaseDC(hint, dc);
  const int width = std::min<int>(r.right + 8, 200), height = r.bottom + 4;
  POINT corner = {ClientRect().right, 0};
  ClientToScreen(Handle(), &corner);
  SetWindowPos(hint, HWND_TOPMOST, corner.x - width - 4, corner.y + 10, width, height,
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(hint, nullptr, TRUE);
  UpdateWindow(hint);
}

void TCodeEditPrintPreview::DoPreviewPage() {
  if (OnPreviewPage) OnPreviewPage(this, pageNumber_);
}

int TCodeEditPrintPreview::GetPageCount() { return print_ ? print_->GetPageCount() : 0; }

void TCodeEditPrintPreview::UpdatePreview() {
  const TCodePreviewScale mode = scaleMode_;
  const int percent = scalePercent_;
  SetScalePercent(100);
  if (print_ && Handle()) {
    HDC dc = GetDC(Handle());
    print_->UpdatePages(dc);
    ReleaseDC(Handle(), dc);
    // The new job may be shorter than the page shown.
    pageNumber_ = std::clamp(pageNumber_, 1, std::max(print_->GetPageCount(), 1));
  }
  CalcPageSize();
  Invalidate();
  SetScaleMode(mode);
  if (mode == TCodePreviewScale::pscUserScaled) SetScalePercent(percent);
  DoPreviewPage();
}

void TCodeEditPrintPreview::FirstPage() {
  pageNumber_ = 1;
  UpdateScrollbars();
  DoPreviewPage();
  Invalidate();
}

void TCodeEditPrintPreview::LastPage() {
  if (print_) pageNumber_ = std::max(print_->GetPageCount(), 1);
  UpdateScrollbars();
  DoPreviewPage();
  Invalidate();
}

void TCodeEditPrintPreview::NextPage() {
  if (print_) pageNumber_ = std::min(pageNumber_ + 1, std::max(print_->GetPageCount(), 1));
  else ++pageNumber_;
  UpdateScrollbars();
  DoPreviewPage();
  Invalidate();
}

void TCodeEditPrintPreview::PreviousPage() {
  if (print_) pageNumber_ = std::max(pageNumber_ - 1, 1);
  else --pageNumber_;
  UpdateScrollbars();
  DoPreviewPage();
  Invalidate();
}
