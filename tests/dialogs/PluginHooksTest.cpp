// Plug-ins reading and writing documents' files in place of the built-in reader and writer.
#include <gtest/gtest.h>
#include "PluginTestFixture.h"
#include "editor/CodeEdit.h"

namespace {

using plugintest::ExpectFaultReport;
using plugintest::PluginWindowTest;
using Lines = std::vector<std::string>;

class PluginHooksTest : public PluginWindowTest {
protected:
  void LoadHooks(const std::string& Allowed) {
    Install("hooks", "h1.plg");
    Install("hooks", "h2.plg");
    Install("faulting", "faulting.plg");
    Allow(Allowed);
    LoadPlugins();
    ClearCalls();
  }
  // Saves the active document under Name after typing Text into an empty one.
  bool SaveAs(TfraEdit& Frame, const std::string& Name, const std::string& Text) {
    Frame.seEdit->SetText(Text);
    Frame.DocInfo.FileName = folder.File(Name);
    Frame.DocInfo.Modified = true;
    return SaveDocument(-1);
  }
};

}  // namespace

TEST_F(PluginHooksTest, TheFirstPluginThatReadsAFileSuppliesTextAndFormats) {
  LoadHooks("h1.plg\r\nh2.plg");
  folder.Write("doc.hook", "on disk\r\n");
  TfraEdit* frame = Open(folder.File("doc.hook"));
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->seEdit->Lines()[0], "aus dem Plugin");
  EXPECT_EQ(frame->DocInfo.LineBreakFormat, lbfUnix);
  EXPECT_EQ(frame->DocInfo.FileFormat, ffUtf8);
  EXPECT_EQ(Calls(), (Lines{"h1 ReadFile(doc.hook,empty,0,0)"})) << "the second is not asked";

  // A plug-in that passes hands the slot it wrote on; the built-in reader then reads.
  ClearCalls();
  folder.Write("doc.pass", "vom Datentr\xE4ger\r\n");
  frame = Open(folder.File("doc.pass"));
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->seEdit->Lines()[0], "vom Datentr\xE4ger");
  EXPECT_EQ(Calls(), (Lines{"h1 ReadFile(doc.pass,empty,0,0)", "h2 ReadFile(doc.pass,full,0,0)"}));
}

TEST_F(PluginHooksTest, FormatsOutOfRangeBecomeWindowsAnsiAndAreReported) {
  LoadHooks("h1.plg");
  folder.Write("doc.bad", "x");
  ExpectFaultReport("h1.plg", "TVP_ReadFile");
  TfraEdit* frame = Open(folder.File("doc.bad"));
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->seEdit->Lines()[0], "odd formats");
  EXPECT_EQ(frame->DocInfo.LineBreakFormat, lbfWindows);
  EXPECT_EQ(frame->DocInfo.FileFormat, ffAnsi);
}

TEST_F(PluginHooksTest, WriteAnswersDecideWhoSavesTheFile) {
  LoadHooks("h1.plg");
  TfraEdit* frame = Open("");
  ASSERT_NE(frame, nullptr);
  struct Row {
    const char* Name;
    const char* Expected;
  };
  const Row rows[] = {
      {"saved.own", "PLUGIN:eigen"},  // 0: the plug-in wrote it, nothing else did
      {"saved.pass", "eigen"},        // -1 and no further plug-in: built-in writer
      {"saved.txt", "eigen"},         // other answers: built-in writer, slot ignored
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    ASSERT_TRUE(SaveAs(*frame, row.Name, "eigen"));
    EXPECT_EQ(folder.Read(row.Name), row.Expected);
    EXPECT_FALSE(frame->DocInfo.Modified);
  }
  EXPECT_EQ(CallsOf("h1").front(), "WriteFile(saved.own,0,0)");
}

TEST_F(PluginHooksTest, AFaultingWriterIsReportedOnceAndTheFileIsStillSaved) {
  LoadHooks("faulting.plg\r\nh1.plg");
  TfraEdit* frame = Open("");
  ASSERT_NE(frame, nullptr);
  ExpectFaultReport("faulting.plg", "TVP_WriteFile");
  ASSERT_TRUE(SaveAs(*frame, "first.own", "eins"));
  EXPECT_EQ(folder.Read("first.own"), "PLUGIN:eins") << "the next plug-in was asked";
  ASSERT_TRUE(SaveAs(*frame, "second.txt", "zwei"));
  EXPECT_EQ(folder.Read("second.txt"), "zwei");
  EXPECT_EQ(CallsOf("faulting"), (Lines{"WriteFile(first.own,0,0)", "WriteFile(second.txt,0,0)"}));
}

TEST_F(PluginHooksTest, UnloadedPluginsLeaveNoHooksBehind) {
  LoadHooks("h1.plg");
  EXPECT_EQ(FileReadHooks.size(), 1u);
  EXPECT_EQ(FileWriteHooks.size(), 1u);
  FreePlugins();
  EXPECT_TRUE(FileReadHooks.empty());
  EXPECT_TRUE(FileWriteHooks.empty());
  folder.Write("doc.hook", "on disk\r\n");
  TfraEdit* frame = Open(folder.File("doc.hook"));
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->seEdit->Lines()[0], "on disk");
}
