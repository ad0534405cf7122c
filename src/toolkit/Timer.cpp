#include "toolkit/Timer.h"
#include <map>
#include "toolkit/Application.h"

namespace {
// Thread timers carry no window: their ids lead back to the object.
std::map<UINT_PTR, TTimer*>& Timers() {
  static std::map<UINT_PTR, TTimer*> timers;
  return timers;
}
}  // namespace

TTimer::TTimer(TComponent* Owner) : TComponent(Owner) { Update(); }

TTimer::~TTimer() {
  enabled_ = false;
  Update();
}

void TTimer::SetInterval(unsigned Milliseconds) {
  if (interval_ == Milliseconds) return;
  interval_ = Milliseconds;
  Update();
}

void TTimer::SetEnabled(bool Enabled) {
  if (enabled_ == Enabled) return;
  enabled_ = Enabled;
  Update();
}

// Restarts the period from now, as setting either property does.
void TTimer::Update() {
  if (id_) {
    KillTimer(nullptr, id_);
    Timers().erase(id_);
    id_ = 0;
  }
  if (!enabled_ || interval_ == 0) return;
  id_ = SetTimer(nullptr, 0, interval_, TimerProc);
  if (id_) Timers()[id_] = this;
}

void CALLBACK TTimer::TimerProc(HWND, UINT, UINT_PTR Id, DWORD) {
  auto it = Timers().find(Id);
  if (it == Timers().end()) {
    KillTimer(nullptr, Id);  // a late message of a timer already stopped
    return;
  }
  TTimer* timer = it->second;
  // Called from the system's dispatch, not through a window procedure.
  if (timer->OnTimer) GuardEntry([timer] { timer->OnTimer(timer); });
}
