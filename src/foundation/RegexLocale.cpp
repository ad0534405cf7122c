#include "foundation/RegexLocale.h"

namespace {
unsigned char AsciiUpper(unsigned char C) { return C >= 'a' && C <= 'z' ? C - 32 : C; }
unsigned char AsciiLower(unsigned char C) { return C >= 'A' && C <= 'Z' ? C + 32 : C; }

TRegexCaseMap upperMap = AsciiUpper;
TRegexCaseMap lowerMap = AsciiLower;
}  // namespace

void SetRegexCaseMapping(TRegexCaseMap Upper, TRegexCaseMap Lower) {
  upperMap = Upper && Lower ? Upper : AsciiUpper;
  lowerMap = Upper && Lower ? Lower : AsciiLower;
}

unsigned char RegexInvertCase(unsigned char C) {
  unsigned char up = upperMap(C);
  return up != C ? up : lowerMap(C);
}
