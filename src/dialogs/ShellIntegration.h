// Ties the program into the shell: context-menu entries, the Send To and Programs links and
// the file-extension associations, read and written through a replaceable registry.
#pragma once
#include <functional>
#include <string>
#include <vector>

// Where the integration reads and writes; tests replace parts of it.
struct TShellEnvironment {
  std::string ProgramPath;  // the running program file
  std::function<std::string(int Csidl)> SpecialFolder;
  std::function<std::string(const std::string& Key, const std::string& Name)> ReadString;
  std::function<bool(const std::string& Key, const std::string& Name, const std::string& Value)>
      WriteString;
  // A missing value or key counts as deleted.
  std::function<bool(const std::string& Key, const std::string& Name)> DeleteValue;
  // Deletes the key and everything below it.
  std::function<bool(const std::string& Key)> DeleteKey;
};
// The program's own environment (the real registry and shell); never null.
TShellEnvironment& ShellEnvironment();
void ResetShellEnvironment();

extern const char* const ShellLinkFileName;
// The extensions the association list offers, in order.
const std::vector<std::string>& AssociableExtensions();

// "<program path>" "%1"
std::string ShellOpenCommand();
std::string ProgramFileName();
std::string ContextCommandKey(bool LocalMachine);
std::string FileExtsKey(const std::string& Extension);
std::string ApplicationKey();
// The Send To or Programs folder with a trailing backslash: the shell's answer, else the
// "User Shell Folders" value expanded, else the "Shell Folders" value; empty when all are.
std::string ShellFolder(bool SendTo);

struct TIntegrationState {
  bool UserContext = false;
  bool Context = false;
  bool SendTo = false;
  bool StartMenu = false;
  bool SendToKnown = false;     // the folder was found
  bool StartMenuKnown = false;
};
TIntegrationState ReadIntegrationState();
// Writes or removes the entries and links; failures are silent and an existing link stays.
void ApplyIntegration(const TIntegrationState& State);

// Whether the extension's "Application" value names this program (case ignored).
bool IsAssociated(const std::string& Extension);
// Assigns or releases each extension as ticked (one flag per AssociableExtensions item);
// false when any step failed (the others still ran).
bool AssignAssociations(const std::vector<bool>& Ticked);
