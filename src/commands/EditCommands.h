// The Edit menu's and the navigation commands on an editor: the clipboard with attach,
// pasting a file and saving the selection to one, formatted copies, the memory banks, going
// to a line or position, bookmarks and the matching bracket. Each does nothing without an
// editor; those that write also nothing for a read-only document.
#pragma once
#include <string>

class TCustomCodeEdit;
class TCodeCustomExporter;
class TCodeExporterHTML;
class TCodeExporterRTF;
class TfraEdit;

// The clipboard's plain text up to its first zero byte; empty when it holds none.
std::string ClipboardText();
// The clipboard's plain text followed by the selected text becomes the clipboard's only
// content; ECodeEditError when the clipboard cannot be opened or written. Nothing without a
// selection.
void CopyAndAttach(TCustomCodeEdit* Editor);
// As CopyAndAttach, then the selection is deleted (one undo step).
void CutAndAttach(TCustomCodeEdit* Editor);

// Asks for a file and puts its text in place of the selection as one undo step; a file with
// control bytes is inserted only when the user agrees (with the warning on).
void PasteFromFile(TCustomCodeEdit* Editor);
// Asks for a file name and writes the selected text there in the document's line-break and
// file format; a failure is reported and changes nothing.
void CopySelectionToFile(TfraEdit* Frame);

// Puts the selection (all of the text when nothing is selected) on the clipboard as
// highlighted RTF or HTML. Without a highlighter the exporter raises EAbort.
void CopyFormattedRTF(TCustomCodeEdit* Editor, TCodeExporterRTF& Exporter);
void CopyFormattedHTML(TCustomCodeEdit* Editor, TCodeExporterHTML& Exporter, bool Fragment);

// The selected text into memory bank Index; its text in place of the selection as one undo
// step. An index outside 0 to 9 does nothing.
void CopyToMemoryBank(TCustomCodeEdit* Editor, int Index);
void PasteFromMemoryBank(TCustomCodeEdit* Editor, int Index);

// Ask for a line (from 1) or a character position (from 1, up to the length + 1); the answer
// is clamped to the text, a non-number counts as -1, an empty answer changes nothing.
void GotoLineQuery(TCustomCodeEdit* Editor);
void GotoPositionQuery(TCustomCodeEdit* Editor);

// Bookmark Index (0 to 9; others do nothing): set at the caret, cleared when it is there
// already, moved to the caret when it is elsewhere.
void ToggleBookmark(TCustomCodeEdit* Editor, int Index);
// To a set bookmark, its line centred.
void GotoBookmark(TCustomCodeEdit* Editor, int Index);
// The caret to the nearest bookmark after (before) it in the text; no wrapping around.
void GotoNextBookmark(TCustomCodeEdit* Editor, bool Forward);
void RemoveAllBookmarks(TCustomCodeEdit* Editor);

// The caret to the bracket matching the one at (or just before) it; otherwise the caret
// stays where it is and the selection goes.
void JumpToMatchingBracket(TCustomCodeEdit* Editor);
