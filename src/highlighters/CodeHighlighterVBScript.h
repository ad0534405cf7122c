// Highlights VBScript: reserved words in any letter case, numbers, strings, date literals and
// comments. Keeps no state from line to line.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>
#include "highlighters/CodeHighlighterHashEntries.h"

// Token kinds of the VBScript highlighter (GetTokenKind).
enum class TVBScriptTokenKind : uint8_t {
  tkComment,
  tkIdentifier,
  tkKey,
  tkNull,  // end of line
  tkNumber,
  tkSpace,
  tkString,  // string or date literal
  tkSymbol,
  tkUnknown,
};

class TCodeVBScriptHighlighter : public TCodeHashHighlighter {
public:
  explicit TCodeVBScriptHighlighter(TComponent* Owner);

  static const TCodeHighlighterClass& StaticClass();
  static std::string GetLanguageName();  // "MS VBScript"
  const TCodeHighlighterClass& ClassType() const override { return StaticClass(); }

  TCodeHighlighterAttributes* GetDefaultAttribute(int Index) const override;
  TCodeCharSet GetIdentifierChars() const override;
  std::string GetSampleText() const override;
  bool IsDefaultFilterStored() const override;
  TCodeHighlighterAttributes* GetTokenAttribute() const override;
  // No state is carried between lines: every line starts fresh.
  TCodeHighlighterRange GetRange() const override { return 0; }
  void SetRange(TCodeHighlighterRange /*Value*/) override {}

  TCodeHighlighterAttributes* CommentAttri() const { return commentAttri_; }
  TCodeHighlighterAttributes* IdentifierAttri() const { return identifierAttri_; }
  TCodeHighlighterAttributes* KeyAttri() const { return keyAttri_; }
  TCodeHighlighterAttributes* NumberAttri() const { return numberAttri_; }
  TCodeHighlighterAttributes* SpaceAttri() const { return spaceAttri_; }
  TCodeHighlighterAttributes* StringAttri() const { return stringAttri_; }
  TCodeHighlighterAttributes* SymbolAttri() const { return symbolAttri_; }

  // The reserved words as listed; compared without regard to case.
  static const std::vector<const char*>& Keywords();

protected:
  void ScanToken() override;

private:
  using TProcTableProc = void (TCodeVBScriptHighlighter::*)();
  void MakeMethodTables();
  void CreateAttributes();
  void SetKind(TVBScriptTokenKind Kind) { fTokenID = static_cast<uint8_t>(Kind); }
  // Advances past Run and on to the next Closer, past it when the line holds one.
  void ScanToCloser(unsigned char Closer);

  void NullProc();
  void LFProc();
  void CRProc();
  void SpaceProc();
  void IdentProc();
  void NumberProc();
  void ApostropheProc();
  void StringProc();
  void DateProc();
  void LowerProc();
  void GreaterProc();
  void SymbolProc();
  void UnknownProc();

  std::array<TProcTableProc, 256> fProcTable{};

  TCodeHighlighterAttributes* commentAttri_ = nullptr;
  TCodeHighlighterAttributes* identifierAttri_ = nullptr;
  TCodeHighlighterAttributes* keyAttri_ = nullptr;
  TCodeHighlighterAttributes* numberAttri_ = nullptr;
  TCodeHighlighterAttributes* spaceAttri_ = nullptr;
  TCodeHighlighterAttributes* stringAttri_ = nullptr;
  TCodeHighlighterAttributes* symbolAttri_ = nullptr;
};

// Gives Highlighter the colours of the main window's shared VBScript highlighter.
void ApplyMainWindowColors(TCodeVBScriptHighlighter& Highlighter);
