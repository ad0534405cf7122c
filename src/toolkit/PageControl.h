// A tab strip whose tabs each show one page of child controls.
#pragma once
#include <functional>
#include <vector>
#include "toolkit/ShortCut.h"
#include "toolkit/WinControl.h"

class TImageList;
class TPageControl;

// One page; its children fill it as they are aligned. The caption is the tab's text.
class TTabSheet : public TWinControl {
public:
  TTabSheet(TComponent* Owner, TPageControl* PageControl);
  ~TTabSheet() override;

  TPageControl* PageControl() const { return pageControl_; }
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int ImageIndex);
  // The position among the tabs; setting it moves the tab (the others shift).
  int PageIndex() const;
  void SetPageIndex(int Index);
  // Fires whenever the page becomes the active one, also when set by code.
  TNotifyEvent OnShow;

protected:
  void CaptionChanged() override;

private:
  friend class TPageControl;
  TPageControl* pageControl_;
  int imageIndex_ = -1;
};

// Mouse events give the button as VK_LBUTTON, VK_RBUTTON or VK_MBUTTON and client coordinates.
using TTabMouseEvent = std::function<void(TObject* Sender, int Button, TShiftState Shift, int X, int Y)>;
using TDragOverEvent =
    std::function<void(TObject* Sender, TObject* Source, int X, int Y, bool& Accept)>;
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y)>;

class TPageControl : public TWinControl, public TNotifiedControl {
public:
  TPageControl(TComponent* Owner, TWinControl* Parent);
  ~TPageControl() override;

  // A new page named Name (owned by this control) at Index; -1 or past the end appends.
  // The first page becomes active.
  TTabSheet* AddPage(const std::string& Name, int Index = -1);
  // Frees the page; when it was active, the next page to the right becomes active, or the
  // first when it was the last.
  void RemovePage(TTabSheet* Sheet);
  int PageCount() const { return static_cast<int>(pages_.size()); }
  // nullptr out of range.
  TTabSheet* Pages(int Index) const;
  int IndexOfPage(const TTabSheet* Sheet) const;
  TTabSheet* ActivePage() const { return active_; }
  // Shows the page and fires its OnShow (not OnChange); nullptr or a foreign page: nothing.
  void SetActivePage(TTabSheet* Sheet);
  int ActivePageIndex() const { return IndexOfPage(active_); }
  void SetActivePageIndex(int Index) { SetActivePage(Pages(Index)); }
  // Moves a page to another position; indexes out of range do nothing.
  void MovePage(TTabSheet* Sheet, int NewIndex);
  // Shows the page after (or before) the active one, the last going round to the first, as
  // though the user had picked its tab (OnChange fires).
  void SelectNextPage(bool GoForward);

  TImageList* Images() const { return images_; }
  void SetImages(TImageList* Images);
  // The index of the tab at a client point; -1 when none is there.
  int IndexOfTabAt(int X, int Y) const;
  // The client rectangle of the tab at Index; empty out of range.
  RECT TabRect(int Index) const;

  // The user picked another tab (after the new page's OnShow).
  TNotifyEvent OnChange;
  TTabMouseEvent OnMouseDown;
  TTabMouseEvent OnMouseUp;
  // Dragging: BeginDrag (from OnMouseDown) follows the mouse from the system's drag
  // threshold on; the release over a control whose OnDragOver accepts this one as Source
  // fires its OnDragDrop. Another button, Escape or a release without moving ends it.
  void BeginDrag();
  bool Dragging() const { return dragging_; }
  TDragOverEvent OnDragOver;
  TDragDropEvent OnDragDrop;

  LRESULT Notify(NMHDR* Header) override;

protected:
  LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

private:
  friend class TTabSheet;
  void InsertTab(int Index, TTabSheet* Sheet);
  void SyncTab(const TTabSheet* Sheet);
  void SheetGoing(TTabSheet* Sheet);
  void LayoutPages();
  void ShowPage(TTabSheet* Sheet);
  void MouseMessage(UINT Msg, WPARAM wParam, LPARAM lParam);
  bool DragTo(POINT Screen, bool Drop);
  void EndDrag();

  std::vector<TTabSheet*> pages_;
  TTabSheet* active_ = nullptr;
  TImageList* images_ = nullptr;
  bool dragging_ = false;
  bool dragStarted_ = false;
  POINT dragOrigin_ = {};
};
