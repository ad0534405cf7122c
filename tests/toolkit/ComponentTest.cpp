#include <gtest/gtest.h>
#include "toolkit/Controls.h"
#include "toolkit/Form.h"

namespace {
// Looks a sibling up while it is being destroyed, as controls dropping references do.
class TSiblingWatcher : public TComponent {
public:
  TSiblingWatcher(TComponent* Owner, bool* SawSibling) : TComponent(Owner), saw_(SawSibling) {}
  ~TSiblingWatcher() override { *saw_ = Owner()->FindComponent("last") != nullptr; }

private:
  bool* saw_;
};
}  // namespace

TEST(Component, FindsOwnedComponentsByNameWithoutRegardToCase) {
  TComponent owner;
  auto* a = owner.Make<TComponent>("mnuFile");
  owner.Make<TComponent>("mnuEdit");
  EXPECT_EQ(owner.FindComponent("MNUFILE"), a);
  EXPECT_EQ(owner.FindComponent("mnuView"), nullptr);
  EXPECT_EQ(owner.ComponentCount(), 2);
  owner.RemoveComponent(a);
  EXPECT_EQ(owner.FindComponent("mnuFile"), nullptr);
}

TEST(Component, ButtonClickSetsTheModalResultOfItsForm) {
  TForm form(nullptr, {"Dialog", 200, 100, WS_POPUP | WS_CAPTION, 0, true});
  auto* ok = form.Make<TButton>("btnOk", &form, 10, 10, 75, 25, true);
  int clicks = 0;
  ok->OnClick = [&](TObject*) { ++clicks; };
  ok->SetModalResult(mrOk);
  SendMessageA(ok->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(form.ModalResult(), mrOk);
}

TEST(Component, CaptionIsKeptBeforeAndAfterTheWindowExists) {
  TForm form(nullptr, {"Erster", 200, 100});
  EXPECT_EQ(form.Caption(), "Erster");
  form.SetCaption("Zweiter");
  char buf[32];
  GetWindowTextA(form.Handle(), buf, sizeof buf);
  EXPECT_STREQ(buf, "Zweiter");
}

TEST(Component, RemovedComponentCanStillLookUpItsSiblingsWhileItGoes) {
  TComponent owner;
  bool sawSibling = false;
  auto* watcher = owner.Make<TSiblingWatcher>("watcher", &sawSibling);
  owner.Make<TComponent>("middle");
  owner.Make<TComponent>("last");
  owner.RemoveComponent(watcher);
  EXPECT_TRUE(sawSibling);
  EXPECT_EQ(owner.ComponentCount(), 2);
  EXPECT_EQ(owner.FindComponent("watcher"), nullptr);
}
