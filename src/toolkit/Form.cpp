#include "toolkit/Form.h"
#include <algorithm>
#include <vector>
#include "toolkit/Application.h"
#include "toolkit/DialogKeys.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Menus.h"
#include "toolkit/WorkArea.h"

namespace {
const char* const kFormClass = "TarvolineForm";
const char* const kDialogProp = "TarvolineDialogKeys";

struct TChildFont {
  HFONT font;
  BOOL redraw;
};

BOOL CALLBACK SetChildFont(HWND Child, LPARAM Font) {
  const auto* change = reinterpret_cast<const TChildFont*>(Font);
  SendMessageA(Child, WM_SETFONT, reinterpret_cast<WPARAM>(change->font), change->redraw);
  return TRUE;
}

// The forms whose modal loops run, innermost last.
std::vector<HWND>& ModalForms() {
  static std::vector<HWND> forms;
  return forms;
}

bool CanOwn(HWND Wnd) {
  return Wnd && IsWindowVisible(Wnd) && IsWindowEnabled(Wnd) &&
         GetWindowThreadProcessId(Wnd, nullptr) == GetCurrentThreadId();
}

bool CanTakeFocus(HWND Form, HWND Control) {
  return Control && IsChild(Form, Control) && IsWindowVisible(Control) && IsWindowEnabled(Control);
}
}  // namespace

HWND ModalOwner() {
  if (HWND active = GetActiveWindow(); CanOwn(active)) return GetAncestor(active, GA_ROOT);
  for (auto it = ModalForms().rbegin(); it != ModalForms().rend(); ++it)
    if (CanOwn(*it)) return *it;
  return Application().MainWindow();
}

TForm::TForm(TComponent* Owner, const CreateArgs& Args) : TWinControl(Owner), dialog_(Args.dialog) {
  RegisterClassOnce(kFormClass, CS_DBLCLKS, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  SetCaption(Args.caption);
  HWND owner = Args.dialog ? Application().MainWindow() : nullptr;
  // A form the user sizes moves its controls as it grows: painting the uncovered area after
  // them would cover them again.
  const DWORD style = Args.style & WS_THICKFRAME ? Args.style | WS_CLIPCHILDREN : Args.style;
  CreateHandle(kFormClass, style, Args.exStyle, owner, CW_USEDEFAULT, CW_USEDEFAULT,
               Args.width, Args.height);
  if (dialog_ && Handle()) SetPropA(Handle(), kDialogProp, reinterpret_cast<HANDLE>(1));
  createdAt_ = {Left(), Top()};
  font_.OnChange = [this](TObject*) { ApplyFontToChildren(); };
}

void TForm::ApplyFontToChildren() {
  if (!Handle()) return;
  // A hidden form paints whole when it shows: repainting each control now would only cost.
  TChildFont change = {font_.Handle(), IsWindowVisible(Handle())};
  EnumChildWindows(Handle(), SetChildFont, reinterpret_cast<LPARAM>(&change));
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

bool TForm::HandleDialogMessage(HWND Form, MSG& Msg) {
  return HandleNavigationKey(Form, Msg, true) || IsDialogMessageW(Form, &Msg);
}

void TForm::Show() {
  if (!Handle()) return;
  // Showing activates a hidden window only: one shown already may lie behind another.
  if (IsWindowVisible(Handle())) SetForegroundWindow(Handle());
  ShowWindow(Handle(), SW_SHOW);
  UpdateWindow(Handle());
  if (OnShow) OnShow(this);
}

void TForm::SetActiveControl(TWinControl* Control) {
  if (!Control || !Handle() || !IsChild(Handle(), Control->Handle())) return;
  activeControl_ = Control->Handle();
  if (GetActiveWindow() == Handle()) ::SetFocus(activeControl_);
}

HWND TForm::FocusedControl() const {
  const HWND focus = GetFocus();
  return focus && IsChild(Handle(), focus) ? focus : nullptr;
}

void TForm::ReturnFocusTo(HWND Control) {
  const HWND target = CanTakeFocus(Handle(), Control) ? Control : TabStopAfter(Handle(), Control);
  if (!target) return;
  activeControl_ = target;
  if (GetActiveWindow() == Handle()) ::SetFocus(target);
}

HWND TForm::DefaultFocus() { return FirstTabStop(Handle()); }

// Windows moves the focus to the form itself on every activation: the control that had it
// is kept here and given it back, so typed keys never go to a window that ignores them.
void TForm::RememberFocus() {
  if (HWND focus = GetFocus(); focus && IsChild(Handle(), focus)) activeControl_ = focus;
}

void TForm::RestoreFocus() {
  HWND target = CanTakeFocus(Handle(), activeControl_) ? activeControl_ : DefaultFocus();
  ::SetFocus(CanTakeFocus(Handle(), target) ? target : Handle());
}

void TForm::CenterOver(HWND Owner) {
  RECT area = {}, own = {};
  if (!Owner || !GetWindowRect(Owner, &area)) SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  GetWindowRect(Handle(), &own);
  const int w = own.right - own.left, h = own.bottom - own.top;
  SetBounds(area.left + (area.right - area.left - w) / 2, area.top + (area.bottom - area.top - h) / 2,
            w, h);
  // An owner partly off the screen must not take the form with it.
  KeepOnScreen(Handle());
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
  HWND owner = ModalOwner();
  if (owner == Handle()) owner = nullptr;
  SetWindowLongPtrA(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
  // Over a minimised owner the form would be centred on its icon, off the screen.
  if (owner && IsIconic(owner)) ShowWindow(owner, SW_RESTORE);
  // A form that never placed itself opens over the window it was opened from.
  if (Left() == createdAt_.x && Top() == createdAt_.y) CenterOver(owner);
  // Disabling the owner may take the focus from it: its control is remembered first.
  if (auto* ownerForm = dynamic_cast<TForm*>(FromHandle(owner))) ownerForm->RememberFocus();
  bool ownerEnabled = owner && IsWindowEnabled(owner);
  if (ownerEnabled) EnableWindow(owner, FALSE);
  const HWND self = Handle();
  ModalForms().push_back(self);
  modal_ = true;
  modalResult_ = mrNone;
  Show();
  SetForegroundWindow(Handle());
  MSG msg = {};
  // A dialog whose window went away (destroyed by code or with its owner) ends as cancelled.
  while (modalResult_ == mrNone && Handle() && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    GuardEntry([&] {
      TakeTypedCharExactly(msg);
      if (!HandleDialogMessage(Handle(), msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
    });
  }
  if (msg.message == WM_QUIT && modalResult_ == mrNone)
    PostQuitMessage(static_cast<int>(msg.wParam));  // the outer loop must end too
  if (modalResult_ == mrNone) modalResult_ = mrCancel;
  modal_ = false;
  ModalForms().erase(std::remove(ModalForms().begin(), ModalForms().end(), self),
                     ModalForms().end());
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
    case WM_MEASUREITEM:
      if (TMenuItem::MeasureGlyphSpace(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return TRUE;
      break;
    case WM_SIZE:
      if (OnResize) OnResize(this);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        RememberFocus();
        break;
      }
      if (HIWORD(wParam)) break;  // minimised
      RestoreFocus();
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
