// Every dialog the program has, each made as it is when it opens, for the tests that go over
// them all. Needs the main window (some dialogs read it while they are made).
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>
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
#include "mainwindow/formSplash.h"
#include "printing/CodeEditPrint.h"
#include "printing/PrintTestSupport.h"
#include "support/TempFolder.h"
#include "SettingsTestFixture.h"
#include "mainwindow/formMain.h"

namespace dialogtest {

struct TDialogRow {
  const char* Name;
  std::function<std::unique_ptr<TForm>()> Make;
};

// The rows, and the document and printer the dialogs that show one are made with: they live
// as long as this object, so its forms must go first.
class TEveryDialog {
public:
  explicit TEveryDialog(const testsupport::TempFolder& Folder) {
    Folder.Write("a.txt", "eins\r\nzwei\r\n");
    document_.FileName = Folder.File("a.txt");
    editor_.SetText("eins\r\nzwei\r\n");
    const std::string folder = Folder.Path();
    rows_ = {
        {"options", [] { return std::make_unique<TfrmSettings>(nullptr); }},
        {"page setup", [] { return std::make_unique<TfrmPgSetup>(nullptr); }},
        {"options, a text template chosen", [] {
           TemplatesDoc->CreatePath("Templates\\brief\\Before", "Sehr geehrte");
           return std::make_unique<TfrmSettings>(nullptr);
         }},
        {"find files", [] { return std::make_unique<TfrmOpenFast>(nullptr); }},
        {"find files, multi-line", [] {
           auto find = std::make_unique<TfrmOpenFast>(nullptr);
           find->chkMultiLine->SetChecked(true);
           find->chkMultiLine->OnClick(find->chkMultiLine);
           return std::unique_ptr<TForm>(std::move(find));
         }},
        {"open history", [] { return std::make_unique<TfrmOpenHist>(nullptr); }},
        {"about", [] { return std::make_unique<TfrmInfo>(nullptr); }},
        {"templates", [] { return std::make_unique<TfrmTemplate>(nullptr); }},
        {"plug-ins", [] { return std::make_unique<TfrmPlugins>(nullptr); }},
        {"special characters", [] { return std::make_unique<TfrmSpecChars>(nullptr); }},
        {"window list", [] { return std::make_unique<TfrmWindowList>(nullptr); }},
        {"hot keys", [] { return std::make_unique<TfrmHotKeys>(nullptr); }},
        {"save documents", [] { return std::make_unique<TfrmDocSave>(nullptr); }},
        {"install", [folder] { return std::make_unique<TfrmInstall>(nullptr, folder); }},
        {"file properties", [this] {
           auto props = std::make_unique<TfrmFileProp>(nullptr, document_, editor_);
           props->FormShow();
           return std::unique_ptr<TForm>(std::move(props));
         }},
        {"print preview", [this] {
           auto preview = std::make_unique<TfrmPreview>(
               nullptr, print_,
               [this] { return TPrintDocument{&editor_, "a.txt", document_.FileName}; },
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
  }
  TEveryDialog(const TEveryDialog&) = delete;
  TEveryDialog& operator=(const TEveryDialog&) = delete;

  const std::vector<TDialogRow>& Rows() const { return rows_; }

private:
  TDocumentInfo document_;
  TCodeEdit editor_{nullptr};
  printtest::TFakePrinter printer_;
  TCodeEditPrint print_;
  std::vector<TDialogRow> rows_;
};

// A settings sandbox with the translated main window the dialogs read while they are made.
class TEveryDialogTest : public SettingsSandbox {
protected:
  TEveryDialogTest() {
    main_ = std::make_unique<TfrmMain>(nullptr);
    frmMain = main_.get();
    MainForm()->TranslateForm();
  }
  ~TEveryDialogTest() override {
    main_.reset();
    frmMain = nullptr;
  }
  std::unique_ptr<TfrmMain> main_;
};

}  // namespace dialogtest
