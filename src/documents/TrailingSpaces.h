// Trimming the blanks at line ends, which opening and saving do when the settings ask.
#pragma once

class TCustomCodeEdit;

// Removes the characters of code 32 and below from the end of every line, as one undo step;
// nothing for no editor or a read-only document.
void TrimTrailingSpaces(TCustomCodeEdit* Editor);
