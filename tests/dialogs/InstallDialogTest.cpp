#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>
#include "dialogs/formInstall.h"
#include "documents/XmlDoc.h"
#include "documents/fHlpMain.h"
#include "documents/fLanguage.h"
#include "support/ModalAnswers.h"
#include "support/StoreMessages.h"
#include "support/TempFolder.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Controls.h"
#include "toolkit/GroupBox.h"
#include "toolkit/HintWindow.h"

namespace {
class InstallTest : public testing::Test {
protected:
  void SetUp() override { Settings = TSettings(); }
  void TearDown() override {
    Settings = TSettings();
    LanguageTexts.Clear();
  }
  std::string ConfigPath() const {
    TXmlDoc doc;
    if (!doc.LoadFromFile(dir.File("Tarvoline.config"))) return "<no file>";
    return doc.ReadString("Settings\\Path", "<no value>");
  }
  void WriteConfig(const std::string& Path) const {
    TXmlDoc doc;
    doc.WriteString("Settings\\Path", Path);
    ASSERT_TRUE(doc.SaveToFile(dir.File("Tarvoline.config"), 2, true));
  }
  testsupport::TempFolder dir;
};

// Clicks a radio button as the user would, so its group and handler follow.
void Click(TWinControl* Control) { SendMessageA(Control->Handle(), BM_CLICK, 0, 0); }

// The tooltip the dialog shows for a control.
std::string TipOf(TfrmInstall& Form, const TWinControl& Control) {
  auto* hints = dynamic_cast<THintWindow*>(Form.FindComponent("hints"));
  return hints ? hints->TipOf(Control) : "<no hint window>";
}
}  // namespace

TEST_F(InstallTest, DialogShowsItsGermanTexts) {
  TfrmInstall form(nullptr, dir.Path());
  form.Show();
  EXPECT_TRUE(IsWindowVisible(form.Handle()));
  EXPECT_EQ(form.Caption(), "Tarvoline einrichten");
  EXPECT_EQ(form.lblLanguage->Caption(), "Sprache / Language:");
  EXPECT_EQ(form.grpIni->Caption(), "Benutzereinstellungen");
  EXPECT_EQ(form.rbIniMultiUser->Caption(), "Mehrbenutzersystem (f\xFCr jeden Benutzer getrennt)");
  EXPECT_EQ(form.rbIniUSB->Caption(), "Verwendung auf einem USB-Stick (Programmverzeichnis von Tarvoline)");
  EXPECT_EQ(form.rbIniUserDef->Caption(), "Benutzerdefinierten Ordner verwenden:");
  EXPECT_EQ(form.btnIniSelect->Caption(), "...");
  EXPECT_EQ(form.btnIniSelect->Hint(), "Benutzerdefinierten Ordner ausw\xE4hlen...");
  EXPECT_EQ(TipOf(form, *form.btnIniSelect), "Benutzerdefinierten Ordner ausw\xE4hlen...");
  EXPECT_EQ(TipOf(form, *form.btnOk), "");
  EXPECT_EQ(form.btnOk->Caption(), "Ok");
  EXPECT_EQ(form.btnCancel->Caption(), "Abbrechen");
  EXPECT_EQ(form.Font().Name(), "Tahoma");
  EXPECT_EQ(form.cmbLanguage->Text(), "Deutsch (intern)");
  EXPECT_TRUE(form.rbIniUSB->Checked());
  EXPECT_FALSE(form.txtIniPath->Enabled());
  EXPECT_FALSE(form.btnIniSelect->Enabled());
}

TEST_F(InstallTest, CustomFolderControlsFollowTheChoice) {
  TfrmInstall form(nullptr, dir.Path());
  Click(form.rbIniUserDef);
  EXPECT_TRUE(form.txtIniPath->Enabled());
  EXPECT_TRUE(form.btnIniSelect->Enabled());
  EXPECT_FALSE(form.rbIniUSB->Checked());
  Click(form.rbIniMultiUser);
  EXPECT_FALSE(form.txtIniPath->Enabled());
  std::string location;
  EXPECT_TRUE(form.ReadLocation(location));
  EXPECT_EQ(location, "%PERSONAL%");
}

TEST_F(InstallTest, FolderPickerFillsOnlyExistingFolders) {
  TfrmInstall form(nullptr, dir.Path());
  ModalAnswer missing{IDOK, dir.File("gone")};
  testsupport::QueueAnswer(missing, [](const ModalQuestion& q) {
    EXPECT_EQ(q.kind, ModalKind::FolderDialog);
    EXPECT_EQ(q.text, "Bitte w\xE4hlen Sie den Ordner f\xFCr die Benutzereinstellungen aus.");
  });
  form.btnIniSelectClick();
  EXPECT_EQ(form.txtIniPath->Text(), "");
  testsupport::QueueAnswer(ModalAnswer{IDOK, dir.Path()});
  form.btnIniSelectClick();
  EXPECT_EQ(form.txtIniPath->Text(), dir.Path());
}

TEST_F(InstallTest, EnglishIsPreselectedAndSwitchingLanguageRetranslates) {
  CreateDirectoryA(dir.File("Language").c_str(), nullptr);
  dir.Write("Language\\English.lng",
            "Main|mnuLanguage=Language\r\nInstall|Title=Set up Tarvoline\r\nGeneral|btnCancel=Cancel\r\n"
            "Font|Name=Arial\r\nInstall|btnIniSelect=Choose a folder...\r\n");
  TfrmInstall form(nullptr, dir.Path());
  EXPECT_EQ(form.cmbLanguage->Text(), "English");
  EXPECT_EQ(Settings.Language, "English");
  EXPECT_EQ(form.Caption(), "Set up Tarvoline");
  EXPECT_EQ(form.lblLanguage->Caption(), "Language:");
  EXPECT_EQ(form.btnCancel->Caption(), "Cancel");
  EXPECT_EQ(form.Font().Name(), "Arial");
  EXPECT_EQ(TipOf(form, *form.btnIniSelect), "Choose a folder...");

  form.cmbLanguage->SetItemIndex(0);
  form.cmbLanguageClick();
  EXPECT_EQ(Settings.Language, "Deutsch (intern)");
  EXPECT_EQ(form.Caption(), "Tarvoline einrichten");
  EXPECT_EQ(form.lblLanguage->Caption(), "Sprache / Language:");
  EXPECT_EQ(form.Font().Name(), "Tahoma");
  EXPECT_EQ(TipOf(form, *form.btnIniSelect), "Benutzerdefinierten Ordner ausw\xE4hlen...");
}

TEST_F(InstallTest, OpeningTheDialogCreatesAnEmptyPluginAllowList) {
  CreateDirectoryA(dir.File("Plugins").c_str(), nullptr);
  TfrmInstall form(nullptr, dir.Path());
  ASSERT_TRUE(FileExists(dir.File("Plugins\\AllowedPlugins.ini")));
  EXPECT_EQ(dir.Read("Plugins\\AllowedPlugins.ini"), "");

  dir.Write("Plugins\\AllowedPlugins.ini", "a.plg\r\n");
  TfrmInstall again(nullptr, dir.Path());
  EXPECT_EQ(dir.Read("Plugins\\AllowedPlugins.ini"), "a.plg\r\n");
}

TEST_F(InstallTest, AnExistingLocationFileSkipsTheDialog) {
  WriteConfig("%GLOBAL%");
  EXPECT_TRUE(CreateConfigFile(dir.Path()));
  EXPECT_TRUE(testsupport::AskedQuestions().empty());
}

TEST_F(InstallTest, EachChoiceIsWrittenToTheLocationFile) {
  struct Case {
    TRadioButton* TfrmInstall::*button;
    std::string expected;
  };
  for (const Case& c : {Case{&TfrmInstall::rbIniMultiUser, "%PERSONAL%"},
                        Case{&TfrmInstall::rbIniUSB, "%GLOBAL%"}}) {
    DeleteFileA(dir.File("Tarvoline.config").c_str());
    testsupport::QueueFormAnswer([&](TForm& f) {
      Click(static_cast<TfrmInstall&>(f).*c.button);
      return int(mrOk);
    });
    EXPECT_TRUE(CreateConfigFile(dir.Path()));
    EXPECT_EQ(ConfigPath(), c.expected);
  }

  DeleteFileA(dir.File("Tarvoline.config").c_str());
  const std::string custom = dir.Path() + "custom";
  CreateDirectoryA(custom.c_str(), nullptr);
  testsupport::QueueFormAnswer([](TForm& f) {
    auto& form = static_cast<TfrmInstall&>(f);
    Click(form.rbIniUserDef);
    form.btnIniSelectClick();
    return int(mrOk);
  });
  testsupport::QueueAnswer(ModalAnswer{IDOK, custom});
  EXPECT_TRUE(CreateConfigFile(dir.Path()));
  EXPECT_EQ(ConfigPath(), custom);
  EXPECT_NE(dir.Read("Tarvoline.config").find("<?xml version=\"1.0\"?>\r\n<Settings>\r\n  <Path>"),
            std::string::npos);
}

TEST_F(InstallTest, CustomChoiceWithoutAFolderAsksAgain) {
  testsupport::QueueFormAnswer([](TForm& f) {
    Click(static_cast<TfrmInstall&>(f).rbIniUserDef);
    return int(mrOk);
  });
  testsupport::QueueAnswer({IDOK}, [](const ModalQuestion& q) {
    EXPECT_EQ(q.kind, ModalKind::MessageBox);
    EXPECT_EQ(q.text, "Bitte w\xE4hlen Sie einen Ordner f\xFCr die Benutzereinstellungen aus.");
  });
  testsupport::QueueFormAnswer([](TForm&) { return int(mrCancel); });
  EXPECT_FALSE(CreateConfigFile(dir.Path()));
  EXPECT_FALSE(FileExists(dir.File("Tarvoline.config")));
}

TEST_F(InstallTest, ACustomFolderTheCodePageCannotNameIsRefusedAndAskedAgain) {
  testsupport::QueueFormAnswer([](TForm& f) {
    auto& form = static_cast<TfrmInstall&>(f);
    Click(form.rbIniUserDef);
    SendMessageW(form.txtIniPath->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"C:\\\u03A9"));
    return int(mrOk);
  });
  // Asked before the main window sets the language's lookup: German all the same.
  testsupport::QueueAnswer({IDOK}, [](const ModalQuestion& q) {
    EXPECT_EQ(q.caption, "Ungeeigneter Name");
    EXPECT_EQ(q.text, "Diese Namen enthalten Zeichen, die der Zeichensatz des Systems nicht kennt "
                      "(hier als \"?\" gezeigt). Tarvoline \xF6" "ffnet, durchsucht, startet oder "
                      "speichert unter ihnen nichts:\r\nC:\\?");
    EXPECT_EQ(q.flags, UINT(MB_ICONERROR | MB_OK));
  });
  testsupport::QueueFormAnswer([](TForm&) { return int(mrCancel); });
  EXPECT_FALSE(CreateConfigFile(dir.Path()));
  EXPECT_FALSE(FileExists(dir.File("Tarvoline.config")));
}

TEST_F(InstallTest, CancelEndsStartUp) {
  testsupport::QueueFormAnswer([](TForm& f) {
    EXPECT_EQ(f.Caption(), "Tarvoline einrichten");
    return int(mrCancel);
  });
  EXPECT_FALSE(CreateConfigFile(dir.Path()));
  EXPECT_FALSE(FileExists(dir.File("Tarvoline.config")));
}

TEST_F(InstallTest, AnUnwritableLocationFileIsReported) {
  const std::string folder = dir.Path() + "no such folder\\";
  testsupport::QueueFormAnswer([](TForm&) { return int(mrOk); });
  testsupport::QueueAnswer({IDOK}, [&](const ModalQuestion& q) {
    EXPECT_NE(q.text.find(folder + "Tarvoline.config"), std::string::npos) << q.text;
    EXPECT_EQ(q.flags, UINT(MB_OK | MB_ICONERROR));
  });
  EXPECT_FALSE(CreateConfigFile(folder));
}

// The per-user folder is the one the shell names, not the environment's, which holds "?" for
// a profile named with characters the code page lacks.
TEST_F(InstallTest, InitPathsResolvesTheThreeLocations) {
  wchar_t appData[MAX_PATH] = L"";
  GetEnvironmentVariableW(L"APPDATA", appData, MAX_PATH);
  SetEnvironmentVariableW(L"APPDATA", (AnsiToWide(dir.Path()) + L"\u0141\u00F3d\u017A").c_str());
  char shellAppData[MAX_PATH] = "";
  ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, shellAppData), S_OK);
  const std::string perUser = std::string(shellAppData) + "\\Tarvoline\\";
  const bool hadPerUser = DirectoryExists(perUser);
  WriteConfig("%PERSONAL%");
  InitPaths(dir.Path());
  SetEnvironmentVariableW(L"APPDATA", appData);
  EXPECT_EQ(Settings.AppDir, dir.Path());
  EXPECT_EQ(Settings.SettingsDir, perUser);
  EXPECT_TRUE(DirectoryExists(Settings.SettingsDir));
  if (!hadPerUser) RemoveDirectoryA(perUser.c_str());
  EXPECT_EQ(Settings.SettingsFile, Settings.SettingsDir + "Tarvoline.ini");
  EXPECT_EQ(Settings.PluginsDir, dir.File("Plugins\\"));

  WriteConfig("%GLOBAL%");
  InitPaths(dir.Path());
  EXPECT_EQ(Settings.SettingsDir, dir.Path());

  SetEnvironmentVariableA("TV_TEST_BASE", dir.File("base").c_str());
  WriteConfig("%TV_TEST_BASE%\\a\\b");
  InitPaths(dir.Path());
  EXPECT_EQ(Settings.SettingsDir, dir.File("base\\a\\b\\"));
  EXPECT_TRUE(DirectoryExists(Settings.SettingsDir));
  SetEnvironmentVariableA("TV_TEST_BASE", nullptr);
}

TEST_F(InstallTest, InitPathsWithoutAUsableFolderKeepsTheSettingsBesideTheProgram) {
  InitPaths(dir.Path());
  EXPECT_EQ(Settings.SettingsDir, dir.Path());
  WriteConfig("");
  InitPaths(dir.Path());
  EXPECT_EQ(Settings.SettingsFile, dir.File("Tarvoline.ini"));

  // A folder that was chosen but cannot be made is said once, naming it and the program folder.
  dir.Write("a file", "");
  SetEnvironmentVariableW(L"TV_TEST_BASE", L"C:\\\u03A9mega");
  const std::pair<std::string, std::string> unusable[] = {
      {dir.File("a file\\settings"), dir.File("a file\\settings")},
      {"%TV_TEST_BASE%\\s", "C:\\?mega\\s"},
  };
  for (const auto& [chosen, named] : unusable) {
    WriteConfig(chosen);
    testsupport::QueueAnswer({IDOK}, [&](const ModalQuestion& q) {
      EXPECT_EQ(q.caption, "Einstellungsordner");
      EXPECT_EQ(q.text, "Der Ordner \"" + named + "\" f\xFCr die Einstellungen kann nicht verwendet "
                        "werden.\r\nDie Einstellungen werden stattdessen im Programmordner \"" +
                        dir.Path() + "\" gespeichert.");
      EXPECT_EQ(q.flags, UINT(MB_OK | MB_ICONWARNING));
    });
    InitPaths(dir.Path());
    EXPECT_EQ(Settings.SettingsFile, dir.File("Tarvoline.ini"));
    EXPECT_EQ(testsupport::PendingAnswers(), 0u);
  }
  SetEnvironmentVariableA("TV_TEST_BASE", nullptr);

  // A location file another program holds is said: the settings then stay beside the program.
  WriteConfig("%PERSONAL%");
  testsupport::HeldFile held(dir.File("Tarvoline.config"));
  testsupport::ExpectStoreUnreadable(dir.File("Tarvoline.config"));
  InitPaths(dir.Path());
  EXPECT_EQ(Settings.SettingsFile, dir.File("Tarvoline.ini"));
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);
  EXPECT_TRUE(CreateConfigFile(dir.Path())) << "it is there: no first-start question";
}

// Where the program folder cannot take the settings either (a read-only settings file there, as
// under a protected program folder), the one message says so and the exit says nothing more.
TEST_F(InstallTest, InitPathsWithNoFolderToSaveInSaysSoOnce) {
  dir.Write("a file", "");
  WriteConfig(dir.File("a file\\settings"));
  TXmlDoc ini("?xml");
  ini.WriteInteger("Settings\\Editor\\TabWidth", 8);
  ASSERT_TRUE(ini.SaveToFile(dir.File("Tarvoline.ini"), 2, true));
  const std::string stored = dir.Read("Tarvoline.ini");
  SetFileAttributesA(dir.File("Tarvoline.ini").c_str(), FILE_ATTRIBUTE_READONLY);
  testsupport::QueueAnswer({IDOK}, [&](const ModalQuestion& q) {
    EXPECT_EQ(q.caption, "Einstellungsordner");
    EXPECT_EQ(q.text, "Der Ordner \"" + dir.File("a file\\settings") + "\" f\xFCr die Einstellungen "
                      "kann nicht verwendet werden, und auch im Programmordner \"" + dir.Path() +
                      "\" k\xF6nnen sie nicht gespeichert werden.\r\n\xC4nderungen an den "
                      "Einstellungen werden deshalb beim Beenden nicht gespeichert.");
    EXPECT_EQ(q.flags, UINT(MB_OK | MB_ICONWARNING));
  });
  InitPaths(dir.Path());
  EXPECT_EQ(Settings.SettingsFile, dir.File("Tarvoline.ini"));
  EXPECT_EQ(Settings.Editor.TabWidth, 8) << "the settings there are still read";
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);
  EXPECT_FALSE(SaveSettings());  // an error box here would fail the test
  EXPECT_EQ(dir.Read("Tarvoline.ini"), stored);

  // The next run with a writable program folder has the earlier message and saves again.
  SetFileAttributesA(dir.File("Tarvoline.ini").c_str(), FILE_ATTRIBUTE_NORMAL);
  testsupport::QueueAnswer({IDOK}, [&](const ModalQuestion& q) {
    EXPECT_NE(q.text.find("stattdessen im Programmordner"), std::string::npos) << q.text;
  });
  InitPaths(dir.Path());
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);
  EXPECT_TRUE(SaveSettings());
}

TEST_F(InstallTest, InitPathsLoadsTheSettingsAndTheirLanguage) {
  WriteConfig("%GLOBAL%");
  CreateDirectoryA(dir.File("Language").c_str(), nullptr);
  dir.Write("Language\\English.lng", "Main|mnuFile=File\r\n");
  TXmlDoc ini;
  ini.WriteString("Settings\\Language", "English");
  ini.WriteInteger("Settings\\Editor\\TabWidth", 8);
  ASSERT_TRUE(ini.SaveToFile(dir.File("Tarvoline.ini"), 2, true));
  InitPaths(dir.Path());
  EXPECT_EQ(Settings.Editor.TabWidth, 8);
  EXPECT_EQ(GetLangText("Main|mnuFile", "Datei"), "File");
}

TEST_F(InstallTest, EnterPressesOkAndEscapeCancels) {
  for (auto [key, expected] : {std::pair{VK_RETURN, int(mrOk)}, std::pair{VK_ESCAPE, int(mrCancel)}}) {
    TfrmInstall form(nullptr, dir.Path());
    form.Show();
    form.rbIniUSB->SetFocus();
    PostMessageA(form.rbIniUSB->Handle(), WM_KEYDOWN, key, 0);
    EXPECT_EQ(form.RunModalLoop(), expected);
  }
}
