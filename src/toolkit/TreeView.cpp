#include "toolkit/TreeView.h"
#include <windowsx.h>
#include "toolkit/ImageList.h"
#include "toolkit/KeyState.h"

namespace {

TShiftState MouseShift(WPARAM wParam) {
  TShiftState shift;
  if (wParam & MK_SHIFT) shift.Include(TShift::ssShift);
  if (wParam & MK_CONTROL) shift.Include(TShift::ssCtrl);
  if (IsAltDown()) shift.Include(TShift::ssAlt);
  return shift;
}

}  // namespace

// Nodes -----------------------------------------------------------------------------------

void TTreeNode::SetImages() {
  if (!handle_) return;
  TVITEMA item = {};
  item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  item.hItem = handle_;
  item.iImage = imageIndex_;
  item.iSelectedImage = selectedIndex_;
  owner_->Perform(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void TTreeNode::SetImageIndex(int Index) {
  imageIndex_ = Index;
  SetImages();
}

void TTreeNode::SetSelectedIndex(int Index) {
  selectedIndex_ = Index;
  SetImages();
}

bool TTreeNode::Expanded() const {
  return handle_ &&
         (owner_->Perform(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(handle_), TVIS_EXPANDED) &
          TVIS_EXPANDED) != 0;
}

void TTreeNode::Expand(bool Recurse) {
  if (Recurse) owner_->ExpandAll(*this, TVE_EXPAND);
  else owner_->Perform(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(handle_));
}

void TTreeNode::Collapse(bool Recurse) {
  if (Recurse) owner_->ExpandAll(*this, TVE_COLLAPSE);
  else owner_->Perform(TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(handle_));
}

void TTreeNode::MakeVisible() {
  owner_->Perform(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(handle_));
}

// The tree ----------------------------------------------------------------------------------

TTreeView::TTreeView(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H)
    : TWinControl(Owner), root_(this, nullptr, "") {
  CreateSystemControl(WC_TREEVIEWA,
                      WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS |
                          TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_NOTOOLTIPS,
                      WS_EX_CLIENTEDGE, Parent ? Parent->Handle() : nullptr, X, Y, W, H);
  tip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP |
                         TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                         Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
  if (tip_) {
    TOOLINFOA tool = {};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = Handle();
    tool.uId = reinterpret_cast<UINT_PTR>(Handle());
    tool.lpszText = const_cast<char*>("");
    SendMessageA(tip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageA(tip_, TTM_SETMAXTIPWIDTH, 0, 600);
    SendMessageA(tip_, TTM_ACTIVATE, FALSE, 0);
  }
}

TTreeView::~TTreeView() {
  if (tip_) DestroyWindow(tip_);
}

TTreeNode* TTreeView::AddChild(TTreeNode* Parent, const std::string& Text) {
  TTreeNode& parent = Parent ? *Parent : root_;
  parent.children_.push_back(std::make_unique<TTreeNode>(this, Parent, Text));
  TTreeNode* node = parent.children_.back().get();
  TVINSERTSTRUCTA insert = {};
  insert.hParent = Parent ? Parent->handle_ : TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  insert.item.pszText = node->text_.data();
  insert.item.lParam = reinterpret_cast<LPARAM>(node);
  insert.item.iImage = -1;
  insert.item.iSelectedImage = -1;
  node->handle_ =
      reinterpret_cast<HTREEITEM>(Perform(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
  return node;
}

void TTreeView::Clear() {
  Perform(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  root_.children_.clear();
}

TTreeNode* TTreeView::FindByHandle(HTREEITEM Handle) const {
  if (!Handle) return nullptr;
  TVITEMA item = {};
  item.mask = TVIF_PARAM;
  item.hItem = Handle;
  if (!SendMessageA(this->Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
    return nullptr;
  return reinterpret_cast<TTreeNode*>(item.lParam);
}

TTreeNode* TTreeView::Selected() const {
  return FindByHandle(reinterpret_cast<HTREEITEM>(
      SendMessageA(Handle(), TVM_GETNEXTITEM, TVGN_CARET, 0)));
}

void TTreeView::SetSelected(TTreeNode* Node) {
  Perform(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(Node ? Node->handle_ : nullptr));
}

void TTreeView::ExpandAll(TTreeNode& Node, UINT Action) {
  if (Node.handle_ && Node.HasChildren())
    Perform(TVM_EXPAND, Action, reinterpret_cast<LPARAM>(Node.handle_));
  for (auto& child : Node.children_) ExpandAll(*child, Action);
}

void TTreeView::FullExpand() {
  BeginUpdate();
  ExpandAll(root_, TVE_EXPAND);
  EndUpdate();
}

void TTreeView::FullCollapse() {
  BeginUpdate();
  ExpandAll(root_, TVE_COLLAPSE);
  EndUpdate();
}

void TTreeView::SetStyleBit(DWORD Bit, bool On) {
  LONG style = GetWindowLongA(Handle(), GWL_STYLE);
  style = On ? (style | static_cast<LONG>(Bit)) : (style & ~static_cast<LONG>(Bit));
  SetWindowLongA(Handle(), GWL_STYLE, style);
  Invalidate();
}

void TTreeView::SetShowLines(bool Value) {
  showLines_ = Value;
  SetStyleBit(TVS_HASLINES, Value);
}

void TTreeView::SetShowButtons(bool Value) {
  showButtons_ = Value;
  SetStyleBit(TVS_HASBUTTONS, Value);
}

void TTreeView::SetImages(TImageList* Images) {
  images_ = Images;
  Perform(TVM_SETIMAGELIST, TVSIL_NORMAL,
          reinterpret_cast<LPARAM>(Images ? Images->Handle() : nullptr));
}

void TTreeView::BeginUpdate() {
  if (updateCount_++ == 0) Perform(WM_SETREDRAW, FALSE);
}

void TTreeView::EndUpdate() {
  if (updateCount_ == 0 || --updateCount_ > 0) return;
  Perform(WM_SETREDRAW, TRUE);
  Invalidate();
}

TTreeNode* TTreeView::NodeAt(int X, int Y, bool* OnItem) const {
  TVHITTESTINFO hit = {};
  hit.pt = {X, Y};
  SendMessageA(Handle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
  if (OnItem) *OnItem = (hit.flags & TVHT_ONITEM) != 0;
  return FindByHandle(hit.hItem);
}

void TTreeView::SetHintText(const std::string& Text) {
  SetHint(Text);
  if (!tip_) return;
  tipText_ = Text;
  TOOLINFOA tool = {};
  tool.cbSize = sizeof(tool);
  tool.hwnd = Handle();
  tool.uId = reinterpret_cast<UINT_PTR>(Handle());
  tool.lpszText = tipText_.data();
  SendMessageA(tip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageA(tip_, TTM_ACTIVATE, !Text.empty(), 0);
}

void TTreeView::CancelHint() {
  if (tip_) SendMessageA(tip_, TTM_POP, 0, 0);
}

LRESULT TTreeView::Notify(NMHDR* Header) {
  if (Header->code == NM_DBLCLK && OnDblClick) OnDblClick(this);
  return 0;
}

LRESULT TTreeView::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) {
  switch (Msg) {
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      // The system tree waits for a drag in a loop of its own on a right press; the owner's
      // handler selects and shows its menu instead.
      if (OnMouseDown) {
        OnMouseDown(this, Msg == WM_RBUTTONDOWN ? VK_RBUTTON : VK_MBUTTON, MouseShift(wParam),
                    GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
      }
      break;
    case WM_LBUTTONDOWN:
      if (OnMouseDown)
        OnMouseDown(this, VK_LBUTTON, MouseShift(wParam), GET_X_LPARAM(lParam),
                    GET_Y_LPARAM(lParam));
      break;
    case WM_MOUSEMOVE:
      if (OnMouseMove) OnMouseMove(this, MouseShift(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      break;
    case WM_KEYDOWN:
      if (OnKeyDown) {
        WORD key = static_cast<WORD>(wParam);
        TShiftState shift;
        if (GetKeyState(VK_SHIFT) < 0) shift.Include(TShift::ssShift);
        if (GetKeyState(VK_CONTROL) < 0) shift.Include(TShift::ssCtrl);
        OnKeyDown(this, key, shift);
        if (key == 0) return 0;
      }
      break;
    default:
      break;
  }
  return TWinControl::WndProc(Msg, wParam, lParam);
}
