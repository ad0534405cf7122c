#include "toolkit/ListView.h"
#include <commctrl.h>
#include <algorithm>
#include "rtl/SysUtils.h"
#include "toolkit/ImageList.h"

namespace {
// What the control stores for a row without a picture (-1 would ask the parent for one).
int NativeImage(int ImageIndex) { return ImageIndex >= 0 ? ImageIndex : I_IMAGENONE; }
}  // namespace

// Rows ---------------------------------------------------------------------------------

void TListItem::SetCaption(const std::string& Caption) {
  caption_ = Caption;
  int index = Index();
  if (index < 0) return;
  if (owner_->sorted_) {
    owner_->PlaceSorted(this);
    return;
  }
  LVITEMA item = {};
  item.pszText = caption_.data();
  owner_->Perform(LVM_SETITEMTEXTA, index, reinterpret_cast<LPARAM>(&item));
}

std::string TListItem::SubItem(int Index) const {
  return Index >= 0 && Index < SubItemCount() ? subItems_[Index] : std::string();
}

void TListItem::AddSubItem(const std::string& Text) {
  subItems_.push_back(Text);
  SetSubItem(SubItemCount() - 1, Text);
}

void TListItem::SetSubItem(int Index, const std::string& Text) {
  if (Index < 0) return;
  if (Index >= SubItemCount()) subItems_.resize(Index + 1);
  subItems_[Index] = Text;
  int row = this->Index();
  if (row < 0) return;
  LVITEMA item = {};
  item.iSubItem = Index + 1;
  item.pszText = subItems_[Index].data();
  owner_->Perform(LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

bool TListItem::Checked() const {
  int row = Index();
  if (row < 0) return false;
  return (owner_->Perform(LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) ==
         INDEXTOSTATEIMAGEMASK(2);
}

void TListItem::SetChecked(bool Checked) {
  int row = Index();
  if (row < 0) return;
  LVITEMA item = {};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(Checked ? 2 : 1);
  owner_->Perform(LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

bool TListItem::Selected() const {
  int row = Index();
  return row >= 0 && (owner_->Perform(LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

void TListItem::SetSelected(bool Selected) {
  int row = Index();
  if (row < 0) return;
  LVITEMA item = {};
  item.stateMask = LVIS_SELECTED;
  item.state = Selected ? LVIS_SELECTED : 0;
  owner_->Perform(LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

int TListItem::ImageIndex() const {
  LVITEMA item = {};
  item.mask = LVIF_IMAGE;
  item.iItem = Index();
  if (item.iItem < 0 || !owner_->Perform(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return -1;
  return item.iImage >= 0 ? item.iImage : -1;
}

void TListItem::SetImageIndex(int ImageIndex) {
  LVITEMA item = {};
  item.mask = LVIF_IMAGE;
  item.iItem = Index();
  item.iImage = NativeImage(ImageIndex);
  if (item.iItem >= 0) owner_->Perform(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

int TListItem::Index() const { return owner_->IndexOf(this); }

// The list -------------------------------------------------------------------------------

TListView::TListView(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H) : TWinControl(Owner) {
  CreateSystemControl(WC_LISTVIEWA,
                      WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHAREIMAGELISTS,
                      WS_EX_CLIENTEDGE, Parent ? Parent->Handle() : nullptr, X, Y, W, H);
}

TListView::~TListView() {
  // Notifications while the window goes still find the rows.
  OnSelectItem = nullptr;
  OnChanging = nullptr;
  DestroyHandle();
}

void TListView::AddColumn(const std::string& Caption, int Width, bool AutoSize) {
  std::string text = Caption;
  LVCOLUMNA column = {};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  column.cx = Width;
  column.pszText = text.data();
  column.iSubItem = ColumnCount();
  if (Perform(LVM_INSERTCOLUMNA, ColumnCount(), reinterpret_cast<LPARAM>(&column)) < 0) return;
  autoSize_.push_back(AutoSize);
  ResizeColumns();
}

int TListView::ColumnWidth(int Index) const {
  if (Index < 0 || Index >= ColumnCount()) return 0;
  return static_cast<int>(SendMessageA(Handle(), LVM_GETCOLUMNWIDTH, Index, 0));
}

// The remaining width is shared evenly; the first columns take the odd pixels.
void TListView::ResizeColumns() {
  const int autoCount = static_cast<int>(std::count(autoSize_.begin(), autoSize_.end(), true));
  if (autoCount == 0 || !Handle()) return;
  int remaining = ClientRect().right;
  for (int i = 0; i < ColumnCount(); ++i)
    if (!autoSize_[i]) remaining -= ColumnWidth(i);
  if (remaining <= 0) return;
  int share = remaining / autoCount, odd = remaining % autoCount;
  for (int i = 0; i < ColumnCount(); ++i) {
    if (!autoSize_[i]) continue;
    Perform(LVM_SETCOLUMNWIDTH, i, MAKELPARAM(share + (odd > 0 ? 1 : 0), 0));
    --odd;
  }
}

LRESULT TListView::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = TWinControl::WndProc(Msg, wParam, lParam);
  if (Msg == WM_SIZE) ResizeColumns();
  if (Msg == WM_SETFOCUS) MarkKeyboardRow();
  return result;
}

// Without a focused row the list shows no focus mark until an arrow is pressed.
void TListView::MarkKeyboardRow() {
  if (Count() == 0 || PerformNative(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED) >= 0) return;
  const LRESULT selected = PerformNative(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
  LVITEMA item = {};
  item.stateMask = LVIS_FOCUSED;
  item.state = LVIS_FOCUSED;
  Perform(LVM_SETITEMSTATE, selected >= 0 ? selected : 0, reinterpret_cast<LPARAM>(&item));
}

void TListView::SetSmallImages(TImageList* Images) {
  if (smallImages_) RemoveFreeNotification(smallImages_);
  smallImages_ = Images;
  if (smallImages_) FreeNotification(smallImages_);
  Perform(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(Images ? Images->Handle() : nullptr));
}

void TListView::Notification(TComponent* AComponent) {
  if (AComponent == smallImages_) SetSmallImages(nullptr);
}

std::string TListView::ColumnCaption(int Index) const {
  if (Index < 0 || Index >= ColumnCount()) return {};
  char buffer[256] = {};
  LVCOLUMNA column = {};
  column.mask = LVCF_TEXT;
  column.pszText = buffer;
  column.cchTextMax = sizeof buffer;
  SendMessageA(Handle(), LVM_GETCOLUMNA, Index, reinterpret_cast<LPARAM>(&column));
  return buffer;
}

void TListView::SetColumnCaption(int Index, const std::string& Caption) {
  if (Index < 0 || Index >= ColumnCount()) return;
  std::string text = Caption;
  LVCOLUMNA column = {};
  column.mask = LVCF_TEXT;
  column.pszText = text.data();
  Perform(LVM_SETCOLUMNA, Index, reinterpret_cast<LPARAM>(&column));
}

void TListView::SetStyleBit(DWORD Bit, bool On) {
  if (!Handle()) return;
  LONG style = GetWindowLongA(Handle(), GWL_STYLE);
  SetWindowLongA(Handle(), GWL_STYLE, On ? style | Bit : style & ~Bit);
}

void TListView::SetExStyleBit(DWORD Bit, bool On) {
  Perform(LVM_SETEXTENDEDLISTVIEWSTYLE, Bit, On ? Bit : 0);
}

void TListView::SetCheckBoxes(bool Value) {
  checkBoxes_ = Value;
  SetExStyleBit(LVS_EX_CHECKBOXES, Value);
}

void TListView::SetMultiSelect(bool Value) {
  multiSelect_ = Value;
  SetStyleBit(LVS_SINGLESEL, !Value);
}

void TListView::SetRowSelect(bool Value) { SetExStyleBit(LVS_EX_FULLROWSELECT, Value); }

void TListView::SetSorted(bool Value) {
  sorted_ = Value;
  if (!Value) return;
  std::vector<TListItem*> rows;
  for (int i = 0; i < Count(); ++i) rows.push_back(Items(i));
  std::stable_sort(rows.begin(), rows.end(), [](const TListItem* a, const TListItem* b) {
    return AnsiCompareText(a->Caption(), b->Caption()) < 0;
  });
  for (int i = 0; i < static_cast<int>(rows.size()); ++i) MoveRow(rows[i], i);
}

void TListView::SetReadOnly(bool Value) {
  readOnly_ = Value;
  SetStyleBit(LVS_EDITLABELS, !Value);
}

void TListView::SetHideSelection(bool Value) { SetStyleBit(LVS_SHOWSELALWAYS, !Value); }

namespace {
// Where a caption goes among sorted rows: after the equal ones, so equal rows keep their order.
int SortedPosition(const TListView& List, const TListItem* Item) {
  int n = List.Count();
  for (int i = 0; i < n; ++i) {
    TListItem* other = List.Items(i);
    if (other != Item && AnsiCompareText(other->Caption(), Item->Caption()) > 0) return i;
  }
  return n;
}
}  // namespace

TListItem* TListView::AddItem(const std::string& Caption) {
  items_.push_back(std::make_unique<TListItem>(this, Caption));
  TListItem* row = items_.back().get();
  if (!InsertRow(row, sorted_ ? SortedPosition(*this, row) : Count(), -1)) {
    items_.pop_back();
    return nullptr;
  }
  return row;
}

bool TListView::InsertRow(TListItem* Row, int Index, int Image) {
  LVITEMA item = {};
  item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
  item.iItem = Index;
  item.pszText = const_cast<char*>(Row->caption_.c_str());
  item.lParam = reinterpret_cast<LPARAM>(Row);
  item.iImage = NativeImage(Image);
  return Perform(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)) >= 0;
}

void TListView::PlaceSorted(TListItem* Row) { MoveRow(Row, -1); }

// Moves a row to Index (-1: its sorted place among the others), keeping its texts, image,
// check mark and selection; the move itself reports no selection change.
void TListView::MoveRow(TListItem* Row, int Index) {
  int from = IndexOf(Row);
  if (from < 0 || from == Index) return;
  bool checked = Row->Checked(), selected = Row->Selected();
  int image = Row->ImageIndex();
  filling_ = true;
  Perform(LVM_DELETEITEM, from);
  InsertRow(Row, Index >= 0 ? Index : SortedPosition(*this, Row), image);
  for (int i = 0; i < Row->SubItemCount(); ++i) Row->SetSubItem(i, Row->subItems_[i]);
  if (checkBoxes_) Row->SetChecked(checked);
  Row->SetSelected(selected);
  filling_ = false;
}

int TListView::Count() const { return static_cast<int>(SendMessageA(Handle(), LVM_GETITEMCOUNT, 0, 0)); }

TListItem* TListView::Items(int Index) const {
  if (Index < 0 || Index >= Count()) return nullptr;
  LVITEMA item = {};
  item.mask = LVIF_PARAM;
  item.iItem = Index;
  if (!SendMessageA(Handle(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return nullptr;
  return reinterpret_cast<TListItem*>(item.lParam);
}

int TListView::IndexOf(const TListItem* Item) const {
  if (!Handle()) return -1;
  LVFINDINFOA find = {};
  find.flags = LVFI_PARAM;
  find.lParam = reinterpret_cast<LPARAM>(Item);
  return static_cast<int>(SendMessageA(Handle(), LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

void TListView::Delete(int Index) {
  TListItem* row = Items(Index);
  if (!row) return;
  Perform(LVM_DELETEITEM, Index);
  items_.erase(std::find_if(items_.begin(), items_.end(), [&](const auto& p) { return p.get() == row; }));
}

void TListView::Clear() {
  Perform(LVM_DELETEALLITEMS);
  items_.clear();
}

TListItem* TListView::Selected() const {
  return Items(static_cast<int>(SendMessageA(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)));
}

int TListView::SelCount() const { return static_cast<int>(SendMessageA(Handle(), LVM_GETSELECTEDCOUNT, 0, 0)); }

void TListView::SelectAll() {
  LVITEMA item = {};
  item.stateMask = LVIS_SELECTED;
  item.state = LVIS_SELECTED;
  // One row only in a single-selection list.
  if (!multiSelect_) {
    if (Count() > 0) Perform(LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
    return;
  }
  Perform(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
}

// Read from the in-place edit, which the list still holds while it tells the edit's end: the
// 8-bit notification would bring look-alikes where the code page lacks a character.
std::string TListView::EditedLabel(const NMLVDISPINFOA& Ended) const {
  const HWND edit = reinterpret_cast<HWND>(PerformNative(LVM_GETEDITCONTROL));
  if (!edit) return Ended.item.pszText;
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
  return WideToAnsi(text);
}

// A row's selection, not the move of a sorted row.
bool TListView::SelectionChanges(const NMLISTVIEW& Change) const {
  return !filling_ && Change.iItem >= 0 && (Change.uChanged & LVIF_STATE) &&
         ((Change.uOldState ^ Change.uNewState) & LVIS_SELECTED);
}

LRESULT TListView::Notify(NMHDR* Header) {
  switch (Header->code) {
    case LVN_ITEMCHANGING: {
      auto* nm = reinterpret_cast<NMLISTVIEW*>(Header);
      if (OnChanging && SelectionChanges(*nm))
        OnChanging(this, reinterpret_cast<TListItem*>(nm->lParam), (nm->uNewState & LVIS_SELECTED) != 0);
      return FALSE;
    }
    case LVN_ITEMCHANGED: {
      auto* nm = reinterpret_cast<NMLISTVIEW*>(Header);
      if (OnSelectItem && SelectionChanges(*nm))
        OnSelectItem(this, reinterpret_cast<TListItem*>(nm->lParam), (nm->uNewState & LVIS_SELECTED) != 0);
      return 0;
    }
    case NM_DBLCLK:
      if (OnDblClick) OnDblClick(this);
      return 0;
    case LVN_COLUMNCLICK:
      if (OnColumnClick) OnColumnClick(this, reinterpret_cast<NMLISTVIEW*>(Header)->iSubItem);
      return 0;
    case LVN_BEGINLABELEDITA:
      return readOnly_ ? TRUE : FALSE;
    case LVN_ENDLABELEDITA: {
      auto* nm = reinterpret_cast<NMLVDISPINFOA*>(Header);
      if (readOnly_ || !nm->item.pszText) return FALSE;
      if (TListItem* row = Items(nm->item.iItem)) row->SetCaption(EditedLabel(*nm));
      return FALSE;  // set already: the control would take the look-alike text
    }
  }
  return 0;
}
