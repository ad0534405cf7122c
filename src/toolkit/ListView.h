// A report-style list: rows of columns, with optional check boxes and several selected rows.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include <windows.h>
#include <commctrl.h>
#include "toolkit/WinControl.h"

class TImageList;
class TListView;

// One row. Checked and Selected are read from the control, so they show what the user did.
class TListItem {
public:
  TListItem(TListView* Owner, const std::string& Caption) : owner_(Owner), caption_(Caption) {}

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& Caption);
  // The texts of the second and later columns.
  int SubItemCount() const { return static_cast<int>(subItems_.size()); }
  std::string SubItem(int Index) const;
  void AddSubItem(const std::string& Text);
  void SetSubItem(int Index, const std::string& Text);
  // Kept for the caller, never looked at.
  void* Data() const { return data_; }
  void SetData(void* Data) { data_ = Data; }
  bool Checked() const;
  void SetChecked(bool Checked);
  bool Selected() const;
  void SetSelected(bool Selected);
  // The row's picture from the list's SmallImages; -1 for none.
  int ImageIndex() const;
  void SetImageIndex(int ImageIndex);
  // The row's position now (it changes as sorted rows are added).
  int Index() const;
  TListView* ListView() const { return owner_; }

private:
  friend class TListView;
  TListView* owner_;
  std::string caption_;
  std::vector<std::string> subItems_;
  void* data_ = nullptr;
};

class TListView : public TWinControl, public TNotifiedControl {
public:
  TListView(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H);
  ~TListView() override;

  // An auto-size column takes what the other columns leave of the client width (shared
  // evenly among several), laid out again whenever the client area changes size.
  void AddColumn(const std::string& Caption, int Width, bool AutoSize = false);
  // Lays the auto-size columns out again: rows that bring or take a scroll bar change the
  // client width without resizing the list.
  void ResizeColumns();
  int ColumnCount() const { return static_cast<int>(autoSize_.size()); }
  std::string ColumnCaption(int Index) const;
  void SetColumnCaption(int Index, const std::string& Caption);
  int ColumnWidth(int Index) const;

  // The rows' pictures; the list is shared, never freed here, and forgotten when freed first.
  TImageList* SmallImages() const { return smallImages_; }
  void SetSmallImages(TImageList* Images);

  bool CheckBoxes() const { return checkBoxes_; }
  void SetCheckBoxes(bool Value);
  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool Value);
  void SetRowSelect(bool Value);
  // Rows ordered by caption (without regard to case), also those added later.
  bool Sorted() const { return sorted_; }
  void SetSorted(bool Value);
  // Read-only rows cannot have their captions edited in place.
  void SetReadOnly(bool Value);
  // Keeps the selection shown while the list has no focus.
  void SetHideSelection(bool Value);

  TListItem* AddItem(const std::string& Caption);
  int Count() const;
  // The row at a position in the list's present order; nullptr out of range.
  TListItem* Items(int Index) const;
  void Delete(int Index);
  void Clear();
  // The first selected row; nullptr when none.
  TListItem* Selected() const;
  int SelCount() const;
  void SelectAll();

  TNotifyEvent OnDblClick;
  std::function<void(TObject* Sender, TListItem* Item, bool Selected)> OnSelectItem;
  // Before a row gains (Selected) or loses its selection.
  std::function<void(TObject* Sender, TListItem* Item, bool Selected)> OnChanging;
  std::function<void(TObject* Sender, int Column)> OnColumnClick;

  LRESULT Notify(NMHDR* Header) override;

protected:
  LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;
  // The caption an in-place edit ended with; "?" where the code page lacks a character typed.
  std::string EditedLabel(const NMLVDISPINFOA& Ended) const;
  void Notification(TComponent* AComponent) override;

private:
  friend class TListItem;
  bool SelectionChanges(const NMLISTVIEW& Change) const;
  bool InsertRow(TListItem* Row, int Index, int Image);
  int IndexOf(const TListItem* Item) const;
  void SetStyleBit(DWORD Bit, bool On);
  void SetExStyleBit(DWORD Bit, bool On);
  void PlaceSorted(TListItem* Item);
  void MoveRow(TListItem* Item, int Index);
  // Gives the keyboard a row when the list gets the focus without one: the selected row, else
  // the first, marked but not selected.
  void MarkKeyboardRow();

  std::vector<std::unique_ptr<TListItem>> items_;
  std::vector<bool> autoSize_;
  TImageList* smallImages_ = nullptr;
  bool checkBoxes_ = false;
  bool multiSelect_ = false;
  bool sorted_ = false;
  bool readOnly_ = false;
  bool filling_ = false;
};
