#include <gtest/gtest.h>
#include "documents/fHlpMain.h"
#include "documents/fLanguage.h"
#include "rtl/Exception.h"
#include "support/TempFolder.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Controls.h"

namespace {
class LanguageTest : public testing::Test {
protected:
  void SetUp() override { Settings.Language.clear(); }
  void TearDown() override {
    LanguageTexts.Clear();
    Settings.Language.clear();
  }
  // Loads a language file made of the given text.
  int Load(const std::string& Text) {
    dir.Write("test.lng", Text);
    return LoadLanguageFile(dir.File("test.lng"));
  }
  testsupport::TempFolder dir;
};
}  // namespace

TEST_F(LanguageTest, LoadKeepsTrimmedLinesAndDropsCommentsAndBlankLines) {
  EXPECT_EQ(Load("# comment\r\n\r\n   \r\n  Main|A = eins  \r\n  # indented comment\r\nMain|B=zwei\r\n"), 2);
  EXPECT_EQ(LanguageTexts[0], "Main|A = eins");
  EXPECT_EQ(LanguageTexts[1], "Main|B=zwei");
}

TEST_F(LanguageTest, MissingFileEmptiesTheListAndGivesMinusOne) {
  Load("Main|A=eins\r\n");
  EXPECT_EQ(LoadLanguageFile(dir.File("missing.lng")), -1);
  EXPECT_EQ(LanguageTexts.Count(), 0);
  EXPECT_EQ(GetLangText("Main|A", "Standard"), "Standard");
}

TEST_F(LanguageTest, LookupTrimsKeysIgnoresCaseAndTakesTheFirstLine) {
  Load("  Main|Title = Erster  \r\nmain|title=Zweiter\r\nMain|Empty=\r\nMain|NoEquals\r\n");
  EXPECT_EQ(GetLangText("MAIN|TITLE", "Standard"), " Erster");
  EXPECT_EQ(GetLangText("Main|Empty", "Standard"), "Standard");
  EXPECT_EQ(GetLangText("Main|NoEquals", "Standard"), "Standard");
  EXPECT_EQ(GetLangText("Main|Missing", "Standard"), "Standard");
}

TEST_F(LanguageTest, ParametersAndEscapes) {
  EXPECT_EQ(GetLangText("K", "Datei %s1%%w%fehlt", LangParams({"a.txt"})), "Datei a.txt\r\nfehlt");
  EXPECT_EQ(GetLangText("K", "%s1%-%s2%-%s3%", LangParams({"x", "y"})), "x-y-%s3%");
  EXPECT_EQ(GetLangText("K", "%s1% bleibt"), "%s1% bleibt");
  EXPECT_EQ(GetLangText("K", "100$%$ %r%%n%%t%%_%."), "100% \r\n\t .");
  EXPECT_EQ(GetLangText("K", "[%s1%]", LangParams({""})), "[]");
  // Escapes in a value are expanded; references in a value are not looked at again.
  EXPECT_EQ(GetLangText("K", "%s1%|%s2%", LangParams({"a%t%%s2%", "b"})), "a\t%s2%|b");
  EXPECT_EQ(GetLangText("K", "%s01% %s1%", LangParams({"v"})), "%s01% v");
}

TEST_F(LanguageTest, TranslatedTemplatesMayOnlyUseTheDefaultsParameters) {
  Load("Main|Ok=%s1% Treffer in %s2%\r\nMain|Bad=%s1% und %s3%\r\n");
  EXPECT_EQ(GetLangText("Main|Ok", "%s2%: %s1% hits", LangParams({"5", "a.txt"})), "5 Treffer in a.txt");
  EXPECT_EQ(GetLangText("Main|Bad", "%s1% und %s2%", LangParams({"a", "b"})), "a und b");
  // Without parameters the text is no template and is taken as it is.
  EXPECT_EQ(GetLangText("Main|Bad", "Standard"), "%s1% und %s3%");
}

TEST_F(LanguageTest, TheToolkitsMessagesSpeakGermanOrTheLanguageFile) {
  EXPECT_EQ(ToolkitText(TToolkitText::NamesNotShown, {"7"}), "\x85 und 7 weitere");
  EXPECT_EQ(ToolkitText(TToolkitText::NameRefusedTitle, {}), "Ungeeigneter Name");
  Load("Main|MsgNameRefusedMore=... and %s1% more\r\nMain|MsgNameRefusedTitle=Unfit name\r\n");
  EXPECT_EQ(ToolkitText(TToolkitText::NamesNotShown, {"7"}), "... and 7 more");
  EXPECT_EQ(ToolkitText(TToolkitText::NameRefusedTitle, {}), "Unfit name");
}

TEST_F(LanguageTest, CharsetNames) {
  EXPECT_EQ(CharsetFromName(" greek "), 161);
  EXPECT_EQ(CharsetFromName("ANSI"), 0);
  EXPECT_EQ(CharsetFromName("ShiftJIS"), 128);
  EXPECT_EQ(CharsetFromName("EastEurope"), 238);
  EXPECT_EQ(CharsetFromName("oem"), 255);
  EXPECT_EQ(CharsetFromName("Klingon"), 1);
  EXPECT_EQ(CharsetFromName(""), 1);
}

TEST_F(LanguageTest, ListsTheInternalLanguageFirstAndChecksTheCurrentOne) {
  dir.Write("English.lng", "");
  dir.Write("notes.txt", "");
  Settings.Language = "ENGLISH";
  TLanguageChoices choices = ListLanguages(dir.Path());
  ASSERT_EQ(choices.Names.size(), 2u);
  EXPECT_EQ(choices.Names[0], "Deutsch (intern)");
  EXPECT_EQ(choices.Names[choices.Checked], "English");

  Settings.Language = "Missing";
  EXPECT_EQ(ListLanguages(dir.Path()).Checked, 0);
}

TEST_F(LanguageTest, FillsTheComboBoxAndSelectsTheCurrentLanguage) {
  dir.Write("English.lng", "");
  Settings.Language = "english";
  TForm form(nullptr, {"Test", 300, 200});
  auto* combo = form.Make<TComboBox>("cmbLanguage", &form, 10, 10, 200, 150);
  combo->AddItem("old");
  FillLanguageComboBox(*combo, dir.Path());
  ASSERT_EQ(combo->Count(), 2);
  EXPECT_EQ(combo->Items(0), "Deutsch (intern)");
  EXPECT_EQ(combo->Text(), "English");
}

TEST_F(LanguageTest, FormFontAndTextsComeFromTheLanguage) {
  Load("Font|Name=Arial\r\nFont|Size=zwölf\r\nFont|Charset=greek\r\nTest|Title=Title\r\nTest|btnGo=Go\r\n");
  TForm form(nullptr, {"Titel", 300, 200});
  auto* button = form.Make<TButton>("btnGo", &form, 10, 10, 80, 25);
  ApplyFormFont(form);
  EXPECT_EQ(form.Font().Name(), "Arial");
  EXPECT_EQ(form.Font().Size(), 8);
  EXPECT_EQ(form.Font().Charset(), 161);
  ApplyFormTexts(form, {{TFormText::Caption, "", "Test|Title", "Titel"},
                        {TFormText::Caption, "btnGo", "Test|btnGo", "Los"},
                        {TFormText::Hint, "btnGo", "Test|btnGoHint", "Startet"}});
  EXPECT_EQ(form.Caption(), "Title");
  EXPECT_EQ(button->Caption(), "Go");
  EXPECT_EQ(button->Hint(), "Startet");
  const std::vector<TFormText> unknown = {{TFormText::Caption, "btnMissing", "Test|x", "x"}};
  EXPECT_THROW(ApplyFormTexts(form, unknown), Exception);
}
