// Input: a language file, then a key, a German default and parameters (separated by the
// character of code 1, as callers pass them), each field ended by a NUL byte.
#include <cstdio>
#include <string>
#include "FuzzTargets.h"
#include "documents/fLanguage.h"
#include "rtl/SysUtils.h"

namespace {
// Lines are kept trimmed, never empty and never comments.
std::string CheckLines(int Count) {
  if (Count != LanguageTexts.Count()) return "the count returned is not the count kept";
  for (int i = 0; i < LanguageTexts.Count(); ++i) {
    const std::string line = LanguageTexts[i];
    if (line.empty() || line[0] == '#' || Trim(line) != line) return "a kept line is empty, a comment or untrimmed";
  }
  return {};
}

// A key holding "=" matches no line, so plain text without escapes comes back unchanged
// (codes 1 and 2 stand for parameters and "%" inside the lookup).
std::string CheckMissingKey(const std::string& Default) {
  if (Default.find_first_of("%$\x01\x02") != std::string::npos) return {};
  if (GetLangText("no=such|key", Default) != Default) return "a missing key does not give its default";
  return {};
}
}  // namespace

std::string FuzzLanguageFile(const std::string& Data) {
  const auto f = FuzzFields(Data, '\0', 4);
  static const std::string file = FuzzTempFile("language.lng");
  if (!FuzzWriteFile(file, f[0])) return "the language file could not be written";
  const int count = LoadLanguageFile(file);
  std::remove(file.c_str());
  if (std::string fault = CheckLines(count); !fault.empty()) return fault;
  if (std::string fault = CheckMissingKey(f[2]); !fault.empty()) return fault;
  GetLangText(f[1], f[2]);
  GetLangText(f[1], f[2], f[3]);
  // Every key of the file, with and without parameters.
  for (int i = 0; i < LanguageTexts.Count() && i < 16; ++i) {
    const std::string line = LanguageTexts[i];
    const std::string key = line.substr(0, line.find('='));
    GetLangText(key, f[2]);
    GetLangText(key, f[2], f[3]);
  }
  return {};
}
