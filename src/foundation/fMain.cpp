// Text helpers of fMain.h.
#include "foundation/fMain.h"
#include <cmath>
#include <vector>
#include "rtl/SysUtils.h"

namespace {
char LowerAscii(char C) { return (C >= 'A' && C <= 'Z') ? static_cast<char>(C + 32) : C; }

bool InSet(char C, const std::string& CharSet) { return CharSet.find(C) != std::string::npos; }

bool IsBlankOrControl(unsigned char C) { return (C >= 9 && C <= 13) || C == 32; }

// Lines split at CR LF, LF or CR; a final line break adds no empty line.
std::vector<std::string> SplitLines(const std::string& Text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < Text.size(); ++i) {
    if (Text[i] != '\r' && Text[i] != '\n') continue;
    lines.push_back(Text.substr(start, i - start));
    if (Text[i] == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < Text.size()) lines.push_back(Text.substr(start));
  return lines;
}

// Appends Line to Out, cut into pieces of at most Width characters, preferring to break at
// the last blank or tab within the width (which is dropped).
void AppendWrapped(std::string Line, size_t Width, std::string& Out) {
  while (Line.size() > Width) {
    size_t p = Line.find_last_of(" \t", Width - 1);
    if (p == std::string::npos) {
      Out += Line.substr(0, Width) + "\r\n";
      Line.erase(0, Width);
    } else {
      Out += Line.substr(0, p) + "\r\n";
      Line.erase(0, p + 1);
    }
  }
  Out += Line + "\r\n";
}
}  // namespace

std::string GetToken(const std::string& Text, const std::string& Separator, int N) {
  if (N < 1 || Separator.empty()) return {};
  const std::string text = Text + Separator;
  size_t start = 0;
  for (int field = 1;; ++field) {
    size_t end = text.find(Separator, start);
    if (end == std::string::npos) return {};
    if (field == N) return text.substr(start, end - start);
    start = end + Separator.size();
  }
}

std::string XmlGetToken(const std::string& Text, const std::string& Separator, int N) {
  return GetToken(Text, Separator, N);
}

int CountSubStr(const std::string& Text, const std::string& SubStr) {
  constexpr int kMaxCount = 65535;
  if (Text.empty() || SubStr.empty()) return 0;
  int count = 0;
  for (size_t pos = Text.find(SubStr[0]); pos != std::string::npos && count < kMaxCount;
       pos = Text.find(SubStr[0], pos + 1)) {
    if (Text.compare(pos, SubStr.size(), SubStr) == 0) ++count;
  }
  return count;
}

int CountWords(const std::string& Text) {
  int count = 0;
  bool inWord = false;
  for (unsigned char c : Text) {
    bool wordChar = c > 32;
    if (wordChar && !inWord) ++count;
    inWord = wordChar;
  }
  return count;
}

std::string ReplaceChar(const std::string& Text, char OldChar, char NewChar) {
  std::string r = Text;
  for (char& c : r)
    if (c == OldChar) c = NewChar;
  return r;
}

std::string ReplaceAll(const std::string& Text, const std::string& Find,
                       const std::string& Replacement, bool IgnoreCase) {
  if (Find.empty()) return Text;
  std::string haystack = Text, needle = Find;
  if (IgnoreCase) {
    for (char& c : haystack) c = LowerAscii(c);
    for (char& c : needle) c = LowerAscii(c);
  }
  std::string r;
  size_t pos = 0;
  for (size_t hit = haystack.find(needle); hit != std::string::npos;
       hit = haystack.find(needle, pos)) {
    r.append(Text, pos, hit - pos);
    r += Replacement;
    pos = hit + needle.size();
  }
  r.append(Text, pos, std::string::npos);
  return r;
}

std::string StrCopyFrom(const std::string& Text, int Index) {
  size_t from = Index < 1 ? 0 : static_cast<size_t>(Index - 1);
  return from >= Text.size() ? std::string() : Text.substr(from);
}

bool ContainsOnly(const std::string& Text, const std::string& CharSet) {
  for (char c : Text)
    if (!InSet(c, CharSet)) return false;
  return true;
}

std::string FilterChars(const std::string& Text, const std::string& CharSet) {
  std::string r;
  for (char c : Text)
    if (InSet(c, CharSet)) r += c;
  return r;
}

int FirstCharOf(const std::string& CharSet, const std::string& Text) {
  size_t p = Text.find_first_of(CharSet);
  return p == std::string::npos ? 0 : static_cast<int>(p) + 1;
}

std::string FirstLine(const std::string& Text) { return Text.substr(0, Text.find_first_of("\r\n")); }

std::string InvertCase(const std::string& Text) {
  std::string r = Text;
  for (char& ch : r) {
    unsigned char c = static_cast<unsigned char>(ch);
    bool upper = (c >= 'A' && c <= 'Z') || (c >= 192 && c <= 222 && c != 215);
    bool lower = (c >= 'a' && c <= 'z') || (c >= 224 && c <= 254 && c != 247);
    if (upper) ch = static_cast<char>(c + 32);
    if (lower) ch = static_cast<char>(c - 32);
  }
  return r;
}

std::string CompressWhitespace(const std::string& Text) {
  std::string r;
  bool inRun = false;
  for (char c : Text) {
    bool blank = IsBlankOrControl(static_cast<unsigned char>(c));
    if (!blank) r += c;
    else if (!inRun) r += ' ';
    inRun = blank;
  }
  return r;
}

std::string StripAccelChars(const std::string& Caption) {
  // "&&" waits on code 3 while the single marks go, so a code 3 of the caption turns into "&" too.
  std::string r = ReplaceAll(Caption, "&&", "\x03", false);
  std::string out;
  for (char c : r)
    if (c != '&') out += c == '\x03' ? '&' : c;
  return out;
}

std::string EscapeCaption(const std::string& Text) {
  std::string r;
  for (char c : Text) {
    if (c == '&') r += "&&";
    else if (c == '\n') r += ' ';
    else if (c != '\r') r += c;
  }
  return r;
}

std::string ShortenMiddle(const std::string& Text, const std::string& Filler, int MaxLen) {
  if (MaxLen < 1 || static_cast<size_t>(MaxLen) >= Text.size()) return Text;
  // A filler longer than the maximum would give a negative length: keep none of the text.
  double half = MaxLen / 2.0 - Filler.size() / 2.0;
  size_t k = half > 0 ? static_cast<size_t>(std::trunc(half)) : 0;
  return Text.substr(0, k) + Filler + Text.substr(Text.size() - k);
}

std::string UnescapeText(const std::string& Text) {
  std::string r;
  size_t i = 0;
  while (i < Text.size()) {
    if (Text[i] != '\\' || i + 1 == Text.size()) {
      r += Text[i++];
      continue;
    }
    char kind = Text[i + 1];
    switch (kind) {
      case '\\': r += '\\'; i += 2; break;
      case 't': r += '\t'; i += 2; break;
      case 'n': r += '\n'; i += 2; break;
      case 'r': r += '\r'; i += 2; break;
      case 'w': r += "\r\n"; i += 2; break;
      case 'c': {
        std::string digits = Text.substr(i + 2, 3);
        int code = StrToInt(digits);
        if (code < 0 || code > 255) {
          ++i;  // not a character: the rest is read as text
        } else {
          r += static_cast<char>(code);
          i += 2 + digits.size();
        }
        break;
      }
      case 'x': {
        std::string digits = Text.substr(i + 2, 2);
        r += HexToStr(digits);
        i += 2 + digits.size();
        break;
      }
      default: ++i; break;
    }
  }
  return r;
}

std::string WrapTextLines(const std::string& Text, int Width) {
  if (Width < 3) return Text;
  std::string r;
  for (const std::string& line : SplitLines(Text)) AppendWrapped(line, static_cast<size_t>(Width), r);
  return r;
}

std::string IntToOct(int Value) {
  std::string r;
  for (unsigned v = Value > 0 ? static_cast<unsigned>(Value) : 0; v != 0; v /= 8)
    r.insert(r.begin(), static_cast<char>('0' + v % 8));
  return r;
}

std::string StrToBin(const std::string& Text) {
  std::string r;
  r.reserve(Text.size() * 8);
  for (unsigned char c : Text)
    for (int bit = 7; bit >= 0; --bit) r += ((c >> bit) & 1) ? '1' : '0';
  return r;
}
