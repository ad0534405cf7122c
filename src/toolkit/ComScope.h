// COM initialised for the calling thread while a shell object is in use.
#pragma once
#include <objbase.h>

// Initialises COM (single-threaded apartment) and balances a successful start on leaving;
// a thread where COM already runs in another mode keeps it.
class TComScope {
public:
  TComScope() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~TComScope() {
    if (ok_) CoUninitialize();
  }
  TComScope(const TComScope&) = delete;
  TComScope& operator=(const TComScope&) = delete;

private:
  bool ok_;
};
