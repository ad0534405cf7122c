// A highlighter whose language is not built in but described by rules: a tree of ranges, each
// with keyword groups, delimiters and colours, loaded from a rule file.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>
#include "editor/CodeEditHighlighter.h"
#include "rtl/DateTime.h"
#include "rtl/StringList.h"

class TCodeRange;
class TStream;

// Raised for a rule file that cannot be read; the message names the line.
class ECodeRuleFileError : public Exception {
public:
  using Exception::Exception;
};

// Whether a symbol needs a delimiter after it: any character may follow, or only a delimiter.
enum class TSymbolBreakType : uint8_t { btUnspecified, btAny, btTerm };

// A text the scanner recognises, with the attribute it gives and the range it opens.
struct TCodeSymbol {
  explicit TCodeSymbol(std::string AName = {}, TCodeHighlighterAttributes* AAttr = nullptr)
      : Name(std::move(AName)), Attr(AAttr) {}
  std::string Name;
  TCodeHighlighterAttributes* Attr;
  TCodeRange* OpenRule = nullptr;
  TSymbolBreakType BrakeType = TSymbolBreakType::btUnspecified;
};

// One node of a symbol tree: a character and, where a symbol ends here, that symbol.
class TSymbolNode {
public:
  TSymbolNode(char C, TCodeSymbol* Sym, TSymbolBreakType Brake)
      : Ch(C), BrakeType(Brake), Symbol(Sym) {}
  // Frees the subtree without recursion: a symbol may be as long as its rule file.
  ~TSymbolNode();
  TSymbolNode(const TSymbolNode&) = delete;
  TSymbolNode& operator=(const TSymbolNode&) = delete;

  bool HasChildren() const { return !children_.empty(); }
  // The child for exactly this character, or nullptr.
  TSymbolNode* FindChild(char C) const;
  TSymbolNode* FindOrAddChild(char C);

  char Ch;
  TSymbolBreakType BrakeType;
  TCodeSymbol* Symbol;

private:
  std::vector<std::unique_ptr<TSymbolNode>> children_;  // searched linearly
};

// A matcher of the symbol table. GetToken starts at Run (on the prepared line), advances it,
// and gives the symbol found, or nullptr when the text there is an ordinary word.
class TAbstractSymbol {
public:
  virtual ~TAbstractSymbol() = default;
  virtual TCodeSymbol* GetToken(const std::string& Line, int& Run,
                                const TCodeCharSet& Delimiters) = 0;
};

// The symbols that begin with one character, as a tree of their further characters.
class TSymbols : public TAbstractSymbol {
public:
  TSymbols(char C, TCodeSymbol* Sym, TSymbolBreakType Brake)
      : head_(std::make_unique<TSymbolNode>(C, Sym, Brake)) {}
  TSymbolNode& Head() { return *head_; }
  // Walks or creates one node per character of Rest; the last gets the symbol.
  void AddSymbol(const std::string& Rest, TCodeSymbol* Sym, TSymbolBreakType Brake);
  TCodeSymbol* GetToken(const std::string& Line, int& Run, const TCodeCharSet& Delimiters) override;

private:
  std::unique_ptr<TSymbolNode> head_;
};

// A character without symbol inside a word: the word runs on to the next delimiter.
class TDefaultSymbols : public TAbstractSymbol {
public:
  TCodeSymbol* GetToken(const std::string& Line, int& Run, const TCodeCharSet& Delimiters) override;
};

// A delimiter without symbol: a one-character token.
class TDefaultTermSymbols : public TAbstractSymbol {
public:
  explicit TDefaultTermSymbols(TCodeSymbol* Sym) : symbol_(Sym) {}
  TCodeSymbol* GetToken(const std::string& Line, int& Run, const TCodeCharSet& Delimiters) override;

private:
  TCodeSymbol* symbol_;
};

// Digits followed by a delimiter.
class TNumberSymbols : public TAbstractSymbol {
public:
  explicit TNumberSymbols(TCodeSymbol* Sym) : symbol_(Sym) {}
  TCodeSymbol* GetToken(const std::string& Line, int& Run, const TCodeCharSet& Delimiters) override;

private:
  TCodeSymbol* symbol_;
};

// A group of keywords sharing one attribute.
class TCodeSymbolGroup {
public:
  TCodeSymbolGroup(std::string Name, TCodeHighlighterAttributes* Attribs)
      : name_(std::move(Name)), attribs_(Attribs) {}
  const std::string& Name() const { return name_; }
  void SetName(const std::string& Value) { name_ = Value; }
  TCodeHighlighterAttributes* Attribs() const { return attribs_; }
  TStringList& KeywordsList() { return keywords_; }
  const TStringList& KeywordsList() const { return keywords_; }

private:
  std::string name_;
  TCodeHighlighterAttributes* attribs_;
  TStringList keywords_;
};

// One range of the language: the text between an open and a close symbol, with its own
// keywords, delimiters, colours and nested ranges.
class TCodeRange {
public:
  explicit TCodeRange(std::string OpenSymbol = {}, std::string CloseSymbol = {});
  ~TCodeRange();
  TCodeRange(const TCodeRange&) = delete;
  TCodeRange& operator=(const TCodeRange&) = delete;

  const std::string& Name() const { return name_; }
  void SetName(const std::string& Value) { name_ = Value; }
  TCodeSymbol& OpenSymbol() { return openSymbol_; }
  const TCodeSymbol& OpenSymbol() const { return openSymbol_; }
  TCodeSymbol& CloseSymbol() { return closeSymbol_; }
  const TCodeSymbol& CloseSymbol() const { return closeSymbol_; }
  bool CloseOnTerm() const { return closeOnTerm_; }
  void SetCloseOnTerm(bool Value) { closeOnTerm_ = Value; }
  bool CloseOnEol() const { return closeOnEol_; }
  void SetCloseOnEol(bool Value) { closeOnEol_ = Value; }
  // Case-insensitive ranges compare upper-cased text. A new range keeps the case although the
  // flag reads false; setting the flag chooses the matching preparation.
  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool Value);
  const TCodeCharSet& TermSymbols() const { return termSymbols_; }
  void SetTermSymbols(const TCodeCharSet& Value) { termSymbols_ = Value; }
  bool IsDelimiter(char C) const { return termSymbols_.test(static_cast<unsigned char>(C)); }
  TCodeHighlighterAttributes& DefaultAttri() { return *defaultAttri_; }
  const TCodeHighlighterAttributes& DefaultAttri() const { return *defaultAttri_; }
  TCodeHighlighterAttributes& NumberAttri() { return *numberAttri_; }
  const TCodeHighlighterAttributes& NumberAttri() const { return *numberAttri_; }

  // A new keyword group whose attribute (named "unknown") the range owns.
  TCodeSymbolGroup* AddSymbolGroup(const std::string& Name);
  int SymbolGroupCount() const { return static_cast<int>(groups_.size()); }
  TCodeSymbolGroup* SymbolGroups(int Index) const { return groups_.at(Index).get(); }
  TCodeRange* AddRange(const std::string& Name);
  int RangeCount() const { return static_cast<int>(ranges_.size()); }
  TCodeRange* Ranges(int Index) const { return ranges_.at(Index).get(); }
  int AttributeCount() const { return static_cast<int>(attributes_.size()); }

  // The character and text preparation of the range's case rule.
  char PrepareChar(char C) const;
  std::string PrepareText(const std::string& S) const;

  // Builds the symbol table from the keyword groups and sub-ranges, recursively, after
  // undoing any earlier preparation of this range and the ranges below it.
  void Prepare(TCodeRange* Owner);
  bool Prepared() const { return prepared_; }
  // Frees what preparing built, recursively.
  void Unprepare();
  // Frees sub-ranges, keyword groups, attributes and symbols, recursively.
  void Clear();

  // Set by preparing: the enclosing range (the root's is itself), the symbol that closes this
  // range, the symbol of an ordinary word, and the matcher per prepared character.
  TCodeRange* Owner() const { return owner_; }
  TCodeSymbol* ClosingSymbol() const { return closingSymbol_; }
  TCodeSymbol* DefaultSymbol() const { return defaultSymbol_.get(); }
  TAbstractSymbol* Matcher(char C) const { return symbolTable_[static_cast<unsigned char>(C)]; }
  // The range and every range below it, each before its sub-ranges.
  void CollectRanges(std::vector<TCodeRange*>& Ranges);

private:
  // The symbol of this name in the list, made with the given attribute and break type when new.
  TCodeSymbol* FindOrAddSymbol(const std::string& Name, TCodeHighlighterAttributes* Attr,
                               TSymbolBreakType Brake);
  // Prepares a range whose earlier preparation is already undone: the symbols its owner put
  // into its list (its closing symbol) must survive.
  void PrepareUnprepared(TCodeRange* Owner);
  void BuildSymbolTable();

  std::string name_;
  TCodeSymbol openSymbol_;
  TCodeSymbol closeSymbol_;
  bool closeOnTerm_ = false;
  bool closeOnEol_ = false;
  bool caseSensitive_ = false;
  bool upperCase_ = false;
  TCodeCharSet termSymbols_;
  std::unique_ptr<TCodeHighlighterAttributes> defaultAttri_;
  std::unique_ptr<TCodeHighlighterAttributes> numberAttri_;
  std::vector<std::unique_ptr<TCodeSymbolGroup>> groups_;
  std::vector<std::unique_ptr<TCodeRange>> ranges_;
  std::vector<std::unique_ptr<TCodeHighlighterAttributes>> attributes_;

  TCodeRange* owner_ = nullptr;
  std::vector<std::unique_ptr<TCodeSymbol>> symbols_;
  std::unordered_map<std::string, TCodeSymbol*> symbolsByName_;
  TCodeSymbol* closingSymbol_ = nullptr;
  std::unique_ptr<TCodeSymbol> defaultSymbol_;
  std::unique_ptr<TCodeSymbol> numberSymbol_;
  std::unique_ptr<TDefaultSymbols> defaultSymbols_;
  std::unique_ptr<TDefaultTermSymbols> defaultTermSymbols_;
  std::unique_ptr<TNumberSymbols> numberSymbols_;
  std::array<std::unique_ptr<TSymbols>, 256> trees_;
  std::array<TAbstractSymbol*, 256> symbolTable_{};
  bool prepared_ = false;
};

// What a rule file says about itself.
struct TCodeUniInfo {
  struct TGeneral {
    std::string Name, FileTypeName, Layout;
  } General;
  struct TAuthor {
    std::string Name, Email, Web, Copyright, Company, Remark;
  } Author;
  struct TVersion {
    int Version = 0;
    int Revision = 0;
    TDateTime Date = 0;
    int VersionType = 0;  // 0 internal test, 1 beta, 2 release
  } Version;
};

class TCodeUniversalHighlighter : public TCodeCustomHighlighter {
public:
  explicit TCodeUniversalHighlighter(TComponent* Owner);
  ~TCodeUniversalHighlighter() override;

  static const TCodeHighlighterClass& StaticClass();
  static std::string GetLanguageName();  // "UniLenguage"
  const TCodeHighlighterClass& ClassType() const override { return StaticClass(); }

  // 0..4: the current range's default attribute.
  TCodeHighlighterAttributes* GetDefaultAttribute(int Index) const override;
  // #32..#255 less the current range's delimiters.
  TCodeCharSet GetIdentifierChars() const override;
  std::string GetSampleText() const override;
  void SetSampleText(const std::string& Value) override;
  bool AtLineEnd() const override { return eol_; }
  // The current range's index in the table of the prepared rules' ranges (0 is the root):
  // an editor may keep it for every line without keeping a pointer into the rules.
  TCodeHighlighterRange GetRange() const override;
  std::string GetToken() const override;
  TCodeHighlighterAttributes* GetTokenAttribute() const override;
  int GetTokenKind() const override { return 1; }
  int GetTokenPos() const override { return tokenPos_; }
  // True when a keyword group of the current range holds the word (by the range's case rule).
  bool IsKeyword(const std::string& AKeyword) const override;
  void NextToken() override;
  void SetLine(const std::string& NewValue, int LineNumber) override;
  // An index outside the range table gives the root.
  void SetRange(TCodeHighlighterRange Value) override;
  void ResetRange() override;

  // Rule files. LoadFromStream replaces the rules, the information and the lists, then tells
  // the editors to rescan; a malformed text raises ECodeRuleFileError naming the line and
  // keeps what was read before the fault.
  void LoadFromFile(const std::string& FileName);
  void LoadFromStream(TStream& Stream);
  void SaveToStream(TStream& Stream) const;
  // The stored form property "Syntax": the rule text, stored when the root has sub-ranges.
  std::string Syntax() const;
  void SetSyntax(const std::string& Value);
  bool IsSyntaxStored() const;

  // Frees every range, keyword group, symbol and attribute below the root.
  void Clear();

  TCodeRange& Root() { return *root_; }
  const TCodeRange& CurrentRange() const { return *currentRange_; }
  const TCodeRange& Root() const { return *root_; }
  TCodeUniInfo& Info() { return info_; }
  const TCodeUniInfo& Info() const { return info_; }
  TStringList& History() { return history_; }
  const TStringList& History() const { return history_; }
  TStringList& Sample() { return sample_; }
  const TStringList& Sample() const { return sample_; }

private:
  void PrepareRoot();
  void ParseRules(const std::string& Text);
  char PreparedAt(int Index) const { return prepared_[Index]; }

  std::unique_ptr<TCodeRange> root_;
  TCodeRange* currentRange_ = nullptr;
  // The prepared rules' ranges, root first, and each range's index in it.
  std::vector<TCodeRange*> rangeTable_;
  std::unordered_map<const TCodeRange*, int> rangeIndex_;
  TCodeSymbol* token_ = nullptr;
  std::string line_;
  std::string prepared_;
  int run_ = 0;
  int tokenPos_ = 0;
  int lineNumber_ = 0;
  bool eol_ = false;
  bool pendingEol_ = false;
  TCodeUniInfo info_;
  TStringList history_;
  TStringList sample_;
};
