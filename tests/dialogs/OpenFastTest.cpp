// The find-files dialog on real folders: listing, the three search modes, opening limits,
// replacing in files on disk.
#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <memory>
#include <vector>
#include "dialogs/formOpenFast.h"
#include "documents/fHlpMain.h"
#include "documents/fLanguage.h"
#include "documents/fMain.h"
#include "foundation/Regex.h"
#include "foundation/fMain.h"
#include "rtl/SysUtils.h"
#include "support/DocumentsTestFixture.h"
#include "support/ModalAnswers.h"
#include "support/RunawayReport.h"
#include "support/TempFolder.h"
#include "support/WhenShown.h"
#include "toolkit/Application.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Controls.h"
#include "toolkit/Dialogs.h"
#include "toolkit/KeyState.h"
#include "toolkit/ListView.h"
#include "toolkit/Menus.h"
#include "toolkit/MessageHook.h"
#include "toolkit/PageControl.h"

namespace {

using testsupport::QueueAnswer;

// Answers the next message box with Result after checking its title.
void ExpectBox(const std::string& Caption, int Result = IDOK, std::string* Text = nullptr) {
  QueueAnswer(ModalAnswer{Result}, [Caption, Text](const ModalQuestion& q) {
    EXPECT_EQ(q.kind, ModalKind::MessageBox);
    EXPECT_EQ(q.caption, Caption) << q.text;
    if (Text) *Text = q.text;
  });
}

// The keyboard's key, down and up, for the control that has the focus now.
void PostKey(WORD Key) {
  const HWND focus = GetFocus();
  const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(Key, 0)) << 16;
  PostMessageA(focus, WM_KEYDOWN, Key, 1 | scan);
  PostMessageA(focus, WM_KEYUP, Key, 1 | scan | 0xC0000000);
}

class OpenFastTest : public testing::Test {
protected:
  void SetUp() override {
    SetTextLookup(ToolkitText);
    saved_ = Settings.OpenFast;
    Settings.OpenFast = TOpenFastSettings();
    folder.Write("first.txt", "Needle at the start");
    folder.Write("last.txt", "the end holds the needle");
    folder.Write("empty.txt", "");
    folder.Write("binary.dat", std::string("\0\x01\xFFneedle\0", 10));
    folder.Write("other.txt", "nothing here; needles only as part");
    CreateDirectoryA(folder.File("sub").c_str(), nullptr);
    folder.Write("sub\\deep.txt", "a needle below");
  }
  void TearDown() override {
    dialog.reset();
    Settings.OpenFast = saved_;
    SetTextLookup(nullptr);
  }
  TfrmOpenFast& Dialog() {
    if (!dialog) dialog = std::make_unique<TfrmOpenFast>(nullptr);
    return *dialog;
  }
  // Runs a search and gives the listed files' names relative to the folder.
  std::vector<std::string> Find(const std::string& Mask, const std::string& Text,
                                bool SubDirs = false) {
    TfrmOpenFast& d = Dialog();
    d.cmbMask->SetText(Mask);
    d.cmbDir->SetText(folder.Path());
    d.chkUseSubDirs->SetChecked(SubDirs);
    d.cmbSearch->SetText(Text);
    d.btnSearchClick(nullptr);
    std::vector<std::string> names;
    for (const std::string& file : d.Files(false)) names.push_back(file.substr(folder.Path().size()));
    // The file system decides the listing order.
    std::sort(names.begin(), names.end());
    return names;
  }

  testsupport::TempFolder folder;
  std::unique_ptr<TfrmOpenFast> dialog;

private:
  TOpenFastSettings saved_;
};

using Names = std::vector<std::string>;

// Pastes Text into a field as a person would (the field of a combo box, or an edit).
void Paste(TWinControl& Field, const std::wstring& Text) {
  auto* combo = dynamic_cast<TComboBox*>(&Field);
  SendMessageW(combo ? combo->EditHandle() : Field.Handle(), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>(Text.c_str()));
}

const std::string RefusedNamesText =
    "Diese Namen enthalten Zeichen, die der Zeichensatz des Systems nicht kennt (hier als \"?\" "
    "gezeigt). Tarvoline \xF6" "ffnet, durchsucht, startet oder speichert unter ihnen nichts:";

std::string RefusedSearchText(const std::string& Field) {
  return "Der Text im Feld \"" + Field + "\" enth\xE4lt Zeichen, die der Zeichensatz des Systems "
         "nicht kennt.\r\nEs wird nichts gesucht und nichts ersetzt.";
}

}  // namespace

TEST(ContentMatcher, FindsAtTheFirstAndLastByteInEachModeAndNothingInAnEmptyText) {
  struct Case {
    const char* Text;
    TFindInFilesOptions Options;
    std::string Content;
    bool Expected;
  };
  const TFindInFilesOptions plain{}, cased{true, false, false}, word{false, true, false},
      regex{false, false, true};
  const Case cases[] = {
      {"abc", plain, "ABCxyz", true},
      {"abc", plain, "xyzABC", true},
      {"abc", cased, "xyzABC", false},
      {"abc", cased, "xyzabc", true},
      {"abc", plain, "", false},
      {"abc", plain, "ab", false},
      {"abc", plain, std::string("\0\0abc\0", 6), true},
      {"abc", word, "abc def", true},
      {"abc", word, "xx abc", true},
      {"abc", word, "abcdef", false},
      {"a.c", word, "x a-c y", true},  // the dot is the wildcard
      {"abc", word, "", false},
      {"^a\\d+$", regex, "A12", true},
      {"^a\\d+$", regex, "A1x", false},
      {"z$", regex, std::string("\xFFz", 2), true},
      {"x*", regex, "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Text) + " in \"" + c.Content + "\"");
    TContentMatcher matcher(c.Text, c.Options);
    EXPECT_EQ(matcher.FoundIn(c.Content), c.Expected);
  }
}

TEST(ContentMatcher, ABadPatternFailsWhenBuiltAndReplaceFollowsTheMode) {
  EXPECT_THROW(TContentMatcher("a(b", TFindInFilesOptions{false, false, true}), ERegex);
  EXPECT_NO_THROW(TContentMatcher("a(b", TFindInFilesOptions{}));
  TContentMatcher plain("ab", TFindInFilesOptions{});
  EXPECT_EQ(plain.ReplaceIn("AB ab aB", "x"), "x x x");
  TContentMatcher cased("ab", TFindInFilesOptions{true, false, false});
  EXPECT_EQ(cased.ReplaceIn("AB ab aB", "x"), "AB x aB");
  TContentMatcher groups("(\\w)=(\\w)", TFindInFilesOptions{false, false, true});
  EXPECT_EQ(groups.ReplaceIn("a=b c=d", "$2=$1"), "b=a d=c");
}

TEST(ListMatchingFiles, ListsByMaskWithOrWithoutSubFolders) {
  testsupport::TempFolder folder;
  folder.Write("a.txt", "");
  folder.Write("b.log", "");
  CreateDirectoryA(folder.File("s").c_str(), nullptr);
  folder.Write("s\\c.txt", "");
  EXPECT_EQ(ListMatchingFiles(folder.Path(), "*.txt", false), Names{folder.File("a.txt")});
  EXPECT_EQ(ListMatchingFiles(folder.Path(), "*.txt", true),
            (Names{folder.File("a.txt"), folder.File("s\\c.txt")}));
  EXPECT_TRUE(ListMatchingFiles(folder.File("missing"), "*", true).empty());
}

TEST(ReadFileBytes, ReadsEveryByteAndFailsForAMissingFile) {
  testsupport::TempFolder folder;
  const std::string bytes("\0\r\n\x1A\xFF", 5);
  folder.Write("b", bytes);
  folder.Write("e", "");
  std::string content = "old";
  EXPECT_TRUE(ReadFileBytes(folder.File("b"), content));
  EXPECT_EQ(content, bytes);
  EXPECT_TRUE(ReadFileBytes(folder.File("e"), content));
  EXPECT_EQ(content, "");
  EXPECT_FALSE(ReadFileBytes(folder.File("none"), content));
}

TEST_F(OpenFastTest, SearchesInEachModeIncludingFirstAndLastBytesAndBinaryFiles) {
  EXPECT_EQ(Find("*", "needle"), (Names{"binary.dat", "first.txt", "last.txt", "other.txt"}));
  EXPECT_EQ(Find("*.txt", "needle"), (Names{"first.txt", "last.txt", "other.txt"}));
  EXPECT_EQ(Dialog().lblFiles->Caption(), "3 Dateien gefunden:");
  Dialog().chkCaseSensitive->SetChecked(true);
  EXPECT_EQ(Find("*.txt", "needle"), (Names{"last.txt", "other.txt"}));
  Dialog().chkCaseSensitive->SetChecked(false);
  Dialog().chkWholeWords->SetChecked(true);
  EXPECT_EQ(Find("*.txt", "needle"), (Names{"first.txt", "last.txt"}));
  EXPECT_EQ(Find("*", "needle", true), (Names{"binary.dat", "first.txt", "last.txt", "sub\\deep.txt"}));
  Dialog().chkWholeWords->SetChecked(false);
  Dialog().chkUseRegExpr->SetChecked(true);
  EXPECT_EQ(Find("*.txt", "needle$"), (Names{"last.txt"}));
  EXPECT_EQ(Find("*.txt", "^needle"), (Names{"first.txt"}));
  EXPECT_TRUE(Settings.OpenFast.UseRegExpr);
  EXPECT_FALSE(Settings.OpenFast.WholeWords);
}

TEST_F(OpenFastTest, AFileHoldingExactlyTheSearchTextIsFoundWithAndWithoutCase) {
  folder.Write("exact.txt", "Needle");
  for (bool cased : {false, true}) {
    SCOPED_TRACE(cased);
    Dialog().chkCaseSensitive->SetChecked(cased);
    EXPECT_EQ(Find("exact.txt", "Needle"), Names{"exact.txt"});
  }
  Dialog().chkCaseSensitive->SetChecked(false);
  EXPECT_EQ(Find("exact.txt", "nEEDLE"), Names{"exact.txt"});
  Dialog().chkCaseSensitive->SetChecked(true);
  ExpectBox("Keine Dateien gefunden");
  EXPECT_TRUE(Find("exact.txt", "nEEDLE").empty());
}

TEST_F(OpenFastTest, BlanksOnlyListEveryFileAndNothingFoundIsReported) {
  EXPECT_EQ(Find("*.txt", "   "), (Names{"empty.txt", "first.txt", "last.txt", "other.txt"}));
  ExpectBox("Keine Dateien gefunden");
  EXPECT_TRUE(Find("*.txt", "absent").empty());
  EXPECT_EQ(Dialog().lblFiles->Caption(), "0 Dateien gefunden:");
  std::string text;
  ExpectBox("Ung\xFCltiges Verzeichnis", IDOK, &text);
  Dialog().cmbDir->SetText(folder.File("missing"));
  Dialog().btnSearchClick(nullptr);
  EXPECT_NE(text.find("missing\" existiert nicht."), std::string::npos) << text;
}

TEST_F(OpenFastTest, NamesTheCodePageCannotHoldArePassedOverAndNamedOnceAfterTheWalk) {
  folder.Write(std::wstring(L"\u03A9mega.txt"), "needle");
  folder.Write(std::wstring(L"\u015Aub\\deep.txt"), "needle");  // its look-alike is "sub"
  std::string text;
  ExpectBox("Ungeeigneter Name", IDOK, &text);
  EXPECT_EQ(Find("*.txt", "needle", true), (Names{"first.txt", "last.txt", "other.txt", "sub\\deep.txt"}));
  EXPECT_EQ(text.rfind(RefusedNamesText + "\r\n", 0), 0u) << text;
  EXPECT_NE(text.find("\r\n" + folder.File("?mega.txt")), std::string::npos) << text;
  EXPECT_NE(text.find("\r\n" + folder.File("?ub")), std::string::npos) << text;

  // A walk over many such names shows twenty and counts the rest.
  for (int i = 0; i < 25; ++i) folder.Write(L"\u03A3" + std::to_wstring(i) + L".txt", "");
  ExpectBox("Ungeeigneter Name", IDOK, &text);
  Find("*.txt", "needle");
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 21) << text;
  EXPECT_EQ(text.substr(text.rfind("\r\n")), "\r\n\x85 und 6 weitere") << text;
}

TEST_F(OpenFastTest, AFieldHoldingWhatTheCodePageLacksIsRefusedBeforeAnythingIsListedOrWritten) {
  folder.Write(std::wstring(L"\u03A9dir\\a.txt"), "needle");
  CreateDirectoryA(folder.File("Odir").c_str(), nullptr);  // the look-alikes
  folder.Write("Odir\\a.txt", "needle");
  folder.Write("Omega.txt", "Omega");
  TfrmOpenFast& d = Dialog();
  auto setMultiLine = [&d](bool On) {
    if (d.chkMultiLine->Checked() != On) SendMessageA(d.chkMultiLine->Handle(), BM_CLICK, 0, 0);
  };
  const struct {
    TWinControl* field;
    std::wstring typed;
    bool multiLine;  // the text goes to the other field as typed, not as its "?" form
    const char* caption;
    std::string text;
  } cases[] = {
      {d.cmbDir, AnsiToWide(folder.Path()) + L"\u03A9dir", false, "Ungeeigneter Name",
       RefusedNamesText + "\r\n" + folder.File("?dir")},
      {d.cmbMask, L"\u03A9mega.txt", false, "Ungeeigneter Name", RefusedNamesText + "\r\n?mega.txt"},
      {d.cmbSearch, L"\u03A9mega", false, "Ungeeigneter Suchtext", RefusedSearchText("Suchen nach")},
      {d.cmbSearch, L"\u03A9mega", true, "Ungeeigneter Suchtext", RefusedSearchText("Suchen nach")},
  };
  // The files a search listed before stay listed.
  d.cmbMask->SetText("*.txt");
  d.cmbDir->SetText(folder.Path());
  d.cmbSearch->SetText("Omega");
  d.btnSearchClick(nullptr);
  const std::vector<std::string> listed = d.Files(false);
  ASSERT_EQ(listed.size(), 1u);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    d.cmbMask->SetText("*.txt");
    d.cmbDir->SetText(folder.Path());
    d.cmbSearch->SetText("needle");
    setMultiLine(false);
    Paste(*c.field, c.typed);
    setMultiLine(c.multiLine);
    std::string shown;
    ExpectBox(c.caption, IDOK, &shown);
    d.btnSearchClick(nullptr);
    EXPECT_EQ(shown, c.text);
    EXPECT_EQ(d.Files(false), listed);
  }
  EXPECT_EQ(Settings.OpenFast.DirMRU.Count() + Settings.OpenFast.MaskMRU.Count(), 2);

  setMultiLine(false);
  d.cmbSearch->SetText("Omega");
  d.btnSearchClick(nullptr);
  ASSERT_EQ(d.Files(false).size(), 1u);
  Paste(*d.cmbReplace, L"\u03A9");
  std::string shown;
  ExpectBox("Ungeeigneter Suchtext", IDOK, &shown);
  d.btnReplaceClick(nullptr);
  EXPECT_EQ(shown, RefusedSearchText("Ersetzen mit"));
  EXPECT_EQ(folder.Read("Omega.txt"), "Omega");
  EXPECT_EQ(folder.Read("Odir\\a.txt"), "needle");
}

TEST_F(OpenFastTest, AnInvalidExpressionIsReportedBeforeAnyFileIsReadOrTheListChanges) {
  // The files a search listed before stay listed.
  const Names listed = Find("*.txt", "needle");
  ASSERT_EQ(listed, (Names{"first.txt", "last.txt", "other.txt"}));
  Dialog().chkUseRegExpr->SetChecked(true);
  std::string shown;
  ExpectBox("Regul\xE4rer Ausdruck", IDOK, &shown);
  EXPECT_EQ(Find("*", "needle("), listed);
  EXPECT_EQ(shown, "TRegex(comp): ParseReg Unmatched () (pos 7)");
  EXPECT_EQ(testsupport::AskedQuestions().size(), 1u) << "no second box about empty results";
  EXPECT_EQ(Dialog().lblFiles->Caption(), "3 Dateien gefunden:");
}

TEST_F(OpenFastTest, HistoriesKeepOneEntryPerTextIgnoringCaseAndAtMostThirty) {
  for (int i = 0; i < 35; ++i) Settings.OpenFast.MaskMRU.Add("m" + std::to_string(i));
  Find("*.TXT", "NEEDLE");
  Find("*.txt", "needle");
  EXPECT_EQ(Dialog().cmbSearch->Count(), 1);
  EXPECT_EQ(Dialog().cmbSearch->Items(0), "needle");
  EXPECT_EQ(Settings.OpenFast.SearchMRU.Text(), "needle\r\n");
  EXPECT_EQ(Settings.OpenFast.MaskMRU.Count(), 30);
  EXPECT_EQ(Settings.OpenFast.MaskMRU[0], "*.txt");
  EXPECT_EQ(Settings.OpenFast.MaskMRU[1], "m0");
  EXPECT_EQ(Settings.OpenFast.DirMRU[0], folder.Path());
  TfrmOpenFast again(nullptr);
  EXPECT_EQ(again.cmbMask->Text(), "*.txt");
  EXPECT_EQ(again.cmbMask->Count(), 30);
}

TEST_F(OpenFastTest, OpeningAsksAboveTwentyAndRefusesAboveAHundred) {
  testsupport::TempFolder many;
  for (int i = 0; i < 101; ++i) many.Write("f" + std::to_string(1000 + i) + ".txt", "x");
  TfrmOpenFast& d = Dialog();
  d.cmbMask->SetText("*.txt");
  d.cmbDir->SetText(many.Path());
  d.btnSearchClick(nullptr);
  ASSERT_EQ(d.lstFiles->Count(), 101);
  ExpectBox("Zu viele Dateien gefunden");
  d.btnOpenAll->Click();
  EXPECT_EQ(d.ModalResult(), mrNone);
  for (int i = 0; i < 21; ++i) d.lstFiles->Items(i)->SetSelected(true);
  ExpectBox("Viele Dateien gefunden", IDNO);
  d.btnOpen->Click();
  EXPECT_EQ(d.ModalResult(), mrNone);
  ExpectBox("Viele Dateien gefunden", IDYES);
  d.btnOpen->Click();
  EXPECT_EQ(d.ModalResult(), mrOk);
  d.SetModalResult(mrNone);
  d.lstFiles->Items(0)->SetSelected(false);
  d.btnOpen->Click();
  EXPECT_EQ(d.ModalResult(), mrOk) << "twenty open without a question";
  EXPECT_EQ(d.Files(true).size(), 20u);
}

TEST_F(OpenFastTest, ReplaceRewritesTheListedFilesExactlyAndLeavesOthers) {
  folder.Write("long.txt", "AAAA-long text-AAAA");
  Find("*.txt", "aaaa");
  ASSERT_EQ(Dialog().Files(false).size(), 1u);
  TfrmOpenFast& d = Dialog();
  d.cmbSearch->SetText("-long text-");
  d.cmbReplace->SetText("\\t\\c65");
  d.chkReplaceEscape->SetChecked(true);
  std::string text;
  ExpectBox("Ersetzen in Dateien", IDOK, &text);
  d.btnReplaceClick(nullptr);
  EXPECT_EQ(text, "Es wurden 1 Dateien verarbeitet.");
  EXPECT_EQ(folder.Read("long.txt"), "AAAA\tAAAAA");
  EXPECT_EQ(folder.Read("first.txt"), "Needle at the start");
  EXPECT_TRUE(Settings.OpenFast.ReplaceEscape);
  EXPECT_EQ(Settings.OpenFast.ReplaceMRU[0], "\\t\\c65");
}

TEST_F(OpenFastTest, ReplaceReportsAMissingSelectionOrSearchTextAndABadPatternBeforeWriting) {
  Find("*.txt", "needle");
  TfrmOpenFast& d = Dialog();
  d.chkReplaceSelectedOnly->SetChecked(true);
  d.cmbSearch->SetText("");
  ExpectBox("Fehlende Dateiauswahl");
  d.btnReplaceClick(nullptr);
  d.lstFiles->Items(0)->SetSelected(true);
  ExpectBox("Fehlender Suchbegriff");
  d.btnReplaceClick(nullptr);
  d.chkUseRegExpr->SetChecked(true);
  d.cmbSearch->SetText("needle[");
  ExpectBox("Regul\xE4rer Ausdruck");
  d.btnReplaceClick(nullptr);
  EXPECT_EQ(folder.Read("first.txt"), "Needle at the start");
  d.chkReplaceEscape->SetChecked(true);
  d.chkUseRegExpr->SetChecked(false);
  d.cmbSearch->SetText("needle");
  d.cmbReplace->SetText("\\cxyz");
  ExpectBox("Ersetzen in Dateien");
  d.btnReplaceClick(nullptr);
  EXPECT_EQ(folder.Read("first.txt"), "Needle at the start") << "a bad escape writes nothing";
}

TEST_F(OpenFastTest, AFileThatCannotBeWrittenKeepsItsBytesAndIsNamed) {
  Find("*.txt", "needle");
  ASSERT_EQ(Dialog().Files(false).size(), 3u);
  SetFileAttributesA(folder.File("last.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  TfrmOpenFast& d = Dialog();
  d.cmbReplace->SetText("pin");
  std::string text;
  ExpectBox("Ersetzen in Dateien", IDOK, &text);
  d.btnReplaceClick(nullptr);
  SetFileAttributesA(folder.File("last.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(folder.Read("last.txt"), "the end holds the needle");
  EXPECT_EQ(folder.Read("first.txt"), "pin at the start");
  EXPECT_EQ(folder.Read("other.txt"), "nothing here; pins only as part");
  EXPECT_EQ(text.rfind("Es wurden 2 Dateien verarbeitet.", 0), 0u) << text;
  EXPECT_NE(text.find(folder.File("last.txt")), std::string::npos) << text;

  SetTextFileFaultsForTests(-1, 3);
  ExpectBox("Ersetzen in Dateien", IDOK, &text);
  d.btnReplaceClick(nullptr);
  SetTextFileFaultsForTests(-1, -1);
  EXPECT_EQ(folder.Read("first.txt"), "pin at the start") << "a write failing midway";
  EXPECT_EQ(text.rfind("Es wurden 0 Dateien verarbeitet.", 0), 0u) << text;

  // 22 failures: the box names 20, then counts the rest.
  for (int i = 0; i < 20; ++i) folder.Write("n" + std::to_string(10 + i) + ".txt", "pin");
  std::vector<std::string> all = Find("*.txt", "pin");
  ASSERT_EQ(all.size(), 22u);
  std::vector<std::string> listed = d.Files(false);
  for (const std::string& file : listed) SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
  d.cmbReplace->SetText("pan");
  ExpectBox("Ersetzen in Dateien", IDOK, &text);
  d.btnReplaceClick(nullptr);
  for (const std::string& file : listed) SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
  std::string expected = "Es wurden 0 Dateien verarbeitet.\r\n\r\nDiese Dateien konnten nicht "
                         "verarbeitet werden und sind unver\xE4ndert:";
  for (size_t i = 0; i < 20; ++i) expected += "\r\n" + listed[i];
  EXPECT_EQ(text, expected + "\r\n\x85 und 2 weitere");
}

TEST_F(OpenFastTest, CancelStopsAfterTheCurrentFileAndLeavesEachFileWhole) {
  Find("*.txt", "needle");
  TfrmOpenFast& d = Dialog();
  const std::vector<std::string> files = d.Files(false);
  ASSERT_EQ(files.size(), 3u);
  std::vector<std::string> before;
  for (const std::string& file : files) before.push_back(folder.Read(file.substr(folder.Path().size())));
  d.cmbReplace->SetText("N");
  // The press arrives once the first file is done: the running button then cancels.
  PostMessageA(d.btnReplace->Handle(), BM_CLICK, 0, 0);
  PostMessageA(d.Handle(), WM_CLOSE, 0, 0);  // refused while the run goes on
  bool runningButtonReachable = false, othersLocked = false;
  std::string runningCaption;
  TMessageHook look(nullptr, d.Handle(), [&](UINT Msg, WPARAM, LPARAM, LRESULT&) {
    if (Msg != WM_APP) return false;
    runningCaption = d.btnReplace->Caption();
    runningButtonReachable = IsWindowEnabled(d.btnReplace->Handle()) &&
                             IsWindowEnabled(d.tabReplace->Handle()) &&
                             IsWindowEnabled(d.pcSR->Handle());
    othersLocked = !IsWindowEnabled(d.btnOpen->Handle()) && !IsWindowEnabled(d.cmbMask->Handle()) &&
                   !IsWindowEnabled(d.btnCancel->Handle()) && !IsWindowEnabled(d.cmbReplace->Handle());
    return true;
  });
  PostMessageA(d.Handle(), WM_APP, 0, 0);
  std::string text;
  ExpectBox("Ersetzen in Dateien", IDOK, &text);
  d.btnReplaceClick(nullptr);
  EXPECT_EQ(text, "Es wurden 1 Dateien verarbeitet.");
  for (size_t i = 0; i < files.size(); ++i) {
    const std::string now = folder.Read(files[i].substr(folder.Path().size()));
    if (i == 0)
      EXPECT_EQ(now.find("eedle"), std::string::npos) << now;
    else
      EXPECT_EQ(now, before[i]);
  }
  EXPECT_EQ(runningCaption, "Abbrechen");
  EXPECT_TRUE(runningButtonReachable);
  EXPECT_TRUE(othersLocked);
  EXPECT_EQ(d.btnReplace->Caption(), "Ersetzen");
  EXPECT_TRUE(d.btnCancel->Enabled());
  EXPECT_FALSE(d.Running());
  EXPECT_EQ(d.ModalResult(), mrNone);
  EXPECT_TRUE(IsWindow(d.Handle()));
}

TEST_F(OpenFastTest, TheKeyboardCancelsARunAndIsWhereItWasAfterIt) {
  TfrmOpenFast& d = Dialog();
  d.cmbMask->SetText("*.txt");
  d.cmbDir->SetText(folder.Path());
  d.cmbSearch->SetText("needle");
  const HWND field = d.cmbSearch->EditHandle();
  std::vector<HWND> focus;  // after a search, after Tab, during a second search, after its cancel
  int listed = -1;
  // Arrives once the second search has read its first file: Space for what has the keys then.
  TMessageHook midRun(nullptr, d.Handle(), [&](UINT Msg, WPARAM, LPARAM, LRESULT&) {
    if (Msg != WM_APP) return false;
    focus.push_back(GetFocus());
    PostKey(VK_SPACE);
    return true;
  });
  testsupport::TWhenShown shown([&](HWND Wnd) { return Wnd == d.Handle(); }, [&](HWND) {
    SetFocus(field);
    for (WORD key : {VK_RETURN, VK_TAB}) {
      PostKey(key);
      Application().ProcessMessages();
      focus.push_back(GetFocus());
    }
    SetFocus(field);
    PostMessageA(field, WM_CHAR, VK_RETURN, 1);
    PostMessageA(d.Handle(), WM_APP, 0, 0);
    Application().ProcessMessages();
    focus.push_back(GetFocus());
    listed = d.lstFiles->Count();
    PostKey(VK_ESCAPE);
    Application().ProcessMessages();
    if (d.ModalResult() == mrNone) d.SetModalResult(mrAbort);  // the keys went nowhere
  });
  EXPECT_EQ(d.RunModalLoop(), mrCancel) << "Escape closes the dialog";
  EXPECT_EQ(focus, (std::vector<HWND>{field, d.chkCaseSensitive->Handle(), d.btnSearch->Handle(), field}));
  EXPECT_EQ(listed, 0) << "Space cancelled the second search";
}

TEST_F(OpenFastTest, ARunawaySearchIsReportedLikeABadPatternAndStops) {
  const std::string content = testsupport::RunawayText();
  folder.Write("runaway.txt", content);
  TContentMatcher matcher(testsupport::RunawayPattern, TFindInFilesOptions{false, false, true});
  try {
    matcher.FoundIn(content);
    FAIL() << "the search should have run out of steps";
  } catch (const ERegex& error) {
    EXPECT_EQ(error.ErrorCode(), RegexStepLimitError);
  }
  Dialog().chkUseRegExpr->SetChecked(true);
  testsupport::ExpectRunawayReport("Regul\xE4rer Ausdruck");
  EXPECT_TRUE(Find("runaway.txt", testsupport::RunawayPattern).empty());
  EXPECT_EQ(testsupport::AskedQuestions().size(), 1u);
  EXPECT_FALSE(Dialog().Running());

  Dialog().chkUseRegExpr->SetChecked(false);
  ASSERT_EQ(Find("runaway.txt", " "), Names{"runaway.txt"});
  Dialog().chkUseRegExpr->SetChecked(true);
  Dialog().cmbSearch->SetText(testsupport::RunawayPattern);
  std::string text;
  testsupport::ExpectRunawayReport("Regul\xE4rer Ausdruck");
  ExpectBox("Ersetzen in Dateien", IDOK, &text);
  Dialog().btnReplaceClick(nullptr);
  EXPECT_EQ(folder.Read("runaway.txt"), content);
  EXPECT_NE(text.find(folder.File("runaway.txt")), std::string::npos) << text;
}

TEST_F(OpenFastTest, AStepThatThrowsStillEndsTheRun) {
  // Each match referred to 3,000 times: the new content would need gigabytes.
  const std::string content(size_t(1) << 20, 'a');
  folder.Write("huge.txt", content);
  TfrmOpenFast& d = Dialog();
  ASSERT_EQ(Find("huge.txt", " "), Names{"huge.txt"});
  d.chkUseRegExpr->SetChecked(true);
  d.cmbSearch->SetText("a+");
  std::string replacement;
  for (int i = 0; i < 3000; ++i) replacement += "$0";
  d.cmbReplace->SetText(replacement);
  // The window's own guard shows the failure.
  testsupport::QueueAnswer(ModalAnswer{IDOK}, [](const ModalQuestion& q) {
    EXPECT_EQ(q.kind, ModalKind::MessageBox);
    EXPECT_EQ(q.flags, UINT(MB_OK | MB_ICONERROR));
  });
  SendMessageA(d.btnReplace->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(testsupport::PendingAnswers(), 0u) << "the failure was not shown";
  EXPECT_EQ(folder.Read("huge.txt"), content);
  EXPECT_FALSE(d.Running());
  EXPECT_EQ(d.btnReplace->Caption(), "Ersetzen");
  for (TWinControl* control :
       std::initializer_list<TWinControl*>{d.btnOpen, d.btnCancel, d.cmbMask, d.cmbReplace})
    EXPECT_TRUE(control->Enabled()) << control->Name();
  // The button replaces again instead of cancelling, and the dialog may close.
  ExpectBox("Ersetzen in Dateien");
  d.cmbReplace->SetText("b");
  SendMessageA(d.btnReplace->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(folder.Read("huge.txt"), "b");
  bool canClose = false;
  d.OnCloseQuery(&d, canClose);
  EXPECT_TRUE(canClose);
}

TEST(ListMatchingFiles, AFolderLinkedBackUpIsWalkedOnce) {
  testsupport::TempFolder folder;
  folder.Write("a.txt", "");
  CreateDirectoryA(folder.File("s").c_str(), nullptr);
  const std::string link = folder.File("s\\up");
  if (!CreateSymbolicLinkA(link.c_str(), folder.Path().c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY))
    GTEST_SKIP() << "no folder links here";
  const Names files = ListMatchingFiles(folder.Path(), "*.txt", true);
  RemoveDirectoryA(link.c_str());
  EXPECT_EQ(files, Names{folder.File("a.txt")});
}

TEST_F(OpenFastTest, OptionsExcludeEachOtherAndMultiLineCarriesTheTexts) {
  TfrmOpenFast& d = Dialog();
  EXPECT_EQ(d.pcSR->ActivePage(), d.tabSearch);
  EXPECT_FALSE(d.btnReplace->Enabled()) << "nothing listed yet";
  SendMessageA(d.chkWholeWords->Handle(), BM_CLICK, 0, 0);
  EXPECT_FALSE(d.chkUseRegExpr->Enabled());
  SendMessageA(d.chkWholeWords->Handle(), BM_CLICK, 0, 0);
  SendMessageA(d.chkUseRegExpr->Handle(), BM_CLICK, 0, 0);
  EXPECT_FALSE(d.chkWholeWords->Enabled());
  EXPECT_TRUE(d.chkUseRegExpr->Enabled());
  d.cmbSearch->SetText("one");
  d.cmbReplace->SetText("two");
  SendMessageA(d.chkMultiLine->Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(d.txtSearch->Visible());
  EXPECT_FALSE(d.cmbSearch->Visible());
  EXPECT_EQ(d.txtSearch->Text(), "one");
  EXPECT_EQ(d.txtReplace->Text(), "two");
  d.txtSearch->SetText("first\r\nsecond");
  d.txtReplace->SetText("\r\nx");
  SendMessageA(d.chkMultiLine->Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(d.cmbSearch->Visible());
  EXPECT_EQ(d.cmbSearch->Text(), "first");
  EXPECT_EQ(d.cmbReplace->Text(), "");
}

TEST_F(OpenFastTest, MultiLineSearchFindsTextAcrossLineBreaks) {
  folder.Write("two.txt", "end of one\r\nstart of two");
  TfrmOpenFast& d = Dialog();
  d.chkMultiLine->SetChecked(true);
  d.txtSearch->SetText("one\r\nstart");
  EXPECT_EQ(Find("*.txt", "ignored"), Names{"two.txt"});
  EXPECT_TRUE(Settings.OpenFast.MultiLine);
  EXPECT_EQ(Settings.OpenFast.SearchMRU.Count(), 0) << "memo texts stay out of the history";
}

TEST_F(OpenFastTest, FolderButtonsAndHistoryKeys) {
  TfrmOpenFast& d = Dialog();
  char current[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, current);
  d.btnActFolder->Click();
  EXPECT_EQ(d.cmbDir->Text(), current);
  folder.Write(std::wstring(L"\u03A9\\a.txt"), "");
  CreateDirectoryA(folder.File("O").c_str(), nullptr);
  SetCurrentDirectoryW((AnsiToWide(folder.Path()) + L"\u03A9").c_str());
  d.btnActFolder->Click();
  SetCurrentDirectoryA(current);
  EXPECT_EQ(d.cmbDir->Text(), "") << "not its look-alike";
  ModalAnswer chosen{IDOK, folder.Path()};
  testsupport::QueueAnswer(chosen, [](const ModalQuestion& q) {
    EXPECT_EQ(q.kind, ModalKind::FolderDialog);
  });
  d.btnDirSel->Click();
  EXPECT_EQ(AddBackslash(d.cmbDir->Text()), folder.Path());
  d.cmbMask->AddItem("*.a");
  d.cmbMask->AddItem("*.b");
  d.cmbMask->SetItemIndex(0);
  SetKeyStateOverride([](int Key) { return Key == VK_SHIFT; });
  SendMessageA(d.cmbMask->EditHandle(), WM_KEYDOWN, VK_DELETE, 0);
  SetKeyStateOverride(nullptr);
  ASSERT_EQ(d.cmbMask->Count(), 1);
  EXPECT_EQ(d.cmbMask->Items(0), "*.b");
}

namespace {
using OpenFastCommandTest = documentstest::DocumentWindowTest;
}

TEST_F(OpenFastCommandTest, TheFileMenuOpensTheSelectedOrEveryFoundFile) {
  folder.Write("a.txt", "x");
  folder.Write("b.txt", "x");
  folder.Write("c.log", "x");
  auto search = [this](TfrmOpenFast& d) {
    d.cmbMask->SetText("*.txt");
    d.cmbDir->SetText(folder.Path());
    d.cmbSearch->SetText("");
    d.btnSearchClick(nullptr);
  };
  testsupport::QueueFormAnswer([&](TForm& Form) {
    auto& d = dynamic_cast<TfrmOpenFast&>(Form);
    search(d);
    EXPECT_EQ(d.lstFiles->Count(), 2);
    d.lstFiles->Items(1)->SetSelected(true);
    d.btnOpen->Click();
    return d.ModalResult();
  });
  frmMain->Find<TMenuItem>("mnuFileOpenFast")->Click();
  ASSERT_EQ(TabCount(), 1);
  const std::string picked = Frame(0)->DocInfo.FileName;
  CloseAllDocuments(false);
  testsupport::QueueFormAnswer([&](TForm& Form) {
    auto& d = dynamic_cast<TfrmOpenFast&>(Form);
    search(d);
    d.btnOpenAll->Click();
    return d.ModalResult();
  });
  frmMain->Find<TMenuItem>("mnuFileOpenFast")->Click();
  EXPECT_EQ(TabCount(), 2);
  testsupport::QueueFormAnswer([](TForm&) { return int(mrCancel); });
  frmMain->Find<TMenuItem>("mnuFileOpenFast")->Click();
  EXPECT_EQ(TabCount(), 2);
  EXPECT_TRUE(picked == folder.File("a.txt") || picked == folder.File("b.txt")) << picked;
}

TEST_F(OpenFastTest, AFileInUseStaysListedAndFilesWithoutAHitAreStillProcessed) {
  HANDLE locked = CreateFileA(folder.File("last.txt").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  EXPECT_EQ(Find("*.txt", "start"), (Names{"first.txt", "last.txt"})) << "it may hold the text";
  TfrmOpenFast& d = Dialog();
  d.cmbSearch->SetText("needle");
  d.cmbReplace->SetText("pin");
  std::string text;
  ExpectBox("Ersetzen in Dateien", IDOK, &text);
  d.btnReplaceClick(nullptr);
  CloseHandle(locked);
  EXPECT_EQ(text.rfind("Es wurden 1 Dateien verarbeitet.", 0), 0u) << text;
  EXPECT_NE(text.find(folder.File("last.txt")), std::string::npos) << text;
  EXPECT_EQ(folder.Read("last.txt"), "the end holds the needle");
  EXPECT_EQ(folder.Read("first.txt"), "pin at the start");

  Find("*.txt", " ");
  d.cmbSearch->SetText("absent");
  ExpectBox("Ersetzen in Dateien", IDOK, &text);
  d.btnReplaceClick(nullptr);
  EXPECT_EQ(text, "Es wurden 4 Dateien verarbeitet.") << "every listed file is rewritten";
}
