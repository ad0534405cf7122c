// Acts on a window the program is about to show modally, from inside the modal loop that
// runs then, as a person's input would arrive.
#pragma once
#include <windows.h>
#include <functional>
#include <map>
#include <utility>

namespace testsupport {

// Runs Act once on the active window of this thread as soon as Ready accepts it.
class TWhenShown {
public:
  TWhenShown(std::function<bool(HWND)> Ready, std::function<void(HWND)> Act)
      : ready_(std::move(Ready)), act_(std::move(Act)) {
    timer_ = SetTimer(nullptr, 0, 20, Tick);
    Waiting()[timer_] = this;
  }
  ~TWhenShown() {
    KillTimer(nullptr, timer_);
    Waiting().erase(timer_);
  }
  TWhenShown(const TWhenShown&) = delete;
  TWhenShown& operator=(const TWhenShown&) = delete;
  bool Done() const { return done_; }

private:
  static std::map<UINT_PTR, TWhenShown*>& Waiting() {
    static std::map<UINT_PTR, TWhenShown*> waiting;
    return waiting;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR Timer, DWORD) {
    auto it = Waiting().find(Timer);
    if (it == Waiting().end()) return;
    TWhenShown* self = it->second;
    HWND active = GetActiveWindow();
    if (self->done_ || !active || !self->ready_(active)) return;
    self->done_ = true;
    self->act_(active);
  }
  std::function<bool(HWND)> ready_;
  std::function<void(HWND)> act_;
  UINT_PTR timer_ = 0;
  bool done_ = false;
};

}  // namespace testsupport
