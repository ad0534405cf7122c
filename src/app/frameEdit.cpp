#include "app/frameEdit.h"
#include "app/fHlpMainDocs.h"
#include "app/formMain.h"
#include "commands/fHlpMainFuncs.h"
#include "highlighters/CodeHighlighterURI.h"
#include "highlighters/CodeURIOpener.h"
#include "toolkit/Controls.h"
#include "toolkit/ListView.h"
#include "toolkit/Menus.h"
#include "toolkit/PageControl.h"
#include "toolkit/Panels.h"
#include "toolkit/Timer.h"

namespace {
using EO = TCodeEditorOption;
constexpr int kTabImageModified = 127;
constexpr int kTabImageReadOnlyModified = 129;
}  // namespace

TfraEdit::TfraEdit(TComponent* Owner, TWinControl* Parent) : TFrame(Owner, Parent) {
  SetAlign(alClient);
  BuildEditor();
  BuildColorPreview();
  BuildPopupMenu();
  tmrChangeNotify = Make<TTimer>("tmrChangeNotify");
  tmrChangeNotify->SetEnabled(false);
  tmrChangeNotify->SetInterval(3000);
  tmrChangeNotify->OnTimer = [this](TObject* Sender) { tmrChangeNotifyTimer(Sender); };
  tmrTripleClick = Make<TTimer>("tmrTripleClick");
  tmrTripleClick->SetEnabled(false);
  tmrTripleClick->SetInterval(100);
  HlUni = std::make_unique<TCodeUniversalHighlighter>(nullptr);
  CodeURIOpener = Make<TCodeURIOpener>("CodeURIOpener");
  CodeURIOpener->SetEditor(seEdit);
  if (frmMain) CodeURIOpener->SetURIHighlighter(dynamic_cast<TCodeURIHighlighter*>(frmMain->HlURI));
}

// The frame's own members go before the components it owns: the editor must not be left
// pointing at the rule-file highlighter meanwhile.
TfraEdit::~TfraEdit() {
  if (seEdit && HlUni && seEdit->Highlighter() == HlUni.get()) seEdit->SetHighlighter(nullptr);
}

void TfraEdit::BuildEditor() {
  seEdit = Make<TCodeEdit>("seEdit");
  seEdit->SetOptions({EO::eoAutoIndent, EO::eoAutoSizeMaxScrollWidth, EO::eoDragDropEditing,
                      EO::eoGroupUndo, EO::eoScrollHintFollows, EO::eoScrollPastEof,
                      EO::eoShowScrollHint, EO::eoSmartTabDelete, EO::eoTabIndent,
                      EO::eoTabsToSpaces});
  seEdit->SetTabWidth(2);
  seEdit->Gutter().SetShowLineNumbers(true);
  const RECT client = ClientRect();
  seEdit->CreateWnd(Handle(), 0, 0, client.right, client.bottom);
  seEdit->SetAlign(alClient);
  seEdit->SetWordWrap(true);
  seEdit->OnChange = [this](TObject* Sender) { seEditChange(Sender); };
}

void TfraEdit::BuildColorPreview() {
  pnlColor = Make<TPanel>("pnlColor", this);
  pnlColor->SetBounds(0, 0, 90, 40);
  shpColor = Make<TPanel>("shpColor", pnlColor);
  shpColor->SetBounds(4, 4, 82, 16);
  lblColorWebSave = Make<TLabel>("lblColorWebSave", pnlColor, 4, 22, 82, 14);
  lblColorWebSave->SetCaption("Nicht websicher");
  pnlColor->SetVisible(false);
}

void TfraEdit::BuildPopupMenu() {
  pmnuEdit = Make<TPopupMenu>("pmnuEdit");
  auto item = [this](TMenuItem*& Field, const char* Name, const char* Caption, TShortCut Key) {
    Field = Make<TMenuItem>(Name);
    Field->SetCaption(Caption);
    Field->SetShortCut(Key);
    pmnuEdit->Items()->Add(Field);
  };
  auto separator = [this](const char* Name) {
    TMenuItem* line = Make<TMenuItem>(Name);
    line->SetCaption("-");
    pmnuEdit->Items()->Add(line);
  };
  item(pmnuEditUndo, "pmnuEditUndo", "&R\xFC" "ckg\xE4ngig", scCtrl | 'Z');
  item(pmnuEditRedo, "pmnuEditRedo", "&Wiederherstellen", scCtrl | scShift | 'Z');
  separator("pmnuEditSep1");
  item(pmnuEditCut, "pmnuEditCut", "Au&sschneiden", scCtrl | 'X');
  item(pmnuEditCutAndAttach, "pmnuEditCutAndAttach", "A&usschneiden && Anf\xFCgen",
       scCtrl | scShift | 'X');
  item(pmnuEditCopy, "pmnuEditCopy", "&Kopieren", scCtrl | 'C');
  item(pmnuEditCopyAndAttach, "pmnuEditCopyAndAttach", "K&opieren && Anf\xFCgen",
       scCtrl | scShift | 'C');
  item(pmnuEditPaste, "pmnuEditPaste", "&Einf\xFCgen", scCtrl | 'V');
  separator("pmnuEditSep2");
  item(pmnuEditSelectAll, "pmnuEditSelectAll", "&Alles markieren", scCtrl | 'A');
}

void TfraEdit::seEditChange(TObject* /*Sender*/) {
  DocInfo.Modified = true;
  if (auto* sheet = dynamic_cast<TTabSheet*>(Owner()))
    sheet->SetImageIndex(seEdit->ReadOnly() ? kTabImageReadOnlyModified : kTabImageModified);
  UpdateCharProperties();
  if (frmMain && frmMain->lvResults) frmMain->lvResults->Clear();
  UpdateCaption();
}

void TfraEdit::tmrChangeNotifyTimer(TObject* /*Sender*/) {
  DocInfo.IgnoreChangeNotify = false;
  tmrChangeNotify->SetEnabled(false);
}
