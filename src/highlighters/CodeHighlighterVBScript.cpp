#include "highlighters/CodeHighlighterVBScript.h"
#include "editor/CodeEditStrConst.h"

namespace {

constexpr int kVBScriptKeywordTableSize = 134;

const TCodeHashCharTable& VBScriptHashTable() {
  static const TCodeHashCharTable table = MakeHashCharTable({{'_', 31}});
  return table;
}

const TCodeIdentCharTable& VBScriptIdentTable() {
  static const TCodeIdentCharTable table = MakeIdentCharTable();
  return table;
}

constexpr uint8_t kSpace = static_cast<uint8_t>(TVBScriptTokenKind::tkSpace);
constexpr uint8_t kSymbol = static_cast<uint8_t>(TVBScriptTokenKind::tkSymbol);

const TCodeHashEntryList& VBScriptKeywords() {
  static const TCodeHashEntryList list = [] {
    TCodeHashEntryList l(kVBScriptKeywordTableSize);
    for (const char* word : TCodeVBScriptHighlighter::Keywords()) {
      int length = 0;
      l.Add(HashIdentifier(VBScriptHashTable(), VBScriptIdentTable(), word, length), word,
            static_cast<uint8_t>(TVBScriptTokenKind::tkKey));
    }
    return l;
  }();
  return list;
}

constexpr const char* kVBScriptSampleText =
    "' Syntax highlighting\r\n"
    "function printNumber()\r\n"
    "  number = 12345\r\n"
    "  document.write(\"The number is \" + number)\r\n"
    "  for i = 0 to 10\r\n"
    "    number = number + 1\r\n"
    "  next\r\n"
    "end function";

[[maybe_unused]] const bool kRegistered =
    RegisterHighlighterClass(TCodeVBScriptHighlighter::StaticClass());

}  // namespace

const std::vector<const char*>& TCodeVBScriptHighlighter::Keywords() {
  static const std::vector<const char*> words = {
    "And", "As", "Boolean", "ByRef", "Byte", "ByVal", "Call", "Case", "Class", "Const",
    "Currency", "Debug", "Dim", "Do", "Double", "Each", "Else", "ElseIf", "Empty", "End",
    "EndIf", "Enum", "Eqv", "Erase", "Error", "Event", "Exit", "Explicit", "False", "For",
    "Function", "Get", "GoTo", "If", "Imp", "Implements", "In", "Integer", "Is", "Let", "Like",
    "Long", "Loop", "LSet", "Me", "Mod", "New", "Next", "Not", "Nothing", "Null", "On",
    "Option", "Optional", "Or", "ParamArray", "Preserve", "Private", "property", "Public",
    "RaiseEvent", "Randomize", "ReDim", "Rem", "Resume", "RSet", "Select", "Set", "Shared",
    "Single", "Static", "Stop", "Sub", "Then", "To", "True", "Type", "TypeOf", "Until",
    "Variant", "Wend", "While", "With", "Xor",
  };
  return words;
}

const TCodeHighlighterClass& TCodeVBScriptHighlighter::StaticClass() {
  static const TCodeHighlighterClass info{"TCodeVBScriptHighlighter",
                                          &TCodeHashHighlighter::StaticClass(),
                                          &TCodeVBScriptHighlighter::GetLanguageName,
                                          &TCodeVBScriptHighlighter::GetCapabilities};
  return info;
}

std::string TCodeVBScriptHighlighter::GetLanguageName() { return CES_LangVBSScript; }

TCodeVBScriptHighlighter::TCodeVBScriptHighlighter(TComponent* Owner)
    : TCodeHashHighlighter(Owner, VBScriptKeywords(), VBScriptHashTable(),
                           {static_cast<uint8_t>(TVBScriptTokenKind::tkNull),
                            static_cast<uint8_t>(TVBScriptTokenKind::tkIdentifier),
                            static_cast<uint8_t>(TVBScriptTokenKind::tkIdentifier), false}) {
  CreateAttributes();
  SetAttributesOnChange([this](TObject* Sender) { NotifyAttributesChanged(Sender); });
  MakeMethodTables();
  SetDefaultFilter(CES_FilterVBScript);
}

void TCodeVBScriptHighlighter::CreateAttributes() {
  commentAttri_ = AddStyledAttribute(CES_AttrComment, {TFontStyle::fsItalic});
  identifierAttri_ = AddStyledAttribute(CES_AttrIdentifier, {});
  keyAttri_ = AddStyledAttribute(CES_AttrReservedWord, {TFontStyle::fsBold});
  numberAttri_ = AddStyledAttribute(CES_AttrNumber, {});
  spaceAttri_ = AddStyledAttribute(CES_AttrSpace, {});
  stringAttri_ = AddStyledAttribute(CES_AttrString, {});
  symbolAttri_ = AddStyledAttribute(CES_AttrSymbol, {});
}

void TCodeVBScriptHighlighter::MakeMethodTables() {
  using T = TCodeVBScriptHighlighter;
  for (int c = 0; c < 256; ++c) {
    TProcTableProc proc = &T::UnknownProc;
    if (c == 0) proc = &T::NullProc;
    else if (c == '\n') proc = &T::LFProc;
    else if (c == '\r') proc = &T::CRProc;
    else if (c <= 32) proc = &T::SpaceProc;
    else if ((c >= 'A' && c <= 'Z') || c == '_' || (c >= 'a' && c <= 'z')) proc = &T::IdentProc;
    else if (IsDigit(c)) proc = &T::NumberProc;
    else if (c == '\'') proc = &T::ApostropheProc;
    else if (c == '"') proc = &T::StringProc;
    else if (c == '#') proc = &T::DateProc;
    else if (c == '<') proc = &T::LowerProc;
    else if (c == '>') proc = &T::GreaterProc;
    else if (c == '&' || (c >= '(' && c <= '/') || c == ':' || c == ';' || c == '=' ||
             c == '^' || c == '{' || c == '}')
      proc = &T::SymbolProc;
    fProcTable[c] = proc;
  }
}

TCodeHighlighterAttributes* TCodeVBScriptHighlighter::GetDefaultAttribute(int Index) const {
  return DefaultAttributeByIndex(
      Index, {commentAttri_, identifierAttri_, keyAttri_, stringAttri_, spaceAttri_, symbolAttri_});
}

TCodeCharSet TCodeVBScriptHighlighter::GetIdentifierChars() const { return WebIdentifierChars(); }

std::string TCodeVBScriptHighlighter::GetSampleText() const { return kVBScriptSampleText; }

bool TCodeVBScriptHighlighter::IsDefaultFilterStored() const {
  return GetDefaultFilter() != CES_FilterVBScript;
}

TCodeHighlighterAttributes* TCodeVBScriptHighlighter::GetTokenAttribute() const {
  switch (static_cast<TVBScriptTokenKind>(fTokenID)) {
    case TVBScriptTokenKind::tkComment: return commentAttri_;
    case TVBScriptTokenKind::tkIdentifier: return identifierAttri_;
    case TVBScriptTokenKind::tkKey: return keyAttri_;
    case TVBScriptTokenKind::tkNumber: return numberAttri_;
    case TVBScriptTokenKind::tkSpace: return spaceAttri_;
    case TVBScriptTokenKind::tkString: return stringAttri_;
    case TVBScriptTokenKind::tkSymbol: return symbolAttri_;
    case TVBScriptTokenKind::tkUnknown: return identifierAttri_;
    case TVBScriptTokenKind::tkNull: return nullptr;
  }
  return nullptr;
}

void TCodeVBScriptHighlighter::ScanToken() { (this->*fProcTable[At(Run)])(); }

void TCodeVBScriptHighlighter::NullProc() { NullStep(kSpace); }
void TCodeVBScriptHighlighter::LFProc() { LineFeedStep(kSpace); }
void TCodeVBScriptHighlighter::CRProc() { CarriageReturnStep(kSpace); }
void TCodeVBScriptHighlighter::SpaceProc() { BlankStep(kSpace); }

void TCodeVBScriptHighlighter::IdentProc() { IdentStep(VBScriptIdentTable()); }

void TCodeVBScriptHighlighter::NumberProc() {
  SetKind(TVBScriptTokenKind::tkNumber);
  ++Run;
  while (IsDigit(At(Run)) || At(Run) == '.' || At(Run) == 'e' || At(Run) == 'E') ++Run;
}

void TCodeVBScriptHighlighter::ApostropheProc() {
  SetKind(TVBScriptTokenKind::tkComment);
  while (!IsLineBreakOrEnd(At(Run))) ++Run;
}

void TCodeVBScriptHighlighter::ScanToCloser(unsigned char Closer) {
  do {
    ++Run;
  } while (!IsLineBreakOrEnd(At(Run)) && At(Run) != Closer);
  if (At(Run) == Closer) ++Run;
}

void TCodeVBScriptHighlighter::StringProc() {
  SetKind(TVBScriptTokenKind::tkString);
  if (At(Run + 1) == '"' && At(Run + 2) == '"') Run += 2;
  ScanToCloser('"');
}

void TCodeVBScriptHighlighter::DateProc() {
  SetKind(TVBScriptTokenKind::tkString);
  ScanToCloser('#');
}

void TCodeVBScriptHighlighter::LowerProc() { SymbolStep(kSymbol, "=>"); }
void TCodeVBScriptHighlighter::GreaterProc() { SymbolStep(kSymbol, "="); }
void TCodeVBScriptHighlighter::SymbolProc() { SymbolStep(kSymbol); }

void TCodeVBScriptHighlighter::UnknownProc() {
  SetKind(TVBScriptTokenKind::tkIdentifier);
  Run += CharLengthAtRun();
}

void ApplyMainWindowColors(TCodeVBScriptHighlighter& Highlighter) {
  Highlighter.BeginUpdate();
  Highlighter.CommentAttri()->SetForeground(clGreen);
  Highlighter.CommentAttri()->SetStyle({});
  Highlighter.KeyAttri()->SetForeground(clBlue);
  Highlighter.KeyAttri()->SetStyle({});
  Highlighter.NumberAttri()->SetForeground(clPurple);
  Highlighter.StringAttri()->SetForeground(clTeal);
  Highlighter.SymbolAttri()->SetForeground(clGray);
  Highlighter.EndUpdate();
}
