// Document numbers, file types, the reopen list, tab captions and content rules: the parts of
// document handling that need no window.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"

namespace {

class DocumentsTest : public ::testing::Test {
protected:
  void SetUp() override {
    savedNumbers = DocumentNumbers;
    savedTypes.Assign(Settings.FileTypes);
    Settings.FileTypes.Assign(DefaultFileTypes());
    savedMaxTab = Settings.Editor.MaxTabCaptionLen;
    DocumentNumbers.clear();
  }
  void TearDown() override {
    DocumentNumbers = savedNumbers;
    Settings.FileTypes.Assign(savedTypes);
    Settings.Editor.MaxTabCaptionLen = savedMaxTab;
  }
  std::vector<int32_t> savedNumbers;
  TStringList savedTypes;
  int savedMaxTab = 0;
};

TEST_F(DocumentsTest, NumbersAreTheLowestFreeAndReused) {
  EXPECT_EQ(NewDocumentNumber(), 1);
  EXPECT_EQ(NewDocumentNumber(), 2);
  EXPECT_EQ(NewDocumentNumber(), 3);
  FreeDocumentNumber(2);
  EXPECT_EQ(DocumentNumbers, (std::vector<int32_t>{0, -1, 2}));
  EXPECT_EQ(NewDocumentNumber(), 2);
  FreeDocumentNumber(1);
  FreeDocumentNumber(3);
  EXPECT_EQ(NewDocumentNumber(), 1);
  EXPECT_EQ(NewDocumentNumber(), 3);
  EXPECT_EQ(NewDocumentNumber(), 4);
  // Numbers the array never reached, and 0, change nothing.
  FreeDocumentNumber(0);
  FreeDocumentNumber(5);
  FreeDocumentNumber(-1);
  EXPECT_EQ(DocumentNumbers, (std::vector<int32_t>{0, 1, 2, 3}));
}

TEST(RoundedMegabytes, RoundsHalvesToEven) {
  constexpr int64_t MB = 1024 * 1024;
  struct Case {
    int64_t bytes;
    int64_t megabytes;
  } cases[] = {
      {0, 0},
      {MB / 2, 0},               // half: 0 is even
      {MB / 2 + 1, 1},
      {MB + MB / 2, 2},          // 1.5 -> 2
      {9 * MB + MB * 4 / 10, 9}, // 9.4 stays below the default limit
      {10 * MB, 10},
      {10 * MB + MB * 4 / 10, 10},
      {10 * MB + MB / 2, 10},    // 10.5 -> 10
      {10 * MB + MB / 2 + 1, 11},
      {11 * MB + MB / 2, 12},    // 11.5 -> 12
      {11 * MB + MB / 2 - 1, 11},
      {int64_t(4096) * MB + MB / 2, 4096},
  };
  for (const Case& c : cases) EXPECT_EQ(RoundedMegabytes(c.bytes), c.megabytes) << c.bytes;
}

TEST_F(DocumentsTest, FileTypeIndexComparesWholeMasks) {
  struct Case {
    const char* ext;
    int row;
  } cases[] = {
      {".txt", 1}, {".TXT", 1}, {".htm", 2}, {".html", 2}, {".h", 8}, {".c", 8},
      {".cs", 9},  {".css", 4}, {".php3", 3}, {".ph", -1}, {".xyz", -1}, {"", -1},
      {".*", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(FindFileTypeIndex(c.ext), c.row) << c.ext;
}

TEST_F(DocumentsTest, DefaultExtensionByPattern) {
  struct Case {
    const char* pattern;
    const char* ext;
  } cases[] = {
      {"*.c", ".cpp"},   {"*.cs", ".cs"},   {"*.css", ".css"}, {"*.H", ".cpp"},
      {"*.shtm", ".html"}, {".txt", ".txt"}, {"*.*", "."},     {"*.dof", "."},
      {"*.xyz", ".xyz"}, {"*", ""},         {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(GetFileTypeByExt(c.pattern), c.ext) << c.pattern;

  // An extension already written with its dot keeps a single one; case is lowered.
  Settings.FileTypes.Clear();
  Settings.FileTypes.Add("Mine|*.mn;*.MNX|.MnX|:URI:");
  EXPECT_EQ(GetFileTypeByExt("*.mnx"), ".mnx");
  EXPECT_EQ(GetFileTypeByExt("*.mn"), ".mnx");
}

TEST_F(DocumentsTest, OpenDialogFilterJoinsNamesAndMasks) {
  Settings.FileTypes.Clear();
  Settings.FileTypes.Add("Text (*.txt)|*.txt|txt|:URI:");
  Settings.FileTypes.Add("Web|*.htm;*.html|html|:HTML:");
  EXPECT_EQ(GetOpenDialogFilter(), "Text (*.txt)|*.txt|Web|*.htm;*.html");
  Settings.FileTypes.Clear();
  EXPECT_EQ(GetOpenDialogFilter(), "");
}

TEST(FileMask, MatchesLikeTheShell) {
  struct Case {
    const char* name;
    const char* mask;
    bool match;
  } cases[] = {
      {"page.html", "*.html", true}, {"PAGE.HTML", "*.html", true}, {"page.htm", "*.html", false},
      {"page.html", "*.htm", false}, {"a.c", "?.c", true},          {"ab.c", "?.c", false},
      {"a.b.c", "*.c", true},        {"makefile", "make*", true},   {"x", "*", true},
      {"", "*", true},               {"", "?", false},              {"abc", "a*b*c", true},
      {"abcbc", "a*bc", true},       {"abx", "a*bc", false},        {"\xC4rger.txt", "\xE4*.txt", true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MatchesFileMask(c.name, c.mask), c.match) << c.name << " " << c.mask;
}

TEST(OpenMRU, MovesToTopIgnoringCaseAndKeepsTheLimit) {
  TStringList list;
  list.Add("C:\\a.txt");
  list.Add("C:\\B.txt");
  list.Add("C:\\c.txt");
  AddToOpenMRU(list, "c:\\b.TXT", 3);
  EXPECT_EQ(list.Text(), "c:\\b.TXT\r\nC:\\a.txt\r\nC:\\c.txt\r\n");
  AddToOpenMRU(list, "C:\\d.txt", 3);
  EXPECT_EQ(list.Text(), "C:\\d.txt\r\nc:\\b.TXT\r\nC:\\a.txt\r\n");
  AddToOpenMRU(list, "C:\\e.txt", 1);
  EXPECT_EQ(list.Text(), "C:\\e.txt\r\n");
}

TEST_F(DocumentsTest, TabCaptionShortensThenDoublesAmpersands) {
  Settings.Editor.MaxTabCaptionLen = 30;
  EXPECT_EQ(TabCaptionOf("Tom & Jerry.txt"), "Tom && Jerry.txt");
  const std::string title30(30, 'x');
  EXPECT_EQ(TabCaptionOf(title30), title30);
  // 31 characters: 13 + "..." + 13; an "&" kept on either side is doubled afterwards.
  const std::string title31 = "&" + std::string(29, 'x') + "&";
  EXPECT_EQ(TabCaptionOf(title31), "&&" + std::string(12, 'x') + "..." + std::string(12, 'x') + "&&");
}

// ---- Content rules --------------------------------------------------------------------------

TStringList Rules(const std::vector<std::string>& Lines) {
  TStringList list;
  for (const std::string& line : Lines) list.Add(line);
  return list;
}

TEST(ContentRules, LastMatchingLineWins) {
  const TStringList rules = Rules({"|1024|page.html|S|<html", "|1024|x.php|S|<?php", "|100|y.css|s|nothing"});
  EXPECT_EQ(MatchContentRules(rules, "<html><?php echo 1; ?>"), "x.php");
  EXPECT_EQ(MatchContentRules(rules, "<html>"), "page.html");
  EXPECT_EQ(MatchContentRules(rules, "plain"), "");
  EXPECT_EQ(MatchContentRules(TStringList(), "<html>"), "");
}

TEST(ContentRules, SubstringIsCaseSensitiveAndRegexFindsAnywhere) {
  EXPECT_EQ(MatchContentRules(Rules({"|1024|a.html|S|HTML"}), "<html>"), "");
  EXPECT_EQ(MatchContentRules(Rules({"|1024|a.sh|R|^#!.*(ba)?sh"}), "#!/bin/bash\r\necho"), "a.sh");
  EXPECT_EQ(MatchContentRules(Rules({"|1024|a.sh|R|b[aeiou]sh"}), "#!/bin/bash"), "a.sh");
  EXPECT_EQ(MatchContentRules(Rules({"|1024|a.sh|R|B[AEIOU]SH"}), "#!/bin/bash"), "");
}

TEST(ContentRules, BrokenRulesNeverMatchAndStaySilent) {
  const std::string text = "<html> (";
  const struct {
    const char* rule;
  } broken[] = {
      {"|1024|a.html|R|(unclosed"},  // does not compile
      {"|1024|a.html|X|<html"},      // unknown mode
      {"|1024|a.html|S|"},           // empty pattern
      {"|1024|a.html"},              // fields missing
      {"|"},
  };
  for (const auto& b : broken) {
    EXPECT_EQ(MatchContentRules(Rules({"|1024|ok.txt|S|<html", b.rule}), text), "ok.txt") << b.rule;
  }
}

TEST(ContentRules, FieldsSeparatorsAndBlanks) {
  const std::string text = "<html>";
  struct Case {
    const char* rule;
    const char* name;
  } cases[] = {
      {"   #1024#b.html#S#<html", "b.html"},  // leading blanks skipped
      {"\t1024\tt.html\tS\t<html", "t.html"}, // a tab is a separator, not a blank
      {"|1024|p.html| s |<html", "p.html"},   // mode trimmed, any case
      {"|1024|q.html|S|<ht|ml", ""},          // the pattern keeps later separators
      {"|1024|r.html|S|ml>", "r.html"},
      {"", ""},
      {"     ", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(MatchContentRules(Rules({c.rule}), text), c.name) << c.rule;
  EXPECT_EQ(MatchContentRules(Rules({"|1024|s.txt|S|a|b"}), "xa|by"), "s.txt");
}

TEST(ContentRules, CountsCharactersAfterTrimmingTheHead) {
  const std::string text = "  \r\n\t<html>  ";
  struct Case {
    const char* rule;
    const char* name;
  } cases[] = {
      {"|10|a|S|<html", "a"},        // 10 characters reach "<html" after 5 blanks
      {"|9|a|S|<html", ""},
      {"|10|a|R|^<html$", "a"},      // the head is trimmed on both sides
      {"|0|a|S|<html>", "a"},        // out of range: 1024
      {"|10241|a|S|<html>", "a"},
      {"|abc|a|S|<html>", "a"},
      {"|10240|a|S|<html>", "a"},
  };
  for (const Case& c : cases) EXPECT_EQ(MatchContentRules(Rules({c.rule}), text), c.name) << c.rule;

  // Beyond the default 1024 characters a pattern is not seen; with 10240 it is.
  const std::string late = std::string(2000, 'x') + "MARK";
  EXPECT_EQ(MatchContentRules(Rules({"|-5|a|S|MARK"}), late), "");
  EXPECT_EQ(MatchContentRules(Rules({"|10240|a|S|MARK"}), late), "a");
}

}  // namespace
