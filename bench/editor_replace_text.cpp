// Replacing the whole text of the editor control through the selection (as "Alles ersetzen"
// writes its result back), 100 MB in a window with word wrap, timed against loading the same
// text, with the pieces the replacement is made of timed alone.
#include <windows.h>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>
#include "editor/CodeEdit.h"
#include "highlighters/CodeHighlighterURI.h"

#include "BenchClock.h"

namespace {
std::string MakeText(size_t Size, char Word) {
  std::string text;
  text.reserve(Size + 128);
  uint32_t seed = 4711;
  size_t lineStart = 0;
  while (text.size() < Size) {
    seed = seed * 1103515245u + 12345u;
    text.append(1 + (seed >> 16) % 9, Word);
    if (text.size() - lineStart > 80) {
      text += "\r\n";
      lineStart = text.size();
    } else {
      text += (seed >> 24) % 11 == 0 ? '\t' : ' ';
    }
  }
  return text;
}
}  // namespace

int main() {
  const std::string text = MakeText(size_t(100) << 20, 'a'), other = MakeText(size_t(100) << 20, 'b');
  HWND frame = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
  using EO = TCodeEditorOption;
  TCodeEdit edit(nullptr);
  // As a document's editor is set up.
  edit.SetOptions({EO::eoAutoIndent, EO::eoAutoSizeMaxScrollWidth, EO::eoDragDropEditing,
                   EO::eoGroupUndo, EO::eoScrollHintFollows, EO::eoScrollPastEof,
                   EO::eoShowScrollHint, EO::eoSmartTabDelete, EO::eoTabIndent,
                   EO::eoTabsToSpaces});
  edit.SetTabWidth(2);
  edit.Gutter().SetShowLineNumbers(true);
  edit.CreateWnd(frame, 0, 0, 800, 600);
  edit.SetWordWrap(true);
  const double load = SecondsOf([&] { edit.SetText(text); });
  const std::string loaded = edit.Text();  // a final line break adds no line
  edit.SelectAll();
  std::string selected;
  const double selText = SecondsOf([&] { selected = edit.SelText(); });
  const double replace = SecondsOf([&] { edit.SetSelText(other); });
  const bool same = edit.Text() == other;
  const double undo = SecondsOf([&] { edit.Undo(); });
  const bool back = edit.Text() == loaded;
  TCodeEditStringList list;
  std::vector<std::string_view> views;
  const double split = SecondsOf([&] {
    size_t start = 0;
    for (size_t brk; (brk = other.find("\r\n", start)) != std::string::npos; start = brk + 2)
      views.push_back(std::string_view(other).substr(start, brk - start));
  });
  const double insert = SecondsOf([&] { list.InsertStrings(0, views); });
  std::printf("replaced: %s, undone: %s\n", same ? "yes" : "NO", back ? "yes" : "NO");
  std::printf("loading 100 MB (baseline)    %8.1f ms\n", load * 1e3);
  std::printf("select all + SetSelText      %8.1f ms  %5.2f x loading\n", replace * 1e3, replace / load);
  std::printf("  of it: the selected text   %8.1f ms  %5.2f x\n", selText * 1e3, selText / load);
  std::printf("  splitting into lines       %8.1f ms  %5.2f x\n", split * 1e3, split / load);
  std::printf("  inserting them, no editor  %8.1f ms  %5.2f x\n", insert * 1e3, insert / load);
  // A new document's highlighter scans every inserted line for its state.
  TCodeURIHighlighter uri(nullptr);
  edit.SetHighlighter(&uri);
  edit.SelectAll();
  const double withHighlighter = SecondsOf([&] { edit.SetSelText(other); });
  edit.SetHighlighter(nullptr);
  std::printf("the same with the URI highlighter %8.1f ms  %5.2f x loading\n", withHighlighter * 1e3,
              withHighlighter / load);
  std::printf("undo                         %8.1f ms  %5.2f x loading\n", undo * 1e3, undo / load);
  edit.DestroyWnd();
  DestroyWindow(frame);
  return 0;
}
