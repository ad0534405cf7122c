// Gives the regular-expression engine the case mapping of the system's ANSI code page;
// the program calls it once at start, before any pattern is compiled.
#pragma once

void InstallWin32RegexLocale();
