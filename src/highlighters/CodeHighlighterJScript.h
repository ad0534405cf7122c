// Highlights JavaScript: case-sensitive reserved words, built-in objects and events, numbers,
// strings and comments.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>
#include "highlighters/CodeHighlighterHashEntries.h"

// Token kinds of the JavaScript highlighter (GetTokenKind).
enum class TJScriptTokenKind : uint8_t {
  tkComment,
  tkIdentifier,
  tkKey,
  tkNull,  // end of line
  tkNumber,
  tkSpace,
  tkString,
  tkSymbol,
  tkUnknown,
  tkNonReservedKey,
  tkEvent,
};

// Range states of the JavaScript highlighter (GetRange).
enum class TJScriptRangeState : uint8_t { rsUnknown, rsANSI /* inside a block comment */ };

class TCodeJScriptHighlighter : public TCodeHashHighlighter {
public:
  explicit TCodeJScriptHighlighter(TComponent* Owner);

  static const TCodeHighlighterClass& StaticClass();
  static std::string GetLanguageName();  // "JavaScript"
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
  TCodeHighlighterAttributes* NonReservedKeyAttri() const { return nonReservedKeyAttri_; }
  TCodeHighlighterAttributes* EventAttri() const { return eventAttri_; }
  TCodeHighlighterAttributes* NumberAttri() const { return numberAttri_; }
  TCodeHighlighterAttributes* SpaceAttri() const { return spaceAttri_; }
  TCodeHighlighterAttributes* StringAttri() const { return stringAttri_; }
  TCodeHighlighterAttributes* SymbolAttri() const { return symbolAttri_; }

  // The keywords of each kind, spelled as they must be written.
  static const std::vector<const char*>& ReservedWords();
  static const std::vector<const char*>& NonReservedKeywords();
  static const std::vector<const char*>& Events();

protected:
  void ScanToken() override;

private:
  using TProcTableProc = void (TCodeJScriptHighlighter::*)();
  void MakeMethodTables();
  void CreateAttributes();
  void SetKind(TJScriptTokenKind Kind) { fTokenID = static_cast<uint8_t>(Kind); }
  void ScanByTable() { (this->*fProcTable[At(Run)])(); }

  void NullProc();
  void LFProc();
  void CRProc();
  void SpaceProc();
  void IdentProc();
  void NumberProc();
  void StringProc();
  void SlashProc();
  void AndSymbolProc();
  void PlusProc();
  void MinusProc();
  void OrSymbolProc();
  void ModOrStarProc();
  void PointProc();
  void SymbolProc();
  void UnknownProc();
  void CommentProc();

  std::array<TProcTableProc, 256> fProcTable{};

  TCodeHighlighterAttributes* commentAttri_ = nullptr;
  TCodeHighlighterAttributes* identifierAttri_ = nullptr;
  TCodeHighlighterAttributes* keyAttri_ = nullptr;
  TCodeHighlighterAttributes* nonReservedKeyAttri_ = nullptr;
  TCodeHighlighterAttributes* eventAttri_ = nullptr;
  TCodeHighlighterAttributes* numberAttri_ = nullptr;
  TCodeHighlighterAttributes* spaceAttri_ = nullptr;
  TCodeHighlighterAttributes* stringAttri_ = nullptr;
  TCodeHighlighterAttributes* symbolAttri_ = nullptr;
};

// Gives Highlighter the colours of the main window's shared JavaScript highlighter.
void ApplyMainWindowColors(TCodeJScriptHighlighter& Highlighter);
