// The reopen history: picking several recently used files to open again.
#pragma once
#include <string>
#include <vector>
#include "toolkit/Form.h"

class TButton;
class TListView;

class TfrmOpenHist : public TForm {
public:
  explicit TfrmOpenHist(TComponent* Owner);

  void TranslateForm();
  // Drops the entries whose files are gone from the history itself, then lists the others.
  void FillHistoryList();
  void FormShow();
  void FormResize();
  void lvHistChange(TObject* Sender);
  void lvHistDblClick(TObject* Sender);
  // The full names of the selected rows, in row order.
  std::vector<std::string> SelectedFiles() const;

  TListView* lvHist;
  TButton* btnOpen;
  TButton* btnCancel;

private:
  void FormCreate();
};

// The File command: the dialog, then each chosen file opened.
void ShowOpenHistory();
