#include "toolkit/FolderDialog.h"
#include <objbase.h>
#include <shlobj.h>
#include "rtl/SysUtils.h"
#include "toolkit/ComScope.h"
#include "toolkit/Dialogs.h"

namespace {
std::string RunFolderPicker(HWND Owner, const std::string& Title, bool NewStyle) {
  TComScope com;
  const std::wstring title = AnsiToWide(Title);
  wchar_t display[MAX_PATH] = L"";
  BROWSEINFOW bi = {};
  bi.hwndOwner = Owner;
  bi.pszDisplayName = display;
  bi.lpszTitle = title.c_str();
  bi.ulFlags = BIF_RETURNONLYFSDIRS | (NewStyle ? BIF_USENEWUI | BIF_STATUSTEXT : 0);
  PIDLIST_ABSOLUTE pidl = SHBrowseForFolderW(&bi);
  if (!pidl) return {};
  wchar_t path[MAX_PATH] = L"";
  bool ok = SHGetPathFromIDListW(pidl, path) != FALSE;
  CoTaskMemFree(pidl);
  if (!ok) return {};
  std::string folder;
  if (WideToAnsiExact(path, folder)) return folder;
  ReportRefusedNames({folder});
  return {};
}
}  // namespace

std::string ExecuteFolderDialog(HWND Owner, const std::string& Title, bool NewStyle) {
  ModalQuestion q{.kind = ModalKind::FolderDialog, .text = Title, .caption = Title};
  if (auto a = AskModalSeam(q)) return a->result == IDOK ? a->value : std::string();
  return RunFolderPicker(Owner, Title, NewStyle);
}
