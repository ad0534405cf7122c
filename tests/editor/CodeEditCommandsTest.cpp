#include <gtest/gtest.h>
#include "editor/CodeEditTestFixture.h"

using namespace codeedittest;
using EO = TCodeEditorOption;
using SM = TCodeSelectionMode;

// --- The pipeline --------------------------------------------------------------------------

TEST(CodeEditCommandProcessor, EventsMayChangeOrCancelACommandAndHooksSeeIt) {
  auto edit = MakeEdit("");
  std::vector<std::string> seen;
  edit->OnProcessCommand = [&](TObject*, TCodeEditorCommand& C, char& Ch, void*) {
    if (Ch == 'a') Ch = 'b';
    if (Ch == 'x') C = ecNone;
  };
  edit->RegisterCommandHandler(
      [&](TObject*, bool After, bool&, TCodeEditorCommand& C, char& Ch, void*, void*) {
        seen.push_back(std::string(After ? "after " : "before ") + std::to_string(C) + Ch);
      },
      nullptr);
  TCodeEditorCommand finalCommand = 1;
  edit->OnCommandProcessed = [&](TObject*, TCodeEditorCommand& C, char&, void*) { finalCommand = C; };
  Cmd(*edit, ecChar, 'a');
  Cmd(*edit, ecChar, 'x');
  EXPECT_EQ(edit->Text(), "b");
  EXPECT_EQ(seen, (std::vector<std::string>{"before 511b", "after 511b"}));
  EXPECT_EQ(finalCommand, ecNone);
}

TEST(CodeEditCommandProcessor, AHandledHookCancelsTheCommand) {
  auto edit = MakeEdit("");
  edit->RegisterCommandHandler(
      [](TObject*, bool After, bool& Handled, TCodeEditorCommand&, char&, void*, void*) {
        if (!After) Handled = true;
      },
      nullptr);
  EXPECT_EQ(edit->CommandHookCount(), 1);
  Cmd(*edit, ecChar, 'a');
  EXPECT_EQ(edit->Text(), "");
}

TEST(CodeEditCommandProcessor, UserCommandsReachTheirEventButAreNeverExecuted) {
  auto edit = MakeEdit("abc");
  int userCalls = 0;
  edit->OnProcessUserCommand = [&](TObject*, TCodeEditorCommand&, char&, void*) { ++userCalls; };
  edit->OnProcessCommand = [&](TObject*, TCodeEditorCommand&, char&, void*) { FAIL(); };
  Cmd(*edit, ecUserFirst + ecDeleteLine);
  EXPECT_EQ(userCalls, 1);
  EXPECT_EQ(edit->Text(), "abc");
}

TEST(CodeEditCommandProcessor, ReadOnlyIgnoresTextCommandsButMovesAndCopies) {
  TFakeClipboard clipboard;
  auto edit = MakeEdit("abc");
  edit->SetReadOnly(true);
  Type(*edit, "x");
  Cmd(*edit, ecDeleteChar);
  Cmd(*edit, ecLineBreak);
  Cmd(*edit, ecSelRight);
  Cmd(*edit, ecCopy);
  EXPECT_EQ(edit->Text(), "abc");
  EXPECT_EQ(clipboard.Data[CF_TEXT], std::string("a\0", 2));
}

TEST(CodeEditCommandProcessor, TranslatesKeysThroughTheKeystrokeTable) {
  auto edit = MakeEdit("");
  void* data = nullptr;
  EXPECT_EQ(edit->TranslateKeyCode('Z', TShiftState{TShift::ssCtrl}, data), ecUndo);
  EXPECT_EQ(edit->TranslateKeyCode(VK_LEFT, TShiftState{TShift::ssShift}, data), ecSelLeft);
  edit->SetKeystrokes(nullptr);
  EXPECT_EQ(edit->TranslateKeyCode(VK_LEFT, TShiftState{}, data), ecNone);
}

// --- Moves ---------------------------------------------------------------------------------

TEST(CodeEditMoves, LeftAndRightWrapAtLineEndsWithoutScrollPastEol) {
  auto edit = MakeEdit("ab\r\ncd", WithOut(CodeEditDefaultOptions, EO::eoScrollPastEol));
  edit->SetCaretXY({3, 1});
  Cmd(*edit, ecRight);
  EXPECT_EQ(edit->CaretXY(), (TBufferCoord{1, 2}));
  Cmd(*edit, ecLeft);
  EXPECT_EQ(edit->CaretXY(), (TBufferCoord{3, 1}));
  edit->SetOptions(CodeEditDefaultOptions);
  Cmd(*edit, ecRight);
  EXPECT_EQ(edit->CaretXY(), (TBufferCoord{4, 1}));
}

TEST(CodeEditMoves, SelectingMovesExtendFromTheCaret) {
  auto edit = MakeEdit("hello world");
  edit->SetCaretXY({3, 1});
  Cmd(*edit, ecSelWordRight);
  EXPECT_EQ(edit->SelText(), "llo ");
  Cmd(*edit, ecSelLineEnd);
  EXPECT_EQ(edit->SelText(), "llo world");
  Cmd(*edit, ecLineStart);
  EXPECT_FALSE(edit->SelAvail());
  EXPECT_EQ(edit->CaretX(), 1);
}

TEST(CodeEditMoves, EnhancedHomeAndEndAlternateWithTheTextBounds) {
  auto edit = MakeEdit("    text   ", With(CodeEditDefaultOptions, EO::eoEnhanceHomeKey));
  edit->SetCaretXY({7, 1});
  Cmd(*edit, ecLineStart);
  EXPECT_EQ(edit->CaretX(), 5);
  Cmd(*edit, ecLineStart);
  EXPECT_EQ(edit->CaretX(), 1);
  Cmd(*edit, ecLineStart);
  EXPECT_EQ(edit->CaretX(), 5);
  Cmd(*edit, ecLineEnd);
  EXPECT_EQ(edit->CaretX(), 9);
  Cmd(*edit, ecLineEnd);
  EXPECT_EQ(edit->CaretX(), 12);
}

TEST(CodeEditMoves, VerticalMovesKeepTheRememberedColumn) {
  auto edit = MakeEdit("abcdefgh\r\nab\r\nabcdefgh", WithOut(CodeEditDefaultOptions, EO::eoScrollPastEol));
  edit->SetCaretXY({7, 1});
  Cmd(*edit, ecDown);
  EXPECT_EQ(edit->CaretXY(), (TBufferCoord{3, 2}));
  Cmd(*edit, ecDown);
  EXPECT_EQ(edit->CaretXY(), (TBufferCoord{3, 3}));
  edit->SetOptions(With(WithOut(CodeEditDefaultOptions, EO::eoScrollPastEol), EO::eoKeepCaretX));
  edit->SetCaretXY({7, 1});
  Cmd(*edit, ecDown);
  Cmd(*edit, ecDown);
  EXPECT_EQ(edit->CaretXY(), (TBufferCoord{7, 3}));
}

TEST(CodeEditMoves, WordPositionsStopAtWordStarts) {
  auto edit = MakeEdit("foo(bar, baz)\r\n  next");
  EXPECT_EQ(edit->NextWordPosEx({1, 1}), (TBufferCoord{5, 1}));
  EXPECT_EQ(edit->NextWordPosEx({10, 1}), (TBufferCoord{14, 1}));
  EXPECT_EQ(edit->NextWordPosEx({14, 1}), (TBufferCoord{3, 2}));
  EXPECT_EQ(edit->PrevWordPosEx({8, 1}), (TBufferCoord{5, 1}));
  EXPECT_EQ(edit->PrevWordPosEx({3, 2}), (TBufferCoord{14, 1}));
  EXPECT_EQ(edit->WordStartEx({7, 1}), (TBufferCoord{5, 1}));
  EXPECT_EQ(edit->WordEndEx({7, 1}), (TBufferCoord{8, 1}));
}

TEST(CodeEditMoves, EditorBottomAndGotoXY) {
  auto edit = MakeEdit("a\r\nbcd");
  Cmd(*edit, ecEditorBottom);
  EXPECT_EQ(edit->CaretXY(), (TBufferCoord{4, 2}));
  TBufferCoord target{1, 1};
  Cmd(*edit, ecSelGotoXY, 0, &target);
  EXPECT_EQ(edit->SelText(), "a\r\nbcd");
}

TEST(CodeEditMoves, MatchingBracketSkipsNestedPairs) {
  auto edit = MakeEdit("f(a, (b)[c],\r\n d)");
  EXPECT_EQ(edit->GetMatchingBracketEx({2, 1}), (TBufferCoord{3, 2}));
  EXPECT_EQ(edit->GetMatchingBracketEx({3, 2}), (TBufferCoord{2, 1}));
  EXPECT_EQ(edit->GetMatchingBracketEx({1, 1}), (TBufferCoord{0, 0}));
  edit->SetCaretXY({6, 1});
  Cmd(*edit, ecMatchBracket);
  EXPECT_EQ(edit->CaretXY(), (TBufferCoord{8, 1}));
}

TEST(CodeEditMoves, ModesAndSelectionModeCommands) {
  auto edit = MakeEdit("");
  Cmd(*edit, ecToggleMode);
  EXPECT_FALSE(edit->InsertMode());
  Cmd(*edit, ecInsertMode);
  EXPECT_TRUE(edit->InsertMode());
  Cmd(*edit, ecColumnSelect);
  EXPECT_EQ(edit->SelectionMode(), SM::smColumn);
  EXPECT_EQ(edit->ActiveSelectionMode(), SM::smColumn);
  Cmd(*edit, ecLineSelect);
  EXPECT_EQ(edit->SelectionMode(), SM::smLine);
}

// --- Deleting --------------------------------------------------------------------------

TEST(CodeEditDelete, BackspaceAtTheStartOfTheTextDoesNothing) {
  auto edit = MakeEdit("abc");
  Cmd(*edit, ecDeleteLastChar);
  EXPECT_EQ(edit->Text(), "abc");
  EXPECT_FALSE(edit->UndoList().CanUndo());
}

TEST(CodeEditDelete, BackspaceAtColumnOneJoinsWithThePreviousLine) {
  auto edit = MakeEdit("ab\r\ncd");
  edit->SetCaretXY({1, 2});
  Cmd(*edit, ecDeleteLastChar);
  EXPECT_EQ(edit->Text(), "abcd");
  EXPECT_EQ(edit->CaretXY(), (TBufferCoord{3, 1}));
  edit->Undo();
  EXPECT_EQ(edit->Text(), "ab\r\ncd");
}

TEST(CodeEditDelete, SmartBackspaceGoesBackToTheIndentationAbove) {
  auto edit = MakeEdit("    a\r\n        b");
  edit->SetCaretXY({9, 2});
  Cmd(*edit, ecDeleteLastChar);
  EXPECT_EQ(edit->Text(), "    a\r\n    b");
  EXPECT_EQ(edit->CaretX(), 5);
  edit->Undo();
  EXPECT_EQ(edit->Text(), "    a\r\n        b");
}

TEST(CodeEditDelete, BackspaceWithoutSmartDeleteGoesToThePreviousTabStop) {
  auto edit = MakeEdit("          b", WithOut(CodeEditDefaultOptions, EO::eoSmartTabDelete));
  edit->SetTabWidth(4);
  edit->SetCaretXY({11, 1});
  Cmd(*edit, ecDeleteLastChar);
  EXPECT_EQ(edit->Text(), "        b");
}

TEST(CodeEditDelete, DeleteAtTheLineEndJoinsAndUndoRemovesTheFiller) {
  auto edit = MakeEdit("ab\r\ncd");
  edit->SetCaretXY({5, 1});
  Cmd(*edit, ecDeleteChar);
  EXPECT_EQ(edit->Text(), "ab  cd");
  edit->Undo();
  EXPECT_EQ(edit->Text(), "ab\r\ncd");
}

TEST(CodeEditDelete, DeleteWordTakesTheWordAndFollowingBlanks) {
  auto edit = MakeEdit("one two three");
  edit->SetCaretXY({5, 1});
  Cmd(*edit, ecDeleteWord);
  EXPECT_EQ(edit->Text(), "one three");
  EXPECT_EQ(edit->CaretX(), 5);
  Cmd(*edit, ecDeleteEOL);
  EXPECT_EQ(edit->Text(), "one ");
  Cmd(*edit, ecDeleteBOL);
  EXPECT_EQ(edit->Text(), "");
  edit->Undo();
  edit->Undo();
  edit->Undo();
  EXPECT_EQ(edit->Text(), "one two three");
}

TEST(CodeEditDelete, DeleteLastWordAndDeleteLine) {
  auto edit = MakeEdit("alpha beta\r\nsecond\r\nlast");
  edit->SetCaretXY({11, 1});
  Cmd(*edit, ecDeleteLastWord);
  EXPECT_EQ(edit->Text(), "alpha \r\nsecond\r\nlast");
  edit->SetCaretXY({3, 2});
  Cmd(*edit, ecDeleteLine);
  EXPECT_EQ(edit->Text(), "alpha \r\nlast");
  EXPECT_EQ(edit->CaretXY(), (TBufferCoord{1, 2}));
  Cmd(*edit, ecDeleteLine);
  EXPECT_EQ(edit->Text(), "alpha \r\n");
  Cmd(*edit, ecDeleteLine);  // the last line is empty now: nothing
  EXPECT_EQ(edit->Lines().Count(), 2);
}

// --- Line breaks -------------------------------------------------------------------------

TEST(CodeEditLineBreak, AutoIndentCopiesTheIndentationOfTheLeftPart) {
  auto edit = MakeEdit("    foo(bar)");
  edit->SetCaretXY({9, 1});
  Cmd(*edit, ecLineBreak);
  EXPECT_EQ(edit->Text(), "    foo(\r\n    bar)");
  EXPECT_EQ(edit->CaretXY(), (TBufferCoord{5, 2}));
  edit->Undo();
  EXPECT_EQ(edit->Text(), "    foo(bar)");
  auto plain = MakeEdit("    foo(bar)", WithOut(CodeEditDefaultOptions, EO::eoAutoIndent));
  plain->SetCaretXY({9, 1});
  Cmd(*plain, ecLineBreak);
  EXPECT_EQ(plain->Text(), "    foo(\r\nbar)");
}

TEST(CodeEditLineBreak, AtColumnOneInsertsAnEmptyLineAboveAndKeepsTheText) {
  auto edit = MakeEdit("text");
  Cmd(*edit, ecLineBreak);
  EXPECT_EQ(edit->Text(), "\r\ntext");
  EXPECT_EQ(edit->CaretXY(), (TBufferCoord{1, 2}));
  Cmd(*edit, ecInsertLine);
  EXPECT_EQ(edit->Text(), "\r\n\r\ntext");
  EXPECT_EQ(edit->CaretXY(), (TBufferCoord{1, 2}));
}

TEST(CodeEditLineBreak, BehindTheEndTheNewLineGetsTheIndentation) {
  auto edit = MakeEdit("\t x");
  edit->SetCaretXY({4, 1});
  Cmd(*edit, ecLineBreak);
  EXPECT_EQ(edit->Text(), "\t x\r\n\t ");
  EXPECT_EQ(edit->CaretXY(), (TBufferCoord{3, 2}));
  edit->Undo();
  EXPECT_EQ(edit->Text(), "\t x");
  edit->Redo();
  EXPECT_EQ(edit->Text(), "\t x\r\n\t ");
}

TEST(CodeEditLineBreak, OnAnEmptyLineTheCaretTakesTheIndentationAbove) {
  auto edit = MakeEdit("  abc");
  edit->Lines().Add("");
  edit->SetCaretXY({1, 2});
  Cmd(*edit, ecLineBreak);
  EXPECT_EQ(edit->Text(), "  abc\r\n\r\n");
  EXPECT_EQ(edit->CaretXY(), (TBufferCoord{3, 3}));
}

// --- Typing --------------------------------------------------------------------------------

TEST(CodeEditTyping, PastTheLineEndPadsAndRecordsTheFillerSeparately) {
  auto edit = MakeEdit("abcd", WithOut(CodeEditDefaultOptions, EO::eoGroupUndo));
  edit->SetCaretXY({10, 1});
  Type(*edit, "x");
  EXPECT_EQ(edit->Text(), "abcd     x");
  TCodeEditUndoList records;
  records.Assign(edit->UndoList());
  EXPECT_EQ(records.PopItem()->Reason(), urGroupBreak);  // two records: a step of its own
  EXPECT_EQ(records.PopItem()->Reason(), urInsert);
  EXPECT_EQ(records.PopItem()->Reason(), urWhiteSpaceAdd);
  EXPECT_FALSE(records.CanUndo());
  edit->Undo();
  EXPECT_EQ(edit->Text(), "abcd");
  edit->Redo();
  EXPECT_EQ(edit->Text(), "abcd     x");
}

TEST(CodeEditTyping, BeyondMaxScrollWidthNothingHappens) {
  auto edit = MakeEdit("");
  edit->SetMaxScrollWidth(5);
  edit->SetCaretXY({6, 1});
  Type(*edit, "x");
  EXPECT_EQ(edit->Text(), "");
}

TEST(CodeEditTyping, GroupUndoTakesWordsTogetherAndControlCharactersAreIgnored) {
  auto edit = MakeEdit("");
  Type(*edit, "one two");
  Cmd(*edit, ecChar, '\x07');
  Cmd(*edit, ecChar, '\x7f');
  EXPECT_EQ(edit->Text(), "one two");
  edit->Undo();
  EXPECT_EQ(edit->Text(), "");
  EXPECT_FALSE(edit->Modified());
  auto separate = MakeEdit("", WithOut(CodeEditDefaultOptions, EO::eoGroupUndo));
  Type(*separate, "ab");
  separate->Undo();
  EXPECT_EQ(separate->Text(), "a");
}

TEST(CodeEditTyping, OverwriteReplacesAndUndoRestores) {
  auto edit = MakeEdit("abcd");
  Cmd(*edit, ecOverwriteMode);
  edit->SetCaretXY({2, 1});
  Type(*edit, "XY");
  EXPECT_EQ(edit->Text(), "aXYd");
  edit->Undo();
  EXPECT_EQ(edit->Text(), "abcd");
}

TEST(CodeEditTyping, ACharacterReplacesTheSelection) {
  auto edit = MakeEdit("one two");
  Select(*edit, {1, 1}, {4, 1});
  Type(*edit, "1");
  EXPECT_EQ(edit->Text(), "1 two");
  edit->Undo();
  EXPECT_EQ(edit->Text(), "one two");
}

TEST(CodeEditTyping, ImeStringIsInsertedAsOneChange) {
  auto edit = MakeEdit("ab");
  edit->SetCaretXY({2, 1});
  char text[] = "xyz";
  Cmd(*edit, ecImeStr, 0, text);
  EXPECT_EQ(edit->Text(), "axyzb");
  EXPECT_EQ(edit->CaretX(), 5);
  edit->Undo();
  EXPECT_EQ(edit->Text(), "ab");
}

// --- Tabs and block indent ----------------------------------------------------------------

TEST(CodeEditTabs, TabInsertsBlanksToTheNextStopOrTheSmartColumn) {
  auto edit = MakeEdit("ab", WithOut(CodeEditDefaultOptions, EO::eoSmartTabs));
  edit->SetTabWidth(4);
  edit->SetCaretXY({2, 1});
  Cmd(*edit, ecTab);
  EXPECT_EQ(edit->Text(), "a   b");
  auto smart = MakeEdit("int   value;\r\nx");
  smart->SetCaretXY({1, 2});
  Cmd(*smart, ecTab);
  EXPECT_EQ(smart->Text(), "int   value;\r\n      x");
  smart->Undo();
  EXPECT_EQ(smart->Text(), "int   value;\r\nx");
}

TEST(CodeEditTabs, TabWithoutTabsToSpacesInsertsATab) {
  auto edit = MakeEdit("ab", WithOut(WithOut(CodeEditDefaultOptions, EO::eoTabsToSpaces), EO::eoSmartTabs));
  edit->SetCaretXY({2, 1});
  Cmd(*edit, ecTab);
  EXPECT_EQ(edit->Text(), "a\tb");
}

TEST(CodeEditTabs, ShiftTabRemovesBlanksBackToThePreviousStop) {
  auto edit = MakeEdit("      x", WithOut(CodeEditDefaultOptions, EO::eoSmartTabs));
  edit->SetTabWidth(4);
  edit->SetCaretXY({7, 1});
  Cmd(*edit, ecShiftTab);
  EXPECT_EQ(edit->Text(), "    x");
  EXPECT_EQ(edit->CaretX(), 5);
  edit->Undo();
  EXPECT_EQ(edit->Text(), "      x");
}

TEST(CodeEditTabs, BlockIndentAndUnindentAreUndoneStepByStep) {
  auto edit = MakeEdit("a\r\nb\r\nc");
  edit->SetTabWidth(2);
  Select(*edit, {1, 1}, {1, 3});
  Cmd(*edit, ecBlockIndent);
  EXPECT_EQ(edit->Text(), "  a\r\n  b\r\nc");
  Cmd(*edit, ecBlockIndent);
  EXPECT_EQ(edit->Text(), "    a\r\n    b\r\nc");
  Cmd(*edit, ecBlockUnindent);
  EXPECT_EQ(edit->Text(), "  a\r\n  b\r\nc");
  edit->Undo();
  EXPECT_EQ(edit->Text(), "    a\r\n    b\r\nc");
  edit->Undo();
  EXPECT_EQ(edit->Text(), "  a\r\n  b\r\nc");
  edit->Undo();
  EXPECT_EQ(edit->Text(), "a\r\nb\r\nc");
  edit->Redo();
  edit->Redo();
  EXPECT_EQ(edit->Text(), "    a\r\n    b\r\nc");
}

// A block indent that reaches no line changes nothing: it records nothing and leaves caret and
// selection, so that redo cannot write its blanks into the text typed after it.
TEST(CodeEditTabs, ABlockIndentThatReachesNoLineRecordsNothing) {
  auto empty = MakeEdit("");
  Cmd(*empty, ecSelRight);
  Cmd(*empty, ecBlockIndent);
  EXPECT_FALSE(empty->CanUndo());
  EXPECT_EQ(empty->CaretXY(), (TBufferCoord{2, 1}));
  EXPECT_TRUE(empty->SelAvail());
  Type(*empty, "-");
  Cmd(*empty, ecUndo);
  Cmd(*empty, ecUndo);
  EXPECT_EQ(empty->Text(), "");
  Cmd(*empty, ecRedo);
  Cmd(*empty, ecRedo);
  EXPECT_EQ(empty->Text(), "-");

  // A column block right of every line's end.
  auto shortLines = MakeEdit("ab\r\ncd");
  shortLines->SetSelectionMode(TCodeSelectionMode::smColumn);
  Select(*shortLines, {5, 1}, {7, 2});
  Cmd(*shortLines, ecBlockIndent);
  EXPECT_EQ(shortLines->Text(), "ab\r\ncd");
  EXPECT_FALSE(shortLines->CanUndo());
  EXPECT_EQ(shortLines->CaretXY(), (TBufferCoord{7, 2}));
}

TEST(CodeEditTabs, UnindentTakesALeadingTabOrUpToATabWidthOfBlanks) {
  auto edit = MakeEdit("\tx\r\n  \ty\r\n     z");
  edit->SetTabWidth(4);
  Select(*edit, {1, 1}, {2, 3});
  Cmd(*edit, ecBlockUnindent);
  EXPECT_EQ(edit->Text(), "x\r\ny\r\n z");
  edit->Undo();
  EXPECT_EQ(edit->Text(), "\tx\r\n  \ty\r\n     z");
}

TEST(CodeEditTabs, TabIndentOptionIndentsAMultiLineSelection) {
  auto edit = MakeEdit("a\r\nb", With(CodeEditDefaultOptions, EO::eoTabIndent));
  edit->SetTabWidth(2);
  Select(*edit, {1, 1}, {2, 2});
  Cmd(*edit, ecTab);
  EXPECT_EQ(edit->Text(), "  a\r\n  b");
  Cmd(*edit, ecShiftTab);
  EXPECT_EQ(edit->Text(), "a\r\nb");
}

// --- Case changes --------------------------------------------------------------------------

TEST(CodeEditCase, ToggleOfASelectedWordAndUndoRestoresTheCase) {
  auto edit = MakeEdit("say hELLO");
  Select(*edit, {5, 1}, {10, 1});
  Cmd(*edit, ecToggleCaseBlock);
  EXPECT_EQ(edit->Text(), "say Hello");
  EXPECT_EQ(edit->SelText(), "Hello");
  edit->Undo();
  EXPECT_EQ(edit->Text(), "say hELLO");
}

TEST(CodeEditCase, TitleCaseWorksOnTheWordAtTheCaretAndPutsTheCaretBack) {
  auto edit = MakeEdit("hello wORLD");
  edit->SetCaretXY({9, 1});
  Cmd(*edit, ecTitleCase);
  EXPECT_EQ(edit->Text(), "hello World");
  EXPECT_EQ(edit->CaretX(), 9);
  Cmd(*edit, ecUpperCase);
  EXPECT_EQ(edit->Text(), "hello WORLD");
  edit->Undo();
  edit->Undo();
  EXPECT_EQ(edit->Text(), "hello wORLD");
}

TEST(CodeEditCase, BlockCommandWithoutSelectionChangesOneCharacterAndUsesTheLocale) {
  auto edit = MakeEdit("\xe4xy");
  Cmd(*edit, ecUpperCaseBlock);
  EXPECT_EQ(edit->Text(), "\xc4xy");
  EXPECT_EQ(edit->CaretX(), 2);
  Cmd(*edit, ecUpperCaseBlock);
  EXPECT_EQ(edit->Text(), "\xc4Xy");
}

TEST(CodeEditCase, ColumnBlockCaseChangeLeavesShortLinesAlone) {
  auto edit = MakeEdit("abcd\r\na\r\nabcd");
  edit->SetSelectionMode(SM::smColumn);
  Select(*edit, {2, 1}, {4, 3});
  Cmd(*edit, ecUpperCaseBlock);
  EXPECT_EQ(edit->Text(), "aBCd\r\na\r\naBCd");
  edit->Undo();
  EXPECT_EQ(edit->Text(), "abcd\r\na\r\nabcd");
}

TEST(CodeEditTabs, ColumnIndentSkipsShortLinesAndUndoesExactly) {
  auto edit = MakeEdit("abcdef\r\nab\r\nabcdef");
  edit->SetTabWidth(2);
  edit->SetSelectionMode(SM::smColumn);
  Select(*edit, {4, 1}, {5, 3});
  Cmd(*edit, ecBlockIndent);
  EXPECT_EQ(edit->Text(), "abc  def\r\nab\r\nabc  def");
  edit->Undo();
  EXPECT_EQ(edit->Text(), "abcdef\r\nab\r\nabcdef");
  edit->Redo();
  EXPECT_EQ(edit->Text(), "abc  def\r\nab\r\nabc  def");
}

TEST(CodeEditTabs, ColumnUnindentFindsTheColumnBehindTabsOnEachLine) {
  auto edit = MakeEdit("x\t\ty\r\nabcd\t\tz");
  edit->SetTabWidth(4);
  edit->SetSelectionMode(SM::smColumn);
  Select(*edit, {3, 1}, {6, 2});
  Cmd(*edit, ecBlockUnindent);
  EXPECT_EQ(edit->Text(), "x\ty\r\nabcd\tz");
  edit->Undo();
  EXPECT_EQ(edit->Text(), "x\t\ty\r\nabcd\t\tz");
  edit->Redo();
  EXPECT_EQ(edit->Text(), "x\ty\r\nabcd\tz");
}

TEST(CodeEditTabs, TabIndentOptionIndentsAWholeLineSelection) {
  auto edit = MakeEdit("abc\r\ndef", With(CodeEditDefaultOptions, EO::eoTabIndent));
  edit->SetTabWidth(2);
  Select(*edit, {1, 1}, {4, 1});
  Cmd(*edit, ecTab);
  EXPECT_EQ(edit->Text(), "  abc\r\ndef");
  EXPECT_EQ(edit->BlockBegin(), (TBufferCoord{1, 1}));
  Select(*edit, {2, 1}, {4, 1});  // not from column 1: the selection is replaced
  Cmd(*edit, ecTab);
  EXPECT_EQ(edit->Text(), "  bc\r\ndef");  // " a" gave way to a blank up to the tab stop
}
