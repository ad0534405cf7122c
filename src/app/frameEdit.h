// One document's frame on its tab page: the editor, the document's record and its timers.
#pragma once
#include <memory>
#include <string>
#include "app/fMain.h"
#include "editor/CodeEdit.h"
#include "editor/CodeEditHighlighter.h"
#include "highlighters/CodeUniversalHighlighter.h"
#include "toolkit/Frame.h"

class TLabel;
class TMenuItem;
class TPanel;
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
  // Set while the program writes the file itself, and while the document is being closed:
  // the watcher's notices are dropped then.
  bool IgnoreChangeNotify = false;
};

class TfraEdit : public TFrame {
public:
  // Parent is the tab page the frame fills.
  TfraEdit(TComponent* Owner, TWinControl* Parent);
  ~TfraEdit() override;

  TCodeEdit* seEdit = nullptr;
  TPanel* pnlColor = nullptr;  // the colour preview, hidden until a colour code is pointed at
  TPanel* shpColor = nullptr;
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

  // The text changed (also called when the file or line-break format is chosen): the
  // document counts as modified.
  void seEditChange(TObject* Sender);
  void tmrChangeNotifyTimer(TObject* Sender);

private:
  void BuildEditor();
  void BuildColorPreview();
  void BuildPopupMenu();
};
