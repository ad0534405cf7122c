// The hot-key dialog: edits HotKeyList in memory; OK writes the hot-key file.
#include "dialogs/formHotKeys.h"
#include <commctrl.h>
#include <algorithm>
#include "documents/MainWindowParts.h"
#include "documents/StoreGuard.h"
#include "documents/fHlpHK.h"
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"
#include "documents/fHotKeys.h"
#include "documents/fLanguage.h"
#include "documents/frameEdit.h"
#include "rtl/SysUtils.h"
#include "toolkit/Controls.h"
#include "toolkit/Cursor.h"
#include "toolkit/Dialogs.h"
#include "toolkit/HintWindow.h"
#include "toolkit/KeyCaptureEdit.h"
#include "toolkit/ListView.h"
#include "toolkit/PageControl.h"
#include "toolkit/ToolBar.h"
#include "toolkit/TreeView.h"

namespace {

const char* const Title = "Shortcuts anpassen";
constexpr int TopGroupImage = 120;
constexpr int GroupImage = 121;
constexpr int SelectedGroupImage = 123;
constexpr int RowImage = 122;
constexpr int SelectedRowImage = 124;
constexpr int IndexColumn = 1;  // sub-item holding the entry's index

// The tree reports a changed selection, which the toolkit's tree keeps to itself.
class THotKeyTree : public TTreeView {
public:
  using TTreeView::TTreeView;
  TNotifyEvent OnChange;
  LRESULT Notify(NMHDR* Header) override {
    LRESULT result = TTreeView::Notify(Header);
    if (Header->code == TVN_SELCHANGEDA && OnChange) OnChange(this);
    return result;
  }
};

std::vector<std::string> SplitPath(const std::string& Path) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t end; (end = Path.find(HotKeyCaptionSeparator, start)) != std::string::npos;
       start = end + 1)
    parts.push_back(Path.substr(start, end - start));
  parts.push_back(Path.substr(start));
  return parts;
}

std::string FirstPart(const std::string& Path) { return SplitPath(Path).front(); }

std::string DisplayPath(const std::string& Path) {
  std::string text;
  for (const std::string& part : SplitPath(Path)) text += (text.empty() ? "" : " > ") + part;
  return text;
}

bool SameKey(const std::string& A, const std::string& B) {
  const TShortCut a = HotKeyToShortCut(A);
  return a != 0 && a == HotKeyToShortCut(B);
}

std::string KeyDisplay(const std::string& KeyText) {
  const std::string text = HotKeyToText(KeyText);
  return text.empty() ? GetLangText("HotKeys|DefValNone", "(keiner)") : text;
}

}  // namespace

TfrmHotKeys::TfrmHotKeys(TComponent* Owner)
    : TForm(Owner, {Title, 620, 480, WS_OVERLAPPEDWINDOW & ~(WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0,
                    true}) {
  auto* tree = Make<THotKeyTree>("tvPath", this, 9, 9, 200, 340);
  tree->OnChange = [this](TObject* Sender) { tvPathChange(Sender); };
  tvPath = tree;
  tvPath->SetImages(frmMain ? frmMain->ImgList : nullptr);
  lvItems = Make<TListView>("lvItems", this, 216, 9, 390, 240);
  lvItems->AddColumn("Eintrag", 230, true);
  lvItems->AddColumn("Shortcut", 150);
  lvItems->AddColumn("Index", 1);
  lvItems->SetRowSelect(true);
  lvItems->SetReadOnly(true);
  lvItems->SetHideSelection(false);
  lvItems->SetSmallImages(frmMain ? frmMain->ImgList : nullptr);
  lvItems->OnChanging = [this](TObject* Sender, TListItem* Item, bool Selected) {
    lvItemsChanging(Sender, Item, Selected);
  };
  lvItems->OnSelectItem = [this](TObject* Sender, TListItem*, bool) { lvItemsChange(Sender); };
  lblHoKeyAct = Make<TLabel>("lblHoKeyAct", this, 216, 260, 130, 18);
  txtHotKeyAct = Make<TEdit>("txtHotKeyAct", this, 350, 258, 180, 21, ES_READONLY);
  txtHotKeyAct->SetFontStyle({TFontStyle::fsBold});
  lblHotKeyDef = Make<TLabel>("lblHotKeyDef", this, 216, 286, 130, 18);
  txtHotKeyDef = Make<TEdit>("txtHotKeyDef", this, 350, 284, 180, 21, ES_READONLY);
  lblHotKeyGen = Make<TLabel>("lblHotKeyGen", this, 216, 312, 130, 18);
  txtHotKeyGen = Make<TKeyCaptureEdit>("txtHotKeyGen", this, 350, 310, 180, 21);
  txtHotKeyGen->OnKeyDown = [this](TObject* S, WORD Key, TShiftState Shift) {
    txtHotKeyGenKeyDown(S, Key, Shift);
  };
  txtHotKeyGen->OnKeyUp = [this](TObject* S, WORD Key, TShiftState Shift) {
    txtHotKeyGenKeyUp(S, Key, Shift);
  };
  tbHotKey = Make<TToolBar>("tbHotKey", this);
  tbHotKey->SetImages(frmMain ? frmMain->ImgList : nullptr);
  btnHotKeyRemove = Make<TToolButton>("btnHotKeyRemove", tbHotKey);
  btnHotKeySetDefault = Make<TToolButton>("btnHotKeySetDefault", tbHotKey);
  btnHotKeyAssign = Make<TToolButton>("btnHotKeyAssign", tbHotKey);
  btnHotKeyRemove->SetImageIndex(130);
  btnHotKeySetDefault->SetImageIndex(131);
  btnHotKeyAssign->SetImageIndex(132);
  btnHotKeyRemove->OnClick = [this](TObject* S) { btnHotKeyRemoveClick(S); };
  btnHotKeySetDefault->OnClick = [this](TObject* S) { btnHotKeySetDefaultClick(S); };
  btnHotKeyAssign->OnClick = [this](TObject* S) { btnHotKeyAssignClick(S); };
  btnOk = Make<TButton>("btnOk", this, 430, 370, 84, 25, true);
  btnCancel = Make<TButton>("btnCancel", this, 522, 370, 84, 25);
  btnOk->OnClick = [this](TObject* S) { btnOkClick(S); };
  btnCancel->SetModalResult(mrCancel);
  hints = Make<THintWindow>("hints");
  OnShow = [this](TObject*) { FormShow(); };
  // The tool bar sits at the top of the form; the rest goes below it.
  const int shift = tbHotKey->Height();
  for (TWinControl* control : std::initializer_list<TWinControl*>{
           tvPath, lvItems, lblHoKeyAct, txtHotKeyAct, lblHotKeyDef, txtHotKeyDef, lblHotKeyGen,
           txtHotKeyGen, btnOk, btnCancel})
    control->SetBounds(control->Left(), control->Top() + shift, control->Width(),
                       control->Height());
  FormCreate();
}

LRESULT TfrmHotKeys::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = TForm::WndProc(Msg, wParam, lParam);
  auto* header = Msg == WM_NOTIFY ? reinterpret_cast<NMHDR*>(lParam) : nullptr;
  if (header && header->code == TBN_HOTITEMCHANGE && tbHotKey && header->hwndFrom == tbHotKey->Handle())
    ShowKeyboardTip(*reinterpret_cast<NMTBHOTITEM*>(lParam));
  return result;
}

// The mouse gets the bar's own tooltip; the keyboard, which rests on no button, this one.
void TfrmHotKeys::ShowKeyboardTip(const NMTBHOTITEM& Change) {
  TToolButton* chosen = nullptr;
  for (TToolButton* button : {btnHotKeyRemove, btnHotKeySetDefault, btnHotKeyAssign})
    if (button->Command() == Change.idNew) chosen = button;
  if (!chosen || (Change.dwFlags & (HICF_MOUSE | HICF_LEAVING)) || GetFocus() != tbHotKey->Handle()) {
    hints->HideTip();
    return;
  }
  RECT area = {};
  SendMessageA(tbHotKey->Handle(), TB_GETRECT, chosen->Command(), reinterpret_cast<LPARAM>(&area));
  MapWindowPoints(tbHotKey->Handle(), nullptr, reinterpret_cast<POINT*>(&area), 2);
  hints->ShowTip(area, chosen->Hint());
}

void TfrmHotKeys::FormCreate() {
  TranslateForm();
  ReloadHotKeys(HotKeyList);
  selectedIndex_ = -1;
  capturedKey_.clear();
  BuildPathTree();
  UpdateItemControls();
}

void TfrmHotKeys::TranslateForm() {
  ApplyFormFont(*this);
  ApplyFormTexts(*this, {
      {TFormText::Caption, "", "HotKeys|Title", Title},
      {TFormText::Caption, "lblHoKeyAct", "HotKeys|lblHoKeyAct", "Aktueller Shortcut:"},
      {TFormText::Caption, "lblHotKeyDef", "HotKeys|lblHotKeyDef", "Standard Shortcut:"},
      {TFormText::Caption, "lblHotKeyGen", "HotKeys|lblHotKeyGen", "Shortcut generieren:"},
      {TFormText::Caption, "btnOk", "General|btnOk", "Ok"},
      {TFormText::Caption, "btnCancel", "General|btnCancel", "Abbrechen"},
  });
  btnHotKeyRemove->SetHint(GetLangText("HotKeys|btnHotKeyRemove", "Shortcut entfernen"));
  btnHotKeySetDefault->SetHint(
      GetLangText("HotKeys|btnHotKeySetDefault", "Standard Shortcut zuweisen"));
  btnHotKeyAssign->SetHint(GetLangText("HotKeys|btnHotKeyAssign", "Shortcut zuweisen"));
  lvItems->SetColumnCaption(0, GetLangText("HotKeys|lvItemsEntry", "Eintrag"));
  lvItems->SetColumnCaption(1, GetLangText("HotKeys|lvItemsHotkey", "Shortcut"));
  lvItems->SetColumnCaption(2, GetLangText("HotKeys|lvItemsIndex", "Index"));
}

void TfrmHotKeys::BuildPathTree() {
  tvPath->BeginUpdate();
  tvPath->Clear();
  for (const THotKeyRec& entry : HotKeyList) AddPathToTree(nullptr, entry.Caption);
  tvPath->EndUpdate();
}

void TfrmHotKeys::AddPathToTree(TTreeNode* Node, const std::string& Path) {
  std::vector<std::string> parts = SplitPath(Path);
  parts.pop_back();  // the entry itself is no node
  for (const std::string& part : parts) {
    if (part.empty()) return;
    TTreeNode* found = nullptr;
    const int count = Node ? Node->Count() : tvPath->Count();
    for (int i = 0; i < count && !found; ++i) {
      TTreeNode* child = Node ? Node->Item(i) : tvPath->Items(i);
      if (child->Text() == part) found = child;
    }
    if (found) {
      if (!found->Expanded()) found->Expand(true);
    } else {
      found = tvPath->AddChild(Node, part);
      found->SetImageIndex(Node ? GroupImage : TopGroupImage);
      found->SetSelectedIndex(Node ? SelectedGroupImage : TopGroupImage);
    }
    Node = found;
  }
}

std::string TfrmHotKeys::GetNodePath(const TTreeNode* Node) {
  std::string path;
  for (; Node; Node = Node->Parent())
    path = Node->Text() + (path.empty() ? "" : std::string(1, HotKeyCaptionSeparator) + path);
  return path;
}

void TfrmHotKeys::FormShow() {
  if (tvPath->Count() > 0) tvPath->SetSelected(tvPath->Items(0));
}

void TfrmHotKeys::tvPathChange(TObject*) {
  const std::string path = GetNodePath(tvPath->Selected());
  const auto depth = std::count(path.begin(), path.end(), HotKeyCaptionSeparator);
  lvItems->Clear();
  selectedIndex_ = -1;
  if (!path.empty()) {
    const std::string prefix = path + HotKeyCaptionSeparator;
    for (size_t i = 0; i < HotKeyList.size(); ++i) {
      const std::string& caption = HotKeyList[i].Caption;
      // Only the entries directly in the group, not those of its sub-groups.
      if (caption.compare(0, prefix.size(), prefix) != 0 ||
          std::count(caption.begin(), caption.end(), HotKeyCaptionSeparator) != depth + 1)
        continue;
      TListItem* row = lvItems->AddItem(caption.substr(prefix.size()));
      row->SetImageIndex(RowImage);
      row->AddSubItem(HotKeyToText(HotKeyList[i].Current));
      row->AddSubItem(IntToStr(static_cast<int>(i)));
    }
  }
  lvItems->ResizeColumns();
  UpdateItemControls();
}

void TfrmHotKeys::lvItemsChanging(TObject*, TListItem* Item, bool Selected) {
  if (Item && !Selected) Item->SetImageIndex(RowImage);
}

void TfrmHotKeys::lvItemsChange(TObject*) {
  TListItem* row = lvItems->Selected();
  selectedIndex_ = row ? StrToIntDef(row->SubItem(IndexColumn), -1) : -1;
  if (row) row->SetImageIndex(SelectedRowImage);
  UpdateItemControls();
}

// Assign takes the captured key. The field records every key, Tab included: once one is
// recorded, Tab leaves the field instead, so the keyboard gets out of it and reaches Assign.
void TfrmHotKeys::SetCapturedKey(const std::string& Key) {
  capturedKey_ = Key;
  btnHotKeyAssign->SetEnabled(!Key.empty());
  txtHotKeyGen->SetTabMovesOn(!Key.empty());
}

void TfrmHotKeys::UpdateItemControls() {
  SetCapturedKey("");
  txtHotKeyAct->SetText("");
  txtHotKeyDef->SetText("");
  txtHotKeyGen->SetText("");
  const bool valid =
      selectedIndex_ >= 0 && selectedIndex_ < static_cast<int>(HotKeyList.size());
  for (TWinControl* control : std::initializer_list<TWinControl*>{
           lblHoKeyAct, lblHotKeyDef, lblHotKeyGen, txtHotKeyAct, txtHotKeyDef, txtHotKeyGen})
    control->SetEnabled(valid);
  btnHotKeyRemove->SetEnabled(valid);
  btnHotKeySetDefault->SetEnabled(valid);
  if (!valid) return;
  const THotKeyRec& entry = HotKeyList[selectedIndex_];
  if (TListItem* row = lvItems->Selected()) row->SetSubItem(0, HotKeyToText(entry.Current));
  // The entry's own default: two entries may share a caption path.
  txtHotKeyDef->SetText(KeyDisplay(entry.Default));
  txtHotKeyAct->SetText(KeyDisplay(entry.Current));
}

void TfrmHotKeys::txtHotKeyGenKeyDown(TObject*, WORD Key, TShiftState Shift) {
  SetCapturedKey("");
  std::string text;
  std::string letters;
  if (Shift.Contains(TShift::ssShift)) text += "Shift + ", letters += "S";
  if (Shift.Contains(TShift::ssCtrl)) text += "Ctrl + ", letters += "C";
  if (Shift.Contains(TShift::ssAlt)) text += "Alt + ", letters += "A";
  bool isKey = Key < VK_SHIFT || Key > VK_PAUSE;
  if (isKey && (letters.empty() || letters == "S")) isKey = IsHotKeyAllowed(Key, letters);
  const std::string name = isKey ? KeyName(Key) : std::string();
  if (!name.empty()) {
    text += name;
    SetCapturedKey(letters + "|" + IntToStr(Key));
  }
  txtHotKeyGen->SetText(text);
}

void TfrmHotKeys::txtHotKeyGenKeyUp(TObject*, WORD, TShiftState) {
  const std::string text = txtHotKeyGen->Text();
  if (text.size() >= 3 && text.compare(text.size() - 3, 3, " + ") == 0) {
    txtHotKeyGen->SetText("");
    SetCapturedKey("");
  }
}

bool TfrmHotKeys::ConfirmKeyConflicts(const std::string& Key) const {
  const std::string root = FirstPart(HotKeyList[selectedIndex_].Caption);
  for (size_t i = 0; i < HotKeyList.size(); ++i) {
    const THotKeyRec& other = HotKeyList[i];
    if (static_cast<int>(i) == selectedIndex_ || !SameKey(other.Current, Key) ||
        FirstPart(other.Caption) != root)
      continue;
    const int answer = MsgBox(
        GetLangText("HotKeys|MsgHotKeyAssignedText",
                    "Der Shortcut \"%s1%\" ist bereits belegt von:%w%%w%\"%s2%\"%w%%w%"
                    "M\xF6" "chten Sie den Shortcut dennoch zuweisen?",
                    LangParams({HotKeyToText(Key), DisplayPath(other.Caption)})),
        GetLangText("HotKeys|MsgHotKeyAssignedTitle", "Shortcut bereits belegt"),
        MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    if (answer != IDYES) return false;
  }
  return true;
}

void TfrmHotKeys::btnHotKeyAssignClick(TObject*) {
  if (selectedIndex_ < 0 || selectedIndex_ >= static_cast<int>(HotKeyList.size())) return;
  if (capturedKey_.empty()) return;
  if (!ConfirmKeyConflicts(capturedKey_)) return;
  HotKeyList[selectedIndex_].Current = capturedKey_;
  UpdateItemControls();
}

void TfrmHotKeys::btnHotKeyRemoveClick(TObject*) {
  if (selectedIndex_ < 0 || selectedIndex_ >= static_cast<int>(HotKeyList.size())) return;
  HotKeyList[selectedIndex_].Current.clear();
  UpdateItemControls();
}

void TfrmHotKeys::btnHotKeySetDefaultClick(TObject*) {
  if (selectedIndex_ < 0 || selectedIndex_ >= static_cast<int>(HotKeyList.size())) return;
  const std::string key = HotKeyList[selectedIndex_].Default;
  if (key != "|" && !ConfirmKeyConflicts(key)) return;
  HotKeyList[selectedIndex_].Current = key;
  UpdateItemControls();
}

void TfrmHotKeys::btnOkClick(TObject*) {
  const std::string fileName = Settings.AppDir + HotKeyFileName;
  // The keys still apply until exit; the user learns they will not survive it.
  if (StoreMayBeWritten(fileName) && !SaveHotKeys(fileName))
    MsgBox(GetLangText("Main|MsgFileSaveErrText",
                       "Die Datei \"%s1%\" konnte nicht gespeichert werden.%w%"
                       "M\xF6glicherweise ist die Datei schreibgesch\xFCtzt.",
                       LangParams({fileName})),
           GetLangText("Main|MsgFileSaveTitle", "Datei speichern"), MB_ICONERROR | MB_OK);
  SetModalResult(mrOk);
}

void ShowHotKeysDialog() {
  // The dialog edits the keys themselves: Abbrechen reads them again, or keeps these.
  std::vector<THotKeyRec> held = HotKeyList;
  int result = mrCancel;
  {
    TfrmHotKeys dialog(nullptr);
    result = dialog.ShowModal();
  }
  if (result != mrOk) {
    ReloadHotKeys(std::move(held));
    return;
  }
  THourglass hourglass;
  ApplyMenuHotKeys();
  for (int i = frmMain->pcEdit->PageCount() - 1; i >= 0; --i)
    if (TfraEdit* frame = GetFrame(i)) ApplyEditorHotKeys(frame->seEdit);
}
