#include "highlighters/CodeUniversalHighlighter.h"
#include <algorithm>
#include "editor/CodeEditStrConst.h"
#include "rtl/SysUtils.h"

namespace {

using BT = TSymbolBreakType;

// Upper case of every byte through the system's code page, built once: preparing a line must
// be cheap, and characters and texts must fold alike.
const std::array<char, 256>& UpperTable() {
  static const std::array<char, 256> table = [] {
    std::array<char, 256> t{};
    for (int c = 0; c < 256; ++c) t[c] = AnsiUpperChar(static_cast<char>(c));
    return t;
  }();
  return table;
}

// Always delimiters, whatever a rule file says: line ends, blanks and the cent sign.
TCodeCharSet FixedDelimiters() { return CodeCharSet(std::string("\0\t\n\r \xA2", 6)); }

TCodeCharSet DefaultDelimiters() {
  return CodeCharRange(33, 47) | CodeCharRange(58, 64) | CodeCharRange(91, 94) |
         CodeCharRange(96, 96) | CodeCharRange(123, 126);
}

bool IsDigit(char C) { return C >= '0' && C <= '9'; }

[[maybe_unused]] const bool kRegistered =
    RegisterHighlighterClass(TCodeUniversalHighlighter::StaticClass());

}  // namespace

// ---------------------------------------------------------------------------------------------
// Symbol trees and matchers

TSymbolNode::~TSymbolNode() {
  std::vector<std::unique_ptr<TSymbolNode>> pending = std::move(children_);
  while (!pending.empty()) {
    std::unique_ptr<TSymbolNode> node = std::move(pending.back());
    pending.pop_back();
    for (auto& child : node->children_) pending.push_back(std::move(child));
    node->children_.clear();
  }
}

TSymbolNode* TSymbolNode::FindChild(char C) const {
  for (const auto& child : children_)
    if (child->Ch == C) return child.get();
  return nullptr;
}

TSymbolNode* TSymbolNode::FindOrAddChild(char C) {
  if (TSymbolNode* child = FindChild(C)) return child;
  children_.push_back(std::make_unique<TSymbolNode>(C, nullptr, BT::btUnspecified));
  return children_.back().get();
}

void TSymbols::AddSymbol(const std::string& Rest, TCodeSymbol* Sym, TSymbolBreakType Brake) {
  if (Rest.empty()) return;
  TSymbolNode* node = head_.get();
  for (char c : Rest) node = node->FindOrAddChild(c);
  node->BrakeType = Brake;
  node->Symbol = Sym;
}

TCodeSymbol* TSymbols::GetToken(const std::string& Line, int& Run,
                                const TCodeCharSet& Delimiters) {
  const int length = static_cast<int>(Line.size());
  TSymbolNode* node = head_.get();
  bool descentFailed = false;
  while (node->HasChildren() && Run < length) {
    ++Run;
    TSymbolNode* next = Run < length ? node->FindChild(Line[Run]) : nullptr;
    if (!next) {
      descentFailed = true;
      break;
    }
    node = next;
  }
  if (!node->Symbol) return nullptr;
  if (descentFailed) --Run;
  ++Run;  // past the last matched character
  if (node->BrakeType != BT::btAny && !Delimiters.test(static_cast<unsigned char>(Line[Run])))
    return nullptr;
  return node->Symbol;
}

TCodeSymbol* TDefaultSymbols::GetToken(const std::string&, int& Run, const TCodeCharSet&) {
  ++Run;
  return nullptr;
}

TCodeSymbol* TDefaultTermSymbols::GetToken(const std::string& Line, int& Run,
                                           const TCodeCharSet&) {
  if (Run < static_cast<int>(Line.size())) ++Run;
  return symbol_;
}

TCodeSymbol* TNumberSymbols::GetToken(const std::string& Line, int& Run,
                                      const TCodeCharSet& Delimiters) {
  while (IsDigit(Line[Run])) ++Run;
  return Delimiters.test(static_cast<unsigned char>(Line[Run])) ? symbol_ : nullptr;
}

// ---------------------------------------------------------------------------------------------
// Ranges

TCodeRange::TCodeRange(std::string OpenSymbol, std::string CloseSymbol)
    : openSymbol_(std::move(OpenSymbol)),
      closeSymbol_(std::move(CloseSymbol)),
      termSymbols_(DefaultDelimiters()),
      defaultAttri_(std::make_unique<TCodeHighlighterAttributes>(CES_AttrDefaultPackages)),
      numberAttri_(std::make_unique<TCodeHighlighterAttributes>(CES_AttrNumber)) {}

TCodeRange::~TCodeRange() = default;

void TCodeRange::SetCaseSensitive(bool Value) {
  caseSensitive_ = Value;
  upperCase_ = !Value;
}

char TCodeRange::PrepareChar(char C) const {
  return upperCase_ ? UpperTable()[static_cast<unsigned char>(C)] : C;
}

std::string TCodeRange::PrepareText(const std::string& S) const {
  if (!upperCase_) return S;
  std::string r = S;
  for (char& c : r) c = UpperTable()[static_cast<unsigned char>(c)];
  return r;
}

TCodeSymbolGroup* TCodeRange::AddSymbolGroup(const std::string& Name) {
  attributes_.push_back(std::make_unique<TCodeHighlighterAttributes>("unknown"));
  groups_.push_back(std::make_unique<TCodeSymbolGroup>(Name, attributes_.back().get()));
  return groups_.back().get();
}

TCodeRange* TCodeRange::AddRange(const std::string& Name) {
  ranges_.push_back(std::make_unique<TCodeRange>());
  ranges_.back()->SetName(Name);
  return ranges_.back().get();
}

void TCodeRange::CollectRanges(std::vector<TCodeRange*>& Ranges) {
  Ranges.push_back(this);
  for (const auto& r : ranges_) r->CollectRanges(Ranges);
}

void TCodeRange::Unprepare() {
  symbolTable_.fill(nullptr);
  for (auto& tree : trees_) tree.reset();
  symbolsByName_.clear();
  symbols_.clear();
  closingSymbol_ = nullptr;
  defaultSymbols_.reset();
  defaultTermSymbols_.reset();
  numberSymbols_.reset();
  defaultSymbol_.reset();
  numberSymbol_.reset();
  prepared_ = false;
  for (auto& r : ranges_) r->Unprepare();
}

void TCodeRange::Clear() {
  Unprepare();
  ranges_.clear();
  groups_.clear();
  attributes_.clear();
}

TCodeSymbol* TCodeRange::FindOrAddSymbol(const std::string& Name, TCodeHighlighterAttributes* Attr,
                                         TSymbolBreakType Brake) {
  auto it = symbolsByName_.find(Name);
  if (it != symbolsByName_.end()) return it->second;
  symbols_.push_back(std::make_unique<TCodeSymbol>(Name, Attr));
  symbols_.back()->BrakeType = Brake;
  symbolsByName_[Name] = symbols_.back().get();
  return symbols_.back().get();
}

void TCodeRange::Prepare(TCodeRange* Owner) {
  Unprepare();
  PrepareUnprepared(Owner);
}

void TCodeRange::PrepareUnprepared(TCodeRange* Owner) {
  owner_ = Owner;
  defaultSymbol_ = std::make_unique<TCodeSymbol>("", defaultAttri_.get());
  numberSymbol_ = std::make_unique<TCodeSymbol>("", numberAttri_.get());
  defaultSymbols_ = std::make_unique<TDefaultSymbols>();
  defaultTermSymbols_ = std::make_unique<TDefaultTermSymbols>(defaultSymbol_.get());
  numberSymbols_ = std::make_unique<TNumberSymbols>(numberSymbol_.get());
  termSymbols_ |= FixedDelimiters();

  // A later group wins a word both contain. The symbol object stays, so that a keyword
  // spelled like the range's closing symbol still closes the range.
  for (const auto& group : groups_) {
    const TStringList& words = group->KeywordsList();
    for (int i = 0; i < words.Count(); ++i) {
      TCodeSymbol* sym = FindOrAddSymbol(words[i], group->Attribs(), BT::btUnspecified);
      sym->Attr = group->Attribs();
      sym->BrakeType = BT::btUnspecified;
      sym->OpenRule = nullptr;
    }
  }

  for (const auto& sub : ranges_) {
    const TCodeSymbol& open = sub->OpenSymbol();
    TCodeSymbol* opener = FindOrAddSymbol(open.Name, open.Attr, open.BrakeType);
    if (!opener->Attr) opener->Attr = &sub->DefaultAttri();
    opener->OpenRule = sub.get();
    const TCodeSymbol& close = sub->CloseSymbol();
    TCodeSymbol* closer = sub->FindOrAddSymbol(close.Name, close.Attr, close.BrakeType);
    if (!closer->Attr) closer->Attr = &sub->DefaultAttri();
    sub->closingSymbol_ = closer;
    sub->PrepareUnprepared(this);
  }

  BuildSymbolTable();
  prepared_ = true;
}

void TCodeRange::BuildSymbolTable() {
  std::sort(symbols_.begin(), symbols_.end(),
            [](const auto& a, const auto& b) { return a->Name < b->Name; });
  for (const auto& sym : symbols_) {
    const std::string& name = sym->Name;
    if (name.empty()) continue;
    BT brake = sym->BrakeType;
    if (brake == BT::btUnspecified) brake = IsDelimiter(name.back()) ? BT::btAny : BT::btTerm;
    unsigned char first = static_cast<unsigned char>(PrepareChar(name[0]));
    std::unique_ptr<TSymbols>& tree = trees_[first];
    if (!tree) {
      tree = std::make_unique<TSymbols>(static_cast<char>(first),
                                        name.size() == 1 ? sym.get() : defaultSymbol_.get(),
                                        name.size() == 1 ? brake : BT::btUnspecified);
    } else if (name.size() == 1 && tree->Head().Symbol == defaultSymbol_.get()) {
      // Sorted by the unprepared name, a one-character symbol may come after a longer one
      // that folds to the same first character; it must not get lost.
      tree->Head().Symbol = sym.get();
      tree->Head().BrakeType = brake;
    }
    tree->AddSymbol(PrepareText(name.substr(1)), sym.get(), brake);
  }
  for (int c = 0; c < 256; ++c) {
    if (trees_[c])
      symbolTable_[c] = trees_[c].get();
    else if (termSymbols_.test(c))
      symbolTable_[c] = defaultTermSymbols_.get();
    else if (IsDigit(static_cast<char>(c)))
      symbolTable_[c] = numberSymbols_.get();
    else
      symbolTable_[c] = defaultSymbols_.get();
  }
}

// ---------------------------------------------------------------------------------------------
// The highlighter

const TCodeHighlighterClass& TCodeUniversalHighlighter::StaticClass() {
  static const TCodeHighlighterClass info{"TCodeUniversalHighlighter",
                                          &TCodeCustomHighlighter::StaticClass(),
                                          &TCodeUniversalHighlighter::GetLanguageName,
                                          &TCodeUniversalHighlighter::GetCapabilities};
  return info;
}

std::string TCodeUniversalHighlighter::GetLanguageName() { return "UniLenguage"; }

TCodeUniversalHighlighter::TCodeUniversalHighlighter(TComponent* Owner)
    : TCodeCustomHighlighter(Owner), root_(std::make_unique<TCodeRange>()) {
  root_->SetName("Root");
  currentRange_ = root_.get();
}

TCodeUniversalHighlighter::~TCodeUniversalHighlighter() = default;

void TCodeUniversalHighlighter::Clear() {
  root_->Clear();
  rangeTable_.clear();
  rangeIndex_.clear();
  currentRange_ = root_.get();
  token_ = nullptr;
}

void TCodeUniversalHighlighter::PrepareRoot() {
  root_->Prepare(root_.get());
  rangeTable_.clear();
  rangeIndex_.clear();
  root_->CollectRanges(rangeTable_);
  for (size_t i = 0; i < rangeTable_.size(); ++i) rangeIndex_[rangeTable_[i]] = static_cast<int>(i);
}

TCodeHighlighterAttributes* TCodeUniversalHighlighter::GetDefaultAttribute(int Index) const {
  return Index >= 0 && Index <= 4 ? &currentRange_->DefaultAttri() : nullptr;
}

TCodeCharSet TCodeUniversalHighlighter::GetIdentifierChars() const {
  return CodeCharRange(32, 255) & ~currentRange_->TermSymbols();
}

std::string TCodeUniversalHighlighter::GetSampleText() const { return sample_.Text(); }

void TCodeUniversalHighlighter::SetSampleText(const std::string& Value) { sample_.SetText(Value); }

TCodeHighlighterRange TCodeUniversalHighlighter::GetRange() const {
  auto it = rangeIndex_.find(currentRange_);
  return it != rangeIndex_.end() ? it->second : 0;
}

void TCodeUniversalHighlighter::SetRange(TCodeHighlighterRange Value) {
  if (!root_->Prepared()) PrepareRoot();
  bool known = Value >= 0 && Value < static_cast<TCodeHighlighterRange>(rangeTable_.size());
  currentRange_ = known ? rangeTable_[Value] : root_.get();
}

void TCodeUniversalHighlighter::ResetRange() { currentRange_ = root_.get(); }

std::string TCodeUniversalHighlighter::GetToken() const {
  return line_.substr(tokenPos_, run_ - tokenPos_);
}

TCodeHighlighterAttributes* TCodeUniversalHighlighter::GetTokenAttribute() const {
  return token_ ? token_->Attr : nullptr;
}

bool TCodeUniversalHighlighter::IsKeyword(const std::string& AKeyword) const {
  const TCodeRange& range = *currentRange_;
  const std::string word = range.PrepareText(AKeyword);
  for (int g = 0; g < range.SymbolGroupCount(); ++g) {
    const TStringList& words = range.SymbolGroups(g)->KeywordsList();
    for (int i = 0; i < words.Count(); ++i)
      if (range.PrepareText(words[i]) == word) return true;
  }
  return false;
}

void TCodeUniversalHighlighter::SetLine(const std::string& NewValue, int LineNumber) {
  if (!root_->Prepared()) PrepareRoot();
  if (!rangeIndex_.count(currentRange_)) currentRange_ = root_.get();
  line_ = NewValue;
  prepared_ = currentRange_->PrepareText(line_);
  lineNumber_ = LineNumber;
  run_ = 0;
  tokenPos_ = 0;
  eol_ = false;
  pendingEol_ = false;
  token_ = nullptr;
  NextToken();
}

void TCodeUniversalHighlighter::NextToken() {
  const int length = static_cast<int>(prepared_.size());
  if (pendingEol_) {
    if (currentRange_->CloseOnEol() || currentRange_->CloseOnTerm())
      currentRange_ = currentRange_->Owner();
    eol_ = true;
    return;
  }
  tokenPos_ = run_;
  if (currentRange_->CloseOnTerm() && currentRange_->IsDelimiter(PreparedAt(run_)))
    currentRange_ = currentRange_->Owner();
  if (run_ >= length) {
    // Only an empty line gets here: it ends at once, with the range changes of its end.
    pendingEol_ = true;
    NextToken();
    return;
  }
  TCodeRange& range = *currentRange_;
  TCodeSymbol* sym = range.Matcher(PreparedAt(run_))->GetToken(prepared_, run_, range.TermSymbols());
  if (sym) {
    token_ = sym;
    if (sym == range.ClosingSymbol())
      currentRange_ = range.Owner();
    else if (sym->OpenRule)
      currentRange_ = sym->OpenRule;
  } else {
    token_ = range.DefaultSymbol();
    while (run_ < length && !range.IsDelimiter(PreparedAt(run_))) ++run_;
  }
  if (run_ >= length) pendingEol_ = true;
}
