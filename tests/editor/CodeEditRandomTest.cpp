// Random editing sessions: undoing everything must give back the original text, unmodified,
// and redoing everything the final text. Set CODEEDIT_SEED to replay a reported seed.
#include <gtest/gtest.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include "editor/CodeEditTestFixture.h"

using namespace codeedittest;
using EO = TCodeEditorOption;
using SM = TCodeSelectionMode;

namespace {
class TSession {
public:
  TSession(uint32_t Seed, TFakeClipboard& Clipboard) : rnd_(Seed), clipboard_(Clipboard) {}

  std::string RandomText() {
    std::string text;
    int lines = Pick(1, 25);
    for (int i = 0; i < lines; ++i) {
      if (i > 0) text += "\r\n";
      text += RandomLine();
    }
    return text;
  }

  void Step(TCustomCodeEdit& Edit) {
    switch (Pick(0, 22)) {
      case 0: case 1: case 2: case 3: Type(Edit, std::string(1, RandomChar())); break;
      case 4: Cmd(Edit, ecLineBreak); break;
      case 5: Cmd(Edit, ecDeleteLastChar); break;
      case 6: Cmd(Edit, ecDeleteChar); break;
      case 7: Cmd(Edit, Pick(0, 1) ? ecDeleteWord : ecDeleteLastWord); break;
      case 8: Cmd(Edit, static_cast<TCodeEditorCommand>(Pick(ecDeleteBOL, ecDeleteLine))); break;
      case 9: Paste(Edit); break;
      case 10: Cmd(Edit, Pick(0, 1) ? ecBlockIndent : ecBlockUnindent); break;
      case 11: Cmd(Edit, static_cast<TCodeEditorCommand>(Pick(ecUpperCase, ecTitleCase))); break;
      case 12: Cmd(Edit, static_cast<TCodeEditorCommand>(Pick(ecUpperCaseBlock, ecToggleCaseBlock))); break;
      case 13: case 14: RandomSelection(Edit); break;
      case 15: Edit.SetCaretXY(RandomPos(Edit)); break;
      case 16: Cmd(Edit, Pick(0, 1) ? ecTab : ecShiftTab); break;
      case 17: Edit.SetSelText(Pick(0, 2) ? RandomLine() : RandomLine() + "\r\n" + RandomLine()); break;
      case 18: Cmd(Edit, Pick(0, 1) ? ecCut : ecCopy); break;
      case 19: Cmd(Edit, ecInsertLine); break;
      case 20: Cmd(Edit, static_cast<TCodeEditorCommand>(Pick(ecLeft, ecWordRight) + (Pick(0, 1) ? ecSelection : 0))); break;
      case 21: Cmd(Edit, ecToggleMode); break;
      default: Cmd(Edit, Pick(0, 1) ? ecUndo : ecRedo); break;
    }
  }

private:
  int Pick(int From, int To) { return std::uniform_int_distribution<int>(From, To)(rnd_); }

  char RandomChar() {
    static const char chars[] = "abcXYZ  \t(){}\xe4\xc4_,.";
    return chars[Pick(0, sizeof chars - 2)];
  }

  std::string RandomLine() {
    std::string s;
    int n = Pick(0, 3) == 0 ? 0 : Pick(1, 20);
    if (Pick(0, 3) == 0) s += Pick(0, 1) ? "\t" : "    ";
    for (int i = 0; i < n; ++i) s += RandomChar();
    return s;
  }

  TBufferCoord RandomPos(TCustomCodeEdit& Edit) {
    int line = Pick(1, std::max(1, Edit.Lines().Count()));
    return {Pick(1, static_cast<int>(Edit.Lines()[line - 1].size()) + 4), line};
  }

  void RandomSelection(TCustomCodeEdit& Edit) {
    Edit.SetSelectionMode(static_cast<SM>(Pick(0, 2)));
    TBufferCoord a = RandomPos(Edit), b = RandomPos(Edit);
    Edit.SetCaretAndSelection(b, a, b);
  }

  void Paste(TCustomCodeEdit& Edit) {
    std::string text = RandomLine();
    for (int i = Pick(0, 3); i > 0; --i) text += "\r\n" + RandomLine();
    clipboard_.Data.clear();
    clipboard_.Data[CF_TEXT] = text + '\0';
    if (Pick(0, 1))
      clipboard_.Data[CodeEditClipboardFormat()] = std::string(1, char(Pick(0, 2))) + text + '\0';
    Cmd(Edit, ecPaste);
  }

  std::mt19937 rnd_;
  TFakeClipboard& clipboard_;
};

uint32_t BaseSeed() {
  if (const char* s = std::getenv("CODEEDIT_SEED")) return static_cast<uint32_t>(std::strtoul(s, nullptr, 10));
  return static_cast<uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

void RunSession(uint32_t Seed, TCodeEditorOptions Options, int Steps) {
  std::printf("random editing session, CODEEDIT_SEED=%u\n", static_cast<unsigned>(Seed));
  SCOPED_TRACE("seed " + std::to_string(Seed) + " (CODEEDIT_SEED=" + std::to_string(Seed) + ")");
  TFakeClipboard clipboard;
  TSession session(Seed, clipboard);
  auto edit = MakeEdit(session.RandomText(), Options);
  edit->SetTabWidth(4);
  edit->SetMaxUndo(1000000);
  const std::string original = edit->Text();
  for (int i = 0; i < Steps; ++i) session.Step(*edit);
  // Undo steps at the end of the session leave changes to redo: the final text is after them.
  while (edit->CanRedo()) edit->Redo();
  const std::string final = edit->Text();
  while (edit->CanUndo()) edit->Undo();
  ASSERT_EQ(edit->Text(), original);
  EXPECT_FALSE(edit->Modified());
  while (edit->CanRedo()) edit->Redo();
  ASSERT_EQ(edit->Text(), final);
}
}  // namespace

TEST(CodeEditRandomSession, UndoAllRestoresAndRedoAllReplaysWithGroupUndo) {
  uint32_t seed = BaseSeed();
  RunSession(seed, CodeEditDefaultOptions, 1500);
  RunSession(seed + 1, WithOut(CodeEditDefaultOptions, EO::eoScrollPastEol), 1500);
}

TEST(CodeEditRandomSession, UndoAllRestoresAndRedoAllReplaysWithoutGroupUndo) {
  uint32_t seed = BaseSeed() + 2;
  TCodeEditorOptions options = WithOut(CodeEditDefaultOptions, EO::eoGroupUndo);
  RunSession(seed, options, 1500);
  RunSession(seed + 1, WithOut(WithOut(options, EO::eoScrollPastEol), EO::eoTabsToSpaces), 1500);
}

TEST(CodeEditRandomSession, UndoAllRestoresAndRedoAllReplaysWithTrimmedTrailingSpaces) {
  uint32_t seed = BaseSeed() + 4;
  TCodeEditorOptions options = With(CodeEditDefaultOptions, EO::eoTrimTrailingSpaces);
  RunSession(seed, options, 1500);
  RunSession(seed + 1, WithOut(WithOut(options, EO::eoScrollPastEol), EO::eoTabsToSpaces), 1500);
}
