// Undo steps around undo blocks: a block is taken back whole and never together with the
// changes before or after it, also after redo and with grouping of like changes.
#include <gtest/gtest.h>
#include <cctype>
#include <functional>
#include <vector>
#include "editor/CodeEditTestFixture.h"
#include "toolkit/KeyState.h"

using namespace codeedittest;
using EO = TCodeEditorOption;

namespace {

using TAction = std::function<void(TTestEdit&)>;

// The program's way of replacing a whole document: one block around select-all and replace.
TAction ReplaceAll(const std::string& Text) {
  return [Text](TCustomCodeEdit& E) {
    E.SelectAll();
    E.OpenUndoBlock();
    E.SetSelText(Text);
    E.CloseUndoBlock();
  };
}
// A block that records one insertion at the caret.
TAction InsertInBlock(const std::string& Text) {
  return [Text](TCustomCodeEdit& E) {
    E.OpenUndoBlock();
    E.SetSelText(Text);
    E.CloseUndoBlock();
  };
}
TAction Typed(const std::string& Text) {
  return [Text](TCustomCodeEdit& E) { Type(E, Text); };
}
TAction Backspaces(int Count) {
  return [Count](TCustomCodeEdit& E) {
    for (int i = 0; i < Count; ++i) Cmd(E, ecDeleteLastChar);
  };
}
TAction OverSelection(TBufferCoord From, TBufferCoord To, TCodeEditorCommand Command, char C) {
  return [=](TCustomCodeEdit& E) {
    Select(E, From, To);
    Cmd(E, Command, C);
  };
}

// The mouse drags the selection From..To and drops it at At: moved, or copied with Ctrl held.
TAction Dropped(TBufferCoord From, TBufferCoord To, TBufferCoord At, bool Copy) {
  return [=](TTestEdit& E) {
    Select(E, From, To);
    SetKeyStateOverride([Copy](int Key) { return Copy && Key == VK_CONTROL; });
    const bool dropped = E.DropTextFrom(E, At);
    SetKeyStateOverride(nullptr);
    EXPECT_TRUE(dropped);
  };
}

struct TUndoStepsCase {
  const char* Name;
  bool GroupUndo;
  std::string Initial;
  std::vector<TAction> Steps;      // each is one undo step
  std::vector<std::string> Texts;  // the text after each step
  int SavedAfter;                  // the step after which the document is saved; -1: before all
};

const TUndoStepsCase kCases[] = {
    {"block then typing", true, "abc", {ReplaceAll("NEW"), Typed("xy")}, {"NEW", "NEWxy"}, -1},
    {"block then typing, ungrouped", false, "abc",
     {ReplaceAll("NEW"), Typed("x"), Typed("y")}, {"NEW", "NEWx", "NEWxy"}, 0},
    {"typing then block", true, "abc", {Typed("xy"), ReplaceAll("NEW")}, {"xyabc", "NEW"}, 1},
    {"typing then block, ungrouped", false, "abc", {Typed("x"), ReplaceAll("NEW")},
     {"xabc", "NEW"}, 0},
    {"typing then a one-change block then typing", true, "",
     {Typed("ab"), InsertInBlock("<>"), Typed("cd")}, {"ab", "ab<>", "ab<>cd"}, 1},
    {"block then block", true, "abc",
     {ReplaceAll("one"), ReplaceAll("two"), InsertInBlock("!"), InsertInBlock("?")},
     {"one", "two", "two!", "two!?"}, 2},
    {"block then block, ungrouped", false, "abc", {ReplaceAll("one"), ReplaceAll("two")},
     {"one", "two"}, -1},
    {"block then deleting", true, "abc", {ReplaceAll("NEW"), Backspaces(2)}, {"NEW", "N"}, 0},
    {"block then deleting, ungrouped", false, "abc",
     {ReplaceAll("NEW"), Backspaces(1), Backspaces(1)}, {"NEW", "NE", "N"}, 2},
    {"typing over a selection then typing", true, "abc",
     {OverSelection({2, 1}, {3, 1}, ecChar, 'x'), Typed("yz")}, {"axc", "axyzc"}, -1},
    {"line break over a selection then typing", true, "abc",
     {OverSelection({2, 1}, {3, 1}, ecLineBreak, '\0'), Typed("x")}, {"a\r\nc", "a\r\nxc"}, 0},
    {"line break over a selection then typing, ungrouped", false, "abc",
     {OverSelection({2, 1}, {3, 1}, ecLineBreak, '\0'), Typed("x")}, {"a\r\nc", "a\r\nxc"}, 1},
    {"drag-move, drag-copy, then typing", true, "abc def\r\nxyz",
     {Dropped({1, 1}, {4, 1}, {8, 1}, false), Dropped({1, 2}, {3, 2}, {1, 1}, true), Typed("!")},
     {" defabc\r\nxyz", "xy defabc\r\nxyz", "! defabc\r\nxyz"}, 0},
    {"drag-move of lines up past a line end, ungrouped", false, "ab\r\ncd\r\nef",
     {Dropped({1, 2}, {1, 3}, {5, 1}, false)}, {"ab  cd\r\n\r\nef"}, -1},
};

void PrintTo(const TUndoStepsCase& C, std::ostream* Os) { *Os << C.Name; }

class UndoSteps : public ::testing::TestWithParam<TUndoStepsCase> {};

// The text and modified state expected at state I (0 = the initial text).
void ExpectState(const TCustomCodeEdit& E, const TUndoStepsCase& C, int I) {
  EXPECT_EQ(E.Text(), I == 0 ? C.Initial : C.Texts[I - 1]) << "state " << I;
  EXPECT_EQ(E.Modified(), I != C.SavedAfter + 1) << "state " << I;
}

TEST_P(UndoSteps, EachStepUndoesAndRedoesWholeAndAloneBackToTheSavedState) {
  const TUndoStepsCase& c = GetParam();
  auto edit = MakeEdit(c.Initial, c.GroupUndo ? CodeEditDefaultOptions
                                              : WithOut(CodeEditDefaultOptions, EO::eoGroupUndo));
  const int steps = static_cast<int>(c.Steps.size());
  if (c.SavedAfter < 0) edit->SetModified(false);
  for (int i = 0; i < steps; ++i) {
    c.Steps[i](*edit);
    if (i == c.SavedAfter) edit->SetModified(false);
    ExpectState(*edit, c, i + 1);
  }
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round == 0 ? "first undo" : "undo after redo");
    for (int i = steps - 1; i >= 0; --i) {
      edit->Undo();
      ExpectState(*edit, c, i);
    }
    edit->Undo();  // nothing left to take back
    ExpectState(*edit, c, 0);
    for (int i = 1; i <= steps; ++i) {
      edit->Redo();
      ExpectState(*edit, c, i);
    }
    EXPECT_FALSE(edit->CanRedo());
  }
}

INSTANTIATE_TEST_SUITE_P(CodeEditUndo, UndoSteps, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<TUndoStepsCase>& Info) {
                           std::string name;
                           for (const char* p = Info.param.Name; *p; ++p)
                             if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
                           return name;
                         });

}  // namespace
