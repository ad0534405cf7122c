// The Extras and Help menus on a real main window: placeholders, the selection, external and
// default programs, the folder, the help file, each through the shell seam or the real shell.
#include <gtest/gtest.h>
#include <vector>
#include "commands/ExtrasCommands.h"
#include "dialogs/formInfo.h"
#include "documents/fHlpMainFuncs.h"
#include "rtl/SysUtils.h"
#include "support/EditTestWindow.h"
#include "toolkit/ShellStart.h"

namespace {

using codeedittest::Select;
using edittest::EditWindowTest;

class ExtrasHelpTest : public EditWindowTest {
protected:
  void SetUp() override {
    EditWindowTest::SetUp();
    Settings.AppDir = folder.Path();
    SetShellRunOverride([this](const TShellRequest& Request) {
      started.push_back(Request);
      return shellWorks;
    });
  }
  void TearDown() override {
    SetShellRunOverride(nullptr);
    EditWindowTest::TearDown();
  }
  // A document with a file on disk, modified or not.
  void OpenNamed(const std::string& Name, bool Modified) {
    folder.Write(Name, "saved");
    OpenFile(folder.File(Name));
    GetActiveEditor()->SetText("edited");
    GetActiveFrame()->DocInfo.Modified = Modified;
  }
  void AddProgram(const std::string& Path, const std::string& Args, const std::string& Style) {
    Settings.AppList.Add("Werkzeug\x01" + Path + "\x01" + Args + "\x01" + Style + "\x01" "1");
    BuildAppListMenu();
  }
  void RunProgram(int Index) { Item("mnuExtrasApps")->Items(Index)->Click(); }
  static void ExpectBox(const std::string& Title, const std::string& Text, UINT Icon, int Answer) {
    testsupport::QueueAnswer(ModalAnswer{Answer}, [=](const ModalQuestion& q) {
      EXPECT_EQ(q.caption, Title);
      EXPECT_NE(q.text.find(Text), std::string::npos) << q.text;
      EXPECT_EQ(q.flags & MB_ICONMASK, Icon) << q.text;
    });
  }

  std::vector<TShellRequest> started;
  bool shellWorks = true;
};

}  // namespace

TEST(ExpandFilePlaceholders, EachPlaceholderCaseIgnoredAndNeverTwice) {
  struct Row {
    const char* Text;
    const char* File;
    const char* Expected;
  };
  const Row rows[] = {
      {"%1E", "C:\\x\\a.tar.gz", "gz"},
      {"%1T", "C:\\x\\a.tar.gz", "a.tar"},
      {"%1D|%1P", "C:\\x\\a.txt", "C:\\x|C:\\x\\"},
      {"%1n %1e %1t %1d", "C:\\x\\a.txt", "a.txt txt a C:\\x"},
      {"\"%1\" %1 ", "C:\\x\\a.txt", "\"C:\\x\\a.txt\" C:\\x\\a.txt "},
      {"%1E", "C:\\x\\noext", ""},
      {"%1N", "C:\\%1\\b.txt", "b.txt"},
      {"%1", "C:\\%1N\\b.txt", "C:\\%1N\\b.txt"},  // inserted text is not expanded again
      {"%2 %%1", "C:\\a.txt", "%2 %C:\\a.txt"},
      {"%", "C:\\a.txt", "%"},
      {"", "C:\\a.txt", ""},
  };
  for (const Row& r : rows)
    EXPECT_EQ(ExpandFilePlaceholders(r.Text, r.File), r.Expected) << r.Text << " / " << r.File;
}

TEST(SelectionTarget, TrimsBracketsAndAddsMailtoToBareAddresses) {
  struct Row {
    const char* Selection;
    const char* Expected;
  };
  const Row rows[] = {
      {"  <someone@example.com>\r\n", "mailto:someone@example.com"},
      {"someone@example.com", "mailto:someone@example.com"},
      {"MAILTO:someone@example.com", "MAILTO:someone@example.com"},
      {"http://www.example.com/a?b=c", "http://www.example.com/a?b=c"},
      {"<<x>>", "<x>"},
      {"<>", ""},
      {"   ", ""},
      {"", ""},
  };
  for (const Row& r : rows) EXPECT_EQ(SelectionTarget(r.Selection), r.Expected) << r.Selection;
}

TEST_F(ExtrasHelpTest, OpeningTheMenuFollowsTheFileNameAndThePluginFolder) {
  Click("mnuExtras");
  for (const char* name : {"mnuExtrasApps", "mnuExtrasDefApp", "mnuExtrasOpenFolder"})
    EXPECT_FALSE(Enabled(name)) << name << ": untitled document";
  EXPECT_FALSE(Item("mnuExtrasPluginMgr")->Visible());
  CreateDirectoryA(folder.File("Plugins").c_str(), nullptr);
  OpenNamed("a.txt", false);
  Click("mnuExtras");
  for (const char* name : {"mnuExtrasApps", "mnuExtrasDefApp", "mnuExtrasOpenFolder"})
    EXPECT_TRUE(Enabled(name)) << name;
  EXPECT_TRUE(Item("mnuExtrasPluginMgr")->Visible());
  RemoveDirectoryA(folder.File("Plugins").c_str());
}

TEST_F(ExtrasHelpTest, ExecutingTheSelectionOpensItWithTheShell) {
  SetText("write to <someone@example.com> today");
  Select(*edit, {10, 1}, {31, 1});
  Click("mnuExtrasExecute");
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(started[0].File, "mailto:someone@example.com");
  EXPECT_EQ(started[0].Verb, "open");
  EXPECT_EQ(started[0].ShowCmd, SW_SHOWNORMAL);

  edit->SetSelStart(0);
  edit->SetSelLength(0);
  Click("mnuExtrasExecute");
  EXPECT_EQ(started.size(), 1u) << "nothing selected: nothing started";

  shellWorks = false;
  Select(*edit, {1, 1}, {6, 1});
  ExpectBox("Auswahl ausf\xFChren", "nicht ausgef\xFChrt", MB_ICONERROR, IDOK);
  Click("mnuExtrasExecute");
}

TEST_F(ExtrasHelpTest, ExternalProgramGetsItsPlaceholdersAndWindowState) {
  SetEnvironmentVariableA("TV_TOOLS", "C:\\tools");
  AddProgram("%TV_TOOLS%\\tool.exe", "-f \"%1\" -e %1E -d %1D", "1");
  AddProgram("viewer.exe", "--plain", "2");
  OpenNamed("doc.tar.gz", false);
  RunProgram(0);
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(started[0].File, "C:\\tools\\tool.exe");
  EXPECT_EQ(started[0].Parameters, "-f \"" + folder.File("doc.tar.gz") + "\" -e gz -d " +
                                       ExcludeTrailingBackslash(folder.Path()));
  EXPECT_EQ(started[0].ShowCmd, SW_SHOWMAXIMIZED);

  // Without "%1" no file is needed: no question even for a modified document.
  GetActiveFrame()->DocInfo.Modified = true;
  RunProgram(1);
  ASSERT_EQ(started.size(), 2u);
  EXPECT_EQ(started[1].Parameters, "--plain");
  EXPECT_EQ(started[1].ShowCmd, SW_SHOWMINIMIZED);
  EXPECT_TRUE(testsupport::AskedQuestions().empty());
}

TEST_F(ExtrasHelpTest, ProgramNeedingTheFileAsksToSaveFirst) {
  AddProgram("tool.exe", "%1", "0");
  // An untitled document: Cancel ends before anything starts, No starts without a file.
  ExpectBox("Programm ausf\xFChren", "Unbenannt1", MB_ICONQUESTION, IDCANCEL);
  RunProgram(0);
  EXPECT_TRUE(started.empty());
  ExpectBox("Programm ausf\xFChren", "Werkzeug", MB_ICONQUESTION, IDNO);
  RunProgram(0);
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(started[0].ShowCmd, SW_SHOWNORMAL);

  // A modified file: Yes saves it before the start.
  OpenNamed("m.txt", true);
  ExpectBox("Programm ausf\xFChren", folder.File("m.txt"), MB_ICONQUESTION, IDYES);
  RunProgram(0);
  EXPECT_EQ(folder.Read("m.txt"), "edited");
  ASSERT_EQ(started.size(), 2u);
  EXPECT_EQ(started[1].Parameters, folder.File("m.txt"));

  // With saving on execution the file is saved without a question.
  Settings.General.SaveFileOnExec = true;
  GetActiveEditor()->SetText("again");
  GetActiveFrame()->DocInfo.Modified = true;
  RunProgram(0);
  EXPECT_EQ(folder.Read("m.txt"), "again");
  EXPECT_EQ(started.size(), 3u);
}

TEST_F(ExtrasHelpTest, FailedStartsReportTheirOwnBoxes) {
  shellWorks = false;
  AddProgram("tool.exe", "", "0");
  OpenNamed("f.txt", false);
  ExpectBox("Programm ausf\xFChren", "\"Werkzeug\" konnte nicht gestartet", MB_ICONERROR, IDOK);
  RunProgram(0);
  ExpectBox("Datei mit Standardprogramm \xF6" "ffnen", folder.File("f.txt"), MB_ICONERROR, IDOK);
  Click("mnuExtrasDefApp");
  ExpectBox("Enthaltenden Ordner \xF6" "ffnen", ExcludeTrailingBackslash(folder.Path()),
            MB_ICONERROR, IDOK);
  Click("mnuExtrasOpenFolder");
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);
}

TEST_F(ExtrasHelpTest, DefaultProgramAndFolderGetTheFile) {
  OpenNamed("d.txt", true);
  ExpectBox("Datei mit Standardprogramm \xF6" "ffnen", folder.File("d.txt"), MB_ICONQUESTION,
            IDCANCEL);
  Click("mnuExtrasDefApp");
  EXPECT_TRUE(started.empty()) << "the save questions apply always";
  GetActiveFrame()->DocInfo.Modified = false;
  Click("mnuExtrasDefApp");
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(started[0].File, folder.File("d.txt"));
  EXPECT_EQ(started[0].ShowCmd, SW_SHOWMAXIMIZED);
  Click("mnuExtrasOpenFolder");
  ASSERT_EQ(started.size(), 2u);
  EXPECT_EQ(started[1].File, "explorer.exe");
  EXPECT_EQ(started[1].Parameters, "/select,\"" + folder.File("d.txt") + "\"");
}

TEST_F(ExtrasHelpTest, HelpNeedsItsFileBesideTheProgram) {
  char module[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, module, MAX_PATH);
  const std::string helpFile = ChangeFileExt(module, ".chm");
  DeleteFileA(helpFile.c_str());
  testsupport::QueueAnswer(ModalAnswer{IDOK}, [](const ModalQuestion& q) {
    EXPECT_EQ(q.caption, "Hilfedatei nicht gefunden");
    EXPECT_EQ(q.flags & MB_ICONMASK, 0u) << "no icon";
    EXPECT_EQ(q.flags & MB_TYPEMASK, static_cast<UINT>(MB_OK));
  });
  Click("mnuHelpHelp");
  EXPECT_TRUE(started.empty()) << "no empty viewer for a missing file";

  HANDLE file = CreateFileA(helpFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  Click("mnuHelpHelp");
  DeleteFileA(helpFile.c_str());
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(started[0].File, "hh.exe");
  EXPECT_EQ(started[0].Parameters, helpFile);
}

TEST_F(ExtrasHelpTest, RealProgramStartsWithItsArgumentsAndAMissingOneIsReported) {
  SetShellRunOverride(nullptr);
  const std::string log = folder.File("args.log");
  AddProgram("cmd.exe", "/c echo %1N %1E>\"" + log + "\"", "2");
  AddProgram(folder.File("missing\\none.exe"), "", "0");
  OpenNamed("run.me.txt", false);
  RunProgram(0);
  std::string logged;
  for (int i = 0; i < 100 && logged.find("\n") == std::string::npos; ++i) {
    Sleep(100);
    logged = FileExists(log) ? folder.Read("args.log") : "";
  }
  EXPECT_EQ(logged, "run.me.txt txt\r\n");
  ExpectBox("Programm ausf\xFChren", "\"Werkzeug\" konnte nicht gestartet", MB_ICONERROR, IDOK);
  RunProgram(1);
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);
}

TEST_F(ExtrasHelpTest, MakerPageAndMailGoToTheShellAndReportFailures) {
  EXPECT_FALSE(Item("mnuHelpDonate")->Visible()) << "no donation page";
  Click("mnuHelpWebsite");
  Click("mnuHelpEMail");
  ASSERT_EQ(started.size(), 2u);
  EXPECT_EQ(started[0].File, MakerHomePage);
  EXPECT_EQ(started[1].File.rfind("mailto:", 0), 0u);
  EXPECT_NE(started[1].File.find("?subject="), std::string::npos);
  EXPECT_EQ(started[1].File.find(' '), std::string::npos) << "blanks are encoded";
  EXPECT_EQ(MakerMailTarget("a@b.de", "Tarvoline 1.0"), "mailto:a%40b%2Ede?subject=Tarvoline%201%2E0");

  shellWorks = false;
  ExpectBox("Kein Standard-Webbrowser gefunden", "Webbrowser", 0, IDOK);
  Click("mnuHelpWebsite");
  ExpectBox("Kein Standard-Mailclient gefunden", "Mailclient", 0, IDOK);
  Click("mnuHelpEMail");
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);
}

TEST_F(ExtrasHelpTest, AboutBoxIsShownModally) {
  testsupport::QueueFormAnswer([](TForm& Form) {
    EXPECT_NE(dynamic_cast<TfrmInfo*>(&Form), nullptr);
    return static_cast<int>(mrOk);
  });
  Click("mnuHelpInfo");
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);
}

TEST_F(ExtrasHelpTest, OptionsOkKeepsHighlightersAndSavesTheTemplatesEvenWithoutDocuments) {
  Settings.SettingsDir = folder.Path();
  Settings.Editor.BackgroundColor = RGB(1, 2, 3);
  frmMain->Find<TMenuItem>("mnuViewSyntaxHTML")->Click();
  OpenFile("");
  TCodeEdit* plain = GetActiveEditor();
  auto ok = [](TForm&) { return static_cast<int>(mrOk); };
  testsupport::QueueFormAnswer(ok);
  Click("mnuExtrasSettings");
  EXPECT_EQ(edit->Highlighter(), frmMain->HlHTML) << "the document keeps its highlighter";
  EXPECT_EQ(edit->Color(), clWhite);
  EXPECT_EQ(plain->Color(), static_cast<TColor>(RGB(1, 2, 3)));
  EXPECT_TRUE(FileExists(folder.File("Templates.dat")));

  DeleteFileA(folder.File("Templates.dat").c_str());
  testsupport::QueueFormAnswer([](TForm&) { return static_cast<int>(mrCancel); });
  Click("mnuExtrasSettings");
  EXPECT_FALSE(FileExists(folder.File("Templates.dat"))) << "Cancel writes nothing";

  CloseAllDocuments(false);
  ASSERT_EQ(GetActiveFrame(), nullptr);
  testsupport::QueueFormAnswer(ok);
  Click("mnuExtrasSettings");
  EXPECT_TRUE(FileExists(folder.File("Templates.dat")));
}

TEST_F(ExtrasHelpTest, UnwritableTemplateStoreIsReported) {
  Settings.SettingsDir = folder.Path();
  CreateDirectoryA(folder.File("Templates.dat").c_str(), nullptr);  // a folder in its place
  testsupport::QueueFormAnswer([](TForm&) { return static_cast<int>(mrOk); });
  ExpectBox("Datei speichern", "Templates.dat", MB_ICONERROR, IDOK);
  Click("mnuExtrasSettings");
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);
  RemoveDirectoryA(folder.File("Templates.dat").c_str());
}
