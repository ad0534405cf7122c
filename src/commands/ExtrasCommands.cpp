#include "commands/ExtrasCommands.h"
#include <windows.h>
#include "commands/fHlpMainLines.h"
#include "documents/MainWindowParts.h"
#include "documents/XmlDoc.h"
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"
#include "documents/fHlpMainFuncs.h"
#include "documents/fLanguage.h"
#include "documents/frameEdit.h"
#include "foundation/fMain.h"
#include "rtl/SysUtils.h"
#include "toolkit/Dialogs.h"
#include "toolkit/PageControl.h"
#include "toolkit/ShellStart.h"

const char* const MakerHomePage = "http://www.orvask.de/tarvoline/";
const char* const MakerMailAddress = "tarvoline@orvask.de";

namespace {

// The save questions before a program gets the document's file: false ends the command.
struct TSaveQuestion {
  std::string Title;
  std::string Key;
  std::string Default;
  std::string ProgramName;
};

bool AskToSave(const TSaveQuestion& Question, const std::string& Name) {
  const int answer =
      MsgBox(GetLangText(Question.Key, Question.Default, LangParams({Name, Question.ProgramName})),
             Question.Title, MB_YESNOCANCEL | MB_ICONQUESTION);
  if (answer == IDCANCEL) return false;
  if (answer != IDYES) return true;
  if (TfraEdit* frame = GetActiveFrame()) frame->DocInfo.Modified = true;
  return SaveDocument(-1);
}

bool PrepareFile(TfraEdit& Frame, const TSaveQuestion& Question) {
  const TDocumentInfo& doc = Frame.DocInfo;
  if (doc.FileName.empty() || !FileExists(doc.FileName)) return AskToSave(Question, doc.Title);
  if (!doc.Modified) return true;
  if (Settings.General.SaveFileOnExec) return SaveDocument(-1);
  return AskToSave(Question, doc.FileName);
}

bool StartsWithText(const std::string& Text, size_t At, const char* Word) {
  const std::string word = Word;
  return Text.size() - At >= word.size() && AnsiSameText(Text.substr(At, word.size()), word);
}

void ShowError(const std::string& Text, const std::string& Title, UINT Icon) {
  MsgBox(Text, Title, MB_OK | Icon);
}

}  // namespace

std::string ExpandFilePlaceholders(const std::string& Text, const std::string& FileName) {
  const std::string name = ExtractFileName(FileName);
  const std::string ext = ExtractFileExt(FileName);
  const std::pair<const char*, std::string> placeholders[] = {
      {"%1D", ExcludeTrailingBackslash(ExtractFilePath(FileName))},
      {"%1P", ExtractFilePath(FileName)},
      {"%1N", name},
      {"%1E", ext.empty() ? std::string() : ext.substr(1)},
      {"%1T", name.substr(0, name.size() - ext.size())},
      {"%1", FileName},
  };
  std::string result;
  for (size_t i = 0; i < Text.size();) {
    bool replaced = false;
    for (const auto& [placeholder, value] : placeholders) {
      if (!StartsWithText(Text, i, placeholder)) continue;
      result += value;
      i += std::string(placeholder).size();
      replaced = true;
      break;
    }
    if (!replaced) result += Text[i++];
  }
  return result;
}

std::string SelectionTarget(const std::string& Selection) {
  std::string text = Trim(Selection);
  if (!text.empty() && text.front() == '<') text.erase(0, 1);
  if (!text.empty() && text.back() == '>') text.pop_back();
  if (text.empty()) return text;
  if (!StartsWithText(text, 0, "mailto:") && IsValidEmail(text)) text = "mailto:" + text;
  return text;
}

void ExecuteSelection() {
  TCodeEdit* editor = GetActiveEditor();
  if (!editor) return;
  const std::string target = SelectionTarget(editor->SelText());
  if (target.empty()) return;
  if (!ShellRun({"open", target, "", SW_SHOWNORMAL}))
    ShowError(GetLangText("Main|MsgNoSelExecText", "Die Auswahl konnte nicht ausgef\xFChrt werden."),
              GetLangText("Main|MsgNoSelExecTitle", "Auswahl ausf\xFChren"), MB_ICONERROR);
}

void RunExternalProgram(int Index) {
  TfraEdit* frame = GetActiveFrame();
  if (!frame || Index < 0 || Index >= Settings.AppList.Count()) return;
  const std::string entry = Settings.AppList[Index];
  const std::string programName = GetToken(entry, "\x01", 1);
  std::string path = ExpandEnvVars(GetToken(entry, "\x01", 2), false);
  std::string args = ExpandEnvVars(GetToken(entry, "\x01", 3), false);
  const int style = StrToIntDef(GetToken(entry, "\x01", 4), 0);
  const std::string title = GetLangText("Main|MsgExeFileTitle", "Programm ausf\xFChren");
  if (args.find("%1") != std::string::npos &&
      !PrepareFile(*frame, {title, "Main|MsgExeFileSaveText",
                            "Die Datei \"%s1%\" ist nicht gespeichert.%w%Soll die Datei vor dem "
                            "\xD6" "ffnen mit \"%s2%\" gespeichert werden?",
                            programName}))
    return;
  const std::string fileName = frame->DocInfo.FileName;
  path = ExpandFilePlaceholders(path, fileName);
  args = ExpandFilePlaceholders(args, fileName);
  const int show = style == 1 ? SW_SHOWMAXIMIZED : style == 2 ? SW_SHOWMINIMIZED : SW_SHOWNORMAL;
  if (!ShellRun({"open", path, args, show}))
    ShowError(GetLangText("Main|MsgExeFileErrText",
                          "Das Programm \"%s1%\" konnte nicht gestartet werden.",
                          LangParams({programName})),
              title, MB_ICONERROR);
}

void OpenWithDefaultProgram() {
  TfraEdit* frame = GetActiveFrame();
  if (!frame) return;
  const std::string title =
      GetLangText("Main|MsgDefAppFileTitle", "Datei mit Standardprogramm \xF6" "ffnen");
  if (!PrepareFile(*frame, {title, "Main|MsgDefAppFileSaveText",
                            "Die Datei \"%s1%\" ist nicht gespeichert.%w%Soll die Datei vor dem "
                            "\xD6" "ffnen gespeichert werden?",
                            ""}))
    return;
  const std::string fileName = frame->DocInfo.FileName;
  if (!ShellRun({"open", fileName, "", SW_SHOWMAXIMIZED}))
    ShowError(GetLangText("Main|MsgDefAppFileErrText",
                          "Die Datei \"%s1%\" konnte nicht mit dem Standardprogramm ge\xF6" "ffnet "
                          "werden.",
                          LangParams({fileName.empty() ? frame->DocInfo.Title : fileName})),
              title, MB_ICONERROR);
}

void OpenContainingFolder() {
  TfraEdit* frame = GetActiveFrame();
  if (!frame || frame->DocInfo.FileName.empty()) return;
  const std::string fileName = frame->DocInfo.FileName;
  if (!ShellRun({"open", "explorer.exe", "/select,\"" + fileName + "\"", SW_SHOWNORMAL}))
    ShowError(GetLangText("Main|MsgOpenFolderErrText",
                          "Der Ornder \"%s1%\" konnte nicht ge\xF6" "ffnet werden.",
                          LangParams({ExcludeTrailingBackslash(ExtractFilePath(fileName))})),
              GetLangText("Main|MsgOpenFolderTitle", "Enthaltenden Ordner \xF6" "ffnen"),
              MB_ICONERROR);
}

void ShowHelpFile() {
  const std::string helpFile = ChangeFileExt(ProgramFile(), ".chm");
  // The viewer starts even for a missing file and shows an empty window: ask first.
  if (!FileExists(helpFile) || !ShellRun({"open", "hh.exe", helpFile, SW_SHOWNORMAL}))
    ShowError(GetLangText("General|MsgNoHelpText",
                          "Die Hilfedatei \"Tarvoline.chm\" konnte nicht ge\xF6" "ffnet werden!"),
              GetLangText("General|MsgNoHelpTitle", "Hilfedatei nicht gefunden"), 0);
}

void OpenMakerHomePage() {
  if (!ShellRun({"open", MakerHomePage, "", SW_SHOWNORMAL}))
    ShowError(GetLangText("General|MsgNoStdBrowserText",
                          "Ihr Standard-Webbrowser konnte nicht ge\xF6" "ffnet werden!"),
              GetLangText("General|MsgNoStdBrowserTitle", "Kein Standard-Webbrowser gefunden"), 0);
}

std::string MakerMailTarget(const std::string& Address, const std::string& Subject) {
  return "mailto:" + URLEncode(Address, "") + "?subject=" + URLEncode(Subject, "");
}

void WriteMailToMaker() {
  const std::string module = ProgramFile();
  const std::string subject = GetFileVersionValue(module, "ProductName") + " " +
                              GetFileVersionValue(module, "ProductVersion");
  if (!ShellRun({"open", MakerMailTarget(MakerMailAddress, subject), "", SW_SHOWNORMAL}))
    ShowError(GetLangText("General|MsgNoStdMailerText",
                          "Ihr Standard-Mailclient konnte nicht ge\xF6" "ffnet werden!"),
              GetLangText("General|MsgNoStdMailerTitle", "Kein Standard-Mailclient gefunden"), 0);
}
