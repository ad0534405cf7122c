// The special-characters window on a real main window: its place, the grid, the insert modes
// by real clicks with undo, the preview and the stay-on-top hand-over.
#include <gtest/gtest.h>
#include <set>
#include "commands/TextConversions.h"
#include "dialogs/formSpecChars.h"
#include "documents/fHlpMainFuncs.h"
#include "editor/CodeEdit.h"
#include "support/BuiltProgram.h"
#include "support/DocumentsTestFixture.h"
#include "support/LayoutCheck.h"
#include "support/WindowOrder.h"
#include "toolkit/Application.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Controls.h"
#include "toolkit/Menus.h"

namespace {

class SpecCharsTest : public documentstest::DocumentWindowTest {
protected:
  void SetUp() override {
    DocumentWindowTest::SetUp();
    savedTable_ = SpecialCharsTable;
    SpecialCharsTable.fill({});
    SetSpecialChar(228, "\xE4", "auml", "");
    SetSpecialChar(169, "\xA9", "copy", "");
    window = &MainForm()->SpecCharsWindow();
  }
  void TearDown() override {
    SpecialCharsTable = savedTable_;
    DocumentWindowTest::TearDown();
  }
  TCodeEdit& NewDocument(const std::string& Text) {
    OpenFile("");
    TCodeEdit& editor = *GetActiveEditor();
    editor.SetText(Text);
    editor.SetSelStart(1);
    return editor;
  }
  static void RealClick(TButton& Button) { SendMessageA(Button.Handle(), BM_CLICK, 0, 0); }
  static bool Topmost(HWND Wnd) { return (GetWindowLongA(Wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }
  TfrmSpecChars* window = nullptr;

private:
  std::array<TSpecialCharRec, 256> savedTable_;
};

class SpecCharsStartTest : public documentstest::DocumentWindowTest {};

}  // namespace

// Building the grid is a noticeable part of the start: the window is made when first asked for.
TEST_F(SpecCharsStartTest, TheWindowIsMadeOnFirstUseAndKept) {
  EXPECT_EQ(frmSpecChars, nullptr) << "not made with the main window";
  OpenFile("");
  TMenuItem& command = *frmMain->Find<TMenuItem>("mnuInsertSpecialChars");
  command.Click();
  TfrmSpecChars* made = frmSpecChars;
  ASSERT_NE(made, nullptr);
  EXPECT_TRUE(IsWindowVisible(made->Handle()));
  EXPECT_NE(made->CharButton(255), nullptr);
  SendMessageA(made->Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindowVisible(made->Handle()));
  command.Click();
  EXPECT_EQ(frmSpecChars, made) << "made once, then only hidden and shown";
  EXPECT_TRUE(IsWindowVisible(made->Handle()));
  SendMessageA(made->Handle(), WM_CLOSE, 0, 0);
}

TEST_F(SpecCharsTest, ShownAgainItKeepsItsPlaceWhileThatIsOnTheScreen) {
  NewDocument("x");
  RECT work = {};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const int w = window->Width(), h = window->Height();
  struct Move {
    const char* where;
    int x, y;
    RECT shown;
  } moves[] = {
      {"on the screen", work.left + 30, work.top + 40,
       {work.left + 30, work.top + 40, work.left + 30 + w, work.top + 40 + h}},
      {"on a monitor that is gone", work.right + 2000, work.top + 40,
       {work.right - w, work.top + 40, work.right, work.top + 40 + h}},
  };
  for (const Move& m : moves) {
    SCOPED_TRACE(m.where);
    window->ShowTool();
    window->SetBounds(m.x, m.y, w, h);
    SendMessageA(window->Handle(), WM_CLOSE, 0, 0);
    window->ShowTool();
    RECT shown = {};
    GetWindowRect(window->Handle(), &shown);
    EXPECT_TRUE(EqualRect(&shown, &m.shown))
        << shown.left << "," << shown.top << " " << shown.right << "," << shown.bottom;
    SendMessageA(window->Handle(), WM_CLOSE, 0, 0);
  }
}

TEST_F(SpecCharsTest, TheGridHoldsOneButtonPerCodeFrom128To255) {
  EXPECT_FALSE(IsWindowVisible(window->Handle())) << "hidden until asked for";
  window->BuildCharButtons();  // the hints take the entities of the table loaded now
  for (int code = 128; code <= 255; ++code) {
    TButton* button = window->CharButton(code);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->Name(), "btnSZ" + std::to_string(code));
    EXPECT_EQ(button->Tag(), code - 128);
    EXPECT_EQ(button->Caption(), std::string(1, static_cast<char>(code)));
    EXPECT_EQ(button->Width(), 31);
  }
  EXPECT_EQ(window->CharButton(128)->Left(), 9);
  EXPECT_EQ(window->CharButton(128)->Top(), 39);
  EXPECT_EQ(window->CharButton(255)->Left(), 489);
  EXPECT_EQ(window->CharButton(255)->Top(), 263);
  EXPECT_EQ(window->CharButton(127), nullptr);
  EXPECT_EQ(window->CharButton(228)->Hint(), " \xE4 / 228 / 0xE4 / &auml; / &#228; ");
  EXPECT_EQ(SpecialCharHint(228, false), " \xE4 / 228 / 0xE4");
}

TEST_F(SpecCharsTest, EachModeInsertsAtTheCaretAsOneUndoStep) {
  TCodeEdit& editor = NewDocument("ab");
  frmMain->Find<TMenuItem>("mnuInsertSpecialChars")->Click();
  EXPECT_TRUE(IsWindowVisible(window->Handle()));
  const char* expected[] = {"a\xE4" "b", "a228b", "a0xE4b", "a&auml;b", "a&#228;b"};
  for (int mode = 0; mode < 5; ++mode) {
    SCOPED_TRACE(mode);
    window->cmbInsertAs->SetItemIndex(mode);
    RealClick(*window->CharButton(228));
    EXPECT_EQ(editor.Lines()[0], expected[mode]);
    editor.Undo();
    EXPECT_EQ(editor.Lines()[0], "ab");
    editor.SetSelLength(0);
    editor.SetSelStart(1);
  }
  window->cmbInsertAs->SetItemIndex(scmHtmlNamed);
  RealClick(*window->CharButton(200));
  EXPECT_EQ(editor.Lines()[0], "ab") << "no entity for the code inserts nothing";
}

TEST_F(SpecCharsTest, ClicksInARowAddUpAtTheCaretEachAsItsOwnStep) {
  TCodeEdit& editor = NewDocument("ab");
  frmMain->Find<TMenuItem>("mnuInsertSpecialChars")->Click();
  struct Case {
    int Mode;
    const char* Expected;
    const char* AfterOneUndo;
  };
  const Case cases[] = {{scmChar, "a\xE4\xA9" "b", "a\xE4" "b"},
                        {scmHtmlNamed, "a&auml;&copy;b", "a&auml;b"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Mode);
    window->cmbInsertAs->SetItemIndex(c.Mode);
    RealClick(*window->CharButton(228));
    RealClick(*window->CharButton(169));
    EXPECT_EQ(editor.Lines()[0], c.Expected);
    EXPECT_EQ(editor.SelLength(), 0);
    EXPECT_EQ(editor.SelStart(), static_cast<int>(std::string(c.Expected).size()) - 1);
    editor.Undo();
    EXPECT_EQ(editor.Lines()[0], c.AfterOneUndo);
    editor.Undo();
    EXPECT_EQ(editor.Lines()[0], "ab");
    editor.SetSelStart(1);
  }
}

TEST_F(SpecCharsTest, OpensInTheSetOfTheEditorsFont) {
  NewDocument("x");
  auto open = [] {
    frmMain->Find<TMenuItem>("mnuView")->Click();
    frmMain->Find<TMenuItem>("mnuInsertSpecialChars")->Click();
  };
  window->cmbInsertAs->SetItemIndex(scmHtmlNamed);
  frmMain->Find<TMenuItem>("mnuViewUseAsciiFont")->Click();
  open();
  EXPECT_TRUE(window->rbAscii->Checked());
  EXPECT_FALSE(window->rbAnsi->Checked());
  EXPECT_EQ(window->PrototypeFont().Charset(), 255);
  EXPECT_EQ(window->CharButton(228)->Hint(), " \xE4 / 228 / 0xE4") << "no entities";
  EXPECT_EQ(window->cmbInsertAs->Count(), 3);
  EXPECT_EQ(window->cmbInsertAs->ItemIndex(), scmChar);

  frmMain->Find<TMenuItem>("mnuViewUseAsciiFont")->Click();
  open();
  EXPECT_TRUE(window->rbAnsi->Checked());
  EXPECT_FALSE(window->rbAscii->Checked());
  EXPECT_LT(window->PrototypeFont().Charset(), 255);
  EXPECT_EQ(window->cmbInsertAs->Count(), 5);
}

TEST_F(SpecCharsTest, AReadOnlyDocumentOrNoneIsLeftAlone) {
  frmMain->Find<TMenuItem>("mnuInsertSpecialChars")->Click();
  RealClick(*window->CharButton(228));  // no document: nothing happens, the window stays
  EXPECT_NE(frmSpecChars, nullptr);
  TCodeEdit& editor = NewDocument("ab");
  editor.SetReadOnly(true);
  window->cmbInsertAs->SetItemIndex(scmChar);
  RealClick(*window->CharButton(228));
  EXPECT_EQ(editor.Lines()[0], "ab");
  // While a question of the main window is open (it disables the window), a click does nothing.
  editor.SetReadOnly(false);
  EnableWindow(frmMain->Handle(), FALSE);
  RealClick(*window->CharButton(228));
  EnableWindow(frmMain->Handle(), TRUE);
  EXPECT_EQ(editor.Lines()[0], "ab");
  RealClick(*window->CharButton(228));
  EXPECT_EQ(editor.Lines()[0], "a\xE4" "b") << "the same click inserts once the window is enabled";
}

TEST_F(SpecCharsTest, AsciiOffersThreeModesAndAnEntityChoiceFallsBackToTheCharacter) {
  window->cmbInsertAs->SetItemIndex(scmHtmlNumeric);
  window->rbAscii->SetChecked(true);
  window->rbAnsi->SetChecked(false);
  window->rbAsciiClick(nullptr);
  EXPECT_EQ(window->cmbInsertAs->Count(), 3);
  EXPECT_EQ(window->cmbInsertAs->ItemIndex(), 0);
  EXPECT_EQ(window->PrototypeFont().Charset(), 255);
  EXPECT_EQ(window->CharButton(228)->Hint(), " \xE4 / 228 / 0xE4");
  window->cmbInsertAs->SetItemIndex(scmHex);
  window->rbAnsi->SetChecked(true);
  window->rbAscii->SetChecked(false);
  window->rbAnsiClick(nullptr);
  EXPECT_EQ(window->cmbInsertAs->Count(), 5);
  EXPECT_EQ(window->cmbInsertAs->ItemIndex(), scmHex) << "an index that still exists stays";
  EXPECT_EQ(window->cmbInsertAs->Items(4), "HTML (Unicode)");
}

TEST_F(SpecCharsTest, ThePreviewFollowsTheMouseUnlessCtrlIsHeld) {
  NewDocument("x");
  frmMain->Find<TMenuItem>("mnuInsertSpecialChars")->Click();
  SendMessageA(window->CharButton(169)->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(window->txtChar->Text(), "\xA9");
  EXPECT_EQ(window->txtCode->Text(), "169");
  EXPECT_EQ(window->txtHex->Text(), "0xA9");
  EXPECT_EQ(window->txtHtml->Text(), "&copy;");
  EXPECT_EQ(window->txtHtmlUni->Text(), "&#169;");
  HoldCtrl(true);
  SendMessageA(window->CharButton(228)->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  SendMessageA(window->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
  EXPECT_EQ(window->txtCode->Text(), "169") << "Ctrl keeps the preview";
  HoldCtrl(false);
  SendMessageA(window->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
  EXPECT_EQ(window->txtCode->Text(), "");
  EXPECT_EQ(window->txtHtml->Text(), "");
}

TEST_F(SpecCharsTest, ARebuiltGridLeavesNothingOfTheOldOneBehindAndStillPreviews) {
  NewDocument("x");
  window->BuildCharButtons();
  const int owned = window->ComponentCount();
  for (int i = 0; i < 3; ++i) window->BuildCharButtons();
  EXPECT_EQ(window->ComponentCount(), owned);
  SendMessageA(window->CharButton(228)->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(window->txtCode->Text(), "228");
}

TEST_F(SpecCharsTest, TheEditorFontIsShownBetweenTwelveAndFourteenPoints) {
  TCodeEdit& editor = NewDocument("x");
  struct Case { int Size, Shown; } cases[] = {{9, 12}, {12, 12}, {13, 13}, {14, 14}, {20, 14}};
  for (const Case& c : cases) {
    TFont font("Courier New", c.Size);
    editor.SetFont(font);
    frmMain->Find<TMenuItem>("mnuInsertSpecialChars")->Click();
    EXPECT_EQ(window->PrototypeFont().Size(), c.Shown) << c.Size;
    EXPECT_EQ(window->PrototypeFont().Name(), "Courier New");
    EXPECT_TRUE(window->rbAnsi->Checked());
  }
}

TEST_F(SpecCharsTest, StayingOnTopPassesToTheWindowAndBackWhenClosed) {
  NewDocument("x");
  frmMain->Find<TMenuItem>("mnuViewStayOnTop")->SetChecked(true);
  SetWindowPos(frmMain->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  frmMain->Find<TMenuItem>("mnuInsertSpecialChars")->Click();
  EXPECT_FALSE(Topmost(frmMain->Handle()));
  EXPECT_TRUE(Topmost(window->Handle()));
  RealClick(*window->CharButton(228));
  EXPECT_TRUE(Topmost(window->Handle())) << "a click leaves it in front of the main window";
  EXPECT_TRUE(testsupport::IsAbove(window->Handle(), frmMain->Handle()));
  EXPECT_EQ(GetFocus(), GetActiveEditor()->Handle()) << "typed keys go to the document";
  SendMessageA(window->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(frmSpecChars, window) << "closing only hides";
  EXPECT_FALSE(IsWindowVisible(window->Handle()));
  EXPECT_TRUE(Topmost(frmMain->Handle()));
  frmMain->Find<TMenuItem>("mnuViewStayOnTop")->SetChecked(false);
  SetWindowPos(frmMain->Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  frmMain->Find<TMenuItem>("mnuInsertSpecialChars")->Click();
  RealClick(*window->btnClose);
  EXPECT_FALSE(Topmost(frmMain->Handle()));
}

TEST_F(SpecCharsTest, TheCommandBringsTheShownWindowToTheFrontWithTheKeyboard) {
  TCodeEdit& editor = NewDocument("x");
  ShowWindow(frmMain->Handle(), SW_SHOWNORMAL);
  SetForegroundWindow(frmMain->Handle());
  TMenuItem& command = *frmMain->Find<TMenuItem>("mnuInsertSpecialChars");
  command.Click();
  RealClick(*window->CharButton(228));
  ASSERT_EQ(GetFocus(), editor.Handle());
  command.Click();
  EXPECT_EQ(GetForegroundWindow(), window->Handle());
  EXPECT_TRUE(IsChild(window->Handle(), GetFocus()));
  PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 1 | (MapVirtualKeyA(VK_TAB, 0) << 16));
  Application().ProcessMessages();
  EXPECT_TRUE(IsChild(window->Handle(), GetFocus())) << "Tab goes round the window";
  SendMessageA(window->Handle(), WM_CLOSE, 0, 0);
}

// The table is one tab stop; the arrows, Home and End move through it, stopping at its edges,
// the preview follows, and Space and Enter insert the cell the keyboard is on.
TEST_F(SpecCharsTest, TheKeyboardMovesThroughTheTableAsOneTabStop) {
  TCodeEdit& editor = NewDocument("ab");
  TMenuItem& command = *frmMain->Find<TMenuItem>("mnuInsertSpecialChars");
  command.Click();
  window->cmbInsertAs->SetItemIndex(scmChar);
  auto press = [](WORD Key, bool Up = false) {
    const LPARAM scan = MapVirtualKeyA(Key, 0) << 16;
    PostMessageA(GetFocus(), WM_KEYDOWN, Key, 1 | scan);
    if (Up) PostMessageA(GetFocus(), WM_KEYUP, Key, 1 | scan | 0xC0000000);
    Application().ProcessMessages();
  };
  auto focusedCode = [&]() -> int {
    for (int code = 128; code <= 255; ++code)
      if (GetFocus() == window->CharButton(code)->Handle()) return code;
    return -1;
  };
  std::set<int> reachedByTab;
  for (int i = 0; i < 40; ++i) {
    press(VK_TAB);
    if (focusedCode() >= 0) reachedByTab.insert(focusedCode());
  }
  EXPECT_EQ(reachedByTab, std::set<int>{128});
  while (focusedCode() < 0) press(VK_TAB);
  struct Step {
    WORD Key;
    int Code;
  } steps[] = {{VK_LEFT, 128},  {VK_UP, 128},    {VK_RIGHT, 129}, {VK_DOWN, 145},
               {VK_END, 255},   {VK_RIGHT, 255}, {VK_DOWN, 255},  {VK_LEFT, 254},
               {VK_UP, 238},    {VK_HOME, 128},  {VK_DOWN, 144},  {VK_LEFT, 143}};
  for (const Step& s : steps) {
    press(s.Key);
    EXPECT_EQ(focusedCode(), s.Code) << "key " << s.Key;
    EXPECT_EQ(window->txtCode->Text(), std::to_string(s.Code));
  }
  for (WORD key : {VK_HOME, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN}) press(key);
  for (int i = 0; i < 4; ++i) press(VK_RIGHT);
  EXPECT_EQ(focusedCode(), 228);
  EXPECT_EQ(window->txtChar->Text(), "\xE4");
  EXPECT_EQ(window->txtHex->Text(), "0xE4");
  EXPECT_EQ(window->txtHtml->Text(), "&auml;");
  press(VK_SPACE, true);
  EXPECT_EQ(editor.Lines()[0], "a\xE4" "b");
  EXPECT_EQ(GetFocus(), editor.Handle()) << "typed keys go to the document, as after a click";
  // Back in the window, Tab reaches the table where the keyboard left it.
  command.Click();
  reachedByTab.clear();
  for (int i = 0; i < 40; ++i) {
    press(VK_TAB);
    if (focusedCode() >= 0) reachedByTab.insert(focusedCode());
  }
  EXPECT_EQ(reachedByTab, std::set<int>{228});
  while (focusedCode() < 0) press(VK_TAB);
  press(VK_LEFT);
  press(VK_RETURN);
  EXPECT_EQ(editor.Lines()[0], "a\xE4\xE3" "b");
  SendMessageA(window->Handle(), WM_CLOSE, 0, 0);
}

TEST_F(SpecCharsTest, TheTableBesideTheProgramCoversTheUpperHalfOfTheCodePage) {
  Settings.AppDir = BuiltProgramFolder();
  Settings.Editor.SpCharReplace = 0;
  LoadSpecialChars();
  const std::set<int> unassigned = {129, 141, 143, 144, 157};  // no character in code page 1252
  std::string all;
  int named = 0;
  for (int code = 128; code <= 255; ++code) {
    SCOPED_TRACE(code);
    const TSpecialCharRec& entry = SpecialCharsTable[code];
    if (unassigned.count(code)) {
      EXPECT_EQ(entry.Number, "");
      continue;
    }
    all += static_cast<char>(code);
    EXPECT_EQ(entry.Char, std::string(1, static_cast<char>(code)));
    auto inner = [](const std::string& Entity) { return Entity.substr(1, Entity.size() - 2); };
    EXPECT_EQ(DecodeEntity(inner(entry.Number)), code) << entry.Number;
    if (!entry.Name.empty()) {
      EXPECT_EQ(DecodeEntity(inner(entry.Name)), code) << entry.Name;
    }
    named += entry.Name.empty() ? 0 : 1;
  }
  EXPECT_EQ(named, 121) << "all but the two letters with a caron that HTML 4 does not name";
  EXPECT_EQ(ConvertHtmlChars(SpecialCharsToEntities(all, false)), all);
  EXPECT_EQ(ConvertHtmlChars(SpecialCharsToEntities(all, true)), all);
  struct Row {
    const char* Text;
    const char* Named;
    const char* Numeric;
  };
  const Row rows[] = {
      {"\x80 \xE4\x8E", "&euro; &auml;\x8E", "&#8364; &#228;&#381;"},
      {"\xA0\xFF\x9F\x96", "&nbsp;&yuml;&Yuml;&ndash;", "&#160;&#255;&#376;&#8211;"},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(SpecialCharsToEntities(r.Text, false), r.Named);
    EXPECT_EQ(SpecialCharsToEntities(r.Text, true), r.Numeric);
  }
  // Names are case-sensitive; a number names the Unicode character, not the code page's byte.
  EXPECT_EQ(ConvertHtmlChars("&EURO;&#128;&Zcaron;"), "&EURO;&#128;&Zcaron;");

  TCodeEdit& editor = NewDocument("ab");
  frmMain->Find<TMenuItem>("mnuInsertSpecialChars")->Click();
  window->cmbInsertAs->SetItemIndex(scmHtmlNamed);
  RealClick(*window->CharButton(128));
  window->cmbInsertAs->SetItemIndex(scmHtmlNumeric);
  RealClick(*window->CharButton(128));
  EXPECT_EQ(editor.Lines()[0], "a&euro;&#8364;b");
}

TEST_F(SpecCharsTest, EveryEntryOfTheTableFitsItsPreviewFieldAtEveryShownSize) {
  Settings.AppDir = BuiltProgramFolder();
  Settings.Editor.SpCharReplace = 0;
  LoadSpecialChars();
  TCodeEdit& editor = NewDocument("x");
  for (int size : {9, 20}) {  // shown at the smallest and the largest size
    SCOPED_TRACE(size);
    editor.SetFont(TFont(Settings.Editor.AnsiFontName, size));
    frmMain->Find<TMenuItem>("mnuInsertSpecialChars")->Click();
    for (int code = 128; code <= 255; ++code) {
      SendMessageA(window->CharButton(code)->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
      std::vector<std::string> faults;
      for (const char* name : {"txtChar", "txtCode", "txtHex", "txtHtml", "txtHtmlUni", "lblHtml",
                               "lblHtmlUni", "btnClose"}) {
        const HWND control = dynamic_cast<TWinControl*>(window->FindComponent(name))->Handle();
        testsupport::layoutcheck::CheckCaption(control, faults);
        testsupport::layoutcheck::CheckInsideParent(control, faults);
      }
      for (const std::string& fault : faults) ADD_FAILURE() << code << ": " << fault;
    }
  }
}
