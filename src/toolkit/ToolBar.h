// A row of image buttons with hints, optionally with drop-down menus.
#pragma once
#include <memory>
#include <string>
#include <vector>
#include "toolkit/WinControl.h"

class TImageList;
class TPopupMenu;
class TToolBar;

enum class TToolButtonStyle { tbsButton, tbsCheck, tbsSeparator, tbsDropDown };

// One button, owned by its owner component (so it can be found by name), shown on the bar
// it was made for, in the order made.
class TToolButton : public TComponent {
public:
  TToolButton(TComponent* Owner, TToolBar* ToolBar,
              TToolButtonStyle Style = TToolButtonStyle::tbsButton);
  ~TToolButton() override;

  TToolBar* ToolBar() const { return toolBar_; }
  TToolButtonStyle Style() const { return style_; }
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int ImageIndex);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& Hint) { hint_ = Hint; }
  // The pressed look; a check button toggles it on each click.
  bool Down() const;
  void SetDown(bool Down);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool Enabled);
  bool Visible() const { return visible_; }
  void SetVisible(bool Visible);
  // Shown below a drop-down button's arrow.
  TPopupMenu* DropdownMenu() const { return dropdownMenu_; }
  void SetDropdownMenu(TPopupMenu* Menu) { dropdownMenu_ = Menu; }
  int Command() const { return command_; }

  TNotifyEvent OnClick;
  void Click();
  // Shown and enabled, and no separator: a click or a key can press it.
  bool Usable() const;

private:
  friend class TToolBar;
  TToolBar* toolBar_;
  TToolButtonStyle style_;
  int imageIndex_ = -1;
  std::string hint_;
  bool down_ = false;
  bool enabled_ = true;
  bool visible_ = true;
  TPopupMenu* dropdownMenu_ = nullptr;
  int command_;
};

// Aligned to the top of Parent. The keyboard reaches it as one tab stop while a button is
// usable: Left and Right choose among the usable buttons, Space and Enter press the chosen one,
// Down opens a drop-down button's menu.
class TToolBar : public TWinControl, public TNotifiedControl {
public:
  TToolBar(TComponent* Owner, TWinControl* Parent);
  ~TToolBar() override;

  TImageList* Images() const { return images_; }
  // Disabled buttons show greyed copies of these images: the system's own greying paints
  // any image without transparent parts as a solid block.
  void SetImages(TImageList* Images);
  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  TToolButton* Buttons(int Index) const { return buttons_[Index]; }

  LRESULT Command(WORD Code, WORD Id) override;
  LRESULT Notify(NMHDR* Header) override;
  // The button the keyboard has chosen; nullptr for none.
  TToolButton* HotButton() const { return hot_; }

protected:
  LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

private:
  friend class TToolButton;
  void AddButton(TToolButton* Button);
  void RemoveButton(TToolButton* Button);
  void UpdateButton(const TToolButton* Button);
  TToolButton* ButtonByCommand(int Command) const;
  void AutoSize();
  void ShowDropdown(const TToolButton& Button);
  // The keyboard.
  void UsableChanged();
  void ShowHot();
  void MoveHot(int Step);
  bool HandleKey(WORD Key);
  void Press(TToolButton& Button);

  TImageList* images_ = nullptr;
  std::unique_ptr<TImageList> disabledImages_;
  std::vector<TToolButton*> buttons_;
  int nextCommand_ = 1;
  TToolButton* hot_ = nullptr;  // the button the keyboard has chosen
};
