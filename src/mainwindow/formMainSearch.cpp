// The main window's Search menu, the search and replace panel with its results list, and the
// incremental search field of the tool bar: each handler calls the search function that does
// the work and keeps the panel's controls in step.
#include <windows.h>
#include <commctrl.h>
#include <vector>
#include "commands/fHlpMainSearch.h"
#include "commands/fSearchPanel.h"
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"
#include "documents/fHlpMainFuncs.h"
#include "documents/fLanguage.h"
#include "documents/frameEdit.h"
#include "editor/CodeEdit.h"
#include "editor/CodeEditScopes.h"
#include "foundation/Regex.h"
#include "foundation/fMain.h"
#include "mainwindow/formMain.h"
#include "rtl/SysUtils.h"
#include "toolkit/Application.h"
#include "toolkit/Clipboard.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Controls.h"
#include "toolkit/Cursor.h"
#include "toolkit/DialogKeys.h"
#include "toolkit/Dialogs.h"
#include "toolkit/KeyState.h"
#include "toolkit/ListView.h"
#include "toolkit/Menus.h"
#include "toolkit/MessageHook.h"
#include "toolkit/PageControl.h"
#include "toolkit/Panels.h"
#include "toolkit/ToolBar.h"

namespace {

constexpr int SearchHistoryShown = 30;
// The Tag of btnSearch and btnReplaceAll.
constexpr int Idle = 0, Running = 1, CancelRequested = -1;
constexpr COLORREF IncSearchMissColor = RGB(255, 170, 170);
// The character Ctrl+Enter types.
constexpr char CtrlEnter = '\n';

// The fields a running search or replace disables besides the buttons.
constexpr const char* PanelFields[] = {"grpSearchOptions", "grpSearchDir", "cmbSearch",
                                       "cmbReplace",       "txtSearch",    "txtReplace"};
// The boxes inside the option groups: the groups do not contain them as windows.
constexpr const char* OptionBoxes[] = {
    "chkSearchCaseSensitive", "chkSearchWholeWords",      "chkSearchUseRegExpr",
    "chkSearchReplaceEscape", "chkSearchMultiLine",       "chkSearchFromTop",
    "chkSearchShowInTab",     "chkSearchReplaceAllInSel", "chkSearchAllFiles",
    "rbSearchForwards",       "rbSearchBackwards"};

// What the panel's options say: each counts only when its box is checked and enabled.
struct TPanelOptions {
  bool CaseSensitive, WholeWords, Backwards, UseRegExpr, ShowInTab, AllFiles;
  bool FromTop, ReplaceAllInSel, ReplaceEscape, MultiLine;
};

bool Checked(const TfrmMain& Form, const char* Name) { return Form.Find<TCheckBox>(Name)->Checked(); }

TSearchPanelChecks PanelChecks(const TfrmMain& Form) {
  return {Checked(Form, "chkSearchAllFiles"), Checked(Form, "chkSearchShowInTab"),
          Checked(Form, "chkSearchWholeWords"), Checked(Form, "chkSearchUseRegExpr")};
}

// Read from the checks rather than the windows, which a running search disables.
TPanelOptions ReadOptions(const TfrmMain& Form) {
  const TSearchPanelChecks checks = PanelChecks(Form);
  const TSearchPanelEnables enables = SearchPanelEnables(checks);
  TPanelOptions o{};
  o.CaseSensitive = Checked(Form, "chkSearchCaseSensitive");
  o.WholeWords = checks.WholeWords && enables.WholeWords;
  o.UseRegExpr = checks.UseRegExpr && enables.UseRegExpr;
  o.Backwards = Checked(Form, "rbSearchBackwards") && enables.SingleHitOptions;
  o.AllFiles = checks.AllFiles;
  o.ShowInTab = (checks.ShowInTab && enables.ShowInTab) || o.AllFiles;
  o.FromTop = Checked(Form, "chkSearchFromTop") && enables.SingleHitOptions;
  o.ReplaceAllInSel = Checked(Form, "chkSearchReplaceAllInSel") && enables.SingleHitOptions;
  o.ReplaceEscape = Checked(Form, "chkSearchReplaceEscape");
  o.MultiLine = Checked(Form, "chkSearchMultiLine");
  return o;
}

void SetSearchFlags(const TPanelOptions& O, TLocalSearchReplace& S = LocalSearchReplace) {
  S.CaseSensitive = O.CaseSensitive;
  S.WholeWords = O.WholeWords;
  S.Backwards = O.Backwards;
  S.UseRegExpr = O.UseRegExpr;
  S.ShowInTab = O.ShowInTab;
  S.AllFiles = O.AllFiles;
}

// Whether the search the options ask for compiles SearchText; an expression that does not is
// reported as the search reports it.
bool SearchExpressionCompiles(const std::string& SearchText, const TPanelOptions& O) {
  TLocalSearchReplace search;
  search.SearchText = SearchText;
  SetSearchFlags(O, search);
  try {
    CheckSearchExpression(search);
    return true;
  } catch (const ERegex& E) {
    ReportRegexError(E);
    return false;
  }
}

// The replacement as typed, or with its escapes expanded. A malformed escape is reported and
// gives false before anything has changed.
bool ExpandReplacement(const std::string& Typed, bool Escapes, std::string& Result) {
  if (!Escapes) {
    Result = Typed;
    return true;
  }
  try {
    Result = UnescapeText(Typed);
    return true;
  } catch (const EConvertError& E) {
    Application().ShowException(E);
    return false;
  }
}

// The panel locked while a search or replace runs, unlocked again on every way out.
class TPanelBusy {
public:
  TPanelBusy(TfrmMain& Form, const char* OtherButton) : form_(Form), otherButton_(OtherButton) {
    SetEnabled(false);
    form_.Find<TWinControl>("btnReplaceSel")->SetEnabled(false);
  }
  ~TPanelBusy() {
    SetEnabled(true);
    form_.UpdateSearchOptions();
  }
  TPanelBusy(const TPanelBusy&) = delete;
  TPanelBusy& operator=(const TPanelBusy&) = delete;

private:
  void SetEnabled(bool Enabled) {
    for (const char* name : PanelFields) form_.Find<TWinControl>(name)->SetEnabled(Enabled);
    for (const char* name : OptionBoxes) form_.Find<TWinControl>(name)->SetEnabled(Enabled);
    form_.Find<TWinControl>(otherButton_)->SetEnabled(Enabled);
  }
  TfrmMain& form_;
  const char* otherButton_;
};

// A button's running marker (and, for the search button, its caption) for one run.
class TRunMarker {
public:
  TRunMarker(TButton& Button, const char* RunningKey, const char* RunningCaption,
             const char* IdleKey, const char* IdleCaption)
      : button_(Button), idleKey_(IdleKey), idleCaption_(IdleCaption) {
    button_.SetTag(Running);
    if (RunningKey) button_.SetCaption(GetLangText(RunningKey, RunningCaption));
  }
  explicit TRunMarker(TButton& Button) : TRunMarker(Button, nullptr, nullptr, nullptr, nullptr) {}
  ~TRunMarker() {
    button_.SetTag(Idle);
    if (idleKey_) button_.SetCaption(GetLangText(idleKey_, idleCaption_));
  }
  TRunMarker(const TRunMarker&) = delete;
  TRunMarker& operator=(const TRunMarker&) = delete;

private:
  TButton& button_;
  const char* idleKey_;
  const char* idleCaption_;
};

// Search next (Next) or previous with the record as last filled.
void RepeatSearch(bool Next) {
  const TLocalSearchReplace& S = LocalSearchReplace;
  const bool expression = S.UseRegExpr || S.WholeWords;
  const bool forward = Next != S.Backwards;
  if (forward) expression ? SearchNextRegExpr(S.Backwards) : SearchNext(S.Backwards);
  else expression ? SearchPrevRegExpr(S.Backwards) : SearchPrev(S.Backwards);
}

// The frames of the open documents in tab order.
std::vector<TfraEdit*> OpenFrames(const TPageControl& Tabs) {
  std::vector<TfraEdit*> frames;
  for (int i = 0; i < Tabs.PageCount(); ++i)
    if (TfraEdit* frame = GetFrameChecked(i)) frames.push_back(frame);
  return frames;
}

// Whether the frame still shows a document. Compares pointers only: a closed frame is freed.
bool StillOpen(const TPageControl& Tabs, const TfraEdit* Frame) {
  for (int i = 0; i < Tabs.PageCount(); ++i)
    if (GetFrameChecked(i) == Frame) return true;
  return false;
}

// Replace All in every open document; messages run between documents, so a cancel click can
// arrive and a document may be closed meanwhile.
void ReplaceInAllDocuments(TfrmMain& Form, const TButton& Marker, const std::string& Replacement) {
  Form.lvResults->Clear();
  for (TfraEdit* frame : OpenFrames(*Form.pcEdit)) {
    if (!StillOpen(*Form.pcEdit, frame) || !frame->seEdit) continue;
    ReplaceAllInEditor(*frame->seEdit, LocalSearchReplace, Replacement, true);
    Application().ProcessMessages();
    if (Marker.Tag() == CancelRequested) break;
  }
}

bool HasFocus(HWND Wnd) { return Wnd && GetFocus() == Wnd; }

// The search text (Replacement: the replacement) of the fields the mode shows; false, after
// saying so, for one holding a character the ANSI code page lacks.
bool ReadPanelText(const TfrmMain& Form, bool MultiLine, bool Replacement, std::string& Text) {
  const auto& label = *Form.Find<TWinControl>(Replacement ? "lblReplace" : "lblSearch");
  if (MultiLine)
    return ReadSearchField(Replacement ? *Form.txtReplace : *Form.txtSearch, label, Text);
  return ReadSearchField(Replacement ? *Form.cmbReplace : *Form.cmbSearch, label, Text);
}

}  // namespace

void TfrmMain::ConnectSearchCommands() {
  struct Binding {
    const char* Name;
    void (TfrmMain::*Handler)(TObject*);
  };
  static constexpr Binding bindings[] = {
      {"mnuEditSearch", &TfrmMain::mnuEditSearchClick},
      {"tbMainEditSearch", &TfrmMain::tbMainEditSearchClick},
      {"mnuEditDocSearch", &TfrmMain::mnuEditDocSearchClick},
      {"mnuEditSearchNext", &TfrmMain::mnuEditSearchNextClick},
      {"mnuEditSearchPrev", &TfrmMain::mnuEditSearchPrevClick},
      {"mnuSearchIncremtalSearch", &TfrmMain::mnuSearchIncremtalSearchClick},
      {"pmnuBottomHide", &TfrmMain::pmnuBottomHideClick},
      {"pmnuSREditCut", &TfrmMain::pmnuSREditCutClick},
      {"pmnuSREditCopy", &TfrmMain::pmnuSREditCopyClick},
      {"pmnuSREditPaste", &TfrmMain::pmnuSREditPasteClick},
      {"btnSearch", &TfrmMain::btnSearchClick},
      {"btnReplaceSel", &TfrmMain::btnReplaceSelClick},
      {"btnReplaceAll", &TfrmMain::btnReplaceAllClick},
      {"chkSearchMultiLine", &TfrmMain::chkSearchMultiLineClick},
  };
  for (const Binding& binding : bindings) {
    TNotifyEvent handler = [this, h = binding.Handler](TObject* Sender) { (this->*h)(Sender); };
    if (auto* item = Find<TMenuItem>(binding.Name)) item->OnClick = handler;
    else if (auto* tool = Find<TToolButton>(binding.Name)) tool->OnClick = handler;
    else if (auto* button = Find<TButton>(binding.Name)) button->OnClick = handler;
    else Find<TCheckBox>(binding.Name)->OnClick = handler;
  }
  for (const char* name : {"chkSearchShowInTab", "chkSearchUseRegExpr", "chkSearchReplaceEscape",
                           "chkSearchAllFiles", "chkSearchWholeWords"})
    Find<TCheckBox>(name)->OnClick = [this](TObject*) { UpdateSearchOptions(); };
  // A direction checked by code (the searches do so) takes the other one out as a click would.
  auto* forwards = Find<TCheckBox>("rbSearchForwards");
  auto* backwards = Find<TCheckBox>("rbSearchBackwards");
  for (auto [button, other] : {std::pair{forwards, backwards}, std::pair{backwards, forwards}})
    button->OnClick = [this, button, other](TObject*) {
      if (button->Checked()) other->SetChecked(false);
      UpdateSearchOptions();
    };

  auto* srEdit = Find<TPopupMenu>("pmnuSREdit");
  srEdit->OnPopup = [this](TObject* Sender) { pmnuSREditPopup(Sender); };
  pcBottom->OnChange = [this](TObject* Sender) { pcBottomChange(Sender); };
  lvResults->OnSelectItem = [this](TObject* Sender, TListItem*, bool Selected) {
    if (Selected) lvResultsChange(Sender);
  };
  auto* tabSearch = Find<TTabSheet>("tabSearch");
  tabSearch->Make<TMessageHook>("", tabSearch->Handle(),
                                [this, tabSearch](UINT Msg, WPARAM, LPARAM, LRESULT&) {
                                  if (Msg == WM_SIZE) tabSearchResize(tabSearch);
                                  return false;
                                });
  // A click jumps (again, on the row already selected), and so does Enter; moving in the list
  // only shows each hit.
  auto* tabResults = Find<TTabSheet>("tabResults");
  tabResults->Make<TMessageHook>("", tabResults->Handle(),
                                 [this](UINT Msg, WPARAM, LPARAM lParam, LRESULT&) {
                                   auto* header = reinterpret_cast<NMHDR*>(lParam);
                                   if (Msg == WM_NOTIFY && header->hwndFrom == lvResults->Handle() &&
                                       (header->code == NM_CLICK || header->code == NM_RETURN))
                                     lvResultsClick(lvResults);
                                   return false;
                                 });
  txtIncSearch->OnChange = [this](TObject* Sender) { txtIncSearchChange(Sender); };
  incSearchBackground_ = txtIncSearch->Make<TEditBackground>("", txtIncSearch->Handle());
  ConnectSearchPanelKeys();
}

void TfrmMain::ConnectSearchPanelKeys() {
  auto* srEdit = Find<TPopupMenu>("pmnuSREdit");
  // The fields show the panel's own edit menu instead of the system's.
  auto hookContextMenu = [srEdit](TComponent* Owner, HWND Wnd) {
    Owner->Make<TMessageHook>("", Wnd, [srEdit, Wnd](UINT Msg, WPARAM, LPARAM lParam, LRESULT&) {
      if (Msg != WM_CONTEXTMENU) return false;
      POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (lParam == -1) {
        p = {0, 0};
        ClientToScreen(Wnd, &p);
      }
      ::SetFocus(Wnd);
      srEdit->Popup(p.x, p.y);
      return true;
    });
  };
  auto hide = [this] { Find<TMenuItem>("pmnuBottomHide")->Click(); };
  auto search = [this] { Find<TButton>("btnSearch")->Click(); };
  for (TComboBox* combo : {cmbSearch, cmbReplace}) {
    combo->OnKeyPress = [hide, search](char& Key) {
      if (Key == VK_RETURN || Key == CtrlEnter) search();
      else if (Key == VK_ESCAPE) hide();
    };
    combo->OnKeyDown = [combo](WORD& Key, TShiftState Shift) {
      if (Key == VK_DELETE && Shift == TShiftState{TShift::ssShift} && combo->ItemIndex() >= 0)
        combo->Delete(combo->ItemIndex());
    };
    hookContextMenu(combo, combo->EditHandle());
  }
  // Enter breaks the line in the fields of several lines: Ctrl+Enter searches instead of
  // typing another line break.
  auto searchOnCtrlEnter = [search](char& Key) {
    if (Key != CtrlEnter) return;
    Key = 0;
    search();
  };
  HookKeys(txtSearch, txtSearch->Handle(), nullptr, [this, hide, searchOnCtrlEnter](char& Key) {
    if (Key == VK_ESCAPE) hide();
    // An expression is one line: Enter does not break it.
    if (Key == VK_RETURN && !SearchPanelEnables(PanelChecks(*this)).SearchWantsReturn) Key = 0;
    searchOnCtrlEnter(Key);
  });
  HookKeys(txtReplace, txtReplace->Handle(), nullptr, [hide, searchOnCtrlEnter](char& Key) {
    if (Key == VK_ESCAPE) hide();
    searchOnCtrlEnter(Key);
  });
  for (TEdit* field : {txtSearch, txtReplace}) hookContextMenu(field, field->Handle());
  HookKeys(txtIncSearch, txtIncSearch->Handle(), [this](WORD& Key, TShiftState Shift) {
    if (Key == VK_RETURN) IncrementalSearch(true, Shift == TShiftState{TShift::ssShift});
  }, [](char& Key) {
    // The field is alone in the tool bar: Tab leaves it as Escape does, for the text.
    if (Key != '\t' && Key != VK_ESCAPE) return;
    Key = 0;
    if (TCodeEdit* editor = GetActiveEditor()) editor->SetFocus();
  });
}

// ---- Opening and closing the panel ---------------------------------------------------------

void TfrmMain::mnuEditSearchClick(TObject*) { OpenSearchPanel(false); }

void TfrmMain::tbMainEditSearchClick(TObject* Sender) { mnuEditSearchClick(Sender); }

void TfrmMain::mnuEditDocSearchClick(TObject*) { OpenSearchPanel(true); }

void TfrmMain::OpenSearchPanel(bool AllDocuments) {
  TCodeEdit* editor = GetActiveEditor();
  if (!editor) return;
  auto* allFiles = Find<TCheckBox>("chkSearchAllFiles");
  if (pcBottom->Visible()) {
    const bool fieldFocused = HasFocus(cmbSearch->EditHandle()) || HasFocus(txtSearch->Handle());
    // The same command again closes the panel; the other one switches the mode.
    if (fieldFocused && allFiles->Checked() == AllDocuments) {
      HideBottomPanel();
      return;
    }
  } else {
    pcBottom->SetVisible(true);
    splitterBottom->SetVisible(true);
    Settings.ViewDocSearch = true;
  }
  LoadSearchHistories();
  pcBottom->SetActivePage(Find<TTabSheet>("tabSearch"));
  if (AllDocuments) {
    allFiles->SetChecked(true);
  } else {
    Find<TCheckBox>("chkSearchReplaceAllInSel")->SetChecked(editor->SelLength() > 0);
    allFiles->SetChecked(false);
  }
  UpdateSearchOptions();
  if (cmbSearch->Visible()) {
    const std::string selected = editor->SelText();
    if (!selected.empty() && selected.find("\r\n") == std::string::npos) cmbSearch->SetText(selected);
    cmbSearch->SetFocus();
  } else if (txtSearch->Visible()) {
    txtSearch->SetFocus();
  }
}

void TfrmMain::LoadSearchHistories() {
  for (auto [combo, list] : {std::pair{cmbSearch, &Settings.SearchMRU},
                             std::pair{cmbReplace, &Settings.ReplaceMRU}}) {
    while (list->Count() > SearchHistoryShown) list->Delete(list->Count() - 1);
    combo->Clear();
    for (int i = 0; i < list->Count(); ++i) combo->AddItem((*list)[i]);
  }
}

void TfrmMain::HideBottomPanel() {
  splitterBottom->SetVisible(false);
  pcBottom->SetVisible(false);
  Settings.ViewDocSearch = false;
  if (TCodeEdit* editor = GetActiveEditor()) editor->SetFocus();
}

void TfrmMain::pmnuBottomHideClick(TObject*) { HideBottomPanel(); }

bool TfrmMain::FormKeyF6() {
  if (Menu() && Menu()->Items()->FindShortCut(ShortCut(VK_F6, {}))) return false;
  TCodeEdit* editor = GetActiveEditor();
  TTabSheet* page = pcBottom->ActivePage();
  if (!editor || !pcBottom->Visible() || !page) return false;
  const HWND focus = GetFocus();
  if (focus && IsChild(pcBottom->Handle(), focus)) {
    editor->SetFocus();
    return true;
  }
  // A key the user gave an editor command stays the editor's.
  if (focus == editor->Handle() && editor->Keystrokes().FindKey(VK_F6, {}) >= 0) return false;
  const HWND field = FirstTabStop(page->Handle());
  ::SetFocus(field ? field : pcBottom->Handle());
  return true;
}

void TfrmMain::pcBottomChange(TObject*) { UpdateCharProperties(); }

void TfrmMain::tabSearchResize(TObject* Sender) {
  auto* page = static_cast<TWinControl*>(Sender);
  const int width = page->ClientRect().right - cmbSearch->Left() - 6;
  for (TWinControl* field : std::initializer_list<TWinControl*>{cmbSearch, cmbReplace, txtSearch,
                                                                txtReplace})
    field->SetBounds(field->Left(), field->Top(), width, field->Height());
}

// ---- Options -----------------------------------------------------------------------------

void TfrmMain::UpdateSearchOptions() {
  const TSearchPanelEnables enables = SearchPanelEnables(PanelChecks(*this));
  for (const char* name : OptionBoxes) Find<TWinControl>(name)->SetEnabled(true);
  Find<TWinControl>("chkSearchUseRegExpr")->SetEnabled(enables.UseRegExpr);
  Find<TWinControl>("chkSearchWholeWords")->SetEnabled(enables.WholeWords);
  for (const char* name : {"rbSearchForwards", "rbSearchBackwards", "chkSearchFromTop",
                           "chkSearchReplaceAllInSel"})
    Find<TWinControl>(name)->SetEnabled(enables.SingleHitOptions);
  Find<TWinControl>("chkSearchShowInTab")->SetEnabled(enables.ShowInTab);
  Find<TWinControl>("chkSearchFromTop")
      ->SetCaption(Checked(*this, "rbSearchForwards")
                       ? GetLangText("Main|chkSearchFromTop", "Am Textanfang beginnen")
                       : GetLangText("Main|chkSearchFromTopBottom", "Am Textende beginnen"));
  const bool multiLine = Checked(*this, "chkSearchMultiLine");
  cmbSearch->SetVisible(!multiLine);
  cmbReplace->SetVisible(!multiLine);
  txtSearch->SetVisible(multiLine);
  txtReplace->SetVisible(multiLine);
  const bool escapes = Checked(*this, "chkSearchReplaceEscape");
  const TCodeEdit* editor = GetActiveEditor();
  Find<TWinControl>("btnReplaceSel")->SetEnabled(editor ? escapes || editor->SelAvail() : !escapes);
}

void TfrmMain::chkSearchMultiLineClick(TObject*) {
  UpdateSearchOptions();
  TWinControl* replaceField = nullptr;
  // As typed: a character the code page lacks must still be refused when searched for.
  if (Checked(*this, "chkSearchMultiLine")) {
    txtSearch->SetCaptionFrom(*cmbSearch);
    txtReplace->SetCaptionFrom(*cmbReplace);
    replaceField = txtReplace;
  } else {
    cmbSearch->SetCaptionFrom(*txtSearch, true);
    cmbReplace->SetCaptionFrom(*txtReplace, true);
    replaceField = cmbReplace;
  }
  auto* label = Find<TWinControl>("lblReplace");
  label->SetBounds(label->Left(), replaceField->Top() + 3, label->Width(), label->Height());
  auto* bottom = Find<TWinControl>("pnlSearchBottom");
  bottom->SetBounds(bottom->Left(), replaceField->Top() + replaceField->Height() + 4,
                    bottom->Width(), bottom->Height());
  // Below the taller fields the options would be cut off, and still take the focus unseen:
  // the panel grows to show them.
  const RECT page = Find<TWinControl>("tabSearch")->ClientRect();
  const int missing = bottom->Top() + bottom->Height() - page.bottom;
  if (missing > 0) pcBottom->SetHeight(pcBottom->Height() + missing);
}

// ---- Searching and replacing -------------------------------------------------------------

void TfrmMain::mnuEditSearchNextClick(TObject*) { RepeatSearch(true); }

void TfrmMain::mnuEditSearchPrevClick(TObject*) { RepeatSearch(false); }

void TfrmMain::btnSearchClick(TObject*) {
  auto* button = Find<TButton>("btnSearch");
  // A run in progress takes the click as a cancel request and never starts a second run.
  if (button->Tag() != Idle) {
    if (button->Tag() == Running) button->SetTag(CancelRequested);
    return;
  }
  TfraEdit* frame = GetActiveFrame();
  if (!frame || !frame->seEdit) return;
  TLocalSearchReplace& S = LocalSearchReplace;
  S.Found = false;
  S.ErrorShown = false;
  const TPanelOptions options = ReadOptions(*this);
  std::string searchText;
  if (!ReadPanelText(*this, options.MultiLine, false, searchText)) return;
  S.SearchText = searchText;
  if (options.MultiLine) {
    S.ReplaceText = txtReplace->Text();
  } else {
    AddToSearchMRU(S.SearchText);
    S.ReplaceText = cmbReplace->Text();
  }
  if (S.SearchText.empty()) return;

  {
    TPanelBusy busy(*this, "btnReplaceAll");
    SetSearchFlags(options);
    TCodeEdit& editor = *frame->seEdit;
    if (options.FromTop) {
      editor.SetSelStart(S.Backwards ? static_cast<int>(editor.TextLength()) : 0);
      Find<TCheckBox>("chkSearchFromTop")->SetChecked(false);
    }
    if (!S.ShowInTab) {
      RepeatSearch(true);
      if (S.Found && Settings.General.SearchFocusEditor) editor.SetFocus();
      else button->SetFocus();
    } else {
      // Listings let messages through: the button then cancels instead of starting again.
      TRunMarker marker(*button, "Main|btnSearchCancel", "Abbrechen", "Main|btnSearch", "Suchen");
      if (S.AllFiles) {
        SearchAllDocuments();
      } else {
        // Read before the listing takes the key-ups from the queue.
        const bool ctrlHeld = IsCtrlDown();
        lvResults->Clear();
        SearchDocument(frame, FrameTabIndex(frame));
        if (lvResults->Count() > 0) ShowResultsList(*lvResults, ctrlHeld);
      }
    }
    if (!S.Found && !S.ErrorShown && Settings.General.SearchNotFoundMsg)
      MsgBox(GetLangText("Main|MsgSearchNoFoundText", "Der Suchbegriff wurde nicht gefunden."),
             GetLangText("Main|MsgSearchTitle", "Suchen"), MB_OK | MB_ICONINFORMATION);
  }
}

void TfrmMain::btnReplaceSelClick(TObject*) {
  TCodeEdit* editor = GetActiveEditor();
  if (!CanWriteDocument(editor)) return;
  const TPanelOptions options = ReadOptions(*this);
  // The search for the next hit reads the search text and its expression: they are checked
  // too before anything changes.
  std::string searchText, typed, replacement;
  if (!ReadPanelText(*this, options.MultiLine, false, searchText) ||
      !SearchExpressionCompiles(searchText, options) ||
      !ReadPanelText(*this, options.MultiLine, true, typed) ||
      !ExpandReplacement(typed, options.ReplaceEscape, replacement))
    return;
  {
    codeeditscopes::TUndoBlock block(editor->UndoList());
    editor->SetSelText(replacement);
  }
  if (!options.MultiLine) AddToReplaceMRU(typed);
  Find<TButton>("btnSearch")->Click();
}

void TfrmMain::btnReplaceAllClick(TObject*) {
  auto* button = Find<TButton>("btnReplaceAll");
  if (button->Tag() != Idle) {
    if (button->Tag() == Running) button->SetTag(CancelRequested);
    return;
  }
  TfraEdit* frame = GetActiveFrame();
  if (!frame || !frame->seEdit) return;
  const TPanelOptions options = ReadOptions(*this);
  std::string searchText, typed, replacement;
  if (!ReadPanelText(*this, options.MultiLine, false, searchText) ||
      !ReadPanelText(*this, options.MultiLine, true, typed) ||
      !ExpandReplacement(typed, options.ReplaceEscape, replacement))
    return;
  const int selStart = frame->seEdit->SelStart(), selLength = frame->seEdit->SelLength();

  TRunMarker marker(*button);
  TPanelBusy busy(*this, "btnSearch");
  if (!options.MultiLine) {
    AddToSearchMRU(searchText);
    AddToReplaceMRU(typed);
  }
  LocalSearchReplace.SearchText = searchText;
  LocalSearchReplace.ReplaceText = typed;
  SetSearchFlags(options);
  THourglass hourglass;
  try {
    if (options.AllFiles)
      ReplaceInAllDocuments(*this, *button, replacement);
    else
      ReplaceAllInEditor(*frame->seEdit, LocalSearchReplace, replacement, options.ReplaceAllInSel);
  } catch (const ERegex& E) {
    // The editor that ran away has its selection back already.
    ReportRegexError(E);
  } catch (const std::exception& E) {
    if (StillOpen(*pcEdit, frame)) {
      frame->seEdit->SetSelStart(selStart);
      frame->seEdit->SetSelLength(selLength);
    }
    Application().ShowException(E);
  }
  if (TCodeEdit* editor = GetActiveEditor()) {
    editor->Repaint();
    editor->EnsureCursorPosVisible();
  }
}

// ---- Results list ------------------------------------------------------------------------

void TfrmMain::lvResultsClick(TObject*) {
  if (TListItem* row = lvResults->Selected()) JumpToResult(*row, IsCtrlDown());
}

void TfrmMain::lvResultsChange(TObject*) {
  if (TListItem* row = lvResults->Selected()) ShowResult(*row);
  lblResultState->SetCaption(
      GetLangText("Main|lblResultState", "%s1% Treffer", IntToStr(lvResults->Count())));
}

// ---- The fields' edit menu ---------------------------------------------------------------

namespace {

// The panel field that has the focus: an edit field, or the field of a combo box.
struct TFocusedField {
  HWND Edit = nullptr;
  bool Combo = false;
};

TFocusedField FocusedPanelField(const TfrmMain& Form) {
  const HWND focus = GetFocus();
  for (TComboBox* combo : {Form.cmbSearch, Form.cmbReplace})
    if (focus && focus == combo->EditHandle()) return {focus, true};
  for (TEdit* field : {Form.txtSearch, Form.txtReplace})
    if (focus && focus == field->Handle()) return {focus, false};
  return {};
}

}  // namespace

void TfrmMain::pmnuSREditPopup(TObject*) {
  struct Item {
    const char* Name;
    const char* Model;
  };
  for (Item item : {Item{"pmnuSREditCopy", "mnuEditCopy"}, Item{"pmnuSREditPaste", "mnuEditPaste"},
                    Item{"pmnuSREditCut", "mnuEditCut"}}) {
    auto* target = Find<TMenuItem>(item.Name);
    const auto* model = Find<TMenuItem>(item.Model);
    target->SetCaption(model->Caption());
    target->SetShortCut(model->ShortCut());
  }
  const TFocusedField field = FocusedPanelField(*this);
  DWORD start = 0, end = 0;
  if (field.Edit)
    SendMessageA(field.Edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
  const bool readOnly =
      field.Edit && !field.Combo && (GetWindowLongA(field.Edit, GWL_STYLE) & ES_READONLY) != 0;
  const bool copy = field.Edit && end > start;
  Find<TMenuItem>("pmnuSREditCopy")->SetEnabled(copy);
  Find<TMenuItem>("pmnuSREditCut")->SetEnabled(copy && !readOnly);
  Find<TMenuItem>("pmnuSREditPaste")
      ->SetEnabled(field.Edit && !readOnly && Clipboard().HasFormat(CF_TEXT));
}

void TfrmMain::pmnuSREditCutClick(TObject*) {
  if (HWND edit = FocusedPanelField(*this).Edit) SendMessageA(edit, WM_CUT, 0, 0);
}

void TfrmMain::pmnuSREditCopyClick(TObject*) {
  if (HWND edit = FocusedPanelField(*this).Edit) SendMessageA(edit, WM_COPY, 0, 0);
}

void TfrmMain::pmnuSREditPasteClick(TObject*) {
  if (HWND edit = FocusedPanelField(*this).Edit) SendMessageA(edit, WM_PASTE, 0, 0);
}

// ---- Incremental search ------------------------------------------------------------------

void TfrmMain::mnuSearchIncremtalSearchClick(TObject*) {
  if (txtIncSearch->Visible() && txtIncSearch->Enabled()) txtIncSearch->SetFocus();
}

void TfrmMain::txtIncSearchChange(TObject*) {
  IncrementalSearch(false, false);
  txtIncSearch->Invalidate();
}

void TfrmMain::IncrementalSearch(bool Next, bool Backwards) {
  TCodeEdit* editor = GetActiveEditor();
  if (!editor) return;
  std::string text;
  // Typing on in a refused text says so once, not at every key; Enter asks again.
  const std::string fieldName = GetLangText("Main|mnuSearchIncremtalSearch", "Inkrementelle Suche");
  const bool exact = incSearchRefused_ && !Next ? txtIncSearch->ExactCaption(text)
                                                : ReadSearchField(*txtIncSearch, fieldName, text);
  incSearchRefused_ = !exact;
  const bool found = exact && IncrementalSearchIn(*editor, text, Next, Backwards);
  incSearchBackground_->SetColor(found ? CLR_INVALID : IncSearchMissColor);
}
