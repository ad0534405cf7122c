// Codec and checksum helpers of fMain.h: hexadecimal, URL, quoted-printable, Base64 clean-up,
// ROT13 and CRC-32.
#include "foundation/fMain.h"
#include <array>
#include <cstring>
#include <vector>
#include "rtl/SysUtils.h"

namespace {
const char kHexDigits[] = "0123456789ABCDEF";

// The value of an upper-case hexadecimal digit; any other character counts as 0.
int UpperHexValue(char C) {
  const char* p = std::strchr("123456789ABCDEF", C);
  return (C != '\0' && p) ? static_cast<int>(p - "123456789ABCDEF") + 1 : 0;
}

char UpperAscii(char C) { return (C >= 'a' && C <= 'z') ? static_cast<char>(C - 32) : C; }

// The value of a hexadecimal digit of either case, or -1.
int HexValue(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  return -1;
}

void AppendHexByte(std::string& Out, unsigned char C) {
  Out += kHexDigits[C >> 4];
  Out += kHexDigits[C & 15];
}

bool IsAsciiAlnum(unsigned char C) {
  return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || (C >= '0' && C <= '9');
}

// Eight tables for slicing-by-8: table 0 is the classic byte table, table k advances a byte
// that is k positions further back.
using CrcTables = std::array<std::array<uint32_t, 256>, 8>;
const CrcTables& Crc32Tables() {
  static const CrcTables tables = [] {
    CrcTables t{};
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
      t[0][i] = c;
    }
    for (uint32_t i = 0; i < 256; ++i)
      for (int k = 1; k < 8; ++k) t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 255];
    return t;
  }();
  return tables;
}

uint32_t LoadLE32(const uint8_t* P) {
  return P[0] | (uint32_t(P[1]) << 8) | (uint32_t(P[2]) << 16) | (uint32_t(P[3]) << 24);
}

std::string CrcToStr(uint32_t Crc) { return IntToHex(Crc, 8); }

// Where to put the soft break of the line starting at Start: 75 characters on, or before a
// "=XX" code that would otherwise be split.
constexpr size_t kQPLineChars = 75;  // and the soft-break "=" makes 76

size_t SoftBreakPos(const std::string& Encoded, size_t Start) {
  size_t cut = Start + kQPLineChars;
  if (Encoded[cut - 1] == '=') return cut - 1;
  if (Encoded[cut - 2] == '=') return cut - 2;
  return cut;
}

// Quoted-printable codes for every byte that may not stand as itself.
std::string QPEncodeBytes(const std::string& Text, bool HeaderMode) {
  std::string encoded;
  for (unsigned char c : Text) {
    bool plain = c >= 32 && c <= 126 && c != '=' && !(HeaderMode && (c == '?' || c == '_'));
    if (HeaderMode && c == ' ') encoded += '_';
    else if (plain) encoded += static_cast<char>(c);
    else {
      encoded += '=';
      AppendHexByte(encoded, c);
    }
  }
  return encoded;
}

// Blanks at the very end become "=20" each, so a transport cannot strip them.
std::string EncodeTrailingBlanks(std::string Encoded) {
  size_t kept = Encoded.find_last_not_of(' ') + 1;  // npos + 1 is 0: blanks only
  size_t blanks = Encoded.size() - kept;
  Encoded.resize(kept);
  for (size_t i = 0; i < blanks; ++i) Encoded += "=20";
  return Encoded;
}

// "=" CR LF after at most 75 characters, each line measured from the break actually placed
// before it.
std::string InsertSoftBreaks(const std::string& Encoded) {
  std::string r;
  size_t start = 0;
  while (Encoded.size() - start > kQPLineChars) {
    size_t cut = SoftBreakPos(Encoded, start);
    r.append(Encoded, start, cut - start);
    r += "=\r\n";
    start = cut;
  }
  r.append(Encoded, start, std::string::npos);
  return r;
}
}  // namespace

std::string StrToHex(const std::string& Text) {
  std::string r;
  r.reserve(Text.size() * 2);
  for (unsigned char c : Text) AppendHexByte(r, c);
  return r;
}

std::string HexToStr(const std::string& Text) {
  if (Text.size() % 2 != 0) return {};
  std::string r;
  r.reserve(Text.size() / 2);
  for (size_t i = 0; i < Text.size(); i += 2) {
    int high = UpperHexValue(UpperAscii(Text[i]));
    int low = UpperHexValue(UpperAscii(Text[i + 1]));
    r += static_cast<char>(high * 16 + low);
  }
  return r;
}

std::string URLEncode(const std::string& Text, const std::string& Options) {
  const bool keepAngles = Options.find_first_of("<>") != std::string::npos;
  const bool blankAsPlus = Options.find('+') != std::string::npos;
  const bool ampAsEntity = Options.find('&') != std::string::npos;
  std::string r;
  for (unsigned char c : Text) {
    if ((c == '<' || c == '>') && keepAngles) r += static_cast<char>(c);
    else if (c == ' ' && blankAsPlus) r += '+';
    else if (c == '&' && ampAsEntity) r += "&amp;";
    else if (IsAsciiAlnum(c)) r += static_cast<char>(c);
    else {
      r += '%';
      AppendHexByte(r, c);
    }
  }
  return r;
}

std::string URLDecode(const std::string& Text) {
  std::string r;
  size_t i = 0;
  while (i < Text.size()) {
    char c = Text[i];
    if (c == '+') {
      r += ' ';
      ++i;
    } else if (Text.compare(i, 5, "&amp;") == 0) {
      r += '&';
      i += 5;
    } else if (c == '%') {
      if (Text.size() - i < 3) break;  // a cut-off code ends the text
      std::string code = Trim(LowerCase(Text.substr(i + 1, 2)));
      if (code.size() == 2 && HexValue(code[0]) >= 0 && HexValue(code[1]) >= 0)
        r += static_cast<char>(HexValue(code[0]) * 16 + HexValue(code[1]));
      i += 3;
    } else {
      r += c;
      ++i;
    }
  }
  return r;
}

std::string QPEncode(const std::string& Text, bool HeaderMode) {
  return InsertSoftBreaks(EncodeTrailingBlanks(QPEncodeBytes(Text, HeaderMode)));
}

std::string QPDecode(const std::string& Text) {
  std::string r;
  size_t i = 0;
  while (i < Text.size()) {
    if (Text[i] != '=') {
      r += Text[i++];
    } else if (Text.compare(i, 2, "=\n") == 0) {
      i += 2;
    } else if (Text.compare(i, 3, "=\r\n") == 0) {
      i += 3;
    } else if (i + 2 < Text.size() && HexValue(Text[i + 1]) >= 0 && HexValue(Text[i + 2]) >= 0) {
      r += static_cast<char>(HexValue(Text[i + 1]) * 16 + HexValue(Text[i + 2]));
      i += 3;
    } else {
      r += Text[i++];
    }
  }
  return r;
}

std::string CleanBase64(const std::string& Text) {
  std::string r;
  for (char c : Text)
    if (c != '\r' && c != '\n') r += c;
  r = Trim(r);
  while (r.size() % 4 != 0) r += '=';
  return r;
}

std::string Rot13(const std::string& Text) {
  std::string r = Text;
  for (char& c : r) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>('A' + (c - 'A' + 13) % 26);
    else if (c >= 'a' && c <= 'z') c = static_cast<char>('a' + (c - 'a' + 13) % 26);
  }
  return r;
}

uint32_t CRC32Update(uint32_t Crc, const void* Data, size_t Size) {
  const CrcTables& t = Crc32Tables();
  const uint8_t* p = static_cast<const uint8_t*>(Data);
  for (; Size >= 8; Size -= 8, p += 8) {
    uint32_t lo = LoadLE32(p) ^ Crc, hi = LoadLE32(p + 4);
    Crc = t[7][lo & 255] ^ t[6][(lo >> 8) & 255] ^ t[5][(lo >> 16) & 255] ^ t[4][lo >> 24] ^
          t[3][hi & 255] ^ t[2][(hi >> 8) & 255] ^ t[1][(hi >> 16) & 255] ^ t[0][hi >> 24];
  }
  for (; Size > 0; --Size, ++p) Crc = t[0][(Crc ^ *p) & 255] ^ (Crc >> 8);
  return Crc;
}

std::string CRC32String(const std::string& Text) {
  return CrcToStr(~CRC32Update(0xFFFFFFFFu, Text.data(), Text.size()));
}

std::string CRC32File(const std::string& FileName) {
  uint32_t crc = 0xFFFFFFFFu;
  bool read = ReadFileInChunks(FileName, [&](const uint8_t* Data, size_t Size) {
    crc = CRC32Update(crc, Data, Size);
  });
  return read ? CrcToStr(~crc) : std::string();
}
