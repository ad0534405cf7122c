// The main window's Help menu. The maker has no donation page: that item is left out.
#include "commands/ExtrasCommands.h"
#include "dialogs/formInfo.h"
#include "mainwindow/formMain.h"
#include "toolkit/Menus.h"

void TfrmMain::ConnectHelpCommands() {
  struct Binding {
    const char* Name;
    void (TfrmMain::*Handler)(TObject*);
  };
  static constexpr Binding bindings[] = {
      {"mnuHelpHelp", &TfrmMain::mnuHelpHelpClick},
      {"mnuHelpWebsite", &TfrmMain::mnuHelpWebsiteClick},
      {"mnuHelpEMail", &TfrmMain::mnuHelpEMailClick},
      {"mnuHelpInfo", &TfrmMain::mnuHelpInfoClick},
  };
  for (const Binding& binding : bindings)
    if (auto* item = Find<TMenuItem>(binding.Name))
      item->OnClick = [this, h = binding.Handler](TObject* Sender) { (this->*h)(Sender); };
  if (auto* donate = Find<TMenuItem>("mnuHelpDonate")) donate->SetVisible(false);
}

void TfrmMain::mnuHelpHelpClick(TObject*) { ShowHelpFile(); }
void TfrmMain::mnuHelpWebsiteClick(TObject*) { OpenMakerHomePage(); }
void TfrmMain::mnuHelpEMailClick(TObject*) { WriteMailToMaker(); }
void TfrmMain::mnuHelpInfoClick(TObject*) { ShowAboutBox(); }
