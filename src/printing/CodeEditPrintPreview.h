// A window that shows one page of a print job scaled into it: as a whole page, fitted to the
// width, or at a percentage of its real size, with scrolling and page stepping.
#pragma once
#include <windows.h>
#include <functional>
#include "printing/CodeEditPrint.h"
#include "toolkit/WinControl.h"

enum class TCodePreviewScale { pscWholePage, pscPageWidth, pscUserScaled };
using TPreviewPageEvent = std::function<void(TObject* Sender, int PageNumber)>;
// Button is VK_LBUTTON, VK_RBUTTON or VK_MBUTTON; X and Y are client coordinates.
using TPreviewMouseEvent = std::function<void(TObject* Sender, int Button, int X, int Y)>;

class TCodeEditPrintPreview : public TWinControl {
public:
  TCodeEditPrintPreview(TComponent* Owner, TWinControl* Parent);
  ~TCodeEditPrintPreview() override;

  // Paginates again for this window and redraws, keeping the scale; the page shown stays
  // within the new page count.
  void UpdatePreview();
  void FirstPage();
  void LastPage();
  void NextPage();
  void PreviousPage();
  int GetPageCount();

  virtual void ScrollHorzTo(int X);
  virtual void ScrollVertTo(int Y);
  void ScrollHorzFor(int Delta) { ScrollHorzTo(scrollPos_.x + Delta); }
  void ScrollVertFor(int Delta) { ScrollVertTo(scrollPos_.y + Delta); }
  virtual void UpdateScrollbars();
  virtual void CalcPageSize();

  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle Value);
  TColor Color() const { return color_; }
  void SetColor(TColor Value);
  TColor PageBGColor() const { return pageBGColor_; }
  void SetPageBGColor(TColor Value);
  TCodeEditPrint* CodeEditPrint() const { return print_; }
  void SetCodeEditPrint(TCodeEditPrint* Value);
  TCodePreviewScale ScaleMode() const { return scaleMode_; }
  void SetScaleMode(TCodePreviewScale Value);
  int ScalePercent() const { return scalePercent_; }
  void SetScalePercent(int Value);
  int PageNumber() const { return pageNumber_; }
  bool ShowScrollHint() const { return showScrollHint_; }
  void SetShowScrollHint(bool Value) { showScrollHint_ = Value; }

  // The page on screen, the scrolled area and how far it is scrolled (0 or negative).
  POINT PageSize() const { return pageSize_; }
  POINT VirtualSize() const { return virtualSize_; }
  POINT VirtualOffset() const { return virtualOffset_; }
  POINT ScrollPosition() const { return scrollPos_; }
  // The hint window that shows the page while the thumb is dragged; nullptr until first used.
  static HWND ScrollHintWindow();

  TPreviewPageEvent OnPreviewPage;
  TNotifyEvent OnScaleChange;
  TNotifyEvent OnClick;
  TPreviewMouseEvent OnMouseDown;
  TPreviewMouseEvent OnMouseUp;
  std::function<void(TObject* Sender, WORD Key)> OnKeyDown;

protected:
  void Notification(TComponent* AComponent) override;
  LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;
  virtual void Paint(HDC DC);

private:
  int PageHeightFromWidth(int Width);
  int PageWidthFromHeight(int Height);
  int PageWidth100();
  int PageHeight100();
  void PaintPaper(HDC DC, const RECT& Paper);
  RECT PaperRect() const;
  void HorzScroll(int Code, int Thumb);
  void VertScroll(int Code, int Thumb);
  void StepToPage(int Page);
  void ShowPageHint(int Page);
  void MouseWheel(int Delta);
  void DoPreviewPage();
  POINT ClientSize() const;

  TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
  TCodeEditPrint* print_ = nullptr;
  TCodePreviewScale scaleMode_ = TCodePreviewScale::pscUserScaled;
  int scalePercent_ = 100;
  POINT virtualSize_ = {};
  POINT virtualOffset_ = {};
  POINT pageSize_ = {};
  POINT scrollPos_ = {};
  TColor color_ = clSystemColor | COLOR_APPWORKSPACE;
  TColor pageBGColor_ = clWhite;
  int pageNumber_ = 1;
  bool showScrollHint_ = true;
  int wheelAccumulator_ = 0;
};
