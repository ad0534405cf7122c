#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>
#include "editor/CodeEditTestFixture.h"

using namespace codeedittest;
using EO = TCodeEditorOption;
using SC = TCodeStatusChange;

// --- Construction and options ---------------------------------------------------------------

TEST(CodeEditControl, NewControlHasTheDocumentedDefaults) {
  TCodeEdit edit(nullptr);
  EXPECT_EQ(edit.CaretXY(), (TBufferCoord{1, 1}));
  EXPECT_FALSE(edit.SelAvail());
  EXPECT_EQ(edit.TabWidth(), 8);
  EXPECT_EQ(edit.RightEdge(), 80);
  EXPECT_EQ(edit.Options(), CodeEditDefaultOptions);
  EXPECT_TRUE(edit.InsertMode());
  EXPECT_EQ(edit.MaxScrollWidth(), 1024);
  EXPECT_EQ(edit.MaxUndo(), 1024);
  EXPECT_EQ(edit.ActiveLineColor(), clNone);
  EXPECT_EQ(edit.SelectionMode(), TCodeSelectionMode::smNormal);
  EXPECT_EQ(edit.InsertCaret(), TCodeEditCaretType::ctVerticalLine);
  EXPECT_EQ(edit.OverwriteCaret(), TCodeEditCaretType::ctBlock);
  EXPECT_TRUE(edit.WantReturns());
  EXPECT_FALSE(edit.WantTabs());
  EXPECT_EQ(edit.Keystrokes().Count(), 82);
  EXPECT_FALSE(edit.Modified());
  EXPECT_FALSE(edit.HandleAllocated());
}

TEST(CodeEditControl, DefaultOptionsAreTheNineDocumentedOnesInBitOrder) {
  EXPECT_EQ(CodeEditDefaultOptions.Bits(),
            (1u << 1) | (1u << 4) | (1u << 7) | (1u << 8) | (1u << 18) | (1u << 19) | (1u << 21) |
                (1u << 22) | (1u << 25));
  EXPECT_EQ(static_cast<int>(EO::eoTrimTrailingSpaces), 26);
}

TEST(CodeEditControl, SettingTheSameOptionsReportsNothing) {
  auto edit = MakeEdit("abc");
  int reports = 0;
  edit->OnStatusChange = [&](TObject*, TCodeStatusChanges) { ++reports; };
  edit->SetOptions(edit->Options());
  EXPECT_EQ(reports, 0);
}

TEST(CodeEditControl, SwitchingScrollPastEolOffClampsTheCaret) {
  auto edit = MakeEdit("abc");
  edit->SetCaretXY({10, 1});
  edit->SetOptions(WithOut(edit->Options(), EO::eoScrollPastEol));
  EXPECT_EQ(edit->CaretX(), 4);
}

// --- Messages without a window -----------------------------------------------------------

TEST(CodeEditMessages, GetTextCopiesAtMostTheBufferAndNothingIntoAnEmptyOne) {
  auto edit = MakeEdit("ab\r\ncd");
  char buffer[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(edit->WndProc(WM_GETTEXT, 0, reinterpret_cast<LPARAM>(buffer)), 0);
  EXPECT_EQ(buffer[0], 'x');
  EXPECT_EQ(edit->WndProc(WM_GETTEXT, 4, reinterpret_cast<LPARAM>(buffer)), 3);
  EXPECT_STREQ(buffer, "ab\r");
  EXPECT_EQ(edit->WndProc(WM_GETTEXTLENGTH, 0, 0), 6);
  edit->WndProc(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("new"));
  EXPECT_EQ(edit->Text(), "new");
}

TEST(CodeEditMessages, ClipboardAndUndoMessagesReachTheOperations) {
  TFakeClipboard clipboard;
  auto edit = MakeEdit("abc");
  Select(*edit, {1, 1}, {2, 1});
  EXPECT_EQ(edit->WndProc(WM_CUT, 0, 0), 1);
  EXPECT_EQ(edit->Text(), "bc");
  edit->WndProc(WM_PASTE, 0, 0);
  EXPECT_EQ(edit->Text(), "abc");
  edit->WndProc(WM_UNDO, 0, 0);
  EXPECT_EQ(edit->Text(), "bc");
  edit->SelectAll();
  edit->WndProc(WM_CLEAR, 0, 0);
  EXPECT_EQ(edit->Text(), "");
}

TEST(CodeEditMessages, DialogCodeFollowsWantTabsAndWantReturns) {
  auto edit = MakeEdit("");
  edit->SetWantReturns(false);
  LRESULT code = edit->WndProc(WM_GETDLGCODE, 0, 0);
  EXPECT_TRUE(code & DLGC_WANTARROWS);
  EXPECT_FALSE(code & DLGC_WANTTAB);
  edit->SetWantTabs(true);
  edit->SetWantReturns(true);
  code = edit->WndProc(WM_GETDLGCODE, 0, 0);
  EXPECT_TRUE(code & DLGC_WANTTAB);
  EXPECT_TRUE(code & DLGC_WANTALLKEYS);
}

// --- Text length -------------------------------------------------------------------------------

TEST(CodeEditText, LengthCountsTheBreaksBetweenLines) {
  EXPECT_EQ(MakeEdit("")->TextLength(), 0);
  EXPECT_EQ(MakeEdit("ab\r\n\r\ncde")->TextLength(), 9);
}

// --- Modified state and notifications ----------------------------------------------------

TEST(CodeEditModified, FollowsTheUndoListBackToTheSavedState) {
  auto edit = MakeEdit("abc");
  Type(*edit, "x");
  EXPECT_TRUE(edit->Modified());
  edit->SetModified(false);
  Type(*edit, "y");
  EXPECT_TRUE(edit->Modified());
  edit->Undo();
  EXPECT_FALSE(edit->Modified());
  edit->Undo();
  EXPECT_TRUE(edit->Modified());
  edit->Redo();
  EXPECT_FALSE(edit->Modified());
}

TEST(CodeEditModified, ClearingWithGroupUndoStartsANewUndoGroup) {
  auto edit = MakeEdit("");
  Type(*edit, "ab");
  edit->SetModified(false);
  EXPECT_EQ(edit->UndoList().LastChangeReason(), urGroupBreak);
  Type(*edit, "cd");
  edit->Undo();
  EXPECT_EQ(edit->Text(), "ab");
  EXPECT_FALSE(edit->Modified());
}

TEST(CodeEditModified, ANewEditClearsRedoButACaretMoveDoesNot) {
  auto edit = MakeEdit("");
  Type(*edit, "ab");
  edit->Undo();
  EXPECT_TRUE(edit->CanRedo());
  Cmd(*edit, ecRight);
  EXPECT_TRUE(edit->CanRedo());
  Type(*edit, "c");
  EXPECT_FALSE(edit->CanRedo());
}

TEST(CodeEditNotifications, OnChangeFiresOncePerUndoBlock) {
  auto edit = MakeEdit("abc");
  int changes = 0;
  edit->OnChange = [&](TObject*) { ++changes; };
  Type(*edit, "x");
  EXPECT_EQ(changes, 1);
  edit->SelectAll();
  edit->SetSelText("one\r\ntwo");
  EXPECT_EQ(changes, 2);
}

TEST(CodeEditNotifications, StatusChangesInsideAPaintLockArriveOnceAsAUnion) {
  auto edit = MakeEdit("abc\r\ndef");
  std::vector<TCodeStatusChanges> reports;
  edit->OnStatusChange = [&](TObject*, TCodeStatusChanges C) { reports.push_back(C); };
  edit->IncPaintLock();
  edit->SetCaretXY({2, 1});
  edit->SetCaretXY({2, 2});
  edit->SetReadOnly(true);
  EXPECT_TRUE(reports.empty());
  edit->DecPaintLock();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_TRUE(reports[0].Contains(SC::scCaretX));
  EXPECT_TRUE(reports[0].Contains(SC::scCaretY));
  EXPECT_TRUE(reports[0].Contains(SC::scReadOnly));
  EXPECT_TRUE(reports[0].Contains(SC::scSelection));
}

TEST(CodeEditNotifications, ChangesCollectUntilAHandlerIsAssigned) {
  auto edit = MakeEdit("abc");
  edit->SetCaretXY({2, 1});
  TCodeStatusChanges got;
  edit->OnStatusChange = [&](TObject*, TCodeStatusChanges C) { got = C; };
  edit->SetReadOnly(true);
  EXPECT_TRUE(got.Contains(SC::scCaretX));
  EXPECT_TRUE(got.Contains(SC::scReadOnly));
}

TEST(CodeEditNotifications, ReleasingAnUnheldPaintLockIsAnError) {
  TCodeEdit edit(nullptr);
  EXPECT_THROW(edit.DecPaintLock(), Exception);
}

namespace {
class TRecordingPlugin : public TCodeEditPlugin {
public:
  void AfterPaint(HDC, const RECT&, int, int) override {}
  void LinesInserted(int First, int Count) override { Log += "+" + std::to_string(First) + "," + std::to_string(Count); }
  void LinesDeleted(int First, int Count) override { Log += "-" + std::to_string(First) + "," + std::to_string(Count); }
  std::string Log;
};
}  // namespace

TEST(CodeEditNotifications, PluginsHearOfInsertedAndDeletedLines) {
  auto edit = MakeEdit("ab\r\ncd");
  TRecordingPlugin plugin;
  edit->AddPlugin(&plugin);
  edit->SetCaretXY({2, 1});
  Cmd(*edit, ecLineBreak);
  edit->SetCaretXY({1, 3});
  Cmd(*edit, ecDeleteLastChar);
  EXPECT_EQ(plugin.Log, "+2,1-3,1");
  edit->RemovePlugin(&plugin);
}

// --- Character indexes ----------------------------------------------------------------------

TEST(CodeEditCharIndex, LineBreaksCountTwo) {
  auto edit = MakeEdit("ab\r\ncd");
  EXPECT_EQ(edit->CharIndexToRowCol(4), (TBufferCoord{1, 2}));
  EXPECT_EQ(edit->CharIndexToRowCol(3), (TBufferCoord{4, 1}));
  EXPECT_EQ(edit->CharIndexToRowCol(100), (TBufferCoord{1, 3}));
  EXPECT_EQ(edit->RowColToCharIndex({2, 2}), 5);
  EXPECT_EQ(edit->RowColToCharIndex({1, 9}), 4);
}

// Every index maps to a position and back, also right after each kind of change: a stale
// table of line starts would send them to the old places.
TEST(CodeEditCharIndex, IndexesFollowEveryChangeBothWays) {
  auto edit = MakeEdit("ab\r\n\r\ncdef");
  const std::vector<std::function<void()>> changes = {
      [] {},
      [&] { edit->Lines().Put(0, "abcdefgh"); },
      [&] { edit->Lines().Insert(1, "x"); },
      [&] { edit->Lines().Delete(0); },
      [&] {
        edit->SelectAll();
        edit->SetSelText("one\r\ntwo\r\nthree");
      },
      [&] { edit->Undo(); },
      [&] { edit->SetText("z"); },
      [&] { edit->Lines().Clear(); },
  };
  for (size_t step = 0; step < changes.size(); ++step) {
    changes[step]();
    // Each line owns its characters and its two break characters.
    int index = 0;
    for (int line = 1; line <= edit->Lines().Count(); ++line) {
      const int length = static_cast<int>(edit->Lines()[line - 1].size());
      for (int c = 1; c <= length + 2; ++c, ++index) {
        EXPECT_EQ(edit->CharIndexToRowCol(index), (TBufferCoord{c, line})) << step << " at " << index;
        EXPECT_EQ(edit->RowColToCharIndex({c, line}), index) << step << " at " << index;
      }
    }
    EXPECT_EQ(edit->CharIndexToRowCol(index), (TBufferCoord{1, edit->Lines().Count() + 1})) << step;
  }
}

TEST(CodeEditCharIndex, SelStartAndSelLengthSelectByIndex) {
  auto edit = MakeEdit("0123456789abcdef");
  edit->SetSelStart(10);
  edit->SetSelLength(-3);
  EXPECT_EQ(edit->SelText(), "789");
  EXPECT_EQ(edit->RowColToCharIndex(edit->CaretXY()), 7);
  EXPECT_EQ(edit->SelStart(), 7);
  EXPECT_EQ(edit->SelLength(), 3);
  edit->SetSelStart(2);
  edit->SetSelLength(4);
  EXPECT_EQ(edit->SelText(), "2345");
  edit->SetSelStart(2);
  edit->SetSelLength(-10);
  EXPECT_EQ(edit->SelText(), "23456789abcdef");
}

// --- Indentation helpers -------------------------------------------------------------------

TEST(CodeEditIndent, MakeIndentUsesTabsOnlyWhenAllowed) {
  auto edit = MakeEdit("", WithOut(CodeEditDefaultOptions, EO::eoTabsToSpaces));
  edit->SetTabWidth(4);
  EXPECT_EQ(edit->MakeIndent(10, true), "\t\t  ");
  EXPECT_EQ(edit->MakeIndent(3, true), "   ");
  EXPECT_EQ(edit->MakeIndent(10, false), std::string(10, ' '));
  EXPECT_EQ(edit->LeadingWhiteWidth("\t x", true), 5);
  EXPECT_EQ(edit->LeadingWhiteWidth("\t x", false), 2);
  edit->SetOptions(WithOut(edit->Options(), EO::eoAutoIndent));
  EXPECT_EQ(edit->LeadingWhiteWidth("\t x", true), 0);
  EXPECT_EQ(TCustomCodeEdit::StripTrailingBlanks("a \t "), "a");
}

// --- With a window ---------------------------------------------------------------------------

namespace {
// A hidden top-level window to hold the editor.
class TParentWindow {
public:
  TParentWindow()
      : wnd_(CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 600, 400, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr)) {}
  ~TParentWindow() { DestroyWindow(wnd_); }
  HWND Handle() const { return wnd_; }

private:
  HWND wnd_;
};

std::string Lines(int Count) {
  std::string text;
  for (int i = 1; i <= Count; ++i) text += "line " + std::to_string(i) + "\r\n";
  return text;
}
}  // namespace

TEST(CodeEditWindow, MeasuresTheWindowAndPagesByIt) {
  TParentWindow parent;
  auto edit = MakeEdit(Lines(200), With(CodeEditDefaultOptions, EO::eoHalfPageScroll));
  edit->CreateWnd(parent.Handle(), 0, 0, 400, 300);
  ASSERT_TRUE(edit->HandleAllocated());
  int rows = edit->LinesInWindow();
  ASSERT_GT(rows, 4);
  EXPECT_GT(edit->CharsInWindow(), 10);
  Cmd(*edit, ecPageDown);
  EXPECT_EQ(edit->CaretY(), 1 + rows / 2);
  edit->SetOptions(With(edit->Options(), EO::eoScrollByOneLess));
  edit->SetCaretXY({1, 1});
  Cmd(*edit, ecPageDown);
  EXPECT_EQ(edit->CaretY(), rows / 2);
}

TEST(CodeEditWindow, GotoLineAndCenterScrollsOnlyForALineOutOfView) {
  TParentWindow parent;
  auto edit = MakeEdit(Lines(500));
  edit->CreateWnd(parent.Handle(), 0, 0, 400, 300);
  int rows = edit->LinesInWindow();
  ASSERT_GT(rows, 4);
  edit->GotoLineAndCenter(3);
  EXPECT_EQ(edit->TopLine(), 1);
  edit->GotoLineAndCenter(300);
  EXPECT_LT(edit->TopLine(), 300);
  EXPECT_GT(edit->TopLine() + rows - 1, 300);
  int top = edit->TopLine();
  edit->SetCaretXY({1, top - 1});  // the row just above the view...
  edit->SetTopLine(top);
  edit->EnsureCursorPosVisibleEx(true);  // ...is brought into view when centring
  EXPECT_LE(edit->TopLine(), top - 1);
  edit->DestroyWnd();
  EXPECT_FALSE(edit->HandleAllocated());
}

// --- Keystrokes as a form stores them --------------------------------------------------------

TEST(CodeEditKeystrokeStore, DefaultTableStoresNothingAndARebindingStoresBothSides) {
  TCodeEdit edit(nullptr);
  TCodeEditKeyStrokes reference(nullptr);
  reference.ResetDefaults();
  EXPECT_FALSE(edit.KeystrokesDiffer(reference));
  int undo = edit.Keystrokes().FindKey('Z', TShiftState{TShift::ssCtrl});
  edit.Keystrokes().Items(undo)->SetCommand(ecRedo);
  ASSERT_TRUE(edit.KeystrokesDiffer(reference));
  TCodeEditKeyStrokes removed(nullptr), added(nullptr);
  edit.WriteRemovedKeystrokes(reference, removed);
  edit.WriteAddedKeystrokes(reference, added);
  ASSERT_EQ(removed.Count(), 1);
  EXPECT_EQ(removed.Items(0)->Command(), ecUndo);
  ASSERT_EQ(added.Count(), 1);
  EXPECT_EQ(added.Items(0)->Command(), ecRedo);
  EXPECT_EQ(added.Items(0)->ShortCut(), removed.Items(0)->ShortCut());
}

TEST(CodeEditKeystrokeStore, ReadingTheDifferencesRebuildsTheTable) {
  TCodeEdit source(nullptr);
  source.Keystrokes().Items(0)->SetCommand(ecNone);
  source.Keystrokes().AddKey(ecDeleteLine, 'K', TShiftState{TShift::ssCtrl});
  TCodeEditKeyStrokes reference(nullptr), removed(nullptr), added(nullptr);
  reference.ResetDefaults();
  source.WriteRemovedKeystrokes(reference, removed);
  source.WriteAddedKeystrokes(reference, added);
  TCodeEdit loaded(nullptr);
  loaded.ReadRemovedKeystrokes(removed);
  loaded.ReadAddedKeystrokes(added);
  // The same bindings; a rebound entry moves to the end.
  ASSERT_EQ(loaded.Keystrokes().Count(), source.Keystrokes().Count());
  for (int i = 0; i < source.Keystrokes().Count(); ++i) {
    const TCodeEditKeyStroke& k = *source.Keystrokes().Items(i);
    int at = loaded.Keystrokes().FindShortcutPair(k.ShortCut(), k.ShortCut2());
    ASSERT_GE(at, 0);
    EXPECT_EQ(loaded.Keystrokes().Items(at)->Command(), k.Command());
  }
  // A form that removes every default starts with an empty table.
  TCodeEdit frame(nullptr);
  frame.ReadRemovedKeystrokes(reference);
  EXPECT_EQ(frame.Keystrokes().Count(), 0);
}

// --- Marks follow their lines ---------------------------------------------------------------

namespace {
TCodeEditMark* AddMark(TCustomCodeEdit& Edit, int Line) {
  auto mark = std::make_unique<TCodeEditMark>(&Edit);
  mark->SetLine(Line);
  return Edit.Marks().Add(std::move(mark));
}
}  // namespace

TEST(CodeEditMarks, DeletedLinesMoveTheMarksBelowUpAndThoseInsideToTheFirstLine) {
  std::string text;
  for (int i = 1; i <= 12; ++i) text += "line" + std::to_string(i) + "\r\n";
  auto edit = MakeEdit(text);
  TCodeEditMark* below = AddMark(*edit, 10);
  TCodeEditMark* inside = AddMark(*edit, 6);
  edit->SetSelectionMode(TCodeSelectionMode::smLine);
  Select(*edit, {1, 5}, {1, 7});
  edit->SetSelText("");
  EXPECT_EQ(edit->LineText(), "line8");
  EXPECT_EQ(below->Line(), 7);
  EXPECT_EQ(inside->Line(), 5);
  edit->Undo();  // the lines come back below line 4 and push the marks down
  EXPECT_EQ(below->Line(), 10);
}

TEST(CodeEditMarks, ALineBreakMovesTheMarksBelowDownAndClearAllRemovesThem) {
  auto edit = MakeEdit("a\r\nb\r\nc");
  TCodeEditMark* mark = AddMark(*edit, 3);
  edit->SetCaretXY({2, 1});
  Cmd(*edit, ecLineBreak);
  EXPECT_EQ(mark->Line(), 4);
  Cmd(*edit, ecClearAll);
  EXPECT_EQ(edit->Marks().Count(), 0);
  EXPECT_EQ(edit->Text(), "");
  EXPECT_FALSE(edit->Modified());
  EXPECT_FALSE(edit->CanUndo());
}

// --- Sharing another editor's text --------------------------------------------------------------

TEST(CodeEditSharing, AnEditorWorksOnTheSharedTextUntilTheSharingEnds) {
  auto owner = MakeEdit("shared");
  auto view = MakeEdit("own");
  view->SetLinesPointer(*owner);
  EXPECT_EQ(view->Text(), "shared");
  view->SetCaretXY({7, 1});
  Type(*view, "!");
  EXPECT_EQ(owner->Text(), "shared!");
  EXPECT_TRUE(owner->CanUndo());
  EXPECT_THROW(owner->RemoveLinesPointer(), Exception);
  view->RemoveLinesPointer();
  EXPECT_EQ(view->Text(), "own");
  owner->Undo();  // the owner's own notifications are back
  EXPECT_EQ(owner->Text(), "shared");
  EXPECT_FALSE(owner->Modified());
}

TEST(CodeEditSharing, DestroyingTheOwnerSendsTheSharersBackToTheirOwnText) {
  auto owner = MakeEdit("shared");
  auto view = MakeEdit("own");
  auto second = MakeEdit("second");
  view->SetLinesPointer(*owner);
  second->SetLinesPointer(*view);
  EXPECT_EQ(second->Text(), "shared");
  owner.reset();
  EXPECT_EQ(view->Text(), "own");
  EXPECT_EQ(second->Text(), "second");
  Type(*view, "x");
  EXPECT_EQ(view->Text(), "xown");
}
