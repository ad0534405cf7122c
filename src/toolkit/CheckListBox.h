// A list of texts each with a check box.
#pragma once
#include <string>
#include "toolkit/ListView.h"

class TCheckListBox : public TListView {
public:
  TCheckListBox(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H);
  void Add(const std::string& Text) { AddItem(Text); }
  // Out of range: false, and setting does nothing.
  bool Checked(int Index) const;
  void SetChecked(int Index, bool Checked);
};
