#include "support/AllocationLimit.h"
#include <atomic>
#include <cstdlib>
#include <limits>
#include <new>

namespace {
std::atomic<std::size_t> limit{std::numeric_limits<std::size_t>::max()};
}  // namespace

testsupport::TAllocationLimit::TAllocationLimit(std::size_t MaxBytes) { limit = MaxBytes; }

testsupport::TAllocationLimit::~TAllocationLimit() {
  limit = std::numeric_limits<std::size_t>::max();
}

// The library's operator delete frees with free(), so this allocates with malloc().
void* operator new(std::size_t Size) {
  if (Size > limit) throw std::bad_alloc();
  for (;;) {
    if (void* block = std::malloc(Size ? Size : 1)) return block;
    std::new_handler handler = std::get_new_handler();
    if (!handler) throw std::bad_alloc();
    handler();
  }
}
