#include "dialogs/formOpenFast.h"
#include <commctrl.h>
#include "commands/fHlpMainSearch.h"
#include "documents/fHlpMain.h"
#include "documents/fLanguage.h"
#include "foundation/Regex.h"
#include "foundation/fMain.h"
#include "rtl/StringList.h"
#include "rtl/SysUtils.h"
#include "toolkit/Application.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Controls.h"
#include "toolkit/Cursor.h"
#include "toolkit/Dialogs.h"
#include "toolkit/FolderDialog.h"
#include "toolkit/GroupBox.h"
#include "toolkit/ListView.h"
#include "toolkit/MessageHook.h"
#include "toolkit/PageControl.h"

namespace {

const char* const kTitle = "Dateien suchen";
constexpr int kClientWidth = 565;
constexpr int kClientHeight = 508;
constexpr int kHistoryLimit = 30;
constexpr int kOpenLimit = 100;
constexpr int kAskLimit = 20;

void CutList(TStringList& List) {
  while (List.Count() > kHistoryLimit) List.Delete(List.Count() - 1);
}

void FillFromList(TComboBox& Box, TStringList& List) {
  CutList(List);
  Box.Clear();
  for (int i = 0; i < List.Count(); ++i) Box.AddItem(List[i]);
  if (Box.Count() > 0) Box.SetItemIndex(0);
}

std::string CountText(size_t Count) { return std::to_string(Count); }

// A folder whose name the code page cannot hold is not offered: its look-alike is where a
// replace would then write.
std::string CurrentFolder() {
  std::string folder;
  return ExpandFileNameExact(".", folder) ? folder : std::string();
}

}  // namespace

TfrmOpenFast::TfrmOpenFast(TComponent* Owner)
    : TForm(Owner, {kTitle, kClientWidth, kClientHeight, WS_POPUP | WS_CAPTION | WS_SYSMENU,
                    WS_EX_DLGMODALFRAME, true}) {
  CreateControls();
  FormCreate();
}

TfrmOpenFast::~TfrmOpenFast() = default;

void TfrmOpenFast::CreateControls() {
  RECT frame = {0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, WS_POPUP | WS_CAPTION | WS_SYSMENU, FALSE, WS_EX_DLGMODALFRAME);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  SetBounds(Left(), Top(), width, height);  // shown modally, it opens over its opener

  grpFiles = Make<TGroupBox>("grpFiles", this, 8, 6, 549, 122);
  lblMask = Make<TLabel>("lblMask", this, 18, 26, 150, 16);
  cmbMask = Make<TComboBox>("cmbMask", this, 170, 22, 376, 200, TComboBoxStyle::csDropDown);
  lblDir = Make<TLabel>("lblDir", this, 18, 56, 150, 16);
  cmbDir = Make<TComboBox>("cmbDir", this, 170, 52, 320, 200, TComboBoxStyle::csDropDown);
  btnDirSel = Make<TButton>("btnDirSel", this, 494, 51, 25, 23);
  btnActFolder = Make<TButton>("btnActFolder", this, 521, 51, 25, 23);
  chkUseSubDirs = Make<TCheckBox>("chkUseSubDirs", this, 170, 88, 376, 20);
  btnDirSel->SetCaption("...");
  btnActFolder->SetCaption(".");

  pcSR = Make<TPageControl>("pcSR", this);
  pcSR->SetBounds(8, 136, 549, 170);
  tabSearch = pcSR->AddPage("tabSearch");
  tabReplace = pcSR->AddPage("tabReplace");
  lblSearch = Make<TLabel>("lblSearch", tabSearch, 8, 12, 110, 16);
  cmbSearch = Make<TComboBox>("cmbSearch", tabSearch, 120, 8, 412, 200, TComboBoxStyle::csDropDown);
  txtSearch = Make<TEdit>("txtSearch", tabSearch, 120, 8, 412, 56,
                          ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL);
  chkCaseSensitive = Make<TCheckBox>("chkCaseSensitive", tabSearch, 120, 68, 300, 18);
  chkWholeWords = Make<TCheckBox>("chkWholeWords", tabSearch, 120, 86, 300, 18);
  chkUseRegExpr = Make<TCheckBox>("chkUseRegExpr", tabSearch, 120, 104, 300, 18);
  chkMultiLine = Make<TCheckBox>("chkMultiLine", tabSearch, 120, 122, 300, 18);
  btnSearch = Make<TButton>("btnSearch", tabSearch, 432, 110, 100, 25);
  lblReplace = Make<TLabel>("lblReplace", tabReplace, 8, 12, 110, 16);
  cmbReplace = Make<TComboBox>("cmbReplace", tabReplace, 120, 8, 412, 200, TComboBoxStyle::csDropDown);
  txtReplace = Make<TEdit>("txtReplace", tabReplace, 120, 8, 412, 56,
                           ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL);
  chkReplaceEscape = Make<TCheckBox>("chkReplaceEscape", tabReplace, 120, 68, 300, 18);
  chkReplaceSelectedOnly = Make<TCheckBox>("chkReplaceSelectedOnly", tabReplace, 120, 86, 300, 18);
  btnReplace = Make<TButton>("btnReplace", tabReplace, 432, 110, 100, 25);

  lblFiles = Make<TLabel>("lblFiles", this, 8, 314, 549, 16);
  lstFiles = Make<TListView>("lstFiles", this, 8, 332, 549, 134);
  lstFiles->AddColumn("", 525);
  lstFiles->SetReadOnly(true);
  lstFiles->SetMultiSelect(true);
  lstFiles->SetRowSelect(true);
  lstFiles->SetHideSelection(false);
  SetWindowLongPtrA(lstFiles->Handle(), GWL_STYLE,
                    GetWindowLongPtrA(lstFiles->Handle(), GWL_STYLE) | LVS_NOCOLUMNHEADER);
  btnOpen = Make<TButton>("btnOpen", this, 239, 474, 100, 25, true);
  btnOpenAll = Make<TButton>("btnOpenAll", this, 348, 474, 100, 25);
  btnCancel = Make<TButton>("btnCancel", this, 457, 474, 100, 25);
  btnCancel->SetModalResult(mrCancel);

  btnSearch->OnClick = [this](TObject* s) { btnSearchClick(s); };
  btnReplace->OnClick = [this](TObject* s) { btnReplaceClick(s); };
  btnOpen->OnClick = [this](TObject*) { OpenClick(false, mrOk); };
  btnOpenAll->OnClick = [this](TObject*) { OpenClick(true, mrYes); };
  chkWholeWords->OnClick = [this](TObject*) { UpdateOptionControls(); };
  chkUseRegExpr->OnClick = [this](TObject*) { UpdateOptionControls(); };
  chkMultiLine->OnClick = [this](TObject* s) { chkMultiLineClick(s); };
  pcSR->OnChange = [this](TObject* s) { pcSRChange(s); };
  btnActFolder->OnClick = [this](TObject*) { cmbDir->SetText(CurrentFolder()); };
  btnDirSel->OnClick = [this](TObject*) {
    std::string folder = ExecuteFolderDialog(
        Handle(), GetLangText("OpenFast|DlgFolderSelTitle", "Verzeichnis ausw\xE4hlen"), true);
    if (!folder.empty() && DirectoryExists(folder)) cmbDir->SetText(folder);
  };
  OnCloseQuery = [this](TObject*, bool& CanClose) { CanClose = !running_; };
  HookHistoryKeys(*cmbMask, nullptr);
  HookHistoryKeys(*cmbDir, nullptr);
  HookHistoryKeys(*cmbSearch, btnSearch);
  HookHistoryKeys(*cmbReplace, btnReplace);
}

void TfrmOpenFast::HookHistoryKeys(TComboBox& Box, TButton* EnterButton) {
  Box.OnKeyDown = [&Box](WORD& Key, TShiftState Shift) {
    if (Key == VK_DELETE && Shift.Contains(TShift::ssShift) && Box.ItemIndex() >= 0) {
      Box.Delete(Box.ItemIndex());
      Key = 0;
    }
  };
  if (!EnterButton) return;
  // Enter is the field's own: the dialog's default button would close it first.
  TakeDialogKeys(this, Box.EditHandle(), {VK_RETURN});
  // Taken as a character, so the field never sees it (a one-line field beeps at it).
  Box.OnKeyPress = [EnterButton](char& Key) {
    if (Key != '\r') return;
    Key = 0;
    if (EnterButton->Enabled()) EnterButton->Click();
  };
}

void TfrmOpenFast::FormCreate() {
  TranslateForm();
  pcSR->SetActivePage(tabSearch);
  btnReplace->SetEnabled(false);
  TOpenFastSettings& s = Settings.OpenFast;
  FillFromList(*cmbMask, s.MaskMRU);
  FillFromList(*cmbDir, s.DirMRU);
  FillFromList(*cmbSearch, s.SearchMRU);
  FillFromList(*cmbReplace, s.ReplaceMRU);
  chkUseSubDirs->SetChecked(s.IncludeSubDirs);
  chkCaseSensitive->SetChecked(s.CaseSensitive);
  chkWholeWords->SetChecked(s.WholeWords);
  chkUseRegExpr->SetChecked(s.UseRegExpr);
  chkReplaceEscape->SetChecked(s.ReplaceEscape);
  chkReplaceSelectedOnly->SetChecked(s.ReplaceSelectedOnly);
  chkMultiLine->SetChecked(s.MultiLine);
  txtSearch->SetText(cmbSearch->Text());
  txtReplace->SetText(cmbReplace->Text());
  multiLine_ = s.MultiLine;
  UpdateOptionControls();
}

void TfrmOpenFast::TranslateForm() {
  ApplyFormFont(*this);
  ApplyFormTexts(*this, {
      {TFormText::Caption, "", "OpenFast|Title", kTitle},
      {TFormText::Caption, "grpFiles", "OpenFast|grpFiles", "Dateien"},
      {TFormText::Caption, "lblMask", "OpenFast|lblMask", "Dateiname / Maske:"},
      {TFormText::Caption, "lblDir", "OpenFast|lblDir", "Verzeichnis:"},
      {TFormText::Caption, "chkUseSubDirs", "OpenFast|chkUseSubDirs", "Unterverzeichnisse einbeziehen"},
      {TFormText::Hint, "btnDirSel", "OpenFast|btnDirSel", "Verzeichnis ausw\xE4hlen..."},
      {TFormText::Hint, "btnActFolder", "OpenFast|btnActFolder", "Aktuelles Verzeichnis"},
      {TFormText::Caption, "lblSearch", "OpenFast|lblSearch", "Suchen nach:"},
      {TFormText::Caption, "chkCaseSensitive", "OpenFast|chkCaseSensitive", "Gro\xDF-/Kleinschreibung beachten"},
      {TFormText::Caption, "chkWholeWords", "OpenFast|chkWholeWords", "Nur nach ganzen W\xF6rtern suchen"},
      {TFormText::Caption, "chkUseRegExpr", "OpenFast|chkUseRegExpr", "Regul\xE4re Ausdr\xFC" "cke verwenden"},
      {TFormText::Caption, "chkMultiLine", "OpenFast|chkMultiLine", "Mehrzeilige Suche"},
      {TFormText::Caption, "btnSearch", "OpenFast|btnSearch", "Suchen"},
      {TFormText::Caption, "lblReplace", "OpenFast|lblReplace", "Ersetzen mit:"},
      {TFormText::Caption, "chkReplaceEscape", "OpenFast|chkReplaceEscape", "Ersetzen mit Escape-Zeichen"},
      {TFormText::Caption, "chkReplaceSelectedOnly", "OpenFast|chkReplaceSelectedOnly",
       "Ersetzen nur in ausgew\xE4hlten Dateien"},
      {TFormText::Caption, "btnReplace", "OpenFast|btnReplace", "Ersetzen"},
      {TFormText::Caption, "lblFiles", "OpenFast|lblFiles", "Gefundene Dateien:"},
      {TFormText::Caption, "btnOpen", "OpenFast|btnOpen", "\xD6" "ffnen"},
      {TFormText::Caption, "btnOpenAll", "OpenFast|btnOpenAll", "Alle \xF6" "ffnen"},
      {TFormText::Caption, "btnCancel", "OpenFast|btnCancel", "Abbrechen"},
  });
  // The pages belong to the page control, not to the form.
  tabSearch->SetCaption(GetLangText("OpenFast|tabSearch", "Suchen in Dateien"));
  tabReplace->SetCaption(GetLangText("OpenFast|tabReplace", "Ersetzen in Dateien"));
}

void TfrmOpenFast::UpdateOptionControls() {
  chkUseRegExpr->SetEnabled(!chkWholeWords->Checked());
  chkWholeWords->SetEnabled(!chkUseRegExpr->Checked());
  const bool multi = chkMultiLine->Checked();
  cmbSearch->SetVisible(!multi);
  cmbReplace->SetVisible(!multi);
  txtSearch->SetVisible(multi);
  txtReplace->SetVisible(multi);
}

void TfrmOpenFast::chkMultiLineClick(TObject*) {
  const bool multi = chkMultiLine->Checked();
  if (multi != multiLine_) {
    // As typed: a character the code page lacks must still be refused when searched for.
    if (multi) {
      txtSearch->SetCaptionFrom(*cmbSearch);
      txtReplace->SetCaptionFrom(*cmbReplace);
    } else {
      cmbSearch->SetCaptionFrom(*txtSearch, true);
      cmbReplace->SetCaptionFrom(*txtReplace, true);
    }
    multiLine_ = multi;
  }
  UpdateOptionControls();
}

void TfrmOpenFast::pcSRChange(TObject*) {
  if (!running_) btnReplace->SetEnabled(lstFiles->Count() > 0);
}

void TfrmOpenFast::AddToHistory(const std::string& Text, TComboBox& Box, TStringList& List) {
  if (Text.empty()) return;
  for (int i = Box.Count() - 1; i >= 0; --i)
    if (AnsiCompareText(Box.Items(i), Text) == 0) Box.Delete(i);
  std::vector<std::string> items{Text};
  for (int i = 0; i < Box.Count(); ++i) items.push_back(Box.Items(i));
  Box.Clear();
  List.Clear();
  for (const std::string& item : items) {
    Box.AddItem(item);
    List.Add(item);
  }
  Box.SetText(Text);
  CutList(List);
}

bool TfrmOpenFast::ReadSearchText(std::string& Text) const {
  if (chkMultiLine->Checked()) return ReadSearchField(*txtSearch, *lblSearch, Text);
  return ReadSearchField(*cmbSearch, *lblSearch, Text);
}

bool TfrmOpenFast::ReadReplaceText(std::string& Text) const {
  if (chkMultiLine->Checked()) return ReadSearchField(*txtReplace, *lblReplace, Text);
  return ReadSearchField(*cmbReplace, *lblReplace, Text);
}

TFindInFilesOptions TfrmOpenFast::Options() const {
  return {chkCaseSensitive->Checked(), chkWholeWords->Checked(), chkUseRegExpr->Checked()};
}

void TfrmOpenFast::StoreSearchOptions() {
  TOpenFastSettings& s = Settings.OpenFast;
  s.IncludeSubDirs = chkUseSubDirs->Checked();
  s.CaseSensitive = chkCaseSensitive->Checked();
  s.WholeWords = chkWholeWords->Checked();
  s.UseRegExpr = chkUseRegExpr->Checked();
  s.MultiLine = chkMultiLine->Checked();
}

std::vector<std::string> TfrmOpenFast::Files(bool SelectedOnly) const {
  std::vector<std::string> files;
  for (int i = 0; i < lstFiles->Count(); ++i) {
    TListItem* item = lstFiles->Items(i);
    if (!SelectedOnly || item->Selected()) files.push_back(item->Caption());
  }
  return files;
}

void TfrmOpenFast::SetFiles(const std::vector<std::string>& Files) {
  lstFiles->Clear();
  for (const std::string& file : Files) lstFiles->AddItem(file);
}

void TfrmOpenFast::OpenClick(bool All, int Result) {
  if (running_) return;
  const size_t count = All ? static_cast<size_t>(lstFiles->Count()) : Files(true).size();
  if (count > kOpenLimit) {
    MsgBox(GetLangText("OpenFast|MsgToManyText",
                       "Es wurden %s1% Dateien gefunden.%w%Bitte geben Sie eine konkretere "
                       "Dateimaske an.", LangParams({CountText(count)})),
           GetLangText("OpenFast|MsgToManyTitle", "Zu viele Dateien gefunden"),
           MB_ICONWARNING | MB_OK);
    return;
  }
  if (count > kAskLimit &&
      MsgBox(GetLangText("OpenFast|MsgManyText",
                         "Es wurden %s1% Dateien gefunden.%w%Das \xD6" "ffnen kann einige Zeit in "
                         "Anspruch nehmen.%w%M\xF6" "chten Sie dennoch alle Dateien \xF6" "ffnen?",
                         LangParams({CountText(count)})),
             GetLangText("OpenFast|MsgManyTitle", "Viele Dateien gefunden"),
             MB_ICONQUESTION | MB_YESNO) != IDYES)
    return;
  SetModalResult(Result);
}

// ---- Runs: search and replace with a cancel button ----------------------------------------

std::vector<TWinControl*> TfrmOpenFast::RunLockedControls() const {
  // The page control itself stays enabled: a disabled parent would make its pages' running
  // button unreachable.
  return {grpFiles,         cmbMask,       cmbDir,           btnDirSel,        btnActFolder,
          chkUseSubDirs,    cmbSearch,     txtSearch,        chkCaseSensitive, chkWholeWords,
          chkUseRegExpr,    chkMultiLine,  btnSearch,        cmbReplace,       txtReplace,
          chkReplaceEscape, chkReplaceSelectedOnly, btnReplace, lstFiles,       btnOpen,
          btnOpenAll,       btnCancel};
}

void TfrmOpenFast::BeginRun(TButton& Button) {
  running_ = true;
  cancelMark_ = 1;
  runningButton_ = &Button;
  runningCaption_ = Button.Caption();
  Button.SetCaption(GetLangText("OpenFast|btnCancel", "Abbrechen"));
  focusBeforeRun_ = FocusedControl();
  for (TWinControl* control : RunLockedControls())
    if (control != &Button) control->SetEnabled(false);
  // A disabled field drops the focus: the keys would reach no control, not even to cancel.
  if (focusBeforeRun_) SetActiveControl(&Button);
  Button.OnClick = [this](TObject*) {
    if (cancelMark_ == 1) cancelMark_ = -1;
  };
}

void TfrmOpenFast::EndRun() {
  TButton& button = *runningButton_;
  button.SetCaption(runningCaption_);
  for (TWinControl* control : RunLockedControls()) control->SetEnabled(true);
  UpdateOptionControls();
  btnReplace->SetEnabled(lstFiles->Count() > 0);
  if (&button == btnSearch)
    button.OnClick = [this](TObject* s) { btnSearchClick(s); };
  else
    button.OnClick = [this](TObject* s) { btnReplaceClick(s); };
  running_ = false;
  cancelMark_ = 0;
  runningButton_ = nullptr;
  if (focusBeforeRun_) ReturnFocusTo(focusBeforeRun_);
  focusBeforeRun_ = nullptr;
  // Escape during the run must not close the dialog afterwards.
  SetModalResult(mrNone);
}

bool TfrmOpenFast::CancelRequested() {
  Application().ProcessMessages();
  return cancelMark_ == -1;
}

void TfrmOpenFast::ShowRegexError(const ERegex& Error) {
  MsgBox(RegexErrorText(Error),
         GetLangText("OpenFast|MsgRegExprErrorTitle", "Regul\xE4rer Ausdruck"),
         MB_ICONERROR | MB_OK);
}
