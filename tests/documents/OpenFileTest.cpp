// Opening documents in a real main window: tabs and numbers, duplicates, the size and binary
// questions, failures, reloading, formats, read-only state and the highlighter choice.
#include <gtest/gtest.h>
#include <windows.h>
#include <memory>
#include <string>
#include "highlighters/CodeHighlighterHtml.h"
#include "rtl/SysUtils.h"
#include "support/DocumentsTestFixture.h"

namespace documentstest {
namespace {

using testsupport::AskedQuestions;
using testsupport::QueueAnswer;

using OpenFileTest = DocumentWindowTest;

TEST_F(OpenFileTest, UntitledDocumentsTakeTheLowestFreeNumber) {
  for (int i = 0; i < 3; ++i) ASSERT_NE(Open(""), nullptr);
  EXPECT_EQ(TabCaptions(), (std::vector<std::string>{"Unbenannt1", "Unbenannt2", "Unbenannt3"}));
  TfraEdit* first = Frame(0);
  EXPECT_EQ(first->DocInfo.FileName, "");
  EXPECT_EQ(first->DocInfo.Title, "Unbenannt1");
  EXPECT_EQ(first->DocInfo.FileFormat, ffAnsi);
  EXPECT_EQ(first->DocInfo.LineBreakFormat, lbfWindows);
  EXPECT_FALSE(first->DocInfo.Modified);
  EXPECT_EQ(first->FileWatcher, nullptr);
  EXPECT_EQ(Pages().Pages(1)->Name(), "tabEdit2");
  EXPECT_EQ(Pages().Pages(1)->Tag(), 2);
  EXPECT_EQ(Frame(1)->Tag(), 2);

  // Closing number 2 frees it; the next document takes it and sits right after the active tab.
  Pages().SetActivePageIndex(1);
  CloseDocument();
  Pages().SetActivePageIndex(0);
  ASSERT_NE(Open(""), nullptr);
  EXPECT_EQ(TabCaptions(), (std::vector<std::string>{"Unbenannt1", "Unbenannt2", "Unbenannt3"}));
  EXPECT_EQ(Pages().ActivePageIndex(), 1);
  EXPECT_EQ(GetActiveFrame()->Tag(), 2);
  EXPECT_EQ(FindFrameByTag(3), Frame(2));
  EXPECT_EQ(GetFrameChecked(-2), nullptr);
  EXPECT_EQ(GetFrame(-2), GetActiveFrame());
  EXPECT_EQ(GetFrameChecked(3), nullptr);
  EXPECT_EQ(GetFrameChecked(2), Frame(2));
  EXPECT_EQ(frmMain->Caption(), "Tarvoline - Unbenannt2");
}

TEST_F(OpenFileTest, FileNameIsKeptAsAFullPathAndTheCaptionDoublesAmpersands) {
  folder.Write("Tom & Jerry.txt", "one\r\ntwo\r\n");
  char previous[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, previous);
  SetCurrentDirectoryA(folder.Path().c_str());
  TfraEdit* frame = Open("Tom & Jerry.txt");
  SetCurrentDirectoryA(previous);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->DocInfo.FileName, folder.File("Tom & Jerry.txt"));
  EXPECT_EQ(frame->DocInfo.Title, "Tom & Jerry.txt");
  EXPECT_EQ(TabCaptions(), std::vector<std::string>{"Tom && Jerry.txt"});
  EXPECT_EQ(frame->seEdit->Lines().Count(), 3);
  EXPECT_EQ(frame->seEdit->Text(), "one\r\ntwo\r\n");
  EXPECT_FALSE(frame->DocInfo.Modified);
  EXPECT_EQ(Settings.OpenMRU.Text(), folder.File("Tom & Jerry.txt") + "\r\n");
  EXPECT_EQ(frmMain->Caption(), "Tarvoline - Tom & Jerry.txt");
  Settings.General.TitleShowFullPath = true;
  UpdateCaption();
  EXPECT_EQ(frmMain->Caption(), "Tarvoline - " + folder.File("Tom & Jerry.txt"));
}

TEST_F(OpenFileTest, WordWrapFollowsTheSettingAfterLoading) {
  for (bool wrap : {true, false, true}) {
    Settings.Editor.WordWrap = wrap;
    TfraEdit* frame = OpenWith("w.txt", "a\r\nb\r\n");
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->seEdit->WordWrap(), wrap);
    EXPECT_EQ(frame->seEdit->Lines().Count(), 3);
  }
}

TEST_F(OpenFileTest, DuplicatesFollowNoFileMultiLoadAndTheMLSwitch) {
  folder.Write("a.txt", "a");
  struct Case {
    bool noMultiLoad;
    bool paramML;
    int tabs;
  } cases[] = {{false, false, 2}, {true, false, 1}, {true, true, 2}};
  for (const Case& c : cases) {
    CloseAllDocuments(false);
    Settings.General.NoFileMultiLoad = c.noMultiLoad;
    Settings.ParamML = c.paramML;
    Open(folder.File("a.txt"));
    Open("");
    // The same file under another spelling of its name.
    TTabSheet* again = OpenFile(AnsiUpperCase(folder.File("a.txt")), false, nullptr);
    EXPECT_EQ(TabCount(), c.tabs + 1) << c.noMultiLoad << c.paramML;
    if (c.tabs == 1) {
      EXPECT_EQ(again, Pages().Pages(0));
    }
    EXPECT_EQ(Pages().ActivePage(), again);
  }
}

TEST_F(OpenFileTest, SizeQuestionUsesTheRoundedSize) {
  Settings.General.OpenSizeWarnMB = 1;
  const std::string big(1024 * 1024 + 400 * 1024, 'x');  // 1.39 MB: rounds to the limit
  folder.Write("big.txt", big);
  folder.Write("small.txt", std::string(1024 * 1024 / 2, 'x'));  // 0.5 MB rounds to 0
  for (int answer : {IDNO, IDCANCEL}) {
    QueueAnswer(ModalAnswer{answer}, [&](const ModalQuestion& q) {
      EXPECT_EQ(q.caption, "\xD6" "ffnen einer gro\xDF" "en Datei");
      EXPECT_EQ(q.text, "Die Datei \"" + folder.File("big.txt") + "\" ist gr\xF6\xDF" "er als 1 MB (1 MB).\r\n"
                        "M\xF6" "chten Sie diese Datei dennoch \xF6" "ffnen?");
      EXPECT_EQ(q.flags, UINT(MB_ICONEXCLAMATION | MB_YESNOCANCEL));
    });
    EXPECT_EQ(Open(folder.File("big.txt")), nullptr);
    EXPECT_EQ(TabCount(), 0);
  }
  EXPECT_TRUE(DocumentNumbers.empty());
  QueueAnswer(IDYES);
  ASSERT_NE(Open(folder.File("big.txt")), nullptr);
  EXPECT_NE(Open(folder.File("small.txt")), nullptr);  // no question
  Settings.General.OpenSizeWarn = false;
  EXPECT_NE(Open(folder.File("big.txt")), nullptr);
  EXPECT_EQ(TabCount(), 3);
}

TEST_F(OpenFileTest, DecliningABinaryFileAsTheOnlyDocumentLeavesNoTab) {
  folder.Write("bin.dat", std::string("ab\x01\x02" "cd\0ef", 9));
  QueueAnswer(ModalAnswer{IDNO}, [](const ModalQuestion& q) {
    EXPECT_EQ(q.caption, "Datei \xF6" "ffnen");
    EXPECT_NE(q.text.find("ist keine Textdatei"), std::string::npos);
    EXPECT_EQ(q.flags, UINT(MB_ICONQUESTION | MB_YESNO | MB_DEFBUTTON2));
  });
  EXPECT_EQ(Open(folder.File("bin.dat")), nullptr);
  EXPECT_EQ(TabCount(), 0);
  EXPECT_EQ(frmMain->Caption(), "Tarvoline");
  EXPECT_EQ(NewDocumentNumber(), 1);  // the number was given back
  FreeDocumentNumber(1);

  // Accepted, it is shown with blanks for NUL bytes and will be saved as ANSI.
  QueueAnswer(IDYES);
  TfraEdit* frame = Open(folder.File("bin.dat"));
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->seEdit->Text(), std::string("ab\x01\x02" "cd ef"));
  EXPECT_EQ(frame->DocInfo.FileFormat, ffAnsi);
  EXPECT_EQ(frame->DocInfo.OrgFileFormat, ffAnsi);
  // Without the warning nothing is asked.
  Settings.General.OpenBinWarn = false;
  EXPECT_NE(Open(folder.File("bin.dat")), nullptr);
}

TEST_F(OpenFileTest, AFileThatCannotBeReadIsReportedAndLeavesNothing) {
  Open("");
  QueueAnswer(ModalAnswer{IDOK}, [&](const ModalQuestion& q) {
    EXPECT_EQ(q.text, "Die Datei \"" + folder.File("missing.txt") + "\" konnte nicht ge\xF6" "ffnet werden.");
    EXPECT_EQ(q.flags, UINT(MB_ICONERROR | MB_OK));
  });
  EXPECT_EQ(Open(folder.File("missing.txt")), nullptr);
  EXPECT_EQ(TabCount(), 1);
  EXPECT_EQ(DocumentNumbers, (std::vector<int32_t>{0, -1}));
  EXPECT_EQ(GetActiveFrame(), Frame(0));
  EXPECT_EQ(Settings.OpenMRU.Count(), 0);
}

TEST_F(OpenFileTest, ReloadReplacesTheTextOrKeepsTheDocumentWhenItFails) {
  TfraEdit* frame = OpenWith("r.txt", "first\n");
  ASSERT_NE(frame, nullptr);
  Open("");
  folder.Write("r.txt", "second\r\nlines\r\n");
  EXPECT_NE(OpenFile(folder.File("r.txt"), false, frame), nullptr);
  EXPECT_EQ(TabCount(), 2);
  EXPECT_EQ(frame->seEdit->Text(), "second\r\nlines\r\n");
  EXPECT_EQ(frame->DocInfo.LineBreakFormat, lbfWindows);
  EXPECT_EQ(frame->Tag(), 1);
  EXPECT_FALSE(frame->DocInfo.Modified);

  // The file is gone: the document stays as it was, with its number.
  Edit(*frame, "X");
  const std::string before = frame->seEdit->Text();
  DeleteFileA(folder.File("r.txt").c_str());
  QueueAnswer(IDOK);
  EXPECT_EQ(OpenFile(folder.File("r.txt"), false, frame), nullptr);
  EXPECT_EQ(TabCount(), 2);
  EXPECT_EQ(FindFrameByTag(1), frame);
  EXPECT_EQ(frame->seEdit->Text(), before);
  EXPECT_TRUE(frame->DocInfo.Modified);
  EXPECT_EQ(frame->DocInfo.FileName, folder.File("r.txt"));
}

TEST_F(OpenFileTest, ReadOnlyFromTheCallerOrFromTheFile) {
  folder.Write("ro.txt", "x");
  SetFileAttributesA(folder.File("ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  folder.Write("rw.txt", "x");
  struct Case {
    const char* name;
    bool asked;
    bool autoReadOnly;
    bool readOnly;
  } cases[] = {
      {"ro.txt", false, false, false}, {"rw.txt", true, false, true},
      {"ro.txt", false, true, true},   {"rw.txt", true, true, false},  // the file wins
  };
  for (const Case& c : cases) {
    Settings.General.AutoReadOnly = c.autoReadOnly;
    TTabSheet* sheet = OpenFile(folder.File(c.name), c.asked, nullptr);
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(GetActiveEditor()->ReadOnly(), c.readOnly) << c.name << c.asked << c.autoReadOnly;
    EXPECT_EQ(sheet->ImageIndex(), c.readOnly ? 128 : 126);
  }
  SetFileAttributesA(folder.File("ro.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(OpenFileTest, ReadHooksAreAskedInOrderUntilOneSupplies) {
  folder.Write("h.txt", "from the file");
  std::vector<std::string> asked;
  FileReadHooks.push_back([&](const std::wstring&, std::wstring& Text, int32_t&, int32_t&) {
    asked.push_back("declines");
    EXPECT_TRUE(Text.empty());
    Text = L"left over";
    return 1;
  });
  FileReadHooks.push_back([&](const std::wstring&, std::wstring&, int32_t&, int32_t&) -> int {
    asked.push_back("fails");
    throw Exception("plug-in failure");
  });
  FileReadHooks.push_back([&](const std::wstring& Name, std::wstring& Text, int32_t& LineBreak,
                              int32_t& FileFormat) {
    asked.push_back("supplies");
    EXPECT_EQ(Name.substr(Name.size() - 5), L"h.txt");
    Text = L"from \x00E4 plug-in\r\n";
    LineBreak = lbfUnix;
    FileFormat = ffUtf16LE;
    return 0;
  });
  FileReadHooks.push_back([&](const std::wstring&, std::wstring&, int32_t&, int32_t&) {
    asked.push_back("never");
    return 0;
  });
  TfraEdit* frame = Open(folder.File("h.txt"));
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(asked, (std::vector<std::string>{"declines", "fails", "supplies"}));
  // Taken as given: only the built-in reader keeps a final line break.
  EXPECT_EQ(frame->seEdit->Text(), "from \xE4 plug-in");
  EXPECT_EQ(frame->DocInfo.LineBreakFormat, lbfUnix);
  EXPECT_EQ(frame->DocInfo.FileFormat, ffAnsi);  // what cannot be written back becomes ANSI
}

// ---- Highlighters -------------------------------------------------------------------------

class OpenFileHighlighterTest : public DocumentWindowTest {
protected:
  void SetUp() override {
    DocumentWindowTest::SetUp();
    uri = std::make_unique<TCodeHTMLHighlighter>(nullptr);
    html = std::make_unique<TCodeHTMLHighlighter>(nullptr);
    css = std::make_unique<TCodeHTMLHighlighter>(nullptr);
    frmMain->HlURI = uri.get();
    frmMain->HlHTML = html.get();
    frmMain->HlCSS = css.get();
    frmMain->HlWebMixed = nullptr;  // a shared highlighter not built: the document stays plain
    Settings.FileTypes.Clear();
    Settings.FileTypes.Add("All|*.*|txt|:HTML:");
    Settings.FileTypes.Add("Web|*.htm;*.HTML|html|:html:");
    Settings.FileTypes.Add("Style|*.css|css|:CSS:");
    Settings.FileTypes.Add("Mixed|*.php|php|:WebMixed:");
    Settings.FileTypes.Add("C|*.c;*.h|c|C++");
    Settings.Editor.BackgroundColor = 0x00E0F0F0;
  }
  void TearDown() override {
    DocumentWindowTest::TearDown();  // the window goes before its highlighters
    uri.reset();
    html.reset();
    css.reset();
  }
  TCodeCustomHighlighter* HighlighterOf(const std::string& Name, const std::string& Data) {
    TfraEdit* frame = OpenWith(Name, Data);
    return frame ? frame->seEdit->Highlighter() : nullptr;
  }
  std::unique_ptr<TCodeHTMLHighlighter> uri, html, css;
};

TEST_F(OpenFileHighlighterTest, ChosenByWholeMaskNeverByAllFiles) {
  struct Case {
    const char* name;
    TCodeCustomHighlighter* expected;
  } cases[] = {
      {"page.html", html.get()}, {"PAGE.HTM", html.get()}, {"page.htmx", uri.get()},
      {"a.css", css.get()},      {"a.h", uri.get()},       {"noext", uri.get()},
      {"a.php", nullptr},
  };
  for (const Case& c : cases) EXPECT_EQ(HighlighterOf(c.name, "text"), c.expected) << c.name;
  // Plain documents get the configured background, highlighted ones keep theirs.
  EXPECT_EQ(HighlighterOf("x.txt", "t"), uri.get());
  EXPECT_EQ(GetActiveEditor()->Color(), TColor(0x00E0F0F0));
  EXPECT_EQ(HighlighterOf("y.php", "t"), nullptr);
  EXPECT_EQ(GetActiveEditor()->Color(), TColor(0x00E0F0F0));
  SetHighlighter(html.get());
  EXPECT_EQ(GetActiveEditor()->Color(), clWhite);
  SetHighlighter(uri.get());
  EXPECT_EQ(GetActiveEditor()->Color(), TColor(0x00E0F0F0));
}

TEST_F(OpenFileHighlighterTest, EveryIdentifierNamesItsSharedHighlighter) {
  TCodeHTMLHighlighter webMixed(nullptr), php(nullptr), js(nullptr), vbs(nullptr);
  frmMain->HlWebMixed = &webMixed;
  frmMain->HlPHP = &php;
  frmMain->HlJS = &js;
  frmMain->HlVBS = &vbs;
  Settings.FileTypes.Clear();
  for (const char* row : {"a|*.a|a|:URI:", "b|*.b|b|:WEBMIXED:", "c|*.c|c|:Html:", "d|*.d|d|:php:",
                          "e|*.e|e|:CSS:", "f|*.f|f|:js:", "g|*.g|g|:VBS:", "h|*.h|h|:NONE:"})
    Settings.FileTypes.Add(row);
  struct Case {
    const char* name;
    TCodeCustomHighlighter* expected;
  } cases[] = {{"x.a", uri.get()}, {"x.b", &webMixed}, {"x.c", html.get()}, {"x.d", &php},
               {"x.e", css.get()}, {"x.f", &js},        {"x.g", &vbs},       {"x.h", uri.get()}};
  for (const Case& c : cases) {
    TfraEdit* frame = OpenWith(c.name, "t");
    EXPECT_EQ(GetFileTypeHighlighter(c.name, *frame), c.expected) << c.name;
    EXPECT_EQ(frame->seEdit->Highlighter(), c.expected) << c.name;
  }
  EXPECT_EQ(GetFileTypeHighlighter("", *GetActiveFrame()), uri.get());
  CloseAllDocuments(false);  // before the highlighters go
  frmMain->HlWebMixed = frmMain->HlPHP = frmMain->HlJS = frmMain->HlVBS = nullptr;
}

TEST_F(OpenFileHighlighterTest, ContentRulesOverrideTheFileName) {
  FileTypeContents.Add("|1024|x.html|S|<html");
  FileTypeContents.Add("|1024|x.css|R|^body\\s*\\{");
  FileTypeContents.Add("|1024|x.html|S|BROKEN(");
  FileTypeContents.Add("|1024|x.css|R|broken(");
  EXPECT_EQ(HighlighterOf("a.txt", "  <html><body>"), html.get());
  EXPECT_EQ(HighlighterOf("b.txt", "body {\r\n<html>"), css.get());  // the later rule wins
  EXPECT_EQ(HighlighterOf("c.css", "<HTML>"), css.get());  // case matters: the name decides
  TfraEdit* frame = OpenWith("d.txt", "<html>");
  EXPECT_EQ(GetHighlighterByContent(*frame), "x.html");
  EXPECT_TRUE(AskedQuestions().empty());
}

}  // namespace
}  // namespace documentstest
