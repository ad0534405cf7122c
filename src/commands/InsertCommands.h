// Generated text inserted at the caret of the active document: date and time, a GUID, console
// output, the clipboard at the start or end of lines, text templates and snippets.
#pragma once
#include <string>

class TCustomCodeEdit;
class TSnip;
class TfraEdit;

enum class TDateTimePart { DateAndTime, Date, Time };
// The clock's local moment in the locale's short date and long time formats.
std::string CurrentDateTimeText(TDateTimePart Part);
// A new GUID as "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"; empty when the platform gives none.
std::string NewGuidText();

// Asks for a console command and inserts its output (converted from the OEM code page unless
// the editor shows the OEM font). An empty answer does nothing.
void InsertConsoleOutput();
// Puts the clipboard text before (AtLineStart) or after every whole line the selection
// touches, all lines without a selection, as one undo step. Nothing without clipboard text
// or for a document that may not be written.
void InsertClipboardAtLines(TCustomCodeEdit* Editor, bool AtLineStart);
// The text template Name of the template store, expanded for the active document and inserted
// around the selection; nothing when its three parts are blank.
void InsertTextTemplate(const std::string& Name);

// Inserts the snippet Key of the store, expanded for Frame; false when the store has no
// such snippet.
bool InsertSnippet(const TSnip& Snips, const std::string& Key, TfraEdit* Frame);
// The hint of the snippet Key: its three parts expanded without side effects, the current
// selection shown as "{...}"; empty when the store has no such snippet.
std::string SnippetHint(const TSnip& Snips, const std::string& Key, TfraEdit* Frame);
