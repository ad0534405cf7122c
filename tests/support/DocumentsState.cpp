// Built into the test programs over the document layer: that layer's program-wide state is
// reset before each test as well.
#include "documents/StoreGuard.h"
#include "documents/fLanguage.h"
#include "support/ProgramState.h"

namespace {
[[maybe_unused]] const bool registered = (testsupport::ResetBeforeEachTest([] {
  ForgetStoreReads();
  LanguageTexts.Clear();
}), true);
}  // namespace
