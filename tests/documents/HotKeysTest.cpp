#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include "dialogs/formHotKeys.h"
#include "documents/StoreGuard.h"
#include "documents/fHlpHK.h"
#include "documents/fHlpMain.h"
#include "documents/fHotKeys.h"
#include "support/ModalAnswers.h"
#include "support/StoreMessages.h"
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
  static std::string Current(int Index) { return HotKeyList.at(Index).Current; }
  testsupport::TempFolder dir;
};

TEST(KeyNameList, HoldsTheKnownKeysInLookupOrder) {
  InitKeyNames();
  ASSERT_EQ(KeyNameList.size(), 92u);
  struct Row { int index; uint16_t key; const char* name; const char* allowed; };
  const Row rows[] = {
      {0, 3, "Cancel", ""},         {15, 40, "Down", ""},     {16, 96, "0 (NumPad)", "CA"},
      {26, 106, "Multiply (NumPad)", "CA"}, {31, 111, "Divide (NumPad)", "CA"},
      {32, 186, "\xFC", "CA"},      {40, 220, "Cirkumflex", "CA"}, {43, 226, "<", "CA"},
      {44, 48, "0", "CA"},          {79, 90, "Z", "CA"},      {80, 112, "F1", ""},
      {91, 123, "F12", ""}};
  for (const Row& r : rows) {
    const TVirtKeyRec& k = KeyNameList[r.index];
    EXPECT_TRUE(k.VirtKey == r.key && k.Name == r.name && k.Allowed == r.allowed) << r.index;
  }
}

TEST_F(HotKeysTest, AddHotKeyConvertsKeyNamesAndStripsAccelerators) {
  EXPECT_EQ(HotKeyList[0].Caption, "Haupt\x02" "Datei\x02Speichern");
  EXPECT_EQ(HotKeyList[0].Default, "C|83");
  InitKeyNames();
  EXPECT_TRUE(HotKeyList.empty());
  const char* const rows[][2] = {
      {"|F3", "|114"}, {"C|Add (NumPad)", "C|107"}, {"C|#", "C|191"},
      {"SC|n", "SC|n"} /* names are case-sensitive */, {"C|Unknown", "C|Unknown"},
      {"C|S|X", "C|S|X"} /* only the first bar splits */, {"|", "|"}};
  for (const auto& r : rows) {
    AddHotKey("x", "A && B", r[0]);
    EXPECT_EQ(HotKeyList.back().Default, r[1]);
    EXPECT_EQ(HotKeyList.back().Current, r[1]);
    EXPECT_EQ(HotKeyList.back().Caption, "A & B");
  }
}

TEST(HotKeyToShortCut, ReadsModifiersAndDecimalKeyBothWays) {
  InitKeyNames();
  struct Row { const char* text; TShortCut shortCut; };
  const Row rows[] = {
      {"SC|78", scShift | scCtrl | 78}, {"sc|78", scShift | scCtrl | 78},
      {"CS|78", scShift | scCtrl | 78},
      {"|", 0}, {"", 0}, {"|1", 1}, {"|255", 255}, {"C|256", 0}, {"C|-1", 0},
      {"C|", scCtrl}, {"C|N", scCtrl}, {"SCA|9", scShift | scCtrl | scAlt | 9}};
  for (const Row& r : rows) EXPECT_EQ(HotKeyToShortCut(r.text), r.shortCut) << r.text;
  // Text -> shortcut -> key and shift -> shortcut, and both display texts agree.
  for (const char* text : {"C|78", "SA|57", "|112", "SCA|32", "C|46"}) {
    uint16_t key = 0;
    TShiftState shift;
    ShortCutToKey(HotKeyToShortCut(text), key, shift);
    EXPECT_EQ(ShortCut(key, shift), HotKeyToShortCut(text)) << text;
    EXPECT_EQ(ShortCutToText(ShortCut(key, shift)), HotKeyToText(text)) << text;
  }
}

TEST_F(HotKeysTest, GetHotKeyLooksUpTheCurrentKeyByExactName) {
  EXPECT_EQ(GetHotKey("frmMain_mnuFileSave"), scCtrl | 'S');
  EXPECT_EQ(GetHotKey("frmMain_mnuFileReload"), 0);
  for (const char* other : {"frmmain_mnufilesave", "frmMain_mnuFileSav", ""})
    EXPECT_EQ(GetHotKey(other), 0) << other;
  HotKeyList[0].Current = "A|70";
  AddHotKey("frmMain_mnuFileSave", "later", "C|Q");
  EXPECT_EQ(GetHotKey("frmMain_mnuFileSave"), scAlt | 'F') << "current key of the first record";
}

TEST(IsHotKeyAllowed, LettersNeedCtrlOrAltWhileFunctionKeysTakeAny) {
  InitKeyNames();
  struct Row { uint16_t key; const char* modifiers; bool allowed; };
  const Row rows[] = {
      {65, "", false}, {65, "C", true},  {65, "A", true},   {65, "CA", true}, {65, "SC", false},
      {65, "S", false}, {65, "c", false}, {186, "A", true}, {112, "", true},  {112, "SCA", true},
      {13, "S", true},  {20, "", false},  {20, "C", false}, {255, "CA", false}};
  for (const Row& r : rows)
    EXPECT_EQ(IsHotKeyAllowed(r.key, r.modifiers), r.allowed) << r.key << " " << r.modifiers;
}

TEST(HotKeyToText, ShowsModifiersThenTheKeyName) {
  InitKeyNames();
  const char* const rows[][2] = {
      {"SC|78", "Shift+Ctrl+N"}, {"sc|78", "Shift+Ctrl+N"}, {"AS|37", "Shift+Alt+Left"}, {"|", ""},
      {"|3", "Cancel"}, {"C|107", "Ctrl+Add (NumPad)"}, {"C|999", "Ctrl+"}, {"C|x", "Ctrl+"}};
  for (const auto& r : rows) EXPECT_EQ(HotKeyToText(r[0]), r[1]) << r[0];
  EXPECT_EQ(KeyName(123), "F12");
  EXPECT_EQ(KeyName(124), "");
}

TEST_F(HotKeysTest, GetHotKeyByCaptionGivesCurrentOrDefault) {
  HotKeyList[1].Current = "C|85";
  const std::string path = "Haupt\x02" "Datei\x02Speichern unter";
  EXPECT_EQ(GetHotKeyByCaption(path, false), "C|85");
  EXPECT_EQ(GetHotKeyByCaption(path, true), "SC|85");
  EXPECT_EQ(GetHotKeyByCaption("Haupt\x02" "Datei", false), "");
}

TEST_F(HotKeysTest, SavedKeysLoadBackIntoAFreshTable) {
  HotKeyList[0].Current = "SCA|112";
  HotKeyList[2].Current = "A|9";
  ASSERT_TRUE(SaveHotKeys(dir.File("HotKeys.rud")));
  EXPECT_EQ(dir.Read("HotKeys.rud"),
            "frmMain_mnuFileSave\x01SCA|112\r\nfrmMain_mnuFileSaveAs\x01SC|85\r\n"
            "frmMain_mnuFileReload\x01" "A|9\r\n");
  SetUp();
  ASSERT_TRUE(LoadHotKeys(dir.File("HotKeys.rud")));
  EXPECT_EQ(Current(0), "SCA|112");
  EXPECT_EQ(Current(1), "SC|85");
  EXPECT_EQ(Current(2), "A|9");
  EXPECT_EQ(HotKeyList[0].Default, "C|83");
}

TEST_F(HotKeysTest, LoadMatchesWholeNamesAndTheLastLineWins) {
  dir.Write("HotKeys.rud",
            "frmMain_mnuFileSaveAs\x01" "A|49\r\n"        // not a line for mnuFileSave
            "frmMain_mnuFileSave\x01" "A|50\r\n"
            "frmMain_mnuFileSave\x01" "A|51\x01rest\r\n"  // later line; third field ignored
            "frmMain_mnuUnknown\x01" "A|52\r\n"
            "frmMain_mnuFileReload\r\n\r\n");            // no separator: names nothing
  ASSERT_TRUE(LoadHotKeys(dir.File("HotKeys.rud")));
  EXPECT_EQ(Current(0), "A|51");
  EXPECT_EQ(Current(1), "A|49");
  EXPECT_EQ(Current(2), "|");
  EXPECT_EQ(HotKeyList.size(), 3u);
}

// A damaged or hand-made row must not become a key: "X|65" once gave Seitenansicht the bare
// letter A, which would take it from typing, and "|20" Caps Lock, which the hot-key dialog
// refuses. Such a row is passed over as if it were not there.
TEST_F(HotKeysTest, ARowThatDoesNotReadCleanlyIsIgnored) {
  struct Row {
    const char* key;
    bool taken;
  } rows[] = {
      {"SCA|112", true},  {"sca|112", true},  {"A|65", true},     {"C|65", true},
      {"S|114", true},    {"|114", true},     {"|", true},        {"SC|226", true},
      {"X|65", false},    {"CX|65", false},   {"C |65", false},   {"|65", false},
      {"S|65", false},    {"C|256", false},   {"C|-1", false},    {"C|S", false},
      {"C|6 5", false},   {"C|0065", false},  {"", true},         {"C65", false},
      {"C|65|", false},   {"|20", false},     {"|93", false},     {"|229", false},
      {"|16", false},     {"SC|255", false},  {"C|20", false},    {"C|", false},
  };
  for (const Row& r : rows) {
    SetUp();
    dir.Write("HotKeys.rud", std::string("frmMain_mnuFileSave\x01") + r.key + "\r\n");
    ASSERT_TRUE(LoadHotKeys(dir.File("HotKeys.rud")));
    EXPECT_EQ(Current(0), r.taken ? r.key : "C|83") << r.key;
  }
  // An earlier row that reads cleanly still counts when a later one does not.
  SetUp();
  dir.Write("HotKeys.rud", "frmMain_mnuFileSave\x01" "A|112\r\nfrmMain_mnuFileSave\x01X|65\r\n");
  ASSERT_TRUE(LoadHotKeys(dir.File("HotKeys.rud")));
  EXPECT_EQ(Current(0), "A|112");
}

// Every key code with every set of modifiers: a row is used exactly when the hot-key dialog
// could have given its key. Without Ctrl and Alt the dialog asks IsHotKeyAllowed; with one
// of them it takes any key that has a name.
TEST_F(HotKeysTest, ARowIsUsedOnlyWhenTheHotKeyDialogCouldHaveGivenItsKey) {
  InitKeyNames();
  std::string file;
  std::vector<std::pair<std::string, bool>> expected;
  for (int code = 0; code <= 255; ++code)
    for (const char* modifiers : {"", "S", "C", "A", "CA", "SC", "SA", "SCA"}) {
      const std::string name = std::to_string(code) + modifiers;
      const std::string key = std::string(modifiers) + "|" + std::to_string(code);
      AddHotKey(name, name, "|");
      file += name + HotKeyFileSeparator + key + "\r\n";
      const bool withCtrlOrAlt = std::string(modifiers).find_first_of("CA") != std::string::npos;
      const uint16_t virtKey = static_cast<uint16_t>(code);
      expected.push_back({key, withCtrlOrAlt ? !KeyName(virtKey).empty() : IsHotKeyAllowed(virtKey, modifiers)});
    }
  dir.Write("HotKeys.rud", file);
  ASSERT_TRUE(LoadHotKeys(dir.File("HotKeys.rud")));
  for (size_t i = 0; i < expected.size(); ++i)
    EXPECT_EQ(HotKeyList[i].Current, expected[i].second ? expected[i].first : "|") << expected[i].first;
}

TEST_F(HotKeysTest, MissingEmptyOrUnreadableFileKeepsTheDefaults) {
  EXPECT_TRUE(LoadHotKeys(dir.File("absent.rud")));
  dir.Write("empty.rud", "");
  EXPECT_TRUE(LoadHotKeys(dir.File("empty.rud")));
  dir.Write("HotKeys.rud", "frmMain_mnuFileSave\x01" "A|2\r\n");
  HANDLE locked = CreateFileA(dir.File("HotKeys.rud").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(LoadHotKeys(dir.File("HotKeys.rud")));
  CloseHandle(locked);
  EXPECT_EQ(Current(0), "C|83");
  EXPECT_EQ(Current(1), "SC|85");
}

// Opening Shortcuts anpassen reads the file again, and so does its Abbrechen: while a sync tool
// holds it, the keys the program holds stay (not the defaults), which the user is told once,
// and they are not written over the file until it was read again. At a start none are held.
TEST_F(HotKeysTest, KeysHeldWhenTheFileCannotBeReadAgainStayAndTheUserIsTold) {
  const std::string appDir = Settings.AppDir;
  Settings.AppDir = dir.Path();
  const std::string file = dir.File("HotKeys.rud");
  dir.Write("HotKeys.rud", "frmMain_mnuFileOpen\x01SC|65\r\n");
  InitHotKeys();  // as at the start
  auto open = [] {
    return std::find_if(HotKeyList.begin(), HotKeyList.end(),
                        [](const THotKeyRec& h) { return h.Name == "frmMain_mnuFileOpen"; });
  };
  ASSERT_EQ(open()->Current, "SC|65");

  testsupport::HeldFile held(file);
  testsupport::ExpectStoreUnreadable(file);
  testsupport::QueueFormAnswer([&](TForm&) {
    EXPECT_EQ(open()->Current, "SC|65") << "the dialog shows the keys the program holds";
    open()->Current = "|";  // an edit the user then cancels
    return static_cast<int>(mrCancel);
  });
  ShowHotKeysDialog();
  EXPECT_EQ(open()->Current, "SC|65") << "Abbrechen keeps them too";
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);
  testsupport::ExpectStoreNotSaved(file);
  EXPECT_FALSE(StoreMayBeWritten(file));

  held.Release();
  dir.Write("HotKeys.rud", "frmMain_mnuFileOpen\x01SC|66\r\n");
  testsupport::QueueFormAnswer([](TForm&) { return static_cast<int>(mrCancel); });
  ShowHotKeysDialog();
  EXPECT_EQ(open()->Current, "SC|66") << "read once it is free";
  EXPECT_TRUE(StoreMayBeWritten(file));

  testsupport::HeldFile heldAtStart(file);
  InitHotKeys();  // as at a start: no keys held yet
  EXPECT_EQ(open()->Current, "C|79") << "the default";
  Settings.AppDir = appDir;
}

TEST_F(HotKeysTest, SaveReportsAFileThatCannotBeWritten) {
  EXPECT_FALSE(SaveHotKeys(dir.File("no such folder\\HotKeys.rud")));
  dir.Write("HotKeys.rud", "old");
  SetFileAttributesA(dir.File("HotKeys.rud").c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(SaveHotKeys(dir.File("HotKeys.rud")));
  SetFileAttributesA(dir.File("HotKeys.rud").c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(dir.Read("HotKeys.rud"), "old");
}

}  // namespace
