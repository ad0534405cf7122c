#include "toolkit/ProgramStart.h"
#include <windows.h>
#include <shellapi.h>

namespace {
std::function<bool(const std::string&, const std::string&)>& Override() {
  static std::function<bool(const std::string&, const std::string&)> override;
  return override;
}
}  // namespace

bool ShellOpenProgram(const std::string& Program, const std::string& Params) {
  if (Override()) return Override()(Program, Params);
  auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteA(nullptr, "open", Program.c_str(), Params.c_str(), nullptr, SW_SHOWNORMAL));
  return result > 32;
}

void SetProgramStartOverride(std::function<bool(const std::string&, const std::string&)> O) {
  Override() = std::move(O);
}
