#include "commands/FileSessions.h"
#include "commands/SessionList.h"
#include "documents/MainWindowParts.h"
#include "documents/XmlDoc.h"
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"
#include "documents/fLanguage.h"
#include "editor/CodeEdit.h"
#include "foundation/fMain.h"
#include "rtl/SysUtils.h"
#include "toolkit/Cursor.h"
#include "toolkit/Dialogs.h"
#include "toolkit/KeyState.h"
#include "toolkit/PageControl.h"

namespace {

// The extension of the filter row's first pattern (".tvs"); empty for "." and wildcards.
std::string FilterExtension(const std::string& Filter, int FilterIndex) {
  std::string pattern = GetToken(Filter, "|", FilterIndex * 2);
  pattern = GetToken(pattern + ";", ";", 1);
  const std::string ext = ExtractFileExt(pattern);
  if (ext == "." || ext.find_first_of("*?") != std::string::npos) return std::string();
  return ext;
}

}  // namespace

std::string SessionFilter() {
  return GetLangText("General|FilterTVSession", "Arbeitssitzung (*.tvs)") + "|*.tvs" + "|" +
         GetLangText("General|FilterAll", "Alle Dateien (*.*)") + "|*.*";
}

void OpenSession() {
  bool add = IsCtrlDown();
  TFileDialogArgs args;
  args.title = GetLangText("Main|DlgSessionOpenTitle", "Arbeitssitzung \xF6" "ffnen");
  args.filter = SessionFilter();
  args.filterIndex = 1;
  std::vector<std::string> chosen = ExecuteOpenDialog(args);
  if (chosen.empty()) return;
  add = add || IsCtrlDown();
  LoadSession(chosen.front(), add);
}

bool LoadSession(const std::string& FileName, bool Add) {
  // Read before anything is closed: a session that cannot be read must not leave the user
  // with no documents at all.
  TXmlDoc doc;
  const TXmlLoad read = doc.LoadStore(FileName, false);
  if (read == TXmlLoad::Unreadable || read == TXmlLoad::Nothing) {
    MsgBox(GetLangText("Main|MsgSessionUnreadText",
                       "Die Arbeitssitzung \"%s1%\" konnte nicht gelesen werden; die ge\xF6"
                       "ffneten Dokumente bleiben ge\xF6" "ffnet.",
                       LangParams({FileName})),
           GetLangText("Main|DlgSessionOpenTitle", "Arbeitssitzung \xF6" "ffnen"),
           MB_ICONWARNING | MB_OK);
    return false;
  }
  if (!Add && !CloseAllDocuments(false)) return false;
  Settings.LastDocList.SetText(Trim(doc.ReadString("Session\\LastDocList", "")));
  Settings.LastDocFileName = doc.ReadString("Session\\LastDocFileName", "");

  TTabSheet* remembered = nullptr;
  // A copy: opening documents may rebuild the lists in the settings.
  const std::string activeName = Settings.LastDocFileName;
  TOpenNotices notices;
  for (const TSessionEntry& entry : ParseSessionList(Settings.LastDocList)) {
    const std::string& name = entry.FileName;
    if (!FileExists(name)) continue;
    TTabSheet* sheet = ReopenFile(name);
    if (!sheet) continue;
    frmMain->pcEdit->SetActivePage(sheet);
    if (!Settings.General.SessionRestoreNoPos) {
      if (TCodeEdit* editor = GetActiveEditor()) {
        editor->SetSelStart(entry.SelStart);
        editor->SetSelLength(entry.SelLength);
        editor->SetTopLine(entry.TopLine);
        editor->EnsureCursorPosVisible();
      }
    }
    if (SameText(name, activeName)) remembered = sheet;
  }
  if (remembered) frmMain->pcEdit->SetActivePage(remembered);
  UpdateCaption();
  return true;
}

void SaveSessionAs() {
  TFileDialogArgs args;
  args.title = GetLangText("Main|DlgSessionSaveAsTitle", "Arbeitssitzung speichern");
  args.initialDir = Settings.SettingsDir;
  args.filter = SessionFilter();
  args.filterIndex = 1;
  args.overwritePrompt = false;
  std::string name;
  for (;;) {
    int filterIndex = 1;
    name = ExecuteSaveDialog(args, &filterIndex);
    if (name.empty()) return;
    if (ExtractFileExt(name).empty()) name += FilterExtension(args.filter, filterIndex);
    if (!FileExists(name)) break;
    int answer = MsgBox(GetLangText("Main|MsgFileExistsText",
                                    "Die Datei \"%s1%\" existiert bereits.%w%Soll diese Datei "
                                    "\xFC" "berschrieben werden?",
                                    LangParams({name})),
                        GetLangText("Main|MsgSessionSaveTitle", "Arbeitssitzung speichern"),
                        MB_ICONQUESTION | MB_YESNOCANCEL);
    if (answer == IDCANCEL) return;
    if (answer == IDYES) break;
  }
  WriteSession(name);
}

bool WriteSession(const std::string& FileName) {
  bool saved = false;
  {
    THourglass hourglass;
    BuildOpenDocList();
    TXmlDoc doc;
    doc.WriteString("Session\\LastDocList", Trim(Settings.LastDocList.Text()));
    doc.WriteString("Session\\LastDocFileName", Settings.LastDocFileName);
    saved = doc.SaveToFile(FileName, 2, true);
  }
  if (!saved)
    MsgBox(GetLangText("Main|MsgFileSaveErrText",
                       "Die Datei \"%s1%\" konnte nicht gespeichert werden.%w%"
                       "M\xF6glicherweise ist die Datei schreibgesch\xFCtzt.",
                       LangParams({FileName})),
           GetLangText("Main|MsgFileSaveTitle", "Datei speichern"), MB_ICONERROR | MB_OK);
  return saved;
}
