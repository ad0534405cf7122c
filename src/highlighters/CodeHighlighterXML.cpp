#include "highlighters/CodeHighlighterXML.h"
#include <windows.h>
#include <cstring>
#include "editor/CodeEditStrConst.h"

namespace {

const TCodeHashEntryList& NoKeywords() {
  static const TCodeHashEntryList list(0);
  return list;
}
const TCodeHashCharTable& XmlHashTable() {
  static const TCodeHashCharTable table = MakeHashCharTable({});
  return table;
}

bool IsNameChar(unsigned char C) {
  return C == '-' || C == '.' || C == ':' || C == '_' || (C >= '0' && C <= '9') ||
         (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z');
}

// Blanks that continue a white-space token; a tab begins a new one.
bool IsSpaceRunChar(unsigned char C) {
  return C >= 1 && C <= 32 && C != '\t' && C != '\n' && C != '\r';
}

constexpr const char* kXmlSampleText =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n"
    "<!DOCTYPE notes []>\r\n"
    "<!-- Syntax highlighting -->\r\n"
    "<notes xmlns:n=\"urn:example:notes\">\r\n"
    "  <note date=\"2026-12-07\" title=\"Fish &amp; chips\">Buy food</note>\r\n"
    "  <![CDATA[Anything <goes> here]]>\r\n"
    "</notes>";

[[maybe_unused]] const bool kRegistered =
    RegisterHighlighterClass(TCodeXMLHighlighter::StaticClass());

}  // namespace

const TCodeHighlighterClass& TCodeXMLHighlighter::StaticClass() {
  static const TCodeHighlighterClass info{"TCodeXMLHighlighter",
                                          &TCodeHashHighlighter::StaticClass(),
                                          &TCodeXMLHighlighter::GetLanguageName,
                                          &TCodeXMLHighlighter::GetCapabilities};
  return info;
}

std::string TCodeXMLHighlighter::GetLanguageName() { return CES_LangXML; }

TCodeXMLHighlighter::TCodeXMLHighlighter(TComponent* Owner)
    : TCodeHashHighlighter(Owner, NoKeywords(), XmlHashTable(),
                           {static_cast<uint8_t>(K::tkNull), static_cast<uint8_t>(K::tkText),
                            static_cast<uint8_t>(K::tkText), false}) {
  const TFontStyles bold{TFontStyle::fsBold}, italic{TFontStyle::fsItalic};
  elementAttri_ = AddStyledAttribute(CES_AttrElementName, bold, 0x00000080);
  attributeAttri_ = AddStyledAttribute(CES_AttrAttributeName, {}, 0x00000080);
  nsAttributeAttri_ = AddStyledAttribute(CES_AttrNamespaceAttrName, {}, 0x000000FF);
  attributeValueAttri_ = AddStyledAttribute(CES_AttrAttributeValue, bold, 0x00800000);
  nsAttributeValueAttri_ = AddStyledAttribute(CES_AttrNamespaceAttrValue, bold, 0x000000FF);
  textAttri_ = AddStyledAttribute(CES_AttrText, bold, 0x00000000);
  cdataAttri_ = AddStyledAttribute(CES_AttrCDATASection, italic, 0x00008080);
  entityRefAttri_ = AddStyledAttribute(CES_AttrEntityReference, bold, 0x00FF0000);
  piAttri_ = AddStyledAttribute(CES_AttrProcessingInstr, {}, 0x00FF0000);
  commentAttri_ = AddStyledAttribute(CES_AttrComment, {TFontStyle::fsBold, TFontStyle::fsItalic},
                                     0x00808080);
  commentAttri_->SetBackground(0x00C0C0C0);
  docTypeAttri_ = AddStyledAttribute(CES_AttrDOCTYPESection, italic, 0x00FF0000);
  spaceAttri_ = AddStyledAttribute(CES_AttrWhitespace, {}, clNone);
  symbolAttri_ = AddStyledAttribute(CES_AttrSymbol, {}, 0x00FF0000);
  SetAttributesOnChange([this](TObject* Sender) { NotifyAttributesChanged(Sender); });

  for (int c = 0; c < 256; ++c) {
    TProcTableProc proc = &TCodeXMLHighlighter::IdentProc;
    switch (c) {
      case 0: proc = &TCodeXMLHighlighter::NullProc; break;
      case '\n': proc = &TCodeXMLHighlighter::LFProc; break;
      case '\r': proc = &TCodeXMLHighlighter::CRProc; break;
      case '<': proc = &TCodeXMLHighlighter::LessThanProc; break;
      case '>': proc = &TCodeXMLHighlighter::GreaterThanProc; break;
      default:
        if (c <= 32) proc = &TCodeXMLHighlighter::SpaceProc;
    }
    fProcTable[c] = proc;
  }
  SetRangeState(R::rsText);
  SetDefaultFilter(CES_FilterXML);
}

TCodeHighlighterAttributes* TCodeXMLHighlighter::GetDefaultAttribute(int Index) const {
  return DefaultAttributeByIndex(
      Index, {commentAttri_, attributeAttri_, elementAttri_, nullptr, spaceAttri_, symbolAttri_});
}

TCodeCharSet TCodeXMLHighlighter::GetIdentifierChars() const {
  return WebIdentifierChars() | CodeCharSet("-.");
}

std::string TCodeXMLHighlighter::GetSampleText() const { return kXmlSampleText; }

bool TCodeXMLHighlighter::IsDefaultFilterStored() const {
  return GetDefaultFilter() != CES_FilterXML;
}

TCodeHighlighterAttributes* TCodeXMLHighlighter::GetTokenAttribute() const {
  switch (static_cast<K>(fTokenID)) {
    case K::tkElement: return elementAttri_;
    case K::tkAttribute: return attributeAttri_;
    case K::tknsAttribute: return nsAttributeAttri_;
    case K::tkAposAttrValue:
    case K::tkQuoteAttrValue: return attributeValueAttri_;
    case K::tknsAposAttrValue:
    case K::tknsQuoteAttrValue: return nsAttributeValueAttri_;
    case K::tkText: return textAttri_;
    case K::tkCDATA: return cdataAttri_;
    case K::tkAposEntityRef:
    case K::tkEntityRef:
    case K::tkQuoteEntityRef:
    case K::tknsAposEntityRef:
    case K::tknsQuoteEntityRef: return entityRefAttri_;
    case K::tkProcessingInstruction: return piAttri_;
    case K::tkComment: return commentAttri_;
    case K::tkDocType: return docTypeAttri_;
    case K::tkSpace: return spaceAttri_;
    case K::tkEqual:
    case K::tkSymbol:
    case K::tknsEqual: return symbolAttri_;
    case K::tkNull: return nullptr;
  }
  return nullptr;
}

void TCodeXMLHighlighter::SetRange(TCodeHighlighterRange Value) {
  bool valid = Value >= 0 && Value <= static_cast<int>(R::rsDocTypeSquareBraces);
  SetRangeState(valid ? static_cast<R>(Value) : R::rsText);
}

void TCodeXMLHighlighter::ResetRange() { SetRangeState(R::rsText); }

bool TCodeXMLHighlighter::LookingAt(const char* Text) const {
  return std::strncmp(fLineStr + Run, Text, std::strlen(Text)) == 0;
}

void TCodeXMLHighlighter::ScanToken() {
  ScanByRange();
  // A scanner that met an empty name or value has only changed the state; the scanner of the
  // new state takes the same character, so that no token is empty and every step advances.
  while (Run == fTokenPos && !AtLineTerminator()) ScanByRange();
}

void TCodeXMLHighlighter::ScanByRange() {
  switch (Range()) {
    case R::rsCDATA: CDATAProc(); break;
    case R::rsComment: CommentProc(); break;
    case R::rsProcessingInstruction: ProcessingInstructionProc(); break;
    case R::rsText: TextProc(); break;
    case R::rsDocType:
    case R::rsDocTypeSquareBraces: DocTypeProc(); break;
    default: ScanByTable();
  }
}

void TCodeXMLHighlighter::NullProc() {
  SetKind(AtLineTerminator() ? K::tkNull : K::tkSpace);
  if (!AtLineTerminator()) ++Run;  // a zero byte inside the line is a blank
}

void TCodeXMLHighlighter::LFProc() {
  SetKind(K::tkSpace);
  ++Run;
}

void TCodeXMLHighlighter::CRProc() {
  SetKind(K::tkSpace);
  ++Run;
  if (At(Run) == '\n') ++Run;
}

void TCodeXMLHighlighter::SpaceProc() {
  SetKind(K::tkSpace);
  ++Run;
  while (IsSpaceRunChar(At(Run))) ++Run;
}

void TCodeXMLHighlighter::LessThanProc() {
  ++Run;
  if (At(Run) == '/') ++Run;
  if (At(Run) == '!') {
    if (LookingAt("!--")) {
      SetKind(K::tkSymbol);
      SetRangeState(R::rsComment);
      Run += 3;
    } else if (LookingAt("!DOCTYPE")) {
      SetKind(K::tkDocType);
      SetRangeState(R::rsDocType);
      Run += 7;
    } else if (LookingAt("![CDATA[")) {
      SetKind(K::tkCDATA);
      SetRangeState(R::rsCDATA);
      Run += 7;
    } else {
      SetKind(K::tkSymbol);
      SetRangeState(R::rsElement);
      ++Run;
    }
  } else if (At(Run) == '?') {
    SetKind(K::tkProcessingInstruction);
    SetRangeState(R::rsProcessingInstruction);
    ++Run;
  } else {
    SetKind(K::tkSymbol);
    SetRangeState(R::rsElement);
  }
}

void TCodeXMLHighlighter::GreaterThanProc() {
  SetKind(K::tkSymbol);
  SetRangeState(R::rsText);
  ++Run;
}

void TCodeXMLHighlighter::IdentProc() {
  switch (Range()) {
    case R::rsElement: ElementNameProc(); break;
    case R::rsAttribute: AttributeNameProc(); break;
    case R::rsEqual:
    case R::rsnsEqual: EqualProc(); break;
    case R::rsQuoteAttrValue:
    case R::rsnsQuoteAttrValue: QuoteValueProc(); break;
    case R::rsAposAttrValue:
    case R::rsnsAposAttrValue: AposValueProc(); break;
    case R::rsQuoteEntityRef: EntityRefProc(K::tkQuoteEntityRef, R::rsQuoteAttrValue); break;
    case R::rsnsQuoteEntityRef: EntityRefProc(K::tknsQuoteEntityRef, R::rsnsQuoteAttrValue); break;
    case R::rsAPosEntityRef: EntityRefProc(K::tkAposEntityRef, R::rsAposAttrValue); break;
    case R::rsnsAPosEntityRef: EntityRefProc(K::tknsAposEntityRef, R::rsnsAposAttrValue); break;
    case R::rsEntityRef: EntityRefProc(K::tkEntityRef, R::rsText); break;
    default: TextProc(); break;  // the scanners of the other states never get here
  }
}

void TCodeXMLHighlighter::ElementNameProc() {
  if (At(Run) == '/') ++Run;
  for (;;) {
    if (IsNameChar(At(Run))) {
      ++Run;
    } else if (!AtEnd(Run) && IsDBCSLeadByte(At(Run)) && !AtEnd(Run + 1)) {
      Run += 2;
    } else {
      break;
    }
  }
  SetKind(K::tkElement);
  SetRangeState(R::rsAttribute);
}

void TCodeXMLHighlighter::AttributeNameProc() {
  if (At(Run) == '"' || At(Run) == '\'') {
    SetKind(K::tkSymbol);
    ++Run;
    return;
  }
  int start = Run;
  while (IsNameChar(At(Run))) ++Run;
  bool ns = std::string(fLineStr + start, Run - start).find("xmlns") != std::string::npos;
  SetKind(ns ? K::tknsAttribute : K::tkAttribute);
  SetRangeState(ns ? R::rsnsEqual : R::rsEqual);
}

void TCodeXMLHighlighter::EqualProc() {
  const bool ns = Range() == R::rsnsEqual;
  SetKind(ns ? K::tknsEqual : K::tkEqual);
  while (!LineBreakOrEnd()) {
    unsigned char c = At(Run++);
    if (c == '/') {
      SetKind(K::tkSymbol);
      SetRangeState(R::rsElement);
      return;
    }
    if (c == '"') {
      SetRangeState(ns ? R::rsnsQuoteAttrValue : R::rsQuoteAttrValue);
      return;
    }
    if (c == '\'') {
      SetRangeState(ns ? R::rsnsAposAttrValue : R::rsAposAttrValue);
      return;
    }
  }
}

void TCodeXMLHighlighter::QuoteValueProc() {
  const bool ns = Range() == R::rsnsQuoteAttrValue;
  SetKind(ns ? K::tknsQuoteAttrValue : K::tkQuoteAttrValue);
  for (; !LineBreakOrEnd(); ++Run) {
    if (At(Run) == '"') {
      SetRangeState(R::rsAttribute);  // the quote is the next token
      return;
    }
    if (At(Run) == '&') {
      SetRangeState(ns ? R::rsnsQuoteEntityRef : R::rsQuoteEntityRef);
      return;
    }
  }
}

void TCodeXMLHighlighter::AposValueProc() {
  const bool ns = Range() == R::rsnsAposAttrValue;
  SetKind(ns ? K::tknsAposAttrValue : K::tkAposAttrValue);
  for (; !LineBreakOrEnd(); ++Run) {
    if (At(Run) == '\'') {
      SetRangeState(R::rsAttribute);
      return;
    }
    if (At(Run) == '&') {
      SetRangeState(ns ? R::rsnsAPosEntityRef : R::rsAPosEntityRef);
      return;
    }
  }
}

void TCodeXMLHighlighter::EntityRefProc(K Kind, R Back) {
  SetKind(Kind);
  while (!AtEnd(Run) && At(Run) > 32 && At(Run) != ';') ++Run;
  if (At(Run) == ';') ++Run;
  SetRangeState(Back);
}

void TCodeXMLHighlighter::TextProc() {
  if (At(Run) < 32 || At(Run) == '<') {
    ScanByTable();
    return;
  }
  SetKind(K::tkText);
  while (At(Run) >= 32 && At(Run) != '&' && At(Run) != '<') ++Run;
  if (At(Run) == '&') SetRangeState(R::rsEntityRef);
}

void TCodeXMLHighlighter::CommentProc() {
  if (LineBreakOrEnd() || At(Run) == 0) {
    ScanByTable();
    return;
  }
  if (LookingAt("-->")) {
    SetKind(K::tkSymbol);
    SetRangeState(R::rsText);
    Run += 3;
    return;
  }
  SetKind(K::tkComment);
  while (!LineBreakOrEnd() && !LookingAt("-->")) ++Run;
}

void TCodeXMLHighlighter::ProcessingInstructionProc() {
  if (LineBreakOrEnd() || At(Run) == 0) {
    ScanByTable();
    return;
  }
  SetKind(K::tkProcessingInstruction);
  for (; !LineBreakOrEnd(); ++Run) {
    if (At(Run) == '>' && Run > 0 && At(Run - 1) == '?') {
      SetRangeState(R::rsText);
      ++Run;
      return;
    }
  }
}

void TCodeXMLHighlighter::CDATAProc() {
  if (LineBreakOrEnd() || At(Run) == 0) {
    ScanByTable();
    return;
  }
  SetKind(K::tkCDATA);
  for (; !LineBreakOrEnd(); ++Run) {
    if (At(Run) == '>' && Run > 0 && At(Run - 1) == ']') {
      SetRangeState(R::rsText);
      ++Run;
      return;
    }
  }
}

void TCodeXMLHighlighter::DocTypeProc() {
  if (LineBreakOrEnd() || At(Run) == 0) {
    ScanByTable();
    return;
  }
  SetKind(K::tkDocType);
  if (Range() == R::rsDocTypeSquareBraces) {
    for (; !LineBreakOrEnd(); ++Run)
      if (At(Run) == ']') {
        SetRangeState(R::rsDocType);
        ++Run;
        return;
      }
    return;
  }
  for (; !LineBreakOrEnd(); ++Run) {
    if (At(Run) == '>') {
      SetRangeState(R::rsText);
      ++Run;
      return;
    }
    if (At(Run) != '[') continue;
    // The internal subset: to its matching bracket, or on to the next lines.
    int depth = 0;
    for (; !LineBreakOrEnd(); ++Run) {
      if (At(Run) == '[') ++depth;
      if (At(Run) == ']' && --depth == 0) {
        ++Run;
        return;
      }
    }
    SetRangeState(R::rsDocTypeSquareBraces);
    return;
  }
}
