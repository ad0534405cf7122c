#include "toolkit/FolderDialog.h"
#include <objbase.h>
#include <shlobj.h>
#include "toolkit/ComScope.h"
#include "toolkit/Dialogs.h"

namespace {
std::string RunFolderPicker(HWND Owner, const std::string& Title, bool NewStyle) {
  TComScope com;
  char display[MAX_PATH] = "";
  BROWSEINFOA bi = {};
  bi.hwndOwner = Owner;
  bi.pszDisplayName = display;
  bi.lpszTitle = Title.c_str();
  bi.ulFlags = BIF_RETURNONLYFSDIRS | (NewStyle ? BIF_USENEWUI | BIF_STATUSTEXT : 0);
  PIDLIST_ABSOLUTE pidl = SHBrowseForFolderA(&bi);
  if (!pidl) return {};
  char path[MAX_PATH] = "";
  bool ok = SHGetPathFromIDListA(pidl, path) != FALSE;
  CoTaskMemFree(pidl);
  return ok ? std::string(path) : std::string();
}
}  // namespace

std::string ExecuteFolderDialog(HWND Owner, const std::string& Title, bool NewStyle) {
  ModalQuestion q{.kind = ModalKind::FolderDialog, .text = Title, .caption = Title};
  if (auto a = AskModalSeam(q)) return a->result == IDOK ? a->value : std::string();
  return RunFolderPicker(Owner, Title, NewStyle);
}
