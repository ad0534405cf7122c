#include "dialogs/ShellIntegration.h"
#include <windows.h>
#include <shlobj.h>
#include "foundation/fMain.h"
#include "rtl/SysUtils.h"

const char* const ShellLinkFileName = "Tarvoline.lnk";

namespace {
const char* const kExplorerKey = "CU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";

bool DeleteKeyTree(const std::string& Path) {
  size_t first = Path.find('\\');
  HKEY root = RegRootKey(Path.substr(0, first));
  if (!root || first == std::string::npos) return false;
  LONG rc = RegDeleteTreeA(root, Path.substr(first + 1).c_str());
  return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

bool KeyExists(const std::string& Path) {
  size_t first = Path.find('\\');
  HKEY root = RegRootKey(Path.substr(0, first));
  HKEY key = nullptr;
  if (!root || RegOpenKeyExA(root, Path.substr(first + 1).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

TShellEnvironment RealEnvironment() {
  TShellEnvironment env;
  env.ProgramPath = ProgramFile();
  env.SpecialFolder = [](int Csidl) { return GetSpecialFolderPath(Csidl); };
  env.ReadString = [](const std::string& Key, const std::string& Name) {
    return RegReadValue(Key, Name, "");
  };
  env.WriteString = [](const std::string& Key, const std::string& Name, const std::string& Value) {
    return RegWriteValue(Key, Name, Value, "S") == "1";
  };
  env.DeleteValue = [](const std::string& Key, const std::string& Name) {
    if (RegDeleteValuePath(Key, Name)) return true;
    return RegReadValue(Key, Name, "\x01") == "\x01";  // already gone
  };
  env.DeleteKey = [](const std::string& Key) {
    return !KeyExists(Key) || DeleteKeyTree(Key);
  };
  return env;
}

std::string FolderValue(const std::string& Key, const char* Name) {
  return ExpandEnvVars(ShellEnvironment().ReadString(kExplorerKey + Key, Name), true);
}
}  // namespace

TShellEnvironment& ShellEnvironment() {
  static TShellEnvironment env = RealEnvironment();
  return env;
}

void ResetShellEnvironment() { ShellEnvironment() = RealEnvironment(); }

const std::vector<std::string>& AssociableExtensions() {
  static const std::vector<std::string> list = {
      ".cfg", ".css", ".dat", ".dof", ".dsk", ".htaccess", ".inc", ".ini",
      ".log", ".lst", ".manifest", ".nfo", ".php", ".rc", ".txt"};
  return list;
}

std::string ShellOpenCommand() { return "\"" + ShellEnvironment().ProgramPath + "\" \"%1\""; }

std::string ProgramFileName() { return ExtractFileName(ShellEnvironment().ProgramPath); }

std::string ContextCommandKey(bool LocalMachine) {
  return std::string(LocalMachine ? "LM" : "CU") + "\\Software\\Classes\\*\\shell\\Tarvoline\\Command";
}

std::string FileExtsKey(const std::string& Extension) {
  return std::string(kExplorerKey) + "FileExts\\" + Extension;
}

std::string ApplicationKey() { return "CU\\Software\\Classes\\Applications\\" + ProgramFileName(); }

std::string ShellFolder(bool SendTo) {
  const char* name = SendTo ? "SendTo" : "Programs";
  std::string folder = ShellEnvironment().SpecialFolder(SendTo ? CSIDL_SENDTO : CSIDL_PROGRAMS);
  if (folder.empty()) folder = FolderValue("User Shell Folders", name);
  if (folder.empty()) folder = FolderValue("Shell Folders", name);
  return folder.empty() ? folder : AddBackslash(folder);
}

TIntegrationState ReadIntegrationState() {
  TShellEnvironment& env = ShellEnvironment();
  TIntegrationState s;
  s.Context = !env.ReadString(ContextCommandKey(true), "").empty();
  s.UserContext = !env.ReadString(ContextCommandKey(false), "").empty();
  std::string sendTo = ShellFolder(true), programs = ShellFolder(false);
  s.SendToKnown = !sendTo.empty();
  s.StartMenuKnown = !programs.empty();
  s.SendTo = s.SendToKnown && FileExists(sendTo + ShellLinkFileName);
  s.StartMenu = s.StartMenuKnown && FileExists(programs + ShellLinkFileName);
  return s;
}

namespace {
void ApplyContext(bool LocalMachine, bool Ticked) {
  TShellEnvironment& env = ShellEnvironment();
  std::string key = ContextCommandKey(LocalMachine);
  if (Ticked) {
    env.WriteString(key, "", ShellOpenCommand());
    return;
  }
  env.DeleteKey(key);
  env.DeleteKey(key.substr(0, key.rfind('\\')));
}

void ApplyLink(bool SendTo, bool Ticked) {
  std::string folder = ShellFolder(SendTo);
  if (folder.empty()) return;
  std::string link = folder + ShellLinkFileName;
  bool exists = FileExists(link);
  const std::string& program = ShellEnvironment().ProgramPath;
  if (Ticked && !exists)
    CreateShellLink(link, program, "", ExtractFilePath(program),
                    GetFileVersionValue(program, "Description"), SW_SHOWNORMAL, program, 0);
  else if (!Ticked && exists)
    DeleteFileA(link.c_str());
}
}  // namespace

void ApplyIntegration(const TIntegrationState& State) {
  ApplyContext(false, State.UserContext);
  ApplyContext(true, State.Context);
  ApplyLink(true, State.SendTo);
  ApplyLink(false, State.StartMenu);
}

bool IsAssociated(const std::string& Extension) {
  return AnsiSameText(ShellEnvironment().ReadString(FileExtsKey(Extension), "Application"),
                  ProgramFileName());
}

bool AssignAssociations(const std::vector<bool>& Ticked) {
  TShellEnvironment& env = ShellEnvironment();
  const auto& extensions = AssociableExtensions();
  int tickedCount = 0;
  for (size_t i = 0; i < extensions.size() && i < Ticked.size(); ++i) tickedCount += Ticked[i];
  // The program's own open command exists exactly while it has an extension.
  bool ok = tickedCount < 1
                ? env.DeleteKey(ApplicationKey())
                : env.WriteString(ApplicationKey() + "\\shell\\open\\command", "", ShellOpenCommand());
  for (size_t i = 0; i < extensions.size() && i < Ticked.size(); ++i) {
    std::string key = FileExtsKey(extensions[i]);
    bool mine = IsAssociated(extensions[i]);
    if (Ticked[i] && !mine)
      ok = env.WriteString(key, "Application", ProgramFileName()) && ok;
    else if (!Ticked[i] && mine)
      ok = env.DeleteValue(key, "Application") && ok;
  }
  return ok;
}
