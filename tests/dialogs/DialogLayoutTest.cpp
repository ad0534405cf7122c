// Every dialog in its German texts: no caption cut off, no control outside its parent or over
// another, on every page of its page controls.
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include "EveryDialog.h"
#include "SettingsTestFixture.h"
#include "mainwindow/formMain.h"
#include "support/LayoutCheck.h"
#include "support/ModalAnswers.h"
#include "support/WhenShown.h"
#include "toolkit/Dialogs.h"
#include "toolkit/PageControl.h"

namespace {

BOOL CALLBACK CollectPageControl(HWND Wnd, LPARAM Found) {
  if (auto* pages = dynamic_cast<TPageControl*>(TWinControl::FromHandle(Wnd)))
    reinterpret_cast<std::vector<TPageControl*>*>(Found)->push_back(pages);
  return TRUE;
}

// The faults of the form as shown, then with each page of each page control shown in turn.
std::vector<std::string> FaultsOnEveryPage(TForm& Form) {
  ShowWindow(Form.Handle(), SW_SHOWNA);
  std::vector<std::string> faults = testsupport::LayoutFaults(Form.Handle());
  std::vector<TPageControl*> controls;
  EnumChildWindows(Form.Handle(), CollectPageControl, reinterpret_cast<LPARAM>(&controls));
  for (TPageControl* pages : controls) {
    for (int i = 0; i < pages->PageCount(); ++i) {
      pages->SetActivePageIndex(i);
      for (const std::string& fault : testsupport::LayoutFaults(Form.Handle()))
        faults.push_back(pages->Pages(i)->Name() + ": " + fault);
    }
  }
  ShowWindow(Form.Handle(), SW_HIDE);
  return faults;
}

class DialogLayoutTest : public dialogtest::TEveryDialogTest {};

}  // namespace

TEST_F(DialogLayoutTest, EveryDialogShowsItsCaptionsWholeAndKeepsItsControlsInside) {
  const dialogtest::TEveryDialog dialogs(dir);
  for (const auto& [name, make] : dialogs.Rows()) {
    std::unique_ptr<TForm> form = make();
    for (const std::string& fault : FaultsOnEveryPage(*form)) ADD_FAILURE() << name << ": " << fault;
  }
}

// The input box is made while it asks: checked as it shows, with a prompt that wraps.
TEST_F(DialogLayoutTest, TheInputBoxShowsALongPromptWholeAndKeepsItsControlsInside) {
  const std::string prompt =
      "Geben Sie den Konsolenbefehl ein, dessen Ausgabe eingef\xFCgt werden soll:";
  std::vector<std::string> faults;
  testsupport::QueueRealDialog();
  auto isBox = [](HWND Wnd) { return testsupport::WindowText(Wnd) == "Frage"; };
  testsupport::TWhenShown shown(isBox, [&](HWND Wnd) {
    faults = testsupport::LayoutFaults(Wnd);
    PostMessageA(Wnd, WM_CLOSE, 0, 0);
  });
  std::string value = "dir";
  EXPECT_FALSE(InputQuery("Frage", prompt, value));
  EXPECT_TRUE(shown.Done());
  for (const std::string& fault : faults) ADD_FAILURE() << fault;
}
