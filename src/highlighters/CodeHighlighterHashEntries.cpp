#include "highlighters/CodeHighlighterHashEntries.h"
#include <algorithm>
#include <cassert>
#include <cstdint>
#include <cstring>
#include <memory>
#include "rtl/SysUtils.h"

TCodeHashCharTable MakeHashCharTable(std::initializer_list<std::pair<char, int32_t>> Extra) {
  TCodeHashCharTable table{};
  for (int c = 'A'; c <= 'Z'; ++c) {
    table[c] = c - 64;
    table[c + 32] = c - 64;
  }
  for (auto [c, value] : Extra) table[static_cast<unsigned char>(c)] = value;
  return table;
}

TCodeIdentCharTable MakeIdentCharTable() {
  TCodeIdentCharTable table{};
  for (int c = 0; c < 256; ++c)
    table[c] = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || c == '_' ||
               (c >= 'a' && c <= 'z');
  return table;
}

TCodeCharSet WebIdentifierChars() {
  TCodeCharSet chars = CodeCharRange('0', '9') | CodeCharRange('A', 'Z') | CodeCharSet("_") |
                       CodeCharRange('a', 'z') | CodeCharRange(192, 255);
  for (unsigned char c : {131, 138, 140, 142, 154, 156, 158, 159, 161, 162, 163, 165, 167, 170,
                          181, 182, 185, 186, 188, 189, 190})
    chars.set(c);
  return chars;
}

int32_t HashIdentifier(const TCodeHashCharTable& Table, const TCodeIdentCharTable& IdentChars,
                       const char* Text, int& Length) {
  int64_t hash = 0;
  const char* p = Text;
  for (unsigned char c; IdentChars[c = static_cast<unsigned char>(*p)]; ++p) hash += Table[c];
  Length = static_cast<int>(p - Text);
  return ClampHash(hash);
}

int FindByte(const std::string& Text, int From, unsigned char C) {
  const int length = static_cast<int>(Text.size());
  const uint32_t pattern = ByteInEveryLane(C);
  int at = From;
  for (uint32_t word; at + 4 <= length; at += 4) {
    std::memcpy(&word, Text.data() + at, 4);
    if (WordHoldsByte(word, pattern)) break;
  }
  while (at < length && static_cast<unsigned char>(Text[at]) != C) ++at;
  return at;
}

int32_t ClampHash(int64_t Sum) {
  return static_cast<int32_t>(std::clamp<int64_t>(Sum, INT32_MIN, INT32_MAX));
}

bool KeyComp(const TCodeHashCharTable& Table, const std::string& Keyword, const char* Text,
             int Length) {
  if (static_cast<int>(Keyword.size()) != Length) return false;
  for (int i = 0; i < Length; ++i)
    if (Table[static_cast<unsigned char>(Keyword[i])] != Table[static_cast<unsigned char>(Text[i])])
      return false;
  return true;
}

void TCodeHashEntryList::Add(int32_t Hash, const std::string& Keyword, uint8_t Kind) {
  assert(Hash >= 0 && Hash < Size());
  buckets_[Hash].push_back({Keyword, Kind});
}

void TCodeHashEntryList::AddByLength(int32_t Hash, const std::string& Keyword, uint8_t Kind) {
  assert(Hash >= 0 && Hash < (1 << 16));  // keyword hashes are small sums
  if (Hash >= Size()) buckets_.resize(Hash + 1);
  std::vector<TCodeHashEntry>& chain = buckets_[Hash];
  for (const TCodeHashEntry& entry : chain)
    if (SameText(entry.Keyword, Keyword))
      throw ECodeHashEntryError("Keyword \"" + Keyword + "\" already in list");
  auto longer = std::find_if(chain.begin(), chain.end(), [&](const TCodeHashEntry& E) {
    return E.Keyword.size() > Keyword.size();
  });
  chain.insert(longer, {Keyword, Kind});
}

const std::vector<TCodeHashEntry>& TCodeHashEntryList::Entries(int32_t Hash) const {
  static const std::vector<TCodeHashEntry> none;
  return Hash >= 0 && Hash < Size() ? buckets_[Hash] : none;
}

// ---------------------------------------------------------------------------------------------

const TCodeHighlighterClass& TCodeHashHighlighter::StaticClass() {
  static const TCodeHighlighterClass info{"TCodeHashHighlighter",
                                          &TCodeCustomHighlighter::StaticClass(),
                                          &TCodeCustomHighlighter::GetLanguageName,
                                          &TCodeCustomHighlighter::GetCapabilities};
  return info;
}

TCodeHashHighlighter::TCodeHashHighlighter(TComponent* Owner, const TCodeHashEntryList& Keywords,
                                           const TCodeHashCharTable& HashTable, TKinds Kinds)
    : TCodeCustomHighlighter(Owner),
      keywords_(Keywords),
      hashTable_(HashTable),
      kinds_(Kinds),
      identFuncTable_(Keywords.Size()) {
  for (int hash = 0; hash < Keywords.Size(); ++hash)
    identFuncTable_[hash] = Keywords.Entries(hash).empty() ? &TCodeHashHighlighter::AltFunc
                                                           : &TCodeHashHighlighter::KeywordFunc;
  fTokenID = Kinds.Null;
  fIsLeadByte = SystemLeadByteTest();
}

std::string TCodeHashHighlighter::GetToken() const {
  return std::string(fLineStr + fTokenPos, Run - fTokenPos);
}

void TCodeHashHighlighter::SetLine(const std::string& NewValue, int LineNumber) {
  fLine = NewValue;
  fLineStr = fLine.c_str();
  Run = 0;
  fLineNumber = LineNumber;
  NextToken();
}

uint8_t TCodeHashHighlighter::IdentKind(int32_t Hash) {
  if (Hash < 0 || Hash >= keywords_.Size()) return kinds_.Identifier;
  return (this->*identFuncTable_[Hash])(Hash);
}

int TCodeHashHighlighter::CharLengthAtRun() const {
  bool lead = fIsLeadByte && fIsLeadByte(static_cast<unsigned char>(fLineStr[Run]));
  return lead && !AtLineTerminatorAt(Run + 1) ? 2 : 1;
}

void TCodeHashHighlighter::NullStep(uint8_t ZeroByte) {
  if (AtLineTerminator()) {
    fTokenID = kinds_.Null;
  } else {
    fTokenID = ZeroByte;
    ++Run;
  }
}

void TCodeHashHighlighter::LineFeedStep(uint8_t Space) {
  fTokenID = Space;
  ++Run;
}

void TCodeHashHighlighter::CarriageReturnStep(uint8_t Space) {
  fTokenID = Space;
  ++Run;
  if (At(Run) == '\n') ++Run;
}

void TCodeHashHighlighter::BlankStep(uint8_t Space, bool TabEndsBlank) {
  fTokenID = Space;
  ++Run;
  while (IsBlank(At(Run)) && !(TabEndsBlank && At(Run) == '\t')) ++Run;
}

void TCodeHashHighlighter::IdentStep(const TCodeIdentCharTable& IdentChars) {
  fToIdent = fLineStr + Run;
  int32_t hash = HashIdentifier(hashTable_, IdentChars, fToIdent, fStringLen);
  fTokenID = IdentKind(hash);
  Run += fStringLen;
  while (IdentChars[At(Run)]) ++Run;
}

void TCodeHashHighlighter::SymbolStep(uint8_t Symbol, const char* Seconds) {
  fTokenID = Symbol;
  ++Run;
  for (const char* s = Seconds; *s; ++s)
    if (fLineStr[Run] == *s) {
      ++Run;
      return;
    }
}

void TCodeHashHighlighter::BlockCommentBodyStep(uint8_t RangeAfter) {
  while (!IsLineBreakOrEnd(At(Run))) {
    if (At(Run) == '*' && At(Run + 1) == '/') {
      Run += 2;
      fRange = RangeAfter;
      return;
    }
    ++Run;
  }
}

TCodeHighlighterAttributes* TCodeHashHighlighter::AddStyledAttribute(const char* Name,
                                                                     TFontStyles Style) {
  auto attr = std::make_unique<TCodeHighlighterAttributes>(Name);
  attr->SetStyle(Style);
  return AddAttribute(std::move(attr));
}

TCodeHighlighterAttributes* TCodeHashHighlighter::AddStyledAttribute(const char* Name,
                                                                     TFontStyles Style,
                                                                     TColor Foreground) {
  TCodeHighlighterAttributes* attr = AddStyledAttribute(Name, Style);
  attr->SetForeground(Foreground);
  return attr;
}

uint8_t TCodeHashHighlighter::KeywordFunc(int32_t Hash) {
  for (const TCodeHashEntry& entry : keywords_.Entries(Hash)) {
    bool same = kinds_.ExactKeywords
                    ? entry.Keyword.compare(0, std::string::npos, fToIdent, fStringLen) == 0
                    : KeyComp(hashTable_, entry.Keyword, fToIdent, fStringLen);
    if (same) return entry.Kind;
  }
  return kinds_.DefaultWord;
}

uint8_t TCodeHashHighlighter::AltFunc(int32_t /*Hash*/) { return kinds_.DefaultWord; }
