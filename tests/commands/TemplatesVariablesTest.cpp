// Placeholder expansion with a fixed clock and zone: every placeholder, tokens left open,
// values that look like placeholders, and the effects on the document's editor.
#include <gtest/gtest.h>
#include "commands/TemplateVariables.h"
#include "rtl/DateTimeFormat.h"
#include "support/DocumentsTestFixture.h"
#include "toolkit/Menus.h"

namespace {

// Local 2024-12-30 14:05:09.250 (a Monday, in ISO week 1 of 2025), the zone at Bias minutes.
class FixedClock {
public:
  explicit FixedClock(TDateTime Local, int Bias = 60) {
    SetClockOverride([=] {
      TClockReading reading;
      reading.Local = Local;
      reading.Utc = Local - Bias / 1440.0;
      reading.BiasMinutes = Bias;
      return reading;
    });
  }
  ~FixedClock() { SetClockOverride(nullptr); }
};

TDateTime At(int Y, int M, int D, int H = 14, int N = 5, int S = 9) {
  return EncodeDate(Y, M, D) + EncodeTime(H, N, S, 250);
}

struct Case {
  const char* Text;
  const char* Expected;
};

}  // namespace

TEST(ExpandVariables, ReplacesEveryPlaceholderWithoutADocumentInStepOrder) {
  FixedClock clock(At(2024, 12, 30), 330);
  const Case cases[] = {
      {"a%-\r\nb", "ab"},
      {"a%-\nb", "a%-\nb"},                       // only "%-" before CR LF joins
      {"%r%|%n%|%w%", "\r|\n|\r\n"},
      {"%-%w%x", "%-\r\nx"},                      // breaks made later join nothing
      {"%DATETIME:yyyy//mm//dd%", "2024/12/30"},
      {"%DATETIME:dd.mm.yyyy hh:nn%", "30.12.2024 14:05"},
      {"%DATETIME:bb|b%", "+05:30|330"},
      {"%UTCDATETIME:hh:nn%", "08:35"},
      {"%UTCDATETIME:bb%", "bb"},                 // the zone only for local time
      {"%DATETIME:www ww x%", "1 1 365"},
      {"%DATETIME:yyyy%-%DATETIME:mm%", "2024-12"},
      {"$%$DATE$%$", "%DATE%"},                   // written with "$%$" it stays literal
      {"%FOO% %date% %", "%FOO% %date% %"},
      {"%FILE%|%FILENAME%|%CRC32SEL%|%MD5TEXT%", "%FILE%|%FILENAME%|%CRC32SEL%|%MD5TEXT%"},
      {"<%ASCII%%ANSI%%SELECTION%%SYNTAX::html:%>", "<>"},
      {"%DATETIME:yyyy", "%DATETIME:yyyy"},       // never closed: stays, ends
      {"%DATETIME:yy% %UTCDATETIME:yyyy", "24 %UTCDATETIME:yyyy"},
      {"%SYNTAX:html", "%SYNTAX:html"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ExpandVariables(c.Text, nullptr), c.Expected) << c.Text;
}

TEST(ExpandVariables, PlainDateAndTimeUseTheLocaleFormats) {
  FixedClock clock(At(2024, 3, 5, 7, 8, 9), -180);
  const TFormatSettings locale = GetLocaleFormatSettings(LOCALE_USER_DEFAULT);
  const std::string date = FormatDateTime(locale.ShortDateFormat, At(2024, 3, 5, 7, 8, 9), locale);
  const std::string time = FormatDateTime(locale.LongTimeFormat, At(2024, 3, 5, 7, 8, 9), locale);
  EXPECT_EQ(ExpandVariables("%DATE%|%TIME%|%DATETIME%", nullptr),
            date + "|" + time + "|" + date + " " + time);
  EXPECT_NE(date.find("2024"), std::string::npos);
  EXPECT_EQ(ExpandVariables("%UTCTIME%", nullptr),
            FormatDateTime(locale.LongTimeFormat, At(2024, 3, 5, 10, 8, 9), locale));
  EXPECT_EQ(ExpandVariables("%DATETIME:bb b%", nullptr), "-03:00 -180");
}

TEST(ExpandVariables, CalendarCountsAtTheTurnOfTheYear) {
  struct Day {
    TDateTime Moment;
    const char* Expected;  // week of the year, week of the month, day of the year
  };
  const Day days[] = {
      {At(2020, 12, 31), "53 5 366"}, {At(2021, 1, 1), "53 5 1"},  {At(2021, 1, 4), "1 1 4"},
      {At(2023, 1, 1), "52 5 1"},     {At(2024, 12, 31), "1 1 366"}, {At(2026, 12, 31), "53 5 365"},
      {At(2024, 2, 29), "9 5 60"},
  };
  for (const Day& d : days) {
    FixedClock clock(d.Moment);
    EXPECT_EQ(ExpandVariables("%DATETIME:www ww x%", nullptr), d.Expected) << d.Expected;
  }
}

TEST(ExpandVariables, ALanguagePrefixNamesTheMonthsOfThatLocale) {
  FixedClock clock(At(2024, 2, 1));
  EXPECT_EQ(ExpandVariables("%DATETIME:FR$mmmm%", nullptr), "f\xE9vrier");
  EXPECT_EQ(ExpandVariables("%DATETIME:GE$mmmm%", nullptr), "Februar");
  EXPECT_EQ(ExpandVariables("%DATETIME:AM$mmmm d, yyyy%", nullptr), "February 1, 2024");
}

TEST(FormatDateTime, LettersSeparatorsAndQuotedText) {
  TFormatSettings s;
  s.DateSeparator = '-';
  s.TimeSeparator = '.';
  s.ShortDateFormat = "d/m/yy";
  s.LongTimeFormat = "hh:nn:ss";
  s.LongMonthNames[1] = "Januar";
  s.ShortDayNames[2] = "Mo";
  s.TimeAMString = "vorm.";
  s.TimePMString = "nachm.";
  const TDateTime v = EncodeDate(2001, 1, 8) + EncodeTime(13, 4, 5, 7);
  const Case cases[] = {
      {"d dd ddd mmmm", "8 08 Mo Januar"}, {"yy yyyy y", "01 2001 01"},
      {"h:m hh:mm:ss", "13.4 13.04.05"},    {"z zzz", "7 007"},
      {"ddddd", "8-1-01"},                  {"c", "8-1-01 13.04.05"},
      {"hh am/pm h a/p ampm", "01 pm 1 p nachm."},
      {"'d m' \"y\" x", "d m y x"},         {"'open", "open"},
      {"AM/PM", "PM"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatDateTime(c.Text, v, s), c.Expected) << c.Text;
  EXPECT_EQ(FormatDateTime("c", EncodeDate(2001, 1, 8), s), "8-1-01") << "no time at midnight";
}

namespace {

class ExpandInDocumentTest : public documentstest::DocumentWindowTest {};

}  // namespace

TEST_F(ExpandInDocumentTest, FileAndChecksumPlaceholdersDescribeTheDocument) {
  TfraEdit* frame = OpenWith("R&D notes.txt", "123456789");
  ASSERT_NE(frame, nullptr);
  TCodeEdit& edit = *frame->seEdit;
  edit.SelectAll();
  const std::string file = folder.File("R&D notes.txt");
  EXPECT_EQ(ExpandVariables("%FILE%|%FILETITLE%|%FILENAME%|%FILEEXT%", frame),
            file + "|R&D notes|R&D notes.txt|txt");
  EXPECT_EQ(ExpandVariables("%FILEDIR%", frame), folder.Path().substr(0, folder.Path().size() - 1));
  EXPECT_EQ(ExpandVariables("%CRC32SEL%|%CRC32FILE%", frame), "CBF43926|CBF43926");
  EXPECT_EQ(ExpandVariables("%MD5SEL%", frame), "25F9E794323B453885F5181F1B624D0B");
  EXPECT_EQ(ExpandVariables("%SHA1FILE%", frame), "F7C3BC1D808E04732ADF679965CCC34CA7AE3441");

  TfraEdit* untitled = Open("");
  EXPECT_EQ(ExpandVariables("[%FILE%][%FILEDIR%][%FILEEXT%][%CRC32FILE%]", untitled), "[][][][]");
  EXPECT_EQ(ExpandVariables("%FILENAME%", untitled), untitled->DocInfo.Title);
  EXPECT_EQ(ExpandVariables("%CRC32SEL%", untitled), "00000000");
}

TEST_F(ExpandInDocumentTest, InsertedValuesAreNeverExpandedAgain) {
  TfraEdit* frame = Open("");
  frame->seEdit->SetText("$%$ %DATE% %SYNTAX::html:% %ASCII%");
  frame->seEdit->SelectAll();
  TCodeCustomHighlighter* before = frame->seEdit->Highlighter();
  EXPECT_EQ(ExpandVariables("<%SELECTION%>", frame), "<$%$ %DATE% %SYNTAX::html:% %ASCII%>");
  EXPECT_EQ(frame->seEdit->Highlighter(), before);
}

TEST_F(ExpandInDocumentTest, SyntaxAndFontTokensActOnTheEditorButNotInAPreview) {
  TfraEdit* frame = Open("");
  TCodeEdit& edit = *frame->seEdit;
  EXPECT_EQ(ExpandVariables("a%SYNTAX:HTML%b", frame), "ab");
  EXPECT_NE(edit.Highlighter(), frmMain->HlHTML) << "without colons only rule-file names count";
  EXPECT_EQ(ExpandVariables("%SYNTAX:HTML%", frame, TExpandMode::Preview), "");
  EXPECT_NE(edit.Highlighter(), frmMain->HlHTML);
  EXPECT_EQ(ExpandVariables("x%SYNTAX::HTML:%%SYNTAX::css:%", frame, TExpandMode::Preview), "x");
  EXPECT_NE(edit.Highlighter(), frmMain->HlCSS) << "a preview changes nothing";
  EXPECT_EQ(ExpandVariables("%MD5TEXT%", frame, TExpandMode::Preview), "%MD5TEXT%");
  EXPECT_EQ(ExpandVariables("x%SYNTAX::HTML:%%SYNTAX::css:%", frame), "x");
  EXPECT_EQ(edit.Highlighter(), frmMain->HlCSS) << "each token in turn, the last one stays";

  Settings.Editor.AsciiFontName = "Terminal";
  Settings.Editor.AnsiFontName = "Courier New";
  EXPECT_EQ(ExpandVariables("%ASCII%%ASCII%", frame), "%ASCII%") << "only the first is removed";
  EXPECT_EQ(edit.Font().Name(), "Terminal");
  EXPECT_EQ(ExpandVariables("%ANSI%", frame, TExpandMode::Preview), "");
  EXPECT_EQ(edit.Font().Name(), "Terminal");
  ExpandVariables("%ANSI%", frame);
  EXPECT_EQ(edit.Font().Name(), "Courier New");
}
