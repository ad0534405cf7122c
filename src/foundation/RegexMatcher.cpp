#include "foundation/RegexMatcher.h"
#include <algorithm>
#include <cstring>
#include <new>

namespace regex {
namespace {

// Kinds of backtracking entries: choice points to resume, and undo records that restore
// what a failed try changed.
enum : int {
  kBranch,         // resume the alternative at node, position
  kRepeatGreedy,   // a simple repetition may give back characters (count in the entry below)
  kRepeatLazy,     // a simple repetition may take more characters (count in the entry below)
  kLoopExit,       // a greedy counted loop may still leave
  kLoopPass,       // a non-greedy counted loop may still make another pass
  kCount,          // the count of a repetition entry
  kUndoStart,      // group start register
  kUndoEnd,        // group end register
  kUndoSlot,       // start of the current pass of a guarded loop
  kUndoLoopTop,
  kUndoLoopCount,
  kUndoLoopPassStart,
};

constexpr size_t ChunkEntries = size_t(1) << 14;
// 64 M entries (512 MB): far beyond any search a person starts, well within the process.
constexpr size_t MaxChunks = (size_t(64) << 20) / ChunkEntries;
// Kept between searches; a large search gives its memory back when it ends.
constexpr size_t ReservedChunks = 1;

// Steps: nodes visited plus characters scanned by repetitions and back-references. Patterns
// of linear cost take a few per character; the floor leaves short subjects room for nested
// counted loops; either way a runaway search stops within about a second.
constexpr int64_t StepFloor = int64_t(1) << 24;
constexpr int64_t StepsPerCharacter = 64;
// One try at one position gets the same per character of the text it reached, over a floor
// of a few milliseconds: a pattern that explodes at one place of a large text stops there
// instead of spending the whole search's budget.
constexpr int64_t AttemptStepFloor = int64_t(1) << 20;

}  // namespace

void TMatcher::Prepare(const TProgram& Program, const unsigned char* Subject, int Length,
                       int From) {
  searchStepsLeft_ = StepFloor + StepsPerCharacter * std::max(Length - From, 0);
  program_ = &Program;
  code_ = Program.Code.data();
  params_ = &Program.Params;
  s_ = Subject;
  len_ = Length;
  slots_.assign(Program.GuardCount, -1);
}

void TMatcher::BeginAttempt(int Pos) {
  attemptStepsLeft_ = AttemptStepFloor;
  reach_ = Pos;
}

inline void TMatcher::Reach(int Pos) {
  if (Pos <= reach_) return;
  attemptStepsLeft_ += StepsPerCharacter * (Pos - reach_);
  reach_ = Pos;
}

void TMatcher::ResetStack() {
  if (chunks_.empty()) chunks_.emplace_back(new TEntry[ChunkEntries]);
  chunk_ = 0;
  chunkBegin_ = chunks_[0].get();
  chunkEnd_ = chunkBegin_ + ChunkEntries;
  top_ = chunkBegin_;
}

void TMatcher::NextChunk() {
  if (chunk_ + 1 == chunks_.size()) {
    if (chunks_.size() >= MaxChunks) throw TMatchFailure{RegexBacktrackLimitError};
    try {
      std::unique_ptr<TEntry[]> chunk(new TEntry[ChunkEntries]);
      chunks_.push_back(std::move(chunk));
    } catch (const std::bad_alloc&) {
      throw TMatchFailure{RegexBacktrackLimitError};
    }
  }
  ++chunk_;
  chunkBegin_ = chunks_[chunk_].get();
  chunkEnd_ = chunkBegin_ + ChunkEntries;
  top_ = chunkBegin_;
}

bool TMatcher::PreviousChunk() {
  if (chunk_ == 0) return false;
  --chunk_;
  chunkBegin_ = chunks_[chunk_].get();
  chunkEnd_ = chunkBegin_ + ChunkEntries;
  top_ = chunkEnd_;
  return true;
}

void TMatcher::Trim() {
  ResetStack();
  if (chunks_.size() > ReservedChunks) chunks_.resize(ReservedChunks);
}

void TMatcher::SetRegister(int* Registers, int Index, int Value) {
  Push(Registers == start_ ? kUndoStart : kUndoEnd, Index, Registers[Index]);
  Registers[Index] = Value;
}

void TMatcher::SetLoopTop(int Value) {
  Push(kUndoLoopTop, 0, loopTop_);
  loopTop_ = Value;
}

void TMatcher::EnterLoopPass(int Pos) {
  TLoopFrame& frame = loops_[loopTop_];
  Push(kUndoLoopCount, loopTop_, frame.Count);
  Push(kUndoLoopPassStart, loopTop_, frame.PassStart);
  ++frame.Count;
  frame.PassStart = Pos;
}

void TMatcher::LeaveLoop() { SetLoopTop(loopTop_ - 1); }

bool TMatcher::MatchesOne(int Operand, int Pos) const {
  if (Pos >= len_) return false;
  const unsigned char ch = s_[Pos];
  const uint8_t* arg = code_ + Operand + NodeHeader;
  switch (code_[Operand]) {
    case opAny: return true;
    case opAnyML:
      return !params_->LineSeparators[ch] &&
             !(ch == params_->PairHead && Pos + 1 < len_ && s_[Pos + 1] == params_->PairTail);
    case opExactly: return ch == arg[0];
    case opExactlyCI: return ch == arg[0] || ch == program_->InvertCase[arg[0]];
    case opAnyDigit: return ch >= '0' && ch <= '9';
    case opNotDigit: return ch < '0' || ch > '9';
    case opAnyOfTinySet: return ch == arg[0] || ch == arg[1] || ch == arg[2];
    case opAnyButTinySet: return ch != arg[0] && ch != arg[1] && ch != arg[2];
    case opAnyOfFullSet: return (arg[ch >> 3] >> (ch & 7)) & 1;
    default: throw TMatchFailure{1000};
  }
}

// Whether the operand of R matches at Pos, which must lie within the text.
inline bool TMatcher::Takes(const TRepeat& R, int Pos) const {
  switch (R.Scan) {
    case TRepeat::ScanAll: return true;
    case TRepeat::ScanToByte: return s_[Pos] != R.StopByte;
    case TRepeat::ScanTable: break;
  }
  return R.Matches[s_[Pos]] || (R.PairCheck && MatchesOne(R.Operand, Pos));
}

int ScanRun(const TRepeat& R, const TCharParams& Params, const unsigned char* S, int Pos,
            int Limit, int Length) {
  const int limit = std::max(std::min(Limit, Length - Pos), 0);
  switch (R.Scan) {
    case TRepeat::ScanAll:
      return limit;
    case TRepeat::ScanToByte: {
      const void* hit = std::memchr(S + Pos, R.StopByte, static_cast<size_t>(limit));
      return hit ? static_cast<int>(static_cast<const unsigned char*>(hit) - (S + Pos)) : limit;
    }
    case TRepeat::ScanTable:
      break;
  }
  const unsigned char* s = S + Pos;
  int n = 0;
  for (;;) {
    while (n < limit && R.Matches[s[n]]) ++n;
    // "." takes a paired-separator head that its tail does not follow
    if (!(R.PairCheck && n < limit && s[n] == Params.PairHead &&
          !(Pos + n + 1 < Length && s[n + 1] == Params.PairTail)))
      return n;
    ++n;
  }
}

// How often the operand of R matches in a row from Pos, at most Max times.
inline int TMatcher::CountRepeat(const TRepeat& R, int Pos, int Max) const {
  return ScanRun(R, *params_, s_, Pos, Max, len_);
}

bool TMatcher::AtLineStart(int Pos) const {
  if (Pos == 0) return true;
  const unsigned char prev = s_[Pos - 1];
  if (prev == params_->PairTail && Pos >= 2 && s_[Pos - 2] == params_->PairHead) return true;
  if (prev == params_->PairHead && Pos < len_ && s_[Pos] == params_->PairTail) return false;
  return params_->LineSeparators[prev];
}

bool TMatcher::AtLineEnd(int Pos) const {
  if (Pos >= len_) return true;
  const unsigned char ch = s_[Pos];
  if (ch == params_->PairHead && Pos + 1 < len_ && s_[Pos + 1] == params_->PairTail) return true;
  if (!params_->LineSeparators[ch]) return false;
  return !(ch == params_->PairTail && Pos > 0 && s_[Pos - 1] == params_->PairHead);
}

bool TMatcher::AtWordBoundary(int Pos) const {
  const bool before = Pos > 0 && params_->Word[s_[Pos - 1]];
  const bool after = Pos < len_ && params_->Word[s_[Pos]];
  return before != after;
}

// Whether the rest of the program after a repetition can start at Pos (always, when it may
// start without consuming).
inline bool TMatcher::FollowFits(const TRepeat& R, int Pos) const {
  if (R.Follow < 0) return true;
  return Pos < len_ && program_->FollowSets[R.Follow][s_[Pos]];
}

inline bool TMatcher::BranchViable(int Branch, int Pos) const {
  const int index = program_->NodeData[Branch];
  if (index < 0) return true;
  return Pos < len_ && program_->BranchSets[index][s_[Pos]];
}

// Next count for a repetition at Start that has tried Count: greedy gives back one or more
// characters, non-greedy takes one or more; counts after which the rest of the program cannot
// start are skipped. False when no count is left.
bool TMatcher::ResumeRepeat(int Node, int Start, int Count, bool Greedy, int& Pos) {
  const TRepeat& r = RepeatOf(Node);
  const int min = r.Min;
  const int max = r.Max;
  int c = Count;
  if (Greedy) {
    while (c >= min && !FollowFits(r, Start + c)) --c;
    Charge(Count - c);
    if (c < min) return false;
    if (c > min) {
      Push(kCount, 0, c - 1);
      Push(kRepeatGreedy, Node, Start);
    }
  } else {
    const int limit = std::min(max, len_ - Start);
    const uint8_t* follow = r.Follow >= 0 ? program_->FollowSets[r.Follow].data() : nullptr;
    const unsigned char* s = s_ + Start;
    do {
      if (c >= limit || !Takes(r, Start + c)) {
        Reach(Start + c);
        Charge(c - Count);
        return false;
      }
      ++c;
    } while (follow && !(c < len_ - Start && follow[s[c]]));
    Reach(Start + c);
    Charge(c - Count);
    if (c < max) {
      Push(kCount, 0, c);
      Push(kRepeatLazy, Node, Start);
    }
  }
  Pos = Start + c;
  return true;
}

// The count pushed right below a repetition entry; anything else is a broken stack.
int TMatcher::PopCount() {
  TEntry count;
  if (!Pop(count) || (count.Tag & 15) != kCount) throw TMatchFailure{1002};
  return count.Value;
}

bool TMatcher::Backtrack(int& Node, int& Pos) {
  TEntry e;
  while (Pop(e)) {
    const int payload = e.Tag >> 4;
    switch (e.Tag & 15) {
      case kUndoStart: start_[payload] = e.Value; break;
      case kUndoEnd: end_[payload] = e.Value; break;
      case kUndoSlot: slots_[payload] = e.Value; break;
      case kUndoLoopTop: loopTop_ = e.Value; break;
      case kUndoLoopCount: loops_[payload].Count = e.Value; break;
      case kUndoLoopPassStart: loops_[payload].PassStart = e.Value; break;
      case kBranch:
        Node = payload;
        Pos = e.Value;
        return true;
      case kRepeatGreedy:
      case kRepeatLazy: {
        const int count = PopCount();
        const bool greedy = (e.Tag & 15) == kRepeatGreedy;
        if (ResumeRepeat(payload, e.Value, count, greedy, Pos)) {
          Node = program_->NextOf(payload);
          return true;
        }
        break;
      }
      case kLoopExit:
        Pos = e.Value;
        LeaveLoop();
        Node = program_->NextOf(payload);
        return true;
      case kLoopPass:
        Pos = e.Value;
        EnterLoopPass(Pos);
        Node = payload + ReadInt(code_ + payload + NodeHeader + 8);
        return true;
      default:
        throw TMatchFailure{1002};
    }
  }
  return false;
}

// The steps of the match loop are inline: it runs one per node it visits.

// Literal text at Pos; the case-insensitive node also takes the case-inverted character.
inline bool TMatcher::MatchText(int Node, int& Pos) const {
  const uint8_t* text = code_ + Node + NodeHeader;
  const unsigned char* invert = program_->InvertCase;
  const bool ignoreCase = code_[Node] == opExactlyCI;
  int i = 0;
  for (; text[i] != 0; ++i) {
    if (Pos + i >= len_) return false;
    const unsigned char ch = s_[Pos + i];
    if (ch != text[i] && !(ignoreCase && ch == invert[text[i]])) return false;
  }
  Pos += i;
  return true;
}

// The text of a set group again at Pos.
inline bool TMatcher::MatchBackReference(int Node, int& Pos) {
  const int group = code_[Node + NodeHeader];
  const int from = group < RegexSubExpCount ? start_[group] : -1;
  const int to = group < RegexSubExpCount ? end_[group] : -1;
  if (from < 0 || to < from) return false;
  const int length = to - from;
  if (length > len_ - Pos) return false;
  Reach(Pos + length);
  Charge(length);
  const unsigned char* invert = program_->InvertCase;
  const bool ignoreCase = code_[Node] == opBSubExpCI;
  for (int i = 0; i < length; ++i) {
    const unsigned char ch = s_[Pos + i];
    const unsigned char want = s_[from + i];
    if (ch != want && !(ignoreCase && ch == invert[want])) return false;
  }
  Pos += length;
  return true;
}

// Enters the first alternative of a choice that can start at Pos and keeps the next such
// one to resume; false when none can.
inline bool TMatcher::ChooseBranch(int& Node, int Pos) {
  const int next = program_->NextOf(Node);
  if (next < 0 || code_[next] != opBranch) {
    Node += NodeHeader;
    return true;
  }
  int branch = Node;
  while (branch >= 0 && code_[branch] == opBranch && !BranchViable(branch, Pos))
    branch = program_->NextOf(branch);
  if (branch < 0 || code_[branch] != opBranch) return false;
  int other = program_->NextOf(branch);
  while (other >= 0 && code_[other] == opBranch && !BranchViable(other, Pos))
    other = program_->NextOf(other);
  if (other >= 0 && code_[other] == opBranch) Push(kBranch, other, Pos);
  Node = branch + NodeHeader;
  return true;
}

// A simple repetition takes its first count: the most (greedy) or the least (non-greedy)
// after which the rest may match, keeping the others to resume.
inline bool TMatcher::StartRepeat(int Node, int& Pos) {
  const TRepeat& r = RepeatOf(Node);
  const int min = r.Min;
  const int max = r.Max;
  const int start = Pos;
  if (r.Greedy) {
    const int n = CountRepeat(r, start, max);
    Reach(start + n);
    Charge(n);
    return n >= min && ResumeRepeat(Node, start, n, true, Pos);
  }
  if (CountRepeat(r, start, min) < min) return false;
  Reach(start + min);
  Charge(min);
  if (!FollowFits(r, start + min)) return ResumeRepeat(Node, start, min, false, Pos);
  if (min < max) {
    Push(kCount, 0, min);
    Push(kRepeatLazy, Node, start);
  }
  Pos = start + min;
  return true;
}

inline void TMatcher::EnterLoop(int Pos) {
  if (loopTop_ + 1 >= LoopStackSize) throw TMatchFailure{1014};
  SetLoopTop(loopTop_ + 1);
  TLoopFrame& frame = loops_[loopTop_];
  Push(kUndoLoopCount, loopTop_, frame.Count);
  Push(kUndoLoopPassStart, loopTop_, frame.PassStart);
  frame.Count = 0;
  frame.PassStart = Pos;
}

// A counted loop after a pass (or on entry): another pass of the body, or leaving; the
// other choice is kept to resume while it is allowed. False when the pass must fail.
inline bool TMatcher::StepLoop(int& Node, int Pos) {
  if (loopTop_ < 0) throw TMatchFailure{1015};
  const int min = ReadInt(code_ + Node + NodeHeader);
  const int max = ReadInt(code_ + Node + NodeHeader + 4);
  const int body = Node + ReadInt(code_ + Node + NodeHeader + 8);
  const TLoopFrame& frame = loops_[loopTop_];
  // an optional pass that consumed nothing would repeat forever
  if (frame.Count > min && Pos == frame.PassStart) return false;
  if (frame.Count < min || (code_[Node] == opLoop && frame.Count < max)) {
    if (frame.Count >= min) Push(kLoopExit, Node, Pos);
    EnterLoopPass(Pos);
    Node = body;
    return true;
  }
  if (frame.Count < max) Push(kLoopPass, Node, Pos);
  LeaveLoop();
  Node = program_->NextOf(Node);
  return true;
}

bool TMatcher::MatchAt(int Pos, int* Start, int* End) {
  start_ = Start;
  end_ = End;
  std::fill(Start, Start + RegexSubExpCount, -1);
  std::fill(End, End + RegexSubExpCount, -1);
  loopTop_ = -1;
  std::fill(slots_.begin(), slots_.end(), -1);
  ResetStack();
  BeginAttempt(Pos);
  const bool guarded = program_->GuardCount > 0;
  int node = 1;
  int pos = Pos;
  for (;;) {
    Reach(pos);
    Charge(1);
    if (guarded && program_->GuardSlot[node] >= 0) {
      const int slot = program_->GuardSlot[node];
      Push(kUndoSlot, slot, slots_[slot]);
      slots_[slot] = pos;
    }
    const uint8_t op = code_[node];
    bool ok = true;
    switch (op) {
      case opEnd:
        Start[0] = Pos;
        End[0] = pos;
        return true;
      case opBol: ok = pos == 0; break;
      case opEol: ok = pos == len_; break;
      case opBolML: ok = AtLineStart(pos); break;
      case opEolML: ok = AtLineEnd(pos); break;
      case opBound: ok = AtWordBoundary(pos); break;
      case opNotBound: ok = !AtWordBoundary(pos); break;
      case opNothing:
      case opComment:
        break;
      case opAny:
      case opAnyML:
      case opAnyDigit:
      case opNotDigit:
      case opAnyOfTinySet:
      case opAnyButTinySet:
      case opAnyOfFullSet:
        ok = MatchesOne(node, pos);
        if (ok) ++pos;
        break;
      case opExactly:
      case opExactlyCI: ok = MatchText(node, pos); break;
      case opBSubExp:
      case opBSubExpCI: ok = MatchBackReference(node, pos); break;
      case opBranch:
        ok = ChooseBranch(node, pos);
        if (ok) continue;
        break;
      case opBack: {
        const int target = program_->NextOf(node);
        // a pass of a loop that consumed nothing ends the loop's passes
        ok = !(guarded && program_->GuardSlot[target] >= 0 &&
               slots_[program_->GuardSlot[target]] == pos);
        if (!ok) break;
        node = target;
        continue;
      }
      case opStar:
      case opPlus:
      case opBraces:
      case opStarNG:
      case opPlusNG:
      case opBracesNG: ok = StartRepeat(node, pos); break;
      case opLoopEntry: EnterLoop(pos); break;
      case opLoop:
      case opLoopNG:
        ok = StepLoop(node, pos);
        if (ok) continue;
        break;
      default:
        if (IsOpen(op)) SetRegister(Start, op - opOpen, pos);
        else if (IsClose(op)) SetRegister(End, op - opClose, pos);
        else throw TMatchFailure{1001};
        break;
    }
    if (ok) {
      node = program_->NextOf(node);
    } else if (!Backtrack(node, pos)) {
      return false;
    }
  }
}

}  // namespace regex
