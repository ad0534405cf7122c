// Starts the built program with each real file of the corpus, and each page whose script line
// once ended it, on its command line: the window shows the file and the program goes on.
#include <gtest/gtest.h>
#include <windows.h>
#include <optional>
#include <string>
#include <vector>
#include "RunningProgram.h"
#include "support/Corpus.h"
#include "support/RunawayMarkerLines.h"

namespace {

// The files to start with, each with its full name.
std::vector<std::string> StartFiles(const testsupport::TempFolder& Pages) {
  std::vector<std::string> files;
  for (const std::string& name : testsupport::CorpusFileNames())
    files.push_back(testsupport::CorpusFolder() + name);
  const std::vector<std::string> lines = testsupport::RunawayMarkerLines();
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string name = "page" + std::to_string(i + 1) + ".html";
    Pages.Write(name, "<html><head>\r\n" + lines[i] + "\r\n</script></head></html>\r\n");
    files.push_back(Pages.File(name));
  }
  return files;
}

TEST_F(ProgramTest, ShowsEveryCorpusFileFromTheCommandLineAndGoesOn) {
  ASSERT_FALSE(testsupport::CorpusFileNames().empty()) << "no corpus beside the source tree";
  const std::vector<std::string> startFiles = StartFiles(files);
  for (const std::string& file : startFiles) {
    const std::string name = file.substr(file.rfind('\\') + 1);
    RunningProgram program("\"" + file + "\"", files.Path());
    ASSERT_TRUE(program.Started()) << name;
    const HWND wnd = program.WaitForMainWindow();
    ASSERT_NE(wnd, nullptr) << name;
    EXPECT_TRUE(WaitFor([&] { return WindowText(wnd) == "Tarvoline - " + name; }, 20000))
        << name << ": caption " << WindowText(wnd);
    DWORD_PTR answer = 0;
    EXPECT_NE(SendMessageTimeoutA(wnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer), 0)
        << name << ": the window does not answer";
    EXPECT_EQ(program.WaitForExit(0), std::nullopt) << name << ": the program ended";
    PostMessageA(wnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(20000), std::optional<DWORD>(0)) << name;
  }
}

}  // namespace
