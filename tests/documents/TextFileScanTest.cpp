// Reading checks a file's bytes sixteen at a time: control bytes and line breaks must be
// found at every offset of a step, also where a CR CR LF spans two steps.
#include <gtest/gtest.h>
#include <string>
#include "documents/fMain.h"
#include "support/TempFolder.h"

namespace {

struct Read {
  TLineBreakFormat lineBreak = -5;
  TFileFormat fileFormat = ffAnsi;
  std::string text;
};

Read Load(const testsupport::TempFolder& Folder, const std::string& Data) {
  Folder.Write("in.txt", Data);
  Read r;
  LoadTextFile(Folder.File("in.txt"), r.lineBreak, r.fileFormat, r.text);
  return r;
}

TEST(TextFileScan, BytesAndBreaksAreFoundAtEveryOffset) {
  struct Case {
    std::string piece;       // put into a run of letters
    std::string readAs;      // what it becomes in the text
    TFileFormat fileFormat;
    TLineBreakFormat lineBreak;
    std::string appended;
  };
  const Case cases[] = {
      {std::string(1, '\0'), " ", ffBinary, -1, ""},
      {"\x08", "\x08", ffBinary, -1, ""},
      {"\x09", "\x09", ffAnsi, -1, ""},
      {"\x0B\x0C\x0E\x1F", "\x0B\x0C\x0E\x1F", ffAnsi, -1, ""},
      {"\r\r\n", "\r\n", ffAnsi, lbfNetscape, "\r\n"},
      {"\r\n", "\r\n", ffAnsi, lbfWindows, "\r\n"},
      {"\n", "\n", ffAnsi, lbfUnix, "\n"},
      {"\r", "\r", ffAnsi, lbfMacintosh, "\r"},
      {"\n\r", "\n\r", ffAnsi, lbfUnix, "\n"},
  };
  testsupport::TempFolder folder;
  for (const Case& c : cases) {
    for (size_t at = 0; at <= 33; ++at) {
      const std::string before(at, 'a'), after(33 - at, 'z');
      SCOPED_TRACE(testing::PrintToString(c.piece) + " at " + std::to_string(at));
      const Read r = Load(folder, before + c.piece + after);
      EXPECT_EQ(r.fileFormat, c.fileFormat);
      EXPECT_EQ(r.lineBreak, c.lineBreak);
      EXPECT_EQ(r.text, before + c.readAs + after + c.appended);
    }
  }
}

// A large file is scanned piece by piece as it is read: what spans two pieces counts alike.
TEST(TextFileScan, BreaksAndZeroBytesAcrossTheReadPiecesAreFound) {
  testsupport::TempFolder folder;
  const size_t piece = size_t(1) << 20;
  for (size_t at = piece - 3; at <= piece + 1; ++at) {
    SCOPED_TRACE(at);
    std::string data(piece + 40, 'a');
    data.replace(at, 3, "\r\r\n");
    data[at + 20] = '\0';
    const Read r = Load(folder, data);
    EXPECT_EQ(r.lineBreak, lbfNetscape);
    EXPECT_EQ(r.fileFormat, ffBinary);
    std::string expected = data;
    expected[at + 20] = ' ';
    expected.replace(at, 3, "\r\n");
    EXPECT_EQ(r.text, expected + "\r\n");
  }
}

}  // namespace
