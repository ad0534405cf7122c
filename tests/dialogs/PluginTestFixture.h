// A main window with a private plug-ins folder, filled with copies of the test plug-ins built
// beside this program; the plug-ins log their calls into a file of the test's folder.
#pragma once
#include <gtest/gtest.h>
#include <memory>
#include <sstream>
#include <string>
#include <vector>
#include "dialogs/fPlgMgr.h"
#include "dialogs/fPlgMgrApp.h"
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"
#include "documents/frameEdit.h"
#include "mainwindow/formMain.h"
#include "support/ModalAnswers.h"
#include "support/TempFolder.h"
#include "toolkit/Menus.h"
#include "toolkit/PageControl.h"

namespace plugintest {

inline std::string BuiltPluginsFolder() {
  char exe[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string path = exe;
  return path.substr(0, path.rfind('\\') + 1) + "testplugins\\";
}

class PluginWindowTest : public ::testing::Test {
protected:
  void SetUp() override {
    saved_ = std::make_unique<TSettings>(Settings);
    Settings.SettingsFile = folder.File("missing.ini");
    LoadSettings();
    Settings.General.AddToRecentFiles = false;
    Settings.OpenMRU.Clear();
    Settings.PluginsDir = folder.File("Plugins\\");
    CreateDirectoryA(Settings.PluginsDir.c_str(), nullptr);
    SetEnvironmentVariableA("TVP_TEST_LOG", folder.File("calls.log").c_str());
    DocumentNumbers.clear();
    DocsOpen = false;
    ResetPluginFaultReports();
    main_ = std::make_unique<TfrmMain>(nullptr);
    frmMain = main_.get();
  }
  void TearDown() override {
    FreePlugins();
    main_.reset();
    frmMain = nullptr;
    Settings = *saved_;
    DocumentNumbers.clear();
    DocsOpen = false;
    SetEnvironmentVariableA("TVP_TEST_LOG", nullptr);
    for (const std::string& name : variables_) SetEnvironmentVariableA(name.c_str(), nullptr);
  }

  // Copies a built variant to RelativeName below the plug-ins folder (folders made on the way).
  void Install(const std::string& Variant, const std::string& RelativeName) {
    std::string target = Settings.PluginsDir + RelativeName;
    for (size_t slash = target.find('\\', Settings.PluginsDir.size()); slash != std::string::npos;
         slash = target.find('\\', slash + 1))
      CreateDirectoryA(target.substr(0, slash).c_str(), nullptr);
    ASSERT_TRUE(CopyFileA((BuiltPluginsFolder() + Variant + ".plg").c_str(), target.c_str(), FALSE))
        << Variant;
  }
  void Allow(const std::string& Lines) { folder.Write("Plugins\\AllowedPlugins.ini", Lines); }
  // The plug-in's environment: "TVP_SUBMENU_<name>" ("|" for CR LF, "-" for empty) and friends.
  void SetPluginVariable(const std::string& Name, const std::string& Value) {
    variables_.push_back(Name);
    SetEnvironmentVariableA(Name.c_str(), Value.c_str());
  }

  // The calls logged so far, one line each.
  std::vector<std::string> Calls() const {
    std::vector<std::string> lines;
    if (GetFileAttributesA(folder.File("calls.log").c_str()) == INVALID_FILE_ATTRIBUTES) return lines;
    std::istringstream in(folder.Read("calls.log"));
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
    }
    return lines;
  }
  // The logged calls of one plug-in, without its name.
  std::vector<std::string> CallsOf(const std::string& Plugin) const {
    std::vector<std::string> own;
    for (const std::string& line : Calls())
      if (line.rfind(Plugin + " ", 0) == 0) own.push_back(line.substr(Plugin.size() + 1));
    return own;
  }
  void ClearCalls() { DeleteFileA(folder.File("calls.log").c_str()); }

  TMenuItem* PluginsMenu() const { return frmMain->Find<TMenuItem>("mnuPlugins"); }
  int TabCount() const { return frmMain->pcEdit->PageCount(); }
  TfraEdit* Open(const std::string& Name) {
    TTabSheet* sheet = OpenFile(Name, false, nullptr);
    return sheet ? dynamic_cast<TfraEdit*>(sheet->FindComponent("fraEdit")) : nullptr;
  }

  testsupport::TempFolder folder;

private:
  std::unique_ptr<TSettings> saved_;
  std::unique_ptr<TfrmMain> main_;
  std::vector<std::string> variables_;
};

// Expects one error message naming the plug-in and the export.
inline void ExpectFaultReport(const std::string& Plugin, const std::string& Export) {
  testsupport::QueueAnswer(ModalAnswer{IDOK}, [Plugin, Export](const ModalQuestion& q) {
    EXPECT_EQ(q.kind, ModalKind::MessageBox);
    EXPECT_NE(q.text.find(Plugin), std::string::npos) << q.text;
    EXPECT_NE(q.text.find(Export), std::string::npos) << q.text;
    EXPECT_TRUE(q.flags & MB_ICONERROR);
  });
}

}  // namespace plugintest
