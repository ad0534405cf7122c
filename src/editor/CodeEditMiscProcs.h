// Free routines the editor, highlighters, printing and export share.
#pragma once
#include <windows.h>
#include <bitset>
#include <functional>
#include <string>
#include <string_view>
#include <vector>
#include "editor/CodeEditTypes.h"
#include "toolkit/Graphics.h"

class TCodeCustomHighlighter;
class TCodeHighlighterAttributes;

// Value limited to Low..High (Low wins when the limits cross).
int ClampValue(int Value, int Low, int High);
void SwapIntegers(int& A, int& B);
// The earlier of two positions (line first, then character).
TBufferCoord MinBufferCoord(const TBufferCoord& A, const TBufferCoord& B);

// Tab expansion: each tab becomes tab characters (code 9) up to the next multiple of the
// tab width, so one character is one display column; widths below 2 turn a tab into one blank.
// Texts without a tab come back unchanged.
using TCodeTabExpanderProc = std::string (*)(const std::string& Line, int TabWidth);
// The same, also telling whether the line held a tab.
using TCodeTabExpanderProcEx = std::string (*)(const std::string& Line, int TabWidth, bool& HasTabs);
TCodeTabExpanderProc GetTabExpanderProc(int TabWidth);
TCodeTabExpanderProcEx GetTabExpanderProcEx(int TabWidth);
// The same expansion into Out, reusing its storage.
void ExpandTabsInto(std::string_view Line, int TabWidth, std::string& Out);
// The display columns a tab at the 0-based display column Col takes up.
int TabColumns(int Col, int TabWidth);
// The number of display columns of Text after tab expansion, without building it.
int ExpandedLength(std::string_view Text, int TabWidth);
// The same, also telling whether Text holds a tab.
int ExpandedLength(std::string_view Text, int TabWidth, bool& HasTabs);
// The 1-based display column of the 1-based character position Index of Line; positions
// beyond the end count one column each.
int CharIndexToColumn(std::string_view Line, int Index, int TabWidth);
// The reverse: the 1-based position of the first character whose display columns reach the
// 1-based Column (a column inside a tab gives the tab); beyond the end one column each.
int ColumnToCharIndex(std::string_view Line, int Column, int TabWidth);

// Character scanning. Positions are 1-based; 0 means not found. A lead-byte test tells which
// bytes start a double-byte character; without one (nullptr) every character is one byte.
using TCodeCharSet256 = std::bitset<256>;
using TCodeLeadByteTest = bool (*)(unsigned char Byte);
// The system's test in far-east locales (double-byte system code page), else nullptr.
TCodeLeadByteTest SystemLeadByteTest();
// The first character at or after Start that is in Chars, stepping over double-byte characters.
int ScanForCharInSet(std::string_view Line, int Start, const TCodeCharSet256& Chars,
                     TCodeLeadByteTest IsLeadByte = SystemLeadByteTest());
// The last character at or before Start that is in Chars; a trail byte is never a match.
int ReverseScanForCharInSet(std::string_view Line, int Start, const TCodeCharSet256& Chars,
                            TCodeLeadByteTest IsLeadByte = SystemLeadByteTest());
// The first lead byte at or after Start; always 0 without a lead-byte test.
int ScanForLeadByte(std::string_view Line, int Start,
                    TCodeLeadByteTest IsLeadByte = SystemLeadByteTest());
// The last lead byte at or before Start (trail bytes skipped); always 0 without a test.
int ReverseScanForLeadByte(std::string_view Line, int Start,
                           TCodeLeadByteTest IsLeadByte = SystemLeadByteTest());
// The 0-based offset of the first code 0, 10 or 13 in Text; Text.size() when there is none.
size_t FindLineEnd(std::string_view Text);

// Classes of characters for word moves in far-east text, from the system's CT_CTYPE3 flags.
enum class TCodeCharType3 {
  ctOther, ctMark, ctSymbolHalf, ctSymbolFull, ctKatakanaHalf, ctKatakanaFull,
  ctHiragana, ctIdeograph, ctAlphaHalf, ctAlphaFull
};
TCodeCharType3 ClassifyCharType3(WORD CType3Flags);
// The CT_CTYPE3 flags of the character at the start of Text (one or two bytes) in the
// system locale.
WORD CharType3Flags(std::string_view Text);

// Called for each attribute with its highlighter, a name unique across the walk
// ("html1.Comment": the highlighter's name, its running number among highlighters of its
// class, "." and the attribute's name) and the caller's parameters; false stops the walk.
using TCodeHighlighterAttriProc =
    std::function<bool(TCodeCustomHighlighter& Highlighter, TCodeHighlighterAttributes& Attri,
                       const std::string& UniqueAttriName, void* Params)>;
// Walks the attributes of Highlighter and, for a composite one, of the highlighters it
// contains; with SkipDuplicates a highlighter met before is walked once only, and a composite
// is never entered again inside itself. False when there is no highlighter or no callback, or
// when the callback stopped the walk.
bool EnumHighlighterAttributes(TCodeCustomHighlighter* Highlighter, bool SkipDuplicates,
                               const TCodeHighlighterAttriProc& Proc, void* Params);
// Extension point for composite highlighters (the mixed web-page highlighter registers it
// when its unit is initialised): fills Contained with the highlighters a composite one
// switches between, its default one first and then each scheme's, and returns true; false for
// an ordinary highlighter.
using TCodeContainedHighlightersProc = bool (*)(TCodeCustomHighlighter& Highlighter,
                                                std::vector<TCodeCustomHighlighter*>& Contained);
void RegisterContainedHighlighters(TCodeContainedHighlightersProc Proc);

// Fills Rect with Steps bands (clamped to 2..256) running from StartColor to EndColor, left
// to right when Horizontal, else top to bottom.
void PaintGradient(HDC DC, TColor StartColor, TColor EndColor, bool Horizontal, const RECT& Rect,
                   int Steps);
