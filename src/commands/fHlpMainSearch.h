// The current search: next and previous hit in the active document, plain or by regular
// expression, every hit of every open document in the results list, and the search and
// replace histories.
#pragma once
#include <functional>
#include <string>

class ERegex;
class TCustomCodeEdit;
class TfraEdit;
class TStrings;

// The search the panel last set up. The searches read SearchText, CaseSensitive, WholeWords,
// Backwards and UseRegExpr, and report their outcome in Found; one that stops on an error it
// has shown sets ErrorShown, so that the panel (which clears both first) adds no "not found".
struct TLocalSearchReplace {
  std::string SearchText;
  std::string ReplaceText;
  bool CaseSensitive = false;
  bool WholeWords = false;
  bool Backwards = false;
  bool UseRegExpr = false;
  bool ShowInTab = false;
  bool AllFiles = false;
  bool Found = false;
  bool ErrorShown = false;
};
extern TLocalSearchReplace LocalSearchReplace;

// 1-based position of Pattern in Text, 0 for none. Forward: the first occurrence at or after
// StartPos (0 counts as 1). Backward: the last one beginning at or before StartPos; 0, or a
// start too near the end for the pattern to fit, searches from the end.
int FindText(const std::string& Text, const std::string& Pattern, bool CaseSensitive,
             int StartPos, bool Backwards);
// 1-based position of a match of the expression in Text, 0 for none; its length goes to
// MatchLen. Forward: the first match beginning at or after StartPos; backward: the last one
// beginning before StartPos. An invalid expression raises ERegex; an empty one finds nothing.
int RegExprFind(const std::string& Text, const std::string& Pattern, bool CaseSensitive,
                int& MatchLen, int StartPos, bool Backwards);

// Raises ERegex when Search is by expression (whole words are) and its expression does not
// compile, as the searches would when they run; a plain or empty search passes.
void CheckSearchExpression(const TLocalSearchReplace& Search);

// Why an expression cannot be used: the engine's error for a pattern that does not compile;
// for a search that ran away on the text, a language text with the engine's error inside.
std::string RegexErrorText(const ERegex& E);
// Tells the user why an expression cannot be used: an error box with RegexErrorText. Every
// command that takes an expression from the user reports it so.
void ReportRegexError(const ERegex& E);
// The same for a search of LocalSearchReplace, which marks ErrorShown.
void ReportSearchError(const ERegex& E);

// The searches of the active document. With Direct false and Backwards set, each runs its
// opposite of the same kind instead. The plain ones open the search panel when SearchText is
// empty. A hit is selected and its line centred; at the end (start) of the text the search
// wraps, after a Yes/No question when configured. An invalid or runaway expression is
// reported, the selection stays, Found becomes false and ErrorShown true.
void SearchNext(bool Direct);
void SearchPrev(bool Direct);
void SearchNextRegExpr(bool Direct);
void SearchPrevRegExpr(bool Direct);

// The same searches in one editor, always in the named direction.
void SearchNextInEditor(TCustomCodeEdit& Editor);
void SearchPrevInEditor(TCustomCodeEdit& Editor);
void SearchNextRegExprInEditor(TCustomCodeEdit& Editor);
void SearchPrevRegExprInEditor(TCustomCodeEdit& Editor);

// One hit of a listing: 1-based character position (line breaks count 2), line and column,
// length, and the preview shown in the last column (empty when hits are not shown).
struct TSearchHit {
  int Position = 0;
  int Line = 0;
  int Column = 0;
  int Length = 0;
  std::string Preview;
};
// Every hit of the current search in Text, in order; OnHit returns false to stop the listing.
// Plain mode lists overlapping occurrences too. An invalid expression raises ERegex.
// Text is searched in place: OnHit must leave it alive and unchanged.
void ListSearchHits(const std::string& Text, const std::function<bool(const TSearchHit&)>& OnHit);

// Appends every hit in the frame's document to the results list (tab index TabIndex); stops
// early when the search button asks to cancel. Found becomes true when the list has rows.
// An invalid or runaway expression is reported once and sets ErrorShown.
void SearchDocument(TfraEdit* Frame, int TabIndex);
// Fills the results list from every open document, shows it and jumps to the first hit. The
// documents open at the start are listed in tab order under their tab index of the moment;
// one closed meanwhile is skipped. A cancel request is honoured before each document too.
// An invalid or runaway expression is reported once, ends the listing and sets ErrorShown.
void SearchAllDocuments();

// Puts a non-empty Text at the top of a history, replacing an entry equal to it ignoring case;
// true when such an entry was there.
bool AddToHistory(TStrings& Items, const std::string& Text);
// The panel's histories and their settings (kept to at most 30 entries).
void AddToSearchMRU(const std::string& Text);
void AddToReplaceMRU(const std::string& Text);
