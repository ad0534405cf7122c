// Work sessions (*.tvs): the open documents with their positions and the active one, saved to
// a file and opened again.
#pragma once
#include <string>

// The session file filter: "Arbeitssitzung (*.tvs)|*.tvs|Alle Dateien (*.*)|*.*".
std::string SessionFilter();
// Asks for a session file and opens its documents; they replace the open ones unless Ctrl is
// held when the command starts or when the dialog closes. Cancelling a save question while
// the open documents close stops the command.
void OpenSession();
// Opens the documents of a session file (skipping files that no longer exist), each read with
// its byte-order mark, and activates the one that was active. Add keeps the open documents; false when they could not all be
// closed (the user cancelled).
bool LoadSession(const std::string& FileName, bool Add);
// Asks for a file name (session extension added for the session filter) and saves.
void SaveSessionAs();
// Writes the open documents' list to the file; false (and a message) when it cannot be written.
bool WriteSession(const std::string& FileName);
