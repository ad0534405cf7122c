#include "foundation/RegexStart.h"
#include <algorithm>
#include <cstring>

namespace regex {

namespace {

// 0-based position of Byte in S[From, To), To when it does not occur.
int FindByte(const unsigned char* S, int From, int To, unsigned char Byte) {
  if (From >= To) return To;
  const void* hit = std::memchr(S + From, Byte, static_cast<size_t>(To - From));
  return hit ? static_cast<int>(static_cast<const unsigned char*>(hit) - S) : To;
}

// The first position at or after Pos whose character is in Table, Length when none is.
int SkipToTable(const TByteTable& Table, const unsigned char* S, int Pos, int Length) {
  // four lookups at a time run side by side
  while (Pos + 4 <= Length &&
         !(Table[S[Pos]] | Table[S[Pos + 1]] | Table[S[Pos + 2]] | Table[S[Pos + 3]]))
    Pos += 4;
  while (Pos < Length && !Table[S[Pos]]) ++Pos;
  return Pos;
}

}  // namespace

void TLiteral::Set(const std::string& Value, bool CaseInsensitive, const unsigned char* Invert) {
  Text = Value;
  IgnoreCase = CaseInsensitive;
  const int m = static_cast<int>(Text.size());
  std::fill(std::begin(Skip), std::end(Skip), static_cast<uint32_t>(m));
  // later positions give shorter shifts and win
  for (int i = 0; i + 1 < m; ++i) {
    const unsigned char c = static_cast<unsigned char>(Text[i]);
    Skip[c] = static_cast<uint32_t>(m - 1 - i);
    if (IgnoreCase) Skip[Invert[c]] = static_cast<uint32_t>(m - 1 - i);
  }
  const unsigned char last = static_cast<unsigned char>(Text[m - 1]);
  const unsigned char lastOther = IgnoreCase ? Invert[last] : last;
  EndShift = std::min(Skip[last], Skip[lastOther]);
  Skip[last] = Skip[lastOther] = 0;
}

// Shifts by the byte under the window's end until that is the last character, then
// compares the rest of the window.
template <bool IgnoreCase>
int TLiteral::Horspool(const unsigned char* S, int Length, int From,
                       const unsigned char* Invert) const {
  const auto* t = reinterpret_cast<const unsigned char*>(Text.data());
  const int m = static_cast<int>(Text.size());
  // unsigned: the window's end may pass Length by less than m without wrapping
  for (size_t i = size_t(From) + m - 1; i < size_t(Length);) {
    const uint32_t skip = Skip[S[i]];
    if (skip != 0) {
      i += skip;
      continue;
    }
    const unsigned char* window = S + i - (m - 1);
    int k = 0;
    while (k < m - 1 && (window[k] == t[k] || (IgnoreCase && window[k] == Invert[t[k]]))) ++k;
    if (k == m - 1) return static_cast<int>(i - (m - 1));
    i += EndShift;
  }
  return -1;
}

int TLiteral::Find(const unsigned char* S, int Length, int From,
                   const unsigned char* Invert) const {
  const int m = static_cast<int>(Text.size());
  const auto* t = reinterpret_cast<const unsigned char*>(Text.data());
  if (m == 1) {
    const int hit = FindByte(S, From, Length, t[0]);
    if (!IgnoreCase || Invert[t[0]] == t[0]) return hit < Length ? hit : -1;
    const int other = FindByte(S, From, hit, Invert[t[0]]);
    return other < Length ? other : -1;
  }
  if (From > Length || Length - From < m) return -1;
  return IgnoreCase ? Horspool<true>(S, Length, From, Invert)
                    : Horspool<false>(S, Length, From, Invert);
}

TStartPositions::TStartPositions(const TProgram& Program, const unsigned char* Subject,
                                 int Length, int From)
    : p_(Program), s_(Subject), length_(Length), pos_(From) {}

void TStartPositions::Failed(int Pos) {
  int next = Pos + 1;
  if (p_.RunSkipRepeat >= 0) {
    const int from = Pos + p_.RunSkipPrefix;
    const TRepeat& repeat = p_.Repeats[p_.RunSkipRepeat];
    next = from + ScanRun(repeat, p_.Params, s_, from, length_ - from, length_) -
           p_.RunSkipPrefix + 1;
  }
  pos_ = std::max(pos_, next);
}

// The nearest start byte at or after pos_, length_ when none is left.
int TStartPositions::NextByte() {
  int nearest = length_;
  for (size_t i = 0; i < p_.StartBytes.size(); ++i) {
    if (nextOf_[i] < pos_)
      nextOf_[i] = FindByte(s_, pos_, length_, static_cast<unsigned char>(p_.StartBytes[i]));
    nearest = std::min(nearest, nextOf_[i]);
  }
  return nearest;
}

// Walks back from Pos over each class before the anchor, last first, not below pos_.
int TStartPositions::RunBefore(int Pos) const {
  int p = Pos;
  for (auto it = p_.AnchorBefore.rbegin(); it != p_.AnchorBefore.rend(); ++it)
    while (p > pos_ && (*it)[s_[p - 1]]) --p;
  return p;
}

// A match that begins at or before the anchor's next occurrence reaches it, so it begins
// in the run before it; later ones reach a later occurrence. The anchor is looked up from a
// character a match may begin with, as it may be more frequent than those.
bool TStartPositions::NextBeforeAnchor(int& Pos) {
  if (p_.AnchorBefore.empty()) {
    Pos = p_.Anchor.Find(s_, length_, pos_, p_.InvertCase);
    return Pos >= 0;
  }
  for (;;) {
    pos_ = SkipToTable(p_.FirstTable, s_, pos_, length_);
    if (anchorAt_ < pos_) {
      anchorAt_ = p_.Anchor.Find(s_, length_, pos_, p_.InvertCase);
      if (anchorAt_ < 0) return false;
      // Walked once per occurrence, not once per try before it: pos_ only grows, and the
      // walk stops at it.
      anchorFloor_ = RunBefore(anchorAt_);
    }
    if (anchorFloor_ <= pos_) {
      Pos = pos_;
      return true;
    }
    pos_ = anchorFloor_;
  }
}

bool TStartPositions::Next(int& Pos) {
  if (pos_ > length_) return false;
  switch (p_.Start) {
    case TStart::Anchored:
      Pos = pos_;
      pos_ = length_ + 1;
      return true;
    case TStart::Literal:
      if (!NextBeforeAnchor(Pos)) return false;
      break;
    case TStart::FewBytes:
      // the end of the text is tried as with the table
      Pos = NextByte();
      break;
    case TStart::Table:
      Pos = SkipToTable(p_.FirstTable, s_, pos_, length_);
      break;
  }
  pos_ = Pos + 1;
  return true;
}

}  // namespace regex
