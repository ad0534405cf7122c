// Small images in the rows of a list view, from an image list the list view does not own.
#include "dialogs/ListViewImages.h"
#include <shellapi.h>
#include "toolkit/ListView.h"

void ShareSmallImages(TListView& List, HIMAGELIST Images) {
  HWND wnd = List.Handle();
  SetWindowLongPtrA(wnd, GWL_STYLE, GetWindowLongPtrA(wnd, GWL_STYLE) | LVS_SHAREIMAGELISTS);
  SendMessageA(wnd, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(Images));
}

void SetRowImage(TListView& List, int Row, int Image) {
  LVITEMA item = {};
  item.mask = LVIF_IMAGE;
  item.iItem = Row;
  item.iImage = Image;
  SendMessageA(List.Handle(), LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

int RowImage(const TListView& List, int Row) {
  LVITEMA item = {};
  item.mask = LVIF_IMAGE;
  item.iItem = Row;
  if (!SendMessageA(List.Handle(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return -1;
  return item.iImage;
}

int ShellSmallIconIndex(const std::string& FileName) {
  SHFILEINFOA info = {};
  if (!SHGetFileInfoA(FileName.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON))
    return -1;
  return info.iIcon;
}
