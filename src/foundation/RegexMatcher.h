// Runs a compiled program against a subject at one position, backtracking on an explicit
// stack so that long subjects cannot exhaust the native stack.
#pragma once
#include <memory>
#include <vector>
#include "foundation/RegexProgram.h"

namespace regex {

// Thrown for match-time errors (codes from 1000) and turned into TRegex.Error by the owner.
struct TMatchFailure {
  int Code;
};

class TMatcher {
public:
  // Program and subject for the following MatchAt calls; both must outlive them. The calls
  // share one step budget, sized for a search from From to the end; each call has its own
  // too, sized by how far into the subject it reaches.
  void Prepare(const TProgram& Program, const unsigned char* Subject, int Length, int From);
  // Tries the program at Pos (0-based); on success fills Start and End (the groups' 0-based
  // positions, -1 when unset; index 0 is the whole match).
  bool MatchAt(int Pos, int* Start, int* End);
  // Gives back backtracking memory beyond a small reserve.
  void Trim();

private:
  struct TEntry {
    int32_t Tag;  // kind in the low 4 bits, node or index above
    int32_t Value;
  };

  void Push(int Kind, int Payload, int32_t Value) {
    if (top_ == chunkEnd_) NextChunk();
    *top_++ = TEntry{Kind | (Payload << 4), Value};
  }
  bool Pop(TEntry& E) {
    if (top_ == chunkBegin_ && !PreviousChunk()) return false;
    E = *--top_;
    return true;
  }
  void NextChunk();
  bool PreviousChunk();
  void ResetStack();

  // Spends N steps of the search's budget and of the try's; error 1017 when either is used up.
  void Charge(int64_t N) {
    searchStepsLeft_ -= N;
    attemptStepsLeft_ -= N;
    if (searchStepsLeft_ < 0 || attemptStepsLeft_ < 0) throw TMatchFailure{RegexStepLimitError};
  }
  // A try's budget starts at a floor and grows with the furthest position it has reached.
  void BeginAttempt(int Pos);
  void Reach(int Pos);
  void SetRegister(int* Registers, int Index, int Value);
  void SetLoopTop(int Value);
  int PopCount();
  bool Backtrack(int& Node, int& Pos);
  bool ResumeRepeat(int Node, int Start, int Count, bool Greedy, int& Pos);
  void EnterLoopPass(int Pos);
  void LeaveLoop();

  const TRepeat& RepeatOf(int Node) const { return program_->Repeats[program_->NodeData[Node]]; }
  int CountRepeat(const TRepeat& R, int Pos, int Max) const;
  bool Takes(const TRepeat& R, int Pos) const;
  bool MatchesOne(int Operand, int Pos) const;
  bool AtLineEnd(int Pos) const;
  bool AtLineStart(int Pos) const;
  bool AtWordBoundary(int Pos) const;
  bool MatchText(int Node, int& Pos) const;
  bool MatchBackReference(int Node, int& Pos);
  bool ChooseBranch(int& Node, int Pos);
  bool StartRepeat(int Node, int& Pos);
  void EnterLoop(int Pos);
  bool StepLoop(int& Node, int Pos);
  bool FollowFits(const TRepeat& R, int Pos) const;
  bool BranchViable(int Branch, int Pos) const;

  const TProgram* program_ = nullptr;
  const uint8_t* code_ = nullptr;
  const TCharParams* params_ = nullptr;
  const unsigned char* s_ = nullptr;
  int len_ = 0;
  int64_t searchStepsLeft_ = 0;
  int64_t attemptStepsLeft_ = 0;
  int reach_ = 0;

  int* start_ = nullptr;
  int* end_ = nullptr;
  struct TLoopFrame {
    int Count;
    int PassStart;
  };
  static constexpr int LoopStackSize = 10;
  TLoopFrame loops_[LoopStackSize];
  int loopTop_ = -1;
  std::vector<int> slots_;

  std::vector<std::unique_ptr<TEntry[]>> chunks_;
  size_t chunk_ = 0;
  TEntry* chunkBegin_ = nullptr;
  TEntry* chunkEnd_ = nullptr;
  TEntry* top_ = nullptr;
};

}  // namespace regex
