#include "toolkit/Component.h"
#include <algorithm>
#include "rtl/SysUtils.h"

TComponent::~TComponent() {
  // Children first, newest first, as they may refer to older siblings.
  while (!components_.empty()) components_.pop_back();
}

TComponent* TComponent::FindComponent(const std::string& Name) const {
  for (const auto& c : components_)
    if (SameText(c->Name(), Name)) return c.get();
  return nullptr;
}

void TComponent::RemoveComponent(TComponent* Component) {
  auto it = std::find_if(components_.begin(), components_.end(),
                         [&](const auto& c) { return c.get() == Component; });
  if (it != components_.end()) components_.erase(it);
}
