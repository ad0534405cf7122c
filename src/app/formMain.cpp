// The main window's construction and lifecycle.
#include "app/formMain.h"

TfrmMain* frmMain = nullptr;
