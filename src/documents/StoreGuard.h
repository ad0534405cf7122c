// Keeps the stores the program reads at start and writes later (the settings, the template
// store, the hot keys, the plug-in allow list) from being written over while the program does
// not hold their content: one that is there but could not be read would be replaced by
// defaults.
#pragma once
#include <string>

// Records how reading FileName went. One that could not be read is kept from being written,
// and the user is told so, naming it, the first time in this run; one read, or not there, may
// be written.
void NoteStoreRead(const std::string& FileName, bool Unreadable);
// Whether FileName may be written; for one that could not be read, false after telling the
// user that it was not saved.
bool StoreMayBeWritten(const std::string& FileName);
// Forgets every read noted, as a new run starts: for tests, which share one process.
void ForgetStoreReads();
