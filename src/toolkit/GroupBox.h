// A captioned frame around related controls (which stay children of the form).
#pragma once
#include "toolkit/Form.h"

class TGroupBox : public TWinControl {
public:
  TGroupBox(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H);

protected:
  // The system's group box paints only its frame, and a parent with WS_CLIPCHILDREN paints
  // nothing behind it: the box fills its own inside, around the controls it frames.
  LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

private:
  void EraseAroundSiblings(HDC Dc);
};
