// The document frame's transient painting: the bracket at the caret and its partner.
#include <string>
#include "documents/fHlpMain.h"
#include "documents/frameEdit.h"
#include "editor/CodeEditHighlighter.h"

namespace {

constexpr char kOpenBrackets[] = "({[<";
constexpr char kCloseBrackets[] = ")}]>";

bool IsBracket(char C) {
  return C != '\0' && (std::string(kOpenBrackets).find(C) != std::string::npos ||
                       std::string(kCloseBrackets).find(C) != std::string::npos);
}

char PartnerOf(char C) {
  const size_t open = std::string(kOpenBrackets).find(C);
  if (open != std::string::npos) return kCloseBrackets[open];
  return kOpenBrackets[std::string(kCloseBrackets).find(C)];
}

char CharAt(const TCodeEdit& Edit, const TBufferCoord& P) {
  if (P.Line < 1 || P.Line > Edit.Lines().Count() || P.Char < 1) return '\0';
  // Read in place: a line may be many megabytes long, and this runs at every paint.
  const std::string_view line = Edit.Lines().View(P.Line - 1);
  return P.Char <= static_cast<int>(line.size()) ? line[P.Char - 1] : '\0';
}

bool Defined(TColor Color) { return Color != clNone && Color != clDefault; }

}  // namespace

void TfraEdit::seEditPaintTransient(TObject* /*Sender*/, HDC Canvas, TTransientType TransientType) {
  if (!Settings.Editor.BracketsHighlight || seEdit->SelAvail()) return;
  TBufferCoord pos = seEdit->CaretXY();
  char bracket = CharAt(*seEdit, pos);
  if (!IsBracket(bracket)) {
    pos.Char -= 1;
    bracket = CharAt(*seEdit, pos);
    if (!IsBracket(bracket)) return;
  }
  PaintBracket(Canvas, pos, bracket, TransientType, false);
  const TBufferCoord match = seEdit->GetMatchingBracketEx(pos);
  if (match.Line < 1 || match.Char < 1) return;
  const POINT at = seEdit->RowColumnToPixels(seEdit->BufferToDisplayPos(match));
  const RECT client = seEdit->ClientRect();
  if (at.x < seEdit->GutterWidth() || at.x >= client.right || at.y < 0 || at.y >= client.bottom)
    return;
  PaintBracket(Canvas, match, PartnerOf(bracket), TransientType, match.Line != pos.Line);
}

// Before the editor paints, the bracket is drawn in its own colour (wiping an earlier
// highlight); after, in bold red, or blue where the text itself is red.
void TfraEdit::PaintBracket(HDC Canvas, const TBufferCoord& Pos, char Bracket,
                            TTransientType Type, bool OtherLine) {
  std::string token;
  TCodeHighlighterAttributes* attri = nullptr;
  TFont font;
  font.Assign(seEdit->Font());
  TColor foreground = seEdit->Font().Color();
  if (seEdit->GetHighlighterAttriAtRowCol(Pos, token, attri) && attri) {
    font.SetStyle(attri->Style());
    if (Defined(attri->Foreground())) foreground = attri->Foreground();
  }
  TColor color = foreground;
  if (Type == TTransientType::ttAfter) {
    color = foreground == clRed ? clBlue : clRed;
    TFontStyles style = font.Style();
    style.Include(TFontStyle::fsBold);
    font.SetStyle(style);
  }
  TColor background = seEdit->ActiveLineColor();
  if (OtherLine || !Defined(background)) background = seEdit->Color();

  const POINT at = seEdit->RowColumnToPixels(seEdit->BufferToDisplayPos(Pos));
  RECT cell = {at.x, at.y, at.x + seEdit->CharWidth(), at.y + seEdit->LineHeight()};
  HGDIOBJ oldFont = SelectObject(Canvas, font.Handle());
  SetBkColor(Canvas, ColorToRGB(background));
  ExtTextOutA(Canvas, cell.left, cell.top, ETO_OPAQUE | ETO_CLIPPED, &cell, nullptr, 0, nullptr);
  SetBkMode(Canvas, TRANSPARENT);
  SetTextColor(Canvas, ColorToRGB(color));
  ExtTextOutA(Canvas, cell.left, cell.top, ETO_CLIPPED, &cell, &Bracket, 1, nullptr);
  SelectObject(Canvas, oldFont);
}
