// Placeholders of templates and snippets ("%DATE%", "%FILE%", "%SELECTION%", ...) filled in
// at the moment of insertion.
#pragma once
#include <string>

class TfraEdit;

// Insert: the placeholders act as inserting them does ("%ASCII%", "%ANSI%" and "%SYNTAX:...%"
// change the document's font or highlighter). Preview (the snippet hint): nothing outside the
// text changes; those tokens are only removed and checksum placeholders stay as they are.
enum class TExpandMode { Insert, Preview };

// The text after expansion, and per byte whether it came from a value (1) or from the
// template (0). Later steps, and the callers' own markers, act on template bytes only, so a
// value holding "$%$" or "%CURSOR%" is inserted as it stands.
struct TExpandedText {
  std::string Text;
  std::string FromValue;
};

// Replaces every placeholder in the fixed order of the steps; file, checksum, font, syntax and
// selection placeholders need a frame: without one the file and checksum placeholders stay in
// the text and the others are removed (the selection as empty). Never fails.
TExpandedText ExpandVariablesMarked(const std::string& Text, TfraEdit* Frame,
                                    TExpandMode Mode = TExpandMode::Insert);
std::string ExpandVariables(const std::string& Text, TfraEdit* Frame,
                            TExpandMode Mode = TExpandMode::Insert);

// The format of a "%DATETIME:...%" token applied to a moment: "//" a literal slash, "bb" the
// zone offset "+05:30" and "b" it in minutes (Local only), "www" the ISO week, "ww" the week
// of the month, "x" the day of the year, "FR$" the locale whose names are used.
std::string FormatDateTimeToken(const std::string& Format, double Moment, int BiasMinutes,
                                bool Local);
