#include "commands/fHlpMainSearch.h"
#include <windows.h>
#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>
#include "documents/MainWindowParts.h"
#include "documents/fHlpMain.h"
#include "documents/fLanguage.h"
#include "editor/CodeEdit.h"
#include "editor/CodeEditScopes.h"
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
std::string SearchPattern(const TLocalSearchReplace& S) {
  return S.WholeWords ? "\\b" + S.SearchText + "\\b" : S.SearchText;
}

bool IsExpressionMode(const TLocalSearchReplace& S) { return S.UseRegExpr || S.WholeWords; }

TRegexModifiers SearchModifiers(bool CaseSensitive) {
  return RegexDefaultModifiers | (CaseSensitive ? TRegexModifiers(0) : rmI);
}

std::string BlankLineBreaks(std::string Text) {
  for (char& c : Text)
    if (c == '\r' || c == '\n') c = ' ';
  return Text;
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

// Lines and columns of a text's 0-based offsets and where its lines start, found by scanning
// its breaks: moving on continues from the last place, moving back starts over.
class TTextLocator {
public:
  explicit TTextLocator(const std::string& Text) : text_(Text) { Restart(); }
  // The offset where line Line begins; 0 for lines before the first, the last line's start
  // for lines after it.
  size_t LineStart(int Line) {
    if (Line < line_) Restart();
    while (line_ < Line && nextBreak_ != std::string::npos) Next();
    return lineStart_;
  }
  void Locate(size_t Offset, int& Line, int& Column) {
    if (Offset < lineStart_) Restart();
    while (nextBreak_ != std::string::npos && nextBreak_ + 2 <= Offset) Next();
    Line = line_;
    Column = static_cast<int>(Offset - lineStart_) + 1;
  }

private:
  void Restart() {
    line_ = 1;
    lineStart_ = 0;
    nextBreak_ = text_.find("\r\n");
  }
  void Next() {
    ++line_;
    lineStart_ = nextBreak_ + 2;
    nextBreak_ = text_.find("\r\n", lineStart_);
  }

  const std::string& text_;
  size_t nextBreak_ = std::string::npos;
  size_t lineStart_ = 0;
  int line_ = 1;
};

// A place in the editor's text: its line and the 0-based offset into that line followed by its
// CR LF (what the editor's character index counts from the line's start).
struct TTextPlace {
  int Line = 1;
  int64_t Offset = 0;
};

int LineCount(const TCustomCodeEdit& Editor) { return Editor.Lines().Count(); }

int64_t LineSpan(const TCustomCodeEdit& Editor, int Line) {
  return static_cast<int64_t>(Editor.Lines()[Line - 1].size()) + 2;
}

// Count characters further on; offsets beyond a line's break go on into the lines after it.
TTextPlace Advance(const TCustomCodeEdit& Editor, TTextPlace Place, int64_t Count) {
  Place.Offset += Count;
  const int lines = LineCount(Editor);
  while (Place.Line < lines) {
    const int64_t span = LineSpan(Editor, Place.Line);
    if (Place.Offset < span) break;
    Place.Offset -= span;
    ++Place.Line;
  }
  return Place;
}

TBufferCoord CoordOf(const TTextPlace& Place) {
  return {static_cast<int>(Place.Offset) + 1, Place.Line};
}

TBufferCoord SelectionStartCoord(const TCustomCodeEdit& Editor) {
  return Editor.SelAvail() ? Editor.BlockBegin() : Editor.CaretXY();
}

// Whether the selection spans exactly Length characters, counting breaks as the editor does.
bool SelectionSpans(const TCustomCodeEdit& Editor, int64_t Length) {
  if (!Editor.SelAvail()) return Length == 0;
  const TBufferCoord from = Editor.BlockBegin(), to = Editor.BlockEnd();
  const int lastLine = std::min(to.Line, LineCount(Editor));
  int64_t spanned = to.Char - from.Char;
  for (int line = std::min(from.Line, lastLine); line < lastLine && spanned <= Length; ++line)
    spanned += LineSpan(Editor, line);
  return spanned == Length;
}

// Where the editor's caret goes when a search wraps: the start or the end of the text.
TBufferCoord WrapCoord(const TCustomCodeEdit& Editor, bool Forward) {
  const int lines = LineCount(Editor);
  if (Forward || lines == 0) return {1, 1};
  return {static_cast<int>(LineSpan(Editor, lines)) - 1, lines};
}

struct THit {
  TBufferCoord Begin, End;
};

// One status report for the whole move: the window's work per report costs more than the move.
void SelectHit(TCustomCodeEdit& Editor, const THit& Hit) {
  codeeditscopes::TPaintLock lock(Editor);
  Editor.GotoLineAndCenter(Hit.Begin.Line);
  Editor.SetCaretAndSelection(Hit.End, Hit.Begin, Hit.End);
}

// Consecutive lines of the editor joined as in its text, with where each line begins.
class TLineChunk {
public:
  // Lines from First on, until about Bytes are read or the text ends.
  void ReadForward(const TCustomCodeEdit& Editor, int First, size_t Bytes) {
    Clear(First);
    const int lines = LineCount(Editor);
    for (int line = First; line <= lines && text_.size() < Bytes; ++line)
      Append(Editor.Lines()[line - 1], line < lines);
  }
  // Lines up to Last, going back about Bytes.
  void ReadBackward(const TCustomCodeEdit& Editor, int Last, size_t Bytes) {
    // Measured first and then appended in order: no line is copied twice.
    int first = Last + 1;
    for (size_t size = 0; first > 1 && size < Bytes;) {
      --first;
      size += Editor.Lines()[first - 1].size() + 2;
    }
    Clear(first);
    const int lines = LineCount(Editor);
    for (int line = first; line <= Last; ++line) Append(Editor.Lines()[line - 1], line < lines);
  }
  const std::string& Text() const { return text_; }
  int FirstLine() const { return first_; }
  int LastLine() const { return first_ + static_cast<int>(starts_.size()) - 1; }
  size_t StartOf(int Line) const { return starts_[Line - first_]; }
  TTextPlace PlaceOf(size_t Offset) const {
    const auto next = std::upper_bound(starts_.begin(), starts_.end(), Offset);
    const int index = static_cast<int>(next - starts_.begin()) - 1;
    return {first_ + index, static_cast<int64_t>(Offset - starts_[index])};
  }

private:
  void Clear(int First) {
    first_ = First;
    text_.clear();
    starts_.clear();
  }
  void Append(const std::string& Line, bool Break) {
    starts_.push_back(text_.size());
    text_ += Line;
    if (Break) text_ += "\r\n";
  }

  std::string text_;
  std::vector<size_t> starts_;
  int first_ = 1;
};

// Plain searches for a text without line breaks read the lines from the start place on, a
// chunk at a time, since no hit can span two lines.
class TLineSearch {
public:
  TLineSearch(const TCustomCodeEdit& Editor, const std::string& Pattern, bool CaseSensitive)
      : editor_(Editor), pattern_(Pattern), caseSensitive_(CaseSensitive) {}

  static bool Suits(const std::string& Pattern) {
    return !Pattern.empty() && Pattern.find_first_of("\r\n") == std::string::npos;
  }

  // The first hit beginning at or after From.
  std::optional<THit> Forward(TTextPlace From) {
    const int lines = LineCount(editor_);
    size_t bytes = FirstChunkBytes;
    for (int first = From.Line; first <= lines; first = chunk_.LastLine() + 1, bytes = Grow(bytes)) {
      chunk_.ReadForward(editor_, first, bytes);
      const int64_t skip = first == From.Line ? From.Offset : 0;
      if (skip >= static_cast<int64_t>(chunk_.Text().size())) continue;
      const int pos = FastFind(pattern_, chunk_.Text(), caseSensitive_, true,
                               static_cast<int>(skip) + 1);
      if (pos > 0) return HitAt(static_cast<size_t>(pos - 1));
    }
    return std::nullopt;
  }

  // The last hit beginning before Before; without Before, the last one of the text.
  std::optional<THit> Backward(std::optional<TTextPlace> Before) {
    const int lines = LineCount(editor_);
    size_t bytes = FirstChunkBytes;
    for (int last = Before ? std::min(Before->Line, lines) : lines; last >= 1;
         last = chunk_.FirstLine() - 1, bytes = Grow(bytes)) {
      chunk_.ReadBackward(editor_, last, bytes);
      const int64_t size = static_cast<int64_t>(chunk_.Text().size());
      int64_t limit = size;  // a hit may begin anywhere in the chunk
      if (Before && last == Before->Line)
        limit = std::min(size, static_cast<int64_t>(chunk_.StartOf(last)) + Before->Offset);
      if (limit <= 0) continue;
      // The 1-based start Limit allows hits beginning at offsets below Limit.
      const int pos = FastFind(pattern_, chunk_.Text(), caseSensitive_, false,
                               static_cast<int>(limit));
      if (pos > 0) return HitAt(static_cast<size_t>(pos - 1));
    }
    return std::nullopt;
  }

private:
  // A hit is often near: the first chunk is small, later ones grow.
  static constexpr size_t FirstChunkBytes = size_t(4) << 10;
  static constexpr size_t LastChunkBytes = size_t(1) << 20;
  static size_t Grow(size_t Bytes) { return std::min(Bytes * 2, LastChunkBytes); }

  THit HitAt(size_t Offset) const {
    const TTextPlace place = chunk_.PlaceOf(Offset);
    const TBufferCoord begin = CoordOf(place);
    return {begin, {begin.Char + static_cast<int>(pattern_.size()), begin.Line}};
  }

  const TCustomCodeEdit& editor_;
  const std::string& pattern_;
  bool caseSensitive_;
  TLineChunk chunk_;
};

// One kind of search in one direction.
struct TSearchKind {
  bool Forward;
  bool Expression;
};

// The outcome of one search from the selection: the hit, or whether the text holds one on the
// other side of the start.
struct TSearchStep {
  std::optional<THit> Hit;
  bool Elsewhere = false;
};

TSearchStep StepByLines(const TCustomCodeEdit& Editor, const TSearchKind& Kind) {
  const TLocalSearchReplace& S = LocalSearchReplace;
  TLineSearch search(Editor, S.SearchText, S.CaseSensitive);
  const TBufferCoord selStart = SelectionStartCoord(Editor);
  const TTextPlace from = Advance(Editor, {selStart.Line, selStart.Char - 1}, 0);
  TSearchStep step;
  if (Kind.Forward) {
    // A selected hit is skipped.
    const bool hitSelected = SelectionSpans(Editor, static_cast<int64_t>(S.SearchText.size()));
    step.Hit = search.Forward(Advance(Editor, from, hitSelected ? 1 : 0));
  } else {
    // From the very start the search begins at the end.
    const bool atStart = from.Line == 1 && from.Offset == 0;
    step.Hit = search.Backward(atStart ? std::nullopt : std::optional<TTextPlace>(from));
  }
  if (!step.Hit) step.Elsewhere = search.Forward({1, 0}).has_value();
  return step;
}

// The editor's text, copied once while it stays unchanged: stepping by expression through a
// large document would otherwise copy all of it per hit. A list never changed (stamp 0) may
// share its address with one freed before, so it is copied each time.
const std::string& UnchangedText(const TCustomCodeEdit& Editor) {
  static const TCodeEditStringList* lines = nullptr;
  static uint64_t stamp = 0;
  static std::string text;
  const TCodeEditStringList& current = Editor.Lines();
  if (lines != &current || stamp != current.ChangeStamp() || stamp == 0) {
    text = Editor.Text();
    lines = &current;
    stamp = current.ChangeStamp();
  }
  return text;
}

// Expressions (and plain texts with line breaks) run over the whole text.
TSearchStep StepInText(const TCustomCodeEdit& Editor, const TSearchKind& Kind, bool FirstPass) {
  const TLocalSearchReplace& S = LocalSearchReplace;
  const std::string& text = UnchangedText(Editor);
  // The editor's index of a line beyond the last counts from the last line's start.
  const int selStart = Editor.RowColToCharIndex(SelectionStartCoord(Editor));
  int start = selStart + 1;
  if (Kind.Expression) {
    if (Kind.Forward && Editor.SelAvail()) ++start;
  } else if (!Kind.Forward) {
    start = selStart;
  } else if (SelectionSpans(Editor, static_cast<int64_t>(S.SearchText.size()))) {
    ++start;
  }
  auto find = [&](int From, bool Forward, int& Len) {
    if (Kind.Expression)
      return RegExprFind(text, SearchPattern(S), S.CaseSensitive, Len, From, !Forward);
    Len = static_cast<int>(S.SearchText.size());
    return FindText(text, S.SearchText, S.CaseSensitive, From, !Forward);
  };
  TSearchStep step;
  int len = 0;
  int pos = find(start, Kind.Forward, len);
  // An empty match at the caret is where the last step stopped: the next one lies beyond it.
  if (FirstPass && Kind.Expression && Kind.Forward && pos == selStart + 1 && len == 0 &&
      !Editor.SelAvail())
    pos = find(start + 1, true, len);
  if (pos > 0) {
    step.Hit = THit{Editor.CharIndexToRowCol(pos - 1), Editor.CharIndexToRowCol(pos - 1 + len)};
    return step;
  }
  int otherLen = 0;
  step.Elsewhere = Kind.Expression ? find(start, !Kind.Forward, otherLen) > 0
                                   : find(1, true, otherLen) > 0;
  return step;
}

// Searches once and, after an agreed wrap, once more from the other end. The second pass
// never wraps again, so a hit the direction cannot reach (an empty match at the very end)
// cannot make the search ask forever.
void SearchWithWrap(TCustomCodeEdit& Editor, const TSearchKind& Kind) {
  const bool byLines = !Kind.Expression && TLineSearch::Suits(LocalSearchReplace.SearchText);
  for (int pass = 0; pass < 2; ++pass) {
    const TSearchStep step =
        byLines ? StepByLines(Editor, Kind) : StepInText(Editor, Kind, pass == 0);
    if (step.Hit) {
      LocalSearchReplace.Found = true;
      SelectHit(Editor, *step.Hit);
      return;
    }
    if (!step.Elsewhere) {
      LocalSearchReplace.Found = false;
      return;
    }
    if (pass > 0 || !ConfirmWrap(Kind.Forward)) return;
    Editor.SetCaretXY(WrapCoord(Editor, Kind.Forward));
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
    ReportSearchError(E);
  }
}

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

std::string RegexErrorText(const ERegex& E) {
  if (!E.IsRunaway()) return E.what();
  return GetLangText("Main|MsgRegExprRunaway",
                     "Der regul\xE4re Ausdruck ist f\xFCr diesen Text zu aufwendig; die Suche "
                     "wurde abgebrochen.%w%(%s1%)",
                     LangParams({E.what()}));
}

void ReportRegexError(const ERegex& E) {
  MsgBox(RegexErrorText(E), Application().Title(), MB_OK | MB_ICONERROR);
}

void ReportSearchError(const ERegex& E) {
  LocalSearchReplace.ErrorShown = true;
  ReportRegexError(E);
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
  TRegex regex(SearchModifiers(CaseSensitive));
  regex.SetExpression(Pattern);
  // Matches follow one another from the start of the text, so a hit never begins inside an
  // earlier match.
  int found = 0;
  for (bool more = regex.ExecView(Text); more; more = regex.ExecNext()) {
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

void CheckSearchExpression(const TLocalSearchReplace& Search) {
  if (!IsExpressionMode(Search) || Search.SearchText.empty()) return;
  TRegex regex(SearchModifiers(Search.CaseSensitive));
  regex.SetExpression(SearchPattern(Search));
  regex.Compile();
}

void SearchNextInEditor(TCustomCodeEdit& Editor) { RunSearch(Editor, {true, false}); }
void SearchPrevInEditor(TCustomCodeEdit& Editor) { RunSearch(Editor, {false, false}); }
void SearchNextRegExprInEditor(TCustomCodeEdit& Editor) { RunSearch(Editor, {true, true}); }
void SearchPrevRegExprInEditor(TCustomCodeEdit& Editor) { RunSearch(Editor, {false, true}); }

void ListSearchHits(const std::string& Text,
                    const std::function<bool(const TSearchHit&)>& OnHit) {
  const TLocalSearchReplace& S = LocalSearchReplace;
  const bool showHits = Settings.General.SearchShowHits;
  TTextLocator counter(Text);
  TSearchHit hit;
  if (!IsExpressionMode(S)) {
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
  TRegex regex(SearchModifiers(S.CaseSensitive));
  regex.SetExpression(SearchPattern(S));
  for (bool more = regex.ExecView(Text); more; more = regex.ExecNext()) {
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
