// What the XML model needs of the system: its files and the ANSI code page to and from UTF-8.
// Kept apart so that reading and writing XML text builds without Windows as well.
#pragma once
#include <string>

// Characters the target cannot represent become the conversion's default character.
std::string XmlAnsiToUtf8(const std::string& Text);
std::string XmlUtf8ToAnsi(const std::string& Text);
