// The open documents: numbering, access through the tab pages, keeping caption, tab, menus and
// status bar in step with the active document, file types, the reopen list, opening, saving
// and closing.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>
#include "documents/ContentRules.h"
#include "documents/fHlpMain.h"
#include "documents/fMain.h"
#include "rtl/Classes.h"
#include "rtl/StringList.h"

class TCodeCustomHighlighter;
class TCodeEdit;
class TTabSheet;
class TfraEdit;

// ---- Document numbers ---------------------------------------------------------------------

// Entry i holds i while document number i+1 is in use, -1 while it is free.
extern std::vector<int32_t> DocumentNumbers;
// The lowest free number, marked as used.
int NewDocumentNumber();
// Marks Number free again; a number the array never reached is ignored.
void FreeDocumentNumber(int Number);

// ---- Access (nullptr when there is no such document) --------------------------------------

TfraEdit* GetActiveFrame();
TCodeEdit* GetActiveEditor();
// Index: a tab index; any negative value means the active page.
TfraEdit* GetFrame(int Index);
// Index: -1 for the active page or 0 .. page count - 1; anything else gives nullptr.
TfraEdit* GetFrameChecked(int Index);
// The frame with this document number; the last in tab order when several match.
TfraEdit* FindFrameByTag(int Tag);
// The tab index of the frame's page; -1 when it is not on the page control.
int FrameTabIndex(const TfraEdit* Frame);

// ---- Keeping the window in step -----------------------------------------------------------

// Replaces the active editor's selection by Prefix + Text + Suffix in one undo block and
// selects Text. Text of the one character code 0 stands for the current selection.
void InsertText(const std::string& Prefix, const std::string& Text, const std::string& Suffix);
void UpdateCaption();
void UpdateMenuState();
void UpdateTabImage(TfraEdit* Frame);
// -2 refreshes the tool-button image only, -1 goes back to the format read; other codes are
// stored and count as a change of the document.
void SetFileFormat(TFileFormat Code);
void SetLineBreakFormat(TLineBreakFormat Code);
void SetHighlighter(TCodeCustomHighlighter* Highlighter);
// The tab caption of a title: shortened in the middle to MaxTabCaptionLen, "&" doubled.
std::string TabCaptionOf(const std::string& Title);

// ---- Lists --------------------------------------------------------------------------------

void BuildOpenDocList();
// FileName to the top of List (an equal entry, case ignored, moves), at most MaxCount lines.
void AddToOpenMRU(TStrings& List, const std::string& FileName, int MaxCount);
void UpdateReopenMenu();
// What a click on a reopen item runs, set by the main window; until then nothing.
extern TNotifyEvent ReopenItemClick;

// ---- File types ---------------------------------------------------------------------------

// "name|masks|name|masks..." of every row of Settings.FileTypes.
std::string GetOpenDialogFilter();
// The first row that has the mask "*" + Ext (whole masks, case ignored); -1 when none.
int FindFileTypeIndex(const std::string& Ext);
// The default extension (".ext", lower case) of the first row having the mask "*" + Pattern
// without its leading "*"; "." for a row without one; Pattern without "*" when no row has it.
std::string GetFileTypeByExt(const std::string& Pattern);
// The shell's wild-card match of a file name ("*" any run, "?" one character), case ignored.
bool MatchesFileMask(const std::string& Name, const std::string& Mask);

// ---- Opening ------------------------------------------------------------------------------

// Content rules, one per line (see MatchContentRules); loaded at start-up.
extern TStringList FileTypeContents;

// The file size in whole MB as the size warning compares it: halves go to the even number.
int64_t RoundedMegabytes(int64_t Bytes);

// A plug-in's read or write hook as the plug-in manager hands it over. Read: 0 means it
// supplied Text and both formats. Write: 0 means it saved the file, -1 asks the next one, any
// other answer lets the built-in writer save. An exception counts as "ask the next one".
using TFileReadHook = std::function<int(const std::wstring& FileName, std::wstring& Text,
                                        int32_t& LineBreakFormat, int32_t& FileFormat)>;
using TFileWriteHook = std::function<int(const std::wstring& FileName, std::wstring& Text,
                                         int32_t& LineBreakFormat, int32_t& FileFormat)>;
// The hooks of the loaded plug-ins, in the plug-in manager's order.
extern std::vector<TFileReadHook> FileReadHooks;
extern std::vector<TFileWriteHook> FileWriteHooks;

// Opens FileName in a new tab (empty: a new untitled document), activates the tab already
// showing it, or reloads it into ReloadFrame. The tab page, or nullptr when nothing was opened.
// A failed reload keeps the document as it was. The byte-order mark is read only while Ctrl is
// held: the user chooses.
TTabSheet* OpenFile(const std::string& FileName, bool ReadOnly = false,
                    TfraEdit* ReloadFrame = nullptr);
// Opens FileName as OpenFile does, for a document the program opens again by itself (a
// session, the last documents, a reload after a change on disk): its byte-order mark is read
// as with Ctrl held, so a document read as UTF-8 comes back as UTF-8.
TTabSheet* ReopenFile(const std::string& FileName, bool ReadOnly = false,
                      TfraEdit* ReloadFrame = nullptr);

// While one exists, the notice that an opened file holds characters the code page lacks is
// kept back, and the end of the outermost says it once for every such file: one box for an
// action that opens several files. Every other message of an open still shows at once.
class TOpenNotices {
public:
  TOpenNotices();
  ~TOpenNotices();
  TOpenNotices(const TOpenNotices&) = delete;
  TOpenNotices& operator=(const TOpenNotices&) = delete;
};

// MatchContentRules over FileTypeContents and the frame's text.
std::string GetHighlighterByContent(TfraEdit& Frame);
// The highlighter for a file name or content-rule name; the URI highlighter when no type
// names another (nullptr while the main window has none).
TCodeCustomHighlighter* GetFileTypeHighlighter(const std::string& Name, TfraEdit& Frame);

// ---- Saving and closing -------------------------------------------------------------------

// Index: a tab index, -1 for the active document. True when saved or nothing needed saving.
bool SaveDocument(int Index);
bool SaveDocumentAs(int Index);
// The extension Save As gives a name without one for the chosen filter row (from 1); empty
// when the row's type has none.
std::string SaveAsDefaultExtension(const std::string& Filter, int FilterIndex);
// False when the user abandons the save (also after a failed copy the user did not accept).
bool CreateBackup(const std::string& FileName);
// False when the user cancels.
bool QuerySaveDocument(int Index);
void CloseDocument();
// True when every document concerned was closed.
bool CloseAllDocuments(bool ButCurrent);
