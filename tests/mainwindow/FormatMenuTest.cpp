// The Format menu as the user reaches it on the main window: menu state, every conversion
// item as one undo step, the questions of wrapping and filling, and the entity switch.
#include <gtest/gtest.h>
#include "documents/fHlpMainFuncs.h"
#include "support/EditTestWindow.h"

namespace {

using codeedittest::Select;
using edittest::EditWindowTest;

class FormatMenuTest : public EditWindowTest {
protected:
  // Clicks the item on the text with the selection and checks result and one undo step.
  void ExpectItem(const std::string& Name, const std::string& Text, TBufferCoord From,
                  TBufferCoord To, const std::string& Expected) {
    SCOPED_TRACE(Name + ": " + Text);
    SetText(Text);
    const std::string before = edit->Text();
    Select(*edit, From, To);
    Click(Name);
    EXPECT_EQ(edit->Text(), Expected);
    if (Expected == before) return;
    Click("mnuEditUndo");
    EXPECT_EQ(edit->Text(), before);
    EXPECT_FALSE(edit->CanUndo()) << "more than one undo step";
    Click("mnuEditRedo");
    EXPECT_EQ(edit->Text(), Expected);
  }
  static void Answer(const std::string& Value, int Result = IDOK) {
    ModalAnswer answer;
    answer.result = Result;
    answer.value = Value;
    testsupport::QueueAnswer(answer);
  }
};

constexpr TBufferCoord None{1, 1};

}  // namespace

TEST_F(FormatMenuTest, OpeningTheMenuFollowsTextLinesCaretAndSelection) {
  const char* needText[] = {"mnuFormatConvert", "mnuFormatParIn", "mnuFormatParOut",
                            "mnuFormatDelLines", "mnuFormatLineWrap"};
  SetText("");
  Click("mnuFormat");
  for (const char* name : needText) EXPECT_FALSE(Enabled(name)) << name;
  for (const char* name : {"mnuFormatSortAsc", "mnuFormatSortDesc", "mnuFormatMoveLineUp",
                           "mnuFormatMoveLineDown", "mnuFormatFillSelection",
                           "mnuFormatConnectLines"})
    EXPECT_FALSE(Enabled(name)) << name;

  SetText("a\r\nb\r\nc");
  edit->SetCaretXY({1, 2});
  Click("mnuFormat");
  for (const char* name : needText) EXPECT_TRUE(Enabled(name)) << name;
  EXPECT_TRUE(Enabled("mnuFormatSortAsc"));
  EXPECT_TRUE(Enabled("mnuFormatMoveLineUp"));
  EXPECT_TRUE(Enabled("mnuFormatMoveLineDown"));
  EXPECT_FALSE(Enabled("mnuFormatFillSelection"));
  EXPECT_FALSE(Enabled("mnuFormatConnectLines"));

  Select(*edit, {1, 3}, {2, 3});
  Click("mnuFormat");
  EXPECT_FALSE(Enabled("mnuFormatMoveLineDown")) << "the caret is on the last line";
  EXPECT_TRUE(Enabled("mnuFormatFillSelection"));
  EXPECT_TRUE(Enabled("mnuFormatConnectLines"));
  edit->SetCaretXY({1, 1});
  Click("mnuFormat");
  EXPECT_FALSE(Enabled("mnuFormatMoveLineUp"));
}

TEST_F(FormatMenuTest, EveryConversionItemRewritesItsScopeAsOneUndoStep) {
  Settings.Editor.TabWidth = 2;
  Settings.Editor.RightEdge = 4;
  auto savedTable = SpecialCharsTable;
  SetSpecialChar(228, "\xE4", "auml", "");
  struct Row {
    const char* Item;
    const char* Text;
    TBufferCoord From, To;
    const char* Expected;
  };
  const Row rows[] = {
      {"mnuFormatToUpper", "gro\xDF\r\n\xE4", None, None, "GRO\xDF\r\n\xC4"},
      {"mnuFormatToLower", "AB\r\nCD", {2, 1}, {2, 2}, "Ab\r\ncD"},
      {"mnuFormatToUpperLowerSwap", "aB", None, None, "Ab"},
      {"mnuFormatSpecialCharsToHtmlCodes", "\xE4\xE5", None, None, "&auml;\xE5"},
      {"mnuFormatSpecialCharsToHtmlUnicodes", "\xE4", None, None, "&#228;"},
      {"mnuFormatHtmlCodesUnicodesToSpecialChars", "&auml;&#65;", None, None, "\xE4" "A"},
      {"mnuFormatHtmlToText", "a&lt;b <i>c</i>", None, None, "a<b c"},
      {"mnuFormatHtmlEncode", "a&b<c>", None, None, "a&amp;b&lt;c&gt;"},
      {"mnuFormatHtmlDecode", "&LT;x&amp;lt;", None, None, "<x&lt;"},
      {"mnuFormatComprWhitespaces", " a \r\n\t b ", None, None, "a b"},
      {"mnuFormatANSItoANSII", "\xE4", None, None, "\x84"},
      {"mnuFormatASCIItoANSI", "\x84", None, None, "\xE4"},
      {"mnuFormatANSItoUTF8", "\xE4", None, None, "\xC3\xA4"},
      {"mnuFormatUTF8toANSI", "\xC3\xA4", None, None, "\xE4"},
      {"mnuFormatUTF8toANSI", "\xE4 bleibt", None, None, "\xE4 bleibt"},
      {"mnuFormatToURL", "a b", None, None, "a%20b"},
      {"mnuFormatFromURL", "a%20b", None, None, "a b"},
      {"mnuFormatToQP", "\xE4", None, None, "=E4"},
      {"mnuFormatFromQP", "=E4", None, None, "\xE4"},
      {"mnuFormatToBase64", "abc", None, None, "YWJj"},
      {"mnuFormatFromBase64", "YWJj", None, None, "abc"},
      {"mnuFormatFromBase64", "x!", None, None, ""},
      {"mnuFormatROT13", "abc", None, None, "nop"},
      {"mnuFormatTabsToSpaces", "a\tb", None, None, "a  b"},
      {"mnuFormatSpacesToTabs", "a    b", None, None, "a\t\tb"},
      {"mnuFormatTrimTrailingSpaces", "a \r\nb", None, None, "a\r\nb\r\n"},
      {"mnuFormatLineWrapRightEdge", "aaa bbb", None, None, "aaa\r\nbbb\r\n"},
      {"mnuFormatSortAsc", "b\r\nA\r\nc", None, None, "A\r\nb\r\nc"},
      {"mnuFormatSortDesc", "b\r\nA\r\nc", None, None, "c\r\nb\r\nA"},
      {"mnuFormatDelEmptyLines", "a\r\n \r\nb", {1, 1}, {2, 1}, "a\r\nb"},
      {"mnuFormatDelDuplicateLines", "Abc\r\nabc\r\nx", None, None, "Abc\r\nx"},
      {"mnuFormatConnectLines", " a \r\nb", {1, 1}, {2, 2}, "a b"},
      {"mnuFormatConnectLines", "ab", None, None, "ab"},  // needs a selection
      {"mnuFormatMoveLineUp", "1\r\n2", {1, 2}, {1, 2}, "2\r\n1"},
      {"mnuFormatMoveLineDown", "1\r\n2", None, None, "2\r\n1"},
      {"mnuFormatMoveLineUp", "1\r\n2", None, None, "1\r\n2"},
  };
  for (const Row& r : rows) ExpectItem(r.Item, r.Text, r.From, r.To, r.Expected);
  // A tab width below 1 leaves tabs and blanks alone.
  Settings.Editor.TabWidth = 0;
  ExpectItem("mnuFormatTabsToSpaces", "a\tb", None, None, "a\tb");
  ExpectItem("mnuFormatSpacesToTabs", "a  b", None, None, "a  b");
  SpecialCharsTable = savedTable;
}

TEST_F(FormatMenuTest, MovingLinesCountsAsAChangeOfTheDocument) {
  SetText("1\r\n2");
  frame->DocInfo.Modified = false;
  edit->SetCaretXY({1, 2});
  Click("mnuFormatMoveLineUp");
  EXPECT_TRUE(frame->DocInfo.Modified);
  EXPECT_TRUE(edit->Modified());
}

TEST_F(FormatMenuTest, WrappingAndFillingAskFirstAndIgnoreUnusableAnswers) {
  struct Row {
    const char* Answer;
    int Result;
    const char* Expected;
  };
  const Row wraps[] = {
      {"4", IDOK, "aaa\r\nbbb\r\n"}, {"0", IDOK, "aaa bbb"}, {"-2", IDOK, "aaa bbb"},
      {"vier", IDOK, "aaa bbb"},     {"", IDOK, "aaa bbb"},  {"4", IDCANCEL, "aaa bbb"},
  };
  for (const Row& r : wraps) {
    SCOPED_TRACE(r.Answer);
    SetText("aaa bbb");
    ModalAnswer answer;
    answer.result = r.Result;
    answer.value = r.Answer;
    testsupport::QueueAnswer(answer, [](const ModalQuestion& Q) {
      EXPECT_EQ(Q.caption, "Zeilen umbrechen");
      EXPECT_EQ(Q.text, "Anzahl der Zeichen pro Zeile:");
      EXPECT_EQ(Q.value, "");
    });
    Click("mnuFormatLineWrapRightEdgeNChars");
    EXPECT_EQ(edit->Text(), r.Expected);
  }

  const Row fills[] = {
      {"xy", IDOK, "axyxyd"}, {"", IDOK, "abc\r\nd"}, {"xy", IDCANCEL, "abc\r\nd"},
  };
  for (const Row& r : fills) {
    SCOPED_TRACE(r.Answer);
    SetText("abc\r\nd");
    Select(*edit, {2, 1}, {1, 2});  // "bc" and the line break: 4 characters
    ModalAnswer answer;
    answer.result = r.Result;
    answer.value = r.Answer;
    testsupport::QueueAnswer(answer, [](const ModalQuestion& Q) {
      EXPECT_EQ(Q.caption, "Auswahl f\xFCllen");
      EXPECT_EQ(Q.text,
                "Geben Sie bitte die Zeichen ein, mit denen die Auswahl aufgef\xFCllt werden soll:");
    });
    Click("mnuFormatFillSelection");
    EXPECT_EQ(edit->Text(), r.Expected);
  }
  SetText("abcde");
  Answer("xy");
  Click("mnuFormatFillSelection");
  EXPECT_EQ(edit->Text(), "xyxyx") << "nothing selected: all of the text";
  Click("mnuEditUndo");
  EXPECT_EQ(edit->Text(), "abcde");
  EXPECT_FALSE(edit->CanUndo());
}

TEST_F(FormatMenuTest, LineRemovalIndentAndReadOnlyDocuments) {
  SetText("x1\r\ny\r\nx2");
  Answer("X");
  Click("mnuFormatDelLinesStarts");
  EXPECT_EQ(edit->Text(), "y");

  SetText("a\r\nb");
  Select(*edit, {1, 1}, {2, 2});
  Click("mnuFormatParIn");
  const std::string indented = edit->Text();
  EXPECT_NE(indented, "a\r\nb");
  EXPECT_EQ(indented.find_first_not_of(" \t"), indented.find('a'));
  Click("mnuFormatParOut");
  EXPECT_EQ(edit->Text(), "a\r\nb");

  edit->SetReadOnly(true);
  for (const char* name : {"mnuFormatToUpper", "mnuFormatDelEmptyLines", "mnuFormatMoveLineUp",
                           "mnuFormatParIn", "mnuFormatConnectLines",
                           "mnuFormatLineWrapRightEdgeNChars", "mnuFormatFillSelection",
                           "mnuFormatDelLinesContains"}) {
    Select(*edit, {1, 1}, {2, 2});
    Click(name);
    EXPECT_EQ(edit->Text(), "a\r\nb") << name;
  }
  EXPECT_EQ(testsupport::AskedQuestions().size(), 1u) << "a read-only document asks nothing";
}

TEST_F(FormatMenuTest, TheEntitySwitchFollowsMenuButtonAndDocument) {
  TMenuItem* item = Item("mnuFormatReplaceHtmlNamedChars");
  TToolButton* button = frmMain->Find<TToolButton>("tbMainFormatReplaceHtmlNamedChars");
  ASSERT_NE(button, nullptr);
  const bool initial = frame->DocInfo.ReplaceHtmlNamedChars;
  item->SetChecked(initial);
  Click("mnuFormatReplaceHtmlNamedChars");
  EXPECT_EQ(item->Checked(), !initial);
  EXPECT_EQ(button->Down(), !initial);
  EXPECT_EQ(frame->DocInfo.ReplaceHtmlNamedChars, !initial);
  Click("tbMainFormatReplaceHtmlNamedChars");
  EXPECT_EQ(item->Checked(), initial);
  EXPECT_EQ(button->Down(), initial);
  EXPECT_EQ(frame->DocInfo.ReplaceHtmlNamedChars, initial);

  CloseAllDocuments(false);
  Click("mnuFormatReplaceHtmlNamedChars");
  EXPECT_EQ(item->Checked(), initial) << "no document: no change";
  for (const char* name : {"mnuFormat", "mnuFormatToUpper", "mnuFormatSortAsc",
                           "mnuFormatMoveLineDown", "mnuFormatFillSelection",
                           "mnuFormatLineWrapRightEdgeNChars", "mnuFormatDelLinesMatch",
                           "mnuFormatParOut"})
    Click(name);
}
