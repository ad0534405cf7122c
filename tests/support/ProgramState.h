// Program-wide state (the hooks the main window sets, what the stores said at start) goes back
// to how a fresh program has it before each test, so that no test sees what another left.
#pragma once
#include <functional>

namespace testsupport {

// Adds Reset to what runs before each test: for state of the layers above the toolkit, which
// the shared main cannot name (see DocumentsState.cpp).
void ResetBeforeEachTest(std::function<void()> Reset);

}  // namespace testsupport
