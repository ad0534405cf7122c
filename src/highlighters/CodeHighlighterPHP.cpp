#include "highlighters/CodeHighlighterPHP.h"
#include "editor/CodeEditStrConst.h"

namespace {

constexpr int kPHPKeywordTableSize = 207;

const TCodeHashCharTable& PHPHashTable() {
  static const TCodeHashCharTable table = MakeHashCharTable({{'_', 31}});
  return table;
}

const TCodeIdentCharTable& PHPIdentTable() {
  static const TCodeIdentCharTable table = MakeIdentCharTable();
  return table;
}

bool IsDigit(unsigned char C) { return C >= '0' && C <= '9'; }
bool IsIdentChar(unsigned char C) { return PHPIdentTable()[C]; }
constexpr uint8_t kSpace = static_cast<uint8_t>(TPHPTokenKind::tkSpace);
constexpr uint8_t kSymbol = static_cast<uint8_t>(TPHPTokenKind::tkSymbol);

// The characters a PHP number may hold after its first digit.
bool IsNumberChar(unsigned char C) {
  return IsDigit(C) || C == '-' || C == '.' || (C >= 'A' && C <= 'F') || (C >= 'a' && C <= 'f') ||
         C == 'L' || C == 'l' || C == 'X' || C == 'x';
}

const TCodeHashEntryList& PHPKeywords() {
  static const TCodeHashEntryList list = [] {
    TCodeHashEntryList l(kPHPKeywordTableSize);
    for (const char* word : TCodePHPHighlighter::Keywords()) {
      int length = 0;
      l.Add(HashIdentifier(PHPHashTable(), PHPIdentTable(), word, length), word,
            static_cast<uint8_t>(TPHPTokenKind::tkKey));
    }
    return l;
  }();
  return list;
}

constexpr const char* kPHPSampleText =
    "// Syntax highlighting\r\n"
    "function printNumber()\r\n"
    "{\r\n"
    "  $number = 1234;\r\n"
    "  print \"The number is $number\";\r\n"
    "  for ($i = 0; $i <= $number; $i++)\r\n"
    "  {\r\n"
    "    $x++;\r\n"
    "    $x--;\r\n"
    "    $x += 1.0;\r\n"
    "  }\r\n"
    "}";

[[maybe_unused]] const bool kRegistered =
    RegisterHighlighterClass(TCodePHPHighlighter::StaticClass());

}  // namespace

const std::vector<const char*>& TCodePHPHighlighter::Keywords() {
  static const std::vector<const char*> words = {
    "__FILE__", "__LINE__", "and", "array", "break", "case", "cfunction", "class", "const",
    "continue", "default", "die", "do", "double", "echo", "else", "elseif", "empty", "endfor",
    "endif", "endswitch", "endwhile", "eval", "exit", "extends", "false", "float", "for",
    "foreach", "function", "global", "highlight_file", "highlight_string", "if", "include",
    "int", "integer", "isset", "list", "new", "object", "old_function", "or", "print", "real",
    "require", "return", "show_source", "static", "string", "switch", "true", "unset", "var",
    "while", "xor",
  };
  return words;
}

const TCodeHighlighterClass& TCodePHPHighlighter::StaticClass() {
  static const TCodeHighlighterClass info{"TCodePHPHighlighter",
                                          &TCodeHashHighlighter::StaticClass(),
                                          &TCodePHPHighlighter::GetLanguageName,
                                          &TCodePHPHighlighter::GetCapabilities};
  return info;
}

std::string TCodePHPHighlighter::GetLanguageName() { return CES_LangPHP; }

TCodePHPHighlighter::TCodePHPHighlighter(TComponent* Owner)
    : TCodeHashHighlighter(Owner, PHPKeywords(), PHPHashTable(),
                           {static_cast<uint8_t>(TPHPTokenKind::tkNull),
                            static_cast<uint8_t>(TPHPTokenKind::tkIdentifier),
                            static_cast<uint8_t>(TPHPTokenKind::tkIdentifier), false}) {
  CreateAttributes();
  SetAttributesOnChange([this](TObject* Sender) { NotifyAttributesChanged(Sender); });
  MakeMethodTables();
  SetRangeState(TPHPRangeState::rsUnknown);
  SetDefaultFilter(CES_FilterPHP);
}

void TCodePHPHighlighter::CreateAttributes() {
  commentAttri_ = AddStyledAttribute(CES_AttrComment, {TFontStyle::fsItalic});
  identifierAttri_ = AddStyledAttribute(CES_AttrIdentifier, {});
  keyAttri_ = AddStyledAttribute(CES_AttrReservedWord, {TFontStyle::fsBold});
  numberAttri_ = AddStyledAttribute(CES_AttrNumber, {});
  spaceAttri_ = AddStyledAttribute(CES_AttrSpace, {});
  stringAttri_ = AddStyledAttribute(CES_AttrString, {});
  symbolAttri_ = AddStyledAttribute(CES_AttrSymbol, {});
  variableAttri_ = AddStyledAttribute(CES_AttrVariable, {});
}

void TCodePHPHighlighter::MakeMethodTables() {
  using T = TCodePHPHighlighter;
  for (int c = 0; c < 256; ++c) {
    TProcTableProc proc = &T::UnknownProc;
    switch (c) {
      case 0: proc = &T::NullProc; break;
      case '\n': proc = &T::LFProc; break;
      case '\r': proc = &T::CRProc; break;
      case '$': proc = &T::VariableProc; break;
      case '\'': proc = &T::String39Proc; break;
      case '"': proc = &T::String34Proc; break;
      case '#': proc = &T::HashCommentProc; break;
      case '/': proc = &T::SlashProc; break;
      case '<': proc = &T::LowerProc; break;
      case '=': proc = &T::EqualProc; break;
      case '>': proc = &T::GreaterProc; break;
      case '&': proc = &T::AndSymbolProc; break;
      case '|': proc = &T::OrSymbolProc; break;
      case '+': proc = &T::PlusProc; break;
      case '-': proc = &T::MinusProc; break;
      case '!':
      case '%':
      case '*':
      case '^': proc = &T::NotSymbolProc; break;
      case '(': case ')': case ',': case '.': case ':': case ';': case '?': case '@':
      case '[': case ']': case '{': case '}': case '~': proc = &T::SymbolProc; break;
      default:
        if (c <= 32) proc = &T::SpaceProc;
        else if ((c >= 'A' && c <= 'Z') || c == '_' || (c >= 'a' && c <= 'z')) proc = &T::IdentProc;
        else if (IsDigit(c)) proc = &T::NumberProc;
    }
    fProcTable[c] = proc;
  }
}

TCodeHighlighterAttributes* TCodePHPHighlighter::GetDefaultAttribute(int Index) const {
  return DefaultAttributeByIndex(
      Index, {commentAttri_, identifierAttri_, keyAttri_, stringAttri_, spaceAttri_, symbolAttri_});
}

TCodeCharSet TCodePHPHighlighter::GetIdentifierChars() const { return WebIdentifierChars(); }

std::string TCodePHPHighlighter::GetSampleText() const { return kPHPSampleText; }

bool TCodePHPHighlighter::IsDefaultFilterStored() const {
  return GetDefaultFilter() != CES_FilterPHP;
}

TCodeHighlighterAttributes* TCodePHPHighlighter::GetTokenAttribute() const {
  switch (static_cast<TPHPTokenKind>(fTokenID)) {
    case TPHPTokenKind::tkComment: return commentAttri_;
    case TPHPTokenKind::tkIdentifier: return identifierAttri_;
    case TPHPTokenKind::tkKey: return keyAttri_;
    case TPHPTokenKind::tkNumber: return numberAttri_;
    case TPHPTokenKind::tkSpace: return spaceAttri_;
    case TPHPTokenKind::tkString: return stringAttri_;
    case TPHPTokenKind::tkSymbol: return symbolAttri_;
    case TPHPTokenKind::tkUnknown: return identifierAttri_;
    case TPHPTokenKind::tkVariable: return variableAttri_;
    case TPHPTokenKind::tkNull: return nullptr;
  }
  return nullptr;
}

void TCodePHPHighlighter::ResetRange() { SetRangeState(TPHPRangeState::rsUnknown); }

void TCodePHPHighlighter::ScanToken() {
  switch (Range()) {
    case TPHPRangeState::rsString39:
    case TPHPRangeState::rsString34: StringProc(); break;
    case TPHPRangeState::rsComment: CommentProc(); break;
    case TPHPRangeState::rsVarExpansion: StringVarProc(); break;
    default:
      SetRangeState(TPHPRangeState::rsUnknown);
      ScanByTable();
  }
}

void TCodePHPHighlighter::NullProc() { NullStep(kSpace); }
void TCodePHPHighlighter::LFProc() { LineFeedStep(kSpace); }
void TCodePHPHighlighter::CRProc() { CarriageReturnStep(kSpace); }
void TCodePHPHighlighter::SpaceProc() { BlankStep(kSpace); }

void TCodePHPHighlighter::IdentProc() { IdentStep(PHPIdentTable()); }

void TCodePHPHighlighter::VariableProc() {
  SetKind(TPHPTokenKind::tkVariable);
  ++Run;
  while (IsIdentChar(At(Run))) ++Run;
}

void TCodePHPHighlighter::NumberProc() {
  SetKind(TPHPTokenKind::tkNumber);
  ++Run;
  while (IsNumberChar(At(Run)) && !(At(Run) == '.' && At(Run + 1) == '.')) ++Run;
}

void TCodePHPHighlighter::String39Proc() {
  SetRangeState(TPHPRangeState::rsString39);
  ++Run;
  StringProc();
}

void TCodePHPHighlighter::String34Proc() {
  SetRangeState(TPHPRangeState::rsString34);
  ++Run;
  StringProc();
}

void TCodePHPHighlighter::HashCommentProc() {
  SetKind(TPHPTokenKind::tkComment);
  while (!IsLineBreakOrEnd(At(Run))) ++Run;
}

void TCodePHPHighlighter::SlashProc() {
  switch (At(Run + 1)) {
    case '*':
      SetRangeState(TPHPRangeState::rsComment);
      SetKind(TPHPTokenKind::tkComment);
      Run += 2;
      BlockCommentBodyStep(static_cast<uint8_t>(TPHPRangeState::rsUnknown));
      break;
    case '/':
      SetKind(TPHPTokenKind::tkComment);
      Run += 2;
      while (!IsLineBreakOrEnd(At(Run))) ++Run;
      break;
    case '=':
      SetKind(TPHPTokenKind::tkSymbol);
      Run += 2;
      break;
    default:
      SetKind(TPHPTokenKind::tkSymbol);
      ++Run;
  }
}

void TCodePHPHighlighter::CommentProc() {
  if (IsLineBreakOrEnd(At(Run))) {
    ScanByTable();
    return;
  }
  SetKind(TPHPTokenKind::tkComment);
  BlockCommentBodyStep(static_cast<uint8_t>(TPHPRangeState::rsUnknown));
}

void TCodePHPHighlighter::LowerProc() {
  if (At(Run + 1) == '<' && At(Run + 2) == '=') {
    SetKind(TPHPTokenKind::tkSymbol);
    Run += 3;
    return;
  }
  SymbolStep(kSymbol, "<=");
}

void TCodePHPHighlighter::EqualProc() { SymbolStep(kSymbol, "=>"); }
void TCodePHPHighlighter::GreaterProc() { SymbolStep(kSymbol, "=>"); }
void TCodePHPHighlighter::AndSymbolProc() { SymbolStep(kSymbol, "&="); }
void TCodePHPHighlighter::OrSymbolProc() { SymbolStep(kSymbol, "|="); }
void TCodePHPHighlighter::PlusProc() { SymbolStep(kSymbol, "+="); }
void TCodePHPHighlighter::MinusProc() { SymbolStep(kSymbol, "-=>"); }
void TCodePHPHighlighter::NotSymbolProc() { SymbolStep(kSymbol, "="); }

void TCodePHPHighlighter::SymbolProc() { SymbolStep(kSymbol); }

void TCodePHPHighlighter::UnknownProc() {
  SetKind(TPHPTokenKind::tkUnknown);
  Run += CharLengthAtRun();
}

bool TCodePHPHighlighter::IsEscaped(int Pos) const {
  int backslashes = 0;
  for (int i = Pos - 1; i >= 1 && fLineStr[i] == '\\'; --i) ++backslashes;
  return backslashes % 2 == 1;
}

void TCodePHPHighlighter::StringProc() {
  if (IsLineBreakOrEnd(At(Run)) && Run == fTokenPos) {
    ScanByTable();  // the string goes on after the break, in the same range
    return;
  }
  SetKind(TPHPTokenKind::tkString);
  const bool doubleQuoted = Range() == TPHPRangeState::rsString34;
  const unsigned char quote = doubleQuoted ? '"' : '\'';
  while (!IsLineBreakOrEnd(At(Run))) {
    unsigned char c = At(Run);
    if (c == quote && !IsEscaped(Run)) {
      ++Run;
      SetRangeState(TPHPRangeState::rsUnknown);
      return;
    }
    if (doubleQuoted && c == '$' && (At(Run + 1) == '{' || IsIdentChar(At(Run + 1)))) {
      int start = Run;
      // "{$" opens a braced variable; never step back into an earlier token.
      if (Run >= 2 && Run - 1 >= fTokenPos && At(Run - 1) == '{') start = Run - 1;
      if (!IsEscaped(start)) {
        Run = start;
        SetRangeState(TPHPRangeState::rsVarExpansion);
        return;
      }
    }
    ++Run;
  }
}

int TCodePHPHighlighter::IndexOrMemberEnd(int Pos) const {
  if (At(Pos) == '-' && At(Pos + 1) == '>') {
    int p = Pos + 2;
    if (!IsIdentChar(At(p))) return -1;
    while (IsIdentChar(At(p))) ++p;
    return p;
  }
  if (At(Pos) != '[') return -1;
  int p = Pos, open = 0;
  while (At(p) == '[') {
    ++open;
    ++p;
  }
  if (At(p) == '\'') {
    ++p;
    while (!IsLineBreakOrEnd(At(p)) && At(p) != '\'') ++p;
    if (At(p) != '\'') return -1;
    ++p;
  } else {
    if (!IsIdentChar(At(p))) return -1;
    while (IsIdentChar(At(p))) ++p;
  }
  for (; open > 0; --open, ++p)
    if (At(p) != ']') return -1;
  return p;
}

void TCodePHPHighlighter::StringVarProc() {
  SetRangeState(TPHPRangeState::rsString34);
  // Only a state restored from outside puts a variable at a break or the line's end.
  if (IsLineBreakOrEnd(At(Run))) {
    ScanByTable();
    return;
  }
  SetKind(TPHPTokenKind::tkVariable);
  const bool braced =
      (At(Run) == '{' && At(Run + 1) == '$') || (At(Run) == '$' && At(Run + 1) == '{');
  if (braced) {
    Run += 2;
    for (int depth = 1; !IsLineBreakOrEnd(At(Run));) {
      unsigned char c = At(Run++);
      if (c == '{') ++depth;
      else if (c == '}' && --depth == 0) return;
    }
    return;
  }
  ++Run;
  while (IsIdentChar(At(Run))) ++Run;
  for (int end; (end = IndexOrMemberEnd(Run)) >= 0;) Run = end;
}

void ApplyMainWindowColors(TCodePHPHighlighter& Highlighter) {
  Highlighter.BeginUpdate();
  Highlighter.CommentAttri()->SetForeground(clGreen);
  Highlighter.CommentAttri()->SetStyle({});
  Highlighter.IdentifierAttri()->SetForeground(clNavy);
  Highlighter.KeyAttri()->SetForeground(clBlue);
  Highlighter.KeyAttri()->SetStyle({});
  Highlighter.NumberAttri()->SetForeground(clPurple);
  Highlighter.StringAttri()->SetForeground(clTeal);
  Highlighter.SymbolAttri()->SetForeground(clGray);
  Highlighter.VariableAttri()->SetForeground(clMaroon);
  Highlighter.EndUpdate();
}
