#include "dialogs/formPreview.h"
#include <commctrl.h>
#include "dialogs/formPgSetup.h"
#include "documents/fLanguage.h"
#include "printing/CodeEditPrintPreview.h"
#include "toolkit/Controls.h"
#include "toolkit/Menus.h"
#include "toolkit/StatusBar.h"
#include "toolkit/ToolBar.h"

TfrmPreview::TfrmPreview(TComponent* Owner, TCodeEditPrint& Print,
                         TActiveDocumentFunc ActiveDocument, TNotifyEvent PrintCommand)
    : TForm(Owner, {"Seitenvorschau", 800, 600, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, true}),
      sepPrint_(Print),
      activeDocument_(std::move(ActiveDocument)),
      printCommand_(std::move(PrintCommand)) {
  tbPreview = Make<TToolBar>("tbPreview", this);
  tbPrint = Make<TToolButton>("tbPrint", tbPreview);
  tbPgSetup = Make<TToolButton>("tbPgSetup", tbPreview);
  Make<TToolButton>("tbSep1", tbPreview, TToolButtonStyle::tbsSeparator);
  tbPageFirst = Make<TToolButton>("tbPageFirst", tbPreview);
  tbPagePrev = Make<TToolButton>("tbPagePrev", tbPreview);
  tbPageNext = Make<TToolButton>("tbPageNext", tbPreview);
  tbPageLast = Make<TToolButton>("tbPageLast", tbPreview);
  Make<TToolButton>("tbSep2", tbPreview, TToolButtonStyle::tbsSeparator);
  tbScale = Make<TToolButton>("tbScale", tbPreview, TToolButtonStyle::tbsDropDown);
  pmnuScale = Make<TPopupMenu>("pmnuScale");
  pmnuScaleWhole = Make<TMenuItem>("pmnuScaleWhole");
  pmnuScaleWhole->SetTag(-1);
  pmnuScaleWidth = Make<TMenuItem>("pmnuScaleWidth");
  pmnuScaleWidth->SetTag(-2);
  pmnuScale->Items()->Add(pmnuScaleWhole);
  pmnuScale->Items()->Add(pmnuScaleWidth);
  for (int percent = 25; percent <= 300; percent += 25) {
    auto* item = Make<TMenuItem>("pmnuScale" + std::to_string(percent));
    item->SetTag(percent);
    item->SetCaption(std::to_string(percent) + "%");
    pmnuScalePercent.push_back(item);
    pmnuScale->Items()->Add(item);
  }
  for (int i = 0; i < pmnuScale->Items()->Count(); ++i) {
    TMenuItem* item = pmnuScale->Items()->Items(i);
    item->SetRadioItem(true);
    item->SetGroupIndex(1);
    item->OnClick = [this, item](TObject*) { pmnuScaleItemClick(*item); };
  }
  pmnuScaleWhole->SetChecked(true);
  pmnuScale->OnPopup = [this](TObject*) { pmnuScalePopup(); };
  tbScale->SetDropdownMenu(pmnuScale);
  btnClose = Make<TButton>("btnClose", tbPreview, 420, 2, 90, 22, true);
  btnClose->SetModalResult(mrCancel);
  sbPreview = Make<TStatusBar>("sbPreview", this);
  sbPreview->AddPanel(150);
  sbPreview->AddPanel(-1);
  sepPreview = Make<TCodeEditPrintPreview>("sepPreview", this);
  sepPreview->SetCodeEditPrint(&sepPrint_);
  // The page takes the focus first (its arrows scroll it): Tab leads back to it.
  SetWindowLongPtrA(sepPreview->Handle(), GWL_STYLE,
                    GetWindowLongPtrA(sepPreview->Handle(), GWL_STYLE) | WS_TABSTOP);

  tbPrint->OnClick = [this](TObject*) { tbPrintClick(); };
  tbPgSetup->OnClick = [this](TObject*) { tbPgSetupClick(); };
  tbPageFirst->OnClick = [this](TObject*) { sepPreview->FirstPage(); };
  tbPagePrev->OnClick = [this](TObject*) { sepPreview->PreviousPage(); };
  tbPageNext->OnClick = [this](TObject*) { sepPreview->NextPage(); };
  tbPageLast->OnClick = [this](TObject*) { sepPreview->LastPage(); };
  tbScale->OnClick = [this](TObject*) { tbScaleClick(); };
  sepPreview->OnPreviewPage = [this](TObject*, int Page) { sepPreviewPreviewPage(Page); };
  sepPreview->OnMouseDown = [this](TObject*, int Button, int, int) { sepPreviewMouseDown(Button); };
  sepPreview->OnKeyDown = [this](TObject*, WORD Key) { FormKeyDown(Key); };
  OnShow = [this](TObject*) { FormShow(); };
  TranslateForm();
}

void TfrmPreview::TranslateForm() {
  ApplyFormFont(*this);
  ApplyFormTexts(*this, {{TFormText::Caption, "", "Preview|Caption", "Seitenvorschau"},
                         {TFormText::Caption, "btnClose", "Preview|btnClose", "Schlie\xDF" "en"}});
  const std::pair<TToolButton*, std::pair<const char*, const char*>> buttons[] = {
      {tbPrint, {"Drucken", "Drucken"}},
      {tbPgSetup, {"Seite einrichten", "Seite einrichten"}},
      {tbPageFirst, {"Erste Seite", "|<"}},
      {tbPagePrev, {"Vorherige Seite", "<"}},
      {tbPageNext, {"N\xE4" "chste Seite", ">"}},
      {tbPageLast, {"Letzte Seite", ">|"}},
      {tbScale, {"Zoom", "Zoom"}}};
  for (const auto& [button, text] : buttons) {
    button->SetHint(GetLangText("Preview|" + button->Name(), text.first));
    SetToolButtonText(*button, text.second);
  }
  pmnuScaleWhole->SetCaption(GetLangText("Preview|pmnuScaleWhole", "&Ganze Seite"));
  pmnuScaleWidth->SetCaption(GetLangText("Preview|pmnuScaleWidth", "Seiten&breite"));
  // The close button sits right of the buttons on the bar.
  RECT last = {};
  SendMessageA(tbPreview->Handle(), TB_GETITEMRECT, tbPreview->ButtonCount() - 1,
               reinterpret_cast<LPARAM>(&last));
  btnClose->SetBounds(last.right + 16, last.top, 90, last.bottom - last.top);
}

void TfrmPreview::RefreshPreview() {
  const TPrintDocument document = activeDocument_ ? activeDocument_() : TPrintDocument{};
  if (document.Edit) {
    SetupPrintJob(sepPrint_, document);
    sbPreview->SetPanelText(1, document.FileName);
  }
  sepPreview->UpdatePreview();
}

void TfrmPreview::FormShow() {
  sepPreview->SetScaleMode(TCodePreviewScale::pscWholePage);
  sepPreview->UpdatePreview();
  sepPreview->SetFocus();
}

void TfrmPreview::FormKeyDown(WORD Key) {
  switch (Key) {
    case VK_HOME: sepPreview->FirstPage(); break;
    case VK_PRIOR: sepPreview->PreviousPage(); break;
    case VK_NEXT: sepPreview->NextPage(); break;
    case VK_END: sepPreview->LastPage(); break;
    case VK_ESCAPE: SetModalResult(mrCancel); break;
  }
}

void TfrmPreview::sepPreviewPreviewPage(int PageNumber) {
  // A leading tab centres the text in its panel.
  sbPreview->SetPanelText(
      0, "\t" + GetLangText("Preview|sbPreviewPage", "Seite %s1% von %s2%",
                     LangParams({std::to_string(PageNumber),
                                 std::to_string(sepPreview->GetPageCount())})));
}

void TfrmPreview::tbScaleClick() { sepPreview->SetScaleMode(TCodePreviewScale::pscWholePage); }

void TfrmPreview::pmnuScaleItemClick(TMenuItem& Item) {
  switch (Item.Tag()) {
    case -1: sepPreview->SetScaleMode(TCodePreviewScale::pscWholePage); break;
    case -2: sepPreview->SetScaleMode(TCodePreviewScale::pscPageWidth); break;
    default: sepPreview->SetScalePercent(Item.Tag()); break;
  }
}

void TfrmPreview::pmnuScalePopup() {
  for (TMenuItem* item : pmnuScalePercent)
    if (item->Tag() == sepPreview->ScalePercent()) item->SetChecked(true);
  if (sepPreview->ScaleMode() == TCodePreviewScale::pscWholePage) pmnuScaleWhole->SetChecked(true);
  if (sepPreview->ScaleMode() == TCodePreviewScale::pscPageWidth) pmnuScaleWidth->SetChecked(true);
}

void TfrmPreview::sepPreviewMouseDown(int Button) {
  if (Button != VK_LBUTTON) {
    sepPreview->SetScalePercent(std::max(sepPreview->ScalePercent() - 25, 25));
  } else if (sepPreview->ScaleMode() == TCodePreviewScale::pscUserScaled) {
    sepPreview->SetScalePercent(std::min(sepPreview->ScalePercent() + 25, 300));
  } else {
    sepPreview->SetScalePercent(100);
  }
}

void TfrmPreview::tbPrintClick() {
  if (printCommand_) printCommand_(this);
}

void TfrmPreview::tbPgSetupClick() {
  {
    TfrmPgSetup setup(nullptr);
    setup.SetPreviewWindow(this);
    setup.ShowModal();
  }
  RefreshPreview();
}

void ShowPrintPreview(TCodeEditPrint& Print, TActiveDocumentFunc ActiveDocument,
                      TNotifyEvent PrintCommand) {
  const TPrintDocument document = ActiveDocument ? ActiveDocument() : TPrintDocument{};
  if (document.Edit) SetupPrintJob(Print, document);
  TfrmPreview preview(nullptr, Print, std::move(ActiveDocument), std::move(PrintCommand));
  if (document.Edit) preview.sbPreview->SetPanelText(1, document.FileName);
  ShowWindow(preview.Handle(), SW_MAXIMIZE);
  preview.ShowModal();
}

bool ShowPageSetup() {
  TfrmPgSetup setup(nullptr);
  return setup.ShowModal() == mrOk;
}
