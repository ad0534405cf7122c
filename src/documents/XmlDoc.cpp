#include "documents/XmlDoc.h"
#include <algorithm>
#include "documents/XmlDocSystem.h"
#include <unordered_map>

namespace {
const char* const kValueBlocksChildren = "Node contains a value, no subnodes allowed.";
const char* const kChildrenBlockValue = "Node contains subnodes, no value allowed.";
const char* const kCRLF = "\r\n";

// HTML 4 names of the Latin-1 characters 161 to 255.
const char* const kLatin1Names[95] = {
    "iexcl", "cent", "pound", "curren", "yen", "brvbar", "sect", "uml", "copy", "ordf",
    "laquo", "not", "shy", "reg", "macr", "deg", "plusmn", "sup2", "sup3", "acute",
    "micro", "para", "middot", "cedil", "sup1", "ordm", "raquo", "frac14", "frac12", "frac34",
    "iquest", "Agrave", "Aacute", "Acirc", "Atilde", "Auml", "Aring", "AElig", "Ccedil", "Egrave",
    "Eacute", "Ecirc", "Euml", "Igrave", "Iacute", "Icirc", "Iuml", "ETH", "Ntilde", "Ograve",
    "Oacute", "Ocirc", "Otilde", "Ouml", "times", "Oslash", "Ugrave", "Uacute", "Ucirc", "Uuml",
    "Yacute", "THORN", "szlig", "agrave", "aacute", "acirc", "atilde", "auml", "aring", "aelig",
    "ccedil", "egrave", "eacute", "ecirc", "euml", "igrave", "iacute", "icirc", "iuml", "eth",
    "ntilde", "ograve", "oacute", "ocirc", "otilde", "ouml", "divide", "oslash", "ugrave", "uacute",
    "ucirc", "uuml", "yacute", "thorn", "yuml"};

constexpr int kBasicRows = 4;  // & " < > come first in the table
constexpr size_t kLongestReference = 8;  // "&Dstrok;"

std::vector<TCodingTableEntry> BuildCodingTable() {
  auto row = [](int code, const std::string& name) {
    return TCodingTableEntry{static_cast<char>(code), "&" + name + ";", "&#" + std::to_string(code) + ";"};
  };
  std::vector<TCodingTableEntry> t = {row('&', "amp"), row('"', "quot"), row('<', "lt"), row('>', "gt")};
  t.push_back({' ', "&nbsp;", "&#160;"});
  for (int code = 161; code <= 255; ++code) {
    t.push_back(row(code, kLatin1Names[code - 161]));
    if (code == 175) t.push_back(row(175, "hibar"));
    if (code == 208) t.push_back(row(208, "Dstrok"));
  }
  return t;
}

using TReferenceMap = std::unordered_map<std::string, char>;

constexpr int kLastControlCode = 31;

// A tag cannot hold control characters, so attribute values carry them as references.
bool IsControlWrittenAsReference(unsigned char C) {
  return C <= kLastControlCode && C != '\t' && C != '\r' && C != '\n';
}

// The table's rows, and in every encoding the numeric references of the control characters.
TReferenceMap BuildReferenceMap(size_t Rows) {
  TReferenceMap map;
  const auto& table = CodingTable();
  for (size_t i = 0; i < Rows && i < table.size(); ++i) {
    map.emplace(table[i].Named, table[i].Char);
    map.emplace(table[i].Numeric, table[i].Char);
  }
  for (int code = 0; code <= kLastControlCode; ++code)
    map.emplace("&#" + std::to_string(code) + ";", static_cast<char>(code));
  return map;
}

// One pass from left to right: a character produced here is never looked at again.
std::string DecodeReferences(const std::string& Text, const TReferenceMap& Map) {
  std::string r;
  r.reserve(Text.size());
  size_t i = 0;
  while (i < Text.size()) {
    if (Text[i] == '&') {
      // Only as far as the longest reference, so text full of "&" stays linear.
      size_t semi = Text.substr(i + 1, kLongestReference - 1).find(';');
      if (semi != std::string::npos) {
        semi += i + 1;
        auto it = Map.find(Text.substr(i, semi - i + 1));
        if (it != Map.end()) {
          r += it->second;
          i = semi + 1;
          continue;
        }
      }
    }
    r += Text[i++];
  }
  return r;
}

// The four basic references, and a zero byte as "&#0;": a file holding one is damaged.
std::string EncodeBasicReferences(const std::string& Text) {
  std::string r;
  r.reserve(Text.size());
  for (char c : Text) {
    switch (c) {
      case '&': r += "&amp;"; break;
      case '<': r += "&lt;"; break;
      case '>': r += "&gt;"; break;
      case '"': r += "&quot;"; break;
      case '\0': r += "&#0;"; break;
      default: r += c;
    }
  }
  return r;
}

enum class TXmlEncoding { Latin1, Utf8, Other };

TXmlEncoding EncodingOf(const std::string& Name) {
  std::string upper = AnsiUpperCase(Name);
  if (upper == "ISO-8859-1") return TXmlEncoding::Latin1;
  if (upper == "UTF-8") return TXmlEncoding::Utf8;
  return TXmlEncoding::Other;
}

// CDATA text is not entity-coded, but a UTF-8 file still holds it in UTF-8.
std::string CdataToFile(const std::string& Text, const std::string& Encoding) {
  return EncodingOf(Encoding) == TXmlEncoding::Utf8 ? XmlAnsiToUtf8(Text) : Text;
}

std::string CdataFromFile(const std::string& Text, const std::string& Encoding) {
  return EncodingOf(Encoding) == TXmlEncoding::Utf8 ? XmlUtf8ToAnsi(Text) : Text;
}

// "]]>" inside the value would end the section early: it is split over two sections. A zero
// byte goes between two sections as "&#0;", which the reader adds to the value.
std::string CdataSection(const std::string& Text, const std::string& Encoding) {
  const std::string body = CdataToFile(Text, Encoding);
  std::string r = "<![CDATA[";
  for (size_t i = 0; i < body.size(); ++i) {
    if (body[i] == '\0') {
      r += "]]>&#0;<![CDATA[";
    } else if (body.compare(i, 3, "]]>") == 0) {
      r += "]]]]><![CDATA[>";
      i += 2;
    } else {
      r += body[i];
    }
  }
  return r + "]]>";
}

// A backslash is appended unless present; every piece before a backslash is taken.
std::vector<std::string> SplitPath(const std::string& Path) {
  std::string p = Path;
  if (p.empty() || p.back() != '\\') p += '\\';
  std::vector<std::string> pieces;
  size_t start = 0;
  for (size_t at; (at = p.find('\\', start)) != std::string::npos; start = at + 1)
    pieces.push_back(p.substr(start, at - start));
  return pieces;
}

void CheckNewNodeName(const std::string& Name) {
  if (!IsXmlNodeName(Name)) throw ERangeError("Invalid node name \"" + Name + "\".");
}

// The first item of that name, without regard to case; -1 when none.
template <class Items>
int IndexByName(const Items& List, const std::string& Name) {
  for (size_t i = 0; i < List.size(); ++i)
    if (AnsiSameText(List[i]->Name, Name)) return static_cast<int>(i);
  return -1;
}

bool EndsWith(const std::string& S, const std::string& Tail) {
  return S.size() >= Tail.size() && S.compare(S.size() - Tail.size(), Tail.size(), Tail) == 0;
}

bool StartsWith(const std::string& S, const std::string& Head) { return S.compare(0, Head.size(), Head) == 0; }

std::string AttributeValueText(const std::string& Value, const std::string& Encoding) {
  std::string r;
  for (char c : XmlEncodeText(Value, Encoding)) {
    if (IsControlWrittenAsReference(static_cast<unsigned char>(c)))
      r += "&#" + std::to_string(static_cast<unsigned char>(c)) + ";";
    else
      r += c;
  }
  return r;
}

std::string AttributesText(const TXmlAttribList& Attribs, const std::string& Encoding) {
  std::string r;
  for (int i = 0; i < Attribs.Count(); ++i) {
    const TXmlAttrib* a = Attribs.Items(i);
    r += " " + a->Name + "=\"" + AttributeValueText(a->Value, Encoding) + "\"";
  }
  return r;
}

// Trailing "/" and "?" would turn a start tag into an empty or instruction tag when written
// back, so a name read from a file does not keep them, nor the control characters before
// them that reading trims (the name "?" itself stays).
std::string WritableName(std::string Name) {
  while (Name.size() > 1 && (Name.back() == '/' || Name.back() == '?')) {
    Name.pop_back();
    Name = TrimRight(Name);
  }
  return Name;
}

}  // namespace

bool IsXmlNodeName(const std::string& Name) {
  if (Name.empty() || Name[0] == '!') return false;
  for (unsigned char c : Name)
    if (c <= ' ' || std::string("<>/=\"'?").find(static_cast<char>(c)) != std::string::npos) return false;
  return true;
}

const std::vector<TCodingTableEntry>& CodingTable() {
  static const std::vector<TCodingTableEntry> table = BuildCodingTable();
  return table;
}

std::string XmlEncodeText(const std::string& Text, const std::string& Encoding) {
  std::string r = EncodeBasicReferences(Text);
  if (EncodingOf(Encoding) == TXmlEncoding::Utf8) r = XmlAnsiToUtf8(r);
  return r;
}

std::string XmlDecodeText(const std::string& Text, const std::string& Encoding) {
  static const TReferenceMap basic = BuildReferenceMap(kBasicRows);
  static const TReferenceMap latin1 = BuildReferenceMap(CodingTable().size());
  switch (EncodingOf(Encoding)) {
    case TXmlEncoding::Latin1: return DecodeReferences(Text, latin1);
    case TXmlEncoding::Utf8: return XmlUtf8ToAnsi(DecodeReferences(Text, basic));
    case TXmlEncoding::Other: break;
  }
  return DecodeReferences(Text, basic);
}

// --- attributes and node lists ---

int TXmlAttribList::IndexOf(const std::string& Name) const { return IndexByName(items_, Name); }

TXmlAttrib* TXmlAttribList::Find(const std::string& Name) const {
  int i = IndexOf(Name);
  return i < 0 ? nullptr : items_[i].get();
}

TXmlAttrib* TXmlAttribList::Add(std::unique_ptr<TXmlAttrib> Attrib) {
  items_.push_back(std::move(Attrib));
  return items_.back().get();
}

int TXmlAttribList::Parse(const std::string& Text, const std::string& Encoding) {
  int count = 0;
  size_t pos = 0;
  while (pos < Text.size()) {
    size_t eq = Text.find('=', pos);
    if (eq == std::string::npos) break;
    std::string name = Trim(Text.substr(pos, eq - pos));
    // XML allows blanks after "=", and hand-edited files have them.
    pos = std::min(Text.find_first_not_of(" \t\r\n", eq + 1), Text.size());
    std::string value;
    if (pos < Text.size()) {
      char first = Text[pos];
      if (first == '"' || first == '\'') {
        size_t close = Text.find(first, pos + 1);
        if (close != std::string::npos) {
          value = Text.substr(pos + 1, close - pos - 1);
          pos = close + 1;
        }
      } else {
        size_t end = std::min(Text.find_first_of(" \t\r\n", pos), Text.size());
        value = Text.substr(pos, end - pos);
        pos = std::min(end + 1, Text.size());
      }
    }
    value = XmlDecodeText(value, Encoding);
    if (TXmlAttrib* existing = Find(name)) existing->Value = value;
    else Add(std::make_unique<TXmlAttrib>(name, value));
    ++count;
  }
  return count;
}

int TXmlNodeList::IndexOf(const std::string& Name) const { return IndexByName(items_, Name); }

TXmlNode* TXmlNodeList::Find(const std::string& Name) const {
  int i = IndexOf(Name);
  return i < 0 ? nullptr : items_[i].get();
}

TXmlNode* TXmlNodeList::Add(std::unique_ptr<TXmlNode> Node) {
  items_.push_back(std::move(Node));
  return items_.back().get();
}

void TXmlNodeList::Remove(TXmlNode* Node) {
  auto it = std::find_if(items_.begin(), items_.end(), [&](const auto& n) { return n.get() == Node; });
  if (it != items_.end()) items_.erase(it);
}

// --- reading ---

TXmlTag TXmlReader::ReadTag() {
  TXmlTag tag;
  size_t open = data_.find('<', pos_);
  if (open == std::string::npos) {
    pos_ = data_.size();
    return tag;
  }
  size_t close = std::min(data_.find('>', open + 1), data_.size());
  tag.Tag = Trim(data_.substr(open + 1, close - open - 1));
  pos_ = std::min(close + 1, data_.size());
  // A comment first: one holding "?>" is no instruction, or what it comments out would be
  // read as markup.
  if (StartsWith(tag.Tag, "!--")) {
    SkipComment(tag);
  } else if (EndsWith(tag.Tag, "?") && tag.Tag != "?") {
    tag.Tag = TrimRight(tag.Tag.substr(0, tag.Tag.size() - 1));
    tag.MayHaveChildren = true;
    tag.Instruction = true;
  } else if (EndsWith(tag.Tag, "/")) {
    tag.Tag = TrimRight(tag.Tag.substr(0, tag.Tag.size() - 1));
  } else {
    ReadText(tag);
    tag.MayHaveChildren = true;
  }
  return tag;
}

// A comment may contain ">": it ends at "-->".
void TXmlReader::SkipComment(TXmlTag& Tag) {
  if (Tag.Tag.size() >= 5 && EndsWith(Tag.Tag, "--")) return;
  size_t end = data_.find("-->", pos_);
  pos_ = end == std::string::npos ? data_.size() : end + 3;
}

void TXmlReader::ReadText(TXmlTag& Tag) {
  auto append = [&](std::string text, bool cdata) {
    if (text.empty()) return;
    if (!Tag.Text.empty() && Tag.Text.back().CDATA == cdata) Tag.Text.back().Text += text;
    else Tag.Text.push_back({std::move(text), cdata});
  };
  while (pos_ < data_.size()) {
    size_t open = data_.find('<', pos_);
    if (open == std::string::npos) open = data_.size();
    append(data_.substr(pos_, open - pos_), false);
    pos_ = open;
    if (data_.compare(open, 9, "<![CDATA[") != 0) break;
    size_t end = std::min(data_.find("]]>", open + 9), data_.size());
    append(data_.substr(open + 9, end - open - 9), true);
    Tag.CDATA = true;
    pos_ = std::min(end + 3, data_.size());
  }
}

int TXmlNode::ReadFromStream(TXmlReader& Reader, const std::string& Encoding, int Depth) {
  TXmlTag tag;
  do tag = Reader.ReadTag();
  while (StartsWith(tag.Tag, "!"));
  if (tag.Tag.empty() || tag.Tag[0] == '/') return 0;
  CDATA = tag.CDATA;
  size_t split = tag.Tag.find_first_of(" \t\r\n");
  if (split != std::string::npos) {
    std::string rest = tag.Tag.substr(split + 1);
    if (EndsWith(rest, "?")) rest.pop_back();
    attribs_.Parse(rest, Encoding);
  }
  Name = WritableName(Trim(tag.Tag.substr(0, split)));
  std::string encoding = Encoding;
  if (!parent_) {
    if (AnsiSameText(Name, "?xml-stylesheet")) Name = "?xml";
    if (const TXmlAttrib* a = attribs_.Find("encoding")) encoding = a->Value;
  }
  Value.clear();
  for (const auto& part : tag.Text)
    Value += part.CDATA ? CdataFromFile(part.Text, encoding) : XmlDecodeText(part.Text, encoding);
  // Inside the document an instruction tag is a leaf, and a "?" name written as a start tag
  // (as the writer does for one with a value or children) is an element like any other.
  if (StartsWith(Name, "?") && (parent_ ? tag.Instruction : !AnsiSameText(Name, "?xml"))) return 1;
  if (!tag.MayHaveChildren) return 1;
  if (Depth >= MaxXmlDepth) {
    SkipChildren(Reader);
    return 1;
  }
  for (;;) {
    auto child = std::make_unique<TXmlNode>(this);
    if (child->ReadFromStream(Reader, encoding, Depth + 1) == 0) break;
    nodes_.Add(std::move(child));
  }
  return 1;
}

// Past the depth limit the children are read and dropped up to the element's own end tag, so
// the elements after it keep their places. An empty tag ends an element as an end tag does.
void TXmlNode::SkipChildren(TXmlReader& Reader) {
  for (int open = 1; open > 0;) {
    const TXmlTag tag = Reader.ReadTag();
    if (tag.Tag.empty() || tag.Tag[0] == '/') --open;
    else if (tag.MayHaveChildren && tag.Tag[0] != '!' && !(tag.Instruction && tag.Tag[0] == '?')) ++open;
  }
}

// --- the document ---

TXmlDoc::TXmlDoc(const std::string& RootName) : root_(std::make_unique<TXmlNode>(nullptr)) {
  root_->Name = Trim(RootName);
  if (root_->Name.empty()) root_->Name = "?xml";
}

bool TXmlDoc::SaveToStream(TStream& Stream, int IndentSize, bool LineBreaks) {
  if (root_->Name.empty()) return false;
  const TXmlAttrib* version = root_->Attribs().Find("version");
  if (!version || version->Value.empty()) root_->Attribs().Parse("version=\"1.0\"", "");
  // The declaration is read before the encoding is known: its values use the basic references.
  std::string out = "<" + root_->Name + AttributesText(root_->Attribs(), "") + "?>";
  if (LineBreaks) out += kCRLF;
  const std::string encoding = GetEncoding();
  for (int i = 0; i < root_->Nodes().Count(); ++i)
    WriteNode(out, *root_->Nodes().Items(i), 0, IndentSize, LineBreaks, encoding);
  return Stream.Write(out.data(), static_cast<int32_t>(out.size())) == static_cast<int32_t>(out.size());
}

void TXmlDoc::WriteNode(std::string& Out, const TXmlNode& Node, int Level, int IndentSize,
                        bool LineBreaks, const std::string& Encoding) const {
  const std::string indent(static_cast<size_t>(std::max(0, Level * IndentSize)), ' ');
  Out += indent + "<" + Node.Name + AttributesText(Node.Attribs(), Encoding);
  if (Node.Nodes().Count() > 0) {
    Out += ">";
    if (LineBreaks) Out += kCRLF;
    for (int i = 0; i < Node.Nodes().Count(); ++i)
      WriteNode(Out, *Node.Nodes().Items(i), Level + 1, IndentSize, LineBreaks, Encoding);
    Out += indent + "</" + Node.Name + ">";
  } else if (Node.CDATA) {
    Out += ">" + CdataSection(Node.Value, Encoding) + "</" + Node.Name + ">";
  } else if (!Node.Value.empty()) {
    Out += ">" + XmlEncodeText(Node.Value, Encoding) + "</" + Node.Name + ">";
  } else {
    Out += StartsWith(Node.Name, "?") ? "?>" : " />";
  }
  if (LineBreaks) Out += kCRLF;
}

TXmlNode* TXmlDoc::FindNode(const std::string& Path, TXmlNode* Start) const {
  TXmlNode* node = Start ? Start : root_.get();
  for (const std::string& piece : SplitPath(Path)) {
    node = node->Nodes().Find(piece);
    if (!node) return nullptr;
  }
  return node;
}

TXmlNode* TXmlDoc::CreatePath(const std::string& Path, const std::string& Value) {
  TXmlNode* node = root_.get();
  for (const std::string& piece : SplitPath(Path)) {
    if (!Trim(node->Value).empty()) throw ERangeError(kValueBlocksChildren);
    TXmlNode* child = node->Nodes().Find(piece);
    if (!child) {
      CheckNewNodeName(piece);
      child = node->Nodes().Add(std::make_unique<TXmlNode>(node));
      child->Name = piece;
    }
    node = child;
  }
  node->Value = Value;
  return node;
}

bool TXmlDoc::DeleteNode(const std::string& Path) {
  TXmlNode* node = FindNode(Path);
  if (!node || node == root_.get()) return false;
  node->Parent()->Nodes().Remove(node);
  return true;
}

std::string TXmlDoc::ReadString(const std::string& Path, const std::string& Default) const {
  const TXmlNode* node = FindNode(Path);
  return node ? node->Value : Default;
}

bool TXmlDoc::WriteString(const std::string& Path, const std::string& Value) {
  TXmlNode* node = FindNode(Path);
  if (!node) node = CreatePath(Path, "");
  if (node->Nodes().Count() > 0) throw ERangeError(kChildrenBlockValue);
  node->Value = Value;
  return true;
}

int TXmlDoc::ReadInteger(const std::string& Path, int Default) const {
  const TXmlNode* node = FindNode(Path);
  return node ? StrToIntDef(node->Value, Default) : Default;
}

bool TXmlDoc::WriteInteger(const std::string& Path, int Value) { return WriteString(Path, IntToStr(Value)); }

bool TXmlDoc::ReadBool(const std::string& Path, bool Default) const {
  const TXmlNode* node = FindNode(Path);
  if (!node) return Default;
  if (SameText(node->Value, "True")) return true;
  if (SameText(node->Value, "False")) return false;
  int number;
  return TryStrToInt(node->Value, number) ? number != 0 : Default;
}

bool TXmlDoc::WriteBool(const std::string& Path, bool Value, bool UseWords) {
  if (UseWords) return WriteString(Path, Value ? "TRUE" : "FALSE");
  return WriteString(Path, Value ? "1" : "0");
}

TXmlAttrib* TXmlDoc::GetAttrib(const std::string& Path, const std::string& Name) const {
  const TXmlNode* node = FindNode(Path);
  return node ? node->Attribs().Find(Name) : nullptr;
}

std::string TXmlDoc::ReadAttrib(const std::string& Path, const std::string& Name,
                                const std::string& Default) const {
  const TXmlAttrib* a = GetAttrib(Path, Name);
  return a ? a->Value : Default;
}

void TXmlDoc::WriteAttrib(const std::string& Path, const std::string& Name, const std::string& Value) {
  TXmlNode* node = FindNode(Path);
  if (!node) return;
  if (TXmlAttrib* a = node->Attribs().Find(Name)) a->Value = Value;
  else node->Attribs().Add(std::make_unique<TXmlAttrib>(Name, Value));
}

std::string TXmlDoc::GetEncoding() const {
  const TXmlAttrib* a = root_->Attribs().Find("encoding");
  return a ? a->Value : std::string();
}
