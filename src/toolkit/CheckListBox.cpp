#include "toolkit/CheckListBox.h"
#include <commctrl.h>

TCheckListBox::TCheckListBox(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H)
    : TListView(Owner, Parent, X, Y, W, H) {
  SetWindowLongA(Handle(), GWL_STYLE, GetWindowLongA(Handle(), GWL_STYLE) | LVS_NOCOLUMNHEADER);
  SetCheckBoxes(true);
  SetReadOnly(true);
  AddColumn("", W - GetSystemMetrics(SM_CXVSCROLL) - 4);
}

bool TCheckListBox::Checked(int Index) const {
  const TListItem* row = Items(Index);
  return row && row->Checked();
}

void TCheckListBox::SetChecked(int Index, bool Checked) {
  if (TListItem* row = Items(Index)) row->SetChecked(Checked);
}
