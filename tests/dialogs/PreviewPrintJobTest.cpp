#include <gtest/gtest.h>
#include "commands/fHlpMainPrint.h"
#include "editor/CodeEdit.h"
#include "printing/CodeEditPrint.h"
#include "printing/PrintTestSupport.h"
#include "support/ModalAnswers.h"

namespace {
TFontDetail Detail(const char* Name, int Size, bool Bold) {
  TFontDetail d;
  d.Name = Name;
  d.Size = Size;
  d.Charset = 0;
  d.Color = 0x112233;
  d.StyleBold = Bold;
  d.StyleStrikeout = !Bold;
  return d;
}

class SetupPrintJobTest : public ::testing::Test {
protected:
  SetupPrintJobTest() {
    Settings = TSettings();
    TPrinterSettings& p = Settings.Printer;
    p.LineNumbers = true;
    p.Wrap = false;
    p.Colors = true;
    p.Highlight = false;
    p.Mirror = true;
    p.MarginUnit = 1;
    p.MarginTop = 1.5;
    p.MarginLeft = 2;
    p.MarginGutter = 0.5;
    p.MarginInternal = 0.05;
    p.UseHeader = true;
    p.HeaderLeftText = "$filename$ in $FilePath$";
    p.HeaderCenterText = "$FULLPATH$ / $TITLE$";
    p.HeaderRightText = "$PAGENUM$";
    p.HeaderLeftFont = Detail("Arial", 9, true);
    p.HeaderCenterFont = Detail("Times New Roman", 12, false);
    p.HeaderRightFont = Detail("Arial", 8, false);
    p.HeaderBorder = true;
    p.HeaderLine = false;
    p.HeaderUseBackColor = true;
    p.HeaderBackColor = 0xABCDEF;
    p.HeaderLineColor = 0x0000FF;
    p.HeaderMirror = true;
    p.UseFooter = false;
    edit.SetText("first\tline\r\nsecond");
    edit.SetTabWidth(4);
    edit.Font().SetName("Courier New");
    edit.Font().SetSize(11);
  }
  ~SetupPrintJobTest() override { Settings = TSettings(); }
  printtest::TFakePrinter printer;
  TCodeEdit edit{nullptr};
  TCodeEditPrint print;
};
}  // namespace

TEST_F(SetupPrintJobTest, CopiesTheDocumentOptionsAndMargins) {
  print.Footer().Add("stale", nullptr, taLeftJustify, 1);
  SetupPrintJob(print, {&edit, "Brief.txt *", "C:\\Daten\\Brief.txt"});
  EXPECT_EQ(print.Lines(), (std::vector<std::string>{"first   line", "second"}));
  EXPECT_EQ(print.Font().Name(), "Courier New");
  EXPECT_EQ(print.Font().Size(), 11);
  EXPECT_EQ(print.DocTitle(), "Brief.txt *");
  EXPECT_EQ(print.Title(), "Brief");
  EXPECT_TRUE(print.LineNumbers());
  EXPECT_FALSE(print.Wrap());
  EXPECT_TRUE(print.Colors());
  EXPECT_FALSE(print.Highlight());
  auto& m = print.Margins();
  EXPECT_TRUE(m.MirrorMargins());
  EXPECT_EQ(m.UnitSystem(), TUnitSystem::usCM);
  EXPECT_DOUBLE_EQ(m.Top(), 1.5);
  EXPECT_DOUBLE_EQ(m.Gutter(), 0.5);
  m.SetUnitSystem(TUnitSystem::usMM);
  EXPECT_DOUBLE_EQ(m.Left(), 20);
  EXPECT_DOUBLE_EQ(m.HFInternalMargin(), 0.5);
  EXPECT_EQ(print.Footer().Count(), 0);  // emptied and not used
}

TEST_F(SetupPrintJobTest, HeaderTakesTextsFontsFramesAndFileMacros) {
  SetupPrintJob(print, {&edit, "Brief.txt", "C:\\Daten\\Brief.txt"});
  THeader& h = print.Header();
  ASSERT_EQ(h.Count(), 3);
  EXPECT_EQ(h.Items(0).Text(), "Brief.txt in C:\\Daten\\");
  EXPECT_EQ(h.Items(1).Text(), "C:\\Daten\\Brief.txt / $TITLE$");
  EXPECT_EQ(h.Items(2).Text(), "$PAGENUM$");
  EXPECT_EQ(h.Items(0).Alignment(), taLeftJustify);
  EXPECT_EQ(h.Items(1).Alignment(), taCenter);
  EXPECT_EQ(h.Items(2).Alignment(), taRightJustify);
  EXPECT_EQ(h.Items(1).Font().Name(), "Times New Roman");
  EXPECT_EQ(h.Items(1).Font().Size(), 12);
  EXPECT_EQ(h.Items(1).Font().Color(), 0x112233);
  EXPECT_TRUE(h.Items(0).Font().Style() == TFontStyles{TFontStyle::fsBold});
  EXPECT_TRUE(h.Items(1).Font().Style() == TFontStyles{TFontStyle::fsStrikeOut});
  EXPECT_TRUE(h.FrameTypes() == (TFrameTypes{TFrameType::ftShaded, TFrameType::ftBox}));
  EXPECT_EQ(h.ShadedColor(), 0xABCDEF);
  EXPECT_EQ(h.LineColor(), 0x0000FF);
  EXPECT_TRUE(h.MirrorPosition());
  for (int i = 0; i < 3; ++i) EXPECT_EQ(h.Items(i).LineNumber(), 1);
}

TEST_F(SetupPrintJobTest, ASecondSetupReplacesTheFirst) {
  SetupPrintJob(print, {&edit, "a", "C:\\a.txt"});
  Settings.Printer.UseHeader = false;
  Settings.Printer.UseFooter = true;
  Settings.Printer.FooterLeftText = "$PAGENUM$";
  SetupPrintJob(print, {&edit, "a", ""});
  EXPECT_EQ(print.Header().Count(), 0);
  EXPECT_EQ(print.Footer().Count(), 3);
  EXPECT_EQ(print.Title(), "");
}

TEST_F(SetupPrintJobTest, PrintCommandPrintsTheChosenPagesAndCopies) {
  std::string text;
  for (int i = 1; i <= 200; ++i) text += "Zeile " + std::to_string(i) + "\r\n";
  edit.SetText(text);
  testsupport::QueueAnswer(IDCANCEL);
  EXPECT_FALSE(PrintDocument(print, {&edit, "a", "C:\\a.txt"}, false));
  EXPECT_TRUE(printer.Calls.empty());

  testsupport::QueueAnswer(ModalAnswer{.result = IDOK, .numbers = {1, 2, 2, 2}});
  EXPECT_TRUE(PrintDocument(print, {&edit, "a", "C:\\a.txt"}, false));
  ASSERT_EQ(printer.Pages.size(), 2u);
  EXPECT_EQ(printer.Pages[0].RowTexts(), printer.Pages[1].RowTexts());
  EXPECT_TRUE(printer.Pages[0].Contains("C:\\a.txt"));  // the header of the settings

  printer.Pages.clear();
  testsupport::QueueAnswer(ModalAnswer{.result = IDOK, .numbers = {0, 1, 1, 1}});
  EXPECT_TRUE(PrintDocument(print, {&edit, "a", "C:\\a.txt"}, true));
  EXPECT_EQ(print.Header().Count(), 0);
  EXPECT_FALSE(printer.Pages.empty());
  EXPECT_FALSE(printer.Pages[0].Contains("C:\\a.txt"));
  EXPECT_EQ(PrintDocument(print, {nullptr, "", ""}, false), false);
}
