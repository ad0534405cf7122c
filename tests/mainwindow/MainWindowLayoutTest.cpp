// The main window at its default size in its German texts: nothing cut off, nothing outside
// its parent or over another control, no shortcut running into its caption in any menu, the
// gutter as wide as the longest line number.
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include "editor/CodeEdit.h"
#include "support/DocumentsTestFixture.h"
#include "support/LayoutCheck.h"
#include "toolkit/Controls.h"
#include "toolkit/Menus.h"

namespace {

using documentstest::DocumentWindowTest;

std::string Lines(int Count) {
  std::string text;
  for (int i = 1; i < Count; ++i) text += "x\r\n";
  return text + "x";
}

// Run inside the loop of the menu opened next, then closes it.
std::function<void()> whileOpen;

void CALLBACK RunWhileOpen(HWND, UINT, UINT_PTR Id, DWORD) {
  KillTimer(nullptr, Id);
  whileOpen();
  EndMenu();
}

// Opens each submenu under Menu as the main window's, one at a time, and checks it as shown.
void CheckMenusUnder(HMENU Menu, const std::string& Path) {
  for (int i = 0; i < GetMenuItemCount(Menu); ++i) {
    HMENU sub = GetSubMenu(Menu, i);
    if (!sub) continue;
    char caption[128] = {};
    GetMenuStringA(Menu, i, caption, sizeof caption, MF_BYPOSITION);
    const std::string path = Path + "/" + caption;
    whileOpen = [&] {
      for (const std::string& fault : testsupport::OpenMenuFaults(sub)) ADD_FAILURE() << path << ": " << fault;
    };
    SetTimer(nullptr, 0, USER_TIMER_MINIMUM, RunWhileOpen);
    TrackPopupMenu(sub, TPM_RETURNCMD, 0, 0, 0, frmMain->Handle(), nullptr);
    CheckMenusUnder(sub, path);
  }
}

}  // namespace

TEST_F(DocumentWindowTest, EveryMenuShowsItsShortCutsClearOfTheirCaptions) {
  MainForm()->TranslateForm();
  CheckMenusUnder(frmMain->mnuMain->Handle(), "");
  // Items switched on, off or checked after the menus were built keep their room: a document
  // switches the document commands on, locking its input switches the editing commands off,
  // unlocking switches them on again.
  TfraEdit* frame = OpenWith("sperre.txt", "Text");
  ASSERT_NE(frame, nullptr);
  CheckMenusUnder(frmMain->mnuMain->Handle(), "document open");
  auto* readOnly = frmMain->Find<TMenuItem>("mnuViewReadOnly");
  for (bool locked : {true, false}) {
    readOnly->Click();
    ASSERT_EQ(frame->seEdit->ReadOnly(), locked);
    ASSERT_EQ(readOnly->Checked(), locked);
    CheckMenusUnder(frmMain->mnuMain->Handle(), locked ? "locked" : "unlocked");
  }
}

TEST_F(DocumentWindowTest, AtTheDefaultSizeWithTheSearchPanelNothingIsCutOff) {
  MainForm()->TranslateForm();
  frmMain->SetBounds(0, 0, Settings.FormWidth, Settings.FormHeight);
  ShowWindow(frmMain->Handle(), SW_SHOWNA);
  TfraEdit* frame = OpenWith("lang.txt", Lines(123456));
  ASSERT_NE(frame, nullptr);
  frame->seEdit->SetCaretXY({1, 123456});
  frame->seEdit->SetSelLength(1234);
  frmMain->Find<TMenuItem>("mnuEditSearch")->Click();
  ASSERT_TRUE(IsWindowVisible(frmMain->pcBottom->Handle()));
  auto* multiLine = frmMain->Find<TCheckBox>("chkSearchMultiLine");
  for (bool on : {false, true}) {
    SCOPED_TRACE(on ? "multi-line" : "one line");
    multiLine->SetChecked(on);
    multiLine->OnClick(multiLine);
    for (const std::string& fault : testsupport::LayoutFaults(frmMain->Handle()))
      ADD_FAILURE() << fault;
  }
}

TEST_F(DocumentWindowTest, TheGutterGrowsWithTheDigitsOfTheLastLineNumber) {
  TfraEdit* frame = OpenWith("lang.txt", Lines(9999));
  ASSERT_NE(frame, nullptr);
  TCodeEdit& edit = *frame->seEdit;
  const int fourDigits = edit.GutterWidth();
  edit.SetCaretXY({2, edit.Lines().Count()});
  edit.SetSelText(Lines(95001));
  ASSERT_EQ(edit.Lines().Count(), 104999);
  EXPECT_EQ(edit.GutterWidth(), fourDigits + 2 * edit.CharWidth());
}
