#include "highlighters/CodeHighlighterMulti.h"
#include <algorithm>
#include <cctype>
#include <cstring>
#include <utility>
#include "editor/CodeEditMiscProcs.h"
#include "editor/CodeEditStrConst.h"
#include "foundation/Regex.h"
#include "foundation/RegexLocale.h"
#include "highlighters/CodeHighlighterHashEntries.h"
#include "rtl/Registry.h"
#include "rtl/SysUtils.h"

namespace {

constexpr int kRegexCaseInsensitive = 1;  // modifier i

// The composite walk of the attribute enumeration: the default highlighter, then each
// scheme's.
bool MultiContainedHighlighters(TCodeCustomHighlighter& Highlighter,
                                std::vector<TCodeCustomHighlighter*>& Contained) {
  auto* multi = dynamic_cast<TCodeMultiHighlighter*>(&Highlighter);
  if (!multi) return false;
  if (multi->DefaultHighlighter()) Contained.push_back(multi->DefaultHighlighter());
  for (int i = 0; i < multi->Schemes().Count(); ++i)
    if (TCodeCustomHighlighter* h = multi->Schemes().Items(i)->Highlighter())
      Contained.push_back(h);
  return true;
}

[[maybe_unused]] const bool kContainedRegistered =
    (RegisterContainedHighlighters(&MultiContainedHighlighters), true);

std::unique_ptr<TRegex> MakeRegex(const std::string& Expr, bool CaseSensitive) {
  auto regex = std::make_unique<TRegex>(CodeRegexDefaultModifiers);
  regex->SetModifier(kRegexCaseInsensitive, !CaseSensitive);
  regex->SetExpression(Expr);
  return regex;
}

// Whether Expr holds "|" outside groups and classes: then no part of it begins every match.
bool HasTopLevelAlternative(const std::string& Expr) {
  int depth = 0;
  for (size_t i = 0; i < Expr.size(); ++i) {
    if (Expr[i] == '\\') {
      ++i;
    } else if (Expr[i] == '[') {
      ++i;
      if (i < Expr.size() && Expr[i] == '^') ++i;
      if (i < Expr.size() && Expr[i] == ']') ++i;  // a "]" first belongs to the class
      while (i < Expr.size() && Expr[i] != ']') i += Expr[i] == '\\' ? 2 : 1;
    } else if (Expr[i] == '(') {
      ++depth;
    } else if (Expr[i] == ')') {
      --depth;
    } else if (Expr[i] == '|' && depth == 0) {
      return true;
    }
  }
  return false;
}

// The literal text every match of Expr begins with: its leading plain and escaped characters
// up to the first class, group, anchor or repetition (a character made optional by its
// repetition is left out; one repeated at least once stays and ends the text).
TMarkerPrefix MarkerPrefix(const std::string& Expr, bool CaseSensitive) {
  TMarkerPrefix prefix;
  if (HasTopLevelAlternative(Expr)) return prefix;
  size_t i = 0;
  while (i < Expr.size()) {
    unsigned char c = static_cast<unsigned char>(Expr[i]);
    size_t atom = 1;
    if (c == '\\') {
      if (i + 1 >= Expr.size() || std::isalnum(static_cast<unsigned char>(Expr[i + 1]))) break;
      c = static_cast<unsigned char>(Expr[i + 1]);
      atom = 2;
    } else if (std::strchr("^$.[()|?+*{", c)) {
      break;
    }
    const char after = i + atom < Expr.size() ? Expr[i + atom] : '\0';
    if (after && std::strchr("?*{", after)) break;
    prefix.Text += static_cast<char>(c);
    if (after == '+') break;
    i += atom;
  }
  prefix.Whole = i == Expr.size() && i > 0;
  prefix.Other = prefix.Text;
  if (!CaseSensitive)
    for (char& c : prefix.Other)
      c = static_cast<char>(RegexInvertCase(static_cast<unsigned char>(c)));
  return prefix;
}

// The marker expression compiled now, with the case mapping its prefix is made with.
std::unique_ptr<TRegex> MakeMarkerRegex(const std::string& Expr, bool CaseSensitive,
                                        TMarkerPrefix& Prefix) {
  std::unique_ptr<TRegex> regex = MakeRegex(Expr, CaseSensitive);
  if (!Expr.empty()) regex->Compile();
  Prefix = MarkerPrefix(Expr, CaseSensitive);
  return regex;
}

// The engine's message for Code without its "TRegex(comp): " prefix.
std::string EngineMessage(const TRegex& Regex, int Code) {
  static const std::string prefix = "TRegex(comp): ";
  std::string message = Regex.ErrorMsg(Code);
  return message.compare(0, prefix.size(), prefix) == 0 ? message.substr(prefix.size())
                                                         : message;
}

bool IsMulti(const TCodeCustomHighlighter* H) {
  return dynamic_cast<const TCodeMultiHighlighter*>(H) != nullptr;
}

}  // namespace

TMemberHighlighter::TMemberHighlighter(TCodeCustomHighlighter* Highlighter)
    : Any(Highlighter), Hash(dynamic_cast<TCodeHashHighlighter*>(Highlighter)) {}

// --- TScheme -----------------------------------------------------------------------------

TScheme::TScheme(TSchemes& Collection)
    : collection_(Collection),
      markerAttri_(std::make_unique<TCodeHighlighterAttributes>(CES_AttrMarker)) {
  markerAttri_->SetBackground(clYellow);
  markerAttri_->SetStyle({TFontStyle::fsBold});
  markerAttri_->InternalSaveDefaultValues();
  markerAttri_->OnChange = [this](TObject* Sender) { MarkerAttriChanged(Sender); };
}

TScheme::~TScheme() {
  if (highlighter_.Any && collection_.Owner()) collection_.Owner()->ReleaseMember(highlighter_.Any);
}

void TScheme::Assign(const TScheme& Source) {
  if (&Source == this) return;
  SetCaseSensitive(Source.caseSensitive_);
  SetStartExpr(Source.startExpr_);
  SetEndExpr(Source.endExpr_);
  SetHighlighter(Source.highlighter_.Any);
  markerAttri_->AssignColorAndStyle(*Source.markerAttri_);
  SetSchemeName(Source.schemeName_);
}

int TScheme::Index() const { return collection_.IndexOf(this); }

std::string TScheme::DisplayName() const { return schemeName_.empty() ? "TScheme" : schemeName_; }

void TScheme::SetCaseSensitive(bool Value) {
  if (caseSensitive_ == Value) return;
  caseSensitive_ = Value;
  startRegex_.reset();
  endRegex_.reset();
  Changed();
}

std::string TScheme::CheckedExpr(const std::string& Value) const {
  if (Value.empty()) return Value;
  std::unique_ptr<TRegex> regex = MakeRegex(Value, caseSensitive_);
  try {
    regex->Compile();
  } catch (const ERegex& e) {
    if (e.ErrorCode() >= 1000) throw;
    throw ERegex("\"" + Value + "\" is not a valid Regular Expression.\rError (pos " +
                     std::to_string(e.CompilerErrorPos()) +
                     "): " + EngineMessage(*regex, e.ErrorCode()),
                 e.ErrorCode(), e.CompilerErrorPos());
  }
  return Value;
}

bool TScheme::SameExpr(const std::string& A, const std::string& B) const {
  return caseSensitive_ ? A == B : AnsiUpperCase(A) == AnsiUpperCase(B);
}

void TScheme::SetStartExpr(const std::string& Value) {
  std::string old = startExpr_;
  startExpr_ = CheckedExpr(Value);
  startRegex_.reset();
  if (!SameExpr(old, startExpr_)) Changed();
}

void TScheme::SetEndExpr(const std::string& Value) {
  std::string old = endExpr_;
  endExpr_ = CheckedExpr(Value);
  endRegex_.reset();
  if (!SameExpr(old, endExpr_)) Changed();
}

void TScheme::SetHighlighter(TCodeCustomHighlighter* Value) {
  TCodeMultiHighlighter* owner = collection_.Owner();
  if (Value && Value == owner)
    throw Exception("A CodeMultiHighlighter cannot be a highlighter of its own schemes.");
  if (Value == highlighter_.Any) return;
  TCodeCustomHighlighter* old = highlighter_.Any;
  highlighter_ = TMemberHighlighter(Value);
  if (owner) {
    if (old) owner->ReleaseMember(old);
    if (Value) owner->HookMember(Value);
    bool procChanged = owner->ChooseRangeProc();
    if (procChanged && IsMulti(Value)) return;  // the owner has notified already
  }
  Changed();
}

void TScheme::SetMarkerAttri(const TCodeHighlighterAttributes& Value) {
  markerAttri_->AssignColorAndStyle(Value);
}

void TScheme::SetSchemeName(const std::string& Value) {
  if (schemeName_ == Value) return;
  schemeName_ = Value;
  Changed();
}

bool TScheme::Usable() const {
  return !startExpr_.empty() && !endExpr_.empty() && highlighter_.Any &&
         highlighter_.Any->Enabled();
}

TRegex& TScheme::StartRegex() {
  if (!startRegex_) startRegex_ = MakeMarkerRegex(startExpr_, caseSensitive_, startPrefix_);
  return *startRegex_;
}

TRegex& TScheme::EndRegex() {
  if (!endRegex_) endRegex_ = MakeMarkerRegex(endExpr_, caseSensitive_, endPrefix_);
  return *endRegex_;
}

const TMarkerPrefix& TScheme::StartPrefix() {
  StartRegex();
  return startPrefix_;
}

const TMarkerPrefix& TScheme::EndPrefix() {
  EndRegex();
  return endPrefix_;
}

void TScheme::Changed() { collection_.Update(); }

void TScheme::MarkerAttriChanged(TObject* /*Sender*/) { Changed(); }

// --- TSchemes ----------------------------------------------------------------------------

TSchemes::TSchemes(TCodeMultiHighlighter* Owner) : owner_(Owner) {}

TSchemes::~TSchemes() {
  owner_ = nullptr;  // the owner is going: nothing to notify
  items_.clear();
}

TScheme* TSchemes::Add() {
  items_.push_back(std::make_unique<TScheme>(*this));
  Update();
  return items_.back().get();
}

void TSchemes::Delete(int Index) {
  if (Index < 0 || Index >= Count()) return;
  std::unique_ptr<TScheme> doomed = std::move(items_[Index]);
  items_.erase(items_.begin() + Index);
  doomed.reset();
  if (owner_) owner_->ChooseRangeProc();
  Update();
}

void TSchemes::Clear() {
  if (items_.empty()) return;
  while (!items_.empty()) {
    std::unique_ptr<TScheme> doomed = std::move(items_.back());
    items_.pop_back();
  }
  if (owner_) owner_->ChooseRangeProc();
  Update();
}

void TSchemes::Assign(const TSchemes& Source) {
  if (&Source == this) return;
  Clear();
  for (const auto& item : Source.items_) Add()->Assign(*item);
}

int TSchemes::IndexOf(const TScheme* Scheme) const {
  for (int i = 0; i < Count(); ++i)
    if (items_[i].get() == Scheme) return i;
  return -1;
}

void TSchemes::Update() {
  if (owner_) owner_->SchemesChanged();
}

// --- TCodeMultiHighlighter ----------------------------------------------------------------

const TCodeHighlighterClass& TCodeMultiHighlighter::StaticClass() {
  static const TCodeHighlighterClass info{"TCodeMultiHighlighter",
                                          &TCodeCustomHighlighter::StaticClass(),
                                          &TCodeMultiHighlighter::GetLanguageName,
                                          &TCodeMultiHighlighter::GetCapabilities};
  return info;
}

std::string TCodeMultiHighlighter::GetLanguageName() { return CES_LangGeneralMulti; }

TCodeMultiHighlighter::TCodeMultiHighlighter(TComponent* Owner)
    : TCodeCustomHighlighter(Owner), schemes_(std::make_unique<TSchemes>(this)) {}

TCodeMultiHighlighter::~TCodeMultiHighlighter() {
  // Letting the members go must not ask the editor to rescan with a highlighter that is going.
  BeginUpdate();
  fMarkers.clear();
  fMarker = nullptr;
  schemes_->Clear();
  schemes_.reset();
  if (default_.Any) ReleaseMember(default_.Any);
  default_ = TMemberHighlighter();
}

void TCodeMultiHighlighter::HookMember(TCodeCustomHighlighter* Member) {
  FreeNotification(Member);
  Member->AddAttributeChangeHook(
      TCodeNotifyMethod(this, &TCodeMultiHighlighter::MemberAttributesChanged));
}

void TCodeMultiHighlighter::ReleaseMember(TCodeCustomHighlighter* Member) {
  Member->RemoveAttributeChangeHook(
      TCodeNotifyMethod(this, &TCodeMultiHighlighter::MemberAttributesChanged));
  // Another reference to the same highlighter still wants to hear of its end.
  bool stillUsed = Member == default_.Any;
  for (int i = 0; schemes_ && i < schemes_->Count(); ++i)
    stillUsed = stillUsed || schemes_->Items(i)->Highlighter() == Member;
  if (!stillUsed) RemoveFreeNotification(Member);
}

void TCodeMultiHighlighter::MemberAttributesChanged(TObject* Sender) {
  NotifyAttributesChanged(Sender);
}

void TCodeMultiHighlighter::SetDefaultHighlighter(TCodeCustomHighlighter* Value) {
  if (Value == default_.Any) return;
  if (Value == this)
    throw Exception("A CodeMultiHighlighter cannot be its own DefaultHighlighter.");
  TCodeCustomHighlighter* old = default_.Any;
  default_ = TMemberHighlighter(Value);
  if (old) ReleaseMember(old);
  if (Value) HookMember(Value);
  NotifyAttributesChanged(nullptr);
}

void TCodeMultiHighlighter::SetOnCustomRange(const TCustomRangeEvent& Value) {
  onCustomRange_ = Value;
  ChooseRangeProc();
}

void TCodeMultiHighlighter::Notification(TComponent* AComponent) {
  TCodeCustomHighlighter::Notification(AComponent);
  // The highlighter is half destroyed: forget it without unhooking.
  if (default_.Any == AComponent) default_ = TMemberHighlighter();
  if (fPieceMember.Any == AComponent) {
    fPieceStarted = false;
    fPieceMember = TMemberHighlighter();
  }
  bool schemeLost = false;
  for (int i = 0; i < schemes_->Count(); ++i)
    if (schemes_->Items(i)->Highlighter() == AComponent) {
      schemes_->Items(i)->ForgetHighlighter();
      schemeLost = true;
    }
  if (schemeLost) ChooseRangeProc();
}

bool TCodeMultiHighlighter::ChooseRangeProc() {
  TRangeProc proc = TRangeProc::rpStandard;
  if (onCustomRange_) {
    proc = TRangeProc::rpCustom;
  } else {
    for (int i = 0; i < schemes_->Count(); ++i)
      if (IsMulti(schemes_->Items(i)->Highlighter())) proc = TRangeProc::rpNested;
  }
  if (proc == fRangeProc) return false;
  fRangeProc = proc;
  NotifyAttributesChanged(nullptr);
  return true;
}

// --- attributes ----------------------------------------------------------------------------

int TCodeMultiHighlighter::GetAttributeCount() const {
  int count = schemes_->Count();
  if (default_.Any) count += default_.Any->GetAttributeCount();
  for (int i = 0; i < schemes_->Count(); ++i)
    if (TCodeCustomHighlighter* h = schemes_->Items(i)->Highlighter())
      count += h->GetAttributeCount();
  return count;
}

TCodeHighlighterAttributes* TCodeMultiHighlighter::GetAttribute(int Index) const {
  if (Index < 0) return nullptr;
  if (Index < schemes_->Count()) return schemes_->Items(Index)->MarkerAttri();
  Index -= schemes_->Count();
  if (default_.Any) {
    if (Index < default_.Any->GetAttributeCount())
      return default_.Any->GetAttribute(Index);
    Index -= default_.Any->GetAttributeCount();
  }
  for (int i = 0; i < schemes_->Count(); ++i)
    if (TCodeCustomHighlighter* h = schemes_->Items(i)->Highlighter()) {
      if (Index < h->GetAttributeCount()) return h->GetAttribute(Index);
      Index -= h->GetAttributeCount();
    }
  return nullptr;
}

TScheme* TCodeMultiHighlighter::ActiveScheme() const {
  return fCurrScheme >= 0 && fCurrScheme < schemes_->Count() ? schemes_->Items(fCurrScheme)
                                                              : nullptr;
}

TCodeCustomHighlighter* TCodeMultiHighlighter::Member() const {
  TScheme* scheme = ActiveScheme();
  if (scheme && scheme->Highlighter()) return scheme->Highlighter();
  return default_.Any;
}

TCodeHighlighterAttributes* TCodeMultiHighlighter::GetDefaultAttribute(int Index) const {
  TCodeCustomHighlighter* member = Member();
  return member ? member->GetDefaultAttribute(Index) : nullptr;
}

TCodeCharSet TCodeMultiHighlighter::GetIdentifierChars() const {
  TCodeCustomHighlighter* member = Member();
  return member ? member->GetIdentifierChars() : TCodeCustomHighlighter::GetIdentifierChars();
}

// --- scanning ------------------------------------------------------------------------------

void TCodeMultiHighlighter::ValidateCurrentScheme() {
  TScheme* scheme = ActiveScheme();
  if (!scheme || !scheme->Usable()) fCurrScheme = -1;
}

void TCodeMultiHighlighter::AddMarker(TScheme& Scheme, int Index, int Pos, int Len,
                                      std::string Text, bool Open) {
  const TOnCheckMarker& check = Open ? Scheme.OnCheckStartMarker : Scheme.OnCheckEndMarker;
  if (check) check(&Scheme, Pos, Len, Text, fLineNumber);
  if (!Text.empty() && Len >= 1) fMarkers.push_back({Index, Pos, Len, std::move(Text), Open});
}

void TCodeMultiHighlighter::KnowMarkerStarts() {
  if (fMarkerStartsKnown) return;
  fMarkerStarts.fill(false);
  fStartBytes.clear();
  fEveryMarkerHasStart = true;
  auto add = [this](const TMarkerPrefix& Prefix) {
    if (Prefix.Text.empty()) {  // found without a scan: see FindPrefix
      fEveryMarkerHasStart = false;
      return;
    }
    for (char c : {Prefix.Text[0], Prefix.Other[0]}) {
      if (!fMarkerStarts[static_cast<unsigned char>(c)]) fStartBytes += c;
      fMarkerStarts[static_cast<unsigned char>(c)] = true;
    }
  };
  for (int i = 0; i < schemes_->Count(); ++i) {
    TScheme& scheme = *schemes_->Items(i);
    if (!scheme.StartExpr().empty()) add(scheme.StartPrefix());
    if (!scheme.EndExpr().empty()) add(scheme.EndPrefix());
  }
  fMarkerStartsKnown = true;
}

void TCodeMultiHighlighter::FindCandidates() {
  KnowMarkerStarts();
  fCandidates.clear();
  const auto* text = reinterpret_cast<const unsigned char*>(fLine.data());
  const int length = static_cast<int>(fLine.size());
  int i = 0;
  // Markers are rare: with few characters to look for, four bytes without any are passed at
  // once.
  if (fStartBytes.size() <= 4) {
    uint32_t patterns[4];
    const int count = static_cast<int>(fStartBytes.size());
    for (int k = 0; k < count; ++k)
      patterns[k] = ByteInEveryLane(static_cast<unsigned char>(fStartBytes[k]));
    for (; i + 4 <= length; i += 4) {
      uint32_t word;
      std::memcpy(&word, text + i, 4);
      bool holds = false;
      for (int k = 0; k < count; ++k) holds |= WordHoldsByte(word, patterns[k]);
      if (!holds) continue;
      for (int j = i; j < i + 4; ++j)
        if (fMarkerStarts[text[j]]) fCandidates.push_back(j);
    }
  }
  for (; i < length; ++i)
    if (fMarkerStarts[text[i]]) fCandidates.push_back(i);
}

int TCodeMultiHighlighter::FindPrefix(const TMarkerPrefix& Prefix, int From) const {
  const int length = static_cast<int>(fLine.size());
  const int size = static_cast<int>(Prefix.Text.size());
  if (size == 0) return std::min(From, length);
  // As the engine compares a literal: the subject's character is the pattern's or, without
  // regard to case, the pattern's with its case inverted.
  auto candidate = std::lower_bound(fCandidates.begin(), fCandidates.end(), From);
  for (; candidate != fCandidates.end() && *candidate + size <= length; ++candidate) {
    const char* at = fLine.data() + *candidate;
    int j = 0;
    while (j < size && (at[j] == Prefix.Text[j] || at[j] == Prefix.Other[j])) ++j;
    if (j == size) return *candidate;
  }
  return length;
}

bool TCodeMultiHighlighter::NextMatch(TRegex& Regex, const TMarkerPrefix& Prefix,
                                      TLineSearch& Search, int From, int& Pos,
                                      int& Len) const {
  const bool answered =
      Search.From >= 1 && Search.From <= From && (Search.Pos == 0 || Search.Pos >= From);
  if (!answered) {
    Search.From = From;
    Search.Pos = 0;
    Search.Len = 0;
    const int start = FindPrefix(Prefix, From - 1);
    if (start < static_cast<int>(fLine.size()) && Prefix.Whole) {
      Search.Pos = start + 1;
      Search.Len = static_cast<int>(Prefix.Text.size());
    } else if (start < static_cast<int>(fLine.size())) {
      if (!Search.HasInput) {
        Regex.SetInputView(fLine);
        Search.HasInput = true;
      }
      try {
        if (Regex.ExecPos(start + 1)) {
          Search.Pos = Regex.GetMatchPos(0);
          Search.Len = Regex.GetMatchLen(0);
        }
      } catch (const ERegex&) {
        // A search that runs out of steps or memory finds no marker: the line goes on in
        // the highlighter it has.
      }
    }
  }
  Pos = Search.Pos;
  Len = Search.Len;
  return Pos > 0;
}

void TCodeMultiHighlighter::FindMarkers() {
  FindCandidates();
  if (fCandidates.empty() && fEveryMarkerHasStart) return;
  const int lineLen = static_cast<int>(fLine.size());
  const int count = schemes_->Count();
  fSearches.assign(2 * static_cast<size_t>(count), TLineSearch());
  TLineSearch* starts = fSearches.data();
  TLineSearch* ends = starts + count;
  int offset = 0;  // characters of the line consumed by markers and the text before them
  int current = fCurrScheme;
  while (offset < lineLen) {
    int found = -1, pos = 0, len = 0;
    if (current >= 0) {
      TScheme* scheme = schemes_->Items(current);
      if (NextMatch(scheme->EndRegex(), scheme->EndPrefix(), ends[current], offset + 1, pos,
                    len))
        found = current;
    } else {
      // The first scheme in order that matches anywhere wins, not the first match.
      for (int i = 0; i < count && found < 0; ++i) {
        TScheme* scheme = schemes_->Items(i);
        if (scheme->Usable() &&
            NextMatch(scheme->StartRegex(), scheme->StartPrefix(), starts[i], offset + 1, pos,
                      len))
          found = i;
      }
    }
    // An empty match would be found again and again, and could not be shown.
    if (found < 0 || len < 1) break;
    const bool open = current < 0;
    AddMarker(*schemes_->Items(found), found, pos, len, fLine.substr(pos - 1, len), open);
    offset = pos - 1 + len;
    current = open ? found : -1;
  }
  // The expressions keep no view of a line that is about to change.
  for (int i = 0; i < count; ++i) {
    if (starts[i].HasInput) schemes_->Items(i)->StartRegex().SetInputView(std::string_view());
    if (ends[i].HasInput) schemes_->Items(i)->EndRegex().SetInputView(std::string_view());
  }
}

void TCodeMultiHighlighter::SetLine(const std::string& NewValue, int LineNumber) {
  fMarkers.clear();
  fLine = NewValue;
  fLineNumber = LineNumber;
  // A line scanned right after another starts from what the packed state keeps, as it does
  // when restarted from the stored state: a member state too wide for it cannot differ.
  if (fRangeProc == TRangeProc::rpStandard) StandardSet(StandardGet());
  ValidateCurrentScheme();
  FindMarkers();
  fMarker = nullptr;
  fPieceStarted = false;
  fRun = 1;
  fTokenPos = 0;
  fNextMarker = 0;
  NextToken();
}

void TCodeMultiHighlighter::NextToken() {
  const int lineLen = static_cast<int>(fLine.size());
  if (!default_.Any) {
    // The whole line is one token; an empty line has none.
    fTokenPos = 0;
    fRun = fRun == 1 && lineLen > 0 ? lineLen + 2 : std::max(fRun, lineLen + 2) + 1;
    return;
  }
  if (fNextMarker < static_cast<int>(fMarkers.size()) &&
      fMarkers[fNextMarker].fStartPos <= fRun) {
    fMarker = &fMarkers[fNextMarker];
    if (fMarker->fIsOpenSymbol) {
      fCurrScheme = fMarker->fScheme;
      fSavedDefaultRange = default_.Any->GetRange();
      if (TCodeCustomHighlighter* h = schemes_->Items(fCurrScheme)->Highlighter())
        h->ResetRange();
    }
    ++fNextMarker;
    fTokenPos = fRun - 1;
    fRun += fMarker->fMarkerLen;
    return;
  }
  const int pieceEnd = fNextMarker < static_cast<int>(fMarkers.size())
                           ? fMarkers[fNextMarker].fStartPos
                           : lineLen + 1;  // 1-based, exclusive
  if (fMarker) {
    if (!fMarker->fIsOpenSymbol) {
      fCurrScheme = -1;
      default_.Any->SetRange(fSavedDefaultRange);
    }
    fMarker = nullptr;
    StartPiece(std::min(fRun, lineLen + 1), pieceEnd);
  } else if (!fPieceStarted) {
    // Not told by the run position: a member's first token may be empty (the HTML
    // highlighter's before an entity), and a second SetLine would lose what it found.
    StartPiece(1, pieceEnd);
  } else {
    if (fPieceMember.Hash)
      fPieceMember.Hash->NextToken();
    else
      fPieceMember.Any->NextToken();
  }
  FollowMemberToken();
}

void TCodeMultiHighlighter::FollowMemberToken() {
  if (fPieceMember.Hash) {
    fTokenPos = fPieceMember.Hash->GetTokenPos() + fPieceOffset;
    fRun = fTokenPos + fPieceMember.Hash->GetTokenLength() + 1;
  } else {
    fTokenPos = fPieceMember.Any->GetTokenPos() + fPieceOffset;
    fRun = fTokenPos + static_cast<int>(fPieceMember.Any->GetToken().size()) + 1;
  }
}

void TCodeMultiHighlighter::SkipToLineEnd() {
  while (!AtLineEnd()) {
    if (fPieceStarted && !fMarker && default_.Any) SkipPiece();
    if (!AtLineEnd()) NextToken();
  }
}

void TCodeMultiHighlighter::SkipPiece() {
  if (fNextMarker >= static_cast<int>(fMarkers.size())) {
    fPieceMember.Any->SkipToLineEnd();
  } else {
    // NextToken takes the marker once a token reaches it; the member's scan of its line end
    // must not happen here, as it does not there.
    const int end = fMarkers[fNextMarker].fStartPos - 1 - fPieceOffset;
    if (fPieceMember.Hash) {
      fPieceMember.Hash->SkipTokensBefore(end);
    } else {
      TCodeCustomHighlighter& member = *fPieceMember.Any;
      while (!member.AtLineEnd() &&
             member.GetTokenPos() + static_cast<int>(member.GetToken().size()) < end)
        member.NextToken();
    }
  }
  FollowMemberToken();
}

void TCodeMultiHighlighter::StartPiece(int From, int End) {
  TScheme* scheme = ActiveScheme();
  const bool inScheme = scheme && scheme->Highlighter();
  fPieceMember = inScheme ? scheme->Member() : default_;
  fPieceStarted = true;
  fPieceOffset = From - 1;
  if (From == 1 && End > static_cast<int>(fLine.size())) {
    fPieceMember.Any->SetLine(fLine, fLineNumber);
  } else {
    fPiece.assign(fLine, From - 1, std::max(0, End - From));  // keeps its memory
    fPieceMember.Any->SetLine(fPiece, fLineNumber);
  }
}

TCodeCustomHighlighter* TCodeMultiHighlighter::TokenMember() const {
  return fPieceStarted && fPieceMember.Any ? fPieceMember.Any : Member();
}

bool TCodeMultiHighlighter::AtLineEnd() const {
  if (fMarker) return false;
  if (!default_.Any) return fRun > static_cast<int>(fLine.size()) + 2;
  if (fPieceStarted && fPieceMember.Hash) return fPieceMember.Hash->AtLineEnd();
  return TokenMember()->AtLineEnd();
}

std::string TCodeMultiHighlighter::GetToken() const {
  if (!default_.Any) return fLine;
  const int len = std::max(0, std::min(fRun - 1, static_cast<int>(fLine.size())) - fTokenPos);
  return fLine.substr(std::min<size_t>(fTokenPos, fLine.size()), len);
}

TCodeHighlighterAttributes* TCodeMultiHighlighter::GetTokenAttribute() const {
  if (fMarker) return schemes_->Items(fMarker->fScheme)->MarkerAttri();
  TCodeCustomHighlighter* member = default_.Any ? TokenMember() : nullptr;
  return member ? member->GetTokenAttribute() : nullptr;
}

int TCodeMultiHighlighter::GetTokenKind() const {
  if (fMarker) return 0;
  if (fPieceStarted && fPieceMember.Hash && default_.Any)
    return fPieceMember.Hash->GetTokenKind();
  TCodeCustomHighlighter* member = default_.Any ? TokenMember() : nullptr;
  return member ? member->GetTokenKind() : 0;
}

// --- ranges --------------------------------------------------------------------------------

TCodeHighlighterRange TCodeMultiHighlighter::StandardGet() const {
  TCodeHighlighterRange value = default_.Any ? default_.Any->GetRange() : 0;
  if (TScheme* scheme = ActiveScheme()) {
    TCodeHighlighterRange inner = scheme->Highlighter() ? scheme->Highlighter()->GetRange() : 0;
    // Four bits are all a scheme gets; more would spill into the default highlighter's.
    value = value * 16 + (inner & 15);
  }
  return value * 8 + (fCurrScheme + 1);
}

void TCodeMultiHighlighter::StandardSet(TCodeHighlighterRange Value) {
  fCurrScheme = static_cast<int>(Value & 7) - 1;
  Value >>= 3;
  if (TScheme* scheme = ActiveScheme()) {
    if (scheme->Highlighter()) scheme->Highlighter()->SetRange(Value & 15);
    Value >>= 4;
  } else {
    fCurrScheme = -1;
  }
  fSavedDefaultRange = Value;
  if (default_.Any) default_.Any->SetRange(Value);
}

TCodeHighlighterRange TCodeMultiHighlighter::NestedGet() const {
  TCodeCustomHighlighter* member = Member();
  TCodeHighlighterRange value = member ? member->GetRange() : 0;
  return value * 16 + (fCurrScheme + 2);
}

void TCodeMultiHighlighter::NestedSet(TCodeHighlighterRange Value) {
  if (Value == 0) return;
  fCurrScheme = static_cast<int>(Value & 15) - 2;
  if (!ActiveScheme()) fCurrScheme = -1;
  if (TCodeCustomHighlighter* member = Member()) member->SetRange(Value >> 4);
}

TCodeHighlighterRange TCodeMultiHighlighter::GetRange() const {
  switch (fRangeProc) {
    case TRangeProc::rpNested: return NestedGet();
    case TRangeProc::rpCustom: {
      TCodeHighlighterRange value = 0;
      onCustomRange_(const_cast<TCodeMultiHighlighter*>(this), TRangeOperation::roGet, value);
      return value;
    }
    case TRangeProc::rpStandard: break;
  }
  return StandardGet();
}

void TCodeMultiHighlighter::SetRange(TCodeHighlighterRange Value) {
  switch (fRangeProc) {
    case TRangeProc::rpStandard: StandardSet(Value); break;
    case TRangeProc::rpNested: NestedSet(Value); break;
    case TRangeProc::rpCustom:
      onCustomRange_(this, TRangeOperation::roSet, Value);
      if (default_.Any) fSavedDefaultRange = default_.Any->GetRange();
      break;
  }
}

void TCodeMultiHighlighter::ResetRange() {
  fCurrScheme = -1;
  if (default_.Any) {
    default_.Any->ResetRange();
    fSavedDefaultRange = default_.Any->GetRange();
  }
}

// --- registry ------------------------------------------------------------------------------

namespace {

using TAttrTransfer = bool (TCodeHighlighterAttributes::*)(TRegistry&);
using THlTransfer = bool (TCodeCustomHighlighter::*)(HKEY, const std::string&);

bool TransferSchemes(const TSchemes& Schemes, HKEY RootKey, const std::string& Key,
                     TAttrTransfer Attr, THlTransfer Hl, bool Loading) {
  bool result = true;
  for (int i = 0; i < Schemes.Count(); ++i) {
    TScheme* scheme = Schemes.Items(i);
    if (scheme->SchemeName().empty()) {
      result = false;
      continue;
    }
    const std::string schemeKey = Key + "\\" + scheme->SchemeName();
    TRegistry reg(RootKey);
    bool opened = Loading ? reg.OpenKeyReadOnly(schemeKey) : reg.OpenKey(schemeKey, true);
    if (!opened) {
      result = false;
      continue;
    }
    result = (scheme->MarkerAttri()->*Attr)(reg) && result;
    if (!scheme->Highlighter()) {
      result = false;
      continue;
    }
    result = (scheme->Highlighter()->*Hl)(RootKey, schemeKey) && result;
  }
  return result;
}

}  // namespace

bool TCodeMultiHighlighter::LoadFromRegistry(HKEY RootKey, const std::string& Key) {
  bool result = true;
  if (default_.Any)
    result = default_.Any->LoadFromRegistry(RootKey, Key + "\\DefaultHighlighter");
  return TransferSchemes(*schemes_, RootKey, Key, &TCodeHighlighterAttributes::LoadFromRegistry,
                         &TCodeCustomHighlighter::LoadFromRegistry, true) &&
         result;
}

bool TCodeMultiHighlighter::SaveToRegistry(HKEY RootKey, const std::string& Key) {
  bool result = true;
  if (default_.Any)
    result = default_.Any->SaveToRegistry(RootKey, Key + "\\DefaultHighlighter");
  return TransferSchemes(*schemes_, RootKey, Key, &TCodeHighlighterAttributes::SaveToRegistry,
                         &TCodeCustomHighlighter::SaveToRegistry, false) &&
         result;
}

// --- the main window's instance -------------------------------------------------------------

void ConfigureWebMixed(TCodeMultiHighlighter& Multi, TCodeCustomHighlighter* Html,
                       TCodeCustomHighlighter* Php, TCodeCustomHighlighter* Css,
                       TCodeCustomHighlighter* Js, TCodeCustomHighlighter* Vbs) {
  struct TSchemeSetup {
    const char* Name;
    const char* StartExpr;
    const char* EndExpr;
    TCodeCustomHighlighter* Highlighter;
  };
  const TSchemeSetup setups[] = {
      {"PHP", "<\\?(php|\\W)", "\\?>", Php},
      {"CSS", "<style[^<]*>", "</style>", Css},
      {"JS", "<script\\b[^<]*J[^<]*Script[^<]*>", "</script>", Js},
      {"VBS", "<script\\b[^<]*VBScript[^<]*>", "</script>", Vbs},
  };
  Multi.BeginUpdate();
  Multi.SetDefaultHighlighter(Html);
  Multi.SetDefaultLanguageName("HTML");
  Multi.Schemes().Clear();
  for (const TSchemeSetup& setup : setups) {
    TScheme* scheme = Multi.Schemes().Add();
    scheme->SetCaseSensitive(false);
    scheme->SetStartExpr(setup.StartExpr);
    scheme->SetEndExpr(setup.EndExpr);
    scheme->SetHighlighter(setup.Highlighter);
    scheme->MarkerAttri()->SetBackground(clNone);
    scheme->MarkerAttri()->SetForeground(clRed);
    scheme->MarkerAttri()->SetStyle({});
    scheme->SetSchemeName(setup.Name);
  }
  Multi.EndUpdate();
}
