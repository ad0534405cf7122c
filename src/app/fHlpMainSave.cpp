// Saving and closing documents: backups, the write hooks, the save questions.
#include <windows.h>
#include "app/fHlpMainDocs.h"
#include "app/fLanguage.h"
#include "foundation/fMain.h"
#include "rtl/SysUtils.h"
#include "toolkit/Dialogs.h"

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
                    "Möchten Sie vor dem Speichern der Datei \"%s1%\" ein Backup anlegen?",
                    LangParams({FileName})));
    if (answer == IDCANCEL) return false;
    if (answer == IDNO) return true;
  }
  const std::string ext = "." + general.BackupExt;
  const std::string backup = general.BackupReplaceExt ? ChangeFileExt(FileName, ext) : FileName + ext;
  if (!general.BackupOvr && FileExists(backup)) {
    int answer = AskYesNoCancel(
        GetLangText("Main|MsgBackupOvrTitle", "Backupdatei überschreiben"),
        GetLangText("Main|MsgBackupOvrText",
                    "Die Backupdatei \"%s1%\" existiert bereits.%w%Möchten Sie das Backup überschreiben?",
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
