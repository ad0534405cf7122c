// The search panel on a real main window: search, replace selection and replace all with their
// undo steps, the ways out of a run (error, malformed escape, cancel), the results list and its
// jumps, the histories, the keys of the fields and the incremental search.
#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>
#include "commands/fHlpMainSearch.h"
#include "commands/fSearchPanel.h"
#include "documents/fHlpMain.h"
#include "documents/fHlpHK.h"
#include "documents/fHlpMainDocs.h"
#include "documents/frameEdit.h"
#include "editor/CodeEdit.h"
#include "support/AllocationLimit.h"
#include "mainwindow/formMain.h"
#include "support/ModalAnswers.h"
#include "support/PostedAction.h"
#include "support/ProgramControls.h"
#include "support/RunawayReport.h"
#include "support/TempFolder.h"
#include "support/WideClipboard.h"
#include "toolkit/Application.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Controls.h"
#include "toolkit/Cursor.h"
#include "toolkit/KeyState.h"
#include "toolkit/ListView.h"
#include "toolkit/Menus.h"
#include "toolkit/PageControl.h"
#include "toolkit/ToolBar.h"

namespace {

// Holds Shift (and nothing else) for its lifetime.
struct THeldShift {
  THeldShift() { SetKeyStateOverride([](int Key) { return Key == VK_SHIFT; }); }
  ~THeldShift() { SetKeyStateOverride(nullptr); }
};

// Posts the key-ups of Ctrl+Key when the program takes the character the key typed, and notes
// when it takes Ctrl's.
class TCtrlRelease {
public:
  static void Start(WORD Key) {
    key_ = Key;
    released_ = false;
    hook_ = SetWindowsHookExA(WH_GETMESSAGE, Watch, nullptr, GetCurrentThreadId());
  }
  static void Stop() {
    UnhookWindowsHookEx(hook_);
    hook_ = nullptr;
  }
  static bool Held() { return !released_; }

private:
  static LRESULT CALLBACK Watch(int Code, WPARAM Removed, LPARAM Message) {
    const auto& msg = *reinterpret_cast<const MSG*>(Message);
    if (Code == HC_ACTION && Removed == PM_REMOVE) {
      if (msg.message == WM_CHAR) {
        for (WORD up : {key_, static_cast<WORD>(VK_CONTROL)})
          PostMessageA(msg.hwnd, WM_KEYUP, up, 0xC0000001 | (MapVirtualKeyA(up, 0) << 16));
      } else if (msg.message == WM_KEYUP && msg.wParam == VK_CONTROL) {
        released_ = true;
      }
    }
    return CallNextHookEx(hook_, Code, Removed, Message);
  }
  static inline WORD key_ = 0;
  static inline bool released_ = false;
  static inline HHOOK hook_ = nullptr;
};

// A main window with the program's own controls and the panel's options as a person finds
// them at first.
class SearchPanelTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(controls_.Active());
    saved_ = std::make_unique<TSettings>(Settings);
    Settings.SettingsFile = folder.File("Tarvoline.ini");
    LoadSettings();
    Settings.General.AddToRecentFiles = false;
    Settings.General.SearchContinue = true;
    Settings.General.SearchContinueQuery = false;
    Settings.General.SearchNotFoundMsg = false;
    Settings.General.SearchFocusEditor = false;
    DocumentNumbers.clear();
    DocsOpen = false;
    LocalSearchReplace = TLocalSearchReplace();
    main_ = std::make_unique<TfrmMain>(nullptr);
    frmMain = main_.get();
    MainForm()->TranslateForm();
    MainForm()->InstallKeyPreview();
  }
  void TearDown() override {
    SetKeyStateOverride(nullptr);
    main_.reset();
    frmMain = nullptr;
    Settings = *saved_;
    DocumentNumbers.clear();
    DocsOpen = false;
  }
  static TCodeEdit& NewDocument(const std::string& Text) {
    OpenFile("");
    TCodeEdit& editor = *GetActiveFrame()->seEdit;
    editor.SetText(Text);
    editor.ClearHistory();
    return editor;
  }
  static void Click(const char* Button) { frmMain->Find<TButton>(Button)->Click(); }
  static void Check(const char* Box, bool Checked = true) {
    auto* box = frmMain->Find<TCheckBox>(Box);
    box->SetChecked(Checked);
    if (box->OnClick) box->OnClick(box);
  }
  static bool Enabled(const char* Name) { return frmMain->Find<TWinControl>(Name)->Enabled(); }
  // Puts Text into a field as a paste would.
  static void Paste(HWND Field, const wchar_t* Text) {
    SendMessageW(Field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Text));
  }
  // Answers the refusal of a search text the code page cannot hold, checked whole.
  static void ExpectRefused(const std::string& Field) {
    testsupport::QueueAnswer(ModalAnswer{IDOK}, [Field](const ModalQuestion& q) {
      EXPECT_EQ(q.caption, "Ungeeigneter Suchtext");
      EXPECT_EQ(q.text, "Der Text im Feld \"" + Field + "\" enth\xE4lt Zeichen, die der Zeichensatz "
                        "des Systems nicht kennt.\r\nEs wird nichts gesucht und nichts ersetzt.");
    });
  }
  static void Fill(const std::string& Search, const std::string& Replace = "") {
    frmMain->cmbSearch->SetText(Search);
    frmMain->cmbReplace->SetText(Replace);
  }
  // The panel is usable again: nothing left disabled or marked as running.
  static void ExpectPanelRestored() {
    for (const char* name : {"cmbSearch", "cmbReplace", "btnSearch", "btnReplaceAll",
                             "chkSearchCaseSensitive", "chkSearchMultiLine"})
      EXPECT_TRUE(Enabled(name)) << name;
    for (const char* name : {"btnSearch", "btnReplaceAll"})
      EXPECT_EQ(frmMain->Find<TButton>(name)->Tag(), 0) << name;
    EXPECT_EQ(frmMain->Find<TButton>("btnSearch")->Caption(), "Suchen");
    EXPECT_FALSE(HourglassShown());
  }
  // As a click on a direction button: the other one goes out.
  static void Direction(bool Backwards) {
    frmMain->Find<TCheckBox>(Backwards ? "rbSearchForwards" : "rbSearchBackwards")->SetChecked(false);
    Check(Backwards ? "rbSearchBackwards" : "rbSearchForwards");
  }
  static void Select(TCodeEdit& Editor, int Start, int Length) {
    Editor.SetSelStart(Start);
    Editor.SetSelLength(Length);
  }
  static void Type(HWND Wnd, char Key) { SendMessageA(Wnd, WM_CHAR, static_cast<unsigned char>(Key), 0); }
  // The keyboard's key for the focused control, through the program's loop.
  static void Press(WORD Key) {
    PostMessageA(GetFocus(), WM_KEYDOWN, Key, 1 | (MapVirtualKeyA(Key, 0) << 16));
    Application().ProcessMessages();
  }
  // Ctrl+Key as the keyboard delivers it: Ctrl held for the program and for the character the
  // key types, and both key-ups arriving while that character is handled, so a command that lets
  // messages through takes them before it ends. Ctrl counts as held until its key-up is taken.
  static void PressWithCtrl(WORD Key) {
    BYTE before[256] = {}, held[256] = {};
    GetKeyboardState(before);
    std::copy(std::begin(before), std::end(before), held);
    held[VK_CONTROL] = held[VK_LCONTROL] = 0x80;
    SetKeyboardState(held);
    TCtrlRelease::Start(Key);
    SetKeyStateOverride([](int Key) { return Key == VK_CONTROL && TCtrlRelease::Held(); });
    Press(Key);
    TCtrlRelease::Stop();
    SetKeyStateOverride(nullptr);
    SetKeyboardState(before);
  }

  // A left click in the middle of Wnd, through the program's loop.
  static void ClickWithMouse(HWND Wnd) {
    RECT client = {};
    GetClientRect(Wnd, &client);
    const LPARAM at = MAKELPARAM(client.right / 2, client.bottom / 2);
    PostMessageA(Wnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(Wnd, WM_LBUTTONUP, 0, at);
    Application().ProcessMessages();
  }

  testsupport::TempFolder folder;

private:
  testsupport::TProgramControls controls_;
  std::unique_ptr<TSettings> saved_;
  std::unique_ptr<TfrmMain> main_;
};

}  // namespace

// ---- The replace step ------------------------------------------------------

TEST(SearchPanelReplaceAll, ReplacesPlainlyOrByExpressionAndRefusesBadInput) {
  struct Case {
    const char* search;
    bool caseSensitive, wholeWords, regExpr;
    const char* text;
    const char* replacement;
    std::optional<std::string> expected;
  } cases[] = {
      {"foo", false, false, false, "Foo FOO foo fox", "x", "x x x fox"},
      {"foo", true, false, false, "Foo FOO foo", "x", "Foo FOO x"},
      {"ab", true, false, false, "abXab", "", "X"},  // hits at the first and the last byte
      {"$1", true, false, false, "a$1b", "\\", "a\\b"},  // plain text stays plain
      {"a.c", false, true, false, "abc abcd A.C", "X", "X abcd X"},
      {"FOO", false, false, true, "foo Foo", "<$0>", "<foo> <Foo>"},
      {"(\\w+)@(\\w+)", true, false, true, "me@home", "$2 at $1", "home at me"},
      {"FOO", true, false, true, "foo", "x", "foo"},
      {"", false, false, true, "abc", "x", "abc"},  // nothing to look for changes nothing
      {"", false, false, false, "abc", "x", "abc"},
      {"(", false, false, true, "a(b", "x", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.search);
    TLocalSearchReplace s;
    s.SearchText = c.search;
    s.CaseSensitive = c.caseSensitive;
    s.WholeWords = c.wholeWords;
    s.UseRegExpr = c.regExpr;
    EXPECT_EQ(ReplaceAllIn(c.text, s, c.replacement), c.expected);
  }
}

// ---- Search, replace selection, replace all --------------------------------------------------

TEST_F(SearchPanelTest, SearchSelectsTheNextHitKeepsTheHistoryAndReportsNotFound) {
  TCodeEdit& editor = NewDocument("eins ab\r\nxab");
  Fill("AB");
  Click("btnSearch");
  EXPECT_TRUE(LocalSearchReplace.Found);
  EXPECT_EQ(editor.SelStart(), 5);
  EXPECT_EQ(editor.SelLength(), 2);
  Click("btnSearch");
  EXPECT_EQ(editor.SelStart(), 10);
  EXPECT_EQ(frmMain->cmbSearch->Items(0), "AB");
  EXPECT_EQ(Settings.SearchMRU[0], "AB");
  ExpectPanelRestored();

  // Backwards from the text's end once, then the box is unchecked.
  Direction(true);
  Check("chkSearchFromTop");
  EXPECT_EQ(frmMain->Find<TCheckBox>("chkSearchFromTop")->Caption(), "Am Textende beginnen");
  Select(editor, 0, 0);
  Click("btnSearch");
  EXPECT_EQ(editor.SelStart(), 10);
  EXPECT_FALSE(frmMain->Find<TCheckBox>("chkSearchFromTop")->Checked());

  Settings.General.SearchNotFoundMsg = true;
  testsupport::QueueAnswer(ModalAnswer{IDOK}, [](const ModalQuestion& q) {
    EXPECT_EQ(q.text, "Der Suchbegriff wurde nicht gefunden.");
    EXPECT_EQ(q.caption, "Suchen");
  });
  Fill("fehlt");
  Click("btnSearch");
  EXPECT_FALSE(LocalSearchReplace.Found);
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);

  // An empty search text does nothing and asks nothing.
  Fill("");
  Click("btnSearch");
  EXPECT_EQ(editor.SelStart(), 10);
  ExpectPanelRestored();
}

TEST_F(SearchPanelTest, ReplaceSelectionIsOneUndoStepAndMovesToTheNextHit) {
  TCodeEdit& editor = NewDocument("ab ab ab");
  Fill("ab", "X\\tY");
  Select(editor, 0, 2);
  Click("btnReplaceSel");
  EXPECT_EQ(editor.Text(), "X\\tY ab ab");
  EXPECT_EQ(editor.SelStart(), 5);
  EXPECT_EQ(Settings.ReplaceMRU[0], "X\\tY");
  editor.Undo();
  EXPECT_EQ(editor.Text(), "ab ab ab");
  EXPECT_FALSE(editor.CanUndo());
  editor.Redo();
  EXPECT_EQ(editor.Text(), "X\\tY ab ab");
  editor.Undo();
  EXPECT_EQ(editor.Text(), "ab ab ab");

  // With escapes the replacement is expanded; the history keeps what was typed.
  Check("chkSearchReplaceEscape");
  Select(editor, 3, 2);
  Click("btnReplaceSel");
  EXPECT_EQ(editor.Text(), "ab X\tY ab");
  EXPECT_EQ(Settings.ReplaceMRU[0], "X\\tY");
}

TEST_F(SearchPanelTest, ReplaceAllInTheDocumentOrItsSelectionIsOneUndoStep) {
  const std::string text = "foo Foo\r\nFOO fox";
  TCodeEdit& editor = NewDocument(text);
  Fill("foo", "bar");
  Click("btnReplaceAll");
  EXPECT_EQ(editor.Text(), "bar bar\r\nbar fox");
  editor.Undo();
  EXPECT_EQ(editor.Text(), text);
  EXPECT_FALSE(editor.CanUndo());
  editor.Redo();
  EXPECT_EQ(editor.Text(), "bar bar\r\nbar fox");
  editor.Undo();
  EXPECT_EQ(editor.Text(), text);
  ExpectPanelRestored();

  // Only in the selection when asked; case sensitivity then spares Foo.
  Check("chkSearchReplaceAllInSel");
  Check("chkSearchCaseSensitive");
  Select(editor, 0, 7);
  Fill("Foo", "bar");
  Click("btnReplaceAll");
  EXPECT_EQ(editor.Text(), "foo bar\r\nFOO fox");
  // A whole-word search reads the text as a pattern between word boundaries.
  Check("chkSearchReplaceAllInSel", false);
  Check("chkSearchCaseSensitive", false);
  Check("chkSearchWholeWords");
  Fill("f.x", "Y");
  Click("btnReplaceAll");
  EXPECT_EQ(editor.Text(), "foo bar\r\nFOO Y");

  // Without a hit the caret, the (empty) selection and the view stay, so Replace Selection
  // stays off and cannot take the whole text.
  Check("chkSearchWholeWords", false);
  std::string lines;
  for (int i = 1; i <= 300; ++i) lines += "Zeile " + std::to_string(i) + "\r\n";
  TCodeEdit& other = NewDocument(lines);
  const std::string before = other.Text();
  other.SetTopLine(100);
  other.SetCaretXY({3, 105});
  Fill("nichtvorhanden", "X");
  Click("btnReplaceAll");
  EXPECT_EQ(other.Text(), before);
  EXPECT_FALSE(other.CanUndo());
  EXPECT_FALSE(other.SelAvail());
  EXPECT_EQ(other.CaretXY(), (TBufferCoord{3, 105}));
  EXPECT_EQ(other.TopLine(), 100);
  EXPECT_FALSE(Enabled("btnReplaceSel"));

  // Nor does a view scrolled sideways move, or a selection made backwards lose its anchor.
  std::string wide;
  for (int i = 1; i <= 100; ++i) wide += std::string(300, 'x') + "\r\n";
  TCodeEdit& sideways = NewDocument(wide);
  sideways.SetWordWrap(false);
  sideways.SetCaretAndSelection({150, 50}, {160, 52}, {150, 50});
  sideways.SetLeftChar(140);
  sideways.SetTopLine(45);
  const std::string unchanged = sideways.Text();
  Click("btnReplaceAll");
  EXPECT_EQ(sideways.Text(), unchanged);
  EXPECT_FALSE(sideways.CanUndo());
  EXPECT_EQ(sideways.CaretXY(), (TBufferCoord{150, 50}));
  EXPECT_EQ(sideways.BlockBegin(), (TBufferCoord{150, 50}));
  EXPECT_EQ(sideways.BlockEnd(), (TBufferCoord{160, 52}));
  EXPECT_EQ(sideways.LeftChar(), 140);
  EXPECT_EQ(sideways.TopLine(), 45);
  EXPECT_TRUE(Enabled("btnReplaceSel"));
  // Shift+Right moves the caret's end of the selection, not its anchor.
  sideways.CommandProcessor(ecSelRight, '\0', nullptr);
  EXPECT_EQ(sideways.BlockBegin(), (TBufferCoord{151, 50}));
  EXPECT_EQ(sideways.BlockEnd(), (TBufferCoord{160, 52}));
}

TEST_F(SearchPanelTest, ReplaceAllInAllDocumentsKeepsSelectionsAndSkipsReadOnlyDocuments) {
  TCodeEdit& first = NewDocument("ab ab");
  TCodeEdit& locked = NewDocument("ab");
  locked.SetReadOnly(true);
  TCodeEdit& third = NewDocument("xab");
  Select(first, 3, 2);
  Select(third, 0, 0);
  Check("chkSearchAllFiles");
  EXPECT_FALSE(Enabled("rbSearchForwards"));
  EXPECT_FALSE(Enabled("chkSearchShowInTab"));
  EXPECT_FALSE(Enabled("chkSearchReplaceAllInSel"));
  Fill("ab", "Z");
  Click("btnReplaceAll");
  EXPECT_EQ(first.Text(), "ab Z");
  EXPECT_EQ(locked.Text(), "ab");
  EXPECT_EQ(third.Text(), "xZ");
  first.Undo();
  EXPECT_EQ(first.Text(), "ab ab");
  ExpectPanelRestored();
}

TEST_F(SearchPanelTest, ADocumentClosedDuringReplaceAllIsSkippedAndTheOthersAreReplaced) {
  TCodeEdit& first = NewDocument("ab");
  NewDocument("ab");
  TCodeEdit& third = NewDocument("ab");
  TfraEdit* second = GetFrameChecked(1);
  Check("chkSearchAllFiles");
  Fill("ab", "Z");
  // Runs after the first document, while the run lets messages through.
  TPostedAction close([&] {
    frmMain->pcEdit->SetActivePage(dynamic_cast<TTabSheet*>(second->Owner()));
    second->DocInfo.Modified = false;
    CloseDocument();
  });
  Click("btnReplaceAll");
  ASSERT_TRUE(close.Ran());
  EXPECT_EQ(frmMain->pcEdit->PageCount(), 2);
  EXPECT_EQ(first.Text(), "Z");
  EXPECT_EQ(third.Text(), "Z");
  ExpectPanelRestored();
}

// ---- Every way out restores the panel ------------------------------------------------------

TEST_F(SearchPanelTest, AnInvalidExpressionIsReportedAndThePanelStillWorks) {
  TCodeEdit& editor = NewDocument("a(b aab");
  Check("chkSearchUseRegExpr");
  EXPECT_FALSE(Enabled("chkSearchWholeWords"));
  Fill("(", "x");
  testsupport::QueueAnswer(IDOK);  // the expression's error box
  Click("btnSearch");
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);
  ExpectPanelRestored();

  // Replace All leaves the text and asks nothing.
  Click("btnReplaceAll");
  EXPECT_EQ(editor.Text(), "a(b aab");
  EXPECT_FALSE(editor.CanUndo());
  ExpectPanelRestored();

  Fill("a+b", "x");
  Select(editor, 0, 0);
  Click("btnSearch");
  EXPECT_EQ(editor.SelStart(), 4);
  EXPECT_EQ(editor.SelLength(), 3);
  Click("btnReplaceAll");
  EXPECT_EQ(editor.Text(), "a(b x");
}

TEST_F(SearchPanelTest, ARunawayExpressionIsTheOnlyBoxAndReplaceAllKeepsTheSelection) {
  Settings.General.SearchNotFoundMsg = true;
  const std::string text = testsupport::RunawayText() + " ab";
  TCodeEdit& editor = NewDocument(text);
  Check("chkSearchUseRegExpr");
  Fill(testsupport::RunawayPattern, "x");
  Select(editor, 3, 2);
  // One hit at a time and all hits in the list alike: no "not found" after the error.
  for (bool listed : {false, true}) {
    SCOPED_TRACE(listed ? "listed" : "one hit");
    Check("chkSearchShowInTab", listed);
    testsupport::ResetModalAnswers();
    testsupport::ExpectRunawayReport();
    Click("btnSearch");
    EXPECT_EQ(testsupport::AskedQuestions().size(), 1u);
    EXPECT_EQ(editor.SelStart(), 3);
    EXPECT_EQ(editor.SelLength(), 2);
    ExpectPanelRestored();
  }
  // Replace All runs over the whole text: in the active document whatever is selected, over
  // all documents where nothing is.
  Check("chkSearchShowInTab", false);
  for (bool allDocuments : {false, true}) {
    SCOPED_TRACE(allDocuments ? "all documents" : "active document");
    Check("chkSearchAllFiles", allDocuments);
    Select(editor, allDocuments ? 5 : 3, allDocuments ? 0 : 2);
    const TBufferCoord caret = editor.CaretXY();
    testsupport::ResetModalAnswers();
    testsupport::ExpectRunawayReport();
    Click("btnReplaceAll");
    EXPECT_EQ(testsupport::AskedQuestions().size(), 1u);
    EXPECT_EQ(editor.Text(), text);
    EXPECT_FALSE(editor.CanUndo());
    EXPECT_EQ(editor.SelStart(), allDocuments ? 5 : 3);
    EXPECT_EQ(editor.SelLength(), allDocuments ? 0 : 2);
    EXPECT_EQ(editor.CaretXY(), caret);
    ExpectPanelRestored();
  }
}

TEST_F(SearchPanelTest, AMalformedEscapeIsReportedBeforeAnythingChanges) {
  TCodeEdit& editor = NewDocument("ab ab");
  Check("chkSearchReplaceEscape");
  Fill("ab", "\\cxy");
  Select(editor, 0, 2);
  for (const char* button : {"btnReplaceSel", "btnReplaceAll"}) {
    SCOPED_TRACE(button);
    testsupport::QueueAnswer(ModalAnswer{IDOK}, [](const ModalQuestion& q) {
      EXPECT_NE(q.text.find("xy"), std::string::npos);
    });
    Click(button);
    EXPECT_EQ(testsupport::PendingAnswers(), 0u);
    EXPECT_EQ(editor.Text(), "ab ab");
    EXPECT_FALSE(editor.CanUndo());
    EXPECT_EQ(Settings.ReplaceMRU.Count(), 0);
    ExpectPanelRestored();
  }
}

TEST_F(SearchPanelTest, ASearchOrReplacementTheCodePageCannotHoldIsRefusedByItsFieldAndNothingChanges) {
  TCodeEdit& editor = NewDocument("Omega Omega");
  Select(editor, 0, 5);
  auto expectUnchanged = [&] {
    EXPECT_EQ(testsupport::PendingAnswers(), 0u);
    EXPECT_EQ(editor.Text(), "Omega Omega");
    EXPECT_FALSE(editor.CanUndo());
    EXPECT_EQ(std::pair(editor.SelStart(), editor.SelLength()), std::pair(0, 5));
    EXPECT_EQ(Settings.SearchMRU.Count() + Settings.ReplaceMRU.Count(), 0);
    ExpectPanelRestored();
  };
  Paste(frmMain->cmbSearch->EditHandle(), L"\u03A9mega");
  frmMain->cmbReplace->SetText("X");
  for (bool allDocuments : {false, true}) {
    Check("chkSearchAllFiles", allDocuments);
    for (const char* button : {"btnSearch", "btnReplaceSel", "btnReplaceAll"}) {
      SCOPED_TRACE(std::string(button) + (allDocuments ? " in all documents" : ""));
      ExpectRefused("Suchen nach");
      Click(button);
      expectUnchanged();
    }
  }
  Check("chkSearchAllFiles", false);
  frmMain->cmbSearch->SetText("Omega");
  Paste(frmMain->cmbReplace->EditHandle(), L"\u03A9");
  for (const char* button : {"btnReplaceSel", "btnReplaceAll"}) {
    SCOPED_TRACE(button);
    ExpectRefused("Ersetzen mit");
    Click(button);
    expectUnchanged();
  }
  // Several lines take the text as typed, so it is still refused.
  Paste(frmMain->cmbSearch->EditHandle(), L"\u03A9mega");
  frmMain->cmbReplace->SetText("X");
  Check("chkSearchMultiLine");
  for (const char* button : {"btnReplaceSel", "btnReplaceAll"}) {
    SCOPED_TRACE(std::string(button) + " in several lines");
    ExpectRefused("Suchen nach");
    Click(button);
    expectUnchanged();
  }
  // A person's way: pasted from another program, a click into the text, the panel opened again
  // from there (which reloads the field's history), then Enter in the field and clicks on the
  // buttons, all through the program's loop and its key preview.
  Check("chkSearchMultiLine", false);
  ShowWindow(frmMain->Handle(), SW_SHOWNORMAL);
  SetForegroundWindow(frmMain->Handle());
  Fill("", "X");
  const HWND field = frmMain->cmbSearch->EditHandle();
  ::SetFocus(field);
  testsupport::PutOnClipboard(field, L"\u03A9mega");
  PressWithCtrl('V');
  ClickWithMouse(editor.Handle());
  PressWithCtrl('F');
  ASSERT_EQ(GetFocus(), field);
  EXPECT_EQ(frmMain->cmbSearch->WideCaption(), L"\u03A9mega");
  ExpectRefused("Suchen nach");
  Press(VK_RETURN);
  Select(editor, 0, 5);
  expectUnchanged();
  for (const char* button : {"btnReplaceSel", "btnReplaceAll"}) {
    SCOPED_TRACE(std::string(button) + " clicked with the mouse");
    ExpectRefused("Suchen nach");
    ClickWithMouse(frmMain->Find<TButton>(button)->Handle());
    expectUnchanged();
  }
}

TEST_F(SearchPanelTest, AnExpressionThatDoesNotCompileIsReportedBeforeTheSelectionIsReplaced) {
  TCodeEdit& editor = NewDocument("a(b a(b");
  Select(editor, 0, 3);
  Fill("a(", "x");
  // Whole words are searched as an expression with boundaries around the text.
  const struct {
    const char* option;
    const char* error;
  } cases[] = {{"chkSearchUseRegExpr", "TRegex(comp): ParseReg Unmatched () (pos 2)"},
               {"chkSearchWholeWords", "TRegex(comp): ParseReg Unmatched () (pos 6)"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.option);
    Check(c.option);
    testsupport::ResetModalAnswers();
    testsupport::QueueAnswer(ModalAnswer{IDOK}, [&c](const ModalQuestion& q) {
      EXPECT_EQ(q.kind, ModalKind::MessageBox);
      EXPECT_EQ(q.caption, "Unbenannt1 - Tarvoline");
      EXPECT_EQ(q.text, c.error);
      EXPECT_EQ(q.flags, UINT(MB_OK | MB_ICONERROR));
    });
    Click("btnReplaceSel");
    EXPECT_EQ(testsupport::PendingAnswers(), 0u);
    EXPECT_EQ(testsupport::AskedQuestions().size(), 1u);
    EXPECT_EQ(editor.Text(), "a(b a(b");
    EXPECT_FALSE(editor.CanUndo());
    EXPECT_EQ(std::pair(editor.SelStart(), editor.SelLength()), std::pair(0, 3));
    EXPECT_EQ(Settings.ReplaceMRU.Count(), 0);
    ExpectPanelRestored();
    Check(c.option, false);
  }
  // Searched plainly, the same text replaces the selection and selects the next hit.
  Click("btnReplaceSel");
  EXPECT_EQ(editor.Text(), "x a(b");
  EXPECT_EQ(std::pair(editor.SelStart(), editor.SelLength()), std::pair(2, 2));
}

TEST_F(SearchPanelTest, TheIncrementalSearchRefusesWhatTheCodePageLacksOnceWhileTypingAndOnEnter) {
  TCodeEdit& editor = NewDocument("Obst");
  const HWND field = frmMain->txtIncSearch->Handle();
  ExpectRefused("Inkrementelle Suche");
  SendMessageW(field, WM_CHAR, L'\u03A9', 0);  // Omega: "O" is its look-alike
  Type(field, 'b');
  EXPECT_EQ(std::pair(editor.SelStart(), editor.SelLength()), std::pair(0, 0));
  EXPECT_EQ(testsupport::PendingAnswers(), 0u) << "asked once";
  ExpectRefused("Inkrementelle Suche");
  SendMessageA(field, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(std::pair(editor.SelStart(), editor.SelLength()), std::pair(0, 0));
}

TEST_F(SearchPanelTest, CancelledRunsStopAndRestoreThePanel) {
  TCodeEdit& first = NewDocument("ab ab ab");
  TCodeEdit& second = NewDocument("ab");
  Check("chkSearchAllFiles");
  Fill("ab", "Z");

  std::string captionWhileRunning;
  TPostedAction cancelSearch([&] {
    captionWhileRunning = frmMain->Find<TButton>("btnSearch")->Caption();
    Click("btnSearch");
  });
  Click("btnSearch");
  ASSERT_TRUE(cancelSearch.Ran());
  EXPECT_EQ(captionWhileRunning, "Abbrechen");
  EXPECT_LT(frmMain->lvResults->Count(), 4);
  ExpectPanelRestored();

  TPostedAction cancelReplace([] { Click("btnReplaceAll"); });
  Click("btnReplaceAll");
  ASSERT_TRUE(cancelReplace.Ran());
  // The listing's jump left the first hit selected, and a selection is all that is replaced.
  EXPECT_EQ(first.Text(), "Z ab ab");
  EXPECT_EQ(second.Text(), "ab") << "the run stopped after the first document";
  ExpectPanelRestored();
}

// ---- Results list ------------------------------------------------------------------------

TEST_F(SearchPanelTest, ResultsJumpToTheirDocumentAlsoWithAmpersandAndStaleRowsAreIgnored) {
  folder.Write("a&b.txt", "zz ab");
  ASSERT_NE(OpenFile(folder.File("a&b.txt")), nullptr);
  TCodeEdit& amp = *GetActiveFrame()->seEdit;
  TCodeEdit& other = NewDocument("ab");
  Check("chkSearchAllFiles");
  Fill("ab");
  Click("btnSearch");
  TListView& list = *frmMain->lvResults;
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Items(0)->Caption(), "a&b.txt");
  // The first row was selected and jumped to.
  EXPECT_EQ(frmMain->pcEdit->ActivePageIndex(), 0);
  EXPECT_EQ(amp.SelStart(), 3);
  EXPECT_EQ(amp.SelLength(), 2);
  EXPECT_EQ(frmMain->lblResultState->Caption(), "2 Treffer");

  list.Items(1)->SetSelected(true);
  EXPECT_EQ(frmMain->pcEdit->ActivePageIndex(), 1);
  EXPECT_EQ(other.SelStart(), 0);
  EXPECT_EQ(other.SelLength(), 2);

  // A retitled tab no longer matches its rows.
  frmMain->pcEdit->Pages(0)->SetCaption("anders");
  list.Items(0)->SetSelected(true);
  EXPECT_EQ(frmMain->pcEdit->ActivePageIndex(), 1);
  EXPECT_EQ(ResultRowTab(*list.Items(0), *frmMain->pcEdit), -1);
}

TEST_F(SearchPanelTest, EnterOverAllDocumentsJumpsToTheFirstHitAndFocusesAsConfigured) {
  ShowWindow(frmMain->Handle(), SW_SHOWNORMAL);
  SetForegroundWindow(frmMain->Handle());
  TCodeEdit& first = NewDocument("x ab");
  NewDocument("ab");
  for (bool focusEditor : {true, false}) {
    SCOPED_TRACE(focusEditor);
    Settings.General.SearchFocusEditor = focusEditor;
    frmMain->Find<TMenuItem>("mnuEditDocSearch")->Click();
    Fill("ab");
    Press(VK_RETURN);
    EXPECT_EQ(frmMain->pcEdit->ActivePageIndex(), 0);
    EXPECT_EQ(first.SelStart(), 2);
    EXPECT_EQ(GetFocus(), focusEditor ? first.Handle() : frmMain->lvResults->Handle());
  }
}

TEST_F(SearchPanelTest, TheResultsOfAllDocumentsAreWalkedByKeyboardAndJumpedToByEnterOrClick) {
  ShowWindow(frmMain->Handle(), SW_SHOWNORMAL);
  SetForegroundWindow(frmMain->Handle());
  TCodeEdit& first = NewDocument("x ab");
  TCodeEdit& second = NewDocument("ab\r\nab");
  const HWND list = frmMain->lvResults->Handle();
  auto shown = [](const TCodeEdit& Editor) {
    return std::tuple(frmMain->pcEdit->ActivePageIndex(), Editor.SelStart(), Editor.SelLength());
  };
  // Ctrl+Enter from either document: the first hit, in the first one, leaves the list the
  // focus, Ctrl turning the setting around.
  Settings.General.SearchFocusEditor = true;
  for (int from : {0, 1}) {
    SCOPED_TRACE(from);
    frmMain->pcEdit->SetActivePageIndex(from);
    frmMain->Find<TMenuItem>("mnuEditDocSearch")->Click();
    Fill("ab");
    PressWithCtrl(VK_RETURN);
    ASSERT_EQ(frmMain->lvResults->Count(), 3);
    EXPECT_EQ(shown(first), std::tuple(0, 2, 2));
    EXPECT_EQ(GetFocus(), list);
    EXPECT_EQ(frmMain->cmbSearch->Text(), "ab");
    EXPECT_TRUE(frmMain->Find<TCheckBox>("chkSearchAllFiles")->Checked());
  }
  // The arrows show each hit and keep the focus; Enter then jumps into the editor.
  Press(VK_DOWN);
  EXPECT_EQ(shown(second), std::tuple(1, 0, 2));
  EXPECT_EQ(GetFocus(), list);
  Press(VK_DOWN);
  EXPECT_EQ(shown(second), std::tuple(1, 4, 2));
  EXPECT_EQ(GetFocus(), list);
  Press(VK_RETURN);
  EXPECT_EQ(GetFocus(), second.Handle());
  EXPECT_EQ(second.Text(), "ab\r\nab");
  // F6 goes to the panel below and back.
  Press(VK_F6);
  EXPECT_EQ(GetFocus(), list);
  Press(VK_UP);
  EXPECT_EQ(shown(second), std::tuple(1, 0, 2));
  Press(VK_F6);
  EXPECT_EQ(GetFocus(), second.Handle());
  // With the editor not to be focused, Enter leaves the focus in the list.
  Settings.General.SearchFocusEditor = false;
  Press(VK_F6);
  Press(VK_UP);
  Press(VK_RETURN);
  EXPECT_EQ(shown(first), std::tuple(0, 2, 2));
  EXPECT_EQ(GetFocus(), list);
  // A click jumps as before.
  Settings.General.SearchFocusEditor = true;
  RECT row = {LVIR_BOUNDS};
  SendMessageA(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
  const LPARAM at = MAKELPARAM(row.left + 20, (row.top + row.bottom) / 2);
  PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(list, WM_LBUTTONUP, 0, at);
  Application().ProcessMessages();
  EXPECT_EQ(shown(second), std::tuple(1, 0, 2));
  EXPECT_EQ(GetFocus(), second.Handle());
  // Given to an editor command, F6 runs it in the editor and still leads back from the panel.
  second.Keystrokes().AddKey(ecSelectAll, VK_F6, {});
  Press(VK_F6);
  EXPECT_EQ(GetFocus(), second.Handle());
  EXPECT_EQ(second.SelLength(), 6);
  frmMain->lvResults->SetFocus();
  Press(VK_F6);
  EXPECT_EQ(GetFocus(), second.Handle());
}

TEST_F(SearchPanelTest, ShowingAllHitsOfTheActiveDocumentFillsTheList) {
  NewDocument("ab");
  TCodeEdit& editor = NewDocument("ab\r\nab");
  Check("chkSearchShowInTab");
  EXPECT_FALSE(Enabled("chkSearchFromTop"));
  Fill("ab");
  Click("btnSearch");
  ASSERT_EQ(frmMain->lvResults->Count(), 2);
  EXPECT_EQ(frmMain->lvResults->Items(1)->SubItem(0), "1");
  EXPECT_EQ(frmMain->pcBottom->ActivePage(), frmMain->Find<TTabSheet>("tabResults"));
  EXPECT_TRUE(frmMain->pcBottom->Visible());
  EXPECT_EQ(editor.SelStart(), 0);
  ExpectPanelRestored();
  // Ctrl+Enter leaves the focus in the list, the setting turned around.
  ShowWindow(frmMain->Handle(), SW_SHOWNORMAL);
  SetForegroundWindow(frmMain->Handle());
  Settings.General.SearchFocusEditor = true;
  frmMain->Find<TMenuItem>("mnuEditSearch")->Click();
  Fill("ab");
  PressWithCtrl(VK_RETURN);
  EXPECT_EQ(frmMain->lvResults->Count(), 2);
  EXPECT_EQ(GetFocus(), frmMain->lvResults->Handle());
}

TEST_F(SearchPanelTest, TheFoundTextColumnFillsTheListAlsoWhenTheHitsBringAScrollBar) {
  std::string text;
  for (int i = 0; i < 80; ++i) text += "ab\r\n";
  NewDocument(text);
  Check("chkSearchShowInTab");
  Fill("ab");
  Click("btnSearch");
  TListView& list = *frmMain->lvResults;
  ASSERT_EQ(list.Count(), 80);
  ASSERT_TRUE(GetWindowLongA(list.Handle(), GWL_STYLE) & WS_VSCROLL);
  int others = 0;
  for (int c = 0; c < 6; ++c) others += list.ColumnWidth(c);
  EXPECT_EQ(list.ColumnWidth(6), list.ClientRect().right - others);
  EXPECT_EQ(list.ColumnCaption(6), "Fundstelle");
}

// ---- Long texts and running out of memory -------------------------------------------------
// Longer than the 512 characters the system's 8-bit conversion copies of a list item.

TEST_F(SearchPanelTest, LongTextsAreSearchedWholeAndTheirHistoriesWorkAgainAndAgain) {
  const std::string replacement(1024, 'x');
  TCodeEdit& editor = NewDocument("e1e");
  Fill("e", replacement);
  Click("btnReplaceAll");
  const std::string replaced = replacement + "1" + replacement;
  EXPECT_EQ(editor.Text(), replaced);
  Click("btnReplaceAll");  // reads the long entry back from the history
  EXPECT_EQ(editor.Text(), replaced);
  EXPECT_EQ(frmMain->cmbReplace->Count(), 1);
  EXPECT_EQ(frmMain->cmbReplace->Items(0), replacement);
  EXPECT_EQ(Settings.ReplaceMRU[0], replacement);

  // Only the whole text is a hit: a run one shorter is passed over.
  const std::string sought(700, 'y');
  editor.SetText("a " + sought.substr(1) + " " + sought + " b");
  Select(editor, 0, 0);
  Fill(sought);
  Click("btnSearch");
  EXPECT_EQ(editor.SelStart(), 702);
  EXPECT_EQ(editor.SelLength(), 700);
  Fill("b");
  Click("btnSearch");
  EXPECT_EQ(editor.SelStart(), 1403);
  EXPECT_EQ(frmMain->cmbSearch->Items(1), sought);
  EXPECT_EQ(Settings.SearchMRU[1], sought);
  ExpectPanelRestored();
}

TEST_F(SearchPanelTest, LongHistoryEntriesStoredInTheSettingsWorkAfterTheNextStart) {
  const std::string search(700, 'y'), replacement(1024, 'x');
  Settings.SearchMRU.Add(search);
  Settings.ReplaceMRU.Add(replacement);
  Settings.ViewDocSearch = true;
  ASSERT_TRUE(SaveSettings());
  Settings.SearchMRU.Clear();
  Settings.ReplaceMRU.Clear();
  LoadSettings();
  MainForm()->FormShow();
  ASSERT_EQ(frmMain->cmbSearch->Count(), 1);
  EXPECT_EQ(frmMain->cmbSearch->Items(0), search);
  EXPECT_EQ(frmMain->cmbReplace->Items(0), replacement);

  TCodeEdit& editor = *GetActiveFrame()->seEdit;
  editor.SetText("e");
  Fill("e", "z");
  Click("btnReplaceAll");
  EXPECT_EQ(editor.Text(), "z");
  EXPECT_EQ(frmMain->cmbSearch->Items(1), search);
  EXPECT_EQ(frmMain->cmbReplace->Items(1), replacement);
}

TEST_F(SearchPanelTest, ReplaceAllOutOfMemorySaysSoInGermanAndChangesNothing) {
  const std::string text(20000, 'e');  // each "e" by 1 KB makes 20 MB
  TCodeEdit& editor = NewDocument(text);
  Select(editor, 3, 2);
  Fill("e", std::string(1024, 'x'));
  testsupport::QueueAnswer(ModalAnswer{IDOK}, [](const ModalQuestion& q) {
    EXPECT_EQ(q.text, "Nicht gen\xFCgend Arbeitsspeicher, um den Vorgang auszuf\xFChren.");
    EXPECT_EQ(q.flags, UINT(MB_OK | MB_ICONERROR));
  });
  {
    testsupport::TAllocationLimit limit(4 << 20);
    Click("btnReplaceAll");
  }
  EXPECT_EQ(testsupport::PendingAnswers(), 0u) << "the error box was shown";
  EXPECT_EQ(editor.Text(), text);
  EXPECT_FALSE(editor.Modified());
  EXPECT_FALSE(editor.CanUndo());
  EXPECT_EQ(editor.SelStart(), 3);
  EXPECT_EQ(editor.SelLength(), 2);
  ExpectPanelRestored();
}

// ---- Opening, histories and keys -----------------------------------------------------------

TEST_F(SearchPanelTest, OpeningCutsTheHistoriesAndTakesTheSelection) {
  for (int i = 0; i < 32; ++i) Settings.SearchMRU.Add("s" + std::to_string(i));
  Settings.ReplaceMRU.Add("r");
  TCodeEdit& editor = NewDocument("eins\r\nzwei");
  Select(editor, 0, 4);
  frmMain->Find<TMenuItem>("mnuEditSearch")->Click();
  EXPECT_TRUE(frmMain->pcBottom->Visible());
  EXPECT_TRUE(Settings.ViewDocSearch);
  EXPECT_EQ(Settings.SearchMRU.Count(), 30);
  EXPECT_EQ(frmMain->cmbSearch->Count(), 30);
  EXPECT_EQ(frmMain->cmbReplace->Items(0), "r");
  EXPECT_EQ(frmMain->cmbSearch->Text(), "eins");
  EXPECT_TRUE(frmMain->Find<TCheckBox>("chkSearchReplaceAllInSel")->Checked());
  // A selection over a line break is not taken.
  Select(editor, 0, 8);
  frmMain->Find<TMenuItem>("mnuEditDocSearch")->Click();
  EXPECT_EQ(frmMain->cmbSearch->Text(), "eins");
  EXPECT_TRUE(frmMain->Find<TCheckBox>("chkSearchAllFiles")->Checked());

  // Shift+Delete removes the picked entry, and only with Shift alone.
  TComboBox& combo = *frmMain->cmbSearch;
  combo.SetItemIndex(1);
  SetKeyStateOverride([](int Key) { return Key == VK_SHIFT || Key == VK_CONTROL; });
  SendMessageA(combo.EditHandle(), WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ(combo.Count(), 30);
  {
    THeldShift shift;
    combo.SetItemIndex(1);
    SendMessageA(combo.EditHandle(), WM_KEYDOWN, VK_DELETE, 0);
  }
  EXPECT_EQ(combo.Count(), 29);
  EXPECT_EQ(combo.Items(1), "s2");
}

TEST_F(SearchPanelTest, TheSameOpenCommandClosesAFocusedPanelAndTheOtherSwitchesItsMode) {
  NewDocument("abc");
  ShowWindow(frmMain->Handle(), SW_SHOWNORMAL);
  SetForegroundWindow(frmMain->Handle());
  auto open = [](const char* Command) { frmMain->Find<TMenuItem>(Command)->Click(); };
  open("mnuEditSearch");
  ASSERT_EQ(GetFocus(), frmMain->cmbSearch->EditHandle());
  open("mnuEditDocSearch");
  EXPECT_TRUE(frmMain->pcBottom->Visible());
  EXPECT_TRUE(frmMain->Find<TCheckBox>("chkSearchAllFiles")->Checked());
  open("mnuEditDocSearch");
  EXPECT_FALSE(frmMain->pcBottom->Visible());
  EXPECT_FALSE(Settings.ViewDocSearch);

  // The fields' edit menu follows the focused field: cut, then paste it back.
  open("mnuEditSearch");
  TComboBox& combo = *frmMain->cmbSearch;
  combo.SetText("abc");
  combo.SetSelection(0, 2);
  MainForm()->pmnuSREditPopup(nullptr);
  auto item = [](const char* Name) { return frmMain->Find<TMenuItem>(Name); };
  EXPECT_EQ(item("pmnuSREditCopy")->Caption(), item("mnuEditCopy")->Caption());
  EXPECT_TRUE(item("pmnuSREditCut")->Enabled());
  item("pmnuSREditCut")->Click();
  EXPECT_EQ(combo.Text(), "c");
  MainForm()->pmnuSREditPopup(nullptr);
  EXPECT_FALSE(item("pmnuSREditCopy")->Enabled());
  EXPECT_TRUE(item("pmnuSREditPaste")->Enabled());
  item("pmnuSREditPaste")->Click();
  EXPECT_EQ(combo.Text(), "abc");
}

TEST_F(SearchPanelTest, EnterSearchesAndEscapeHidesThePanel) {
  TCodeEdit& editor = NewDocument("x ab");
  frmMain->Find<TMenuItem>("mnuEditSearch")->Click();
  Fill("ab");
  Type(frmMain->cmbSearch->EditHandle(), VK_RETURN);
  EXPECT_EQ(editor.SelStart(), 2);
  Type(frmMain->cmbReplace->EditHandle(), VK_ESCAPE);
  EXPECT_FALSE(frmMain->pcBottom->Visible());
  EXPECT_FALSE(Settings.ViewDocSearch);
}

TEST_F(SearchPanelTest, TabGoesRoundThePanelInReadingOrderAndTheEditorKeepsItsTab) {
  InitHotKeys();  // the editor's keys and the window's Ctrl+Tab
  TCodeEdit& other = NewDocument("cd");
  TCodeEdit& editor = NewDocument("ab");
  ShowWindow(frmMain->Handle(), SW_SHOWNORMAL);
  SetForegroundWindow(frmMain->Handle());
  frmMain->Find<TMenuItem>("mnuEditSearch")->Click();
  // Typed as the keyboard does, through the program's loop.
  auto press = [](WORD Key) {
    PostMessageA(GetFocus(), WM_KEYDOWN, Key, 1 | (MapVirtualKeyA(Key, 0) << 16));
    Application().ProcessMessages();
    const TWinControl* focused = nullptr;
    for (HWND w = GetFocus(); w && !focused; w = GetParent(w)) focused = TWinControl::FromHandle(w);
    return focused ? focused->Name() : std::string("none");
  };
  // Replace Selection is off without a selection, and of the directions only the checked one
  // takes part.
  const std::vector<std::string> round = {
      "cmbReplace", "chkSearchCaseSensitive", "chkSearchWholeWords", "chkSearchUseRegExpr",
      "chkSearchReplaceEscape", "chkSearchMultiLine", "chkSearchFromTop", "chkSearchShowInTab",
      "chkSearchReplaceAllInSel", "chkSearchAllFiles", "rbSearchForwards", "btnSearch",
      "btnReplaceAll", "cmbSearch"};
  std::vector<std::string> forwards, backwards;
  for (size_t i = 0; i < round.size(); ++i) forwards.push_back(press(VK_TAB));
  EXPECT_EQ(forwards, round);
  {
    THeldShift shift;
    for (size_t i = 0; i < round.size(); ++i) backwards.push_back(press(VK_TAB));
  }
  std::vector<std::string> reversed(round.rbegin() + 1, round.rend());
  reversed.push_back(round.back());
  EXPECT_EQ(backwards, reversed);
  // Enter presses the button that has the focus.
  Fill("ab");
  frmMain->Find<TButton>("btnSearch")->SetFocus();
  press(VK_RETURN);
  EXPECT_EQ(editor.SelLength(), 2) << "Enter on Suchen searches";

  // The multi-line fields too, where Ctrl+Tab and Ctrl+Shift+Tab type a tab while the same
  // document stays in front; Escape in one afterwards leaves the panel's page whole.
  Check("chkSearchMultiLine");
  frmMain->txtSearch->SetText("");
  frmMain->txtSearch->SetFocus();
  auto pressWith = [&](std::function<bool(int)> Held, WORD Key) {
    SetKeyStateOverride(std::move(Held));
    const std::string focused = press(Key);
    SetKeyStateOverride(nullptr);
    return focused;
  };
  const auto ctrl = [](int Key) { return Key == VK_CONTROL; };
  const auto ctrlShift = [](int Key) { return Key == VK_CONTROL || Key == VK_SHIFT; };
  press('A');
  press('B');
  EXPECT_EQ(pressWith(ctrl, VK_TAB), "txtSearch");
  press('C');
  EXPECT_EQ(pressWith(ctrlShift, VK_TAB), "txtSearch");
  press('D');
  EXPECT_EQ(frmMain->txtSearch->Text(), "ab\tc\td");
  EXPECT_EQ(frmMain->pcEdit->ActivePageIndex(), 1);
  EXPECT_EQ(press(VK_TAB), "txtReplace");
  press(VK_ESCAPE);
  EXPECT_TRUE(IsWindow(frmMain->txtSearch->Handle()));
  Check("chkSearchMultiLine", false);

  editor.SetFocus();
  EXPECT_EQ(press(VK_TAB), "seEdit");
  EXPECT_EQ(editor.Text().find('\t'), 0u) << editor.Text();
  // In the editor Ctrl+Tab switches the document and types nothing.
  EXPECT_EQ(pressWith(ctrl, VK_TAB), "seEdit");
  EXPECT_EQ(frmMain->pcEdit->ActivePageIndex(), 0);
  EXPECT_EQ(GetFocus(), other.Handle());
  EXPECT_EQ(other.Text(), "cd");
}

TEST_F(SearchPanelTest, MultiLineModeCarriesTheTextsAndSearchesAcrossLines) {
  TCodeEdit& editor = NewDocument("a\r\nb a\r\nb");
  Fill("one", "two");
  Check("chkSearchMultiLine");
  EXPECT_TRUE(frmMain->txtSearch->Visible());
  EXPECT_FALSE(frmMain->cmbSearch->Visible());
  EXPECT_EQ(frmMain->txtReplace->Text(), "two");
  auto* label = frmMain->Find<TWinControl>("lblReplace");
  EXPECT_EQ(label->Top(), frmMain->txtReplace->Top() + 3);

  frmMain->txtSearch->SetText("a\r\nb");
  Click("btnSearch");
  EXPECT_EQ(editor.SelStart(), 0);
  EXPECT_EQ(editor.SelLength(), 4);

  // Enter breaks the line only while the text is no expression.
  const HWND field = frmMain->txtSearch->Handle();
  SendMessageA(field, EM_SETSEL, 1, 1);
  Check("chkSearchUseRegExpr");
  Type(field, VK_RETURN);
  EXPECT_EQ(frmMain->txtSearch->Text(), "a\r\nb");
  Check("chkSearchUseRegExpr", false);
  Type(field, VK_RETURN);
  EXPECT_EQ(frmMain->txtSearch->Text(), "a\r\n\r\nb");
  // Ctrl+Enter searches, from either field, and breaks no line.
  frmMain->txtSearch->SetText("a\r\nb");
  for (TEdit* typedIn : {frmMain->txtSearch, frmMain->txtReplace}) {
    SCOPED_TRACE(typedIn->Name());
    typedIn->SetFocus();
    PressWithCtrl(VK_RETURN);
    EXPECT_EQ(editor.SelStart(), typedIn == frmMain->txtSearch ? 5 : 0) << "the next hit, round";
    EXPECT_EQ(frmMain->txtSearch->Text(), "a\r\nb");
    EXPECT_EQ(frmMain->txtReplace->Text(), "two");
  }

  Check("chkSearchMultiLine", false);
  EXPECT_EQ(frmMain->cmbSearch->Text(), "a");
  EXPECT_EQ(label->Top(), frmMain->cmbReplace->Top() + 3);
}

TEST_F(SearchPanelTest, TheWindowAppliesTheStoredOptionsAtShowAndStoresThemAtClose) {
  Settings.SearchReplace.AllFiles = true;
  Settings.SearchReplace.WholeWords = true;
  Settings.SearchReplace.Forwards = false;
  MainForm()->FormShow();
  EXPECT_FALSE(Enabled("chkSearchShowInTab"));
  EXPECT_FALSE(Enabled("chkSearchUseRegExpr"));
  EXPECT_FALSE(Enabled("rbSearchBackwards"));
  EXPECT_EQ(frmMain->Find<TCheckBox>("chkSearchFromTop")->Caption(), "Am Textende beginnen");
  Check("chkSearchAllFiles", false);
  Direction(false);
  MainForm()->FormClose();
  EXPECT_FALSE(Settings.SearchReplace.AllFiles);
  EXPECT_TRUE(Settings.SearchReplace.WholeWords);
  EXPECT_TRUE(Settings.SearchReplace.Forwards);
}

// ---- Incremental search ------------------------------------------------------------------

TEST_F(SearchPanelTest, IncrementalSearchExtendsMovesWrapsAndColoursAMiss) {
  TCodeEdit& editor = NewDocument("xab yAB");
  const HWND field = frmMain->txtIncSearch->Handle();
  auto background = [&] {
    HDC dc = GetDC(field);
    SetBkColor(dc, RGB(1, 2, 3));
    SendMessageA(frmMain->tbMain->Handle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(field));
    const COLORREF colour = GetBkColor(dc);
    ReleaseDC(field, dc);
    return colour;
  };
  auto enter = [&] { SendMessageA(field, WM_KEYDOWN, VK_RETURN, 0); };
  auto selected = [&] { return std::pair{editor.SelStart(), editor.SelLength()}; };

  Type(field, 'a');
  EXPECT_EQ(selected(), std::pair(1, 1));
  Type(field, 'B');
  EXPECT_EQ(selected(), std::pair(1, 2)) << "typing extends the hit in place";
  enter();
  EXPECT_EQ(selected(), std::pair(5, 2));
  enter();
  EXPECT_EQ(selected(), std::pair(1, 2)) << "wraps to the first hit";
  {
    THeldShift shift;
    enter();
    EXPECT_EQ(selected(), std::pair(5, 2)) << "backwards wraps to the last hit";
    enter();
    EXPECT_EQ(selected(), std::pair(1, 2));
  }
  EXPECT_NE(background(), RGB(255, 170, 170));

  Type(field, 'z');
  EXPECT_EQ(selected(), std::pair(1, 2)) << "a miss leaves the selection";
  EXPECT_EQ(background(), RGB(255, 170, 170));
  Type(field, VK_BACK);
  EXPECT_EQ(selected(), std::pair(1, 2));
  EXPECT_NE(background(), RGB(255, 170, 170));
  Type(field, VK_BACK);
  Type(field, VK_BACK);
  EXPECT_EQ(frmMain->txtIncSearch->Text(), "");
  EXPECT_EQ(editor.SelLength(), 0);
}

TEST_F(SearchPanelTest, TabAndEscapeInTheIncrementalSearchGoBackToTheTextTypingNothing) {
  ShowWindow(frmMain->Handle(), SW_SHOWNORMAL);
  SetForegroundWindow(frmMain->Handle());
  TCodeEdit& editor = NewDocument("xab");
  TMenuItem& command = *frmMain->Find<TMenuItem>("mnuSearchIncremtalSearch");
  command.Click();
  Press('A');
  for (WORD key : {VK_TAB, VK_ESCAPE}) {
    SCOPED_TRACE(key);
    command.Click();
    ASSERT_EQ(GetFocus(), frmMain->txtIncSearch->Handle());
    Press(key);
    EXPECT_EQ(GetFocus(), editor.Handle());
  }
  EXPECT_EQ(frmMain->txtIncSearch->Text(), "a");
  EXPECT_EQ(editor.Text(), "xab");
  EXPECT_EQ(editor.SelStart(), 1) << "the hit stays selected";
  EXPECT_EQ(editor.SelLength(), 1);
}
