// Sizing the program's dialogs (a modal form that does not place itself opens centred over
// the window it was opened from).
#pragma once
#include <windows.h>

// The window size for a client area of Width x Height with the given styles.
SIZE DialogWindowSize(int Width, int Height, DWORD Style, DWORD ExStyle);
