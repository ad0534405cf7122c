#include "toolkit/Controls.h"

namespace {
HWND ParentHandle(TWinControl* Parent) { return Parent ? Parent->Handle() : nullptr; }

TForm* ParentForm(HWND Wnd) {
  HWND top = GetAncestor(Wnd, GA_ROOT);
  return dynamic_cast<TForm*>(TWinControl::FromHandle(top));
}
}  // namespace

TLabel::TLabel(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H) : TWinControl(Owner) {
  CreateSystemControl("STATIC", WS_CHILD | WS_VISIBLE | SS_LEFT, 0, ParentHandle(Parent), X, Y, W, H);
}

TEdit::TEdit(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H, DWORD ExtraStyle)
    : TWinControl(Owner) {
  CreateSystemControl("EDIT", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | ExtraStyle,
                      WS_EX_CLIENTEDGE, ParentHandle(Parent), X, Y, W, H, true);
}

LRESULT TEdit::Command(WORD Code) {
  if (Code == EN_CHANGE && OnChange) OnChange(this);
  return 0;
}

TButton::TButton(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H, bool Default)
    : TWinControl(Owner) {
  CreateSystemControl("BUTTON", WS_CHILD | WS_VISIBLE | WS_TABSTOP | (Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON),
                      0, ParentHandle(Parent), X, Y, W, H);
  if (Default && Handle()) SetWindowLongPtrA(Handle(), GWLP_ID, IDOK);
}

void TButton::Click() {
  if (OnClick) OnClick(this);
  if (modalResult_ != 0)
    if (TForm* form = ParentForm(Handle())) form->SetModalResult(modalResult_);
}

LRESULT TButton::Command(WORD Code) {
  if (Code == BN_CLICKED) Click();
  return 0;
}

TCheckBox::TCheckBox(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H)
    : TCheckBox(Owner, Parent, X, Y, W, H, BS_AUTOCHECKBOX) {}

TCheckBox::TCheckBox(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H, DWORD Style)
    : TWinControl(Owner) {
  CreateSystemControl("BUTTON", WS_CHILD | WS_VISIBLE | WS_TABSTOP | Style, 0, ParentHandle(Parent), X, Y, W, H);
}

bool TCheckBox::Checked() const {
  return HandleAllocated() ? SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED : checked_;
}

void TCheckBox::SetChecked(bool Checked) {
  checked_ = Checked;
  if (HandleAllocated()) SendMessageA(Handle(), BM_SETCHECK, Checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

LRESULT TCheckBox::Command(WORD Code) {
  if (Code == BN_CLICKED && OnClick) OnClick(this);
  return 0;
}

TRadioButton::TRadioButton(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H, bool FirstOfGroup)
    : TCheckBox(Owner, Parent, X, Y, W, H, BS_AUTORADIOBUTTON | (FirstOfGroup ? WS_GROUP : 0)) {}
