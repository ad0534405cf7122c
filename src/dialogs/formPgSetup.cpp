#include "dialogs/formPgSetup.h"
#include <commctrl.h>
#include <richedit.h>
#include "commands/fHlpMainPrint.h"
#include "dialogs/formPreview.h"
#include "documents/fHlpMain.h"
#include "documents/fLanguage.h"
#include "rtl/SysUtils.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Controls.h"
#include "toolkit/DialogKeys.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Graphics.h"
#include "toolkit/GroupBox.h"
#include "toolkit/LabelKey.h"
#include "toolkit/Menus.h"
#include "toolkit/PageControl.h"
#include "toolkit/PrintDialogs.h"
#include "toolkit/ToolBar.h"

namespace {
const char* const kSwatchClass = "TarvolineColorSwatch";
const int kWidth = 490;
const int kHeight = 440;

// The number fields' names, captions and settings, in the order of the dialog.
struct TNumberField {
  const char* field;
  const char* label;
  const char* caption;
  double TPrinterSettings::*setting;
};
const TNumberField kNumberFields[10] = {
    {"txtTop", "lblTop", "Oben:", &TPrinterSettings::MarginTop},
    {"txtBottom", "lblBottom", "Unten:", &TPrinterSettings::MarginBottom},
    {"txtLeft", "lblLeft", "Links:", &TPrinterSettings::MarginLeft},
    {"txtRight", "lblRight", "Rechts:", &TPrinterSettings::MarginRight},
    {"txtGutter", "lblGutter", "Bundsteg:", &TPrinterSettings::MarginGutter},
    {"txtHeader", "lblHeader", "Kopfzeile:", &TPrinterSettings::MarginHeader},
    {"txtFooter", "lblFooter", "Fu\xDFzeile:", &TPrinterSettings::MarginFooter},
    {"txtInternal", "lblInternal", "Innenabstand:", &TPrinterSettings::MarginInternal},
    {"txtLeftIndent", "lblLeftIndent", "Einzug links:", &TPrinterSettings::MarginLeftIndent},
    {"txtRightIndent", "lblRightIndent", "Einzug rechts:", &TPrinterSettings::MarginRightIndent},
};

void LoadRichEdit() {
  static HMODULE module = LoadLibraryA("riched20.dll");
  (void)module;
}
}  // namespace

std::string NormaliseNumberText(const std::string& Text, double& Value) {
  const char sep = DecimalSeparator();
  std::string digits;
  for (char c : Trim(Text)) {
    if (c == '.' || c == ',') digits += sep;
    else if (c >= '0' && c <= '9') digits += c;
  }
  if (!TryStrToFloat(digits, Value)) Value = 0;
  return FloatToStr(Value);
}

// --- Small controls of the dialog ---------------------------------------------------------

TRichField::TRichField(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H)
    : TWinControl(Owner) {
  LoadRichEdit();
  // Wide, as every field: an 8-bit one would already hold the look-alike of a pasted character.
  CreateSystemControl("RichEdit20W", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                      WS_EX_CLIENTEDGE, Parent ? Parent->Handle() : nullptr, X, Y, W, H, true);
  font_.OnChange = [this](TObject*) { ApplyFont(); };
}

void TRichField::ApplyFont() {
  if (!Handle()) return;
  CHARFORMAT2A cf = {};
  cf.cbSize = sizeof cf;
  cf.dwMask = CFM_FACE | CFM_SIZE | CFM_CHARSET | CFM_COLOR | CFM_BOLD | CFM_ITALIC |
              CFM_UNDERLINE | CFM_STRIKEOUT;
  font_.Name().copy(cf.szFaceName, LF_FACESIZE - 1);
  cf.yHeight = font_.Size() * 20;
  cf.bCharSet = static_cast<BYTE>(font_.Charset());
  cf.crTextColor = ColorToRGB(font_.Color());
  const TFontStyles s = font_.Style();
  cf.dwEffects = (s.Contains(TFontStyle::fsBold) ? CFE_BOLD : 0) |
                 (s.Contains(TFontStyle::fsItalic) ? CFE_ITALIC : 0) |
                 (s.Contains(TFontStyle::fsUnderline) ? CFE_UNDERLINE : 0) |
                 (s.Contains(TFontStyle::fsStrikeOut) ? CFE_STRIKEOUT : 0);
  Perform(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
}

void TRichField::SetBackColor(COLORREF Color) {
  backColor_ = Color;
  Perform(EM_SETBKGNDCOLOR, 0, Color);
}

void TRichField::ReplaceSelection(const std::string& Text) {
  PerformText(EM_REPLACESEL, TRUE, Text);
}

void TRichField::PutCaretAtEnd() {
  const LRESULT length = PerformNative(WM_GETTEXTLENGTH);
  Perform(EM_SETSEL, length, length);
}

namespace {
// Held on the way to another key (Shift+Tab), they choose nothing.
bool IsModifierKey(WPARAM Key) {
  return Key == VK_SHIFT || Key == VK_CONTROL || Key == VK_MENU || Key == VK_LWIN ||
         Key == VK_RWIN;
}
}  // namespace

LRESULT TRichField::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) {
  // Handled first: a click sets the focus inside, and that must not undo the choice.
  const LRESULT result = TWinControl::WndProc(Msg, wParam, lParam);
  bool chose = false;
  switch (Msg) {
    case WM_GETDLGCODE:
      // The rich-text control asks for Tab even on one line, and would type it into the
      // header's text: Tab leaves the field, as it leaves every other one.
      return result & ~DLGC_WANTTAB;
    case WM_SETFOCUS: chosen_ = false; break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: chose = true; break;
    case WM_KEYDOWN: chose = !IsModifierKey(wParam); break;
  }
  if (chose) {
    chosen_ = true;
    if (OnChoose) OnChoose(this);
  }
  return result;
}

LRESULT TNumberEdit::Command(WORD Code) {
  if (Code == EN_KILLFOCUS && OnExit) OnExit(this);
  return TEdit::Command(Code);
}

TColorSwatch::TColorSwatch(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H)
    : TWinControl(Owner) {
  RegisterClassOnce(kSwatchClass, 0, nullptr, nullptr);
  CreateHandle(kSwatchClass, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0,
               Parent ? Parent->Handle() : nullptr, X, Y, W, H);
}

void TColorSwatch::SetColor(TColor Color) {
  color_ = Color;
  Invalidate();
}

LRESULT TColorSwatch::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) {
  switch (Msg) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Handle(), &ps);
      RECT r = ClientRect();
      HBRUSH brush = CreateSolidBrush(Enabled() ? ColorToRGB(color_) : GetSysColor(COLOR_BTNFACE));
      FillRect(dc, &r, brush);
      DeleteObject(brush);
      FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      // The focus as a white and a black frame inside the border, seen on any colour (the
      // system's dotted one vanishes on grey).
      if (GetFocus() == Handle()) {
        InflateRect(&r, -1, -1);
        FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        InflateRect(&r, -1, -1);
        FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      }
      EndPaint(Handle(), &ps);
      return 0;
    }
    case WM_ENABLE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Invalidate();
      break;
    case WM_GETDLGCODE: {
      // Enter picks the colour, not the dialog's default button.
      return AsksAboutKeyDown(lParam, VK_RETURN) ? DLGC_WANTMESSAGE : 0;
    }
    case WM_KEYDOWN:
      if (wParam != VK_SPACE && wParam != VK_RETURN) break;
      if (OnClick) OnClick(this);
      return 0;
    case WM_LBUTTONDOWN:
      if (OnClick) OnClick(this);
      return 0;
  }
  return TWinControl::WndProc(Msg, wParam, lParam);
}

TImage::TImage(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H) : TWinControl(Owner) {
  CreateSystemControl("STATIC", WS_CHILD | WS_VISIBLE | SS_BITMAP | SS_CENTERIMAGE, 0,
                      Parent ? Parent->Handle() : nullptr, X, Y, W, H);
}

TImage::~TImage() {
  if (bitmap_) DeleteObject(bitmap_);
}

bool TImage::LoadFromFile(const std::string& FileName) {
  HBITMAP bitmap = static_cast<HBITMAP>(
      LoadImageA(nullptr, FileName.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  if (!bitmap) return false;
  Perform(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
  if (bitmap_) DeleteObject(bitmap_);
  bitmap_ = bitmap;
  return true;
}

void SetToolButtonText(TToolButton& Button, const std::string& Text) {
  HWND bar = Button.ToolBar()->Handle();
  const SIZE size = TextExtentIn(bar, Text);
  TBBUTTONINFOA info = {};
  info.cbSize = sizeof info;
  info.dwMask = TBIF_TEXT | TBIF_SIZE;
  info.pszText = const_cast<char*>(Text.c_str());
  // Room for the text and, on a drop-down button, its arrow.
  info.cx = static_cast<WORD>(size.cx + (Button.Style() == TToolButtonStyle::tbsDropDown ? 30 : 14));
  SendMessageA(bar, TB_SETBUTTONINFOA, Button.Command(), reinterpret_cast<LPARAM>(&info));
  SendMessageA(bar, TB_AUTOSIZE, 0, 0);
}

// --- The dialog --------------------------------------------------------------------------

TfrmPgSetup::TfrmPgSetup(TComponent* Owner)
    : TForm(Owner, {"Seite einrichten", kWidth, kHeight, WS_POPUP | WS_CAPTION | WS_SYSMENU,
                    WS_EX_DLGMODALFRAME, true}) {
  pcSetup = Make<TPageControl>("pcSetup", this);
  pcSetup->SetBounds(8, 8, kWidth - 24, 350);
  tabGeneralMargin = pcSetup->AddPage("tabGeneralMargin");
  tabHeaderFooter = pcSetup->AddPage("tabHeaderFooter");
  CreateGeneralPage();
  CreateHdrFtrPage();
  btnOk = Make<TButton>("btnOk", this, kWidth - 290, 368, 85, 25, true);
  btnCancel = Make<TButton>("btnCancel", this, kWidth - 198, 368, 85, 25);
  btnPreview = Make<TButton>("btnPreview", this, kWidth - 106, 368, 85, 25);
  btnCancel->SetModalResult(mrCancel);
  btnOk->OnClick = [this](TObject*) { btnOkClick(); };
  btnPreview->OnClick = [this](TObject*) { btnPreviewClick(); };
  FormCreate();
}

void TfrmPgSetup::CreateGeneralPage() {
  TWinControl* page = tabGeneralMargin;
  const char* names[6] = {"chkHighlight", "chkLineNumbers", "chkLineNumbersInMargin",
                          "chkColors", "chkWrap", "chkMirror"};
  TCheckBox** boxes[6] = {&chkHighlight, &chkLineNumbers, &chkLineNumbersInMargin,
                          &chkColors, &chkWrap, &chkMirror};
  for (int i = 0; i < 6; ++i)
    *boxes[i] = Make<TCheckBox>(names[i], page, i == 2 ? 28 : 10, 8 + i * 22, 220, 20);
  chkLineNumbers->OnClick = [this](TObject*) { chkLineNumbersClick(); };
  lblUnit = Make<TLabel>("lblUnit", page, 250, 11, 70, 18);
  cmbUnit = Make<TComboBox>("cmbUnit", page, 325, 8, 125, 120);
  cmbUnit->OnClick = [this](TObject*) { cmbUnitClick(); };
  imgPgSetup = Make<TImage>("imgPgSetup", page, 250, 40, 200, 70);
  btnPrinterSetup = Make<TButton>("btnPrinterSetup", page, 300, 112, 150, 25);
  btnPrinterSetup->OnClick = [this](TObject*) { btnPrinterSetupClick(); };
  grpMargins = Make<TGroupBox>("grpMargins", page, 8, 148, 215, 165);
  grpDistances = Make<TGroupBox>("grpDistances", page, 235, 148, 215, 165);
  for (int i = 0; i < 10; ++i) {
    const int x = i < 5 ? 18 : 245;
    const int y = 168 + (i % 5) * 28;
    numberLabels[i] = Make<TLabel>(kNumberFields[i].label, page, x, y + 3, 100, 18);
    numberFields[i] = Make<TNumberEdit>(kNumberFields[i].field, page, x + 105, y, 80, 22);
    numberFields[i]->Perform(EM_LIMITTEXT, 8);
    TEdit* field = numberFields[i];
    numberFields[i]->OnExit = [this, field](TObject*) { txtFloatFieldExit(*field); };
  }
}

void TfrmPgSetup::CreateHdrFtrGroup(THdrFtrControls& G, const std::string& Name, int Top) {
  TWinControl* page = tabHeaderFooter;
  G.grp = Make<TGroupBox>("grp" + Name, page, 8, Top, 445, 140);
  G.chkUse = Make<TCheckBox>("chkUse" + Name, page, 18, Top + 18, 200, 20);
  G.lblLeft = Make<TLabel>("lbl" + Name + "Left", page, 18, Top + 42, 130, 16);
  G.lblCenter = Make<TLabel>("lbl" + Name + "Center", page, 160, Top + 42, 130, 16);
  G.lblRight = Make<TLabel>("lbl" + Name + "Right", page, 302, Top + 42, 130, 16);
  G.rtfLeft = Make<TRichField>("rtf" + Name + "Left", page, 18, Top + 58, 138, 24);
  G.rtfCenter = Make<TRichField>("rtf" + Name + "Center", page, 160, Top + 58, 138, 24);
  G.rtfRight = Make<TRichField>("rtf" + Name + "Right", page, 302, Top + 58, 138, 24);
  G.chkBorder = Make<TCheckBox>("chk" + Name + "Border", page, 18, Top + 88, 80, 20);
  G.chkLine = Make<TCheckBox>("chk" + Name + "Line", page, 100, Top + 88, 100, 20);
  G.lblLineColor = Make<TLabel>("lbl" + Name + "LineColor", page, 205, Top + 91, 80, 16);
  G.shpLineColor = Make<TColorSwatch>("shp" + Name + "LineColor", page, 288, Top + 89, 24, 18);
  G.chkMirror = Make<TCheckBox>("chk" + Name + "Mirror", page, 18, Top + 112, 170, 20);
  G.chkBackColor = Make<TCheckBox>("chk" + Name + "BackColor", page, 205, Top + 112, 130, 20);
  G.shpBackColor = Make<TColorSwatch>("shp" + Name + "BackColor", page, 338, Top + 113, 24, 18);
  G.chkUse->OnClick = [this, &G](TObject*) { UseClick(G); };
  G.chkBackColor->OnClick = [this, &G](TObject*) { BackColorClick(G); };
  G.shpLineColor->OnClick = [this, &G](TObject*) { LineColorMouseDown(G); };
  G.shpBackColor->OnClick = [this, &G](TObject*) { BackColorMouseDown(G); };
  for (TRichField* f : {G.rtfLeft, G.rtfCenter, G.rtfRight})
    f->OnChoose = [this, f](TObject*) { rtfEditFieldEnter(*f); };
}

void TfrmPgSetup::CreateHdrFtrPage() {
  tbHdrFtr = Make<TToolBar>("tbHdrFtr", tabHeaderFooter);
  tbPageNumber = Make<TToolButton>("tbPageNumber", tbHdrFtr);
  tbPageCount = Make<TToolButton>("tbPageCount", tbHdrFtr);
  tbDate = Make<TToolButton>("tbDate", tbHdrFtr);
  tbTime = Make<TToolButton>("tbTime", tbHdrFtr);
  tbFileName = Make<TToolButton>("tbFileName", tbHdrFtr, TToolButtonStyle::tbsDropDown);
  tbFont = Make<TToolButton>("tbFont", tbHdrFtr);
  pmnuFileName = Make<TPopupMenu>("pmnuFileName");
  pmnuFileNameNameOnly = Make<TMenuItem>("pmnuFileNameNameOnly");
  pmnuFileNamePathOnly = Make<TMenuItem>("pmnuFileNamePathOnly");
  pmnuFileNameFullPath = Make<TMenuItem>("pmnuFileNameFullPath");
  for (TMenuItem* item : {pmnuFileNameNameOnly, pmnuFileNamePathOnly, pmnuFileNameFullPath})
    pmnuFileName->Items()->Add(item);
  tbFileName->SetDropdownMenu(pmnuFileName);
  const std::pair<TToolButton*, const char*> macros[] = {
      {tbPageNumber, "$PAGENUM$"}, {tbPageCount, "$PAGECOUNT$"}, {tbDate, "$DATE$"},
      {tbTime, "$TIME$"}, {tbFileName, "$TITLE$"}};
  for (const auto& [button, macro] : macros) {
    std::string text = macro;
    button->OnClick = [this, text](TObject*) { InsertMacro(text); };
  }
  const std::pair<TMenuItem*, const char*> items[] = {{pmnuFileNameNameOnly, "$FILENAME$"},
                                                       {pmnuFileNamePathOnly, "$FILEPATH$"},
                                                       {pmnuFileNameFullPath, "$FULLPATH$"}};
  for (const auto& [item, macro] : items) {
    std::string text = macro;
    item->OnClick = [this, text](TObject*) { InsertMacro(text); };
  }
  tbFont->OnClick = [this](TObject*) { tbFontClick(); };
  CreateHdrFtrGroup(header, "Header", 38);
  CreateHdrFtrGroup(footer, "Footer", 184);
  lblTarget = Make<TLabel>("lblTarget", tabHeaderFooter, 0, 0, 0, 0);  // placed by PlaceToolBar
  // Tab reaches the bar only past other fields: its key leads there from any of them.
  MakeLabelKey(*lblTarget, *tabHeaderFooter, [this] { GoToToolBar(); });
}

// The bar as wide as its buttons, and the field it changes named beside it.
void TfrmPgSetup::PlaceToolBar() {
  // Placed, not aligned: a page without size yet would squeeze an aligned bar to nothing.
  tbHdrFtr->SetAlign(alNone);
  RECT last = {};
  tbHdrFtr->Perform(TB_GETITEMRECT, tbHdrFtr->ButtonCount() - 1, reinterpret_cast<LPARAM>(&last));
  const int height = HIWORD(tbHdrFtr->Perform(TB_GETBUTTONSIZE)) + 4;
  const int barWidth = last.right + 2;
  tbHdrFtr->SetBounds(8, 4, barWidth, height);
  const int left = 8 + barWidth + 10;
  lblTarget->SetBounds(left, 4 + (height - 16) / 2, 453 - left, 16);
}

void TfrmPgSetup::TranslateForm() {
  ApplyFormFont(*this);
  std::vector<TFormText> texts = {
      {TFormText::Caption, "", "PgSetup|Caption", "Seite einrichten"},
      {TFormText::Caption, "chkHighlight", "PgSetup|chkHighlight", "Syntaxhervorhebung drucken"},
      {TFormText::Caption, "chkLineNumbers", "PgSetup|chkLineNumbers", "Zeilennummern drucken"},
      {TFormText::Caption, "chkLineNumbersInMargin", "PgSetup|chkLineNumbersInMargin", "Zeilennummern im Rand"},
      {TFormText::Caption, "chkColors", "PgSetup|chkColors", "Farben drucken"},
      {TFormText::Caption, "chkWrap", "PgSetup|chkWrap", "Zeilen umbrechen"},
      {TFormText::Caption, "chkMirror", "PgSetup|chkMirror", "Beidseitiger Druck"},
      {TFormText::Caption, "lblUnit", "PgSetup|lblUnit", "Einheit:"},
      {TFormText::Caption, "grpMargins", "PgSetup|grpMargins", "R\xE4nder"},
      {TFormText::Caption, "grpDistances", "PgSetup|grpDistances", "Abst\xE4nde"},
      {TFormText::Caption, "btnPrinterSetup", "PgSetup|btnPrinterSetup", "Druckeinrichtung..."},
      {TFormText::Caption, "grpHeader", "PgSetup|grpHeader", "Kopfzeile"},
      {TFormText::Caption, "grpFooter", "PgSetup|grpFooter", "Fu\xDFzeile"},
      {TFormText::Caption, "chkUseHeader", "PgSetup|chkUseHeader", "Kopfzeile anzeigen"},
      {TFormText::Caption, "chkUseFooter", "PgSetup|chkUseFooter", "Fu\xDFzeile anzeigen"},
      {TFormText::Caption, "chkHeaderLine", "PgSetup|chkHeaderLine", "Linie unten"},
      {TFormText::Caption, "chkFooterLine", "PgSetup|chkFooterLine", "Linie oben"},
      {TFormText::Caption, "chkHeaderMirror", "PgSetup|chkHeaderMirror", "Kopfzeile spiegeln"},
      {TFormText::Caption, "chkFooterMirror", "PgSetup|chkFooterMirror", "Fu\xDFzeile spiegeln"},
      {TFormText::Caption, "btnOk", "General|btnOk", "Ok"},
      {TFormText::Caption, "btnCancel", "General|btnCancel", "Abbrechen"},
      {TFormText::Caption, "btnPreview", "PgSetup|btnPreview", "\xDC" "bernehmen"},
  };
  for (int i = 0; i < 10; ++i)
    texts.push_back({TFormText::Caption, kNumberFields[i].label,
                     std::string("PgSetup|") + kNumberFields[i].label, kNumberFields[i].caption});
  // Both groups share these texts.
  const std::pair<const char*, const char*> shared[] = {
      {"lbl%Left", "PgSetup|lblHdrFtrLeft"},       {"lbl%Center", "PgSetup|lblHdrFtrCenter"},
      {"lbl%Right", "PgSetup|lblHdrFtrRight"},     {"chk%Border", "PgSetup|chkHdrFtrBorder"},
      {"lbl%LineColor", "PgSetup|lblHdrFtrLineColor"}, {"chk%BackColor", "PgSetup|chkHdrFtrBackColor"}};
  const char* sharedDefaults[] = {"Links:", "Mitte:", "Rechts:", "Rahmen", "Linienfarbe:",
                                  "Hintergrundfarbe:"};
  for (int i = 0; i < 6; ++i)
    for (const char* group : {"Header", "Footer"}) {
      std::string name = shared[i].first;
      name.replace(name.find('%'), 1, group);
      texts.push_back({TFormText::Caption, name, shared[i].second, sharedDefaults[i]});
    }
  ApplyFormTexts(*this, texts);
  tabGeneralMargin->SetCaption(GetLangText("PgSetup|tabGeneralMargin", "Allgemein / R\xE4nder"));
  tabHeaderFooter->SetCaption(GetLangText("PgSetup|tabHeaderFooter", "Kopf- und Fu\xDFzeile"));
  cmbUnit->Clear();
  cmbUnit->AddItem(GetLangText("PgSetup|cmbUnitMM", "Millimeter"));
  cmbUnit->AddItem(GetLangText("PgSetup|cmbUnitCM", "Centimeter"));
  const std::pair<TToolButton*, std::pair<const char*, const char*>> buttons[] = {
      {tbPageNumber, {"Seitenzahl", "#"}}, {tbPageCount, {"Seitenanzahl", "##"}},
      {tbDate, {"Datum", "Datum"}},        {tbTime, {"Uhrzeit", "Zeit"}},
      {tbFileName, {"Dateiname", "Datei"}}, {tbFont, {"Schriftart", "Schrift"}}};
  for (const auto& [button, text] : buttons) {
    button->SetHint(GetLangText("PgSetup|" + button->Name(), text.first));
    SetToolButtonText(*button, text.second);
  }
  PlaceToolBar();
  if (activeHdrFtrField_) ShowTarget();
  pmnuFileNameNameOnly->SetCaption(GetLangText("PgSetup|pmnuFileNameNameOnly", "Dateiname"));
  pmnuFileNamePathOnly->SetCaption(GetLangText("PgSetup|pmnuFileNamePathOnly", "Dateipfad"));
  pmnuFileNameFullPath->SetCaption(
      GetLangText("PgSetup|pmnuFileNameFullPath", "Dateipfad und Dateiname"));
}

void TfrmPgSetup::FormCreate() {
  TranslateForm();
  const std::string picture =
      Settings.AppDir + "Language\\" + Trim(GetLangText("PgSetup|DescrImageFileName", ""));
  if (!Trim(GetLangText("PgSetup|DescrImageFileName", "")).empty() && FileExists(picture))
    imgPgSetup->LoadFromFile(picture);
  previewWindow_ = nullptr;
  pcSetup->SetActivePage(tabGeneralMargin);
  rtfEditFieldEnter(*header.rtfLeft);
  LoadSettings();
  currentUnit_ = cmbUnit->ItemIndex();
  chkLineNumbersClick();
  UseClick(header);
  UseClick(footer);
}

namespace {
struct TGroupSettings {
  bool* Use;
  std::string* Texts[3];
  TFontDetail* Fonts[3];
  bool* Border;
  bool* Line;
  int32_t* LineColor;
  bool* Mirror;
  int32_t* BackColor;
  bool* UseBackColor;
};

TGroupSettings HeaderSettings(TPrinterSettings& P) {
  return {&P.UseHeader,
          {&P.HeaderLeftText, &P.HeaderCenterText, &P.HeaderRightText},
          {&P.HeaderLeftFont, &P.HeaderCenterFont, &P.HeaderRightFont},
          &P.HeaderBorder, &P.HeaderLine, &P.HeaderLineColor, &P.HeaderMirror,
          &P.HeaderBackColor, &P.HeaderUseBackColor};
}

TGroupSettings FooterSettings(TPrinterSettings& P) {
  return {&P.UseFooter,
          {&P.FooterLeftText, &P.FooterCenterText, &P.FooterRightText},
          {&P.FooterLeftFont, &P.FooterCenterFont, &P.FooterRightFont},
          &P.FooterBorder, &P.FooterLine, &P.FooterLineColor, &P.FooterMirror,
          &P.FooterBackColor, &P.FooterUseBackColor};
}

void LoadGroup(THdrFtrControls& G, const TGroupSettings& S) {
  G.chkUse->SetChecked(*S.Use);
  TRichField* fields[3] = {G.rtfLeft, G.rtfCenter, G.rtfRight};
  for (int i = 0; i < 3; ++i) {
    fields[i]->SetText(*S.Texts[i]);
    FontFromDetail(*S.Fonts[i], fields[i]->Font());
  }
  G.chkBorder->SetChecked(*S.Border);
  G.chkLine->SetChecked(*S.Line);
  G.shpLineColor->SetColor(*S.LineColor);
  G.chkMirror->SetChecked(*S.Mirror);
  G.shpBackColor->SetColor(*S.BackColor);
  G.chkBackColor->SetChecked(*S.UseBackColor);
}

void SaveGroup(THdrFtrControls& G, const TGroupSettings& S) {
  *S.Use = G.chkUse->Checked();
  TRichField* fields[3] = {G.rtfLeft, G.rtfCenter, G.rtfRight};
  for (int i = 0; i < 3; ++i) {
    *S.Texts[i] = fields[i]->Text();
    DetailFromFont(fields[i]->Font(), *S.Fonts[i]);
  }
  *S.Border = G.chkBorder->Checked();
  *S.Line = G.chkLine->Checked();
  *S.LineColor = G.shpLineColor->Color();
  *S.Mirror = G.chkMirror->Checked();
  *S.BackColor = G.shpBackColor->Color();
  *S.UseBackColor = G.chkBackColor->Checked();
}
}  // namespace

void TfrmPgSetup::LoadSettings() {
  TPrinterSettings& p = Settings.Printer;
  chkHighlight->SetChecked(p.Highlight);
  chkLineNumbers->SetChecked(p.LineNumbers);
  chkLineNumbersInMargin->SetChecked(p.LineNumbersInMargin);
  chkColors->SetChecked(p.Colors);
  chkWrap->SetChecked(p.Wrap);
  chkMirror->SetChecked(p.Mirror);
  cmbUnit->SetItemIndex(p.MarginUnit == 1 ? 1 : 0);
  for (int i = 0; i < 10; ++i) numberFields[i]->SetText(FloatToStr(p.*kNumberFields[i].setting));
  LoadGroup(header, HeaderSettings(p));
  LoadGroup(footer, FooterSettings(p));
  BackColorClick(header);
  BackColorClick(footer);
}

void TfrmPgSetup::NormaliseNumberFields() {
  for (TNumberEdit* field : numberFields) txtFloatFieldExit(*field);
}

void TfrmPgSetup::SaveSettings() {
  // A field still being typed in holds what the user wrote, not yet a number.
  NormaliseNumberFields();
  TPrinterSettings& p = Settings.Printer;
  p.Highlight = chkHighlight->Checked();
  p.LineNumbers = chkLineNumbers->Checked();
  p.LineNumbersInMargin = chkLineNumbersInMargin->Checked();
  p.Colors = chkColors->Checked();
  p.Wrap = chkWrap->Checked();
  p.Mirror = chkMirror->Checked();
  p.MarginUnit = cmbUnit->ItemIndex() == 1 ? 1 : 0;
  for (int i = 0; i < 10; ++i) {
    double value = 0;
    NormaliseNumberText(numberFields[i]->Text(), value);
    p.*kNumberFields[i].setting = value;
  }
  SaveGroup(header, HeaderSettings(p));
  SaveGroup(footer, FooterSettings(p));
}

void TfrmPgSetup::btnOkClick() {
  SaveSettings();
  SetModalResult(mrOk);
}

void TfrmPgSetup::btnPreviewClick() {
  SaveSettings();
  if (previewWindow_) previewWindow_->RefreshPreview();
}

void TfrmPgSetup::FormKeyDown(WORD Key) {
  if (Key == VK_ESCAPE) SetModalResult(mrCancel);
}

void TfrmPgSetup::chkLineNumbersClick() {
  chkLineNumbersInMargin->SetEnabled(chkLineNumbers->Checked());
}

void TfrmPgSetup::txtFloatFieldExit(TEdit& Field) {
  double value = 0;
  const std::string text = NormaliseNumberText(Field.Text(), value);
  if (text != Field.Text()) Field.SetText(text);
}

void TfrmPgSetup::cmbUnitClick() {
  const int unit = cmbUnit->ItemIndex();
  if (unit == currentUnit_ || unit < 0) return;
  currentUnit_ = unit;
  for (TNumberEdit* field : numberFields) {
    double value = 0;
    NormaliseNumberText(field->Text(), value);
    field->SetText(FloatToStr(unit == 1 ? value / 10 : value * 10));
  }
}

void TfrmPgSetup::btnPrinterSetupClick() { ExecutePrinterSetupDialog(); }

void TfrmPgSetup::LineColorMouseDown(THdrFtrControls& Group) {
  TColor color = Group.shpLineColor->Color();
  if (ExecuteColorDialog(color)) Group.shpLineColor->SetColor(color);
}

void TfrmPgSetup::BackColorMouseDown(THdrFtrControls& Group) {
  TColor color = Group.shpBackColor->Color();
  if (ExecuteColorDialog(color)) Group.shpBackColor->SetColor(color);
  BackColorClick(Group);
}

void TfrmPgSetup::BackColorClick(THdrFtrControls& Group) {
  const COLORREF back =
      Group.chkBackColor->Checked() ? ColorToRGB(Group.shpBackColor->Color()) : RGB(255, 255, 255);
  for (TRichField* f : {Group.rtfLeft, Group.rtfCenter, Group.rtfRight}) f->SetBackColor(back);
}

void TfrmPgSetup::UseClick(THdrFtrControls& G) {
  const bool on = G.chkUse->Checked();
  for (TWinControl* c : std::initializer_list<TWinControl*>{
           G.lblLeft, G.lblCenter, G.lblRight, G.rtfLeft, G.rtfCenter, G.rtfRight, G.chkBorder,
           G.chkLine, G.lblLineColor, G.shpLineColor, G.chkMirror, G.chkBackColor, G.shpBackColor})
    c->SetEnabled(on);
}

void TfrmPgSetup::rtfEditFieldEnter(TRichField& Field) {
  activeHdrFtrField_ = &Field;
  ShowTarget();
}

namespace {
// The label above Field in its group; nullptr when Field is not one of the group's.
const TLabel* PositionLabel(const THdrFtrControls& G, const TRichField& Field) {
  if (&Field == G.rtfLeft) return G.lblLeft;
  if (&Field == G.rtfCenter) return G.lblCenter;
  if (&Field == G.rtfRight) return G.lblRight;
  return nullptr;
}

// Shown in a label, "&" would underline the next letter instead.
std::string ShownAsIs(const std::string& Text) {
  std::string shown;
  for (char c : Text) shown += c == '&' ? std::string("&&") : std::string(1, c);
  return shown;
}
}  // namespace

// The field by the captions the user sees: its group's and the one above it.
void TfrmPgSetup::ShowTarget() {
  const TRichField& field = *activeHdrFtrField_;
  const THdrFtrControls& group = PositionLabel(header, field) ? header : footer;
  const std::string name = group.grp->Caption() + " " + FieldNameOf(PositionLabel(group, field)->Caption());
  lblTarget->SetCaption(GetLangText("PgSetup|lblTarget", "&Ziel:") + " " + ShownAsIs(name));
}

TRichField* TfrmPgSetup::FocusedHdrFtrField() const {
  const HWND focus = GetFocus();
  for (const THdrFtrControls* g : {&header, &footer})
    for (TRichField* f : {g->rtfLeft, g->rtfCenter, g->rtfRight})
      if (f->Handle() == focus) return f;
  return nullptr;
}

void TfrmPgSetup::GoToToolBar() {
  if (TRichField* field = FocusedHdrFtrField()) {
    // A field Tab reached holds its whole text selected, which a macro would replace unseen.
    if (!field->ChosenSinceFocus()) field->PutCaretAtEnd();
    rtfEditFieldEnter(*field);
  }
  tbHdrFtr->SetFocus();
}

void TfrmPgSetup::InsertMacro(const std::string& Macro) {
  if (activeHdrFtrField_) activeHdrFtrField_->ReplaceSelection(Macro);
}

void TfrmPgSetup::tbFontClick() {
  if (!activeHdrFtrField_) return;
  TFont font;
  font.Assign(activeHdrFtrField_->Font());
  if (ExecuteFontDialog(font)) activeHdrFtrField_->Font().Assign(font);
}
