#include "toolkit/StatusBar.h"
#include <commctrl.h>
#include "toolkit/Graphics.h"

TStatusBar::TStatusBar(TComponent* Owner, TWinControl* Parent) : TWinControl(Owner) {
  CreateSystemControl(STATUSCLASSNAMEA, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0,
                      Parent ? Parent->Handle() : nullptr, 0, 0, 0, 0);
  // The bar takes its own height once; from then on the alignment places it.
  Perform(WM_SIZE);
  measured_ = true;
  SetAlign(alBottom);
}

int TStatusBar::AddPanel(int Width) {
  panels_.push_back({Width, ""});
  ApplyParts();
  return PanelCount() - 1;
}

std::string TStatusBar::PanelText(int Index) const {
  return Index >= 0 && Index < PanelCount() ? panels_[Index].text : std::string();
}

void TStatusBar::SetPanelText(int Index, const std::string& Text) {
  if (Index < 0 || Index >= PanelCount() || panels_[Index].text == Text) return;
  panels_[Index].text = Text;
  if (int fit = FittingWidth(Text); panels_[Index].width >= 0 && fit > panels_[Index].width) {
    panels_[Index].width = fit;  // grows only: a panel that jumps back and forth is worse
    ApplyParts();
    return;
  }
  Perform(SB_SETTEXTA, Index, reinterpret_cast<LPARAM>(panels_[Index].text.c_str()));
}

// The text plus the panel's borders and the control's inner margins on both sides.
int TStatusBar::FittingWidth(const std::string& Text) const {
  int borders[3] = {};
  SendMessageA(Handle(), SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
  return TextExtentIn(Handle(), Text).cx + 2 * (borders[0] + borders[2]) + 2 * GetSystemMetrics(SM_CXEDGE) + 6;
}

int TStatusBar::PanelWidth(int Index) const {
  return Index >= 0 && Index < PanelCount() ? panels_[Index].width : 0;
}

void TStatusBar::SetPanelWidth(int Index, int Width) {
  if (Index < 0 || Index >= PanelCount()) return;
  panels_[Index].width = Width;
  ApplyParts();
}

void TStatusBar::Update() {
  if (Handle()) UpdateWindow(Handle());
}

// The control wants right edges; a width of -1 runs to the end of the bar.
void TStatusBar::ApplyParts() {
  std::vector<int> edges;
  int right = 0;
  for (const Panel& p : panels_) {
    right = p.width < 0 ? -1 : right + p.width;
    edges.push_back(right);
    if (right < 0) break;
  }
  Perform(SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  for (int i = 0; i < static_cast<int>(edges.size()); ++i)
    Perform(SB_SETTEXTA, i, reinterpret_cast<LPARAM>(panels_[i].text.c_str()));
}

LRESULT TStatusBar::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) {
  // Left alone the bar would place itself over other bottom-aligned controls.
  if (Msg == WM_SIZE && measured_) return 0;
  return TWinControl::WndProc(Msg, wParam, lParam);
}
