#include "foundation/RegexMatcher.h"
#include <algorithm>
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

}  // namespace

void TMatcher::Prepare(const TProgram& Program, const TCharParams& Params, const char* Subject,
                       int Length) {
  program_ = &Program;
  code_ = Program.Code.data();
  params_ = &Params;
  s_ = reinterpret_cast<const unsigned char*>(Subject);
  len_ = Length;
  slots_.assign(Program.GuardCount, -1);
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
      chunks_.emplace_back(new TEntry[ChunkEntries]);
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

// How often the one-character Operand matches in a row from Pos, at most Max times.
int TMatcher::CountRepeat(int Operand, int Pos, int Max) const {
  const int limit = std::min(Max, len_ - Pos);
  const uint8_t* arg = code_ + Operand + NodeHeader;
  int n = 0;
  switch (code_[Operand]) {
    case opAny:
      return std::max(limit, 0);
    case opExactly:
      while (n < limit && s_[Pos + n] == arg[0]) ++n;
      return n;
    case opAnyOfFullSet:
      while (n < limit && ((arg[s_[Pos + n] >> 3] >> (s_[Pos + n] & 7)) & 1)) ++n;
      return n;
    default:
      while (n < limit && MatchesOne(Operand, Pos + n)) ++n;
      return n;
  }
}

bool TMatcher::AtLineStart(int Pos) const {
  if (Pos == 0) return true;
  const unsigned char prev = s_[Pos - 1];
  if (!params_->LineSeparators[prev]) return false;
  return !(prev == params_->PairHead && Pos < len_ && s_[Pos] == params_->PairTail);
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

// Whether the literal after a repetition can start at Pos (always, when none follows).
bool TMatcher::NextLiteralFits(int Node, int Pos) const {
  const int next = program_->NextOf(Node);
  if (next < 0) return true;
  const uint8_t op = code_[next];
  if (op != opExactly && op != opExactlyCI) return true;
  if (Pos >= len_) return false;
  const uint8_t first = code_[next + NodeHeader];
  const unsigned char ch = s_[Pos];
  return ch == first || (op == opExactlyCI && ch == program_->InvertCase[first]);
}

bool TMatcher::BranchViable(int Branch, int Pos) const {
  const int index = program_->BranchSetIndex[Branch];
  if (index < 0) return true;
  return Pos < len_ && program_->BranchSets[index][s_[Pos]];
}

void TMatcher::RepeatBounds(int Node, int& Min, int& Max, int& Operand) const {
  switch (code_[Node]) {
    case opStar:
    case opStarNG:
      Min = 0;
      Max = RepeatInfinite;
      Operand = Node + NodeHeader;
      break;
    case opPlus:
    case opPlusNG:
      Min = 1;
      Max = RepeatInfinite;
      Operand = Node + NodeHeader;
      break;
    default:
      Min = ReadInt(code_ + Node + NodeHeader);
      Max = ReadInt(code_ + Node + NodeHeader + 4);
      Operand = Node + NodeHeader + 8;
      break;
  }
}

// Next count for a repetition at Start that has tried Count: greedy gives back one or more
// characters, non-greedy takes one or more; counts after which the following literal cannot
// start are skipped. False when no count is left.
bool TMatcher::ResumeRepeat(int Node, int Start, int Count, bool Greedy, int& Pos) {
  int min, max, operand;
  RepeatBounds(Node, min, max, operand);
  int c = Count;
  if (Greedy) {
    while (c >= min && !NextLiteralFits(Node, Start + c)) --c;
    if (c < min) return false;
    if (c > min) {
      Push(kCount, 0, c - 1);
      Push(kRepeatGreedy, Node, Start);
    }
  } else {
    do {
      if (c >= max || !MatchesOne(operand, Start + c)) return false;
      ++c;
    } while (!NextLiteralFits(Node, Start + c));
    if (c < max) {
      Push(kCount, 0, c);
      Push(kRepeatLazy, Node, Start);
    }
  }
  Pos = Start + c;
  return true;
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
        TEntry count{0, 0};
        Pop(count);
        const bool greedy = (e.Tag & 15) == kRepeatGreedy;
        if (ResumeRepeat(payload, e.Value, count.Value, greedy, Pos)) {
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

bool TMatcher::MatchAt(int Pos, int* Start, int* End) {
  start_ = Start;
  end_ = End;
  std::fill(Start, Start + RegexSubExpCount, -1);
  std::fill(End, End + RegexSubExpCount, -1);
  loopTop_ = -1;
  std::fill(slots_.begin(), slots_.end(), -1);
  ResetStack();
  const bool guarded = program_->GuardCount > 0;
  const int matchStart = Pos;
  int node = 1;
  int pos = Pos;
  for (;;) {
    if (guarded && program_->GuardSlot[node] >= 0) {
      const int slot = program_->GuardSlot[node];
      Push(kUndoSlot, slot, slots_[slot]);
      slots_[slot] = pos;
    }
    const uint8_t op = code_[node];
    switch (op) {
      case opEnd:
        Start[0] = matchStart;
        End[0] = pos;
        return true;
      case opBol:
        if (pos != 0) goto fail;
        break;
      case opEol:
        if (pos != len_) goto fail;
        break;
      case opBolML:
        if (!AtLineStart(pos)) goto fail;
        break;
      case opEolML:
        if (!AtLineEnd(pos)) goto fail;
        break;
      case opBound:
        if (!AtWordBoundary(pos)) goto fail;
        break;
      case opNotBound:
        if (AtWordBoundary(pos)) goto fail;
        break;
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
        if (!MatchesOne(node, pos)) goto fail;
        ++pos;
        break;
      case opExactly: {
        const uint8_t* text = code_ + node + NodeHeader;
        int i = 0;
        for (; text[i] != 0; ++i)
          if (pos + i >= len_ || s_[pos + i] != text[i]) goto fail;
        pos += i;
        break;
      }
      case opExactlyCI: {
        const uint8_t* text = code_ + node + NodeHeader;
        const unsigned char* invert = program_->InvertCase;
        int i = 0;
        for (; text[i] != 0; ++i) {
          if (pos + i >= len_) goto fail;
          const unsigned char ch = s_[pos + i];
          if (ch != text[i] && ch != invert[text[i]]) goto fail;
        }
        pos += i;
        break;
      }
      case opBSubExp:
      case opBSubExpCI: {
        const int group = code_[node + NodeHeader];
        const int from = group < RegexSubExpCount ? Start[group] : -1;
        const int to = group < RegexSubExpCount ? End[group] : -1;
        if (from < 0 || to < from) goto fail;
        const int length = to - from;
        if (length > len_ - pos) goto fail;
        const unsigned char* invert = program_->InvertCase;
        for (int i = 0; i < length; ++i) {
          const unsigned char ch = s_[pos + i];
          const unsigned char want = s_[from + i];
          if (ch != want && !(op == opBSubExpCI && ch == invert[want])) goto fail;
        }
        pos += length;
        break;
      }
      case opBranch: {
        const int next = program_->NextOf(node);
        if (next < 0 || code_[next] != opBranch) {
          node += NodeHeader;
          continue;
        }
        int branch = node;
        while (branch >= 0 && code_[branch] == opBranch && !BranchViable(branch, pos))
          branch = program_->NextOf(branch);
        if (branch < 0 || code_[branch] != opBranch) goto fail;
        int other = program_->NextOf(branch);
        while (other >= 0 && code_[other] == opBranch && !BranchViable(other, pos))
          other = program_->NextOf(other);
        if (other >= 0 && code_[other] == opBranch) Push(kBranch, other, pos);
        node = branch + NodeHeader;
        continue;
      }
      case opBack: {
        const int target = program_->NextOf(node);
        // a pass of a loop that consumed nothing ends the loop's passes
        if (guarded && program_->GuardSlot[target] >= 0 &&
            slots_[program_->GuardSlot[target]] == pos)
          goto fail;
        node = target;
        continue;
      }
      case opStar:
      case opPlus:
      case opBraces: {
        int min, max, operand;
        RepeatBounds(node, min, max, operand);
        const int n = CountRepeat(operand, pos, max);
        if (n < min) goto fail;
        const int start = pos;
        if (!ResumeRepeat(node, start, n, true, pos)) goto fail;
        break;
      }
      case opStarNG:
      case opPlusNG:
      case opBracesNG: {
        int min, max, operand;
        RepeatBounds(node, min, max, operand);
        if (CountRepeat(operand, pos, min) < min) goto fail;
        const int start = pos;
        if (NextLiteralFits(node, start + min)) {
          if (min < max) {
            Push(kCount, 0, min);
            Push(kRepeatLazy, node, start);
          }
          pos = start + min;
        } else if (!ResumeRepeat(node, start, min, false, pos)) {
          goto fail;
        }
        break;
      }
      case opLoopEntry: {
        if (loopTop_ + 1 >= LoopStackSize) throw TMatchFailure{1014};
        SetLoopTop(loopTop_ + 1);
        TLoopFrame& frame = loops_[loopTop_];
        Push(kUndoLoopCount, loopTop_, frame.Count);
        Push(kUndoLoopPassStart, loopTop_, frame.PassStart);
        frame.Count = 0;
        frame.PassStart = pos;
        break;
      }
      case opLoop:
      case opLoopNG: {
        if (loopTop_ < 0) throw TMatchFailure{1015};
        const int min = ReadInt(code_ + node + NodeHeader);
        const int max = ReadInt(code_ + node + NodeHeader + 4);
        const int body = node + ReadInt(code_ + node + NodeHeader + 8);
        const TLoopFrame& frame = loops_[loopTop_];
        // an optional pass that consumed nothing would repeat forever
        if (frame.Count > min && pos == frame.PassStart) goto fail;
        if (frame.Count < min || (op == opLoop && frame.Count < max)) {
          if (frame.Count >= min) Push(kLoopExit, node, pos);
          EnterLoopPass(pos);
          node = body;
          continue;
        }
        if (frame.Count < max) Push(kLoopPass, node, pos);
        LeaveLoop();
        break;
      }
      default:
        if (IsOpen(op)) {
          SetRegister(Start, op - opOpen, pos);
          break;
        }
        if (IsClose(op)) {
          SetRegister(End, op - opClose, pos);
          break;
        }
        throw TMatchFailure{1001};
    }
    node = program_->NextOf(node);
    continue;
  fail:
    if (!Backtrack(node, pos)) return false;
  }
}

}  // namespace regex
