#include "toolkit/PageControl.h"
#include <commctrl.h>
#include <algorithm>
#include "toolkit/ImageList.h"
#include "toolkit/KeyState.h"

namespace {
const char* const kSheetClass = "TarvolineTabSheet";

TShiftState MouseShift(WPARAM Keys) {
  TShiftState s;
  if (Keys & MK_SHIFT) s.Include(TShift::ssShift);
  if (Keys & MK_CONTROL) s.Include(TShift::ssCtrl);
  if (IsAltDown()) s.Include(TShift::ssAlt);
  if (Keys & MK_LBUTTON) s.Include(TShift::ssLeft);
  if (Keys & MK_RBUTTON) s.Include(TShift::ssRight);
  if (Keys & MK_MBUTTON) s.Include(TShift::ssMiddle);
  return s;
}
}  // namespace

TTabSheet::TTabSheet(TComponent* Owner, TPageControl* PageControl) : TWinControl(Owner), pageControl_(PageControl) {
  RegisterClassOnce(kSheetClass, 0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  CreateHandle(kSheetClass, WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT,
               PageControl->Handle(), 0, 0, 0, 0);
  PageControl->InsertTab(PageControl->PageCount(), this);
}

TTabSheet::~TTabSheet() {
  if (pageControl_) pageControl_->SheetGoing(this);
}

void TTabSheet::CaptionChanged() {
  if (pageControl_) pageControl_->SyncTab(this);
}

void TTabSheet::SetImageIndex(int ImageIndex) {
  if (imageIndex_ == ImageIndex) return;  // the tab strip repaints for any change
  imageIndex_ = ImageIndex;
  if (pageControl_) pageControl_->SyncTab(this);
}

int TTabSheet::PageIndex() const { return pageControl_ ? pageControl_->IndexOfPage(this) : -1; }

void TTabSheet::SetPageIndex(int Index) {
  if (pageControl_) pageControl_->MovePage(this, Index);
}

// The tab strip is a tab stop, and Tab goes on into the controls of its page.
TPageControl::TPageControl(TComponent* Owner, TWinControl* Parent) : TWinControl(Owner) {
  CreateSystemControl(WC_TABCONTROLA,
                      WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | TCS_TABS,
                      WS_EX_CONTROLPARENT, Parent ? Parent->Handle() : nullptr, 0, 0, 200, 100);
}

TPageControl::~TPageControl() {
  // The pages die after this object's members: they must not report back.
  for (TTabSheet* sheet : pages_) sheet->pageControl_ = nullptr;
  pages_.clear();
  active_ = nullptr;
}

TTabSheet* TPageControl::AddPage(const std::string& Name, int Index) {
  TTabSheet* sheet = Make<TTabSheet>(Name, this);
  if (Index >= 0 && Index < PageCount() - 1) MovePage(sheet, Index);
  return sheet;
}

void TPageControl::RemovePage(TTabSheet* Sheet) {
  if (!Sheet || Sheet->pageControl_ != this) return;
  if (Sheet->Owner())
    Sheet->Owner()->RemoveComponent(Sheet);
  else
    SheetGoing(Sheet);
}

TTabSheet* TPageControl::Pages(int Index) const {
  return Index >= 0 && Index < PageCount() ? pages_[Index] : nullptr;
}

int TPageControl::IndexOfPage(const TTabSheet* Sheet) const {
  auto it = std::find(pages_.begin(), pages_.end(), Sheet);
  return it == pages_.end() ? -1 : static_cast<int>(it - pages_.begin());
}

void TPageControl::InsertTab(int Index, TTabSheet* Sheet) {
  pages_.insert(pages_.begin() + Index, Sheet);
  std::string text = Sheet->Caption();
  TCITEMA item = {};
  item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM;
  item.pszText = text.data();
  item.iImage = Sheet->imageIndex_;
  item.lParam = reinterpret_cast<LPARAM>(Sheet);
  Perform(TCM_INSERTITEMA, Index, reinterpret_cast<LPARAM>(&item));
  if (!active_)
    ShowPage(Sheet);
  else
    Perform(TCM_SETCURSEL, ActivePageIndex());
  LayoutPages();
}

void TPageControl::SyncTab(const TTabSheet* Sheet) {
  int index = IndexOfPage(Sheet);
  if (index < 0) return;
  std::string text = Sheet->Caption();
  TCITEMA item = {};
  item.mask = TCIF_TEXT | TCIF_IMAGE;
  item.pszText = text.data();
  item.iImage = Sheet->imageIndex_;
  Perform(TCM_SETITEMA, index, reinterpret_cast<LPARAM>(&item));
  LayoutPages();  // a longer caption may need another row
}

void TPageControl::SheetGoing(TTabSheet* Sheet) {
  int index = IndexOfPage(Sheet);
  Sheet->pageControl_ = nullptr;
  if (index < 0) return;
  pages_.erase(pages_.begin() + index);
  Perform(TCM_DELETEITEM, index);
  if (active_ == Sheet) {
    active_ = nullptr;
    if (!pages_.empty()) ShowPage(pages_[index < PageCount() ? index : 0]);
  } else {
    Perform(TCM_SETCURSEL, ActivePageIndex());
  }
  LayoutPages();
}

void TPageControl::MovePage(TTabSheet* Sheet, int NewIndex) {
  int from = IndexOfPage(Sheet);
  if (from < 0 || NewIndex < 0 || NewIndex >= PageCount() || NewIndex == from) return;
  pages_.erase(pages_.begin() + from);
  Perform(TCM_DELETEITEM, from);
  InsertTab(NewIndex, Sheet);
}

void TPageControl::SelectNextPage(bool GoForward) {
  if (PageCount() < 2) return;
  const int index = (ActivePageIndex() + (GoForward ? 1 : PageCount() - 1)) % PageCount();
  ShowPage(pages_[index]);
  if (OnChange) OnChange(this);
}

void TPageControl::SetActivePage(TTabSheet* Sheet) {
  if (!Sheet || Sheet == active_ || IndexOfPage(Sheet) < 0) return;
  ShowPage(Sheet);
}

void TPageControl::ShowPage(TTabSheet* Sheet) {
  TTabSheet* old = active_;
  active_ = Sheet;
  Perform(TCM_SETCURSEL, IndexOfPage(Sheet));
  LayoutPages();
  ShowWindow(Sheet->Handle(), SW_SHOW);
  if (old && old != Sheet && old->Handle()) ShowWindow(old->Handle(), SW_HIDE);
  if (Sheet->OnShow) Sheet->OnShow(Sheet);
}

void TPageControl::LayoutPages() {
  if (!Handle() || !active_ || !active_->Handle()) return;
  RECT r = ClientRect();
  Perform(TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  MoveWindow(active_->Handle(), r.left, r.top, std::max(0L, r.right - r.left),
             std::max(0L, r.bottom - r.top), TRUE);
}

void TPageControl::SetImages(TImageList* Images) {
  images_ = Images;
  Perform(TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(Images ? Images->Handle() : nullptr));
  LayoutPages();
}

int TPageControl::IndexOfTabAt(int X, int Y) const {
  TCHITTESTINFO hit = {{X, Y}, 0};
  return static_cast<int>(SendMessageA(Handle(), TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

RECT TPageControl::TabRect(int Index) const {
  RECT r = {};
  if (Index >= 0 && Index < PageCount())
    SendMessageA(Handle(), TCM_GETITEMRECT, Index, reinterpret_cast<LPARAM>(&r));
  return r;
}

LRESULT TPageControl::Notify(NMHDR* Header) {
  if (Header->code == TCN_SELCHANGE) {
    if (TTabSheet* sheet = Pages(static_cast<int>(Perform(TCM_GETCURSEL)))) {
      if (sheet != active_) ShowPage(sheet);
      if (OnChange) OnChange(this);
    }
  }
  return 0;
}

LRESULT TPageControl::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) {
  switch (Msg) {
    case WM_SIZE: {
      LRESULT r = TWinControl::WndProc(Msg, wParam, lParam);
      LayoutPages();
      return r;
    }
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP: {
      LRESULT r = TWinControl::WndProc(Msg, wParam, lParam);
      MouseMessage(Msg, wParam, lParam);
      return r;
    }
    case WM_MOUSEMOVE:
      if (dragging_) {
        POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ClientToScreen(Handle(), &p);
        if (!dragStarted_ && (std::abs(p.x - dragOrigin_.x) > GetSystemMetrics(SM_CXDRAG) ||
                              std::abs(p.y - dragOrigin_.y) > GetSystemMetrics(SM_CYDRAG)))
          dragStarted_ = true;
        if (dragStarted_) {
          bool accepted = DragTo(p, false);
          SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(accepted ? IDC_ARROW : IDC_NO)));
          return 0;
        }
      }
      break;
    case WM_KEYDOWN:
      if (dragging_ && wParam == VK_ESCAPE) {
        EndDrag();
        return 0;
      }
      break;
    case WM_CAPTURECHANGED:
      if (dragging_ && reinterpret_cast<HWND>(lParam) != Handle()) {
        dragging_ = dragStarted_ = false;
      }
      break;
  }
  return TWinControl::WndProc(Msg, wParam, lParam);
}

void TPageControl::MouseMessage(UINT Msg, WPARAM wParam, LPARAM lParam) {
  int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
  int button = Msg == WM_LBUTTONDOWN || Msg == WM_LBUTTONUP   ? VK_LBUTTON
               : Msg == WM_RBUTTONDOWN || Msg == WM_RBUTTONUP ? VK_RBUTTON
                                                              : VK_MBUTTON;
  bool down = Msg == WM_LBUTTONDOWN || Msg == WM_RBUTTONDOWN || Msg == WM_MBUTTONDOWN;
  if (down) {
    if (dragging_) EndDrag();  // another button ends a drag
    if (OnMouseDown) OnMouseDown(this, button, MouseShift(wParam), x, y);
    return;
  }
  if (dragging_ && button == VK_LBUTTON) {
    bool started = dragStarted_;
    POINT p = {x, y};
    ClientToScreen(Handle(), &p);
    EndDrag();
    if (started) {
      DragTo(p, true);
      return;  // the release belonged to the drag
    }
  }
  if (OnMouseUp) OnMouseUp(this, button, MouseShift(wParam), x, y);
}

void TPageControl::BeginDrag() {
  if (!Handle()) return;
  GetCursorPos(&dragOrigin_);
  dragging_ = true;
  dragStarted_ = false;
  SetCapture(Handle());
}

void TPageControl::EndDrag() {
  dragging_ = dragStarted_ = false;
  if (GetCapture() == Handle()) ReleaseCapture();
}

bool TPageControl::DragTo(POINT Screen, bool Drop) {
  for (HWND w = WindowFromPoint(Screen); w; w = GetParent(w)) {
    auto* target = dynamic_cast<TPageControl*>(FromHandle(w));
    if (!target || !target->OnDragOver) continue;
    POINT p = Screen;
    ScreenToClient(w, &p);
    bool accept = false;
    target->OnDragOver(target, this, p.x, p.y, accept);
    if (accept && Drop && target->OnDragDrop) target->OnDragDrop(target, this, p.x, p.y);
    return accept;
  }
  return false;
}
