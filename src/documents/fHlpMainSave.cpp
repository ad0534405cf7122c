// Saving and closing documents: backups, the write hooks, the save questions.
#include <windows.h>
#include <shlobj.h>
#include "documents/MainGlyphs.h"
#include "documents/MainWindowParts.h"
#include "documents/TrailingSpaces.h"
#include "documents/fHlpMainDocs.h"
#include "documents/fLanguage.h"
#include "documents/formDocSave.h"
#include "documents/frameEdit.h"
#include "foundation/fMain.h"
#include "rtl/SysUtils.h"
#include "toolkit/Cursor.h"
#include "toolkit/Dialogs.h"
#include "toolkit/ListView.h"
#include "toolkit/PageControl.h"
#include "toolkit/Timer.h"

std::vector<TFileWriteHook> FileWriteHooks;

// ---- Backups ------------------------------------------------------------------------------

namespace {

// IDYES, IDNO or IDCANCEL.
int AskYesNoCancel(const std::string& Title, const std::string& Text) {
  return MsgBox(Text, Title, MB_ICONQUESTION | MB_YESNOCANCEL);
}

}  // namespace

bool CreateBackup(const std::string& FileName) {
  const TGeneralSettings& general = Settings.General;
  if (!general.BackupEnabled) return true;
  if (!general.BackupAuto) {
    int answer = AskYesNoCancel(
        GetLangText("Main|MsgBackupCreateTitle", "Backupdatei erstellen"),
        GetLangText("Main|MsgBackupCreateText",
                    "M\xF6" "chten Sie vor dem Speichern der Datei \"%s1%\" ein Backup anlegen?",
                    LangParams({FileName})));
    if (answer == IDCANCEL) return false;
    if (answer == IDNO) return true;
  }
  const std::string ext = "." + general.BackupExt;
  const std::string backup = general.BackupReplaceExt ? ChangeFileExt(FileName, ext) : FileName + ext;
  if (!general.BackupOvr && FileExists(backup)) {
    int answer = AskYesNoCancel(
        GetLangText("Main|MsgBackupOvrTitle", "Backupdatei \xFC" "berschreiben"),
        GetLangText("Main|MsgBackupOvrText",
                    "Die Backupdatei \"%s1%\" existiert bereits.%w%M\xF6" "chten Sie das Backup \xFC" "berschreiben?",
                    LangParams({backup})));
    if (answer == IDCANCEL) return false;
    if (answer == IDNO) return true;
  }
  // A new file has nothing to keep yet.
  if (!FileExists(FileName)) return true;
  if (CopyFileA(FileName.c_str(), backup.c_str(), FALSE)) return true;
  // The user relies on the copy: saving over the only good version needs consent.
  return MsgBox(GetLangText("Main|MsgBackupErrText",
                            "Die Backupdatei \"%s1%\" konnte nicht angelegt werden.%w%"
                            "Soll die Datei \"%s2%\" trotzdem gespeichert werden?",
                            LangParams({backup, FileName})),
                GetLangText("Main|MsgBackupCreateTitle", "Backupdatei erstellen"),
                MB_ICONWARNING | MB_YESNO | MB_DEFBUTTON2) == IDYES;
}

// ---- Save As: the extension of the chosen filter ------------------------------------------

std::string SaveAsDefaultExtension(const std::string& Filter, int FilterIndex) {
  const std::string masks = GetToken(Filter, "|", 2 * FilterIndex);
  const std::string ext = GetFileTypeByExt(ExtractFileExt(GetToken(masks + ";", ";", 1)));
  // "." is a type without a default extension; a wild card cannot be part of a name.
  if (ext == "." || ext.find_first_of("*?") != std::string::npos) return std::string();
  return ext;
}

// ---- Saving -------------------------------------------------------------------------------

namespace {

constexpr unsigned kIgnoreNoticesMs = 3000;

std::wstring ToWide(const std::string& Text) {
  if (Text.empty()) return std::wstring();
  int size = MultiByteToWideChar(CP_ACP, 0, Text.data(), static_cast<int>(Text.size()), nullptr, 0);
  std::wstring wide(size, L'\0');
  MultiByteToWideChar(CP_ACP, 0, Text.data(), static_cast<int>(Text.size()), wide.data(), size);
  return wide;
}

// True when a write hook saved the file; false lets the built-in writer save.
bool SavedByPlugin(const std::string& FileName, const TfraEdit& Frame) {
  if (FileWriteHooks.empty()) return false;
  const std::wstring name = ToWide(FileName);
  std::wstring text = ToWide(Frame.seEdit->Text());
  int32_t lineBreak = Frame.DocInfo.LineBreakFormat;
  int32_t fileFormat = Frame.DocInfo.FileFormat;
  for (const TFileWriteHook& hook : FileWriteHooks) {
    int answer;
    try {
      answer = hook(name, text, lineBreak, fileFormat);
    } catch (const std::exception&) {
      continue;  // a failing plug-in leaves the file to the next one
    }
    if (answer == 0) return true;
    if (answer != -1) return false;
  }
  return false;
}

// The writers' part of a save; every failure, whatever raised it, counts as not saved.
bool WriteDocument(TfraEdit& Frame, const std::string& FileName) {
  try {
    if (Settings.General.SaveTrimTrailingSpaces) TrimTrailingSpaces(Frame.seEdit);
    if (SavedByPlugin(FileName, Frame)) return true;
    return SaveTextFile(FileName, Frame.seEdit->Text(), Frame.DocInfo.LineBreakFormat,
                        Frame.DocInfo.FileFormat);
  } catch (const std::exception&) {
    return false;
  }
}

void ShowSaveError(const std::string& FileName) {
  MsgBox(GetLangText("Main|MsgFileSaveErrText",
                     "Die Datei \"%s1%\" konnte nicht gespeichert werden.%w%"
                     "M\xF6glicherweise ist die Datei schreibgesch\xFCtzt.",
                     LangParams({FileName})),
         GetLangText("Main|MsgFileSaveTitle", "Datei speichern"), MB_ICONERROR | MB_OK);
}

// Writing the "?" that stand for characters the file held loses those characters for good.
bool StandInsAccepted(const TfraEdit& Frame) {
  if (!Frame.DocInfo.HasStandIns) return true;
  return MsgBox(GetLangText("Main|MsgFileSaveStandInsText",
                            "Die Datei \"%s1%\" enthielt beim \xD6" "ffnen Zeichen, die es in der "
                            "Codepage des Systems nicht gibt. Beim Speichern wird an ihrer "
                            "Stelle \"?\" geschrieben.%w%M\xF6" "chten Sie dennoch speichern?",
                            LangParams({Frame.DocInfo.FileName})),
                GetLangText("Main|MsgFileSaveTitle", "Datei speichern"),
                MB_ICONWARNING | MB_YESNO | MB_DEFBUTTON2) == IDYES;
}

void MarkSaved(TfraEdit& Frame) {
  auto* sheet = dynamic_cast<TTabSheet*>(Frame.Owner());
  sheet->SetImageIndex(GlyphTabDocument + (Frame.seEdit->ReadOnly() ? 2 : 0));
  sheet->SetCaption(TabCaptionOf(Frame.DocInfo.Title));
  Frame.DocInfo.Modified = false;
  Frame.DocInfo.HasStandIns = false;
}

// While the program writes the file, and 3 s after, the watcher's notices are its own.
class TWriteGuard {
public:
  explicit TWriteGuard(TfraEdit& Frame) : frame_(Frame) {
    frame_.tmrChangeNotify->SetEnabled(false);
    frame_.DocInfo.IgnoreChangeNotify = true;
  }
  ~TWriteGuard() {
    frame_.DocInfo.DiskStamp = FileStampOf(frame_.DocInfo.FileName);
    UpdateCaption();
    frame_.tmrChangeNotify->SetInterval(kIgnoreNoticesMs);
    frame_.tmrChangeNotify->SetEnabled(true);
  }
  TWriteGuard(const TWriteGuard&) = delete;
  TWriteGuard& operator=(const TWriteGuard&) = delete;

private:
  TfraEdit& frame_;
  THourglass hourglass_;
};

std::string SaveAsName(const TfraEdit& Frame) {
  const std::string filter = GetOpenDialogFilter();
  const std::string ext = Frame.DocInfo.FileName.empty() ? ".txt" : ExtractFileExt(Frame.DocInfo.FileName);
  for (;;) {
    TFileDialogArgs args;
    args.title = GetLangText("Main|DlgSaveAsTitle", "Speichern von \"%s1%\" unter",
                             LangParams({Frame.DocInfo.Title}));
    args.filter = filter;
    const int row = FindFileTypeIndex(ext);
    if (row >= 0) args.filterIndex = row + 1;
    args.overwritePrompt = true;
    int filterIndex = args.filterIndex;
    std::string name = ExecuteSaveDialog(args, &filterIndex);
    if (name.empty()) return name;
    name = ExpandFileName(name);
    if (!ExtractFileExt(name).empty()) return name;
    const std::string added = SaveAsDefaultExtension(filter, filterIndex);
    if (added.empty()) return name;
    name += added;
    if (!FileExists(name)) return name;
    const int answer = AskYesNoCancel(
        GetLangText("Main|MsgFileSaveTitle", "Datei speichern"),
        GetLangText("Main|MsgFileExistsText",
                    "Die Datei \"%s1%\" existiert bereits.%w%Soll diese Datei \xFC" "berschrieben werden?",
                    LangParams({name})));
    if (answer == IDYES) return name;
    if (answer == IDCANCEL) return std::string();
  }
}

}  // namespace

bool SaveDocument(int Index) {
  TfraEdit* frame = GetFrameChecked(Index);
  if (!frame || !frame->DocInfo.Modified) return true;
  if (frame->DocInfo.FileName.empty()) return SaveDocumentAs(Index);
  if (!StandInsAccepted(*frame)) return false;
  TWriteGuard guard(*frame);
  if (!CreateBackup(frame->DocInfo.FileName)) return false;
  if (!WriteDocument(*frame, frame->DocInfo.FileName)) {
    ShowSaveError(frame->DocInfo.FileName);
    return false;
  }
  MarkSaved(*frame);
  return true;
}

bool SaveDocumentAs(int Index) {
  TfraEdit* frame = GetFrameChecked(Index);
  if (!frame || !StandInsAccepted(*frame)) return false;
  const std::string name = SaveAsName(*frame);
  if (name.empty()) return false;
  TWriteGuard guard(*frame);
  if (!CreateBackup(name)) return false;
  if (!WriteDocument(*frame, name)) {
    ShowSaveError(name);
    return false;
  }
  // The watcher stays on the name the document was opened with.
  TDocumentInfo& doc = frame->DocInfo;
  std::string highlighterName = GetHighlighterByContent(*frame);
  if (highlighterName.empty()) highlighterName = ExtractFileName(name);
  TCodeCustomHighlighter* highlighter = GetFileTypeHighlighter(highlighterName, *frame);
  frame->seEdit->SetHighlighter(highlighter);
  if (!highlighter || highlighter == frmMain->HlURI)
    frame->seEdit->SetColor(static_cast<TColor>(Settings.Editor.BackgroundColor));
  doc.FileName = name;
  doc.Title = ExtractFileName(name);
  MarkSaved(*frame);
  if (Settings.General.AddToRecentFiles) SHAddToRecentDocs(SHARD_PATHA, name.c_str());
  AddToOpenMRU(Settings.OpenMRU, name, Settings.General.OpenMRUMaxItems);
  UpdateReopenMenu();
  return true;
}

// ---- Closing ------------------------------------------------------------------------------

bool QuerySaveDocument(int Index) {
  TfraEdit* frame = GetFrameChecked(Index);
  if (!frame || !frame->DocInfo.Modified) return true;
  TPageControl* pages = frmMain->pcEdit;
  const bool showed = !pages->Visible();
  if (showed) {
    pages->SetVisible(true);
    pages->SetActivePage(dynamic_cast<TTabSheet*>(frame->Owner()));
  }
  const int answer = AskYesNoCancel(
      GetLangText("Main|MsgFileSaveTitle", "Datei speichern"),
      GetLangText("Main|MsgFileSaveText",
                  "Die Datei \"%s1%\" wurde ge\xE4ndert.%w%Soll die Datei gespeichert werden?",
                  LangParams({frame->DocInfo.Title})));
  bool result = answer != IDCANCEL;
  if (answer == IDYES) result = SaveDocument(FrameTabIndex(frame));
  if (showed) pages->SetVisible(false);
  return result;
}

namespace {

// Number, watcher, frame and tab page go together. The document is marked first, so a
// notice the watcher still delivers while it stops is dropped.
void FreeDocument(TfraEdit* Frame) {
  Frame->DocInfo.IgnoreChangeNotify = true;
  FreeDocumentNumber(Frame->Tag());
  Frame->FileWatcher.reset();
  frmMain->pcEdit->RemovePage(dynamic_cast<TTabSheet*>(Frame->Owner()));
}

void FocusActiveEditor() {
  if (TCodeEdit* editor = GetActiveEditor(); editor && editor->HandleAllocated())
    frmMain->SetActiveControl(editor);
}

// Shows the page control again and refreshes the window however the close ends.
class TCloseScope {
public:
  TCloseScope() { frmMain->pcEdit->SetVisible(false); }
  ~TCloseScope() {
    frmMain->pcEdit->SetVisible(true);
    UpdateMenuState();
    FocusActiveEditor();
  }
  TCloseScope(const TCloseScope&) = delete;
  TCloseScope& operator=(const TCloseScope&) = delete;

private:
  THourglass hourglass_;
};

// The frames of the tabs concerned, in tab order.
std::vector<TfraEdit*> ConcernedDocuments(bool ButCurrent) {
  std::vector<TfraEdit*> frames;
  TfraEdit* active = GetActiveFrame();
  for (int i = 0; i < frmMain->pcEdit->PageCount(); ++i)
    if (TfraEdit* frame = GetFrame(i); frame && !(ButCurrent && frame == active))
      frames.push_back(frame);
  return frames;
}

enum class TDialogOutcome { Done, Cancelled, SaveFailed };

// The dialog's answer carried out; the listed documents end up unmodified unless cancelled.
TDialogOutcome SaveFromDialog(const std::vector<TfraEdit*>& Modified) {
  TfrmDocSave dialog(nullptr);
  for (auto it = Modified.rbegin(); it != Modified.rend(); ++it) dialog.AddDocument(*it);
  dialog.lvDocs->SelectAll();
  const int answer = dialog.ShowModal();
  if (answer == mrOk || answer == mrYes) {
    for (int row = 0; row < dialog.DocumentCount(); ++row) {
      if (answer == mrOk && !dialog.DocumentSelected(row)) continue;
      if (!SaveDocument(FrameTabIndex(dialog.Document(row)))) return TDialogOutcome::SaveFailed;
    }
  } else if (answer != mrNo) {
    return TDialogOutcome::Cancelled;
  }
  for (int row = 0; row < dialog.DocumentCount(); ++row) dialog.Document(row)->DocInfo.Modified = false;
  return TDialogOutcome::Done;
}

}  // namespace

void CloseDocument() {
  if (!frmMain || !frmMain->pcEdit) return;
  TfraEdit* frame = GetActiveFrame();
  if (!frame) return;
  TCloseScope scope;
  if (QuerySaveDocument(FrameTabIndex(frame))) FreeDocument(frame);
}

bool CloseAllDocuments(bool ButCurrent) {
  if (!frmMain || !frmMain->pcEdit) return false;
  TCloseScope scope;
  const std::vector<TfraEdit*> concerned = ConcernedDocuments(ButCurrent);
  std::vector<TfraEdit*> modified;
  for (TfraEdit* frame : concerned)
    if (frame->DocInfo.Modified) modified.push_back(frame);

  if (Settings.General.ShowSaveDlg && modified.size() >= 2) {
    const TDialogOutcome outcome = SaveFromDialog(modified);
    if (outcome == TDialogOutcome::SaveFailed) return false;
    for (auto it = concerned.rbegin(); it != concerned.rend(); ++it)
      if (!(*it)->DocInfo.Modified) FreeDocument(*it);
    return outcome == TDialogOutcome::Done;
  }
  for (auto it = concerned.rbegin(); it != concerned.rend(); ++it) {
    if (!QuerySaveDocument(FrameTabIndex(*it))) return false;
    FreeDocument(*it);
  }
  return true;
}
