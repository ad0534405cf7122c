// Finds the positions of a subject where a regular-expression search tries its program.
#pragma once
#include "foundation/RegexProgram.h"

namespace regex {

// Positions in order, from the offset on; what a failed try rules out is skipped.
class TStartPositions {
public:
  TStartPositions(const TProgram& Program, const unsigned char* Subject, int Length, int From);

  // The next candidate (0-based); false when none is left.
  bool Next(int& Pos);
  // After a failed try at Pos: tries after a run of the leading repetition's characters
  // would fail too.
  void Failed(int Pos);

private:
  int NextByte();
  int RunBefore(int Pos) const;
  bool NextBeforeAnchor(int& Pos);

  const TProgram& p_;
  const unsigned char* s_;
  int length_;
  int pos_;
  // FewBytes: where each start byte occurs next at or after the last search (length_: none)
  int nextOf_[2] = {-1, -1};
  // Literal: the anchor's occurrence at or after pos_, when anchorAt_ >= pos_, and where the
  // run before it begins (not below pos_ at the time it was found)
  int anchorAt_ = -1;
  int anchorFloor_ = 0;
};

}  // namespace regex
