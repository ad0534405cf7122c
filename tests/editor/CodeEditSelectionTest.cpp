#include <gtest/gtest.h>
#include "editor/CodeEditTestFixture.h"

using namespace codeedittest;
using EO = TCodeEditorOption;
using SM = TCodeSelectionMode;

namespace {
TCodeEditorOptions NoPastEol() { return WithOut(CodeEditDefaultOptions, EO::eoScrollPastEol); }
}  // namespace

// --- Caret ------------------------------------------------------------------------------

TEST(CodeEditCaret, IsClampedToTheLineEndWithoutScrollPastEol) {
  auto edit = MakeEdit("abcde\r\nxy", NoPastEol());
  edit->SetCaretXY({100, 1});
  EXPECT_EQ(edit->CaretX(), 6);
  edit->SetCaretXY({100, 2});
  EXPECT_EQ(edit->CaretXY(), (TBufferCoord{3, 2}));
}

TEST(CodeEditCaret, MayStandPastTheLineEndWithScrollPastEolUpToMaxScrollWidth) {
  auto edit = MakeEdit("abcde");
  edit->SetCaretXY({100, 1});
  EXPECT_EQ(edit->CaretX(), 100);
  edit->SetMaxScrollWidth(50);
  edit->SetCaretXY({100, 1});
  EXPECT_EQ(edit->CaretX(), 51);
}

TEST(CodeEditCaret, LinesOutsideTheTextAreClamped) {
  auto edit = MakeEdit("a\r\nb\r\nc");
  edit->SetCaretY(0);
  EXPECT_EQ(edit->CaretY(), 1);
  edit->SetCaretY(10);
  EXPECT_EQ(edit->CaretY(), 3);
  auto empty = MakeEdit("");
  empty->SetCaretXY({5, 5});
  EXPECT_EQ(empty->CaretY(), 1);
}

TEST(CodeEditCaret, SettingTheCaretClearsTheSelectionButTheInternalSetterKeepsIt) {
  auto edit = MakeEdit("hello world");
  Select(*edit, {1, 1}, {6, 1});
  edit->InternalSetCaretXY({3, 1});
  EXPECT_TRUE(edit->SelAvail());
  edit->SetCaretX(2);
  EXPECT_FALSE(edit->SelAvail());
  EXPECT_EQ(edit->BlockBegin(), (TBufferCoord{2, 1}));
}

TEST(CodeEditCaret, DisplayColumnExpandsTabs) {
  auto edit = MakeEdit("\tab");
  edit->SetTabWidth(4);
  edit->SetCaretXY({2, 1});
  EXPECT_EQ(edit->DisplayX(), 5);
  EXPECT_EQ(edit->DisplayToBufferPos({3, 1}), (TBufferCoord{1, 1}));
  EXPECT_EQ(edit->DisplayToBufferPos({7, 1}), (TBufferCoord{4, 1}));
  EXPECT_EQ(edit->DisplayToBufferPos({9, 1}), (TBufferCoord{6, 1}));
}

TEST(CodeEditCaret, TabWidthIsClamped) {
  auto edit = MakeEdit("");
  edit->SetTabWidth(0);
  EXPECT_EQ(edit->TabWidth(), 1);
  edit->SetTabWidth(1000);
  EXPECT_EQ(edit->TabWidth(), 256);
}

// --- Scrolling the view headless -----------------------------------------------------------

TEST(CodeEditView, CentringReachesTheRowJustAboveTheView) {
  std::string text;
  for (int i = 0; i < 100; ++i) text += "line\r\n";
  auto edit = MakeEdit(text);
  edit->SetTopLine(50);
  ASSERT_EQ(edit->TopLine(), 50);
  edit->SetCaretXY({1, 49});  // scrolls without centring
  edit->SetTopLine(50);
  edit->EnsureCursorPosVisibleEx(true);
  EXPECT_LE(edit->TopLine(), 49);
}

// --- Selection --------------------------------------------------------------------------

TEST(CodeEditSelection, BlockBeginAndEndAreOrderedWhateverTheDirection) {
  auto edit = MakeEdit("one\r\ntwo\r\nthree");
  Select(*edit, {3, 3}, {2, 1});
  EXPECT_EQ(edit->BlockBegin(), (TBufferCoord{2, 1}));
  EXPECT_EQ(edit->BlockEnd(), (TBufferCoord{3, 3}));
  EXPECT_EQ(edit->SelText(), "ne\r\ntwo\r\nth");
}

TEST(CodeEditSelection, LineModeTakesWholeLinesWithBreaksExceptAfterTheLastLine) {
  auto edit = MakeEdit("one\r\ntwo\r\nthree");
  edit->SetSelectionMode(SM::smLine);
  Select(*edit, {2, 1}, {1, 2});
  EXPECT_EQ(edit->SelText(), "one\r\ntwo\r\n");
  Select(*edit, {2, 2}, {1, 3});
  EXPECT_EQ(edit->SelText(), "two\r\nthree");
}

TEST(CodeEditSelection, ColumnModeTakesTheRectanglePaddedWithBlanks) {
  auto edit = MakeEdit("abcdef\r\nab\r\nabcdefgh");
  edit->SetSelectionMode(SM::smColumn);
  Select(*edit, {2, 1}, {5, 3});
  EXPECT_EQ(edit->SelText(), "bcd\r\nb  \r\nbcd");
  edit->SetOptions(With(edit->Options(), EO::eoTrimTrailingSpaces));
  EXPECT_EQ(edit->SelText(), "bcd\r\nb\r\nbcd");
}

TEST(CodeEditSelection, ColumnSelectionWithBothEndsInOneColumnIsEmpty) {
  auto edit = MakeEdit("abc\r\nabc");
  edit->SetSelectionMode(SM::smColumn);
  Select(*edit, {2, 1}, {2, 2});
  EXPECT_FALSE(edit->SelAvail());
  edit->SetSelectionMode(SM::smNormal);
  Select(*edit, {2, 1}, {2, 2});
  EXPECT_TRUE(edit->SelAvail());
}

TEST(CodeEditSelection, BoundsAreClampedToTheLineWithoutScrollPastEol) {
  auto edit = MakeEdit("abc\r\nde", NoPastEol());
  edit->SetBlockBegin({10, 1});
  EXPECT_EQ(edit->BlockBegin(), (TBufferCoord{4, 1}));
  edit->SetBlockEnd({10, 9});
  EXPECT_EQ(edit->BlockEnd(), (TBufferCoord{3, 2}));
}

TEST(CodeEditSelection, SelectAllEndsBehindTheLastCharacter) {
  auto edit = MakeEdit("ab\r\ncde");
  edit->SelectAll();
  EXPECT_EQ(edit->CaretXY(), (TBufferCoord{4, 2}));
  EXPECT_EQ(edit->SelText(), "ab\r\ncde");
}

TEST(CodeEditSelection, ReplacingANormalSelectionJoinsTheLines) {
  auto edit = MakeEdit("one\r\ntwo\r\nthree");
  Select(*edit, {2, 1}, {3, 3});
  edit->SetSelText("X");
  EXPECT_EQ(edit->Text(), "oXree");
  EXPECT_EQ(edit->CaretXY(), (TBufferCoord{3, 1}));
}

TEST(CodeEditSelection, DeletingALineSelectionThatEndsOnTheLastLineLeavesOneEmptyLine) {
  auto edit = MakeEdit("one\r\ntwo");
  edit->SetSelectionMode(SM::smLine);
  Select(*edit, {1, 1}, {2, 2});
  edit->SetSelText("");
  EXPECT_EQ(edit->Lines().Count(), 1);
  EXPECT_EQ(edit->Text(), "");
  edit->Undo();
  EXPECT_EQ(edit->Text(), "one\r\ntwo");
}

TEST(CodeEditSelection, ColumnDeletionLeavesShortLinesAlone) {
  auto edit = MakeEdit("abcdef\r\nab\r\nabcdef");
  edit->SetSelectionMode(SM::smColumn);
  Select(*edit, {3, 1}, {5, 3});
  edit->SetSelText("");
  EXPECT_EQ(edit->Text(), "abef\r\nab\r\nabef");
  edit->Undo();
  EXPECT_EQ(edit->Text(), "abcdef\r\nab\r\nabcdef");
}

TEST(CodeEditSelection, NormalInsertionSplitsAtEveryKindOfBreak) {
  auto edit = MakeEdit("[]");
  edit->SetCaretXY({2, 1});
  edit->SetSelText("a\r\nb\nc\rd");
  EXPECT_EQ(edit->Text(), "[a\r\nb\r\nc\r\nd]");
  EXPECT_EQ(edit->CaretXY(), (TBufferCoord{2, 4}));
}

TEST(CodeEditSelection, TypingPastTheLineEndRecordsThePaddingSoUndoRemovesIt) {
  auto edit = MakeEdit("ab");
  edit->SetCaretXY({6, 1});
  edit->SetSelText("xy");
  EXPECT_EQ(edit->Text(), "ab   xy");
  edit->Undo();
  EXPECT_EQ(edit->Text(), "ab");
}

TEST(CodeEditSelection, WordBlockSelectsTheWordAroundThePosition) {
  auto edit = MakeEdit("foo barbaz, qux");
  edit->SetWordBlock({6, 1});
  EXPECT_EQ(edit->SelText(), "barbaz");
  EXPECT_EQ(edit->CaretXY(), (TBufferCoord{11, 1}));
  edit->SetWordBlock({11, 1});  // at the word's end: the word before
  EXPECT_EQ(edit->SelText(), "barbaz");
}

// --- Clipboard -----------------------------------------------------------------------------

TEST(CodeEditClipboard, CopyPutsPlainTextAndTheBlockWithItsMode) {
  TFakeClipboard clipboard;
  auto edit = MakeEdit("a\x80" "cdef\r\nab");
  edit->SetSelectionMode(SM::smColumn);
  Select(*edit, {2, 1}, {4, 2});
  edit->CopyToClipboard();
  EXPECT_EQ(clipboard.Data[CF_TEXT], std::string("\x80" "c\r\nb \0", 7));
  EXPECT_EQ(clipboard.Data[CodeEditClipboardFormat()], std::string("\2\x80" "c\r\nb \0", 8));
  // Wide as well: the system would make it by the keyboard's language, not the code page's.
  const std::wstring wide = L"\u20AC" L"c\r\nb ";
  EXPECT_EQ(clipboard.Data[CF_UNICODETEXT],
            std::string(reinterpret_cast<const char*>(wide.c_str()), (wide.size() + 1) * 2));
}

TEST(CodeEditClipboard, ColumnBlockPastesAsARectangleIntoAnotherEditor) {
  TFakeClipboard clipboard;
  auto source = MakeEdit("abcd\r\nefgh");
  source->SetSelectionMode(SM::smColumn);
  Select(*source, {2, 1}, {4, 2});
  source->CopyToClipboard();
  auto target = MakeEdit("12345\r\n12345\r\n12345");
  target->SetCaretXY({3, 2});
  target->PasteFromClipboard();
  EXPECT_EQ(target->Text(), "12345\r\n12bc345\r\n12fg345");
}

TEST(CodeEditClipboard, ColumnPasteOfUnequalLinesUndoesExactly) {
  TFakeClipboard clipboard;
  clipboard.Data[CF_TEXT] = std::string("x\r\nlonger\r\ny\0", 13);
  clipboard.Data[CodeEditClipboardFormat()] = std::string("\2x\r\nlonger\r\ny\0", 14);
  auto edit = MakeEdit("abcdef\r\nab\r\nabcdef");
  edit->SetCaretXY({4, 1});
  edit->PasteFromClipboard();
  EXPECT_EQ(edit->Text(), "abcxdef\r\nab longer\r\nabcydef");
  edit->Undo();
  EXPECT_EQ(edit->Text(), "abcdef\r\nab\r\nabcdef");
  edit->Redo();
  EXPECT_EQ(edit->Text(), "abcxdef\r\nab longer\r\nabcydef");
}

TEST(CodeEditClipboard, ColumnPastePastTheLastLineAppendsLinesThatUndoRemoves) {
  TFakeClipboard clipboard;
  clipboard.Data[CF_TEXT] = std::string("p\r\nq\0", 5);
  clipboard.Data[CodeEditClipboardFormat()] = std::string("\2p\r\nq\0", 6);
  auto edit = MakeEdit("abc");
  edit->SetCaretXY({3, 1});
  edit->PasteFromClipboard();
  EXPECT_EQ(edit->Text(), "abpc\r\n  q");
  edit->Undo();
  EXPECT_EQ(edit->Text(), "abc");
}

TEST(CodeEditClipboard, PlainTextFromElsewhereUsesTheConfiguredMode) {
  TFakeClipboard clipboard;
  clipboard.Data[CF_TEXT] = std::string("X\r\n\0", 4);
  auto edit = MakeEdit("one\r\ntwo");
  edit->SetSelectionMode(SM::smLine);
  edit->SetCaretXY({3, 2});
  edit->PasteFromClipboard();
  EXPECT_EQ(edit->Text(), "one\r\nX\r\ntwo");
  edit->Undo();
  EXPECT_EQ(edit->Text(), "one\r\ntwo");
}

TEST(CodeEditClipboard, WideTextFromAnotherProgramPastesWithoutLookAlikes) {
  TFakeClipboard clipboard;
  const std::wstring wide = L"\u03A9mega \u20AC";
  clipboard.Data[CF_UNICODETEXT].assign(reinterpret_cast<const char*>(wide.c_str()),
                                        2 * wide.size() + 2);
  clipboard.Data[CF_TEXT] = std::string("Omega \x80\0", 8);  // the system's look-alike
  auto edit = MakeEdit("");
  edit->PasteFromClipboard();
  EXPECT_EQ(edit->Text(), "?mega \x80");
}

TEST(CodeEditClipboard, PasteOverASelectionUndoesInOneStep) {
  TFakeClipboard clipboard;
  clipboard.Data[CF_TEXT] = std::string("NEW\0", 4);
  auto edit = MakeEdit("keep old keep");
  Select(*edit, {6, 1}, {9, 1});
  edit->PasteFromClipboard();
  EXPECT_EQ(edit->Text(), "keep NEW keep");
  edit->Undo();
  EXPECT_EQ(edit->Text(), "keep old keep");
  EXPECT_EQ(edit->SelText(), "old");
  EXPECT_FALSE(edit->Modified());
}

TEST(CodeEditClipboard, ForeignBlockWithoutZeroOrWithAnUnknownModeFallsBackToPlainText) {
  TFakeClipboard clipboard;
  auto edit = MakeEdit("");
  clipboard.Data[CF_TEXT] = std::string("plain\0", 6);
  clipboard.Data[CodeEditClipboardFormat()] = std::string("\2no zero here");
  edit->PasteFromClipboard();
  EXPECT_EQ(edit->Text(), "plain");
  clipboard.Data[CodeEditClipboardFormat()] = std::string("\7seven\0", 7);
  edit->PasteFromClipboard();
  EXPECT_EQ(edit->Text(), "plainplain");
  SM mode;
  std::string text;
  EXPECT_FALSE(DecodeCodeEditBlock(std::string("\1"), mode, text));
  EXPECT_TRUE(DecodeCodeEditBlock(std::string("\1ab\0junk", 8), mode, text));
  EXPECT_EQ(text, "ab");
  EXPECT_EQ(mode, SM::smLine);
}

TEST(CodeEditClipboard, PlainTextIsReadOnlyUpToItsZeroWithinTheBlock) {
  TFakeClipboard clipboard;
  clipboard.Data[CF_TEXT] = std::string("ab\0cd", 5);
  auto edit = MakeEdit("");
  edit->PasteFromClipboard();
  EXPECT_EQ(edit->Text(), "ab");
  clipboard.Data[CF_TEXT] = "no terminator";
  edit->PasteFromClipboard();
  EXPECT_EQ(edit->Text(), "abno terminator");
}

TEST(CodeEditClipboard, FailedCopyRaisesAndCutThenDeletesNothing) {
  TFakeClipboard clipboard;
  clipboard.RefuseStore = true;
  auto edit = MakeEdit("abc");
  Select(*edit, {1, 1}, {3, 1});
  EXPECT_THROW(edit->CopyToClipboard(), ECodeEditError);
  EXPECT_THROW(edit->CutToClipboard(), ECodeEditError);
  EXPECT_EQ(edit->Text(), "abc");
  clipboard.RefuseStore = false;
  clipboard.RefuseOpen = true;
  EXPECT_THROW(edit->CutToClipboard(), ECodeEditError);
  EXPECT_EQ(edit->Text(), "abc");
}

TEST(CodeEditClipboard, CutRemovesTheSelectionAndUndoBringsItBack) {
  TFakeClipboard clipboard;
  auto edit = MakeEdit("abc def");
  Select(*edit, {4, 1}, {8, 1});
  edit->CutToClipboard();
  EXPECT_EQ(edit->Text(), "abc");
  EXPECT_EQ(clipboard.Data[CF_TEXT], std::string(" def\0", 5));
  edit->Undo();
  EXPECT_EQ(edit->Text(), "abc def");
}

TEST(CodeEditClipboard, ReadOnlyEditorDoesNotPasteOrCut) {
  TFakeClipboard clipboard;
  clipboard.Data[CF_TEXT] = std::string("x\0", 2);
  auto edit = MakeEdit("abc");
  edit->SetReadOnly(true);
  EXPECT_FALSE(edit->CanPaste());
  edit->PasteFromClipboard();
  Select(*edit, {1, 1}, {3, 1});
  edit->CutToClipboard();
  EXPECT_EQ(edit->Text(), "abc");
}
