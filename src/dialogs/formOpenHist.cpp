// The reopen history: the recently used files that still exist, several to open at once.
#include "dialogs/formOpenHist.h"
#include <commctrl.h>
#include "dialogs/DialogPlacement.h"
#include "documents/MainWindowParts.h"
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"
#include "documents/fLanguage.h"
#include "rtl/SysUtils.h"
#include "toolkit/Controls.h"
#include "toolkit/ImageList.h"
#include "toolkit/ListView.h"

namespace {
constexpr int Margin = 9;
constexpr int ButtonGap = 6;
constexpr int HistoryImage = 126;
const char* const Title = "Dateien neu \xF6" "ffnen";
}  // namespace

TfrmOpenHist::TfrmOpenHist(TComponent* Owner)
    : TForm(Owner, {Title, 520, 360, WS_OVERLAPPEDWINDOW & ~(WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0, true}) {
  lvHist = Make<TListView>("lvHist", this, Margin, Margin, 480, 270);
  btnOpen = Make<TButton>("btnOpen", this, 320, 290, 88, 25, true);
  btnCancel = Make<TButton>("btnCancel", this, 414, 290, 88, 25);
  lvHist->AddColumn("Titel", 165);
  lvHist->AddColumn("Dateiname", 300);
  lvHist->SetMultiSelect(true);
  lvHist->SetRowSelect(true);
  lvHist->SetReadOnly(true);
  lvHist->SetHideSelection(false);
  lvHist->OnSelectItem = [this](TObject* Sender, TListItem*, bool) { lvHistChange(Sender); };
  lvHist->OnDblClick = [this](TObject* Sender) { lvHistDblClick(Sender); };
  if (frmMain) lvHist->SetSmallImages(frmMain->ImgList);
  btnOpen->SetModalResult(mrOk);
  btnCancel->SetModalResult(mrCancel);
  OnShow = [this](TObject*) { FormShow(); };
  OnResize = [this](TObject*) { FormResize(); };
  FormCreate();
}

void TfrmOpenHist::FormCreate() {
  TranslateForm();
  FillHistoryList();
  FormResize();
}

void TfrmOpenHist::TranslateForm() {
  ApplyFormFont(*this);
  ApplyFormTexts(*this, {
      {TFormText::Caption, "", "OpenHist|Title", Title},
      {TFormText::Caption, "btnOpen", "OpenHist|btnOpen", "\xD6" "ffnen"},
      {TFormText::Caption, "btnCancel", "General|btnCancel", "Abbrechen"},
  });
  lvHist->SetColumnCaption(0, GetLangText("OpenHist|lvHistTitle", "Titel"));
  lvHist->SetColumnCaption(1, GetLangText("OpenHist|lvHistFilename", "Dateiname"));
}

void TfrmOpenHist::FillHistoryList() {
  TStringList& history = Settings.OpenMRU;
  for (int i = history.Count() - 1; i >= 0; --i)
    if (!FileExists(history[i])) history.Delete(i);
  lvHist->Clear();
  for (int i = 0; i < history.Count(); ++i) {
    TListItem* row = lvHist->AddItem(ExtractFileName(history[i]));
    row->AddSubItem(history[i]);
    row->SetImageIndex(HistoryImage);
  }
  lvHistChange(lvHist);
}

void TfrmOpenHist::FormShow() {
  if (lvHist->ColumnCount() > 0)
    SendMessageA(lvHist->Handle(), LVM_SETCOLUMNWIDTH, lvHist->ColumnCount() - 1,
                 LVSCW_AUTOSIZE_USEHEADER);
  lvHist->SetFocus();
}

void TfrmOpenHist::FormResize() {
  RECT client = ClientRect();
  const int buttonTop = client.bottom - Margin - btnCancel->Height();
  btnCancel->SetBounds(client.right - Margin - btnCancel->Width(), buttonTop, btnCancel->Width(),
                       btnCancel->Height());
  btnOpen->SetBounds(client.right - Margin - btnCancel->Width() - ButtonGap - btnOpen->Width(),
                     buttonTop, btnOpen->Width(), btnOpen->Height());
  lvHist->SetBounds(Margin, Margin, client.right - 2 * Margin, buttonTop - 2 * Margin);
}

void TfrmOpenHist::lvHistChange(TObject*) { btnOpen->SetEnabled(lvHist->SelCount() > 0); }

void TfrmOpenHist::lvHistDblClick(TObject*) {
  if (btnOpen->Enabled()) btnOpen->Click();
}

std::vector<std::string> TfrmOpenHist::SelectedFiles() const {
  std::vector<std::string> files;
  for (int i = 0; i < lvHist->Count(); ++i) {
    TListItem* row = lvHist->Items(i);
    if (row->Selected() && row->SubItemCount() > 0 && !row->SubItem(0).empty())
      files.push_back(row->SubItem(0));
  }
  return files;
}

void ShowOpenHistory() {
  TfrmOpenHist dialog(nullptr);
  if (dialog.ShowModal() != mrOk) return;
  for (const std::string& file : dialog.SelectedFiles()) OpenFile(file);
}
