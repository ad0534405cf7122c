// The real folder picker, driven as a person would: a folder name the ANSI code page cannot
// hold is refused by name, never taken as the look-alike the system makes of it. (The file
// dialogs are driven so in the running program: tests/e2e.)
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>
#include <string>
#include "rtl/SysUtils.h"
#include "support/ModalAnswers.h"
#include "support/TempFolder.h"
#include "support/ToolkitTextNames.h"
#include "support/WhenShown.h"
#include "toolkit/FolderDialog.h"

TEST(FolderPicker, RefusesAFolderNameTheCodePageCannotHold) {
  testsupport::TToolkitTextNames texts;
  testsupport::TempFolder files;
  files.Write(std::wstring(L"\u03A9dir\\a.txt"), "a");
  CreateDirectoryA(files.File("Odir").c_str(), nullptr);
  const std::wstring folder = AnsiToWide(files.Path()) + L"\u03A9dir";
  testsupport::QueueRealDialog();
  testsupport::QueueAnswer(ModalAnswer{IDOK}, [&](const ModalQuestion& q) {
    EXPECT_EQ(q.caption, "NameRefusedTitle");
    EXPECT_NE(q.text.find("\r\n" + files.File("?dir")), std::string::npos) << q.text;
  });
  auto isPicker = [](HWND W) {
    char cls[16] = {};
    GetClassNameA(W, cls, sizeof cls);
    return lstrcmpA(cls, "#32770") == 0;
  };
  testsupport::TWhenShown pick(isPicker, [folder](HWND W) {
    SendMessageW(W, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
    PostMessageA(W, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(ExecuteFolderDialog(nullptr, "Ordner", false), "");
  EXPECT_EQ(testsupport::PendingAnswers(), 0u) << "the refusal was shown";
}
