// The parsers' fuzz targets. Each takes one input, runs it through a parser and checks what
// must hold for any input; it returns what went wrong, or "" when nothing did. libFuzzer runs
// them natively; the test programs replay every saved input through the same functions.
#pragma once
#include <string>
#include <vector>

std::string FuzzRegex(const std::string& Data);
std::string FuzzXmlRoundTrip(const std::string& Data);
std::string FuzzLanguageFile(const std::string& Data);
std::string FuzzHotKeyFile(const std::string& Data);
std::string FuzzContentRules(const std::string& Data);
std::string FuzzSessionFile(const std::string& Data);

struct TFuzzTarget {
  const char* Name;  // also the name of its corpus, dictionary and regression folders
  std::string (*Run)(const std::string& Data);
};
inline const TFuzzTarget FuzzTargetList[] = {
    {"regex", FuzzRegex},
    {"xml", FuzzXmlRoundTrip},
    {"language", FuzzLanguageFile},
    {"hotkeys", FuzzHotKeyFile},
    {"contentrules", FuzzContentRules},
    {"session", FuzzSessionFile}};

// A file name of its own for this process and purpose in the temporary folder, so parallel
// fuzzing jobs do not read each other's inputs.
std::string FuzzTempFile(const std::string& Name);
// Data written to File; false when it could not be.
bool FuzzWriteFile(const std::string& File, const std::string& Data);

// Data cut at the first Count - 1 separators: always Count fields, missing ones empty.
std::vector<std::string> FuzzFields(const std::string& Data, char Separator, size_t Count);
