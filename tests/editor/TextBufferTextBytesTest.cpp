// The byte count kept by the line list stays equal to a recount through every kind of
// change, and the control's text length follows it.
#include <gtest/gtest.h>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>
#include "editor/CodeEditTestFixture.h"
#include "editor/CodeEditTextBuffer.h"
#include "rtl/StringList.h"

using namespace codeedittest;

namespace {

int64_t Recount(const TCodeEditStringList& List) {
  int64_t total = 0;
  for (int i = 0; i < List.Count(); ++i) total += static_cast<int64_t>(List.View(i).size());
  return total;
}

class TWalk {
public:
  explicit TWalk(uint32_t Seed) : rnd_(Seed) {}

  std::string Line() {
    std::string s(Below(3) == 0 ? 0 : Below(40), ' ');
    for (char& c : s) c = static_cast<char>('a' + Below(26));
    return s;
  }
  std::string Text(int Lines) {
    std::string s;
    for (int i = 0; i < Lines; ++i) s += (i ? "\r\n" : "") + Line();
    return s;
  }
  int Below(int N) { return N <= 0 ? 0 : static_cast<int>(rnd_() % static_cast<uint32_t>(N)); }
  // An index in 0..Count-1, or -1 for an empty list.
  int Some(const TCodeEditStringList& L) { return L.Count() ? Below(L.Count()) : -1; }

  std::string Step(TCodeEditStringList& L) {
    switch (Below(14)) {
      case 0: if (int i = Some(L); i >= 0) L.Put(i, Line()); return "put";
      case 1: L.Put(L.Count(), Line()); return "put at the end";
      case 2: L.Insert(Below(L.Count() + 1), Line()); return "insert";
      case 3: L.Add(Line()); return "add";
      case 4: if (int i = Some(L); i >= 0) L.Delete(i); return "delete";
      case 5: L.DeleteLines(Below(L.Count() + 1), Below(6)); return "delete lines";
      case 6: L.InsertLines(Below(L.Count() + 1), Below(4)); return "insert lines";
      case 7: {
        // Long runs share one block; short ones copy each line.
        std::vector<std::string> texts(Below(2) ? 1100 : Below(5));
        for (std::string& t : texts) t = Line();
        L.InsertStrings(Below(L.Count() + 1), std::vector<std::string_view>(texts.begin(), texts.end()));
        return "insert strings";
      }
      case 8: {
        TStringList more;
        for (int i = Below(4); i > 0; --i) more.Add(Line());
        L.AddStrings(more);
        return "add strings";
      }
      case 9: if (L.Count()) L.Exchange(Some(L), Some(L)); return "exchange";
      case 10: if (Below(4) == 0) L.Clear(); return "clear";
      case 11: L.SetText(Text(Below(50))); return "set text";
      case 12: L.SetText(std::string(Text(Below(50)) + (Below(2) ? "\r\n" : ""))); return "take text";
      default: {
        TMemoryStream stream(Text(Below(50)) + "\n");
        L.LoadFromStream(stream);
        return "load";
      }
    }
  }

private:
  std::mt19937 rnd_;
};

TEST(TextBufferTextBytes, EqualsARecountAfterEveryKindOfChange) {
  for (uint32_t seed = 1; seed <= 3; ++seed) {
    TWalk walk(seed);
    TCodeEditStringList list;
    EXPECT_EQ(list.TextBytes(), 0);
    for (int step = 0; step < 400; ++step) {
      std::string done = walk.Step(list);
      ASSERT_EQ(list.TextBytes(), Recount(list)) << "seed " << seed << ", step " << step << ": " << done;
    }
  }
}

// Handlers may change lines while a load fills the list, or start another load.
TEST(TextBufferTextBytes, KeptWhenHandlersChangeTheListDuringALoad) {
  TCodeEditStringList list;
  bool reloaded = false;
  list.OnLinesInserted = [&](TObject*, int Index, int) {
    if (Index == 1) list.Put(0, "changed meanwhile");
    if (Index == 3 && !reloaded) {
      reloaded = true;
      list.SetText("other\r\ntext");
    }
  };
  list.SetText("one\r\ntwo\r\nthree\r\nfour\r\nfive");
  EXPECT_EQ(list.TextBytes(), Recount(list));
  EXPECT_TRUE(reloaded);
}

TEST(TextBufferTextBytes, ControlTextLengthMatchesItsTextThroughEditsAndUndo) {
  auto edit = MakeEdit("first\r\nsecond\r\n\r\nlast");
  auto check = [&](const char* What) {
    SCOPED_TRACE(What);
    EXPECT_EQ(edit->TextLength(), static_cast<int64_t>(edit->Text().size()));
  };
  check("loaded");
  edit->SetCaretXY({3, 2});
  Type(*edit, "typed");
  check("typed");
  Cmd(*edit, ecLineBreak);
  check("line break");
  Select(*edit, {2, 1}, {2, 4});
  edit->SetSelText("x\r\ny");
  check("replaced across lines");
  edit->Undo();
  check("undone");
  edit->Redo();
  check("redone");
  edit->ClearAll();
  check("cleared");
  EXPECT_EQ(edit->TextLength(), 0);
}

}  // namespace
