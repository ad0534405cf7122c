#include "toolkit/HintWindow.h"
#include <commctrl.h>

namespace {
// The tool of one control; the older structure size is understood by every common-controls version.
TOOLINFOA ToolOf(HWND Form, HWND Control) {
  TOOLINFOA ti = {};
  ti.cbSize = TTTOOLINFOA_V2_SIZE;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = Form;
  ti.uId = reinterpret_cast<UINT_PTR>(Control);
  return ti;
}

// The tool ShowTip places itself; no control's window handle is this id.
TOOLINFOA TrackedTool(HWND Form) {
  TOOLINFOA ti = {};
  ti.cbSize = TTTOOLINFOA_V2_SIZE;
  ti.uFlags = TTF_TRACK | TTF_ABSOLUTE;
  ti.hwnd = Form;
  ti.uId = 1;
  return ti;
}

HWND FormHandle(const TComponent* Owner) {
  auto* form = dynamic_cast<const TWinControl*>(Owner);
  return form ? form->Handle() : nullptr;
}
}  // namespace

THintWindow::THintWindow(TComponent* Owner) : TComponent(Owner) {
  if (HWND form = FormHandle(Owner))
    tip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, form, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

// The form's window, when destroyed first, has already taken its tooltip window with it.
THintWindow::~THintWindow() {
  if (tip_ && IsWindow(tip_)) DestroyWindow(tip_);
}

void THintWindow::Update() {
  if (!tip_) return;
  for (int i = 0; i < Owner()->ComponentCount(); ++i) {
    auto* control = dynamic_cast<TWinControl*>(Owner()->Components(i));
    if (!control || !control->HandleAllocated()) continue;
    TOOLINFOA ti = ToolOf(FormHandle(Owner()), control->Handle());
    SendMessageA(tip_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    if (control->Hint().empty()) continue;
    std::string text = control->Hint();
    ti.lpszText = text.data();
    SendMessageA(tip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
  }
}

std::string THintWindow::TipOf(const TWinControl& Control) const {
  if (!tip_ || !Control.HandleAllocated()) return {};
  TOOLINFOA ti = ToolOf(FormHandle(Owner()), Control.Handle());
  char buffer[1024] = "";  // stays empty for a control without a tool
  ti.lpszText = buffer;
  SendMessageA(tip_, TTM_GETTEXTA, sizeof buffer, reinterpret_cast<LPARAM>(&ti));
  return buffer;
}

void THintWindow::ShowTip(const RECT& Area, const std::string& Text) {
  if (!tip_) return;
  TOOLINFOA ti = TrackedTool(FormHandle(Owner()));
  std::string text = Text;
  ti.lpszText = text.data();
  SendMessageA(tip_, tracking_ ? TTM_UPDATETIPTEXTA : TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
  tracking_ = shown_ = true;
  SendMessageA(tip_, TTM_TRACKPOSITION, 0, MAKELPARAM(Area.left, Area.bottom + 2));
  SendMessageA(tip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
}

void THintWindow::HideTip() {
  if (!tip_ || !shown_) return;
  shown_ = false;
  TOOLINFOA ti = TrackedTool(FormHandle(Owner()));
  SendMessageA(tip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
}

std::string THintWindow::ShownTip() const {
  if (!tip_ || !shown_ || !IsWindowVisible(tip_)) return {};
  TOOLINFOA ti = TrackedTool(FormHandle(Owner()));
  char buffer[1024] = "";
  ti.lpszText = buffer;
  SendMessageA(tip_, TTM_GETTEXTA, sizeof buffer, reinterpret_cast<LPARAM>(&ti));
  return buffer;
}
