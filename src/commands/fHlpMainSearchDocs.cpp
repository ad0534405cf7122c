// The searches as the main window runs them: on the active document and into the results list.
#include <windows.h>
#include <commctrl.h>
#include <vector>
#include "commands/fHlpMainSearch.h"
#include "commands/fSearchPanel.h"
#include "documents/MainWindowParts.h"
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"
#include "documents/frameEdit.h"
#include "foundation/Regex.h"
#include "rtl/SysUtils.h"
#include "toolkit/Application.h"
#include "toolkit/Controls.h"
#include "toolkit/Cursor.h"
#include "toolkit/KeyState.h"
#include "toolkit/ListView.h"
#include "toolkit/Menus.h"
#include "toolkit/PageControl.h"

namespace {

// The search button's tag while the user asks to cancel a listing.
constexpr int CancelRequested = -1;

template <class T>
T* MainComponent(const std::string& Name) {
  return frmMain ? frmMain->Find<T>(Name) : nullptr;
}

// A hit found anew may not be what the selection replaced last.
void DisableReplaceSelection() {
  if (auto* button = MainComponent<TWinControl>("btnReplaceSel")) button->SetEnabled(false);
}

// Without a search text the plain searches open the panel in their direction instead.
void OpenSearchPanel(const char* DirectionButton) {
  if (auto* item = MainComponent<TMenuItem>("mnuEditSearch")) item->Click();
  if (auto* button = MainComponent<TCheckBox>(DirectionButton)) {
    button->SetChecked(true);
    if (button->OnClick) button->OnClick(button);
  }
}

bool ListingCancelled() {
  auto* button = MainComponent<TComponent>("btnSearch");
  return button && button->Tag() == CancelRequested;
}

void AddResultRow(TListView& List, const std::string& Title, int TabIndex, const TSearchHit& Hit) {
  TListItem* row = List.AddItem(Title);
  row->AddSubItem(IntToStr(TabIndex));
  row->AddSubItem(IntToStr(Hit.Position));
  row->AddSubItem(IntToStr(Hit.Line));
  row->AddSubItem(IntToStr(Hit.Column));
  row->AddSubItem(IntToStr(Hit.Length));
  row->AddSubItem(Hit.Preview);
}

// Keeps the list from redrawing while many rows arrive.
class TListUpdate {
public:
  explicit TListUpdate(TListView& List) : list_(List) { Redraw(false); }
  ~TListUpdate() {
    Redraw(true);
    if (list_.HandleAllocated()) InvalidateRect(list_.Handle(), nullptr, TRUE);
  }
  TListUpdate(const TListUpdate&) = delete;
  TListUpdate& operator=(const TListUpdate&) = delete;

private:
  void Redraw(bool On) {
    if (list_.HandleAllocated()) SendMessageA(list_.Handle(), WM_SETREDRAW, On, 0);
  }
  TListView& list_;
};

// The frames of the open documents in tab order.
std::vector<TfraEdit*> OpenFrames() {
  std::vector<TfraEdit*> frames;
  for (int i = 0; frmMain->pcEdit && i < frmMain->pcEdit->PageCount(); ++i)
    if (TfraEdit* frame = GetFrameChecked(i)) frames.push_back(frame);
  return frames;
}

// The frame's tab index now; -1 once its document is closed.
int CurrentTabIndex(const TfraEdit* Frame) {
  for (int i = 0; frmMain->pcEdit && i < frmMain->pcEdit->PageCount(); ++i)
    if (GetFrameChecked(i) == Frame) return i;
  return -1;
}

// Pending messages run after each row and may close the document: the listing works on
// copies of its title and text.
void ListDocumentHits(TListView& List, const TfraEdit& Frame, int TabIndex) {
  const std::string title = Frame.DocInfo.Title;
  const std::string text = Frame.seEdit->Text();
  ListSearchHits(text, [&](const TSearchHit& Hit) {
    AddResultRow(List, title, TabIndex, Hit);
    Application().ProcessMessages();
    return !ListingCancelled();
  });
}

}  // namespace

void SearchNext(bool Direct) {
  DisableReplaceSelection();
  if (!Direct && LocalSearchReplace.Backwards) return SearchPrev(true);
  if (LocalSearchReplace.SearchText.empty()) return OpenSearchPanel("rbSearchForwards");
  if (TCodeEdit* editor = GetActiveEditor()) SearchNextInEditor(*editor);
}

void SearchPrev(bool Direct) {
  DisableReplaceSelection();
  if (!Direct && LocalSearchReplace.Backwards) return SearchNext(true);
  if (LocalSearchReplace.SearchText.empty()) return OpenSearchPanel("rbSearchBackwards");
  if (TCodeEdit* editor = GetActiveEditor()) SearchPrevInEditor(*editor);
}

void SearchNextRegExpr(bool Direct) {
  DisableReplaceSelection();
  if (!Direct && LocalSearchReplace.Backwards) return SearchPrevRegExpr(true);
  if (TCodeEdit* editor = GetActiveEditor()) SearchNextRegExprInEditor(*editor);
}

void SearchPrevRegExpr(bool Direct) {
  DisableReplaceSelection();
  if (!Direct && LocalSearchReplace.Backwards) return SearchNextRegExpr(true);
  if (TCodeEdit* editor = GetActiveEditor()) SearchPrevRegExprInEditor(*editor);
}

void SearchDocument(TfraEdit* Frame, int TabIndex) {
  TListView* list = frmMain ? frmMain->lvResults : nullptr;
  if (!Frame || !Frame->seEdit || !list) return;
  try {
    ListDocumentHits(*list, *Frame, TabIndex);
  } catch (const ERegex& E) {
    ReportSearchError(E);
  }
  if (list->Count() > 0) LocalSearchReplace.Found = true;
}

void SearchAllDocuments() {
  TListView* list = frmMain ? frmMain->lvResults : nullptr;
  if (!list) return;
  // Read before the listing takes the key-ups from the queue.
  const bool ctrlHeld = IsCtrlDown();
  {
    THourglass hourglass;
    TListUpdate update(*list);
    list->Clear();
    try {
      // Held by identity: a document closed while rows are added moves the others' indexes.
      for (TfraEdit* frame : OpenFrames()) {
        if (ListingCancelled()) break;
        const int index = CurrentTabIndex(frame);
        if (index >= 0 && frame->seEdit) ListDocumentHits(*list, *frame, index);
      }
    } catch (const ERegex& E) {
      ReportSearchError(E);
    }
  }
  if (list->Count() == 0) return;
  LocalSearchReplace.Found = true;
  ShowResultsList(*list, ctrlHeld);
}
