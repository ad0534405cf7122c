// libFuzzer's entry for the target named by FUZZ_TARGET_NAME: a failed check aborts, so the
// fuzzer keeps the input as a finding like any crash.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "FuzzTargets.h"

namespace {
const TFuzzTarget& Target() {
  for (const TFuzzTarget& t : FuzzTargetList)
    if (std::strcmp(t.Name, FUZZ_TARGET_NAME) == 0) return t;
  std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  static const TFuzzTarget& target = Target();
  const std::string fault = target.Run(std::string(reinterpret_cast<const char*>(Data), Size));
  if (!fault.empty()) {
    std::fprintf(stderr, "%s: %s\n", target.Name, fault.c_str());
    std::abort();
  }
  return 0;
}
