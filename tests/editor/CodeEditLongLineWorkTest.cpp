// The work of a step on one very long wrapped line grows with the line once, not with the line
// times the rows shown or times the calls made: the highlighter scans it at most twice (the
// line state and the paint), a move never copies it and an edit copies it once (typing over
// a selection twice: it deletes, then inserts). The work is counted (tokens scanned, bytes
// allocated), not timed.
#include <gtest/gtest.h>
#include <windows.h>
#include <atomic>
#include <cstdlib>
#include <functional>
#include <new>
#include <string>
#include "TestCommentHighlighter.h"
#include "WrappedEditFixture.h"
#include "highlighters/CodeHighlighterURI.h"
#include "highlighters/CodeURIOpener.h"
#include "support/ScreenCapture.h"
#include "toolkit/KeyState.h"

using namespace codeedittest;

namespace {

// Bytes asked of operator new while counting is on; the test program's allocations all come
// through here.
std::atomic<bool> countingAllocations{false};
std::atomic<size_t> allocatedBytes{0};

void* Allocate(size_t Size) {
  if (countingAllocations) allocatedBytes += Size;
  if (void* p = std::malloc(Size > 0 ? Size : 1)) return p;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(size_t Size) { return Allocate(Size); }
void* operator new[](size_t Size) { return Allocate(Size); }
void operator delete(void* P) noexcept { std::free(P); }
void operator delete[](void* P) noexcept { std::free(P); }
void operator delete(void* P, size_t) noexcept { std::free(P); }
void operator delete[](void* P, size_t) noexcept { std::free(P); }

namespace {

// Counts the tokens it scans, whoever asks for them.
class TCountingHighlighter : public TCodeTestHighlighter {
public:
  using TCodeTestHighlighter::TCodeTestHighlighter;
  void NextToken() override {
    ++Tokens;
    TCodeTestHighlighter::NextToken();
  }
  long long Tokens = 0;
};

// Counts the characters it is given to scan.
class TCountingURIHighlighter : public TCodeURIHighlighter {
public:
  using TCodeURIHighlighter::TCodeURIHighlighter;
  void SetLine(const std::string& NewValue, int LineNumber) override {
    Scanned += NewValue.size();
    TCodeURIHighlighter::SetLine(NewValue, LineNumber);
  }
  size_t Scanned = 0;
};

struct TStep {
  const char* Name;
  std::function<void(TCustomCodeEdit&)> Run;
  int Grows;   // the change in the line's length
  int Copies;  // of the line, at most
};

void Command(TCustomCodeEdit& Edit, TCodeEditorCommand Command, char Char = '\0') {
  Edit.CommandProcessor(Command, Char, nullptr);
}

// Ctrl+End to the line's end, then the steps a user takes there; each step's result is painted.
const TStep kSteps[] = {
    {"Ctrl+End", [](TCustomCodeEdit& E) { Command(E, ecEditorBottom); }, 0, 0},
    {"typing a character", [](TCustomCodeEdit& E) { Command(E, ecChar, 'x'); }, 1, 1},
    {"undo", [](TCustomCodeEdit& E) { Command(E, ecUndo); }, -1, 1},
    {"redo", [](TCustomCodeEdit& E) { Command(E, ecRedo); }, 1, 1},
    {"Backspace", [](TCustomCodeEdit& E) { Command(E, ecDeleteLastChar); }, -1, 1},
    {"caret left", [](TCustomCodeEdit& E) { Command(E, ecLeft); }, 0, 0},
    {"Delete", [](TCustomCodeEdit& E) { Command(E, ecDeleteChar); }, -1, 1},
    {"word left", [](TCustomCodeEdit& E) { Command(E, ecWordLeft); }, 0, 0},
    {"Home", [](TCustomCodeEdit& E) { Command(E, ecLineStart); }, 0, 0},
    {"End", [](TCustomCodeEdit& E) { Command(E, ecLineEnd); }, 0, 0},
    {"selecting left", [](TCustomCodeEdit& E) { Command(E, ecSelLeft); }, 0, 0},
    {"typing over the selection", [](TCustomCodeEdit& E) { Command(E, ecChar, 'y'); }, 0, 2},
    {"scrolling up a row", [](TCustomCodeEdit& E) { Command(E, ecScrollUp); }, 0, 0},
    {"typing in the middle",
     [](TCustomCodeEdit& E) {
       E.SetCaretXY({static_cast<int>(E.Lines().View(0).size() / 2), 1});
       Command(E, ecChar, 'z');
     },
     1, 1},
};

class LongLineWorkTest : public WrappedEditTest {
protected:
  // Words and blanks: 2 tokens every 5 characters, over 1500 rows of 40 columns.
  static constexpr int kWords = 12000;

  // With the options the program's documents have: the scroll width follows the line.
  void SetUp() override {
    std::string line;
    for (int i = 0; i < kWords; ++i) line += "word ";
    ShowWrapped(line, With(CodeEditDefaultOptions, TCodeEditorOption::eoAutoSizeMaxScrollWidth));
    lineLength_ = line.size();
  }
  void PaintNow() { UpdateWindow(edit_->Handle()); }
  // Runs the step and paints its result; checks that it did what it does.
  void Run(const TStep& Step) {
    const size_t before = edit_->Lines().View(0).size();
    Step.Run(*edit_);
    PaintNow();
    EXPECT_EQ(static_cast<long long>(edit_->Lines().View(0).size()),
              static_cast<long long>(before) + Step.Grows)
        << Step.Name;
  }

  size_t lineLength_ = 0;
};

TEST_F(LongLineWorkTest, EachStepScansTheLineWithTheHighlighterAtMostTwice) {
  TCountingHighlighter highlighter(nullptr);
  edit_->SetHighlighter(&highlighter);
  PaintNow();
  const long long lineTokens = 2 * kWords + 1;
  for (const TStep& step : kSteps) {
    highlighter.Tokens = 0;
    Run(step);
    EXPECT_LE(highlighter.Tokens, 2 * lineTokens + 16) << step.Name;
  }
  edit_->SetHighlighter(nullptr);
}

// A highlighter that can resume behind a blank is given only the end of the line to scan for
// the line's last rows, and the address there is still coloured as a link.
TEST_F(LongLineWorkTest, TheEndOfTheLineIsScannedFromAResumePoint) {
  TCountingURIHighlighter highlighter(nullptr);
  edit_->SetText(std::string(edit_->Lines().View(0)) + "see http://example.org/x");
  edit_->SetHighlighter(&highlighter);
  highlighter.Scanned = 0;
  Command(*edit_, ecEditorBottom);
  PaintNow();
  EXPECT_LE(highlighter.Scanned, lineLength_ / 10);
  auto cell = [&](int Char) {
    const POINT at = edit_->RowColumnToPixels(edit_->BufferToDisplayPos({Char, 1}));
    return RECT{at.x, at.y, at.x + edit_->CharWidth(), at.y + edit_->LineHeight()};
  };
  const int see = static_cast<int>(lineLength_) + 1;
  const testsupport::TScreenCapture screen(edit_->Handle());
  EXPECT_FALSE(screen.Contains(cell(see), RGB(0, 0, 255)));
  EXPECT_TRUE(screen.Contains(cell(see + 4), RGB(0, 0, 255)));  // the "h" of "http"
  edit_->SetHighlighter(nullptr);
}

// Ctrl pressed and released with the mouse pointer over a long line without blanks looks for
// a link under the pointer: the highlighter is given a stretch close to it, and pressing again
// without a move or a change asks nothing of the highlighter.
TEST_F(LongLineWorkTest, CtrlOverTheTextLooksCloseToThePointerAndOnce) {
  std::string line;
  while (line.size() < lineLength_) line += "QUJDREVGR0hJ+SktMTU5PUFFS/U1RVVldYWVph";
  line += ",http://example.org/x";
  edit_->SetText(line);
  TCountingURIHighlighter highlighter(nullptr);
  edit_->SetHighlighter(&highlighter);
  TCodeURIOpener opener(nullptr);
  opener.SetEditor(edit_.get());
  opener.SetURIHighlighter(&highlighter);
  Command(*edit_, ecEditorBottom);
  PaintNow();
  SetForegroundWindow(window_->Handle());
  ::SetFocus(edit_->Handle());
  const int inLink = static_cast<int>(line.size()) - 8;  // on "example"
  POINT over = edit_->RowColumnToPixels(edit_->BufferToDisplayPos({inLink, 1}));
  over.x += edit_->CharWidth() / 2;
  over.y += edit_->LineHeight() / 2;
  ClientToScreen(edit_->Handle(), &over);
  SetCursorPos(over.x, over.y);
  // The cursor shown while Ctrl is down.
  auto pressAndRelease = [&] {
    SetKeyStateOverride([](int Key) { return Key == VK_CONTROL; });
    SendMessageA(edit_->Handle(), WM_KEYDOWN, VK_CONTROL, 1);
    const HCURSOR shown = GetCursor();
    SetKeyStateOverride([](int) { return false; });
    SendMessageA(edit_->Handle(), WM_KEYUP, VK_CONTROL, 0xC0000001);
    return shown;
  };
  highlighter.Scanned = 0;
  EXPECT_EQ(pressAndRelease(), HandPointCursor());
  EXPECT_LE(highlighter.Scanned, lineLength_ / 10);
  highlighter.Scanned = 0;
  EXPECT_EQ(pressAndRelease(), HandPointCursor());
  EXPECT_EQ(highlighter.Scanned, 0u);
  SetKeyStateOverride(nullptr);
  opener.SetEditor(nullptr);
  edit_->SetHighlighter(nullptr);
}

TEST_F(LongLineWorkTest, MovesCopyTheLineNeverAndEditsAsOftenAsTheyChangeIt) {
  PaintNow();
  for (const TStep& step : kSteps) {
    allocatedBytes = 0;
    countingAllocations = true;
    Run(step);
    countingAllocations = false;
    EXPECT_LE(allocatedBytes.load(), step.Copies * lineLength_ + lineLength_ / 4) << step.Name;
  }
}

}  // namespace

namespace {

// Every inner bracket is a candidate the search looks at, with the highlighter telling whether
// a comment hides it: each line is scanned once for all of them.
TEST(LongLineBrackets, MatchingABracketScansTheLineOnce) {
  std::string line = "f(";
  for (int i = 0; i < 2000; ++i) line += "g(x) ";
  line += "/* ) */)";
  const int last = static_cast<int>(line.size());
  auto edit = MakeEdit(line);
  TCountingHighlighter highlighter(nullptr);
  edit->SetHighlighter(&highlighter);
  const long long lineTokens = 5 * 2000 + 5;
  const std::pair<TBufferCoord, TBufferCoord> searches[] = {{{2, 1}, {last, 1}},
                                                            {{last, 1}, {2, 1}}};
  for (const auto& [from, match] : searches) {
    highlighter.Tokens = 0;
    EXPECT_EQ(edit->GetMatchingBracketEx(from), match) << from.Char;
    EXPECT_LE(highlighter.Tokens, 2 * lineTokens) << from.Char;
  }
  edit->SetHighlighter(nullptr);
}

}  // namespace
