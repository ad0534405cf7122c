#include "support/ModalAnswers.h"
#include <deque>
#include <gtest/gtest.h>

namespace testsupport {
namespace {
struct Pending {
  ModalAnswer answer;
  std::function<void(const ModalQuestion&)> check;
  std::function<int(TForm&)> drive;
  bool real = false;
};
std::deque<Pending>& Queue() {
  static std::deque<Pending> q;
  return q;
}
std::vector<ModalQuestion>& Asked() {
  static std::vector<ModalQuestion> v;
  return v;
}
}  // namespace

void QueueAnswer(ModalAnswer Answer, std::function<void(const ModalQuestion&)> Check) {
  Queue().push_back({std::move(Answer), std::move(Check), nullptr});
}

void QueueAnswer(int Result) {
  ModalAnswer a;
  a.result = Result;
  QueueAnswer(a);
}

void QueueFormAnswer(std::function<int(TForm&)> Drive) {
  Queue().push_back({ModalAnswer{}, nullptr, std::move(Drive)});
}

void QueueRealDialog() { Queue().push_back({ModalAnswer{}, nullptr, nullptr, true}); }

const std::vector<ModalQuestion>& AskedQuestions() { return Asked(); }
size_t PendingAnswers() { return Queue().size(); }

void ResetModalAnswers() {
  Queue().clear();
  Asked().clear();
}

void InstallModalAnswerer() {
  SetModalAnswerer([](const ModalQuestion& q) -> std::optional<ModalAnswer> {
    Asked().push_back(q);
    if (Queue().empty()) {
      ADD_FAILURE() << "Unexpected question: \"" << q.caption << "\": " << q.text;
      ModalAnswer cancel;
      cancel.result = IDCANCEL;
      return cancel;
    }
    Pending p = std::move(Queue().front());
    Queue().pop_front();
    if (p.check) p.check(q);
    if (p.real) return std::nullopt;
    if (p.drive) {
      ModalAnswer a;
      a.result = q.form ? p.drive(*q.form) : IDCANCEL;
      return a;
    }
    return p.answer;
  });
}

}  // namespace testsupport
