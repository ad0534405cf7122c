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

namespace {
std::function<bool(const TShellRequest&)>& RunOverride() {
  static std::function<bool(const TShellRequest&)> override;
  return override;
}
}  // namespace

bool ShellRun(const TShellRequest& Request) {
  if (RunOverride()) return RunOverride()(Request);
  auto result = reinterpret_cast<INT_PTR>(ShellExecuteA(
      nullptr, Request.Verb.empty() ? nullptr : Request.Verb.c_str(), Request.File.c_str(),
      Request.Parameters.empty() ? nullptr : Request.Parameters.c_str(), nullptr,
      Request.ShowCmd));
  return result > 32;
}

void SetShellRunOverride(std::function<bool(const TShellRequest&)> O) {
  RunOverride() = std::move(O);
}
