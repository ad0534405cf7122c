// The find-files dialog's two runs: searching the files and replacing in them.
#include "dialogs/formOpenFast.h"
#include "documents/fHlpMain.h"
#include "documents/fLanguage.h"
#include "documents/fMain.h"
#include "foundation/Regex.h"
#include "foundation/fMain.h"
#include "rtl/StringList.h"
#include "rtl/SysUtils.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Controls.h"
#include "toolkit/Cursor.h"
#include "toolkit/Dialogs.h"
#include "toolkit/ListView.h"

namespace {

// Writes through a temporary file beside the target, so a failure keeps the old bytes.
bool WriteBytes(const std::string& FileName, const std::string& Content) {
  try {
    return SaveTextFile(FileName, Content, lbfWindows, ffAnsi);
  } catch (const EStreamError&) {
    return false;
  }
}

}  // namespace

void TfrmOpenFast::btnSearchClick(TObject*) {
  if (running_) return;
  std::string folder, mask, text;
  if (!ReadNameField(*cmbDir, folder) || !ReadNameField(*cmbMask, mask) || !ReadSearchText(text))
    return;
  if (!DirectoryExists(folder)) {
    MsgBox(GetLangText("OpenFast|MsgFolderNotExistsText",
                       "Das Verzeichnis \"%s1%\" existiert nicht.%w%Bitte geben Sie ein "
                       "g\xFCltiges Verzeichnis an.", LangParams({folder})),
           GetLangText("OpenFast|MsgFolderNotExistsTitle", "Ung\xFCltiges Verzeichnis"),
           MB_ICONERROR | MB_OK);
    return;
  }
  AddToHistory(mask, *cmbMask, Settings.OpenFast.MaskMRU);
  AddToHistory(folder, *cmbDir, Settings.OpenFast.DirMRU);
  StoreSearchOptions();
  if (!chkMultiLine->Checked()) AddToHistory(text, *cmbSearch, Settings.OpenFast.SearchMRU);
  Search(folder, mask, text);
}

void TfrmOpenFast::Search(const std::string& Folder, const std::string& Mask,
                          const std::string& Text) {
  std::unique_ptr<TContentMatcher> matcher;
  if (!Trim(Text).empty()) {
    try {
      matcher = std::make_unique<TContentMatcher>(Text, Options());
    } catch (const ERegex& error) {
      ShowRegexError(error);
      return;
    }
  }
  // Only a search that runs replaces the files listed before.
  lstFiles->Clear();
  lblFiles->SetCaption(GetLangText("OpenFast|lblFilesDef", "Gefundene Dateien:"));
  THourglass hourglass;
  std::vector<std::string> passedOver;
  std::vector<std::string> files =
      ListMatchingFiles(Folder, Mask, chkUseSubDirs->Checked(), &passedOver);
  // Once for the whole walk: these are neither searched nor offered for replacing.
  if (!passedOver.empty()) ReportRefusedNames(passedOver);
  if (matcher) {
    std::vector<bool> keep(files.size(), true);
    bool stopped = false;
    {
      TRun run(*this, *btnSearch);
      std::string content;
      for (size_t i = files.size(); i-- > 0 && !stopped;) {
        // An unreadable file stays listed: it may well hold the text.
        if (ReadFileBytes(files[i], content)) {
          try {
            keep[i] = matcher->FoundIn(content);
          } catch (const ERegex& error) {
            ShowRegexError(error);
            stopped = true;
          }
        }
        if (CancelRequested()) stopped = true;
      }
    }
    if (stopped) return;
    std::vector<std::string> found;
    for (size_t i = 0; i < files.size(); ++i)
      if (keep[i]) found.push_back(files[i]);
    files.swap(found);
    if (!chkMultiLine->Checked()) AddToHistory(cmbSearch->Text(), *cmbSearch, Settings.OpenFast.SearchMRU);
  }
  lblFiles->SetCaption(GetLangText("OpenFast|lblFilesFound", "%s1% Dateien gefunden:",
                                   LangParams({std::to_string(files.size())})));
  if (files.empty()) {
    MsgBox(GetLangText("OpenFast|MsgNoFilesText", "Es wurden keine zutreffenden Dateien gefunden."),
           GetLangText("OpenFast|MsgNoFilesTitle", "Keine Dateien gefunden"),
           MB_ICONINFORMATION | MB_OK);
    return;
  }
  SetFiles(files);
  btnReplace->SetEnabled(true);
}

void TfrmOpenFast::btnReplaceClick(TObject*) {
  if (running_) return;
  Settings.OpenFast.ReplaceEscape = chkReplaceEscape->Checked();
  Settings.OpenFast.ReplaceSelectedOnly = chkReplaceSelectedOnly->Checked();
  const bool selectedOnly = chkReplaceSelectedOnly->Checked();
  if (selectedOnly && Files(true).empty()) {
    MsgBox(GetLangText("OpenFast|MsgNoSelectionText",
                       "Bitte w\xE4hlen Sie die Dateien aus, in denen die Ersetzungen "
                       "vorgenommen werden sollen."),
           GetLangText("OpenFast|MsgNoSelectionTitle", "Fehlende Dateiauswahl"),
           MB_ICONERROR | MB_OK);
    return;
  }
  Replace();
}

void TfrmOpenFast::Replace() {
  std::string search, replacement;
  if (!ReadSearchText(search) || !ReadReplaceText(replacement)) return;
  if (chkReplaceEscape->Checked()) {
    try {
      replacement = UnescapeText(replacement);
    } catch (const EConvertError& error) {
      MsgBox(error.what(), GetLangText("OpenFast|MsgReplacedTitle", "Ersetzen in Dateien"),
             MB_ICONERROR | MB_OK);
      return;
    }
  }
  if (search.empty()) {
    MsgBox(GetLangText("OpenFast|MsgNoSearchText",
                       "Um einen Text zu ersetzen, muss ein Suchbegriff angegeben werden."),
           GetLangText("OpenFast|MsgNoSearchTitle", "Fehlender Suchbegriff"),
           MB_ICONERROR | MB_OK);
    return;
  }
  std::unique_ptr<TContentMatcher> matcher;
  try {
    matcher = std::make_unique<TContentMatcher>(search, Options());
  } catch (const ERegex& error) {
    ShowRegexError(error);
    return;
  }
  const std::vector<std::string> files = Files(chkReplaceSelectedOnly->Checked());
  std::vector<std::string> failed;
  size_t count = 0;
  {
    THourglass hourglass;
    TRun run(*this, *btnReplace);
    std::string content;
    for (const std::string& file : files) {
      bool done = false;
      if (ReadFileBytes(file, content)) {
        try {
          done = WriteBytes(file, matcher->ReplaceIn(content, replacement));
        } catch (const ERegex& error) {
          ShowRegexError(error);
          failed.push_back(file);
          break;
        }
      }
      if (done)
        ++count;
      else
        failed.push_back(file);
      if (CancelRequested()) break;
    }
  }
  AddToHistory(cmbReplace->Text(), *cmbReplace, Settings.OpenFast.ReplaceMRU);
  std::string message = GetLangText("OpenFast|MsgReplacedText", "Es wurden %s1% Dateien verarbeitet.",
                                    LangParams({std::to_string(count)}));
  if (!failed.empty())
    message += "\r\n\r\n" +
               GetLangText("OpenFast|MsgReplaceFailedText",
                           "Diese Dateien konnten nicht verarbeitet werden und sind unver\xE4ndert:") +
               NameLines(failed);
  MsgBox(message, GetLangText("OpenFast|MsgReplacedTitle", "Ersetzen in Dateien"),
         failed.empty() ? MB_ICONINFORMATION | MB_OK : MB_ICONWARNING | MB_OK);
}
