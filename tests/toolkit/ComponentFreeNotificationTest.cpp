// Components that keep references to each other hear of each other's destruction.
#include <gtest/gtest.h>
#include <memory>
#include <vector>
#include "toolkit/Component.h"

namespace {
// Keeps a reference to another component and forgets it when told.
class TKeeper : public TComponent {
public:
  using TComponent::TComponent;
  void Keep(TComponent* Other) {
    kept_ = Other;
    FreeNotification(Other);
  }
  void Drop() {
    RemoveFreeNotification(kept_);
    kept_ = nullptr;
  }
  TComponent* Kept() const { return kept_; }
  std::vector<TComponent*> Told;

protected:
  void Notification(TComponent* AComponent) override {
    Told.push_back(AComponent);
    if (AComponent == kept_) kept_ = nullptr;
  }

private:
  TComponent* kept_ = nullptr;
};
}  // namespace

TEST(ComponentFreeNotification, TheKeeperForgetsADestroyedComponent) {
  TKeeper keeper;
  auto other = std::make_unique<TComponent>();
  TComponent* raw = other.get();
  keeper.Keep(raw);
  other.reset();
  EXPECT_EQ(keeper.Kept(), nullptr);
  EXPECT_EQ(keeper.Told, std::vector<TComponent*>{raw});
}

TEST(ComponentFreeNotification, BothSidesAreToldSoEitherMayGoFirst) {
  auto keeper = std::make_unique<TKeeper>();
  auto watcher = std::make_unique<TKeeper>();
  keeper->Keep(watcher.get());
  keeper.reset();  // the kept one hears of it and no longer refers back
  EXPECT_EQ(watcher->Told.size(), 1u);
  watcher.reset();
}

TEST(ComponentFreeNotification, RemovedNotificationsAreNotSent) {
  TKeeper keeper;
  auto other = std::make_unique<TComponent>();
  keeper.Keep(other.get());
  keeper.Drop();
  other.reset();
  EXPECT_TRUE(keeper.Told.empty());
}
