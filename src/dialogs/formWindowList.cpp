// The window list acts directly on the main window's tabs and their documents.
#include "dialogs/formWindowList.h"
#include <commctrl.h>
#include <algorithm>
#include "documents/MainWindowParts.h"
#include "documents/fHlpMainDocs.h"
#include "documents/fHlpMainFuncs.h"
#include "documents/fHotKeys.h"
#include "documents/fLanguage.h"
#include "documents/frameEdit.h"
#include "rtl/SysUtils.h"
#include "toolkit/Controls.h"
#include "toolkit/ListView.h"
#include "toolkit/Menus.h"
#include "toolkit/MessageHook.h"
#include "toolkit/PageControl.h"
#include "toolkit/ScreenSnap.h"
#include "toolkit/ToolBar.h"

namespace {

const char* const Title = "Fensterliste";
constexpr int Margin = 9;
constexpr int IndexColumn = 2;  // sub-item holding the tab index

std::string ButtonName(const std::string& ItemName) { return "tbWin" + ItemName.substr(8); }

std::string WithoutAmpersands(std::string Text) {
  std::string out;
  for (char c : Text)
    if (c != '&') out += c;
  return out;
}

void ActivateTab(int Index) {
  TPageControl* pages = frmMain->pcEdit;
  if (Index < 0 || Index >= pages->PageCount()) return;
  pages->SetActivePageIndex(Index);
  frmMain->TabSheetShow(pages->ActivePage());
}

}  // namespace

const std::vector<TfrmWindowList::TAction>& TfrmWindowList::Actions() {
  static const std::vector<TAction> actions = {
      {"pmnuWinClose", &TfrmWindowList::pmnuWinCloseClick, 5, "S&chlie\xDF" "en", false},
      {"pmnuWinCloseAll", &TfrmWindowList::pmnuWinCloseAllClick, 6, "A&lle schlie\xDF" "en", true},
      {"pmnuWinSave", &TfrmWindowList::pmnuWinSaveClick, 2, "&Speichern", false},
      {"pmnuWinSaveAll", &TfrmWindowList::pmnuWinSaveAllClick, 4, "Alle s&peichern", true},
      {"pmnuWinLockUnlock", &TfrmWindowList::pmnuWinLockUnlockClick, 153,
       "&Eingabe sperren / entsperren", true},
      {"pmnuWinSelectAll", &TfrmWindowList::pmnuWinSelectAllClick, 24, "&Alle ausw\xE4hlen", false},
      {"pmnuWinInvertSel", &TfrmWindowList::pmnuWinInvertSelClick, 89, "Auswahl &umkehren", false},
  };
  return actions;
}

TfrmWindowList::TfrmWindowList(TComponent* Owner)
    : TForm(Owner, {Title, 560, 340, WS_OVERLAPPEDWINDOW & ~WS_MINIMIZEBOX, 0, true}) {
  TImageList* glyphs = frmMain ? frmMain->ImgList : nullptr;
  tbWindowList = Make<TToolBar>("tbWindowList", this);
  tbWindowList->SetImages(glyphs);
  pmnuWin = Make<TPopupMenu>("pmnuWin");
  pmnuWin->SetImages(glyphs);
  for (const TAction& action : Actions()) {
    auto* item = Make<TMenuItem>(action.Name);
    item->SetImageIndex(action.Image);
    item->OnClick = [this, h = action.Handler](TObject* Sender) { (this->*h)(Sender); };
    pmnuWin->Items()->Add(item);
    auto* button = Make<TToolButton>(ButtonName(action.Name), tbWindowList);
    button->SetImageIndex(action.Image);
    button->OnClick = [this, h = action.Handler](TObject* Sender) { (this->*h)(Sender); };
    if (action.SeparatorAfter) {
      auto* line = Make<TMenuItem>("");
      line->SetCaption("-");
      pmnuWin->Items()->Add(line);
      Make<TToolButton>("", tbWindowList, TToolButtonStyle::tbsSeparator);
    }
  }
  lvWin = Make<TListView>("lvWin", this, Margin, tbWindowList->Height() + Margin, 520, 220);
  lvWin->AddColumn("Titel", 165);
  lvWin->AddColumn("Dateiname", 250, true);
  lvWin->AddColumn("Ge\xE4ndert", 60);
  lvWin->AddColumn("Index", 0);
  lvWin->SetMultiSelect(true);
  lvWin->SetRowSelect(true);
  lvWin->SetReadOnly(true);
  lvWin->SetSorted(true);
  lvWin->SetHideSelection(false);
  lvWin->SetSmallImages(glyphs);
  lvWin->SetPopupMenu(pmnuWin);
  lvWin->OnSelectItem = [this](TObject* S, TListItem* Item, bool Selected) {
    lvWinSelectItem(S, Item, Selected);
  };
  lvWin->OnDblClick = [this](TObject* S) { lvWinDblClick(S); };
  // The list takes every key, so Escape, Enter and the actions' keys reach FormKeyDown.
  Make<TMessageHook>("", lvWin->Handle(), [this](UINT Msg, WPARAM wParam, LPARAM, LRESULT& Result) {
    if (Msg == WM_GETDLGCODE) {
      Result = DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS;
      return true;
    }
    if (Msg != WM_KEYDOWN && Msg != WM_SYSKEYDOWN) return false;
    WORD key = static_cast<WORD>(wParam);
    FormKeyDown(key, KeyboardShiftState());
    Result = 0;
    return key == 0;
  });
  btnClose = Make<TButton>("btnClose", this, 460, 280, 84, 25, true);
  btnClose->SetModalResult(mrCancel);
  OnShow = [this](TObject*) { FormShow(); };
  OnResize = [this](TObject*) { FormResize(); };
  TranslateForm();
  FillWindowList();
  FormResize();
}

TMenuItem* TfrmWindowList::MenuItem(const std::string& Name) const {
  return dynamic_cast<TMenuItem*>(FindComponent(Name));
}

TToolButton* TfrmWindowList::Button(const std::string& ItemName) const {
  return dynamic_cast<TToolButton*>(FindComponent(ButtonName(ItemName)));
}

void TfrmWindowList::TranslateForm() {
  ApplyFormFont(*this);
  std::vector<TFormText> texts = {
      {TFormText::Caption, "", "WindowList|Title", Title},
      {TFormText::Caption, "btnClose", "General|btnClose", "Ok"},
  };
  ApplyFormTexts(*this, texts);
  for (const TAction& action : Actions()) {
    const std::string key = std::string("WindowList|") + action.Name;
    MenuItem(action.Name)->SetCaption(GetLangText(key, action.Caption));
    Button(action.Name)->SetHint(GetLangText(key, WithoutAmpersands(action.Caption)));
  }
  lvWin->SetColumnCaption(0, GetLangText("WindowList|lvWinTitle", "Titel"));
  lvWin->SetColumnCaption(1, GetLangText("WindowList|lvWinFileName", "Dateiname"));
  lvWin->SetColumnCaption(2, GetLangText("WindowList|lvWinModified", "Ge\xE4ndert"));
  lvWin->SetColumnCaption(3, GetLangText("WindowList|lvWinIndex", "Index"));
}

void TfrmWindowList::FillWindowList() {
  filling_ = true;
  lvWin->Clear();
  TPageControl* pages = frmMain ? frmMain->pcEdit : nullptr;
  if (pages && pages->PageCount() > 0) {
    const int active = pages->ActivePageIndex();
    for (int i = pages->PageCount() - 1; i >= 0; --i) {
      TfraEdit* frame = GetSheetFrame(pages->Pages(i));
      if (!frame) continue;
      TListItem* row = lvWin->AddItem(frame->DocInfo.Title);
      row->SetImageIndex(pages->Pages(i)->ImageIndex());
      row->AddSubItem(frame->DocInfo.FileName);
      row->AddSubItem(frame->DocInfo.Modified
                          ? GetLangText("WindowList|lvWinModifiedYes", "Ja")
                          : GetLangText("WindowList|lvWinModifiedNo", "Nein"));
      row->AddSubItem(IntToStr(i));
    }
    for (int r = 0; r < lvWin->Count(); ++r) {
      TListItem* row = lvWin->Items(r);
      if (StrToIntDef(row->SubItem(IndexColumn), -1) != active) continue;
      row->SetSelected(true);
      ListView_SetItemState(lvWin->Handle(), r, LVIS_FOCUSED, LVIS_FOCUSED);
      ListView_EnsureVisible(lvWin->Handle(), r, FALSE);
      break;
    }
  }
  filling_ = false;
  UpdateWindowListActions();
}

void TfrmWindowList::ApplyWindowListHotKeys() {
  for (const TAction& action : Actions())
    MenuItem(action.Name)->SetShortCut(GetHotKey(std::string("frmWindowList_") + action.Name));
}

void TfrmWindowList::UpdateWindowListActions() {
  const bool selected = lvWin->SelCount() > 0;
  const bool rows = lvWin->Count() > 0;
  for (const TAction& action : Actions()) {
    const std::string name = action.Name;
    const bool needsSelection = name == "pmnuWinClose" || name == "pmnuWinSave" ||
                                name == "pmnuWinLockUnlock" || name == "pmnuWinInvertSel";
    const bool enabled = needsSelection ? selected : rows;
    MenuItem(name)->SetEnabled(enabled);
    Button(name)->SetEnabled(enabled);
  }
}

LRESULT TfrmWindowList::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (Msg == WM_WINDOWPOSCHANGING) SnapWindowPos(Handle(), *reinterpret_cast<WINDOWPOS*>(lParam));
  return TForm::WndProc(Msg, wParam, lParam);
}

void TfrmWindowList::FormShow() {
  // The list follows the form, and its auto-size column the list. The form is on screen
  // already: what moved by a pixel is drawn anew.
  SetWidth(Width() - 1);
  SetWidth(Width() + 1);
  RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  ApplyWindowListHotKeys();
  lvWin->SetFocus();
}

void TfrmWindowList::FormResize() {
  RECT client = ClientRect();
  btnClose->SetBounds(client.right - Margin - btnClose->Width(),
                      client.bottom - Margin - btnClose->Height(), btnClose->Width(),
                      btnClose->Height());
  const int top = tbWindowList->Height() + Margin;
  lvWin->SetBounds(Margin, top, client.right - 2 * Margin,
                   std::max(0, btnClose->Top() - Margin - top));
}

void TfrmWindowList::FormKeyDown(WORD& Key, TShiftState Shift) {
  if (Key == VK_ESCAPE) {
    Key = 0;
    SetModalResult(mrCancel);
    return;
  }
  if (Key == VK_RETURN) {
    Key = 0;
    lvWinDblClick(lvWin);
    return;
  }
  const TShortCut pressed = ShortCut(Key, Shift);
  for (const TAction& action : Actions()) {
    TMenuItem* item = MenuItem(action.Name);
    if (item->ShortCut() == 0 || item->ShortCut() != pressed) continue;
    Key = 0;
    if (item->Enabled()) item->Click();
    return;
  }
}

void TfrmWindowList::lvWinSelectItem(TObject*, TListItem* Item, bool Selected) {
  if (!filling_ && Item && Selected)
    ActivateTab(StrToIntDef(Item->SubItem(IndexColumn), -1));
  if (!filling_) UpdateWindowListActions();
}

void TfrmWindowList::lvWinDblClick(TObject*) {
  TListItem* row = lvWin->Selected();
  if (!row) return;
  ActivateTab(StrToIntDef(row->SubItem(IndexColumn), -1));
  SetModalResult(mrCancel);
}

void TfrmWindowList::pmnuWinSelectAllClick(TObject*) {
  lvWin->SelectAll();
  UpdateWindowListActions();
}

void TfrmWindowList::pmnuWinInvertSelClick(TObject*) {
  filling_ = true;  // inverting is no request to activate each row
  for (int i = 0; i < lvWin->Count(); ++i)
    lvWin->Items(i)->SetSelected(!lvWin->Items(i)->Selected());
  filling_ = false;
  UpdateWindowListActions();
}

std::vector<TfraEdit*> TfrmWindowList::RowFrames(bool SelectedOnly) const {
  std::vector<TfraEdit*> frames;
  for (int i = 0; i < lvWin->Count(); ++i) {
    TListItem* row = lvWin->Items(i);
    if (SelectedOnly && !row->Selected()) continue;
    if (TfraEdit* frame = GetFrameChecked(StrToIntDef(row->SubItem(IndexColumn), -2)))
      frames.push_back(frame);
  }
  return frames;
}

void TfrmWindowList::pmnuWinLockUnlockClick(TObject*) {
  const std::vector<TfraEdit*> frames = RowFrames(true);
  if (frames.empty()) return;
  for (TfraEdit* frame : frames) {
    ActivateTab(FrameTabIndex(frame));
    if (TCodeEdit* editor = GetActiveEditor()) editor->SetReadOnly(!editor->ReadOnly());
  }
  UpdateCaption();
  FillWindowList();
}

void TfrmWindowList::SaveRows(bool SelectedOnly) {
  for (TfraEdit* frame : RowFrames(SelectedOnly)) {
    ActivateTab(FrameTabIndex(frame));
    if (!SaveDocument(-1)) break;
  }
  FillWindowList();
}

void TfrmWindowList::pmnuWinSaveClick(TObject*) { SaveRows(true); }
void TfrmWindowList::pmnuWinSaveAllClick(TObject*) { SaveRows(false); }

void TfrmWindowList::CloseRows(bool SelectedOnly) {
  const std::vector<TfraEdit*> frames = RowFrames(SelectedOnly);
  if (frames.empty()) return;
  for (TfraEdit* frame : frames) {
    // Frames stay valid until closed; one whose close was cancelled is still on its tab.
    const int index = FrameTabIndex(frame);
    if (index < 0) continue;
    ActivateTab(index);
    CloseDocument();
  }
  FillWindowList();
}

void TfrmWindowList::pmnuWinCloseClick(TObject*) { CloseRows(true); }
void TfrmWindowList::pmnuWinCloseAllClick(TObject*) { CloseRows(false); }

void ShowWindowList() {
  TfrmWindowList dialog(nullptr);
  dialog.ShowModal();
}
