// The main window: its components and menus (built from one command table) and its lifecycle.
#pragma once
#include <windows.h>
#include <shellapi.h>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include "documents/MainWindowParts.h"
#include "documents/formMainTable.h"
#include "toolkit/ShortCut.h"

class TTabSheet;
class TImageList;
class TMenuItem;
class TTimer;
class TTreeNode;
class TStringList;
class TfrmSplash;
class TfrmSpecChars;
class TEditBackground;

// The private message by which a second instance hands its arguments over: wParam is the
// length of the text, lParam a global atom whose name is the text.
constexpr UINT WM_OPENCOMMANDLINE = WM_USER + 101;

class TfrmMain : public TMainWindowParts {
public:
  // Builds every component and nothing else: no settings are read, nothing is opened.
  explicit TfrmMain(TComponent* Owner);
  ~TfrmMain() override;

  // The lifecycle, called by the main block in this order.
  void FormCreate();
  void FormShow();
  bool FormCloseQuery();  // the CanClose answer
  void FormClose();
  void TranslateForm();
  // The tab keys; the key is never consumed. True when a tab key was recognised.
  bool FormKeyDown(WORD Key, TShiftState Shift);
  // Escape closes the window or hides the bottom panel; Key becomes 0 when consumed.
  void FormKeyPress(char& Key);
  // Keys typed in the window reach FormKeyDown, FormKeyF6 and FormKeyPress before the focused
  // control, from creation until the window is destroyed.
  void InstallKeyPreview();
  // F6 moves the focus from the editor to the bottom panel's page and back. False, and the key
  // left to others, while the panel is hidden or a menu or editor command has the key.
  bool FormKeyF6();

  // Hand-over from a second instance and files dropped from the shell. Both, and the file
  // watcher's change notices, wait while a modal question is open (see RunWhenNoModal).
  void WMOpenCommandLine(WPARAM wParam, LPARAM lParam);
  void WMDropFiles(HDROP Drop);

  // File menu and tab commands.
  void mnuFileNewDocClick(TObject* Sender);
  void mnuFileOpenClick(TObject* Sender);
  void mnuFileSaveClick(TObject* Sender);
  void mnuFileSaveAsClick(TObject* Sender);
  void mnuFileSaveAllClick(TObject* Sender);
  void mnuFileCloseClick(TObject* Sender);
  void mnuFileCloseAllClick(TObject* Sender);
  void mnuFileCloseAllButCurrentClick(TObject* Sender);
  void mnuFileExitClick(TObject* Sender);
  void mnuFileReOpenDocsClick(TObject* Sender);
  void mnuFileClick(TObject* Sender);
  void mnuFileNewClick(TObject* Sender);
  void mnuFileNewDocItemClick(TObject* Sender);
  void mnuFileReloadClick(TObject* Sender);
  void mnuFileFileFormatClick(TObject* Sender);
  void mnuFileLineBreakFormatClick(TObject* Sender);
  void mnuFileExportClick(TObject* Sender);
  void mnuFileSessionOpenClick(TObject* Sender);
  void mnuFileSessionSaveAsClick(TObject* Sender);
  void pcEditMouseDown(TObject* Sender, int Button, TShiftState Shift, int X, int Y);
  void pcEditMouseUp(TObject* Sender, int Button, TShiftState Shift, int X, int Y);
  void pcEditDragOver(TObject* Sender, TObject* Source, int X, int Y, bool& Accept);
  void pcEditDragDrop(TObject* Sender, TObject* Source, int X, int Y);
  void pmnuTabsPopup(TObject* Sender);
  void pmnuTabsReadOnlyClick(TObject* Sender);
  void pmnuTabsCopyFullPathClick(TObject* Sender);
  void pmnuTabsCopyFileNameClick(TObject* Sender);
  void pmnuTabsCopyFilePathClick(TObject* Sender);
  void mnuFilePrintSetupClick(TObject* Sender);
  void mnuFilePrintPreviewClick(TObject* Sender);
  void mnuFilePrintClick(TObject* Sender);
  void mnuFilePrintUnFormattedClick(TObject* Sender);

  // Insert menu and the snippets panel (formMainInsert.cpp).
  void mnuInsertClick(TObject* Sender);
  void mnuInsertDateAndTimeClick(TObject* Sender);
  void mnuInsertDateClick(TObject* Sender);
  void mnuInsertTimeClick(TObject* Sender);
  void mnuInsertGUIDClick(TObject* Sender);
  void mnuInsertFilePathClick(TObject* Sender);
  void mnuInsertConsoleOutputClick(TObject* Sender);
  void mnuInsertClipboardLineBeginClick(TObject* Sender);
  void mnuInsertClipboardLineEndClick(TObject* Sender);
  void mnuInsertTemplatesItemsClick(TObject* Sender);
  void mnuInsertContentTemplatesClick(TObject* Sender);
  void mnuInsertContentTemplateClick(TObject* Sender);
  void mnuInsertContentTemplateItemClick(TObject* Sender);
  void mnuViewLeftPanelHideClick(TObject* Sender);
  void pmnuSnipsHideClick(TObject* Sender);
  void pnlLeftTopResize(TObject* Sender);
  void cmbSnipFilesChange(TObject* Sender);
  void tvSnipsDblClick(TObject* Sender);
  void tvSnipsKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
  void tvSnipsMouseDown(TObject* Sender, int Button, TShiftState Shift, int X, int Y);
  void tvSnipsMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void pmnuSnipsPopup(TObject* Sender);
  void pmnuSnipsExpandClick(TObject* Sender);
  void pmnuSnipsCollapseClick(TObject* Sender);
  void pmnuSnipsExpandAllClick(TObject* Sender);
  void pmnuSnipsCollapseAllClick(TObject* Sender);
  // A language of the language menu: loads its file and translates this window.
  void mnuLanguageItemClick(TObject* Sender);
  // Plugins menu, plug-ins dialog, template picker and reopen history
  // (formMainPlugins.cpp).
  void mnuPluginsClick(TObject* Sender);
  void mnuPluginsItemClick(TObject* Sender);
  void mnuExtrasPluginMgrClick(TObject* Sender);
  void mnuFileNewTemplatesClick(TObject* Sender);
  void mnuFileReOpenHistoryClick(TObject* Sender);
  // Unloads the plug-ins and frees the template and snippet stores before the components go.
  void FormDestroy();

  // Edit menu and navigation commands (formMainEdit.cpp).
  void mnuEditClick(TObject* Sender);
  void mnuEditUndoClick(TObject* Sender);
  void tbMainEditUndoClick(TObject* Sender);
  void mnuEditRedoClick(TObject* Sender);
  void tbMainEditRedoClick(TObject* Sender);
  void mnuEditCutClick(TObject* Sender);
  void mnuEditCopyClick(TObject* Sender);
  void mnuEditPasteClick(TObject* Sender);
  void mnuEditSelectAllClick(TObject* Sender);
  void mnuEditCopyAndAttachClick(TObject* Sender);
  void mnuEditCutAndAttachClick(TObject* Sender);
  void mnuEditPasteFromFileClick(TObject* Sender);
  void mnuEditCopyToFileClick(TObject* Sender);
  void mnuEditCopyFormatClick(TObject* Sender);
  void mnuEditCopyFormatRTFClick(TObject* Sender);
  void mnuEditCopyFormatHtmlDocClick(TObject* Sender);
  void mnuEditCopyFormatHtmlFragClick(TObject* Sender);
  void mnuEditCopyMemoryBankClick(TObject* Sender);
  void mnuEditPasteMemoryBankClick(TObject* Sender);
  void mnuEditSelModeClick(TObject* Sender);
  void mnuEditSelModeNormalClick(TObject* Sender);
  void mnuEditSelModeLineClick(TObject* Sender);
  void mnuEditSelModeColumnClick(TObject* Sender);
  void mnuEditGotoLineClick(TObject* Sender);
  void tbMainEditGotoLineClick(TObject* Sender);
  void mnuEditGotoPosClick(TObject* Sender);
  void mnuEditBookmarkSetItemClick(TObject* Sender);
  void mnuEditBookmarkGotoItemClick(TObject* Sender);
  void mnuEditBookmarkGotoNextClick(TObject* Sender);
  void mnuEditBookmarkGotoPrevClick(TObject* Sender);
  void mnuEditBookmarkRemoveAllClick(TObject* Sender);
  void mnuEditNextCursorPosClick(TObject* Sender);
  void mnuEditPrevCursorPosClick(TObject* Sender);
  void mnuSearchGotoMatchBrackClick(TObject* Sender);

  // Format menu commands (formMainFormat.cpp).
  void mnuFormatClick(TObject* Sender);
  void mnuFormatToUpperClick(TObject* Sender);
  void mnuFormatToLowerClick(TObject* Sender);
  void mnuFormatToUpperLowerSwapClick(TObject* Sender);
  void mnuFormatSpecialCharsToHtmlCodesClick(TObject* Sender);
  void mnuFormatSpecialCharsToHtmlUnicodesClick(TObject* Sender);
  void mnuFormatHtmlCodesUnicodesToSpecialCharsClick(TObject* Sender);
  void mnuFormatHtmlToTextClick(TObject* Sender);
  void mnuFormatHtmlEncodeClick(TObject* Sender);
  void mnuFormatHtmlDecodeClick(TObject* Sender);
  void mnuFormatComprWhitespacesClick(TObject* Sender);
  void mnuFormatANSItoANSIIClick(TObject* Sender);
  void mnuFormatASCIItoANSIClick(TObject* Sender);
  void mnuFormatANSItoUTF8Click(TObject* Sender);
  void mnuFormatUTF8toANSIClick(TObject* Sender);
  void mnuFormatToURLClick(TObject* Sender);
  void mnuFormatFromURLClick(TObject* Sender);
  void mnuFormatToQPClick(TObject* Sender);
  void mnuFormatFromQPClick(TObject* Sender);
  void mnuFormatToBase64Click(TObject* Sender);
  void mnuFormatFromBase64Click(TObject* Sender);
  void mnuFormatROT13Click(TObject* Sender);
  void mnuFormatTabsToSpacesClick(TObject* Sender);
  void mnuFormatSpacesToTabsClick(TObject* Sender);
  void mnuFormatTrimTrailingSpacesClick(TObject* Sender);
  void mnuFormatLineWrapRightEdgeClick(TObject* Sender);
  void mnuFormatLineWrapRightEdgeNCharsClick(TObject* Sender);
  void mnuFormatSortAscClick(TObject* Sender);
  void mnuFormatSortDescClick(TObject* Sender);
  void mnuFormatParInClick(TObject* Sender);
  void mnuFormatParOutClick(TObject* Sender);
  void mnuFormatMoveLineUpClick(TObject* Sender);
  void mnuFormatMoveLineDownClick(TObject* Sender);
  void mnuFormatDelEmptyLinesClick(TObject* Sender);
  void mnuFormatDelDuplicateLinesClick(TObject* Sender);
  void mnuFormatDelLinesMatchClick(TObject* Sender);
  void mnuFormatDelLinesNotMatchClick(TObject* Sender);
  void mnuFormatDelLinesStartsClick(TObject* Sender);
  void mnuFormatDelLinesContainsClick(TObject* Sender);
  void mnuFormatDelLinesEndsClick(TObject* Sender);
  void mnuFormatDelLinesNotStartsClick(TObject* Sender);
  void mnuFormatDelLinesNotContainsClick(TObject* Sender);
  void mnuFormatDelLinesNotEndsClick(TObject* Sender);
  void mnuFormatFillSelectionClick(TObject* Sender);
  void mnuFormatConnectLinesClick(TObject* Sender);
  void mnuFormatReplaceHtmlNamedCharsClick(TObject* Sender);
  void tbMainFormatReplaceHtmlNamedCharsClick(TObject* Sender);

  // Search menu, search panel, results list and incremental search (formMainSearch.cpp).
  void mnuEditSearchClick(TObject* Sender);
  void tbMainEditSearchClick(TObject* Sender);
  void mnuEditDocSearchClick(TObject* Sender);
  void mnuEditSearchNextClick(TObject* Sender);
  void mnuEditSearchPrevClick(TObject* Sender);
  void mnuSearchIncremtalSearchClick(TObject* Sender);
  void btnSearchClick(TObject* Sender);
  void btnReplaceSelClick(TObject* Sender);
  void btnReplaceAllClick(TObject* Sender);
  void chkSearchMultiLineClick(TObject* Sender);
  // Enables the options that count with the others, shows the fields of the mode.
  void UpdateSearchOptions();
  void tabSearchResize(TObject* Sender);
  void lvResultsClick(TObject* Sender);
  void lvResultsChange(TObject* Sender);
  void pmnuBottomHideClick(TObject* Sender);
  void pcBottomChange(TObject* Sender);
  void pmnuSREditPopup(TObject* Sender);
  void pmnuSREditCutClick(TObject* Sender);
  void pmnuSREditCopyClick(TObject* Sender);
  void pmnuSREditPasteClick(TObject* Sender);
  void txtIncSearchChange(TObject* Sender);
  void IncrementalSearch(bool Next, bool Backwards);

  // View menu (formMainView.cpp).
  void mnuViewClick(TObject* Sender);
  void mnuViewSyntaxClick(TObject* Sender);
  void mnuViewSyntaxNoneClick(TObject* Sender);
  void mnuViewSyntaxURIClick(TObject* Sender);
  void mnuViewSyntaxWebMixedClick(TObject* Sender);
  void mnuViewSyntaxHTMLClick(TObject* Sender);
  void mnuViewSyntaxPHPClick(TObject* Sender);
  void mnuViewSyntaxCSSClick(TObject* Sender);
  void mnuViewSyntaxJSClick(TObject* Sender);
  void mnuViewSyntaxVBSClick(TObject* Sender);
  void mnuViewSyntaxItemsClick(TObject* Sender);
  void mnuViewLineBreakClick(TObject* Sender);
  void tbMainViewLineBreakClick(TObject* Sender);
  void mnuViewSpecialCharsClick(TObject* Sender);
  void mnuViewReadOnlyClick(TObject* Sender);
  void mnuViewUseAsciiFontClick(TObject* Sender);
  void mnuViewFontZoomInClick(TObject* Sender);
  void mnuViewFontZoomOutClick(TObject* Sender);
  void mnuViewFontZoomNormalClick(TObject* Sender);
  void mnuViewCharPropClick(TObject* Sender);
  void mnuViewDocSearchHideClick(TObject* Sender);
  void mnuViewToolBarClick(TObject* Sender);
  void mnuViewStatusBarClick(TObject* Sender);
  void mnuViewStayOnTopClick(TObject* Sender);
  void tbMainViewStayOnTopClick(TObject* Sender);
  void mnuViewWindowListClick(TObject* Sender);
  // Extras and Help menus (formMainExtras.cpp, formMainHelp.cpp).
  void mnuExtrasClick(TObject* Sender);
  void mnuExtrasExecuteClick(TObject* Sender);
  void mnuExtrasAppItemsClick(TObject* Sender);
  void mnuExtrasDefAppClick(TObject* Sender);
  void mnuExtrasOpenFolderClick(TObject* Sender);
  void mnuExtrasHotKeySetupClick(TObject* Sender);
  void mnuExtrasSettingsClick(TObject* Sender);
  void mnuHelpHelpClick(TObject* Sender);
  void mnuHelpWebsiteClick(TObject* Sender);
  void mnuHelpEMailClick(TObject* Sender);
  void mnuHelpInfoClick(TObject* Sender);

  // The template files the New and content-template submenus list; items index them.
  std::unique_ptr<TStringList> DocTemplateFiles;
  std::unique_ptr<TStringList> ContentTemplateFiles;
  // The special-characters window, made when first asked for and then only hidden.
  TfrmSpecChars& SpecCharsWindow();

protected:
  LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;
  // Typing goes into the active document when no other control is remembered.
  HWND DefaultFocus() override;

private:
  void BuildMenus();
  void BuildToolBar();
  void ArrangeToolBar();
  void BuildPanels();
  void BuildSearchPanel();
  void BuildCharPropsPage(TTabSheet* Page);
  // The shared highlighters with the main window's colours (formMainHighlighters.cpp).
  void CreateHighlighters();
  void ConnectFileCommands();
  void ConnectInsertCommands();
  void BuildSnippetsPanel();
  void InsertSnippet(const TTreeNode* Node);
  void ConnectEditCommands();
  void ConnectFormatCommands();
  void ConnectPluginCommands();
  void ConnectSearchCommands();
  void ConnectViewCommands();
  void ConnectExtrasCommands();
  void ConnectHelpCommands();
  void ConnectToolsCommands();
  void mnuFileOpenFastClick(TObject* Sender);
  void mnuInsertSpecialCharsClick(TObject* Sender);
  void mnuFilePropertiesClick(TObject* Sender);
  void ConnectSearchPanelKeys();
  void OpenSearchPanel(bool AllDocuments);
  void HideBottomPanel();
  void LoadSearchHistories();
  void DisableUnbuiltCommands();
  void KeepUnbuiltDisabled(TMenuItem* Menu);
  void FillLanguageMenu();
  void RemoveKeyPreview();
  // The parts of a parsed command line (separated by code 1), empty parts left out.
  static std::vector<std::string> ParamParts(const std::string& Params);
  void OpenHandedOver(const std::string& Text);
  void OpenDropped(const std::vector<std::string>& Names);
  void ReopenLastDocuments();
  void OpenCommandLineFiles(const std::vector<std::string>& Args);
  // One argument of the start; false when the user cancelled the rest.
  bool OpenCommandLineFile(const std::string& Arg);
  bool CreateEmptyFile(const std::string& FileName);
  void SetSplashState(const std::string& Text);
  void FreeSplash();
  void ApplySearchSettings();
  void StoreSearchSettings();
  void MoveActiveTab(int Delta);
  void ChangeActiveTab(int Delta);

  std::unique_ptr<TfrmSplash> splash_;
  std::string handOverPending_;  // the pieces of a hand-over whose last piece is to come
  bool sessionEndAllowed_ = false;
  TEditBackground* incSearchBackground_ = nullptr;  // light red while nothing is found
  bool incSearchRefused_ = false;  // its text holds a character the ANSI code page lacks
  const TTreeNode* lastHintNode_ = nullptr;         // the snippet node hovered last
};

// The main window as its own class: frmMain seen from above.
inline TfrmMain* MainForm() { return static_cast<TfrmMain*>(frmMain); }
