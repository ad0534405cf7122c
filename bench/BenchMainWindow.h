// The main window shown for the benchmarks that time its commands, with default settings.
#pragma once
#include <windows.h>
#include <memory>
#include <string>
#include "documents/fHlpMain.h"
#include "mainwindow/formMain.h"
#include "toolkit/Application.h"

// The temporary folder, with its trailing backslash.
inline std::string BenchFolder() {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  return folder;
}

// Shown and painted once on construction; the settings file named does not exist, so every
// setting is at its default, and no recent-file list is kept. Closed on destruction.
class TBenchMainWindow {
public:
  TBenchMainWindow() {
    Application().Initialize();
    Settings.SettingsFile = BenchFolder() + "tarvoline_bench_missing.ini";
    LoadSettings();
    Settings.General.AddToRecentFiles = false;
    main_ = std::make_unique<TfrmMain>(nullptr);
    frmMain = main_.get();
    Application().SetMainForm(main_.get());
    main_->Show();
    Application().ProcessMessages();
  }
  ~TBenchMainWindow() {
    main_.reset();
    frmMain = nullptr;
  }
  TBenchMainWindow(const TBenchMainWindow&) = delete;
  TBenchMainWindow& operator=(const TBenchMainWindow&) = delete;

private:
  std::unique_ptr<TfrmMain> main_;
};
