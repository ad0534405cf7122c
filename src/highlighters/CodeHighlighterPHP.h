// Highlights PHP: reserved words in any letter case, variables (also inside double-quoted
// strings), numbers, strings and comments.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>
#include "highlighters/CodeHighlighterHashEntries.h"

// Token kinds of the PHP highlighter (GetTokenKind).
enum class TPHPTokenKind : uint8_t {
  tkComment,
  tkIdentifier,
  tkKey,
  tkNull,  // end of line
  tkNumber,
  tkSpace,
  tkString,
  tkSymbol,
  tkUnknown,
  tkVariable,
};

// Range states of the PHP highlighter (GetRange).
enum class TPHPRangeState : uint8_t {
  rsUnknown,
  rsString39,    // inside a single-quoted string
  rsString34,    // inside a double-quoted string
  rsComment,     // inside a block comment
  rsVarExpansion,  // a variable starts at the scan position inside a double-quoted string
};

class TCodePHPHighlighter : public TCodeHashHighlighter {
public:
  explicit TCodePHPHighlighter(TComponent* Owner);

  static const TCodeHighlighterClass& StaticClass();
  static std::string GetLanguageName();  // "PHP"
  const TCodeHighlighterClass& ClassType() const override { return StaticClass(); }

  TCodeHighlighterAttributes* GetDefaultAttribute(int Index) const override;
  TCodeCharSet GetIdentifierChars() const override;
  std::string GetSampleText() const override;
  bool IsDefaultFilterStored() const override;
  TCodeHighlighterAttributes* GetTokenAttribute() const override;
  void ResetRange() override;

  TCodeHighlighterAttributes* CommentAttri() const { return commentAttri_; }
  TCodeHighlighterAttributes* IdentifierAttri() const { return identifierAttri_; }
  TCodeHighlighterAttributes* KeyAttri() const { return keyAttri_; }
  TCodeHighlighterAttributes* NumberAttri() const { return numberAttri_; }
  TCodeHighlighterAttributes* SpaceAttri() const { return spaceAttri_; }
  TCodeHighlighterAttributes* StringAttri() const { return stringAttri_; }
  TCodeHighlighterAttributes* SymbolAttri() const { return symbolAttri_; }
  TCodeHighlighterAttributes* VariableAttri() const { return variableAttri_; }

  // The reserved words as listed; compared without regard to case.
  static const std::vector<const char*>& Keywords();

protected:
  void ScanToken() override;

private:
  using TProcTableProc = void (TCodePHPHighlighter::*)();
  void MakeMethodTables();
  void CreateAttributes();
  void SetKind(TPHPTokenKind Kind) { fTokenID = static_cast<uint8_t>(Kind); }
  TPHPRangeState Range() const { return static_cast<TPHPRangeState>(fRange); }
  void SetRangeState(TPHPRangeState Value) { fRange = static_cast<uint8_t>(Value); }
  void ScanByTable() { (this->*fProcTable[At(Run)])(); }
  // True when an odd number of backslashes stands right before Pos.
  bool IsEscaped(int Pos) const;
  // The end of a "[...]" index or "->" member starting at Pos, or -1 when none is complete.
  int IndexOrMemberEnd(int Pos) const;

  void NullProc();
  void LFProc();
  void CRProc();
  void SpaceProc();
  void IdentProc();
  void VariableProc();
  void NumberProc();
  void String39Proc();
  void String34Proc();
  void HashCommentProc();
  void SlashProc();
  void LowerProc();
  void EqualProc();
  void GreaterProc();
  void AndSymbolProc();
  void OrSymbolProc();
  void PlusProc();
  void MinusProc();
  void NotSymbolProc();
  void SymbolProc();
  void UnknownProc();
  void StringProc();
  void StringVarProc();
  void CommentProc();

  std::array<TProcTableProc, 256> fProcTable{};

  TCodeHighlighterAttributes* commentAttri_ = nullptr;
  TCodeHighlighterAttributes* identifierAttri_ = nullptr;
  TCodeHighlighterAttributes* keyAttri_ = nullptr;
  TCodeHighlighterAttributes* numberAttri_ = nullptr;
  TCodeHighlighterAttributes* spaceAttri_ = nullptr;
  TCodeHighlighterAttributes* stringAttri_ = nullptr;
  TCodeHighlighterAttributes* symbolAttri_ = nullptr;
  TCodeHighlighterAttributes* variableAttri_ = nullptr;
};

// Gives Highlighter the colours of the main window's shared PHP highlighter.
void ApplyMainWindowColors(TCodePHPHighlighter& Highlighter);
