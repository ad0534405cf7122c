// The template picker: the folder tree below the template root, the files of the chosen folder,
// and the file the File menu's command creates a document from.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>
#include "PluginTestFixture.h"
#include "dialogs/formTemplate.h"
#include "editor/CodeEdit.h"
#include "toolkit/Application.h"
#include "toolkit/Controls.h"
#include "toolkit/ImageList.h"
#include "toolkit/ListView.h"
#include "toolkit/TreeView.h"

namespace {

using plugintest::PluginWindowTest;
using Lines = std::vector<std::string>;

class TemplatePickerTest : public PluginWindowTest {
protected:
  void SetUp() override {
    PluginWindowTest::SetUp();
    Settings.AppDir = folder.Path();
    root = folder.File("Templates\\Document\\");
    for (const char* sub : {"Templates", "Templates\\Document", "Templates\\Document\\Web",
                            "Templates\\Document\\Briefe", "Templates\\Document\\Web\\Alt"})
      CreateDirectoryA(folder.File(sub).c_str(), nullptr);
  }
  static Lines Rows(const TfrmTemplate& Dialog, int Column) {
    Lines texts;
    for (int i = 0; i < Dialog.lvTemplates->Count(); ++i) {
      TListItem* row = Dialog.lvTemplates->Items(i);
      texts.push_back(Column == 0 ? row->Caption() : row->SubItem(0));
    }
    std::sort(texts.begin(), texts.end());  // in the file system's order
    return texts;
  }
  static Lines Children(const TTreeNode* Node) {
    Lines names;
    for (int i = 0; i < Node->Count(); ++i) names.push_back(Node->Item(i)->Text());
    return names;
  }

  std::string root;
};

}  // namespace

TEST_F(TemplatePickerTest, TheListShowsTheSystemsSmallIcons) {
  SHFILEINFOA info = {};
  auto system = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoA(Settings.AppDir.substr(0, 3).c_str(), 0, &info, sizeof info,
                     SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  ASSERT_NE(system, nullptr);
  for (int dialogs = 0; dialogs < 2; ++dialogs) {  // fetched once, shared by every dialog
    TfrmTemplate dialog(nullptr);
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(
                  SendMessageA(dialog.lvTemplates->Handle(), LVM_GETIMAGELIST, LVSIL_SMALL, 0)),
              system);
  }
}

TEST_F(TemplatePickerTest, TheTreeShowsSortedSubFoldersAndTheRootsFilesAtOnce) {
  folder.Write("Templates\\Document\\leer.txt", "");
  // Names the code page cannot hold are left out, never shown as look-alikes.
  folder.Write(std::wstring(L"Templates\\Document\\L\u0113er.txt"), "");
  folder.Write(std::wstring(L"Templates\\Document\\\u0174eb\\x.txt"), "");
  TfrmTemplate dialog(nullptr);
  dialog.Setup("Neues Dokument erstellen", "Document", "Dokumentvorlagen");
  EXPECT_EQ(dialog.Caption(), "Neues Dokument erstellen");
  EXPECT_EQ(dialog.RootFolder, root);
  ASSERT_EQ(dialog.tvTree->Count(), 1);
  TTreeNode* top = dialog.tvTree->Items(0);
  EXPECT_EQ(top->Text(), "Dokumentvorlagen");
  EXPECT_EQ(top->ImageIndex(), 102);
  EXPECT_EQ(top->SelectedIndex(), 102);
  EXPECT_EQ(Children(top), (Lines{"Briefe", "Web"}));
  EXPECT_EQ(Children(top->Item(1)), (Lines{"Alt"}));
  EXPECT_EQ(top->Item(1)->ImageIndex(), 103);
  EXPECT_EQ(top->Item(1)->SelectedIndex(), 104);
  EXPECT_EQ(dialog.tvTree->Selected(), top);
  EXPECT_EQ(Rows(dialog, 0), (Lines{"leer"}));
  EXPECT_EQ(dialog.lvTemplates->Items(0)->ImageIndex(), TImageList::SystemSmallIconIndex(root + "leer.txt"));
  EXPECT_EQ(dialog.SelectedFile, root + "leer.txt") << "the first file is selected";
  EXPECT_TRUE(dialog.btnOk->Enabled());
}

TEST_F(TemplatePickerTest, ASubFolderListsVisibleFilesWithPathsBelowTheRoot) {
  folder.Write("Templates\\Document\\Web\\seite.html", "<p>");
  folder.Write("Templates\\Document\\Web\\stil.min.css", "");
  folder.Write("Templates\\Document\\Web\\versteckt.txt", "");
  SetFileAttributesA(folder.File("Templates\\Document\\Web\\versteckt.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
  folder.Write("Templates\\Document\\Web\\fest.txt", "");
  SetFileAttributesA(folder.File("Templates\\Document\\Web\\fest.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  TfrmTemplate dialog(nullptr);
  dialog.Setup("T", "Document", "R");
  EXPECT_EQ(dialog.lvTemplates->Count(), 0);
  EXPECT_FALSE(dialog.btnOk->Enabled()) << "an empty folder leaves nothing to choose";

  dialog.tvTree->SetSelected(dialog.tvTree->Items(0)->Item(1));  // the tree tells the dialog
  EXPECT_EQ(Rows(dialog, 0), (Lines{"fest", "seite", "stil.min"}));
  EXPECT_EQ(Rows(dialog, 1), (Lines{"Web\\fest.txt", "Web\\seite.html", "Web\\stil.min.css"}));
  EXPECT_TRUE(dialog.btnOk->Enabled());

  dialog.tvTree->SetSelected(dialog.tvTree->Items(0)->Item(1)->Item(0));
  dialog.tvTreeKeyUp(dialog.tvTree);
  EXPECT_EQ(dialog.lvTemplates->Count(), 0);
  EXPECT_FALSE(dialog.btnOk->Enabled());
  SetFileAttributesA(folder.File("Templates\\Document\\Web\\versteckt.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
  SetFileAttributesA(folder.File("Templates\\Document\\Web\\fest.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(TemplatePickerTest, KeysInTheTreeListTheFolderTheyReachAndKeepTheFileChosenInTheList) {
  folder.Write("Templates\\Document\\a.txt", "");
  folder.Write("Templates\\Document\\b.txt", "");
  folder.Write("Templates\\Document\\Briefe\\gruss.txt", "");
  TfrmTemplate dialog(nullptr);
  dialog.Setup("T", "Document", "R");
  dialog.Show();
  const HWND tree = dialog.tvTree->Handle();
  // As the keyboard sends them, through the program's loop.
  auto key = [tree](UINT Message, WORD Key) {
    PostMessageA(tree, Message, Key, 1 | (MapVirtualKeyA(Key, 0) << 16));
    Application().ProcessMessages();
  };
  for (int i = 0; i < dialog.lvTemplates->Count(); ++i) {
    TListItem* row = dialog.lvTemplates->Items(i);
    if (row->Caption() == "b") row->SetSelected(true);
  }
  ASSERT_EQ(dialog.SelectedFile, root + "b.txt");
  // Shift+Tab from the list back to the tree releases its keys there.
  SetFocus(tree);
  key(WM_KEYUP, VK_TAB);
  key(WM_KEYUP, VK_SHIFT);
  EXPECT_EQ(dialog.SelectedFile, root + "b.txt");
  ASSERT_NE(dialog.lvTemplates->Selected(), nullptr);
  EXPECT_EQ(dialog.lvTemplates->Selected()->Caption(), "b");

  key(WM_KEYDOWN, VK_DOWN);
  key(WM_KEYUP, VK_DOWN);
  EXPECT_EQ(dialog.tvTree->Selected()->Text(), "Briefe");
  EXPECT_EQ(Rows(dialog, 0), (Lines{"gruss"}));
  EXPECT_EQ(dialog.SelectedFile, root + "Briefe\\gruss.txt");
}

TEST_F(TemplatePickerTest, DoubleClickChoosesTheSelectedRowAndTheCommandCreatesTheDocument) {
  folder.Write("Templates\\Document\\Briefe\\gruss.txt", "Hallo Welt");
  testsupport::QueueFormAnswer([this](TForm& Form) {
    auto& dialog = dynamic_cast<TfrmTemplate&>(Form);
    EXPECT_EQ(dialog.Caption(), "Neues Dokument erstellen");
    EXPECT_EQ(dialog.tvTree->Items(0)->Text(), "Dokumentvorlagen");
    dialog.tvTree->SetSelected(dialog.tvTree->Items(0)->Item(0));
    dialog.tvTreeClick(dialog.tvTree);
    dialog.lvTemplatesDblClick(dialog.lvTemplates);
    EXPECT_EQ(dialog.SelectedFile, root + "Briefe\\gruss.txt");
    return dialog.ModalResult();
  });
  frmMain->Find<TMenuItem>("mnuFileNewTemplates")->Click();
  ASSERT_EQ(TabCount(), 1);
  EXPECT_EQ(GetFrame(0)->seEdit->Lines()[0], "Hallo Welt");

  testsupport::QueueFormAnswer([](TForm&) { return static_cast<int>(mrCancel); });
  frmMain->Find<TMenuItem>("mnuFileNewTemplates")->Click();
  EXPECT_EQ(TabCount(), 1) << "Cancel creates nothing";
}

TEST_F(TemplatePickerTest, AMissingTemplateFolderGivesOnlyTheRoot) {
  TfrmTemplate dialog(nullptr);
  dialog.Setup("T", "Content", "Inhaltsvorlagen");
  EXPECT_EQ(dialog.RootFolder, folder.File("Templates\\Content\\"));
  ASSERT_EQ(dialog.tvTree->Count(), 1);
  EXPECT_EQ(dialog.tvTree->Items(0)->Count(), 0);
  EXPECT_EQ(dialog.lvTemplates->Count(), 0);
  EXPECT_FALSE(dialog.btnOk->Enabled());
  dialog.lvTemplatesDblClick(dialog.lvTemplates);
  EXPECT_EQ(dialog.ModalResult(), mrNone) << "without a row a double click does nothing";
}

TEST_F(TemplatePickerTest, AFolderLinkBackToItsParentIsWalkedOnce) {
  std::string fixture = plugintest::BuiltPluginsFolder();
  fixture = fixture.substr(0, fixture.size() - std::string("testplugins\\").size()) + "loopfixture\\";
  ASSERT_NE(GetFileAttributesA((fixture + "Templates\\Document\\Sub\\Back").c_str()),
            INVALID_FILE_ATTRIBUTES);
  Settings.AppDir = fixture;
  TfrmTemplate dialog(nullptr);
  dialog.Setup("T", "Document", "R");
  TTreeNode* sub = dialog.tvTree->Items(0)->Item(0);
  EXPECT_EQ(sub->Text(), "Sub");
  ASSERT_EQ(Children(sub), (Lines{"Back"})) << "the link itself is listed";
  EXPECT_EQ(sub->Item(0)->Count(), 0) << "but not walked into: it leads back to the root";

  Settings.PluginsDir = fixture + "Plugins\\";
  LoadPlugins();
  EXPECT_EQ(PluginManager->Count(), 0);
}
