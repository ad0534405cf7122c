// Where the program calls into its plug-ins: start-up, the Plugins menu, reading and writing
// files, the settings button and shutdown.
#include "dialogs/fPlgMgr.h"
#include "documents/MainWindowParts.h"
#include "documents/StoreGuard.h"
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"
#include "documents/fLanguage.h"
#include "rtl/SysUtils.h"
#include "toolkit/Cursor.h"
#include "toolkit/Menus.h"
#include "toolkit/StatusBar.h"

namespace {

constexpr int WaitPanel = 3;

TMenuItem* PluginsMenu() { return frmMain ? frmMain->Find<TMenuItem>("mnuPlugins") : nullptr; }

// The item's own sub-menu, else the menu it lies in.
HMENU MenuHandleOf(const TMenuItem* Item) {
  if (Item->Handle()) return Item->Handle();
  return Item->Parent() ? Item->Parent()->Handle() : nullptr;
}

void ClickHandler(TObject* Sender) { PluginsMenuItemClicked(dynamic_cast<TMenuItem*>(Sender)); }

TMenuItem* AddPluginItem(TMenuItem* Parent, const std::string& Caption, int Tag, bool Clickable) {
  auto made = std::make_unique<TMenuItem>(nullptr);
  made->SetCaption(Caption);
  made->SetTag(Tag);
  if (Clickable) made->OnClick = ClickHandler;
  TMenuItem* item = Parent->Add(std::move(made));
  PluginManager->RegisterMenuItem(item);
  return item;
}

void TellMenuChanged(const TPluginRecord& Record, int SubItem, int Index, TMenuItem* Item) {
  if (!Record.MenuChanged) return;
  TPlgMenuChanged changed = Record.MenuChanged;
  HMENU menu = MenuHandleOf(Item);
  CallPlugin(Record.FileName, "TVP_MenuChanged", [&] { changed(SubItem, Index, menu, Item); });
}

std::vector<std::string> SplitCaptions(const std::string& Captions) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    size_t stop = Captions.find("\r\n", start);
    parts.push_back(Captions.substr(start, stop == std::string::npos ? std::string::npos : stop - start));
    if (stop == std::string::npos) return parts;
    start = stop + 2;
  }
}

void BuildPluginsMenu() {
  TMenuItem* menu = PluginsMenu();
  if (!menu) return;
  for (int index = 0; index < PluginManager->Count(); ++index) {
    TPluginRecord record = PluginManager->GetPlugin(index);
    if (!record.LibHandle || !record.MenuItem) continue;
    const bool withSubItems = !record.Infos.SubMenuCaptions.empty();
    TMenuItem* item = AddPluginItem(menu, record.Infos.MenuCaption, index, !withSubItems);
    TellMenuChanged(record, -1, index, item);
    if (!withSubItems) continue;
    std::vector<std::string> captions = SplitCaptions(record.Infos.SubMenuCaptions);
    for (int position = 0; position < static_cast<int>(captions.size()); ++position) {
      TMenuItem* sub = AddPluginItem(item, captions[position], position, true);
      TellMenuChanged(record, position, index, sub);
    }
  }
  menu->SetVisible(menu->Count() > 0);
}

bool ValidLineBreak(int32_t Value) { return Value >= lbfWindows && Value <= lbfNetscape; }
bool ValidFileFormat(int32_t Value) {
  return Value == ffAnsi || Value == ffUtf8 || Value == ffUtf16LE || Value == ffUtf16BE ||
         Value == ffBinary;
}

BSTR WideToBstr(const std::wstring& Text) {
  return Text.empty() ? nullptr : SysAllocStringLen(Text.data(), static_cast<UINT>(Text.size()));
}

std::wstring BstrToWide(BSTR Text) {
  return Text ? std::wstring(Text, SysStringLen(Text)) : std::wstring();
}

int ReadThroughPlugin(int Index, const std::wstring& FileName, std::wstring& Text,
                      int32_t& LineBreak, int32_t& FileFormat) {
  const TPluginRecord record = PluginManager ? PluginManager->GetPlugin(Index) : TPluginRecord();
  if (!record.LibHandle || !record.ReadFile) return 1;
  BSTR name = WideToBstr(FileName);
  BSTR text = WideToBstr(Text);
  LineBreak = lbfWindows;
  FileFormat = ffAnsi;
  int32_t answer = 1;
  TPlgReadFile read = record.ReadFile;
  bool ran = CallPlugin(record.FileName, "TVP_ReadFile",
                        [&] { answer = read(name, &text, &LineBreak, &FileFormat); });
  SysFreeString(name);
  if (!ran) {
    Text.clear();  // what a failed plug-in left in the slot cannot be trusted, not even to free
    return 1;
  }
  Text = BstrToWide(text);
  SysFreeString(text);
  if (answer == 0 && (!ValidLineBreak(LineBreak) || !ValidFileFormat(FileFormat))) {
    if (!ValidLineBreak(LineBreak)) LineBreak = lbfWindows;
    if (!ValidFileFormat(FileFormat)) FileFormat = ffAnsi;
    ReportPluginFault(record.FileName, "TVP_ReadFile");
  }
  return answer;
}

int WriteThroughPlugin(int Index, const std::wstring& FileName, std::wstring& Text,
                       int32_t& LineBreak, int32_t& FileFormat) {
  const TPluginRecord record = PluginManager ? PluginManager->GetPlugin(Index) : TPluginRecord();
  if (!record.LibHandle || !record.WriteFile) return -1;
  BSTR name = WideToBstr(FileName);
  BSTR text = WideToBstr(Text);
  int32_t answer = -1;
  TPlgWriteFile write = record.WriteFile;
  bool ran = CallPlugin(record.FileName, "TVP_WriteFile",
                        [&] { answer = write(name, &text, &LineBreak, &FileFormat); });
  SysFreeString(name);
  if (!ran) return -1;  // a failing plug-in leaves the file to the next one
  SysFreeString(text);
  return answer;
}

}  // namespace

void LoadPlugins() {
  PluginManager = std::make_unique<TPluginManager>();
  TStringList allowed;
  const std::string listFile = Settings.PluginsDir + "AllowedPlugins.ini";
  bool unreadable = false;
  if (FileExists(listFile)) {
    try {
      allowed.LoadFromFile(listFile);
    } catch (const std::exception&) {
      allowed.Clear();  // an unreadable list allows nothing, as a missing one
      unreadable = true;
    }
  }
  NoteStoreRead(listFile, unreadable);
  PluginManager->ScanDir("", allowed);
  BuildPluginsMenu();
  InstallPluginFileHooks();
}

void InstallPluginFileHooks() {
  FileReadHooks.clear();
  FileWriteHooks.clear();
  if (!PluginManager) return;
  for (int index = 0; index < PluginManager->Count(); ++index) {
    TPluginRecord record = PluginManager->GetPlugin(index);
    if (!record.LibHandle) continue;
    if (record.ReadFile)
      FileReadHooks.push_back([index](const std::wstring& Name, std::wstring& Text,
                                      int32_t& LineBreak, int32_t& FileFormat) {
        return ReadThroughPlugin(index, Name, Text, LineBreak, FileFormat);
      });
    if (record.WriteFile)
      FileWriteHooks.push_back([index](const std::wstring& Name, std::wstring& Text,
                                       int32_t& LineBreak, int32_t& FileFormat) {
        return WriteThroughPlugin(index, Name, Text, LineBreak, FileFormat);
      });
  }
}

void FreePlugins() {
  FileReadHooks.clear();
  FileWriteHooks.clear();
  if (TMenuItem* menu = PluginsMenu()) menu->Clear();
  if (PluginManager) PluginManager->ForgetMenuItems();
  PluginManager.reset();  // every call into a plug-in on the way is guarded
}

void PluginsMenuOpened() {
  TMenuItem* menu = PluginsMenu();
  if (!menu || !PluginManager) return;
  for (int i = 0; i < menu->Count(); ++i) {
    TMenuItem* item = menu->Items(i);
    if (item->Tag() < 0 || item->Tag() >= PluginManager->Count()) continue;
    TInfos infos = PluginManager->GetPlugin(item->Tag()).Infos;
    item->SetVisible(DocsOpen ? infos.ShowWithDocs : infos.ShowWithoutDocs);
  }
}

void PluginsMenuItemClicked(TMenuItem* Item) {
  TMenuItem* menu = PluginsMenu();
  if (!Item || !menu || !PluginManager || Item->Count() > 0 || !Item->Parent()) return;
  TMenuItem* top = Item;
  while (top->Parent() && top->Parent() != menu) top = top->Parent();
  if (top->Parent() != menu) return;
  const int index = top->Tag();
  if (index < 0 || index >= PluginManager->Count()) return;
  const TPluginRecord record = PluginManager->GetPlugin(index);
  if (!record.LibHandle || !record.MenuItem) return;

  THourglass hourglass;
  TStatusBar* status = frmMain->StatusBar;
  const bool hasPanel = status && status->PanelCount() > WaitPanel;
  const std::string former = hasPanel ? status->PanelText(WaitPanel) : std::string();
  if (hasPanel)
    status->SetPanelText(WaitPanel, GetLangText("Main|sbMainWaitForPlugin", "Warte auf Plugin..."));
  const bool isTop = Item == top;
  const int32_t subItem = isTop || Item->Tag() < 0 ? -1 : Item->Tag();
  int32_t refresh = 0;
  TPlgMenuItem menuItem = record.MenuItem;
  if (CallPlugin(record.FileName, "TVP_MenuItem", [&] { refresh = menuItem(subItem); }) && refresh)
    UpdateCaption();
  if (TPlgMenuClicked clicked = record.MenuClicked) {
    const int32_t position = isTop ? -1 : Item->MenuIndex();
    HMENU handle = MenuHandleOf(Item);
    refresh = 0;
    if (CallPlugin(record.FileName, "TVP_MenuClicked",
                   [&] { refresh = clicked(position, subItem, handle, Item); }) && refresh)
      UpdateCaption();
  }
  if (hasPanel && frmMain) frmMain->StatusBar->SetPanelText(WaitPanel, former);
}

void PluginsAppStarted() {
  if (!PluginManager) return;
  for (int index = 0; index < PluginManager->Count(); ++index) {
    TPluginRecord record = PluginManager->GetPlugin(index);
    if (!record.LibHandle || !record.AppStarted) continue;
    THourglass hourglass;
    TPlgProc started = record.AppStarted;
    CallPlugin(record.FileName, "TVP_AppStarted", [&] { started(); });
  }
}

bool ConfigurePlugin(int Index) {
  if (!PluginManager) return false;
  TPluginRecord record = PluginManager->GetPlugin(Index);
  if (!record.LibHandle || !record.Configure) return false;
  TPlgProc configure = record.Configure;
  CallPlugin(record.FileName, "TVP_Configure", [&] { configure(); });
  return true;
}
