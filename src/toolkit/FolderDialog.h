// The shell's folder picker, asked through the modal seam like the other dialogs.
#pragma once
#include <windows.h>
#include <string>

// The chosen file-system folder; empty when cancelled, and when the ANSI code page cannot hold
// its name (that is reported through ReportRefusedNames). NewStyle gives the resizable dialog
// with an edit box and a status text. Tests answer it as ModalKind::FolderDialog (value).
std::string ExecuteFolderDialog(HWND Owner, const std::string& Title, bool NewStyle);
