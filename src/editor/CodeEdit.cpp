// The control's lifecycle, window, options, properties and events.
#include "editor/CodeEdit.h"
#include <shellapi.h>
#include <algorithm>
#include "editor/CodeEditHighlighter.h"
#include "editor/CodeTextDrawer.h"
#include "toolkit/Dialogs.h"
#include "toolkit/WideNames.h"

namespace {
using EO = TCodeEditorOption;
const char* const kWindowClass = "TCodeEdit";
// Sent through the command pipeline when the window gains the focus (loss: ecFocusLost).
constexpr TCodeEditorCommand kFocusGained = 480;

bool OptionChanged(TCodeEditorOptions A, TCodeEditorOptions B, EO O) {
  return A.Contains(O) != B.Contains(O);
}

// Whether the average and the largest character width of a font agree on the screen.
bool HasOneCharWidth(const TFont& Font) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font.Handle());
  TEXTMETRICA tm = {};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return tm.tmAveCharWidth == tm.tmMaxCharWidth;
}

// The width of a digit in a font, measured on the screen.
int DigitWidth(const TFont& Font) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font.Handle());
  SIZE size = {};
  GetTextExtentPoint32A(dc, "0", 1, &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return size.cx;
}
}  // namespace

TCustomCodeEdit::TCustomCodeEdit(TComponent* AOwner)
    : TWinControl(AOwner),
      ownLines_(std::make_unique<TCodeEditStringList>()),
      ownUndoList_(std::make_unique<TCodeEditUndoList>()),
      ownRedoList_(std::make_unique<TCodeEditUndoList>()),
      lines_(ownLines_.get()),
      undoList_(ownUndoList_.get()),
      redoList_(ownRedoList_.get()),
      font_(std::make_unique<TFont>("Courier New", 10)),
      selectedColor_(std::make_unique<TCodeSelectedColor>()),
      bookMarkOptions_(std::make_unique<TCodeBookMarkOpt>(this)),
      gutter_(std::make_unique<TCodeGutter>()),
      wordWrapGlyph_(std::make_unique<TCodeGlyph>(GetModuleHandleA(nullptr), "CodeEditWrapped",
                                                  static_cast<TColor>(65280))),
      marks_(std::make_unique<TCodeEditMarkList>()) {
  SetBufferHandlers(OwnHandlers());
  selectedColor_->OnChange = [this](TObject*) { RepaintSelection(); };
  bookMarkOptions_->OnChange = [this](TObject*) { RepaintGutter(); };
  gutter_->OnChange = [this](TObject*) { GutterSettingsChanged(); };
  wordWrapGlyph_->OnChange = [this](TObject*) {
    if (!loading_) RepaintGutter();
  };
  marks_->OnChange = [this](TObject*) { RepaintGutter(); };
  gutterWidth_ = gutter_->RealGutterWidth(charWidth_);
  textOffset_ = gutterWidth_ + 2;
  font_->OnChange = [this](TObject*) { FontChanged(); };
  textDrawer_ = std::make_unique<TheTextDrawer>(TFontStyles{TFontStyle::fsBold}, font_.get());
  keystrokes_ = std::make_unique<TCodeEditKeyStrokes>(this);
  SetDefaultKeystrokes();
  ControlFontChanged();
}

TCustomCodeEdit::~TCustomCodeEdit() {
  destroying_ = true;
  SetHighlighter(nullptr);
  SetSearchEngine(nullptr);
  // Editors that share this one's text go back to their own first.
  ReleaseSharingEditors();
  RemoveLinesPointer();
  DestroyHandle();
  SetBufferHandlers({});
  font_->OnChange = nullptr;
  gutter_->OnChange = nullptr;
  wordWrapGlyph_->OnChange = nullptr;
  marks_->OnChange = nullptr;
  // No mark outlives the control that it names as its owner.
  marks_->Clear();
}

void TCustomCodeEdit::Loaded() {
  loading_ = false;
  GutterSettingsChanged();
  UpdateScrollBars();
}

// ---------------------------------------------------------------------------------------
// Window

void TCustomCodeEdit::CreateWnd(HWND Parent, int X, int Y, int Width, int Height) {
  if (HandleAllocated()) return;
  parent_ = Parent;
  bounds_ = {X, Y, X + Width, Y + Height};
  RegisterClassOnce(kWindowClass, CS_DBLCLKS,
                    LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_IBEAM)), nullptr);
  DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP;
  if (scrollBars_ == TScrollStyle::ssHorizontal || scrollBars_ == TScrollStyle::ssBoth)
    style |= WS_HSCROLL;
  if (scrollBars_ == TScrollStyle::ssVertical || scrollBars_ == TScrollStyle::ssBoth)
    style |= WS_VSCROLL;
  // A single border is drawn as the client edge of new-style controls.
  DWORD exStyle = borderStyle_ == TBorderStyle::bsSingle ? WS_EX_CLIENTEDGE : 0;
  // The window text is never the editor's text.
  SetCaption(std::string());
  CreateHandle(kWindowClass, style, exStyle, Parent, X, Y, Width, Height);
  if (!HandleAllocated()) return;
  if (HasOption(EO::eoDropFiles)) DragAcceptFiles(Handle(), TRUE);
  UpdateWindowMetrics(true);
  UpdateScrollBars();
  StartIdleScan();
}

void TCustomCodeEdit::DestroyWnd() {
  if (!HandleAllocated()) return;
  DragAcceptFiles(Handle(), FALSE);
  DestroyHandle();
}

void TCustomCodeEdit::RecreateWnd() {
  if (!HandleAllocated()) return;
  HWND parent = parent_;
  RECT r = {};
  GetWindowRect(Handle(), &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  DestroyWnd();
  CreateWnd(parent, r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void TCustomCodeEdit::HandleDestroyed() {
  stateFlags_.Exclude(TStateFlag::sfCaretVisible);
  idleScanOn_ = false;  // the timer went with the window
  charsInWindow_ = 0;
  linesInWindow_ = 0;
  // The window took its timer and capture along.
  scrollTimerOn_ = false;
  dragging_ = false;
  dragTarget_ = nullptr;
}

void TCustomCodeEdit::SetFocus() {
  if (!focusList_.empty())
    focusList_.back()->SetFocus();
  else
    TWinControl::SetFocus();
}

void TCustomCodeEdit::AddFocusControl(TWinControl* Control) { focusList_.push_back(Control); }

void TCustomCodeEdit::RemoveFocusControl(TWinControl* Control) {
  focusList_.erase(std::remove(focusList_.begin(), focusList_.end(), Control), focusList_.end());
}

LRESULT TCustomCodeEdit::WmGetText(WPARAM BufferSize, LPARAM Buffer) {
  if (BufferSize == 0 || !Buffer) return 0;
  std::string text = Text();
  size_t n = std::min<size_t>(text.size(), BufferSize - 1);
  char* out = reinterpret_cast<char*>(Buffer);
  std::copy_n(text.data(), n, out);
  out[n] = '\0';
  return static_cast<LRESULT>(n);
}

void TCustomCodeEdit::DoSetFocusMessage() {
  CommandProcessor(kFocusGained, '\0', nullptr);
  CreateCaretShape();
  UpdateCaret();
  if (hideSelection_ && SelAvail()) RepaintSelection();
}

void TCustomCodeEdit::DoKillFocusMessage() {
  CommandProcessor(ecFocusLost, '\0', nullptr);
  // A handler of the command may have taken the focus back.
  if (!keepCaret_ && GetFocus() != Handle()) {
    HideCaret();
    DestroyCaret();
  }
  // Also with the caret kept: a hidden selection must not stay on the screen.
  if (hideSelection_ && SelAvail()) RepaintSelection();
}

LRESULT TCustomCodeEdit::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) {
  switch (Msg) {
    case WM_COPY:
      CopyToClipboard();
      return 1;
    case WM_CUT:
      if (!ReadOnly()) CutToClipboard();
      return 1;
    case WM_PASTE:
      if (!ReadOnly()) PasteFromClipboard();
      return 1;
    case WM_CLEAR:
      if (!ReadOnly()) DeleteSelection();
      return 0;
    case WM_UNDO:
      Undo();
      return 1;
    case WM_GETTEXT:
      return WmGetText(wParam, lParam);
    case WM_GETTEXTLENGTH:
      return destroying_ ? 0 : static_cast<LRESULT>(TextLength());
    case WM_SETTEXT:
      SetText(lParam ? reinterpret_cast<const char*>(lParam) : "");
      return 1;
    case WM_GETDLGCODE: {
      LRESULT code = TWinControl::WndProc(Msg, wParam, lParam) | DLGC_WANTARROWS | DLGC_WANTCHARS;
      if (wantTabs_) code |= DLGC_WANTTAB;
      if (wantReturns_) code |= DLGC_WANTALLKEYS;
      return code;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      WmPaint();
      return 0;
    case WM_SIZE:
      TWinControl::WndProc(Msg, wParam, lParam);
      UpdateWindowMetrics(false);
      return 0;
    case WM_SETFOCUS:
      DoSetFocusMessage();
      return 0;
    case WM_KILLFOCUS:
      TWinControl::WndProc(Msg, wParam, lParam);
      DoKillFocusMessage();
      return 0;
    case WM_KEYDOWN: case WM_SYSKEYDOWN: case WM_KEYUP: case WM_SYSKEYUP: case WM_CHAR:
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_LBUTTONUP:
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: case WM_RBUTTONUP:
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: case WM_MBUTTONUP:
    case WM_MOUSEMOVE: case WM_MOUSEWHEEL: case WM_VSCROLL: case WM_HSCROLL: case WM_SETCURSOR:
    case WM_TIMER: case WM_CAPTURECHANGED: case WM_CANCELMODE:
    case WM_IME_COMPOSITION: case WM_IME_NOTIFY:
      return InputMessage(Msg, wParam, lParam);
    case WM_SYSCHAR:
      // Alt+Backspace is undo; without this the system beeps.
      if (wParam == VK_BACK && (lParam & (1 << 29))) return 0;
      break;
    case WM_DROPFILES: {
      HDROP drop = reinterpret_cast<HDROP>(wParam);
      if (OnDropFiles) {
        std::vector<std::string> refused;
        const std::vector<std::string> files = DroppedFileNames(drop, refused);
        POINT pt = {};
        DragQueryPoint(drop, &pt);
        if (!refused.empty()) ReportRefusedNames(refused);
        if (!files.empty()) OnDropFiles(this, pt.x, pt.y, files);
      }
      DragFinish(drop);
      return 0;
    }
    default:
      break;
  }
  return TWinControl::WndProc(Msg, wParam, lParam);
}

// ---------------------------------------------------------------------------------------
// Options and properties

void TCustomCodeEdit::SetOptions(TCodeEditorOptions Value) {
  if (Value == options_) return;
  TCodeEditorOptions old = options_;
  bool wasPastEol = old.Contains(EO::eoScrollPastEol);
  bool wasPastEof = old.Contains(EO::eoScrollPastEof);
  options_ = Value;
  if (!wasPastEol) SetLeftChar(leftChar_);
  if (!wasPastEof) SetTopLine(topLine_);
  InternalSetCaretXY(CaretXY());
  if (Value.Contains(EO::eoScrollPastEol)) {
    TBufferCoord b = blockBegin_, e = blockEnd_;
    TCodeSelectionMode mode = activeSelectionMode_;
    SetBlockBegin(b);
    SetBlockEnd(e);
    activeSelectionMode_ = mode;
  }
  if (OptionChanged(old, Value, EO::eoDropFiles) && HandleAllocated())
    DragAcceptFiles(Handle(), Value.Contains(EO::eoDropFiles));
  if (OptionChanged(old, Value, EO::eoShowSpecialChars)) Repaint();
  if (OptionChanged(old, Value, EO::eoDisableScrollArrows) ||
      OptionChanged(old, Value, EO::eoHideShowScrollbars) ||
      OptionChanged(old, Value, EO::eoScrollPastEof) ||
      OptionChanged(old, Value, EO::eoScrollPastEol))
    UpdateScrollBars();
}

void TCustomCodeEdit::SetReadOnly(bool Value) {
  if (readOnly_ == Value) return;
  readOnly_ = Value;
  StatusChanged({TCodeStatusChange::scReadOnly});
}

void TCustomCodeEdit::SetInsertMode(bool Value) {
  if (insertMode_ == Value) return;
  insertMode_ = Value;
  CreateCaretShape();
  StatusChanged({TCodeStatusChange::scInsertMode});
}

void TCustomCodeEdit::SetInsertCaret(TCodeEditCaretType Value) {
  if (insertCaret_ == Value) return;
  insertCaret_ = Value;
  CreateCaretShape();
}

void TCustomCodeEdit::SetOverwriteCaret(TCodeEditCaretType Value) {
  if (overwriteCaret_ == Value) return;
  overwriteCaret_ = Value;
  CreateCaretShape();
}

void TCustomCodeEdit::SetTabWidth(int Value) {
  Value = std::max(1, std::min(Value, 256));
  if (Value == tabWidth_) return;
  tabWidth_ = Value;
  lines_->SetTabWidth(Value);
  Repaint();
  if (wordWrapPlugin_) {
    wordWrapPlugin_->RebuildAll();
    RepaintGutter();
  }
}

void TCustomCodeEdit::SetMaxScrollWidth(int Value) {
  Value = std::max(1, std::min(Value, 2147483646));
  if (Value == maxScrollWidth_) return;
  maxScrollWidth_ = Value;
  if (HasOption(EO::eoScrollPastEol)) UpdateScrollBars();
}

void TCustomCodeEdit::SetActiveLineColor(TColor Value) {
  if (activeLineColor_ == Value) return;
  activeLineColor_ = Value;
  InvalidateLine(caretY_);
}

void TCustomCodeEdit::SetRightEdge(int Value) {
  if (rightEdge_ == Value) return;
  rightEdge_ = Value;
  Repaint();
}

void TCustomCodeEdit::SetRightEdgeColor(TColor Value) {
  if (rightEdgeColor_ == Value) return;
  rightEdgeColor_ = Value;
  if (!HandleAllocated()) return;
  int x = textOffset_ + rightEdge_ * charWidth_;
  RECT r = ClientRect();
  r.left = x - 1;
  r.right = x + 2;
  InvalidateRect(r, false);
}

void TCustomCodeEdit::SetBorderStyle(TBorderStyle Value) {
  if (borderStyle_ == Value) return;
  borderStyle_ = Value;
  RecreateWnd();
}

void TCustomCodeEdit::SetHideSelection(bool Value) {
  if (hideSelection_ == Value) return;
  hideSelection_ = Value;
  RepaintSelection();
}

void TCustomCodeEdit::SetScrollBars(TScrollStyle Value) {
  if (scrollBars_ == Value) return;
  scrollBars_ = Value;
  UpdateScrollBars();
  Repaint();
}

void TCustomCodeEdit::SetExtraLineSpacing(int Value) {
  extraLineSpacing_ = Value;
  ControlFontChanged();
}

void TCustomCodeEdit::SetColor(TColor Value) {
  if (color_ == Value) return;
  color_ = Value;
  Repaint();
}

void TCustomCodeEdit::SetFont(const TFont& Value) { font_->Assign(Value); }

void TCustomCodeEdit::SetHighlighter(TCodeCustomHighlighter* Value) {
  if (Value == highlighter_) return;
  auto hook = CodeNotifyMethod(this, &TCustomCodeEdit::HighlighterStyleChanged);
  if (highlighter_) {
    highlighter_->RemoveAttributeChangeHook(hook);
    RemoveFreeNotification(highlighter_);
  }
  if (Value) {
    Value->AddAttributeChangeHook(hook);
    FreeNotification(Value);
  }
  highlighter_ = Value;
  lines_->SetRangesScanned(0, nullptr);
  // While loading, the highlighter's own Loaded fires its hooks once it is complete.
  if (!destroying_ && !loading_) HighlighterStyleChanged(Value);
}

void TCustomCodeEdit::SetSearchEngine(TCodeEditSearchCustom* Value) {
  if (Value == searchEngine_) return;
  if (searchEngine_) RemoveFreeNotification(searchEngine_);
  if (Value) FreeNotification(Value);
  searchEngine_ = Value;
}

// The component is half destroyed already: it is only forgotten, never called.
void TCustomCodeEdit::Notification(TComponent* AComponent) {
  if (AComponent == searchEngine_) searchEngine_ = nullptr;
  if (AComponent == highlighter_) {
    highlighter_ = nullptr;
    if (destroying_) return;
    MeasureCharCell();
    Repaint();
    UpdateWindowMetrics(true);
  }
}

void TCustomCodeEdit::HighlighterStyleChanged(TObject* Sender) {
  MeasureCharCell();
  if (dynamic_cast<TCodeCustomHighlighter*>(Sender)) {
    // The states are scanned again as far as they are needed, starting with the painting.
    lines_->SetRangesScanned(0, nullptr);
    StartIdleScan();
  }
  Repaint();
  UpdateWindowMetrics(true);
}

void TCustomCodeEdit::SetKeystrokes(const TCodeEditKeyStrokes* Value) {
  if (Value)
    keystrokes_->Assign(*Value);
  else
    keystrokes_->Clear();
}

void TCustomCodeEdit::SetDefaultKeystrokes() { keystrokes_->ResetDefaults(); }

void TCustomCodeEdit::SetLines(const TStrings& Value) { lines_->Assign(Value); }

std::string TCustomCodeEdit::Text() const { return lines_->GetTextStr(); }

void TCustomCodeEdit::SetText(const std::string& Value) { lines_->SetText(Value); }

void TCustomCodeEdit::SetText(std::string&& Value) { lines_->SetText(std::move(Value)); }

int64_t TCustomCodeEdit::TextLength() const {
  int count = lines_->Count();
  if (count == 0) return 0;
  return lines_->TextBytes() + 2 * static_cast<int64_t>(count - 1);
}

// ---------------------------------------------------------------------------------------
// Font metrics

// The cell is the largest of every style combination in use, as the text drawer measures it.
void TCustomCodeEdit::MeasureCharCell() {
  std::vector<TFontStyles> styles;
  auto use = [&](TFontStyles s) {
    s = s * TFontStyles{TFontStyle::fsBold, TFontStyle::fsItalic};
    if (std::find(styles.begin(), styles.end(), s) == styles.end()) styles.push_back(s);
  };
  if (highlighter_ && highlighter_->GetAttributeCount() > 0) {
    for (int i = 0; i < highlighter_->GetAttributeCount(); ++i)
      use(highlighter_->GetAttribute(i)->Style());
  } else {
    use(font_->Style());
  }
  int height = 0, width = 0;
  textDrawer_->SetBaseFont(font_.get());
  for (TFontStyles s : styles) {
    textDrawer_->SetBaseStyle(s);
    height = std::max(height, textDrawer_->CharHeight());
    width = std::max(width, textDrawer_->CharWidth());
  }
  textDrawer_->SetBaseStyle({TFontStyle::fsBold});
  lineHeight_ = height + extraLineSpacing_;
  charWidth_ = width;
}

void TCustomCodeEdit::ControlFontChanged() {
  MeasureCharCell();
  UpdateWindowMetrics(true);
}

// The editor works in character cells: a font whose characters differ in width gives way to
// a fixed-pitch one of the same name, size, style and colour (that change comes back here).
void TCustomCodeEdit::FontChanged() {
  if (!font_->FixedPitch() && !HasOneCharWidth(*font_))
    font_->SetFixedPitch(true);
  else
    ControlFontChanged();
}

void TCustomCodeEdit::GutterSettingsChanged() {
  if (loading_) return;
  if (gutter_->ShowLineNumbers() && gutter_->AutoSize())
    gutter_->AutoSizeDigitCount(lines_->Count());
  int digitWidth = gutter_->UseFontStyle() ? DigitWidth(gutter_->Font()) : charWidth_;
  int width = std::max(0, gutter_->RealGutterWidth(digitWidth));
  if (width == gutterWidth_) {
    RepaintGutter();
    return;
  }
  gutterWidth_ = width;
  textOffset_ = gutterWidth_ + 2 - (leftChar_ - 1) * charWidth_;
  if (HandleAllocated() && charWidth_ > 0)
    charsInWindow_ = std::max<int>(ClientRect().right - gutterWidth_ - 2, 0) / charWidth_;
  if (wordWrapPlugin_) wordWrapPlugin_->WidthChanged();
  UpdateScrollBars();
  Repaint();
}

void TCustomCodeEdit::UpdateWindowMetrics(bool RecalcGutter) {
  if (HandleAllocated() && charWidth_ != 0) {
    RECT r = ClientRect();
    charsInWindow_ = std::max<int>(r.right - gutterWidth_ - 2, 0) / charWidth_;
    linesInWindow_ = lineHeight_ > 0 ? r.bottom / lineHeight_ : 0;
    if (wordWrapPlugin_) {
      wordWrapPlugin_->WidthChanged();
      Repaint();
    }
  }
  if (!RecalcGutter) return;
  if (gutter_->ShowLineNumbers())
    GutterSettingsChanged();
  else
    RepaintGutter();
  UpdateScrollBars();
}

bool TCustomCodeEdit::GetPositionOfMouse(TBufferCoord& Coord) const {
  if (!HandleAllocated()) return false;
  POINT p = {};
  GetCursorPos(&p);
  ScreenToClient(Handle(), &p);
  RECT r = ClientRect();
  if (p.x < 0 || p.y < 0 || p.x > r.right || p.y > r.bottom) return false;
  Coord = DisplayToBufferPos(PixelsToRowColumn(p.x, p.y));
  return true;
}

// ---------------------------------------------------------------------------------------
// Events

void TCustomCodeEdit::DoChange() {
  if (OnChange) OnChange(this);
}

void TCustomCodeEdit::DoOnClearBookmark(TCodeEditMark*& Mark) {
  if (OnClearBookmark) OnClearBookmark(this, Mark);
}

void TCustomCodeEdit::DoOnCommandProcessed(TCodeEditorCommand& Command, char& AChar, void* Data) {
  if (OnCommandProcessed) OnCommandProcessed(this, Command, AChar, Data);
}

void TCustomCodeEdit::DoOnGutterClick(int Button, int X, int Y) {
  if (!OnGutterClick) return;
  int line = DisplayToBufferPos(PixelsToRowColumn(X, Y)).Line;
  if (line > lines_->Count()) return;
  // The marks stand side by side, one Xoffset wide each.
  TCodeEditMark* clicked = nullptr;
  int offset = 0;
  for (TCodeEditMark* mark : marks_->MarksOfLine(line)) {
    if (!mark) break;
    offset += bookMarkOptions_->Xoffset();
    if (X < offset) {
      clicked = mark;
      break;
    }
  }
  OnGutterClick(this, Button, X, Y, line, clicked);
}

void TCustomCodeEdit::DoOnPaint(HDC ACanvas) {
  if (!OnPaint) return;
  int saved = SaveDC(ACanvas);
  SelectObject(ACanvas, font_->Handle());
  SetTextColor(ACanvas, ColorToRGB(font_->Color()));
  SelectObject(ACanvas, GetStockObject(DC_BRUSH));
  SetDCBrushColor(ACanvas, ColorToRGB(color_));
  OnPaint(this, ACanvas);
  RestoreDC(ACanvas, saved);
}

void TCustomCodeEdit::DoOnPaintTransientEx(TTransientType TransientType, bool Lock) {
  bool fire = transientPaintLock_ == 0;
  if (Lock) {
    if (TransientType == TTransientType::ttBefore) {
      ++transientPaintLock_;
    } else {
      --transientPaintLock_;
      fire = transientPaintLock_ == 0;
    }
  }
  if (!fire || !OnPaintTransient || !HandleAllocated()) return;
  HDC dc = GetDC(Handle());
  SelectObject(dc, font_->Handle());
  SelectObject(dc, GetStockObject(DC_BRUSH));
  SetDCBrushColor(dc, ColorToRGB(color_));
  HideCaret();
  OnPaintTransient(this, dc, TransientType);
  ReleaseDC(Handle(), dc);
  UpdateCaret();
}

void TCustomCodeEdit::DoOnPaintTransient(TTransientType TransientType) {
  DoOnPaintTransientEx(TransientType, false);
}

void TCustomCodeEdit::DoOnPlaceMark(TCodeEditMark*& Mark) {
  if (OnPlaceBookmark) OnPlaceBookmark(this, Mark);
}

void TCustomCodeEdit::DoOnProcessCommand(TCodeEditorCommand& Command, char& AChar, void* Data) {
  if (Command < ecUserFirst) {
    if (OnProcessCommand) OnProcessCommand(this, Command, AChar, Data);
  } else if (OnProcessUserCommand) {
    OnProcessUserCommand(this, Command, AChar, Data);
  }
}

TCodeReplaceAction TCustomCodeEdit::DoOnReplaceText(const std::string& ASearch,
                                                    const std::string& AReplace, int Line,
                                                    int Column) {
  TCodeReplaceAction action = TCodeReplaceAction::raCancel;
  if (OnReplaceText) OnReplaceText(this, ASearch, AReplace, Line, Column, action);
  return action;
}

bool TCustomCodeEdit::DoOnSpecialLineColors(int Line, TColor& Foreground, TColor& Background) {
  bool special = false;
  if (OnSpecialLineColors) OnSpecialLineColors(this, Line, special, Foreground, Background);
  return special;
}

void TCustomCodeEdit::DoOnStatusChange(TCodeStatusChanges Changes) {
  if (!OnStatusChange) return;
  OnStatusChange(this, Changes);
  statusChanges_ = {};
}
