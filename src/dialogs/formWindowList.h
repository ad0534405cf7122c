// The window list: the open documents sorted by title, to activate, save, close, lock or
// unlock several at once.
#pragma once
#include <string>
#include <vector>
#include "toolkit/Form.h"
#include "toolkit/ShortCut.h"

class TButton;
class TListItem;
class TListView;
class TMenuItem;
class TPopupMenu;
class TToolBar;
class TToolButton;
class TfraEdit;

class TfrmWindowList : public TForm {
public:
  explicit TfrmWindowList(TComponent* Owner);

  void TranslateForm();
  // The action's menu item and tool button (by the item's name).
  TMenuItem* MenuItem(const std::string& Name) const;
  TToolButton* Button(const std::string& ItemName) const;
  // One row per document, selecting the active one; refilled after every change.
  void FillWindowList();
  void ApplyWindowListHotKeys();
  void UpdateWindowListActions();
  void FormShow();
  void FormResize();
  // Escape closes, Enter acts as a double-click, the actions' hot keys click them. Key
  // becomes 0 when used.
  void FormKeyDown(WORD& Key, TShiftState Shift);
  void lvWinSelectItem(TObject* Sender, TListItem* Item, bool Selected);
  void lvWinDblClick(TObject* Sender);
  void pmnuWinSelectAllClick(TObject* Sender);
  void pmnuWinInvertSelClick(TObject* Sender);
  void pmnuWinLockUnlockClick(TObject* Sender);
  void pmnuWinSaveClick(TObject* Sender);
  void pmnuWinSaveAllClick(TObject* Sender);
  void pmnuWinCloseClick(TObject* Sender);
  void pmnuWinCloseAllClick(TObject* Sender);

  TListView* lvWin = nullptr;
  TToolBar* tbWindowList = nullptr;
  TPopupMenu* pmnuWin = nullptr;
  TButton* btnClose = nullptr;

protected:
  // The window snaps to the screen's edges as it is moved or sized.
  LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

private:
  struct TAction {
    const char* Name;  // menu item; its tool button is named "tbWin" + the rest
    void (TfrmWindowList::*Handler)(TObject*);
    int Image;
    const char* Caption;
    bool SeparatorAfter;
  };
  static const std::vector<TAction>& Actions();
  // The frames of the rows (all, or the selected), fixed before anything changes.
  std::vector<TfraEdit*> RowFrames(bool SelectedOnly) const;
  void SaveRows(bool SelectedOnly);
  void CloseRows(bool SelectedOnly);
  bool filling_ = false;
};

// The View command: the window list, modal.
void ShowWindowList();
