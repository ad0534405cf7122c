// Input: a hot-key file. What it sets must survive writing the file and reading it again.
#include <cstdio>
#include <string>
#include <vector>
#include "FuzzTargets.h"
#include "documents/fHotKeys.h"

namespace {
void RegisterHotKeys() {
  InitKeyNames();
  AddHotKey("frmMain_mnuFileNew", "Hauptfenster\x02&Datei\x02&Neu", "C|N");
  AddHotKey("frmMain_mnuFileSave", "Hauptfenster\x02&Datei\x02&Speichern", "C|S");
  AddHotKey("frmMain_mnuSearchFindNext", "Hauptfenster\x02&Suchen\x02Weitersuchen", "|F3");
  AddHotKey("frmMain_mnuEditUndo", "Hauptfenster\x02&Bearbeiten\x02&R\xFC" "ckg\xE4ngig", "A|BkSp");
  AddHotKey("frmMain_mnuViewNone", "Hauptfenster\x02&Ansicht\x02Kein", "|");
}

std::vector<std::string> CurrentKeys() {
  std::vector<std::string> keys;
  for (const THotKeyRec& h : HotKeyList) keys.push_back(h.Current);
  return keys;
}

std::string CheckKeys() {
  for (const THotKeyRec& h : HotKeyList) {
    if (h.Current.find_first_of("\x01\r\n") != std::string::npos) return "a key text holds a separator";
    const uint16_t code = HotKeyToShortCut(h.Current) & 0xFF;
    HotKeyToText(h.Current);
    GetHotKey(h.Name);
    GetHotKeyByCaption(h.Caption, false);
    IsHotKeyAllowed(code, h.Current.substr(0, h.Current.find('|')));
  }
  return {};
}
}  // namespace

std::string FuzzHotKeyFile(const std::string& Data) {
  static const std::string file = FuzzTempFile("HotKeys.rud");
  RegisterHotKeys();
  if (!FuzzWriteFile(file, Data)) return "the hot-key file could not be written";
  if (!LoadHotKeys(file)) return "a readable hot-key file was refused";
  if (std::string fault = CheckKeys(); !fault.empty()) return fault;
  const std::vector<std::string> loaded = CurrentKeys();
  const bool saved = SaveHotKeys(file);
  RegisterHotKeys();
  const bool reloaded = saved && LoadHotKeys(file);
  std::remove(file.c_str());
  if (!reloaded) return "the keys read could not be written and read again";
  if (CurrentKeys() != loaded) return "the keys written read back differently";
  return {};
}
