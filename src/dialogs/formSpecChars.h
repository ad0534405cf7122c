// The special-characters window: a grid of the characters 128 to 255 that inserts the clicked
// one into the active document as the character, its code or its HTML entity. The grid is one
// tab stop that the arrows, Home and End move through; Space and Enter insert as a click does.
#pragma once
#include <array>
#include <string>
#include <vector>
#include "toolkit/Form.h"
#include "toolkit/Graphics.h"

class TButton;
class TComboBox;
class TEdit;
class TLabel;
class TRadioButton;

// Insert modes, the item indexes of the insert list.
enum TSpecCharMode { scmChar, scmDecimal, scmHex, scmHtmlNamed, scmHtmlNumeric };

// The text a click inserts for Code (0..255) in Mode; empty when the table has none.
std::string SpecialCharText(int Code, int Mode);
// The button's hint; the entities only for the ANSI character set.
std::string SpecialCharHint(int Code, bool Ansi);

class TfrmSpecChars : public TForm {
public:
  explicit TfrmSpecChars(TComponent* Owner);
  ~TfrmSpecChars() override;

  void TranslateForm();
  void BuildCharButtons();
  // Shows the window without blocking; it takes the stay-on-top state from the main window.
  void ShowTool();
  // The button for Code (128..255), nullptr when none.
  TButton* CharButton(int Code) const;
  bool Ansi() const;

  void btnSZClick(int Code);
  void btnSZMouseMove(int Code);
  void btnCloseClick(TObject* Sender);
  void rbAnsiClick(TObject* Sender);
  void rbAsciiClick(TObject* Sender);

  TLabel* lblInsertAs;
  TComboBox* cmbInsertAs;
  TLabel* lblCharset;
  TRadioButton* rbAnsi;
  TRadioButton* rbAscii;
  TButton* btnSZ;
  TEdit *txtChar, *txtCode, *txtHex, *txtHtml, *txtHtmlUni;
  TButton* btnClose;
  // The prototype's font: the character buttons and the preview take it.
  TFont& PrototypeFont() { return protoFont_; }

private:
  void FormShow();
  bool CharButtonMessage(int Code, UINT Msg, WPARAM wParam, LRESULT& Result);
  // The five fields show Code; empty for a code outside the table.
  void ShowPreview(int Code);
  void FillInsertAs();
  void ApplyPrototypeFont(HWND Wnd);
  void ApplyPreviewFont();
  std::array<TEdit*, 5> PreviewEdits() const;
  int PreviewWidth(int Mode, TWinControl& Label) const;
  void LayOutPreview();

  TFont protoFont_;
  std::vector<TButton*> buttons_;
  int keyboardCode_ = 128;  // the cell Tab reaches
};

// Created with the main window; nullptr before and after.
extern TfrmSpecChars* frmSpecChars;
