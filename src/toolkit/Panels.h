// Plain containers and the splitter that resizes an aligned neighbour.
#pragma once
#include <functional>
#include "toolkit/WinControl.h"

// A child window that holds other controls; its aligned children follow its size.
class TPanel : public TWinControl {
public:
  TPanel(TComponent* Owner, TWinControl* Parent);
};

// A bar between two aligned controls; dragging it resizes the control it is aligned
// against (the one on the same side, e.g. left of an alLeft splitter).
class TSplitter : public TWinControl {
public:
  // Align is alLeft, alRight, alTop or alBottom.
  TSplitter(TComponent* Owner, TWinControl* Parent, TAlign Align, int Size = 4);
  // The resized control keeps at least this many pixels.
  int MinSize() const { return minSize_; }
  void SetMinSize(int MinSize) { minSize_ = MinSize; }
  // The control a drag resizes now; nullptr when none is adjacent.
  TWinControl* ResizedControl() const;
  TNotifyEvent OnMoved;

protected:
  LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

private:
  bool Vertical() const { return Align() == alLeft || Align() == alRight; }
  void MoveBy(int Delta);
  POINT ScreenPoint(LPARAM lParam) const;

  int minSize_ = 30;
  bool tracking_ = false;
  POINT last_ = {};
};
