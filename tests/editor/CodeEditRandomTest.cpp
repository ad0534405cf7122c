// Random editing sessions: undoing everything must give back the original text, unmodified,
// and redoing everything the final text. The seeds are fixed; CODEEDIT_SEED replays one seed
// and a fault names the first step after which it shows.
#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>
#include "editor/CodeEditTestFixture.h"
#include "support/ScreenCapture.h"
#include "toolkit/KeyState.h"

using namespace codeedittest;
using EO = TCodeEditorOption;
using SM = TCodeSelectionMode;

namespace {
// Options a session may have either way; the others keep their defaults.
const EO kVariedOptions[] = {EO::eoAutoIndent,          EO::eoGroupUndo,
                             EO::eoScrollPastEol,       EO::eoTabsToSpaces,
                             EO::eoTrimTrailingSpaces,  EO::eoSmartTabs,
                             EO::eoTabIndent,           EO::eoAutoSizeMaxScrollWidth,
                             EO::eoSmartTabDelete,      EO::eoEnhanceHomeKey,
                             EO::eoKeepCaretX};

class TSession {
public:
  TSession(uint32_t Seed, TFakeClipboard& Clipboard) : rnd_(Seed), clipboard_(Clipboard) {}

  std::string RandomText() {
    // Now and then an empty document, where commands find no line to work on.
    if (Pick(0, 9) == 0) return std::string();
    std::string text;
    int lines = Pick(1, 25);
    for (int i = 0; i < lines; ++i) {
      if (i > 0) text += "\r\n";
      text += RandomLine();
    }
    return text;
  }

  TCodeEditorOptions RandomOptions() {
    TCodeEditorOptions options = CodeEditDefaultOptions;
    for (EO o : kVariedOptions)
      if (Pick(0, 1)) options.Include(o); else options.Exclude(o);
    return options;
  }

  int Pick(int From, int To) { return std::uniform_int_distribution<int>(From, To)(rnd_); }

  // One editing step; returns what it did, for the report of a fault. In a document with no
  // line, half the steps select past its end and indent or unindent what is not there.
  std::string Step(TTestEdit& Edit) {
    if (Edit.Lines().Count() == 0 && Pick(0, 1))
      return RandomSelection(Edit) + ", then " + Act(Edit, kBlockIndent);
    return Act(Edit, Pick(0, 26));
  }

private:
  // Actions 0 to kLastEdit change the text at the caret or the selection.
  static constexpr int kLastEdit = 15, kBlockIndent = 10, kDrag = 24;

  std::string Act(TTestEdit& Edit, int Action) {
    switch (Action) {
      case 0: case 1: case 2: case 3: {
        char c = RandomChar();
        Type(Edit, std::string(1, c));
        return std::string("type '") + c + "'";
      }
      case 4: return Do(Edit, ecLineBreak, "line break");
      case 5: return Do(Edit, ecDeleteLastChar, "backspace");
      case 6: return Do(Edit, ecDeleteChar, "delete");
      case 7:
        return Pick(0, 1) ? Do(Edit, ecDeleteWord, "delete word")
                          : Do(Edit, ecDeleteLastWord, "delete last word");
      case 8: return Do(Edit, Pick(ecDeleteBOL, ecDeleteLine), "delete to line start/end or line");
      case 9: return Paste(Edit);
      case kBlockIndent:
        return Pick(0, 1) ? Do(Edit, ecBlockIndent, "block indent")
                          : Do(Edit, ecBlockUnindent, "block unindent");
      case 11: return Do(Edit, Pick(ecUpperCase, ecTitleCase), "case of word");
      case 12: return Do(Edit, Pick(ecUpperCaseBlock, ecToggleCaseBlock), "case of block");
      case 13: return Pick(0, 1) ? Do(Edit, ecTab, "tab") : Do(Edit, ecShiftTab, "shift tab");
      case 14: {
        std::string text = Pick(0, 2) ? RandomLine() : RandomLine() + "\r\n" + RandomLine();
        Edit.SetSelText(text);
        return "set selected text of " + std::to_string(text.size()) + " bytes";
      }
      case 15: return Pick(0, 1) ? Do(Edit, ecCut, "cut") : Do(Edit, ecCopy, "copy");
      case 16: case 17: {
        // Half the time something is done to the selection at once, while it is there.
        // A block indent keeps the selection, shifted, and only a selection can be dragged:
        // they are the likelier first edits.
        std::string done = RandomSelection(Edit);
        for (int i = 0; i < 2 && Edit.SelAvail() && Pick(0, 1); ++i) {
          int action = Pick(0, kLastEdit + 6);
          if (action > kLastEdit) action = action > kLastEdit + 3 ? kDrag : kBlockIndent;
          done += ", then " + Act(Edit, action);
        }
        return done;
      }
      case 18: {
        TBufferCoord p = RandomPos(Edit);
        Edit.SetCaretXY(p);
        return "caret to " + Describe(p);
      }
      case 19: return Do(Edit, ecInsertLine, "insert line");
      case 20: return Do(Edit, Pick(ecLeft, ecWordRight) + (Pick(0, 1) ? ecSelection : 0), "move");
      case 21: return Do(Edit, ecToggleMode, "toggle overwrite");
      case 22:
        Edit.SetWordWrap(!Edit.WordWrap());
        return Edit.WordWrap() ? "word wrap on" : "word wrap off";
      case 23:
        // Selecting everything empties the text at the next key: seldom.
        if (Pick(0, 4) == 0) return Do(Edit, ecSelectAll, "select all");
        Type(Edit, "word ");
        return "type 'word '";
      case kDrag: return Drag(Edit);
      default: return Pick(0, 1) ? Do(Edit, ecUndo, "undo") : Do(Edit, ecRedo, "redo");
    }
  }

  std::string Do(TCustomCodeEdit& Edit, TCodeEditorCommand Command, const char* What) {
    Cmd(Edit, Command);
    return What + (" (command " + std::to_string(Command) + ")");
  }

  static std::string Describe(TBufferCoord P) {
    return std::to_string(P.Char) + "," + std::to_string(P.Line);
  }

  char RandomChar() {
    static const char chars[] = "abcXYZ  \t(){}\xe4\xc4_,.";
    return chars[Pick(0, sizeof chars - 2)];
  }

  // Now and then (one in LongOdds) a line longer than the default scroll width of 1024.
  std::string RandomLine(int LongOdds = 16) {
    std::string s;
    int n = Pick(0, 3) == 0 ? 0 : Pick(1, LongOdds) == 1 ? Pick(1000, 3000) : Pick(1, 20);
    static const char* const indents[] = {"\t", "\t\t", "    ", " \t"};
    if (Pick(0, 2) == 0) s += indents[Pick(0, 3)];
    for (int i = 0; i < n; ++i) s += RandomChar();
    return s;
  }

  // Within and just past a line, or about the default scroll width (on a long line when
  // there is one), or far past a line end.
  TBufferCoord RandomPos(TCustomCodeEdit& Edit) {
    const int count = std::max(1, Edit.Lines().Count());
    int line = Pick(1, count);
    int len = static_cast<int>(Edit.Lines()[line - 1].size());
    switch (Pick(0, 7)) {
      case 0: case 1:
        for (int i = 0; i < count && len < 1000; ++i) {
          line = line % count + 1;
          len = static_cast<int>(Edit.Lines()[line - 1].size());
        }
        return {Pick(1015, 1035), line};
      case 2: return {Pick(len + 1, len + 60), line};
      default: return {Pick(1, len + 4), line};
    }
  }

  std::string RandomSelection(TCustomCodeEdit& Edit) {
    SM mode = static_cast<SM>(Pick(0, 2));
    Edit.SetSelectionMode(mode);
    // Often within one line, either way.
    TBufferCoord a = RandomPos(Edit), b = RandomPos(Edit);
    if (Pick(0, 1)) b = {std::max(1, a.Char + Pick(-30, 30)), a.Line};
    Edit.SetCaretAndSelection(b, a, b);
    return "select " + Describe(a) + " to " + Describe(b) + " mode " + std::to_string(int(mode));
  }

  // The mouse drags a selection in normal mode to where it leaves the caret, and drops it
  // there: moved, or copied while Ctrl is held.
  std::string Drag(TTestEdit& Edit) {
    if (!Edit.SelAvail() || Edit.ActiveSelectionMode() != SM::smNormal) return "no drag";
    const bool copy = Pick(0, 2) == 0;
    Edit.InternalSetCaretXY(RandomPos(Edit));
    const TBufferCoord drop = Edit.CaretXY();
    SetKeyStateOverride([copy](int Key) { return copy && Key == VK_CONTROL; });
    const bool dropped = Edit.DropTextFrom(Edit, drop);
    SetKeyStateOverride(nullptr);
    return std::string(copy ? "drag-copy" : "drag-move") + " to " + Describe(drop) +
           (dropped ? "" : ", onto itself");
  }

  std::string Paste(TCustomCodeEdit& Edit) {
    std::string text = RandomLine(4);
    for (int i = Pick(0, 3); i > 0; --i) text += "\r\n" + RandomLine(4);
    clipboard_.Data.clear();
    clipboard_.Data[CF_TEXT] = text + '\0';
    std::string how = "plain";
    if (Pick(0, 1)) {
      char mode = static_cast<char>(Pick(0, 2));
      clipboard_.Data[CodeEditClipboardFormat()] = std::string(1, mode) + text + '\0';
      how = "mode " + std::to_string(int(mode));
    }
    Cmd(Edit, ecPaste);
    return "paste " + std::to_string(text.size()) + " bytes, " + how;
  }

  std::mt19937 rnd_;
  TFakeClipboard& clipboard_;
};

// A session runs in a window a quarter of the time, so that word wrap has columns to wrap at.
struct TSessionEdit {
  std::unique_ptr<testsupport::TTopLevelWindow> Window;
  std::unique_ptr<TTestEdit> Edit;
  std::string Settings;
};

TSessionEdit MakeSessionEdit(TSession& Session) {
  TSessionEdit s;
  TCodeEditorOptions options = Session.RandomOptions();
  int tabWidth = Session.Pick(1, 8);
  bool window = Session.Pick(0, 3) == 0;
  bool wrap = window && Session.Pick(0, 1);
  s.Edit = MakeEdit(Session.RandomText(), options);
  s.Edit->SetTabWidth(tabWidth);
  s.Edit->SetMaxUndo(1000000);
  if (window) {
    s.Window = std::make_unique<testsupport::TTopLevelWindow>(440, 360, true);
    s.Edit->CreateWnd(s.Window->Handle(), 0, 0, 440, 360);
  }
  s.Edit->SetWordWrap(wrap);
  char hex[24];
  std::snprintf(hex, sizeof hex, "0x%llx", static_cast<unsigned long long>(options.Bits()));
  s.Settings = std::string("options ") + hex + ", tab width " + std::to_string(tabWidth) +
               (window ? ", in a window" : "") + (wrap ? ", word wrap" : "");
  return s;
}

// Empty when undo all and redo all give back the texts before and after the edits so far.
std::string UndoAllRedoAllFault(TCustomCodeEdit& Edit, const std::string& Original) {
  // Undo steps at the end of the session leave changes to redo: the final text is after them.
  while (Edit.CanRedo()) Edit.Redo();
  const std::string final = Edit.Text();
  while (Edit.CanUndo()) Edit.Undo();
  if (Edit.Text() != Original) return "undo all does not give the original text";
  if (Edit.Modified()) return "modified after undo all";
  while (Edit.CanRedo()) Edit.Redo();
  if (Edit.Text() != final) return "redo all does not give the final text";
  return std::string();
}

// Runs Steps steps of the session of Seed and checks undo all and redo all.
std::string SessionFault(uint32_t Seed, int Steps, std::vector<std::string>* Done = nullptr) {
  TFakeClipboard clipboard;
  TSession session(Seed, clipboard);
  TSessionEdit s = MakeSessionEdit(session);
  const std::string original = s.Edit->Text();
  if (Done) Done->push_back(s.Settings);
  try {
    for (int i = 0; i < Steps; ++i) {
      std::string step = session.Step(*s.Edit);
      if (Done) Done->push_back(std::to_string(i + 1) + ": " + step);
    }
    return UndoAllRedoAllFault(*s.Edit, original);
  } catch (const std::exception& E) {
    return std::string("exception \"") + E.what() + "\"";
  }
}

// A fault is reported with the first step after which it shows and the steps up to it.
void CheckSession(uint32_t Seed, int Steps) {
  std::string fault = SessionFault(Seed, Steps);
  if (fault.empty()) return;
  int first = 1;
  while (first < Steps && SessionFault(Seed, first).empty()) ++first;
  std::vector<std::string> done;
  fault = SessionFault(Seed, first, &done);
  std::string report;
  for (size_t i = done.size() > 12 ? done.size() - 12 : 0; i < done.size(); ++i)
    report += "\n  " + done[i];
  ADD_FAILURE() << "CODEEDIT_SEED=" << Seed << " (" << done.front() << "): " << fault
                << " after step " << first << "; the last steps:" << report;
}

// Enough to meet the faults found so far within seconds.
constexpr int kSessions = 250, kSteps = 300;

std::string Filler(int Length, char First) {
  std::string s;
  for (int i = 0; i < Length; ++i) s += static_cast<char>(First + i % 23);
  return s;
}

void PasteFromClipboard(TCustomCodeEdit& Edit, TFakeClipboard& Clipboard, const std::string& Text,
                        int BlockMode = -1) {
  Clipboard.Data.clear();
  Clipboard.Data[CF_TEXT] = Text + '\0';
  if (BlockMode >= 0)
    Clipboard.Data[CodeEditClipboardFormat()] = std::string(1, char(BlockMode)) + Text + '\0';
  Cmd(Edit, ecPaste);
}

// Sessions cut down to the steps that still showed a fault.
struct TMinimisedSession {
  const char* Name;
  TCodeEditorOptions Options;
  int TabWidth;
  std::string Text;
  std::function<void(TTestEdit&, TFakeClipboard&)> Steps;
  std::string After;
};

const TCodeEditorOptions kFixedWidthPastEol = {EO::eoDragDropEditing, EO::eoEnhanceHomeKey,
                                               EO::eoEnhanceEndKey, EO::eoScrollPastEol,
                                               EO::eoShowScrollHint};

// Four lines, the last one longer than the scroll width.
const std::string kLongLines =
    Filler(60, 'A') + "\r\n\r\n" + Filler(100, 'a') + "\r\n\t" + Filler(2296, 'a');

// A line longer than the scroll width with its first four characters moved behind its 1200th.
const std::string kWideLine = Filler(1500, 'A');
const std::string kWideLineMoved =
    kWideLine.substr(4, 1196) + kWideLine.substr(0, 4) + kWideLine.substr(1200);

const TMinimisedSession kMinimisedSessions[] = {
    {"a paste of lines, one longer than the scroll width, over a line selection",
     kFixedWidthPastEol, 3, "",
     [](TCustomCodeEdit& E, TFakeClipboard& C) {
       E.SetSelectionMode(SM::smLine);
       Select(E, {5, 1}, {2, 1});
       PasteFromClipboard(E, C, kLongLines);
     },
     kLongLines},
    {"typing over a selection that a block indent moved past the scroll width",
     kFixedWidthPastEol + TCodeEditorOptions{EO::eoSmartTabs, EO::eoTabIndent,
                                             EO::eoTabsToSpaces, EO::eoTrimTrailingSpaces},
     5, "\r\n\r\n\r\n" + Filler(500, 'A') + "\t" + Filler(566, 'a') + "\r\n\r\n\r\n\r\n ",
     [](TCustomCodeEdit& E, TFakeClipboard&) {
       Select(E, {1021, 4}, {4, 8});
       Cmd(E, ecBlockIndent);
       Type(E, "-");
     },
     // The block moved five columns to the right, and the typed character took its place.
     "\r\n\r\n\r\n     " + Filler(500, 'A') + "\t" + Filler(519, 'a') + "-"},
    {"a block indent in an empty document, then typing",
     CodeEditDefaultOptions, 8, "",
     [](TCustomCodeEdit& E, TFakeClipboard&) {
       Cmd(E, ecSelRight);
       Cmd(E, ecBlockIndent);
       Type(E, "-");
     },
     "-"},
    {"a paste in normal mode over a column block whose left edge cuts into a tab",
     CodeEditDefaultOptions, 4, "\t\tabc\r\nxyzuvw",
     [](TCustomCodeEdit& E, TFakeClipboard& C) {
       E.SetSelectionMode(SM::smColumn);
       Select(E, {3, 1}, {2, 2});
       PasteFromClipboard(E, C, "Q", 0);
     },
     "aQbc\r\nx"},
    {"a drag-move far into a line longer than the scroll width, which does not grow",
     WithOut(CodeEditDefaultOptions, EO::eoScrollPastEol), 8, kWideLine,
     [](TTestEdit& E, TFakeClipboard&) {
       Select(E, {1, 1}, {5, 1});
       E.DropTextFrom(E, {1201, 1});
     },
     kWideLineMoved},
    {"a drag-move up past the end of a line with a tab, blanks filling the gap",
     CodeEditDefaultOptions, 8, "\tab\r\nxyz",
     [](TTestEdit& E, TFakeClipboard&) {
       Select(E, {1, 2}, {3, 2});
       E.DropTextFrom(E, {8, 1});
     },
     "\tab    xy\r\nz"},
    {"a drag-move behind itself past the end of its own line",
     CodeEditDefaultOptions, 8, "abc",
     [](TTestEdit& E, TFakeClipboard&) {
       Select(E, {1, 1}, {2, 1});
       E.DropTextFrom(E, {6, 1});
     },
     "bc  a"},
};
}  // namespace

TEST(CodeEditRandomSession, UndoAllRestoresAndRedoAllReplays) {
  if (const char* s = std::getenv("CODEEDIT_SEED")) {
    CheckSession(static_cast<uint32_t>(std::strtoul(s, nullptr, 10)), kSteps);
    return;
  }
  for (uint32_t seed = 1; seed <= kSessions; ++seed) CheckSession(seed, kSteps);
}

TEST(CodeEditRandomSession, MinimisedSessionsEditInPlaceThenUndoAllAndRedoAll) {
  for (const TMinimisedSession& s : kMinimisedSessions) {
    SCOPED_TRACE(s.Name);
    TFakeClipboard clipboard;
    auto edit = MakeEdit(s.Text, s.Options);
    edit->SetTabWidth(s.TabWidth);
    const std::string original = edit->Text();
    s.Steps(*edit, clipboard);
    EXPECT_EQ(edit->Text(), s.After);
    EXPECT_EQ(UndoAllRedoAllFault(*edit, original), "");
  }
}
