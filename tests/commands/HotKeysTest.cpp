#include <gtest/gtest.h>
#include <windows.h>
#include "commands/fHotKeys.h"
#include "support/TempFolder.h"

namespace {

class HotKeysTest : public testing::Test {
protected:
  void SetUp() override {
    InitKeyNames();
    AddHotKey("frmMain_mnuFileSave", "Haupt\x02&Datei\x02&Speichern", "C|S");
    AddHotKey("frmMain_mnuFileSaveAs", "Haupt\x02&Datei\x02Speichern &unter", "SC|U");
    AddHotKey("frmMain_mnuFileReload", "Haupt\x02&Datei\x02Neu laden", "|");
  }
  const THotKeyRec& Rec(int Index) const { return HotKeyList.at(Index); }
};

TEST(KeyNameList, HoldsTheKnownKeysInLookupOrder) {
  InitKeyNames();
  ASSERT_EQ(KeyNameList.size(), 92u);
  struct Row {
    int index;
    uint16_t key;
    const char* name;
    const char* allowed;
  };
  const Row rows[] = {
      {0, 3, "Cancel", ""},          {1, 46, "Del", ""},
      {7, 8, "BkSp", ""},            {15, 40, "Down", ""},
      {16, 96, "0 (NumPad)", "CA"},  {25, 105, "9 (NumPad)", "CA"},
      {26, 106, "Multiply (NumPad)", "CA"}, {27, 107, "Add (NumPad)", "CA"},
      {28, 108, "Separator (NumPad)", "CA"}, {31, 111, "Divide (NumPad)", "CA"},
      {32, 186, "\xFC", "CA"},       {38, 192, "\xF6", "CA"},
      {39, 219, "\xDF", "CA"},       {40, 220, "Cirkumflex", "CA"},
      {41, 221, "Acut", "CA"},       {42, 222, "\xE4", "CA"},
      {43, 226, "<", "CA"},          {44, 48, "0", "CA"},
      {53, 57, "9", "CA"},           {54, 65, "A", "CA"},
      {79, 90, "Z", "CA"},           {80, 112, "F1", ""},
      {91, 123, "F12", ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.index);
    EXPECT_EQ(KeyNameList[r.index].VirtKey, r.key);
    EXPECT_EQ(KeyNameList[r.index].Name, r.name);
    EXPECT_EQ(KeyNameList[r.index].Allowed, r.allowed);
  }
}

TEST_F(HotKeysTest, InitKeyNamesEmptiesTheHotKeyTable) {
  ASSERT_EQ(HotKeyList.size(), 3u);
  InitKeyNames();
  EXPECT_TRUE(HotKeyList.empty());
  EXPECT_EQ(KeyNameList.size(), 92u);
}

TEST_F(HotKeysTest, AddHotKeyConvertsKeyNamesAndStripsAccelerators) {
  EXPECT_EQ(Rec(0).Caption, "Haupt\x02" "Datei\x02Speichern");
  EXPECT_EQ(Rec(0).Default, "C|83");
  EXPECT_EQ(Rec(0).Current, "C|83");
  EXPECT_EQ(Rec(2).Default, "|");
  struct Row {
    const char* given;
    const char* stored;
  };
  const Row rows[] = {
      {"|F3", "|114"},                // function key without modifiers
      {"C|Add (NumPad)", "C|107"},    // names with blanks
      {"SA|Left", "SA|37"},
      {"C|#", "C|191"},
      {"SC|n", "SC|n"},               // names compare case-sensitively
      {"C|Unknown", "C|Unknown"},     // unknown parts stay as written
      {"C|83", "C|83"},               // a code is no name
      {"C|S|X", "C|S|X"},             // only the first bar splits
  };
  for (const Row& r : rows) {
    AddHotKey("x", "A && B", r.given);
    EXPECT_EQ(HotKeyList.back().Default, r.stored) << r.given;
    EXPECT_EQ(HotKeyList.back().Current, r.stored) << r.given;
    EXPECT_EQ(HotKeyList.back().Caption, "A & B");
  }
}

TEST(HotKeyToShortCut, ReadsModifiersAndDecimalKey) {
  struct Row {
    const char* text;
    TShortCut expected;
  };
  const Row rows[] = {
      {"SC|78", scShift | scCtrl | 78},  {"sc|78", scShift | scCtrl | 78},
      {"CS|78", scShift | scCtrl | 78},  {"SCA|9", scShift | scCtrl | scAlt | 9},
      {"|", 0},                          {"", 0},
      {"|112", 112},                     {"|255", 255},
      {"C|256", 0},                      {"C|-1", 0},
      {"C|", scCtrl},                    {"A|0", scAlt},
      {"C|N", scCtrl},                   {"X|65", 65},
      {"|1", 1},
  };
  InitKeyNames();
  for (const Row& r : rows) EXPECT_EQ(HotKeyToShortCut(r.text), r.expected) << r.text;
}

TEST(HotKeyToShortCut, AgreesWithTheToolkitInBothDirections) {
  InitKeyNames();
  const char* const texts[] = {"C|78", "SC|90", "A|48", "SA|57", "|112", "S|123", "SCA|32", "C|46"};
  for (const char* text : texts) {
    uint16_t key = 0;
    TShiftState shift;
    ShortCutToKey(HotKeyToShortCut(text), key, shift);
    EXPECT_EQ(ShortCut(key, shift), HotKeyToShortCut(text)) << text;
    EXPECT_EQ(ShortCutToText(HotKeyToShortCut(text)), HotKeyToText(text)) << text;
  }
}

TEST_F(HotKeysTest, GetHotKeyLooksUpTheCurrentKeyByExactName) {
  EXPECT_EQ(GetHotKey("frmMain_mnuFileSave"), scCtrl | 'S');
  EXPECT_EQ(GetHotKey("frmMain_mnuFileSaveAs"), scShift | scCtrl | 'U');
  EXPECT_EQ(GetHotKey("frmMain_mnuFileReload"), 0);
  EXPECT_EQ(GetHotKey("frmmain_mnufilesave"), 0);
  EXPECT_EQ(GetHotKey("frmMain_mnuFileSav"), 0);
  EXPECT_EQ(GetHotKey(""), 0);
  HotKeyList[0].Current = "A|70";
  EXPECT_EQ(GetHotKey("frmMain_mnuFileSave"), scAlt | 'F');
  AddHotKey("frmMain_mnuFileSave", "later", "C|Q");
  EXPECT_EQ(GetHotKey("frmMain_mnuFileSave"), scAlt | 'F') << "the first record wins";
}

TEST(IsHotKeyAllowed, LettersNeedCtrlOrAltWhileFunctionKeysTakeAny) {
  InitKeyNames();
  struct Row {
    uint16_t key;
    const char* modifiers;
    bool allowed;
  };
  const Row rows[] = {
      {65, "", false},  {65, "C", true},   {65, "A", true},    {65, "CA", true},
      {65, "SC", false}, {65, "S", false}, {65, "c", false},   {107, "C", true},
      {186, "A", true}, {48, "S", false},  {112, "", true},    {112, "SCA", true},
      {123, "S", true}, {13, "", true},    {13, "S", true},    {3, "C", true},
      {20, "", false},  {20, "C", false},  {0, "", false},     {255, "CA", false},
  };
  for (const Row& r : rows)
    EXPECT_EQ(IsHotKeyAllowed(r.key, r.modifiers), r.allowed) << r.key << " " << r.modifiers;
}

TEST(HotKeyToText, ShowsModifiersThenTheKeyName) {
  InitKeyNames();
  struct Row {
    const char* text;
    const char* shown;
  };
  const Row rows[] = {
      {"SC|78", "Shift+Ctrl+N"}, {"sc|78", "Shift+Ctrl+N"}, {"AS|37", "Shift+Alt+Left"},
      {"|", ""},                 {"|3", "Cancel"},          {"C|107", "Ctrl+Add (NumPad)"},
      {"A|123", "Alt+F12"},      {"C|999", "Ctrl+"},        {"C|x", "Ctrl+"},
      {"|20", ""},               {"|220", "Cirkumflex"},
  };
  for (const Row& r : rows) EXPECT_EQ(HotKeyToText(r.text), r.shown) << r.text;
  EXPECT_EQ(KeyName(3), "Cancel");
  EXPECT_EQ(KeyName(123), "F12");
  EXPECT_EQ(KeyName(124), "");
  EXPECT_EQ(KeyName(0), "");
}

TEST_F(HotKeysTest, GetHotKeyByCaptionGivesCurrentOrDefault) {
  HotKeyList[1].Current = "C|85";
  const std::string path = "Haupt\x02" "Datei\x02Speichern unter";
  EXPECT_EQ(GetHotKeyByCaption(path, false), "C|85");
  EXPECT_EQ(GetHotKeyByCaption(path, true), "SC|85");
  EXPECT_EQ(GetHotKeyByCaption("Haupt\x02" "Datei", false), "");
  EXPECT_EQ(GetHotKeyByCaption("Haupt\x02&Datei\x02Speichern unter", false), "")
      << "paths are compared after accelerators are stripped, exactly";
}

TEST_F(HotKeysTest, SavedKeysLoadBackIntoAFreshTable) {
  testsupport::TempFolder dir;
  HotKeyList[0].Current = "SCA|112";
  HotKeyList[2].Current = "A|9";
  ASSERT_TRUE(SaveHotKeys(dir.File("HotKeys.rud")));
  EXPECT_EQ(dir.Read("HotKeys.rud"),
            "frmMain_mnuFileSave\x01SCA|112\r\n"
            "frmMain_mnuFileSaveAs\x01SC|85\r\n"
            "frmMain_mnuFileReload\x01" "A|9\r\n");
  SetUp();
  ASSERT_EQ(Rec(0).Current, "C|83");
  ASSERT_TRUE(LoadHotKeys(dir.File("HotKeys.rud")));
  EXPECT_EQ(Rec(0).Current, "SCA|112");
  EXPECT_EQ(Rec(1).Current, "SC|85");
  EXPECT_EQ(Rec(2).Current, "A|9");
  EXPECT_EQ(Rec(0).Default, "C|83") << "loading keeps the defaults";
}

TEST_F(HotKeysTest, LoadMatchesWholeNamesAndTheLastLineWins) {
  testsupport::TempFolder dir;
  dir.Write("HotKeys.rud",
            "frmMain_mnuFileSaveAs\x01" "A|1\r\n"        // not a line for mnuFileSave
            "frmMain_mnuFileSave\x01" "A|2\r\n"
            "frmMain_mnuFileSave\x01" "A|3\x01rest\r\n"  // later line; third field ignored
            "frmMain_mnuUnknown\x01" "A|4\r\n"           // no such record
            "frmMain_mnuFileReload\r\n"                 // no separator: no line for it
            "\r\n");
  ASSERT_TRUE(LoadHotKeys(dir.File("HotKeys.rud")));
  EXPECT_EQ(Rec(0).Current, "A|3");
  EXPECT_EQ(Rec(1).Current, "A|1");
  EXPECT_EQ(Rec(2).Current, "|");
  EXPECT_EQ(HotKeyList.size(), 3u);
}

TEST_F(HotKeysTest, LoadAcceptsAnEmptyKeyField) {
  testsupport::TempFolder dir;
  dir.Write("HotKeys.rud", "frmMain_mnuFileSave\x01\r\n");
  ASSERT_TRUE(LoadHotKeys(dir.File("HotKeys.rud")));
  EXPECT_EQ(Rec(0).Current, "");
  EXPECT_EQ(GetHotKey("frmMain_mnuFileSave"), 0);
}

TEST_F(HotKeysTest, MissingOrEmptyFileLeavesTheDefaults) {
  testsupport::TempFolder dir;
  EXPECT_TRUE(LoadHotKeys(dir.File("absent.rud")));
  dir.Write("empty.rud", "");
  EXPECT_TRUE(LoadHotKeys(dir.File("empty.rud")));
  EXPECT_EQ(Rec(0).Current, "C|83");
  EXPECT_EQ(Rec(1).Current, "SC|85");
}

TEST_F(HotKeysTest, UnreadableFileFailsWithoutChanges) {
  testsupport::TempFolder dir;
  dir.Write("HotKeys.rud", "frmMain_mnuFileSave\x01" "A|2\r\n");
  HANDLE locked = CreateFileA(dir.File("HotKeys.rud").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(LoadHotKeys(dir.File("HotKeys.rud")));
  CloseHandle(locked);
  EXPECT_EQ(Rec(0).Current, "C|83");
}

TEST_F(HotKeysTest, SaveReportsAFileThatCannotBeWritten) {
  testsupport::TempFolder dir;
  EXPECT_FALSE(SaveHotKeys(dir.File("no such folder\\HotKeys.rud")));
  dir.Write("HotKeys.rud", "old");
  SetFileAttributesA(dir.File("HotKeys.rud").c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(SaveHotKeys(dir.File("HotKeys.rud")));
  SetFileAttributesA(dir.File("HotKeys.rud").c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(dir.Read("HotKeys.rud"), "old");
}

}  // namespace
