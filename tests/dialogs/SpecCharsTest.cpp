// The special-characters window on a real main window: the grid, the insert modes by real
// clicks with undo, the preview and the stay-on-top hand-over.
#include <gtest/gtest.h>
#include "app/DocumentsTestFixture.h"
#include "commands/fHlpMainFuncs.h"
#include "dialogs/formSpecChars.h"
#include "editor/CodeEdit.h"
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
    window = &frmMain->SpecCharsWindow();
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

TEST_F(SpecCharsTest, AReadOnlyDocumentOrNoneIsLeftAlone) {
  frmMain->Find<TMenuItem>("mnuInsertSpecialChars")->Click();
  RealClick(*window->CharButton(228));  // no document: nothing happens, the window stays
  EXPECT_NE(frmSpecChars, nullptr);
  TCodeEdit& editor = NewDocument("ab");
  editor.SetReadOnly(true);
  window->cmbInsertAs->SetItemIndex(scmChar);
  RealClick(*window->CharButton(228));
  EXPECT_EQ(editor.Lines()[0], "ab");
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
