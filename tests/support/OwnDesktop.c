/* Runs a program on a window station and desktop of its own and returns its exit code.
   Programs run side by side then never cover each other's windows or take each other's
   activation, and none sees another's clipboard, which belongs to the window station; the
   programs they start themselves inherit both. */
#include <windows.h>
#include <stdio.h>

/* The command line after this program's own name. */
static char* Arguments(char* Line) {
  int quoted = 0;
  for (; *Line && (quoted || (*Line != ' ' && *Line != '\t')); ++Line)
    if (*Line == '"') quoted = !quoted;
  while (*Line == ' ' || *Line == '\t') ++Line;
  return Line;
}

int main(void) {
  char name[64];
  char place[2 * sizeof name];
  STARTUPINFOA si;
  PROCESS_INFORMATION pi;
  DWORD code = 1;
  snprintf(name, sizeof name, "tarvoline-test-%lu", GetCurrentProcessId());
  snprintf(place, sizeof place, "%s\\%s", name, name);
  /* The desktop is made in the process's window station, so that one comes first. Wine draws
     the windows of a station not marked visible nowhere: no display, no mouse. */
  HWINSTA station = CreateWindowStationA(name, 0, WINSTA_ALL_ACCESS, NULL);
  USEROBJECTFLAGS shown = {FALSE, FALSE, WSF_VISIBLE};
  if (!station || !SetUserObjectInformationA(station, UOI_FLAGS, &shown, sizeof shown) ||
      !SetProcessWindowStation(station)) {
    fprintf(stderr, "own-desktop: no window station (%lu)\n", GetLastError());
    return 1;
  }
  HDESK desktop = CreateDesktopA(name, NULL, NULL, 0, GENERIC_ALL, NULL);
  /* The started process takes this thread's desktop as the one for all its threads. */
  if (!desktop || !SetThreadDesktop(desktop)) {
    fprintf(stderr, "own-desktop: no desktop (%lu)\n", GetLastError());
    return 1;
  }
  ZeroMemory(&si, sizeof si);
  si.cb = sizeof si;
  si.lpDesktop = place;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  si.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  if (!CreateProcessA(NULL, Arguments(GetCommandLineA()), NULL, NULL, TRUE, 0, NULL, NULL, &si, &pi)) {
    fprintf(stderr, "own-desktop: cannot start (%lu)\n", GetLastError());
    return 1;
  }
  WaitForSingleObject(pi.hProcess, INFINITE);
  GetExitCodeProcess(pi.hProcess, &code);
  return (int)code;
}
