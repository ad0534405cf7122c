// The page-setup dialog: print options, margins and distances, header and footer texts,
// fonts, frames and colours, read from and stored into the print settings.
#pragma once
#include <string>
#include "toolkit/Controls.h"
#include "toolkit/Form.h"
#include "toolkit/Graphics.h"

class TButton;
class TCheckBox;
class TComboBox;
class TGroupBox;
class TLabel;
class TMenuItem;
class TPageControl;
class TPopupMenu;
class TTabSheet;
class TToolBar;
class TToolButton;
class TfrmPreview;
struct TFontDetail;

// A single-line rich-text field with its own font, text colour and background. Its text is
// read as every field's is (Caption): a character the code page lacks reads as "?".
class TRichField : public TWinControl, public TNotifiedControl {
public:
  TRichField(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H);
  std::string Text() const { return Caption(); }
  void SetText(const std::string& Text) { SetCaption(Text); }
  // Changes reach the field at once.
  TFont& Font() { return font_; }
  COLORREF BackColor() const { return backColor_; }
  void SetBackColor(COLORREF Color);
  // Replaces the selection (the caret when nothing is selected) with Text.
  void ReplaceSelection(const std::string& Text);
  // Whether the user clicked into the field or pressed a key in it since it got the focus;
  // a field Tab only passes through is not chosen, and holds the whole text selected.
  bool ChosenSinceFocus() const { return chosen_; }
  // The caret after the last character, nothing selected.
  void PutCaretAtEnd();
  // The user clicked into the field or pressed a key in it.
  TNotifyEvent OnChoose;

protected:
  LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

private:
  void ApplyFont();
  TFont font_;
  bool chosen_ = false;
  COLORREF backColor_ = RGB(255, 255, 255);
};

// A number field that tells when it is left.
class TNumberEdit : public TEdit {
public:
  TNumberEdit(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H)
      : TEdit(Owner, Parent, X, Y, W, H) {}
  TNotifyEvent OnExit;
  LRESULT Command(WORD Code) override;
};

// A framed patch of colour and a tab stop; a click on it, or Space or Enter while it has the
// focus, fires OnClick.
class TColorSwatch : public TWinControl {
public:
  TColorSwatch(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H);
  TColor Color() const { return color_; }
  void SetColor(TColor Color);
  TNotifyEvent OnClick;

protected:
  LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

private:
  TColor color_ = clWhite;
};

// A picture from a bitmap file.
class TImage : public TWinControl {
public:
  TImage(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H);
  ~TImage() override;
  bool LoadFromFile(const std::string& FileName);
  bool HasPicture() const { return bitmap_ != nullptr; }

private:
  HBITMAP bitmap_ = nullptr;
};

// Shows Text on a tool button (for bars without images).
void SetToolButtonText(TToolButton& Button, const std::string& Text);

// The controls of the header or of the footer group.
struct THdrFtrControls {
  TGroupBox* grp;
  TCheckBox* chkUse;
  TLabel* lblLeft;
  TLabel* lblCenter;
  TLabel* lblRight;
  TRichField* rtfLeft;
  TRichField* rtfCenter;
  TRichField* rtfRight;
  TCheckBox* chkBorder;
  TCheckBox* chkLine;
  TLabel* lblLineColor;
  TColorSwatch* shpLineColor;
  TCheckBox* chkMirror;
  TCheckBox* chkBackColor;
  TColorSwatch* shpBackColor;
};

class TfrmPgSetup : public TForm {
public:
  explicit TfrmPgSetup(TComponent* Owner);

  void TranslateForm();
  // Normalises every number field, then stores every control into Settings.Printer.
  void SaveSettings();
  // The preview to refresh after "Übernehmen"; none by default.
  void SetPreviewWindow(TfrmPreview* Preview) { previewWindow_ = Preview; }
  // The field the tool bar changes: the one the user chose last (clicked into, typed in, or
  // left for the bar by its key), not one Tab passed through; the header's left one at first.
  TRichField* ActiveHdrFtrField() const { return activeHdrFtrField_; }
  int CurrentUnit() const { return currentUnit_; }

  // Handlers.
  void btnOkClick();
  void btnPreviewClick();
  void FormKeyDown(WORD Key);
  void chkLineNumbersClick();
  void txtFloatFieldExit(TEdit& Field);
  void cmbUnitClick();
  void btnPrinterSetupClick();
  void LineColorMouseDown(THdrFtrControls& Group);
  void BackColorMouseDown(THdrFtrControls& Group);
  void BackColorClick(THdrFtrControls& Group);
  void UseClick(THdrFtrControls& Group);
  void rtfEditFieldEnter(TRichField& Field);
  // The key of lblTarget: the focused header or footer field becomes the bar's field, with the
  // caret after its text when Tab selected all of it, and the bar takes the keyboard.
  void GoToToolBar();
  void InsertMacro(const std::string& Macro);
  void tbFontClick();

  TPageControl* pcSetup;
  TTabSheet* tabGeneralMargin;
  TTabSheet* tabHeaderFooter;
  TCheckBox* chkHighlight;
  TCheckBox* chkLineNumbers;
  TCheckBox* chkLineNumbersInMargin;
  TCheckBox* chkColors;
  TCheckBox* chkWrap;
  TCheckBox* chkMirror;
  TLabel* lblUnit;
  TComboBox* cmbUnit;
  TGroupBox* grpMargins;
  TGroupBox* grpDistances;
  // In the order top, bottom, left, right, gutter, header, footer, internal, left indent,
  // right indent.
  TNumberEdit* numberFields[10];
  TLabel* numberLabels[10];
  TImage* imgPgSetup;
  TButton* btnPrinterSetup;
  THdrFtrControls header;
  THdrFtrControls footer;
  TToolBar* tbHdrFtr;
  TToolButton* tbPageNumber;
  TToolButton* tbPageCount;
  TToolButton* tbDate;
  TToolButton* tbTime;
  TToolButton* tbFileName;
  TToolButton* tbFont;
  // Names the field the bar changes.
  TLabel* lblTarget;
  TPopupMenu* pmnuFileName;
  TMenuItem* pmnuFileNameNameOnly;
  TMenuItem* pmnuFileNamePathOnly;
  TMenuItem* pmnuFileNameFullPath;
  TButton* btnOk;
  TButton* btnCancel;
  TButton* btnPreview;

private:
  void CreateGeneralPage();
  void CreateHdrFtrGroup(THdrFtrControls& G, const std::string& Name, int Top);
  void CreateHdrFtrPage();
  void FormCreate();
  void LoadSettings();
  void NormaliseNumberFields();
  void PlaceToolBar();
  void ShowTarget();
  TRichField* FocusedHdrFtrField() const;

  TfrmPreview* previewWindow_ = nullptr;
  TRichField* activeHdrFtrField_ = nullptr;
  int currentUnit_ = 0;
};

// The text of a number field made sound: "." and "," become the locale's decimal separator,
// other characters are dropped, and the value is written back in the locale's format
// (0 when it is not a number).
std::string NormaliseNumberText(const std::string& Text, double& Value);
