#include "commands/fHlpMainSearch.h"
#include <windows.h>
#include <algorithm>
#include "app/fHlpMain.h"
#include "app/fLanguage.h"
#include "app/formMain.h"
#include "editor/CodeEdit.h"
#include "foundation/FastSearch.h"
#include "foundation/Regex.h"
#include "rtl/StringList.h"
#include "rtl/SysUtils.h"
#include "toolkit/Application.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Dialogs.h"

TLocalSearchReplace LocalSearchReplace;

namespace {

constexpr int MaxHistoryEntries = 30;
constexpr int PreviewBefore = 25;
constexpr int PreviewLength = 50;

// Whole-word searches are expression searches with word boundaries around the text.
std::string SearchPattern() {
  const TLocalSearchReplace& S = LocalSearchReplace;
  return S.WholeWords ? "\\b" + S.SearchText + "\\b" : S.SearchText;
}

bool IsExpressionMode() { return LocalSearchReplace.UseRegExpr || LocalSearchReplace.WholeWords; }

std::string BlankLineBreaks(std::string Text) {
  for (char& c : Text)
    if (c == '\r' || c == '\n') c = ' ';
  return Text;
}

void SelectHit(TCustomCodeEdit& Editor, int Pos, int Len) {
  Editor.GotoLineAndCenter(Editor.CharIndexToRowCol(Pos - 1).Line);
  Editor.SetSelStart(Pos - 1);
  Editor.SetSelLength(Len);
}

// Whether the search goes on from the other end of the text: the settings, then the question.
bool ConfirmWrap(bool Forward) {
  if (!Settings.General.SearchContinue) return false;
  if (!Settings.General.SearchContinueQuery) return true;
  LocalSearchReplace.Found = true;
  std::string title, text;
  if (Forward) {
    title = GetLangText("Main|MsgSearchForwardTitle", "Suchen vorw\xE4rts");
    text = GetLangText("Main|MsgSearchEndContinue",
                       "Das Dateiende wurde erreicht.%w%M\xF6"
                       "chten Sie die Suche am Dateianfang fortsetzen?");
  } else {
    title = GetLangText("Main|MsgSearchBackwardTitle", "Suchen r\xFC"
                                                       "ckw\xE4rts");
    text = GetLangText("Main|MsgSearchStartContinue",
                       "Der Dateianfang wurde erreicht.%w%M\xF6"
                       "chten Sie die Suche am Dateiende fortsetzen?");
  }
  return MsgBox(text, title, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

// One kind of search in one direction: where it starts, what it finds, and whether the text
// holds a hit on the other side of the start.
struct TSearchKind {
  bool Forward;
  bool Expression;

  int StartPos(const TCustomCodeEdit& Editor) const {
    const int selStart = Editor.SelStart();
    if (Expression) return selStart + 1 + (Forward && Editor.SelAvail() ? 1 : 0);
    if (!Forward) return selStart;
    const bool hitSelected =
        Editor.SelLength() == static_cast<int>(LocalSearchReplace.SearchText.size());
    return selStart + 1 + (hitSelected ? 1 : 0);
  }

  int Find(const std::string& Text, int Start, int& Len) const {
    const TLocalSearchReplace& S = LocalSearchReplace;
    if (Expression) return RegExprFind(Text, SearchPattern(), S.CaseSensitive, Len, Start, !Forward);
    Len = static_cast<int>(S.SearchText.size());
    return FindText(Text, S.SearchText, S.CaseSensitive, Start, !Forward);
  }

  bool HitElsewhere(const std::string& Text, int Start) const {
    const TLocalSearchReplace& S = LocalSearchReplace;
    if (!Expression) return FindText(Text, S.SearchText, S.CaseSensitive, 1, false) > 0;
    int len = 0;
    return RegExprFind(Text, SearchPattern(), S.CaseSensitive, len, Start, Forward) > 0;
  }
};

// Searches once and, after an agreed wrap, once more from the other end. The second pass
// never wraps again, so a hit the direction cannot reach (an empty match at the very end)
// cannot make the search ask forever.
void SearchWithWrap(TCustomCodeEdit& Editor, const TSearchKind& Kind) {
  for (int pass = 0; pass < 2; ++pass) {
    const std::string text = Editor.Text();
    const int start = Kind.StartPos(Editor);
    int len = 0;
    const int pos = Kind.Find(text, start, len);
    if (pos > 0) {
      LocalSearchReplace.Found = true;
      SelectHit(Editor, pos, len);
      return;
    }
    if (!Kind.HitElsewhere(text, start)) {
      LocalSearchReplace.Found = false;
      return;
    }
    if (pass > 0 || !ConfirmWrap(Kind.Forward)) return;
    Editor.SetSelStart(Kind.Forward ? 0 : static_cast<int>(text.size()));
  }
}

void RunSearch(TCustomCodeEdit& Editor, const TSearchKind& Kind) {
  // An expression search for nothing would match everywhere with no length.
  if (Kind.Expression && LocalSearchReplace.SearchText.empty()) {
    LocalSearchReplace.Found = false;
    return;
  }
  try {
    SearchWithWrap(Editor, Kind);
  } catch (const ERegex& E) {
    LocalSearchReplace.Found = false;
    ReportRegexError(E);
  }
}

// The line and column of ascending 0-based offsets of one text, in one pass over it.
class TLineCounter {
public:
  explicit TLineCounter(const std::string& Text) : text_(Text) { nextBreak_ = text_.find("\r\n"); }
  void Locate(size_t Offset, int& Line, int& Column) {
    while (nextBreak_ != std::string::npos && nextBreak_ + 2 <= Offset) {
      ++line_;
      lineStart_ = nextBreak_ + 2;
      nextBreak_ = text_.find("\r\n", lineStart_);
    }
    Line = line_;
    Column = static_cast<int>(Offset - lineStart_) + 1;
  }

private:
  const std::string& text_;
  size_t nextBreak_;
  size_t lineStart_ = 0;
  int line_ = 1;
};

void AddToMRU(TComboBox* Combo, TStringList& Stored, const std::string& Text) {
  if (Text.empty()) return;
  if (!Combo) {
    AddToHistory(Stored, Text);
  } else {
    const std::string typed = Combo->Caption();
    TStringList items;
    for (int i = 0; i < Combo->Count(); ++i) items.Add(Combo->Items(i));
    const bool listed = AddToHistory(items, Text);
    Combo->Clear();
    for (int i = 0; i < items.Count(); ++i) Combo->AddItem(items[i]);
    Combo->SetCaption(listed ? Text : typed);
    Stored.Assign(items);
  }
  while (Stored.Count() > MaxHistoryEntries) Stored.Delete(Stored.Count() - 1);
}

}  // namespace

void ReportRegexError(const ERegex& E) {
  MsgBox(E.what(), Application().Title(), MB_OK | MB_ICONERROR);
}

int FindText(const std::string& Text, const std::string& Pattern, bool CaseSensitive,
             int StartPos, bool Backwards) {
  if (!Backwards && StartPos < 1) StartPos = 1;
  return FastFind(Pattern, Text, CaseSensitive, !Backwards, StartPos);
}

int RegExprFind(const std::string& Text, const std::string& Pattern, bool CaseSensitive,
                int& MatchLen, int StartPos, bool Backwards) {
  MatchLen = 0;
  if (Pattern.empty()) return 0;
  TRegex regex(RegexDefaultModifiers | (CaseSensitive ? TRegexModifiers(0) : rmI));
  regex.SetExpression(Pattern);
  // Matches follow one another from the start of the text, so a hit never begins inside an
  // earlier match.
  int found = 0;
  for (bool more = regex.Exec(Text); more; more = regex.ExecNext()) {
    const int pos = regex.GetMatchPos(0);
    if (!Backwards && pos >= StartPos) {
      MatchLen = regex.GetMatchLen(0);
      return pos;
    }
    if (Backwards) {
      if (pos >= StartPos) break;
      found = pos;
      MatchLen = regex.GetMatchLen(0);
    }
  }
  return found;
}

void SearchNextInEditor(TCustomCodeEdit& Editor) { RunSearch(Editor, {true, false}); }
void SearchPrevInEditor(TCustomCodeEdit& Editor) { RunSearch(Editor, {false, false}); }
void SearchNextRegExprInEditor(TCustomCodeEdit& Editor) { RunSearch(Editor, {true, true}); }
void SearchPrevRegExprInEditor(TCustomCodeEdit& Editor) { RunSearch(Editor, {false, true}); }

void ListSearchHits(const std::string& Text,
                    const std::function<bool(const TSearchHit&)>& OnHit) {
  const TLocalSearchReplace& S = LocalSearchReplace;
  const bool showHits = Settings.General.SearchShowHits;
  TLineCounter counter(Text);
  TSearchHit hit;
  if (!IsExpressionMode()) {
    hit.Length = static_cast<int>(S.SearchText.size());
    for (int p = FindText(Text, S.SearchText, S.CaseSensitive, 1, false); p > 0;
         p = FindText(Text, S.SearchText, S.CaseSensitive, p + 1, false)) {
      hit.Position = p;
      counter.Locate(p - 1, hit.Line, hit.Column);
      const int from = std::max(1, p - PreviewBefore);
      hit.Preview = showHits ? BlankLineBreaks(Text.substr(from - 1, PreviewLength)) : "";
      if (!OnHit(hit)) return;
    }
    return;
  }
  if (S.SearchText.empty()) return;
  TRegex regex(RegexDefaultModifiers | (S.CaseSensitive ? TRegexModifiers(0) : rmI));
  regex.SetExpression(SearchPattern());
  for (bool more = regex.Exec(Text); more; more = regex.ExecNext()) {
    hit.Position = regex.GetMatchPos(0);
    hit.Length = regex.GetMatchLen(0);
    counter.Locate(hit.Position - 1, hit.Line, hit.Column);
    hit.Preview = showHits ? BlankLineBreaks(regex.GetMatch(0)) : "";
    if (!OnHit(hit)) return;
  }
}

bool AddToHistory(TStrings& Items, const std::string& Text) {
  if (Text.empty()) return false;
  for (int i = 0; i < Items.Count(); ++i) {
    if (AnsiSameText(Items[i], Text)) {
      Items.Delete(i);
      Items.Insert(0, Text);
      return true;
    }
  }
  Items.Insert(0, Text);
  return false;
}

void AddToSearchMRU(const std::string& Text) {
  AddToMRU(frmMain ? frmMain->cmbSearch : nullptr, Settings.SearchMRU, Text);
}

void AddToReplaceMRU(const std::string& Text) {
  AddToMRU(frmMain ? frmMain->cmbReplace : nullptr, Settings.ReplaceMRU, Text);
}
