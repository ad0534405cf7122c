// Highlights XML: elements, attributes and their values, namespaces, entities, comments,
// processing instructions, CDATA sections and DOCTYPE declarations.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include "highlighters/CodeHighlighterHashEntries.h"

// Token kinds of the XML highlighter (GetTokenKind).
enum class TXmlTokenKind : uint8_t {
  tkAposAttrValue, tkAposEntityRef, tkAttribute, tkCDATA, tkComment, tkElement, tkEntityRef,
  tkEqual, tkNull, tkProcessingInstruction, tkQuoteAttrValue, tkQuoteEntityRef, tkSpace,
  tkSymbol, tkText, tknsAposAttrValue, tknsAposEntityRef, tknsAttribute, tknsEqual,
  tknsQuoteAttrValue, tknsQuoteEntityRef, tkDocType
};

// Range states of the XML highlighter (GetRange), carried from line to line.
enum class TXmlRangeState : uint8_t {
  rsAposAttrValue, rsAPosEntityRef, rsAttribute, rsCDATA, rsComment, rsElement, rsEntityRef,
  rsEqual, rsProcessingInstruction, rsQuoteAttrValue, rsQuoteEntityRef, rsText,
  rsnsAposAttrValue, rsnsAPosEntityRef, rsnsEqual, rsnsQuoteAttrValue, rsnsQuoteEntityRef,
  rsDocType, rsDocTypeSquareBraces
};

class TCodeXMLHighlighter : public TCodeHashHighlighter {
public:
  explicit TCodeXMLHighlighter(TComponent* Owner);

  static const TCodeHighlighterClass& StaticClass();
  static std::string GetLanguageName();  // "XML"
  const TCodeHighlighterClass& ClassType() const override { return StaticClass(); }

  TCodeHighlighterAttributes* GetDefaultAttribute(int Index) const override;
  TCodeCharSet GetIdentifierChars() const override;
  std::string GetSampleText() const override;
  bool IsDefaultFilterStored() const override;
  TCodeHighlighterAttributes* GetTokenAttribute() const override;
  // A value that is no state gives the state between tags.
  void SetRange(TCodeHighlighterRange Value) override;
  void ResetRange() override;

  TCodeHighlighterAttributes* ElementAttri() const { return elementAttri_; }
  TCodeHighlighterAttributes* AttributeAttri() const { return attributeAttri_; }
  TCodeHighlighterAttributes* NamespaceAttributeAttri() const { return nsAttributeAttri_; }
  TCodeHighlighterAttributes* AttributeValueAttri() const { return attributeValueAttri_; }
  TCodeHighlighterAttributes* NamespaceAttributeValueAttri() const { return nsAttributeValueAttri_; }
  TCodeHighlighterAttributes* TextAttri() const { return textAttri_; }
  TCodeHighlighterAttributes* CDATAAttri() const { return cdataAttri_; }
  TCodeHighlighterAttributes* EntityRefAttri() const { return entityRefAttri_; }
  TCodeHighlighterAttributes* ProcessingInstructionAttri() const { return piAttri_; }
  TCodeHighlighterAttributes* CommentAttri() const { return commentAttri_; }
  TCodeHighlighterAttributes* DocTypeAttri() const { return docTypeAttri_; }
  TCodeHighlighterAttributes* SpaceAttri() const { return spaceAttri_; }
  TCodeHighlighterAttributes* SymbolAttri() const { return symbolAttri_; }
  // Kept and stored with the highlighter; scanning does not depend on it.
  bool WantBracesParsed() const { return wantBracesParsed_; }
  void SetWantBracesParsed(bool Value) { wantBracesParsed_ = Value; }

protected:
  void ScanToken() override;

private:
  using R = TXmlRangeState;
  using K = TXmlTokenKind;
  using TProcTableProc = void (TCodeXMLHighlighter::*)();
  void SetKind(K Kind) { fTokenID = static_cast<uint8_t>(Kind); }
  R Range() const { return static_cast<R>(fRange); }
  void SetRangeState(R Value) { fRange = static_cast<uint8_t>(Value); }
  bool AtEnd(int Index) const { return Index >= static_cast<int>(fLine.size()); }
  bool LineBreakOrEnd() const { return AtEnd(Run) || At(Run) == '\n' || At(Run) == '\r'; }
  bool LookingAt(const char* Text) const;
  void ScanByTable() { (this->*fProcTable[At(Run)])(); }
  // The scanner of the current state for the character at Run.
  void ScanByRange();

  void NullProc();
  void LFProc();
  void CRProc();
  void SpaceProc();
  void LessThanProc();
  void GreaterThanProc();
  void IdentProc();
  void ElementNameProc();
  void AttributeNameProc();
  void EqualProc();
  void QuoteValueProc();
  void AposValueProc();
  void EntityRefProc(K Kind, R Back);
  void TextProc();
  void CommentProc();
  void ProcessingInstructionProc();
  void CDATAProc();
  void DocTypeProc();

  std::array<TProcTableProc, 256> fProcTable{};
  bool wantBracesParsed_ = false;

  TCodeHighlighterAttributes* elementAttri_ = nullptr;
  TCodeHighlighterAttributes* attributeAttri_ = nullptr;
  TCodeHighlighterAttributes* nsAttributeAttri_ = nullptr;
  TCodeHighlighterAttributes* attributeValueAttri_ = nullptr;
  TCodeHighlighterAttributes* nsAttributeValueAttri_ = nullptr;
  TCodeHighlighterAttributes* textAttri_ = nullptr;
  TCodeHighlighterAttributes* cdataAttri_ = nullptr;
  TCodeHighlighterAttributes* entityRefAttri_ = nullptr;
  TCodeHighlighterAttributes* piAttri_ = nullptr;
  TCodeHighlighterAttributes* commentAttri_ = nullptr;
  TCodeHighlighterAttributes* docTypeAttri_ = nullptr;
  TCodeHighlighterAttributes* spaceAttri_ = nullptr;
  TCodeHighlighterAttributes* symbolAttri_ = nullptr;
};
