// The real folder picker, driven as a person would: a folder name the ANSI code page cannot
// hold is refused by name, never taken as the look-alike the system makes of it. (The file
// dialogs are driven so in the running program: tests/e2e.)
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>
#include <commctrl.h>
#include <string>
#include "rtl/SysUtils.h"
#include "support/ModalAnswers.h"
#include "support/TempFolder.h"
#include "support/ToolkitTextNames.h"
#include "support/WhenShown.h"
#include "toolkit/FolderDialog.h"

TEST(FolderPicker, RefusesAFolderNameTheCodePageCannotHold) {
  testsupport::TToolkitTextNames texts;
  // Not in the temporary folder: the picker lists each folder on its way, and one that other
  // test programs fill and empty meanwhile may be listed without the folder wanted.
  testsupport::TempFolder files("C:\\");
  files.Write(std::wstring(L"\u03A9dir\\a.txt"), "a");
  CreateDirectoryA(files.File("Odir").c_str(), nullptr);
  const std::wstring folder = AnsiToWide(files.Path()) + L"\u03A9dir";
  testsupport::QueueRealDialog();
  testsupport::QueueAnswer(ModalAnswer{IDOK}, [&](const ModalQuestion& q) {
    EXPECT_EQ(q.caption, "NameRefusedTitle");
    EXPECT_NE(q.text.find("\r\n" + files.File("?dir")), std::string::npos) << q.text;
  });
  // Selected by its item list, and again until the tree shows it: the picker's reading of a
  // path, and a selection made as it first shows, fail now and then under load. After 5 s it
  // is taken as it stands, and the desktop chosen fails the test instead of waiting for ever.
  PIDLIST_ABSOLUTE item = ILCreateFromPathW(folder.c_str());
  ASSERT_NE(item, nullptr);
  int tries = 0;
  auto selected = [item, &tries](HWND W) {
    char cls[16] = {};
    GetClassNameA(W, cls, sizeof cls);
    if (lstrcmpA(cls, "#32770") != 0) return false;
    SendMessageW(W, BFFM_SETSELECTIONW, FALSE, reinterpret_cast<LPARAM>(item));
    const HWND tree = FindWindowExW(W, nullptr, L"SysTreeView32", nullptr);
    wchar_t text[MAX_PATH] = L"";
    TVITEMW shown = {};
    shown.mask = TVIF_TEXT;
    shown.hItem = TreeView_GetSelection(tree);
    shown.pszText = text;
    shown.cchTextMax = MAX_PATH;
    const bool done = shown.hItem &&
                      SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&shown)) &&
                      std::wstring(text) == L"\u03A9dir";
    return done || ++tries == 250;
  };
  testsupport::TWhenShown pick(selected, [](HWND W) { PostMessageA(W, WM_COMMAND, IDOK, 0); });
  EXPECT_EQ(ExecuteFolderDialog(nullptr, "Ordner", false), "");
  EXPECT_EQ(testsupport::PendingAnswers(), 0u) << "the refusal was shown";
  ILFree(item);
}
