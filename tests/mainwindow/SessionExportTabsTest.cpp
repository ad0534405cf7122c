// File menu and tab commands on a real main window: sessions, export, reload, formats, the
// tab strip's mouse and its context menu.
#include <gtest/gtest.h>
#include "commands/FileSessions.h"
#include "documents/XmlDoc.h"
#include "editor/CodeEdit.h"
#include "support/DocumentsTestFixture.h"
#include "toolkit/Clipboard.h"
#include "toolkit/Menus.h"
#include "toolkit/ToolBar.h"

namespace {

ModalAnswer Button(int Result) {
  ModalAnswer a;
  a.result = Result;
  return a;
}

class SessionExportTabsTest : public documentstest::DocumentWindowTest {
protected:
  static void Click(const std::string& Name) {
    if (auto* item = frmMain->Find<TMenuItem>(Name)) item->Click();
    else frmMain->Find<TToolButton>(Name)->Click();
  }
  static ModalAnswer Saved(const std::string& Name, int FilterIndex = 1) {
    ModalAnswer a;
    a.result = IDOK;
    a.value = Name;
    a.files = {Name};
    a.filterIndex = FilterIndex;
    return a;
  }
  static void Place(TfraEdit* Frame, int SelStart, int SelLength) {
    Frame->seEdit->SetSelStart(SelStart);
    Frame->seEdit->SetSelLength(SelLength);
  }
  std::vector<std::string> TabTitles() const {
    std::vector<std::string> titles;
    for (int i = 0; i < TabCount(); ++i) titles.push_back(Frame(i)->DocInfo.Title);
    return titles;
  }
};

// Files with umlauts in their names need the host's German locale under Wine; this name holds
// the other characters a session line carries (blanks, "&", a second dot).
const std::string Umlauts = "R&D Bericht.v2.txt";

}  // namespace

TEST_F(SessionExportTabsTest, SessionSavedAndOpenedAgainRestoresTabsActiveTabAndCaret) {
  TfraEdit* first = OpenWith(Umlauts, "eins\r\nzwei\r\ndrei");
  TfraEdit* second = OpenWith("b.txt", "bbbbbbbb");
  Open("");  // untitled documents are not part of a session
  Place(first, 6, 4);
  Place(second, 3, 0);
  const std::string firstStart = std::to_string(first->seEdit->SelStart());
  Pages().SetActivePageIndex(0);
  testsupport::QueueAnswer(Saved(folder.File("work")), [&](const ModalQuestion& q) {
    EXPECT_EQ(q.kind, ModalKind::SaveDialog);
    EXPECT_EQ(q.caption, "Arbeitssitzung speichern");
    EXPECT_EQ(q.filter, "Arbeitssitzung (*.tvs)|*.tvs|Alle Dateien (*.*)|*.*");
  });
  Click("mnuFileSessionSaveAs");
  ASSERT_TRUE(FileExists(folder.File("work.tvs")));
  TXmlDoc doc;
  ASSERT_TRUE(doc.LoadFromFile(folder.File("work.tvs")));
  EXPECT_EQ(doc.ReadString("Session\\LastDocFileName", ""), folder.File(Umlauts));
  EXPECT_EQ(doc.ReadString("Session\\LastDocList", ""),
            folder.File(Umlauts) + "\t" + firstStart + "\t4\t1\r\n" + folder.File("b.txt") +
                "\t3\t0\t1");

  testsupport::QueueAnswer(Saved(folder.File("work.tvs")), [](const ModalQuestion& q) {
    EXPECT_EQ(q.kind, ModalKind::OpenDialog);
    EXPECT_EQ(q.caption, "Arbeitssitzung \xF6" "ffnen");
  });
  Click("mnuFileSessionOpen");
  ASSERT_GE(TabCount(), 2);
  EXPECT_EQ(TabTitles()[0], Umlauts);
  EXPECT_EQ(TabTitles()[1], "b.txt");
  EXPECT_EQ(Pages().ActivePageIndex(), 0);
  EXPECT_EQ(std::to_string(Frame(0)->seEdit->SelStart()), firstStart);
  EXPECT_EQ(Frame(0)->seEdit->SelText(), "zwei");
  EXPECT_EQ(Frame(1)->seEdit->SelStart(), 3);
}

TEST_F(SessionExportTabsTest, SessionListsKeepUmlautsThroughTheFile) {
  const std::string name = folder.File("\xDC" "bersicht \xE4\xF6\xFC\xDF.txt");
  Settings.LastDocList.SetText(name + "\t1\t2\t3");
  TXmlDoc doc;
  doc.WriteString("Session\\LastDocList", name + "\t1\t2\t3");
  doc.WriteString("Session\\LastDocFileName", name);
  ASSERT_TRUE(doc.SaveToFile(folder.File("u.tvs"), 2, true));
  ASSERT_TRUE(LoadSession(folder.File("u.tvs"), false));
  EXPECT_EQ(Settings.LastDocList.Text(), name + "\t1\t2\t3\r\n");
  EXPECT_EQ(Settings.LastDocFileName, name);
  EXPECT_EQ(TabCount(), 0) << "a file that is not there is skipped";
}

TEST_F(SessionExportTabsTest, CtrlAddsTheSessionAndMissingFilesAreSkipped) {
  folder.Write("s.tvs",
               "<?xml version=\"1.0\"?><Session><LastDocList>" + folder.File("gone.txt") +
                   "\r\n" + folder.File("here.txt") + "\tx\ty\tz</LastDocList>"
                   "<LastDocFileName>" + folder.File("HERE.TXT") + "</LastDocFileName></Session>");
  folder.Write("here.txt", "da");
  TfraEdit* kept = OpenWith("kept.txt", "k");
  HoldCtrl(true);
  testsupport::QueueAnswer(Saved(folder.File("s.tvs")));
  Click("mnuFileSessionOpen");
  HoldCtrl(false);
  EXPECT_EQ(TabTitles(), (std::vector<std::string>{"kept.txt", "here.txt"}));
  EXPECT_EQ(Pages().ActivePageIndex(), 1) << "the active name compares without case";
  EXPECT_EQ(Frame(1)->seEdit->SelStart(), 1) << "a field that is no number gives its default";
  (void)kept;
}

TEST_F(SessionExportTabsTest, CancelWhileClosingStopsOpeningASession) {
  folder.Write("here.txt", "da");
  folder.Write("s.tvs", "<?xml version=\"1.0\"?><Session><LastDocList>" + folder.File("here.txt") +
                            "</LastDocList></Session>");
  TfraEdit* draft = Open("");
  Edit(*draft, "ungespeichert");
  testsupport::QueueAnswer(Saved(folder.File("s.tvs")));
  testsupport::QueueAnswer(IDCANCEL);  // the question whether to save the draft
  Click("mnuFileSessionOpen");
  EXPECT_EQ(TabCount(), 1);
  EXPECT_EQ(Frame(0), draft);
}

TEST_F(SessionExportTabsTest, ASessionThatCannotBeReadClosesNothing) {
  folder.Write("here.txt", "da");
  folder.Write("s.tvs", "<?xml version=\"1.0\"?><Session><LastDocList>" + folder.File("here.txt") +
                            "</LastDocList></Session>");
  folder.Write("empty.tvs", "");
  TfraEdit* kept = OpenWith("kept.txt", "k");
  testsupport::HeldFile held(folder.File("s.tvs"));
  ASSERT_TRUE(held.Held());
  for (const std::string& name : {folder.File("s.tvs"), folder.File("empty.tvs")}) {
    testsupport::QueueAnswer(Saved(name));
    testsupport::QueueAnswer(Button(IDOK), [&](const ModalQuestion& q) {
      EXPECT_EQ(q.caption, "Arbeitssitzung \xF6" "ffnen");
      EXPECT_EQ(q.text, "Die Arbeitssitzung \"" + name + "\" konnte nicht gelesen werden; die "
                        "ge\xF6" "ffneten Dokumente bleiben ge\xF6" "ffnet.");
    });
    Click("mnuFileSessionOpen");
    EXPECT_EQ(testsupport::PendingAnswers(), 0u);
    ASSERT_EQ(TabCount(), 1);
    EXPECT_EQ(Frame(0), kept);
  }
  held.Release();
  testsupport::QueueAnswer(Saved(folder.File("s.tvs")));
  Click("mnuFileSessionOpen");
  EXPECT_EQ(TabTitles(), (std::vector<std::string>{"here.txt"})) << "read once let go";
}

TEST_F(SessionExportTabsTest, SessionFileNamesExtensionsOverwriteAndWriteFailure) {
  OpenWith("a.txt", "a");
  testsupport::QueueAnswer(Saved(folder.File("plain"), 2));
  Click("mnuFileSessionSaveAs");
  EXPECT_TRUE(FileExists(folder.File("plain"))) << "the all-files filter adds nothing";

  testsupport::QueueAnswer(Saved(folder.File("plain"), 2));
  testsupport::QueueAnswer(Button(IDNO), [](const ModalQuestion& q) {
    EXPECT_EQ(q.caption, "Arbeitssitzung speichern");
    EXPECT_EQ(q.flags & MB_YESNOCANCEL, static_cast<UINT>(MB_YESNOCANCEL));
  });
  testsupport::QueueAnswer(Saved(folder.File("other.tvs")));  // asked again after No
  Click("mnuFileSessionSaveAs");
  EXPECT_TRUE(FileExists(folder.File("other.tvs")));

  testsupport::QueueAnswer(Saved(folder.File("other.tvs")));
  testsupport::QueueAnswer(IDCANCEL);
  folder.Write("other.tvs", "alt");
  Click("mnuFileSessionSaveAs");
  EXPECT_EQ(folder.Read("other.tvs"), "alt");

  testsupport::QueueAnswer(Saved(folder.File("no such folder\\s.tvs")));
  testsupport::QueueAnswer(Button(IDOK), [](const ModalQuestion& q) {
    EXPECT_NE(q.text.find("konnte nicht gespeichert werden"), std::string::npos);
  });
  Click("mnuFileSessionSaveAs");
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);
}

TEST_F(SessionExportTabsTest, ExportWritesTheChosenFormatAndReportsAFileItCannotWrite) {
  OpenWith("page.txt", "Hallo Welt");
  testsupport::QueueAnswer(Saved(folder.File("page"), 2), [](const ModalQuestion& q) {
    EXPECT_EQ(q.filter, "HTML-Dokument (*.html)|*.html|Rich-Text-Format (*.rtf)|*.rtf");
    EXPECT_EQ(q.value, "page");
  });
  Click("mnuFileExport");
  ASSERT_TRUE(FileExists(folder.File("page.rtf")));
  EXPECT_EQ(folder.Read("page.rtf").rfind("{\\rtf", 0), 0u);

  testsupport::QueueAnswer(Saved(folder.File("page.rtf"), 1));
  testsupport::QueueAnswer(Button(IDYES), [](const ModalQuestion& q) {
    EXPECT_EQ(q.caption, "Datei exportieren");
  });
  Click("mnuFileExport");
  EXPECT_NE(folder.Read("page.rtf").find("Hallo Welt"), std::string::npos);
  EXPECT_NE(folder.Read("page.rtf").find("<html"), std::string::npos) << "filter 1: HTML";

  testsupport::QueueAnswer(Saved(folder.File("gone\\page.html")));
  testsupport::QueueAnswer(Button(IDOK), [](const ModalQuestion& q) {
    EXPECT_NE(q.text.find("konnte nicht gespeichert werden"), std::string::npos);
  });
  Click("mnuFileExport");
  EXPECT_EQ(testsupport::PendingAnswers(), 0u);
}

TEST_F(SessionExportTabsTest, ExportWithNothingToExportAsksNothingAndWritesNothing) {
  struct Case {
    const char* Text;
    bool Highlighter;
  };
  const Case cases[] = {{"", true}, {"Hallo Welt", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text);
    TfraEdit* frame = OpenWith("page.txt", c.Text);
    if (!c.Highlighter) frame->seEdit->SetHighlighter(nullptr);
    testsupport::QueueAnswer(Saved(folder.File("page.html")));
    Click("mnuFileExport");  // any message box would be a question nobody answers
    EXPECT_EQ(testsupport::PendingAnswers(), 0u);
    EXPECT_FALSE(FileExists(folder.File("page.html")));
    CloseDocument();
  }
}

TEST_F(SessionExportTabsTest, ExportNeverOverwritesTheDocumentsOwnFile) {
  const std::string source = "<p>Quelle</p>\r\n";
  OpenWith("page.html", source);
  struct Case {
    const char* chosen;  // in the save dialog
    const char* named;   // in the message
  } cases[] = {{"page", "page.html"}, {"PAGE.HTML", "PAGE.HTML"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.chosen);
    testsupport::QueueAnswer(Saved(folder.File(c.chosen)), [](const ModalQuestion& q) {
      EXPECT_EQ(q.value, "page");
    });
    testsupport::QueueAnswer(Button(IDOK), [&](const ModalQuestion& q) {
      EXPECT_EQ(q.caption, "Datei exportieren");
      EXPECT_EQ(q.text, "Die Datei \"" + folder.File(c.named) +
                            "\" ist die Datei des Dokuments selbst und wird nicht \xFC" "berschrieben."
                            "\r\nBitte w\xE4hlen Sie einen anderen Dateinamen.");
      EXPECT_EQ(q.flags, UINT(MB_ICONWARNING | MB_OK));
    });
    testsupport::QueueAnswer(Button(IDCANCEL));  // the save dialog again
    Click("mnuFileExport");
    EXPECT_EQ(folder.Read("page.html"), source);
    EXPECT_EQ(testsupport::PendingAnswers(), 0u);
  }
  testsupport::QueueAnswer(Saved(folder.File("copy")));
  Click("mnuFileExport");
  EXPECT_NE(folder.Read("copy.html").find("Quelle"), std::string::npos) << "another name exports";
}

TEST_F(SessionExportTabsTest, ReloadFormatsAndMenuStates) {
  TfraEdit* frame = OpenWith("r.txt", "alt");
  folder.Write("r.txt", "neu");
  Click("mnuFileReload");
  EXPECT_EQ(frame->seEdit->Text(), "neu");

  Click("mnuFile");
  EXPECT_FALSE(frmMain->Find<TMenuItem>("mnuFileSave")->Enabled());
  EXPECT_FALSE(frmMain->Find<TMenuItem>("mnuFileCloseAllButCurrent")->Enabled());
  EXPECT_TRUE(frmMain->Find<TMenuItem>("mnuFileSessionOpen")->Enabled());
  EXPECT_TRUE(frmMain->Find<TMenuItem>("mnuFileProperties")->Enabled()) << "the document has a file name";
  EXPECT_TRUE(frmMain->Find<TMenuItem>("mnuFilePrint")->Enabled());

  Click("mnuFileFileFormatUtf8");
  EXPECT_EQ(frame->DocInfo.FileFormat, ffUtf8);
  Click("mnuFileFileFormat");
  EXPECT_TRUE(frmMain->Find<TMenuItem>("mnuFileFileFormatUtf8")->Checked());
  EXPECT_FALSE(frmMain->Find<TMenuItem>("mnuFileFileFormatAnsi")->Checked());
  Click("tbMainFileFileFormat");
  EXPECT_EQ(frame->DocInfo.FileFormat, ffAnsi) << "the button goes back to the format read";
  Click("mnuFileLineBreakFormatUNIX");
  Click("mnuFileLineBreakFormat");
  EXPECT_TRUE(frmMain->Find<TMenuItem>("mnuFileLineBreakFormatUNIX")->Checked());
  EXPECT_TRUE(frame->DocInfo.Modified);
  Click("mnuFile");
  EXPECT_TRUE(frmMain->Find<TMenuItem>("mnuFileSave")->Enabled());
  EXPECT_EQ(frmMain->Find<TMenuItem>("mnuFileLineBreakFormat")->ImageIndex(), 34);
}

// An untitled document has no file to reload: the command is disabled for it, its hot key does
// nothing, and a call that comes anyway (a plug-in) asks nothing and leaves the text modified,
// so closing the tab still asks to save it.
TEST_F(SessionExportTabsTest, ReloadLeavesAnUntitledDocumentAlone) {
  OpenWith("named.txt", "alt");
  TfraEdit* untitled = Open("");
  Edit(*untitled, "wichtig");
  auto* reload = frmMain->Find<TMenuItem>("mnuFileReload");
  reload->SetShortCut(scCtrl | 'R');
  Pages().SetActivePageIndex(0);
  Click("mnuFile");
  EXPECT_TRUE(reload->Enabled()) << "a document with a file name";

  Pages().SetActivePage(dynamic_cast<TTabSheet*>(untitled->Owner()));
  EXPECT_FALSE(frmMain->mnuMain->IsShortCut(scCtrl | 'R')) << "the hot key finds the command disabled";
  EXPECT_FALSE(reload->Enabled());
  Click("mnuFileReload");  // an unexpected save question would fail the test
  EXPECT_EQ(untitled->seEdit->Text(), "wichtig");
  EXPECT_TRUE(untitled->DocInfo.Modified);

  testsupport::QueueAnswer(Button(IDCANCEL), [](const ModalQuestion& q) {
    EXPECT_EQ(q.caption, "Datei speichern");
  });
  Click("mnuFileClose");
  EXPECT_EQ(testsupport::AskedQuestions().size(), 1u);
  EXPECT_EQ(TabCount(), 2);
}

TEST_F(SessionExportTabsTest, TabContextMenuCopiesPathsAndLocksInput) {
  TfraEdit* frame = OpenWith("c.txt", "c");
  Open("");
  Pages().SetActivePageIndex(0);
  frmMain->pmnuTabs->OnPopup(frmMain->pmnuTabs);
  EXPECT_TRUE(frmMain->Find<TMenuItem>("pmnuTabsCloseAllButCurrent")->Enabled());
  EXPECT_TRUE(frmMain->Find<TMenuItem>("pmnuTabsCopyFileName")->Enabled());
  EXPECT_FALSE(frmMain->Find<TMenuItem>("pmnuTabsReadOnly")->Checked());
  Click("pmnuTabsReadOnly");
  EXPECT_TRUE(frame->seEdit->ReadOnly());

  auto clipboardText = [] {
    Clipboard().Open(nullptr);
    std::string text = Clipboard().GetData(CF_TEXT).value_or("");
    Clipboard().Close();
    return text.substr(0, text.find('\0'));
  };
  Click("pmnuTabsCopyFullPath");
  EXPECT_EQ(clipboardText(), folder.File("c.txt"));
  Click("pmnuTabsCopyFileName");
  EXPECT_EQ(clipboardText(), "c.txt");
  Click("pmnuTabsCopyFilePath");
  EXPECT_EQ(clipboardText(), folder.Path());

  Pages().SetActivePageIndex(1);
  frmMain->pmnuTabs->OnPopup(frmMain->pmnuTabs);
  EXPECT_FALSE(frmMain->Find<TMenuItem>("pmnuTabsCopyFullPath")->Enabled()) << "untitled";
}

TEST_F(SessionExportTabsTest, TabsAnswerRealMouseMessages) {
  for (const char* name : {"1.txt", "2.txt", "3.txt", "4.txt"}) OpenWith(name, name);
  ShowWindow(frmMain->Handle(), SW_SHOWNORMAL);
  SetWindowPos(frmMain->Handle(), HWND_TOPMOST, 0, 0, 800, 600, SWP_SHOWWINDOW);
  UpdateWindow(frmMain->Handle());
  HWND strip = Pages().Handle();
  auto center = [&](int Index) {
    RECT r = Pages().TabRect(Index);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  };
  auto send = [&](UINT Msg, WPARAM Keys, POINT P) {
    POINT screen = P;
    ClientToScreen(strip, &screen);
    SetCursorPos(screen.x, screen.y);
    SendMessageA(strip, Msg, Keys, MAKELPARAM(P.x, P.y));
  };

  // Middle click on an inactive tab closes that tab.
  Pages().SetActivePageIndex(3);
  POINT second = center(1);
  send(WM_MBUTTONDOWN, MK_MBUTTON, second);
  send(WM_MBUTTONUP, 0, second);
  EXPECT_EQ(TabTitles(), (std::vector<std::string>{"1.txt", "3.txt", "4.txt"}));

  // Middle click below every tab closes nothing.
  RECT client = Pages().ClientRect();
  POINT outside = {client.right - 5, client.bottom - 5};
  send(WM_MBUTTONDOWN, MK_MBUTTON, outside);
  send(WM_MBUTTONUP, 0, outside);
  EXPECT_EQ(TabCount(), 3);

  // Drag tab 1 behind tab 3.
  POINT from = center(0), to = center(2);
  send(WM_LBUTTONDOWN, MK_LBUTTON, from);
  send(WM_MOUSEMOVE, MK_LBUTTON, {from.x + 20, from.y});
  send(WM_MOUSEMOVE, MK_LBUTTON, to);
  send(WM_LBUTTONUP, 0, to);
  EXPECT_EQ(TabTitles(), (std::vector<std::string>{"3.txt", "4.txt", "1.txt"}));

  // Dropped below every tab nothing moves.
  send(WM_LBUTTONDOWN, MK_LBUTTON, center(0));
  send(WM_MOUSEMOVE, MK_LBUTTON, outside);
  send(WM_LBUTTONUP, 0, outside);
  EXPECT_EQ(TabTitles(), (std::vector<std::string>{"3.txt", "4.txt", "1.txt"}));

  // Dropped onto itself nothing moves; Ctrl and a left click close the active tab.
  from = center(2);
  send(WM_LBUTTONDOWN, MK_LBUTTON, from);
  send(WM_MOUSEMOVE, MK_LBUTTON, {from.x + 10, from.y + 6});
  send(WM_LBUTTONUP, 0, {from.x + 10, from.y + 6});
  EXPECT_EQ(TabTitles(), (std::vector<std::string>{"3.txt", "4.txt", "1.txt"}));
  Pages().SetActivePageIndex(1);
  send(WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, center(1));
  send(WM_LBUTTONUP, MK_CONTROL, center(1));
  EXPECT_EQ(TabTitles(), (std::vector<std::string>{"3.txt", "1.txt"}));
  SetWindowPos(frmMain->Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}
