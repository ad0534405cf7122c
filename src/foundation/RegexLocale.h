// The case mapping the regular-expression engine uses for modifier i and class ranges:
// ASCII until the program installs the system locale's mapping at start.
#pragma once

using TRegexCaseMap = unsigned char (*)(unsigned char C);

// Both functions must be set together; nullptr restores the ASCII mapping.
void SetRegexCaseMapping(TRegexCaseMap Upper, TRegexCaseMap Lower);
// The upper-case form, or the lower-case form when the character is upper case already.
unsigned char RegexInvertCase(unsigned char C);
