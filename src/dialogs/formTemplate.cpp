// The template picker: choosing a template file from the folders below the template root.
#include "dialogs/formTemplate.h"
#include <algorithm>
#include <commctrl.h>
#include "dialogs/DialogPlacement.h"
#include "dialogs/FolderIdentity.h"
#include "documents/MainWindowParts.h"
#include "documents/fHlpMain.h"
#include "documents/fLanguage.h"
#include "foundation/FolderEntries.h"
#include "rtl/SysUtils.h"
#include "toolkit/Controls.h"
#include "toolkit/ImageList.h"
#include "toolkit/ListView.h"
#include "toolkit/TreeView.h"

namespace {
constexpr DWORD Style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD ExStyle = WS_EX_DLGMODALFRAME;
constexpr int ClientWidth = 605;
constexpr int ClientHeight = 329;
constexpr int RootImage = 102;
constexpr int FolderImage = 103;
constexpr int OpenFolderImage = 104;
constexpr DWORD SkippedFiles = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

TForm::CreateArgs Args() {
  SIZE size = DialogWindowSize(ClientWidth, ClientHeight, Style, ExStyle);
  return {"", size.cx, size.cy, Style, ExStyle, true};
}

// The last column takes the width the others leave.
void FillLastColumn(TListView& List) {
  List.SetWidth(List.Width() - 1);
  List.SetWidth(List.Width() + 1);
  if (List.ColumnCount() > 0)
    SendMessageA(List.Handle(), LVM_SETCOLUMNWIDTH, List.ColumnCount() - 1, LVSCW_AUTOSIZE_USEHEADER);
}

struct TFolderEntry {
  std::string Name;
  DWORD Attributes;
};

// A name the code page cannot hold is not listed: picking it would open a look-alike.
std::vector<TFolderEntry> ListFolder(const std::string& Folder) {
  std::vector<TFolderEntry> entries;
  ForEachFolderEntry(
      Folder, "*",
      [&](const std::string& Name, DWORD Attributes) { entries.push_back({Name, Attributes}); },
      [](const std::string&, DWORD) {});
  return entries;
}

}  // namespace

TfrmTemplate::TfrmTemplate(TComponent* Owner) : TForm(Owner, Args()) {
  lblSelectTemplate = Make<TLabel>("lblSelectTemplate", this, 8, 8, 589, 16);
  tvTree = Make<TTemplateTree>("tvTree", this, 8, 28, 200, 260);
  lvTemplates = Make<TListView>("lvTemplates", this, 214, 28, 383, 260);
  btnOk = Make<TButton>("btnOk", this, 417, 296, 88, 25, true);
  btnCancel = Make<TButton>("btnCancel", this, 509, 296, 88, 25);
  if (frmMain) {
    tvTree->SetImages(frmMain->ImgList);
    lvTemplates->SetSmallImages(frmMain->AppIcons());
  }
  lvTemplates->AddColumn("Vorlage", 165);
  lvTemplates->AddColumn("Dateiname", 200);
  lvTemplates->SetRowSelect(true);
  lvTemplates->SetReadOnly(true);
  lvTemplates->SetHideSelection(false);
  tvTree->OnClick = [this](TObject* Sender) { tvTreeClick(Sender); };
  tvTree->OnKeyUp = [this](TObject* Sender) { tvTreeKeyUp(Sender); };
  lvTemplates->OnSelectItem = [this](TObject* Sender, TListItem*, bool) { lvTemplatesChange(Sender); };
  lvTemplates->OnDblClick = [this](TObject* Sender) { lvTemplatesDblClick(Sender); };
  btnOk->SetModalResult(mrOk);
  btnCancel->SetModalResult(mrCancel);
  FormCreate();
}

void TfrmTemplate::FormCreate() { TranslateForm(); }

void TfrmTemplate::TranslateForm() {
  ApplyFormFont(*this);
  ApplyFormTexts(*this, {
      {TFormText::Caption, "lblSelectTemplate", "Template|lblSelectTemplate",
       "W\xE4hlen Sie die zu verwendende Vorlage aus:"},
      {TFormText::Caption, "btnOk", "General|btnOk", "Ok"},
      {TFormText::Caption, "btnCancel", "General|btnCancel", "Abbrechen"},
  });
  lvTemplates->SetColumnCaption(0, GetLangText("Template|lvTemplatesTemplate", "Vorlage"));
  lvTemplates->SetColumnCaption(1, GetLangText("Template|lvTemplatesFileName", "Dateiname"));
}

void TfrmTemplate::Setup(const std::string& Title, const std::string& Kind,
                         const std::string& RootCaption) {
  SetCaption(Title);
  RootFolder = Settings.AppDir + "Templates\\" + Kind + "\\";
  tvTree->Clear();
  TTreeNode* root = tvTree->AddChild(nullptr, RootCaption);
  root->SetImageIndex(RootImage);
  root->SetSelectedIndex(RootImage);
  walkPath_.clear();
  AddFolderNodes(RootFolder, root);
  root->Expand(false);
  tvTree->SetSelected(root);
  tvTreeClick(tvTree);
}

void TfrmTemplate::AddFolderNodes(const std::string& Folder, TTreeNode* Node) {
  const std::string identity = FolderIdentity(Folder);
  if (std::find(walkPath_.begin(), walkPath_.end(), identity) != walkPath_.end()) return;
  walkPath_.push_back(identity);
  std::vector<std::string> names;
  for (const TFolderEntry& entry : ListFolder(Folder))
    if (entry.Attributes & FILE_ATTRIBUTE_DIRECTORY) names.push_back(entry.Name);
  std::sort(names.begin(), names.end(), [](const std::string& A, const std::string& B) {
    return AnsiLowerCase(A) < AnsiLowerCase(B);
  });
  for (const std::string& name : names) {
    TTreeNode* child = tvTree->AddChild(Node, name);
    child->SetImageIndex(FolderImage);
    child->SetSelectedIndex(OpenFolderImage);
    AddFolderNodes(Folder + name + "\\", child);
  }
  walkPath_.pop_back();
}

std::string TfrmTemplate::NodeFolder(const TTreeNode* Node) const {
  std::string relative;
  for (; Node && Node->Parent(); Node = Node->Parent()) relative = Node->Text() + "\\" + relative;
  return RootFolder + relative;
}

void TfrmTemplate::tvTreeClick(TObject*) {
  FillFileList(NodeFolder(tvTree->Selected()));
  FillLastColumn(*lvTemplates);
}

// A key that moved nothing in the tree (the shortcut that opened the picker, Shift+Tab from the
// list) keeps the list and the file chosen in it, and spares reading the folder again.
void TfrmTemplate::tvTreeKeyUp(TObject* Sender) {
  if (NodeFolder(tvTree->Selected()) != shownFolder_) tvTreeClick(Sender);
}

void TfrmTemplate::FillFileList(const std::string& Folder) {
  shownFolder_ = Folder;
  lvTemplates->Clear();
  btnOk->SetEnabled(false);
  const std::string relativeFolder =
      Folder.size() >= RootFolder.size() ? Folder.substr(RootFolder.size()) : std::string();
  for (const TFolderEntry& entry : ListFolder(Folder)) {
    if (entry.Attributes & SkippedFiles) continue;
    const std::string& name = entry.Name;
    TListItem* row = lvTemplates->AddItem(ChangeFileExt(name, ""));
    row->AddSubItem(relativeFolder + name);
    row->SetImageIndex(TImageList::SystemSmallIconIndex(Folder + name));
  }
  if (TListItem* first = lvTemplates->Items(0)) first->SetSelected(true);
  SelectRow();
}

void TfrmTemplate::SelectRow() {
  TListItem* row = lvTemplates->Selected();
  if (!row) return;
  SelectedFile = RootFolder + row->SubItem(0);
  btnOk->SetEnabled(FileExists(SelectedFile));
}

void TfrmTemplate::lvTemplatesChange(TObject*) { SelectRow(); }

void TfrmTemplate::lvTemplatesDblClick(TObject*) {
  if (!lvTemplates->Selected()) return;
  SelectRow();
  SetModalResult(mrOk);
}

std::string PickTemplateFile(const std::string& Title, const std::string& Kind,
                             const std::string& RootCaption) {
  TfrmTemplate dialog(nullptr);
  dialog.Setup(Title, Kind, RootCaption);
  return dialog.ShowModal() == mrOk ? dialog.SelectedFile : std::string();
}
