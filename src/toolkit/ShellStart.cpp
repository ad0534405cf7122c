#include "toolkit/ShellStart.h"
#include <windows.h>
#include <shellapi.h>

namespace {
std::function<bool(const std::string&)>& Override() {
  static std::function<bool(const std::string&)> override;
  return override;
}
}  // namespace

bool ShellStart(const std::string& Target) {
  if (Override()) return Override()(Target);
  // The shell reports success with a value above 32.
  auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteA(nullptr, nullptr, Target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return result > 32;
}

void SetShellStartOverride(std::function<bool(const std::string&)> O) {
  Override() = std::move(O);
}
