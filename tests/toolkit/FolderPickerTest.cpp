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
#include "support/WhenShown.h"
#include "toolkit/FolderDialog.h"

TEST(FolderPicker, RefusesAFolderNameTheCodePageCannotHold) {
  testsupport::TempFolder files;
  files.Write(std::wstring(L"\u03A9dir\\a.txt"), "a");
  CreateDirectoryA(files.File("Odir").c_str(), nullptr);
  const std::wstring folder = AnsiToWide(files.Path()) + L"\u03A9dir";
  testsupport::QueueRealDialog();
  testsupport::QueueAnswer(ModalAnswer{IDOK}, [&](const ModalQuestion& q) {
    EXPECT_EQ(q.caption, "Ungeeigneter Name");
    EXPECT_NE(q.text.find("\r\n" + files.File("?dir")), std::string::npos) << q.text;
  });
  // The picker may show before its tree can select a path: select until the tree shows it.
  auto selected = [folder](HWND W) {
    char cls[16] = {};
    GetClassNameA(W, cls, sizeof cls);
    if (lstrcmpA(cls, "#32770") != 0) return false;
    SendMessageW(W, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
    const HWND tree = FindWindowExW(W, nullptr, L"SysTreeView32", nullptr);
    wchar_t text[MAX_PATH] = L"";
    TVITEMW item = {};
    item.mask = TVIF_TEXT;
    item.hItem = TreeView_GetSelection(tree);
    item.pszText = text;
    item.cchTextMax = MAX_PATH;
    return item.hItem && SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) &&
           std::wstring(text) == L"\u03A9dir";
  };
  testsupport::TWhenShown pick(selected,
                               [](HWND W) { PostMessageA(W, WM_COMMAND, IDOK, 0); });
  EXPECT_EQ(ExecuteFolderDialog(nullptr, "Ordner", false), "");
  EXPECT_EQ(testsupport::PendingAnswers(), 0u) << "the refusal was shown";
}
