// A real main window with default settings for the tests of opening, saving and closing
// documents; everything the tests change is put back afterwards.
#pragma once
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"
#include "documents/fMain.h"
#include "documents/frameEdit.h"
#include "mainwindow/formMain.h"
#include "support/ModalAnswers.h"
#include "support/TempFolder.h"
#include "toolkit/KeyState.h"
#include "toolkit/PageControl.h"

namespace documentstest {

class DocumentWindowTest : public ::testing::Test {
protected:
  void SetUp() override {
    saved_ = std::make_unique<TSettings>(Settings);
    Settings.SettingsFile = folder.File("missing.ini");
    LoadSettings();
    Settings.General.AddToRecentFiles = false;  // the shell's list is not ours to fill
    Settings.OpenMRU.Clear();
    DocumentNumbers.clear();
    DocsOpen = false;
    FileTypeContents.Clear();
    main_ = std::make_unique<TfrmMain>(nullptr);
    frmMain = main_.get();
  }
  void TearDown() override {
    main_.reset();
    frmMain = nullptr;
    Settings = *saved_;
    DocumentNumbers.clear();
    DocsOpen = false;
    FileTypeContents.Clear();
    FileReadHooks.clear();
    FileWriteHooks.clear();
    SetKeyStateOverride(nullptr);
    SetTextFileFaultsForTests(-1, -1);
  }

  TPageControl& Pages() const { return *frmMain->pcEdit; }
  int TabCount() const { return Pages().PageCount(); }
  TfraEdit* Frame(int Index) const { return GetFrame(Index); }
  TfraEdit* Open(const std::string& Name) {
    TTabSheet* sheet = OpenFile(Name, false, nullptr);
    return sheet ? dynamic_cast<TfraEdit*>(sheet->FindComponent("fraEdit")) : nullptr;
  }
  // Opens a file written with Data; nullptr when nothing was opened.
  TfraEdit* OpenWith(const std::string& Name, const std::string& Data) {
    folder.Write(Name, Data);
    return Open(folder.File(Name));
  }
  std::vector<std::string> TabCaptions() const {
    std::vector<std::string> captions;
    for (int i = 0; i < TabCount(); ++i) captions.push_back(Pages().Pages(i)->Caption());
    return captions;
  }
  // Types into the document as the user would, so it counts as changed.
  static void Edit(TfraEdit& Frame, const std::string& Text) {
    for (char c : Text) Frame.seEdit->CommandProcessor(ecChar, c, nullptr);
  }
  static void HoldCtrl(bool Held) {
    if (Held) SetKeyStateOverride([](int Key) { return Key == VK_CONTROL; });
    else SetKeyStateOverride(nullptr);
  }

  testsupport::TempFolder folder;

private:
  std::unique_ptr<TSettings> saved_;
  std::unique_ptr<TfrmMain> main_;
};

}  // namespace documentstest
