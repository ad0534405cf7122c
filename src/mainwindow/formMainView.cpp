// The main window's View menu and its tool buttons: highlighter, word wrap, special
// characters, read-only, font and zoom, panels and bars, staying on top, the window list.
#include <windows.h>
#include "commands/ViewCommands.h"
#include "dialogs/formWindowList.h"
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"
#include "documents/fHlpMainFuncs.h"
#include "documents/frameEdit.h"
#include "mainwindow/formMain.h"
#include "toolkit/Cursor.h"
#include "toolkit/Menus.h"
#include "toolkit/PageControl.h"
#include "toolkit/StatusBar.h"
#include "toolkit/ToolBar.h"

void TfrmMain::ConnectViewCommands() {
  struct Binding {
    const char* Name;
    void (TfrmMain::*Handler)(TObject*);
  };
  static constexpr Binding bindings[] = {
      {"mnuView", &TfrmMain::mnuViewClick},
      {"mnuViewSyntax", &TfrmMain::mnuViewSyntaxClick},
      {"mnuViewSyntaxNone", &TfrmMain::mnuViewSyntaxNoneClick},
      {"mnuViewSyntaxURI", &TfrmMain::mnuViewSyntaxURIClick},
      {"mnuViewSyntaxWebMixed", &TfrmMain::mnuViewSyntaxWebMixedClick},
      {"mnuViewSyntaxHTML", &TfrmMain::mnuViewSyntaxHTMLClick},
      {"mnuViewSyntaxPHP", &TfrmMain::mnuViewSyntaxPHPClick},
      {"mnuViewSyntaxCSS", &TfrmMain::mnuViewSyntaxCSSClick},
      {"mnuViewSyntaxJS", &TfrmMain::mnuViewSyntaxJSClick},
      {"mnuViewSyntaxVBS", &TfrmMain::mnuViewSyntaxVBSClick},
      {"tbMainViewSyntax", &TfrmMain::mnuViewSyntaxURIClick},
      {"mnuViewLineBreak", &TfrmMain::mnuViewLineBreakClick},
      {"tbMainViewLineBreak", &TfrmMain::tbMainViewLineBreakClick},
      {"mnuViewSpecialChars", &TfrmMain::mnuViewSpecialCharsClick},
      {"mnuViewReadOnly", &TfrmMain::mnuViewReadOnlyClick},
      {"mnuViewUseAsciiFont", &TfrmMain::mnuViewUseAsciiFontClick},
      {"mnuViewFontZoomIn", &TfrmMain::mnuViewFontZoomInClick},
      {"mnuViewFontZoomOut", &TfrmMain::mnuViewFontZoomOutClick},
      {"mnuViewFontZoomNormal", &TfrmMain::mnuViewFontZoomNormalClick},
      {"mnuViewCharProp", &TfrmMain::mnuViewCharPropClick},
      {"mnuViewDocSearchHide", &TfrmMain::mnuViewDocSearchHideClick},
      {"mnuViewToolBar", &TfrmMain::mnuViewToolBarClick},
      {"mnuViewStatusBar", &TfrmMain::mnuViewStatusBarClick},
      {"mnuViewStayOnTop", &TfrmMain::mnuViewStayOnTopClick},
      {"tbMainViewStayOnTop", &TfrmMain::tbMainViewStayOnTopClick},
      {"mnuViewWindowList", &TfrmMain::mnuViewWindowListClick},
  };
  for (const Binding& binding : bindings) {
    auto handler = [this, h = binding.Handler](TObject* Sender) { (this->*h)(Sender); };
    if (auto* item = Find<TMenuItem>(binding.Name)) item->OnClick = handler;
    else if (auto* button = Find<TToolButton>(binding.Name)) button->OnClick = handler;
  }
  HighlighterItemClick = [this](TObject* Sender) { mnuViewSyntaxItemsClick(Sender); };
}

void TfrmMain::mnuViewClick(TObject*) {
  if (TCodeEdit* editor = GetActiveEditor()) {
    const bool oem = editor->Font().Charset() == OEM_CHARSET;
    auto* special = Find<TMenuItem>("mnuViewSpecialChars");
    special->SetChecked(!oem && editor->Options().Contains(TCodeEditorOption::eoShowSpecialChars));
    special->SetEnabled(!oem);
    Find<TMenuItem>("mnuViewUseAsciiFont")->SetChecked(oem);
    Find<TMenuItem>("mnuViewReadOnly")->SetChecked(editor->ReadOnly());
  }
  Find<TMenuItem>("mnuViewDocSearchHide")->SetChecked(Settings.ViewDocSearch);
  Find<TMenuItem>("mnuViewLeftPanelHide")->SetChecked(Settings.ViewLeftPanel);
  Find<TMenuItem>("mnuViewToolBar")->SetChecked(tbMain->Visible());
  Find<TMenuItem>("mnuViewStatusBar")->SetChecked(StatusBar->Visible());
}

void TfrmMain::mnuViewSyntaxClick(TObject*) {
  TfraEdit* frame = GetActiveFrame();
  if (!frame) return;
  LoadHighlighterList();
  // One radio group: the editor's own item takes the mark from the URI item.
  Find<TMenuItem>("mnuViewSyntaxURI")->SetChecked(true);
  if (TMenuItem* item = SyntaxMenuItem(*frame)) item->SetChecked(true);
}

void TfrmMain::mnuViewSyntaxNoneClick(TObject*) { SetHighlighter(nullptr); }
void TfrmMain::mnuViewSyntaxURIClick(TObject*) { SetHighlighter(HlURI); }
void TfrmMain::mnuViewSyntaxWebMixedClick(TObject*) { SetHighlighter(HlWebMixed); }
void TfrmMain::mnuViewSyntaxHTMLClick(TObject*) { SetHighlighter(HlHTML); }
void TfrmMain::mnuViewSyntaxPHPClick(TObject*) { SetHighlighter(HlPHP); }
void TfrmMain::mnuViewSyntaxCSSClick(TObject*) { SetHighlighter(HlCSS); }
void TfrmMain::mnuViewSyntaxJSClick(TObject*) { SetHighlighter(HlJS); }
void TfrmMain::mnuViewSyntaxVBSClick(TObject*) { SetHighlighter(HlVBS); }

void TfrmMain::mnuViewSyntaxItemsClick(TObject* Sender) {
  if (auto* item = dynamic_cast<TMenuItem*>(Sender)) SwitchToRuleFile(*item);
}

void TfrmMain::mnuViewLineBreakClick(TObject*) { ToggleWordWrap(); }
void TfrmMain::tbMainViewLineBreakClick(TObject*) { ToggleWordWrap(); }

void TfrmMain::mnuViewSpecialCharsClick(TObject* Sender) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  TCodeEdit* editor = GetActiveEditor();
  if (!item || !editor) return;
  THourglass hourglass;
  item->SetChecked(!item->Checked());
  TCodeEditorOptions options = editor->Options();
  if (item->Checked()) options.Include(TCodeEditorOption::eoShowSpecialChars);
  else options.Exclude(TCodeEditorOption::eoShowSpecialChars);
  editor->SetOptions(options);
}

void TfrmMain::mnuViewReadOnlyClick(TObject* Sender) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  TCodeEdit* editor = GetActiveEditor();
  if (!item || !editor) return;
  // The check mark shows the state when the menu opened; the click turns it over.
  editor->SetReadOnly(!item->Checked());
  item->SetChecked(editor->ReadOnly());
  UpdateCaption();
}

void TfrmMain::mnuViewUseAsciiFontClick(TObject* Sender) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  TCodeEdit* editor = GetActiveEditor();
  if (!item || !editor) return;
  item->SetChecked(!item->Checked());
  ApplyEditorFont(item->Checked(), editor);
}

void TfrmMain::mnuViewFontZoomInClick(TObject*) { ZoomEditorFont(GetActiveEditor(), TZoom::In); }
void TfrmMain::mnuViewFontZoomOutClick(TObject*) { ZoomEditorFont(GetActiveEditor(), TZoom::Out); }
void TfrmMain::mnuViewFontZoomNormalClick(TObject*) {
  ZoomEditorFont(GetActiveEditor(), TZoom::Normal);
}

void TfrmMain::mnuViewCharPropClick(TObject*) {
  auto* page = Find<TTabSheet>("tabCharProps");
  if (pcBottom->Visible() && pcBottom->ActivePage() == page) {
    pcBottom->SetVisible(false);
    splitterBottom->SetVisible(false);
    if (TCodeEdit* editor = GetActiveEditor()) editor->SetFocus();
  } else {
    splitterBottom->SetVisible(true);
    pcBottom->SetVisible(true);
    pcBottom->SetActivePage(page);
    UpdateCharProperties();
  }
  Settings.ViewDocSearch = pcBottom->Visible();
}

void TfrmMain::mnuViewDocSearchHideClick(TObject*) {
  const bool show = !pcBottom->Visible();
  splitterBottom->SetVisible(show);
  pcBottom->SetVisible(show);
  UpdateCharProperties();
  Settings.ViewDocSearch = show;
}

void TfrmMain::mnuViewToolBarClick(TObject*) { tbMain->SetVisible(!tbMain->Visible()); }
void TfrmMain::mnuViewStatusBarClick(TObject*) { StatusBar->SetVisible(!StatusBar->Visible()); }

void TfrmMain::mnuViewStayOnTopClick(TObject*) {
  SetStayOnTop(!Find<TMenuItem>("mnuViewStayOnTop")->Checked());
}

void TfrmMain::tbMainViewStayOnTopClick(TObject*) {
  SetStayOnTop(!Find<TMenuItem>("mnuViewStayOnTop")->Checked());
}

void TfrmMain::mnuViewWindowListClick(TObject*) { ShowWindowList(); }
