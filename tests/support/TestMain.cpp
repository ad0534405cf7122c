// The main of every test program: modal questions are answered from the test's queue,
// and answers left unused at the end of a test fail it.
#include <gtest/gtest.h>
#include "support/ModalAnswers.h"
#include "toolkit/Application.h"

namespace {
class ModalAnswerListener : public testing::EmptyTestEventListener {
  void OnTestStart(const testing::TestInfo&) override { testsupport::ResetModalAnswers(); }
  void OnTestEnd(const testing::TestInfo&) override {
    EXPECT_EQ(testsupport::PendingAnswers(), 0u) << "queued answers were not asked for";
  }
};
}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  Application().Initialize();
  testsupport::InstallModalAnswerer();
  testing::UnitTest::GetInstance()->listeners().Append(new ModalAnswerListener);
  return RUN_ALL_TESTS();
}
