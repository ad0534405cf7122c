// The Format menu's text conversions, each on its own, and what stops one from writing.
#include <gtest/gtest.h>
#include <optional>
#include "commands/FormatCommands.h"
#include "commands/TextConversions.h"
#include "documents/fHlpMainFuncs.h"
#include "editor/CodeEditTestFixture.h"
#include "foundation/fMain.h"
#include "rtl/SysUtils.h"

using codeedittest::MakeEdit;

namespace {

// A small special-character table for the test; the program's own comes back afterwards.
class EntityConversionTest : public testing::Test {
protected:
  void SetUp() override {
    saved_ = SpecialCharsTable;
    SpecialCharsTable.fill({});
    SetSpecialChar(228, "\xE4", "auml", "");
    SetSpecialChar(233, "\xE9", "eacute", "");
    SetSpecialChar(160, "\xA0", "", "");  // a numeric entity only
  }
  void TearDown() override { SpecialCharsTable = saved_; }

private:
  std::array<TSpecialCharRec, 256> saved_;
};

struct TConversionRow {
  const char* Input;
  const char* Expected;
};

void ExpectRows(std::string (*Convert)(const std::string&),
                std::initializer_list<TConversionRow> Rows) {
  for (const TConversionRow& r : Rows) EXPECT_EQ(Convert(r.Input), r.Expected) << r.Input;
}

}  // namespace

TEST_F(EntityConversionTest, EntitiesReplaceCharactersAbove127AndKeepThoseWithoutOne) {
  struct Row {
    const char* Input;
    const char* Named;
    const char* Numeric;
  };
  const Row rows[] = {
      {"a\xE4" "b", "a&auml;b", "a&#228;b"},
      {"\xE9\xE4", "&eacute;&auml;", "&#233;&#228;"},
      {"\xA0", "\xA0", "&#160;"},            // no name: the character stays
      {"x\xC8y", "x\xC8y", "x\xC8y"},        // no entry at all
      {"<&>\"\x7F\r\n", "<&>\"\x7F\r\n", "<&>\"\x7F\r\n"},  // codes up to 127 stay
      {"", "", ""},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(SpecialCharsToEntities(r.Input, false), r.Named) << r.Input;
    EXPECT_EQ(SpecialCharsToEntities(r.Input, true), r.Numeric) << r.Input;
    // Back again through the table's decoding.
    EXPECT_EQ(ConvertHtmlChars(SpecialCharsToEntities(r.Input, true)), r.Input);
  }
  // Without a table file nothing has an entity: the text comes back whole.
  SpecialCharsTable.fill({});
  EXPECT_EQ(SpecialCharsToEntities("gr\xFC\xDF" "e", false), "gr\xFC\xDF" "e");
  EXPECT_EQ(SpecialCharsToEntities("gr\xFC\xDF" "e", true), "gr\xFC\xDF" "e");
}

TEST_F(EntityConversionTest, TagsAreRemovedAndEntitiesDecoded) {
  ExpectRows(HtmlToText, {
      {"a&lt;b <i>c</i>", "a<b c"},
      {"<p class=\"x>y\">t</p>", "y\"t"},  // quotes are not recognised
      {"&auml;<br>&#233;", "\xE4\xE9"},
      {"&amp;lt;", "&lt;"},                 // one level of escaping only
      {"a>b", "ab"},
      {"x<unclosed", "x"},
      {"", ""},
  });
}

TEST(HtmlEncoding, EncodeAndDecodeAreInverse) {
  ExpectRows(HtmlEncode, {
      {"a&b<c>", "a&amp;b&lt;c&gt;"},
      {"\"q\"", "&quot;q&quot;"},
      {"\xE4'\r\n", "\xE4'\r\n"},
  });
  ExpectRows(HtmlDecode, {
      {"a&amp;b&lt;c&gt;", "a&b<c>"},
      {"&LT;&Gt;&QUOT;&AMP;", "<>\"&"},
      {"&amp;lt;", "&lt;"},  // "&amp;" goes after "&lt;"
      {"&auml;", "&auml;"},
  });
  for (const char* text : {"a&b<c>\"d\"", "&lt;", "&amp;&", "<<>>"})
    EXPECT_EQ(HtmlDecode(HtmlEncode(text)), text);
}

TEST(TextConversions, WhiteSpaceIsTrimmedAndCompressed) {
  ExpectRows(CompressWhitespaces, {
      {"  a \t\r\n b  ", "a b"},
      {"\x01" "a\x02", "a"},
      {"a\r\n\r\nb", "a b"},
      {" \t\r\n", ""},
  });
}

TEST(TextConversions, CodePagesRoundTrip) {
  // The OEM code page of a German Windows puts the umlauts where the DOS code pages had them.
  EXPECT_EQ(ConvertAnsiToOem("\xE4\xF6\xFC\xC4"), "\x84\x94\x81\x8E");
  EXPECT_EQ(ConvertOemToAnsi("\x84\x94\x81\x8E"), "\xE4\xF6\xFC\xC4");
  EXPECT_EQ(ConvertAnsiToOem("ab\r\nc"), "ab\r\nc");
  EXPECT_EQ(ConvertAnsiToOem(""), "");
  // What the other code page lacks is marked, not replaced by a look-alike ("S", "+").
  EXPECT_EQ(ConvertAnsiToOem("\x8A\x80x"), "??x");
  EXPECT_EQ(ConvertOemToAnsi("\xC9\xCD\x84"), "??\xE4");

  ExpectRows(AnsiToUtf8, {
      {"a\xE4", "a\xC3\xA4"},
      {"\x80", "\xE2\x82\xAC"},  // the euro sign
      {"x\r\n", "x\r\n"},
      {"", ""},
  });
  const std::string withZero("a\0\xE4", 3);
  EXPECT_EQ(AnsiToUtf8(withZero), std::string("a\0\xC3\xA4", 4));
  for (const char* text : {"a\xE4\xDF\x80", "plain", ""})
    EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(text)), std::optional<std::string>(text));
  // What the code page lacks becomes "?", never a look-alike (Omega is no "O").
  EXPECT_EQ(Utf8ToAnsi("\xCE\xA9mega \xE2\x80\x82"), std::optional<std::string>("?mega ?"));
  // Bytes that are not UTF-8 give no result, so the text is left as it is.
  for (const char* bad : {"\xC3", "a\xFF", "\xE2\x82", "\xC0\x80"})
    EXPECT_FALSE(Utf8ToAnsi(bad).has_value()) << bad;
}

TEST(TextConversions, Base64IsCleanedBeforeDecoding) {
  ExpectRows(Base64ToText, {
      {"YWJj", "abc"},
      {"YW\r\nJj\r\n", "abc"},
      {"YQ", "a"},  // padding added
      {" YWI= ", "ab"},
      {"!!!!", ""},
      {"", ""},
  });
  const std::string bytes = "\x00\xFF\xE4\r\n";
  EXPECT_EQ(Base64ToText(Base64Encode(bytes)), bytes);
}

TEST(TextConversions, TabsAndSpacesAtEveryWidth) {
  struct Row {
    const char* Input;
    int Width;
    const char* Expected;
  };
  const Row toSpaces[] = {
      {"a\tb", 2, "a  b"},
      {"\t\t", 1, "  "},
      {"abc\td", 4, "abc    d"},  // no column alignment
      {"a\tb", 0, "a\tb"},         // widths below 1 change nothing
      {"a\tb", -3, "a\tb"},
  };
  for (const Row& r : toSpaces) EXPECT_EQ(TabsToSpaces(r.Input, r.Width), r.Expected) << r.Width;
  const Row toTabs[] = {
      {"a     b", 2, "a\t\t b"},
      {"    ", 4, "\t"},
      {"   x", 4, "   x"},
      {"  ", 1, "\t\t"},
      {"a  b", 0, "a  b"},
      {"a  b", -1, "a  b"},
  };
  for (const Row& r : toTabs) EXPECT_EQ(SpacesToTabs(r.Input, r.Width), r.Expected) << r.Input;
  EXPECT_EQ(SpacesToTabs(TabsToSpaces("\ta\t\tb", 3), 3), "\ta\t\tb");
}

TEST(ConvertEditorText, NothingChangesWithoutResultSelectionOrWritableDocument) {
  auto edit = MakeEdit("\xC3 kein UTF-8");
  ConvertEditorText(edit.get(), Utf8ToAnsi);
  EXPECT_EQ(edit->Text(), "\xC3 kein UTF-8");
  EXPECT_FALSE(edit->CanUndo());

  edit->SetText("a\xC3\xA4");
  ConvertEditorText(edit.get(), Utf8ToAnsi);
  EXPECT_EQ(edit->Text(), "a\xE4");

  edit->SetText("ab");
  ConvertEditorText(edit.get(), AnsiUpperCase, TConvertScope::SelectionOnly);
  EXPECT_EQ(edit->Text(), "ab");

  edit->SetReadOnly(true);
  ConvertEditorText(edit.get(), AnsiUpperCase);
  EXPECT_EQ(edit->Text(), "ab");
  ConvertEditorText(nullptr, AnsiUpperCase);
}
