// Keyboard, mouse and scrolling input: key strokes and characters through the command
// pipeline, IME results, mouse selection and gutter clicks, drag and drop of text between
// editors, the auto-scroll timer, the scroll bars with their hint, the wheel and the cursor.
#include <windows.h>
#include <imm.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include "editor/CodeEdit.h"
#include "editor/CodeEditLineStates.h"
#include "editor/CodeEditScopes.h"
#include "editor/CodeEditStrConst.h"
#include "rtl/SysUtils.h"
#include "toolkit/KeyState.h"

namespace {
using namespace codeeditscopes;
using EO = TCodeEditorOption;
constexpr UINT_PTR kScrollTimerId = 1;
constexpr UINT kScrollTimerInterval = 100;
constexpr UINT_PTR kIdleScanTimerId = 2;
// Lines scanned between two looks at the message queue, and the longest slice of idle time
// taken at once.
constexpr int kIdleScanLines = 256;
constexpr auto kIdleScanSlice = std::chrono::milliseconds(8);
// The largest position a scroll bar takes; larger ranges are scaled down to it.
constexpr int kMaxScroll = 32767;
const char* const kScrollHintClass = "TCodeEditScrollHint";

// Shift and Ctrl as held now, Alt from the message (the context bit of a system key).
TShiftState KeyShiftState(LPARAM KeyData) {
  TShiftState shift;
  if (IsShiftDown()) shift.Include(TShift::ssShift);
  if (IsCtrlDown()) shift.Include(TShift::ssCtrl);
  if (KeyData & (1 << 29)) shift.Include(TShift::ssAlt);
  return shift;
}

TShiftState MouseShiftState(WPARAM Keys) {
  TShiftState shift;
  if (Keys & MK_SHIFT) shift.Include(TShift::ssShift);
  if (Keys & MK_CONTROL) shift.Include(TShift::ssCtrl);
  if (IsAltDown()) shift.Include(TShift::ssAlt);
  if (Keys & MK_LBUTTON) shift.Include(TShift::ssLeft);
  if (Keys & MK_RBUTTON) shift.Include(TShift::ssRight);
  if (Keys & MK_MBUTTON) shift.Include(TShift::ssMiddle);
  return shift;
}

POINT PointOf(LPARAM lParam) {
  return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

HCURSOR ArrowCursor() { return LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)); }

// The drag cursors: an arrow carrying a page, with a second page while copying.
// '#' black, '.' white, anything else transparent.
HCURSOR MakeDragCursor(bool Multiple) {
  static const char* const kArrow[] = {
      "#", "##", "#.#", "#..#", "#...#", "#....#", "#.....#", "#......#", "#.......#",
      "#........#", "#.....#####", "#..#..#", "#.# #..#", "##  #..#", "#    #..#",
      "     #..#", "      ##", "", "      ###########", "      #.........#",
      "      #.........#", "      #.........#", "      #.........#", "      ###########"};
  constexpr int kSize = 32, kStride = kSize / 8;
  BYTE andMask[kSize * kStride], xorMask[kSize * kStride];
  std::fill(std::begin(andMask), std::end(andMask), BYTE(0xFF));
  std::fill(std::begin(xorMask), std::end(xorMask), BYTE(0));
  auto put = [&](int X, int Y, char C) {
    if (X >= kSize || Y >= kSize || (C != '#' && C != '.')) return;
    BYTE bit = BYTE(0x80 >> (X % 8));
    andMask[Y * kStride + X / 8] &= BYTE(~bit);
    if (C == '.') xorMask[Y * kStride + X / 8] |= bit;
  };
  int rows = static_cast<int>(sizeof kArrow / sizeof kArrow[0]);
  for (int y = 0; y < rows; ++y)
    for (int x = 0; kArrow[y][x]; ++x) put(x, y, kArrow[y][x]);
  if (Multiple)
    for (int y = 0; y < 6; ++y)
      for (int x = 0; kArrow[rows - 6 + y][x]; ++x) put(x + 4, y + 18 + 4, kArrow[rows - 6 + y][x]);
  return CreateCursor(GetModuleHandleA(nullptr), 0, 0, kSize, kSize, andMask, xorMask);
}

HCURSOR DragCursor(bool Multiple) {
  static HCURSOR move = MakeDragCursor(false), copy = MakeDragCursor(true);
  return Multiple ? copy : move;
}

// The scroll hint: one small pop-up window shared by every editor.
LRESULT CALLBACK ScrollHintProc(HWND Wnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (Msg == WM_NCHITTEST) return HTTRANSPARENT;
  if (Msg != WM_PAINT) return DefWindowProcA(Wnd, Msg, wParam, lParam);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(Wnd, &ps);
  RECT r;
  GetClientRect(Wnd, &r);
  HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrA(Wnd, GWLP_USERDATA)));
  FillRect(dc, &r, brush);
  DeleteObject(brush);
  char text[64] = "";
  GetWindowTextA(Wnd, text, sizeof text);
  HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(clInfoText));
  InflateRect(&r, -2, -1);
  DrawTextA(dc, text, -1, &r, DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
  SelectObject(dc, old);
  EndPaint(Wnd, &ps);
  return 0;
}

HWND ScrollHintWindow() {
  static HWND hint = nullptr;
  if (hint && IsWindow(hint)) return hint;
  static bool registered = false;
  if (!registered) {
    WNDCLASSA wc = {};
    wc.style = CS_SAVEBITS;
    wc.lpfnWndProc = ScrollHintProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = ArrowCursor();
    wc.lpszClassName = kScrollHintClass;
    registered = RegisterClassA(&wc) != 0;
  }
  hint = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kScrollHintClass, "",
                         WS_POPUP | WS_BORDER, 0, 0, 0, 0, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
  return hint;
}

// The hint's size for Text, at most MaxWidth wide, border included.
SIZE MeasureHint(HWND Hint, const std::string& Text, int MaxWidth) {
  HDC dc = GetDC(Hint);
  HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  RECT r = {0, 0, MaxWidth, 0};
  DrawTextA(dc, Text.c_str(), -1, &r, DT_CALCRECT | DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
  SelectObject(dc, old);
  ReleaseDC(Hint, dc);
  return {r.right + 6, r.bottom + 4};
}

std::string FormatNumbers(const char* Format, int A, int B = 0) {
  char text[64];
  std::snprintf(text, sizeof text, Format, A, B);
  return text;
}

// Holds an undo list's lock (nothing is recorded) for a scope.
class TUndoLock {
public:
  explicit TUndoLock(TCodeEditUndoList& List) : list_(List) { list_.Lock(); }
  ~TUndoLock() { list_.Unlock(); }
  TUndoLock(const TUndoLock&) = delete;
  TUndoLock& operator=(const TUndoLock&) = delete;

private:
  TCodeEditUndoList& list_;
};

// The editor of a window, or nullptr (also for a window destroyed meanwhile).
TCustomCodeEdit* EditorOf(HWND Wnd) {
  return Wnd && IsWindow(Wnd) ? dynamic_cast<TCustomCodeEdit*>(TWinControl::FromHandle(Wnd))
                              : nullptr;
}

// The row limited to the text's rows (at least 1).
TDisplayCoord WithinRows(const TCustomCodeEdit& Edit, TDisplayCoord P) {
  P.Row = std::max(1, std::min(P.Row, std::max(1, Edit.DisplayRowCount())));
  return P;
}

POINT ClientPointOf(const TWinControl& From, const TWinControl& To, int X, int Y) {
  POINT p = {X, Y};
  MapWindowPoints(From.Handle(), To.Handle(), &p, 1);
  return p;
}
}  // namespace

// ---------------------------------------------------------------------------------------
// Handler chains

void TCustomCodeEdit::AddKeyDownHandler(const TCodeMethod<TKeyEvent>& Handler) {
  kbdHandler_->KeyDownChain().Add(Handler);
}
void TCustomCodeEdit::RemoveKeyDownHandler(const TCodeMethod<TKeyEvent>& Handler) {
  kbdHandler_->KeyDownChain().Remove(Handler);
}
void TCustomCodeEdit::AddKeyUpHandler(const TCodeMethod<TKeyEvent>& Handler) {
  kbdHandler_->KeyUpChain().Add(Handler);
}
void TCustomCodeEdit::RemoveKeyUpHandler(const TCodeMethod<TKeyEvent>& Handler) {
  kbdHandler_->KeyUpChain().Remove(Handler);
}
void TCustomCodeEdit::AddMouseDownHandler(const TCodeMethod<TMouseEvent>& Handler) {
  kbdHandler_->MouseDownChain().Add(Handler);
}
void TCustomCodeEdit::RemoveMouseDownHandler(const TCodeMethod<TMouseEvent>& Handler) {
  kbdHandler_->MouseDownChain().Remove(Handler);
}
void TCustomCodeEdit::AddMouseUpHandler(const TCodeMethod<TMouseEvent>& Handler) {
  kbdHandler_->MouseUpChain().Add(Handler);
}
void TCustomCodeEdit::RemoveMouseUpHandler(const TCodeMethod<TMouseEvent>& Handler) {
  kbdHandler_->MouseUpChain().Remove(Handler);
}
void TCustomCodeEdit::AddMouseCursorHandler(const TCodeMethod<TMouseCursorHandler>& Handler) {
  kbdHandler_->MouseCursorChain().Add(Handler);
}
void TCustomCodeEdit::RemoveMouseCursorHandler(const TCodeMethod<TMouseCursorHandler>& Handler) {
  kbdHandler_->MouseCursorChain().Remove(Handler);
}

// ---------------------------------------------------------------------------------------
// Messages

LRESULT TCustomCodeEdit::InputMessage(UINT Msg, WPARAM wParam, LPARAM lParam) {
  switch (Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      WmKeyDown(Msg, wParam, lParam);
      return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      WORD key = static_cast<WORD>(wParam);
      KeyUp(key, KeyShiftState(lParam));
      if (key != 0 && Msg == WM_SYSKEYUP) return TWinControl::WndProc(Msg, key, lParam);
      return 0;
    }
    case WM_CHAR: {
      char key = static_cast<char>(wParam);
      KeyPress(key);
      return 0;
    }
    case WM_MOUSEMOVE: {
      POINT p = PointOf(lParam);
      if (dragging_)
        DragMoveTo(p.x, p.y);
      else
        MouseMove(MouseShiftState(wParam), p.x, p.y);
      return 0;
    }
    case WM_MOUSEWHEEL:
      WmMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam));
      return 0;
    case WM_VSCROLL:
      WmVScroll(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_HSCROLL:
      WmHScroll(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT && reinterpret_cast<HWND>(wParam) == Handle()) {
        UpdateMouseCursor();
        return TRUE;
      }
      break;
    case WM_TIMER:
      if (wParam == kIdleScanTimerId) {
        IdleScanTimerHandler();
        return 0;
      }
      if (wParam != kScrollTimerId) break;
      ScrollTimerHandler();
      return 0;
    case WM_CAPTURECHANGED:
      StopScrollTimer();
      if (dragging_ && reinterpret_cast<HWND>(lParam) != Handle()) EndDrag(false, 0, 0);
      break;
    case WM_CANCELMODE:
      return 0;
    case WM_IME_COMPOSITION:
      WmImeComposition(lParam);
      break;
    case WM_IME_NOTIFY:
      WmImeNotify(wParam);
      break;
    default:
      WmMouseButton(Msg, wParam, lParam);
      return 0;
  }
  return TWinControl::WndProc(Msg, wParam, lParam);
}

void TCustomCodeEdit::WmKeyDown(UINT Msg, WPARAM wParam, LPARAM lParam) {
  WORD key = static_cast<WORD>(wParam);
  if (dragging_ && key == VK_ESCAPE) {
    EndDrag(false, 0, 0);
    return;
  }
  KeyDown(key, KeyShiftState(lParam));
  // Unused system keys still reach the window menu and Alt+F4.
  if (key != 0 && Msg == WM_SYSKEYDOWN) TWinControl::WndProc(Msg, key, lParam);
}

void TCustomCodeEdit::WmMouseButton(UINT Msg, WPARAM wParam, LPARAM lParam) {
  POINT p = PointOf(lParam);
  TShiftState shift = MouseShiftState(wParam);
  TShiftState twice = shift + TShiftState{TShift::ssDouble};
  switch (Msg) {
    case WM_LBUTTONDOWN:
      clicked_ = true;
      SetCapture(Handle());
      MouseDown(TMouseButton::mbLeft, shift, p.x, p.y);
      break;
    case WM_LBUTTONDBLCLK:
      clicked_ = false;
      SetCapture(Handle());
      DblClick(p.x, p.y);
      MouseDown(TMouseButton::mbLeft, twice, p.x, p.y);
      break;
    case WM_LBUTTONUP: {
      if (dragging_) {
        clicked_ = false;
        EndDrag(true, p.x, p.y);
        break;
      }
      RECT client = ClientRect();
      bool click = clicked_ && PtInRect(&client, p);
      clicked_ = false;
      if (click) Click();
      MouseUp(TMouseButton::mbLeft, shift, p.x, p.y);
      break;
    }
    case WM_RBUTTONDOWN: MouseDown(TMouseButton::mbRight, shift, p.x, p.y); break;
    case WM_RBUTTONDBLCLK: MouseDown(TMouseButton::mbRight, twice, p.x, p.y); break;
    case WM_RBUTTONUP: MouseUp(TMouseButton::mbRight, shift, p.x, p.y); break;
    case WM_MBUTTONDOWN: MouseDown(TMouseButton::mbMiddle, shift, p.x, p.y); break;
    case WM_MBUTTONDBLCLK: MouseDown(TMouseButton::mbMiddle, twice, p.x, p.y); break;
    case WM_MBUTTONUP: MouseUp(TMouseButton::mbMiddle, shift, p.x, p.y); break;
    default: break;
  }
}

// ---------------------------------------------------------------------------------------
// Keys

void TCustomCodeEdit::KeyDown(WORD& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
  kbdHandler_->ExecuteKeyDown(this, Key, Shift);
  void* data = nullptr;  // the table's translation makes no data block
  TCodeEditorCommand command = TranslateKeyCode(Key, Shift, data);
  if (command != ecNone) {
    Key = 0;
    stateFlags_.Include(TStateFlag::sfIgnoreNextChar);
    CommandProcessor(command, '\0', data);
  } else {
    stateFlags_.Exclude(TStateFlag::sfIgnoreNextChar);
  }
}

void TCustomCodeEdit::KeyUp(WORD& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
  kbdHandler_->ExecuteKeyUp(this, Key, Shift);
}

// The character message that follows a key stroke with a command, and those that follow an
// IME result string, are swallowed.
void TCustomCodeEdit::KeyPress(char& Key) {
  if (imeCount_ > 0) {
    --imeCount_;
    return;
  }
  if (stateFlags_.Contains(TStateFlag::sfIgnoreNextChar)) {
    stateFlags_.Exclude(TStateFlag::sfIgnoreNextChar);
    return;
  }
  if (OnKeyPress) OnKeyPress(this, Key);
  kbdHandler_->ExecuteKeyPress(this, Key);
  CommandProcessor(ecChar, Key, nullptr);
}

void TCustomCodeEdit::WmImeComposition(LPARAM lParam) {
  if (!(lParam & GCS_RESULTSTR)) return;
  HIMC imc = ImmGetContext(Handle());
  if (!imc) return;
  // Read wide: the 8-bit result would hold look-alikes where the code page lacks a character.
  const LONG bytes = ImmGetCompositionStringW(imc, GCS_RESULTSTR, nullptr, 0);
  if (bytes > 0) {
    std::wstring wide(static_cast<size_t>(bytes) / sizeof(wchar_t), L'\0');
    ImmGetCompositionStringW(imc, GCS_RESULTSTR, wide.data(), bytes);
    std::string text = WideToAnsi(wide);
    // The character messages that follow come one per byte of the 8-bit text.
    imeCount_ = static_cast<int>(text.size());
    CommandProcessor(ecImeStr, '\0', text.data());
  }
  ImmReleaseContext(Handle(), imc);
}

void TCustomCodeEdit::WmImeNotify(WPARAM wParam) {
  if (wParam != IMN_SETOPENSTATUS) return;
  HIMC imc = ImmGetContext(Handle());
  if (!imc) return;
  LOGFONTA font = {};
  if (GetObjectA(font_->Handle(), sizeof font, &font)) ImmSetCompositionFontA(imc, &font);
  ImmReleaseContext(Handle(), imc);
}

// ---------------------------------------------------------------------------------------
// Mouse

bool TCustomCodeEdit::MouseCaptured() const {
  // During a drag the mouse belongs to the drag, not to a selection in progress.
  return !dragging_ && HandleAllocated() && GetCapture() == Handle();
}

void TCustomCodeEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TBufferCoord savedBegin = blockBegin_, savedEnd = blockEnd_;
  bool wasSelection = false;
  if (Button == TMouseButton::mbLeft && SelAvail()) {
    wasSelection = true;
    mouseDownPos_ = {X, Y};
  }
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
  if (Button == TMouseButton::mbLeft && Shift.Contains(TShift::ssDouble)) return;
  kbdHandler_->ExecuteMouseDown(this, Button, Shift, X, Y);
  if (Button == TMouseButton::mbRight) {
    // The selection under a right click stays for a context menu.
    if (!HasOption(EO::eoRightMouseMovesCursor) ||
        IsPointInSelection(DisplayToBufferPos(PixelsToRowColumn(X, Y))))
      return;
    RepaintSelection();
    blockEnd_ = blockBegin_;
    PlaceCaretAtPoint(X, Y);
  } else if (Button == TMouseButton::mbLeft) {
    PlaceCaretAtPoint(X, Y);
  }
  bool startDrag = false;
  if (Button == TMouseButton::mbLeft) {
    // A drag takes the selection as it was before the caret moved.
    blockBegin_ = savedBegin;
    blockEnd_ = savedEnd;
    SetCapture(Handle());
    stateFlags_.Exclude(TStateFlag::sfWaitForDragging);
    startDrag = wasSelection && HasOption(EO::eoDragDropEditing) && X >= gutterWidth_ + 2 &&
                activeSelectionMode_ == TCodeSelectionMode::smNormal &&
                IsPointInSelection(DisplayToBufferPos(PixelsToRowColumn(X, Y)));
  }
  if (startDrag) {
    stateFlags_.Include(TStateFlag::sfWaitForDragging);
  } else if (!stateFlags_.Contains(TStateFlag::sfDblClicked)) {
    if (Shift.Contains(TShift::ssShift)) {
      SetBlockEnd(CaretXY());
    } else {
      if (HasOption(EO::eoAltSetsColumnMode) &&
          activeSelectionMode_ != TCodeSelectionMode::smLine)
        SetSelectionMode(Shift.Contains(TShift::ssAlt) ? TCodeSelectionMode::smColumn
                                                       : TCodeSelectionMode::smNormal);
      SetBlockBegin(CaretXY());
    }
  }
  if (X < gutterWidth_) stateFlags_.Include(TStateFlag::sfPossibleGutterClick);
  if (stateFlags_.Contains(TStateFlag::sfPossibleGutterClick) && Button == TMouseButton::mbRight)
    DoOnGutterClick(static_cast<int>(Button), X, Y);
  if (HandleAllocated()) ::SetFocus(Handle());
}

void TCustomCodeEdit::MouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
  if (MouseCaptured() && stateFlags_.Contains(TStateFlag::sfWaitForDragging)) {
    if (std::abs(mouseDownPos_.x - X) > GetSystemMetrics(SM_CXDRAG) ||
        std::abs(mouseDownPos_.y - Y) > GetSystemMetrics(SM_CYDRAG)) {
      stateFlags_.Exclude(TStateFlag::sfWaitForDragging);
      BeginDrag();
      DragMoveTo(X, Y);
    }
  } else if (Shift.Contains(TShift::ssLeft) && MouseCaptured()) {
    UpdateAutoScroll(X, Y);
    TDisplayCoord p = WithinRows(*this, PixelsToNearestDisplayPos(X, Y));
    if (scrollDeltaX_ != 0) p.Column = DisplayX();
    if (scrollDeltaY_ != 0) p.Row = DisplayY();
    SetInternalDisplayXY(p);
    SetBlockEnd(CaretXY());
    if (stateFlags_.Contains(TStateFlag::sfPossibleGutterClick) && blockBegin_.Line != caretY_)
      stateFlags_.Include(TStateFlag::sfGutterDragging);
  }
}

void TCustomCodeEdit::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
  kbdHandler_->ExecuteMouseUp(this, Button, Shift, X, Y);
  StopScrollTimer();
  if (GetCapture() == Handle() && HandleAllocated()) ReleaseCapture();
  if (stateFlags_.Contains(TStateFlag::sfPossibleGutterClick) && X < gutterWidth_ &&
      Button != TMouseButton::mbRight) {
    DoOnGutterClick(static_cast<int>(Button), X, Y);
  } else if (stateFlags_.Contains(TStateFlag::sfWaitForDragging) &&
             !stateFlags_.Contains(TStateFlag::sfDblClicked)) {
    // Pressed in the selection and released without dragging: an ordinary click.
    PlaceCaretAtPoint(X, Y);
    if (!Shift.Contains(TShift::ssShift)) SetBlockBegin(CaretXY());
    SetBlockEnd(CaretXY());
    stateFlags_.Exclude(TStateFlag::sfWaitForDragging);
  }
  stateFlags_.Exclude(TStateFlag::sfDblClicked);
  stateFlags_.Exclude(TStateFlag::sfPossibleGutterClick);
  stateFlags_.Exclude(TStateFlag::sfGutterDragging);
}

void TCustomCodeEdit::Click() {
  if (OnClick) OnClick(this);
}

void TCustomCodeEdit::DblClick(int X, int /*Y*/) {
  if (X < gutterWidth_ + 2) {
    if (OnDblClick) OnDblClick(this);
    return;
  }
  if (!HasOption(EO::eoNoSelection)) SetWordBlock(CaretXY());
  if (OnDblClick) OnDblClick(this);
  stateFlags_.Include(TStateFlag::sfDblClicked);
  if (GetCapture() == Handle()) ReleaseCapture();
}

void TCustomCodeEdit::PlaceCaretAtPoint(int X, int Y) {
  SetInternalDisplayXY(WithinRows(*this, PixelsToNearestDisplayPos(X, Y)));
}

void TCustomCodeEdit::UpdateMouseCursor() {
  POINT p = {};
  GetCursorPos(&p);
  ScreenToClient(Handle(), &p);
  if (p.x < gutterWidth_) {
    ::SetCursor(gutter_->Cursor() ? gutter_->Cursor() : ArrowCursor());
    return;
  }
  TBufferCoord at = DisplayToBufferPos(PixelsToRowColumn(p.x, p.y));
  HCURSOR cursor = cursor_;
  if (HasOption(EO::eoDragDropEditing) && !MouseCaptured() && IsPointInSelection(at))
    cursor = ArrowCursor();
  if (OnMouseCursor) OnMouseCursor(this, at, cursor);
  kbdHandler_->ExecuteMouseCursor(this, at, cursor);
  ::SetCursor(cursor);
}

// ---------------------------------------------------------------------------------------
// Idle scanning of line states

void TCustomCodeEdit::StartIdleScan() {
  if (idleScanOn_ || !highlighter_ || !HandleAllocated()) return;
  if (lines_->RangesScanned(highlighter_) >= lines_->Count()) return;
  idleScanOn_ = SetTimer(Handle(), kIdleScanTimerId, USER_TIMER_MINIMUM, nullptr) != 0;
}

void TCustomCodeEdit::StopIdleScan() {
  if (!idleScanOn_) return;
  idleScanOn_ = false;
  if (HandleAllocated()) KillTimer(Handle(), kIdleScanTimerId);
}

// Scans until a message waits (the timer's own next tick included) or the slice is over.
void TCustomCodeEdit::IdleScanTimerHandler() {
  const auto end = std::chrono::steady_clock::now() + kIdleScanSlice;
  do {
    if (!highlighter_ || ScanMoreLineStates(*highlighter_, *lines_, kIdleScanLines)) {
      StopIdleScan();
      return;
    }
  } while (HIWORD(GetQueueStatus(QS_ALLINPUT)) == 0 && std::chrono::steady_clock::now() < end);
}

// ---------------------------------------------------------------------------------------
// Auto-scroll

void TCustomCodeEdit::StopScrollTimer() {
  if (!scrollTimerOn_) return;
  scrollTimerOn_ = false;
  if (HandleAllocated()) KillTimer(Handle(), kScrollTimerId);
}

void TCustomCodeEdit::UpdateAutoScroll(int X, int Y) {
  if (!MouseCaptured() && !dragging_) {
    StopScrollTimer();
    return;
  }
  RECT text = {gutterWidth_, 0, gutterWidth_ + charsInWindow_ * charWidth_,
               linesInWindow_ * lineHeight_};
  if (borderStyle_ == TBorderStyle::bsNone) InflateRect(&text, -2, -2);
  int cw = std::max(1, charWidth_), lh = std::max(1, lineHeight_);
  if (X < text.left)
    scrollDeltaX_ = (X - text.left) / cw - 1;
  else if (X >= text.right)
    scrollDeltaX_ = (X - text.right) / cw + 1;
  else
    scrollDeltaX_ = 0;
  if (Y < text.top)
    scrollDeltaY_ = (Y - text.top) / lh - 1;
  else if (Y >= text.bottom)
    scrollDeltaY_ = (Y - text.bottom) / lh + 1;
  else
    scrollDeltaY_ = 0;
  if (scrollDeltaX_ == 0 && scrollDeltaY_ == 0) {
    StopScrollTimer();
  } else if (!scrollTimerOn_ && HandleAllocated()) {
    scrollTimerOn_ = SetTimer(Handle(), kScrollTimerId, kScrollTimerInterval, nullptr) != 0;
  }
}

void TCustomCodeEdit::ScrollTimerHandler() {
  if (!HandleAllocated()) return;
  POINT mouse = {};
  GetCursorPos(&mouse);
  ScreenToClient(Handle(), &mouse);
  TDisplayCoord p = WithinRows(*this, PixelsToRowColumn(mouse.x, mouse.y));
  if (scrollDeltaX_ != 0) {
    SetLeftChar(leftChar_ + scrollDeltaX_);
    p.Column = leftChar_ + (scrollDeltaX_ > 0 ? charsInWindow_ : 0);
  }
  if (scrollDeltaY_ != 0) {
    SetTopLine(topLine_ + (IsShiftDown() ? scrollDeltaY_ * linesInWindow_ : scrollDeltaY_));
    p.Row = topLine_ + (scrollDeltaY_ > 0 ? linesInWindow_ - 1 : 0);
    p = WithinRows(*this, p);
  }
  TBufferCoord target = DisplayToBufferPos(p);
  if (target != CaretXY()) {
    TPaintLock lock(*this);
    InternalSetCaretXY(target);
    if (MouseCaptured()) SetBlockEnd(CaretXY());
  }
  UpdateAutoScroll(mouse.x, mouse.y);
}

// ---------------------------------------------------------------------------------------
// Drag and drop of text. The source keeps the mouse captured and tells the editor under
// the mouse (itself included) of the drag; only editors take part.

void TCustomCodeEdit::BeginDrag() {
  dragging_ = true;
  dragTarget_ = nullptr;
  dragAccepted_ = false;
  SetCapture(Handle());
}

void TCustomCodeEdit::DragMoveTo(int X, int Y) {
  POINT screen = {X, Y};
  ClientToScreen(Handle(), &screen);
  TCustomCodeEdit* target = EditorOf(WindowFromPoint(screen));
  TCustomCodeEdit* previous = EditorOf(dragTarget_);
  if (previous && previous != target) {
    bool ignored = false;
    POINT p = ClientPointOf(*this, *previous, X, Y);
    previous->DragOver(this, p.x, p.y, TDragState::dsDragLeave, ignored);
  }
  TDragState state = target == previous ? TDragState::dsDragMove : TDragState::dsDragEnter;
  dragTarget_ = target ? target->Handle() : nullptr;
  dragAccepted_ = false;
  if (target) {
    POINT p = ClientPointOf(*this, *target, X, Y);
    target->DragOver(this, p.x, p.y, state, dragAccepted_);
  }
  ::SetCursor(dragAccepted_ ? DragCursor(IsCtrlDown())
                            : LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_NO)));
}

void TCustomCodeEdit::EndDrag(bool Drop, int X, int Y) {
  if (!dragging_) return;
  TCustomCodeEdit* target = EditorOf(dragTarget_);
  bool accepted = dragAccepted_;
  dragging_ = false;
  dragTarget_ = nullptr;
  dragAccepted_ = false;
  if (GetCapture() == Handle()) ReleaseCapture();
  if (Drop && target && accepted) {
    POINT p = ClientPointOf(*this, *target, X, Y);
    target->DragDrop(this, p.x, p.y);
  }
  StopScrollTimer();
}

void TCustomCodeEdit::DragOver(TCustomCodeEdit* Source, int X, int Y, TDragState State,
                               bool& Accept) {
  if (!Source || ReadOnly()) return;
  Accept = true;
  if (dragging_) {
    if (State == TDragState::dsDragLeave) return;
    TDisplayCoord p = PixelsToNearestDisplayPos(X, Y);
    p.Column = std::max(leftChar_, std::min(p.Column, leftChar_ + charsInWindow_ - 1));
    p.Row = std::max(topLine_, std::min(p.Row, topLine_ + linesInWindow_ - 1));
    InternalSetCaretXY(DisplayToBufferPos(p));
    UpdateAutoScroll(X, Y);
  } else {
    PlaceCaretAtPoint(X, Y);
  }
}

void TCustomCodeEdit::DragDrop(TCustomCodeEdit* Source, int X, int Y) {
  if (ReadOnly() || !Source || !Source->SelAvail()) return;
  TPaintLock lock(*this);
  if (OnDragDrop) OnDragDrop(this, Source, X, Y);
  PlaceCaretAtPoint(X, Y);
  DropTextFrom(*Source, CaretXY());
}

// Within one control the text moves unless Ctrl is held; from another it is copied unless
// Shift is held. A drop onto the dragged text itself does nothing.
bool TCustomCodeEdit::DropTextFrom(TCustomCodeEdit& Source, const TBufferCoord& DropPoint) {
  bool self = &Source == this;
  bool move = self ? !IsCtrlDown() : IsShiftDown();
  TBufferCoord drop = DropPoint;
  TBufferCoord begin = ClampToLineEnd(BlockBegin()), end = ClampToLineEnd(BlockEnd());
  bool dropAfter = false;
  if (self) {
    dropAfter = drop > BlockEnd() || (!move && drop == BlockEnd());
    bool dropBefore = drop < BlockBegin() || (!move && drop == BlockBegin());
    if (!dropAfter && !dropBefore) return false;
  }
  std::string text = Source.SelText();
  // A selection wholly past its line's end holds nothing to drop.
  if (text.empty()) return false;
  TUndoBlock block(*undoList_);
  if (move) {
    Source.SetSelText(std::string());
    // The removed text joined the selection's last line to its first: a drop behind it
    // moves back by what was removed, on the end line onto the begin line.
    if (self && dropAfter) {
      if (drop.Line == end.Line)
        drop = {begin.Char + std::max(0, drop.Char - end.Char), begin.Line};
      else
        drop.Line -= end.Line - begin.Line;
    }
  }
  TBufferCoord start, inserted;
  {
    // The text goes in at the drop point itself, which may lie past the line end for the
    // moment, or past a scroll width that does not grow.
    TRestore<TCodeEditorOptions> pastEol(options_, options_ + TCodeEditorOptions{EO::eoScrollPastEol});
    TRestore<bool> exact(replaying_, true);
    InternalSetCaretXY(drop);
    SetBlockBegin(drop);
    TUndoLock unrecorded(*undoList_);
    inserted = SetSelTextPrimitive(TCodeSelectionMode::smNormal, text, false, &start);
  }
  // From where the text starts: blanks that filled a gap before the drop point go with it.
  undoList_->AddChange(self ? urDragDropInsert : urInsert, start, inserted, std::string(),
                       uint8_t(TCodeSelectionMode::smNormal));
  blockBegin_ = blockEnd_ = CaretXY();
  CommandProcessor(ecSelGotoXY, '\0', &drop);
  return true;
}

// ---------------------------------------------------------------------------------------
// Scroll bars and wheel

int TCustomCodeEdit::VertScrollMax() const {
  int max = std::max(1, DisplayRowCount());
  if (HasOption(EO::eoScrollPastEof)) max += linesInWindow_ - 1;
  return max;
}

int TCustomCodeEdit::HorzScrollMax() const {
  return HasOption(EO::eoScrollPastEol) ? maxScrollWidth_
                                        : std::max(1, lines_->GetLengthOfLongestLine());
}

void TCustomCodeEdit::WmVScroll(int Code, int Pos) {
  int oneLess = HasOption(EO::eoScrollByOneLess) ? 1 : 0;
  switch (Code) {
    case SB_TOP: SetTopLine(1); break;
    case SB_BOTTOM: SetTopLine(DisplayRowCount()); break;
    case SB_LINEDOWN: SetTopLine(topLine_ + 1); break;
    case SB_LINEUP: SetTopLine(topLine_ - 1); break;
    case SB_PAGEDOWN: SetTopLine(topLine_ + linesInWindow_ - oneLess); break;
    case SB_PAGEUP: SetTopLine(topLine_ - linesInWindow_ + oneLess); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
      isScrolling_ = true;
      // The bar shows the same maximum that UpdateScrollBars set, scaled alike.
      int max = VertScrollMax();
      SetTopLine(max > kMaxScroll ? MulDiv(max, Pos, kMaxScroll) : Pos);
      if (HasOption(EO::eoShowScrollHint)) ShowScrollHint(Pos);
      break;
    }
    case SB_ENDSCROLL:
      isScrolling_ = false;
      if (HasOption(EO::eoShowScrollHint)) ShowWindow(ScrollHintWindow(), SW_HIDE);
      break;
    default: break;
  }
  UpdateWindowNow();
  if (OnScroll) OnScroll(this, TScrollBarKind::sbVertical);
}

void TCustomCodeEdit::ShowScrollHint(int ThumbPos) {
  HWND hint = ScrollHintWindow();
  if (!hint) return;
  std::string text;
  if (scrollHintFormat_ == TScrollHintFormat::shfTopLineOnly)
    text = FormatNumbers(CES_ScrollInfoFmtTop, LineOfRow(topLine_));
  else
    text = FormatNumbers(CES_ScrollInfoFmt, LineOfRow(topLine_),
                         LineOfRow(std::min(topLine_ + linesInWindow_ - 1, DisplayRowCount())));
  SIZE size = MeasureHint(hint, text, 200);
  RECT client = ClientRect();
  int y = 10;
  if (HasOption(EO::eoScrollHintFollows)) {
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE;
    GetScrollInfo(Handle(), SB_VERT, &si);
    int arrow = GetSystemMetrics(SM_CYVSCROLL);
    int track = std::max(0, static_cast<int>(client.bottom) - 2 * arrow);
    y = arrow + MulDiv(ThumbPos - si.nMin, track, std::max(1, si.nMax - si.nMin + 1));
  }
  POINT at = {client.right - size.cx - 4, y};
  ClientToScreen(Handle(), &at);
  SetWindowTextA(hint, text.c_str());
  SetWindowLongPtrA(hint, GWLP_USERDATA, static_cast<LONG_PTR>(ColorToRGB(scrollHintColor_)));
  SetWindowPos(hint, HWND_TOPMOST, at.x, at.y, size.cx, size.cy,
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
  ::InvalidateRect(hint, nullptr, TRUE);
  UpdateWindow(hint);
}

void TCustomCodeEdit::WmHScroll(int Code, int Pos) {
  int oneLess = HasOption(EO::eoScrollByOneLess) ? 1 : 0;
  switch (Code) {
    case SB_LEFT: SetLeftChar(1); break;
    case SB_RIGHT:
      SetLeftChar(HasOption(EO::eoScrollPastEol) ? maxScrollWidth_ - charsInWindow_ + 1
                                                 : lines_->GetLengthOfLongestLine());
      break;
    case SB_LINERIGHT: SetLeftChar(leftChar_ + 1); break;
    case SB_LINELEFT: SetLeftChar(leftChar_ - 1); break;
    case SB_PAGERIGHT: SetLeftChar(leftChar_ + charsInWindow_ - oneLess); break;
    case SB_PAGELEFT: SetLeftChar(leftChar_ - charsInWindow_ + oneLess); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
      isScrolling_ = true;
      int max = HorzScrollMax();
      SetLeftChar(max > kMaxScroll ? MulDiv(max, Pos, kMaxScroll) : Pos);
      break;
    }
    case SB_ENDSCROLL: isScrolling_ = false; break;
    default: break;
  }
  if (OnScroll) OnScroll(this, TScrollBarKind::sbHorizontal);
}

void TCustomCodeEdit::WmMouseWheel(int WheelDelta) {
  int step;
  if (IsCtrlDown()) {
    step = HasOption(EO::eoHalfPageScroll) ? linesInWindow_ / 2 : linesInWindow_;
  } else {
    UINT lines = 3;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    step = lines == WHEEL_PAGESCROLL ? -1 : static_cast<int>(lines);
  }
  if (step == -1 || step > linesInWindow_) step = linesInWindow_;
  wheelAccumulator_ += WheelDelta;
  int clicks = wheelAccumulator_ / WHEEL_DELTA;
  wheelAccumulator_ %= WHEEL_DELTA;
  SetTopLine(topLine_ - step * clicks);
  UpdateWindowNow();
  if (OnScroll) OnScroll(this, TScrollBarKind::sbVertical);
}
