#include <gtest/gtest.h>
#include <windows.h>
#include <functional>
#include <memory>
#include <utility>
#include <vector>
#include "commands/fHlpMainLines.h"
#include "commands/fHlpMainSearch.h"
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"
#include "documents/frameEdit.h"
#include "mainwindow/formMain.h"
#include "support/ModalAnswers.h"
#include "support/PostedAction.h"
#include "support/TempFolder.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Controls.h"
#include "toolkit/ListView.h"
#include "toolkit/PageControl.h"

namespace {

// A main window with two untitled documents; the settings are put back afterwards.
class SearchDocumentsTest : public testing::Test {
protected:
  void SetUp() override {
    saved_ = std::make_unique<TSettings>(Settings);
    Settings.SettingsFile = folder_.File("missing.ini");
    LoadSettings();
    Settings.General.AddToRecentFiles = false;
    DocumentNumbers.clear();
    DocsOpen = false;
    LocalSearchReplace = TLocalSearchReplace();
    main_ = std::make_unique<TfrmMain>(nullptr);
    frmMain = main_.get();
    first_ = NewDocument("eins ab\r\nab");
    second_ = NewDocument("zwei\r\nxab");
  }
  void TearDown() override {
    main_.reset();
    frmMain = nullptr;
    Settings = *saved_;
    DocumentNumbers.clear();
    DocsOpen = false;
  }
  static TfraEdit* NewDocument(const std::string& Text) {
    OpenFile("");
    TfraEdit* frame = GetActiveFrame();
    frame->seEdit->SetText(Text);
    return frame;
  }
  static std::string Row(int Index) {
    TListItem* item = frmMain->lvResults->Items(Index);
    std::string s = item->Caption();
    for (int i = 0; i < item->SubItemCount(); ++i) s += "|" + item->SubItem(i);
    return s;
  }

  TfraEdit* first_ = nullptr;
  TfraEdit* second_ = nullptr;

private:
  testsupport::TempFolder folder_;
  std::unique_ptr<TSettings> saved_;
  std::unique_ptr<TfrmMain> main_;
};

}  // namespace

TEST_F(SearchDocumentsTest, EveryDocumentsHitsGoToTheResultsListWhichIsShown) {
  TListView& list = *frmMain->lvResults;
  std::vector<int> jumps;
  list.OnSelectItem = [&](TObject*, TListItem* Item, bool Selected) {
    if (Selected) jumps.push_back(Item->Index());
  };
  LocalSearchReplace.SearchText = "AB";
  SearchAllDocuments();
  ASSERT_EQ(list.Count(), 3);
  const std::string t1 = first_->DocInfo.Title, t2 = second_->DocInfo.Title;
  EXPECT_EQ(Row(0), t1 + "|0|6|1|6|2|eins ab  ab");
  EXPECT_EQ(Row(1), t1 + "|0|10|2|1|2|eins ab  ab");
  EXPECT_EQ(Row(2), t2 + "|1|8|2|2|2|zwei  xab");
  EXPECT_TRUE(LocalSearchReplace.Found);
  EXPECT_TRUE(frmMain->pcBottom->Visible());
  EXPECT_TRUE(Settings.ViewDocSearch);
  EXPECT_EQ(frmMain->pcBottom->ActivePage(), frmMain->Find<TTabSheet>("tabResults"));
  EXPECT_TRUE(list.Items(0)->Selected());
  EXPECT_EQ(jumps, std::vector<int>{0});

  // A new listing starts afresh; nothing found leaves the list empty and hidden as it was.
  frmMain->pcBottom->SetVisible(false);
  LocalSearchReplace.SearchText = "fehlt";
  LocalSearchReplace.Found = false;
  SearchAllDocuments();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_FALSE(LocalSearchReplace.Found);
  EXPECT_FALSE(frmMain->pcBottom->Visible());
}

TEST_F(SearchDocumentsTest, ACancelRequestEndsTheListing) {
  LocalSearchReplace.SearchText = "ab";
  frmMain->Find<TButton>("btnSearch")->SetTag(-1);
  // One document: the row found before the request was seen stays.
  SearchDocument(first_, 0);
  EXPECT_EQ(frmMain->lvResults->Count(), 1);
  // All documents: none is begun once the request stands.
  SearchAllDocuments();
  EXPECT_EQ(frmMain->lvResults->Count(), 0);
}

namespace {

void CloseDocumentOf(TfraEdit* Frame) {
  frmMain->pcEdit->SetActivePage(dynamic_cast<TTabSheet*>(Frame->Owner()));
  Frame->DocInfo.Modified = false;
  CloseDocument();
}

}  // namespace

TEST_F(SearchDocumentsTest, ADocumentClosedDuringTheListingLeavesTheOthersListed) {
  TfraEdit* third = NewDocument("ab drei");
  const std::string t1 = first_->DocInfo.Title, t2 = second_->DocInfo.Title,
                    t3 = third->DocInfo.Title;
  LocalSearchReplace.SearchText = "ab";
  // The first document goes right after its first row; the others move up one tab.
  TPostedAction close([&] { CloseDocumentOf(first_); });
  SearchAllDocuments();
  ASSERT_TRUE(close.Ran());
  ASSERT_EQ(frmMain->pcEdit->PageCount(), 2);
  TListView& list = *frmMain->lvResults;
  ASSERT_EQ(list.Count(), 4);
  EXPECT_EQ(Row(0), t1 + "|0|6|1|6|2|eins ab  ab");
  EXPECT_EQ(Row(1), t1 + "|0|10|2|1|2|eins ab  ab") << "listed from its copy";
  EXPECT_EQ(Row(2), t2 + "|0|8|2|2|2|zwei  xab");
  EXPECT_EQ(Row(3), t3 + "|1|1|1|1|2|ab drei");

  // A document closed before its turn is skipped; the rest keep their order.
  TfraEdit* last = third;
  TPostedAction closeLast([&] { CloseDocumentOf(last); });
  SearchAllDocuments();
  ASSERT_TRUE(closeLast.Ran());
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(Row(0), t2 + "|0|8|2|2|2|zwei  xab");
}

TEST_F(SearchDocumentsTest, AnInvalidExpressionInTheListingIsReportedOnce) {
  LocalSearchReplace.SearchText = "a(b";
  LocalSearchReplace.UseRegExpr = true;
  for (bool all : {true, false}) {
    SCOPED_TRACE(all);
    testsupport::QueueAnswer({IDOK}, [](const ModalQuestion& Q) {
      EXPECT_EQ(Q.kind, ModalKind::MessageBox);
      EXPECT_NE(Q.text, "");
      EXPECT_EQ(Q.flags, UINT(MB_OK | MB_ICONERROR));
    });
    if (all)
      SearchAllDocuments();
    else
      SearchDocument(first_, 0);
    EXPECT_EQ(testsupport::AskedQuestions().size(), all ? 1u : 2u);
    EXPECT_EQ(frmMain->lvResults->Count(), 0);
  }
}

TEST_F(SearchDocumentsTest, TheActiveDocumentSearchesFollowTheDirection) {
  TCodeEdit& edit = *second_->seEdit;
  Settings.General.SearchContinueQuery = false;
  LocalSearchReplace.SearchText = "ab";
  frmMain->Find<TButton>("btnReplaceSel")->SetEnabled(true);
  SearchNext(false);
  EXPECT_EQ(edit.SelStart(), 7);
  EXPECT_FALSE(frmMain->Find<TButton>("btnReplaceSel")->Enabled());
  // Backwards turns a search for the next hit into one for the previous.
  edit.SetSelStart(9);
  LocalSearchReplace.Backwards = true;
  SearchNextRegExpr(false);
  EXPECT_EQ(edit.SelStart(), 7);
  edit.SetSelStart(3);
  SearchPrev(true);
  EXPECT_EQ(edit.SelStart(), 7);
  EXPECT_EQ(edit.SelLength(), 2);

  edit.SetText("a $|$ b $|$");
  edit.SetSelStart(0);
  NextCursorPos();
  EXPECT_EQ(edit.SelStart(), 2);
  PrevCursorPos();
  EXPECT_EQ(edit.SelStart(), 8);
}

TEST_F(SearchDocumentsTest, AnEmptySearchTextOpensThePanelAndHistoriesFillTheComboBoxes) {
  auto* backwards = frmMain->Find<TCheckBox>("rbSearchBackwards");
  bool clicked = false;
  backwards->OnClick = [&](TObject*) { clicked = true; };
  SearchPrev(false);
  EXPECT_TRUE(backwards->Checked());
  EXPECT_TRUE(clicked);

  Settings.SearchMRU.Clear();
  for (const char* text : {"eins", "zwei", "EINS"}) AddToSearchMRU(text);
  EXPECT_EQ(frmMain->cmbSearch->Count(), 2);
  EXPECT_EQ(frmMain->cmbSearch->Items(0), "EINS");
  EXPECT_EQ(Settings.SearchMRU.Text(), "EINS\r\nzwei\r\n");
}
