// A window with the editor control for a look at its painting: line numbers, a selection, a
// bookmark, HTML colours and wrapped lines. Stays open until closed.
#include <windows.h>
#include <string>
#include "editor/CodeEdit.h"
#include "highlighters/CodeHighlighterHtml.h"

namespace {
const char* const kText =
    "<!DOCTYPE html>\r\n"
    "<html lang=\"de\">\r\n"
    "<!-- a comment on its own line -->\r\n"
    "<body class=\"main\" onload=\"start()\">\r\n"
    "  <p>A paragraph long enough to be wrapped at the window's right edge, so that it takes "
    "more than one row on the screen and the gutter shows the wrap glyph beside the rows "
    "that continue it.</p>\r\n"
    "  <a href=\"index.html\" title=\"Home\">Home &amp; more</a>\r\n"
    "\t<img src=\"logo.png\" alt=\"Logo\">\r\n"
    "</body>\r\n"
    "</html>";

LRESULT CALLBACK FrameProc(HWND Wnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (Msg == WM_SIZE) {
    if (HWND child = GetWindow(Wnd, GW_CHILD))
      MoveWindow(child, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
    return 0;
  }
  if (Msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(Wnd, Msg, wParam, lParam);
}
}  // namespace

int main() {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = FrameProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = "EditorDemoFrame";
  RegisterClassA(&wc);
  HWND frame = CreateWindowExA(0, wc.lpszClassName, "Editor demo", WS_OVERLAPPEDWINDOW,
                               40, 40, 640, 420, nullptr, nullptr, wc.hInstance, nullptr);
  TCodeHTMLHighlighter html(nullptr);
  TCodeEdit edit(nullptr);
  edit.Gutter().SetShowLineNumbers(true);
  edit.SetRightEdge(60);
  edit.SetHighlighter(&html);
  edit.SetText(kText);
  RECT client;
  GetClientRect(frame, &client);
  edit.CreateWnd(frame, 0, 0, client.right, client.bottom);
  edit.SetWordWrap(true);
  edit.SetBookMark(1, 1, 2);
  edit.SetCaretAndSelection({9, 6}, {3, 6}, {9, 6});
  ShowWindow(frame, SW_SHOW);
  edit.SetFocus();
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
