#include "toolkit/UpDown.h"
#include <commctrl.h>
#include <algorithm>

TUpDown::TUpDown(TComponent* Owner, TWinControl* Parent, TEdit* Buddy, int Min, int Max, int Digits)
    : TWinControl(Owner), buddy_(Buddy), min_(Min), max_(Max) {
  SetWindowLongA(Buddy->Handle(), GWL_STYLE, GetWindowLongA(Buddy->Handle(), GWL_STYLE) | ES_NUMBER);
  SendMessageA(Buddy->Handle(), EM_LIMITTEXT, Digits, 0);
  CreateSystemControl(UPDOWN_CLASSA,
                      WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS |
                          UDS_NOTHOUSANDS,
                      0, Parent ? Parent->Handle() : nullptr, 0, 0, 0, 0);
  SendMessageA(Handle(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(Buddy->Handle()), 0);
  SendMessageA(Handle(), UDM_SETRANGE32, Min, Max);
  SetPosition(Min);
}

int TUpDown::Position() const {
  // Digits only, but a paste or a long run of them can still leave the range.
  long long value = 0;
  bool any = false;
  for (unsigned char c : buddy_->Text()) {
    if (c < '0' || c > '9') continue;
    any = true;
    value = std::min<long long>(value * 10 + (c - '0'), 1000000000LL);
  }
  if (!any) return min_;
  return static_cast<int>(std::clamp<long long>(value, min_, max_));
}

void TUpDown::SetPosition(int Position) {
  int v = std::clamp(Position, min_, max_);
  SendMessageA(Handle(), UDM_SETPOS32, 0, v);
  buddy_->SetText(std::to_string(v));
}
