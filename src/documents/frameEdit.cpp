#include "documents/frameEdit.h"
#include <algorithm>
#include "documents/MainWindowParts.h"
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"
#include "documents/fHlpMainFuncs.h"
#include "documents/fLanguage.h"
#include "highlighters/CodeHighlighterURI.h"
#include "highlighters/CodeURIOpener.h"
#include "rtl/FormatSettings.h"
#include "rtl/SysUtils.h"
#include "toolkit/Clipboard.h"
#include "toolkit/Controls.h"
#include "toolkit/Cursor.h"
#include "toolkit/ListView.h"
#include "toolkit/Menus.h"
#include "toolkit/PageControl.h"
#include "toolkit/StatusBar.h"
#include "toolkit/Timer.h"

namespace {
using EO = TCodeEditorOption;
using SC = TCodeStatusChange;
constexpr int kTabImageModified = 127;
constexpr int kTabImageReadOnlyModified = 129;
// The editor sends the command just before ecFocusLost when it gains the focus.
constexpr TCodeEditorCommand kFocusGained = ecFocusLost - 1;

// The fields of a status template: "%d", "%.0n"; "%%" is a literal percent sign. Malformed
// text (a "%" without a conversion letter) gives false.
bool TemplateFields(const std::string& Template, std::vector<std::string>& Fields) {
  Fields.clear();
  for (size_t i = 0; i < Template.size(); ++i) {
    if (Template[i] != '%') continue;
    if (i + 1 < Template.size() && Template[i + 1] == '%') {
      ++i;
      continue;
    }
    size_t end = i + 1;
    while (end < Template.size() && std::string("-+ #0123456789.").find(Template[end]) != std::string::npos)
      ++end;
    if (end >= Template.size()) return false;
    Fields.push_back(Template.substr(i, end - i + 1));
    i = end;
  }
  return true;
}

std::string WithThousands(int64_t Value) {
  static const char separator = GetLocaleFormatSettings(LOCALE_USER_DEFAULT).ThousandSeparator;
  const std::string digits = IntToStr(Value < 0 ? -Value : Value);
  std::string out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0 && separator) out += separator;
    out += digits[i];
  }
  return Value < 0 ? "-" + out : out;
}

void SetStatusPanel(int Panel, const std::string& Text) {
  if (frmMain && frmMain->StatusBar) frmMain->StatusBar->SetPanelText(Panel, Text);
}

}  // namespace

TFrameCommands FrameCommands;

// ---- Status texts -------------------------------------------------------------------------

int64_t DocumentSize(int64_t CrLfLength, int LineCount, TLineBreakFormat Format) {
  const int64_t breaks = std::max(LineCount - 1, 0);
  if (Format == lbfUnix || Format == lbfMacintosh) return CrLfLength - breaks;
  if (Format == lbfNetscape) return CrLfLength + breaks;
  return CrLfLength;
}

std::string FormatStatusText(const std::string& Template, const std::string& Default,
                             const std::vector<int64_t>& Values) {
  std::vector<std::string> fields, wanted;
  TemplateFields(Default, wanted);
  const bool fits = TemplateFields(Template, fields) && fields == wanted;
  const std::string& use = fits ? Template : Default;
  std::string out;
  size_t value = 0;
  for (size_t i = 0; i < use.size(); ++i) {
    if (use[i] != '%') {
      out += use[i];
      continue;
    }
    if (use[i + 1] == '%') {
      out += '%';
      ++i;
      continue;
    }
    const size_t end = use.find_first_not_of("-+ #0123456789.", i + 1);
    const int64_t v = value < Values.size() ? Values[value] : 0;
    ++value;
    out += use[end] == 'n' ? WithThousands(v) : IntToStr(v);
    i = end;
  }
  return out;
}

// ---- The frame ----------------------------------------------------------------------------

void TColorShape::SetColor(TColor Value) {
  if (Value == color_) return;
  color_ = Value;
  if (HandleAllocated()) InvalidateRect(Handle(), nullptr, TRUE);
}

LRESULT TColorShape::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (Msg == WM_ERASEBKGND) {
    RECT client;
    GetClientRect(Handle(), &client);
    HBRUSH brush = CreateSolidBrush(ColorToRGB(color_));
    FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
    DeleteObject(brush);
    return 1;
  }
  return TPanel::WndProc(Msg, wParam, lParam);
}

TfraEdit::TfraEdit(TComponent* Owner, TWinControl* Parent) : TFrame(Owner, Parent) {
  SetAlign(alClient);
  BuildEditor();
  BuildColorPreview();
  BuildPopupMenu();
  tmrChangeNotify = Make<TTimer>("tmrChangeNotify");
  tmrChangeNotify->SetEnabled(false);
  tmrChangeNotify->SetInterval(3000);
  tmrChangeNotify->OnTimer = [this](TObject* Sender) { tmrChangeNotifyTimer(Sender); };
  tmrTripleClick = Make<TTimer>("tmrTripleClick");
  tmrTripleClick->SetEnabled(false);
  tmrTripleClick->SetInterval(100);
  tmrTripleClick->OnTimer = [this](TObject* Sender) { tmrTripleClickTimer(Sender); };
  HlUni = std::make_unique<TCodeUniversalHighlighter>(nullptr);
  CodeURIOpener = Make<TCodeURIOpener>("CodeURIOpener");
  CodeURIOpener->SetEditor(seEdit);
  if (frmMain) CodeURIOpener->SetURIHighlighter(dynamic_cast<TCodeURIHighlighter*>(frmMain->HlURI));
  ConnectEditorEvents();
}

// The frame's own members go before the components it owns: the editor must not be left
// pointing at the rule-file highlighter meanwhile.
TfraEdit::~TfraEdit() {
  if (seEdit && HlUni && seEdit->Highlighter() == HlUni.get()) seEdit->SetHighlighter(nullptr);
}

void TfraEdit::BuildEditor() {
  seEdit = Make<TCodeEdit>("seEdit");
  seEdit->SetOptions({EO::eoAutoIndent, EO::eoAutoSizeMaxScrollWidth, EO::eoDragDropEditing,
                      EO::eoGroupUndo, EO::eoScrollHintFollows, EO::eoScrollPastEof,
                      EO::eoShowScrollHint, EO::eoSmartTabDelete, EO::eoTabIndent,
                      EO::eoTabsToSpaces});
  seEdit->SetTabWidth(2);
  seEdit->Gutter().SetShowLineNumbers(true);
  // The gutter grows with the digits of the last line number, so none loses its first digit.
  seEdit->Gutter().SetAutoSize(true);
  const RECT client = ClientRect();
  seEdit->CreateWnd(Handle(), 0, 0, client.right, client.bottom);
  seEdit->SetAlign(alClient);
  seEdit->SetWordWrap(true);
}

void TfraEdit::ConnectEditorEvents() {
  seEdit->OnChange = [this](TObject* Sender) { seEditChange(Sender); };
  seEdit->OnStatusChange = [this](TObject* Sender, TCodeStatusChanges Changes) {
    seEditStatusChange(Sender, Changes);
  };
  seEdit->OnCommandProcessed = [this](TObject* Sender, TCodeEditorCommand& Command, char&, void*) {
    if (Command == kFocusGained) seEditEnter(Sender);
  };
  seEdit->OnKeyDown = [this](TObject* Sender, WORD& Key, TShiftState Shift) {
    seEditKeyDown(Sender, Key, Shift);
  };
  seEdit->OnKeyPress = [this](TObject* Sender, char& Key) { seEditKeyPress(Sender, Key); };
  seEdit->OnKeyUp = [this](TObject* Sender, WORD& Key, TShiftState Shift) {
    seEditKeyUp(Sender, Key, Shift);
  };
  seEdit->OnMouseMove = [this](TObject* Sender, TShiftState Shift, int X, int Y) {
    seEditMouseMove(Sender, Shift, X, Y);
  };
  seEdit->OnDblClick = [this](TObject* Sender) { seEditDblClick(Sender); };
  seEdit->OnClick = [this](TObject* Sender) { seEditClick(Sender); };
  seEdit->OnMouseUp = [this](TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
    seEditMouseUp(Sender, Button, Shift, X, Y);
  };
  seEdit->OnPaintTransient = [this](TObject* Sender, HDC Canvas, TTransientType Type) {
    seEditPaintTransient(Sender, Canvas, Type);
  };
}

void TfraEdit::BuildColorPreview() {
  pnlColor = Make<TPanel>("pnlColor", this);
  pnlColor->SetBounds(0, 0, 90, 40);
  shpColor = Make<TColorShape>("shpColor", pnlColor);
  shpColor->SetBounds(4, 4, 82, 16);
  lblColorWebSave = Make<TLabel>("lblColorWebSave", pnlColor, 4, 22, 82, 14);
  lblColorWebSave->SetCaption("Nicht websicher");
  pnlColor->SetVisible(false);
}

void TfraEdit::BuildPopupMenu() {
  pmnuEdit = Make<TPopupMenu>("pmnuEdit");
  auto item = [this](TMenuItem*& Field, const char* Name, const char* Caption, TShortCut Key,
                     void (TfraEdit::*Handler)(TObject*)) {
    Field = Make<TMenuItem>(Name);
    Field->SetCaption(Caption);
    Field->SetShortCut(Key);
    Field->OnClick = [this, Handler](TObject* Sender) { (this->*Handler)(Sender); };
    pmnuEdit->Items()->Add(Field);
  };
  auto separator = [this](const char* Name) {
    TMenuItem* line = Make<TMenuItem>(Name);
    line->SetCaption("-");
    pmnuEdit->Items()->Add(line);
  };
  item(pmnuEditUndo, "pmnuEditUndo", "&R\xFC" "ckg\xE4ngig", scCtrl | 'Z',
       &TfraEdit::pmnuEditUndoClick);
  item(pmnuEditRedo, "pmnuEditRedo", "&Wiederherstellen", scCtrl | scShift | 'Z',
       &TfraEdit::pmnuEditRedoClick);
  separator("pmnuEditSep1");
  item(pmnuEditCut, "pmnuEditCut", "Au&sschneiden", scCtrl | 'X', &TfraEdit::pmnuEditCutClick);
  item(pmnuEditCutAndAttach, "pmnuEditCutAndAttach", "A&usschneiden && Anf\xFCgen",
       scCtrl | scShift | 'X', &TfraEdit::pmnuEditCutAndAttachClick);
  item(pmnuEditCopy, "pmnuEditCopy", "&Kopieren", scCtrl | 'C', &TfraEdit::pmnuEditCopyClick);
  item(pmnuEditCopyAndAttach, "pmnuEditCopyAndAttach", "K&opieren && Anf\xFCgen",
       scCtrl | scShift | 'C', &TfraEdit::pmnuEditCopyAndAttachClick);
  item(pmnuEditPaste, "pmnuEditPaste", "&Einf\xFCgen", scCtrl | 'V', &TfraEdit::pmnuEditPasteClick);
  separator("pmnuEditSep2");
  item(pmnuEditSelectAll, "pmnuEditSelectAll", "&Alles markieren", scCtrl | 'A',
       &TfraEdit::pmnuEditSelectAllClick);
  pmnuEdit->OnPopup = [this](TObject* Sender) { pmnuEditPopup(Sender); };
  seEdit->SetPopupMenu(pmnuEdit);
}

// ---- Change and status --------------------------------------------------------------------

void TfraEdit::seEditChange(TObject* Sender) {
  DocInfo.Modified = true;
  if (auto* sheet = dynamic_cast<TTabSheet*>(Owner()))
    sheet->SetImageIndex(seEdit->ReadOnly() ? kTabImageReadOnlyModified : kTabImageModified);
  UpdateCharProperties();
  if (frmMain && frmMain->lvResults) frmMain->lvResults->Clear();
  seEditStatusChange(Sender, {SC::scAll, SC::scInsertMode});
}

void TfraEdit::seEditEnter(TObject* Sender) { seEditStatusChange(Sender, {SC::scAll}); }

void TfraEdit::TextReplaced() { seEditStatusChange(seEdit, {SC::scAll}); }

void TfraEdit::seEditStatusChange(TObject* /*Sender*/, TCodeStatusChanges Changes) {
  // The window shows the active document; a change made to another one (a replace over all
  // documents) must not overwrite it.
  if (!frmMain || GetActiveFrame() != this) return;
  const bool all = Changes.Contains(SC::scAll);
  if (all || Changes.Contains(SC::scCaretX) || Changes.Contains(SC::scCaretY) ||
      Changes.Contains(SC::scSelection)) {
    const TBufferCoord caret = seEdit->CaretXY();
    const std::string defaultXY = "Ze %d, Sp %d, Pos %d (Mark %d)";
    SetStatusPanel(0, FormatStatusText(GetLangText("Main|sbMainXY", defaultXY), defaultXY,
                                       {caret.Line, caret.Char,
                                        seEdit->RowColToCharIndex(caret) + 1LL,
                                        seEdit->SelLength()}));
  }
  if (all || Changes.Contains(SC::scInsertMode))
    SetStatusPanel(1, seEdit->InsertMode() ? GetLangText("Main|sbMainINS", "INS")
                                           : GetLangText("Main|sbMainOVR", "OVR"));
  if (all) {
    const int64_t size =
        DocumentSize(seEdit->TextLength(), seEdit->Lines().Count(), DocInfo.LineBreakFormat);
    const std::string defaultSize = "%.0n Byte";
    SetStatusPanel(2, FormatStatusText(GetLangText("Main|sbMainSize", defaultSize), defaultSize,
                                       {size}));
  }
  UpdateCaption();
  if (!seEdit->SelAvail())
    if (auto* button = frmMain->Find<TWinControl>("btnReplaceSel")) button->SetEnabled(false);
  UpdateCharProperties();
}

void TfraEdit::tmrChangeNotifyTimer(TObject* /*Sender*/) {
  DocInfo.IgnoreChangeNotify = false;
  tmrChangeNotify->SetEnabled(false);
}

// ---- Context menu -------------------------------------------------------------------------

void TfraEdit::pmnuEditPopup(TObject* /*Sender*/) {
  const std::pair<TMenuItem*, const char*> twins[] = {
      {pmnuEditUndo, "mnuEditUndo"}, {pmnuEditRedo, "mnuEditRedo"},
      {pmnuEditCut, "mnuEditCut"}, {pmnuEditCutAndAttach, "mnuEditCutAndAttach"},
      {pmnuEditCopy, "mnuEditCopy"}, {pmnuEditCopyAndAttach, "mnuEditCopyAndAttach"},
      {pmnuEditPaste, "mnuEditPaste"}, {pmnuEditSelectAll, "mnuEditSelectAll"}};
  for (const auto& [item, name] : twins) {
    if (TMenuItem* twin = frmMain ? frmMain->Find<TMenuItem>(name) : nullptr) {
      item->SetCaption(twin->Caption());
      item->SetShortCut(twin->ShortCut());
    }
  }
  const bool selection = seEdit->SelAvail();
  pmnuEditUndo->SetEnabled(seEdit->CanUndo());
  pmnuEditRedo->SetEnabled(seEdit->CanRedo());
  for (TMenuItem* item : {pmnuEditCut, pmnuEditCutAndAttach, pmnuEditCopy, pmnuEditCopyAndAttach})
    item->SetEnabled(selection);
  pmnuEditPaste->SetEnabled(Clipboard().HasFormat(CF_TEXT));
}

void TfraEdit::pmnuEditUndoClick(TObject*) {
  THourglass hourglass;
  seEdit->CommandProcessor(ecUndo, '\0', nullptr);
}

void TfraEdit::pmnuEditRedoClick(TObject*) {
  THourglass hourglass;
  seEdit->CommandProcessor(ecRedo, '\0', nullptr);
}

void TfraEdit::pmnuEditCutClick(TObject*) {
  THourglass hourglass;
  seEdit->CommandProcessor(ecCut, '\0', nullptr);
}

void TfraEdit::pmnuEditCopyClick(TObject*) {
  THourglass hourglass;
  seEdit->CommandProcessor(ecCopy, '\0', nullptr);
}

void TfraEdit::pmnuEditPasteClick(TObject*) {
  THourglass hourglass;
  seEdit->CommandProcessor(ecPaste, '\0', nullptr);
}

void TfraEdit::pmnuEditSelectAllClick(TObject*) { seEdit->CommandProcessor(ecSelectAll, '\0', nullptr); }

void TfraEdit::pmnuEditCutAndAttachClick(TObject*) {
  THourglass hourglass;
  if (FrameCommands.OnCutAndAttach) FrameCommands.OnCutAndAttach(seEdit);
}

void TfraEdit::pmnuEditCopyAndAttachClick(TObject*) {
  THourglass hourglass;
  if (FrameCommands.OnCopyAndAttach) FrameCommands.OnCopyAndAttach(seEdit);
}
