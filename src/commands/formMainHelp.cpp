// The main window's Help menu. Website, donation and e-mail stay disabled: the program
// names no maker addresses.
#include "app/formMain.h"
#include "commands/ExtrasCommands.h"
#include "toolkit/Menus.h"

void TfrmMain::ConnectHelpCommands() {
  if (auto* item = Find<TMenuItem>("mnuHelpHelp"))
    item->OnClick = [this](TObject* Sender) { mnuHelpHelpClick(Sender); };
}

void TfrmMain::mnuHelpHelpClick(TObject*) { ShowHelpFile(); }
