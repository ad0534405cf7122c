// What the XML model needs of the system: its files and the ANSI code page to and from UTF-8.
// Kept apart so that reading and writing XML text builds without Windows as well.
#pragma once
#include <string>

// A character the ANSI code page lacks, and broken UTF-8, becomes "?", never a look-alike: a
// store that must keep its text checks that the text comes back the same (IsWellFormedXml).
std::string XmlAnsiToUtf8(const std::string& Text);
std::string XmlUtf8ToAnsi(const std::string& Text);
// Whether a file could now be saved as FileName: an existing one may be overwritten and its
// folder takes a new file. Makes and removes a file there to find out.
bool CanReplaceFile(const std::string& FileName);
