// The file watcher: its pure rules (folder, first record), a real file changed by another
// process under a bounded message pump, and the main window's reload question, asked when the
// file differs from what the document last knew of it.
#include <gtest/gtest.h>
#include <windows.h>
#include <cstring>
#include <functional>
#include <string>
#include <vector>
#include "documents/clsFileWatch.h"
#include "support/DocumentsTestFixture.h"
#include "toolkit/Application.h"
#include "toolkit/StatusBar.h"
#include "toolkit/Timer.h"

namespace documentstest {
namespace {

using testsupport::AskedQuestions;
using testsupport::QueueAnswer;

// Appends Text to the file from a separate process, as another program would.
void AppendFromOtherProcess(const std::string& FileName, const std::string& Text) {
  std::string command = "cmd.exe /c echo " + Text + ">>\"" + FileName + "\"";
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                             nullptr, nullptr, &si, &pi));
  WaitForSingleObject(pi.hProcess, 10000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
}

void Pump(DWORD Ms, const std::function<bool()>& Done = [] { return false; }) {
  Application().ProcessMessagesUntil(Done, Ms);
}

// A change record as the system writes it into the buffer.
std::vector<char> Record(const std::wstring& Name, DWORD Next = 0) {
  std::vector<char> buffer(offsetof(FILE_NOTIFY_INFORMATION, FileName) + Name.size() * 2 + 8);
  auto* r = reinterpret_cast<FILE_NOTIFY_INFORMATION*>(buffer.data());
  r->NextEntryOffset = Next;
  r->Action = FILE_ACTION_MODIFIED;
  r->FileNameLength = static_cast<DWORD>(Name.size() * 2);
  std::memcpy(r->FileName, Name.data(), Name.size() * 2);
  return buffer;
}

TEST(FileWatcherRules, FolderOfAFileKeepsTheBackslashOfADriveRoot) {
  EXPECT_EQ(WatchedFolderOf("C:\\a.txt"), "C:\\");
  EXPECT_EQ(WatchedFolderOf("C:\\dir\\a.txt"), "C:\\dir");
  EXPECT_EQ(WatchedFolderOf("C:\\dir\\sub\\a.txt"), "C:\\dir\\sub");
  EXPECT_EQ(WatchedFolderOf("\\\\server\\share\\a.txt"), "\\\\server\\share");
}

TEST(FileWatcherRules, OnlyTheFirstWholeRecordIsRead) {
  const DWORD head = offsetof(FILE_NOTIFY_INFORMATION, FileName);
  std::vector<char> one = Record(L"a.txt");
  EXPECT_EQ(FirstChangedName(one.data(), static_cast<DWORD>(one.size())), "a.txt");
  EXPECT_EQ(FirstChangedName(one.data(), head + 10), "a.txt");  // exactly the name's end
  EXPECT_EQ(FirstChangedName(one.data(), head + 9), "");        // one byte short
  EXPECT_EQ(FirstChangedName(one.data(), 0), "");               // a lost batch
  EXPECT_EQ(FirstChangedName(one.data(), head - 1), "");
  std::vector<char> umlaut = Record(L"\x00E4.txt");
  EXPECT_EQ(FirstChangedName(umlaut.data(), static_cast<DWORD>(umlaut.size())), "\xE4.txt");
  // No best-fit: a character without its own code does not become a look-alike.
  std::vector<char> macron = Record(L"\x0101.txt");
  EXPECT_EQ(FirstChangedName(macron.data(), static_cast<DWORD>(macron.size())), "?.txt");
  std::vector<char> empty = Record(L"");
  EXPECT_EQ(FirstChangedName(empty.data(), static_cast<DWORD>(empty.size())), "");
}

class FileWatcherTest : public DocumentWindowTest {
protected:
  std::vector<int> notices;
  TFileChangeHandler Recorder() {
    return [this](int Tag) { notices.push_back(Tag); };
  }
};

TEST_F(FileWatcherTest, AChangeByAnotherProcessIsHandedToTheUserInterfaceThread) {
  folder.Write("w.txt", "one\r\n");
  folder.Write("other.txt", "x");
  const DWORD uiThread = GetCurrentThreadId();
  DWORD calledOn = 0;
  TFileWatcher watcher(folder.File("w.txt"), 4, [&](int Tag) {
    calledOn = GetCurrentThreadId();
    notices.push_back(Tag);
  });
  EXPECT_EQ(watcher.Thread().Dir() + "\\", folder.Path());
  AppendFromOtherProcess(folder.File("other.txt"), "y");
  Pump(700);
  EXPECT_TRUE(notices.empty());
  EXPECT_FALSE(watcher.Thread().Changed());
  AppendFromOtherProcess(folder.File("w.txt"), "two");
  Pump(5000, [&] { return !notices.empty(); });
  ASSERT_FALSE(notices.empty());
  EXPECT_EQ(notices.front(), 4);
  EXPECT_EQ(calledOn, uiThread);
  EXPECT_TRUE(watcher.Thread().Changed());
  EXPECT_TRUE(watcher.Thread().Running());
}

// The thread waits in its hand-over while the watcher is destroyed: the destruction must
// release it (not wait for ever) and the notice reaches nobody.
TEST_F(FileWatcherTest, DestroyingReleasesANoticeThatIsWaitingToBeHandedOver) {
  folder.Write("w.txt", "x");
  auto watcher = std::make_unique<TFileWatcher>(folder.File("w.txt"), 9, Recorder());
  AppendFromOtherProcess(folder.File("w.txt"), "more");
  // No messages are served meanwhile: the thread waits in its hand-over.
  for (int i = 0; i < 200 && !watcher->Thread().Changed(); ++i) Sleep(50);
  EXPECT_TRUE(notices.empty());
  ASSERT_TRUE(watcher->Thread().Changed());
  const DWORD start = GetTickCount();
  watcher.reset();
  EXPECT_LT(GetTickCount() - start, 1000u);
  EXPECT_TRUE(notices.empty());
}

TEST_F(FileWatcherTest, AFailingReactionIsShownAndTheFileStaysWatched) {
  folder.Write("w.txt", "x");
  int calls = 0;
  TFileWatcher watcher(folder.File("w.txt"), 3, [&](int) {
    if (++calls == 1) throw Exception("Reaktion gescheitert");
  });
  QueueAnswer(ModalAnswer{IDOK}, [](const ModalQuestion& q) {
    EXPECT_EQ(q.text, "Reaktion gescheitert");
    EXPECT_TRUE(q.flags & MB_ICONERROR);
  });
  AppendFromOtherProcess(folder.File("w.txt"), "a");
  Pump(5000, [&] { return calls >= 1; });
  EXPECT_EQ(AskedQuestions().size(), 1u) << "the error box";
  const int before = calls;
  AppendFromOtherProcess(folder.File("w.txt"), "b");
  Pump(5000, [&] { return calls > before; });
  EXPECT_GT(calls, before) << "the next change still comes";
  EXPECT_TRUE(watcher.Thread().Running());
}

// ---- The main window's reaction -----------------------------------------------------------

TEST_F(FileWatcherTest, OutsideChangeAsksToReloadAndOwnSaveIsIgnored) {
  Settings.General.ChangeNotify = true;
  TfraEdit* frame = OpenWith("doc.txt", "first\r\n");
  ASSERT_NE(frame->FileWatcher, nullptr);
  Open("");  // another document is active when the notice comes
  const std::string name = folder.File("doc.txt");

  QueueAnswer({IDNO}, [&](const ModalQuestion& q) {
    EXPECT_EQ(q.caption, "Datei wurde ge\xE4ndert");
    EXPECT_EQ(q.text, "Die Datei \"" + name + "\" wurde ge\xE4ndert.\r\nM\xF6" "chten Sie diese Datei "
                      "neu laden und die \xC4nderungen in Tarvoline verwerfen?");
    EXPECT_EQ(q.flags, UINT(MB_ICONQUESTION | MB_YESNO | MB_DEFBUTTON2));
  });
  AppendFromOtherProcess(name, "second");
  Pump(5000, [] { return !AskedQuestions().empty(); });
  ASSERT_EQ(AskedQuestions().size(), 1u);
  EXPECT_EQ(GetActiveFrame(), frame);
  EXPECT_EQ(frame->seEdit->Text(), "first\r\n");

  QueueAnswer(IDYES);
  AppendFromOtherProcess(name, "third");
  Pump(5000, [] { return AskedQuestions().size() == 2; });
  ASSERT_EQ(AskedQuestions().size(), 2u);
  EXPECT_EQ(frame->seEdit->Text(), "first\r\nsecond\r\nthird\r\n");

  // The program's own save: no question while the ignore period lasts.
  frame->seEdit->CommandProcessor(ecChar, '!', nullptr);
  ASSERT_TRUE(SaveDocument(FrameTabIndex(frame)));
  Pump(1500);
  EXPECT_EQ(AskedQuestions().size(), 2u);
  EXPECT_TRUE(frame->DocInfo.IgnoreChangeNotify);
  EXPECT_EQ(frame->tmrChangeNotify->Interval(), 3000u);
  EXPECT_TRUE(frame->tmrChangeNotify->Enabled());
  // The period ends with the timer; then outside changes count again.
  frame->tmrChangeNotifyTimer(nullptr);
  Settings.General.ChangeNotifyAutoReload = true;
  Settings.General.ChangeNotifyCursorAtEnd = true;
  AppendFromOtherProcess(name, "fourth");
  Pump(5000, [&] { return frame->seEdit->Text().find("fourth") != std::string::npos; });
  EXPECT_EQ(AskedQuestions().size(), 2u);
  std::string onDisk = folder.Read("doc.txt");
  EXPECT_EQ(onDisk.substr(0, 6), "!first");
  EXPECT_EQ(onDisk.substr(onDisk.size() - 8), "fourth\r\n");
  EXPECT_EQ(frame->seEdit->Text(), onDisk);
  const int lines = frame->seEdit->Lines().Count();
  EXPECT_EQ(frame->seEdit->CaretXY().Line, lines);
  EXPECT_EQ(frame->seEdit->CaretX(), int(frame->seEdit->Lines()[lines - 1].size()) + 1);
}

// Sets the file's last-write time, as a program that writes in several calls may leave it.
void SetWriteTime(const std::string& FileName, uint64_t Time) {
  HANDLE file = CreateFileA(FileName.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  FILETIME time = {static_cast<DWORD>(Time), static_cast<DWORD>(Time >> 32)};
  SetFileTime(file, nullptr, nullptr, &time);
  CloseHandle(file);
}

TEST_F(FileWatcherTest, ANoticeAsksOnlyWhenTheFileDiffersFromWhatTheDocumentLastKnew) {
  Settings.General.ChangeNotify = false;  // notices are given by hand here
  TfraEdit* frame = OpenWith("doc.txt", "first\r\n");
  const std::string name = folder.File("doc.txt");
  Settings.General.ChangeNotify = true;
  const uint64_t loaded = FileStampOf(name).LastWrite;
  const uint64_t second = 10000000;
  struct Step {
    const char* what;
    std::function<void()> change;
    bool asks;
  } steps[] = {
      {"nothing changed since loading", [] {}, false},
      {"a new write time", [&] { SetWriteTime(name, loaded + 2 * second); }, true},
      {"the same state again", [] {}, false},
      {"more bytes, the old time",
       [&] {
         folder.Write("doc.txt", "first\r\nsecond\r\n");
         SetWriteTime(name, loaded + 2 * second);
       },
       true},
      {"saved by the program",
       [&] {
         frame->seEdit->CommandProcessor(ecChar, '!', nullptr);
         ASSERT_TRUE(SaveDocument(FrameTabIndex(frame)));
         frame->tmrChangeNotifyTimer(nullptr);  // the ignore period is over
       },
       false},
  };
  size_t asked = 0;
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.change();
    if (step.asks) QueueAnswer(IDNO);
    frmMain->FileChangeNotify(frame->Tag());
    if (step.asks) ++asked;
    EXPECT_EQ(AskedQuestions().size(), asked);
  }
}

TEST_F(FileWatcherTest, EveryOutsideChangeAsksOnce) {
  Settings.General.ChangeNotify = true;
  TfraEdit* frame = OpenWith("doc.txt", "0\r\n");
  ASSERT_NE(frame->FileWatcher, nullptr);
  const std::string name = folder.File("doc.txt");
  for (size_t i = 1; i <= 3; ++i) {
    QueueAnswer(IDNO);
    AppendFromOtherProcess(name, "line" + std::to_string(i));
    Pump(5000, [&] { return AskedQuestions().size() == i; });
    ASSERT_EQ(AskedQuestions().size(), i) << "change " << i;
  }
  EXPECT_EQ(frame->seEdit->Text(), "0\r\n");
}

TEST_F(FileWatcherTest, NoticesWaitForAnOpenQuestionAndRespectTheSetting) {
  Settings.General.ChangeNotify = true;
  TfraEdit* frame = OpenWith("doc.txt", "a");
  const std::string name = folder.File("doc.txt");
  // A question of the window is open: the notice waits until it closes.
  EnableWindow(frmMain->Handle(), FALSE);
  AppendFromOtherProcess(name, "b");
  Pump(1500);
  EXPECT_TRUE(AskedQuestions().empty());
  QueueAnswer(IDNO);
  EnableWindow(frmMain->Handle(), TRUE);
  Pump(3000, [] { return !AskedQuestions().empty(); });
  EXPECT_EQ(AskedQuestions().size(), 1u);

  // Switched off while the watcher runs: no more questions.
  Settings.General.ChangeNotify = false;
  frmMain->FileChangeNotify(frame->Tag());
  EXPECT_EQ(AskedQuestions().size(), 1u);
  Settings.General.ChangeNotify = true;
  frame->DocInfo.IgnoreChangeNotify = true;
  frmMain->FileChangeNotify(frame->Tag());
  frmMain->FileChangeNotify(frame->Tag() + 1);  // no such document
  EXPECT_EQ(AskedQuestions().size(), 1u);
}

TEST_F(FileWatcherTest, ClosingADocumentEndsItsWatcherPromptly) {
  Settings.General.ChangeNotify = true;
  OpenWith("doc.txt", "a");
  Pump(100);
  const DWORD start = GetTickCount();
  CloseDocument();
  EXPECT_EQ(TabCount(), 0);
  EXPECT_LT(GetTickCount() - start, 1000u);
  // A change after the close reaches nobody.
  AppendFromOtherProcess(folder.File("doc.txt"), "b");
  Pump(700);
  EXPECT_TRUE(AskedQuestions().empty());
}

TEST_F(FileWatcherTest, OnlyOpenedFilesInAFolderThatCanBeOpenedAreWatched) {
  EXPECT_THROW(TFileWatcher(folder.File("missing\\x.txt"), 1, Recorder()), EFileWatcher);
  Settings.General.ChangeNotify = true;
  TfraEdit* untitled = Open("");
  EXPECT_EQ(untitled->FileWatcher, nullptr);
  WatchDocumentFile(*untitled, folder.File("missing\\x.txt"));
  EXPECT_EQ(untitled->FileWatcher, nullptr);
  Settings.General.ChangeNotify = false;
  EXPECT_EQ(OpenWith("off.txt", "x")->FileWatcher, nullptr);
}

// A reload puts a new text into a frame that already shows: afterwards every status panel
// shows the document as it is now, not as it was while its text was being replaced.
TEST_F(FileWatcherTest, AfterAReloadEveryStatusPanelShowsTheNewDocument) {
  struct Case {
    const char* how;
    bool autoReload;
  } cases[] = {{"answered Ja", false}, {"reloaded without asking", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    Settings.General.ChangeNotify = false;  // notices are given by hand here
    TfraEdit* frame = OpenWith("doc.txt", std::string(68, 'a') + "\r\n");  // 70 bytes
    const std::string name = folder.File("doc.txt");
    frame->seEdit->SetCaretXY({12, 1});
    frame->seEdit->SetInsertMode(false);
    Settings.General.ChangeNotify = true;
    Settings.General.ChangeNotifyAutoReload = c.autoReload;
    folder.Write("doc.txt", "neu\r\nzweite Zeile\r\n");
    if (!c.autoReload) QueueAnswer(IDYES);
    frmMain->FileChangeNotify(frame->Tag());
    ASSERT_EQ(frame->seEdit->Text(), "neu\r\nzweite Zeile\r\n");

    const TBufferCoord caret = frame->seEdit->CaretXY();
    const std::string position = "Ze " + std::to_string(caret.Line) + ", Sp " + std::to_string(caret.Char) +
                                 ", Pos " + std::to_string(frame->seEdit->RowColToCharIndex(caret) + 1) +
                                 " (Mark 0)";
    EXPECT_EQ(frmMain->StatusBar->PanelText(0), position);
    EXPECT_EQ(frmMain->StatusBar->PanelText(1), "INS");
    EXPECT_EQ(frmMain->StatusBar->PanelText(2), "19 Byte");
    EXPECT_EQ(frmMain->StatusBar->PanelText(3), name);
    ASSERT_TRUE(CloseAllDocuments(false));
  }
}

// A reload is the program's own: a UTF-8 file comes back as UTF-8 whatever keys are held, so
// what is typed next is saved in the file's encoding.
TEST_F(FileWatcherTest, AReloadReadsTheByteOrderMark) {
  Settings.General.ChangeNotify = false;
  TfraEdit* frame = OpenWith("utf8.txt", "\xEF\xBB\xBF" "alt\r\n");
  Settings.General.ChangeNotify = true;
  Settings.General.ChangeNotifyAutoReload = true;
  folder.Write("utf8.txt", "\xEF\xBB\xBF" "Gr\xC3\xBC\xC3\x9F\r\n");
  frmMain->FileChangeNotify(frame->Tag());
  EXPECT_EQ(frame->seEdit->Text(), "Gr\xFC\xDF\r\n");
  EXPECT_EQ(frame->DocInfo.FileFormat, ffUtf8);
  ASSERT_TRUE(CloseAllDocuments(false));
}

}  // namespace
}  // namespace documentstest
