#include "documents/fHotKeys.h"
#include <unordered_map>
#include "documents/fMain.h"
#include "foundation/fMain.h"
#include "rtl/Exception.h"
#include "rtl/StringList.h"
#include "rtl/SysUtils.h"

std::vector<TVirtKeyRec> KeyNameList;
std::vector<THotKeyRec> HotKeyList;

const char* const HotKeyFileName = "HotKeys.rud";

namespace {

void AddKeyName(uint16_t VirtKey, const std::string& Name, const std::string& Allowed) {
  KeyNameList.push_back({VirtKey, Name, Allowed});
}

// Text before and after the first "|"; no "|" leaves everything in the modifier part.
void SplitKeyText(const std::string& KeyText, std::string& Modifiers, std::string& Key) {
  size_t bar = KeyText.find('|');
  Modifiers = KeyText.substr(0, bar);
  Key = bar == std::string::npos ? std::string() : KeyText.substr(bar + 1);
}

const TVirtKeyRec* FindKey(int VirtKey) {
  for (const TVirtKeyRec& k : KeyNameList)
    if (k.VirtKey == VirtKey) return &k;
  return nullptr;
}

// A key text of the file that the hot-key dialog could have given: no key ("|" or empty, the
// dialog's removed key), or modifier letters from "SCA" in either case, then "|" and the
// decimal code of a known key; a key that types (one that needs Ctrl or Alt) only with Ctrl
// or Alt. Anything else was damaged or hand-made and could take a key from typing, or bind
// one such as Caps Lock that the dialog refuses.
bool ReadsCleanly(const std::string& KeyText) {
  if (KeyText.empty()) return true;
  if (KeyText.find('|') == std::string::npos) return false;
  std::string modifiers, key;
  SplitKeyText(KeyText, modifiers, key);
  modifiers = UpperCase(modifiers);
  if (modifiers.find_first_not_of("SCA") != std::string::npos) return false;
  if (key.empty()) return modifiers.empty();
  if (key.size() > 3 || key.find_first_not_of("0123456789") != std::string::npos) return false;
  const TVirtKeyRec* k = FindKey(std::stoi(key));
  return k && (k->Allowed.empty() || modifiers.find_first_of("CA") != std::string::npos);
}

}  // namespace

void InitKeyNames() {
  HotKeyList.clear();
  KeyNameList.clear();
  const uint16_t editKeys[] = {3, 46, 45, 36, 35, 33, 34, 8, 9, 13, 32, 27, 37, 38, 39, 40};
  const char* const editNames[] = {"Cancel", "Del",   "Ins",   "Home", "End",  "PgUp",
                                   "PgDn",   "BkSp",  "Tab",   "Enter", "Space", "Esc",
                                   "Left",   "Up",    "Right", "Down"};
  for (int i = 0; i < 16; ++i) AddKeyName(editKeys[i], editNames[i], "");
  for (int i = 0; i <= 9; ++i) AddKeyName(uint16_t(96 + i), std::to_string(i) + " (NumPad)", "CA");
  const char* const numPadOps[] = {"Multiply", "Add", "Separator", "Subtract", "Decimal", "Divide"};
  for (int i = 0; i < 6; ++i)
    AddKeyName(uint16_t(106 + i), std::string(numPadOps[i]) + " (NumPad)", "CA");
  // German keyboard: the names are the characters printed on the keys (code page 1252).
  const uint16_t punctKeys[] = {186, 187, 188, 189, 190, 191, 192, 219, 220, 221, 222, 226};
  const char* const punctNames[] = {"\xFC", "+", ",", "-", ".", "#", "\xF6", "\xDF",
                                    "Cirkumflex", "Acut", "\xE4", "<"};
  for (int i = 0; i < 12; ++i) AddKeyName(punctKeys[i], punctNames[i], "CA");
  for (char c = '0'; c <= '9'; ++c) AddKeyName(uint16_t(c), std::string(1, c), "CA");
  for (char c = 'A'; c <= 'Z'; ++c) AddKeyName(uint16_t(c), std::string(1, c), "CA");
  for (int i = 1; i <= 12; ++i) AddKeyName(uint16_t(111 + i), "F" + std::to_string(i), "");
}

void AddHotKey(const std::string& Name, const std::string& CaptionPath,
               const std::string& DefaultKey) {
  std::string modifiers, key;
  SplitKeyText(DefaultKey, modifiers, key);
  for (const TVirtKeyRec& k : KeyNameList)
    if (k.Name == key) {
      key = std::to_string(k.VirtKey);
      break;
    }
  std::string text = modifiers + "|" + key;
  HotKeyList.push_back({Name, StripAccelChars(CaptionPath), text, text});
}

TShortCut HotKeyToShortCut(const std::string& KeyText) {
  std::string modifiers, key;
  SplitKeyText(KeyText, modifiers, key);
  modifiers = UpperCase(modifiers);
  int code = StrToIntDef(key, 0);
  // Codes outside a byte (negative ones included) name no key at all.
  if (code < 0 || code > 0xFF) return scNone;
  TShiftState shift;
  if (modifiers.find('S') != std::string::npos) shift.Include(TShift::ssShift);
  if (modifiers.find('C') != std::string::npos) shift.Include(TShift::ssCtrl);
  if (modifiers.find('A') != std::string::npos) shift.Include(TShift::ssAlt);
  return ShortCut(uint16_t(code), shift);
}

TShortCut GetHotKey(const std::string& Name) {
  for (const THotKeyRec& h : HotKeyList)
    if (h.Name == Name) return HotKeyToShortCut(h.Current);
  return scNone;
}

bool IsHotKeyAllowed(uint16_t VirtKey, const std::string& Modifiers) {
  const TVirtKeyRec* k = FindKey(VirtKey);
  if (!k) return false;
  if (k->Allowed.empty()) return true;
  if (Modifiers.empty()) return false;
  for (char m : Modifiers)
    if (k->Allowed.find(m) == std::string::npos) return false;
  return true;
}

std::string KeyName(uint16_t VirtKey) {
  const TVirtKeyRec* k = FindKey(VirtKey);
  return k ? k->Name : std::string();
}

std::string HotKeyToText(const std::string& KeyText) {
  std::string modifiers, key;
  SplitKeyText(KeyText, modifiers, key);
  modifiers = UpperCase(modifiers);
  std::string r;
  if (modifiers.find('S') != std::string::npos) r += "Shift+";
  if (modifiers.find('C') != std::string::npos) r += "Ctrl+";
  if (modifiers.find('A') != std::string::npos) r += "Alt+";
  int code = StrToIntDef(key, 0xFFFF);
  const TVirtKeyRec* k = FindKey(code);
  return k ? r + k->Name : r;
}

std::string GetHotKeyByCaption(const std::string& CaptionPath, bool WantDefault) {
  for (const THotKeyRec& h : HotKeyList)
    if (h.Caption == CaptionPath) return WantDefault ? h.Default : h.Current;
  return "";
}

bool LoadHotKeys(const std::string& FileName) {
  if (!FileExists(FileName)) return true;
  std::string text;
  try {
    TLineBreakFormat lineBreak = lbfWindows;
    TFileFormat format = ffAnsi;
    LoadTextFile(FileName, lineBreak, format, text);
  } catch (const Exception&) {
    return false;
  }
  TStringList lines;
  lines.SetText(text);
  // A line names its record by the text before the first code 1; later lines overwrite, and
  // a line whose key does not read cleanly is passed over.
  std::unordered_map<std::string, std::string> keys;
  for (int i = 0; i < lines.Count(); ++i) {
    const std::string line = lines[i];
    size_t sep = line.find(HotKeyFileSeparator);
    if (sep == std::string::npos) continue;
    size_t end = line.find(HotKeyFileSeparator, sep + 1);
    std::string key = line.substr(sep + 1, end == std::string::npos ? std::string::npos : end - sep - 1);
    if (ReadsCleanly(key)) keys[line.substr(0, sep)] = std::move(key);
  }
  for (THotKeyRec& h : HotKeyList) {
    auto it = keys.find(h.Name);
    if (it != keys.end()) h.Current = it->second;
  }
  return true;
}

bool SaveHotKeys(const std::string& FileName) {
  std::string text;
  for (const THotKeyRec& h : HotKeyList) text += h.Name + HotKeyFileSeparator + h.Current + "\r\n";
  try {
    return SaveTextFile(FileName, text, lbfWindows, ffAnsi);
  } catch (const EStreamError&) {
    return false;
  }
}
