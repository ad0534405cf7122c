// Coordinates, the option objects of the editor, event chains and the built-in images.
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <vector>
#include "editor/CodeEditMiscClasses.h"
#include "editor/CodeEditMiscProcs.h"
#include "editor/CodeEditTypes.h"

namespace {
// Counts OnChange notifications of an option object.
template <class T>
int* CountChanges(T& Options) {
  auto count = std::make_shared<int>(0);
  Options.OnChange = [count](TObject*) { ++*count; };
  return count.get();
}
}  // namespace

TEST(BufferCoord, OrdersByLineThenChar) {
  EXPECT_LT(BufferCoord(9, 1), BufferCoord(1, 2));
  EXPECT_LT(BufferCoord(1, 2), BufferCoord(2, 2));
  EXPECT_EQ(MinBufferCoord(BufferCoord(5, 3), BufferCoord(7, 2)), BufferCoord(7, 2));
  EXPECT_EQ(MinBufferCoord(BufferCoord(2, 4), BufferCoord(3, 4)), BufferCoord(2, 4));
  EXPECT_EQ(DisplayCoord(3, 4).Column, 3);
  EXPECT_EQ(DisplayCoord(3, 4).Row, 4);
}

TEST(IntegerHelpers, ClampAndSwap) {
  EXPECT_EQ(ClampValue(5, 2, 256), 5);
  EXPECT_EQ(ClampValue(1, 2, 256), 2);
  EXPECT_EQ(ClampValue(300, 2, 256), 256);
  int a = 1, b = 2;
  SwapIntegers(a, b);
  EXPECT_EQ(a, 2);
  EXPECT_EQ(b, 1);
}

TEST(SelectedColor, FiresOnlyOnEffectiveChangesAndOnceOnAssign) {
  TCodeSelectedColor colors;
  EXPECT_EQ(colors.Background(), clHighlight);
  EXPECT_EQ(colors.Foreground(), clHighlightText);
  int changes = 0;
  colors.OnChange = [&](TObject* Sender) {
    EXPECT_EQ(Sender, &colors);
    ++changes;
  };
  colors.SetBackground(clHighlight);
  EXPECT_EQ(changes, 0);
  colors.SetBackground(clRed);
  colors.SetForeground(clBlue);
  EXPECT_EQ(changes, 2);
  TCodeSelectedColor source;
  colors.Assign(source);
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(colors.Background(), clHighlight);
}

TEST(GutterDigits, AutoSizeGrowsPastDigitCountOnly) {
  TCodeGutter g;
  g.SetShowLineNumbers(true);
  g.SetAutoSize(true);
  g.SetDigitCount(2);
  g.AutoSizeDigitCount(999);
  EXPECT_EQ(g.FormatLineNumber(1).size(), 3u);
  g.AutoSizeDigitCount(9);
  EXPECT_EQ(g.FormatLineNumber(1), " 1");
}

TEST(GutterDigits, HighestNumberFollowsZeroStartAndLineNumberStart) {
  TCodeGutter g;
  g.SetShowLineNumbers(true);
  g.SetAutoSize(true);
  g.SetDigitCount(2);
  g.SetZeroStart(true);
  g.AutoSizeDigitCount(100);  // highest shown: 99
  EXPECT_EQ(g.FormatLineNumber(100), "99");
  g.SetZeroStart(false);
  g.SetLineNumberStart(901);
  g.AutoSizeDigitCount(100);  // highest shown: 1000
  EXPECT_EQ(g.FormatLineNumber(1), " 901");
}

TEST(GutterDigits, WithoutAutoSizeOrWhenHiddenDigitCountIsUsed) {
  TCodeGutter g;
  g.SetShowLineNumbers(true);
  g.AutoSizeDigitCount(123456);
  EXPECT_EQ(g.FormatLineNumber(1), "   1");
  g.SetAutoSize(true);
  g.SetVisible(false);
  g.AutoSizeDigitCount(123456);
  EXPECT_EQ(g.FormatLineNumber(1), "   1");
}

TEST(GutterDigits, AutoSizeNotifiesOnlyWhenTheCountChanges) {
  TCodeGutter g;
  g.SetShowLineNumbers(true);
  g.SetAutoSize(true);
  int* changes = CountChanges(g);
  g.AutoSizeDigitCount(50);
  EXPECT_EQ(*changes, 0);
  g.AutoSizeDigitCount(12345);
  g.AutoSizeDigitCount(23456);
  EXPECT_EQ(*changes, 1);
}

TEST(GutterLineNumbers, LeadingZerosAndZeroStart) {
  TCodeGutter g;
  g.SetLeadingZeros(true);
  EXPECT_EQ(g.FormatLineNumber(7), "0007");
  g.SetZeroStart(true);
  EXPECT_EQ(g.FormatLineNumber(7), "0006");
  EXPECT_EQ(g.FormatLineNumber(1), "0000");
  g.SetLeadingZeros(false);
  EXPECT_EQ(g.FormatLineNumber(1), "   0");
  g.SetZeroStart(false);
  EXPECT_EQ(g.FormatLineNumber(123456), "123456");
}

TEST(GutterWidth, HiddenIsZeroNumbersAddOffsetsElseWidth) {
  TCodeGutter g;
  EXPECT_EQ(g.RealGutterWidth(8), 30);
  g.SetShowLineNumbers(true);
  EXPECT_EQ(g.RealGutterWidth(8), 16 + 2 + 4 * 8 + 2);
  g.SetVisible(false);
  g.SetWidth(50);
  EXPECT_EQ(g.RealGutterWidth(8), 0);
}

TEST(GutterChanges, SettersAndFontFireAssignFiresOnce) {
  TCodeGutter g;
  int* changes = CountChanges(g);
  g.SetWidth(30);
  EXPECT_EQ(*changes, 0);
  g.SetWidth(40);
  g.SetGradient(true);
  g.Font().SetSize(12);
  EXPECT_EQ(*changes, 3);
  TCodeGutter source;
  source.SetColor(clRed);
  g.Assign(source);
  EXPECT_EQ(*changes, 4);
  EXPECT_EQ(g.Color(), clRed);
  EXPECT_EQ(g.Width(), 30);
  EXPECT_EQ(g.Font().Size(), 8);
}

TEST(BookMarkOptions, FireOnlyOnEffectiveChanges) {
  TCodeBookMarkOpt opt(nullptr);
  int* changes = CountChanges(opt);
  opt.SetXoffset(12);
  opt.SetXoffset(14);
  opt.SetEnableKeys(false);
  EXPECT_EQ(*changes, 2);
}

namespace {
struct Listener : TObject {
  explicit Listener(std::vector<std::string>& Log, std::string Name) : log(Log), name(Name) {}
  void Changed(TObject* Sender) { log.push_back(name + (Sender ? "" : "?")); }
  void Other(TObject*) { log.push_back(name + "-other"); }
  void Fail(TObject*) { throw std::runtime_error("handler failed"); }
  std::vector<std::string>& log;
  std::string name;
};
}  // namespace

TEST(NotifyEventChain, FiresInRegistrationOrderWithItsSender) {
  TObject sender;
  TCodeNotifyEventChain chain(&sender);
  std::vector<std::string> log;
  Listener a(log, "a"), b(log, "b");
  chain.Add(TCodeNotifyMethod(&b, &Listener::Changed));
  chain.Add(TCodeNotifyMethod(&a, &Listener::Changed));
  chain.Add(TCodeNotifyMethod(&a, &Listener::Other));
  chain.Fire();
  EXPECT_EQ(log, (std::vector<std::string>{"b", "a", "a-other"}));
}

TEST(NotifyEventChain, RemoveTakesTheLatestRegistrationOfThatObjectAndMethod) {
  TObject sender;
  TCodeNotifyEventChain chain(&sender);
  std::vector<std::string> log;
  Listener a(log, "a"), b(log, "b");
  chain.Add(TCodeNotifyMethod(&a, &Listener::Changed));
  chain.Add(TCodeNotifyMethod(&b, &Listener::Changed));
  chain.Add(TCodeNotifyMethod(&a, &Listener::Changed));
  chain.Remove(TCodeNotifyMethod(&a, &Listener::Changed));
  chain.Remove(TCodeNotifyMethod(&a, &Listener::Other));  // never added: ignored
  chain.Fire();
  EXPECT_EQ(log, (std::vector<std::string>{"a", "b"}));
}

TEST(NotifyEventChain, MissingHandlerRaisesNamingChainAndOperation) {
  TCodeNotifyEventChain chain(nullptr);
  try {
    chain.Add(TCodeNotifyMethod());
    FAIL() << "no exception";
  } catch (const ECodeMethodChain& e) {
    EXPECT_EQ(std::string(e.what()).rfind("TCodeNotifyEventChain.Add", 0), 0u) << e.what();
  }
  Listener* none = nullptr;
  EXPECT_THROW(chain.Remove(TCodeNotifyMethod(none, &Listener::Changed)), ECodeMethodChain);
}

TEST(NotifyEventChain, HandlersAddedDuringFireAreCalledToo) {
  TCodeNotifyEventChain chain(nullptr);
  std::vector<std::string> log;
  Listener late(log, "late");
  struct Adder : TObject {
    TCodeNotifyEventChain* chain;
    Listener* late;
    void Add(TObject*) { chain->Add(TCodeNotifyMethod(late, &Listener::Changed)); }
  } adder;
  adder.chain = &chain;
  adder.late = &late;
  chain.Add(TCodeNotifyMethod(&adder, &Adder::Add));
  chain.Fire();
  EXPECT_EQ(log, (std::vector<std::string>{"late?"}));
}

TEST(NotifyEventChain, ExceptionPassesOnUnlessOnExceptionLetsItContinue) {
  TCodeNotifyEventChain chain(nullptr);
  std::vector<std::string> log;
  Listener a(log, "a");
  chain.Add(TCodeNotifyMethod(&a, &Listener::Fail));
  chain.Add(TCodeNotifyMethod(&a, &Listener::Changed));
  EXPECT_THROW(chain.Fire(), std::runtime_error);
  EXPECT_TRUE(log.empty());

  std::string seen;
  chain.OnException = [&](TObject*, const std::exception& E, bool& DoContinue) {
    seen = E.what();
    DoContinue = true;
  };
  chain.Fire();
  EXPECT_EQ(seen, "handler failed");
  EXPECT_EQ(log, (std::vector<std::string>{"a?"}));

  chain.OnException = [](TObject*, const std::exception&, bool& DoContinue) { DoContinue = false; };
  log.clear();
  chain.Fire();
  EXPECT_TRUE(log.empty());
}
