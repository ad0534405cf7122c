// A small XML document model whose values are addressed by backslash paths of element names.
#pragma once
#include <memory>
#include <string>
#include <vector>
#include "rtl/Streams.h"
#include "rtl/SysUtils.h"

// One row of the ISO-8859-1 entity table: the character, its named and numeric reference.
struct TCodingTableEntry {
  char Char;
  std::string Named;
  std::string Numeric;
};
// The 102 rows: the four basic characters, the blank as "&nbsp;", codes 161 to 255, and the
// two duplicates "&hibar;" and "&Dstrok;" right after the rows they duplicate.
const std::vector<TCodingTableEntry>& CodingTable();

// Value text to file text and back, by the document's encoding ("ISO-8859-1", "UTF-8",
// anything else). Encoding writes a zero byte as "&#0;". Decoding is one pass from left to
// right and case-sensitive; in every encoding it also takes "&#0;" to "&#31;", as which
// attribute values are written with the control characters (other than tab, CR and LF) that a
// tag cannot hold.
std::string XmlEncodeText(const std::string& Text, const std::string& Encoding);
std::string XmlDecodeText(const std::string& Text, const std::string& Encoding);

// A name the writer can put into a tag that reads back as the same element: not empty, no
// blank or control character, none of < > / = " ' ?, and no "!" at the start.
bool IsXmlNodeName(const std::string& Name);

// True when Data is a whole document that the reader takes in whole and the writer writes back
// without losing text: the declaration ("<?xml ...?>") as the first tag, every tag closed,
// elements properly nested (no deeper than MaxXmlDepth) with each end tag naming its start tag,
// names the writer could write, attributes quoted and not given twice, no zero byte at all
// (the writer writes one as "&#0;") and no other control character in a tag, every "&"
// starting a reference, only blanks outside the elements (a UTF-8 byte-order mark may lead),
// instructions only outside the elements, and in each element
// either a value (text and CDATA sections, which nothing but comments may follow) or child
// elements with only blanks around them; in a UTF-8 document, no text or attribute value that
// the ANSI code page cannot hold. A file without any tag passes: it holds nothing.
// The reader takes any text as far as it goes; a file that the program writes back is
// checked first, so that damage is never written into it.
bool IsWellFormedXml(const std::string& Data);

class TXmlAttrib {
public:
  TXmlAttrib(std::string Name, std::string Value) : Name(std::move(Name)), Value(std::move(Value)) {}
  // Empty for no attribute; setting on no attribute does nothing.
  static std::string GetName(const TXmlAttrib* Attrib) { return Attrib ? Attrib->Name : std::string(); }
  static std::string GetValue(const TXmlAttrib* Attrib) { return Attrib ? Attrib->Value : std::string(); }
  static void SetName(TXmlAttrib* Attrib, const std::string& Text) { if (Attrib) Attrib->Name = Text; }
  static void SetValue(TXmlAttrib* Attrib, const std::string& Text) { if (Attrib) Attrib->Value = Text; }

  std::string Name;
  std::string Value;
};

// Owns its attributes; names are compared without regard to case.
class TXmlAttribList {
public:
  int Count() const { return static_cast<int>(items_.size()); }
  TXmlAttrib* Items(int Index) const { return items_[Index].get(); }
  int IndexOf(const std::string& Name) const;
  TXmlAttrib* Find(const std::string& Name) const;
  TXmlAttrib* Add(std::unique_ptr<TXmlAttrib> Attrib);
  // Takes the name=value pairs of a tag's attribute text (values quoted with double quotes,
  // apostrophes or unquoted), decodes the values and sets or appends the attributes.
  // Returns the number of pairs taken.
  int Parse(const std::string& Text, const std::string& Encoding);

private:
  std::vector<std::unique_ptr<TXmlAttrib>> items_;
};

class TXmlNode;

// Owns its nodes: removing a node destroys it with its subtree.
class TXmlNodeList {
public:
  int Count() const { return static_cast<int>(items_.size()); }
  TXmlNode* Items(int Index) const { return items_[Index].get(); }
  int IndexOf(const std::string& Name) const;
  TXmlNode* Find(const std::string& Name) const;
  TXmlNode* Add(std::unique_ptr<TXmlNode> Node);
  void Remove(TXmlNode* Node);

private:
  std::vector<std::unique_ptr<TXmlNode>> items_;
};

// What reading one tag gave: the tag without its "<" ">" and surrounding blanks, and for
// tags that are followed by text (start tags, end tags, declarations) that raw text.
struct TXmlTag {
  struct Part {
    std::string Text;
    bool CDATA;  // taken literally from a CDATA section
  };
  std::string Tag;
  std::vector<Part> Text;
  bool CDATA = false;  // the text holds a CDATA section
  bool MayHaveChildren = false;
  bool Instruction = false;  // written as "<...?>"
};

// Reads tags from a document's text held in memory.
class TXmlReader {
public:
  explicit TXmlReader(std::string Data) : data_(std::move(Data)) {}
  // An empty tag at the end of the data.
  TXmlTag ReadTag();

private:
  void SkipComment(TXmlTag& Tag);
  void ReadText(TXmlTag& Tag);

  std::string data_;
  size_t pos_ = 0;
};

// One element or processing instruction: either a text value or child elements.
class TXmlNode {
public:
  // Does not add itself to the parent.
  explicit TXmlNode(TXmlNode* Parent) : parent_(Parent) {}
  TXmlNode(const TXmlNode&) = delete;
  TXmlNode& operator=(const TXmlNode&) = delete;

  TXmlNode* Parent() const { return parent_; }
  TXmlNodeList& Nodes() { return nodes_; }
  const TXmlNodeList& Nodes() const { return nodes_; }
  TXmlAttribList& Attribs() { return attribs_; }
  const TXmlAttribList& Attribs() const { return attribs_; }

  // Empty text or false for no node; setting on no node does nothing.
  static std::string GetName(const TXmlNode* Node) { return Node ? Node->Name : std::string(); }
  static std::string GetValue(const TXmlNode* Node) { return Node ? Node->Value : std::string(); }
  static bool GetCDATA(const TXmlNode* Node) { return Node && Node->CDATA; }
  static void SetName(TXmlNode* Node, const std::string& Text) { if (Node) Node->Name = Text; }
  static void SetValue(TXmlNode* Node, const std::string& Text) { if (Node) Node->Value = Text; }
  static void SetCDATA(TXmlNode* Node, bool Flag) { if (Node) Node->CDATA = Flag; }

  // Reads this element and its subtree; 0 when nothing was read (end of data or an end tag).
  // A node without a parent is a root: its "encoding" attribute sets the encoding below it.
  // Elements nested deeper than MaxXmlDepth are read as leaves without their children, so a
  // hostile file cannot exhaust the stack. Inside the document, an instruction ("<?name ...?>")
  // is a leaf and a name starting with "?" in a start tag has children and an end tag like any
  // element, so what the writer writes reads back as the same tree.
  int ReadFromStream(TXmlReader& Reader, const std::string& Encoding, int Depth = 0);
  static constexpr int MaxXmlDepth = 256;

  std::string Name;
  std::string Value;
  bool CDATA = false;

private:
  static void SkipChildren(TXmlReader& Reader);

  TXmlNode* parent_;
  TXmlNodeList nodes_;
  TXmlAttribList attribs_;
};

// How loading a file went.
enum class TXmlLoad {
  Loaded,      // something was read
  Nothing,     // the file is missing or empty, or holds no tag
  Unreadable,  // the file is there but could not be opened or read to its end
  Damaged,     // not well-formed (IsWellFormedXml): not read at all
};

// The document: a root processing instruction ("?xml") and the elements below it.
// Path operations raise ERangeError on misuse; loading and saving report by their result
// and never show anything.
class TXmlDoc {
public:
  // A blank root name gives "?xml".
  explicit TXmlDoc(const std::string& RootName = "?xml");

  TXmlNode* Root() const { return root_.get(); }

  // False for a missing, unreadable or empty file, or one without a tag. Adds to the
  // present content: load into a new document.
  bool LoadFromFile(const std::string& FileName);
  // As LoadFromFile, telling why nothing was read: a store that is there but unreadable must
  // not be written over as if it were missing. With WellFormedOnly, a file that is not
  // well-formed is not read at all.
  TXmlLoad LoadStore(const std::string& FileName, bool WellFormedOnly);
  // Builds the whole file in memory and then replaces the old one, so a failure leaves the
  // previous file as it was.
  bool SaveToFile(const std::string& FileName, int IndentSize, bool LineBreaks);
  // False (and nothing written) when the root has no name.
  bool SaveToStream(TStream& Stream, int IndentSize, bool LineBreaks);

  // Paths are relative to Start (the root when none); pieces match names without regard to case.
  TXmlNode* FindNode(const std::string& Path, TXmlNode* Start = nullptr) const;
  // Creates the missing nodes and sets the value of the node reached. Raises ERangeError for
  // a node on the way that holds a value, and for an empty or unwritable name.
  TXmlNode* CreatePath(const std::string& Path, const std::string& Value);
  // False for no such node and for the root.
  bool DeleteNode(const std::string& Path);

  std::string ReadString(const std::string& Path, const std::string& Default) const;
  // Raises ERangeError when the node has children.
  bool WriteString(const std::string& Path, const std::string& Value);
  int ReadInteger(const std::string& Path, int Default) const;
  bool WriteInteger(const std::string& Path, int Value);
  // "True"/"False" in any case, or a number (true unless 0); anything else gives the default.
  bool ReadBool(const std::string& Path, bool Default) const;
  bool WriteBool(const std::string& Path, bool Value, bool UseWords);

  TXmlAttrib* GetAttrib(const std::string& Path, const std::string& Name) const;
  std::string ReadAttrib(const std::string& Path, const std::string& Name,
                         const std::string& Default) const;
  // Sets the attribute of an existing node to the value as given; a missing node is not created.
  void WriteAttrib(const std::string& Path, const std::string& Name, const std::string& Value);

  std::string GetEncoding() const;

private:
  // The whole file into Data: Loaded (Data may be empty), Nothing when it is missing, or
  // Unreadable.
  static TXmlLoad ReadFileData(const std::string& FileName, std::string& Data);
  // Adds what Data holds; false for no data or no tag.
  bool ReadData(std::string Data);
  void WriteNode(std::string& Out, const TXmlNode& Node, int Level, int IndentSize,
                 bool LineBreaks, const std::string& Encoding) const;

  std::unique_ptr<TXmlNode> root_;
};
