// The print rows of the File menu on a real main window: page setup, preview, print and plain
// print, with a document and without one, answered through the modal seam onto a fake printer.
#include <gtest/gtest.h>
#include "dialogs/formPgSetup.h"
#include "dialogs/formPreview.h"
#include "documents/fHlpMainDocs.h"
#include "editor/CodeEdit.h"
#include "printing/CodeEditPrint.h"
#include "printing/CodeEditPrintPreview.h"
#include "printing/PrintTestSupport.h"
#include "support/DocumentsTestFixture.h"
#include "toolkit/Controls.h"
#include "toolkit/Menus.h"
#include "toolkit/StatusBar.h"
#include "toolkit/ToolBar.h"

namespace {

const char* const kDocumentRows[] = {"mnuFilePrintPreview", "tbMainFilePrintPreview",
                                     "mnuFilePrint", "tbMainFilePrint",
                                     "mnuFilePrintUnFormatted"};

ModalAnswer PrintAll(int Copies = 1) {
  return ModalAnswer{.result = IDOK, .numbers = {0, 1, 1, Copies}};
}

class FilePrintCommandsTest : public documentstest::DocumentWindowTest {
protected:
  void SetUp() override {
    DocumentWindowTest::SetUp();
    Settings.Printer.UseHeader = true;
    Settings.Printer.HeaderLeftText = "Kopf $FILENAME$";
    Settings.Printer.UseFooter = false;
  }
  static void Click(const std::string& Name) {
    if (auto* item = frmMain->Find<TMenuItem>(Name)) item->Click();
    else frmMain->Find<TToolButton>(Name)->Click();
  }
  static bool Usable(const std::string& Name) {
    if (auto* item = frmMain->Find<TMenuItem>(Name)) return item->Enabled();
    const TToolButton* button = frmMain->Find<TToolButton>(Name);
    return button->Visible() && button->Enabled();
  }
  // A document of several pages whose first line tells it apart.
  TfraEdit* OpenLetter() {
    std::string text = "Brief\tmit Tab\r\n";
    for (int i = 2; i <= 150; ++i) text += "Zeile " + std::to_string(i) + "\r\n";
    return OpenWith("Brief.txt", text);
  }
  static bool OnPage(const printtest::TPageRecord& Page, const std::string& S) {
    for (const std::string& row : Page.RowTexts())
      if (row.find(S) != std::string::npos) return true;
    return false;
  }
  bool PrintedText(const std::string& S) const {
    for (const auto& page : printer.Pages)
      if (OnPage(page, S)) return true;
    return false;
  }
  printtest::TFakePrinter printer;
};

}  // namespace

TEST_F(FilePrintCommandsTest, PrintFormatsTheActiveDocumentFromTheSettings) {
  OpenLetter();
  for (const char* row : {"mnuFilePrint", "tbMainFilePrint"}) {
    printer.Pages.clear();
    printer.Titles.clear();
    testsupport::QueueAnswer(PrintAll(), [](const ModalQuestion& q) {
      EXPECT_EQ(q.kind, ModalKind::PrintDialog);
    });
    Click(row);
    ASSERT_GT(printer.Pages.size(), 1u) << row;
    EXPECT_TRUE(OnPage(printer.Pages[0], "Kopf Brief.txt")) << row;
    EXPECT_TRUE(OnPage(printer.Pages.back(), "Zeile 150")) << row;
    EXPECT_EQ(printer.Titles, std::vector<std::string>{"Brief.txt"}) << "the tab caption";
  }
  EXPECT_EQ(frmMain->sepPrint->Title(), "Brief");
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);
}

TEST_F(FilePrintCommandsTest, CancelledPrintDialogPrintsNothing) {
  OpenLetter();
  for (const char* row : {"mnuFilePrint", "tbMainFilePrint", "mnuFilePrintUnFormatted"}) {
    testsupport::QueueAnswer(IDCANCEL);
    Click(row);
  }
  EXPECT_TRUE(printer.Calls.empty());
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);
}

TEST_F(FilePrintCommandsTest, UnformattedPrintHasNoHeaderAndTheSettingsTabWidth) {
  TfraEdit* frame = OpenLetter();
  frame->seEdit->SetTabWidth(4);
  Settings.Editor.TabWidth = 6;
  Settings.Printer.MarginUnit = 1;  // the formatted job's unit
  testsupport::QueueAnswer(PrintAll());
  Click("mnuFilePrint");
  printer.Pages.clear();

  testsupport::QueueAnswer(PrintAll());
  Click("mnuFilePrintUnFormatted");
  ASSERT_FALSE(printer.Pages.empty());
  EXPECT_FALSE(PrintedText("Kopf"));
  EXPECT_TRUE(OnPage(printer.Pages[0], "Brief   mit Tab"));
  TCodeEditPrint& plain = *frmMain->sepPringUnFormatted;
  EXPECT_EQ(plain.Lines()[0], "Brief   mit Tab") << "laid out as in the editor";
  EXPECT_EQ(plain.TabWidth(), 6);
  EXPECT_EQ(plain.Header().Count(), 0);
  EXPECT_EQ(plain.Margins().UnitSystem(), TUnitSystem::usMM) << "its own defaults";
  EXPECT_GT(frmMain->sepPrint->Header().Count(), 0) << "the formatted job is left alone";
}

TEST_F(FilePrintCommandsTest, PreviewShowsTheDocumentAndPrintsFromItsButton) {
  TfraEdit* frame = OpenLetter();
  for (const char* row : {"mnuFilePrintPreview", "tbMainFilePrintPreview"}) {
    printer.Pages.clear();
    bool shown = false;
    testsupport::QueueFormAnswer([&](TForm& Form) {
      auto& preview = dynamic_cast<TfrmPreview&>(Form);
      shown = true;
      EXPECT_EQ(preview.sbPreview->PanelText(1), frame->DocInfo.FileName);
      EXPECT_GT(preview.sepPreview->GetPageCount(), 1);
      testsupport::QueueAnswer(PrintAll());
      preview.tbPrint->Click();
      return static_cast<int>(mrCancel);
    });
    Click(row);
    EXPECT_TRUE(shown) << row;
    EXPECT_TRUE(PrintedText("Kopf Brief.txt")) << row;
  }
  EXPECT_EQ(printer.Titles.size(), 2u);
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);
}

TEST_F(FilePrintCommandsTest, PageSetupConfirmedReachesTheNextPrint) {
  OpenLetter();
  const double before = Settings.Printer.MarginTop;
  testsupport::QueueFormAnswer([](TForm& Form) {
    auto& setup = dynamic_cast<TfrmPgSetup&>(Form);
    EXPECT_EQ(setup.Caption(), "Seite einrichten");
    static_cast<TEdit*>(setup.FindComponent("txtTop"))->SetText("5");
    return static_cast<int>(mrCancel);
  });
  Click("mnuFilePrintSetup");
  EXPECT_DOUBLE_EQ(Settings.Printer.MarginTop, before) << "cancel keeps the settings";

  testsupport::QueueFormAnswer([](TForm& Form) {
    auto& setup = dynamic_cast<TfrmPgSetup&>(Form);
    static_cast<TEdit*>(setup.FindComponent("txtTop"))->SetText("40");
    setup.btnOkClick();
    return setup.ModalResult();
  });
  Click("mnuFilePrintSetup");
  EXPECT_DOUBLE_EQ(Settings.Printer.MarginTop, 40);
  testsupport::QueueAnswer(PrintAll());
  Click("mnuFilePrint");
  EXPECT_DOUBLE_EQ(frmMain->sepPrint->Margins().Top(), 40) << "in the unit of the settings";
}

TEST_F(FilePrintCommandsTest, WithoutADocumentOnlyPageSetupIsOffered) {
  Open("");
  for (const char* row : kDocumentRows) EXPECT_TRUE(Usable(row)) << row;
  CloseDocument();
  ASSERT_EQ(TabCount(), 0);
  for (const char* row : kDocumentRows) EXPECT_FALSE(Usable(row)) << row;
  EXPECT_TRUE(Usable("mnuFilePrintSetup"));

  // Reached another way (a hot key, the preview's button) they ask nothing and print nothing.
  MainForm()->mnuFilePrintClick(nullptr);
  MainForm()->mnuFilePrintUnFormattedClick(nullptr);
  MainForm()->mnuFilePrintPreviewClick(nullptr);
  EXPECT_TRUE(testsupport::AskedQuestions().empty());
  EXPECT_TRUE(printer.Calls.empty());
}

TEST_F(FilePrintCommandsTest, PrintsTheActiveTabAmongSeveral) {
  OpenWith("erste.txt", "Inhalt der ersten");
  OpenWith("zweite.txt", "Inhalt der zweiten");
  Pages().SetActivePageIndex(0);
  frmMain->TabSheetShow(Pages().ActivePage());
  testsupport::QueueAnswer(PrintAll(2));
  Click("mnuFilePrint");
  ASSERT_EQ(printer.Pages.size(), 2u) << "two copies of one page";
  EXPECT_TRUE(OnPage(printer.Pages[1], "Inhalt der ersten"));
  EXPECT_FALSE(PrintedText("zweiten"));
}
