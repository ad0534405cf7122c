// Whether a document's text is whole and well-formed, before the program takes it in for good.
#include "documents/XmlDoc.h"
#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace {
const char* const kBlanks = " \t\r\n";

bool StartsAt(const std::string& Data, size_t Pos, const char* Head) {
  return Data.compare(Pos, std::char_traits<char>::length(Head), Head) == 0;
}

bool IsBlank(const std::string& Text) { return Text.find_first_not_of(kBlanks) == std::string::npos; }

bool IsAsciiAlnum(char C) { return std::isalnum(static_cast<unsigned char>(C)) && !(C & 0x80); }

// Every "&" starts a reference that ends with ";": "&name;", "&#digits;" or "&#xhex;".
bool ReferencesComplete(const std::string& Text) {
  for (size_t at = Text.find('&'); at != std::string::npos; at = Text.find('&', at + 1)) {
    size_t p = at + 1;
    const bool numeric = p < Text.size() && Text[p] == '#';
    const bool hex = numeric && p + 1 < Text.size() && (Text[p + 1] == 'x' || Text[p + 1] == 'X');
    p += numeric + hex;
    const size_t start = p;
    while (p < Text.size() && (hex ? std::isxdigit(static_cast<unsigned char>(Text[p])) != 0
                               : numeric ? std::isdigit(static_cast<unsigned char>(Text[p])) != 0
                                         : IsAsciiAlnum(Text[p])))
      ++p;
    if (p == start || p >= Text.size() || Text[p] != ';') return false;
  }
  return true;
}

// Blank-separated name="value" or name='value' pairs with valid names and complete references.
bool AttributesWellFormed(const std::string& Text) {
  size_t p = Text.find_first_not_of(kBlanks);
  while (p != std::string::npos) {
    const size_t equals = Text.find('=', p);
    if (equals == std::string::npos) return false;
    const size_t nameEnd = Text.find_last_not_of(kBlanks, equals - 1);
    if (nameEnd == std::string::npos || nameEnd < p || !IsXmlNodeName(Text.substr(p, nameEnd - p + 1)))
      return false;
    const size_t open = Text.find_first_not_of(kBlanks, equals + 1);
    if (open == std::string::npos || (Text[open] != '"' && Text[open] != '\'')) return false;
    const size_t close = Text.find(Text[open], open + 1);
    if (close == std::string::npos) return false;
    const std::string value = Text.substr(open + 1, close - open - 1);
    if (value.find('<') != std::string::npos || !ReferencesComplete(value)) return false;
    if (close + 1 < Text.size() && std::string(kBlanks).find(Text[close + 1]) == std::string::npos)
      return false;
    p = Text.find_first_not_of(kBlanks, close + 1);
  }
  return true;
}

// The name of a tag and its attributes. A name may start with "?": instructions, and elements
// read from such a start tag, which the writer writes back the same way.
bool NameAndAttributesWellFormed(const std::string& Tag) {
  const size_t split = std::min(Tag.find_first_of(kBlanks), Tag.size());
  const std::string name = Tag.substr(0, split);
  const bool named =
      !name.empty() && (name == "?" || IsXmlNodeName(name[0] == '?' ? name.substr(1) : name));
  return named && AttributesWellFormed(Tag.substr(split));
}

// One tag without its "<" and ">": instructions and empty elements stand alone, a start tag
// opens an element and an end tag closes the innermost open one of its name.
bool TagWellFormed(const std::string& Tag, std::vector<std::string>& Open) {
  for (unsigned char c : Tag)
    if (c < ' ' && std::string(kBlanks).find(static_cast<char>(c)) == std::string::npos) return false;
  if (Tag.empty() || Tag.find('<') != std::string::npos) return false;
  if (Tag[0] == '!') return Open.empty();  // a declaration stands before the elements
  if (Tag[0] == '?' && Tag.size() > 1 && Tag.back() == '?')
    return NameAndAttributesWellFormed(Tag.substr(0, Tag.size() - 1));
  if (Tag[0] == '/') {
    if (Open.empty() || Tag.substr(1, Tag.find_last_not_of(kBlanks)) != Open.back()) return false;
    Open.pop_back();
    return true;
  }
  if (Tag.back() == '/') return NameAndAttributesWellFormed(Tag.substr(0, Tag.size() - 1));
  if (!NameAndAttributesWellFormed(Tag)) return false;
  Open.push_back(Tag.substr(0, Tag.find_first_of(kBlanks)));
  return true;
}

// The position after a comment or CDATA section starting at At; npos when it does not end or
// is a CDATA section outside the elements.
size_t SectionEnd(const std::string& Data, size_t At, bool InElement) {
  const bool comment = StartsAt(Data, At, "<!--");
  if (!comment && !InElement) return std::string::npos;
  const size_t end = Data.find(comment ? "-->" : "]]>", At + (comment ? 4 : 9));
  return end == std::string::npos ? end : end + 3;
}
}  // namespace

bool IsWellFormedXml(const std::string& Data) {
  std::vector<std::string> open;  // the names of the elements not yet closed
  size_t pos = StartsAt(Data, 0, "\xEF\xBB\xBF") ? 3 : 0;
  for (;;) {
    const size_t lt = Data.find('<', pos);
    const std::string text = Data.substr(pos, lt == std::string::npos ? std::string::npos : lt - pos);
    if (open.empty() ? !IsBlank(text) : !ReferencesComplete(text)) return false;
    if (lt == std::string::npos) return open.empty();
    if (StartsAt(Data, lt, "<!--") || StartsAt(Data, lt, "<![CDATA[")) {
      pos = SectionEnd(Data, lt, !open.empty());
      if (pos == std::string::npos) return false;
      continue;
    }
    const size_t gt = Data.find('>', lt + 1);
    if (gt == std::string::npos || !TagWellFormed(Data.substr(lt + 1, gt - lt - 1), open)) return false;
    pos = gt + 1;
  }
}
