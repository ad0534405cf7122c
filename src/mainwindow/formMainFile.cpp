// The main window's File menu, its tool buttons, the tab strip and its context menu: each
// calls the document routine that does the work.
#include "commands/FileSessions.h"
#include "commands/Templates.h"
#include "commands/fHlpMainPrint.h"
#include "dialogs/formPreview.h"
#include "documents/XmlDoc.h"
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"
#include "documents/fHlpMainFuncs.h"
#include "documents/fLanguage.h"
#include "documents/frameEdit.h"
#include "foundation/fMain.h"
#include "mainwindow/formMain.h"
#include "printing/CodeExportHTML.h"
#include "printing/CodeExportRTF.h"
#include "rtl/Streams.h"
#include "rtl/SysUtils.h"
#include "toolkit/Abort.h"
#include "toolkit/Clipboard.h"
#include "toolkit/Cursor.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Menus.h"
#include "toolkit/PageControl.h"
#include "toolkit/ToolBar.h"

namespace {

constexpr int TemplateItemImage = 102;
constexpr int FileFormatImage = 148;
constexpr int LineBreakImage = 33;

void ShowFileSaveError(const std::string& FileName) {
  MsgBox(GetLangText("Main|MsgFileSaveErrText",
                     "Die Datei \"%s1%\" konnte nicht gespeichert werden.%w%"
                     "M\xF6glicherweise ist die Datei schreibgesch\xFCtzt.",
                     LangParams({FileName})),
         GetLangText("Main|MsgFileSaveTitle", "Datei speichern"), MB_ICONERROR | MB_OK);
}

// Yes, No or Cancel to overwriting an existing file.
int AskOverwrite(const std::string& FileName, const std::string& Title) {
  return MsgBox(GetLangText("Main|MsgFileExistsText",
                            "Die Datei \"%s1%\" existiert bereits.%w%Soll diese Datei "
                            "\xFC" "berschrieben werden?",
                            LangParams({FileName})),
                Title, MB_ICONQUESTION | MB_YESNOCANCEL);
}

void PutTextOnClipboard(const std::string& Text) {
  TClipboard& clipboard = Clipboard();
  if (!clipboard.Open(frmMain ? frmMain->Handle() : nullptr)) return;
  clipboard.Empty();
  WriteClipboardText(clipboard, Text);
  clipboard.Close();
}

// The active document as the print commands take it; no editor when none is open.
TPrintDocument ActivePrintDocument() {
  TfraEdit* frame = GetActiveFrame();
  if (!frame || !frame->seEdit) return {};
  return {frame->seEdit, frame->DocInfo.Title, frame->DocInfo.FileName};
}

void CheckItem(const char* Name, bool Checked) {
  if (auto* item = frmMain->Find<TMenuItem>(Name)) item->SetChecked(Checked);
}

}  // namespace

void TfrmMain::ConnectFileCommands() {
  ReopenItemClick = [this](TObject* Sender) { mnuFileReOpenDocsClick(Sender); };
  struct Binding {
    const char* Name;
    void (TfrmMain::*Handler)(TObject*);
  };
  static constexpr Binding bindings[] = {
      {"mnuFile", &TfrmMain::mnuFileClick},
      {"mnuFileNew", &TfrmMain::mnuFileNewClick},
      {"mnuFileNewDoc", &TfrmMain::mnuFileNewDocClick},
      {"mnuFileOpen", &TfrmMain::mnuFileOpenClick},
      {"tbMainFileReOpen", &TfrmMain::mnuFileOpenClick},
      {"mnuFileReload", &TfrmMain::mnuFileReloadClick},
      {"mnuFileSave", &TfrmMain::mnuFileSaveClick},
      {"tbMainFileSave", &TfrmMain::mnuFileSaveClick},
      {"mnuFileSaveAs", &TfrmMain::mnuFileSaveAsClick},
      {"mnuFileSaveAll", &TfrmMain::mnuFileSaveAllClick},
      {"tbMainFileSaveAll", &TfrmMain::mnuFileSaveAllClick},
      {"mnuFileFileFormat", &TfrmMain::mnuFileFileFormatClick},
      {"mnuFileLineBreakFormat", &TfrmMain::mnuFileLineBreakFormatClick},
      {"mnuFileExport", &TfrmMain::mnuFileExportClick},
      {"mnuFileSessionOpen", &TfrmMain::mnuFileSessionOpenClick},
      {"mnuFileSessionSaveAs", &TfrmMain::mnuFileSessionSaveAsClick},
      {"mnuFileClose", &TfrmMain::mnuFileCloseClick},
      {"pmnuTabsClose", &TfrmMain::mnuFileCloseClick},
      {"tbMainFileClose", &TfrmMain::mnuFileCloseClick},
      {"mnuFileCloseAllButCurrent", &TfrmMain::mnuFileCloseAllButCurrentClick},
      {"pmnuTabsCloseAllButCurrent", &TfrmMain::mnuFileCloseAllButCurrentClick},
      {"mnuFileCloseAll", &TfrmMain::mnuFileCloseAllClick},
      {"pmnuTabsCloseAll", &TfrmMain::mnuFileCloseAllClick},
      {"mnuFileExit", &TfrmMain::mnuFileExitClick},
      {"pmnuTabsReadOnly", &TfrmMain::pmnuTabsReadOnlyClick},
      {"pmnuTabsCopyFullPath", &TfrmMain::pmnuTabsCopyFullPathClick},
      {"pmnuTabsCopyFileName", &TfrmMain::pmnuTabsCopyFileNameClick},
      {"pmnuTabsCopyFilePath", &TfrmMain::pmnuTabsCopyFilePathClick},
      {"mnuFilePrintSetup", &TfrmMain::mnuFilePrintSetupClick},
      {"mnuFilePrintPreview", &TfrmMain::mnuFilePrintPreviewClick},
      {"tbMainFilePrintPreview", &TfrmMain::mnuFilePrintPreviewClick},
      {"mnuFilePrint", &TfrmMain::mnuFilePrintClick},
      {"tbMainFilePrint", &TfrmMain::mnuFilePrintClick},
      {"mnuFilePrintUnFormatted", &TfrmMain::mnuFilePrintUnFormattedClick},
  };
  for (const Binding& binding : bindings) {
    TNotifyEvent handler = [this, h = binding.Handler](TObject* Sender) { (this->*h)(Sender); };
    if (auto* item = Find<TMenuItem>(binding.Name)) item->OnClick = handler;
    else if (auto* button = Find<TToolButton>(binding.Name)) button->OnClick = handler;
  }
  // The formats: menu items by code, the tool buttons go back to the format read.
  const std::pair<const char*, TFileFormat> fileFormats[] = {
      {"mnuFileFileFormatAnsi", ffAnsi}, {"mnuFileFileFormatUtf8", ffUtf8},
      {"mnuFileFileFormatOriginal", -1}, {"tbMainFileFileFormat", -1}};
  for (const auto& [name, code] : fileFormats) {
    TNotifyEvent handler = [c = code](TObject*) { SetFileFormat(c); };
    if (auto* item = Find<TMenuItem>(name)) item->OnClick = handler;
    else Find<TToolButton>(name)->OnClick = handler;
  }
  const std::pair<const char*, TLineBreakFormat> lineBreaks[] = {
      {"mnuFileLineBreakFormatWindows", lbfWindows}, {"mnuFileLineBreakFormatUNIX", lbfUnix},
      {"mnuFileLineBreakFormatMacIntosh", lbfMacintosh},
      {"mnuFileLineBreakFormatNetscape", lbfNetscape}, {"mnuFileLineBreakFormatOriginal", -1},
      {"tbMainFileLineBreakFormat", -1}};
  for (const auto& [name, code] : lineBreaks) {
    TNotifyEvent handler = [c = code](TObject*) { SetLineBreakFormat(c); };
    if (auto* item = Find<TMenuItem>(name)) item->OnClick = handler;
    else Find<TToolButton>(name)->OnClick = handler;
  }
  pmnuTabs->OnPopup = [this](TObject* Sender) { pmnuTabsPopup(Sender); };
  pcEdit->OnMouseDown = [this](TObject* S, int B, TShiftState Sh, int X, int Y) {
    pcEditMouseDown(S, B, Sh, X, Y);
  };
  pcEdit->OnMouseUp = [this](TObject* S, int B, TShiftState Sh, int X, int Y) {
    pcEditMouseUp(S, B, Sh, X, Y);
  };
  pcEdit->OnDragOver = [this](TObject* S, TObject* Src, int X, int Y, bool& Accept) {
    pcEditDragOver(S, Src, X, Y, Accept);
  };
  pcEdit->OnDragDrop = [this](TObject* S, TObject* Src, int X, int Y) {
    pcEditDragDrop(S, Src, X, Y);
  };
}

void TfrmMain::mnuFileClick(TObject* Sender) {
  if (TfraEdit* frame = GetActiveFrame(); frame && frame->seEdit) {
    Find<TMenuItem>("mnuFileSave")->SetEnabled(frame->DocInfo.Modified);
    Find<TMenuItem>("mnuFileCloseAllButCurrent")->SetEnabled(pcEdit->PageCount() > 1);
    Find<TMenuItem>("mnuFileFileFormat")->SetImageIndex(FileFormatImage + frame->DocInfo.FileFormat);
    Find<TMenuItem>("mnuFileLineBreakFormat")
        ->SetImageIndex(LineBreakImage + frame->DocInfo.LineBreakFormat);
    // An untitled document has no file to reload or to show.
    const bool named = !frame->DocInfo.FileName.empty();
    Find<TMenuItem>("mnuFileReload")->SetEnabled(named);
    Find<TMenuItem>("mnuFileProperties")->SetEnabled(named);
  }
  UpdateReopenMenu();
  if (auto* menu = dynamic_cast<TMenuItem*>(Sender)) KeepUnbuiltDisabled(menu);
}

void TfrmMain::mnuFileNewClick(TObject* Sender) {
  auto* menu = Find<TMenuItem>("mnuFileNew");
  while (menu->Count() > 2) menu->Delete(2);
  if (!DocTemplateFiles) DocTemplateFiles = std::make_unique<TStringList>();
  ListFiles(Settings.AppDir + "Templates\\Document\\", "*.*", *DocTemplateFiles);
  if (DocTemplateFiles->Count() > 0) {
    auto separator = std::make_unique<TMenuItem>(nullptr);
    separator->SetCaption("-");
    menu->Add(std::move(separator));
  }
  for (int i = 0; i < DocTemplateFiles->Count(); ++i) {
    auto item = std::make_unique<TMenuItem>(nullptr);
    item->SetCaption(
        ReplaceAll(ChangeFileExt(ExtractFileName((*DocTemplateFiles)[i]), ""), "&", "&&", false));
    item->SetTag(i);
    item->SetImageIndex(TemplateItemImage);
    item->OnClick = [this](TObject* S) { mnuFileNewDocItemClick(S); };
    menu->Add(std::move(item));
  }
  if (auto* self = dynamic_cast<TMenuItem*>(Sender)) KeepUnbuiltDisabled(self);
}

void TfrmMain::mnuFileNewDocClick(TObject*) { OpenFile("", false, nullptr); }

void TfrmMain::mnuFileNewDocItemClick(TObject* Sender) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  if (!item || !DocTemplateFiles || item->Tag() < 0 || item->Tag() >= DocTemplateFiles->Count())
    return;
  // The path as listed: an "&" in a folder or file name belongs to the name.
  NewFromTemplate((*DocTemplateFiles)[item->Tag()], true);
}

void TfrmMain::mnuFileOpenClick(TObject*) {
  TFileDialogArgs args;
  args.title = GetLangText("Main|DlgOpenFileTitle", "Datei \xF6" "ffnen");
  args.filter = GetOpenDialogFilter();
  args.multiSelect = true;
  args.showReadOnly = true;
  bool readOnly = false;
  const std::vector<std::string> names = ExecuteOpenDialog(args, &readOnly);
  TOpenNotices notices;
  for (const std::string& name : names) OpenFile(name, readOnly, nullptr);
}

void TfrmMain::mnuFileReOpenDocsClick(TObject* Sender) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  if (!item || item->Tag() < 0 || item->Tag() >= Settings.OpenMRU.Count()) return;
  // Opening may rebuild the reopen menus and free the clicked item: only copies are used.
  std::string name = Settings.OpenMRU[item->Tag()];
  if (OpenFile(name, false, nullptr)) return;
  int index = Settings.OpenMRU.IndexOf(name);
  if (index >= 0) Settings.OpenMRU.Delete(index);
  UpdateReopenMenu();
}

void TfrmMain::mnuFileReloadClick(TObject*) {
  TfraEdit* frame = GetActiveFrame();
  // Reloading nothing would only mark an untitled document unchanged and lose it on closing.
  if (!frame || frame->DocInfo.FileName.empty() || !QuerySaveDocument(pcEdit->ActivePageIndex()))
    return;
  const std::string name = frame->DocInfo.FileName;
  // The program's own read: the byte-order mark counts whatever keys are held.
  ReopenFile(name, false, frame);
}

void TfrmMain::mnuFileSaveClick(TObject*) { SaveDocument(-1); }

void TfrmMain::mnuFileSaveAsClick(TObject*) { SaveDocumentAs(-1); }

void TfrmMain::mnuFileSaveAllClick(TObject*) {
  for (int i = 0; i < pcEdit->PageCount(); ++i)
    if (!SaveDocument(i)) break;
}

void TfrmMain::mnuFileFileFormatClick(TObject* Sender) {
  if (TfraEdit* frame = GetActiveFrame()) {
    CheckItem("mnuFileFileFormatAnsi", frame->DocInfo.FileFormat == ffAnsi);
    CheckItem("mnuFileFileFormatUtf8", frame->DocInfo.FileFormat == ffUtf8);
  }
  if (auto* menu = dynamic_cast<TMenuItem*>(Sender)) KeepUnbuiltDisabled(menu);
}

void TfrmMain::mnuFileLineBreakFormatClick(TObject* Sender) {
  if (TfraEdit* frame = GetActiveFrame()) {
    const TLineBreakFormat format = frame->DocInfo.LineBreakFormat;
    CheckItem("mnuFileLineBreakFormatWindows", format == lbfWindows);
    CheckItem("mnuFileLineBreakFormatUNIX", format == lbfUnix);
    CheckItem("mnuFileLineBreakFormatMacIntosh", format == lbfMacintosh);
    CheckItem("mnuFileLineBreakFormatNetscape", format == lbfNetscape);
  }
  if (auto* menu = dynamic_cast<TMenuItem*>(Sender)) KeepUnbuiltDisabled(menu);
}

void TfrmMain::mnuFileExportClick(TObject*) {
  TfraEdit* frame = GetActiveFrame();
  if (!frame) return;
  TFileDialogArgs args;
  args.filter = "HTML-Dokument (*.html)|*.html|Rich-Text-Format (*.rtf)|*.rtf";
  args.fileName = ChangeFileExt(ExtractFileName(frame->DocInfo.FileName), "");
  args.overwritePrompt = false;
  std::string name;
  int filterIndex = 1;
  for (;;) {
    name = ExecuteSaveDialog(args, &filterIndex);
    if (name.empty()) return;
    if (ExtractFileExt(name).empty()) name += filterIndex == 2 ? ".rtf" : ".html";
    if (!FileExists(name)) break;
    if (AnsiSameText(ExpandFileName(name), frame->DocInfo.FileName)) {
      // The export would replace the document's own file: refused, another name is asked for.
      MsgBox(GetLangText("Main|MsgFileExportOwnFileText",
                         "Die Datei \"%s1%\" ist die Datei des Dokuments selbst und wird nicht "
                         "\xFC" "berschrieben.%w%Bitte w\xE4hlen Sie einen anderen Dateinamen.",
                         LangParams({name})),
             GetLangText("Main|MsgFileExportTitle", "Datei exportieren"), MB_ICONWARNING | MB_OK);
      continue;
    }
    int answer = AskOverwrite(name, GetLangText("Main|MsgFileExportTitle", "Datei exportieren"));
    if (answer == IDCANCEL) return;
    if (answer == IDYES) break;
  }
  TCodeCustomExporter* exporter = filterIndex == 2 ? static_cast<TCodeCustomExporter*>(CodeExporterRTF)
                                               : static_cast<TCodeCustomExporter*>(CodeExporterHTML);
  TCodeEdit& editor = *frame->seEdit;
  THourglass hourglass;
  exporter->SetFont(&editor.Font());
  exporter->SetHighlighter(editor.Highlighter());
  exporter->SetExportAsText(true);
  try {
    exporter->ExportAll(&editor.Lines());
    TFileStream out(name, fmCreate);
    exporter->SaveToStream(out);
  } catch (const EAbort&) {
    // Nothing to export (no highlighter or no lines): the exporter gives up without a word.
  } catch (const EStreamError&) {
    ShowFileSaveError(name);
  }
}

void TfrmMain::mnuFileSessionOpenClick(TObject*) { OpenSession(); }

void TfrmMain::mnuFileSessionSaveAsClick(TObject*) { SaveSessionAs(); }

void TfrmMain::mnuFileCloseClick(TObject*) { CloseDocument(); }

void TfrmMain::mnuFileCloseAllClick(TObject*) { CloseAllDocuments(false); }

void TfrmMain::mnuFileCloseAllButCurrentClick(TObject*) { CloseAllDocuments(true); }

void TfrmMain::mnuFileExitClick(TObject*) { Close(); }

void TfrmMain::mnuFilePrintSetupClick(TObject*) { ShowPageSetup(); }

void TfrmMain::mnuFilePrintPreviewClick(TObject*) {
  if (!ActivePrintDocument().Edit) return;
  // The preview asks again on each refresh: its document may close while it is open.
  ShowPrintPreview(*sepPrint, ActivePrintDocument,
                   [this](TObject*) { mnuFilePrintClick(nullptr); });
}

void TfrmMain::mnuFilePrintClick(TObject*) { PrintDocument(*sepPrint, ActivePrintDocument(), false); }

void TfrmMain::mnuFilePrintUnFormattedClick(TObject*) {
  PrintDocument(*sepPringUnFormatted, ActivePrintDocument(), true);
}

void TfrmMain::pcEditMouseDown(TObject*, int Button, TShiftState, int X, int Y) {
  if (Button == VK_LBUTTON) {
    pcEdit->BeginDrag();
    return;
  }
  int index = pcEdit->IndexOfTabAt(X, Y);
  if (index >= 0 && index != pcEdit->ActivePageIndex()) {
    pcEdit->SetActivePageIndex(index);
    TabSheetShow(pcEdit->ActivePage());
  }
}

void TfrmMain::pcEditMouseUp(TObject*, int Button, TShiftState Shift, int X, int Y) {
  const bool closing = Button == VK_MBUTTON || (Button == VK_LBUTTON && Shift.Contains(TShift::ssCtrl));
  // Outside every tab the press activated nothing: closing would hit the wrong document.
  if (closing && pcEdit->IndexOfTabAt(X, Y) >= 0) CloseDocument();
}

void TfrmMain::pcEditDragOver(TObject*, TObject* Source, int, int, bool& Accept) {
  Accept = dynamic_cast<TPageControl*>(Source) != nullptr;
}

void TfrmMain::pcEditDragDrop(TObject*, TObject*, int X, int Y) {
  const int target = pcEdit->IndexOfTabAt(X, Y);
  TTabSheet* active = pcEdit->ActivePage();
  if (target < 0 || !active || target == pcEdit->ActivePageIndex()) return;
  pcEdit->MovePage(active, target);
}

void TfrmMain::pmnuTabsPopup(TObject*) {
  Find<TMenuItem>("pmnuTabsCloseAllButCurrent")->SetEnabled(pcEdit->PageCount() >= 2);
  TfraEdit* frame = GetActiveFrame();
  if (!frame) return;
  const std::pair<const char*, const char*> mirrors[] = {
      {"pmnuTabsClose", "mnuFileClose"},
      {"pmnuTabsCloseAllButCurrent", "mnuFileCloseAllButCurrent"},
      {"pmnuTabsCloseAll", "mnuFileCloseAll"},
      {"pmnuTabsReadOnly", "mnuViewReadOnly"}};
  for (const auto& [tab, main] : mirrors) {
    TMenuItem* item = Find<TMenuItem>(tab);
    const TMenuItem* source = Find<TMenuItem>(main);
    item->SetCaption(source->Caption());
    item->SetShortCut(source->ShortCut());
  }
  Find<TMenuItem>("pmnuTabsReadOnly")->SetChecked(frame->seEdit->ReadOnly());
  const bool named = !frame->DocInfo.FileName.empty();
  for (const char* name : {"pmnuTabsCopyFullPath", "pmnuTabsCopyFileName", "pmnuTabsCopyFilePath"})
    Find<TMenuItem>(name)->SetEnabled(named);
}

void TfrmMain::pmnuTabsReadOnlyClick(TObject*) {
  TCodeEdit* editor = GetActiveEditor();
  if (!editor) return;
  editor->SetReadOnly(!Find<TMenuItem>("pmnuTabsReadOnly")->Checked());
  UpdateTabImage(GetActiveFrame());
  UpdateCaption();
}

void TfrmMain::pmnuTabsCopyFullPathClick(TObject*) {
  if (TfraEdit* frame = GetActiveFrame()) PutTextOnClipboard(frame->DocInfo.FileName);
}

void TfrmMain::pmnuTabsCopyFileNameClick(TObject*) {
  if (TfraEdit* frame = GetActiveFrame()) PutTextOnClipboard(ExtractFileName(frame->DocInfo.FileName));
}

void TfrmMain::pmnuTabsCopyFilePathClick(TObject*) {
  if (TfraEdit* frame = GetActiveFrame()) PutTextOnClipboard(ExtractFilePath(frame->DocInfo.FileName));
}
