// The main window's Extras menu: executing the selection, external and default programs, the
// containing folder, the hot-key dialog and the options.
#include "commands/ExtrasCommands.h"
#include "dialogs/formHotKeys.h"
#include "dialogs/formSettings.h"
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"
#include "documents/fHlpMainFuncs.h"
#include "documents/frameEdit.h"
#include "mainwindow/formMain.h"
#include "rtl/SysUtils.h"
#include "toolkit/Menus.h"

void TfrmMain::ConnectExtrasCommands() {
  struct Binding {
    const char* Name;
    void (TfrmMain::*Handler)(TObject*);
  };
  static constexpr Binding bindings[] = {
      {"mnuExtras", &TfrmMain::mnuExtrasClick},
      {"mnuExtrasExecute", &TfrmMain::mnuExtrasExecuteClick},
      {"mnuExtrasDefApp", &TfrmMain::mnuExtrasDefAppClick},
      {"mnuExtrasOpenFolder", &TfrmMain::mnuExtrasOpenFolderClick},
      {"mnuExtrasHotKeySetup", &TfrmMain::mnuExtrasHotKeySetupClick},
      {"mnuExtrasSettings", &TfrmMain::mnuExtrasSettingsClick},
  };
  for (const Binding& binding : bindings)
    if (auto* item = Find<TMenuItem>(binding.Name))
      item->OnClick = [this, h = binding.Handler](TObject* Sender) { (this->*h)(Sender); };
  AppListItemClick = [this](TObject* Sender) { mnuExtrasAppItemsClick(Sender); };
}

void TfrmMain::mnuExtrasClick(TObject*) {
  TfraEdit* frame = GetActiveFrame();
  if (!frame) return;
  const bool named = !frame->DocInfo.FileName.empty();
  for (const char* name : {"mnuExtrasApps", "mnuExtrasDefApp", "mnuExtrasOpenFolder"})
    Find<TMenuItem>(name)->SetEnabled(named);
  Find<TMenuItem>("mnuExtrasPluginMgr")->SetVisible(DirectoryExists(Settings.AppDir + "Plugins"));
}

void TfrmMain::mnuExtrasExecuteClick(TObject*) { ExecuteSelection(); }

void TfrmMain::mnuExtrasAppItemsClick(TObject* Sender) {
  if (auto* item = dynamic_cast<TMenuItem*>(Sender)) RunExternalProgram(item->Tag());
}

void TfrmMain::mnuExtrasDefAppClick(TObject*) { OpenWithDefaultProgram(); }
void TfrmMain::mnuExtrasOpenFolderClick(TObject*) { OpenContainingFolder(); }
void TfrmMain::mnuExtrasHotKeySetupClick(TObject*) { ShowHotKeysDialog(); }
void TfrmMain::mnuExtrasSettingsClick(TObject*) { ShowOptions(); }
