// The main window's Edit menu, its tool buttons and the navigation items of the Search menu:
// each calls the editor or the edit command that does the work.
#include <windows.h>
#include <string>
#include "commands/EditCommands.h"
#include "commands/fHlpMainLines.h"
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"
#include "documents/frameEdit.h"
#include "editor/CodeEdit.h"
#include "mainwindow/formMain.h"
#include "toolkit/Cursor.h"
#include "toolkit/Menus.h"
#include "toolkit/ToolBar.h"

namespace {

constexpr int SelModeImages[] = {25, 26, 27};

int TagOf(TObject* Sender) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  return item ? item->Tag() : -1;
}

// Runs one of the editor's own commands under the hourglass.
template <class F>
void WithEditor(F Command) {
  if (TCodeEdit* editor = GetActiveEditor()) {
    THourglass hourglass;
    Command(*editor);
  }
}

// The menu's keys reach the menu before the focused control: a text field of the window
// (search panel, incremental search) gets the message for its own clipboard instead of
// the document. Nullptr when the focus is elsewhere.
HWND FocusedTextField() {
  const HWND focus = GetFocus();
  char className[16] = {};
  if (!focus || !GetClassNameA(focus, className, sizeof className)) return nullptr;
  return lstrcmpiA(className, "Edit") == 0 ? focus : nullptr;
}

// Sends the message to a focused text field, or runs the editor command.
template <class F>
void ToFieldOrEditor(UINT Message, WPARAM wParam, LPARAM lParam, F Command) {
  if (HWND field = FocusedTextField())
    SendMessageA(field, Message, wParam, lParam);
  else
    WithEditor(Command);
}

}  // namespace

void TfrmMain::ConnectEditCommands() {
  FrameCommands.OnCopyAndAttach = CopyAndAttach;
  FrameCommands.OnCutAndAttach = CutAndAttach;
  struct Binding {
    const char* Name;
    void (TfrmMain::*Handler)(TObject*);
  };
  static constexpr Binding bindings[] = {
      {"mnuEdit", &TfrmMain::mnuEditClick},
      {"mnuEditUndo", &TfrmMain::mnuEditUndoClick},
      {"tbMainEditUndo", &TfrmMain::tbMainEditUndoClick},
      {"mnuEditRedo", &TfrmMain::mnuEditRedoClick},
      {"tbMainEditRedo", &TfrmMain::tbMainEditRedoClick},
      {"mnuEditCut", &TfrmMain::mnuEditCutClick},
      {"mnuEditCopy", &TfrmMain::mnuEditCopyClick},
      {"mnuEditPaste", &TfrmMain::mnuEditPasteClick},
      {"mnuEditSelectAll", &TfrmMain::mnuEditSelectAllClick},
      {"mnuEditCopyAndAttach", &TfrmMain::mnuEditCopyAndAttachClick},
      {"mnuEditCutAndAttach", &TfrmMain::mnuEditCutAndAttachClick},
      {"mnuEditPasteFromFile", &TfrmMain::mnuEditPasteFromFileClick},
      {"mnuEditCopyToFile", &TfrmMain::mnuEditCopyToFileClick},
      {"mnuEditCopyFormat", &TfrmMain::mnuEditCopyFormatClick},
      {"mnuEditCopyFormatRTF", &TfrmMain::mnuEditCopyFormatRTFClick},
      {"mnuEditCopyFormatHtmlDoc", &TfrmMain::mnuEditCopyFormatHtmlDocClick},
      {"mnuEditCopyFormatHtmlFrag", &TfrmMain::mnuEditCopyFormatHtmlFragClick},
      {"mnuEditSelMode", &TfrmMain::mnuEditSelModeClick},
      {"mnuEditSelModeNormal", &TfrmMain::mnuEditSelModeNormalClick},
      {"mnuEditSelModeLine", &TfrmMain::mnuEditSelModeLineClick},
      {"mnuEditSelModeColumn", &TfrmMain::mnuEditSelModeColumnClick},
      {"mnuEditGotoLine", &TfrmMain::mnuEditGotoLineClick},
      {"tbMainEditGotoLine", &TfrmMain::tbMainEditGotoLineClick},
      {"mnuEditGotoPos", &TfrmMain::mnuEditGotoPosClick},
      {"mnuEditBookmarkGotoNext", &TfrmMain::mnuEditBookmarkGotoNextClick},
      {"mnuEditBookmarkGotoPrev", &TfrmMain::mnuEditBookmarkGotoPrevClick},
      {"mnuEditBookmarkRemoveAll", &TfrmMain::mnuEditBookmarkRemoveAllClick},
      {"mnuEditNextCursorPos", &TfrmMain::mnuEditNextCursorPosClick},
      {"mnuEditPrevCursorPos", &TfrmMain::mnuEditPrevCursorPosClick},
      {"mnuSearchGotoMatchBrack", &TfrmMain::mnuSearchGotoMatchBrackClick},
  };
  auto connect = [this](const std::string& Name, void (TfrmMain::*Handler)(TObject*)) {
    TNotifyEvent handler = [this, Handler](TObject* Sender) { (this->*Handler)(Sender); };
    if (auto* item = Find<TMenuItem>(Name)) item->OnClick = handler;
    else if (auto* button = Find<TToolButton>(Name)) button->OnClick = handler;
  };
  for (const Binding& binding : bindings) connect(binding.Name, binding.Handler);
  for (int i = 0; i < 10; ++i) {
    const std::string digit = std::to_string(i);
    connect("mnuEditCopyMemoryBank" + digit, &TfrmMain::mnuEditCopyMemoryBankClick);
    connect("mnuEditPasteMemoryBank" + digit, &TfrmMain::mnuEditPasteMemoryBankClick);
    connect("mnuEditBookmarkSet" + digit, &TfrmMain::mnuEditBookmarkSetItemClick);
    connect("mnuEditBookmarkGoto" + digit, &TfrmMain::mnuEditBookmarkGotoItemClick);
  }
}

void TfrmMain::mnuEditClick(TObject*) {
  auto* menu = Find<TMenuItem>("mnuEdit");
  if (TCodeEdit* editor = GetActiveEditor()) {
    Find<TMenuItem>("mnuEditUndo")->SetEnabled(editor->CanUndo());
    Find<TMenuItem>("mnuEditRedo")->SetEnabled(editor->CanRedo());
    const bool selected = editor->SelLength() > 0;
    for (const char* name : {"mnuEditCut", "mnuEditCutAndAttach", "mnuEditCopy",
                             "mnuEditCopyAndAttach", "mnuEditCopyToFile",
                             "mnuEditCopyToMemoryBank"})
      Find<TMenuItem>(name)->SetEnabled(selected);
    Find<TMenuItem>("mnuEditPaste")->SetEnabled(!ClipboardText().empty());
    bool anyBank = false;
    for (int i = 0; i < 10; ++i) {
      const std::string digit = std::to_string(i);
      if (selected) Find<TMenuItem>("mnuEditCopyMemoryBank" + digit)->SetCaption(BuildMemoryBankMenu(i));
      anyBank = anyBank || !MemoryBanks[i].empty();
    }
    Find<TMenuItem>("mnuEditPasteFromMemoryBank")->SetEnabled(anyBank);
    if (anyBank) {
      for (int i = 0; i < 10; ++i) {
        auto* item = Find<TMenuItem>("mnuEditPasteMemoryBank" + std::to_string(i));
        item->SetEnabled(!MemoryBanks[i].empty());
        item->SetCaption(BuildMemoryBankMenu(i));
      }
    }
    const int mode = static_cast<int>(editor->SelectionMode());
    Find<TMenuItem>("mnuEditSelMode")->SetImageIndex(SelModeImages[mode]);
  }
  KeepUnbuiltDisabled(menu);
}

void TfrmMain::mnuEditUndoClick(TObject*) {
  ToFieldOrEditor(EM_UNDO, 0, 0, [](TCodeEdit& E) { E.Undo(); });
}
void TfrmMain::tbMainEditUndoClick(TObject* Sender) { mnuEditUndoClick(Sender); }

void TfrmMain::mnuEditRedoClick(TObject*) {
  WithEditor([](TCodeEdit& E) { E.Redo(); });
}
void TfrmMain::tbMainEditRedoClick(TObject* Sender) { mnuEditRedoClick(Sender); }

void TfrmMain::mnuEditCutClick(TObject*) {
  ToFieldOrEditor(WM_CUT, 0, 0, [](TCodeEdit& E) { E.CutToClipboard(); });
}

void TfrmMain::mnuEditCopyClick(TObject*) {
  ToFieldOrEditor(WM_COPY, 0, 0, [](TCodeEdit& E) { E.CopyToClipboard(); });
}

void TfrmMain::mnuEditPasteClick(TObject*) {
  ToFieldOrEditor(WM_PASTE, 0, 0, [](TCodeEdit& E) { E.PasteFromClipboard(); });
}

void TfrmMain::mnuEditSelectAllClick(TObject*) {
  ToFieldOrEditor(EM_SETSEL, 0, -1, [](TCodeEdit& E) { E.SelectAll(); });
}

void TfrmMain::mnuEditCopyAndAttachClick(TObject*) { CopyAndAttach(GetActiveEditor()); }

void TfrmMain::mnuEditCutAndAttachClick(TObject*) { CutAndAttach(GetActiveEditor()); }

void TfrmMain::mnuEditPasteFromFileClick(TObject*) { PasteFromFile(GetActiveEditor()); }

void TfrmMain::mnuEditCopyToFileClick(TObject*) { CopySelectionToFile(GetActiveFrame()); }

void TfrmMain::mnuEditCopyFormatClick(TObject*) {
  if (TfraEdit* frame = GetActiveFrame()) {
    // The rule-file highlighter has no HTML export.
    const bool html = frame->seEdit->Highlighter() != frame->HlUni.get();
    Find<TMenuItem>("mnuEditCopyFormatHtmlDoc")->SetEnabled(html);
    Find<TMenuItem>("mnuEditCopyFormatHtmlFrag")->SetEnabled(html);
  }
  KeepUnbuiltDisabled(Find<TMenuItem>("mnuEditCopyFormat"));
}

void TfrmMain::mnuEditCopyFormatRTFClick(TObject*) {
  CopyFormattedRTF(GetActiveEditor(), *CodeExporterRTF);
}

void TfrmMain::mnuEditCopyFormatHtmlDocClick(TObject*) {
  CopyFormattedHTML(GetActiveEditor(), *CodeExporterHTML, false);
}

void TfrmMain::mnuEditCopyFormatHtmlFragClick(TObject*) {
  CopyFormattedHTML(GetActiveEditor(), *CodeExporterHTML, true);
}

void TfrmMain::mnuEditCopyMemoryBankClick(TObject* Sender) {
  CopyToMemoryBank(GetActiveEditor(), TagOf(Sender));
}

void TfrmMain::mnuEditPasteMemoryBankClick(TObject* Sender) {
  PasteFromMemoryBank(GetActiveEditor(), TagOf(Sender));
}

void TfrmMain::mnuEditSelModeClick(TObject*) {
  if (TCodeEdit* editor = GetActiveEditor()) {
    const bool altSelects = Settings.Editor.SelectBlockWithAlt;
    // With Alt selecting blocks a column mode set here would stay on unnoticed.
    if (altSelects && editor->SelectionMode() == TCodeSelectionMode::smColumn)
      editor->SetSelectionMode(TCodeSelectionMode::smNormal);
    Find<TMenuItem>("mnuEditSelModeColumn")->SetEnabled(!altSelects);
    const char* items[] = {"mnuEditSelModeNormal", "mnuEditSelModeLine", "mnuEditSelModeColumn"};
    Find<TMenuItem>(items[static_cast<int>(editor->SelectionMode())])->SetChecked(true);
  }
  KeepUnbuiltDisabled(Find<TMenuItem>("mnuEditSelMode"));
}

void TfrmMain::mnuEditSelModeNormalClick(TObject*) {
  if (TCodeEdit* editor = GetActiveEditor()) editor->SetSelectionMode(TCodeSelectionMode::smNormal);
}

void TfrmMain::mnuEditSelModeLineClick(TObject*) {
  if (TCodeEdit* editor = GetActiveEditor()) editor->SetSelectionMode(TCodeSelectionMode::smLine);
}

void TfrmMain::mnuEditSelModeColumnClick(TObject*) {
  if (TCodeEdit* editor = GetActiveEditor()) editor->SetSelectionMode(TCodeSelectionMode::smColumn);
}

void TfrmMain::mnuEditGotoLineClick(TObject*) { GotoLineQuery(GetActiveEditor()); }
void TfrmMain::tbMainEditGotoLineClick(TObject* Sender) { mnuEditGotoLineClick(Sender); }

void TfrmMain::mnuEditGotoPosClick(TObject*) { GotoPositionQuery(GetActiveEditor()); }

void TfrmMain::mnuEditBookmarkSetItemClick(TObject* Sender) {
  ToggleBookmark(GetActiveEditor(), TagOf(Sender));
}

void TfrmMain::mnuEditBookmarkGotoItemClick(TObject* Sender) {
  GotoBookmark(GetActiveEditor(), TagOf(Sender));
}

void TfrmMain::mnuEditBookmarkGotoNextClick(TObject*) { GotoNextBookmark(GetActiveEditor(), true); }

void TfrmMain::mnuEditBookmarkGotoPrevClick(TObject*) { GotoNextBookmark(GetActiveEditor(), false); }

void TfrmMain::mnuEditBookmarkRemoveAllClick(TObject*) { RemoveAllBookmarks(GetActiveEditor()); }

void TfrmMain::mnuEditNextCursorPosClick(TObject*) { NextCursorPos(); }

void TfrmMain::mnuEditPrevCursorPosClick(TObject*) { PrevCursorPos(); }

void TfrmMain::mnuSearchGotoMatchBrackClick(TObject*) { JumpToMatchingBracket(GetActiveEditor()); }
