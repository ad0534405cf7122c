#include "commands/fHlpMainPrint.h"
#include <algorithm>
#include "editor/CodeEdit.h"
#include "printing/CodeEditPrint.h"
#include "rtl/SysUtils.h"
#include "toolkit/PrintDialogs.h"

namespace {
std::string UpperAscii(std::string S) {
  for (char& c : S)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return S;
}

// Replaces every Macro (compared without regard to case) in Text by Value.
std::string ReplaceMacro(const std::string& Text, const std::string& Macro,
                         const std::string& Value) {
  const std::string upper = UpperAscii(Text);
  std::string result;
  size_t from = 0;
  for (size_t at; (at = upper.find(Macro, from)) != std::string::npos; from = at + Macro.size())
    result += Text.substr(from, at - from) + Value;
  return result + Text.substr(from);
}

std::string FileMacros(std::string Text, const std::string& FileName) {
  Text = ReplaceMacro(Text, "$FILENAME$", ExtractFileName(FileName));
  Text = ReplaceMacro(Text, "$FILEPATH$", ExtractFilePath(FileName));
  return ReplaceMacro(Text, "$FULLPATH$", FileName);
}

struct TBlockSettings {
  bool Use, Border, Line, Mirror, UseBackColor;
  int32_t LineColor, BackColor;
  const std::string* Texts[3];
  const TFontDetail* Fonts[3];
};

void SetupBlock(THeaderFooter& Block, const TBlockSettings& S, const std::string& FileName) {
  Block.Clear();
  if (!S.Use) return;
  Block.SetLineColor(S.LineColor);
  Block.SetMirrorPosition(S.Mirror);
  Block.SetShadedColor(S.BackColor);
  TFrameTypes frames;
  if (S.UseBackColor) frames.Include(TFrameType::ftShaded);
  if (S.Border) frames.Include(TFrameType::ftBox);
  if (S.Line) frames.Include(TFrameType::ftLine);
  Block.SetFrameTypes(frames);
  const TAlignment alignments[3] = {taLeftJustify, taCenter, taRightJustify};
  for (int i = 0; i < 3; ++i) {
    TFont font;
    FontFromDetail(*S.Fonts[i], font);
    Block.Add(FileMacros(*S.Texts[i], FileName), &font, alignments[i], 1);
  }
}
}  // namespace

void FontFromDetail(const TFontDetail& Detail, TFont& Font) {
  Font.SetName(Detail.Name);
  Font.SetSize(Detail.Size);
  Font.SetCharset(Detail.Charset);
  Font.SetColor(Detail.Color);
  TFontStyles style;
  if (Detail.StyleBold) style.Include(TFontStyle::fsBold);
  if (Detail.StyleItalic) style.Include(TFontStyle::fsItalic);
  if (Detail.StyleUnderline) style.Include(TFontStyle::fsUnderline);
  if (Detail.StyleStrikeout) style.Include(TFontStyle::fsStrikeOut);
  Font.SetStyle(style);
}

void DetailFromFont(const TFont& Font, TFontDetail& Detail) {
  Detail.Name = Font.Name();
  Detail.Size = Font.Size();
  Detail.Charset = Font.Charset();
  Detail.Color = Font.Color();
  Detail.StyleBold = Font.Style().Contains(TFontStyle::fsBold);
  Detail.StyleItalic = Font.Style().Contains(TFontStyle::fsItalic);
  Detail.StyleUnderline = Font.Style().Contains(TFontStyle::fsUnderline);
  Detail.StyleStrikeout = Font.Style().Contains(TFontStyle::fsStrikeOut);
}

void SetupPrintJob(TCodeEditPrint& Print, const TPrintDocument& Document) {
  const TCustomCodeEdit& edit = *Document.Edit;
  Print.SetCodeEdit(edit);
  Print.Font().Assign(edit.Font());
  Print.SetTabWidth(edit.TabWidth());
  Print.SetHighlighter(edit.Highlighter());
  Print.SetDocTitle(Document.Title);
  Print.SetTitle(ChangeFileExt(ExtractFileName(Document.FileName), ""));

  const TPrinterSettings& p = Settings.Printer;
  Print.SetLineNumbers(p.LineNumbers);
  Print.SetLineNumbersInMargin(p.LineNumbersInMargin);
  Print.SetHighlight(p.Highlight);
  Print.SetWrap(p.Wrap);
  Print.SetColors(p.Colors);
  TCodeEditPrintMargins& m = Print.Margins();
  m.SetMirrorMargins(p.Mirror);
  // The page-setup dialog offers millimetres (0) and centimetres (1).
  m.SetUnitSystem(p.MarginUnit == 1 ? TUnitSystem::usCM : TUnitSystem::usMM);
  m.SetTop(p.MarginTop);
  m.SetBottom(p.MarginBottom);
  m.SetLeft(p.MarginLeft);
  m.SetRight(p.MarginRight);
  m.SetGutter(p.MarginGutter);
  m.SetHeader(p.MarginHeader);
  m.SetFooter(p.MarginFooter);
  m.SetHFInternalMargin(p.MarginInternal);
  m.SetLeftHFTextIndent(p.MarginLeftIndent);
  m.SetRightHFTextIndent(p.MarginRightIndent);

  SetupBlock(Print.Header(),
             {p.UseHeader, p.HeaderBorder, p.HeaderLine, p.HeaderMirror, p.HeaderUseBackColor,
              p.HeaderLineColor, p.HeaderBackColor,
              {&p.HeaderLeftText, &p.HeaderCenterText, &p.HeaderRightText},
              {&p.HeaderLeftFont, &p.HeaderCenterFont, &p.HeaderRightFont}},
             Document.FileName);
  SetupBlock(Print.Footer(),
             {p.UseFooter, p.FooterBorder, p.FooterLine, p.FooterMirror, p.FooterUseBackColor,
              p.FooterLineColor, p.FooterBackColor,
              {&p.FooterLeftText, &p.FooterCenterText, &p.FooterRightText},
              {&p.FooterLeftFont, &p.FooterCenterFont, &p.FooterRightFont}},
             Document.FileName);
}

bool PrintDocument(TCodeEditPrint& Print, const TPrintDocument& Document, bool Unformatted) {
  if (!Document.Edit) return false;
  TPrintDialogArgs args;
  args.maxPage = 0xFFFF;  // the page count is known only once the job is set up
  args.toPage = 1;
  if (!ExecutePrintDialog(args)) return false;
  if (Unformatted) {
    Print.SetCodeEdit(*Document.Edit);
    Print.Header().Clear();
    Print.Footer().Clear();
    Print.Font().Assign(Document.Edit->Font());
    Print.SetTabWidth(Settings.Editor.TabWidth);
  } else {
    SetupPrintJob(Print, Document);
  }
  Print.SetCopies(std::max(args.copies, 1));
  if (args.range == TPrintDialogArgs::prPageNums)
    Print.PrintRange(std::max(args.fromPage, 1), std::max(args.toPage, args.fromPage));
  else
    Print.Print();
  return true;
}
