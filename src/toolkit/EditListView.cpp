#include "toolkit/EditListView.h"
#include <commctrl.h>

TEditListView::TEditListView(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H)
    : TListView(Owner, Parent, X, Y, W, H) {
  SetRowSelect(true);
  SetHideSelection(false);
  SetReadOnly(false);  // the style that lets the list open its in-place edit at all
}

void TEditListView::EditCaption(TListItem* Item) {
  if (!Item) return;
  SetFocus();
  // Asked wide, the list makes its in-place edit wide, so what is typed there stays exact.
  SendMessageW(Handle(), LVM_EDITLABELW, Item->Index(), 0);
}

LRESULT TEditListView::Notify(NMHDR* Header) {
  if (Header->code == LVN_KEYDOWN) {
    const WORD key = reinterpret_cast<NMLVKEYDOWN*>(Header)->wVKey;
    if (key == VK_F2) EditCaption(Selected());
    if (OnKeyDown) OnKeyDown(key);
    return 0;
  }
  if (Header->code == LVN_ENDLABELEDITA && OnEdited) {
    auto* nm = reinterpret_cast<NMLVDISPINFOA*>(Header);
    TListItem* row = Items(nm->item.iItem);
    if (!nm->item.pszText || !row) return FALSE;
    std::string text = EditedLabel(*nm);
    if (!OnEdited(row, text)) return FALSE;
    row->SetCaption(text);
    return FALSE;  // the caption is set already, possibly changed by the handler
  }
  return TListView::Notify(Header);
}
