// The search panel's work apart from its controls: which options count, the replace step of
// Replace All, the incremental search, and where a row of the results list leads.
#pragma once
#include <optional>
#include <string>
#include "commands/fHlpMainSearch.h"

class TCustomCodeEdit;
class TListItem;
class TListView;
class TPageControl;

// The option boxes as the user left them, and what follows from them for the panel.
struct TSearchPanelChecks {
  bool AllFiles = false;
  bool ShowInTab = false;
  bool WholeWords = false;
  bool UseRegExpr = false;
};
struct TSearchPanelEnables {
  bool UseRegExpr = true;
  bool WholeWords = true;
  // The direction, "start at the text's start" and "only in the selection": one document,
  // one hit at a time.
  bool SingleHitOptions = true;
  bool ShowInTab = true;
  // The multi-line search field takes Enter as a line break.
  bool SearchWantsReturn = true;
};
TSearchPanelEnables SearchPanelEnables(const TSearchPanelChecks& Checks);

// Whether the replace step reads the search text as an expression.
bool ReplacesByExpression(const TLocalSearchReplace& Search);
// Text with every hit of the search replaced by Replacement: plain text through the fast
// replace (case ignored unless CaseSensitive), or the expression (whole words between "\b"
// markers, case ignored unless CaseSensitive) with group references substituted. An empty
// search text changes nothing; an invalid expression gives nothing; a runaway one raises
// ERegex.
std::optional<std::string> ReplaceAllIn(const std::string& Text, const TLocalSearchReplace& Search,
                                        const std::string& Replacement);
// The replace step on one editor as one undo step: on its selection when KeepSelection and
// it has one, else on the whole text (which is selected first). Nothing for a read-only
// document or an invalid expression; a runaway one raises ERegex. Whenever the text stays as it
// was (no hit either), so do the selection and the scroll position. True when the text changed.
bool ReplaceAllInEditor(TCustomCodeEdit& Editor, const TLocalSearchReplace& Search,
                        const std::string& Replacement, bool KeepSelection);

// Selects the hit of Text nearest the selection start, case ignored: with Next, past a hit
// that is selected already; Backwards towards the start. Both wrap around. An empty Text
// clears the selection. True when there is a hit (or Text is empty); the selection stays
// otherwise.
bool IncrementalSearchIn(TCustomCodeEdit& Editor, const std::string& Text, bool Next,
                         bool Backwards);

// The tab a results row leads to: its "Dokument-Index" when that tab exists and its caption
// is the row's title as a tab shows it; -1 for a stale row.
int ResultRowTab(const TListItem& Row, const TPageControl& Tabs);
// Activates the row's document and selects its hit, the line centred; the keyboard focus stays
// where it is. False for a stale row.
bool ShowResult(const TListItem& Row);
// As ShowResult, then the editor takes the focus as "SearchFocusEditor" says, CtrlHeld turning
// it around: a click or Enter on the row.
bool JumpToResult(const TListItem& Row, bool CtrlHeld);
// Shows the results page with the list's first row selected and focused, so the arrow keys go
// on from it, and jumps to its hit; the list has the focus unless the jump gives it away.
// CtrlHeld: Ctrl was held when the search started. A listing lets messages through, so the key
// may well be up by the time it ends.
void ShowResultsList(TListView& List, bool CtrlHeld);
