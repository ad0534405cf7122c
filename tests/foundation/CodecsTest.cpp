#include <gtest/gtest.h>
#include <windows.h>
#include <sstream>
#include "foundation/fMain.h"
#include "support/TempFolder.h"
#include "CaseTable.h"

namespace {
// Writes Content to a file of Dir and returns its full name.
std::string Written(const testsupport::TempFolder& Dir, const std::string& Name,
                    const std::string& Content) {
  Dir.Write(Name, Content);
  return Dir.File(Name);
}

std::string AllBytes() {
  std::string s;
  for (int i = 0; i < 256; ++i) s += static_cast<char>(i);
  return s;
}

std::string Md5Hex(const std::string& Text) { return MD5DigestToStr(MD5String(Text)); }
std::string Sha1Hex(const std::string& Text) { return SHA1DigestToStr(SHA1String(Text)); }

// Deterministic bytes of every value, in an order no hash shortcut can guess.
std::string PseudoRandomBytes(size_t Size) {
  std::string s(Size, '\0');
  uint32_t x = 12345;
  for (char& c : s) {
    x = x * 1103515245u + 12345u;
    c = static_cast<char>(x >> 24);
  }
  return s;
}

std::vector<std::string> SplitCrLf(const std::string& Text) {
  std::vector<std::string> lines;
  size_t start = 0, p;
  while ((p = Text.find("\r\n", start)) != std::string::npos) {
    lines.push_back(Text.substr(start, p - start));
    start = p + 2;
  }
  lines.push_back(Text.substr(start));
  return lines;
}
}  // namespace

using casetable::ExpectEach;

TEST(Hex, EncodesUpperCaseAndDecodesPairs) {
  EXPECT_EQ(StrToHex("\x01\xAB z"), "01AB207A");
  ExpectEach(HexToStr, {
      {"01AB207A", "\x01\xAB z"},
      {"4a", "J"},
      {StrToHex(AllBytes()), AllBytes()},
  });
}

TEST(Hex, OddLengthIsEmptyAndBadDigitsCountAsZero) {
  EXPECT_EQ(HexToStr("ABC"), "");
  EXPECT_EQ(HexToStr("4g"), "\x40");
}

TEST(URLEncode, PercentEncodesAllButLettersAndDigits) {
  EXPECT_EQ(URLEncode("a b&c", ""), "a%20b%26c");
  EXPECT_EQ(URLEncode("a b&c", "+&"), "a+b&amp;c");
  EXPECT_EQ(URLEncode("<p>\xE4", ""), "%3Cp%3E%E4");
  EXPECT_EQ(URLEncode("<p>", ">"), "<p>");
}

TEST(URLDecode, ReversesTheCodes) {
  ExpectEach(URLDecode, {
      {"%41", "A"},
      {"a+b&amp;c%3c", "a b&c<"},
      {URLEncode(AllBytes(), ""), AllBytes()},
  });
}

TEST(URLDecode, DropsBrokenCodes) {
  ExpectEach(URLDecode, {
      {"a%4", "a"},
      {"%zz1", "1"},
      {"x% 41y", "x1y"},
  });
}

TEST(QPEncode, BreaksLongLinesAt75Characters) {
  std::string encoded = QPEncode(std::string(200, 'a'), false);
  EXPECT_EQ(encoded, std::string(75, 'a') + "=\r\n" + std::string(75, 'a') + "=\r\n" +
                         std::string(50, 'a'));
}

TEST(QPEncode, EncodesSpecialBytesAndTrailingBlanks) {
  EXPECT_EQ(QPEncode("a=b\r\n\t", false), "a=3Db=0D=0A=09");
  EXPECT_EQ(QPEncode("end  ", false), "end=20=20");
  EXPECT_EQ(QPEncode("a b?_", true), "a_b=3F=5F");
  EXPECT_EQ(QPEncode("a?", false), "a?");
}

TEST(QPEncode, NoLineExceeds76AndCodesAreNeverSplit) {
  // Codes at every offset around the break, so each line starts at another phase.
  for (size_t lead = 70; lead < 76; ++lead) {
    std::string text = std::string(lead, 'x') + std::string(300, '=') + std::string(100, 'y') +
                       PseudoRandomBytes(500);
    std::string encoded = QPEncode(text, false);
    std::vector<std::string> lines = SplitCrLf(encoded);
    for (size_t n = 0; n < lines.size(); ++n) {
      std::string line = lines[n];
      EXPECT_LE(line.size(), 76u) << "lead " << lead;
      if (n + 1 < lines.size()) {
        ASSERT_EQ(line.back(), '=') << "soft break, lead " << lead;
        line.pop_back();
      }
      // Every other "=" starts a code whose two digits stay on its line.
      for (size_t eq = line.find('='); eq != std::string::npos; eq = line.find('=', eq + 1))
        EXPECT_LE(eq + 3, line.size()) << "lead " << lead << ", line " << n;
    }
    EXPECT_EQ(QPDecode(encoded), text) << "lead " << lead;
  }
}

TEST(QPDecode, RemovesSoftBreaksAndDecodesCodes) {
  ExpectEach(QPDecode, {
      {"a=3Db=\r\nc", "a=bc"},
      {"a=\nb=e4", "ab\xE4"},
      {"a=zz=", "a=zz="},
  });
}

TEST(Base64, KnownVectors) {
  ExpectEach(Base64Encode, {
      {"", ""},
      {"f", "Zg=="},
      {"fo", "Zm8="},
      {"foo", "Zm9v"},
      {"foobar", "Zm9vYmFy"},
  });
  EXPECT_EQ(Base64Decode("Zm9vYg=="), "foob");
}

TEST(Base64, RoundTripsEveryByteAndShortLengths) {
  EXPECT_EQ(Base64Decode(Base64Encode(AllBytes())), AllBytes());
  for (size_t n = 0; n <= 5; ++n) {
    std::string data = AllBytes().substr(250 - n * 40, n);
    std::string encoded = Base64Encode(data);
    EXPECT_EQ(encoded.size() % 4, 0u);
    EXPECT_EQ(Base64Decode(encoded), data) << "length " << n;
  }
}

TEST(Base64, DecodingRejectsMalformedText) {
  ExpectEach(Base64Decode, {
      {"Zm9vY", ""},
      {"Zm9 vYg=", ""},
      {"Zm9v*mFy", ""},
  });
}

TEST(Base64, PaddingOnlyAtTheEnd) {
  ExpectEach(Base64Decode, {
      {"Zg=A", ""},
      {"Zg==Zm8=", ""},
      {"=Zm8", ""},
      {"Z===", ""},
      {"====", ""},
  });
}

TEST(CleanBase64, RemovesBreaksAndPads) {
  EXPECT_EQ(CleanBase64(" Zm9v\r\nYmFy\r\nZm9vY \r\n"), "Zm9vYmFyZm9vY===");
  EXPECT_EQ(Base64Decode(CleanBase64("Zm9v\nYg")), "foob");
}

TEST(Rot13, RotatesAsciiLettersOnly) {
  EXPECT_EQ(Rot13("Hello, World! \xE4"), "Uryyb, Jbeyq! \xE4");
  EXPECT_EQ(Rot13(Rot13(AllBytes())), AllBytes());
}

TEST(CRC32, KnownVectors) {
  ExpectEach(CRC32String, {
      {"123456789", "CBF43926"},
      {"", "00000000"},
      {"The quick brown fox jumps over the lazy dog", "414FA339"},
  });
}

TEST(CRC32, IncrementalEqualsWhole) {
  std::string data = PseudoRandomBytes(1000);
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < data.size(); i += 37)
    crc = CRC32Update(crc, data.data() + i, std::min<size_t>(37, data.size() - i));
  std::ostringstream hex;
  hex << std::uppercase << std::hex;
  hex.width(8);
  hex.fill('0');
  hex << (~crc);
  EXPECT_EQ(hex.str(), CRC32String(data));
}

TEST(MD5, RfcVectors) {
  ExpectEach(Md5Hex, {
      {"", "D41D8CD98F00B204E9800998ECF8427E"},
      {"a", "0CC175B9C0F1B6A831C399E269772661"},
      {"abc", "900150983CD24FB0D6963F7D28E17F72"},
      {"message digest", "F96B697D7CB7938D525A2F31AAF161D0"},
      {"abcdefghijklmnopqrstuvwxyz", "C3FCD3D76192E4007DFB496CCA67E13B"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
       "D174AB98D277D9F5A5611C2C9F419D9F"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57EDF4A22BE3C955AC49DA2E2107B67A"},
  });
}

TEST(SHA1, FipsVectors) {
  ExpectEach(Sha1Hex, {
      {"", "DA39A3EE5E6B4B0D3255BFEF95601890AFD80709"},
      {"abc", "A9993E364706816ABA3E25717850C26C9CD0D89D"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "84983E441C3BD26EBAAE4AA1F95129E5E54670F1"},
      {std::string(1000000, 'a'), "34AA973CD4C4DAA4F61EEB2BDBAD27316534016F"},
  });
}

TEST(SHA1, PortableEngineGivesTheSameDigests) {
  for (size_t size : {0u, 3u, 55u, 56u, 64u, 1000u, 100000u}) {
    std::string data = PseudoRandomBytes(size);
    TSHA1Context portable(TSHA1Engine::Portable);
    portable.Update(data.data(), data.size());
    EXPECT_EQ(portable.Final(), SHA1String(data)) << size;
  }
  TSHA1Context portable(TSHA1Engine::Portable);
  portable.Update("abc", 3);
  EXPECT_EQ(SHA1DigestToStr(portable.Final()), "A9993E364706816ABA3E25717850C26C9CD0D89D");
}

TEST(Digests, PaddingBoundaryLengths) {
  // 55, 56 and 64 bytes put the length field in the same, the next and a fresh block.
  ExpectEach(Md5Hex, {
      {std::string(55, 'a'), "EF1772B6DFF9A122358552954AD0DF65"},
      {std::string(56, 'a'), "3B0C8AC703F828B04C6C197006D17218"},
      {std::string(64, 'a'), "014842D480B571495A4A0363793F7367"},
  });
  ExpectEach(Sha1Hex, {
      {std::string(55, 'a'), "C1C8BBDC22796E28C0E15163D20899B65621D65A"},
      {std::string(56, 'a'), "C2DB330F6083854C99D4B5BFB6E8F29F201BE699"},
      {std::string(64, 'a'), "0098BA824B5C16427BD7A1122A5A442A25EC644D"},
  });
}

TEST(Digests, IncrementalUpdatesEqualOneShot) {
  std::string data = PseudoRandomBytes(300);
  TMD5Context md5;
  TSHA1Context sha1;
  for (size_t i = 0; i < data.size(); i += 7) {
    md5.Update(data.data() + i, std::min<size_t>(7, data.size() - i));
    sha1.Update(data.data() + i, std::min<size_t>(7, data.size() - i));
  }
  EXPECT_EQ(md5.Final(), MD5String(data));
  EXPECT_EQ(sha1.Final(), SHA1String(data));
}

TEST(FileChecksums, MatchTheTextChecksumsAcrossChunks) {
  testsupport::TempFolder dir;
  std::string data = PseudoRandomBytes(3 * 1024 * 1024 + 17);  // more than two read chunks
  std::string file = Written(dir, "data.bin", data);
  EXPECT_EQ(CRC32File(file), CRC32String(data));
  ASSERT_TRUE(MD5File(file).has_value());
  EXPECT_EQ(*MD5File(file), MD5String(data));
  ASSERT_TRUE(SHA1File(file).has_value());
  EXPECT_EQ(*SHA1File(file), SHA1String(data));
}

TEST(FileChecksums, EmptyFileGivesTheDigestOfNoData) {
  testsupport::TempFolder dir;
  std::string file = Written(dir, "empty.txt", "");
  EXPECT_EQ(CRC32File(file), "00000000");
  ASSERT_TRUE(MD5File(file).has_value());
  EXPECT_EQ(MD5DigestToStr(*MD5File(file)), "D41D8CD98F00B204E9800998ECF8427E");
  ASSERT_TRUE(SHA1File(file).has_value());
  EXPECT_EQ(SHA1DigestToStr(*SHA1File(file)), "DA39A3EE5E6B4B0D3255BFEF95601890AFD80709");
}

TEST(FileChecksums, MissingFileIsAFailureNotAnEmptyDigest) {
  testsupport::TempFolder dir;
  std::string file = dir.Path() + "missing.bin";
  EXPECT_EQ(CRC32File(file), "");
  EXPECT_FALSE(MD5File(file).has_value());
  EXPECT_FALSE(SHA1File(file).has_value());
}

TEST(FileChecksums, LockedFileIsAFailure) {
  testsupport::TempFolder dir;
  std::string file = Written(dir, "locked.bin", "secret");
  HANDLE lock = CreateFileA(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  EXPECT_EQ(CRC32File(file), "");
  EXPECT_FALSE(MD5File(file).has_value());
  EXPECT_FALSE(SHA1File(file).has_value());
  CloseHandle(lock);
  EXPECT_EQ(CRC32File(file), CRC32String("secret"));
}

TEST(FileChecksums, FileOpenForWritingByOthersIsStillRead) {
  testsupport::TempFolder dir;
  std::string file = Written(dir, "shared.bin", "shared");
  HANDLE writer = CreateFileA(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  EXPECT_EQ(CRC32File(file), CRC32String("shared"));
  CloseHandle(writer);
}
