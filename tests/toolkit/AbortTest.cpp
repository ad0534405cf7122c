#include <gtest/gtest.h>
#include "support/ModalAnswers.h"
#include "toolkit/Abort.h"
#include "toolkit/Application.h"

TEST(Abort, TheErrorBoxStaysSilentForAnAbortOnly) {
  testsupport::ResetModalAnswers();
  Application().ShowException(EAbort());
  EXPECT_TRUE(testsupport::AskedQuestions().empty());
  testsupport::QueueAnswer(IDOK);
  Application().ShowException(Exception("Kaputt"));
  ASSERT_EQ(testsupport::AskedQuestions().size(), 1u);
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);
}
