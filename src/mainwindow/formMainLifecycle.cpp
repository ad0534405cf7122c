// The main window's lifecycle: creation, showing (documents of the last run and of the command
// line), closing with the settings, and its language routine.
#include <algorithm>
#include "commands/SessionList.h"
#include "commands/Templates.h"
#include "commands/clsSnippets.h"
#include "commands/fHlpMainLines.h"
#include "dialogs/fPlgMgr.h"
#include "documents/XmlDoc.h"
#include "documents/fHlpHK.h"
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"
#include "documents/fHlpMainFuncs.h"
#include "documents/fHotKeys.h"
#include "documents/fLanguage.h"
#include "documents/fMain.h"
#include "documents/frameEdit.h"
#include "editor/CodeEdit.h"
#include "foundation/fMain.h"
#include "mainwindow/MainBlock.h"
#include "mainwindow/formMain.h"
#include "mainwindow/formSplash.h"
#include "rtl/Exception.h"
#include "rtl/SysUtils.h"
#include "toolkit/Application.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Controls.h"
#include "toolkit/Dialogs.h"
#include "toolkit/ImageList.h"
#include "toolkit/ListView.h"
#include "toolkit/Menus.h"
#include "toolkit/PageControl.h"
#include "toolkit/Panels.h"
#include "toolkit/StatusBar.h"
#include "toolkit/ToolBar.h"
#include "toolkit/WorkArea.h"

namespace {

constexpr int SearchHistoryShown = 30;

// The search panel's check boxes and the settings they keep.
struct SearchBox {
  const char* Name;
  bool TSearchReplaceSettings::*Value;
};
constexpr SearchBox SearchBoxes[] = {
    {"chkSearchAllFiles", &TSearchReplaceSettings::AllFiles},
    {"chkSearchShowInTab", &TSearchReplaceSettings::ShowInTab},
    {"chkSearchMultiLine", &TSearchReplaceSettings::MultiLine},
    {"chkSearchCaseSensitive", &TSearchReplaceSettings::CaseSensitive},
    {"chkSearchWholeWords", &TSearchReplaceSettings::WholeWords},
    {"chkSearchUseRegExpr", &TSearchReplaceSettings::UseRegExpr},
    {"chkSearchFromTop", &TSearchReplaceSettings::FromTop},
    {"chkSearchReplaceEscape", &TSearchReplaceSettings::ReplaceEscape},
};

void CutList(TStringList& List, int MaxCount) {
  while (List.Count() > MaxCount) List.Delete(List.Count() - 1);
}

}  // namespace

void TfrmMain::FormCreate() {
  // Bound first: a step below that fails still leaves a window that shows and closes.
  OnShow = [this](TObject*) { FormShow(); };
  OnCloseQuery = [this](TObject*, bool& CanClose) { CanClose = FormCloseQuery(); };
  OnClose = [this](TObject*) { FormClose(); };
  InstallKeyPreview();

  // Read wide: the ANSI command line would carry the system's look-alikes of names the code
  // page cannot hold. Such a name keeps "?" marks instead and is refused when its turn comes.
  std::string commandLine;
  WideToAnsiExact(GetCommandLineW(), commandLine);
  CmdLineParams = SplitCommandLine(commandLine, true);
  ParseCommandLineSwitches();

  InitPaths(ProgramFolder());
  FillLanguageMenu();
  ApplySettings();

  if (!Settings.ParamNoSplash && Settings.General.ShowSplashScreen) {
    splash_ = std::make_unique<TfrmSplash>(nullptr);
    splash_->FormCreate();
    splash_->ShowForStart();
  }

  DragAcceptFiles(Handle(), TRUE);
  InitHotKeys();
  MemoryBanks.fill("");
  FileTypeContents.Clear();
  if (FileExists(Settings.AppDir + "FileTypeContents.dat")) {
    try {
      FileTypeContents.LoadFromFile(Settings.AppDir + "FileTypeContents.dat");
    } catch (const EStreamError&) {
      // Without the content rules files are typed by their extension alone.
    }
  }
  LoadPlugins();
  TranslateForm();
  LoadTemplatesDoc(Settings.SettingsDir + "Templates.dat");
  LoadSnippetFileList();
  UpdateReopenMenu();
  BuildTemplatesMenu();
  BuildAppListMenu();
  LoadHighlighterList();

  int width = Settings.FormWidth > 0 ? Settings.FormWidth : 800;
  int height = Settings.FormHeight > 0 ? Settings.FormHeight : 600;
  if (Settings.FormTop == -1 || Settings.FormLeft == -1) {
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    SetBounds(work.left + (work.right - work.left - width) / 2,
              work.top + (work.bottom - work.top - height) / 2, width, height);
  } else {
    SetBounds(Settings.FormLeft, Settings.FormTop, width, height);
  }
  // The stored place may lie on a monitor that is gone.
  KeepOnScreen(Handle());
}

void TfrmMain::FormShow() {
  // Second instances wait until this has run through, also when something failed.
  struct ReleaseOnExit {
    TfrmMain* form;
    ~ReleaseOnExit() {
      form->FreeSplash();
      ReleaseLoadingMutex();
    }
  } releaseOnExit{this};

  tbMain->SetVisible(Settings.ViewToolBar);
  StatusBar->SetVisible(Settings.ViewStatusBar);
  pcBottom->SetHeight(208);

  std::vector<std::string> args = ParamParts(CmdLineParams);
  bool fileArgs = std::any_of(args.begin(), args.end(), [](const std::string& Arg) {
    return FileExists(Arg) || Arg.find(":\\") != std::string::npos;
  });
  if (fileArgs) {
    DocsOpen = true;
    UpdateMenuState();
    UpdateWindow(Handle());
  }
  {
    // One box for the whole start, the last documents and the command line together.
    TOpenNotices notices;
    if (Settings.General.OpenLastDocsAtStartup &&
        (!fileArgs || Settings.General.AddLastDocsToOpened))
      ReopenLastDocuments();
    OpenCommandLineFiles(args);
  }
  if (pcEdit->PageCount() == 0) OpenFile("");
  DocsOpen = true;
  UpdateMenuState();

  ApplySearchSettings();
  bool showBottom = pcEdit->PageCount() > 0 && Settings.ViewDocSearch &&
                    !Settings.General.HideDocSearchOnStartup;
  if (showBottom) {
    CutList(Settings.SearchMRU, SearchHistoryShown);
    CutList(Settings.ReplaceMRU, SearchHistoryShown);
    cmbSearch->Clear();
    for (int i = 0; i < Settings.SearchMRU.Count(); ++i) cmbSearch->AddItem(Settings.SearchMRU[i]);
    cmbReplace->Clear();
    for (int i = 0; i < Settings.ReplaceMRU.Count(); ++i)
      cmbReplace->AddItem(Settings.ReplaceMRU[i]);
  } else {
    Settings.ViewDocSearch = false;
  }
  pcBottom->SetVisible(showBottom);
  splitterBottom->SetVisible(showBottom);

  if (Settings.ViewLeftPanelWidth > 0) pnlLeft->SetWidth(Settings.ViewLeftPanelWidth);
  pnlLeft->SetVisible(Settings.ViewLeftPanel);
  splitterLeft->SetVisible(Settings.ViewLeftPanel);
  pnlLeftTopResize(nullptr);

  ShowWindow(Handle(), Settings.WindowState == 1 ? SW_MAXIMIZE : SW_SHOWNORMAL);
  SetForegroundWindow(Handle());
  if (cmbSnipFiles->Count() > 0) {
    int index = 0;
    for (int i = 0; i < cmbSnipFiles->Count(); ++i)
      if (cmbSnipFiles->Items(i) == Settings.LastOpenedSnipFile) index = i;
    cmbSnipFiles->SetItemIndex(index);
    LoadSnippetFile(cmbSnipFiles->Items(index));
  }
  // Plug-ins told of the start may open windows of their own: the splash must not cover them.
  FreeSplash();
  PluginsAppStarted();
}

void TfrmMain::FormDestroy() {
  FreePlugins();
  // The template store is program-wide: a window made after this one reads its own file.
  TemplatesDoc.reset();
  Snips.reset();
  SnipDoc.reset();
}

void TfrmMain::FreeSplash() {
  splash_.reset();
}

void TfrmMain::SetSplashState(const std::string& Text) {
  if (splash_) splash_->SetState(Text);
  Application().ProcessMessages();
}

void TfrmMain::ReopenLastDocuments() {
  TTabSheet* lastActive = nullptr;
  for (const TSessionEntry& entry : ParseSessionList(Settings.LastDocList)) {
    const std::string& name = entry.FileName;
    if (!FileExists(name)) continue;
    // One document that fails is shown and the others still open.
    GuardEntry([&] {
      SetSplashState(GetLangText("Main|sbMainLoadFile", "Lade Datei \"%s1%\"...", name));
      TTabSheet* sheet = ReopenFile(name);
      if (!sheet) return;
      pcEdit->SetActivePage(sheet);
      if (!Settings.General.OpenLastDocsNoPos) {
        if (TCodeEdit* editor = GetActiveEditor()) {
          editor->SetSelStart(entry.SelStart);
          editor->SetSelLength(entry.SelLength);
          editor->SetTopLine(entry.TopLine);
          editor->EnsureCursorPosVisible();
        }
      }
      if (SameText(name, Settings.LastDocFileName)) lastActive = sheet;
    });
  }
  if (lastActive) pcEdit->SetActivePage(lastActive);
}

void TfrmMain::OpenCommandLineFiles(const std::vector<std::string>& Args) {
  TSetAsideArgs setAside;
  for (const std::string& arg : Args) {
    if (IsSwitchArg(arg) || setAside.Take(arg)) continue;
    bool stop = false;
    // One argument that fails is shown and the next one still opens.
    GuardEntry([&] { stop = !OpenCommandLineFile(arg); });
    if (stop) break;
  }
  // One box for the whole start, however many names it sets aside.
  setAside.Report();
}

bool TfrmMain::OpenCommandLineFile(const std::string& Arg) {
  if (DirectoryExists(Arg)) {
    // A folder is not a missing file: offering to create it could only fail.
    MsgBox(GetLangText("Main|MsgParamFolderText",
                       "\"%s1%\" ist ein Ordner und keine Datei; er wird nicht ge\xF6" "ffnet.", Arg),
           GetLangText("Main|MsgParamFolderTitle", "Ordner angegeben"), MB_ICONINFORMATION | MB_OK);
    return true;
  }
  if (!FileExists(Arg)) {
    if (Settings.General.ParamIgnoreNotExistingFiles) return true;
    int answer = MsgBox(GetLangText("Main|MsgFileNotFoundCreateText",
                                    "Die Datei \"%s1%\" wurde nicht gefunden.%w%%w%Soll diese "
                                    "Datei jetzt erstellt werden?",
                                    Arg),
                        GetLangText("Main|MsgFileNotFoundTitle", "Datei nicht gefunden"),
                        MB_ICONQUESTION | MB_YESNOCANCEL | MB_DEFBUTTON2);
    if (answer == IDCANCEL) return false;
    if (answer != IDYES) return true;
    if (!CreateEmptyFile(Arg)) {
      MsgBox(GetLangText("Main|MsgFileCreateErrText",
                         "Die Datei \"%s1%\" konnte nicht erstellt werden.", Arg),
             GetLangText("Main|MsgFileCreateTitle", "Datei erstellen"), MB_ICONERROR | MB_OK);
      return true;
    }
  }
  SetSplashState(GetLangText("Main|sbMainLoadFile", "Lade Datei \"%s1%\"...", Arg));
  if (TTabSheet* sheet = OpenFile(Arg, false, nullptr))
    ApplyCommandLineSwitches(GetSheetFrame(sheet));
  return true;
}

bool TfrmMain::CreateEmptyFile(const std::string& FileName) {
  try {
    return SaveTextFile(FileName, "", lbfWindows, ffAnsi);
  } catch (const EStreamError&) {
    return false;
  }
}

void TfrmMain::ApplySearchSettings() {
  for (const SearchBox& box : SearchBoxes)
    Find<TCheckBox>(box.Name)->SetChecked(Settings.SearchReplace.*box.Value);
  Find<TCheckBox>("rbSearchForwards")->SetChecked(Settings.SearchReplace.Forwards);
  Find<TCheckBox>("rbSearchBackwards")->SetChecked(!Settings.SearchReplace.Forwards);
  chkSearchMultiLineClick(nullptr);  // runs the other options' handler too
}

void TfrmMain::StoreSearchSettings() {
  for (const SearchBox& box : SearchBoxes)
    Settings.SearchReplace.*box.Value = Find<TCheckBox>(box.Name)->Checked();
  Settings.SearchReplace.Forwards = Find<TCheckBox>("rbSearchForwards")->Checked();
}

bool TfrmMain::FormCloseQuery() {
  if (Settings.General.OpenLastDocsAtStartup) BuildOpenDocList();
  int tabs = pcEdit->PageCount();
  if (Settings.General.CloseMultiDocs && tabs > 1) {
    int answer = MsgBox(GetLangText("Main|MsgCloseMultiDocWarnText",
                                    "Es sind %s1% Dokumente ge\xF6" "ffnet.%w%Soll Tarvoline und alle "
                                    "Dokumente geschlossen werden?",
                                    std::to_string(tabs)),
                        GetLangText("Main|MsgCloseTitle", "Tarvoline schlie\xDF" "en"),
                        MB_ICONQUESTION | MB_YESNO);
    if (answer != IDYES) return false;
  }
  return CloseAllDocuments(false);
}

void TfrmMain::FormClose() {
  StoreSearchSettings();
  Settings.ViewLeftPanelWidth = pnlLeft->Width();
  Settings.WindowState = IsZoomed(Handle()) ? 1 : 0;
  if (!IsZoomed(Handle()) && !IsIconic(Handle())) {
    RECT r = {};
    GetWindowRect(Handle(), &r);
    Settings.FormTop = r.top;
    Settings.FormLeft = r.left;
    Settings.FormWidth = r.right - r.left;
    Settings.FormHeight = r.bottom - r.top;
  }
  Settings.ViewToolBar = tbMain->Visible();
  Settings.ViewStatusBar = StatusBar->Visible();
  SaveSettings();
}

void TfrmMain::FillLanguageMenu() {
  auto* menu = Find<TMenuItem>("mnuLanguage");
  menu->Clear();
  TLanguageChoices choices = ListLanguages(Settings.AppDir + "Language\\");
  for (size_t i = 0; i < choices.Names.size(); ++i) {
    auto item = std::make_unique<TMenuItem>(nullptr);
    item->SetCaption(choices.Names[i]);
    item->SetRadioItem(true);
    item->OnClick = [this](TObject* Sender) { mnuLanguageItemClick(Sender); };
    TMenuItem* added = menu->Add(std::move(item));
    if (static_cast<int>(i) == choices.Checked) added->SetChecked(true);
  }
}

void TfrmMain::mnuLanguageItemClick(TObject* Sender) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  if (!item) return;
  item->SetChecked(true);
  Settings.Language = item->Caption();
  LoadLanguageFile(Settings.AppDir + "Language\\" + Settings.Language + ".lng");
  TranslateForm();
}

void TfrmMain::TranslateForm() {
  ApplyFormFont(*this);
  std::string language = GetLangText("Main|mnuLanguage", "Sprache");
  int column = 0;
  for (const TMainRow& row : MainCommandTable()) {
    if (row.Name.empty()) continue;
    std::string text = GetLangText("Main|" + row.Name, row.Kind == TMainRowKind::ToolButton ||
                                                               row.Kind == TMainRowKind::ToolCheck ||
                                                               row.Kind == TMainRowKind::ToolDropDown
                                                           ? row.Hint
                                                           : row.Caption);
    switch (row.Kind) {
      case TMainRowKind::Menu:
      case TMainRowKind::Item:
      case TMainRowKind::Radio:
      case TMainRowKind::Check:
        if (row.Name == "mnuLanguage")
          text = language == "Language" ? "&Language" : language + " / &Language";
        Find<TMenuItem>(row.Name)->SetCaption(text);
        break;
      case TMainRowKind::ToolButton:
      case TMainRowKind::ToolCheck:
      case TMainRowKind::ToolDropDown:
        Find<TToolButton>(row.Name)->SetHint(text);
        break;
      case TMainRowKind::Control:
        Find<TWinControl>(row.Name)->SetCaption(text);
        break;
      case TMainRowKind::Column:
        lvResults->SetColumnCaption(column++, text);
        break;
      default:
        break;
    }
  }
  lblResultState->SetCaption(GetLangText("Main|lblResultState", "%s1% Treffer", "0"));
  LoadSpecialChars();
}

bool TfrmMain::FormKeyDown(WORD Key, TShiftState Shift) {
  if (pcEdit->PageCount() < 2) return false;
  TShortCut pressed = ShortCut(Key, Shift);
  if (pressed == 0) return false;
  auto is = [pressed](const char* Name) { return GetHotKey(Name) == pressed; };
  if (is("frmMain_KeyDownMoveTabLeft")) MoveActiveTab(-1);
  else if (is("frmMain_KeyDownMoveTabRight")) MoveActiveTab(1);
  else if (is("frmMain_KeyDownChangeTabLeft") || is("frmMain_KeyDownChangeTabBack"))
    ChangeActiveTab(-1);
  else if (is("frmMain_KeyDownChangeTabRight") || is("frmMain_KeyDownChangeTab"))
    ChangeActiveTab(1);
  else
    return false;
  return true;
}

void TfrmMain::MoveActiveTab(int Delta) {
  TTabSheet* active = pcEdit->ActivePage();
  if (!active) return;
  int count = pcEdit->PageCount();
  pcEdit->MovePage(active, (pcEdit->IndexOfPage(active) + Delta + count) % count);
}

void TfrmMain::ChangeActiveTab(int Delta) {
  int count = pcEdit->PageCount();
  int index = pcEdit->ActivePageIndex();
  pcEdit->SetActivePageIndex((index + Delta + count) % count);
  TabSheetShow(pcEdit->ActivePage());
}

void TfrmMain::FormKeyPress(char& Key) {
  if (Key != VK_ESCAPE) return;
  if (Settings.General.CloseWithESC) {
    Key = 0;
    Close();
  } else if (pcBottom->Visible()) {
    HideBottomPanel();
  }
}
