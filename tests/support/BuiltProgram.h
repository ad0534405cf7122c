// The built program's file and folder, for test programs compiled with TARVOLINE_EXE (its path
// in the build, as the host names it).
#pragma once
#include <string>

// The host path as Wine's Z: drive sees it.
inline std::string BuiltProgramPath() {
  std::string p = TARVOLINE_EXE;
  if (!p.empty() && p[0] == '/') p = "Z:" + p;
  for (char& c : p)
    if (c == '/') c = '\\';
  return p;
}

// With a trailing backslash, as the program's own folder is kept.
inline std::string BuiltProgramFolder() {
  std::string p = BuiltProgramPath();
  return p.substr(0, p.rfind('\\') + 1);
}
