// The main window's Format menu and its tool button: each conversion runs on the active
// editor's selected (or whole) text as one undo step.
#include <string>
#include "commands/FormatCommands.h"
#include "commands/LineOperations.h"
#include "commands/TextConversions.h"
#include "commands/fHlpMainLines.h"
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"
#include "documents/fHlpMainFuncs.h"
#include "documents/frameEdit.h"
#include "editor/CodeEdit.h"
#include "foundation/fMain.h"
#include "mainwindow/formMain.h"
#include "rtl/SysUtils.h"
#include "toolkit/Menus.h"
#include "toolkit/ToolBar.h"

namespace {

void Convert(const TTextConversion& Conversion,
             TConvertScope Scope = TConvertScope::SelectionElseAll) {
  ConvertEditorText(GetActiveEditor(), Conversion, Scope);
}

void MoveActiveLines(bool Up) {
  TCodeEdit* editor = GetActiveEditor();
  if (CanWriteDocument(editor)) MoveLines(*editor, Up);
}

}  // namespace

void TfrmMain::ConnectFormatCommands() {
  struct Binding {
    const char* Name;
    void (TfrmMain::*Handler)(TObject*);
  };
  static constexpr Binding bindings[] = {
      {"mnuFormat", &TfrmMain::mnuFormatClick},
      {"mnuFormatToUpper", &TfrmMain::mnuFormatToUpperClick},
      {"mnuFormatToLower", &TfrmMain::mnuFormatToLowerClick},
      {"mnuFormatToUpperLowerSwap", &TfrmMain::mnuFormatToUpperLowerSwapClick},
      {"mnuFormatSpecialCharsToHtmlCodes", &TfrmMain::mnuFormatSpecialCharsToHtmlCodesClick},
      {"mnuFormatSpecialCharsToHtmlUnicodes", &TfrmMain::mnuFormatSpecialCharsToHtmlUnicodesClick},
      {"mnuFormatHtmlCodesUnicodesToSpecialChars",
       &TfrmMain::mnuFormatHtmlCodesUnicodesToSpecialCharsClick},
      {"mnuFormatHtmlToText", &TfrmMain::mnuFormatHtmlToTextClick},
      {"mnuFormatHtmlEncode", &TfrmMain::mnuFormatHtmlEncodeClick},
      {"mnuFormatHtmlDecode", &TfrmMain::mnuFormatHtmlDecodeClick},
      {"mnuFormatComprWhitespaces", &TfrmMain::mnuFormatComprWhitespacesClick},
      {"mnuFormatANSItoANSII", &TfrmMain::mnuFormatANSItoANSIIClick},
      {"mnuFormatASCIItoANSI", &TfrmMain::mnuFormatASCIItoANSIClick},
      {"mnuFormatANSItoUTF8", &TfrmMain::mnuFormatANSItoUTF8Click},
      {"mnuFormatUTF8toANSI", &TfrmMain::mnuFormatUTF8toANSIClick},
      {"mnuFormatToURL", &TfrmMain::mnuFormatToURLClick},
      {"mnuFormatFromURL", &TfrmMain::mnuFormatFromURLClick},
      {"mnuFormatToQP", &TfrmMain::mnuFormatToQPClick},
      {"mnuFormatFromQP", &TfrmMain::mnuFormatFromQPClick},
      {"mnuFormatToBase64", &TfrmMain::mnuFormatToBase64Click},
      {"mnuFormatFromBase64", &TfrmMain::mnuFormatFromBase64Click},
      {"mnuFormatROT13", &TfrmMain::mnuFormatROT13Click},
      {"mnuFormatTabsToSpaces", &TfrmMain::mnuFormatTabsToSpacesClick},
      {"mnuFormatSpacesToTabs", &TfrmMain::mnuFormatSpacesToTabsClick},
      {"mnuFormatTrimTrailingSpaces", &TfrmMain::mnuFormatTrimTrailingSpacesClick},
      {"mnuFormatLineWrapRightEdge", &TfrmMain::mnuFormatLineWrapRightEdgeClick},
      {"mnuFormatLineWrapRightEdgeNChars", &TfrmMain::mnuFormatLineWrapRightEdgeNCharsClick},
      {"mnuFormatSortAsc", &TfrmMain::mnuFormatSortAscClick},
      {"mnuFormatSortDesc", &TfrmMain::mnuFormatSortDescClick},
      {"mnuFormatParIn", &TfrmMain::mnuFormatParInClick},
      {"mnuFormatParOut", &TfrmMain::mnuFormatParOutClick},
      {"mnuFormatMoveLineUp", &TfrmMain::mnuFormatMoveLineUpClick},
      {"mnuFormatMoveLineDown", &TfrmMain::mnuFormatMoveLineDownClick},
      {"mnuFormatDelEmptyLines", &TfrmMain::mnuFormatDelEmptyLinesClick},
      {"mnuFormatDelDuplicateLines", &TfrmMain::mnuFormatDelDuplicateLinesClick},
      {"mnuFormatDelLinesMatch", &TfrmMain::mnuFormatDelLinesMatchClick},
      {"mnuFormatDelLinesNotMatch", &TfrmMain::mnuFormatDelLinesNotMatchClick},
      {"mnuFormatDelLinesStarts", &TfrmMain::mnuFormatDelLinesStartsClick},
      {"mnuFormatDelLinesContains", &TfrmMain::mnuFormatDelLinesContainsClick},
      {"mnuFormatDelLinesEnds", &TfrmMain::mnuFormatDelLinesEndsClick},
      {"mnuFormatDelLinesNotStarts", &TfrmMain::mnuFormatDelLinesNotStartsClick},
      {"mnuFormatDelLinesNotContains", &TfrmMain::mnuFormatDelLinesNotContainsClick},
      {"mnuFormatDelLinesNotEnds", &TfrmMain::mnuFormatDelLinesNotEndsClick},
      {"mnuFormatFillSelection", &TfrmMain::mnuFormatFillSelectionClick},
      {"mnuFormatConnectLines", &TfrmMain::mnuFormatConnectLinesClick},
      {"mnuFormatReplaceHtmlNamedChars", &TfrmMain::mnuFormatReplaceHtmlNamedCharsClick},
      {"tbMainFormatReplaceHtmlNamedChars", &TfrmMain::tbMainFormatReplaceHtmlNamedCharsClick},
  };
  for (const Binding& binding : bindings) {
    TNotifyEvent handler = [this, h = binding.Handler](TObject* Sender) { (this->*h)(Sender); };
    if (auto* item = Find<TMenuItem>(binding.Name)) item->OnClick = handler;
    else if (auto* button = Find<TToolButton>(binding.Name)) button->OnClick = handler;
  }
}

void TfrmMain::mnuFormatClick(TObject*) {
  auto* menu = Find<TMenuItem>("mnuFormat");
  if (TCodeEdit* editor = GetActiveEditor()) {
    const bool hasText = editor->TextLength() > 0;
    for (const char* name : {"mnuFormatConvert", "mnuFormatParIn", "mnuFormatParOut",
                             "mnuFormatDelLines", "mnuFormatLineWrap"})
      Find<TMenuItem>(name)->SetEnabled(hasText);
    const int lines = editor->Lines().Count();
    Find<TMenuItem>("mnuFormatSortAsc")->SetEnabled(lines > 1);
    Find<TMenuItem>("mnuFormatSortDesc")->SetEnabled(lines > 1);
    Find<TMenuItem>("mnuFormatMoveLineUp")->SetEnabled(editor->CaretY() >= 2);
    Find<TMenuItem>("mnuFormatMoveLineDown")->SetEnabled(lines > editor->CaretY());
    Find<TMenuItem>("mnuFormatFillSelection")->SetEnabled(editor->SelAvail());
    Find<TMenuItem>("mnuFormatConnectLines")->SetEnabled(editor->SelAvail());
  }
  KeepUnbuiltDisabled(menu);
}

void TfrmMain::mnuFormatToUpperClick(TObject*) { Convert(AnsiUpperCase); }
void TfrmMain::mnuFormatToLowerClick(TObject*) { Convert(AnsiLowerCase); }
void TfrmMain::mnuFormatToUpperLowerSwapClick(TObject*) { Convert(InvertCase); }

void TfrmMain::mnuFormatSpecialCharsToHtmlCodesClick(TObject*) {
  Convert([](const std::string& T) { return SpecialCharsToEntities(T, false); });
}

void TfrmMain::mnuFormatSpecialCharsToHtmlUnicodesClick(TObject*) {
  Convert([](const std::string& T) { return SpecialCharsToEntities(T, true); });
}

void TfrmMain::mnuFormatHtmlCodesUnicodesToSpecialCharsClick(TObject*) { Convert(ConvertHtmlChars); }
void TfrmMain::mnuFormatHtmlToTextClick(TObject*) { Convert(HtmlToText); }
void TfrmMain::mnuFormatHtmlEncodeClick(TObject*) { Convert(HtmlEncode); }
void TfrmMain::mnuFormatHtmlDecodeClick(TObject*) { Convert(HtmlDecode); }
void TfrmMain::mnuFormatComprWhitespacesClick(TObject*) { Convert(CompressWhitespaces); }
void TfrmMain::mnuFormatANSItoANSIIClick(TObject*) { Convert(ConvertAnsiToOem); }
void TfrmMain::mnuFormatASCIItoANSIClick(TObject*) { Convert(ConvertOemToAnsi); }
void TfrmMain::mnuFormatANSItoUTF8Click(TObject*) { Convert(AnsiToUtf8); }
void TfrmMain::mnuFormatUTF8toANSIClick(TObject*) { Convert(Utf8ToAnsi); }

void TfrmMain::mnuFormatToURLClick(TObject*) {
  Convert([](const std::string& T) { return URLEncode(T, ""); });
}

void TfrmMain::mnuFormatFromURLClick(TObject*) { Convert(URLDecode); }

void TfrmMain::mnuFormatToQPClick(TObject*) {
  Convert([](const std::string& T) { return QPEncode(T, false); });
}

void TfrmMain::mnuFormatFromQPClick(TObject*) { Convert(QPDecode); }
void TfrmMain::mnuFormatToBase64Click(TObject*) { Convert(Base64Encode); }
void TfrmMain::mnuFormatFromBase64Click(TObject*) { Convert(Base64ToText); }
void TfrmMain::mnuFormatROT13Click(TObject*) { Convert(Rot13); }

void TfrmMain::mnuFormatTabsToSpacesClick(TObject*) {
  const int width = Settings.Editor.TabWidth;
  Convert([width](const std::string& T) { return TabsToSpaces(T, width); });
}

void TfrmMain::mnuFormatSpacesToTabsClick(TObject*) {
  const int width = Settings.Editor.TabWidth;
  Convert([width](const std::string& T) { return SpacesToTabs(T, width); });
}

void TfrmMain::mnuFormatTrimTrailingSpacesClick(TObject*) { Convert(TrimLineEnds); }

void TfrmMain::mnuFormatLineWrapRightEdgeClick(TObject*) {
  const int width = Settings.Editor.RightEdge;
  Convert([width](const std::string& T) { return WrapTextLines(T, width); });
}

void TfrmMain::mnuFormatLineWrapRightEdgeNCharsClick(TObject*) {
  WrapLinesAfterQuery(GetActiveEditor());
}

void TfrmMain::mnuFormatSortAscClick(TObject*) {
  Convert([](const std::string& T) { return SortTextLines(T, false); });
}

void TfrmMain::mnuFormatSortDescClick(TObject*) {
  Convert([](const std::string& T) { return SortTextLines(T, true); });
}

void TfrmMain::mnuFormatParInClick(TObject*) { IndentParagraph(GetActiveEditor(), false); }
void TfrmMain::mnuFormatParOutClick(TObject*) { IndentParagraph(GetActiveEditor(), true); }
void TfrmMain::mnuFormatMoveLineUpClick(TObject*) { MoveActiveLines(true); }
void TfrmMain::mnuFormatMoveLineDownClick(TObject*) { MoveActiveLines(false); }

void TfrmMain::mnuFormatDelEmptyLinesClick(TObject*) {
  Convert(DeleteEmptyTextLines, TConvertScope::WholeText);
}

void TfrmMain::mnuFormatDelDuplicateLinesClick(TObject*) {
  Convert(DeleteDuplicateTextLines, TConvertScope::WholeText);
}

void TfrmMain::mnuFormatDelLinesMatchClick(TObject*) { RemoveLines(0, GetActiveEditor()); }
void TfrmMain::mnuFormatDelLinesNotMatchClick(TObject*) { RemoveLines(1, GetActiveEditor()); }
void TfrmMain::mnuFormatDelLinesStartsClick(TObject*) { RemoveLines(2, GetActiveEditor()); }
void TfrmMain::mnuFormatDelLinesContainsClick(TObject*) { RemoveLines(3, GetActiveEditor()); }
void TfrmMain::mnuFormatDelLinesEndsClick(TObject*) { RemoveLines(4, GetActiveEditor()); }
void TfrmMain::mnuFormatDelLinesNotStartsClick(TObject*) { RemoveLines(5, GetActiveEditor()); }
void TfrmMain::mnuFormatDelLinesNotContainsClick(TObject*) { RemoveLines(6, GetActiveEditor()); }
void TfrmMain::mnuFormatDelLinesNotEndsClick(TObject*) { RemoveLines(7, GetActiveEditor()); }

void TfrmMain::mnuFormatFillSelectionClick(TObject*) { FillSelectionQuery(GetActiveEditor()); }

void TfrmMain::mnuFormatConnectLinesClick(TObject*) {
  Convert(JoinTextLines, TConvertScope::SelectionOnly);
}

void TfrmMain::mnuFormatReplaceHtmlNamedCharsClick(TObject*) {
  TfraEdit* frame = GetActiveFrame();
  if (!frame) return;
  auto* item = Find<TMenuItem>("mnuFormatReplaceHtmlNamedChars");
  item->SetChecked(!item->Checked());
  if (auto* button = Find<TToolButton>("tbMainFormatReplaceHtmlNamedChars"))
    button->SetDown(item->Checked());
  frame->DocInfo.ReplaceHtmlNamedChars = item->Checked();
}

void TfrmMain::tbMainFormatReplaceHtmlNamedCharsClick(TObject* Sender) {
  mnuFormatReplaceHtmlNamedCharsClick(Sender);
}
