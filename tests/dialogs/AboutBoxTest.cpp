#include <gtest/gtest.h>
#include <map>
#include "commands/ExtrasCommands.h"
#include "dialogs/formInfo.h"
#include "documents/fHlpMain.h"
#include "documents/fLanguage.h"
#include "foundation/fMain.h"
#include "support/ModalAnswers.h"
#include "support/TempFolder.h"
#include "toolkit/GroupBox.h"
#include "toolkit/ShellStart.h"

namespace {
using testsupport::QueueAnswer;

class AboutBoxTest : public ::testing::Test {
protected:
  AboutBoxTest() {
    LanguageTexts.Clear();
    Settings = TSettings();
    Settings.AppDir = dir.Path();
    SetShellStartOverride([this](const std::string& Target) {
      opened.push_back(Target);
      return shellWorks;
    });
  }
  ~AboutBoxTest() override {
    SetShellStartOverride(nullptr);
    LanguageTexts.Clear();
    Settings = TSettings();
  }
  TfrmInfo::TVersionSource Versions() {
    return [this](const std::string& Key) { return versions.count(Key) ? versions.at(Key) : ""; };
  }
  std::string Text(TfrmInfo& Form, const char* Name) { return Form.Ctl<TWinControl>(Name)->Caption(); }

  testsupport::TempFolder dir;
  std::map<std::string, std::string> versions = {
      {"ProductVersion", "2.5.1"}, {"Comments", "Ein Editor."}, {"LegalCopyright", "(c) Orvask"}};
  std::vector<std::string> opened;
  bool shellWorks = true;
};
}  // namespace

TEST_F(AboutBoxTest, ShowsTheVersionInformationAndGermanDefaults) {
  TfrmInfo form(nullptr, Versions());
  EXPECT_EQ(form.Caption(), "Info \xFC" "ber Tarvoline");
  EXPECT_EQ(Text(form, "lblTitle"), "Tarvoline");
  EXPECT_EQ(Text(form, "lblVersion"), "Version 2.5.1");
  EXPECT_EQ(Text(form, "lblDescription"), "Ein Editor.");
  EXPECT_EQ(Text(form, "lblCopyright"), "(c) Orvask");
  EXPECT_EQ(Text(form, "lblRights"), "Alle Rechte vorbehalten.");
  EXPECT_EQ(Text(form, "grpLang"), "Sprachdatei");
  EXPECT_EQ(Text(form, "lblLang"), "Deutsch");
  EXPECT_EQ(Text(form, "lblLangAuthorName"), "Orvask");
  EXPECT_EQ(Text(form, "lblLangHomePage"), "http://www.orvask.de/");
  EXPECT_EQ(Text(form, "lblLangMailAddr"), "info@orvask.de");
  EXPECT_EQ(form.Ctl<TWinControl>("lblLangMailAddr")->Hint(), "E-Mail an den \xDC" "bersetzer senden");
  EXPECT_EQ(Text(form, "btnOk"), "Ok");
  EXPECT_FALSE(form.Ctl<TFlagImage>("imgLang")->HasPicture());  // the form's own flag
}

TEST_F(AboutBoxTest, TheLanguageFileFillsItsGroupAndFlag) {
  for (const char* line : {"Lang|Language=English", "Lang|AuthorName=Jo", "Lang|AuthorMail=jo@x.org",
                           "Info|lblVersion=Release %s1%"})
    LanguageTexts.Add(line);
  Settings.Language = "English";
  CreateDirectoryA(dir.File("Language").c_str(), nullptr);
  // A 20 x 12 bitmap, 24 bits per pixel.
  std::string bmp(54 + 20 * 12 * 3, '\0');
  auto put = [&](size_t at, uint32_t v, int n) {
    for (int i = 0; i < n; ++i) bmp[at + i] = static_cast<char>(v >> (8 * i));
  };
  bmp[0] = 'B', bmp[1] = 'M';
  put(2, static_cast<uint32_t>(bmp.size()), 4), put(10, 54, 4), put(14, 40, 4), put(18, 20, 4);
  put(22, 12, 4), put(26, 1, 2), put(28, 24, 2);
  dir.Write("Language\\English.bmp", bmp);
  TfrmInfo form(nullptr, Versions());
  EXPECT_EQ(Text(form, "lblLang"), "English");
  EXPECT_EQ(Text(form, "lblLangAuthorName"), "Jo");
  EXPECT_EQ(Text(form, "lblVersion"), "Release 2.5.1");
  auto* flag = form.Ctl<TFlagImage>("imgLang");
  EXPECT_TRUE(flag->HasPicture());
  EXPECT_EQ(flag->Left() + flag->Width(), form.Ctl<TGroupBox>("grpLang")->Left() + 80);

  // The subject carries the bare version, whatever word the language puts before it.
  form.lblLangMailAddrClick();
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], "mailto:" + URLEncode("jo@x.org", "") + "?subject=" +
                           URLEncode("Sprachdatei: Tarvoline 2.5.1", ""));
}

TEST_F(AboutBoxTest, LinksGoThroughTheShellAndReportFailure) {
  TfrmInfo form(nullptr, Versions());
  form.lblMailAddrClick();
  form.lblHomePageClick(Text(form, "lblHomePage"));
  for (const char* address : {"javascript:alert(1)", "C:\\Windows\\evil.exe", "", "WWW.orvask.de", "https://x.de"})
    form.lblHomePageClick(address);
  ASSERT_EQ(opened.size(), 4u);
  EXPECT_EQ(opened[0], std::string("mailto:") + URLEncode(MakerMailAddress, "") + "?subject=" + URLEncode("Tarvoline 2.5.1", ""));
  EXPECT_EQ(opened[1], MakerHomePage);
  EXPECT_EQ(opened[2], "WWW.orvask.de");
  EXPECT_EQ(opened[3], "https://x.de");

  shellWorks = false;
  QueueAnswer(ModalAnswer{.result = IDOK}, [](const ModalQuestion& q) { EXPECT_EQ(q.caption, "Kein Standard-Webbrowser gefunden"); });
  form.lblHomePageClick(MakerHomePage);
  QueueAnswer(ModalAnswer{.result = IDOK}, [](const ModalQuestion& q) { EXPECT_EQ(q.caption, "Kein Standard-Mailclient gefunden"); });
  form.lblMailAddrClick();
}
