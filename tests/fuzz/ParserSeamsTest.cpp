// The pure parsers the fuzz targets drive, at their boundaries.
#include <gtest/gtest.h>
#include "commands/SessionList.h"
#include "documents/ContentRules.h"

namespace {

TEST(ContentRules, LinesGiveTheirFieldsWithLengthsClampedToTheLimit) {
  struct Case {
    const char* Line;
    int Chars;
    const char* Name;
    const char* Mode;
    const char* Pattern;
  };
  const Case cases[] = {
      {"|1024|x.html|S|<html", 1024, "x.html", "S", "<html"},
      {"\t10240\tPerl\t r \t^#!", 10240, "Perl", "R", "^#!"},
      {"|10241|a|S|p", 1024, "a", "S", "p"},
      {"|1|a|S|p", 1, "a", "S", "p"},
      {"|0|a|S|p", 1024, "a", "S", "p"},
      {"|-5|a|S|p", 1024, "a", "S", "p"},
      {"|many|a|S|p", 1024, "a", "S", "p"},
      {"|1|a|S|x|y", 1, "a", "S", "x|y"},
      {"|1|a|S|", 1, "a", "S", ""},
      {"|1|a|S", 1024, "", "", ""},
      {"|", 1024, "", "", ""},
      {"", 1024, "", "", ""},
  };
  for (const Case& c : cases) {
    const TContentRule rule = ParseContentRule(c.Line);
    EXPECT_EQ(rule.Chars, c.Chars) << c.Line;
    EXPECT_EQ(rule.Name, c.Name) << c.Line;
    EXPECT_EQ(rule.Mode, c.Mode) << c.Line;
    EXPECT_EQ(rule.Pattern, c.Pattern) << c.Line;
  }
}

TEST(SessionList, NamedLinesGiveEntriesAndBadNumbersTheirDefaults) {
  TStringList lines;
  lines.SetText(
      "  a.txt \t5\t6\t7\r\n"
      "b.txt\r\n"
      "c.txt\tx\t\t3\textra\r\n"
      "   \r\n"
      "\t5\t6\t7\r\n"
      "d.txt\t-2147483648\t2147483647\t2147483648");
  const std::vector<TSessionEntry> entries = ParseSessionList(lines);
  ASSERT_EQ(entries.size(), 4u);
  const TSessionEntry expected[] = {
      {"a.txt", 5, 6, 7}, {"b.txt", 1, 0, 1}, {"c.txt", 1, 0, 3}, {"d.txt", -2147483647 - 1, 2147483647, 1}};
  for (size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(entries[i].FileName, expected[i].FileName);
    EXPECT_EQ(entries[i].SelStart, expected[i].SelStart) << i;
    EXPECT_EQ(entries[i].SelLength, expected[i].SelLength) << i;
    EXPECT_EQ(entries[i].TopLine, expected[i].TopLine) << i;
  }
}

}  // namespace
