#include <shlobj.h>
#include "SettingsTestFixture.h"
#include "dialogs/formSettings.h"
#include "foundation/fMain.h"
#include "toolkit/CheckListBox.h"
#include "toolkit/ComScope.h"

namespace {
using testsupport::QueueAnswer;

class ShellIntegrationTest : public SettingsSandbox {
protected:
  ShellIntegrationTest() { Clean(); }
  ~ShellIntegrationTest() override { Clean(); }
  void Clean() {
    ShellEnvironment().DeleteKey(ApplicationKey());
    for (const auto& ext : AssociableExtensions()) ShellEnvironment().DeleteValue(FileExtsKey(ext), "Application");
    for (bool lm : {false, true}) {
      std::string key = ContextCommandKey(lm);
      ShellEnvironment().DeleteKey(key.substr(0, key.rfind('\\')));
    }
  }
  std::string Command() const { return "\"" + ShellEnvironment().ProgramPath + "\" \"%1\""; }
  static std::string LinkTarget(const std::string& Link, std::string* Arguments = nullptr,
                                std::string* WorkingDir = nullptr) {
    TComScope com;
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
      return "";
    IPersistFile* file = nullptr;
    char path[MAX_PATH] = {}, args[MAX_PATH] = {}, work[MAX_PATH] = {};
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      std::wstring wide(Link.begin(), Link.end());
      if (SUCCEEDED(file->Load(wide.c_str(), STGM_READ))) {
        link->GetPath(path, MAX_PATH, nullptr, 0);
        link->GetArguments(args, MAX_PATH);
        link->GetWorkingDirectory(work, MAX_PATH);
      }
      file->Release();
    }
    link->Release();
    if (Arguments) *Arguments = args;
    if (WorkingDir) *WorkingDir = work;
    return path;
  }
};
}  // namespace

TEST_F(ShellIntegrationTest, ContextEntriesAreWrittenAndRemovedWithTheirParent) {
  ApplyIntegration({.UserContext = true, .Context = true});
  for (bool lm : {false, true}) EXPECT_EQ(RegReadValue(ContextCommandKey(lm), "", ""), Command()) << lm;
  TIntegrationState read = ReadIntegrationState();
  EXPECT_TRUE(read.UserContext && read.Context);
  EXPECT_FALSE(read.SendTo || read.StartMenu);

  ApplyIntegration({.UserContext = false, .Context = true});
  EXPECT_EQ(RegReadValue(ContextCommandKey(false), "", "gone"), "gone");
  EXPECT_EQ(RegReadValue("CU\\Software\\Classes\\*\\shell\\Tarvoline", "", "gone"), "gone");
  HKEY key = nullptr;
  EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Classes\\*\\shell\\Tarvoline", 0, KEY_READ, &key),
            ERROR_SUCCESS);
  ApplyIntegration({});
  ApplyIntegration({});  // nothing left to remove is no fault
  EXPECT_FALSE(ReadIntegrationState().Context);
}

TEST_F(ShellIntegrationTest, RefusedLocalMachineWritesStaySilent) {
  auto write = ShellEnvironment().WriteString;
  ShellEnvironment().WriteString = [write](const std::string& Key, const std::string& Name,
                                           const std::string& Value) {
    return Key.rfind("LM\\", 0) != 0 && write(Key, Name, Value);
  };
  TfrmSettings form(nullptr);
  form.Ctl<TCheckBox>("chkIntegrateContext")->SetChecked(true);
  form.Ctl<TCheckBox>("chkIntegrateUserContext")->SetChecked(true);
  EXPECT_TRUE(form.btnOkClick());  // no message box was asked
  EXPECT_EQ(RegReadValue(ContextCommandKey(true), "", ""), "");
  EXPECT_EQ(RegReadValue(ContextCommandKey(false), "", ""), Command());
}

TEST_F(ShellIntegrationTest, AssociationsTakeTicksOverAndLeaveForeignValues) {
  auto& env = ShellEnvironment();
  env.WriteString(FileExtsKey(".txt"), "Application", "other.exe");
  env.WriteString(FileExtsKey(".cfg"), "Application", "other.exe");
  std::string upper = ProgramName();
  for (auto& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  env.WriteString(FileExtsKey(".ini"), "Application", upper);  // ours, in other case
  TfrmSettings form(nullptr);
  auto& list = *form.lstAssociate;
  EXPECT_TRUE(list.Checked(7));   // .ini
  EXPECT_FALSE(list.Checked(14));  // .txt
  list.SetChecked(14, true);
  list.SetChecked(8, true);  // .log
  list.SetChecked(7, false);
  QueueAnswer(ModalAnswer{.result = IDOK}, [](const ModalQuestion& q) {
    EXPECT_EQ(q.caption, "Dateiendungen zuweisen");
    EXPECT_EQ(q.text, "Die Dateiendungen wurden erfolgreich zugewiesen.");
  });
  form.btnAssociateClick();
  EXPECT_EQ(RegReadValue(FileExtsKey(".txt"), "Application", ""), ProgramName());
  EXPECT_EQ(RegReadValue(FileExtsKey(".log"), "Application", ""), ProgramName());
  EXPECT_EQ(RegReadValue(FileExtsKey(".ini"), "Application", "gone"), "gone");
  EXPECT_EQ(RegReadValue(FileExtsKey(".cfg"), "Application", ""), "other.exe");
  EXPECT_EQ(RegReadValue(ApplicationKey() + "\\shell\\open\\command", "", ""), Command());

  // Every tick gone: the program's own key goes with its sub-keys; one failure gives one error.
  for (int i = 0; i < list.Count(); ++i) list.SetChecked(i, false);
  QueueAnswer(IDOK);
  form.btnAssociateClick();
  EXPECT_EQ(RegReadValue(ApplicationKey() + "\\shell\\open\\command", "", "gone"), "gone");
  EXPECT_EQ(RegReadValue(FileExtsKey(".txt"), "Application", "gone"), "gone");
  env.WriteString = [](const std::string&, const std::string&, const std::string&) { return false; };
  list.SetChecked(0, true);
  list.SetChecked(1, true);
  QueueAnswer(ModalAnswer{.result = IDOK}, [](const ModalQuestion& q) {
    EXPECT_EQ(q.text, "Beim Zuweisen von Dateiendungen ist ein Fehler aufgetreten.");
    EXPECT_TRUE(q.flags & MB_ICONERROR);
  });
  form.btnAssociateClick();
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);
}

TEST_F(ShellIntegrationTest, LinksAreMadeOnceAndRemoved) {
  std::string link = dir.File("sendto\\Tarvoline.lnk");
  std::string program = ShellEnvironment().ProgramPath;
  ApplyIntegration({.SendTo = true, .StartMenu = true});
  std::string args, work;
  EXPECT_TRUE(SameText(LinkTarget(link, &args, &work), program)) << LinkTarget(link);
  EXPECT_EQ(args, "");
  EXPECT_TRUE(SameText(AddBackslash(work), ExtractFilePath(program)));
  EXPECT_TRUE(FileExists(dir.File("programs\\Tarvoline.lnk")));
  TIntegrationState read = ReadIntegrationState();
  EXPECT_TRUE(read.SendTo && read.StartMenu);

  // A moved program leaves an existing link alone.
  ShellEnvironment().ProgramPath = dir.File("moved.exe");
  ApplyIntegration({.SendTo = true, .StartMenu = false});
  EXPECT_TRUE(SameText(LinkTarget(link), program));
  EXPECT_FALSE(FileExists(dir.File("programs\\Tarvoline.lnk")));
  ApplyIntegration({});
  EXPECT_FALSE(FileExists(link));
}

TEST_F(ShellIntegrationTest, ShellFoldersFallBackToTheRegistry) {
  auto& env = ShellEnvironment();
  env.SpecialFolder = [](int) { return std::string(); };
  std::string user, plain;
  env.ReadString = [&](const std::string& Key, const std::string& Name) -> std::string {
    if (Key.find("User Shell Folders") != std::string::npos) return Name == "SendTo" ? user : "";
    if (Key.find("Shell Folders") != std::string::npos) return Name == "SendTo" ? plain : "";
    return "";
  };
  SetEnvironmentVariableA("TV_SENDTO", dir.File("sendto").c_str());
  user = "%TV_SENDTO%";
  plain = "C:\\elsewhere";
  EXPECT_EQ(ShellFolder(true), dir.File("sendto\\"));
  user = "";
  EXPECT_EQ(ShellFolder(true), "C:\\elsewhere\\");
  plain = "";
  EXPECT_EQ(ShellFolder(true), "");
  TIntegrationState read = ReadIntegrationState();
  EXPECT_FALSE(read.SendToKnown || read.StartMenuKnown);
  ApplyIntegration({.SendTo = true});  // nowhere to put it: nothing happens
  TfrmSettings form(nullptr);
  EXPECT_FALSE(form.Ctl<TCheckBox>("chkIntegrateSendTo")->Visible());
}
