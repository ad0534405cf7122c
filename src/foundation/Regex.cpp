#include "foundation/Regex.h"
#include <algorithm>
#include <cstring>
#include <functional>
#include "foundation/RegexCompiler.h"
#include "foundation/RegexMatcher.h"
#include "foundation/RegexProgram.h"
#include "foundation/RegexStart.h"

namespace {

const char DefaultSpaceChars[] = " \t\n\r\f";
const char DefaultWordChars[] = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_";
const char DefaultLineSeparators[] = "\r\n";
const char DefaultLinePairedSeparator[] = "\r\n";

regex::TCharSet SetOf(const std::string& Chars) {
  regex::TCharSet set;
  for (char c : Chars) set.set(static_cast<unsigned char>(c));
  return set;
}

regex::TCharParams CharParamsOf(const std::string& Space, const std::string& Word,
                                const std::string& LineSeparators, const std::string& Paired) {
  regex::TCharParams params;
  params.Space = SetOf(Space);
  params.Word = SetOf(Word);
  params.LineSeparators = SetOf(LineSeparators);
  if (Paired.size() == 2) {
    params.PairHead = static_cast<unsigned char>(Paired[0]);
    params.PairTail = static_cast<unsigned char>(Paired[1]);
  }
  return params;
}

int ModifierBit(int Index) { return 1 << (Index - 1); }

// Reads a "$" reference at Template[I] (the "$"): "$&", "$n...", "${n...}" or "${&}".
// Gives the subexpression (0 for "&") and the index after it, or false.
bool ReadReference(const std::string& Template, size_t I, int& Group, size_t& After) {
  size_t j = I + 1;
  const bool braced = j < Template.size() && Template[j] == '{';
  if (braced) ++j;
  if (j >= Template.size()) return false;
  if (Template[j] == '&') {
    Group = 0;
    ++j;
  } else if (Template[j] >= '0' && Template[j] <= '9') {
    int64_t n = 0;
    while (j < Template.size() && Template[j] >= '0' && Template[j] <= '9') {
      n = std::min<int64_t>(n * 10 + (Template[j] - '0'), RegexSubExpCount);
      ++j;
    }
    Group = static_cast<int>(n);
  } else {
    return false;
  }
  if (braced) {
    if (j >= Template.size() || Template[j] != '}') return false;
    ++j;
  }
  After = j;
  return true;
}

}  // namespace

TRegex::TRegex(TRegexModifiers Defaults)
    : modifiers_(Defaults & (rmI | rmR | rmS | rmG | rmM)),
      matcher_(std::make_unique<regex::TMatcher>()),
      spaceChars_(DefaultSpaceChars),
      wordChars_(DefaultWordChars),
      lineSeparators_(DefaultLineSeparators),
      linePairedSeparator_(DefaultLinePairedSeparator) {
  ClearMatchRegisters();
}

TRegex::~TRegex() = default;

void TRegex::Error(int Code) {
  lastError_ = Code;
  const int position = Code < 1000 ? compilerErrorPos_ : 0;
  std::string message = ErrorMsg(Code);
  if (Code < 1000) message += " (pos " + std::to_string(position) + ")";
  throw ERegex(message, Code, position);
}

std::string TRegex::ErrorMsg(int Code) const {
  switch (Code) {
    case 0: return "No errors";
    case 100: return "TRegex(comp): Null Argument";
    case 101: return "TRegex(comp): Regexp Too Big";
    case 102: return "TRegex(comp): ParseReg Too Many ()";
    case 103:
    case 104: return "TRegex(comp): ParseReg Unmatched ()";
    case 105: return "TRegex(comp): ParseReg Junk On End";
    case 106: return "TRegex(comp): *+ Operand Could Be Empty";
    case 107: return "TRegex(comp): Nested *?+";
    case 108: return "TRegex(comp): Bad Hex Digit";
    case 109: return "TRegex(comp): Invalid [] Range";
    case 110: return "TRegex(comp): Parse Atom Trailing \\";
    case 111: return "TRegex(comp): No Hex Code After \\x";
    case 112: return "TRegex(comp): Hex Code After \\x Is Too Big";
    case 113: return "TRegex(comp): Unmatched []";
    case 114: return "TRegex(comp): Internal Urp";
    case 115: return "TRegex(comp): ?+*{ Follows Nothing";
    case 116: return "TRegex(comp): Trailing \\";
    case 119: return "TRegex(comp): RarseAtom Internal Disaster";
    case 122: return "TRegex(comp): BRACES Argument Too Big";
    case 124: return "TRegex(comp): BRACE Min Param Greater then Max";
    case 125: return "TRegex(comp): Unclosed (?#Comment)";
    case 126:
      return "TRegex(comp): If you want take part in beta-testing BRACES '{min,max}' and "
             "non-greedy ops '*?', '+?', '?\?' for complex cases - remove '.' from "
             "{.$DEFINE ComplexBraces}";
    case 127: return "TRegex(comp): Urecognized Modifier";
    case 128:
      return "TRegex(comp): LinePairedSeparator must countain two different chars or no "
             "chars at all";
    case 1000: return "TRegex(exec): RegRepeat Called Inappropriately";
    case 1001: return "TRegex(exec): MatchPrim Memory Corruption";
    case 1002: return "TRegex(exec): MatchPrim Corrupted Pointers";
    case 1003: return "TRegex(exec): Not Assigned Expression Property";
    case 1004: return "TRegex(exec): Corrupted Program";
    case 1005: return "TRegex(exec): No Input String Specified";
    case 1006: return "TRegex(exec): Offset Must Be Greater Then 0";
    case 1007: return "TRegex(exec): ExecNext Without Exec[Pos]";
    case 1008: return "TRegex(exec): GetInputString Without InputString";
    case 1011: return "TRegex(dump): Corrupted Opcode";
    case 1014: return "TRegex(exec): Loop Stack Exceeded";
    case 1015: return "TRegex(exec): Loop Without LoopEntry !";
    case RegexBacktrackLimitError: return "TRegex(exec): Backtrack Stack Exceeded";
    case RegexStepLimitError: return "TRegex(exec): Backtrack Step Limit Exceeded";
    case 2000: return "TRegex(misc): Bad p-code imported";
    default: return "Unknown error";
  }
}

void TRegex::SetExpression(const std::string& Value) {
  if (Value == expression_ && program_) return;
  expression_ = Value;
  DiscardProgram();
}

bool TRegex::GetModifier(int Index) {
  if (Index < 1 || Index > 6) {
    Error(1013);
    return false;
  }
  return (modifiers_ & ModifierBit(Index)) != 0;
}

void TRegex::SetModifier(int Index, bool Value) {
  if (Index < 1 || Index > 6) {
    Error(1013);
    return;
  }
  if (Value) modifiers_ |= ModifierBit(Index); else modifiers_ &= ~ModifierBit(Index);
}

bool TRegex::ParseModifiers(const std::string& Text, TRegexModifiers& Modifiers) {
  static const char Letters[] = "irsgmx";
  TRegexModifiers result = Modifiers;
  bool on = true;
  for (char c : Text) {
    if (c == '-') {
      on = false;
      continue;
    }
    const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    const char* letter = lower != 0 ? std::strchr(Letters, lower) : nullptr;
    if (!letter) return false;
    const TRegexModifiers bit = 1u << (letter - Letters);
    if (on) result |= bit; else result &= ~bit;
  }
  Modifiers = result;
  return true;
}

void TRegex::SetSpaceChars(const std::string& Value) {
  spaceChars_ = Value;
  DiscardProgram();
}

void TRegex::SetWordChars(const std::string& Value) {
  wordChars_ = Value;
  DiscardProgram();
}

void TRegex::SetLineSeparators(const std::string& Value) {
  lineSeparators_ = Value;
  DiscardProgram();
}

void TRegex::SetLinePairedSeparator(const std::string& Value) {
  if (!(Value.empty() || (Value.size() == 2 && Value[0] != Value[1]))) {
    Error(128);
    return;
  }
  if (Value == linePairedSeparator_) return;
  linePairedSeparator_ = Value;
  DiscardProgram();
}

void TRegex::DiscardProgram() { program_.reset(); }

void TRegex::Compile() {
  if (expression_.empty()) {
    Error(1003);
    return;
  }
  DiscardProgram();
  const regex::TCharParams params =
      CharParamsOf(spaceChars_, wordChars_, lineSeparators_, linePairedSeparator_);
  try {
    program_ = regex::CompileProgram(expression_, modifiers_, params);
  } catch (const regex::TCompileFailure& failure) {
    compilerErrorPos_ = failure.Position;
    struct TResetPosition {
      int& Position;
      ~TResetPosition() { Position = 0; }
    } reset{compilerErrorPos_};
    Error(failure.Code);
  }
}

void TRegex::EnsureProgram() {
  if (program_ && program_->Modifiers != modifiers_) DiscardProgram();
  if (!program_) Compile();
  if (program_ && (program_->Code.empty() || program_->Code[0] != regex::ProgramMarker))
    Error(1004);
}

const std::string& TRegex::InputString() {
  if (!hasInput_) Error(1008);
  if (subject_.data() != input_.data() || subject_.size() != input_.size()) {
    input_.assign(subject_);
    subject_ = input_;
  }
  return input_;
}

void TRegex::SetInputString(const std::string& Value) {
  input_ = Value;
  subject_ = input_;
  hasInput_ = true;
  ClearMatchRegisters();
}

void TRegex::SetInputView(std::string_view Value) {
  // An earlier own copy is freed, unless the new subject lies within it.
  const std::less<const char*> before;
  const bool inside = !before(Value.data(), input_.data()) &&
                      !before(input_.data() + input_.size(), Value.data());
  if (!inside) std::string().swap(input_);
  subject_ = Value;
  hasInput_ = true;
  ClearMatchRegisters();
}

void TRegex::ClearMatchRegisters() {
  std::fill(std::begin(startp_), std::end(startp_), -1);
  std::fill(std::begin(endp_), std::end(endp_), -1);
}

bool TRegex::Exec(const std::string& Input) {
  SetInputString(Input);
  return ExecPrim(1);
}

bool TRegex::ExecView(std::string_view Input) {
  SetInputView(Input);
  return ExecPrim(1);
}

bool TRegex::ExecPos(int Offset) { return ExecPrim(Offset); }

bool TRegex::ExecNext() {
  if (startp_[0] < 0 || endp_[0] < 0) {
    Error(1007);
    return false;
  }
  int offset = endp_[0] + 1;
  if (startp_[0] == endp_[0]) ++offset;
  return ExecPrim(offset);
}

bool TRegex::ExecPrim(int Offset) {
  ClearMatchRegisters();
  EnsureProgram();
  if (!program_) return false;
  if (!hasInput_) {
    Error(1005);
    return false;
  }
  if (Offset < 1) {
    Error(1006);
    return false;
  }
  const int length = static_cast<int>(subject_.size());
  if (Offset > length + 1) return false;
  const regex::TProgram& program = *program_;
  const auto* subject = reinterpret_cast<const unsigned char*>(subject_.data());
  if (!program.Required.Text.empty() &&
      program.Required.Find(subject, length, Offset - 1, program.InvertCase) < 0)
    return false;

  if (program.LiteralOnly) {
    const int pos = program.Anchor.Find(subject, length, Offset - 1, program.InvertCase);
    if (pos < 0) return false;
    startp_[0] = pos;
    endp_[0] = pos + static_cast<int>(program.Anchor.Text.size());
    return true;
  }
  matcher_->Prepare(program, subject, length, Offset - 1);
  bool found = false;
  try {
    regex::TStartPositions candidates(program, subject, length, Offset - 1);
    int pos;
    while (!found && candidates.Next(pos)) {
      found = MatchAt(pos);
      if (!found) candidates.Failed(pos);
    }
  } catch (const regex::TMatchFailure& failure) {
    ClearMatchRegisters();
    matcher_->Trim();
    Error(failure.Code);
    return false;
  }
  matcher_->Trim();
  return found;
}

bool TRegex::MatchAt(int Pos) {
  int start[RegexSubExpCount];
  int end[RegexSubExpCount];
  if (!matcher_->MatchAt(Pos, start, end)) return false;
  std::copy(std::begin(start), std::end(start), startp_);
  std::copy(std::begin(end), std::end(end), endp_);
  return true;
}

int TRegex::GetMatchPos(int Index) const {
  if (Index < 0 || Index >= RegexSubExpCount || !hasInput_) return -1;
  if (startp_[Index] < 0 || endp_[Index] < startp_[Index]) return -1;
  return startp_[Index] + 1;
}

int TRegex::GetMatchLen(int Index) const {
  if (GetMatchPos(Index) < 0) return -1;
  return endp_[Index] - startp_[Index];
}

std::string TRegex::GetMatch(int Index) const {
  if (GetMatchPos(Index) < 0) return std::string();
  return std::string(subject_.substr(startp_[Index], endp_[Index] - startp_[Index]));
}

std::string TRegex::Substitute(const std::string& Template) {
  EnsureProgram();
  if (!hasInput_) {
    Error(1005);
    return std::string();
  }
  std::string result;
  if (Template.empty()) return result;
  // The result's length first, then the text in one buffer.
  for (int pass = 0; pass < 2; ++pass) {
    size_t length = 0;
    for (size_t i = 0; i < Template.size();) {
      const char c = Template[i];
      int group;
      size_t after;
      if (c == '$' && ReadReference(Template, i, group, after)) {
        const std::string text = group < RegexSubExpCount ? GetMatch(group) : std::string();
        if (pass == 1) result.replace(length, text.size(), text);
        length += text.size();
        i = after;
        continue;
      }
      if (c == '\\' && i + 1 < Template.size()) ++i;
      if (pass == 1) result[length] = Template[i];
      ++length;
      ++i;
    }
    if (pass == 0) result.assign(length, '\0');
  }
  return result;
}

std::string TRegex::Replace(const std::string& Input, const std::string& Replacement,
                            bool UseSubstitution) {
  std::string result;
  size_t previous = 0;
  if (Exec(Input)) {
    do {
      const size_t start = static_cast<size_t>(startp_[0]);
      result.append(subject_.substr(previous, start - previous));
      result += UseSubstitution ? Substitute(Replacement) : Replacement;
      previous = static_cast<size_t>(endp_[0]);
    } while (ExecNext());
  }
  result.append(subject_.substr(std::min(previous, subject_.size())));
  return result;
}

bool ExecRegex(const std::string& Pattern, const std::string& Input) {
  TRegex regex;
  regex.SetExpression(Pattern);
  return regex.ExecView(Input);
}

std::string ReplaceRegex(const std::string& Pattern, const std::string& Input,
                         const std::string& Replacement, bool UseSubstitution) {
  TRegex regex;
  regex.SetExpression(Pattern);
  return regex.Replace(Input, Replacement, UseSubstitution);
}
