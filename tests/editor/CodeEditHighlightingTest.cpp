#include <gtest/gtest.h>
#include <vector>
#include "editor/CodeEditHighlighter.h"
#include "editor/CodeEditLineStates.h"
#include "editor/CodeEditTestFixture.h"

using namespace codeedittest;

namespace {
// Strings in double quotes, which may run over line ends (state 1 inside a string); every
// other character is a symbol token of its own.
class TQuoteHighlighter : public TCodeCustomHighlighter {
public:
  TQuoteHighlighter() : TCodeCustomHighlighter(nullptr) {
    string_ = AddAttribute(std::make_unique<TCodeHighlighterAttributes>("String"));
    symbol_ = AddAttribute(std::make_unique<TCodeHighlighterAttributes>("Symbol"));
  }
  TCodeHighlighterAttributes* GetDefaultAttribute(int Index) const override {
    return Index == 3 ? string_ : Index == 5 ? symbol_ : nullptr;
  }
  bool AtLineEnd() const override { return pos_ >= static_cast<int>(line_.size()); }
  std::string GetToken() const override { return line_.substr(pos_, end_ - pos_); }
  TCodeHighlighterAttributes* GetTokenAttribute() const override {
    return tokenIsString_ ? string_ : symbol_;
  }
  int GetTokenKind() const override { return tokenIsString_ ? 3 : 5; }
  int GetTokenPos() const override { return pos_; }
  void NextToken() override {
    pos_ = end_;
    Scan();
  }
  void SetLine(const std::string& NewValue, int) override {
    ++LinesScanned;
    line_ = NewValue;
    pos_ = end_ = 0;
    Scan();
  }
  TCodeHighlighterRange GetRange() const override { return inString_ ? 1 : 0; }
  void SetRange(TCodeHighlighterRange Value) override { inString_ = Value == 1; }
  void ResetRange() override { inString_ = false; }

  int LinesScanned = 0;

private:
  void Scan() {
    if (AtLineEnd()) return;
    tokenIsString_ = inString_ || line_[pos_] == '"';
    if (!tokenIsString_) {
      end_ = pos_ + 1;
      return;
    }
    size_t from = inString_ ? pos_ : pos_ + 1;
    size_t close = line_.find('"', from);
    inString_ = close == std::string::npos;
    end_ = inString_ ? static_cast<int>(line_.size()) : static_cast<int>(close) + 1;
  }

  TCodeHighlighterAttributes* string_;
  TCodeHighlighterAttributes* symbol_;
  std::string line_;
  int pos_ = 0;
  int end_ = 0;
  bool inString_ = false;
  bool tokenIsString_ = false;
};
}  // namespace

// States are scanned only as far as someone asks, and only once.
TEST(CodeEditHighlighting, StatesAreScannedWhenAskedForAndKept) {
  TQuoteHighlighter hl;
  auto edit = MakeEdit("a\r\n\"open\r\n" + std::string(10000, 'x') + "\r\nclose\" b\r\nc");
  edit->SetHighlighter(&hl);
  EXPECT_EQ(hl.LinesScanned, 0);
  StartHighlighterAtLine(hl, edit->Lines(), 2);
  EXPECT_EQ(hl.LinesScanned, 2);
  EXPECT_EQ(hl.GetRange(), 1);  // the long line starts inside the string
  StartHighlighterAtLine(hl, edit->Lines(), 5);
  EXPECT_EQ(hl.LinesScanned, 5);
  std::vector<intptr_t> states;
  for (int i = 0; i < 5; ++i) states.push_back(edit->Lines().GetRange(i));
  EXPECT_EQ(states, (std::vector<intptr_t>{0, 1, 1, 0, 0}));
  StartHighlighterAtLine(hl, edit->Lines(), 3);
  EXPECT_EQ(hl.LinesScanned, 5);
  EXPECT_EQ(hl.GetRange(), 1);
  edit->SetHighlighter(nullptr);
}

// An edit among scanned lines rescans until a line ends as before; below unscanned lines
// it scans nothing.
TEST(CodeEditHighlighting, AnEditRescansOnlyUntilALineEndsInItsStoredState) {
  TQuoteHighlighter hl;
  auto edit = MakeEdit("a\r\nb\r\nc\r\nd\r\ne\r\n\"x\"");
  edit->SetHighlighter(&hl);
  edit->SetCaretXY({2, 1});
  Type(*edit, "z");
  EXPECT_EQ(hl.LinesScanned, 0);
  StartHighlighterAtLine(hl, edit->Lines(), 6);
  hl.LinesScanned = 0;
  Type(*edit, "z");
  EXPECT_EQ(hl.LinesScanned, 1);
  edit->SetCaretXY({1, 2});
  Type(*edit, "\"");
  EXPECT_EQ(edit->Lines().RangesScanned(&hl), 6);
  EXPECT_EQ(edit->Lines().GetRange(4), 1);  // everything below is inside the string now
  EXPECT_EQ(edit->Lines().GetRange(5), 1);
  edit->SetHighlighter(nullptr);
}

TEST(CodeEditHighlighting, SettingTheSameHighlighterAgainDoesNothing) {
  TQuoteHighlighter hl;
  auto edit = MakeEdit("a\r\nb");
  edit->SetHighlighter(&hl);
  StartHighlighterAtLine(hl, edit->Lines(), 2);
  hl.LinesScanned = 0;
  edit->SetHighlighter(&hl);
  StartHighlighterAtLine(hl, edit->Lines(), 2);
  EXPECT_EQ(hl.LinesScanned, 0);
  edit->SetHighlighter(nullptr);
}

TEST(CodeEditHighlighting, TokenAtAPositionAndBracketsInsideStringsAreSkipped) {
  TQuoteHighlighter hl;
  auto edit = MakeEdit("f(a, \")\", b)");
  edit->SetHighlighter(&hl);
  std::string token;
  TCodeHighlighterAttributes* attr = nullptr;
  ASSERT_TRUE(edit->GetHighlighterAttriAtRowCol({7, 1}, token, attr));
  EXPECT_EQ(token, "\")\"");
  EXPECT_EQ(attr, hl.GetDefaultAttribute(3));
  EXPECT_FALSE(edit->GetHighlighterAttriAtRowCol({13, 1}, token, attr));
  EXPECT_EQ(edit->GetMatchingBracketEx({2, 1}), (TBufferCoord{12, 1}));
  edit->SetHighlighter(nullptr);
  EXPECT_EQ(edit->GetMatchingBracketEx({2, 1}), (TBufferCoord{7, 1}));
}
