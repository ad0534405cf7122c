// The question which of several changed documents to save before they are closed.
#pragma once
#include <string>
#include "toolkit/Form.h"

class TButton;
class TLabel;
class TListView;
class TfraEdit;

class TfrmDocSave : public TForm {
public:
  explicit TfrmDocSave(TComponent* Owner);

  // One row per document: its title and file name. The row holds the frame itself, so it
  // still names the right document when tabs move or close.
  void AddDocument(TfraEdit* Frame);
  int DocumentCount() const;
  TfraEdit* Document(int Row) const;
  bool DocumentSelected(int Row) const;

  void TranslateForm();

  TLabel* lblSave;
  TListView* lvDocs;
  TButton* btnSaveAll;   // mrYes
  TButton* btnSaveSel;   // mrOk
  TButton* btnSaveNone;  // mrNo
  TButton* btnCancel;    // mrCancel

private:
  void FormCreate();
};
