#include "commands/ViewCommands.h"
#include <windows.h>
#include "documents/MainWindowParts.h"
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"
#include "documents/fLanguage.h"
#include "documents/frameEdit.h"
#include "foundation/fMain.h"
#include "rtl/SysUtils.h"
#include "toolkit/Cursor.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Menus.h"
#include "toolkit/ToolBar.h"

TMenuItem* SyntaxMenuItem(TfraEdit& Frame) {
  TCodeCustomHighlighter* current = Frame.seEdit->Highlighter();
  const std::pair<TCodeCustomHighlighter*, const char*> shared[] = {
      {frmMain->HlWebMixed, "mnuViewSyntaxWebMixed"}, {frmMain->HlHTML, "mnuViewSyntaxHTML"},
      {frmMain->HlPHP, "mnuViewSyntaxPHP"},           {frmMain->HlCSS, "mnuViewSyntaxCSS"},
      {frmMain->HlJS, "mnuViewSyntaxJS"},             {frmMain->HlVBS, "mnuViewSyntaxVBS"}};
  if (!current) return frmMain->Find<TMenuItem>("mnuViewSyntaxNone");
  for (const auto& [highlighter, name] : shared)
    if (current == highlighter) return frmMain->Find<TMenuItem>(name);
  if (Frame.HlUni && current == Frame.HlUni.get()) {
    auto* syntax = frmMain->Find<TMenuItem>("mnuViewSyntax");
    const int index = Frame.HlUni->Tag();
    if (index >= 0 && index < syntax->Count()) return syntax->Items(index);
  }
  return nullptr;
}

bool SwitchToRuleFile(const TMenuItem& Item) {
  TfraEdit* frame = GetActiveFrame();
  if (!frame || !frame->HlUni) return false;
  const std::string fileName =
      Settings.AppDir + "Highlighters\\" + StripAccelChars(Item.Caption()) + ".hgl";
  if (!FileExists(fileName)) return false;
  try {
    frame->HlUni->LoadFromFile(fileName);
  } catch (const Exception& e) {
    MsgBox(GetLangText("Main|MsgHighlighterErrLoadText",
                       "Die Syntaxdatei \"%s1%\" konnte nicht geladen werden:%w%%s2%%w%%w%"
                       "Das Dokument wird ohne diese Syntaxhervorhebung angezeigt.",
                       LangParams({fileName, e.Message()})),
           GetLangText("Main|MsgHighlighterErrLoadTitle", "Syntaxhervorhebung"),
           MB_ICONERROR | MB_OK);
    return false;
  }
  frame->HlUni->SetTag(Item.Tag());
  SetHighlighter(frame->HlUni.get());
  return true;
}

void ToggleWordWrap() {
  TCodeEdit* editor = GetActiveEditor();
  if (!editor) return;
  THourglass hourglass;
  auto* item = frmMain->Find<TMenuItem>("mnuViewLineBreak");
  item->SetChecked(!item->Checked());
  editor->SetWordWrap(item->Checked());
  if (auto* button = frmMain->Find<TToolButton>("tbMainViewLineBreak"))
    button->SetDown(item->Checked());
  UpdateCaption();
}

void ZoomEditorFont(TCustomCodeEdit* Editor, TZoom Direction) {
  if (!Editor) return;
  TFont& font = Editor->Font();
  const int size = font.Size();
  switch (Direction) {
    case TZoom::In:
      if (size < MaxZoomFontSize) font.SetSize(size + 1);
      break;
    case TZoom::Out:
      if (size > MinZoomFontSize) font.SetSize(size - 1);
      break;
    case TZoom::Normal:
      font.SetSize(font.Charset() < OEM_CHARSET ? Settings.Editor.AnsiFontSize
                                                : Settings.Editor.AsciiFontSize);
      break;
  }
  Editor->Gutter().SetFont(Editor->Font());
}

void SetStayOnTop(bool OnTop) {
  SetWindowPos(frmMain->Handle(), OnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  frmMain->Find<TMenuItem>("mnuViewStayOnTop")->SetChecked(OnTop);
  if (auto* button = frmMain->Find<TToolButton>("tbMainViewStayOnTop")) button->SetDown(OnTop);
}
