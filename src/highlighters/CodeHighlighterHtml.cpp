#include "highlighters/CodeHighlighterHtml.h"
#include <cstring>
#include <vector>
#include "editor/CodeEditStrConst.h"

namespace {

constexpr int kHtmlKeywordTableSize = 251;

const std::array<const char*, 202> kHtmlKeywords = {
    "/A", "A", "/ABBR", "ABBR", "/ACRONYM", "ACRONYM", "/ADDRESS", "ADDRESS", "/APPLET", "APPLET",
    "AREA", "/B", "B", "BASE", "BASEFONT", "/BDO", "BDO", "BGSOUND", "/BIG", "BIG", "/BLINK",
    "BLINK", "/BLOCKQUOTE", "BLOCKQUOTE", "/BODY", "BODY", "BR", "/BUTTON", "BUTTON", "/CAPTION",
    "CAPTION", "/CENTER", "CENTER", "/CITE", "CITE", "/CODE", "CODE", "COL", "/COLGROUP",
    "COLGROUP", "/COMMENT", "COMMENT", "/DD", "DD", "/DEL", "DEL", "/DFN", "DFN", "/DIR", "DIR",
    "/DIV", "DIV", "/DL", "DL", "!DOCTYPE", "/DT", "DT", "/EM", "EM", "/EMBED", "EMBED",
    "/FIELDSET", "FIELDSET", "/FONT", "FONT", "/FORM", "FORM", "FRAME", "/FRAMESET", "FRAMESET",
    "/H1", "H1", "/H2", "H2", "/H3", "H3", "/H4", "H4", "/H5", "H5", "/H6", "H6", "/HEAD", "HEAD",
    "HR", "/HTML", "HTML", "/I", "I", "/IFRAME", "IFRAME", "/ILAYER", "ILAYER", "IMG", "INPUT",
    "/INS", "INS", "ISINDEX", "/KBD", "KBD", "KEYGEN", "/LABEL", "LABEL", "/LAYER", "LAYER",
    "/LEGend", "LEGend", "/LI", "LI", "LINK", "/LISTING", "LISTING", "/MAP", "MAP", "/MARQUEE",
    "MARQUEE", "/MENU", "MENU", "META", "/MULTICOL", "MULTICOL", "NEXTID", "/NOBR", "NOBR",
    "/NOEMBED", "NOEMBED", "/NOFRAMES", "NOFRAMES", "/NOLAYER", "NOLAYER", "/NOSCRIPT",
    "NOSCRIPT", "/object", "object", "/OL", "OL", "/OPTGROUP", "OPTGROUP", "/OPTION", "OPTION",
    "/P", "P", "PARAM", "PLAINTEXT", "/PRE", "PRE", "/Q", "Q", "/S", "S", "/SAMP", "SAMP",
    "/SCRIPT", "SCRIPT", "/SELECT", "SELECT", "/SERVER", "SERVER", "/SMALL", "SMALL", "SPACER",
    "/SPAN", "SPAN", "/STRIKE", "STRIKE", "/STRONG", "STRONG", "/STYLE", "STYLE", "/SUB", "SUB",
    "/SUP", "SUP", "/TABLE", "TABLE", "/TBODY", "TBODY", "/TD", "TD", "/TEXTAREA", "TEXTAREA",
    "/TFOOT", "TFOOT", "/TH", "TH", "/THEAD", "THEAD", "/TITLE", "TITLE", "/TR", "TR", "/TT",
    "TT", "/U", "U", "/UL", "UL", "/var", "var", "WBR", "/XMP", "XMP",
};

const TCodeHashCharTable& HtmlHashTable() {
  static const TCodeHashCharTable table = MakeHashCharTable({{'!', 123}, {'/', 122}});
  return table;
}

constexpr uint8_t kSpace = static_cast<uint8_t>(THtmlTokenKind::tkSpace);

bool IsDigit(unsigned char C) { return C >= '0' && C <= '9'; }

bool IsHexDigit(unsigned char C) {
  return IsDigit(C) || (C >= 'A' && C <= 'F') || (C >= 'a' && C <= 'f');
}

// The HTML word hash: "!", "/" and letters (the characters the table gives a value) add their
// table values, then digits their own. Summed in 64 bits: a run of many megabytes must not
// overflow into a small hash.
int32_t HtmlHash(const char* Text, int& Length) {
  const TCodeHashCharTable& table = HtmlHashTable();
  int64_t hash = 0;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(Text);
  while (table[*p] != 0) hash += table[*p++];
  while (IsDigit(*p)) hash += *p++ - '0';
  Length = static_cast<int>(p - reinterpret_cast<const unsigned char*>(Text));
  return ClampHash(hash);
}

const TCodeHashEntryList& HtmlKeywords() {
  static const TCodeHashEntryList list = [] {
    TCodeHashEntryList l(kHtmlKeywordTableSize);
    for (const char* keyword : kHtmlKeywords) {
      int length = 0;
      l.Add(HtmlHash(keyword, length), keyword, static_cast<uint8_t>(THtmlTokenKind::tkKey));
    }
    return l;
  }();
  return list;
}

constexpr const char* kHtmlSampleText =
    "<!-- Syntax highlighting -->\r\n"
    "\r\n"
    "<html>\r\n"
    "<body bgcolor=\"red\">\r\n"
    "  <form name=\"frmLogin\" action=\"login.asp\" method=\"post\">\r\n"
    "    <input name=\"user\" value='any\r\n"
    "value'>\r\n"
    "  </form>\r\n"
    "  <invalid>Text &copy; 2026</invalid>\r\n"
    "</body>\r\n"
    "</html>";

// Registers the class when the unit is initialised.
[[maybe_unused]] const bool kRegistered =
    RegisterHighlighterClass(TCodeHTMLHighlighter::StaticClass());

}  // namespace

const std::array<const char*, 249>& TCodeHTMLHighlighter::EntityNames() {
  static const std::array<const char*, 249> names = {
      "&Alpha;", "&Beta;", "&Gamma;", "&Delta;", "&Epsilon;", "&Zeta;", "&Eta;", "&Theta;",
      "&Iota;", "&Kappa;", "&Lambda;", "&Mu;", "&Nu;", "&Xi;", "&Omicron;", "&Pi;", "&Rho;",
      "&Sigma;", "&Tau;", "&Upsilon;", "&Phi;", "&Chi;", "&Psi;", "&Omega;", "&alpha;", "&beta;",
      "&gamma;", "&delta;", "&epsilon;", "&zeta;", "&eta;", "&theta;", "&iota;", "&kappa;",
      "&lambda;", "&mu;", "&nu;", "&xi;", "&omicron;", "&pi;", "&rho;", "&sigmaf;", "&sigma;",
      "&tau;", "&upsilon;", "&phi;", "&chi;", "&psi;", "&omega;", "&thetasym;", "&upsih;", "&piv;",
      "&bull;", "&hellip;", "&prime;", "&Prime;", "&oline;", "&frasl;", "&weierp;", "&image;",
      "&real;", "&trade;", "&alefsym;", "&larr;", "&uarr;", "&rarr;", "&darr;", "&harr;", "&crarr;",
      "&lArr;", "&uArr;", "&rArr;", "&dArr;", "&hArr;", "&forall;", "&part;", "&exist;", "&empty;",
      "&nabla;", "&isin;", "&notin;", "&ni;", "&prod;", "&sum;", "&minus;", "&lowast;", "&radic;",
      "&prop;", "&infin;", "&ang;", "&and;", "&or;", "&cap;", "&cup;", "&int;", "&there4;", "&sim;",
      "&cong;", "&asymp;", "&ne;", "&equiv;", "&le;", "&ge;", "&sub;", "&sup;", "&nsub;", "&sube;",
      "&supe;", "&oplus;", "&otimes;", "&perp;", "&sdot;", "&lceil;", "&rceil;", "&lfloor;",
      "&rfloor;", "&lang;", "&rang;", "&loz;", "&spades;", "&clubs;", "&hearts;", "&diams;",
      "&lsquo;", "&rsquo;", "&sbquo;", "&ldquo;", "&rdquo;", "&bdquo;", "&dagger;", "&Dagger;",
      "&permil;", "&lsaquo;", "&rsaquo;", "&quot;", "&amp;", "&lt;", "&gt;", "&ndash;", "&mdash;",
      "&nbsp;", "&thinsp;", "&ensp;", "&emsp;", "&iexcl;", "&cent;", "&pound;", "&curren;", "&yen;",
      "&brvbar;", "&brkbar;", "&sect;", "&uml;", "&die;", "&copy;", "&ordf;", "&laquo;", "&not;",
      "&shy;", "&reg;", "&macr;", "&hibar;", "&deg;", "&plusmn;", "&sup2;", "&sup3;", "&acute;",
      "&micro;", "&para;", "&middot;", "&cedil;", "&sup1;", "&ordm;", "&raquo;", "&frac14;",
      "&frac12;", "&frac34;", "&iquest;", "&Agrave;", "&Aacute;", "&Acirc;", "&Atilde;", "&Auml;",
      "&Aring;", "&AElig;", "&Ccedil;", "&Egrave;", "&Eacute;", "&Ecirc;", "&Euml;", "&Igrave;",
      "&Iacute;", "&Icirc;", "&Iuml;", "&ETH;", "&Ntilde;", "&Ograve;", "&Oacute;", "&Ocirc;",
      "&Otilde;", "&Ouml;", "&times;", "&Oslash;", "&Ugrave;", "&Uacute;", "&Ucirc;", "&Uuml;",
      "&Yacute;", "&THORN;", "&szlig;", "&agrave;", "&aacute;", "&acirc;", "&atilde;", "&auml;",
      "&aring;", "&aelig;", "&ccedil;", "&egrave;", "&eacute;", "&ecirc;", "&euml;", "&igrave;",
      "&iacute;", "&icirc;", "&iuml;", "&eth;", "&ntilde;", "&ograve;", "&oacute;", "&ocirc;",
      "&otilde;", "&ouml;", "&divide;", "&oslash;", "&ugrave;", "&uacute;", "&ucirc;", "&uuml;",
      "&yacute;", "&thorn;", "&yuml;", "&euro;", "&OElig;", "&oelig;", "&scaron;", "&Scaron;",
      "&fnof;", "&circ;",
  };
  return names;
}

const TCodeHighlighterClass& TCodeHTMLHighlighter::StaticClass() {
  static const TCodeHighlighterClass info{"TCodeHTMLHighlighter",
                                          &TCodeHashHighlighter::StaticClass(),
                                          &TCodeHTMLHighlighter::GetLanguageName,
                                          &TCodeHTMLHighlighter::GetCapabilities};
  return info;
}

std::string TCodeHTMLHighlighter::GetLanguageName() { return CES_LangHTML; }

TCodeHTMLHighlighter::TCodeHTMLHighlighter(TComponent* Owner)
    : TCodeHashHighlighter(Owner, HtmlKeywords(), HtmlHashTable(),
                           {static_cast<uint8_t>(THtmlTokenKind::tkNull),
                            static_cast<uint8_t>(THtmlTokenKind::tkIdentifier),
                            static_cast<uint8_t>(THtmlTokenKind::tkUndefKey), false}) {
  CreateAttributes();
  SetAttributesOnChange([this](TObject* Sender) { NotifyAttributesChanged(Sender); });
  MakeMethodTables();
  SetRangeState(THtmlRangeState::rsText);
  SetDefaultFilter(CES_FilterHTML);
  passesKeptStretches_ = true;
}

void TCodeHTMLHighlighter::CreateAttributes() {
  const TFontStyles bold{TFontStyle::fsBold};
  andAttri_ = AddStyledAttribute(CES_AttrEscapeAmpersand, bold, clLime);
  commentAttri_ = AddStyledAttribute(CES_AttrComment, {}, clNone);
  identifierAttri_ = AddStyledAttribute(CES_AttrIdentifier, bold, clNone);
  keyAttri_ = AddStyledAttribute(CES_AttrReservedWord, bold, 0x00FF0080);
  spaceAttri_ = AddStyledAttribute(CES_AttrSpace, {}, clNone);
  symbolAttri_ = AddStyledAttribute(CES_AttrSymbol, bold, clNone);
  textAttri_ = AddStyledAttribute(CES_AttrText, {}, clNone);
  undefKeyAttri_ = AddStyledAttribute(CES_AttrUnknownWord, bold, clRed);
  valueAttri_ = AddStyledAttribute(CES_AttrValue, {}, 0x00FF8000);
}

void TCodeHTMLHighlighter::MakeMethodTables() {
  for (int c = 0; c < 256; ++c) {
    TProcTableProc proc = &TCodeHTMLHighlighter::IdentProc;
    switch (c) {
      case 0: proc = &TCodeHTMLHighlighter::NullProc; break;
      case '\n': proc = &TCodeHTMLHighlighter::LFProc; break;
      case '\r': proc = &TCodeHTMLHighlighter::CRProc; break;
      case '<': proc = &TCodeHTMLHighlighter::BraceOpenProc; break;
      case '=': proc = &TCodeHTMLHighlighter::EqualProc; break;
      case '>': proc = &TCodeHTMLHighlighter::BraceCloseProc; break;
      case '&': proc = &TCodeHTMLHighlighter::AmpersandProc; break;
      case '"':
      case '\'': proc = &TCodeHTMLHighlighter::StringProc; break;
      default:
        if (c <= 32) proc = &TCodeHTMLHighlighter::SpaceProc;
    }
    fProcTable[c] = proc;
  }
}

TCodeHighlighterAttributes* TCodeHTMLHighlighter::GetDefaultAttribute(int Index) const {
  return DefaultAttributeByIndex(
      Index, {commentAttri_, identifierAttri_, keyAttri_, nullptr, spaceAttri_, symbolAttri_});
}

TCodeCharSet TCodeHTMLHighlighter::GetIdentifierChars() const {
  return WebIdentifierChars();
}

std::string TCodeHTMLHighlighter::GetSampleText() const { return kHtmlSampleText; }

bool TCodeHTMLHighlighter::IsDefaultFilterStored() const {
  return GetDefaultFilter() != CES_FilterHTML;
}

TCodeHighlighterAttributes* TCodeHTMLHighlighter::GetTokenAttribute() const {
  switch (static_cast<THtmlTokenKind>(fTokenID)) {
    case THtmlTokenKind::tkAmpersand: return andAttri_;
    case THtmlTokenKind::tkComment: return commentAttri_;
    case THtmlTokenKind::tkIdentifier: return identifierAttri_;
    case THtmlTokenKind::tkKey: return keyAttri_;
    case THtmlTokenKind::tkSpace: return spaceAttri_;
    case THtmlTokenKind::tkSymbol: return symbolAttri_;
    case THtmlTokenKind::tkText: return textAttri_;
    case THtmlTokenKind::tkUndefKey: return undefKeyAttri_;
    case THtmlTokenKind::tkValue: return valueAttri_;
    case THtmlTokenKind::tkNull: return nullptr;
  }
  return nullptr;
}

void TCodeHTMLHighlighter::SetLine(const std::string& NewValue, int LineNumber) {
  // An entity found on a line left unfinished must not be taken for one on this line.
  fAndCode = -1;
  TCodeHashHighlighter::SetLine(NewValue, LineNumber);
}

void TCodeHTMLHighlighter::ResetRange() { SetRangeState(THtmlRangeState::rsText); }

void TCodeHTMLHighlighter::ScanToken() {
  switch (Range()) {
    case THtmlRangeState::rsComment: CommentProc(); break;
    case THtmlRangeState::rsText: TextProc(); break;
    case THtmlRangeState::rsQuoteValue:
    case THtmlRangeState::rsDoubleQuoteValue:
      if (IsLineBreakOrEnd(fLineStr[Run]))
        ScanByTable();
      else
        StringProc();
      break;
    default: ScanByTable();
  }
}

int TCodeHTMLHighlighter::RangeKeptUntil() const {
  return Range() == THtmlRangeState::rsText ? FindByte(fLine, Run, '<') : Run;
}

void TCodeHTMLHighlighter::NullProc() { NullStep(kSpace); }
void TCodeHTMLHighlighter::LFProc() { LineFeedStep(kSpace); }
void TCodeHTMLHighlighter::CRProc() { CarriageReturnStep(kSpace); }
// A tab starts a new blank token.
void TCodeHTMLHighlighter::SpaceProc() { BlankStep(kSpace, true); }

void TCodeHTMLHighlighter::BraceOpenProc() {
  ++Run;
  if (fLineStr[Run] == '!' && fLineStr[Run + 1] == '-' && fLineStr[Run + 2] == '-') {
    SetRangeState(THtmlRangeState::rsComment);
    SetKind(THtmlTokenKind::tkComment);
    Run += 3;
  } else {
    SetRangeState(THtmlRangeState::rsKey);
    SetKind(THtmlTokenKind::tkSymbol);
  }
}

void TCodeHTMLHighlighter::EqualProc() {
  SetRangeState(THtmlRangeState::rsValue);
  SetKind(THtmlTokenKind::tkSymbol);
  ++Run;
}

void TCodeHTMLHighlighter::BraceCloseProc() {
  SetRangeState(THtmlRangeState::rsText);
  SetKind(THtmlTokenKind::tkSymbol);
  ++Run;
}

bool TCodeHTMLHighlighter::SkipCharacterReference() {
  auto at = [this] { return static_cast<unsigned char>(fLineStr[Run]); };
  Run += 2;
  if (at() == 'x' || at() == 'X') {
    ++Run;
    while (IsHexDigit(at())) ++Run;
  } else {
    while (IsDigit(at())) ++Run;
  }
  return at() == ';';
}

void TCodeHTMLHighlighter::EntityProc() {
  if (fAndCode >= 0 && fAndCode < static_cast<int32_t>(EntityNames().size())) {
    SetKind(THtmlTokenKind::tkAmpersand);
    Run += static_cast<int>(std::strlen(EntityNames()[fAndCode]));
  } else if (fLineStr[Run + 1] == '#') {
    bool complete = SkipCharacterReference();
    if (complete) ++Run;
    SetKind(complete ? THtmlTokenKind::tkAmpersand : THtmlTokenKind::tkText);
  } else {
    // Only reachable through a range set from outside: the "&" stays text.
    ++Run;
    SetKind(THtmlTokenKind::tkText);
  }
  fAndCode = -1;
  SetRangeState(THtmlRangeState::rsText);
}

void TCodeHTMLHighlighter::AmpersandProc() {
  switch (Range()) {
    case THtmlRangeState::rsAmpersand: EntityProc(); break;
    case THtmlRangeState::rsKey:
      ++Run;
      SetRangeState(THtmlRangeState::rsText);
      SetKind(THtmlTokenKind::tkText);
      break;
    default: IdentProc();
  }
}

void TCodeHTMLHighlighter::StringProc() {
  char quote;
  switch (Range()) {
    case THtmlRangeState::rsQuoteValue: quote = '\''; break;
    case THtmlRangeState::rsDoubleQuoteValue: quote = '"'; break;
    case THtmlRangeState::rsValue:
      quote = fLineStr[Run];
      SetRangeState(quote == '"' ? THtmlRangeState::rsDoubleQuoteValue
                                 : THtmlRangeState::rsQuoteValue);
      ++Run;
      break;
    default: IdentProc(); return;
  }
  SetKind(THtmlTokenKind::tkValue);
  while (!IsLineBreakOrEnd(fLineStr[Run]) && fLineStr[Run] != quote) ++Run;
  if (fLineStr[Run] == quote) {
    ++Run;
    SetRangeState(THtmlRangeState::rsParam);
  }
}

void TCodeHTMLHighlighter::IdentProc() {
  auto at = [this] { return static_cast<unsigned char>(fLineStr[Run]); };
  switch (Range()) {
    case THtmlRangeState::rsKey: {
      SetRangeState(THtmlRangeState::rsParam);
      fToIdent = fLineStr + Run;
      int32_t hash = HtmlHash(fToIdent, fStringLen);
      fTokenID = IdentKind(hash);
      Run += fStringLen;
      break;
    }
    case THtmlRangeState::rsValue:
      SetRangeState(THtmlRangeState::rsParam);
      SetKind(THtmlTokenKind::tkValue);
      ++Run;
      while (at() > 32 && at() != '>') ++Run;
      break;
    default:
      SetKind(THtmlTokenKind::tkIdentifier);
      ++Run;
      while (at() > 32 && at() != '"' && at() != '=' && at() != '>') ++Run;
  }
}

void TCodeHTMLHighlighter::CommentProc() {
  SetKind(THtmlTokenKind::tkComment);
  if (IsLineBreakOrEnd(fLineStr[Run])) {
    ScanByTable();
    return;
  }
  for (;;) {
    if (fLineStr[Run] == '>' && Run >= 2 && fLineStr[Run - 1] == '-' && fLineStr[Run - 2] == '-') {
      SetRangeState(THtmlRangeState::rsText);
      ++Run;
      return;
    }
    ++Run;
    if (IsLineBreakOrEnd(fLineStr[Run])) return;
  }
}

int TCodeHTMLHighlighter::MatchEntity() const {
  // The entities by the character after their "&", each list in the order of the names: the
  // first name that matches wins.
  struct TEntity {
    int Index;
    size_t Length;
  };
  static const std::array<std::vector<TEntity>, 256> bySecond = [] {
    std::array<std::vector<TEntity>, 256> lists;
    const auto& names = EntityNames();
    for (int i = 0; i < static_cast<int>(names.size()); ++i)
      lists[static_cast<unsigned char>(names[i][1])].push_back({i, std::strlen(names[i])});
    return lists;
  }();
  const char* text = fLineStr + Run;
  for (const TEntity& entity : bySecond[static_cast<unsigned char>(text[1])])
    if (std::strncmp(EntityNames()[entity.Index], text, entity.Length) == 0) return entity.Index;
  return -1;
}

void TCodeHTMLHighlighter::TextProc() {
  auto at = [this] { return static_cast<unsigned char>(fLineStr[Run]); };
  if (at() < 32 || at() == '<') {
    ScanByTable();
    return;
  }
  SetKind(THtmlTokenKind::tkText);
  for (;;) {
    while (at() >= 32 && at() != '&' && at() != '<') ++Run;
    if (at() != '&') return;
    if (fLineStr[Run + 1] == '#') {
      fAndCode = -1;
      int ampersand = Run;
      if (SkipCharacterReference()) {
        Run = ampersand;  // the reference becomes the next token
        SetRangeState(THtmlRangeState::rsAmpersand);
      }
      return;
    }
    fAndCode = MatchEntity();
    if (fAndCode >= 0) {
      SetRangeState(THtmlRangeState::rsAmpersand);
      return;
    }
    ++Run;
  }
}
