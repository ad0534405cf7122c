// A captioned frame around related controls (which stay children of the form).
#pragma once
#include "toolkit/Form.h"

class TGroupBox : public TWinControl {
public:
  TGroupBox(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H)
      : TWinControl(Owner) {
    CreateSystemControl("BUTTON", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, WS_EX_TRANSPARENT,
                        Parent ? Parent->Handle() : nullptr, X, Y, W, H);
  }
};
