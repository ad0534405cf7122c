// The plug-ins dialog: lists the plug-ins found and writes which ones may be loaded.
#pragma once
#include <string>
#include "toolkit/Form.h"

class TButton;
class TListView;

class TfrmPlugins : public TForm {
public:
  explicit TfrmPlugins(TComponent* Owner);

  void TranslateForm();
  void lvPluginsChange(TObject* Sender);
  void btnConfigClick(TObject* Sender);
  // Writes the ticks to the allow list and closes with OK: lines of plug-ins not shown stay;
  // a failed read or write is shown and keeps the dialog open.
  void btnOkClick(TObject* Sender);

  TListView* lvPlugins;
  TButton* btnConfig;
  TButton* btnOk;
  TButton* btnCancel;

private:
  void FormCreate();
};

// The Extras command: the dialog, and after OK the notice that a restart is needed.
void ShowPluginsDialog();
