// The main window's construction: components, menus and tool bar from the command table, and
// the layout of the panels around the documents' page control.
#include "mainwindow/formMain.h"
#include <algorithm>
#include <map>
#include "commands/clsSnippets.h"
#include "documents/XmlDoc.h"
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"
#include "documents/fLanguage.h"
#include "documents/frameEdit.h"
#include "documents/MainGlyphs.h"
#include "mainwindow/formSplash.h"
#include "printing/CodeEditPrint.h"
#include "printing/CodeExportHTML.h"
#include "printing/CodeExportRTF.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Controls.h"
#include "toolkit/DialogKeys.h"
#include "toolkit/Dialogs.h"
#include "toolkit/GroupBox.h"
#include "toolkit/ImageList.h"
#include "toolkit/ListView.h"
#include "toolkit/Menus.h"
#include "toolkit/PageControl.h"
#include "toolkit/Panels.h"
#include "toolkit/StatusBar.h"
#include "toolkit/Timer.h"
#include "toolkit/ToolBar.h"

namespace {

bool IsMenuRow(TMainRowKind Kind) {
  return Kind == TMainRowKind::Menu || Kind == TMainRowKind::Item ||
         Kind == TMainRowKind::Radio || Kind == TMainRowKind::Check ||
         Kind == TMainRowKind::Separator;
}

// The search panel's multi-line fields.
constexpr DWORD MultiLineEditStyle = ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL;

// Status-bar panels: caret position (wide enough for the German default text), insert mode,
// size, file name.
constexpr int StatusPanelWidths[] = {200, 50, 110, -1};

}  // namespace

TfrmMain::TfrmMain(TComponent* Owner)
    : TMainWindowParts(Owner, {"Tarvoline", 800, 600, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN}) {
  // The toolkit's own messages speak the program's language from the first window on.
  SetTextLookup(ToolkitText);
  ImgList = Make<TImageList>("ImgList", GlyphSize, GlyphSize);
  HBITMAP strip = CreateMainGlyphStrip();
  if (strip) {
    ImgList->AddStrip(strip, GlyphTransparent);
    DeleteObject(strip);
  }
  CodeExporterRTF = Make<TCodeExporterRTF>("CodeExporterRTF");
  CodeExporterHTML = Make<TCodeExporterHTML>("CodeExporterHTML");
  sepPrint = Make<TCodeEditPrint>("sepPrint");
  sepPringUnFormatted = Make<TCodeEditPrint>("sepPringUnFormatted");
  CreateHighlighters();  // before the documents, so they go after them

  BuildMenus();
  BuildToolBar();
  BuildPanels();
  BuildSearchPanel();
  ConnectFileCommands();
  ConnectInsertCommands();
  ConnectEditCommands();
  ConnectFormatCommands();
  ConnectSearchCommands();
  ConnectViewCommands();
  ConnectExtrasCommands();
  ConnectHelpCommands();
  ConnectToolsCommands();
  ConnectPluginCommands();
  DisableUnbuiltCommands();
  ArrangeToolBar();
}

TfrmMain::~TfrmMain() {
  FreeSplash();
  FormDestroy();
  if (frmMain == this) frmMain = nullptr;
}

void TfrmMain::BuildMenus() {
  mnuMain = Make<TMainMenu>("mnuMain");
  mnuMain->SetImages(ImgList);
  pmnuTabs = Make<TPopupMenu>("pmnuTabs");
  pmnuBottom = Make<TPopupMenu>("pmnuBottom");
  pmnuToolbarOpen = Make<TPopupMenu>("pmnuToolbarOpen");
  std::map<std::string, TMenuItem*> roots = {
      {"", mnuMain->Items()},
      {"pmnuTabs", pmnuTabs->Items()},
      {"pmnuBottom", pmnuBottom->Items()},
      {"pmnuToolbarOpen", pmnuToolbarOpen->Items()},
      {"pmnuSREdit", Make<TPopupMenu>("pmnuSREdit")->Items()},
      {"pmnuSnips", Make<TPopupMenu>("pmnuSnips")->Items()},
  };
  for (auto& [name, root] : roots)
    if (auto* popup = Find<TPopupMenu>(name)) popup->SetImages(ImgList);

  int separators = 0;
  for (const TMainRow& row : MainCommandTable()) {
    if (!IsMenuRow(row.Kind)) continue;
    std::string name = row.Kind == TMainRowKind::Separator
                           ? "N" + std::to_string(++separators)
                           : row.Name;
    auto* item = Make<TMenuItem>(name);
    item->SetCaption(row.Caption);
    item->SetShortCut(row.ShortCut);
    item->SetImageIndex(row.ImageIndex);
    item->SetTag(row.Tag);
    if (row.Kind == TMainRowKind::Radio) {
      item->SetRadioItem(true);
      item->SetGroupIndex(1);
    }
    auto parent = roots.find(row.Parent);
    TMenuItem* owner = parent != roots.end() ? parent->second : Find<TMenuItem>(row.Parent);
    owner->Add(item);
    if (row.Kind == TMainRowKind::Menu) {
      // Submenus open through their OnClick; commands not built yet stay disabled even
      // when the document state enabled them.
      item->OnClick = [this, item](TObject*) { KeepUnbuiltDisabled(item); };
    }
  }
  Find<TMenuItem>("mnuPlugins")->SetVisible(false);
  SetMenu(mnuMain);
}

void TfrmMain::BuildToolBar() {
  tbMain = Make<TToolBar>("tbMain", this);
  tbMain->SetImages(ImgList);
  int separators = 0;
  for (const TMainRow& row : MainCommandTable()) {
    TToolButtonStyle style;
    switch (row.Kind) {
      case TMainRowKind::ToolButton: style = TToolButtonStyle::tbsButton; break;
      case TMainRowKind::ToolCheck: style = TToolButtonStyle::tbsCheck; break;
      case TMainRowKind::ToolDropDown: style = TToolButtonStyle::tbsDropDown; break;
      case TMainRowKind::ToolSeparator: style = TToolButtonStyle::tbsSeparator; break;
      default: continue;
    }
    std::string name = style == TToolButtonStyle::tbsSeparator
                           ? "tbMainSep" + std::to_string(++separators)
                           : row.Name;
    auto* button = Make<TToolButton>(name, tbMain, style);
    button->SetImageIndex(row.ImageIndex);
    button->SetHint(row.Hint);
  }
  Find<TToolButton>("tbMainFileReOpen")->SetDropdownMenu(pmnuToolbarOpen);

  txtIncSearch = Make<TEdit>("txtIncSearch", tbMain, 0, 1, 150, 21);
}

void TfrmMain::ArrangeToolBar() {
  // A separator shows only between two groups that have visible buttons.
  bool groupBefore = false;
  TToolButton* pending = nullptr;
  for (int i = 0; i < tbMain->ButtonCount(); ++i) {
    TToolButton* button = tbMain->Buttons(i);
    if (button->Style() == TToolButtonStyle::tbsSeparator) {
      button->SetVisible(false);
      if (groupBefore) pending = button;
      groupBefore = false;
    } else if (button->Visible()) {
      if (pending) pending->SetVisible(true);
      pending = nullptr;
      groupBefore = true;
    }
  }
  // The incremental search field sits on the bar after the last visible button.
  int right = 0;
  for (int i = 0; i < tbMain->ButtonCount(); ++i) {
    RECT r = {};
    if (SendMessageA(tbMain->Handle(), TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r)))
      right = std::max(right, static_cast<int>(r.right));
  }
  txtIncSearch->SetBounds(right + 8, 1, 150, 21);
}

void TfrmMain::BuildPanels() {
  StatusBar = Make<TStatusBar>("StatusBar", this);
  for (int width : StatusPanelWidths) StatusBar->AddPanel(width);

  pcBottom = Make<TPageControl>("pcBottom", this);
  pcBottom->SetHeight(208);
  pcBottom->SetAlign(alBottom);
  pcBottom->SetPopupMenu(pmnuBottom);
  splitterBottom = Make<TSplitter>("splitterBottom", this, alBottom);

  pnlLeft = Make<TPanel>("pnlLeft", this);
  pnlLeft->SetWidth(180);
  pnlLeft->SetAlign(alLeft);
  auto* pnlLeftTop = Make<TPanel>("pnlLeftTop", pnlLeft);
  pnlLeftTop->SetHeight(26);
  pnlLeftTop->SetAlign(alTop);
  cmbSnipFiles = Make<TComboBox>("cmbSnipFiles", pnlLeftTop, 0, 2, 176, 200);
  splitterLeft = Make<TSplitter>("splitterLeft", this, alLeft);

  pcEdit = Make<TPageControl>("pcEdit", this);
  pcEdit->SetAlign(alClient);
  pcEdit->SetImages(ImgList);
  pcEdit->SetPopupMenu(pmnuTabs);
  pcEdit->OnChange = [this](TObject* Sender) { TabSheetShow(Sender); };

  // Shown by the document state and the settings once the window shows.
  for (TWinControl* hidden : std::initializer_list<TWinControl*>{pcBottom, splitterBottom, pnlLeft,
                                                                 splitterLeft})
    hidden->SetVisible(false);
}

void TfrmMain::BuildSearchPanel() {
  TTabSheet* tabSearch = pcBottom->AddPage("tabSearch");
  MakeTabArea(*tabSearch);
  TTabSheet* tabResults = pcBottom->AddPage("tabResults");
  BuildCharPropsPage(pcBottom->AddPage("tabCharProps"));

  Make<TLabel>("lblSearch", tabSearch, 8, 10, 80, 16);
  cmbSearch = Make<TComboBox>("cmbSearch", tabSearch, 92, 6, 540, 200, TComboBoxStyle::csDropDown);
  txtSearch = Make<TEdit>("txtSearch", tabSearch, 92, 6, 540, 48, MultiLineEditStyle);
  Make<TLabel>("lblReplace", tabSearch, 8, 38, 80, 16);
  cmbReplace = Make<TComboBox>("cmbReplace", tabSearch, 92, 34, 540, 200, TComboBoxStyle::csDropDown);
  txtReplace = Make<TEdit>("txtReplace", tabSearch, 92, 58, 540, 48, MultiLineEditStyle);
  txtSearch->SetVisible(false);
  txtReplace->SetVisible(false);

  // Options, direction and buttons move together below the replacement field; side by side
  // they fit the window's default width (750 pixels).
  constexpr int optionWidth = 205, optionsLeft = 8, directionWidth = 100, buttonWidth = 110;
  constexpr int optionsWidth = 2 * optionWidth + 22;
  constexpr int directionLeft = optionsLeft + optionsWidth + 6;
  constexpr int buttonLeft = directionLeft + directionWidth + 6;
  auto* bottom = Make<TPanel>("pnlSearchBottom", tabSearch);
  bottom->SetBounds(0, 62, buttonLeft + buttonWidth + 4, 112);
  Make<TGroupBox>("grpSearchOptions", bottom, optionsLeft, 0, optionsWidth, 108);
  const char* leftColumn[] = {"chkSearchCaseSensitive", "chkSearchWholeWords",
                              "chkSearchUseRegExpr", "chkSearchReplaceEscape",
                              "chkSearchMultiLine"};
  const char* rightColumn[] = {"chkSearchFromTop", "chkSearchShowInTab",
                               "chkSearchReplaceAllInSel", "chkSearchAllFiles"};
  int y = 16;
  for (const char* name : leftColumn) {
    Make<TCheckBox>(name, bottom, optionsLeft + 8, y, optionWidth, 17);
    y += 17;
  }
  y = 16;
  for (const char* name : rightColumn) {
    Make<TCheckBox>(name, bottom, optionsLeft + 14 + optionWidth, y, optionWidth, 17);
    y += 17;
  }

  Make<TGroupBox>("grpSearchDir", bottom, directionLeft, 0, directionWidth, 60);
  Make<TRadioButton>("rbSearchForwards", bottom, directionLeft + 8, 16, directionWidth - 14, 17, true);
  Make<TRadioButton>("rbSearchBackwards", bottom, directionLeft + 8, 34, directionWidth - 14, 17);
  Make<TButton>("btnSearch", bottom, buttonLeft, 4, buttonWidth, 23, true);
  Make<TButton>("btnReplaceSel", bottom, buttonLeft, 32, buttonWidth, 23);
  Make<TButton>("btnReplaceAll", bottom, buttonLeft, 60, buttonWidth, 23);

  lvResults = Make<TListView>("lvResults", tabResults, 0, 0, 600, 150);
  lvResults->SetAlign(alClient);
  lvResults->SetRowSelect(true);
  lvResults->SetReadOnly(true);
  lvResults->SetHideSelection(false);
  const int columnWidths[] = {150, 1, 70, 60, 60, 60, 300};
  constexpr int FoundTextColumn = 6;  // takes the width the others leave
  int column = 0;
  for (const TMainRow& row : MainCommandTable()) {
    if (row.Kind != TMainRowKind::Column) continue;
    lvResults->AddColumn(row.Caption, columnWidths[column], column == FoundTextColumn);
    ++column;
  }
  lblResultState = Make<TLabel>("lblResultState", tabResults, 0, 0, 300, 16);
  lblResultState->SetAlign(alBottom);
  lblResultState->SetCaption("0 Fundstellen");

  Find<TCheckBox>("rbSearchForwards")->SetChecked(true);
  Find<TWinControl>("btnReplaceSel")->SetEnabled(false);
}

// Two groups of five read-only fields: the character before the caret ("txtB...") on the left,
// the one after it ("txtA...") on the right, as they stand in the text.
void TfrmMain::BuildCharPropsPage(TTabSheet* Page) {
  const char* const fields[] = {"Char", "Code", "Hex", "Octal", "Binary"};
  const std::pair<const char*, const char*> sides[] = {{"grpCharBefore", "B"},
                                                       {"grpCharAfter", "A"}};
  int left = 8;
  for (const auto& [group, side] : sides) {
    Make<TGroupBox>(group, Page, left, 4, 260, 146);
    int y = 24;
    for (const char* field : fields) {
      Make<TLabel>(std::string("lbl") + side + field, Page, left + 10, y + 3, 80, 16);
      Make<TEdit>(std::string("txt") + side + field, Page, left + 94, y, 154, 21,
                  ES_READONLY | ES_AUTOHSCROLL);
      y += 24;
    }
    left += 270;
  }
}

void TfrmMain::DisableUnbuiltCommands() {
  for (const TMainRow& row : MainCommandTable()) {
    if (row.Name.empty()) continue;
    if (auto* item = Find<TMenuItem>(row.Name)) {
      if (row.Kind != TMainRowKind::Menu && !item->OnClick) item->SetEnabled(false);
    } else if (auto* button = Find<TToolButton>(row.Name)) {
      // A button has no menu that could correct a state set from outside, so a button
      // without a command stays out of sight rather than look usable.
      if (!button->OnClick) button->SetVisible(false);
    }
  }
}

void TfrmMain::KeepUnbuiltDisabled(TMenuItem* Menu) {
  for (int i = 0; i < Menu->Count(); ++i) {
    TMenuItem* item = Menu->Items(i);
    if (!item->IsLine() && item->Count() == 0 && !item->OnClick) item->SetEnabled(false);
  }
}

HWND TfrmMain::DefaultFocus() {
  TCodeEdit* editor = GetActiveEditor();
  return editor ? editor->Handle() : TForm::DefaultFocus();
}

