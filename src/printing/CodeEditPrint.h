// Prints the text of an editor control, optionally coloured by its highlighter: pagination
// with margins, header and footer, wrapping, line numbers, page ranges and copies, and single
// pages on any device context for the preview.
#pragma once
#include <windows.h>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include "editor/CodeEdit.h"
#include "editor/CodeEditHighlighter.h"
#include "printing/CodeEditPrintHeaderFooter.h"
#include "printing/CodeEditPrintMargins.h"
#include "printing/CodeEditPrintTypes.h"
#include "printing/CodeEditPrinterInfo.h"
#include "toolkit/Component.h"

enum class TCodePrintStatus { psBegin, psNewPage, psEnd };
using TCodePrintStatusEvent =
    std::function<void(TObject* Sender, TCodePrintStatus Status, int PageNumber, bool& Abort)>;
using TCodePrintLineEvent = std::function<void(TObject* Sender, int LineNumber, int PageNumber)>;

class TCodeEditPrint : public TComponent {
public:
  explicit TCodeEditPrint(TComponent* Owner = nullptr);
  ~TCodeEditPrint() override;

  // Takes the editor's highlighter, font, tab width, lines and selection.
  void SetCodeEdit(const TCustomCodeEdit& Edit);
  // Prints every page; PrintRange prints pages First..Last (-1: the last page) Copies times.
  // A job that fails is aborted and the printer's error passes on.
  void Print() { PrintRange(1, -1); }
  void PrintRange(int First, int Last);
  // Draws page PageNumber on Canvas (logical units are printer pixels); no printer job.
  void PrintToCanvas(HDC Canvas, int PageNumber);
  // Reads the printer metrics and paginates for Canvas.
  void UpdatePages(HDC Canvas);
  // The number of pages, paginating on the screen when needed.
  int GetPageCount();

  int Copies() const { return copies_; }
  void SetCopies(int V) { copies_ = V; }
  THeader& Header() { return header_; }
  TFooter& Footer() { return footer_; }
  TCodeEditPrintMargins& Margins() { return margins_; }
  TCodeEditPrinterInfo& PrinterInfo() { return printerInfo_; }
  // The lines as printed: tabs expanded to blanks.
  const std::vector<std::string>& Lines() const { return lines_; }
  void SetLines(const TStrings& Value);
  TFont& Font() { return font_; }
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& V) { title_ = V; }
  const std::string& DocTitle() const { return docTitle_; }
  void SetDocTitle(const std::string& V) { docTitle_ = V; }
  bool Wrap() const { return wrap_; }
  void SetWrap(bool V) { wrap_ = V; pagesComputed_ = false; }
  bool Highlight() const { return highlight_; }
  void SetHighlight(bool V) { highlight_ = V; }
  bool SelectedOnly() const { return selectedOnly_; }
  void SetSelectedOnly(bool V) { selectedOnly_ = V; pagesComputed_ = false; }
  bool Colors() const { return colors_; }
  void SetColors(bool V) { colors_ = V; }
  bool LineNumbers() const { return lineNumbers_; }
  void SetLineNumbers(bool V) { lineNumbers_ = V; pagesComputed_ = false; }
  bool LineNumbersInMargin() const { return lineNumbersInMargin_; }
  void SetLineNumbersInMargin(bool V) { lineNumbersInMargin_ = V; pagesComputed_ = false; }
  int LineOffset() const { return lineOffset_; }
  void SetLineOffset(int V) { lineOffset_ = V; }
  int PageOffset() const { return pageOffset_; }
  void SetPageOffset(int V) { pageOffset_ = V; }
  int TabWidth() const { return tabWidth_; }
  void SetTabWidth(int V) { tabWidth_ = V; }
  TColor Color() const { return color_; }
  void SetColor(TColor V) { color_ = V; }
  TCodeCustomHighlighter* Highlighter() const { return highlighter_; }
  void SetHighlighter(TCodeCustomHighlighter* Value);
  // The selection SelectedOnly prints: editor positions (1-based) in the lines as given.
  void SetSelection(bool Available, TBufferCoord Begin, TBufferCoord End, TCodeSelectionMode Mode);

  TCodePrintStatusEvent OnPrintStatus;
  TCodePrintLineEvent OnPrintLine;

protected:
  virtual void DoPrintStatus(TCodePrintStatus Status, int PageNumber, bool& Abort);
  virtual void DoPrintLine(int LineNumber, int PageNumber);
  void Notification(TComponent* AComponent) override;

private:
  // One printed row: a piece of a line's printed text.
  struct TRow {
    int Start;  // 0-based offset in the printed text
    int Length;
  };
  struct TPrintedText {
    std::string Text;
    int Column;  // 0-based column of the text's first character in the line
  };
  void InitPrint();
  void Paginate();
  int FirstPrintedLine() const;
  int LastPrintedLine() const;
  TPrintedText PrintedText(int Line) const;
  std::vector<TRow> RowsOf(const std::string& Text) const;
  void PrintPage(int PageNumber);
  void PrintLine(int Line);
  void PrintLineNumber(int Line);
  void DrawRow(const std::string& Text, int Column, int Y, HFONT Font, COLORREF Fore,
               COLORREF Back);
  void PrintHighlightedRows(int Line, const TPrintedText& Printed, const std::vector<TRow>& Rows);
  HFONT StyledFont(TFontStyles Style);
  void ClearFonts();
  int FontPixPrInch() { return printerInfo_.YPixPrInch(); }

  int copies_ = 1;
  THeader header_;
  TFooter footer_;
  TCodeEditPrintMargins margins_;
  TCodeEditPrinterInfo printerInfo_;
  // Kept to map selection positions to columns; holds the highlighter's line states.
  TCodeEditStringList rawLines_;
  std::vector<std::string> lines_;
  TFont font_{"Courier New", 10};
  std::string title_, docTitle_;
  bool wrap_ = true, highlight_ = true, selectedOnly_ = false, colors_ = false;
  bool lineNumbers_ = false, lineNumbersInMargin_ = false;
  int lineOffset_ = 0, pageOffset_ = 0, tabWidth_ = 8;
  TColor color_ = clWhite;
  TCodeCustomHighlighter* highlighter_ = nullptr;

  std::vector<int> pages_;  // the first line of each page
  int pageCount_ = 0;
  HDC canvas_ = nullptr;
  int charWidth_ = 1;
  int lineHeight_ = 1;
  int yPos_ = 0;
  int maxWidth_ = 1;
  int maxCol_ = 1;
  int lineNumber_ = 0;
  bool selAvail_ = false;
  TBufferCoord blockBegin_, blockEnd_;
  TCodeSelectionMode selMode_ = TCodeSelectionMode::smNormal;
  bool abort_ = false, printing_ = false, pagesComputed_ = false;
  bool useHighlighter_ = false;
  std::array<std::unique_ptr<TDeviceFont>, 16> fonts_;  // by style bits
};
