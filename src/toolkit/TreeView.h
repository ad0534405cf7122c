// A tree of text nodes with images, optional lines and buttons, and a hint of its own.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include "toolkit/ShortCut.h"
#include "toolkit/WinControl.h"

class TImageList;
class TTreeView;

// One node; owned by its tree (through its parent node).
class TTreeNode {
public:
  TTreeNode(TTreeView* Owner, TTreeNode* Parent, const std::string& Text)
      : owner_(Owner), parent_(Parent), text_(Text) {}

  const std::string& Text() const { return text_; }
  TTreeNode* Parent() const { return parent_; }
  int Count() const { return static_cast<int>(children_.size()); }
  TTreeNode* Item(int Index) const { return children_[Index].get(); }
  bool HasChildren() const { return !children_.empty(); }
  int ImageIndex() const { return imageIndex_; }
  int SelectedIndex() const { return selectedIndex_; }
  void SetImageIndex(int Index);
  void SetSelectedIndex(int Index);
  bool Expanded() const;
  // Recurse also opens or closes every descendant.
  void Expand(bool Recurse);
  void Collapse(bool Recurse);
  // Scrolls the node into view, opening its ancestors.
  void MakeVisible();
  HTREEITEM Handle() const { return handle_; }

private:
  friend class TTreeView;
  void SetImages();
  TTreeView* owner_;
  TTreeNode* parent_;
  std::string text_;
  std::vector<std::unique_ptr<TTreeNode>> children_;
  HTREEITEM handle_ = nullptr;
  int imageIndex_ = -1;
  int selectedIndex_ = -1;
};

// Mouse events give the button as VK_LBUTTON, VK_RBUTTON or VK_MBUTTON and client coordinates.
using TTreeMouseEvent =
    std::function<void(TObject* Sender, int Button, TShiftState Shift, int X, int Y)>;
using TTreeMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TTreeKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;

class TTreeView : public TWinControl, public TNotifiedControl {
public:
  TTreeView(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H);
  ~TTreeView() override;

  // A new last child of Parent (a top-level node for nullptr).
  TTreeNode* AddChild(TTreeNode* Parent, const std::string& Text);
  void Clear();
  // The top-level nodes.
  int Count() const { return root_.Count(); }
  TTreeNode* Items(int Index) const { return root_.Item(Index); }
  TTreeNode* Selected() const;
  void SetSelected(TTreeNode* Node);
  void FullExpand();
  void FullCollapse();

  bool ShowLines() const { return showLines_; }
  void SetShowLines(bool Value);
  bool ShowButtons() const { return showButtons_; }
  void SetShowButtons(bool Value);
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* Images);
  // Stops painting between the calls; they nest.
  void BeginUpdate();
  void EndUpdate();

  // The node at a client point; OnItem tells whether the point is on its icon, label or
  // state icon (not on the indent, button or the space right of the label).
  TTreeNode* NodeAt(int X, int Y, bool* OnItem = nullptr) const;
  // The hint shown while the pointer rests on the tree; CancelHint hides a shown one.
  void SetHintText(const std::string& Text);
  void CancelHint();

  TNotifyEvent OnDblClick;
  TTreeKeyEvent OnKeyDown;
  TTreeMouseEvent OnMouseDown;
  TTreeMouseMoveEvent OnMouseMove;

  LRESULT Notify(NMHDR* Header) override;

protected:
  LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

private:
  friend class TTreeNode;
  void SetStyleBit(DWORD Bit, bool On);
  void ExpandAll(TTreeNode& Node, UINT Action);
  TTreeNode* FindByHandle(HTREEITEM Handle) const;

  TTreeNode root_;
  TImageList* images_ = nullptr;
  bool showLines_ = true;
  bool showButtons_ = true;
  int updateCount_ = 0;
  HWND tip_ = nullptr;
  std::string tipText_;
};
