// The main window's commands that open the tool windows: find files, special characters and
// file properties.
#include "dialogs/formFileProp.h"
#include "dialogs/formOpenFast.h"
#include "dialogs/formSpecChars.h"
#include "documents/fHlpMainDocs.h"
#include "documents/frameEdit.h"
#include "editor/CodeEdit.h"
#include "mainwindow/formMain.h"
#include "toolkit/Menus.h"

void TfrmMain::ConnectToolsCommands() {
  struct Binding {
    const char* Name;
    void (TfrmMain::*Handler)(TObject*);
  };
  static constexpr Binding bindings[] = {
      {"mnuFileOpenFast", &TfrmMain::mnuFileOpenFastClick},
      {"mnuInsertSpecialChars", &TfrmMain::mnuInsertSpecialCharsClick},
      {"mnuFileProperties", &TfrmMain::mnuFilePropertiesClick},
  };
  for (const Binding& b : bindings)
    if (auto* item = Find<TMenuItem>(b.Name))
      item->OnClick = [this, h = b.Handler](TObject* Sender) { (this->*h)(Sender); };
}

TfrmSpecChars& TfrmMain::SpecCharsWindow() {
  // Made on first use, it lives as long as the main window and is only hidden.
  if (!frmSpecChars) frmSpecChars = Make<TfrmSpecChars>("frmSpecChars");
  return *frmSpecChars;
}

void TfrmMain::mnuFileOpenFastClick(TObject*) {
  std::vector<std::string> files;
  {
    TfrmOpenFast dialog(this);
    const int result = dialog.ShowModal();
    if (result != mrOk && result != mrYes) return;
    files = dialog.Files(result == mrOk);
  }
  TOpenNotices notices;  // one box for all the files it opens
  for (const std::string& file : files) OpenFile(file);
}

void TfrmMain::mnuInsertSpecialCharsClick(TObject*) {
  SpecCharsWindow().ShowTool();
}

void TfrmMain::mnuFilePropertiesClick(TObject*) {
  TfraEdit* frame = GetActiveFrame();
  if (!frame) return;
  TfrmFileProp dialog(this, frame->DocInfo, *frame->seEdit);
  dialog.ShowModal();
}
