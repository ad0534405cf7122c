// A list view whose captions the user edits in place (F2 opens the selected row's), each edit
// checked before it is taken.
#pragma once
#include <functional>
#include <string>
#include "toolkit/ListView.h"

class TEditListView : public TListView {
public:
  TEditListView(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H);
  // Opens the in-place editor on the row's caption.
  void EditCaption(TListItem* Item);
  // An in-place edit ends with Text: the handler may change Text; false keeps the old caption.
  std::function<bool(TListItem* Item, std::string& Text)> OnEdited;
  // A key pressed in the list (virtual-key code).
  std::function<void(WORD Key)> OnKeyDown;
  LRESULT Notify(NMHDR* Header) override;
};
