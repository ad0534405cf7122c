#include "documents/formDocSave.h"
#include "documents/fLanguage.h"
#include "documents/frameEdit.h"
#include "toolkit/Controls.h"
#include "toolkit/ListView.h"

namespace {
const char* const kTitle = "Dateien speichern";
const char* const kLblSave =
    "Die folgenden Dateien wurden ge\xE4ndert. W\xE4hlen Sie bitte die zu speichernden Dateien aus.";
const char* const kColumnTitle = "Titel";
const char* const kColumnFileName = "Dateiname";
const int kWidth = 480;
const int kHeight = 320;
}  // namespace

TfrmDocSave::TfrmDocSave(TComponent* Owner)
    : TForm(Owner, {kTitle, kWidth, kHeight, WS_POPUP | WS_CAPTION | WS_SYSMENU,
                    WS_EX_DLGMODALFRAME, true}) {
  lblSave = Make<TLabel>("lblSave", this, 10, 10, 455, 32);
  lvDocs = Make<TListView>("lvDocs", this, 10, 46, 455, 200);
  btnSaveAll = Make<TButton>("btnSaveAll", this, 10, 256, 105, 25, true);
  btnSaveSel = Make<TButton>("btnSaveSel", this, 125, 256, 105, 25);
  btnSaveNone = Make<TButton>("btnSaveNone", this, 240, 256, 105, 25);
  btnCancel = Make<TButton>("btnCancel", this, 360, 256, 105, 25);
  lvDocs->AddColumn(kColumnTitle, 150);
  lvDocs->AddColumn(kColumnFileName, 280);
  lvDocs->SetReadOnly(true);
  lvDocs->SetMultiSelect(true);
  lvDocs->SetRowSelect(true);
  lvDocs->SetSorted(true);
  lvDocs->SetHideSelection(false);
  btnSaveAll->SetModalResult(mrYes);
  btnSaveSel->SetModalResult(mrOk);
  btnSaveNone->SetModalResult(mrNo);
  btnCancel->SetModalResult(mrCancel);
  FormCreate();
}

void TfrmDocSave::FormCreate() { TranslateForm(); }


void TfrmDocSave::TranslateForm() {
  ApplyFormFont(*this);
  ApplyFormTexts(*this, {
      {TFormText::Caption, "", "DocSave|Title", kTitle},
      {TFormText::Caption, "lblSave", "DocSave|lblSave", kLblSave},
      {TFormText::Caption, "btnSaveAll", "DocSave|btnSaveAll", "Alle speichern"},
      {TFormText::Caption, "btnSaveSel", "DocSave|btnSaveSel", "Auswahl speichern"},
      {TFormText::Caption, "btnSaveNone", "DocSave|btnSaveNone", "Nichts speichern"},
      {TFormText::Caption, "btnCancel", "General|btnCancel", "Abbrechen"},
  });
  lvDocs->SetColumnCaption(0, GetLangText("DocSave|lvDocsTitle", kColumnTitle));
  lvDocs->SetColumnCaption(1, GetLangText("DocSave|lvDocsFileName", kColumnFileName));
}

void TfrmDocSave::AddDocument(TfraEdit* Frame) {
  TListItem* row = lvDocs->AddItem(Frame->DocInfo.Title);
  row->AddSubItem(Frame->DocInfo.FileName);
  row->SetData(Frame);
}

int TfrmDocSave::DocumentCount() const { return lvDocs->Count(); }

TfraEdit* TfrmDocSave::Document(int Row) const {
  TListItem* row = lvDocs->Items(Row);
  return row ? static_cast<TfraEdit*>(row->Data()) : nullptr;
}

bool TfrmDocSave::DocumentSelected(int Row) const {
  TListItem* row = lvDocs->Items(Row);
  return row && row->Selected();
}
