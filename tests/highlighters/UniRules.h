// Hand-written rule files for the universal highlighter's tests.
#pragma once
#include <string>
#include "highlighters/CodeUniversalHighlighter.h"
#include "rtl/Streams.h"

namespace unirules {

// A rule file whose root range has the given content, lines joined with CR LF.
inline std::string RuleFile(const std::string& RootContent, const std::string& Eol = "\r\n") {
  return "<UniversalHighlighter>" + Eol + " <Range Name=\"Root\">" + Eol + RootContent + Eol +
         " </Range>" + Eol + "</UniversalHighlighter>" + Eol;
}

// A keyword group with a foreground colour.
inline std::string Keywords(const std::string& Name, int Fore, const std::string& Words) {
  std::string s = "<KW Name=\"" + Name + "\"><Attri><Fore>" + std::to_string(Fore) +
                  "</Fore></Attri>";
  size_t start = 0;
  while (start <= Words.size()) {
    size_t blank = Words.find(' ', start);
    if (blank == std::string::npos) blank = Words.size();
    s += "<W>" + Words.substr(start, blank - start) + "</W>";
    start = blank + 1;
  }
  return s + "</KW>\r\n";
}

// A sub-range with a default foreground colour and further content.
inline std::string SubRange(const std::string& Name, const std::string& Open,
                            const std::string& Close, int Fore, const std::string& More = "") {
  return "<Range Name=\"" + Name + "\"><Def><Fore>" + std::to_string(Fore) +
         "</Fore></Def><OpenSymbol>" + Open + "</OpenSymbol><CloseSymbol>" + Close +
         "</CloseSymbol>\r\n" + More + "</Range>\r\n";
}

inline void Load(TCodeUniversalHighlighter& H, const std::string& Text) {
  TMemoryStream stream(Text);
  H.LoadFromStream(stream);
}

inline std::string Save(const TCodeUniversalHighlighter& H) {
  TMemoryStream stream;
  H.SaveToStream(stream);
  return stream.DataString();
}

}  // namespace unirules
