#include "toolkit/Panels.h"
#include <algorithm>

namespace {
const char* const kPanelClass = "TarvolinePanel";
const char* const kSplitterVClass = "TarvolineSplitterV";
const char* const kSplitterHClass = "TarvolineSplitterH";
}  // namespace

TPanel::TPanel(TComponent* Owner, TWinControl* Parent) : TWinControl(Owner) {
  RegisterClassOnce(kPanelClass, 0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  CreateHandle(kPanelClass, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
               WS_EX_CONTROLPARENT, Parent ? Parent->Handle() : nullptr, 0, 0, 100, 100);
}

TSplitter::TSplitter(TComponent* Owner, TWinControl* Parent, TAlign Align, int Size) : TWinControl(Owner) {
  bool vertical = Align == alLeft || Align == alRight;
  const char* cls = vertical ? kSplitterVClass : kSplitterHClass;
  RegisterClassOnce(cls, 0, LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(vertical ? IDC_SIZEWE : IDC_SIZENS)),
                    reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  CreateHandle(cls, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, Parent ? Parent->Handle() : nullptr, 0, 0,
               vertical ? Size : 100, vertical ? 100 : Size);
  SetAlign(Align);
}

// The visible control aligned the same way whose edge touches the splitter's near side.
TWinControl* TSplitter::ResizedControl() const {
  TWinControl* parent = Parent();
  if (!parent) return nullptr;
  int edge = 0;
  switch (Align()) {
    case alLeft: edge = Left(); break;
    case alRight: edge = Left() + Width(); break;
    case alTop: edge = Top(); break;
    case alBottom: edge = Top() + Height(); break;
    default: return nullptr;
  }
  for (HWND w = GetWindow(parent->Handle(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    TWinControl* c = FromHandle(w);
    if (!c || c == this || c->Align() != Align() || !(GetWindowLongA(w, GWL_STYLE) & WS_VISIBLE)) continue;
    int theirs = Align() == alLeft ? c->Left() + c->Width()
                 : Align() == alRight ? c->Left()
                 : Align() == alTop ? c->Top() + c->Height()
                                    : c->Top();
    if (theirs == edge) return c;
  }
  return nullptr;
}

// Delta is the mouse movement: towards the resized control shrinks it.
void TSplitter::MoveBy(int Delta) {
  TWinControl* target = ResizedControl();
  if (!target || Delta == 0) return;
  bool grows = Align() == alLeft || Align() == alTop;
  int size = Vertical() ? target->Width() : target->Height();
  int wanted = size + (grows ? Delta : -Delta);
  // Room the client area keeps: the parent's size minus every other aligned control.
  RECT area = Parent()->ClientRect();
  int limit = (Vertical() ? area.right - area.left : area.bottom - area.top) - (Vertical() ? Width() : Height());
  wanted = std::min(wanted, std::max(limit - minSize_, minSize_));
  wanted = std::max(wanted, minSize_);
  if (wanted == size) return;
  if (Vertical())
    target->SetWidth(wanted);
  else
    target->SetHeight(wanted);
}

// The splitter moves under the mouse: only screen points compare across messages.
POINT TSplitter::ScreenPoint(LPARAM lParam) const {
  POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ClientToScreen(Handle(), &p);
  return p;
}

LRESULT TSplitter::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) {
  switch (Msg) {
    case WM_LBUTTONDOWN:
      tracking_ = true;
      last_ = ScreenPoint(lParam);
      SetCapture(Handle());
      return 0;
    case WM_MOUSEMOVE:
      if (tracking_) {
        POINT p = ScreenPoint(lParam);
        int delta = Vertical() ? p.x - last_.x : p.y - last_.y;
        TWinControl* target = ResizedControl();
        int before = target ? (Vertical() ? target->Width() : target->Height()) : 0;
        MoveBy(delta);
        int after = target ? (Vertical() ? target->Width() : target->Height()) : 0;
        // Only the movement that was taken counts, so a clamped drag does not drift.
        int taken = (Align() == alLeft || Align() == alTop) ? after - before : before - after;
        (Vertical() ? last_.x : last_.y) += taken;
      }
      return 0;
    case WM_LBUTTONUP:
      if (tracking_) {
        tracking_ = false;
        ReleaseCapture();
        if (OnMoved) OnMoved(this);
      }
      return 0;
    case WM_CAPTURECHANGED:
      tracking_ = false;
      break;
  }
  return TWinControl::WndProc(Msg, wParam, lParam);
}
