#include <gtest/gtest.h>
#include <memory>
#include <vector>
#include "editor/CodeEditTestFixture.h"

using namespace codeedittest;

namespace {
std::string Lines(int Count) {
  std::string text;
  for (int i = 1; i <= Count; ++i) text += "line " + std::to_string(i) + "\r\n";
  return text;
}

int BookmarkLine(const TCustomCodeEdit& Edit, int Number) {
  int x = 0, y = 0;
  return Edit.GetBookMark(Number, x, y) ? y : 0;
}

void SetMarker(TCustomCodeEdit& Edit, int Number, TBufferCoord At) {
  Cmd(Edit, ecSetMarker0 + Number, '\0', &At);
}
}  // namespace

// --- Setting, finding and jumping --------------------------------------------------------

TEST(CodeEditBookmarks, SetMarkerTogglesOnItsLineAndMovesFromAnother) {
  auto edit = MakeEdit(Lines(10));
  edit->SetCaretXY({3, 4});
  Cmd(*edit, ecSetMarker3);
  int x = 0, y = 0;
  ASSERT_TRUE(edit->GetBookMark(3, x, y));
  EXPECT_EQ(x, 3);
  EXPECT_EQ(y, 4);
  EXPECT_EQ(edit->Marks().Items(0)->ImageIndex(), 3);
  EXPECT_TRUE(edit->Marks().Items(0)->BuiltInGlyph());
  EXPECT_TRUE(edit->Marks().Items(0)->Visible());

  SetMarker(*edit, 3, {1, 7});  // another line: moved, the old mark freed
  EXPECT_EQ(BookmarkLine(*edit, 3), 7);
  EXPECT_EQ(edit->Marks().Count(), 1);

  SetMarker(*edit, 3, {5, 7});  // its own line: cleared
  EXPECT_EQ(BookmarkLine(*edit, 3), 0);
  EXPECT_EQ(edit->Marks().Count(), 0);
}

TEST(CodeEditBookmarks, GotoMarkerMovesTheCaretAndDropsTheSelection) {
  auto edit = MakeEdit(Lines(10));
  SetMarker(*edit, 0, {4, 6});
  SetMarker(*edit, 9, {2, 2});
  Select(*edit, {1, 1}, {3, 3});
  Cmd(*edit, ecGotoMarker0);
  EXPECT_EQ(edit->CaretXY(), (TBufferCoord{4, 6}));
  EXPECT_FALSE(edit->SelAvail());
  Cmd(*edit, ecGotoMarker9);
  EXPECT_EQ(edit->CaretXY(), (TBufferCoord{2, 2}));
  Cmd(*edit, ecGotoMarker5);  // not set: nothing
  EXPECT_EQ(edit->CaretXY(), (TBufferCoord{2, 2}));
}

TEST(CodeEditBookmarks, CommandsDoNothingWithBookmarkKeysDisabled) {
  auto edit = MakeEdit(Lines(5));
  edit->SetBookMark(1, 1, 4);
  edit->BookMarkOptions().SetEnableKeys(false);
  Cmd(*edit, ecSetMarker2);
  Cmd(*edit, ecGotoMarker1);
  EXPECT_EQ(BookmarkLine(*edit, 2), 0);
  EXPECT_EQ(edit->CaretY(), 1);
}

TEST(CodeEditBookmarks, PlacesOnlyOnExistingLinesAndLineOneOfAnEmptyBuffer) {
  auto edit = MakeEdit("a\r\nb");
  edit->SetBookMark(1, 1, 3);
  edit->SetBookMark(1, 1, 0);
  edit->SetBookMark(10, 1, 1);
  edit->SetBookMark(-1, 1, 1);
  EXPECT_EQ(edit->Marks().Count(), 0);
  edit->ClearAll();
  edit->SetBookMark(4, 1, 1);
  EXPECT_EQ(BookmarkLine(*edit, 4), 1);
}

TEST(CodeEditBookmarks, ClearAllEmptiesEverySlot) {
  auto edit = MakeEdit(Lines(12));
  for (int n = 0; n < 10; ++n) edit->SetBookMark(n, 1, n + 1);
  edit->ClearAll();
  for (int n = 0; n < 10; ++n) EXPECT_EQ(BookmarkLine(*edit, n), 0) << n;
  EXPECT_EQ(edit->Marks().Count(), 0);
  edit->SetText(Lines(3));
  Cmd(*edit, ecGotoMarker2);  // a freed slot is never followed
  EXPECT_EQ(edit->CaretY(), 1);
}

TEST(CodeEditBookmarks, ASlotFollowsItsMarkWhenTheHostDeletesIt) {
  auto edit = MakeEdit(Lines(5));
  edit->SetBookMark(6, 2, 3);
  edit->Marks().Delete(0);
  EXPECT_EQ(BookmarkLine(*edit, 6), 0);
  Cmd(*edit, ecGotoMarker6);
  EXPECT_EQ(edit->CaretY(), 1);
}

// --- The place and clear events ----------------------------------------------------------

TEST(CodeEditBookmarks, PlaceEventSeesTheNewMarkAndMayCancel) {
  auto edit = MakeEdit(Lines(5));
  edit->SetBookMark(2, 1, 1);
  std::vector<int> placedLines;
  edit->OnPlaceBookmark = [&](TObject* Sender, TCodeEditMark*& Mark) {
    EXPECT_EQ(Sender, edit.get());
    placedLines.push_back(Mark->Line());
    Mark = nullptr;
  };
  edit->SetBookMark(2, 1, 4);
  EXPECT_EQ(placedLines, std::vector<int>{4});
  EXPECT_EQ(BookmarkLine(*edit, 2), 1) << "a cancelled placement keeps the old bookmark";
  EXPECT_EQ(edit->Marks().Count(), 1);
}

TEST(CodeEditBookmarks, ASubstitutedMarkIsNotTakenOver) {
  auto edit = MakeEdit(Lines(5));
  TCodeEditMark substitute(edit.get());
  edit->OnPlaceBookmark = [&](TObject*, TCodeEditMark*& Mark) { Mark = &substitute; };
  edit->SetBookMark(2, 1, 3);
  EXPECT_EQ(edit->Marks().Count(), 0);
  EXPECT_EQ(edit->Marks().IndexOf(&substitute), -1);
}

TEST(CodeEditBookmarks, ClearEventFiresWithTheMarkBeforeItIsFreed) {
  auto edit = MakeEdit(Lines(5));
  edit->SetBookMark(5, 3, 2);
  int clearedLine = 0;
  edit->OnClearBookmark = [&](TObject*, TCodeEditMark*& Mark) { clearedLine = Mark->Line(); };
  edit->ClearBookMark(5);
  EXPECT_EQ(clearedLine, 2);
  EXPECT_EQ(edit->Marks().Count(), 0);
  clearedLine = 0;
  edit->ClearBookMark(5);
  EXPECT_EQ(clearedLine, 0) << "nothing to clear fires nothing";
}

// --- Following the lines -----------------------------------------------------------------

TEST(CodeEditBookmarks, FollowInsertedAndDeletedLines) {
  auto edit = MakeEdit(Lines(10));
  edit->SetBookMark(1, 1, 5);
  edit->SetBookMark(2, 1, 8);
  edit->SetCaretXY({1, 2});
  Cmd(*edit, ecLineBreak);
  EXPECT_EQ(BookmarkLine(*edit, 1), 6);
  EXPECT_EQ(BookmarkLine(*edit, 2), 9);
  edit->SetCaretXY({1, 3});
  Cmd(*edit, ecDeleteLine);
  EXPECT_EQ(BookmarkLine(*edit, 1), 5);
  EXPECT_EQ(BookmarkLine(*edit, 2), 8);
  Select(*edit, {3, 4}, {2, 6});  // joins lines 4..6: the bookmark on 5 lands on 4
  Cmd(*edit, ecDeleteChar);
  EXPECT_EQ(BookmarkLine(*edit, 1), 4);
  EXPECT_EQ(BookmarkLine(*edit, 2), 6);
}

TEST(CodeEditBookmarks, DeletingLineOneKeepsItsBookmarkOnLineOne) {
  auto edit = MakeEdit(Lines(4));
  edit->SetBookMark(0, 2, 1);
  edit->SetBookMark(1, 1, 2);
  edit->SetCaretXY({1, 1});
  Cmd(*edit, ecDeleteLine);
  EXPECT_EQ(edit->Lines().Get(0), "line 2");
  EXPECT_EQ(BookmarkLine(*edit, 0), 1);
  EXPECT_EQ(BookmarkLine(*edit, 1), 1);
  Cmd(*edit, ecGotoMarker0);
  EXPECT_EQ(edit->CaretXY(), (TBufferCoord{2, 1}));
}

TEST(CodeEditBookmarks, ABookmarkIsFoundByItsNumberWhateverGlyphItShows) {
  auto edit = MakeEdit(Lines(5));
  edit->OnPlaceBookmark = [](TObject*, TCodeEditMark*& Mark) { Mark->SetImage(7); };
  edit->SetBookMark(3, 2, 4);
  EXPECT_EQ(BookmarkLine(*edit, 3), 4);
  EXPECT_EQ(BookmarkLine(*edit, 7), 0);
}
