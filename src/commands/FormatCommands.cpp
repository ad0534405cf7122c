#include "commands/FormatCommands.h"
#include "commands/LineOperations.h"
#include "documents/fHlpMainFuncs.h"
#include "documents/fLanguage.h"
#include "editor/CodeEdit.h"
#include "editor/CodeEditScopes.h"
#include "foundation/fMain.h"
#include "rtl/SysUtils.h"
#include "toolkit/Cursor.h"
#include "toolkit/Dialogs.h"

void ConvertEditorText(TCustomCodeEdit* Editor, const TTextConversion& Conversion,
                       TConvertScope Scope) {
  if (!CanWriteDocument(Editor)) return;
  const bool selected = Editor->SelAvail();
  if (Scope == TConvertScope::SelectionOnly && !selected) return;
  const bool whole = Scope == TConvertScope::WholeText || !selected;
  THourglass hourglass;
  const std::optional<std::string> result = Conversion(whole ? Editor->Text() : Editor->SelText());
  if (!result) return;
  {
    codeeditscopes::TUndoBlock block(Editor->UndoList());
    if (whole) Editor->SelectAll();
    Editor->SetSelText(*result);
  }
  Editor->Repaint();
  Editor->EnsureCursorPosVisible();
}

void WrapLinesAfterQuery(TCustomCodeEdit* Editor) {
  if (!CanWriteDocument(Editor)) return;
  std::string answer;
  if (!InputQuery(GetLangText("Main|InpLineWrapTitle", "Zeilen umbrechen"),
                  GetLangText("Main|InpLineWrapText", "Anzahl der Zeichen pro Zeile:"), answer))
    return;
  const int width = StrToIntDef(answer, 0);
  if (width < 1) return;
  ConvertEditorText(Editor, [width](const std::string& T) { return WrapTextLines(T, width); });
}

void FillSelectionQuery(TCustomCodeEdit* Editor) {
  if (!CanWriteDocument(Editor)) return;
  if (!Editor->SelAvail()) Editor->SelectAll();
  std::string pattern;
  if (!InputQuery(GetLangText("Main|InpFillSelTitle", "Auswahl f\xFCllen"),
                  GetLangText("Main|InpFillSelText",
                              "Geben Sie bitte die Zeichen ein, mit denen die Auswahl "
                              "aufgef\xFCllt werden soll:"),
                  pattern) ||
      pattern.empty())
    return;
  ConvertEditorText(
      Editor, [&pattern](const std::string& T) { return FillText(T.size(), pattern); },
      TConvertScope::SelectionOnly);
}

void IndentParagraph(TCustomCodeEdit* Editor, bool Outdent) {
  if (!CanWriteDocument(Editor)) return;
  THourglass hourglass;
  Editor->CommandProcessor(Outdent ? ecBlockUnindent : ecBlockIndent, '\0', nullptr);
}
