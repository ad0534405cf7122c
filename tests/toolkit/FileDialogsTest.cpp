// The real file dialogs and folder picker, driven as a person would: a name the ANSI code page
// cannot hold is refused by name, never taken as the look-alike the system makes of it.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>
#include <string>
#include <vector>
#include "rtl/SysUtils.h"
#include "support/ModalAnswers.h"
#include "support/TempFolder.h"
#include "support/WhenShown.h"
#include "toolkit/Dialogs.h"
#include "toolkit/FolderDialog.h"

namespace {

bool IsDialog(HWND Wnd) {
  char cls[16] = {};
  GetClassNameA(Wnd, cls, sizeof cls);
  return lstrcmpA(cls, "#32770") == 0;
}

// Types Name into the file dialog as it shows and presses OK.
testsupport::TWhenShown TypeFileName(const std::wstring& Name) {
  return testsupport::TWhenShown(IsDialog, [Name](HWND W) {
    for (int id : {0x47C, 0x480}) SetDlgItemTextW(W, id, Name.c_str());
    PostMessageA(W, WM_COMMAND, IDOK, 0);
  });
}

// Expects the refusal naming Shown and answers it.
void ExpectRefusalOf(const std::string& Shown) {
  ModalAnswer ok;
  ok.result = IDOK;
  testsupport::QueueAnswer(ok, [Shown](const ModalQuestion& q) {
    EXPECT_EQ(q.caption, "Ungeeigneter Name");
    EXPECT_NE(q.text.find("\r\n" + Shown), std::string::npos) << q.text;
    EXPECT_TRUE(q.flags & MB_ICONERROR);
  });
}

class WideNamesTest : public ::testing::Test {
protected:
  void SetUp() override {
    files.Write("Omega.txt", "omega-lateinisch");
    files.Write(std::wstring(L"\u03A9mega.txt"), "OMEGA-GRIECHISCH");
  }
  void TearDown() override {
    EXPECT_EQ(testsupport::PendingAnswers(), 0u) << "no refusal was shown";
    testsupport::ResetModalAnswers();
  }
  testsupport::TempFolder files;
};

}  // namespace

TEST_F(WideNamesTest, TheOpenDialogRefusesANameTheCodePageCannotHold) {
  testsupport::QueueRealDialog();
  ExpectRefusalOf(files.File("?mega.txt"));
  auto type = TypeFileName(L"\u03A9mega.txt");
  EXPECT_TRUE(ExecuteOpenDialog({.initialDir = files.Path()}).empty());
}

TEST_F(WideNamesTest, TheSaveDialogRefusesANameTheCodePageCannotHoldAndNoLookAlike) {
  files.Write("Sigma-neu.txt", "sigma");
  testsupport::QueueRealDialog();
  ExpectRefusalOf(files.File("?igma-neu.txt"));
  // No overwrite question: the typed name does not exist.
  auto type = TypeFileName(L"\u03A3igma-neu.txt");
  EXPECT_EQ(ExecuteSaveDialog({.initialDir = files.Path()}), "");
}

TEST_F(WideNamesTest, TheFolderPickerRefusesAFolderNameTheCodePageCannotHold) {
  files.Write(std::wstring(L"\u03A9dir\\a.txt"), "a");
  CreateDirectoryA(files.File("Odir").c_str(), nullptr);
  const std::wstring folder = AnsiToWide(files.Path()) + L"\u03A9dir";
  testsupport::QueueRealDialog();
  ExpectRefusalOf(files.File("?dir"));
  testsupport::TWhenShown pick(IsDialog, [folder](HWND W) {
    SendMessageW(W, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
    PostMessageA(W, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(ExecuteFolderDialog(nullptr, "Ordner", false), "");
}
