// The text an HTML export in the document form shows, for round-trip tests of the exporter.
#pragma once
#include <windows.h>
#include <map>
#include <string>
#include "printing/CodeExportHTML.h"

namespace testsupport {

// The text of a document's <pre> element: tags removed, references decoded to the ANSI code
// page. The line break the element's closing tags stand after is layout, not text.
inline std::string PreText(const std::string& Document) {
  std::map<std::string, char> named;
  for (int c = 0; c < 256; ++c) {
    const std::string entity = TCodeExporterHTML::EntityName(static_cast<unsigned char>(c));
    if (!entity.empty()) named[entity] = static_cast<char>(c);
  }
  const size_t begin = Document.find("<pre>\r\n") + 7;
  const size_t end = Document.find("\r\n</code></pre>");
  std::string text;
  for (size_t i = begin; i < end; ++i) {
    if (Document[i] == '<') {
      i = Document.find('>', i);
    } else if (Document[i] == '&') {
      const size_t semicolon = Document.find(';', i);
      const std::string entity = Document.substr(i, semicolon - i + 1);
      if (entity[1] == '#') {
        const wchar_t wide = static_cast<wchar_t>(std::stoul(entity.substr(2)));
        char ansi = 0;
        WideCharToMultiByte(1252, 0, &wide, 1, &ansi, 1, nullptr, nullptr);
        text += ansi;
      } else {
        text += named.at(entity);
      }
      i = semicolon;
    } else {
      text += Document[i];
    }
  }
  return text;
}

}  // namespace testsupport
