// Every dialog in its German texts: no caption cut off, no control outside its parent or over
// another, on every page of its page controls.
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include "SettingsTestFixture.h"
#include "dialogs/formFileProp.h"
#include "dialogs/formHotKeys.h"
#include "dialogs/formInfo.h"
#include "dialogs/formInstall.h"
#include "dialogs/formOpenFast.h"
#include "dialogs/formOpenHist.h"
#include "dialogs/formPgSetup.h"
#include "dialogs/formPlugins.h"
#include "dialogs/formPreview.h"
#include "dialogs/formSettings.h"
#include "dialogs/formSpecChars.h"
#include "dialogs/formTemplate.h"
#include "dialogs/formWindowList.h"
#include "documents/formDocSave.h"
#include "editor/CodeEdit.h"
#include "mainwindow/formMain.h"
#include "mainwindow/formSplash.h"
#include "printing/CodeEditPrint.h"
#include "printing/PrintTestSupport.h"
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

class DialogLayoutTest : public SettingsSandbox {
protected:
  DialogLayoutTest() {
    main_ = std::make_unique<TfrmMain>(nullptr);
    frmMain = main_.get();
    MainForm()->TranslateForm();
  }
  ~DialogLayoutTest() override {
    main_.reset();
    frmMain = nullptr;
  }
  std::unique_ptr<TfrmMain> main_;
};

}  // namespace

TEST_F(DialogLayoutTest, EveryDialogShowsItsCaptionsWholeAndKeepsItsControlsInside) {
  dir.Write("a.txt", "eins\r\nzwei\r\n");
  TDocumentInfo document;
  document.FileName = dir.File("a.txt");
  TCodeEdit editor(nullptr);
  editor.SetText("eins\r\nzwei\r\n");
  printtest::TFakePrinter printer;
  TCodeEditPrint print;
  const std::pair<const char*, std::function<std::unique_ptr<TForm>()>> dialogs[] = {
      {"options", [] { return std::make_unique<TfrmSettings>(nullptr); }},
      {"page setup", [] { return std::make_unique<TfrmPgSetup>(nullptr); }},
      {"find files", [] { return std::make_unique<TfrmOpenFast>(nullptr); }},
      {"open history", [] { return std::make_unique<TfrmOpenHist>(nullptr); }},
      {"about", [] { return std::make_unique<TfrmInfo>(nullptr); }},
      {"templates", [] { return std::make_unique<TfrmTemplate>(nullptr); }},
      {"plug-ins", [] { return std::make_unique<TfrmPlugins>(nullptr); }},
      {"special characters", [] { return std::make_unique<TfrmSpecChars>(nullptr); }},
      {"window list", [] { return std::make_unique<TfrmWindowList>(nullptr); }},
      {"hot keys", [] { return std::make_unique<TfrmHotKeys>(nullptr); }},
      {"save documents", [] { return std::make_unique<TfrmDocSave>(nullptr); }},
      {"install", [this] { return std::make_unique<TfrmInstall>(nullptr, dir.Path()); }},
      {"file properties", [&] {
         auto props = std::make_unique<TfrmFileProp>(nullptr, document, editor);
         props->FormShow();
         return std::unique_ptr<TForm>(std::move(props));
       }},
      {"print preview", [&] {
         auto preview = std::make_unique<TfrmPreview>(
             nullptr, print, [&] { return TPrintDocument{&editor, "a.txt", document.FileName}; },
             [](TObject*) {});
         preview->RefreshPreview();
         preview->FormShow();
         return std::unique_ptr<TForm>(std::move(preview));
       }},
      {"splash", [] {
         auto splash = std::make_unique<TfrmSplash>(nullptr);
         splash->FormCreate();
         return std::unique_ptr<TForm>(std::move(splash));
       }},
  };
  for (const auto& [name, make] : dialogs) {
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
