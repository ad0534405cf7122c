// Highlighter states at line ends, scanned on demand: painting, the token functions, export
// and printing reach a line's state only through StartHighlighterAtLine.
#pragma once
#include "editor/CodeEditHighlighter.h"
#include "editor/CodeEditTextBuffer.h"

// Puts Highlighter into its state at the start of line Index (0-based; Count gives the state
// after the last line). A text buffer keeps what was scanned for this highlighter and scans
// only the lines above Index not scanned yet; any other list is scanned from its first line.
void StartHighlighterAtLine(TCodeCustomHighlighter& Highlighter, const TStrings& Lines, int Index);

// Scans up to MaxLines more lines past those scanned; true once every line is.
bool ScanMoreLineStates(TCodeCustomHighlighter& Highlighter, const TCodeEditStringList& Lines,
                        int MaxLines);

// Keeps the scanned states right after a change at line Index: Changed lines from there got
// new texts (or are new), and Shift lines were inserted there (above 0) or deleted (below 0).
// Where the change lies among the scanned lines, they are rescanned from Index on until a line
// ends in the state it had before (the rest still holds then); after a bounded number of
// lines the scan stops there and leaves the rest to later. Gives the last line whose colours
// may have changed.
int RescanChangedLines(TCodeCustomHighlighter& Highlighter, const TCodeEditStringList& Lines,
                       int Index, int Changed, int Shift);
