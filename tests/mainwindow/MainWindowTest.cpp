// The main window as built: components from the command table, commands not built yet kept
// disabled, the glyph strip, the language routine, the tab keys and Escape.
#include <gtest/gtest.h>
#include <cstdlib>
#include <set>
#include "documents/fHlpHK.h"
#include "documents/fHotKeys.h"
#include "documents/fLanguage.h"
#include "documents/MainGlyphs.h"
#include "mainwindow/formSplash.h"
#include "rtl/Exception.h"
#include "support/DocumentsTestFixture.h"
#include "toolkit/Application.h"
#include "toolkit/Controls.h"
#include "toolkit/GroupBox.h"
#include "toolkit/ImageList.h"
#include "toolkit/ListView.h"
#include "toolkit/Menus.h"
#include "toolkit/PageControl.h"
#include "toolkit/Panels.h"
#include "toolkit/StatusBar.h"
#include "toolkit/ToolBar.h"

namespace {

using documentstest::DocumentWindowTest;
using K = TMainRowKind;

class MainWindowTest : public DocumentWindowTest {
protected:
  void TearDown() override {
    LanguageTexts.Clear();
    DocumentWindowTest::TearDown();
  }
  TMenuItem* Item(const std::string& Name) const { return frmMain->Find<TMenuItem>(Name); }
  TToolButton* Button(const std::string& Name) const { return frmMain->Find<TToolButton>(Name); }
};

// The pixels of one glyph of the strip, as 0x00BBGGRR values.
std::vector<COLORREF> GlyphPixels(HBITMAP Strip, int Index) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Strip);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < GlyphSize; ++y)
    for (int x = 0; x < GlyphSize; ++x) pixels.push_back(GetPixel(dc, Index * GlyphSize + x, y));
  SelectObject(dc, old);
  DeleteDC(dc);
  return pixels;
}

}  // namespace

TEST_F(MainWindowTest, EveryNamedRowOfTheTableExistsAsItsKindOfComponent) {
  std::set<std::string> names;
  for (const TMainRow& row : MainCommandTable()) {
    if (row.Name.empty()) continue;
    EXPECT_TRUE(names.insert(row.Name).second) << "named twice: " << row.Name;
    // Texts are ANSI: an umlaut is one byte, never the two of its UTF-8 form.
    EXPECT_EQ((row.Caption + row.Hint).find('\xC3'), std::string::npos) << row.Name;
    switch (row.Kind) {
      case K::Menu: case K::Item: case K::Radio: case K::Check:
        ASSERT_NE(Item(row.Name), nullptr) << row.Name;
        EXPECT_EQ(Item(row.Name)->Caption(), row.Caption) << row.Name;
        break;
      case K::ToolButton: case K::ToolCheck: case K::ToolDropDown:
        EXPECT_NE(Button(row.Name), nullptr) << row.Name;
        break;
      case K::Control:
        EXPECT_NE(frmMain->Find<TWinControl>(row.Name), nullptr) << row.Name;
        break;
      default:
        break;
    }
  }
  EXPECT_EQ(frmMain->lvResults->ColumnCount(), 7);
  EXPECT_GE(frmMain->StatusBar->PanelCount(), 4);
  // Names the document routines use to keep menus and buttons in step.
  for (const char* name : {"mnuFileReload", "mnuFileFileFormat", "mnuFileLineBreakFormat",
                           "mnuFileExport", "mnuFileSessionSaveAs", "mnuFilePrintUnFormatted",
                           "mnuFileProperties", "mnuExtrasApps", "mnuExtrasDefApp",
                           "mnuExtrasOpenFolder", "mnuViewLineBreak", "mnuFileReOpen",
                           "mnuFormatReplaceHtmlNamedChars", "mnuLanguage", "mnuEditCopyMemoryBank9",
                           "mnuEditBookmarkGoto0", "pmnuSREditPaste"})
    EXPECT_NE(Item(name), nullptr) << name;
  for (const char* name : {"tbMainFileSave", "tbMainFileSaveAll", "tbMainFileFileFormat",
                           "tbMainFileLineBreakFormat", "tbMainFilePrintPreview", "tbMainFilePrint",
                           "tbMainEditUndo", "tbMainEditRedo", "tbMainEditSearch",
                           "tbMainEditGotoLine", "tbMainFormatReplaceHtmlNamedChars",
                           "tbMainViewLineBreak", "tbMainViewSyntax", "tbMainFileClose"})
    EXPECT_NE(Button(name), nullptr) << name;
  for (const char* name : {"pcEdit", "pcBottom", "splitterBottom", "pnlLeft", "splitterLeft",
                           "txtIncSearch", "tabSearch", "tabResults", "lblResultState"})
    EXPECT_NE(frmMain->Find<TComponent>(name), nullptr) << name;
  EXPECT_EQ(frmMain->Find<TMenuItem>("pcEdit"), nullptr) << "Find checks the kind";
}

TEST_F(MainWindowTest, CommandsNotBuiltYetStayDisabledWhenTheirMenuOpens) {
  for (const char* built : {"mnuFileNewDoc", "mnuFileOpen", "mnuFileSave", "mnuFileSaveAs",
                            "mnuFileSaveAll", "mnuFileClose", "mnuFileCloseAll",
                            "mnuFileCloseAllButCurrent", "mnuFileExit", "pmnuTabsClose"})
    EXPECT_TRUE(Item(built)->Enabled()) << built;
  // The maker has no donation page: that item never gets a command.
  for (const char* pending : {"mnuHelpDonate"})
    EXPECT_FALSE(Item(pending)->Enabled()) << pending;

  // The document routines enable whole groups when a document opens; opening the menu
  // takes back what has no command behind it.
  Item("mnuFilePrint")->OnClick = nullptr;  // as if not built yet
  Item("mnuFilePrint")->SetEnabled(true);
  Item("mnuFile")->Click();
  EXPECT_FALSE(Item("mnuFilePrint")->Enabled());
  EXPECT_TRUE(Item("mnuFileSave")->Enabled());
  EXPECT_TRUE(Item("mnuFileFileFormat")->Enabled()) << "submenus stay as they are";

  EXPECT_TRUE(Button("tbMainFileSave")->Visible());
  EXPECT_TRUE(Button("tbMainFileReOpen")->Visible());
  EXPECT_TRUE(Button("tbMainFilePrint")->Visible());
  // The file, print, edit, search, file-format and entity groups are left: one separator
  // between each two, and the search field follows the last button.
  EXPECT_TRUE(Button("tbMainEditUndo")->Visible());
  EXPECT_TRUE(Button("tbMainEditSearch")->Visible());
  EXPECT_TRUE(Button("tbMainFormatReplaceHtmlNamedChars")->Visible());
  int separators = 0;
  for (int i = 1; Button("tbMainSep" + std::to_string(i)); ++i)
    separators += Button("tbMainSep" + std::to_string(i))->Visible() ? 1 : 0;
  EXPECT_EQ(separators, 5);
  EXPECT_LT(frmMain->txtIncSearch->Left(), 30 * GlyphSize) << "hidden buttons take no room";
}

TEST_F(MainWindowTest, GlyphStripHasEveryNamedImageAndNothingElse) {
  EXPECT_GE(frmMain->ImgList->Count(), GlyphFileFormatBase + 10 + 1);
  HBITMAP strip = CreateMainGlyphStrip();
  ASSERT_NE(strip, nullptr);
  auto drawn = [&](int Index) {
    for (COLORREF c : GlyphPixels(strip, Index))
      if (c != GlyphTransparent) return true;
    return false;
  };
  // Tabs, file formats, line breaks, reopen items, and the tool bar's own.
  std::vector<std::vector<int>> families = {{126, 127, 128, 129},
                                            {148, 149, 156, 157, 158},
                                            {33, 34, 35, 36},
                                            {1, 2, 4, 5, 6, 7, 8, 9, 10, 14, 15, 16, 17, 18, 19}};
  for (const auto& family : families) {
    for (size_t i = 0; i < family.size(); ++i) {
      EXPECT_TRUE(drawn(family[i])) << "image " << family[i] << " is empty";
      for (size_t j = 0; j < i; ++j)
        EXPECT_NE(GlyphPixels(strip, family[i]), GlyphPixels(strip, family[j]))
            << "images " << family[i] << " and " << family[j] << " look the same";
    }
  }
  for (int unused : {22, 40, 150, GlyphCount - 1}) EXPECT_FALSE(drawn(unused)) << unused;
  DeleteObject(strip);
}

TEST_F(MainWindowTest, LanguageTextsReplaceCaptionsHintsAndColumns) {
  LanguageTexts.Add("Main|mnuFileOpen=&Open...");
  LanguageTexts.Add("Main|tbMainFileSave=Save");
  LanguageTexts.Add("Main|chkSearchWholeWords=Whole words");
  LanguageTexts.Add("Main|lblResultState=%s1% hits");
  LanguageTexts.Add("Main|mnuEditCopyMemoryBank3=Bank 3");
  MainForm()->TranslateForm();
  EXPECT_EQ(Item("mnuFileOpen")->Caption(), "&Open...");
  EXPECT_EQ(Item("mnuFileSave")->Caption(), "&Speichern") << "untranslated keeps German";
  EXPECT_EQ(Item("mnuEditCopyMemoryBank3")->Caption(), "Bank 3");
  EXPECT_EQ(Button("tbMainFileSave")->Hint(), "Save");
  EXPECT_EQ(frmMain->Find<TWinControl>("chkSearchWholeWords")->Caption(), "Whole words");
  EXPECT_EQ(frmMain->lvResults->ColumnCaption(6), "Fundstelle");
  EXPECT_EQ(frmMain->lblResultState->Caption(), "0 hits");
}

// The controls on the bottom panel that show a text of their own: pages, labels, group boxes,
// check boxes, radio buttons and buttons (not the fields the user or the program fills).
namespace {

BOOL CALLBACK CollectWindow(HWND Wnd, LPARAM List) {
  reinterpret_cast<std::vector<HWND>*>(List)->push_back(Wnd);
  return TRUE;
}

std::vector<TWinControl*> BottomPanelTexts() {
  std::vector<HWND> windows;
  EnumChildWindows(frmMain->pcBottom->Handle(), CollectWindow, reinterpret_cast<LPARAM>(&windows));
  std::vector<TWinControl*> controls;
  for (HWND wnd : windows) {
    TWinControl* c = TWinControl::FromHandle(wnd);
    if (dynamic_cast<TTabSheet*>(c) || dynamic_cast<TLabel*>(c) || dynamic_cast<TGroupBox*>(c) ||
        dynamic_cast<TCheckBox*>(c) || dynamic_cast<TButton*>(c))
      controls.push_back(c);
  }
  return controls;
}

}  // namespace

TEST_F(MainWindowTest, EveryTextOfTheBottomPanelComesFromTheLanguage) {
  const std::vector<TWinControl*> controls = BottomPanelTexts();
  ASSERT_EQ(controls.size(), 34u);
  LanguageTexts.Add("Main|lblResultState=<%s1%>");  // the first text of a key counts
  for (TWinControl* c : controls) LanguageTexts.Add("Main|" + c->Name() + "=<" + c->Name() + ">");
  MainForm()->TranslateForm();
  for (TWinControl* c : controls) {
    const std::string expected = c->Name() == "lblResultState" ? "<0>" : "<" + c->Name() + ">";
    EXPECT_EQ(c->Caption(), expected) << c->Name();
  }
}

TEST_F(MainWindowTest, LanguageMenuNamesItselfInBothLanguagesOnce) {
  struct Case {
    const char* text;  // nullptr: no language file line
    const char* caption;
  } cases[] = {{nullptr, "Sprache / &Language"},
               {"Main|mnuLanguage=Taal", "Taal / &Language"},
               {"Main|mnuLanguage=Language", "&Language"}};
  for (const Case& c : cases) {
    LanguageTexts.Clear();
    if (c.text) LanguageTexts.Add(c.text);
    MainForm()->TranslateForm();
    EXPECT_EQ(Item("mnuLanguage")->Caption(), c.caption);
  }
  EXPECT_EQ(frmMain->lblResultState->Caption(), "0 Treffer");
}

TEST_F(MainWindowTest, TabKeysMoveAndSwitchTabsWrappingAtBothEnds) {
  InitHotKeys();
  for (int i = 0; i < 3; ++i) Open("");
  auto order = [&] {
    std::string s;
    for (int i = 0; i < TabCount(); ++i) s += std::to_string(Pages().Pages(i)->Tag());
    return s;
  };
  TShiftState alt{TShift::ssAlt}, shiftAlt{TShift::ssShift, TShift::ssAlt};
  TShiftState ctrl{TShift::ssCtrl}, shiftCtrl{TShift::ssShift, TShift::ssCtrl};
  Pages().SetActivePageIndex(2);
  EXPECT_TRUE(MainForm()->FormKeyDown(VK_RIGHT, alt));
  EXPECT_EQ(Pages().ActivePageIndex(), 0) << "next after the last is the first";
  EXPECT_TRUE(MainForm()->FormKeyDown(VK_TAB, shiftCtrl));
  EXPECT_EQ(Pages().ActivePageIndex(), 2) << "previous before the first is the last";
  EXPECT_TRUE(MainForm()->FormKeyDown(VK_TAB, ctrl));
  EXPECT_EQ(Pages().ActivePageIndex(), 0);

  EXPECT_EQ(order(), "123");
  EXPECT_TRUE(MainForm()->FormKeyDown(VK_LEFT, shiftAlt));
  EXPECT_EQ(order(), "231") << "the first tab moves to the last place";
  EXPECT_EQ(Pages().ActivePageIndex(), 2);
  EXPECT_TRUE(MainForm()->FormKeyDown(VK_RIGHT, shiftAlt));
  EXPECT_EQ(order(), "123") << "the last tab moves to the first place";

  EXPECT_FALSE(MainForm()->FormKeyDown('A', ctrl));
  CloseAllDocuments(true);
  EXPECT_FALSE(MainForm()->FormKeyDown(VK_RIGHT, alt)) << "one tab: nothing to switch";
}

TEST_F(MainWindowTest, EscapeHidesTheBottomPanelOrClosesWhenConfigured) {
  frmMain->pcBottom->SetVisible(true);
  frmMain->splitterBottom->SetVisible(true);
  Settings.ViewDocSearch = true;
  char key = VK_ESCAPE;
  MainForm()->FormKeyPress(key);
  EXPECT_EQ(key, VK_ESCAPE) << "hiding the panel leaves the key to the control";
  EXPECT_FALSE(frmMain->pcBottom->Visible());
  EXPECT_FALSE(frmMain->splitterBottom->Visible());
  EXPECT_FALSE(Settings.ViewDocSearch);

  Settings.General.CloseWithESC = true;
  MainForm()->FormKeyPress(key);
  EXPECT_EQ(key, 0) << "closing consumes the key";
  MSG msg;
  EXPECT_TRUE(PeekMessageA(&msg, frmMain->Handle(), WM_CLOSE, WM_CLOSE, PM_REMOVE));

  key = 'x';
  MainForm()->FormKeyPress(key);
  EXPECT_EQ(key, 'x');
}

TEST_F(MainWindowTest, APreviewedKeyThatFailsShowsTheErrorBoxAndTheNextKeyWorks) {
  MainForm()->FormCreate();
  for (int i = 0; i < 3; ++i) Open("");
  Pages().SetActivePageIndex(0);
  TTabSheet* second = Pages().Pages(1);
  second->OnShow = [show = second->OnShow, failed = false](TObject* Sender) mutable {
    if (failed) return show(Sender);
    failed = true;
    throw Exception("Fehler beim Tabwechsel");
  };
  testsupport::QueueAnswer(ModalAnswer{IDOK}, [](const ModalQuestion& q) {
    EXPECT_EQ(q.text, "Fehler beim Tabwechsel");
    EXPECT_EQ(q.flags, UINT(MB_OK | MB_ICONERROR));
  });
  SetKeyStateOverride([](int Key) { return Key == VK_MENU; });
  PostMessageA(Pages().Handle(), WM_SYSKEYDOWN, VK_RIGHT, 0);
  Application().ProcessMessages();
  EXPECT_EQ(testsupport::PendingAnswers(), 0u) << "the error box was shown";

  PostMessageA(Pages().Handle(), WM_SYSKEYDOWN, VK_RIGHT, 0);
  Application().ProcessMessages();
  EXPECT_EQ(Pages().ActivePageIndex(), 2) << "the next key still reaches the window";
}

TEST(SplashWindow, BorderlessCentredAndShowsWhatLoads) {
  TfrmSplash splash(nullptr);
  splash.FormCreate();
  LONG style = GetWindowLongA(splash.Handle(), GWL_STYLE);
  EXPECT_EQ(style & WS_CAPTION, WS_BORDER) << "a border, no title bar";
  RECT work = {}, r = {};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  GetWindowRect(splash.Handle(), &r);
  EXPECT_LE(std::abs((r.left + r.right) - (work.left + work.right)), 1);
  EXPECT_LE(std::abs((r.top + r.bottom) - (work.top + work.bottom)), 1);
  EXPECT_EQ(splash.lblTitle->Caption(), "Tarvoline");
  EXPECT_EQ(splash.lblState->Caption(), "Tarvoline wird geladen...");
  splash.SetState("Lade Datei \"a.txt\"...");
  EXPECT_EQ(splash.lblState->Caption(), "Lade Datei \"a.txt\"...");
}

TEST_F(MainWindowTest, CreationPreparesLanguagesKeysAndPlaceAndPreviewsTabKeys) {
  MainForm()->FormCreate();
  TMenuItem* languages = Item("mnuLanguage");
  ASSERT_GE(languages->Count(), 1);
  EXPECT_EQ(languages->Items(0)->Caption(), "Deutsch (intern)");
  EXPECT_TRUE(languages->Items(0)->Checked());
  EXPECT_NE(GetHotKey("frmMain_KeyDownChangeTabRight"), 0) << "hot keys are loaded";
  RECT r = {};
  GetWindowRect(frmMain->Handle(), &r);
  EXPECT_EQ(r.right - r.left, Settings.FormWidth);
  EXPECT_EQ(r.bottom - r.top, Settings.FormHeight);

  // Keys reach the window before the focused control.
  Open("");
  Open("");
  Pages().SetActivePageIndex(0);
  SetKeyStateOverride([](int Key) { return Key == VK_MENU; });
  PostMessageA(Pages().Handle(), WM_SYSKEYDOWN, VK_RIGHT, 0);
  Application().ProcessMessagesUntil([&] { return Pages().ActivePageIndex() == 1; }, 1000);
  EXPECT_EQ(Pages().ActivePageIndex(), 1);
}
