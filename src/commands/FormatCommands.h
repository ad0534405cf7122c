// The Format menu's commands on an editor: a conversion of the selected or the whole text
// written back as one undo step, and the commands that ask for a width or a pattern first.
#pragma once
#include <functional>
#include <optional>
#include <string>

class TCustomCodeEdit;

// A conversion of a text; no result leaves the text as it is.
using TTextConversion = std::function<std::optional<std::string>(const std::string&)>;

enum class TConvertScope {
  SelectionElseAll,  // the whole text is selected first when nothing is
  WholeText,         // always the whole text
  SelectionOnly      // nothing without a selection
};

// Replaces the text of the scope by Conversion's result as one undo step (the result is
// complete before the document is touched), then repaints with the caret in view. Nothing
// for no editor, a read-only document, or no result.
void ConvertEditorText(TCustomCodeEdit* Editor, const TTextConversion& Conversion,
                       TConvertScope Scope = TConvertScope::SelectionElseAll);

// Asks for the characters per line; a whole number of 1 or more wraps the selected (else
// the whole) text at that width. Cancel or any other answer changes nothing.
void WrapLinesAfterQuery(TCustomCodeEdit* Editor);
// Asks for a pattern and overwrites the selected (else the whole) text, line breaks
// included, with it repeated to the same length. Cancel or an empty answer changes nothing.
void FillSelectionQuery(TCustomCodeEdit* Editor);
// The block indent or unindent command of the editor on the selection or the caret line.
void IndentParagraph(TCustomCodeEdit* Editor, bool Outdent);
