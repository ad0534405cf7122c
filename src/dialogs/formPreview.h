// The print-preview window: the active document's print job page by page, with zoom,
// printing and the page setup.
#pragma once
#include <functional>
#include "commands/fHlpMainPrint.h"
#include "toolkit/Form.h"

class TButton;
class TCodeEditPrint;
class TCodeEditPrintPreview;
class TMenuItem;
class TPopupMenu;
class TStatusBar;
class TToolBar;
class TToolButton;

// The document the preview shows; Edit is nullptr when no document is active.
using TActiveDocumentFunc = std::function<TPrintDocument()>;

class TfrmPreview : public TForm {
public:
  // Print is the main window's print component; ActiveDocument names the document to show;
  // PrintCommand runs the main window's print command (print dialog, then print).
  TfrmPreview(TComponent* Owner, TCodeEditPrint& Print, TActiveDocumentFunc ActiveDocument,
              TNotifyEvent PrintCommand);

  void TranslateForm();
  // Applies the current settings to the job of the active document and paginates again.
  void RefreshPreview();

  // Handlers.
  void FormShow();
  void FormKeyDown(WORD Key);
  void sepPreviewPreviewPage(int PageNumber);
  void tbScaleClick();
  void pmnuScaleItemClick(TMenuItem& Item);
  void pmnuScalePopup();
  void sepPreviewMouseDown(int Button);
  void tbPrintClick();
  void tbPgSetupClick();

  TStatusBar* sbPreview;
  TToolBar* tbPreview;
  TToolButton* tbPrint;
  TToolButton* tbPgSetup;
  TToolButton* tbPageFirst;
  TToolButton* tbPagePrev;
  TToolButton* tbPageNext;
  TToolButton* tbPageLast;
  TToolButton* tbScale;
  TPopupMenu* pmnuScale;
  TMenuItem* pmnuScaleWhole;
  TMenuItem* pmnuScaleWidth;
  std::vector<TMenuItem*> pmnuScalePercent;  // pmnuScale25 ... pmnuScale300
  TButton* btnClose;
  TCodeEditPrintPreview* sepPreview;

private:
  TCodeEditPrint& sepPrint_;
  TActiveDocumentFunc activeDocument_;
  TNotifyEvent printCommand_;
};

// The main window's commands. Each sets up its own dialog, shows it modally and frees it.
// Print preview: SetupPrintJob for the active document, then the preview window.
void ShowPrintPreview(TCodeEditPrint& Print, TActiveDocumentFunc ActiveDocument,
                      TNotifyEvent PrintCommand);
// Page setup: the page-setup dialog; true when confirmed with OK.
bool ShowPageSetup();
