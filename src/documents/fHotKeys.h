// The program's remappable keys: the key-name table, the hot-key table, key texts and the
// user's hot-key file.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "toolkit/ShortCut.h"

// One known key: its virtual-key code, its display name and the modifier letters it needs
// ("CA": Ctrl or Alt; empty: any or none).
struct TVirtKeyRec {
  uint16_t VirtKey = 0;
  std::string Name;
  std::string Allowed;
};

// One named hot key. Caption is the path of display texts from the root group down, joined
// by the character of code 2. Key texts are "modifiers|virtual-key code" ("SC|78"); "|" is no key.
struct THotKeyRec {
  std::string Name;
  std::string Caption;
  std::string Default;
  std::string Current;
};

// The 92 known keys in lookup order (the first matching row wins).
extern std::vector<TVirtKeyRec> KeyNameList;
// The named hot keys in registration order (the order of the hot-key file).
extern std::vector<THotKeyRec> HotKeyList;

// The separator of caption paths and of the hot-key file's fields.
constexpr char HotKeyCaptionSeparator = '\x02';
constexpr char HotKeyFileSeparator = '\x01';

// Empties HotKeyList and rebuilds KeyNameList.
void InitKeyNames();
// Appends a hot key. Accelerator ampersands leave the caption path; a key part of
// DefaultKey that is a key name ("SC|N", "|F3") becomes its code, any other stays as written.
void AddHotKey(const std::string& Name, const std::string& CaptionPath,
               const std::string& DefaultKey);

// The shortcut of a key text; modifier letters in either case; a key part that is no number
// counts as 0 and one above 255 gives 0.
TShortCut HotKeyToShortCut(const std::string& KeyText);
// The shortcut of the current key of the first hot key with exactly this name; 0 when none.
TShortCut GetHotKey(const std::string& Name);
// Whether the key may be given with these modifier letters ("SCA" subset): unknown keys never,
// keys without required modifiers always, the others only with Ctrl and/or Alt.
bool IsHotKeyAllowed(uint16_t VirtKey, const std::string& Modifiers);
// The display name of a key code; empty for an unknown code.
std::string KeyName(uint16_t VirtKey);
// "Shift+Ctrl+N" for "SC|78"; empty for "|".
std::string HotKeyToText(const std::string& KeyText);
// The current (or, WantDefault, the default) key text of the first hot key with this exact
// caption path; empty when none.
std::string GetHotKeyByCaption(const std::string& CaptionPath, bool WantDefault);

// The user's hot-key file in the program folder.
extern const char* const HotKeyFileName;
// Sets the current keys from the file's "name<1>key" lines (the last line of a name wins).
// A line whose key text the hot-key dialog could not have given (a modifier letter other than
// S, C, A; modifiers without a key; a key that is not in KeyNameList; a typing key without
// Ctrl or Alt) is ignored. A missing file
// changes nothing and gives true; an unreadable one gives false, keeping what was set before
// the failure.
bool LoadHotKeys(const std::string& FileName);
// Writes one line per hot key in table order; false when the file cannot be written.
bool SaveHotKeys(const std::string& FileName);
