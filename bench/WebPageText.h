// Generated texts of the web languages and the scan loops for the web-page benchmarks.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>
#include "editor/CodeEditHighlighter.h"

#include "BenchText.h"

namespace webbench {

inline volatile uint32_t sink;

// A page with every kind of passage: open over lines, opened and closed on one line, markers
// at the first column and at the line end, a style comment over lines inside braces.
inline std::vector<std::string> MixedPage(size_t TargetBytes) {
  return RepeatLines(
      {
          "<!DOCTYPE html>",
          "<html lang=\"de\"><head><title>Bench &amp; more</title>",
          "<style type=\"text/css\">",
          "  body { font-family: Arial, \"Helvetica\", sans-serif; font-size: 12pt; }",
          "  h1, p.note { color: #FF0000; margin-top: 2.5em; /* a comment",
          "     over two lines */ padding: 2px 4px; border: 1px solid #ccc }",
          "</style>",
          "<script type=\"text/javascript\">",
          "  function init(n) { var s = 'text \\' quoted'; for (var i = 0; i < n; i++) s += i; }",
          "  /* block comment */ window.onLoad = init; document.write(\"<b>\" + Math.max(1, 2));",
          "</script>",
          "<script language=\"VBScript\">",
          "  Dim x : x = \"value\" ' comment",
          "  If x <> #1/1/2000# Then MsgBox x End If",
          "</script></head>",
          "<body bgcolor=\"#FFFFFF\" onload='init(3)'>",
          "<?php",
          "  $items = array(1, 2, 3); /* list */",
          "  foreach ($items as $i) { echo \"item {$i} of $items[0]->count\\n\"; }",
          "?>",
          "  <p>Plain text with &copy; 2026 and <?php echo $title; ?> inside a paragraph, "
          "and a few words more to make the line as long as prose usually is.</p>",
          "\t<table border=1><tr><td>Cell</td><td align=right>12,50 &euro;</td></tr></table>",
          "<!-- a comment -->",
          "</body></html>",
          "",
      },
      TargetBytes);
}

// Writes MixedPage's lines over and over into a file of about Size bytes, CR LF after every
// line, in pieces of about 1 MB; the same Size always gives the same bytes.
inline bool WriteMixedPageFile(const std::string& Name, size_t Size) {
  std::string piece;
  for (const std::string& line : MixedPage(1u << 20)) piece += line + "\r\n";
  HANDLE file = CreateFileA(Name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  for (size_t written = 0; ok && written < Size; written += piece.size()) {
    DWORD done = 0;
    ok = WriteFile(file, piece.data(), static_cast<DWORD>(piece.size()), &done, nullptr) && done == piece.size();
  }
  CloseHandle(file);
  return ok;
}

inline std::vector<std::string> CssText(size_t TargetBytes) {
  return RepeatLines(
      {
          "/* Layout of the pages */",
          "body, td, th { font-family: Verdana, \"Bitstream Vera Sans\", sans-serif; }",
          "h1 { font-size: 1.5em; color: #FF0000; margin: 0 0 .5em 0; }",
          "div.nav a:hover { text-decoration: underline; background-color: #EEE }",
          "p.note",
          "{",
          "  border: 1px solid #ccc; /* a frame",
          "     over two lines */ padding: 2px 4px;",
          "  made-up-property: 12px; z-index: 10;",
          "}",
      },
      TargetBytes);
}

inline std::vector<std::string> JScriptText(size_t TargetBytes) {
  return RepeatLines(
      {
          "// Builds the navigation",
          "function buildNav(items, target)",
          "{",
          "  var html = \"<ul class=\\\"nav\\\">\", i;",
          "  for (i = 0; i < items.length; i++) { html += '<li>' + items[i].title + '</li>'; }",
          "  /* the list goes into the page",
          "     once it is complete */",
          "  document.getElementById(target).innerHTML = html + \"</ul>\";",
          "  return Math.max(0x1F, items.length * 2.5);",
          "}",
          "window.onLoad = function () { buildNav(menu, 'nav'); };",
      },
      TargetBytes);
}

inline std::vector<std::string> VBScriptText(size_t TargetBytes) {
  return RepeatLines(
      {
          "' Checks the form before it is sent",
          "Function CheckForm(theForm)",
          "  Dim name, count : count = 0",
          "  name = Trim(theForm.name.value)",
          "  If Len(name) < 2 Or name = \"\" Then",
          "    MsgBox \"Bitte einen Namen eingeben\", vbExclamation, \"Formular\"",
          "    CheckForm = False",
          "  ElseIf #1/1/2000# <= Date Then count = count + 1.5E3",
          "  End If",
          "End Function",
      },
      TargetBytes);
}

inline std::vector<std::string> PHPText(size_t TargetBytes) {
  return RepeatLines(
      {
          "// Lists the items of the shop",
          "function listItems($db, $category = 'all')",
          "{",
          "  $result = $db->query(\"SELECT * FROM items WHERE cat = '$category'\");",
          "  foreach ($result as $row) {",
          "    echo \"<tr><td>{$row['name']}</td><td>$row[price] &euro;</td></tr>\\n\";",
          "  }",
          "  /* totals follow",
          "     after the table */ $total += 0x1F * 12.5; # a shell comment",
          "  return isset($total) ? $total : 0;",
          "}",
      },
      TargetBytes);
}

inline std::vector<std::string> HtmlText(size_t TargetBytes) {
  return RepeatLines(
      {
          "<!DOCTYPE html>",
          "<html lang=\"de\"><head><title>Bench &amp; more</title></head>",
          "<body bgcolor=\"#FFFFFF\" onload='init()'>",
          "<!-- navigation",
          "     spans several lines -->",
          "  <div class=\"nav\" id=main><a href=\"index.html\">Start</a> &middot; "
          "<a href=\"list.html?x=1&amp;y=2\">List</a></div>",
          "  <p>Plain text with &copy; 2026, &#169; references, &lt;tags&gt; quoted, "
          "and a few words more to make the line as long as prose usually is.</p>",
          "\t<table border=1><tr><td>Cell</td><td align=right>12,50 &euro;</td></tr></table>",
          "</body></html>",
      },
      TargetBytes);
}

// One line of Bytes characters, full of passages of every kind.
inline std::string PassagesLine(size_t Bytes) {
  const std::string unit =
      "<p class=\"x\">a &amp; b</p><style>p { color: red; /* c */ }</style>"
      "<script language=\"JavaScript\">var s = 'x'; f(1);</script>"
      "<script language=\"VBScript\">Dim x : x = 1</script><?php echo \"$a {$b}\"; ?>";
  std::string line;
  line.reserve(Bytes + unit.size());
  while (line.size() < Bytes) line += unit;
  return line;
}

// The baseline: looks at every byte once, classifying it as a scanner at least must.
inline double ByteLoopSeconds(int Rounds, const std::vector<std::string>& Lines) {
  return BestSeconds(Rounds, [&] {
    uint32_t sum = 0;
    for (const std::string& line : Lines)
      for (unsigned char c : line) sum += (c == '<') + (c == '&');
    sink = sum;
  });
}

// One pass as the editor makes it: restore the line's start state, SetLine, go through the
// line with Walk, keep the end state.
template <class W>
void ScanLines(TCodeCustomHighlighter& Highlighter, const std::vector<std::string>& Lines, W Walk) {
  Highlighter.ResetRange();
  TCodeHighlighterRange range = Highlighter.GetRange();
  for (size_t i = 0; i < Lines.size(); ++i) {
    Highlighter.SetRange(range);
    Highlighter.SetLine(Lines[i], static_cast<int>(i));
    Walk();
    range = Highlighter.GetRange();
  }
}

// The pass of painting and export: every token with its kind, place and attribute; returns
// the token count.
inline size_t ScanAll(TCodeCustomHighlighter& Highlighter, const std::vector<std::string>& Lines) {
  uint32_t sum = 0;
  size_t tokens = 0;
  ScanLines(Highlighter, Lines, [&] {
    for (; !Highlighter.AtLineEnd(); Highlighter.NextToken(), ++tokens) {
      sum += Highlighter.GetTokenKind() + Highlighter.GetTokenPos();
      sum += Highlighter.GetTokenAttribute() != nullptr;
    }
  });
  sink = sum;
  return tokens;
}

// The pass of the line states: only each line's end state.
inline void ScanStates(TCodeCustomHighlighter& Highlighter, const std::vector<std::string>& Lines) {
  ScanLines(Highlighter, Lines, [&] { Highlighter.SkipToLineEnd(); });
}

}  // namespace webbench
