// Queued answers to the program's modal questions. A question with no queued answer
// fails the running test with its text and is answered with Cancel.
#pragma once
#include <functional>
#include <string>
#include <vector>
#include "toolkit/Dialogs.h"

namespace testsupport {

// Answers the next question; Check may assert on what was asked.
void QueueAnswer(ModalAnswer Answer, std::function<void(const ModalQuestion&)> Check = nullptr);
void QueueAnswer(int Result);
// Answers the next modal form by running Drive on it; its return is the modal result.
void QueueFormAnswer(std::function<int(TForm&)> Drive);
// Lets the next question show its real dialog, for tests that drive it as a person would.
void QueueRealDialog();
// Questions asked so far in this test, and the answers still waiting.
const std::vector<ModalQuestion>& AskedQuestions();
size_t PendingAnswers();
// Installs the answerer; done once by the test main.
void InstallModalAnswerer();
void ResetModalAnswers();

}  // namespace testsupport
