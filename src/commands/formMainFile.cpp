// The main window's File menu, its tool buttons and the tab context menu's close commands: each
// calls the document routine that does the work.
#include "app/fHlpMain.h"
#include "app/fHlpMainDocs.h"
#include "app/fLanguage.h"
#include "app/formMain.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Menus.h"
#include "toolkit/PageControl.h"
#include "toolkit/ToolBar.h"

void TfrmMain::ConnectFileCommands() {
  struct Binding {
    const char* Name;
    void (TfrmMain::*Handler)(TObject*);
  };
  static constexpr Binding bindings[] = {
      {"mnuFileNewDoc", &TfrmMain::mnuFileNewDocClick},
      {"mnuFileOpen", &TfrmMain::mnuFileOpenClick},
      {"tbMainFileReOpen", &TfrmMain::mnuFileOpenClick},
      {"mnuFileSave", &TfrmMain::mnuFileSaveClick},
      {"tbMainFileSave", &TfrmMain::mnuFileSaveClick},
      {"mnuFileSaveAs", &TfrmMain::mnuFileSaveAsClick},
      {"mnuFileSaveAll", &TfrmMain::mnuFileSaveAllClick},
      {"tbMainFileSaveAll", &TfrmMain::mnuFileSaveAllClick},
      {"mnuFileClose", &TfrmMain::mnuFileCloseClick},
      {"pmnuTabsClose", &TfrmMain::mnuFileCloseClick},
      {"tbMainFileClose", &TfrmMain::mnuFileCloseClick},
      {"mnuFileCloseAllButCurrent", &TfrmMain::mnuFileCloseAllButCurrentClick},
      {"pmnuTabsCloseAllButCurrent", &TfrmMain::mnuFileCloseAllButCurrentClick},
      {"mnuFileCloseAll", &TfrmMain::mnuFileCloseAllClick},
      {"pmnuTabsCloseAll", &TfrmMain::mnuFileCloseAllClick},
      {"mnuFileExit", &TfrmMain::mnuFileExitClick},
  };
  for (const Binding& binding : bindings) {
    TNotifyEvent handler = [this, h = binding.Handler](TObject* Sender) { (this->*h)(Sender); };
    if (auto* item = Find<TMenuItem>(binding.Name)) item->OnClick = handler;
    else if (auto* button = Find<TToolButton>(binding.Name)) button->OnClick = handler;
  }
}

void TfrmMain::mnuFileNewDocClick(TObject*) { OpenFile("", false, nullptr); }

void TfrmMain::mnuFileOpenClick(TObject*) {
  TFileDialogArgs args;
  args.title = GetLangText("Main|DlgOpenFileTitle", "Datei \xF6" "ffnen");
  args.filter = GetOpenDialogFilter();
  args.multiSelect = true;
  args.showReadOnly = true;
  bool readOnly = false;
  for (const std::string& name : ExecuteOpenDialog(args, &readOnly))
    OpenFile(name, readOnly, nullptr);
}

void TfrmMain::mnuFileReOpenDocsClick(TObject* Sender) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  if (!item || item->Tag() < 0 || item->Tag() >= Settings.OpenMRU.Count()) return;
  // Opening may rebuild the reopen menus and free the clicked item: only copies are used.
  std::string name = Settings.OpenMRU[item->Tag()];
  if (OpenFile(name, false, nullptr)) return;
  int index = Settings.OpenMRU.IndexOf(name);
  if (index >= 0) Settings.OpenMRU.Delete(index);
  UpdateReopenMenu();
}

void TfrmMain::mnuFileSaveClick(TObject*) { SaveDocument(-1); }

void TfrmMain::mnuFileSaveAsClick(TObject*) { SaveDocumentAs(-1); }

void TfrmMain::mnuFileSaveAllClick(TObject*) {
  for (int i = 0; i < pcEdit->PageCount(); ++i)
    if (!SaveDocument(i)) break;
}

void TfrmMain::mnuFileCloseClick(TObject*) { CloseDocument(); }

void TfrmMain::mnuFileCloseAllClick(TObject*) { CloseAllDocuments(false); }

void TfrmMain::mnuFileCloseAllButCurrentClick(TObject*) { CloseAllDocuments(true); }

void TfrmMain::mnuFileExitClick(TObject*) { Close(); }
