// Painting of the control: the gutter, the text rows token by token, the selection, the right
// edge. Only the clip rectangle of a paint request is painted.
#include <windows.h>
#include <commctrl.h>
#include <algorithm>
#include <climits>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>
#include "editor/CodeEdit.h"
#include "editor/CodeEditHighlighter.h"
#include "editor/CodeEditLineStates.h"

namespace {
using EO = TCodeEditorOption;
using SM = TCodeSelectionMode;

// The end of a selection that runs on beyond the row.
constexpr int kOpenEnd = INT_MAX;
constexpr char kBlankGlyph = static_cast<char>(183);
constexpr char kTabGlyph = static_cast<char>(187);
constexpr char kLineEndGlyph = static_cast<char>(182);
constexpr int kWhitespaceAttribute = 4;

void FillColor(HDC DC, const RECT& R, TColor Color) {
  if (R.right <= R.left || R.bottom <= R.top) return;
  SetBkColor(DC, ColorToRGB(Color));
  ExtTextOutA(DC, 0, 0, ETO_OPAQUE, &R, nullptr, 0, nullptr);
}

void VerticalLine(HDC DC, int X, int Top, int Bottom, TColor Color) {
  HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(Color));
  HGDIOBJ old = SelectObject(DC, pen);
  MoveToEx(DC, X, Top, nullptr);
  LineTo(DC, X, Bottom);
  SelectObject(DC, old);
  DeleteObject(pen);
}

bool IsBlank(std::string_view S, size_t From, size_t Count) {
  for (size_t i = From; i < From + Count; ++i)
    if (S[i] != ' ' && S[i] != '\t') return false;
  return true;
}

// Where the glyph of the tab covering the 0-based column Column of the expanded line is
// drawn: in the middle of that tab's columns, which end at the next tab stop.
size_t TabGlyphColumn(std::string_view Expanded, size_t Column, size_t TabWidth) {
  size_t first = Column, end = Column + 1;
  while (first > 0 && Expanded[first - 1] == '\t' && first % TabWidth != 0) --first;
  while (end < Expanded.size() && Expanded[end] == '\t' && end % TabWidth != 0) ++end;
  return first + (end - first - 1) / 2;
}

// The columns [From, To) (0-based) of the expanded line as they are drawn into Out: tabs are
// blanks, or with special characters shown a tab shows its glyph in the middle of its columns
// and a blank shows as a dot. Only the piece is looked at, so a long line costs no more.
void GlyphText(std::string_view Expanded, size_t From, size_t To, int TabWidth,
               bool ShowSpecialChars, std::string& Out) {
  Out.assign(Expanded.substr(From, To - From));
  for (size_t i = From; i < To; ++i) {
    char& glyph = Out[i - From];
    if (glyph == ' ' && ShowSpecialChars) glyph = kBlankGlyph;
    if (glyph != '\t') continue;
    glyph = ShowSpecialChars && TabGlyphColumn(Expanded, i, TabWidth) == i ? kTabGlyph : ' ';
  }
}

RECT Intersection(const RECT& A, const RECT& B) {
  RECT r = {std::max(A.left, B.left), std::max(A.top, B.top), std::min(A.right, B.right),
            std::min(A.bottom, B.bottom)};
  return r;
}
}  // namespace

// Paints the text rows of one paint request; its static members paint the gutter's line
// numbers and marks. Line columns are 1-based display columns of a buffer line with tabs
// expanded; a row shows the line columns [RowStart, RowStart + length).
class TCodeEditPainter {
public:
  TCodeEditPainter(TCustomCodeEdit& Edit, HDC DC, const RECT& Clip, int FirstCol, int LastCol)
      : e_(Edit), dc_(DC), clip_(Clip), firstCol_(FirstCol), lastCol_(LastCol) {
    int edgeX = e_.rightEdge_ * e_.charWidth_ + e_.textOffset_;
    edgeDue_ = e_.rightEdge_ > 0 && edgeX >= clip_.left && edgeX < clip_.right;
    edgeX_ = edgeX;
    showSpecial_ = e_.HasOption(EO::eoShowSpecialChars);
    ComputeSelection();
  }

  void PaintRows(int FirstRow, int LastRow) {
    int firstLine = e_.LineOfRow(FirstRow);
    int lastLine = std::min(e_.LineOfRow(LastRow), e_.lines_->Count());
    for (int line = firstLine; line <= lastLine; ++line) PaintLine(line, FirstRow, LastRow);
  }

  void PaintRightEdge(int Top, int Bottom) const {
    if (edgeDue_ && Bottom > Top) VerticalLine(dc_, edgeX_, Top, Bottom, e_.rightEdgeColor_);
  }

  // One opaque text output per line number (transparent over a gradient), right-aligned;
  // with word wrap the continuation rows between numbers get the gutter colour.
  static void PaintLineNumbers(TCustomCodeEdit& Edit, HDC DC, const RECT& AClip, int FirstLine,
                               int LastLine) {
    const TCodeGutter& g = *Edit.gutter_;
    const int lh = Edit.lineHeight_;
    const int textRight = Edit.gutterWidth_ - g.RightOffset() - 2;
    // The gutter font with its style, or the control's font in a plain style.
    HFONT font = g.Font().Handle();
    if (!g.UseFontStyle()) {
      Edit.textDrawer_->SetStyle({});
      font = Edit.textDrawer_->FontHandle();
    }
    const int saved = SaveDC(DC);
    SelectObject(DC, font);
    SetTextColor(DC, ColorToRGB(g.UseFontStyle() ? g.Font().Color() : Edit.font_->Color()));
    if (g.Gradient()) SetBkMode(DC, TRANSPARENT);
    int previousBottom = INT_MIN;
    for (int line = FirstLine; line <= LastLine; ++line) {
      int top = (Edit.FirstRowOfLine(line) - Edit.topLine_) * lh;
      RECT row = {0, top, Edit.gutterWidth_, top + lh};
      if (Edit.WordWrap() && !g.Gradient() && previousBottom != INT_MIN)
        FillColor(DC, {0, previousBottom, Edit.gutterWidth_, row.top}, g.Color());
      previousBottom = row.bottom;
      std::string text = g.FormatLineNumber(line);
      if (Edit.OnGutterGetText) Edit.OnGutterGetText(&Edit, line, text);
      SIZE size = {};
      GetTextExtentPoint32A(DC, text.c_str(), static_cast<int>(text.size()), &size);
      SetBkColor(DC, ColorToRGB(g.Color()));
      ExtTextOutA(DC, textRight - size.cx, top + (lh - size.cy) / 2,
                  g.Gradient() ? 0 : ETO_OPAQUE, &row, text.c_str(),
                  static_cast<UINT>(text.size()), nullptr);
    }
    if (!g.Gradient())
      FillColor(DC, {0, std::max<int>(previousBottom, AClip.top), Edit.gutterWidth_, AClip.bottom},
                g.Color());
    RestoreDC(DC, saved);
    Edit.textDrawer_->SetStyle(Edit.font_->Style());
  }

  // Marks per line from left to right: first those whose being a bookmark matches
  // DrawBookmarksFirst, then the others.
  static void PaintMarks(TCustomCodeEdit& Edit, HDC DC, int FirstLine, int LastLine) {
    const TCodeBookMarkOpt& o = *Edit.bookMarkOptions_;
    if (!o.GlyphsVisible() || Edit.marks_->Count() == 0 || LastLine < FirstLine) return;
    std::vector<int> offsets(LastLine - FirstLine + 1, 0);
    bool skipped = false;
    for (int pass = 0; pass < 2 && (pass == 0 || skipped); ++pass) {
      for (int i = 0; i < Edit.marks_->Count(); ++i) {
        TCodeEditMark* mark = Edit.marks_->Items(i);
        if (!mark->Visible() || mark->Line() < FirstLine || mark->Line() > LastLine) continue;
        bool firstKind = mark->HasBookmarkSlot() == o.DrawBookmarksFirst();
        if (firstKind != (pass == 0)) {
          skipped = true;
          continue;
        }
        PaintMark(Edit, DC, *mark, firstKind, offsets[mark->Line() - FirstLine]);
      }
    }
  }

  // The control's colour, unless the highlighter's whitespace has a background of its own.
  static TColor EditorBackground(const TCustomCodeEdit& Edit) {
    if (Edit.highlighter_)
      if (TCodeHighlighterAttributes* ws =
              Edit.highlighter_->GetDefaultAttribute(kWhitespaceAttribute))
        if (ws->Background() != clNone) return ws->Background();
    return Edit.color_;
  }

private:
  static void PaintMark(TCustomCodeEdit& Edit, HDC DC, const TCodeEditMark& Mark, bool FirstKind,
                        int& Offset) {
    const TCodeBookMarkOpt& o = *Edit.bookMarkOptions_;
    const int y = (Edit.FirstRowOfLine(Mark.Line()) - Edit.topLine_) * Edit.lineHeight_;
    HIMAGELIST images = o.BookmarkImages();
    if (images && !Mark.BuiltInGlyph()) {
      if (Mark.ImageIndex() < 0 || Mark.ImageIndex() >= ImageList_GetImageCount(images)) return;
      if (FirstKind)
        Offset = 0;
      else if (Offset == 0)
        Offset = o.Xoffset();
      ImageList_Draw(images, Mark.ImageIndex(), DC, o.LeftMargin() + Offset, y, ILD_TRANSPARENT);
      Offset += o.Xoffset();
      return;
    }
    if (Mark.ImageIndex() < 0 || Mark.ImageIndex() > 9) return;
    if (Offset == 0) {
      if (!Edit.internalImage_)
        Edit.internalImage_ = std::make_unique<TCodeInternalImage>(
            GetModuleHandleA(nullptr), "CodeEditInternalImages", 10);
      Edit.internalImage_->Draw(DC, Mark.ImageIndex(), o.LeftMargin(), y, Edit.lineHeight_);
    }
    Offset += o.Xoffset();
  }

  // How a token looks: font style and colours.
  struct TLook {
    TFontStyles Style;
    TColor Fg = clNone, Bg = clNone;
  };
  struct TToken {
    int Start = 0;  // line column
    std::string Text;
    bool Blank = false;
    TLook Look;
  };
  struct TRange {
    int Start = 0, End = 0;  // line columns, End exclusive; empty when Start >= End
    bool Empty() const { return Start >= End; }
  };

  // The selection as line columns per line, for this paint.
  void ComputeSelection() {
    hasSelection_ = e_.SelAvail() &&
                    !(e_.hideSelection_ && e_.HandleAllocated() && GetFocus() != e_.Handle());
    if (!hasSelection_) return;
    selBegin_ = e_.BlockBegin();
    selEnd_ = e_.BlockEnd();
    mode_ = e_.activeSelectionMode_;
    if (mode_ == SM::smColumn) std::tie(columnStart_, columnEnd_) = e_.ColumnBlockSpan();
  }

  TRange SelectionOfLine(int Line) const {
    if (!hasSelection_ || Line < selBegin_.Line || Line > selEnd_.Line) return {};
    switch (mode_) {
      case SM::smLine:
        return {1, kOpenEnd};
      case SM::smColumn:
        return {columnStart_, columnEnd_};
      default:
        return {Line == selBegin_.Line ? e_.ExpandedColumn(selBegin_) : 1,
                Line == selEnd_.Line ? e_.ExpandedColumn(selEnd_) : kOpenEnd};
    }
  }

  // The line's selection on one row: a position at a wrapped row's end belongs to the next
  // row, and a selection going on past a wrapped row covers the rest of it.
  static TRange SelectionOfRow(TRange LineSel, int RowStart, int RowEnd, bool LastRowOfLine) {
    if (LineSel.Empty() || LineSel.End <= RowStart) return {};
    if (!LastRowOfLine) {
      if (LineSel.Start >= RowEnd) return {};
      if (LineSel.End >= RowEnd) LineSel.End = kOpenEnd;
    }
    return LineSel;
  }

  TColor LineBackground(int Line) const {
    if (e_.activeLineColor_ != clNone && Line == e_.caretY_) return e_.activeLineColor_;
    return EditorBackground(e_);
  }

  void PaintLine(int Line, int FirstRow, int LastRow) {
    line_ = Line;
    lineFg_ = e_.font_->Color();
    lineBg_ = LineBackground(Line);
    special_ = e_.DoOnSpecialLineColors(Line, lineFg_, lineBg_);
    lineSel_ = SelectionOfLine(Line);
    expanded_ = e_.lines_->ExpandedView(Line - 1, expandedScratch_);
    if (!e_.wordWrapPlugin_) {
      if (e_.highlighter_) StartTokens(firstCol_);
      PaintRow(Line, 1, static_cast<int>(expanded_.size()), true);
      return;
    }
    const int firstRowOfLine = e_.FirstRowOfLine(Line);
    const int rowCount = e_.wordWrapPlugin_->RowCount();
    const int nextLineRow =
        Line < e_.lines_->Count() ? e_.FirstRowOfLine(Line + 1) : rowCount + 1;
    // A long line's rows above the window are passed over at once.
    const int firstRow = std::max(firstRowOfLine, FirstRow);
    int rowStart = e_.wordWrapPlugin_->DisplayToBufferPos({1, firstRow}).Char;
    if (e_.highlighter_) StartTokens(rowStart + firstCol_ - 1);
    for (int row = firstRow; row < nextLineRow && row <= LastRow; ++row) {
      int length = e_.wordWrapPlugin_->RowLength(row);
      PaintRow(row, rowStart, length, row == nextLineRow - 1);
      rowStart += length;
    }
  }

  void PaintRow(int Row, int RowStart, int Length, bool LastRowOfLine) {
    rowStart_ = RowStart;
    y_ = (Row - e_.topLine_) * e_.lineHeight_;
    const int rowEnd = RowStart + Length;
    rowSel_ = SelectionOfRow(lineSel_, RowStart, rowEnd, LastRowOfLine);
    visibleFrom_ = firstCol_ + RowStart - 1;
    visibleTo_ = lastCol_ + RowStart;  // exclusive
    lastDrawnStyle_ = {};
    lastDrawnChar_ = '\0';
    if (e_.highlighter_)
      AddHighlighterTokens(RowStart, rowEnd);
    else
      AddTextToken(RowStart, rowEnd, {e_.font_->Style(), lineFg_, lineBg_});
    int textEnd = rowEnd;
    if (LastRowOfLine && showSpecial_ && rowEnd >= visibleFrom_ && rowEnd < visibleTo_) {
      AddLineEndMark(rowEnd);
      ++textEnd;
    }
    FlushPending();
    FillToEnd(std::clamp(textEnd, visibleFrom_, visibleTo_));
    PaintRightEdge(y_, y_ + e_.lineHeight_);
  }

  // The visible part of [From, To) as a token of the glyph text.
  void AddTextToken(int From, int To, const TLook& Look) {
    From = std::max(From, visibleFrom_);
    To = std::min(To, visibleTo_);
    if (From >= To) return;
    GlyphText(expanded_, From - 1, To - 1, e_.tabWidth_, showSpecial_, glyphs_);
    AddToken(From, glyphs_, IsBlank(expanded_, From - 1, To - From), Look);
  }

  TLook AttributeLook(TCodeHighlighterAttributes* Attr) const {
    TLook look;
    look.Style = Attr ? Attr->Style() : e_.font_->Style();
    look.Fg = Attr && Attr->Foreground() != clNone ? Attr->Foreground() : e_.font_->Color();
    look.Bg = Attr && Attr->Background() != clNone ? Attr->Background() : lineBg_;
    if (special_) {
      look.Bg = lineBg_;
      if (!e_.HasOption(EO::eoSpecialLineDefaultFg)) look.Fg = lineFg_;
    }
    return look;
  }

  // The line is scanned once for all its rows: a row goes on from the token where the row
  // above stopped. The scan starts where the highlighter can resume before the first column
  // painted, so the end of a long line is painted without scanning all of it.
  void StartTokens(int FirstColumn) {
    TCodeCustomHighlighter& h = *e_.highlighter_;
    StartHighlighterAtLine(h, *e_.lines_, line_ - 1);
    resumedAt_ = h.ResumePointBefore(expanded_, FirstColumn - 1);
    if (resumedAt_ > 0 || expanded_.data() != expandedScratch_.data()) {
      scanned_.assign(expanded_.substr(resumedAt_));
      h.SetLine(scanned_, line_ - 1);
    } else {
      h.SetLine(expandedScratch_, line_ - 1);
    }
    token_.End = HighlighterColumn();
    ReadToken();
  }

  // Where the highlighter's current token starts; past the line's end at its end.
  int HighlighterColumn() const {
    const TCodeCustomHighlighter& h = *e_.highlighter_;
    return h.AtLineEnd() ? static_cast<int>(expanded_.size()) + 1
                         : resumedAt_ + h.GetTokenPos() + 1;
  }

  // Takes the highlighter's current token, which starts where the last one ended, and moves
  // the highlighter on: where the next token starts this one ends, so the token's text is
  // never copied.
  void ReadToken() {
    TCodeCustomHighlighter& h = *e_.highlighter_;
    token_.Start = token_.End;
    token_.Valid = token_.Start <= static_cast<int>(expanded_.size());
    if (!token_.Valid) return;
    token_.Attr = h.GetTokenAttribute();
    h.NextToken();
    token_.End = HighlighterColumn();
  }

  void AddHighlighterTokens(int RowStart, int RowEnd) {
    const int stop = std::min(RowEnd, visibleTo_);
    const int from = std::max(RowStart, visibleFrom_);
    for (; token_.Valid && token_.Start < stop; ReadToken()) {
      if (token_.End > from)
        AddTextToken(std::max(token_.Start, RowStart), std::min(token_.End, RowEnd),
                     AttributeLook(token_.Attr));
      if (token_.End > RowEnd) return;  // it goes on in the next row
    }
  }

  void AddLineEndMark(int Column) {
    TCodeHighlighterAttributes* ws =
        e_.highlighter_ ? e_.highlighter_->GetDefaultAttribute(kWhitespaceAttribute) : nullptr;
    TLook look = AttributeLook(ws);
    if (!e_.highlighter_) look.Fg = lineFg_;
    AddToken(Column, std::string_view(&kLineEndGlyph, 1), false, look);
  }

  // Neighbours of equal appearance are drawn by one text output; blanks show no foreground.
  bool Mergeable(int Start, bool Blank, const TLook& Look) const {
    const TLook& p = pending_.Look;
    if (pending_.Start + static_cast<int>(pending_.Text.size()) != Start || p.Bg != Look.Bg)
      return false;
    if (p.Fg != Look.Fg && !Blank) return false;
    if (p.Style == Look.Style) return true;
    return Blank && !p.Style.Contains(TFontStyle::fsUnderline) &&
           !Look.Style.Contains(TFontStyle::fsUnderline);
  }

  void AddToken(int Start, std::string_view Text, bool Blank, const TLook& Look) {
    if (!pending_.Text.empty() && Mergeable(Start, Blank, Look)) {
      AppendPending(Text);
      pending_.Blank = pending_.Blank && Blank;
      return;
    }
    FlushPending();
    pending_.Start = Start;
    pending_.Blank = Blank;
    pending_.Look = Look;
    AppendPending(Text);
  }

  // The pending text grows in steps of 32 characters and keeps its room across lines.
  void AppendPending(std::string_view Text) {
    size_t needed = pending_.Text.size() + Text.size();
    if (needed > pending_.Text.capacity()) pending_.Text.reserve((needed + 31) / 32 * 32);
    pending_.Text.append(Text);
  }

  void FlushPending() {
    if (pending_.Text.empty()) return;
    DrawToken(pending_);
    pending_.Text.clear();
  }

  // Draws the token in up to three pieces: before, inside and after the row's selection.
  void DrawToken(const TToken& T) {
    const int start = T.Start, end = T.Start + static_cast<int>(T.Text.size());
    if (rowSel_.Empty()) {
      DrawPiece(T, start, end, false);
      return;
    }
    DrawPiece(T, start, std::min(end, rowSel_.Start), false);
    DrawPiece(T, std::max(start, rowSel_.Start), std::min(end, rowSel_.End), true);
    DrawPiece(T, std::max(start, rowSel_.End), end, false);
  }

  int ColumnX(int Column) const {
    return static_cast<int>(static_cast<int64_t>(Column - rowStart_) * e_.charWidth_ +
                            e_.textOffset_);
  }

  void DrawPiece(const TToken& T, int From, int To, bool Selected) {
    if (From >= To) return;
    if (TCodeLeadByteTest isLead = SystemLeadByteTest())
      if (From > T.Start && IsTrailByte(T, From, isLead)) --From;
    RECT cell = {ColumnX(From), y_, ColumnX(To), y_ + e_.lineHeight_};
    RECT r = Intersection(cell, clip_);
    if (r.right <= r.left || r.bottom <= r.top) return;
    TheTextDrawer& d = *e_.textDrawer_;
    d.SetStyle(T.Look.Style);
    d.SetForeColor(Selected ? e_.selectedColor_->Foreground() : T.Look.Fg);
    d.SetBackColor(Selected ? e_.selectedColor_->Background() : T.Look.Bg);
    d.ExtTextOut(cell.left, y_, ETO_OPAQUE | ETO_CLIPPED, &r, T.Text.data() + (From - T.Start),
                 To - From);
    lastDrawnStyle_ = T.Look.Style;
    lastDrawnChar_ = T.Text[To - T.Start - 1];
  }

  bool IsTrailByte(const TToken& T, int Column, TCodeLeadByteTest IsLead) const {
    int i = 0;
    const int target = Column - T.Start;
    while (i < target) i += IsLead(static_cast<unsigned char>(T.Text[i])) ? 2 : 1;
    return i > target;
  }

  // Pixels an italic or bold last character reaches beyond its cell.
  int Overhang() const {
    if (lastDrawnStyle_.Empty() || lastDrawnChar_ == '\0') return 0;
    ABC abc = {};
    unsigned char c = static_cast<unsigned char>(lastDrawnChar_);
    SelectObject(dc_, e_.textDrawer_->FontHandle());
    if (!GetCharABCWidthsA(dc_, c, c, &abc)) return 0;
    int width = abc.abcA + static_cast<int>(abc.abcB) + abc.abcC;
    return std::max(0, width - e_.charWidth_);
  }

  // The rest of the row right of the text: line background, and the selection's colour
  // where the row's selection lies.
  void FillToEnd(int FromColumn) {
    int x = std::max(ColumnX(FromColumn) + Overhang(), static_cast<int>(clip_.left));
    int right = clip_.right;
    if (x >= right) return;
    auto fill = [&](int Left, int Right, TColor Color) {
      FillColor(dc_, {std::max(Left, x), y_, std::min(Right, right), y_ + e_.lineHeight_}, Color);
    };
    if (rowSel_.Empty()) {
      fill(x, right, lineBg_);
      return;
    }
    int selLeft = rowSel_.Start <= FromColumn ? x : ColumnX(rowSel_.Start);
    int selRight = rowSel_.End == kOpenEnd ? right : ColumnX(rowSel_.End);
    fill(x, selLeft, lineBg_);
    fill(selLeft, selRight, e_.selectedColor_->Background());
    fill(selRight, right, lineBg_);
  }

  TCustomCodeEdit& e_;
  HDC dc_;
  RECT clip_;
  int firstCol_, lastCol_;
  bool edgeDue_ = false;
  int edgeX_ = 0;
  bool showSpecial_ = false;
  // The selection of this paint.
  bool hasSelection_ = false;
  TBufferCoord selBegin_, selEnd_;
  SM mode_ = SM::smNormal;
  int columnStart_ = 0, columnEnd_ = 0;
  // The line being painted.
  int line_ = 0;
  std::string_view expanded_;  // the line with tabs expanded
  std::string expandedScratch_, glyphs_;
  std::string scanned_;  // the part of it the highlighter scans, from resumedAt_ (0-based) on
  int resumedAt_ = 0;
  // The highlighter's token being painted (line columns, End exclusive).
  struct THighlighterToken {
    bool Valid = false;
    int Start = 0, End = 0;
    TCodeHighlighterAttributes* Attr = nullptr;
  } token_;
  TColor lineFg_ = clNone, lineBg_ = clNone;
  bool special_ = false;
  TRange lineSel_;
  // The row being painted.
  int rowStart_ = 1;
  int y_ = 0;
  TRange rowSel_;
  int visibleFrom_ = 1, visibleTo_ = 1;
  TToken pending_;
  TFontStyles lastDrawnStyle_;
  char lastDrawnChar_ = '\0';
};

// ---------------------------------------------------------------------------------------
// The paint request

void TCustomCodeEdit::WmPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(Handle(), &ps);
  if (dc) {
    try {
      Paint(dc, ps.rcPaint);
    } catch (...) {
      EndPaint(Handle(), &ps);
      throw;
    }
  }
  EndPaint(Handle(), &ps);
}

void TCustomCodeEdit::Paint(HDC DC, const RECT& Clip) {
  if (charWidth_ <= 0 || lineHeight_ <= 0) return;
  int firstCol = leftChar_;
  if (Clip.left > gutterWidth_ + 2) firstCol = leftChar_ + (Clip.left - gutterWidth_ - 2) / charWidth_;
  int lastCol = leftChar_ + (Clip.right - gutterWidth_ - 2 + charWidth_ - 1) / charWidth_;
  int firstRow = std::max(topLine_ + static_cast<int>(Clip.top) / lineHeight_, topLine_);
  int lastRow = topLine_ + (Clip.bottom + lineHeight_ - 1) / lineHeight_;
  lastRow = std::min(std::max(lastRow, 1), DisplayRowCount());
  HideCaret();
  try {
    if (Clip.left < gutterWidth_) {
      RECT gutter = Clip;
      gutter.right = std::min<LONG>(gutter.right, gutterWidth_);
      PaintGutter(DC, gutter, firstRow, lastRow);
    }
    if (Clip.right > gutterWidth_) {
      RECT text = Clip;
      text.left = std::max<LONG>(text.left, gutterWidth_);
      PaintTextLines(DC, text, firstRow, lastRow, firstCol, lastCol);
    }
    NotifyPluginsAfterPaint(DC, Clip, firstRow, lastRow);
    DoOnPaint(DC);
    DoOnPaintTransient(TTransientType::ttAfter);
  } catch (...) {
    UpdateCaret();
    throw;
  }
  UpdateCaret();
}

// ---------------------------------------------------------------------------------------
// Gutter

void TCustomCodeEdit::PaintGutter(HDC DC, const RECT& AClip, int FirstRow, int LastRow) {
  const int firstLine = LineOfRow(FirstRow);
  const int lastLine = std::min(LineOfRow(LastRow), lines_->Count());
  const TCodeGutter& g = *gutter_;
  const int textRight = gutterWidth_ - g.RightOffset() - 2;
  if (g.Gradient())
    PaintGradient(DC, g.GradientStartColor(), g.GradientEndColor(), true,
                  {0, 0, gutterWidth_, ClientRect().bottom}, g.GradientSteps());
  if (g.ShowLineNumbers()) {
    TCodeEditPainter::PaintLineNumbers(*this, DC, AClip, firstLine, lastLine);
  } else if (!g.Gradient()) {
    FillColor(DC, AClip, g.Color());
  }
  if (WordWrap() && wordWrapGlyph_->Visible()) {
    for (int row = FirstRow; row <= LastRow; ++row)
      if (FirstRowOfLine(LineOfRow(row)) != row)
        wordWrapGlyph_->Draw(DC, textRight - wordWrapGlyph_->Width(),
                             (row - topLine_) * lineHeight_, lineHeight_);
  }
  if (g.BorderStyle() != TCodeGutterBorderStyle::gbsNone && AClip.right >= gutterWidth_ - 2) {
    if (g.BorderStyle() == TCodeGutterBorderStyle::gbsMiddle) {
      VerticalLine(DC, gutterWidth_ - 2, AClip.top, AClip.bottom, g.BorderColor());
      VerticalLine(DC, gutterWidth_ - 1, AClip.top, AClip.bottom, g.Color());
    } else {
      VerticalLine(DC, gutterWidth_ - 1, AClip.top, AClip.bottom, g.BorderColor());
    }
  }
  TCodeEditPainter::PaintMarks(*this, DC, firstLine, lastLine);
  if (OnGutterPaint)
    for (int line = firstLine; line <= lastLine; ++line)
      OnGutterPaint(this, line, 0, (FirstRowOfLine(line) - topLine_) * lineHeight_);
}

// ---------------------------------------------------------------------------------------
// Text area

void TCustomCodeEdit::PaintTextLines(HDC DC, RECT AClip, int FirstRow, int LastRow,
                                     int FirstCol, int LastCol) {
  const TColor background = TCodeEditPainter::EditorBackground(*this);
  if (AClip.left < gutterWidth_ + 2) {
    FillColor(DC, {gutterWidth_, AClip.top, gutterWidth_ + 2, AClip.bottom}, background);
    AClip.left = gutterWidth_ + 2;
  }
  TCodeEditPainter painter(*this, DC, AClip, FirstCol, LastCol);
  if (FirstRow <= LastRow && lines_->Count() > 0) {
    textDrawer_->SetStyle(font_->Style());
    textDrawer_->BeginDrawing(DC);
    try {
      painter.PaintRows(FirstRow, LastRow);
    } catch (...) {
      textDrawer_->EndDrawing();
      throw;
    }
    textDrawer_->EndDrawing();
  }
  RECT below = AClip;
  below.top = std::max<LONG>(AClip.top, (std::max(LastRow, topLine_ - 1) - topLine_ + 1) * lineHeight_);
  if (below.top < below.bottom) {
    FillColor(DC, below, background);
    painter.PaintRightEdge(below.top, below.bottom);
  }
}
