// Compile and match errors: their codes, fixed texts and pattern positions.
#include <gtest/gtest.h>
#include "foundation/Regex.h"

namespace {

struct TRaised {
  int Code = 0;
  int Position = -1;
  std::string Message;
};

TRaised CompileError(const std::string& Pattern) {
  TRegex re;
  re.SetExpression(Pattern);
  try {
    re.Compile();
  } catch (const ERegex& e) {
    EXPECT_EQ(re.LastError(), e.ErrorCode());
    EXPECT_EQ(re.CompilerErrorPos(), 0) << "position is reset after compilation";
    return {e.ErrorCode(), e.CompilerErrorPos(), e.Message()};
  }
  return {};
}

std::string Code(const TRaised& R) { return std::to_string(R.Code) + "@" + std::to_string(R.Position); }

}  // namespace

TEST(RegexCompileErrors, GroupStructure) {
  std::string fifteen;
  for (int i = 0; i < 15; ++i) fifteen += "(a)";
  EXPECT_EQ(Code(CompileError(fifteen)), "102@43");
  EXPECT_EQ(Code(CompileError("(")), "103@1");
  EXPECT_EQ(Code(CompileError("(a|b")), "103@4");
  EXPECT_EQ(Code(CompileError("a)")), "104@1");
  EXPECT_EQ(Code(CompileError("(a))")), "104@3");
}

TEST(RegexCompileErrors, ProgramSizeIsBounded) {
  // one literal node of 64 M characters is past the limit of the program's size
  const TRaised raised = CompileError(std::string(size_t(1) << 26, 'a'));
  EXPECT_EQ(raised.Code, 101);
  EXPECT_EQ(raised.Position, 1 << 26);
}

TEST(RegexCompileErrors, Quantifiers) {
  EXPECT_EQ(Code(CompileError("(a*)*")), "106@4");
  EXPECT_EQ(Code(CompileError("\\b+")), "106@2");
  EXPECT_EQ(Code(CompileError("a**")), "107@2");
  EXPECT_EQ(Code(CompileError("a+?+")), "107@3");
  EXPECT_EQ(Code(CompileError("a{2}*")), "107@4");
  EXPECT_EQ(Code(CompileError("*a")), "115@0");
  EXPECT_EQ(Code(CompileError("a|?")), "115@2");
  EXPECT_EQ(Code(CompileError("a{123456789}")), "122@11");
  EXPECT_EQ(Code(CompileError("a{2147483647}")), "122@11");
  EXPECT_EQ(Code(CompileError("a{3,2}")), "124@5");
  EXPECT_EQ(CompileError("(\\b)?").Code, 0);
  EXPECT_EQ(CompileError("a{99999999}").Code, 0);
}

TEST(RegexCompileErrors, Escapes) {
  EXPECT_EQ(Code(CompileError("\\xZ1")), "108@2");
  EXPECT_EQ(Code(CompileError("\\x{4G}")), "108@4");
  EXPECT_EQ(Code(CompileError("\\xA")), "111@3");
  EXPECT_EQ(Code(CompileError("\\x")), "111@2");
  EXPECT_EQ(Code(CompileError("\\x{41")), "111@5");
  EXPECT_EQ(Code(CompileError("\\x{100}")), "112@5");
  EXPECT_EQ(Code(CompileError("a\\")), "116@2");
}

TEST(RegexCompileErrors, Classes) {
  EXPECT_EQ(Code(CompileError("[z-a]")), "109@4");
  EXPECT_EQ(Code(CompileError("[a\\")), "110@3");
  EXPECT_EQ(Code(CompileError("[a-\\")), "110@4");
  EXPECT_EQ(Code(CompileError("[")), "113@1");
  EXPECT_EQ(Code(CompileError("[^")), "113@2");
  EXPECT_EQ(Code(CompileError("[]")), "113@2");
  EXPECT_EQ(Code(CompileError("a[bc")), "113@4");
  // an escaped zero byte ends a range like any other character
  EXPECT_EQ(Code(CompileError(std::string("[a-\\\0]", 6))), "109@5");
}

TEST(RegexCompileErrors, CommentsAndModifiers) {
  EXPECT_EQ(Code(CompileError("(?#note")), "125@7");
  EXPECT_EQ(Code(CompileError("(?q)")), "127@3");
  EXPECT_EQ(Code(CompileError("(?i-xq)")), "127@6");
  EXPECT_EQ(Code(CompileError("(?:a)")), "127@4");
  EXPECT_EQ(Code(CompileError("(?i")), "127@3");
}

TEST(RegexCompileErrors, MessagesCarryTheFixedTextAndPosition) {
  EXPECT_EQ(CompileError("a**").Message, "TRegex(comp): Nested *?+ (pos 2)");
  EXPECT_EQ(CompileError("\\xA").Message, "TRegex(comp): No Hex Code After \\x (pos 3)");
  EXPECT_EQ(CompileError("[").Message, "TRegex(comp): Unmatched [] (pos 1)");
  EXPECT_EQ(CompileError("(?i").Message, "TRegex(comp): Urecognized Modifier (pos 3)");
  EXPECT_EQ(CompileError("a{3,2}").Message,
            "TRegex(comp): BRACE Min Param Greater then Max (pos 5)");
}

TEST(RegexCompileErrors, LinePairedSeparatorNeedsTwoDifferentCharacters) {
  TRegex re;
  for (const char* bad : {"a", "aa", "abc"}) {
    try {
      re.SetLinePairedSeparator(bad);
      ADD_FAILURE() << bad;
    } catch (const ERegex& e) {
      EXPECT_EQ(e.ErrorCode(), 128);
      EXPECT_EQ(e.Message(),
                "TRegex(comp): LinePairedSeparator must countain two different chars or no "
                "chars at all (pos 0)");
    }
  }
  EXPECT_EQ(re.LinePairedSeparator(), "\r\n");
  re.SetLinePairedSeparator("ab");
  EXPECT_EQ(re.LinePairedSeparator(), "ab");
}

TEST(RegexCompileErrors, ObjectStaysUsableAfterAnError) {
  TRegex re;
  re.SetExpression("(");
  EXPECT_THROW(re.Exec("a"), ERegex);
  EXPECT_THROW(re.Exec("a"), ERegex);  // compiles again, fails again
  re.SetExpression("a");
  EXPECT_TRUE(re.Exec("a"));
}

namespace {
int ExecError(TRegex& Re, void (*Action)(TRegex&)) {
  try {
    Action(Re);
  } catch (const ERegex& e) {
    EXPECT_EQ(e.CompilerErrorPos(), 0);
    EXPECT_EQ(Re.LastError(), e.ErrorCode());
    return e.ErrorCode();
  }
  return 0;
}
}  // namespace

TEST(RegexExecErrors, CodesOfMisuse) {
  TRegex re;
  EXPECT_EQ(ExecError(re, [](TRegex& r) { r.Compile(); }), 1003);
  EXPECT_EQ(ExecError(re, [](TRegex& r) { r.ExecPos(1); }), 1003);
  re.SetExpression("a");
  EXPECT_EQ(ExecError(re, [](TRegex& r) { r.ExecPos(1); }), 1005);
  EXPECT_EQ(ExecError(re, [](TRegex& r) { r.InputString(); }), 1008);
  EXPECT_EQ(ExecError(re, [](TRegex& r) { r.Substitute("$0"); }), 1005);
  re.SetInputString("b");
  EXPECT_EQ(ExecError(re, [](TRegex& r) { r.ExecPos(0); }), 1006);
  EXPECT_EQ(ExecError(re, [](TRegex& r) { r.ExecNext(); }), 1007);
  EXPECT_EQ(ExecError(re, [](TRegex& r) { r.GetModifier(0); }), 1013);
  EXPECT_EQ(ExecError(re, [](TRegex& r) { r.SetModifier(7, true); }), 1013);
}

TEST(RegexExecErrors, TooManyNestedCountedLoops) {
  std::string ten, eleven;
  for (int i = 0; i < 10; ++i) ten = "(" + (ten.empty() ? "a" : ten) + "){1,2}";
  eleven = "(" + ten + "){1,2}";
  TRegex re;
  re.SetExpression(ten);
  EXPECT_TRUE(re.Exec("a"));
  re.SetExpression(eleven);
  EXPECT_EQ(ExecError(re, [](TRegex& r) { r.Exec("a"); }), 1014);
  EXPECT_EQ(re.ErrorMsg(1014), "TRegex(exec): Loop Stack Exceeded");
}

TEST(RegexErrorTexts, EveryCodeHasItsFixedText) {
  const std::pair<int, const char*> texts[] = {
      {0, "No errors"},
      {100, "TRegex(comp): Null Argument"},
      {101, "TRegex(comp): Regexp Too Big"},
      {102, "TRegex(comp): ParseReg Too Many ()"},
      {103, "TRegex(comp): ParseReg Unmatched ()"},
      {104, "TRegex(comp): ParseReg Unmatched ()"},
      {105, "TRegex(comp): ParseReg Junk On End"},
      {106, "TRegex(comp): *+ Operand Could Be Empty"},
      {107, "TRegex(comp): Nested *?+"},
      {108, "TRegex(comp): Bad Hex Digit"},
      {109, "TRegex(comp): Invalid [] Range"},
      {110, "TRegex(comp): Parse Atom Trailing \\"},
      {111, "TRegex(comp): No Hex Code After \\x"},
      {112, "TRegex(comp): Hex Code After \\x Is Too Big"},
      {113, "TRegex(comp): Unmatched []"},
      {114, "TRegex(comp): Internal Urp"},
      {115, "TRegex(comp): ?+*{ Follows Nothing"},
      {116, "TRegex(comp): Trailing \\"},
      {119, "TRegex(comp): RarseAtom Internal Disaster"},
      {122, "TRegex(comp): BRACES Argument Too Big"},
      {124, "TRegex(comp): BRACE Min Param Greater then Max"},
      {125, "TRegex(comp): Unclosed (?#Comment)"},
      {126, "TRegex(comp): If you want take part in beta-testing BRACES '{min,max}' and "
            "non-greedy ops '*?', '+?', '?\?' for complex cases - remove '.' from "
            "{.$DEFINE ComplexBraces}"},
      {127, "TRegex(comp): Urecognized Modifier"},
      {128, "TRegex(comp): LinePairedSeparator must countain two different chars or no chars "
            "at all"},
      {1000, "TRegex(exec): RegRepeat Called Inappropriately"},
      {1001, "TRegex(exec): MatchPrim Memory Corruption"},
      {1002, "TRegex(exec): MatchPrim Corrupted Pointers"},
      {1003, "TRegex(exec): Not Assigned Expression Property"},
      {1004, "TRegex(exec): Corrupted Program"},
      {1005, "TRegex(exec): No Input String Specified"},
      {1006, "TRegex(exec): Offset Must Be Greater Then 0"},
      {1007, "TRegex(exec): ExecNext Without Exec[Pos]"},
      {1008, "TRegex(exec): GetInputString Without InputString"},
      {1011, "TRegex(dump): Corrupted Opcode"},
      {1014, "TRegex(exec): Loop Stack Exceeded"},
      {1015, "TRegex(exec): Loop Without LoopEntry !"},
      {RegexBacktrackLimitError, "TRegex(exec): Backtrack Stack Exceeded"},
      {RegexStepLimitError, "TRegex(exec): Backtrack Step Limit Exceeded"},
      {2000, "TRegex(misc): Bad p-code imported"},
      {117, "Unknown error"},
      {1013, "Unknown error"},
  };
  TRegex re;
  for (const auto& [code, text] : texts) EXPECT_EQ(re.ErrorMsg(code), text) << code;
}

TEST(RegexExecErrors, MessagesOfExecCodesHaveNoPosition) {
  TRegex re;
  try {
    re.Compile();
    ADD_FAILURE();
  } catch (const ERegex& e) {
    EXPECT_EQ(e.Message(), "TRegex(exec): Not Assigned Expression Property");
  }
}

namespace {
// A derived class may report errors its own way; the engine then just fails the call.
class TQuietRegex : public TRegex {
public:
  int Reported = 0;
  void Error(int Code) override { Reported = Code; }
};
}  // namespace

TEST(RegexExecErrors, DerivedClassCanReportErrorsItself) {
  TQuietRegex re;
  re.SetExpression("a**");
  EXPECT_FALSE(re.Exec("aa"));
  EXPECT_EQ(re.Reported, 107);
  re.SetExpression("a");
  EXPECT_FALSE(re.ExecPos(0));
  EXPECT_EQ(re.Reported, 1006);
}
