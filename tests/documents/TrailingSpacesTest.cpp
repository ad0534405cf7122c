#include <gtest/gtest.h>
#include "documents/TrailingSpaces.h"
#include "editor/CodeEditTestFixture.h"

using codeedittest::ExpectUndoRedoRoundTrip;
using codeedittest::MakeEdit;

TEST(TrimTrailingSpaces, TrimsEveryLineAsOneUndoStep) {
  const std::string before = "a \t\r\n   \r\nb\x01\r\nc\r\n  d  ";
  const std::string after = "a\r\n\r\nb\r\nc\r\n  d";
  // Room in the undo list for a step per line, and too little of it.
  for (int maxUndo : {1024, 4}) {
    SCOPED_TRACE(maxUndo);
    auto edit = MakeEdit(before);
    edit->SetMaxUndo(maxUndo);
    edit->SetCaretXY({4, 1});
    TrimTrailingSpaces(edit.get());
    EXPECT_EQ(edit->Text(), after);
    EXPECT_EQ(edit->CaretXY(), (TBufferCoord{2, 1}));
    ExpectUndoRedoRoundTrip(*edit, before, after);
  }
}

TEST(TrimTrailingSpaces, KeepsBookmarksAndLeavesCleanTextUntouched) {
  auto edit = MakeEdit("a  \r\nb  \r\nc");
  edit->SetBookMark(1, 1, 2);
  TrimTrailingSpaces(edit.get());
  int x = 0, y = 0;
  ASSERT_TRUE(edit->GetBookMark(1, x, y));
  EXPECT_EQ(y, 2);
  const int steps = edit->UndoList().ItemCount();
  TrimTrailingSpaces(edit.get());  // nothing left to trim: nothing recorded
  EXPECT_EQ(edit->UndoList().ItemCount(), steps);
  TrimTrailingSpaces(nullptr);
}
