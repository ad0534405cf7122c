// A tiny highlighter for tests: words, blanks, symbols and "/* */" comments that span lines.
// Range 0 is plain text, 1 inside a comment. The editor's rescan tests use it too.
#pragma once
#include <string>
#include "editor/CodeEditHighlighter.h"

class TCodeTestHighlighter : public TCodeCustomHighlighter {
public:
  enum Kind { tkComment, tkIdentifier, tkKey, tkSpace, tkSymbol, tkNull };
  enum Range { rsPlain, rsComment };

  explicit TCodeTestHighlighter(TComponent* Owner);

  static const TCodeHighlighterClass& StaticClass();
  static std::string GetLanguageName() { return "Test"; }
  const TCodeHighlighterClass& ClassType() const override { return StaticClass(); }

  TCodeHighlighterAttributes* GetDefaultAttribute(int Index) const override;
  std::string GetSampleText() const override { return sampleText_; }
  void SetSampleText(const std::string& Value) override { sampleText_ = Value; }
  // "begin" and "end" are keywords.
  bool IsKeyword(const std::string& AKeyword) const override;

  bool AtLineEnd() const override { return kind_ == tkNull; }
  TCodeHighlighterRange GetRange() const override { return range_; }
  std::string GetToken() const override { return line_.substr(start_, run_ - start_); }
  TCodeHighlighterAttributes* GetTokenAttribute() const override;
  int GetTokenKind() const override { return kind_; }
  int GetTokenPos() const override { return static_cast<int>(start_); }
  void NextToken() override;
  void SetLine(const std::string& NewValue, int LineNumber) override;
  void SetRange(TCodeHighlighterRange Value) override { range_ = static_cast<Range>(Value); }
  void ResetRange() override { range_ = rsPlain; }

  TCodeHighlighterAttributes* CommentAttri() const { return comment_; }
  TCodeHighlighterAttributes* IdentifierAttri() const { return identifier_; }
  TCodeHighlighterAttributes* KeyAttri() const { return key_; }
  TCodeHighlighterAttributes* SpaceAttri() const { return space_; }
  TCodeHighlighterAttributes* SymbolAttri() const { return symbol_; }

private:
  void ScanComment();
  bool At(size_t Pos, const char* Text) const { return line_.compare(Pos, 2, Text) == 0; }

  std::string line_;
  size_t start_ = 0;
  size_t run_ = 0;
  Kind kind_ = tkNull;
  Range range_ = rsPlain;
  std::string sampleText_;
  TCodeHighlighterAttributes* comment_;
  TCodeHighlighterAttributes* identifier_;
  TCodeHighlighterAttributes* key_;
  TCodeHighlighterAttributes* space_;
  TCodeHighlighterAttributes* symbol_;
};
