// Native stand-in for the program's helper header, which needs Windows: only the text
// helpers the fuzzed parsers call, with the same contracts.
#pragma once
#include <string>

std::string ReplaceChar(const std::string& Text, char OldChar, char NewChar);
// Left to right, never searching an inserted replacement again; IgnoreCase folds A-Z only.
std::string ReplaceAll(const std::string& Text, const std::string& Find,
                       const std::string& Replacement, bool IgnoreCase);
// "&&" -> "&", single "&" removed.
std::string StripAccelChars(const std::string& Caption);
