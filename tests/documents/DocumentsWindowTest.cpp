// Keeping the main window in step with the documents: menu state, caption, status bar, tab
// images, formats, inserted text, the reopen menu and the list of open documents.
#include <gtest/gtest.h>
#include <windows.h>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>
#include "support/DocumentsTestFixture.h"
#include "toolkit/Application.h"
#include "toolkit/Controls.h"
#include "toolkit/Menus.h"
#include "toolkit/Panels.h"
#include "toolkit/StatusBar.h"
#include "toolkit/ToolBar.h"

namespace documentstest {
namespace {

using DocumentsWindowTest = DocumentWindowTest;

bool ItemEnabled(const char* Name) {
  if (auto* item = frmMain->Find<TMenuItem>(Name)) return item->Enabled();
  if (auto* button = frmMain->Find<TToolButton>(Name)) return button->Enabled();
  ADD_FAILURE() << "no item " << Name;
  return false;
}

TEST_F(DocumentsWindowTest, MenusFollowWhetherDocumentsAreOpen) {
  Open("");
  EXPECT_TRUE(DocsOpen);
  for (const char* name : {"mnuFileClose", "mnuFileSaveAs", "mnuEdit", "tbMainFileClose"})
    EXPECT_TRUE(ItemEnabled(name)) << name;
  EXPECT_TRUE(frmMain->txtIncSearch->Enabled());
  frmMain->StatusBar->SetPanelText(0, "Ze 1");
  CloseDocument();
  EXPECT_FALSE(DocsOpen);
  for (const char* name : {"mnuFileClose", "mnuFileSaveAs", "mnuEdit", "tbMainFileClose"})
    EXPECT_FALSE(ItemEnabled(name)) << name;
  EXPECT_FALSE(frmMain->txtIncSearch->Enabled());
  EXPECT_FALSE(frmMain->pnlLeft->Visible());
  EXPECT_EQ(frmMain->Caption(), "Tarvoline");
  EXPECT_EQ(Application().Title(), "Tarvoline");
  for (int panel = 0; panel <= 3; ++panel) EXPECT_EQ(frmMain->StatusBar->PanelText(panel), "");
  // Configured, closing the last document also minimises the program.
  Open("");
  Settings.General.MinimizeLastDocClosed = true;
  CloseDocument();
  EXPECT_TRUE(IsIconic(frmMain->Handle()));
  ShowWindow(frmMain->Handle(), SW_HIDE);
  // The next document switches everything back on.
  Settings.ViewLeftPanel = true;
  Open("");
  EXPECT_TRUE(ItemEnabled("mnuFileClose"));
  EXPECT_TRUE(frmMain->pnlLeft->Visible());
}

// The window list and plug-ins switch tabs while another window of the program is active: the
// editor gets no focus then, so the switch itself must bring every status panel up to date.
TEST_F(DocumentsWindowTest, ATabSwitchWhileTheMainWindowIsInactiveUpdatesEveryPanel) {
  TfraEdit* first = OpenWith("eins.txt", "abc\r\ndef\r\n");
  TfraEdit* second = OpenWith("zwei.txt", "lange Zeile\r\n");
  first->seEdit->SetCaretXY({3, 2});
  second->seEdit->SetInsertMode(false);
  second->seEdit->SetSelStart(2);
  second->seEdit->SetSelLength(4);
  ShowWindow(frmMain->Handle(), SW_SHOW);
  SetForegroundWindow(frmMain->Handle());
  std::unique_ptr<std::remove_pointer_t<HWND>, decltype(&DestroyWindow)> window(
      CreateWindowExA(0, "STATIC", "andere", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                      nullptr, nullptr, GetModuleHandleA(nullptr), nullptr),
      &DestroyWindow);
  HWND other = window.get();
  ASSERT_NE(other, nullptr);
  SetForegroundWindow(other);
  ASSERT_EQ(GetActiveWindow(), other);

  struct Expected {
    TfraEdit* frame;
    std::vector<std::string> panels;
  } expected[] = {
      {first, {"Ze 2, Sp 3, Pos 8 (Mark 0)", "INS", "10 Byte", folder.File("eins.txt")}},
      {second, {"Ze 1, Sp 7, Pos 7 (Mark 4)", "OVR", "13 Byte", folder.File("zwei.txt")}},
      {first, {"Ze 2, Sp 3, Pos 8 (Mark 0)", "INS", "10 Byte", folder.File("eins.txt")}},
  };
  for (const Expected& e : expected) {
    Pages().SetActivePage(dynamic_cast<TTabSheet*>(e.frame->Owner()));
    ASSERT_EQ(GetActiveWindow(), other) << "the main window stays inactive";
    for (int panel = 0; panel <= 3; ++panel)
      EXPECT_EQ(frmMain->StatusBar->PanelText(panel), e.panels[panel]) << e.panels[3] << " panel " << panel;
  }
}

TEST_F(DocumentsWindowTest, CaptionTitleAndStatusFollowTheActiveDocument) {
  TfraEdit* frame = OpenWith("c.txt", "c");
  EXPECT_EQ(frmMain->Caption(), "Tarvoline - c.txt");
  EXPECT_EQ(Application().Title(), "c.txt - Tarvoline");
  EXPECT_EQ(frmMain->StatusBar->PanelText(3), folder.File("c.txt"));
  EXPECT_FALSE(ItemEnabled("tbMainFileSave"));
  EXPECT_FALSE(ItemEnabled("tbMainFileSaveAll"));
  Edit(*frame, "x");
  EXPECT_TRUE(ItemEnabled("tbMainFileSave"));
  EXPECT_TRUE(ItemEnabled("tbMainEditUndo"));
  EXPECT_FALSE(ItemEnabled("tbMainEditRedo"));
  // Another, unmodified document: Save off, Save All still on.
  Open("");
  EXPECT_FALSE(ItemEnabled("tbMainFileSave"));
  EXPECT_TRUE(ItemEnabled("tbMainFileSaveAll"));
  struct Case {
    bool fullPath, showChanged;
    const char* caption;
  } cases[] = {{false, false, "Tarvoline - Unbenannt2"},
               {true, false, "Tarvoline - "},
               {true, true, "Tarvoline - *"}};
  Edit(*GetActiveFrame(), "y");
  for (const Case& c : cases) {
    Settings.General.TitleShowFullPath = c.fullPath;
    Settings.General.TitleShowChanged = c.showChanged;
    UpdateCaption();
    EXPECT_EQ(frmMain->Caption(), c.caption);
  }
  // Word wrap and named characters show in the menus.
  GetActiveEditor()->SetWordWrap(false);
  GetActiveFrame()->DocInfo.ReplaceHtmlNamedChars = true;
  UpdateCaption();
  EXPECT_FALSE(frmMain->Find<TMenuItem>("mnuViewLineBreak")->Checked());
  EXPECT_TRUE(frmMain->Find<TMenuItem>("mnuFormatReplaceHtmlNamedChars")->Checked());
  EXPECT_TRUE(frmMain->Find<TToolButton>("tbMainFormatReplaceHtmlNamedChars")->Down());
}

TEST_F(DocumentsWindowTest, TabImagesShowReadOnlyAndModified) {
  TfraEdit* frame = OpenWith("i.txt", "i");
  TTabSheet* sheet = Pages().Pages(0);
  struct Case {
    bool readOnly, modified;
    int image;
  } cases[] = {{false, false, 126}, {false, true, 127}, {true, false, 128}, {true, true, 129}};
  for (const Case& c : cases) {
    frame->seEdit->SetReadOnly(c.readOnly);
    frame->DocInfo.Modified = c.modified;
    UpdateTabImage(frame);
    EXPECT_EQ(sheet->ImageIndex(), c.image);
  }
  // A change marks the tab at once, read-only or not.
  frame->DocInfo.Modified = false;
  frame->seEditChange(nullptr);
  EXPECT_EQ(sheet->ImageIndex(), 129);
  EXPECT_TRUE(frame->DocInfo.Modified);
}

TEST_F(DocumentsWindowTest, InsertTextWrapsTheSelectionInOneUndoStep) {
  TfraEdit* frame = OpenWith("t.txt", "one two\r\n");
  TCodeEdit& editor = *frame->seEdit;
  editor.SetSelStart(4);
  editor.SetSelLength(3);
  InsertText("<b>", std::string(1, '\0'), "</b>");
  EXPECT_EQ(editor.Lines()[0], "one <b>two</b>");
  EXPECT_EQ(editor.SelText(), "two");
  InsertText("[", "x", "]");
  EXPECT_EQ(editor.Lines()[0], "one <b>[x]</b>");
  EXPECT_EQ(editor.SelText(), "x");
  editor.Undo();
  EXPECT_EQ(editor.Lines()[0], "one <b>two</b>");
  editor.Undo();
  EXPECT_EQ(editor.Lines()[0], "one two");
  // A prefix with a line break: the selection still covers exactly the text.
  editor.SetSelStart(4);
  editor.SetSelLength(3);
  InsertText("<br>\r\n", std::string(1, '\0'), "");
  EXPECT_EQ(editor.Lines()[0], "one <br>");
  EXPECT_EQ(editor.Lines()[1], "two");
  EXPECT_EQ(editor.SelText(), "two");
  editor.Undo();
  // A read-only editor takes nothing.
  editor.SetReadOnly(true);
  InsertText("a", "b", "c");
  EXPECT_EQ(editor.Lines()[0], "one two");
}

TEST_F(DocumentsWindowTest, ReopenMenuListsTheFilesThatStillExist) {
  folder.Write("a&b.txt", "");
  folder.Write("c.txt", "");
  Settings.OpenMRU.Add(folder.File("a&b.txt"));
  Settings.OpenMRU.Add(folder.File("gone.txt"));
  Settings.OpenMRU.Add(folder.File("c.txt"));
  UpdateReopenMenu();
  auto* reopen = frmMain->Find<TMenuItem>("mnuFileReOpen");
  ASSERT_EQ(reopen->Count(), 4);
  EXPECT_EQ(reopen->Items(2)->Caption(), folder.File("a&&b.txt"));
  EXPECT_EQ(reopen->Items(3)->Tag(), 1);
  EXPECT_EQ(reopen->Items(3)->ImageIndex(), 126);
  EXPECT_EQ(frmMain->pmnuToolbarOpen->Items()->Count(), 2);
  EXPECT_EQ(Settings.OpenMRU.Count(), 2);
  // Rebuilt, not added to; with every file gone only the fixed items stay.
  DeleteFileA(folder.File("a&b.txt").c_str());
  DeleteFileA(folder.File("c.txt").c_str());
  UpdateReopenMenu();
  EXPECT_EQ(reopen->Count(), 2);
  EXPECT_EQ(reopen->Items(0)->Name(), "mnuFileReOpenHistory");
  EXPECT_EQ(frmMain->pmnuToolbarOpen->Items()->Count(), 0);
}

TEST_F(DocumentsWindowTest, OpenDocListHoldsNamedDocumentsWithTheirPlace) {
  OpenWith("p.txt", "line one\r\nline two\r\n");
  GetActiveEditor()->SetSelStart(5);
  GetActiveEditor()->SetSelLength(3);
  Open("");
  OpenWith("q.txt", "q");
  Settings.LastDocFileName = "stale";
  BuildOpenDocList();
  EXPECT_EQ(Settings.LastDocList.Text(),
            folder.File("p.txt") + "\t5\t3\t1\r\n" + folder.File("q.txt") + "\t0\t0\t1\r\n");
  EXPECT_EQ(Settings.LastDocFileName, folder.File("q.txt"));
  Pages().SetActivePageIndex(1);
  BuildOpenDocList();
  EXPECT_EQ(Settings.LastDocFileName, "");
}

TEST_F(DocumentsWindowTest, WorkAfterPendingMessagesWaitsForTheQueueAndKeepsItsOrder) {
  ASSERT_TRUE(frmMain->HandleAllocated());
  std::vector<int> ran;
  frmMain->RunAfterPendingMessages([&] { ran.push_back(1); });
  frmMain->RunAfterPendingMessages([&] { ran.push_back(2); });
  EXPECT_TRUE(ran.empty()) << "ran before the messages already waiting";
  Application().ProcessMessages();
  EXPECT_EQ(ran, (std::vector<int>{1, 2}));
  Application().ProcessMessages();
  EXPECT_EQ(ran.size(), 2u) << "a piece of work ran twice";
}

}  // namespace
}  // namespace documentstest
