// Enter in each field that gives it a meaning of its own, typed as the keyboard sends it and
// handled by the message loop that runs then: the dialog's modal loop or the main window's.
#include <gtest/gtest.h>
#include <windows.h>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include "commands/clsSnippets.h"
#include "dialogs/formHotKeys.h"
#include "dialogs/formInstall.h"
#include "dialogs/formOpenFast.h"
#include "dialogs/formWindowList.h"
#include "documents/fHlpHK.h"
#include "editor/CodeEdit.h"
#include "support/DocumentsTestFixture.h"
#include "support/ModalAnswers.h"
#include "support/WhenShown.h"
#include "toolkit/Application.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Controls.h"
#include "toolkit/KeyCaptureEdit.h"
#include "toolkit/ListView.h"
#include "toolkit/Menus.h"
#include "toolkit/PageControl.h"
#include "toolkit/TreeView.h"

namespace {

using testsupport::TWhenShown;

// The keyboard's key for the focused field: the loop translates it into its character.
void PressKey(HWND Field, WORD Key = VK_RETURN) {
  SetFocus(Field);
  PostMessageA(Field, WM_KEYDOWN, Key, 1 | (MapVirtualKeyA(Key, 0) << 16));
}

std::string ResultName(int Result) {
  switch (Result) {
    case mrOk: return "OK";
    case mrCancel: return "Cancel";
    default: return std::to_string(Result);
  }
}

class FieldEnterKeyTest : public documentstest::DocumentWindowTest {
protected:
  void SetUp() override {
    DocumentWindowTest::SetUp();
    Settings.AppDir = folder.Path();
    Settings.General.SearchNotFoundMsg = false;
    InitHotKeys();
    Application().SetMainForm(frmMain);
    ShowWindow(frmMain->Handle(), SW_SHOW);
    SetForegroundWindow(frmMain->Handle());
    folder.Write("a.txt", "x needle");
    folder.Write("b.txt", "none");
    TfraEdit* frame = OpenWith("doc.txt", "ab xab");
    ASSERT_NE(frame, nullptr);
    editor = frame->seEdit;
  }
  void TearDown() override {
    Application().SetMainForm(nullptr);
    DocumentWindowTest::TearDown();
  }

  // Runs the dialog in its modal loop and presses Enter (or Key) in the field Arrange gives
  // once the dialog shows: "stays open" or how the key closed it.
  static std::string EnterInDialog(TForm& Dialog, const std::function<HWND()>& Arrange,
                                   WORD Key = VK_RETURN) {
    HWND field = nullptr;
    std::optional<TWhenShown> settled;
    TWhenShown shown([&Dialog](HWND Wnd) { return Wnd == Dialog.Handle(); }, [&](HWND) {
      field = Arrange();
      PressKey(field, Key);
      // A timer comes only once the queue is empty, so Enter is handled by then; a run it
      // started pumps messages itself but keeps the field disabled until it ends.
      settled.emplace([&](HWND Wnd) {
        return Wnd == Dialog.Handle() && (!IsWindow(field) || IsWindowEnabled(field));
      },
                      [&Dialog](HWND) { Dialog.SetModalResult(mrAbort); });
    });
    const int result = Dialog.RunModalLoop();
    return result == mrAbort ? "stays open" : "closes with " + ResultName(result);
  }
  // Presses Enter in a field of the main window, in the loop the program runs for it.
  static std::string EnterInMainWindow(HWND Field) {
    PressKey(Field);
    Application().ProcessMessages();
    return "main window";
  }
  std::string Selection() const {
    return "selects " + std::to_string(editor->SelStart()) + "+" +
           std::to_string(editor->SelLength());
  }

  TCodeEdit* editor = nullptr;
};

}  // namespace

TEST_F(FieldEnterKeyTest, EnterDoesWhatEachFieldGivesItAndPressesTheDefaultButtonElsewhere) {
  auto findFiles = [this](TfrmOpenFast& D) {
    D.cmbMask->SetText("*.txt");
    D.cmbDir->SetText(folder.Path());
    D.cmbSearch->SetText("needle");
  };
  struct Row {
    const char* Field;
    std::function<std::string()> Press;  // what Enter did to the window
    std::function<std::string()> Effect;  // none where closing is all Enter does
    const char* Expected;
  };
  TfrmOpenFast* openFast = nullptr;
  std::unique_ptr<TfrmOpenFast> openFastDialog;
  auto openFastWith = [&](const std::function<HWND(TfrmOpenFast&)>& Arrange) {
    openFastDialog = std::make_unique<TfrmOpenFast>(nullptr);
    openFast = openFastDialog.get();
    return EnterInDialog(*openFast, [&] { return Arrange(*openFast); });
  };
  std::unique_ptr<TfrmWindowList> windowList;
  std::unique_ptr<TfrmHotKeys> hotKeys;
  const Row rows[] = {
      {"find files: search text",
       [&] {
         return openFastWith([&](TfrmOpenFast& D) {
           findFiles(D);
           return D.cmbSearch->EditHandle();
         });
       },
       [&] { return std::to_string(openFast->lstFiles->Count()) + " found"; },
       "stays open, 1 found"},
      {"find files: replacement",
       [&] {
         testsupport::QueueAnswer(IDOK);  // the count of files processed
         return openFastWith([&](TfrmOpenFast& D) {
           findFiles(D);
           D.btnSearchClick(nullptr);
           D.pcSR->SetActivePage(D.tabReplace);
           D.cmbReplace->SetText("pin");
           return D.cmbReplace->EditHandle();
         });
       },
       [&] { return folder.Read("a.txt"); },
       "stays open, x pin"},
      {"find files: multi-line search text",
       [&] {
         return openFastWith([&](TfrmOpenFast& D) {
           D.chkMultiLine->SetChecked(true);
           D.chkMultiLine->OnClick(D.chkMultiLine);
           D.txtSearch->SetText("ab");
           SendMessageA(D.txtSearch->Handle(), EM_SETSEL, 1, 1);
           return D.txtSearch->Handle();
         });
       },
       [&] { return openFast->txtSearch->Text(); },
       "stays open, a\r\nb"},
      {"find files: mask",
       [&] {
         return openFastWith([&](TfrmOpenFast& D) {
           findFiles(D);
           return D.cmbMask->EditHandle();
         });
       },
       [&] { return std::to_string(openFast->lstFiles->Count()) + " found"; },
       "closes with OK, 0 found"},
      {"install: settings folder",
       [&] {
         TfrmInstall install(nullptr, folder.Path());
         return EnterInDialog(install, [&] {
           install.rbIniUserDef->SetChecked(true);
           install.rbIniUserDefClick();
           return install.txtIniPath->Handle();
         });
       },
       nullptr, "closes with OK"},
      {"hot keys: key field",
       [&] {
         hotKeys = std::make_unique<TfrmHotKeys>(nullptr);
         hotKeys->FormShow();
         return EnterInDialog(*hotKeys, [&] {
           // The field takes keys once an entry is chosen: the first group's first one.
           TTreeNode* group = hotKeys->tvPath->Items(0);
           for (; group && hotKeys->lvItems->Count() == 0;
                group = group->Count() > 0 ? group->Item(0) : nullptr)
             hotKeys->tvPath->SetSelected(group);
           hotKeys->lvItems->Items(0)->SetSelected(true);
           return hotKeys->txtHotKeyGen->Handle();
         });
       },
       [&] { return hotKeys->txtHotKeyGen->Text(); },
       "stays open, Enter"},
      {"window list: list",
       [&] {
         OpenWith("other.txt", "");
         windowList = std::make_unique<TfrmWindowList>(nullptr);
         return EnterInDialog(*windowList, [&] {
           TListView& list = *windowList->lvWin;
           for (int r = 0; r < list.Count(); ++r)
             list.Items(r)->SetSelected(list.Items(r)->Caption() == "doc.txt");
           frmMain->pcEdit->SetActivePageIndex(1);  // selecting activated the row's tab
           return list.Handle();
         });
       },
       [] { return GetActiveFrame()->DocInfo.Title; },
       "closes with Cancel, doc.txt"},
      {"search panel: search text",
       [&] {
         frmMain->Find<TMenuItem>("mnuEditSearch")->Click();
         frmMain->cmbSearch->SetText("ab");
         editor->SetSelStart(1);
         return EnterInMainWindow(frmMain->cmbSearch->EditHandle());
       },
       [&] { return Selection(); }, "main window, selects 4+2"},
      {"search panel: replacement",
       [&] {
         frmMain->cmbReplace->SetText("cd");
         editor->SetSelStart(0);
         return EnterInMainWindow(frmMain->cmbReplace->EditHandle());
       },
       [&] { return Selection(); }, "main window, selects 0+2"},
      {"incremental search",
       [&] {
         editor->SetSelStart(0);
         frmMain->txtIncSearch->SetText("ab");
         return EnterInMainWindow(frmMain->txtIncSearch->Handle());
       },
       [&] { return Selection(); }, "main window, selects 4+2"},
      {"snippets: tree",
       [&] {
         CreateDirectoryA(folder.File("Snippets").c_str(), nullptr);
         folder.Write("Snippets\\web.xml",
                      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n"
                      "<SnipFile><Items><item name=\"Fett\" start=\"&lt;b&gt;\" "
                      "end=\"&lt;/b&gt;\"/></Items></SnipFile>");
         EXPECT_TRUE(LoadSnippetFile("web"));
         frmMain->tvSnips->SetSelected(frmMain->tvSnips->Items(0));
         editor->SetSelStart(0);
         return EnterInMainWindow(frmMain->tvSnips->Handle());
       },
       [&] { return editor->Lines()[0]; }, "main window, <b></b>ab xab"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.Field);
    const std::string pressed = r.Press();
    EXPECT_EQ(r.Effect ? pressed + ", " + r.Effect() : pressed, r.Expected);
  }
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);
}

TEST_F(FieldEnterKeyTest, EscapeInAMultiLineFieldCancelsTheDialogAndLeavesItsPageWhole) {
  // The field asks its page to close; the page would go with every control on it.
  TfrmOpenFast dialog(nullptr);
  auto multiLineField = [&] {
    if (!dialog.chkMultiLine->Checked()) SendMessageA(dialog.chkMultiLine->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(dialog.txtSearch->Visible());
    return dialog.txtSearch->Handle();
  };
  const std::string result = EnterInDialog(dialog, multiLineField, VK_ESCAPE);
  EXPECT_EQ(result, "closes with Cancel");
  EXPECT_TRUE(IsWindow(dialog.tabSearch->Handle()));
  EXPECT_TRUE(IsWindow(dialog.txtSearch->Handle()));
}
