// The main window at its default size in its German texts: nothing cut off, nothing outside
// its parent, the gutter as wide as the longest line number.
#include <gtest/gtest.h>
#include <string>
#include "editor/CodeEdit.h"
#include "support/DocumentsTestFixture.h"
#include "support/LayoutCheck.h"
#include "toolkit/Menus.h"

namespace {

using documentstest::DocumentWindowTest;

std::string Lines(int Count) {
  std::string text;
  for (int i = 1; i < Count; ++i) text += "x\r\n";
  return text + "x";
}

}  // namespace

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
  for (const std::string& fault : testsupport::LayoutFaults(frmMain->Handle())) ADD_FAILURE() << fault;
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
