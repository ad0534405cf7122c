// The application interface handed to every plug-in: a counted object with a fixed table.
#pragma once
#include <windows.h>

// What a plug-in receives: a pointer to the address of the entry-point table.
struct IApp {
  const void* const* Table;
};

// {086858BB-DF5D-4F85-B380-CF8EC80E384E}
extern const GUID IID_IApp;

// A new object holding one reference, the program's own.
IApp* CreateApp();
// Releases the program's reference; the object goes when the plug-ins let go of theirs too.
void ReleaseApp(IApp* App);
// Live objects (for tests: every one goes once its references are gone).
int LiveAppCount();
