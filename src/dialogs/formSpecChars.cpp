#include "dialogs/formSpecChars.h"
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

std::string Hex2(int Code) {
  char text[3];
  std::snprintf(text, sizeof text, "%02X", Code & 0xFF);
  return text;
}

void FocusMainWindow() {
  if (frmMain && frmMain->Handle()) SetForegroundWindow(frmMain->Handle());
  if (TCodeEdit* editor = GetActiveEditor()) editor->SetFocus();
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
  const char* previews[][2] = {{"txtChar", "lblChar"}, {"txtCode", "lblCode"}, {"txtHex", "lblHex"},
                               {"txtHtml", "lblHtml"}, {"txtHtmlUni", "lblHtmlUni"}};
  TEdit** edits[] = {&txtChar, &txtCode, &txtHex, &txtHtml, &txtHtmlUni};
  for (int i = 0; i < 5; ++i) {
    Make<TLabel>(previews[i][1], this, 9 + 86 * i, 298, 84, 14);
    *edits[i] = Make<TEdit>(previews[i][0], this, 9 + 86 * i, 314, 80, 26, ES_READONLY | ES_CENTER);
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
  for (TEdit* edit : {txtChar, txtCode, txtHex, txtHtml, txtHtmlUni}) ApplyPrototypeFont(edit->Handle());
  FillInsertAs();
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
  for (int r = 0; r < 8; ++r)
    for (int c = 0; c < 16; ++c) {
      const int code = 128 + 16 * r + c;
      TButton* button = Make<TButton>("btnSZ" + std::to_string(code), this, 32 * c + 9, 32 * r + 39,
                                      btnSZ->Width(), btnSZ->Height());
      button->SetTag(16 * r + c);
      button->SetCaption(SpecialCharText(code, scmChar));
      button->SetHint(SpecialCharHint(code, ansi));
      ApplyPrototypeFont(button->Handle());
      button->OnClick = [this, code](TObject*) { btnSZClick(code); };
      // Owned by its button, so a rebuild frees it with the button.
      button->Make<TMessageHook>("", button->Handle(), [this, code](UINT Msg, WPARAM, LPARAM, LRESULT&) {
        if (Msg == WM_MOUSEMOVE) btnSZMouseMove(code);
        return false;
      });
      buttons_.push_back(button);
    }
  if (visible) {
    SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
    RedrawWindow(Handle(), nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
  for (TEdit* edit : {txtChar, txtCode, txtHex, txtHtml, txtHtmlUni}) ApplyPrototypeFont(edit->Handle());
  FillInsertAs();
  if (visible) FocusMainWindow();
}

TButton* TfrmSpecChars::CharButton(int Code) const {
  return Code >= 128 && Code <= 255 && !buttons_.empty() ? buttons_[Code - 128] : nullptr;
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

void TfrmSpecChars::btnSZMouseMove(int Code) {
  // Ctrl keeps the preview, so the mouse can leave the grid.
  if (IsCtrlDown()) return;
  const bool show = Code >= 128 && Code <= 255;
  const bool ansi = Ansi();
  txtChar->SetText(show ? SpecialCharText(Code, scmChar) : "");
  txtCode->SetText(show ? SpecialCharText(Code, scmDecimal) : "");
  txtHex->SetText(show ? SpecialCharText(Code, scmHex) : "");
  txtHtml->SetText(show && ansi ? SpecialCharText(Code, scmHtmlNamed) : "");
  txtHtmlUni->SetText(show && ansi ? SpecialCharText(Code, scmHtmlNumeric) : "");
}

void TfrmSpecChars::btnSZClick(int Code) {
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
