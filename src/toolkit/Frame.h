// A child container that groups a set of named controls, placed inside another container.
#pragma once
#include "toolkit/WinControl.h"

class TFrame : public TWinControl {
public:
  TFrame(TComponent* Owner, TWinControl* Parent);
};
