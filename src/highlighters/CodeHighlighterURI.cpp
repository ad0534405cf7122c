#include "highlighters/CodeHighlighterURI.h"
#include <windows.h>
#include <algorithm>
#include <string_view>
#include "editor/CodeEditStrConst.h"

namespace {

constexpr int kUriKeywordTableSize = 98;
using K = TUriTokenKind;

// The letters fall into six groups by their codes; ":" and "/" follow the last group.
const TCodeHashCharTable& UriHashTable() {
  static const TCodeHashCharTable table = [] {
    TCodeHashCharTable t{};
    for (int c = 'A'; c <= 'Z'; ++c) {
      t[c] = (c * c - 64) / 771;
      t[c + 32] = t[c];
    }
    t[':'] = t['Z'] + 1;
    t['/'] = t['Z'] + 2;
    return t;
  }();
  return table;
}

int32_t UriHash(std::string_view Text) {
  int64_t sum = 0;
  for (char c : Text) sum += UriHashTable()[static_cast<unsigned char>(c)];
  return ClampHash(sum);
}

struct TScheme {
  const char* Word;
  K Kind;
};
constexpr TScheme kSchemes[] = {
    {"www", K::tkWebLink},          {"news:", K::tkNewsLink},
    {"mailto:", K::tkMailtoLink},   {"ftp://", K::tkFtpLink},
    {"wais://", K::tkWaisLink},     {"nntp://", K::tkNntpLink},
    {"http://", K::tkHttpLink},     {"https://", K::tkHttpsLink},
    {"gopher://", K::tkGopherLink}, {"telnet://", K::tkTelnetLink},
    {"prospero://", K::tkProsperoLink},
};

constexpr int LongestSchemeLetters() {
  int longest = 0;
  for (const TScheme& scheme : kSchemes) {
    int letters = 0;
    while (scheme.Word[letters] && scheme.Word[letters] != ':') ++letters;
    longest = std::max(longest, letters);
  }
  return longest;
}

const TCodeHashEntryList& UriKeywords() {
  static const TCodeHashEntryList list = [] {
    TCodeHashEntryList l(kUriKeywordTableSize);
    for (auto [word, kind] : kSchemes) l.Add(UriHash(word), word, static_cast<uint8_t>(kind));
    return l;
  }();
  return list;
}

// The kind the highlighter gives a word as it scans it: letters, then ":" and up to two "/".
K WordKind(std::string_view Word) {
  for (const TCodeHashEntry& entry : UriKeywords().Entries(UriHash(Word)))
    if (KeyComp(UriHashTable(), entry.Keyword, Word.data(), static_cast<int>(Word.size())))
      return static_cast<K>(entry.Kind);
  return K::tkUnknown;
}

bool IsLetter(unsigned char C) { return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z'); }
bool IsDigit(unsigned char C) { return C >= '0' && C <= '9'; }

bool IsSpaceChar(unsigned char C) { return C >= 1 && C <= 32 && C != '\r' && C != '\n'; }

bool IsUrlChar(unsigned char C) {
  static const TCodeCharSet set = CodeCharSet("!#$%&'()*+,-./:;=?@_~") | CodeCharRange('0', '9') |
                                  CodeCharRange('A', 'Z') | CodeCharRange('a', 'z');
  return set.test(C);
}

// Characters an address rarely ends with: punctuation of the surrounding sentence.
bool IsGiveBackChar(unsigned char C) {
  static const TCodeCharSet set = CodeCharSet("!#%&()*+,-.:;=?@_~");
  return set.test(C);
}

bool IsEmailChar(unsigned char C) {
  return C == '-' || C == '.' || C == '@' || C == '_' || IsDigit(C) || IsLetter(C);
}

// Whether a word the highlighter takes for a link's scheme, or for "www", ends at Pos (a ":" or
// "."): the link it starts may reach past Pos. The word may start at any of the letters before.
bool SchemeEndsAt(std::string_view Line, int Pos) {
  if (Line[Pos] == '.') {
    if (Pos < 3) return false;
    const std::string_view word = Line.substr(Pos - 3, 3);
    return std::all_of(word.begin(), word.end(), [](char c) { return IsLetter(c); }) &&
           WordKind(word) == K::tkWebLink;
  }
  if (Line[Pos] != ':') return false;
  int end = Pos + 1;
  while (end < Pos + 3 && end < static_cast<int>(Line.size()) && Line[end] == '/') ++end;
  for (int start = Pos - 1;
       start >= 0 && Pos - start <= LongestSchemeLetters() && IsLetter(Line[start]); --start)
    if (WordKind(Line.substr(start, end - start)) != K::tkUnknown) return true;
  return false;
}

// Whether the "/" at Pos is one of the two a word ending in ":" takes along.
bool InSchemeSlashes(std::string_view Line, int Pos) {
  return Line[Pos] == '/' && ((Pos >= 1 && Line[Pos - 1] == ':') ||
                              (Pos >= 2 && Line[Pos - 1] == '/' && Line[Pos - 2] == ':'));
}

// What a character can be to a resume point.
enum TResumeClass : uint8_t {
  rcAddress = 1,    // in addresses and words
  rcBlank = 2,      // in runs of blanks
  rcSeparator = 4,  // an address character no e-mail address or word holds (but "/" after ":")
  rcSchemeEnd = 8,  // may end a scheme word
};

const std::array<uint8_t, 256>& ResumeClasses() {
  static const std::array<uint8_t, 256> classes = [] {
    std::array<uint8_t, 256> c{};
    for (int i = 0; i < 256; ++i) {
      const auto ch = static_cast<unsigned char>(i);
      if (IsUrlChar(ch)) c[i] |= rcAddress;
      if (IsSpaceChar(ch)) c[i] |= rcBlank;
      if (IsUrlChar(ch) && !IsEmailChar(ch) && ch != ':') c[i] |= rcSeparator;
      if (ch == ':' || ch == '.') c[i] |= rcSchemeEnd;
    }
    return c;
  }();
  return classes;
}


constexpr const char* kUriSampleText =
    "Web page: http://www.example.com/index.html?page=1\r\n"
    "Secure: https://secure.example.org/login\r\n"
    "Short: www.example.net\r\n"
    "Files: ftp://ftp.example.com/pub/readme.txt\r\n"
    "Mail: mailto:someone@example.com or anyone@example.org\r\n"
    "News: news:comp.lang.misc nntp://news.example.com/comp.lang.misc\r\n"
    "Menus: gopher://gopher.example.edu/ prospero://prospero.example.edu/pub\r\n"
    "Terminal: telnet://host.example.com wais://wais.example.com/db";

[[maybe_unused]] const bool kRegistered =
    RegisterHighlighterClass(TCodeURIHighlighter::StaticClass());

}  // namespace

int32_t TCodeURIHighlighter::HashValue(unsigned char C) { return UriHashTable()[C]; }

const TCodeHighlighterClass& TCodeURIHighlighter::StaticClass() {
  static const TCodeHighlighterClass info{"TCodeURIHighlighter",
                                          &TCodeHashHighlighter::StaticClass(),
                                          &TCodeURIHighlighter::GetLanguageName,
                                          &TCodeURIHighlighter::GetCapabilities};
  return info;
}

std::string TCodeURIHighlighter::GetLanguageName() { return CES_LangURI; }

TCodeURIHighlighter::TCodeURIHighlighter(TComponent* Owner)
    : TCodeHashHighlighter(Owner, UriKeywords(), UriHashTable(),
                           {static_cast<uint8_t>(K::tkNull), static_cast<uint8_t>(K::tkUnknown),
                            static_cast<uint8_t>(K::tkUnknown), false}),
      spaceAttri_(std::make_unique<TCodeHighlighterAttributes>(CES_AttrSpace)),
      identifierAttri_(std::make_unique<TCodeHighlighterAttributes>(CES_AttrIdentifier)) {
  auto uri = std::make_unique<TCodeHighlighterAttributes>(CES_AttrURI);
  uri->SetForeground(0x00FF0000);
  uri->SetStyle({TFontStyle::fsUnderline});
  uriAttri_ = AddAttribute(std::move(uri));
  auto visited = std::make_unique<TCodeHighlighterAttributes>(CES_AttrVisitedURI);
  visited->SetForeground(0x00800080);
  visited->SetStyle({TFontStyle::fsUnderline});
  visitedUriAttri_ = AddAttribute(std::move(visited));
  SetAttributesOnChange([this](TObject* Sender) { NotifyAttributesChanged(Sender); });

  for (int c = 0; c < 256; ++c) {
    TProcTableProc proc = &TCodeURIHighlighter::UnknownProc;
    if (c == 0)
      proc = &TCodeURIHighlighter::NullProc;
    else if (c == '\r')
      proc = &TCodeURIHighlighter::CRProc;
    else if (c == '\n')
      proc = &TCodeURIHighlighter::LFProc;
    else if (IsSpaceChar(static_cast<unsigned char>(c)))
      proc = &TCodeURIHighlighter::SpaceProc;
    else if (IsLetter(static_cast<unsigned char>(c)))
      proc = &TCodeURIHighlighter::WordProc;
    fProcTable[c] = proc;
  }
  SetDefaultFilter(CES_FilterAll);
  passesKeptStretches_ = true;
}

TCodeURIHighlighter::~TCodeURIHighlighter() = default;

TCodeHighlighterAttributes* TCodeURIHighlighter::GetDefaultAttribute(int Index) const {
  switch (Index) {
    case 1: return identifierAttri_.get();
    case 4: return spaceAttri_.get();
    case 6: return uriAttri_;
    case 7: return visitedUriAttri_;
    default: return nullptr;
  }
}

TCodeCharSet TCodeURIHighlighter::GetIdentifierChars() const {
  return WebIdentifierChars() | CodeCharRange(0, 0);
}

std::string TCodeURIHighlighter::GetSampleText() const { return kUriSampleText; }

bool TCodeURIHighlighter::IsDefaultFilterStored() const {
  return GetDefaultFilter() != CES_FilterAll;
}

TCodeHighlighterAttributes* TCodeURIHighlighter::GetTokenAttribute() const {
  switch (static_cast<K>(fTokenID)) {
    case K::tkSpace: return spaceAttri_.get();
    case K::tkUnknown: return identifierAttri_.get();
    case K::tkNull:
    case K::tkNullChar: return nullptr;
    default: return uriAttri_;
  }
}

void TCodeURIHighlighter::SetLine(const std::string& NewValue, int LineNumber) {
  emailFailUntil_ = 0;
  nextAt_ = -1;
  TCodeHashHighlighter::SetLine(NewValue, LineNumber);
}

void TCodeURIHighlighter::ScanToken() { (this->*fProcTable[At(Run)])(); }

int TCodeURIHighlighter::ResumePointBefore(std::string_view Line, int Pos) const {
  const int size = static_cast<int>(Line.size());
  const int p = std::clamp(Pos, 0, size);
  if (p == size) return size;  // every token ends by the line's end
  const auto& classes = ResumeClasses();
  auto isLead = [this](unsigned char C) { return fIsLeadByte && fIsLeadByte(C); };
  // Behind a separator, unless a link that started before it may reach past it: found only
  // by going back to a point no token spans, so every scheme word in between is seen.
  int behindSeparator = -1;
  uint8_t after = classes[static_cast<unsigned char>(Line[p])];
  for (int q = p; q > 0; --q) {
    const auto c = static_cast<unsigned char>(Line[q - 1]);
    const uint8_t before = classes[c];
    // Only blanks, CR LF, address characters and double-byte characters are ever one token
    // with their neighbour.
    if ((before & after & (rcAddress | rcBlank)) == 0 && !(c == '\r' && Line[q] == '\n') &&
        !isLead(c))
      return behindSeparator >= 0 ? behindSeparator : q;
    if (before & rcSchemeEnd) {
      if (SchemeEndsAt(Line, q - 1)) behindSeparator = -1;
    } else if (behindSeparator < 0 && (before & rcSeparator) && !isLead(c) &&
               !InSchemeSlashes(Line, q - 1)) {
      behindSeparator = q;
    }
    after = before;
  }
  return std::max(behindSeparator, 0);
}

void TCodeURIHighlighter::NullProc() {
  if (AtLineTerminator()) {
    SetKind(K::tkNull);
  } else {
    ++Run;
    SetKind(K::tkNullChar);
  }
}

void TCodeURIHighlighter::CRProc() {
  SetKind(K::tkSpace);
  ++Run;
  if (At(Run) == '\n') ++Run;
}

void TCodeURIHighlighter::LFProc() {
  SetKind(K::tkSpace);
  ++Run;
}

void TCodeURIHighlighter::SpaceProc() {
  SetKind(K::tkSpace);
  ++Run;
  while (IsSpaceChar(At(Run))) ++Run;
}

bool TCodeURIHighlighter::ScanEmail() {
  const int start = Run;
  if (start < emailFailUntil_) return false;
  // An address holds an "@": a word whose e-mail characters do not reach the next one needs
  // no scan.
  if (nextAt_ < start) {
    nextAt_ = FindByte(fLine, start, '@');
    atRunStart_ = nextAt_;
    while (atRunStart_ > start && IsEmailChar(At(atRunStart_ - 1))) --atRunStart_;
  }
  if (nextAt_ >= static_cast<int>(fLine.size()) || start < atRunStart_) return false;
  int end = start;
  for (unsigned char c; IsEmailChar(c = At(end)); ++end)
    if (c == '.' && (end == start || At(end - 1) == '.')) break;
  const int scanned = end;
  while (end > start && (At(end - 1) == '.' || At(end - 1) == '@')) --end;
  int at = -1, dot = -1;
  for (int i = start; i < end; ++i) {
    if (At(i) == '@') at = i;
    if (At(i) == '.') dot = i;
  }
  if (at > start && at + 1 < end && dot >= at + 2) {
    Run = end;
    return true;
  }
  emailFailUntil_ = scanned;
  return false;
}

int TCodeURIHighlighter::AddressBodyEnd() const {
  int end = Run;
  for (; IsUrlChar(At(end)); ++end) {
    if (At(end) != '.' || end == 0 || At(end - 1) != '.') continue;
    // "/../" and "\..\" are path steps, not the end of a sentence.
    bool betweenSlashes = end >= 2 && ((At(end - 2) == '/' && At(end + 1) == '/') ||
                                       (At(end - 2) == '\\' && At(end + 1) == '\\'));
    if (!betweenSlashes) break;
  }
  while (end > Run && IsGiveBackChar(At(end - 1))) --end;
  return end;
}

bool TCodeURIHighlighter::ScanAddressBody() {
  int end = AddressBodyEnd();
  if (end == Run) return false;
  Run = end;
  return true;
}

bool TCodeURIHighlighter::ScanWebBody() {
  // Checked first: a host name needs its dot, and long runs without one are not rescanned.
  if (At(Run) != '.') return false;
  int end = AddressBodyEnd();
  int second = Run + 1;
  while (second < end && At(second) != '.') ++second;
  if (second >= end || second == Run + 1 || end <= second + 1) return false;
  Run = end;
  return true;
}

void TCodeURIHighlighter::WordProc() {
  if (ScanEmail()) {
    SetKind(K::tkMailtoLink);
    return;
  }
  const int start = Run;
  fToIdent = fLineStr + Run;
  const TCodeHashCharTable& table = UriHashTable();
  int64_t hash = 0;
  while (IsLetter(At(Run))) hash += table[At(Run++)];
  const bool colon = At(Run) == ':';
  if (colon) {
    hash += table[At(Run++)];
    if (At(Run) == '/') {
      hash += table[At(Run++)];
      if (At(Run) == '/') hash += table[At(Run++)];
    }
  }
  fStringLen = Run - start;
  // Every scheme but "www" holds ":", a character no letter shares a table value with: any
  // other word is plain text.
  if (!colon && fStringLen != 3) {
    SetKind(K::tkUnknown);
    return;
  }
  auto kind = static_cast<K>(IdentKind(ClampHash(hash)));
  bool valid = kind == K::tkWebLink    ? ScanWebBody()
               : kind != K::tkUnknown ? ScanAddressBody()
                                      : true;
  SetKind(valid ? kind : K::tkUnknown);
}

void TCodeURIHighlighter::UnknownProc() {
  if (ScanEmail()) {
    SetKind(K::tkMailtoLink);
    return;
  }
  SetKind(K::tkUnknown);
  // A double-byte character stays whole, but never reaches past the line's end.
  Run += CharLengthAtRun();
}
