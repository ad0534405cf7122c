// The Format menu's line operations: trailing blanks, sorting, deleting empty and duplicate
// lines, filling, joining, and moving the selected lines.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

class TCustomCodeEdit;

// The lines of a text broken at CR LF, CR or LF; a final break starts no further line.
std::vector<std::string> SplitTextLines(const std::string& Text);
// Every line without its trailing characters up to blank, each followed by CR LF.
std::string TrimLineEnds(const std::string& Text);
// The lines in the locale's order ignoring case (descending: SortDescCompare), joined by
// CR LF; a text without a final line break gets none. Equal lines may change places.
std::string SortTextLines(const std::string& Text, bool Descending);
// The negated ascending comparison.
int SortDescCompare(const std::string& A, const std::string& B);
// The lines that hold more than blanks and control characters, each followed by CR LF, and
// then the whole result without its trailing characters up to blank.
std::string DeleteEmptyTextLines(const std::string& Text);
// The first of every group of lines equal ignoring case (locale comparison), in order, each
// followed by CR LF; a text without a final CR LF also loses trailing blanks at the end.
std::string DeleteDuplicateTextLines(const std::string& Text);
// Pattern repeated and cut to exactly Length characters; empty for an empty pattern.
std::string FillText(size_t Length, const std::string& Pattern);
// The lines trimmed and joined by one blank; a final line break is consumed.
std::string JoinTextLines(const std::string& Text);

// Moves the lines from the selection start's line to the selection end's line (the caret's
// line alone without a selection) past the line above or below, as one undo step; the
// selection and caret follow the lines. False (nothing changed) at the first or last line.
bool MoveLines(TCustomCodeEdit& Editor, bool Up);
