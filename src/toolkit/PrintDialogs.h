// The print, printer set-up, font and colour dialogs, asked through the modal seam.
// A test's answer carries its choice in ModalAnswer::numbers (and value for a font name).
#pragma once
#include <windows.h>
#include <vector>
#include "toolkit/Graphics.h"

struct TPrintDialogArgs {
  enum TRange { prAllPages = 0, prPageNums = 1, prSelection = 2 };
  int fromPage = 1, toPage = 1;
  int minPage = 1, maxPage = 1;
  int copies = 1;
  TRange range = prAllPages;
  bool selectionEnabled = false;
};
// True when confirmed; Args then hold the choice and Printer() the chosen printer.
// Seam answer numbers: {range, from page, to page, copies}.
bool ExecutePrintDialog(TPrintDialogArgs& Args);
// Chooses the printer and its settings for Printer(); true when confirmed. Seam: result only.
bool ExecutePrinterSetupDialog();
// Starts with Font; on OK it takes the chosen name, size, character set, colour and style.
// Seam answer: value = name, numbers {size, character set, colour, style bits (bold 1,
// italic 2, underline 4, strike-out 8)}.
bool ExecuteFontDialog(TFont& Font);
// Starts with Color; on OK it takes the chosen colour. CustomColors (16 entries when given)
// are shown and kept. Seam answer numbers: {colour}.
bool ExecuteColorDialog(TColor& Color, std::vector<COLORREF>* CustomColors = nullptr);
