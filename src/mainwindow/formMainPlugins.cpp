// The main window's Plugins menu, the plug-ins dialog, and the File menu's template picker and
// reopen history: each hands over to the plug-in manager or the dialog that does the work.
#include "commands/Templates.h"
#include "dialogs/fPlgMgr.h"
#include "dialogs/formOpenHist.h"
#include "dialogs/formPlugins.h"
#include "dialogs/formTemplate.h"
#include "documents/fLanguage.h"
#include "mainwindow/formMain.h"
#include "toolkit/Menus.h"

void TfrmMain::ConnectPluginCommands() {
  struct Binding {
    const char* Name;
    void (TfrmMain::*Handler)(TObject*);
  };
  static constexpr Binding bindings[] = {
      {"mnuPlugins", &TfrmMain::mnuPluginsClick},
      {"mnuExtrasPluginMgr", &TfrmMain::mnuExtrasPluginMgrClick},
      {"mnuFileNewTemplates", &TfrmMain::mnuFileNewTemplatesClick},
      {"mnuFileReOpenHistory", &TfrmMain::mnuFileReOpenHistoryClick},
  };
  for (const Binding& binding : bindings)
    if (auto* item = Find<TMenuItem>(binding.Name))
      item->OnClick = [this, h = binding.Handler](TObject* Sender) { (this->*h)(Sender); };
}

void TfrmMain::mnuPluginsClick(TObject*) { PluginsMenuOpened(); }

void TfrmMain::mnuPluginsItemClick(TObject* Sender) {
  PluginsMenuItemClicked(dynamic_cast<TMenuItem*>(Sender));
}

void TfrmMain::mnuExtrasPluginMgrClick(TObject*) { ShowPluginsDialog(); }

void TfrmMain::mnuFileNewTemplatesClick(TObject*) {
  const std::string file =
      PickTemplateFile(GetLangText("Main|TemplatesCreateNewDoc", "Neues Dokument erstellen"),
                       "Document", GetLangText("Main|TemplatesDocRoot", "Dokumentvorlagen"));
  if (!file.empty()) NewFromTemplate(file, true);
}

void TfrmMain::mnuFileReOpenHistoryClick(TObject*) { ShowOpenHistory(); }
