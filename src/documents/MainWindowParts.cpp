#include "documents/MainWindowParts.h"
#include "documents/MainGlyphs.h"
#include "documents/fHlpMain.h"
#include "documents/fHlpMainDocs.h"
#include "documents/frameEdit.h"
#include "toolkit/ImageList.h"
#include "toolkit/PageControl.h"
#include "toolkit/Timer.h"

TMainWindowParts* frmMain = nullptr;

namespace {
constexpr UINT WM_RUNAFTERPENDING = WM_APP + 1;
}  // namespace

TMainWindowParts::TMainWindowParts(TComponent* Owner, const CreateArgs& Args) : TForm(Owner, Args) {
  tmrPostponed_ = Make<TTimer>("tmrPostponed");
  tmrPostponed_->SetEnabled(false);
  tmrPostponed_->SetInterval(100);
  tmrPostponed_->OnTimer = [this](TObject*) { RunPostponed(); };
}

TComponent* TMainWindowParts::FindNamed(const TComponent* Root, const std::string& Name) {
  if (TComponent* own = Root->FindComponent(Name)) return own;
  for (int i = 0; i < Root->ComponentCount(); ++i)
    if (TComponent* inner = FindNamed(Root->Components(i), Name)) return inner;
  return nullptr;
}

void TMainWindowParts::TabSheetShow(TObject* /*Sender*/) {
  UpdateCaption();
  if (TfraEdit* frame = GetActiveFrame()) {
    frame->seEditEnter(frame->seEdit);
    if (!keepFocus_) SetActiveControl(frame->seEdit);
  }
}

void TMainWindowParts::ShowDocumentKeepingFocus(int Index) {
  if (!pcEdit || Index == pcEdit->ActivePageIndex()) return;
  keepFocus_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{keepFocus_};
  // The page's own show event runs the tab switch.
  pcEdit->SetActivePageIndex(Index);
}

bool TMainWindowParts::ModalQuestionOpen() const {
  // Message boxes, dialogs and modal forms disable the window that owns them.
  return HandleAllocated() && !IsWindowEnabled(Handle());
}

bool TMainWindowParts::MustPostpone() const {
  return ModalQuestionOpen() || !postponed_.empty() || drainingPostponed_;
}

void TMainWindowParts::RunWhenNoModal(std::function<void()> Work) {
  if (!MustPostpone()) {
    Work();
    return;
  }
  postponed_.push_back(std::move(Work));
  tmrPostponed_->SetEnabled(true);
}

void TMainWindowParts::RunPostponed() {
  if (drainingPostponed_ || ModalQuestionOpen()) return;
  drainingPostponed_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{drainingPostponed_};
  while (!postponed_.empty() && !ModalQuestionOpen()) {
    std::function<void()> work = std::move(postponed_.front());
    postponed_.pop_front();
    work();
  }
  if (postponed_.empty()) tmrPostponed_->SetEnabled(false);
}

void TMainWindowParts::RunAfterPendingMessages(std::function<void()> Work) {
  if (!HandleAllocated()) {
    Work();
    return;
  }
  afterPending_.push_back(std::move(Work));
  PostMessageA(Handle(), WM_RUNAFTERPENDING, 0, 0);
}

LRESULT TMainWindowParts::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (Msg != WM_RUNAFTERPENDING) return TForm::WndProc(Msg, wParam, lParam);
  // One message per piece of work: each runs under the window's own guard.
  if (!afterPending_.empty()) {
    std::function<void()> work = std::move(afterPending_.front());
    afterPending_.pop_front();
    work();
  }
  return 0;
}

TImageList* TMainWindowParts::AppIcons() {
  if (!appIcons_) {
    appIcons_ = Make<TImageList>("ImgListApps", GlyphSize, GlyphSize);
    appIcons_->AttachSystemSmallIcons(Settings.AppDir.substr(0, 3));
  }
  return appIcons_;
}
