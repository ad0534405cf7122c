// The Edit menu and the navigation items as the user reaches them on the main window.
#include <gtest/gtest.h>
#include "commands/EditCommands.h"
#include "highlighters/CodeHighlighterIni.h"
#include "support/EditTestWindow.h"
#include "toolkit/Clipboard.h"
#include "toolkit/Controls.h"

namespace {

using edittest::EditWindowTest;
using codeedittest::Select;

class EditMenuTest : public EditWindowTest {};

void PutClipboard(const std::string& Text) {
  Clipboard().Open(nullptr);
  Clipboard().Empty();
  Clipboard().SetData(CF_TEXT, Text + '\0');
  Clipboard().Close();
}

ModalAnswer SaveAs(const std::string& Name) {
  ModalAnswer answer;
  answer.result = IDOK;
  answer.value = Name;
  return answer;
}

}  // namespace

TEST_F(EditMenuTest, OpeningTheMenuFollowsSelectionHistoryClipboardAndBanks) {
  SetText("abc");
  board.Data.clear();
  Click("mnuEdit");
  for (const char* name : {"mnuEditUndo", "mnuEditRedo", "mnuEditCut", "mnuEditCutAndAttach",
                           "mnuEditCopy", "mnuEditCopyAndAttach", "mnuEditCopyToFile",
                           "mnuEditCopyToMemoryBank", "mnuEditPaste",
                           "mnuEditPasteFromMemoryBank"})
    EXPECT_FALSE(Enabled(name)) << name;
  EXPECT_EQ(Item("mnuEditSelMode")->ImageIndex(), 25);

  Select(*edit, {1, 1}, {3, 1});
  edit->CopyToClipboard();
  Click("mnuEditCopyMemoryBank2");
  Click("mnuEditCut");
  edit->SetSelectionMode(TCodeSelectionMode::smColumn);
  Click("mnuEdit");
  EXPECT_TRUE(Enabled("mnuEditUndo"));
  EXPECT_FALSE(Enabled("mnuEditRedo"));
  EXPECT_FALSE(Enabled("mnuEditCopy")) << "the cut left no selection";
  EXPECT_TRUE(Enabled("mnuEditPaste"));
  EXPECT_TRUE(Enabled("mnuEditPasteFromMemoryBank"));
  EXPECT_TRUE(Enabled("mnuEditPasteMemoryBank2"));
  EXPECT_FALSE(Enabled("mnuEditPasteMemoryBank3"));
  EXPECT_EQ(Item("mnuEditPasteMemoryBank2")->Caption(), BuildMemoryBankMenu(2));
  EXPECT_NE(Item("mnuEditPasteMemoryBank2")->Caption().find("(ab)"), std::string::npos);
  EXPECT_EQ(Item("mnuEditSelMode")->ImageIndex(), 27);

  Click("tbMainEditUndo");
  EXPECT_EQ(edit->Text(), "abc");
  edit->SetSelectionMode(TCodeSelectionMode::smLine);
  Select(*edit, {1, 1}, {2, 1});
  Click("mnuEdit");
  EXPECT_TRUE(Enabled("mnuEditRedo"));
  for (const char* name : {"mnuEditCut", "mnuEditCutAndAttach", "mnuEditCopy",
                           "mnuEditCopyAndAttach", "mnuEditCopyToFile", "mnuEditCopyToMemoryBank"})
    EXPECT_TRUE(Enabled(name)) << name;
  EXPECT_EQ(Item("mnuEditCopyMemoryBank2")->Caption(), BuildMemoryBankMenu(2));
  EXPECT_EQ(Item("mnuEditSelMode")->ImageIndex(), 26);
  Click("tbMainEditRedo");
  EXPECT_EQ(edit->Text(), "c");
}

TEST_F(EditMenuTest, SelectionModeMenuEndsColumnModeWhenAltSelectsBlocks) {
  Click("mnuEditSelModeColumn");
  EXPECT_EQ(edit->SelectionMode(), TCodeSelectionMode::smColumn);
  Settings.Editor.SelectBlockWithAlt = false;
  Click("mnuEditSelMode");
  EXPECT_TRUE(Enabled("mnuEditSelModeColumn"));
  EXPECT_TRUE(Item("mnuEditSelModeColumn")->Checked());

  Settings.Editor.SelectBlockWithAlt = true;
  Click("mnuEditSelMode");
  EXPECT_EQ(edit->SelectionMode(), TCodeSelectionMode::smNormal);
  EXPECT_FALSE(Enabled("mnuEditSelModeColumn"));
  EXPECT_TRUE(Item("mnuEditSelModeNormal")->Checked());
  Click("mnuEditSelModeLine");
  Click("mnuEditSelMode");
  EXPECT_EQ(edit->SelectionMode(), TCodeSelectionMode::smLine);
  EXPECT_TRUE(Item("mnuEditSelModeLine")->Checked());
  EXPECT_FALSE(Item("mnuEditSelModeNormal")->Checked());
}

TEST_F(EditMenuTest, FormattedCopiesUseTheWindowsExportersAndNoHtmlForRuleFiles) {
  TCodeIniHighlighter ini(nullptr);
  edit->SetHighlighter(&ini);
  SetText("[a]\r\nb=1");
  Click("mnuEditCopyFormat");
  EXPECT_TRUE(Enabled("mnuEditCopyFormatHtmlDoc"));
  EXPECT_TRUE(Enabled("mnuEditCopyFormatHtmlFrag"));
  Click("mnuEditCopyFormatHtmlFrag");
  EXPECT_EQ(ClipboardText().rfind("<pre>", 0), 0u);
  Click("mnuEditCopyFormatHtmlDoc");
  EXPECT_NE(ClipboardText().find("<!DOCTYPE"), std::string::npos);
  Click("mnuEditCopyFormatRTF");
  EXPECT_EQ(board.Data[RegisterClipboardFormatName("Rich Text Format")].rfind("{\\rtf", 0), 0u);

  edit->SetHighlighter(frame->HlUni.get());
  Click("mnuEditCopyFormat");
  EXPECT_FALSE(Enabled("mnuEditCopyFormatHtmlDoc"));
  EXPECT_FALSE(Enabled("mnuEditCopyFormatHtmlFrag"));
}

TEST_F(EditMenuTest, SavingTheSelectionAsksBeforeOverwritingAndReportsFailure) {
  SetText("eins\r\nzwei");
  Select(*edit, {1, 1}, {3, 2});
  const std::string target = folder.File("out.txt");
  testsupport::QueueAnswer(SaveAs(target), [](const ModalQuestion& Q) {
    EXPECT_EQ(Q.kind, ModalKind::SaveDialog);
    EXPECT_EQ(Q.caption, "Kopieren in Datei");
    EXPECT_EQ(Q.filter, GetOpenDialogFilter());
  });
  Click("mnuEditCopyToFile");
  EXPECT_EQ(folder.Read("out.txt"), "eins\r\nzw");

  // Existing: No shows the dialog again, Yes overwrites, in the document's line breaks.
  frame->DocInfo.LineBreakFormat = lbfUnix;
  Select(*edit, {1, 2}, {5, 2});
  testsupport::QueueAnswer(SaveAs(target));
  testsupport::QueueAnswer(ModalAnswer{IDNO}, [&target](const ModalQuestion& Q) {
    EXPECT_EQ(Q.caption, "Kopieren in Datei");
    EXPECT_NE(Q.text.find("\"" + target + "\" existiert bereits"), std::string::npos);
    EXPECT_EQ(Q.flags & MB_YESNOCANCEL, static_cast<UINT>(MB_YESNOCANCEL));
  });
  testsupport::QueueAnswer(SaveAs(target));
  testsupport::QueueAnswer(IDYES);
  Click("mnuEditCopyToFile");
  EXPECT_EQ(folder.Read("out.txt"), "zwei");
  testsupport::QueueAnswer(SaveAs(target));
  testsupport::QueueAnswer(IDCANCEL);
  Select(*edit, {1, 1}, {2, 1});
  Click("mnuEditCopyToFile");
  EXPECT_EQ(folder.Read("out.txt"), "zwei");

  // A name without extension gets the chosen type's; a file that cannot be written is reported.
  Select(*edit, {1, 1}, {5, 1});
  ModalAnswer bare = SaveAs(folder.File("ohne"));
  testsupport::QueueAnswer(bare);
  Click("mnuEditCopyToFile");
  const std::string added = SaveAsDefaultExtension(GetOpenDialogFilter(), 1);
  EXPECT_EQ(folder.Read("ohne" + added), "eins");
  SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
  testsupport::QueueAnswer(SaveAs(target));
  testsupport::QueueAnswer(IDYES);
  testsupport::QueueAnswer(ModalAnswer{IDOK}, [&target](const ModalQuestion& Q) {
    EXPECT_TRUE(Q.flags & MB_ICONERROR);
    EXPECT_EQ(Q.caption, "Kopieren in Datei");
    EXPECT_NE(Q.text.find("\"" + target + "\" konnte nicht gespeichert"), std::string::npos);
  });
  Click("mnuEditCopyToFile");
  SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(folder.Read("out.txt"), "zwei");
  EXPECT_EQ(edit->Text(), "eins\r\nzwei");
}

TEST_F(EditMenuTest, NumberedItemsCarryTheirIndex) {
  SetText("(eins)\r\nzwei");
  Select(*edit, {2, 1}, {6, 1});
  Click("mnuEditCopyMemoryBank4");
  EXPECT_EQ(MemoryBanks[4], "eins");
  edit->SetCaretXY({5, 2});
  Click("mnuEditPasteMemoryBank4");
  EXPECT_EQ(edit->Text(), "(eins)\r\nzweieins");
  Click("mnuEditBookmarkSet3");
  edit->SetCaretXY({1, 1});
  Click("mnuEditBookmarkGoto3");
  EXPECT_EQ(edit->CaretXY(), TBufferCoord({9, 2}));
}

TEST_F(EditMenuTest, ClipboardItemsWorkOnTheActiveDocumentAndNothingWithoutOne) {
  SetText("ab");
  board.Data.clear();
  Click("mnuEditSelectAll");
  Click("mnuEditCopy");
  EXPECT_EQ(ClipboardText(), "ab");
  Select(*edit, {1, 1}, {2, 1});
  Click("mnuEditCopyAndAttach");
  EXPECT_EQ(ClipboardText(), "aba");
  Click("mnuEditCutAndAttach");
  EXPECT_EQ(ClipboardText(), "abaa");
  EXPECT_EQ(edit->Text(), "b");
  Click("mnuEditPaste");
  EXPECT_EQ(edit->Text(), "abaab");

  testsupport::QueueAnswer(IDNO);  // not saved
  CloseAllDocuments(false);
  ASSERT_EQ(GetActiveEditor(), nullptr);
  for (const char* name :
       {"mnuEdit", "mnuEditUndo", "mnuEditRedo", "mnuEditCut", "mnuEditCopy", "mnuEditPaste",
        "mnuEditSelectAll", "mnuEditCopyAndAttach", "mnuEditCutAndAttach",
        "mnuEditCopyToFile", "mnuEditCopyFormat", "mnuEditCopyFormatRTF",
        "mnuEditCopyFormatHtmlDoc", "mnuEditCopyFormatHtmlFrag", "mnuEditCopyMemoryBank0",
        "mnuEditPasteMemoryBank0", "mnuEditSelMode", "mnuEditSelModeColumn", "mnuEditGotoLine",
        "mnuEditGotoPos", "mnuEditBookmarkSet0", "mnuEditBookmarkGoto0",
        "mnuEditBookmarkGotoNext", "mnuEditBookmarkGotoPrev", "mnuEditBookmarkRemoveAll",
        "mnuEditNextCursorPos", "mnuEditPrevCursorPos", "mnuSearchGotoMatchBrack",
        "mnuEditPasteFromFile"})
    Click(name);
  EXPECT_EQ(testsupport::AskedQuestions().size(), 1u) << "only the close asked";
}

TEST_F(EditMenuTest, ClipboardKeysInATextFieldOfTheWindowStayInTheField) {
  SetClipboardOverride(nullptr);  // the field's own messages use the system's clipboard
  SetText("dokument");
  ShowWindow(frmMain->Handle(), SW_SHOWNORMAL);
  SetForegroundWindow(frmMain->Handle());
  TEdit& field = *frmMain->txtIncSearch;
  field.SetEnabled(true);
  field.SetText("feld");
  SetFocus(field.Handle());
  ASSERT_EQ(GetFocus(), field.Handle());
  PutClipboard("neu");
  Click("mnuEditSelectAll");
  Click("mnuEditPaste");
  EXPECT_EQ(field.Text(), "neu");
  Click("mnuEditSelectAll");
  Click("mnuEditCut");
  EXPECT_EQ(field.Text(), "");
  EXPECT_EQ(ClipboardText(), "neu");
  EXPECT_EQ(edit->Text(), "dokument") << "the document is not touched";
  EXPECT_FALSE(edit->CanUndo());

  edit->SetFocus();
  Click("mnuEditSelectAll");
  Click("mnuEditCopy");
  EXPECT_EQ(ClipboardText(), "dokument");
}
