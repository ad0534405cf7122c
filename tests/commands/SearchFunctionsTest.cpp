#include <gtest/gtest.h>
#include "app/fHlpMain.h"
#include "commands/fHlpMainSearch.h"
#include "editor/CodeEditTestFixture.h"
#include "foundation/Regex.h"
#include "support/ModalAnswers.h"

using codeedittest::MakeEdit;

namespace {

// Every test starts from a plain forward search with wrapping off.
class SearchTest : public testing::Test {
protected:
  void SetUp() override {
    LocalSearchReplace = TLocalSearchReplace();
    Settings.General.SearchContinue = false;
    Settings.General.SearchContinueQuery = false;
    Settings.General.SearchShowHits = true;
  }
  static void Use(const std::string& Text, bool CaseSensitive = false, bool WholeWords = false,
                  bool RegExpr = false) {
    LocalSearchReplace.SearchText = Text;
    LocalSearchReplace.CaseSensitive = CaseSensitive;
    LocalSearchReplace.WholeWords = WholeWords;
    LocalSearchReplace.UseRegExpr = RegExpr;
  }
};

struct SelectionAfter {
  int Start;
  int Length;
};

void ExpectSelection(const TCustomCodeEdit& Edit, SelectionAfter Expected) {
  EXPECT_EQ(Edit.SelStart(), Expected.Start);
  EXPECT_EQ(Edit.SelLength(), Expected.Length);
}

}  // namespace

// --- Finding in a text ---------------------------------------------------------------------

TEST(FindText, FindsFromTheStartPositionInEitherDirection) {
  struct Row {
    const char* Text;
    const char* Pattern;
    bool CaseSensitive;
    int Start;
    bool Backwards;
    int Expected;
  };
  const Row rows[] = {
      {"abcabc", "abc", true, 0, false, 1},   // a start of 0 counts as 1
      {"abcabc", "abc", true, 1, false, 1},   // a hit at the very start
      {"abcabc", "abc", true, 2, false, 4},   // a hit at the very end
      {"abcabc", "abc", true, 5, false, 0},
      {"abcabc", "ABC", true, 1, false, 0},
      {"abcabc", "ABC", false, 1, false, 1},
      {"abcabc", "abc", true, 0, true, 4},    // 0 searches from the end
      {"abcabc", "abc", true, 3, true, 1},    // the last one beginning at or before 3
      {"abcabc", "abc", true, 4, true, 4},
      {"abcabc", "abc", true, 5, true, 4},    // too near the end to fit: from the end
      {"abcabc", "ABC", false, 3, true, 1},
      {"abc", "", true, 1, false, 0},
      {"", "abc", true, 1, false, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.Text) + " / " + r.Pattern + " from " + std::to_string(r.Start));
    EXPECT_EQ(FindText(r.Text, r.Pattern, r.CaseSensitive, r.Start, r.Backwards), r.Expected);
  }
}

TEST(RegExprFind, MatchesFollowOneAnotherFromTheStartOfTheText) {
  struct Row {
    const char* Text;
    const char* Pattern;
    bool CaseSensitive;
    int Start;
    bool Backwards;
    int Expected;
    int Length;
  };
  const Row rows[] = {
      {"aaaa", "aa", true, 1, false, 1, 2},
      {"aaaa", "aa", true, 2, false, 3, 2},  // position 2 lies inside the first match
      {"aaaa", "aa", true, 4, false, 0, 0},
      {"ab12cd345", "[0-9]+", true, 1, false, 3, 2},
      {"ab12cd345", "[0-9]+", true, 4, false, 7, 3},  // a hit reaching the last character
      {"ab12cd345", "[0-9]+", true, 7, true, 3, 2},   // backward: beginning before 7
      {"ab12cd345", "[0-9]+", true, 10, true, 7, 3},
      {"ab12cd345", "[0-9]+", true, 3, true, 0, 0},
      {"Wort wort", "WORT", true, 1, false, 0, 0},
      {"Wort wort", "WORT", false, 2, false, 6, 4},
      {"Wort", "", true, 1, false, 0, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.Text) + " / " + r.Pattern + " from " + std::to_string(r.Start));
    int len = -1;
    EXPECT_EQ(RegExprFind(r.Text, r.Pattern, r.CaseSensitive, len, r.Start, r.Backwards),
              r.Expected);
    EXPECT_EQ(len, r.Length);
  }
}

TEST(RegExprFind, AnInvalidExpressionRaisesTheEngineError) {
  int len = 0;
  EXPECT_THROW(RegExprFind("abc", "a(b", true, len, 1, false), ERegex);
}

// --- Searching in an editor ------------------------------------------------------------------

TEST_F(SearchTest, SearchesSelectTheNextOrPreviousHit) {
  enum Kind { Next, Prev, NextRe, PrevRe };
  struct Row {
    const char* Name;
    const char* Text;
    const char* Search;
    bool CaseSensitive, WholeWords, RegExpr;
    Kind How;
    SelectionAfter Before, After;
    bool Found;
  };
  const Row rows[] = {
      {"selected hit is skipped", "aaaa", "aa", false, false, false, Next, {0, 2}, {1, 2}, true},
      {"from the caret", "ab ab ab", "ab", false, false, false, Next, {1, 0}, {3, 2}, true},
      {"case ignored", "x ABC", "abc", false, false, false, Next, {0, 0}, {2, 3}, true},
      {"case kept", "ABC abc", "abc", true, false, false, Next, {0, 0}, {4, 3}, true},
      {"first character", "abc def", "abc", false, false, false, Next, {0, 0}, {0, 3}, true},
      {"last line without break", "x\r\ny\r\nend", "end", false, false, false, Next, {0, 0},
       {6, 3}, true},
      {"none at all", "abc", "x", false, false, false, Next, {1, 0}, {1, 0}, false},
      {"previous before the selection", "ab ab ab", "ab", false, false, false, Prev, {6, 2},
       {3, 2}, true},
      {"previous from the start looks from the end", "ab ab", "ab", false, false, false, Prev,
       {0, 0}, {3, 2}, true},
      {"previous reaches the first character", "ab ab", "ab", false, false, false, Prev, {3, 2},
       {0, 2}, true},
      {"expression with its own length", "a1 b22 c333", "[0-9]+", false, false, true, NextRe,
       {0, 0}, {1, 1}, true},
      {"expression after a selection", "a1 b22 c333", "[0-9]+", false, false, true, NextRe,
       {1, 1}, {4, 2}, true},
      {"expression at the last character", "a1 b22 c333", "[0-9]+", false, false, true, NextRe,
       {4, 2}, {8, 3}, true},
      {"expression across lines", "ab\r\ncd", "b\\r\\nc", false, false, true, NextRe, {0, 0},
       {1, 4}, true},
      {"previous expression", "a1 b22 c333", "[0-9]+", false, false, true, PrevRe, {8, 3},
       {4, 2}, true},
      {"whole word skips a longer word", "Worte Wort", "wort", false, true, false, NextRe,
       {0, 0}, {6, 4}, true},
      {"whole word with case", "wort Wort", "Wort", true, true, false, NextRe, {0, 0}, {5, 4},
       true},
      {"whole word previous", "Wort Worte", "wort", false, true, false, PrevRe, {10, 0}, {0, 4},
       true},
      {"empty expression finds nothing", "abc", "", false, false, true, NextRe, {1, 0}, {1, 0},
       false},
      {"empty whole word finds nothing", "abc", "", false, true, false, PrevRe, {1, 0}, {1, 0},
       false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.Name);
    auto edit = MakeEdit(r.Text);
    edit->SetSelStart(r.Before.Start);
    edit->SetSelLength(r.Before.Length);
    Use(r.Search, r.CaseSensitive, r.WholeWords, r.RegExpr);
    LocalSearchReplace.Found = !r.Found;
    switch (r.How) {
      case Next: SearchNextInEditor(*edit); break;
      case Prev: SearchPrevInEditor(*edit); break;
      case NextRe: SearchNextRegExprInEditor(*edit); break;
      case PrevRe: SearchPrevRegExprInEditor(*edit); break;
    }
    ExpectSelection(*edit, r.After);
    EXPECT_EQ(LocalSearchReplace.Found, r.Found);
  }
}

TEST_F(SearchTest, AtTheEndTheSearchWrapsAfterAskingYes) {
  Settings.General.SearchContinue = true;
  Settings.General.SearchContinueQuery = true;
  auto edit = MakeEdit("ab\r\nab");
  edit->SetSelStart(4);
  edit->SetSelLength(2);
  Use("ab");
  testsupport::QueueAnswer({IDYES}, [](const ModalQuestion& Q) {
    EXPECT_EQ(Q.caption, "Suchen vorw\xE4rts");
    EXPECT_EQ(Q.text, "Das Dateiende wurde erreicht.\r\nM\xF6"
                      "chten Sie die Suche am Dateianfang fortsetzen?");
    EXPECT_EQ(Q.flags, UINT(MB_YESNO | MB_ICONQUESTION));
  });
  SearchNextInEditor(*edit);
  ExpectSelection(*edit, {0, 2});
  EXPECT_TRUE(LocalSearchReplace.Found);

  testsupport::QueueAnswer({IDYES}, [](const ModalQuestion& Q) {
    EXPECT_EQ(Q.caption, "Suchen r\xFC"
                         "ckw\xE4rts");
    EXPECT_EQ(Q.text, "Der Dateianfang wurde erreicht.\r\nM\xF6"
                      "chten Sie die Suche am Dateiende fortsetzen?");
  });
  Use("[a-z]+", false, false, true);
  SearchPrevRegExprInEditor(*edit);
  ExpectSelection(*edit, {4, 2});
}

TEST_F(SearchTest, AnsweringNoLeavesTheSelectionButCountsAsFound) {
  Settings.General.SearchContinue = true;
  Settings.General.SearchContinueQuery = true;
  auto edit = MakeEdit("xx ab yy");
  edit->SetSelStart(3);
  edit->SetSelLength(2);
  Use("ab");
  testsupport::QueueAnswer(IDNO);
  SearchNextInEditor(*edit);
  ExpectSelection(*edit, {3, 2});
  EXPECT_TRUE(LocalSearchReplace.Found);
}

TEST_F(SearchTest, WrappingFollowsTheSettings) {
  auto edit = MakeEdit("ab ab");
  Use("ab");
  // Wrapping off: nothing moves and Found keeps its value.
  edit->SetSelStart(3);
  edit->SetSelLength(2);
  LocalSearchReplace.Found = false;
  SearchNextInEditor(*edit);
  ExpectSelection(*edit, {3, 2});
  EXPECT_FALSE(LocalSearchReplace.Found);
  // Wrapping without the question.
  Settings.General.SearchContinue = true;
  SearchNextInEditor(*edit);
  ExpectSelection(*edit, {0, 2});
  EXPECT_TRUE(LocalSearchReplace.Found);
  Use("ab", false, false, true);
  SearchPrevRegExprInEditor(*edit);
  ExpectSelection(*edit, {3, 2});
}

TEST_F(SearchTest, AnEmptyMatchAtTheVeryEndIsOfferedOnceAndTheSearchEnds) {
  Settings.General.SearchContinue = true;
  Settings.General.SearchContinueQuery = true;
  auto edit = MakeEdit("abc");
  Use("$", false, false, true);
  testsupport::QueueAnswer(IDYES);
  SearchPrevRegExprInEditor(*edit);
  EXPECT_EQ(testsupport::AskedQuestions().size(), 1u);
  EXPECT_EQ(edit->Text(), "abc");
}

TEST_F(SearchTest, AnInvalidExpressionIsRaisedAndChangesNothing) {
  auto edit = MakeEdit("a(b a(b");
  edit->SetSelStart(2);
  edit->SetSelLength(1);
  Use("a(b", false, false, true);
  LocalSearchReplace.Found = true;
  EXPECT_THROW(SearchNextRegExprInEditor(*edit), ERegex);
  EXPECT_THROW(SearchPrevRegExprInEditor(*edit), ERegex);
  EXPECT_EQ(edit->Text(), "a(b a(b");
  ExpectSelection(*edit, {2, 1});
  EXPECT_FALSE(edit->CanUndo());
}

// --- Listing every hit -----------------------------------------------------------------------

namespace {
std::vector<TSearchHit> AllHits(const std::string& Text, size_t StopAfter = 1000) {
  std::vector<TSearchHit> hits;
  ListSearchHits(Text, [&](const TSearchHit& H) {
    hits.push_back(H);
    return hits.size() < StopAfter;
  });
  return hits;
}
std::string Positions(const std::vector<TSearchHit>& Hits) {
  std::string s;
  for (const TSearchHit& h : Hits)
    s += std::to_string(h.Position) + "@" + std::to_string(h.Line) + ":" +
         std::to_string(h.Column) + "+" + std::to_string(h.Length) + " ";
  return s;
}
}  // namespace

TEST_F(SearchTest, ListingGivesEveryHitWithLineAndColumn) {
  struct Row {
    const char* Name;
    const char* Text;
    const char* Search;
    bool WholeWords, RegExpr;
    const char* Expected;
  };
  const Row rows[] = {
      {"overlapping", "aaaa", "aa", false, false, "1@1:1+2 2@1:2+2 3@1:3+2 "},
      {"lines", "ab\r\nxab\r\n\r\nab", "AB", false, false, "1@1:1+2 6@2:2+2 12@4:1+2 "},
      {"expressions do not overlap", "aaaa", "aa", false, true, "1@1:1+2 3@1:3+2 "},
      {"a match over a break", "ab\r\ncd", "b\\r\\nc", false, true, "2@1:2+4 "},
      {"whole words", "Wort Worte wort", "wort", true, false, "1@1:1+4 12@1:12+4 "},
      {"nothing", "abc", "", false, false, ""},
      {"empty expression", "abc", "", false, true, ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.Name);
    Use(r.Search, false, r.WholeWords, r.RegExpr);
    EXPECT_EQ(Positions(AllHits(r.Text)), r.Expected);
  }
}

TEST_F(SearchTest, ThePreviewShowsTheHitInItsSurroundings) {
  std::string text(30, 'x');
  text += "FOUND\r\n";
  text += std::string(60, 'y');
  Use("found");
  auto hits = AllHits(text);
  ASSERT_EQ(hits.size(), 1u);
  EXPECT_EQ(hits[0].Preview, std::string(25, 'x') + "FOUND  " + std::string(18, 'y'));

  Use("ab");
  hits = AllHits("ab\r\ncd");
  ASSERT_EQ(hits.size(), 1u);
  EXPECT_EQ(hits[0].Preview, "ab  cd");  // clipped at the start of the text

  Use("b\\r\\nc", false, false, true);
  EXPECT_EQ(AllHits("ab\r\ncd")[0].Preview, "b  c");

  Settings.General.SearchShowHits = false;
  EXPECT_EQ(AllHits("ab\r\ncd")[0].Preview, "");
}

TEST_F(SearchTest, ListingStopsWhenAsked) {
  Use("a");
  EXPECT_EQ(AllHits("aaaa", 2).size(), 2u);
  Use("a", false, false, true);
  EXPECT_EQ(AllHits("aaaa", 1).size(), 1u);
}

// --- Histories -------------------------------------------------------------------------------

TEST(SearchHistory, ATextGoesToTheTopReplacingAnEntryInOtherCase) {
  TStringList items;
  items.SetText("eins\r\nZwei\r\ndrei\r\n");
  EXPECT_FALSE(AddToHistory(items, "vier"));
  EXPECT_EQ(items.Text(), "vier\r\neins\r\nZwei\r\ndrei\r\n");
  EXPECT_TRUE(AddToHistory(items, "zwei"));
  EXPECT_EQ(items.Text(), "zwei\r\nvier\r\neins\r\ndrei\r\n");
  EXPECT_TRUE(AddToHistory(items, "DREI"));
  EXPECT_EQ(items.Text(), "DREI\r\nzwei\r\nvier\r\neins\r\n");
  EXPECT_FALSE(AddToHistory(items, ""));
  EXPECT_EQ(items.Count(), 4);
}

TEST(SearchHistory, TheStoredHistoriesKeepThirtyEntries) {
  Settings.SearchMRU.Clear();
  Settings.ReplaceMRU.Clear();
  for (int i = 1; i <= 31; ++i) AddToSearchMRU("s" + std::to_string(i));
  EXPECT_EQ(Settings.SearchMRU.Count(), 30);
  EXPECT_EQ(Settings.SearchMRU[0], "s31");
  EXPECT_EQ(Settings.SearchMRU[29], "s2");
  AddToSearchMRU("S2");
  EXPECT_EQ(Settings.SearchMRU[0], "S2");
  EXPECT_EQ(Settings.SearchMRU.Count(), 30);
  AddToReplaceMRU("r");
  AddToReplaceMRU("");
  EXPECT_EQ(Settings.ReplaceMRU.Text(), "r\r\n");
}
