// The main window's Insert menu and the snippets panel on its left: each handler calls the
// routine that does the work.
#include "commands/InsertCommands.h"
#include "commands/Templates.h"
#include "commands/clsSnippets.h"
#include "dialogs/formTemplate.h"
#include "documents/XmlDoc.h"
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"
#include "documents/fLanguage.h"
#include "documents/frameEdit.h"
#include "foundation/fMain.h"
#include "mainwindow/formMain.h"
#include "rtl/SysUtils.h"
#include "toolkit/ComboBox.h"
#include "toolkit/ImageList.h"
#include "toolkit/Menus.h"
#include "toolkit/Panels.h"
#include "toolkit/TreeView.h"

namespace {

constexpr int TemplateItemImage = 102;

void FocusActiveEditor() {
  if (TCodeEdit* editor = GetActiveEditor()) editor->SetFocus();
}

}  // namespace

void TfrmMain::BuildSnippetsPanel() {
  Snips = std::make_unique<TSnip>();
  SnipDoc = std::make_unique<TXmlDoc>();
  ilSnips = Make<TImageList>("ilSnips", 16, 16);
  tvSnips = Make<TTreeView>("tvSnips", pnlLeft, 0, 0, 180, 300);
  tvSnips->SetAlign(alClient);
  tvSnips->SetShowButtons(false);
  tvSnips->OnDblClick = [this](TObject* S) { tvSnipsDblClick(S); };
  tvSnips->OnKeyDown = [this](TObject* S, WORD& Key, TShiftState Shift) { tvSnipsKeyDown(S, Key, Shift); };
  tvSnips->OnMouseDown = [this](TObject* S, int B, TShiftState Sh, int X, int Y) {
    tvSnipsMouseDown(S, B, Sh, X, Y);
  };
  tvSnips->OnMouseMove = [this](TObject* S, TShiftState Sh, int X, int Y) {
    tvSnipsMouseMove(S, Sh, X, Y);
  };
  cmbSnipFiles->OnClick = [this](TObject* S) { cmbSnipFilesChange(S); };
  // The top bar follows the panel's width, which only the splitter and the settings change.
  splitterLeft->OnMoved = [this](TObject* S) { pnlLeftTopResize(S); };
  if (auto* popup = Find<TPopupMenu>("pmnuSnips"))
    popup->OnPopup = [this](TObject* S) { pmnuSnipsPopup(S); };
}

void TfrmMain::ConnectInsertCommands() {
  BuildSnippetsPanel();
  TemplateItemClick = [this](TObject* Sender) { mnuInsertTemplatesItemsClick(Sender); };
  FrameCommands.OnTemplateKey = [](TfraEdit& Frame) { InsertTextTemplate(Frame); };
  struct Binding {
    const char* Name;
    void (TfrmMain::*Handler)(TObject*);
  };
  static constexpr Binding bindings[] = {
      {"mnuInsert", &TfrmMain::mnuInsertClick},
      {"mnuInsertDateAndTime", &TfrmMain::mnuInsertDateAndTimeClick},
      {"mnuInsertDate", &TfrmMain::mnuInsertDateClick},
      {"mnuInsertTime", &TfrmMain::mnuInsertTimeClick},
      {"mnuInsertGUID", &TfrmMain::mnuInsertGUIDClick},
      {"mnuInsertFilePath", &TfrmMain::mnuInsertFilePathClick},
      {"mnuInsertConsoleOutput", &TfrmMain::mnuInsertConsoleOutputClick},
      {"mnuInsertClipboardLineBegin", &TfrmMain::mnuInsertClipboardLineBeginClick},
      {"mnuInsertClipboardLineEnd", &TfrmMain::mnuInsertClipboardLineEndClick},
      {"mnuInsertContentTemplates", &TfrmMain::mnuInsertContentTemplatesClick},
      {"mnuInsertContentTemplate", &TfrmMain::mnuInsertContentTemplateClick},
      {"mnuViewLeftPanelHide", &TfrmMain::mnuViewLeftPanelHideClick},
      {"pmnuSnipsHide", &TfrmMain::pmnuSnipsHideClick},
      {"pmnuSnipsExpand", &TfrmMain::pmnuSnipsExpandClick},
      {"pmnuSnipsCollapse", &TfrmMain::pmnuSnipsCollapseClick},
      {"pmnuSnipsExpandAll", &TfrmMain::pmnuSnipsExpandAllClick},
      {"pmnuSnipsCollapseAll", &TfrmMain::pmnuSnipsCollapseAllClick},
  };
  for (const Binding& binding : bindings)
    if (auto* item = Find<TMenuItem>(binding.Name))
      item->OnClick = [this, h = binding.Handler](TObject* Sender) { (this->*h)(Sender); };
}

void TfrmMain::mnuInsertClick(TObject* Sender) {
  if (TfraEdit* frame = GetActiveFrame())
    Find<TMenuItem>("mnuInsertFilePath")->SetEnabled(!frame->DocInfo.FileName.empty());
  if (auto* menu = dynamic_cast<TMenuItem*>(Sender)) KeepUnbuiltDisabled(menu);
}

void TfrmMain::mnuInsertDateAndTimeClick(TObject*) {
  InsertText(CurrentDateTimeText(TDateTimePart::DateAndTime), "", "");
}

void TfrmMain::mnuInsertDateClick(TObject*) {
  InsertText(CurrentDateTimeText(TDateTimePart::Date), "", "");
}

void TfrmMain::mnuInsertTimeClick(TObject*) {
  InsertText(CurrentDateTimeText(TDateTimePart::Time), "", "");
}

void TfrmMain::mnuInsertGUIDClick(TObject*) { InsertText(NewGuidText(), "", ""); }

void TfrmMain::mnuInsertFilePathClick(TObject*) {
  if (TfraEdit* frame = GetActiveFrame()) InsertText(frame->DocInfo.FileName, "", "");
}

void TfrmMain::mnuInsertConsoleOutputClick(TObject*) { InsertConsoleOutput(); }

void TfrmMain::mnuInsertClipboardLineBeginClick(TObject*) {
  InsertClipboardAtLines(GetActiveEditor(), true);
}

void TfrmMain::mnuInsertClipboardLineEndClick(TObject*) {
  InsertClipboardAtLines(GetActiveEditor(), false);
}

void TfrmMain::mnuInsertTemplatesItemsClick(TObject* Sender) {
  if (auto* item = dynamic_cast<TMenuItem*>(Sender))
    InsertTextTemplate(TemplateNameOfCaption(ReplaceAll(item->Caption(), "&", "", false)));
}

void TfrmMain::mnuInsertContentTemplatesClick(TObject* Sender) {
  auto* menu = Find<TMenuItem>("mnuInsertContentTemplates");
  while (menu->Count() > 1) menu->Delete(1);
  if (!ContentTemplateFiles) ContentTemplateFiles = std::make_unique<TStringList>();
  ListFiles(Settings.AppDir + "Templates\\Content\\", "*.*", *ContentTemplateFiles);
  if (ContentTemplateFiles->Count() > 0) {
    auto separator = std::make_unique<TMenuItem>(nullptr);
    separator->SetCaption("-");
    menu->Add(std::move(separator));
  }
  for (int i = 0; i < ContentTemplateFiles->Count(); ++i) {
    auto item = std::make_unique<TMenuItem>(nullptr);
    item->SetCaption(EscapeCaption(ChangeFileExt(ExtractFileName((*ContentTemplateFiles)[i]), "")));
    item->SetTag(i);
    item->SetImageIndex(TemplateItemImage);
    item->OnClick = [this](TObject* S) { mnuInsertContentTemplateItemClick(S); };
    menu->Add(std::move(item));
  }
  if (auto* self = dynamic_cast<TMenuItem*>(Sender)) KeepUnbuiltDisabled(self);
}

void TfrmMain::mnuInsertContentTemplateClick(TObject*) {
  const std::string file =
      PickTemplateFile(GetLangText("Main|TemplatesContentInsert", "Inhaltsvorlage einf\xFCgen"),
                       "Content", GetLangText("Main|TemplatesContentRoot", "Inhaltsvorlagen"));
  if (!file.empty()) NewFromTemplate(file, false);
}

void TfrmMain::mnuInsertContentTemplateItemClick(TObject* Sender) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  if (!item || !ContentTemplateFiles || item->Tag() < 0 ||
      item->Tag() >= ContentTemplateFiles->Count())
    return;
  // The path as listed: an "&" in a folder or file name belongs to the name.
  NewFromTemplate((*ContentTemplateFiles)[item->Tag()], false);
}

void TfrmMain::mnuViewLeftPanelHideClick(TObject*) {
  const bool show = !pnlLeft->Visible();
  splitterLeft->SetVisible(show);
  pnlLeft->SetVisible(show);
  Settings.ViewLeftPanel = show;
  if (!show) FocusActiveEditor();
}

void TfrmMain::pmnuSnipsHideClick(TObject*) {
  splitterLeft->SetVisible(false);
  pnlLeft->SetVisible(false);
  Settings.ViewLeftPanel = false;
  FocusActiveEditor();
}

void TfrmMain::pnlLeftTopResize(TObject*) {
  if (auto* top = Find<TPanel>("pnlLeftTop"))
    cmbSnipFiles->SetBounds(cmbSnipFiles->Left(), cmbSnipFiles->Top(), top->Width(), 200);
}

void TfrmMain::cmbSnipFilesChange(TObject*) {
  const int index = cmbSnipFiles->ItemIndex();
  if (index < 0) return;
  const std::string name = cmbSnipFiles->Items(index);
  if (name.empty()) return;
  lastHintNode_ = nullptr;  // the nodes are made anew
  LoadSnippetFile(name);
}

void TfrmMain::InsertSnippet(const TTreeNode* Node) {
  if (!Node || Node->HasChildren()) return;
  TfraEdit* frame = GetActiveFrame();
  if (!frame) return;
  if (::InsertSnippet(*Snips, SnippetKeyOf(Node), frame)) frame->seEdit->SetFocus();
}

void TfrmMain::tvSnipsDblClick(TObject*) { InsertSnippet(tvSnips->Selected()); }

void TfrmMain::tvSnipsKeyDown(TObject*, WORD& Key, TShiftState) {
  if (Key != VK_RETURN) return;
  InsertSnippet(tvSnips->Selected());
  Key = 0;
}

void TfrmMain::tvSnipsMouseDown(TObject*, int Button, TShiftState, int X, int Y) {
  if (Button != VK_RBUTTON) return;
  if (TTreeNode* node = tvSnips->NodeAt(X, Y)) tvSnips->SetSelected(node);
  if (!tvSnips->Selected()) return;
  POINT p = {X, Y};
  ClientToScreen(tvSnips->Handle(), &p);
  Find<TPopupMenu>("pmnuSnips")->Popup(p.x, p.y);
}

void TfrmMain::tvSnipsMouseMove(TObject*, TShiftState, int X, int Y) {
  bool onItem = false;
  const TTreeNode* node = tvSnips->NodeAt(X, Y, &onItem);
  if (node == lastHintNode_) return;
  tvSnips->CancelHint();
  lastHintNode_ = nullptr;
  if (!node || !onItem) {
    tvSnips->SetHintText("");
    return;
  }
  lastHintNode_ = node;
  TfraEdit* frame = GetActiveFrame();
  tvSnips->SetHintText(frame ? SnippetHint(*Snips, SnippetKeyOf(node), frame) : std::string());
}

void TfrmMain::pmnuSnipsPopup(TObject*) {
  TTreeNode* node = tvSnips->Selected();
  const bool parent = node && node->HasChildren();
  Find<TMenuItem>("pmnuSnipsExpand")->SetEnabled(parent);
  Find<TMenuItem>("pmnuSnipsCollapse")->SetEnabled(parent);
}

void TfrmMain::pmnuSnipsExpandClick(TObject*) {
  if (TTreeNode* node = tvSnips->Selected()) {
    node->Expand(true);
    node->MakeVisible();
  }
}

void TfrmMain::pmnuSnipsCollapseClick(TObject*) {
  if (TTreeNode* node = tvSnips->Selected()) {
    node->Collapse(true);
    node->MakeVisible();
  }
}

void TfrmMain::pmnuSnipsExpandAllClick(TObject*) {
  tvSnips->FullExpand();
  if (TTreeNode* node = tvSnips->Selected()) node->MakeVisible();
}

void TfrmMain::pmnuSnipsCollapseAllClick(TObject*) {
  tvSnips->FullCollapse();
  if (TTreeNode* node = tvSnips->Selected()) node->MakeVisible();
}
