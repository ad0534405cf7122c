// The template picker: a folder tree below "Templates\<kind>" and the files of one folder.
#pragma once
#include <string>
#include <vector>
#include "toolkit/Form.h"
#include "toolkit/TreeView.h"

class TButton;
class TLabel;
class TListView;

// The tree reports clicks (as a change of the selected node) and released keys.
class TTemplateTree : public TTreeView {
public:
  using TTreeView::TTreeView;
  TNotifyEvent OnClick;
  TNotifyEvent OnKeyUp;
  LRESULT Notify(NMHDR* Header) override {
    if (Header->code == TVN_SELCHANGEDA && OnClick) OnClick(this);
    return TTreeView::Notify(Header);
  }

protected:
  LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override {
    LRESULT result = TTreeView::WndProc(Msg, wParam, lParam);
    if (Msg == WM_KEYUP && OnKeyUp) OnKeyUp(this);
    return result;
  }
};

class TfrmTemplate : public TForm {
public:
  explicit TfrmTemplate(TComponent* Owner);

  void TranslateForm();
  // Title of the dialog, kind (the sub-folder of "Templates"), caption of the tree's root.
  void Setup(const std::string& Title, const std::string& Kind, const std::string& RootCaption);
  void AddFolderNodes(const std::string& Folder, TTreeNode* Node);
  // Lists the files of the selected node's folder.
  void tvTreeClick(TObject* Sender);
  void tvTreeKeyUp(TObject* Sender);
  void FillFileList(const std::string& Folder);
  void lvTemplatesChange(TObject* Sender);
  void lvTemplatesDblClick(TObject* Sender);
  // The folder of a node, with a trailing backslash.
  std::string NodeFolder(const TTreeNode* Node) const;

  std::string RootFolder;
  std::string SelectedFile;  // full path of the chosen file, read after OK

  TLabel* lblSelectTemplate;
  TTemplateTree* tvTree;
  TListView* lvTemplates;
  TButton* btnOk;
  TButton* btnCancel;

private:
  void FormCreate();
  void SelectRow();
  std::vector<std::string> walkPath_;  // folders being walked, to skip link loops
  std::string shownFolder_;            // the folder the list shows
};

// Shows the picker modally for one kind of template; the chosen file after OK, else empty.
std::string PickTemplateFile(const std::string& Title, const std::string& Kind,
                             const std::string& RootCaption);
