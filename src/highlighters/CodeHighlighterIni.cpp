#include "highlighters/CodeHighlighterIni.h"
#include "editor/CodeEditStrConst.h"

namespace {

using K = TIniTokenKind;
constexpr uint8_t kSpace = static_cast<uint8_t>(K::tkSpace);

// The INI highlighter recognises no keywords: an empty table and no letter values needed.
const TCodeHashEntryList& NoKeywords() {
  static const TCodeHashEntryList list(0);
  return list;
}
const TCodeHashCharTable& IniHashTable() {
  static const TCodeHashCharTable table = MakeHashCharTable({});
  return table;
}

bool IsSpaceChar(unsigned char C) { return C >= 1 && C <= 32 && C != '\r' && C != '\n'; }
bool IsLetter(unsigned char C) { return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z'); }

constexpr const char* kIniSampleText =
    "; Syntax highlighting\r\n"
    "[Section]\r\n"
    "Key=value\r\n"
    "String=\"Arial\"\r\n"
    "Number=123456";

[[maybe_unused]] const bool kRegistered =
    RegisterHighlighterClass(TCodeIniHighlighter::StaticClass());

}  // namespace

const TCodeHighlighterClass& TCodeIniHighlighter::StaticClass() {
  static const TCodeHighlighterClass info{"TCodeIniHighlighter",
                                          &TCodeHashHighlighter::StaticClass(),
                                          &TCodeIniHighlighter::GetLanguageName,
                                          &TCodeIniHighlighter::GetCapabilities};
  return info;
}

std::string TCodeIniHighlighter::GetLanguageName() { return CES_LangINI; }

TCodeIniHighlighter::TCodeIniHighlighter(TComponent* Owner)
    : TCodeHashHighlighter(Owner, NoKeywords(), IniHashTable(),
                           {static_cast<uint8_t>(K::tkNull), static_cast<uint8_t>(K::tkText),
                            static_cast<uint8_t>(K::tkText), false}) {
  auto make = [this](const char* Name) {
    return AddAttribute(std::make_unique<TCodeHighlighterAttributes>(Name));
  };
  commentAttri_ = make(CES_AttrComment);
  commentAttri_->SetStyle({TFontStyle::fsItalic});
  commentAttri_->SetForeground(clGreen);
  textAttri_ = make(CES_AttrText);
  sectionAttri_ = make(CES_AttrSection);
  sectionAttri_->SetStyle({TFontStyle::fsBold});
  keyAttri_ = make(CES_AttrKey);
  numberAttri_ = make(CES_AttrNumber);
  spaceAttri_ = make(CES_AttrSpace);
  stringAttri_ = make(CES_AttrString);
  symbolAttri_ = make(CES_AttrSymbol);
  SetAttributesOnChange([this](TObject* Sender) { NotifyAttributesChanged(Sender); });

  for (int c = 0; c < 256; ++c) {
    TProcTableProc proc = &TCodeIniHighlighter::TextProc;
    switch (c) {
      case 0: proc = &TCodeIniHighlighter::NullProc; break;
      case '\n': proc = &TCodeIniHighlighter::LFProc; break;
      case '\r': proc = &TCodeIniHighlighter::CRProc; break;
      case '[': proc = &TCodeIniHighlighter::SectionOpenProc; break;
      case ';': proc = &TCodeIniHighlighter::CommentProc; break;
      case '=': proc = &TCodeIniHighlighter::EqualProc; break;
      case '"':
      case '\'': proc = &TCodeIniHighlighter::StringProc; break;
      default:
        if (IsSpaceChar(static_cast<unsigned char>(c)))
          proc = &TCodeIniHighlighter::SpaceProc;
        else if (IsDigit(static_cast<unsigned char>(c)))
          proc = &TCodeIniHighlighter::NumberProc;
    }
    fProcTable[c] = proc;
  }
  SetDefaultFilter(CES_FilterINI);
}

TCodeHighlighterAttributes* TCodeIniHighlighter::GetDefaultAttribute(int Index) const {
  return DefaultAttributeByIndex(
      Index, {commentAttri_, nullptr, keyAttri_, stringAttri_, spaceAttri_, symbolAttri_});
}

TCodeCharSet TCodeIniHighlighter::GetIdentifierChars() const {
  return WebIdentifierChars();
}

std::string TCodeIniHighlighter::GetSampleText() const { return kIniSampleText; }

bool TCodeIniHighlighter::IsDefaultFilterStored() const {
  return GetDefaultFilter() != CES_FilterINI;
}

TCodeHighlighterAttributes* TCodeIniHighlighter::GetTokenAttribute() const {
  switch (static_cast<K>(fTokenID)) {
    case K::tkComment: return commentAttri_;
    case K::tkText: return textAttri_;
    case K::tkSection: return sectionAttri_;
    case K::tkKey: return keyAttri_;
    case K::tkNumber: return numberAttri_;
    case K::tkSpace: return spaceAttri_;
    case K::tkString: return stringAttri_;
    case K::tkSymbol: return symbolAttri_;
    case K::tkUnknown: return textAttri_;
    case K::tkNull: return nullptr;
  }
  return nullptr;
}

void TCodeIniHighlighter::ScanToken() { (this->*fProcTable[At(Run)])(); }

void TCodeIniHighlighter::NullProc() { NullStep(static_cast<uint8_t>(K::tkUnknown)); }
void TCodeIniHighlighter::LFProc() { LineFeedStep(kSpace); }
void TCodeIniHighlighter::CRProc() { CarriageReturnStep(kSpace); }
void TCodeIniHighlighter::SpaceProc() { BlankStep(kSpace); }

void TCodeIniHighlighter::SectionOpenProc() {
  if (Run != 0) {
    SetKind(K::tkText);
    ++Run;
    return;
  }
  SetKind(K::tkSection);
  ++Run;
  while (!AtEnd(Run) && At(Run) != ']') ++Run;
  if (!AtEnd(Run)) ++Run;
}

void TCodeIniHighlighter::CommentProc() {
  if (Run != 0) {
    SetKind(K::tkText);
    ++Run;
    return;
  }
  SetKind(K::tkComment);
  Run = static_cast<int>(fLine.size());
}

void TCodeIniHighlighter::EqualProc() {
  SetKind(K::tkSymbol);
  ++Run;
}

void TCodeIniHighlighter::StringProc() {
  SetKind(K::tkString);
  const unsigned char quote = At(Run);
  if (!AtEnd(Run + 1) && At(Run + 1) == quote && !AtEnd(Run + 2) && At(Run + 2) == quote) Run += 2;
  ++Run;
  while (!AtEnd(Run) && At(Run) != quote) ++Run;
  if (!AtEnd(Run)) ++Run;
}

void TCodeIniHighlighter::NumberProc() {
  if (Run == 0) {
    KeyProc();
    return;
  }
  SetKind(K::tkNumber);
  ++Run;
  while (IsDigit(At(Run)) || At(Run) == '.' || At(Run) == 'E' || At(Run) == 'e') ++Run;
  if (IsLetter(At(Run))) {
    SetKind(K::tkText);
    while (IsDigit(At(Run)) || IsLetter(At(Run))) ++Run;
  }
}

void TCodeIniHighlighter::TextProc() {
  if (Run == 0) {
    KeyProc();
    return;
  }
  SetKind(K::tkText);
  ++Run;
  while (IsDigit(At(Run)) || IsLetter(At(Run))) ++Run;
}

void TCodeIniHighlighter::KeyProc() {
  SetKind(K::tkKey);
  ++Run;
  while (!AtEnd(Run) && At(Run) != '=') ++Run;
}
