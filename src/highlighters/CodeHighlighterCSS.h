// Highlights cascading style sheets: selectors, known and unknown property names, values,
// colours, numbers, strings and comments.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include "highlighters/CodeHighlighterHashEntries.h"

// Token kinds of the CSS highlighter (GetTokenKind).
enum class TCssTokenKind : uint8_t {
  tkComment,
  tkProperty,       // known property name
  tkKey,            // selector text
  tkNull,           // end of line
  tkSpace,
  tkString,
  tkSymbol,
  tkText,           // not produced by the scanner; kept for its attribute
  tkUndefProperty,  // unknown property name
  tkValue,
  tkColor,
  tkNumber,
};

// Range states of the CSS highlighter (the low byte of GetRange).
enum class TCssRangeState : uint8_t {
  rsComment,
  rsUnused,
  rsProperty,  // after "{"
  rsSelector,  // outside braces
  rsAfterSemicolon,
  rsValue,     // after ":" or ","
};

class TCodeCssHighlighter : public TCodeHashHighlighter {
public:
  explicit TCodeCssHighlighter(TComponent* Owner);

  static const TCodeHighlighterClass& StaticClass();
  static std::string GetLanguageName();  // "Cascading Style Sheet"
  const TCodeHighlighterClass& ClassType() const override { return StaticClass(); }

  TCodeHighlighterAttributes* GetDefaultAttribute(int Index) const override;
  TCodeCharSet GetIdentifierChars() const override;
  std::string GetSampleText() const override;
  bool IsDefaultFilterStored() const override;
  TCodeHighlighterAttributes* GetTokenAttribute() const override;
  // Within 0..15, as the mixed highlighter keeps only four bits of a passage's state:
  // 2..5 outside a comment; inside one, 0 when it returns outside braces and 8 + the range
  // it returns to otherwise.
  TCodeHighlighterRange GetRange() const override;
  // A value GetRange never gives starts outside braces.
  void SetRange(TCodeHighlighterRange Value) override;
  void ResetRange() override;

  TCodeHighlighterAttributes* CommentAttri() const { return commentAttri_; }
  TCodeHighlighterAttributes* PropertyAttri() const { return propertyAttri_; }
  TCodeHighlighterAttributes* KeyAttri() const { return keyAttri_; }
  TCodeHighlighterAttributes* SpaceAttri() const { return spaceAttri_; }
  TCodeHighlighterAttributes* StringAttri() const { return stringAttri_; }
  TCodeHighlighterAttributes* SymbolAttri() const { return symbolAttri_; }
  TCodeHighlighterAttributes* TextAttri() const { return textAttri_; }
  TCodeHighlighterAttributes* UndefPropertyAttri() const { return undefPropertyAttri_; }
  TCodeHighlighterAttributes* ValueAttri() const { return valueAttri_; }
  TCodeHighlighterAttributes* ColorAttri() const { return colorAttri_; }
  TCodeHighlighterAttributes* NumberAttri() const { return numberAttri_; }

  // The property names, separated by commas and blanks.
  static const char* KeywordText();
  // Splits Text into words (runs of identifier characters) and adds each with Kind by its
  // hash, chains ordered by length; a word twice raises ECodeHashEntryError.
  static void AddKeywords(TCodeHashEntryList& List, const std::string& Text, uint8_t Kind);
  // The hash of the word at Text: its run of "-" and letters, then the digits after it;
  // Length receives the length covered.
  static int32_t Hash(const char* Text, int& Length);

protected:
  void ScanToken() override;

private:
  using TProcTableProc = void (TCodeCssHighlighter::*)();
  void MakeMethodTables();
  void CreateAttributes();
  void SetKind(TCssTokenKind Kind) { fTokenID = static_cast<uint8_t>(Kind); }
  TCssRangeState Range() const { return static_cast<TCssRangeState>(fRange); }
  void SetRangeState(TCssRangeState Value) { fRange = static_cast<uint8_t>(Value); }
  void ScanByTable() { (this->*fProcTable[At(Run)])(); }
  // The kind of the property name at Run.
  TCssTokenKind LookUpProperty() const;
  // Advances to the end of the line or past "*/", which ends the comment.
  void ScanCommentBody();

  void NullProc();
  void LFProc();
  void CRProc();
  void SpaceProc();
  void BraceOpenProc();
  void BraceCloseProc();
  void SemiColonProc();
  void ColonProc();
  void SlashProc();
  void StringProc();
  void HashProc();
  void NumberProc();
  void IdentProc();
  void CommentProc();
  void SelectorProc();

  TCodeHashEntryList fKeywords;
  std::array<TProcTableProc, 256> fProcTable{};
  uint8_t fCommentReturn = static_cast<uint8_t>(TCssRangeState::rsSelector);

  TCodeHighlighterAttributes* commentAttri_ = nullptr;
  TCodeHighlighterAttributes* propertyAttri_ = nullptr;
  TCodeHighlighterAttributes* keyAttri_ = nullptr;
  TCodeHighlighterAttributes* spaceAttri_ = nullptr;
  TCodeHighlighterAttributes* stringAttri_ = nullptr;
  TCodeHighlighterAttributes* symbolAttri_ = nullptr;
  TCodeHighlighterAttributes* textAttri_ = nullptr;
  TCodeHighlighterAttributes* undefPropertyAttri_ = nullptr;
  TCodeHighlighterAttributes* valueAttri_ = nullptr;
  TCodeHighlighterAttributes* colorAttri_ = nullptr;
  TCodeHighlighterAttributes* numberAttri_ = nullptr;
};

// Gives Highlighter the colours of the main window's shared CSS highlighter.
void ApplyMainWindowColors(TCodeCssHighlighter& Highlighter);
