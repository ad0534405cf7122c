#include "commands/fSearchPanel.h"
#include <windows.h>
#include <commctrl.h>
#include "documents/MainWindowParts.h"
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"
#include "documents/fHlpMainFuncs.h"
#include "documents/frameEdit.h"
#include "editor/CodeEdit.h"
#include "editor/CodeEditScopes.h"
#include "foundation/FastSearch.h"
#include "foundation/Regex.h"
#include "rtl/SysUtils.h"
#include "toolkit/ListView.h"
#include "toolkit/PageControl.h"

TSearchPanelEnables SearchPanelEnables(const TSearchPanelChecks& Checks) {
  TSearchPanelEnables e;
  e.UseRegExpr = !Checks.WholeWords;
  e.WholeWords = !Checks.UseRegExpr;
  e.SingleHitOptions = !Checks.AllFiles && !Checks.ShowInTab;
  e.ShowInTab = !Checks.AllFiles;
  e.SearchWantsReturn = !Checks.UseRegExpr;
  return e;
}

bool ReplacesByExpression(const TLocalSearchReplace& Search) {
  return Search.UseRegExpr || Search.WholeWords;
}

std::optional<std::string> ReplaceAllIn(const std::string& Text, const TLocalSearchReplace& Search,
                                        const std::string& Replacement) {
  // Nothing to look for: an empty expression would match between every two characters.
  if (Search.SearchText.empty()) return Text;
  if (!ReplacesByExpression(Search)) {
    TFastReplaceFlags flags{TFastReplaceFlag::ReplaceAll};
    if (!Search.CaseSensitive) flags.Include(TFastReplaceFlag::IgnoreCase);
    return FastReplace(Text, Search.SearchText, Replacement, flags);
  }
  std::string pattern = Search.WholeWords ? "\\b" + Search.SearchText + "\\b" : Search.SearchText;
  if (!Search.CaseSensitive) pattern = "(?i)" + pattern;
  try {
    return ReplaceRegex(pattern, Text, Replacement, true);
  } catch (const ERegex& E) {
    if (E.IsRunaway()) throw;
    return std::nullopt;
  }
}

bool ReplaceAllInEditor(TCustomCodeEdit& Editor, const TLocalSearchReplace& Search,
                        const std::string& Replacement, bool KeepSelection) {
  if (!CanWriteDocument(&Editor)) return false;
  // The selection as it was, with its direction (anchored at the end away from the caret), and
  // the view on it: all given back when nothing is replaced.
  const TBufferCoord caret = Editor.CaretXY();
  const TBufferCoord anchor = !Editor.SelAvail()               ? caret
                              : Editor.BlockBegin() == caret ? Editor.BlockEnd()
                                                             : Editor.BlockBegin();
  const int topLine = Editor.TopLine(), leftChar = Editor.LeftChar();
  auto restoreSelection = [&] {
    Editor.SetCaretAndSelection(caret, anchor, caret);
    Editor.SetTopLine(topLine);
    Editor.SetLeftChar(leftChar);
  };
  codeeditscopes::TUndoBlock block(Editor.UndoList());
  const bool wholeText = !KeepSelection || !Editor.SelAvail();
  if (wholeText) Editor.SelectAll();
  // The text is built much faster whole than as a selection.
  const std::string selected = wholeText ? Editor.Text() : Editor.SelText();
  std::optional<std::string> result;
  try {
    result = ReplaceAllIn(selected, Search, Replacement);
  } catch (const ERegex&) {
    restoreSelection();
    throw;
  }
  if (!result || *result == selected) {
    restoreSelection();
    return false;
  }
  Editor.SetSelText(*result);
  return true;
}

bool IncrementalSearchIn(TCustomCodeEdit& Editor, const std::string& Text, bool Next,
                         bool Backwards) {
  if (Text.empty()) {
    Editor.SetSelLength(0);
    return true;
  }
  const std::string all = Editor.Text();
  const int size = static_cast<int>(all.size());
  const int length = static_cast<int>(Text.size());
  const bool onHit = Next && AnsiSameText(Editor.SelText(), Text);
  int pos = Editor.SelStart() + 1;
  int hit = 0;
  if (Backwards) {
    if (onHit) --pos;
    if (pos < 1) pos = size;
    hit = FastPosBackNoCase(all.data(), Text.data(), size, pos, length);
    if (hit == 0) hit = FastPosBackNoCase(all.data(), Text.data(), size, 0, length);
  } else {
    if (onHit) ++pos;
    if (pos < 1) pos = 1;
    hit = FastPosNoCase(all.data(), Text.data(), size, pos, length);
    if (hit == 0) hit = FastPosNoCase(all.data(), Text.data(), size, 1, length);
  }
  if (hit == 0) return false;
  Editor.SetSelStart(hit - 1);
  Editor.SetSelLength(length);
  return true;
}

int ResultRowTab(const TListItem& Row, const TPageControl& Tabs) {
  if (Row.SubItemCount() < 1) return -1;
  int index = -1;
  if (!TryStrToInt(Row.SubItem(0), index) || index < 0 || index >= Tabs.PageCount()) return -1;
  // The tab shows the title shortened and with "&" doubled; the row holds it as it is.
  return Tabs.Pages(index)->Caption() == TabCaptionOf(Row.Caption()) ? index : -1;
}

namespace {
// The editor that shows the row's hit, now in front with the hit selected; nullptr for a
// stale row.
TCodeEdit* ShowHit(const TListItem& Row) {
  if (!frmMain || !frmMain->pcEdit || Row.SubItemCount() < 5) return nullptr;
  const int tab = ResultRowTab(Row, *frmMain->pcEdit);
  int position = 0, length = 0;
  if (tab < 0 || !TryStrToInt(Row.SubItem(1), position) || position < 1 ||
      !TryStrToInt(Row.SubItem(4), length))
    return nullptr;
  TfraEdit* frame = GetFrameChecked(tab);
  if (!frame || !frame->seEdit) return nullptr;
  frmMain->ShowDocumentKeepingFocus(tab);
  TCodeEdit& editor = *frame->seEdit;
  editor.GotoLineAndCenter(editor.CharIndexToRowCol(position - 1).Line);
  editor.SetSelStart(position - 1);
  editor.SetSelLength(length);
  return &editor;
}
}  // namespace

bool ShowResult(const TListItem& Row) { return ShowHit(Row) != nullptr; }

bool JumpToResult(const TListItem& Row, bool CtrlHeld) {
  TCodeEdit* editor = ShowHit(Row);
  if (!editor) return false;
  if (Settings.General.SearchFocusEditor != CtrlHeld) editor->SetFocus();
  return true;
}

void ShowResultsList(TListView& List, bool CtrlHeld) {
  for (const char* name : {"pcBottom", "splitterBottom"})
    if (auto* control = frmMain->Find<TWinControl>(name)) control->SetVisible(true);
  Settings.ViewDocSearch = true;
  List.ResizeColumns();
  if (auto* page = frmMain->Find<TTabSheet>("tabResults"))
    if (page->PageControl()) page->PageControl()->SetActivePage(page);
  List.Items(0)->SetSelected(true);
  if (List.HandleAllocated()) {
    // The row the arrow keys go on from.
    LVITEMA focused = {};
    focused.stateMask = focused.state = LVIS_FOCUSED;
    SendMessageA(List.Handle(), LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&focused));
    SendMessageA(List.Handle(), LVM_ENSUREVISIBLE, 0, FALSE);
    List.SetFocus();
  }
  JumpToResult(*List.Items(0), CtrlHeld);
}
