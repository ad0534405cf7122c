#include "dialogs/formSettings.h"
#include <algorithm>
#include "commands/Templates.h"
#include "dialogs/ShellIntegration.h"
#include "dialogs/formPgSetup.h"
#include "documents/MainWindowParts.h"
#include "documents/StoreGuard.h"
#include "documents/XmlDoc.h"
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"
#include "documents/fHlpMainFuncs.h"
#include "documents/fLanguage.h"
#include "documents/frameEdit.h"
#include "foundation/fMain.h"
#include "rtl/SysUtils.h"
#include <commctrl.h>
#include "toolkit/CheckListBox.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Dialogs.h"
#include "toolkit/EditListView.h"
#include "toolkit/PageControl.h"
#include "toolkit/PrintDialogs.h"
#include "toolkit/ProgramStart.h"
#include "toolkit/UpDown.h"

namespace {
constexpr int kRow = 19;
constexpr int kColumn = 206;  // three columns fit the page

struct TCheckBinding {
  const char* Name;
  const char* Caption;
  bool* Field;
};
struct TUpDownBinding {
  const char* Name;  // without prefix: "ud", "txt" and "lbl" + Name
  const char* Caption;
  TSettingRange Range;
  int Digits;
  int32_t* Field;
};
struct TTextBinding {
  const char* Name;
  std::string* Field;
};

// The check boxes in the order they are stored; a null name starts the next column.
const std::vector<TCheckBinding>& CheckBindings(int Page) {
  auto& g = Settings.General;
  auto& e = Settings.Editor;
  static const std::vector<TCheckBinding> general = {
      {"chkShowSplashScreen", "Startbild anzeigen", &g.ShowSplashScreen},
      {"chkSaveFileOnExec", "Vor dem Ausf\xFChren speichern", &g.SaveFileOnExec},
      {"chkOpenBinWarn", "Warnung bei Bin\xE4rdateien", &g.OpenBinWarn},
      {"chkOpenSizeWarn", "Warnung bei gro\xDF" "en Dateien", &g.OpenSizeWarn},
      {"", "size", nullptr},  // the row of the size below its check box
      {"chkAutoReadOnly", "Schreibgesch\xFCtzt \xF6" "ffnen", &g.AutoReadOnly},
      {"chkBackup", "Sicherungskopien anlegen", &g.BackupEnabled},
      {"chkBackupAuto", "Automatisch sichern", &g.BackupAuto},
      {"chkBackupOvr", "Sicherung \xFC" "berschreiben", &g.BackupOvr},
      {"", "extension", nullptr},
      {"chkBackupReplaceExt", "Endung ersetzen", &g.BackupReplaceExt},
      {"chkMinimizeLastDocClosed", "Minimieren nach letztem Dokument", &g.MinimizeLastDocClosed},
      {"chkCloseWithESC", "Mit ESC beenden", &g.CloseWithESC},
      {"chkHideDocSearchOnStartup", "Dokumentsuche beim Start verbergen", &g.HideDocSearchOnStartup},
      {nullptr, nullptr, nullptr},
      {"chkSearchFocusEditor", "Nach Suche Fokus im Editor", &g.SearchFocusEditor},
      {"chkSearchNotFoundMsg", "Meldung wenn nicht gefunden", &g.SearchNotFoundMsg},
      {"chkSearchShowHits", "Anzahl der Treffer zeigen", &g.SearchShowHits},
      {"chkSearchContinue", "Am Anfang fortsetzen", &g.SearchContinue},
      {"chkSearchContinueQuery", "Vor dem Fortsetzen fragen", &g.SearchContinueQuery},
      {"chkChangeNotify", "Bei \xC4nderungen benachrichtigen", &g.ChangeNotify},
      {"chkChangeNotifyAutoReload", "Automatisch neu laden", &g.ChangeNotifyAutoReload},
      {"chkChangeNotifyCursorAtEnd", "Cursor ans Ende setzen", &g.ChangeNotifyCursorAtEnd},
      {"chkOpenTrimTrailingSpaces", "Beim \xD6" "ffnen Leerzeichen k\xFCrzen", &g.OpenTrimTrailingSpaces},
      {"chkSaveTrimTrailingSpaces", "Beim Speichern Leerzeichen k\xFCrzen", &g.SaveTrimTrailingSpaces},
      {"chkTitleShowFullPath", "Vollen Pfad im Titel", &g.TitleShowFullPath},
      {"chkTitleShowChanged", "\xC4nderung im Titel zeigen", &g.TitleShowChanged},
      {nullptr, nullptr, nullptr},
      {"chkParamIgnoreNotExistingFiles", "Fehlende Dateien \xFC" "bergehen", &g.ParamIgnoreNotExistingFiles},
      {"chkOpenLastDocsAtStartup", "Letzte Dokumente \xF6" "ffnen", &g.OpenLastDocsAtStartup},
      {"chkAddLastDocsToOpened", "Zu \xFC" "bergebenen hinzuf\xFCgen", &g.AddLastDocsToOpened},
      {"chkOpenLastDocsNoPos", "Ohne Cursorposition", &g.OpenLastDocsNoPos},
      {"chkSessionRestoreNoPos", "Sitzungen ohne Position", &g.SessionRestoreNoPos},
      {"chkCloseMultiDocs", "Mehrere Dokumente schlie\xDF" "en", &g.CloseMultiDocs},
      {"chkNoFileMultiLoad", "Dateien nicht doppelt laden", &g.NoFileMultiLoad},
      {"chkShowSaveDlg", "Speichern-Dialog zeigen", &g.ShowSaveDlg},
      {"chkAddToRecentFiles", "Zu \"Dokumente\" hinzuf\xFCgen", &g.AddToRecentFiles},
  };
  static const std::vector<TCheckBinding> editor = {
      {"chkWordWrap", "Zeilenumbruch", &e.WordWrap},
      {"chkShowSpecialChars", "Steuerzeichen anzeigen", &e.ShowSpecialChars},
      {"chkTabsToSpaces", "Tabulatoren als Leerzeichen", &e.TabsToSpaces},
      {"chkSmartTabs", "Intelligente Tabulatoren", &e.SmartTabs},
      {"chkAutoIndent", "Automatisch einr\xFC" "cken", &e.AutoIndent},
      {"chkTabIndent", "Bl\xF6" "cke mit Tab einr\xFC" "cken", &e.TabIndent},
      {"chkScrollPastEOL", "\xDC" "ber Zeilenende hinaus", &e.ScrollPastEOL},
      {"chkScrollPastEOF", "\xDC" "ber Dateiende hinaus", &e.ScrollPastEOF},
      {"chkEnhanceHomeEndKey", "Erweiterte Pos1/Ende-Tasten", &e.EnhanceHomeEndKey},
      {"chkTrimTrailingSpaces", "Leerzeichen am Ende k\xFCrzen", &e.TrimTrailingSpaces},
      {"chkSelectBlockWithAlt", "Blockauswahl mit Alt", &e.SelectBlockWithAlt},
      {"chkBracketsHighlight", "Klammern hervorheben", &e.BracketsHighlight},
      {"chkOvrModeAsDef", "\xDC" "berschreibmodus als Vorgabe", &e.OvrModeAsDef},
      {nullptr, nullptr, nullptr},
      {"chkReplaceHtmlNamedChars", "HTML-Zeichen ersetzen", &e.ReplaceHtmlNamedChars},
      {"chkReplaceHtmlNamedCharsUnicode", "Als Zahlen (Unicode)", &e.ReplaceHtmlNamedCharsUnicode},
      {"chkBrackAC", "Klammern automatisch schlie\xDF" "en", &e.BracketsAuto},
  };
  static const std::vector<TCheckBinding> view = {
      {"chkShowGutter", "Randleiste anzeigen", &e.ShowGutter},
      {"chkShowLineNumbers", "Zeilennummern anzeigen", &e.ShowLineNumbers},
      {"chkUseAsciiFont", "ASCII-Schrift verwenden", &e.UseAsciiFont},
      {"chkActiveLineColor", "Aktive Zeile markieren", &e.ActiveLineMark},
      {"chkTabMultiLine", "Register mehrzeilig", &e.TabMultiLine},
  };
  static const std::vector<TCheckBinding> none;
  return Page == 0 ? general : Page == 2 ? editor : Page == 3 ? view : none;
}

const std::vector<TUpDownBinding>& UpDownBindings() {
  namespace R = SettingRanges;
  static const std::vector<TUpDownBinding> list = {
      {"OpenSizeWarn", "Ab", R::OpenSizeWarnMB, 2, &Settings.General.OpenSizeWarnMB},
      {"ReOpenListMaxItems", "Zuletzt verwendet:", R::OpenMRUMaxItems, 2, &Settings.General.OpenMRUMaxItems},
      {"RightEdge", "Rechter Rand:", R::RightEdge, 3, &Settings.Editor.RightEdge},
      {"TabWidth", "Tabulatorbreite:", R::TabWidth, 2, &Settings.Editor.TabWidth},
      {"LineSpacing", "Zeilenabstand:", R::ExtraLineSpacing, 2, &Settings.Editor.ExtraLineSpacing},
      {"MaxTabCaptionLen", "Registerl\xE4nge:", R::MaxTabCaptionLen, 3, &Settings.Editor.MaxTabCaptionLen},
  };
  return list;
}

const TUpDownBinding& UpDownBinding(const std::string& Name) {
  return *std::find_if(UpDownBindings().begin(), UpDownBindings().end(),
                       [&](const TUpDownBinding& u) { return u.Name == Name; });
}

const std::vector<TTextBinding>& TextBindings() {
  static const std::vector<TTextBinding> list = {
      {"txtBackupExt", &Settings.General.BackupExt},
      {"txtSpCharUserDef", &Settings.Editor.SpCharReplaceFile},
      {"txtAnsiFontName", &Settings.Editor.AnsiFontName},
      {"txtAsciiFontName", &Settings.Editor.AsciiFontName},
      {"txtBrackACStart", &Settings.Editor.BracketsAutoStart},
      {"txtBrackACClose", &Settings.Editor.BracketsAutoClose},
  };
  return list;
}

// Which controls follow which check box.
const std::vector<std::pair<const char*, std::vector<const char*>>>& Dependents() {
  static const std::vector<std::pair<const char*, std::vector<const char*>>> list = {
      {"chkShowGutter", {"chkShowLineNumbers"}},
      {"chkBackup", {"chkBackupAuto", "chkBackupOvr", "lblBackupExt", "txtBackupExt", "chkBackupReplaceExt"}},
      {"chkOpenSizeWarn", {"lblOpenSizeWarn", "txtOpenSizeWarn", "udOpenSizeWarn", "lbMB1"}},
      {"chkOpenLastDocsAtStartup", {"chkAddLastDocsToOpened", "chkOpenLastDocsNoPos"}},
      {"chkChangeNotify", {"chkChangeNotifyAutoReload", "chkChangeNotifyCursorAtEnd"}},
      {"chkReplaceHtmlNamedChars", {"chkReplaceHtmlNamedCharsUnicode"}},
      {"chkSearchContinue", {"chkSearchContinueQuery"}},
      {"chkBrackAC", {"lblBrackACStart", "txtBrackACStart", "lblBrackACClose", "txtBrackACClose"}},
      {"rbSpCharUserDef", {"tbSpCharUserDef"}},
  };
  return list;
}

std::string T(const std::string& Name, const std::string& German) {
  return GetLangText("Settings|" + Name, German);
}

// A font size typed as digits alone, within the range of font sizes.
bool ParseFontSize(const std::string& Text, int& Value) {
  const std::string t = Trim(Text);
  if (t.empty() || t.size() > 9) return false;
  for (unsigned char c : t)
    if (c < '0' || c > '9') return false;
  const int size = std::stoi(t);
  if (!SettingRanges::FontSize.Contains(size)) return false;
  Value = size;
  return true;
}
}  // namespace

namespace {
// A captioned frame that paints only its edge and caption: the system group box fills its
// inside black on a tab page under the test display's theme.
class TPageFrame : public TWinControl {
public:
  TPageFrame(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H) : TWinControl(Owner) {
    RegisterClassOnce("TarvolinePageFrame", 0, nullptr, nullptr);
    CreateHandle("TarvolinePageFrame", WS_CHILD | WS_VISIBLE, WS_EX_TRANSPARENT,
                 Parent ? Parent->Handle() : nullptr, X, Y, W, H);
  }

protected:
  LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override {
    if (Msg == WM_ERASEBKGND) return 1;
    if (Msg == WM_NCHITTEST) return HTTRANSPARENT;
    if (Msg != WM_PAINT) return TWinControl::WndProc(Msg, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    RECT r = ClientRect();
    r.top += 7;
    DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
    auto* form = dynamic_cast<TForm*>(Owner());
    HGDIOBJ old = SelectObject(dc, form ? form->Font().Handle() : GetStockObject(DEFAULT_GUI_FONT));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    std::string text = " " + Caption() + " ";
    TextOutA(dc, 8, 0, text.c_str(), static_cast<int>(text.size()));
    SelectObject(dc, old);
    EndPaint(Handle(), &ps);
    return 0;
  }
};
}  // namespace

LRESULT TFieldEdit::Command(WORD Code) {
  if (Code == EN_KILLFOCUS && OnExit && FocusStaysInWindow()) OnExit(this);
  return TEdit::Command(Code);
}

// The focus is already where it goes when the edit hears that it lost it.
bool TFieldEdit::FocusStaysInWindow() const {
  const HWND focus = GetFocus();
  return focus && GetAncestor(focus, GA_ROOT) == GetAncestor(Handle(), GA_ROOT);
}

namespace {
// The sign that stands for a zero (SYMBOL FOR NULL).
constexpr wchar_t ZeroSign = 0x2400;
}  // namespace

void TFieldEdit::SetStoredText(const std::string& Text) {
  stored_ = Text;
  shown_ = AnsiToWide(Text);
  std::replace(shown_.begin(), shown_.end(), L'\0', ZeroSign);
  SetWideCaption(shown_);
}

std::string TFieldEdit::StoredText() const {
  const std::wstring now = WideCaption();
  if (now == shown_) return stored_;
  // What is left as shown at either end keeps its zeros; what lies between was typed, where
  // the sign is a character like any other the code page lacks.
  const size_t most = std::min(now.size(), shown_.size());
  size_t head = 0, tail = 0;
  while (head < most && now[head] == shown_[head]) ++head;
  while (tail < most - head && now[now.size() - 1 - tail] == shown_[shown_.size() - 1 - tail]) ++tail;
  const std::wstring held = AnsiToWide(stored_);  // as shown, its zeros kept
  return WideToAnsi(held.substr(0, head)) + WideToAnsi(now.substr(head, now.size() - head - tail)) +
         WideToAnsi(held.substr(held.size() - tail));
}

TfrmSettings::TfrmSettings(TComponent* Owner)
    : TForm(Owner, {T("Title", "Einstellungen"), 649, 442,
                    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_CLIPCHILDREN,
                    WS_EX_DLGMODALFRAME, true}) {
  RECT want = {0, 0, 649, 442};
  AdjustWindowRectEx(&want, WS_POPUP | WS_CAPTION | WS_SYSMENU, FALSE, WS_EX_DLGMODALFRAME);
  int w = want.right - want.left, h = want.bottom - want.top;
  SetBounds((GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h);
  pcSettings = Make<TPageControl>("pcSettings", this);
  pcSettings->SetBounds(6, 6, 637, 396);
  const std::pair<const char*, const char*> pages[] = {
      {"tabGeneral", "Allgemein"}, {"tabIntegrate", "Integration"}, {"tabEditor", "Editor"},
      {"tabView", "Anzeige"}, {"tabTemplates", "Textvorlagen"}, {"tabFilter", "Dateifilter"},
      {"tabApps", "Programme"}};
  std::vector<TTabSheet*> sheets;
  for (const auto& [name, caption] : pages) {
    sheets.push_back(pcSettings->AddPage(name));
    sheets.back()->SetCaption(T(name, caption));
  }
  BuildGeneralPage(sheets[0]);
  BuildIntegrationPage(sheets[1]);
  BuildEditorPage(sheets[2]);
  BuildViewPage(sheets[3]);
  BuildTemplatesPage(sheets[4]);
  BuildFilterPage(sheets[5]);
  BuildAppsPage(sheets[6]);
  auto* help = Make<TButton>("btnHelp", this, 6, 410, 90, 25);
  help->SetCaption(T("btnHelp", "Hilfe..."));
  help->OnClick = [this](TObject*) { btnHelpClick(); };
  auto* ok = Make<TButton>("btnOk", this, 462, 410, 88, 25, true);
  ok->OnClick = [this](TObject*) {
    if (btnOkClick()) SetModalResult(mrOk);
  };
  auto* cancel = Make<TButton>("btnCancel", this, 555, 410, 88, 25);
  cancel->SetModalResult(mrCancel);
  pcSettings->OnChange = [this](TObject*) { FormShow(); };
  OnShow = [this](TObject*) { FormShow(); };
  OnClose = [this](TObject*) { FormClose(); };
  TranslateForm();

  for (const auto& [master, deps] : Dependents())
    if (auto* box = Ctl<TCheckBox>(master)) box->OnClick = [this](TObject*) { UpdateEnabling(); };
  Ctl<TCheckBox>("rbSpCharLangDefault")->OnClick = [this](TObject*) { UpdateEnabling(); };

  TIntegrationState shell = ReadIntegrationState();
  Ctl<TCheckBox>("chkIntegrateUserContext")->SetChecked(shell.UserContext);
  Ctl<TCheckBox>("chkIntegrateContext")->SetChecked(shell.Context);
  Ctl<TCheckBox>("chkIntegrateSendTo")->SetChecked(shell.SendTo);
  Ctl<TCheckBox>("chkIntegrateSendTo")->SetVisible(shell.SendToKnown);
  Ctl<TCheckBox>("chkIntegrateStartMenu")->SetChecked(shell.StartMenu);
  Ctl<TCheckBox>("chkIntegrateStartMenu")->SetVisible(shell.StartMenuKnown);
  for (size_t i = 0; i < AssociableExtensions().size(); ++i)
    lstAssociate->SetChecked(static_cast<int>(i), IsAssociated(AssociableExtensions()[i]));

  LoadControls();
  LoadLists();
  FillTemplateList();
  if (cmbTemplates->Count() > 0) {
    cmbTemplates->SetItemIndex(0);
    cmbTemplatesClick();
  }
  UpdateEnabling();
  lvAppsSelect();
  lvFiltersSelect();
  int page = Settings.General.DlgPageIndex;
  if (page >= 0 && page < pcSettings->PageCount()) pcSettings->SetActivePageIndex(page);
}

TfrmSettings::~TfrmSettings() {
  // Controls going away move the focus, end an edit in place and drop selections: nothing of
  // the dialog may run then.
  for (int i = 0; i < ComponentCount(); ++i)
    if (auto* field = dynamic_cast<TFieldEdit*>(Components(i))) field->OnExit = nullptr;
  for (TEditListView* list : {lvFilters, lvApps}) {
    list->OnEdited = nullptr;
    list->OnSelectItem = nullptr;
  }
  cmbTemplates->OnClick = nullptr;
  pcSettings->OnChange = nullptr;
}

bool TfrmSettings::FocusOn(const char* Button) const { return GetFocus() == Ctl<TButton>(Button)->Handle(); }

TNotifyEvent TfrmSettings::WhenLeft(std::function<void(bool Quiet)> Exit) {
  return [this, Exit = std::move(Exit)](TObject*) { Exit(FocusOn("btnOk") || FocusOn("btnCancel")); };
}

void TfrmSettings::TranslateForm() {
  ApplyFormFont(*this);
  SetCaption(T("Title", "Einstellungen"));
  Ctl<TButton>("btnOk")->SetCaption(GetLangText("General|btnOk", "Ok"));
  Ctl<TButton>("btnCancel")->SetCaption(GetLangText("General|btnCancel", "Abbrechen"));
}

void TfrmSettings::BuildGeneralPage(TTabSheet* Page) {
  int x = 8, y = 8;
  for (const auto& b : CheckBindings(0)) {
    if (!b.Name) {
      x += kColumn, y = 8;
      continue;
    }
    if (!*b.Name) {
      if (std::string(b.Caption) == "size") {
        Make<TLabel>("lblOpenSizeWarn", Page, x + 18, y + 3, 22, 16)->SetCaption(T("lblOpenSizeWarn", "Ab"));
        // The arrows take their room from the field: it stays wide enough for two digits.
        auto* edit = Make<TFieldEdit>("txtOpenSizeWarn", Page, x + 44, y, 48, 20);
        MakeBoundUpDown("OpenSizeWarn", Page, edit);
        Make<TLabel>("lbMB1", Page, x + 98, y + 3, 30, 16)->SetCaption(T("lbMB1", "MB"));
      } else {
        Make<TLabel>("lblBackupExt", Page, x + 18, y + 3, 60, 16)->SetCaption(T("lblBackupExt", "Endung:"));
        auto* edit = Make<TFieldEdit>("txtBackupExt", Page, x + 80, y, 80, 20);
        SendMessageA(edit->Handle(), EM_LIMITTEXT, 32, 0);
        edit->OnExit = [this](TObject*) { txtBackupExtExit(); };
      }
      y += kRow + 4;
      continue;
    }
    Make<TCheckBox>(b.Name, Page, x, y, kColumn - 6, 17)->SetCaption(T(b.Name, b.Caption));
    y += kRow;
  }
  y += 6;
  Make<TLabel>("lblReOpenListMaxItems", Page, x, y + 3, 110, 16)
      ->SetCaption(T("lblReOpenListMaxItems", "Zuletzt verwendet:"));
  auto* mru = Make<TFieldEdit>("txtReOpenListMaxItems", Page, x + 115, y, 48, 20);
  MakeBoundUpDown("ReOpenListMaxItems", Page, mru);
  y += kRow + 6;
  auto* clear = Make<TButton>("btnReOpenListClear", Page, x, y, 160, 23);
  clear->SetCaption(T("btnReOpenListClear", "Liste jetzt leeren"));
  clear->OnClick = [this](TObject*) { btnReOpenListClearClick(); };
  y += 32;
  Make<TLabel>("lblSnipsExpand", Page, x, y, 190, 16)->SetCaption(T("lblSnipsExpand", "Textbausteine:"));
  auto* snips = Make<TComboBox>("cmbSnipsExpand", Page, x, y + 18, 190, 120);
  snips->AddItem(T("cmbSnipsExpandDefault", "Vorgabe"));
  snips->AddItem(T("cmbSnipsExpandExpand", "Alle erweitern"));
  snips->AddItem(T("cmbSnipsExpandCollapse", "Alle reduzieren"));
}

void TfrmSettings::BuildIntegrationPage(TTabSheet* Page) {
  auto* grp = Make<TPageFrame>("grpIntegration", Page, 8, 8, 612, 112);
  grp->SetCaption(T("grpIntegration", "Explorer Integration"));
  const std::pair<const char*, const char*> boxes[] = {
      {"chkIntegrateUserContext", "Tarvoline in das Kontext-Men\xFC integrieren"},
      {"chkIntegrateContext", "Tarvoline in das Kontext-Men\xFC integrieren"},
      {"chkIntegrateSendTo", "Tarvoline in das \"Senden an\"-Men\xFC integrieren"},
      {"chkIntegrateStartMenu", "Verkn\xFCpfung im Startmen\xFC/Programme erstellen"}};
  int y = 28;
  for (const auto& [name, caption] : boxes) {
    Make<TCheckBox>(name, Page, 20, y, 580, 17)->SetCaption(T(name, caption));
    y += 21;
  }
  auto* assoc = Make<TPageFrame>("grpAssociate", Page, 8, 128, 612, 232);
  assoc->SetCaption(T("grpAssociate", "Dateien mit Tarvoline \xF6" "ffnen"));
  lstAssociate = Make<TCheckListBox>("lstAssociate", Page, 20, 148, 200, 200);
  for (const auto& ext : AssociableExtensions()) lstAssociate->Add(ext);
  auto* button = Make<TButton>("btnAssociate", Page, 232, 148, 120, 25);
  button->SetCaption(T("btnAssociate", "Jetzt zuweisen"));
  button->OnClick = [this](TObject*) { btnAssociateClick(); };
}

void TfrmSettings::BuildEditorPage(TTabSheet* Page) {
  int x = 8, y = 8;
  for (const auto& b : CheckBindings(2)) {
    if (!b.Name) {
      x += kColumn + 60, y = 8;
      continue;
    }
    Make<TCheckBox>(b.Name, Page, x, y, kColumn + 40, 17)->SetCaption(T(b.Name, b.Caption));
    y += kRow;
  }
  const std::pair<const char*, const char*> brackets[] = {{"BrackACStart", "\xD6" "ffnend:"},
                                                          {"BrackACClose", "Schlie\xDF" "end:"}};
  for (const auto& [name, caption] : brackets) {
    Make<TLabel>(std::string("lbl") + name, Page, x + 18, y + 3, 70, 16)
        ->SetCaption(T(std::string("lbl") + name, caption));
    Make<TFieldEdit>(std::string("txt") + name, Page, x + 92, y, 120, 20);
    y += kRow + 4;
  }
  y += 4;
  for (const char* name : {"RightEdge", "TabWidth", "LineSpacing"}) {
    Make<TLabel>(std::string("lbl") + name, Page, x, y + 3, 110, 16)
        ->SetCaption(T(std::string("lbl") + name, UpDownBinding(name).Caption));
    auto* edit = Make<TFieldEdit>(std::string("txt") + name, Page, x + 115, y, 56, 20);
    MakeBoundUpDown(name, Page, edit);
    y += kRow + 6;
  }
  y += 4;
  Make<TRadioButton>("rbSpCharLangDefault", Page, x, y, 300, 17, true)
      ->SetCaption(T("rbSpCharLangDefault", "Sonderzeichen der Sprachdatei"));
  y += kRow;
  auto* user = Make<TRadioButton>("rbSpCharUserDef", Page, x, y, 300, 17);
  user->SetCaption(T("rbSpCharUserDef", "Eigene Sonderzeichen-Datei:"));
  y += kRow + 2;
  Make<TFieldEdit>("txtSpCharUserDef", Page, x + 18, y, 250, 20);
  auto* pick = Make<TButton>("tbSpCharUserDef", Page, x + 272, y, 24, 20);
  pick->SetCaption("...");
  pick->OnClick = [this](TObject*) { tbSpCharUserDefClick(); };
}

void TfrmSettings::BuildViewPage(TTabSheet* Page) {
  int y = 8;
  for (const auto& b : CheckBindings(3)) {
    Make<TCheckBox>(b.Name, Page, 8, y, 200, 17)->SetCaption(T(b.Name, b.Caption));
    if (std::string(b.Name) == "chkActiveLineColor") {
      auto* shape = Make<TColorSwatch>("shpActiveLineColor", Page, 212, y, 40, 17);
      shape->OnClick = [this, shape](TObject*) { SelectColor(*shape); };
      y += kRow + 2;
      Make<TLabel>("lblBackgroundColor", Page, 8, y + 1, 200, 16)
          ->SetCaption(T("lblBackgroundColor", "Hintergrundfarbe:"));
      auto* back = Make<TColorSwatch>("shpBackgroundColor", Page, 212, y, 40, 17);
      back->OnClick = [this, back](TObject*) { SelectColor(*back); };
    }
    y += kRow + 2;
  }
  Make<TLabel>("lblTabPosition", Page, 8, y + 3, 110, 16)->SetCaption(T("lblTabPosition", "Register:"));
  auto* pos = Make<TComboBox>("cmbTabPosition", Page, 120, y, 100, 80);
  pos->AddItem(T("cmbTabPositionTop", "Oben"));
  pos->AddItem(T("cmbTabPositionBottom", "Unten"));
  y += kRow + 8;
  Make<TLabel>("lblMaxTabCaptionLen", Page, 8, y + 3, 110, 16)
      ->SetCaption(T("lblMaxTabCaptionLen", "Registerl\xE4nge:"));
  auto* len = Make<TFieldEdit>("txtMaxTabCaptionLen", Page, 120, y, 56, 20);
  MakeBoundUpDown("MaxTabCaptionLen", Page, len);

  int x = 300;
  y = 8;
  for (bool ansi : {true, false}) {
    std::string kind = ansi ? "Ansi" : "Ascii";
    Make<TLabel>("lbl" + kind + "Font", Page, x, y, 300, 16)
        ->SetCaption(T("lbl" + kind + "Font", ansi ? "ANSI-Schrift:" : "ASCII-Schrift:"));
    Make<TFieldEdit>("txt" + kind + "FontName", Page, x, y + 18, 160, 20);
    Make<TLabel>("lbl" + kind + "FontSize", Page, x + 166, y + 21, 40, 16)
        ->SetCaption(T("lblFontSize", "Gr\xF6\xDF" "e:"));
    Make<TFieldEdit>("txt" + kind + "FontSize", Page, x + 206, y + 18, 36, 20, ES_NUMBER);
    auto* sel = Make<TButton>("btn" + kind + "FontSel", Page, x + 248, y + 17, 70, 23);
    sel->SetCaption(T("btnFontSel", "Auswahl..."));
    sel->OnClick = [this, ansi](TObject*) { SelectFont(ansi); };
    y += 52;
  }
  Make<TLabel>("lblAnsiFontTemplate", Page, x, y, 10, 10)->SetVisible(false);
}

void TfrmSettings::MakeBoundUpDown(const std::string& Name, TTabSheet* Page, TEdit* Edit) {
  const TUpDownBinding& b = UpDownBinding(Name);
  Make<TUpDown>("ud" + Name, Page, Edit, b.Range.Min, b.Range.Max, b.Digits);
}

void TfrmSettings::LoadControls() {
  for (int page : {0, 2, 3})
    for (const auto& b : CheckBindings(page))
      if (b.Field) Ctl<TCheckBox>(b.Name)->SetChecked(*b.Field);
  for (const auto& u : UpDownBindings()) Ctl<TUpDown>(std::string("ud") + u.Name)->SetPosition(*u.Field);
  for (const auto& t : TextBindings()) Ctl<TEdit>(t.Name)->SetText(*t.Field);
  const auto& e = Settings.Editor;
  Ctl<TColorSwatch>("shpActiveLineColor")->SetColor(e.ActiveLineColor);
  Ctl<TColorSwatch>("shpBackgroundColor")->SetColor(e.BackgroundColor);
  Ctl<TRadioButton>("rbSpCharUserDef")->SetChecked(e.SpCharReplace == 1);
  Ctl<TRadioButton>("rbSpCharLangDefault")->SetChecked(e.SpCharReplace != 1);
  Ctl<TEdit>("txtAnsiFontSize")->SetText(std::to_string(e.AnsiFontSize));
  Ctl<TEdit>("txtAsciiFontSize")->SetText(std::to_string(e.AsciiFontSize));
  AnsiSampleFont.SetName(e.AnsiFontName);
  AnsiSampleFont.SetSize(e.AnsiFontSize);
  AnsiSampleFont.SetCharset(e.AnsiFontCharset);
  AsciiSampleFont.SetName(e.AsciiFontName);
  AsciiSampleFont.SetSize(e.AsciiFontSize);
  Ctl<TComboBox>("cmbSnipsExpand")->SetItemIndex(Settings.General.SnippetsExpandStyle);
  Ctl<TComboBox>("cmbTabPosition")->SetItemIndex(e.TabPosition);
}

void TfrmSettings::StoreControls() {
  for (int page : {0, 2, 3})
    for (const auto& b : CheckBindings(page))
      if (b.Field) *b.Field = Ctl<TCheckBox>(b.Name)->Checked();
  for (const auto& u : UpDownBindings()) *u.Field = Ctl<TUpDown>(std::string("ud") + u.Name)->Position();
  for (const auto& t : TextBindings()) *t.Field = Ctl<TEdit>(t.Name)->Text();
  auto& e = Settings.Editor;
  e.ActiveLineColor = Ctl<TColorSwatch>("shpActiveLineColor")->Color();
  e.BackgroundColor = Ctl<TColorSwatch>("shpBackgroundColor")->Color();
  e.SpCharReplace = Ctl<TRadioButton>("rbSpCharUserDef")->Checked() ? 1 : 0;
  ParseFontSize(Ctl<TEdit>("txtAnsiFontSize")->Text(), e.AnsiFontSize);
  ParseFontSize(Ctl<TEdit>("txtAsciiFontSize")->Text(), e.AsciiFontSize);
  e.AnsiFontCharset = AnsiSampleFont.Charset();
  Settings.General.SnippetsExpandStyle = std::max(0, Ctl<TComboBox>("cmbSnipsExpand")->ItemIndex());
  e.TabPosition = std::max(0, Ctl<TComboBox>("cmbTabPosition")->ItemIndex());
}

void TfrmSettings::UpdateEnabling() {
  for (const auto& [master, deps] : Dependents()) {
    bool on = Ctl<TCheckBox>(master)->Checked();
    for (const char* dep : deps)
      if (auto* c = Ctl<TWinControl>(dep)) c->SetEnabled(on);
  }
}

LRESULT TfrmSettings::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (Msg == WM_HELP) {
    btnHelpClick();
    return TRUE;
  }
  return TForm::WndProc(Msg, wParam, lParam);
}

void TfrmSettings::FormShow() {
  TTabSheet* page = pcSettings->ActivePage();
  if (page && page->Name() == "tabFilter") RelayoutList(lvFilters);
  if (page && page->Name() == "tabApps") RelayoutList(lvApps);
}

void TfrmSettings::RelayoutList(TEditListView* List) {
  List->SetWidth(List->Width() - 1);
  List->SetWidth(List->Width() + 1);
  // The column that fills the rest takes what the fixed ones leave.
  RECT r = List->ClientRect();
  int fixed = 0;
  for (int i = 0; i < List->ColumnCount(); ++i)
    if (i != 1) fixed += static_cast<int>(SendMessageA(List->Handle(), LVM_GETCOLUMNWIDTH, i, 0));
  SendMessageA(List->Handle(), LVM_SETCOLUMNWIDTH, 1, std::max(60, static_cast<int>(r.right) - fixed));
}

void TfrmSettings::FormClose() { Settings.General.DlgPageIndex = pcSettings->ActivePageIndex(); }

void TfrmSettings::btnHelpClick() {
  std::string name = pcSettings->ActivePage() ? pcSettings->ActivePage()->Name() : "";
  std::string page = name == "tabTemplates" ? "templates.html#texttemplates"
                     : name == "tabApps"    ? "misc.html#extapps"
                                            : "index.html";
  if (!ShellOpenProgram("hh.exe", Settings.AppDir + "Tarvoline.chm::/" + page))
    MsgBox(GetLangText("General|MsgNoHtmlHelpText",
                       "Die Windows HTML-Hilfe (hh.exe) konnte nicht ge\xF6" "ffnet werden."),
           GetLangText("General|MsgNoHtmlHelpTitle", "Windows HTML-Hilfe nicht gefunden"),
           MB_OK | MB_ICONERROR);
}

bool TfrmSettings::CheckShortcuts() {
  std::string seen = "\x01";
  for (int i = 0; i < lvApps->Count(); ++i) {
    std::string shortcut = lvApps->Items(i)->SubItem(3);
    if (!shortcut.empty() && seen.find("\x01" + shortcut + "\x01") != std::string::npos) {
      MsgBox(GetLangText("Settings|MsgShortcutMultiUseText",
                         "Der Shortcut \"%s1%\" ist mehrfach belegt.%w%Shortcuts d\xFCrfen nur "
                         "einmal verwendet werden.",
                         LangParams({shortcut})),
             T("MsgShortcutMultiUseTitle", "Shortcutbelegung"), MB_OK | MB_ICONERROR);
      return false;
    }
    seen += shortcut + "\x01";
  }
  return true;
}

bool TfrmSettings::CheckFontSizes() {
  for (const char* name : {"txtAnsiFontSize", "txtAsciiFontSize"}) {
    int size = 0;
    std::string text = Ctl<TEdit>(name)->Text();
    if (ParseFontSize(text, size)) continue;
    MsgBox(GetLangText("Settings|MsgFontSizeInvalidText",
                       "Die Schriftgr\xF6\xDF" "e \"%s1%\" ist ung\xFCltig.%w%Bitte geben Sie eine positive "
                       "ganze Zahl ein.",
                       LangParams({text})),
           T("MsgFontSizeTitle", "Schriftgr\xF6\xDF" "e"), MB_OK | MB_ICONERROR);
    Ctl<TEdit>(name)->SetFocus();
    return false;
  }
  return true;
}

bool TfrmSettings::CheckNameFields() {
  // The backup extension is a part of the backup copy's name.
  for (const char* name : {"txtBackupExt", "txtSpCharUserDef"})
    if (!NameFieldAccepted(*Ctl<TEdit>(name), false)) return false;
  return true;
}

bool TfrmSettings::btnOkClick() {
  if (!CommitFields() || !CheckNameFields() || !CheckShortcuts() || !CheckFontSizes()) {
    SetModalResult(mrNone);
    return false;
  }
  TIntegrationState shell;
  shell.UserContext = Ctl<TCheckBox>("chkIntegrateUserContext")->Checked();
  shell.Context = Ctl<TCheckBox>("chkIntegrateContext")->Checked();
  shell.SendTo = Ctl<TCheckBox>("chkIntegrateSendTo")->Checked();
  shell.StartMenu = Ctl<TCheckBox>("chkIntegrateStartMenu")->Checked();
  ApplyIntegration(shell);
  StoreControls();
  StoreLists();
  return true;
}

void TfrmSettings::txtBackupExtExit() {
  auto* edit = Ctl<TEdit>("txtBackupExt");
  std::string text;
  // Written back, a character the code page lacks would become a "?" that passes the check on OK.
  if (!edit->ExactCaption(text)) return;
  size_t dots = text.find_first_not_of('.');
  if (dots != 0) edit->SetText(dots == std::string::npos ? "" : text.substr(dots));
}

void TfrmSettings::btnReOpenListClearClick() {
  Settings.OpenMRU.Clear();
  MsgBox(T("MsgReOpenListClearText", "Die Liste der zuletzt verwendeten Dateien wurde gel\xF6scht."),
         T("MsgReOpenListClearTitle", "Liste der zuletzt verwendete Dateien l\xF6schen"),
         MB_OK | MB_ICONINFORMATION);
}

void TfrmSettings::btnAssociateClick() {
  std::vector<bool> ticks;
  for (size_t i = 0; i < AssociableExtensions().size(); ++i)
    ticks.push_back(lstAssociate->Checked(static_cast<int>(i)));
  bool ok = AssignAssociations(ticks);
  std::string title = T("MsgAssocTitle", "Dateiendungen zuweisen");
  if (ok)
    MsgBox(T("MsgAssocOkText", "Die Dateiendungen wurden erfolgreich zugewiesen."), title,
           MB_OK | MB_ICONINFORMATION);
  else
    MsgBox(T("MsgAssocErrText", "Beim Zuweisen von Dateiendungen ist ein Fehler aufgetreten."), title,
           MB_OK | MB_ICONERROR);
}

void TfrmSettings::tbSpCharUserDefClick() {
  TFileDialogArgs args;
  args.title = T("DlgSpCharUserFileSelTitle", "Sonderzeichen-Datei ausw\xE4hlen");
  args.filter = GetLangText("General|FilterSpChars", "Sonderzeichen-Dateien (*SpecialChars.lst)") +
                "|*SpecialChars.lst|" + GetLangText("General|FilterAll", "Alle Dateien (*.*)") + "|*.*";
  auto files = ExecuteOpenDialog(args);
  if (!files.empty()) Ctl<TEdit>("txtSpCharUserDef")->SetText(files.front());
}

void TfrmSettings::SelectFont(bool Ansi) {
  std::string kind = Ansi ? "Ansi" : "Ascii";
  TFont font;
  font.Assign(Ansi ? AnsiSampleFont : AsciiSampleFont);
  font.SetName(Ctl<TEdit>("txt" + kind + "FontName")->Text());
  int size = 0;
  if (ParseFontSize(Ctl<TEdit>("txt" + kind + "FontSize")->Text(), size)) font.SetSize(size);
  if (!ExecuteFontDialog(font)) return;
  (Ansi ? AnsiSampleFont : AsciiSampleFont).Assign(font);
  Ctl<TEdit>("txt" + kind + "FontName")->SetText(font.Name());
  Ctl<TEdit>("txt" + kind + "FontSize")->SetText(std::to_string(font.Size()));
}

void TfrmSettings::SelectColor(TColorSwatch& Swatch) {
  std::vector<COLORREF> custom(16, RGB(255, 255, 255));
  for (int i = 0; i < std::min(16, Settings.CustomColors.Count()); ++i)
    custom[i] = static_cast<COLORREF>(StrToIntDef(Settings.CustomColors.Strings(i), 0xFFFFFF));
  TColor color = Swatch.Color();
  if (!ExecuteColorDialog(color, &custom)) return;
  Swatch.SetColor(color);
  Settings.CustomColors.Clear();
  for (COLORREF c : custom) Settings.CustomColors.Add(std::to_string(static_cast<int32_t>(c)));
}

int ShowSettingsDialog(int Page) {
  if (!TemplatesDoc) TemplatesDoc = std::make_unique<TXmlDoc>();
  // The dialog edits the store itself: Abbrechen reads it again, or keeps this.
  std::unique_ptr<TXmlDoc> held = CopyTemplatesDoc();
  int result;
  {
    TfrmSettings form(nullptr);
    if (Page >= 0 && Page < form.pcSettings->PageCount()) form.pcSettings->SetActivePageIndex(Page);
    result = form.ShowModal();
    form.FormClose();
  }
  std::string templates = Settings.SettingsDir + "Templates.dat";
  if (result == mrOk) {
    ApplySettings();
    for (int i = 0; frmMain && i < frmMain->pcEdit->PageCount(); ++i)
      if (TfraEdit* frame = GetFrameChecked(i)) ApplySettings(frame->seEdit);
    if (StoreMayBeWritten(templates) && !TemplatesDoc->SaveToFile(templates, 2, true))
      MsgBox(GetLangText("Main|MsgFileSaveErrText",
                         "Die Datei \"%s1%\" konnte nicht gespeichert werden.%w%"
                         "M\xF6glicherweise ist die Datei schreibgesch\xFCtzt.",
                         LangParams({templates})),
             GetLangText("Main|MsgFileSaveTitle", "Datei speichern"), MB_OK | MB_ICONERROR);
  } else {
    ReloadTemplatesDoc(templates, std::move(held));
  }
  BuildTemplatesMenu();
  return result;
}

void ShowOptions() {
  if (ShowSettingsDialog() != mrOk) return;
  TPageControl* pages = frmMain->pcEdit;
  for (int i = pages->PageCount() - 1; i >= 0; --i) {
    TfraEdit* frame = GetFrame(i);
    if (!frame) continue;
    // As SetHighlighter does: the settings' background only for documents without colours.
    TCodeCustomHighlighter* highlighter = frame->seEdit->Highlighter();
    const bool plain = !highlighter || highlighter == frmMain->HlURI;
    frame->seEdit->SetColor(plain ? static_cast<TColor>(Settings.Editor.BackgroundColor) : clWhite);
    frame->seEdit->SetHighlighter(highlighter);
  }
  UpdateCaption();
  BuildAppListMenu();
}
