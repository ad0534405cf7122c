// File names the system hands in as wide text (file dialogs, dropped files), taken into the
// program's ANSI text only where the ANSI code page holds them exactly.
#pragma once
#include <windows.h>
#include <shellapi.h>
#include <string>
#include <vector>

// The names that convert exactly, in order; the others go to Refused as WideToAnsiExact shows
// them, never as the look-alike names the system would make of them.
std::vector<std::string> ExactNames(const std::vector<std::wstring>& Names,
                                    std::vector<std::string>& Refused);

// The names of the dropped files as ExactNames takes them; the drop stays the caller's to free.
std::vector<std::string> DroppedFileNames(HDROP Drop, std::vector<std::string>& Refused);
