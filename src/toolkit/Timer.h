// A Win32 timer that calls OnTimer every Interval milliseconds while enabled.
#pragma once
#include <windows.h>
#include "toolkit/Component.h"

class TTimer : public TComponent {
public:
  explicit TTimer(TComponent* Owner);
  ~TTimer() override;

  // Interval 0 stops the timer until a positive one is set.
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned Milliseconds);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool Enabled);
  // May stop, restart or free the timer itself.
  TNotifyEvent OnTimer;

private:
  void Update();
  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR Id, DWORD);

  unsigned interval_ = 1000;
  bool enabled_ = true;
  UINT_PTR id_ = 0;
};
