// The standard child controls: label, edit, button, check box, radio button.
#pragma once
#include "toolkit/Form.h"

class TLabel : public TWinControl {
public:
  TLabel(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H);
};

// Holds its text wide: what is typed or pasted is read exactly (ExactCaption).
class TEdit : public TWinControl, public TNotifiedControl {
public:
  TEdit(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H, DWORD ExtraStyle = 0);
  std::string Text() const { return Caption(); }
  void SetText(const std::string& Text) { SetCaption(Text); }
  TNotifyEvent OnChange;
  LRESULT Command(WORD Code) override;
};

class TButton : public TWinControl, public TNotifiedControl {
public:
  TButton(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H, bool Default = false);
  // A non-zero modal result closes the modal form with it when clicked.
  void SetModalResult(int Result) { modalResult_ = Result; }
  void Click();
  TNotifyEvent OnClick;
  LRESULT Command(WORD Code) override;

private:
  int modalResult_ = 0;
};

// Check box and radio button share the checked state.
class TCheckBox : public TWinControl, public TNotifiedControl {
public:
  TCheckBox(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H);
  bool Checked() const;
  void SetChecked(bool Checked);
  TNotifyEvent OnClick;
  LRESULT Command(WORD Code) override;

protected:
  TCheckBox(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H, DWORD Style);

private:
  bool checked_ = false;
};

class TRadioButton : public TCheckBox {
public:
  TRadioButton(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H, bool FirstOfGroup = false);
};
