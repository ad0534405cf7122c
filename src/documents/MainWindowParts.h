// The main window as the documents, commands and dialogs see it: the components they work
// with, showing the active document, and work that must wait for open questions. The main
// window derives from it and builds the components.
#pragma once
#include <deque>
#include <functional>
#include <string>
#include "toolkit/Form.h"

class TComboBox;
class TEdit;
class TImageList;
class TLabel;
class TListView;
class TMainMenu;
class TPageControl;
class TPanel;
class TPopupMenu;
class TSplitter;
class TStatusBar;
class TToolBar;
class TTimer;
class TTreeView;
class TCodeCustomHighlighter;
class TCodeExporterHTML;
class TCodeExporterRTF;
class TCodeEditPrint;

class TMainWindowParts : public TForm {
public:
  TMainWindowParts(TComponent* Owner, const CreateArgs& Args);

  // The named component (menu item, tool button, panel, ...), nullptr when none or not a T.
  // Searches the window's own components, then what they own (pages of the page controls).
  template <class T>
  T* Find(const std::string& Name) const {
    return dynamic_cast<T*>(FindNamed(this, Name));
  }
  static TComponent* FindNamed(const TComponent* Root, const std::string& Name);

  // Switching tabs refreshes the caption, the menu state and every status panel from the
  // newly active document, whose editor takes the keyboard focus.
  void TabSheetShow(TObject* Sender);
  // Brings the document of tab Index to the front as a tab switch does, but the keyboard focus
  // stays where it is (in a results list the arrow keys move through).
  void ShowDocumentKeepingFocus(int Index);
  // Runs Work now, or, while a modal question owned by this window is open, as soon as the
  // last one has closed (in the order postponed). Hand-overs, drops and the file watcher's
  // notices wait so.
  void RunWhenNoModal(std::function<void()> Work);
  // True while a modal question owned by this window is open.
  bool ModalQuestionOpen() const;
  // True while work from outside must wait: a question is open or postponed work waits.
  bool MustPostpone() const;
  // Runs Work once the messages waiting now have been handled (at once while the window has no
  // handle): for work that need not hold up what the user waits for.
  void RunAfterPendingMessages(std::function<void()> Work);
  // A watched file changed outside: ask whether to reload the document numbered Tag.
  void FileChangeNotify(int Tag);
  // The system's small icons (external programs), fetched when first asked for: fetching them
  // is a noticeable part of the start.
  TImageList* AppIcons();

  // The components other units use by name.
  TMainMenu* mnuMain = nullptr;
  TToolBar* tbMain = nullptr;
  TPageControl* pcEdit = nullptr;
  TStatusBar* StatusBar = nullptr;
  TImageList* ImgList = nullptr;      // the main glyph strip
  TPopupMenu* pmnuToolbarOpen = nullptr;
  TPopupMenu* pmnuTabs = nullptr;
  TPopupMenu* pmnuBottom = nullptr;
  TPanel* pnlLeft = nullptr;
  TSplitter* splitterLeft = nullptr;
  TPageControl* pcBottom = nullptr;
  TSplitter* splitterBottom = nullptr;
  TEdit* txtIncSearch = nullptr;
  TComboBox* cmbSearch = nullptr;
  TComboBox* cmbReplace = nullptr;
  TEdit* txtSearch = nullptr;
  TEdit* txtReplace = nullptr;
  TComboBox* cmbSnipFiles = nullptr;
  TTreeView* tvSnips = nullptr;
  TImageList* ilSnips = nullptr;
  TListView* lvResults = nullptr;
  TLabel* lblResultState = nullptr;
  // The formatted copies of the Edit menu.
  TCodeExporterRTF* CodeExporterRTF = nullptr;
  TCodeExporterHTML* CodeExporterHTML = nullptr;
  // The print job of the print commands and the preview, and the plain one of unformatted
  // printing, which keeps its own default margins.
  TCodeEditPrint* sepPrint = nullptr;
  TCodeEditPrint* sepPringUnFormatted = nullptr;

  // Highlighters shared by every document, owned by the window.
  TCodeCustomHighlighter* HlURI = nullptr;
  TCodeCustomHighlighter* HlWebMixed = nullptr;
  TCodeCustomHighlighter* HlHTML = nullptr;
  TCodeCustomHighlighter* HlPHP = nullptr;
  TCodeCustomHighlighter* HlCSS = nullptr;
  TCodeCustomHighlighter* HlJS = nullptr;
  TCodeCustomHighlighter* HlVBS = nullptr;

protected:
  LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

private:
  void RunPostponed();

  std::deque<std::function<void()>> postponed_;
  std::deque<std::function<void()>> afterPending_;
  bool drainingPostponed_ = false;
  bool keepFocus_ = false;  // a tab switch leaves the focus alone
  TTimer* tmrPostponed_ = nullptr;
  TImageList* appIcons_ = nullptr;
};

// The main window; nullptr before it is made and after it is gone.
extern TMainWindowParts* frmMain;
