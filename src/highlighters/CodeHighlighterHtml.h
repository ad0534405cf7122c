// Highlights HTML: tags and their names, attributes and values, entities and comments.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include "highlighters/CodeHighlighterHashEntries.h"

// Token kinds of the HTML highlighter (GetTokenKind).
enum class THtmlTokenKind : uint8_t {
  tkAmpersand,   // entity or character reference
  tkComment,
  tkIdentifier,  // attribute name, or a tag name beyond the keyword table
  tkKey,         // known tag name
  tkNull,        // end of line
  tkSpace,
  tkSymbol,
  tkText,
  tkUndefKey,    // unknown tag name
  tkValue,
};

// Range states of the HTML highlighter (GetRange), carried from line to line.
enum class THtmlRangeState : uint8_t {
  rsAmpersand,         // an entity begins at the scan position
  rsComment,           // inside "<!--"
  rsKey,               // after "<": the tag name comes next
  rsParam,             // inside a tag, after its name
  rsText,              // outside tags
  rsUnknown,           // not used
  rsValue,             // after "=" inside a tag
  rsQuoteValue,        // inside a single-quoted value
  rsDoubleQuoteValue,  // inside a double-quoted value
};

class TCodeHTMLHighlighter : public TCodeHashHighlighter {
public:
  explicit TCodeHTMLHighlighter(TComponent* Owner);

  static const TCodeHighlighterClass& StaticClass();
  static std::string GetLanguageName();  // "HTML"
  const TCodeHighlighterClass& ClassType() const override { return StaticClass(); }

  TCodeHighlighterAttributes* GetDefaultAttribute(int Index) const override;
  TCodeCharSet GetIdentifierChars() const override;
  std::string GetSampleText() const override;
  // True when the filter differs from the one set by the constructor.
  bool IsDefaultFilterStored() const override;
  TCodeHighlighterAttributes* GetTokenAttribute() const override;
  void SetLine(const std::string& NewValue, int LineNumber) override;
  void ResetRange() override;

  TCodeHighlighterAttributes* AndAttri() const { return andAttri_; }
  TCodeHighlighterAttributes* CommentAttri() const { return commentAttri_; }
  TCodeHighlighterAttributes* IdentifierAttri() const { return identifierAttri_; }
  TCodeHighlighterAttributes* KeyAttri() const { return keyAttri_; }
  TCodeHighlighterAttributes* SpaceAttri() const { return spaceAttri_; }
  TCodeHighlighterAttributes* SymbolAttri() const { return symbolAttri_; }
  TCodeHighlighterAttributes* TextAttri() const { return textAttri_; }
  TCodeHighlighterAttributes* UndefKeyAttri() const { return undefKeyAttri_; }
  TCodeHighlighterAttributes* ValueAttri() const { return valueAttri_; }

  // The entity names in the order they are tried, each with its "&" and ";".
  static const std::array<const char*, 249>& EntityNames();

protected:
  void ScanToken() override;
  // Text, entities and blanks keep the text range up to the next tag.
  int RangeKeptUntil() const override;

private:
  using TProcTableProc = void (TCodeHTMLHighlighter::*)();
  void MakeMethodTables();
  void CreateAttributes();
  void SetKind(THtmlTokenKind Kind) { fTokenID = static_cast<uint8_t>(Kind); }
  THtmlRangeState Range() const { return static_cast<THtmlRangeState>(fRange); }
  void SetRangeState(THtmlRangeState Value) { fRange = static_cast<uint8_t>(Value); }
  void ScanByTable() { (this->*fProcTable[static_cast<unsigned char>(fLineStr[Run])])(); }
  // The entity index whose name starts at Run, or -1.
  int MatchEntity() const;
  // From the "&#" at Run, skips it and "x" with hexadecimal digits, or decimal digits; true
  // when ";" follows (Run stays before it).
  bool SkipCharacterReference();
  // The token of the entity state: the entity found by the text scanner, or a reference.
  void EntityProc();

  void NullProc();
  void LFProc();
  void CRProc();
  void SpaceProc();
  void BraceOpenProc();
  void EqualProc();
  void BraceCloseProc();
  void AmpersandProc();
  void StringProc();
  void IdentProc();
  void CommentProc();
  void TextProc();

  std::array<TProcTableProc, 256> fProcTable{};
  int32_t fAndCode = -1;  // the entity found by the text scanner, -1 for none

  TCodeHighlighterAttributes* andAttri_ = nullptr;
  TCodeHighlighterAttributes* commentAttri_ = nullptr;
  TCodeHighlighterAttributes* identifierAttri_ = nullptr;
  TCodeHighlighterAttributes* keyAttri_ = nullptr;
  TCodeHighlighterAttributes* spaceAttri_ = nullptr;
  TCodeHighlighterAttributes* symbolAttri_ = nullptr;
  TCodeHighlighterAttributes* textAttri_ = nullptr;
  TCodeHighlighterAttributes* undefKeyAttri_ = nullptr;
  TCodeHighlighterAttributes* valueAttri_ = nullptr;
};
