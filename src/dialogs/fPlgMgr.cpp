// The plug-in manager: scanning, loading, sorting and unloading of the plug-in libraries.
#include "dialogs/fPlgMgr.h"
#include <algorithm>
#include "dialogs/FolderIdentity.h"
#include "dialogs/fPlgMgrApp.h"
#include "documents/fHlpMain.h"
#include "foundation/FolderEntries.h"
#include "rtl/SysUtils.h"

std::unique_ptr<TPluginManager> PluginManager;

namespace {

template <class T>
T Resolve(HMODULE Library, const char* Name) {
  return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(Library, Name)));
}

std::string LowerName(const TPluginRecord& Record) { return AnsiLowerCase(Record.Infos.Name); }

}  // namespace

TPluginManager::~TPluginManager() { UnloadAll(); }

TPluginRecord TPluginManager::GetPlugin(int Index) const {
  if (Index < 0 || Index >= Count()) return {};
  return records_[Index];
}

void TPluginManager::Add(const TPluginRecord& Record) { records_.push_back(Record); }

void TPluginManager::Exchange(int A, int B) {
  if (A < 0 || B < 0 || A >= Count() || B >= Count()) return;
  std::swap(records_[A], records_[B]);
}

void TPluginManager::SortBy(const std::string& Fields) {
  if (Count() < 2) return;
  std::vector<std::string> fields;
  std::string rest = UpperCase(Fields.empty() ? "NAME" : Fields);
  for (size_t start = 0; fields.size() < 4;) {
    size_t bar = rest.find('|', start);
    fields.push_back(rest.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  auto compare = [&fields](const TPluginRecord& A, const TPluginRecord& B) {
    for (const std::string& field : fields) {
      if (field != "NAME") continue;
      int result = LowerName(A).compare(LowerName(B));
      if (result != 0) return result;
    }
    return 0;
  };
  // Bubble passes keep records of equal names in their order.
  for (bool exchanged = true; exchanged;) {
    exchanged = false;
    for (int i = 0; i + 1 < Count(); ++i)
      if (compare(records_[i], records_[i + 1]) > 0) {
        Exchange(i, i + 1);
        exchanged = true;
      }
  }
}

void TPluginManager::ScanDir(const std::string& SubDir, const TStrings& Allowed) {
  if (!DirectoryExists(Settings.PluginsDir)) return;
  std::vector<std::string> path;
  ScanFolder(SubDir, Allowed, path);
  SortBy("NAME");
}

void TPluginManager::ScanFolder(const std::string& SubDir, const TStrings& Allowed,
                                std::vector<std::string>& Path) {
  const std::string folder = Settings.PluginsDir + SubDir;
  std::string identity = FolderIdentity(folder);
  if (std::find(Path.begin(), Path.end(), identity) != Path.end()) return;  // a link loop
  Path.push_back(identity);
  ForEachEntry(folder, "*", [&](const std::string& Name, bool IsDir) {
    if (IsDir)
      ScanFolder(SubDir + Name + "\\", Allowed, Path);
    else if (SameText(ExtractFileExt(Name), ".plg"))
      LoadPlugin(SubDir + Name, Allowed);
  });
  Path.pop_back();
}

void TPluginManager::Drop(TPluginRecord& Record, bool Initialized) {
  if (Initialized && Record.Finalize) {
    TPlgProc finalize = Record.Finalize;
    CallPlugin(Record.FileName, "TVP_Finalize", [&] { finalize(); });
  }
  if (Record.LibHandle) {
    HMODULE library = Record.LibHandle;
    CallPlugin(Record.FileName, "FreeLibrary", [&] { FreeLibrary(library); });
  }
  if (Record.App) ReleaseApp(Record.App);
  TPluginRecord empty;
  empty.FileName = Record.FileName;
  Record = empty;
}

bool TPluginManager::LoadPlugin(const std::string& FileName, const TStrings& Allowed) {
  TPluginRecord record;
  record.FileName = FileName;
  struct AppendOnExit {
    TPluginManager* manager;
    TPluginRecord& record;
    ~AppendOnExit() { manager->Add(record); }
  } append{this, record};

  bool allowed = false;
  for (int i = 0; i < Allowed.Count() && !allowed; ++i) allowed = SameText(Allowed[i], FileName);
  if (!allowed) return false;

  const std::string path = Settings.PluginsDir + FileName;
  HMODULE library = nullptr;
  if (!CallPlugin(FileName, "LoadLibrary", [&] { library = LoadLibraryA(path.c_str()); })) return false;
  if (!library) {
    ReportPluginFault(FileName, "LoadLibrary");
    return false;
  }
  record.LibHandle = library;
  record.Initialize = Resolve<TPlgInitialize>(library, "TVP_Initialize");
  record.Finalize = Resolve<TPlgProc>(library, "TVP_Finalize");
  if (!record.Initialize) {
    ReportPluginFault(FileName, "TVP_Initialize");
    Drop(record, false);
    return false;
  }
  record.App = CreateApp();
  int32_t refused = 1;
  TPlgInitialize initialize = record.Initialize;
  IApp* app = record.App;
  if (!CallPlugin(FileName, "TVP_Initialize", [&] { refused = initialize(app); }) || refused != 0) {
    Drop(record, false);  // a refusal stays silent
    return false;
  }

  record.GetInfo = Resolve<TPlgGetInfo>(library, "TVP_GetInfo");
  if (!record.GetInfo) {
    ReportPluginFault(FileName, "TVP_GetInfo");
    Drop(record, true);
    return false;
  }
  std::string* targets[] = {&record.Infos.Name, &record.Infos.Version, &record.Infos.MenuCaption,
                            &record.Infos.SubMenuCaptions};
  TPlgGetInfo getInfo = record.GetInfo;
  for (int32_t index = 1; index <= 4; ++index) {
    BSTR value = nullptr;
    int32_t delivered = 0;
    if (!CallPlugin(FileName, "TVP_GetInfo", [&] { delivered = getInfo(index, &value); })) {
      // What a faulted call left in the slot cannot be trusted, not even to free.
      Drop(record, true);
      return false;
    }
    if (delivered != 0) *targets[index - 1] = FromBstr(value);
    SysFreeString(value);
  }

  record.Configure = Resolve<TPlgProc>(library, "TVP_Configure");
  record.MenuItem = Resolve<TPlgMenuItem>(library, "TVP_MenuItem");
  if (record.MenuItem) {
    record.GetMenuItemHandlers =
        Resolve<TPlgGetMenuItemHandlers>(library, "TVP_GetMenuItemHandlers");
    if (TPlgGetMenuItemHandlers handlers = record.GetMenuItemHandlers) {
      int32_t bits = 0;
      if (!CallPlugin(FileName, "TVP_GetMenuItemHandlers", [&] { bits = handlers(); })) {
        Drop(record, true);
        return false;
      }
      record.Infos.ShowWithDocs = (bits & 1) != 0;
      record.Infos.ShowWithoutDocs = (bits & 2) != 0;
    }
  }
  record.AppStarted = Resolve<TPlgProc>(library, "TVP_AppStarted");
  record.MenuClicked = Resolve<TPlgMenuClicked>(library, "TVP_MenuClicked");
  record.MenuChanged = Resolve<TPlgMenuChanged>(library, "TVP_MenuChanged");
  record.ReadFile = Resolve<TPlgReadFile>(library, "TVP_ReadFile");
  record.WriteFile = Resolve<TPlgWriteFile>(library, "TVP_WriteFile");
  return true;
}

void TPluginManager::UnloadAll() {
  for (TPluginRecord& record : records_) {
    if (!record.LibHandle) continue;
    Drop(record, true);
  }
  records_.clear();
  menuItems_.clear();
}

std::string FromBstr(BSTR Value) {
  if (!Value) return std::string();
  return WideToAnsi(std::wstring(Value, SysStringLen(Value)));
}

BSTR ToBstr(const std::string& Value) {
  int length = static_cast<int>(Value.size());
  int size = length ? MultiByteToWideChar(CP_ACP, 0, Value.data(), length, nullptr, 0) : 0;
  BSTR text = SysAllocStringLen(nullptr, size);
  if (text && size) MultiByteToWideChar(CP_ACP, 0, Value.data(), length, text, size);
  return text;
}
