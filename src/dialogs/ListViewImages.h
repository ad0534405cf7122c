// Small images in the rows of a list view, from an image list the list view does not own.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <string>

class TListView;

// Shows Images as the rows' small images; the list view leaves the image list alone when it goes.
void ShareSmallImages(TListView& List, HIMAGELIST Images);
void SetRowImage(TListView& List, int Row, int Image);
// The image of a row; -1 when it has none.
int RowImage(const TListView& List, int Row);
// The index of the shell's small icon for a file in the system's icon list; -1 when unknown.
int ShellSmallIconIndex(const std::string& FileName);
