#include <gtest/gtest.h>
#include <windows.h>
#include "documents/fHlpMain.h"
#include "documents/fHlpMainFuncs.h"
#include "documents/fLanguage.h"
#include "support/TempFolder.h"

namespace {

// A program folder of its own with the built-in language.
class SpecialCharsTest : public testing::Test {
protected:
  void SetUp() override {
    saved_ = Settings.Editor;
    savedAppDir_ = Settings.AppDir;
    Settings.AppDir = dir_.Path();
    Settings.Editor.SpCharReplace = 0;
    Settings.Editor.SpCharReplaceFile.clear();
    LanguageTexts.Clear();
  }
  void TearDown() override {
    Settings.Editor = saved_;
    Settings.AppDir = savedAppDir_;
    SpecialCharsTable.fill({});
  }
  void Load(const std::string& FileText) {
    dir_.Write("SpecialChars.lst", FileText);
    LoadSpecialChars();
  }

  testsupport::TempFolder dir_;
  TEditorSettings saved_;
  std::string savedAppDir_;
};

void ExpectEntry(int Code, const std::string& Char, const std::string& Name,
                 const std::string& Number) {
  SCOPED_TRACE(Code);
  EXPECT_EQ(SpecialCharsTable[Code].Char, Char);
  EXPECT_EQ(SpecialCharsTable[Code].Name, Name);
  EXPECT_EQ(SpecialCharsTable[Code].Number, Number);
}

TEST_F(SpecialCharsTest, SetSpecialCharBuildsBothEntityForms) {
  SetSpecialChar(228, "\xE4", "auml", "228");
  ExpectEntry(228, "\xE4", "&auml;", "&#228;");
  SetSpecialChar(160, "\xA0", "", "");
  ExpectEntry(160, "\xA0", "", "&#160;");
  SetSpecialChar(128, "\x80", "euro", "8364");
  ExpectEntry(128, "\x80", "&euro;", "&#8364;");
  SetSpecialChar(0, "", "", "");
  ExpectEntry(0, "", "", "&#0;");
  SetSpecialChar(256, "x", "x", "1");
  SetSpecialChar(-1, "x", "x", "1");
  ExpectEntry(255, "", "", "");
}

TEST_F(SpecialCharsTest, FileLinesFillTheTableAndBadLinesAreSkipped) {
  Load("228\t\xE4\tauml\t228\r\n"
       "  252\t\xFC\tuuml\t\t \r\n"   // blanks and a trailing tab around the line
       "246\t\xF6\touml\n"            // LF alone, no number field
       "256\tx\tbad\t256\r\n"         // beyond a byte
       "-1\tx\tbad\t1\r\n"
       "abc\tx\tbad\t1\r\n"
       "\tx\tbad\t1\r\n"
       "\r\n"
       "38\t&\tamp\r"                 // CR alone
       "228\t\xC4\tAuml\t196\r\n"     // a later line for the same code wins
       "169\t\xA9\tcopy\t169");       // last line without a break
  ExpectEntry(228, "\xC4", "&Auml;", "&#196;");
  ExpectEntry(252, "\xFC", "&uuml;", "&#252;");
  ExpectEntry(246, "\xF6", "&ouml;", "&#246;");
  ExpectEntry(38, "&", "&amp;", "&#38;");
  ExpectEntry(169, "\xA9", "&copy;", "&#169;");
  int filled = 0;
  for (const TSpecialCharRec& r : SpecialCharsTable) filled += r.Number.empty() ? 0 : 1;
  EXPECT_EQ(filled, 5);
}

TEST_F(SpecialCharsTest, ReloadingEmptiesTheTableFirst) {
  Load("228\t\xE4\tauml\t228\r\n");
  Load("252\t\xFC\tuuml\t252\r\n");
  ExpectEntry(228, "", "", "");
  ExpectEntry(252, "\xFC", "&uuml;", "&#252;");
  dir_.Write("SpecialChars.lst", "");
  LoadSpecialChars();
  ExpectEntry(252, "", "", "");
  DeleteFileA(dir_.File("SpecialChars.lst").c_str());
  SetSpecialChar(228, "\xE4", "auml", "228");
  LoadSpecialChars();
  for (const TSpecialCharRec& r : SpecialCharsTable) EXPECT_EQ(r.Number, "") << "no file: empty";
}

TEST_F(SpecialCharsTest, FileNameComesFromSettingsOrLanguageWithFallback) {
  dir_.Write("SpecialChars.lst", "1\tdefault\t\t\r\n");
  dir_.Write("Own.lst", "1\town\t\t\r\n");
  Settings.Editor.SpCharReplace = 1;
  Settings.Editor.SpCharReplaceFile = dir_.File("Own.lst");
  LoadSpecialChars();
  EXPECT_EQ(SpecialCharsTable[1].Char, "own");

  Settings.Editor.SpCharReplaceFile = dir_.File("Missing.lst");
  LoadSpecialChars();
  EXPECT_EQ(SpecialCharsTable[1].Char, "default") << "a missing own file falls back";

  Settings.Editor.SpCharReplaceFile.clear();
  LoadSpecialChars();
  EXPECT_EQ(SpecialCharsTable[1].Char, "default") << "an empty own name falls back";

  Settings.Editor.SpCharReplace = 0;
  Settings.Editor.SpCharReplaceFile = dir_.File("Own.lst");
  LoadSpecialChars();
  EXPECT_EQ(SpecialCharsTable[1].Char, "default") << "the own file counts only when chosen";

  CreateDirectoryA(dir_.File("Lang").c_str(), nullptr);
  dir_.Write("Lang\\Chars.lst", "1\tlanguage\t\t\r\n");
  LanguageTexts.Add("LangSpecFiles|SpecialCharsTable=  Lang\\\\Chars.lst  ");
  LoadSpecialChars();
  EXPECT_EQ(SpecialCharsTable[1].Char, "language") << "trimmed, doubled backslashes reduced";
  // A program folder named with a leading double backslash keeps it.
  Settings.AppDir = "\\\\?\\" + dir_.Path();
  LoadSpecialChars();
  EXPECT_EQ(SpecialCharsTable[1].Char, "language") << Settings.AppDir;
  LanguageTexts.Clear();
}

TEST_F(SpecialCharsTest, DecodeEntityReadsLowNumbersAndLooksUpTheUpperHalf) {
  SetSpecialChar(228, "\xE4", "auml", "228");
  SetSpecialChar(196, "\xC4", "Auml", "196");
  SetSpecialChar(60, "<", "lt", "60");
  SetSpecialChar(128, "\x80", "euro", "8364");
  SetSpecialChar(200, "x", "twice", "");
  SetSpecialChar(201, "y", "twice", "");
  struct Row {
    const char* entity;
    int code;
  };
  const Row rows[] = {
      {"#65", 65},      {"#0", 0},        {"#127", 127},    {"#065", 65},
      {"#x41", 0},      {"#X41", 0},      {"#", 0},         {"#-1", 0},
      {"#228", 228},    {"#196", 196},    {"#8364", 128},   {"#128", 0},
      {"#300", 0},      {"auml", 228},    {"Auml", 196},    {"AUML", 0},
      {"euro", 128},    {"lt", 0},        {"twice", 201},   {"", 0},
      {"nbsp", 0},      {"#99999999999", 0},
  };
  for (const Row& r : rows) EXPECT_EQ(DecodeEntity(r.entity), r.code) << r.entity;
}

TEST_F(SpecialCharsTest, ConvertHtmlCharsReplacesKnownEntitiesOnly) {
  SetSpecialChar(228, "\xE4", "auml", "228");
  SetSpecialChar(233, "\xE9", "eacute", "233");
  SetSpecialChar(250, "\xFA", "longnamex", "250");  // 9 characters: still found
  SetSpecialChar(251, "\xFB", "longnamexy", "251");  // 10 characters: too long
  struct Row {
    const char* text;
    const char* converted;
  };
  const Row rows[] = {
      {"", ""},
      {"a&#65;b", "aAb"},
      {"&auml;&eacute;", "\xE4\xE9"},
      {"&&auml;", "&\xE4"},
      {"&auml", "&auml"},
      {"x&", "x&"},
      {"&;", "&;"},
      {"&unknown;", "&unknown;"},
      {"&#0000065;", "A"},
      {"&#00000065;", "A"},          // nine characters before ";"
      {"&#000000065;", "&#000000065;"},  // ten: left as it is
      {"&longnamex;", "\xFA"},
      {"&longnamexy;", "&longnamexy;"},
      {"&#x41;", "&#x41;"},
      {"&#228;!", "\xE4!"},
      {"&amp &auml;", "&amp \xE4"},  // the first ";" within reach ends the name
  };
  for (const Row& r : rows) EXPECT_EQ(ConvertHtmlChars(r.text), r.converted) << r.text;
}

}  // namespace
