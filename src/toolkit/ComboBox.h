// The drop-down list: a combo box whose text is always one of its items.
#pragma once
#include <string>
#include "toolkit/Form.h"

class TComboBox : public TWinControl, public TNotifiedControl {
public:
  TComboBox(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int DropDownHeight);

  int Count() const;
  std::string Items(int Index) const;
  int AddItem(const std::string& Text);
  void Clear();
  // -1 when nothing is selected; setting it does not fire OnClick.
  int ItemIndex() const;
  void SetItemIndex(int Index);
  // The selected item's text; empty when nothing is selected.
  std::string Text() const;

  // The user picked an item.
  TNotifyEvent OnClick;
  LRESULT Command(WORD Code) override;
};
