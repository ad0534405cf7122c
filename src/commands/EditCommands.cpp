#include "commands/EditCommands.h"
#include <windows.h>
#include <algorithm>
#include <climits>
#include "commands/fHlpMainLines.h"
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"
#include "documents/fHlpMainFuncs.h"
#include "documents/fLanguage.h"
#include "documents/fMain.h"
#include "documents/frameEdit.h"
#include "editor/CodeEdit.h"
#include "editor/CodeEditScopes.h"
#include "printing/CodeExportHTML.h"
#include "printing/CodeExportRTF.h"
#include "rtl/SysUtils.h"
#include "toolkit/Clipboard.h"
#include "toolkit/Cursor.h"
#include "toolkit/Dialogs.h"

namespace {

constexpr int BankCount = 10;
constexpr int BookmarkCount = 10;

HWND OwnerHandle(const TCustomCodeEdit& Editor) {
  return Editor.HandleAllocated() ? Editor.Handle() : nullptr;
}

// Reads and replaces the clipboard's text under one opening: a clipboard another program holds
// for a moment raises, where a read of its own would take it as empty and the text gathered so
// far would be replaced. The gathered text is read wide: another program's characters the code
// page lacks stay as they were.
void AttachToClipboardText(const TCustomCodeEdit& Editor, const std::string& Text) {
  TClipboard& clipboard = Clipboard();
  if (!clipboard.Open(OwnerHandle(Editor))) throw ECodeEditError("Clipboard copy operation failed");
  const std::wstring gathered = ReadClipboardWideText(clipboard).value_or(std::wstring());
  clipboard.Empty();
  const bool placed = WriteClipboardWideText(clipboard, gathered + AnsiToWide(Text));
  clipboard.Close();
  if (!placed) throw ECodeEditError("Clipboard copy operation failed");
}

void ReplaceSelection(TCustomCodeEdit& Editor, const std::string& Text) {
  {
    codeeditscopes::TUndoBlock block(Editor.UndoList());
    Editor.SetSelText(Text);
  }
  Editor.Repaint();
  Editor.EnsureCursorPosVisible();
}

bool InsertAccepted(const std::string& FileName) {
  return MsgBox(GetLangText("Main|MsgNoTextFileText",
                            "Die Datei \"%s1%\" ist keine Textdatei%w%und kann m\xF6glicherweise "
                            "nicht richtig angezeigt oder gespeichert werden.%w%%w%M\xF6" "chten "
                            "Sie diese Datei dennoch einf\xFCgen?",
                            LangParams({FileName})),
                GetLangText("Main|MsgPasteFromFileTitle", "Datei einf\xFCgen"),
                MB_ICONQUESTION | MB_YESNO | MB_DEFBUTTON2) == IDYES;
}

std::string CopyToFileTitle() { return GetLangText("Main|MsgCopyToFileTitle", "Kopieren in Datei"); }

// The target chosen in the save dialog, asked again after "No" to overwriting; empty when
// the user cancels.
std::string ChooseCopyTarget(const TfraEdit& Frame) {
  const std::string filter = GetOpenDialogFilter();
  const std::string ext =
      Frame.DocInfo.FileName.empty() ? ".txt" : ExtractFileExt(Frame.DocInfo.FileName);
  for (;;) {
    TFileDialogArgs args;
    args.title = GetLangText("Main|DlgCopyToFileTitle", "Kopieren in Datei");
    args.filter = filter;
    const int row = FindFileTypeIndex(ext);
    if (row >= 0) args.filterIndex = row + 1;
    args.overwritePrompt = false;  // asked below, after the extension is added
    int filterIndex = args.filterIndex;
    std::string name = ExecuteSaveDialog(args, &filterIndex);
    if (name.empty()) return name;
    if (ExtractFileExt(name).empty()) name += SaveAsDefaultExtension(filter, filterIndex);
    if (!FileExists(name)) return name;
    const int answer =
        MsgBox(GetLangText("Main|MsgFileExistsText",
                           "Die Datei \"%s1%\" existiert bereits.%w%Soll diese Datei \xFC"
                           "berschrieben werden?",
                           LangParams({name})),
               CopyToFileTitle(), MB_ICONQUESTION | MB_YESNOCANCEL);
    if (answer == IDYES) return name;
    if (answer != IDNO) return std::string();
  }
}

void ExportSelection(TCustomCodeEdit& Editor, TCodeCustomExporter& Exporter) {
  Exporter.SetHighlighter(Editor.Highlighter());
  if (!Editor.SelAvail()) Editor.SelectAll();
  Exporter.ExportRange(&Editor.Lines(), Editor.BlockBegin(), Editor.BlockEnd());
  Exporter.CopyToClipboard();
}

// The reader ends the text with one line break more than the file has (of the kind it found),
// which a paste in the middle of a line must not bring along.
void DropAppendedBreak(std::string& Text, TLineBreakFormat LineBreak) {
  size_t size = 0;
  if (LineBreak == lbfWindows || LineBreak == lbfNetscape) size = 2;
  if (LineBreak == lbfUnix || LineBreak == lbfMacintosh) size = 1;
  Text.resize(Text.size() - std::min(size, Text.size()));
}

bool ValidBank(int Index) { return Index >= 0 && Index < BankCount; }
bool ValidBookmark(int Index) { return Index >= 0 && Index < BookmarkCount; }

// The number typed into an input box: -1 for anything that is not one.
int AnswerNumber(const std::string& Answer) { return StrToIntDef(Answer, -1); }

}  // namespace

std::string ClipboardText() {
  TClipboard& clipboard = Clipboard();
  if (!clipboard.HasFormat(CF_TEXT) || !clipboard.Open(nullptr)) return std::string();
  const std::optional<std::string> text = ReadClipboardText(clipboard);
  clipboard.Close();
  return text.value_or(std::string());
}

void CopyAndAttach(TCustomCodeEdit* Editor) {
  if (!Editor || !Editor->SelAvail()) return;
  AttachToClipboardText(*Editor, Editor->SelText());
}

void CutAndAttach(TCustomCodeEdit* Editor) {
  if (!CanWriteDocument(Editor) || !Editor->SelAvail()) return;
  CopyAndAttach(Editor);  // raises on failure: nothing is deleted then
  ReplaceSelection(*Editor, std::string());
}

void PasteFromFile(TCustomCodeEdit* Editor) {
  if (!CanWriteDocument(Editor)) return;
  TFileDialogArgs args;
  args.title = GetLangText("Main|DlgPasteFromFileTitle", "Einf\xFCgen aus Datei");
  args.filter = GetOpenDialogFilter();
  const std::vector<std::string> chosen = ExecuteOpenDialog(args);
  if (chosen.empty()) return;
  const std::string& fileName = chosen.front();
  std::string text;
  TFileFormat format = ffAnsi;
  {
    THourglass hourglass;
    TLineBreakFormat lineBreak = lbfWindows;
    try {
      LoadTextFile(fileName, lineBreak, format, text);
      DropAppendedBreak(text, lineBreak);
    } catch (const std::exception&) {
      MsgBox(GetLangText("Main|MsgFileErrOpenText",
                         "Die Datei \"%s1%\" konnte nicht ge\xF6" "ffnet werden.",
                         LangParams({fileName})),
             GetLangText("Main|MsgPasteFromFileTitle", "Datei einf\xFCgen"),
             MB_ICONERROR | MB_OK);
      return;
    }
  }
  if (format == ffBinary && Settings.General.OpenBinWarn && !InsertAccepted(fileName)) return;
  THourglass hourglass;
  ReplaceSelection(*Editor, text);
}

void CopySelectionToFile(TfraEdit* Frame) {
  if (!Frame) return;
  TCustomCodeEdit& editor = *Frame->seEdit;
  const std::string name = ChooseCopyTarget(*Frame);
  if (name.empty()) return;
  bool saved = false;
  {
    THourglass hourglass;
    try {
      saved = SaveTextFile(name, editor.SelText(), Frame->DocInfo.LineBreakFormat,
                           Frame->DocInfo.FileFormat);
    } catch (const std::exception&) {
      saved = false;
    }
  }
  if (!saved)
    MsgBox(GetLangText("Main|MsgFileSaveErrText",
                       "Die Datei \"%s1%\" konnte nicht gespeichert werden.%w%M\xF6glicherweise "
                       "ist die Datei schreibgesch\xFCtzt.",
                       LangParams({name})),
           CopyToFileTitle(), MB_ICONERROR | MB_OK);
  UpdateCaption();
}

void CopyFormattedRTF(TCustomCodeEdit* Editor, TCodeExporterRTF& Exporter) {
  if (!Editor) return;
  Exporter.Clear();
  Exporter.SetExportAsText(false);
  ExportSelection(*Editor, Exporter);
}

void CopyFormattedHTML(TCustomCodeEdit* Editor, TCodeExporterHTML& Exporter, bool Fragment) {
  if (!Editor) return;
  Exporter.Clear();
  Exporter.SetExportAsText(true);
  Exporter.SetCreateHTMLFragment(Fragment);
  ExportSelection(*Editor, Exporter);
}

void CopyToMemoryBank(TCustomCodeEdit* Editor, int Index) {
  if (!Editor || !ValidBank(Index)) return;
  THourglass hourglass;
  MemoryBanks[Index] = Editor->SelText();
}

void PasteFromMemoryBank(TCustomCodeEdit* Editor, int Index) {
  if (!CanWriteDocument(Editor) || !ValidBank(Index)) return;
  ReplaceSelection(*Editor, MemoryBanks[Index]);
}

void GotoLineQuery(TCustomCodeEdit* Editor) {
  if (!Editor || Editor->Lines().Count() < 2) return;
  const int count = Editor->Lines().Count();
  std::string answer;
  if (!InputQuery(GetLangText("Main|InpGotoLineTitle", "Gehe zu Zeile"),
                  GetLangText("Main|InpGotoLineText", "Geben Sie eine Zeilennummer von 1 bis %s1% an.",
                              LangParams({IntToStr(count)})),
                  answer) ||
      answer.empty())
    return;
  Editor->GotoLineAndCenter(std::clamp(AnswerNumber(answer), 1, count));
}

void GotoPositionQuery(TCustomCodeEdit* Editor) {
  if (!Editor || Editor->TextLength() == 0) return;
  const int64_t last = Editor->TextLength() + 1;
  std::string answer;
  if (!InputQuery(GetLangText("Main|InpGotoPosTitle", "Gehe zu Position"),
                  GetLangText("Main|InpGotoPosText", "Geben Sie eine Position von 1 bis %s1% an.",
                              LangParams({IntToStr(last)})),
                  answer) ||
      answer.empty())
    return;
  const int position =
      static_cast<int>(std::clamp<int64_t>(AnswerNumber(answer), 1, std::min<int64_t>(last, INT_MAX)));
  const TBufferCoord target = Editor->CharIndexToRowCol(position - 1);
  Editor->GotoLineAndCenter(target.Line);
  Editor->SetCaretXY(target);
}

void ToggleBookmark(TCustomCodeEdit* Editor, int Index) {
  if (!Editor || !ValidBookmark(Index)) return;
  const TBufferCoord caret = Editor->CaretXY();
  int x = 0, y = 0;
  if (Editor->GetBookMark(Index, x, y)) {
    Editor->ClearBookMark(Index);
    if (x == caret.Char && y == caret.Line) return;
  }
  Editor->SetBookMark(Index, caret.Char, caret.Line);
}

void GotoBookmark(TCustomCodeEdit* Editor, int Index) {
  int x = 0, y = 0;
  if (!Editor || !ValidBookmark(Index) || !Editor->GetBookMark(Index, x, y)) return;
  Editor->GotoBookMark(Index);
}

void GotoNextBookmark(TCustomCodeEdit* Editor, bool Forward) {
  if (!Editor) return;
  const int caret = Editor->RowColToCharIndex(Editor->CaretXY());
  bool found = false;
  int best = 0;
  TBufferCoord target{1, 1};
  for (int i = 0; i < BookmarkCount; ++i) {
    int x = 0, y = 0;
    if (!Editor->GetBookMark(i, x, y)) continue;
    const int index = Editor->RowColToCharIndex({x, y});
    const bool beyond = Forward ? index > caret : index < caret;
    const bool nearer = !found || (Forward ? index < best : index > best);
    if (beyond && nearer) {
      found = true;
      best = index;
      target = {x, y};
    }
  }
  if (found) Editor->SetCaretXY(target);
}

void RemoveAllBookmarks(TCustomCodeEdit* Editor) {
  if (!Editor) return;
  for (int i = 0; i < BookmarkCount; ++i) Editor->ClearBookMark(i);
}

void JumpToMatchingBracket(TCustomCodeEdit* Editor) {
  if (!Editor) return;
  const TBufferCoord match = GotoMatchingBracket(Editor);
  Editor->SetCaretXY(match.Char != 0 && match.Line != 0 ? match : Editor->CaretXY());
}
