// The editor control in a real top-level window, driven by window messages.
#include <gtest/gtest.h>
#include <windows.h>
#include <imm.h>
#include <shlobj.h>
#include <cstring>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>
#include "editor/CodeEditTestFixture.h"
#include "support/ModalAnswers.h"
#include "support/WideDrop.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/KeyState.h"

using namespace codeedittest;
using EO = TCodeEditorOption;

namespace {

// Holds keys for every key-state read of the control while in scope.
class THeldKeys {
public:
  explicit THeldKeys(std::vector<int> Keys) : keys_(std::move(Keys)) {
    SetKeyStateOverride(
        [this](int Key) { return std::find(keys_.begin(), keys_.end(), Key) != keys_.end(); });
  }
  ~THeldKeys() { SetKeyStateOverride(nullptr); }
  THeldKeys(const THeldKeys&) = delete;
  THeldKeys& operator=(const THeldKeys&) = delete;

private:
  std::vector<int> keys_;
};

void Pump() { Application().ProcessMessages(); }

// A shown form holding one editor at its top left; more editors can join it.
class TEditWindow {
public:
  explicit TEditWindow(const std::string& Text, TCodeEditorOptions Options = CodeEditDefaultOptions)
      : form_(nullptr, TForm::CreateArgs{"Input test", 700, 500}) {
    form_.Show();
    // Drops find their target under the mouse: no other test program's window may cover it.
    SetWindowPos(form_.Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    edit = AddEdit(Text, 0, Options);
    SetForegroundWindow(form_.Handle());
    ::SetFocus(edit->Handle());
    Pump();
  }
  ~TEditWindow() { SetKeyStateOverride(nullptr); }

  std::unique_ptr<TTestEdit> AddEdit(const std::string& Text, int Left,
                                     TCodeEditorOptions Options = CodeEditDefaultOptions) {
    auto e = MakeEdit(Text, Options);
    e->CreateWnd(form_.Handle(), Left, 0, 320, 300);
    return e;
  }

private:
  TForm form_;

public:
  std::unique_ptr<TTestEdit> edit;  // destroyed before the form
};

LRESULT Send(TCustomCodeEdit& Edit, UINT Msg, WPARAM wParam = 0, LPARAM lParam = 0) {
  return SendMessageA(Edit.Handle(), Msg, wParam, lParam);
}

// One key stroke as the message loop delivers it: key down, its character, key up.
void KeyStroke(TCustomCodeEdit& Edit, WORD Key, char Char = '\0', bool Alt = false) {
  LPARAM data = 1 | (Alt ? (1 << 29) : 0);
  Send(Edit, Alt ? WM_SYSKEYDOWN : WM_KEYDOWN, Key, data);
  if (Char) Send(Edit, WM_CHAR, static_cast<unsigned char>(Char), data);
  Send(Edit, Alt ? WM_SYSKEYUP : WM_KEYUP, Key, data | (1u << 31) | (1 << 30));
}

void TypeText(TCustomCodeEdit& Edit, const std::string& Text) {
  for (char c : Text) KeyStroke(Edit, static_cast<WORD>(VkKeyScanA(c) & 0xFF), c);
}

// The client pixel of a buffer position: the left edge of its character, mid-row.
POINT Pixel(const TCustomCodeEdit& Edit, TBufferCoord P) {
  TDisplayCoord d = Edit.BufferToDisplayPos(P);
  return {Edit.GutterWidth() + 2 + (d.Column - Edit.LeftChar()) * Edit.CharWidth(),
          (d.Row - Edit.TopLine()) * Edit.LineHeight() + Edit.LineHeight() / 2};
}

LPARAM At(POINT P) { return MAKELPARAM(P.x, P.y); }

void Press(TCustomCodeEdit& Edit, POINT P, WPARAM Keys = 0) {
  Send(Edit, WM_LBUTTONDOWN, MK_LBUTTON | Keys, At(P));
}
void MoveTo(TCustomCodeEdit& Edit, POINT P, WPARAM Keys = 0) {
  Send(Edit, WM_MOUSEMOVE, MK_LBUTTON | Keys, At(P));
}
void Release(TCustomCodeEdit& Edit, POINT P, WPARAM Keys = 0) {
  Send(Edit, WM_LBUTTONUP, Keys, At(P));
}
void ClickAt(TCustomCodeEdit& Edit, POINT P, WPARAM Keys = 0) {
  Press(Edit, P, Keys);
  Release(Edit, P, Keys);
}

// Presses in Source at From, moves past the drag distance, then to To (a point of Target's
// client area) and releases there.
void DragText(TCustomCodeEdit& Source, POINT From, TCustomCodeEdit& Target, POINT To) {
  MapWindowPoints(Target.Handle(), Source.Handle(), &To, 1);
  Press(Source, From);
  MoveTo(Source, {From.x + 3 * GetSystemMetrics(SM_CXDRAG) + 6, From.y});
  MoveTo(Source, To);
  Release(Source, To);
}

std::vector<std::string> LinesOf(const TCustomCodeEdit& Edit) {
  std::vector<std::string> lines;
  for (int i = 0; i < Edit.Lines().Count(); ++i) lines.push_back(Edit.Lines().Get(i));
  return lines;
}

std::string NumberedLines(int Count) {
  std::string text;
  for (int i = 1; i <= Count; ++i) text += "line " + std::to_string(i) + "\r\n";
  return text;
}

WPARAM Wheel(int Delta) { return MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(Delta))); }

int WheelLines() {
  UINT lines = 3;
  SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  return static_cast<int>(lines);
}

SCROLLINFO BarInfo(const TCustomCodeEdit& Edit, int Bar) {
  SCROLLINFO si = {};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  GetScrollInfo(Edit.Handle(), Bar, &si);
  return si;
}

// Records the order of the handlers called on the chains.
struct TChainRecorder {
  std::vector<std::string>* log;
  std::string name;
  bool handle = false;
  TCustomCodeEdit* resend = nullptr;
  void KeyDown(TObject*, WORD& Key, TShiftState) {
    log->push_back(name);
    if (resend) KeyStroke(*resend, VK_LEFT);  // the chain must not run again inside
    if (handle) Key = 0;
  }
  void MouseUp(TObject*, TMouseButton, TShiftState, int, int) { log->push_back(name); }
  void MouseDownOnly(TObject*, TMouseButton, TShiftState, int, int) { log->push_back("down"); }
  void Cursor(TObject*, const TBufferCoord&, HCURSOR& ACursor) {
    log->push_back(name);
    ACursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_CROSS));
  }
};

}  // namespace

// --- Keyboard ----------------------------------------------------------------------------

TEST(CodeEditKeyboard, TypedKeysBuildTheTextAndEnterBreaksTheLine) {
  TEditWindow w("");
  TypeText(*w.edit, "Hi");
  KeyStroke(*w.edit, VK_RETURN, '\r');
  TypeText(*w.edit, "yo!");
  EXPECT_EQ(LinesOf(*w.edit), (std::vector<std::string>{"Hi", "yo!"}));
  EXPECT_EQ(w.edit->CaretXY(), (TBufferCoord{4, 2}));
}

TEST(CodeEditKeyboard, AKeyWithACommandNeverAlsoTypesItsCharacter) {
  TEditWindow w("abc");
  w.edit->Keystrokes().AddKey(ecLineEnd, 'Q', {});
  KeyStroke(*w.edit, 'Q', 'q');
  EXPECT_EQ(LinesOf(*w.edit), std::vector<std::string>{"abc"});
  EXPECT_EQ(w.edit->CaretX(), 4);
  KeyStroke(*w.edit, 'X', 'x');  // the next plain key types again
  EXPECT_EQ(LinesOf(*w.edit), std::vector<std::string>{"abcx"});
}

TEST(CodeEditKeyboard, ModifiersReachTheKeystrokeTable) {
  TEditWindow w("one two");
  {
    THeldKeys shift({VK_SHIFT});
    KeyStroke(*w.edit, VK_END);
  }
  EXPECT_EQ(w.edit->SelText(), "one two");
  TypeText(*w.edit, "x");
  EXPECT_EQ(LinesOf(*w.edit), std::vector<std::string>{"x"});
  KeyStroke(*w.edit, VK_BACK, '\b', true);  // Alt+Backspace: undo, from the system key
  EXPECT_EQ(LinesOf(*w.edit), std::vector<std::string>{"one two"});
  {
    THeldKeys ctrl({VK_CONTROL});
    KeyStroke(*w.edit, 'A', '\x01');
  }
  EXPECT_EQ(w.edit->SelText(), "one two");
}

TEST(CodeEditKeyboard, WithAnEmptyTableArrowKeysDoNothing) {
  TEditWindow w("abc");
  w.edit->Keystrokes().Clear();
  KeyStroke(*w.edit, VK_RIGHT);
  KeyStroke(*w.edit, VK_DOWN);
  EXPECT_EQ(w.edit->CaretXY(), (TBufferCoord{1, 1}));
  EXPECT_EQ(LinesOf(*w.edit), std::vector<std::string>{"abc"});
}

TEST(CodeEditKeyboard, PostedKeysAreTranslatedByTheMessageLoop) {
  TEditWindow w("");
  UINT scan = MapVirtualKeyA('K', 0);
  PostMessageA(w.edit->Handle(), WM_KEYDOWN, 'K', 1 | (scan << 16));
  PostMessageA(w.edit->Handle(), WM_KEYUP, 'K', 1 | (scan << 16) | (1u << 30) | (1u << 31));
  EXPECT_TRUE(Application().ProcessMessagesUntil([&] { return w.edit->Lines().Count() > 0 &&
                                                              !w.edit->Lines().Get(0).empty(); },
                                                 2000));
  EXPECT_EQ(LinesOf(*w.edit), std::vector<std::string>{"k"});
}

TEST(CodeEditKeyboard, AnInputMethodsTextIsTypedWithQuestionMarksForWhatTheCodePageLacks) {
  TEditWindow w("");
  HIMC imc = ImmGetContext(w.edit->Handle());
  ASSERT_TRUE(imc);
  std::wstring composed = L"\u03A9\u00E4\u20AC";
  ImmSetCompositionStringW(imc, SCS_SETSTR, composed.data(),
                           static_cast<DWORD>(composed.size() * sizeof(wchar_t)), nullptr, 0);
  ImmNotifyIME(imc, NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
  ImmReleaseContext(w.edit->Handle(), imc);
  Pump();
  EXPECT_EQ(LinesOf(*w.edit), std::vector<std::string>{"?\xE4\x80"});
}

TEST(CodeEditKeyboard, KeyChainsRunLatestFirstOnceAndStopWhenHandled) {
  TEditWindow w("abc");
  w.edit->SetCaretXY({2, 1});
  std::vector<std::string> log;
  w.edit->OnKeyDown = [&](TObject*, WORD&, TShiftState) { log.push_back("event"); };
  TChainRecorder first{&log, "first"}, second{&log, "second", true, w.edit.get()};
  w.edit->AddKeyDownHandler(TCodeMethod<TKeyEvent>(&first, &TChainRecorder::KeyDown));
  w.edit->AddKeyDownHandler(TCodeMethod<TKeyEvent>(&second, &TChainRecorder::KeyDown));
  KeyStroke(*w.edit, VK_RIGHT);
  // The inner key stroke skipped the running chain but ran the event and the command.
  EXPECT_EQ(log, (std::vector<std::string>{"event", "second", "event"}));
  EXPECT_EQ(w.edit->CaretX(), 1) << "the inner Left ran; the handled Right did not";
  log.clear();
  w.edit->RemoveKeyDownHandler(TCodeMethod<TKeyEvent>(&second, &TChainRecorder::KeyDown));
  KeyStroke(*w.edit, VK_RIGHT);
  EXPECT_EQ(log, (std::vector<std::string>{"event", "first"}));
  EXPECT_EQ(w.edit->CaretX(), 2);
}

// --- Mouse -------------------------------------------------------------------------------

TEST(CodeEditMouse, ClickPlacesTheCaretAndDraggingSelects) {
  TEditWindow w("alpha beta\r\ngamma delta\r\nepsilon");
  TCustomCodeEdit& e = *w.edit;
  ClickAt(e, Pixel(e, {3, 1}));
  EXPECT_EQ(e.CaretXY(), (TBufferCoord{3, 1}));
  EXPECT_EQ(GetFocus(), e.Handle());
  Press(e, Pixel(e, {1, 2}));
  MoveTo(e, Pixel(e, {6, 2}));
  MoveTo(e, Pixel(e, {3, 3}));
  Release(e, Pixel(e, {3, 3}));
  EXPECT_EQ(e.SelText(), "gamma delta\r\nep");
  EXPECT_EQ(e.CaretXY(), (TBufferCoord{3, 3}));
  EXPECT_EQ(GetCapture(), nullptr);
  ClickAt(e, Pixel(e, {5, 1}), MK_SHIFT);  // extends from the anchor
  EXPECT_EQ(e.SelText(), "a beta\r\n");
  ClickAt(e, Pixel(e, {40, 3}));  // beyond the last character: past the line end
  EXPECT_FALSE(e.SelAvail());
  EXPECT_EQ(e.CaretY(), 3);
}

TEST(CodeEditMouse, DoubleClickSelectsTheWordAndReportsWhatATripleClickNeeds) {
  TEditWindow w("one two three");
  TCustomCodeEdit& e = *w.edit;
  std::vector<std::string> log;
  e.OnClick = [&](TObject*) { log.push_back("click"); };
  e.OnDblClick = [&](TObject*) { log.push_back("dblclick"); };
  e.OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { log.push_back("up"); };
  POINT p = Pixel(e, {6, 1});
  ClickAt(e, p);
  Send(e, WM_LBUTTONDBLCLK, MK_LBUTTON, At(p));
  Release(e, p);
  EXPECT_EQ(e.SelText(), "two") << "the release ends the double click and keeps the word";
  ClickAt(e, p);
  EXPECT_EQ(log, (std::vector<std::string>{"click", "up", "dblclick", "up", "click", "up"}));
  EXPECT_FALSE(e.SelAvail());
}

TEST(CodeEditMouse, ReleaseInASelectionWithoutMovingDropsItUnlessShiftKeepsTheAnchor) {
  TEditWindow w("some words here");
  TCustomCodeEdit& e = *w.edit;
  Select(e, {1, 1}, {11, 1});
  ClickAt(e, Pixel(e, {3, 1}));
  EXPECT_FALSE(e.SelAvail());
  EXPECT_EQ(e.CaretXY(), (TBufferCoord{3, 1}));
  Select(e, {1, 1}, {11, 1});
  Press(e, Pixel(e, {4, 1}));
  Release(e, Pixel(e, {4, 1}), MK_SHIFT);
  EXPECT_EQ(e.SelText(), "som");
}

TEST(CodeEditMouse, GutterClickPassesTheLineAndTheMarkUnderTheClick) {
  TEditWindow w(NumberedLines(5));
  TCustomCodeEdit& e = *w.edit;
  ASSERT_GE(e.GutterWidth(), 25);
  e.SetBookMark(1, 1, 2);
  e.SetBookMark(2, 1, 2);
  TCodeEditMark* first = e.Marks().Items(0);
  TCodeEditMark* second = e.Marks().Items(1);
  int line = 0;
  TCodeEditMark* mark = nullptr;
  int clicks = 0;
  e.OnGutterClick = [&](TObject*, int, int, int, int ALine, TCodeEditMark* AMark) {
    ++clicks;
    line = ALine;
    mark = AMark;
  };
  int y2 = Pixel(e, {1, 2}).y;
  ClickAt(e, {5, y2});
  EXPECT_EQ(line, 2);
  EXPECT_EQ(mark, first);
  ClickAt(e, {15, y2});
  EXPECT_EQ(mark, second);
  ClickAt(e, {e.GutterWidth() - 2, y2});
  EXPECT_EQ(mark, nullptr) << "beyond the marks";
  ClickAt(e, {5, Pixel(e, {1, 4}).y});
  EXPECT_EQ(line, 4);
  EXPECT_EQ(mark, nullptr);
  EXPECT_EQ(clicks, 4);
}

TEST(CodeEditMouse, HoldingTheButtonBelowTheTextScrollsAndExtendsTheSelection) {
  TEditWindow w(NumberedLines(300));
  TCustomCodeEdit& e = *w.edit;
  int rows = e.LinesInWindow();
  Press(e, Pixel(e, {1, 2}));
  POINT below = {60, e.ClientRect().bottom + 4};
  POINT screen = below;
  ClientToScreen(e.Handle(), &screen);
  SetCursorPos(screen.x, screen.y);
  MoveTo(e, below);
  ASSERT_TRUE(Application().ProcessMessagesUntil([&] { return e.TopLine() >= 4; }, 3000));
  EXPECT_EQ(e.CaretY(), e.TopLine() + rows - 1);
  EXPECT_EQ(e.BlockBegin(), (TBufferCoord{1, 2}));
  EXPECT_EQ(e.BlockEnd(), e.CaretXY());
  {
    THeldKeys shift({VK_SHIFT});  // a page per tick
    int top = e.TopLine();
    EXPECT_TRUE(
        Application().ProcessMessagesUntil([&] { return e.TopLine() >= top + 2 * rows; }, 1000));
  }
  Release(e, below);
  int top = e.TopLine();
  Application().ProcessMessagesUntil([] { return false; }, 300);
  EXPECT_EQ(e.TopLine(), top) << "the release stops the timer";
}

TEST(CodeEditMouse, CursorIsAnArrowOverTheSelectionAndHandlersMayChangeIt) {
  TEditWindow w("drag me please");
  TCustomCodeEdit& e = *w.edit;
  Select(e, {1, 1}, {8, 1});
  auto cursorOver = [&](TBufferCoord P) {
    POINT p = Pixel(e, P);
    p.x += 2;
    ClientToScreen(e.Handle(), &p);
    SetCursorPos(p.x, p.y);
    Send(e, WM_SETCURSOR, reinterpret_cast<WPARAM>(e.Handle()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
  };
  EXPECT_EQ(cursorOver({3, 1}), LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
  EXPECT_EQ(cursorOver({12, 1}), e.Cursor());
  std::vector<std::string> log;
  TChainRecorder recorder{&log, "cursor"};
  e.AddMouseCursorHandler(TCodeMethod<TMouseCursorHandler>(&recorder, &TChainRecorder::Cursor));
  EXPECT_EQ(cursorOver({12, 1}), LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_CROSS)));
  EXPECT_EQ(log.size(), 1u);
}

TEST(CodeEditMouse, AltDragSelectsAColumnWhenTheOptionAllowsIt) {
  TEditWindow w("abcdef\r\nghijkl\r\nmnopqr",
                With(CodeEditDefaultOptions, EO::eoAltSetsColumnMode));
  TCustomCodeEdit& e = *w.edit;
  {
    THeldKeys alt({VK_MENU});
    Press(e, Pixel(e, {2, 1}));
    MoveTo(e, Pixel(e, {4, 3}));
    Release(e, Pixel(e, {4, 3}));
  }
  EXPECT_EQ(e.SelectionMode(), TCodeSelectionMode::smColumn);
  EXPECT_EQ(e.SelText(), "bc\r\nhi\r\nno");
  ClickAt(e, Pixel(e, {1, 1}));  // without Alt back to normal
  EXPECT_EQ(e.SelectionMode(), TCodeSelectionMode::smNormal);
}

TEST(CodeEditMouse, RightClickMovesTheCaretOnlyWithTheOptionAndOutsideTheSelection) {
  TEditWindow w("one two three");
  TCustomCodeEdit& e = *w.edit;
  auto rightClick = [&](TBufferCoord P) {
    Send(e, WM_RBUTTONDOWN, MK_RBUTTON, At(Pixel(e, P)));
    Send(e, WM_RBUTTONUP, 0, At(Pixel(e, P)));
  };
  Select(e, {5, 1}, {8, 1});
  rightClick({11, 1});
  EXPECT_EQ(e.SelText(), "two");
  e.SetOptions(With(e.Options(), EO::eoRightMouseMovesCursor));
  rightClick({6, 1});  // inside: the selection stays for a context menu
  EXPECT_EQ(e.SelText(), "two");
  rightClick({11, 1});
  EXPECT_FALSE(e.SelAvail());
  EXPECT_EQ(e.CaretXY(), (TBufferCoord{11, 1}));
}

TEST(CodeEditMouse, MouseChainsCallEveryHandlerLatestFirst) {
  TEditWindow w("abc");
  std::vector<std::string> log;
  TChainRecorder first{&log, "first"}, second{&log, "second"};
  w.edit->AddMouseUpHandler(TCodeMethod<TMouseEvent>(&first, &TChainRecorder::MouseUp));
  w.edit->AddMouseUpHandler(TCodeMethod<TMouseEvent>(&second, &TChainRecorder::MouseUp));
  w.edit->AddMouseDownHandler(TCodeMethod<TMouseEvent>(&first, &TChainRecorder::MouseUp));
  ClickAt(*w.edit, Pixel(*w.edit, {2, 1}));
  EXPECT_EQ(log, (std::vector<std::string>{"first", "second", "first"}));
  log.clear();
  w.edit->RemoveMouseUpHandler(TCodeMethod<TMouseEvent>(&first, &TChainRecorder::MouseUp));
  w.edit->RemoveMouseDownHandler(TCodeMethod<TMouseEvent>(&first, &TChainRecorder::MouseUp));
  ClickAt(*w.edit, Pixel(*w.edit, {2, 1}));
  EXPECT_EQ(log, std::vector<std::string>{"second"});
}

TEST(CodeEditMouse, DroppedFilesReachOnDropFilesWithTheDropPoint) {
  TEditWindow w("abc");
  std::vector<std::string> files;
  POINT point = {};
  w.edit->OnDropFiles = [&](TObject*, int X, int Y, const std::vector<std::string>& AFiles) {
    point = {X, Y};
    files = AFiles;
  };
  const char names[] = "C:\\a.txt\0C:\\b b.txt\0";  // and the final zero of the literal
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + sizeof names);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->pt = {7, 9};
  std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names, sizeof names);
  GlobalUnlock(memory);
  Send(*w.edit, WM_DROPFILES, reinterpret_cast<WPARAM>(memory));  // the control frees it
  EXPECT_EQ(files, (std::vector<std::string>{"C:\\a.txt", "C:\\b b.txt"}));
  EXPECT_EQ(point.x, 7);
  EXPECT_EQ(point.y, 9);

  // A name the code page cannot hold is refused by name, not handed on as a look-alike.
  testsupport::QueueAnswer(ModalAnswer{IDOK}, [](const ModalQuestion& q) {
    EXPECT_NE(q.text.find("\r\nC:\\?mega.txt"), std::string::npos) << q.text;
  });
  Send(*w.edit, WM_DROPFILES,
       reinterpret_cast<WPARAM>(testsupport::MakeWideDrop({L"C:\\\u03A9mega.txt", L"C:\\\u00C4.txt"})));
  EXPECT_EQ(files, std::vector<std::string>{"C:\\\xC4.txt"});
  EXPECT_EQ(testsupport::PendingAnswers(), 0u) << "the refusal was shown";
}

// --- Wheel and scroll bars -----------------------------------------------------------------

TEST(CodeEditScrolling, WheelScrollsPerWholeNotch) {
  TEditWindow w(NumberedLines(300));
  TCustomCodeEdit& e = *w.edit;
  int rows = e.LinesInWindow();
  int step = std::min(WheelLines(), rows);
  int scrolls = 0;
  e.OnScroll = [&](TObject*, TScrollBarKind Kind) {
    EXPECT_EQ(Kind, TScrollBarKind::sbVertical);
    ++scrolls;
  };
  Send(e, WM_MOUSEWHEEL, Wheel(-60));
  EXPECT_EQ(e.TopLine(), 1);
  Send(e, WM_MOUSEWHEEL, Wheel(-60));
  EXPECT_EQ(e.TopLine(), 1 + step);
  Send(e, WM_MOUSEWHEEL, Wheel(-240));
  EXPECT_EQ(e.TopLine(), 1 + 3 * step);
  Send(e, WM_MOUSEWHEEL, Wheel(120));
  EXPECT_EQ(e.TopLine(), 1 + 2 * step);
  {
    THeldKeys ctrl({VK_CONTROL});
    Send(e, WM_MOUSEWHEEL, Wheel(-120));
  }
  EXPECT_EQ(e.TopLine(), 1 + 2 * step + rows);
  EXPECT_EQ(scrolls, 5);
}

TEST(CodeEditScrolling, ScrollBarMessagesMoveTheViewAndTheThumbShowsAHint) {
  TEditWindow w(NumberedLines(300) + std::string(400, 'w'));
  TCustomCodeEdit& e = *w.edit;
  int rows = e.LinesInWindow();
  Send(e, WM_VSCROLL, SB_LINEDOWN);
  EXPECT_EQ(e.TopLine(), 2);
  Send(e, WM_VSCROLL, SB_PAGEDOWN);
  EXPECT_EQ(e.TopLine(), 2 + rows);
  Send(e, WM_VSCROLL, SB_BOTTOM);
  EXPECT_EQ(e.TopLine(), 301 - rows + 1);
  Send(e, WM_VSCROLL, SB_TOP);
  EXPECT_EQ(e.TopLine(), 1);
  Send(e, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 50));
  EXPECT_EQ(e.TopLine(), 50);
  HWND hint = FindWindowA("TCodeEditScrollHint", nullptr);
  ASSERT_NE(hint, nullptr);
  EXPECT_TRUE(IsWindowVisible(hint));
  char text[64] = "";
  GetWindowTextA(hint, text, sizeof text);
  EXPECT_STREQ(text, "Top Line: 50");
  EXPECT_TRUE(e.ThumbScrolling());
  Send(e, WM_VSCROLL, SB_ENDSCROLL);
  EXPECT_FALSE(IsWindowVisible(hint));
  EXPECT_FALSE(e.ThumbScrolling());
  e.SetScrollHintFormat(TScrollHintFormat::shfTopToBottom);
  Send(e, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 20));
  GetWindowTextA(hint, text, sizeof text);
  EXPECT_EQ(std::string(text), "20 - " + std::to_string(20 + rows - 1)) << "the last visible line";
  Send(e, WM_VSCROLL, SB_ENDSCROLL);

  Send(e, WM_HSCROLL, SB_LINERIGHT);
  EXPECT_EQ(e.LeftChar(), 2);
  Send(e, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 40));
  EXPECT_EQ(e.LeftChar(), 40);
  Send(e, WM_HSCROLL, SB_LEFT);
  EXPECT_EQ(e.LeftChar(), 1);
}

TEST(CodeEditScrolling, BeyondTheBarsRangeTheThumbIsScaledAsTheBarIs) {
  std::string text;
  for (int i = 0; i < 40000; ++i) text += "x\r\n";
  for (TCodeEditorOptions options :
       {CodeEditDefaultOptions, With(CodeEditDefaultOptions, EO::eoScrollPastEof)}) {
    TEditWindow w(text, options);
    TCustomCodeEdit& e = *w.edit;
    int rows = e.LinesInWindow();
    ASSERT_EQ(BarInfo(e, SB_VERT).nMax, 32767);
    Send(e, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 16000));
    EXPECT_LE(std::abs(BarInfo(e, SB_VERT).nPos - 16000), 1)
        << "the thumb stays where it was dragged; top line " << e.TopLine();
    SCROLLINFO si = BarInfo(e, SB_VERT);
    Send(e, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, si.nMax - static_cast<int>(si.nPage) + 1));
    int lastTop = options.Contains(EO::eoScrollPastEof) ? 40001 - rows / 2 : 40001 - rows;
    EXPECT_GE(e.TopLine(), lastTop) << "the end of the track shows the last rows";
    Send(e, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 0));
    EXPECT_EQ(e.TopLine(), 1);
    Send(e, WM_VSCROLL, SB_ENDSCROLL);
  }
}

// The vertical bar as drawn on the screen: one sample every few pixels down its middle.
std::vector<COLORREF> BarPixels(const TCustomCodeEdit& Edit) {
  RECT window, client;
  GetWindowRect(Edit.Handle(), &window);
  GetClientRect(Edit.Handle(), &client);
  HDC dc = GetWindowDC(Edit.Handle());
  std::vector<COLORREF> pixels;
  const int x = client.right + GetSystemMetrics(SM_CXVSCROLL) / 2;
  for (int y = 0; y < window.bottom - window.top; y += 3) pixels.push_back(GetPixel(dc, x, y));
  ReleaseDC(Edit.Handle(), dc);
  return pixels;
}

TEST(CodeEditScrolling, MovingTheViewRepaintsTheBarsThumbWithTheNextPaint) {
  TEditWindow w(NumberedLines(1000));
  TCustomCodeEdit& e = *w.edit;
  const std::vector<COLORREF> atTop = BarPixels(e);
  for (int line : {500, 1000, 1}) {
    e.GotoLineAndCenter(line);
    Pump();
    EXPECT_EQ(BarInfo(e, SB_VERT).nPos, e.TopLine());
    const std::vector<COLORREF> shown = BarPixels(e);
    RedrawWindow(e.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    EXPECT_EQ(shown, BarPixels(e)) << "the bar shows its new thumb at line " << line;
    EXPECT_EQ(shown == atTop, line == 1);
  }
}

// --- Drag and drop ---------------------------------------------------------------------------

TEST(CodeEditDragDrop, MovingALinesSelectionOntoItsOwnLastLineInsertsAtThatPoint) {
  TEditWindow w("one two\r\nthree four\r\nfive six");
  TCustomCodeEdit& e = *w.edit;
  Select(e, {5, 1}, {6, 2});  // "two\r\nthree"
  DragText(e, Pixel(e, {6, 1}), e, Pixel(e, {11, 2}));
  EXPECT_EQ(LinesOf(e), (std::vector<std::string>{"one  fourtwo", "three", "five six"}));
  EXPECT_EQ(e.SelText(), "two\r\nthree");
  EXPECT_EQ(e.CaretXY(), (TBufferCoord{10, 1}));
  e.Undo();
  EXPECT_EQ(LinesOf(e), (std::vector<std::string>{"one two", "three four", "five six"}));
}

TEST(CodeEditDragDrop, MovingTextTwoLinesDownSelectsItThereAsOneUndoStep) {
  TEditWindow w("abc\r\ndef\r\nghi\r\njkl");
  TCustomCodeEdit& e = *w.edit;
  Select(e, {1, 1}, {4, 1});
  DragText(e, Pixel(e, {2, 1}), e, Pixel(e, {1, 3}));
  EXPECT_EQ(LinesOf(e), (std::vector<std::string>{"", "def", "abcghi", "jkl"}));
  EXPECT_EQ(e.SelText(), "abc");
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_FALSE(e.Dragging());
  e.Undo();
  EXPECT_EQ(LinesOf(e), (std::vector<std::string>{"abc", "def", "ghi", "jkl"}));
  EXPECT_FALSE(e.CanUndo());
}

TEST(CodeEditDragDrop, DroppingTextOntoItselfChangesNothing) {
  TEditWindow w("abc def");
  TCustomCodeEdit& e = *w.edit;
  Select(e, {1, 1}, {4, 1});
  DragText(e, Pixel(e, {2, 1}), e, Pixel(e, {3, 1}));
  EXPECT_EQ(LinesOf(e), std::vector<std::string>{"abc def"});
  EXPECT_FALSE(e.CanUndo());
}

TEST(CodeEditDragDrop, CtrlCopiesWithinOneControl) {
  TEditWindow w("abc def");
  TCustomCodeEdit& e = *w.edit;
  Select(e, {1, 1}, {4, 1});
  THeldKeys ctrl({VK_CONTROL});
  DragText(e, Pixel(e, {2, 1}), e, Pixel(e, {8, 1}));
  EXPECT_EQ(LinesOf(e), std::vector<std::string>{"abc defabc"});
  EXPECT_EQ(e.SelText(), "abc");
}

TEST(CodeEditDragDrop, BetweenControlsTextIsCopiedAndMovedWithShift) {
  TEditWindow w("abc def");
  auto target = w.AddEdit("xyz", 340);
  TCustomCodeEdit& e = *w.edit;
  Select(e, {1, 1}, {4, 1});
  DragText(e, Pixel(e, {2, 1}), *target, Pixel(*target, {1, 1}));
  EXPECT_EQ(LinesOf(*target), std::vector<std::string>{"abcxyz"});
  EXPECT_EQ(LinesOf(e), std::vector<std::string>{"abc def"});
  EXPECT_EQ(target->SelText(), "abc");
  Select(e, {5, 1}, {8, 1});
  {
    THeldKeys shift({VK_SHIFT});
    DragText(e, Pixel(e, {6, 1}), *target, Pixel(*target, {7, 1}));
  }
  EXPECT_EQ(LinesOf(*target), std::vector<std::string>{"abcxyzdef"});
  EXPECT_EQ(LinesOf(e), std::vector<std::string>{"abc "});
  target->Undo();
  EXPECT_EQ(LinesOf(*target), std::vector<std::string>{"abcxyz"});
}

TEST(CodeEditDragDrop, AReadOnlyEditorRefusesTheText) {
  TEditWindow w("abc def");
  auto target = w.AddEdit("xyz", 340);
  target->SetReadOnly(true);
  TCustomCodeEdit& e = *w.edit;
  Select(e, {1, 1}, {4, 1});
  {
    THeldKeys shift({VK_SHIFT});
    DragText(e, Pixel(e, {2, 1}), *target, Pixel(*target, {1, 1}));
  }
  EXPECT_EQ(LinesOf(*target), std::vector<std::string>{"xyz"});
  EXPECT_EQ(LinesOf(e), std::vector<std::string>{"abc def"});
  bool dropEvent = false;
  target->OnDragDrop = [&](TObject*, TObject*, int, int) { dropEvent = true; };
  target->DragDrop(&e, 5, 5);  // even a drop delivered directly is refused
  EXPECT_FALSE(dropEvent);
  EXPECT_EQ(LinesOf(*target), std::vector<std::string>{"xyz"});
}

// --- Handler lists ---------------------------------------------------------------------------

TEST(CodeEditKbdHandler, RemoveTakesTheLatestEqualPairAndIgnoresAbsentOnes) {
  std::vector<std::string> log;
  TChainRecorder a{&log, "a"}, b{&log, "b"};
  TCodeEditKbdHandler handler;
  auto& chain = handler.MouseUpChain();
  chain.Add(TCodeMethod<TMouseEvent>(&a, &TChainRecorder::MouseUp));
  chain.Add(TCodeMethod<TMouseEvent>(&b, &TChainRecorder::MouseUp));
  chain.Add(TCodeMethod<TMouseEvent>(&a, &TChainRecorder::MouseUp));
  chain.Remove(TCodeMethod<TMouseEvent>(&a, &TChainRecorder::MouseUp));
  chain.Remove(TCodeMethod<TMouseEvent>(&b, &TChainRecorder::MouseDownOnly));
  ASSERT_EQ(chain.Count(), 2);
  handler.ExecuteMouseUp(nullptr, TMouseButton::mbLeft, {}, 0, 0);
  EXPECT_EQ(log, (std::vector<std::string>{"b", "a"}));
}

TEST(CodeEditKbdHandler, AKeyChainStopsAfterTheHandlerThatTookTheKey) {
  std::vector<std::string> log;
  TChainRecorder first{&log, "first"}, second{&log, "second"};
  TCodeEditKbdHandler handler;
  handler.KeyUpChain().Add(TCodeMethod<TKeyEvent>(&first, &TChainRecorder::KeyDown));
  handler.KeyUpChain().Add(TCodeMethod<TKeyEvent>(&second, &TChainRecorder::KeyDown));
  WORD key = VK_LEFT;
  handler.ExecuteKeyUp(nullptr, key, {});
  EXPECT_EQ(log, (std::vector<std::string>{"second", "first"}));
  log.clear();
  key = 0;  // already taken before the chain: only the latest handler sees it
  handler.ExecuteKeyUp(nullptr, key, {});
  EXPECT_EQ(log, std::vector<std::string>{"second"});
}
