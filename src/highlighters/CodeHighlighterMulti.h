// Highlights a line with a default highlighter and switches to another one between a start and
// an end marker found by regular expressions (web pages with embedded scripts and styles).
#pragma once
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include "editor/CodeEditHighlighter.h"

class TCodeHashHighlighter;
class TCodeMultiHighlighter;
class TRegex;
class TSchemes;

// The text every match of a marker expression begins with (empty where none is plain); Whole
// when the expression is that text alone, so that where the text is, the match is.
struct TMarkerPrefix {
  std::string Text;
  // Text with each character's case inverted by the mapping the expression was compiled with
  // (Text itself when case counts): a character of the line matches either.
  std::string Other;
  bool Whole = false;
};

// A member highlighter, and the same as a keyword-hash highlighter when it is one: cast once,
// so that the scan asks such a member for its tokens without virtual calls.
struct TMemberHighlighter {
  TMemberHighlighter() = default;
  explicit TMemberHighlighter(TCodeCustomHighlighter* Highlighter);
  TCodeCustomHighlighter* Any = nullptr;
  TCodeHashHighlighter* Hash = nullptr;
};

enum class TRangeOperation { roGet, roSet };
// Packs (roGet) or unpacks (roSet) the whole state of the highlighter and its members.
using TCustomRangeEvent = std::function<void(TCodeMultiHighlighter* Sender,
                                             TRangeOperation Operation,
                                             TCodeHighlighterRange& Range)>;
// May move, resize or clear a marker just found; an empty text or a length below 1 drops it.
// StartPos is 1-based in the line; Line is the line number given to SetLine.
using TOnCheckMarker = std::function<void(TObject* Sender, int& StartPos, int& MarkerLen,
                                          std::string& MarkerText, int Line)>;

// One embedded language: its markers, its highlighter and the colours of its markers.
class TScheme : public TObject {
public:
  explicit TScheme(TSchemes& Collection);
  ~TScheme() override;
  TScheme(const TScheme&) = delete;
  TScheme& operator=(const TScheme&) = delete;

  // Copies the expressions, case rule, highlighter, marker colours and name.
  void Assign(const TScheme& Source);
  int Index() const;
  // The scheme name, or the class-like default when it is empty.
  std::string DisplayName() const;

  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool Value);
  const std::string& StartExpr() const { return startExpr_; }
  const std::string& EndExpr() const { return endExpr_; }
  // A non-empty expression is compiled first; a compile error raises ERegex with a message
  // naming the expression, and the old value stays.
  void SetStartExpr(const std::string& Value);
  void SetEndExpr(const std::string& Value);
  TCodeCustomHighlighter* Highlighter() const { return highlighter_.Any; }
  const TMemberHighlighter& Member() const { return highlighter_; }
  // The owning multi-highlighter itself is refused: scanning it would recurse without end.
  void SetHighlighter(TCodeCustomHighlighter* Value);
  TCodeHighlighterAttributes* MarkerAttri() const { return markerAttri_.get(); }
  void SetMarkerAttri(const TCodeHighlighterAttributes& Value);
  const std::string& SchemeName() const { return schemeName_; }
  void SetSchemeName(const std::string& Value);

  TOnCheckMarker OnCheckStartMarker;
  TOnCheckMarker OnCheckEndMarker;

  // True when the scheme can open: both expressions set and an enabled highlighter.
  bool Usable() const;
  // The compiled markers, made on first use after a change.
  TRegex& StartRegex();
  TRegex& EndRegex();
  // The text every start or end marker begins with.
  const TMarkerPrefix& StartPrefix();
  const TMarkerPrefix& EndPrefix();

private:
  friend class TCodeMultiHighlighter;
  // Rechecks Value and returns it; raises ERegex for a compile error.
  std::string CheckedExpr(const std::string& Value) const;
  bool SameExpr(const std::string& A, const std::string& B) const;
  void Changed();
  void MarkerAttriChanged(TObject* Sender);
  // The highlighter is being destroyed: forgets it without touching it.
  void ForgetHighlighter() { highlighter_ = TMemberHighlighter(); }

  TSchemes& collection_;
  bool caseSensitive_ = true;
  std::string startExpr_;
  std::string endExpr_;
  TMemberHighlighter highlighter_;
  std::unique_ptr<TCodeHighlighterAttributes> markerAttri_;
  std::string schemeName_;
  std::unique_ptr<TRegex> startRegex_;
  std::unique_ptr<TRegex> endRegex_;
  TMarkerPrefix startPrefix_;
  TMarkerPrefix endPrefix_;
};

// The schemes of a multi-highlighter, in the order they are tried.
class TSchemes : public TObject {
public:
  explicit TSchemes(TCodeMultiHighlighter* Owner);
  ~TSchemes() override;
  TSchemes(const TSchemes&) = delete;
  TSchemes& operator=(const TSchemes&) = delete;

  int Count() const { return static_cast<int>(items_.size()); }
  TScheme* Items(int Index) const { return items_.at(Index).get(); }
  TScheme* Add();
  void Delete(int Index);
  void Clear();
  // Replaces the items with copies of Source's.
  void Assign(const TSchemes& Source);
  int IndexOf(const TScheme* Scheme) const;
  TCodeMultiHighlighter* Owner() const { return owner_; }

private:
  friend class TScheme;
  // A scheme or the list changed; the owner repaints and rescans.
  void Update();

  TCodeMultiHighlighter* owner_;
  std::vector<std::unique_ptr<TScheme>> items_;
};

// A found marker of the current line.
struct TMarker {
  int fScheme;      // index of its scheme
  int fStartPos;    // 1-based in the line
  int fMarkerLen;
  std::string fMarkerText;
  bool fIsOpenSymbol;  // a start marker; false for an end marker
};

class TCodeMultiHighlighter : public TCodeCustomHighlighter {
public:
  explicit TCodeMultiHighlighter(TComponent* Owner);
  ~TCodeMultiHighlighter() override;

  static const TCodeHighlighterClass& StaticClass();
  static std::string GetLanguageName();  // "General Multi-Highlighter"
  const TCodeHighlighterClass& ClassType() const override { return StaticClass(); }

  // The schemes' marker attributes, then the default highlighter's attributes, then each
  // scheme highlighter's.
  int GetAttributeCount() const override;
  TCodeHighlighterAttributes* GetAttribute(int Index) const override;
  // From the active scheme's highlighter, else from the default highlighter.
  TCodeHighlighterAttributes* GetDefaultAttribute(int Index) const override;
  TCodeCharSet GetIdentifierChars() const override;
  std::string GetSampleText() const override { return sampleText_; }
  void SetSampleText(const std::string& Value) override { sampleText_ = Value; }

  bool AtLineEnd() const override;
  TCodeHighlighterRange GetRange() const override;
  std::string GetToken() const override;
  TCodeHighlighterAttributes* GetTokenAttribute() const override;
  int GetTokenKind() const override;
  int GetTokenPos() const override { return fTokenPos; }
  void NextToken() override;
  // Lets each member skip its piece of the line at once.
  void SkipToLineEnd() override;
  void SetLine(const std::string& NewValue, int LineNumber) override;
  void SetRange(TCodeHighlighterRange Value) override;
  void ResetRange() override;
  // The default highlighter below Key\DefaultHighlighter, each scheme's marker and
  // highlighter below Key\<scheme name>; false when any step failed.
  bool LoadFromRegistry(HKEY RootKey, const std::string& Key) override;
  bool SaveToRegistry(HKEY RootKey, const std::string& Key) override;

  TSchemes& Schemes() { return *schemes_; }
  const TSchemes& Schemes() const { return *schemes_; }
  void SetSchemes(const TSchemes& Value) { schemes_->Assign(Value); }
  TCodeCustomHighlighter* DefaultHighlighter() const { return default_.Any; }
  // Raises Exception when Value is this highlighter itself.
  void SetDefaultHighlighter(TCodeCustomHighlighter* Value);
  const std::string& DefaultLanguageName() const { return defaultLanguageName_; }
  void SetDefaultLanguageName(const std::string& Value) { defaultLanguageName_ = Value; }
  const TCustomRangeEvent& OnCustomRange() const { return onCustomRange_; }
  void SetOnCustomRange(const TCustomRangeEvent& Value);

  // The markers found on the current line, in order; -1 for no active scheme.
  const std::vector<TMarker>& Markers() const { return fMarkers; }
  int CurrentScheme() const { return fCurrScheme; }
  // For a custom range handler restoring a state; an index outside the schemes means none.
  void SetCurrentScheme(int Value) {
    fCurrScheme = Value >= 0 && Value < schemes_->Count() ? Value : -1;
  }

protected:
  void Notification(TComponent* AComponent) override;

private:
  friend class TScheme;
  friend class TSchemes;
  enum class TRangeProc { rpStandard, rpNested, rpCustom };

  // The highlighter producing tokens now: the active scheme's, else the default one.
  TCodeCustomHighlighter* Member() const;
  TScheme* ActiveScheme() const;
  // The member whose token is the current one: the one scanning the line's current piece.
  TCodeCustomHighlighter* TokenMember() const;
  // Attribute changes of a member reach this highlighter's hooks.
  void MemberAttributesChanged(TObject* Sender);
  void HookMember(TCodeCustomHighlighter* Member);
  void ReleaseMember(TCodeCustomHighlighter* Member);
  // Picks the range procedure; true when the choice changed (and has been notified).
  bool ChooseRangeProc();
  void SchemesChanged() {
    fMarkerStartsKnown = false;
    NotifyAttributesChanged(nullptr);
  }
  // Fills fMarkerStarts with the characters any marker's text can begin with, when a scheme
  // changed since.
  void KnowMarkerStarts();
  // Fills fCandidates with the positions of fLine holding such a character.
  void FindCandidates();
  // Finds the markers of fLine from the active scheme on. Expressions search the whole line
  // from an offset, so that a long line is not copied for every marker it holds.
  void FindMarkers();
  // What the last search of one expression in the current line found.
  struct TLineSearch {
    bool HasInput = false;
    int From = 0;  // 1-based position searched from; 0 before the first search
    int Pos = 0;   // 1-based position of the match; 0 for none at or after From
    int Len = 0;
  };
  // The next match of Regex in fLine at or after From (1-based); false when there is none,
  // also when the search fails. A search answers every later one that starts at or before its
  // match, so each expression walks a line once however many markers the line holds; no
  // search starts before the text its matches begin with, nor at all without it.
  bool NextMatch(TRegex& Regex, const TMarkerPrefix& Prefix, TLineSearch& Search, int From,
                 int& Pos, int& Len) const;
  // The 0-based index of the first occurrence of Prefix in fLine at or after From (0-based);
  // the line's length when there is none. Only the candidates can hold one.
  int FindPrefix(const TMarkerPrefix& Prefix, int From) const;
  void AddMarker(TScheme& Scheme, int Index, int Pos, int Len, std::string Text, bool Open);
  // Gives the member of the current scheme the piece of the line from From up to End
  // (1-based, End excluded).
  void StartPiece(int From, int End);
  // Takes the position of the current piece member's token as the current token's.
  void FollowMemberToken();
  // Moves the current piece's member to the token NextToken would stop at before the next
  // marker, or to the line's end after the last marker.
  void SkipPiece();
  // A state naming a scheme that cannot open is scanned by the default highlighter.
  void ValidateCurrentScheme();

  TCodeHighlighterRange StandardGet() const;
  void StandardSet(TCodeHighlighterRange Value);
  TCodeHighlighterRange NestedGet() const;
  void NestedSet(TCodeHighlighterRange Value);

  std::unique_ptr<TSchemes> schemes_;
  TMemberHighlighter default_;
  std::string defaultLanguageName_;
  TCustomRangeEvent onCustomRange_;
  std::vector<TMarker> fMarkers;
  int fCurrScheme = -1;
  const TMarker* fMarker = nullptr;  // the marker that is the current token
  // Whether a member scans a piece of the current line, which member and where the piece
  // starts in the line.
  bool fPieceStarted = false;
  TMemberHighlighter fPieceMember;
  int fPieceOffset = 0;
  std::string fPiece;  // the piece given to the member, when it is not the whole line
  int fNextMarker = 0;
  TCodeHighlighterRange fSavedDefaultRange = 0;
  std::string fLine;
  std::vector<TLineSearch> fSearches;  // FindMarkers': each scheme's start, then each's end
  // One pass over a line finds where a marker can begin, instead of one per expression.
  std::array<bool, 256> fMarkerStarts{};
  std::string fStartBytes;  // the same characters, each once
  bool fEveryMarkerHasStart = true;  // false when an expression's matches begin with no text
  bool fMarkerStartsKnown = false;
  std::vector<int> fCandidates;  // 0-based, ascending
  int fLineNumber = 0;
  int fTokenPos = 0;
  int fRun = 1;  // 1-based, past the current token
  TRangeProc fRangeProc = TRangeProc::rpStandard;
  std::string sampleText_;
};

// Makes Multi the main window's mixed web-page highlighter: Html outside every passage, and
// passages of Php, Css, Js and Vbs between their markers, matched without regard to case and
// marked in red.
void ConfigureWebMixed(TCodeMultiHighlighter& Multi, TCodeCustomHighlighter* Html,
                       TCodeCustomHighlighter* Php, TCodeCustomHighlighter* Css,
                       TCodeCustomHighlighter* Js, TCodeCustomHighlighter* Vbs);
