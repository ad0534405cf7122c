// Prepares a print job from a document and the print settings.
#pragma once
#include <string>
#include "documents/fHlpMain.h"

class TCodeEditPrint;
class TCustomCodeEdit;
class TFont;

// What a print job is made from: a document's editor, its title (the tab caption) and its
// file name (empty for a new document).
struct TPrintDocument {
  const TCustomCodeEdit* Edit = nullptr;
  std::string Title;
  std::string FileName;
};

// Copies the document and Settings.Printer into Print: the text, font, highlighter and
// selection; the options and margins; header and footer (emptied, and filled when used).
// In header and footer texts $FILENAME$, $FILEPATH$ and $FULLPATH$ (any case) become the file
// name, its folder with a trailing backslash and the full name.
void SetupPrintJob(TCodeEditPrint& Print, const TPrintDocument& Document);

// The print commands: the print dialog (page numbers allowed), and on OK the job is set up
// and printed with the chosen pages and copies; false when cancelled or without a document.
// Unformatted takes only the editor (no header or footer, Settings.Editor.TabWidth) and keeps
// the component's own margins and options. Printer errors pass on.
bool PrintDocument(TCodeEditPrint& Print, const TPrintDocument& Document, bool Unformatted);

// The font of a header or footer record.
void FontFromDetail(const TFontDetail& Detail, TFont& Font);
void DetailFromFont(const TFont& Font, TFontDetail& Detail);
