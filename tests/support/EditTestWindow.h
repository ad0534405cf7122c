// A real main window with one untitled document for the Edit and Format menu tests; the
// settings, memory banks and clipboard are put back afterwards.
#pragma once
#include <gtest/gtest.h>
#include <array>
#include <memory>
#include <string>
#include "commands/fHlpMainLines.h"
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"
#include "documents/frameEdit.h"
#include "editor/CodeEditTestFixture.h"
#include "mainwindow/formMain.h"
#include "support/ModalAnswers.h"
#include "support/TempFolder.h"
#include "toolkit/Menus.h"
#include "toolkit/ToolBar.h"

namespace edittest {

class EditWindowTest : public testing::Test {
protected:
  void SetUp() override {
    saved_ = std::make_unique<TSettings>(Settings);
    banks_ = MemoryBanks;
    MemoryBanks.fill("");
    Settings.SettingsFile = folder.File("missing.ini");
    LoadSettings();
    Settings.General.AddToRecentFiles = false;
    DocumentNumbers.clear();
    DocsOpen = false;
    main_ = std::make_unique<TfrmMain>(nullptr);
    frmMain = main_.get();
    OpenFile("");
    frame = GetActiveFrame();
    edit = frame->seEdit;
  }
  void TearDown() override {
    main_.reset();
    frmMain = nullptr;
    Settings = *saved_;
    MemoryBanks = banks_;
    DocumentNumbers.clear();
    DocsOpen = false;
  }

  static TMenuItem* Item(const std::string& Name) {
    TMenuItem* item = frmMain->Find<TMenuItem>(Name);
    EXPECT_NE(item, nullptr) << Name;
    return item;
  }
  // Clicks a menu item (opening its menus first, as the user does) or a tool button.
  static void Click(const std::string& Name) {
    if (TMenuItem* item = frmMain->Find<TMenuItem>(Name)) {
      ASSERT_TRUE(item->OnClick) << Name << " has no command";
      item->Click();
    } else {
      TToolButton* button = frmMain->Find<TToolButton>(Name);
      ASSERT_NE(button, nullptr) << Name;
      ASSERT_TRUE(button->OnClick) << Name << " has no command";
      button->Click();
    }
  }
  static bool Enabled(const std::string& Name) { return Item(Name)->Enabled(); }
  void SetText(const std::string& Text) {
    edit->SetText(Text);
    edit->ClearHistory();
  }

  testsupport::TempFolder folder;
  codeedittest::TFakeClipboard board;
  TfraEdit* frame = nullptr;
  TCodeEdit* edit = nullptr;

private:
  std::unique_ptr<TSettings> saved_;
  std::array<std::string, 10> banks_;
  std::unique_ptr<TfrmMain> main_;
};

}  // namespace edittest
