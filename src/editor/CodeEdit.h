// The multi-line text editing control: buffer, undo, caret, selection, clipboard and commands.
// Every step that needs a window (drawing, caret, scroll bars) runs only while the window
// exists, so an unparented control executes every command headless.
#pragma once
#include <windows.h>
#include <bitset>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>
#include "editor/CodeEditKbdHandler.h"
#include "editor/CodeEditKeyCmds.h"
#include "editor/CodeEditMarks.h"
#include "editor/CodeEditWordWrap.h"
#include "editor/CodeEditMiscClasses.h"
#include "editor/CodeEditTextBuffer.h"
#include "editor/CodeEditTypes.h"
#include "editor/CodeTextDrawer.h"
#include "rtl/Exception.h"
#include "rtl/Set.h"
#include "toolkit/Graphics.h"
#include "toolkit/WinControl.h"

class TCodeCustomHighlighter;
class TCodeHighlighterAttributes;
class TCodeEditMark;

// Raised by the clipboard operations with their fixed texts.
class ECodeEditError : public Exception {
public:
  using Exception::Exception;
};

// The numbers are stored in undo items and clipboard data.
enum class TCodeSelectionMode : uint8_t { smNormal = 0, smLine = 1, smColumn = 2 };
enum class TCodeEditCaretType { ctVerticalLine, ctHorizontalLine, ctHalfBlock, ctBlock };
enum class TScrollHintFormat { shfTopLineOnly, shfTopToBottom };
enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum class TBorderStyle { bsNone, bsSingle };
enum class TScrollBarKind { sbHorizontal, sbVertical };
enum class TCodeReplaceAction { raCancel, raSkip, raReplace, raReplaceAll };
enum class TTransientType { ttBefore, ttAfter };
enum class TDragState { dsDragEnter, dsDragLeave, dsDragMove };

enum class TCodeStatusChange {
  scAll, scCaretX, scCaretY, scLeftChar, scTopLine, scInsertMode, scModified, scSelection,
  scReadOnly
};
using TCodeStatusChanges = TSet<TCodeStatusChange>;

// Bit 0 first; the order is fixed.
enum class TCodeEditorOption {
  eoAltSetsColumnMode, eoAutoIndent, eoAutoSizeMaxScrollWidth, eoDisableScrollArrows,
  eoDragDropEditing, eoDropFiles, eoEnhanceHomeKey, eoEnhanceEndKey, eoGroupUndo,
  eoHalfPageScroll, eoHideShowScrollbars, eoKeepCaretX, eoNoCaret, eoNoSelection,
  eoRightMouseMovesCursor, eoScrollByOneLess, eoScrollHintFollows, eoScrollPastEof,
  eoScrollPastEol, eoShowScrollHint, eoShowSpecialChars, eoSmartTabDelete, eoSmartTabs,
  eoSpecialLineDefaultFg, eoTabIndent, eoTabsToSpaces, eoTrimTrailingSpaces
};
using TCodeEditorOptions = TSet<TCodeEditorOption>;

inline constexpr TCodeEditorOptions CodeEditDefaultOptions = {
    TCodeEditorOption::eoAutoIndent,      TCodeEditorOption::eoDragDropEditing,
    TCodeEditorOption::eoEnhanceEndKey,   TCodeEditorOption::eoGroupUndo,
    TCodeEditorOption::eoScrollPastEol,   TCodeEditorOption::eoShowScrollHint,
    TCodeEditorOption::eoSmartTabDelete,  TCodeEditorOption::eoSmartTabs,
    TCodeEditorOption::eoTabsToSpaces};

class TCustomCodeEdit;

// Event types; the sender is always the control.
using TPlaceMarkEvent = std::function<void(TObject* Sender, TCodeEditMark*& Mark)>;
using TProcessCommandEvent =
    std::function<void(TObject* Sender, TCodeEditorCommand& Command, char& AChar, void* Data)>;
using TContextHelpEvent = std::function<void(TObject* Sender, const std::string& Word)>;
using TDropFilesEvent =
    std::function<void(TObject* Sender, int X, int Y, const std::vector<std::string>& AFiles)>;
using TGutterClickEvent = std::function<void(TObject* Sender, int Button, int X, int Y, int Line,
                                             TCodeEditMark* Mark)>;
using TGutterGetTextEvent = std::function<void(TObject* Sender, int ALine, std::string& AText)>;
using TGutterPaintEvent = std::function<void(TObject* Sender, int ALine, int X, int Y)>;
using TMouseCursorEvent =
    std::function<void(TObject* Sender, const TBufferCoord& ALineCharPos, HCURSOR& ACursor)>;
using TPaintEvent = std::function<void(TObject* Sender, HDC ACanvas)>;
using TReplaceTextEvent =
    std::function<void(TObject* Sender, const std::string& ASearch, const std::string& AReplace,
                       int Line, int Column, TCodeReplaceAction& Action)>;
using TScrollEvent = std::function<void(TObject* Sender, TScrollBarKind ScrollBar)>;
using TSpecialLineColorsEvent =
    std::function<void(TObject* Sender, int Line, bool& Special, TColor& FG, TColor& BG)>;
using TStatusChangeEvent = std::function<void(TObject* Sender, TCodeStatusChanges Changes)>;
using TPaintTransient =
    std::function<void(TObject* Sender, HDC Canvas, TTransientType TransientType)>;

// Called before (AfterProcessing false) and after each command; setting Handled cancels it.
using THookedCommandEvent =
    std::function<void(TObject* Sender, bool AfterProcessing, bool& Handled,
                       TCodeEditorCommand& Command, char& AChar, void* Data, void* HandlerData)>;

// Objects told of painting and of inserted and deleted lines (1-based first line).
class TCodeEditPlugin {
public:
  virtual ~TCodeEditPlugin() = default;
  virtual void AfterPaint(HDC ACanvas, const RECT& AClip, int FirstLine, int LastLine) = 0;
  virtual void LinesInserted(int FirstLine, int Count) = 0;
  virtual void LinesDeleted(int FirstLine, int Count) = 0;
};

// The clipboard format number of the editor's block data (mode byte, text, zero byte).
UINT CodeEditClipboardFormat();
// Reads the block format defensively: the block must hold a mode byte 0..2 and a terminating
// zero inside its size; anything else gives false.
bool DecodeCodeEditBlock(const std::string& Block, TCodeSelectionMode& Mode, std::string& Text);

// A search engine the owner may keep with a control; the program has no engine of its own.
class TCodeEditSearchCustom : public TComponent {
public:
  using TComponent::TComponent;
};

class TCustomCodeEdit : public TWinControl, public ICodeEditMarkHost, public ICodeWordWrapHost {
public:
  explicit TCustomCodeEdit(TComponent* AOwner);
  ~TCustomCodeEdit() override;
  // Loading from a form description: the streamed setters run between BeginLoading and
  // Loaded; the gutter and the highlighter are only followed once Loaded has run.
  void BeginLoading() { loading_ = true; }
  bool IsLoading() const { return loading_; }
  virtual void Loaded();

  // --- Window ---------------------------------------------------------------------------
  // Makes the window as a child of Parent (an ANSI window class of its own).
  void CreateWnd(HWND Parent, int X = 0, int Y = 0, int Width = 200, int Height = 150);
  void DestroyWnd();
  void SetFocus();
  void AddFocusControl(TWinControl* Control);
  void RemoveFocusControl(TWinControl* Control);

  // --- Text -----------------------------------------------------------------------------
  TCodeEditStringList& Lines() const override { return *lines_; }
  void SetLines(const TStrings& Value);
  std::string Text() const;
  void SetText(const std::string& Value);
  // The same without a copy: the editor keeps the text (a loaded file's, say).
  void SetText(std::string&& Value);
  // Sum of the line lengths plus the breaks between them; builds no text.
  int64_t TextLength() const;
  std::string LineText() const;
  void SetLineText(const std::string& Value);
  std::string CaretLineText() const;
  // The same where it is stored, valid until the text changes.
  std::string_view CaretLineView() const;

  // --- Caret ----------------------------------------------------------------------------
  int CaretX() const { return caretX_; }
  int CaretY() const { return caretY_; }
  TBufferCoord CaretXY() const { return {caretX_, caretY_}; }
  void SetCaretX(int Value);
  void SetCaretY(int Value);
  // Moves the caret and clears the selection.
  virtual void SetCaretXY(const TBufferCoord& Value);
  virtual void SetCaretXYEx(bool EnsureVisible, TBufferCoord Value);
  // Moves the caret and keeps the selection.
  virtual void InternalSetCaretXY(const TBufferCoord& Value);
  int DisplayX() const;
  int DisplayY() const;
  TDisplayCoord DisplayXY() const;
  void EnsureCursorPosVisible();
  void EnsureCursorPosVisibleEx(bool ForceToMiddle);
  void GotoLineAndCenter(int ALine);
  void SetCaretAndSelection(const TBufferCoord& ptCaret, const TBufferCoord& ptBefore,
                            const TBufferCoord& ptAfter);

  // --- Display positions (rows follow word wrap; columns have tabs expanded) ----------------
  TDisplayCoord BufferToDisplayPos(const TBufferCoord& P) const;
  TBufferCoord DisplayToBufferPos(const TDisplayCoord& P) const;
  int DisplayRowCount() const;
  int FirstRowOfLine(int Line) const;
  int LineOfRow(int Row) const;

  // --- Word wrap --------------------------------------------------------------------------
  bool WordWrap() const { return wordWrapPlugin_ != nullptr; }
  void SetWordWrap(bool Value);
  // Places the caret at a display position (mouse placement): a click beyond the text of a
  // wrapped row puts the caret at that row's end, not at the start of the next row.
  void SetInternalDisplayXY(const TDisplayCoord& APos);

  // --- Selection ------------------------------------------------------------------------
  TBufferCoord BlockBegin() const;
  TBufferCoord BlockEnd() const;
  void SetBlockBegin(TBufferCoord Value);
  void SetBlockEnd(TBufferCoord Value);
  bool SelAvail() const;
  bool SelectionSpansLines() const;
  bool SelectionCoversCaretLine() const;
  std::string SelText() const;
  void SetSelText(const std::string& Value);
  // Returns where the inserted text ends, which may lie past the caret when the caret
  // stops at the scroll width. TextStart receives where text inserted in normal or line
  // mode starts (blanks that fill a gap past the line's end included).
  TBufferCoord SetSelTextPrimitive(TCodeSelectionMode PasteMode, const std::string& Value,
                                   bool AddToUndoList, TBufferCoord* TextStart = nullptr);
  int SelStart() const;
  void SetSelStart(int Value);
  int SelEnd() const;
  void SetSelEnd(int Value);
  int SelLength() const;
  void SetSelLength(int Value);
  void SelectAll();
  void SetWordBlock(TBufferCoord Value);
  void DeleteSelection();
  bool IsPointInSelection(const TBufferCoord& Value) const;
  TCodeSelectionMode SelectionMode() const { return selectionMode_; }
  void SetSelectionMode(TCodeSelectionMode Value);
  TCodeSelectionMode ActiveSelectionMode() const { return activeSelectionMode_; }
  void SetActiveSelectionMode(TCodeSelectionMode Value);

  // --- Character indexes (0-based, each line break counting two) -------------------------
  TBufferCoord CharIndexToRowCol(int Index) const;
  int RowColToCharIndex(TBufferCoord RowCol) const;

  // --- Words ----------------------------------------------------------------------------
  std::string WordAtCaret();
  std::string GetWordAtRowCol(const TBufferCoord& XY) const;
  // Identifier characters: the highlighter's, or every code from 33 to 255.
  std::bitset<256> IdentChars() const override;
  virtual TBufferCoord NextWordPosEx(const TBufferCoord& XY) const;
  virtual TBufferCoord NextWordPos() const;
  virtual TBufferCoord WordStartEx(const TBufferCoord& XY) const;
  virtual TBufferCoord WordStart() const;
  virtual TBufferCoord WordEndEx(const TBufferCoord& XY) const;
  virtual TBufferCoord WordEnd() const;
  virtual TBufferCoord PrevWordPosEx(const TBufferCoord& XY) const;
  virtual TBufferCoord PrevWordPos() const;

  // --- Highlighter tokens -------------------------------------------------------------
  // The token covering a position: false without a highlighter or outside the line's text.
  bool GetHighlighterAttriAtRowCol(const TBufferCoord& XY, std::string& Token,
                                   TCodeHighlighterAttributes*& Attri) const;
  bool GetHighlighterAttriAtRowColEx(const TBufferCoord& XY, std::string& Token, int& TokenType,
                                     int& Start, TCodeHighlighterAttributes*& Attri) const;

  // --- Brackets -------------------------------------------------------------------------
  virtual void FindMatchingBracket();
  virtual TBufferCoord GetMatchingBracket();
  virtual TBufferCoord GetMatchingBracketEx(const TBufferCoord& APoint);

  // --- Clipboard ------------------------------------------------------------------------
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  bool CanPaste() const;

  // --- Undo -----------------------------------------------------------------------------
  void Undo();
  void Redo();
  bool CanUndo() const;
  bool CanRedo() const;
  int MaxUndo() const;
  void SetMaxUndo(int Value);
  TCodeEditUndoList& UndoList() const { return *undoList_; }
  // Works on Other's text and undo lists until RemoveLinesPointer or Other's destruction.
  void SetLinesPointer(TCustomCodeEdit& Other);
  // Back to the own text; a programming error while another editor shares this one's text.
  void RemoveLinesPointer();
  TCodeEditUndoList& RedoList() const { return *redoList_; }
  void OpenUndoBlock();
  void CloseUndoBlock();
  void ClearHistory();
  void SuspendHistory();
  void ResumeHistory();
  // All marks of the control; they follow their lines as lines come and go.
  TCodeEditMarkList& Marks() const override { return *marks_; }
  // Clears the text, the marks, the history and the modified state.
  virtual void ClearAll();

  // --- Commands -------------------------------------------------------------------------
  TCodeEditorCommand TranslateKeyCode(WORD Code, TShiftState Shift, void*& Data);
  virtual void CommandProcessor(TCodeEditorCommand Command, char AChar, void* Data);
  virtual void ExecuteCommand(TCodeEditorCommand Command, char AChar, void* Data);
  TCodeEditKeyStrokes& Keystrokes() const { return *keystrokes_; }
  void SetKeystrokes(const TCodeEditKeyStrokes* Value);
  virtual void SetDefaultKeystrokes();
  // A form keeps the table as differences to a reference (the default table): it stores
  // them only when the tables differ as whole collections.
  bool KeystrokesDiffer(const TCodeEditKeyStrokes& Reference) const;
  // The reference's bindings whose key pair is not bound to the same command here.
  void WriteRemovedKeystrokes(const TCodeEditKeyStrokes& Reference,
                              TCodeEditKeyStrokes& Removed) const;
  // This table's bindings whose key pair the reference lacks or binds to another command.
  void WriteAddedKeystrokes(const TCodeEditKeyStrokes& Reference,
                            TCodeEditKeyStrokes& Added) const;
  // Deletes each binding of the same key pair and command; appends each added binding.
  void ReadRemovedKeystrokes(const TCodeEditKeyStrokes& Removed);
  void ReadAddedKeystrokes(const TCodeEditKeyStrokes& Added);
  void RegisterCommandHandler(THookedCommandEvent Handler, void* HandlerData);
  void UnregisterCommandHandler(void* HandlerData);
  int CommandHookCount() const { return static_cast<int>(hookedCommandHandlers_.size()); }
  void AddPlugin(TCodeEditPlugin* Plugin);
  void RemovePlugin(TCodeEditPlugin* Plugin);

  // --- State ----------------------------------------------------------------------------
  bool Modified() const { return modified_; }
  void SetModified(bool Value);
  void SyncModifiedWithUndo();
  virtual bool GetReadOnly() const { return readOnly_; }
  virtual void SetReadOnly(bool Value);
  bool ReadOnly() const { return GetReadOnly(); }
  void IncPaintLock();
  void DecPaintLock();
  int PaintLock() const { return paintLock_; }
  void StatusChanged(TCodeStatusChanges AChanges);

  // --- Properties -----------------------------------------------------------------------
  TCodeEditorOptions Options() const { return options_; }
  void SetOptions(TCodeEditorOptions Value);
  bool HasOption(TCodeEditorOption O) const { return options_.Contains(O); }
  bool InsertMode() const { return insertMode_; }
  void SetInsertMode(bool Value);
  TCodeEditCaretType InsertCaret() const { return insertCaret_; }
  void SetInsertCaret(TCodeEditCaretType Value);
  TCodeEditCaretType OverwriteCaret() const { return overwriteCaret_; }
  void SetOverwriteCaret(TCodeEditCaretType Value);
  int TabWidth() const { return tabWidth_; }
  void SetTabWidth(int Value);
  int MaxScrollWidth() const { return maxScrollWidth_; }
  void SetMaxScrollWidth(int Value);
  int TopLine() const { return topLine_; }
  void SetTopLine(int Value);
  int LeftChar() const { return leftChar_; }
  void SetLeftChar(int Value);
  int CharsInWindow() const override { return charsInWindow_; }
  int LinesInWindow() const { return linesInWindow_; }
  int CharWidth() const { return charWidth_; }
  int LineHeight() const { return lineHeight_; }
  TColor ActiveLineColor() const { return activeLineColor_; }
  void SetActiveLineColor(TColor Value);
  int RightEdge() const { return rightEdge_; }
  void SetRightEdge(int Value);
  TColor RightEdgeColor() const { return rightEdgeColor_; }
  void SetRightEdgeColor(TColor Value);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle Value);
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool Value);
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle Value);
  TColor ScrollHintColor() const { return scrollHintColor_; }
  void SetScrollHintColor(TColor Value) { scrollHintColor_ = Value; }
  TScrollHintFormat ScrollHintFormat() const { return scrollHintFormat_; }
  void SetScrollHintFormat(TScrollHintFormat Value) { scrollHintFormat_ = Value; }
  int ExtraLineSpacing() const { return extraLineSpacing_; }
  void SetExtraLineSpacing(int Value);
  bool WantReturns() const { return wantReturns_; }
  void SetWantReturns(bool Value) { wantReturns_ = Value; }
  bool WantTabs() const { return wantTabs_; }
  void SetWantTabs(bool Value) { wantTabs_ = Value; }
  bool KeepCaret() const { return keepCaret_; }
  void SetKeepCaret(bool Value) { keepCaret_ = Value; }
  TColor Color() const { return color_; }
  void SetColor(TColor Value);
  TFont& Font() const { return *font_; }
  void SetFont(const TFont& Value);
  TCodeGutter& Gutter() const { return *gutter_; }
  void SetGutter(const TCodeGutter& Value) { gutter_->Assign(Value); }
  TCodeSelectedColor& SelectedColor() const { return *selectedColor_; }
  void SetSelectedColor(const TCodeSelectedColor& Value) { selectedColor_->Assign(Value); }
  TCodeBookMarkOpt& BookMarkOptions() const { return *bookMarkOptions_; }
  void SetBookMarkOptions(const TCodeBookMarkOpt& Value) { bookMarkOptions_->Assign(Value); }
  TCodeGlyph& WordWrapGlyph() const { return *wordWrapGlyph_; }
  void SetWordWrapGlyph(const TCodeGlyph& Value) { wordWrapGlyph_->Assign(Value); }
  TheTextDrawer& TextDrawer() const { return *textDrawer_; }
  TCodeCustomHighlighter* Highlighter() const { return highlighter_; }
  void SetHighlighter(TCodeCustomHighlighter* Value);
  // Kept only; forgotten when the engine is destroyed.
  TCodeEditSearchCustom* SearchEngine() const { return searchEngine_; }
  void SetSearchEngine(TCodeEditSearchCustom* Value);

  // --- Indentation helpers --------------------------------------------------------------
  int LeadingWhiteWidth(std::string_view Line, bool ExpandTabs) const;
  std::string MakeIndent(int Count, bool WantTabs) const;
  // Where the blanks and tabs at the end of S start; S's size when there are none.
  static size_t TrailingBlanksStart(std::string_view S);
  static std::string StripTrailingBlanks(const std::string& S);

  // --- Pixel geometry -------------------------------------------------------------------
  TDisplayCoord PixelsToRowColumn(int X, int Y) const;
  TDisplayCoord PixelsToNearestDisplayPos(int X, int Y) const;
  POINT RowColumnToPixels(const TDisplayCoord& P) const;
  int GutterWidth() const { return gutterWidth_; }
  void UpdateWindowMetrics(bool RecalcGutter);
  // Follows the gutter's settings: digit count, width, and the text offset behind it.
  void GutterSettingsChanged();
  // The mouse position as a buffer position; false when the mouse is outside the control.
  bool GetPositionOfMouse(TBufferCoord& Coord) const;
  void UpdateScrollBars();
  void ControlFontChanged();
  // The highlighter's attribute-change notification: re-measures and rescans the line states.
  void HighlighterStyleChanged(TObject* Sender);

  // --- Repainting (only with a window; collected while the buffer changes) ----------------
  virtual void InvalidateRect(const RECT& ARect, bool Erase);
  void InvalidateLine(int Line);
  void RepaintLines(int FirstLine, int LastLine);
  void RepaintGutter();
  void RepaintGutterLines(int FirstLine, int LastLine) override;
  void RepaintSelection();
  void Repaint();

  // --- Input ------------------------------------------------------------------------------
  // Extra key and mouse handlers: called after the control's own events, the latest first.
  void AddKeyDownHandler(const TCodeMethod<TKeyEvent>& Handler);
  void RemoveKeyDownHandler(const TCodeMethod<TKeyEvent>& Handler);
  void AddKeyUpHandler(const TCodeMethod<TKeyEvent>& Handler);
  void RemoveKeyUpHandler(const TCodeMethod<TKeyEvent>& Handler);
  void AddMouseDownHandler(const TCodeMethod<TMouseEvent>& Handler);
  void RemoveMouseDownHandler(const TCodeMethod<TMouseEvent>& Handler);
  void AddMouseUpHandler(const TCodeMethod<TMouseEvent>& Handler);
  void RemoveMouseUpHandler(const TCodeMethod<TMouseEvent>& Handler);
  void AddMouseCursorHandler(const TCodeMethod<TMouseCursorHandler>& Handler);
  void RemoveMouseCursorHandler(const TCodeMethod<TMouseCursorHandler>& Handler);
  // The mouse cursor over the text (the I-beam at first).
  HCURSOR Cursor() const { return cursor_; }
  void SetCursor(HCURSOR Value) { cursor_ = Value; }
  // A drag of this control's selection is under way.
  bool Dragging() const { return dragging_; }
  // A scroll bar's thumb is being dragged (until the end-of-scroll message).
  bool ThumbScrolling() const { return isScrolling_; }
  // Text dragged from an editor (Source) over or onto this one; X, Y in client pixels.
  virtual void DragOver(TCustomCodeEdit* Source, int X, int Y, TDragState State, bool& Accept);
  virtual void DragDrop(TCustomCodeEdit* Source, int X, int Y);
  // The events every window control has; each runs before the control's own handling.
  std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)> OnKeyDown, OnKeyUp;
  std::function<void(TObject* Sender, char& Key)> OnKeyPress;
  std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>
      OnMouseDown, OnMouseUp;
  std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)> OnMouseMove;
  // OnClick: a left press and release inside the control (not ending a double click).
  TNotifyEvent OnClick, OnDblClick;
  std::function<void(TObject* Sender, TObject* Source, int X, int Y)> OnDragDrop;

  // --- Bookmarks --------------------------------------------------------------------------
  // Places bookmark BookMark (0..9) at (X, Y) when 1 <= Y <= max(1, line count); an old
  // bookmark of that number goes first. OnPlaceBookmark may cancel by setting the mark to
  // nullptr; a handler that substitutes another mark cancels too, since the list owns only
  // marks it made.
  void SetBookMark(int BookMark, int X, int Y);
  void ClearBookMark(int BookMark);
  // Moves the caret to the bookmark, centred in the view, and drops the selection.
  void GotoBookMark(int BookMark);
  // False when the bookmark is not set.
  bool GetBookMark(int BookMark, int& X, int& Y) const;

  // --- Events ---------------------------------------------------------------------------
  TNotifyEvent OnChange;
  TPlaceMarkEvent OnClearBookmark;
  TProcessCommandEvent OnCommandProcessed;
  TContextHelpEvent OnContextHelp;
  TDropFilesEvent OnDropFiles;
  TGutterClickEvent OnGutterClick;
  TGutterGetTextEvent OnGutterGetText;
  TGutterPaintEvent OnGutterPaint;
  TMouseCursorEvent OnMouseCursor;
  TPaintEvent OnPaint;
  TPlaceMarkEvent OnPlaceBookmark;
  TProcessCommandEvent OnProcessCommand;
  TProcessCommandEvent OnProcessUserCommand;
  TReplaceTextEvent OnReplaceText;
  TScrollEvent OnScroll;
  TSpecialLineColorsEvent OnSpecialLineColors;
  TStatusChangeEvent OnStatusChange;
  TPaintTransient OnPaintTransient;

protected:
  LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;
  void HandleDestroyed() override;
  // A destroyed highlighter or search engine is forgotten.
  void Notification(TComponent* AComponent) override;

  // --- Painting ---------------------------------------------------------------------------
  // Paints the area Clip of the client on DC, and nothing outside it.
  virtual void Paint(HDC DC, const RECT& Clip);
  virtual void PaintGutter(HDC DC, const RECT& AClip, int FirstRow, int LastRow);
  virtual void PaintTextLines(HDC DC, RECT AClip, int FirstRow, int LastRow, int FirstCol,
                              int LastCol);

  virtual void DoChange();
  virtual void LinesChanged();
  virtual void NotifyHookedCommandHandlers(bool AfterCommand, TCodeEditorCommand& Command,
                                           char& AChar, void* Data);
  virtual void DoOnClearBookmark(TCodeEditMark*& Mark);
  virtual void DoOnCommandProcessed(TCodeEditorCommand& Command, char& AChar, void* Data);
  virtual void DoOnGutterClick(int Button, int X, int Y);
  // OnPaint with the paint request's canvas, holding the control's font and brush colour.
  virtual void DoOnPaint(HDC ACanvas);
  virtual void DoOnPaintTransientEx(TTransientType TransientType, bool Lock);
  virtual void DoOnPaintTransient(TTransientType TransientType);
  virtual void DoOnPlaceMark(TCodeEditMark*& Mark);
  virtual void DoOnProcessCommand(TCodeEditorCommand& Command, char& AChar, void* Data);
  virtual TCodeReplaceAction DoOnReplaceText(const std::string& ASearch,
                                             const std::string& AReplace, int Line, int Column);
  virtual bool DoOnSpecialLineColors(int Line, TColor& Foreground, TColor& Background);
  virtual void DoOnStatusChange(TCodeStatusChanges Changes);

  void NotifyPluginsAfterPaint(HDC ACanvas, const RECT& AClip, int FirstLine, int LastLine);
  void NotifyLinesInserted(int FirstLine, int Count);
  void NotifyLinesDeleted(int FirstLine, int Count);

  // --- Input ------------------------------------------------------------------------------
  virtual void KeyDown(WORD& Key, TShiftState Shift);
  virtual void KeyUp(WORD& Key, TShiftState Shift);
  virtual void KeyPress(char& Key);
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void Click();
  // A left double click at (X, Y).
  virtual void DblClick(int X, int Y);
  // Chooses the cursor for the mouse position over the client area.
  virtual void UpdateMouseCursor();
  // The caret to the nearest character boundary of the point, keeping the selection anchors.
  void PlaceCaretAtPoint(int X, int Y);
  // Drops Source's selection at DropPoint, where the mouse left the caret: moved within this
  // control unless Ctrl is held, copied from another unless Shift is held, and selected there;
  // one undo step takes it back. False when it would land on the dragged text itself.
  bool DropTextFrom(TCustomCodeEdit& Source, const TBufferCoord& DropPoint);
  // Sets the auto-scroll steps for a mouse at (X, Y) and runs the scroll timer while needed.
  void UpdateAutoScroll(int X, int Y);
  void ScrollTimerHandler();

private:
  enum class TStateFlag {
    sfCaretChanged, sfScrollbarChanged, sfLinesChanging, sfIgnoreNextChar, sfCaretVisible,
    sfDblClicked, sfPossibleGutterClick, sfWaitForDragging, sfGutterDragging
  };
  // The event handlers of a text buffer and its undo lists.
  struct TBufferHandlers {
    TNotifyEvent Change, Changing, Cleared, UndoAdded, RedoAdded;
    TCodeEditStringListChangeEvent Deleted, Inserted, Put;
  };
  struct THookedCommandEntry {
    THookedCommandEvent Event;
    void* Data;
  };

  // Buffer notifications.
  TBufferHandlers BufferHandlers() const;
  void SetBufferHandlers(const TBufferHandlers& Handlers);
  TBufferHandlers OwnHandlers();
  // Sends every editor that shares this one's text (and theirs) back to its own.
  void ReleaseSharingEditors();
  void LinesChanging();
  void ListCleared();
  void ListDeleted(int Index, int Count);
  void ListInserted(int Index, int Count);
  void ListPut(int Index, int Count);
  void UndoListItemAdded(TCodeEditUndoList& Sender);
  // Idle time carries the line states on to the last line: a timer that scans in short
  // slices while no other message waits.
  void StartIdleScan();
  void StopIdleScan();
  void IdleScanTimerHandler();
  void GrowMaxScrollWidthTo(int Line);
  void KeepCaretWithinScrollWidth();

  // Text primitives: change the buffer and record nothing (column insertion when asked).
  std::string LineAt(int Line) const;
  int LineLength(int Line) const;
  // With eoTrimTrailingSpaces drops a line's trailing blanks and records them, so that undo
  // brings them back.
  void TrimLineRecorded(int Line);
  void EnsureFirstLine();
  TBufferCoord InsertNormal(TBufferCoord At, const std::string& Value, TBufferCoord* TextStart);
  void InsertColumn(TBufferCoord At, const std::string& Value, bool AddToUndoList);
  void DeleteNormal(TBufferCoord From, TBufferCoord To);
  void DeleteColumn(TBufferCoord From, TBufferCoord To);
  void DeleteLineBlock(int FirstLine, int LastLine);
  std::string JoinedLines(int First, size_t Skip, int Last, size_t Keep, bool BreakAfterLast) const;
  std::string SelTextOf(TBufferCoord From, TBufferCoord To, TCodeSelectionMode Mode) const;
  std::string ColumnTextOf(TBufferCoord From, TBufferCoord To, bool Trim) const;
  // Column blocks count their columns within each line (tabs expanded), also while lines wrap,
  // so that a block dragged on continuation rows covers the same characters on every line.
  int ColumnToChar(int Line, int Column) const;
  int CharToColumn(const TBufferCoord& P) const;
  // The active column block's left column and its right column (exclusive).
  std::pair<int, int> ColumnBlockSpan() const;
  TBufferCoord ClampToLineEnd(TBufferCoord P) const;
  // Records the deletion of the current selection and removes it.
  void DeleteSelectionRecorded(TCodeUndoReason Reason);
  void RecordSelectionDeletion(TCodeUndoReason Reason);

  // Caret helpers.
  void MoveCaretAndSelection(const TBufferCoord& ptAfter, bool SelectionCommand);
  void MoveCaretHorz(int DX, bool SelectionCommand);
  void MoveCaretVert(int DY, bool SelectionCommand);
  void MoveCaretToLineStart(bool SelectionCommand);
  void MoveCaretToLineEnd(bool SelectionCommand);
  // Whether the movers above work in the caret's display row (word wrap with room for text).
  bool CaretMovesByRows() const;
  // Handles the row cases of a horizontal move whose plain destination is Dst; false when
  // the plain move applies.
  bool MoveCaretHorzInRows(int DX, const TBufferCoord& Dst, bool SelectionCommand);
  void MoveCaretToRowStart(bool SelectionCommand);
  void MoveCaretToRowEnd(bool SelectionCommand);
  // Moves caret and selection to a display position, keeping a caret at the end of a
  // wrapped row there instead of at the start of the next row.
  void MoveCaretAndSelectionToDisplay(const TDisplayCoord& Target, bool SelectionCommand);
  void MoveAnchorsForCaret(const TBufferCoord& ptAfter, bool SelectionCommand);
  // Whether the caret at Buffer, placed from the display position Pos, belongs at the end
  // of Pos's row rather than at the start of the next row.
  bool IsEndOfWrappedRow(const TDisplayCoord& Pos, const TBufferCoord& Buffer) const;
  void UpdateLastCaretX();
  void UpdateCaret();
  void CreateCaretShape();
  void HideCaret();
  void UpdateWindowNow();
  bool IsDBCSSecondByte(int Line, int Char) const;

  // Command handlers.
  void DoPageUpDown(TCodeEditorCommand Command, bool Select);
  void DoScrollUpDown(int Delta);
  void DoDeleteLastChar();
  void BackspacePastLineEnd();
  void BackspaceJoinLines();
  void BackspaceInLine();
  void DoDeleteChar();
  void DeleteRangeRecorded(TBufferCoord From, TBufferCoord To, TCodeUndoReason Reason);
  void DoDeleteToWordOrLineEnd(TCodeEditorCommand Command);
  void DoDeleteToWordOrLineStart(TCodeEditorCommand Command);
  void DoDeleteLine();
  void DoLineBreak(bool MoveCaret);
  TBufferCoord BreakCaretLine(int& Inserted);
  int IndentColumnAbove(int Line) const;
  void DoTypeChar(char AChar);
  void DoImeStr(const char* S);
  int SmartTabWidth(int Column) const;
  void DoTabKey();
  void DoShiftTabKey();
  void DoBlockIndent();
  void DoBlockUnindent();
  void DoCaseChange(TCodeEditorCommand Command);
  void SelectWordForCaseChange();
  void SelectCharForCaseChange();
  void ReplaceSelectionCase(TCodeEditorCommand Command);
  void DoEditCommand(TCodeEditorCommand Command, char AChar, void* Data);
  bool DoMoveCommand(TCodeEditorCommand Command, void* Data);
  void DoContextHelp();
  bool IsWordChar(unsigned char C) const;
  int SmartTabDeleteTarget(int Column, bool Expand) const;
  // One token of a line: 1-based columns, End exclusive.
  struct TLineToken {
    int Start = 0, End = 0;
    TCodeHighlighterAttributes* Attri = nullptr;
    int Kind = 0;
  };
  // Visits the highlighter's tokens of Line in order while Visit returns true, from where the
  // highlighter can resume scanning before the 0-based column From (at the latest from the
  // line's start). Needs a highlighter.
  void ForEachToken(int Line, int From, const std::function<bool(const TLineToken&)>& Visit) const;
  // The spans of Line's string and comment tokens, in order; none without a highlighter.
  std::vector<std::pair<int, int>> StringAndCommentSpans(int Line) const;
  int PadCaretLine();
  int PadCaretLineRecorded(int LineLen);
  void InsertAtCaret(const std::string& S, bool Recorded);
  void GrowLeftCharForCaret();
  int BlockLastLine() const;

  // Undo replay.
  bool ContinuesStep(const TCodeEditUndoItem& Next, int32_t Number, TCodeUndoReason Done) const;
  void UndoItem(const TCodeEditUndoItem& Item);
  void RestorePosition(const TCodeEditUndoItem& Item, TCodeEditUndoList& Reverse);
  void RedoItem(const TCodeEditUndoItem& Item);

  // Clipboard.
  void WriteClipboard(const std::string& Text, TCodeSelectionMode Mode);
  void PasteBlock(TCodeSelectionMode Mode, const std::string& Text);

  // Window.
  LRESULT WmGetText(WPARAM BufferSize, LPARAM Buffer);
  void DoSetFocusMessage();
  void DoKillFocusMessage();
  void MeasureCharCell();
  void FontChanged();
  void RepaintRowsOf(bool Gutter, int FirstLine, int LastLine);
  void RecreateWnd();

  // The buffer and lists in use: the own ones, or those of the editor whose text is shared.
  std::unique_ptr<TCodeEditStringList> ownLines_;
  std::unique_ptr<TCodeEditUndoList> ownUndoList_;
  std::unique_ptr<TCodeEditUndoList> ownRedoList_;
  TCodeEditStringList* lines_;
  // Where each line starts as a character index (one more entry for the end), kept for the
  // change stamp it was built at: conversions between indexes and positions look it up.
  const std::vector<int64_t>& LineStarts() const;
  mutable std::vector<int64_t> lineStarts_;
  mutable const TCodeEditStringList* lineStartsOf_ = nullptr;
  mutable uint64_t lineStartsStamp_ = 0;
  TCodeEditUndoList* undoList_;
  TCodeEditUndoList* redoList_;
  TCustomCodeEdit* sharedFrom_ = nullptr;
  std::vector<TCustomCodeEdit*> sharingEditors_;
  TBufferHandlers savedHandlers_;
  std::unique_ptr<TCodeEditKeyStrokes> keystrokes_;
  std::unique_ptr<TFont> font_;
  std::unique_ptr<TheTextDrawer> textDrawer_;
  TCodeCustomHighlighter* highlighter_ = nullptr;
  TCodeEditSearchCustom* searchEngine_ = nullptr;

  int caretX_ = 1;
  int caretY_ = 1;
  int lastCaretX_ = 1;
  bool lastCaretXAdjusted_ = false;
  TBufferCoord blockBegin_ = {1, 1};
  TBufferCoord blockEnd_ = {1, 1};
  TCodeSelectionMode selectionMode_ = TCodeSelectionMode::smNormal;
  TCodeSelectionMode activeSelectionMode_ = TCodeSelectionMode::smNormal;
  int topLine_ = 1;
  int leftChar_ = 1;
  int charsInWindow_ = 0;
  int linesInWindow_ = 0;
  int charWidth_ = 0;
  int lineHeight_ = 0;
  int gutterWidth_ = 0;
  int textOffset_ = 2;
  int paintLock_ = 0;
  RECT invalidRect_ = {0, 0, 0, 0};
  TSet<TStateFlag> stateFlags_;
  TCodeStatusChanges statusChanges_;
  bool modified_ = false;
  bool readOnly_ = false;
  bool keepCaret_ = false;
  bool insertMode_ = true;
  TCodeEditorOptions options_ = CodeEditDefaultOptions;
  TCodeEditCaretType insertCaret_ = TCodeEditCaretType::ctVerticalLine;
  TCodeEditCaretType overwriteCaret_ = TCodeEditCaretType::ctBlock;
  int tabWidth_ = 8;
  int maxScrollWidth_ = 1024;
  // Undo, redo and a drop place the caret exactly, past the scroll width too.
  bool replaying_ = false;
  TColor activeLineColor_ = clNone;
  int rightEdge_ = 80;
  TColor rightEdgeColor_ = clSilver;
  TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
  bool hideSelection_ = false;
  TScrollStyle scrollBars_ = TScrollStyle::ssBoth;
  TColor scrollHintColor_ = clInfoBk;
  TScrollHintFormat scrollHintFormat_ = TScrollHintFormat::shfTopLineOnly;
  int extraLineSpacing_ = 0;
  bool wantReturns_ = true;
  bool wantTabs_ = false;
  TColor color_ = clWindow;
  int transientPaintLock_ = 0;
  bool destroying_ = false;
  bool loading_ = false;
  TCodePendingKey pendingKey_;
  std::unique_ptr<TCodeSelectedColor> selectedColor_;
  std::unique_ptr<TCodeBookMarkOpt> bookMarkOptions_;
  std::unique_ptr<TCodeGutter> gutter_;
  std::unique_ptr<TCodeGlyph> wordWrapGlyph_;
  std::unique_ptr<TCodeEditMarkList> marks_;
  std::vector<THookedCommandEntry> hookedCommandHandlers_;
  std::vector<TCodeEditPlugin*> plugins_;
  std::vector<TWinControl*> focusList_;
  HWND parent_ = nullptr;
  RECT bounds_ = {0, 0, 200, 150};

  // --- Input ------------------------------------------------------------------------------
  LRESULT InputMessage(UINT Msg, WPARAM wParam, LPARAM lParam);
  void WmKeyDown(UINT Msg, WPARAM wParam, LPARAM lParam);
  void WmMouseButton(UINT Msg, WPARAM wParam, LPARAM lParam);
  void WmMouseWheel(int WheelDelta);
  void WmVScroll(int Code, int Pos);
  void WmHScroll(int Code, int Pos);
  void WmImeComposition(LPARAM lParam);
  void WmImeNotify(WPARAM wParam);
  void ShowScrollHint(int ThumbPos);
  // The scroll bars' real maxima; positions beyond 32767 are scaled on the bars.
  int VertScrollMax() const;
  int HorzScrollMax() const;
  bool MouseCaptured() const;
  void StopScrollTimer();
  void BeginDrag();
  void DragMoveTo(int X, int Y);
  void EndDrag(bool Drop, int X, int Y);
  std::unique_ptr<TCodeEditKbdHandler> kbdHandler_ = std::make_unique<TCodeEditKbdHandler>();
  HCURSOR cursor_ = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_IBEAM));
  int imeCount_ = 0;
  int wheelAccumulator_ = 0;
  int scrollDeltaX_ = 0;
  int scrollDeltaY_ = 0;
  POINT mouseDownPos_ = {0, 0};
  bool isScrolling_ = false;
  bool scrollTimerOn_ = false;
  bool clicked_ = false;
  bool dragging_ = false;
  // The window of the editor under the mouse during a drag (a window, so that an editor
  // destroyed meanwhile is noticed), and whether it accepts the text.
  HWND dragTarget_ = nullptr;
  bool dragAccepted_ = false;

  // --- Bookmarks --------------------------------------------------------------------------
  // The mark in bookmark slot BookMark, or nullptr.
  TCodeEditMark* BookmarkSlot(int BookMark) const;
  void DoGotoMarkerCommand(int BookMark);
  void DoSetMarkerCommand(int BookMark, void* Data);

  // --- Painting ---------------------------------------------------------------------------
  friend class TCodeEditPainter;
  void WmPaint();
  std::unique_ptr<TCodeInternalImage> internalImage_;  // built-in bookmark glyphs, on first use

  // --- Word wrap --------------------------------------------------------------------------
  // Line and Char of a buffer position as its line's display column, without word wrap.
  int ExpandedColumn(const TBufferCoord& P) const;
  // The Char of Line whose expanded span reaches Column, without word wrap.
  int CharAtColumn(int Line, int Column) const;
  // The word-wrap step of the paint lock's release.
  void KeepWrappedCaretInRow();
  // Repaints text and gutter from buffer line Index (0-based) on when the rows moved.
  void RepaintMovedRows(int Index, int RowDelta);
  std::unique_ptr<ICodeEditBufferPlugin> wordWrapPlugin_;
  bool caretAtEndOfWrappedRow_ = false;
  bool idleScanOn_ = false;
};

// The control as the program places it on its forms.
class TCodeEdit : public TCustomCodeEdit {
public:
  using TCustomCodeEdit::TCustomCodeEdit;
};
