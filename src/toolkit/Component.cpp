#include "toolkit/Component.h"
#include <algorithm>
#include "rtl/SysUtils.h"

TComponent::~TComponent() {
  // Those that keep a reference to this one forget it before it goes.
  while (!freeNotifies_.empty()) {
    TComponent* other = freeNotifies_.back();
    freeNotifies_.pop_back();
    auto& theirs = other->freeNotifies_;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
    other->Notification(this);
  }
  // Children first, newest first, as they may refer to older siblings.
  while (!components_.empty()) components_.pop_back();
}

void TComponent::FreeNotification(TComponent* Component) {
  if (!Component || Component == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), Component) == freeNotifies_.end())
    freeNotifies_.push_back(Component);
  auto& theirs = Component->freeNotifies_;
  if (std::find(theirs.begin(), theirs.end(), this) == theirs.end()) theirs.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* Component) {
  if (!Component) return;
  freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), Component),
                      freeNotifies_.end());
  auto& theirs = Component->freeNotifies_;
  theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
}

TComponent* TComponent::FindComponent(const std::string& Name) const {
  for (const auto& c : components_)
    if (SameText(c->Name(), Name)) return c.get();
  return nullptr;
}

void TComponent::RemoveComponent(TComponent* Component) {
  auto it = std::find_if(components_.begin(), components_.end(),
                         [&](const auto& c) { return c.get() == Component; });
  if (it == components_.end()) return;
  // Out of the list before it dies: its destructor may still look its siblings up.
  std::unique_ptr<TComponent> doomed = std::move(*it);
  components_.erase(it);
}
