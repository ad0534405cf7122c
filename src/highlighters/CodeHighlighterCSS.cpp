#include "highlighters/CodeHighlighterCSS.h"
#include "editor/CodeEditStrConst.h"

namespace {

constexpr const char* kCssPropertyAttri = "Property";
constexpr const char* kCssUndefPropertyAttri = "Undefined Property";

const TCodeHashCharTable& CssHashTable() {
  static const TCodeHashCharTable table = MakeHashCharTable({{'!', 123}, {'/', 122}});
  return table;
}

bool IsLetter(unsigned char C) { return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z'); }
bool IsDigit(unsigned char C) { return C >= '0' && C <= '9'; }
bool IsHexDigit(unsigned char C) {
  return IsDigit(C) || (C >= 'A' && C <= 'F') || (C >= 'a' && C <= 'f');
}
bool IsCssIdentChar(unsigned char C) { return IsLetter(C) || IsDigit(C) || C == '-' || C == '_'; }

constexpr uint8_t kSpace = static_cast<uint8_t>(TCssTokenKind::tkSpace);

// A comment never returns into a comment.
bool IsReturnRange(uint8_t Range) {
  return Range > static_cast<uint8_t>(TCssRangeState::rsComment) &&
         Range <= static_cast<uint8_t>(TCssRangeState::rsValue) &&
         Range != static_cast<uint8_t>(TCssRangeState::rsUnused);
}

// The state of a comment that returns to a range other than outside braces.
constexpr TCodeHighlighterRange kCommentReturning = 8;

// The scan state without keyword functions: properties live in each instance's own list.
const TCodeHashEntryList& NoKeywords() {
  static const TCodeHashEntryList list;
  return list;
}

constexpr const char* kCssSampleText =
    "/* Syntax highlighting */\r\n"
    "body\r\n"
    "{\r\n"
    "  font-family: \"Arial\", \"Helvetica\", sans-serif;\r\n"
    "  font-size: 12pt;\r\n"
    "}\r\n"
    "H1\r\n"
    "{\r\n"
    "  font-size: 1.5em;\r\n"
    "  color: #FF0000;\r\n"
    "  made-up-property: 1;\r\n"
    "}";

[[maybe_unused]] const bool kRegistered =
    RegisterHighlighterClass(TCodeCssHighlighter::StaticClass());

}  // namespace

const char* TCodeCssHighlighter::KeywordText() {
  return
    "azimuth, background, background-attachment, background-color, background-image, "
    "background-position, background-repeat, border, border-collapse, border-color, "
    "border-spacing, border-style, border-top, border-right, border-bottom, border-left, "
    "border-top-color, border-right-color, border-bottom-color, border-left-color, "
    "border-top-style, border-right-style, border-bottom-style, border-left-style, "
    "border-top-width, border-right-width, border-bottom-width, border-left-width, "
    "border-width, bottom, caption-side, clear, clip, color, content, counter-increment, "
    "counter-reset, cue, cue-after, cue-before, cursor, direction, display, elevation, "
    "empty-cells, float, font, font-family, font-size, font-size-adjust, font-stretch, "
    "font-style, font-variant, font-weight, height, left, letter-spacing, line-height, "
    "list-style, list-style-image, list-style-position, list-style-type, margin, margin-top, "
    "margin-right, margin-bottom, margin-left, marker-offset, marks, max-height, max-width, "
    "min-height, min-width, orphans, outline, outline-color, outline-style, outline-width, "
    "overflow, padding, padding-top, padding-right, padding-bottom, padding-left, page, "
    "page-break-after, page-break-before, page-break-inside, pause, pause-after, "
    "pause-before, pitch, pitch-range, play-during, position, quotes, richness, right, size, "
    "speak, speak-header, speak-numeral, speak-punctuation, speech-rate, stress, "
    "table-layout, text-align, text-decoration, text-indent, text-shadow, text-transform, "
    "top, unicode-bidi, vertical-align, visibility, voice-family, volume, white-space, "
    "widows, width, word-spacing, z-index";
}

int32_t TCodeCssHighlighter::Hash(const char* Text, int& Length) {
  const TCodeHashCharTable& table = CssHashTable();
  const unsigned char* p = reinterpret_cast<const unsigned char*>(Text);
  int64_t hash = 0;
  while (IsLetter(*p) || *p == '-') hash += table[*p++];
  while (IsDigit(*p)) hash += *p++ - '0';
  Length = static_cast<int>(p - reinterpret_cast<const unsigned char*>(Text));
  return ClampHash(hash);
}

void TCodeCssHighlighter::AddKeywords(TCodeHashEntryList& List, const std::string& Text,
                                      uint8_t Kind) {
  size_t i = 0;
  while (i < Text.size()) {
    while (i < Text.size() && !IsCssIdentChar(Text[i])) ++i;
    size_t start = i;
    while (i < Text.size() && IsCssIdentChar(Text[i])) ++i;
    if (i == start) break;
    std::string word = Text.substr(start, i - start);
    int length = 0;
    List.AddByLength(Hash(word.c_str(), length), word, Kind);
  }
}

const TCodeHighlighterClass& TCodeCssHighlighter::StaticClass() {
  static const TCodeHighlighterClass info{"TCodeCssHighlighter",
                                          &TCodeHashHighlighter::StaticClass(),
                                          &TCodeCssHighlighter::GetLanguageName,
                                          &TCodeCssHighlighter::GetCapabilities};
  return info;
}

std::string TCodeCssHighlighter::GetLanguageName() { return CES_LangCSS; }

TCodeCssHighlighter::TCodeCssHighlighter(TComponent* Owner)
    : TCodeHashHighlighter(Owner, NoKeywords(), CssHashTable(),
                           {static_cast<uint8_t>(TCssTokenKind::tkNull),
                            static_cast<uint8_t>(TCssTokenKind::tkUndefProperty),
                            static_cast<uint8_t>(TCssTokenKind::tkUndefProperty), false}) {
  CreateAttributes();
  SetAttributesOnChange([this](TObject* Sender) { NotifyAttributesChanged(Sender); });
  MakeMethodTables();
  AddKeywords(fKeywords, KeywordText(), static_cast<uint8_t>(TCssTokenKind::tkProperty));
  SetRangeState(TCssRangeState::rsSelector);
  SetDefaultFilter(CES_FilterCSS);
}

void TCodeCssHighlighter::CreateAttributes() {
  const TFontStyles bold{TFontStyle::fsBold};
  commentAttri_ = AddStyledAttribute(CES_AttrComment, {}, clNone);
  propertyAttri_ = AddStyledAttribute(kCssPropertyAttri, bold, clNone);
  keyAttri_ = AddStyledAttribute(CES_AttrReservedWord, bold, 0x00FF0080);
  spaceAttri_ = AddStyledAttribute(CES_AttrSpace, {}, clNone);
  stringAttri_ = AddStyledAttribute(CES_AttrString, {}, clNone);
  symbolAttri_ = AddStyledAttribute(CES_AttrSymbol, {}, clNone);
  textAttri_ = AddStyledAttribute(CES_AttrText, {}, clNone);
  undefPropertyAttri_ = AddStyledAttribute(kCssUndefPropertyAttri, bold, 0x00FF0080);
  valueAttri_ = AddStyledAttribute(CES_AttrValue, {}, 0x00FF8000);
  colorAttri_ = AddStyledAttribute(CES_AttrColorValue, {}, clNone);
  numberAttri_ = AddStyledAttribute(CES_AttrNumber, {}, clNone);
}

void TCodeCssHighlighter::MakeMethodTables() {
  for (int c = 0; c < 256; ++c) {
    TProcTableProc proc = &TCodeCssHighlighter::IdentProc;
    switch (c) {
      case 0: proc = &TCodeCssHighlighter::NullProc; break;
      case '\n': proc = &TCodeCssHighlighter::LFProc; break;
      case '\r': proc = &TCodeCssHighlighter::CRProc; break;
      case '{': proc = &TCodeCssHighlighter::BraceOpenProc; break;
      case '}': proc = &TCodeCssHighlighter::BraceCloseProc; break;
      case ';': proc = &TCodeCssHighlighter::SemiColonProc; break;
      case ':':
      case ',': proc = &TCodeCssHighlighter::ColonProc; break;
      case '/': proc = &TCodeCssHighlighter::SlashProc; break;
      case '"': proc = &TCodeCssHighlighter::StringProc; break;
      case '#': proc = &TCodeCssHighlighter::HashProc; break;
      case '.': proc = &TCodeCssHighlighter::NumberProc; break;
      default:
        if (c <= 32) proc = &TCodeCssHighlighter::SpaceProc;
        else if (IsDigit(c)) proc = &TCodeCssHighlighter::NumberProc;
    }
    fProcTable[c] = proc;
  }
}

TCodeHighlighterAttributes* TCodeCssHighlighter::GetDefaultAttribute(int Index) const {
  return DefaultAttributeByIndex(
      Index, {commentAttri_, nullptr, keyAttri_, stringAttri_, spaceAttri_, nullptr});
}

TCodeCharSet TCodeCssHighlighter::GetIdentifierChars() const {
  return CodeCharSet("-_") | CodeCharRange('0', '9') | CodeCharRange('A', 'Z') |
         CodeCharRange('a', 'z');
}

std::string TCodeCssHighlighter::GetSampleText() const { return kCssSampleText; }

bool TCodeCssHighlighter::IsDefaultFilterStored() const {
  return GetDefaultFilter() != CES_FilterCSS;
}

TCodeHighlighterAttributes* TCodeCssHighlighter::GetTokenAttribute() const {
  switch (static_cast<TCssTokenKind>(fTokenID)) {
    case TCssTokenKind::tkComment: return commentAttri_;
    case TCssTokenKind::tkProperty: return propertyAttri_;
    case TCssTokenKind::tkKey: return keyAttri_;
    case TCssTokenKind::tkSpace: return spaceAttri_;
    case TCssTokenKind::tkString: return stringAttri_;
    case TCssTokenKind::tkSymbol: return symbolAttri_;
    case TCssTokenKind::tkText: return textAttri_;
    case TCssTokenKind::tkUndefProperty: return undefPropertyAttri_;
    case TCssTokenKind::tkValue: return valueAttri_;
    case TCssTokenKind::tkColor: return colorAttri_;
    case TCssTokenKind::tkNumber: return numberAttri_;
    case TCssTokenKind::tkNull: return nullptr;
  }
  return nullptr;
}

TCodeHighlighterRange TCodeCssHighlighter::GetRange() const {
  if (Range() != TCssRangeState::rsComment) return fRange;
  if (fCommentReturn == static_cast<uint8_t>(TCssRangeState::rsSelector)) return 0;
  return kCommentReturning + fCommentReturn;
}

void TCodeCssHighlighter::SetRange(TCodeHighlighterRange Value) {
  const uint8_t selector = static_cast<uint8_t>(TCssRangeState::rsSelector);
  fCommentReturn = selector;
  if (Value >= 0 && Value <= 15 && IsReturnRange(static_cast<uint8_t>(Value))) {
    fRange = static_cast<uint8_t>(Value);
  } else if (Value == 0) {
    SetRangeState(TCssRangeState::rsComment);
  } else if (Value > kCommentReturning && Value <= 15 &&
             IsReturnRange(static_cast<uint8_t>(Value - kCommentReturning)) &&
             Value - kCommentReturning != selector) {
    SetRangeState(TCssRangeState::rsComment);
    fCommentReturn = static_cast<uint8_t>(Value - kCommentReturning);
  } else {
    fRange = selector;
  }
}

void TCodeCssHighlighter::ResetRange() {
  SetRangeState(TCssRangeState::rsSelector);
  fCommentReturn = static_cast<uint8_t>(TCssRangeState::rsSelector);
}

void TCodeCssHighlighter::ScanToken() {
  switch (Range()) {
    case TCssRangeState::rsComment: CommentProc(); break;
    case TCssRangeState::rsSelector: SelectorProc(); break;
    default: ScanByTable();
  }
}

void TCodeCssHighlighter::NullProc() { NullStep(kSpace); }
void TCodeCssHighlighter::LFProc() { LineFeedStep(kSpace); }
void TCodeCssHighlighter::CRProc() { CarriageReturnStep(kSpace); }
// A tab starts a new blank token.
void TCodeCssHighlighter::SpaceProc() { BlankStep(kSpace, true); }

void TCodeCssHighlighter::BraceOpenProc() {
  SetRangeState(TCssRangeState::rsProperty);
  SetKind(TCssTokenKind::tkSymbol);
  ++Run;
}

void TCodeCssHighlighter::BraceCloseProc() {
  SetRangeState(TCssRangeState::rsSelector);
  SetKind(TCssTokenKind::tkSymbol);
  ++Run;
}

void TCodeCssHighlighter::SemiColonProc() {
  SetRangeState(TCssRangeState::rsAfterSemicolon);
  SetKind(TCssTokenKind::tkSymbol);
  ++Run;
}

void TCodeCssHighlighter::ColonProc() {
  SetRangeState(TCssRangeState::rsValue);
  SetKind(TCssTokenKind::tkSymbol);
  ++Run;
}

void TCodeCssHighlighter::ScanCommentBody() {
  while (!IsLineBreakOrEnd(At(Run))) {
    if (At(Run) == '*' && At(Run + 1) == '/') {
      Run += 2;
      fRange = fCommentReturn;
      return;
    }
    ++Run;
  }
}

void TCodeCssHighlighter::SlashProc() {
  ++Run;
  if (At(Run) != '*') {
    SetKind(TCssTokenKind::tkSymbol);
    return;
  }
  SetKind(TCssTokenKind::tkComment);
  fCommentReturn = fRange;
  SetRangeState(TCssRangeState::rsComment);
  ++Run;
  ScanCommentBody();
}

void TCodeCssHighlighter::CommentProc() {
  // A line break inside the line is a blank of its own, or the comment token could not move.
  if (IsLineBreakOrEnd(At(Run))) {
    ScanByTable();
    return;
  }
  SetKind(TCssTokenKind::tkComment);
  ScanCommentBody();
}

void TCodeCssHighlighter::StringProc() {
  SetKind(TCssTokenKind::tkString);
  ++Run;
  while (!IsLineBreakOrEnd(At(Run)) && At(Run) != '"') ++Run;
  if (At(Run) == '"') ++Run;
}

void TCodeCssHighlighter::HashProc() {
  SetKind(TCssTokenKind::tkColor);
  ++Run;
  while (IsHexDigit(At(Run))) ++Run;
}

void TCodeCssHighlighter::NumberProc() {
  SetKind(TCssTokenKind::tkNumber);
  ++Run;
  for (;;) {
    unsigned char c = At(Run);
    if (c == '.' && At(Run + 1) == '.') break;
    if (c != '.' && !IsDigit(c)) break;
    ++Run;
  }
}

TCssTokenKind TCodeCssHighlighter::LookUpProperty() const {
  int length = 0;
  int32_t hash = Hash(fLineStr + Run, length);
  for (const TCodeHashEntry& entry : fKeywords.Entries(hash)) {
    if (static_cast<int>(entry.Keyword.size()) > length) break;
    if (KeyComp(CssHashTable(), entry.Keyword, fLineStr + Run, length))
      return static_cast<TCssTokenKind>(entry.Kind);
  }
  return TCssTokenKind::tkUndefProperty;
}

void TCodeCssHighlighter::IdentProc() {
  if (Range() == TCssRangeState::rsValue) {
    SetRangeState(TCssRangeState::rsProperty);
    SetKind(TCssTokenKind::tkValue);
    for (unsigned char c = At(Run); c != '\0' && c != '\n' && c != '\r' && c != ',' &&
                                    c != ';' && c != '}';
         c = At(Run))
      ++Run;
    return;
  }
  SetKind(LookUpProperty());
  ++Run;
  for (unsigned char c = At(Run); c >= 33 && c != '"' && c != ':' && c != ';' && c != '}';
       c = At(Run))
    ++Run;
}

void TCodeCssHighlighter::SelectorProc() {
  auto endsSelector = [](unsigned char C) { return C < 32 || C == '/' || C == '{'; };
  if (endsSelector(At(Run))) {
    ScanByTable();
    return;
  }
  SetKind(TCssTokenKind::tkKey);
  while (!endsSelector(At(Run))) ++Run;
}

void ApplyMainWindowColors(TCodeCssHighlighter& Highlighter) {
  Highlighter.BeginUpdate();
  Highlighter.CommentAttri()->SetForeground(clGreen);
  Highlighter.PropertyAttri()->SetForeground(clNavy);
  Highlighter.PropertyAttri()->SetStyle({});
  Highlighter.KeyAttri()->SetForeground(clBlue);
  Highlighter.KeyAttri()->SetStyle({});
  Highlighter.StringAttri()->SetForeground(clTeal);
  Highlighter.SymbolAttri()->SetForeground(clGray);
  Highlighter.UndefPropertyAttri()->SetForeground(clRed);
  Highlighter.UndefPropertyAttri()->SetStyle({});
  Highlighter.ValueAttri()->SetForeground(clTeal);
  Highlighter.ColorAttri()->SetForeground(clTeal);
  Highlighter.NumberAttri()->SetForeground(clTeal);
  Highlighter.EndUpdate();
}
