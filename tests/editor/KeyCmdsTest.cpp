// Editor commands by name, the default key bindings and shortcut handling.
#include <gtest/gtest.h>
#include <windows.h>
#include <set>
#include "editor/CodeEditKeyCmds.h"

namespace {
const TShiftState kNone, kShift{TShift::ssShift}, kCtrl{TShift::ssCtrl}, kAlt{TShift::ssAlt},
    kShiftCtrl{TShift::ssShift, TShift::ssCtrl};

struct DefaultsFixture : testing::Test {
  DefaultsFixture() { strokes.ResetDefaults(); }
  TCodeEditorCommand CommandOf(uint16_t Key, TShiftState Shift) {
    int i = strokes.FindKey(Key, Shift);
    return i < 0 ? ecNone : strokes.Items(i)->Command();
  }
  TCodeEditKeyStrokes strokes{nullptr};
};
}  // namespace

TEST(EditorCommandNames, TableHoldsEveryCommandOnceInNumberOrder) {
  const auto& rows = EditorCommandNames();
  ASSERT_EQ(rows.size(), 101u);
  std::set<std::string> names;
  for (size_t i = 0; i < rows.size(); ++i) {
    names.insert(rows[i].Name);
    if (i > 0) {
      EXPECT_LT(rows[i - 1].Command, rows[i].Command) << rows[i].Name;
    }
  }
  EXPECT_EQ(names.size(), rows.size());
}

TEST(EditorCommandNames, EveryCommandRoundTripsThroughItsName) {
  for (const auto& row : EditorCommandNames()) {
    std::string name;
    ASSERT_TRUE(EditorCommandToIdent(row.Command, name));
    EXPECT_EQ(name, row.Name);
    int back = -1;
    ASSERT_TRUE(IdentToEditorCommand(name, back)) << name;
    EXPECT_EQ(back, row.Command) << name;
  }
}

TEST(EditorCommandNames, SampleNumbersMatchTheirNames) {
  std::string name;
  EXPECT_TRUE(EditorCommandToIdent(601, name));
  EXPECT_EQ(name, "ecUndo");
  EXPECT_EQ(EditorCommandToCodeString(ecSelGotoXY), "ecSelGotoXY");
  EXPECT_EQ(ecSelWordLeft, ecWordLeft + ecSelection);
  EXPECT_EQ(EditorCommandToCodeString(ecGotoMarker9), "ecGotoMarker9");
  EXPECT_EQ(EditorCommandToCodeString(360), "ecSetMarker9");
  EXPECT_EQ(EditorCommandToCodeString(1001), "ecUserFirst");
}

TEST(EditorCommandNames, UnknownNumbersAndNamesAreNotFound) {
  std::string name = "unchanged";
  EXPECT_FALSE(EditorCommandToIdent(ecFocusLost, name));
  EXPECT_EQ(name, "unchanged");
  EXPECT_EQ(EditorCommandToCodeString(1234), "1234");
  int command = -1;
  EXPECT_FALSE(IdentToEditorCommand("ecNoSuchCommand", command));
  EXPECT_EQ(command, -1);
  EXPECT_TRUE(IdentToEditorCommand("ECUNDO", command));
  EXPECT_EQ(command, ecUndo);
}

TEST_F(DefaultsFixture, HoldsEightyTwoBindingsWithoutSecondKeys) {
  ASSERT_EQ(strokes.Count(), 82);
  for (int i = 0; i < strokes.Count(); ++i) EXPECT_EQ(strokes.Items(i)->Key2(), 0) << i;
}

TEST_F(DefaultsFixture, NoKeyIsBoundTwice) {
  std::set<TShortCut> seen;
  for (int i = 0; i < strokes.Count(); ++i)
    EXPECT_TRUE(seen.insert(strokes.Items(i)->ShortCut()).second)
        << strokes.Items(i)->DisplayName();
}

TEST_F(DefaultsFixture, BindsTheDocumentedKeys) {
  struct Row { uint16_t Key; TShiftState Shift; TCodeEditorCommand Command; };
  const Row rows[] = {
      {'Z', kCtrl, ecUndo}, {'Z', kShiftCtrl, ecRedo}, {VK_BACK, kAlt, ecUndo},
      {VK_BACK, TShiftState{TShift::ssShift, TShift::ssAlt}, ecRedo},
      {VK_UP, kCtrl, ecScrollUp}, {VK_LEFT, kShiftCtrl, ecSelWordLeft},
      {VK_NEXT, kCtrl, ecPageBottom}, {VK_PRIOR, kShiftCtrl, ecSelPageTop},
      {VK_HOME, kCtrl, ecEditorTop}, {VK_END, kShift, ecSelLineEnd},
      {VK_INSERT, kNone, ecToggleMode}, {VK_INSERT, kCtrl, ecCopy}, {VK_INSERT, kShift, ecPaste},
      {VK_DELETE, kShift, ecCut}, {VK_DELETE, kNone, ecDeleteChar},
      {VK_BACK, kShift, ecDeleteLastChar}, {VK_BACK, kCtrl, ecDeleteLastWord},
      {VK_RETURN, kShift, ecLineBreak}, {VK_TAB, kShift, ecShiftTab}, {VK_F1, kNone, ecContextHelp},
      {'A', kCtrl, ecSelectAll}, {'X', kCtrl, ecCut}, {'I', kShiftCtrl, ecBlockIndent},
      {'U', kShiftCtrl, ecBlockUnindent}, {'M', kCtrl, ecLineBreak}, {'N', kCtrl, ecInsertLine},
      {'T', kCtrl, ecDeleteWord}, {'Y', kCtrl, ecDeleteLine}, {'Y', kShiftCtrl, ecDeleteEOL},
      {'0', kCtrl, ecGotoMarker0}, {'9', kCtrl, ecGotoMarker9}, {'0', kShiftCtrl, ecSetMarker0},
      {'7', kShiftCtrl, ecSetMarker7}, {'N', kShiftCtrl, ecNormalSelect},
      {'C', kShiftCtrl, ecColumnSelect}, {'L', kShiftCtrl, ecLineSelect},
      {'B', kShiftCtrl, ecMatchBracket},
  };
  for (const Row& r : rows)
    EXPECT_EQ(CommandOf(r.Key, r.Shift), r.Command) << EditorCommandToCodeString(r.Command);
  EXPECT_EQ(CommandOf('Q', kCtrl), ecNone);
}

TEST_F(DefaultsFixture, KeepsTheTableOrder) {
  EXPECT_EQ(strokes.Items(0)->Command(), ecUp);
  EXPECT_EQ(strokes.Items(0)->ShortCut(), VK_UP);
  EXPECT_EQ(strokes.Items(81)->Command(), ecMatchBracket);
  EXPECT_EQ(strokes.FindKey('Z', kCtrl) + 1, strokes.FindKey('Z', kShiftCtrl));
}

TEST_F(DefaultsFixture, ResetAgainReplacesChangedBindings) {
  strokes.Clear();
  strokes.AddKey(ecUndo, 'Q', kCtrl);
  strokes.ResetDefaults();
  EXPECT_EQ(strokes.Count(), 82);
  EXPECT_EQ(strokes.FindKey('Q', kCtrl), -1);
}

TEST(KeyStrokeShortCut, AddsModifierValuesToTheKeyCode) {
  TCodeEditKeyStrokes strokes(nullptr);
  TCodeEditKeyStroke* s = strokes.AddKey(ecRedo, 'Z', kShiftCtrl);
  EXPECT_EQ(s->ShortCut(), 24666);
  EXPECT_EQ(s->ShortCut2(), 0);
  s->SetShortCut(ShortCut('K', kAlt));
  EXPECT_EQ(s->Key(), 'K');
  EXPECT_EQ(s->Shift(), kAlt);
  EXPECT_EQ(s->ShortCut(), 'K' + 32768);
}

TEST(KeyStrokeShortCut, DuplicateOfAnotherBindingIsRefusedAndNothingChanges) {
  TCodeEditKeyStrokes strokes(nullptr);
  strokes.AddKey(ecCopy, 'C', kCtrl);
  TCodeEditKeyStroke* other = strokes.AddKey(ecPaste, 'V', kCtrl);
  try {
    other->SetShortCut(ShortCut('C', kCtrl));
    FAIL() << "no exception";
  } catch (const ECodeKeyError& e) {
    EXPECT_STREQ(e.what(), "Shortcut already exists");
  }
  EXPECT_EQ(other->Key(), 'V');
}

TEST(KeyStrokeShortCut, OwnValueAndZeroAreNeverDuplicates) {
  TCodeEditKeyStrokes strokes(nullptr);
  TCodeEditKeyStroke* copy = strokes.AddKey(ecCopy, 'C', kCtrl);
  strokes.AddKey(ecNone, 0, kNone);
  EXPECT_NO_THROW(copy->SetShortCut(ShortCut('C', kCtrl)));
  EXPECT_NO_THROW(copy->SetShortCut(0));
  EXPECT_EQ(copy->Key(), 0);
}

TEST(KeyStrokeShortCut, SameFirstKeyWithOtherSecondKeyIsAllowed) {
  TCodeEditKeyStrokes strokes(nullptr);
  TCodeEditKeyStroke* a = strokes.AddKey(ecSetMarker1, 'K', kCtrl);
  a->SetShortCut2('1');
  TCodeEditKeyStroke* b = strokes.AddKey(ecSetMarker2, 'K', kCtrl);
  EXPECT_NO_THROW(b->SetShortCut2('2'));
  EXPECT_THROW(b->SetShortCut2('1'), ECodeKeyError);
  EXPECT_EQ(b->Key2(), '2');
}

TEST(KeyStrokeDisplayName, IsCommandNameDashShortcutsWithTrailingBlank) {
  TCodeEditKeyStrokes strokes(nullptr);
  EXPECT_EQ(strokes.AddKey(ecCopy, 'C', kCtrl)->DisplayName(), "ecCopy - Ctrl+C ");
  TCodeEditKeyStroke* pair = strokes.AddKey(ecMatchBracket, 'K', kShiftCtrl);
  pair->SetShortCut2('B');
  EXPECT_EQ(pair->DisplayName(), "ecMatchBracket - Shift+Ctrl+K B");
  EXPECT_EQ(strokes.Add()->DisplayName(), "ecNone - ");
}

TEST(KeyStrokesSearch, FindsFirstMatchOrMinusOne) {
  TCodeEditKeyStrokes strokes(nullptr);
  TCodeEditKeyStroke* pair = strokes.AddKey(ecSelWord, 'K', kCtrl);
  pair->SetShortCut2('W');
  strokes.AddKey(ecCopy, 'K', kCtrl);
  strokes.AddKey(ecCut, 'K', kCtrl);  // AddKey does not check duplicates
  EXPECT_EQ(strokes.FindKey('K', kCtrl), 1);  // the pair has a second key
  EXPECT_EQ(strokes.FindKeyPair('K', kCtrl, 'W', kNone), 0);
  EXPECT_EQ(strokes.FindKeyPair('K', kCtrl, 'W', kShift), -1);
  EXPECT_EQ(strokes.FindShortcutPair(ShortCut('K', kCtrl), 'W'), 0);
  EXPECT_EQ(strokes.FindShortcutPair(ShortCut('K', kCtrl), 0), 1);
  EXPECT_EQ(strokes.FindKey('K', kShift), -1);
}

TEST(KeyStrokesCollection, AssignCopiesEveryFieldAndReplacesOldBindings) {
  TCodeEditKeyStrokes source(nullptr), target(nullptr);
  TCodeEditKeyStroke* s = source.AddKey(ecSetMarker3, 'K', kCtrl);
  s->SetShortCut2(ShortCut('3', kShift));
  target.ResetDefaults();
  target.Assign(source);
  ASSERT_EQ(target.Count(), 1);
  const TCodeEditKeyStroke* t = target.Items(0);
  EXPECT_EQ(t->Command(), ecSetMarker3);
  EXPECT_EQ(t->ShortCut(), s->ShortCut());
  EXPECT_EQ(t->ShortCut2(), s->ShortCut2());
  EXPECT_EQ(t->Collection(), &target);
}

TEST(KeyStrokesCollection, IndexOutsideTheListRaises) {
  TCodeEditKeyStrokes strokes(nullptr);
  strokes.Add();
  EXPECT_THROW(strokes.Items(1), Exception);
  EXPECT_THROW(strokes.Items(-1), Exception);
  EXPECT_THROW(strokes.Delete(1), Exception);
  strokes.Delete(0);
  EXPECT_EQ(strokes.Count(), 0);
}

TEST(KeyTranslation, TwoKeyStrokeNeedsTheRememberedFirstKey) {
  TCodeEditKeyStrokes strokes(nullptr);
  strokes.ResetDefaults();
  TCodeEditKeyStroke* pair = strokes.AddKey(ecCommentBlock, 'K', kCtrl);
  pair->SetShortCut2('B');
  strokes.AddKey(ecSelWord, 'B', kNone);
  TCodePendingKey pending;

  EXPECT_EQ(strokes.TranslateKey('K', kCtrl, pending), ecNone);
  EXPECT_EQ(pending.Key, 'K');
  EXPECT_EQ(strokes.TranslateKey('B', kNone, pending), ecCommentBlock);
  EXPECT_EQ(pending.Key, 0);
  // After a matched key only the one-key bindings count.
  EXPECT_EQ(strokes.TranslateKey('B', kNone, pending), ecSelWord);
}

TEST(KeyTranslation, KeysOutsideThirtyToOneFortyFiveAreNotRemembered) {
  TCodeEditKeyStrokes strokes(nullptr);
  TCodePendingKey pending{'K', kCtrl};
  EXPECT_EQ(strokes.TranslateKey(VK_RETURN, kNone, pending), ecNone);
  EXPECT_EQ(pending.Key, 0);
  EXPECT_EQ(strokes.TranslateKey(146, kNone, pending), ecNone);
  EXPECT_EQ(pending.Key, 0);
  EXPECT_EQ(strokes.TranslateKey(145, kShift, pending), ecNone);
  EXPECT_EQ(pending.Key, 145);
  EXPECT_EQ(pending.Shift, kShift);
}

TEST(ShortCutValues, SplitBackIntoKeyAndModifiers) {
  uint16_t key = 0;
  TShiftState shift;
  ShortCutToKey(ShortCut(VK_NEXT, {TShift::ssShift, TShift::ssAlt, TShift::ssDouble}), key, shift);
  EXPECT_EQ(key, VK_NEXT);
  EXPECT_EQ(shift, (TShiftState{TShift::ssShift, TShift::ssAlt}));
  EXPECT_EQ(ShortCut(0x100, kCtrl), 0);  // not a key code of one byte
}

TEST(ShortCutValues, TextNamesModifiersInFixedOrder) {
  EXPECT_EQ(ShortCutToText(ShortCut(VK_NEXT, {TShift::ssAlt, TShift::ssCtrl, TShift::ssShift})),
            "Shift+Ctrl+Alt+PgDn");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_BACK, kAlt)), "Alt+BkSp");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_F12, kNone)), "F12");
  EXPECT_EQ(ShortCutToText(ShortCut('7', kShiftCtrl)), "Shift+Ctrl+7");
  EXPECT_EQ(ShortCutToText(0), "");
}
