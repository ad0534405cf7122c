// The main of every test program: modal questions are answered from the test's queue,
// answers left unused at the end of a test fail it, and each test starts with the program-wide
// hooks as a fresh program has them.
#include <gtest/gtest.h>
#include <vector>
#include "support/ModalAnswers.h"
#include "support/ProgramState.h"
#include "toolkit/Application.h"
#include "toolkit/Dialogs.h"

namespace {
std::vector<std::function<void()>>& Resets() {
  static std::vector<std::function<void()>> resets;
  return resets;
}

class ProgramStateListener : public testing::EmptyTestEventListener {
  void OnTestStart(const testing::TestInfo&) override {
    testsupport::ResetModalAnswers();
    SetTextLookup(nullptr);
    SetBeforeModal(nullptr);
    for (const std::function<void()>& reset : Resets()) reset();
  }
  void OnTestEnd(const testing::TestInfo&) override {
    EXPECT_EQ(testsupport::PendingAnswers(), 0u) << "queued answers were not asked for";
  }
};
}  // namespace

void testsupport::ResetBeforeEachTest(std::function<void()> Reset) {
  Resets().push_back(std::move(Reset));
}

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  Application().Initialize();
  testsupport::InstallModalAnswerer();
  testing::UnitTest::GetInstance()->listeners().Append(new ProgramStateListener);
  return RUN_ALL_TESTS();
}
