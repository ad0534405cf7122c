// The up-down arrows beside a number edit: the edit takes digits only and its position stays
// within the range.
#pragma once
#include "toolkit/Controls.h"

class TUpDown : public TWinControl {
public:
  // Digits limits how many characters the buddy edit accepts.
  TUpDown(TComponent* Owner, TWinControl* Parent, TEdit* Buddy, int Min, int Max, int Digits);
  int Min() const { return min_; }
  int Max() const { return max_; }
  // The edit's number clamped into the range; an empty edit gives the minimum.
  int Position() const;
  void SetPosition(int Position);

private:
  TEdit* buddy_;
  int min_;
  int max_;
};
