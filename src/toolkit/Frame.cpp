#include "toolkit/Frame.h"

TFrame::TFrame(TComponent* Owner, TWinControl* Parent) : TWinControl(Owner) {
  RegisterClassOnce("TarvolineFrame", 0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  CreateHandle("TarvolineFrame", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
               WS_EX_CONTROLPARENT, Parent ? Parent->Handle() : nullptr, 0, 0, 100, 100);
}
