// Changes on lines longer than the scroll width: the caret stops at the width, but undo and
// redo put back exactly the text that was changed.
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include "editor/CodeEditTestFixture.h"

using namespace codeedittest;
using EO = TCodeEditorOption;

namespace {

using TChange = std::function<void(TCustomCodeEdit&)>;

// The default width of 1024 columns, not grown by the text.
TCodeEditorOptions FixedWidth() {
  return With(WithOut(CodeEditDefaultOptions, EO::eoAutoSizeMaxScrollWidth), EO::eoScrollPastEol);
}

std::string Letters(int Length) {
  std::string s;
  for (int i = 0; i < Length; ++i) s += static_cast<char>('a' + i % 26);
  return s;
}

TChange InsertAt(TBufferCoord At, std::string Text) {
  return [=](TCustomCodeEdit& E) {
    E.SetCaretXY(At);
    E.SetSelText(Text);
  };
}
TChange PasteAt(TBufferCoord At, std::string Text) {
  return [=](TCustomCodeEdit& E) {
    TClipboard& clipboard = Clipboard();
    ASSERT_TRUE(clipboard.Open(nullptr));
    clipboard.Empty();
    clipboard.SetData(CF_TEXT, Text);
    clipboard.Close();
    E.SetCaretXY(At);
    E.PasteFromClipboard();
  };
}
TChange DeleteSpan(TBufferCoord From, TBufferCoord To) {
  return [=](TCustomCodeEdit& E) {
    Select(E, From, To);
    E.SetSelText(std::string());
  };
}
TChange ReplaceSpan(TBufferCoord From, TBufferCoord To, std::string Text) {
  return [=](TCustomCodeEdit& E) {
    Select(E, From, To);
    E.SetSelText(Text);
  };
}

struct TLongLineCase {
  const char* Name;
  std::string Initial;
  TChange Change;
  std::string Changed;
  // A selection past the width needs the caret kept to line ends: otherwise it stops at
  // the width too.
  bool PastTheWidth = false;
};

const std::string kLong = Letters(3000);

const TLongLineCase kCases[] = {
    {"insert a line of exactly 1024", "x\r\ny", InsertAt({2, 1}, Letters(1024)), "x" + Letters(1024) + "\r\ny"},
    {"insert a line of 1025", "x\r\ny", InsertAt({2, 1}, Letters(1025)), "x" + Letters(1025) + "\r\ny"},
    {"insert a line of 5000", "", InsertAt({1, 1}, Letters(5000)), Letters(5000)},
    {"insert long lines with breaks", "", InsertAt({1, 1}, Letters(2000) + "\r\n" + Letters(1500)),
     Letters(2000) + "\r\n" + Letters(1500)},
    {"paste a line of 1025", "ab", PasteAt({2, 1}, Letters(1025)), "a" + Letters(1025) + "b"},
    {"paste a line of 4000", "", PasteAt({1, 1}, Letters(4000)), Letters(4000)},
    {"delete from before the width into the next line", kLong + "\r\nrest",
     DeleteSpan({1000, 1}, {3, 2}), kLong.substr(0, 999) + "st"},
    {"replace a whole long line", "x\r\n" + kLong + "\r\ny", ReplaceSpan({1, 2}, {1, 3}, "short\r\n"),
     "x\r\nshort\r\ny"},
    {"replace a line by a long one", "x\r\nshort\r\ny", ReplaceSpan({1, 2}, {6, 2}, kLong),
     "x\r\n" + kLong + "\r\ny"},
    {"delete past the width", kLong, DeleteSpan({1500, 1}, {1600, 1}),
     kLong.substr(0, 1499) + kLong.substr(1599), true},
    {"delete across the width", kLong, DeleteSpan({1000, 1}, {2000, 1}),
     kLong.substr(0, 999) + kLong.substr(1999), true},
    {"replace past the width", kLong, ReplaceSpan({2000, 1}, {2010, 1}, "XY"),
     kLong.substr(0, 1999) + "XY" + kLong.substr(2009), true},
    {"delete a line break past the width", kLong + "\r\nrest",
     DeleteSpan({3001, 1}, {1, 2}), kLong + "rest", true},
};

// With the caret kept to line ends, replays still stand the caret past the width.
TEST(LongLineUndo, UndoRedoUndoRestoresExactly) {
  TFakeClipboard clipboard;
  for (bool pastEol : {true, false}) {
    for (const TLongLineCase& c : kCases) {
      if (c.PastTheWidth && pastEol) continue;
      SCOPED_TRACE(std::string(c.Name) + (pastEol ? "" : ", caret kept to line ends"));
      auto edit = MakeEdit(c.Initial, pastEol ? FixedWidth()
                                              : WithOut(FixedWidth(), EO::eoScrollPastEol));
      c.Change(*edit);
      EXPECT_EQ(edit->Text(), c.Changed);
      edit->Undo();
      EXPECT_EQ(edit->Text(), c.Initial);
      edit->Redo();
      EXPECT_EQ(edit->Text(), c.Changed);
      if (pastEol) {
        EXPECT_LE(edit->CaretX(), edit->MaxScrollWidth() + 1) << "keeps to the width";
      }
      edit->Undo();
      EXPECT_EQ(edit->Text(), c.Initial);
      edit->Redo();
      EXPECT_EQ(edit->Text(), c.Changed);
    }
  }
}

// Typing goes on up to the width and stops there; what was typed comes back out whole.
TEST(LongLineUndo, TypingUpToTheWidthUndoesWhole) {
  auto edit = MakeEdit("", FixedWidth());
  std::string typed = Letters(1030);
  Type(*edit, typed);
  EXPECT_EQ(edit->Text(), typed.substr(0, 1024));
  EXPECT_EQ(edit->CaretX(), 1025);
  while (edit->CanUndo()) edit->Undo();
  EXPECT_EQ(edit->Text(), "");
  while (edit->CanRedo()) edit->Redo();
  EXPECT_EQ(edit->Text(), typed.substr(0, 1024));
}

}  // namespace
