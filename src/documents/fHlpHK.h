// The default hot keys and their application to the main menu and to editor controls.
#pragma once
#include <vector>
#include "documents/fHotKeys.h"

class TCustomCodeEdit;

// The number of hot keys InitHotKeys registers, and of those that bind editor commands.
constexpr int HotKeyDefaultCount = 289;
constexpr int EditorHotKeyCount = 74;

// Rebuilds both tables from the defaults (caption paths in the current language), loads the
// user's hot-key file from the program folder and applies the keys to the main menu. A file
// that cannot be read leaves the defaults and is kept from being written (StoreGuard).
void InitHotKeys();
// The same later in the run (opening Shortcuts anpassen, its Abbrechen): a file that cannot be
// read leaves the keys of Held (matched by name) instead of the defaults, and the user is told
// so (StoreGuard).
void ReloadHotKeys(std::vector<THotKeyRec> Held);
// Sets the shortcuts of the main window's menu items from the hot-key table; nothing while
// there is no main window.
void ApplyMenuHotKeys();
// Replaces the editor's whole keystroke list by the editor hot keys, one keystroke per row;
// nothing for none. A row whose key an earlier row holds, or whose key code lies outside
// 0..255, gets no key.
void ApplyEditorHotKeys(TCustomCodeEdit* Editor);
