// Input: a document's text. What the reader makes of it, written and read again, must give the
// same tree in both layouts the program writes (indented with line breaks, and on one line).
// A text that the well-formedness check passes is read without text the writer would drop,
// and written back in a form it passes again.
#include <string>
#include "FuzzTargets.h"
#include "documents/XmlDoc.h"

namespace {
// A name as a message can show it: control and high bytes in hexadecimal, long ones cut.
std::string Shown(const std::string& Name) {
  static const char hex[] = "0123456789ABCDEF";
  std::string r;
  for (unsigned char c : Name.substr(0, 40)) {
    if (c >= ' ' && c < 127) r += static_cast<char>(c);
    else r += std::string("\\x") + hex[c >> 4] + hex[c & 15];
  }
  return Name.size() > 40 ? r + "..." : r;
}

// The writer leaves out what a file cannot hold: the root's text, and the text and CDATA
// flag of elements that have children. Everything else must come back as it was. The
// message names the path of the first difference.
std::string Difference(const TXmlNode& A, const TXmlNode& B) {
  const std::string at = " at " + Shown(A.Name);
  if (A.Name != B.Name) return "name came back as \"" + Shown(B.Name) + "\"" + at;
  if (A.Attribs().Count() != B.Attribs().Count()) return "attribute count changed" + at;
  for (int i = 0; i < A.Attribs().Count(); ++i) {
    const TXmlAttrib& a = *A.Attribs().Items(i);
    const TXmlAttrib& b = *B.Attribs().Items(i);
    if (a.Name != b.Name || a.Value != b.Value) return "attribute \"" + Shown(a.Name) + "\" changed" + at;
  }
  if (A.Nodes().Count() != B.Nodes().Count()) return "child count changed" + at;
  if (A.Nodes().Count() == 0 && A.Parent()) {
    if (A.Value != B.Value) return "value changed" + at;
    if (A.CDATA != B.CDATA) return "CDATA flag changed" + at;
  }
  for (int i = 0; i < A.Nodes().Count(); ++i)
    if (std::string d = Difference(*A.Nodes().Items(i), *B.Nodes().Items(i)); !d.empty())
      return d + " in " + Shown(A.Name);
  return {};
}

// What the check passes is read whole: an element read with children holds no text beside
// them but blanks, which the writer may leave out.
std::string TextBesideChildren(const TXmlNode& Node) {
  if (Node.Nodes().Count() == 0) return {};
  if (Node.Value.find_first_not_of(" \t\r\n") != std::string::npos || Node.CDATA)
    return "text beside child elements at " + Shown(Node.Name);
  for (int i = 0; i < Node.Nodes().Count(); ++i)
    if (std::string d = TextBesideChildren(*Node.Nodes().Items(i)); !d.empty()) return d;
  return {};
}

std::string Written(TXmlDoc& Doc, int Indent, bool LineBreaks) {
  TMemoryStream out;
  return Doc.SaveToStream(out, Indent, LineBreaks) ? out.DataString() : std::string();
}

// The settings code's path operations on what a file gave: a value below the first element,
// an attribute on it, the second element gone. Refusals are the operations' own answers.
std::string Edit(TXmlDoc& Doc) {
  if (Doc.Root()->Nodes().Count() == 0) return {};
  const std::string first = TXmlNode::GetName(Doc.Root()->Nodes().Items(0));
  // A name holding a backslash is no path to its element.
  if (Doc.FindNode(first) != Doc.Root()->Nodes().Items(0)) return {};
  Doc.ReadInteger(first, 0);
  Doc.ReadBool(first, false);
  try {
    Doc.WriteString(first + "\\Fuzz", "a<b>&\"c\"");
    if (Doc.ReadString(first + "\\fuzz", "") != "a<b>&\"c\"") return "a value written is not read back";
  } catch (const ERangeError&) {
  }
  Doc.WriteAttrib(first, "Fuzz", "x\"y");
  if (Doc.ReadAttrib(first, "fuzz", "") != "x\"y") return "an attribute written is not read back";
  if (Doc.Root()->Nodes().Count() > 1) Doc.DeleteNode(TXmlNode::GetName(Doc.Root()->Nodes().Items(1)));
  return {};
}

// The tree read, written in both layouts, must read back the same; once as read and once
// after editing.
std::string CheckRoundTrips(TXmlDoc& Doc, bool WellFormed) {
  for (bool lineBreaks : {true, false}) {
    const std::string text = Written(Doc, lineBreaks ? 2 : 0, lineBreaks);
    if (text.empty()) return "a document that was read could not be written";
    if (WellFormed && !IsWellFormedXml(text)) return "a well-formed document was written back damaged";
    TXmlDoc again;
    TXmlReader rereader(text);
    if (again.Root()->ReadFromStream(rereader, "") == 0) return "the written document reads as nothing";
    if (std::string d = Difference(*Doc.Root(), *again.Root()); !d.empty())
      return d + (lineBreaks ? " (indented)" : " (one line)");
  }
  return {};
}
}  // namespace

std::string FuzzXmlRoundTrip(const std::string& Data) {
  TXmlDoc doc;
  TXmlReader reader(Data);
  if (doc.Root()->ReadFromStream(reader, "") == 0) return {};
  const bool wellFormed = IsWellFormedXml(Data);
  if (wellFormed)
    if (std::string fault = TextBesideChildren(*doc.Root()); !fault.empty()) return fault;
  if (std::string fault = CheckRoundTrips(doc, wellFormed); !fault.empty()) return fault;
  if (std::string fault = Edit(doc); !fault.empty()) return fault;
  if (std::string fault = CheckRoundTrips(doc, false); !fault.empty()) return fault + " after editing";
  return {};
}
