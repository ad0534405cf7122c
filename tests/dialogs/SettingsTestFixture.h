// A sandbox for the options dialog: settings file, program folder and shell folders in a
// temporary folder, a program name of its own, nothing started.
#pragma once
#include <gtest/gtest.h>
#include "commands/Templates.h"
#include "dialogs/ShellIntegration.h"
#include "documents/XmlDoc.h"
#include "documents/fHlpMain.h"
#include "support/ModalAnswers.h"
#include "support/TempFolder.h"
#include "toolkit/ProgramStart.h"

class SettingsSandbox : public ::testing::Test {
protected:
  SettingsSandbox() {
    Settings = TSettings();
    Settings.SettingsFile = dir.File("Tarvoline.ini");
    LoadSettings();
    Settings.AppDir = Settings.SettingsDir = dir.Path();
    for (const char* sub : {"Highlighters", "sendto", "programs", "Pro gram"})
      CreateDirectoryA(dir.File(sub).c_str(), nullptr);
    TShellEnvironment& env = ShellEnvironment();
    env.ProgramPath = dir.File("Pro gram\\" + ProgramName());
    env.SpecialFolder = [this](int Csidl) {
      return dir.File(Csidl == 9 ? "sendto\\" : "programs\\");
    };
    TemplatesDoc = std::make_unique<TXmlDoc>();
  }
  ~SettingsSandbox() override {
    ResetShellEnvironment();
    SetProgramStartOverride(nullptr);
    TemplatesDoc.reset();
    Settings = TSettings();
  }
  static std::string ProgramName() { return "TvTest" + std::to_string(GetCurrentProcessId()) + ".exe"; }

  testsupport::TempFolder dir;
};
