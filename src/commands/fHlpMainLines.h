// Line and navigation functions: deleting matching lines, trailing white space, the memory
// banks and their menu captions, cursor-position markers, matching brackets, the e-mail test.
#pragma once
#include <windows.h>
#include <array>
#include <string>
#include "editor/CodeEditTypes.h"

class TCustomCodeEdit;

// The ten internal clipboards "Ablage 0" to "Ablage 9".
extern std::array<std::string, 10> MemoryBanks;

// The marker templates leave where typing goes on.
extern const char* const CursorPosMarker;

// Asks for a text or expression and deletes the lines that meet the mode's condition, as one
// undo step: 0/1 matching / not matching an expression; 2/3/4 beginning with, containing,
// ending with a text; 5/6/7 the negations. Other modes, no editor, a read-only document or an
// empty answer: nothing. An invalid expression is reported as the searches report it and
// changes nothing.
void RemoveLines(int Mode, TCustomCodeEdit* Editor);
// The text without the lines that meet the mode's condition for Pattern (texts compared
// ignoring case). A text without a final break keeps none and loses trailing blanks. An
// expression that cannot be compiled or run raises ERegex.
std::string RemoveMatchingLines(const std::string& Text, int Mode, const std::string& Pattern);

// The Edit menu caption of memory bank Index (0 to 9), with a preview of its text.
std::string BuildMemoryBankMenu(int Index);

// Select the next / previous "$|$" of the active document, wrapping without a question.
void NextCursorPos();
void PrevCursorPos();
void NextCursorPosInEditor(TCustomCodeEdit& Editor);
void PrevCursorPosInEditor(TCustomCodeEdit& Editor);

// The buffer position of the bracket matching the one at (or just before) the caret, also when
// it is scrolled out of view; {0, 0} for none, with a selection, or without an editor.
TBufferCoord GotoMatchingBracket(TCustomCodeEdit* Editor);
// The client pixel point of a buffer position.
POINT BufferPosToPixels(TCustomCodeEdit& Editor, const TBufferCoord& Pos);

// Whether the whole text is a lower-case e-mail address.
bool IsValidEmail(const std::string& Text);
