// Optimisation data of a compiled program: where a match can begin, what it must contain,
// which alternatives can start at a character, and which loops need an empty-pass guard.
#include "foundation/RegexProgram.h"
#include <algorithm>

namespace regex {

int NodeSize(const std::vector<uint8_t>& Code, int Node) {
  switch (Code[Node]) {
    case opExactly:
    case opExactlyCI: {
      int size = NodeHeader;
      while (Code[Node + size] != 0) ++size;
      return size + 1;
    }
    case opBraces:
    case opBracesNG: return NodeHeader + 8;
    case opLoop:
    case opLoopNG: return NodeHeader + 12;
    case opAnyOfTinySet:
    case opAnyButTinySet: return NodeHeader + 3;
    case opAnyOfFullSet: return NodeHeader + 32;
    case opBSubExp:
    case opBSubExpCI: return NodeHeader + 1;
    default: return NodeHeader;
  }
}

namespace {

constexpr int AnalysisBudget = 200000;
// For all chains of one program together: a long pattern of many repetitions still compiles
// in linear time, its later chains just go without a first-character set.
constexpr int64_t ProgramAnalysisBudget = int64_t(1) << 24;
constexpr int AnalysisDepth = 64;
// memchr per start byte beats a table walk only for one or two of them
constexpr size_t MaxStartBytes = 2;

bool IsSimple(uint8_t Op) {
  switch (Op) {
    case opAny: case opAnyML: case opExactly: case opExactlyCI: case opAnyDigit:
    case opNotDigit: case opAnyOfTinySet: case opAnyButTinySet: case opAnyOfFullSet:
      return true;
    default:
      return false;
  }
}

bool IsSimpleRepeat(uint8_t Op) {
  switch (Op) {
    case opStar: case opStarNG: case opPlus: case opPlusNG: case opBraces: case opBracesNG:
      return true;
    default:
      return false;
  }
}

// Collects the characters at which a chain of nodes can consume its first character.
class TFirstChars {
public:
  explicit TFirstChars(const TProgram& Program) : p_(Program), code_(Program.Code) {}

  // False when the chain may succeed, or do something not analysed, without consuming;
  // Set is meaningless then.
  bool Chain(int Node, TCharSet& Set) {
    if (total_ <= 0) return false;
    budget_ = AnalysisBudget;
    const bool known = Walk(Node, Set, 0);
    total_ -= AnalysisBudget - std::max(budget_, 0);
    return known;
  }

  // The characters of a one-character node, all of them and no more.
  void Simple(int Node, TCharSet& Set) const { AddSimple(Node, Set); }

private:
  bool Walk(int Node, TCharSet& Set, int Depth) {
    if (Depth > AnalysisDepth) return false;
    bool fromLoopEntry = false;
    while (Node >= 0) {
      if (--budget_ < 0) return false;
      const uint8_t op = code_[Node];
      const bool enteredLoop = fromLoopEntry;
      fromLoopEntry = false;
      switch (op) {
        case opEnd:
        case opBack:
        case opBSubExp:
        case opBSubExpCI:
          return false;
        case opBranch: {
          int next = p_.NextOf(Node);
          if (next < 0 || code_[next] != opBranch) {
            Node = TProgram::OperandOf(Node);
            continue;
          }
          for (int b = Node; b >= 0 && code_[b] == opBranch; b = p_.NextOf(b))
            if (!Walk(TProgram::OperandOf(b), Set, Depth + 1)) return false;
          return true;
        }
        case opStar:
        case opStarNG:
          AddSimple(TProgram::OperandOf(Node), Set);
          break;
        case opPlus:
        case opPlusNG:
          AddSimple(TProgram::OperandOf(Node), Set);
          return true;
        case opBraces:
        case opBracesNG:
          AddSimple(Node + NodeHeader + 8, Set);
          if (ReadInt(&code_[Node + NodeHeader]) > 0) return true;
          break;
        case opLoopEntry:
          fromLoopEntry = true;
          break;
        case opLoop:
        case opLoopNG: {
          // Reached from its entry the count is 0; from the body it may iterate or leave.
          const int body = Node + ReadInt(&code_[Node + NodeHeader + 8]);
          if (!Walk(body, Set, Depth + 1)) return false;
          if (enteredLoop && ReadInt(&code_[Node + NodeHeader]) > 0) return true;
          break;
        }
        default:
          if (IsSimple(op)) {
            AddSimple(Node, Set);
            return true;
          }
          break;  // zero-width nodes
      }
      Node = p_.NextOf(Node);
    }
    return false;
  }

  void AddSimple(int Node, TCharSet& Set) const {
    const uint8_t* operand = &code_[Node + NodeHeader];
    switch (code_[Node]) {
      case opExactly:
        Set.set(operand[0]);
        break;
      case opExactlyCI:
        Set.set(operand[0]);
        Set.set(p_.InvertCase[operand[0]]);
        break;
      case opAnyDigit:
        for (int c = '0'; c <= '9'; ++c) Set.set(c);
        break;
      case opNotDigit:
        for (int c = 0; c < 256; ++c)
          if (c < '0' || c > '9') Set.set(c);
        break;
      case opAnyOfTinySet:
        for (int i = 0; i < 3; ++i) Set.set(operand[i]);
        break;
      case opAnyButTinySet:
        for (int c = 0; c < 256; ++c)
          if (c != operand[0] && c != operand[1] && c != operand[2]) Set.set(c);
        break;
      case opAnyOfFullSet:
        for (int c = 0; c < 256; ++c)
          if (operand[c >> 3] & (1u << (c & 7))) Set.set(c);
        break;
      default:  // any character, with or without line breaks
        Set.set();
        break;
    }
  }

  const TProgram& p_;
  const std::vector<uint8_t>& code_;
  int budget_ = 0;
  int64_t total_ = ProgramAnalysisBudget;
};

// The first node of the only top-level alternative, -1 when there are several.
int SoleBranchStart(const TProgram& P) {
  const int top = 1;
  const int next = P.NextOf(top);
  if (next >= 0 && P.Code[next] == opBranch) return -1;
  int node = TProgram::OperandOf(top);
  while (P.Code[node] == opComment) node = P.NextOf(node);
  return node;
}

// Zero-width nodes that cannot fail on their own or only test the position.
bool IsZeroWidth(uint8_t Op) {
  switch (Op) {
    case opComment: case opNothing: case opBound: case opNotBound: case opBolML:
    case opEolML:
      return true;
    default:
      return IsOpen(Op) || IsClose(Op);
  }
}

std::string LiteralText(const TProgram& P, int Node) {
  return reinterpret_cast<const char*>(&P.Code[Node + NodeHeader]);
}

// The first literal of the only alternative when only one-character nodes, their
// repetitions and zero-width nodes come before it; their classes go to AnchorBefore.
int FindAnchor(TProgram& P, TFirstChars& Analysis, int First) {
  int node = First;
  while (node >= 0) {
    const uint8_t op = P.Code[node];
    const int next = P.NextOf(node);
    if (op == opExactly || op == opExactlyCI) {
      const std::string text = LiteralText(P, node);
      // one word or space character occurs too often in text to look for it first
      const unsigned char c = static_cast<unsigned char>(text[0]);
      if (!P.AnchorBefore.empty() && text.size() == 1 &&
          (P.Params.Word[c] || P.Params.Space[c]))
        break;
      P.Anchor.Set(text, op == opExactlyCI, P.InvertCase);
      return node;
    }
    TCharSet set;
    if (op == opBranch && (next < 0 || P.Code[next] != opBranch)) {
      node = TProgram::OperandOf(node);
      continue;
    } else if (IsSimpleRepeat(op)) {
      Analysis.Simple(op == opBraces || op == opBracesNG ? node + NodeHeader + 8
                                                         : TProgram::OperandOf(node),
                      set);
    } else if (IsSimple(op)) {
      Analysis.Simple(node, set);
    } else if (!IsZeroWidth(op)) {
      break;
    }
    if (set.any()) P.AnchorBefore.push_back(TableOf(set));
    node = next;
  }
  P.AnchorBefore.clear();
  return -1;
}

void FindStartAndRequired(TProgram& P, TFirstChars& Analysis) {
  const int first = SoleBranchStart(P);
  if (first < 0) return;
  if (P.Code[first] == opBol) P.Anchored = true;
  const int anchor = FindAnchor(P, Analysis, first);
  P.LiteralOnly = anchor == first && P.NextOf(anchor) >= 0 && P.Code[P.NextOf(anchor)] == opEnd;
  // Every literal on the chain of the only alternative must occur in a match.
  int required = -1;
  size_t length = 0;
  for (int node = first; node >= 0 && P.Code[node] != opEnd; node = P.NextOf(node)) {
    const uint8_t op = P.Code[node];
    if (op != opExactly && op != opExactlyCI) continue;
    const size_t size = LiteralText(P, node).size();
    if (size > length) {
      required = node;
      length = size;
    }
  }
  // the search for the anchor already finds it
  if (required >= 0 && required != anchor)
    P.Required.Set(LiteralText(P, required), P.Code[required] == opExactlyCI, P.InvertCase);
}

bool HasBackReference(const TProgram& P) {
  for (int node = 1; node < static_cast<int>(P.Code.size()); node += NodeSize(P.Code, node))
    if (P.Code[node] == opBSubExp || P.Code[node] == opBSubExpCI) return true;
  return false;
}

// Skips groups opening and alternatives standing alone.
int SkipGroupStarts(const TProgram& P, int Node, bool AlsoClose) {
  for (;;) {
    const uint8_t op = P.Code[Node];
    const int next = P.NextOf(Node);
    if ((IsOpen(op) || op == opComment || (AlsoClose && IsClose(op))) && next >= 0) {
      Node = next;
    } else if (op == opBranch && (next < 0 || P.Code[next] != opBranch)) {
      Node = TProgram::OperandOf(Node);
    } else {
      return Node;
    }
  }
}

// The unbounded repetition at the program's start, or right after its first literal.
void FindRunSkip(TProgram& P) {
  int node = SoleBranchStart(P);
  if (node < 0 || HasBackReference(P)) return;
  node = SkipGroupStarts(P, node, false);
  int prefix = 0;
  if (P.Code[node] == opExactly || P.Code[node] == opExactlyCI) {
    // it is the anchor: tries are only made where it occurs
    prefix = static_cast<int>(LiteralText(P, node).size());
    if (P.NextOf(node) < 0) return;
    node = SkipGroupStarts(P, P.NextOf(node), true);
  }
  if (!IsSimpleRepeat(P.Code[node])) return;
  const TRepeat& repeat = P.Repeats[P.NodeData[node]];
  if (repeat.Max != RepeatInfinite) return;
  P.RunSkipRepeat = P.NodeData[node];
  P.RunSkipPrefix = prefix;
}

// How a repetition counts its operand: to the end, up to one refused character, or through
// a table of the characters it takes.
void ChooseScan(const TProgram& P, TFirstChars& Analysis, TRepeat& R) {
  const uint8_t op = P.Code[R.Operand];
  const uint8_t* arg = &P.Code[R.Operand + NodeHeader];
  if (op == opAny) {
    R.Scan = TRepeat::ScanAll;
  } else if (op == opAnyButTinySet && arg[0] == arg[1] && arg[1] == arg[2]) {
    R.Scan = TRepeat::ScanToByte;
    R.StopByte = arg[0];
  } else if (op == opAnyML) {
    // "." refuses a paired-separator head only when the tail follows
    TCharSet set = ~P.Params.LineSeparators;
    if (P.Params.PairHead >= 0 && set[P.Params.PairHead]) {
      set.reset(P.Params.PairHead);
      R.PairCheck = true;
    }
    R.Matches = TableOf(set);
  } else {
    TCharSet set;
    Analysis.Simple(R.Operand, set);
    R.Matches = TableOf(set);
  }
}

// Decodes every repetition of a one-character operand, with the characters the rest of the
// program must begin with after it: counts after which none of them follows are not tried.
void FindRepeats(TProgram& P, TFirstChars& Analysis) {
  for (int node = 1; node < static_cast<int>(P.Code.size()); node += NodeSize(P.Code, node)) {
    const uint8_t op = P.Code[node];
    if (!IsSimpleRepeat(op)) continue;
    TRepeat r;
    if (op == opBraces || op == opBracesNG) {
      r.Min = ReadInt(&P.Code[node + NodeHeader]);
      r.Max = ReadInt(&P.Code[node + NodeHeader + 4]);
      r.Operand = node + NodeHeader + 8;
    } else {
      r.Min = op == opPlus || op == opPlusNG ? 1 : 0;
      r.Max = RepeatInfinite;
      r.Operand = node + NodeHeader;
    }
    r.Greedy = op == opStar || op == opPlus || op == opBraces;
    ChooseScan(P, Analysis, r);
    TCharSet follow;
    const int next = P.NextOf(node);
    if (next >= 0 && Analysis.Chain(next, follow)) {
      r.Follow = static_cast<int32_t>(P.FollowSets.size());
      P.FollowSets.push_back(TableOf(follow));
    }
    P.NodeData[node] = static_cast<int32_t>(P.Repeats.size());
    P.Repeats.push_back(r);
  }
}

void FindBranchSets(TProgram& P, TFirstChars& Analysis) {
  for (int node = 1; node < static_cast<int>(P.Code.size()); node += NodeSize(P.Code, node)) {
    if (P.Code[node] != opBranch) continue;
    TCharSet set;
    if (!Analysis.Chain(TProgram::OperandOf(node), set)) continue;
    P.NodeData[node] = static_cast<int32_t>(P.BranchSets.size());
    P.BranchSets.push_back(TableOf(set));
  }
}

// Where the search tries: at the offset only, before the anchor literal, at one or two
// characters found with memchr, or through the first-character table.
void ChooseStart(TProgram& P) {
  if (P.Anchored) {
    P.Start = TStart::Anchored;
  } else if (!P.Anchor.Text.empty()) {
    P.Start = TStart::Literal;
  } else if (P.FirstChars.count() <= MaxStartBytes) {
    P.Start = TStart::FewBytes;
    for (int c = 0; c < 256; ++c)
      if (P.FirstChars[c]) P.StartBytes += static_cast<char>(c);
  } else {
    P.Start = TStart::Table;
  }
  P.FirstTable = TableOf(P.FirstChars);
}

// A loop built from alternatives and a back link can only pass without consuming when its
// body holds a back-reference; such a loop gets a slot that remembers where a pass began.
void FindGuardedLoops(TProgram& P) {
  std::vector<int> backs;
  bool anyBackReference = false;
  for (int node = 1; node < static_cast<int>(P.Code.size()); node += NodeSize(P.Code, node)) {
    if (P.Code[node] == opBack) backs.push_back(node);
    if (P.Code[node] == opBSubExp || P.Code[node] == opBSubExpCI) anyBackReference = true;
  }
  if (!anyBackReference) return;
  for (int back : backs) {
    const int target = P.NextOf(back);
    bool hasBackReference = false;
    for (int node = target; node < back; node += NodeSize(P.Code, node))
      hasBackReference |= P.Code[node] == opBSubExp || P.Code[node] == opBSubExpCI;
    if (!hasBackReference) continue;
    if (P.GuardSlot.empty()) P.GuardSlot.assign(P.Code.size(), -1);
    if (P.GuardSlot[target] < 0) P.GuardSlot[target] = static_cast<int16_t>(P.GuardCount++);
  }
}

}  // namespace

TByteTable TableOf(const TCharSet& Set) {
  TByteTable table;
  for (int c = 0; c < 256; ++c) table[c] = Set[c];
  return table;
}

void Optimise(TProgram& P) {
  TFirstChars analysis(P);
  FindStartAndRequired(P, analysis);
  P.FirstChars.reset();
  if (!analysis.Chain(1, P.FirstChars)) P.FirstChars.set();
  P.NodeData.assign(P.Code.size(), -1);
  FindBranchSets(P, analysis);
  FindRepeats(P, analysis);
  FindRunSkip(P);
  FindGuardedLoops(P);
  ChooseStart(P);
}

}  // namespace regex
