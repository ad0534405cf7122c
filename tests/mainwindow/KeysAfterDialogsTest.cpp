// On the shown main window: after a dialog or a tab click typed keys go into the active
// document, and a tab switch shows that document's figures in the status bar.
#include <gtest/gtest.h>
#include <algorithm>
#include <functional>
#include <string>
#include "editor/CodeEdit.h"
#include "support/DocumentsTestFixture.h"
#include "support/WhenShown.h"
#include "support/WindowText.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/Menus.h"
#include "toolkit/StatusBar.h"

namespace {

using documentstest::DocumentWindowTest;
using testsupport::TWhenShown;

// Presses the button captioned Caption (without "&") in the window, as a click would.
void Press(HWND Window, const std::string& Caption) {
  for (HWND w = GetWindow(Window, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    std::string text = testsupport::WindowText(w);
    text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
    if (text == Caption) {
      SendMessageA(w, BM_CLICK, 0, 0);
      return;
    }
  }
  ADD_FAILURE() << "no button \"" << Caption << "\" in \"" << testsupport::WindowText(Window) << "\"";
}

class KeysAfterDialogsTest : public DocumentWindowTest {
protected:
  void SetUp() override {
    DocumentWindowTest::SetUp();
    Application().SetMainForm(frmMain);
    ShowWindow(frmMain->Handle(), SW_SHOW);
    SetForegroundWindow(frmMain->Handle());
    first = OpenWith("a.txt", "eins\r\nzwei");
    second = OpenWith("b.txt", std::string(997, 'z') + "\r\n");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    Application().ProcessMessages();
  }
  void TearDown() override {
    Application().SetMainForm(nullptr);
    DocumentWindowTest::TearDown();
  }
  // Types as the keyboard does: every character goes to the window with the focus.
  static void Type(const std::string& Text) {
    for (char c : Text) PostMessageA(GetFocus(), WM_CHAR, static_cast<unsigned char>(c), 1);
    Application().ProcessMessages();
  }
  void ClickTab(int Index) const {
    const RECT r = frmMain->pcEdit->TabRect(Index);
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageA(frmMain->pcEdit->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(frmMain->pcEdit->Handle(), WM_LBUTTONUP, 0, at);
    Application().ProcessMessages();
  }
  static std::string Panel(int Index) { return frmMain->StatusBar->PanelText(Index); }

  TfraEdit* first = nullptr;
  TfraEdit* second = nullptr;
};

bool Captioned(HWND Wnd, const std::string& Caption) { return testsupport::WindowText(Wnd) == Caption; }

}  // namespace

TEST_F(KeysAfterDialogsTest, TypedKeysGoIntoTheActiveDocumentAfterEveryDialogAndTabClick) {
  struct Case {
    const char* action;
    std::function<void()> run;
    int activeTab;
  } cases[] = {
      {"tab click", [this] { ClickTab(0); }, 0},
      {"go to line",
       [this] {
         testsupport::QueueRealDialog();
         TWhenShown answer([](HWND W) { return Captioned(W, "Gehe zu Zeile"); },
                           [](HWND W) {
                             SetWindowTextA(GetFocus(), "1");
                             Press(W, "OK");
                           });
         frmMain->Find<TMenuItem>("mnuEditGotoLine")->Click();
       },
       0},
      {"options dialog",
       [this] {
         testsupport::QueueFormAnswer([](TForm& Form) {
           TWhenShown cancel([&Form](HWND W) { return W == Form.Handle(); },
                             [](HWND W) { Press(W, "Abbrechen"); });
           return Form.RunModalLoop();
         });
         frmMain->Find<TMenuItem>("mnuExtrasSettings")->Click();
       },
       0},
      {"tab click back", [this] { ClickTab(1); }, 1},
      {"save as",
       [this] {
         testsupport::QueueRealDialog();
         const std::string name = folder.File("c.txt");
         TWhenShown save([](HWND W) { return GetWindow(W, GW_OWNER) == frmMain->Handle(); },
                         [name](HWND W) {
                           for (int id : {0x47C, 0x480}) SetDlgItemTextA(W, id, name.c_str());
                           PostMessageA(W, WM_COMMAND, IDOK, 0);
                         });
         frmMain->Find<TMenuItem>("mnuFileSaveAs")->Click();
         EXPECT_EQ(second->DocInfo.FileName, name);
       },
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.action);
    TfraEdit* active = Frame(c.activeTab);
    const std::string before = active->seEdit->Text();
    c.run();
    ASSERT_EQ(GetActiveFrame(), active);
    Type("xy");
    EXPECT_EQ(active->seEdit->Text().size(), before.size() + 2) << active->seEdit->Text();
    EXPECT_NE(active->seEdit->Text().find("xy"), std::string::npos);
  }
}

TEST_F(KeysAfterDialogsTest, ATabSwitchShowsTheNewDocumentInEveryStatusPanel) {
  second->seEdit->SetInsertMode(false);
  second->seEdit->SetCaretXY({5, 1});
  ClickTab(0);
  EXPECT_EQ(Panel(0), "Ze 1, Sp 1, Pos 1 (Mark 0)");
  EXPECT_EQ(Panel(1), "INS");
  EXPECT_EQ(Panel(2), "10 Byte");
  ClickTab(1);
  EXPECT_EQ(Panel(0), "Ze 1, Sp 5, Pos 5 (Mark 0)");
  EXPECT_EQ(Panel(1), "OVR");
  EXPECT_EQ(Panel(2), "999 Byte");
}
