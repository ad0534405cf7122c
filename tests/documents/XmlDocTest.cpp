#include <gtest/gtest.h>
#include <random>
#include "documents/XmlDoc.h"
#include "support/TempFolder.h"

using namespace std::string_literals;

namespace {
std::string Saved(TXmlDoc& Doc, int Indent = 2, bool LineBreaks = true) {
  TMemoryStream s;
  EXPECT_TRUE(Doc.SaveToStream(s, Indent, LineBreaks));
  return s.DataString();
}

// Saves the document to a file and loads it into a new one.
std::unique_ptr<TXmlDoc> RoundTrip(TXmlDoc& Doc, const testsupport::TempFolder& Dir) {
  EXPECT_TRUE(Doc.SaveToFile(Dir.File("t.xml"), 2, true));
  auto loaded = std::make_unique<TXmlDoc>("?xml");
  EXPECT_TRUE(loaded->LoadFromFile(Dir.File("t.xml")));
  return loaded;
}

// Writing at Path must raise the range error with Message.
void ExpectWriteRefused(TXmlDoc& Doc, const std::string& Path, const char* Message) {
  try {
    Doc.WriteString(Path, "x");
    FAIL() << "no exception writing " << Path;
  } catch (const ERangeError& e) {
    EXPECT_STREQ(e.what(), Message);
  }
}

std::unique_ptr<TXmlDoc> Parsed(const testsupport::TempFolder& Dir, const std::string& Text) {
  Dir.Write("in.xml", Text);
  auto doc = std::make_unique<TXmlDoc>("?xml");
  EXPECT_TRUE(doc->LoadFromFile(Dir.File("in.xml")));
  return doc;
}
}  // namespace

TEST(XmlWriting, NewDocumentWritesOnlyTheDeclaration) {
  TXmlDoc doc("  ");
  EXPECT_EQ(doc.Root()->Name, "?xml");
  EXPECT_EQ(Saved(doc), "<?xml version=\"1.0\"?>\r\n");
}

TEST(XmlWriting, IndentsNestedElementsOrWritesOneLine) {
  TXmlDoc doc;
  doc.WriteString("A\\B", "v");
  EXPECT_EQ(Saved(doc), "<?xml version=\"1.0\"?>\r\n<A>\r\n  <B>v</B>\r\n</A>\r\n");
  EXPECT_EQ(Saved(doc, 0, false), "<?xml version=\"1.0\"?><A><B>v</B></A>");
}

TEST(XmlWriting, EmptyValuesBecomeEmptyElementTagsAndCdataStaysASection) {
  TXmlDoc doc;
  doc.WriteString("A\\Empty", "");
  doc.CreatePath("A\\C", "")->CDATA = true;
  EXPECT_EQ(Saved(doc, 0, false),
            "<?xml version=\"1.0\"?><A><Empty /><C><![CDATA[]]></C></A>");
}

TEST(XmlPaths, LookupIgnoresCaseAndKeepsTheFirstSpelling) {
  TXmlDoc doc;
  doc.WriteString("Settings\\General\\X", "1");
  EXPECT_EQ(doc.ReadString("settings\\GENERAL\\x", "d"), "1");
  doc.WriteString("SETTINGS\\general\\X\\", "2");
  EXPECT_EQ(doc.ReadString("Settings\\General\\X", "d"), "2");
  EXPECT_EQ(Saved(doc, 0, false),
            "<?xml version=\"1.0\"?><Settings><General><X>2</X></General></Settings>");
  EXPECT_EQ(doc.ReadString("Settings\\Missing", "d"), "d");
}

TEST(XmlPaths, MisuseRaisesTheFixedTexts) {
  TXmlDoc doc;
  doc.WriteString("A\\B", "v");
  ASSERT_NO_FATAL_FAILURE(
      ExpectWriteRefused(doc, "A", "Node contains subnodes, no value allowed."));
  doc.WriteString("N", "1");
  ASSERT_NO_FATAL_FAILURE(
      ExpectWriteRefused(doc, "N\\B", "Node contains a value, no subnodes allowed."));
  doc.WriteString("Blank", " \r\n ");
  EXPECT_NO_THROW(doc.WriteString("Blank\\B", "x"));
}

TEST(XmlPaths, CreatePathRefusesNamesThatCannotBeWrittenAsTags) {
  TXmlDoc doc;
  EXPECT_THROW(doc.WriteString("A\\\\B", "x"), ERangeError);
  EXPECT_THROW(doc.WriteString("", "x"), ERangeError);
  EXPECT_THROW(doc.WriteString("a b", "x"), ERangeError);
  EXPECT_THROW(doc.WriteString("a<b", "x"), ERangeError);
  EXPECT_THROW(doc.WriteString("?pi", "x"), ERangeError);
  EXPECT_NO_THROW(doc.WriteString("Name-1.ok_ä", "x"));
}

TEST(XmlPaths, DeleteNodeRemovesTheSubtreeAndRefusesMissingNodes) {
  TXmlDoc doc;
  doc.WriteString("A\\B\\C", "v");
  EXPECT_FALSE(doc.DeleteNode(""));
  EXPECT_FALSE(doc.DeleteNode("A\\X"));
  EXPECT_TRUE(doc.DeleteNode("a\\b"));
  EXPECT_EQ(doc.FindNode("A\\B\\C"), nullptr);
  EXPECT_NE(doc.FindNode("A"), nullptr);
}

TEST(XmlValues, TypedReadsTakeTheirDefaults) {
  TXmlDoc doc;
  doc.WriteInteger("I", -42);
  doc.WriteString("NoInt", "4x");
  doc.WriteBool("Word", true, true);
  doc.WriteBool("Digit", false, false);
  doc.WriteString("LowWord", "false");
  doc.WriteString("Number", "7");
  doc.WriteString("Other", "yes");
  EXPECT_EQ(doc.ReadInteger("I", 0), -42);
  EXPECT_EQ(doc.ReadInteger("NoInt", 5), 5);
  EXPECT_EQ(doc.ReadInteger("Missing", 6), 6);
  EXPECT_EQ(doc.ReadString("Word", ""), "TRUE");
  EXPECT_EQ(doc.ReadString("Digit", ""), "0");
  EXPECT_TRUE(doc.ReadBool("Word", false));
  EXPECT_FALSE(doc.ReadBool("Digit", true));
  EXPECT_FALSE(doc.ReadBool("LowWord", true));
  EXPECT_TRUE(doc.ReadBool("Number", false));
  EXPECT_TRUE(doc.ReadBool("Other", true));
  EXPECT_FALSE(doc.ReadBool("Other", false));
  EXPECT_TRUE(doc.ReadBool("Missing", true));
}

TEST(XmlRoundTrip, ValuesComeBackExactly) {
  testsupport::TempFolder dir;
  TXmlDoc doc;
  const std::string lines = "  first line\r\nsecond\tline  ";
  const std::string markup = "a < b > c & \"d\" 'e' &amp; &lt;";
  doc.WriteString("S\\Lines", lines);
  doc.WriteString("S\\Markup", markup);
  doc.WriteString("S\\Latin", "\xE4\xF6\xFC\xDF \x80");
  doc.WriteString("S\\Empty", "");
  doc.WriteString("S\\Zero", "Hal\0lo "s);
  auto loaded = RoundTrip(doc, dir);
  EXPECT_EQ(loaded->ReadString("S\\Zero", "?"), "Hal\0lo "s);
  EXPECT_NE(dir.Read("t.xml").find("<Zero>Hal&#0;lo </Zero>"), std::string::npos);
  EXPECT_EQ(loaded->ReadString("S\\Lines", "?"), lines);
  EXPECT_EQ(loaded->ReadString("S\\Markup", "?"), markup);
  EXPECT_EQ(loaded->ReadString("S\\Latin", "?"), "\xE4\xF6\xFC\xDF \x80");
  EXPECT_EQ(loaded->ReadString("S\\Empty", "?"), "");
  EXPECT_NE(dir.Read("t.xml").find("a &lt; b &gt; c &amp; &quot;d&quot; 'e' &amp;amp;"), std::string::npos);
}

TEST(XmlRoundTrip, CdataIsTakenLiterallyEvenWithItsEndMarkerInside) {
  testsupport::TempFolder dir;
  TXmlDoc doc;
  const std::string snippet = "<b>&amp; &lt; &nbsp;</b> ]]> end\0]]"s;
  TXmlNode* node = doc.CreatePath("Snip\\Text", snippet);
  node->CDATA = true;
  auto loaded = RoundTrip(doc, dir);
  EXPECT_EQ(loaded->ReadString("Snip\\Text", "?"), snippet);
  EXPECT_TRUE(TXmlNode::GetCDATA(loaded->FindNode("Snip\\Text")));
  auto again = RoundTrip(*loaded, dir);
  EXPECT_EQ(again->ReadString("Snip\\Text", "?"), snippet);
}

TEST(XmlRoundTrip, AttributesAreStoredAsGivenAndComeBack) {
  testsupport::TempFolder dir;
  TXmlDoc doc;
  doc.WriteString("A", "v");
  doc.WriteAttrib("A", "title", "x &amp; \"quoted\" <y>");
  doc.WriteAttrib("Missing", "n", "v");
  EXPECT_EQ(doc.ReadAttrib("A", "TITLE", "?"), "x &amp; \"quoted\" <y>");
  EXPECT_EQ(doc.FindNode("Missing"), nullptr);
  doc.WriteAttrib("A", "Title", "second");
  EXPECT_EQ(doc.FindNode("A")->Attribs().Count(), 1);
  doc.WriteAttrib("A", "title", "x &amp; \"quoted\" <y>");
  auto loaded = RoundTrip(doc, dir);
  EXPECT_EQ(loaded->ReadAttrib("A", "title", "?"), "x &amp; \"quoted\" <y>");
  EXPECT_EQ(loaded->ReadString("A", "?"), "v");
  EXPECT_EQ(loaded->GetAttrib("A", "other"), nullptr);
}

TEST(XmlReading, AttributeNamesAndValuesOverSeveralLines) {
  testsupport::TempFolder dir;
  auto doc = Parsed(dir, "<?xml version=\"1.0\"?>\r\n<A\r\n\tfirst = \"1\"\r\n\tsecond='two'\tthird=3>v</A>");
  EXPECT_EQ(doc->ReadAttrib("A", "first", "?"), "1");
  EXPECT_EQ(doc->ReadAttrib("A", "second", "?"), "two");
  EXPECT_EQ(doc->ReadAttrib("A", "third", "?"), "3");
  EXPECT_EQ(doc->ReadString("A", "?"), "v");
  EXPECT_EQ(TXmlAttrib::GetValue(doc->Root()->Attribs().Find("version")), "1.0");
}

TEST(XmlAttributes, ParseSetsOrAppendsAndCountsThePairs) {
  TXmlAttribList list;
  EXPECT_EQ(list.Parse("a=1 B='x y' c=\"&lt;\"", ""), 3);
  EXPECT_EQ(list.Parse("no pairs here", ""), 0);
  // An unclosed quote leaves the value empty and the rest of the text for the next pair.
  EXPECT_EQ(list.Parse("A=2 d=\"open c=3", ""), 3);
  ASSERT_EQ(list.Count(), 5);
  EXPECT_EQ(TXmlAttrib::GetValue(list.Find("a")), "2");
  EXPECT_EQ(TXmlAttrib::GetValue(list.Find("d")), "");
  EXPECT_EQ(TXmlAttrib::GetValue(list.Items(1)), "x y");
  EXPECT_EQ(TXmlAttrib::GetValue(list.Find("c")), "<");
  EXPECT_EQ(TXmlAttrib::GetName(list.Items(4)), "\"open c");
  EXPECT_EQ(TXmlAttrib::GetValue(list.Items(4)), "3");
}

TEST(XmlReading, EmptyElementsCommentsAndParentText) {
  testsupport::TempFolder dir;
  auto doc = Parsed(dir,
                    "<?xml version=\"1.0\"?>\r\n<!DOCTYPE x>\r\n<R>\r\n  <!-- a > b -->\r\n"
                    "  <E1></E1>\r\n  <!-- why?> <X>2</X> -->\r\n  <E2 />\r\n  <V>1</V> trailing\r\n</R>\r\n");
  EXPECT_EQ(doc->ReadString("R\\E1", "?"), "");
  EXPECT_EQ(doc->ReadString("R\\E2", "?"), "");
  EXPECT_EQ(doc->ReadString("R\\V", "?"), "1");
  EXPECT_EQ(doc->FindNode("R")->Nodes().Count(), 3);
  EXPECT_EQ(Trim(doc->ReadString("R", "?")), "");
  EXPECT_EQ(Saved(*doc, 0, false), "<?xml version=\"1.0\"?><R><E1 /><E2 /><V>1</V></R>");
}

TEST(XmlReading, Latin1DocumentsDecodeTheWholeTableInOnePass) {
  testsupport::TempFolder dir;
  auto doc = Parsed(dir,
                    "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n"
                    "<A>&nbsp;|&#160;|&hibar;|&Dstrok;|&auml;&#252;|&euro;|&amp;lt;|&AMP;</A>");
  EXPECT_EQ(doc->ReadString("A", "?"), " | |\xAF|\xD0|\xE4\xFC|&euro;|&lt;|&AMP;");
}

TEST(XmlReading, OtherDocumentsDecodeOnlyTheBasicReferences) {
  testsupport::TempFolder dir;
  auto doc = Parsed(dir, "<?xml version=\"1.0\"?>\r\n<A>&lt;&gt;&quot;&amp;&auml;&nbsp;</A>");
  EXPECT_EQ(doc->ReadString("A", "?"), "<>\"&&auml;&nbsp;");
}

// Control characters are written as references in attribute values: every encoding reads
// them back, and no other numeric reference changes its meaning.
TEST(XmlReading, EveryEncodingDecodesTheReferencesOfControlCharacters) {
  testsupport::TempFolder dir;
  for (const char* encoding : {"", " encoding=\"ISO-8859-1\"", " encoding=\"UTF-8\""}) {
    auto doc = Parsed(dir, std::string("<?xml version=\"1.0\"") + encoding +
                               "?><A x=\"&#0;&#1;&#9;&#12;&#31;|&#32;&amp;#12;\">&#12;</A>");
    EXPECT_EQ(doc->ReadAttrib("A", "x", "?"), std::string("\0\x01\t\x0C\x1F|&#32;&#12;", 16)) << encoding;
    EXPECT_EQ(doc->ReadString("A", "?"), "\x0C") << encoding;
  }
}

TEST(XmlReading, Utf8DocumentsConvertValuesBothWays) {
  testsupport::TempFolder dir;
  auto doc = Parsed(dir,
                    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                    "<A>\xC3\xA4&amp;</A><C><![CDATA[\xC3\xB6<]]></C>");
  EXPECT_EQ(doc->ReadString("A", "?"), "\xE4&");
  EXPECT_EQ(doc->ReadString("C", "?"), "\xF6<");
  ASSERT_TRUE(doc->SaveToFile(dir.File("out.xml"), 0, false));
  EXPECT_EQ(dir.Read("out.xml"),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?><A>\xC3\xA4&amp;</A><C><![CDATA[\xC3\xB6<]]></C>");
}

TEST(XmlReading, StylesheetInstructions) {
  testsupport::TempFolder dir;
  auto first = Parsed(dir, "<?xml-stylesheet href=\"a.xsl\"?><A>1</A>");
  EXPECT_EQ(first->Root()->Name, "?xml");
  EXPECT_EQ(first->ReadString("A", "?"), "1");

  auto later = Parsed(dir, "<?xml version=\"1.0\"?>\r\n<?xml-stylesheet type=\"text/xsl\" href=\"a.xsl\"?>\r\n<A>1</A>");
  TXmlNode* pi = later->Root()->Nodes().Items(0);
  EXPECT_EQ(pi->Name, "?xml-stylesheet");
  EXPECT_EQ(pi->Nodes().Count(), 0);
  EXPECT_EQ(later->ReadString("A", "?"), "1");
  EXPECT_EQ(Saved(*later, 0, false),
            "<?xml version=\"1.0\"?><?xml-stylesheet type=\"text/xsl\" href=\"a.xsl\"?><A>1</A>");
}

TEST(XmlReading, WithoutDeclarationTheFirstElementIsTheRoot) {
  testsupport::TempFolder dir;
  auto doc = Parsed(dir, "<Session><LastDocFileName>a.txt</LastDocFileName></Session>");
  EXPECT_EQ(doc->Root()->Name, "Session");
  EXPECT_EQ(doc->ReadString("LastDocFileName", "?"), "a.txt");
}

TEST(XmlFiles, MissingEmptyOrTaglessFilesLoadAsFalseAndChangeNothing) {
  testsupport::TempFolder dir;
  TXmlDoc doc;
  doc.WriteString("Keep", "1");
  EXPECT_FALSE(doc.LoadFromFile(dir.File("missing.xml")));
  dir.Write("empty.xml", "");
  EXPECT_FALSE(doc.LoadFromFile(dir.File("empty.xml")));
  dir.Write("plain.txt", "no tags here");
  EXPECT_FALSE(doc.LoadFromFile(dir.File("plain.txt")));
  EXPECT_EQ(doc.Root()->Name, "?xml");
  EXPECT_EQ(doc.Root()->Nodes().Count(), 1);
  EXPECT_EQ(doc.ReadString("Keep", "?"), "1");
}

TEST(XmlFiles, AFailedSaveLeavesTheOldFileWhole) {
  testsupport::TempFolder dir;
  dir.Write("keep.xml", "<?xml version=\"1.0\"?>\r\n<Old>1</Old>\r\n");
  SetFileAttributesA(dir.File("keep.xml").c_str(), FILE_ATTRIBUTE_READONLY);
  TXmlDoc doc;
  doc.WriteString("New", "2");
  EXPECT_FALSE(doc.SaveToFile(dir.File("keep.xml"), 2, true));
  EXPECT_EQ(dir.Read("keep.xml"), "<?xml version=\"1.0\"?>\r\n<Old>1</Old>\r\n");
  EXPECT_FALSE(doc.SaveToFile(dir.File("no such folder\\x.xml"), 2, true));

  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA(dir.File("*.tmp").c_str(), &fd);
  EXPECT_EQ(h, INVALID_HANDLE_VALUE) << "a temporary file was left behind";
  if (h != INVALID_HANDLE_VALUE) FindClose(h);
}

TEST(XmlFiles, SaveReplacesAnExistingFile) {
  testsupport::TempFolder dir;
  dir.Write("x.xml", std::string(5000, 'x'));
  TXmlDoc doc;
  doc.WriteString("A", "1");
  ASSERT_TRUE(doc.SaveToFile(dir.File("x.xml"), 2, true));
  EXPECT_EQ(dir.Read("x.xml"), "<?xml version=\"1.0\"?>\r\n<A>1</A>\r\n");
}

TEST(XmlCodingTable, HoldsTheLatin1RowsWithTheTwoDuplicates) {
  const auto& t = CodingTable();
  ASSERT_EQ(t.size(), 102u);
  EXPECT_EQ(t[0].Named, "&amp;");
  EXPECT_EQ(t[4].Char, ' ');
  EXPECT_EQ(t[4].Numeric, "&#160;");
  EXPECT_EQ(t[5].Named, "&iexcl;");
  EXPECT_EQ(t[19].Named, "&macr;");
  EXPECT_EQ(t[20].Named, "&hibar;");
  EXPECT_EQ(t[20].Numeric, "&#175;");
  EXPECT_EQ(t[53].Named, "&ETH;");
  EXPECT_EQ(t[54].Named, "&Dstrok;");
  EXPECT_EQ(t[54].Numeric, "&#208;");
  EXPECT_EQ(t[101].Named, "&yuml;");
  EXPECT_EQ(static_cast<unsigned char>(t[101].Char), 255);
}

TEST(XmlReading, DeepNestingIsCutInsteadOfExhaustingTheStack) {
  testsupport::TempFolder dir;
  std::string text = "<?xml version=\"1.0\"?>";
  for (int i = 0; i < 100000; ++i) text += "<a>";
  auto doc = Parsed(dir, text);
  int depth = 0;
  for (TXmlNode* n = doc->Root(); n->Nodes().Count() > 0; n = n->Nodes().Items(0)) ++depth;
  EXPECT_EQ(depth, TXmlNode::MaxXmlDepth);
}

namespace {
// The tree as one line: name, attributes, then the children or (for a leaf) the value.
std::string TreeText(const TXmlNode& Node) {
  std::string r = Node.Name;
  for (int i = 0; i < Node.Attribs().Count(); ++i)
    r += " " + Node.Attribs().Items(i)->Name + "=" + Node.Attribs().Items(i)->Value;
  if (Node.Nodes().Count() == 0) return r + (Node.CDATA ? " cdata:" : ":") + Node.Value;
  r += " {";
  for (int i = 0; i < Node.Nodes().Count(); ++i) r += (i ? " | " : "") + TreeText(*Node.Nodes().Items(i));
  return r + "}";
}

std::string ReadText(const std::string& Text) {
  TXmlDoc doc;
  TXmlReader reader(Text);
  EXPECT_GT(doc.Root()->ReadFromStream(reader, ""), 0) << Text;
  return TreeText(*doc.Root());
}

// Writes the document in both layouts and checks that each reads back as the same tree.
void ExpectWrittenTreeReadsBack(TXmlDoc& Doc) {
  Saved(Doc);  // gives the declaration its version
  const std::string before = TreeText(*Doc.Root());
  for (bool lineBreaks : {true, false}) {
    const std::string written = Saved(Doc, lineBreaks ? 2 : 0, lineBreaks);
    EXPECT_EQ(ReadText(written), before) << written;
  }
}
}  // namespace

TEST(XmlRoundTrip, DeclarationAttributesAreEscapedLikeAnyOther) {
  testsupport::TempFolder dir;
  auto doc = Parsed(dir, "<?xml version=\"1.0\" x='a\"b' y=\"1&gt;2 &amp;lt;\"?><A>1</A>");
  EXPECT_EQ(TXmlAttrib::GetValue(doc->Root()->Attribs().Find("x")), "a\"b");
  EXPECT_EQ(Saved(*doc, 0, false),
            "<?xml version=\"1.0\" x=\"a&quot;b\" y=\"1&gt;2 &amp;lt;\"?><A>1</A>");
  auto loaded = RoundTrip(*doc, dir);
  EXPECT_EQ(TXmlAttrib::GetValue(loaded->Root()->Attribs().Find("x")), "a\"b");
  EXPECT_EQ(TXmlAttrib::GetValue(loaded->Root()->Attribs().Find("y")), "1>2 &lt;");
  EXPECT_EQ(loaded->ReadString("A", "?"), "1");
}

TEST(XmlRoundTrip, QuestionMarkNamesInsideTheDocumentReadBackAsTheSameTree) {
  const struct {
    const char* text;
    const char* tree;
  } cases[] = {
      {"<?xml version=\"1.0\"?><A><?pi x=\"1\"?><?foo>text</?foo><B>1</B></A>",
       "?xml version=1.0 {A {?pi x=1: | ?foo:text | B:1}}"},
      // A declaration inside the document does not take the elements after it as children.
      {"<?xml version=\"1.0\"?><A><?xml?><B/></A>", "?xml version=1.0 {A {?xml: | B:}}"},
      {"<?xml version=\"1.0\"?><A><?xml><B/></?xml><C/></A>", "?xml version=1.0 {A {?xml {B:} | C:}}"},
      {"<?xml version=\"1.0\"?><A><? x>v</?><?" "?><B/></A>", "?xml version=1.0 {A {?:v | ?: | B:}}"},
      // A trailing "/" or "?" is not part of a name: it would change the tag when written.
      {"<?xml version=\"1.0\"?><A><b? x>v</b?><c/ y>w</c/><d?/ z=\"1\"/></A>",
       "?xml version=1.0 {A {b:v | c:w | d z=1:}}"},
      {"<?foo?><A/>", "?foo version=1.0:"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    TXmlDoc doc;
    TXmlReader reader(c.text);
    ASSERT_GT(doc.Root()->ReadFromStream(reader, ""), 0);
    ExpectWrittenTreeReadsBack(doc);
    EXPECT_EQ(TreeText(*doc.Root()), c.tree);
  }
}

TEST(XmlRoundTrip, AnInstructionGivenAValueOrChildrenKeepsItsSiblings) {
  TXmlDoc doc;
  TXmlReader reader("<?xml version=\"1.0\"?><A><?pi?><?pj?><B>1</B></A>");
  ASSERT_GT(doc.Root()->ReadFromStream(reader, ""), 0);
  doc.WriteString("A\\?pi", "v");
  doc.CreatePath("A\\?pj\\C", "w");
  ExpectWrittenTreeReadsBack(doc);
  EXPECT_EQ(TreeText(*doc.Root()), "?xml version=1.0 {A {?pi:v | ?pj {C:w} | B:1}}");
  EXPECT_THROW(doc.CreatePath("A\\?new", ""), ERangeError);
}

TEST(XmlReading, ElementsAfterADeepCutKeepTheirPlaces) {
  std::string text = "<?xml version=\"1.0\"?><R>";
  for (int i = 0; i < 300; ++i) text += "<a>" + std::string(i % 2 ? "<?pi?><b/>" : "") + "<?c x?>";
  text += "deep";
  for (int i = 0; i < 300; ++i) text += "</a>";
  text += "<B>1</B></R>";
  TXmlDoc doc;
  TXmlReader reader(text);
  ASSERT_GT(doc.Root()->ReadFromStream(reader, ""), 0);
  EXPECT_EQ(doc.FindNode("R")->Nodes().Count(), 2);
  EXPECT_EQ(doc.ReadString("R\\B", "?"), "1");
  ExpectWrittenTreeReadsBack(doc);
}

// What the writer writes is well-formed, every cut of it is not, and neither are the kinds of
// damage a file meets, nor hand edits that the reader or the writer would not keep whole: such
// a file must not be taken in and written back by the program.
TEST(XmlWellFormed, TheWritersOutputPassesAndDamageDoesNot) {
  TXmlDoc doc;
  doc.WriteString("Templates\\brief\\Before", "Sehr geehrte <Damen> & \"Herren\"\r\n\0!"s);
  doc.WriteString("Templates\\brief\\Select", "");
  doc.WriteAttrib("Templates\\brief", "MenuText", "Brief & Co\x0C\x01\t\x1F\0"s);
  doc.WriteString("Templates\\\xE4rger1\\After", "]]> <![CDATA[");
  TXmlNode::SetCDATA(doc.CreatePath("Templates\\code", "a < b && c\0]]>\0"s), true);
  for (bool lineBreaks : {true, false}) {
    const std::string written = Saved(doc, lineBreaks ? 2 : 0, lineBreaks);
    EXPECT_TRUE(IsWellFormedXml(written)) << written;
    const size_t firstElement = written.find("<Templates");
    const size_t end = written.rfind('>');
    for (size_t cut = firstElement + 1; cut <= end; ++cut)
      EXPECT_FALSE(IsWellFormedXml(written.substr(0, cut))) << "cut at " << cut << ": " << written.substr(0, cut);
  }
  const struct {
    std::string text;
    bool wellFormed;
  } cases[] = {
      {"", true},
      {"<?xml version=\"1.0\"?>\r\n", true},
      {"\xEF\xBB\xBF<?xml version=\"1.0\" encoding='UTF-8' ?>\r\n<A x = \"1\">v&#228;&#xE4;&auml;</A>\r\n", true},
      {"<!-- vorne --><?XML version=\"1.0\"?><!DOCTYPE a><?pi x=\"1\"?><A><!-- <B> --><B/>\r\n<C></C ></A>", true},
      {"<?xml version=\"1.0\"?><A/><B/>", true},
      {"<?xml version=\"1.0\"?><A x=\"&#2;&#12;\">v<!-- c --></A>", true},
      {"<?xml version=\"1.0\"?><A>x<![CDATA[<y>]]>z</A><B>\r\n<C/>\r\n</B>", true},
      {"<?xml version=\"1.0\"?><A>  </A><B><!-- c --></B>", true},
      {"<A>v</A>", false},                                      // no declaration: A is the root
      {"<?pi?><?xml version=\"1.0\"?><A>v</A>", false},         // nor is it the first tag
      {"<!DOCTYPE a><?xml version=\"1.0\"?><A>v</A>", false},
      {"<?xml-stylesheet href=\"a\"?><A>v</A>", false},
      {"<?xml version=\"1.0\"?><A>x<B/></A>", false},             // text beside an element
      {"<?xml version=\"1.0\"?><A><B/>x</A>", false},
      {"<?xml version=\"1.0\"?><A><![CDATA[]]><B/></A>", false},
      {"<?xml version=\"1.0\"?><A>x<!-- c -->y</A>", false},      // text after a comment
      {"<?xml version=\"1.0\"?><A>x<!-- c -->\r\n</A>", false},
      {"<?xml version=\"1.0\"?><A>x<!-- c --><![CDATA[y]]></A>", false},
      {"<?xml version=\"1.0\"?><A><?pi?>x</A>", false},            // an instruction inside
      {"<?xml version=\"1.0\"?><A><?pi?><B/></A>", false},
      {"<?xml version=\"1.0\"?><A><?b>x</?b></A>", false},
      {"<?xml version=\"1.0\"?><A x=\"1\" X=\"2\">v</A>", false},   // an attribute twice
      {"<?xml version=\"1.0\" version=\"1.0\"?>", false},
      {"<?xml version=\"1.0\" encoding=\"utf-8\"?><A x=\"\xE2\x82\xAC\">\xC3\xA4<![CDATA[\xC3\xB6]]></A>", true},
      {"<?xml version=\"1.0\" encoding=\"UTF-8\"?><A>\xE2\x86\x92</A>", false},  // no ANSI character
      {"<?xml version=\"1.0\" encoding=\"UTF-8\"?><A><![CDATA[\xE2\x86\x92]]></A>", false},
      {"<?xml version=\"1.0\" encoding=\"UTF-8\"?><A x=\"\xE2\x86\x92\"/>", false},
      {"<?xml version=\"1.0\" encoding=\"UTF-8\"?><A>\xC3</A>", false},  // no UTF-8
      {"<?xml version=\"1.0\" encoding=\"UTF-8\"?><?pi x=\"\xE4\"?>", false},
      {"<?xml version=\"1.0\" x=\"\xE4\"?><A>\xE4</A>", true},
      {"<?xml version=\"1.0\"?><A><B></A></B>", false},         // crossed
      {"<?xml version=\"1.0\"?><A></a>", false},                // another name
      {"<?xml version=\"1.0\"?><A><B>", false},                 // cut off
      {"<?xml version=\"1.0\"?></A>", false},                   // closes nothing
      {"<?xml version=\"1.0\"?><A\x01B>v</A\x01B>", false},      // control byte in a name
      {"<?xml version=\"1.0\"?><A x=\"\x02\x0C\">v</A>", true},   // kept in a value, as once written
      {"<?xml version=\"1.0\"?><A x=\"\x02\"\x0C>v</A>", false},    // but not beside it
      {"<?xml version=\"1.0\"?><A>Salt & Pepper</A>", false},   // a bare "&"
      {"<?xml version=\"1.0\"?><A>&amp</A>", false},            // a reference not ended
      {"<?xml version=\"1.0\"?><A x=1>v</A>", false},           // unquoted
      {"<?xml version=\"1.0\"?><A x=\"1\"y=\"2\">v</A>", false},  // no blank between
      {"<?xml version=\"1.0\"?><A x=\"1>v</A>", false},          // quote not closed
      {"<?xml version=\"1.0\"?><A>v</A>rest", false},           // text after the elements
      {"M\xFCll<?xml version=\"1.0\"?><A/>", false},              // and before them
      {"<?xml version=\"1.0\"?><A><!-- offen</A>", false},
      {"<?xml version=\"1.0\"?><A><![CDATA[offen</A>", false},
      {"<?xml version=\"1.0\"?><![CDATA[x]]><A/>", false},
      {"<?xml version=\"1.0\"?><A><!DOCTYPE a></A>", false},
      {"<?xml version=\"1.0\"?><A><B<C/></B></A>", false},
      {"<?xml version=\"1.0\"?><A>v</A", false},
      {"<?xml version=\"1.0\"?><A/ >", false},
      {"\x89PNG\r\n\x1A\n\0\0"s, false},
      {"<?xml version=\"1.0\"?><A>Hal&#0;lo <![CDATA[x]]>&#0;</A>", true},  // as the writer writes it
      {"<?xml version=\"1.0\"?><A>Hal\0lo </A>"s, false},  // a zero byte as it stands
      {"<?xml version=\"1.0\"?><A x=\"\0\">v</A>"s, false},
      {"<?xml version=\"1.0\"?><A><![CDATA[\0]]></A>"s, false},
      {"<?xml version=\"1.0\"?><A>v<!-- \0 --></A>"s, false},
      {"<?xml version=\"1.0\"?>\r\n\0"s, false},
      // A comment ends at "-->" whatever it holds, for the reader as for the check.
      {"<?xml?><a>t<!--?><b/>--></a>", true},
      {"<?xml?><a><!--?>t--><b/></a>", true},
      {"<?xml?><a><!--?><b/>-->t</a>", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsWellFormedXml(c.text), c.wellFormed) << c.text;
  // What the check passes of them, the reader reads whole.
  TXmlDoc commented;
  TXmlReader reader("<?xml?><a>t<!--?><b/>--></a>");
  ASSERT_GT(commented.Root()->ReadFromStream(reader, ""), 0);
  EXPECT_EQ(commented.ReadString("a", "?"), "t");
  EXPECT_EQ(commented.FindNode("a")->Nodes().Count(), 0);
  // Below the depth the reader keeps, elements are dropped.
  for (int depth : {TXmlNode::MaxXmlDepth, TXmlNode::MaxXmlDepth + 1}) {
    std::string text = "<?xml version=\"1.0\"?>";
    for (int i = 0; i < depth; ++i) text += "<a>";
    for (int i = 0; i < depth; ++i) text += "</a>";
    EXPECT_EQ(IsWellFormedXml(text), depth == TXmlNode::MaxXmlDepth) << depth;
  }
}

namespace {
// Documents as a person might edit them: declarations, comments, instructions, text, CDATA
// sections and elements mixed at random, mostly where they belong. Only text and attribute
// values hold the letters j, k, q and z, so those letters measure the text a file holds.
class THandEditedDocument {
public:
  explicit THandEditedDocument(std::mt19937& Random) : random_(Random) {}

  std::string Make() {
    std::string r;
    if (Chance(8)) r += Pick({"<!-- vorne -->", "<!--?><A>X</A>-->", "<?pi?>", "<!DOCTYPE T>", "\r\n"});
    if (!Chance(8)) r += "<?xml version=\"1.0\"?>\r\n";
    for (int n = Below(3); n >= 0; --n) r += Chance(3) ? Pick({"<!-- X -->", "<?pi y=\"k\"?>", "\r\n", "qz"}) : Element(1);
    return r;
  }

private:
  std::string Element(int Depth) {
    const std::string name = Pick({"A", "B", "C"});
    const std::string start = "<" + name + (Chance(3) ? " x=\"jk\"" : "");
    if (Chance(5)) return start + "/>";
    std::string content;
    for (int n = Below(4); n > 0; --n) content += Content(Depth);
    return start + ">" + content + "</" + name + ">";
  }

  std::string Content(int Depth) {
    switch (Below(7)) {
      case 0: return Pick({" ", "\r\n  ", "qz", "j &lt; k", "\tq "});
      case 1: return "<![CDATA[z<]]>";
      case 2: return Pick({"<!-- X -->", "<!--?><C/>-->", "<!--?>X-->"});
      case 3: return Chance(4) ? "<?pi y=\"k\"?>" : "qz";
      default: return Depth < 3 ? Element(Depth + 1) : "\r\n";
    }
  }

  bool Chance(int OneIn) { return Below(OneIn) == 0; }
  int Below(int N) { return static_cast<int>(random_() % static_cast<unsigned>(N)); }
  std::string Pick(std::initializer_list<const char*> Items) { return *(Items.begin() + Below(static_cast<int>(Items.size()))); }

  std::mt19937& random_;
};

std::string CountedLetters(const std::string& Text) {
  std::string r;
  for (char c : Text)
    if (std::string("jkqz").find(c) != std::string::npos) r += c;
  return r;
}

// The letters of the tree's attribute values and leaf values in document order: what the
// writer writes of it.
std::string CountedLetters(const TXmlNode& Node) {
  std::string r;
  for (int i = 0; i < Node.Attribs().Count(); ++i) r += CountedLetters(Node.Attribs().Items(i)->Value);
  if (Node.Nodes().Count() == 0) return r + CountedLetters(Node.Value);
  for (int i = 0; i < Node.Nodes().Count(); ++i) r += CountedLetters(*Node.Nodes().Items(i));
  return r;
}
}  // namespace

// What the check passes the reader reads whole: written back in either layout it passes the
// check again, reads back as the same tree, and no text of the file is lost on the way.
TEST(XmlWellFormed, AHandEditedFileThatPassesIsReadAndWrittenWhole) {
  std::mt19937 random(20240611);
  THandEditedDocument maker(random);
  int passed = 0, refused = 0;
  for (int i = 0; i < 4000; ++i) {
    const std::string text = maker.Make();
    if (!IsWellFormedXml(text)) {
      ++refused;
      continue;
    }
    ++passed;
    TXmlDoc doc;
    TXmlReader reader(text);
    if (doc.Root()->ReadFromStream(reader, "") == 0) {
      EXPECT_EQ(CountedLetters(text), "") << text;  // no tag but comments
      continue;
    }
    for (bool lineBreaks : {true, false}) {
      const std::string written = Saved(doc, lineBreaks ? 2 : 0, lineBreaks);
      EXPECT_TRUE(IsWellFormedXml(written)) << text << "\nwritten:\n" << written;
      TXmlDoc again;
      TXmlReader rereader(written);
      ASSERT_GT(again.Root()->ReadFromStream(rereader, ""), 0) << written;
      EXPECT_EQ(TreeText(*again.Root()), TreeText(*doc.Root())) << text;
      EXPECT_EQ(CountedLetters(*again.Root()), CountedLetters(text)) << text << "\nwritten:\n" << written;
    }
    if (HasFailure()) return;
  }
  EXPECT_GT(passed, 400);
  EXPECT_GT(refused, 400);
}

// A store says why nothing was read: a file held by another program is not a missing one.
TEST(XmlFiles, LoadingAStoreSaysWhyNothingWasRead) {
  testsupport::TempFolder dir;
  dir.Write("bad.xml", "<?xml version=\"1.0\"?><A><B>1</B>");
  dir.Write("good.xml", "<?xml version=\"1.0\"?><A><B>1</B></A>");
  dir.Write("held.xml", "<?xml version=\"1.0\"?><A><B>1</B></A>");
  dir.Write("empty.xml", "");
  dir.Write("plain.txt", "no tags here");
  testsupport::HeldFile held(dir.File("held.xml"));
  ASSERT_TRUE(held.Held());
  struct Case {
    const char* file;
    bool wellFormedOnly;
    TXmlLoad load;
  } cases[] = {{"bad.xml", true, TXmlLoad::Damaged},     {"bad.xml", false, TXmlLoad::Loaded},
               {"good.xml", true, TXmlLoad::Loaded},     {"held.xml", true, TXmlLoad::Unreadable},
               {"held.xml", false, TXmlLoad::Unreadable}, {"empty.xml", true, TXmlLoad::Nothing},
               {"plain.txt", false, TXmlLoad::Nothing},  {"missing.xml", true, TXmlLoad::Nothing}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.file) + (c.wellFormedOnly ? " well-formed only" : ""));
    TXmlDoc doc;
    EXPECT_EQ(doc.LoadStore(dir.File(c.file), c.wellFormedOnly), c.load);
    EXPECT_EQ(doc.ReadString("A\\B", "-"), c.load == TXmlLoad::Loaded ? "1" : "-");
  }
  TXmlDoc doc;
  EXPECT_FALSE(doc.LoadFromFile(dir.File("held.xml")));
  held.Release();
  EXPECT_EQ(doc.LoadStore(dir.File("held.xml"), true), TXmlLoad::Loaded);
}
