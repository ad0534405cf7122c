// Optimisation data of a compiled program: where a match can begin, what it must contain,
// which alternatives can start at a character, and which loops need an empty-pass guard.
#include "foundation/RegexProgram.h"

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
constexpr int AnalysisDepth = 64;

// Collects the characters at which a chain of nodes can consume its first character.
class TFirstChars {
public:
  explicit TFirstChars(const TProgram& Program) : p_(Program), code_(Program.Code) {}

  // False when the chain may succeed, or do something not analysed, without consuming;
  // Set is meaningless then.
  bool Chain(int Node, TCharSet& Set) {
    budget_ = AnalysisBudget;
    return Walk(Node, Set, 0);
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

  static bool IsSimple(uint8_t Op) {
    switch (Op) {
      case opAny: case opAnyML: case opExactly: case opExactlyCI: case opAnyDigit:
      case opNotDigit: case opAnyOfTinySet: case opAnyButTinySet: case opAnyOfFullSet:
        return true;
      default:
        return false;
    }
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

void FindStartAndRequired(TProgram& P) {
  const int first = SoleBranchStart(P);
  if (first < 0) return;
  if (P.Code[first] == opExactly) P.StartChar = P.Code[first + NodeHeader];
  if (P.Code[first] == opBol) P.Anchored = true;
  // Every literal on the chain of the only alternative must occur in a match.
  for (int node = first; node >= 0 && P.Code[node] != opEnd; node = P.NextOf(node)) {
    const uint8_t op = P.Code[node];
    if (op != opExactly && op != opExactlyCI) continue;
    const char* text = reinterpret_cast<const char*>(&P.Code[node + NodeHeader]);
    std::string literal(text);
    if (literal.size() > P.RequiredLiteral.size()) {
      P.RequiredLiteral = literal;
      P.RequiredLiteralCI = op == opExactlyCI;
    }
  }
}

bool HasBackReference(const TProgram& P) {
  for (int node = 1; node < static_cast<int>(P.Code.size()); node += NodeSize(P.Code, node))
    if (P.Code[node] == opBSubExp || P.Code[node] == opBSubExpCI) return true;
  return false;
}

// The leading unbounded repetition, looking into groups of one alternative.
void FindLeadingRepeat(TProgram& P) {
  int node = SoleBranchStart(P);
  if (node < 0 || HasBackReference(P)) return;
  for (;;) {
    const uint8_t op = P.Code[node];
    const int next = P.NextOf(node);
    if (IsOpen(op) || op == opComment) {
      node = next;
    } else if (op == opBranch && (next < 0 || P.Code[next] != opBranch)) {
      node = TProgram::OperandOf(node);
    } else {
      break;
    }
  }
  int operand;
  switch (P.Code[node]) {
    case opStar: case opStarNG: case opPlus: case opPlusNG:
      operand = TProgram::OperandOf(node);
      break;
    case opBraces: case opBracesNG:
      if (ReadInt(&P.Code[node + NodeHeader + 4]) != RepeatInfinite) return;
      operand = node + NodeHeader + 8;
      break;
    default:
      return;
  }
  if (P.Code[operand] == opAnyML) return;  // its set depends on the following character
  TFirstChars(P).Simple(operand, P.LeadingRepeat);
  P.HasLeadingRepeat = true;
}

void FindBranchSets(TProgram& P) {
  TFirstChars analysis(P);
  P.BranchSetIndex.assign(P.Code.size(), -1);
  for (int node = 1; node < static_cast<int>(P.Code.size()); node += NodeSize(P.Code, node)) {
    if (P.Code[node] != opBranch) continue;
    TCharSet set;
    if (!analysis.Chain(TProgram::OperandOf(node), set)) continue;
    P.BranchSetIndex[node] = static_cast<int32_t>(P.BranchSets.size());
    P.BranchSets.push_back(set);
  }
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

void Optimise(TProgram& P) {
  FindStartAndRequired(P);
  TFirstChars analysis(P);
  P.FirstChars.reset();
  if (!analysis.Chain(1, P.FirstChars)) P.FirstChars.set();
  FindLeadingRepeat(P);
  FindBranchSets(P);
  FindGuardedLoops(P);
}

}  // namespace regex
