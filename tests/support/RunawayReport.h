// The box every command shows when an expression search runs away on the text.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include "support/ModalAnswers.h"

namespace testsupport {

// Answers the next question, which must be that error box (with Caption, when one is given).
inline void ExpectRunawayReport(const std::string& Caption = "") {
  QueueAnswer(ModalAnswer{IDOK}, [Caption](const ModalQuestion& Q) {
    EXPECT_EQ(Q.kind, ModalKind::MessageBox);
    EXPECT_EQ(Q.text,
              "Der regul\xE4re Ausdruck ist f\xFCr diesen Text zu aufwendig; die Suche wurde "
              "abgebrochen.\r\n(TRegex(exec): Backtrack Step Limit Exceeded)");
    EXPECT_EQ(Q.flags, UINT(MB_OK | MB_ICONERROR));
    if (!Caption.empty()) {
      EXPECT_EQ(Q.caption, Caption);
    }
  });
}

// A pattern and a text on which it runs away at the first position.
inline const char* const RunawayPattern = "(a|aa)+(b|\\d)";
inline std::string RunawayText() { return std::string(40, 'a'); }

}  // namespace testsupport
