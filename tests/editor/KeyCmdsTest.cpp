// Editor commands by name, the default key bindings and shortcut handling.
#include <gtest/gtest.h>
#include <windows.h>
#include <iterator>
#include <set>
#include <utility>
#include "editor/CodeEditKeyCmds.h"

namespace {
const TShiftState kNone, kShift{TShift::ssShift}, kCtrl{TShift::ssCtrl}, kAlt{TShift::ssAlt},
    kShiftCtrl{TShift::ssShift, TShift::ssCtrl};

struct DefaultsFixture : testing::Test {
  DefaultsFixture() { strokes.ResetDefaults(); }
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

TEST(EditorCommandNames, EveryNumberHasItsName) {
  // Number and name of every command, as the command table lists them.
  const std::pair<int, const char*> expected[] = {
      {0, "ecNone"}, {1, "ecLeft"}, {2, "ecRight"}, {3, "ecUp"}, {4, "ecDown"},
      {5, "ecWordLeft"}, {6, "ecWordRight"}, {7, "ecLineStart"}, {8, "ecLineEnd"},
      {9, "ecPageUp"}, {10, "ecPageDown"}, {11, "ecPageLeft"}, {12, "ecPageRight"},
      {13, "ecPageTop"}, {14, "ecPageBottom"}, {15, "ecEditorTop"}, {16, "ecEditorBottom"},
      {17, "ecGotoXY"}, {101, "ecSelLeft"}, {102, "ecSelRight"}, {103, "ecSelUp"},
      {104, "ecSelDown"}, {105, "ecSelWordLeft"}, {106, "ecSelWordRight"},
      {107, "ecSelLineStart"}, {108, "ecSelLineEnd"}, {109, "ecSelPageUp"},
      {110, "ecSelPageDown"}, {111, "ecSelPageLeft"}, {112, "ecSelPageRight"},
      {113, "ecSelPageTop"}, {114, "ecSelPageBottom"}, {115, "ecSelEditorTop"},
      {116, "ecSelEditorBottom"}, {117, "ecSelGotoXY"}, {198, "ecSelWord"},
      {199, "ecSelectAll"}, {201, "ecCopy"}, {211, "ecScrollUp"}, {212, "ecScrollDown"},
      {213, "ecScrollLeft"}, {214, "ecScrollRight"}, {221, "ecInsertMode"},
      {222, "ecOverwriteMode"}, {223, "ecToggleMode"}, {231, "ecNormalSelect"},
      {232, "ecColumnSelect"}, {233, "ecLineSelect"}, {250, "ecMatchBracket"},
      {251, "ecCommentBlock"}, {301, "ecGotoMarker0"}, {302, "ecGotoMarker1"},
      {303, "ecGotoMarker2"}, {304, "ecGotoMarker3"}, {305, "ecGotoMarker4"},
      {306, "ecGotoMarker5"}, {307, "ecGotoMarker6"}, {308, "ecGotoMarker7"},
      {309, "ecGotoMarker8"}, {310, "ecGotoMarker9"}, {351, "ecSetMarker0"},
      {352, "ecSetMarker1"}, {353, "ecSetMarker2"}, {354, "ecSetMarker3"},
      {355, "ecSetMarker4"}, {356, "ecSetMarker5"}, {357, "ecSetMarker6"},
      {358, "ecSetMarker7"}, {359, "ecSetMarker8"}, {360, "ecSetMarker9"},
      {490, "ecContextHelp"}, {501, "ecDeleteLastChar"}, {502, "ecDeleteChar"},
      {503, "ecDeleteWord"}, {504, "ecDeleteLastWord"}, {505, "ecDeleteBOL"},
      {506, "ecDeleteEOL"}, {507, "ecDeleteLine"}, {508, "ecClearAll"},
      {509, "ecLineBreak"}, {510, "ecInsertLine"}, {511, "ecChar"}, {550, "ecImeStr"},
      {601, "ecUndo"}, {602, "ecRedo"}, {603, "ecCut"}, {604, "ecPaste"},
      {610, "ecBlockIndent"}, {611, "ecBlockUnindent"}, {612, "ecTab"}, {613, "ecShiftTab"},
      {620, "ecUpperCase"}, {621, "ecLowerCase"}, {622, "ecToggleCase"}, {623, "ecTitleCase"},
      {625, "ecUpperCaseBlock"}, {626, "ecLowerCaseBlock"}, {627, "ecToggleCaseBlock"},
      {630, "ecString"}, {650, "ecAutoCompletion"}, {1001, "ecUserFirst"},
  };
  ASSERT_EQ(std::size(expected), EditorCommandNames().size());
  for (const auto& [number, name] : expected) {
    std::string found;
    EXPECT_TRUE(EditorCommandToIdent(number, found)) << number;
    EXPECT_EQ(found, name) << number;
  }
  EXPECT_EQ(ecSelWordLeft, ecWordLeft + ecSelection);
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

TEST_F(DefaultsFixture, NoKeyIsBoundTwice) {
  std::set<TShortCut> seen;
  for (int i = 0; i < strokes.Count(); ++i)
    EXPECT_TRUE(seen.insert(strokes.Items(i)->ShortCut()).second)
        << strokes.Items(i)->DisplayName();
}

TEST_F(DefaultsFixture, MatchTheBindingTableRowByRow) {
  const TShiftState kShiftAlt{TShift::ssShift, TShift::ssAlt};
  struct Row { TCodeEditorCommand Command; uint16_t Key; TShiftState Shift; };
  // Marker commands by number, so that a wrong constant is caught too.
  const Row expected[] = {
      {ecUp, VK_UP, kNone}, {ecSelUp, VK_UP, kShift}, {ecScrollUp, VK_UP, kCtrl},
      {ecDown, VK_DOWN, kNone}, {ecSelDown, VK_DOWN, kShift}, {ecScrollDown, VK_DOWN, kCtrl},
      {ecLeft, VK_LEFT, kNone}, {ecSelLeft, VK_LEFT, kShift}, {ecWordLeft, VK_LEFT, kCtrl},
      {ecSelWordLeft, VK_LEFT, kShiftCtrl},
      {ecRight, VK_RIGHT, kNone}, {ecSelRight, VK_RIGHT, kShift},
      {ecWordRight, VK_RIGHT, kCtrl}, {ecSelWordRight, VK_RIGHT, kShiftCtrl},
      {ecPageDown, VK_NEXT, kNone}, {ecSelPageDown, VK_NEXT, kShift},
      {ecPageBottom, VK_NEXT, kCtrl}, {ecSelPageBottom, VK_NEXT, kShiftCtrl},
      {ecPageUp, VK_PRIOR, kNone}, {ecSelPageUp, VK_PRIOR, kShift},
      {ecPageTop, VK_PRIOR, kCtrl}, {ecSelPageTop, VK_PRIOR, kShiftCtrl},
      {ecLineStart, VK_HOME, kNone}, {ecSelLineStart, VK_HOME, kShift},
      {ecEditorTop, VK_HOME, kCtrl}, {ecSelEditorTop, VK_HOME, kShiftCtrl},
      {ecLineEnd, VK_END, kNone}, {ecSelLineEnd, VK_END, kShift},
      {ecEditorBottom, VK_END, kCtrl}, {ecSelEditorBottom, VK_END, kShiftCtrl},
      {ecToggleMode, VK_INSERT, kNone},
      {ecCopy, VK_INSERT, kCtrl}, {ecCut, VK_DELETE, kShift}, {ecPaste, VK_INSERT, kShift},
      {ecDeleteChar, VK_DELETE, kNone},
      {ecDeleteLastChar, VK_BACK, kNone}, {ecDeleteLastChar, VK_BACK, kShift},
      {ecDeleteLastWord, VK_BACK, kCtrl},
      {ecUndo, VK_BACK, kAlt}, {ecRedo, VK_BACK, kShiftAlt},
      {ecLineBreak, VK_RETURN, kNone}, {ecLineBreak, VK_RETURN, kShift},
      {ecTab, VK_TAB, kNone}, {ecShiftTab, VK_TAB, kShift},
      {ecContextHelp, VK_F1, kNone},
      {ecSelectAll, 'A', kCtrl}, {ecCopy, 'C', kCtrl}, {ecPaste, 'V', kCtrl}, {ecCut, 'X', kCtrl},
      {ecBlockIndent, 'I', kShiftCtrl}, {ecBlockUnindent, 'U', kShiftCtrl},
      {ecLineBreak, 'M', kCtrl}, {ecInsertLine, 'N', kCtrl},
      {ecDeleteWord, 'T', kCtrl}, {ecDeleteLine, 'Y', kCtrl}, {ecDeleteEOL, 'Y', kShiftCtrl},
      {ecUndo, 'Z', kCtrl}, {ecRedo, 'Z', kShiftCtrl},
      {301, '0', kCtrl}, {302, '1', kCtrl}, {303, '2', kCtrl}, {304, '3', kCtrl},
      {305, '4', kCtrl}, {306, '5', kCtrl}, {307, '6', kCtrl}, {308, '7', kCtrl},
      {309, '8', kCtrl}, {310, '9', kCtrl},
      {351, '0', kShiftCtrl}, {352, '1', kShiftCtrl}, {353, '2', kShiftCtrl},
      {354, '3', kShiftCtrl}, {355, '4', kShiftCtrl}, {356, '5', kShiftCtrl},
      {357, '6', kShiftCtrl}, {358, '7', kShiftCtrl}, {359, '8', kShiftCtrl},
      {360, '9', kShiftCtrl},
      {ecNormalSelect, 'N', kShiftCtrl}, {ecColumnSelect, 'C', kShiftCtrl},
      {ecLineSelect, 'L', kShiftCtrl},
      {ecMatchBracket, 'B', kShiftCtrl},
  };
  ASSERT_EQ(std::size(expected), 82u);
  ASSERT_EQ(strokes.Count(), 82);
  for (int i = 0; i < strokes.Count(); ++i) {
    const TCodeEditKeyStroke& s = *strokes.Items(i);
    EXPECT_EQ(s.Command(), expected[i].Command) << "row " << i;
    EXPECT_EQ(s.Key(), expected[i].Key) << "row " << i;
    EXPECT_EQ(s.Shift(), expected[i].Shift) << "row " << i;
    EXPECT_EQ(s.Key2(), 0) << "row " << i;
  }
}

TEST_F(DefaultsFixture, FindKeyForCtrlZGivesUndo) {
  int i = strokes.FindKey('Z', kCtrl);
  ASSERT_GE(i, 0);
  EXPECT_EQ(strokes.Items(i)->Command(), ecUndo);
  EXPECT_EQ(strokes.FindKey('Q', kCtrl), -1);
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
