// The scans pass sixteen bytes at a time: a wanted byte must be found at every offset of a
// step and in the bytes after the last whole step, and bytes of 14 and above, the high ones
// too, must never be taken for one.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdint>
#include <string>
#include "rtl/ByteScan.h"

namespace {

TEST(ByteScan, FindsTheFirstByteBelow14AtEveryOffset) {
  const std::string ordinary = "\x0E\x1F a~\x7F\x80\xE4\xFF";
  for (const char wanted : {'\0', '\t', '\n', '\r', '\x0C', '\x01'}) {
    for (size_t length = 0; length <= 40; ++length) {
      std::string text;
      for (size_t i = 0; i < length; ++i) text += ordinary[i % ordinary.size()];
      const char* const end = text.data() + text.size();
      EXPECT_EQ(FindByteBelow14(text.data(), end), end) << "length " << length;
      for (size_t at = 0; at < length; ++at) {
        std::string with = text;
        with[at] = wanted;
        if (at + 3 < length) with[at + 3] = '\n';  // only the first one counts
        SCOPED_TRACE(testing::PrintToString(with));
        EXPECT_EQ(FindByteBelow14(with.data(), with.data() + length) - with.data(), int(at));
        EXPECT_EQ(FindByteBelow14(with.data() + at + 1, with.data() + length) - with.data(),
                  int(at + 3 < length ? at + 3 : length));
      }
    }
  }
}

// Texts of breaks, zero bytes and letters, with CR LF pairs across the steps' ends, against
// a count byte by byte.
TEST(ByteScan, CountsTheBreaksOfAByteByByteCount) {
  const char alphabet[] = {'\r', '\n', '\0', 'a', '\r', 'b'};
  uint32_t seed = 11;
  for (int round = 0; round < 2000; ++round) {
    seed = seed * 1103515245u + 12345u;
    std::string text((seed >> 16) % 70, 'x');
    for (char& c : text) {
      seed = seed * 1103515245u + 12345u;
      if ((seed >> 16) % 3 == 0) c = alphabet[(seed >> 8) % sizeof alphabet];
    }
    SCOPED_TRACE(testing::PrintToString(text));
    for (const bool stopAtZero : {false, true}) {
      const size_t end = stopAtZero ? std::min(text.find('\0'), text.size()) : text.size();
      size_t breaks = 0;
      for (size_t i = 0; i < end; ++i)
        breaks += text[i] == '\n' || (text[i] == '\r' && (i + 1 == end || text[i + 1] != '\n'));
      const TLineBreakCount count = CountLineBreaks(text.data(), text.data() + text.size(), stopAtZero);
      EXPECT_EQ(count.Breaks, breaks) << stopAtZero;
      EXPECT_EQ(count.End - text.data(), int(end)) << stopAtZero;
    }
  }
}

}  // namespace
