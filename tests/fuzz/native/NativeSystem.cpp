// Native stand-in for the XML model's code-page conversions, as code page 1252 does them:
// bytes 128-159 go to their typographic characters (the five unassigned ones to U+0081...),
// and what 1252 cannot represent, or broken UTF-8, becomes "?".
#include <string>
#include "documents/XmlDocSystem.h"

namespace {
const char16_t k1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t FromAnsi(unsigned char C) { return C >= 0x80 && C < 0xA0 ? k1252High[C - 0x80] : C; }

char ToAnsi(char32_t U) {
  if (U < 0x80 || (U >= 0xA0 && U < 0x100)) return static_cast<char>(U);
  for (int i = 0; i < 32; ++i)
    if (k1252High[i] == U) return static_cast<char>(0x80 + i);
  return '?';
}

void AppendUtf8(std::string& Out, char32_t U) {
  if (U < 0x80) {
    Out += static_cast<char>(U);
  } else if (U < 0x800) {
    Out += static_cast<char>(0xC0 | (U >> 6));
    Out += static_cast<char>(0x80 | (U & 0x3F));
  } else {
    Out += static_cast<char>(0xE0 | (U >> 12));
    Out += static_cast<char>(0x80 | ((U >> 6) & 0x3F));
    Out += static_cast<char>(0x80 | (U & 0x3F));
  }
}

// One code point from Text at I (moved past it); U+FFFD for a broken sequence.
char32_t NextUtf8(const std::string& Text, size_t& I) {
  const unsigned char lead = Text[I++];
  if (lead < 0x80) return lead;
  const int more = lead >= 0xF0 && lead < 0xF5 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 && lead < 0xE0 ? 1 : -1;
  if (more < 0) return 0xFFFD;
  char32_t u = lead & (0x3F >> more);
  for (int k = 0; k < more; ++k) {
    if (I >= Text.size() || (static_cast<unsigned char>(Text[I]) & 0xC0) != 0x80) return 0xFFFD;
    u = (u << 6) | (static_cast<unsigned char>(Text[I++]) & 0x3F);
  }
  return u;
}
}  // namespace

std::string XmlAnsiToUtf8(const std::string& Text) {
  std::string r;
  for (char c : Text) AppendUtf8(r, FromAnsi(static_cast<unsigned char>(c)));
  return r;
}

std::string XmlUtf8ToAnsi(const std::string& Text) {
  std::string r;
  for (size_t i = 0; i < Text.size();) r += ToAnsi(NextUtf8(Text, i));
  return r;
}
