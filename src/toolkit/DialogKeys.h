// How the keyboard moves between the controls of a form: Tab and Shift+Tab in reading order,
// the arrow keys within a group of radio buttons, and Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PgDn and
// Ctrl+PgUp between the pages of a page control. In a field of several lines Ctrl+Tab types a
// tab instead. Enter presses the push button that has the focus.
#pragma once
#include <windows.h>

class TWinControl;

// The control that takes the focus first inside Container: the first field in reading order, a
// page control's tab strip only when there is no field; nullptr when nothing takes the focus.
HWND FirstTabStop(HWND Container);
// The first control after Control in Tab order inside Area that takes the focus now (Control
// itself may not); nullptr when none does.
HWND TabStopAfter(HWND Area, HWND Control);

// Whether the message a control is asked about in WM_GETDLGCODE (its lParam, which may be
// none) is a press of Key: a control takes that one key from the dialog, not all of them.
bool AsksAboutKeyDown(LPARAM DlgCodeMessage, WPARAM Key);

// Whether Ctrl+Tab (with Shift too), pressed in Focus, types a tab: Focus is a field of
// several lines that the user types into. A window's own use of that key comes second.
bool TypesTabWithCtrl(HWND Focus);

// Handles a navigation key typed inside Area (a form, or a part of one). InDialog: Area is a
// dialog, whose Ctrl keys change pages. Shift and Ctrl are read through the key-state seam.
// True when taken.
bool HandleNavigationKey(HWND Area, const MSG& Msg, bool InDialog);

// In a form that takes no dialog keys, Tab and the arrows of radio groups move between the
// controls inside Container as they do in a dialog; the window's other keys stay its own.
void MakeTabArea(TWinControl& Container);
// The tab area that holds Wnd; nullptr for none.
HWND TabAreaOf(HWND Wnd);
