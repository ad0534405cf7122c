// Marks web addresses, e-mail addresses and the like in plain text, so they can act as links.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include "highlighters/CodeHighlighterHashEntries.h"

// Token kinds of the URI highlighter (GetTokenKind).
enum class TUriTokenKind : uint8_t {
  tkNull,        // end of line
  tkSpace,
  tkFtpLink,     // "ftp://"
  tkGopherLink,  // "gopher://"
  tkHttpLink,    // "http://"
  tkHttpsLink,   // "https://"
  tkMailtoLink,  // "mailto:" and bare e-mail addresses
  tkNewsLink,    // "news:"
  tkNntpLink,    // "nntp://"
  tkProsperoLink,
  tkTelnetLink,
  tkWaisLink,
  tkWebLink,     // "www" followed by a host name
  tkUnknown,     // other text
  tkNullChar,    // a zero byte inside the line
};

// Whether a link text was opened before; installed by the link opener.
using TAlreadyVisitedURIFunc = std::function<bool(const std::string& URI)>;

class TCodeURIHighlighter : public TCodeHashHighlighter {
public:
  explicit TCodeURIHighlighter(TComponent* Owner);
  ~TCodeURIHighlighter() override;

  static const TCodeHighlighterClass& StaticClass();
  static std::string GetLanguageName();  // "URI"
  const TCodeHighlighterClass& ClassType() const override { return StaticClass(); }

  // 1 identifier, 4 white space, 6 URI, 7 visited URI.
  TCodeHighlighterAttributes* GetDefaultAttribute(int Index) const override;
  TCodeCharSet GetIdentifierChars() const override;
  std::string GetSampleText() const override;
  // True when the filter differs from the one set by the constructor.
  bool IsDefaultFilterStored() const override;
  TCodeHighlighterAttributes* GetTokenAttribute() const override;
  void SetLine(const std::string& NewValue, int LineNumber) override;
  // The first line starts in state 0, whatever was set before.
  void ResetRange() override { fRange = 0; }
  // Where no token can hold the characters on both sides (behind a blank, a quote, a bracket),
  // or behind a separator ("+", "/", "=" and the like) that no link before it reaches past:
  // no token looks back past its start, and none changes the range.
  int ResumePointBefore(std::string_view Line, int Pos) const override;

  TCodeHighlighterAttributes* URIAttri() const { return uriAttri_; }
  TCodeHighlighterAttributes* VisitedURIAttri() const { return visitedUriAttri_; }

  // The visited-link query; token colouring does not consult it.
  void SetAlreadyVisitedURIFunc(TAlreadyVisitedURIFunc Func) { visited_ = std::move(Func); }
  bool HasAlreadyVisitedURIFunc() const { return static_cast<bool>(visited_); }
  // False without a query.
  bool IsVisitedURI(const std::string& URI) const { return visited_ && visited_(URI); }

  // The value a character adds to a word's hash.
  static int32_t HashValue(unsigned char C);

protected:
  void ScanToken() override;
  // No token changes the range.
  int RangeKeptUntil() const override { return static_cast<int>(fLine.size()); }

private:
  using TProcTableProc = void (TCodeURIHighlighter::*)();
  void SetKind(TUriTokenKind Kind) { fTokenID = static_cast<uint8_t>(Kind); }
  // Moves Run past an e-mail address starting at Run; false (Run unchanged) when none starts.
  bool ScanEmail();
  // Moves Run over a link's address body; false (Run unchanged) when nothing of it remains.
  bool ScanAddressBody();
  bool ScanWebBody();
  // The end of the address characters from Run, trailing give-back characters removed.
  int AddressBodyEnd() const;

  void NullProc();
  void CRProc();
  void LFProc();
  void SpaceProc();
  void WordProc();
  void UnknownProc();

  std::array<TProcTableProc, 256> fProcTable{};
  // An e-mail scan that failed from some start also fails from every later start before this
  // position (the scan covers the same characters); remembering it keeps long runs linear.
  int emailFailUntil_ = 0;
  // The first "@" at or after the last e-mail scan's start (or the line end), and where the
  // e-mail characters before it begin (not before that start).
  int nextAt_ = -1;
  int atRunStart_ = 0;
  TAlreadyVisitedURIFunc visited_;

  TCodeHighlighterAttributes* uriAttri_ = nullptr;
  TCodeHighlighterAttributes* visitedUriAttri_ = nullptr;
  // Outside the attribute list: they only give white space and other text their attribute.
  std::unique_ptr<TCodeHighlighterAttributes> spaceAttri_;
  std::unique_ptr<TCodeHighlighterAttributes> identifierAttri_;
};
