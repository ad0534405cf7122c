// Generated texts for tests and benchmarks: web pages with passages of every web language, the
// languages' texts alone, and prose with links.
#pragma once
#include <string>
#include <vector>

namespace testsupport {

// Repeats Pattern's lines until the text holds TargetBytes (CR LF counted).
inline std::vector<std::string> RepeatLines(const std::vector<const char*>& Pattern,
                                            size_t TargetBytes) {
  std::vector<std::string> lines;
  size_t bytes = 0;
  while (bytes < TargetBytes)
    for (const char* line : Pattern) {
      lines.emplace_back(line);
      bytes += lines.back().size() + 2;
    }
  return lines;
}

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

// Prose with an address of every kind now and then, some punctuation after them, and lines
// of every length up to a long paragraph.
inline std::vector<std::string> ProseWithLinks(size_t TargetBytes) {
  const std::vector<const char*> pattern = {
      "Dear all, the minutes of the meeting are at http://www.example.com/minutes/2026-12.html,",
      "please read them before Friday. Questions go to office@example.org or to the list",
      "(see news:comp.misc.meetings). The old files stay on ftp://ftp.example.net/pub/old/ and",
      "",
      "www.example.de has the pictures; https://secure.example.com/login?user=a&next=%2Fhome.",
      "\tThe numbers: 12, 345.67, 8.9e10 - none of them is an address; neither is a@b or x.y.",
      "Mail me at mailto:first.last@mail.example.co.uk, or telnet://host.example.com:23 for",
      "the console. Some plain text follows, written as prose usually is, with commas, dots and",
      "a few longer words like internationalisation, responsibilities and characteristically.",
      "gopher://g.example.edu/1 wais://w.example.com/db nntp://news.example.com/g prospero://p/x",
  };
  return RepeatLines(pattern, TargetBytes);
}

}  // namespace testsupport
