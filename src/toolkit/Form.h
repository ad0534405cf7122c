// Top-level windows and dialogs whose child controls are named components.
#pragma once
#include <functional>
#include "toolkit/Graphics.h"
#include "toolkit/WinControl.h"

enum TModalResult : int {
  mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrAbort = IDABORT, mrRetry = IDRETRY,
  mrIgnore = IDIGNORE, mrYes = IDYES, mrNo = IDNO, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10
};

class TMainMenu;

class TForm : public TWinControl {
public:
  struct CreateArgs {
    std::string caption;
    int width = 640;
    int height = 480;
    DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    DWORD exStyle = 0;
    bool dialog = false;  // Tab and Enter move between controls
  };
  TForm(TComponent* Owner, const CreateArgs& Args);
  ~TForm() override;

  // Shows the form in front with the keyboard, also when it is shown already.
  void Show();
  void Close();
  // The control that has, or gets back when the form is next activated, the keyboard focus.
  // Set on an inactive form, it takes the focus when the form is activated.
  void SetActiveControl(TWinControl* Control);
  // The control of this form that has the keyboard focus; nullptr when none of them has it.
  HWND FocusedControl() const;
  // Gives the focus back to Control after it was disabled for a while: to Control when it
  // takes the focus again, else to the first control after it that does. Like
  // SetActiveControl, on an inactive form when it is next activated.
  void ReturnFocusTo(HWND Control);
  // Shows the form as a dialog owned by the active window and returns its modal result.
  // Goes through the modal seam, so tests answer it without a person.
  int ShowModal();
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int Result) { modalResult_ = Result; }
  // The font of the form's child controls: a change reaches every child window at once.
  TFont& Font() { return font_; }
  // The menu bar; nullptr for none. Its items' shortcuts work while the form is active.
  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* Menu);

  // Events of the form's lifecycle.
  std::function<void(TObject*, bool& CanClose)> OnCloseQuery;
  TNotifyEvent OnClose;
  TNotifyEvent OnShow;
  TNotifyEvent OnResize;

  static bool UsesDialogKeys(HWND Wnd);
  // A message of a dialog's loop, for the dialog Form: its navigation keys, then the system's
  // dialog keys (Enter, Escape, mnemonics). True when taken (handled or dispatched).
  static bool HandleDialogMessage(HWND Form, MSG& Msg);
  // The modal loop itself, without the seam: for dialogs that already asked it. The form is
  // owned by, and disables, the window that is active when it opens (ModalOwner); one that
  // never placed itself opens centred over that window.
  int RunModalLoop();

protected:
  LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;
  bool TakesChildClose() const override { return dialog_; }
  // The control that takes the focus when the form is activated and none is remembered:
  // by default the first field in reading order.
  virtual HWND DefaultFocus();
  // Child notifications (WM_COMMAND, WM_NOTIFY) reach the control that sent them.
  virtual LRESULT HandleCommand(WPARAM wParam, LPARAM lParam);
  virtual LRESULT HandleNotify(NMHDR* Header);

private:
  void ApplyFontToChildren();
  void RememberFocus();
  void RestoreFocus();
  void CenterOver(HWND Owner);

  HWND activeControl_ = nullptr;
  POINT createdAt_ = {};

  bool dialog_;
  bool modal_ = false;
  int modalResult_ = mrNone;
  TFont font_;
  TMainMenu* menu_ = nullptr;
};
