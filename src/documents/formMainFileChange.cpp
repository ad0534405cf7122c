// The main window's reaction to a watched file that changed outside the program.
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"
#include "documents/fLanguage.h"
#include "documents/frameEdit.h"
#include "documents/MainWindowParts.h"
#include "toolkit/Dialogs.h"
#include "toolkit/PageControl.h"

void TMainWindowParts::FileChangeNotify(int Tag) {
  // The setting is read now: switching it off silences watchers that already run.
  if (!Settings.General.ChangeNotify) return;
  TfraEdit* frame = FindFrameByTag(Tag);
  if (!frame || frame->DocInfo.IgnoreChangeNotify) return;
  // Decided by the file itself: one change may bring several records, or one record each.
  const TFileStamp stamp = FileStampOf(frame->DocInfo.FileName);
  if (stamp == frame->DocInfo.DiskStamp) return;
  frame->DocInfo.DiskStamp = stamp;
  if (auto* sheet = dynamic_cast<TTabSheet*>(frame->Owner())) pcEdit->SetActivePage(sheet);
  if (!Settings.General.ChangeNotifyAutoReload) {
    const int answer = MsgBox(
        GetLangText("Main|MsgChangeNotifyText",
                    "Die Datei \"%s1%\" wurde ge\xE4ndert.%w%M\xF6" "chten Sie diese Datei neu "
                    "laden und die \xC4nderungen in Tarvoline verwerfen?",
                    LangParams({frame->DocInfo.FileName})),
        GetLangText("Main|MsgChangeNotifyTitle", "Datei wurde ge\xE4ndert"),
        MB_ICONQUESTION | MB_YESNO | MB_DEFBUTTON2);
    if (answer != IDYES) return;
  }
  ReopenFile(frame->DocInfo.FileName, frame->seEdit->ReadOnly(), frame);
  if (Settings.General.ChangeNotifyCursorAtEnd)
    frame->seEdit->CommandProcessor(ecEditorBottom, '\0', nullptr);
}
