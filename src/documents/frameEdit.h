// One document's frame on its tab page: the editor, the document's record and its timers.
#pragma once
#include <memory>
#include <optional>
#include <functional>
#include <string>
#include <vector>
#include "documents/clsFileWatch.h"
#include "documents/fMain.h"
#include "editor/CodeEdit.h"
#include "editor/CodeEditHighlighter.h"
#include "highlighters/CodeUniversalHighlighter.h"
#include "toolkit/Frame.h"
#include "toolkit/Panels.h"

class TLabel;
class TMenuItem;
class TPopupMenu;
class TTimer;
class TCodeURIOpener;

struct TDocumentInfo {
  std::string FileName;  // full path; empty for an untitled document
  std::string Title;     // the file's name without folder, or "Unbenannt<n>"
  bool Modified = false;
  TLineBreakFormat OrgLineBreakFormat = lbfWindows;  // as read
  TLineBreakFormat LineBreakFormat = lbfWindows;     // for saving
  TFileFormat OrgFileFormat = ffAnsi;
  TFileFormat FileFormat = ffAnsi;
  bool ReplaceHtmlNamedChars = false;
  // Read with "?" for characters the code page lacks; a save asks before it writes them, until
  // one has.
  bool HasStandIns = false;
  // Set while the program writes the file itself, and while the document is being closed:
  // the watcher's notices are dropped then.
  bool IgnoreChangeNotify = false;
  // The file as it was last loaded, saved or asked about: a notice asks only when it differs.
  TFileStamp DiskStamp;
};

// The colour preview's swatch: a panel filled with one colour.
class TColorShape : public TPanel {
public:
  using TPanel::TPanel;
  TColor Color() const { return color_; }
  void SetColor(TColor Value);

protected:
  LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

private:
  TColor color_ = clWhite;
};

class TfraEdit : public TFrame {
public:
  // Parent is the tab page the frame fills.
  TfraEdit(TComponent* Owner, TWinControl* Parent);
  ~TfraEdit() override;

  TCodeEdit* seEdit = nullptr;
  TPanel* pnlColor = nullptr;  // the colour preview, hidden until a colour code is pointed at
  TColorShape* shpColor = nullptr;
  TLabel* lblColorWebSave = nullptr;
  TPopupMenu* pmnuEdit = nullptr;
  TMenuItem* pmnuEditUndo = nullptr;
  TMenuItem* pmnuEditRedo = nullptr;
  TMenuItem* pmnuEditCut = nullptr;
  TMenuItem* pmnuEditCutAndAttach = nullptr;
  TMenuItem* pmnuEditCopy = nullptr;
  TMenuItem* pmnuEditCopyAndAttach = nullptr;
  TMenuItem* pmnuEditPaste = nullptr;
  TMenuItem* pmnuEditSelectAll = nullptr;
  TTimer* tmrChangeNotify = nullptr;  // ends the period in which change notices are ignored
  TTimer* tmrTripleClick = nullptr;

  TDocumentInfo DocInfo;
  // The frame's own rule-file highlighter, loaded when the document's file type names a
  // rule file.
  std::unique_ptr<TCodeUniversalHighlighter> HlUni;
  // Ctrl+click on an address in seEdit opens it; its highlighter is the window's HlURI.
  TCodeURIOpener* CodeURIOpener = nullptr;
  // The document's file watcher; none while the document is not watched.
  std::unique_ptr<TObject> FileWatcher;

  // The clock of the triple click (milliseconds, wrapping); tests put in their own.
  std::function<DWORD()> TickCount = [] { return GetTickCount(); };

  // The text changed (also called when the file or line-break format is chosen): the
  // document counts as modified.
  void seEditChange(TObject* Sender);
  void seEditEnter(TObject* Sender);
  // Brings the status bar, caption and tool buttons up to date with the editor.
  void seEditStatusChange(TObject* Sender, TCodeStatusChanges Changes);
  // The editor's whole text was replaced (loaded, reloaded, set by a plug-in). The editor
  // reports such a change while the text is still empty: the status bar follows it only now.
  void TextReplaced();
  // Insert hot keys and text templates; Key becomes 0 when one was used.
  void seEditKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
  // Closing brackets, HTML entities and the OEM code page; Key 0 drops the character.
  void seEditKeyPress(TObject* Sender, char& Key);
  void seEditKeyUp(TObject* Sender, WORD& Key, TShiftState Shift);
  void seEditMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void seEditDblClick(TObject* Sender);
  void seEditClick(TObject* Sender);
  void seEditMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void tmrTripleClickTimer(TObject* Sender);
  void seEditPaintTransient(TObject* Sender, HDC Canvas, TTransientType TransientType);
  void tmrChangeNotifyTimer(TObject* Sender);
  void pmnuEditPopup(TObject* Sender);
  void pmnuEditUndoClick(TObject* Sender);
  void pmnuEditRedoClick(TObject* Sender);
  void pmnuEditCutClick(TObject* Sender);
  void pmnuEditCopyClick(TObject* Sender);
  void pmnuEditPasteClick(TObject* Sender);
  void pmnuEditSelectAllClick(TObject* Sender);
  void pmnuEditCutAndAttachClick(TObject* Sender);
  void pmnuEditCopyAndAttachClick(TObject* Sender);

private:
  void BuildEditor();
  void ConnectEditorEvents();
  void BuildColorPreview();
  void BuildPopupMenu();
  bool RunInsertHotKey(TShortCut Key);
  void ShowColorPreview(TColor Color, int X, int Y);
  // Shows the preview when the word at the buffer position is a colour code; else hides it.
  void PreviewColorAt(const TBufferCoord& Pos, int X, int Y);
  void PaintBracket(HDC Canvas, const TBufferCoord& Pos, char Bracket, TTransientType Type,
                    bool OtherLine);

  // The triple click: the tick of the last double click, the deadline of the third click
  // and the caret at the double click.
  std::optional<DWORD> dblClickTick_;
  std::optional<DWORD> tripleClickDeadline_;
  TBufferCoord dblClickCaret_ = {1, 1};
  POINT lastMouse_ = {0, 0};
};

// Commands of the layers above that a frame offers (its pop-up menu, its template key); the
// main window sets them when it is made, and one left empty does nothing.
struct TFrameCommands {
  std::function<void(TCustomCodeEdit*)> OnCopyAndAttach;
  std::function<void(TCustomCodeEdit*)> OnCutAndAttach;
  std::function<void(TfraEdit&)> OnTemplateKey;
};
extern TFrameCommands FrameCommands;

// The size the status bar shows: the text with each line break as the format writes it
// (LF or CR one byte, CR LF two, CR CR LF three). An empty document has 0.
int64_t DocumentSize(int64_t CrLfLength, int LineCount, TLineBreakFormat Format);
// Fills a status-bar template of "%d" and "%.0n" (number with thousands separators) fields.
// A template whose fields differ from those of Default in kind or order is replaced by Default.
std::string FormatStatusText(const std::string& Template, const std::string& Default,
                             const std::vector<int64_t>& Values);
