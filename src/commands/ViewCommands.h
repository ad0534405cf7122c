// The work behind the View menu that needs more than one call: highlighter items, word wrap,
// zoom and staying on top.
#pragma once

class TCustomCodeEdit;
class TMenuItem;
class TfraEdit;

// The item of the syntax menu naming the frame's highlighter; nullptr for the URI-only one
// (its item is a check mark of its own) and for an unknown one.
TMenuItem* SyntaxMenuItem(TfraEdit& Frame);
// Loads the rule file the item names into the active frame's own highlighter and switches
// to it. False, changing nothing, without a frame, when the file is missing, or when it cannot
// be read (then the user is told why).
bool SwitchToRuleFile(const TMenuItem& Item);
// Turns the word-wrap check over and makes the active editor follow it.
void ToggleWordWrap();

// The editor font's size: in grows up to 48, out shrinks down to 4, normal is the size of
// the settings for the font's character set. The gutter takes the editor's font.
enum class TZoom { In, Out, Normal };
constexpr int MaxZoomFontSize = 48;
constexpr int MinZoomFontSize = 4;
void ZoomEditorFont(TCustomCodeEdit* Editor, TZoom Direction);

// Makes the main window a topmost one or a normal one, position and size kept; the menu
// check and the tool button follow.
void SetStayOnTop(bool OnTop);
