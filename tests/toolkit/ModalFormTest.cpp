// Modal forms on screen: who owns and is disabled by a dialog opened from a dialog, where a
// dialog opens (over its opener, on the screen), and which control has the focus when a form is
// active again.
#include <gtest/gtest.h>
#include <windows.h>
#include "support/WhenShown.h"
#include "toolkit/Application.h"
#include "toolkit/Controls.h"
#include "toolkit/Form.h"

using testsupport::TWhenShown;

namespace {

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;

POINT Centre(HWND Wnd) {
  RECT r = {};
  GetWindowRect(Wnd, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// A main window on screen with two edit fields, the second one focused.
class ModalFormTest : public ::testing::Test {
protected:
  ModalFormTest() {
    Application().SetMainForm(&main);
    main.SetBounds(40, 30, 500, 400);
    ShowWindow(main.Handle(), SW_SHOW);
    SetForegroundWindow(main.Handle());
    second->SetFocus();
  }
  ~ModalFormTest() override { Application().SetMainForm(nullptr); }

  TForm main{nullptr, {"Haupt", 500, 400}};
  TEdit* first = main.Make<TEdit>("first", &main, 8, 8, 100, 22);
  TEdit* second = main.Make<TEdit>("second", &main, 8, 40, 100, 22);
};

}  // namespace

TEST_F(ModalFormTest, ADialogOpenedFromADialogIsOwnedByItDisablesItAndGivesItBackTheFront) {
  TForm preview(nullptr, {"Vorschau", 300, 200, kDialogStyle, 0, true});
  TForm setup(nullptr, {"Seite einrichten", 160, 100, kDialogStyle, 0, true});
  preview.SetBounds(200, 150, 300, 200);  // placed by itself: stays there
  HWND owner = nullptr, activeAfter = nullptr;
  bool previewEnabled = true, mainEnabled = true, previewEnabledAfter = false;
  POINT setupCentre = {};
  TWhenShown inPreview([&](HWND W) { return W == preview.Handle(); }, [&](HWND) {
    TWhenShown inSetup([&](HWND W) { return W == setup.Handle(); }, [&](HWND) {
      owner = GetWindow(setup.Handle(), GW_OWNER);
      previewEnabled = IsWindowEnabled(preview.Handle());
      mainEnabled = IsWindowEnabled(main.Handle());
      setupCentre = Centre(setup.Handle());
      setup.SetModalResult(mrOk);
    });
    EXPECT_EQ(setup.RunModalLoop(), mrOk);
    activeAfter = GetActiveWindow();
    previewEnabledAfter = IsWindowEnabled(preview.Handle());
    preview.SetModalResult(mrCancel);
  });
  EXPECT_EQ(preview.RunModalLoop(), mrCancel);

  EXPECT_EQ(owner, preview.Handle());
  EXPECT_FALSE(previewEnabled);
  EXPECT_FALSE(mainEnabled);
  EXPECT_EQ(setupCentre.x, Centre(preview.Handle()).x) << "opens over its opener";
  EXPECT_EQ(setupCentre.y, Centre(preview.Handle()).y);
  EXPECT_EQ(activeAfter, preview.Handle()) << "the still modal opener is in front again";
  EXPECT_TRUE(previewEnabledAfter);
  EXPECT_EQ(preview.Left(), 200);
  EXPECT_TRUE(IsWindowEnabled(main.Handle()));
  EXPECT_EQ(GetActiveWindow(), main.Handle());
  EXPECT_EQ(GetFocus(), second->Handle()) << "the focus comes back to the control that had it";
}

TEST_F(ModalFormTest, ADialogOverAnOpenerPartlyOffTheScreenOpensOnTheScreen) {
  RECT work = {};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  main.SetBounds(work.right - 150, work.bottom - 100, 500, 400);
  TForm dialog(nullptr, {"Frage", 300, 200, kDialogStyle, 0, true});
  RECT shown = {};
  TWhenShown look([&](HWND W) { return W == dialog.Handle(); }, [&](HWND) {
    GetWindowRect(dialog.Handle(), &shown);
    dialog.SetModalResult(mrOk);
  });
  dialog.RunModalLoop();
  EXPECT_EQ(shown.right, work.right);
  EXPECT_EQ(shown.bottom, work.bottom);
  EXPECT_EQ(shown.right - shown.left, 300);
}

TEST_F(ModalFormTest, AFormActiveAgainFocusesTheControlSetWhileItWasInactive) {
  TForm other(nullptr, {"Anderes", 200, 100, kDialogStyle, 0, false});
  ShowWindow(other.Handle(), SW_SHOW);
  SetActiveWindow(other.Handle());
  ASSERT_EQ(GetActiveWindow(), other.Handle());
  main.SetActiveControl(first);
  EXPECT_EQ(GetActiveWindow(), other.Handle()) << "an inactive form is not brought forward";
  SetActiveWindow(main.Handle());
  EXPECT_EQ(GetFocus(), first->Handle());
}

TEST_F(ModalFormTest, TheFocusGivenBackToADisabledControlGoesToTheNextOneThatTakesIt) {
  EXPECT_EQ(main.FocusedControl(), second->Handle());
  second->SetEnabled(false);
  EXPECT_EQ(main.FocusedControl(), nullptr) << "a disabled field drops the focus";
  main.ReturnFocusTo(second->Handle());
  EXPECT_EQ(GetFocus(), first->Handle()) << "after the last field Tab goes on at the first";
  second->SetEnabled(true);
  main.ReturnFocusTo(second->Handle());
  EXPECT_EQ(GetFocus(), second->Handle());
}
