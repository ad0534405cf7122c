// Web-page lines on which the script start marker's expression runs out of search steps.
#pragma once
#include <string>
#include <vector>

namespace testsupport {

// A script start with one line of 1,000 JSON pairs whose values hold a "j".
inline std::string JsonScriptLine() {
  std::string line = "<script type=\"application/json\">{";
  for (int i = 0; i < 1000; ++i)
    line += "\"key" + std::to_string(i) + "\":\"j" + std::to_string(i) + "\",";
  line.back() = '}';
  return line;
}

// A script start with a 30 KB base64 data address.
inline std::string Base64ScriptLine() {
  static const char kBase64[] = "iVBORw0KGgoAAAANSUhEUgAAAAEAAAAjCAYAAAB+/";
  std::string line = "<script type=\"text/javascript\">var logo=\"data:image/png;base64,";
  for (size_t i = 0; line.size() < 30 * 1024; ++i) line += kBase64[i % (sizeof kBase64 - 1)];
  return line + "\";";
}

// A 20 KB script start with a "j" every 20 characters and no "<" after it.
inline std::string EveryTwentyJScriptLine() {
  std::string line = "<script src=x ";
  while (line.size() < 20 * 1024) line += "abcdefghijklmnopqrs ";
  for (size_t i = 14; i < line.size(); i += 20) line[i] = 'j';
  return line;
}

inline std::vector<std::string> RunawayMarkerLines() {
  return {JsonScriptLine(), Base64ScriptLine(), EveryTwentyJScriptLine()};
}

}  // namespace testsupport
