// The plug-ins dialog: one row per plug-in found, ticked while the allow list names it (while
// its library is loaded when the list cannot be read).
#include "dialogs/formPlugins.h"
#include "dialogs/DialogPlacement.h"
#include "dialogs/fPlgMgr.h"
#include "documents/StoreGuard.h"
#include "documents/fHlpMain.h"
#include "documents/fLanguage.h"
#include "rtl/StringList.h"
#include "rtl/SysUtils.h"
#include "toolkit/Controls.h"
#include "toolkit/Dialogs.h"
#include "toolkit/ListView.h"

namespace {
constexpr DWORD Style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD ExStyle = WS_EX_DLGMODALFRAME;
constexpr int ClientWidth = 586;
constexpr int ClientHeight = 247;
const char* const Title = "Plugin-Verwaltung";

TForm::CreateArgs Args() {
  SIZE size = DialogWindowSize(ClientWidth, ClientHeight, Style, ExStyle);
  return {Title, size.cx, size.cy, Style, ExStyle, true};
}

// The row showing the plug-in at Path (compared as the manager compares the allow list).
const TListItem* RowOf(const TListView& Rows, const std::string& Path) {
  for (int i = 0; i < Rows.Count(); ++i)
    if (SameText(Rows.Items(i)->SubItem(1), Path)) return Rows.Items(i);
  return nullptr;
}

std::string AllowListFile() { return Settings.PluginsDir + "AllowedPlugins.ini"; }

// The allow list as it is now; one not there allows nothing. Throws when it cannot be read.
void ReadAllowList(TStringList& Allowed) {
  if (FileExists(AllowListFile())) Allowed.LoadFromFile(AllowListFile());
}

bool Lists(const TStrings& Allowed, const std::string& Path) {
  for (int line = 0; line < Allowed.Count(); ++line)
    if (SameText(Allowed[line], Path)) return true;
  return false;
}

// Brings the allow list in line with the rows: a line of a plug-in that is not there at the
// moment (a removed drive, a renamed folder) shows no row and stays as it was; an unticked
// row's line leaves; a ticked row not listed yet is added after the lines kept, in row order.
void ApplyTicks(const TListView& Rows, TStrings& Allowed) {
  for (int line = Allowed.Count() - 1; line >= 0; --line) {
    const TListItem* row = RowOf(Rows, Allowed[line]);
    if (row && !row->Checked()) Allowed.Delete(line);
  }
  for (int i = 0; i < Rows.Count(); ++i) {
    const TListItem* row = Rows.Items(i);
    if (row->Checked() && !Lists(Allowed, row->SubItem(1))) Allowed.Add(row->SubItem(1));
  }
}
}  // namespace

TfrmPlugins::TfrmPlugins(TComponent* Owner) : TForm(Owner, Args()) {
  lvPlugins = Make<TListView>("lvPlugins", this, 8, 8, 570, 196);
  btnConfig = Make<TButton>("btnConfig", this, 8, 214, 120, 25);
  btnOk = Make<TButton>("btnOk", this, 398, 214, 88, 25, true);
  btnCancel = Make<TButton>("btnCancel", this, 490, 214, 88, 25);
  lvPlugins->AddColumn("Name", 150);
  lvPlugins->AddColumn("Version", 80);
  lvPlugins->AddColumn("Pfad / Datei", 570 - 150 - 80 - 24);
  lvPlugins->SetCheckBoxes(true);
  lvPlugins->SetRowSelect(true);
  lvPlugins->SetReadOnly(true);
  lvPlugins->SetHideSelection(false);
  lvPlugins->OnSelectItem = [this](TObject* Sender, TListItem*, bool) { lvPluginsChange(Sender); };
  btnConfig->OnClick = [this](TObject* Sender) { btnConfigClick(Sender); };
  btnOk->OnClick = [this](TObject* Sender) { btnOkClick(Sender); };
  btnCancel->SetModalResult(mrCancel);
  FormCreate();
}

void TfrmPlugins::TranslateForm() {
  ApplyFormFont(*this);
  ApplyFormTexts(*this, {
      {TFormText::Caption, "", "PlgMgr|Title", Title},
      {TFormText::Caption, "btnConfig", "PlgMgr|btnConfig", "Einstellungen..."},
      {TFormText::Caption, "btnOk", "General|btnOk", "Ok"},
      {TFormText::Caption, "btnCancel", "General|btnCancel", "Abbrechen"},
  });
  lvPlugins->SetColumnCaption(0, GetLangText("PlgMgr|lvPluginsName", "Name"));
  lvPlugins->SetColumnCaption(1, GetLangText("PlgMgr|lvPluginsVersion", "Version"));
  lvPlugins->SetColumnCaption(2, GetLangText("PlgMgr|lvPluginsPath", "Pfad / Datei"));
}

void TfrmPlugins::FormCreate() {
  TranslateForm();
  btnConfig->SetEnabled(false);
  if (!PluginManager) return;
  // The ticks show the list: a listed plug-in that failed to load stays ticked (unticked, OK
  // would drop its line), and one unticked earlier in this run stays unticked while loaded.
  TStringList allowed;
  bool listRead = true;
  try {
    ReadAllowList(allowed);
  } catch (const std::exception&) {
    // The ticks then show only what is loaded: they must not be written over the list.
    listRead = false;
    NoteStoreRead(AllowListFile(), true);
  }
  for (int i = 0; i < PluginManager->Count(); ++i) {
    TPluginRecord record = PluginManager->GetPlugin(i);
    TListItem* row = lvPlugins->AddItem(record.Infos.Name);
    row->AddSubItem(record.Infos.Version);
    row->AddSubItem(record.FileName);
    row->SetChecked(listRead ? Lists(allowed, record.FileName) : record.LibHandle != nullptr);
  }
  if (TListItem* first = lvPlugins->Items(0)) first->SetSelected(true);
  lvPluginsChange(lvPlugins);
}

void TfrmPlugins::lvPluginsChange(TObject*) {
  btnConfig->SetEnabled(false);
  TListItem* row = lvPlugins->Selected();
  if (!row || !PluginManager) return;
  TPluginRecord record = PluginManager->GetPlugin(row->Index());
  btnConfig->SetEnabled(record.LibHandle && record.Configure);
}

void TfrmPlugins::btnConfigClick(TObject*) {
  TListItem* row = lvPlugins->Selected();
  if (!row) return;
  btnConfig->SetEnabled(false);
  ConfigurePlugin(row->Index());
  btnConfig->SetEnabled(true);
}

void TfrmPlugins::btnOkClick(TObject*) {
  const std::string fileName = AllowListFile();
  // Its ticks came from a list that could not be read: writing them would clear the list.
  if (!StoreMayBeWritten(fileName)) return;
  try {
    // Read again: the lines of plug-ins not shown are kept from the list as it is now.
    TStringList allowed;
    ReadAllowList(allowed);
    ApplyTicks(*lvPlugins, allowed);
    allowed.SaveToFile(fileName);
  } catch (const std::exception&) {
    MsgBox(GetLangText("PlgMgr|MsgSaveErrText",
                       "Die Datei \"%s1%\" konnte nicht gespeichert werden.", LangParams({fileName})),
           GetLangText("PlgMgr|Title", Title), MB_ICONERROR | MB_OK);
    return;
  }
  SetModalResult(mrOk);
}

void ShowPluginsDialog() {
  TfrmPlugins dialog(nullptr);
  if (dialog.ShowModal() != mrOk) return;
  MsgBox(GetLangText("Main|MsgPlgMgrOkText",
                     "Damit die \xC4nderungen wirksam werden, muss Tarvoline neu gestartet werden."),
         GetLangText("Main|MsgPlgMgrOkTitle", "Plugin-Einstellungen ge\xE4ndert"),
         MB_ICONINFORMATION | MB_OK);
}
