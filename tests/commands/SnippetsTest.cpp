// Snippet files in the snippets panel (good, broken and hostile ones), the store, inserting
// snippets and their hints.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <functional>
#include "commands/clsSnippets.h"
#include "support/DocumentsTestFixture.h"
#include "toolkit/ComboBox.h"
#include "toolkit/ImageList.h"
#include "toolkit/Menus.h"
#include "toolkit/Panels.h"
#include "toolkit/TreeView.h"

namespace {

// A 24-bit bitmap file Width x Height, every pixel grey.
std::string BitmapFile(int Width, int Height) {
  const int row = (Width * 3 + 3) / 4 * 4;
  const int size = 54 + row * Height;
  std::string b(size, '\0');
  auto put = [&](int At, uint32_t Value, int Bytes) {
    for (int i = 0; i < Bytes; ++i) b[At + i] = static_cast<char>(Value >> (8 * i));
  };
  b[0] = 'B';
  b[1] = 'M';
  put(2, size, 4);
  put(10, 54, 4);
  put(14, 40, 4);
  put(18, Width, 4);
  put(22, Height, 4);
  put(26, 1, 2);
  put(28, 24, 2);
  for (int i = 54; i < size; ++i) b[i] = '\x80';
  return b;
}

const char* const GoodFile =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n"
    "<SnipFile>\r\n"
    " <Settings><ShowLines>True</ShowLines><Images>icons.bmp</Images></Settings>\r\n"
    " <Items>\r\n"
    "  <folder name=\"HTML\" image=\"0\" expand=\"True\">\r\n"
    "   <item name=\"Fett\" image=\"1\" selimage=\"2\" start=\"&lt;b&gt;\" end=\"&lt;/b&gt;\"/>\r\n"
    "   <item name=\"Leer\" start=\"[\" select=\"\" end=\"]\"/>\r\n"
    "   <folder NAME=\"Tief\"><item name=\"X\" start=\"x\"/></folder>\r\n"
    "  </folder>\r\n"
    "  <folder image=\"3\"><item name=\"Weg\" start=\"w\"/></folder>\r\n"
    "  <item start=\"ohne Namen\"/>\r\n"
    "  <other name=\"Anders\"/>\r\n"
    "  <ITEM name=\"Gross\"/>\r\n"
    "  <item name=\"Datum\" image=\"abc\" start=\"%SYNTAX::html:%(\" select=\"%SELECTION%\" "
    "end=\")%MD5TEXT%\"/>\r\n"
    " </Items>\r\n"
    "</SnipFile>\r\n";

class SnippetsTest : public documentstest::DocumentWindowTest {
protected:
  void SetUp() override {
    DocumentWindowTest::SetUp();
    Settings.AppDir = folder.Path();
    Settings.General.SnippetsExpandStyle = 0;
    CreateDirectoryA(folder.File("Snippets").c_str(), nullptr);
    folder.Write("Snippets\\web.xml", GoodFile);
    folder.Write("Snippets\\icons.bmp", BitmapFile(56, 16));  // three whole cells and a piece
  }
  TTreeView& Tree() const { return *frmMain->tvSnips; }
  TSnip& Store() const { return *Snips; }
  static std::vector<std::string> Keys() {
    std::vector<std::string> keys;
    for (int i = 0; i < Snips->Count(); ++i) keys.push_back(Snips->Items(i).Key);
    return keys;
  }
  TTreeNode* Node(const std::string& Key) const {
    std::function<TTreeNode*(TTreeNode*)> find = [&](TTreeNode* N) -> TTreeNode* {
      if (SnippetKeyOf(N) == Key) return N;
      for (int i = 0; i < N->Count(); ++i)
        if (TTreeNode* hit = find(N->Item(i))) return hit;
      return nullptr;
    };
    for (int i = 0; i < Tree().Count(); ++i)
      if (TTreeNode* hit = find(Tree().Items(i))) return hit;
    return nullptr;
  }
};

}  // namespace

TEST_F(SnippetsTest, AGoodFileFillsTreeStoreAndImages) {
  ASSERT_TRUE(LoadSnippetFile("web"));
  EXPECT_EQ(Settings.LastOpenedSnipFile, "web");
  EXPECT_EQ(Keys(), (std::vector<std::string>{"HTML\\Fett", "HTML\\Leer", "HTML\\Tief\\X", "Datum"}));
  ASSERT_EQ(Tree().Count(), 2) << "the nameless folder is skipped with its items";
  EXPECT_EQ(Tree().Items(0)->Text(), "HTML");
  EXPECT_EQ(Tree().Items(0)->Count(), 3);
  EXPECT_TRUE(Tree().Items(0)->Expanded());
  EXPECT_FALSE(Node("HTML\\Tief")->Expanded());
  EXPECT_TRUE(Tree().ShowLines());
  EXPECT_TRUE(Tree().ShowButtons());
  EXPECT_EQ(Node("HTML\\Fett")->ImageIndex(), 1);
  EXPECT_EQ(Node("HTML\\Fett")->SelectedIndex(), 2);
  EXPECT_EQ(Node("HTML\\Leer")->SelectedIndex(), -1);
  EXPECT_EQ(Node("Datum")->ImageIndex(), -1) << "not a number";
  EXPECT_EQ(Tree().Images(), frmMain->ilSnips);
  EXPECT_EQ(frmMain->ilSnips->Count(), 3);

  TSnipRecord record;
  Store().Find("HTML\\Fett", record);
  EXPECT_EQ(record.Name, "Fett");
  EXPECT_EQ(record.Start, "<b>");
  EXPECT_EQ(record.Select, std::string(1, '\0')) << "absent";
  Store().Find("HTML\\Leer", record);
  EXPECT_EQ(record.Select, "") << "present and empty";
  Store().Find("html\\fett", record);
  EXPECT_EQ(record.Name, "") << "keys compare exactly";
  EXPECT_EQ(record.Start, "[") << "only the name is emptied";

  // Loaded again: nothing doubles, and a file without images leaves none behind.
  ASSERT_TRUE(LoadSnippetFile("web"));
  EXPECT_EQ(Store().Count(), 4);
  EXPECT_EQ(frmMain->ilSnips->Count(), 3);
  folder.Write("Snippets\\plain.xml", "<?xml version=\"1.0\"?><SnipFile><Items><item name=\"a\"/></Items></SnipFile>");
  ASSERT_TRUE(LoadSnippetFile("plain"));
  EXPECT_EQ(frmMain->ilSnips->Count(), 0);
  EXPECT_EQ(Tree().Images(), nullptr);
  EXPECT_FALSE(Tree().ShowButtons()) << "no folder";
  EXPECT_FALSE(Tree().ShowLines());
}

TEST_F(SnippetsTest, ExpandStyleOverridesTheFoldersOwnState) {
  Settings.General.SnippetsExpandStyle = 1;
  ASSERT_TRUE(LoadSnippetFile("web"));
  EXPECT_TRUE(Node("HTML\\Tief")->Expanded());
  Settings.General.SnippetsExpandStyle = 2;
  ASSERT_TRUE(LoadSnippetFile("web"));
  EXPECT_FALSE(Node("HTML")->Expanded());
}

TEST_F(SnippetsTest, MissingBrokenAndHostileFilesLeaveAnEmptyOrBoundedPanel) {
  ASSERT_TRUE(LoadSnippetFile("web"));
  Settings.LastOpenedSnipFile = "web";
  EXPECT_FALSE(LoadSnippetFile("gone"));
  EXPECT_EQ(Tree().Count(), 0);
  EXPECT_EQ(Store().Count(), 0);
  EXPECT_EQ(Settings.LastOpenedSnipFile, "web");
  folder.Write("Snippets\\broken.xml", "kein XML, nur Text");
  EXPECT_FALSE(LoadSnippetFile("broken"));
  EXPECT_EQ(Tree().Count(), 0);

  // Nested far deeper than any tree needs, an image file that is no bitmap, a huge index.
  std::string deep = "<?xml version=\"1.0\"?><SnipFile><Settings><Images>web.xml</Images></Settings><Items>";
  for (int i = 0; i < 2000; ++i) deep += "<folder name=\"f\">";
  deep += "<item name=\"i\" image=\"99999999999\"/>";
  for (int i = 0; i < 2000; ++i) deep += "</folder>";
  deep += "</Items></SnipFile>";
  folder.Write("Snippets\\deep.xml", deep);
  EXPECT_TRUE(LoadSnippetFile("deep"));
  EXPECT_EQ(Tree().Images(), nullptr);
  EXPECT_EQ(Tree().Count(), 1);
  EXPECT_LE(Store().Count(), 1);
}

TEST_F(SnippetsTest, FileListAndChoosingAFile) {
  folder.Write("Snippets\\zwei.xml", "<?xml version=\"1.0\"?><SnipFile><Items><item name=\"z\"/></Items></SnipFile>");
  folder.Write("Snippets\\notiz.txt", "");
  LoadSnippetFileList();
  TComboBox& files = *frmMain->cmbSnipFiles;
  ASSERT_EQ(files.Count(), 2);
  int zwei = files.Items(0) == "zwei" ? 0 : 1;
  EXPECT_EQ(files.Items(1 - zwei), "web");
  files.SetItemIndex(zwei);
  MainForm()->cmbSnipFilesChange(&files);
  EXPECT_EQ(Keys(), std::vector<std::string>{"z"});

  // Showing the window loads the file of the last run, or the first listed when it is gone.
  Settings.LastOpenedSnipFile = "weg";
  MainForm()->FormShow();
  EXPECT_EQ(files.ItemIndex(), 0);
  EXPECT_EQ(Settings.LastOpenedSnipFile, files.Items(0));
  Settings.LastOpenedSnipFile = "zwei";
  MainForm()->FormShow();
  EXPECT_EQ(files.ItemIndex(), zwei);
  EXPECT_EQ(Keys(), std::vector<std::string>{"z"});
  ShowWindow(frmMain->Handle(), SW_HIDE);
}

TEST_F(SnippetsTest, DoubleClickAndEnterInsertSnippetsAsOneUndoStep) {
  ASSERT_TRUE(LoadSnippetFile("web"));
  TfraEdit* frame = Open("");
  TCodeEdit& edit = *frame->seEdit;
  edit.SetText("Text");
  edit.SelectAll();
  Tree().SetSelected(Node("HTML\\Fett"));
  MainForm()->tvSnipsDblClick(&Tree());
  EXPECT_EQ(edit.Text(), "<b>Text</b>") << "an absent select wraps the selection";
  EXPECT_EQ(edit.SelText(), "Text");
  edit.Undo();
  EXPECT_EQ(edit.Text(), "Text");

  edit.SelectAll();
  Tree().SetSelected(Node("HTML\\Leer"));
  WORD key = VK_RETURN;
  MainForm()->tvSnipsKeyDown(&Tree(), key, {});
  EXPECT_EQ(key, 0);
  EXPECT_EQ(edit.Text(), "[]") << "an empty select replaces the selection";

  Tree().SetSelected(Node("HTML"));
  MainForm()->tvSnipsDblClick(&Tree());
  EXPECT_EQ(edit.Text(), "[]") << "a folder inserts nothing";

  edit.SetReadOnly(true);
  Tree().SetSelected(Node("HTML\\Fett"));
  MainForm()->tvSnipsDblClick(&Tree());
  EXPECT_EQ(edit.Text(), "[]") << "a read-only document is left alone";
}

TEST_F(SnippetsTest, HintsShowTheExpandedSnippetWithoutSideEffects) {
  ASSERT_TRUE(LoadSnippetFile("web"));
  TfraEdit* frame = Open("");
  TCodeEdit& edit = *frame->seEdit;
  edit.SetText("sel");
  edit.SelectAll();
  TCodeCustomHighlighter* highlighter = edit.Highlighter();
  Tree().FullExpand();
  auto hover = [&](TTreeNode* Node) {
    RECT r = {};
    ASSERT_TRUE(TreeView_GetItemRect(Tree().Handle(), Node->Handle(), &r, TRUE));
    MainForm()->tvSnipsMouseMove(&Tree(), {}, r.left + 2, (r.top + r.bottom) / 2);
  };
  hover(Node("HTML\\Fett"));
  EXPECT_EQ(Tree().Hint(), "<b>{...}</b>");
  hover(Node("Datum"));
  EXPECT_EQ(Tree().Hint(), "(sel)%MD5TEXT%") << "no checksum is computed for a hint";
  EXPECT_EQ(edit.Highlighter(), highlighter) << "hovering changes no highlighter";
  hover(Node("HTML"));
  EXPECT_EQ(Tree().Hint(), "") << "a folder has no snippet";
  MainForm()->tvSnipsMouseMove(&Tree(), {}, 170, 290);
  EXPECT_EQ(Tree().Hint(), "");
}

TEST_F(SnippetsTest, ContextMenuEnablesFolderCommandsAndExpandsSubtrees) {
  ASSERT_TRUE(LoadSnippetFile("web"));
  Tree().SetSelected(Node("HTML\\Fett"));
  MainForm()->pmnuSnipsPopup(nullptr);
  EXPECT_FALSE(frmMain->Find<TMenuItem>("pmnuSnipsExpand")->Enabled());
  Tree().SetSelected(Node("HTML"));
  MainForm()->pmnuSnipsPopup(nullptr);
  EXPECT_TRUE(frmMain->Find<TMenuItem>("pmnuSnipsCollapse")->Enabled());
  frmMain->Find<TMenuItem>("pmnuSnipsExpand")->Click();
  EXPECT_TRUE(Node("HTML\\Tief")->Expanded());
  frmMain->Find<TMenuItem>("pmnuSnipsCollapseAll")->Click();
  EXPECT_FALSE(Node("HTML")->Expanded());
  EXPECT_FALSE(Node("HTML\\Tief")->Expanded());

  Settings.ViewLeftPanel = true;
  frmMain->pnlLeft->SetVisible(true);
  frmMain->pnlLeft->SetWidth(260);
  frmMain->splitterLeft->OnMoved(frmMain->splitterLeft);
  EXPECT_EQ(frmMain->cmbSnipFiles->Width(), frmMain->Find<TPanel>("pnlLeftTop")->Width());
  frmMain->Find<TMenuItem>("pmnuSnipsHide")->Click();
  EXPECT_FALSE(frmMain->pnlLeft->Visible());
  EXPECT_FALSE(Settings.ViewLeftPanel);
  frmMain->Find<TMenuItem>("mnuViewLeftPanelHide")->Click();
  EXPECT_TRUE(frmMain->pnlLeft->Visible());
  EXPECT_TRUE(Settings.ViewLeftPanel);
}
