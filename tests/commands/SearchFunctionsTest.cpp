#include <gtest/gtest.h>
#include <algorithm>
#include <vector>
#include "commands/fHlpMainSearch.h"
#include "documents/fHlpMain.h"
#include "editor/CodeEditTestFixture.h"
#include "foundation/Regex.h"
#include "support/ModalAnswers.h"
#include "support/RunawayReport.h"

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
    const char* Pattern;
    bool CaseSensitive;
    int Start;
    bool Backwards;
    int Expected;
  };
  const Row rows[] = {
      {"abc", true, 0, false, 1},   // a start of 0 counts as 1; a hit at the very start
      {"abc", true, 2, false, 4},   // a hit at the very end
      {"ABC", true, 1, false, 0},   {"ABC", false, 2, false, 4},
      {"abc", true, 0, true, 4},    // 0 searches backwards from the end
      {"abc", true, 3, true, 1},    // the last one beginning at or before 3
      {"abc", true, 5, true, 4},    // too near the end to fit: from the end
      {"", true, 1, false, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.Pattern) + " from " + std::to_string(r.Start));
    EXPECT_EQ(FindText("abcabc", r.Pattern, r.CaseSensitive, r.Start, r.Backwards), r.Expected);
  }
}

TEST(RegExprFind, MatchesFollowOneAnotherFromTheStartOfTheText) {
  struct Row {
    const char* Text;
    const char* Pattern;
    int Start;
    bool Backwards;
    int Expected, Length;
  };
  const Row rows[] = {
      {"aaaa", "aa", 2, false, 3, 2},  // position 2 lies inside the first match
      {"ab12cd345", "[0-9]+", 4, false, 7, 3},  // a hit reaching the last character
      {"ab12cd345", "[0-9]+", 7, true, 3, 2},   // backwards: beginning before 7
      {"ab12cd345", "[0-9]+", 3, true, 0, 0},
      {"Wort wort", "WORT", 2, false, 6, 4},    // case ignored
      {"Wort", "", 1, false, 0, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.Text) + " / " + r.Pattern + " from " + std::to_string(r.Start));
    int len = -1;
    EXPECT_EQ(RegExprFind(r.Text, r.Pattern, false, len, r.Start, r.Backwards), r.Expected);
    EXPECT_EQ(len, r.Length);
  }
  int len = 0;
  EXPECT_EQ(RegExprFind("Wort", "WORT", true, len, 1, false), 0);
  EXPECT_THROW(RegExprFind("abc", "a(b", true, len, 1, false), ERegex);
}

TEST(RegExprFind, SearchesTheWholeTextInPlaceToItsLastByte) {
  using namespace std::string_literals;
  struct Row {
    std::string Text;
    const char* Pattern;
    int Start;
    bool Backwards;
    int Expected, Length;
  };
  const Row rows[] = {
      {"ab\0cd\0"s, "cd", 1, false, 4, 2},  // a NUL byte neither ends the text nor matches
      {"ab\0cd\0"s, "\\x00$", 1, false, 6, 1},
      {"abc", "c$", 1, false, 3, 1},
      {"abc", "$", 1, false, 4, 0},         // the empty match just past the last byte
      {"abcabc", "abc", 7, true, 4, 3},     // backwards from just past the end
      {"abcabc", "abc", 4, true, 1, 3},
      {"abc\r\n", "^", 4, false, 6, 0},   // the empty last line
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.Pattern) + " from " + std::to_string(r.Start));
    int len = -1;
    EXPECT_EQ(RegExprFind(r.Text, r.Pattern, false, len, r.Start, r.Backwards), r.Expected);
    EXPECT_EQ(len, r.Length);
  }
}

// --- Searching in an editor ------------------------------------------------------------------

TEST_F(SearchTest, SearchesSelectTheNextOrPreviousHit) {
  // Kind: N next, P previous, n and p by expression. Flags: c case, w whole words, r expression.
  struct Row {
    char Kind;
    const char* Flags;
    const char* Text;
    const char* Search;
    SelectionAfter Before, After;
    bool Found;
  };
  const Row rows[] = {
      {'N', "", "aaaa", "aa", {0, 2}, {1, 2}, true},  // a selected hit is skipped
      {'N', "", "ab ab ab", "ab", {1, 0}, {3, 2}, true},
      {'N', "", "x ABC", "abc", {0, 0}, {2, 3}, true},
      {'N', "c", "ABC abc", "abc", {0, 0}, {4, 3}, true},
      {'N', "", "x\r\ny\r\nend", "end", {0, 0}, {6, 3}, true},  // last line, no break
      {'N', "", "abc", "x", {1, 0}, {1, 0}, false},
      {'P', "", "ab ab ab", "ab", {6, 2}, {3, 2}, true},
      {'P', "", "ab ab", "ab", {0, 0}, {3, 2}, true},  // from the start: from the end
      {'P', "", "ab ab", "ab", {3, 2}, {0, 2}, true},  // the first character
      {'N', "", "ab\r\ncd ab\r\ncd", "b\r\nc", {2, 0}, {8, 4}, true},  // across a break
      {'P', "", "ab\r\ncd ab\r\ncd", "B\r\nC", {8, 4}, {1, 4}, true},
      {'n', "r", "a1 b22 c333", "[0-9]+", {1, 1}, {4, 2}, true},
      {'n', "r", "a1 b22 c333", "[0-9]+", {4, 2}, {8, 3}, true},  // the last character
      {'n', "r", "ab\r\ncd", "b\\r\\nc", {0, 0}, {1, 4}, true},
      {'p', "r", "a1 b22 c333", "[0-9]+", {8, 3}, {4, 2}, true},
      {'n', "w", "Worte Wort", "wort", {0, 0}, {6, 4}, true},
      {'n', "cw", "wort Wort", "Wort", {0, 0}, {5, 4}, true},
      {'p', "w", "Wort Worte", "wort", {10, 0}, {0, 4}, true},
      {'n', "r", "abc", "", {1, 0}, {1, 0}, false},  // an empty expression finds nothing
      {'p', "w", "abc", "", {1, 0}, {1, 0}, false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(1, r.Kind) + " " + r.Text + " / " + r.Search);
    auto edit = MakeEdit(r.Text);
    edit->SetSelStart(r.Before.Start);
    edit->SetSelLength(r.Before.Length);
    const std::string flags = r.Flags;
    Use(r.Search, flags.find('c') != std::string::npos, flags.find('w') != std::string::npos,
        flags.find('r') != std::string::npos);
    LocalSearchReplace.Found = !r.Found;
    switch (r.Kind) {
      case 'N': SearchNextInEditor(*edit); break;
      case 'P': SearchPrevInEditor(*edit); break;
      case 'n': SearchNextRegExprInEditor(*edit); break;
      default: SearchPrevRegExprInEditor(*edit); break;
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

TEST_F(SearchTest, WrappingFollowsTheSettingsAndTheAnswer) {
  auto edit = MakeEdit("ab ab");
  Use("ab");
  edit->SetSelStart(3);
  edit->SetSelLength(2);
  // Off: nothing moves and Found keeps its value.
  SearchNextInEditor(*edit);
  ExpectSelection(*edit, {3, 2});
  EXPECT_FALSE(LocalSearchReplace.Found);
  // Asked and answered No: the selection stays, yet the search counts as found.
  Settings.General.SearchContinue = true;
  Settings.General.SearchContinueQuery = true;
  testsupport::QueueAnswer(IDNO);
  SearchNextInEditor(*edit);
  ExpectSelection(*edit, {3, 2});
  EXPECT_TRUE(LocalSearchReplace.Found);
  // Not asked.
  Settings.General.SearchContinueQuery = false;
  SearchNextInEditor(*edit);
  ExpectSelection(*edit, {0, 2});
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

TEST_F(SearchTest, AnInvalidExpressionIsReportedAndChangesNothing) {
  auto edit = MakeEdit("a(b a(b");
  edit->SetSelStart(2);
  edit->SetSelLength(1);
  auto engineMessage = [](const std::string& Pattern) {
    try {
      int len = 0;
      RegExprFind("x", Pattern, true, len, 1, false);
    } catch (const ERegex& E) {
      return std::string(E.what());
    }
    return std::string("(valid)");
  };
  // The expression modes and whole words (an expression too) alike; one box per search.
  for (const char* flags : {"rn", "rp", "wn"}) {
    SCOPED_TRACE(flags);
    const bool words = flags[0] == 'w';
    Use("a(b", false, words, !words);
    const std::string message = engineMessage(words ? "\\ba(b\\b" : "a(b");
    LocalSearchReplace.Found = true;
    testsupport::QueueAnswer({IDOK}, [&](const ModalQuestion& Q) {
      EXPECT_EQ(Q.kind, ModalKind::MessageBox);
      EXPECT_EQ(Q.text, message);
      EXPECT_EQ(Q.flags, UINT(MB_OK | MB_ICONERROR));
    });
    if (flags[1] == 'n')
      SearchNextRegExprInEditor(*edit);
    else
      SearchPrevRegExprInEditor(*edit);
    EXPECT_EQ(testsupport::PendingAnswers(), 0u) << "not reported";
    EXPECT_FALSE(LocalSearchReplace.Found);
    EXPECT_EQ(edit->Text(), "a(b a(b");
    ExpectSelection(*edit, {2, 1});
  }
  EXPECT_FALSE(edit->CanUndo());
}

TEST_F(SearchTest, ARunawayExpressionIsReportedOnceAndChangesNothing) {
  auto edit = MakeEdit(testsupport::RunawayText());
  edit->SetSelStart(2);
  edit->SetSelLength(1);
  Use(testsupport::RunawayPattern, false, false, true);
  for (bool next : {true, false}) {
    SCOPED_TRACE(next ? "next" : "previous");
    LocalSearchReplace.Found = true;
    LocalSearchReplace.ErrorShown = false;
    testsupport::ExpectRunawayReport();
    next ? SearchNextRegExprInEditor(*edit) : SearchPrevRegExprInEditor(*edit);
    EXPECT_EQ(testsupport::PendingAnswers(), 0u) << "not reported";
    EXPECT_FALSE(LocalSearchReplace.Found);
    EXPECT_TRUE(LocalSearchReplace.ErrorShown);
    ExpectSelection(*edit, {2, 1});
  }
  EXPECT_EQ(testsupport::AskedQuestions().size(), 2u);
}

namespace {

// Lines of varied length (longer than the first chunks the searches read), with hits at line
// starts and ends, adjacent and overlapping ones, and at the first and last characters.
std::string StepText() {
  std::string text = "abab";
  for (int i = 1; i < 2500; ++i) {
    text += "\r\n";
    text += std::string(static_cast<size_t>(i * 37 % 150), static_cast<char>('c' + i % 20));
    if (i % 97 == 0) text += "aB";
    if (i % 131 == 0) text = text.substr(0, text.size() - 1) + "ab";
    if (i % 401 == 0) text += "\r\nAb";
  }
  return text + "xaba";
}

// The 0-based starts "find next" (or previous) selects one after the other from the given
// start, until the selection stays.
std::vector<int> Steps(TCustomCodeEdit& Edit, int Start, bool Forward) {
  std::vector<int> starts;
  Edit.SetSelStart(Start);
  for (;;) {
    const int before = Edit.SelStart(), length = Edit.SelLength();
    Forward ? SearchNextInEditor(Edit) : SearchPrevInEditor(Edit);
    if (Edit.SelStart() == before && Edit.SelLength() == length) return starts;
    // Backwards from the first character the search starts at the end again.
    if (std::find(starts.begin(), starts.end(), Edit.SelStart()) != starts.end()) return starts;
    starts.push_back(Edit.SelStart());
    EXPECT_EQ(Edit.SelLength(), static_cast<int>(LocalSearchReplace.SearchText.size()));
  }
}

}  // namespace

TEST_F(SearchTest, FindNextAndPreviousVisitEveryHitTheEngineFindsInTheWholeText) {
  const std::string text = StepText();
  auto edit = MakeEdit(text);
  for (bool caseSensitive : {false, true}) {
    SCOPED_TRACE(caseSensitive);
    Use("ab", caseSensitive);
    std::vector<int> expected;
    for (int p = FindText(text, "ab", caseSensitive, 1, false); p > 0;
         p = FindText(text, "ab", caseSensitive, p + 1, false))
      expected.push_back(p - 1);
    ASSERT_GT(expected.size(), 20u);
    EXPECT_EQ(expected.front(), 0);
    EXPECT_EQ(Steps(*edit, 0, true), expected);
    // Backwards from the end, down to the very first character.
    std::vector<int> backward(expected.rbegin(), expected.rend());
    EXPECT_EQ(Steps(*edit, static_cast<int>(text.size()), false), backward);
    // From inside a line and from a line break.
    const int middle = expected[expected.size() / 2];
    EXPECT_EQ(Steps(*edit, middle + 1, false).front(), middle);
    EXPECT_EQ(Steps(*edit, middle, false).front(), expected[expected.size() / 2 - 1]);
    const int brk = static_cast<int>(text.find("\r\n", static_cast<size_t>(middle)));
    const auto after = std::upper_bound(expected.begin(), expected.end(), brk);
    ASSERT_NE(after, expected.end());
    EXPECT_EQ(Steps(*edit, brk + 1, true).front(), *after);
  }
}

// Selecting a hit reports the move once, with the caret, the selection and the scroll
// together, and lands where moving the editor step by step lands.
TEST_F(SearchTest, SelectingAHitIsReportedOnceAndPlacedAsStepByStep) {
  std::string text;
  for (int line = 1; line <= 400; ++line) text += line % 97 == 0 ? "x Treffer\r\n" : "filler\r\n";
  for (bool expression : {false, true}) {
    SCOPED_TRACE(expression);
    Use("Treffer", true, false, expression);
    auto edit = MakeEdit(text);
    auto stepwise = MakeEdit(text);
    std::vector<TCodeStatusChanges> reports;
    edit->OnStatusChange = [&](TObject*, TCodeStatusChanges Changes) { reports.push_back(Changes); };
    edit->SetSelStart(0);
    for (int hit = 1; hit <= 4; ++hit) {
      reports.clear();
      expression ? SearchNextRegExprInEditor(*edit) : SearchNextInEditor(*edit);
      const int line = 97 * hit;
      ASSERT_EQ(reports.size(), 1u);
      for (auto change : {TCodeStatusChange::scCaretX, TCodeStatusChange::scCaretY,
                          TCodeStatusChange::scSelection, TCodeStatusChange::scTopLine})
        EXPECT_TRUE(reports[0].Contains(change));
      EXPECT_EQ(edit->BlockBegin(), (TBufferCoord{3, line}));
      EXPECT_EQ(edit->BlockEnd(), (TBufferCoord{10, line}));
      EXPECT_EQ(edit->CaretXY(), edit->BlockEnd());
      stepwise->GotoLineAndCenter(line);
      stepwise->SetCaretAndSelection({10, line}, {3, line}, {10, line});
      EXPECT_EQ(edit->TopLine(), stepwise->TopLine());
    }
  }
}

// Find next by expression reuses the document's text between steps; an edit, another
// document or a text set anew must be searched as it now stands.
TEST_F(SearchTest, ExpressionStepsSeeTheTextAsItNowStands) {
  Use("[0-9]+", false, false, true);
  auto edit = MakeEdit("a1\r\nb22\r\nc333");
  edit->SetSelStart(0);
  SearchNextRegExprInEditor(*edit);
  ExpectSelection(*edit, {1, 1});
  // Typed before the next hit: the step finds the new digits, not the old places.
  edit->SetCaretXY({1, 2});
  edit->SetSelText("77");
  edit->SetSelStart(2);
  SearchNextRegExprInEditor(*edit);
  ExpectSelection(*edit, {4, 2});
  SearchNextRegExprInEditor(*edit);
  ExpectSelection(*edit, {7, 2});
  // Another document with other text, then the first one with a text set anew.
  auto other = MakeEdit("xx\r\n4444");
  SearchNextRegExprInEditor(*other);
  ExpectSelection(*other, {4, 4});
  edit->SetText("zz 5");
  SearchNextRegExprInEditor(*edit);
  ExpectSelection(*edit, {3, 1});
  EXPECT_TRUE(LocalSearchReplace.Found);
}

TEST_F(SearchTest, EmptyMatchesMoveOnAndTheWrapFindsTheFirstAgain) {
  Settings.General.SearchContinue = true;
  Settings.General.SearchContinueQuery = true;
  auto edit = MakeEdit("a\r\nb\r\nc");
  Use("^", false, false, true);
  std::vector<int> starts;
  for (int i = 0; i < 2; ++i) {
    SearchNextRegExprInEditor(*edit);
    starts.push_back(edit->SelStart());
  }
  EXPECT_EQ(starts, (std::vector<int>{3, 6})) << "each empty match is passed once";
  EXPECT_EQ(edit->SelLength(), 0);
  testsupport::QueueAnswer(IDYES);
  SearchNextRegExprInEditor(*edit);
  EXPECT_EQ(testsupport::AskedQuestions().size(), 1u);
  EXPECT_EQ(edit->SelStart(), 0) << "after the wrap the first match is the hit";
  // Backwards nothing is found twice either.
  edit->SetSelStart(8);
  SearchPrevRegExprInEditor(*edit);
  EXPECT_EQ(edit->SelStart(), 6);
  SearchPrevRegExprInEditor(*edit);
  EXPECT_EQ(edit->SelStart(), 3);
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
    const char* Text;
    const char* Search;
    bool WholeWords, RegExpr;
    const char* Expected;
  };
  const Row rows[] = {
      {"aaaa", "aa", false, false, "1@1:1+2 2@1:2+2 3@1:3+2 "},  // overlapping
      {"ab\r\nxab\r\n\r\nab", "AB", false, false, "1@1:1+2 6@2:2+2 12@4:1+2 "},
      {"aaaa", "aa", false, true, "1@1:1+2 3@1:3+2 "},
      {"ab\r\ncd", "b\\r\\nc", false, true, "2@1:2+4 "},
      {"Wort Worte wort", "wort", true, false, "1@1:1+4 12@1:12+4 "},
      {"abc", "", false, false, ""},
      {"abc", "", false, true, ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.Text) + " / " + r.Search);
    Use(r.Search, false, r.WholeWords, r.RegExpr);
    EXPECT_EQ(Positions(AllHits(r.Text)), r.Expected);
  }
  Use("a");
  EXPECT_EQ(AllHits("aaaa", 2).size(), 2u);  // the listing stops when asked
  Use("a", false, false, true);
  EXPECT_EQ(AllHits("aaaa", 1).size(), 1u);
}

TEST_F(SearchTest, ThePreviewShowsTheHitInItsSurroundings) {
  Use("found");
  const std::string text = std::string(30, 'x') + "FOUND\r\n" + std::string(60, 'y');
  EXPECT_EQ(AllHits(text)[0].Preview, std::string(25, 'x') + "FOUND  " + std::string(18, 'y'));
  Use("ab");
  EXPECT_EQ(AllHits("ab\r\ncd")[0].Preview, "ab  cd");  // clipped at the start of the text
  Use("b\\r\\nc", false, false, true);
  EXPECT_EQ(AllHits("ab\r\ncd")[0].Preview, "b  c");
  Settings.General.SearchShowHits = false;
  EXPECT_EQ(AllHits("ab\r\ncd")[0].Preview, "");
}

// --- Histories -------------------------------------------------------------------------------

TEST(SearchHistory, ATextGoesToTheTopReplacingAnEntryInOtherCase) {
  TStringList items;
  items.SetText("eins\r\nZwei\r\n");
  EXPECT_FALSE(AddToHistory(items, "drei"));
  EXPECT_TRUE(AddToHistory(items, "zwei"));
  EXPECT_FALSE(AddToHistory(items, ""));
  EXPECT_EQ(items.Text(), "zwei\r\ndrei\r\neins\r\n");
  // The stored history keeps thirty entries.
  Settings.SearchMRU.Clear();
  for (int i = 1; i <= 31; ++i) AddToSearchMRU("s" + std::to_string(i));
  EXPECT_EQ(Settings.SearchMRU.Count(), 30);
  EXPECT_EQ(Settings.SearchMRU[29], "s2");
  AddToSearchMRU("S2");
  EXPECT_EQ(Settings.SearchMRU[0], "S2");
  EXPECT_EQ(Settings.SearchMRU.Count(), 30);
}
