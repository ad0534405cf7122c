// The common controls the program gets from its manifest (version 6), for tests that must see
// the controls as the program does: test programs carry no manifest and get the older ones.
// For test programs compiled with TARVOLINE_MANIFEST (the manifest's path).
#pragma once
#include <windows.h>

namespace testsupport {

// While it lives, windows made on this thread are the program's controls.
class TProgramControls {
public:
  TProgramControls() {
    ACTCTXA request = {};
    request.cbSize = sizeof request;
    request.lpSource = TARVOLINE_MANIFEST;
    context_ = CreateActCtxA(&request);
    if (context_ != INVALID_HANDLE_VALUE && !ActivateActCtx(context_, &cookie_)) {
      ReleaseActCtx(context_);
      context_ = INVALID_HANDLE_VALUE;
    }
  }
  ~TProgramControls() {
    if (context_ == INVALID_HANDLE_VALUE) return;
    DeactivateActCtx(0, cookie_);
    ReleaseActCtx(context_);
  }
  TProgramControls(const TProgramControls&) = delete;
  TProgramControls& operator=(const TProgramControls&) = delete;

  bool Active() const { return context_ != INVALID_HANDLE_VALUE; }

private:
  HANDLE context_ = INVALID_HANDLE_VALUE;
  ULONG_PTR cookie_ = 0;
};

}  // namespace testsupport
