#include "toolkit/Form.h"
#include "toolkit/Application.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Menus.h"

namespace {
const char* const kFormClass = "TarvolineForm";
const char* const kDialogProp = "TarvolineDialogKeys";

BOOL CALLBACK SetChildFont(HWND Child, LPARAM Font) {
  SendMessageA(Child, WM_SETFONT, static_cast<WPARAM>(Font), TRUE);
  return TRUE;
}
}

TForm::TForm(TComponent* Owner, const CreateArgs& Args) : TWinControl(Owner), dialog_(Args.dialog) {
  RegisterClassOnce(kFormClass, CS_DBLCLKS, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  SetCaption(Args.caption);
  HWND owner = Args.dialog ? Application().MainWindow() : nullptr;
  CreateHandle(kFormClass, Args.style, Args.exStyle, owner, CW_USEDEFAULT, CW_USEDEFAULT,
               Args.width, Args.height);
  if (dialog_ && Handle()) SetPropA(Handle(), kDialogProp, reinterpret_cast<HANDLE>(1));
  font_.OnChange = [this](TObject*) { ApplyFontToChildren(); };
}

void TForm::ApplyFontToChildren() {
  if (!Handle()) return;
  EnumChildWindows(Handle(), SetChildFont, reinterpret_cast<LPARAM>(font_.Handle()));
}

TForm::~TForm() {
  SetMenu(nullptr);
  if (Handle()) RemovePropA(Handle(), kDialogProp);
}

void TForm::SetMenu(TMainMenu* Menu) {
  if (menu_ == Menu) return;
  if (menu_) menu_->window_ = nullptr;
  if (Menu && Menu->window_)
    if (auto* other = dynamic_cast<TForm*>(FromHandle(Menu->window_))) other->SetMenu(nullptr);
  menu_ = Menu;
  if (Menu) Menu->window_ = Handle();
  if (Handle()) ::SetMenu(Handle(), Menu ? Menu->Handle() : nullptr);
}

bool TForm::UsesDialogKeys(HWND Wnd) { return GetPropA(Wnd, kDialogProp) != nullptr; }

void TForm::Show() {
  if (!Handle()) return;
  ShowWindow(Handle(), SW_SHOW);
  UpdateWindow(Handle());
  if (OnShow) OnShow(this);
}

void TForm::Close() {
  if (Handle()) PostMessageA(Handle(), WM_CLOSE, 0, 0);
}

int TForm::ShowModal() {
  ModalQuestion q;
  q.kind = ModalKind::Form;
  q.text = Caption();
  q.caption = Caption();
  q.form = this;
  if (auto answer = AskModalSeam(q)) return answer->result;
  return RunModalLoop();
}

int TForm::RunModalLoop() {
  HWND owner = Application().MainWindow();
  bool ownerEnabled = owner && owner != Handle() && IsWindowEnabled(owner);
  if (ownerEnabled) EnableWindow(owner, FALSE);
  modal_ = true;
  modalResult_ = mrNone;
  Show();
  SetForegroundWindow(Handle());
  MSG msg = {};
  // A dialog whose window went away (destroyed by code or with its owner) ends as cancelled.
  while (modalResult_ == mrNone && Handle() && GetMessageA(&msg, nullptr, 0, 0) > 0) {
    GuardEntry([&] {
      if (!IsDialogMessageA(Handle(), &msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
    });
  }
  if (msg.message == WM_QUIT && modalResult_ == mrNone)
    PostQuitMessage(static_cast<int>(msg.wParam));  // the outer loop must end too
  if (modalResult_ == mrNone) modalResult_ = mrCancel;
  modal_ = false;
  if (ownerEnabled) EnableWindow(owner, TRUE);
  if (Handle()) ShowWindow(Handle(), SW_HIDE);
  if (owner) SetActiveWindow(owner);
  return modalResult_;
}

LRESULT TForm::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) {
  switch (Msg) {
    case WM_CLOSE: {
      bool canClose = true;
      if (OnCloseQuery) OnCloseQuery(this, canClose);
      if (!canClose) return 0;
      if (OnClose) OnClose(this);
      if (modal_) {
        if (modalResult_ == mrNone) modalResult_ = mrCancel;
        return 0;
      }
      DestroyWindow(Handle());
      return 0;
    }
    case WM_DESTROY:
      // The menu bar belongs to its TMainMenu, not to the window.
      if (menu_) ::SetMenu(Handle(), nullptr);
      if (Application().MainForm() == this) PostQuitMessage(0);
      return 0;
    case WM_INITMENUPOPUP:
      if (HIWORD(lParam) == 0)  // not the system menu
        if (TMenuItem* item = TMenuItem::FindBySubmenu(reinterpret_cast<HMENU>(wParam))) item->Click();
      return 0;
    case WM_SIZE:
      if (OnResize) OnResize(this);
      return 0;
    case WM_COMMAND:
      return HandleCommand(wParam, lParam);
    case WM_NOTIFY:
      return HandleNotify(reinterpret_cast<NMHDR*>(lParam));
  }
  return TWinControl::WndProc(Msg, wParam, lParam);
}

LRESULT TForm::HandleCommand(WPARAM wParam, LPARAM lParam) {
  if (lParam == 0 && LOWORD(wParam) == IDCANCEL && modal_) {  // Escape in a dialog
    modalResult_ = mrCancel;
    return 0;
  }
  if (lParam == 0 && HIWORD(wParam) == 0) {
    if (TMenuItem* item = TMenuItem::FindByCommand(LOWORD(wParam))) item->Click();
    return 0;
  }
  if (auto* c = dynamic_cast<TNotifiedControl*>(FromHandle(reinterpret_cast<HWND>(lParam))))
    return c->Command(HIWORD(wParam), LOWORD(wParam));
  return 0;
}

LRESULT TForm::HandleNotify(NMHDR* Header) {
  return TWinControl::WndProc(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(Header));
}
