// The test set-up itself: German locale, a display, and queued answers to questions.
#include <gtest/gtest.h>
#include <gtest/gtest-spi.h>
#include <windows.h>
#include "support/ModalAnswers.h"
#include "toolkit/Controls.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Form.h"
#include "toolkit/KeyState.h"

TEST(Harness, RunsWithGermanCodePageAndDecimalComma) {
  EXPECT_EQ(GetACP(), 1252u);
  char dec[8] = {};
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, dec, sizeof dec);
  EXPECT_STREQ(dec, ",");
}

TEST(Harness, CreatesAWindowOnTheDisplay) {
  TForm form(nullptr, {"Harness window", 300, 200});
  ASSERT_TRUE(form.HandleAllocated());
  form.Show();
  EXPECT_TRUE(IsWindowVisible(form.Handle()));
  RECT r = form.ClientRect();
  EXPECT_GT(r.right, 0);
  EXPECT_GT(r.bottom, 0);
}

TEST(Harness, QueuedAnswerAnswersAMessageBox) {
  testsupport::QueueAnswer(IDNO);
  EXPECT_EQ(MsgBox("Datei speichern?", "Frage", MB_YESNOCANCEL | MB_ICONQUESTION), IDNO);
  ASSERT_EQ(testsupport::AskedQuestions().size(), 1u);
  EXPECT_EQ(testsupport::AskedQuestions()[0].text, "Datei speichern?");
  EXPECT_EQ(testsupport::AskedQuestions()[0].flags, UINT(MB_YESNOCANCEL | MB_ICONQUESTION));
}

TEST(Harness, UnexpectedQuestionFailsTheTestWithItsTextAndIsCancelled) {
  EXPECT_NONFATAL_FAILURE(
      EXPECT_EQ(MsgBox("Wirklich beenden?", "Frage", MB_YESNO), IDCANCEL),
      "Wirklich beenden?");
}

TEST(Harness, InputQueryTakesTheQueuedTextAndCancelKeepsTheValue) {
  ModalAnswer typed;
  typed.result = IDOK;
  typed.value = "42";
  testsupport::QueueAnswer(typed);
  testsupport::QueueAnswer(IDCANCEL);
  std::string value = "1";
  EXPECT_TRUE(InputQuery("Gehe zu", "Zeile:", value));
  EXPECT_EQ(value, "42");
  EXPECT_FALSE(InputQuery("Gehe zu", "Zeile:", value));
  EXPECT_EQ(value, "42");
}

TEST(Harness, ModalFormIsDrivenByTheTest) {
  TForm dialog(nullptr, {"Frage", 300, 150, WS_POPUP | WS_CAPTION, 0, true});
  auto* check = dialog.Make<TCheckBox>("chkRemember", &dialog, 10, 10, 200, 20);
  testsupport::QueueFormAnswer([](TForm& f) {
    static_cast<TCheckBox*>(f.FindComponent("chkremember"))->SetChecked(true);
    return int(mrOk);
  });
  EXPECT_EQ(dialog.ShowModal(), mrOk);
  EXPECT_TRUE(check->Checked());
}

TEST(Harness, KeyStateCanBeHeldByTests) {
  SetKeyStateOverride([](int vk) { return vk == VK_CONTROL; });
  EXPECT_TRUE(IsCtrlDown());
  EXPECT_FALSE(IsShiftDown());
  SetKeyStateOverride(nullptr);
}

namespace {
const UINT_PTR kDestroyTimer = 1, kGiveUpTimer = 2;
void CALLBACK DestroyTheDialog(HWND Wnd, UINT, UINT_PTR, DWORD) {
  KillTimer(Wnd, kDestroyTimer);
  DestroyWindow(Wnd);
}
// Ends a modal loop that missed its window going: the test then sees the WM_QUIT.
void CALLBACK GiveUp(HWND, UINT, UINT_PTR Id, DWORD) {
  KillTimer(nullptr, Id);
  PostQuitMessage(0);
}
}  // namespace

TEST(ModalLoop, EndsAsCancelledWhenTheDialogWindowIsDestroyed) {
  TForm dialog(nullptr, {"Verschwindet", 300, 150, WS_POPUP | WS_CAPTION, 0, true});
  SetTimer(dialog.Handle(), kDestroyTimer, 10, DestroyTheDialog);
  UINT_PTR giveUp = SetTimer(nullptr, kGiveUpTimer, 3000, GiveUp);
  EXPECT_EQ(dialog.RunModalLoop(), mrCancel);
  KillTimer(nullptr, giveUp);
  MSG quit;
  EXPECT_FALSE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
      << "the modal loop ran on after its window was gone";
  EXPECT_FALSE(dialog.HandleAllocated());
}
