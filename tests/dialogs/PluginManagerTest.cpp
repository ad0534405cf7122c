// Loading and unloading real plug-in libraries: the allow list, refusals and missing exports,
// the information strings, the order, and the guard around every call into plug-in code.
#include <gtest/gtest.h>
#include <stdexcept>
#include "PluginTestFixture.h"

namespace {

using plugintest::ExpectFaultReport;
using plugintest::PluginWindowTest;
using Lines = std::vector<std::string>;

class PluginLoadTest : public PluginWindowTest {};

}  // namespace

TEST_F(PluginLoadTest, OnlyAllowedFilesAreLoadedAndEntriesMatchWithoutCase) {
  Install("full", "zeta.plg");
  Install("full", "Sub\\Deep\\Alpha.plg");
  Install("full", "outside.plg");
  Install("full", "notes.txt");
  Allow("zeta.plg\r\nsub\\DEEP\\alpha.PLG\r\nDeep\\Alpha.plg\r\n");
  LoadPlugins();

  ASSERT_EQ(PluginManager->Count(), 3) << "every .plg file is listed, the other file is not";
  // Not loaded plug-ins have empty names and come first.
  TPluginRecord outside = PluginManager->GetPlugin(0);
  EXPECT_EQ(outside.FileName, "outside.plg");
  EXPECT_EQ(outside.LibHandle, nullptr);
  EXPECT_EQ(outside.Infos.Name, "");
  EXPECT_EQ(outside.Infos.Version, "");
  TPluginRecord alpha = PluginManager->GetPlugin(1);
  EXPECT_EQ(alpha.FileName, "Sub\\Deep\\Alpha.plg");
  EXPECT_NE(alpha.LibHandle, nullptr);
  EXPECT_EQ(alpha.Infos.Name, "Alpha");
  EXPECT_EQ(alpha.Infos.Version, "1.0");
  EXPECT_EQ(alpha.Infos.MenuCaption, "Alpha-Item");
  EXPECT_TRUE(alpha.Infos.ShowWithDocs);
  EXPECT_FALSE(alpha.Infos.ShowWithoutDocs);
  EXPECT_EQ(PluginManager->GetPlugin(2).Infos.Name, "zeta");
  EXPECT_TRUE(CallsOf("outside").empty()) << "a plug-in not allowed is never loaded";
  EXPECT_EQ(CallsOf("zeta"), (Lines{"attach", "Initialize", "GetInfo(1,empty)", "GetInfo(2,empty)",
                                    "GetInfo(3,empty)", "GetInfo(4,empty)", "GetMenuItemHandlers",
                                    "MenuChanged(-1,2,1,1)"}));
}

TEST_F(PluginLoadTest, WithoutAllowListOrFolderNothingIsLoaded) {
  Install("full", "full.plg");
  LoadPlugins();
  ASSERT_EQ(PluginManager->Count(), 1);
  EXPECT_EQ(PluginManager->GetPlugin(0).LibHandle, nullptr);
  EXPECT_FALSE(PluginsMenu()->Visible());
  FreePlugins();

  Settings.PluginsDir = folder.File("NoSuchFolder\\");
  LoadPlugins();
  EXPECT_EQ(PluginManager->Count(), 0);
}

TEST_F(PluginLoadTest, RefusalIsSilentNeverFinalizedAndFreedOnce) {
  Install("refusing", "refusing.plg");
  Allow("refusing.plg");
  const int live = LiveAppCount();
  LoadPlugins();
  TPluginRecord record = PluginManager->GetPlugin(0);
  EXPECT_EQ(record.LibHandle, nullptr);
  EXPECT_EQ(record.Finalize, nullptr);
  EXPECT_EQ(record.Infos.Name, "");
  EXPECT_EQ(LiveAppCount(), live) << "the program's reference goes with the library";
  FreePlugins();
  EXPECT_EQ(CallsOf("refusing"), (Lines{"attach", "Initialize", "detach"}));
}

TEST_F(PluginLoadTest, MissingExportsAndUnloadableFilesAreReportedOnceEach) {
  Install("nogetinfo", "nogetinfo.plg");
  folder.Write("Plugins\\broken.plg", "not a library");
  Allow("nogetinfo.plg\r\nbroken.plg");
  ExpectFaultReport("broken.plg", "LoadLibrary");
  ExpectFaultReport("nogetinfo.plg", "TVP_GetInfo");
  LoadPlugins();
  ASSERT_EQ(PluginManager->Count(), 2);
  EXPECT_EQ(PluginManager->GetPlugin(0).LibHandle, nullptr);
  EXPECT_EQ(PluginManager->GetPlugin(1).LibHandle, nullptr);
  // Initialised before it was dropped, so it is told to finish first.
  EXPECT_EQ(CallsOf("nogetinfo"), (Lines{"attach", "Initialize", "Finalize", "detach"}));
  FreePlugins();

  // A second scan in the same run does not report the same failures again.
  LoadPlugins();
  EXPECT_EQ(PluginManager->Count(), 2);
}

TEST_F(PluginLoadTest, AFaultInGetInfoDropsThePluginWithoutFreeingWhatItLeftInTheSlot) {
  Install("full", "full.plg");
  Allow("full.plg");
  SetPluginVariable("TVP_GETINFO_FAULT_full", "1");
  ExpectFaultReport("full.plg", "TVP_GetInfo");
  LoadPlugins();
  ASSERT_EQ(PluginManager->Count(), 1);
  EXPECT_EQ(PluginManager->GetPlugin(0).LibHandle, nullptr);
  EXPECT_EQ(CallsOf("full"), (Lines{"attach", "Initialize", "GetInfo(1,empty)", "Finalize",
                                    "KeptFreedByProgram=0", "detach"}));
  FreePlugins();
}

TEST_F(PluginLoadTest, ShutdownFinalizesBeforeFreeingAndReleasesEveryInterface) {
  Install("full", "a.plg");
  Install("full", "b.plg");
  Allow("a.plg\r\nb.plg");
  const int live = LiveAppCount();
  LoadPlugins();
  EXPECT_EQ(LiveAppCount(), live + 2);
  FreePlugins();
  EXPECT_EQ(PluginManager, nullptr);
  EXPECT_EQ(LiveAppCount(), live) << "the plug-ins released theirs in Finalize, the program after";
  Lines a = CallsOf("a");
  ASSERT_GE(a.size(), 2u);
  EXPECT_EQ(a[a.size() - 2], "Finalize");
  EXPECT_EQ(a.back(), "detach");
  EXPECT_EQ(PluginsMenu()->Count(), 0);
}

TEST(PluginSort, OrdersByLowerCaseNameKeepingEqualNamesInPlace) {
  TPluginManager manager;
  for (const char* name : {"beta", "Alpha", "", "alpha", "Beta", ""}) {
    TPluginRecord record;
    record.FileName = std::string(name) + std::to_string(manager.Count());
    record.Infos.Name = name;
    manager.Add(record);
  }
  for (const char* fields : {"", "name", "NAME|UNKNOWN", "UNKNOWN|NAME|X|Y"}) {
    SCOPED_TRACE(fields);
    manager.SortBy(fields);
    Lines order;
    for (int i = 0; i < manager.Count(); ++i) order.push_back(manager.GetPlugin(i).FileName);
    EXPECT_EQ(order, (Lines{"2", "5", "Alpha1", "alpha3", "beta0", "Beta4"}));
  }
  manager.Exchange(0, 9);  // out of range: nothing happens
  EXPECT_EQ(manager.GetPlugin(0).FileName, "2");
  EXPECT_EQ(manager.GetPlugin(6).FileName, "") << "a copy of an empty record out of range";
}

namespace {
void Crash(void*) { *static_cast<volatile int*>(nullptr) = 1; }
void Throw(void*) { throw std::runtime_error("raised"); }
void Count(void* Calls) { ++*static_cast<int*>(Calls); }
void NestedCrash(void* Inner) {
  DWORD code = 0;
  *static_cast<bool*>(Inner) = CallGuarded(Crash, nullptr, code);
}
}  // namespace

TEST(PluginGuard, CatchesFaultsAndExceptionsAndPassesNormalReturns) {
  DWORD code = 0;
  EXPECT_FALSE(CallGuarded(Crash, nullptr, code));
  EXPECT_EQ(code, static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
  EXPECT_FALSE(CallGuarded(Throw, nullptr, code));
  EXPECT_EQ(code, 0xE06D7363u);
  int calls = 0;
  EXPECT_TRUE(CallGuarded(Count, &calls, code));
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(code, 0u);
  // A guard inside a guard takes its own fault; the outer call then returns normally.
  bool inner = true;
  EXPECT_TRUE(CallGuarded(NestedCrash, &inner, code));
  EXPECT_FALSE(inner);
  // Faults keep being caught after the handler chain was unwound many times.
  for (int i = 0; i < 100; ++i) ASSERT_FALSE(CallGuarded(Crash, nullptr, code));
}
