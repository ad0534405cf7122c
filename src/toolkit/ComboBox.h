// The combo box: a drop-down list whose text is always one of its items, or an editable one
// whose text is typed and whose list offers earlier entries. The field holds its text wide, as
// an edit does.
#pragma once
#include <string>
#include "toolkit/Form.h"
#include "toolkit/MessageHook.h"

enum class TComboBoxStyle { csDropDownList, csDropDown };

class TComboBox : public TWinControl, public TNotifiedControl {
public:
  TComboBox(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int DropDownHeight,
            TComboBoxStyle Style = TComboBoxStyle::csDropDownList);

  TComboBoxStyle Style() const { return style_; }
  int Count() const;
  std::string Items(int Index) const;
  int AddItem(const std::string& Text);
  // Removes one item; an index out of range does nothing. The typed text stays as typed,
  // characters the code page lacks included.
  void Delete(int Index);
  // Removes every item; the typed text of an editable box stays as typed.
  void Clear();
  // -1 when nothing is selected; setting it does not fire OnClick.
  int ItemIndex() const;
  void SetItemIndex(int Index);
  // The selected item's text (empty when nothing is selected); for an editable box the text
  // in its field.
  std::string Text() const;
  void SetText(const std::string& Text);

  // The selection in the field of an editable box (0-based, in characters); none otherwise.
  int SelStart() const;
  int SelLength() const;
  std::string SelText() const;
  void SetSelection(int Start, int Length);
  // Replaces the selected text of the field and puts the caret after it.
  void SetSelText(const std::string& Text);
  // The field of an editable box; nullptr for a drop-down list.
  HWND EditHandle() const;

  // The user picked an item.
  TNotifyEvent OnClick;
  // Keys typed into the field of an editable box (Key set to 0 swallows it).
  TControlKeyDown OnKeyDown;
  TControlKeyPress OnKeyPress;
  LRESULT Command(WORD Code) override;

private:
  TComboBoxStyle style_;
};
