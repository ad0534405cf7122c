// Document-level functions shared by the commands and the core: editor settings, special
// characters and HTML entities, menus built from settings and folders, character properties,
// command-line switches and the editor font.
#pragma once
#include <array>
#include <string>
#include "rtl/Classes.h"

class TCustomCodeEdit;
class TfraEdit;
class TTabSheet;

// One character of the special-character table: the character, its named entity ("&auml;",
// empty when none) and its numeric entity ("&#228;"). Undefined entries are empty.
struct TSpecialCharRec {
  std::string Char;
  std::string Name;
  std::string Number;
};
extern std::array<TSpecialCharRec, 256> SpecialCharsTable;

// Whether a command may write into the editor's document: false for none and for a document
// set read-only. Every command that changes a document's text asks this before writing.
bool CanWriteDocument(const TCustomCodeEdit* Editor);

// The tab settings to the page control; for an editor also every editor setting, the font
// and the hot keys.
void ApplySettings(TCustomCodeEdit* Editor = nullptr);

// Reloads SpecialCharsTable from the configured special-character file.
void LoadSpecialChars();
// Fills one entry; an empty Number stands for the code itself. Codes outside 0..255 are ignored.
void SetSpecialChar(int Code, const std::string& Char, const std::string& Name,
                    const std::string& Number);
// The code of an entity given without "&" and ";" ("auml", "#228"); 0 when not recognised.
int DecodeEntity(const std::string& Entity);
// The text with every recognised HTML entity replaced by its character.
std::string ConvertHtmlChars(const std::string& Text);

// Rebuilds the external-program items of the main window's menu from Settings.AppList:
// caption, Ctrl+F1..F9 for key 1..9, Shift+Ctrl+F1..F9 for 10..18, the entry's index as Tag.
void BuildAppListMenu();
// Rebuilds the rule-file highlighter items of the main window's syntax menu (after its ten
// fixed items): one radio item per "*.hgl" file of the "Highlighters" folder, sorted, with
// Tag 10 + its position.
void LoadHighlighterList();
// The commands the built items run, set by the main window; until then a click does nothing.
extern TNotifyEvent AppListItemClick;
extern TNotifyEvent HighlighterItemClick;
// Fills the character-properties page of the lower panel when it is shown.
void UpdateCharProperties();

// The document frame on a tab page; nullptr for none.
TfraEdit* GetSheetFrame(TTabSheet* Sheet);

// Settings.ParamML, ParamLock and ParamNoSplash from the command line.
void ParseCommandLineSwitches();
// The switches POS, LN and LOCK applied to a document just opened; nothing for none.
void ApplyCommandLineSwitches(TfraEdit* Frame);

// Switches the editor and its gutter between the ANSI and the OEM font of the settings.
void ApplyEditorFont(bool Oem, TCustomCodeEdit* Editor);
