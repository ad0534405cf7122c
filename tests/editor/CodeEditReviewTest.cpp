// Selection bounds in every mode, smart Backspace, form loading, forgetting destroyed
// components, the gutter's digit width and clipboard round trips of line blocks.
#include <gtest/gtest.h>
#include "editor/CodeEditHighlighter.h"
#include "editor/CodeEditTestFixture.h"

using namespace codeedittest;
using EO = TCodeEditorOption;
using SM = TCodeSelectionMode;

namespace {
// Every line is one token; counts the lines it was given.
class TLineHighlighter : public TCodeCustomHighlighter {
public:
  TLineHighlighter() : TCodeCustomHighlighter(nullptr) {}
  TCodeHighlighterAttributes* GetDefaultAttribute(int) const override { return nullptr; }
  bool AtLineEnd() const override { return atEnd_; }
  std::string GetToken() const override { return line_; }
  TCodeHighlighterAttributes* GetTokenAttribute() const override { return nullptr; }
  int GetTokenKind() const override { return 0; }
  int GetTokenPos() const override { return 0; }
  void NextToken() override { atEnd_ = true; }
  void SetLine(const std::string& NewValue, int) override {
    ++LinesScanned;
    line_ = NewValue;
    atEnd_ = line_.empty();
  }

  int LinesScanned = 0;

private:
  std::string line_;
  bool atEnd_ = true;
};

TCodeEditorOptions PastEol(bool On) {
  return On ? CodeEditDefaultOptions : WithOut(CodeEditDefaultOptions, EO::eoScrollPastEol);
}
}  // namespace

// --- Selection bounds in the three modes, with and without eoScrollPastEol ---------------

TEST(CodeEditSelectionBounds, NormalModeClampsToTheLineEndOnlyWithoutScrollPastEol) {
  for (bool pastEol : {false, true}) {
    SCOPED_TRACE(pastEol ? "eoScrollPastEol" : "no eoScrollPastEol");
    auto edit = MakeEdit("abc\r\nabcdefg", PastEol(pastEol));
    edit->SetBlockBegin({2, 1});
    edit->SetBlockEnd({10, 1});
    EXPECT_EQ(edit->BlockEnd(), (TBufferCoord{pastEol ? 10 : 4, 1}));
    EXPECT_EQ(edit->SelText(), "bc");
    edit->SetBlockEnd({10, 2});
    EXPECT_EQ(edit->SelText(), "bc\r\nabcdefg");
    edit->SetCaretXY({10, 1});
    EXPECT_EQ(edit->CaretX(), pastEol ? 10 : 4);
  }
}

TEST(CodeEditSelectionBounds, ColumnModeKeepsBoundsPastTheLineEndAndPadsTheRectangle) {
  for (bool pastEol : {false, true}) {
    SCOPED_TRACE(pastEol ? "eoScrollPastEol" : "no eoScrollPastEol");
    auto edit = MakeEdit("abc\r\nabcdefg", PastEol(pastEol));
    edit->SetSelectionMode(SM::smColumn);
    edit->SetBlockBegin({2, 1});
    edit->SetBlockEnd({6, 2});
    EXPECT_EQ(edit->BlockBegin(), (TBufferCoord{2, 1}));
    EXPECT_EQ(edit->BlockEnd(), (TBufferCoord{6, 2}));
    EXPECT_EQ(edit->SelText(), "bc  \r\nbcde");
    EXPECT_TRUE(edit->IsPointInSelection({5, 1}));
    EXPECT_FALSE(edit->IsPointInSelection({6, 2}));
    edit->SetSelText("");
    EXPECT_EQ(edit->Text(), "a\r\nafg");
    edit->Undo();
    EXPECT_EQ(edit->Text(), "abc\r\nabcdefg");
  }
}

TEST(CodeEditSelectionBounds, LineModeTakesWholeLinesWhereverTheBoundsStand) {
  for (bool pastEol : {false, true}) {
    SCOPED_TRACE(pastEol ? "eoScrollPastEol" : "no eoScrollPastEol");
    auto edit = MakeEdit("abc\r\nabcdefg\r\nxyz", PastEol(pastEol));
    edit->SetSelectionMode(SM::smLine);
    edit->SetBlockBegin({9, 1});
    edit->SetBlockEnd({2, 2});
    EXPECT_EQ(edit->SelText(), "abc\r\nabcdefg\r\n");
    EXPECT_TRUE(edit->IsPointInSelection({40, 2}));
    EXPECT_FALSE(edit->IsPointInSelection({1, 3}));
    edit->SetSelText("");
    EXPECT_EQ(edit->Text(), "xyz");
    EXPECT_EQ(edit->CaretXY(), (TBufferCoord{1, 1}));
    edit->Undo();
    EXPECT_EQ(edit->Text(), "abc\r\nabcdefg\r\nxyz");
  }
}

// --- Smart Backspace -----------------------------------------------------------------------

TEST(CodeEditSmartBackspace, PastTheEndOfAnEmptyLineGoesBehindTheIndentationAbove) {
  auto edit = MakeEdit("    a\r\n\r\nz");
  edit->SetCaretXY({9, 2});
  Cmd(*edit, ecDeleteLastChar);
  EXPECT_EQ(edit->CaretXY(), (TBufferCoord{5, 2}));
  EXPECT_EQ(edit->Text(), "    a\r\n\r\nz");
  EXPECT_FALSE(edit->UndoList().CanUndo());
}

TEST(CodeEditSmartBackspace, AnEmptyLineAboveCountsAsIndentedZeroInBothCases) {
  auto pastEnd = MakeEdit("    a\r\n\r\n\r\nz");
  pastEnd->SetCaretXY({9, 3});
  Cmd(*pastEnd, ecDeleteLastChar);
  EXPECT_EQ(pastEnd->CaretXY(), (TBufferCoord{1, 3}));

  auto behindIndent = MakeEdit("    a\r\n\r\n        b");
  behindIndent->SetCaretXY({9, 3});
  Cmd(*behindIndent, ecDeleteLastChar);
  EXPECT_EQ(behindIndent->Text(), "    a\r\n\r\nb");
  EXPECT_EQ(behindIndent->CaretXY(), (TBufferCoord{1, 3}));
}

// --- Form loading ------------------------------------------------------------------------

TEST(CodeEditLoading, GutterAndHighlighterAreFollowedOnlyOnceLoaded) {
  auto edit = std::make_unique<TTestEdit>(nullptr);
  TLineHighlighter hl;
  edit->BeginLoading();
  int before = edit->GutterWidth();
  edit->Gutter().SetUseFontStyle(false);
  edit->Gutter().SetShowLineNumbers(true);
  edit->SetText("a\r\nb");
  edit->SetHighlighter(&hl);
  EXPECT_EQ(edit->GutterWidth(), before);
  EXPECT_EQ(hl.LinesScanned, 0);
  edit->Loaded();
  EXPECT_FALSE(edit->IsLoading());
  EXPECT_EQ(edit->GutterWidth(), 16 + 2 + 4 * edit->CharWidth() + 2);
  edit->SetHighlighter(nullptr);
}

// --- Destroyed components are forgotten ----------------------------------------------------

TEST(CodeEditFreeNotification, ADestroyedHighlighterIsForgotten) {
  auto edit = MakeEdit("a\r\nb");
  auto hl = std::make_unique<TLineHighlighter>();
  edit->SetHighlighter(hl.get());
  hl.reset();
  EXPECT_EQ(edit->Highlighter(), nullptr);
  Type(*edit, "x");  // edits no longer reach the freed highlighter
  EXPECT_EQ(edit->Text(), "xa\r\nb");
}

TEST(CodeEditFreeNotification, ASearchEngineIsKeptUntilItIsDestroyed) {
  auto engine = std::make_unique<TCodeEditSearchCustom>(nullptr);
  auto edit = MakeEdit("");
  edit->SetSearchEngine(engine.get());
  EXPECT_EQ(edit->SearchEngine(), engine.get());
  engine.reset();
  EXPECT_EQ(edit->SearchEngine(), nullptr);

  // The other way round: the engine outlives the editor and must not call it.
  auto survivor = std::make_unique<TCodeEditSearchCustom>(nullptr);
  auto shortLived = MakeEdit("");
  shortLived->SetSearchEngine(survivor.get());
  shortLived.reset();
  survivor.reset();
}

// --- Gutter width ---------------------------------------------------------------------------

TEST(CodeEditGutterWidth, DigitsAreMeasuredWithTheGutterFontWhenItsStyleIsUsed) {
  auto edit = MakeEdit("a");
  TCodeGutter& gutter = edit->Gutter();
  gutter.SetShowLineNumbers(true);
  gutter.SetUseFontStyle(false);
  EXPECT_EQ(edit->GutterWidth(), 16 + 2 + 4 * edit->CharWidth() + 2);
  gutter.Font().SetSize(30);
  gutter.SetUseFontStyle(true);
  EXPECT_GT(edit->GutterWidth(), 16 + 2 + 4 * edit->CharWidth() + 2);
}

// --- Clipboard round trips ------------------------------------------------------------------

TEST(CodeEditClipboardRoundTrip, LineBlockPastesAsWholeLinesAboveTheCaretLine) {
  TFakeClipboard clipboard;
  auto source = MakeEdit("one\r\ntwo\r\nthree");
  source->SetSelectionMode(SM::smLine);
  Select(*source, {2, 1}, {2, 2});
  source->CopyToClipboard();
  EXPECT_EQ(clipboard.Data[CodeEditClipboardFormat()], std::string("\1one\r\ntwo\r\n\0", 12));
  auto target = MakeEdit("alpha\r\nbeta");
  target->SetCaretXY({3, 2});
  target->PasteFromClipboard();
  EXPECT_EQ(target->Text(), "alpha\r\none\r\ntwo\r\nbeta");
  target->Undo();
  EXPECT_EQ(target->Text(), "alpha\r\nbeta");
  target->Redo();
  EXPECT_EQ(target->Text(), "alpha\r\none\r\ntwo\r\nbeta");
}

TEST(CodeEditClipboardRoundTrip, CopiedColumnKeepsItsBlanksDespiteTrimming) {
  TFakeClipboard clipboard;
  auto edit = MakeEdit("abcd\r\nab", With(CodeEditDefaultOptions, EO::eoTrimTrailingSpaces));
  edit->SetSelectionMode(SM::smColumn);
  Select(*edit, {2, 1}, {4, 2});
  EXPECT_EQ(edit->SelText(), "bc\r\nb");
  edit->CopyToClipboard();
  EXPECT_EQ(clipboard.Data[CF_TEXT], std::string("bc\r\nb \0", 7));
  EXPECT_TRUE(edit->HasOption(EO::eoTrimTrailingSpaces));
}

TEST(CodeEditClipboardRoundTrip, NormalBlockFromAnotherEditorReplacesTheSelection) {
  TFakeClipboard clipboard;
  auto source = MakeEdit("first line\r\nsecond");
  Select(*source, {7, 1}, {4, 2});
  source->CopyToClipboard();
  EXPECT_EQ(clipboard.Data[CodeEditClipboardFormat()], std::string("\0line\r\nsec\0", 11));
  auto target = MakeEdit("[old]");
  Select(*target, {2, 1}, {5, 1});
  target->PasteFromClipboard();
  EXPECT_EQ(target->Text(), "[line\r\nsec]");
  EXPECT_EQ(target->CaretXY(), (TBufferCoord{4, 2}));
  target->Undo();
  EXPECT_EQ(target->Text(), "[old]");
  EXPECT_EQ(target->SelText(), "old");
}

// --- Trimmed trailing blanks come back with undo ---------------------------------------------

namespace {
TCodeEditorOptions Trimming() { return With(CodeEditDefaultOptions, EO::eoTrimTrailingSpaces); }

void ExpectUndoRedo(TCustomCodeEdit& Edit, const std::string& Before, const std::string& After) {
  EXPECT_EQ(Edit.Text(), After);
  Edit.Undo();
  EXPECT_EQ(Edit.Text(), Before);
  Edit.Redo();
  EXPECT_EQ(Edit.Text(), After);
}
}  // namespace

TEST(CodeEditTrimTrailingSpaces, BackspaceTrimsAndUndoRestoresTheBlanks) {
  auto joining = MakeEdit("ab\r\ncd  ", Trimming());
  joining->SetCaretXY({1, 2});
  Cmd(*joining, ecDeleteLastChar);
  ExpectUndoRedo(*joining, "ab\r\ncd  ", "abcd");

  auto inLine = MakeEdit("abc  x", Trimming());
  inLine->SetCaretXY({7, 1});
  Cmd(*inLine, ecDeleteLastChar);
  EXPECT_EQ(inLine->CaretX(), 6);  // the caret keeps its column past the trimmed end
  ExpectUndoRedo(*inLine, "abc  x", "abc");
}

TEST(CodeEditTrimTrailingSpaces, DeletingAStreamTrimsAndUndoRestoresTheBlanks) {
  auto toStart = MakeEdit("ab  cd  ", Trimming());
  toStart->SetCaretXY({3, 1});
  Cmd(*toStart, ecDeleteBOL);
  ExpectUndoRedo(*toStart, "ab  cd  ", "  cd");

  auto selection = MakeEdit("abc\r\nx  ", Trimming());
  Select(*selection, {4, 1}, {1, 2});
  selection->SetSelText("");
  ExpectUndoRedo(*selection, "abc\r\nx  ", "abcx");
}

TEST(CodeEditTrimTrailingSpaces, UndoAndRedoKeepTheBlanksTheyPutBack) {
  auto typed = MakeEdit("ab  ", Trimming());
  typed->SetCaretXY({5, 1});
  Type(*typed, "x");
  ExpectUndoRedo(*typed, "ab  ", "ab  x");

  auto indented = MakeEdit("\t\r\nx", WithOut(Trimming(), EO::eoTabsToSpaces));
  indented->SetSelectionMode(SM::smLine);
  Select(*indented, {1, 1}, {1, 2});
  Cmd(*indented, ecBlockIndent);
  ExpectUndoRedo(*indented, "\t\r\nx", "\t\t\r\nx");
}

// --- Font ----------------------------------------------------------------------------------

TEST(CodeEditFont, AProportionalFontGivesWayToAFixedPitchOneOfTheSameName) {
  auto edit = MakeEdit("");
  TFont proportional("Arial", 12);
  proportional.SetStyle({TFontStyle::fsItalic});
  edit->SetFont(proportional);
  EXPECT_TRUE(edit->Font().FixedPitch());
  EXPECT_EQ(edit->Font().Name(), "Arial");
  EXPECT_EQ(edit->Font().Size(), 12);
  EXPECT_EQ(edit->Font().Style(), TFontStyles{TFontStyle::fsItalic});
}

// --- Smart tabs with real tabs -------------------------------------------------------------

TEST(CodeEditSmartTabs, TabsReachEachStopAndBlanksTheRestOfTheWordAbove) {
  TCodeEditorOptions options = WithOut(CodeEditDefaultOptions, EO::eoTabsToSpaces);
  auto onStop = MakeEdit("foo     bar\r\nx", options);
  onStop->SetTabWidth(4);
  onStop->SetCaretXY({1, 2});
  Cmd(*onStop, ecTab);
  EXPECT_EQ(onStop->Lines()[1], "\t\tx");

  auto pastStop = MakeEdit("foo  bar\r\nx", options);
  pastStop->SetTabWidth(4);
  pastStop->SetCaretXY({1, 2});
  Cmd(*pastStop, ecTab);
  EXPECT_EQ(pastStop->Lines()[1], "\t x");
  EXPECT_EQ(pastStop->DisplayX(), 6);
  pastStop->Undo();
  EXPECT_EQ(pastStop->Lines()[1], "x");
}

// --- Two-key strokes --------------------------------------------------------------------------

TEST(CodeEditKeyTranslation, ASecondKeyCompletesAStrokeOnlyRightAfterItsFirstKey) {
  auto edit = MakeEdit("");
  const TShiftState ctrl{TShift::ssCtrl};
  TCodeEditKeyStroke* stroke = edit->Keystrokes().Add();
  stroke->SetKey('K');
  stroke->SetShift(ctrl);
  stroke->SetKey2('B');
  stroke->SetShift2(ctrl);
  stroke->SetCommand(ecEditorTop);
  void* data = nullptr;
  EXPECT_EQ(edit->TranslateKeyCode('K', ctrl, data), ecNone);  // remembered
  EXPECT_EQ(edit->TranslateKeyCode('B', ctrl, data), ecEditorTop);
  EXPECT_EQ(edit->TranslateKeyCode('B', ctrl, data), ecNone);  // the pair was used up
  EXPECT_EQ(edit->TranslateKeyCode('K', ctrl, data), ecNone);
  EXPECT_EQ(edit->TranslateKeyCode(200, ctrl, data), ecNone);  // outside 30..145: forgotten
  EXPECT_EQ(edit->TranslateKeyCode('B', ctrl, data), ecNone);
}

TEST(CodeEditTrimTrailingSpaces, TypedBlanksAndTabsOnlyMoveTheCaretPastTheEnd) {
  auto typed = MakeEdit("abc", Trimming());
  typed->SetCaretXY({4, 1});
  Type(*typed, " ");
  EXPECT_EQ(typed->Text(), "abc");
  EXPECT_EQ(typed->CaretX(), 5);
  Type(*typed, "d");
  EXPECT_EQ(typed->Text(), "abc d");
  while (typed->CanUndo()) typed->Undo();
  EXPECT_EQ(typed->Text(), "abc");

  auto tabbed = MakeEdit("    \r\nx", Trimming());
  tabbed->SetTabWidth(4);
  tabbed->SetCaretXY({5, 1});
  Cmd(*tabbed, ecTab);
  EXPECT_EQ(tabbed->Lines()[0], "");
  EXPECT_EQ(tabbed->DisplayX(), 9);  // the expanded width + 1
  tabbed->Undo();
  EXPECT_EQ(tabbed->Lines()[0], "    ");
}

// --- Command families without a test of their own elsewhere ----------------------------------

TEST(CodeEditCommandFamilies, ContextHelpGetsTheWordAtTheCaret) {
  auto edit = MakeEdit("foo bar_1+x");
  std::string word;
  edit->OnContextHelp = [&](TObject*, const std::string& W) { word = W; };
  edit->SetCaretXY({7, 1});
  Cmd(*edit, ecContextHelp);
  EXPECT_EQ(word, "bar_1");
  EXPECT_FALSE(edit->SelAvail());
}

TEST(CodeEditCommandFamilies, SelectWordSelectAllAndGotoXY) {
  auto edit = MakeEdit("foo bar\r\nbaz");
  edit->SetCaretXY({2, 1});
  Cmd(*edit, ecSelWord);
  EXPECT_EQ(edit->SelText(), "foo");
  Cmd(*edit, ecSelectAll);
  EXPECT_EQ(edit->SelText(), "foo bar\r\nbaz");
  TBufferCoord target{2, 2};
  Cmd(*edit, ecGotoXY, '\0', &target);
  EXPECT_EQ(edit->CaretXY(), target);
  EXPECT_FALSE(edit->SelAvail());
  TBufferCoord further{4, 2};
  Cmd(*edit, ecSelGotoXY, '\0', &further);
  EXPECT_EQ(edit->SelText(), "az");
  Cmd(*edit, ecGotoXY);  // without a position nothing moves
  EXPECT_EQ(edit->CaretXY(), further);
}

namespace {
// A hidden top-level window holding an editor of many lines.
class TWindowedEdit {
public:
  TWindowedEdit()
      : parent_(CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 600, 400, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr)) {
    std::string text;
    for (int i = 1; i <= 300; ++i) text += "line " + std::to_string(i) + "\r\n";
    Edit = MakeEdit(text);
    Edit->CreateWnd(parent_, 0, 0, 400, 300);
  }
  ~TWindowedEdit() {
    Edit.reset();
    DestroyWindow(parent_);
  }
  std::unique_ptr<TTestEdit> Edit;

private:
  HWND parent_;
};
}  // namespace

TEST(CodeEditCommandFamilies, ScrollingKeepsTheCaretInViewAndPageTopAndBottomFollowTheView) {
  TWindowedEdit w;
  TCustomCodeEdit& edit = *w.Edit;
  int rows = edit.LinesInWindow();
  ASSERT_GT(rows, 4);
  edit.SetCaretXY({3, 1});
  Cmd(edit, ecScrollDown);
  EXPECT_EQ(edit.TopLine(), 2);
  EXPECT_EQ(edit.CaretXY(), (TBufferCoord{3, 2}));  // pushed along, same column
  Cmd(edit, ecPageBottom);
  EXPECT_EQ(edit.CaretY(), 2 + rows - 1);
  Cmd(edit, ecSelPageTop);
  EXPECT_EQ(edit.CaretY(), 2);
  EXPECT_TRUE(edit.SelAvail());
  Cmd(edit, ecScrollUp);
  EXPECT_EQ(edit.TopLine(), 1);
  EXPECT_EQ(edit.CaretY(), 2);  // still in view: stays
  Cmd(edit, ecScrollRight);
  EXPECT_EQ(edit.LeftChar(), 2);
  Cmd(edit, ecScrollLeft);
  EXPECT_EQ(edit.LeftChar(), 1);
}

// --- Marks follow the line a break inserts ----------------------------------------------------

namespace {
TCodeEditMark* MarkOn(TCustomCodeEdit& Edit, int Line) {
  auto mark = std::make_unique<TCodeEditMark>(&Edit);
  mark->SetLine(Line);
  return Edit.Marks().Add(std::move(mark));
}
}  // namespace

TEST(CodeEditLineBreakMarks, InsertLineMovesOnlyTheMarksOfTheLinesBelowTheNewOne) {
  auto atStart = MakeEdit("a\r\nb\r\nc");
  TCodeEditMark* above = MarkOn(*atStart, 1);
  TCodeEditMark* moved = MarkOn(*atStart, 2);
  atStart->SetCaretXY({1, 2});
  Cmd(*atStart, ecInsertLine);
  EXPECT_EQ(atStart->Text(), "a\r\n\r\nb\r\nc");
  EXPECT_EQ(above->Line(), 1);
  EXPECT_EQ(moved->Line(), 3);

  auto split = MakeEdit("ab\r\nc");
  TCodeEditMark* kept = MarkOn(*split, 1);
  TCodeEditMark* below = MarkOn(*split, 2);
  split->SetCaretXY({2, 1});
  Cmd(*split, ecInsertLine);
  EXPECT_EQ(split->Text(), "a\r\nb\r\nc");
  EXPECT_EQ(split->CaretXY(), (TBufferCoord{2, 1}));
  EXPECT_EQ(kept->Line(), 1);
  EXPECT_EQ(below->Line(), 3);
}

TEST(CodeEditLineBreakMarks, BreakingAnEmptyLineMovesItsMarkWithIt) {
  auto edit = MakeEdit("x\r\n\r\ny");
  TCodeEditMark* mark = MarkOn(*edit, 2);
  edit->SetCaretXY({3, 2});
  Cmd(*edit, ecLineBreak);
  EXPECT_EQ(edit->Text(), "x\r\n\r\n\r\ny");
  EXPECT_EQ(mark->Line(), 3);
  EXPECT_EQ(edit->CaretY(), 3);
}

// --- A failing event handler -------------------------------------------------------------------

TEST(CodeEditFailingHandlers, AnExceptionFromAHandlerPassesOnAndLeavesNoLockHeld) {
  auto edit = MakeEdit("abc");
  edit->OnStatusChange = [](TObject*, TCodeStatusChanges) { throw Exception("status"); };
  EXPECT_THROW(edit->SetCaretXY({2, 1}), Exception);
  EXPECT_EQ(edit->PaintLock(), 0);
  edit->OnStatusChange = nullptr;

  edit->OnChange = [](TObject*) { throw Exception("change"); };
  EXPECT_THROW(Type(*edit, "x"), Exception);
  EXPECT_EQ(edit->PaintLock(), 0);
  EXPECT_EQ(edit->UndoList().BlockCount(), 0);
  edit->OnChange = nullptr;
  EXPECT_EQ(edit->Text(), "axbc");
  edit->Undo();
  EXPECT_EQ(edit->Text(), "abc");
}

TEST(CodeEditFailingHandlers, ASecondFailureWhileTheFirstUnwindsDoesNotEndTheProgram) {
  auto edit = MakeEdit("abc");
  edit->OnChange = [](TObject*) { throw Exception("change"); };
  edit->OnStatusChange = [](TObject*, TCodeStatusChanges) { throw Exception("status"); };
  try {
    Type(*edit, "x");
    ADD_FAILURE() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "change");  // the first failure is the one reported
  }
  EXPECT_EQ(edit->PaintLock(), 0);
}
