// Free routines the editor, highlighters, printing and export share.
#pragma once
#include <string>

// Tab expansion: each tab becomes tab characters (code 9) up to the next multiple of the
// tab width, so one character is one display column; widths below 2 turn a tab into one blank.
// Texts without a tab come back unchanged.
using TCodeTabExpanderProc = std::string (*)(const std::string& Line, int TabWidth);
// The same, also telling whether the line held a tab.
using TCodeTabExpanderProcEx = std::string (*)(const std::string& Line, int TabWidth, bool& HasTabs);
TCodeTabExpanderProc GetTabExpanderProc(int TabWidth);
TCodeTabExpanderProcEx GetTabExpanderProcEx(int TabWidth);
