// The main block: collects the arguments and runs the main routine.
#include <windows.h>
#include <cstdlib>
#include <string>
#include <vector>
#include "foundation/RegexLocaleWin32.h"
#include "mainwindow/MainBlock.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  InstallWin32RegexLocale();  // patterns with "i" fold case as the locale does
  std::vector<std::string> args(__argv + 1, __argv + __argc);
  return RunMainBlock(args);
}
