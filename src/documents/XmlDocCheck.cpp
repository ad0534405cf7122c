// Whether a document's text is whole and well-formed, before the program takes it in for good.
// The rules follow what the reader keeps and the writer writes back: what they would drop is
// refused, so that a file is either read whole or set aside unchanged.
#include "documents/XmlDoc.h"
#include <algorithm>
#include <cctype>
#include <string>
#include <vector>
#include "documents/XmlDocSystem.h"

namespace {
const char* const kBlanks = " \t\r\n";

bool StartsAt(const std::string& Data, size_t Pos, const char* Head) {
  return Data.compare(Pos, std::char_traits<char>::length(Head), Head) == 0;
}

bool IsBlank(const std::string& Text) { return Text.find_first_not_of(kBlanks) == std::string::npos; }

bool IsAsciiAlnum(char C) { return std::isalnum(static_cast<unsigned char>(C)) && !(C & 0x80); }

// The reader turns the text of a UTF-8 document into the ANSI code page: what does not come
// back the same from there would be lost.
bool KeptInAnsi(const std::string& Text) { return XmlAnsiToUtf8(XmlUtf8ToAnsi(Text)) == Text; }

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
// A name given twice (in any case) would lose the first value on reading.
bool AttributesWellFormed(const std::string& Text, bool Utf8) {
  std::vector<std::string> names;
  size_t p = Text.find_first_not_of(kBlanks);
  while (p != std::string::npos) {
    const size_t equals = Text.find('=', p);
    if (equals == std::string::npos) return false;
    const size_t nameEnd = Text.find_last_not_of(kBlanks, equals - 1);
    if (nameEnd == std::string::npos || nameEnd < p) return false;
    const std::string name = Text.substr(p, nameEnd - p + 1);
    if (!IsXmlNodeName(name)) return false;
    for (const std::string& earlier : names)
      if (AnsiSameText(earlier, name)) return false;
    names.push_back(name);
    const size_t open = Text.find_first_not_of(kBlanks, equals + 1);
    if (open == std::string::npos || (Text[open] != '"' && Text[open] != '\'')) return false;
    const size_t close = Text.find(Text[open], open + 1);
    if (close == std::string::npos) return false;
    const std::string value = Text.substr(open + 1, close - open - 1);
    if (value.find('<') != std::string::npos || !ReferencesComplete(value)) return false;
    if (Utf8 && !KeptInAnsi(value)) return false;
    if (close + 1 < Text.size() && std::string(kBlanks).find(Text[close + 1]) == std::string::npos)
      return false;
    p = Text.find_first_not_of(kBlanks, close + 1);
  }
  return true;
}

// A control character other than a blank outside a quoted value. Inside values they are kept:
// earlier versions wrote them there as they stood.
bool HasStrayControl(const std::string& Tag) {
  char quote = 0;
  for (const char c : Tag) {
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (static_cast<unsigned char>(c) < ' ' && std::string(kBlanks).find(c) == std::string::npos) {
      return true;
    }
  }
  return false;
}

std::string NameOf(const std::string& Tag) { return Tag.substr(0, Tag.find_first_of(kBlanks)); }

// The name of a tag and its attributes. A name may start with "?" outside the elements:
// instructions, and elements read from such a start tag, which the writer writes back the
// same way. Inside an element it would become a child that no path names.
// Utf8: the values are converted on reading.
bool NameAndAttributesWellFormed(const std::string& Tag, bool InElement, bool Utf8) {
  const std::string name = NameOf(Tag);
  const std::string plain = !InElement && name.size() > 1 && name[0] == '?' ? name.substr(1) : name;
  const bool named = (!InElement && name == "?") || IsXmlNodeName(plain);
  return named && AttributesWellFormed(Tag.substr(name.size()), Utf8);
}

// What a stretch of an element's text holds. CDATA counts as text even when empty: the
// section is part of the value.
enum class TText { None, Blank, Kept };

struct TOpenElement {
  std::string Name;
  bool Children = false;
  // A comment or a child came since the start tag: the reader's value is the text before it
  // and it skips the text after it.
  bool AfterMarkup = false;
  TText Leading = TText::None;
  TText Later = TText::None;
};

class TDocumentCheck {
public:
  explicit TDocumentCheck(const std::string& Data) : data_(Data) {}

  bool Run() {
    // The writer writes a zero byte as "&#0;": one standing as it is was never written by the
    // program, and a dialog's field would cut the text there.
    if (data_.find('\0') != std::string::npos) return false;
    size_t pos = StartsAt(data_, 0, "\xEF\xBB\xBF") ? 3 : 0;
    for (;;) {
      const size_t lt = data_.find('<', pos);
      if (!TakeText(data_.substr(pos, lt == std::string::npos ? std::string::npos : lt - pos), false))
        return false;
      if (lt == std::string::npos) return open_.empty();
      if (StartsAt(data_, lt, "<!--")) {
        pos = CommentEnd(lt);
        if (pos == std::string::npos) return false;
        if (!open_.empty()) open_.back().AfterMarkup = true;
        continue;
      }
      if (StartsAt(data_, lt, "<![CDATA[")) {
        const size_t end = data_.find("]]>", lt + 9);
        if (end == std::string::npos || !TakeText(data_.substr(lt + 9, end - lt - 9), true)) return false;
        pos = end + 3;
        continue;
      }
      const size_t gt = data_.find('>', lt + 1);
      if (gt == std::string::npos || !TakeTag(data_.substr(lt + 1, gt - lt - 1))) return false;
      pos = gt + 1;
    }
  }

private:
  // As the reader ends a comment: at its first ">" when the tag ends with "--", else at the
  // next "-->".
  size_t CommentEnd(size_t Lt) const {
    const size_t gt = data_.find('>', Lt + 1);
    if (gt == std::string::npos) return gt;
    const std::string tag = Trim(data_.substr(Lt + 1, gt - Lt - 1));
    if (tag.size() >= 5 && tag.compare(tag.size() - 2, 2, "--") == 0) return gt + 1;
    const size_t end = data_.find("-->", gt + 1);
    return end == std::string::npos ? end : end + 3;
  }

  bool TakeText(const std::string& Text, bool Cdata) {
    if (open_.empty()) return !Cdata && IsBlank(Text);
    if ((!Cdata && !ReferencesComplete(Text)) || (utf8_ && !KeptInAnsi(Text))) return false;
    if (Text.empty() && !Cdata) return true;
    TOpenElement& e = open_.back();
    TText& stretch = e.AfterMarkup ? e.Later : e.Leading;
    stretch = std::max(stretch, Cdata || !IsBlank(Text) ? TText::Kept : TText::Blank);
    return true;
  }

  // One tag without its "<" and ">".
  bool TakeTag(const std::string& Tag) {
    if (HasStrayControl(Tag) || Tag.empty() || Tag.find('<') != std::string::npos) return false;
    const bool instruction = Tag[0] == '?' && Tag.size() > 1 && Tag.back() == '?';
    // The reader makes the first tag the root: only the declaration keeps the elements.
    if (!declared_) {
      declared_ = instruction && SameText(NameOf(Tag.substr(0, Tag.size() - 1)), "?xml");
      return declared_ && Declaration(Tag.substr(0, Tag.size() - 1));
    }
    const bool inElement = !open_.empty();
    if (Tag[0] == '!') return !inElement;  // a document type stands before the elements
    if (instruction)
      return !inElement && NameAndAttributesWellFormed(Tag.substr(0, Tag.size() - 1), false, utf8_);
    if (Tag[0] == '/') return Close(Tag.substr(1, Tag.find_last_not_of(kBlanks)));
    const bool empty = Tag.back() == '/';
    const std::string element = empty ? Tag.substr(0, Tag.size() - 1) : Tag;
    if (!NameAndAttributesWellFormed(element, inElement, utf8_) || !StartChild()) return false;
    if (!empty) open_.push_back({NameOf(element)});
    return true;
  }

  // Its values are read before the encoding is known; the encoding applies to what follows.
  bool Declaration(const std::string& Tag) {
    if (!NameAndAttributesWellFormed(Tag, false, false)) return false;
    TXmlAttribList attributes;
    attributes.Parse(Tag.substr(NameOf(Tag).size()), "");
    utf8_ = SameText(TXmlAttrib::GetValue(attributes.Find("encoding")), "UTF-8");
    return true;
  }

  // Past the depth limit the reader drops an element's children.
  bool StartChild() {
    if (open_.size() >= static_cast<size_t>(TXmlNode::MaxXmlDepth)) return false;
    if (!open_.empty()) {
      open_.back().Children = true;
      open_.back().AfterMarkup = true;
    }
    return true;
  }

  // The writer writes an element with children without its text, and the reader skips text
  // after a comment or a child.
  bool Close(const std::string& Name) {
    if (open_.empty() || Name != open_.back().Name) return false;
    const TOpenElement e = open_.back();
    open_.pop_back();
    return e.Children ? e.Leading != TText::Kept && e.Later != TText::Kept : e.Later == TText::None;
  }

  const std::string& data_;
  std::vector<TOpenElement> open_;  // the elements not yet closed
  bool declared_ = false;
  bool utf8_ = false;  // the declaration names UTF-8
};
}  // namespace

bool IsWellFormedXml(const std::string& Data) { return TDocumentCheck(Data).Run(); }
