// Highlights INI files: sections, keys, values, strings, numbers and comments.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include "highlighters/CodeHighlighterHashEntries.h"

// Token kinds of the INI highlighter (GetTokenKind).
enum class TIniTokenKind : uint8_t {
  tkComment, tkText, tkSection, tkKey, tkNull, tkNumber, tkSpace, tkString, tkSymbol, tkUnknown
};

class TCodeIniHighlighter : public TCodeHashHighlighter {
public:
  explicit TCodeIniHighlighter(TComponent* Owner);

  static const TCodeHighlighterClass& StaticClass();
  static std::string GetLanguageName();  // "INI"
  const TCodeHighlighterClass& ClassType() const override { return StaticClass(); }

  TCodeHighlighterAttributes* GetDefaultAttribute(int Index) const override;
  TCodeCharSet GetIdentifierChars() const override;
  std::string GetSampleText() const override;
  bool IsDefaultFilterStored() const override;
  TCodeHighlighterAttributes* GetTokenAttribute() const override;
  // No state carries from line to line.
  void SetRange(TCodeHighlighterRange) override {}

  TCodeHighlighterAttributes* CommentAttri() const { return commentAttri_; }
  TCodeHighlighterAttributes* TextAttri() const { return textAttri_; }
  TCodeHighlighterAttributes* SectionAttri() const { return sectionAttri_; }
  TCodeHighlighterAttributes* KeyAttri() const { return keyAttri_; }
  TCodeHighlighterAttributes* NumberAttri() const { return numberAttri_; }
  TCodeHighlighterAttributes* SpaceAttri() const { return spaceAttri_; }
  TCodeHighlighterAttributes* StringAttri() const { return stringAttri_; }
  TCodeHighlighterAttributes* SymbolAttri() const { return symbolAttri_; }

protected:
  void ScanToken() override;

private:
  using TProcTableProc = void (TCodeIniHighlighter::*)();
  void SetKind(TIniTokenKind Kind) { fTokenID = static_cast<uint8_t>(Kind); }
  bool AtEnd(int Index) const { return Index >= static_cast<int>(fLine.size()); }
  void NullProc();
  void LFProc();
  void CRProc();
  void SpaceProc();
  void SectionOpenProc();
  void CommentProc();
  void EqualProc();
  void StringProc();
  void NumberProc();
  void TextProc();
  void KeyProc();

  std::array<TProcTableProc, 256> fProcTable{};
  TCodeHighlighterAttributes* commentAttri_ = nullptr;
  TCodeHighlighterAttributes* textAttri_ = nullptr;
  TCodeHighlighterAttributes* sectionAttri_ = nullptr;
  TCodeHighlighterAttributes* keyAttri_ = nullptr;
  TCodeHighlighterAttributes* numberAttri_ = nullptr;
  TCodeHighlighterAttributes* spaceAttri_ = nullptr;
  TCodeHighlighterAttributes* stringAttri_ = nullptr;
  TCodeHighlighterAttributes* symbolAttri_ = nullptr;
};
