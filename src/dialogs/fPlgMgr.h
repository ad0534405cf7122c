// Finds, loads and calls the plug-in libraries below the program's "Plugins" folder.
#pragma once
#include <windows.h>
#include <oleauto.h>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <type_traits>
#include <vector>
#include "rtl/StringList.h"

class TMenuItem;
struct IApp;

// The exports of a plug-in library; every one is stdcall. Wide strings are BSTRs; an output
// slot is released by whoever writes it first and owned by its receiver afterwards.
using TPlgInitialize = int32_t(__stdcall*)(IApp* App);
using TPlgProc = void(__stdcall*)();
using TPlgGetInfo = int32_t(__stdcall*)(int32_t Index, BSTR* Value);
using TPlgMenuItem = int32_t(__stdcall*)(int32_t SubItem);
using TPlgGetMenuItemHandlers = int32_t(__stdcall*)();
using TPlgMenuClicked = int32_t(__stdcall*)(int32_t Position, int32_t Tag, HMENU Menu,
                                            TMenuItem* Item);
using TPlgMenuChanged = void(__stdcall*)(int32_t SubItem, int32_t PluginIndex, HMENU Menu,
                                         TMenuItem* Item);
using TPlgReadFile = int32_t(__stdcall*)(BSTR FileName, BSTR* Text, int32_t* LineBreakFormat,
                                         int32_t* FileFormat);
using TPlgWriteFile = int32_t(__stdcall*)(BSTR FileName, BSTR* Text, int32_t* LineBreakFormat,
                                          int32_t* FileFormat);

struct TInfos {
  std::string Name;
  std::string Version;
  std::string MenuCaption;
  std::string SubMenuCaptions;  // separated by CR LF
  bool ShowWithDocs = false;
  bool ShowWithoutDocs = false;
};

// Entry points are set only while LibHandle holds their library.
struct TPluginRecord {
  std::string FileName;  // relative to the plug-ins folder: "Sub\Name.plg"
  HMODULE LibHandle = nullptr;
  TInfos Infos;
  TPlgInitialize Initialize = nullptr;
  TPlgProc Finalize = nullptr;
  TPlgGetInfo GetInfo = nullptr;
  TPlgProc Configure = nullptr;
  TPlgMenuItem MenuItem = nullptr;
  TPlgMenuClicked MenuClicked = nullptr;
  TPlgMenuChanged MenuChanged = nullptr;
  TPlgGetMenuItemHandlers GetMenuItemHandlers = nullptr;
  TPlgProc AppStarted = nullptr;
  TPlgReadFile ReadFile = nullptr;
  TPlgWriteFile WriteFile = nullptr;
  IApp* App = nullptr;  // the program's own reference, released after the library is freed
};

class TPluginManager {
public:
  TPluginManager() = default;
  // Unloads every plug-in.
  ~TPluginManager();
  TPluginManager(const TPluginManager&) = delete;
  TPluginManager& operator=(const TPluginManager&) = delete;

  int Count() const { return static_cast<int>(records_.size()); }
  // A copy of record Index; an empty record out of range.
  TPluginRecord GetPlugin(int Index) const;
  void Add(const TPluginRecord& Record);
  void Exchange(int A, int B);
  // Fields: up to four "|"-separated names, only "NAME" known; empty means "NAME". Stable.
  void SortBy(const std::string& Fields);
  // Loads the plug-ins of plug-ins folder + SubDir and its sub-folders, then sorts by name.
  void ScanDir(const std::string& SubDir, const TStrings& Allowed);
  // Appends the record of one library; true only when it was loaded completely.
  bool LoadPlugin(const std::string& FileName, const TStrings& Allowed);
  void UnloadAll();

  // Menu items the program handed to plug-ins; only they are accepted back.
  void RegisterMenuItem(TMenuItem* Item) { menuItems_.insert(Item); }
  bool IsHandedOut(TMenuItem* Item) const { return Item && menuItems_.count(Item) != 0; }
  void ForgetMenuItems() { menuItems_.clear(); }

private:
  void ScanFolder(const std::string& SubDir, const TStrings& Allowed,
                  std::vector<std::string>& Path);
  void Drop(TPluginRecord& Record, bool Initialized);

  std::vector<TPluginRecord> records_;
  std::set<TMenuItem*> menuItems_;
};

extern std::unique_ptr<TPluginManager> PluginManager;

// Creates PluginManager, loads the allowed plug-ins and builds the Plugins menu. An allow list
// that cannot be read allows nothing and is kept from being written (StoreGuard).
void LoadPlugins();
// Clears the Plugins menu and frees PluginManager (every plug-in finalised and freed).
void FreePlugins();
// The plug-ins' read and write hooks for opening and saving, in plug-in index order.
void InstallPluginFileHooks();

// The calls from the main window; each skips plug-ins without the entry point.
void PluginsMenuOpened();
void PluginsMenuItemClicked(TMenuItem* Item);
void PluginsAppStarted();
// "TVP_Configure" of plug-in Index; false when it has none.
bool ConfigurePlugin(int Index);

// Runs Call with C++ and structured exceptions caught; the exception code (or 0xE06D7363 for
// a C++ exception) in Code when it failed. Every call into plug-in code goes through here.
bool CallGuarded(void (*Call)(void* Context), void* Context, DWORD& Code);

// Reports a plug-in's failure at one export once per run (through the modal seam).
void ReportPluginFault(const std::string& FileName, const std::string& Export);

// Runs Call through CallGuarded; a failure is reported naming the plug-in and the export.
template <class F>
bool CallPlugin(const std::string& FileName, const char* Export, F&& Call) {
  DWORD code = 0;
  auto trampoline = [](void* Context) { (*static_cast<std::remove_reference_t<F>*>(Context))(); };
  if (CallGuarded(trampoline, &Call, code)) return true;
  ReportPluginFault(FileName, Export);
  return false;
}

// Forgets the failures already reported (a new run of the manager).
void ResetPluginFaultReports();

// The wide and 8-bit forms of a BSTR through the ANSI code page.
std::string FromBstr(BSTR Value);
BSTR ToBstr(const std::string& Value);
