// The main block: collects the arguments and runs the main routine.
#include <windows.h>
#include <shellapi.h>
#include <string>
#include <vector>
#include "foundation/RegexLocaleWin32.h"
#include "mainwindow/MainBlock.h"
#include "rtl/SysUtils.h"

namespace {

// Read wide: the ANSI arguments would carry the system's look-alikes of names the code page
// cannot hold. Such an argument keeps "?" marks instead, so the window refuses it by name.
std::vector<std::string> Arguments() {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  if (!wide) return args;
  for (int i = 1; i < count; ++i) {
    std::string arg;
    WideToAnsiExact(wide[i], arg);
    args.push_back(arg);
  }
  LocalFree(wide);
  return args;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  InstallWin32RegexLocale();  // patterns with "i" fold case as the locale does
  return RunMainBlock(Arguments());
}
