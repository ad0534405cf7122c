#include "toolkit/KeyState.h"
#include <windows.h>

namespace {
std::function<bool(int)>& Override() {
  static std::function<bool(int)> override;
  return override;
}
}  // namespace

bool IsKeyDown(int VirtualKey) {
  if (Override()) return Override()(VirtualKey);
  return (GetKeyState(VirtualKey) & 0x8000) != 0;
}

void SetKeyStateOverride(std::function<bool(int)> O) { Override() = std::move(O); }
