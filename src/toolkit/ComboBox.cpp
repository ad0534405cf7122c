#include "toolkit/ComboBox.h"

TComboBox::TComboBox(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int DropDownHeight)
    : TWinControl(Owner) {
  CreateSystemControl("COMBOBOX", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0,
                      Parent ? Parent->Handle() : nullptr, X, Y, W, DropDownHeight);
}

int TComboBox::Count() const {
  return HandleAllocated() ? static_cast<int>(SendMessageA(Handle(), CB_GETCOUNT, 0, 0)) : 0;
}

std::string TComboBox::Items(int Index) const {
  if (!HandleAllocated() || Index < 0 || Index >= Count()) return {};
  LRESULT n = SendMessageA(Handle(), CB_GETLBTEXTLEN, Index, 0);
  if (n == CB_ERR) return {};
  std::string s(static_cast<size_t>(n) + 1, '\0');
  n = SendMessageA(Handle(), CB_GETLBTEXT, Index, reinterpret_cast<LPARAM>(s.data()));
  s.resize(n == CB_ERR ? 0 : static_cast<size_t>(n));
  return s;
}

int TComboBox::AddItem(const std::string& Text) {
  if (!HandleAllocated()) return -1;
  return static_cast<int>(SendMessageA(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Text.c_str())));
}

void TComboBox::Clear() {
  if (HandleAllocated()) SendMessageA(Handle(), CB_RESETCONTENT, 0, 0);
}

int TComboBox::ItemIndex() const {
  if (!HandleAllocated()) return -1;
  LRESULT i = SendMessageA(Handle(), CB_GETCURSEL, 0, 0);
  return i == CB_ERR ? -1 : static_cast<int>(i);
}

void TComboBox::SetItemIndex(int Index) {
  if (HandleAllocated()) SendMessageA(Handle(), CB_SETCURSEL, Index, 0);
}

std::string TComboBox::Text() const { return Items(ItemIndex()); }

LRESULT TComboBox::Command(WORD Code) {
  if (Code == CBN_SELCHANGE && OnClick) OnClick(this);
  return 0;
}
