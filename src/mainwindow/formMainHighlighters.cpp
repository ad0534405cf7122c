// The main window's shared highlighters: plain text with links, HTML, the page languages and
// the mixed web page that combines them, coloured as the window shows them.
#include "highlighters/CodeHighlighterCSS.h"
#include "highlighters/CodeHighlighterHtml.h"
#include "highlighters/CodeHighlighterIni.h"
#include "highlighters/CodeHighlighterJScript.h"
#include "highlighters/CodeHighlighterMulti.h"
#include "highlighters/CodeHighlighterPHP.h"
#include "highlighters/CodeHighlighterURI.h"
#include "highlighters/CodeHighlighterVBScript.h"
#include "highlighters/CodeHighlighterXML.h"
#include "mainwindow/formMain.h"
#include "toolkit/Graphics.h"

namespace {

void ApplyMainWindowHtmlColors(TCodeHTMLHighlighter& Html) {
  Html.BeginUpdate();
  Html.AndAttri()->SetForeground(clPurple);
  Html.AndAttri()->SetStyle({});
  Html.CommentAttri()->SetForeground(clGreen);
  Html.IdentifierAttri()->SetForeground(clNavy);
  Html.IdentifierAttri()->SetStyle({});
  Html.KeyAttri()->SetForeground(clBlue);
  Html.KeyAttri()->SetStyle({});
  Html.SymbolAttri()->SetForeground(clGray);
  Html.SymbolAttri()->SetStyle({});
  Html.UndefKeyAttri()->SetStyle({});  // unknown tags stay red, only not bold
  Html.ValueAttri()->SetForeground(clTeal);
  Html.EndUpdate();
}

}  // namespace

void TfrmMain::CreateHighlighters() {
  auto* uri = Make<TCodeURIHighlighter>("HlURI");
  uri->VisitedURIAttri()->SetForeground(clNavy);
  auto* html = Make<TCodeHTMLHighlighter>("HlHTML");
  ApplyMainWindowHtmlColors(*html);
  auto* css = Make<TCodeCssHighlighter>("HlCSS");
  ApplyMainWindowColors(*css);
  auto* js = Make<TCodeJScriptHighlighter>("HlJS");
  ApplyMainWindowColors(*js);
  auto* vbs = Make<TCodeVBScriptHighlighter>("HlVBS");
  ApplyMainWindowColors(*vbs);
  auto* php = Make<TCodePHPHighlighter>("HlPHP");
  ApplyMainWindowColors(*php);
  // Made last, so it goes first and never scans a member that is gone.
  auto* webMixed = Make<TCodeMultiHighlighter>("HlWebMixed");
  ConfigureWebMixed(*webMixed, html, php, css, js, vbs);
  HlURI = uri;
  HlHTML = html;
  HlCSS = css;
  HlJS = js;
  HlVBS = vbs;
  HlPHP = php;
  HlWebMixed = webMixed;
  // No document uses these two, but their classes belong to the program's set: naming them
  // keeps the linker from dropping the units that register them.
  RegisterHighlighterClass(TCodeIniHighlighter::StaticClass());
  RegisterHighlighterClass(TCodeXMLHighlighter::StaticClass());
}
