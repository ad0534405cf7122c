#include "dialogs/formSpecChars.h"
#include <algorithm>
#include <cstdio>
#include "documents/MainWindowParts.h"
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"
#include "documents/fHlpMainFuncs.h"
#include "documents/fLanguage.h"
#include "editor/CodeEdit.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Controls.h"
#include "toolkit/Cursor.h"
#include "toolkit/DialogKeys.h"
#include "toolkit/KeyState.h"
#include "toolkit/Menus.h"
#include "toolkit/MessageHook.h"
#include "toolkit/WorkArea.h"

TfrmSpecChars* frmSpecChars = nullptr;

namespace {

const char* const kTitle = "Sonderzeichen";
constexpr int kClientWidth = 529;
constexpr int kClientHeight = 349;
constexpr int kOemCharset = 255;
constexpr int kCaretRoom = 2;  // a focused read-only field still shows its caret
// The labels of the preview fields, in the order of the insert modes.
const char* const kPreviewLabels[] = {"lblChar", "lblCode", "lblHex", "lblHtml", "lblHtmlUni"};

// The table: the codes 128 to 255, sixteen to a row.
constexpr int kFirst = 128, kLast = 255, kColumns = 16, kRows = (kLast - kFirst + 1) / kColumns;

std::string Hex2(int Code) {
  char text[3];
  std::snprintf(text, sizeof text, "%02X", Code & 0xFF);
  return text;
}

void FocusMainWindow() {
  if (frmMain && frmMain->Handle()) SetForegroundWindow(frmMain->Handle());
  if (TCodeEdit* editor = GetActiveEditor()) editor->SetFocus();
}

// The cell a key moves the keyboard to from Code, row by row as the codes run; Code itself at
// the table's edge; -1 for a key that does not move in the table.
int CellAfterKey(int Code, WPARAM Key) {
  switch (Key) {
    case VK_LEFT: return std::max(Code - 1, kFirst);
    case VK_RIGHT: return std::min(Code + 1, kLast);
    case VK_UP: return Code - kColumns >= kFirst ? Code - kColumns : Code;
    case VK_DOWN: return Code + kColumns <= kLast ? Code + kColumns : Code;
    case VK_HOME: return kFirst;
    case VK_END: return kLast;
  }
  return -1;
}

void SetTabStop(HWND Wnd, bool Stop) {
  const LONG style = GetWindowLongA(Wnd, GWL_STYLE);
  SetWindowLongA(Wnd, GWL_STYLE, Stop ? style | WS_TABSTOP : style & ~WS_TABSTOP);
}

void SetTopmost(HWND Wnd, bool Topmost) {
  if (Wnd)
    SetWindowPos(Wnd, Topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace

std::string SpecialCharText(int Code, int Mode) {
  if (Code < 0 || Code > 255) return std::string();
  switch (Mode) {
    case scmChar: return std::string(1, static_cast<char>(Code));
    case scmDecimal: return std::to_string(Code);
    case scmHex: return "0x" + Hex2(Code);
    case scmHtmlNamed: return SpecialCharsTable[Code].Name;
    case scmHtmlNumeric: return SpecialCharsTable[Code].Number;
  }
  return std::string();
}

std::string SpecialCharHint(int Code, bool Ansi) {
  std::string hint = " " + SpecialCharText(Code, scmChar) + " / " + std::to_string(Code) + " / 0x" +
                     Hex2(Code);
  if (Ansi)
    hint += " / " + SpecialCharsTable[Code].Name + " / " + SpecialCharsTable[Code].Number + " ";
  return hint;
}

TfrmSpecChars::TfrmSpecChars(TComponent* Owner)
    : TForm(Owner, {kTitle, kClientWidth, kClientHeight,
                    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW, false}) {
  RECT frame = {0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, WS_POPUP | WS_CAPTION | WS_SYSMENU, FALSE, WS_EX_TOOLWINDOW);
  SetBounds(120, 120, frame.right - frame.left, frame.bottom - frame.top);
  lblInsertAs = Make<TLabel>("lblInsertAs", this, 9, 9, 120, 16);
  cmbInsertAs = Make<TComboBox>("cmbInsertAs", this, 130, 5, 150, 200);
  lblCharset = Make<TLabel>("lblCharset", this, 300, 9, 85, 16);
  rbAnsi = Make<TRadioButton>("rbAnsi", this, 390, 8, 60, 18, true);
  rbAscii = Make<TRadioButton>("rbAscii", this, 455, 8, 65, 18);
  btnSZ = Make<TButton>("btnSZ", this, 9, 33, 31, 31);
  btnSZ->SetVisible(false);
  const char* const edits[] = {"txtChar", "txtCode", "txtHex", "txtHtml", "txtHtmlUni"};
  TEdit** fields[] = {&txtChar, &txtCode, &txtHex, &txtHtml, &txtHtmlUni};
  for (int i = 0; i < 5; ++i) {  // placed by LayOutPreview
    Make<TLabel>(kPreviewLabels[i], this, 9 + 86 * i, 298, 84, 14);
    *fields[i] = Make<TEdit>(edits[i], this, 9 + 86 * i, 314, 80, 26, ES_READONLY | ES_CENTER);
  }
  btnClose = Make<TButton>("btnClose", this, 439, 314, 81, 26);
  btnClose->OnClick = [this](TObject* s) { btnCloseClick(s); };
  rbAnsi->OnClick = [this](TObject* s) { rbAnsiClick(s); };
  rbAscii->OnClick = [this](TObject* s) { rbAsciiClick(s); };
  // Closing only hides the window, as the close button does.
  OnCloseQuery = [this](TObject*, bool& CanClose) {
    CanClose = false;
    btnCloseClick(this);
  };
  Make<TMessageHook>("hookMouse", Handle(), [this](UINT Msg, WPARAM, LPARAM, LRESULT&) {
    if (Msg == WM_MOUSEMOVE) btnSZMouseMove(-1);
    return false;
  });
  // A tool window, not a dialog: no default or cancel button takes Enter or Escape; Tab goes
  // round the window.
  MakeTabArea(*this);
  protoFont_.Assign(Font());
  rbAnsi->SetChecked(true);
  TranslateForm();
  BuildCharButtons();
  cmbInsertAs->SetItemIndex(0);
}

TfrmSpecChars::~TfrmSpecChars() {
  if (frmSpecChars == this) frmSpecChars = nullptr;
}

bool TfrmSpecChars::Ansi() const { return rbAnsi->Checked(); }

void TfrmSpecChars::TranslateForm() {
  ApplyFormFont(*this);
  ApplyFormTexts(*this, {
      {TFormText::Caption, "", "SpecChars|Title", kTitle},
      {TFormText::Caption, "lblInsertAs", "SpecChars|lblInsertAs", "Zeichen einf\xFCgen als:"},
      {TFormText::Caption, "lblCharset", "SpecChars|lblCharset", "Zeichensatz:"},
      {TFormText::Caption, "rbAnsi", "SpecChars|rbAnsi", "ANSI"},
      {TFormText::Caption, "rbAscii", "SpecChars|rbAscii", "ASCII"},
      {TFormText::Caption, "lblChar", "SpecChars|lblChar", "Zeichen"},
      {TFormText::Caption, "lblCode", "SpecChars|lblCode", "Code"},
      {TFormText::Caption, "lblHex", "SpecChars|lblHex", "Hex"},
      {TFormText::Caption, "lblHtml", "SpecChars|lblHtml", "HTML"},
      {TFormText::Caption, "lblHtmlUni", "SpecChars|lblHtmlUni", "HTML-Unicode"},
      {TFormText::Caption, "btnClose", "General|btnClose", "Schlie\xDF" "en"},
  });
  // The form font reached every child; the grid and the preview keep the prototype's.
  for (TButton* button : buttons_) ApplyPrototypeFont(button->Handle());
  ApplyPreviewFont();
  FillInsertAs();
}

void TfrmSpecChars::ApplyPreviewFont() {
  for (TEdit* edit : PreviewEdits()) ApplyPrototypeFont(edit->Handle());
  LayOutPreview();
}

std::array<TEdit*, 5> TfrmSpecChars::PreviewEdits() const {
  return {txtChar, txtCode, txtHex, txtHtml, txtHtmlUni};
}

// The width a preview field needs for the widest text it shows for any code, and its label's.
int TfrmSpecChars::PreviewWidth(int Mode, TWinControl& Label) const {
  const HWND edit = PreviewEdits()[Mode]->Handle();
  std::vector<std::string> texts;
  for (int code = kFirst; code <= kLast; ++code) texts.push_back(SpecialCharText(code, Mode));
  const DWORD margins = static_cast<DWORD>(SendMessageA(edit, EM_GETMARGINS, 0, 0));
  const int field = WidestTextIn(edit, texts) + LOWORD(margins) + HIWORD(margins) +
                    2 * GetSystemMetrics(SM_CXEDGE) + kCaretRoom;
  return std::max(field, WidestTextIn(Label.Handle(), {Label.Caption()}));
}

// So no entity of the table is cut, the fields are as wide as their texts, left to right;
// the row ends before the close button whatever the font.
void TfrmSpecChars::LayOutPreview() {
  constexpr int kGap = 6;
  const int end = btnClose->Left() - kGap;
  int left = 9;
  for (int mode = scmChar; mode <= scmHtmlNumeric; ++mode) {
    auto& label = *dynamic_cast<TWinControl*>(FindComponent(kPreviewLabels[mode]));
    TEdit& edit = *PreviewEdits()[mode];
    const int width = std::max(0, std::min(PreviewWidth(mode, label), end - left));
    label.SetBounds(left, label.Top(), width, label.Height());
    edit.SetBounds(left, edit.Top(), width, edit.Height());
    left += width + kGap;
  }
}

void TfrmSpecChars::FillInsertAs() {
  const int index = cmbInsertAs->ItemIndex();
  cmbInsertAs->Clear();
  cmbInsertAs->AddItem(GetLangText("SpecChars|cmbInsertAsChar", "Zeichen"));
  cmbInsertAs->AddItem(GetLangText("SpecChars|cmbInsertAsDecCode", "Dezimalcode"));
  cmbInsertAs->AddItem(GetLangText("SpecChars|cmbInsertAsHexCode", "Hexadezimalcode"));
  if (Ansi()) {
    cmbInsertAs->AddItem(GetLangText("SpecChars|cmbInsertAsHtml", "HTML (benannt)"));
    cmbInsertAs->AddItem(GetLangText("SpecChars|cmbInsertAsHtmlUni", "HTML (Unicode)"));
  }
  cmbInsertAs->SetItemIndex(index >= 0 && index < cmbInsertAs->Count() ? index : 0);
}

void TfrmSpecChars::ApplyPrototypeFont(HWND Wnd) {
  SendMessageA(Wnd, WM_SETFONT, reinterpret_cast<WPARAM>(protoFont_.Handle()), TRUE);
}

void TfrmSpecChars::BuildCharButtons() {
  THourglass hourglass;
  // Turning redrawing back on marks a window visible, so a hidden one is left alone.
  const bool visible = IsWindowVisible(Handle());
  if (visible) SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
  for (TButton* button : buttons_) RemoveComponent(button);
  buttons_.clear();
  const bool ansi = Ansi();
  for (int r = 0; r < kRows; ++r)
    for (int c = 0; c < kColumns; ++c) {
      const int code = kFirst + kColumns * r + c;
      TButton* button = Make<TButton>("btnSZ" + std::to_string(code), this, 32 * c + 9, 32 * r + 39,
                                      btnSZ->Width(), btnSZ->Height());
      button->SetTag(kColumns * r + c);
      button->SetCaption(SpecialCharText(code, scmChar));
      button->SetHint(SpecialCharHint(code, ansi));
      ApplyPrototypeFont(button->Handle());
      button->OnClick = [this, code](TObject*) { btnSZClick(code); };
      // Owned by its button, so a rebuild frees it with the button.
      button->Make<TMessageHook>("", button->Handle(),
                                 [this, code](UINT Msg, WPARAM wParam, LPARAM, LRESULT& Result) {
                                   return CharButtonMessage(code, Msg, wParam, Result);
                                 });
      SetTabStop(button->Handle(), code == keyboardCode_);
      buttons_.push_back(button);
    }
  if (visible) {
    SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
    RedrawWindow(Handle(), nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
  ApplyPreviewFont();
  FillInsertAs();
  if (visible) FocusMainWindow();
}

TButton* TfrmSpecChars::CharButton(int Code) const {
  return Code >= kFirst && Code <= kLast && !buttons_.empty() ? buttons_[Code - kFirst] : nullptr;
}

void TfrmSpecChars::rbAnsiClick(TObject*) {
  const TEditorSettings& e = Settings.Editor;
  protoFont_.SetName(e.AnsiFontName);
  protoFont_.SetSize(e.AnsiFontSize);
  protoFont_.SetCharset(e.AnsiFontCharset);
  BuildCharButtons();
}

void TfrmSpecChars::rbAsciiClick(TObject*) {
  const TEditorSettings& e = Settings.Editor;
  protoFont_.SetName(e.AsciiFontName);
  protoFont_.SetSize(e.AsciiFontSize);
  protoFont_.SetCharset(kOemCharset);
  BuildCharButtons();
}

void TfrmSpecChars::ShowTool() {
  FormShow();
  // Kept between showings, its place may lie on a monitor that is gone.
  KeepOnScreen(Handle());
  Show();
}

void TfrmSpecChars::FormShow() {
  TCodeEdit* editor = GetActiveEditor();
  if (!editor) return;
  if (frmMain) SetTopmost(frmMain->Handle(), false);
  SetTopmost(Handle(), true);
  protoFont_.Assign(editor->Font());
  const bool ansi = protoFont_.Charset() < kOemCharset;
  rbAnsi->SetChecked(ansi);
  rbAscii->SetChecked(!ansi);
  if (protoFont_.Size() < 12) protoFont_.SetSize(12);
  if (protoFont_.Size() > 14) protoFont_.SetSize(14);
  TranslateForm();
  BuildCharButtons();
}

// The table is one tab stop, the cell that has or last had the keyboard; the arrows, Home and
// End move the keyboard through it, and the preview shows the cell it is on.
bool TfrmSpecChars::CharButtonMessage(int Code, UINT Msg, WPARAM wParam, LRESULT& Result) {
  switch (Msg) {
    case WM_MOUSEMOVE: btnSZMouseMove(Code); return false;
    case WM_SETFOCUS:
      if (TButton* old = CharButton(keyboardCode_)) SetTabStop(old->Handle(), false);
      keyboardCode_ = Code;
      SetTabStop(CharButton(Code)->Handle(), true);
      ShowPreview(Code);
      return false;
    case WM_KEYDOWN: {
      const int next = CellAfterKey(Code, wParam);
      if (next < 0) return false;
      CharButton(next)->SetFocus();
      Result = 0;
      return true;
    }
  }
  return false;
}

void TfrmSpecChars::btnSZMouseMove(int Code) {
  // Ctrl keeps the preview, so the mouse can leave the grid.
  if (!IsCtrlDown()) ShowPreview(Code);
}

void TfrmSpecChars::ShowPreview(int Code) {
  const bool show = Code >= kFirst && Code <= kLast;
  const bool ansi = Ansi();
  txtChar->SetText(show ? SpecialCharText(Code, scmChar) : "");
  txtCode->SetText(show ? SpecialCharText(Code, scmDecimal) : "");
  txtHex->SetText(show ? SpecialCharText(Code, scmHex) : "");
  txtHtml->SetText(show && ansi ? SpecialCharText(Code, scmHtmlNamed) : "");
  txtHtmlUni->SetText(show && ansi ? SpecialCharText(Code, scmHtmlNumeric) : "");
}

void TfrmSpecChars::btnSZClick(int Code) {
  // The window stays usable while a question of the main window is open: the document behind
  // it must not change, nor the question lose the foreground.
  if (frmMain && frmMain->HandleAllocated() && !IsWindowEnabled(frmMain->Handle())) return;
  TCodeEdit* editor = GetActiveEditor();
  const std::string text = SpecialCharText(Code, cmbInsertAs->ItemIndex());
  // An empty entity would only delete the selection. The text goes in before the caret, so the
  // next click adds to it instead of replacing it.
  if (editor && CanWriteDocument(editor) && !text.empty()) InsertText(text, "", "");
  FocusMainWindow();
}

void TfrmSpecChars::btnCloseClick(TObject*) {
  if (frmMain)
    if (auto* item = frmMain->Find<TMenuItem>("mnuViewStayOnTop"); item && item->Checked())
      SetTopmost(frmMain->Handle(), true);
  SetTopmost(Handle(), false);
  ShowWindow(Handle(), SW_HIDE);
}
