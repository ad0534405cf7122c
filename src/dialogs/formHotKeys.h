// The dialog in which the user reassigns the named hot keys: groups in a tree, the group's
// entries in a list, and a field that turns a key press into a key text.
#pragma once
#include <string>
#include <windows.h>
#include <commctrl.h>
#include "toolkit/Form.h"
#include "toolkit/ShortCut.h"

class TButton;
class TEdit;
class THintWindow;
class TKeyCaptureEdit;
class TLabel;
class TListItem;
class TListView;
class TToolBar;
class TToolButton;
class TTreeNode;
class TTreeView;

class TfrmHotKeys : public TForm {
public:
  // Starts from the defaults and the saved hot-key file.
  explicit TfrmHotKeys(TComponent* Owner);

  void TranslateForm();
  void FormShow();
  void tvPathChange(TObject* Sender);
  // The row losing its selection shows the plain row image, the selected row its own.
  void lvItemsChanging(TObject* Sender, TListItem* Item, bool Selected);
  void lvItemsChange(TObject* Sender);
  void txtHotKeyGenKeyDown(TObject* Sender, WORD Key, TShiftState Shift);
  void txtHotKeyGenKeyUp(TObject* Sender, WORD Key, TShiftState Shift);
  void btnHotKeyAssignClick(TObject* Sender);
  void btnHotKeyRemoveClick(TObject* Sender);
  void btnHotKeySetDefaultClick(TObject* Sender);
  void btnOkClick(TObject* Sender);

  void BuildPathTree();
  void AddPathToTree(TTreeNode* Node, const std::string& Path);
  static std::string GetNodePath(const TTreeNode* Node);
  void UpdateItemControls();

  // The entry being edited (-1 for none) and the key captured for it ("" for none).
  int SelectedIndex() const { return selectedIndex_; }
  const std::string& CapturedKey() const { return capturedKey_; }

  TTreeView* tvPath = nullptr;
  TListView* lvItems = nullptr;
  TLabel* lblHoKeyAct = nullptr;
  TLabel* lblHotKeyDef = nullptr;
  TLabel* lblHotKeyGen = nullptr;
  TEdit* txtHotKeyAct = nullptr;
  TEdit* txtHotKeyDef = nullptr;
  TKeyCaptureEdit* txtHotKeyGen = nullptr;
  TToolBar* tbHotKey = nullptr;
  TToolButton* btnHotKeyRemove = nullptr;
  TToolButton* btnHotKeySetDefault = nullptr;
  TToolButton* btnHotKeyAssign = nullptr;
  TButton* btnOk = nullptr;
  TButton* btnCancel = nullptr;
  // Names the tool button the keyboard chose, which shows only a picture.
  THintWindow* hints = nullptr;

protected:
  LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

private:
  void FormCreate();
  void ShowKeyboardTip(const NMTBHOTITEM& Change);
  void SetCapturedKey(const std::string& Key);
  // Asks about every entry of the same root group that holds Key; false when the user says No.
  bool ConfirmKeyConflicts(const std::string& Key) const;
  int selectedIndex_ = -1;
  std::string capturedKey_;
};

// The Extras command: the dialog, then the keys applied on OK or the saved state restored.
void ShowHotKeysDialog();
