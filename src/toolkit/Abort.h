// The silent abort: ends an operation without any message to the user.
#pragma once
#include "rtl/Exception.h"

// The application's error box ignores it; callers that must know can catch it.
class EAbort : public Exception {
public:
  EAbort() : Exception("Operation aborted") {}
};

[[noreturn]] inline void Abort() { throw EAbort(); }
