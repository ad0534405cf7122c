// Sizing and placing the program's dialogs.
#pragma once
#include <windows.h>

class TForm;

// The window size for a client area of Width x Height with the given styles.
SIZE DialogWindowSize(int Width, int Height, DWORD Style, DWORD ExStyle);
// Moves the form to the middle of the main window (of the work area when there is none).
void CenterOnMainWindow(TForm& Form);
