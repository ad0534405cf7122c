// Starts the built program with each real file of the corpus (when there is one), and each page
// whose script line once ended it, on its command line: the window shows the file and the
// program goes on.
#include <gtest/gtest.h>
#include <windows.h>
#include <optional>
#include <string>
#include <vector>
#include "RunningProgram.h"
#include "support/Corpus.h"
#include "support/RunawayMarkerLines.h"

namespace {

// Starts the program with each file on its command line and checks that its window shows the
// file and answers, and that the program goes on until it is closed.
void ExpectEachFileShownAndTheProgramGoesOn(const std::vector<std::string>& Files,
                                            const std::string& Folder) {
  for (const std::string& file : Files) {
    const std::string name = file.substr(file.rfind('\\') + 1);
    RunningProgram program("\"" + file + "\"", Folder);
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

TEST_F(ProgramTest, ShowsEveryCorpusFileFromTheCommandLineAndGoesOn) {
  SKIP_WITHOUT_CORPUS();
  std::vector<std::string> corpusFiles;
  for (const std::string& name : testsupport::CorpusFileNames())
    corpusFiles.push_back(testsupport::CorpusFolder() + name);
  ExpectEachFileShownAndTheProgramGoesOn(corpusFiles, files.Path());
}

TEST_F(ProgramTest, ShowsPagesWithLongScriptLinesFromTheCommandLineAndGoesOn) {
  std::vector<std::string> pages;
  const std::vector<std::string> lines = testsupport::RunawayMarkerLines();
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string name = "page" + std::to_string(i + 1) + ".html";
    files.Write(name, "<html><head>\r\n" + lines[i] + "\r\n</script></head></html>\r\n");
    pages.push_back(files.File(name));
  }
  ExpectEachFileShownAndTheProgramGoesOn(pages, files.Path());
}

}  // namespace
