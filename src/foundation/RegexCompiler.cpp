#include "foundation/RegexCompiler.h"
#include <cstring>
#include "foundation/RegexLocale.h"

namespace regex {
namespace {

// Parse flags of one step.
enum : int {
  fWorst = 0,
  fHasWidth = 1,    // matches at least one character
  fSimple = 2,      // matches exactly one character
  fSpStart = 4,     // starts with a repetition
  fMayBeEmpty = 8,  // has width by syntax but can match empty (back-references)
};

// Eight digits keep every count below the largest one allowed, 2147483646.
constexpr int MaxBraceDigits = 8;

bool IsMeta(char C) { return C != 0 && std::strchr("^$.[()|?+*\\{", C) != nullptr; }
// "\d", "\s", "\w" and their negations, which end no range.
bool IsClassEscapeLetter(char C) { return C != 0 && std::strchr("dswDSW", C) != nullptr; }
bool IsXSpace(char C) { return C == ' ' || C == '\t' || C == '\n' || C == '\r'; }
int HexValue(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  return -1;
}

struct TBraces {
  int32_t Min = 0;
  int32_t Max = 0;
  const char* After = nullptr;
};

class TCompiler {
public:
  TCompiler(const std::string& Pattern, TRegexModifiers Modifiers, const TCharParams& Params)
      : begin_(Pattern.data()), p_(Pattern.data()), end_(Pattern.data() + Pattern.size()),
        mods_(Modifiers), params_(Params) {
    for (int c = 0; c < 256; ++c) invert_[c] = RegexInvertCase(static_cast<unsigned char>(c));
  }

  // The first pass only measures the program; the second fills exactly that much.
  std::unique_ptr<TProgram> Run() {
    const TRegexModifiers modifiers = mods_;
    int flags;
    sizing_ = true;
    size_ = 1;  // the marker
    ParseReg(false, flags);
    sizing_ = false;
    p_ = begin_;
    mods_ = modifiers;
    groups_ = 1;
    code_.reserve(size_);
    code_.push_back(ProgramMarker);
    ParseReg(false, flags);
    if (code_.size() != size_) Fail(119);  // the two passes must agree
    auto program = std::make_unique<TProgram>();
    program->Code = std::move(code_);
    std::memcpy(program->InvertCase, invert_, sizeof invert_);
    return program;
  }

private:
  [[noreturn]] void Fail(int Code) { throw TCompileFailure{Code, static_cast<int>(p_ - begin_)}; }

  // Counts Bytes more program in the sizing pass.
  void Grow(size_t Bytes) {
    if (size_ + Bytes > ProgramSizeLimit) Fail(101);
    size_ += Bytes;
  }
  int Emit(uint8_t Op) {
    if (sizing_) {
      Grow(NodeHeader);
      return static_cast<int>(size_ - NodeHeader);
    }
    int at = static_cast<int>(code_.size());
    code_.push_back(Op);
    code_.insert(code_.end(), 4, 0);
    return at;
  }
  void EmitByte(uint8_t B) {
    if (sizing_) Grow(1); else code_.push_back(B);
  }
  void EmitInt(int32_t V) {
    if (sizing_) {
      Grow(4);
      return;
    }
    code_.insert(code_.end(), 4, 0);
    WriteInt(&code_[code_.size() - 4], V);
  }
  void Patch(int At, int32_t V) {
    if (!sizing_) WriteInt(&code_[At], V);
  }
  // Puts a node with ExtraBytes zero operand bytes in front of the node at At.
  void InsertNode(uint8_t Op, int At, int ExtraBytes) {
    if (sizing_) {
      Grow(NodeHeader + ExtraBytes);
      return;
    }
    code_.insert(code_.begin() + At, NodeHeader + ExtraBytes, 0);
    code_[At] = Op;
  }
  int NextOf(int Node) const {
    int32_t off = ReadInt(&code_[Node + 1]);
    return off == 0 ? -1 : Node + off;
  }
  // Links the last node of the chain starting at Chain to Target.
  void Tail(int Chain, int Target) {
    if (sizing_) return;
    int node = Chain;
    for (int next = NextOf(node); next >= 0; next = NextOf(node)) node = next;
    WriteInt(&code_[node + 1], Target - node);
  }
  // Tail on the operand of an alternative; other nodes have no chain of their own.
  void OpTail(int Node, int Target) {
    if (!sizing_ && code_[Node] == opBranch) Tail(TProgram::OperandOf(Node), Target);
  }

  bool LineMode() const {
    return (mods_ & rmM) != 0 && (params_.LineSeparators.any() || params_.PairHead >= 0);
  }

  int ParseReg(bool Paren, int& Flags);
  int ParseBranch(int& Flags);
  int ParsePiece(int& Flags);
  int ParseAtom(int& Flags);
  int ParseInlineOption();
  int ParseEscapeAtom(int& Flags);
  int ParseLiteralRun(int& Flags);
  int ParseClass(int& Flags);
  bool ReadClassMember(TCharSet& Set, unsigned char& Ch);
  void AddRange(TCharSet& Set, unsigned char Lo, unsigned char Hi);
  unsigned char ReadCharEscape(char Escaped);
  bool IsQuantifierAt(const char* P) const;
  void ReadBraces(const char* P, TBraces& Result);
  void EmitCountedRepeat(int Atom, int32_t Min, int32_t Max, bool NonGreedy);
  void EmitGreedyStar(int Atom);
  void EmitGreedyPlus(int Atom);
  void EmitGreedyOption(int Atom);
  void EmitLoop(int Atom, int32_t Min, int32_t Max, bool NonGreedy);
  int EmitSet(const TCharSet& Set, bool Negated);
  int EmitLiteral(const std::string& Text);
  void SkipExtendedBlanks();

  const char* begin_;
  const char* p_;
  const char* end_;
  TRegexModifiers mods_;
  const TCharParams& params_;
  unsigned char invert_[256];
  std::vector<uint8_t> code_;
  bool sizing_ = false;
  size_t size_ = 0;
  int groups_ = 1;
};

// A parenthesised expression or the whole pattern: alternatives linked to one end node.
int TCompiler::ParseReg(bool Paren, int& Flags) {
  Flags = fHasWidth;
  const TRegexModifiers outerModifiers = mods_;
  int ret = -1;
  int group = 0;
  if (Paren) {
    if (groups_ >= RegexSubExpCount) Fail(102);
    group = groups_++;
    ret = Emit(static_cast<uint8_t>(opOpen + group));
  }
  bool first = true;
  do {
    if (!first) ++p_;  // the "|"
    int branchFlags;
    int branch = ParseBranch(branchFlags);
    if (ret < 0) ret = branch; else Tail(ret, branch);
    if (!(branchFlags & fHasWidth)) Flags &= ~fHasWidth;
    Flags |= branchFlags & (fSpStart | fMayBeEmpty);
    first = false;
  } while (p_ < end_ && *p_ == '|');

  int ender = Emit(static_cast<uint8_t>(Paren ? opClose + group : opEnd));
  Tail(ret, ender);
  if (!sizing_)
    for (int node = ret; node >= 0 && node != ender; node = NextOf(node)) OpTail(node, ender);

  if (Paren) {
    if (p_ >= end_ || *p_ != ')') Fail(103);
    ++p_;
  } else if (p_ < end_) {
    Fail(*p_ == ')' ? 104 : 105);
  }
  mods_ = outerModifiers;
  return ret;
}

int TCompiler::ParseBranch(int& Flags) {
  Flags = fWorst;
  int ret = Emit(opBranch);
  int chain = -1;
  while (p_ < end_ && *p_ != '|' && *p_ != ')') {
    int pieceFlags;
    int latest = ParsePiece(pieceFlags);
    Flags |= pieceFlags & (fHasWidth | fMayBeEmpty);
    if (chain < 0) Flags |= pieceFlags & fSpStart; else Tail(chain, latest);
    chain = latest;
  }
  if (chain < 0) Emit(opNothing);
  return ret;
}

int TCompiler::ParsePiece(int& Flags) {
  int atomFlags;
  const int ret = ParseAtom(atomFlags);
  if (p_ >= end_ || !IsQuantifierAt(p_)) {
    Flags = atomFlags;
    return ret;
  }
  const char op = *p_;
  if (!(atomFlags & fHasWidth) && op != '?') Fail(106);

  TBraces braces;
  if (op == '{') {
    ReadBraces(p_, braces);
    p_ = braces.After;
  } else {
    ++p_;
  }
  bool nonGreedy = (mods_ & rmG) == 0;
  if (p_ < end_ && *p_ == '?') {
    nonGreedy = true;
    ++p_;
  }
  const bool simple = (atomFlags & fSimple) != 0;
  Flags = atomFlags & fMayBeEmpty;

  switch (op) {
    case '*':
      Flags |= fSpStart;
      if (simple) {
        InsertNode(nonGreedy ? opStarNG : opStar, ret, 0);
      } else if (nonGreedy) {
        EmitLoop(ret, 0, RepeatInfinite, true);
      } else {
        EmitGreedyStar(ret);
      }
      break;
    case '+':
      Flags |= fSpStart | fHasWidth;
      if (simple) {
        InsertNode(nonGreedy ? opPlusNG : opPlus, ret, 0);
      } else if (nonGreedy) {
        EmitLoop(ret, 1, RepeatInfinite, true);
      } else {
        EmitGreedyPlus(ret);
      }
      break;
    case '?':
      if (!nonGreedy) {
        EmitGreedyOption(ret);
      } else if (simple) {
        EmitCountedRepeat(ret, 0, 1, true);
      } else {
        EmitLoop(ret, 0, 1, true);
      }
      break;
    default:  // braces
      Flags |= fSpStart | (braces.Min > 0 ? fHasWidth : 0);
      if (simple) {
        EmitCountedRepeat(ret, braces.Min, braces.Max, nonGreedy);
      } else {
        EmitLoop(ret, braces.Min, braces.Max, nonGreedy);
      }
      break;
  }
  if (p_ < end_ && IsQuantifierAt(p_)) Fail(107);
  return ret;
}

// A counted repeat node with its bounds in front of the simple atom at Atom.
void TCompiler::EmitCountedRepeat(int Atom, int32_t Min, int32_t Max, bool NonGreedy) {
  InsertNode(NonGreedy ? opBracesNG : opBraces, Atom, 8);
  Patch(Atom + NodeHeader, Min);
  Patch(Atom + NodeHeader + 4, Max);
}

// (x&|): an alternative whose body loops back to it, or nothing.
void TCompiler::EmitGreedyStar(int Atom) {
  InsertNode(opBranch, Atom, 0);
  OpTail(Atom, Emit(opBack));
  OpTail(Atom, Atom);
  Tail(Atom, Emit(opBranch));
  Tail(Atom, Emit(opNothing));
}

// x(&|): after the body, an alternative that loops back to it, or nothing.
void TCompiler::EmitGreedyPlus(int Atom) {
  const int next = Emit(opBranch);
  Tail(Atom, next);
  Tail(Emit(opBack), Atom);
  Tail(next, Emit(opBranch));
  Tail(Atom, Emit(opNothing));
}

// (x|): the atom or nothing.
void TCompiler::EmitGreedyOption(int Atom) {
  InsertNode(opBranch, Atom, 0);
  Tail(Atom, Emit(opBranch));
  const int nothing = Emit(opNothing);
  Tail(Atom, nothing);
  OpTail(Atom, nothing);
}

// Loop entry, the body, and a loop node that counts the passes and points back to the body.
void TCompiler::EmitLoop(int Atom, int32_t Min, int32_t Max, bool NonGreedy) {
  InsertNode(opLoopEntry, Atom, 0);
  const int body = Atom + NodeHeader;
  const int loop = Emit(NonGreedy ? opLoopNG : opLoop);
  EmitInt(Min);
  EmitInt(Max);
  EmitInt(body - loop);
  Tail(Atom, loop);
  Tail(body, loop);
}

bool TCompiler::IsQuantifierAt(const char* P) const {
  if (*P == '*' || *P == '+' || *P == '?') return true;
  if (*P != '{') return false;
  // Only the shape decides; numbers out of range are reported when the braces are read.
  const char* q = P + 1;
  const char* digits = q;
  while (q < end_ && *q >= '0' && *q <= '9') ++q;
  if (q == digits) return false;
  if (q < end_ && *q == ',') {
    ++q;
    while (q < end_ && *q >= '0' && *q <= '9') ++q;
  }
  return q < end_ && *q == '}';
}

// Reads {n}, {n,} or {n,m} at P, which IsQuantifierAt accepted.
void TCompiler::ReadBraces(const char* P, TBraces& Result) {
  auto readNumber = [this](const char*& q) {
    const char* start = q;
    int32_t value = 0;
    while (q < end_ && *q >= '0' && *q <= '9') {
      value = value * 10 + (*q - '0');
      ++q;
      if (q - start > MaxBraceDigits) {
        p_ = q;
        Fail(122);
      }
    }
    return value;
  };
  const char* q = P + 1;
  Result.Min = readNumber(q);
  Result.Max = Result.Min;
  if (*q == ',') {
    ++q;
    Result.Max = (*q == '}') ? RepeatInfinite : readNumber(q);
    if (Result.Max < Result.Min) {
      p_ = q;
      Fail(124);
    }
  }
  Result.After = q + 1;
}

int TCompiler::ParseAtom(int& Flags) {
  Flags = fWorst;
  if (p_ >= end_) Fail(114);
  if ((mods_ & rmX) && (IsXSpace(*p_) || *p_ == '#')) {
    SkipExtendedBlanks();
    return Emit(opComment);
  }
  switch (*p_) {
    case '^':
      ++p_;
      return Emit(LineMode() ? opBolML : opBol);
    case '$':
      ++p_;
      return Emit(LineMode() ? opEolML : opEol);
    case '.':
      ++p_;
      Flags = fHasWidth | fSimple;
      return Emit((mods_ & rmS) ? opAny : opAnyML);
    case '[':
      ++p_;
      return ParseClass(Flags);
    case '(': {
      ++p_;
      if (p_ < end_ && *p_ == '?') return ParseInlineOption();
      int groupFlags;
      int ret = ParseReg(true, groupFlags);
      Flags = groupFlags & (fHasWidth | fSpStart | fMayBeEmpty);
      return ret;
    }
    case '|':
    case ')':
      Fail(114);
    case '*':
    case '+':
    case '?':
      Fail(115);
    case '\\':
      ++p_;
      return ParseEscapeAtom(Flags);
    default:
      return ParseLiteralRun(Flags);
  }
}

void TCompiler::SkipExtendedBlanks() {
  while (p_ < end_) {
    if (IsXSpace(*p_)) {
      ++p_;
    } else if (*p_ == '#') {
      while (p_ < end_ && *p_ != '\r' && *p_ != '\n') ++p_;
    } else {
      break;
    }
  }
}

// "(?#comment)" or "(?modifiers)"; p_ is at the "?".
int TCompiler::ParseInlineOption() {
  ++p_;
  if (p_ < end_ && *p_ == '#') {
    while (p_ < end_ && *p_ != ')') ++p_;
    if (p_ >= end_) Fail(125);
    ++p_;
    return Emit(opComment);
  }
  // the letters are read up to the ")" before they are judged
  const char* letters = p_;
  while (p_ < end_ && *p_ != ')') ++p_;
  TRegexModifiers modifiers = mods_;
  if (p_ >= end_ || !TRegex::ParseModifiers(std::string(letters, p_), modifiers)) Fail(127);
  mods_ = modifiers;
  ++p_;
  return Emit(opComment);
}

int TCompiler::ParseEscapeAtom(int& Flags) {
  if (p_ >= end_) Fail(116);
  const char e = *p_++;
  Flags = fHasWidth | fSimple;
  switch (e) {
    case 'd': return Emit(opAnyDigit);
    case 'D': return Emit(opNotDigit);
    case 'w': return EmitSet(params_.Word, false);
    case 'W': return EmitSet(params_.Word, true);
    case 's': return EmitSet(params_.Space, false);
    case 'S': return EmitSet(params_.Space, true);
    case 'b': Flags = fWorst; return Emit(opBound);
    case 'B': Flags = fWorst; return Emit(opNotBound);
    case 'A': Flags = fWorst; return Emit(opBol);
    case 'Z': Flags = fWorst; return Emit(opEol);
    default: break;
  }
  if (e >= '1' && e <= '9') {
    Flags = fHasWidth | fMayBeEmpty;
    int ret = Emit((mods_ & rmI) ? opBSubExpCI : opBSubExp);
    EmitByte(static_cast<uint8_t>(e - '0'));
    return ret;
  }
  return EmitLiteral(std::string(1, static_cast<char>(ReadCharEscape(e))));
}

// The character of the escape "\" Escaped, p_ just after Escaped.
unsigned char TCompiler::ReadCharEscape(char Escaped) {
  switch (Escaped) {
    case 't': return 9;
    case 'n': return 10;
    case 'r': return 13;
    case 'f': return 12;
    case 'a': return 7;
    case 'e': return 27;
    case 'x': break;
    default: return static_cast<unsigned char>(Escaped);
  }
  if (p_ >= end_) Fail(111);
  int value = 0;
  if (*p_ == '{') {
    ++p_;
    while (p_ < end_ && *p_ != '}') {
      int digit = HexValue(*p_);
      if (digit < 0) Fail(108);
      value = value * 16 + digit;
      if (value > 255) Fail(112);
      ++p_;
    }
    if (p_ >= end_) Fail(111);
    ++p_;
    return static_cast<unsigned char>(value);
  }
  for (int i = 0; i < 2; ++i) {
    if (p_ >= end_) Fail(111);
    int digit = HexValue(*p_);
    if (digit < 0) Fail(108);
    value = value * 16 + digit;
    ++p_;
  }
  return static_cast<unsigned char>(value);
}

// The longest run of ordinary characters; its last one is left to a quantifier after it.
int TCompiler::ParseLiteralRun(int& Flags) {
  const bool extended = (mods_ & rmX) != 0;
  const char* start = p_;
  const char* lastChar = p_;
  std::string run;
  while (p_ < end_) {
    const char c = *p_;
    if (extended && IsXSpace(c)) {
      ++p_;
      continue;
    }
    if (extended && c == '#') break;
    if (c == 0 && !run.empty()) break;  // a zero byte becomes an atom of its own
    if (IsMeta(c) && !(c == '{' && p_ == start)) break;
    lastChar = p_;
    run += c;
    ++p_;
    if (c == 0) break;
  }
  if (run.size() > 1 && p_ < end_ && IsQuantifierAt(p_)) {
    run.pop_back();
    p_ = lastChar;
  }
  Flags = fHasWidth | (run.size() == 1 ? fSimple : 0);
  return EmitLiteral(run);
}

// A literal node; a zero byte cannot live in one (it ends the text) and becomes a set.
int TCompiler::EmitLiteral(const std::string& Text) {
  if (Text.size() == 1 && Text[0] == 0) {
    int ret = Emit(opAnyOfTinySet);
    EmitByte(0);
    EmitByte(0);
    EmitByte(0);
    return ret;
  }
  bool cased = false;
  if (mods_ & rmI) {
    for (char c : Text) cased |= invert_[static_cast<unsigned char>(c)] != static_cast<unsigned char>(c);
  }
  int ret = Emit(cased ? opExactlyCI : opExactly);
  for (char c : Text) EmitByte(static_cast<uint8_t>(c));
  EmitByte(0);
  return ret;
}

int TCompiler::ParseClass(int& Flags) {
  bool negated = false;
  if (p_ < end_ && *p_ == '^') {
    negated = true;
    ++p_;
  }
  TCharSet set;
  bool first = true;
  while (p_ < end_ && (*p_ != ']' || first)) {
    first = false;
    unsigned char lo;
    if (!ReadClassMember(set, lo)) continue;
    const bool range = p_ + 1 < end_ && *p_ == '-' && p_[1] != ']' &&
                       !(p_[1] == '\\' && p_ + 2 < end_ && IsClassEscapeLetter(p_[2]));
    if (!range) {
      set.set(lo);
      continue;
    }
    ++p_;  // the "-"
    unsigned char hi;
    if (*p_ == '\\') {
      ++p_;
      if (p_ >= end_) Fail(110);
      char e = *p_++;
      hi = ReadCharEscape(e);
    } else {
      hi = static_cast<unsigned char>(*p_++);
    }
    AddRange(set, lo, hi);
  }
  if (p_ >= end_) Fail(113);
  ++p_;  // the "]"
  if (mods_ & rmI) {
    TCharSet cased = set;
    for (int c = 0; c < 256; ++c)
      if (set[c]) cased.set(invert_[c]);
    set = cased;
  }
  Flags = fHasWidth | fSimple;
  return EmitSet(set, negated);
}

// Reads one member; a class escape ("\d", "\s", "\w") goes into Set and gives false, a
// single character is returned in Ch.
bool TCompiler::ReadClassMember(TCharSet& Set, unsigned char& Ch) {
  if (*p_ != '\\') {
    Ch = static_cast<unsigned char>(*p_++);
    return true;
  }
  ++p_;
  if (p_ >= end_) Fail(110);
  const char e = *p_++;
  switch (e) {
    case 'd':
      for (int c = '0'; c <= '9'; ++c) Set.set(c);
      return false;
    case 's': Set |= params_.Space; return false;
    case 'w': Set |= params_.Word; return false;
    default: Ch = ReadCharEscape(e); return true;
  }
}

void TCompiler::AddRange(TCharSet& Set, unsigned char Lo, unsigned char Hi) {
  const bool cyrillic = (mods_ & rmR) != 0;
  if (Hi < Lo) {
    if (!(cyrillic && Lo == 224 && Hi == 223)) Fail(109);
    // small and capital letters together, with the two yo letters
    for (int c = 192; c <= 255; ++c) Set.set(c);
    Set.set(168);
    Set.set(184);
    return;
  }
  for (int c = Lo; c <= Hi; ++c) Set.set(c);
  if (cyrillic && Lo == 224 && Hi == 255) Set.set(184);
  if (cyrillic && Lo == 192 && Hi == 223) Set.set(168);
}

// Up to three members give a tiny-set node, more a 256-bit set.
int TCompiler::EmitSet(const TCharSet& Set, bool Negated) {
  if (Set.count() <= 3 && Set.any()) {
    uint8_t members[3];
    int n = 0;
    for (int c = 0; c < 256; ++c)
      if (Set[c]) members[n++] = static_cast<uint8_t>(c);
    for (int i = n; i < 3; ++i) members[i] = members[n - 1];
    int ret = Emit(Negated ? opAnyButTinySet : opAnyOfTinySet);
    for (uint8_t m : members) EmitByte(m);
    return ret;
  }
  const TCharSet members = Negated ? ~Set : Set;
  int ret = Emit(opAnyOfFullSet);
  for (int byte = 0; byte < 32; ++byte) {
    uint8_t bits = 0;
    for (int bit = 0; bit < 8; ++bit)
      if (members[byte * 8 + bit]) bits |= static_cast<uint8_t>(1u << bit);
    EmitByte(bits);
  }
  return ret;
}

}  // namespace

std::unique_ptr<TProgram> CompileProgram(const std::string& Pattern, TRegexModifiers Modifiers,
                                         const TCharParams& Params) {
  TCompiler compiler(Pattern, Modifiers, Params);
  auto program = compiler.Run();
  program->Modifiers = Modifiers;
  program->Params = Params;
  Optimise(*program);
  return program;
}

}  // namespace regex
