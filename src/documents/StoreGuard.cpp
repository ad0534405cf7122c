#include "documents/StoreGuard.h"
#include <windows.h>
#include <algorithm>
#include <vector>
#include "documents/fLanguage.h"
#include "rtl/SysUtils.h"
#include "toolkit/Dialogs.h"

namespace {
// Program-wide, as the stores are: the files kept from being written, and those told of.
std::vector<std::string> unreadStores;
std::vector<std::string> toldStores;

bool Listed(const std::vector<std::string>& Names, const std::string& FileName) {
  return std::any_of(Names.begin(), Names.end(),
                     [&](const std::string& Name) { return AnsiSameText(Name, FileName); });
}

void TellUnreadable(const std::string& FileName) {
  MsgBox(GetLangText("Main|MsgStoreUnreadText",
                     "Die Datei \"%s1%\" ist vorhanden, konnte aber nicht gelesen werden; "
                     "vielleicht h\xE4lt ein anderes Programm sie ge\xF6" "ffnet.%w%Tarvoline "
                     "\xFC" "berschreibt sie nicht, solange es ihren Inhalt nicht gelesen hat. Bis "
                     "dahin werden \xC4nderungen daran nicht gespeichert.",
                     LangParams({FileName})),
         GetLangText("Main|MsgStoreUnreadTitle", "Datei nicht lesbar"), MB_OK | MB_ICONWARNING);
}
}  // namespace

void NoteStoreRead(const std::string& FileName, bool Unreadable) {
  std::erase_if(unreadStores, [&](const std::string& Name) { return AnsiSameText(Name, FileName); });
  if (!Unreadable) return;
  unreadStores.push_back(FileName);
  if (Listed(toldStores, FileName)) return;
  toldStores.push_back(FileName);
  TellUnreadable(FileName);
}

bool StoreMayBeWritten(const std::string& FileName) {
  if (!Listed(unreadStores, FileName)) return true;
  MsgBox(GetLangText("Main|MsgStoreNotSavedText",
                     "Die Datei \"%s1%\" wurde nicht gespeichert, weil sie nicht gelesen werden "
                     "konnte; ihr bisheriger Inhalt bleibt unver\xE4ndert.",
                     LangParams({FileName})),
         GetLangText("Main|MsgFileSaveTitle", "Datei speichern"), MB_OK | MB_ICONWARNING);
  return false;
}

void ForgetStoreReads() {
  unreadStores.clear();
  toldStores.clear();
}
