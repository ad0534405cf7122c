// The keyword-hash scanning design the language highlighters share: character tables, keywords
// grouped by hash value, and the scan state with the token operations built on it.
#pragma once
#include <array>
#include <climits>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>
#include "editor/CodeEditHighlighter.h"
#include "editor/CodeEditMiscProcs.h"
#include "rtl/Exception.h"

// Per character code the value it adds to a word's hash. Letters of either case map to 1..26,
// so hashing and keyword comparison through the table ignore case.
using TCodeHashCharTable = std::array<int32_t, 256>;
// The letter values plus a language's own values for other characters; every other code is 0.
TCodeHashCharTable MakeHashCharTable(std::initializer_list<std::pair<char, int32_t>> Extra);

// True for "0".."9", "A".."Z", "_" and "a".."z".
using TCodeIdentCharTable = std::array<bool, 256>;
TCodeIdentCharTable MakeIdentCharTable();

// The word characters the editor uses for the web languages: "0".."9", "A".."Z", "_",
// "a".."z" and the letters of the ANSI code page above 127.
TCodeCharSet WebIdentifierChars();

// The hash of the identifier at Text: the table values of its run of identifier characters
// added; Length receives the length of the run.
int32_t HashIdentifier(const TCodeHashCharTable& Table, const TCodeIdentCharTable& IdentChars,
                       const char* Text, int& Length);

// The four copies of C in one word, to look for C four bytes at a time with WordHoldsByte.
constexpr uint32_t ByteInEveryLane(unsigned char C) { return 0x01010101u * C; }
// Whether one of the four bytes of Word is the byte Pattern repeats (one of its bytes is zero
// after the exclusive or).
constexpr bool WordHoldsByte(uint32_t Word, uint32_t Pattern) {
  const uint32_t x = Word ^ Pattern;
  return ((x - 0x01010101u) & ~x & 0x80808080u) != 0;
}
// The position of the first C in Text at or after From; Text's length when there is none.
int FindByte(const std::string& Text, int From, unsigned char C);

// A hash summed in 64 bits, clamped to 32: a huge word hashes beyond every keyword table
// instead of wrapping around into it.
int32_t ClampHash(int64_t Sum);

// True when Keyword has Length characters and each gives the same table value as the text's
// character at its position.
bool KeyComp(const TCodeHashCharTable& Table, const std::string& Keyword, const char* Text,
             int Length);

// A keyword and the token kind it gives.
struct TCodeHashEntry {
  std::string Keyword;
  uint8_t Kind;
};

// Raised when a keyword is added to a chain twice.
class ECodeHashEntryError : public Exception {
public:
  using Exception::Exception;
};

// Keywords by hash value 0..Size-1, each hash's keywords in the order they were added.
class TCodeHashEntryList {
public:
  explicit TCodeHashEntryList(int Size = 0) : buckets_(Size) {}

  int Size() const { return static_cast<int>(buckets_.size()); }
  // Hash must be below Size: a keyword the hash puts beyond the table could never be found.
  void Add(int32_t Hash, const std::string& Keyword, uint8_t Kind);
  // Grows the list to hold Hash and inserts Keyword before the first longer entry of its
  // chain, so a lookup can stop at the first entry longer than its word. A keyword equal,
  // without regard to case, to one in the chain raises ECodeHashEntryError.
  void AddByLength(int32_t Hash, const std::string& Keyword, uint8_t Kind);
  // Empty for a hash outside the list.
  const std::vector<TCodeHashEntry>& Entries(int32_t Hash) const;
  // Frees every chain.
  void Clear() { buckets_.clear(); }

private:
  std::vector<std::vector<TCodeHashEntry>> buckets_;
};

// Scan state and token operations of a keyword-hash highlighter. The kind and the range are
// one byte each; the range is the only state carried from line to line. The token operations
// are final, so that a caller holding this type calls them without a virtual call.
class TCodeHashHighlighter : public TCodeCustomHighlighter {
public:
  static const TCodeHighlighterClass& StaticClass();
  const TCodeHighlighterClass& ClassType() const override { return StaticClass(); }

  bool AtLineEnd() const final { return fTokenID == kinds_.Null; }
  TCodeHighlighterRange GetRange() const override { return fRange; }
  std::string GetToken() const override;
  // The length of GetToken, without the copy.
  int GetTokenLength() const { return Run - fTokenPos; }
  int GetTokenKind() const final { return fTokenID; }
  int GetTokenPos() const final { return fTokenPos; }
  void NextToken() final {
    fTokenPos = Run;
    ScanToken();
  }
  void SetLine(const std::string& NewValue, int LineNumber) override;
  void SetRange(TCodeHighlighterRange Value) override { fRange = static_cast<uint8_t>(Value); }
  void SkipToLineEnd() final { SkipTokensBefore(INT_MAX); }
  // Scans on while the current token ends before End (0-based) and the line goes on; a
  // stretch of tokens that keeps the range is passed over unless it ends beyond End.
  void SkipTokensBefore(int End) {
    while (Run < End && !AtLineEnd()) {
      const int kept = passesKeptStretches_ ? RangeKeptUntil() : Run;
      if (kept > Run && kept <= End)
        Run = kept;
      else
        NextToken();
    }
  }

  // Which bytes start a double-byte character (the system's test by default, none outside
  // far-east code pages).
  void SetLeadByteTest(TCodeLeadByteTest Test) { fIsLeadByte = Test; }

protected:
  struct TKinds {
    uint8_t Null;         // end of line
    uint8_t Identifier;   // a word whose hash is beyond the keyword table
    uint8_t DefaultWord;  // a word no keyword of its hash matches
    bool ExactKeywords;   // compare keywords character by character, not through the table
  };
  // Keywords must outlive the highlighter (a table built once per class).
  TCodeHashHighlighter(TComponent* Owner, const TCodeHashEntryList& Keywords,
                       const TCodeHashCharTable& HashTable, TKinds Kinds);

  // Produces the token starting at Run.
  virtual void ScanToken() = 0;
  // True at the zero that ends the line; a zero byte before it is a character of the line
  // (binary files have them) and must become a token, so that the tokens cover the line.
  bool AtLineTerminator() const { return AtLineTerminatorAt(Run); }
  bool AtLineTerminatorAt(int Pos) const { return Pos >= static_cast<int>(fLine.size()); }
  // The kind of the word at fToIdent, fStringLen characters long, whose hash is Hash.
  uint8_t IdentKind(int32_t Hash);
  // A token start at or after Run up to which the tokens from Run leave the range (and every
  // other state the next token starts from) as it is: Run when the next token may change it.
  // Asked only when passesKeptStretches_ is set, which a class overriding it sets.
  virtual int RangeKeptUntil() const { return Run; }
  bool passesKeptStretches_ = false;
  // The length of the character at Run: 2 for a lead byte followed by its trail byte, else 1
  // (a lead byte at the line's end must not carry the scan past the terminator).
  int CharLengthAtRun() const;

  static bool IsDigit(unsigned char C) { return C >= '0' && C <= '9'; }
  static bool IsLineBreakOrEnd(unsigned char C) { return C == '\0' || C == '\n' || C == '\r'; }
  static bool IsBlank(unsigned char C) { return C >= 1 && C <= 32 && C != '\n' && C != '\r'; }
  unsigned char At(int Pos) const { return static_cast<unsigned char>(fLineStr[Pos]); }

  // Scanning steps the languages share; the kinds given are the language's token kinds.
  // At a zero: the end of the line, or a token of ZeroByte when the zero is a byte of the line.
  void NullStep(uint8_t ZeroByte);
  void LineFeedStep(uint8_t Space);
  // CR LF is one blank.
  void CarriageReturnStep(uint8_t Space);
  // With TabEndsBlank, a tab starts a new blank token.
  void BlankStep(uint8_t Space, bool TabEndsBlank = false);
  // A word: its keyword kind by hash, then on past the rest of its identifier characters.
  void IdentStep(const TCodeIdentCharTable& IdentChars);
  // A symbol of one character, or of two when At(Run + 1) is one of Seconds.
  void SymbolStep(uint8_t Symbol, const char* Seconds = "");
  // Advances to the end of the line or past "*/", which ends the comment and puts the range
  // back to RangeAfter.
  void BlockCommentBodyStep(uint8_t RangeAfter);

  TCodeHighlighterAttributes* AddStyledAttribute(const char* Name, TFontStyles Style);
  TCodeHighlighterAttributes* AddStyledAttribute(const char* Name, TFontStyles Style,
                                                 TColor Foreground);
  // GetDefaultAttribute from the language's attributes for indexes 0..5 (comment, identifier,
  // reserved word, string, space, symbol; nullptr where it has none); nullptr for any other.
  static TCodeHighlighterAttributes* DefaultAttributeByIndex(
      int Index, const std::array<TCodeHighlighterAttributes*, 6>& ByIndex) {
    return Index >= 0 && Index < 6 ? ByIndex[Index] : nullptr;
  }

  std::string fLine;
  const char* fLineStr = "";  // fLine's characters, zero-terminated
  int Run = 0;
  int fTokenPos = 0;
  uint8_t fTokenID = 0;
  uint8_t fRange = 0;
  int fLineNumber = 0;
  const char* fToIdent = nullptr;
  int fStringLen = 0;
  TCodeLeadByteTest fIsLeadByte = nullptr;

private:
  using TIdentFunc = uint8_t (TCodeHashHighlighter::*)(int32_t Hash);
  uint8_t KeywordFunc(int32_t Hash);
  uint8_t AltFunc(int32_t Hash);

  const TCodeHashEntryList& keywords_;
  const TCodeHashCharTable& hashTable_;
  TKinds kinds_;
  std::vector<TIdentFunc> identFuncTable_;
};
