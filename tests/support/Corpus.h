// The corpus: real files by other people that configure found beside the source tree or was
// pointed at, as the tests under Wine see them. Tests that read it skip themselves without it.
#pragma once
#include <string>
#include <vector>

namespace testsupport {

// The corpus folder with its trailing backslash, "" when there is none.
std::string CorpusFolder();

// The names of the corpus files, in the order the folder lists them; none without a corpus.
std::vector<std::string> CorpusFileNames();

// The bytes of one corpus file; throws the stream's error when it cannot be read.
std::string CorpusFile(const std::string& Name);

// One line for a skipped test: where the corpus was looked for and how to point at one.
std::string NoCorpusNote();

}  // namespace testsupport

// Skips the calling test when there is no corpus.
#define SKIP_WITHOUT_CORPUS()                      \
  do {                                             \
    if (testsupport::CorpusFolder().empty())       \
      GTEST_SKIP() << testsupport::NoCorpusNote(); \
  } while (false)
