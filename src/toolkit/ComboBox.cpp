#include "toolkit/ComboBox.h"
#include <algorithm>

TComboBox::TComboBox(TComponent* Owner, TWinControl* Parent, int X, int Y, int W,
                     int DropDownHeight, TComboBoxStyle Style)
    : TWinControl(Owner), style_(Style) {
  const DWORD kind = Style == TComboBoxStyle::csDropDown ? CBS_DROPDOWN | CBS_AUTOHSCROLL
                                                         : CBS_DROPDOWNLIST;
  CreateSystemControl("COMBOBOX", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | kind, 0,
                      Parent ? Parent->Handle() : nullptr, X, Y, W, DropDownHeight, true);
  if (HWND edit = EditHandle())
    HookKeys(this, edit,
             [this](WORD& Key, TShiftState Shift) { if (OnKeyDown) OnKeyDown(Key, Shift); },
             [this](char& Key) { if (OnKeyPress) OnKeyPress(Key); });
}

int TComboBox::Count() const {
  return HandleAllocated() ? static_cast<int>(SendMessageA(Handle(), CB_GETCOUNT, 0, 0)) : 0;
}

std::string TComboBox::Items(int Index) const {
  if (!HandleAllocated() || Index < 0 || Index >= Count()) return {};
  return PerformReadText(CB_GETLBTEXT, Index, PerformNative(CB_GETLBTEXTLEN, Index));
}

int TComboBox::AddItem(const std::string& Text) {
  if (!HandleAllocated()) return -1;
  return static_cast<int>(PerformText(CB_ADDSTRING, 0, Text));
}

void TComboBox::Delete(int Index) {
  if (!HandleAllocated() || Index < 0 || Index >= Count()) return;
  const std::wstring typed = WideCaption();
  SendMessageA(Handle(), CB_DELETESTRING, Index, 0);
  if (style_ == TComboBoxStyle::csDropDown) SetWideCaption(typed);
}

void TComboBox::Clear() {
  if (!HandleAllocated()) return;
  const std::wstring typed = WideCaption();
  SendMessageA(Handle(), CB_RESETCONTENT, 0, 0);
  if (style_ == TComboBoxStyle::csDropDown) SetWideCaption(typed);
}

int TComboBox::ItemIndex() const {
  if (!HandleAllocated()) return -1;
  LRESULT i = SendMessageA(Handle(), CB_GETCURSEL, 0, 0);
  return i == CB_ERR ? -1 : static_cast<int>(i);
}

void TComboBox::SetItemIndex(int Index) {
  if (HandleAllocated()) SendMessageA(Handle(), CB_SETCURSEL, Index, 0);
}

std::string TComboBox::Text() const {
  return style_ == TComboBoxStyle::csDropDown ? Caption() : Items(ItemIndex());
}

void TComboBox::SetText(const std::string& Text) {
  if (style_ == TComboBoxStyle::csDropDown) SetCaption(Text);
  else SetItemIndex(static_cast<int>(PerformText(CB_FINDSTRINGEXACT, -1, Text)));
}

int TComboBox::SelStart() const {
  DWORD start = 0;
  if (EditHandle()) SendMessageA(Handle(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), 0);
  return static_cast<int>(start);
}

int TComboBox::SelLength() const {
  DWORD start = 0, end = 0;
  if (!EditHandle()) return 0;
  SendMessageA(Handle(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  return end > start ? static_cast<int>(end - start) : 0;
}

std::string TComboBox::SelText() const {
  const std::string text = Text();
  const size_t start = std::min(static_cast<size_t>(SelStart()), text.size());
  return text.substr(start, static_cast<size_t>(SelLength()));
}

void TComboBox::SetSelection(int Start, int Length) {
  if (EditHandle()) SendMessageA(Handle(), CB_SETEDITSEL, 0, MAKELPARAM(Start, Start + Length));
}

void TComboBox::SetSelText(const std::string& Text) {
  if (HWND edit = EditHandle())
    SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(Text.c_str()));
}

HWND TComboBox::EditHandle() const {
  if (!HandleAllocated() || style_ != TComboBoxStyle::csDropDown) return nullptr;
  COMBOBOXINFO info = {};
  info.cbSize = sizeof info;
  return GetComboBoxInfo(Handle(), &info) ? info.hwndItem : nullptr;
}

LRESULT TComboBox::Command(WORD Code) {
  if (Code == CBN_SELCHANGE && OnClick) OnClick(this);
  return 0;
}
