#include "toolkit/DialogKeys.h"
#include <algorithm>
#include <vector>
#include "toolkit/KeyState.h"
#include "toolkit/PageControl.h"

namespace {
const char* const kTabAreaProp = "TarvolineTabArea";

LONG Style(HWND Wnd) { return GetWindowLongA(Wnd, GWL_STYLE); }
bool Enabled(HWND Wnd) { return !(Style(Wnd) & WS_DISABLED); }
bool HoldsControls(HWND Wnd) {
  return (GetWindowLongA(Wnd, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) != 0;
}
bool IsRadio(HWND Wnd) { return (SendMessageA(Wnd, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0; }
bool Checked(HWND Wnd) { return SendMessageA(Wnd, BM_GETCHECK, 0, 0) == BST_CHECKED; }

struct TPlaced {
  HWND Wnd;
  RECT Rect;
  size_t Made;  // the place in the order the controls were made in
};
using TPlacedList = std::vector<TPlaced>;

// The widest gap that a line across (Vertical: a line down) finds between the controls
// without crossing one: its width and where it ends; width -1 when there is none.
struct TGap {
  int Width = -1;
  LONG End = 0;
};

LONG From(const RECT& R, bool Vertical) { return Vertical ? R.left : R.top; }
LONG To(const RECT& R, bool Vertical) { return Vertical ? R.right : R.bottom; }

TGap WidestGap(const TPlacedList& Controls, bool Vertical) {
  std::vector<RECT> sorted;
  for (const TPlaced& c : Controls) sorted.push_back(c.Rect);
  std::sort(sorted.begin(), sorted.end(), [Vertical](const RECT& A, const RECT& B) {
    return From(A, Vertical) < From(B, Vertical);
  });
  TGap widest;
  LONG reached = To(sorted.front(), Vertical);
  for (const RECT& r : sorted) {
    const LONG gap = From(r, Vertical) - reached;
    if (gap >= 0 && gap > widest.Width) widest = {static_cast<int>(gap), From(r, Vertical)};
    reached = std::max(reached, To(r, Vertical));
  }
  return widest;
}

bool Contains(const RECT& Outer, const RECT& Inner) {
  return Outer.left <= Inner.left && Outer.top <= Inner.top && Outer.right >= Inner.right &&
         Outer.bottom >= Inner.bottom;
}

// The controls on either side of a line across (Vertical: down) at Line.
struct TCut {
  TPlacedList Before, After;
  bool KeepsOrder() const {  // all before it were made before all after it
    size_t last = 0;
    for (const TPlaced& c : Before) last = std::max(last, c.Made);
    return std::all_of(After.begin(), After.end(),
                       [last](const TPlaced& c) { return c.Made > last; });
  }
};

TCut CutAt(const TPlacedList& Controls, bool Vertical, LONG Line) {
  TCut cut;
  for (const TPlaced& c : Controls)
    (From(c.Rect, Vertical) < Line ? cut.Before : cut.After).push_back(c);
  return cut;
}

// Reading order: the controls are cut in two by a line across or down through the widest gap
// it finds, and so on inside each part. Where both ways cut, the one that keeps the order the
// form made them in wins (a form that made its columns one after the other reads them so),
// else the wider gap, else the line across. A frame around the others goes before them; what
// no line divides keeps the order it was made in.
void ReadingOrder(const TPlacedList& Controls, std::vector<HWND>& Order) {
  if (Controls.size() < 2) {
    for (const TPlaced& c : Controls) Order.push_back(c.Wnd);
    return;
  }
  const TGap across = WidestGap(Controls, false), down = WidestGap(Controls, true);
  if (across.Width >= 0 || down.Width >= 0) {
    const TCut rows = CutAt(Controls, false, across.End), columns = CutAt(Controls, true, down.End);
    bool byColumns = down.Width > across.Width;
    if (across.Width >= 0 && down.Width >= 0 && rows.KeepsOrder() != columns.KeepsOrder())
      byColumns = columns.KeepsOrder();
    const TCut& cut = byColumns ? columns : rows;
    ReadingOrder(cut.Before, Order);
    ReadingOrder(cut.After, Order);
    return;
  }
  for (const TPlaced& frame : Controls) {
    if (!std::all_of(Controls.begin(), Controls.end(),
                     [&](const TPlaced& c) { return Contains(frame.Rect, c.Rect); }))
      continue;
    Order.push_back(frame.Wnd);
    TPlacedList inside;
    for (const TPlaced& c : Controls)
      if (c.Wnd != frame.Wnd) inside.push_back(c);
    ReadingOrder(inside, Order);
    return;
  }
  for (const TPlaced& c : Controls) Order.push_back(c.Wnd);
}

// The visible children of Parent in reading order (forms add controls as they go: a grid built
// after the row below it, a button before the field beside it).
std::vector<HWND> ChildrenInReadingOrder(HWND Parent) {
  TPlacedList children;
  for (HWND w = GetWindow(Parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (!(Style(w) & WS_VISIBLE)) continue;
    RECT r = {};
    GetWindowRect(w, &r);
    children.push_back({w, r, children.size()});
  }
  std::vector<HWND> order;
  ReadingOrder(children, order);
  return order;
}

// The radio buttons of the group that starts at First: up to the next control that is no radio
// button or starts a group of its own. Returns the index past the group.
size_t RadioGroupEnd(const std::vector<HWND>& Children, size_t First) {
  size_t end = First + 1;
  while (end < Children.size() && IsRadio(Children[end]) && !(Style(Children[end]) & WS_GROUP))
    ++end;
  return end;
}

size_t RadioGroupStart(const std::vector<HWND>& Children, size_t At) {
  size_t start = At;
  while (start > 0 && !(Style(Children[start]) & WS_GROUP) && IsRadio(Children[start - 1])) --start;
  return start;
}

struct TWalkItem {
  HWND Wnd;
  bool Stop;  // Tab stops here
};

void Walk(HWND Parent, std::vector<TWalkItem>& Items);

// Tab stops at one button of a radio group: the checked one, else the first enabled one.
size_t WalkRadioGroup(const std::vector<HWND>& Children, size_t First,
                      std::vector<TWalkItem>& Items) {
  const size_t end = RadioGroupEnd(Children, First);
  size_t stop = end;
  for (size_t i = First; i < end && stop == end; ++i)
    if (Enabled(Children[i]) && Checked(Children[i])) stop = i;
  for (size_t i = First; i < end && stop == end; ++i)
    if (Enabled(Children[i])) stop = i;
  for (size_t i = First; i < end; ++i) Items.push_back({Children[i], i == stop});
  return end;
}

// Every visible control inside Parent in the order Tab goes. A container that is a tab stop
// itself (a page control's tab strip) comes before the controls it shows.
void Walk(HWND Parent, std::vector<TWalkItem>& Items) {
  const std::vector<HWND> children = ChildrenInReadingOrder(Parent);
  for (size_t i = 0; i < children.size();) {
    const HWND w = children[i];
    if (IsRadio(w)) {
      i = WalkRadioGroup(children, i, Items);
      continue;
    }
    Items.push_back({w, Enabled(w) && (Style(w) & WS_TABSTOP)});
    if (Enabled(w) && HoldsControls(w)) Walk(w, Items);
    ++i;
  }
}

std::vector<TWalkItem> Walk(HWND Area) {
  std::vector<TWalkItem> items;
  Walk(Area, items);
  return items;
}

HWND NextTabStop(HWND Area, HWND Focus, bool Backwards) {
  const std::vector<TWalkItem> items = Walk(Area);
  const int n = static_cast<int>(items.size());
  // The focus may be inside a control (the edit of a combo box) or on no stop at all.
  int at = -1;
  for (HWND w = Focus; w && w != Area && at < 0; w = GetParent(w))
    for (int i = 0; i < n && at < 0; ++i)
      if (items[i].Wnd == w) at = i;
  for (int step = 1; step <= n; ++step) {
    const int i = at < 0 ? (Backwards ? n - step : step - 1)
                         : ((at + (Backwards ? -step : step)) % n + n) % n;
    if (items[i].Stop) return items[i].Wnd;
  }
  return nullptr;
}

void MoveFocus(HWND Target) {
  if (!Target) return;
  // As in dialogs: a field reached by the keyboard has its whole text selected.
  if (SendMessageA(Target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
    SendMessageA(Target, EM_SETSEL, 0, -1);
  SetFocus(Target);
}

TPageControl* PageControlFor(HWND Area, HWND Focus) {
  for (HWND w = Focus; w && w != Area; w = GetParent(w))
    if (auto* pages = dynamic_cast<TPageControl*>(TWinControl::FromHandle(w))) return pages;
  for (const TWalkItem& item : Walk(Area))
    if (auto* pages = dynamic_cast<TPageControl*>(TWinControl::FromHandle(item.Wnd))) return pages;
  return nullptr;
}

// The page control around the focus, else the first of the area, shows its next page. False
// when there is none.
bool ChangePage(HWND Area, HWND Focus, bool Backwards) {
  TPageControl* pages = PageControlFor(Area, Focus);
  if (!pages || !pages->ActivePage()) return false;
  pages->SelectNextPage(!Backwards);
  // The tab strip keeps the focus; from anywhere else it goes to the new page's first field.
  HWND target = pages->Handle();
  if (Focus != target && pages->ActivePage())
    if (HWND first = FirstTabStop(pages->ActivePage()->Handle())) target = first;
  MoveFocus(target);
  return true;
}

// The arrows go round the enabled buttons of the focused radio button's group and check the
// one they reach, as a click would.
bool MoveInRadioGroup(HWND Focus, bool Backwards) {
  const HWND parent = GetParent(Focus);
  const std::vector<HWND> children = ChildrenInReadingOrder(parent);
  size_t at = 0;
  while (at < children.size() && children[at] != Focus) ++at;
  if (at == children.size()) return false;
  const size_t start = RadioGroupStart(children, at);
  const size_t count = RadioGroupEnd(children, start) - start;
  for (size_t step = 1; step < count; ++step) {
    const size_t offset = (at - start + (Backwards ? count - step : step)) % count;
    const HWND target = children[start + offset];
    if (!Enabled(target)) continue;
    SetFocus(target);
    if (!Checked(target)) SendMessageA(target, BM_CLICK, 0, 0);
    break;
  }
  return true;
}

// Outside a dialog the key is not shown: a multi-line edit asked with it acts as in a dialog
// from then on, and on Escape asks its parent, a page of the window, to close.
bool ControlWants(HWND Focus, const MSG& Msg, LRESULT Code, bool InDialog) {
  const auto asked = InDialog ? reinterpret_cast<LPARAM>(&Msg) : 0;
  return (SendMessageA(Focus, WM_GETDLGCODE, Msg.wParam, asked) & Code) != 0;
}

bool Inside(HWND Area, HWND Wnd) { return Wnd && (Wnd == Area || IsChild(Area, Wnd)); }

// Tab moves on from a field of several lines: Ctrl+Tab types the tab, as in Windows dialogs.
void TypeTab(HWND Field) {
  SendMessageA(Field, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("\t"));
}

bool IsPushButton(HWND Wnd) {
  const LRESULT code = SendMessageA(Wnd, WM_GETDLGCODE, 0, 0);
  return (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

// As a click does. The system passes Enter to the form's default button whatever has the
// focus, so Enter on Cancel would confirm.
void PressButton(HWND Button) {
  SendMessageA(GetParent(Button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Button), BN_CLICKED),
               reinterpret_cast<LPARAM>(Button));
}
}  // namespace

HWND FirstTabStop(HWND Container) {
  HWND strip = nullptr;
  for (const TWalkItem& item : Walk(Container)) {
    if (!item.Stop) continue;
    if (!HoldsControls(item.Wnd)) return item.Wnd;
    if (!strip) strip = item.Wnd;
  }
  return strip;
}

HWND TabStopAfter(HWND Area, HWND Control) { return NextTabStop(Area, Control, false); }

bool TypesTabWithCtrl(HWND Focus) {
  if (!Focus) return false;
  const LONG style = Style(Focus);
  return (SendMessageA(Focus, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) && (style & ES_MULTILINE) &&
         !(style & ES_READONLY);
}

bool AsksAboutKeyDown(LPARAM DlgCodeMessage, WPARAM Key) {
  const auto* msg = reinterpret_cast<const MSG*>(DlgCodeMessage);
  return msg && msg->message == WM_KEYDOWN && msg->wParam == Key;
}

bool HandleNavigationKey(HWND Area, const MSG& Msg, bool InDialog) {
  if (!Area || Msg.message != WM_KEYDOWN || !Inside(Area, Msg.hwnd) || IsAltDown()) return false;
  const HWND focus = GetFocus();
  if (!Inside(Area, focus)) return false;
  const bool ctrl = IsCtrlDown(), shift = IsShiftDown();
  switch (Msg.wParam) {
    case VK_TAB:
      // A control that takes Tab as input (a hot-key field) keeps it, with Ctrl too.
      if (ControlWants(focus, Msg, DLGC_WANTTAB, InDialog)) return false;
      if (ctrl && TypesTabWithCtrl(focus)) {
        TypeTab(focus);
        return true;
      }
      if (ctrl && !InDialog) return false;  // the window's own Ctrl+Tab
      if (!ctrl || !ChangePage(Area, focus, shift)) MoveFocus(NextTabStop(Area, focus, shift));
      return true;
    case VK_NEXT:
    case VK_PRIOR:
      // The page keys change the page from every field, one of several lines too; only a
      // field that records keys (it takes Tab as input) keeps them.
      if (!ctrl || !InDialog || ControlWants(focus, Msg, DLGC_WANTTAB, InDialog)) return false;
      return ChangePage(Area, focus, Msg.wParam == VK_PRIOR);
    case VK_RETURN:
      if (!IsPushButton(focus)) return false;
      PressButton(focus);
      return true;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
      if (ctrl || shift || !IsRadio(focus)) return false;
      return MoveInRadioGroup(focus, Msg.wParam == VK_LEFT || Msg.wParam == VK_UP);
  }
  return false;
}

void MakeTabArea(TWinControl& Container) {
  if (Container.Handle()) SetPropA(Container.Handle(), kTabAreaProp, reinterpret_cast<HANDLE>(1));
}

HWND TabAreaOf(HWND Wnd) {
  for (HWND w = Wnd; w; w = (Style(w) & WS_CHILD) ? GetParent(w) : nullptr)
    if (GetPropA(w, kTabAreaProp)) return w;
  return nullptr;
}
