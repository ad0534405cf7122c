// The compiled form of a pattern shared by the regular-expression compiler, optimiser and
// matcher: node opcodes, node layout and the optimisation data.
#pragma once
#include <array>
#include <bitset>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>
#include "foundation/Regex.h"

namespace regex {

enum TOpcode : uint8_t {
  opEnd = 0,
  opBol = 1,
  opEol = 2,
  opAny = 3,
  opBranch = 6,
  opBack = 7,
  opExactly = 8,
  opNothing = 9,
  opStar = 10,
  opPlus = 11,
  opAnyDigit = 12,
  opNotDigit = 13,
  opBraces = 18,
  opComment = 19,
  opExactlyCI = 20,
  opLoopEntry = 23,
  opLoop = 24,
  opAnyOfTinySet = 25,
  opAnyButTinySet = 26,
  opAnyOfFullSet = 27,
  opBSubExp = 28,
  opBSubExpCI = 29,
  opStarNG = 30,
  opPlusNG = 31,
  opBracesNG = 32,
  opLoopNG = 33,
  opBolML = 34,
  opEolML = 35,
  opAnyML = 36,
  opBound = 37,
  opNotBound = 38,
  opOpen = 39,   // + group number 1..14
  opClose = 54,  // + group number 1..14
};

inline constexpr uint8_t ProgramMarker = 216;
// Every node: opcode byte and a 4-byte offset from the node to the next (0: none).
inline constexpr int NodeHeader = 5;
inline constexpr int32_t RepeatInfinite = 2147483646;
// Node offsets travel in the upper bits of backtracking entries.
inline constexpr size_t ProgramSizeLimit = size_t(1) << 26;

inline int32_t ReadInt(const uint8_t* P) {
  int32_t v;
  std::memcpy(&v, P, 4);
  return v;
}
inline void WriteInt(uint8_t* P, int32_t V) { std::memcpy(P, &V, 4); }

inline bool IsOpen(uint8_t Op) { return Op > opOpen && Op < opOpen + RegexSubExpCount; }
inline bool IsClose(uint8_t Op) { return Op > opClose && Op < opClose + RegexSubExpCount; }

using TCharSet = std::bitset<256>;
// The same as one byte per character, for lookups in the search loops.
using TByteTable = std::array<uint8_t, 256>;
TByteTable TableOf(const TCharSet& Set);

// Character parameters of a TRegex as the compiler and matcher need them.
struct TCharParams {
  TCharSet Space;
  TCharSet Word;
  TCharSet LineSeparators;
  int PairHead = -1;  // the paired separator, -1 when there is none
  int PairTail = -1;
};

// Literal text found with a Horspool skip table; in the case-insensitive form a subject
// character also matches the case-inverted pattern character.
struct TLiteral {
  std::string Text;
  bool IgnoreCase = false;
  // Shift by the byte under the window's end; 0 for the last character, whose own shift is
  // EndShift, so that one lookup also tells when to compare.
  uint32_t Skip[256];
  uint32_t EndShift = 1;

  void Set(const std::string& Value, bool CaseInsensitive, const unsigned char* Invert);
  // 0-based position of the first occurrence at or after From, -1 when none.
  int Find(const unsigned char* S, int Length, int From, const unsigned char* Invert) const;

private:
  template <bool IgnoreCase>
  int Horspool(const unsigned char* S, int Length, int From, const unsigned char* Invert) const;
};

// A repetition of a one-character operand, decoded once.
struct TRepeat {
  enum TScan : uint8_t { ScanAll, ScanToByte, ScanTable };
  int32_t Min = 0;
  int32_t Max = 0;
  int32_t Operand = 0;
  bool Greedy = true;
  TScan Scan = ScanTable;
  uint8_t StopByte = 0;         // ScanToByte: the one character the operand refuses
  bool PairCheck = false;       // the table leaves out a paired-separator head to check apart
  TByteTable Matches{};         // ScanTable: the characters the operand matches
  int32_t Follow = -1;          // index into FollowSets, -1 when the rest may start anywhere
};

// How the search picks the positions to try.
enum class TStart : uint8_t {
  Anchored,  // only at the offset
  Literal,   // before occurrences of the anchor literal
  FewBytes,  // where one of StartBytes occurs
  Table,     // at characters of the first-character table
};

struct TProgram {
  std::vector<uint8_t> Code;
  TRegexModifiers Modifiers = 0;
  unsigned char InvertCase[256];
  TCharParams Params;
  // Optimisation data, all from the program and its parameters.
  TStart Start = TStart::Table;
  bool Anchored = false;
  // The first literal of every match and the classes of the characters a match consumes
  // before it, in order (none when the match begins with it): a match that reaches the
  // anchor's next occurrence cannot begin before the run of those classes that ends there.
  TLiteral Anchor;
  std::vector<TByteTable> AnchorBefore;
  // The program is the anchor and nothing else: where it occurs, it is the match.
  bool LiteralOnly = false;
  std::string StartBytes;
  // A literal every match contains; empty when there is none or it is the prefix.
  TLiteral Required;
  TCharSet FirstChars;
  TByteTable FirstTable{};
  // When the program begins with an unbounded repetition R of a one-character operand, after
  // a literal of RunSkipPrefix characters or none, and has no back-references: a failed try
  // at p also fails wherever R would start within the run R takes from p + RunSkipPrefix, as
  // R reaches no position from there that it did not reach from p. Index into Repeats, -1
  // when there is no such R.
  int32_t RunSkipRepeat = -1;
  int32_t RunSkipPrefix = 0;
  // Per node: for an alternative the index into BranchSets of the characters at which it can
  // begin (-1 when it may succeed without consuming); for a repetition of a one-character
  // operand the index into Repeats.
  std::vector<int32_t> NodeData;
  std::vector<TByteTable> BranchSets;
  std::vector<TRepeat> Repeats;
  std::vector<TByteTable> FollowSets;
  // Per node: the slot of a loop whose body may match the empty string (back-references),
  // -1 elsewhere; empty when the program has no such loop.
  std::vector<int16_t> GuardSlot;
  int GuardCount = 0;

  int NextOf(int Node) const {
    int32_t off = ReadInt(&Code[Node + 1]);
    return off == 0 ? -1 : Node + off;
  }
  static int OperandOf(int Node) { return Node + NodeHeader; }
};

// How often the operand of R matches in a row from Pos in S, at most Limit times (no more
// than Length - Pos).
int ScanRun(const TRepeat& R, const TCharParams& Params, const unsigned char* S, int Pos,
            int Limit, int Length);

// Size of the node at Node without the operand node that repetitions carry after it.
int NodeSize(const std::vector<uint8_t>& Code, int Node);

// Fills the optimisation data of a compiled program.
void Optimise(TProgram& Program);

}  // namespace regex
