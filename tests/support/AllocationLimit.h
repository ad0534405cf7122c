// Running out of memory on purpose: allocations above a limit fail as when memory is gone,
// without taking any. This test program replaces the global operator new for it.
#pragma once
#include <cstddef>

namespace testsupport {

// While it lives, every single allocation of more than MaxBytes raises std::bad_alloc.
class TAllocationLimit {
public:
  explicit TAllocationLimit(std::size_t MaxBytes);
  ~TAllocationLimit();
  TAllocationLimit(const TAllocationLimit&) = delete;
  TAllocationLimit& operator=(const TAllocationLimit&) = delete;
};

}  // namespace testsupport
