// The main block: starts the application and shows the main window.
#include <windows.h>
#include "foundation/RegexLocaleWin32.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  InstallWin32RegexLocale();  // patterns with "i" fold case as the locale does
  Application().Initialize();
  TForm mainForm(nullptr, {"Tarvoline", 800, 600});
  Application().SetMainForm(&mainForm);
  Application().Run();
  return 0;
}
